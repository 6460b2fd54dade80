// Timers that fire only when a test sends their WM_TIMER: every armed timer is
// recorded with its interval until it is killed.
#pragma once

#include <map>

#include "framework/core/seams.h"

namespace skintest {

struct FakeTimers {
  std::map<UINT_PTR, UINT> armed;  // id -> interval
  ScopedSeam<TTimerSeam> seam{TTimerSeam{
      .SetTimer = [this](HWND, UINT_PTR id, UINT ms, TIMERPROC) -> UINT_PTR {
        armed[id] = ms;
        return id;
      },
      .KillTimer = [this](HWND, UINT_PTR id) -> BOOL { return armed.erase(id) != 0; },
  }};
};

}  // namespace skintest
