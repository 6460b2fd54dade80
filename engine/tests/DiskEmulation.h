// Disk images behind the engine's sector-access seams: the NT family's volume calls and
// the 98 family's VWIN32 device, each answering from an image in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/SectorAccess.h"

struct TDiskImage {
  std::vector<uint8_t> Bytes;
  std::set<uint32_t> BadSectors;  // 512-byte sectors that cannot be read

  uint32_t Sectors() const { return static_cast<uint32_t>(Bytes.size() / 512); }
  bool Readable(uint64_t offset, uint64_t size) const;
  static TDiskImage Load(const std::string& path);
  void Save(const std::string& path) const;
};

// The NT volume calls for one drive letter over an image, answering the geometry control
// "not supported" unless a geometry is given, as Wine does.
class TImageVolumeCalls : public TVolumeCalls {
 public:
  TImageVolumeCalls(TDiskImage& image, char letter, UINT driveType = DRIVE_REMOVABLE)
      : image_(image), letter_(letter), driveType_(driveType) {}

  bool AnswerGeometry = false;
  DISK_GEOMETRY Geometry{};
  // Answers the geometry control with this geometry of 512-byte sectors.
  void AnswerWith(MEDIA_TYPE media, LONGLONG cylinders, DWORD tracksPerCylinder, DWORD sectorsPerTrack) {
    AnswerGeometry = true;
    Geometry.Cylinders.QuadPart = cylinders;
    Geometry.MediaType = media;
    Geometry.TracksPerCylinder = tracksPerCylinder;
    Geometry.SectorsPerTrack = sectorsPerTrack;
    Geometry.BytesPerSector = 512;
  }
  int Opens = 0;
  int Reads = 0;
  int Writes = 0;
  DWORD LastAccess = 0;

  HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) override;
  BOOL CloseHandle(HANDLE handle) override;
  DWORD SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) override;
  BOOL ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* done) override;
  BOOL WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* done) override;
  BOOL DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                       DWORD* returned) override;
  BOOL GetFileSizeEx(HANDLE handle, LARGE_INTEGER* size) override;
  UINT GetDriveTypeA(LPCSTR root) override;
  BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                         DWORD* totalClusters) override;
  BOOL GetDiskFreeSpaceExA(LPCSTR root, ULARGE_INTEGER* available, ULARGE_INTEGER* total,
                           ULARGE_INTEGER* totalFree) override;

 private:
  bool Mine(HANDLE handle) const { return handle == kHandle && open_ > 0; }
  static inline const HANDLE kHandle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x4E54));
  TDiskImage& image_;
  char letter_;
  UINT driveType_;
  int open_ = 0;
  uint64_t position_ = 0;
};

// The 98 family's "\\.\VWIN32" over an image: Int 21h 7305h absolute reads and writes and
// 440Dh minor 60h device parameters. Buffers reach it as 32-bit device addresses: each
// address is a slot number in the top byte and an offset below it, so the packed blocks
// keep their 32-bit fields on 64-bit builds too.
class TVxdEmulator : public TVxdCalls {
 public:
  TVxdEmulator(TDiskImage& image, uint8_t driveNumber) : image_(image), driveNumber_(driveNumber) {}

  bool OpenFails = false;
  uint8_t DeviceType = 6;         // removable media
  uint16_t DeviceAttributes = 0;  // bit 0: not removable
  std::vector<uint8_t> LastRegisters;  // the register block as the engine sent it
  std::vector<uint8_t> LastPacket;     // the transfer packet or parameter block as sent
  int Transfers = 0;

  HANDLE Open() override;
  BOOL CloseHandle(HANDLE handle) override;
  BOOL DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                       DWORD* returned) override;
  uint32_t DeviceAddress(void* buffer, size_t size) override;

 private:
  struct TSlot {
    uint8_t* Start;
    size_t Size;
  };
  uint8_t* Resolve(uint32_t address, size_t size) const;
  bool Transfer(TVxdRegisters& registers);
  bool DeviceParameters(TVxdRegisters& registers);

  static inline const HANDLE kHandle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x9898));
  TDiskImage& image_;
  uint8_t driveNumber_;
  bool open_ = false;
  std::vector<TSlot> slots_;
};
