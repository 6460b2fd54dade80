#include "app/NewFolder.h"

#include <windows.h>

#include "framework/core/fileutils.h"

String CreateNewFolder(const String& Parent) {
  const String base = ExcludeTrailingBackslash(Parent) + "\\";
  // Only a name already taken is worth another try; any other failure would
  // fail the same way for every name.
  for (int n = 0; n < 100000; ++n) {
    const String name = n == 0 ? String("New Folder") : "New Folder" + IntToStr(n);
    if (CreateDirectoryA((base + name).c_str(), nullptr)) return name;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
  }
  return String();
}

String RenamedFolderPath(const String& FolderPath, const String& NewName) {
  return ExtractFilePath(ExcludeTrailingBackslash(FolderPath)) + NewName;
}
