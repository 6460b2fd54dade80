#include "skin/draw/ksSystemSeam.h"

#include <shellapi.h>

#include "framework/core/handles.h"

namespace {

using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using TMonitorFromWindow = HMONITOR(WINAPI*)(HWND, DWORD);
using TGetMonitorInfoA = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

// Bound once per process from the already loaded user32; either may be missing.
struct TMonitorEntries {
  TMonitorFromWindow FromWindow = nullptr;
  TGetMonitorInfoA Info = nullptr;

  TMonitorEntries() {
    if (HMODULE user32 = GetModuleHandleA("user32.dll")) {
      FromWindow = reinterpret_cast<TMonitorFromWindow>(
          reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
      Info = reinterpret_cast<TGetMonitorInfoA>(
          reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
    }
  }
};

const TMonitorEntries& MonitorEntries() {
  static const TMonitorEntries entries;
  return entries;
}

}  // namespace

TksSystemSeam TksSystemSeam::Win32() {
  return TksSystemSeam{
      .SetLayeredAlpha =
          [](HWND wnd, BYTE alpha) {
            // Looked up at each call and released again, whatever the call does.
            ModuleHandle user32(LoadLibraryA("USER32"));
            if (!user32) return false;
            auto set = reinterpret_cast<TSetLayeredWindowAttributes>(
                reinterpret_cast<void*>(GetProcAddress(user32.get(), "SetLayeredWindowAttributes")));
            if (!set) return false;
            set(wnd, 0, alpha, LWA_ALPHA);
            return true;
          },
      .MonitorEntryPoints = [] { return MonitorEntries().FromWindow && MonitorEntries().Info; },
      .MonitorFromWindow =
          [](HWND wnd) -> HMONITOR {
            auto from = MonitorEntries().FromWindow;
            return from ? from(wnd, MONITOR_DEFAULTTONEAREST) : nullptr;
          },
      .GetMonitorInfo =
          [](HMONITOR monitor, MONITORINFO* info) -> BOOL {
            auto get = MonitorEntries().Info;
            return get ? get(monitor, info) : FALSE;
          },
      .ShellOpen =
          [](const std::string& file) {
            ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
          },
      .ShellExecuteHidden =
          [](const std::string& file, const std::string& directory) {
            ShellExecuteA(nullptr, nullptr, file.c_str(), nullptr, directory.c_str(), SW_HIDE);
          },
      .ShellNotifyIcon = [](DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); },
      .DragFullWindows =
          [] {
            BOOL full = FALSE;
            return SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0) && full;
          },
      .DriveType = [](const std::string& root) { return GetDriveTypeA(root.c_str()); },
      .ShellFileInfo =
          [](const std::string& path, UINT flags, SHFILEINFOA* info) {
            return SHGetFileInfoA(path.c_str(), 0, info, sizeof *info, flags);
          },
  };
}
