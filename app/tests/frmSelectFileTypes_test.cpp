#include "app/frmSelectFileTypes.h"

#include <fstream>

#include "app/tests/Dialogs_fixture.h"
#include "engine/FileTypes.h"
#include "skin/boxes/ksSkinCheckListBox.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinFont.h"

namespace apptest {
namespace {

// A file-type table of the test's own: two image types, a video, a data and one
// outside the four categories; no sound type. Two sections share one line text.
constexpr const char* kTable =
    "[JPG]\nDescription=JPEG picture\nExtension=JPG\nType=1\nSelected=1\n"
    "[TIF]\nDescription=TIFF picture\nExtension=TIF\nType=1\nSelected=0\n"
    "[AVI]\nDescription=AVI video\nExtension=AVI\nType=2\nSelected=0\n"
    "[DOC]\nDescription=Word document\nExtension=DOC\nType=4\nSelected=1\n"
    "[XYZ]\nDescription=Other\nExtension=XYZ\nType=7\nSelected=1\n"
    "[JPEG]\nDescription=JPEG picture\nExtension=JPG\nType=1\nSelected=1\n";

class FileTypes : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(folder.Path() + "Korvalo3.INI") << kTable;
    engine().ProgramFolder = folder.Path();
    engine().LoadSupportedFileTypes();
    ASSERT_EQ(engine().SupportedFileTypes.Count(), 6);
    Make(frmSelectTypes);
  }
  static TScanEngine& engine() { return *frmMain->Engine; }
  static TSESupportedFileType& Type(int i) {
    return *static_cast<TSESupportedFileType*>(engine().SupportedFileTypes.Items(i));
  }
  static std::vector<bool> Checks() {
    std::vector<bool> checks;
    for (int i = 0; i < frmSelectTypes->chkFileTypes->Items()->Count(); ++i)
      checks.push_back(frmSelectTypes->chkFileTypes->Checked(i));
    return checks;
  }
  static std::vector<bool> Flags() {
    std::vector<bool> flags;
    for (int i = 0; i < engine().SupportedFileTypes.Count(); ++i) flags.push_back(Type(i).Selected);
    return flags;
  }
  // A user's click, as the mouse gives it.
  static void UserClick(TksSkinCheckRadioBox* box) {
    box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    box->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
};

TEST_F(FileTypes, ActivationListsEveryTypeAndChecksTheBoxesOfSelectedOnes) {
  ShowAndActivate(*frmSelectTypes);
  TStrings* lines = frmSelectTypes->chkFileTypes->Items();
  ASSERT_EQ(lines->Count(), 6);
  EXPECT_EQ(lines->Strings(0), "JPEG picture (JPG)");
  EXPECT_EQ(lines->Strings(4), "Other (XYZ)");
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, true, true, true}));
  EXPECT_TRUE(frmSelectTypes->radImageFiles->Checked());
  EXPECT_FALSE(frmSelectTypes->radVideo->Checked());
  EXPECT_FALSE(frmSelectTypes->radSound->Checked());
  EXPECT_TRUE(frmSelectTypes->radData->Checked());
  EXPECT_EQ(frmSelectTypes->radSound->Caption(), "Sound");
}

TEST_F(FileTypes, ACategoryBoxActsOnlyOnAUsersClick) {
  ShowAndActivate(*frmSelectTypes);
  UserClick(frmSelectTypes->radSound);
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, true, true, true}));
  // Set from code, the box changes nothing either.
  frmSelectTypes->radVideo->SetChecked(true);
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, true, true, true}));

  UserClick(frmSelectTypes->radImageFiles);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, true, true, false}));
  EXPECT_EQ(Flags(), (std::vector<bool>{false, false, false, true, true, false}));
}

TEST_F(FileTypes, OkSavesTheLinesAsShown) {
  ShowAndActivate(*frmSelectTypes);
  UserClick(frmSelectTypes->radImageFiles);
  frmSelectTypes->chkFileTypes->SetChecked(1, true);
  frmSelectTypes->chkFileTypes->SetChecked(2, true);
  frmSelectTypes->btnOkClick(nullptr);
  EXPECT_FALSE(frmSelectTypes->Visible());
  engine().LoadTypeSelection();
  EXPECT_EQ(Flags(), (std::vector<bool>{false, true, true, true, true, false}));
}

TEST_F(FileTypes, TwoTypesOfOneLineKeepTheirOwnMarks) {
  ShowAndActivate(*frmSelectTypes);
  frmSelectTypes->chkFileTypes->SetChecked(0, true);
  frmSelectTypes->chkFileTypes->SetChecked(5, false);
  frmSelectTypes->btnOkClick(nullptr);
  EXPECT_TRUE(Type(0).Selected);
  EXPECT_FALSE(Type(5).Selected);
}

TEST_F(FileTypes, ChecksAbandonedWithoutOkAreForgotten) {
  ShowAndActivate(*frmSelectTypes);
  frmSelectTypes->chkFileTypes->SetChecked(1, true);
  UserClick(frmSelectTypes->radVideo);
  EXPECT_TRUE(Type(2).Selected);
  // The next opening, or a message box closing over the dialog, activates it again.
  frmSelectTypes->FormActivate(frmSelectTypes);
  EXPECT_FALSE(Type(2).Selected);
  EXPECT_FALSE(frmSelectTypes->chkFileTypes->Checked(2));
  EXPECT_FALSE(frmSelectTypes->chkFileTypes->Checked(1));
}

// The table that ships beside the program, as the dialog lists it.
using ShippedFileTypes = DialogTest;

TEST_F(ShippedFileTypes, EveryLineNamesItsExtensionOnceAndFitsTheList) {
  Make(frmSelectTypes);
  ShowAndActivate(*frmSelectTypes);
  TksSkinCheckListBox& list = *frmSelectTypes->chkFileTypes;
  const TSEClassList& types = frmMain->Engine->SupportedFileTypes;
  ASSERT_GT(types.Count(), 0);
  ASSERT_EQ(list.Items()->Count(), types.Count());
  ASSERT_TRUE(list.SkinnedItems());
  // The text's room in an item as the list draws it: the skin's text rectangle, grown
  // with the item, less the margin before the text.
  const TksListSkinValues& skin = list.Values();
  const int itemWidth = RectWidth(list.ListBox()->ItemRect(0));
  const int room = RectWidth(skin.ItemTextRect) + itemWidth - RectWidth(skin.ItemRect) - 2;
  TBitmap measure(1, 1);
  TCanvas& canvas = *measure.Canvas();
  AssignSkinFont(canvas.Font(), list.UseSkinFont, skin.FontName, skin.FontHeight, skin.FontStyle, list.DefaultFont(),
                 list.SkinData());
  for (int i = 0; i < types.Count(); ++i) {
    const auto& type = *static_cast<const TSESupportedFileType*>(types.Items(i));
    const String line = list.Items()->Strings(i);
    EXPECT_EQ(Pos("(" + type.Extension + ")", type.Description), 0) << line;
    EXPECT_LE(canvas.TextWidth(line), room) << line;
  }
}

}  // namespace
}  // namespace apptest
