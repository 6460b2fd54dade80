#include "framework/gui/application.h"

#include <ole2.h>

#include <algorithm>

#include "framework/core/seams.h"
#include "framework/core/thread.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/screen.h"

TApplication* Application = nullptr;

namespace {

// Ctrl+F4, Ctrl+F6 and the child system menu of the active MDI child.
bool IsMDIMsg(TCustomForm* mainForm, TMsg& msg) {
  if (mainForm == nullptr || mainForm->FormStyle() != fsMDIForm || mainForm->ClientHandle() == nullptr ||
      mainForm->ActiveMDIChild() == nullptr)
    return false;
  return TranslateMDISysAccel(mainForm->ClientHandle(), &msg) != FALSE;
}

const char kApplicationClass[] = "TApplication";
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;

bool IsMouseMessage(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) ||
         msg == WM_MOUSELEAVE || msg == WM_NCMOUSELEAVE;
}

void ApplicationException() {
  if (Application != nullptr) Application->HandleException(Application);
}

String ModuleFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// Is any message of the control (or of a control inside it) being handled now?
bool Busy(TComponent* object) {
  auto* control = dynamic_cast<TControl*>(object);
  if (control == nullptr) return false;
  if (control->DispatchDepth() > 0) return true;
  if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed != nullptr)
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (Busy(windowed->Controls(i))) return true;
  return false;
}

}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  if (Application == nullptr) Application = this;
  if (Screen == nullptr) Screen = new TScreen(nullptr);
  String exe = ModuleFileName();
  size_t slash = exe.find_last_of("\\:/");
  title_ = slash == String::npos ? exe : exe.substr(slash + 1);
  if (size_t dot = title_.rfind('.'); dot != String::npos) title_.resize(dot);
  HintWindowClass = [](TComponent* owner) { return new THintWindow(owner); };
  SetWindowExceptionHandler(ApplicationException);
}

TApplication::~TApplication() {
  BeforeDestruction();
  if (Application == this) {
    SetWindowExceptionHandler(nullptr);
    Application = nullptr;
  }
}

void TApplication::BeforeDestruction() {
  if (ComponentState() & csDestroying) return;
  CancelHint();
  TComponent::BeforeDestruction();  // frees the forms
  if (handle_ != nullptr) {
    SetWakeMainThread(previousWake_);
    DestroyWindow(handle_);
    handle_ = nullptr;
  }
  if (Application == this && Screen != nullptr) {
    TScreen* screen = Screen;
    Screen = nullptr;
    ::Free(screen);
  }
  if (oleStarted_) {
    OleUninitialize();
    oleStarted_ = false;
  }
}

void TApplication::Initialize() {
  if (!oleStarted_) oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
  Handle();
}

HWND TApplication::Handle() {
  if (handle_ != nullptr) return handle_;
  RegisterFrameworkClass(kApplicationClass, 0, nullptr, nullptr);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  icon_ = LoadIconA(instance, "MAINICON");
  if (icon_ == nullptr) icon_ = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  CreateFrameworkWindow(this, 0, kApplicationClass, title_.c_str(),
                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                        nullptr, nullptr);
  if (handle_ == nullptr) throw EOutOfResources("Out of system resources");
  SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  HWND wnd = handle_;
  previousWake_ = SetWakeMainThread([wnd] { PostMessageA(wnd, CM_SYNCHRONIZE, 0, 0); });
  return handle_;
}

void TApplication::SetTitle(const String& value) {
  title_ = value;
  if (handle_ != nullptr) SetWindowTextA(handle_, value.c_str());
}

String TApplication::ExeName() const { return ModuleFileName(); }

// --- the loop --------------------------------------------------------------

void TApplication::Run() {
  Handle();
  if (mainForm_ != nullptr) {
    if (ShowMainForm) {
      // Zero-sized, it carries only the taskbar button.
      ShowWindow(handle_, SW_SHOWNOACTIVATE);
      if (mainForm_->WindowState() == wsMinimized) {
        Minimize();
      } else {
        mainForm_->SetVisible(true);
      }
    }
    while (!terminated_) HandleMessage();
  }
}

bool TApplication::ProcessMessage(TMsg& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (IsMouseMessage(Msg.message)) UpdateMouseControl();
  bool handled = false;
  OnMessage(Msg, handled);
  if (!handled) {
    IsHintMsg(Msg);
    if (!IsMDIMsg(MainForm(), Msg) && !IsKeyMsg(Msg)) {
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
  }
  FreeDeviceContexts();
  if (!deferredFree_.empty()) FreeDeferred();
  return true;
}

void TApplication::HandleMessage() {
  TMsg msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::ProcessMessages() {
  TMsg msg;
  while (ProcessMessage(msg)) {
  }
  CheckSynchronize();
}

void TApplication::Idle() {
  UpdateMouseControl();
  bool done = true;
  try {
    OnIdle(this, done);
  } catch (...) {
    HandleException(this);
  }
  if (CheckSynchronize()) done = false;
  FreeDeviceContexts();
  if (!deferredFree_.empty()) FreeDeferred();
  if (done) WaitMessage();
}

void TApplication::Terminate() {
  PostQuitMessage(0);
  terminated_ = true;
}

bool TApplication::IsKeyMsg(TMsg& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture() != nullptr ? GetCapture() : Msg.hwnd;
  TWinControl* control = TWinControl::FindControl(wnd);
  if (control == nullptr) return false;
  return control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::Minimize() {
  ShowWindow(Handle(), SW_MINIMIZE);
  OnMinimize(this);
}

void TApplication::Restore() {
  ShowWindow(Handle(), SW_RESTORE);
  if (mainForm_ != nullptr && mainForm_->HandleAllocated()) SetActiveWindow(mainForm_->Handle());
  OnRestore(this);
}

void TApplication::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SYNCHRONIZE: CheckSynchronize(); return;
    case CM_RELEASE: FreeQueued(reinterpret_cast<TComponent*>(Message.LParam)); return;
    case WM_ACTIVATEAPP:
      active_ = Message.WParam != 0;
      if (active_) {
        OnActivate(this);
      } else {
        CancelHint();
        OnDeactivate(this);
      }
      return;
    case WM_TIMER:
      if (Message.WParam == kHintShowTimer) {
        TimerSeam().KillTimer(handle_, kHintShowTimer);
        ActivateHint();
      } else if (Message.WParam == kHintHideTimer) {
        CancelHint();
      }
      return;
    case WM_SYSCOMMAND:
      if ((Message.WParam & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return;
      }
      if ((Message.WParam & 0xFFF0) == SC_RESTORE) {
        Restore();
        return;
      }
      break;
    case WM_CLOSE:
      if (mainForm_ != nullptr) mainForm_->Close();
      return;
    case WM_QUERYENDSESSION:
      Message.Result = mainForm_ == nullptr || mainForm_->CloseQuery() ? TRUE : FALSE;
      return;
    case WM_ENDSESSION:
      if (Message.WParam != 0 && mainForm_ != nullptr) mainForm_->Close();
      return;
    default: break;
  }
  Message.Result = DefWindowProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
}

// --- deferred freeing ------------------------------------------------------

void TApplication::QueueFree(TComponent* AObject) {
  if (AObject == nullptr) return;
  if (std::find(pendingFree_.begin(), pendingFree_.end(), AObject) == pendingFree_.end()) {
    pendingFree_.push_back(AObject);
    FreeNotification(AObject);
  }
  PostMessageA(Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(AObject));
}

void TApplication::FreeQueued(TComponent* object) {
  auto found = std::find(pendingFree_.begin(), pendingFree_.end(), object);
  if (found == pendingFree_.end()) return;  // already gone, or freed by a repeat request
  if (Busy(object)) {
    // Tried again whenever a message has been handled, not re-posted: a loop
    // nested in the object's own handler would only spin on the message.
    if (std::find(deferredFree_.begin(), deferredFree_.end(), object) == deferredFree_.end())
      deferredFree_.push_back(object);
    return;
  }
  pendingFree_.erase(found);
  std::erase(deferredFree_, object);
  ::Free(object);
}

void TApplication::FreeDeferred() {
  for (TComponent* object : std::vector<TComponent*>(deferredFree_)) {
    if (std::find(deferredFree_.begin(), deferredFree_.end(), object) == deferredFree_.end()) continue;
    if (!Busy(object)) FreeQueued(object);
  }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  std::erase(pendingFree_, AComponent);
  std::erase(deferredFree_, AComponent);
  if (AComponent == mouseControl_) mouseControl_ = nullptr;
  if (AComponent == hintControl_) {
    hintControl_ = nullptr;
    CancelHint();
  }
  if (AComponent == hintWindow_) hintWindow_ = nullptr;
  if (AComponent == mainForm_) mainForm_ = nullptr;
}

// --- enter and leave -------------------------------------------------------

void TApplication::UpdateMouseControl() {
  TControl* found = nullptr;
  POINT p{};
  if (Pointer().GetCursorPos(&p)) {
    HWND wnd = Pointer().WindowFromPoint(p);
    TWinControl* windowed = TWinControl::FindControl(wnd);
    if (windowed != nullptr && (wnd == nullptr || GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId())) {
      found = windowed;
      // Descend through children the system does not report (disabled windows, windowless ones).
      while (auto* container = dynamic_cast<TWinControl*>(found)) {
        if (!container->HandleAllocated()) break;
        POINT local = p;
        ::ScreenToClient(container->Handle(), &local);
        TControl* child = container->ControlAtPos(Point(local.x, local.y), true, true);
        if (child == nullptr) break;
        found = child;
      }
    }
  }
  if (found == hintWindow_ && found != nullptr) return;
  if (found == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = found;
  if (found != nullptr) FreeNotification(found);
  if (old != nullptr) {
    old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  }
  if (found != nullptr && mouseControl_ == found) {
    found->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(found));
    TWinControl* windowed = dynamic_cast<TWinControl*>(found);
    if (windowed == nullptr) windowed = found->Parent();
    if (windowed != nullptr && windowed->HandleAllocated()) {
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, windowed->Handle(), 0};
      TrackMouseEvent(&track);
    }
  }
  // Hints follow the control under the pointer.
  bool wasShowing = hintActive_;
  if (hintActive_ || hintControl_ != nullptr) CancelHint();
  if (found != nullptr && showHint_ && found->ShowHint() && !GetShortHint(found->Hint).empty()) {
    hintControl_ = found;
    FreeNotification(found);
    StartHintTimer(wasShowing ? HintShortPause : HintPause);
  }
}

// --- hints -----------------------------------------------------------------

void TApplication::SetShowHint(bool value) {
  if (showHint_ == value) return;
  showHint_ = value;
  CancelHint();
  if (hintWindow_ != nullptr) {
    THintWindow* old = hintWindow_;
    hintWindow_ = nullptr;
    ::Free(old);
  }
}

void TApplication::StartHintTimer(int pause) {
  TimerSeam().SetTimer(Handle(), kHintShowTimer, static_cast<UINT>(std::max(pause, 1)), nullptr);
}

void TApplication::CancelHint() {
  if (handle_ != nullptr) {
    TimerSeam().KillTimer(handle_, kHintShowTimer);
    TimerSeam().KillTimer(handle_, kHintHideTimer);
  }
  if (hintWindow_ != nullptr && hintWindow_->HandleAllocated()) ShowWindow(hintWindow_->Handle(), SW_HIDE);
  hintActive_ = false;
  hintControl_ = nullptr;
}

void TApplication::ActivateHint() {
  TControl* control = hintControl_;
  if (control == nullptr || !showHint_) return;
  POINT cursor{};
  Pointer().GetCursorPos(&cursor);
  THintInfo info;
  info.HintControl = control;
  info.HintPos = Point(cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4);
  info.HintMaxWidth = Screen != nullptr ? Screen->Width() : 640;
  info.HintColor = HintColor;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(Point(cursor.x, cursor.y));
  info.HideTimeout = HintHidePause;
  info.HintStr = GetShortHint(control->Hint);
  String text = info.HintStr;
  bool canShow = true;
  OnShowHint(text, canShow, info);
  if (!canShow || text.empty()) return;
  if (hintWindow_ == nullptr) {
    hintWindow_ = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
  }
  hintWindow_->SetColor(info.HintColor);
  TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, text);
  r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
  hintWindow_->ActivateHint(r, text);
  hintActive_ = true;
  if (info.HideTimeout > 0)
    TimerSeam().SetTimer(Handle(), kHintHideTimer, static_cast<UINT>(info.HideTimeout), nullptr);
}

void TApplication::IsHintMsg(const TMsg& Msg) {
  if (!hintActive_ && hintControl_ == nullptr) return;
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP: CancelHint(); break;
    default: break;
  }
}

// --- exceptions and boxes --------------------------------------------------

void TApplication::HandleException(TObject*) {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    if (OnException.Assigned()) {
      OnException(this, e);
    } else {
      ShowException(e);
    }
  } catch (const std::exception& e) {
    Exception wrapped(e.what());
    if (OnException.Assigned()) {
      OnException(this, wrapped);
    } else {
      ShowException(wrapped);
    }
  } catch (...) {
  }
}

void TApplication::ShowException(const Exception& E) {
  String text = E.Message;
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  TCustomForm* active = Screen != nullptr ? Screen->ActiveForm() : nullptr;
  HWND owner = active != nullptr && active->HandleAllocated() ? active->Handle() : Handle();
  // A box over a form always costs it one deactivation and one activation,
  // whether or not the system moves the activation itself.
  if (active != nullptr) Screen->SetActiveForm(nullptr);
  int result = MessageBoxSeam().Show(owner, Text, Caption, Flags);
  if (active != nullptr && Screen != nullptr && Screen->ActiveForm() == nullptr) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
      if (Screen->Forms(i) == active) {
        if (active->HandleAllocated() && IsWindowVisible(active->Handle())) Screen->SetActiveForm(active);
        break;
      }
    }
  }
  return result;
}
