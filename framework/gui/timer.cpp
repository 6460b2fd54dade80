#include "framework/gui/timer.h"

#include <map>

#include "framework/core/seams.h"
#include "framework/gui/wndproc.h"

namespace {

// Running timers by id on the hidden window. GUI thread only.
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

UINT_PTR NextTimerId() {
  static UINT_PTR last = 0;
  return ++last;
}

void TimerWindowProc(TMessage& message) {
  if (message.Msg != WM_TIMER) {
    message.Result = DefWindowProcA(TTimer::TimerWindow(), message.Msg, message.WParam, message.LParam);
    return;
  }
  auto found = Timers().find(message.WParam);
  if (found == Timers().end()) return;
  // Only the lookup touches the timer: the handler may free or re-arm it.
  TNotifyEvent handler = found->second->OnTimer();
  handler(found->second);
}

}  // namespace

HWND TTimer::TimerWindow() {
  static HWND wnd = AllocateHWnd(TimerWindowProc);
  return wnd;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), id_(NextTimerId()) {}

TTimer::~TTimer() { Stop(); }

void TTimer::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(UINT value) {
  if (interval_ == value) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent value) {
  onTimer_ = std::move(value);
  UpdateTimer();
}

void TTimer::Stop() {
  if (!running_) return;
  TimerSeam().KillTimer(TimerWindow(), id_);
  Timers().erase(id_);
  running_ = false;
}

void TTimer::UpdateTimer() {
  Stop();
  if (!enabled_ || interval_ == 0 || !onTimer_.Assigned()) return;
  if (TimerSeam().SetTimer(TimerWindow(), id_, interval_, nullptr) == 0)
    throw EOutOfResources("Not enough timers available");
  Timers()[id_] = this;
  running_ = true;
}
