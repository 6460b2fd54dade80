#include "framework/core/bmpio.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "framework/core/littleendian.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

// Every read of the file goes through here, checked against what is there.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
  size_t Size() const { return data_.size(); }
  void Need(uint64_t offset, uint64_t count) const {
    if (offset > data_.size() || count > data_.size() - offset) Invalid();
  }
  uint8_t U8(uint64_t at) const {
    Need(at, 1);
    return data_[at];
  }
  uint16_t U16(uint64_t at) const {
    Need(at, 2);
    return LoadLE16(&data_[at]);
  }
  uint32_t U32(uint64_t at) const {
    Need(at, 4);
    return LoadLE32(&data_[at]);
  }
  int32_t I32(uint64_t at) const { return static_cast<int32_t>(U32(at)); }
  const uint8_t* At(uint64_t at, uint64_t count) const {
    Need(at, count);
    return data_.data() + at;
  }

 private:
  std::span<const uint8_t> data_;
};

bool KnownHeaderSize(uint32_t size) { return size == 12 || size == 40 || size == 108 || size == 124; }

// What the info header says, checked for sense.
struct InfoHeader {
  uint32_t headerSize = 0;
  int width = 0;
  int height = 0;  // rows, always positive
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
  uint32_t masks[3] = {};
  uint64_t tableOffset = 0;  // colour table (or nothing) starts here
  int entrySize = 4;
};

InfoHeader ParseInfoHeader(const ByteReader& in, uint64_t at) {
  InfoHeader h;
  h.headerSize = in.U32(at);
  if (!KnownHeaderSize(h.headerSize)) Invalid();
  in.Need(at, h.headerSize);
  int64_t height = 0;
  if (h.headerSize == 12) {
    h.width = in.U16(at + 4);
    height = in.U16(at + 6);
    h.bitCount = in.U16(at + 10);
    h.entrySize = 3;
  } else {
    h.width = in.I32(at + 4);
    height = in.I32(at + 8);
    h.bitCount = in.U16(at + 14);
    h.compression = in.U32(at + 16);
    h.sizeImage = in.U32(at + 20);
    h.colorsUsed = in.U32(at + 32);
  }
  h.topDown = height < 0;
  height = height < 0 ? -height : height;
  if (h.width < 1 || h.width > kMaxBmpDimension || height < 1 || height > kMaxBmpDimension) Invalid();
  h.height = static_cast<int>(height);

  const int bits = h.bitCount;
  switch (h.compression) {
    case BI_RGB:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Invalid();
      break;
    case BI_RLE8:
      if (bits != 8 || h.topDown) Invalid();
      break;
    case BI_RLE4:
      if (bits != 4 || h.topDown) Invalid();
      break;
    case BI_BITFIELDS:
      if (bits != 16 && bits != 32) Invalid();
      break;
    default:
      Invalid();
  }
  h.tableOffset = at + h.headerSize;
  if (h.compression == BI_BITFIELDS) {
    // Newer headers hold the masks; the 40-byte one is followed by them.
    uint64_t maskAt = h.headerSize >= 108 ? at + 40 : at + h.headerSize;
    for (int i = 0; i < 3; ++i) h.masks[i] = in.U32(maskAt + 4 * i);
    if (h.headerSize == 40) h.tableOffset += 12;
  }
  return h;
}

uint64_t DeclaredColors(const InfoHeader& h) {
  if (h.bitCount > 8) return 0;
  uint64_t full = 1ull << h.bitCount;
  return h.colorsUsed == 0 ? full : std::min<uint64_t>(h.colorsUsed, full);
}

uint64_t PixelBytes(const InfoHeader& h) {
  return static_cast<uint64_t>(TBmpImage::Stride(h.width, h.bitCount)) * static_cast<uint64_t>(h.height);
}

// Bytes of pixel data the file must hold after bfOffBits.
uint64_t StoredPixelBytes(const InfoHeader& h) {
  if (h.compression == BI_RLE8 || h.compression == BI_RLE4) {
    if (h.sizeImage == 0) Invalid();
    return h.sizeImage;
  }
  return PixelBytes(h);
}

// ---- run-length data ------------------------------------------------------------------

// Pixels of a run past its row's end are dropped, as common decoders do (some encoders let
// runs reach into the row padding); a pixel on a row outside the picture is an error.
void PutPixel(TBmpImage& img, size_t stride, int x, int y, uint8_t value) {
  if (y < 0 || y >= img.Height) Invalid();
  if (x < 0 || x >= img.Width) return;
  uint8_t* row = img.Bits.data() + static_cast<size_t>(y) * stride;
  if (img.BitCount == 8) {
    row[x] = value;
  } else if (x % 2 == 0) {
    row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0x0F) | (value << 4));
  } else {
    row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0xF0) | (value & 0x0F));
  }
}

// Rows from the bottom; a run is clipped at its row's end, a run or delta leaving the
// picture's rows is an error, a missing end-of-bitmap mark is not.
void DecodeRle(const ByteReader& in, uint64_t pos, uint64_t end, TBmpImage& img) {
  const bool four = img.BitCount == 4;
  const size_t stride = TBmpImage::Stride(img.Width, img.BitCount);
  int x = 0;
  int y = 0;
  while (pos + 1 < end) {
    uint8_t count = in.U8(pos);
    uint8_t value = in.U8(pos + 1);
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        uint8_t v = four ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value;
        PutPixel(img, stride, x++, y, v);
      }
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (pos + 2 > end) Invalid();
      x += in.U8(pos);
      y += in.U8(pos + 1);
      pos += 2;
      if (x > img.Width || y > img.Height) Invalid();
    } else {
      uint64_t bytes = four ? (value + 1u) / 2 : value;
      if (pos + bytes > end) Invalid();
      for (int i = 0; i < value; ++i) {
        uint8_t b = in.U8(pos + (four ? i / 2 : i));
        uint8_t v = four ? ((i % 2 == 0) ? b >> 4 : b & 0x0F) : b;
        PutPixel(img, stride, x++, y, v);
      }
      pos += (bytes + 1) & ~1ull;
    }
  }
}

// ---- bit fields -----------------------------------------------------------------------

struct Channel {
  uint32_t mask;
  int shift;
  uint32_t max;
  uint8_t Scale(uint32_t pixel) const {
    if (!mask) return 0;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255u / max);
  }
};

Channel MakeChannel(uint32_t mask) {
  if (!mask) return Channel{0, 0, 1};
  int shift = std::countr_zero(mask);
  return Channel{mask, shift, mask >> shift};
}

// Masks other than the ones a DIB section knows become 24-bit rows.
void ConvertBitfieldRow(const uint8_t* src, uint8_t* dst, int width, int bitCount, const Channel ch[3]) {
  for (int x = 0; x < width; ++x) {
    uint32_t p = bitCount == 16 ? static_cast<uint32_t>(src[2 * x] | src[2 * x + 1] << 8)
                                : static_cast<uint32_t>(src[4 * x]) | static_cast<uint32_t>(src[4 * x + 1]) << 8 |
                                      static_cast<uint32_t>(src[4 * x + 2]) << 16 |
                                      static_cast<uint32_t>(src[4 * x + 3]) << 24;
    dst[3 * x + 0] = ch[2].Scale(p);
    dst[3 * x + 1] = ch[1].Scale(p);
    dst[3 * x + 2] = ch[0].Scale(p);
  }
}

bool SameMasks(const uint32_t a[3], uint32_t r, uint32_t g, uint32_t b) { return a[0] == r && a[1] == g && a[2] == b; }

// offBits is relative to the start of data; the info header starts at headerAt.
TBmpImage Decode(const ByteReader& in, uint64_t headerAt, uint64_t offBits) {
  InfoHeader h = ParseInfoHeader(in, headerAt);
  if (offBits < h.tableOffset || offBits > in.Size()) Invalid();

  TBmpImage img;
  img.Width = h.width;
  img.Height = h.height;

  // Short colour tables: entries the gap before the pixels does not hold stay black.
  if (h.bitCount <= 8) {
    uint64_t present = std::min<uint64_t>(DeclaredColors(h), (offBits - h.tableOffset) / h.entrySize);
    img.Colors.assign(size_t{1} << h.bitCount, RGBQUAD{0, 0, 0, 0});
    for (uint64_t i = 0; i < present; ++i) {
      const uint8_t* e = in.At(h.tableOffset + i * h.entrySize, 3);
      img.Colors[i] = RGBQUAD{e[0], e[1], e[2], 0};
    }
  }

  bool convert = false;
  img.BitCount = h.bitCount;
  if (h.compression == BI_BITFIELDS) {
    if (h.bitCount == 16 && SameMasks(h.masks, 0xF800, 0x07E0, 0x001F)) {
      img.Rgb565 = true;
    } else if (h.bitCount == 16 && SameMasks(h.masks, 0x7C00, 0x03E0, 0x001F)) {
    } else if (h.bitCount == 32 && SameMasks(h.masks, 0xFF0000, 0xFF00, 0xFF)) {
    } else {
      convert = true;
      img.BitCount = 24;
    }
  }

  const uint64_t outBytes = static_cast<uint64_t>(TBmpImage::Stride(img.Width, img.BitCount)) * img.Height;
  if (outBytes > kMaxBmpPixelBytes || PixelBytes(h) > kMaxBmpPixelBytes) Invalid();

  if (h.compression == BI_RLE8 || h.compression == BI_RLE4) {
    uint64_t end = h.sizeImage ? std::min<uint64_t>(in.Size(), offBits + h.sizeImage) : in.Size();
    img.Bits.assign(static_cast<size_t>(outBytes), 0);
    DecodeRle(in, offBits, end, img);
    return img;
  }

  const size_t inStride = TBmpImage::Stride(h.width, h.bitCount);
  const size_t outStride = TBmpImage::Stride(img.Width, img.BitCount);
  const uint8_t* pixels = in.At(offBits, PixelBytes(h));
  img.Bits.assign(static_cast<size_t>(outBytes), 0);
  Channel ch[3] = {MakeChannel(h.masks[0]), MakeChannel(h.masks[1]), MakeChannel(h.masks[2])};
  for (int row = 0; row < img.Height; ++row) {
    const uint8_t* src = pixels + static_cast<size_t>(row) * inStride;
    int outRow = h.topDown ? img.Height - 1 - row : row;
    uint8_t* dst = img.Bits.data() + static_cast<size_t>(outRow) * outStride;
    if (convert) ConvertBitfieldRow(src, dst, img.Width, h.bitCount, ch);
    else std::memcpy(dst, src, inStride);
  }
  return img;
}

}  // namespace

TBmpImage DecodeBmp(std::span<const uint8_t> file) {
  ByteReader in(file);
  if (in.U8(0) != 'B' || in.U8(1) != 'M') Invalid();
  return Decode(in, kFileHeaderSize, in.U32(10));
}

TBmpImage DecodeDib(std::span<const uint8_t> dib) {
  ByteReader in(dib);
  InfoHeader h = ParseInfoHeader(in, 0);
  uint64_t offBits = h.tableOffset + DeclaredColors(h) * h.entrySize;
  return Decode(in, 0, offBits);
}

TBmpImage ReadBmp(TStream& stream) {
  int64_t available = stream.Size() - stream.Position();
  std::vector<uint8_t> file(kFileHeaderSize + 4);
  if (available < static_cast<int64_t>(file.size()) || stream.Read(file.data(), static_cast<int>(file.size())) != static_cast<int>(file.size()))
    Invalid();
  ByteReader header(file);
  if (header.U8(0) != 'B' || header.U8(1) != 'M') Invalid();
  uint64_t fileSize = header.U32(2);
  if (fileSize == 0) {
    // The size comes from the info header: read it (and masks that may follow), work out
    // where the pixels end and give back whatever was read beyond that.
    uint32_t infoSize = header.U32(kFileHeaderSize);
    if (!KnownHeaderSize(infoSize)) Invalid();
    size_t want = static_cast<size_t>(std::min<int64_t>(kFileHeaderSize + infoSize + 12, available));
    size_t have = file.size();
    if (want < have + infoSize - 4) Invalid();
    file.resize(want);
    if (stream.Read(file.data() + have, static_cast<int>(want - have)) != static_cast<int>(want - have)) Invalid();
    ByteReader info(file);
    fileSize = static_cast<uint64_t>(info.U32(10)) + StoredPixelBytes(ParseInfoHeader(info, kFileHeaderSize));
    if (fileSize < file.size()) {
      if (fileSize < kFileHeaderSize + infoSize) Invalid();
      stream.Seek(-static_cast<int64_t>(file.size() - fileSize), soCurrent);
      file.resize(static_cast<size_t>(fileSize));
    }
  }
  if (fileSize < file.size() || fileSize > static_cast<uint64_t>(available) || fileSize > kMaxBmpPixelBytes + (1u << 20))
    Invalid();
  size_t have = file.size();
  file.resize(static_cast<size_t>(fileSize));
  int rest = static_cast<int>(fileSize - have);
  if (stream.Read(file.data() + have, rest) != rest) Invalid();
  return DecodeBmp(file);
}

void WriteBmp(TStream& stream, int width, int height, int bitCount, bool rgb565, std::span<const RGBQUAD> colors,
              const void* bits) {
  const uint32_t masks = (bitCount == 16 && rgb565) ? 12 : 0;
  const uint32_t table = bitCount <= 8 ? static_cast<uint32_t>(colors.size()) * 4 : 0;
  const uint32_t offBits = kFileHeaderSize + 40 + masks + table;
  const uint32_t imageSize = static_cast<uint32_t>(TBmpImage::Stride(width, bitCount) * static_cast<size_t>(height));
  std::vector<uint8_t> head(offBits, 0);
  uint8_t* p = head.data();
  p[0] = 'B';
  p[1] = 'M';
  StoreLE32(p + 2, offBits + imageSize);
  StoreLE32(p + 10, offBits);
  p += kFileHeaderSize;
  StoreLE32(p, 40);
  StoreLE32(p + 4, static_cast<uint32_t>(width));
  StoreLE32(p + 8, static_cast<uint32_t>(height));
  StoreLE16(p + 12, 1);
  StoreLE16(p + 14, static_cast<uint32_t>(bitCount));
  StoreLE32(p + 16, masks ? BI_BITFIELDS : BI_RGB);
  StoreLE32(p + 20, imageSize);
  StoreLE32(p + 32, bitCount <= 8 ? static_cast<uint32_t>(colors.size()) : 0);
  p += 40;
  if (masks) {
    StoreLE32(p, 0xF800);
    StoreLE32(p + 4, 0x07E0);
    StoreLE32(p + 8, 0x001F);
    p += 12;
  }
  if (table) std::memcpy(p, colors.data(), table);
  stream.WriteBuffer(head.data(), static_cast<int>(head.size()));
  stream.WriteBuffer(bits, static_cast<int>(imageSize));
}
