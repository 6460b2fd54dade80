// thumbnail FILE KIND WIDTH HEIGHT OUT.bmp
// Draws a thumbnail through Dorvane.dll, loaded by name like the program does, into a new
// bitmap and saves it; prints the library's answer.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/core/bitmap.h"
#include "framework/core/sysutils.h"

using CreateThumbnailCall = BOOL(__stdcall*)(const char*, int16_t, int32_t, int32_t, TBitmap*);

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: thumbnail FILE KIND WIDTH HEIGHT OUT.bmp\n");
    return 2;
  }
  HMODULE library = LoadLibraryA("Dorvane.dll");
  if (!library) {
    std::fprintf(stderr, "cannot load Dorvane.dll (error %lu)\n", GetLastError());
    return 1;
  }
  auto create = reinterpret_cast<CreateThumbnailCall>(
      reinterpret_cast<void*>(GetProcAddress(library, "CreateThumbnail")));
  if (!create) {
    std::fprintf(stderr, "Dorvane.dll has no CreateThumbnail\n");
    return 1;
  }
  try {
    TBitmap bitmap;
    const BOOL result = create(argv[1], static_cast<int16_t>(std::atoi(argv[2])), std::atoi(argv[3]),
                               std::atoi(argv[4]), &bitmap);
    std::printf("CreateThumbnail: %s (%d x %d)\n", result ? "True" : "False", bitmap.Width(), bitmap.Height());
    if (!bitmap.Empty()) bitmap.SaveToFile(argv[5]);
    return 0;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
}
