// Window messages as the controls see them: TMessage, typed views over it, and
// the private control (CM_*) and reflected (CN_*) message numbers.
#pragma once

#include <windows.h>

// One message on its way through WindowProc; handlers set Result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

using TMsg = MSG;

// Typed views: each reads and writes the TMessage it was made over.
class TMessageView {
 public:
  explicit TMessageView(TMessage& message) : Message(message) {}
  UINT Msg() const { return Message.Msg; }
  LRESULT Result() const { return Message.Result; }
  void SetResult(LRESULT r) { Message.Result = r; }

  TMessage& Message;
};

class TWMKey : public TMessageView {
 public:
  using TMessageView::TMessageView;
  WORD CharCode() const { return LOWORD(Message.WParam); }
  void SetCharCode(WORD code) { Message.WParam = code; }
  LONG KeyData() const { return static_cast<LONG>(Message.LParam); }
};

class TWMMouse : public TMessageView {
 public:
  using TMessageView::TMessageView;
  UINT Keys() const { return static_cast<UINT>(Message.WParam); }
  // Client coordinates are signed 16-bit halves.
  int XPos() const { return static_cast<short>(LOWORD(Message.LParam)); }
  int YPos() const { return static_cast<short>(HIWORD(Message.LParam)); }
};

class TWMPaint : public TMessageView {
 public:
  using TMessageView::TMessageView;
  HDC DC() const { return reinterpret_cast<HDC>(Message.WParam); }
};

class TWMEraseBkgnd : public TMessageView {
 public:
  using TMessageView::TMessageView;
  HDC DC() const { return reinterpret_cast<HDC>(Message.WParam); }
};

class TWMCommand : public TMessageView {
 public:
  using TMessageView::TMessageView;
  WORD ItemID() const { return LOWORD(Message.WParam); }
  WORD NotifyCode() const { return HIWORD(Message.WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(Message.LParam); }
};

class TWMNotify : public TMessageView {
 public:
  using TMessageView::TMessageView;
  int IDCtrl() const { return static_cast<int>(Message.WParam); }
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(Message.LParam); }
};

class TWMDrawItem : public TMessageView {
 public:
  using TMessageView::TMessageView;
  UINT Ctl() const { return static_cast<UINT>(Message.WParam); }
  DRAWITEMSTRUCT* DrawItemStruct() const { return reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam); }
};

class TWMMeasureItem : public TMessageView {
 public:
  using TMessageView::TMessageView;
  UINT IDCtl() const { return static_cast<UINT>(Message.WParam); }
  MEASUREITEMSTRUCT* MeasureItemStruct() const {
    return reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  }
};

class TWMNCHitTest : public TMessageView {
 public:
  using TMessageView::TMessageView;
  int XPos() const { return static_cast<short>(LOWORD(Message.LParam)); }
  int YPos() const { return static_cast<short>(HIWORD(Message.LParam)); }
};

class TWMActivate : public TMessageView {
 public:
  using TMessageView::TMessageView;
  WORD Active() const { return LOWORD(Message.WParam); }
  bool Minimized() const { return HIWORD(Message.WParam) != 0; }
  HWND ActiveWindow() const { return reinterpret_cast<HWND>(Message.LParam); }
};

class TCMDialogKey : public TMessageView {
 public:
  using TMessageView::TMessageView;
  WORD CharCode() const { return LOWORD(Message.WParam); }
  LONG KeyData() const { return static_cast<LONG>(Message.LParam); }
};

class TControl;

class TCMFocusChanged : public TMessageView {
 public:
  using TMessageView::TMessageView;
  TControl* Sender() const { return reinterpret_cast<TControl*>(Message.LParam); }
};

// Private control messages. Only CM_MOUSEENTER and CM_MOUSELEAVE are fixed for
// code outside the framework; nothing here touches the WM_USER range, which the
// skin library uses on forms.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0x00;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 0x01;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 0x04;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x07;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 0x08;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 0x09;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x0B;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0D;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0E;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;
inline constexpr UINT CM_ENTER = CM_BASE + 0x1A;
inline constexpr UINT CM_EXIT = CM_BASE + 0x1B;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 0x1E;
inline constexpr UINT CM_RELEASE = CM_BASE + 0x21;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 0x22;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 0x33;
inline constexpr UINT CM_SYNCHRONIZE = CM_BASE + 0x50;

// Notifications reflected to the child control they concern, and keys
// preprocessed by the application loop: CN_BASE + the WM_ number.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

static_assert(CM_MOUSEENTER == 0xB013 && CM_MOUSELEAVE == 0xB014);
static_assert(CN_COMMAND == 0xBD11);
