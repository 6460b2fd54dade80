#include "app/NewFolder.h"

#include <gtest/gtest.h>

#include "app/tests/FolderScratch.h"
#include "framework/core/fileutils.h"

using apptest::FolderScratch;

TEST(NewFolder, TakesTheFirstFreeNumber) {
  FolderScratch dir;
  dir.Folder("New Folder");
  dir.Folder("New Folder1");
  EXPECT_EQ(CreateNewFolder(dir.Path()), "New Folder2");
  EXPECT_TRUE(DirectoryExists(dir / "New Folder2"));
  // A file of the name blocks it as well; the parent given without its backslash.
  dir.File("New Folder3");
  EXPECT_EQ(CreateNewFolder(ExcludeTrailingBackslash(dir.Path())), "New Folder4");
}

TEST(NewFolder, GivesUpWhereNoFolderCanBeMade) {
  FolderScratch dir;
  EXPECT_EQ(CreateNewFolder(dir / "gone\\"), "");
  EXPECT_FALSE(DirectoryExists(dir / "gone"));
}

TEST(NewFolder, ARenamedFolderStaysInItsParent) {
  struct Row {
    const char* path;
    const char* renamed;
  } rows[] = {
      {"C:\\Work\\New Folder", "C:\\Work\\Photos"},
      {"C:\\Work\\New Folder\\", "C:\\Work\\Photos"},
      // The new folder's name also names a folder above it.
      {"C:\\New Folder\\New Folder", "C:\\New Folder\\Photos"},
      {"C:\\New Folder", "C:\\Photos"},
  };
  for (const Row& r : rows) EXPECT_EQ(RenamedFolderPath(r.path, "Photos"), r.renamed) << r.path;
}
