#include "skin/ksSkinSpeedButton.h"

#include "framework/core/colors.h"
#include "framework/gui/imagelist.h"
#include "skin/ksSkinFont.h"
#include "skin/ksSkinToolBar.h"

// ---- TksGraphicSkinControl ------------------------------------------------------

TksGraphicSkinControl::TksGraphicSkinControl(TComponent* AOwner) : TksSkinBase(AOwner) {
  controlStyle_ |= csOpaque;
}

// ---- TksGraphicSkinCustomControl ------------------------------------------------

TksGraphicSkinCustomControl::TksGraphicSkinCustomControl(TComponent* AOwner) : TksSkinFaceBase(AOwner) {}

// ---- TksSkinSpeedButton ---------------------------------------------------------

TksSkinSpeedButton::TksSkinSpeedButton(TComponent* AOwner) : TksGraphicSkinCustomControl(AOwner) {
  controlStyle_ = csCaptureMouse | csOpaque | csDoubleClicks;
  SetSkinDataName("toolbutton");
  SetBounds(Left(), Top(), 25, 25);
}

TksSkinToolBar* TksSkinSpeedButton::ToolBar() const { return dynamic_cast<TksSkinToolBar*>(Parent()); }

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

void TksSkinSpeedButton::SetImageIndex(int value) {
  imageIndex_ = value;
  if (ToolBar() != nullptr) Repaint();
}

void TksSkinSpeedButton::GetSkinData() {
  TksGraphicSkinCustomControl::GetSkinData();
  if (auto* d = SkinDescription<TksDataSkinButtonControl>()) TakeButtonLook(*d);
}

void TksSkinSpeedButton::SetFontFor(TCanvas* canvas, bool useSkinFont) {
  AssignSkinFont(canvas->Font(), useSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
}

void TksSkinSpeedButton::DrawContent(TCanvas* canvas, const TRect& r, bool hot, bool down) {
  const bool pressed = hot && down;
  TksSkinToolBar* bar = ToolBar();
  if (!glyph_.Empty() || bar == nullptr) {
    DrawGlyphCaption(canvas, r, ShownCaption(), GlyphNumber(Enabled(), down, hot), pressed);
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
  c->Font()->SetColor(StateFontColor(Enabled(), down, hot));
  DrawContent(c, NewClientRect, hot, down);
}

void TksSkinSpeedButton::CreateControlDefaultImage(TBitmap* b) {
  TCanvas* c = b->Canvas();
  const TRect r{0, 0, Width(), Height()};
  if (DownLook() || mouseIn_ || !flat_)
    DrawPlainButtonFace(c, r, DownLook(), mouseIn_);
  else if (!Transparent())
    TksGraphicSkinCustomControl::CreateControlDefaultImage(b);
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
