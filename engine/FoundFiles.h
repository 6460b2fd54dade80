// Directories and files found by the walk of a FAT volume's directory tree.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/STD_LIST.h"
#include "framework/core/sysutils.h"

// Recoverability of a found entry.
inline constexpr uint8_t rcLive = 0;
inline constexpr uint8_t rcFreeStart = 1;  // deleted, start cluster free: "GC_"
inline constexpr uint8_t rcUsedStart = 2;  // deleted, start cluster reused: "PC_"

class TSEFAT;

class TSEDirectory : public TObject {
 public:
  String Name;
  uint32_t Cluster = 0;
  uint32_t Sector = 0;
  uint8_t Deleted = 0;  // bit 0
  uint8_t Recoverability = rcLive;
  bool Visited = false;
};

class TSEFile : public TObject {
 public:
  uint8_t Attributes = 0;
  uint32_t Cluster = 0;
  String Name;  // with its prefix
  uint32_t Size = 0;
  uint8_t Deleted = 0;  // bit 0
  uint8_t Recoverability = rcLive;
  bool Realigned = false;  // found at a later byte position than its record
};

// The clusters a file is read from, by FAT copy 1 (indexed by cluster).
struct TFileClusters {
  std::vector<uint32_t> Clusters;
  // The chain ended at its end mark or reached the file's size; not at a loop, a free,
  // bad or out-of-range cluster.
  bool Complete = false;
};
// A live file follows its chain, across a free entry to the next cluster while its size
// asks for more; a deleted one (start cluster free) the free clusters after its start.
// Either stops at its size; a deleted file without size is one cluster.
TFileClusters FileClusters(const TSEFile& file, const TSEFAT& fat, const std::vector<uint32_t>& fat1Table);

// The prefix a found file's name gets for its recoverability.
String RecoverabilityPrefix(uint8_t recoverability);

// Filled by the walk of one DuvidAziz pass and emptied when it ends.
extern TSEClassList FoundDirectories;
extern TSEClassList FoundFiles;

inline TSEDirectory* FoundDirectory(int i) { return static_cast<TSEDirectory*>(FoundDirectories.Items(i)); }
inline TSEFile* FoundFile(int i) { return static_cast<TSEFile*>(FoundFiles.Items(i)); }
