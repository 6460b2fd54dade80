#include "engine/SystemInformation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/Debug.h"
#include "framework/core/formatsettings.h"
#include "framework/core/osversion.h"
#include "framework/core/seams.h"

namespace {

class SystemReport : public ::testing::Test {
 protected:
  void TearDown() override { DebugMode = false; }

  DWORD major_ = 5, minor_ = 1;
  uint64_t counter_ = 0;
  ScopedSeam<TVersionSeam> version_{{.Query = [this](OSVERSIONINFOA* info) {
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->dwMajorVersion = major_;
    info->dwMinorVersion = minor_;
    return TRUE;
  }}};
  ScopedSeam<TSystemSeam> machine_{{
      .PhysicalMemory =
          [](uint64_t& total, uint64_t& available) {
            total = 3221225472ull;
            available = 1073741824ull;
          },
      // 733,250,000 counts between the two readings: 1466.5 MHz.
      .CycleCounter = [this] { return counter_ += 733250000ull; },
  }};
  ScopedSeam<TClockSeam> clock_{{.Sleep = [](DWORD) {}}};
  ScopedFormatSettings format_{TFormatSettings{}};
};

TEST_F(SystemReport, WithoutDebugEveryFieldButTheVersionIsFilled) {
  DebugMode = false;
  TSESystemInformation info;
  EXPECT_EQ(info.VersionCode, 0);
  EXPECT_DOUBLE_EQ(info.CPUSpeed, 1466.5);
  EXPECT_EQ(info.TotalPhysicalMemory, 3221225472u);
  EXPECT_EQ(info.AvailablePhysicalMemory, 1073741824u);
  EXPECT_FALSE(info.ComputerName.empty());
  EXPECT_FALSE(info.WindowsFolder.empty());
  EXPECT_FALSE(info.SystemFolder.empty());
  EXPECT_FALSE(info.TempFolder.empty());
  EXPECT_EQ(info.MACAddress.size(), 12u);
  EXPECT_FALSE(info.UserName.empty());
  EXPECT_EQ(info.CPUInfo.Vendor.size(), 12u);
}

TEST_F(SystemReport, LinesAreLabelledAndInOrder) {
  DebugMode = true;
  TSESystemInformation info;
  EXPECT_EQ(info.VersionCode, 7);
  const auto lines = info.ReportLines();
  ASSERT_EQ(lines.size(), 15u);
  const char* labels[] = {"Platform      : ", "Computer Name : ", "CPUSpeed      : ",
                          "Windows Dir   : ", "System Dir    : ", "Temp Dir      : ",
                          "Is Admin      : ", "MAC Address   : ", "Network Conn  : ",
                          "Memory Avail  : ", "Memory Phys   : ", "BIOS Date     : ",
                          "Owner         : ", "Regstrd Name  : ", "Processor     : CPU Type="};
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i].rfind(labels[i], 0), 0u) << lines[i];
  EXPECT_EQ(lines[0], "Platform      : Windows XP");
  EXPECT_EQ(lines[2], "CPUSpeed      : 1466.5");
  EXPECT_EQ(lines[3], "Windows Dir   : " + info.WindowsFolder);
  EXPECT_EQ(lines[6], "Is Admin      : " + BoolToYesNo(info.IsAdmin));
  EXPECT_EQ(lines[9], "Memory Avail  : 1073741824");
  EXPECT_EQ(lines[10], "Memory Phys   : 3221225472");
  const TProcessorInfo& cpu = info.CPUInfo;
  EXPECT_EQ(lines[14], "Processor     : CPU Type=" + cpu.CPUType + " Family=" + cpu.Family +
                           " Model=" + cpu.Model + " Stepping=" + cpu.Stepping +
                           " Vendor=" + cpu.Vendor + " IDs=" + cpu.EAX + "," + cpu.EBX + "," +
                           cpu.ECX + "," + cpu.EDX);
}

TEST_F(SystemReport, PlatformNames) {
  const struct {
    DWORD major, minor;
    const char* line;
  } cases[] = {{5, 0, "Platform      : Windows 2000"},
               {5, 1, "Platform      : Windows XP"},
               {5, 2, "Platform      : "},
               {6, 0, "Platform      : "},
               {4, 0, "Platform      : "}};
  DebugMode = true;
  for (const auto& c : cases) {
    major_ = c.major;
    minor_ = c.minor;
    TSESystemInformation info;
    EXPECT_EQ(info.ReportLines().front(), c.line);
  }
}

TEST_F(SystemReport, DebugWritesTheLinesToTheInfoLog) {
  StartLogs();
  // Lines an earlier run left in today's log must not pass for this run's.
  const std::string path = LogFileName("Info");
  DeleteFileA(path.c_str());

  DebugMode = false;
  { TSESystemInformation quiet; }
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "written without the debug switch";

  DebugMode = true;
  TSESystemInformation info;
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  for (const auto& line : info.ReportLines())
    EXPECT_NE(text.str().find(" " + line + "\r\n"), std::string::npos) << line;
}

}  // namespace
