// The drive combo box on volumes the system seam makes arrive and leave: the list
// built with the window, one change event per pick with the drive already following,
// a rebuild keeping the selected drive, an empty list, and each item's icon and name.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "skin/ksSkinShellDriveComboBox.h"
#include "skin/ksSystemSeam.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

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
  // The system's small-icon list stays real, so the icons can be looked at.
  ScopedSeam<TksSystemSeam> seam{{
      .DriveType =
          [this](const std::string& root) -> UINT {
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
