#include "engine/OutputFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/tests/PassFixtures.h"

namespace {

// Makes a file as the passes do and writes the name into it.
HANDLE Make(const std::string& folder, String& name) {
  const HANDLE file = CreateNewOutputFile(folder, name, GENERIC_WRITE);
  if (file != INVALID_HANDLE_VALUE) {
    EXPECT_TRUE(WriteWholeBlock(file, name.data(), static_cast<DWORD>(name.size())));
    CloseHandle(file);
  }
  return file;
}

TEST(OutputFile, ATakenNameGivesTheNextFreeNumberAndTheTakerStays) {
  TScratchFolder out("kv_output_file.");
  WriteTextFile(out.Path() + "IMG_0001.JPG", "earlier");
  ASSERT_TRUE(ForceDirectories(out.Path() + "IMG_0001_2.JPG"));
  WriteTextFile(out.Path() + "NOTE", "earlier note");
  const struct {
    std::string name, made;
  } cases[] = {
      {"IMG_0001.JPG", "IMG_0001_3.JPG"},  // a file and a folder in the way
      {"IMG_0001.JPG", "IMG_0001_4.JPG"},  // the file made just before too
      {"img_0001.jpg", "img_0001_5.jpg"},  // names differ from each other in case only
      {"NOTE", "NOTE_2"},
      {"FRESH.AVI", "FRESH.AVI"},
  };
  for (const auto& c : cases) {
    String name = c.name;
    EXPECT_NE(Make(out.Path(), name), INVALID_HANDLE_VALUE) << c.name;
    EXPECT_EQ(name, c.made);
    EXPECT_EQ(ReadWholeFile(out.Path() + c.made), c.made);
  }
  EXPECT_EQ(ReadWholeFile(out.Path() + "IMG_0001.JPG"), "earlier");
  EXPECT_EQ(ReadWholeFile(out.Path() + "NOTE"), "earlier note");
  EXPECT_TRUE(DirectoryExists(out.Path() + "IMG_0001_2.JPG"));
}

TEST(OutputFile, AFolderThatCannotTakeTheFileFailsAtOnce) {
  TScratchFolder out("kv_output_file_none.");
  String name = "IMG_0001.JPG";
  EXPECT_EQ(Make(out.Path() + "missing\\", name), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(name, "IMG_0001.JPG");
  EXPECT_TRUE(FolderNames(out.Path()).empty());
}

TEST(OutputFile, NumberedNamesKeepTheExtension) {
  EXPECT_EQ(NumberedName("KV12.JPG", 1), "KV12.JPG");
  EXPECT_EQ(NumberedName("KV12.JPG", 2), "KV12_2.JPG");
  EXPECT_EQ(NumberedName("a.b.c", 10), "a.b_10.c");
  EXPECT_EQ(NumberedName("plain", 3), "plain_3");
}

}  // namespace
