// The system calls of the skin library that tests must steer: layered-window alpha and the
// monitor entry points, both looked up by name because older systems lack them, handing
// a file or URL to the shell, the notification area, the drag-full-windows setting and
// the drive queries, so tests make volumes arrive and leave.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "framework/core/seams.h"

struct TksSystemSeam {
  // False when "USER32" or its SetLayeredWindowAttributes is missing (nothing changed then).
  std::function<bool(HWND wnd, BYTE alpha)> SetLayeredAlpha;
  // True when both MonitorFromWindow and GetMonitorInfoA were found at start-up.
  std::function<bool()> MonitorEntryPoints;
  std::function<HMONITOR(HWND wnd)> MonitorFromWindow;  // nearest monitor
  std::function<BOOL(HMONITOR monitor, MONITORINFO* info)> GetMonitorInfo;
  // The shell's "open" of a file or URL, shown normally, without an owner window.
  std::function<void(const std::string& file)> ShellOpen;
  // ShellExecuteA of a file with no verb, hidden, in the given working directory.
  std::function<void(const std::string& file, const std::string& directory)> ShellExecuteHidden;
  // Shell_NotifyIconA: a session without a notification area has nowhere to put an icon.
  std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)> ShellNotifyIcon;
  // The user lets windows show their contents while they are dragged or sized.
  std::function<bool()> DragFullWindows;
  // GetDriveTypeA of a root such as "C:\".
  std::function<UINT(const std::string& root)> DriveType;
  // SHGetFileInfoA of a path (not of an item list): its result, and the filled record.
  std::function<DWORD_PTR(const std::string& path, UINT flags, SHFILEINFOA* info)> ShellFileInfo;

  static TksSystemSeam Win32();
  void FillFrom(const TksSystemSeam& p) {
    seam_detail::Fill(SetLayeredAlpha, p.SetLayeredAlpha);
    seam_detail::Fill(MonitorEntryPoints, p.MonitorEntryPoints);
    seam_detail::Fill(MonitorFromWindow, p.MonitorFromWindow);
    seam_detail::Fill(GetMonitorInfo, p.GetMonitorInfo);
    seam_detail::Fill(ShellOpen, p.ShellOpen);
    seam_detail::Fill(ShellExecuteHidden, p.ShellExecuteHidden);
    seam_detail::Fill(ShellNotifyIcon, p.ShellNotifyIcon);
    seam_detail::Fill(DragFullWindows, p.DragFullWindows);
    seam_detail::Fill(DriveType, p.DriveType);
    seam_detail::Fill(ShellFileInfo, p.ShellFileInfo);
  }
};

inline TksSystemSeam& KsSystemSeam() { return CurrentSeam<TksSystemSeam>(); }
