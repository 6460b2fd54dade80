// The language the library's resources are stored under (English, United Kingdom: 2057).
// Dorvane.rc states the same pair; the placeholder lookups name it so they never depend
// on the thread's user interface language.
#pragma once

#include <windows.h>

constexpr WORD ResourceLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);
static_assert(ResourceLanguage == 2057);
