// Fails critical errors (no "insert a disk" boxes) while a pass runs; the process's
// previous error mode comes back when the scope ends, however it ends.
#pragma once

#include <windows.h>

class TErrorModeScope {
 public:
  TErrorModeScope() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TErrorModeScope() { SetErrorMode(previous_); }
  TErrorModeScope(const TErrorModeScope&) = delete;
  TErrorModeScope& operator=(const TErrorModeScope&) = delete;

 private:
  UINT previous_;
};
