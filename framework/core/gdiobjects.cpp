#include "framework/core/gdiobjects.h"

#include <cstring>

#include "framework/core/bitmap.h"

// ---- TGraphicsObject ------------------------------------------------------------------

HGDIOBJ TGraphicsObject::EnsureHandle() {
  if (!handle_) handle_.reset(CreateHandle());
  return handle_.get();
}

void TGraphicsObject::AdoptHandle(HGDIOBJ handle) {
  Changing();
  handle_.reset(handle);
}

void TGraphicsObject::Changing() {
  if (!handle_) return;
  OnChanging(this);
  handle_.reset();
}

void TGraphicsObject::Changed() { OnChange(this); }

// ---- TFont ----------------------------------------------------------------------------

TFont::TFont() {
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont_), &logFont_);
  logFont_.lfCharSet = DEFAULT_CHARSET;
  logFont_.lfEscapement = 0;
  logFont_.lfOrientation = 0;
}

template <class F>
void TFont::Change(F&& apply) {
  Changing();
  apply();
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* font = dynamic_cast<TFont*>(Source)) {
    Change([&] {
      logFont_ = font->logFont_;
      color_ = font->color_;
    });
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::SetHandle(HFONT font) {
  AdoptHandle(font);
  if (font) GetObjectA(font, sizeof(logFont_), &logFont_);
  Changed();
}

void TFont::SetName(const String& name) {
  Change([&] {
    std::memset(logFont_.lfFaceName, 0, sizeof(logFont_.lfFaceName));
    std::memcpy(logFont_.lfFaceName, name.data(), std::min(name.size(), sizeof(logFont_.lfFaceName) - 1));
  });
}

void TFont::SetHeight(int height) {
  Change([&] { logFont_.lfHeight = height; });
}

static int ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  int ppi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return ppi > 0 ? ppi : 96;
}

int TFont::Size() const { return -MulDiv(logFont_.lfHeight, 72, ScreenPixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

TFontStyles TFont::Style() const {
  TFontStyles style = 0;
  if (logFont_.lfWeight >= FW_BOLD) style |= fsBold;
  if (logFont_.lfItalic) style |= fsItalic;
  if (logFont_.lfUnderline) style |= fsUnderline;
  if (logFont_.lfStrikeOut) style |= fsStrikeOut;
  return style;
}

void TFont::SetStyle(TFontStyles style) {
  Change([&] {
    logFont_.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
    logFont_.lfItalic = (style & fsItalic) ? 1 : 0;
    logFont_.lfUnderline = (style & fsUnderline) ? 1 : 0;
    logFont_.lfStrikeOut = (style & fsStrikeOut) ? 1 : 0;
  });
}

// The colour is not part of the handle, so the handle survives a colour change.
void TFont::SetColor(TColor color) {
  color_ = color;
  Changed();
}

void TFont::SetCharset(BYTE charset) {
  Change([&] { logFont_.lfCharSet = charset; });
}

TFontPitch TFont::Pitch() const {
  switch (logFont_.lfPitchAndFamily & 3) {
    case VARIABLE_PITCH: return fpVariable;
    case FIXED_PITCH: return fpFixed;
    default: return fpDefault;
  }
}

void TFont::SetPitch(TFontPitch pitch) {
  static constexpr BYTE kPitch[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};
  Change([&] { logFont_.lfPitchAndFamily = static_cast<BYTE>((logFont_.lfPitchAndFamily & ~3) | kPitch[pitch]); });
}

HGDIOBJ TFont::CreateHandle() const { return CreateFontIndirectA(&logFont_); }

// ---- TPen -----------------------------------------------------------------------------

int PenModeToROP2(TPenMode mode) {
  static constexpr int kRop2[] = {
      R2_BLACK,       R2_WHITE,      R2_NOP,        R2_NOT,         R2_COPYPEN,    R2_NOTCOPYPEN,
      R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,   R2_NOTMERGEPEN,
      R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,     R2_NOTXORPEN};
  return kRop2[mode];
}

void TPen::Assign(TPersistent* Source) {
  if (auto* pen = dynamic_cast<TPen*>(Source)) {
    Changing();
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TPen::SetHandle(HPEN pen) {
  AdoptHandle(pen);
  LOGPEN log{};
  if (pen && GetObjectA(pen, sizeof(log), &log)) {
    color_ = static_cast<TColor>(log.lopnColor);
    width_ = log.lopnWidth.x;
    style_ = log.lopnStyle <= PS_INSIDEFRAME ? static_cast<TPenStyle>(log.lopnStyle) : psSolid;
  }
  Changed();
}

void TPen::SetColor(TColor color) {
  Changing();
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  Changing();
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  Changing();
  style_ = style;
  Changed();
}

// The mode is a state of the DC, not of the pen; the canvas applies it.
void TPen::SetMode(TPenMode mode) {
  mode_ = mode;
  Changed();
}

HGDIOBJ TPen::CreateHandle() const {
  return CreatePen(static_cast<int>(style_), width_, static_cast<COLORREF>(ColorToRGB(color_)));
}

// ---- TBrush ---------------------------------------------------------------------------

void TBrush::Assign(TPersistent* Source) {
  if (auto* brush = dynamic_cast<TBrush*>(Source)) {
    Changing();
    color_ = brush->color_;
    style_ = brush->style_;
    bitmap_ = brush->bitmap_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TBrush::SetHandle(HBRUSH brush) {
  AdoptHandle(brush);
  LOGBRUSH log{};
  if (brush && GetObjectA(brush, sizeof(log), &log)) {
    color_ = static_cast<TColor>(log.lbColor);
    style_ = log.lbStyle == BS_NULL ? bsClear : bsSolid;
    bitmap_ = nullptr;
  }
  Changed();
}

void TBrush::SetColor(TColor color) {
  Changing();
  color_ = color;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  Changing();
  style_ = style;
  Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
  Changing();
  bitmap_ = bitmap;
  Changed();
}

HGDIOBJ TBrush::CreateHandle() const {
  if (bitmap_ && !bitmap_->Empty()) return CreatePatternBrush(bitmap_->Handle());
  static constexpr int kHatch[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
  LOGBRUSH log{};
  log.lbColor = static_cast<COLORREF>(ColorToRGB(color_));
  switch (style_) {
    case bsSolid: log.lbStyle = BS_SOLID; break;
    case bsClear: log.lbStyle = BS_NULL; break;
    default:
      log.lbStyle = BS_HATCHED;
      log.lbHatch = static_cast<ULONG_PTR>(kHatch[style_]);
      break;
  }
  return CreateBrushIndirect(&log);
}
