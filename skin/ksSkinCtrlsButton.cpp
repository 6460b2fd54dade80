#include "framework/core/colors.h"
#include "skin/ksEffects.h"
#include "skin/ksSkinCtrls.h"

TksSkinButton::TksSkinButton(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetSkinDataName("button");
  SetTabStop(true);
  SetBounds(Left(), Top(), 75, 25);
}

TksSkinButton::~TksSkinButton() = default;

void TksSkinButton::SetGlyph(TBitmap* value) {
  if (value == nullptr)
    glyph_.SetSize(0, 0);
  else
    glyph_.Assign(value);
  Invalidate();
}

void TksSkinButton::SetNumGlyphs(int value) {
  // The strip has one to four cells; anything else would divide by zero or
  // pick a cell that is not there.
  numGlyphs_ = value < 1 ? 1 : (value > 4 ? 4 : value);
  Invalidate();
}

void TksSkinButton::SetLayout(int value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TksSkinButton::SetMargin(int value) {
  if (value == margin_ || value < -1) return;
  margin_ = value;
  Invalidate();
}

void TksSkinButton::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TksSkinButton::SetGroupIndex(int value) {
  groupIndex_ = value;
  if (value != 0) canFocused_ = false;
}

void TksSkinButton::SetCanFocused(bool value) { canFocused_ = value; }

void TksSkinButton::SetDown(bool value) {
  down_ = value;
  if (Morphing) {
    // The release fades from the active face.
    morphSteps_ = 5;
    if (value)
      StopMorphTimer();
    else
      StartMorph();
  }
  Invalidate();
  if (value && groupIndex_ != 0 && !AllowAllUp) UpdateExclusive();
}

void TksSkinButton::UpdateExclusive() {
  TWinControl* parent = Parent();
  if (parent == nullptr) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TksSkinButton*>(parent->Controls(i));
    if (other != nullptr && other != this && other->groupIndex_ == groupIndex_ && other->down_)
      other->SetDown(false);
  }
}

bool TksSkinButton::IsFocusedButton() { return canFocused_ && HandleAllocated() && GetFocus() == Handle(); }

int TksSkinButton::GetGlyphNum(bool down, bool active) const {
  if (down && active && numGlyphs_ > 2) return 3;
  if (active && numGlyphs_ > 3) return 4;
  if (!Enabled() && numGlyphs_ > 1) return 2;
  return 1;
}

void TksSkinButton::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
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
  Morphing = d->Morphing;
  MorphKind = d->MorphKind;
}

bool TksSkinButton::DownLook() {
  return down_ && (mouseIn_ || (IsFocusedButton() && !mouseDownFlag_) || groupIndex_ != 0);
}

void TksSkinButton::SetFontFor(TCanvas* canvas, bool useSkinFont) {
  TFont* f = canvas->Font();
  if (useSkinFont) {
    f->SetName(FontName);
    f->SetHeight(FontHeight);
    f->SetStyle(FontStyle);
  } else {
    f->Assign(DefaultFont());
  }
  TksResourceStrData* strings = skinData_ != nullptr ? skinData_->ResourceStrData() : nullptr;
  f->SetCharset(strings != nullptr ? strings->CharSet : DefaultFont()->Charset());
}

void TksSkinButton::CreateButtonImage(TBitmap* b, const TRect& r, bool down, bool active) {
  CreateSkinControlImage(b, Picture, r);
  TCanvas* c = b->Canvas();
  SetFontFor(c, UseSkinFont);
  TColor color = FontColor;
  if (!Enabled())
    color = DisabledFontColor;
  else if (down && active)
    color = DownFontColor;
  else if (active)
    color = ActiveFontColor;
  c->Font()->SetColor(color);
  DrawGlyphAndText(c, NewClientRect, margin_, spacing_, layout_, Caption(), &glyph_, numGlyphs_,
                   GetGlyphNum(down, active), down && active);
}

void TksSkinButton::Paint() {
  GetSkinData();
  if (controlIndex_ == -1) {
    TksSkinCustomControl::Paint();
    return;
  }
  if (Width() < 1 || Height() < 1) return;
  // The face rectangles only exist for a button description; another kind
  // under the name gets its own face.
  const bool buttonDescription =
      dynamic_cast<TksDataSkinButtonControl*>(skinData_->CtrlList[static_cast<size_t>(controlIndex_)].get()) !=
      nullptr;
  TBitmap b(Width(), Height());
  if (!buttonDescription) {
    CreateSkinControlImage(&b, Picture, SkinRect);
  } else if (!Enabled() && !IsNullRect(DisabledSkinRect)) {
    CreateButtonImage(&b, DisabledSkinRect, false, false);
  } else if (DownLook()) {
    CreateButtonImage(&b, DownSkinRect, true, true);
  } else if (Morphing && morphSteps_ > 0 && morphSteps_ < 5 && Enabled()) {
    PaintMorph(&b);
  } else if (IsFocusedButton() || mouseIn_ || (Morphing && morphSteps_ == 5)) {
    CreateButtonImage(&b, ActiveSkinRect, false, true);
  } else {
    CreateButtonImage(&b, SkinRect, false, false);
  }
  Canvas()->Draw(0, 0, &b);
}

void TksSkinButton::CreateControlDefaultImage(TBitmap* b) {
  TCanvas* c = b->Canvas();
  const TRect r{0, 0, ClientWidth(), ClientHeight()};
  const bool pressed = DownLook();
  TColor frame = clBtnShadow, fill = clBtnFace;
  if (pressed) {
    frame = static_cast<TColor>(0x800000);
    fill = static_cast<TColor>(0xB59385);
  } else if (mouseIn_ || IsFocusedButton()) {
    frame = static_cast<TColor>(0x800000);
    fill = static_cast<TColor>(0xD2BDB6);
  }
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(fill);
  c->FillRect(r);
  c->Brush()->SetColor(frame);
  c->FrameRect(r);
  SetFontFor(c, false);
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  DrawGlyphAndText(c, r, margin_, spacing_, layout_, Caption(), &glyph_, numGlyphs_, GetGlyphNum(down_, mouseIn_),
                   pressed);
}

void TksSkinButton::ButtonClick() {
  if (canFocused_) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
  }
  if (OnClick) OnClick(this);
}

void TksSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  mouseDownFlag_ = true;
  if (!down_) {
    mouseIn_ = true;
    SetDown(true);
    if (RepeatMode && groupIndex_ == 0)
      StartRepeat();
    else if (groupIndex_ != 0)
      ButtonClick();
    allowAllUpCheck_ = false;
  } else if (groupIndex_ != 0) {
    allowAllUpCheck_ = true;
  }
}

void TksSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    mouseDownFlag_ = false;
    if (groupIndex_ == 0) {
      if (mouseIn_) {
        SetDown(false);
        StopRepeat();
        ButtonClick();
      } else {
        down_ = false;
        StopRepeat();
      }
    } else if (down_ && AllowAllUp && allowAllUpCheck_ && mouseIn_) {
      SetDown(false);
      ButtonClick();
    }
  }
  if (HandleAllocated() && Visible()) TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinButton::HoverChanged() {
  if (ShouldAnimateHover()) {
    if (down_) {
      if (Morphing) morphSteps_ = 5;
      Invalidate();
    } else {
      StartMorph();
    }
  }
}

void TksSkinButton::CMMouseEnter(TMessage& Message) {
  TksSkinCustomControl::CMMouseEnter(Message);
  mouseIn_ = true;
  HoverChanged();
  if (down_ && RepeatMode && groupIndex_ == 0) StartRepeat();
}

void TksSkinButton::CMMouseLeave(TMessage& Message) {
  TksSkinCustomControl::CMMouseLeave(Message);
  mouseIn_ = false;
  HoverChanged();
  if (down_ && RepeatMode && groupIndex_ == 0) StopRepeat();
}

void TksSkinButton::CMEnabledChanged(TMessage& Message) {
  TksSkinCustomControl::CMEnabledChanged(Message);
  StopRepeat();  // a disabled button must not keep clicking
  if (Morphing) {
    StopMorphTimer();
    morphSteps_ = 0;
  }
  mouseIn_ = false;
  Invalidate();
}

void TksSkinButton::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TksSkinButton::SetDefault(bool value) {
  default_ = value;
  if (!HandleAllocated() || !canFocused_) return;
  if (TCustomForm* form = GetParentForm(this)) {
    TWinControl* active = form->ActiveControl();
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(active));
  }
}

void TksSkinButton::StartRepeat() {
  StopRepeat();
  repeatTimer_ = std::make_unique<TTimer>(nullptr);
  repeatTimer_->SetEnabled(false);
  repeatTimer_->SetOnTimer(Bind<&TksSkinButton::RepeatTimerProc>(this));
  repeatTimer_->SetInterval(static_cast<UINT>(RepeatInterval > 0 ? RepeatInterval : 1));
  repeatTimer_->SetEnabled(true);
}

void TksSkinButton::StopRepeat() { repeatTimer_.reset(); }

void TksSkinButton::RepeatTimerProc(TObject*) { ButtonClick(); }

void TksSkinButton::CMDialogKey(TMessage& Message) {
  const WORD key = static_cast<WORD>(Message.WParam);
  const bool noModifiers = (KeyDataToShiftState(static_cast<LONG>(Message.LParam)) & (ssShift | ssCtrl | ssAlt)) == 0;
  // Only a button that can take the focus answers Enter or Escape: a hidden or
  // disabled default button must not click.
  if (key == VK_RETURN && default_ && canFocused_ && CanFocus()) {
    ButtonClick();
    Message.Result = 1;
    return;
  }
  if (key == VK_ESCAPE && Cancel && canFocused_ && noModifiers && CanFocus()) {
    ButtonClick();
    Message.Result = 1;
    return;
  }
  TksSkinCustomControl::CMDialogKey(Message);
}

void TksSkinButton::WMKillFocus(TMessage& Message) {
  StopRepeat();
  if (groupIndex_ == 0) down_ = false;
  TksSkinCustomControl::WMKillFocus(Message);
}

void TksSkinButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      // A press that lost the mouse is over: no more repeat clicks.
      StopRepeat();
      break;
    case WM_KEYDOWN:
      if (canFocused_ && Message.WParam == VK_SPACE) {
        SetDown(true);
        if (RepeatMode) ButtonClick();
      } else if (canFocused_ && Message.WParam == VK_RETURN) {
        ButtonClick();
      }
      break;
    case WM_KEYUP:
      if (canFocused_ && Message.WParam == VK_SPACE && down_) {
        SetDown(false);
        ButtonClick();
      }
      break;
    default:
      break;
  }
  TksSkinCustomControl::WndProc(Message);
}

bool TksSkinButton::ShouldAnimateHover() {
  return groupIndex_ != 0 ? !down_ : (down_ || !IsFocusedButton());
}

void TksSkinButton::StartMorph() {
  if (!Morphing || controlIndex_ == -1) {
    Invalidate();
    return;
  }
  if (morphTimer_) return;
  morphTimer_ = std::make_unique<TTimer>(nullptr);
  morphTimer_->SetInterval(20);
  morphTimer_->SetOnTimer(Bind<&TksSkinButton::MorphStep>(this));
  morphTimer_->SetEnabled(true);
}

void TksSkinButton::MorphStep(TObject*) {
  const bool wantActive = mouseIn_ || IsFocusedButton();
  if (controlIndex_ == -1 || !Morphing) {
    morphSteps_ = wantActive ? 5 : 0;
    StopMorphTimer();
    return;
  }
  if (wantActive && morphSteps_ < 5)
    ++morphSteps_;
  else if (!wantActive && morphSteps_ > 0)
    --morphSteps_;
  else
    StopMorphTimer();
  Invalidate();
}

void TksSkinButton::PaintMorph(TBitmap* b) {
  TBitmap active(Width(), Height());
  CreateButtonImage(b, SkinRect, false, false);
  CreateButtonImage(&active, ActiveSkinRect, false, true);
  std::unique_ptr<TksEffectBmp> from(TksEffectBmp::CreateFromHBitmap(b->Handle()));
  std::unique_ptr<TksEffectBmp> to(TksEffectBmp::CreateFromHBitmap(active.Handle()));
  if (!from || !to) return;
  const double k = MorphFactor();
  switch (MorphKind) {
    case 0: from->Morph(to.get(), k); break;
    case 1: from->MorphGrad(to.get(), k); break;
    case 2: from->MorphLeftGrad(to.get(), k); break;
    case 3: from->MorphRightGrad(to.get(), k); break;
    case 4: from->MorphLeftSlide(to.get(), k); break;
    case 5: from->MorphRightSlide(to.get(), k); break;
    case 6: from->MorphPush(to.get(), k); break;
    default: break;
  }
  from->Draw(b->Canvas()->Handle(), 0, 0);
}

void TksSkinButton::ChangeSkinData() {
  StopMorphTimer();
  morphSteps_ = 0;
  TksSkinCustomControl::ChangeSkinData();
  if (Morphing && controlIndex_ != -1 && (IsFocusedButton() || mouseIn_)) morphSteps_ = 5;
}
