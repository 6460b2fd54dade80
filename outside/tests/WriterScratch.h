// A fresh folder under the temporary folder for a test of the stand-in disc writer;
// at the end the writer forgets its configuration and the folder goes with all in it.
#pragma once

#include <windows.h>

#include "framework/core/fileutils.h"
#include "framework/core/sysutils.h"
#include "framework/testsupport/scratch_dir.h"
#include "outside/DiscWriterX.h"

class TWriterScratch {
 public:
  explicit TWriterScratch(const String& prefix) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = IncludeTrailingBackslash(temp) + prefix + IntToStr(GetCurrentProcessId()) + "_" + IntToStr(++count_) + "\\";
  }
  ~TWriterScratch() {
    TDiscWriterX::SetConfigurationFile("");
    RemoveScratchTree(root_);
  }
  TWriterScratch(const TWriterScratch&) = delete;
  TWriterScratch& operator=(const TWriterScratch&) = delete;

  const String& Root() const { return root_; }

  static void Write(const String& path, const String& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
  }

 private:
  String root_;
  static inline int count_ = 0;
};
