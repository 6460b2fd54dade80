#include "engine/Carving.h"

#include <windows.h>

#include "engine/Debug.h"
#include "engine/FileTypes.h"
#include "engine/OutputFile.h"
#include "engine/PassFolders.h"
#include "engine/ScanEngine.h"
#include "engine/intDorvane.h"

namespace {

bool IsCappedExtension(const String& extension) { return extension == "JPEG" || extension == "JPG"; }

}  // namespace

int32_t TScanEngine::CorrectRecoveredFile(TSESupportedFileType*, const String& path) {
  if (!intDorvane::CorrectFile) return 0;
  return intDorvane::CorrectFile(path.c_str());
}

void TScanEngine::CloseOutputFile() {
  if (OutputHandle == INVALID_HANDLE_VALUE) return;
  CloseHandle(OutputHandle);
  OutputHandle = INVALID_HANDLE_VALUE;
  OnRAWFileSaved(OutputPath);
  CorrectRecoveredFile(CurrentType, OutputPath);
}

void TScanEngine::DropOutputFile() {
  const DWORD error = GetLastError();
  CloseHandle(OutputHandle);
  OutputHandle = INVALID_HANDLE_VALUE;
  DeleteFileA(OutputPath.c_str());
  ReportUnsavedFile(OutputPath, error, OutputStartSector);
  // Nothing of it is left to re-save or split either.
  for (int i = RAWFiles.Count() - 1; i >= 0; --i) {
    auto* file = static_cast<TSERAWFile*>(RAWFiles.Items(i));
    if (file->Path != OutputPath) continue;
    RAWFiles.Delete(i);
    delete file;
    break;
  }
}

void TScanEngine::RegisterRAWFile() {
  auto* file = new TSERAWFile;
  file->StartSector = CurrentSector;
  file->Path = OutputPath;
  file->FileType = CurrentType;
  RAWFiles.Add(file);
}

void TScanEngine::CarveBuffer() {
  const uint32_t bytesPerSector = CurrentDrive->BytesPerSector;
  const uint8_t* buffer = TransferBuffer.get();
  // The sectors of one run lie next to each other in the transfer buffer: they wait here
  // and go out in one write, not one write per sector.
  size_t pendingFrom = 0;
  size_t pendingBytes = 0;
  auto flush = [&] {
    if (pendingBytes != 0 && OutputHandle != INVALID_HANDLE_VALUE &&
        !WriteWholeBlock(OutputHandle, buffer + pendingFrom, static_cast<DWORD>(pendingBytes)))
      DropOutputFile();
    pendingBytes = 0;
  };
  for (uint32_t i = 0; i < TransferCount; ++i, ++CurrentSector) {
    const size_t offset = size_t(i) * bytesPerSector;
    TSESupportedFileType* hit = nullptr;
    for (int t = 0; t < SupportedFileTypes.Count() && !hit; ++t) {
      auto* type = static_cast<TSESupportedFileType*>(SupportedFileTypes.Items(t));
      if (MatchSignature(*type, buffer, offset)) hit = type;
    }
    if (hit && OutputOpen && CurrentSector != OutputStartSector) {
      flush();
      CloseOutputFile();
      OutputOpen = false;
    }
    if (hit && !OutputOpen) {
      CurrentType = hit;
      BytesWritten = 0;
      OutputHandle = INVALID_HANDLE_VALUE;
      if (hit->Selected) {
        if (DebugMode) WriteInfoLog("Found " + hit->Extension + " File @ " + IntToStr(CurrentSector) + " Sector");
        const String folder = GetDestinationFolder() + kDezoDoziFolder;
        String name = "KV" + IntToStr(CurrentSector) + "." + hit->Extension;
        OutputHandle = CreateNewOutputFile(folder, name, GENERIC_READ | GENERIC_WRITE);
        const DWORD error = GetLastError();
        OutputPath = folder + name;
        if (OutputHandle != INVALID_HANDLE_VALUE)
          RegisterRAWFile();
        else
          ReportUnsavedFile(OutputPath, error, CurrentSector);
      }
      OutputStartSector = CurrentSector;
      OutputOpen = true;
    }
    if (OutputOpen && CurrentType && CurrentType->Selected && OutputHandle != INVALID_HANDLE_VALUE) {
      if (pendingBytes == 0) pendingFrom = offset;
      pendingBytes += bytesPerSector;
      BytesWritten += bytesPerSector;
      if (IsCappedExtension(CurrentType->Extension) && BytesWritten > kCarvedJPEGCap) {
        flush();
        // Reported like every other saved file, so the caller sees every carved file.
        CloseOutputFile();
        OutputOpen = false;
      }
    }
  }
  flush();
}
