// Plain geometry values: TPoint, TSize and TRect, signed 32-bit like their Win32 twins.
#pragma once

#include <windows.h>

#include <cstdint>

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
  operator POINT() const { return POINT{X, Y}; }
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;

  friend bool operator==(const TSize&, const TSize&) = default;
};

// Width and height may be negative: a mirrored copy passes such a rectangle on unchanged.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return TPoint{Left, Top}; }
  TPoint BottomRight() const { return TPoint{Right, Bottom}; }
  // The system's rule: the right column and the bottom row are outside, so rectangles
  // that share an edge never both hold a point.
  bool Contains(TPoint p) const { return Left <= p.X && p.X < Right && Top <= p.Y && p.Y < Bottom; }
  // All four edges inside.
  bool ContainsWithEdges(TPoint p) const { return Left <= p.X && p.X <= Right && Top <= p.Y && p.Y <= Bottom; }

  friend bool operator==(const TRect&, const TRect&) = default;
  operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
  static TRect FromRECT(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }
};

static_assert(sizeof(TRect) == sizeof(RECT) && sizeof(TPoint) == sizeof(POINT));

inline TPoint Point(int32_t x, int32_t y) { return TPoint{x, y}; }
inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return TRect{left, top, right, bottom};
}
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return TRect{left, top, left + width, top + height};
}
