// What the recovery-pass tests share: a scratch output folder, a small file-type table and
// the output files read back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/ScanEngine.h"
#include "engine/tests/DiskEmulation.h"
#include "framework/core/fileutils.h"
#include "framework/testsupport/scratch_dir.h"

// A fresh folder under the temporary folder, removed with everything in it at the end.
using TScratchFolder = ScratchDir;

void WriteTextFile(const std::string& path, const std::string& text);
// Empty when the file does not exist.
std::string ReadWholeFile(const std::string& path);
// The names in a folder, sorted; "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);

// A table of the given ini text in a scratch program folder, loaded into the engine.
void LoadTable(TScanEngine& engine, const TScratchFolder& programFolder, const std::string& ini);

// The image volume calls with a look at every read first: the hook gets the read's first
// 512-byte sector and its size in sectors, and may cancel the engine or fail the read
// with a Win32 error (0 lets it through).
class TWatchedVolumeCalls : public TImageVolumeCalls {
 public:
  using TImageVolumeCalls::TImageVolumeCalls;
  std::function<DWORD(uint32_t sector, uint32_t count)> BeforeRead;

  DWORD SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) override;
  BOOL ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* done) override;

 private:
  uint64_t offset_ = 0;
};
