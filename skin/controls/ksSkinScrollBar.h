// The skinned scroll bar: a range with a position and an optional page, laid out as
// a track with a thumb between two arrow buttons, from fixed defaults or from a skin
// section; moved by the buttons and the track (both repeating while held), by
// dragging the thumb and, when it may take the focus, by arrow keys and the wheel.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/gui/timer.h"
#include "skin/controls/ksSkinCtrls.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

// One part of the bar and its state.
struct TksScrollPart {
  TRect R{};
  bool Hot = false;
  bool Down = false;
};

class TksSkinScrollBar : public TksSkinCustomControl {
 public:
  // Part numbers: the thumb, the increasing button (right or bottom, the skin's
  // "up" button) and the decreasing one (left or top, the skin's "down" button).
  static constexpr int kThumb = 0;
  static constexpr int kUpButton = 1;
  static constexpr int kDownButton = 2;

  // What the repeat timer does while a press is held.
  enum TTimerMode { tmNone = 0, tmDownButton = 1, tmUpButton = 2, tmPageUp = 3, tmPageDown = 4 };

  explicit TksSkinScrollBar(TComponent* AOwner);
  ~TksSkinScrollBar() override;

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const { return position_; }
  void SetPosition(int value);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value);
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value);
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool value);
  bool Both() const { return both_; }
  void SetBoth(bool value);
  int BothMarkerWidth() const { return bothMarkerWidth_; }
  void SetBothMarkerWidth(int value);
  String BothSkinDataName = "bothhscrollbar";

  // All at once, quietly: no OnChange (the list controls keep their bars this way).
  void SetRange(int min, int max, int page, int pos);

  TNotifyEvent OnChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnPageUp;
  TNotifyEvent OnPageDown;
  TNotifyEvent OnLastChange;

  // Lays the parts out anew from the values and the current size.
  void CalcParts();
  const TksScrollPart& Part(int index) const { return parts_[index]; }
  const TRect& TrackRect() const { return trackRect_; }
  int TrackMin() const { return trackMin_; }
  int TrackMax() const { return trackMax_; }
  int ThumbPos() const { return thumbPos_; }
  int HotPart() const { return hotPart_; }
  int PressedPart() const { return pressedPart_; }
  int TimerMode() const { return timerMode_; }
  bool ThumbDragging() const { return thumbDragging_; }
  // The running repeat timer, null while nothing repeats; tests fire it.
  TTimer* RepeatTimer() const { return repeatTimer_.get(); }
  bool IsFocusedBar();
  // True while the description found is a scroll bar's; anything else gives the plain look.
  bool SkinnedLayout() const { return controlIndex_ != -1 && skinned_; }

  void GetSkinData() override;
  void CalcSize(int& w, int& h) override;

  // The description's values (picture rectangles, except the places of the buttons
  // and the track, which are on the face).
  TRect TrackArea{}, UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
  TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
  TRect ThumbRect{}, ActiveThumbRect{}, DownThumbRect{};
  int ThumbOffset1 = 0, ThumbOffset2 = 0;
  TRect GlyphRect{}, ActiveGlyphRect{}, DownGlyphRect{};

 protected:
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void WMMouseWheel(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  bool Horizontal() const { return kind_ == sbHorizontal; }
  int ClampPosition(int64_t value) const;
  // Sets the position through the clamp, with OnChange when it changed.
  void MoveTo(int64_t value);
  void Step(int delta);
  void UpButtonStep();
  void DownButtonStep();
  void PageUp();
  void PageDown();
  bool BeforeThumb(TPoint p) const;
  bool BeyondThumb(TPoint p) const;
  void PressPart(int part, TPoint p);
  void ReleasePart(int part);
  void UpdateHotPart(TPoint p);
  void HotPartOff(int part);
  void HotPartOn(int part);
  // Ends a press the bar will never see released (capture lost, disabled).
  void CancelPress();
  int64_t PositionFromThumb(int t);
  void StartTimer(UINT interval);
  void PauseTimer() { repeatTimer_.reset(); }
  void StopTimer();
  void RepeatTick(TObject* Sender);
  void DrawDefaultPart(TCanvas* c, int part);
  void DrawSkinButton(TCanvas* c, int part);
  void DrawSkinThumb(TCanvas* c);

  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int pageSize_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 1;
  bool canFocused_ = false;
  bool both_ = false;
  int bothMarkerWidth_ = 19;
  String savedSkinDataName_;
  bool skinned_ = false;

  TksScrollPart parts_[3];
  TRect trackRect_{};
  int trackMin_ = 0;
  int trackMax_ = 0;
  int thumbPos_ = 0;

  int hotPart_ = -1;
  int pressedPart_ = -1;
  int timerMode_ = tmNone;
  bool firstTick_ = false;
  bool mouseDown_ = false;
  bool thumbDragging_ = false;
  int dragStart_ = 0;
  int thumbPosAtPress_ = 0;
  TPoint lastMousePos_{};
  bool clicksDisabled_ = false;
  std::unique_ptr<TTimer> repeatTimer_;
};
