#include "framework/core/bitmap.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "framework/core/bmpio.h"
#include "framework/core/seams.h"

const TGraphicClass TBitmap::Class{"TBitmap", []() -> TGraphic* { return new TBitmap; }};

namespace {

// The depth behind pfDevice; tests choose it through the screen seam.
int ScreenBits() {
  int bits = ScreenSeam().BitsPerPixel();
  if (bits <= 8) return 8;
  if (bits <= 16) return 16;
  return bits == 24 ? 24 : 32;
}

int FormatBits(TPixelFormat format, int deviceBits) {
  static constexpr int kBits[] = {0, 1, 4, 8, 16, 16, 24, 32};
  return format == pfDevice ? deviceBits : kBits[format];
}

bool Is565(TPixelFormat format, int deviceBits) { return format == pf16bit || (format == pfDevice && deviceBits == 16); }

TPixelFormat FormatOfBits(int bits, bool rgb565) {
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return rgb565 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

std::vector<RGBQUAD> DefaultColors(int bits) {
  if (bits == 1) return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  if (bits == 4) {
    static constexpr COLORREF kStandard[16] = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
        0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    std::vector<RGBQUAD> colors;
    for (COLORREF c : kStandard) colors.push_back(RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0});
    return colors;
  }
  std::vector<RGBQUAD> colors(256, RGBQUAD{0, 0, 0, 0});
  HDC screen = GetDC(nullptr);
  PaletteHandle halftone(CreateHalftonePalette(screen));
  ReleaseDC(nullptr, screen);
  PALETTEENTRY entries[256] = {};
  UINT count = halftone ? GetPaletteEntries(halftone.get(), 0, 256, entries) : 0;
  for (UINT i = 0; i < count; ++i) colors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  return colors;
}

// Nearest colour-table entry, remembered per colour: conversions see few distinct colours.
class NearestColor {
 public:
  explicit NearestColor(const std::vector<RGBQUAD>& colors) : colors_(colors) {}
  uint8_t operator()(uint32_t bgr) {
    auto [it, added] = cache_.try_emplace(bgr, 0);
    if (!added) return it->second;
    int b = bgr & 0xFF, g = (bgr >> 8) & 0xFF, r = (bgr >> 16) & 0xFF;
    int best = 0;
    int bestDistance = INT32_MAX;
    for (size_t i = 0; i < colors_.size(); ++i) {
      int db = colors_[i].rgbBlue - b, dg = colors_[i].rgbGreen - g, dr = colors_[i].rgbRed - r;
      int d = db * db + dg * dg + dr * dr;
      if (d < bestDistance) {
        bestDistance = d;
        best = static_cast<int>(i);
      }
    }
    it->second = static_cast<uint8_t>(best);
    return it->second;
  }

 private:
  const std::vector<RGBQUAD>& colors_;
  std::unordered_map<uint32_t, uint8_t> cache_;
};

void PutIndex(uint8_t* row, int x, int bits, uint8_t index) {
  if (bits == 8) {
    row[x] = index;
  } else if (bits == 4) {
    int shift = (x % 2 == 0) ? 4 : 0;
    row[x / 2] = static_cast<uint8_t>((row[x / 2] & ~(0x0F << shift)) | (index << shift));
  } else {
    uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
    row[x / 8] = static_cast<uint8_t>(index ? (row[x / 8] | bit) : (row[x / 8] & ~bit));
  }
}

struct BitmapInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

}  // namespace

// A DIB section being built; deleted unless handed to the bitmap.
struct TBitmap::Dib {
  BitmapHandle handle;
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  TPixelFormat format = pfDevice;
  int deviceBits = 0;
  std::vector<RGBQUAD> colors;

  int BitCount() const { return FormatBits(format, deviceBits); }
  size_t Stride() const { return TBmpImage::Stride(width, BitCount()); }
  uint8_t* Row(int y) const { return bits + static_cast<size_t>(height - 1 - y) * Stride(); }

  // Bottom-up, with the given colour table (padded or cut to size) or the default one.
  static Dib Make(int width, int height, TPixelFormat format, int deviceBits, std::vector<RGBQUAD> colors) {
    Dib dib;
    dib.width = width;
    dib.height = height;
    dib.format = format;
    dib.deviceBits = format == pfDevice ? (deviceBits ? deviceBits : ScreenBits()) : 0;
    const int bitCount = dib.BitCount();
    if (bitCount <= 8) {
      dib.colors = colors.empty() ? DefaultColors(bitCount) : std::move(colors);
      dib.colors.resize(size_t{1} << bitCount, RGBQUAD{0, 0, 0, 0});
    }
    if (width <= 0 || height <= 0) return dib;
    if (static_cast<uint64_t>(TBmpImage::Stride(width, bitCount)) * static_cast<uint64_t>(height) > kMaxBmpPixelBytes)
      throw EOutOfResources("Out of system resources");
    BitmapInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    info.header.biCompression = BI_RGB;
    if (bitCount == 16 && Is565(format, dib.deviceBits)) {
      info.header.biCompression = BI_BITFIELDS;
      const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
      std::memcpy(info.colors, masks, sizeof(masks));
    } else if (bitCount <= 8) {
      info.header.biClrUsed = static_cast<DWORD>(dib.colors.size());
      std::copy(dib.colors.begin(), dib.colors.end(), info.colors);
    }
    void* bits = nullptr;
    dib.handle.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.handle || !bits) throw EOutOfResources("Out of system resources");
    dib.bits = static_cast<uint8_t*>(bits);
    return dib;
  }

  void FillWhite() {
    if (!bits) return;
    const int bitCount = BitCount();
    std::vector<uint8_t> row(Stride(), 0xFF);
    if (bitCount <= 8) {
      uint8_t index = NearestColor(colors)(0xFFFFFF);
      uint8_t fill = bitCount == 8 ? index : bitCount == 4 ? static_cast<uint8_t>(index * 0x11) : (index ? 0xFF : 0x00);
      std::fill(row.begin(), row.end(), fill);
    } else if (bitCount == 16 && !Is565(format, deviceBits)) {
      for (size_t i = 0; i + 1 < row.size(); i += 2) row[i + 1] = 0x7F;
    } else if (bitCount == 32) {
      for (size_t i = 3; i < row.size(); i += 4) row[i] = 0;
    }
    for (int y = 0; y < height; ++y) std::memcpy(Row(y), row.data(), row.size());
  }

  // Top-down 0x00RRGGBB pixels into this DIB's format.
  void Encode(const std::vector<uint32_t>& pixels) {
    const int bitCount = BitCount();
    const bool rgb565 = Is565(format, deviceBits);
    NearestColor nearest(colors);
    for (int y = 0; y < height; ++y) {
      uint8_t* row = Row(y);
      const uint32_t* src = pixels.data() + static_cast<size_t>(y) * width;
      for (int x = 0; x < width; ++x) {
        uint32_t p = src[x] & 0xFFFFFF;
        uint32_t b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
        switch (bitCount) {
          case 32:
            std::memcpy(row + 4 * x, &p, 4);
            break;
          case 24:
            row[3 * x] = static_cast<uint8_t>(b);
            row[3 * x + 1] = static_cast<uint8_t>(g);
            row[3 * x + 2] = static_cast<uint8_t>(r);
            break;
          case 16: {
            uint16_t v = rgb565 ? static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3)
                                : static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
            std::memcpy(row + 2 * x, &v, 2);
            break;
          }
          default:
            PutIndex(row, x, bitCount, nearest(p));
        }
      }
    }
  }
};

// ---- the bitmap's canvas --------------------------------------------------------------

class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  // Takes the bitmap out of the DC; the next operation selects it again.
  void Deselect() {
    if (selected_) {
      SelectObject(dc_.get(), oldBitmap_);
      if (oldPalette_) SelectPalette(dc_.get(), oldPalette_, TRUE);
      oldPalette_ = nullptr;
      selected_ = false;
    }
    if (dc_) InvalidateHandle();
  }

  void FreeContext() {
    Deselect();
    if (!dc_) return;
    SetHandle(nullptr);
    dc_.reset();
  }

  // The DC as a source of pixels: no change notification.
  HDC SourceDC() {
    RequiredState(csHandleValid);
    return dc_.get();
  }

 protected:
  void CreateHandle() override {
    if (!dc_) {
      dc_.reset(CreateCompatibleDC(nullptr));
      if (!dc_) throw EOutOfResources("Out of system resources");
      SetHandle(dc_.get());
    }
    if (!selected_ && bitmap_->handle_) {
      oldBitmap_ = SelectObject(dc_.get(), bitmap_->handle_.get());
      if (bitmap_->palette_) {
        oldPalette_ = SelectPalette(dc_.get(), bitmap_->palette_.get(), TRUE);
        RealizePalette(dc_.get());
      }
      selected_ = true;
    }
    ValidateHandle();
  }

  void Changed() override {
    TCanvas::Changed();
    bitmap_->Changed(this);
  }

 private:
  TBitmap* bitmap_;
  MemoryDC dc_;
  HGDIOBJ oldBitmap_ = nullptr;
  HPALETTE oldPalette_ = nullptr;
  bool selected_ = false;
};

// ---- TBitmap --------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  format_ = format;
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  // The canvas lets go of the bitmap and palette before they are deleted.
  canvas_.reset();
}

int TBitmap::BitCount() const { return FormatBits(format_, deviceBits_ ? deviceBits_ : ScreenBits()); }

void TBitmap::DeselectFromCanvas() {
  if (canvas_) canvas_->Deselect();
}

void TBitmap::FreeMask() {
  mask_.reset();
}

void TBitmap::FreePalette() {
  DeselectFromCanvas();
  palette_.reset();
}

void TBitmap::Replace(Dib dib) {
  DeselectFromCanvas();
  FreeMask();
  handle_ = std::move(dib.handle);
  bits_ = dib.bits;
  isDDB_ = false;
  width_ = dib.width;
  height_ = dib.height;
  format_ = dib.format;
  deviceBits_ = dib.deviceBits;
  // A palette of a colour table is made again from the new table; one set on a deeper
  // bitmap stays.
  if (dib.BitCount() <= 8 || !dib.colors.empty()) FreePalette();
  colors_ = std::move(dib.colors);
}

std::vector<uint32_t> TBitmap::ReadPixels32() {
  std::vector<uint32_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_));
  if (pixels.empty() || !handle_) return pixels;
  DeselectFromCanvas();
  GdiFlush();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  MemoryDC dc(CreateCompatibleDC(nullptr));
  int rows = GetDIBits(dc.get(), handle_.get(), 0, static_cast<UINT>(height_), pixels.data(), &info, DIB_RGB_COLORS);
  if (rows != height_) throw EOutOfResources("Out of system resources");
  return pixels;
}

void TBitmap::EnsureDIB() {
  if (!isDDB_ || !handle_) return;
  BITMAP bm{};
  GetObjectA(handle_.get(), sizeof(bm), &bm);
  std::vector<uint32_t> pixels = ReadPixels32();
  Dib dib = Dib::Make(width_, height_, bm.bmBitsPixel == 1 ? pf1bit : pfDevice, 0, {});
  dib.Encode(pixels);
  Replace(std::move(dib));
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  EnsureDIB();
  GdiFlush();
  Dib dib = Dib::Make(width, height, format_, deviceBits_, colors_);
  dib.FillWhite();
  if (dib.bits && bits_) {
    // Copy the overlap row by row, bit-exact for 1- and 4-bit rows.
    Dib old;
    old.bits = static_cast<uint8_t*>(bits_);
    old.width = width_;
    old.height = height_;
    old.format = format_;
    old.deviceBits = deviceBits_;
    const size_t rowBits = static_cast<size_t>(std::min(width, width_)) * dib.BitCount();
    const size_t full = rowBits / 8;
    const unsigned rest = static_cast<unsigned>(rowBits % 8);
    for (int y = 0; y < std::min(height, height_); ++y) {
      uint8_t* to = dib.Row(y);
      const uint8_t* from = old.Row(y);
      std::memcpy(to, from, full);
      if (rest) {
        uint8_t keep = static_cast<uint8_t>(0xFF << (8 - rest));
        to[full] = static_cast<uint8_t>((from[full] & keep) | (to[full] & ~keep));
      }
    }
  }
  Replace(std::move(dib));
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  EnsureDIB();
  std::vector<RGBQUAD> colors;
  int bits = FormatBits(format, ScreenBits());
  if (bits <= 8 && format != pf1bit && !colors_.empty() && colors_.size() <= (size_t{1} << bits)) colors = colors_;
  std::vector<uint32_t> pixels = ReadPixels32();
  Dib dib = Dib::Make(width_, height_, format, 0, std::move(colors));
  if (dib.bits) dib.Encode(pixels);
  Replace(std::move(dib));
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType type) {
  if (type == bmDIB) EnsureDIB();
}

HBITMAP TBitmap::Handle() {
  DeselectFromCanvas();
  return handle_.get();
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  if (bitmap == handle_.get()) return;
  Replace(Dib{});
  width_ = height_ = 0;
  if (bitmap) {
    DIBSECTION ds{};
    bool dibSection = GetObjectA(bitmap, sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBits;
    int bits = ds.dsBmih.biBitCount;
    if (dibSection && ds.dsBmih.biHeight > 0 &&
        (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) {
      handle_.reset(bitmap);
      bits_ = ds.dsBm.bmBits;
      width_ = ds.dsBm.bmWidth;
      height_ = ds.dsBm.bmHeight;
      format_ = FormatOfBits(bits, ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0);
      if (bits <= 8) {
        colors_.assign(size_t{1} << bits, RGBQUAD{0, 0, 0, 0});
        MemoryDC dc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(dc.get(), bitmap);
        GetDIBColorTable(dc.get(), 0, static_cast<UINT>(colors_.size()), colors_.data());
        SelectObject(dc.get(), old);
      }
    } else {
      // A device bitmap, or a DIB section laid out otherwise: pixels are converted
      // into our own DIB section when they are needed.
      BITMAP bm{};
      GetObjectA(bitmap, sizeof(bm), &bm);
      handle_.reset(bitmap);
      isDDB_ = true;
      width_ = bm.bmWidth;
      height_ = bm.bmHeight;
      format_ = bm.bmBitsPixel == 1 ? pf1bit : pfDevice;
      if (dibSection) EnsureDIB();
    }
  }
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  DeselectFromCanvas();
  HBITMAP bitmap = handle_.release();
  bits_ = nullptr;
  isDDB_ = false;
  width_ = height_ = 0;
  FreeMask();
  Changed(this);
  return bitmap;
}

HBITMAP TBitmap::MaskHandle() {
  if (mask_ || Empty()) return mask_.get();
  TColor key = ColorToRGB(TransparentColor());
  uint32_t wanted = static_cast<uint32_t>(GetBValue(key)) | static_cast<uint32_t>(GetGValue(key)) << 8 |
                    static_cast<uint32_t>(GetRValue(key)) << 16;
  std::vector<uint32_t> pixels = ReadPixels32();
  // Monochrome device bitmap rows: top-down, padded to 16 bits, 1 = white.
  const size_t rowBytes = ((static_cast<size_t>(width_) + 15) / 16) * 2;
  std::vector<uint8_t> bits(rowBytes * static_cast<size_t>(height_), 0);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if ((pixels[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF) == wanted)
        bits[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  mask_.reset(CreateBitmap(width_, height_, 1, 1, bits.data()));
  return mask_.get();
}

HBITMAP TBitmap::ReleaseMaskHandle() {
  MaskHandle();
  return mask_.release();
}

HPALETTE TBitmap::Palette() {
  if (!palette_ && !colors_.empty()) {
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + colors_.size() * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(colors_.size());
    for (size_t i = 0; i < colors_.size(); ++i)
      log->palPalEntry[i] = PALETTEENTRY{colors_[i].rgbRed, colors_[i].rgbGreen, colors_[i].rgbBlue, 0};
    palette_.reset(CreatePalette(log));
  }
  return palette_.get();
}

void TBitmap::SetPalette(HPALETTE palette) {
  FreePalette();
  palette_.reset(palette);
  if (palette && BitCount() <= 8) {
    EnsureDIB();
    PALETTEENTRY entries[256] = {};
    UINT count = GetPaletteEntries(palette, 0, 1u << BitCount(), entries);
    colors_.assign(size_t{1} << BitCount(), RGBQUAD{0, 0, 0, 0});
    for (UINT i = 0; i < count; ++i) colors_[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    if (handle_) {
      MemoryDC dc(CreateCompatibleDC(nullptr));
      HGDIOBJ old = SelectObject(dc.get(), handle_.get());
      SetDIBColorTable(dc.get(), 0, static_cast<UINT>(colors_.size()), colors_.data());
      SelectObject(dc.get(), old);
    }
  }
  SetPaletteModified(true);
  Changed(this);
}

HPALETTE TBitmap::ReleasePalette() {
  Palette();
  DeselectFromCanvas();
  return palette_.release();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(this);
  return canvas_.get();
}

void* TBitmap::ScanLine(int row) {
  EnsureDIB();
  if (row < 0 || row >= height_ || !bits_) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  return static_cast<uint8_t*>(bits_) + static_cast<size_t>(height_ - 1 - row) * TBmpImage::Stride(width_, BitCount());
}

ptrdiff_t TBitmap::ScanLineStride() const {
  return -static_cast<ptrdiff_t>(TBmpImage::Stride(width_, BitCount()));
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  if (mode == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(TransparentColor());
}

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (Empty()) return clDefault;
  return Canvas()->Pixels(0, height_ - 1) & 0xFFFFFF;
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  if (Empty()) return;
  HDC source = static_cast<TBitmapCanvas*>(Canvas())->SourceDC();
  HDC dest = canvas.Handle();
  if (Transparent()) {
    TransparentBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, width_, height_,
                   static_cast<UINT>(ColorToRGB(TransparentColor())));
    return;
  }
  int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
  StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, width_, height_, canvas.CopyMode());
  SetStretchBltMode(dest, oldMode);
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Replace(Dib::Make(0, 0, format_, deviceBits_, colors_));
    Changed(this);
    return;
  }
  auto* source = dynamic_cast<TBitmap*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  source->EnsureDIB();
  GdiFlush();
  Dib dib = Dib::Make(source->width_, source->height_, source->format_, source->deviceBits_, source->colors_);
  if (dib.bits) std::memcpy(dib.bits, source->bits_, dib.Stride() * static_cast<size_t>(dib.height));
  Replace(std::move(dib));
  if (source->palette_ && source->BitCount() > 8) palette_.reset(CopyPalette(source->palette_.get()));
  transparentMode_ = source->transparentMode_;
  transparentColor_ = source->transparentColor_;
  if (Transparent() != source->Transparent()) TGraphic::SetTransparent(source->Transparent());
  Changed(this);
}

void TBitmap::LoadDib(const TBmpImage& image) {
  Dib dib = Dib::Make(image.Width, image.Height, FormatOfBits(image.BitCount, image.Rgb565), 0, image.Colors);
  std::memcpy(dib.bits, image.Bits.data(), std::min(image.Bits.size(), dib.Stride() * static_cast<size_t>(dib.height)));
  Replace(std::move(dib));
  Changed(this);
}

void TBitmap::LoadFromStream(TStream& stream) { LoadDib(ReadBmp(stream)); }

void TBitmap::SaveToStream(TStream& stream) {
  if (Empty()) return;
  EnsureDIB();
  GdiFlush();
  WriteBmp(stream, width_, height_, BitCount(), Is565(format_, deviceBits_), colors_, bits_);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name) {
  HRSRC resource = FindResourceA(instance, name.c_str(), reinterpret_cast<LPCSTR>(RT_BITMAP));
  HGLOBAL data = resource ? LoadResource(instance, resource) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EInvalidGraphic(Format("Resource %s not found", name));
  LoadDib(DecodeDib({static_cast<const uint8_t*>(bytes), SizeofResource(instance, resource)}));
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
  HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
  HGLOBAL data = resource ? LoadResource(instance, resource) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EInvalidGraphic(Format("Resource %d not found", id));
  LoadDib(DecodeDib({static_cast<const uint8_t*>(bytes), SizeofResource(instance, resource)}));
}

void TBitmap::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE) {
  if (format != CF_BITMAP || !data) throw EInvalidGraphic("Unsupported clipboard format");
  // The clipboard keeps its bitmap: take a copy.
  HBITMAP copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!copy) throw EOutOfResources("Out of system resources");
  SetHandle(copy);
}

void TBitmap::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
  format = CF_BITMAP;
  data = CopyImage(Handle(), IMAGE_BITMAP, 0, 0, 0);
  palette = CopyPalette(Palette());
}

void TBitmap::Dormant() {
  if (canvas_) canvas_->FreeContext();
  FreeMask();
}

void TBitmap::FreeImage() { Dormant(); }

void TBitmap::Changed(TObject* sender) {
  FreeMask();
  TGraphic::Changed(sender);
}
