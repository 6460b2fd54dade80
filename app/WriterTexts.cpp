#include "app/WriterTexts.h"

#include <iterator>

#include "framework/core/sysutils.h"

namespace {

constexpr int kFirstDeviceError = 1000;
constexpr int kExtendedDeviceError = 1051;

const char* const kDeviceErrors[] = {
    "No additional error data was reported",
    "Abnormal I/O Termination",
    "The drive is not ready",
    "Communication with drive unit failed",
    "The drive could not track properly",
    "Writing error of unknown origin",
    "Writing occurred, but recovery is needed",
    "Recovery attempt failed",
    "A buffer under-run has occurred",
    "The disc could not be read",
    "The drive's attempts at reading retries failed",
    "The read timed out",
    "While reading, the LEC was not recovered",
    "The CIRC could not be validated",
    "Reading of the UPC failed",
    "Reading of the ISRC failed",
    "Streaming while reading was interrupted",
    "Drive could not position media",
    "An incompatible parameter length was sent to the drive",
    "A transfer error occurred to the drive",
    "An invalid command was sent to the drive",
    "Error trying to write past the end of the media",
    "Invalid command field",
    "An incompatible parameter field was sent to the drive",
    "A command parameter is not supported",
    "A command parameter had an invalid value",
    "The SCSI/ATAPI bus was reset and caused a write failure",
    "A command parameter changed while in progress",
    "The disc is not compatible with the drive mode",
    "The drive does not recognize the format of the disc",
    "The disc format is not compatible with the drive",
    "The disc is of an unknown format",
    "The drive cannot write because of an incompatible format",
    "A disc is not present",
    "The drive had an unknown failure",
    "The drive has timed out while completing a command",
    "The disc could not be erased",
    "The Table of Contents is unrecoverable",
    "Error trying to write past the user area of the media",
    "Packet recording is not configured correctly",
    "The current track mode is incompatible with the disc format",
    "Packet recording has incorrect size",
    "A generic session closing error occurred",
    "Error closing Lead-in area",
    "Error closing Lead-out area",
    "While closing, the track was never completed",
    "Error attempting to write to a reserved track",
    "Power calibration area is full",
    "A flaw exists in the Power calibration area",
    "The disc's PMA could not be updated",
    "The disc's PMA is full",
    "Unknown error - use extended data for more information",
    "No Error Reported",
    "A seek command was interrupted by another command",
};
static_assert(std::size(kDeviceErrors) == 54);

const char* const kWriteErrors[] = {
    "The read buffer could not be initialized ... check your memory/disc resources",
    "The write buffer could not be initialized ... check your memory/disc resources",
    "A file error was encountered while writing the disc",
    nullptr,  // the device error
    "Tracks have been added to the disc image ... please add tracks and try again",
    "Tracks have been added to the disc image with an invalid format ... please try again",
};

}  // namespace

String WriterListEntry(const String& text1, const String& text2, const String& text3) {
  return text1 + ": " + text3 + "(" + text2 + ")";
}

std::vector<String> WriteSpeedList(int maxSpeed, const String& defaultText) {
  std::vector<String> speeds;
  if (maxSpeed < 1) return {defaultText};
  for (int n = maxSpeed; n != 0; n = n >= 4 ? n - 4 : n / 2) speeds.push_back(IntToStr(n) + "x");
  return speeds;
}

int WriteSpeedOfEntry(const String& entry, const String& defaultText) {
  if (entry == defaultText || entry.size() < 2 || entry.back() != 'x') return 0;
  String digits = entry.substr(0, entry.size() - 1);
  if (digits.find_first_not_of("0123456789") != String::npos) return 0;
  return StrToIntDef(digits, 0);
}

String DeviceErrorText(int deviceError, const String& extendedError) {
  String code = IntToStr(deviceError);
  if (deviceError == kExtendedDeviceError)
    return "An unknown device error has occurred (" + code + ").\r\nExtended Error Data - " + extendedError;
  int index = deviceError - kFirstDeviceError;
  String text = index >= 0 && index < static_cast<int>(std::size(kDeviceErrors)) ? kDeviceErrors[index] : "";
  return text + "(" + code + ")";
}

String WriteErrorText(int writeError, int deviceError, const String& extendedError) {
  if (writeError == 3) return DeviceErrorText(deviceError, extendedError);
  if (writeError >= 0 && writeError < static_cast<int>(std::size(kWriteErrors))) return kWriteErrors[writeError];
  return "Unknown writing error";
}

String FreeSpaceText(int64_t bytes) {
  try {
    const double b = static_cast<double>(bytes);
    if (bytes < 1024) return Format("%f KB", b / 1024.0);
    if (bytes < 1073741824) return Format("%f MB", b / 1048576.0);
    return Format("%f GB", b / 1073741824.0);
  } catch (const std::exception&) {
    return "0 MB";
  }
}
