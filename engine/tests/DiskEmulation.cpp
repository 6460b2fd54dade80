#include "engine/tests/DiskEmulation.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

bool TDiskImage::Readable(uint64_t offset, uint64_t size) const {
  if (size == 0) return true;
  const uint64_t first = offset / 512, last = (offset + size - 1) / 512;
  auto bad = BadSectors.lower_bound(static_cast<uint32_t>(std::min<uint64_t>(first, UINT32_MAX)));
  return bad == BadSectors.end() || *bad > last;
}

TDiskImage TDiskImage::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  TDiskImage image;
  image.Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return image;
}

void TDiskImage::Save(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

// --- NT volume calls ---

HANDLE TImageVolumeCalls::CreateFileA(LPCSTR name, DWORD access, DWORD, DWORD, DWORD) {
  const std::string expected = std::string("\\\\.\\") + letter_ + ":";
  if (_stricmp(name, expected.c_str()) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  ++open_;
  ++Opens;
  LastAccess = access;
  return kHandle;
}

BOOL TImageVolumeCalls::CloseHandle(HANDLE handle) {
  if (!Mine(handle)) return FALSE;
  --open_;
  return TRUE;
}

DWORD TImageVolumeCalls::SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) {
  if (!Mine(handle) || method != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  position_ = (uint64_t(high ? static_cast<DWORD>(*high) : 0) << 32) | static_cast<DWORD>(low);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(low);
}

BOOL TImageVolumeCalls::ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* done) {
  *done = 0;
  if (!Mine(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  ++Reads;
  if (!image_.Readable(position_, size)) {
    SetLastError(ERROR_CRC);
    return FALSE;
  }
  // Like an image file under Wine: at the end, success with fewer bytes.
  const uint64_t available = position_ < image_.Bytes.size() ? image_.Bytes.size() - position_ : 0;
  *done = static_cast<DWORD>(std::min<uint64_t>(size, available));
  std::memcpy(buffer, image_.Bytes.data() + position_, *done);
  position_ += *done;
  return TRUE;
}

BOOL TImageVolumeCalls::WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* done) {
  *done = 0;
  if (!Mine(handle) || (LastAccess & GENERIC_WRITE) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  ++Writes;
  // Like an image file under Wine: a write past the end grows it.
  if (position_ + size > image_.Bytes.size()) image_.Bytes.resize(position_ + size);
  std::memcpy(image_.Bytes.data() + position_, buffer, size);
  position_ += size;
  *done = size;
  return TRUE;
}

BOOL TImageVolumeCalls::DeviceIoControl(HANDLE handle, DWORD code, void*, DWORD, void* out, DWORD outSize,
                                        DWORD* returned) {
  if (!Mine(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (code == IOCTL_DISK_GET_DRIVE_GEOMETRY && AnswerGeometry && outSize >= sizeof Geometry) {
    std::memcpy(out, &Geometry, sizeof Geometry);
    *returned = sizeof Geometry;
    return TRUE;
  }
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

BOOL TImageVolumeCalls::GetFileSizeEx(HANDLE handle, LARGE_INTEGER* size) {
  if (!Mine(handle)) return FALSE;
  size->QuadPart = static_cast<LONGLONG>(image_.Bytes.size());
  return TRUE;
}

UINT TImageVolumeCalls::GetDriveTypeA(LPCSTR root) {
  return root && std::toupper(static_cast<unsigned char>(root[0])) == std::toupper(letter_) ? driveType_
                                                                                              : DRIVE_NO_ROOT_DIR;
}

BOOL TImageVolumeCalls::GetDiskFreeSpaceA(LPCSTR, DWORD*, DWORD*, DWORD*, DWORD*) {
  SetLastError(ERROR_NOT_READY);
  return FALSE;
}

BOOL TImageVolumeCalls::GetDiskFreeSpaceExA(LPCSTR, ULARGE_INTEGER*, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  SetLastError(ERROR_NOT_READY);
  return FALSE;
}

// --- the VWIN32 device ---

HANDLE TVxdEmulator::Open() {
  if (OpenFails) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  open_ = true;
  return kHandle;
}

BOOL TVxdEmulator::CloseHandle(HANDLE handle) {
  if (handle != kHandle || !open_) return FALSE;
  open_ = false;
  return TRUE;
}

uint32_t TVxdEmulator::DeviceAddress(void* buffer, size_t size) {
  auto* start = static_cast<uint8_t*>(buffer);
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].Start == start) {
      slots_[i].Size = std::max(slots_[i].Size, size);
      return static_cast<uint32_t>(i + 1) << 24;
    }
  }
  if (slots_.size() == 255) slots_.erase(slots_.begin());
  slots_.push_back({start, size});
  return static_cast<uint32_t>(slots_.size()) << 24;
}

uint8_t* TVxdEmulator::Resolve(uint32_t address, size_t size) const {
  const uint32_t slot = address >> 24, offset = address & 0xFFFFFF;
  if (slot == 0 || slot > slots_.size()) return nullptr;
  const TSlot& s = slots_[slot - 1];
  return offset + size <= s.Size ? s.Start + offset : nullptr;
}

BOOL TVxdEmulator::DeviceIoControl(HANDLE handle, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                                   DWORD*) {
  if (handle != kHandle || !open_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if ((code != VWIN32_DIOC_DOS_DRIVEINFO && code != VWIN32_DIOC_DOS_IOCTL) || inSize != sizeof(TVxdRegisters) ||
      outSize != sizeof(TVxdRegisters)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  LastRegisters.assign(static_cast<uint8_t*>(in), static_cast<uint8_t*>(in) + inSize);
  TVxdRegisters registers;
  std::memcpy(&registers, in, sizeof registers);
  const bool ok = code == VWIN32_DIOC_DOS_DRIVEINFO ? Transfer(registers) : DeviceParameters(registers);
  if (ok)
    registers.Flags &= ~CarryFlag;
  else
    registers.Flags |= CarryFlag;
  std::memcpy(out, &registers, sizeof registers);
  return TRUE;
}

bool TVxdEmulator::Transfer(TVxdRegisters& registers) {
  if (registers.EAX != 0x7305 || registers.ECX != 0xFFFFFFFFu || registers.EDX != driveNumber_) return false;
  const uint8_t* packetBytes = Resolve(registers.EBX, sizeof(TDiskTransferPacket));
  if (!packetBytes) return false;
  LastPacket.assign(packetBytes, packetBytes + sizeof(TDiskTransferPacket));
  TDiskTransferPacket packet;
  std::memcpy(&packet, packetBytes, sizeof packet);
  const size_t bytes = size_t(packet.SectorCount) * 512;
  uint8_t* buffer = Resolve(packet.Buffer, bytes);
  const uint64_t offset = uint64_t(packet.StartSector) * 512;
  if (!buffer || offset + bytes > image_.Bytes.size()) return false;
  ++Transfers;
  if (registers.ESI & 1) {
    std::memcpy(image_.Bytes.data() + offset, buffer, bytes);
    return true;
  }
  if (!image_.Readable(offset, bytes)) return false;
  std::memcpy(buffer, image_.Bytes.data() + offset, bytes);
  return true;
}

bool TVxdEmulator::DeviceParameters(TVxdRegisters& registers) {
  if (registers.EAX != 0x440D || registers.ECX != 0x0860 || registers.EBX != driveNumber_) return false;
  uint8_t* block = Resolve(registers.EDX, 32);
  if (!block || image_.Bytes.size() < 512) return false;
  LastPacket.assign(block, block + 32);
  TDeviceParameters parameters;
  std::memcpy(reinterpret_cast<uint8_t*>(&parameters), block, 32);
  parameters.DeviceType = DeviceType;
  parameters.DeviceAttributes = DeviceAttributes;
  // The BIOS parameter block is the boot sector's, from its byte 11.
  std::memcpy(reinterpret_cast<uint8_t*>(&parameters) + 7, image_.Bytes.data() + 11, 25);
  const uint32_t perCylinder = uint32_t(parameters.Heads) * parameters.SectorsPerTrack;
  const uint32_t total = parameters.TotalSectors16 ? parameters.TotalSectors16 : parameters.TotalSectors32;
  parameters.Cylinders = static_cast<uint16_t>(perCylinder ? total / perCylinder : 0);
  std::memcpy(block, &parameters, 32);
  return true;
}
