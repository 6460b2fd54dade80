#include "skin/ksSkinSpeedButton.h"

#include "framework/core/colors.h"
#include "framework/gui/imagelist.h"
#include "skin/ksSkinFont.h"
#include "skin/ksSkinToolBar.h"

namespace {

// The hot and pressed fills of the look without a skin.
constexpr TColor kHotFrame = static_cast<TColor>(0x800000);
constexpr TColor kDownFill = static_cast<TColor>(11899781);
constexpr TColor kHotFill = static_cast<TColor>(13811126);

void FrameAndFill(TCanvas* c, const TRect& r, TColor frame, TColor fill, bool framed) {
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(fill);
  c->FillRect(r);
  if (!framed) return;
  c->Brush()->SetColor(frame);
  c->FrameRect(r);
}

}  // namespace

// ---- TksGraphicSkinControl ------------------------------------------------------

TksGraphicSkinControl::TksGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  controlStyle_ |= csOpaque;
}

void TksGraphicSkinControl::GetSkinData() {
  controlIndex_ = (skinData_ == nullptr || skinData_->Empty) ? -1 : skinData_->GetControlIndex(skinDataName_);
}

void TksGraphicSkinControl::SetSkinData(TksSkinData* value) {
  if (skinData_ != nullptr) skinData_->RemoveFreeNotification(this);
  skinData_ = value;
  if (skinData_ == nullptr) return;
  skinData_->FreeNotification(this);
  if (!skinData_->Empty) ChangeSkinData();
}

void TksGraphicSkinControl::ChangeSkinData() {
  GetSkinData();
  Repaint();
}

void TksGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
  }
}

void TksGraphicSkinControl::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TksGraphicSkinControl::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TksGraphicSkinControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  TBitmap b(Width(), Height());
  if (controlIndex_ == -1)
    CreateControlDefaultImage(&b);
  else
    CreateControlSkinImage(&b);
  Canvas()->Draw(0, 0, &b);
}

// ---- TksGraphicSkinCustomControl ------------------------------------------------

TksGraphicSkinCustomControl::TksGraphicSkinCustomControl(TComponent* AOwner) : TksGraphicSkinControl(AOwner) {
  defaultFont_.SetName("Arial");
  defaultFont_.SetStyle(0);
  defaultFont_.SetHeight(14);
  defaultFont_.OnChange = Bind<&TksGraphicSkinCustomControl::DefaultFontOnChange>(this);
}

void TksGraphicSkinCustomControl::SetDefaultWidth(int value) {
  defaultWidth_ = value;
  if (controlIndex_ == -1 && value > 0) SetWidth(value);
}

void TksGraphicSkinCustomControl::SetDefaultHeight(int value) {
  defaultHeight_ = value;
  if (controlIndex_ == -1 && value > 0) SetHeight(value);
}

void TksGraphicSkinCustomControl::DefaultFontOnChange(TObject*) {
  DefaultFontChange();
  if (controlIndex_ == -1) Repaint();
}

void TksGraphicSkinCustomControl::GetSkinData() {
  TksGraphicSkinControl::GetSkinData();
  if (controlIndex_ == -1) return;
  auto* d = dynamic_cast<TksDataSkinCustomControl*>(skinData_->CtrlList[static_cast<size_t>(controlIndex_)].get());
  if (d == nullptr) {
    Picture = nullptr;
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
  if (IsNullRect(SkinRect))
    ResizeMode = -1;
  else if (RBPoint.X != 0 && RBPoint.Y != 0)
    ResizeMode = 1;
  else if (RTPoint.X != 0 || RTPoint.Y != 0)
    ResizeMode = 2;
  else if (LBPoint.X != 0 || LBPoint.Y != 0)
    ResizeMode = 3;
  else
    ResizeMode = 0;
}

void TksGraphicSkinCustomControl::CalcSize(int& w, int& h) {
  const TksSkinGeometry moved =
      MoveSkinGeometry({LTPoint, RTPoint, LBPoint, RBPoint, SkinClientRect}, SkinRect, w, h);
  NewLTPoint = LTPoint;
  switch (ResizeMode) {
    case 1:
      NewRTPoint = moved.RTPoint;
      NewLBPoint = moved.LBPoint;
      NewRBPoint = moved.RBPoint;
      NewClientRect = moved.ClientRect;
      break;
    case 2:
      h = RectHeight(SkinRect);
      NewRTPoint = moved.RTPoint;
      NewClientRect = SkinClientRect;
      NewClientRect.Right = moved.ClientRect.Right;
      break;
    case 3:
      w = RectWidth(SkinRect);
      NewLBPoint = moved.LBPoint;
      NewClientRect = SkinClientRect;
      NewClientRect.Bottom = moved.ClientRect.Bottom;
      break;
    case 0:
      // A description without a face of its own must not shrink the button to nothing.
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

void TksGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  GetSkinData();
  const bool sizeChange = (AWidth != Width() || AHeight != Height()) && controlIndex_ != -1;
  if (sizeChange) CalcSize(AWidth, AHeight);
  TksGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (sizeChange) Invalidate();
}

void TksGraphicSkinCustomControl::ChangeSkinData() {
  GetSkinData();
  if (controlIndex_ == -1) {
    if (defaultWidth_ > 0) SetWidth(defaultWidth_);
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
  } else {
    int w = Width(), h = Height();
    CalcSize(w, h);
    if (w != Width() || h != Height()) {
      SetBounds(Left(), Top(), w, h);  // repaints
      return;
    }
  }
  Repaint();
}

void TksGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap* b) {
  FrameAndFill(b->Canvas(), TRect{0, 0, Width(), Height()}, clBtnFace, clBtnFace, false);
}

void TksGraphicSkinCustomControl::CreateSkinControlImage(TBitmap* b, TBitmap* picture, const TRect& r) {
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

// ---- TksSkinSpeedButton ---------------------------------------------------------

TksSkinSpeedButton::TksSkinSpeedButton(TComponent* AOwner) : TksGraphicSkinCustomControl(AOwner) {
  controlStyle_ = csCaptureMouse | csOpaque | csDoubleClicks;
  SetSkinDataName("toolbutton");
  SetBounds(Left(), Top(), 25, 25);
}

TksSkinToolBar* TksSkinSpeedButton::ToolBar() const { return dynamic_cast<TksSkinToolBar*>(Parent()); }

bool TksSkinSpeedButton::HasButtonDescription() const {
  return controlIndex_ != -1 &&
         dynamic_cast<TksDataSkinButtonControl*>(skinData_->CtrlList[static_cast<size_t>(controlIndex_)].get()) !=
             nullptr;
}

void TksSkinSpeedButton::SetShowCaption(bool value) {
  if (value == showCaption_) return;
  showCaption_ = value;
  if (WidthWithCaption >= 1 && WidthWithoutCaption >= 1)
    SetWidth(value ? WidthWithCaption : WidthWithoutCaption);
  else
    Repaint();
}

void TksSkinSpeedButton::SetFlat(bool value) {
  flat_ = value;
  SetTransparent(value);
}

void TksSkinSpeedButton::SetTransparent(bool value) {
  if (value)
    controlStyle_ &= ~static_cast<TControlStyle>(csOpaque);
  else
    controlStyle_ |= csOpaque;
  Repaint();
}

void TksSkinSpeedButton::SetGlyph(TBitmap* value) {
  if (value == nullptr)
    glyph_.SetSize(0, 0);
  else
    glyph_.Assign(value);
  Repaint();
}

void TksSkinSpeedButton::SetNumGlyphs(int value) {
  numGlyphs_ = value < 1 ? 1 : (value > 4 ? 4 : value);
  Repaint();
}

void TksSkinSpeedButton::SetImageIndex(int value) {
  imageIndex_ = value;
  if (ToolBar() != nullptr) Repaint();
}

void TksSkinSpeedButton::SetLayout(int value) {
  if (value == layout_) return;
  layout_ = value;
  Repaint();
}

void TksSkinSpeedButton::SetMargin(int value) {
  if (value == margin_ || value < -1) return;
  margin_ = value;
  Repaint();
}

void TksSkinSpeedButton::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Repaint();
}

void TksSkinSpeedButton::GetSkinData() {
  TksGraphicSkinCustomControl::GetSkinData();
  if (controlIndex_ == -1) return;
  auto* d = dynamic_cast<TksDataSkinButtonControl*>(skinData_->CtrlList[static_cast<size_t>(controlIndex_)].get());
  if (d == nullptr) return;
  FontName = d->FontName;
  FontStyle = d->FontStyle;
  FontHeight = d->FontHeight;
  FontColor = d->FontColor;
  ActiveFontColor = d->ActiveFontColor;
  DownFontColor = d->DownFontColor;
  DisabledFontColor = d->DisabledFontColor;
  ActiveSkinRect = IsNullRect(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
  DownSkinRect = IsNullRect(d->DownSkinRect) ? ActiveSkinRect : d->DownSkinRect;
  DisabledSkinRect = d->DisabledSkinRect;
}

int TksSkinSpeedButton::GlyphNumber(bool hot, bool down) const {
  if (hot && down && numGlyphs_ > 2) return 3;
  if (hot && numGlyphs_ > 3) return 4;
  if (Enabled() || numGlyphs_ < 2) return 1;
  return 2;
}

void TksSkinSpeedButton::SetFontFor(TCanvas* canvas, bool useSkinFont) {
  AssignSkinFont(canvas->Font(), useSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
}

void TksSkinSpeedButton::DrawContent(TCanvas* canvas, const TRect& r, bool hot, bool down) {
  const bool pressed = hot && down;
  TksSkinToolBar* bar = ToolBar();
  if (!glyph_.Empty() || bar == nullptr) {
    DrawGlyphAndText(canvas, r, margin_, spacing_, layout_, ShownCaption(), &glyph_, numGlyphs_,
                     GlyphNumber(hot, down), pressed);
    return;
  }
  TCustomImageList* images = bar->Images();
  bool enabledLook = Enabled();
  if (!Enabled() && bar->DisabledImages() != nullptr) {
    images = bar->DisabledImages();
    enabledLook = true;  // that list already holds the disabled look
  } else if ((hot || down) && bar->HotImages() != nullptr) {
    images = bar->HotImages();
  }
  DrawImageAndText(canvas, r, margin_, spacing_, layout_, ShownCaption(), images, imageIndex_, pressed, enabledLook);
}

void TksSkinSpeedButton::CreateButtonImage(TBitmap* b, const TRect& r, bool hot, bool down) {
  int w = Width(), h = Height();
  CalcSize(w, h);  // the face geometry for the current size; the size itself stays
  CreateSkinControlImage(b, Picture, r);
  TCanvas* c = b->Canvas();
  SetFontFor(c, UseSkinFont);
  TColor color = FontColor;
  if (!Enabled())
    color = DisabledFontColor;
  else if (hot && down)
    color = DownFontColor;
  else if (hot)
    color = ActiveFontColor;
  c->Font()->SetColor(color);
  DrawContent(c, NewClientRect, hot, down);
}

void TksSkinSpeedButton::CreateControlDefaultImage(TBitmap* b) {
  TCanvas* c = b->Canvas();
  const TRect r{0, 0, Width(), Height()};
  if (DownLook())
    FrameAndFill(c, r, kHotFrame, kDownFill, true);
  else if (mouseIn_)
    FrameAndFill(c, r, kHotFrame, kHotFill, true);
  else if (!flat_)
    FrameAndFill(c, r, clBtnShadow, clBtnFace, true);
  else if (!Transparent())
    FrameAndFill(c, r, clBtnFace, clBtnFace, false);
  SetFontFor(c, false);
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  DrawContent(c, r, mouseIn_, DownLook());
}

void TksSkinSpeedButton::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  // Another kind of description under the name gives the look without a skin.
  const bool skinned = HasButtonDescription();
  if (!mouseIn_ && !DownLook() && Transparent()) {
    // Only image and caption, straight over the parent.
    TCanvas* c = Canvas();
    SetFontFor(c, skinned && UseSkinFont);
    TRect r{0, 0, Width(), Height()};
    if (skinned) {
      int w = Width(), h = Height();
      CalcSize(w, h);
      r = NewClientRect;
      c->Font()->SetColor(Enabled() ? FontColor : DisabledFontColor);
    } else if (!Enabled()) {
      c->Font()->SetColor(clBtnShadow);
    }
    DrawContent(c, r, false, false);
    return;
  }
  TBitmap b(Width(), Height());
  if (!skinned)
    CreateControlDefaultImage(&b);
  else if (DownLook())
    CreateButtonImage(&b, DownSkinRect, true, true);
  else if (mouseIn_)
    CreateButtonImage(&b, ActiveSkinRect, true, false);
  else if (!Enabled() && !IsNullRect(DisabledSkinRect))
    CreateButtonImage(&b, DisabledSkinRect, false, false);
  else
    CreateButtonImage(&b, SkinRect, false, false);
  Canvas()->Draw(0, 0, &b);
}

void TksSkinSpeedButton::ButtonClick() {
  if (OnClick) OnClick(this);
}

void TksSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || down_) return;
  mouseIn_ = true;
  down_ = true;
  Repaint();
}

void TksSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !down_) return;
  down_ = false;
  const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
  Repaint();
  if (inside) ButtonClick();
}

void TksSkinSpeedButton::CMMouseEnter(TMessage& Message) {
  TksGraphicSkinCustomControl::CMMouseEnter(Message);
  if (!Enabled()) return;
  mouseIn_ = true;
  Repaint();
}

void TksSkinSpeedButton::CMMouseLeave(TMessage& Message) {
  TksGraphicSkinCustomControl::CMMouseLeave(Message);
  if (!Enabled()) return;
  mouseIn_ = false;
  Repaint();
}

void TksSkinSpeedButton::CMEnabledChanged(TMessage& Message) {
  TksGraphicSkinCustomControl::CMEnabledChanged(Message);
  mouseIn_ = false;
  Repaint();
}

void TksSkinSpeedButton::CMTextChanged(TMessage& Message) {
  TksGraphicSkinCustomControl::CMTextChanged(Message);
  Repaint();
}

// ---- TksSkinMenuSpeedButton -----------------------------------------------------

TksSkinMenuSpeedButton::TksSkinMenuSpeedButton(TComponent* AOwner) : TksSkinSpeedButton(AOwner) {
  SetSkinDataName("toolmenubutton");
}
