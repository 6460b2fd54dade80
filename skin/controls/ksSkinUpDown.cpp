#include "skin/controls/ksSkinUpDown.h"

#include "framework/core/seams.h"
#include "skin/data/ksSkinDataControls.h"

TksSkinUpDown::TksSkinUpDown(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetSkinDataName("hupdown");
  SetBounds(Left(), Top(), 50, 25);
}

TksSkinUpDown::~TksSkinUpDown() { StopTimer(); }

void TksSkinUpDown::SetOrientation(TksUDOrientation value) {
  orientation_ = value;
  // The section follows the orientation only while nobody chose another.
  if (SkinDataName() == "hupdown" || SkinDataName() == "vupdown")
    SetSkinDataName(value == udVertical ? "vupdown" : "hupdown");
  GetSkinData();
  Invalidate();
}

void TksSkinUpDown::SetPosition(int value) {
  if (value < min_ || value > max_) return;
  position_ = value;
  OnChange(this);
}

void TksSkinUpDown::SetMin(int value) {
  min_ = value;
  if (position_ < min_) position_ = min_;
}

void TksSkinUpDown::SetMax(int value) {
  max_ = value;
  if (position_ > max_) position_ = max_;
}

void TksSkinUpDown::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  if (auto* d = SkinDescription<TksDataSkinUpDownControl>()) {
    skinButton_[kUpButton] = d->UpButtonRect;
    activeButton_Rect_[kUpButton] = d->ActiveUpButtonRect;
    downButton_Rect_[kUpButton] = OrFallback(d->DownUpButtonRect, d->ActiveUpButtonRect);
    skinButton_[kDownButton] = d->DownButtonRect;
    activeButton_Rect_[kDownButton] = d->ActiveDownButtonRect;
    downButton_Rect_[kDownButton] = OrFallback(d->DownDownButtonRect, d->ActiveDownButtonRect);
    // No resizable frame parts; the description itself stays as the skin has it.
    LTPoint = RTPoint = LBPoint = RBPoint = TPoint{};
    SkinClientRect = TRect{};
  }
  CalcRects();
}

void TksSkinUpDown::CalcRects() {
  const int w = Width(), h = Height();
  if (ControlIndex() != -1) {
    buttons_[kUpButton].R = skinButton_[kUpButton];
    buttons_[kDownButton].R = skinButton_[kDownButton];
  } else if (orientation_ == udHorizontal) {
    buttons_[kDownButton].R = TRect{0, 0, w / 2, h};
    buttons_[kUpButton].R = TRect{w / 2, 0, w, h};
  } else {
    buttons_[kUpButton].R = TRect{0, 0, w, h / 2};
    buttons_[kDownButton].R = TRect{0, h / 2, w, h};
  }
}

void TksSkinUpDown::DrawButton(TCanvas* c, int i) {
  const TUpDownButton& b = buttons_[i];
  if (ControlIndex() != -1) {
    const TRect* source = b.Down && b.MouseIn ? &downButton_Rect_[i] : b.MouseIn ? &activeButton_Rect_[i] : nullptr;
    if (source != nullptr && Picture != nullptr && !IsNullRect(*source)) c->CopyRect(b.R, Picture->Canvas(), *source);
    return;
  }
  DrawPlainButtonFace(c, b.R, b.Down && b.MouseIn, b.MouseIn);
  const bool horizontal = orientation_ == udHorizontal;
  const int arrow = i == kUpButton ? (horizontal ? 2 : 3) : (horizontal ? 1 : 4);
  DrawArrowImage(c, b.R, clBlack, arrow);
}

void TksSkinUpDown::CreateControlSkinImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlSkinImage(b);
  DrawButton(b->Canvas(), kUpButton);
  DrawButton(b->Canvas(), kDownButton);
}

void TksSkinUpDown::CreateControlDefaultImage(TBitmap* b) {
  CalcRects();
  DrawButton(b->Canvas(), kUpButton);
  DrawButton(b->Canvas(), kDownButton);
}

void TksSkinUpDown::StartTimer(UINT ms) {
  if (!HandleAllocated()) return;
  TimerSeam().KillTimer(Handle(), kRepeatTimerId);
  TimerSeam().SetTimer(Handle(), kRepeatTimerId, ms, nullptr);
}

void TksSkinUpDown::StopTimer() {
  if (HandleAllocated()) TimerSeam().KillTimer(Handle(), kRepeatTimerId);
}

// A button's edges count as on it; the row or column the two buttons share goes to the
// button drawn on it, the one holding it by the system's rule.
int TksSkinUpDown::ButtonAt(TPoint p) const {
  for (int i = 0; i < 2; ++i)
    if (buttons_[i].R.Contains(p)) return i;
  for (int i = 0; i < 2; ++i)
    if (buttons_[i].R.ContainsWithEdges(p)) return i;
  return -1;
}

void TksSkinUpDown::TestActive(int X, int Y) {
  oldActiveButton_ = activeButton_;
  activeButton_ = ButtonAt(TPoint{X, Y});
  if (captureButton_ != -1 && activeButton_ != captureButton_) activeButton_ = -1;
  if (activeButton_ == oldActiveButton_) return;
  if (oldActiveButton_ != -1) ButtonLeave(oldActiveButton_);
  if (activeButton_ != -1) ButtonEnter(activeButton_);
}

void TksSkinUpDown::ButtonDown(int i) {
  buttons_[i].MouseIn = buttons_[i].Down = true;
  Invalidate();
  if (Increment == 0) return;
  timerMode_ = i == kUpButton ? 2 : 1;
  waitMode_ = true;
  StartTimer(500);
}

void TksSkinUpDown::ButtonEnter(int i) {
  buttons_[1 - i].MouseIn = false;
  buttons_[i].MouseIn = true;
  Invalidate();
  if (Increment != 0 && buttons_[i].Down) StartTimer(50);
}

void TksSkinUpDown::ButtonLeave(int i) {
  buttons_[i].MouseIn = false;
  Invalidate();
  if (Increment != 0 && buttons_[i].Down) StopTimer();
}

void TksSkinUpDown::ButtonUp(int i) {
  TUpDownButton& b = buttons_[i];
  b.Down = false;
  if (i != activeButton_) b.MouseIn = false;
  Invalidate();
  if (b.MouseIn) {
    if (i == kUpButton) {
      if (Increment != 0) SetPosition(position_ + Increment);
      OnUpButtonClick(this);
    } else {
      if (Increment != 0) SetPosition(position_ - Increment);
      OnDownButtonClick(this);
    }
  }
  if (Increment != 0) {
    StopTimer();
    timerMode_ = 0;
  }
}

void TksSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TestActive(X, Y);
  buttons_[activeButton_ == kUpButton ? kDownButton : kUpButton].MouseIn = false;
  if (activeButton_ != -1) {
    captureButton_ = activeButton_;
    ButtonDown(activeButton_);
  }
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TksSkinUpDown::MouseMove(TShiftState Shift, int X, int Y) {
  TestActive(X, Y);
  TksSkinCustomControl::MouseMove(Shift, X, Y);
}

void TksSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (captureButton_ != -1) ButtonUp(captureButton_);
  captureButton_ = -1;
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinUpDown::CMMouseEnter(TMessage& Message) {
  activeButton_ = oldActiveButton_ = -1;
  TksSkinCustomControl::CMMouseEnter(Message);
}

void TksSkinUpDown::CMMouseLeave(TMessage& Message) {
  activeButton_ = oldActiveButton_ = -1;
  TksSkinCustomControl::CMMouseLeave(Message);
  bool changed = false;
  for (auto& b : buttons_)
    if (b.MouseIn) {
      b.MouseIn = false;
      changed = true;
    }
  if (changed) Invalidate();
}

void TksSkinUpDown::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER && Message.WParam == kRepeatTimerId) {
    if (waitMode_) {
      waitMode_ = false;
      StartTimer(100);
    } else if (timerMode_ == 1) {
      SetPosition(position_ - Increment);
    } else if (timerMode_ == 2) {
      SetPosition(position_ + Increment);
    }
    return;
  }
  if (Message.Msg == WM_SIZE) {
    TksSkinCustomControl::WndProc(Message);
    CalcRects();
    return;
  }
  TksSkinCustomControl::WndProc(Message);
}
