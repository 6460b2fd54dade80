#include "skin/controls/ksSkinScrollBar.h"

#include <algorithm>
#include <cstdint>

namespace {

// Repeats start half a second after the press, then run every 50 ms.
constexpr UINT kFirstDelay = 500;
constexpr UINT kRepeatDelay = 50;
// Unskinned buttons are 17 pixels long, the unskinned thumb 16.
constexpr int kButton = 17;
constexpr int kPlainThumb = 16;

int RoundEven(double v) { return static_cast<int>(Round(v)); }

}  // namespace

TksSkinScrollBar::TksSkinScrollBar(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetSkinDataName("hscrollbar");
  SetTabStop(false);
  SetBounds(Left(), Top(), 200, 19);
  SetDefaultHeight(19);
}

TksSkinScrollBar::~TksSkinScrollBar() = default;

// ---- values -----------------------------------------------------------------------

// Never above the last page start (or Max without a page), never below Min, even
// when a page covers the whole range. Wide arithmetic: extreme values must not wrap.
int TksSkinScrollBar::ClampPosition(int64_t value) const {
  const int64_t top = pageSize_ > 0 ? int64_t{max_} - pageSize_ + 1 : int64_t{max_};
  return static_cast<int>(std::max<int64_t>(std::min(value, top), min_));
}

void TksSkinScrollBar::SetPosition(int value) { MoveTo(value); }

void TksSkinScrollBar::MoveTo(int64_t value) {
  const int p = ClampPosition(value);
  if (p == position_) return;
  position_ = p;
  Repaint();
  if (OnChange) OnChange(this);
}

void TksSkinScrollBar::SetRange(int min, int max, int page, int pos) {
  min_ = min;
  max_ = max;
  pageSize_ = page;
  position_ = ClampPosition(pos);
  Repaint();
}

void TksSkinScrollBar::SetMin(int value) {
  min_ = value;
  if (value > position_) position_ = value;
  Repaint();
}

void TksSkinScrollBar::SetMax(int value) {
  max_ = value;
  position_ = ClampPosition(position_);
  Repaint();
}

// The page is always taken; a position that the larger page would push past the
// end moves back to the last page start.
void TksSkinScrollBar::SetPageSize(int value) {
  pageSize_ = value;
  position_ = ClampPosition(position_);
  Repaint();
}

void TksSkinScrollBar::SetSmallChange(int value) {
  smallChange_ = value;
  Repaint();
}

void TksSkinScrollBar::SetLargeChange(int value) {
  largeChange_ = value;
  Repaint();
}

void TksSkinScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  Repaint();
}

void TksSkinScrollBar::SetBoth(bool value) {
  if (value == both_) return;
  both_ = value;
  if (value) {
    savedSkinDataName_ = SkinDataName();
    SetSkinDataName(BothSkinDataName);
  } else if (!savedSkinDataName_.empty()) {
    SetSkinDataName(savedSkinDataName_);
  }
  if (skinData_ != nullptr && !skinData_->Empty)
    ChangeSkinData();
  else
    Repaint();
}

void TksSkinScrollBar::SetBothMarkerWidth(int value) {
  if (value < 0) return;
  bothMarkerWidth_ = value;
  if (!SkinnedLayout()) Repaint();
}

void TksSkinScrollBar::SetCanFocused(bool value) {
  canFocused_ = value;
  SetTabStop(value);
}

bool TksSkinScrollBar::IsFocusedBar() { return canFocused_ && HandleAllocated() && GetFocus() == Handle(); }

// ---- skin and layout --------------------------------------------------------------

void TksSkinScrollBar::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  skinned_ = false;
  auto* d = SkinDescription<TksDataSkinScrollBarControl>();
  if (d == nullptr) return;
  skinned_ = true;
  TrackArea = d->TrackArea;
  UpButtonRect = d->UpButtonRect;
  ActiveUpButtonRect = d->ActiveUpButtonRect;
  DownUpButtonRect = OrFallback(d->DownUpButtonRect, ActiveUpButtonRect);
  DownButtonRect = d->DownButtonRect;
  ActiveDownButtonRect = d->ActiveDownButtonRect;
  DownDownButtonRect = OrFallback(d->DownDownButtonRect, ActiveDownButtonRect);
  ThumbRect = d->ThumbRect;
  ActiveThumbRect = OrFallback(d->ActiveThumbRect, ThumbRect);
  DownThumbRect = OrFallback(d->DownThumbRect, ActiveThumbRect);
  ThumbOffset1 = d->ThumbOffset1;
  ThumbOffset2 = d->ThumbOffset2;
  GlyphRect = d->GlyphRect;
  ActiveGlyphRect = OrFallback(d->ActiveGlyphRect, GlyphRect);
  DownGlyphRect = OrFallback(d->DownGlyphRect, ActiveGlyphRect);
}

void TksSkinScrollBar::CalcSize(int& w, int& h) {
  TksSkinCustomControl::CalcSize(w, h);
  CalcParts();
}

void TksSkinScrollBar::CalcParts() {
  const bool horz = Horizontal();
  const bool skinned = SkinnedLayout();
  const int w = Width(), h = Height();
  TksScrollPart& up = parts_[kUpButton];
  TksScrollPart& down = parts_[kDownButton];
  if (!skinned && horz) {
    const int right = both_ ? w - bothMarkerWidth_ : w;
    down.R = TRect{1, 1, kButton, h - 1};
    up.R = TRect{right - kButton, 1, right - 1, h - 1};
    trackRect_ = TRect{kButton, 1, right - kButton, h - 1};
  } else if (!skinned) {
    down.R = TRect{1, 1, w - 1, kButton};
    up.R = TRect{1, h - kButton, w - 1, h - 1};
    trackRect_ = TRect{1, kButton, w - 1, h - kButton};
  } else if (horz) {
    // Parts in the right-hand fixed piece of the face move with it.
    const int d = w - RectWidth(SkinRect);
    trackRect_ = TrackArea;
    trackRect_.Right += d;
    up.R = UpButtonRect.Left >= RTPoint.X ? MovedRect(UpButtonRect, d, 0) : UpButtonRect;
    down.R = DownButtonRect.Left >= RTPoint.X ? MovedRect(DownButtonRect, d, 0) : DownButtonRect;
  } else {
    const int d = h - RectHeight(SkinRect);
    trackRect_ = TrackArea;
    trackRect_.Bottom += d;
    up.R = UpButtonRect.Top >= LBPoint.Y ? MovedRect(UpButtonRect, 0, d) : UpButtonRect;
    down.R = DownButtonRect.Top >= LBPoint.Y ? MovedRect(DownButtonRect, 0, d) : DownButtonRect;
  }

  const int start = horz ? trackRect_.Left : trackRect_.Top;
  const int end = horz ? trackRect_.Right : trackRect_.Bottom;
  const int trackLength = end - start;
  const int minLength = skinned ? (horz ? RectWidth(ThumbRect) : RectHeight(ThumbRect)) : kPlainThumb;
  const double offset = static_cast<double>(position_) - min_;
  double k = max_ == min_ ? 0.0 : offset / (static_cast<double>(max_) - min_);
  int length = minLength;
  if (pageSize_ > 0) {
    const int64_t range = int64_t{max_} - min_ + 1;
    // A page larger than the range must not push the thumb over the buttons.
    const double exact = range == 0 ? 0.0 : static_cast<double>(trackLength) * pageSize_ / static_cast<double>(range);
    length = std::max(RoundEven(std::clamp(exact, 0.0, static_cast<double>(std::max(trackLength, 0)))), minLength);
    const int64_t lastStart = int64_t{max_} - pageSize_ + 1;
    k = min_ < lastStart ? offset / static_cast<double>(lastStart - min_) : (horz ? 1.0 : 0.0);
  }
  const int half = length / 2;
  trackMin_ = start + half;
  trackMax_ = end - half;
  thumbPos_ = RoundEven((trackMax_ - trackMin_) * k);
  const int from = trackMin_ + thumbPos_ - half, to = trackMin_ + thumbPos_ + half;

  TRect& thumb = parts_[kThumb].R;
  if (!skinned) {
    thumb = horz ? TRect{from, trackRect_.Top, to, trackRect_.Bottom}
                 : TRect{trackRect_.Left, from, trackRect_.Right, to};
  } else if (horz) {
    const int thick = RectHeight(ThumbRect);
    const int top = trackRect_.Top + RectHeight(trackRect_) / 2 - thick / 2;
    thumb = TRect{from, top, to, top + thick};
  } else {
    const int thick = RectWidth(ThumbRect);
    const int left = trackRect_.Left + RectWidth(trackRect_) / 2 - thick / 2;
    thumb = TRect{left, from, left + thick, to};
  }
}

// ---- steps ------------------------------------------------------------------------

void TksSkinScrollBar::Step(int delta) { MoveTo(int64_t{position_} + delta); }

void TksSkinScrollBar::UpButtonStep() {
  if (OnUpButtonClick)
    OnUpButtonClick(this);
  else
    Step(smallChange_);
}

void TksSkinScrollBar::DownButtonStep() {
  if (OnDownButtonClick)
    OnDownButtonClick(this);
  else
    Step(-smallChange_);
}

void TksSkinScrollBar::PageUp() {
  Step(-largeChange_);
  if (OnPageUp) OnPageUp(this);
}

void TksSkinScrollBar::PageDown() {
  Step(largeChange_);
  if (OnPageDown) OnPageDown(this);
}

bool TksSkinScrollBar::BeforeThumb(TPoint p) const {
  const TRect& t = parts_[kThumb].R;
  return Horizontal() ? p.X < t.Left : p.Y < t.Top;
}

bool TksSkinScrollBar::BeyondThumb(TPoint p) const {
  const TRect& t = parts_[kThumb].R;
  return Horizontal() ? p.X > t.Right : p.Y > t.Bottom;
}

// ---- repeat timer -----------------------------------------------------------------

void TksSkinScrollBar::StartTimer(UINT interval) {
  repeatTimer_ = std::make_unique<TTimer>(nullptr);
  repeatTimer_->SetEnabled(false);
  repeatTimer_->SetOnTimer(Bind<&TksSkinScrollBar::RepeatTick>(this));
  repeatTimer_->SetInterval(interval);
  repeatTimer_->SetEnabled(true);
}

void TksSkinScrollBar::StopTimer() {
  repeatTimer_.reset();
  timerMode_ = tmNone;
}

void TksSkinScrollBar::RepeatTick(TObject*) {
  if (firstTick_) {
    firstTick_ = false;
    if (repeatTimer_) repeatTimer_->SetInterval(kRepeatDelay);
    return;
  }
  switch (timerMode_) {
    case tmDownButton: DownButtonStep(); break;
    case tmUpButton: UpButtonStep(); break;
    case tmPageUp:
    case tmPageDown: {
      UpdateHotPart(lastMousePos_);
      // Paging stops once the thumb has reached the pointer.
      CalcParts();
      const bool go = timerMode_ == tmPageUp ? BeforeThumb(lastMousePos_) : BeyondThumb(lastMousePos_);
      if (!go)
        StopTimer();
      else if (timerMode_ == tmPageUp)
        PageUp();
      else
        PageDown();
      break;
    }
    default: break;
  }
}

// ---- mouse ------------------------------------------------------------------------

void TksSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TPoint p{X, Y};
  mouseDown_ = true;
  firstTick_ = true;
  lastMousePos_ = p;
  CalcParts();
  timerMode_ = tmNone;
  for (int i = 0; i < 3; ++i) {
    if (parts_[i].R.Contains(p)) {
      pressedPart_ = i;
      PressPart(i, p);
      return;
    }
  }
  if (!trackRect_.Contains(p)) return;
  if (BeforeThumb(p)) {
    timerMode_ = tmPageUp;
    StartTimer(kFirstDelay);
    PageUp();
  } else {
    timerMode_ = tmPageDown;
    StartTimer(kFirstDelay);
    PageDown();
  }
}

void TksSkinScrollBar::PressPart(int part, TPoint p) {
  parts_[part].Down = true;
  Repaint();
  switch (part) {
    case kThumb:
      dragStart_ = Horizontal() ? p.X : p.Y;
      thumbPosAtPress_ = thumbPos_;
      thumbDragging_ = true;
      break;
    case kUpButton:
      timerMode_ = tmUpButton;
      StartTimer(kFirstDelay);
      UpButtonStep();
      break;
    default:
      timerMode_ = tmDownButton;
      StartTimer(kFirstDelay);
      DownButtonStep();
      break;
  }
}

void TksSkinScrollBar::ReleasePart(int part) {
  TksScrollPart& p = parts_[part];
  p.Down = false;
  if (part != hotPart_) p.Hot = false;
  if (part == kThumb)
    thumbDragging_ = false;
  else
    StopTimer();
  Repaint();
}

void TksSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  lastMousePos_ = TPoint{X, Y};
  // Hit-test against the values as they are now, even before the repaint shows them.
  CalcParts();
  UpdateHotPart(lastMousePos_);
  if (thumbDragging_) {
    const int t = thumbPosAtPress_ + ((Horizontal() ? X : Y) - dragStart_);
    MoveTo(PositionFromThumb(t));
  }
  TksSkinCustomControl::MouseMove(Shift, X, Y);
}

int64_t TksSkinScrollBar::PositionFromThumb(int t) {
  if (pageSize_ > 0) {
    const TRect& thumb = parts_[kThumb].R;
    const int half = (Horizontal() ? RectWidth(thumb) : RectHeight(thumb)) / 2;
    trackMin_ = (Horizontal() ? trackRect_.Left : trackRect_.Top) + half;
    trackMax_ = (Horizontal() ? trackRect_.Right : trackRect_.Bottom) - half;
  }
  const int span = trackMax_ - trackMin_;
  const double q = span > 0 ? std::clamp(static_cast<double>(t) / span, 0.0, 1.0) : 0.0;
  const int64_t steps = pageSize_ > 0 ? int64_t{max_} - min_ - pageSize_ + 1 : int64_t{max_} - min_;
  return min_ + Round(static_cast<double>(steps) * q);
}

void TksSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
  // Any button's release ends the press, but only the left one ends a thumb drag
  // with OnLastChange.
  mouseDown_ = false;
  if (timerMode_ == tmPageUp || timerMode_ == tmPageDown) StopTimer();
  const int pressed = pressedPart_;
  pressedPart_ = -1;
  if (pressed == -1) return;
  ReleasePart(pressed);
  if (pressed == kThumb && Button == mbLeft && OnLastChange) OnLastChange(this);
}

// No OnLastChange here: this also runs while windows are being torn down, and every
// position of the drag has already been reported through OnChange.
void TksSkinScrollBar::CancelPress() {
  StopTimer();
  mouseDown_ = false;
  const int pressed = pressedPart_;
  pressedPart_ = -1;
  if (pressed != -1) ReleasePart(pressed);
}

void TksSkinScrollBar::UpdateHotPart(TPoint p) {
  int part = -1;
  for (int i = 0; i < 3 && part == -1; ++i)
    if (parts_[i].R.Contains(p)) part = i;
  if (pressedPart_ != -1 && part != pressedPart_) part = -1;
  if (part == hotPart_) return;
  if (hotPart_ != -1) HotPartOff(hotPart_);
  hotPart_ = part;
  if (part != -1) HotPartOn(part);
}

// Leaving a held button pauses its repeat; coming back resumes it at once.
void TksSkinScrollBar::HotPartOff(int part) {
  parts_[part].Hot = false;
  Repaint();
  if (part != kThumb && parts_[part].Down) PauseTimer();
}

void TksSkinScrollBar::HotPartOn(int part) {
  parts_[part].Hot = true;
  Repaint();
  if (part != kThumb && parts_[part].Down) StartTimer(kRepeatDelay);
}

void TksSkinScrollBar::CMMouseLeave(TMessage& Message) {
  TksSkinCustomControl::CMMouseLeave(Message);
  if (hotPart_ != -1 && pressedPart_ == -1 && !thumbDragging_) {
    parts_[hotPart_].Hot = false;
    hotPart_ = -1;
    Repaint();
  }
  // Paging towards Max stops off the bar; towards Min it runs on until the thumb
  // reaches the pointer.
  if (mouseDown_ && timerMode_ == tmPageDown) StopTimer();
}

// ---- keys, wheel, focus -----------------------------------------------------------

void TksSkinScrollBar::KeyDown(WORD& Key, TShiftState Shift) {
  TksSkinCustomControl::KeyDown(Key, Shift);
  if (!canFocused_) return;
  switch (Key) {
    case VK_LEFT:
    case VK_UP: Step(-smallChange_); break;
    case VK_RIGHT:
    case VK_DOWN: Step(smallChange_); break;
    default: break;
  }
}

void TksSkinScrollBar::WMMouseWheel(TMessage& Message) {
  if (!IsFocusedBar()) {
    TksSkinCustomControl::WMMouseWheel(Message);
    return;
  }
  // The delta sits in the high word: the whole parameter read as signed 32 bits is
  // positive when the wheel turned away from the user.
  const auto signedParam = static_cast<int32_t>(static_cast<uint32_t>(Message.WParam));
  Step(signedParam > 0 ? -smallChange_ : smallChange_);
  Message.Result = 0;
}

void TksSkinScrollBar::WMSetFocus(TMessage& Message) {
  TksSkinCustomControl::WMSetFocus(Message);
  if (canFocused_) Repaint();
}

void TksSkinScrollBar::WMKillFocus(TMessage& Message) {
  TksSkinCustomControl::WMKillFocus(Message);
  if (canFocused_) Repaint();
}

void TksSkinScrollBar::CMEnabledChanged(TMessage& Message) {
  TksSkinCustomControl::CMEnabledChanged(Message);
  if (!Enabled()) {
    // A disabled bar gets no release: end the press and its repeat here.
    CancelPress();
    if (hotPart_ != -1) parts_[hotPart_].Hot = false;
    hotPart_ = -1;
  }
  Repaint();
}

void TksSkinScrollBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      if (canFocused_ && Message.WParam >= VK_LEFT && Message.WParam <= VK_DOWN) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (canFocused_ && !Focused()) {
        clicksDisabled_ = true;
        ::SetFocus(Handle());
        clicksDisabled_ = false;
        if (!Focused()) return;
      }
      break;
    case CN_COMMAND:
      if (clicksDisabled_) return;
      break;
    case WM_CANCELMODE:
      CancelPress();
      break;
    case WM_CAPTURECHANGED:
      // Our own release clears the capture holder first; anything else took the mouse away.
      if (TControl::CaptureControl() == this && reinterpret_cast<HWND>(Message.LParam) != Handle()) CancelPress();
      break;
    default: break;
  }
  TksSkinCustomControl::WndProc(Message);
}
