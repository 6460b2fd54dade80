#include "framework/core/fileutils.h"

#include <gtest/gtest.h>

#include <set>

#include "framework/testsupport/scratch_dir.h"

namespace {

TEST(FileNames, PartsWithDottedFolders) {
  const struct {
    const char* name;
    const char* path;
    const char* file;
    const char* ext;
  } cases[] = {
      {"C:\\dir.v2\\file", "C:\\dir.v2\\", "file", ""},
      {"C:\\dir.v2\\file.txt", "C:\\dir.v2\\", "file.txt", ".txt"},
      {"C:\\a.b\\c.d\\photo.tar.gz", "C:\\a.b\\c.d\\", "photo.tar.gz", ".gz"},
      {"C:\\dir.v2\\", "C:\\dir.v2\\", "", ""},
      {"C:file.jpg", "C:", "file.jpg", ".jpg"},
      {"file.", "", "file.", "."},
      {".hidden", "", ".hidden", ".hidden"},
      {"plain", "", "plain", ""},
      {"", "", "", ""},
      {"\\\\server\\share.x\\doc", "\\\\server\\share.x\\", "doc", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractFilePath(c.name), c.path);
    EXPECT_EQ(ExtractFileName(c.name), c.file);
    EXPECT_EQ(ExtractFileExt(c.name), c.ext);
  }
  EXPECT_EQ(ChangeFileExt("C:\\dir.v2\\file", ".jpg"), "C:\\dir.v2\\file.jpg");
  EXPECT_EQ(ChangeFileExt("C:\\dir.v2\\file.bmp", ".jpg"), "C:\\dir.v2\\file.jpg");
  EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");
  EXPECT_EQ(ExtractFileDrive("C:\\x\\y"), "C:");
  EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\x"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileDrive("x\\y"), "");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\x"), "C:\\x\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\x\\"), "C:\\x\\");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\x\\"), "C:\\x");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\x"), "C:\\x");
}

TEST(FileNames, DeviceNamesWithAnyExtensionOrCase) {
  for (const char* device : {"CON", "prn", "Aux", "NUL", "COM1", "com9", "LPT1", "lpt9", "COM1.exe", "con.tar.gz",
                             "NUL ", "Aux.", "CON .x"})
    EXPECT_TRUE(IsDeviceName(device)) << '"' << device << '"';
  for (const char* file : {"", "CONSOLE", "COM10", "COM0", "LPT", "nul_fix.exe", "xcon", "setup.exe"})
    EXPECT_FALSE(IsDeviceName(file)) << '"' << file << '"';
}

TEST(FileNames, NamesInAFolderStayInIt) {
  for (const char* name : {"a.bmp", "New Folder", "x", ".hidden", "console.bmp"})
    EXPECT_TRUE(IsNameInFolder(name)) << '"' << name << '"';
  for (const char* name : {"", ".", "..", "..\\x.bmp", "../x.bmp", "sub\\x.bmp", "sub/x.bmp", "C:x.bmp",
                           "C:\\x.bmp", "x.bmp:stream", "*.bmp", "a?.bmp", "a|b", "a\tb", "NUL", "com1.bmp"})
    EXPECT_FALSE(IsNameInFolder(name)) << '"' << name << '"';
}

// A fresh folder under the temporary folder, removed with everything in it afterwards.
class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    dir_ = IncludeTrailingBackslash(base) + "fwcore." + IntToStr(GetCurrentProcessId()) + "." +
           IntToStr(GetTickCount()) + "\\";
    ASSERT_TRUE(ForceDirectories(dir_));
  }
  void TearDown() override { RemoveScratchTree(dir_); }

  void Write(const String& name, const String& content) {
    const intptr_t h = FileCreate(dir_ + name);
    ASSERT_NE(h, kInvalidFileHandle);
    ASSERT_EQ(FileWrite(h, content.data(), static_cast<int>(content.size())), static_cast<int>(content.size()));
    FileClose(h);
  }

  String Read(const String& name) {
    String text(64, '\0');
    const intptr_t h = FileOpen(dir_ + name, fmOpenRead | fmShareDenyNone);
    if (h == kInvalidFileHandle) return "<missing>";
    const int n = FileRead(h, text.data(), static_cast<int>(text.size()));
    FileClose(h);
    text.resize(n < 0 ? 0 : n);
    return text;
  }

  std::set<String> Found(const String& mask, int attr) {
    std::set<String> names;
    TSearchRec rec;
    for (int r = FindFirst(dir_ + mask, attr, rec); r == 0; r = FindNext(rec)) names.insert(rec.Name);
    FindClose(rec);
    return names;
  }

  String dir_;
};

TEST_F(TempFolder, FindFirstSkipsWhatWasNotAskedFor) {
  Write("a.txt", "12345");
  Write("b.jpg", "x");
  Write("hidden.txt", "");
  ASSERT_EQ(FileSetAttr(dir_ + "hidden.txt", faHidden), 0);
  ASSERT_TRUE(CreateDir(dir_ + "sub.d"));

  using Names = std::set<String>;
  EXPECT_EQ(Found("*.*", 0), (Names{"a.txt", "b.jpg"}));
  EXPECT_EQ(Found("*.*", faArchive | faReadOnly), (Names{"a.txt", "b.jpg"}));
  EXPECT_EQ(Found("*.*", faHidden), (Names{"a.txt", "b.jpg", "hidden.txt"}));
  EXPECT_EQ(Found("*.*", faDirectory), (Names{".", "..", "a.txt", "b.jpg", "sub.d"}));
  EXPECT_EQ(Found("*.*", faAnyFile), (Names{".", "..", "a.txt", "b.jpg", "hidden.txt", "sub.d"}));
  EXPECT_EQ(Found("*.txt", 0), (Names{"a.txt"}));

  TSearchRec rec;
  ASSERT_EQ(FindFirst(dir_ + "a.txt", faAnyFile, rec), 0);
  EXPECT_EQ(rec.Name, "a.txt");
  EXPECT_EQ(rec.Size, 5);
  EXPECT_EQ(rec.Attr & faDirectory, 0);
  EXPECT_EQ(rec.Time, FileAge(dir_ + "a.txt"));
  EXPECT_EQ(FindNext(rec), ERROR_NO_MORE_FILES);
  FindClose(rec);
  FindClose(rec);  // closing twice is harmless
  EXPECT_EQ(rec.FindHandle, INVALID_HANDLE_VALUE);

  EXPECT_NE(FindFirst(dir_ + "none.*", faAnyFile, rec), 0);
  EXPECT_NE(FindFirst(dir_ + "hidden.txt", 0, rec), 0) << "the only match is hidden";
}

TEST_F(TempFolder, RenameFileNeverOverwrites) {
  Write("old.txt", "old");
  Write("taken.txt", "taken");
  EXPECT_FALSE(RenameFile(dir_ + "old.txt", dir_ + "taken.txt"));
  EXPECT_EQ(Read("old.txt"), "old");
  EXPECT_EQ(Read("taken.txt"), "taken");
  EXPECT_TRUE(RenameFile(dir_ + "old.txt", dir_ + "new.txt"));
  EXPECT_FALSE(FileExists(dir_ + "old.txt"));
  EXPECT_EQ(Read("new.txt"), "old");
}

TEST_F(TempFolder, FilesAndFoldersAreToldApart) {
  Write("f.bin", "data");
  EXPECT_TRUE(FileExists(dir_ + "f.bin"));
  EXPECT_FALSE(DirectoryExists(dir_ + "f.bin"));
  EXPECT_FALSE(FileExists(ExcludeTrailingBackslash(dir_)));
  EXPECT_TRUE(DirectoryExists(ExcludeTrailingBackslash(dir_)));
  EXPECT_EQ(FileAge(ExcludeTrailingBackslash(dir_)), -1);
  EXPECT_EQ(FileAge(dir_ + "missing"), -1);
  EXPECT_NE(FileAge(dir_ + "f.bin"), -1);
  EXPECT_NEAR(FileDateTime(dir_ + "f.bin"), Now(), 1.0);

  EXPECT_TRUE(ForceDirectories(dir_ + "x.1\\y\\z\\"));
  EXPECT_TRUE(DirectoryExists(dir_ + "x.1\\y\\z"));
  EXPECT_TRUE(ForceDirectories(dir_ + "x.1\\y"));
  EXPECT_FALSE(ForceDirectories(dir_ + "f.bin\\below")) << "a file stands in the way";
  EXPECT_FALSE(ForceDirectories(""));
  EXPECT_TRUE(RemoveDir(dir_ + "x.1\\y\\z"));
  EXPECT_FALSE(DirectoryExists(dir_ + "x.1\\y\\z"));

  EXPECT_TRUE(DeleteFile(dir_ + "f.bin"));
  EXPECT_FALSE(DeleteFile(dir_ + "f.bin"));
  EXPECT_EQ(ExpandFileName(dir_ + "a\\..\\b.txt"), dir_ + "b.txt");
  EXPECT_FALSE(GetCurrentDir().empty());
}

TEST_F(TempFolder, HandleRoutines) {
  const String name = dir_ + "h.bin";
  EXPECT_EQ(FileOpen(name, fmOpenRead), kInvalidFileHandle);

  intptr_t h = FileCreate(name);
  ASSERT_NE(h, kInvalidFileHandle);
  EXPECT_EQ(FileWrite(h, "abcdef", 6), 6);
  EXPECT_EQ(FileSeek(h, 2, 0), 2);
  char buf[8] = {};
  EXPECT_EQ(FileRead(h, buf, 3), 3);
  EXPECT_EQ(String(buf, 3), "cde");
  EXPECT_EQ(FileSeek(h, -1, 2), 5);
  EXPECT_EQ(FileSeek(h, 0, 1), 5);
  EXPECT_EQ(FileRead(h, buf, 8), 1) << "a read at the end returns what is left";
  EXPECT_EQ(FileRead(h, buf, 8), 0);
  EXPECT_EQ(FileSeek(h, 0, 7), -1);
  EXPECT_EQ(FileSeek(h, -10, 0), -1);
  EXPECT_EQ(FileSeek(h, int64_t{5} << 30, 0), int64_t{5} << 30) << "positions beyond 4 GB";
  FileClose(h);

  // Share modes: a reader that denies writing keeps writers out but lets readers in.
  const intptr_t reader = FileOpen(name, fmOpenRead | fmShareDenyWrite);
  ASSERT_NE(reader, kInvalidFileHandle);
  EXPECT_EQ(FileOpen(name, fmOpenWrite | fmShareDenyNone), kInvalidFileHandle);
  const intptr_t second = FileOpen(name, fmOpenRead | fmShareDenyNone);
  EXPECT_NE(second, kInvalidFileHandle);
  FileClose(second);
  FileClose(reader);

  const intptr_t exclusive = FileOpen(name, fmOpenReadWrite | fmShareExclusive);
  ASSERT_NE(exclusive, kInvalidFileHandle);
  EXPECT_EQ(FileOpen(name, fmOpenRead | fmShareDenyNone), kInvalidFileHandle);
  FileClose(exclusive);
}

}  // namespace
