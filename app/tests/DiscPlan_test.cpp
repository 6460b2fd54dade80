#include "app/DiscPlan.h"

#include <gtest/gtest.h>

#include "framework/core/fileutils.h"

TEST(DiscPlan, WritesFilesButNotFoldersNorTheThumbnailCache) {
  struct Row {
    const char* name;
    int attributes;
    bool burned;
  } rows[] = {
      {"IMG_0001.JPG", 0, true},
      {"KV1234.JPG", faArchive | faReadOnly, true},
      {"Thumbs.db", 0, false},
      {"THUMBS.DB", faHidden, false},
      {"THUMBS.DB.JPG", 0, true},
      {".", faDirectory, false},
      {"..", faDirectory, false},
      {"folder", faDirectory, false},
  };
  for (const Row& r : rows) EXPECT_EQ(IsFileToBurn(r.name, r.attributes), r.burned) << r.name;
}

TEST(DiscPlan, ASourceWaitsOnce) {
  const std::vector<TPendingFile> pending = {{"C:\\out\\DuvidAziz\\A.JPG", L"Korvalo\\A.JPG"}};
  EXPECT_TRUE(IsPending(pending, "C:\\out\\DuvidAziz\\A.JPG"));
  EXPECT_TRUE(IsPending(pending, "c:\\OUT\\duvidaziz\\a.jpg"));
  EXPECT_FALSE(IsPending(pending, "C:\\out\\DezoDozi\\A.JPG"));
  EXPECT_FALSE(IsPending({}, "C:\\out\\DuvidAziz\\A.JPG"));
}

TEST(DiscPlan, ClashingNamesAreNumberedInOneFolder) {
  struct Row {
    std::vector<std::wstring> taken;
    const char* name;
    const wchar_t* path;
  } rows[] = {
      {{}, "IMG_0001.JPG", L"Korvalo\\IMG_0001.JPG"},
      {{L"Korvalo\\IMG_0001.JPG"}, "IMG_0002.JPG", L"Korvalo\\IMG_0002.JPG"},
      {{L"Korvalo\\IMG_0001.JPG"}, "img_0001.jpg", L"Korvalo\\img_0001_2.jpg"},
      {{L"Korvalo\\A.JPG", L"Korvalo\\A_2.JPG"}, "A.JPG", L"Korvalo\\A_3.JPG"},
      {{L"Korvalo\\README"}, "README", L"Korvalo\\README_2"},
      {{L"Korvalo\\a.b.c"}, "a.b.c", L"Korvalo\\a.b_2.c"},
  };
  for (const Row& r : rows) {
    std::vector<TPendingFile> taken;
    for (const std::wstring& path : r.taken) taken.push_back({"", path});
    EXPECT_EQ(UniqueDiscPath(taken, r.name), r.path) << r.name;
  }
}

TEST(DiscPlan, ADiscTakesTheFilesWhoseImageFits) {
  struct Row {
    std::vector<int64_t> image;  // the image's size with the first 1, 2, ... files
    int64_t free;
    size_t files;
    size_t asked;  // sizes measured: up to the first that does not fit
  } rows[] = {
      {{}, 1000, 0, 0},
      {{100, 200, 300}, 1000, 3, 3},
      {{100, 200, 300}, 300, 3, 3},  // a full disc still takes them
      {{100, 200, 300}, 299, 2, 3},
      {{100, 200, 300, 400}, 150, 1, 2},
      {{2000, 2100}, 1000, 0, 1},  // the first file alone is too large
      {{100, 200}, 0, 0, 1},       // no disc, or a full one
  };
  for (const Row& r : rows) {
    size_t asked = 0;
    const size_t files = FilesForDisc(r.image.size(), r.free, [&](size_t n) {
      ++asked;
      EXPECT_EQ(n, asked) << "in turn";
      return r.image[n - 1];
    });
    EXPECT_EQ(files, r.files) << r.free;
    EXPECT_EQ(asked, r.asked) << r.free;
  }
}

TEST(DiscPlan, MoreDiscsWhenTheImageIsLargerThanTheFreeSpace) {
  struct Row {
    int64_t image, free;
    bool more;
  } rows[] = {
      {1000, 2000, false},
      {2000, 2000, false},
      {2001, 2000, true},
      {0, 0, false},
      {6442450944, 681984000, true},  // past 4 GiB
      {1000, -1, false},              // an unsigned comparison, as the writer's sizes are
  };
  for (const Row& r : rows) EXPECT_EQ(NeedsMoreDiscs(r.image, r.free), r.more) << r.image << " " << r.free;
}

TEST(DiscPlan, DiscCountSaysWhetherAnotherDiscFollows) {
  EXPECT_EQ(DiscCountText(1, true), "1/1");
  EXPECT_EQ(DiscCountText(1, false), "1/2");
  EXPECT_EQ(DiscCountText(3, false), "3/4");
  EXPECT_EQ(DiscCountText(12, true), "12/12");
}

TEST(DiscPlan, VolumeLabelKeepsTheDiscNumberWithinSixteenCharacters) {
  struct Row {
    const char* typed;
    bool inSet;
    int disc;
    const wchar_t* label;
  } rows[] = {
      {"", false, 1, L"Korvalo3"},
      {"", true, 2, L"Korvalo3"},  // no suffix without a typed label
      {"Photos", false, 1, L"Photos"},
      {"Photos", true, 1, L"Photos_1"},
      {"Photos", true, 12, L"Photos_12"},
      {"SixteenCharsLong", false, 1, L"SixteenCharsLong"},
      {"SixteenCharsLong", true, 2, L"SixteenCharsLo_2"},
      {"SeventeenCharsLng", true, 10, L"SeventeenChar_10"},
      {"SeventeenCharsLng", false, 1, L"SeventeenCharsLn"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(DiscVolumeLabel(r.typed, r.inSet, r.disc), r.label) << r.typed << " " << r.disc;
}
