// The skinned tool bar: a panel for rows of speed buttons that hands its skin,
// flat mode and captions on to them, lends them its image lists, and scrolls
// them sideways with two arrow buttons in its window frame when they do not fit.
#pragma once

#include "skin/views/ksSkinPanel.h"

class TCustomImageList;
class TksSkinSpeedButton;

class TksSkinToolBar : public TksSkinPanel {
 public:
  // Hit-test answers of the two arrow buttons in the frame.
  static constexpr LRESULT kHitLeftButton = 119;
  static constexpr LRESULT kHitRightButton = 120;
  // Width of each arrow button.
  static constexpr int kScrollButtonWidth = 12;
  // The window timer of the scroll repeat.
  static constexpr UINT_PTR kScrollTimerId = 1;

  explicit TksSkinToolBar(TComponent* AOwner);
  ~TksSkinToolBar() override;

  bool CanScroll() const { return canScroll_; }
  void SetCanScroll(bool value);
  bool HotScroll = false;
  // Pixels per step; 0 scrolls by the client width.
  int ScrollOffset() const { return scrollOffset_; }
  void SetScrollOffset(int value);
  int ScrollTimerInterval() const { return scrollTimerInterval_; }
  void SetScrollTimerInterval(int value);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool value);
  bool AutoShowHideCaptions = false;
  int WidthWithCaptions = 0;
  int WidthWithoutCaptions = 0;
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  TCustomImageList* HotImages() const { return hotImages_; }
  void SetHotImages(TCustomImageList* value);
  TCustomImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(TCustomImageList* value);

  // Scroll state, read by tests and by the frame drawing.
  int ScrollPos() const { return scrollPos_; }
  int ScrollExtent() const { return scrollExtent_; }
  bool ScrollButtonsVisible() const { return leftButton_.visible; }
  // 0 idle, 1 scrolling left, 2 scrolling right.
  int ScrollDirection() const { return scrollDirection_; }
  bool ScrollTimerRunning() const { return timerRunning_; }
  // The button description of the arrow buttons, null for drawn ones.
  TksDataSkinButtonControl* ResizeButtonData() const { return resizeButtonData_; }
  // One arrow button's face at (0, 0) of the canvas.
  void DrawScrollButton(TCanvas* canvas, bool left);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void GetSkinData() override;
  void SetSkinData(TksSkinData* value) override;
  void WndProc(TMessage& Message) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void WMSize(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;

 private:
  // Each arrow fills its end of the frame, kScrollButtonWidth wide and the bar's height.
  struct ScrollButton {
    bool hot = false;
    bool down = false;
    bool visible = false;
  };

  template <class F>
  void ForEachSpeedButton(F f);
  void UpdateScroll(int clientWidth);
  // Back to the unscrolled layout without arrows.
  void ResetScroll();
  void SetScrollButtonsVisible(bool value);
  void ScrollChildren(int dx);
  // How much a width change grew the bar (0 when it shrank or had no width).
  static int GrowthFrom(int oldWidth, int newWidth);
  void ScrollStep(int direction);
  void StartScrollTimer(int direction);
  void StopScrollTimer();
  void ClearHot();
  void PaintScrollButtons();
  // The client width the window would have at a given window width.
  int ClientWidthFor(int windowWidth);
  LRESULT HitTest(LPARAM screenPoint);
  void WMNCCalcSize(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCMouseMove(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMNCLButtonUp(TMessage& Message);
  void WMTimer(TMessage& Message);

  bool canScroll_ = false;
  int scrollOffset_ = 0;
  int scrollTimerInterval_ = 50;
  bool showCaptions_ = false;
  bool flat_ = false;
  TCustomImageList* images_ = nullptr;
  TCustomImageList* hotImages_ = nullptr;
  TCustomImageList* disabledImages_ = nullptr;

  int scrollPos_ = 0;
  int scrollExtent_ = 0;
  int lastClientWidth_ = 0;
  int appliedScrollPos_ = 0;
  int widthGrowth_ = 0;
  int scrollDirection_ = 0;
  bool timerRunning_ = false;
  TksDataSkinButtonControl* resizeButtonData_ = nullptr;
  ScrollButton leftButton_;
  ScrollButton rightButton_;
  // Set while this window's own position change is being decided.
  bool inPosChanging_ = false;
  bool framePending_ = false;
};
