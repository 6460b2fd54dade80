#include "engine/DriveInformation.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"

namespace {

std::wstring Widen(const String& text) {
  if (text.empty()) return L"";
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(size_t(std::max(size, 0)), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

// Critical-error boxes suppressed for the life of the object.
class TQuietErrors {
 public:
  TQuietErrors() : saved_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TQuietErrors() { SetErrorMode(saved_); }
  TQuietErrors(const TQuietErrors&) = delete;
  TQuietErrors& operator=(const TQuietErrors&) = delete;

 private:
  UINT saved_;
};

}  // namespace

void TSEDriveInformation::SetFileSystem(const String& name) {
  const String trimmed = Trim(name);
  if (trimmed == "FAT") FileSystem = GeometryKind == 1 ? 1 : 2;
  else if (trimmed == "FAT12") FileSystem = 1;
  else if (trimmed == "FAT16") FileSystem = 2;
  else if (trimmed == "FAT32") FileSystem = 3;
  else if (trimmed == "NTFS") FileSystem = 4;
  else if (trimmed == "CDFS") FileSystem = 5;
}

std::wstring CapacityTextOf(uint32_t sizeKB) {
  if (sizeKB < 1024) return Widen(Format("%f KB", double(sizeKB)));
  if (sizeKB < 1048576) return Widen(Format("%f MB", sizeKB / 1024.0));
  return Widen(Format("%f GB", sizeKB / 1048576.0));
}

void TSEDriveInformation::ComputeSizes() {
  SizeKB = static_cast<uint32_t>(Round(TotalSectors / 1024.0 * BytesPerSector));
  CapacityText = CapacityTextOf(SizeKB);
  SectorsPerMiB = BytesPerSector != 0 ? 1048576 / BytesPerSector : 0;
  // A drive under 100 sectors would otherwise be read 0 sectors at a time, for ever.
  const uint32_t perRequest = std::min<uint32_t>({TotalSectors / 100, SectorsPerMiB, 512});
  SectorsPerRequest = static_cast<uint16_t>(std::max<uint32_t>(perRequest, 1));
}

// --- the engine's side ---

void TScanEngine::RetireDrive(char drive) {
  for (int i = Drives.Count() - 1; i >= 0; --i) {
    auto* record = static_cast<TSEDriveInformation*>(Drives.Items(i));
    if (record->RootPath.empty() || record->RootPath[0] != drive) continue;
    if (CurrentDrive == record) CurrentDrive = nullptr;
    Drives.Delete(i);
    retiredDrives_.Add(record);
  }
}

bool TScanEngine::GetDriveSelectedInformation(const String& drive, TSEDriveInformation*& info) {
  info = nullptr;
  LastError = 0;
  auto fail = [this] {
    WriteErrorLog("GetDriveSelectedInformation");
    if (LastError == 0) LastError = 4;
    return false;
  };
  const char letter = drive.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0])));
  if (letter < 'A' || letter > 'Z') return fail();
  RetireDrive(letter);
  // The card in the drive may have changed since the handle was opened.
  CloseVolume();
  const auto driveNumber = static_cast<uint8_t>(letter - 'A' + 1);
  try {
    TDriveGeometry geometry;
    if (!GetGeometry(driveNumber, geometry)) return fail();
    auto record = std::make_unique<TSEDriveInformation>();
    record->RootPath = DriveName(driveNumber) + "\\";
    record->DriveNumber = driveNumber;
    record->IsCD = IsCDDrive(driveNumber);
    record->IsAudioCD = IsAudioCD(letter);
    record->Valid = false;
    record->DriveType = static_cast<uint8_t>(Volumes().GetDriveTypeA(record->RootPath.c_str()));
    record->MediaType = record->DriveType;
    record->GeometryKind = geometry.Kind;
    record->GeometryRemovable = geometry.Removable;
    record->IsFloppy = geometry.Kind == 1;
    record->NotFloppy = geometry.Kind == 1 ? 0 : 1;
    record->MediaFlags = geometry.Removable & 1;

    TVolumeInfo volume;
    GetVolumeInfo(record->RootPath, volume);
    record->VolumeName = Widen(volume.VolumeLabel);
    record->VolumeSerial = volume.SerialNumber;
    record->FileSystemName = volume.FileSystemName;
    record->SetFileSystem(record->FileSystemName);
    if (record->MediaType == DRIVE_CDROM && record->FileSystem == 0) {
      LastError = 3;
      return fail();
    }

    record->BytesPerSector = geometry.BytesPerSector;
    record->TotalSectors = geometry.TotalSectors;
    record->MeasuredSectors = geometry.Measured ? geometry.TotalSectors : 0;
    CurrentDrive = record.get();
    if (record->FileSystem >= 1 && record->FileSystem <= 3) {
      if (FATReader->ReadBootSector()) {
        if (FATReader->TotalSectors != 0) record->TotalSectors = FATReader->TotalSectors;
        // A volume that claims more than the measured device is read only as far as the
        // device goes.
        if (record->MeasuredSectors != 0)
          record->TotalSectors = std::min(record->TotalSectors, record->MeasuredSectors);
      } else {
        record->TotalSectors = ProbeDriveSize(*record);
      }
    } else {
      record->TotalSectors = ProbeDriveSize(*record);
    }
    CurrentDrive = nullptr;

    record->Cylinders = geometry.Cylinders;
    record->TracksPerCylinder = geometry.TracksPerCylinder;
    record->SectorsPerTrack = geometry.SectorsPerTrack;
    if (record->IsCD) ReadCDSizes(*record);
    record->ComputeSizes();
    record->Valid = true;
    info = record.get();
    CurrentDrive = info;
    Drives.Add(record.release());
    return true;
  } catch (...) {
    CurrentDrive = nullptr;
    fail();
    throw;
  }
}

TSEDriveInformation* TScanEngine::FindDriveInformation(char drive) {
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(drive)));
  for (int i = 0; i < Drives.Count(); ++i) {
    auto* record = static_cast<TSEDriveInformation*>(Drives.Items(i));
    if (!record->RootPath.empty() && record->RootPath[0] == letter) return record;
  }
  TSEDriveInformation* info = nullptr;
  GetDriveSelectedInformation(String(1, letter), info);
  return info;
}

void TScanEngine::ReadCDSizes(TSEDriveInformation& record) {
  TQuietErrors quiet;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (Volumes().GetDiskFreeSpaceA(record.RootPath.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                                  &totalClusters)) {
    record.BytesPerSector = bytesPerSector;
    record.TotalSectors = totalClusters * sectorsPerCluster;
  }
}

uint32_t TScanEngine::ProbeDriveSize(TSEDriveInformation& record) {
  const uint32_t geometrySectors = record.TotalSectors;
  uint64_t expectedBytes = 0;
  bool known = false;
  if (record.MeasuredSectors != 0) {
    // The platform's volume queries describe something else there (under Wine, the
    // folder behind the letter); the device's own size is what the probe expects.
    expectedBytes = uint64_t(record.MeasuredSectors) * 512;
    known = true;
  } else {
    TQuietErrors quiet;
    if (WindowsVersion == 2) {
      DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
      known = Volumes().GetDiskFreeSpaceA(record.RootPath.c_str(), &sectorsPerCluster, &bytesPerSector,
                                          &freeClusters, &totalClusters);
      expectedBytes = uint64_t(totalClusters) * sectorsPerCluster * bytesPerSector;
    } else {
      ULARGE_INTEGER available{}, total{}, totalFree{};
      known = Volumes().GetDiskFreeSpaceExA(record.RootPath.c_str(), &available, &total, &totalFree);
      expectedBytes = total.QuadPart;
    }
  }
  if (!known) expectedBytes = uint64_t(geometrySectors) * 512;
  const uint64_t expectedMiB = expectedBytes / 1048576;
  uint64_t limit = 2;
  while (limit <= expectedMiB) limit *= 2;

  CurrentDrive = &record;
  EnsureTransferBuffer();
  const size_t clear = std::min<size_t>(record.BytesPerSector, SectorBufferSize);
  std::memset(TransferBuffer.get(), 0, clear);
  std::memset(SectorBuffer.data(), 0, clear);

  // A probe in which no read succeeded found no end: the size stays unknown (0), not the
  // point where the search gave up.
  bool anyRead = false;
  auto readAt = [this, &anyRead](uint64_t start, uint16_t count) {
    if (start > UINT32_MAX) return false;
    TransferStart = static_cast<uint32_t>(start);
    TransferCount = count;
    const bool read = ReadSectors();
    anyRead = anyRead || read;
    return read;
  };
  if (record.MediaType == DRIVE_FIXED || record.MediaType == DRIVE_CDROM) {
    uint64_t sector = geometrySectors;
    while (sector < UINT32_MAX && readAt(sector, 1)) ++sector;
    return static_cast<uint32_t>(sector);
  }
  // Down in steps of 512 while reads fail, at most to 512 below the geometry's count; the
  // last step is taken even when no read follows it, so that the upward search starts
  // below a device that ends just under its geometry.
  int64_t start = static_cast<int64_t>(limit * 2000);
  while (!readAt(static_cast<uint64_t>(start), 512)) {
    start = std::max<int64_t>(start - 512, 0);
    if (start == 0 || start < int64_t(geometrySectors) - 512) break;
  }
  uint16_t step = 512;
  for (;;) {
    if (readAt(static_cast<uint64_t>(start), step)) {
      start += step;
    } else {
      if (step == 1) break;
      step /= 2;
    }
  }
  if (!anyRead) return 0;
  return static_cast<uint32_t>(std::min<int64_t>(start, UINT32_MAX));
}
