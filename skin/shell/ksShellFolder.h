// The shell namespace as the shell controls see it: item ID lists (PIDLs) from the
// shell's allocator, the root-folder names, name, attribute and icon queries, and
// TksShellFolder, one shell item of the folder tree.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <utility>
#include <vector>

#include "framework/core/classes.h"
#include "framework/core/sysutils.h"

// A counted reference to a COM interface.
template <class I>
class TComRef {
 public:
  TComRef() = default;
  // Takes a reference the caller already holds.
  static TComRef Attach(I* p) {
    TComRef r;
    r.p_ = p;
    return r;
  }
  TComRef(const TComRef& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  TComRef(TComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  TComRef& operator=(TComRef o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~TComRef() { Reset(); }
  void Reset() {
    if (I* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Takes a new reference to p.
  static TComRef Share(I* p) {
    if (p) p->AddRef();
    return Attach(p);
  }
  I* Get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For an out parameter of type void**.
  void** PutVoid() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  I** Put() {
    Reset();
    return &p_;
  }

 private:
  I* p_ = nullptr;
};

using TShellFolderRef = TComRef<IShellFolder>;

// ---- PIDL routines -------------------------------------------------------------------
struct TPidlFree {
  void operator()(ITEMIDLIST* pidl) const;
};
using TPidl = std::unique_ptr<ITEMIDLIST, TPidlFree>;

// A zero-filled block from the shell allocator.
TPidl PidlAlloc(size_t size);
LPITEMIDLIST PidlNext(LPCITEMIDLIST pidl);
// Truncates the list in place to its parent.
void PidlStripLast(LPITEMIDLIST pidl);
int PidlCount(LPCITEMIDLIST pidl);
// The item counts plus the two bytes of the terminator.
size_t PidlSize(LPCITEMIDLIST pidl);
TPidl PidlCopy(LPCITEMIDLIST pidl);
TPidl PidlConcat(LPCITEMIDLIST first, LPCITEMIDLIST second);

// ---- Root folders and object types -----------------------------------------------------
enum TRootFolder {
  rfDesktop, rfMyComputer, rfNetwork, rfRecycleBin, rfAppData, rfCommonDesktopDirectory,
  rfCommonPrograms, rfCommonStartMenu, rfCommonStartup, rfControlPanel, rfDesktopDirectory,
  rfFavorites, rfFonts, rfInternet, rfPersonal, rfPrinters, rfPrintHood, rfPrograms, rfRecent,
  rfSendTo, rfStartMenu, rfStartup, rfTemplates
};
// The special-folder id of a root folder, and its name as a root text.
int RootFolderCsidl(TRootFolder folder);
const char* RootFolderName(TRootFolder folder);
// The root folder a text names, ignoring case; false when it names none.
bool FindRootFolder(const String& text, TRootFolder& folder);

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = unsigned;  // a set of TShellObjectType
constexpr TShellObjectTypes ShellObjectSet(TShellObjectType t) { return 1u << t; }
// The enumeration flags of a set of object types.
SHCONTF ShellObjectFlags(TShellObjectTypes types);

enum TksShellCapability { scCanCopy, scCanDelete, scCanLink, scCanMove, scCanRename, scDropTarget, scHasPropSheet };
using TksShellCapabilities = unsigned;  // a set of TksShellCapability

// ---- Shell queries -----------------------------------------------------------------------
TShellFolderRef DesktopShellFolder();
// The child's folder through the parent (BindToObject, GetUIObjectOf, CreateViewObject)
// and last through the desktop, which only an absolute list may reach: a relative one
// there would name the desktop's child of the same id. May give none.
TShellFolderRef BindToShellFolder(IShellFolder* parent, HWND owner, LPCITEMIDLIST relative,
                                  LPCITEMIDLIST absolute);
String ShellDisplayName(IShellFolder* folder, LPCITEMIDLIST pidl, DWORD flags);
// The text of a returned name; an offset is read only within pidl's first item.
String StrRetToText(STRRET& ret, LPCITEMIDLIST pidl);
int ShellIconIndex(LPCITEMIDLIST absolute, bool large, bool open);
// At least one item of the flags; a folder without an enumerator has none.
bool ShellHasChildItems(IShellFolder* folder, SHCONTF flags);
// The relative lists a folder enumerates; none when it has no enumerator or fails.
std::vector<TPidl> ShellChildItems(IShellFolder* folder, HWND owner, SHCONTF flags);
TksShellCapabilities ShellCapabilities(IShellFolder* parent, LPCITEMIDLIST relative);

// ---- TksShellFolder -----------------------------------------------------------------------
class TksShellFolder : public TObject {
 public:
  // Without a parent the desktop object is the parent.
  TksShellFolder(TksShellFolder* parent, TShellFolderRef folder, LPCITEMIDLIST relative);

  LPCITEMIDLIST RelativeID() const { return relative_.get(); }
  LPCITEMIDLIST AbsoluteID() const { return absolute_.get(); }
  TksShellFolder* Parent() const { return parent_; }
  IShellFolder* ShellFolder() const { return folder_.Get(); }
  int Level() const { return level_; }

  IShellFolder* ParentShellFolder() const;
  String PathName() const;
  String DisplayName() const;
  bool SubFolders() const;
  // Compressed folders count as files.
  bool IsFolder() const;
  TksShellCapabilities Capabilities() const;
  // False without the rename capability; raises when the shell refuses.
  bool Rename(const String& NewName);

 private:
  friend struct TDesktopHolder;
  struct DesktopTag {};
  TksShellFolder(DesktopTag, TShellFolderRef folder, LPCITEMIDLIST pidl);
  ULONG Attributes(ULONG asked) const;

  TksShellFolder* parent_;
  TShellFolderRef folder_;
  TPidl relative_;
  TPidl absolute_;
  int level_ = 0;
};

// The desktop's object, made on first use.
TksShellFolder* DesktopFolderObject();

// Makes root the object for a root text. A text that names nothing raises "Error
// setting path: ..." and leaves root as it was and rootText at oldText.
void CreateRootFolder(std::unique_ptr<TksShellFolder>& root, String& rootText, const String& oldText,
                      const String& text);
