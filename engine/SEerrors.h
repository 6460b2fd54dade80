// Symbolic names of system error codes, so that a log shows ERROR_SECTOR_NOT_FOUND
// rather than 27.
#pragma once

#include <cstdint>
#include <string>

// The name of the code, or "error number has no description <code>" for a code
// without one.
std::string GetWin32ErrorName(int32_t Code);
