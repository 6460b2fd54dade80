// The Windows version the program branches on, read through a seam so tests can pretend to
// be another system (Wine reports a version above 5.2 unless told otherwise).
#pragma once

#include <windows.h>

#include <functional>

#include "framework/core/seams.h"
#include "framework/core/sysutils.h"

struct TVersionSeam {
  // Fills the structure (dwOSVersionInfoSize already set) like GetVersionExA; FALSE on failure.
  std::function<BOOL(OSVERSIONINFOA* info)> Query;

  static TVersionSeam Win32();
  void FillFrom(const TVersionSeam& p) { seam_detail::Fill(Query, p.Query); }
};

inline TVersionSeam& VersionSeam() { return CurrentSeam<TVersionSeam>(); }

// The version in force, asked afresh each time; all zero when the query fails.
int Win32Platform();  // VER_PLATFORM_WIN32_WINDOWS (1) or VER_PLATFORM_WIN32_NT (2)
int Win32MajorVersion();
int Win32MinorVersion();
int Win32BuildNumber();
String Win32CSDVersion();
// True when the system is at least major.minor.
bool CheckWin32Version(int major, int minor = 0);
