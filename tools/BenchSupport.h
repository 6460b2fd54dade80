// What the program benchmarks share: a precise clock, and the user's own output
// folder kept safe while a benchmark runs the engine, which stores its folder.
#pragma once

#include <windows.h>

#include <string>

#include "framework/core/registry.h"

inline double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Puts the stored output folder back, or takes away the one the run stored, at the end.
class TSavedRecoveryFolder {
 public:
  TSavedRecoveryFolder() {
    registry_.SetRootKey(HKEY_CURRENT_USER);
    stored_ = registry_.OpenKey(kKey, true) && registry_.ValueExists("RecoveryFolder");
    if (stored_) saved_ = registry_.ReadString("RecoveryFolder");
  }
  ~TSavedRecoveryFolder() {
    // OpenKey is relative to an open key: start again from the root.
    registry_.CloseKey();
    if (!registry_.OpenKey(kKey, true)) return;
    if (stored_)
      registry_.WriteString("RecoveryFolder", saved_);
    else
      registry_.DeleteValue("RecoveryFolder");
  }
  TSavedRecoveryFolder(const TSavedRecoveryFolder&) = delete;
  TSavedRecoveryFolder& operator=(const TSavedRecoveryFolder&) = delete;

 private:
  static constexpr const char* kKey = "Software\\Brellin\\Korvalo 3";
  TRegistry registry_;
  bool stored_ = false;
  std::string saved_;
};
