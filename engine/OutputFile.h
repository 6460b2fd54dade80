// The files the engine creates in the output folder: each is new, never one an earlier
// run left there, and its writes go through a seam so that tests can make the output
// drive fail, which a real drive rarely does on cue.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/core/seams.h"
#include "framework/core/sysutils.h"

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

// "name.ext", then "name_2.ext", "name_3.ext", ...: the names a new file of the output
// folder may take, in the order they are tried; at most this many.
inline constexpr int kMaxNameNumber = 9999;
String NumberedName(const String& Name, int Number);

// Creates Folder + Name as a new file, shared for reading; when a file or folder already
// has the name, the next numbered name. Name becomes the name of the file made. Nothing
// that exists is ever opened: INVALID_HANDLE_VALUE, with the system's error, when no
// name is free or the folder cannot take the file.
HANDLE CreateNewOutputFile(const String& Folder, String& Name, DWORD Access);
