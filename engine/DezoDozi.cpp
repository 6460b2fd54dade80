// The DezoDozi pass: every sector of the drive read in large requests and carved.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/Debug.h"
#include "engine/ErrorModeScope.h"
#include "engine/PassFolders.h"
#include "engine/SEerrors.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/fileutils.h"

bool TScanEngine::ReadErrorEndsPass(uint32_t error) {
  switch (error) {
    case ERROR_IO_DEVICE:
      WriteErrorLog("Error in Reading : " + GetWin32ErrorName(static_cast<int32_t>(error)));
      return Seen87 && Count87 > 10;
    case ERROR_INVALID_PARAMETER:
      Seen87 = true;
      if (Count87 > 20) return true;
      ++Count87;
      return false;
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_READ_FAULT:
      WriteErrorLog("Fatal Error : " + GetWin32ErrorName(static_cast<int32_t>(error)));
      return true;
    default:
      return false;
  }
}

bool TScanEngine::ReadFailureEndsPass() {
  // The 98 family gives no error codes: every failure there is an ordinary one.
  if (!IsNT || !ReadErrorEndsPass(LastError)) return false;
  ScanEnd = true;
  return true;
}

uint32_t TScanEngine::ReadTransferSalvaging() {
  const uint32_t start = TransferStart;
  const uint16_t count = TransferCount;
  const uint32_t bytesPerSector = CurrentDrive->BytesPerSector;
  if (ReadSectors()) return 0;
  // The failed read left in TransferCount the sectors it covers (1 when its first chunk
  // failed): a pass that ends here carves only those, as zeros.
  if (ReadFailureEndsPass()) {
    std::memset(TransferBuffer.get(), 0, size_t(TransferCount) * bytesPerSector);
    return 0;
  }
  std::vector<uint8_t> salvaged(size_t(count) * bytesPerSector, 0);
  uint32_t lost = 0;
  uint16_t carved = count;
  for (uint16_t i = 0; i < count; ++i) {
    // A one-sector request has failed and been judged already.
    if (count > 1) {
      TransferStart = start + i;
      TransferCount = 1;
      if (ReadSectors()) {
        std::memcpy(salvaged.data() + size_t(i) * bytesPerSector, TransferBuffer.get(), bytesPerSector);
        continue;
      }
      // The sectors read so far are carved, the failing one as zeros.
      if (ReadFailureEndsPass()) {
        carved = static_cast<uint16_t>(i + 1);
        break;
      }
    }
    ++lost;
    ProcessMessages();
    OnReadError(static_cast<int32_t>(start + i), 1);
    WriteErrorLog("Unable To Read Sector : " + IntToStr(start + i) + " For 1 Sectors");
  }
  std::memcpy(TransferBuffer.get(), salvaged.data(), size_t(carved) * bytesPerSector);
  TransferStart = start;
  TransferCount = carved;
  return lost;
}

void TScanEngine::ScanDrive(char Drive) {
  CurrentDrive = FindDriveInformation(Drive);
  if (!CurrentDrive || CurrentDrive->TotalSectors == 0) return;
  if (RefuseWithoutFileTypes()) return;
  const String folder = GetDestinationFolder();
  ForceDirectories(folder + kDezoDoziFolder);
  ForceDirectories(folder + kDuvidAzizFolder);
  WriteInfoLog("Started RAW Scan");
  StopRequested = Aborted = ScanEnd = Seen87 = false;
  Count87 = 0;
  Busy = true;
  KeepInSectorBuffer = false;
  LastError = 0;
  SetLastError(NO_ERROR);
  struct TPassEnd {
    TScanEngine& engine;
    ~TPassEnd() {
      engine.Busy = false;
      engine.OnFinished(2);
      if (engine.IsNT) engine.CloseVolume();
      WriteInfoLog("Finished RAW Scan");
    }
  };
  // Declared before the error-mode scope so that the mode is restored first.
  TPassEnd passEnd{*this};
  TErrorModeScope errorMode;
  EnsureTransferBuffer();
  // A file a stopped pass left open is finished now, so that it is reported and corrected.
  CloseOutputFile();
  OutputOpen = false;
  CurrentSector = 0;
  CurrentType = nullptr;
  RAWFiles.ClearAndFree();

  const uint32_t total = CurrentDrive->TotalSectors;
  const uint32_t bytesPerSector = CurrentDrive->BytesPerSector;
  const uint32_t largest = std::max<uint32_t>(1, CurrentDrive->SectorsPerRequest);
  uint32_t requestSize = largest;
  while (CurrentSector < total && !StopRequested && !ScanEnd) {
    if (WaitWhilePausedUntilCancel(100)) break;
    const uint32_t span = std::min(largest, total - CurrentSector);
    requestSize = std::min(requestSize, span);
    TransferStart = CurrentSector;
    TransferCount = static_cast<uint16_t>(requestSize);
    const uint32_t lost = ReadTransferSalvaging();
    if (lost)
      requestSize = 1;
    else if (!ScanEnd)
      requestSize = std::min(2 * requestSize, largest);
    OnProgress(this, static_cast<int32_t>(CurrentSector));
    CarveBuffer();
    if (!folder.empty() && !HasEnoughFreeSpace(folder[0], uint32_t(TransferCount) * bytesPerSector)) {
      LastError = 5;
      WriteErrorLog("No space left on drive " + folder.substr(0, 1) + " to save RAW Files");
      ScanEnd = true;
    }
  }
  if (StopRequested) {
    // A stopped pass still hands its last file over; the run stays open without file.
    CloseOutputFile();
    return;
  }
  CloseOutputFile();
  StopRequested = false;
  if (!CurrentDrive->IsCD) ReExtractFragmentedHits();
  DissectCarvedJPEGs();
}
