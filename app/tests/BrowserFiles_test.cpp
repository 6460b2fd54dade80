#include "app/BrowserFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/tests/FolderScratch.h"

using apptest::FolderScratch;

TEST(BrowserFiles, TwelveFilesFillFiveColumnsOfTheGrid) {
  const std::vector<TPoint> places = PreviewGridPlaces(12, 658);
  ASSERT_EQ(places.size(), 12u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(places[i].X, (i % 5) * 125) << i;
    EXPECT_EQ(places[i].Y, (i / 5) * 95) << i;
  }
}

TEST(BrowserFiles, ColumnsFollowTheWidthOfTheBox) {
  struct Row {
    int width, columns;
  } rows[] = {{658, 5}, {625, 5}, {624, 4}, {250, 2}, {249, 1}, {0, 1}};
  for (const Row& r : rows) {
    const std::vector<TPoint> places = PreviewGridPlaces(r.columns + 1, r.width);
    EXPECT_EQ(places[r.columns - 1].Y, 0) << r.width;
    EXPECT_EQ(places[r.columns].X, 0) << r.width;
    EXPECT_EQ(places[r.columns].Y, 95) << r.width;
  }
  EXPECT_TRUE(PreviewGridPlaces(0, 658).empty());
}

TEST(BrowserFiles, SizeTextsTakeTheUnitOfTheirRange) {
  struct Row {
    uint64_t size;
    const char* text;
  } rows[] = {
      {0, "0.00 KB"},          {512, "0.50 KB"},        {1023, "1.00 KB"},
      {1048575, "1024.00 KB"}, {1048576, "1.00 MB"},    {1073741823, "1024.00 MB"},
      {1073741824, "1.00 GB"}, {5368709120, "5.00 GB"},
  };
  for (const Row& r : rows) EXPECT_EQ(FileSizeText(r.size), r.text) << r.size;
}

TEST(BrowserFiles, ListingSkipsFoldersAndTheThumbnailCache) {
  FolderScratch dir;
  dir.File("A.JPG");
  dir.File("Thumbs.db");
  dir.File(" thumbs.DB");
  dir.File("b.avi");
  dir.Folder("sub");
  std::vector<String> files = ListRecoveredFolder(dir.Path());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<String>{dir / "A.JPG", dir / "b.avi"}));
}

TEST(BrowserFiles, AMissingFolderListsNothing) {
  FolderScratch dir;
  EXPECT_TRUE(ListRecoveredFolder(dir / "DuvidAziz\\").empty());
}
