// Wide text (volume labels, disc names, shell names) to and from the ANSI code page.
#pragma once

#include <string>

#include "framework/core/strings.h"

String WideToAnsi(const std::wstring& text);
std::wstring AnsiToWide(const String& text);
