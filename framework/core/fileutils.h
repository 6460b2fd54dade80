// File names, files, folders and folder searches over the ANSI file functions.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/core/datetime.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"

// ---- Names ----------------------------------------------------------------------------

// Up to and including the last '\' or ':'.
String ExtractFilePath(const String& fileName);
// After the last '\' or ':'.
String ExtractFileName(const String& fileName);
// From the last '.' after the last '\' or ':', dot included; empty when there is none.
String ExtractFileExt(const String& fileName);
// "C:" or "\\server\share"; empty for a relative name.
String ExtractFileDrive(const String& fileName);
String ChangeFileExt(const String& fileName, const String& extension);
String ExpandFileName(const String& fileName);
String IncludeTrailingBackslash(const String& path);
String ExcludeTrailingBackslash(const String& path);
// CON, PRN, AUX, NUL, COM1-COM9 or LPT1-LPT9, in any case: Windows opens the device
// for such a name whatever extension, blanks or dots follow it.
bool IsDeviceName(const String& name);
// A name for a file inside a given folder: not empty or ".", no separator, drive,
// wildcard or "..", and no device.
bool IsNameInFolder(const String& name);

// ---- Files and folders ----------------------------------------------------------------

bool FileExists(const String& fileName);  // a folder is no file
bool DirectoryExists(const String& path);
// Never replaces an existing file: fails when newName exists.
bool RenameFile(const String& oldName, const String& newName);
// windows.h maps DeleteFile to DeleteFileA for every file that includes this header, so the
// String overload sits beside the system's own.
bool DeleteFile(const String& fileName);
bool CreateDir(const String& path);
bool RemoveDir(const String& path);
// Creates every missing folder of the path; false when one cannot be made.
bool ForceDirectories(const String& path);
String GetCurrentDir();
int FileSetAttr(const String& fileName, int attr);  // 0 or the system's error code
int FileGetAttr(const String& fileName);            // -1 when absent
// Last write time as a local DOS date and time, -1 when there is no such file.
int FileAge(const String& fileName);
// Last write time as a local TDateTime, 0 when there is no such file.
TDateTime FileDateTime(const String& fileName);

// ---- Searches -------------------------------------------------------------------------

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

// One found entry. Owns its search: FindClose ends it early, destruction ends it anyway.
struct TSearchRec {
  TSearchRec() = default;
  TSearchRec(const TSearchRec&) = delete;
  TSearchRec& operator=(const TSearchRec&) = delete;
  TSearchRec(TSearchRec&& other) noexcept;
  TSearchRec& operator=(TSearchRec&& other) noexcept;
  ~TSearchRec();

  int Time = 0;  // local DOS date and time
  int64_t Size = 0;
  int Attr = 0;
  String Name;
  int ExcludeAttr = 0;
  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA FindData = {};
};

// 0 on success or the system's error code (ERROR_FILE_NOT_FOUND, ERROR_NO_MORE_FILES...).
// Hidden, system and folder entries are skipped unless `attr` asks for them; "." and ".."
// come back when folders are asked for. Entries come in the system's order.
int FindFirst(const String& mask, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// ---- Handles --------------------------------------------------------------------------

// The fm* access and share modes are TFileStream's (streams.h): fmOpenRead 0, fmOpenWrite 1,
// fmOpenReadWrite 2, combined with fmShareExclusive 0x10, fmShareDenyWrite 0x20,
// fmShareDenyRead 0x30 or fmShareDenyNone 0x40. Without a share mode the file is not shared.

// A file handle as an integer; -1 is none. GetLastError() tells why a call failed.
constexpr intptr_t kInvalidFileHandle = -1;
intptr_t FileOpen(const String& fileName, unsigned mode);
intptr_t FileCreate(const String& fileName);  // created or truncated, not shared
int FileRead(intptr_t handle, void* buffer, int count);         // bytes read or -1
int FileWrite(intptr_t handle, const void* buffer, int count);  // bytes written or -1
int64_t FileSeek(intptr_t handle, int64_t offset, int origin);  // new position or -1
void FileClose(intptr_t handle);
