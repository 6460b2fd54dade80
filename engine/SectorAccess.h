// The platform calls behind every sector the engine reads or writes: the volume devices
// of the NT family and the VWIN32 device of the 98 family, each behind one thin seam so
// that tests can put a disk image behind them. The transfers themselves are methods of
// TScanEngine (SectorAccess.cpp), since they work on its buffers and request fields.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "framework/core/sysutils.h"

// What GetGeometry learns about a drive. Kind: 0 unknown, 1 floppy, 2 removable,
// 3 fixed, 5 CD.
struct TDriveGeometry {
  uint16_t Kind = 0;
  uint16_t Removable = 0;
  uint32_t Cylinders = 0;
  uint32_t TracksPerCylinder = 0;
  uint32_t SectorsPerTrack = 0;
  uint32_t BytesPerSector = 0;
  uint32_t TotalSectors = 0;
  bool Measured = false;  // taken from the device's size: the platform had no geometry
};

// Wire formats of the 98 family's VWIN32 device. Their layout is the device's, on every
// build: addresses inside them are 32-bit device addresses (TVxdCalls::DeviceAddress).
#pragma pack(push, 1)
struct TVxdRegisters {
  uint32_t EBX = 0;
  uint32_t EDX = 0;
  uint32_t ECX = 0;
  uint32_t EAX = 0;
  uint32_t EDI = 0;
  uint32_t ESI = 0;
  uint32_t Flags = 0;  // bit 0: carry, set on failure
};

// Int 21h 7305h: absolute disk read and write.
struct TDiskTransferPacket {
  uint32_t StartSector = 0;
  uint16_t SectorCount = 0;
  uint32_t Buffer = 0;
};

// Int 21h 440Dh minor 60h: device parameters with the BIOS parameter block from byte 7.
struct TDeviceParameters {
  uint8_t SpecialFunctions = 0;
  uint8_t DeviceType = 0;
  uint16_t DeviceAttributes = 0;
  uint16_t Cylinders = 0;
  uint8_t MediaType = 0;
  uint16_t BytesPerSector = 0;
  uint8_t SectorsPerCluster = 0;
  uint16_t ReservedSectors = 0;
  uint8_t NumberOfFATs = 0;
  uint16_t RootEntries = 0;
  uint16_t TotalSectors16 = 0;
  uint8_t Media = 0;
  uint16_t FATSize = 0;
  uint16_t SectorsPerTrack = 0;
  uint16_t Heads = 0;
  uint32_t HiddenSectors = 0;
  uint32_t TotalSectors32 = 0;
  uint8_t Reserved[6] = {};
};

// The CD read request sent to the 98 family's CD device.
struct TCDReadRequest {
  uint8_t DriveIndex = 0;
  uint32_t Block = 0;
  uint8_t BlockCount = 0;
  uint32_t Buffer = 0;
};
#pragma pack(pop)

static_assert(sizeof(TVxdRegisters) == 28);
static_assert(sizeof(TDiskTransferPacket) == 10);
static_assert(offsetof(TDiskTransferPacket, Buffer) == 6);
static_assert(offsetof(TDeviceParameters, BytesPerSector) == 7);
static_assert(offsetof(TDeviceParameters, TotalSectors16) == 15);
static_assert(offsetof(TDeviceParameters, SectorsPerTrack) == 20);
static_assert(offsetof(TDeviceParameters, Heads) == 22);
static_assert(offsetof(TDeviceParameters, TotalSectors32) == 28);
static_assert(sizeof(TCDReadRequest) == 10);

inline constexpr DWORD VWIN32_DIOC_DOS_IOCTL = 1;
inline constexpr DWORD VWIN32_DIOC_DOS_INT25 = 2;
inline constexpr DWORD VWIN32_DIOC_DOS_DRIVEINFO = 6;
inline constexpr uint32_t CarryFlag = 1;

// The NT family's volume calls and the drive queries of sector access and the size probe. The
// defaults are the Win32 functions of the same names; each reports its error through
// the thread's last error, as they do.
class TVolumeCalls {
 public:
  virtual ~TVolumeCalls() = default;
  virtual HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags);
  virtual BOOL CloseHandle(HANDLE handle);
  virtual DWORD SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method);
  virtual BOOL ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* done);
  virtual BOOL WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* done);
  virtual BOOL DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out,
                               DWORD outSize, DWORD* returned);
  virtual BOOL GetFileSizeEx(HANDLE handle, LARGE_INTEGER* size);
  virtual UINT GetDriveTypeA(LPCSTR root);
  virtual BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                 DWORD* freeClusters, DWORD* totalClusters);
  virtual BOOL GetDiskFreeSpaceExA(LPCSTR root, ULARGE_INTEGER* available, ULARGE_INTEGER* total,
                                   ULARGE_INTEGER* totalFree);

  // The calls of the running system.
  static TVolumeCalls& System();
};

// The 98 family's "\\.\VWIN32" device.
class TVxdCalls {
 public:
  virtual ~TVxdCalls() = default;
  virtual HANDLE Open();  // INVALID_HANDLE_VALUE on failure, with the last error set
  virtual BOOL CloseHandle(HANDLE handle);
  virtual BOOL DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out,
                               DWORD outSize, DWORD* returned);
  // The 32-bit address the device is given for a buffer of the caller. On the 98 family
  // that is the pointer itself; a 64-bit build has no such device and gets 0 from here.
  virtual uint32_t DeviceAddress(void* buffer, size_t size);

  static TVxdCalls& System();
};

// Owns one device handle and closes it through the calls that opened it.
template <class Calls>
class TDeviceHandle {
 public:
  TDeviceHandle() = default;
  TDeviceHandle(const TDeviceHandle&) = delete;
  TDeviceHandle& operator=(const TDeviceHandle&) = delete;
  ~TDeviceHandle() { Close(); }

  void Reset(Calls* calls, HANDLE handle) {
    Close();
    calls_ = calls;
    handle_ = handle;
  }
  void Close() {
    if (Valid()) calls_->CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

 private:
  Calls* calls_ = nullptr;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The device name "X:" of a drive number (1 = A).
String DriveName(uint8_t driveNumber);

// The base-2 logarithm of a sector size, to the nearest integer (9 for 512).
uint8_t SectorShiftOf(uint32_t bytesPerSector);
