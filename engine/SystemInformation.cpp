#include "engine/SystemInformation.h"

#include "engine/Debug.h"
#include "framework/core/sysutils.h"

namespace {

std::string PlatformName(uint8_t code) {
  switch (code) {
    case 2: return "Windows 98";
    case 3: return "Windows 98SE";
    case 4: return "Windows ME";
    case 6: return "Windows 2000";
    case 7: return "Windows XP";
    default: return "";
  }
}

}  // namespace

TSESystemInformation::TSESystemInformation() {
  ComputerName = GetComputerNameText();
  CPUSpeed = GetCPUSpeed();
  WindowsFolder = GetWindowsFolder();
  SystemFolder = GetSystemFolder();
  TempFolder = GetTempFolder();
  IsAdmin = IsUserAdmin();
  MACAddress = GetMACAddress();
  NetworkPresent = IsNetworkPresent();
  GetPhysicalMemory(TotalPhysicalMemory, AvailablePhysicalMemory);
  BIOSDate = GetBIOSDate();
  GetRegisteredOwner(RegisteredOwner, RegisteredOrganization);
  GetCPUInfo(CPUInfo);
  UserName = GetUserNameText();

  if (!DebugMode) return;
  VersionCode = GetWindowsVersionCode();
  for (const std::string& line : ReportLines()) WriteInfoLog(line);
}

std::vector<std::string> TSESystemInformation::ReportLines() const {
  const TProcessorInfo& cpu = CPUInfo;
  // The user name is gathered but kept out of the log.
  return {
      "Platform      : " + PlatformName(VersionCode),
      "Computer Name : " + ComputerName,
      "CPUSpeed      : " + FloatToStr(CPUSpeed),
      "Windows Dir   : " + WindowsFolder,
      "System Dir    : " + SystemFolder,
      "Temp Dir      : " + TempFolder,
      "Is Admin      : " + BoolToYesNo(IsAdmin),
      "MAC Address   : " + MACAddress,
      "Network Conn  : " + BoolToYesNo(NetworkPresent),
      "Memory Avail  : " + std::to_string(AvailablePhysicalMemory),
      "Memory Phys   : " + std::to_string(TotalPhysicalMemory),
      "BIOS Date     : " + BIOSDate,
      "Owner         : " + RegisteredOwner,
      "Regstrd Name  : " + RegisteredOrganization,
      "Processor     : CPU Type=" + cpu.CPUType + " Family=" + cpu.Family + " Model=" +
          cpu.Model + " Stepping=" + cpu.Stepping + " Vendor=" + cpu.Vendor + " IDs=" + cpu.EAX +
          "," + cpu.EBX + "," + cpu.ECX + "," + cpu.EDX,
  };
}
