#include "framework/core/canvas.h"

#include "framework/core/graphic.h"

TCanvas::TCanvas() {
  font_.OnChanging = Bind<&TCanvas::ObjectChanging>(this);
  pen_.OnChanging = Bind<&TCanvas::ObjectChanging>(this);
  brush_.OnChanging = Bind<&TCanvas::ObjectChanging>(this);
  font_.OnChange = Bind<&TCanvas::ObjectChanged>(this);
  pen_.OnChange = Bind<&TCanvas::ObjectChanged>(this);
  brush_.OnChange = Bind<&TCanvas::ObjectChanged>(this);
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() {
  Changing();
  RequiredState(csAllValid);
  return handle_;
}

void TCanvas::SetHandle(HDC dc) {
  if (handle_ == dc) return;
  if (handle_) DeselectHandles();
  handle_ = dc;
  state_ = dc ? static_cast<unsigned>(csHandleValid) : 0u;
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::DeselectHandles() {
  if (!handle_) return;
  if (oldFont_) SelectObject(handle_, oldFont_);
  if (oldPen_) SelectObject(handle_, oldPen_);
  if (oldBrush_) SelectObject(handle_, oldBrush_);
  oldFont_ = oldPen_ = oldBrush_ = nullptr;
  state_ &= ~(csFontValid | csPenValid | csBrushValid);
}

// Our object's handle is about to be deleted: put the DC's own back first.
void TCanvas::ObjectChanging(TObject* sender) {
  if (!handle_) return;
  if (sender == &font_ && oldFont_) {
    SelectObject(handle_, oldFont_);
    oldFont_ = nullptr;
    state_ &= ~csFontValid;
  } else if (sender == &pen_ && oldPen_) {
    SelectObject(handle_, oldPen_);
    oldPen_ = nullptr;
    state_ &= ~csPenValid;
  } else if (sender == &brush_ && oldBrush_) {
    SelectObject(handle_, oldBrush_);
    oldBrush_ = nullptr;
    state_ &= ~csBrushValid;
  }
}

// Colours and modes live in the DC; the next operation applies them again.
void TCanvas::ObjectChanged(TObject* sender) {
  if (sender == &font_) state_ &= ~csFontValid;
  else if (sender == &pen_) state_ &= ~csPenValid;
  else if (sender == &brush_) state_ &= ~csBrushValid;
}

void TCanvas::RequiredState(unsigned required) {
  unsigned needed = required & ~state_;
  if (!needed) return;
  if (needed & csHandleValid) {
    CreateHandle();
    if (!handle_ || !(state_ & csHandleValid)) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed & csFontValid) {
    HGDIOBJ old = SelectObject(handle_, font_.Handle());
    if (!oldFont_) oldFont_ = old;
    SetTextColor(handle_, static_cast<COLORREF>(ColorToRGB(font_.Color())));
    state_ |= csFontValid;
  }
  if (needed & csPenValid) {
    HGDIOBJ old = SelectObject(handle_, pen_.Handle());
    if (!oldPen_) oldPen_ = old;
    SetROP2(handle_, PenModeToROP2(pen_.Mode()));
    state_ |= csPenValid;
  }
  if (needed & csBrushValid) {
    UnrealizeObject(brush_.Handle());
    HGDIOBJ old = SelectObject(handle_, brush_.Handle());
    if (!oldBrush_) oldBrush_ = old;
    SetBkColor(handle_, static_cast<COLORREF>(ColorToRGB(brush_.Color())));
    SetBkMode(handle_, brush_.Style() == bsSolid ? OPAQUE : TRANSPARENT);
    state_ |= csBrushValid;
  }
}

void TCanvas::Changing() { OnChanging(this); }
void TCanvas::Changed() { OnChange(this); }

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT p{};
  GetCurrentPositionEx(handle_, &p);
  return TPoint{p.x, p.y};
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT r{};
  GetClipBox(handle_, &r);
  return TRect::FromRECT(r);
}

void TCanvas::Lock() {
  lock_.lock();
  ++lockCount_;
}

void TCanvas::Unlock() {
  --lockCount_;
  lock_.unlock();
}

bool TCanvas::TryLock() {
  if (!lock_.try_lock()) return false;
  ++lockCount_;
  return true;
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState(csHandleValid);
  MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(handle_, x, y);
  Changed();
}

static const POINT* AsPoints(std::span<const TPoint> points) { return reinterpret_cast<const POINT*>(points.data()); }

void TCanvas::Polyline(std::span<const TPoint> points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polyline(handle_, AsPoints(points), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polygon(handle_, AsPoints(points), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::RoundRect(handle_, x1, y1, x2, y2, x3, y3);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Ellipse(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Arc(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  RECT rc = r;
  ::FillRect(handle_, &rc, brush_.Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  RECT rc = r;
  ::FrameRect(handle_, &rc, brush_.Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  RECT rc = r;
  ::DrawFocusRect(handle_, &rc);
  Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, bool surface) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ExtFloodFill(handle_, x, y, static_cast<COLORREF>(ColorToRGB(color)), surface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

void TCanvas::TextOut(int x, int y, const String& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ExtTextOutA(handle_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
  MoveTo(x + TextWidth(text), y);
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED;
  if (brush_.Style() == bsSolid) options |= ETO_OPAQUE;
  RECT rc = r;
  ExtTextOutA(handle_, x, y, options, &rc, text.data(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const String& text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE size{};
  GetTextExtentPoint32A(handle_, text.data(), static_cast<int>(text.size()), &size);
  return TSize{size.cx, size.cy};
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState(csAllValid);
  graphic->Draw(*this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
  if (!source) return;
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  source->RequiredState(csHandleValid);
  int oldMode = SetStretchBltMode(handle_, COLORONCOLOR);
  StretchBlt(handle_, dest.Left, dest.Top, dest.Width(), dest.Height(), source->handle_, sourceRect.Left,
             sourceRect.Top, sourceRect.Width(), sourceRect.Height(), copyMode_);
  SetStretchBltMode(handle_, oldMode);
  Changed();
}

// The clip region alone is not enough for a memory DC: its surface is the selected bitmap.
bool TCanvas::PointOnSurface(int x, int y) {
  RequiredState(csHandleValid);
  if (!PtVisible(handle_, x, y)) return false;
  if (GetObjectType(handle_) == OBJ_MEMDC) {
    BITMAP bm{};
    HGDIOBJ surface = GetCurrentObject(handle_, OBJ_BITMAP);
    if (!surface || !GetObjectA(surface, sizeof(bm), &bm)) return false;
    POINT p{x, y};
    LPtoDP(handle_, &p, 1);
    if (p.x < 0 || p.y < 0 || p.x >= bm.bmWidth || p.y >= bm.bmHeight) return false;
  }
  return true;
}

TColor TCanvas::Pixels(int x, int y) {
  if (!PointOnSurface(x, y)) return static_cast<TColor>(CLR_INVALID);
  return static_cast<TColor>(GetPixel(handle_, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  if (PointOnSurface(x, y)) SetPixel(handle_, x, y, static_cast<COLORREF>(ColorToRGB(color)));
  Changed();
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  canvas->Pen()->SetWidth(1);
  --rect.Bottom;
  --rect.Right;
  for (; width > 0; --width) {
    TPoint topLeft{rect.Left, rect.Top};
    TPoint topRight{rect.Right, rect.Top};
    TPoint bottomLeft{rect.Left, rect.Bottom};
    TPoint bottomRight{rect.Right, rect.Bottom};
    canvas->Pen()->SetColor(topColor);
    canvas->Polyline({bottomLeft, topLeft, topRight});
    canvas->Pen()->SetColor(bottomColor);
    --bottomLeft.X;
    canvas->Polyline({topRight, bottomRight, bottomLeft});
    ++rect.Left;
    ++rect.Top;
    --rect.Right;
    --rect.Bottom;
  }
  ++rect.Bottom;
  ++rect.Right;
}
