#include "skin/ksSkinCtrls.h"

#include "framework/core/colors.h"
#include "framework/gui/imagelist.h"

// ---- TksSkinControl -------------------------------------------------------------

TksSkinControl::TksSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

void TksSkinControl::GetSkinData() {
  controlIndex_ = (skinData_ == nullptr || skinData_->Empty) ? -1 : skinData_->GetControlIndex(skinDataName_);
}

void TksSkinControl::SetSkinDataName(const String& value) { skinDataName_ = value; }

void TksSkinControl::SetSkinData(TksSkinData* value) {
  if (skinData_ != nullptr) skinData_->RemoveFreeNotification(this);
  skinData_ = value;
  if (skinData_ == nullptr) return;
  skinData_->FreeNotification(this);
  if (!skinData_->Empty) ChangeSkinData();
}

void TksSkinControl::ChangeSkinData() {
  GetSkinData();
  Repaint();
}

void TksSkinControl::BeforeChangeSkinData() { controlIndex_ = -1; }

void TksSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
  }
}

void TksSkinControl::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TksSkinControl::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

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

void TksSkinControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  TBitmap b(Width(), Height());
  if (controlIndex_ == -1)
    CreateControlDefaultImage(&b);
  else
    CreateControlSkinImage(&b);
  Canvas()->Draw(0, 0, &b);
}

// ---- TksSkinCustomControl -------------------------------------------------------

TksSkinCustomControl::TksSkinCustomControl(TComponent* AOwner) : TksSkinControl(AOwner) {
  defaultFont_.SetName("Arial");
  defaultFont_.SetStyle(0);
  defaultFont_.SetHeight(14);
  defaultFont_.OnChange = Bind<&TksSkinCustomControl::DefaultFontOnChange>(this);
}

void TksSkinCustomControl::SetDefaultWidth(int value) {
  defaultWidth_ = value;
  if (controlIndex_ == -1 && value > 0) SetWidth(value);
}

void TksSkinCustomControl::SetDefaultHeight(int value) {
  defaultHeight_ = value;
  if (controlIndex_ == -1 && value > 0) SetHeight(value);
}

void TksSkinCustomControl::SetDefaultFont(TFont* value) {
  defaultFont_.Assign(value);
  DefaultFontChange();
}

void TksSkinCustomControl::DefaultFontOnChange(TObject*) {
  DefaultFontChange();
  if (controlIndex_ == -1) Repaint();
}

int TksSkinCustomControl::GetResizeMode() const {
  if (IsNullRect(SkinRect)) return -1;
  if (RBPoint.X != 0 && RBPoint.Y != 0) return 1;
  if (RTPoint.X != 0 || RTPoint.Y != 0) return 2;
  if (LBPoint.X != 0 || LBPoint.Y != 0) return 3;
  return 0;
}

void TksSkinCustomControl::GetSkinData() {
  TksSkinControl::GetSkinData();
  if (controlIndex_ == -1) return;
  auto* d = SkinDescription<TksDataSkinCustomControl>();
  if (d == nullptr) {
    Picture = nullptr;
    MaskPicture = nullptr;
    ResizeMode = 0;
    return;
  }
  LTPoint = d->LTPoint;
  RTPoint = d->RTPoint;
  LBPoint = d->LBPoint;
  RBPoint = d->RBPoint;
  SkinRect = d->SkinRect;
  SkinClientRect = d->ClientRect;
  Picture = skinData_->ActivePicture(d->PictureIndex);
  MaskPicture = skinData_->ActivePicture(d->MaskPictureIndex);
  ResizeMode = GetResizeMode();
}

void TksSkinCustomControl::CalcSize(int& w, int& h) {
  const int dW = w - RectWidth(SkinRect);
  const int dH = h - RectHeight(SkinRect);
  switch (ResizeMode) {
    case 1:
      NewLTPoint = LTPoint;
      NewRTPoint = TPoint{RTPoint.X + dW, RTPoint.Y};
      NewLBPoint = TPoint{LBPoint.X, LBPoint.Y + dH};
      NewRBPoint = TPoint{RBPoint.X + dW, RBPoint.Y + dH};
      NewClientRect = SkinClientRect;
      NewClientRect.Right += dW;
      NewClientRect.Bottom += dH;
      break;
    case 2:
      h = RectHeight(SkinRect);
      NewLTPoint = LTPoint;
      NewRTPoint = TPoint{RTPoint.X + dW, RTPoint.Y};
      NewClientRect = SkinClientRect;
      NewClientRect.Right += dW;
      break;
    case 3:
      w = RectWidth(SkinRect);
      NewLTPoint = LTPoint;
      NewLBPoint = TPoint{LBPoint.X, LBPoint.Y + dH};
      NewClientRect = SkinClientRect;
      NewClientRect.Bottom += dH;
      break;
    case 0:
      // A description without a face of its own (wrong kind, empty rectangle)
      // must not shrink the control to nothing.
      if (controlIndex_ != -1 && !IsNullRect(SkinRect)) {
        w = RectWidth(SkinRect);
        h = RectHeight(SkinRect);
        NewClientRect = SkinClientRect;
      }
      break;
    default:
      break;
  }
}

void TksSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  GetSkinData();
  const bool sizeChange = (AWidth != Width() || AHeight != Height()) && controlIndex_ != -1;
  if (sizeChange) {
    CalcSize(AWidth, AHeight);
    if (ResizeMode == 0) NewClientRect = SkinClientRect;
  }
  TksSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (sizeChange) {
    SetControlRegion();
    Repaint();
  }
}

void TksSkinCustomControl::ChangeSkinData() {
  GetSkinData();
  if (controlIndex_ == -1) {
    if (defaultWidth_ > 0) SetWidth(defaultWidth_);
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
  } else {
    int w = Width(), h = Height();
    CalcSize(w, h);
    bool resized = false;
    if (w != Width()) {
      SetWidth(w);
      resized = true;
    }
    if (h != Height()) {
      SetHeight(h);
      resized = true;
    }
    if (resized) return;
  }
  SetControlRegion();
  Repaint();
}

void TksSkinCustomControl::CreateControlDefaultImage(TBitmap* b) {
  TCanvas* c = b->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect{0, 0, ClientWidth(), ClientHeight()});
}

void TksSkinCustomControl::CreateControlSkinImage(TBitmap* b) { CreateSkinControlImage(b, Picture, SkinRect); }

void TksSkinCustomControl::CreateSkinControlImage(TBitmap* b, TBitmap* picture, const TRect& r) {
  if (picture == nullptr) return;
  switch (ResizeMode) {
    case 0:
      b->SetSize(RectWidth(r), RectHeight(r));
      b->Canvas()->CopyRect(TRect{0, 0, b->Width(), b->Height()}, picture->Canvas(), r);
      break;
    case 1:
      CreateSkinImage(LTPoint, RTPoint, LBPoint, RBPoint, SkinClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                      NewRBPoint, NewClientRect, b, picture, r, Width(), Height(), true);
      break;
    case 2:
      CreateHSkinImage(LTPoint.X, RectWidth(SkinRect) - RTPoint.X, b, picture, r, Width(), Height());
      break;
    case 3:
      CreateVSkinImage(LTPoint.Y, RectHeight(SkinRect) - LBPoint.Y, b, picture, r, Width(), Height());
      break;
    default:
      break;
  }
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

TRect TksSkinCustomControl::GetNewRect(const TRect& r) {
  const int sw = RectWidth(SkinRect), sh = RectHeight(SkinRect);
  const int dW = Width() - sw, dH = Height() - sh;
  TRect n = r;
  auto moved = [](TRect x, int dx, int dy) {
    x.Left += dx;
    x.Right += dx;
    x.Top += dy;
    x.Bottom += dy;
    return x;
  };
  switch (ResizeMode) {
    case 1: {
      const TRect lt{0, 0, LTPoint.X, LTPoint.Y};
      const TRect rt{RTPoint.X, 0, sw, RTPoint.Y};
      const TRect lb{0, LBPoint.Y, LBPoint.X, sh};
      const TRect rb{RBPoint.X, RBPoint.Y, sw, sh};
      const TPoint tl{r.Left, r.Top}, br{r.Right, r.Bottom};
      if (RectInRect(r, lt)) return r;
      if (RectInRect(r, rt)) return moved(r, dW, 0);
      if (RectInRect(r, lb)) return moved(r, 0, dH);
      if (RectInRect(r, rb)) return moved(r, dW, dH);
      if (PointInRect(lt, tl) && PointInRect(rb, br)) {
        n.Right += dW;
        n.Bottom += dH;
      } else if (PointInRect(lt, tl) && PointInRect(rt, br)) {
        n.Right += dW;
      } else if (PointInRect(lb, tl) && PointInRect(rb, br)) {
        n.Right += dW;
        n = moved(n, 0, dH);
      } else if (PointInRect(lt, tl) && PointInRect(lb, br)) {
        n.Bottom += dH;
      } else if (PointInRect(rt, tl) && PointInRect(rb, br)) {
        n = moved(n, dW, 0);
        n.Bottom += dH;
      }
      return n;
    }
    case 2:
      if (r.Left <= LTPoint.X && r.Right >= RTPoint.X)
        n.Right += dW;
      else if (RTPoint.X <= r.Left && RTPoint.X < r.Right)
        n = moved(n, dW, 0);
      return n;
    case 3:
      if (r.Top <= LTPoint.Y && r.Bottom >= LBPoint.Y)
        n.Bottom += dH;
      else if (LBPoint.Y <= r.Top && LBPoint.Y < r.Bottom)
        n = moved(n, 0, dH);
      return n;
    default:
      return n;
  }
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
