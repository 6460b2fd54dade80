#include "engine/OutputFile.h"

#include "engine/Debug.h"
#include "engine/SEerrors.h"
#include "engine/ScanEngine.h"

String NumberedName(const String& Name, int Number) {
  if (Number <= 1) return Name;
  const size_t dot = Name.find_last_of('.');
  const String stem = dot == String::npos ? Name : Name.substr(0, dot);
  const String ext = dot == String::npos ? String() : Name.substr(dot);
  return stem + "_" + IntToStr(Number) + ext;
}

HANDLE CreateNewOutputFile(const String& Folder, String& Name, DWORD Access) {
  for (int n = 1; n <= kMaxNameNumber; ++n) {
    const String candidate = NumberedName(Name, n);
    const String path = Folder + candidate;
    const HANDLE file =
        CreateFileA(path.c_str(), Access, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      Name = candidate;
      return file;
    }
    // Only a name that is taken is worth another number; a folder that refuses the
    // file refuses every name.
    const DWORD error = GetLastError();
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      SetLastError(error);
      return INVALID_HANDLE_VALUE;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

void TScanEngine::ReportUnsavedFile(const String& path, DWORD error, uint32_t sector) {
  WriteErrorLog("Unable to save recovered file " + path + " : " + GetWin32ErrorName(static_cast<int32_t>(error)) +
                " (" + IntToStr(static_cast<int64_t>(error)) + ")");
  OnWriteError(static_cast<int32_t>(sector), 2);
}
