#include "skin/draw/ksEffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/core/sysutils.h"

namespace {

// Channel values are computed in extended precision: 1 - 0.3 is then not rounded
// to a double first, so 0.7 * 15 lands above 10.5. The factors stay doubles.
using Extended = long double;

// Nearest integer, exact halves to the even neighbour (the default rounding mode).
int Nearest(Extended x) { return static_cast<int>(std::nearbyint(x)); }

BYTE Clamp(int v) { return static_cast<BYTE>(std::clamp(v, 0, 255)); }

double Clamp01(double k) { return std::clamp(k, 0.0, 1.0); }

// c * k + (1 - k) * t for one pixel, all three channels.
void Blend(BYTE* own, const BYTE* target, double k) {
  const Extended e = k;
  for (int c = 0; c < 3; ++c) own[c] = Clamp(Nearest(own[c] * e + (1 - e) * target[c]));
}

}  // namespace

void TksEffectBmp::Allocate(int width, int height) {
  Width = std::max(width, 0);
  Height = std::max(height, 0);
  Size = (Width * 3 + Width % 4) * Height;
  Header.biSize = sizeof(BITMAPINFOHEADER);
  Header.biWidth = Width;
  Header.biHeight = -Height;
  Header.biPlanes = 1;
  Header.biBitCount = 24;
  Header.biCompression = BI_RGB;
  BitmapInfo.bmiHeader = Header;
  void* bits = nullptr;
  if (Width > 0 && Height > 0) {
    Handle = CreateDIBSection(nullptr, &BitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!Handle) throw EOutOfResources("Out of system resources");
  }
  Bits = static_cast<BYTE*>(bits);
}

TksEffectBmp::TksEffectBmp(int width, int height) { Allocate(width, height); }

TksEffectBmp* TksEffectBmp::CreateFromHBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) bm = BITMAP{};
  auto* result = new TksEffectBmp();
  try {
    result->Allocate(bm.bmWidth, bm.bmHeight);
  } catch (...) {
    delete result;
    throw;
  }
  if (result->Bits) {
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(result->Height), result->Bits, &result->BitmapInfo,
              DIB_RGB_COLORS);
    if (dc) DeleteDC(dc);
    GdiFlush();
  }
  return result;
}

TksEffectBmp::~TksEffectBmp() {
  if (Handle) DeleteObject(Handle);
}

void TksEffectBmp::Draw(HDC dc, int x, int y) {
  if (!Bits) return;
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(Width), static_cast<DWORD>(Height), 0, 0, 0,
                    static_cast<UINT>(Height), Bits, &BitmapInfo, DIB_RGB_COLORS);
}

void TksEffectBmp::GetLine(int y, BYTE* line) const { std::memcpy(line, ScanLine(y), static_cast<size_t>(Width) * 3); }

void TksEffectBmp::SetLine(int y, const BYTE* line) { std::memcpy(ScanLine(y), line, static_cast<size_t>(Width) * 3); }

TksPixel TksEffectBmp::GetPixel(int x, int y) const {
  const BYTE* p = ScanLine(y) + 3 * x;
  return TksPixel{p[0], p[1], p[2]};
}

void TksEffectBmp::SetPixel(int x, int y, TksPixel pixel) {
  BYTE* p = ScanLine(y) + 3 * x;
  p[0] = pixel.B;
  p[1] = pixel.G;
  p[2] = pixel.R;
}

void TksEffectBmp::CheckRGB(int& r, int& g, int& b) {
  r = std::clamp(r, 0, 255);
  g = std::clamp(g, 0, 255);
  b = std::clamp(b, 0, 255);
}

template <class F>
void TksEffectBmp::EachRow(F f) {
  std::vector<BYTE> line(static_cast<size_t>(Width) * 3);
  for (int y = 0; y < Height; ++y) {
    GetLine(y, line.data());
    f(line.data(), y);
    SetLine(y, line.data());
  }
}

void TksEffectBmp::Morph(TksEffectBmp* target, double k) {
  if (!SameSize(target)) return;
  const Extended e = Clamp01(k);
  EachRow([&](BYTE* row, int y) {
    const BYTE* t = target->ScanLine(y);
    for (int i = 0; i < Width * 3; ++i) row[i] = Clamp(Nearest((1 - e) * row[i] + e * t[i]));
  });
}

void TksEffectBmp::MorphGrad(TksEffectBmp* target, double k) {
  if (Width >= Height)
    MorphHGrad(target, k);
  else
    MorphVGrad(target, k);
}

void TksEffectBmp::MorphHGrad(TksEffectBmp* target, double k) {
  if (!SameSize(target) || Width == 0) return;
  int w = Width;
  int cw = Nearest(Extended(w) * k);
  int gw = (w - cw) / 2;
  double s = gw != 0 ? 1.0 / gw : 1.0;
  int c = w / 2;
  int x1 = std::max(c - cw / 2, 0);
  int x2 = std::min(c + cw / 2, w - 1);
  EachRow([&](BYTE* row, int y) {
    const BYTE* t = target->ScanLine(y);
    for (int x = x1; x <= x2; ++x) std::memcpy(row + 3 * x, t + 3 * x, 3);
    double weight = 0;
    for (int x = std::min(x1, w - 1); x >= 0; --x) {
      Blend(row + 3 * x, t + 3 * x, weight);
      weight = std::min(weight + s, 1.0);
    }
    weight = 0;
    for (int x = std::max(x2, 0); x < w; ++x) {
      Blend(row + 3 * x, t + 3 * x, weight);
      weight = std::min(weight + s, 1.0);
    }
  });
}

void TksEffectBmp::MorphVGrad(TksEffectBmp* target, double k) {
  if (!SameSize(target) || Height == 0) return;
  int h = Height;
  int ch = Nearest(Extended(h) * k);
  int gh = ((h - 1) - ch) / 2;
  double s = gh != 0 ? 1.0 / gh : 0.0;
  int c = h / 2;
  int y1 = std::max(c - ch / 2, 0);
  int y2 = std::min(c + ch / 2, h - 1);
  size_t bytes = static_cast<size_t>(Width) * 3;
  for (int y = y1; y <= y2; ++y) std::memcpy(ScanLine(y), target->ScanLine(y), bytes);
  auto blendRow = [&](int y, double weight) {
    BYTE* row = ScanLine(y);
    const BYTE* t = target->ScanLine(y);
    for (int x = 0; x < Width; ++x) Blend(row + 3 * x, t + 3 * x, weight);
  };
  double weight = 0;
  for (int y = std::min(y1, h - 1); y >= 0; --y) {
    blendRow(y, weight);
    weight = std::min(weight + s, 1.0);
  }
  weight = 0;
  for (int y = std::max(y2, 0); y < h; ++y) {
    blendRow(y, weight);
    weight = std::min(weight + s, 1.0);
  }
}

void TksEffectBmp::MorphLeftGrad(TksEffectBmp* target, double k) {
  if (!SameSize(target) || Width == 0) return;
  int n = std::min(std::max(Nearest(Extended(Width) * k), 1), Width - 1);
  double s = n >= 1 ? 1.0 / n : 1.0;
  EachRow([&](BYTE* row, int y) {
    const BYTE* t = target->ScanLine(y);
    double weight = 0;
    for (int x = 0; x <= n; ++x) {
      Blend(row + 3 * x, t + 3 * x, weight);
      weight = std::min(weight + s, 1.0);
    }
  });
}

void TksEffectBmp::MorphRightGrad(TksEffectBmp* target, double k) {
  if (!SameSize(target) || Width == 0) return;
  int n = std::min(std::max(Width - Nearest(Extended(Width) * k), 0), Width - 1);
  double s = Width - n >= 1 ? 1.0 / (Width - n) : 1.0;
  EachRow([&](BYTE* row, int y) {
    const BYTE* t = target->ScanLine(y);
    double weight = 0;
    for (int x = Width - 1; x >= n; --x) {
      Blend(row + 3 * x, t + 3 * x, weight);
      weight = std::min(weight + s, 1.0);
    }
  });
}

void TksEffectBmp::MorphLeftSlide(TksEffectBmp* target, double k) {
  if (!SameSize(target) || Width == 0) return;
  int n = std::min(std::max(Nearest(Extended(Width) * k), 1), Width - 1);
  EachRow([&](BYTE* row, int y) {
    std::memcpy(row, target->ScanLine(y) + 3 * (Width - n), static_cast<size_t>(n) * 3);
  });
}

void TksEffectBmp::MorphRightSlide(TksEffectBmp* target, double k) {
  if (!SameSize(target) || Width == 0) return;
  int n = std::min(std::max(Nearest(Extended(Width) * k), 1), Width - 1);
  EachRow([&](BYTE* row, int y) {
    std::memcpy(row + 3 * (Width - n), target->ScanLine(y), static_cast<size_t>(n) * 3);
  });
}

void TksEffectBmp::MorphPush(TksEffectBmp* target, double k) {
  if (!SameSize(target) || Width == 0) return;
  int n = std::min(std::max(Nearest(Extended(Width) * k), 0), Width - 1);
  EachRow([&](BYTE* row, int y) {
    for (int x = Width - 1; x >= n; --x) {
      int from = std::max(x - n - 1, 0);
      std::memcpy(row + 3 * x, row + 3 * from, 3);
    }
    std::memcpy(row, target->ScanLine(y) + 3 * (Width - n - 1), static_cast<size_t>(n + 1) * 3);
  });
}

void TksEffectBmp::Brightness(double k) {
  const Extended e = Clamp01(k);
  EachRow([&](BYTE* row, int) {
    for (int i = 0; i < Width * 3; ++i) row[i] = Clamp(Nearest((1 - e) * row[i] + 255 * e));
  });
}

void TksEffectBmp::Darkness(double k) {
  const Extended e = Clamp01(k);
  EachRow([&](BYTE* row, int) {
    for (int i = 0; i < Width * 3; ++i) row[i] = Clamp(Nearest((1 - e) * row[i]));
  });
}

void TksEffectBmp::GrayScale() {
  EachRow([&](BYTE* row, int) {
    for (int x = 0; x < Width; ++x) {
      BYTE* p = row + 3 * x;
      BYTE g = Clamp(Nearest(0.3L * p[2] + 0.59L * p[1] + 0.11L * p[0]));
      p[0] = p[1] = p[2] = g;
    }
  });
}

void TksEffectBmp::Invert() {
  EachRow([&](BYTE* row, int) {
    for (int i = 0; i < Width * 3; ++i) row[i] = static_cast<BYTE>(255 - row[i]);
  });
}

void TksEffectBmp::Noise(int amount) {
  if (amount <= 0) return;
  EachRow([&](BYTE* row, int) {
    for (int x = 0; x < Width; ++x) {
      int d = Random(amount) - amount / 2;
      for (int c = 0; c < 3; ++c) row[3 * x + c] = Clamp(row[3 * x + c] + d);
    }
  });
}

void TksEffectBmp::SplitBlur(int amount) {
  if (amount == 0 || Width == 0 || Height == 0) return;
  // The fallback rows and columns reach one past the bitmap for large amounts; keep inside.
  auto clampRow = [&](int v) { return std::clamp(v, 0, Height - 1); };
  auto clampCol = [&](int v) { return std::clamp(v, 0, Width - 1); };
  for (int y = 0; y < Height; ++y) {
    const BYTE* up = ScanLine(clampRow(y - amount >= 0 ? y - amount : y));
    const BYTE* down = ScanLine(clampRow(y + amount < Height ? y + amount : Height - y));
    BYTE* row = ScanLine(y);
    for (int x = 0; x < Width; ++x) {
      int l = 3 * clampCol(x - amount >= 0 ? x - amount : x);
      int r = 3 * clampCol(x + amount < Width ? x + amount : Width - x);
      for (int c = 0; c < 3; ++c) row[3 * x + c] = static_cast<BYTE>((up[l + c] + down[l + c] + up[r + c] + down[r + c]) >> 2);
    }
  }
}

void TksEffectBmp::FlipVert(TksEffectBmp* dest) {
  if (!dest || dest->Width < Width || dest->Height < Height) return;
  size_t bytes = static_cast<size_t>(Width) * 3;
  for (int y = 0; y < Height; ++y) std::memcpy(dest->ScanLine(Height - 1 - y), ScanLine(y), bytes);
}
