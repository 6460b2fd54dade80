// A fresh test folder of its own name for each use, with files and folders made in it.
#pragma once

#include <windows.h>

#include <string>

#include "app/tests/MainForm_fixture.h"

namespace apptest {

// Makes or replaces a file with the given content.
inline void WriteTestFile(const std::string& path, const std::string& content) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(h);
}

class FolderScratch : public TTestFolder {
 public:
  FolderScratch() : TTestFolder(UniqueName()) {}

  std::string operator/(const std::string& name) const { return Path() + name; }
  void Folder(const std::string& name) const { CreateDirectoryA((Path() + name).c_str(), nullptr); }
  void File(const std::string& name, const std::string& content = "x") const { WriteTestFile(Path() + name, content); }

 private:
  static std::string UniqueName() {
    static int serial = 0;
    return "kvapp." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++serial);
  }
};

}  // namespace apptest
