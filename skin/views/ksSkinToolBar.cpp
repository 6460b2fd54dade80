#include "skin/views/ksSkinToolBar.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/core/handles.h"
#include "framework/core/seams.h"
#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinBevel.h"
#include "skin/controls/ksSkinSpeedButton.h"

namespace {

constexpr int kScrollLeft = 1;
constexpr int kScrollRight = 2;

}  // namespace

TksSkinToolBar::TksSkinToolBar(TComponent* AOwner) : TksSkinPanel(AOwner) {
  SetSkinDataName("toolpanel");
  SetDefaultHeight(25);
  SetBorderStyle(TksSkinBorderStyle::bvNone);
}

TksSkinToolBar::~TksSkinToolBar() { StopScrollTimer(); }

// ---- settings handed on to the buttons -------------------------------------------

template <class F>
void TksSkinToolBar::ForEachSpeedButton(F f) {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* button = dynamic_cast<TksSkinSpeedButton*>(Controls(i)); button != nullptr) f(*button);
}

void TksSkinToolBar::SetShowCaptions(bool value) {
  if (value == showCaptions_) return;
  showCaptions_ = value;
  if (AutoShowHideCaptions) ForEachSpeedButton([value](TksSkinSpeedButton& b) { b.SetShowCaption(value); });
  if (WidthWithCaptions != 0 && WidthWithoutCaptions != 0)
    SetWidth(value ? WidthWithCaptions : WidthWithoutCaptions);
}

void TksSkinToolBar::SetFlat(bool value) {
  flat_ = value;
  ForEachSpeedButton([value](TksSkinSpeedButton& b) { b.SetFlat(value); });
}

void TksSkinToolBar::SetImages(TCustomImageList* value) {
  SetComponentReference(this, images_, value);
  ForEachSpeedButton([](TksSkinSpeedButton& b) { b.Repaint(); });
}

void TksSkinToolBar::SetHotImages(TCustomImageList* value) { SetComponentReference(this, hotImages_, value); }

void TksSkinToolBar::SetDisabledImages(TCustomImageList* value) { SetComponentReference(this, disabledImages_, value); }

void TksSkinToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == images_) SetImages(nullptr);
  if (AComponent == hotImages_) SetHotImages(nullptr);
  if (AComponent == disabledImages_) SetDisabledImages(nullptr);
}

void TksSkinToolBar::SetSkinData(TksSkinData* value) {
  TksSkinPanel::SetSkinData(value);
  for (int i = 0; i < ControlCount(); ++i) {
    if (auto* button = dynamic_cast<TksSkinSpeedButton*>(Controls(i)); button != nullptr)
      button->SetSkinData(value);
    else if (auto* bevel = dynamic_cast<TksSkinBevel*>(Controls(i)); bevel != nullptr)
      bevel->SetSkinData(value);
  }
}

void TksSkinToolBar::GetSkinData() {
  TksSkinPanel::GetSkinData();
  resizeButtonData_ = nullptr;
  if (controlIndex_ == -1) return;
  resizeButtonData_ = skinData_->ControlData<TksDataSkinButtonControl>(skinData_->GetControlIndex("resizebutton"));
}

// ---- face and layout ---------------------------------------------------------------

void TksSkinToolBar::CreateControlSkinImage(TBitmap* b) {
  if (leftButton_.visible && ResizeMode == 2) {
    // The bar's ends lie under the arrow buttons: only the middle is seen.
    if (Picture != nullptr)
      CreateHSkinImageTiled(LTPoint.X, RectWidth(SkinRect) - RTPoint.X, b, Picture, SkinRect, Width(), Height());
    return;
  }
  TksSkinPanel::CreateControlSkinImage(b);
}

void TksSkinToolBar::AdjustClientRect(TRect& Rect) {
  TksSkinPanel::AdjustClientRect(Rect);
  if (!leftButton_.visible) return;
  int top = 1, bottom = ClientHeight() - 1;
  if (controlIndex_ != -1) {
    top = NewClientRect.Top;
    bottom = NewClientRect.Bottom;
  }
  Rect = TRect{-scrollPos_, top, -scrollPos_ + std::max(scrollExtent_, ClientWidth()), bottom};
}

void TksSkinToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int oldWidth = Width();
  TksSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
  // A free-standing bar was measured inside its position change already.
  if (!canScroll_ || Align() == alNone) return;
  widthGrowth_ = GrowthFrom(oldWidth, Width());
  UpdateScroll(Width());
}

// ---- scrolling ------------------------------------------------------------------------

void TksSkinToolBar::SetCanScroll(bool value) {
  if (value == canScroll_) return;
  canScroll_ = value;
  // Scrolling off: the children come back to their places, with no arrows to reach them.
  if (value)
    UpdateScroll(Width());
  else
    ResetScroll();
}

void TksSkinToolBar::SetScrollOffset(int value) {
  if (value >= 0) scrollOffset_ = value;
}

void TksSkinToolBar::SetScrollTimerInterval(int value) {
  if (value >= 1) scrollTimerInterval_ = value;
}

int TksSkinToolBar::ClientWidthFor(int windowWidth) {
  // With scrolling the frame holds nothing but the arrow buttons.
  if (!canScroll_) return ClientWidth();
  return std::max(0, windowWidth - (leftButton_.visible ? 2 * kScrollButtonWidth : 0));
}

int TksSkinToolBar::GrowthFrom(int oldWidth, int newWidth) {
  return oldWidth != 0 && newWidth > oldWidth ? newWidth - oldWidth : 0;
}

void TksSkinToolBar::ScrollChildren(int dx) {
  if (dx != 0) ScrollBy(dx, 0);
}

void TksSkinToolBar::UpdateScroll(int windowWidth) {
  int m = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (TControl* c = Controls(i); c->Visible()) m = std::max(m, c->Left() + c->Width());
  const int p = scrollPos_, e = p + m;
  int cw = ClientWidthFor(windowWidth);
  if (m == 0) {
    // Nothing shows: no arrows, but the children keep their scroll for when they come back.
    SetScrollButtonsVisible(false);
    return;
  }
  if (cw >= e) {
    ResetScroll();  // everything fits
    return;
  }
  SetScrollButtonsVisible(true);
  cw = ClientWidthFor(windowWidth);  // the buttons take their room from now on
  if (p >= 1 && cw > m && widthGrowth_ >= 1) {
    // The bar grew: give the growth back to the children hidden on the left.
    const int g = std::min(widthGrowth_, p);
    widthGrowth_ = g;
    scrollExtent_ = e - 1;
    scrollPos_ = p - g;
    lastClientWidth_ = cw;
    appliedScrollPos_ = scrollPos_;
    ScrollChildren(g);
    return;
  }
  if (widthGrowth_ == 0 && e - 1 < scrollExtent_ && p >= 1 && cw > m) {
    // The children shrank: scroll back by what went missing.
    const int s = std::min(p, (scrollExtent_ - (e - 1)) + (scrollExtent_ - lastClientWidth_ + 1) + p);
    scrollExtent_ = e - 1;
    scrollPos_ = p - s;
    lastClientWidth_ = cw;
    widthGrowth_ = 0;
    appliedScrollPos_ = scrollPos_;
    ScrollChildren(s);
    return;
  }
  scrollExtent_ = e - 1;
  lastClientWidth_ = cw;
  widthGrowth_ = 0;
  appliedScrollPos_ = scrollPos_;
}

void TksSkinToolBar::ResetScroll() {
  const int p = scrollPos_;
  widthGrowth_ = scrollExtent_ = scrollPos_ = lastClientWidth_ = appliedScrollPos_ = 0;
  SetScrollButtonsVisible(false);
  ScrollChildren(p);
}

void TksSkinToolBar::SetScrollButtonsVisible(bool value) {
  if (value == leftButton_.visible) return;
  leftButton_.visible = rightButton_.visible = value;
  if (!value) {
    StopScrollTimer();
    leftButton_.hot = leftButton_.down = rightButton_.hot = rightButton_.down = false;
  }
  if (!HandleAllocated()) return;
  if (inPosChanging_) {
    // Inside our own position change: the frame is measured again as part of it.
    framePending_ = true;
    return;
  }
  inPosChanging_ = true;
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  inPosChanging_ = false;
}

void TksSkinToolBar::ScrollStep(int direction) {
  const int step = scrollOffset_ > 0 ? scrollOffset_ : ClientWidthFor(Width());
  if (direction == kScrollLeft)
    scrollPos_ = std::max(0, scrollPos_ - step);
  else if (direction == kScrollRight)
    scrollPos_ = std::max(0, std::min(scrollPos_ + step, scrollExtent_ - lastClientWidth_ + 1));
  const int d = scrollPos_ - appliedScrollPos_;
  if (d == 0) {
    StopScrollTimer();
    return;
  }
  // Children move by what this step changed, so unaligned ones never drift.
  appliedScrollPos_ = scrollPos_;
  ScrollChildren(-d);
}

void TksSkinToolBar::StartScrollTimer(int direction) {
  scrollDirection_ = direction;
  if (!HandleAllocated()) return;
  TimerSeam().KillTimer(Handle(), kScrollTimerId);
  timerRunning_ = TimerSeam().SetTimer(Handle(), kScrollTimerId, static_cast<UINT>(scrollTimerInterval_), nullptr) != 0;
}

void TksSkinToolBar::StopScrollTimer() {
  scrollDirection_ = 0;
  if (!timerRunning_) return;
  timerRunning_ = false;
  if (HandleAllocated()) TimerSeam().KillTimer(Handle(), kScrollTimerId);
}

void TksSkinToolBar::ClearHot() {
  bool changed = false;
  for (ScrollButton* b : {&leftButton_, &rightButton_}) {
    if (b->visible && b->hot) {
      b->hot = false;
      changed = true;
    }
  }
  if (!changed) return;
  StopScrollTimer();
  PaintScrollButtons();
}

// ---- the arrow buttons in the frame -------------------------------------------------

void TksSkinToolBar::DrawScrollButton(TCanvas* canvas, bool left) {
  const ScrollButton& sb = left ? leftButton_ : rightButton_;
  const int w = kScrollButtonWidth, h = Height();
  if (h < 1) return;
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  GetSkinData();
  const bool pressedLook = sb.hot && (sb.down || HotScroll);
  TksDataSkinButtonControl* d = resizeButtonData_;
  TBitmap* picture = d != nullptr ? skinData_->ActivePicture(d->PictureIndex) : nullptr;
  TRect arrowRect{0, 0, w, h};
  TColor arrow = clBtnText;
  if (picture != nullptr) {
    TRect face = d->SkinRect;
    arrow = d->FontColor;
    if (pressedLook && !IsNullRect(d->DownSkinRect)) {
      face = d->DownSkinRect;
      arrow = d->DownFontColor;
    } else if (sb.hot && !IsNullRect(d->ActiveSkinRect)) {
      face = d->ActiveSkinRect;
      arrow = d->ActiveFontColor;
    }
    const TksSkinGeometry moved =
        MoveSkinGeometry({d->LTPoint, d->RTPoint, d->LBPoint, d->RBPoint, d->ClientRect}, d->SkinRect, w, h);
    CreateSkinImage(d->LTPoint, d->RTPoint, d->LBPoint, d->RBPoint, d->ClientRect, moved.LTPoint, moved.RTPoint,
                    moved.LBPoint, moved.RBPoint, moved.ClientRect, &b, picture, face, w, h, true);
  } else {
    DrawPlainButtonFace(c, arrowRect, pressedLook, sb.hot);
    arrowRect = TRect{1, 1, w - 1, h - 1};
  }
  DrawArrowGlyph(c, arrowRect, arrow, left ? 1 : 2);
  canvas->Draw(0, 0, &b);
}

void TksSkinToolBar::PaintScrollButtons() {
  if (!HandleAllocated() || !leftButton_.visible) return;
  WindowDC dc(WindowDCRef{Handle(), GetWindowDC(Handle())});
  if (!dc) return;
  for (bool left : {true, false}) {
    TBitmap face(kScrollButtonWidth, std::max(1, Height()));
    DrawScrollButton(face.Canvas(), left);
    BitBlt(dc.get().DC, left ? 0 : Width() - kScrollButtonWidth, 0, kScrollButtonWidth, Height(),
           face.Canvas()->Handle(), 0, 0, SRCCOPY);
  }
}

// ---- messages --------------------------------------------------------------------------

LRESULT TksSkinToolBar::HitTest(LPARAM screenPoint) {
  // Signed: monitors left of or above the primary one have negative coordinates.
  POINT p{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  ::ScreenToClient(Handle(), &p);
  if (p.x < 0 && leftButton_.visible) return kHitLeftButton;
  if (p.x >= ClientWidth() && rightButton_.visible) return kHitRightButton;
  return HTNOWHERE;
}

void TksSkinToolBar::WMNCHitTest(TMessage& Message) {
  const LRESULT hit = HitTest(Message.LParam);
  if (hit != HTNOWHERE) {
    Message.Result = hit;
    return;
  }
  TksSkinPanel::WndProc(Message);
}

void TksSkinToolBar::WMNCCalcSize(TMessage& Message) {
  GetSkinData();
  // Both forms of the message start with the proposed client rectangle.
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  if (leftButton_.visible) r->left += kScrollButtonWidth;
  if (rightButton_.visible) r->right -= kScrollButtonWidth;
  if (r->right < r->left) r->right = r->left;
  Message.Result = 0;
}

void TksSkinToolBar::WMWindowPosChanging(TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (!inPosChanging_ && Align() == alNone && pos != nullptr) {
    inPosChanging_ = true;
    framePending_ = false;
    // Measured at the size the window is about to take, not the one it leaves.
    const bool sized = (pos->flags & SWP_NOSIZE) == 0;
    if (sized && canScroll_) widthGrowth_ = GrowthFrom(Width(), pos->cx);
    UpdateScroll(sized ? pos->cx : Width());
    inPosChanging_ = false;
    if (framePending_) pos->flags |= SWP_FRAMECHANGED;
    framePending_ = false;
  }
  TksSkinPanel::WndProc(Message);
}

void TksSkinToolBar::WMNCMouseMove(TMessage& Message) {
  if (Message.WParam == static_cast<WPARAM>(kHitLeftButton) && !leftButton_.hot) {
    leftButton_.hot = true;
    rightButton_.hot = false;
    PaintScrollButtons();
    if (HotScroll) StartScrollTimer(kScrollLeft);
  } else if (Message.WParam == static_cast<WPARAM>(kHitRightButton) && !rightButton_.hot) {
    rightButton_.hot = true;
    leftButton_.hot = false;
    PaintScrollButtons();
    if (HotScroll) StartScrollTimer(kScrollRight);
  }
  TksSkinPanel::WndProc(Message);
}

void TksSkinToolBar::WMNCLButtonDown(TMessage& Message) {
  const bool left = Message.WParam == static_cast<WPARAM>(kHitLeftButton);
  (left ? leftButton_ : rightButton_).down = true;
  PaintScrollButtons();
  StartScrollTimer(left ? kScrollLeft : kScrollRight);
  Message.Result = 0;
}

void TksSkinToolBar::WMNCLButtonUp(TMessage& Message) {
  const bool left = Message.WParam == static_cast<WPARAM>(kHitLeftButton);
  (left ? leftButton_ : rightButton_).down = false;
  PaintScrollButtons();
  StopScrollTimer();
  ScrollStep(left ? kScrollLeft : kScrollRight);
  Message.Result = 0;
}

void TksSkinToolBar::WMTimer(TMessage& Message) {
  TksSkinPanel::WndProc(Message);
  if (Message.WParam != kScrollTimerId || !timerRunning_) return;
  if (!canScroll_ || !Enabled()) {
    StopScrollTimer();
    return;
  }
  ScrollStep(scrollDirection_);
}

void TksSkinToolBar::WMSize(TMessage& Message) {
  TksSkinPanel::WMSize(Message);
  if (!canScroll_ || !HandleAllocated()) return;
  // The arrows may have come or gone without the window changing its size.
  Realign();
  SendMessageA(Handle(), WM_NCPAINT, 1, 0);
}

void TksSkinToolBar::CMMouseLeave(TMessage& Message) {
  TksSkinPanel::CMMouseLeave(Message);
  if (!canScroll_ || !HandleAllocated()) return;
  POINT p;
  if (Pointer().GetCursorPos(&p) && Pointer().WindowFromPoint(p) == Handle()) return;
  ClearHot();
}

void TksSkinToolBar::CMEnabledChanged(TMessage& Message) {
  TksSkinPanel::CMEnabledChanged(Message);
  if (Enabled()) return;
  // A disabled bar neither scrolls on nor shows a pressed arrow.
  StopScrollTimer();
  leftButton_.hot = leftButton_.down = rightButton_.hot = rightButton_.down = false;
  PaintScrollButtons();
}

void TksSkinToolBar::WndProc(TMessage& Message) {
  const bool arrowHit = Message.WParam == static_cast<WPARAM>(kHitLeftButton) ||
                        Message.WParam == static_cast<WPARAM>(kHitRightButton);
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); return;
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_TIMER: WMTimer(Message); return;
    case WM_DESTROY: StopScrollTimer(); break;
    case WM_NCCALCSIZE:
      if (!canScroll_) break;
      WMNCCalcSize(Message);
      return;
    case WM_NCPAINT:
      if (!canScroll_) break;
      PaintScrollButtons();
      Message.Result = 0;
      return;
    case WM_NCMOUSEMOVE:
      if (!canScroll_) break;
      WMNCMouseMove(Message);
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:  // a quick second click on an arrow is another press
      if (!canScroll_ || !arrowHit || !Enabled()) break;
      WMNCLButtonDown(Message);
      return;
    case WM_NCLBUTTONUP:
      if (!canScroll_ || !arrowHit || !Enabled()) break;
      WMNCLButtonUp(Message);
      return;
    case WM_MOUSEMOVE:
      if (canScroll_) ClearHot();
      break;
    default: break;
  }
  TksSkinPanel::WndProc(Message);
}
