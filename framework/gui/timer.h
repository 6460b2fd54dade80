// TTimer: a component that fires OnTimer every Interval milliseconds, run on the
// framework's hidden timer window (never on a form, whose timer ids belong to
// the skin library) through the timer seam.
#pragma once

#include <windows.h>

#include "framework/core/classes.h"
#include "framework/core/delegate.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  UINT Interval() const { return interval_; }
  void SetInterval(UINT value);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent value);

  // The hidden window every timer runs on, and this timer's id there (0 while
  // it is not running); tests fire timers through these.
  static HWND TimerWindow();
  UINT_PTR TimerId() const { return running_ ? id_ : 0; }

 private:
  void UpdateTimer();
  void Stop();

  bool enabled_ = true;
  UINT interval_ = 1000;
  TNotifyEvent onTimer_;
  UINT_PTR id_;
  bool running_ = false;
};
