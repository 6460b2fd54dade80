#include "app/frmDirectory.h"

#include <commctrl.h>

#include "app/tests/Dialogs_fixture.h"
#include "framework/core/fileutils.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/shell/ksSkinDirTreeView.h"

namespace apptest {
namespace {

class OutputFolder : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    Make(frmOutputDIR);
    NewFolderName.clear();
  }
  // The tree rooted at a folder of the test, the root selected.
  TTreeNode* RootAt(const std::string& path) {
    frmOutputDIR->ksTreeView->SetRoot(path);
    TTreeNode* root = frmOutputDIR->ksTreeView->Items()->GetFirstNode();
    frmOutputDIR->ksTreeView->SetSelected(root);
    return root;
  }
  const std::string& Edit() {
    text_ = frmOutputDIR->txtDirectoryname->Text();
    return text_;
  }
  std::string text_;
};

TEST_F(OutputFolder, ANewFolderTakesTheNextFreeNameAndIsSelected) {
  const std::string parent = folder.Path() + "Pictures\\";
  CreateDirectoryA(parent.c_str(), nullptr);
  CreateDirectoryA((parent + "New Folder").c_str(), nullptr);
  CreateDirectoryA((parent + "New Folder1").c_str(), nullptr);
  RootAt(parent);

  frmOutputDIR->btnNewFolderClick(nullptr);
  EXPECT_TRUE(DirectoryExists(parent + "New Folder2"));
  EXPECT_EQ(NewFolderName, "New Folder2");
  TTreeNode* selected = frmOutputDIR->ksTreeView->Selected();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->Text(), "New Folder2");
  EXPECT_EQ(Edit(), parent + "New Folder2\\");
  EXPECT_TRUE(messages.Boxes().empty());
}

TEST_F(OutputFolder, WithoutASelectedFolderNothingIsMade) {
  const std::string parent = folder.Path() + "Pictures\\";
  CreateDirectoryA(parent.c_str(), nullptr);
  RootAt(parent);
  frmOutputDIR->ksTreeView->SetSelected(nullptr);
  frmOutputDIR->btnNewFolderClick(nullptr);
  EXPECT_FALSE(DirectoryExists(parent + "New Folder"));
  EXPECT_EQ(NewFolderName, "");
  EXPECT_TRUE(messages.Boxes().empty());
}

TEST_F(OutputFolder, OnlyTheNewFolderIsRenamedAndItStaysInItsParent) {
  // The parent bears the new folder's name too: the new path must not be cut there.
  const std::string parent = folder.Path() + "New Folder\\";
  CreateDirectoryA(parent.c_str(), nullptr);
  CreateDirectoryA((parent + "Old").c_str(), nullptr);
  RootAt(parent);
  frmOutputDIR->plblAddFolderClick(nullptr);
  ASSERT_EQ(NewFolderName, "New Folder");

  TTreeNode* made = frmOutputDIR->ksTreeView->Selected();
  TTreeNode* root = frmOutputDIR->ksTreeView->Items()->GetFirstNode();
  TTreeNode* old = nullptr;
  for (TTreeNode* n = root->GetFirstChild(); n; n = n->GetNextSibling())
    if (n->Text() == "Old") old = n;
  ASSERT_NE(old, nullptr);
  bool allow = true;
  frmOutputDIR->ksTreeViewEditing(nullptr, old, allow);
  EXPECT_FALSE(allow);
  frmOutputDIR->ksTreeViewEditing(nullptr, made, allow);
  EXPECT_TRUE(allow);

  String name = "Photos";
  frmOutputDIR->ksTreeViewEdited(nullptr, made, name);
  EXPECT_EQ(Edit(), parent + "Photos");
  String empty;
  frmOutputDIR->ksTreeViewEdited(nullptr, made, empty);
  EXPECT_EQ(Edit(), parent + "Photos");
}

// A rename still open when a button is pressed ends as the button takes the focus; the
// button's press is a click all the same, not one that only moved the focus.
TEST_F(OutputFolder, AButtonPressedWhileANewFolderIsRenamedStillClicks) {
  const std::string parent = folder.Path() + "Pictures\\";
  CreateDirectoryA(parent.c_str(), nullptr);
  frmOutputDIR->Show();
  RootAt(parent);
  frmOutputDIR->btnNewFolderClick(nullptr);
  TTreeNode* made = frmOutputDIR->ksTreeView->Selected();
  ASSERT_NE(made, nullptr);
  const HWND edit = TreeView_EditLabel(frmOutputDIR->ksTreeView->Handle(), made->ItemId());
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "Photos");
  for (TksSkinButton* button : {frmOutputDIR->btnNewFolder, frmOutputDIR->btnCancel}) {
    SCOPED_TRACE(button == frmOutputDIR->btnCancel ? "Cancel" : "New Folder");
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // The renamed folder stays selected: the next new folder goes into it.
  EXPECT_TRUE(DirectoryExists(parent + "Photos\\New Folder"));
  EXPECT_FALSE(frmOutputDIR->Visible());
}

TEST_F(OutputFolder, OkStoresAnExistingFolderWithOneBackslash) {
  const std::string target = folder.Path() + "Target";
  CreateDirectoryA(target.c_str(), nullptr);
  frmOutputDIR->txtDirectoryname->SetText(target);
  frmOutputDIR->btnOkClick(nullptr);
  EXPECT_TRUE(messages.Boxes().empty());
  EXPECT_EQ(frmMain->Engine->GetDestinationFolder(), target + "\\");
}

TEST_F(OutputFolder, AMissingFolderIsNamedInTheQuestion) {
  struct Row {
    std::string typed;
    int answer;
    bool created;
    size_t boxes;
  } rows[] = {
      {folder.Path() + "Fresh", 6, true, 1},
      {folder.Path() + "Declined", 7, false, 1},
      {folder.Path() + "no\\such\\place", 6, false, 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.typed);
    TksScriptedMessages boxes{r.answer, 1};
    const String before = frmMain->Engine->GetDestinationFolder();
    frmOutputDIR->txtDirectoryname->SetText(r.typed);
    frmOutputDIR->btnOkClick(nullptr);
    ASSERT_EQ(boxes.Boxes().size(), r.boxes);
    EXPECT_EQ(boxes.Boxes()[0].Msg, r.typed + " does not exist.\r\nDo you want to create it?");
    EXPECT_EQ(boxes.Boxes()[0].DlgType, ksmtConfirmation);
    EXPECT_EQ(DirectoryExists(r.typed), r.created);
    EXPECT_EQ(frmMain->Engine->GetDestinationFolder(), r.created ? r.typed + "\\" : before);
    if (r.boxes == 2) {
      EXPECT_EQ(boxes.Boxes()[1].Msg, "The folder could not be created.");
    }
  }
}

TEST_F(OutputFolder, TheTreeConnectsItsFoldersWithLinesButNotAtTheRoot) {
  EXPECT_TRUE(frmOutputDIR->ksTreeView->ShowLines());
  EXPECT_FALSE(frmOutputDIR->ksTreeView->ShowRoot());
  const LONG style = GetWindowLongA(frmOutputDIR->ksTreeView->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & TVS_HASLINES);
  EXPECT_FALSE(style & TVS_LINESATROOT);
}

TEST_F(OutputFolder, ActivationShowsTheStoredFolder) {
  frmOutputDIR->FormActivate(nullptr);
  EXPECT_EQ(Edit(), output);
  EXPECT_EQ(frmOutputDIR->Caption(), "Output Folder");
}

}  // namespace
}  // namespace apptest
