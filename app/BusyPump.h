// Keeps the program's windows alive while a command waits on the window's thread, as
// the recovery passes do: the hourglass shows, and paints, timers, pointer moves and
// posted messages are handled a few times a tick. Clicks and keys are dropped while it
// lasts, so no other command starts inside the wait.
#pragma once

#include <windows.h>

#include "framework/gui/application.h"

class TBusyPump {
 public:
  TBusyPump();
  ~TBusyPump();
  TBusyPump(const TBusyPump&) = delete;
  TBusyPump& operator=(const TBusyPump&) = delete;

  // Called during every wait: pumps at the first call and then once an interval has
  // passed on the clock.
  void operator()();

 private:
  static constexpr DWORD kPumpInterval = 10;

  void DropInput(TMsg& Msg, bool& Handled);

  TCursor savedCursor_;
  TMessageEvent savedHook_;
  TMessageEvent ownHook_;
  DWORD lastPump_ = 0;
  bool pumped_ = false;
};
