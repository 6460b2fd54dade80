// The skinned up-down: two step buttons with a position inside a range, an
// increment and auto-repeat while a button is held.
#pragma once

#include "skin/controls/ksSkinCtrls.h"

enum TksUDOrientation { udHorizontal, udVertical };

class TksSkinUpDown : public TksSkinCustomControl {
 public:
  static constexpr int kUpButton = 0;
  static constexpr int kDownButton = 1;
  static constexpr UINT_PTR kRepeatTimerId = 1;

  struct TUpDownButton {
    TRect R{};
    bool MouseIn = false;
    bool Down = false;
  };

  explicit TksSkinUpDown(TComponent* AOwner);
  ~TksSkinUpDown() override;

  TksUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TksUDOrientation value);
  int Increment = 1;
  int Position() const { return position_; }
  // A value outside Min..Max is ignored; any other raises OnChange, even when equal.
  void SetPosition(int value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);

  TNotifyEvent OnChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;

  const TUpDownButton& Buttons(int i) const { return buttons_[i]; }
  // 0 none, 1 stepping down, 2 stepping up.
  int TimerMode() const { return timerMode_; }
  bool WaitMode() const { return waitMode_; }

  void GetSkinData() override;
  void CalcRects();

 protected:
  void CreateControlSkinImage(TBitmap* b) override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  void DrawButton(TCanvas* c, int i);
  int ButtonAt(TPoint p) const;
  void TestActive(int X, int Y);
  void ButtonDown(int i);
  void ButtonUp(int i);
  void ButtonEnter(int i);
  void ButtonLeave(int i);
  void StartTimer(UINT ms);
  void StopTimer();

  TksUDOrientation orientation_ = udHorizontal;
  int position_ = 0, min_ = 0, max_ = 100;
  TUpDownButton buttons_[2];
  int activeButton_ = -1, oldActiveButton_ = -1, captureButton_ = -1;
  int timerMode_ = 0;
  bool waitMode_ = false;
  // Picture rectangles: normal, hot and pressed of the up button, then of the down button.
  TRect skinButton_[2]{}, activeButton_Rect_[2]{}, downButton_Rect_[2]{};
};
