// Pictures for the skin tests: each pixel of a coded picture carries its own x (red) and
// y (green), so a composed face shows exactly where every pixel was copied from.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/bitmap.h"

namespace kstest {

constexpr uint8_t kCodeBlue = 0x5A;

inline void FillCoded(TBitmap& b, int width, int height) {
  b.SetPixelFormat(pf24bit);
  b.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<uint8_t*>(b.ScanLine(y));
    for (int x = 0; x < width; ++x) {
      row[3 * x] = kCodeBlue;
      row[3 * x + 1] = static_cast<uint8_t>(y);
      row[3 * x + 2] = static_cast<uint8_t>(x);
    }
  }
  b.Changed(&b);
}

struct TPixel {
  int R, G, B;
  friend bool operator==(const TPixel&, const TPixel&) = default;
};

inline TPixel PixelAt(TBitmap& b, int x, int y) {
  b.SetPixelFormat(pf24bit);
  const auto* row = static_cast<const uint8_t*>(b.ScanLine(y));
  return TPixel{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
}

// All pixels read once: reading row by row through ScanLine is slow per pixel.
struct TSnapshot {
  int Width = 0, Height = 0;
  std::vector<TPixel> Pixels;
  TPixel At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

inline TSnapshot Snapshot(TBitmap& b) {
  TSnapshot s{b.Width(), b.Height(), {}};
  b.SetPixelFormat(pf24bit);
  for (int y = 0; y < s.Height; ++y) {
    const auto* row = static_cast<const uint8_t*>(b.ScanLine(y));
    for (int x = 0; x < s.Width; ++x) s.Pixels.push_back(TPixel{row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  return s;
}

inline TPixel Coded(int x, int y) { return TPixel{x, y, kCodeBlue}; }
constexpr TPixel kWhite{255, 255, 255};

}  // namespace kstest
