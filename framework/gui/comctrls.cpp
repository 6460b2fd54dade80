#include "framework/gui/comctrls.h"

#include <algorithm>
#include <cstring>

#include "framework/core/sysutils.h"
#include "framework/gui/commoncontrols.h"

namespace {

HTREEITEM ItemOf(TTreeNode* node) { return node != nullptr ? node->ItemId() : TVI_ROOT; }

int CALLBACK CompareNodeTexts(LPARAM a, LPARAM b, LPARAM) {
  const auto* left = reinterpret_cast<const TTreeNode*>(a);
  const auto* right = reinterpret_cast<const TTreeNode*>(b);
  return lstrcmpiA(left->Text().c_str(), right->Text().c_str());
}

}  // namespace

// --- TTreeNode -------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes& owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TCustomTreeView& TTreeNode::TreeView() const { return owner_.Owner(); }

void TTreeNode::SetItem(UINT mask, const TVITEMA& values) {
  TCustomTreeView& tree = TreeView();
  if (itemId_ == nullptr || !tree.HandleAllocated()) return;
  TVITEMA item = values;
  item.mask = mask | TVIF_HANDLE;
  item.hItem = itemId_;
  SendMessageA(tree.Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetText(const String& value) {
  text_ = value;
  TVITEMA item{};
  item.pszText = const_cast<char*>(text_.c_str());
  SetItem(TVIF_TEXT, item);
}

void TTreeNode::SetImageIndex(int value) {
  imageIndex_ = value;
  if (TreeView().HandleAllocated()) InvalidateRect(TreeView().Handle(), nullptr, TRUE);
}

void TTreeNode::SetSelectedIndex(int value) {
  selectedIndex_ = value;
  if (TreeView().HandleAllocated()) InvalidateRect(TreeView().Handle(), nullptr, TRUE);
}

bool TTreeNode::HasChildren() const { return hasChildren_ || !children_.empty(); }

void TTreeNode::SetHasChildren(bool value) {
  hasChildren_ = value;
  TVITEMA item{};
  item.cChildren = value || !children_.empty() ? 1 : 0;
  SetItem(TVIF_CHILDREN, item);
}

bool TTreeNode::Expanded() const {
  TCustomTreeView& tree = TreeView();
  if (itemId_ == nullptr || !tree.HandleAllocated()) return false;
  LRESULT state = SendMessageA(tree.Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(itemId_), TVIS_EXPANDED);
  return (state & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand(bool Recurse) {
  TCustomTreeView& tree = TreeView();
  if (!Expanded() && HasChildren() && tree.CanExpand(this)) {
    // The control may ask again through TVN_ITEMEXPANDING; it is answered already.
    tree.allowedExpansion_ = this;
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(itemId_));
    tree.allowedExpansion_ = nullptr;
  }
  if (Recurse && Expanded())
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  TCustomTreeView& tree = TreeView();
  if (Recurse)
    for (auto& child : children_) child->Collapse(true);
  if (Expanded()) SendMessageA(tree.Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(itemId_));
}

bool TTreeNode::Selected() const { return TreeView().Selected() == this; }

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
  return children_[static_cast<size_t>(index)].get();
}

int TTreeNode::Index() const {
  const auto& siblings = owner_.SiblingsOf(parent_);
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& siblings = owner_.SiblingsOf(parent_);
  size_t next = static_cast<size_t>(Index()) + 1;
  return next < siblings.size() ? siblings[next].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  int index = Index();
  return index > 0 ? owner_.SiblingsOf(parent_)[static_cast<size_t>(index - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!children_.empty()) return children_.front().get();
  for (const TTreeNode* node = this; node != nullptr; node = node->parent_)
    if (TTreeNode* next = node->GetNextSibling(); next != nullptr) return next;
  return nullptr;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = parent_; p != nullptr; p = p->parent_) ++level;
  return level;
}

void TTreeNode::Delete() {
  auto& siblings = owner_.SiblingsOf(parent_);
  owner_.Release(siblings, static_cast<size_t>(Index()));  // this object is gone now
}

void TTreeNode::DeleteChildren() {
  while (!children_.empty()) owner_.Release(children_, children_.size() - 1);
  SetHasChildren(false);
}

// --- TTreeNodes ------------------------------------------------------------

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::SiblingsOf(TTreeNode* parent) {
  return parent != nullptr ? parent->children_ : roots_;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, HTREEITEM after, size_t position, const String& S, void* Ptr) {
  HWND wnd = owner_.Handle();
  auto node = std::make_unique<TTreeNode>(*this, parent);
  node->text_ = S;
  node->Data = Ptr;
  TVINSERTSTRUCTA insert{};
  insert.hParent = ItemOf(parent);
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(node->text_.c_str());
  insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
  insert.item.iImage = I_IMAGECALLBACK;  // GetImageIndex decides when drawn
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  node->itemId_ = reinterpret_cast<HTREEITEM>(
      SendMessageA(wnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (node->itemId_ == nullptr) throw EOutOfResources("Out of system resources");
  auto& siblings = SiblingsOf(parent);
  TTreeNode* result = node.get();
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), std::move(node));
  return result;
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Ptr) {
  return InsertNode(Parent, TVI_LAST, SiblingsOf(Parent).size(), S, Ptr);
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S) {
  return AddChildObject(Sibling != nullptr ? Sibling->parent_ : nullptr, S, nullptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const String& S, void* Ptr) {
  if (Sibling == nullptr) return AddChildObject(nullptr, S, Ptr);
  TTreeNode* prev = Sibling->GetPrevSibling();
  return InsertNode(Sibling->parent_, prev != nullptr ? prev->itemId_ : TVI_FIRST,
                    static_cast<size_t>(Sibling->Index()), S, Ptr);
}

void TTreeNodes::Release(std::vector<std::unique_ptr<TTreeNode>>& list, size_t index) {
  TTreeNode* node = list.at(index).get();
  while (!node->children_.empty()) Release(node->children_, node->children_.size() - 1);
  owner_.Delete(node);
  ++owner_.deleting_;
  // Deleting the item may move the selection: TVN_SELCHANGED must still find the node.
  if (node->itemId_ != nullptr && owner_.HandleAllocated())
    SendMessageA(owner_.Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->itemId_));
  --owner_.deleting_;
  auto& siblings = SiblingsOf(node->parent_);
  auto it = std::find_if(siblings.begin(), siblings.end(), [node](const auto& p) { return p.get() == node; });
  if (it != siblings.end()) siblings.erase(it);
}

void TTreeNodes::ReleaseAll() {
  while (!roots_.empty()) Release(roots_, roots_.size() - 1);
}

void TTreeNodes::Clear() {
  BeginUpdate();
  ReleaseAll();
  EndUpdate();
}

int TTreeNodes::Count() const {
  int n = 0;
  for (TTreeNode* node = GetFirstNode(); node != nullptr; node = node->GetNext()) ++n;
  return n;
}

TTreeNode* TTreeNodes::Item(int index) const {
  TTreeNode* node = index >= 0 ? GetFirstNode() : nullptr;
  for (int i = 0; node != nullptr && i < index; ++i) node = node->GetNext();
  if (node == nullptr) throw EListError(Format("List index out of bounds (%d)", index));
  return node;
}

void TTreeNodes::BeginUpdate() {
  if (updateCount_++ == 0 && owner_.HandleAllocated()) SendMessageA(owner_.Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && owner_.HandleAllocated()) {
    SendMessageA(owner_.Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(owner_.Handle(), nullptr, TRUE);
  }
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM item) const {
  if (item == nullptr || !owner_.HandleAllocated()) return nullptr;
  TVITEMA tv{};
  tv.mask = TVIF_HANDLE | TVIF_PARAM;
  tv.hItem = item;
  if (!SendMessageA(owner_.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<TTreeNode*>(tv.lParam);
}

void TTreeNodes::ReadOrder(TTreeNode* parent) {
  auto& siblings = SiblingsOf(parent);
  std::vector<std::unique_ptr<TTreeNode>> ordered;
  HWND wnd = owner_.Handle();
  auto item = reinterpret_cast<HTREEITEM>(
      SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(ItemOf(parent))));
  for (; item != nullptr;
       item = reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    auto it = std::find_if(siblings.begin(), siblings.end(), [item](const auto& p) { return p && p->itemId_ == item; });
    if (it != siblings.end()) ordered.push_back(std::move(*it));
  }
  for (auto& rest : siblings)
    if (rest) ordered.push_back(std::move(rest));  // never lose a node the control did not list
  siblings = std::move(ordered);
  for (auto& node : siblings) ReadOrder(node.get());
}

// --- TCustomTreeView -------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner), items_(*this) {
  // Clicks come as NM_CLICK from the control. The control follows a press in a loop of
  // its own that takes the release: a capture set for the press would outlive it and
  // swallow the next click anywhere.
  controlStyle_ = csDoubleClicks;
  width_ = 121;
  height_ = 97;
  tabStop_ = true;
  BorderStyle = bsSingle;
  color_ = clWindow;
  parentColor_ = false;
}

TCustomTreeView::~TCustomTreeView() {
  // Without Free() the derived parts are gone already: their handlers must not run.
  OnDeletion.Clear();
  OnChanging.Clear();
  OnChange.Clear();
  // Our DestroyWnd must run while this class is still whole.
  destroying_ = true;
  DestroyHandle();
  SetImages(nullptr);
  SetStateImages(nullptr);
}

void TCustomTreeView::BeforeDestruction() {
  if (ComponentState() & csDestroying) return;
  destroying_ = true;
  DestroyHandle();
  TWinControl::BeforeDestruction();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  InitCommonControlClasses(ICC_TREEVIEW_CLASSES);
  TWinControl::CreateParams(Params);
  Params.Style |= styleFlags_;
  Params.SuperclassOf = WC_TREEVIEWA;
  Params.WinClassName = "TTreeView";
  Params.WindowClass.style = CS_DBLCLKS;
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
  if (images_ != nullptr)
    SendMessageA(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
  if (stateImages_ != nullptr)
    SendMessageA(handle_, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(stateImages_->Handle()));
}

void TCustomTreeView::DestroyWnd() {
  // The nodes are the control's items: they go with the window.
  if (handle_ != nullptr) {
    SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
    items_.ReleaseAll();
  }
  TWinControl::DestroyWnd();
}

void TCustomTreeView::SetStyleFlag(DWORD flag, bool value) {
  styleFlags_ = value ? styleFlags_ | flag : styleFlags_ & ~flag;
  if (handle_ == nullptr) return;
  // The control reads these styles live; re-creating would drop every node.
  LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  style = value ? style | static_cast<LONG_PTR>(flag) : style & ~static_cast<LONG_PTR>(flag);
  SetWindowLongPtrA(handle_, GWL_STYLE, style);
  InvalidateRect(handle_, nullptr, TRUE);
}

int TCustomTreeView::Indent() {
  if (handle_ != nullptr) indent_ = static_cast<int>(SendMessageA(handle_, TVM_GETINDENT, 0, 0));
  return indent_;
}

void TCustomTreeView::SetIndent(int value) {
  indent_ = value;
  if (handle_ != nullptr) SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(value), 0);
}

void TCustomTreeView::SetImageList(TCustomImageList*& slot, TCustomImageList* value, WPARAM which) {
  if (slot == value) return;
  if (slot != nullptr) {
    slot->OnChange.Clear();
    slot->RemoveFreeNotification(this);
  }
  slot = value;
  if (value != nullptr) {
    value->FreeNotification(this);
    value->OnChange = Bind<&TCustomTreeView::ImageListChanged>(this);
  }
  if (handle_ != nullptr)
    SendMessageA(handle_, TVM_SETIMAGELIST, which,
                 reinterpret_cast<LPARAM>(value != nullptr ? value->Handle() : nullptr));
}

void TCustomTreeView::ImageListChanged(TObject*) {
  if (handle_ != nullptr) InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    if (AComponent == images_) SetImages(nullptr);
    if (AComponent == stateImages_) SetStateImages(nullptr);
  }
  TWinControl::Notification(AComponent, Operation);
}

TTreeNode* TCustomTreeView::Selected() {
  if (handle_ == nullptr) return nullptr;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(handle_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  return items_.GetNode(item);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  if (handle_ == nullptr && node == nullptr) return;
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node != nullptr ? node->itemId_ : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() {
  if (handle_ == nullptr) return nullptr;
  return items_.GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(handle_, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* node) {
  if (node != nullptr)
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->itemId_));
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) {
  if (handle_ == nullptr) return nullptr;
  TVHITTESTINFO hit{};
  hit.pt = {X, Y};
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(handle_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)) ? items_.GetNode(item)
                                                                                                 : nullptr;
}

bool TCustomTreeView::CustomSort(TTVCompare SortProc, LPARAM Data) {
  if (handle_ == nullptr) return false;
  std::vector<HTREEITEM> parents{TVI_ROOT};
  for (TTreeNode* node = items_.GetFirstNode(); node != nullptr; node = node->GetNext())
    if (node->Count() > 1) parents.push_back(node->itemId_);
  bool ok = true;
  for (HTREEITEM parent : parents) {
    TVSORTCB sort{parent, SortProc, Data};
    ok = SendMessageA(handle_, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)) != 0 && ok;
  }
  items_.ReadOrder(nullptr);
  return ok;
}

bool TCustomTreeView::AlphaSort() { return CustomSort(CompareNodeTexts, 0); }

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  OnExpanding(this, Node, allow);
  return allow;
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  OnChanging(this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) { OnChange(this, Node); }

void TCustomTreeView::Delete(TTreeNode* Node) { OnDeletion(this, Node); }

bool TCustomTreeView::Expanding(TTreeNode* node) {
  if (node == nullptr) return true;
  if (node == allowedExpansion_) return true;
  return CanExpand(node);
}

TTreeNode* TCustomTreeView::NodeOfItem(const TVITEMA& item) const {
  return reinterpret_cast<TTreeNode*>(item.lParam);
}

void TCustomTreeView::CNNotify(TMessage& Message) {
  auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
  // A and W forms share the fields read here (no text), so both are taken.
  switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
      if (nm->action & TVE_EXPAND) Message.Result = Expanding(NodeOfItem(nm->itemNew)) ? FALSE : TRUE;
      break;
    }
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
      auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
      TTreeNode* node = NodeOfItem(nm->itemNew);
      // A deletion moving the selection cannot be refused.
      Message.Result = node == nullptr || deleting_ > 0 || CanChange(node) ? FALSE : TRUE;
      break;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      Change(NodeOfItem(reinterpret_cast<NMTREEVIEWA*>(header)->itemNew));
      break;
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
      TTreeNode* node = NodeOfItem(info->item);
      if (node == nullptr) break;
      if (info->item.mask & TVIF_IMAGE) {
        GetImageIndex(node);
        info->item.iImage = node->imageIndex_;
      }
      if (info->item.mask & TVIF_SELECTEDIMAGE) {
        GetSelectedIndex(node);
        info->item.iSelectedImage = node->selectedIndex_;
      }
      break;
    }
    case TVN_BEGINLABELEDITA: {
      TTreeNode* node = NodeOfItem(reinterpret_cast<NMTVDISPINFOA*>(header)->item);
      bool allow = !ReadOnly();
      if (allow) OnEditing(this, node, allow);
      Message.Result = allow ? FALSE : TRUE;
      break;
    }
    case TVN_ENDLABELEDITA: {
      auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
      TTreeNode* node = NodeOfItem(info->item);
      if (node == nullptr || info->item.pszText == nullptr) break;  // cancelled
      String text = info->item.pszText;
      OnEdited(this, node, text);
      node->SetText(text);
      Message.Result = FALSE;  // the text is set already
      break;
    }
    case NM_CLICK:
      Click();
      break;
    case NM_RCLICK:
      if (RightClickSelect) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        if (TTreeNode* node = GetNodeAt(p.x, p.y); node != nullptr) SetSelected(node);
      }
      break;
    default:
      break;
  }
}

void TCustomTreeView::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}

// --- TCustomListView -------------------------------------------------------

namespace {

int ColumnFormat(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return LVCFMT_RIGHT;
    case taCenter: return LVCFMT_CENTER;
    case taLeftJustify: break;
  }
  return LVCFMT_LEFT;
}

template <class T>
int IndexIn(const std::vector<std::unique_ptr<T>>& list, const T* object) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == object) return static_cast<int>(i);
  return -1;
}

}  // namespace

void TListColumn::Apply() {
  if (!owner_.HandleAllocated()) return;
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | (imageIndex_ >= 0 ? LVCF_IMAGE : 0);
  column.fmt = ColumnFormat(alignment_) | (imageIndex_ >= 0 ? LVCFMT_IMAGE : 0);
  column.cx = width_;
  column.pszText = const_cast<char*>(caption_.c_str());
  column.iImage = imageIndex_;
  SendMessageA(owner_.Handle(), LVM_SETCOLUMNA, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&column));
}

void TListColumn::SetCaption(const String& value) {
  caption_ = value;
  Apply();
}

int TListColumn::Width() {
  if (owner_.HandleAllocated())  // the user may have dragged it
    width_ = static_cast<int>(SendMessageA(owner_.Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
  return width_;
}

void TListColumn::SetWidth(int value) {
  width_ = value;
  Apply();
}

void TListColumn::SetAlignment(TAlignment value) {
  alignment_ = value;
  Apply();
}

void TListColumn::SetImageIndex(int value) {
  imageIndex_ = value;
  Apply();
}

int TListColumn::Index() const { return IndexIn(owner_.columns_, this); }

void TListItem::Apply() {
  if (!owner_.HandleAllocated()) return;
  HWND wnd = owner_.Handle();
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = Index();
  item.pszText = const_cast<char*>(caption_.c_str());
  item.iImage = imageIndex_;
  SendMessageA(wnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  for (size_t i = 0; i < subItems_.size(); ++i) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(i + 1);
    sub.pszText = const_cast<char*>(subItems_[i].c_str());
    SendMessageA(wnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(item.iItem), reinterpret_cast<LPARAM>(&sub));
  }
}

void TListItem::SetCaption(const String& value) {
  caption_ = value;
  Apply();
}

void TListItem::SetImageIndex(int value) {
  imageIndex_ = value;
  Apply();
}

void TListItem::SetSubItem(int index, const String& value) {
  if (index < 0) throw EListError(Format("List index out of bounds (%d)", index));
  if (static_cast<size_t>(index) >= subItems_.size()) subItems_.resize(static_cast<size_t>(index) + 1);
  subItems_[static_cast<size_t>(index)] = value;
  Apply();
}

int TListItem::Index() const { return IndexIn(owner_.items_, this); }

TCustomListView::TCustomListView(TComponent* AOwner) : TWinControl(AOwner) {
  // As the tree: the control's own loop takes a press's release.
  controlStyle_ = csDoubleClicks;
  width_ = 250;
  height_ = 150;
  tabStop_ = true;
  BorderStyle = bsSingle;
  color_ = clWindow;
  parentColor_ = false;
}

TCustomListView::~TCustomListView() { SetSmallImages(nullptr); }

DWORD TCustomListView::ViewFlags() const {
  static constexpr DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  return kViews[viewStyle_] | (showColumnHeaders_ ? 0 : LVS_NOCOLUMNHEADER);
}

void TCustomListView::CreateParams(TCreateParams& Params) {
  InitCommonControlClasses(ICC_LISTVIEW_CLASSES);
  TWinControl::CreateParams(Params);
  Params.Style |= ViewFlags() | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
  Params.SuperclassOf = WC_LISTVIEWA;
  Params.WinClassName = "TListView";
  Params.WindowClass.style = CS_DBLCLKS;
}

void TCustomListView::CreateWnd() {
  TWinControl::CreateWnd();
  if (dragReorder_) SendMessageA(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
  if (smallImages_ != nullptr)
    SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_->Handle()));
  for (size_t i = 0; i < columns_.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = columns_[i]->width_;
    SendMessageA(handle_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    columns_[i]->Apply();
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    LVITEMA item{};
    item.iItem = static_cast<int>(i);
    SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    items_[i]->Apply();
  }
}

void TCustomListView::UpdateStyle() {
  if (handle_ == nullptr) return;
  // The control switches views live; re-creation is not needed.
  LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  style &= ~static_cast<LONG_PTR>(LVS_TYPEMASK | LVS_NOCOLUMNHEADER);
  SetWindowLongPtrA(handle_, GWL_STYLE, style | static_cast<LONG_PTR>(ViewFlags()));
}

void TCustomListView::SetViewStyle(TViewStyle value) {
  viewStyle_ = value;
  UpdateStyle();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
  showColumnHeaders_ = value;
  UpdateStyle();
}

void TCustomListView::SetDragReorder(bool value) {
  dragReorder_ = value;
  if (handle_ != nullptr)
    SendMessageA(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, value ? LVS_EX_HEADERDRAGDROP : 0);
}

void TCustomListView::SetSmallImages(TCustomImageList* value) {
  if (value == smallImages_) return;
  if (smallImages_ != nullptr) smallImages_->RemoveFreeNotification(this);
  smallImages_ = value;
  if (value != nullptr) value->FreeNotification(this);
  if (handle_ != nullptr)
    SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(value != nullptr ? value->Handle() : nullptr));
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == smallImages_) SetSmallImages(nullptr);
  TWinControl::Notification(AComponent, Operation);
}

TListItem* TCustomListView::AddItem(const String& caption) {
  items_.push_back(std::make_unique<TListItem>(*this, caption));
  TListItem* result = items_.back().get();
  if (handle_ != nullptr) {
    LVITEMA item{};
    item.iItem = static_cast<int>(items_.size() - 1);
    SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    result->Apply();
  }
  return result;
}

TListItem* TCustomListView::Items(int index) const {
  if (index < 0 || index >= ItemCount()) throw EListError(Format("List index out of bounds (%d)", index));
  return items_[static_cast<size_t>(index)].get();
}

void TCustomListView::DeleteItem(int index) {
  Items(index);
  if (handle_ != nullptr) SendMessageA(handle_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  items_.erase(items_.begin() + index);
}

void TCustomListView::ClearItems() {
  if (handle_ != nullptr) SendMessageA(handle_, LVM_DELETEALLITEMS, 0, 0);
  items_.clear();
}

TListColumn* TCustomListView::AddColumn(const String& caption, int width) {
  columns_.push_back(std::make_unique<TListColumn>(*this, caption, width));
  TListColumn* result = columns_.back().get();
  if (handle_ != nullptr) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = width;
    SendMessageA(handle_, LVM_INSERTCOLUMNA, columns_.size() - 1, reinterpret_cast<LPARAM>(&column));
    result->Apply();
    // Sub-items of a column that did not exist yet were not taken.
    for (auto& item : items_) item->Apply();
  }
  return result;
}

TListColumn* TCustomListView::Columns(int index) const {
  if (index < 0 || index >= ColumnCount()) throw EListError(Format("List index out of bounds (%d)", index));
  return columns_[static_cast<size_t>(index)].get();
}

void TCustomListView::DeleteColumn(int index) {
  Columns(index);
  if (handle_ != nullptr) SendMessageA(handle_, LVM_DELETECOLUMN, static_cast<WPARAM>(index), 0);
  columns_.erase(columns_.begin() + index);
}

HWND TCustomListView::HeaderHandle() {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<HWND>(SendMessageA(handle_, LVM_GETHEADER, 0, 0));
}
