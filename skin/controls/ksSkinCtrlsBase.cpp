#include "skin/controls/ksSkinCtrls.h"

#include "framework/core/colors.h"
#include "framework/gui/imagelist.h"
#include "skin/draw/ksPlainColors.h"

// ---- TksSkinControl -------------------------------------------------------------

TksSkinControl::TksSkinControl(TComponent* AOwner) : TksSkinBase(AOwner) {}

// The face is composed off-screen and covers the whole window.
void TksSkinControl::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

bool TksSkinControl::FocusForClick(const TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Focused()) return true;
      clicksDisabled_ = true;
      ::SetFocus(Handle());
      clicksDisabled_ = false;
      return Focused();
    case CN_COMMAND:
      return !clicksDisabled_;
    default:
      return true;
  }
}

bool TksSkinControl::FocusForAccel(TMessage& Message) {
  if (!IsAccel(static_cast<WORD>(Message.WParam), Caption()) || !CanFocus()) return false;
  SetFocus();
  Message.Result = 1;
  return true;
}

// ---- TksSkinCustomControl -------------------------------------------------------

TksSkinCustomControl::TksSkinCustomControl(TComponent* AOwner) : TksSkinFaceBase(AOwner) {}

void TksSkinCustomControl::FaceResized() {
  SetControlRegion();
  Repaint();
}

void TksSkinCustomControl::SetControlRegion() {
  if (MaskPicture == nullptr || controlIndex_ == -1) {
    if (rgn_ != nullptr) {
      if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
      rgn_ = nullptr;
    }
    return;
  }
  CreateControlRegion();
}

void TksSkinCustomControl::CreateControlRegion() {
  TRegion region;
  const int w = Width(), h = Height();
  switch (ResizeMode) {
    case 0:
      CreateSimpleRegion(region, MaskPicture);
      break;
    case 1:
      CreateSkinRegion(region, LTPoint, RTPoint, LBPoint, RBPoint, SkinClientRect, NewLTPoint, NewRTPoint,
                       NewLBPoint, NewRBPoint, NewClientRect, MaskPicture, w, h);
      break;
    case 2: {
      const TPoint rt{RTPoint.X + w - RectWidth(SkinRect), RTPoint.Y};
      CreateSkinRegion(region, LTPoint, RTPoint, LTPoint, RTPoint, SkinClientRect, LTPoint, rt, LTPoint, rt,
                       NewClientRect, MaskPicture, w, h);
      break;
    }
    case 3: {
      const TPoint lb{LBPoint.X, LBPoint.Y + h - RectHeight(SkinRect)};
      CreateSkinRegion(region, LTPoint, LTPoint, LBPoint, LBPoint, SkinClientRect, LTPoint, LTPoint, lb, lb,
                       NewClientRect, MaskPicture, w, h);
      break;
    }
    default:
      return;
  }
  if (!HandleAllocated()) return;
  HRGN r = region.get();
  if (SetWindowRgn(Handle(), r, TRUE) != 0) {
    region.release();
    rgn_ = r;
  }
}

// ---- glyph and caption --------------------------------------------------------------

void TksGlyphCaption::SetGlyph(TBitmap* value) {
  if (value == nullptr)
    glyph_.SetSize(0, 0);
  else
    glyph_.Assign(value);
  GlyphChanged();
}

void TksGlyphCaption::SetNumGlyphs(int value) {
  // The strip has one to four cells; anything else would divide by zero or
  // pick a cell that is not there.
  numGlyphs_ = value < 1 ? 1 : (value > 4 ? 4 : value);
  GlyphChanged();
}

void TksGlyphCaption::SetLayout(int value) {
  if (value == layout_) return;
  layout_ = value;
  GlyphChanged();
}

void TksGlyphCaption::SetMargin(int value) {
  if (value == margin_ || value < -1) return;
  margin_ = value;
  GlyphChanged();
}

void TksGlyphCaption::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  GlyphChanged();
}

int TksGlyphCaption::GlyphNumber(bool enabled, bool down, bool active) const {
  if (down && active && numGlyphs_ > 2) return 3;
  if (active && numGlyphs_ > 3) return 4;
  if (!enabled && numGlyphs_ > 1) return 2;
  return 1;
}

// ---- button look --------------------------------------------------------------------

void TksButtonLook::TakeButtonLook(const TksDataSkinButtonControl& d) {
  FontName = d.FontName;
  FontStyle = d.FontStyle;
  FontHeight = d.FontHeight;
  FontColor = d.FontColor;
  ActiveFontColor = d.ActiveFontColor;
  DownFontColor = d.DownFontColor;
  DisabledFontColor = d.DisabledFontColor;
  ActiveSkinRect = OrFallback(d.ActiveSkinRect, d.SkinRect);
  DownSkinRect = OrFallback(d.DownSkinRect, ActiveSkinRect);
  DisabledSkinRect = d.DisabledSkinRect;
}

TColor TksButtonLook::StateFontColor(bool enabled, bool down, bool active) const {
  if (!enabled) return DisabledFontColor;
  if (down && active) return DownFontColor;
  if (active) return ActiveFontColor;
  return FontColor;
}

void DrawPlainButtonFace(TCanvas* canvas, const TRect& r, bool pressed, bool hot) {
  TColor frame = clBtnShadow, fill = clBtnFace;
  if (pressed) {
    frame = clNavy;
    fill = kPlainDownFill;
  } else if (hot) {
    frame = clNavy;
    fill = kPlainHotFill;
  }
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(fill);
  canvas->FillRect(r);
  canvas->Brush()->SetColor(frame);
  canvas->FrameRect(r);
}

// ---- layout -----------------------------------------------------------------------

TksLayoutCoords CalcLayoutCoords(int layout, const TRect& r, int gw, int gh, int tw, int th, int spacing,
                                 int margin) {
  TksLayoutCoords c{r.Left, r.Top, r.Left, r.Top};
  const int cx = r.Left + RectWidth(r) / 2;
  const int cy = r.Top + RectHeight(r) / 2;
  if (margin == -1) {
    const int hw = (tw + gw + spacing) / 2, hh = (th + gh + spacing) / 2;
    switch (layout) {
      case blGlyphLeft: c = {cx + hw - tw, cy - th / 2, cx - hw, cy - gh / 2}; break;
      case blGlyphRight: c = {cx - hw, cy - th / 2, cx + hw - gw, cy - gh / 2}; break;
      case blGlyphTop: c = {cx - tw / 2, cy + hh - th, cx - gw / 2, cy - hh}; break;
      case blGlyphBottom: c = {cx - tw / 2, cy - hh, cx - gw / 2, cy + hh - gh}; break;
      default: break;
    }
    return c;
  }
  switch (layout) {
    case blGlyphLeft:
      c.gx = r.Left + margin;
      c.gy = cy - gh / 2;
      c.tx = c.gx + gw + spacing;
      c.ty = cy - th / 2;
      break;
    case blGlyphRight:
      c.gx = r.Right - gw - margin;
      c.gy = cy - gh / 2;
      c.tx = c.gx - spacing - tw;
      c.ty = cy - th / 2;
      break;
    case blGlyphTop:
      c.gx = cx - gw / 2;
      c.gy = r.Top + margin;
      c.tx = cx - tw / 2;
      c.ty = c.gy + gh + spacing;
      break;
    case blGlyphBottom:
      c.gx = cx - gw / 2;
      c.gy = r.Bottom - gh - margin;
      c.tx = cx - tw / 2;
      c.ty = c.gy - spacing - th;
      break;
    default:
      break;
  }
  return c;
}

namespace {

// Places a picture of gw x gh and the caption inside R, draws the caption and
// returns where the picture goes.
TPoint DrawTextBesidePicture(TCanvas* canvas, const TRect& r, int margin, int spacing, int layout,
                             const String& caption, int gw, int gh, bool pressed) {
  RECT tr{0, 0, 0, 0};
  HDC dc = canvas->Handle();
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_CALCRECT);
  canvas->Brush()->SetStyle(bsClear);
  TksLayoutCoords c = CalcLayoutCoords(layout, r, gw, gh, tr.right, tr.bottom, spacing, margin);
  if (pressed) {
    ++c.gx;
    ++c.gy;
    ++c.tx;
    ++c.ty;
  }
  if (!caption.empty()) {
    RECT text{c.tx, c.ty, c.tx, c.ty};
    dc = canvas->Handle();
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT);
    text.right += 2;
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CENTER | DT_VCENTER);
  }
  return TPoint{c.gx, c.gy};
}

}  // namespace

void DrawGlyphAndText(TCanvas* canvas, const TRect& r, int margin, int spacing, int layout, const String& caption,
                      TBitmap* glyph, int numGlyphs, int glyphNum, bool pressed) {
  const bool hasGlyph = glyph != nullptr && !glyph->Empty() && numGlyphs > 0;
  const int gw = hasGlyph ? glyph->Width() / numGlyphs : 0;
  const int gh = hasGlyph ? glyph->Height() : 0;
  const TPoint g = DrawTextBesidePicture(canvas, r, margin, spacing, layout, caption, gw, gh, pressed);
  if (hasGlyph) DrawGlyph(canvas, g.X, g.Y, glyph, numGlyphs, glyphNum);
}

void DrawImageAndText(TCanvas* canvas, const TRect& r, int margin, int spacing, int layout, const String& caption,
                      TCustomImageList* images, int imageIndex, bool pressed, bool enabled) {
  const bool hasImage = images != nullptr && imageIndex >= 0 && imageIndex < images->Count();
  const int gw = hasImage ? images->Width() : 0;
  const int gh = hasImage ? images->Height() : 0;
  const TPoint g = DrawTextBesidePicture(canvas, r, margin, spacing, layout, caption, gw, gh, pressed);
  if (gw != 0) images->Draw(canvas, g.X, g.Y, imageIndex, enabled);
}
