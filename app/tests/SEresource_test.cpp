#include "app/SEresource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/tests/FolderScratch.h"
#include "app/tests/MainForm_fixture.h"
#include "engine/Debug.h"
#include "framework/gui/screen.h"

namespace apptest {
namespace {

using SEresource::TStateChangeList;

bool SamePixels(TBitmap* a, TBitmap* b) {
  if (a->Width() != b->Width() || a->Height() != b->Height() || a->Empty()) return false;
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x)
      if (a->Canvas()->Pixels(x, y) != b->Canvas()->Pixels(x, y)) return false;
  return true;
}

// The picture an image shows equals bitmap resource `id`.
bool Shows(TImage* image, int id) {
  TBitmap expected;
  expected.LoadFromResourceID(GetModuleHandleA(nullptr), id);
  return SamePixels(image->Picture()->Bitmap(), &expected);
}

class StateImages : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    form = new TForm(Application);
  }
  void TearDown() override { FreeAndNil(form); }

  template <class T>
  T* Make() {
    auto* c = new T(form);
    c->SetParent(form);
    return c;
  }

  TStateChangeList list;
  TForm* form = nullptr;
};

class TDerivedImage : public TImage {
 public:
  using TImage::TImage;
};

TEST_F(StateImages, EdgeCases) {
  auto* image = Make<TImage>();
  auto* derived = Make<TDerivedImage>();
  auto* label = Make<TLabel>();
  list.AddControlState(image, 2, 1);
  list.AddControlState(image, 2, 3);  // the first registration wins
  list.AddControlState(image, 3, 2);
  list.AddControlState(derived, 2, 1);
  list.AddControlState(label, 2, 1);
  ASSERT_EQ(list.Count(), 3);

  list.SetControlState(image, 2);
  EXPECT_TRUE(Shows(image, 1));
  list.SetControlState(image, 3);
  EXPECT_TRUE(Shows(image, 2));
  // Already in that state: nothing is drawn again.
  image->Picture()->SetGraphic(nullptr);
  list.SetControlState(image, 3);
  EXPECT_TRUE(image->Picture()->Bitmap()->Empty());
  // A state never registered leaves the picture and the current state alone.
  list.SetControlState(image, 7);
  EXPECT_EQ(list.Changes(0)->CurrentState, 3);

  list.SetControlState(derived, 2);
  EXPECT_TRUE(derived->Picture()->Bitmap()->Empty());
  EXPECT_EQ(list.Changes(1)->CurrentState, 0);
  list.SetControlState(label, 2);
  EXPECT_EQ(list.Changes(2)->CurrentState, 0);
}

TEST_F(StateImages, AMissingResourceIsLoggedAndShowsNothing) {
  StartLogs();
  auto* image = Make<TImage>();
  list.AddControlState(image, 2, 1);
  list.SetControlState(image, 2);
  list.AddControlState(image, 3, 7);  // there is no bitmap 7
  list.SetControlState(image, 3);
  EXPECT_TRUE(image->Picture()->Bitmap()->Empty());
  EXPECT_EQ(list.Changes(0)->CurrentState, 3);
  EXPECT_NE(ReadTestFile(LogFileName("Errors")).find("Exception raised in TControlState.LoadResourceBMP : "),
            std::string::npos);
}

using MainFormImages = MainFormTest;

TEST_F(MainFormImages, HoverHighlightsAndTheBackgroundResets) {
  frmMain->imgRecover->OnMouseMove(frmMain->imgRecover, 0, 4, 4);
  EXPECT_TRUE(Shows(frmMain->imgRecover, 2));
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  // Moving straight on to another image leaves both highlighted.
  frmMain->imgRestoreCard->OnMouseMove(frmMain->imgRestoreCard, 0, 4, 4);
  EXPECT_TRUE(Shows(frmMain->imgRestoreCard, 30));
  EXPECT_TRUE(Shows(frmMain->imgRecover, 2));
  frmMain->imgBackground->OnMouseMove(frmMain->imgBackground, 0, 100, 100);
  EXPECT_TRUE(Shows(frmMain->imgRecover, 1));
  EXPECT_TRUE(Shows(frmMain->imgRestoreCard, 29));
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(MainFormImages, EveryImageStartsWithItsNormalPicture) {
  const std::pair<TImage*, int> normal[] = {
      {frmMain->imgRecover, 1},      {frmMain->imgView, 3},         {frmMain->imgHelp, 5},
      {frmMain->imgSelectOUT, 8},    {frmMain->imgSelectFiles, 11}, {frmMain->imgDeleteFiles, 14},
      {frmMain->imgUpdate, 17},      {frmMain->imgSecureErase, 20}, {frmMain->imgCDBurn, 23},
      {frmMain->imgBackupCard, 26},  {frmMain->imgRestoreCard, 29}, {frmMain->imgExit, 31}};
  for (const auto& [image, id] : normal) EXPECT_TRUE(Shows(image, id)) << id;
}

}  // namespace
}  // namespace apptest
