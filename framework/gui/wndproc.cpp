#include "framework/gui/wndproc.h"

#include <map>
#include <string>

namespace {

const char kTargetProp[] = "FwWindowTarget";
const char kSubclassProp[] = "FwSubclassLink";
const char kUtilityClass[] = "FwUtilityWindow";

TWindowExceptionHandler exceptionHandler = nullptr;

// The target whose window is being created on this thread; messages that come
// before the window property is set belong to it.
thread_local TWindowTarget* creating = nullptr;

// Class name -> procedure for unhandled messages. GUI thread only.
std::map<std::string, WNDPROC>& ClassProcs() {
  static std::map<std::string, WNDPROC> procs;
  return procs;
}

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

void Deliver(TWindowTarget* target, HWND wnd, TMessage& message) {
  try {
    target->WindowMessage(message);
  } catch (...) {
    HandleWindowException();
  }
  if (message.Msg == WM_NCDESTROY) {
    RemovePropA(wnd, kTargetProp);
    target->WindowDetached();
  }
}

}  // namespace

void SetWindowExceptionHandler(TWindowExceptionHandler handler) { exceptionHandler = handler; }

void HandleWindowException() {
  if (exceptionHandler == nullptr) return;
  try {
    exceptionHandler();
  } catch (...) {
    // Nothing may leave a window procedure.
  }
}

LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* target = static_cast<TWindowTarget*>(GetPropA(wnd, kTargetProp));
  if (target == nullptr && creating != nullptr) {
    target = creating;
    creating = nullptr;
    SetPropA(wnd, kTargetProp, target);
    target->WindowAttached(wnd);
  }
  if (target == nullptr) return DefWindowProcA(wnd, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  Deliver(target, wnd, message);
  return message.Result;
}

void RegisterFrameworkClass(const char* name, UINT classStyle, HCURSOR cursor, HBRUSH background) {
  if (ClassProcs().count(name) != 0) return;
  WNDCLASSA wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = FrameworkWndProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = cursor != nullptr ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassA(&wc);  // an earlier registration under the name is as good
  ClassProcs()[name] = DefWindowProcA;
}

WNDPROC SuperclassFrameworkClass(const char* baseClass, const char* name, UINT classStyle) {
  auto found = ClassProcs().find(name);
  if (found != ClassProcs().end()) return found->second;
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, baseClass, &wc) && !GetClassInfoA(ModuleInstance(), baseClass, &wc))
    return DefWindowProcA;
  WNDPROC system = wc.lpfnWndProc;
  wc.style = classStyle;
  wc.lpfnWndProc = FrameworkWndProc;
  wc.hInstance = ModuleInstance();
  wc.lpszClassName = name;
  wc.lpszMenuName = nullptr;
  RegisterClassA(&wc);
  ClassProcs()[name] = system;
  return system;
}

WNDPROC DefaultProcOf(const char* name) {
  auto found = ClassProcs().find(name);
  return found != ClassProcs().end() ? found->second : DefWindowProcA;
}

HWND CreateFrameworkWindow(TWindowTarget* target, DWORD exStyle, const char* className,
                           const char* caption, DWORD style, int x, int y, int width, int height,
                           HWND parent, HMENU menuOrId, void* param) {
  TWindowTarget* outer = creating;
  creating = target;
  HWND wnd = CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent,
                             menuOrId, ModuleInstance(), param);
  creating = outer;
  return wnd;
}

TWindowTarget* FindWindowTarget(HWND wnd) {
  if (wnd == nullptr) return nullptr;
  HANDLE target = GetPropA(wnd, kTargetProp);
  if (target == nullptr) return nullptr;
  // Another program built on this framework marks its windows alike, with an
  // address that means nothing here (the window under the pointer may be one).
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  return pid == GetCurrentProcessId() ? static_cast<TWindowTarget*>(target) : nullptr;
}

// --- utility windows -------------------------------------------------------

namespace {

LRESULT CALLBACK UtilityWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (method == nullptr || !*method) return DefWindowProcA(wnd, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  try {
    TWndMethod local = *method;  // the method may deallocate this window
    local(message);
  } catch (...) {
    HandleWindowException();
  }
  return message.Result;
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilityWndProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kUtilityClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilityClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, ModuleInstance(), nullptr);
  if (wnd != nullptr)
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
  return wnd;
}

void DeallocateHWnd(HWND wnd) {
  if (wnd == nullptr) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  DestroyWindow(wnd);
  delete method;
}

// --- subclassing -----------------------------------------------------------

// One link per subclass; the window property points at the newest. A link whose
// owner went away while another procedure sat above it only passes messages on,
// and is freed with the window.
struct TWindowSubclass::Link {
  HWND wnd;
  WNDPROC previous;
  Link* below;  // our next older link on this window, if any
  TWindowSubclass* owner;
  TWindowSubclass::THandler handler;
};

namespace {

LRESULT CallLink(TWindowSubclass::Link* link, UINT msg, WPARAM wParam, LPARAM lParam);

// Set while a foreign procedure between two of our links runs, so that the
// lower link, not the newest, takes the message when it comes back to us.
thread_local TWindowSubclass::Link* resumeAt = nullptr;

LRESULT CALLBACK SubclassWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* top = static_cast<TWindowSubclass::Link*>(GetPropA(wnd, kSubclassProp));
  if (top == nullptr) return DefWindowProcA(wnd, msg, wParam, lParam);
  if (resumeAt != nullptr && resumeAt->wnd == wnd) {
    auto* link = resumeAt;
    resumeAt = nullptr;
    return CallLink(link, msg, wParam, lParam);
  }
  if (msg != WM_NCDESTROY) return CallLink(top, msg, wParam, lParam);
  // The window dies: pass the message down, then cut every link loose.
  LRESULT result = CallLink(top, msg, wParam, lParam);
  WNDPROC bottom = top->previous;
  for (auto* link = top; link != nullptr;) {
    auto* below = link->below;
    bottom = link->previous;
    if (link->owner != nullptr) {
      link->wnd = nullptr;  // the owner frees it
    } else {
      delete link;
    }
    link = below;
  }
  RemovePropA(wnd, kSubclassProp);
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(bottom));
  return result;
}

LRESULT CallPreviousOf(TWindowSubclass::Link* link, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (link->previous == SubclassWndProc && link->below != nullptr)
    return CallLink(link->below, msg, wParam, lParam);
  auto* outer = resumeAt;
  resumeAt = link->below;
  LRESULT result = CallWindowProcA(link->previous, link->wnd, msg, wParam, lParam);
  resumeAt = outer;
  return result;
}

LRESULT CallLink(TWindowSubclass::Link* link, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (link->owner == nullptr || !link->handler) return CallPreviousOf(link, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  try {
    TWindowSubclass::THandler local = link->handler;
    local(*link->owner, message);
  } catch (...) {
    HandleWindowException();
  }
  return message.Result;
}

}  // namespace

TWindowSubclass::TWindowSubclass(HWND wnd, THandler handler) : link_(new Link{wnd, nullptr, nullptr, this, std::move(handler)}) {
  auto* top = static_cast<Link*>(GetPropA(wnd, kSubclassProp));
  link_->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassWndProc)));
  link_->below = top;
  SetPropA(wnd, kSubclassProp, link_);
}

TWindowSubclass::~TWindowSubclass() {
  Link* link = link_;
  if (link->wnd == nullptr) {  // the window is gone
    delete link;
    return;
  }
  HWND wnd = link->wnd;
  auto* top = static_cast<Link*>(GetPropA(wnd, kSubclassProp));
  bool current = top == link &&
                 reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)) == SubclassWndProc;
  if (current) {
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previous));
    if (link->below != nullptr) {
      SetPropA(wnd, kSubclassProp, link->below);
    } else {
      RemovePropA(wnd, kSubclassProp);
    }
    delete link;
    return;
  }
  link->owner = nullptr;  // stays as a pass-through link
  link->handler = nullptr;
}

HWND TWindowSubclass::Handle() const { return link_->wnd; }

void TWindowSubclass::CallPrevious(TMessage& message) {
  if (link_->wnd == nullptr) return;
  message.Result = CallPreviousOf(link_, message.Msg, message.WParam, message.LParam);
}
