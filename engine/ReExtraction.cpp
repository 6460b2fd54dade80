// Carved hits whose clusters are not contiguous, saved again by their FAT chain, and the
// JPEG streams of files so saved split apart.
#include <windows.h>

#include <algorithm>

#include "engine/Carving.h"
#include "engine/FileTypes.h"
#include "engine/PassFolders.h"
#include "engine/ScanEngine.h"
#include "engine/intDorvane.h"
#include "framework/core/handles.h"
#include "framework/core/seams.h"

namespace {

// Fragmented when some step of the chain, counted from the start cluster, is not +1.
bool IsFragmented(uint32_t startCluster, const std::vector<uint32_t>& successors) {
  uint32_t previous = startCluster;
  for (uint32_t cluster : successors) {
    if (cluster != previous + 1) return true;
    previous = cluster;
  }
  return false;
}

// The carved copy may still be open in its correction thread, which works on the
// folder at the same time: give the thread a few seconds to let go of it.
bool DeleteCarvedCopy(const String& path) {
  for (int attempt = 0; attempt < 60; ++attempt) {
    if (DeleteFileA(path.c_str())) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
    TScanEngine::ProcessMessages();
    Clock().Sleep(50);
  }
  return false;
}

}  // namespace

void TScanEngine::ReExtractFragmentedHits() {
  if (RAWFiles.Count() == 0) return;
  if (!FATReady) {
    RAWFiles.ClearAndFree();
    return;
  }
  // A pass that ended on a fatal read error or a full output drive has nothing to
  // re-save from, or nowhere to put it: the carved copies are all there is.
  if (ScanEnd) return;
  TSEFAT& fat = *FATReader;
  for (int i = 0; i < RAWFiles.Count(); ++i) {
    if (CheckStop()) return;
    const auto& hit = *static_cast<TSERAWFile*>(RAWFiles.Items(i));
    TClusterChains chains;
    // An unreadable chain stays empty and so counts as contiguous.
    fat.BuildClusterChains(hit.StartSector, chains);
    if (hit.StartSector < fat.FirstDataSector || fat.BPB.SectorsPerCluster == 0) continue;
    const uint32_t start = fat.SectorToCluster(hit.StartSector);
    if (!IsFragmented(start, chains.FAT1)) continue;
    TSEFile file;
    file.Attributes = 0x20;
    file.Cluster = start;
    file.Name = "KVF" + IntToStr(hit.StartSector) + "." + (hit.FileType ? hit.FileType->Extension : String("XXX"));
    // A chain that loops or runs into a free or bad cluster is damaged: the carved copy
    // is the better one.
    const TFileClusters chain = FileClusters(file, fat, FAT1Table);
    if (!chain.Complete) continue;
    // Size 0: the whole chain. The carver's cap guards against a run with no end; a
    // chain has one, and a large photo is whole only with all of it.
    OnProgress(this, static_cast<int32_t>(fat.ClusterToSector(file.Cluster)));
    // Only a whole re-save replaces the carved copy.
    if (SaveFATFileEXT(file, kDezoDoziFolder, false)) DeleteCarvedCopy(hit.Path);
  }
  OnFinished(2);
}

void TScanEngine::DissectCarvedJPEGs() {
  if (!intDorvane::DissectJPEG) return;
  const String folder = GetDestinationFolder() + kDezoDoziFolder;
  WIN32_FIND_DATAA found{};
  std::vector<String> names;
  {
    const FindHandle search(FindFirstFileA((folder + "KVF*.JPG").c_str(), &found));
    if (!search.valid()) return;
    do {
      const String name = found.cFileName;
      if (name != "." && name != "..") names.push_back(folder + name);
    } while (FindNextFileA(search.get(), &found));
  }
  // The library is called once the search is closed: it writes into the same folder.
  for (const String& name : names) intDorvane::DissectJPEG(name.c_str());
}

void TScanEngine::DissectJPEGFile(const String& FileName) {
  if (intDorvane::DissectJPEG) intDorvane::DissectJPEG(FileName.c_str());
}
