#include "skin/menus/ksTrayIcon.h"

#include <algorithm>
#include <cstring>

#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "framework/gui/screen.h"
#include "skin/draw/ksSystemSeam.h"

TksTrayIcon::TksTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  handle_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  data_.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data_.hWnd = handle_;
  data_.uID = kIconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kCallbackMessage;
  cycleTimer_.SetEnabled(false);
  cycleTimer_.SetInterval(0);
  cycleTimer_.SetOnTimer(Bind<&TksTrayIcon::TimerCycle>(this));
  clickTimer_.SetEnabled(false);
  clickTimer_.SetInterval(GetDoubleClickTime());
  clickTimer_.SetOnTimer(Bind<&TksTrayIcon::TimerClick>(this));
  if (Application == nullptr) return;
  if (icon_.Empty() && LoadDefaultIcon() && Application->Icon() != nullptr)
    icon_.SetHandle(CopyIcon(Application->Icon()));
  appHook_ = std::make_unique<TWindowSubclass>(
      Application->Handle(), [this](TWindowSubclass& s, TMessage& m) { HookAppProc(s, m); });
  if (TWinControl* owner = OwnerControl()) {
    hookedParent_ = owner;
    parentHook_ = std::make_unique<TksWindowProcHook>(owner, Bind<&TksTrayIcon::HookParentProc>(this));
  }
}

TksTrayIcon::~TksTrayIcon() {
  SetIconVisible(false);
  cycleTimer_.SetEnabled(false);
  clickTimer_.SetEnabled(false);
  // Undone in the reverse order of hooking.
  parentHook_.reset();
  appHook_.reset();
  DeallocateHWnd(handle_);
}

TWinControl* TksTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

void TksTrayIcon::Loaded() {
  TComponent::Loaded();
  if (OwnerControl() != nullptr && MinimizedOnStart && Application != nullptr) {
    iconVisible_ = true;
    MinimizeToTray = true;
    Application->ShowMainForm = false;
    ShowWindow(Application->Handle(), SW_HIDE);
  }
  ModifyIcon();
  if (iconVisible_)
    ShowIcon();
  else
    HideIcon();
}

void TksTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == iconList_) iconList_ = nullptr;
  if (AComponent == popupMenu_) popupMenu_ = nullptr;
  if (AComponent == hookedParent_) {
    parentHook_.reset();
    hookedParent_ = nullptr;
  }
}

// ---- the shell record ---------------------------------------------------------------

void TksTrayIcon::UpdateNotifyData() {
  data_.hIcon = icon_.Handle();
  std::memset(data_.szTip, 0, sizeof data_.szTip);
  if (!hint_.empty() && showHint_)
    std::memcpy(data_.szTip, hint_.data(), std::min(hint_.size(), sizeof data_.szTip - 1));
}

bool TksTrayIcon::Notify(DWORD message) {
  UpdateNotifyData();
  return KsSystemSeam().ShellNotifyIcon(message, &data_) != FALSE;
}

bool TksTrayIcon::ShowIcon() {
  iconVisible_ = true;
  return Notify(NIM_ADD);
}

bool TksTrayIcon::HideIcon() {
  iconVisible_ = false;
  return Notify(NIM_DELETE);
}

bool TksTrayIcon::ModifyIcon() { return Notify(NIM_MODIFY); }

void TksTrayIcon::SetIconVisible(bool value) {
  if (value)
    ShowIcon();
  else
    HideIcon();
}

void TksTrayIcon::SetIcon(TIcon* value) {
  icon_.Assign(value);
  ModifyIcon();
}

void TksTrayIcon::SetHint(const String& value) {
  hint_ = value;
  ModifyIcon();
}

void TksTrayIcon::SetShowHint(bool value) {
  showHint_ = value;
  ModifyIcon();
}

// An index always names an image of the list; an empty list loads nothing.
void TksTrayIcon::SetIconIndex(int value) {
  const int count = iconList_ != nullptr ? iconList_->Count() : 0;
  iconIndex_ = count > 0 ? std::clamp(value, 0, count - 1) : 0;
  if (count > 0) iconList_->GetIcon(iconIndex_, &icon_);
  ModifyIcon();
}

void TksTrayIcon::SetIconList(TCustomImageList* value) {
  SetComponentReference(this, iconList_, value);
  SetIconIndex(0);
}

void TksTrayIcon::SetCycleIcons(bool value) {
  cycleIcons_ = value;
  if (value) SetIconIndex(0);
  cycleTimer_.SetEnabled(value);
}

// ---- the application ------------------------------------------------------------------

void TksTrayIcon::ShowMainForm() {
  TCustomForm* form = Application != nullptr ? Application->MainForm() : nullptr;
  if (OwnerControl() == nullptr || form == nullptr) return;
  ShowWindow(Application->Handle(), SW_RESTORE);
  form->SetVisible(true);
  if (form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
}

void TksTrayIcon::HideMainForm() {
  TCustomForm* form = Application != nullptr ? Application->MainForm() : nullptr;
  if (OwnerControl() == nullptr || form == nullptr) return;
  form->SetVisible(false);
  ShowWindow(Application->Handle(), SW_HIDE);
}

void TksTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}

// The index the cycling timer moves to next.
void TksTrayIcon::DoCycle() {
  const int count = iconList_ != nullptr ? iconList_->Count() : 0;
  OnCycle(this, iconIndex_ + 1 < count ? iconIndex_ + 1 : 0);
}

void TksTrayIcon::PopupAtCursor() {
  if (popupMenu_ == nullptr || !popupMenu_->AutoPopup) return;
  POINT p{};
  if (!Pointer().GetCursorPos(&p)) return;
  Application->ProcessMessages();
  TPopupMenu* menu = popupMenu_;  // the pump may have cleared it
  if (menu == nullptr) return;
  SetForegroundWindow(handle_);
  TWinControl* owner = OwnerControl();
  if (owner != nullptr) SetForegroundWindow(owner->Handle());
  menu->SetPopupComponent(this);
  menu->Popup(p.x, p.y);
  if (owner != nullptr) PostMessageA(owner->Handle(), WM_NULL, 0, 0);
}

// ---- messages -------------------------------------------------------------------------

void TksTrayIcon::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case kCallbackMessage:
      if (Enabled) ShellCallback(static_cast<UINT>(Message.LParam));
      return;
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY: Message.Result = 1; return;
  }
  Message.Result = DefWindowProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
}

void TksTrayIcon::ShellCallback(UINT mouseMessage) {
  POINT p{};
  Pointer().GetCursorPos(&p);
  TShiftState shift = 0;
  if (Pointer().GetAsyncKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (Pointer().GetAsyncKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (Pointer().GetAsyncKeyState(VK_MENU) < 0) shift |= ssAlt;
  switch (mouseMessage) {
    case WM_MOUSEMOVE: MouseMove(shift, p.x, p.y); break;
    case WM_LBUTTONDOWN:
      clickTimer_.SetEnabled(false);
      clickTimer_.SetEnabled(true);
      MouseDown(mbLeft, shift | ssLeft, p.x, p.y);
      leftDown_ = true;
      if (PopupByLeftButton) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (leftDown_) {
        clickPending_ = true;
        if (!clickTimer_.Enabled()) {
          clickPending_ = doubleClicked_ = false;
          Click();
        }
      }
      leftDown_ = false;
      MouseUp(mbLeft, shift | ssLeft, p.x, p.y);
      break;
    case WM_LBUTTONDBLCLK:
      clickPending_ = false;
      doubleClicked_ = true;
      DblClick();
      if (popupMenu_ != nullptr && popupMenu_->AutoPopup && !PopupByLeftButton) {
        TMenuItem* items = popupMenu_->Items();
        for (int i = 0; i < items->Count(); ++i) {
          if (!items->Items(i)->Default()) continue;
          items->Items(i)->Click();
          break;
        }
      }
      break;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, shift | ssRight, p.x, p.y);
      PopupAtCursor();
      break;
    case WM_RBUTTONUP: MouseUp(mbRight, shift | ssRight, p.x, p.y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift | ssMiddle, p.x, p.y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift | ssMiddle, p.x, p.y); break;
    default: break;
  }
}

void TksTrayIcon::TimerClick(TObject*) {
  clickTimer_.SetEnabled(false);
  if (!doubleClicked_ && clickPending_) {
    clickPending_ = false;
    Click();
  }
  doubleClicked_ = false;
}

void TksTrayIcon::TimerCycle(TObject*) {
  const int count = iconList_ != nullptr ? iconList_->Count() : 0;
  if (count == 0) return;
  iconList_->GetIcon(std::clamp(iconIndex_, 0, count - 1), &icon_);
  DoCycle();
  ModifyIcon();
  SetIconIndex(iconIndex_ >= count - 1 ? 0 : iconIndex_ + 1);
}

void TksTrayIcon::HookAppProc(TWindowSubclass& subclass, TMessage& Message) {
  if (Message.Msg == WM_SIZE && Message.WParam == SIZE_MINIMIZED && MinimizeToTray) DoMinimizeToTray();
  if (Message.Msg == WM_WINDOWPOSCHANGED && firstPosChange_ && Application->MainForm() != nullptr) {
    if (Application->MainForm()->FormStyle() == fsMDIForm && MinimizedOnStart) ShowWindow(Application->Handle(), SW_HIDE);
    firstPosChange_ = false;
  }
  if (Message.Msg == taskbarCreated_ && iconVisible_) ShowIcon();
  subclass.CallPrevious(Message);
}

void TksTrayIcon::HookParentProc(TMessage& Message) {
  const TWndMethodEvent previous = parentHook_->Previous();
  const WORD state = LOWORD(Message.WParam);
  TWinControl* active = Screen != nullptr ? Screen->ActiveControl() : nullptr;
  // Only a control on the owner form: another form's may be on its way out.
  if (Message.Msg == WM_ACTIVATE && (state == WA_ACTIVE || state == WA_CLICKACTIVE) && active != nullptr &&
      GetParentForm(active) == hookedParent_ && active->HandleAllocated()) {
    HWND losing = reinterpret_cast<HWND>(Message.LParam);
    HWND parent = active->Parent() != nullptr && active->Parent()->HandleAllocated() ? active->Parent()->Handle()
                                                                                      : active->Handle();
    if (losing != parent) ::SetFocus(active->Handle());
  }
  if (Message.Msg == WM_SHOWWINDOW && Message.WParam == 1 && Message.LParam == 0) {
    ShowWindow(Application->Handle(), SW_RESTORE);
    SetForegroundWindow(Application->Handle());
    if (hookedParent_ != nullptr) SetForegroundWindow(hookedParent_->Handle());
  }
  previous(Message);
}
