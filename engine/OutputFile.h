// Writes into the files the engine creates in the output folder. They go through a seam
// so that tests can make the output drive fail, which a real drive rarely does on cue.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/core/seams.h"

struct TOutputFileSeam {
  std::function<BOOL(HANDLE File, const void* Data, DWORD Size, DWORD* Written)> Write;

  static TOutputFileSeam Win32() {
    return {[](HANDLE file, const void* data, DWORD size, DWORD* written) {
      return ::WriteFile(file, data, size, written, nullptr);
    }};
  }
  void FillFrom(const TOutputFileSeam& p) { seam_detail::Fill(Write, p.Write); }
};

inline TOutputFileSeam& OutputFileSeam() { return CurrentSeam<TOutputFileSeam>(); }

// Writes all of Data; false (with the system's error set) when any of it did not go.
inline bool WriteWholeBlock(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  if (!OutputFileSeam().Write(file, data, size, &written)) return false;
  if (written == size) return true;
  SetLastError(ERROR_HANDLE_DISK_FULL);
  return false;
}
