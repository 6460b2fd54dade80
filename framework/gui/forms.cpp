#include "framework/gui/forms.h"

#include <algorithm>

#include "framework/core/seams.h"

#include "framework/gui/application.h"
#include "framework/gui/screen.h"

namespace {

bool SameProcess(HWND wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  return pid == GetCurrentProcessId();
}

bool IsFormWindow(HWND wnd) { return dynamic_cast<TCustomForm*>(FindWindowTarget(wnd)) != nullptr; }

// Every windowed control under `parent`, in tab order, depth first.
void CollectTabOrder(const TWinControl* parent, std::vector<TWinControl*>& out) {
  for (TWinControl* c : parent->TabList()) {
    out.push_back(c);
    CollectTabOrder(c, out);
  }
}

struct DisabledWindows {
  DWORD thread;
  HWND keep;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND wnd, LPARAM data) {
  auto* state = reinterpret_cast<DisabledWindows*>(data);
  if (wnd != state->keep && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    state->list.push_back(wnd);
    EnableWindow(wnd, FALSE);
  }
  return TRUE;
}

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), icon_(std::make_unique<TIcon>()), canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
  icon_->OnChange = Bind<&TCustomForm::IconChanged>(this);
  visible_ = false;
  controlStyle_ |= csAcceptsControls;
  width_ = 320;
  height_ = 240;
  if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Screen != nullptr) Screen->RemoveForm(this);
}

void TCustomForm::BeforeDestruction() {
  if (ComponentState() & csDestroying) return;
  OnDestroy(this);
  if (Screen != nullptr) Screen->RemoveForm(this);
  TWinControl::BeforeDestruction();
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  OnCreate(this);
}

// --- window style ----------------------------------------------------------

DWORD TCustomForm::FrameStyle() const {
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style |= WS_POPUP | WS_CAPTION; break;
  }
  if (borderStyle_ != bsNone) {
    if (borderIcons_ & biSystemMenu) style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_ & biMinimize) style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

DWORD TCustomForm::FrameExStyle() const {
  DWORD ex = 0;
  if (borderStyle_ == bsDialog) ex |= WS_EX_DLGMODALFRAME;
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) ex |= WS_EX_TOOLWINDOW;
  if ((borderIcons_ & biHelp) && borderStyle_ == bsDialog) ex |= WS_EX_CONTEXTHELP;
  if (formStyle_ == fsStayOnTop) ex |= WS_EX_TOPMOST;
  if (alphaBlend_) ex |= WS_EX_LAYERED;
  return ex;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  if (parent_ != nullptr) return;  // a form placed inside a control is a child window
  Params.Style = FrameStyle();
  Params.ExStyle = FrameExStyle();
  Params.WndParent = Application != nullptr ? Application->Handle() : nullptr;
  Params.WindowClass.style = CS_DBLCLKS;
  if (formStyle_ == fsMDIChild) {
    // A child window of the MDICLIENT of its owner, when that is an MDI form, else of the main form.
    TCustomForm* frame = dynamic_cast<TCustomForm*>(Owner());
    if ((frame == nullptr || frame->FormStyle() != fsMDIForm) && Application != nullptr) frame = Application->MainForm();
    if (frame == nullptr || frame == this || frame->FormStyle() != fsMDIForm)
      throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    frame->HandleNeeded();
    Params.Style = (Params.Style & ~WS_POPUP) | WS_CHILD;
    Params.ExStyle |= WS_EX_MDICHILD;
    Params.WndParent = frame->ClientHandle();
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (menu_ != nullptr && parent_ == nullptr) menu_->SetWindow(handle_);
  if (formStyle_ == fsMDIForm && parent_ == nullptr) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = WindowMenu != nullptr ? WindowMenu->Handle() : nullptr;
    ccs.idFirstChild = 0xFF00;
    RECT r;
    GetClientRect(handle_, &r);
    clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                    0, 0, r.right, r.bottom, handle_, nullptr, GetModuleHandleA(nullptr), &ccs);
    if (clientHandle_ == nullptr) throw EOutOfResources("Error creating window");
  }
  if (icon_->HandleAllocated()) SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
  if (alphaBlend_) SetAlphaBlendValue(alphaBlendValue_);
}

void TCustomForm::ApplyFrameStyle() {
  if (handle_ == nullptr || parent_ != nullptr) return;
  // The window is kept: others subclass it.
  DWORD keep = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
  SetWindowLongA(handle_, GWL_STYLE, static_cast<LONG>(FrameStyle() | keep));
  DWORD exKeep = static_cast<DWORD>(GetWindowLongA(handle_, GWL_EXSTYLE)) & ~(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP | WS_EX_TOPMOST | WS_EX_LAYERED);
  SetWindowLongA(handle_, GWL_EXSTYLE, static_cast<LONG>(FrameExStyle() | exKeep));
  SetWindowPos(handle_, formStyle_ == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomForm::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  ApplyFrameStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (borderIcons_ == value) return;
  borderIcons_ = value;
  ApplyFrameStyle();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (formStyle_ == value) return;
  if (handle_ != nullptr && (value == fsMDIChild || value == fsMDIForm || formStyle_ == fsMDIChild ||
                             formStyle_ == fsMDIForm))
    throw EInvalidOperation("Cannot change the form style of a form that has a window");
  formStyle_ = value;
  ApplyFrameStyle();
}

void TCustomForm::SetWindowState(TWindowState value) {
  if (windowState_ == value) return;
  windowState_ = value;
  if (handle_ != nullptr && visible_) {
    static const int kShow[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(handle_, kShow[value]);
  }
}

void TCustomForm::SetAlphaBlend(bool value) {
  if (alphaBlend_ == value) return;
  alphaBlend_ = value;
  ApplyFrameStyle();
  if (value) SetAlphaBlendValue(alphaBlendValue_);
}

void TCustomForm::SetAlphaBlendValue(BYTE value) {
  alphaBlendValue_ = value;
  if (handle_ == nullptr || !alphaBlend_) return;
  using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  auto fn = reinterpret_cast<SetLayered>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")));
  if (fn != nullptr) fn(handle_, 0, value, LWA_ALPHA);
}

void TCustomForm::DestroyWnd() {
  TWinControl::DestroyWnd();
  clientHandle_ = nullptr;  // went with the frame
}

void TCustomForm::SetIcon(TIcon* value) {
  if (value == nullptr) {
    icon_->SetHandle(nullptr);
  } else {
    icon_->Assign(value);
  }
  IconChanged(icon_.get());
}

void TCustomForm::IconChanged(TObject*) {
  if (handle_ != nullptr)
    SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
}

void TCustomForm::SetMenu(TMainMenu* value) {
  if (menu_ == value) return;
  if (menu_ != nullptr) menu_->SetWindow(nullptr);
  menu_ = value;
  if (value != nullptr) FreeNotification(value);
  if (handle_ == nullptr || parent_ != nullptr) return;
  if (value != nullptr) {
    value->SetWindow(handle_);
  } else {
    ::SetMenu(handle_, nullptr);
  }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == menu_) {
    menu_ = nullptr;
    if (handle_ != nullptr && !(ComponentState() & csDestroying)) ::SetMenu(handle_, nullptr);
  }
  if (AComponent == activeControl_) activeControl_ = nullptr;
  if (AComponent == focusedControl_) focusedControl_ = nullptr;
}

void TCustomForm::WMCommand(TMessage& Message) {
  // Menu commands come with no control window.
  if (Message.LParam == 0 && HIWORD(Message.WParam) <= 1 && menu_ != nullptr &&
      menu_->DispatchCommand(LOWORD(Message.WParam))) {
    Message.Result = 0;
    return;
  }
  WMReflected(Message);
}

void TCustomForm::WMInitMenuPopup(TMessage& Message) {
  if (menu_ != nullptr && menu_->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
  DefaultHandler(Message);
}

// --- showing ---------------------------------------------------------------

// A centred form is centred again at every showing: a dialog follows the main window
// wherever it was moved. The main window itself keeps the place the user gave it.
void TCustomForm::PlaceOnScreen() {
  if (parent_ != nullptr || Screen == nullptr) return;
  if (placed_ && Application != nullptr && Application->MainForm() == this) return;
  placed_ = true;
  TRect area;
  if (Position == poScreenCenter || Position == poDesktopCenter) {
    area = Screen->WorkAreaRect();
  } else if ((Position == poMainFormCenter || Position == poOwnerFormCenter) && Application != nullptr &&
             Application->MainForm() != nullptr && Application->MainForm() != this) {
    area = Application->MainForm()->BoundsRect();
  } else {
    return;
  }
  int x = area.Left + (area.Width() - width_) / 2;
  int y = area.Top + (area.Height() - height_) / 2;
  TRect work = Screen->WorkAreaRect();
  x = std::max(work.Left, std::min(x, work.Right - width_));
  y = std::max(work.Top, std::min(y, work.Bottom - height_));
  SetBounds(x, y, width_, height_);
}

void TCustomForm::UpdateShowing() {
  if (parent_ != nullptr) {
    TWinControl::UpdateShowing();
    return;
  }
  if (visible_) {
    PlaceOnScreen();
    HWND wnd = Handle();
    DoShow();
    static const int kShow[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(wnd, kShow[windowState_]);
    if (activeControl_ != nullptr && activeControl_->CanFocus() && GetActiveWindow() == wnd)
      ::SetFocus(activeControl_->Handle());
  } else if (handle_ != nullptr) {
    DoHide();
    ShowWindow(handle_, SW_HIDE);
  }
}

void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }

bool TCustomForm::Active() const { return Screen != nullptr && Screen->ActiveForm() == this; }

int TCustomForm::ShowModal() {
  if (visible_ || !enabled_ || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  if (Application == nullptr) throw EInvalidOperation("A modal form needs the application's message loop");
  if (GetCapture() != nullptr) SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  modal_ = true;
  HWND previous = GetActiveWindow();
  DisabledWindows disabled{GetCurrentThreadId(), Handle(), {}};
  EnumThreadWindows(disabled.thread, DisableOne, reinterpret_cast<LPARAM>(&disabled));
  modalResult_ = mrNone;
  auto restore = [&] {
    SetVisible(false);
    for (HWND wnd : disabled.list)
      if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    if (previous != nullptr && IsWindow(previous)) SetActiveWindow(previous);
    modal_ = false;
  };
  try {
    SetVisible(true);
    if (handle_ != nullptr) SetActiveWindow(handle_);
    while (true) {
      Application->HandleMessage();
      if (Application->Terminated()) break;
      if (modalResult_ != mrNone) {
        CloseModal();
        if (modalResult_ != mrNone) break;
      }
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return modalResult_;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caHide;
  if (!CloseQuery()) {
    action = caNone;
  } else {
    DoClose(action);
  }
  if (action == caNone) modalResult_ = mrNone;
  else if (action == caFree) Release();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) { OnClose(this, Action); }

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;  // the modal loop closes once the handler returns
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application != nullptr && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  if (Application != nullptr) Application->QueueFree(this);
}

void TCustomForm::CMRelease(TMessage&) { Release(); }

// --- focus -----------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control != nullptr && (control == this || !ContainsControl(control)))
    throw EInvalidOperation("Cannot focus a control that is not on the form");
  activeControl_ = control;
  if (control != nullptr && handle_ != nullptr && visible_ && GetActiveWindow() == handle_ && control->CanFocus())
    ::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
  activeControl_ = control;
  if (control != nullptr && handle_ != nullptr && visible_ && control->CanFocus()) ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == focusedControl_) return;
  TWinControl* old = focusedControl_;
  focusedControl_ = control;
  if (control != this) activeControl_ = control;
  if (Screen != nullptr && Screen->ActiveForm() == this) Screen->SetActiveControl(activeControl_);
  TWinControl* common = control;
  while (common != nullptr && !common->ContainsControl(old)) common = common->Parent();
  for (TWinControl* p = old; p != nullptr && p != common; p = p->Parent()) p->Perform(CM_EXIT);
  std::vector<TWinControl*> chain;
  for (TWinControl* p = control; p != nullptr && p != common; p = p->Parent()) chain.push_back(p);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoved(TWinControl* control) {
  if (control == nullptr) return;
  if (activeControl_ != nullptr && control->ContainsControl(activeControl_)) activeControl_ = nullptr;
  if (focusedControl_ != nullptr && control->ContainsControl(focusedControl_)) {
    focusedControl_ = nullptr;
    if (handle_ != nullptr && control->HandleAllocated() &&
        (GetFocus() == control->Handle() || IsChild(control->Handle(), GetFocus())))
      ::SetFocus(handle_);
  }
  if (Screen != nullptr && Screen->ActiveControl() != nullptr && control->ContainsControl(Screen->ActiveControl()))
    Screen->SetActiveControl(nullptr);
}

void TCustomForm::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  std::vector<TWinControl*> order;
  TWinControl* scope = this;
  if (!CheckTabStop && CurControl != nullptr && CurControl->Parent() != nullptr) scope = CurControl->Parent();
  if (CheckTabStop) {
    CollectTabOrder(scope, order);
  } else {
    order = scope->TabList();
  }
  if (order.empty()) return;
  if (!GoForward) std::reverse(order.begin(), order.end());
  auto start = std::find(order.begin(), order.end(), CurControl);
  size_t first = start == order.end() ? 0 : static_cast<size_t>(start - order.begin()) + 1;
  for (size_t i = 0; i < order.size(); ++i) {
    TWinControl* c = order[(first + i) % order.size()];
    if (c == CurControl) break;
    if (c->CanFocus() && (!CheckTabStop || c->TabStop())) {
      c->SetFocus();
      return;
    }
  }
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  TWMKey key(Message);
  bool handled = false;
  OnShortCut(key, handled);
  if (handled) return true;
  if (menu_ != nullptr && menu_->IsShortCut(key)) return true;
  // The popup menus of the focused control and of its parents.
  for (TControl* c = activeControl_; c != nullptr; c = c->Parent())
    if (c->PopupMenu() != nullptr && c->PopupMenu()->IsShortCut(key)) return true;
  return false;
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  WORD key = LOWORD(Message.WParam);
  bool alt = (Message.LParam & 0x20000000) != 0;
  bool ctrl = Pointer().GetKeyState(VK_CONTROL) < 0;
  if (key == VK_TAB && !alt && !ctrl) {
    SelectNext(activeControl_, Pointer().GetKeyState(VK_SHIFT) >= 0, true);
    Message.Result = 1;
    return;
  }
  if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && !alt && !ctrl &&
      activeControl_ != nullptr) {
    SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN, false);
    Message.Result = 1;
    return;
  }
  TWinControl::CMDialogKey(Message);
}

// --- painting --------------------------------------------------------------

void TCustomForm::PaintWindow(HDC DC) {
  if (!OnPaint.Assigned()) return;
  TCanvasDCBinding binding(*canvas_, DC);
  Paint();
}

void TCustomForm::Paint() { OnPaint(this); }

// --- messages --------------------------------------------------------------

void TCustomForm::Activate() { OnActivate(this); }
void TCustomForm::Deactivate() { OnDeactivate(this); }
void TCustomForm::CMActivate(TMessage&) { Activate(); }
void TCustomForm::CMDeactivate(TMessage&) { Deactivate(); }

void TCustomForm::WMActivate(TMessage& Message) {
  TWMActivate activate(Message);
  if (activate.Active() != WA_INACTIVE) {
    if (Screen != nullptr) Screen->SetActiveForm(this);
    if (!activate.Minimized() && handle_ != nullptr) {
      if (activeControl_ != nullptr && activeControl_->CanFocus()) {
        ::SetFocus(activeControl_->Handle());
      } else {
        ::SetFocus(handle_);
      }
    }
    Message.Result = 0;
    return;
  }
  // Towards another window of ours that is no form (a message box): this form
  // is no longer active. A form being activated takes over in its own message;
  // another application changes nothing here.
  HWND other = activate.ActiveWindow();
  if (other != nullptr && SameProcess(other) && !IsFormWindow(other) && Screen != nullptr &&
      Screen->ActiveForm() == this)
    Screen->SetActiveForm(nullptr);
  Message.Result = 0;
}

void TCustomForm::WMClose(TMessage&) { Close(); }

// --- MDI -------------------------------------------------------------------

void TCustomForm::DefaultHandler(TMessage& Message) {
  if (handle_ != nullptr && parent_ == nullptr) {
    if (formStyle_ == fsMDIForm) {
      Message.Result = DefFrameProcA(handle_, clientHandle_, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    if (formStyle_ == fsMDIChild) {
      Message.Result = DefMDIChildProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
  }
  TWinControl::DefaultHandler(Message);
}

void TCustomForm::WMMDIActivate(TMessage& Message) {
  // LParam is the child being activated, WParam the one losing activation.
  if (reinterpret_cast<HWND>(Message.LParam) == handle_) {
    Perform(CM_ACTIVATE, 0, 0);
  } else if (reinterpret_cast<HWND>(Message.WParam) == handle_) {
    Perform(CM_DEACTIVATE, 0, 0);
  }
  DefaultHandler(Message);
}

TCustomForm* TCustomForm::ActiveMDIChild() {
  if (formStyle_ != fsMDIForm || clientHandle_ == nullptr) return nullptr;
  auto wnd = reinterpret_cast<HWND>(SendMessageA(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return wnd != nullptr ? dynamic_cast<TCustomForm*>(FindWindowTarget(wnd)) : nullptr;
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() {
  std::vector<TCustomForm*> children;
  if (formStyle_ != fsMDIForm || clientHandle_ == nullptr) return children;
  for (HWND wnd = GetWindow(clientHandle_, GW_CHILD); wnd != nullptr; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
    auto* form = dynamic_cast<TCustomForm*>(FindWindowTarget(wnd));
    if (form != nullptr && form->FormStyle() == fsMDIChild) children.push_back(form);
  }
  return children;
}

int TCustomForm::MDIChildCount() { return static_cast<int>(MDIChildList().size()); }

TCustomForm* TCustomForm::MDIChildren(int index) {
  auto children = MDIChildList();
  if (index < 0 || static_cast<size_t>(index) >= children.size())
    throw EListError(Format("List index out of bounds (%d)", index));
  return children[static_cast<size_t>(index)];
}

void TCustomForm::Cascade() {
  if (clientHandle_ != nullptr) SendMessageA(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  if (clientHandle_ != nullptr) SendMessageA(clientHandle_, WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TCustomForm::Next() {
  if (clientHandle_ != nullptr) SendMessageA(clientHandle_, WM_MDINEXT, 0, FALSE);
}

void TCustomForm::Previous() {
  if (clientHandle_ != nullptr) SendMessageA(clientHandle_, WM_MDINEXT, 0, TRUE);
}

void TCustomForm::WMSize(TMessage& Message) {
  TWinControl::WMSize(Message);
  switch (Message.WParam) {
    case SIZE_MINIMIZED: windowState_ = wsMinimized; break;
    case SIZE_MAXIMIZED: windowState_ = wsMaximized; break;
    case SIZE_RESTORED: windowState_ = wsNormal; break;
    default: break;
  }
}

void TCustomForm::WMSysCommand(TMessage& Message) {
  if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Application != nullptr && Application->MainForm() == this) {
    Application->Minimize();
    return;
  }
  DefaultHandler(Message);
}

void TCustomForm::WMQueryEndSession(TMessage& Message) { Message.Result = CloseQuery() ? TRUE : FALSE; }

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_CLOSE: WMClose(Message); break;
    case WM_MDIACTIVATE: WMMDIActivate(Message); break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    case WM_QUERYENDSESSION: WMQueryEndSession(Message); break;
    case CM_ACTIVATE: CMActivate(Message); break;
    case CM_DEACTIVATE: CMDeactivate(Message); break;
    case CM_RELEASE: CMRelease(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_INITMENUPOPUP: WMInitMenuPopup(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}
