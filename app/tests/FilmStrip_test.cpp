#include "app/FilmStrip.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "engine/intDorvane.h"
#include "framework/core/handles.h"
#include "framework/gui/extctrls.h"
#include "framework/testsupport/scratch_dir.h"

namespace {

// What the stand-in thumbnail call saw, and how it answers.
struct TThumbnailCalls {
  std::vector<std::string> names;
  std::vector<int> kinds;
  int width = 0, height = 0;
  TColor paint = clRed;
  // While set, the call tells the test it is drawing and waits to be let go.
  HANDLE drawing = nullptr;
  HANDLE release = nullptr;
  bool fail = false;
};
TThumbnailCalls* calls = nullptr;

BOOL __stdcall FakeThumbnail(const char* FileName, int16_t Kind, int32_t Width, int32_t Height, TBitmap* Bitmap) {
  calls->names.push_back(FileName);
  calls->kinds.push_back(Kind);
  calls->width = Width;
  calls->height = Height;
  if (calls->fail) throw Exception("cannot decode");
  if (calls->drawing) {
    SetEvent(calls->drawing);
    WaitForSingleObject(calls->release, 10000);
  }
  Bitmap->Canvas()->Brush()->SetColor(calls->paint);
  Bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
  return TRUE;
}

class FilmStrip : public ::testing::Test {
 protected:
  void SetUp() override {
    calls = &seen;
    saved = intDorvane::CreateThumbnail;
    intDorvane::CreateThumbnail = FakeThumbnail;
    preview.SetBounds(0, 0, 169, 145);
    PaintPreview(clBlack);
    strip.Initialize();
    strip.PreviewImage = &preview;
    strip.NoPictureImage = &noPicture;
    strip.Mode = 2;
    photo = folder / "IMG_0001.JPG";
    HANDLE file = CreateFileA(photo.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
  }
  void TearDown() override {
    strip.FreeResources();
    intDorvane::CreateThumbnail = saved;
    calls = nullptr;
  }
  void PaintPreview(TColor color) {
    preview.Canvas()->Brush()->SetColor(color);
    preview.Canvas()->FillRect(Rect(0, 0, preview.Width(), preview.Height()));
  }
  TColor PreviewPixel() { return preview.Picture()->Bitmap()->Canvas()->Pixels(80, 70); }
  // Runs the worker's Synchronize calls until it parks (bounded by a count, not a clock).
  void PumpUntilParked() {
    for (int i = 0; i < 500 && !strip.Parked(); ++i) CheckSynchronize(20);
    ASSERT_TRUE(strip.Parked());
  }

  TThumbnailCalls seen;
  intDorvane::TCreateThumbnail saved = nullptr;
  ScratchDir folder;
  std::string photo;
  TImage preview{nullptr};
  TImage noPicture{nullptr};
  TFilmStrip strip{true};
};

TEST_F(FilmStrip, PacesByTheLengthOfTheQueue) {
  struct Row {
    int queued;
    DWORD delay;
  } rows[] = {{0, 100}, {1, 3000}, {2, 1500}, {10, 300}, {30, 100}, {40, 100}};
  for (const Row& row : rows) {
    strip.Clear();
    for (int i = 0; i < row.queued; ++i) strip.AddFile(photo, 1);
    EXPECT_EQ(strip.Cycle(), row.delay) << row.queued << " queued";
    EXPECT_EQ(strip.Count(), std::max(row.queued - 1, 0)) << "the shown name leaves the queue";
  }
  EXPECT_EQ(seen.names.size(), 5u) << "one name drawn a cycle";
}

TEST_F(FilmStrip, DrawsTheFirstNameAtThePreviewSizeAndHandsThePictureOver) {
  strip.AddFile(photo, 2);
  strip.AddFile(folder / "second.avi", 2);
  seen.paint = clLime;
  strip.Cycle();
  ASSERT_EQ(seen.names, std::vector<std::string>{photo});
  EXPECT_EQ(seen.kinds, std::vector<int>{2});
  EXPECT_EQ(seen.width, 169);
  EXPECT_EQ(seen.height, 145);
  EXPECT_EQ(PreviewPixel(), clLime);
}

TEST_F(FilmStrip, IdlesOutsideDrawingModeAndKeepsTheQueue) {
  strip.Mode = 0;
  strip.AddFile(photo, 1);
  EXPECT_EQ(strip.Cycle(), 100u);
  EXPECT_EQ(strip.Count(), 1);
  EXPECT_TRUE(seen.names.empty());
}

TEST_F(FilmStrip, AVanishedFileLeavesTheQueueAndThePreviewAsTheyWere) {
  strip.AddFile(folder / "gone.jpg", 1);
  EXPECT_EQ(strip.Cycle(), 3000u);
  EXPECT_EQ(strip.Count(), 0);
  EXPECT_TRUE(seen.names.empty());
  EXPECT_EQ(PreviewPixel(), clBlack);
}

TEST_F(FilmStrip, AFailedThumbnailShowsTheNoPictureImageAndLeavesTheQueue) {
  TBitmap none(57, 49);
  none.Canvas()->Brush()->SetColor(clBlue);
  none.Canvas()->FillRect(Rect(0, 0, 57, 49));
  noPicture.Picture()->SetGraphic(&none);
  seen.fail = true;
  strip.AddFile(photo, 1);
  EXPECT_EQ(strip.Cycle(), 3000u);
  EXPECT_EQ(strip.Count(), 0);
  TCanvas& shown = *preview.Picture()->Bitmap()->Canvas();
  EXPECT_EQ(shown.Pixels(10, 10), clBlue) << "the no-picture image in the top-left 120 x 90";
  EXPECT_EQ(shown.Pixels(150, 130), clBlack) << "the rest as it was";
}

TEST_F(FilmStrip, ClearWhileDrawingEmptiesTheQueueAndSparesNamesAddedSince) {
  KernelHandle drawing(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  KernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  seen.drawing = drawing.get();
  seen.release = release.get();
  for (int i = 0; i < 3; ++i) strip.AddFile(photo, 1);
  strip.Resume();
  // The worker asks the GUI thread for the preview's size before it draws.
  for (int i = 0; i < 500 && WaitForSingleObject(drawing.get(), 0) != WAIT_OBJECT_0; ++i) CheckSynchronize(20);
  ASSERT_TRUE(seen.names.size() == 1);
  for (int i = 0; i < 2000; ++i) {
    strip.AddFile(photo, 1);
    strip.Clear();
  }
  EXPECT_EQ(strip.Count(), 0);
  seen.drawing = nullptr;
  strip.AddFile(folder / "added after the clear.jpg", 1);
  strip.Suspend();
  SetEvent(release.get());
  PumpUntilParked();
  EXPECT_EQ(strip.Count(), 1) << "the drawn name was cleared already; the new one stays";
  EXPECT_EQ(PreviewPixel(), clRed);
  EXPECT_FALSE(strip.FatalException());
}

TEST_F(FilmStrip, FreeingASuspendedStripEndsTheThreadFirst) {
  strip.Mode = 0;
  strip.AddFile(photo, 1);
  strip.Resume();
  strip.Suspend();
  PumpUntilParked();
  strip.FreeResources();
  EXPECT_TRUE(strip.Finished());
  EXPECT_EQ(strip.Count(), 0);
  strip.AddFile(photo, 1);
  strip.Clear();
  EXPECT_EQ(strip.Count(), 0) << "a freed queue takes nothing";
}

}  // namespace
