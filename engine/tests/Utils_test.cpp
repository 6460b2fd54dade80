#include "engine/Utils.h"
#include "engine/InternetSeam.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "framework/core/sysutils.h"

namespace {

// ---- seams ----

// Runs a test against a chosen Windows version.
class WithVersion {
 public:
  WithVersion(DWORD platform, DWORD major, DWORD minor, std::string csd = "")
      : seam_({.Query = [=](OSVERSIONINFOA* info) {
          info->dwPlatformId = platform;
          info->dwMajorVersion = major;
          info->dwMinorVersion = minor;
          std::strncpy(info->szCSDVersion, csd.c_str(), sizeof info->szCSDVersion - 1);
          return TRUE;
        }}) {}

 private:
  ScopedSeam<TVersionSeam> seam_;
};

constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS;
constexpr DWORD kNT = VER_PLATFORM_WIN32_NT;

TEST(WindowsVersionCode, FollowsTheTable) {
  const struct {
    DWORD platform, major, minor;
    const char* csd;
    uint8_t code;
  } cases[] = {
      {k9x, 4, 0, "", 1},      {k9x, 4, 10, "", 2},      {k9x, 4, 10, " A", 3},
      {k9x, 4, 10, "A", 2},    {k9x, 4, 10, " B", 2},    {k9x, 4, 90, "", 4},
      {k9x, 4, 3, "", 0},      {kNT, 3, 51, "", 5},      {kNT, 4, 0, "", 5},
      {kNT, 5, 0, "", 6},      {kNT, 5, 1, "", 7},       {kNT, 5, 2, "", 0},
      {kNT, 6, 0, "", 0},      {kNT, 10, 0, "", 0},      {0, 4, 0, "", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WindowsVersionCodeOf(c.platform, c.major, c.minor, c.csd), c.code)
        << c.platform << " " << c.major << "." << c.minor << " '" << c.csd << "'";
    WithVersion version(c.platform, c.major, c.minor, c.csd);
    EXPECT_EQ(GetWindowsVersionCode(), c.code);
  }
}

TEST(WindowsVersionCode, FailedQueryGivesZero) {
  ScopedSeam<TVersionSeam> seam({.Query = [](OSVERSIONINFOA*) { return FALSE; }});
  EXPECT_EQ(GetWindowsVersionCode(), 0);
}

// ---- free space and drives ----

TEST(HasEnoughFreeSpace, NeedsMoreThanTheAskedBytes) {
  const struct {
    uint64_t free;
    uint32_t bytes;
    bool enough;
  } cases[] = {
      {1024000, 0, false}, {1024001, 0, true}, {0, 0, false},        {5000, 5000, false},
      {5001, 5000, true},  {4999, 5000, false}, {1ull << 40, 0, true}, {0, 1, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EnoughFreeBytes(c.free, c.bytes), c.enough) << c.free << " vs " << c.bytes;
}

TEST(HasEnoughFreeSpace, AMissingDriveHasNone) {
  // No drive letter Q: is mapped in the test prefix.
  EXPECT_FALSE(HasEnoughFreeSpace('Q', 0));
  EXPECT_FALSE(IsDriveReady('Q'));
  EXPECT_FALSE(IsAudioCD('Q'));
  TVolumeInfo info;
  info.VolumeLabel = "old";
  info.SerialNumber = 7;
  EXPECT_FALSE(GetVolumeInfo("Q:\\", info));
  EXPECT_EQ(info.VolumeLabel, "");
  EXPECT_EQ(info.SerialNumber, 0u);
  EXPECT_EQ(info.Flags, 0);
}

TEST(HasEnoughFreeSpace, TheSystemDriveAnswers) {
  const char drive = GetWindowsFolder().at(0);
  EXPECT_TRUE(IsDriveReady(drive));
  TVolumeInfo info;
  EXPECT_TRUE(GetVolumeInfo(std::string(1, drive) + ":\\", info));
  EXPECT_FALSE(info.FileSystemName.empty());
}

TEST(MediaChangeDrive, TakesTheHighestUnitOfAMediaChange) {
  DEV_BROADCAST_VOLUME broadcast = {};
  broadcast.dbcv_size = sizeof broadcast;
  broadcast.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  broadcast.dbcv_unitmask = (1u << 4) | (1u << 6);
  broadcast.dbcv_flags = DBTF_MEDIA;
  std::string drive = "unchanged";
  GetMediaChangeDrive(broadcast, drive);
  EXPECT_EQ(drive, "G:");

  // A device arrival (no media flag) leaves the drive as it was.
  broadcast.dbcv_flags = 0;
  drive = "unchanged";
  GetMediaChangeDrive(broadcast, drive);
  EXPECT_EQ(drive, "unchanged");

  // Bits above Z are not drives.
  broadcast.dbcv_flags = DBTF_MEDIA;
  broadcast.dbcv_unitmask = (1u << 30) | 1u;
  GetMediaChangeDrive(broadcast, drive);
  EXPECT_EQ(drive, "A:");
}

// ---- folders and files ----

TEST(Folders, AddTrailingBackslash) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"C:\\DATA\\", "C:\\DATA\\"}, {"C:\\DATA", "C:\\DATA\\"}, {"", ""}, {"C:", "C:\\"}};
  for (const auto& c : cases) EXPECT_EQ(AddTrailingBackslash(c.in), c.out) << c.in;
}

TEST(Folders, SystemFoldersHaveTheirUsualShape) {
  EXPECT_FALSE(GetWindowsFolder().empty());
  EXPECT_NE(GetWindowsFolder().back(), '\\');
  EXPECT_NE(GetSystemFolder().back(), '\\');
  EXPECT_EQ(GetTempFolder().back(), '\\');
}

TEST(Folders, DocumentsOfThe98FamilyAreOnTheWindowsDrive) {
  WithVersion version(k9x, 4, 10, " A");
  EXPECT_EQ(GetMyDocumentsFolder(), GetWindowsFolder().substr(0, 2) + "\\My Documents");
}

TEST(Folders, DocumentsElsewhereComeFromTheShell) {
  WithVersion version(kNT, 5, 1);
  int askedFor = 0;
  ScopedSeam<TSystemSeam> seam({.ShellFolderPath = [&](int csidl, std::string& path) {
    askedFor = csidl;
    path = "D:\\Users\\Ann\\Documents";
    return true;
  }});
  EXPECT_EQ(GetMyDocumentsFolder(), "D:\\Users\\Ann\\Documents");
  EXPECT_EQ(askedFor, 5);  // CSIDL_PERSONAL
}

TEST(Folders, SpecialFolderKindsMapToShellFolders) {
  ScopedSeam<TSystemSeam> seam({.ShellFolderPath = [](int csidl, std::string& path) {
    if (csidl < 0) throw Exception("SHGetPathFromIDList failed : invalid pidl");
    path = std::to_string(csidl);
    return true;
  }});
  const int expected[21] = {26, 10, 3, 0, 16, 17, 6, 20, 19, 18, 5, 4, -1, 23, 2, 8, 9, 11, 7, 21, 24};
  for (int kind = 0; kind <= 20; ++kind) {
    std::string path = "before";
    if (expected[kind] < 0) {
      EXPECT_THROW(GetSpecialFolderPath(kind, path), Exception);
      EXPECT_EQ(path, "before");
    } else {
      GetSpecialFolderPath(kind, path);
      EXPECT_EQ(path, std::to_string(expected[kind])) << kind;
    }
  }
}

TEST(Folders, NoShellAllocatorLeavesThePath) {
  ScopedSeam<TSystemSeam> seam({.ShellFolderPath = [](int, std::string&) { return false; }});
  std::string path = "before";
  GetSpecialFolderPath(1, path);
  EXPECT_EQ(path, "before");
}

TEST(Folders, TheRealShellFindsTheDocumentsFolder) {
  std::string path;
  GetSpecialFolderPath(10, path);
  EXPECT_FALSE(path.empty());
}

TEST(Files, SizeByNameReadsTheLow32Bits) {
  const std::string name = GetTempFolder() + "kv_utils_size.bin";
  {
    HANDLE f = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, "0123456789", 10, &written, nullptr);
    CloseHandle(f);
  }
  EXPECT_EQ(GetFileSizeByName(name), 10u);
  DeleteFileA(name.c_str());
  EXPECT_EQ(GetFileSizeByName(name), 0u);
}

TEST(Shell, TheNameIsQuotedForBothFamilies) {
  const struct {
    uint8_t code;
    const char* command;
  } cases[] = {
      {7, "RUNDLL32 URL.DLL, FileProtocolHandler \"C:\\My Photos\\KV12.jpg\""},
      {6, "RUNDLL32 URL.DLL, FileProtocolHandler \"C:\\My Photos\\KV12.jpg\""},
      {2, "explorer \"C:\\My Photos\\KV12.jpg\""},
      {0, "explorer \"C:\\My Photos\\KV12.jpg\""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShellOpenCommand(c.code, "C:\\My Photos\\KV12.jpg"), c.command);
}

TEST(Shell, OpeningAFileTellsWhetherTheShellStarted) {
  for (const unsigned answer : {32u, 31u, 2u}) {
    std::string command;
    ScopedSeam<TSystemSeam> shell{{.RunCommand = [&](const std::string& c, int show) {
      EXPECT_EQ(show, SW_SHOWMAXIMIZED);
      command = c;
      return answer;
    }}};
    EXPECT_EQ(OpenFileInShell("C:\\My Photos\\KV12.jpg"), answer > 31 ? 1 : 0) << answer;
    EXPECT_EQ(command, ShellOpenCommand(OSCode, "C:\\My Photos\\KV12.jpg"));
  }
}

// ---- system and user ----

TEST(System, AdministratorsOnlyFrom2000On) {
  for (const auto& v : {std::tuple{k9x, 4, 10}, std::tuple{k9x, 4, 0}, std::tuple{kNT, 6, 0},
                        std::tuple{kNT, 10, 0}}) {
    WithVersion version(std::get<0>(v), std::get<1>(v), std::get<2>(v));
    EXPECT_FALSE(IsUserAdmin());
  }
  WithVersion xp(kNT, 5, 1);
  IsUserAdmin();  // asks the real token; the answer depends on the account
}

TEST(System, NetworkIsBitZeroOfTheMetric) {
  for (const auto& [metric, present] : {std::pair{0, false}, std::pair{1, true},
                                        std::pair{2, false}, std::pair{3, true}}) {
    ScopedSeam<TSystemSeam> seam({.NetworkMetric = [metric = metric] { return metric; }});
    EXPECT_EQ(IsNetworkPresent(), present) << metric;
  }
}

TEST(System, PhysicalMemoryBeyond32BitsIsCapped) {
  uint64_t total = 0, available = 0;
  ScopedSeam<TSystemSeam> seam(
      {.PhysicalMemory = [&](uint64_t& t, uint64_t& a) { t = total, a = available; }});
  uint32_t t = 0, a = 0;
  total = 3221225472ull, available = 1000;
  GetPhysicalMemory(t, a);
  EXPECT_EQ(t, 3221225472u);
  EXPECT_EQ(a, 1000u);
  total = 16ull << 30, available = 8ull << 30;
  GetPhysicalMemory(t, a);
  EXPECT_EQ(t, 0xFFFFFFFFu);
  EXPECT_EQ(a, 0xFFFFFFFFu);
}

TEST(System, BIOSDateIsReadOnlyWhereSafe) {
  {
    WithVersion xp(kNT, 5, 1);
    EXPECT_EQ(GetBIOSDate(), "");
  }
  // Here the address is not the BIOS: the read must fail quietly or give eight bytes.
  WithVersion me(k9x, 4, 90);
  const std::string date = GetBIOSDate();
  EXPECT_TRUE(date.empty() || date.size() == 8u);
}

TEST(System, MACAddressIsTwelveUpperCaseHexDigits) {
  const std::string mac = GetMACAddress();
  ASSERT_EQ(mac.size(), 12u);
  EXPECT_EQ(mac.find_first_not_of("0123456789ABCDEF"), std::string::npos) << mac;
}

TEST(System, NamesAreAnswered) {
  EXPECT_FALSE(GetComputerNameText().empty());
  EXPECT_FALSE(GetUserNameText().empty());
  std::string owner = "x", organization = "y";
  GetRegisteredOwner(owner, organization);  // values differ between machines
}

// ---- processor ----

TEST(Processor, SpeedIsTheCounterOverHalfASecond) {
  std::vector<uint64_t> readings;
  std::vector<DWORD> sleeps;
  size_t next = 0;
  ScopedSeam<TClockSeam> clock({.Sleep = [&](DWORD ms) { sleeps.push_back(ms); }});
  ScopedSeam<TSystemSeam> counter({.CycleCounter = [&] { return readings.at(next++); }});
  const DWORD priorityClass = GetPriorityClass(GetCurrentProcess());
  const int threadPriority = GetThreadPriority(GetCurrentThread());

  readings = {1000, 1000 + 1200000000ull};
  EXPECT_DOUBLE_EQ(GetCPUSpeed(), 2400.0);
  EXPECT_EQ(sleeps, (std::vector<DWORD>{10, 500}));

  // Only the low 32 bits of the difference count.
  readings = {0, (1ull << 32) + 500000};
  next = 0;
  EXPECT_DOUBLE_EQ(GetCPUSpeed(), 1.0);

  // The priorities are restored afterwards.
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), priorityClass);
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), threadPriority);
}

TEST(Processor, IdentificationFieldsComeFromTheLeaves) {
  // "GenuineIntel": EBX "Genu", EDX "ineI", ECX "ntel".
  const uint32_t leaf0[4] = {0x16, 0x756E6547, 0x6C65746E, 0x49656E69};
  const uint32_t leaf1[4] = {0x000306C3, 0x00100800, 0x7FFAFBFF, 0xBFEBFBFF};
  const TProcessorInfo info = ProcessorInfoOf(leaf0, leaf1);
  EXPECT_EQ(info.Vendor, "GenuineIntel");
  EXPECT_EQ(info.EAX, "000306C3");
  EXPECT_EQ(info.EBX, "00100800");
  EXPECT_EQ(info.ECX, "7FFAFBFF");
  EXPECT_EQ(info.EDX, "BFEBFBFF");
  EXPECT_EQ(info.CPUType, "0");
  EXPECT_EQ(info.Family, "6");
  EXPECT_EQ(info.Model, "12");
  EXPECT_EQ(info.Stepping, "3");

  const uint32_t typed[4] = {0x00003F21, 0, 0, 0};
  EXPECT_EQ(ProcessorInfoOf(leaf0, typed).CPUType, "3");

  TProcessorInfo real;
  ASSERT_TRUE(GetCPUInfo(real));
  EXPECT_EQ(real.Vendor.size(), 12u);
}

// ---- single instance ----

TEST(SingleInstance, ASecondMutexOfTheSameNameIsRefused) {
  const std::string name = "KorvaloUtilsTest" + std::to_string(GetCurrentProcessId());
  HANDLE first = CreateSingleInstanceMutex(name);
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(CreateSingleInstanceMutex(name), INVALID_HANDLE_VALUE);
  CloseHandle(first);
  HANDLE again = CreateSingleInstanceMutex(name);
  EXPECT_NE(again, INVALID_HANDLE_VALUE);
  CloseHandle(again);
}

// ---- text conversions ----

TEST(Texts, WideToShortTextStopsAtTerminatorCountOr255) {
  std::string result = "old";
  WideToShortText(L"Caf\u00E9\u4E2D!", 10, result);
  EXPECT_EQ(result, std::string("Caf\xE9\x2D!"));  // low bytes only
  WideToShortText(L"ABCDEF", 3, result);
  EXPECT_EQ(result, "ABC");
  const std::wstring longText(300, L'x');
  WideToShortText(longText.c_str(), 255, result);
  EXPECT_EQ(result.size(), 255u);
  WideToShortText(nullptr, 5, result);
  EXPECT_EQ(result, "");
}

TEST(Texts, BytesToTextListsNumbersThenCharacters) {
  const uint8_t abc[] = {65, 66, 67};
  EXPECT_EQ(BytesToText(abc), "65,66,67, (ABC)");
  EXPECT_EQ(BytesToText({}), " ()");
}

}  // namespace

namespace {

TEST(Network, ConnectionQueriesGoThroughTheSeam) {
  struct Row {
    bool connected, queried, reachable;
  } rows[] = {{false, false, false}, {true, false, true}, {true, true, false}};
  for (const Row& r : rows) {
    std::string asked;
    ScopedSeam<TInternetSeam> seam({.GetConnectedState = [&](DWORD* flags) -> BOOL {
                                      *flags = 0;
                                      return r.connected;
                                    },
                                    .QueryConnectedState = [&] { return r.queried; },
                                    .CheckConnection =
                                        [&](const std::string& url) {
                                          asked = url;
                                          return r.reachable;
                                        }});
    EXPECT_EQ(IsInternetConnected(), r.connected);
    EXPECT_EQ(QueryInternetConnection(), r.queried);
    EXPECT_EQ(CanReachSite("http://127.0.0.1/updates/"), r.reachable);
    EXPECT_EQ(asked, "http://127.0.0.1/updates/");
  }
  ScopedSeam<TInternetSeam> missing({.QueryConnectedState = []() -> bool {
    throw Exception("Unable to locate function InternetGetConnectedState in library wininet.DLL");
  }});
  EXPECT_THROW(QueryInternetConnection(), Exception) << "a missing library raises, for the command to log";
}

TEST(Network, QueriesAnswerWithoutRaising) {
  IsInternetConnected();
  EXPECT_NO_THROW(QueryInternetConnection());
  const std::string address = GetLocalIPAddress();
  if (!address.empty()) {
    EXPECT_EQ(std::count(address.begin(), address.end(), '.'), 3) << address;
  }
}

}  // namespace
