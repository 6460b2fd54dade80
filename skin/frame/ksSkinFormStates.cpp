// What the frame tells the system about its non-client places (HTOBJECT: a place
// the frame handles itself, where the system does nothing), the size limits,
// snapping, and the frame's own window states: minimize, maximize, restore and
// roll-up.
#include <algorithm>

#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/draw/ksUtils.h"
#include "skin/frame/ksSkinForm.h"

namespace {

// Outside the strip counts as not black.
bool BlackAt(const TBitmap& strip, int x, int y) {
  if (x < 0 || y < 0 || x >= strip.Width() || y >= strip.Height()) return false;
  return const_cast<TBitmap&>(strip).Canvas()->Pixels(x, y) == 0;
}

}  // namespace

TPoint TksSkinForm::PointToNCPoint(TPoint p) const {
  RECT r{};
  if (form_->HandleAllocated() && GetWindowRect(form_->Handle(), &r)) return TPoint{p.X - r.left, p.Y - r.top};
  return TPoint{p.X - form_->Left(), p.Y - form_->Top()};
}

bool TksSkinForm::Sizeable() const {
  const TBorderStyle b = form_->BorderStyle();
  return b == bsSizeable || b == bsSizeToolWin;
}

bool TksSkinForm::IsMainForm() const { return Application && Application->MainForm() == form_; }

TksSkinCaptionObject* TksSkinForm::CaptionAt(TPoint p) const {
  for (const auto& o : objects_)
    if (auto* c = dynamic_cast<TksSkinCaptionObject*>(o.get()); c && c->ObjectRect.Contains(p)) return c;
  return nullptr;
}

LRESULT TksSkinForm::HitTestDefault(TPoint p) const {
  const int w = FormWidth, h = FormHeight, ch = GetDefCaptionHeight();
  if (windowState_ == kwsNormal && !rollUpState_ && Sizeable()) {
    if (activeObject_ != -1) return HTOBJECT;
    const bool left = p.X < 3, top = p.Y < 3, right = p.X >= w - 2, bottom = p.Y >= h - 2;
    if (left && top) return HTTOPLEFT;
    if (right && top) return HTTOPRIGHT;
    if (left && bottom) return HTBOTTOMLEFT;
    if (right && bottom) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (top) return HTTOP;
    if (right) return HTRIGHT;
    if (bottom) return HTBOTTOM;
  }
  if (DefCaptionRect.Contains(p)) return HTCAPTION;
  if (TRect{3, ch + 3, w - 3, h - 3}.Contains(p)) return HTCLIENT;
  return HTOBJECT;
}

bool TksSkinForm::PtInMask(TPoint p) const {
  const TRect& a = NewMaskRectArea;
  if (a.Contains(p)) return true;
  if (p.Y <= a.Top) return BlackAt(rmTop_, p.X, p.Y);
  if (p.Y >= a.Bottom) return BlackAt(rmBottom_, p.X, p.Y - a.Bottom);
  if (p.X > a.Left) return BlackAt(rmRight_, p.X - a.Right, p.Y - a.Top);
  return BlackAt(rmLeft_, p.X, p.Y - a.Top);
}

LRESULT TksSkinForm::HitTestSkin(TPoint p) const {
  const bool inCaption = CaptionAt(p) != nullptr;
  if (rollUpState_ || windowState_ == kwsMinimized) return inCaption ? HTCAPTION : HTOBJECT;
  if (activeObject_ != -1 && !inCaption && !NewClRect.Contains(p) && !inSizeMove_) return HTOBJECT;
  if (windowState_ != kwsMaximized && Sizeable()) {
    const int b = skinData_->BorderWidth;
    const TPoint probes[] = {{p.X - b, p.Y}, {p.X, p.Y - b}, {p.X + b, p.Y}, {p.X, p.Y + b}};
    const TRect window{0, 0, FormWidth, FormHeight};
    const bool masked = !skinData_->MaskPicture.Empty();
    bool nearEdge = false;
    for (const TPoint& q : probes) {
      if (!masked)
        nearEdge = nearEdge || !window.Contains(q);
      else if (!NewMaskRectArea.Contains(p))
        nearEdge = nearEdge || !PtInMask(q);
    }
    if (nearEdge) {
      const TPoint lt = NewHitTestLTPoint, rt = NewHitTestRTPoint, lb = NewHitTestLBPoint, rb = NewHitTestRBPoint;
      if (p.X <= lt.X && p.Y <= lt.Y) return HTTOPLEFT;
      if (p.X >= rt.X && p.Y <= rt.Y) return HTTOPRIGHT;
      if (p.X <= lb.X && p.Y >= lb.Y) return HTBOTTOMLEFT;
      if (p.X >= rb.X && p.Y >= rb.Y) return HTBOTTOMRIGHT;
      if (TRect{lt.X, 0, rt.X, NewClRect.Top}.Contains(p)) return HTTOP;
      if (TRect{lb.X, NewClRect.Bottom, rb.X, FormHeight}.Contains(p)) return HTBOTTOM;
      if (TRect{0, lt.Y, NewClRect.Left, lb.Y}.Contains(p)) return HTLEFT;
      if (TRect{NewClRect.Right, rt.Y, FormWidth, rb.Y}.Contains(p)) return HTRIGHT;
    }
  }
  if (NewClRect.Contains(p)) return HTCLIENT;
  return inCaption ? HTCAPTION : HTOBJECT;
}

// ---- size limits -------------------------------------------------------------------------

int TksSkinForm::GetMinWidth() const {
  if (skinnable_) {
    const int w = skinData_->Picture.Width();
    return windowState_ == kwsMinimized ? w : std::max(w, MinWidth);
  }
  return MinWidth > 0 ? MinWidth : 120;
}

int TksSkinForm::GetMinHeight() const {
  const int h = skinnable_ ? skinData_->Picture.Height() - RectHeight(skinData_->ClientRect)
                           : GetDefCaptionHeight() + 6;
  return h >= MinHeight || rollUpState_ || windowState_ == kwsMinimized ? h : MinHeight;
}

TRect TksSkinForm::WorkArea(bool workArea) const {
  TRect r{};
  GetMonitorWorkArea(form_->HandleAllocated() ? form_->Handle() : nullptr, workArea, r);
  return r;
}

int TksSkinForm::GetMaxWidth() const { return RectWidth(WorkArea(!MaximizeOnFullScreen)); }

int TksSkinForm::GetMaxHeight() const { return RectHeight(WorkArea(!MaximizeOnFullScreen)); }

void TksSkinForm::MagneticPosition(int& x, int& y, int width, int height) const {
  TRect r = WorkArea(true);
  // An MDI child snaps to the edges of the main form's MDI work area.
  if (TCustomForm* main = Application ? Application->MainForm() : nullptr; IsMDIChild() && main &&
                                                                            main->HandleAllocated()) {
    const TRect a = GetMDIWorkArea();
    POINT origin{0, 0};
    ClientToScreen(main->Handle(), &origin);
    r = TRect{a.Left + origin.x, a.Top + origin.y, a.Right + origin.x, a.Bottom + origin.y};
  }
  const int ms = MagneticSize;
  if (r.Left - ms < x && x < r.Left + ms) x = r.Left;
  if (r.Top - ms < y && y < r.Top + ms) y = r.Top;
  if (r.Right - ms < x + width && x + width < r.Right + ms) x = r.Right - width;
  if (r.Bottom - ms < y + height && y + height < r.Bottom + ms) y = r.Bottom - height;
}

// ---- window states -------------------------------------------------------------------------

void TksSkinForm::SetWindowState(TksFormWindowState state) {
  if (state == windowState_) return;
  if (!(state == kwsMinimized && IsMainForm())) windowState_ = state;
  switch (state) {
    case kwsNormal: Restore(); break;
    case kwsMinimized: Minimize(); break;
    case kwsMaximized: Maximize(); break;
  }
}

TPoint TksSkinForm::GetMinimizedPosition() const {
  // At least a pixel each way, so the search always moves on and ends.
  const int w = std::max(1, GetMinWidth()), h = std::max(1, GetMinHeight());
  const TRect mdi = GetMDIWorkArea();
  const TRect a = IsMDIChild() ? TRect{0, 0, RectWidth(mdi), RectHeight(mdi)} : WorkArea(true);
  auto taken = [&](int x, int y) {
    if (IsMDIChild()) {
      TCustomForm* main = Application ? Application->MainForm() : nullptr;
      for (int i = 0; main && i < main->MDIChildCount(); ++i) {
        TCustomForm* f = main->MDIChildren(i);
        TksSkinForm* frame = GetSkinFormComponent(f);
        if (f != form_ && f->Visible() && frame && frame->WindowState() == kwsMinimized && f->Left() == x &&
            f->Top() == y)
          return true;
      }
      return false;
    }
    if (!Screen) return false;
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f == form_ || (Application && f == Application->MainForm()) || !f->Visible()) continue;
      TksSkinForm* frame = GetSkinFormComponent(f);
      if (frame && frame->WindowState() == kwsMinimized && f->Left() == x && f->Top() == y) return true;
    }
    return false;
  };
  int x = a.Left, y = a.Bottom - h;
  while (taken(x, y)) {
    x += w;
    if (x + w > a.Right) {
      x = a.Left;
      y -= h;
      if (y < a.Top) return TPoint{a.Left, a.Bottom - h};
    }
  }
  return TPoint{x, y};
}

void TksSkinForm::Minimize() {
  if (IsMainForm()) {
    Application->Minimize();
    return;
  }
  if (oldBoundsRect_ == TRect{}) oldBoundsRect_ = form_->BoundsRect();
  const TPoint p = GetMinimizedPosition();
  form_->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
  if (IsMDIChild()) SendToMainForm(WM_MDICHILDRESTORE);
}

void TksSkinForm::Maximize() {
  if (oldBoundsRect_ == TRect{}) oldBoundsRect_ = form_->BoundsRect();
  if (IsMDIChild()) {
    hoverTimer_.SetEnabled(false);
    TestActive(-1, -1, false);
    const TRect a = GetMDIWorkArea();
    if (form_->Width() == RectWidth(a) && form_->Height() == RectHeight(a)) {
      form_->SetBounds(0, 0, RectWidth(a), RectHeight(a));
      UpdateFrameSize();
    } else {
      form_->SetBounds(0, 0, RectWidth(a), RectHeight(a));
    }
    SendToMainForm(WM_MDICHILDMAX);
    return;
  }
  TRect r = WorkArea(!MaximizeOnFullScreen);
  // Without a task bar on this monitor a one-pixel margin keeps a hidden one reachable.
  if (!MaximizeOnFullScreen && r == WorkArea(false)) r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  form_->SetBoundsRect(r);
}

void TksSkinForm::Restore() {
  maxRollUpState_ = false;
  const int w = form_->Width(), h = form_->Height();
  form_->SetBoundsRect(oldBoundsRect_);
  hoverTimer_.SetEnabled(true);
  if (form_->Width() == w && form_->Height() == h) UpdateFrameSize();
  RepaintFrame();
  if (IsMDIChild()) SendToMainForm(WM_MDICHILDRESTORE);
  oldBoundsRect_ = TRect{};
}

void TksSkinForm::UpdateFrameSize() {
  const int w = form_->Width();
  const int step = GetMinWidth() > w - 1 ? 1 : -1;
  form_->SetWidth(w + step);
  form_->SetWidth(w);
}

void TksSkinForm::SetRollUpState(bool value) {
  if (!borderIcons_.Contains(TksBorderIcon::RollUp) || windowState_ == kwsMinimized) return;
  if (rollUpState_ && windowState_ == kwsMaximized && !maxRollUpState_) return;
  // Rolling up twice would lose the height to roll down to.
  if (value == rollUpState_) return;
  if (windowState_ == kwsMaximized) maxRollUpState_ = value;
  rollUpState_ = value;
  if (value) {
    oldHeight_ = form_->Height();
    form_->SetHeight(GetMinHeight());
  } else {
    form_->SetHeight(oldHeight_);
  }
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TksSkinForm::CaptionDblClick() {
  const bool sizeable = Sizeable();
  if (sizeable && windowState_ == kwsMinimized)
    SetWindowState(kwsNormal);
  else if (sizeable && windowState_ != kwsMaximized && !rollUpState_ &&
           borderIcons_.Contains(TksBorderIcon::Maximize))
    SetWindowState(kwsMaximized);
  else if (sizeable && windowState_ == kwsMaximized && !maxRollUpState_)
    SetWindowState(kwsNormal);
  else
    SetRollUpState(!rollUpState_);
}
