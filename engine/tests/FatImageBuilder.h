// Builds small FAT12/16/32 volumes in memory for the engine's tests: files, folders, long
// names, deleted entries, fragmented and looping chains, damaged boot sectors.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/tests/DiskEmulation.h"

struct TFileSpec {
  std::string ShortName;            // "NAME.EXT"
  std::string LongName;             // empty: none
  std::string Content;
  std::vector<uint32_t> Clusters;   // empty: contiguous clusters from the allocator
  bool Deleted = false;             // first byte E5h, FAT entries freed
  int64_t Size = -1;                // directory size; -1: the content's
  uint8_t Attributes = 0x20;
};

class TFatImageBuilder {
 public:
  // A volume with exactly `clusters` clusters; fatType 1 FAT12, 2 FAT16, 3 FAT32.
  TFatImageBuilder(int fatType, uint32_t clusters, uint8_t sectorsPerCluster = 1, uint16_t bytesPerSector = 512);

  TDiskImage Image;
  int FatType;
  uint32_t Clusters;
  uint8_t SectorsPerCluster;
  uint16_t BytesPerSector;
  uint16_t ReservedSectors;
  uint16_t RootEntries;
  uint32_t FATSize;
  uint32_t RootDirSector;  // first sector of the root (the root cluster's on FAT32)
  uint32_t FirstDataSector;
  uint32_t TotalSectors;
  static constexpr uint32_t kRoot = 0;  // the root directory as a parent

  uint32_t ClusterBytes() const { return uint32_t(SectorsPerCluster) * BytesPerSector; }
  uint32_t ClusterToSector(uint32_t cluster) const { return (cluster - 2) * SectorsPerCluster + FirstDataSector; }
  uint8_t* Sector(uint32_t sector) { return Image.Bytes.data() + size_t(sector) * BytesPerSector; }
  uint8_t* Cluster(uint32_t cluster) { return Sector(ClusterToSector(cluster)); }

  uint32_t EndMark() const;
  void SetEntry(uint32_t cluster, uint32_t value, int copy = -1);  // -1: both copies
  uint32_t Entry(uint32_t cluster, int copy = 0) const;
  // Links the clusters in order, the last one ending the chain.
  void Chain(const std::vector<uint32_t>& clusters);
  // The next n unused clusters, marked used.
  std::vector<uint32_t> Allocate(uint32_t n);

  // A deleted directory keeps its "." and ".." records; its cluster is freed.
  uint32_t AddDirectory(uint32_t parent, const std::string& shortName, const std::string& longName = "",
                        bool deleted = false);
  void AddFile(uint32_t parent, const TFileSpec& file);
  // A raw 32-byte record in the next free slot of a directory.
  void AddRecord(uint32_t parent, const std::array<uint8_t, 32>& record);
  static std::array<uint8_t, 32> ShortRecord(const std::string& shortName, uint8_t attributes, uint32_t cluster,
                                             uint32_t size);

 private:
  void WriteBootSector();
  void AddLongName(uint32_t parent, const std::string& longName, const std::array<uint8_t, 32>& shortRecord,
                   bool deleted);
  uint8_t* NextSlot(uint32_t parent);
  std::map<uint32_t, uint32_t> used_;  // records used per directory
  std::map<uint32_t, uint32_t> lastCluster_;
  uint32_t nextFree_ = 2;
};

// The 11 bytes of an 8.3 name, upper case, blank padded.
std::array<uint8_t, 11> ShortNameBytes(const std::string& name);
uint8_t LongNameChecksum(const std::array<uint8_t, 11>& shortName);
