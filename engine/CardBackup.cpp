// Card backup and restore: every sector of a removable drive into one ".KV3" file (a
// 32-bit sector count, then the sectors in order) and such a file back onto a card.
#include "engine/CardBackup.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <exception>

#include "engine/Debug.h"
#include "engine/OutputFile.h"
#include "engine/SEerrors.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/fileutils.h"
#include "framework/core/handles.h"
#include "framework/core/littleendian.h"
#include "framework/core/streams.h"

namespace {

constexpr uint8_t kRemovable = 2;
constexpr char kRemovableText[] = "Drive Must be Removable";

String WithTrailingBackslash(const String& folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  return folder + "\\";
}

// A drive whose sector size the transfer buffers cannot hold is not one we can copy.
bool UsableSectorSize(const TSEDriveInformation& drive) {
  return drive.BytesPerSector != 0 && drive.BytesPerSector <= SectorBufferSize;
}

// What a restore may write: the file's sector count, or the reason it is refused.
struct TBackupCheck {
  const TRestoreFailure* Failure = nullptr;
  uint32_t Sectors = 0;
};

TBackupCheck CheckBackupFile(TFileStream* file, DWORD attributes, const TSEDriveInformation& drive) {
  if (attributes == INVALID_FILE_ATTRIBUTES) return {&kRestoreFileMissing};
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {&kRestoreFileIsFolder};
  if (!file) return {&kRestoreFileUnreadable};
  const int64_t size = file->Size();
  if (size == 0) return {&kRestoreFileEmpty};
  uint8_t header[4] = {};
  if (size < int64_t(sizeof header) || file->Read(header, sizeof header) != sizeof header) return {&kRestoreNoHeader};
  const uint32_t sectors = LoadLE32(header);
  if (sectors == 0) return {&kRestoreNoSectors};
  if (sectors > drive.TotalSectors || !UsableSectorSize(drive)) return {&kRestoreNotBigEnough};
  if (size < int64_t(sizeof header) + int64_t(sectors) * drive.BytesPerSector) return {&kRestoreFileCut};
  return {nullptr, sectors};
}

}  // namespace

bool TScanEngine::BackupCard(const String& Name, const String& Folder) {
  StopRequested = false;
  Aborted = false;
  ScanEnd = false;
  if (!CurrentDrive) return false;
  if (CurrentDrive->MediaType != kRemovable) {
    OnError(80, kRemovableText);
    return false;
  }
  if (!UsableSectorSize(*CurrentDrive)) {
    WriteErrorLog("BackupCard - unusable sector size : " + std::to_string(CurrentDrive->BytesPerSector));
    return false;
  }
  // A card whose end is unknown has no sector count to back up or to restore later.
  if (CurrentDrive->TotalSectors == 0) {
    WriteErrorLog(String("BackupCard - ") + kDriveSizeUnknown.Text + " : " + CurrentDrive->RootPath);
    OnError(kDriveSizeUnknown.Code, kDriveSizeUnknown.Text);
    return false;
  }
  // Folder and name are joined with a separator, so the file lands inside the folder.
  const String folder = WithTrailingBackslash(Folder.empty() ? ProgramFolder : Folder);
  const String fileName = folder + (Name.empty() ? String("Backup") : Name) + ".KV3";
  // The copy is written beside the backup it replaces and takes its name only once it is
  // whole: a cancelled or failed backup leaves an earlier one of the name as it was. The
  // copy is a file made new here, never one that exists: that one is a user's.
  String temporaryName = ExtractFileName(fileName) + ".tmp";
  KernelHandle temporaryFile(CreateNewOutputFile(folder, temporaryName, GENERIC_WRITE));
  if (!temporaryFile) {
    WriteErrorLog("Unable to create backup file in " + folder + " : " + GetWin32ErrorName(int32_t(GetLastError())));
    return false;
  }
  const String temporary = folder + temporaryName;
  bool complete = false;
  try {
    complete = CopyCardInto(temporaryFile.get(), temporary);
  } catch (const std::exception& e) {
    WriteErrorLog(String("Exception raised in : .BackupCard") + e.what());
  }
  complete = CloseHandle(temporaryFile.release()) && complete;
  StopRequested = false;
  Aborted = false;
  if (complete && MoveFileExA(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  if (complete) WriteErrorLog("Unable to replace backup file " + fileName + " : " + std::to_string(GetLastError()));
  DeleteFileA(temporary.c_str());
  return false;
}

bool TScanEngine::CopyCardInto(HANDLE file, const String& fileName) {
  const uint32_t total = CurrentDrive->TotalSectors;
  const uint32_t bytesPerSector = CurrentDrive->BytesPerSector;
  // A short write (full disk, lost network share) must not pass for a good backup.
  auto write = [&](const void* data, uint32_t size, const String& what) {
    if (WriteWholeBlock(file, data, size)) return true;
    WriteErrorLog("Unable to write backup file " + fileName + " at " + what + " : " +
                  GetWin32ErrorName(int32_t(GetLastError())));
    return false;
  };

  EnsureTransferBuffer();
  KeepInSectorBuffer = false;
  CurrentSector = 0;
  const uint8_t header[4] = {uint8_t(total), uint8_t(total >> 8), uint8_t(total >> 16), uint8_t(total >> 24)};
  if (!write(header, sizeof header, "its header")) return false;

  // A request never outgrows the transfer buffer that the unreadable ones are zeroed in.
  const uint32_t perRequest =
      std::clamp<uint32_t>(CurrentDrive->SectorsPerRequest, 1, uint32_t(SectorBufferSize / bytesPerSector));
  while (CurrentSector < total && !StopRequested && !ScanEnd) {
    if (WaitWhilePausedUntilCancel(100)) break;
    TransferStart = CurrentSector;
    TransferCount = static_cast<uint16_t>(std::min<uint32_t>(perRequest, total - CurrentSector));
    bool read = false;
    for (uint32_t attempt = 0; attempt <= RetryCount && !read; ++attempt) read = ReadSectors();
    if (!read) {
      std::memset(TransferBuffer.get(), 0, size_t(TransferCount) * bytesPerSector);
      OnReadError(static_cast<int32_t>(CurrentSector), 1);
    }
    OnProgress(this, static_cast<int32_t>(CurrentSector));
    for (uint32_t i = 0; i < TransferCount; ++i) {
      if (!write(TransferBuffer.get() + size_t(i) * bytesPerSector, bytesPerSector,
                 "sector " + std::to_string(CurrentSector)))
        return false;
      ++CurrentSector;
    }
    ProcessMessages();
  }
  return CurrentSector >= total;
}

bool TScanEngine::RestoreCard(const String& FileName, const String& Drive) {
  StopRequested = false;
  Aborted = false;
  ScanEnd = false;
  if (FileName.empty() || Drive.empty()) return false;
  TSEDriveInformation* drive = FindDriveInformation(Drive[0]);
  if (!drive) return false;
  CurrentDrive = drive;
  if (drive->MediaType != kRemovable) {
    OnError(81, kRemovableText);
    return false;
  }
  try {
    std::unique_ptr<TFileStream> file;
    const DWORD attributes = GetFileAttributesA(FileName.c_str());
    try {
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        file = std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite);
    } catch (const EStreamError&) {
      file.reset();
    }
    const TBackupCheck check = CheckBackupFile(file.get(), attributes, *drive);
    if (check.Failure) {
      WriteErrorLog("RestoreCard - " + String(check.Failure->Text) + " : " + FileName);
      OnError(check.Failure->Code, check.Failure->Text);
      return false;
    }
    const uint32_t count = check.Sectors;
    OnRestoreSectorCount(static_cast<int32_t>(count));

    const uint32_t bytesPerSector = drive->BytesPerSector;
    EnsureTransferBuffer();
    TransferCount = 1;
    TransferStart = 0;
    bool everyWrite = true;
    while (TransferStart < count && !StopRequested && !ScanEnd) {
      // The size was checked before the first write: a shorter read now is a read error.
      if (file->Read(SectorBuffer.data(), static_cast<int>(bytesPerSector)) != static_cast<int>(bytesPerSector)) {
        WriteErrorLog("Backup file " + FileName + " could not be read at sector : " + std::to_string(TransferStart));
        OnError(kRestoreFileUnreadable.Code, kRestoreFileUnreadable.Text);
        return false;
      }
      std::memcpy(TransferBuffer.get(), SectorBuffer.data(), bytesPerSector);
      bool written = false;
      for (uint32_t attempt = 0; attempt <= RetryCount && !written; ++attempt) written = WriteSectors();
      if (!written) OnReadError(static_cast<int32_t>(TransferStart), 1);
      OnProgress(this, static_cast<int32_t>(TransferStart));
      if (!written) WriteErrorLog("Unable to write backup file data to Sector : " + std::to_string(TransferStart));
      everyWrite = everyWrite && written;
      TransferStart += TransferCount;
      ProcessMessages();
    }
    // Sectors that could not be written were skipped; the card is not the backup.
    if (!everyWrite) OnError(kRestoreWriteFailed.Code, kRestoreWriteFailed.Text);
    return everyWrite;
  } catch (const std::exception& e) {
    WriteErrorLog(String("Exception raised in : .RestoreCard ") + e.what());
    return false;
  }
}
