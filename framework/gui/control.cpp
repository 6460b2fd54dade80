#include "framework/gui/control.h"

#include <cctype>

#include "framework/core/seams.h"

#include "framework/gui/actions.h"
#include "framework/gui/forms.h"
#include "framework/gui/menus.h"
#include "framework/gui/wincontrol.h"

namespace {

TControl* captureControl = nullptr;

struct CursorEntry {
  TCursor cursor;
  LPCSTR id;
};

const CursorEntry kCursors[] = {
    {crDefault, IDC_ARROW},    {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},
    {crIBeam, IDC_IBEAM},      {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},
    {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},    {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},   {crDrag, IDC_ARROW},        {crNoDrop, IDC_NO},
    {crHSplit, IDC_SIZEWE},    {crVSplit, IDC_SIZENS},     {crMultiDrag, IDC_ARROW},
    {crSQLWait, IDC_WAIT},     {crNo, IDC_NO},             {crAppStart, IDC_APPSTARTING},
    {crHelp, IDC_HELP},        {crHandPoint, IDC_HAND},    {crSizeAll, IDC_SIZEALL},
};

}  // namespace

HCURSOR CursorHandle(TCursor cursor) {
  if (cursor == crNone) return nullptr;
  for (const auto& entry : kCursors)
    if (entry.cursor == cursor) return LoadCursorA(nullptr, entry.id);
  return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

TDispatchScope::TDispatchScope(TControl& control) : depth_(control.dispatchDepth_) { ++depth_; }
TDispatchScope::~TDispatchScope() { --depth_; }

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), color_(clBtnFace), font_(std::make_unique<TFont>()) {
  windowProc_ = Bind<&TControl::WndProc>(this);
  font_->OnChange = Bind<&TControl::FontChanged>(this);
}

TControl::~TControl() {
  ControlDestroyed(this);
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::BeforeDestruction() {
  if (ComponentState() & csDestroying) return;
  ControlDestroyed(this);
  TComponent::BeforeDestruction();
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::ControlDestroyed(TControl* control) {
  if (captureControl == control) {
    captureControl = nullptr;
    ReleaseCapture();
  }
}

TControl* TControl::CaptureControl() { return captureControl; }

void TControl::CaptureLost(HWND wnd) {
  if (captureControl == nullptr) return;
  auto* windowed = dynamic_cast<TWinControl*>(captureControl);
  if (windowed == nullptr) windowed = captureControl->parent_;
  if (windowed != nullptr && windowed->HandleAllocated() && windowed->Handle() == wnd) {
    captureControl->controlState_ &= ~(csClicked | csLButtonDown);
    captureControl = nullptr;
  }
}

void TControl::SetCaptureControl(TControl* control) {
  captureControl = nullptr;
  ReleaseCapture();
  if (control == nullptr) return;
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed != nullptr) {
    SetCapture(windowed->Handle());
  } else if (control->parent_ != nullptr) {
    SetCapture(control->parent_->Handle());
  } else {
    return;
  }
  captureControl = control;
}

// --- tree ------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent != nullptr && AParent == dynamic_cast<TWinControl*>(this))
    throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (AParent != nullptr) AParent->InsertControl(this);
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool topMost) {
  if (parent_ != nullptr) parent_->SetZOrderOf(this, topMost);
}

// --- bounds ----------------------------------------------------------------

void TControl::ApplyConstraints(int& w, int& h) {
  int minW = Constraints.MinWidth, minH = Constraints.MinHeight;
  int maxW = Constraints.MaxWidth, maxH = Constraints.MaxHeight;
  ConstrainedResize(minW, minH, maxW, maxH);
  if (maxW > 0 && w > maxW) w = maxW;
  if (maxH > 0 && h > maxH) h = maxH;
  if (minW > 0 && w < minW) w = minW;
  if (minH > 0 && h < minH) h = minH;
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
  bool resize = true;
  OnCanResize(this, NewWidth, NewHeight, resize);
  return resize;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
  OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::Resize() { OnResize(this); }

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  ApplyConstraints(AWidth, AHeight);
  if ((AWidth != width_ || AHeight != height_) && !CanResize(AWidth, AHeight)) {
    AWidth = width_;
    AHeight = height_;
  }
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool sized = AWidth != width_ || AHeight != height_;
  InvalidateControl(visible_, false);
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  InvalidateControl(visible_, false);
  RequestAlign();
  if (sized) Resize();
}

TRect TControl::ClientRect() { return Rect(0, 0, width_, height_); }

void TControl::SetClientSize(int AWidth, int AHeight) {
  TRect client = ClientRect();
  SetBounds(left_, top_, width_ - client.Width() + AWidth, height_ - client.Height() + AHeight);
}

TPoint TControl::ClientOrigin() {
  if (parent_ == nullptr) return Point(left_, top_);
  TPoint origin = parent_->ClientOrigin();
  return Point(origin.X + left_, origin.Y + top_);
}

TPoint TControl::ClientToScreen(const TPoint& p) {
  TPoint origin = ClientOrigin();
  return Point(p.X + origin.X, p.Y + origin.Y);
}

TPoint TControl::ScreenToClient(const TPoint& p) {
  TPoint origin = ClientOrigin();
  return Point(p.X - origin.X, p.Y - origin.Y);
}

void TControl::SetAlign(TAlign value) {
  if (align_ == value) return;
  align_ = value;
  anchors_ = akLeft | akTop;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_ != nullptr && align_ != alNone) parent_->Realign();
}

// --- state -----------------------------------------------------------------

void TControl::SetVisible(bool value) {
  if (visible_ == value) return;
  VisibleChanging();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  RequestAlign();
}

void TControl::Show() {
  if (parent_ != nullptr) parent_->Show();
  SetVisible(true);
}

void TControl::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

String TControl::GetText() { return text_; }

void TControl::SetTextBuf(const String& value) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TControl::SetText(const String& value) {
  if (GetText() == value) return;
  SetTextBuf(value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor value) {
  if (color_ == value && !parentColor_) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  if (value && parent_ != nullptr) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* value) {
  if (value != nullptr) font_->Assign(value);
}

void TControl::FontChanged(TObject*) {
  if (!settingFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (parentFont_ == value) return;
  parentFont_ = value;
  if (value && parent_ != nullptr) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  POINT p;
  if (auto* windowed = dynamic_cast<TWinControl*>(this); windowed != nullptr && windowed->HandleAllocated() &&
      Pointer().GetCursorPos(&p) && Pointer().WindowFromPoint(p) == windowed->Handle())
    windowed->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(windowed->Handle()), HTCLIENT);
}

void TControl::SetShowHint(bool value) {
  parentShowHint_ = false;
  if (showHint_ == value) return;
  showHint_ = value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (parentShowHint_ == value) return;
  parentShowHint_ = value;
  Perform(CM_SHOWHINTCHANGED);
}

bool TControl::ShowHint() const {
  const TControl* c = this;
  while (c->parentShowHint_ && c->parent_ != nullptr) c = c->parent_;
  return c->showHint_;
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  popupMenu_ = value;
  if (value != nullptr) FreeNotification(value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && popupMenu_ != nullptr && AComponent == popupMenu_) popupMenu_ = nullptr;
  if (Operation == opRemove && action_ != nullptr && AComponent == action_) action_ = nullptr;
}

void TControl::SetAction(TBasicAction* value) {
  if (value == action_) return;
  if (action_ != nullptr) RemoveFreeNotification(action_);
  action_ = value;
  if (action_ == nullptr) return;
  FreeNotification(action_);
  ActionChange(action_, false);
}

// Without action links there is nothing the base takes from an action.
void TControl::ActionChange(TObject*, bool) {}

// --- painting --------------------------------------------------------------

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
  if (!isVisible || parent_ == nullptr || !parent_->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, !isOpaque && !(parent_->ControlStyle() & csOpaque));
}

void TControl::Invalidate() { InvalidateControl(visible_, (controlStyle_ & csOpaque) != 0); }

void TControl::Update() {
  if (parent_ != nullptr) parent_->Update();
}

void TControl::Repaint() {
  if (!visible_ || parent_ == nullptr || !parent_->HandleAllocated()) return;
  if (!(controlStyle_ & csOpaque)) {
    Invalidate();
    Update();
    return;
  }
  HDC dc = GetDC(parent_->Handle());
  int saved = SaveDC(dc);
  IntersectClipRect(dc, left_, top_, left_ + width_, top_ + height_);
  parent_->PaintControls(dc, this);
  RestoreDC(dc, saved);
  ReleaseDC(parent_->Handle(), dc);
}

// --- messages --------------------------------------------------------------

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  Perform(message);
  return message.Result;
}

void TControl::Perform(TMessage& message) {
  TDispatchScope scope(*this);
  windowProc_(message);
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: WMOtherButtonDown(Message, mbRight); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: WMOtherButtonDown(Message, mbMiddle); break;
    case WM_RBUTTONUP: WMOtherButtonUp(Message, mbRight); break;
    case WM_MBUTTONUP: WMOtherButtonUp(Message, mbMiddle); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case WM_SETTEXT:
      text_ = Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "";
      DefaultHandler(Message);
      Message.Result = TRUE;
      break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: DefaultHandler(Message); break;
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_GETTEXTLENGTH) {
    Message.Result = static_cast<LRESULT>(text_.size());
  } else if (Message.Msg == WM_GETTEXT && Message.WParam > 0) {
    size_t n = std::min(text_.size(), static_cast<size_t>(Message.WParam) - 1);
    auto* out = reinterpret_cast<char*>(Message.LParam);
    text_.copy(out, n);
    out[n] = '\0';
    Message.Result = static_cast<LRESULT>(n);
  }
}

// --- mouse -----------------------------------------------------------------

void TControl::SendCancelMode() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return;
  TWinControl* focused = form->ActiveControl();
  if (focused != nullptr && focused != this)
    focused->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  TWMMouse mouse(Message);
  MouseDown(Button, KeysToShiftState(mouse.Keys()) | Shift, mouse.XPos(), mouse.YPos());
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  TWMMouse mouse(Message);
  MouseUp(Button, KeysToShiftState(mouse.Keys()), mouse.XPos(), mouse.YPos());
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode();
  DefaultHandler(Message);
  if (controlStyle_ & csCaptureMouse) SetCaptureControl(this);
  if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
  controlState_ |= csLButtonDown;
  DoMouseDown(Message, mbLeft, 0);
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  if (!(controlStyle_ & csDoubleClicks)) {
    WMLButtonDown(Message);
    return;
  }
  SendCancelMode();
  DefaultHandler(Message);
  if (controlStyle_ & csCaptureMouse) SetCaptureControl(this);
  controlState_ |= csLButtonDown;
  DblClick();
  DoMouseDown(Message, mbLeft, ssDouble);
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (captureControl == this) SetCaptureControl(nullptr);
  controlState_ &= ~csLButtonDown;
  if (controlState_ & csClicked) {
    controlState_ &= ~csClicked;
    TWMMouse mouse(Message);
    if (ClientRect().Contains(TPoint{mouse.XPos(), mouse.YPos()})) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMOtherButtonDown(TMessage& Message, TMouseButton Button) {
  SendCancelMode();
  DefaultHandler(Message);
  bool dbl = Message.Msg == WM_RBUTTONDBLCLK || Message.Msg == WM_MBUTTONDBLCLK;
  DoMouseDown(Message, Button, dbl && (controlStyle_ & csDoubleClicks) ? TShiftState{ssDouble} : TShiftState{0});
}

void TControl::WMOtherButtonUp(TMessage& Message, TMouseButton Button) {
  DefaultHandler(Message);
  DoMouseUp(Message, Button);
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  TWMMouse mouse(Message);
  MouseMove(KeysToShiftState(mouse.Keys()), mouse.XPos(), mouse.YPos());
}

void TControl::WMMouseWheel(TMessage& Message) {
  TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
  int delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
  TPoint pos = Point(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  if (DoMouseWheel(shift, delta, pos)) {
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint screen = Point(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  bool fromKeyboard = screen.X == -1 && screen.Y == -1;
  TPoint local = fromKeyboard ? screen : ScreenToClient(screen);
  bool handled = false;
  DoContextPopup(local, handled);
  if (handled) {
    Message.Result = 1;
    return;
  }
  if (popupMenu_ != nullptr && popupMenu_->AutoPopup) {
    if (fromKeyboard) {
      screen = ClientToScreen(Point(0, 0));
    } else {
      TRect client = ClientRect();
      if (local.X < client.Left || local.X >= client.Right || local.Y < client.Top || local.Y >= client.Bottom) {
        DefaultHandler(Message);  // over the frame: the system's menu
        return;
      }
    }
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(screen.X, screen.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) { OnContextPopup(this, MousePos, Handled); }

void TControl::WMCancelMode(TMessage& Message) {
  DefaultHandler(Message);
  if (captureControl == this) SetCaptureControl(nullptr);
  controlState_ &= ~(csClicked | csLButtonDown);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) { OnMouseMove(this, Shift, X, Y); }

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

// --- change messages -------------------------------------------------------

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, visible_ && (controlStyle_ & csOpaque)); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
  if (!parentFont_ || parent_ == nullptr) return;
  settingFont_ = true;
  font_->Assign(parent_->Font());
  settingFont_ = false;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!parentColor_ || parent_ == nullptr) return;
  if (color_ != parent_->Color()) {
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
  }
}

void TControl::CMMouseEnter(TMessage& Message) {
  if (parent_ != nullptr) parent_->Perform(CM_MOUSEENTER, 0, Message.LParam);
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (parent_ != nullptr) parent_->Perform(CM_MOUSELEAVE, 0, Message.LParam);
}

// --- helpers ---------------------------------------------------------------

TCustomForm* GetParentForm(TControl* control) {
  while (control != nullptr) {
    if (auto* form = dynamic_cast<TCustomForm*>(control); form != nullptr && form->Parent() == nullptr)
      return form;
    control = control->Parent();
  }
  return nullptr;
}

bool IsAccel(WORD VK, const String& Str) {
  for (size_t i = 0; i + 1 < Str.size(); ++i) {
    if (Str[i] != '&') continue;
    if (Str[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::toupper(static_cast<unsigned char>(Str[i + 1])) == std::toupper(VK & 0xFF);
  }
  return false;
}

TShiftState KeyDataToShiftState(LONG KeyData) {
  TShiftState shift = 0;
  if (Pointer().GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (Pointer().GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (KeyData & 0x20000000) shift |= ssAlt;
  return shift;
}

TShiftState KeysToShiftState(UINT keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (Pointer().GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

String StripHotkey(const String& text) {
  String out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    else if (text[i] == '&') continue;
    out += text[i];
  }
  return out;
}
