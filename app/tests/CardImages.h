// Card images behind the drive letters the card tests' runner maps, and volume calls
// that let a test fail chosen writes or act in the middle of a transfer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/SectorAccess.h"

// The image file behind a letter, as the runner names it (relative to the build folder).
inline std::string CardImagePath(char letter) { return std::string("testdata/app-card-") + char(letter | 0x20) + ".img"; }

inline std::vector<uint8_t> ReadCardImage(char letter) {
  std::ifstream in(CardImagePath(letter), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every sector tells its number and the seed apart from any other image's.
inline std::vector<uint8_t> PatternedSectors(uint32_t sectors, uint8_t seed) {
  std::vector<uint8_t> bytes(size_t(sectors) * 512);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>((i / 512) * 31 + i * 7 + seed) | 1;
  return bytes;
}

inline void WriteCardImage(char letter, const std::vector<uint8_t>& bytes) {
  std::ofstream(CardImagePath(letter), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline bool LetterMapped(char letter) { return GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) > DRIVE_NO_ROOT_DIR; }

// The system's calls, but writes of the chosen sectors fail every time, and a test's
// step runs at the Nth read or write of the volume.
class TSteeredVolumes : public TVolumeCalls {
 public:
  std::set<uint32_t> FailingSectors;
  int StepAt = 0;  // 1-based count of transfers; 0: never
  std::function<void()> Step;
  int Transfers = 0;
  // The device's queries raise, as a driver gone wrong would.
  bool QueriesThrow = false;
  // Roots ("G:\\") the system reports as another kind of drive (DRIVE_CDROM, DRIVE_RAMDISK).
  std::map<std::string, UINT> DriveTypes;

  UINT GetDriveTypeA(LPCSTR root) override {
    const auto kind = DriveTypes.find(root);
    return kind != DriveTypes.end() ? kind->second : TVolumeCalls::GetDriveTypeA(root);
  }

  BOOL DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                       DWORD* returned) override {
    if (QueriesThrow) throw std::runtime_error("the device query failed");
    return TVolumeCalls::DeviceIoControl(handle, code, in, inSize, out, outSize, returned);
  }

  DWORD SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) override {
    const uint64_t offset = (uint64_t(high ? uint32_t(*high) : 0u) << 32) | uint32_t(low);
    sector_ = static_cast<uint32_t>(offset / 512);
    return TVolumeCalls::SetFilePointer(handle, low, high, method);
  }
  BOOL ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* done) override {
    Count();
    return TVolumeCalls::ReadFile(handle, buffer, size, done);
  }
  BOOL WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* done) override {
    Count();
    for (uint32_t s = sector_; s < sector_ + size / 512; ++s)
      if (FailingSectors.count(s)) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
      }
    return TVolumeCalls::WriteFile(handle, buffer, size, done);
  }

 private:
  void Count() {
    if (++Transfers == StepAt && Step) Step();
  }
  uint32_t sector_ = 0;
};
