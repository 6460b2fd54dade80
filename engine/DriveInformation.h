// What the engine knows about one drive letter: how to read it (sectors, sector size,
// request size) and what the dialogs show of it (type, flags, capacity).
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/lists.h"
#include "framework/core/sysutils.h"

class TSEDriveInformation : public TObject {
 public:
  uint8_t DriveNumber = 0;  // 1 = A
  uint8_t DriveType = 0;    // GetDriveTypeA: 2 removable, 3 fixed, 4 remote, 5 CD
  uint8_t MediaType = 0;    // copy of DriveType; the refusals test this one
  std::wstring VolumeName;
  uint32_t VolumeSerial = 0;
  String FileSystemName;
  uint8_t FileSystem = 0;  // 0 unknown, 1 FAT12, 2 FAT16, 3 FAT32, 4 NTFS, 5 CDFS
  String RootPath;         // "X:\"
  bool IsFloppy = false;
  bool IsCD = false;
  bool IsAudioCD = false;
  uint16_t GeometryKind = 0;
  uint16_t GeometryRemovable = 0;
  uint16_t MediaFlags = 0;  // bit 0: removable media
  uint16_t NotFloppy = 0;
  uint32_t BytesPerSector = 0;
  uint32_t SizeKB = 0;
  std::wstring CapacityText;
  uint32_t TotalSectors = 0;
  bool Valid = false;
  uint16_t SectorsPerRequest = 0;  // at least 1 once the record is valid
  uint32_t SectorsPerMiB = 0;
  uint32_t Cylinders = 0;
  uint32_t TracksPerCylinder = 0;
  uint32_t SectorsPerTrack = 0;
  // The device's sector count where the platform could tell nothing but its size
  // (an image under Wine); 0 elsewhere.
  uint32_t MeasuredSectors = 0;

  // The names the dialogs know these fields by.
  const std::wstring& VolumeLabel() const { return VolumeName; }
  bool IsCDROM() const { return IsCD; }
  uint32_t SectorCount() const { return TotalSectors; }
  const std::wstring& MediaName() const { return VolumeName; }

  // The file-system code of the name the volume reports ("FAT" is FAT12 on a floppy).
  void SetFileSystem(const String& name);

  // SizeKB, CapacityText, SectorsPerMiB and SectorsPerRequest from TotalSectors and
  // BytesPerSector.
  void ComputeSizes();
};

// A drive whose size neither its boot sector nor a read could establish: nothing may be
// written to it, as nothing tells where it ends.
struct TDriveRefusal {
  int32_t Code;
  const char* Text;
};
inline constexpr TDriveRefusal kDriveSizeUnknown{91, "Drive Size Unknown"};

// "%f KB", "%f MB" or "%f GB" of a size in KB, two decimals, the locale's separator.
std::wstring CapacityTextOf(uint32_t sizeKB);
