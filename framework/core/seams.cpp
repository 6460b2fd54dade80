#include "framework/core/seams.h"

#include "framework/core/handles.h"

TClockSeam TClockSeam::Win32() {
  return {
      .TickCount = [] { return ::GetTickCount(); },
      .TimeGetTime = [] { return ::timeGetTime(); },
      .Sleep = [](DWORD ms) { ::Sleep(ms); },
  };
}

TPointerSeam TPointerSeam::Win32() {
  return {
      .GetCursorPos = [](POINT* p) { return ::GetCursorPos(p); },
      .WindowFromPoint = [](POINT p) { return ::WindowFromPoint(p); },
      .GetKeyState = [](int key) { return ::GetKeyState(key); },
      .GetAsyncKeyState = [](int key) { return ::GetAsyncKeyState(key); },
  };
}

namespace {

int ScreenCaps(int index) {
  WindowDC screen = GetWindowDCHandle(nullptr);
  return screen ? GetDeviceCaps(screen.get().DC, index) : 0;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& list = *reinterpret_cast<std::vector<TMonitorInfo>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  TMonitorInfo m{monitor, info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
  if (m.Primary)
    list.insert(list.begin(), m);
  else
    list.push_back(m);
  return TRUE;
}

}  // namespace

TScreenSeam TScreenSeam::Win32() {
  return {
      .BitsPerPixel = [] { return ScreenCaps(BITSPIXEL) * ScreenCaps(PLANES); },
      .PaletteDevice = [] { return (ScreenCaps(RASTERCAPS) & RC_PALETTE) != 0; },
      .Size = [] { return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; },
      .Monitors =
          [] {
            std::vector<TMonitorInfo> list;
            EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
            if (list.empty()) {  // no monitor API answer: the primary screen alone
              RECT whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
              RECT work = whole;
              SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
              list.push_back({nullptr, whole, work, true});
            }
            return list;
          },
  };
}

TMessageBoxSeam TMessageBoxSeam::Win32() {
  return {.Show = [](HWND owner, const String& text, const String& caption, UINT flags) {
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
  }};
}

TTimerSeam TTimerSeam::Win32() {
  return {
      .SetTimer = [](HWND wnd, UINT_PTR id, UINT ms, TIMERPROC proc) { return ::SetTimer(wnd, id, ms, proc); },
      .KillTimer = [](HWND wnd, UINT_PTR id) { return ::KillTimer(wnd, id); },
  };
}
