// The shell namespace routines and folder objects against a scratch folder tree.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/core/sysutils.h"
#include "skin/shell/ksShellFolder.h"
#include "skin/tests/ksShellScratch.h"

namespace {

using shelltest::ShellScratch;

// A list of items with the given payload bytes each.
TPidl MakePidl(const std::vector<std::string>& items) {
  size_t size = sizeof(USHORT);
  for (const auto& item : items) size += sizeof(USHORT) + item.size();
  TPidl pidl = PidlAlloc(size);
  auto* out = reinterpret_cast<BYTE*>(pidl.get());
  for (const auto& item : items) {
    const USHORT cb = static_cast<USHORT>(sizeof(USHORT) + item.size());
    std::memcpy(out, &cb, sizeof cb);
    std::memcpy(out + sizeof cb, item.data(), item.size());
    out += cb;
  }
  return pidl;
}

TEST(ShellPidl, CountSizeConcatAndStrip) {
  TPidl a = MakePidl({"abc", "de"});
  TPidl b = MakePidl({"f"});
  EXPECT_EQ(PidlCount(a.get()), 2);
  EXPECT_EQ(PidlSize(a.get()), 5u + 4u + 2u);
  TPidl ab = PidlConcat(a.get(), b.get());
  EXPECT_EQ(PidlCount(ab.get()), 3);
  EXPECT_EQ(PidlSize(ab.get()), 5u + 4u + 3u + 2u);
  EXPECT_EQ(std::memcmp(PidlNext(PidlNext(ab.get())), b.get(), PidlSize(b.get())), 0);
  PidlStripLast(ab.get());
  EXPECT_EQ(PidlSize(ab.get()), PidlSize(a.get()));
  EXPECT_EQ(std::memcmp(ab.get(), a.get(), PidlSize(a.get())), 0);
  TPidl empty = MakePidl({});
  PidlStripLast(empty.get());
  EXPECT_EQ(PidlCount(empty.get()), 0);
  EXPECT_EQ(PidlCount(PidlCopy(empty.get()).get()), 0);
}

TEST(ShellStrRet, ConvertsEachKindAndDropsQuestionMarksBeforeADigit) {
  TPidl item = MakePidl({std::string("xxName\0tail", 11)});
  struct Case {
    UINT Type;
    const char* Text;  // wide or plain string
    UINT Offset;
    const char* Expected;
  };
  const Case cases[] = {
      {STRRET_WSTR, "Wide", 0, "Wide"},
      {STRRET_CSTR, "Plain", 0, "Plain"},
      {STRRET_OFFSET, nullptr, 4, "Name"},           // from the offset to the terminator
      {STRRET_OFFSET, nullptr, 200, ""},             // an offset past the item reads nothing
      {STRRET_CSTR, "?1?2x", 0, "12x"},
      {STRRET_CSTR, "?ab?", 0, "?ab?"},
      {STRRET_CSTR, "?", 0, "?"},
      {STRRET_WSTR, nullptr, 0, ""},
  };
  for (const Case& c : cases) {
    STRRET ret{};
    ret.uType = c.Type;
    if (c.Type == STRRET_WSTR && c.Text) {
      const std::wstring wide(c.Text, c.Text + std::strlen(c.Text));
      ret.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(wchar_t)));
      std::memcpy(ret.pOleStr, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    } else if (c.Type == STRRET_CSTR) {
      std::strncpy(ret.cStr, c.Text, sizeof ret.cStr - 1);
    } else if (c.Type == STRRET_OFFSET) {
      ret.uOffset = c.Offset;
    }
    EXPECT_EQ(StrRetToText(ret, item.get()), c.Expected) << c.Type << " " << (c.Text ? c.Text : "");
  }
}

TEST(ShellRoot, RootTextsAndTheRefusal) {
  ShellScratch scratch;
  struct Case {
    String Text;
    String PathName;  // empty: only that a root came
  };
  const Case cases[] = {
      {"rfDesktop", ""}, {"RFMYCOMPUTER", ""}, {"rfpersonal", ""}, {"C:", "C:\\"},
      {scratch.Path(), scratch.Path()},
  };
  for (const Case& c : cases) {
    String rootText = c.Text;
    std::unique_ptr<TksShellFolder> root;
    CreateRootFolder(root, rootText, "old", c.Text);
    ASSERT_NE(root, nullptr) << c.Text;
    EXPECT_EQ(rootText, c.Text);
    EXPECT_NE(root->ShellFolder(), nullptr) << c.Text;
    EXPECT_EQ(root->Level(), 1) << "the desktop object is its parent";
    if (!c.PathName.empty()) {
      EXPECT_TRUE(SameText(root->PathName(), c.PathName)) << root->PathName();
    }
  }
  String desktopText = "rfDesktop";
  std::unique_ptr<TksShellFolder> desktop;
  CreateRootFolder(desktop, desktopText, "", desktopText);
  EXPECT_EQ(PidlCount(desktop->AbsoluteID()), 0);

  const String missing = scratch / "no such folder";
  String rootText = missing;
  std::unique_ptr<TksShellFolder> root;
  CreateRootFolder(root, rootText, "", scratch.Path());
  TksShellFolder* old = root.get();
  try {
    CreateRootFolder(root, rootText, scratch.Path(), missing);
    ADD_FAILURE() << "a missing folder names no root";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Error setting path: \"" + missing + "\"");
  }
  EXPECT_EQ(rootText, scratch.Path()) << "the old root text stays";
  EXPECT_EQ(root.get(), old) << "and so does the old root object";
}

// The child items of a folder object, as objects of their own.
std::vector<std::unique_ptr<TksShellFolder>> Children(TksShellFolder& parent, SHCONTF flags) {
  std::vector<std::unique_ptr<TksShellFolder>> result;
  for (auto& pidl : ShellChildItems(parent.ShellFolder(), nullptr, flags)) {
    auto folder = BindToShellFolder(parent.ShellFolder(), nullptr, pidl.get(), nullptr);
    result.push_back(std::make_unique<TksShellFolder>(&parent, folder, pidl.get()));
  }
  return result;
}

TksShellFolder* Named(std::vector<std::unique_ptr<TksShellFolder>>& list, const String& name) {
  for (auto& f : list)
    if (SameText(f->DisplayName(), name)) return f.get();
  return nullptr;
}

TEST(ShellFolderObject, ZipFoldersCountAsFilesInAnyCase) {
  ShellScratch scratch;
  scratch.Folder("plain");
  scratch.Folder("pack.zip");
  scratch.Folder("Other.ZIP");
  scratch.File("note.txt");
  String text = scratch.Path();
  std::unique_ptr<TksShellFolder> root;
  CreateRootFolder(root, text, "", text);
  auto items = Children(*root, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
  struct Case {
    const char* Name;
    bool IsFolder;
  };
  for (const Case c : {Case{"plain", true}, Case{"pack.zip", false}, Case{"Other.ZIP", false}, Case{"note.txt", false}}) {
    TksShellFolder* item = Named(items, c.Name);
    ASSERT_NE(item, nullptr) << c.Name;
    EXPECT_EQ(item->IsFolder(), c.IsFolder) << c.Name;
    EXPECT_EQ(item->PathName(), scratch / c.Name);
    EXPECT_EQ(item->Level(), 2);
  }
}

TEST(ShellFolderObject, ChildItemsFollowTheFlags) {
  ShellScratch scratch;
  const String filesOnly = scratch.Folder("files");
  scratch.File("files\\a.txt");
  scratch.Folder("empty");
  String text = scratch.Path();
  std::unique_ptr<TksShellFolder> root;
  CreateRootFolder(root, text, "", text);
  auto items = Children(*root, SHCONTF_FOLDERS);
  TksShellFolder* files = Named(items, "files");
  ASSERT_NE(files, nullptr);
  EXPECT_FALSE(ShellHasChildItems(files->ShellFolder(), SHCONTF_FOLDERS));
  EXPECT_TRUE(ShellHasChildItems(files->ShellFolder(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
  EXPECT_FALSE(ShellHasChildItems(Named(items, "empty")->ShellFolder(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
  EXPECT_FALSE(ShellHasChildItems(nullptr, SHCONTF_FOLDERS));
  EXPECT_TRUE(ShellChildItems(nullptr, nullptr, SHCONTF_FOLDERS).empty());
  EXPECT_EQ(ShellDisplayName(nullptr, files->RelativeID(), 0), "parentfolder = nil");
  EXPECT_EQ(ShellObjectFlags(ShellObjectSet(otFolders) | ShellObjectSet(otHidden)),
            static_cast<SHCONTF>(SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN));
}

TEST(ShellFolderObject, RenameRebindsSoChildrenReadAfterwardsHaveTheNewPath) {
  ShellScratch scratch;
  scratch.Folder("old");
  scratch.Folder("old\\kid");
  String text = scratch.Path();
  std::unique_ptr<TksShellFolder> root;
  CreateRootFolder(root, text, "", text);
  auto items = Children(*root, SHCONTF_FOLDERS);
  TksShellFolder* old = Named(items, "old");
  ASSERT_NE(old, nullptr);
  ASSERT_NE(old->Capabilities() & (1u << scCanRename), 0u);
  EXPECT_TRUE(old->Rename("new"));
  EXPECT_EQ(old->PathName(), scratch / "new");
  EXPECT_EQ(old->DisplayName(), "new");
  auto kids = Children(*old, SHCONTF_FOLDERS);
  ASSERT_EQ(kids.size(), 1u);
  EXPECT_EQ(kids[0]->PathName(), scratch / "new\\kid");
  EXPECT_EQ(GetFileAttributesA((scratch / "old").c_str()), INVALID_FILE_ATTRIBUTES);

  scratch.Folder("taken");
  EXPECT_THROW(old->Rename("taken"), Exception);
}

}  // namespace
