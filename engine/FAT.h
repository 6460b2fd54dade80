// The FAT12/16/32 reader: boot sector, FAT entries, directory entries and the walk of the
// directory tree, all read sector by sector through the engine's sector access.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/sysutils.h"

class TScanEngine;

// The first 90 bytes of a boot sector, in the FAT32 layout for every FAT type.
#pragma pack(push, 1)
struct TBootParameterBlock {
  uint8_t JumpBoot[3];
  char OEMName[8];
  uint16_t BytesPerSector;
  uint8_t SectorsPerCluster;
  uint16_t ReservedSectors;
  uint8_t NumberOfFATs;
  uint16_t RootEntryCount;
  uint16_t TotalSectors16;
  uint8_t Media;
  uint16_t FATSize16;
  uint16_t SectorsPerTrack;
  uint16_t NumberHeads;
  uint32_t HiddenSectors;
  uint32_t TotalSectors32;
  uint32_t FATSize32;
  uint16_t ExtendedFlags;
  uint16_t FileSystemVersion;
  uint32_t RootCluster;
  uint16_t FSInfo;
  uint16_t BackupBootSector;
  uint8_t Reserved[12];
  uint8_t DriveNumber;
  uint8_t Reserved1;
  uint8_t BootSignature;
  uint8_t VolumeID[4];
  char VolumeLabel[11];
  char FileSystemType[8];
};
#pragma pack(pop)
static_assert(sizeof(TBootParameterBlock) == 90);
static_assert(offsetof(TBootParameterBlock, RootCluster) == 44);
static_assert(offsetof(TBootParameterBlock, FileSystemType) == 82);

// Classes of a FAT entry.
inline constexpr uint8_t ecLink = 1;
inline constexpr uint8_t ecFree = 2;
inline constexpr uint8_t ecReserved = 4;
inline constexpr uint8_t ecEndOfChain = 8;

// The clusters that follow a start cluster, as each FAT copy gives them; the start
// cluster itself is not part of them.
struct TClusterChains {
  std::vector<uint32_t> FAT1;
  std::vector<uint32_t> FAT2;
};

// One 32-byte directory record.
using TDirectoryRecord = std::array<uint8_t, 32>;

class TSEFAT : public TObject {
 public:
  explicit TSEFAT(TScanEngine* engine) : Engine(engine) {}

  TScanEngine* Engine;
  bool FATValid = false;
  TBootParameterBlock BPB{};

  uint8_t FATType = 0;  // 1 FAT12, 2 FAT16, 3 FAT32
  uint32_t TotalSectors = 0;
  uint16_t BytesPerCluster = 0;
  uint32_t RootCluster = 0;
  uint16_t RootDirSectors = 0;
  uint32_t RootDirSector = 0;
  uint32_t FATSize = 0;
  uint32_t FATSectors = 0;
  uint32_t FirstDataSector = 0;
  uint32_t DataSectors = 0;
  uint32_t CountOfClusters = 0;
  bool FATEmpty = false;
  // Directory sectors the last walk could not read; their records were left out.
  uint32_t DirectoryReadFailures = 0;

  bool ReadBootSector();
  void DumpBootSector(const String& label) const;

  // 0 for a cluster outside 2 .. CountOfClusters + 1 and for an unreadable FAT sector.
  uint32_t ReadFATEntry(uint32_t cluster, int copy);
  static uint8_t ClassifyEntry(uint8_t fatType, uint32_t value);
  bool IsEndOfChain(uint32_t value) const { return ClassifyEntry(FATType, value) == ecEndOfChain; }
  bool IsValidCluster(uint32_t cluster) const { return cluster >= 2 && cluster <= uint64_t(CountOfClusters) + 1; }

  uint32_t ClusterToSector(uint32_t cluster) const;
  uint32_t SectorToCluster(uint32_t sector) const;

  static String EntryName(const uint8_t* entry);
  static String DeletedName(const String& name);
  bool IsPlausibleEntry(const uint8_t* entry) const;
  bool IsFATEmpty();

  // The FAT sector cache is forgotten, so that the next entries are read afresh.
  void ResetFATCache() { fatCacheSector_.reset(); }

  // Directory walk (FATDirectory.cpp).
  bool ReadDirectoryTree();
  void FindChildren(uint32_t cluster, uint32_t sector, bool includeDeleted);
  bool IsDirectoryCluster(uint32_t cluster);
  void BuildClusterChains(uint32_t sector, TClusterChains& chains);

 private:
  // Where one directory being read stands.
  struct TDirectoryCursor {
    uint32_t Cluster = 0;
    uint32_t Sector = 0;
    uint32_t Index = 0;
    std::set<uint32_t> ClustersWalked;  // a looping chain ends where it comes back
    uint32_t RecordSector = 0;  // sector of the current record
    uint32_t RecordOffset = 0;  // its byte offset in that sector
    TDirectoryRecord Record{};
    bool Unreadable = false;  // the current record's sector could not be read
    bool Ended = false;
  };
  struct TEntry {
    TDirectoryRecord Record{};
    String Name;
    bool Moved = false;
  };

  bool ReadOneSector(uint32_t sector, uint8_t* destination, int attempts);
  bool GetNextRecord(TDirectoryCursor& cursor);
  bool GetNextEntry(TDirectoryCursor& cursor, bool includeDeleted, TEntry& entry);
  std::optional<String> ReadLongName(TDirectoryCursor& cursor);
  bool RealignEntry(TDirectoryCursor& cursor);
  const uint8_t* CachedDirectorySector(uint32_t sector);
  void HandleEntry(const TEntry& entry, bool includeDeleted);

  std::vector<uint8_t> fatCache_;  // two sectors: a FAT12 entry may straddle them
  std::optional<uint32_t> fatCacheSector_;
  std::vector<uint8_t> dirCache_;
  std::optional<uint32_t> dirCacheSector_;
  std::optional<uint32_t> dirFailedSector_;  // asked again, it is not read or counted again
};

// A name from the card made safe as a file name inside the output folder: characters
// Windows refuses become "_", device names get a leading "_", trailing dots and blanks
// go. Empty for a name that cannot be a file name ("", ".", "..").
String SafeFileName(const String& name);
