// The colours of the look without a skin that the system's colours lack: the fill of
// a button or item under the mouse (and of the plain gauge's bar), and of one held down.
#pragma once

#include <windows.h>

#include "framework/core/colors.h"

constexpr TColor kPlainHotFill = RGB(182, 189, 210);
constexpr TColor kPlainDownFill = RGB(133, 147, 181);
