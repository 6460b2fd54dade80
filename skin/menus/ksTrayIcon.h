// The tray icon: one icon in the notification area, the shell's callbacks turned
// into click, double-click and mouse events, a popup menu at the cursor, icon
// cycling from an image list, and hiding the application to the tray when it
// is minimized.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "framework/core/icon.h"
#include "framework/gui/control.h"
#include "framework/gui/imagelist.h"
#include "framework/gui/menus.h"
#include "framework/gui/timer.h"
#include "framework/gui/wndproc.h"
#include "skin/frame/ksWindowProcHook.h"

using TksCycleEvent = TEvent<void(TObject* Sender, int NextIndex)>;

class TksTrayIcon : public TComponent {
 public:
  static constexpr UINT kCallbackMessage = 0x800;
  static constexpr UINT kIconId = 1;

  explicit TksTrayIcon(TComponent* AOwner);
  ~TksTrayIcon() override;
  void Loaded() override;

  bool Enabled = true;
  TIcon* Icon() { return &icon_; }
  void SetIcon(TIcon* value);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool value);
  const String& Hint() const { return hint_; }
  void SetHint(const String& value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value) { SetComponentReference(this, popupMenu_, value); }
  bool PopupByLeftButton = false;
  bool MinimizedOnStart = false;
  bool MinimizeToTray = true;
  TCustomImageList* IconList() const { return iconList_; }
  void SetIconList(TCustomImageList* value);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int value);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool value);
  UINT AnimateTimerInterval() const { return cycleTimer_.Interval(); }
  void SetAnimateTimerInterval(UINT value) { cycleTimer_.SetInterval(value); }

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TksCycleEvent OnCycle;

  virtual bool LoadDefaultIcon() { return true; }
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();

  void ShowMainForm();
  void HideMainForm();
  void PopupAtCursor();

  // The message window the shell calls back, the record it is given, the two timers.
  HWND Handle() const { return handle_; }
  const NOTIFYICONDATAA& NotifyData() const { return data_; }
  TTimer* ClickTimer() { return &clickTimer_; }
  TTimer* CycleTimer() { return &cycleTimer_; }
  UINT TaskbarCreatedMessage() const { return taskbarCreated_; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void Click() { OnClick(this); }
  virtual void DblClick() { OnDblClick(this); }
  virtual void DoCycle();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
  virtual void MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
  virtual void DoMinimizeToTray();

 private:
  void WndProc(TMessage& Message);
  void ShellCallback(UINT mouseMessage);
  bool Notify(DWORD message);
  void UpdateNotifyData();
  void TimerClick(TObject* Sender);
  void TimerCycle(TObject* Sender);
  void HookAppProc(TWindowSubclass& subclass, TMessage& Message);
  void HookParentProc(TMessage& Message);
  TWinControl* OwnerControl() const;

  TIcon icon_;
  bool iconVisible_ = true;
  String hint_;
  bool showHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  TCustomImageList* iconList_ = nullptr;
  int iconIndex_ = 0;
  bool cycleIcons_ = false;
  NOTIFYICONDATAA data_{};
  HWND handle_ = nullptr;
  TTimer cycleTimer_{nullptr};
  TTimer clickTimer_{nullptr};
  bool leftDown_ = false, clickPending_ = false, doubleClicked_ = false, firstPosChange_ = true;
  UINT taskbarCreated_ = 0;
  std::unique_ptr<TWindowSubclass> appHook_;
  TWinControl* hookedParent_ = nullptr;
  std::unique_ptr<TksWindowProcHook> parentHook_;
};
