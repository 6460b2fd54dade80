// The shell folder tree on a scratch folder: lazy reading, vetoes, refresh, the ZIP
// rule, root refusal, rename and the context-menu verbs, with nothing launched.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/fileutils.h"
#include "framework/gui/screen.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/shell/ksSkinDirTreeView.h"
#include "skin/tests/ksShellScratch.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using shelltest::ShellScratch;
using namespace skintest;

class SkinDirTreeView : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    scratch.Folder("alpha");
    scratch.Folder("alpha\\inner");
    scratch.Folder("alpha\\inner\\deep");
    scratch.Folder("files");
    scratch.File("files\\one.txt");
    scratch.Folder("pack.zip");
    scratch.Folder("pack.zip\\in");
    scratch.Folder("veto");
    scratch.Folder("zeta");
    tree = new TksSkinDirTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 200, 120);
    tree->OnAddFolder = [this](TObject*, TksShellFolder* folder, bool& canAdd) {
      canAdd = !SameText(folder->DisplayName(), "veto");
    };
    tree->SetRoot(scratch.Path());
  }
  TTreeNode* Root() { return tree->Items()->GetFirstNode(); }
  static std::vector<String> Texts(TTreeNode* parent) {
    std::vector<String> texts;
    for (TTreeNode* n = parent->GetFirstChild(); n; n = n->GetNextSibling()) texts.push_back(n->Text());
    return texts;
  }
  static TTreeNode* Child(TTreeNode* parent, const String& text) {
    for (TTreeNode* n = parent->GetFirstChild(); n; n = n->GetNextSibling())
      if (SameText(n->Text(), text)) return n;
    return nullptr;
  }

  ShellScratch scratch;
  TksSkinDirTreeView* tree = nullptr;
  std::vector<std::string> launched;
  ScopedSeam<TksSystemSeam> seam{{.ShellExecuteHidden = [this](const std::string& file, const std::string& dir) {
    launched.push_back(file + "|" + dir);
  }}};
};

TEST_F(SkinDirTreeView, RootIsReadSortedAndAVetoedFolderIsGone) {
  ASSERT_NE(Root(), nullptr);
  EXPECT_EQ(tree->Items()->GetFirstNode()->GetNextSibling(), nullptr) << "one top node";
  EXPECT_TRUE(Root()->Expanded());
  EXPECT_EQ(tree->SelectedFolder(), tree->FolderOf(Root()));
  EXPECT_TRUE(SameText(tree->SelectedFolder()->PathName(), scratch.Path()));
  EXPECT_EQ(Texts(Root()), (std::vector<String>{"alpha", "files", "pack.zip", "zeta"}));
  EXPECT_EQ(Child(Root(), "alpha")->GetFirstChild(), nullptr) << "children are read on expansion only";
}

TEST_F(SkinDirTreeView, AFilesOnlyFolderLosesItsButtonOnExpansion) {
  TTreeNode* files = Child(Root(), "files");
  ASSERT_NE(files, nullptr);
  Screen->SetCursor(crHandPoint);
  files->Expand(false);
  EXPECT_EQ(Screen->Cursor(), crHandPoint) << "the cursor before reading comes back";
  Screen->SetCursor(crDefault);
  EXPECT_EQ(files->Count(), 0);
  EXPECT_FALSE(files->HasChildren());
  TTreeNode* alpha = Child(Root(), "alpha");
  alpha->Expand(false);
  EXPECT_EQ(Texts(alpha), std::vector<String>{"inner"});
  EXPECT_EQ(tree->FolderOf(alpha->GetFirstChild())->PathName(), scratch / "alpha\\inner");
  EXPECT_EQ(tree->FolderOf(alpha->GetFirstChild())->Level(), 3);
}

TEST_F(SkinDirTreeView, AZipNodeIsOpenedThroughTheShellNotListed) {
  TTreeNode* pack = Child(Root(), "pack.zip");
  ASSERT_NE(pack, nullptr);
  pack->Expand(false);
  EXPECT_EQ(pack->Count(), 0);
  EXPECT_EQ(launched, std::vector<std::string>{scratch / "pack.zip" + "|" + scratch.Path()});
  EXPECT_TRUE(launched.size() == 1 && Child(Root(), "zeta")->Count() == 0);
}

TEST_F(SkinDirTreeView, RefreshKeepsExpansionSelectionAndTopNode) {
  TTreeNode* alpha = Child(Root(), "alpha");
  alpha->Expand(false);
  alpha->GetFirstChild()->Expand(false);
  TTreeNode* deep = alpha->GetFirstChild()->GetFirstChild();
  ASSERT_NE(deep, nullptr);
  tree->SetSelected(deep);
  tree->SetBounds(0, 0, 200, 40);  // too short for every node, so the top node counts
  tree->SetTopItem(alpha);
  ASSERT_EQ(tree->TopItem(), alpha);
  scratch.Folder("beta");
  tree->RefreshNode(Root());
  EXPECT_EQ(Texts(Root()), (std::vector<String>{"alpha", "beta", "files", "pack.zip", "zeta"}));
  alpha = Child(Root(), "alpha");
  ASSERT_TRUE(alpha->Expanded());
  EXPECT_TRUE(alpha->GetFirstChild()->Expanded());
  EXPECT_EQ(tree->SelectedFolder()->PathName(), scratch / "alpha\\inner\\deep");
  EXPECT_EQ(tree->TopItem(), alpha);
  EXPECT_EQ(Child(Root(), "veto"), nullptr) << "the veto holds on refresh";
}

TEST_F(SkinDirTreeView, ARefusedRootRaisesAndKeepsTheOldTree) {
  const String missing = scratch / "missing";
  try {
    tree->SetRoot(missing);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Error setting path: \"" + missing + "\"");
  }
  EXPECT_EQ(tree->Root(), scratch.Path());
  ASSERT_NE(Root(), nullptr);
  EXPECT_TRUE(SameText(tree->FolderOf(Root())->PathName(), scratch.Path()));
  tree->SetRoot(String(scratch.Path()));  // the same text does nothing
}

TEST_F(SkinDirTreeView, RenamedNodeReReadsItsChildrenUnderTheNewPath) {
  TTreeNode* alpha = Child(Root(), "alpha");
  alpha->Expand(false);
  tree->RenameNode(alpha, "omega");
  EXPECT_EQ(alpha->Text(), "omega");
  ASSERT_EQ(alpha->Count(), 1);
  EXPECT_EQ(tree->FolderOf(alpha->GetFirstChild())->PathName(), scratch / "omega\\inner");
}

TEST_F(SkinDirTreeView, VerbsRenameOpenDeleteAndPaste) {
  TTreeNode* zeta = Child(Root(), "zeta");
  tree->SetSelected(zeta);
  const String cwd = GetCurrentDir();
  struct Case {
    const char* Verb;
    bool Handled;
  };
  for (const Case c : {Case{"RENAME", true}, Case{"open", false}, Case{"delete", false}, Case{"paste", false}})
    EXPECT_EQ(tree->BeforeShellCommand(c.Verb), c.Handled) << c.Verb;
  EXPECT_NE(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0), 0) << "rename edits the label";
  SendMessageA(tree->Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
  EXPECT_TRUE(SameText(GetCurrentDir(), scratch.Path()));
  tree->AfterShellCommand("Open", false);
  EXPECT_EQ(GetCurrentDir(), cwd) << "even a failed open restores the directory";

  ASSERT_EQ(tree->Selected(), zeta);
  tree->AfterShellCommand("delete", true);
  EXPECT_EQ(Child(Root(), "zeta"), zeta) << "a cancelled delete keeps the node";
  RemoveDirectoryA((scratch / "zeta").c_str());
  tree->AfterShellCommand("delete", true);
  EXPECT_EQ(Child(Root(), "zeta"), nullptr);

  scratch.Folder("pasted");
  tree->SetSelected(Root());
  tree->AfterShellCommand("paste", true);
  EXPECT_NE(Child(Root(), "pasted"), nullptr);
}

TEST_F(SkinDirTreeView, AutoRefreshWatchesTheSelectedFolder) {
  TTreeNode* alpha = Child(Root(), "alpha");
  tree->SetAutoRefresh(true);
  tree->SetSelected(alpha);
  ASSERT_NE(tree->Notifier(), nullptr);
  EXPECT_EQ(tree->Notifier()->Root(), scratch / "alpha");
  EXPECT_FALSE(tree->Notifier()->WatchSubTree());
  const auto watch = tree->Notifier()->Watch();
  tree->SetAutoRefresh(false);
  EXPECT_EQ(tree->Notifier(), nullptr);
  // The watch ends on its own thread; until then it holds the folder open.
  EXPECT_EQ(WaitForSingleObject(watch->EndedEvent.get(), 60000), WAIT_OBJECT_0);
}

TEST_F(SkinDirTreeView, KeepsItsOwnImageListWhoeverSetsOne) {
  const LRESULT system = SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0);
  ASSERT_NE(system, 0);
  SendMessageA(tree->Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), system);
  // A state list sent by anyone is not taken either.
  SendMessageA(tree->Handle(), TVM_SETIMAGELIST, TVSIL_STATE, static_cast<LPARAM>(system));
  EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_STATE, 0), 0);
  tree->SetUseShellImages(false);
  EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
}

TEST_F(SkinDirTreeView, LinkedShellControlsAreForgottenWhenTheyGo) {
  EXPECT_EQ(tree->ShellComboBox(), nullptr);
  EXPECT_EQ(tree->ShellListView(), nullptr);
  auto* combo = new TComponent(form);
  auto* list = new TComponent(form);
  tree->SetShellComboBox(combo);
  tree->SetShellListView(list);
  EXPECT_EQ(tree->ShellComboBox(), combo);
  combo->Free();
  list->Free();
  EXPECT_EQ(tree->ShellComboBox(), nullptr);
  EXPECT_EQ(tree->ShellListView(), nullptr);
}

TEST_F(SkinDirTreeView, PaintsShellIconsBesideTheNames) {
  tree->SetSkinData(&data);
  Child(Root(), "alpha")->Expand(false);
  ASSERT_NE(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0) << "the system small icons";
  // The window's own paint: painting into a memory DC drops a tree's texts under Wine
  // once an image list is set.
  form->Show();
  tree->Invalidate();
  UpdateWindow(tree->Handle());
  TBitmap shot(tree->Width(), tree->Height());
  HDC dc = GetDC(tree->Handle());
  BitBlt(shot.Canvas()->Handle(), 0, 0, tree->Width(), tree->Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(tree->Handle(), dc);
  TTreeNode* alpha = Child(Root(), "alpha");
  RECT r{};
  const HTREEITEM item = alpha->ItemId();
  std::memcpy(&r, &item, sizeof item);
  ASSERT_TRUE(SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  auto coloured = [&](int left, int right) {
    int n = 0;
    for (int x = std::max(0, left); x < right; ++x)
      for (int y = r.top; y < r.bottom; ++y) n += shot.Canvas()->Pixels(x, y) != clWhite;
    return n;
  };
  EXPECT_GT(coloured(r.left - 18, r.left - 2), 20) << "an icon stands before the name";
  EXPECT_GT(coloured(r.left, r.right), 10) << "the name is drawn";
}

}  // namespace
