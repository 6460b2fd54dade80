#include "engine/OutputFolder.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "engine/Debug.h"
#include "engine/PassFolders.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "engine/intDorvane.h"
#include "framework/core/formatsettings.h"
#include "framework/core/handles.h"
#include "framework/core/registry.h"

namespace {

constexpr const char* kRegistryKey = "Software\\Brellin\\Korvalo 3";

void PassToLibrary(const String& folder) {
  if (intDorvane::SetDestinationDIR) intDorvane::SetDestinationDIR(folder.c_str());
}

String ProgramFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

String TwoDecimals(double value, const char* unit) {
  String text = Format("%.2f", value);
  const char separator = FormatSettings().DecimalSeparator;
  for (char& c : text)
    if (c == '.') c = separator;
  return text + unit;
}

}  // namespace

String FormatSize(uint64_t Bytes) {
  try {
    if (Bytes == 0) return "0k";
    if (Bytes < 1024) return TwoDecimals(Bytes, " bytes");
    if (Bytes < 1048576) return TwoDecimals(Bytes / 1024.0, " KB");
    if (Bytes < 1073741824) return TwoDecimals(Bytes / 1048576.0, " MB");
    return TwoDecimals(Bytes / 1073741824.0, " GB");
  } catch (...) {
    return "";
  }
}

void ReadFileVersion(const String& FileName, uint32_t& Major, uint32_t& Minor, uint32_t& Release, uint32_t& Build) {
  Major = Minor = Release = Build = 0;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(FileName.c_str(), &ignored);
  if (size == 0) return;
  std::vector<uint8_t> buffer(size);
  if (!GetFileVersionInfoA(FileName.c_str(), 0, size, buffer.data())) return;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(buffer.data(), "\\", reinterpret_cast<LPVOID*>(&info), &length) || !info || length < sizeof *info) return;
  Major = HIWORD(info->dwFileVersionMS);
  Minor = LOWORD(info->dwFileVersionMS);
  Release = HIWORD(info->dwFileVersionLS);
  Build = LOWORD(info->dwFileVersionLS);
}

void TScanEngine::Initialize() {
  LoadSupportedFileTypes();
  ReadOwnVersion();
}

void TScanEngine::ReadOwnVersion() { ReadFileVersion(ProgramFileName(), MajorVersion, MinorVersion, Release, Build); }

void TScanEngine::SetDestinationFolder(const String& Folder) {
  DestinationFolder = AddTrailingBackslash(Folder.empty() ? ProgramFolder : Folder);
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (registry.OpenKey(kRegistryKey, true)) {
      registry.WriteString("RecoveryFolder", DestinationFolder);
      registry.CloseKey();
    }
  } catch (const std::exception& e) {
    WriteErrorLog(String("Exception in SetDestinationFolder : ") + e.what());
  }
  PassToLibrary(DestinationFolder);
}

String TScanEngine::GetDestinationFolder() {
  if (!DestinationFolder.empty()) return DestinationFolder;
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (registry.OpenKey(kRegistryKey, true)) {
      DestinationFolder = registry.ValueExists("RecoveryFolder") ? registry.ReadString("RecoveryFolder") : "";
      registry.CloseKey();
    }
  } catch (const std::exception& e) {
    WriteErrorLog(String("Exception in GetDestinationFolder : ") + e.what());
    DestinationFolder = ProgramFolder;
  }
  const String folder = DestinationFolder.empty() ? String() : AddTrailingBackslash(DestinationFolder);
  PassToLibrary(folder);
  return folder;
}

uint32_t TScanEngine::CountRecoveredFiles() {
  uint32_t count = 0;
  const String root = GetDestinationFolder();
  for (const char* sub : kPassFolders) {
    WIN32_FIND_DATAA found{};
    const FindHandle search(FindFirstFileA((root + sub + "*.*").c_str(), &found));
    if (!search.valid()) continue;
    do {
      const String name = found.cFileName;
      if (name == "." || name == ".." || SameText(name, "THUMBS.DB")) continue;
      ++count;
    } while (FindNextFileA(search.get(), &found));
  }
  return count;
}
