// TJPEGImage: a JPEG decoder over libjpeg (6b interface). It keeps the compressed bytes and
// decodes into an owned TBitmap on demand; there is no encoder.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "framework/core/graphic.h"

class TBitmap;

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGPixelFormat { jf24Bit, jf8Bit };

class TJPEGImage : public TGraphic {
 public:
  static const TGraphicClass Class;

  TJPEGImage();
  ~TJPEGImage() override;

  const TGraphicClass& GraphicClass() const override { return Class; }
  void Assign(TPersistent* Source) override;

  void Draw(TCanvas& canvas, const TRect& rect) override;
  bool Empty() const override { return data_.empty(); }
  // At the current scale, rounded up. Reading them parses the header; a damaged one
  // raises EJPEG.
  int Width() const override;
  int Height() const override;
  // Arithmetic rather than Huffman coded, as the header says; reading it parses the header.
  bool ArithmeticCoded() const;
  // A JPEG's size is its data's; these raise EInvalidGraphicOperation.
  void SetWidth(int width) override;
  void SetHeight(int height) override;

  // Keeps the rest of the stream; nothing is decoded yet.
  void LoadFromStream(TStream& stream) override;
  // Writes the bytes loaded.
  void SaveToStream(TStream& stream) override;

  TJPEGScale Scale() const { return scale_; }
  void SetScale(TJPEGScale scale);
  TJPEGPerformance Performance() const { return performance_; }
  void SetPerformance(TJPEGPerformance performance);
  bool Grayscale() const { return grayscale_; }
  void SetGrayscale(bool grayscale);
  TJPEGPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TJPEGPixelFormat format);
  int CompressionQuality() const { return compressionQuality_; }
  void SetCompressionQuality(int quality) { compressionQuality_ = quality; }
  bool ProgressiveDisplay() const { return progressiveDisplay_; }
  void SetProgressiveDisplay(bool progressive) { progressiveDisplay_ = progressive; }

  // Decodes now into the owned bitmap: pf8bit with a grey palette for grey output, else
  // pf24bit. A library error raises EJPEG("JPEG error #<code>"); a truncated file decodes
  // with the rest filled.
  void DIBNeeded();
  TBitmap* Bitmap();

 protected:
  // To a bitmap: a 24-bit copy of the decoded image.
  void AssignTo(TPersistent* Dest) override;

 private:
  void SettingsChanged();
  void ReadHeader() const;

  std::vector<uint8_t> data_;
  std::unique_ptr<TBitmap> bitmap_;
  mutable int fullWidth_ = -1;  // -1 until the header was read
  mutable int fullHeight_ = -1;
  mutable bool arithmeticCoded_ = false;
  TJPEGScale scale_ = jsFullSize;
  TJPEGPerformance performance_ = jpBestQuality;
  bool grayscale_ = false;
  TJPEGPixelFormat pixelFormat_ = jf24Bit;
  int compressionQuality_ = 90;
  bool progressiveDisplay_ = false;
};

// The library's message templates, indexed by message code, so callers can log raw text.
std::span<const char* const> JPEGMessageTable();
// The code of the last error or warning the library reported on this thread (0 if none).
int JPEGLastMessageCode();
