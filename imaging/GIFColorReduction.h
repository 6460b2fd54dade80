// Colour reduction for GIF frames: colour lookups, dither engines, the octree quantizer
// and the DIB reader and writer through which pixels are read and written.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/GIFImage.h"

class TColorLookup : public TObject {
 public:
  explicit TColorLookup(int colors) : Colors(colors) {}
  virtual int Lookup(int red, int green, int blue, int& r, int& g, int& b) = 0;
  int Colors;
};

class TSlowColorLookup : public TColorLookup {
 public:
  explicit TSlowColorLookup(HPALETTE palette);
  int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;

 private:
  HPALETTE palette_;
  std::vector<PALETTEENTRY> entries_;
};

class TNetscapeColorLookup : public TColorLookup {
 public:
  TNetscapeColorLookup() : TColorLookup(216) {}
  int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;
};

class TGrayScaleLookup : public TColorLookup {
 public:
  TGrayScaleLookup() : TColorLookup(256) {}
  int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;
};

class TMonochromeLookup : public TColorLookup {
 public:
  TMonochromeLookup() : TColorLookup(2) {}
  int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;
};

// Nearest colour; the error-diffusion engines derive from it. Scanning is serpentine.
class TDitherEngine : public TObject {
 public:
  TDitherEngine(int width, TColorLookup* lookup) : Lookup(lookup), Width(width) {}
  virtual int Dither(int red, int green, int blue, int& r, int& g, int& b);
  virtual void NextLine();
  void NextColumn() { Column += Direction; }

  int Direction = 1;
  int Column = 0;
  TColorLookup* Lookup;
  int Width;
};

class TFloydSteinbergDitherer : public TDitherEngine {
 public:
  TFloydSteinbergDitherer(int width, TColorLookup* lookup);
  int Dither(int red, int green, int blue, int& r, int& g, int& b) override;
  void NextLine() override;

 private:
  struct Channel {
    std::vector<int> Errors;
    int Cur = 0, Below = 0, BelowPrev = 0;
  };
  std::array<Channel, 3> channels_;
  int position_ = 0;
};

// A kernel: for each of its rows the (offset, weight) pairs, offsets in scan direction.
struct TDitherKernel {
  int Rows;
  int Margin;  // entries before column 0
  int Divisor;
  std::vector<std::vector<std::pair<int, int>>> Weights;
};

// The kernels of Stucki, Sierra, Jarvis-Judice-Ninke, Stevenson-Arce and Burkes.
class TKernelDitherer : public TDitherEngine {
 public:
  TKernelDitherer(int width, TColorLookup* lookup, const TDitherKernel& kernel);
  int Dither(int red, int green, int blue, int& r, int& g, int& b) override;
  void NextLine() override;

 private:
  const TDitherKernel& kernel_;
  // [channel][row]
  std::array<std::vector<std::vector<int>>, 3> rows_;
  int position_;
};

std::unique_ptr<TDitherEngine> CreateDitherEngine(DitherMethod method, int width, TColorLookup* lookup);

class TColorQuantizer {
 public:
  TColorQuantizer(int maxColors, int colorBits);
  ~TColorQuantizer();
  TColorQuantizer(const TColorQuantizer&) = delete;
  TColorQuantizer& operator=(const TColorQuantizer&) = delete;
  // Rows of blue, green, red bytes.
  void ProcessImage(TBitmap& bitmap24);
  void AddColor(int red, int green, int blue);
  // Entries as RGBQUAD (blue, green, red, 0), one per leaf.
  std::vector<RGBQUAD> GetColorTable() const;
  int LeafCount() const { return leafCount_; }

 private:
  struct Node;
  void Add(Node*& node, int red, int green, int blue, int level);
  void ReduceTree();
  Node* tree_ = nullptr;
  int leafCount_ = 0;
  std::array<Node*, 9> reducible_{};
  int maxColors_;
  int colorBits_;
};

HPALETTE CreateOptimizedPaletteFromBitmap(TBitmap& bitmap, int colors, int colorBits, bool addSystemColors);

// A new bitmap for a picture of width x height made through a DIB writer: one of more than
// 500,000 pixels starts at 1 bit per pixel, which the DIB replaces.
std::unique_ptr<TBitmap> NewDIBTarget(int width, int height);

// Builds an 8 or 24-bit DIB and loads it into the bitmap when destroyed.
class TDIBWriter {
 public:
  TDIBWriter(TBitmap& bitmap, TPixelFormat format, int width, int height, HPALETTE palette);
  ~TDIBWriter();
  TDIBWriter(const TDIBWriter&) = delete;
  TDIBWriter& operator=(const TDIBWriter&) = delete;
  uint8_t* GetScanline(int row);
  // Loads the DIB into the bitmap now (the destructor does it otherwise).
  void Finish();

 private:
  TBitmap& bitmap_;
  int bits_;
  int width_, height_;
  int rowSize_;
  std::vector<RGBQUAD> colors_;
  int importantColors_ = 0;
  std::vector<uint8_t> pixels_;
  bool finished_ = false;
};
