// A fresh test folder of its own name for each use, with files and folders made in it.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
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

// The whole content of a file; empty when it cannot be read.
inline std::string ReadTestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class FolderScratch : public TTestFolder {
 public:
  FolderScratch() : TTestFolder("kvapp.") {}

  void Folder(const std::string& name) const { CreateDirectoryA((Path() + name).c_str(), nullptr); }
  void File(const std::string& name, const std::string& content = "x") const { WriteTestFile(Path() + name, content); }
};

}  // namespace apptest
