// TWinControl: a control with a window of its own, which may hold children.
#pragma once

#include <vector>

#include "framework/gui/control.h"
#include "framework/gui/wndproc.h"

// What CreateWnd passes to CreateWindowExA.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  String WinClassName;
  // The system class to superclass ("LISTBOX", "EDIT", ...), empty for our own.
  String SuperclassOf;
};

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

class TWinControl : public TControl, public TWindowTarget {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // --- window
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void RecreateWnd();
  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // --- children, in insertion order
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // The topmost visible child under a client point.
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  bool ContainsControl(TControl* Control) const;
  // Sends the message to each child until one sets a non-zero Result.
  void Broadcast(TMessage& Message);
  // Sends the message to every child; windowed children pass it on down.
  void NotifyControls(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  // --- layout
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  void ScrollBy(int DeltaX, int DeltaY);

  // --- focus
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  int TabOrder() const;
  void SetTabOrder(int value);
  // This window's children in tab order.
  std::vector<TWinControl*> TabList() const;
  virtual void SetFocus();
  bool Focused();
  virtual bool CanFocus();
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // --- keys
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // --- painting
  void PaintHandler(TMessage& Message);
  virtual void PaintWindow(HDC DC);
  void PaintControls(HDC DC, TControl* First);
  void Invalidate() override;
  void Update() override;
  void Repaint() override;

  bool Ctl3D = true;
  bool ParentCtl3D = true;
  TBorderStyle BorderStyle = bsNone;
  int BorderWidth = 0;

  // --- TWindowTarget
  void WindowAttached(HWND wnd) override;
  void WindowMessage(TMessage& Message) override;
  void WindowDetached() override;

  void DefaultHandler(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  // The framework control of a window (or of its nearest framework ancestor).
  static TWinControl* FindControl(HWND wnd);

 protected:
  friend class TControl;
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect);
  String GetText() override;
  void SetZOrderOf(TControl* control, bool topMost);
  void UpdateBounds();
  // Moves or stretches children anchored to the right or bottom edge.
  void AnchorChildren(int deltaWidth, int deltaHeight);
  // Shows or hides the window to match Visible.
  virtual void UpdateShowing();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  // True when the key was taken (form preview or a handler set it to 0).
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  // The parent form's key preview of the same message; true when the form took it.
  bool FormPreviews(TMessage& Message, bool (TWinControl::*doKey)(TMessage&));
  // A virtual key through the handler; true when the handler set it to 0.
  bool DoVirtualKey(TMessage& Message, void (TWinControl::*handler)(WORD&, TShiftState));
  // The previous window procedure of this window's class.
  WNDPROC DefWndProc() const { return defWndProc_; }
  // Which child window a reflected message concerns.
  TWinControl* ChildOfMessage(const TMessage& Message);
  int NextChildId() { return ++lastChildId_; }

  // Named handlers.
  virtual void WMPaint(TMessage& Message);
  void WMContextMenu(TMessage& Message) override;
  virtual void WMEraseBkgnd(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMMove(TMessage& Message);
  virtual void WMWindowPosChanged(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMReflected(TMessage& Message);
  virtual void WMCtlColor(TMessage& Message);
  virtual void WMNCDestroy(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CNCtlColor(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMFocusChanged(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMRecreateWnd(TMessage& Message);
  void RecreateKeepingFocus();
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;

  // The control itself is going (not merely its window being re-created).
  bool Destroying() const { return destroying_; }

  HWND handle_ = nullptr;
  bool destroying_ = false;
  WNDPROC defWndProc_ = DefWindowProcA;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  int alignDisabled_ = 0;
  bool alignPending_ = false;
  int ctlId_ = 0;
  int lastChildId_ = 0;
  HBRUSH brush_ = nullptr;  // colour answers to WM_CTLCOLOR*
  COLORREF brushColor_ = CLR_INVALID;
};
