#include "app/Browser.h"

#include "app/tests/Dialogs_fixture.h"
#include "app/tests/FolderScratch.h"
#include "engine/Utils.h"
#include "engine/intDorvane.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/controls/ksSkinScrollBar.h"
#include "skin/views/ksSkinScrollBox.h"

namespace apptest {
namespace {

// The library's thumbnails, drawn as plain colours by call number; one call can
// press Esc on the wait box, as a user does while the thumbnails are made.
int thumbnailCalls = 0;
int escAfterCall = 0;

BOOL __stdcall FakeThumbnail(const char*, int16_t, int32_t width, int32_t height, TBitmap* bitmap) {
  ++thumbnailCalls;
  bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(0, 0, 8 * thumbnailCalls)));
  bitmap->Canvas()->FillRect(TRect{0, 0, width, height});
  if (thumbnailCalls == escAfterCall) PostMessageA(frmGenericWait->Handle(), WM_CHAR, VK_ESCAPE, 0);
  return TRUE;
}

class Browser : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    thumbnailCalls = 0;
    escAfterCall = 0;
    saved_ = intDorvane::CreateThumbnail;
    intDorvane::CreateThumbnail = FakeThumbnail;
    CreateDirectoryA(output.c_str(), nullptr);
    CreateDirectoryA((output + "DuvidAziz").c_str(), nullptr);
    CreateDirectoryA((output + "DezoDozi").c_str(), nullptr);
    Make(frmBrowse);
  }
  void TearDown() override {
    DialogTest::TearDown();
    intDorvane::CreateThumbnail = saved_;
  }

  void Files(const std::string& pass, int count, size_t size = 1) const {
    for (int i = 0; i < count; ++i) {
      char name[32];
      wsprintfA(name, "\\f%03d.jpg", i);
      WriteTestFile(output + pass + name, std::string(size, 'x'));
    }
  }
  std::vector<TPoint> Places() const {
    std::vector<TPoint> places;
    for (const auto& t : frmBrowse->Thumbnails)
      places.push_back(t->Preview ? TPoint{t->Preview->Left(), t->Preview->Top()} : TPoint{-1, -1});
    return places;
  }

  intDorvane::TCreateThumbnail saved_ = nullptr;
};


TEST_F(Browser, TwelveFilesLieInThreeRowsOfFive) {
  Files("DuvidAziz", 12);
  frmBrowse->Show();
  ASSERT_EQ(frmBrowse->Thumbnails.size(), 12u);
  const std::vector<TPoint> places = Places();
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(places[i].X, (i % 5) * 125) << i;
    EXPECT_EQ(places[i].Y, (i / 5) * 95) << i;
  }
  EXPECT_EQ(thumbnailCalls, 12);
  // Drawn once and let go: a thousand files must not hold a thousand drawing contexts.
  for (const auto& t : frmBrowse->Thumbnails) {
    EXPECT_FALSE(t->Bitmap.Canvas()->HandleAllocated());
    EXPECT_FALSE(t->Preview->Image->Picture()->Bitmap()->Canvas()->HandleAllocated());
  }
  EXPECT_TRUE(frmBrowse->radTurbo->Checked());
  EXPECT_FALSE(frmBrowse->ksSkinScrollBar1->Visible());
  EXPECT_FALSE(frmGenericWait->Visible());
}

// The bar covers every row and its end brings the last row into view.
void ExpectEveryRowReachable(int rows) {
  TksSkinScrollBar* bar = frmBrowse->ksSkinScrollBar1;
  ASSERT_TRUE(bar->Visible());
  EXPECT_EQ(bar->Max(), rows * 95 - 1);
  EXPECT_EQ(bar->PageSize(), frmBrowse->sbScroll->ClientHeight());
  bar->SetPosition(bar->Max() - bar->PageSize() + 1);
  const TPreviewImage* last = frmBrowse->Thumbnails.back()->Preview;
  EXPECT_GE(last->Top(), 0);
  EXPECT_LE(last->Top() + last->Height(), frmBrowse->sbScroll->ClientHeight());
}

TEST_F(Browser, ThirtyFilesShowTheBarOverEveryRow) {
  Files("DuvidAziz", 30);
  frmBrowse->Show();
  ExpectEveryRowReachable(6);
  EXPECT_EQ(Places()[29].X, 4 * 125);
}

TEST_F(Browser, EachPassGetsItsOwnBarAndStartsAtTheTop) {
  Files("DuvidAziz", 30);
  Files("DezoDozi", 2);
  frmBrowse->Show();
  TksSkinScrollBar* bar = frmBrowse->ksSkinScrollBar1;
  bar->SetPosition(bar->Max());
  frmBrowse->radDeep->SetChecked(true);
  EXPECT_EQ(Places(), (std::vector<TPoint>{{0, 0}, {125, 0}}));
  EXPECT_FALSE(bar->Visible());
  // Back to the long pass: no showing of the form lays it out again.
  frmBrowse->radTurbo->SetChecked(true);
  EXPECT_EQ(Places()[0].Y, 0);
  ExpectEveryRowReachable(6);
  EXPECT_EQ(thumbnailCalls, 62);
}

TEST_F(Browser, AnEmptyPassGivesWayToTheOther) {
  Files("DezoDozi", 3);
  frmBrowse->Show();
  EXPECT_TRUE(frmBrowse->radDeep->Checked());
  EXPECT_FALSE(frmBrowse->radTurbo->Checked());
  ASSERT_EQ(frmBrowse->Thumbnails.size(), 3u);
  const TThumbnail* first = frmBrowse->Thumbnails.front().get();

  messages.Answer(1);
  frmBrowse->radTurbo->SetChecked(true);
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, "This scan did not find any files.");
  EXPECT_EQ(messages.Boxes()[0].DlgType, ksmtError);
  EXPECT_TRUE(frmBrowse->radDeep->Checked());
  EXPECT_FALSE(frmBrowse->radTurbo->Checked());
  ASSERT_EQ(frmBrowse->Thumbnails.size(), 3u);
  EXPECT_EQ(frmBrowse->Thumbnails.front().get(), first);
  EXPECT_EQ(thumbnailCalls, 3);
}

TEST_F(Browser, EscKeepsTheNamesAndShowsTheFilesDone) {
  Files("DuvidAziz", 12);
  escAfterCall = 3;
  frmBrowse->Show();
  EXPECT_EQ(frmBrowse->TurboFiles.size(), 12u);
  EXPECT_EQ(frmBrowse->TurboCount, 12);
  ASSERT_EQ(frmBrowse->Thumbnails.size(), 3u);
  EXPECT_EQ(Places(), (std::vector<TPoint>{{0, 0}, {125, 0}, {250, 0}}));
  // The previews show what the library drew.
  TBitmap* picture = frmBrowse->Thumbnails[2]->Preview->Image->Picture()->Bitmap();
  EXPECT_EQ(static_cast<COLORREF>(picture->Canvas()->Pixels(60, 45)), RGB(0, 0, 24));
  EXPECT_FALSE(frmGenericWait->Cancelled);
}

TEST_F(Browser, AClickShowsTheNameAndSize) {
  Files("DuvidAziz", 1, 1023);
  frmBrowse->Show();
  TImage* image = frmBrowse->Thumbnails[0]->Preview->Image;
  image->OnClick(image);
  EXPECT_EQ(frmBrowse->lblFilenameText->Caption(), "f000.jpg");
  EXPECT_EQ(frmBrowse->lblFileSizeText->Caption(), "1.00 KB");
  EXPECT_EQ(thumbnailCalls, 2);
  // The large preview is drawn at the size of the frame it fills.
  EXPECT_EQ(frmBrowse->imgPicture->Picture()->Bitmap()->Width(), frmBrowse->imgPicture->Width());
}

TEST_F(Browser, TheLinkOpensTheShownPassesFolder) {
  Files("DuvidAziz", 1);
  Files("DezoDozi", 1);
  std::vector<std::string> opened;
  ScopedSeam<TSystemSeam> shell{{.RunShellVerb = [&](HWND owner, const std::string& verb, const std::string& file, int show) {
    EXPECT_EQ(owner, frmBrowse->Handle());
    EXPECT_EQ(show, SW_SHOWMAXIMIZED);
    opened.push_back(verb + " " + file);
  }}};
  frmBrowse->Show();
  frmBrowse->hlDirectory->OnClick(frmBrowse->hlDirectory);
  frmBrowse->radDeep->SetChecked(true);
  frmBrowse->hlDirectory->OnClick(frmBrowse->hlDirectory);
  EXPECT_EQ(opened, (std::vector<std::string>{"open " + output + "DuvidAziz\\", "open " + output + "DezoDozi\\"}));
}

TEST_F(Browser, ADoubleClickOpensTheFileThroughTheShell) {
  Files("DuvidAziz", 2);
  std::vector<std::string> commands;
  ScopedSeam<TSystemSeam> shell{{.RunCommand = [&](const std::string& command, int show) {
    EXPECT_EQ(show, SW_SHOWMAXIMIZED);
    commands.push_back(command);
    return 32u;
  }}};
  frmBrowse->Show();
  TImage* second = frmBrowse->Thumbnails.at(1)->Preview->Image;
  second->OnDblClick(second);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], ShellOpenCommand(OSCode, output + "DuvidAziz\\f001.jpg"));
}

TEST_F(Browser, HidingFreesTheGridAndTheNames) {
  Files("DuvidAziz", 4);
  frmBrowse->Show();
  ASSERT_EQ(frmBrowse->Thumbnails.size(), 4u);
  frmBrowse->Hide();
  EXPECT_TRUE(frmBrowse->Thumbnails.empty());
  EXPECT_TRUE(frmBrowse->TurboFiles.empty());
  EXPECT_EQ(frmBrowse->sbScroll->ControlCount(), 0);
}

}  // namespace
}  // namespace apptest
