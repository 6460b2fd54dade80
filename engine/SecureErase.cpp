// Secure erase: a FAT volume gets empty file allocation tables (and an empty FAT12/16
// root) and zeros in its data area; any other volume gets zeros everywhere but sector 0.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <exception>

#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"

namespace {

// The first bytes of an empty FAT copy, by file-system code (1 FAT12, 2 FAT16, 3 FAT32).
struct TEmptyFatHeader {
  uint8_t Size;
  std::array<uint8_t, 16> Bytes;
};
constexpr std::array<TEmptyFatHeader, 3> kEmptyFatHeaders{{
    {4, {0xF0, 0xFF, 0xFF, 0xFF}},
    {10, {0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    {16, {0xF8, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F}},
}};

// The FAT regions of a boot sector: [Reserved, Reserved + FATSize) is the first copy,
// [Reserved + FATSize, FirstData) the second copy and a FAT12/16 root.
struct TFatRegions {
  uint32_t Reserved = 0;
  uint32_t FATSize = 0;
  uint32_t FirstData = 0;
  uint32_t Total = 0;
};

// The regions only when they make sense on this drive: a damaged boot sector must not
// aim the zeros at the boot sector itself or past the drive's end.
bool ConsistentRegions(const TSEFAT& fat, uint8_t fileSystem, uint32_t driveSectors, TFatRegions& regions) {
  const TBootParameterBlock& bpb = fat.BPB;
  regions.Reserved = bpb.ReservedSectors;
  regions.FATSize = fileSystem == 3 ? bpb.FATSize32 : bpb.FATSize16;
  regions.FirstData = fat.FirstDataSector;
  regions.Total = bpb.TotalSectors16 != 0 ? bpb.TotalSectors16 : bpb.TotalSectors32;
  return regions.Reserved >= 1 && bpb.NumberOfFATs >= 1 && regions.FATSize >= 1 &&
         uint64_t(regions.Reserved) + regions.FATSize <= regions.FirstData && regions.FirstData <= regions.Total &&
         regions.Total <= driveSectors;
}

class TEraser {
 public:
  explicit TEraser(TScanEngine& engine)
      : engine_(engine),
        perRequest_(std::clamp<uint32_t>(engine.CurrentDrive->SectorsPerRequest, 1,
                                         uint32_t(SectorBufferSize / engine.CurrentDrive->BytesPerSector))),
        chunkBytes_(size_t(perRequest_) * engine.CurrentDrive->BytesPerSector) {}

  // Writes the buffer's first chunk over [start, end) in chunks of `chunk` sectors.
  void Run(uint32_t start, uint32_t end, uint32_t chunk) {
    // Never past the drive's end: an image would grow, a device refuses.
    end = std::min(end, engine_.CurrentDrive->TotalSectors);
    engine_.CurrentSector = start;
    while (engine_.CurrentSector < end && !engine_.Aborted) {
      const uint32_t count = std::min(chunk, end - engine_.CurrentSector);
      engine_.TransferStart = engine_.CurrentSector;
      engine_.TransferCount = static_cast<uint16_t>(count);
      uint32_t failures = 0;
      bool written = false;
      while (!written && failures <= engine_.RetryCount) {
        written = engine_.WriteSectors();
        if (!written) ++failures;
        TScanEngine::ProcessMessages();
      }
      if (failures != 0) {
        engine_.OnWriteError(static_cast<int32_t>(engine_.CurrentSector), 2);
        WriteErrorLog("SecureErase - Unable to Write To Sector : " + std::to_string(engine_.CurrentSector));
      }
      engine_.OnProgress(&engine_, static_cast<int32_t>(engine_.CurrentSector));
      engine_.CurrentSector += count;
    }
  }

  void Zero() { std::memset(engine_.TransferBuffer.get(), 0, chunkBytes_); }

  // An empty FAT copy (and, behind it, whatever else lies in [first, end)).
  void EraseFatRegion(uint32_t first, uint32_t end, uint8_t fileSystem) {
    if (first >= end) return;
    Zero();
    const TEmptyFatHeader& header = kEmptyFatHeaders[fileSystem - 1];
    std::memcpy(engine_.TransferBuffer.get(), header.Bytes.data(), header.Size);
    Run(first, first + 1, 1);
    Zero();
    Run(first + 1, end, perRequest_);
  }

  void EraseData(uint32_t first, uint32_t end) {
    Zero();
    Run(first, end, perRequest_);
  }

 private:
  TScanEngine& engine_;
  uint32_t perRequest_;
  size_t chunkBytes_;
};

bool IsSystemDrive(char drive) {
  const std::string windows = GetWindowsFolder();
  return !windows.empty() && std::toupper(static_cast<unsigned char>(windows[0])) ==
                                 std::toupper(static_cast<unsigned char>(drive));
}

}  // namespace

bool TScanEngine::SecureErase(char Drive) {
  bool result = false;
  try {
    StopRequested = false;
    Aborted = false;
    EnsureTransferBuffer();
    CurrentDrive = FindDriveInformation(Drive);
    if (!CurrentDrive) return false;
    // A record without a usable sector size is refused like a CD: nothing can be written.
    if (CurrentDrive->IsCD || IsSystemDrive(Drive) || CurrentDrive->BytesPerSector == 0 ||
        CurrentDrive->BytesPerSector > SectorBufferSize) {
      LastError = 1;
      return false;
    }
    TEraser eraser(*this);
    const uint8_t fileSystem = CurrentDrive->FileSystem;
    uint32_t dataStart = 1;
    uint32_t dataEnd = CurrentDrive->TotalSectors;
    TFatRegions regions;
    if (fileSystem >= 1 && fileSystem <= 3 && FATReader->ReadBootSector() &&
        ConsistentRegions(*FATReader, fileSystem, CurrentDrive->TotalSectors, regions)) {
      if (Aborted) return false;
      eraser.EraseFatRegion(regions.Reserved, regions.Reserved + regions.FATSize, fileSystem);
      if (Aborted) return false;
      eraser.EraseFatRegion(regions.Reserved + regions.FATSize, regions.FirstData, fileSystem);
      if (Aborted) return false;
      dataStart = regions.FirstData;
      dataEnd = regions.Total;
    }
    eraser.EraseData(dataStart, dataEnd);
    result = true;
    LastError = 0;
    OnProgress(this, static_cast<int32_t>(CurrentSector));
    OnFinished(3);
  } catch (const std::exception& e) {
    WriteErrorLog(String("SecureErase - ") + e.what());
    OnError(2, "Failed to Secure Erase");
  }
  return result;
}
