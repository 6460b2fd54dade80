#include "framework/testsupport/scratch_dir.h"

#include "framework/core/fileutils.h"

void RemoveTree(const std::string& folder) {
  if (folder.empty()) return;
  const std::string root = IncludeTrailingBackslash(folder);
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((root + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = root + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(root.c_str());
}

ScratchDir::ScratchDir(const std::string& prefix) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static int serial = 0;
  path_ = std::string(base) + prefix + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++serial) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}
