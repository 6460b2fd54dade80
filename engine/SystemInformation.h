// A snapshot of the machine, taken when the engine is created and written to the info
// log while debugging is on, so that a log sent in with a problem describes the machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Utils.h"

class TSESystemInformation {
 public:
  // Gathers every field and, while DebugMode is on, writes the report.
  TSESystemInformation();

  // The report's lines, in the order the info log gets them.
  std::vector<std::string> ReportLines() const;

  uint8_t VersionCode = 0;  // filled only while the report is written
  std::string ComputerName;
  double CPUSpeed = 0;  // MHz
  std::string WindowsFolder;
  std::string SystemFolder;
  std::string TempFolder;
  bool IsAdmin = false;
  std::string MACAddress;
  bool NetworkPresent = false;
  uint32_t TotalPhysicalMemory = 0;
  uint32_t AvailablePhysicalMemory = 0;
  std::string BIOSDate;
  std::string RegisteredOwner;
  std::string RegisteredOrganization;
  TProcessorInfo CPUInfo;
  std::string UserName;
};
