#include "framework/gui/wincontrol.h"

#include <algorithm>

#include "framework/core/seams.h"

#include "framework/gui/forms.h"
#include "framework/gui/screen.h"

namespace {

bool IsMouseClientMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL;
}

bool IsPrivateMessage(UINT msg) { return msg >= CM_BASE && msg < 0xC000; }

bool IsPopupWindow(TControl* control) {
  auto* windowed = dynamic_cast<TWinControl*>(control);
  return windowed != nullptr && windowed->HandleAllocated() &&
         (GetWindowLongPtrA(windowed->Handle(), GWL_STYLE) & WS_POPUP) != 0;
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  destroying_ = true;
  while (!controls_.empty()) ::Free(controls_.back());
  // A plain delete: leave the parent while still a windowed control, so that the form
  // forgets this one as its active or focused control.
  if (parent_ != nullptr) parent_->RemoveControl(this);
  DestroyHandle();
  if (brush_ != nullptr) DeleteObject(brush_);
}

void TWinControl::BeforeDestruction() {
  if (ComponentState() & csDestroying) return;
  destroying_ = true;
  // Children first (last first), then the window, then what the component owns.
  while (!controls_.empty()) ::Free(controls_.back());
  DestroyHandle();
  TControl::BeforeDestruction();
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  for (; wnd != nullptr; wnd = GetParent(wnd)) {
    if (auto* control = dynamic_cast<TWinControl*>(FindWindowTarget(wnd)); control != nullptr) return control;
  }
  return nullptr;
}

// --- window ----------------------------------------------------------------

HWND TWinControl::Handle() {
  if (handle_ == nullptr) CreateHandle();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = text_;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (controlStyle_ & csAcceptsControls) Params.Style |= WS_CLIPCHILDREN;
  if (visible_) Params.Style |= WS_VISIBLE;
  if (!enabled_) Params.Style |= WS_DISABLED;
  if (tabStop_) Params.Style |= WS_TABSTOP;
  if (BorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.X = left_;
  Params.Y = top_;
  Params.Width = width_;
  Params.Height = height_;
  Params.WndParent = parent_ != nullptr ? parent_->Handle() : nullptr;
  Params.WindowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  Params.WinClassName = ClassName();
}

void TWinControl::CreateHandle() {
  if (handle_ != nullptr) return;
  if (parent_ != nullptr && !parent_->HandleAllocated()) {
    parent_->CreateHandle();  // creates this one among its children
    if (handle_ != nullptr) return;
  }
  CreateWnd();
  for (TControl* child : std::vector<TControl*>(controls_))
    if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed != nullptr) windowed->CreateHandle();
  Realign();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (!params.SuperclassOf.empty()) {
    defWndProc_ = SuperclassFrameworkClass(params.SuperclassOf.c_str(), params.WinClassName.c_str(),
                                           params.WindowClass.style);
  } else {
    RegisterFrameworkClass(params.WinClassName.c_str(), params.WindowClass.style,
                           params.WindowClass.hCursor, params.WindowClass.hbrBackground);
    defWndProc_ = DefaultProcOf(params.WinClassName.c_str());
  }
  if ((params.Style & WS_CHILD) && params.WndParent == nullptr)
    throw EInvalidOperation("Control '" + Name + "' has no parent window");
  CreateWindowHandle(params);
  if (handle_ == nullptr) throw EOutOfResources("Error creating window");
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HMENU id = nullptr;
  if (Params.Style & WS_CHILD) {
    if (ctlId_ == 0 && parent_ != nullptr) ctlId_ = parent_->NextChildId();
    id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctlId_));
  }
  CreateFrameworkWindow(this, Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                        Params.Style, Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, id,
                        Params.Param);
}

void TWinControl::DestroyHandle() {
  if (handle_ == nullptr) return;
  for (TControl* child : std::vector<TControl*>(controls_))
    if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed != nullptr) windowed->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  text_ = GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  if (handle_ != nullptr) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (handle_ == nullptr) return;
  if (dispatchDepth_ > 0) {
    PostMessageA(handle_, CM_RECREATEWND, 0, 0);
    return;
  }
  RecreateKeepingFocus();
}

void TWinControl::CMRecreateWnd(TMessage&) {
  if (handle_ == nullptr) return;
  RecreateKeepingFocus();
}

// The focus goes with the old window: a focused control takes it back in its new one.
void TWinControl::RecreateKeepingFocus() {
  const bool focused = Focused();
  DestroyHandle();
  CreateHandle();
  if (focused) ::SetFocus(handle_);
}

void TWinControl::WindowAttached(HWND wnd) { handle_ = wnd; }

void TWinControl::WindowMessage(TMessage& Message) {
  TDispatchScope scope(*this);
  windowProc_(Message);
}

void TWinControl::WindowDetached() { handle_ = nullptr; }

TRect TWinControl::ClientRect() {
  if (handle_ == nullptr) return TControl::ClientRect();
  RECT r;
  GetClientRect(handle_, &r);
  return TRect::FromRECT(r);
}

TPoint TWinControl::ClientOrigin() {
  if (handle_ == nullptr) return TControl::ClientOrigin();
  POINT p{0, 0};
  ::ClientToScreen(handle_, &p);
  return Point(p.x, p.y);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  ApplyConstraints(AWidth, AHeight);
  if ((AWidth != width_ || AHeight != height_) && !CanResize(AWidth, AHeight)) {
    AWidth = width_;
    AHeight = height_;
  }
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  if (handle_ != nullptr && !IsIconic(handle_)) {
    SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    return;  // WM_WINDOWPOSCHANGED reads the bounds back
  }
  bool sized = AWidth != width_ || AHeight != height_;
  int dw = AWidth - width_, dh = AHeight - height_;
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  RequestAlign();
  if (sized) {
    AnchorChildren(dw, dh);
    Realign();
    Resize();
  }
}

void TWinControl::UpdateBounds() {
  if (handle_ == nullptr || IsIconic(handle_)) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
    if (HWND parentWnd = GetParent(handle_); parentWnd != nullptr)
      MapWindowPoints(HWND_DESKTOP, parentWnd, reinterpret_cast<POINT*>(&r), 2);
  }
  bool moved = r.left != left_ || r.top != top_;
  bool sized = r.right - r.left != width_ || r.bottom - r.top != height_;
  if (!moved && !sized) return;
  int dw = (r.right - r.left) - width_, dh = (r.bottom - r.top) - height_;
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  RequestAlign();
  if (sized) {
    AnchorChildren(dw, dh);
    Realign();
    Resize();
  }
}

String TWinControl::GetText() {
  if (handle_ == nullptr) return text_;
  int length = GetWindowTextLengthA(handle_);
  String text(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

// --- children --------------------------------------------------------------

void TWinControl::InsertControl(TControl* AControl) {
  if (AControl == nullptr || AControl->parent_ == this) return;
  controls_.push_back(AControl);
  AControl->parent_ = this;
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl); windowed != nullptr) {
    tabList_.push_back(windowed);
    if (handle_ != nullptr) windowed->CreateHandle();
  }
  AControl->Perform(CM_PARENTCOLORCHANGED);
  AControl->Perform(CM_PARENTFONTCHANGED);
  if (AControl->align_ != alNone) Realign();
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto found = std::find(controls_.begin(), controls_.end(), AControl);
  if (found == controls_.end()) return;
  AControl->Invalidate();
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl); windowed != nullptr) {
    if (TCustomForm* form = GetParentForm(this); form != nullptr) form->ControlRemoved(windowed);
    windowed->DestroyHandle();
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), windowed), tabList_.end());
  }
  controls_.erase(std::find(controls_.begin(), controls_.end(), AControl));
  AControl->parent_ = nullptr;
  if (AControl->align_ != alNone) Realign();
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
    if (windowed && (!AllowWinControls || IsPopupWindow(c))) continue;
    if (!c->visible_ || (!AllowDisabled && !c->enabled_)) continue;
    if (c->BoundsRect().Contains(Pos)) return c;
  }
  return nullptr;
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (; Control != nullptr; Control = Control->parent_)
    if (Control == this) return true;
  return false;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (TControl* child : std::vector<TControl*>(controls_)) {
    child->Perform(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg, WPARAM WParam, LPARAM LParam) {
  for (TControl* child : std::vector<TControl*>(controls_)) child->Perform(Msg, WParam, LParam);
}

void TWinControl::SetZOrderOf(TControl* control, bool topMost) {
  auto found = std::find(controls_.begin(), controls_.end(), control);
  if (found == controls_.end()) return;
  controls_.erase(found);
  if (topMost) {
    controls_.push_back(control);
  } else {
    controls_.insert(controls_.begin(), control);
  }
  if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed != nullptr && windowed->handle_ != nullptr) {
    SetWindowPos(windowed->handle_, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    control->Invalidate();
  }
}

// --- layout ----------------------------------------------------------------

void TWinControl::AdjustClientRect(TRect& Rect) {
  if (BorderWidth > 0) {
    Rect.Left += BorderWidth;
    Rect.Top += BorderWidth;
    Rect.Right -= BorderWidth;
    Rect.Bottom -= BorderWidth;
  }
}

void TWinControl::AlignControls(TControl*, TRect& Rect) {
  static const TAlign kOrder[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : kOrder) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
      if (c->align_ != align || !c->visible_) continue;
      int w = c->width_, h = c->height_;
      switch (align) {
        case alTop:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
          Rect.Top += c->height_;
          break;
        case alBottom:
          c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
          Rect.Bottom -= c->height_;
          break;
        case alLeft:
          c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
          Rect.Left += c->width_;
          break;
        case alRight:
          c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
          Rect.Right -= c->width_;
          break;
        default:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
          break;
      }
    }
  }
}

void TWinControl::AnchorChildren(int deltaWidth, int deltaHeight) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->align_ != alNone || IsPopupWindow(c)) continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (c->anchors_ & akRight) {
      if (c->anchors_ & akLeft) w += deltaWidth;
      else l += deltaWidth;
    }
    if (c->anchors_ & akBottom) {
      if (c->anchors_ & akTop) h += deltaHeight;
      else t += deltaHeight;
    }
    if (l != c->left_ || t != c->top_ || w != c->width_ || h != c->height_) c->SetBounds(l, t, w, h);
  }
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0) {
    alignPending_ = true;
    return;
  }
  ++alignDisabled_;
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(nullptr, rect);
  --alignDisabled_;
  alignPending_ = false;
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::ScrollBy(int DeltaX, int DeltaY) {
  DisableAlign();
  for (TControl* c : std::vector<TControl*>(controls_))
    c->SetBounds(c->left_ + DeltaX, c->top_ + DeltaY, c->width_, c->height_);
  alignPending_ = true;
  EnableAlign();
  Invalidate();
}

// --- focus -----------------------------------------------------------------

int TWinControl::TabOrder() const {
  if (parent_ == nullptr) return -1;
  auto& list = parent_->tabList_;
  auto found = std::find(list.begin(), list.end(), this);
  return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (parent_ == nullptr) return;
  auto& list = parent_->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
}

std::vector<TWinControl*> TWinControl::TabList() const { return tabList_; }

bool TWinControl::CanFocus() {
  for (TControl* c = this; c != nullptr; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) {
    form->FocusControl(this);
  } else {
    ::SetFocus(Handle());
  }
}

bool TWinControl::Focused() { return handle_ != nullptr && GetFocus() == handle_; }

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }
void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  if (TCustomForm* form = GetParentForm(this); form != nullptr) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMFocusChanged(TMessage& Message) { NotifyControls(CM_FOCUSCHANGED, Message.WParam, Message.LParam); }

// --- keys ------------------------------------------------------------------

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) { OnKeyDown(this, Key, Shift); }
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) { OnKeyUp(this, Key, Shift); }
void TWinControl::KeyPress(char& Key) { OnKeyPress(this, Key); }

bool TWinControl::FormPreviews(TMessage& Message, bool (TWinControl::*doKey)(TMessage&)) {
  TCustomForm* form = GetParentForm(this);
  return form != nullptr && form != this && form->KeyPreview && (static_cast<TWinControl*>(form)->*doKey)(Message);
}

bool TWinControl::DoVirtualKey(TMessage& Message, void (TWinControl::*handler)(WORD&, TShiftState)) {
  WORD key = LOWORD(Message.WParam);
  if (key != 0) {
    (this->*handler)(key, KeyDataToShiftState(static_cast<LONG>(Message.LParam)));
    Message.WParam = key;
  }
  return key == 0;
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  return FormPreviews(Message, &TWinControl::DoKeyDown) || DoVirtualKey(Message, &TWinControl::KeyDown);
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  return FormPreviews(Message, &TWinControl::DoKeyUp) || DoVirtualKey(Message, &TWinControl::KeyUp);
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  if (FormPreviews(Message, &TWinControl::DoKeyPress)) return true;
  char key = static_cast<char>(Message.WParam);
  if (key != 0) {
    KeyPress(key);
    Message.WParam = static_cast<unsigned char>(key);
  }
  return key == 0;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form->IsShortCut(Message)) return;
  if (Message.Msg == CN_KEYDOWN) {
    WORD key = LOWORD(Message.WParam);
    LRESULT mask = 0;
    switch (key) {
      case VK_TAB: mask = DLGC_WANTTAB; break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN: mask = DLGC_WANTARROWS; break;
      case VK_RETURN:
      case VK_EXECUTE:
      case VK_ESCAPE:
      case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
      default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, key, Message.LParam) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0 && form != nullptr &&
        form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0)
      return;
  }
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 0;
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  bool alt = Message.Msg == CN_SYSCHAR;
  if (alt || (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
    if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) Message.Result = 1;
  }
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

// --- painting --------------------------------------------------------------

void TWinControl::Invalidate() {
  if (handle_ != nullptr) InvalidateRect(handle_, nullptr, !(controlStyle_ & csOpaque));
}

void TWinControl::Update() {
  if (handle_ != nullptr) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(message);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto start = First != nullptr ? std::find(controls_.begin(), controls_.end(), First) : controls_.begin();
  if (start == controls_.end()) return;
  std::vector<TControl*> children(start, controls_.end());
  for (TControl* c : children) {
    if (dynamic_cast<TWinControl*>(c) != nullptr || !c->visible_) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(DC, &r)) continue;
    int saved = SaveDC(DC);
    POINT origin;
    GetWindowOrgEx(DC, &origin);
    SetWindowOrgEx(DC, origin.x - c->left_, origin.y - c->top_, nullptr);
    IntersectClipRect(DC, 0, 0, c->width_, c->height_);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, saved);
  }
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps{};
  bool began = dc == nullptr;
  if (began) {
    if (handle_ == nullptr) return;
    dc = BeginPaint(handle_, &ps);
  }
  try {
    int saved = SaveDC(dc);
    // Opaque windowless children paint every pixel of their own.
    int clip = SIMPLEREGION;
    for (TControl* c : controls_) {
      if (dynamic_cast<TWinControl*>(c) != nullptr || !c->visible_ || !(c->controlStyle_ & csOpaque)) continue;
      clip = ExcludeClipRect(dc, c->left_, c->top_, c->left_ + c->width_, c->top_ + c->height_);
      if (clip == NULLREGION) break;
    }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
  } catch (...) {
    if (began) EndPaint(handle_, &ps);
    throw;
  }
  if (began) EndPaint(handle_, &ps);
}

void TWinControl::WMPaint(TMessage& Message) { PaintHandler(Message); }

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  if (controlStyle_ & csOpaque) return;
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dc == nullptr) return;
  RECT r = ClientRect();
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color_)));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// --- messages --------------------------------------------------------------

TWinControl* TWinControl::ChildOfMessage(const TMessage& Message) {
  HWND child = nullptr;
  switch (Message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = reinterpret_cast<HWND>(Message.LParam); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom; break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (item->CtlType != ODT_MENU) child = item->hwndItem;
      break;
    }
    case WM_DELETEITEM: child = reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam)->hwndItem; break;
    case WM_MEASUREITEM: {
      // Arrives inside CreateWindowExA, before the child's handle is known.
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (item->CtlType == ODT_MENU || Message.WParam == 0) return nullptr;
      for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && w->ctlId_ == static_cast<int>(Message.WParam))
          return w;
      return nullptr;
    }
    default: break;
  }
  if (child == nullptr || child == handle_) return nullptr;
  return dynamic_cast<TWinControl*>(FindWindowTarget(child));
}

void TWinControl::WMReflected(TMessage& Message) {
  if (TWinControl* child = ChildOfMessage(Message); child != nullptr) {
    Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::CNCtlColor(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  COLORREF color = static_cast<COLORREF>(ColorToRGB(color_));
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(font_->Color())));
  SetBkColor(dc, color);
  if (brush_ == nullptr || brushColor_ != color) {
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = CreateSolidBrush(color);
    brushColor_ = color;
  }
  Message.Result = reinterpret_cast<LRESULT>(brush_);
}

void TWinControl::WMCtlColor(TMessage& Message) { WMReflected(Message); }

void TWinControl::WMSetCursor(TMessage& Message) {
  if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == handle_) {
    TCursor cursor = Screen != nullptr ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      POINT p;
      Pointer().GetCursorPos(&p);
      ::ScreenToClient(handle_, &p);
      TControl* child = ControlAtPos(Point(p.x, p.y), false);
      cursor = child != nullptr && child->cursor_ != crDefault ? child->cursor_ : cursor_;
    }
    if (cursor != crDefault) {
      ::SetCursor(CursorHandle(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMContextMenu(TMessage& Message) {
  // The windowless child under the point is offered the menu first.
  TPoint screen = Point(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  if (handle_ != nullptr && !(screen.X == -1 && screen.Y == -1)) {
    TControl* child = ControlAtPos(ScreenToClient(screen), false);
    if (child != nullptr) {
      Message.Result = child->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
      if (Message.Result != 0) return;
    }
  }
  TControl::WMContextMenu(Message);
}

void TWinControl::WMSize(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMMove(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMNCDestroy(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::UpdateShowing() {
  if (handle_ == nullptr) return;
  ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!visible_ && handle_ != nullptr && GetFocus() != nullptr && IsChild(handle_, GetFocus())) {
    if (TCustomForm* form = GetParentForm(this); form != nullptr) form->ControlRemoved(this);
  }
  if (visible_ && parent_ != nullptr && parent_->HandleAllocated()) HandleNeeded();
  UpdateShowing();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (handle_ != nullptr) EnableWindow(handle_, enabled_);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::CMFontChanged(Message);
  if (handle_ != nullptr) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (handle_ == nullptr || IsPrivateMessage(Message.Msg)) {
    TControl::DefaultHandler(Message);
    return;
  }
  Message.Result = CallWindowProcA(defWndProc_, handle_, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WndProc(TMessage& Message) {
  if (IsMouseClientMessage(Message.Msg) && handle_ != nullptr) {
    // Windowless children get the mouse from their parent, in their own coordinates.
    TControl* target = nullptr;
    TControl* capture = CaptureControl();
    TWMMouse mouse(Message);
    if (capture != nullptr) {
      if (capture->parent_ == this && dynamic_cast<TWinControl*>(capture) == nullptr) target = capture;
    } else {
      target = ControlAtPos(Point(mouse.XPos(), mouse.YPos()), false);
    }
    if (target != nullptr) {
      LPARAM local = MAKELPARAM(static_cast<WORD>(mouse.XPos() - target->left_),
                                static_cast<WORD>(mouse.YPos() - target->top_));
      Message.Result = target->Perform(Message.Msg, Message.WParam, local);
      return;
    }
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(Message.LParam) != handle_) CaptureLost(handle_);
      DefaultHandler(Message);
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL: WMReflected(Message); break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMCtlColor(Message); break;
    case WM_SETTEXT:
      text_ = Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "";
      if (handle_ != nullptr) {
        DefaultHandler(Message);
      } else {
        Message.Result = TRUE;
      }
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(Message); break;
    case CN_CHAR:
    case CN_SYSCHAR: CNChar(Message); break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSCROLLBAR: CNCtlColor(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    default: TControl::Dispatch(Message); break;
  }
}
