// A system that reports XP, so layered windows are used, and records every alpha
// a layered window is given.
#pragma once

#include <vector>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "skin/draw/ksSystemSeam.h"

namespace skintest {

struct FakeLayeredAlpha {
  ScopedSeam<TVersionSeam> xp{TVersionSeam{.Query = [](OSVERSIONINFOA* info) {
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    return TRUE;
  }}};
  std::vector<int> alphas;
  ScopedSeam<TksSystemSeam> system{TksSystemSeam{.SetLayeredAlpha = [this](HWND, BYTE a) {
    alphas.push_back(a);
    return true;
  }}};
};

}  // namespace skintest
