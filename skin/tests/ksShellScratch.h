// A scratch folder tree for the shell tests, made by code and removed with all it holds.
#pragma once

#include <windows.h>

#include <string>

#include "framework/testsupport/scratch_dir.h"

namespace shelltest {

class ShellScratch {
 public:
  ShellScratch() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    char longBase[MAX_PATH] = {};
    GetLongPathNameA(base, longBase, MAX_PATH);
    static int serial = 0;
    path_ = std::string(longBase) + "kvshell." + std::to_string(GetCurrentProcessId()) + "." +
            std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ShellScratch() { RemoveScratchTree(path_); }
  ShellScratch(const ShellScratch&) = delete;
  ShellScratch& operator=(const ShellScratch&) = delete;

  // The folder, without a trailing backslash, as the shell names it.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  std::string Folder(const std::string& name) const {
    CreateDirectoryA((*this / name).c_str(), nullptr);
    return *this / name;
  }
  std::string File(const std::string& name) const {
    HANDLE h = CreateFileA((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return *this / name;
  }

 private:
  std::string path_;
};

}  // namespace shelltest
