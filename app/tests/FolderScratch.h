// A fresh folder tree under the temporary folder for one test, removed with
// everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace apptest {

class FolderScratch {
 public:
  FolderScratch() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    path_ = std::string(base) + "kvapp." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++serial) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~FolderScratch() { Remove(path_); }
  FolderScratch(const FolderScratch&) = delete;
  FolderScratch& operator=(const FolderScratch&) = delete;

  // The folder's path, ending in "\".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

  void Folder(const std::string& name) const { CreateDirectoryA((path_ + name).c_str(), nullptr); }
  void File(const std::string& name, const std::string& content = "x") const {
    HANDLE h = CreateFileA((path_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
  }

 private:
  static void Remove(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(folder + name + "\\");
        } else {
          SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA((folder + name).c_str());
        }
      } while (FindNextFileA(h, &data));
      FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string path_;
};

}  // namespace apptest
