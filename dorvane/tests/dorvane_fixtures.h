// Helpers of the library's tests: fixtures beside the sources, scratch folders, pixels.
#pragma once

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/testsupport/SourcePath.h"
#include "framework/testsupport/scratch_dir.h"

inline std::string FixturePath(const std::string& name) {
  return SourcePath("dorvane/tests/fixtures/" + name);
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline bool FileThere(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder under the temporary folder, removed with its files afterwards.
class TestFolder : public ScratchDir {
 public:
  TestFolder() : ScratchDir("dorv.") {}

  // Names of the files in a folder of it ("" for the folder itself), sorted.
  std::vector<std::string> Files(const std::string& sub = "") const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((Path() + sub + "*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
  }
};

struct Rgb {
  int R, G, B;
};

// One pixel of a 24-bit bitmap.
inline Rgb PixelAt(TBitmap& bitmap, int x, int y) {
  const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
  return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
}

inline bool Reddish(Rgb p) { return p.R > 180 && p.G < 80 && p.B < 80; }
inline bool Bluish(Rgb p) { return p.B > 180 && p.R < 80 && p.G < 80; }
