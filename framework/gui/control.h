// TControl: the base of every visible control, windowed or not.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/core/classes.h"
#include "framework/core/colors.h"
#include "framework/core/delegate.h"
#include "framework/core/gdiobjects.h"
#include "framework/core/types.h"
#include "framework/gui/messages.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = unsigned;

enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1,
  csCaptureMouse = 2,
  csClickEvents = 4,
  csSetCaption = 8,
  csOpaque = 16,
  csDoubleClicks = 32,
  csReplicatable = 64,
  csNoDesignVisible = 128,
};
using TControlStyle = unsigned;

enum TControlStateFlag : unsigned { csClicked = 1, csLButtonDown = 2, csFocusing = 4 };
using TControlState = unsigned;

using TCursor = int;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                         crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                         crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                         crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17,
                         crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                         crSizeAll = -22;

// The system cursor a TCursor stands for (crNone: no cursor).
HCURSOR CursorHandle(TCursor cursor);

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TCanResizeEvent = TEvent<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    TEvent<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TMouseWheelEvent =
    TEvent<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TWndMethodEvent = TEvent<void(TMessage& Message)>;

// Size limits applied in SetBounds; 0 means no limit.
struct TSizeConstraints {
  int MinWidth = 0;
  int MinHeight = 0;
  int MaxWidth = 0;
  int MaxHeight = 0;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // --- tree
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  void BringToFront();
  void SendToBack();

  // --- bounds; every setter goes through SetBounds
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().Width(); }
  int ClientHeight() { return ClientRect().Height(); }
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  virtual void SetClientSize(int AWidth, int AHeight);
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& p);
  TPoint ScreenToClient(const TPoint& p);

  // --- layout
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value) { anchors_ = value; }
  TSizeConstraints Constraints;

  // --- state
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show();
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  String Caption() { return GetText(); }
  void SetCaption(const String& value) { SetText(value); }
  String Text() { return GetText(); }
  void SetText(const String& value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  String Hint;
  // Effective: follows the parent while ParentShowHint.
  bool ShowHint() const;
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);
  // The action a control runs when clicked; a reference, forgotten when it goes.
  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState value) { controlState_ = value; }

  // --- painting
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // --- messages
  // Runs WindowProc; works without a window.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  void Perform(TMessage& message);
  const TWndMethodEvent& WindowProc() const { return windowProc_; }
  void SetWindowProc(TWndMethodEvent value) { windowProc_ = std::move(value); }
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // How many messages of this control are being handled right now.
  int DispatchDepth() const { return dispatchDepth_; }

  // --- mouse
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TContextPopupEvent OnContextPopup;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;

  virtual void Click();
  virtual void DblClick();

  // Inert members kept for callers.
  bool DragMode = false;
  int HelpContext = 0;

  // A windowless control that holds the mouse (its parent holds the OS capture).
  static TControl* CaptureControl();
  static void SetCaptureControl(TControl* control);

  // Forgets a dying control as the capture holder.
  static void ControlDestroyed(TControl* control);
  // The system took the capture away from `wnd` (WM_CAPTURECHANGED).
  static void CaptureLost(HWND wnd);

 protected:
  friend class TWinControl;
  friend class TDispatchScope;
  // The text as stored; windowed controls read their window.
  virtual String GetText();
  virtual void SetTextBuf(const String& value);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  // A new action was assigned: the control takes what it shows from it.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
  virtual void Resize();
  // Asks the parent to re-lay out its aligned children.
  void RequestAlign();
  void InvalidateControl(bool isVisible, bool isOpaque);
  // Applies Constraints to a proposed size.
  void ApplyConstraints(int& w, int& h);
  virtual void VisibleChanging() {}
  void SetZOrder(bool topMost);
  // The font object changed: CM_FONTCHANGED.
  void FontChanged(TObject* Sender);

  // Named handlers for Dispatch.
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMOtherButtonDown(TMessage& Message, TMouseButton Button);
  virtual void WMOtherButtonUp(TMessage& Message, TMouseButton Button);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);

  void Notification(TComponent* AComponent, TOperation Operation) override;

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_ = akLeft | akTop;
  bool visible_ = true;
  bool enabled_ = true;
  String text_;
  TColor color_;
  bool parentColor_ = true;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  TCursor cursor_ = crDefault;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  TBasicAction* action_ = nullptr;
  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState controlState_ = 0;
  TWndMethodEvent windowProc_;
  int dispatchDepth_ = 0;
  bool settingFont_ = false;

 private:
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void SendCancelMode();
};

// The form a control sits on (walking up parents), or null.
TCustomForm* GetParentForm(TControl* control);

// Accelerator test: the character after a single '&' ("&&" is a literal),
// compared case-insensitively.
bool IsAccel(WORD VK, const String& Str);
TShiftState KeyDataToShiftState(LONG KeyData);
TShiftState KeysToShiftState(UINT keys);
// "&File" -> "File", "&&" -> "&".
String StripHotkey(const String& text);

// Keeps the dispatch depth of a control raised while one of its messages runs.
class TDispatchScope {
 public:
  explicit TDispatchScope(TControl& control);
  ~TDispatchScope();
  TDispatchScope(const TDispatchScope&) = delete;
  TDispatchScope& operator=(const TDispatchScope&) = delete;

 private:
  int& depth_;
};
