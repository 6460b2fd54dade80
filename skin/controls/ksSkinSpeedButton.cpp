#include "skin/controls/ksSkinSpeedButton.h"

#include "framework/core/colors.h"
#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinDownState.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/views/ksSkinToolBar.h"

// ---- TksGraphicSkinControl ------------------------------------------------------

TksGraphicSkinControl::TksGraphicSkinControl(TComponent* AOwner) : TksSkinBase(AOwner) {
  controlStyle_ |= csOpaque;
}

// ---- TksGraphicSkinCustomControl ------------------------------------------------

TksGraphicSkinCustomControl::TksGraphicSkinCustomControl(TComponent* AOwner) : TksSkinFaceBase(AOwner) {}

// ---- TksSkinSpeedButton ---------------------------------------------------------

TksSkinSpeedButton::TksSkinSpeedButton(TComponent* AOwner)
    : TksGraphicSkinCustomControl(AOwner),
      morph_([this] { return CanMorph(); }, [this] { return mouseIn_; }, [this] { Repaint(); }) {
  controlStyle_ = csCaptureMouse | csOpaque | csDoubleClicks;
  SetSkinDataName("toolbutton");
  SetBounds(Left(), Top(), 25, 25);
}

TksSkinSpeedButton::~TksSkinSpeedButton() = default;

TksSkinToolBar* TksSkinSpeedButton::ToolBar() const { return dynamic_cast<TksSkinToolBar*>(Parent()); }

void TksSkinSpeedButton::SetShowCaption(bool value) {
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

void TksSkinSpeedButton::SetDown(bool value) {
  down_ = value;
  if (Morphing) MorphToDown(morph_, value);
  Repaint();
  if (value && groupIndex_ != 0 && !AllowAllUp) ReleaseGroupOf(*this);
}

void TksSkinSpeedButton::GetSkinData() {
  TksGraphicSkinCustomControl::GetSkinData();
  if (auto* d = SkinDescription<TksDataSkinButtonControl>()) {
    TakeButtonLook(*d);
    Morphing = d->Morphing;
    MorphKind = d->MorphKind;
  }
}

void TksSkinSpeedButton::ChangeSkinData() {
  morph_.Reset();
  TksGraphicSkinCustomControl::ChangeSkinData();
  if (CanMorph() && mouseIn_) morph_.SetSteps(5);
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
  const bool hotLook = mouseIn_ || (CanMorph() && morph_.Steps() == 5);
  if (!hotLook && !DownLook() && Transparent()) {
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
  if (!skinned) {
    CreateControlDefaultImage(&b);
  } else if (CanMorph() && morph_.Between() && !DownLook()) {
    TBitmap hot(Width(), Height());
    CreateButtonImage(&b, SkinRect, false, false);
    CreateButtonImage(&hot, ActiveSkinRect, true, false);
    MorphFace(&b, &hot, MorphKind, morph_.Factor());
  } else if (DownLook()) {
    CreateButtonImage(&b, DownSkinRect, true, true);
  } else if (hotLook) {
    CreateButtonImage(&b, ActiveSkinRect, true, false);
  } else if (!Enabled() && !IsNullRect(DisabledSkinRect)) {
    CreateButtonImage(&b, DisabledSkinRect, false, false);
  } else {
    CreateButtonImage(&b, SkinRect, false, false);
  }
  Canvas()->Draw(0, 0, &b);
}

void TksSkinSpeedButton::ButtonClick() { ClickOrExecute(this); }

void TksSkinSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TksGraphicSkinCustomControl::ActionChange(Sender, CheckDefaults);
  if (TakeActionImage(Sender, &glyph_)) Repaint();
}

void TksSkinSpeedButton::PressDown() {
  held_ = true;
  if (!down_) {
    mouseIn_ = true;
    SetDown(true);
    if (RepeatMode && groupIndex_ == 0)
      StartRepeat();
    else if (groupIndex_ != 0)
      ButtonClick();
    downAtPress_ = false;
  } else if (groupIndex_ != 0) {
    downAtPress_ = true;
  }
}

void TksSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) PressDown();
}

void TksSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !held_) return;
  held_ = false;
  const bool inside = TRect{0, 0, Width(), Height()}.Contains(TPoint{X, Y});
  if (groupIndex_ != 0) {
    if (down_ && AllowAllUp && downAtPress_ && inside) {
      SetDown(false);
      ButtonClick();
    }
    return;
  }
  StopRepeat();
  if (inside) {
    SetDown(false);
    ButtonClick();
  } else {
    down_ = false;
    mouseIn_ = false;
    Repaint();
  }
}

void TksSkinSpeedButton::StartRepeat() {
  StopRepeat();
  repeatTimer_ = std::make_unique<TTimer>(nullptr);
  repeatTimer_->SetEnabled(false);
  repeatTimer_->SetOnTimer(Bind<&TksSkinSpeedButton::RepeatTick>(this));
  repeatTimer_->SetInterval(static_cast<UINT>(RepeatInterval > 0 ? RepeatInterval : 1));
  repeatTimer_->SetEnabled(true);
}

void TksSkinSpeedButton::RepeatTick(TObject*) {
  // A press whose mouse went elsewhere (capture taken, button gone up unseen) is over.
  if (!held_ || !down_ || !Enabled() || CaptureControl() != this) {
    StopRepeat();
    return;
  }
  if (mouseIn_) ButtonClick();
}

void TksSkinSpeedButton::CMMouseEnter(TMessage& Message) {
  TksGraphicSkinCustomControl::CMMouseEnter(Message);
  if (!Enabled()) return;
  mouseIn_ = true;
  if (!(down_ && groupIndex_ != 0)) {
    if (!down_) {
      morph_.Start();
    } else {
      if (CanMorph()) morph_.SetSteps(5);
      Repaint();
    }
  }
  if (down_ && groupIndex_ == 0 && RepeatMode && held_) StartRepeat();
}

void TksSkinSpeedButton::CMMouseLeave(TMessage& Message) {
  TksGraphicSkinCustomControl::CMMouseLeave(Message);
  if (!Enabled()) return;
  mouseIn_ = false;
  if (!(down_ && groupIndex_ != 0)) morph_.Start();
  if (down_ && groupIndex_ == 0 && RepeatMode) StopRepeat();
}

void TksSkinSpeedButton::CMEnabledChanged(TMessage& Message) {
  TksGraphicSkinCustomControl::CMEnabledChanged(Message);
  StopRepeat();  // a disabled button must not keep clicking
  morph_.Reset();
  mouseIn_ = false;
  Repaint();
}

void TksSkinSpeedButton::WMCancelMode(TMessage& Message) {
  TksGraphicSkinCustomControl::WMCancelMode(Message);
  StopRepeat();
}

void TksSkinSpeedButton::CMTextChanged(TMessage& Message) {
  TksGraphicSkinCustomControl::CMTextChanged(Message);
  Repaint();
}

// ---- TksSkinMenuSpeedButton -----------------------------------------------------

namespace {
constexpr int kArrowWidth = 15;

TRect Moved(const TRect& r, int dx, int dy) { return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }
}  // namespace

TksSkinMenuSpeedButton::TksSkinMenuSpeedButton(TComponent* AOwner) : TksSkinSpeedButton(AOwner) {
  SetSkinDataName("toolmenubutton");
}

void TksSkinMenuSpeedButton::SetSkinPopupMenu(IksSkinPopup* value, TComponent* owner) {
  if (popupComponent_ != nullptr) RemoveFreeNotification(popupComponent_);
  popup_ = value;
  popupComponent_ = value != nullptr ? owner : nullptr;
  if (popupComponent_ != nullptr) FreeNotification(popupComponent_);
}

void TksSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && AComponent == popupComponent_) {
    popup_ = nullptr;
    popupComponent_ = nullptr;
  }
}

void TksSkinMenuSpeedButton::GetSkinData() {
  TksSkinSpeedButton::GetSkinData();
  if (auto* d = SkinDescription<TksDataSkinMenuButtonControl>()) trackButtonRect_ = d->TrackButtonRect;
}

TRect TksSkinMenuSpeedButton::TrackRect() {
  if (SkinDescription<TksDataSkinMenuButtonControl>() == nullptr || IsNullRect(trackButtonRect_))
    return TRect{Width() - kArrowWidth, 0, Width(), Height()};
  if (ResizeMode == 2) return Moved(trackButtonRect_, Width() - RectWidth(SkinRect), 0);
  if (ResizeMode == 3) return Moved(trackButtonRect_, 0, Height() - RectHeight(SkinRect));
  return trackButtonRect_;
}

bool TksSkinMenuSpeedButton::MenuTest(int x, int y) {
  if (popup_ == nullptr) return false;
  if (!TrackButtonMode) return true;
  GetSkinData();
  return TrackRect().Contains(TPoint{x, y});
}

void TksSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) menuOpen_ = MenuTest(X, Y);
  if (Button != mbLeft || !menuOpen_) {
    TksSkinSpeedButton::MouseDown(Button, Shift, X, Y);
    return;
  }
  TksGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
  mouseIn_ = true;
  if (!Down()) SetDown(true);
  const TPoint topLeft = ClientToScreen(TPoint{0, 0});
  popup_->PopupFromControl(TRect{topLeft.X, topLeft.Y, topLeft.X + Width(), topLeft.Y + Height()}, this);
  if (OnShowTrackMenu) OnShowTrackMenu(this);
}

void TksSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (menuOpen_) return;
  TksSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TksSkinMenuSpeedButton::CMMouseEnter(TMessage& Message) {
  if (!menuOpen_) {
    TksSkinSpeedButton::CMMouseEnter(Message);
    return;
  }
  mouseIn_ = true;
}

void TksSkinMenuSpeedButton::CMMouseLeave(TMessage& Message) {
  if (!menuOpen_) {
    TksSkinSpeedButton::CMMouseLeave(Message);
    return;
  }
  mouseIn_ = false;
}

void TksSkinMenuSpeedButton::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SKINMENUCLOSED) {
    // The pointer's own comings and goings keep mouse-in right.
    menuOpen_ = false;
    SetDown(false);
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    return;
  }
  TksSkinSpeedButton::WndProc(Message);
}

void TksSkinMenuSpeedButton::Paint() {
  if (!Split() || Width() < 1 || Height() < 1) {
    TksSkinSpeedButton::Paint();
    return;
  }
  GetSkinData();
  if (HasButtonDescription() && menuOpen_ && !IsNullRect(trackButtonRect_) && !IsNullRect(DownSkinRect)) {
    // While its menu is open: the hot face, the arrow part pressed.
    TBitmap b(Width(), Height());
    CreateButtonImage(&b, ActiveSkinRect, true, false);
    Canvas()->Draw(0, 0, &b);
    return;
  }
  if (HasButtonDescription() || mouseIn_ || DownLook() || menuOpen_ || !Transparent()) {
    TksSkinSpeedButton::Paint();
    return;
  }
  // Transparent and idle: glyph, caption and arrow straight over the parent.
  TCanvas* c = Canvas();
  SetFontFor(c, false);
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  DrawContent(c, TRect{0, 0, Width() - kArrowWidth, Height()}, false, false);
  DrawTrackArrowImage(c, TRect{Width() - kArrowWidth, 0, Width(), Height()}, clBtnText);
}

void TksSkinMenuSpeedButton::CreateButtonImage(TBitmap* b, const TRect& r, bool hot, bool down) {
  TksSkinSpeedButton::CreateButtonImage(b, r, hot, down);
  if (!Split() || !menuOpen_ || IsNullRect(trackButtonRect_) || IsNullRect(DownSkinRect) || Picture == nullptr)
    return;
  // The pressed arrow part, cut from the down face.
  b->Canvas()->CopyRect(TrackRect(), Picture->Canvas(), Moved(trackButtonRect_, DownSkinRect.Left, DownSkinRect.Top));
}

void TksSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* b) {
  if (!Split()) {
    TksSkinSpeedButton::CreateControlDefaultImage(b);
    return;
  }
  TCanvas* c = b->Canvas();
  const TRect main{0, 0, Width() - kArrowWidth, Height()};
  const TRect arrow{Width() - kArrowWidth, 0, Width(), Height()};
  const bool pressed = DownLook() && !menuOpen_;
  if (pressed || mouseIn_ || menuOpen_ || !Flat()) {
    DrawPlainButtonFace(c, main, pressed, mouseIn_ || menuOpen_);
    DrawPlainButtonFace(c, arrow, menuOpen_, mouseIn_ || menuOpen_);
  } else if (!Transparent()) {
    TksGraphicSkinCustomControl::CreateControlDefaultImage(b);
  }
  SetFontFor(c, false);
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  DrawContent(c, main, mouseIn_, pressed);
  const int shift = (pressed || menuOpen_) ? 2 : 0;
  DrawTrackArrowImage(c, Moved(arrow, shift, shift), clBtnText);
}
