#include "engine/tests/FatImageBuilder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "framework/core/littleendian.h"

std::array<uint8_t, 11> ShortNameBytes(const std::string& name) {
  std::array<uint8_t, 11> bytes;
  bytes.fill(' ');
  if (name == "." || name == "..") {
    std::copy(name.begin(), name.end(), bytes.begin());
    return bytes;
  }
  const size_t dot = name.rfind('.');
  const std::string base = name.substr(0, dot), extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  for (size_t i = 0; i < base.size() && i < 8; ++i) bytes[i] = static_cast<uint8_t>(std::toupper(base[i]));
  for (size_t i = 0; i < extension.size() && i < 3; ++i)
    bytes[8 + i] = static_cast<uint8_t>(std::toupper(extension[i]));
  return bytes;
}

uint8_t LongNameChecksum(const std::array<uint8_t, 11>& shortName) {
  uint8_t sum = 0;
  for (const uint8_t c : shortName) sum = static_cast<uint8_t>(((sum & 1) << 7) + (sum >> 1) + c);
  return sum;
}

TFatImageBuilder::TFatImageBuilder(int fatType, uint32_t clusters, uint8_t sectorsPerCluster,
                                   uint16_t bytesPerSector)
    : FatType(fatType), Clusters(clusters), SectorsPerCluster(sectorsPerCluster), BytesPerSector(bytesPerSector) {
  const uint32_t bits = fatType == 1 ? 12 : fatType == 2 ? 16 : 32;
  ReservedSectors = fatType == 3 ? 32 : 1;
  RootEntries = fatType == 3 ? 0 : 512;
  FATSize = static_cast<uint32_t>(((uint64_t(clusters) + 2) * bits / 8 + 1 + BytesPerSector - 1) / BytesPerSector);
  const uint32_t rootSectors = RootEntries * 32 / BytesPerSector;
  FirstDataSector = ReservedSectors + 2 * FATSize + rootSectors;
  TotalSectors = FirstDataSector + clusters * sectorsPerCluster;
  Image.Bytes.assign(size_t(TotalSectors) * BytesPerSector, 0);
  RootDirSector = fatType == 3 ? ClusterToSector(2) : ReservedSectors + 2 * FATSize;
  SetEntry(0, fatType == 1 ? 0xFF8 : fatType == 2 ? 0xFFF8 : 0x0FFFFFF8);
  SetEntry(1, EndMark());
  if (fatType == 3) {
    Allocate(1);
    SetEntry(2, EndMark());
    lastCluster_[kRoot] = 2;
  }
  WriteBootSector();
}

void TFatImageBuilder::WriteBootSector() {
  uint8_t* b = Sector(0);
  b[0] = 0xEB;
  b[1] = 0x58;
  b[2] = 0x90;
  std::memcpy(b + 3, "MSWIN4.1", 8);
  StoreLE16(b + 11, BytesPerSector);
  b[13] = SectorsPerCluster;
  StoreLE16(b + 14, ReservedSectors);
  b[16] = 2;
  StoreLE16(b + 17, RootEntries);
  if (FatType != 3 && TotalSectors < 65536)
    StoreLE16(b + 19, TotalSectors);
  else
    StoreLE32(b + 32, TotalSectors);
  b[21] = 0xF8;
  StoreLE16(b + 24, 63);
  StoreLE16(b + 26, 255);
  if (FatType == 3) {
    StoreLE32(b + 36, FATSize);
    StoreLE32(b + 44, 2);
    StoreLE16(b + 48, 1);
    StoreLE16(b + 50, 6);
    b[64] = 0x80;
    b[66] = 0x29;
    StoreLE32(b + 67, 0x12345678);
    std::memcpy(b + 71, "NO NAME    FAT32   ", 19);
  } else {
    StoreLE16(b + 22, FATSize);
    b[36] = 0x80;
    b[38] = 0x29;
    StoreLE32(b + 39, 0x12345678);
    std::memcpy(b + 43, FatType == 1 ? "NO NAME    FAT12   " : "NO NAME    FAT16   ", 19);
  }
  b[510] = 0x55;
  b[511] = 0xAA;
  if (FatType == 3) {
    uint8_t* info = Sector(1);
    StoreLE32(info, 0x41615252);
    StoreLE32(info + 484, 0x61417272);
    StoreLE32(info + 488, 0xFFFFFFFF);
    StoreLE32(info + 492, 0xFFFFFFFF);
    info[BytesPerSector - 2] = 0x55;
    info[BytesPerSector - 1] = 0xAA;
    std::memcpy(Sector(6), b, BytesPerSector);
  }
}

uint32_t TFatImageBuilder::EndMark() const {
  return FatType == 1 ? 0xFFF : FatType == 2 ? 0xFFFF : 0x0FFFFFFF;
}

void TFatImageBuilder::SetEntry(uint32_t cluster, uint32_t value, int copy) {
  for (int c = 0; c < 2; ++c) {
    if (copy != -1 && copy != c) continue;
    uint8_t* fat = Sector(ReservedSectors + c * FATSize);
    switch (FatType) {
      case 1: {
        uint8_t* p = fat + cluster + cluster / 2;
        uint32_t word = LoadLE16(p);
        word = (cluster & 1) ? (word & 0x000F) | ((value & 0xFFF) << 4) : (word & 0xF000) | (value & 0xFFF);
        StoreLE16(p, word);
        break;
      }
      case 2: StoreLE16(fat + cluster * 2, value); break;
      default: StoreLE32(fat + cluster * 4, (LoadLE32(fat + cluster * 4) & 0xF0000000) | (value & 0x0FFFFFFF));
    }
  }
}

uint32_t TFatImageBuilder::Entry(uint32_t cluster, int copy) const {
  const uint8_t* fat = Image.Bytes.data() + size_t(ReservedSectors + copy * FATSize) * BytesPerSector;
  switch (FatType) {
    case 1: {
      const uint32_t word = LoadLE16(fat + cluster + cluster / 2);
      return (cluster & 1) ? word >> 4 : word & 0xFFF;
    }
    case 2: return LoadLE16(fat + cluster * 2);
    default: return LoadLE32(fat + cluster * 4) & 0x0FFFFFFF;
  }
}

void TFatImageBuilder::Chain(const std::vector<uint32_t>& clusters) {
  for (size_t i = 0; i < clusters.size(); ++i) SetEntry(clusters[i], i + 1 < clusters.size() ? clusters[i + 1] : EndMark());
  for (const uint32_t c : clusters) nextFree_ = std::max(nextFree_, c + 1);
}

std::vector<uint32_t> TFatImageBuilder::Allocate(uint32_t n) {
  std::vector<uint32_t> result;
  while (result.size() < n) {
    if (nextFree_ > Clusters + 1) throw std::runtime_error("image full");
    result.push_back(nextFree_++);
  }
  return result;
}

std::array<uint8_t, 32> TFatImageBuilder::ShortRecord(const std::string& shortName, uint8_t attributes,
                                                      uint32_t cluster, uint32_t size) {
  std::array<uint8_t, 32> record{};
  const auto name = ShortNameBytes(shortName);
  std::copy(name.begin(), name.end(), record.begin());
  record[11] = attributes;
  StoreLE16(record.data() + 20, cluster >> 16);
  StoreLE16(record.data() + 26, cluster & 0xFFFF);
  StoreLE32(record.data() + 28, size);
  return record;
}

uint8_t* TFatImageBuilder::NextSlot(uint32_t parent) {
  uint32_t& used = used_[parent];
  if (parent == kRoot && FatType != 3) {
    if (used >= RootEntries) throw std::runtime_error("root full");
    return Sector(RootDirSector) + 32 * size_t(used++);
  }
  const uint32_t perCluster = ClusterBytes() / 32;
  uint32_t& last = lastCluster_[parent == kRoot ? kRoot : parent];
  if (last == 0) last = parent;
  if (used > 0 && used % perCluster == 0) {
    const uint32_t added = Allocate(1)[0];
    SetEntry(last, added);
    SetEntry(added, EndMark());
    std::memset(Cluster(added), 0, ClusterBytes());
    last = added;
  }
  return Cluster(last) + 32 * size_t(used++ % perCluster);
}

void TFatImageBuilder::AddRecord(uint32_t parent, const std::array<uint8_t, 32>& record) {
  std::memcpy(NextSlot(parent), record.data(), 32);
}

void TFatImageBuilder::AddLongName(uint32_t parent, const std::string& longName,
                                   const std::array<uint8_t, 32>& shortRecord, bool deleted) {
  std::array<uint8_t, 11> shortName;
  std::copy_n(shortRecord.begin(), 11, shortName.begin());
  const uint8_t checksum = LongNameChecksum(shortName);
  std::vector<uint16_t> chars(longName.begin(), longName.end());
  const size_t records = (chars.size() + 12) / 13;
  if (chars.size() % 13 != 0) chars.push_back(0);
  chars.resize(records * 13, 0xFFFF);
  static constexpr int kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  for (size_t n = records; n >= 1; --n) {
    std::array<uint8_t, 32> record{};
    record[0] = deleted ? 0xE5 : static_cast<uint8_t>(n | (n == records ? 0x40 : 0));
    record[11] = 0x0F;
    record[13] = checksum;
    for (int i = 0; i < 13; ++i) StoreLE16(record.data() + kOffsets[i], chars[(n - 1) * 13 + i]);
    AddRecord(parent, record);
  }
}

uint32_t TFatImageBuilder::AddDirectory(uint32_t parent, const std::string& shortName, const std::string& longName,
                                        bool deleted) {
  const uint32_t cluster = Allocate(1)[0];
  SetEntry(cluster, EndMark());
  std::memset(Cluster(cluster), 0, ClusterBytes());
  lastCluster_[cluster] = cluster;
  AddRecord(cluster, ShortRecord(".", 0x10, cluster, 0));
  AddRecord(cluster, ShortRecord("..", 0x10, parent == kRoot ? 0 : parent, 0));
  auto record = ShortRecord(shortName, 0x10, cluster, 0);
  if (!longName.empty()) AddLongName(parent, longName, record, deleted);
  if (deleted) {
    record[0] = 0xE5;
    SetEntry(cluster, 0);
  }
  AddRecord(parent, record);
  return cluster;
}

void TFatImageBuilder::AddFile(uint32_t parent, const TFileSpec& file) {
  std::vector<uint32_t> clusters = file.Clusters;
  if (clusters.empty() && !file.Content.empty())
    clusters = Allocate(static_cast<uint32_t>((file.Content.size() + ClusterBytes() - 1) / ClusterBytes()));
  for (size_t i = 0; i < clusters.size(); ++i) {
    const size_t from = i * ClusterBytes();
    if (from >= file.Content.size()) break;
    std::memcpy(Cluster(clusters[i]), file.Content.data() + from,
                std::min<size_t>(ClusterBytes(), file.Content.size() - from));
  }
  Chain(clusters);
  if (file.Deleted)
    for (const uint32_t c : clusters) SetEntry(c, 0);
  const uint32_t size = file.Size >= 0 ? static_cast<uint32_t>(file.Size) : static_cast<uint32_t>(file.Content.size());
  auto record = ShortRecord(file.ShortName, file.Attributes, clusters.empty() ? 0 : clusters[0], size);
  // A deletion marks the long-name records too.
  if (!file.LongName.empty()) AddLongName(parent, file.LongName, record, file.Deleted);
  if (file.Deleted) record[0] = 0xE5;
  AddRecord(parent, record);
}
