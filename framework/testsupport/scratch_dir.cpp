#include "framework/testsupport/scratch_dir.h"

#include <gtest/gtest.h>

#include "framework/core/fileutils.h"

std::string RemoveTree(const std::string& folder) {
  if (folder.empty()) return {};
  const std::string root = IncludeTrailingBackslash(folder);
  std::string stayed;
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((root + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = root + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      std::string left;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        left = RemoveTree(path);
      else if (!DeleteFileA(path.c_str()))
        left = path;
      if (stayed.empty()) stayed = left;
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  const DWORD attributes = GetFileAttributesA(root.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      !RemoveDirectoryA(root.c_str()) && stayed.empty())
    stayed = root;
  return stayed;
}

void RemoveScratchTree(const std::string& folder) {
  const std::string stayed = RemoveTree(folder);
  if (!stayed.empty()) ADD_FAILURE() << "the scratch folder " << folder << " cannot be emptied: " << stayed << " stays";
}

ScratchDir::ScratchDir(const std::string& prefix) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static int serial = 0;
  path_ = std::string(base) + prefix + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++serial) + "\\";
  RemoveScratchTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}
