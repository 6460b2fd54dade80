#include "engine/FAT.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/littleendian.h"

namespace {

constexpr int kBootAttempts = 3;
constexpr uint16_t kDefaultBackupBootSector = 6;

String ByteList(const void* data, size_t count) {
  return BytesToText(std::span<const uint8_t>(static_cast<const uint8_t*>(data), count));
}

bool IsDeviceName(const String& base) {
  static constexpr std::string_view kNames[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  const String upper = UpperCase(base);
  for (auto name : kNames)
    if (upper == name) return true;
  return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
         upper[3] >= '0' && upper[3] <= '9';
}

constexpr bool IsPowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

}  // namespace

bool TSEFAT::ReadOneSector(uint32_t sector, uint8_t* destination, int attempts) {
  Engine->KeepInSectorBuffer = false;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    Engine->TransferStart = sector;
    Engine->TransferCount = 1;
    if (Engine->ReadSectors()) {
      if (destination) std::memcpy(destination, Engine->SectorBuffer.data(), BPB.BytesPerSector);
      return true;
    }
  }
  return false;
}

bool TSEFAT::ReadBootSector() {
  try {
    // A new card in the same drive must not be answered from the old card's sectors.
    FATValid = false;
    fatCacheSector_.reset();
    dirCacheSector_.reset();
    dirFailedSector_.reset();
    Engine->EnsureTransferBuffer();
    std::memset(Engine->TransferBuffer.get(), 0, 2048);
    std::memset(Engine->SectorBuffer.data(), 0, 2048);
    BPB = TBootParameterBlock{};

    Engine->KeepInSectorBuffer = false;
    bool read = false;
    for (int attempt = 0; attempt < kBootAttempts && !read; ++attempt) {
      Engine->TransferStart = 0;
      Engine->TransferCount = 1;
      read = Engine->ReadSectors();
    }
    if (!read) {
      WriteErrorLog("BootSector could not be read");
      return false;
    }
    std::memcpy(&BPB, Engine->SectorBuffer.data(), sizeof BPB);
    auto validSectorSize = [this] { return BPB.BytesPerSector == 512 || BPB.BytesPerSector == 2048; };
    if (validSectorSize()) {
      DumpBootSector("VALID BOOTSECTOR");
    } else if (Engine->CurrentDrive && Engine->CurrentDrive->FileSystem == 3) {
      // A wiped sector 0 leaves no pointer to the backup: look where it usually is.
      const uint16_t backup = BPB.BackupBootSector != 0 ? BPB.BackupBootSector : kDefaultBackupBootSector;
      for (int attempt = 0; attempt < kBootAttempts; ++attempt) {
        Engine->TransferStart = backup;
        Engine->TransferCount = 1;
        if (Engine->ReadSectors()) break;
      }
      std::memcpy(&BPB, Engine->SectorBuffer.data(), sizeof BPB);
      DumpBootSector(validSectorSize() ? "VALID BACKUP BOOTSECTOR" : "INVALID DATA IN BOOTSECTOR");
    } else {
      DumpBootSector("INVALID DATA IN BOOTSECTOR");
    }

    // The arithmetic below divides by both and walks records of 32 bytes; a count that is
    // not a power of two, or no FAT at all, reads every chain from the wrong places.
    if (BPB.BytesPerSector < 32 || !IsPowerOfTwo(BPB.BytesPerSector) || !IsPowerOfTwo(BPB.SectorsPerCluster) ||
        BPB.ReservedSectors == 0 || BPB.NumberOfFATs == 0 || (BPB.FATSize16 == 0 && BPB.FATSize32 == 0)) {
      Engine->LastError = 10;
      return false;
    }
    RootDirSectors = static_cast<uint16_t>((uint32_t(BPB.RootEntryCount) * 32 + BPB.BytesPerSector - 1) /
                                           BPB.BytesPerSector);
    FATSize = BPB.FATSize16 != 0 ? BPB.FATSize16 : BPB.FATSize32;
    const uint64_t fatSectors = uint64_t(FATSize) * BPB.NumberOfFATs;
    const uint64_t firstData = BPB.ReservedSectors + fatSectors + RootDirSectors;
    TotalSectors = BPB.TotalSectors16 != 0 ? BPB.TotalSectors16 : BPB.TotalSectors32;
    // A volume larger than the device (a cut image, a card that reports fewer sectors)
    // is still walked: what lies past the device's end fails as any unreadable sector.
    if (firstData > TotalSectors) {
      Engine->LastError = 10;
      return false;
    }
    FATSectors = static_cast<uint32_t>(fatSectors);
    FirstDataSector = static_cast<uint32_t>(firstData);
    DataSectors = TotalSectors - FirstDataSector;
    CountOfClusters = DataSectors / BPB.SectorsPerCluster;
    FATType = CountOfClusters < 4085 ? 1 : CountOfClusters < 65525 ? 2 : 3;
    if (Engine->CurrentDrive) Engine->CurrentDrive->FileSystem = FATType;
    // A damaged count must not make the tables larger than the FAT could ever describe.
    const uint64_t fatEntries = uint64_t(FATSize) * BPB.BytesPerSector * 8 / (FATType == 1 ? 12 : FATType == 2 ? 16 : 32);
    if (fatEntries < uint64_t(CountOfClusters) + 2)
      CountOfClusters = fatEntries >= 2 ? static_cast<uint32_t>(fatEntries - 2) : 0;

    const uint32_t bytesPerCluster = uint32_t(BPB.BytesPerSector) * BPB.SectorsPerCluster;
    if (bytesPerCluster > 32768) {
      Engine->LastError = 12;
      WriteErrorLog("BytesPerCluster > 32768");
      return false;
    }
    BytesPerCluster = static_cast<uint16_t>(bytesPerCluster);
    if (FATType == 3) {
      if (!IsValidCluster(BPB.RootCluster)) {
        Engine->LastError = 13;
        return false;
      }
      RootDirSector = ClusterToSector(BPB.RootCluster);
    } else {
      RootDirSector = BPB.ReservedSectors + BPB.NumberOfFATs * FATSize;
    }
    RootCluster = FATType == 3 ? BPB.RootCluster : 0;
    fatCache_.assign(size_t(BPB.BytesPerSector) * 2, 0);
    dirCache_.assign(BPB.BytesPerSector, 0);
    FATValid = true;
    FATEmpty = IsFATEmpty();
    if (FATEmpty) FATValid = false;
    return true;
  } catch (...) {
    Engine->LastError = 10;
    return false;
  }
}

void TSEFAT::DumpBootSector(const String& label) const {
  const String root = Engine->CurrentDrive ? Engine->CurrentDrive->RootPath : String();
  WriteErrorLog(label + " on " + root);
  WriteErrorLog("JumpBoot           = " + ByteList(BPB.JumpBoot, sizeof BPB.JumpBoot));
  WriteErrorLog("OEM Name           = " + ByteList(BPB.OEMName, sizeof BPB.OEMName));
  WriteErrorLog("BytesPerSector     = " + IntToStr(BPB.BytesPerSector));
  WriteErrorLog("SectorsPerCluster  = " + IntToStr(BPB.SectorsPerCluster));
  WriteErrorLog("ReservedSectors    = " + IntToStr(BPB.ReservedSectors));
  WriteErrorLog("NumberOfFATs       = " + IntToStr(BPB.NumberOfFATs));
  WriteErrorLog("RootEntryCount     = " + IntToStr(BPB.RootEntryCount));
  WriteErrorLog("TotalSectors       = " + IntToStr(BPB.TotalSectors16));
  WriteErrorLog("Media              = " + IntToStr(BPB.Media));
  WriteErrorLog("FAT Size           = " + IntToStr(BPB.FATSize16));
  WriteErrorLog("SectorsPerTrack    = " + IntToStr(BPB.SectorsPerTrack));
  WriteErrorLog("NumberHeads        = " + IntToStr(BPB.NumberHeads));
  WriteErrorLog("HiddenSectors      = " + IntToStr(BPB.HiddenSectors));
  WriteErrorLog("TotalSectors_FAT32 = " + IntToStr(BPB.TotalSectors32));
  WriteErrorLog("FatSize_FAT32      = " + IntToStr(BPB.FATSize32));
  WriteErrorLog("ExtendedFlags      = " + IntToStr(BPB.ExtendedFlags));
  WriteErrorLog("FileSystemVer      = " + IntToStr(BPB.FileSystemVersion));
  WriteErrorLog("RootCluster        = " + IntToStr(BPB.RootCluster));
  WriteErrorLog("BackupBootCluster  = " + IntToStr(BPB.BackupBootSector));
  WriteErrorLog("Reserved           = " + ByteList(BPB.Reserved, sizeof BPB.Reserved));
  WriteErrorLog("DriveNumber        = " + IntToStr(BPB.DriveNumber));
  WriteErrorLog("Reserved2          = " + ByteList(&BPB.Reserved1, 1));
  WriteErrorLog("BootSignature      = " + ByteList(&BPB.BootSignature, 1));
  WriteErrorLog("VolumeID           = " + ByteList(BPB.VolumeID, sizeof BPB.VolumeID));
  WriteErrorLog("VolumeLabel        = " + ByteList(BPB.VolumeLabel, sizeof BPB.VolumeLabel));
  WriteErrorLog("FileSystemType     = " + ByteList(BPB.FileSystemType, sizeof BPB.FileSystemType));
}

uint32_t TSEFAT::ReadFATEntry(uint32_t cluster, int copy) {
  try {
    if (!IsValidCluster(cluster) || fatCache_.empty()) return 0;
    const uint32_t bytesPerSector = BPB.BytesPerSector;
    const uint64_t offset = FATType == 1 ? uint64_t(cluster) + cluster / 2
                            : FATType == 2 ? uint64_t(cluster) * 2
                                           : uint64_t(cluster) * 4;
    const uint64_t sector64 = offset / bytesPerSector + uint64_t(copy) * FATSize + BPB.ReservedSectors;
    if (sector64 >= UINT32_MAX) return 0;
    const auto sector = static_cast<uint32_t>(sector64);
    const auto position = static_cast<uint32_t>(offset % bytesPerSector);
    if (fatCacheSector_ != sector) {
      if (!ReadOneSector(sector, fatCache_.data(), 1)) std::fill_n(fatCache_.begin(), bytesPerSector, 0);
      fatCacheSector_ = sector;
    }
    uint8_t* second = fatCache_.data() + bytesPerSector;
    if (FATType == 1 && position == bytesPerSector - 1 && !ReadOneSector(sector + 1, second, 1))
      std::fill_n(second, bytesPerSector, 0);
    const uint8_t* p = fatCache_.data() + position;
    switch (FATType) {
      case 2: return LoadLE16(p);
      case 3: return LoadLE32(p) & 0x0FFFFFFF;
      default: {
        const uint16_t pair = LoadLE16(p);
        return (cluster & 1) ? pair >> 4 : pair & 0xFFF;
      }
    }
  } catch (...) {
    return 0;
  }
}

uint8_t TSEFAT::ClassifyEntry(uint8_t fatType, uint32_t value) {
  const uint32_t top = fatType == 1 ? 0xFFF : fatType == 2 ? 0xFFFF : 0x0FFFFFFF;
  if (value == 0) return ecFree;
  if (value >= top - 7) return ecEndOfChain;
  if (value >= top - 14) return ecReserved;
  return ecLink;
}

uint32_t TSEFAT::ClusterToSector(uint32_t cluster) const {
  return (cluster - 2) * BPB.SectorsPerCluster + FirstDataSector;
}

uint32_t TSEFAT::SectorToCluster(uint32_t sector) const {
  return BPB.SectorsPerCluster == 0 ? 0 : (sector - FirstDataSector) / BPB.SectorsPerCluster + 2;
}

String TSEFAT::EntryName(const uint8_t* entry) {
  String name;
  for (int i = 0; i < 8; ++i)
    if (entry[i] != ' ') name += static_cast<char>(entry[i]);
  String extension;
  for (int i = 8; i < 11; ++i)
    if (entry[i] != ' ') extension += static_cast<char>(entry[i]);
  return extension.empty() ? name : name + "." + extension;
}

String TSEFAT::DeletedName(const String& name) {
  String result = name;
  if (!result.empty() && static_cast<uint8_t>(result[0]) == 0xE5) result[0] = '_';
  return result;
}

bool TSEFAT::IsPlausibleEntry(const uint8_t* entry) const {
  static constexpr std::string_view kRefused = "\"*+,./:;<=>?[\\]|";
  for (int i = 0; i < 11; ++i) {
    const uint8_t b = entry[i];
    if (b < 32 && !(i == 0 && b == 0x05)) return false;
    if (kRefused.find(static_cast<char>(b)) != std::string_view::npos) return false;
  }
  if (LoadLE32(entry + 28) / 512 > DataSectors) return false;
  const uint32_t cluster = (uint32_t(LoadLE16(entry + 20)) << 16) | LoadLE16(entry + 26);
  if (entry[11] & 0x08) return cluster == 0;
  return IsValidCluster(cluster);
}

bool TSEFAT::IsFATEmpty() {
  try {
    for (uint32_t cluster = 2; cluster <= 16; ++cluster) {
      const uint32_t value = ReadFATEntry(cluster, 0);
      if (ClassifyEntry(FATType, value) == ecLink && value != RootCluster) return false;
    }
  } catch (...) {
  }
  return true;
}

String SafeFileName(const String& name) {
  static constexpr std::string_view kInvalid = "<>:\"/\\|?*";
  String safe;
  for (const char c : name)
    safe += (static_cast<uint8_t>(c) < 32 || kInvalid.find(c) != std::string_view::npos) ? '_' : c;
  // Windows drops trailing dots and blanks, which would merge names or leave none.
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
  if (safe.empty()) return "";
  const String base = safe.substr(0, safe.find('.'));
  if (IsDeviceName(TrimRight(base))) safe = "_" + safe;
  return safe;
}
