#include "framework/testsupport/scratch_dir.h"

#include <gtest/gtest.h>

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  CloseHandle(h);
}

// A tree with a read-only file and a read-only folder, two levels deep.
std::string MakeTree(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + name + "." + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr);
  Touch(root + "\\a.txt", FILE_ATTRIBUTE_READONLY);
  Touch(root + "\\sub\\b.txt");
  Touch(root + "\\sub\\deeper\\c.txt");
  SetFileAttributesA((root + "\\sub").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
  return root;
}

TEST(RemoveTree, RemovesTheFolderWithAllItHoldsWithOrWithoutATrailingBackslash) {
  for (const char* end : {"", "\\"}) {
    const std::string root = MakeTree("kvtree");
    ASSERT_TRUE(Exists(root + "\\sub\\deeper\\c.txt"));
    RemoveTree(root + end);
    EXPECT_FALSE(Exists(root)) << "ending '" << end << "'";
  }
}

TEST(RemoveTree, AnEmptyNameRemovesNothing) {
  const std::string root = MakeTree("kvkeep");
  char saved[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, saved);
  SetCurrentDirectoryA(root.c_str());
  RemoveTree("");
  SetCurrentDirectoryA(saved);
  EXPECT_TRUE(Exists(root + "\\a.txt"));
  EXPECT_TRUE(Exists(root + "\\sub\\b.txt"));
  RemoveTree(root);
  EXPECT_FALSE(Exists(root));
}

TEST(RemoveTree, NamesTheFileThatStays) {
  const std::string root = MakeTree("kvheld");
  const std::string held = root + "\\sub\\b.txt";
  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const std::string stayed = RemoveTree(root);
  CloseHandle(h);
  EXPECT_EQ(stayed, held);
  EXPECT_FALSE(Exists(root + "\\a.txt")) << "the rest goes";
  EXPECT_EQ(RemoveTree(root), "");
  EXPECT_FALSE(Exists(root));
}

TEST(ScratchDir, GoesWithWhatWasMadeInIt) {
  std::string inner;
  {
    ScratchDir scratch;
    inner = scratch / "inner";
    CreateDirectoryA(inner.c_str(), nullptr);
    Touch(scratch / "inner\\x.txt");
    ASSERT_TRUE(Exists(inner));
  }
  EXPECT_FALSE(Exists(inner));
}

}  // namespace
