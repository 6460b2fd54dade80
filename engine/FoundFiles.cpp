#include "engine/FoundFiles.h"

#include "engine/FAT.h"

TSEClassList FoundDirectories;
TSEClassList FoundFiles;

String RecoverabilityPrefix(uint8_t recoverability) {
  switch (recoverability) {
    case rcFreeStart: return "GC_";
    case rcUsedStart: return "PC_";
    default: return "";
  }
}

TFileClusters FileClusters(const TSEFile& file, const TSEFAT& fat, const std::vector<uint32_t>& fat1Table) {
  TFileClusters result;
  if (!fat.IsValidCluster(file.Cluster)) return result;
  const bool deleted = file.Recoverability == rcFreeStart;
  const uint64_t clusterBytes = uint64_t(fat.BPB.SectorsPerCluster) * fat.BPB.BytesPerSector;
  const uint64_t needed = file.Size != 0 && clusterBytes != 0 ? (file.Size + clusterBytes - 1) / clusterBytes
                          : deleted                         ? 1
                                                            : UINT64_MAX;
  auto entry = [&](uint32_t cluster) { return cluster < fat1Table.size() ? fat1Table[cluster] : 0u; };
  std::vector<bool> visited(size_t(fat.CountOfClusters) + 2);
  auto append = [&](uint32_t cluster) {
    visited[cluster] = true;
    result.Clusters.push_back(cluster);
  };
  append(file.Cluster);
  while (result.Clusters.size() < needed) {
    const uint32_t cur = result.Clusters.back();
    const uint32_t next = entry(cur);
    if (deleted) {
      const uint32_t following = next == 0 ? cur + 1 : next;
      if (!fat.IsValidCluster(following) || visited[following]) break;
      append(following);
      if (next != 0) break;
      continue;
    }
    if (fat.IsEndOfChain(next)) {
      result.Complete = true;
      break;
    }
    // A free entry inside a file that still has bytes to come is most often an unreadable
    // FAT sector, read as zeros: the file goes on in the next cluster. Without a size
    // nothing tells how far, so the chain ends there.
    const uint32_t following = next == 0 && file.Size != 0 ? cur + 1 : next;
    if (!fat.IsValidCluster(following) || visited[following]) break;
    append(following);
  }
  if (result.Clusters.size() >= needed) result.Complete = true;
  return result;
}
