// One 800x600 primary monitor, whatever the machine has: popups and menus that fit
// themselves to the screen land at places a test can state.
#pragma once

#include <vector>

#include "framework/core/seams.h"

namespace skintest {

inline TScreenSeam OneScreen() {
  return TScreenSeam{.Monitors = [] {
    TMonitorInfo m;
    m.Bounds = m.WorkArea = RECT{0, 0, 800, 600};
    m.Primary = true;
    return std::vector<TMonitorInfo>{m};
  }};
}

}  // namespace skintest
