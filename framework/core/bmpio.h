// BMP reading and writing. Carved files are hostile input: every size and offset is
// checked against the bytes there are before anything is allocated or read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "framework/core/streams.h"

// A decoded image as a DIB section wants it: bottom-up rows padded to 32 bits.
struct TBmpImage {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;     // 1, 4, 8, 16, 24 or 32
  bool Rgb565 = false;  // 16-bit rows are 5-6-5 instead of 5-5-5
  std::vector<RGBQUAD> Colors;  // 2^BitCount entries for <= 8 bits, else empty
  std::vector<uint8_t> Bits;

  static size_t Stride(int width, int bitCount) {
    return ((static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32) * 4;
  }
};

// Limits for hostile input.
constexpr int kMaxBmpDimension = 32767;
constexpr uint64_t kMaxBmpPixelBytes = 256ull << 20;

// One BMP file at the stream's position. Consumes exactly bfSize bytes (a bfSize of 0 is
// replaced by the computed size). Raises EInvalidGraphic("Bitmap image is not valid").
TBmpImage ReadBmp(TStream& stream);
// A whole BMP file in memory, file header included.
TBmpImage DecodeBmp(std::span<const uint8_t> file);
// A packed DIB: info header, colour table, pixels (RT_BITMAP resources, CF_DIB).
TBmpImage DecodeDib(std::span<const uint8_t> dib);

// File header, 40-byte info header (plus 5-6-5 masks for Rgb565), colour table for
// <= 8 bits, bottom-up rows; bfSize and bfOffBits exact. Bits start at the bottom row.
void WriteBmp(TStream& stream, int width, int height, int bitCount, bool rgb565, std::span<const RGBQUAD> colors,
              const void* bits);
