// A fresh folder under the temporary folder for one test, removed with its
// files afterwards.
#pragma once

#include <windows.h>

#include <string>

class ScratchDir {
 public:
  ScratchDir() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    path_ = std::string(base) + "rtio." + std::to_string(GetCurrentProcessId()) + "." +
            std::to_string(++serial) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchDir() {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((path_ + "*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((path_ + data.cFileName).c_str());
      } while (FindNextFileA(h, &data));
      FindClose(h);
    }
    RemoveDirectoryA(path_.c_str());
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The full name of a file in the folder.
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};
