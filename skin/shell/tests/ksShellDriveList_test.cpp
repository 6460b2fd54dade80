// The drive list against volumes the system seam makes arrive and leave: the first
// build, rebuilds that keep the selected drive, removal, SetDrive and the empty list.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "skin/draw/ksSystemSeam.h"
#include "skin/shell/ksShellDriveList.h"

namespace {

// Stands for the combo box: selecting announces the change at once, as it does.
class FakeView : public IksDriveListView {
 public:
  int DriveItemCount() override { return static_cast<int>(items.size()); }
  void ClearDriveItems() override {
    items.clear();
    index = -1;
  }
  void AddDriveItem(const String& text) override { items.push_back(text); }
  int DriveItemIndex() override { return index; }
  void SelectDriveItem(int value) override {
    index = value >= 0 && value < DriveItemCount() ? value : -1;
    list->Changed();
    // What the user's change handler would see.
    changes.push_back(std::string(1, list->Drive() ? list->Drive() : '-') + "@" + std::to_string(items.size()));
  }
  void RepaintDriveItems() override { ++repaints; }

  TksShellDriveList* list = nullptr;
  std::vector<String> items;
  int index = -1;
  std::vector<std::string> changes;
  int repaints = 0;
};

class ShellDriveList : public ::testing::Test {
 protected:
  void SetUp() override {
    volumes = {{'A', DRIVE_REMOVABLE}, {'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}};
    list = std::make_unique<TksShellDriveList>(view);
    view.list = list.get();
  }
  void Build() {
    view.changes.clear();
    list->Build();
  }
  String Selected() const { return view.index < 0 ? "-" : view.items[static_cast<size_t>(view.index)]; }

  std::map<char, UINT> volumes;
  ScopedSeam<TksSystemSeam> seam{{
      .DriveType =
          [this](const std::string& root) -> UINT {
            auto found = volumes.find(root[0]);
            return found == volumes.end() ? DRIVE_NO_ROOT_DIR : found->second;
          },
      .ShellFileInfo =
          [](const std::string& path, UINT flags, SHFILEINFOA* info) -> DWORD_PTR {
            if (path.empty()) return 0;  // no image list: names only
            if (flags & SHGFI_DISPLAYNAME)
              std::strcpy(info->szDisplayName, ("Disk (" + path.substr(0, 2) + ")").c_str());
            info->iIcon = path[0] - 'A';
            return 1;
          },
  }};
  FakeView view;
  std::unique_ptr<TksShellDriveList> list;
};

TEST_F(ShellDriveList, TheFirstBuildListsTheChosenKindsInLetterOrderAndSelectsTheFirst) {
  volumes['E'] = DRIVE_REMOTE;
  volumes['F'] = DRIVE_RAMDISK;
  volumes['G'] = DRIVE_UNKNOWN;
  volumes['H'] = 9;  // an answer beyond every kind
  EXPECT_EQ(list->Drive(), 0) << "no drive before the first build";
  Build();
  EXPECT_EQ(view.items, (std::vector<String>{"Disk (A:)", "Disk (C:)", "Disk (D:)", "Disk (E:)", "Disk (F:)"}));
  EXPECT_EQ(list->Drives()[1].IconIndex, 2);
  EXPECT_EQ(Selected(), "Disk (A:)");
  EXPECT_EQ(list->Drive(), 'A');
  EXPECT_EQ(view.changes, (std::vector<std::string>{"A@5"}));
  EXPECT_EQ(view.repaints, 1);

  struct Case {
    TDriveTypes types;
    std::vector<String> listed;
  } cases[] = {
      {DriveTypeSet({dtFloppy, dtFixed, dtCDROM, dtRAM}), {"Disk (A:)", "Disk (C:)", "Disk (D:)", "Disk (F:)"}},
      {DriveTypeSet({dtCDROM}), {"Disk (D:)"}},
      {DriveTypeSet({dtUnknown, dtNetwork}), {"Disk (E:)", "Disk (G:)"}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(list->SetDriveTypes(c.types));
    Build();
    EXPECT_EQ(view.items, c.listed) << int(c.types);
  }
}

TEST_F(ShellDriveList, ARebuildAfterAnArrivalSelectsTheKeptDriveOnceAsItIsListedAgain) {
  Build();
  list->SetDrive('C');
  volumes['B'] = DRIVE_REMOVABLE;  // a card reader's volume
  volumes['E'] = DRIVE_REMOVABLE;
  Build();
  EXPECT_EQ(view.items.size(), 5u);
  EXPECT_EQ(Selected(), "Disk (C:)");
  EXPECT_EQ(list->Drive(), 'C');
  EXPECT_EQ(list->KeptIndex(), 2);
  EXPECT_EQ(view.changes, (std::vector<std::string>{"C@3"})) << "once, while D: and E: were not listed yet";
}

TEST_F(ShellDriveList, RemovingTheSelectedDrivesVolumeLeavesNoSelectionAndTheOldLetter) {
  Build();
  list->SetDrive('D');
  volumes.erase('D');
  Build();
  EXPECT_EQ(view.items.size(), 2u);
  EXPECT_EQ(view.index, -1);
  EXPECT_EQ(list->Drive(), 'D');
  EXPECT_TRUE(view.changes.empty());
  // The main window then announces the current drive: the last listed one stands in.
  list->Changed();
  EXPECT_EQ(Selected(), "Disk (C:)");
  EXPECT_EQ(list->Drive(), 'C');
}

TEST_F(ShellDriveList, TheKeptIndexFollowsAListThatShrankBelowIt) {
  volumes['E'] = DRIVE_FIXED;
  volumes['F'] = DRIVE_FIXED;
  Build();
  list->SetDrive('F');
  ASSERT_EQ(list->KeptIndex(), 4);
  volumes.erase('F');
  volumes.erase('E');
  volumes.erase('D');
  Build();  // F: is gone: no selection
  ASSERT_EQ(view.index, -1);
  EXPECT_EQ(list->KeptIndex(), 1);
  Build();  // nothing kept now: the drive at the kept index is selected
  EXPECT_EQ(Selected(), "Disk (C:)");
  EXPECT_EQ(list->Drive(), 'C');
}

TEST_F(ShellDriveList, SetDriveSelectsByLetterInEitherCase) {
  Build();
  struct Case {
    char letter;
    String selected;
    char drive;
    size_t changes;
  } cases[] = {
      {'d', "Disk (D:)", 'D', 1},
      {'C', "Disk (C:)", 'C', 1},
      {'q', "Disk (C:)", 'C', 0},  // not listed: nothing changes
      {'c', "Disk (C:)", 'C', 0},  // already selected
      {0, "Disk (C:)", 'C', 0},
  };
  for (const Case& c : cases) {
    view.changes.clear();
    list->SetDrive(c.letter);
    EXPECT_EQ(Selected(), c.selected) << c.letter;
    EXPECT_EQ(list->Drive(), c.drive) << c.letter;
    EXPECT_EQ(view.changes.size(), c.changes) << c.letter;
  }
}

TEST_F(ShellDriveList, APickIsFollowedByTheDriveAndAnnouncedOnce) {
  Build();
  view.changes.clear();
  view.SelectDriveItem(2);
  EXPECT_EQ(list->Drive(), 'D');
  EXPECT_EQ(list->KeptIndex(), 2);
  EXPECT_EQ(view.changes, (std::vector<std::string>{"D@3"})) << "the pick is not selected a second time";
}

TEST_F(ShellDriveList, SetDriveOfTheCurrentDrivePutsBackALostSelection) {
  Build();
  list->SetDrive('D');
  view.index = -1;  // the selection was cleared behind the list's back
  view.changes.clear();
  list->SetDrive('d');
  EXPECT_EQ(Selected(), "Disk (D:)");
  EXPECT_EQ(view.changes, (std::vector<std::string>{"D@3"}));
}

TEST_F(ShellDriveList, AListWithoutDrivesHasNoSelectionAndNoDrive) {
  Build();
  list->SetDrive('C');
  volumes.clear();
  Build();
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(view.index, -1);
  EXPECT_EQ(list->Drive(), 0);
  view.changes.clear();
  list->Changed();
  list->SetDrive('C');
  EXPECT_TRUE(view.changes.empty());
  EXPECT_EQ(list->Drive(), 0);
  // A volume that arrives again is selected on the next build.
  volumes['C'] = DRIVE_FIXED;
  Build();
  EXPECT_EQ(Selected(), "Disk (C:)");
  EXPECT_EQ(list->Drive(), 'C');
}

}  // namespace
