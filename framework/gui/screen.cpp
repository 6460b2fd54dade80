#include "framework/gui/screen.h"

#include <algorithm>

#include "framework/gui/forms.h"

TScreen* Screen = nullptr;

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() {
  if (Screen == this) Screen = nullptr;
}

std::vector<TMonitorInfo> TScreen::MonitorList() const {
  std::vector<TMonitorInfo> monitors = ScreenSeam().Monitors ? ScreenSeam().Monitors() : std::vector<TMonitorInfo>{};
  if (monitors.empty()) {
    SIZE size = ScreenSeam().Size();
    TMonitorInfo only;
    only.Bounds = RECT{0, 0, size.cx, size.cy};
    only.WorkArea = only.Bounds;
    only.Primary = true;
    monitors.push_back(only);
  }
  return monitors;
}

int TScreen::Width() const { return ScreenSeam().Size().cx; }
int TScreen::Height() const { return ScreenSeam().Size().cy; }

TRect TScreen::WorkAreaRect() const {
  for (const auto& m : MonitorList())
    if (m.Primary) return TRect::FromRECT(m.WorkArea);
  return TRect::FromRECT(MonitorList().front().WorkArea);
}

int TScreen::MonitorCount() const { return static_cast<int>(MonitorList().size()); }

TMonitor TScreen::Monitors(int index) const {
  auto list = MonitorList();
  const TMonitorInfo& m = list.at(static_cast<size_t>(index));
  return TMonitor{m.Handle, TRect::FromRECT(m.Bounds), TRect::FromRECT(m.WorkArea), m.Primary};
}

TMonitor TScreen::MonitorFromWindow(HWND wnd) const {
  auto list = MonitorList();
  size_t best = 0;
  RECT wr{};
  if (wnd != nullptr && GetWindowRect(wnd, &wr)) {
    long bestArea = -1;
    for (size_t i = 0; i < list.size(); ++i) {
      RECT overlap;
      long area = IntersectRect(&overlap, &wr, &list[i].Bounds)
                      ? static_cast<long>(overlap.right - overlap.left) * (overlap.bottom - overlap.top)
                      : 0;
      if (area > bestArea) {
        bestArea = area;
        best = i;
      }
    }
  } else {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].Primary) best = i;
  }
  const TMonitorInfo& m = list[best];
  return TMonitor{m.Handle, TRect::FromRECT(m.Bounds), TRect::FromRECT(m.WorkArea), m.Primary};
}

void TScreen::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  POINT p;
  if (Pointer().GetCursorPos(&p)) {
    HWND wnd = Pointer().WindowFromPoint(p);
    if (wnd != nullptr && GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId())
      SendMessageA(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (activeForm_ == form) {
    activeForm_ = nullptr;
    activeControl_ = nullptr;
  }
}

void TScreen::SetActiveForm(TCustomForm* form) {
  if (activeForm_ == form) return;
  TCustomForm* old = activeForm_;
  activeForm_ = form;
  activeControl_ = form != nullptr ? form->ActiveControl() : nullptr;
  if (old != nullptr) old->Perform(CM_DEACTIVATE);
  if (form != nullptr && activeForm_ == form) form->Perform(CM_ACTIVATE);
}
