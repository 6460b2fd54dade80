// One owning wrapper for every kind of Win32 handle, told apart by traits.
#pragma once

#include <windows.h>

#include <utility>

// Traits give: Handle, None(), IsValid(h), Close(h).
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  bool valid() const { return Traits::IsValid(handle_); }
  explicit operator bool() const { return valid(); }

  // Gives the handle up without closing it (SetWindowRgn, for one, takes ownership).
  Handle release() {
    Handle handle = handle_;
    handle_ = Traits::None();
    return handle;
  }

  void reset(Handle handle = Traits::None()) {
    Handle old = std::exchange(handle_, handle);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::None();
};

// Files, events, threads, mutexes, mappings: creators return 0 or INVALID_HANDLE_VALUE
// on failure, so both mean "none".
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};

// The predefined root keys are never closed.
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && !IsPredefined(h); }
  static void Close(Handle h) { RegCloseKey(h); }
  static bool IsPredefined(Handle h) {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                      HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA})
      if (h == root) return true;
    return false;
  }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};

// Pens, brushes, fonts, bitmaps, palettes. The owner selects its object out of any
// DC before the handle goes: a selected object is never deleted.
template <class H = HGDIOBJ>
struct GdiObjectTraits {
  using Handle = H;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};

// From CreateCompatibleDC / CreateDCA.
struct MemoryDCTraits {
  using Handle = HDC;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteDC(h); }
};

// From GetDC / GetWindowDC: released together with the window it came from.
struct WindowDCRef {
  HWND Wnd = nullptr;
  HDC DC = nullptr;
};

struct WindowDCTraits {
  using Handle = WindowDCRef;
  static Handle None() { return {}; }
  static bool IsValid(Handle h) { return h.DC != nullptr; }
  static void Close(Handle h) { ReleaseDC(h.Wnd, h.DC); }
};

struct WindowTraits {
  using Handle = HWND;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DestroyWindow(h); }
};

struct MenuTraits {
  using Handle = HMENU;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DestroyMenu(h); }
};

struct IconTraits {
  using Handle = HICON;
  static Handle None() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DestroyIcon(h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
template <class H = HGDIOBJ>
using GdiObject = UniqueHandle<GdiObjectTraits<H>>;
using PenHandle = GdiObject<HPEN>;
using BrushHandle = GdiObject<HBRUSH>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using PaletteHandle = GdiObject<HPALETTE>;
// Call release() once SetWindowRgn has taken the region.
using RegionHandle = GdiObject<HRGN>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;
using WindowDC = UniqueHandle<WindowDCTraits>;
using WindowHandle = UniqueHandle<WindowTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using IconHandle = UniqueHandle<IconTraits>;

// GetDC(wnd) held until the wrapper goes.
inline WindowDC GetWindowDCHandle(HWND wnd) { return WindowDC(WindowDCRef{wnd, GetDC(wnd)}); }
