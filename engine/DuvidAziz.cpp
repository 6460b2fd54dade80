// The DuvidAziz pass: the files of the FAT directory tree saved by their cluster chains.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/Debug.h"
#include "engine/ErrorModeScope.h"
#include "engine/OutputFile.h"
#include "engine/PassFolders.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/fileutils.h"
#include "framework/core/seams.h"

namespace {

// One new output file; closed when it goes.
class TOutputFile {
 public:
  // Folder + Name, or the next free numbered name; Name becomes the name made.
  TOutputFile(const String& folder, String& name) : handle_(CreateNewOutputFile(folder, name, GENERIC_WRITE)) {}
  ~TOutputFile() { Close(); }
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Write(const uint8_t* data, uint32_t size) { return WriteWholeBlock(handle_, data, size); }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace

void TScanEngine::PreScan(char Drive) {
  CurrentDrive = FindDriveInformation(Drive);
  if (!CurrentDrive) return;
  if (CurrentDrive->IsCD) {
    LastError = 1;
    if (OnError) {
      LastError = 50;
      OnError(50, "NOT ON CDROM");
    }
    return;
  }
  if (RefuseWithoutFileTypes()) return;
  WriteInfoLog("Started Pre-Scan");
  StopRequested = Aborted = ScanEnd = false;
  FATReady = false;
  const String folder = GetDestinationFolder();
  ForceDirectories(folder + kDezoDoziFolder);
  ForceDirectories(folder + kDuvidAzizFolder);
  FoundDirectories.ClearAndFree();
  FoundFiles.ClearAndFree();
  if (CheckStop()) return;
  Busy = true;
  try {
    struct TPassEnd {
      TScanEngine& engine;
      ~TPassEnd() {
        WriteInfoLog("Finished Pre-Scan");
        engine.Busy = false;
        if (engine.TakeLastError() == 0) engine.OnFinished(1);
        FoundDirectories.ClearAndFree();
        FoundFiles.ClearAndFree();
      }
    };
    TPassEnd passEnd{*this};
    TErrorModeScope errorMode;
    WriteInfoLog("Reading BootSector");
    if (!FATReader->ReadBootSector()) {
      FATReady = false;
      if (OnError) OnError(static_cast<int32_t>(TakeLastError()), "BootSector damage");
      return;
    }
    ReadClusterChains();
    FATReady = true;
    if (CheckStop()) return;
    KeepInSectorBuffer = false;
    WriteInfoLog("Reading FAT Table");
    if (!FATReader->ReadDirectoryTree()) {
      // A walk the user stopped is no read error.
      if (!StopRequested && !Aborted) OnError(70, "Problem Reading FAT");
      return;
    }
    if (CheckStop()) return;
    WriteInfoLog("Saving FAT Files found");
    SaveAllFiles();
  } catch (const std::exception& e) {
    WriteErrorLog(String("Exception in PreScan : ") + e.what());
  }
}

bool TScanEngine::SaveAllFiles() {
  int32_t selected = 0;
  for (int i = 0; i < FoundFiles.Count(); ++i)
    if (IsTypeSelected(ExtractFileExt(FoundFile(i)->Name))) ++selected;
  OnFATFileCount(selected);
  const String folder = GetDestinationFolder();
  for (int i = 0; i < FoundFiles.Count(); ++i) {
    if (CheckStop()) return false;
    TSEFile& file = *FoundFile(i);
    const bool fits = file.Size == 0 || folder.empty() || HasEnoughFreeSpace(folder[0], file.Size);
    if (IsTypeSelected(ExtractFileExt(file.Name))) {
      // A file the output drive has no room for is lost as surely as one it refuses.
      if (fits)
        SaveFATFileEXT(file, kDuvidAzizFolder);
      else
        ReportUnsavedFile(folder + kDuvidAzizFolder + file.Name, ERROR_DISK_FULL,
                          FATReader->ClusterToSector(file.Cluster));
    }
    ProcessMessages();
    OnProgress(this, i + 1);
  }
  return true;
}

bool TScanEngine::SaveFATFileEXT(TSEFile& file, const String& folder, bool keepCutShort) {
  // The file this save made, once it is made.
  String path;
  try {
    const TSEFAT& fat = *FATReader;
    const uint32_t count = fat.CountOfClusters;
    const DWORD started = Clock().TickCount();
    if (DebugMode) WriteInfoLog("SaveFATFileEXT : " + file.Name + " Size:" + IntToStr(file.Size));
    auto entry = [&](uint32_t cluster) -> uint32_t { return cluster < FAT1Table.size() ? FAT1Table[cluster] : 0; };
    if (file.Realigned && file.Cluster >= 1) {
      uint32_t c = file.Cluster;
      for (uint32_t steps = 0; steps < count && c >= 1; ++steps) {
        const uint32_t v = entry(c - 1);
        if (v == 0 || v > count || v < c - 1 || v > c) break;
        c = v - 1;
      }
      file.Cluster = c;
    }

    const bool deleted = file.Recoverability == rcFreeStart;
    const std::vector<uint32_t> clusters = FileClusters(file, fat, FAT1Table).Clusters;
    if (DebugMode) {
      WriteInfoLog("Get ClsChns 4 : " + file.Name + (deleted ? " (Deleted File)" : ""));
      String text = "File Clusters:";
      for (uint32_t c : clusters) text += IntToStr(c) + ",";
      WriteInfoLog(text);
      WriteInfoLog("Completed obtaining Cluster Chains");
    }

    const uint32_t bytesPerSector = CurrentDrive->BytesPerSector;
    const uint32_t sectorsPerCluster = fat.BPB.SectorsPerCluster;
    const uint64_t chainBytes = uint64_t(clusters.size()) * sectorsPerCluster * fat.BPB.BytesPerSector;
    if (chainBytes + 512 < file.Size) {
      if (DebugMode)
        WriteInfoLog(file.Name + " FAT Entry Filesize does not correspond to the cluster chains recorded. totalling to " +
                     IntToStr(chainBytes) + " File Size = " + IntToStr(file.Size));
      file.Size = static_cast<uint32_t>(chainBytes);
    }
    if (file.Size == 0) file.Size = static_cast<uint32_t>(std::min<uint64_t>(chainBytes, UINT32_MAX));
    if (clusters.empty()) throw Exception("no cluster of the file lies on the volume");
    if (uint64_t(sectorsPerCluster) * bytesPerSector > SectorBufferSize || sectorsPerCluster == 0)
      throw Exception("cluster larger than the transfer buffer");

    // A name an earlier file of the folder has is not taken from it: the next free one is.
    const String target = GetDestinationFolder() + folder;
    TOutputFile output(target, file.Name);
    if (!output.Valid()) {
      ReportUnsavedFile(target + file.Name, GetLastError(), fat.ClusterToSector(clusters[0]));
      return false;
    }
    path = target + file.Name;
    if (DebugMode) WriteInfoLog("Started to Save File to disk");
    ProcessMessages();

    // A run: ascending consecutive clusters, never more than one buffer.
    const uint32_t largest =
        std::max<uint32_t>(sectorsPerCluster,
                           std::min<uint32_t>(std::max<uint16_t>(CurrentDrive->SectorsPerRequest, 1),
                                              uint32_t(SectorBufferSize / std::max<uint32_t>(bytesPerSector, 1))));
    EnsureTransferBuffer();
    // A size a little past the chain is copied as far as the chain goes.
    uint64_t remaining = std::min<uint64_t>(file.Size, chainBytes);
    // The cause, taken when it happens: the log's own file calls change the system's.
    DWORD writeError = NO_ERROR;
    size_t position = 0;
    std::vector<uint8_t> single(bytesPerSector);
    while (remaining > 0 && !StopRequested && !ScanEnd && position < clusters.size()) {
      WaitWhilePausedUntilCancel(50);
      size_t end = position + 1;
      uint32_t sectors = sectorsPerCluster;
      while (end < clusters.size() && clusters[end] == clusters[end - 1] + 1 && sectors + sectorsPerCluster <= largest) {
        sectors += sectorsPerCluster;
        ++end;
      }
      const uint32_t start = fat.ClusterToSector(clusters[position]);
      if (DebugMode)
        WriteInfoLog("Reading Logical Sectors : Sector " + IntToStr(start) + " SectorsToRead: " + IntToStr(sectors));
      bool good = false;
      for (uint32_t attempt = 0; attempt <= RetryCount && !good; ++attempt) {
        TransferStart = start;
        TransferCount = static_cast<uint16_t>(sectors);
        good = ReadSectors();
      }
      if (!good) {
        // Sector by sector, so that only the unreadable sectors become zeros.
        std::vector<uint8_t> run(size_t(sectors) * bytesPerSector, 0);
        for (uint32_t s = 0; s < sectors; ++s) {
          TransferStart = start + s;
          TransferCount = 1;
          if (ReadSectors()) std::memcpy(run.data() + size_t(s) * bytesPerSector, TransferBuffer.get(), bytesPerSector);
        }
        std::memcpy(TransferBuffer.get(), run.data(), run.size());
        // Saved as zeros, the sectors are dealt with: their error must not stay pending
        // and keep the pass from finishing.
        LastError = 0;
      }
      const uint32_t bytes = static_cast<uint32_t>(std::min<uint64_t>(uint64_t(sectors) * bytesPerSector, remaining));
      if (!output.Write(TransferBuffer.get(), bytes)) {
        writeError = GetLastError();
        break;
      }
      remaining -= bytes;
      position = end;
      ProcessMessages();
    }
    if (!output.Close() && writeError == NO_ERROR) {
      const DWORD error = GetLastError();
      writeError = error != NO_ERROR ? error : ERROR_WRITE_FAULT;
    }
    if (DebugMode) WriteInfoLog("Finished Saving file in " + IntToStr(Clock().TickCount() - started) + " ms");
    if (writeError != NO_ERROR) {
      DeleteFileA(path.c_str());
      ReportUnsavedFile(path, writeError, fat.ClusterToSector(clusters[0]));
      return false;
    }
    // Stopped or ended before its last byte: no saved file, though it may stay, shorter.
    if (remaining > 0) {
      if (!keepCutShort) DeleteFileA(path.c_str());
      return false;
    }
    OnFATFileSaved(file.Name);
    return true;
  } catch (const std::exception& e) {
    WriteErrorLog("Exc in SaveFATFileEXT : " + file.Name + "  err:" + e.what());
    if (!keepCutShort && !path.empty()) DeleteFileA(path.c_str());
    return false;
  }
}
