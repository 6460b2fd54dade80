#include "framework/gui/stdctrls.h"

#include <algorithm>

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
    if (Pos.X >= r.Left && Pos.X < r.Right && Pos.Y >= r.Top && Pos.Y < r.Bottom) return i;
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
  canvas_->Lock();
  canvas_->FreeHandle();
  canvas_->SetHandle(item->hDC);
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor((state & odSelected) ? clHighlight : color_);
  canvas_->Font()->SetColor((state & odSelected) ? clHighlightText : Font()->Color());
  try {
    TRect r = TRect::FromRECT(item->rcItem);
    if (static_cast<int>(item->itemID) >= 0) {
      DrawItem(static_cast<int>(item->itemID), r, state);
    } else {
      canvas_->FillRect(r);
    }
    if ((state & odFocused) && !OnDrawItem.Assigned()) DrawFocusRect(item->hDC, &item->rcItem);
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
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
