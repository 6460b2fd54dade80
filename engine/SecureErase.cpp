// Secure erase: a FAT volume gets empty file allocation tables, an empty root that keeps
// only the volume's label, and zeros in its data area; any other volume gets zeros
// everywhere but sector 0. The FAT volume stays one a system can use at once.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <exception>
#include <optional>

#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/littleendian.h"

namespace {

// The first bytes of an empty FAT copy, by file-system code (1 FAT12, 2 FAT16, 3 FAT32):
// its two reserved entries, the media byte first. Any more would mark clusters taken
// that no file owns.
struct TEmptyFatHeader {
  uint8_t Size;
  std::array<uint8_t, 8> Bytes;
};
constexpr std::array<TEmptyFatHeader, 3> kEmptyFatHeaders{{
    {3, {0xF0, 0xFF, 0xFF}},
    {4, {0xF8, 0xFF, 0xFF, 0xFF}},
    {8, {0xF8, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F}},
}};

// The first FAT entry repeats the boot sector's media byte, or systems refuse the volume
// ("bad media type"); a byte no FAT may carry keeps the table's default.
uint8_t FirstFatByte(uint8_t media, uint8_t fallback) { return media == 0xF0 || media >= 0xF8 ? media : fallback; }
constexpr uint32_t kFat32EndOfChain = 0x0FFFFFFF;
// The erase's own failure: some sectors could not be written.
constexpr uint32_t kEraseWriteFailed = 2;
constexpr uint8_t kVolumeLabelAttribute = 0x08;
constexpr uint32_t kFsInfoLeadSignature = 0x41615252;
constexpr uint32_t kFsInfoStructSignature = 0x61417272;
constexpr uint32_t kFsInfoTrailSignature = 0xAA550000;
constexpr uint32_t kFsInfoNoHint = 0xFFFFFFFF;

// The volume label a boot sector carries, or nothing: the erased root gets an entry of
// it, since a label in the boot sector that the root does not repeat is a fault.
std::optional<std::array<uint8_t, 11>> VolumeLabelOf(const TSEFAT& fat) {
  const auto* raw = reinterpret_cast<const uint8_t*>(&fat.BPB);
  const size_t signature = fat.FATType == 3 ? 66 : 38;
  if (raw[signature] != 0x29) return std::nullopt;
  std::array<uint8_t, 11> label{};
  std::memcpy(label.data(), raw + signature + 5, label.size());
  const bool blank = std::all_of(label.begin(), label.end(), [](uint8_t c) { return c == ' ' || c == 0; });
  if (blank || std::memcmp(label.data(), "NO NAME    ", label.size()) == 0) return std::nullopt;
  return label;
}

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
      // A chunk no attempt could write still holds what it held: the card is not erased.
      if (!written) writeFailed_ = true;
      engine_.OnProgress(&engine_, static_cast<int32_t>(engine_.CurrentSector));
      engine_.CurrentSector += count;
    }
  }

  bool WriteFailed() const { return writeFailed_; }

  void Zero() { std::memset(engine_.TransferBuffer.get(), 0, chunkBytes_); }

  // An empty FAT copy (and, behind it, whatever else lies in [first, end)). A FAT32 root
  // directory keeps its cluster, as a chain of one.
  void EraseFatRegion(uint32_t first, uint32_t end, uint8_t fileSystem, uint8_t media, uint32_t rootCluster) {
    if (first >= end) return;
    const uint32_t bytesPerSector = engine_.CurrentDrive->BytesPerSector;
    const bool rootEntry = fileSystem == 3;
    const uint64_t rootByte = uint64_t(rootCluster) * 4;
    const uint32_t rootSector = first + static_cast<uint32_t>(rootByte / bytesPerSector);
    const uint32_t rootOffset = static_cast<uint32_t>(rootByte % bytesPerSector);
    Zero();
    const TEmptyFatHeader& header = kEmptyFatHeaders[fileSystem - 1];
    std::memcpy(engine_.TransferBuffer.get(), header.Bytes.data(), header.Size);
    engine_.TransferBuffer[0] = FirstFatByte(media, header.Bytes[0]);
    if (rootEntry && rootSector == first) StoreLE32(engine_.TransferBuffer.get() + rootOffset, kFat32EndOfChain);
    Run(first, first + 1, 1);
    Zero();
    Run(first + 1, end, perRequest_);
    if (rootEntry && rootSector != first && rootSector < end) {
      StoreLE32(engine_.TransferBuffer.get() + rootOffset, kFat32EndOfChain);
      WriteOneSector(rootSector);
    }
  }

  void EraseData(uint32_t first, uint32_t end) {
    Zero();
    Run(first, end, perRequest_);
  }

  // A FAT32 information sector that counts every cluster but the root's as free: the
  // count the volume had before would claim clusters that no file holds any more.
  void WriteFsInfo(uint32_t sector, uint32_t freeClusters) {
    Zero();
    uint8_t* info = engine_.TransferBuffer.get();
    StoreLE32(info, kFsInfoLeadSignature);
    StoreLE32(info + 484, kFsInfoStructSignature);
    StoreLE32(info + 488, freeClusters);
    StoreLE32(info + 492, kFsInfoNoHint);
    StoreLE32(info + 508, kFsInfoTrailSignature);
    WriteOneSector(sector);
  }

  // The first sector of the emptied root: the volume's label and nothing else.
  void WriteVolumeLabel(uint32_t rootSector, const std::array<uint8_t, 11>& label) {
    Zero();
    uint8_t* entry = engine_.TransferBuffer.get();
    std::memcpy(entry, label.data(), label.size());
    entry[11] = kVolumeLabelAttribute;
    WriteOneSector(rootSector);
  }

 private:
  // One sector written out of order: the sector the erase reached stays what it reports.
  void WriteOneSector(uint32_t sector) {
    const uint32_t reached = engine_.CurrentSector;
    Run(sector, sector + 1, 1);
    engine_.CurrentSector = reached;
  }

  TScanEngine& engine_;
  uint32_t perRequest_;
  size_t chunkBytes_;
  bool writeFailed_ = false;
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
    // Without the drive's size the zeros would have no end: an image would grow.
    if (CurrentDrive->TotalSectors == 0) {
      LastError = kDriveSizeUnknown.Code;
      WriteErrorLog(String("SecureErase - ") + kDriveSizeUnknown.Text + " : " + CurrentDrive->RootPath);
      OnError(kDriveSizeUnknown.Code, kDriveSizeUnknown.Text);
      return false;
    }
    TEraser eraser(*this);
    // The boot sector says whether the volume is FAT12, 16 or 32, not the system's name for
    // it: Wine names the host's folder or nothing for a card image, and "FAT" stands for
    // FAT12 and FAT16 alike. No other file system's boot sector passes the reader's checks.
    uint32_t dataStart = 1;
    uint32_t dataEnd = CurrentDrive->TotalSectors;
    TFatRegions regions;
    std::optional<std::array<uint8_t, 11>> label;
    const uint8_t fileSystem = FATReader->ReadBootSector() ? FATReader->FATType : 0;
    if (fileSystem >= 1 && fileSystem <= 3 &&
        ConsistentRegions(*FATReader, fileSystem, CurrentDrive->TotalSectors, regions)) {
      const uint32_t rootCluster = FATReader->RootCluster;
      if (Aborted) return false;
      const uint8_t media = FATReader->BPB.Media;
      eraser.EraseFatRegion(regions.Reserved, regions.Reserved + regions.FATSize, fileSystem, media, rootCluster);
      if (Aborted) return false;
      eraser.EraseFatRegion(regions.Reserved + regions.FATSize, regions.FirstData, fileSystem, media, rootCluster);
      if (Aborted) return false;
      dataStart = regions.FirstData;
      dataEnd = regions.Total;
      label = VolumeLabelOf(*FATReader);
      const uint16_t fsInfo = FATReader->BPB.FSInfo;
      if (fileSystem == 3 && fsInfo >= 1 && fsInfo < regions.Reserved && FATReader->BPB.SectorsPerCluster != 0) {
        const uint32_t clusters = (regions.Total - regions.FirstData) / FATReader->BPB.SectorsPerCluster;
        eraser.WriteFsInfo(fsInfo, clusters > 0 ? clusters - 1 : 0);
      }
    }
    eraser.EraseData(dataStart, dataEnd);
    // Written last, as a FAT32 root lies in the data area.
    if (label) eraser.WriteVolumeLabel(FATReader->RootDirSector, *label);
    result = !eraser.WriteFailed();
    LastError = result ? 0 : kEraseWriteFailed;
    OnProgress(this, static_cast<int32_t>(CurrentSector));
    OnFinished(3);
  } catch (const std::exception& e) {
    WriteErrorLog(String("SecureErase - ") + e.what());
    OnError(2, "Failed to Secure Erase");
  }
  return result;
}
