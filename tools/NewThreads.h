// Waiting for the threads a library call started: the library's correction
// threads free themselves, so the tools wait on the threads that were not
// there before the call.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <set>

#include "framework/core/handles.h"

inline std::set<DWORD> ThreadsOfThisProcess() {
  std::set<DWORD> ids;
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot.valid()) return ids;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
  return ids;
}

// Each thread gets up to timeoutMs.
inline void WaitForNewThreads(const std::set<DWORD>& before, DWORD timeoutMs) {
  for (DWORD id : ThreadsOfThisProcess()) {
    if (before.count(id)) continue;
    KernelHandle thread(OpenThread(SYNCHRONIZE, FALSE, id));
    if (thread.valid()) WaitForSingleObject(thread.get(), timeoutMs);
  }
}
