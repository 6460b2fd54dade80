#include "framework/core/fileutils.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

// Index just past the last '\' or ':', 0 when there is none.
size_t NameStart(const String& fileName) {
  const size_t at = fileName.find_last_of("\\:");
  return at == String::npos ? 0 : at + 1;
}

// Position of the extension's dot, npos when the name has none.
size_t ExtensionDot(const String& fileName) {
  const size_t dot = fileName.rfind('.');
  return dot == String::npos || dot < NameStart(fileName) ? String::npos : dot;
}

HANDLE ToHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

int DosTime(const FILETIME& utc) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return -1;
  return static_cast<int>(static_cast<unsigned>(date) << 16 | time);
}

// Skips the entries the caller did not ask for; 0 when rec holds a wanted entry.
int FindMatching(TSearchRec& rec) {
  while (rec.FindData.dwFileAttributes & static_cast<DWORD>(rec.ExcludeAttr)) {
    if (!FindNextFileA(rec.FindHandle, &rec.FindData)) return static_cast<int>(GetLastError());
  }
  rec.Time = DosTime(rec.FindData.ftLastWriteTime);
  rec.Size = static_cast<int64_t>(static_cast<uint64_t>(rec.FindData.nFileSizeHigh) << 32 | rec.FindData.nFileSizeLow);
  rec.Attr = static_cast<int>(rec.FindData.dwFileAttributes);
  rec.Name = rec.FindData.cFileName;
  return 0;
}

}  // namespace

// ---- Names ----------------------------------------------------------------------------

String ExtractFilePath(const String& fileName) { return fileName.substr(0, NameStart(fileName)); }

String ExtractFileName(const String& fileName) { return fileName.substr(NameStart(fileName)); }

String ExtractFileExt(const String& fileName) {
  const size_t dot = ExtensionDot(fileName);
  return dot == String::npos ? String() : fileName.substr(dot);
}

String ExtractFileDrive(const String& fileName) {
  if (fileName.size() >= 2 && fileName[1] == ':') return fileName.substr(0, 2);
  if (fileName.size() >= 2 && fileName[0] == '\\' && fileName[1] == '\\') {
    // "\\server\share": up to the separator after the share name.
    const size_t server = fileName.find('\\', 2);
    if (server == String::npos) return fileName;
    const size_t share = fileName.find('\\', server + 1);
    return share == String::npos ? fileName : fileName.substr(0, share);
  }
  return String();
}

String ChangeFileExt(const String& fileName, const String& extension) {
  const size_t dot = ExtensionDot(fileName);
  return (dot == String::npos ? fileName : fileName.substr(0, dot)) + extension;
}

String ExpandFileName(const String& fileName) {
  if (fileName.empty()) return fileName;
  char* part = nullptr;
  String full(MAX_PATH, '\0');
  DWORD n = GetFullPathNameA(fileName.c_str(), static_cast<DWORD>(full.size()), full.data(), &part);
  if (n >= full.size()) {
    full.assign(n, '\0');
    n = GetFullPathNameA(fileName.c_str(), static_cast<DWORD>(full.size()), full.data(), &part);
  }
  if (n == 0 || n >= full.size()) return fileName;
  full.resize(n);
  return full;
}

String IncludeTrailingBackslash(const String& path) {
  return !path.empty() && path.back() == '\\' ? path : path + '\\';
}

String ExcludeTrailingBackslash(const String& path) {
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

bool IsDeviceName(const String& name) {
  String base = UpperCase(name.substr(0, name.find('.')));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

bool IsNameInFolder(const String& name) {
  if (name.empty() || name == "." || name.find("..") != String::npos) return false;
  const bool plainCharacters = std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || std::string_view(R"(\/:*?"<>|)").find(c) != std::string_view::npos;
  });
  return plainCharacters && !IsDeviceName(name);
}

// ---- Files and folders ----------------------------------------------------------------

bool FileExists(const String& fileName) {
  const DWORD attr = GetFileAttributesA(fileName.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool RenameFile(const String& oldName, const String& newName) {
  // MoveFileA without MOVEFILE_REPLACE_EXISTING fails when the target exists.
  return MoveFileA(oldName.c_str(), newName.c_str()) != 0;
}

bool DeleteFile(const String& fileName) { return ::DeleteFileA(fileName.c_str()) != 0; }

bool CreateDir(const String& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool RemoveDir(const String& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool ForceDirectories(const String& path) {
  const String dir = ExcludeTrailingBackslash(path);
  if (dir.empty()) return false;
  if (DirectoryExists(dir)) return true;
  const String parent = ExtractFilePath(dir);
  // A drive root or a name without a parent is where the climb stops.
  if (!parent.empty() && parent != dir && !(parent.size() <= 3 && parent.find(':') != String::npos) &&
      !ForceDirectories(parent))
    return false;
  return CreateDir(dir) || DirectoryExists(dir);
}

String GetCurrentDir() {
  const DWORD n = GetCurrentDirectoryA(0, nullptr);
  if (n == 0) return String();
  String dir(n, '\0');
  const DWORD got = GetCurrentDirectoryA(n, dir.data());
  dir.resize(got < n ? got : 0);
  return dir;
}

int FileSetAttr(const String& fileName, int attr) {
  return SetFileAttributesA(fileName.c_str(), static_cast<DWORD>(attr)) ? 0 : static_cast<int>(GetLastError());
}

int FileGetAttr(const String& fileName) {
  const DWORD attr = GetFileAttributesA(fileName.c_str());
  return attr == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(attr);
}

int FileAge(const String& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return DosTime(data.ftLastWriteTime);
}

TDateTime FileDateTime(const String& fileName) {
  const int age = FileAge(fileName);
  return age == -1 ? 0 : FileDateToDateTime(age);
}

// ---- Searches -------------------------------------------------------------------------

TSearchRec::TSearchRec(TSearchRec&& other) noexcept { *this = std::move(other); }

TSearchRec& TSearchRec::operator=(TSearchRec&& other) noexcept {
  if (this != &other) {
    FindClose(*this);
    Time = other.Time;
    Size = other.Size;
    Attr = other.Attr;
    Name = std::move(other.Name);
    ExcludeAttr = other.ExcludeAttr;
    FindHandle = std::exchange(other.FindHandle, INVALID_HANDLE_VALUE);
    FindData = other.FindData;
  }
  return *this;
}

TSearchRec::~TSearchRec() { FindClose(*this); }

int FindFirst(const String& mask, int attr, TSearchRec& rec) {
  FindClose(rec);
  rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  rec.FindHandle = FindFirstFileA(mask.c_str(), &rec.FindData);
  if (rec.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  const int result = FindMatching(rec);
  if (result != 0) FindClose(rec);
  return result;
}

int FindNext(TSearchRec& rec) {
  if (rec.FindHandle == INVALID_HANDLE_VALUE) return ERROR_NO_MORE_FILES;
  if (!FindNextFileA(rec.FindHandle, &rec.FindData)) return static_cast<int>(GetLastError());
  return FindMatching(rec);
}

void FindClose(TSearchRec& rec) {
  if (rec.FindHandle != INVALID_HANDLE_VALUE) ::FindClose(std::exchange(rec.FindHandle, INVALID_HANDLE_VALUE));
}

// ---- Handles --------------------------------------------------------------------------

intptr_t FileOpen(const String& fileName, unsigned mode) {
  static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const unsigned access = mode & 3;
  const unsigned share = (mode & 0xF0) >> 4;
  if (access > 2 || share > 4) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kInvalidFileHandle;
  }
  HANDLE h = CreateFileA(fileName.c_str(), kAccess[access], kShare[share], nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? kInvalidFileHandle : reinterpret_cast<intptr_t>(h);
}

intptr_t FileCreate(const String& fileName) {
  HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? kInvalidFileHandle : reinterpret_cast<intptr_t>(h);
}

int FileRead(intptr_t handle, void* buffer, int count) {
  DWORD done = 0;
  if (count < 0 || !ReadFile(ToHandle(handle), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
  return static_cast<int>(done);
}

int FileWrite(intptr_t handle, const void* buffer, int count) {
  DWORD done = 0;
  if (count < 0 || !WriteFile(ToHandle(handle), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
  return static_cast<int>(done);
}

int64_t FileSeek(intptr_t handle, int64_t offset, int origin) {
  if (origin < 0 || origin > 2) return -1;
  // SetFilePointer rather than its Ex form, which the 98 family lacks.
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(NO_ERROR);
  const DWORD low = SetFilePointer(ToHandle(handle), static_cast<LONG>(offset & 0xFFFFFFFF), &high,
                                   static_cast<DWORD>(origin));
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  return static_cast<int64_t>(static_cast<uint64_t>(static_cast<DWORD>(high)) << 32 | low);
}

void FileClose(intptr_t handle) {
  if (handle != kInvalidFileHandle && handle != 0) CloseHandle(ToHandle(handle));
}
