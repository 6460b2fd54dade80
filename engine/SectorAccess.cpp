#include "engine/SectorAccess.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>

#include "engine/ScanEngine.h"

namespace {

constexpr DWORD kCdromGetDriveGeometryEx = CTL_CODE(0x00000002, 0x0014, METHOD_BUFFERED, FILE_READ_ACCESS);
constexpr uint8_t kModeRead = 1;
constexpr uint8_t kModeWrite = 0;
constexpr uint32_t kAbsoluteDiskReadWrite = 0x7305;
constexpr uint32_t kGenericIoctl = 0x440D;
constexpr uint32_t kGetDeviceParameters = 0x0860;
constexpr uint32_t kWriteNormalFileData = 0x6001;

uint16_t KindOfMediaType(DWORD media, uint16_t& removable) {
  if (media == 0) return 0;
  if ((media >= 1 && media <= 10) || (media >= 13 && media <= 22)) {
    removable = 1;
    return 1;
  }
  if (media == 11) {
    removable = 1;
    return 2;
  }
  if (media == 12) return 3;
  return 0;
}

}  // namespace

// --- the system's calls ---

HANDLE TVolumeCalls::CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return ::CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
}
BOOL TVolumeCalls::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }
DWORD TVolumeCalls::SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) {
  return ::SetFilePointer(handle, low, high, method);
}
BOOL TVolumeCalls::ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* done) {
  return ::ReadFile(handle, buffer, size, done, nullptr);
}
BOOL TVolumeCalls::WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* done) {
  return ::WriteFile(handle, buffer, size, done, nullptr);
}
BOOL TVolumeCalls::DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out,
                                   DWORD outSize, DWORD* returned) {
  return ::DeviceIoControl(handle, code, in, inSize, out, outSize, returned, nullptr);
}
BOOL TVolumeCalls::GetFileSizeEx(HANDLE handle, LARGE_INTEGER* size) { return ::GetFileSizeEx(handle, size); }
UINT TVolumeCalls::GetDriveTypeA(LPCSTR root) { return ::GetDriveTypeA(root); }
BOOL TVolumeCalls::GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                     DWORD* freeClusters, DWORD* totalClusters) {
  return ::GetDiskFreeSpaceA(root, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
}
BOOL TVolumeCalls::GetDiskFreeSpaceExA(LPCSTR root, ULARGE_INTEGER* available, ULARGE_INTEGER* total,
                                       ULARGE_INTEGER* totalFree) {
  return ::GetDiskFreeSpaceExA(root, available, total, totalFree);
}
TVolumeCalls& TVolumeCalls::System() {
  static TVolumeCalls calls;
  return calls;
}

HANDLE TVxdCalls::Open() {
  return ::CreateFileA("\\\\.\\VWIN32", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}
BOOL TVxdCalls::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }
BOOL TVxdCalls::DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out,
                                DWORD outSize, DWORD* returned) {
  return ::DeviceIoControl(handle, code, in, inSize, out, outSize, returned, nullptr);
}
uint32_t TVxdCalls::DeviceAddress(void* buffer, size_t /*size*/) {
  const auto address = reinterpret_cast<uintptr_t>(buffer);
  return address <= UINT32_MAX ? static_cast<uint32_t>(address) : 0;
}
TVxdCalls& TVxdCalls::System() {
  static TVxdCalls calls;
  return calls;
}

String DriveName(uint8_t driveNumber) { return String(1, static_cast<char>(driveNumber + 64)) + ":"; }

uint8_t SectorShiftOf(uint32_t bytesPerSector) {
  uint8_t shift = 0;
  while (shift < 31 && (uint64_t(1) << (shift + 1)) <= bytesPerSector) ++shift;
  // The nearest logarithm, not the floor: up from 2^shift x sqrt(2) on, that is where
  // the square passes 2^(2 shift + 1).
  if (uint64_t(bytesPerSector) * bytesPerSector > uint64_t(1) << (2 * shift + 1) && shift < 31) ++shift;
  return shift;
}

// --- transfers ---

uint8_t* TScanEngine::EnsureTransferBuffer() {
  if (!TransferBuffer) TransferBuffer = std::make_unique<uint8_t[]>(SectorBufferSize);
  return TransferBuffer.get();
}

// A transfer must fit the 1 MiB buffers whatever a caller or a damaged card asks for.
bool TScanEngine::TransferFits() const {
  return CurrentDrive && CurrentDrive->BytesPerSector > 0 &&
         uint64_t(TransferCount) * CurrentDrive->BytesPerSector <= SectorBufferSize;
}

bool TScanEngine::ReadSectors() {
  if (!TransferFits()) return false;
  EnsureTransferBuffer();
  if (IsNT) return ReadSectorsNT();
  if (CurrentDrive->IsCD) return ReadCDSectors9x();
  if (UseVxd && Fat32Capable9x) return ReadSectors9x();
  return false;
}

bool TScanEngine::WriteSectors() {
  if (!TransferFits()) return false;
  if (IsCDDrive(CurrentDrive->DriveNumber)) return false;
  EnsureTransferBuffer();
  if (IsNT) return WriteSectorsNT();
  if (UseVxd && Fat32Capable9x) return WriteSectors9x();
  return false;
}

bool TScanEngine::IsCDDrive(uint8_t driveNumber) {
  return Volumes().GetDriveTypeA((DriveName(driveNumber) + "\\").c_str()) == DRIVE_CDROM;
}

bool TScanEngine::OpenVolume(uint8_t driveNumber, uint8_t mode) {
  if (VolumeHandle.Valid() && VolumeHandleDrive == driveNumber && VolumeHandleMode == mode) return true;
  VolumeHandle.Close();
  const String name = "\\\\.\\" + DriveName(driveNumber);
  DWORD access = mode == kModeRead ? GENERIC_READ : GENERIC_WRITE;
  DWORD flags = FILE_FLAG_WRITE_THROUGH;
  if (CurrentDrive->IsCD) {
    access = GENERIC_READ;
    flags = FILE_ATTRIBUTE_NORMAL;
  }
  VolumeHandle.Reset(&Volumes(), Volumes().CreateFileA(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                       OPEN_EXISTING, flags));
  VolumeHandleDrive = driveNumber;
  VolumeHandleMode = mode;
  SectorShift = SectorShiftOf(CurrentDrive->BytesPerSector);
  return VolumeHandle.Valid();
}

bool TScanEngine::SeekVolume() {
  const uint64_t offset = uint64_t(TransferStart) << SectorShift;
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(NO_ERROR);
  const DWORD low = Volumes().SetFilePointer(VolumeHandle.Get(), static_cast<LONG>(offset & 0xFFFFFFFFu), &high,
                                             FILE_BEGIN);
  return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool TScanEngine::ReadSectorsNT() {
  uint8_t* destination = KeepInSectorBuffer ? nullptr : TransferBuffer.get();
  if (!OpenVolume(CurrentDrive->DriveNumber, kModeRead)) return false;
  if (!SeekVolume()) return false;
  const uint32_t bytesPerSector = CurrentDrive->BytesPerSector;
  const uint32_t largest = std::min<uint64_t>(uint64_t(bytesPerSector) * 512, SectorBufferSize);
  uint32_t remaining = uint32_t(TransferCount) * bytesPerSector;
  uint32_t done = 0;
  bool good = true;
  do {
    const uint32_t chunk = std::min(remaining, largest);
    DWORD got = 0;
    SetLastError(NO_ERROR);
    const BOOL ok = Volumes().ReadFile(VolumeHandle.Get(), SectorBuffer.data(), chunk, &got);
    LastError = GetLastError();
    good = ok && got == chunk;
    if (good) {
      if (destination) std::memcpy(destination + done, SectorBuffer.data(), chunk);
      done += chunk;
      remaining -= chunk;
    } else if (!ok) {
      TransferCount = static_cast<uint16_t>(std::max<uint32_t>(done / bytesPerSector, 1));
    } else if (LastError == NO_ERROR) {
      // A real device refuses a read past its end; an image file answers with fewer
      // bytes and no error. Report it the way the device does.
      LastError = ERROR_INVALID_PARAMETER;
    }
  } while (good && remaining != 0);
  return good;
}

bool TScanEngine::WriteSectorsNT() {
  if (!OpenVolume(CurrentDrive->DriveNumber, kModeWrite)) return false;
  // An image file would grow where a device ends: never write past the drive's end.
  if (CurrentDrive->TotalSectors != 0 &&
      uint64_t(TransferStart) + TransferCount > CurrentDrive->TotalSectors) {
    LastError = ERROR_INVALID_PARAMETER;
    return false;
  }
  if (!SeekVolume()) return false;
  const DWORD size = uint32_t(TransferCount) * CurrentDrive->BytesPerSector;
  DWORD written = 0;
  return Volumes().WriteFile(VolumeHandle.Get(), TransferBuffer.get(), size, &written) && written == size;
}

bool TScanEngine::CallVxdTransfer(uint32_t command, uint8_t* buffer) {
  TDiskTransferPacket packet;
  packet.StartSector = TransferStart;
  packet.SectorCount = TransferCount;
  packet.Buffer = Vxd().DeviceAddress(buffer, SectorBufferSize);
  TVxdRegisters registers;
  registers.EAX = kAbsoluteDiskReadWrite;
  registers.EBX = Vxd().DeviceAddress(&packet, sizeof packet);
  registers.ECX = 0xFFFFFFFFu;
  registers.EDX = CurrentDrive->DriveNumber;
  registers.ESI = command;
  registers.Flags = CarryFlag;  // a call the device ignores counts as failed
  DWORD returned = 0;
  const BOOL ok = Vxd().DeviceIoControl(VxdHandle.Get(), VWIN32_DIOC_DOS_DRIVEINFO, &registers, sizeof registers,
                                        &registers, sizeof registers, &returned);
  return ok && (registers.Flags & CarryFlag) == 0;
}

bool TScanEngine::ReadSectors9x() {
  if (!CallVxdTransfer(0, SectorBuffer.data())) return false;
  if (!KeepInSectorBuffer)
    std::memcpy(TransferBuffer.get(), SectorBuffer.data(), uint32_t(TransferCount) * CurrentDrive->BytesPerSector);
  return true;
}

bool TScanEngine::WriteSectors9x() { return CallVxdTransfer(kWriteNormalFileData, TransferBuffer.get()); }

bool TScanEngine::ReadCDSectors9x() {
  // No operation opens a CD device on the 98 family: such reads fail.
  if (CdHandle == INVALID_HANDLE_VALUE) return false;
  TCDReadRequest request;
  request.DriveIndex = static_cast<uint8_t>(CurrentDrive->DriveNumber - 1);
  request.Block = TransferStart;
  request.BlockCount = 1;
  request.Buffer = Vxd().DeviceAddress(SectorBuffer.data(), 2048);
  DWORD returned = 0;
  const BOOL ok =
      Vxd().DeviceIoControl(CdHandle, VWIN32_DIOC_DOS_INT25, &request, sizeof request, nullptr, 0, &returned);
  if (ok) std::memcpy(TransferBuffer.get(), SectorBuffer.data(), 2048);
  return ok;
}

// --- geometry ---

bool TScanEngine::GetGeometry(uint8_t driveNumber, TDriveGeometry& geometry) {
  return IsNT ? GetGeometryNT(driveNumber, geometry) : GetGeometry9x(driveNumber, geometry);
}

bool TScanEngine::GetGeometryNT(uint8_t driveNumber, TDriveGeometry& geometry) {
  const bool cd = IsCDDrive(driveNumber);
  const String name = "\\\\.\\" + DriveName(driveNumber);
  TDeviceHandle<TVolumeCalls> handle;
  if (cd)
    handle.Reset(&Volumes(), Volumes().CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  else
    handle.Reset(&Volumes(), Volumes().CreateFileA(name.c_str(), 0, FILE_SHARE_READ, OPEN_EXISTING, 0));
  if (!handle.Valid()) return false;
  DWORD returned = 0;
  if (cd) {
    geometry = TDriveGeometry{};
    geometry.Kind = 5;
    geometry.Removable = 1;
    uint8_t buffer[33] = {};
    if (Volumes().DeviceIoControl(handle.Get(), kCdromGetDriveGeometryEx, nullptr, 0, buffer, sizeof buffer,
                                  &returned)) {
      DISK_GEOMETRY disk;
      std::memcpy(&disk, buffer, sizeof disk);
      int64_t diskSize = 0;
      std::memcpy(&diskSize, buffer + 24, sizeof diskSize);
      geometry.Cylinders = static_cast<uint32_t>(disk.Cylinders.QuadPart);
      geometry.TracksPerCylinder = disk.TracksPerCylinder;
      geometry.SectorsPerTrack = disk.SectorsPerTrack;
      geometry.BytesPerSector = disk.BytesPerSector;
      geometry.TotalSectors = geometry.Cylinders * geometry.TracksPerCylinder * geometry.SectorsPerTrack;
      if (geometry.TotalSectors == 0 && geometry.BytesPerSector != 0)
        geometry.TotalSectors = static_cast<uint32_t>(diskSize / geometry.BytesPerSector);
    } else {
      geometry.BytesPerSector = 2048;
    }
    return true;
  }
  static_assert(sizeof(DISK_GEOMETRY) == 24);
  DISK_GEOMETRY disk{};
  if (!Volumes().DeviceIoControl(handle.Get(), IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &disk, sizeof disk,
                                 &returned)) {
    if (GetLastError() != ERROR_NOT_SUPPORTED) return false;
    handle.Close();
    return GeometryFromDeviceSize(driveNumber, geometry);
  }
  geometry.Removable = 0;
  geometry.Cylinders = static_cast<uint32_t>(disk.Cylinders.QuadPart);
  geometry.TracksPerCylinder = disk.TracksPerCylinder;
  geometry.SectorsPerTrack = disk.SectorsPerTrack;
  geometry.BytesPerSector = disk.BytesPerSector;
  geometry.TotalSectors = geometry.Cylinders * geometry.TracksPerCylinder * geometry.SectorsPerTrack;
  geometry.Kind = KindOfMediaType(disk.MediaType, geometry.Removable);
  return true;
}

// Where the platform cannot report a geometry (Wine answers "not supported"), the device's
// size gives one: 512-byte sectors, one track of them, media type from the drive type.
bool TScanEngine::GeometryFromDeviceSize(uint8_t driveNumber, TDriveGeometry& geometry) {
  const String name = "\\\\.\\" + DriveName(driveNumber);
  TDeviceHandle<TVolumeCalls> handle;
  handle.Reset(&Volumes(), Volumes().CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 OPEN_EXISTING, 0));
  LARGE_INTEGER size{};
  if (!handle.Valid() || !Volumes().GetFileSizeEx(handle.Get(), &size) || size.QuadPart <= 0) return false;
  const uint64_t sectors = std::min<uint64_t>(uint64_t(size.QuadPart) / 512, UINT32_MAX);
  const UINT driveType = Volumes().GetDriveTypeA((DriveName(driveNumber) + "\\").c_str());
  const DWORD media = driveType == DRIVE_REMOVABLE ? 11 : driveType == DRIVE_FIXED ? 12 : 0;
  geometry = TDriveGeometry{};
  geometry.Kind = KindOfMediaType(media, geometry.Removable);
  geometry.Cylinders = static_cast<uint32_t>(sectors);
  geometry.TracksPerCylinder = 1;
  geometry.SectorsPerTrack = 1;
  geometry.BytesPerSector = 512;
  geometry.TotalSectors = static_cast<uint32_t>(sectors);
  geometry.Measured = true;
  return true;
}

bool TScanEngine::GetGeometry9x(uint8_t driveNumber, TDriveGeometry& geometry) {
  if (IsCDDrive(driveNumber)) {
    geometry = TDriveGeometry{};
    geometry.Kind = 5;
    geometry.Removable = 1;
    geometry.BytesPerSector = 2048;
    return true;
  }
  if (!UseVxd) return false;
  geometry = TDriveGeometry{};
  TDeviceParameters parameters;
  bool ok = false;
  for (const uint8_t special : {uint8_t(1), uint8_t(0)}) {
    parameters = TDeviceParameters{};
    parameters.SpecialFunctions = special;
    TVxdRegisters registers;
    registers.EAX = kGenericIoctl;
    registers.EBX = driveNumber;
    registers.ECX = kGetDeviceParameters;
    registers.EDX = Vxd().DeviceAddress(&parameters, sizeof parameters);
    registers.Flags = CarryFlag;
    DWORD returned = 0;
    ok = Vxd().DeviceIoControl(VxdHandle.Get(), VWIN32_DIOC_DOS_IOCTL, &registers, sizeof registers, &registers,
                               sizeof registers, &returned) &&
         (registers.Flags & CarryFlag) == 0;
    if (ok) {
      const uint32_t chs = uint32_t(parameters.Cylinders) * parameters.Heads * parameters.SectorsPerTrack;
      geometry.TotalSectors = std::max({geometry.TotalSectors, chs, uint32_t(parameters.TotalSectors16),
                                        parameters.TotalSectors32});
      geometry.BytesPerSector = std::max<uint32_t>(geometry.BytesPerSector, parameters.BytesPerSector);
    }
  }
  if (!ok) return false;
  const bool fixedMedia = (parameters.DeviceAttributes & 1) != 0;
  geometry.Removable = fixedMedia ? 0 : 1;
  geometry.Cylinders = parameters.Heads;
  geometry.TracksPerCylinder = parameters.Cylinders;
  geometry.SectorsPerTrack = parameters.SectorsPerTrack;
  switch (parameters.DeviceType) {
    case 0: case 1: case 2: case 3: case 4: case 7: case 8: geometry.Kind = 1; break;
    case 5: geometry.Kind = 3; break;
    case 6: case 9: geometry.Kind = fixedMedia ? 0 : 2; break;
    default: break;
  }
  return true;
}
