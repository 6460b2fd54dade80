// Small services shared by the dialogs and the passes: sizes as text and file versions.
#pragma once

#include <cstdint>

#include "framework/core/sysutils.h"

// "0k", "500.00 bytes", "1.50 KB", "1.00 MB", "2.00 GB": two decimals, the locale's separator.
String FormatSize(uint64_t Bytes);

// The four parts of a file's version; all 0 for a file without version information.
void ReadFileVersion(const String& FileName, uint32_t& Major, uint32_t& Minor, uint32_t& Release, uint32_t& Build);
