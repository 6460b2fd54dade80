// Helpers of the graphics tests: fixture files beside the sources, and pixel reading.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/core/streams.h"
#include "framework/testsupport/SourcePath.h"

inline std::string FixturePath(const std::string& name) {
  return SourcePath("framework/core/tests/fixtures/" + name);
}

inline std::vector<uint8_t> FixtureBytes(const std::string& name) {
  TMemoryStream stream;
  stream.LoadFromFile(FixturePath(name));
  auto* begin = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(begin, begin + stream.Size());
}

inline void LoadBytes(TMemoryStream& stream, const std::vector<uint8_t>& bytes) {
  stream.Clear();
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
  stream.SetPosition(0);
}

// A pixel of the bitmap as 0x00BBGGRR, through the canvas.
inline TColor PixelOf(TBitmap& bitmap, int x, int y) { return bitmap.Canvas()->Pixels(x, y); }
