// The walk of a FAT volume's directory tree into the found lists, and the cluster chains.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "engine/Debug.h"
#include "engine/FAT.h"
#include "engine/FoundFiles.h"
#include "engine/SEerrors.h"
#include "engine/ScanEngine.h"
#include "framework/core/littleendian.h"

namespace {

constexpr uint8_t kAttrVolume = 0x08;
constexpr uint8_t kAttrDirectory = 0x10;
constexpr uint8_t kAttrLongName = 0x0F;
constexpr uint8_t kDeletedMark = 0xE5;
constexpr int kLongNameRecords = 18;
constexpr int kLongNameChars = kLongNameRecords * 13;

uint32_t StartCluster(const uint8_t* record) { return (uint32_t(LoadLE16(record + 20)) << 16) | LoadLE16(record + 26); }

String WideToAnsi(const wchar_t* text, int length) {
  if (length <= 0) return "";
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  String result(size_t(std::max(size, 0)), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
  return result;
}

String ChainText(const std::vector<uint32_t>& chain) {
  String text;
  for (const uint32_t cluster : chain) text += IntToStr(cluster) + ",";
  return text;
}

}  // namespace

const uint8_t* TSEFAT::CachedDirectorySector(uint32_t sector) {
  if (dirCacheSector_ == sector) return dirCache_.data();
  if (dirFailedSector_ == sector) return nullptr;
  // One sector: the volume's last one has no second to read with it.
  dirCacheSector_.reset();
  if (ReadOneSector(sector, dirCache_.data(), 1)) {
    dirCacheSector_ = sector;
    return dirCache_.data();
  }
  dirFailedSector_ = sector;
  ++DirectoryReadFailures;
  Engine->LastError = 0;  // counted and logged here, not left pending for the pass's end
  WriteErrorLog("Unable To Read Sector : " + IntToStr(sector) + " For 1 Sectors");
  return nullptr;
}

bool TSEFAT::GetNextRecord(TDirectoryCursor& cursor) {
  if (cursor.Ended || dirCache_.empty()) return false;
  const uint32_t recordsPerSector = BPB.BytesPerSector / 32;
  uint32_t recordSector = 0;
  if (cursor.Cluster == 0) {
    if (cursor.Index >= recordsPerSector) {
      cursor.Index = 0;
      ++cursor.Sector;
    }
    // The fixed root area of FAT12 and FAT16 ends after its sectors; read as sectors,
    // a FAT32 directory can run no further than the volume.
    const uint64_t end = FATType == 3 ? uint64_t(TotalSectors) : uint64_t(RootDirSector) + RootDirSectors;
    if (cursor.Sector >= end) {
      cursor.Ended = true;
      return false;
    }
    recordSector = cursor.Sector;
  } else {
    if (!IsValidCluster(cursor.Cluster)) {
      cursor.Ended = true;
      return false;
    }
    if (cursor.Index >= BytesPerCluster / 32u) {
      const uint32_t next = FATValid ? ReadFATEntry(cursor.Cluster, 0) : cursor.Cluster + 1;
      // A free, bad or looping chain ends the directory as an end mark does.
      cursor.ClustersWalked.insert(cursor.Cluster);
      if (!IsValidCluster(next) || cursor.ClustersWalked.count(next) != 0) {
        cursor.Ended = true;
        return false;
      }
      cursor.Cluster = next;
      cursor.Index = 0;
    }
    recordSector = ClusterToSector(cursor.Cluster) + cursor.Index * 32 / BPB.BytesPerSector;
  }
  const uint8_t* data = CachedDirectorySector(recordSector);
  cursor.RecordSector = recordSector;
  cursor.RecordOffset = (cursor.Index % recordsPerSector) * 32;
  cursor.Unreadable = data == nullptr;
  if (data)
    std::memcpy(cursor.Record.data(), data + cursor.RecordOffset, 32);
  else
    cursor.Record.fill(0);
  ++cursor.Index;
  return true;
}

std::optional<String> TSEFAT::ReadLongName(TDirectoryCursor& cursor) {
  const uint8_t* first = cursor.Record.data();
  if (first[11] != kAttrLongName || LoadLE16(first + 26) != 0 || !(first[0] & 0x40)) return std::nullopt;
  const uint8_t checksum = first[13];
  wchar_t buffer[kLongNameChars] = {};
  int start = kLongNameChars;
  for (int count = 0; count < kLongNameRecords; ++count) {
    const uint8_t* record = cursor.Record.data();
    if (record[11] != kAttrLongName || record[13] != checksum) break;
    start -= 13;
    static constexpr int kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    for (int i = 0; i < 13; ++i) buffer[start + i] = static_cast<wchar_t>(LoadLE16(record + kOffsets[i]));
    if (!GetNextRecord(cursor)) break;
  }
  int length = 0;
  while (start + length < kLongNameChars && buffer[start + length] != 0) ++length;
  if (length == 0) return std::nullopt;
  return WideToAnsi(buffer + start, length);
}

bool TSEFAT::RealignEntry(TDirectoryCursor& cursor) {
  if (cursor.Record[11] == kAttrLongName) return false;
  const uint8_t* data = CachedDirectorySector(cursor.RecordSector);
  if (!data) return false;
  const uint32_t size = BPB.BytesPerSector;
  for (uint32_t shift = 0; shift < 32; ++shift) {
    TDirectoryRecord window{};
    const uint32_t from = cursor.RecordOffset + shift;
    if (from < size) std::memcpy(window.data(), data + from, std::min<uint32_t>(32, size - from));
    if (window[12] != 0) continue;
    if (shift == 0) return false;
    cursor.Record = window;
    return true;
  }
  return false;
}

bool TSEFAT::GetNextEntry(TDirectoryCursor& cursor, bool includeDeleted, TEntry& entry) {
  entry.Moved = false;
  for (;;) {
    if (!GetNextRecord(cursor)) return false;
    // An unreadable sector costs its own records, not the rest of the directory.
    if (cursor.Unreadable) continue;
    const uint8_t first = cursor.Record[0];
    if (first == 0) {
      cursor.Ended = true;
      return false;
    }
    if (includeDeleted || first != kDeletedMark) break;
  }
  if (cursor.Record[11] == kAttrLongName) {
    const std::optional<String> longName = ReadLongName(cursor);
    entry.Name = longName ? *longName : EntryName(cursor.Record.data());
  } else {
    if (!IsPlausibleEntry(cursor.Record.data())) entry.Moved = RealignEntry(cursor);
    entry.Name = EntryName(cursor.Record.data());
  }
  entry.Record = cursor.Record;
  return true;
}

bool TSEFAT::IsDirectoryCluster(uint32_t cluster) {
  if (!IsValidCluster(cluster)) return false;
  const uint32_t sector = ClusterToSector(cluster);
  const uint8_t* data = CachedDirectorySector(sector);
  if (!data) return false;
  TDirectoryRecord dot{}, dotDot{};
  std::memcpy(dot.data(), data, 32);
  if (BPB.BytesPerSector >= 64) {
    std::memcpy(dotDot.data(), data + 32, 32);
  }
  return (dot[11] & kAttrDirectory) && EntryName(dot.data()) == "." && (dotDot[11] & kAttrDirectory) &&
         EntryName(dotDot.data()) == "..";
}

void TSEFAT::HandleEntry(const TEntry& entry, bool includeDeleted) {
  const uint8_t* record = entry.Record.data();
  const uint8_t attributes = record[11];
  const bool deleted = record[0] == kDeletedMark;
  const uint32_t cluster = StartCluster(record);
  auto recoverability = [&] {
    return cluster >= 2 && ClassifyEntry(FATType, ReadFATEntry(cluster, 0)) == ecFree ? rcFreeStart : rcUsedStart;
  };
  if (attributes & kAttrDirectory) {
    if (entry.Name == "." || entry.Name == "..") return;
    if (deleted && !IsDirectoryCluster(cluster)) return;
    auto directory = std::make_unique<TSEDirectory>();
    directory->Cluster = cluster;
    directory->Sector = 0;
    directory->Name = entry.Name;
    if (deleted) {
      directory->Deleted = 1;
      directory->Recoverability = recoverability();
      directory->Name = DeletedName(directory->Name);
    }
    if (Engine->RegisterDirectory(directory.get())) directory.release();
    return;
  }
  if (attributes & kAttrVolume) return;
  if (includeDeleted && !deleted) return;
  if (!IsPlausibleEntry(record)) return;
  auto file = std::make_unique<TSEFile>();
  file->Cluster = cluster;
  file->Attributes = attributes;
  file->Size = LoadLE32(record + 28);
  file->Realigned = entry.Moved;
  String name = entry.Name;
  if (deleted) {
    file->Deleted = 1;
    file->Recoverability = recoverability();
    name = DeletedName(name);
  }
  // The name becomes a path in the output folder: nothing on the card may choose where.
  name = SafeFileName(name);
  if (name.empty()) return;
  file->Name = RecoverabilityPrefix(file->Recoverability) + name;
  if (Engine->RegisterFile(file.get())) file.release();
}

void TSEFAT::FindChildren(uint32_t cluster, uint32_t sector, bool includeDeleted) {
  TDirectoryCursor cursor;
  cursor.Cluster = cluster;
  cursor.Sector = sector;
  for (;;) {
    TScanEngine::ProcessMessages();
    if (Engine->CheckStop()) return;
    TEntry entry;
    if (!GetNextEntry(cursor, includeDeleted, entry)) return;
    try {
      HandleEntry(entry, includeDeleted);
    } catch (const std::exception& e) {
      WriteErrorLog(String("Exception occurred in FindChildren : ") + e.what());
    }
  }
}

bool TSEFAT::ReadDirectoryTree() {
  try {
    DirectoryReadFailures = 0;
    dirFailedSector_.reset();
    // Without its root's first sector the walk cannot even begin.
    if (!CachedDirectorySector(RootDirSector)) return false;
    FindChildren(RootCluster, RootDirSector, true);
    FindChildren(RootCluster, RootDirSector, false);
    FindChildren(0, RootDirSector, true);
    if (Engine->CheckStop()) return false;
    FindChildren(0, RootDirSector, false);
    bool unvisited = true;
    while (unvisited) {
      unvisited = false;
      const int count = FoundDirectories.Count();
      for (int i = 0; i < count; ++i) {
        TSEDirectory* directory = FoundDirectory(i);
        if (directory->Visited) continue;
        unvisited = true;
        FindChildren(directory->Cluster, directory->Sector, true);
        if (Engine->CheckStop()) return false;
        FindChildren(directory->Cluster, directory->Sector, false);
        if (Engine->CheckStop()) return false;
        directory->Visited = true;
      }
    }
    return true;
  } catch (...) {
    return false;
  }
}

void TSEFAT::BuildClusterChains(uint32_t sector, TClusterChains& chains) {
  if (!Engine->CurrentDrive || sector >= Engine->CurrentDrive->TotalSectors) return;
  chains.FAT1.clear();
  chains.FAT2.clear();
  WriteInfoLog("Found File at Sector " + IntToStr(sector));
  if (sector < FirstDataSector || BPB.SectorsPerCluster == 0) return;
  for (int copy = 0; copy < 2; ++copy) {
    std::vector<uint32_t>& chain = copy == 0 ? chains.FAT1 : chains.FAT2;
    uint32_t cluster = SectorToCluster(sector);
    // A looping chain ends where it comes back.
    std::vector<bool> visited(size_t(CountOfClusters) + 2);
    if (IsValidCluster(cluster)) visited[cluster] = true;
    for (;;) {
      const uint32_t next = ReadFATEntry(cluster, copy);
      if (!IsValidCluster(next) || visited[next]) break;
      visited[next] = true;
      chain.push_back(next);
      cluster = next;
    }
  }
  if (DebugMode) {
    WriteInfoLog("FAT1:" + ChainText(chains.FAT1));
    if (chains.FAT1 != chains.FAT2) WriteInfoLog("FAT2:" + ChainText(chains.FAT2));
  }
}

// --- the engine's side: registration and the FAT tables ---

bool TScanEngine::RegisterDirectory(TSEDirectory* directory) {
  // A directory outside the data area cannot be read as one.
  if (!FATReader->IsValidCluster(directory->Cluster)) return false;
  for (int i = 0; i < FoundDirectories.Count(); ++i) {
    const TSEDirectory* known = FoundDirectory(i);
    if (known->Name == directory->Name && known->Cluster == directory->Cluster && known->Sector == directory->Sector)
      return false;
  }
  WriteInfoLog("FAT Directory : " + Trim(directory->Name) + " @ " + IntToStr(directory->Cluster) +
               " Cluster (Sector " + IntToStr(FATReader->ClusterToSector(directory->Cluster)) + ")");
  FoundDirectories.Add(directory);
  return true;
}

bool TScanEngine::RegisterFile(TSEFile* file) {
  if (file->Recoverability == rcUsedStart || file->Cluster == 0) return false;
  for (int i = 0; i < FoundFiles.Count(); ++i) {
    const TSEFile* known = FoundFile(i);
    if (known->Name == file->Name && known->Size == file->Size && known->Cluster == file->Cluster) return false;
  }
  WriteInfoLog("FAT File : " + Trim(file->Name) + " @ " + IntToStr(file->Cluster) + " Cluster (Sector " +
               IntToStr(FATReader->ClusterToSector(file->Cluster)) + ") (Size " + IntToStr(file->Size) + ")");
  FoundFiles.Add(file);
  return true;
}

void TScanEngine::ReadClusterChains() {
  TSEFAT& fat = *FATReader;
  fat.ResetFATCache();
  ProcessMessages();
  const size_t entries = size_t(fat.CountOfClusters) + 2;
  for (int copy = 0; copy < 2; ++copy) {
    std::vector<uint32_t>& table = copy == 0 ? FAT1Table : FAT2Table;
    table.assign(entries, 0);
    int64_t lastFailingSector = -1;
    for (uint32_t cluster = 2; cluster < entries; ++cluster) {
      const uint32_t value = fat.ReadFATEntry(cluster, copy);
      if (LastError == 0) {
        table[cluster] = value;
        continue;
      }
      if (DebugMode && int64_t(TransferStart) != lastFailingSector) {
        lastFailingSector = TransferStart;
        WriteErrorLog("in ReadClusterChains FAT " + IntToStr(copy + 1) + " at Sector " + IntToStr(TransferStart) +
                      " ERR:" + GetWin32ErrorName(static_cast<int32_t>(LastError)));
      }
    }
  }
  if (DebugMode && FAT1Table.size() == FAT2Table.size()) {
    String differences;
    for (size_t cluster = 0; cluster < FAT1Table.size(); ++cluster)
      if (FAT1Table[cluster] != FAT2Table[cluster]) differences += IntToStr(cluster) + ",";
    WriteErrorLog("Cluster Chain difference at Cluster : " + differences);
  }
}
