// correct FILE...
// Hands each file to CorrectFile of Dorvane.dll (loaded by name like the program does),
// waits for the correction threads to end and prints what became of each file.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "dorvane/CorrectionsIdle.h"

namespace {

using CorrectFileCall = int32_t(__stdcall*)(const char*);

int64_t SizeOf(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (int64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: correct FILE...\n");
    return 2;
  }
  HMODULE library = LoadLibraryA("Dorvane.dll");
  if (!library) {
    std::fprintf(stderr, "cannot load Dorvane.dll (error %lu)\n", GetLastError());
    return 1;
  }
  auto correct = reinterpret_cast<CorrectFileCall>(reinterpret_cast<void*>(GetProcAddress(library, "CorrectFile")));
  if (!correct) {
    std::fprintf(stderr, "Dorvane.dll has no CorrectFile\n");
    return 1;
  }
  std::vector<int64_t> sizes;
  for (int i = 1; i < argc; ++i) {
    sizes.push_back(SizeOf(argv[i]));
    std::printf("%s: CorrectFile = %d\n", argv[i], correct(argv[i]));
  }
  // A CRW thread searches for its thumbnail for up to about 14 seconds.
  if (!WaitForIdleCorrections(600000)) std::fprintf(stderr, "the library's corrections still run\n");
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    const int64_t now = SizeOf(name);
    if (sizes[i - 1] < 0) {
      std::printf("%s: no such file\n", name.c_str());
      continue;
    }
    if (now >= 0) {
      std::printf("%s: %lld -> %lld bytes\n", name.c_str(), static_cast<long long>(sizes[i - 1]),
                  static_cast<long long>(now));
      continue;
    }
    bool renamed = false;
    for (const char* type : {".NEF", ".PEF", ".TIF"}) {
      if (SizeOf(name + type) >= 0) {
        std::printf("%s: renamed to %s%s\n", name.c_str(), name.c_str(), type);
        renamed = true;
      }
    }
    if (!renamed) std::printf("%s: gone (a CRW is saved under the name stored in it)\n", name.c_str());
  }
  return 0;
}
