// A 24-bit top-down DIB section that skinned controls morph from one face to another
// and that the skinned frame alters for its inactive look.
#pragma once

#include <windows.h>

#include <cstdint>

struct TksPixel {
  BYTE B, G, R;
};
static_assert(sizeof(TksPixel) == 3);

class TksEffectBmp {
 public:
  // Pixels start black.
  TksEffectBmp(int width, int height);
  // A 24-bit copy of the bitmap's pixels.
  static TksEffectBmp* CreateFromHBitmap(HBITMAP bitmap);
  ~TksEffectBmp();
  TksEffectBmp(const TksEffectBmp&) = delete;
  TksEffectBmp& operator=(const TksEffectBmp&) = delete;

  void Draw(HDC dc, int x, int y);

  BYTE* ScanLine(int y) const { return Bits + static_cast<ptrdiff_t>(y) * (Width * 3 + Width % 4); }
  void GetLine(int y, BYTE* line) const;
  void SetLine(int y, const BYTE* line);
  TksPixel GetPixel(int x, int y) const;
  void SetPixel(int x, int y, TksPixel pixel);
  static void CheckRGB(int& r, int& g, int& b);

  void Morph(TksEffectBmp* target, double k);
  void MorphGrad(TksEffectBmp* target, double k);
  void MorphHGrad(TksEffectBmp* target, double k);
  void MorphVGrad(TksEffectBmp* target, double k);
  void MorphLeftGrad(TksEffectBmp* target, double k);
  void MorphRightGrad(TksEffectBmp* target, double k);
  void MorphLeftSlide(TksEffectBmp* target, double k);
  void MorphRightSlide(TksEffectBmp* target, double k);
  void MorphPush(TksEffectBmp* target, double k);

  void Brightness(double k);
  void Darkness(double k);
  void GrayScale();
  void Noise(int amount);
  void SplitBlur(int amount);
  void Invert();
  void FlipVert(TksEffectBmp* dest);

  HBITMAP Handle = nullptr;
  int Width = 0;
  int Height = 0;
  int Size = 0;
  BYTE* Bits = nullptr;
  BITMAPINFOHEADER Header{};
  BITMAPINFO BitmapInfo{};

 private:
  TksEffectBmp() = default;
  void Allocate(int width, int height);
  bool SameSize(const TksEffectBmp* target) const {
    return target && target->Width == Width && target->Height == Height;
  }
  // Runs f(row, y) on a scratch copy of each row and writes it back.
  template <class F>
  void EachRow(F f);
};
