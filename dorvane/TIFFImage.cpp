#include "dorvane/TIFFImage.h"

#include <array>
#include <cstring>
#include <optional>

#include "dorvane/ReadTiffTags.h"
#include "framework/core/bitmap.h"

namespace {

// Bigger images are not drawn as thumbnails.
constexpr uint64_t MaxPixelBytes = 256ull << 20;

struct TRgb {
  uint8_t Red, Green, Blue;
};
using TTiffPalette = std::array<TRgb, 256>;

TTiffPalette Ramp() {
  TTiffPalette palette;
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
  return palette;
}

std::optional<uint32_t> TagValue(const TGraphicTiff& ifd, uint16_t tag) {
  const TTiffEntry* entry = ifd.FindEntry(tag);
  if (!entry) return std::nullopt;
  return entry->Value;
}

// The geometry every kind needs; empty when a tag is missing or the image is compressed.
struct TGeometry {
  uint32_t Width = 0;
  uint32_t Height = 0;
};

std::optional<TGeometry> PlainGeometry(const TGraphicTiff& ifd) {
  const auto width = TagValue(ifd, ttImageWidth);
  const auto height = TagValue(ifd, ttImageLength);
  const auto compression = TagValue(ifd, ttCompression);
  if (!width || !height || !compression || *compression != 1) return std::nullopt;
  if (*width == 0 || *height == 0 || *width > 0xFFFF || *height > 0xFFFF) return std::nullopt;
  return TGeometry{*width, *height};
}

// The rows of the image, unpadded, read from the strips in order. Empty when the
// strips do not hold the whole image inside the file.
std::vector<uint8_t> ReadRows(const TGraphicTiff& ifd, uint64_t rowBytes, uint32_t height) {
  const uint64_t total = rowBytes * height;
  if (total == 0 || total > MaxPixelBytes || ifd.StripCount() == 0) return {};
  std::vector<uint8_t> rows;
  rows.reserve(static_cast<size_t>(total));
  const auto& data = ifd.Owner->Data();
  for (int i = 0; i < ifd.StripCount() && rows.size() < total; ++i) {
    const TTiffStrip strip = ifd.GetStrip(i);
    if (!ifd.Owner->Holds(strip.Offset, strip.ByteCount)) return {};
    const uint64_t take = std::min<uint64_t>(strip.ByteCount, total - rows.size());
    rows.insert(rows.end(), data.begin() + strip.Offset, data.begin() + strip.Offset + take);
  }
  if (rows.size() < total) return {};
  return rows;
}

// Expands rows of 1, 2, 4 or 8 bits per pixel through the palette into a 24-bit bitmap.
void DrawIndexed(const std::vector<uint8_t>& rows, const TGeometry& g, int bits, const TTiffPalette& palette,
                 TBitmap& bitmap) {
  const uint64_t rowBytes = (uint64_t{g.Width} * bits + 7) / 8;
  TBitmap image(static_cast<int>(g.Width), static_cast<int>(g.Height), pf24bit);
  for (uint32_t y = 0; y < g.Height; ++y) {
    const uint8_t* in = rows.data() + y * rowBytes;
    auto* out = static_cast<uint8_t*>(image.ScanLine(static_cast<int>(y)));
    for (uint32_t x = 0; x < g.Width; ++x) {
      // Samples are packed from the high bits of each byte down.
      const uint64_t bit = uint64_t{x} * bits;
      const unsigned index = (in[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      const TRgb c = palette[index];
      out[3 * x] = c.Blue;
      out[3 * x + 1] = c.Green;
      out[3 * x + 2] = c.Red;
    }
  }
  bitmap.Assign(&image);
}

bool DrawBilevel(const TGraphicTiff& ifd, uint32_t photometric, TBitmap& bitmap) {
  const auto g = PlainGeometry(ifd);
  if (!g) return false;
  const auto rows = ReadRows(ifd, (uint64_t{g->Width} + 7) / 8, g->Height);
  if (rows.empty()) return false;
  TTiffPalette palette = Ramp();
  const uint8_t zero = photometric == 0 ? 255 : 0;
  palette[0] = {zero, zero, zero};
  palette[1] = {uint8_t(255 - zero), uint8_t(255 - zero), uint8_t(255 - zero)};
  DrawIndexed(rows, *g, 1, palette, bitmap);
  return true;
}

bool DrawGrey(const TGraphicTiff& ifd, int bits, TBitmap& bitmap) {
  const auto g = PlainGeometry(ifd);
  if (!g) return false;
  const auto rows = ReadRows(ifd, (uint64_t{g->Width} * bits + 7) / 8, g->Height);
  if (rows.empty()) return false;
  TTiffPalette palette = Ramp();
  if (bits == 4) {
    for (int i = 0; i < 16; ++i) {
      const auto v = static_cast<uint8_t>(i * 255 / 15);
      palette[i] = {v, v, v};
    }
  }
  DrawIndexed(rows, *g, bits, palette, bitmap);
  return true;
}

bool DrawPalette(const TGraphicTiff& ifd, TBitmap& bitmap) {
  const auto g = PlainGeometry(ifd);
  const auto bits = TagValue(ifd, ttBitsPerSample);
  const TTiffEntry* map = ifd.FindEntry(ttColorMap);
  if (!g || !bits || !map || (*bits != 1 && *bits != 2 && *bits != 4 && *bits != 8)) return false;
  TTiffPalette palette = Ramp();
  const uint32_t entries = map->Count / 3;
  if (entries >= 1 && entries <= 256) {
    const auto values = ifd.Values(*map, entries * 3);
    for (uint32_t i = 0; i < entries; ++i) {
      palette[i] = {uint8_t(values[i] >> 8), uint8_t(values[entries + i] >> 8),
                    uint8_t(values[2 * entries + i] >> 8)};
    }
  }
  const auto rows = ReadRows(ifd, (uint64_t{g->Width} * *bits + 7) / 8, g->Height);
  if (rows.empty()) return false;
  DrawIndexed(rows, *g, static_cast<int>(*bits), palette, bitmap);
  return true;
}

void DrawRGB(const TGraphicTiff& ifd, TBitmap& bitmap) {
  const auto width = TagValue(ifd, ttImageWidth);
  if (!width) throw Exception("Error reading tag Image Width");
  const auto height = TagValue(ifd, ttImageLength);
  if (!height) throw Exception("Error reading tag image height");
  const auto compression = TagValue(ifd, ttCompression);
  if (!compression) throw Exception("Error reading tag Compression");
  const TTiffEntry* bits = ifd.FindEntry(ttBitsPerSample);
  if (!bits) throw Exception("Error reading tag Bits Per Sample");
  if (*compression != 1) throw Exception("Cant read compressed RGB Full Color Image");
  const auto samples = bits->Count == 1 ? std::vector<uint32_t>(3, bits->Value) : ifd.Values(*bits, 3);
  if (samples.size() < 3 || samples[0] != 8 || samples[1] != 8 || samples[2] != 8)
    throw Exception("Error : Bits Per Same (RGB) not 8");
  // A size no bitmap takes leaves this one empty; later directories still draw.
  if (*width == 0 || *height == 0 || *width > 0xFFFF || *height > 0xFFFF) {
    bitmap.Assign(nullptr);
    return;
  }

  const TGeometry g{*width, *height};
  const uint64_t rowBytes = uint64_t{g.Width} * 3;
  const auto rows = ReadRows(ifd, rowBytes, g.Height);
  if (rows.empty()) throw Exception("Error reading image data");
  TBitmap image(static_cast<int>(g.Width), static_cast<int>(g.Height), pf24bit);
  for (uint32_t y = 0; y < g.Height; ++y) {
    const uint8_t* in = rows.data() + y * rowBytes;
    auto* out = static_cast<uint8_t*>(image.ScanLine(static_cast<int>(y)));
    for (uint32_t x = 0; x < g.Width; ++x) {
      out[3 * x] = in[3 * x + 2];
      out[3 * x + 1] = in[3 * x + 1];
      out[3 * x + 2] = in[3 * x];
    }
  }
  bitmap.Assign(&image);
}

}  // namespace

void LoadTIFF(const String& FileName, TBitmap& Bitmap) {
  TFileTiff tiff;
  tiff.SetFileName(FileName);
  if (tiff.TooLarge)
    throw Exception("TIFF file too large to draw: " + IntToStr(static_cast<int64_t>(tiff.FileSize)) + " bytes");
  if (!tiff.Valid) throw Exception("File is not a valid TIFF file");
  for (int i = 0; i < tiff.Count(); ++i) {
    const TGraphicTiff& ifd = *tiff.GetIFD(i);
    const auto photometric = TagValue(ifd, ttPhotometric);
    if (!photometric) throw Exception("Error reading Tag Photometric interpretation");
    if (*photometric > 3)
      throw Exception("Error evaluating Photometric interpretation: " + IntToStr(int64_t{*photometric}));
    switch (*photometric) {
      case 0:
      case 1: {
        const auto bits = TagValue(ifd, ttBitsPerSample);
        if (!bits || *bits == 1) {
          DrawBilevel(ifd, *photometric, Bitmap);
        } else if (*bits == 4 || *bits == 8) {
          DrawGrey(ifd, static_cast<int>(*bits), Bitmap);
        }
        break;
      }
      case 2: DrawRGB(ifd, Bitmap); break;
      case 3: DrawPalette(ifd, Bitmap); break;
    }
  }
}
