#include "framework/gui/stdctrls.h"

#include <algorithm>

#include "framework/core/seams.h"

namespace {

bool LessText(const String& a, const String& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }

}  // namespace

// --- TListBoxStrings -------------------------------------------------------

void TListBoxStrings::Check(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TListBoxStrings::Count() const {
  if (!listBox_.HandleAllocated()) return static_cast<int>(listBox_.saved_.size());
  return static_cast<int>(SendMessageA(listBox_.Handle(), LB_GETCOUNT, 0, 0));
}

String TListBoxStrings::Strings(int index) const {
  Check(index);
  if (!listBox_.HandleAllocated()) return listBox_.saved_[static_cast<size_t>(index)].first;
  LRESULT length = SendMessageA(listBox_.Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return String();
  String text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(listBox_.Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

TObject* TListBoxStrings::Objects(int index) const {
  Check(index);
  return reinterpret_cast<TObject*>(listBox_.GetItemData(index));
}

void TListBoxStrings::SetObjects(int index, TObject* object) {
  Check(index);
  listBox_.SetItemData(index, reinterpret_cast<LRESULT>(object));
}

int TListBoxStrings::Add(const String& s) {
  if (!listBox_.HandleAllocated()) {
    auto& saved = listBox_.saved_;
    auto at = saved.end();
    if (listBox_.Sorted())
      at = std::upper_bound(saved.begin(), saved.end(), s, [](const String& v, const auto& e) { return LessText(v, e.first); });
    at = saved.insert(at, {s, 0});
    return static_cast<int>(at - saved.begin());
  }
  LRESULT index = SendMessageA(listBox_.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (index < 0) throw EOutOfResources("Out of system resources");
  return static_cast<int>(index);
}

void TListBoxStrings::Insert(int index, const String& s) {
  if (index < 0 || index > Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (!listBox_.HandleAllocated()) {
    listBox_.saved_.insert(listBox_.saved_.begin() + index, {s, 0});
    return;
  }
  if (SendMessageA(listBox_.Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str())) < 0)
    throw EOutOfResources("Out of system resources");
}

void TListBoxStrings::Delete(int index) {
  Check(index);
  listBox_.DeleteString(index);
}

void TListBoxStrings::Clear() { listBox_.ResetContent(); }

int TListBoxStrings::IndexOf(const String& s) const {
  if (!listBox_.HandleAllocated()) return TStrings::IndexOf(s);
  LRESULT found = SendMessageA(listBox_.Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
  return found == LB_ERR ? -1 : static_cast<int>(found);
}

// --- TCustomListBox --------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(std::make_unique<TListBoxStrings>(*this)), canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
  controlStyle_ = csSetCaption;
  width_ = 121;
  height_ = 97;
  tabStop_ = true;
  BorderStyle = bsSingle;
  color_ = clWindow;
  parentColor_ = false;
}

TCustomListBox::~TCustomListBox() { canvas_->FreeHandle(); }

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  // Scroll bars must exist at creation for scroll info; LB_FINDSTRING needs the
  // strings; integral height would resize the list.
  Params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (style_ == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (style_ == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (sorted_) Params.Style |= LBS_SORT;
  if (multiSelect_) Params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (columns_ > 0) Params.Style |= LBS_MULTICOLUMN;
  Params.SuperclassOf = "LISTBOX";
  Params.WinClassName = "TListBox";
  Params.WindowClass.style = CS_DBLCLKS;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (style_ != lbStandard) SendMessageA(handle_, LB_SETITEMHEIGHT, 0, itemHeight_);
  if (columns_ > 0) SendMessageA(handle_, LB_SETCOLUMNWIDTH, static_cast<WPARAM>((width_ + columns_ - 1) / columns_), 0);
  auto saved = std::move(saved_);
  saved_.clear();
  for (const auto& [text, data] : saved) {
    LRESULT index = SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) SetItemData(static_cast<int>(index), data);  // where the add put it, also when sorted
  }
  if (savedIndex_ >= 0) SetItemIndex(savedIndex_);
  SetTopIndex(savedTop_);
}

void TCustomListBox::DestroyWnd() {
  if (handle_ != nullptr && Destroying()) {
    ResetContent();  // the last chance for an owner of per-item objects
  } else if (handle_ != nullptr) {
    saved_.clear();
    int count = items_->Count();
    for (int i = 0; i < count; ++i) saved_.emplace_back(items_->Strings(i), GetItemData(i));
    savedIndex_ = ItemIndex();
    savedTop_ = TopIndex();
    // Re-created: the items come back, so nothing per item is freed here.
    SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
  }
  TWinControl::DestroyWnd();
}

LRESULT TCustomListBox::GetItemData(int Index) {
  if (!HandleAllocated()) return saved_.at(static_cast<size_t>(Index)).second;
  return SendMessageA(handle_, LB_GETITEMDATA, static_cast<WPARAM>(Index), 0);
}

void TCustomListBox::SetItemData(int Index, LRESULT AData) {
  if (!HandleAllocated()) {
    saved_.at(static_cast<size_t>(Index)).second = AData;
    return;
  }
  SendMessageA(handle_, LB_SETITEMDATA, static_cast<WPARAM>(Index), AData);
}

void TCustomListBox::DeleteString(int Index) {
  if (!HandleAllocated()) {
    saved_.erase(saved_.begin() + Index);
    return;
  }
  SendMessageA(handle_, LB_DELETESTRING, static_cast<WPARAM>(Index), 0);
}

void TCustomListBox::ResetContent() {
  if (!HandleAllocated()) {
    saved_.clear();
    return;
  }
  SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
}

int TCustomListBox::ItemIndex() {
  if (!HandleAllocated()) return savedIndex_;
  UINT msg = multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL;
  return static_cast<int>(SendMessageA(handle_, msg, 0, 0));
}

void TCustomListBox::SetItemIndex(int value) {
  if (!HandleAllocated()) {
    savedIndex_ = value;
    return;
  }
  if (multiSelect_) {
    SendMessageA(handle_, LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
  } else {
    SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
  }
}

int TCustomListBox::ItemHeight() {
  if (HandleAllocated() && style_ == lbStandard) return static_cast<int>(SendMessageA(handle_, LB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomListBox::SetItemHeight(int value) {
  if (value <= 0 || itemHeight_ == value) return;
  itemHeight_ = value;
  if (HandleAllocated() && style_ != lbStandard) SendMessageA(handle_, LB_SETITEMHEIGHT, 0, value);
}

int TCustomListBox::TopIndex() {
  return HandleAllocated() ? static_cast<int>(SendMessageA(handle_, LB_GETTOPINDEX, 0, 0)) : savedTop_;
}

void TCustomListBox::SetTopIndex(int value) {
  if (!HandleAllocated()) {
    savedTop_ = value;
    return;
  }
  SendMessageA(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(value), 0);
}

bool TCustomListBox::Selected(int index) {
  LRESULT state = SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0);
  if (state == LB_ERR) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return state != 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
  if (multiSelect_) {
    SendMessageA(Handle(), LB_SETSEL, value ? TRUE : FALSE, index);
  } else if (value) {
    SetItemIndex(index);
  } else if (ItemIndex() == index) {
    SetItemIndex(-1);
  }
}

int TCustomListBox::SelCount() {
  if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<int>(SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  int count = items_->Count();
  for (int i = TopIndex(); i < count; ++i) {
    TRect r = ItemRect(i);
    if (r.Top > ClientHeight()) break;
    if (r.Contains(Pos)) return i;
  }
  return Existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int index) {
  RECT r{};
  int count = items_->Count();
  if (index >= 0 && index < count) {
    SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  } else if (index == count && count > 0) {
    SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&r));
    OffsetRect(&r, 0, r.bottom - r.top);
  }
  return TRect::FromRECT(r);
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
  if (style_ == value) return;
  style_ = value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  if (value && !HandleAllocated())
    std::stable_sort(saved_.begin(), saved_.end(), [](const auto& a, const auto& b) { return LessText(a.first, b.first); });
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (multiSelect_ == value) return;
  multiSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool value) {
  if (extendedSelect_ == value) return;
  extendedSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::SetColumns(int value) {
  if (columns_ == value || value < 0) return;
  bool recreate = (columns_ == 0) != (value == 0);
  columns_ = value;
  if (recreate) {
    RecreateWnd();
  } else if (HandleAllocated()) {
    SendMessageA(handle_, LB_SETCOLUMNWIDTH, static_cast<WPARAM>((width_ + columns_ - 1) / columns_), 0);
  }
}

void TCustomListBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
  }
}

void TCustomListBox::MeasureItem(int Index, int& Height) { OnMeasureItem(this, Index, Height); }

void TCustomListBox::CNMeasureItem(TMessage& Message) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int height = itemHeight_;
  if (style_ == lbOwnerDrawVariable) MeasureItem(static_cast<int>(item->itemID), height);
  item->itemHeight = static_cast<UINT>(height);
  Message.Result = TRUE;
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem.Assigned()) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  canvas_->FillRect(Rect);
  if (Index >= 0 && Index < items_->Count()) canvas_->TextOut(Rect.Left + 2, Rect.Top, items_->Strings(Index));
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  TOwnerDrawState state = item->itemState & 0x3F;
  {
    TCanvasDCBinding binding(*canvas_, item->hDC);
    canvas_->Font()->Assign(Font());
    canvas_->Brush()->SetColor((state & odSelected) ? clHighlight : color_);
    canvas_->Font()->SetColor((state & odSelected) ? clHighlightText : Font()->Color());
    TRect r = TRect::FromRECT(item->rcItem);
    if (static_cast<int>(item->itemID) >= 0) {
      DrawItem(static_cast<int>(item->itemID), r, state);
    } else {
      canvas_->FillRect(r);
    }
    if ((state & odFocused) && !OnDrawItem.Assigned()) DrawFocusRect(item->hDC, &item->rcItem);
  }
  Message.Result = TRUE;
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

// --- TCustomEdit -----------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  width_ = 121;
  height_ = 21;
  tabStop_ = true;
  BorderStyle = bsSingle;
  color_ = clWindow;
  parentColor_ = false;
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  static const DWORD kCase[] = {0, ES_UPPERCASE, ES_LOWERCASE};
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | kCase[charCase_];  // never ES_READONLY
  if (!hideSelection_) Params.Style |= ES_NOHIDESEL;
  if (oemConvert_) Params.Style |= ES_OEMCONVERT;
  Params.SuperclassOf = "EDIT";
  Params.WinClassName = "TEdit";
  Params.WindowClass.style = CS_DBLCLKS;
}

void TCustomEdit::CreateWnd() {
  creating_ = true;
  TWinControl::CreateWnd();
  creating_ = false;
  SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (passwordChar_ != 0) SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
}

void TCustomEdit::SetMaxLength(int value) {
  maxLength_ = std::max(value, 0);
  if (HandleAllocated()) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (charCase_ == value) return;
  charCase_ = value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
  if (hideSelection_ == value) return;
  hideSelection_ = value;
  RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool value) {
  if (oemConvert_ == value) return;
  oemConvert_ = value;
  RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char value) {
  if (passwordChar_ == value) return;
  passwordChar_ = value;
  if (HandleAllocated()) {
    SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(value), 0);
    Invalidate();
  }
}

int TCustomEdit::SelStart() {
  DWORD start = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) { SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(value), value); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value) {
  int start = SelStart();
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + value);
  SendMessageA(handle_, EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText() {
  int start = SelStart();
  return Text().substr(static_cast<size_t>(start), static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const String& value) {
  SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }
void TCustomEdit::Undo() { SendMessageA(Handle(), WM_UNDO, 0, 0); }
bool TCustomEdit::CanUndo() { return HandleAllocated() && SendMessageA(handle_, EM_CANUNDO, 0, 0) != 0; }
bool TCustomEdit::Modified() { return HandleAllocated() && SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0; }

void TCustomEdit::SetModified(bool value) {
  if (HandleAllocated()) SendMessageA(handle_, EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE && !creating_) Change();
      return;
    case WM_SETFOCUS:
      TWinControl::Dispatch(Message);
      if (AutoSelect && !(Pointer().GetKeyState(VK_LBUTTON) < 0)) SelectAll();
      return;
    default: TWinControl::Dispatch(Message); return;
  }
}

// --- TCustomMemo -----------------------------------------------------------

int TMemoStrings::Count() const {
  if (!memo_.HandleAllocated()) {
    TStringList lines;
    lines.SetText(memo_.Text());
    return lines.Count();
  }
  int count = static_cast<int>(SendMessageA(memo_.Handle(), EM_GETLINECOUNT, 0, 0));
  // The line after a final break is empty and not a line of its own.
  if (count > 0 && SendMessageA(memo_.Handle(), EM_LINELENGTH, SendMessageA(memo_.Handle(), EM_LINEINDEX, count - 1, 0), 0) == 0)
    --count;
  return count;
}

String TMemoStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (!memo_.HandleAllocated()) {
    TStringList lines;
    lines.SetText(memo_.Text());
    return lines.Strings(index);
  }
  HWND wnd = memo_.Handle();
  LRESULT start = SendMessageA(wnd, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  LRESULT length = SendMessageA(wnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  // EM_GETLINE reads the buffer size from the buffer's first word.
  String text(std::max<size_t>(static_cast<size_t>(length), sizeof(WORD)) + 1, '\0');
  *reinterpret_cast<WORD*>(text.data()) = static_cast<WORD>(length);
  LRESULT got = SendMessageA(wnd, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
  return text;
}

void TMemoStrings::Insert(int index, const String& s) {
  int count = Count();
  if (index < 0 || index > count) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (!memo_.HandleAllocated()) {
    TStringList lines;
    lines.SetText(memo_.Text());
    lines.Insert(index, s);
    memo_.SetText(lines.Text());
    return;
  }
  HWND wnd = memo_.Handle();
  String line;
  LRESULT at;
  if (index < count) {
    at = SendMessageA(wnd, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    line = s + "\r\n";
  } else {
    at = GetWindowTextLengthA(wnd);
    String text = memo_.Text();
    bool endsWithBreak = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
    line = (count > 0 && !endsWithBreak ? "\r\n" : "") + s + "\r\n";
  }
  SendMessageA(wnd, EM_SETSEL, static_cast<WPARAM>(at), at);
  SendMessageA(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void TMemoStrings::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (!memo_.HandleAllocated()) {
    TStringList lines;
    lines.SetText(memo_.Text());
    lines.Delete(index);
    memo_.SetText(lines.Text());
    return;
  }
  HWND wnd = memo_.Handle();
  LRESULT start = SendMessageA(wnd, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  LRESULT end = SendMessageA(wnd, EM_LINEINDEX, static_cast<WPARAM>(index + 1), 0);
  if (end < 0) end = GetWindowTextLengthA(wnd);
  SendMessageA(wnd, EM_SETSEL, static_cast<WPARAM>(start), end);
  SendMessageA(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void TMemoStrings::Clear() { memo_.SetText(""); }

void TMemoStrings::SetText(const String& text) {
  TStringList lines;
  lines.SetText(text);
  memo_.SetText(lines.Text());
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(*this)) {
  width_ = 185;
  height_ = 89;
  AutoSize = false;
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  static const DWORD kAlign[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  static const DWORD kBars[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
  Params.Style |= ES_MULTILINE | kAlign[alignment_] | kBars[scrollBars_];
  if (wordWrap_) Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  Params.WinClassName = "TMemo";
}

void TCustomMemo::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  RecreateWnd();
}

void TCustomMemo::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomEdit::Dispatch(Message);
    // Without these, Enter and Tab reach the default button and the tab order.
    if (!WantTabs) Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    if (!WantReturns) Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    return;
  }
  TCustomEdit::Dispatch(Message);
}
