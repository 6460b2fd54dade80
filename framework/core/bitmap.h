// TBitmap: pixels in a bottom-up DIB section, module-neutral, so the program can hand a
// bitmap to the library and the library draw into it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "framework/core/canvas.h"
#include "framework/core/graphic.h"
#include "framework/core/handles.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;
struct TBmpImage;

class TBitmap : public TGraphic {
 public:
  static const TGraphicClass Class;

  // Empty, pfDevice.
  TBitmap();
  // White, of the given size and format.
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  ~TBitmap() override;

  const TGraphicClass& GraphicClass() const override { return Class; }

  // A bitmap: deep copy; null: empty; another graphic: its AssignTo.
  void Assign(TPersistent* Source) override;

  void Draw(TCanvas& canvas, const TRect& rect) override;
  bool Empty() const override { return width_ == 0 || height_ == 0; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // A resize keeps the overlapping pixels and fills the rest white.
  void SetWidth(int width) override { SetSize(width, height_); }
  void SetHeight(int height) override { SetSize(width_, height); }
  void SetSize(int width, int height);

  TPixelFormat PixelFormat() const { return format_; }
  // Converts the pixels: to 24/32 bits exactly, to 8 or 4 bits through the palette (a
  // halftone or the standard one when the bitmap has none), to 1 bit black and white.
  void SetPixelFormat(TPixelFormat format);
  bool Monochrome() const { return format_ == pf1bit; }

  // bmDDB only while an adopted device bitmap has not yet been needed as pixels; asking
  // for bmDIB converts it, asking for bmDDB changes nothing.
  TBitmapHandleType HandleType() const { return isDDB_ ? bmDDB : bmDIB; }
  void SetHandleType(TBitmapHandleType type);
  // Not left selected in the canvas DC, so GetDIBits works on it; the canvas selects it
  // again on its next operation. Null while empty.
  HBITMAP Handle();
  // Adopts and owns the bitmap; a device bitmap stays one until pixels are needed.
  void SetHandle(HBITMAP bitmap);
  // Hands the pixels over to the caller; the bitmap is empty afterwards.
  HBITMAP ReleaseHandle();
  bool HandleAllocated() const { return handle_.valid(); }

  // Monochrome: 1 where the pixel equals TransparentColor.
  HBITMAP MaskHandle();
  HBITMAP ReleaseMaskHandle();

  // For <= 8 bits built from the colour table; a palette set is owned and written to it.
  HPALETTE Palette() override;
  void SetPalette(HPALETTE palette) override;
  HPALETTE ReleasePalette();

  // A memory DC of this bitmap with bitmap and palette selected; drawing fires OnChange.
  TCanvas* Canvas();

  // The top row is 0 and lies at the highest address; ScanLineStride() is negative.
  void* ScanLine(int row);
  ptrdiff_t ScanLineStride() const;

  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);
  // tmAuto: the bottom-left pixel as plain RGB. Setting a colour selects tmFixed.
  TColor TransparentColor();
  void SetTransparentColor(TColor color);

  // One BMP at the stream's position, exactly bfSize bytes; see bmpio.h. A failure raises
  // EInvalidGraphic and leaves the bitmap as it was.
  void LoadFromStream(TStream& stream) override;
  // An empty bitmap writes nothing.
  void SaveToStream(TStream& stream) override;
  // RT_BITMAP resources: packed DIBs, read as strictly as files.
  void LoadFromResourceName(HINSTANCE instance, const String& name);
  void LoadFromResourceID(HINSTANCE instance, int id);
  void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;

  // Deselect and drop caches; the pixels stay.
  void Dormant();
  void FreeImage();

  void Changed(TObject* sender) override;

 private:
  friend class TBitmapCanvas;

  struct Dib;
  void Replace(Dib dib);
  void DeselectFromCanvas();
  void FreeMask();
  void FreePalette();
  void EnsureDIB();
  void LoadDib(const TBmpImage& image);
  int BitCount() const;
  std::vector<uint32_t> ReadPixels32();

  BitmapHandle handle_;
  void* bits_ = nullptr;
  bool isDDB_ = false;
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = pfDevice;
  int deviceBits_ = 0;  // the bit count behind pfDevice
  std::vector<RGBQUAD> colors_;
  PaletteHandle palette_;
  BitmapHandle mask_;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
  std::unique_ptr<TBitmapCanvas> canvas_;
};
