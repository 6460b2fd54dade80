#include "skin/boxes/ksSkinEdit.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/core/colors.h"
#include "framework/core/seams.h"
#include "framework/gui/forms.h"
#include "skin/boxes/ksEditContextMenu.h"
#include "skin/boxes/ksTextBoxMessages.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinDataResStr.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/draw/ksUtils.h"
#include "skin/frame/ksSkinForm.h"

namespace {

String ClipboardText(HWND owner) {
  String text;
  if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* p = static_cast<const char*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace

std::vector<TksEditMenuItem> EditMenuItems(const TksEditMenuState& s, const TksResourceStrData* strings) {
  const bool editable = !s.ReadOnly;
  std::vector<TksEditMenuItem> items = {
      {"EDIT_UNDO", "", s.CanUndo},
      {"-", "-", true},
      {"EDIT_CUT", "", s.HasSelection && editable},
      {"EDIT_COPY", "", s.HasSelection},
      {"EDIT_PASTE", "", s.ClipboardHasText && editable},
      {"EDIT_DELETE", "", s.HasSelection && editable},
      {"-", "-", true},
      {"EDIT_SELECTALL", "", !s.WholeTextSelected},
  };
  for (auto& item : items)
    if (item.Name != "-") item.Caption = strings ? strings->GetResStr(item.Name) : BuiltInResStr(item.Name);
  return items;
}

bool RunEditMenuCommand(TWinControl& edit, const String& name) {
  static const struct {
    const char* name;
    UINT msg;
  } kCommands[] = {{"EDIT_UNDO", WM_UNDO},   {"EDIT_CUT", WM_CUT},     {"EDIT_COPY", WM_COPY},
                   {"EDIT_PASTE", WM_PASTE}, {"EDIT_DELETE", WM_CLEAR}};
  if (name == "EDIT_SELECTALL") {
    edit.Perform(EM_SETSEL, 0, -1);
    return true;
  }
  for (const auto& c : kCommands)
    if (name == c.name) {
      edit.Perform(c.msg, 0, 0);
      return true;
    }
  return false;
}

// --- TksCustomEdit ---------------------------------------------------------

TksCustomEdit::TksCustomEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner), contextMenu_(std::make_unique<TksEditContextMenu>()) {
  SetControlStyle(ControlStyle() | csOpaque);
}

TksCustomEdit::~TksCustomEdit() = default;

TksSkinPopupMenu* TksCustomEdit::MenuObject() const { return contextMenu_->MenuObject(); }

void TksCustomEdit::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TksCustomEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
  if (transparent_) Params.ExStyle |= WS_EX_TRANSPARENT;
  // A multi-line window keeps a transparent one-line text from smearing when it scrolls.
  if (PasswordChar() != 0)
    Params.Style |= ES_PASSWORD;
  else
    Params.Style |= ES_MULTILINE;
}

void TksCustomEdit::Invalidate() {
  if (!transparent_ || !HandleAllocated()) {
    TCustomMaskEdit::Invalidate();
    return;
  }
  if (Parent() != nullptr && Parent()->HandleAllocated()) {
    RECT r;
    GetClientRect(Handle(), &r);
    MapWindowPoints(Handle(), Parent()->Handle(), reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(Parent()->Handle(), &r, TRUE);
  }
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TksCustomEdit::AfterEdit() {
  if (transparent_) Invalidate();
}

TksResourceStrData* TksCustomEdit::MenuStrings() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* frame = dynamic_cast<TksSkinForm*>(form->Components(i)))
      return frame->SkinData() ? frame->SkinData()->ResourceStrData() : nullptr;
  return nullptr;
}

std::vector<TksEditMenuItem> TksCustomEdit::ContextMenuItems() {
  DWORD start = 0, end = 0;
  if (HandleAllocated()) SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  TksEditMenuState s;
  s.CanUndo = CanUndo();
  s.HasSelection = start < end;
  s.WholeTextSelected = start == 0 && end == Text().size();
  s.ClipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != 0;
  s.ReadOnly = ReadOnly;
  return EditMenuItems(s, MenuStrings());
}

void TksCustomEdit::ShowContextMenu(TMessage& Message) {
  if (PopupMenu() != nullptr) {
    TCustomMaskEdit::Dispatch(Message);
    return;
  }
  // The system edit never sees this message: its own menu would run modally.
  Message.Result = 1;
  if (OnContextMenuPopup.Assigned())
    OnContextMenuPopup(this, ContextMenuItems(), ContextMenuPoint(*this, Message));
  else
    contextMenu_->Show(*this, ContextMenuItems(), ContextMenuPoint(*this, Message));
}

void TksCustomEdit::CharFilter(TMessage& Message) {
  const auto ch = static_cast<char>(Message.WParam);
  if (ch == VK_ESCAPE) {
    WORD key = VK_ESCAPE;
    if (OnKeyDown.Assigned()) OnKeyDown(this, key, 0);
    char c = ch;
    if (OnKeyPress.Assigned()) OnKeyPress(this, c);
    if (!ReadOnly) TCustomMaskEdit::Dispatch(Message);
    return;
  }
  if (ch == VK_RETURN) {
    char c = ch;
    if (OnKeyPress.Assigned()) OnKeyPress(this, c);
    return;
  }
  if (ReadOnly) return;
  TCustomMaskEdit::Dispatch(Message);
}

void TksCustomEdit::KeyDownFilter(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  // Any key may move the caret or the selection over a background someone else paints.
  AfterEdit();
}

void TksCustomEdit::PasteFirstLine(TMessage& Message) {
  const String text = ClipboardText(Handle());
  const size_t lineEnd = text.find_first_of("\r\n");
  if (lineEnd == String::npos || (GetWindowLongA(Handle(), GWL_STYLE) & ES_PASSWORD) != 0) {
    TCustomMaskEdit::Dispatch(Message);
  } else {
    // The window is multi-line underneath; a one-line edit takes only the first line.
    const String first = text.substr(0, lineEnd);
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(first.c_str()));
  }
}

void TksCustomEdit::Dispatch(TMessage& Message) {
  if (ReadOnly && ReadOnlyRefuses(Message)) return;
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TCustomMaskEdit::Dispatch(Message);
      Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
      if (WantDialogKeys) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_CONTEXTMENU: ShowContextMenu(Message); return;
    case WM_CLOSESKINMENU: contextMenu_->CommandDone(); return;
    case CM_CANCELMODE:
      TCustomMaskEdit::Dispatch(Message);
      OnEditCancelMode(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case WM_SETFONT:
      TCustomMaskEdit::Dispatch(Message);
      SendMessageA(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
      return;
    case WM_CHAR: CharFilter(Message); return;
    case WM_KEYDOWN: KeyDownFilter(Message); return;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      TCustomMaskEdit::Dispatch(Message);
      AfterEdit();
      return;
    case WM_PASTE:
      PasteFirstLine(Message);
      AfterEdit();
      return;
    case WM_LBUTTONDOWN:
      lButtonDown_ = true;
      TCustomMaskEdit::Dispatch(Message);
      AfterEdit();
      return;
    case WM_LBUTTONUP:
      lButtonDown_ = false;
      TCustomMaskEdit::Dispatch(Message);
      return;
    case WM_MOUSEMOVE:
      TCustomMaskEdit::Dispatch(Message);
      if (lButtonDown_) AfterEdit();
      return;
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomMaskEdit::Dispatch(Message);
      AfterEdit();
      return;
    case CN_COMMAND:
      TCustomMaskEdit::Dispatch(Message);
      if (HIWORD(Message.WParam) == EN_CHANGE) AfterEdit();
      return;
    case WM_ERASEBKGND:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (transparent_ && AnswerTransparentText(*this, *Font(), Message)) return;
      break;
    default: break;
  }
  TCustomMaskEdit::Dispatch(Message);
}

// --- TksSkinCustomEdit -----------------------------------------------------

TksSkinCustomEdit::TksSkinCustomEdit(TComponent* AOwner)
    : TksCustomEdit(AOwner), defaultFont_(std::make_unique<TFont>()) {
  AutoSize = false;
  BorderStyle = bsNone;
  Font()->SetName("Arial");
  Font()->SetColor(clWindowText);
  Font()->SetStyle(0);
  Font()->SetHeight(14);
  defaultFont_->Assign(Font());
  defaultFont_->OnChange = Bind<&TksSkinCustomEdit::DefaultFontChange>(this);
  SetBounds(Left(), Top(), Width(), 20);
  SetTransparent(true);
}

void TksSkinCustomEdit::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  if (skinData_ != nullptr && !skinData_->Empty) ChangeSkinData();
}

void TksSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TksCustomEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
    picture_ = nullptr;
  }
}

void TksSkinCustomEdit::GetSkinData() {
  controlIndex_ = SkinControlIndex(skinData_, skinDataName_);
  picture_ = nullptr;
  if (controlIndex_ == -1) return;
  auto* d = skinData_->ControlData<TksDataSkinEditControl>(controlIndex_);
  if (d == nullptr) return;
  skinRect_ = d->SkinRect;
  activeSkinRect_ = OrFallback(d->ActiveSkinRect, d->SkinRect);
  clientRect_ = d->ClientRect;
  rtPoint_ = d->RTPoint;
  leftOffset_ = d->LTPoint.X;
  rightOffset_ = RectWidth(d->SkinRect) - d->RTPoint.X;
  fontColor_ = d->FontColor;
  activeFontColor_ = d->ActiveFontColor;
  disabledFontColor_ = d->DisabledFontColor;
  skinButtonRect_ = d->ButtonRect;
  activeButtonRect_ = d->ActiveButtonRect;
  downButtonRect_ = OrFallback(d->DownButtonRect, d->ActiveButtonRect);
  unEnabledButtonRect_ = d->UnEnabledButtonRect;
  picture_ = skinData_->ActivePicture(d->PictureIndex);
}

void TksSkinCustomEdit::CalcRects() {
  if (Skinned()) {
    const int dW = Width() - RectWidth(skinRect_);
    editRect_ = clientRect_;
    editRect_.Right += dW;
    buttonRect_ = skinButtonRect_;
    if (buttonRect_.Left >= rtPoint_.X) buttonRect_ = MovedRect(buttonRect_, dW, 0);
  } else if (buttonMode_) {
    buttonRect_ = TRect{Width() - Height(), 0, Width(), Height()};
    editRect_ = TRect{2, 2, buttonRect_.Left - 2, Height() - 2};
  } else {
    buttonRect_ = TRect{};
    editRect_ = TRect{2, 2, Width() - 2, Height() - 2};
  }
}

TRect TksSkinCustomEdit::FrameMargins() {
  GetSkinData();
  if (Skinned()) return SkinFrameMargins(skinRect_, clientRect_);
  return TRect{2, 2, buttonMode_ ? 22 : 2, 2};
}

void TksSkinCustomEdit::PaintFrame(TBitmap& b) {
  GetSkinData();
  CalcRects();
  const int w = Width(), h = Height();
  b.SetSize(w, h);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect{0, 0, w, h});
  if (!Skinned()) {
    const int bw = buttonMode_ ? w - buttonRect_.Left : 0;
    DrawPlainBoxFrame(c, TRect{0, 0, w - bw, h});
    if (buttonMode_) DrawPlainButtonFace(c, buttonRect_, buttonDown_ && buttonActive_, buttonActive_);
    return;
  }
  if (picture_ == nullptr || IsNullRect(skinRect_)) return;
  const TRect& source = (mouseIn_ || Focused()) ? activeSkinRect_ : skinRect_;
  TBitmap face;
  CreateHSkinImage(leftOffset_, rightOffset_, &face, picture_, source, w, RectHeight(source));
  c->Draw(0, 0, &face);
  if (!buttonMode_) return;
  TRect button{};
  if (!Enabled() && !IsNullRect(unEnabledButtonRect_))
    button = unEnabledButtonRect_;
  else if (buttonDown_ && buttonActive_)
    button = downButtonRect_;
  else if (buttonActive_)
    button = activeButtonRect_;
  if (!IsNullRect(button)) c->CopyRect(buttonRect_, picture_->Canvas(), button);
}

void TksSkinCustomEdit::PaintNonClient() {
  TBitmap b;
  PaintFrame(b);
  // The client area is painted here too: the text is drawn over it without a background.
  BlitToWindow(Handle(), b);
}

void TksSkinCustomEdit::ButtonHitTest(TMessage& Message) {
  TPoint p = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  const TRect m = FrameMargins();
  p.X += m.Left;
  p.Y += m.Top;
  CalcRects();
  if (PointInRect(buttonRect_, p))
    Message.Result = HTHSCROLL;
  else if (PointInRect(editRect_, p))
    TksCustomEdit::Dispatch(Message);
  else
    Message.Result = HTVSCROLL;
}

void TksSkinCustomEdit::SetButtonActive(bool value) {
  if (buttonActive_ == value) return;
  buttonActive_ = value;
  Invalidate();
}

void TksSkinCustomEdit::ApplyFontColor() {
  if (!Enabled())
    Font()->SetColor(Skinned() ? disabledFontColor_ : clGrayText);
  else if (Skinned())
    Font()->SetColor(Focused() ? activeFontColor_ : fontColor_);
  else
    Font()->SetColor(defaultFont_->Color());
}

void TksSkinCustomEdit::Dispatch(TMessage& Message) {
  const bool button = buttonMode_ && Message.WParam == HTHSCROLL;
  switch (Message.Msg) {
    case WM_NCCALCSIZE: ShrinkToFrame(Message, FrameMargins()); return;
    case WM_NCPAINT:
      PaintNonClient();
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      if (!buttonMode_) break;
      ButtonHitTest(Message);
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      // The frame is no scroll bar: the system's bar tracking never gets these.
      if (!buttonMode_) break;
      if (button) {
        buttonDown_ = true;
        Invalidate();
      }
      Message.Result = 0;
      return;
    case WM_NCLBUTTONUP:
      if (!button) break;
      buttonDown_ = false;
      Invalidate();
      if (!Focused() && CanFocus()) SetFocus();
      OnButtonClick(this);
      return;
    case WM_NCMOUSEMOVE:
      if (button) {
        SetButtonActive(true);
        return;
      }
      SetButtonActive(false);
      break;
    case WM_MOUSEMOVE:
      TksCustomEdit::Dispatch(Message);
      SetButtonActive(false);
      return;
    case WM_SETFOCUS:
      TksCustomEdit::Dispatch(Message);
      if (Skinned() && !mouseIn_) Font()->SetColor(activeFontColor_);
      return;
    case WM_KILLFOCUS:
      TksCustomEdit::Dispatch(Message);
      if (Skinned() && !mouseIn_) Font()->SetColor(fontColor_);
      return;
    case CM_MOUSEENTER:
      TksCustomEdit::Dispatch(Message);
      mouseIn_ = true;
      if (Skinned() && !Focused()) {
        Font()->SetColor(activeFontColor_);
        Invalidate();
      }
      OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TksCustomEdit::Dispatch(Message);
      mouseIn_ = false;
      if (Skinned() && !Focused()) {
        Font()->SetColor(fontColor_);
        Invalidate();
      }
      if (buttonDown_ || buttonActive_) {
        buttonDown_ = buttonActive_ = false;
        Invalidate();
      }
      OnMouseLeave(this);
      return;
    case CM_ENABLEDCHANGED:
      TksCustomEdit::Dispatch(Message);
      ApplyFontColor();
      Invalidate();
      return;
    default: break;
  }
  TksCustomEdit::Dispatch(Message);
}

void TksSkinCustomEdit::CreateParams(TCreateParams& Params) {
  TksCustomEdit::CreateParams(Params);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_TRANSPARENT);
  static const DWORD kAlign[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style |= kAlign[alignment_];
}

void TksSkinCustomEdit::Invalidate() {
  if (Parent() != nullptr && HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TksSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  GetSkinData();
  if ((AWidth != Width() || AHeight != Height()) && Skinned() && !IsNullRect(skinRect_))
    AHeight = RectHeight(skinRect_);
  TksCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
}

void TksSkinCustomEdit::SetDefaultFont(TFont* value) { defaultFont_->Assign(value); }

// A font given after the skin while loading still writes in the skin's texts' character set.
void TksSkinCustomEdit::Loaded() {
  TksCustomEdit::Loaded();
  if (skinData_ != nullptr && skinData_->ResourceStrData() != nullptr)
    Font()->SetCharset(skinData_->ResourceStrData()->CharSet);
}

// Changed in place or assigned, the default font is the font of the default look.
void TksSkinCustomEdit::DefaultFontChange(TObject*) {
  if (!Skinned()) Font()->Assign(defaultFont_.get());
}

void TksSkinCustomEdit::SetDefaultWidth(int value) {
  defaultWidth_ = value;
  if (!Skinned() && value > 0) SetWidth(value);
}

void TksSkinCustomEdit::SetDefaultHeight(int value) {
  defaultHeight_ = value;
  if (!Skinned() && value > 0) SetHeight(value);
}

void TksSkinCustomEdit::SetButtonMode(bool value) {
  if (buttonMode_ == value) return;
  buttonMode_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TksSkinCustomEdit::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TksSkinCustomEdit::ChangeSkinData() {
  GetSkinData();
  if (!Skinned()) {
    Font()->Assign(defaultFont_.get());
    if (defaultWidth_ > 0) SetWidth(defaultWidth_);
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
  } else if (auto* d = skinData_->ControlData<TksDataSkinEditControl>(controlIndex_)) {
    if (UseSkinFont) {
      Font()->SetName(d->FontName);
      Font()->SetStyle(d->FontStyle);
      SetHeight(RectHeight(skinRect_));
      Font()->SetHeight(d->FontHeight);
    } else {
      Font()->Assign(defaultFont_.get());
      SetHeight(RectHeight(skinRect_));
    }
  }
  Font()->SetCharset(TextCharSet(skinData_, *defaultFont_));
  if (HandleAllocated()) RecreateWnd();
  ApplyFontColor();
}
