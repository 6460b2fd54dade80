#include "framework/core/colors.h"
#include "framework/gui/actions.h"
#include "framework/gui/application.h"
#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinDownState.h"
#include "skin/controls/ksSkinFont.h"

TksSkinButton::TksSkinButton(TComponent* AOwner)
    : TksSkinCustomControl(AOwner),
      morph_([this] { return Morphing && controlIndex_ != -1; }, [this] { return mouseIn_ || IsFocusedButton(); },
             [this] { Invalidate(); }) {
  SetSkinDataName("button");
  SetTabStop(true);
  SetBounds(Left(), Top(), 75, 25);
}

TksSkinButton::~TksSkinButton() = default;

void TksSkinButton::SetGroupIndex(int value) {
  groupIndex_ = value;
  if (value != 0) canFocused_ = false;
}

void TksSkinButton::SetCanFocused(bool value) { canFocused_ = value; }

void TksSkinButton::SetDown(bool value) {
  down_ = value;
  if (Morphing) MorphToDown(morph_, value);
  Invalidate();
  if (value && groupIndex_ != 0 && !AllowAllUp) ReleaseGroupOf(*this);
}

bool TksSkinButton::IsFocusedButton() { return canFocused_ && Focused(); }

int TksSkinButton::GetGlyphNum(bool down, bool active) const {
  return GlyphNumber(Enabled(), down, active);
}

void TksSkinButton::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  auto* d = SkinDescription<TksDataSkinButtonControl>();
  if (d == nullptr) {
    Morphing = false;  // the look without a skin does not fade
    return;
  }
  TakeButtonLook(*d);
  Morphing = d->Morphing;
  MorphKind = d->MorphKind;
}

bool TksSkinButton::DownLook() {
  return down_ && (mouseIn_ || (IsFocusedButton() && !mouseDownFlag_) || groupIndex_ != 0);
}

void TksSkinButton::CreateButtonImage(TBitmap* b, const TRect& r, bool down, bool active) {
  CreateSkinControlImage(b, Picture, r);
  TCanvas* c = b->Canvas();
  AssignSkinFont(c->Font(), UseSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
  c->Font()->SetColor(StateFontColor(Enabled(), down, active));
  DrawGlyphCaption(c, NewClientRect, Caption(), GetGlyphNum(down, active), down && active);
}

void TksSkinButton::Paint() {
  GetSkinData();
  if (controlIndex_ == -1) {
    TksSkinCustomControl::Paint();
    return;
  }
  if (Width() < 1 || Height() < 1) return;
  // The state faces and caption colours only exist in a button description:
  // another kind under the name gives the look without a skin.
  const bool buttonDescription = SkinDescription<TksDataSkinButtonControl>() != nullptr;
  TBitmap b(Width(), Height());
  if (!buttonDescription) {
    CreateControlDefaultImage(&b);
  } else if (!Enabled() && !IsNullRect(DisabledSkinRect)) {
    CreateButtonImage(&b, DisabledSkinRect, false, false);
  } else if (DownLook()) {
    CreateButtonImage(&b, DownSkinRect, true, true);
  } else if (Morphing && morph_.Between() && Enabled()) {
    PaintMorph(&b);
  } else if (IsFocusedButton() || mouseIn_ || (Morphing && morph_.Steps() == 5)) {
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
  DrawPlainButtonFace(c, r, pressed, mouseIn_ || IsFocusedButton());
  AssignSkinFont(c->Font(), false, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  DrawGlyphCaption(c, r, Caption(), GetGlyphNum(down_, mouseIn_), pressed);
}

void TksSkinButton::ButtonClick() {
  if (canFocused_) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
  }
  ClickOrExecute(this);
}

void ClickOrExecute(TControl* control) {
  TBasicAction* action = control->Action();
  if (action != nullptr) {
    // A handler of its own wins over the action's; the action's own handler
    // runs once, through the action.
    if (control->OnClick && !(control->OnClick == action->OnExecute))
      control->OnClick(control);
    else
      action->Execute();
    return;
  }
  if (control->OnClick) control->OnClick(control);
}

bool TakeActionImage(TObject* Sender, TBitmap* glyph) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (action == nullptr || !glyph->Empty() || action->ActionList() == nullptr) return false;
  TCustomImageList* images = action->ActionList()->Images();
  if (images == nullptr || action->ImageIndex < 0 || action->ImageIndex >= images->Count()) return false;
  // Fuchsia is the glyph's transparent colour: what the image leaves uncovered
  // stays see-through.
  glyph->SetSize(images->Width(), images->Height());
  TCanvas* c = glyph->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(static_cast<TColor>(0xFF00FF));
  c->FillRect(TRect{0, 0, glyph->Width(), glyph->Height()});
  images->Draw(c, 0, 0, action->ImageIndex, true);
  return true;
}

void TksSkinButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TksSkinCustomControl::ActionChange(Sender, CheckDefaults);
  if (TakeActionImage(Sender, &glyph_)) Invalidate();
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
        // Released outside: no click; the face it kept while dragged off stays until
        // the pointer comes and goes again.
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
      if (Morphing) morph_.SetSteps(5);
      Invalidate();
    } else {
      morph_.Start();
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
  // The default button keeps its highlight while the focus is elsewhere.
  if (!(canFocused_ && default_ && activeDefault_ && !Focused())) mouseIn_ = false;
  HoverChanged();
  if (down_ && RepeatMode && groupIndex_ == 0) StopRepeat();
}

void TksSkinButton::CMEnabledChanged(TMessage& Message) {
  TksSkinCustomControl::CMEnabledChanged(Message);
  StopRepeat();  // a disabled button must not keep clicking
  if (Morphing) morph_.Reset();
  mouseIn_ = false;
  Invalidate();
}

void TksSkinButton::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TksSkinButton::SetDefault(bool value) {
  const bool wasDefault = default_;
  default_ = value;
  // The highlight it had as the default goes with the role, unless the pointer
  // is really over the button.
  if (wasDefault && !value && mouseIn_ && Application != nullptr && Application->MouseControl() != this) {
    mouseIn_ = false;
    morph_.Start();
  }
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
  // Enter clicks the enabled button that has the Enter key, whether or not it takes the
  // focus; a hidden one stays out of it. Escape needs a button that can take the focus.
  if (key == VK_RETURN && activeDefault_ && Enabled() && Visible()) {
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

void TksSkinButton::CMDialogChar(TMessage& Message) {
  if (canFocused_ && FocusForAccel(Message)) {
    ButtonClick();
    return;
  }
  TksSkinCustomControl::CMDialogChar(Message);
}

void TksSkinButton::CMFocusChanged(TMessage& Message) {
  TControl* focused = reinterpret_cast<TControl*>(Message.LParam);
  auto* button = dynamic_cast<TksSkinButton*>(focused);
  activeDefault_ = button != nullptr ? button == this : default_;
  if (canFocused_ && default_) {
    if (button != nullptr && button != this && mouseIn_) {
      mouseIn_ = false;
      morph_.Start();
    } else if (button == nullptr && !mouseIn_) {
      if (Morphing) morph_.SetSteps(5);
      mouseIn_ = true;
      morph_.Start();
    }
  }
  TksSkinCustomControl::CMFocusChanged(Message);
}

void TksSkinButton::WMSetFocus(TMessage& Message) {
  TksSkinCustomControl::WMSetFocus(Message);
  if (canFocused_) morph_.Start();
}

void TksSkinButton::WMKillFocus(TMessage& Message) {
  StopRepeat();
  if (groupIndex_ == 0) down_ = false;
  TksSkinCustomControl::WMKillFocus(Message);
  if (canFocused_) morph_.Start();
}

void TksSkinButton::CreateWnd() {
  TksSkinCustomControl::CreateWnd();
  activeDefault_ = default_;
}

void TksSkinButton::WndProc(TMessage& Message) {
  if (canFocused_ && !FocusForClick(Message)) return;
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

void TksSkinButton::PaintMorph(TBitmap* b) {
  TBitmap active(Width(), Height());
  CreateButtonImage(b, SkinRect, false, false);
  CreateButtonImage(&active, ActiveSkinRect, false, true);
  MorphFace(b, &active, MorphKind, morph_.Factor());
}

void TksSkinButton::ChangeSkinData() {
  morph_.Reset();
  TksSkinCustomControl::ChangeSkinData();
  if (Morphing && controlIndex_ != -1 && (IsFocusedButton() || mouseIn_)) morph_.SetSteps(5);
}
