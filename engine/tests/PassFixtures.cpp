#include "engine/tests/PassFixtures.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "engine/Utils.h"

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((AddTrailingBackslash(folder) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

void LoadTable(TScanEngine& engine, const TScratchFolder& programFolder, const std::string& ini) {
  WriteTextFile(programFolder.Path() + "Korvalo3.INI", ini);
  engine.ProgramFolder = programFolder.Path();
  engine.LoadSupportedFileTypes();
}

DWORD TWatchedVolumeCalls::SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) {
  offset_ = (uint64_t(high ? static_cast<DWORD>(*high) : 0) << 32) | static_cast<DWORD>(low);
  return TImageVolumeCalls::SetFilePointer(handle, low, high, method);
}

BOOL TWatchedVolumeCalls::ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* done) {
  if (BeforeRead) {
    if (const DWORD error = BeforeRead(static_cast<uint32_t>(offset_ / 512), size / 512)) {
      *done = 0;
      SetLastError(error);
      return FALSE;
    }
  }
  const BOOL read = TImageVolumeCalls::ReadFile(handle, buffer, size, done);
  offset_ += *done;
  return read;
}
