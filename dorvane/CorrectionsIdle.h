// Whether the library's correction threads have all ended, for code that shares the
// process with it: a manual-reset event named after the process, set while none runs.
// The program itself never waits on it; its tests do before they look at repaired files.
#pragma once

#include <windows.h>

#include <string>

#include "framework/core/handles.h"

inline std::string CorrectionsIdleEventName() {
  return "Dorvane.CorrectionsIdle." + std::to_string(GetCurrentProcessId());
}

// True once no correction runs (at once when the library never started one); false when
// one still runs after timeoutMs.
inline bool WaitForIdleCorrections(DWORD timeoutMs) {
  const KernelHandle idle(OpenEventA(SYNCHRONIZE, FALSE, CorrectionsIdleEventName().c_str()));
  return !idle.valid() || WaitForSingleObject(idle.get(), timeoutMs) == WAIT_OBJECT_0;
}
