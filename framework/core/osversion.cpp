#include "framework/core/osversion.h"

namespace {

OSVERSIONINFOA Query() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!VersionSeam().Query(&info)) {
    info = {};
    info.dwOSVersionInfoSize = sizeof info;
  }
  info.szCSDVersion[sizeof info.szCSDVersion - 1] = '\0';
  return info;
}

}  // namespace

TVersionSeam TVersionSeam::Win32() {
  return {[](OSVERSIONINFOA* info) { return GetVersionExA(info); }};
}

int Win32Platform() { return static_cast<int>(Query().dwPlatformId); }
int Win32MajorVersion() { return static_cast<int>(Query().dwMajorVersion); }
int Win32MinorVersion() { return static_cast<int>(Query().dwMinorVersion); }

int Win32BuildNumber() {
  const OSVERSIONINFOA info = Query();
  // The 9x family keeps the major and minor version in the high word of the build number.
  return static_cast<int>(info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? info.dwBuildNumber & 0xFFFF
                                                                          : info.dwBuildNumber);
}

String Win32CSDVersion() { return Query().szCSDVersion; }

bool CheckWin32Version(int major, int minor) {
  const OSVERSIONINFOA info = Query();
  const int haveMajor = static_cast<int>(info.dwMajorVersion);
  const int haveMinor = static_cast<int>(info.dwMinorVersion);
  return haveMajor > major || (haveMajor == major && haveMinor >= minor);
}
