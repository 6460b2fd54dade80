// Small routines over the operating system shared by the engine, the system report and
// the application: the Windows version code, drives and volumes, folders, free space,
// the shell, the single-instance mutex, the network and a few text conversions.
#pragma once

#include <windows.h>
#include <dbt.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "framework/core/seams.h"

// 1 Windows 95, 2 Windows 98, 3 Windows 98 SE, 4 Windows ME, 5 NT 4 or older,
// 6 Windows 2000, 7 Windows XP, 0 anything else (or the query failed).
uint8_t GetWindowsVersionCode();
uint8_t WindowsVersionCodeOf(DWORD Platform, DWORD Major, DWORD Minor, const std::string& CSDVersion);

// The version code taken when the program started; the shell and free-space routines use it.
extern uint8_t OSCode;

// Answers of the platform that differ between machines, besides the Windows version
// (TVersionSeam) and the sleeper (TClockSeam). Tests replace them with
// ScopedSeam<TSystemSeam>; the defaults ask Windows.
struct TSystemSeam {
  std::function<void(uint64_t& Total, uint64_t& Available)> PhysicalMemory;
  std::function<int()> NetworkMetric;  // GetSystemMetrics(SM_NETWORK)
  // False when the shell's allocator is not to be had; raises when the path cannot be made.
  std::function<bool(int Csidl, std::string& Path)> ShellFolderPath;
  std::function<uint64_t()> CycleCounter;  // the processor's time-stamp counter
  // By default these two pass on to TVersionSeam and TClockSeam, which tests replace.
  std::function<bool(OSVERSIONINFOA& Info)> GetVersion;
  std::function<void(DWORD Milliseconds)> Sleep;
  // ShellExecuteA of File with Verb, owned by Owner, shown with the show command Show.
  std::function<void(HWND Owner, const std::string& Verb, const std::string& File, int Show)> RunShellVerb;
  // WinExec of a command line; its answer (above 31 when the program was started).
  std::function<unsigned(const std::string& Command, int Show)> RunCommand;
  // The free bytes of the drive of Root ("X:\\"); false when the query fails.
  std::function<bool(const std::string& Root, uint64_t& FreeBytes)> FreeSpace;

  static TSystemSeam Win32();
  void FillFrom(const TSystemSeam& p) {
    seam_detail::Fill(PhysicalMemory, p.PhysicalMemory);
    seam_detail::Fill(NetworkMetric, p.NetworkMetric);
    seam_detail::Fill(ShellFolderPath, p.ShellFolderPath);
    seam_detail::Fill(CycleCounter, p.CycleCounter);
    seam_detail::Fill(GetVersion, p.GetVersion);
    seam_detail::Fill(Sleep, p.Sleep);
    seam_detail::Fill(RunShellVerb, p.RunShellVerb);
    seam_detail::Fill(RunCommand, p.RunCommand);
    seam_detail::Fill(FreeSpace, p.FreeSpace);
  }
};

inline TSystemSeam& SystemSeam() { return CurrentSeam<TSystemSeam>(); }

// Volumes and drives. A drive is given by its letter.
enum TVolumeFlag : uint8_t {
  vfCaseIsPreserved = 1 << 0,
  vfCaseSensitive = 1 << 1,
  vfUnicodeStoredOnDisk = 1 << 2,
  vfPersistentAcls = 1 << 3,
  vfVolIsCompressed = 1 << 4,
  vfFileCompression = 1 << 5,
};

struct TVolumeInfo {
  std::string VolumeLabel;
  uint32_t SerialNumber = 0;
  uint32_t MaxComponentLength = 0;
  uint8_t Flags = 0;  // TVolumeFlag bits
  std::string FileSystemName;
};

bool GetVolumeInfo(const std::string& Root, TVolumeInfo& Info);
bool IsAudioCD(char Drive);
bool IsDriveReady(char Drive);
bool HasEnoughFreeSpace(char Drive, uint32_t Bytes);
// The rule of HasEnoughFreeSpace: 0 asks for more than 1,024,000 bytes, any other
// number for more than itself.
bool EnoughFreeBytes(uint64_t FreeBytes, uint32_t Bytes);
void GetMediaChangeDrive(const DEV_BROADCAST_VOLUME& Broadcast, std::string& Drive);

// Folders and files.
std::string GetWindowsFolder();
std::string GetSystemFolder();
std::string GetTempFolder();
std::string GetMyDocumentsFolder();
void GetSpecialFolderPath(int Kind, std::string& Path);
std::string AddTrailingBackslash(const std::string& Path);
uint32_t GetFileSizeByName(const std::string& Name);
// 1 when the shell was started, 0 when it was not.
int OpenFileInShell(const std::string& Name);
std::string ShellOpenCommand(uint8_t VersionCode, const std::string& Name);

// System and user.
std::string GetComputerNameText();
std::string GetUserNameText();
bool IsUserAdmin();
bool IsNetworkPresent();
void GetPhysicalMemory(uint32_t& Total, uint32_t& Available);
std::string GetBIOSDate();
void GetRegisteredOwner(std::string& Owner, std::string& Organization);
std::string GetMACAddress();
double GetCPUSpeed();

struct TProcessorInfo {
  std::string EAX, EBX, ECX, EDX;  // leaf 1, eight upper-case hex digits each
  std::string CPUType, Family, Model, Stepping;
  std::string Vendor;
};

bool IsCPUIDSupported();
bool GetCPUInfo(TProcessorInfo& Info);
// The identification fields as GetCPUInfo derives them from the two leaves' registers.
TProcessorInfo ProcessorInfoOf(const uint32_t Leaf0[4], const uint32_t Leaf1[4]);

// Network.
bool IsInternetConnected();
bool QueryInternetConnection();
// The site answers a forced connection (the update command asks it of its site).
bool CanReachSite(const std::string& url);
std::string GetLocalIPAddress();

// The mutex handle, or INVALID_HANDLE_VALUE (-1) when another instance holds the name.
HANDLE CreateSingleInstanceMutex(const std::string& Name);

// Text conversions.
void WideToShortText(const wchar_t* Text, uint8_t Count, std::string& Result);
std::string BytesToText(std::span<const uint8_t> Bytes);
