#include "skin/shell/ksSkinDirTreeView.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "framework/core/fileutils.h"
#include "framework/gui/application.h"
#include "framework/gui/menus.h"
#include "framework/gui/screen.h"
#include "skin/draw/ksSystemSeam.h"

namespace {

// The folder of a path's item (its parent).
String DirectoryOf(const String& path) {
  const size_t slash = path.find_last_of('\\');
  if (slash == String::npos) return path;
  return slash <= 2 ? path.substr(0, slash + 1) : path.substr(0, slash);
}

// The hourglass while the shell is read; the previous cursor after.
class THourGlass {
 public:
  THourGlass() : previous_(Screen ? Screen->Cursor() : crDefault) {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~THourGlass() {
    if (Screen) Screen->SetCursor(previous_);
  }
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

 private:
  TCursor previous_;
};

}  // namespace

TksCustomShellTreeView::TksCustomShellTreeView(TComponent* AOwner) : TksSkinCustomTreeView(AOwner) {
  RightClickSelect = true;
  SetShowRoot(false);
  SHFILEINFOA info{};
  systemImages_ = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (systemImages_) ImageList_SetBkColor(systemImages_, CLR_NONE);
  notifier_ = new TksShellChangeNotifier(this);
  notifier_->SetSubComponent(true);
}

TksCustomShellTreeView::~TksCustomShellTreeView() = default;

void TksCustomShellTreeView::ApplyImages() {
  if (!HandleAllocated()) return;
  HIMAGELIST list = Images() ? Images()->Handle() : useShellImages_ ? systemImages_ : nullptr;
  settingImages_ = true;
  SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
  settingImages_ = false;
}

void TksCustomShellTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomTreeView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == shellComboBox_) shellComboBox_ = nullptr;
  if (AComponent == shellListView_) shellListView_ = nullptr;
}

void TksCustomShellTreeView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
      // Only the open shell menu draws and answers these; with none they are dropped.
      if (openMenu_) openMenu_->HandleMenuMsg(Message.Msg, Message.WParam, Message.LParam);
      Message.Result = 0;
      return;
    case TVM_SETIMAGELIST:
      // The tree keeps its own choice of list, whoever asks and for whichever list.
      if (!settingImages_) {
        ApplyImages();
        Message.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  TksSkinCustomTreeView::WndProc(Message);
}

void TksCustomShellTreeView::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (AutoContextMenus && !(PopupMenu() && PopupMenu()->AutoPopup) && SelectedFolder()) {
    POINT screen{MousePos.X, MousePos.Y};
    ::ClientToScreen(Handle(), &screen);
    ShowShellContextMenu(screen);
    Handled = true;
    return;
  }
  TksSkinCustomTreeView::DoContextPopup(MousePos, Handled);
}

void TksCustomShellTreeView::ShowShellContextMenu(POINT screen) {
  TksShellFolder* folder = SelectedFolder();
  IShellFolder* parent = folder ? folder->ParentShellFolder() : nullptr;
  if (!parent) return;
  LPCITEMIDLIST item = folder->RelativeID();
  TComRef<IContextMenu> menu;
  if (FAILED(parent->GetUIObjectOf(Handle(), 1, &item, IID_IContextMenu, nullptr, menu.PutVoid())) || !menu) return;
  MenuHandle popup(CreatePopupMenu());
  if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME))) return;
  menu->QueryInterface(IID_IContextMenu2, openMenu_.PutVoid());
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr));
  openMenu_.Reset();
  if (command == 0) return;
  char verb[256] = {};
  menu->GetCommandString(command - 1, GCS_VERBA, nullptr, verb, sizeof verb);
  bool succeeded = true;
  if (!BeforeShellCommand(verb)) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = Handle();
    info.lpVerb = MAKEINTRESOURCEA(command - 1);
    info.nShow = SW_SHOWNORMAL;
    succeeded = SUCCEEDED(menu->InvokeCommand(&info));
  }
  AfterShellCommand(verb, succeeded);
}

void TksCustomShellTreeView::CreateWnd() {
  TksSkinCustomTreeView::CreateWnd();
  ApplyImages();
  if (!buildingRoot_) CreateRoot(root_);
}

void TksCustomShellTreeView::Loaded() {
  TksSkinCustomTreeView::Loaded();
  CreateRoot(root_);
}

void TksCustomShellTreeView::SetRoot(const String& value) {
  if (SameText(value, root_)) return;
  const String old = root_;
  root_ = value;
  CreateRoot(old);
}

void TksCustomShellTreeView::SetObjectTypes(TShellObjectTypes value) {
  objectTypes_ = value;
  CreateRoot(root_);
}

void TksCustomShellTreeView::SetUseShellImages(bool value) {
  useShellImages_ = value;
  ApplyImages();
}

TksShellFolder* TksCustomShellTreeView::SelectedFolder() { return FolderOf(Selected()); }

void TksCustomShellTreeView::Delete(TTreeNode* Node) {
  TksSkinCustomTreeView::Delete(Node);
  delete FolderOf(Node);
  Node->Data = nullptr;
}

void TksCustomShellTreeView::CreateRoot(const String& oldText) {
  if (ComponentState() & csLoading) return;
  std::optional<Exception> refused;
  try {
    const String text = root_;
    CreateRootFolder(rootObject_, root_, oldText, text);
  } catch (const Exception& e) {
    refused = e;
  }
  if (rootObject_) {
    buildingRoot_ = true;
    Items()->Clear();
    auto* folder = new TksShellFolder(nullptr, TShellFolderRef::Share(rootObject_->ShellFolder()),
                                      rootObject_->AbsoluteID());
    TksShellFolder* desktop = DesktopFolderObject();
    TTreeNode* node = Items()->AddChildObject(
        nullptr, ShellDisplayName(desktop ? desktop->ShellFolder() : nullptr, folder->AbsoluteID(), SHGDN_NORMAL),
        folder);
    SetIcons(node, *folder);
    node->SetHasChildren(folder->SubFolders());
    node->Expand(false);
    busy_ = true;
    SetSelected(node);
    busy_ = false;
    buildingRoot_ = false;
  }
  if (refused) throw *refused;
}

void TksCustomShellTreeView::SetIcons(TTreeNode* node, const TksShellFolder& folder) {
  if (!useShellImages_ || Images()) return;
  node->SetImageIndex(ShellIconIndex(folder.AbsoluteID(), false, false));
  const int open = ShellIconIndex(folder.AbsoluteID(), false, true);
  node->SetSelectedIndex(open == 0 ? node->ImageIndex() : open);
}

void TksCustomShellTreeView::InitNode(TTreeNode* parentNode, LPCITEMIDLIST pidl) {
  TksShellFolder* parent = FolderOf(parentNode);
  TPidl absolute = PidlConcat(parent->AbsoluteID(), pidl);
  auto* folder = new TksShellFolder(
      parent, BindToShellFolder(parent->ShellFolder(), Handle(), pidl, absolute.get()), pidl);
  TTreeNode* node = Items()->AddChildObject(parentNode, folder->DisplayName(), folder);
  SetIcons(node, *folder);
  bool hasChildren = folder->SubFolders();
  if ((objectTypes_ & ShellObjectSet(otNonFolders)) && folder->ShellFolder())
    hasChildren = ShellHasChildItems(folder->ShellFolder(), ShellObjectFlags(objectTypes_));
  node->SetHasChildren(hasChildren);
  bool canAdd = true;
  OnAddFolder(this, folder, canAdd);
  if (!canAdd) node->Delete();
}

void TksCustomShellTreeView::PopulateNode(TTreeNode* node) {
  TksShellFolder* folder = FolderOf(node);
  if (!folder) return;
  const THourGlass busy;
  HWND owner = Application ? Application->Handle() : nullptr;
  std::vector<TPidl> children = ShellChildItems(folder->ShellFolder(), owner, ShellObjectFlags(objectTypes_));
  // The shell's own order: the low 16 bits of CompareIDs, signed.
  if (IShellFolder* shell = folder->ShellFolder()) {
    std::stable_sort(children.begin(), children.end(), [shell](const TPidl& a, const TPidl& b) {
      return static_cast<short>(LOWORD(shell->CompareIDs(0, a.get(), b.get()))) < 0;
    });
  }
  Items()->BeginUpdate();
  for (const TPidl& child : children) InitNode(node, child.get());
  Items()->EndUpdate();
}

bool TksCustomShellTreeView::CanExpand(TTreeNode* Node) {
  const bool allow = TksSkinCustomTreeView::CanExpand(Node);
  if (TksShellFolder* folder = FolderOf(Node); allow && folder) {
    if (folder->IsFolder()) {
      if (Node->HasChildren() && Node->Count() == 0) PopulateNode(Node);
    } else {
      const String path = folder->PathName();
      KsSystemSeam().ShellExecuteHidden(path, DirectoryOf(path));
    }
  }
  Node->SetHasChildren(Node->Count() > 0);
  return allow;
}

TTreeNode* TksCustomShellTreeView::FindNodeByID(LPCITEMIDLIST ID, TTreeNode* StartNode) {
  TksShellFolder* desktop = DesktopFolderObject();
  if (!StartNode || !desktop || !desktop->ShellFolder()) return nullptr;
  const int level = StartNode->Level();
  for (TTreeNode* node = StartNode; node && (node == StartNode || node->Level() > level); node = node->GetNext()) {
    TksShellFolder* folder = FolderOf(node);
    if (folder && static_cast<short>(LOWORD(desktop->ShellFolder()->CompareIDs(0, ID, folder->AbsoluteID()))) == 0)
      return node;
  }
  return nullptr;
}

void TksCustomShellTreeView::RefreshNode(TTreeNode* Node) {
  TksShellFolder* old = FolderOf(Node);
  if (!old || !old->ShellFolder()) return;
  TPidl topId = TopItem() && FolderOf(TopItem()) ? PidlCopy(FolderOf(TopItem())->AbsoluteID()) : nullptr;
  TPidl selectedId = SelectedFolder() ? PidlCopy(SelectedFolder()->AbsoluteID()) : nullptr;
  const THourGlass hourGlass;
  const bool wasBusy = std::exchange(busy_, true);
  Items()->BeginUpdate();
  auto* folder = new TksShellFolder(old->Parent(), TShellFolderRef::Share(old->ShellFolder()), old->RelativeID());
  TTreeNode* fresh = Items()->InsertObject(Node, "", folder);
  PopulateNode(fresh);
  SetIcons(fresh, *folder);
  fresh->SetHasChildren(folder->SubFolders());
  fresh->SetText(folder->DisplayName());
  const int level = Node->Level();
  for (TTreeNode* n = Node; n && (n == Node || n->Level() > level); n = n->GetNext()) {
    if (!n->Expanded()) continue;
    if (TTreeNode* match = FindNodeByID(FolderOf(n)->AbsoluteID(), fresh)) match->Expand(false);
  }
  Node->Delete();
  if (selectedId) {
    if (TTreeNode* node = FindNodeByID(selectedId.get(), Items()->GetFirstNode())) SetSelected(node);
  }
  if (topId) {
    if (TTreeNode* node = FindNodeByID(topId.get(), Items()->GetFirstNode())) SetTopItem(node);
  }
  Items()->EndUpdate();
  busy_ = wasBusy;
}

void TksCustomShellTreeView::RenameNode(TTreeNode* Node, const String& NewName) {
  TksShellFolder* folder = FolderOf(Node);
  if (!folder || !folder->Rename(NewName)) return;
  Node->SetText(folder->DisplayName());
  // The children's lists were made under the old name.
  const bool expanded = Node->Expanded();
  Node->DeleteChildren();
  if (expanded) {
    PopulateNode(Node);
    Node->SetHasChildren(Node->Count() > 0);
    Node->Expand(false);
  } else {
    Node->SetHasChildren(folder->SubFolders());
  }
}

void TksCustomShellTreeView::CNNotify(TMessage& Message) {
  auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
  if (header->code != TVN_ENDLABELEDITA) {
    TksSkinCustomTreeView::CNNotify(Message);
    return;
  }
  auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
  auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
  Message.Result = FALSE;
  if (!node || !info->item.pszText) return;  // cancelled
  String text = info->item.pszText;
  OnEdited(this, node, text);
  RenameNode(node, text);
}

bool TksCustomShellTreeView::CanChange(TTreeNode* Node) {
  const bool allow = TksSkinCustomTreeView::CanChange(Node);
  if (allow && !busy_) {
    const bool was = autoRefresh_;
    SetAutoRefresh(false);
    selecting_ = Node;
    SetAutoRefresh(was);
    selecting_ = nullptr;
  }
  return allow;
}

void TksCustomShellTreeView::SetAutoRefresh(bool value) {
  autoRefresh_ = value;
  if (ComponentState() & csLoading) return;
  delete notifier_;
  notifier_ = nullptr;
  if (value) StartNotifier();
}

void TksCustomShellTreeView::StartNotifier() {
  notifier_ = new TksShellChangeNotifier(this);
  notifier_->SetSubComponent(true);
  TksShellFolder* folder = selecting_ ? FolderOf(selecting_) : rootObject_.get();
  if (folder && !folder->IsFolder() && folder->Parent()) folder = folder->Parent();
  if (folder) notifier_->SetRoot(folder->PathName());
  notifier_->SetWatchSubTree(false);
  notifier_->SetOnChange([this] {
    if (TTreeNode* node = Selected()) RefreshNode(node);
  });
}

bool TksCustomShellTreeView::BeforeShellCommand(const String& Verb) {
  TTreeNode* node = Selected();
  if (SameText(Verb, "rename")) {
    if (node) SendMessageA(Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(node->ItemId()));
    return true;
  }
  if (SameText(Verb, "open")) {
    savedDirectory_ = GetCurrentDir();
    if (TksShellFolder* folder = FolderOf(node)) SetCurrentDirectoryA(DirectoryOf(folder->PathName()).c_str());
  }
  return false;
}

void TksCustomShellTreeView::AfterShellCommand(const String& Verb, bool Succeeded) {
  // A failed "open" must not leave the program in the item's folder either.
  if (SameText(Verb, "open") && !savedDirectory_.empty()) {
    SetCurrentDirectoryA(savedDirectory_.c_str());
    savedDirectory_.clear();
  }
  TTreeNode* node = Selected();
  if (!Succeeded || !node) return;
  if (SameText(Verb, "delete")) {
    // A cancelled or failed delete leaves the item, and so its node.
    if (GetFileAttributesA(FolderOf(node)->PathName().c_str()) == INVALID_FILE_ATTRIBUTES) node->Delete();
  } else if (SameText(Verb, "paste")) {
    RefreshNode(node);
  }
}
