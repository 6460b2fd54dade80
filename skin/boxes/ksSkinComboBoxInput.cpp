// How the skinned combo box takes the mouse in its drop-down and on its face,
// focus, keys, type-ahead and the wheel, and its inner edit in edit style.
#include <algorithm>

#include "framework/core/seams.h"
#include "skin/boxes/ksListBox.h"
#include "skin/boxes/ksSkinComboBox.h"
#include "skin/boxes/ksTextBoxMessages.h"

namespace {

bool IsArrowKey(WPARAM key) { return key >= VK_LEFT && key <= VK_DOWN; }

}  // namespace

// --- the open list -------------------------------------------------------------------

void TksSkinCustomComboBox::ListBoxWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONUP:
      listMouseDown_ = false;
      CloseUp(true);
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return;
    case WM_MOUSEACTIVATE:
      savedListProc_(Message);
      Message.Result = MA_NOACTIVATE;
      return;
    default: break;
  }
  savedListProc_(Message);
}

void TksSkinCustomComboBox::ListBoxMouseDown(TObject*, TMouseButton, TShiftState, int, int) { listMouseDown_ = true; }

void TksSkinCustomComboBox::ListBoxMouseMove(TObject*, TShiftState, int X, int Y) {
  if (listMouseDown_) return;
  const int index = listBox_->ItemAtPos(TPoint{X, Y}, true);
  if (index >= 0 && index != listBox_->ItemIndex()) listBox_->SetItemIndex(index);
}

void TksSkinCustomComboBox::ListBoxMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  listMouseDown_ = false;
  CloseUp(true);
}

void TksSkinCustomComboBox::CheckButtonClick(TObject*) { CloseUp(true); }

// --- the face --------------------------------------------------------------------------

void TksSkinCustomComboBox::SetButtonActive(bool value) {
  if (buttonActive_ == value) return;
  buttonActive_ = value;
  Invalidate();
}

void TksSkinCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
  SetButtonActive(PointInRect(buttonRect_, TPoint{X, Y}));
  TksSkinCustomControl::MouseMove(Shift, X, Y);
}

void TksSkinCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (edit_ == nullptr && !Focused() && CanFocus()) SetFocus();
  if (Button == mbLeft) {
    // A press is where the pointer is, also when no move came before it.
    SetButtonActive(PointInRect(buttonRect_, TPoint{X, Y}));
    if (buttonActive_ || (style_ == kscbFixedStyle && PointInRect(textRect_, TPoint{X, Y}))) {
      buttonDown_ = true;
      Invalidate();
      if (DroppedDown())
        CloseUp(false);
      else
        DropDown();
    } else {
      CloseUp(false);
    }
  }
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TksSkinCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (buttonDown_) {
    buttonDown_ = false;
    Invalidate();
  }
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinCustomComboBox::CMMouseLeave(TMessage& Message) {
  TksSkinCustomControl::CMMouseLeave(Message);
  SetButtonActive(false);
}

void TksSkinCustomComboBox::CMEnabledChanged(TMessage& Message) {
  TksSkinCustomControl::CMEnabledChanged(Message);
  Invalidate();
}

void TksSkinCustomComboBox::WMSetFocus(TMessage& Message) {
  if (style_ == kscbEditStyle && edit_ != nullptr) {
    if (edit_->CanFocus()) edit_->SetFocus();
    return;
  }
  TksSkinCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TksSkinCustomComboBox::WMKillFocus(TMessage& Message) {
  TksSkinCustomControl::WMKillFocus(Message);
  if (style_ == kscbFixedStyle) CloseUp(false);
  Invalidate();
}

void TksSkinCustomComboBox::WMSize(TMessage& Message) {
  TksSkinCustomControl::WMSize(Message);
  CalcRects();
}

void TksSkinCustomComboBox::CancelModeFrom(TControl* pressed) {
  if (pressed == this || pressed == listBox_ || pressed == listBox_->ListBox() ||
      (pressed != nullptr && (pressed == listBox_->VScrollBar() || pressed == listBox_->HScrollBar())))
    return;
  CloseUp(false);
}

void TksSkinCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      // The arrows always move the selection; Enter and Esc close an open list.
      if (IsArrowKey(Message.WParam) ||
          (DroppedDown() && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE))) {
        Message.Result = 1;
        return;
      }
      break;
    case CM_CANCELMODE:
      TksSkinCustomControl::WndProc(Message);
      CancelModeFrom(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case WM_MOUSEWHEEL:
      if (style_ == kscbFixedStyle) {
        MouseWheel(GET_WHEEL_DELTA_WPARAM(Message.WParam));
        Message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TksSkinCustomControl::WndProc(Message);
}

// --- keys, type-ahead and the wheel ------------------------------------------------------

void TksSkinCustomComboBox::MoveTo(int index, bool AChange) {
  // An empty list has nothing to move to.
  if (Items()->Count() == 0) return;
  if (AChange)
    SetItemIndex(index);
  else
    listBox_->SetItemIndex(index);
}

void TksSkinCustomComboBox::ComboUp(bool AChange) {
  const int index = listBox_->ItemIndex();
  if (index > 0) MoveTo(index - 1, AChange);
}

void TksSkinCustomComboBox::ComboDown(bool AChange) {
  const int index = listBox_->ItemIndex();
  if (index < Items()->Count() - 1) MoveTo(index + 1, AChange);
}

void TksSkinCustomComboBox::ComboPageUp(bool AChange) {
  MoveTo(std::max(0, listBox_->ItemIndex() - dropDownCount_ - 1), AChange);
}

void TksSkinCustomComboBox::ComboPageDown(bool AChange) {
  MoveTo(std::min(Items()->Count() - 1, listBox_->ItemIndex() + dropDownCount_ - 1), AChange);
}

void TksSkinCustomComboBox::MouseWheel(int delta) {
  const bool closed = !DroppedDown();
  if (delta > 0)
    ComboUp(closed);
  else
    ComboDown(closed);
}

void TksSkinCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
  TksSkinCustomControl::KeyDown(Key, Shift);
  const bool alt = (Shift & ssAlt) != 0;
  switch (Key) {
    case VK_RETURN: CloseUp(true); break;
    case VK_ESCAPE: CloseUp(false); break;
    case VK_PRIOR: ComboPageUp(true); break;
    case VK_NEXT: ComboPageDown(true); break;
    case VK_LEFT:
    case VK_UP:
      if (alt)
        CloseUp(false);
      else
        ComboUp(true);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (!alt)
        ComboDown(true);
      else if (!DroppedDown())
        DropDown();
      break;
    default: break;
  }
}

void TksSkinCustomComboBox::KeyPress(char& Key) {
  TksSkinCustomControl::KeyPress(Key);
  if (style_ == kscbFixedStyle) FindItem(String(1, Key));
}

int TksSkinCustomComboBox::FindString(const String& S, bool afterCurrent) {
  const WPARAM start = static_cast<WPARAM>(afterCurrent ? listBox_->ItemIndex() : -1);
  return static_cast<int>(SendMessageA(listBox_->ListBox()->Handle(), LB_FINDSTRING, start,
                                       reinterpret_cast<LPARAM>(S.c_str())));
}

void TksSkinCustomComboBox::FindItem(const String& S) {
  String s = S;
  if (AutoComplete) {
    const DWORD now = Clock().TickCount();
    if (now - lastKeyTime_ >= kFindStringPause) findString_.clear();
    lastKeyTime_ = now;
    findString_ += s;
    s = findString_;
  }
  // One letter searches on from the selection, so pressing it again cycles.
  const int found = FindString(s, s.size() == 1);
  if (found >= 0) SetItemIndex(found);
}

// --- edit style ----------------------------------------------------------------------

void TksSkinCustomComboBox::CreateEditControl() {
  edit_ = new TksCustomEdit(this);
  edit_->SetParent(this);
  edit_->AutoSize = false;
  edit_->SetHideSelection(HideSelection);
  edit_->OnChange = Bind<&TksSkinCustomComboBox::EditChange>(this);
  edit_->OnKeyDown = Bind<&TksSkinCustomComboBox::EditKeyDown>(this);
  edit_->OnKeyPress = Bind<&TksSkinCustomComboBox::EditKeyPress>(this);
  edit_->OnKeyUp = Bind<&TksSkinCustomComboBox::EditKeyUp>(this);
  edit_->OnEditCancelMode = Bind<&TksSkinCustomComboBox::EditCancelMode>(this);
  savedEditProc_ = edit_->WindowProc();
  edit_->SetWindowProc(Bind<&TksSkinCustomComboBox::EditWndProc>(this));
  ApplyEditFont(Font());
  edit_->SetVisible(true);
  CalcRects();
}

void TksSkinCustomComboBox::FreeEditControl() {
  if (edit_ == nullptr) return;
  edit_->SetVisible(false);
  TksCustomEdit* edit = edit_;
  edit_ = nullptr;
  // Its window goes with it: the messages of its end still find their procedure.
  edit->SetWindowProc(savedEditProc_);
  delete edit;
  savedEditProc_ = {};
}

void TksSkinCustomComboBox::ApplyEditFont(TFont* plain) {
  TFont* f = edit_->Font();
  if (Skinned()) {
    f->SetName(fontName_);
    f->SetStyle(fontStyle_);
    f->SetHeight(fontHeight_);
    f->SetColor(fontColor_);
  } else {
    f->SetName(plain->Name());
    f->SetStyle(plain->Style());
    f->SetHeight(plain->Height());
    f->SetColor(plain->Color());
  }
  f->SetCharset(TextCharSet(SkinData(), *DefaultFont()));
  edit_->SetTransparent(Skinned());
}

bool TksSkinCustomComboBox::DoubleByteCharSet() {
  const int charset = TextCharSet(SkinData(), *DefaultFont());
  return charset == SHIFTJIS_CHARSET || charset == GB2312_CHARSET || charset == CHINESEBIG5_CHARSET;
}

void TksSkinCustomComboBox::EditWndProc(TMessage& Message) {
  const bool open = DroppedDown();
  switch (Message.Msg) {
    case WM_KEYDOWN:
      switch (Message.WParam) {
        case VK_RETURN: CloseUp(true); break;
        case VK_ESCAPE: CloseUp(false); break;
        case VK_PRIOR:
          if (open) ComboPageUp(false);
          break;
        case VK_NEXT:
          if (open) ComboPageDown(false);
          break;
        case VK_UP: EditUp(true); return;
        case VK_DOWN: EditDown(true); return;
        default: break;
      }
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoubleByteCharSet()) {
        if (Message.WParam == VK_DELETE || Message.WParam == VK_BACK) break;
        edit_->SetSelLength(0);
      } else if (Message.WParam < '0') {
        break;
      }
      savedEditProc_(Message);
      if (AutoComplete && edit_ != nullptr) EditAutoComplete();
      return;
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: CloseUp(false); break;
    case WM_MOUSEWHEEL:
      if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
        EditUp(!open);
      else
        EditDown(!open);
      break;
    default: break;
  }
  savedEditProc_(Message);
}

void TksSkinCustomComboBox::EditStep(int delta, bool AChange) {
  const int index = listBox_->ItemIndex() + delta;
  if (index < 0 || index >= Items()->Count()) return;
  listBox_->SetItemIndex(index);
  if (!AChange) return;
  SetText(Items()->Strings(index));
  OnClick(this);
}

void TksSkinCustomComboBox::EditUp(bool AChange) { EditStep(-1, AChange); }
void TksSkinCustomComboBox::EditDown(bool AChange) { EditStep(1, AChange); }

void TksSkinCustomComboBox::EditAutoComplete() {
  const DWORD now = Clock().TickCount();
  if (now - lastKeyTime_ < kAutoCompletePause) return;
  lastKeyTime_ = now;
  const String s = Text();
  if (s.empty()) return;
  const int found = FindString(s, s.size() == 1);
  if (found < 0) return;
  const int typed = static_cast<int>(s.size());
  SetItemIndex(found);
  edit_->SetSelStart(typed);
  edit_->SetSelLength(static_cast<int>(Text().size()) - typed);
}

void TksSkinCustomComboBox::EditChange(TObject*) {
  editChanging_ = true;
  const String text = edit_->Text();
  const int current = listBox_->ItemIndex();
  // The text of the selected item itself leaves the selection where it is.
  const bool isCurrent = current >= 0 && current < Items()->Count() && Items()->Strings(current) == text;
  if (!text.empty() && !isCurrent) {
    const int found = FindString(text, false);
    if (found >= 0)
      SendMessageA(listBox_->ListBox()->Handle(), AutoComplete ? LB_SETCURSEL : LB_SETTOPINDEX,
                   static_cast<WPARAM>(found), 0);
  }
  SetText(text);
  editChanging_ = false;
}

void TksSkinCustomComboBox::EditCancelMode(TControl* pressed) { CancelModeFrom(pressed); }

void TksSkinCustomComboBox::EditKeyDown(TObject*, WORD& Key, TShiftState Shift) { OnKeyDown(this, Key, Shift); }
void TksSkinCustomComboBox::EditKeyPress(TObject*, char& Key) { OnKeyPress(this, Key); }
void TksSkinCustomComboBox::EditKeyUp(TObject*, WORD& Key, TShiftState Shift) { OnKeyUp(this, Key, Shift); }
