// The drive combo box on volumes the system seam makes arrive and leave: the list
// built with the window, one change event per pick with the drive already following,
// a rebuild keeping the selected drive, an empty list, and each item's icon and name.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "skin/boxes/ksListBox.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/shell/ksSkinDirTreeView.h"
#include "skin/shell/ksSkinShellDriveComboBox.h"
#include "skin/tests/ksShellScratch.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksPaintWithChildren.h"

namespace {

using namespace skintest;

class SkinShellDriveComboBox : public SkinCtrls {
 protected:
  TksSkinShellDriveComboBox* NewCombo() {
    auto* c = new TksSkinShellDriveComboBox(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 176, 20);
    c->OnChange = [this, c](TObject*) {
      log.push_back(std::string("change:") + (c->Drive() ? c->Drive() : '-') + "@" +
                    std::to_string(c->Items()->Count()));
    };
    return c;
  }

  std::map<char, UINT> volumes{{'A', DRIVE_REMOVABLE}, {'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}};
  std::vector<std::string> log;
  int typeQueries = 0;
  // The system's small-icon list stays real, so the icons can be looked at.
  ScopedSeam<TksSystemSeam> seam{{
      .DriveType =
          [this](const std::string& root) -> UINT {
            ++typeQueries;
            auto found = volumes.find(root[0]);
            return found == volumes.end() ? DRIVE_NO_ROOT_DIR : found->second;
          },
      .ShellFileInfo =
          [](const std::string& path, UINT flags, SHFILEINFOA* info) -> DWORD_PTR {
            if (path.empty()) return TksSystemSeam::Win32().ShellFileInfo(path, flags, info);
            const DWORD_PTR real = TksSystemSeam::Win32().ShellFileInfo("C:\\", flags, info);  // a real drive icon
            std::strcpy(info->szDisplayName, ("Disk (" + path.substr(0, 2) + ")").c_str());
            return real;
          },
  }};
};

TEST_F(SkinShellDriveComboBox, TheWindowsCreationListsTheDrivesAndSelectsTheFirst) {
  auto* c = NewCombo();
  EXPECT_EQ(c->Items()->Count(), 0) << "nothing is listed before the window exists";
  EXPECT_EQ(c->Drive(), 0);
  c->HandleNeeded();
  ASSERT_EQ(c->Items()->Count(), 3);
  EXPECT_EQ(c->Items()->Strings(1), "Disk (C:)");
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(c->Text(), "Disk (A:)");
  EXPECT_EQ(c->Drive(), 'A');
  EXPECT_EQ(log, (std::vector<std::string>{"change:A@3"}));
}

TEST_F(SkinShellDriveComboBox, APickAnnouncesTheNewDriveOnce) {
  auto* c = NewCombo();
  c->HandleNeeded();
  log.clear();
  c->SetItemIndex(2);
  EXPECT_EQ(log, (std::vector<std::string>{"change:D@3"})) << "the new text alone fires nothing";
  log.clear();
  c->SetDrive('c');
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"change:C@3"}));
}

TEST_F(SkinShellDriveComboBox, RefreshingAfterAnArrivalKeepsTheSelectedDrive) {
  auto* c = NewCombo();
  c->HandleNeeded();
  c->SetDrive('C');
  volumes['B'] = DRIVE_REMOVABLE;
  volumes['E'] = DRIVE_REMOVABLE;
  log.clear();
  c->RefreshDrives();
  EXPECT_EQ(c->Items()->Count(), 5);
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(c->Text(), "Disk (C:)");
  EXPECT_EQ(log, (std::vector<std::string>{"change:C@3"})) << "once, as C: is listed again";
  ASSERT_NE(c->DriveList().Images(), nullptr);
  EXPECT_GT(c->DriveList().Images()->Count(), c->DriveList().Drives()[0].IconIndex) << "the system's small icons";
}

TEST_F(SkinShellDriveComboBox, OnlyOtherKindsOfDriveRebuildTheList) {
  auto* c = NewCombo();
  c->HandleNeeded();
  typeQueries = 0;
  c->SetDriveTypes(DefaultDriveTypes);
  EXPECT_EQ(typeQueries, 0);
  c->SetDriveTypes(DriveTypeSet({dtFixed, dtCDROM}));
  EXPECT_EQ(typeQueries, 26);
  EXPECT_EQ(c->Items()->Count(), 2);
  EXPECT_EQ(c->Drive(), 'A') << "the drive that is gone stays until another is selected";
  EXPECT_EQ(c->ItemIndex(), -1);
}

TEST_F(SkinShellDriveComboBox, ANewWindowListsTheDrivesAgainKeepingTheSelectedOne) {
  auto* c = NewCombo();
  c->HandleNeeded();
  c->SetDrive('D');
  volumes['B'] = DRIVE_REMOVABLE;
  c->RecreateWnd();
  EXPECT_EQ(c->Items()->Count(), 4);
  EXPECT_EQ(c->Text(), "Disk (D:)");
  EXPECT_EQ(c->ItemIndex(), 3);
  EXPECT_EQ(c->Drive(), 'D');
}

TEST_F(SkinShellDriveComboBox, WithoutDrivesNothingIsSelectedAndNothingOpens) {
  auto* c = NewCombo();
  c->HandleNeeded();
  c->SetDrive('D');
  volumes.clear();
  log.clear();
  c->RefreshDrives();
  EXPECT_EQ(c->Items()->Count(), 0);
  EXPECT_EQ(c->ItemIndex(), -1);
  EXPECT_EQ(c->Drive(), 0);
  c->Change();  // as the main window announces the current drive after a refresh
  EXPECT_EQ(c->Drive(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"change:-@0"}));
  c->DropDown();
  EXPECT_FALSE(c->DroppedDown());
  TBitmap shot;
  PaintInto(*c, shot);  // a face with no item to draw
}

// The face without a skin: the icon at the text area's left, centred, then a gap of
// four pixels, then the name.
TEST_F(SkinShellDriveComboBox, TheFaceShowsTheIconThenTheName) {
  auto* c = NewCombo();
  c->HandleNeeded();
  c->SetDrive('C');
  TBitmap shot;
  PaintInto(*c, shot);
  const int left = c->TextRect().Left + 2, top = c->TextRect().Top;
  const int rows = RectHeight(c->TextRect());
  auto inked = [&](int x0, int x1) {
    int n = 0;
    for (int x = x0; x < x1; ++x)
      for (int y = top; y < top + rows; ++y) n += static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)) != Rgb(clWindow);
    return n;
  };
  const int icon = c->DriveList().Images()->Width();
  EXPECT_GT(inked(left, left + icon), 20) << "the drive's icon";
  EXPECT_EQ(inked(left + icon, left + icon + 4), 0) << "the gap before the name";
  EXPECT_GT(inked(left + icon + 4, left + icon + 40), 10) << "the name";
}

}  // namespace

namespace {

// The folder tree and the drive list as the shell shows them on this machine, in one
// picture (shell_controls.bmp in the working folder) to look at. The tree draws itself
// through its print message: under Wine its paint message into a memory bitmap at
// times leaves out every text and line once the system's icons are set.
class ShellControlsPicture : public SkinCtrls {};

TEST_F(ShellControlsPicture, TheTreeAndTheDriveListShowShellIconsAndNames) {
  shelltest::ShellScratch scratch;
  scratch.Folder("Photos");
  scratch.Folder("Photos\\2026");
  scratch.Folder("Video");
  auto* tree = new TksSkinDirTreeView(form);
  tree->SetParent(form);
  tree->SetBounds(0, 0, 200, 90);
  tree->SetRoot(scratch.Path());
  auto* drives = new TksSkinShellDriveComboBox(form);
  drives->SetParent(form);
  drives->SetBounds(0, 100, 176, 20);
  drives->SetDriveTypes(DriveTypeSet({dtFloppy, dtFixed, dtCDROM, dtRAM}));
  drives->HandleNeeded();
  ASSERT_GT(drives->Items()->Count(), 0) << "Wine lists C: at least";
  drives->DropDown();
  ASSERT_TRUE(drives->DroppedDown());

  TBitmap treeShot(tree->Width(), tree->Height());
  treeShot.Canvas()->Brush()->SetColor(clWhite);
  treeShot.Canvas()->FillRect(TRect{0, 0, tree->Width(), tree->Height()});
  tree->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(treeShot.Canvas()->Handle()), PRF_CLIENT);
  TBitmap face, list;
  PaintInto(*drives, face);
  PaintWithChildren(*drives->ListBox(), list, clWhite);

  const int width = tree->Width() + 8 + std::max(face.Width(), list.Width());
  TBitmap picture(width, std::max(tree->Height(), face.Height() + 4 + list.Height()));
  picture.Canvas()->Brush()->SetColor(clBtnFace);
  picture.Canvas()->FillRect(TRect{0, 0, picture.Width(), picture.Height()});
  picture.Canvas()->Draw(0, 0, &treeShot);
  picture.Canvas()->Draw(tree->Width() + 8, 0, &face);
  picture.Canvas()->Draw(tree->Width() + 8, face.Height() + 4, &list);
  picture.SaveToFile("shell_controls.bmp");

  // Ink that is not the background, in a column range of a row.
  auto inked = [](TBitmap& b, int x0, int x1, int y0, int y1, TColor back) {
    int n = 0;
    for (int x = x0; x < x1; ++x)
      for (int y = y0; y < y1; ++y) n += static_cast<COLORREF>(b.Canvas()->Pixels(x, y)) != Rgb(back);
    return n;
  };
  RECT row{};
  TreeView_GetItemRect(tree->Handle(), reinterpret_cast<HTREEITEM>(tree->Items()->GetFirstNode()->ItemId()), &row,
                       TRUE);
  EXPECT_GT(inked(treeShot, row.left, row.right, row.top, row.bottom, clWhite), 10) << "the root's name";
  EXPECT_GT(inked(treeShot, row.left - 18, row.left - 2, row.top, row.bottom, clWhite), 20) << "the root's icon";

  TksListBox* inner = drives->ListBox()->ListBox();
  const int icon = drives->DriveList().Images()->Width();
  TBitmap rows;
  PaintWithChildren(*inner, rows, clWhite);
  const int shown = std::min(drives->Items()->Count(), drives->DropDownCount());
  for (int i = 0; i < shown; ++i) {
    SendMessageA(inner->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&row));
    const TColor back = i == drives->ItemIndex() ? clHighlight : clWindow;
    EXPECT_GT(inked(rows, 2, 2 + icon, row.top, row.bottom, back), 20) << "icon of " << drives->Items()->Strings(i);
    EXPECT_GT(inked(rows, 2 + icon + 4, 2 + icon + 40, row.top, row.bottom, back), 10)
        << "name of " << drives->Items()->Strings(i);
  }
  drives->CloseUp(false);
}

}  // namespace
