// Window classes and window procedures: registration once per class name,
// superclassing of system controls, the one static procedure that hands every
// message of a framework window to its object, subclassing of foreign windows
// and hidden utility windows.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/gui/messages.h"

// The object behind a framework window, as the static procedure sees it.
class TWindowTarget {
 public:
  virtual ~TWindowTarget() = default;
  // The window exists; called on its first message, before WM_NCCREATE.
  virtual void WindowAttached(HWND wnd) = 0;
  // One message; the target runs its WindowProc and leaves Result set.
  virtual void WindowMessage(TMessage& message) = 0;
  // WM_NCDESTROY went through WindowProc; the handle is dead.
  virtual void WindowDetached() = 0;
};

// What a window procedure does with an exception escaping a handler; the
// application installs its HandleException here. Called inside the catch.
using TWindowExceptionHandler = void (*)();
void SetWindowExceptionHandler(TWindowExceptionHandler handler);
// Runs the installed handler, or swallows the exception when there is none.
void HandleWindowException();

// The static procedure of every framework window class.
LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers a class under `name` with FrameworkWndProc on first use.
void RegisterFrameworkClass(const char* name, UINT classStyle, HCURSOR cursor, HBRUSH background);

// Registers `name` as a superclass of the system class `baseClass` (its icon,
// cursor and extra bytes, our style and procedure) and returns the system
// procedure, which the control's DefaultHandler calls.
WNDPROC SuperclassFrameworkClass(const char* baseClass, const char* name, UINT classStyle);

// The procedure unhandled messages of a framework class go to: the
// superclassed system procedure, else DefWindowProcA.
WNDPROC DefaultProcOf(const char* name);

// Creates a window for `target`; messages sent during creation already reach it.
HWND CreateFrameworkWindow(TWindowTarget* target, DWORD exStyle, const char* className,
                           const char* caption, DWORD style, int x, int y, int width, int height,
                           HWND parent, HMENU menuOrId, void* param);

// The target of a framework window of this process, or null for any other window.
TWindowTarget* FindWindowTarget(HWND wnd);

using TWndMethod = std::function<void(TMessage&)>;

// A hidden top-level window whose messages go to `method`; the method calls
// DefWindowProcA for what it does not handle.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND wnd);

// Replaces the procedure of a window not made by the framework (an inner
// header, a system control) for the lifetime of this object. The handler gets
// every message and may call CallPrevious before, after or not at all. Undoing
// puts the old procedure back only while ours is still the current one;
// otherwise the link stays in place and passes messages through.
class TWindowSubclass {
 public:
  using THandler = std::function<void(TWindowSubclass&, TMessage&)>;

  TWindowSubclass(HWND wnd, THandler handler);
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  HWND Handle() const;
  void CallPrevious(TMessage& message);

  struct Link;

 private:
  Link* link_;
};
