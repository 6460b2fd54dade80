#include <winsock2.h>

#include "engine/Utils.h"

#include "engine/InternetSeam.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cpuid.h>
#include <x86intrin.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

#include "framework/core/handles.h"
#include "framework/core/osversion.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"

namespace {

// ---- default answers of the platform ----

void RealPhysicalMemory(uint64_t& total, uint64_t& available) {
  MEMORYSTATUS status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  total = status.dwTotalPhys;
  available = status.dwAvailPhys;
}

// Frees an item list through the shell's allocator.
struct ShellItemList {
  IMalloc* allocator = nullptr;
  LPITEMIDLIST items = nullptr;
  ~ShellItemList() {
    if (items) allocator->Free(items);
    if (allocator) allocator->Release();
  }
};

bool RealShellFolderPath(int csidl, std::string& path) {
  ShellItemList list;
  if (FAILED(SHGetMalloc(&list.allocator)) || !list.allocator) return false;
  char buffer[MAX_PATH + 1] = {};
  if (csidl < 0 || FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list.items)) ||
      !list.items || !SHGetPathFromIDListA(list.items, buffer))
    throw Exception("SHGetPathFromIDList failed : invalid pidl");
  path = buffer;
  return true;
}

// Critical-error boxes ("insert a disk") stay away while a drive is asked about.
class NoCriticalErrorBoxes {
 public:
  NoCriticalErrorBoxes() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~NoCriticalErrorBoxes() { SetErrorMode(previous_); }
  NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
  NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

 private:
  UINT previous_;
};

struct SidFreer {
  void operator()(PSID sid) const { FreeSid(sid); }
};

std::string RootOf(char drive) { return std::string(1, drive) + ":\\"; }

std::string Hex8(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

uint32_t Clamp32(uint64_t value) {
  return static_cast<uint32_t>(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

uint8_t WindowsVersionCodeOf(DWORD Platform, DWORD Major, DWORD Minor,
                             const std::string& CSDVersion) {
  if (Platform == VER_PLATFORM_WIN32_WINDOWS && Major == 4) {
    if (Minor == 0) return 1;
    if (Minor == 10) return CSDVersion.size() > 1 && CSDVersion[1] == 'A' ? 3 : 2;
    if (Minor == 90) return 4;
    return 0;
  }
  if (Platform == VER_PLATFORM_WIN32_NT) {
    if (Major < 5) return 5;
    if (Major == 5 && Minor == 0) return 6;
    if (Major == 5 && Minor == 1) return 7;
  }
  return 0;
}

uint8_t GetWindowsVersionCode() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!VersionSeam().Query(&info)) return 0;
  return WindowsVersionCodeOf(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                              info.szCSDVersion);
}

uint8_t OSCode = GetWindowsVersionCode();

namespace {

bool RealFreeSpace(const std::string& root, uint64_t& freeBytes) {
  if (OSCode == 2 || OSCode == 4) {
    DWORD sectors, bytes, freeClusters, clusters;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters)) return false;
    // The 98 family's query, multiplied in 32 bits as that family does.
    freeBytes = static_cast<uint32_t>(freeClusters * bytes * sectors);
    return true;
  }
  ULARGE_INTEGER available, total, free;
  if (!GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free)) return false;
  freeBytes = free.QuadPart;
  return true;
}

}  // namespace

TSystemSeam TSystemSeam::Win32() {
  return {RealPhysicalMemory,
          [] { return GetSystemMetrics(SM_NETWORK); },
          RealShellFolderPath,
          [] { return static_cast<uint64_t>(__rdtsc()); },
          [](OSVERSIONINFOA& info) {
            info.dwOSVersionInfoSize = sizeof info;
            return VersionSeam().Query(&info) != FALSE;
          },
          [](DWORD ms) { CurrentSeam<TClockSeam>().Sleep(ms); },
          [](HWND owner, const std::string& verb, const std::string& file, int show) {
            ShellExecuteA(owner, verb.c_str(), file.c_str(), nullptr, nullptr, show);
          },
          [](const std::string& command, int show) { return WinExec(command.c_str(), show); },
          RealFreeSpace};
}

// ---- drives and volumes ----

bool GetVolumeInfo(const std::string& Root, TVolumeInfo& Info) {
  Info = {};
  char label[256] = {}, fileSystem[256] = {};
  DWORD serial = 0, maxLength = 0, flags = 0;
  if (!GetVolumeInformationA(Root.c_str(), label, sizeof label, &serial, &maxLength, &flags,
                             fileSystem, sizeof fileSystem))
    return false;
  Info.VolumeLabel = label;
  Info.SerialNumber = serial;
  Info.MaxComponentLength = maxLength;
  static constexpr struct {
    DWORD system;
    TVolumeFlag ours;
  } kFlags[] = {{FS_CASE_IS_PRESERVED, vfCaseIsPreserved},
                {FS_CASE_SENSITIVE, vfCaseSensitive},
                {FS_UNICODE_STORED_ON_DISK, vfUnicodeStoredOnDisk},
                {FS_PERSISTENT_ACLS, vfPersistentAcls},
                {FS_VOL_IS_COMPRESSED, vfVolIsCompressed},
                {FS_FILE_COMPRESSION, vfFileCompression}};
  for (const auto& f : kFlags)
    if (flags & f.system) Info.Flags |= f.ours;
  Info.FileSystemName = fileSystem;
  return true;
}

bool IsAudioCD(char Drive) {
  NoCriticalErrorBoxes quiet;
  const std::string root = RootOf(Drive);
  if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM) return false;
  char label[64] = {};
  if (!GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr,
                             nullptr, 0))
    return false;
  return std::string(label) == "Audio-CD";
}

bool IsDriveReady(char Drive) {
  NoCriticalErrorBoxes quiet;
  const std::string root = RootOf(Drive);
  if (GetWindowsVersionCode() == 2) {
    DWORD sectors, bytes, freeClusters, clusters;
    return GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters) != FALSE;
  }
  ULARGE_INTEGER available, total, free;
  return GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free) != FALSE;
}

bool EnoughFreeBytes(uint64_t FreeBytes, uint32_t Bytes) {
  return Bytes == 0 ? FreeBytes > 1024000 : FreeBytes > Bytes;
}

bool HasEnoughFreeSpace(char Drive, uint32_t Bytes) {
  try {
    NoCriticalErrorBoxes quiet;
    uint64_t freeBytes = 0;
    if (!SystemSeam().FreeSpace(RootOf(Drive), freeBytes)) return false;
    return EnoughFreeBytes(freeBytes, Bytes);
  } catch (...) {
    return false;
  }
}

void GetMediaChangeDrive(const DEV_BROADCAST_VOLUME& Broadcast, std::string& Drive) {
  if (!(Broadcast.dbcv_flags & DBTF_MEDIA)) return;
  const DWORD mask = Broadcast.dbcv_unitmask & ((1u << 26) - 1);
  for (int unit = 25; unit >= 0; --unit) {
    if (mask & (1u << unit)) {
      Drive = std::string(1, static_cast<char>('A' + unit)) + ":";
      return;
    }
  }
}

// ---- folders and files ----

std::string GetWindowsFolder() {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::string(buffer, n) : "";
}

std::string GetSystemFolder() {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::string(buffer, n) : "";
}

std::string GetTempFolder() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathA(MAX_PATH, buffer);
  return n && n < MAX_PATH ? std::string(buffer, n) : "";
}

std::string GetMyDocumentsFolder() {
  const uint8_t code = GetWindowsVersionCode();
  if (code >= 2 && code <= 4) return GetWindowsFolder().substr(0, 2) + "\\My Documents";
  std::string path;
  GetSpecialFolderPath(10, path);
  return path;
}

void GetSpecialFolderPath(int Kind, std::string& Path) {
  // Kind 12 has no shell folder.
  static constexpr int kCsidl[21] = {26, 10, 3,  0,  16, 17, 6, 20, 19, 18, 5,
                                     4,  -1, 23, 2,  8,  9,  11, 7, 21, 24};
  const int csidl = Kind >= 0 && Kind <= 20 ? kCsidl[Kind] : -1;
  std::string path;
  if (SystemSeam().ShellFolderPath(csidl, path)) Path = path;
}

std::string AddTrailingBackslash(const std::string& Path) {
  if (Path.empty() || Path.back() == '\\') return Path;
  return Path + "\\";
}

uint32_t GetFileSizeByName(const std::string& Name) {
  KernelHandle file(CreateFileA(Name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  const DWORD size = GetFileSize(file.get(), nullptr);
  return size == INVALID_FILE_SIZE ? 0 : size;
}

std::string ShellOpenCommand(uint8_t VersionCode, const std::string& Name) {
  // Quoted, so that a name with blanks reaches the shell as one argument.
  const std::string quoted = "\"" + Name + "\"";
  if (VersionCode == 6 || VersionCode == 7)
    return "RUNDLL32 URL.DLL, FileProtocolHandler " + quoted;
  return "explorer " + quoted;
}

int OpenFileInShell(const std::string& Name) {
  // WinExec answers above 31 when the program was started.
  return SystemSeam().RunCommand(ShellOpenCommand(OSCode, Name), SW_SHOWMAXIMIZED) > 31 ? 1 : 0;
}

// ---- system and user ----

std::string GetComputerNameText() {
  char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof buffer;
  return GetComputerNameA(buffer, &size) ? std::string(buffer, size) : "";
}

std::string GetUserNameText() {
  char buffer[254] = {};
  DWORD size = sizeof buffer;
  return GetUserNameA(buffer, &size) ? std::string(buffer) : "";
}

bool IsUserAdmin() {
  if (GetWindowsVersionCode() <= 3) return false;
  HANDLE raw = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &raw)) {
    if (GetLastError() != ERROR_NO_TOKEN ||
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
      return false;
  }
  KernelHandle token(raw);
  // Ask for the size first: a user in many groups needs more than a fixed buffer.
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<uint64_t> storage(size / sizeof(uint64_t) + 1);
  auto* groups = reinterpret_cast<TOKEN_GROUPS*>(storage.data());
  if (!GetTokenInformation(token.get(), TokenGroups, groups, size, &size)) return false;
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID rawSid = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &rawSid))
    return false;
  std::unique_ptr<void, SidFreer> admins(rawSid);
  for (DWORD i = 0; i < groups->GroupCount; ++i)
    if (EqualSid(groups->Groups[i].Sid, admins.get())) return true;
  return false;
}

bool IsNetworkPresent() { return (SystemSeam().NetworkMetric() & 1) != 0; }

void GetPhysicalMemory(uint32_t& Total, uint32_t& Available) {
  uint64_t total = 0, available = 0;
  SystemSeam().PhysicalMemory(total, available);
  // A 64-bit process may see more than 32 bits hold: report the most that fits.
  Total = Clamp32(total);
  Available = Clamp32(available);
}

std::string GetBIOSDate() {
  const uint8_t code = GetWindowsVersionCode();
  if (code < 2 || code > 4) return "";
  // The 98 family maps the first megabyte into every process; elsewhere the address may
  // be unmapped, and ReadProcessMemory fails there instead of faulting.
  char date[8] = {};
  SIZE_T read = 0;
  if (!ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<LPCVOID>(uintptr_t{0xFFFF5}), date,
                         sizeof date, &read) ||
      read != sizeof date)
    return "";
  return std::string(date, sizeof date);
}

void GetRegisteredOwner(std::string& Owner, std::string& Organization) {
  const std::string path = std::string("Software\\Microsoft") +
                           (Win32Platform() == VER_PLATFORM_WIN32_NT ? "\\Windows NT\\" : "\\Windows\\") +
                           "CurrentVersion";
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(path)) return;
    Owner = registry.ReadString("RegisteredOwner");
    Organization = registry.ReadString("RegisteredOrganization");
  } catch (const Exception&) {
    // A value of another type than text: what was read so far stands.
  }
}

std::string GetMACAddress() {
  GUID guid = {};
  if (FAILED(CoCreateGuid(&guid))) return "";
  std::string text;
  char pair[3];
  for (int i = 2; i < 8; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", guid.Data4[i]);
    text += pair;
  }
  return text;
}

double GetCPUSpeed() {
  const HANDLE process = GetCurrentProcess();
  const HANDLE thread = GetCurrentThread();
  const DWORD priorityClass = GetPriorityClass(process);
  const int threadPriority = GetThreadPriority(thread);
  SetPriorityClass(process, REALTIME_PRIORITY_CLASS);
  SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
  const TClockSeam& clock = CurrentSeam<TClockSeam>();
  const TSystemSeam& seam = SystemSeam();
  clock.Sleep(10);
  const uint64_t start = seam.CycleCounter();
  clock.Sleep(500);
  const uint64_t stop = seam.CycleCounter();
  SetThreadPriority(thread, threadPriority);
  SetPriorityClass(process, priorityClass);
  return static_cast<uint32_t>(stop - start) / 500000.0;
}

bool IsCPUIDSupported() {
  // Zero when the identification flag cannot be toggled (no instruction at all).
  return __get_cpuid_max(0, nullptr) != 0;
}

TProcessorInfo ProcessorInfoOf(const uint32_t Leaf0[4], const uint32_t Leaf1[4]) {
  TProcessorInfo info;
  info.EAX = Hex8(Leaf1[0]);
  info.EBX = Hex8(Leaf1[1]);
  info.ECX = Hex8(Leaf1[2]);
  info.EDX = Hex8(Leaf1[3]);
  const uint32_t eax = Leaf1[0];
  info.CPUType = std::to_string((eax >> 12) & 3);
  info.Family = std::to_string((eax >> 8) & 15);
  info.Model = std::to_string((eax >> 4) & 15);
  info.Stepping = std::to_string(eax & 15);
  for (const uint32_t reg : {Leaf0[1], Leaf0[3], Leaf0[2]})
    for (int byte = 0; byte < 4; ++byte) info.Vendor += static_cast<char>((reg >> (8 * byte)) & 0xFF);
  return info;
}

bool GetCPUInfo(TProcessorInfo& Info) {
  if (!IsCPUIDSupported()) return false;
  uint32_t leaf0[4] = {}, leaf1[4] = {};
  __cpuid(0, leaf0[0], leaf0[1], leaf0[2], leaf0[3]);
  __cpuid(1, leaf1[0], leaf1[1], leaf1[2], leaf1[3]);
  Info = ProcessorInfoOf(leaf0, leaf1);
  return true;
}

// ---- network ----

bool IsInternetConnected() {
  DWORD flags = 0;
  return CurrentSeam<TInternetSeam>().GetConnectedState(&flags) != FALSE;
}

bool QueryInternetConnection() { return CurrentSeam<TInternetSeam>().QueryConnectedState(); }

bool CanReachSite(const std::string& url) { return CurrentSeam<TInternetSeam>().CheckConnection(url); }

std::string GetLocalIPAddress() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return "";
  std::string address;
  char name[101] = {};
  if (gethostname(name, 100) == 0) {
    const hostent* host = gethostbyname(name);
    if (host && host->h_addr_list && host->h_addr_list[0] && host->h_length >= 4) {
      const auto* bytes = reinterpret_cast<const uint8_t*>(host->h_addr_list[0]);
      address = std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
                std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
    }
  }
  WSACleanup();
  return address;
}

HANDLE CreateSingleInstanceMutex(const std::string& Name) {
  SetLastError(0);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, Name.c_str());
  if (!mutex) return INVALID_HANDLE_VALUE;
  if (GetLastError() != 0) {
    // Another instance owns the name; our handle to it is of no use.
    CloseHandle(mutex);
    return INVALID_HANDLE_VALUE;
  }
  return mutex;
}

// ---- text conversions ----

void WideToShortText(const wchar_t* Text, uint8_t Count, std::string& Result) {
  Result.clear();
  if (!Text) return;
  for (size_t i = 0; i < Count && i < 255 && Text[i] != L'\0'; ++i)
    Result += static_cast<char>(Text[i] & 0xFF);
}

std::string BytesToText(std::span<const uint8_t> Bytes) {
  std::string text;
  for (const uint8_t b : Bytes) text += std::to_string(b) + ",";
  text += " (";
  for (const uint8_t b : Bytes) text += static_cast<char>(b);
  return text + ")";
}
