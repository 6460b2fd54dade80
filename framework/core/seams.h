// Process-wide seams over the Win32 calls that tests must control: clock, pointer
// and keys, screen, message box and timers. Each seam is a struct of functions
// whose defaults call Win32; a test installs a replacement with ScopedSeam before
// it creates the objects that use it. Each module (program, DLL) has its own.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "framework/core/sysutils.h"

// One per module; returns the seam now in force, Win32 until replaced.
template <class Seam>
Seam& CurrentSeam() {
  static Seam seam = Seam::Win32();
  return seam;
}

// Installs a replacement for its lifetime and then puts the previous one back.
// Members left empty in the replacement keep their previous behaviour, so a test
// writes ScopedSeam<TClockSeam> clock({.TickCount = [&] { return now; }}).
template <class Seam>
class ScopedSeam {
 public:
  explicit ScopedSeam(Seam replacement) : saved_(CurrentSeam<Seam>()) {
    replacement.FillFrom(saved_);
    CurrentSeam<Seam>() = std::move(replacement);
  }
  ~ScopedSeam() { CurrentSeam<Seam>() = std::move(saved_); }
  ScopedSeam(const ScopedSeam&) = delete;
  ScopedSeam& operator=(const ScopedSeam&) = delete;

 private:
  Seam saved_;
};

namespace seam_detail {
template <class F>
void Fill(F& mine, const F& previous) {
  if (!mine) mine = previous;
}
}  // namespace seam_detail

// Hints, type-ahead, pacing and animations read time through here.
struct TClockSeam {
  std::function<DWORD()> TickCount;
  std::function<DWORD()> TimeGetTime;
  std::function<void(DWORD ms)> Sleep;

  static TClockSeam Win32();
  void FillFrom(const TClockSeam& p) {
    seam_detail::Fill(TickCount, p.TickCount);
    seam_detail::Fill(TimeGetTime, p.TimeGetTime);
    seam_detail::Fill(Sleep, p.Sleep);
  }
};

// Enter/leave tracking, hints, menus and the tray ask here where the pointer is.
struct TPointerSeam {
  std::function<BOOL(POINT* point)> GetCursorPos;
  std::function<HWND(POINT point)> WindowFromPoint;
  std::function<SHORT(int key)> GetKeyState;
  std::function<SHORT(int key)> GetAsyncKeyState;

  static TPointerSeam Win32();
  void FillFrom(const TPointerSeam& p) {
    seam_detail::Fill(GetCursorPos, p.GetCursorPos);
    seam_detail::Fill(WindowFromPoint, p.WindowFromPoint);
    seam_detail::Fill(GetKeyState, p.GetKeyState);
    seam_detail::Fill(GetAsyncKeyState, p.GetAsyncKeyState);
  }
};

struct TMonitorInfo {
  HMONITOR Handle = nullptr;
  RECT Bounds{};
  RECT WorkArea{};
  bool Primary = false;
};

// Device depth, palette and monitor layout.
struct TScreenSeam {
  std::function<int()> BitsPerPixel;    // of the screen DC
  std::function<bool()> PaletteDevice;  // RC_PALETTE on the screen DC
  std::function<SIZE()> Size;           // primary monitor
  std::function<std::vector<TMonitorInfo>()> Monitors;  // primary first

  static TScreenSeam Win32();
  void FillFrom(const TScreenSeam& p) {
    seam_detail::Fill(BitsPerPixel, p.BitsPerPixel);
    seam_detail::Fill(PaletteDevice, p.PaletteDevice);
    seam_detail::Fill(Size, p.Size);
    seam_detail::Fill(Monitors, p.Monitors);
  }
};

// Every plain box of the program goes through here.
struct TMessageBoxSeam {
  std::function<int(HWND owner, const String& text, const String& caption, UINT flags)> Show;

  static TMessageBoxSeam Win32();
  void FillFrom(const TMessageBoxSeam& p) { seam_detail::Fill(Show, p.Show); }
};

// TTimer's clock; a fake fires chosen timers when a test says so.
struct TTimerSeam {
  std::function<UINT_PTR(HWND wnd, UINT_PTR id, UINT ms, TIMERPROC proc)> SetTimer;
  std::function<BOOL(HWND wnd, UINT_PTR id)> KillTimer;

  static TTimerSeam Win32();
  void FillFrom(const TTimerSeam& p) {
    seam_detail::Fill(SetTimer, p.SetTimer);
    seam_detail::Fill(KillTimer, p.KillTimer);
  }
};

inline TClockSeam& Clock() { return CurrentSeam<TClockSeam>(); }
inline TPointerSeam& Pointer() { return CurrentSeam<TPointerSeam>(); }
inline TScreenSeam& ScreenSeam() { return CurrentSeam<TScreenSeam>(); }
inline TMessageBoxSeam& MessageBoxSeam() { return CurrentSeam<TMessageBoxSeam>(); }
inline TTimerSeam& TimerSeam() { return CurrentSeam<TTimerSeam>(); }
