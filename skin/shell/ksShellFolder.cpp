#include "skin/shell/ksShellFolder.h"

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "framework/core/fileutils.h"
#include "framework/core/widetext.h"

// ---- PIDL routines -------------------------------------------------------------------

namespace {

TComRef<IMalloc> ShellMalloc() {
  TComRef<IMalloc> m;
  SHGetMalloc(m.Put());
  return m;
}

USHORT ItemCount(LPCITEMIDLIST pidl) {
  USHORT cb = 0;
  std::memcpy(&cb, pidl, sizeof cb);
  return cb;
}

}  // namespace

void TPidlFree::operator()(ITEMIDLIST* pidl) const {
  if (auto m = ShellMalloc()) m->Free(pidl);
}

TPidl PidlAlloc(size_t size) {
  auto m = ShellMalloc();
  if (!m) return nullptr;
  void* block = m->Alloc(size);
  if (!block) return nullptr;
  std::memset(block, 0, size);
  return TPidl(static_cast<ITEMIDLIST*>(block));
}

LPITEMIDLIST PidlNext(LPCITEMIDLIST pidl) {
  auto* bytes = reinterpret_cast<const BYTE*>(pidl);
  return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(bytes + ItemCount(pidl)));
}

void PidlStripLast(LPITEMIDLIST pidl) {
  if (!pidl || ItemCount(pidl) == 0) return;
  LPITEMIDLIST last = pidl;
  for (LPITEMIDLIST p = pidl; ItemCount(p) != 0; p = PidlNext(p)) last = p;
  last->mkid.cb = 0;
}

int PidlCount(LPCITEMIDLIST pidl) {
  int n = 0;
  for (LPCITEMIDLIST p = pidl; p && ItemCount(p) != 0; p = PidlNext(p)) ++n;
  return n;
}

size_t PidlSize(LPCITEMIDLIST pidl) {
  if (!pidl) return 0;
  size_t size = sizeof(USHORT);
  for (LPCITEMIDLIST p = pidl; ItemCount(p) != 0; p = PidlNext(p)) size += ItemCount(p);
  return size;
}

TPidl PidlCopy(LPCITEMIDLIST pidl) {
  const size_t size = pidl ? PidlSize(pidl) : sizeof(USHORT);
  TPidl copy = PidlAlloc(size);
  if (copy && pidl) std::memcpy(copy.get(), pidl, size);
  return copy;
}

TPidl PidlConcat(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  const size_t head = first ? PidlSize(first) - sizeof(USHORT) : 0;
  const size_t tail = second ? PidlSize(second) : sizeof(USHORT);
  TPidl result = PidlAlloc(head + tail);
  if (!result) return nullptr;
  auto* out = reinterpret_cast<BYTE*>(result.get());
  if (head) std::memcpy(out, first, head);
  if (second) std::memcpy(out + head, second, tail);
  return result;
}

// ---- Root folders and object types -----------------------------------------------------

namespace {

struct TRootFolderEntry {
  const char* Name;
  int Csidl;
};

constexpr std::array<TRootFolderEntry, 23> kRootFolders{{
    {"rfDesktop", CSIDL_DESKTOP}, {"rfMyComputer", CSIDL_DRIVES}, {"rfNetwork", CSIDL_NETWORK},
    {"rfRecycleBin", CSIDL_BITBUCKET}, {"rfAppData", CSIDL_APPDATA},
    {"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY}, {"rfCommonPrograms", CSIDL_COMMON_PROGRAMS},
    {"rfCommonStartMenu", CSIDL_COMMON_STARTMENU}, {"rfCommonStartup", CSIDL_COMMON_STARTUP},
    {"rfControlPanel", CSIDL_CONTROLS}, {"rfDesktopDirectory", CSIDL_DESKTOPDIRECTORY},
    {"rfFavorites", CSIDL_FAVORITES}, {"rfFonts", CSIDL_FONTS}, {"rfInternet", CSIDL_INTERNET},
    {"rfPersonal", CSIDL_PERSONAL}, {"rfPrinters", CSIDL_PRINTERS}, {"rfPrintHood", CSIDL_PRINTHOOD},
    {"rfPrograms", CSIDL_PROGRAMS}, {"rfRecent", CSIDL_RECENT}, {"rfSendTo", CSIDL_SENDTO},
    {"rfStartMenu", CSIDL_STARTMENU}, {"rfStartup", CSIDL_STARTUP}, {"rfTemplates", CSIDL_TEMPLATES},
}};

}  // namespace

int RootFolderCsidl(TRootFolder folder) { return kRootFolders[folder].Csidl; }
const char* RootFolderName(TRootFolder folder) { return kRootFolders[folder].Name; }

bool FindRootFolder(const String& text, TRootFolder& folder) {
  for (size_t i = 0; i < kRootFolders.size(); ++i) {
    if (SameText(text, kRootFolders[i].Name)) {
      folder = static_cast<TRootFolder>(i);
      return true;
    }
  }
  return false;
}

SHCONTF ShellObjectFlags(TShellObjectTypes types) {
  SHCONTF flags = 0;
  if (types & ShellObjectSet(otFolders)) flags |= SHCONTF_FOLDERS;
  if (types & ShellObjectSet(otNonFolders)) flags |= SHCONTF_NONFOLDERS;
  if (types & ShellObjectSet(otHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
  return flags;
}

// ---- Shell queries -----------------------------------------------------------------------

TShellFolderRef DesktopShellFolder() {
  TShellFolderRef desktop;
  SHGetDesktopFolder(desktop.Put());
  return desktop;
}

TShellFolderRef BindToShellFolder(IShellFolder* parent, HWND owner, LPCITEMIDLIST relative,
                                  LPCITEMIDLIST absolute) {
  TShellFolderRef folder;
  if (parent) {
    if (FAILED(parent->BindToObject(relative, nullptr, IID_IShellFolder, folder.PutVoid())) &&
        FAILED(parent->GetUIObjectOf(owner, 1, &relative, IID_IShellFolder, nullptr, folder.PutVoid())))
      parent->CreateViewObject(owner, IID_IShellFolder, folder.PutVoid());
  }
  if (!folder && absolute) {
    if (auto desktop = DesktopShellFolder())
      desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.PutVoid());
  }
  return folder;
}

String StrRetToText(STRRET& ret, LPCITEMIDLIST pidl) {
  String text;
  switch (ret.uType) {
    case STRRET_WSTR:
      if (ret.pOleStr) {
        text = WideToAnsi(ret.pOleStr);
        CoTaskMemFree(ret.pOleStr);
        ret.pOleStr = nullptr;
      }
      break;
    case STRRET_OFFSET:
      if (pidl) {
        const size_t cb = ItemCount(pidl);
        auto* item = reinterpret_cast<const char*>(pidl);
        for (size_t i = ret.uOffset; i < cb && item[i] != '\0'; ++i) text += item[i];
      }
      break;
    case STRRET_CSTR:
      text.assign(ret.cStr, strnlen(ret.cStr, sizeof ret.cStr));
      break;
    default:
      break;
  }
  if (text.size() > 1 && text[0] == '?' && text[1] >= '0' && text[1] <= '9')
    text.erase(std::remove(text.begin(), text.end(), '?'), text.end());
  return text;
}

String ShellDisplayName(IShellFolder* folder, LPCITEMIDLIST pidl, DWORD flags) {
  if (!folder) return "parentfolder = nil";
  STRRET ret{};
  if (FAILED(folder->GetDisplayNameOf(pidl, flags, &ret))) return "";
  String name = StrRetToText(ret, pidl);
  if (name.starts_with("::{") && flags != SHGDN_NORMAL) return ShellDisplayName(folder, pidl, SHGDN_NORMAL);
  return name;
}

int ShellIconIndex(LPCITEMIDLIST absolute, bool large, bool open) {
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_PIDL;
  if (open) flags |= SHGFI_OPENICON;
  if (!large) flags |= SHGFI_SMALLICON;
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info, flags);
  return info.iIcon;
}

bool ShellHasChildItems(IShellFolder* folder, SHCONTF flags) {
  if (!folder) return false;
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  TComRef<IEnumIDList> items;
  bool any = false;
  if (SUCCEEDED(folder->EnumObjects(nullptr, flags, items.Put())) && items) {
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    any = items->Next(1, &item, &fetched) == S_OK && fetched == 1;
    TPidl owned(item);
  }
  SetErrorMode(previous);
  return any;
}

std::vector<TPidl> ShellChildItems(IShellFolder* folder, HWND owner, SHCONTF flags) {
  std::vector<TPidl> children;
  TComRef<IEnumIDList> items;
  try {
    if (!folder || FAILED(folder->EnumObjects(owner, flags, items.Put())) || !items) return children;
    for (;;) {
      LPITEMIDLIST item = nullptr;
      ULONG fetched = 0;
      const HRESULT hr = items->Next(1, &item, &fetched);
      TPidl owned(item);
      if (hr != S_OK || fetched != 1 || !owned) break;
      children.push_back(std::move(owned));
    }
  } catch (...) {
    // A failing shell extension leaves the folder without children.
    children.clear();
  }
  return children;
}

TksShellCapabilities ShellCapabilities(IShellFolder* parent, LPCITEMIDLIST relative) {
  static constexpr std::array<ULONG, 7> kBits{SFGAO_CANCOPY, SFGAO_CANDELETE, SFGAO_CANLINK, SFGAO_CANMOVE,
                                              SFGAO_CANRENAME, SFGAO_DROPTARGET, SFGAO_HASPROPSHEET};
  if (!parent) return 0;
  ULONG attributes = 0x177;
  if (FAILED(parent->GetAttributesOf(1, &relative, &attributes))) return 0;
  TksShellCapabilities caps = 0;
  for (size_t i = 0; i < kBits.size(); ++i)
    if (attributes & kBits[i]) caps |= 1u << i;
  return caps;
}

// ---- TksShellFolder -----------------------------------------------------------------------

// The desktop's object and the OLE start it needs, released at program end.
struct TDesktopHolder {
  bool Ole = false;
  std::unique_ptr<TksShellFolder> Folder;

  TDesktopHolder() {
    Ole = SUCCEEDED(OleInitialize(nullptr));
    LPITEMIDLIST pidl = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl);
    TPidl owned(pidl);
    Folder.reset(new TksShellFolder(TksShellFolder::DesktopTag{}, DesktopShellFolder(), owned.get()));
  }
  ~TDesktopHolder() {
    Folder.reset();
    if (Ole) OleUninitialize();
  }
};

TksShellFolder* DesktopFolderObject() {
  static TDesktopHolder holder;
  return holder.Folder.get();
}

TksShellFolder::TksShellFolder(TksShellFolder* parent, TShellFolderRef folder, LPCITEMIDLIST relative)
    : parent_(parent ? parent : DesktopFolderObject()), folder_(std::move(folder)), relative_(PidlCopy(relative)) {
  absolute_ = PidlConcat(parent_ ? parent_->AbsoluteID() : nullptr, relative_.get());
  for (TksShellFolder* p = parent_; p; p = p->parent_) ++level_;
}

TksShellFolder::TksShellFolder(DesktopTag, TShellFolderRef folder, LPCITEMIDLIST pidl)
    : parent_(nullptr), folder_(std::move(folder)), relative_(PidlCopy(pidl)), absolute_(PidlCopy(pidl)) {}

IShellFolder* TksShellFolder::ParentShellFolder() const {
  if (parent_ && parent_->ShellFolder()) return parent_->ShellFolder();
  return DesktopFolderObject() ? DesktopFolderObject()->ShellFolder() : nullptr;
}

String TksShellFolder::PathName() const {
  TksShellFolder* desktop = DesktopFolderObject();
  return ShellDisplayName(desktop ? desktop->ShellFolder() : nullptr, AbsoluteID(), SHGDN_FORPARSING);
}

String TksShellFolder::DisplayName() const { return ShellDisplayName(ParentShellFolder(), RelativeID(), SHGDN_INFOLDER); }

ULONG TksShellFolder::Attributes(ULONG asked) const {
  IShellFolder* parent = ParentShellFolder();
  LPCITEMIDLIST item = RelativeID();
  if (!parent || FAILED(parent->GetAttributesOf(1, &item, &asked))) return 0;
  return asked;
}

bool TksShellFolder::SubFolders() const { return (Attributes(SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0; }

bool TksShellFolder::IsFolder() const {
  if ((Attributes(SFGAO_FOLDER) & SFGAO_FOLDER) == 0) return false;
  return UpperCase(ExtractFileExt(PathName())) != ".ZIP";
}

TksShellCapabilities TksShellFolder::Capabilities() const { return ShellCapabilities(ParentShellFolder(), RelativeID()); }

bool TksShellFolder::Rename(const String& NewName) {
  if ((Capabilities() & (1u << scCanRename)) == 0) return false;
  IShellFolder* parent = ParentShellFolder();
  const std::wstring wide = AnsiToWide(NewName);
  LPITEMIDLIST renamed = nullptr;
  if (!parent || FAILED(parent->SetNameOf(nullptr, RelativeID(), wide.c_str(), SHGDN_NORMAL, &renamed)) || !renamed)
    throw Exception(Format("Rename to %s failed", NewName));
  relative_.reset(renamed);
  absolute_ = PidlConcat(parent_ ? parent_->AbsoluteID() : nullptr, relative_.get());
  // The old folder object still stands for the old path.
  if (folder_) folder_ = BindToShellFolder(parent, nullptr, RelativeID(), AbsoluteID());
  return true;
}

void CreateRootFolder(std::unique_ptr<TksShellFolder>& root, String& rootText, const String& oldText,
                      const String& text) {
  TPidl pidl;
  TRootFolder special{};
  if (FindRootFolder(text, special)) {
    LPITEMIDLIST found = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, RootFolderCsidl(special), &found))) pidl.reset(found);
  } else if (!text.empty()) {
    String path = text;
    if (path.ends_with(':')) path += '\\';
    std::wstring wide = AnsiToWide(path);
    LPITEMIDLIST found = nullptr;
    if (auto desktop = DesktopShellFolder();
        desktop && SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &found, nullptr)))
      pidl.reset(found);
  }
  if (!pidl) {
    // text may be rootText itself.
    Exception refused(Format("Error setting path: \"%s\"", text));
    rootText = oldText;
    throw refused;
  }
  root.reset();
  TksShellFolder* desktop = DesktopFolderObject();
  TShellFolderRef folder = BindToShellFolder(desktop->ShellFolder(), nullptr, pidl.get(), pidl.get());
  if (!folder) folder = DesktopShellFolder();
  root = std::make_unique<TksShellFolder>(desktop, std::move(folder), pidl.get());
}
