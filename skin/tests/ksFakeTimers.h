// Timers that fire only when a test sends their WM_TIMER: every armed timer is
// recorded with its interval until it is killed, and every kill with its window.
#pragma once

#include <map>
#include <vector>

#include "framework/core/seams.h"

namespace skintest {

struct FakeTimers {
  std::map<UINT_PTR, UINT> armed;  // id -> interval
  std::vector<HWND> killedOn;
  ScopedSeam<TTimerSeam> seam{TTimerSeam{
      .SetTimer = [this](HWND, UINT_PTR id, UINT ms, TIMERPROC) -> UINT_PTR {
        armed[id] = ms;
        return id;
      },
      .KillTimer = [this](HWND wnd, UINT_PTR id) -> BOOL {
        killedOn.push_back(wnd);
        return armed.erase(id) != 0;
      },
  }};
};

}  // namespace skintest
