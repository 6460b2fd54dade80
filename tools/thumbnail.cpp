// thumbnail FILE KIND WIDTH HEIGHT OUT.bmp
// thumbnail --time WIDTH HEIGHT FILE...
// Draws a thumbnail through Dorvane.dll, loaded by name like the program does, into a new
// bitmap and saves it; prints the library's answer. With --time it draws one thumbnail of
// each file and prints the seconds spent inside CreateThumbnail, for the benchmark.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/core/bitmap.h"
#include "framework/core/sysutils.h"

namespace {

using CreateThumbnailCall = BOOL(__stdcall*)(const char*, int16_t, int32_t, int32_t, TBitmap*);

int Usage() {
  std::fprintf(stderr, "usage: thumbnail FILE KIND WIDTH HEIGHT OUT.bmp\n       thumbnail --time WIDTH HEIGHT FILE...\n");
  return 2;
}

// Every file once, timed around the library call alone: the process start-up is not ours.
int TimeThumbnails(CreateThumbnailCall create, int width, int height, int count, char** files) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  int64_t ticks = 0;
  int drawn = 0;
  for (int i = 0; i < count; ++i) {
    TBitmap bitmap;
    QueryPerformanceCounter(&start);
    const BOOL result = create(files[i], 1, width, height, &bitmap);
    QueryPerformanceCounter(&end);
    ticks += end.QuadPart - start.QuadPart;
    if (result) ++drawn;
    else std::fprintf(stderr, "no thumbnail of %s\n", files[i]);
  }
  std::printf("%d of %d thumbnails in %.3f s\n", drawn, count, static_cast<double>(ticks) / frequency.QuadPart);
  return drawn == count ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool timing = argc >= 5 && std::strcmp(argv[1], "--time") == 0;
  if (argc != 6 && !timing) return Usage();
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
    if (timing) return TimeThumbnails(create, std::atoi(argv[2]), std::atoi(argv[3]), argc - 4, argv + 4);
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
