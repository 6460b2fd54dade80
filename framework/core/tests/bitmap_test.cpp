#include "framework/core/bitmap.h"

#include <gtest/gtest.h>

#include <optional>

#include "framework/core/bmpio.h"
#include "framework/core/seams.h"
#include "framework/core/tests/graphics_fixtures.h"

namespace {

// A BMP file put together field by field, so tests can write what our writer never would.
struct BmpFields {
  uint32_t headerSize = 40;
  int32_t width = 2;
  int32_t height = 2;
  uint16_t bits = 24;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;   // written after a 40-byte header
  std::vector<uint32_t> colors;  // 0x00RRGGBB as RGBQUAD bytes
  uint32_t gap = 0;              // bytes between the colour table and the pixels
  std::vector<uint8_t> pixels;
  uint32_t slack = 0;  // bytes after the pixels inside bfSize
  std::optional<uint32_t> fileSize;
  std::optional<uint32_t> offBits;
};

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> BuildBmp(const BmpFields& s) {
  std::vector<uint8_t> info;
  Put(info, s.headerSize, 4);
  if (s.headerSize == 12) {
    Put(info, static_cast<uint32_t>(s.width), 2);
    Put(info, static_cast<uint32_t>(s.height), 2);
    Put(info, 1, 2);
    Put(info, s.bits, 2);
  } else {
    Put(info, static_cast<uint32_t>(s.width), 4);
    Put(info, static_cast<uint32_t>(s.height), 4);
    Put(info, 1, 2);
    Put(info, s.bits, 2);
    Put(info, s.compression, 4);
    Put(info, s.sizeImage, 4);
    Put(info, 2835, 4);
    Put(info, 2835, 4);
    Put(info, s.colorsUsed, 4);
    Put(info, 0, 4);
    if (s.headerSize > 40) {
      for (size_t i = 0; i < 3; ++i) Put(info, i < s.masks.size() ? s.masks[i] : 0, 4);
      info.resize(s.headerSize, 0);
    }
  }
  if (s.headerSize == 40)
    for (uint32_t m : s.masks) Put(info, m, 4);
  for (uint32_t c : s.colors) Put(info, c, s.headerSize == 12 ? 3 : 4);
  info.resize(info.size() + s.gap, 0);
  uint32_t off = s.offBits.value_or(14 + static_cast<uint32_t>(info.size()));
  uint32_t total = 14 + static_cast<uint32_t>(info.size() + s.pixels.size()) + s.slack;
  std::vector<uint8_t> file{'B', 'M'};
  Put(file, s.fileSize.value_or(total), 4);
  Put(file, 0, 4);
  Put(file, off, 4);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), s.pixels.begin(), s.pixels.end());
  file.resize(file.size() + s.slack, 0xEE);
  return file;
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

std::vector<uint8_t> Saved(TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  auto* p = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(p, p + stream.Size());
}

void LoadFrom(TBitmap& bitmap, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  LoadBytes(stream, bytes);
  bitmap.LoadFromStream(stream);
}

const TPixelFormat kAllFormats[] = {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};

}  // namespace

TEST(Bitmap, StartsWhiteInEveryFormat) {
  for (TPixelFormat format : kAllFormats) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(5, 3);
    EXPECT_EQ(bitmap.PixelFormat(), format);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), clWhite) << "format " << format << " at " << x << "," << y;
  }
}

TEST(Bitmap, ResizeKeepsTheOverlapAndFillsTheRestWhite) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(9, 4);
    bitmap.Canvas()->Brush()->SetColor(clBlack);
    bitmap.Canvas()->FillRect(Rect(0, 0, 9, 4));
    bitmap.Canvas()->SetPixels(8, 3, clWhite);
    bitmap.SetSize(12, 6);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), clBlack) << format;
    EXPECT_EQ(PixelOf(bitmap, 7, 3), clBlack) << format;
    EXPECT_EQ(PixelOf(bitmap, 8, 3), clWhite) << format;
    EXPECT_EQ(PixelOf(bitmap, 9, 0), clWhite) << format;   // right of the old width
    EXPECT_EQ(PixelOf(bitmap, 0, 4), clWhite) << format;   // below the old height
    EXPECT_EQ(PixelOf(bitmap, 11, 5), clWhite) << format;
    bitmap.SetSize(3, 2);
    EXPECT_EQ(PixelOf(bitmap, 2, 1), clBlack) << format;
    EXPECT_EQ(bitmap.Width(), 3);
  }
}

TEST(Bitmap, PalettesOfEightBitsSurviveAResize) {
  TBitmap bitmap;
  LoadFrom(bitmap, BuildBmp({.width = 1, .height = 1, .bits = 8, .colorsUsed = 2, .colors = {0x123456, 0xFFFFFF},
                             .pixels = {0, 0, 0, 0}}));
  bitmap.SetSize(2, 1);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), 0x563412);
  EXPECT_EQ(PixelOf(bitmap, 1, 0), clWhite);
}

TEST(Bitmap, AutoTransparentColourIsTheBottomLeftPixel) {
  TBitmap bitmap(4, 3);
  bitmap.Canvas()->SetPixels(0, 2, clRed);
  EXPECT_EQ(bitmap.TransparentMode(), tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
  bitmap.SetTransparentColor(clBlue);
  EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
  EXPECT_EQ(bitmap.TransparentColor(), clBlue);
  bitmap.SetTransparentMode(tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
}

TEST(Bitmap, MaskIsSetWhereThePixelIsTheTransparentColour) {
  TBitmap bitmap(3, 2);
  bitmap.Canvas()->SetPixels(0, 1, clLime);
  bitmap.Canvas()->SetPixels(2, 0, clLime);
  HBITMAP mask = bitmap.MaskHandle();
  ASSERT_NE(mask, nullptr);
  BITMAP bm{};
  GetObjectA(mask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  uint8_t rows[4] = {};  // two rows, word aligned, top-down
  GetBitmapBits(mask, sizeof(rows), rows);
  EXPECT_EQ(rows[0] & 0xE0, 0x20);  // row 0: only x = 2
  EXPECT_EQ(rows[2] & 0xE0, 0x80);  // row 1: only x = 0
}

TEST(Bitmap, HandleCanBeReadWithGetDIBitsAfterDrawing) {
  TBitmap bitmap(4, 4);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
  HBITMAP handle = bitmap.Handle();
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  uint32_t pixels[16] = {};
  HDC dc = GetDC(nullptr);
  int rows = GetDIBits(dc, handle, 0, 4, pixels, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(rows, 4);
  EXPECT_EQ(pixels[5] & 0xFFFFFF, 0xFF0000u);  // BGRX: red
  // The canvas takes the bitmap back on its next operation.
  bitmap.Canvas()->SetPixels(1, 1, clBlue);
  EXPECT_EQ(PixelOf(bitmap, 1, 1), clBlue);
}

TEST(Bitmap, ScanLineZeroIsTheTopRow) {
  TBitmap bitmap(3, 4, pf24bit);
  bitmap.Canvas()->SetPixels(0, 0, clBlue);
  bitmap.Canvas()->SetPixels(0, 3, clRed);
  auto* top = static_cast<uint8_t*>(bitmap.ScanLine(0));
  auto* bottom = static_cast<uint8_t*>(bitmap.ScanLine(3));
  EXPECT_EQ(top[0], 0xFF);  // blue first in BGR
  EXPECT_EQ(top[2], 0x00);
  EXPECT_EQ(bottom[2], 0xFF);
  EXPECT_LT(bitmap.ScanLineStride(), 0);
  EXPECT_GT(top, bottom);
  EXPECT_EQ(static_cast<uint8_t*>(bitmap.ScanLine(1)), top + bitmap.ScanLineStride());
  for (int row : {-1, 4}) {
    try {
      bitmap.ScanLine(row);
      ADD_FAILURE() << row;
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
  }
}

TEST(Bitmap, ConversionsKeepColours) {
  struct Case {
    TPixelFormat from;
    TPixelFormat to;
    TColor colour;
  };
  const Case cases[] = {
      {pf24bit, pf32bit, 0x123456}, {pf32bit, pf24bit, 0x123456}, {pf24bit, pf8bit, clRed},
      {pf24bit, pf8bit, clBlue},    {pf8bit, pf24bit, clRed},     {pf4bit, pf24bit, clTeal},
      {pf24bit, pf4bit, clOlive},   {pf24bit, pf1bit, clBlack},   {pf1bit, pf32bit, clBlack},
      // Colours whose 5- and 6-bit forms widen back alike with or without bit replication.
      {pf24bit, pf16bit, 0x181008}, {pf24bit, pf15bit, 0x181008}, {pf16bit, pf24bit, 0x181008},
      {pfDevice, pf24bit, 0x123456},
  };
  for (const Case& c : cases) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(c.from);
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixels(1, 1, c.colour);
    ASSERT_EQ(PixelOf(bitmap, 1, 1), c.colour) << c.from;
    bitmap.SetPixelFormat(c.to);
    EXPECT_EQ(bitmap.PixelFormat(), c.to);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), c.colour) << c.from << " -> " << c.to;
    EXPECT_EQ(PixelOf(bitmap, 0, 0), clWhite) << c.from << " -> " << c.to;
  }
}

TEST(Bitmap, EightBitBottomUpAndTwentyFourBitTopDownReadBackToBack) {
  // 3 x 2, 8 bits, bottom-up: first stored row is the bottom one. A gap before the pixels
  // and slack after them lie inside bfSize.
  std::vector<uint8_t> first = BuildBmp({.width = 3, .height = 2, .bits = 8, .colorsUsed = 3,
                                         .colors = {0xFF0000, 0x00FF00, 0x0000FF}, .gap = 4,
                                         .pixels = {0, 1, 2, 0, 2, 2, 1, 0}, .slack = 6});
  // 2 x 2, 24 bits, top-down: first stored row is the top one.
  std::vector<uint8_t> second = BuildBmp({.width = 2, .height = -2, .bits = 24,
                                          .pixels = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0}});
  std::vector<uint8_t> all = first;
  all.insert(all.end(), second.begin(), second.end());
  all.push_back('!');
  TMemoryStream stream;
  LoadBytes(stream, all);

  TBitmap a;
  a.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(first.size()));
  EXPECT_EQ(a.PixelFormat(), pf8bit);
  EXPECT_EQ(PixelOf(a, 0, 1), clRed);
  EXPECT_EQ(PixelOf(a, 2, 1), clBlue);
  EXPECT_EQ(PixelOf(a, 0, 0), clBlue);
  EXPECT_EQ(PixelOf(a, 2, 0), clLime);

  TBitmap b;
  b.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(first.size() + second.size()));
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(PixelOf(b, 0, 0), clRed);
  EXPECT_EQ(PixelOf(b, 1, 0), clLime);
  EXPECT_EQ(PixelOf(b, 0, 1), clBlue);
  EXPECT_EQ(PixelOf(b, 1, 1), clBlack);
}

TEST(Bitmap, ZeroFileSizeIsComputedAndConsumedExactly) {
  std::vector<uint8_t> file = BuildBmp({.width = 1, .height = 1, .bits = 24, .pixels = {0, 0, 255, 0}, .fileSize = 0});
  std::vector<uint8_t> all = file;
  all.insert(all.end(), 20, 0x55);
  TMemoryStream stream;
  LoadBytes(stream, all);
  TBitmap bitmap;
  bitmap.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(file.size()));
  EXPECT_EQ(PixelOf(bitmap, 0, 0), clRed);
}

TEST(Bitmap, OtherHeadersDepthsAndCompressions) {
  struct Case {
    const char* name;
    BmpFields fields;
    TPixelFormat format;
    TColor topLeft;
  };
  const Case cases[] = {
      {"core header 4 bits", {.headerSize = 12, .width = 1, .height = 1, .bits = 4, .colors = {0, 0xFF0000}, .pixels = {0x10, 0, 0, 0}},
       pf4bit, clRed},
      {"1 bit", {.width = 2, .height = 1, .bits = 1, .colors = {0, 0x00FF00}, .pixels = {0x80, 0, 0, 0}}, pf1bit, clLime},
      {"16 bit 5-5-5", {.width = 1, .height = 1, .bits = 16, .pixels = {0x43, 0x04, 0, 0}}, pf15bit, 0x181008},
      {"16 bit 5-6-5", {.width = 1, .height = 1, .bits = 16, .compression = BI_BITFIELDS, .masks = {0xF800, 0x07E0, 0x001F},
                        .pixels = {0x83, 0x08, 0, 0}}, pf16bit, 0x181008},
      {"32 bit fields in a v4 header", {.headerSize = 108, .width = 1, .height = 1, .bits = 32, .compression = BI_BITFIELDS,
                                        .masks = {0xFF000000, 0x00FF0000, 0x0000FF00}, .pixels = {0, 0, 0, 0xFF}},
       pf24bit, clRed},
      {"32 bit v5 header", {.headerSize = 124, .width = 1, .height = 1, .bits = 32, .pixels = {0xFF, 0, 0, 0}}, pf32bit, clBlue},
      {"short colour table", {.width = 1, .height = 1, .bits = 8, .colors = {0x0000FF}, .pixels = {0, 0, 0, 0}}, pf8bit, clBlue},
      {"RLE8", {.width = 4, .height = 2, .bits = 8, .compression = BI_RLE8, .sizeImage = 10, .colors = {0, 0xFF0000},
                .pixels = {4, 0, 0, 0, 2, 1, 0, 0, 0, 1}}, pf8bit, clRed},
      {"RLE4", {.width = 4, .height = 1, .bits = 4, .compression = BI_RLE4, .sizeImage = 6, .colors = {0, 0xFF0000},
                .pixels = {0, 3, 0x11, 0x10, 0, 1}}, pf4bit, clRed},
      // Runs into the row padding are clipped at the row's end; the next row is untouched.
      {"RLE8 run into the padding", {.width = 2, .height = 2, .bits = 8, .compression = BI_RLE8, .sizeImage = 8,
                                     .colors = {0, 0xFF0000}, .pixels = {4, 0, 0, 0, 2, 1, 0, 1}}, pf8bit, clRed},
      {"RLE8 absolute run into the padding", {.width = 2, .height = 1, .bits = 8, .compression = BI_RLE8,
                                              .sizeImage = 8, .colors = {0, 0xFF0000},
                                              .pixels = {0, 3, 1, 0, 0, 0, 0, 1}}, pf8bit, clRed},
      {"RLE4 run into the padding", {.width = 1, .height = 2, .bits = 4, .compression = BI_RLE4, .sizeImage = 8,
                                     .colors = {0, 0xFF0000}, .pixels = {7, 0x00, 0, 0, 3, 0x11, 0, 1}}, pf4bit, clRed},
  };
  for (const Case& c : cases) {
    TBitmap bitmap;
    try {
      LoadFrom(bitmap, BuildBmp(c.fields));
    } catch (const Exception& e) {
      ADD_FAILURE() << c.name << ": " << e.what();
      continue;
    }
    EXPECT_EQ(bitmap.PixelFormat(), c.format) << c.name;
    EXPECT_EQ(PixelOf(bitmap, 0, 0), c.topLeft) << c.name;
  }
}

TEST(Bitmap, MalformedFilesRaiseAndLeaveTheBitmapAsItWas) {
  const std::vector<uint8_t> good = BuildBmp({.width = 1, .height = 1, .pixels = {0, 0, 255, 0}});
  std::vector<uint8_t> truncated(good.begin(), good.end() - 2);
  std::vector<uint8_t> notBm = good;
  notBm[0] = 'X';
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"short header", {'B', 'M', 1, 2}},
      {"not BM", notBm},
      {"truncated", truncated},
      {"bfSize beyond the data", BuildBmp({.width = 1, .height = 1, .pixels = {0, 0, 0, 0}, .fileSize = 100000})},
      {"bfSize short of the pixels", BuildBmp({.width = 1, .height = 1, .pixels = {0, 0, 0, 0}, .fileSize = 56})},
      {"huge width", BuildBmp({.width = 40000, .height = 1, .pixels = {0, 0, 0, 0}})},
      {"huge height", BuildBmp({.width = 1, .height = -40000, .pixels = {0, 0, 0, 0}})},
      {"pixels over 256 MiB", BuildBmp({.width = 32767, .height = 32767, .bits = 32, .pixels = {0, 0, 0, 0}})},
      {"zero width", BuildBmp({.width = 0, .height = 1, .pixels = {0, 0, 0, 0}})},
      {"unknown header size", BuildBmp({.headerSize = 64, .width = 1, .height = 1, .pixels = {0, 0, 0, 0}})},
      {"bit count 7", BuildBmp({.width = 1, .height = 1, .bits = 7, .pixels = {0, 0, 0, 0}})},
      {"offset inside the header", BuildBmp({.width = 1, .height = 1, .pixels = {0, 0, 0, 0}, .offBits = 20})},
      {"offset beyond the file", BuildBmp({.width = 1, .height = 1, .pixels = {0, 0, 0, 0}, .offBits = 0x7FFFFFF0})},
      {"RLE run on a row above the picture", BuildBmp({.width = 2, .height = 1, .bits = 8, .compression = BI_RLE8,
                                                      .sizeImage = 6, .colors = {0}, .pixels = {0, 0, 2, 0, 0, 1}})},
      {"RLE delta out of the image", BuildBmp({.width = 2, .height = 1, .bits = 8, .compression = BI_RLE8, .sizeImage = 6,
                                               .colors = {0}, .pixels = {0, 2, 9, 9, 0, 1}})},
      {"RLE absolute run past the data", BuildBmp({.width = 8, .height = 1, .bits = 8, .compression = BI_RLE8,
                                                   .sizeImage = 4, .colors = {0}, .pixels = {0, 8, 1, 2}})},
      {"RLE top-down", BuildBmp({.width = 2, .height = -1, .bits = 8, .compression = BI_RLE8, .sizeImage = 2,
                                 .colors = {0}, .pixels = {0, 1}})},
      {"RLE without a size", BuildBmp({.width = 2, .height = 1, .bits = 8, .compression = BI_RLE8, .colors = {0},
                                       .pixels = {0, 1}, .fileSize = 0})},
      {"RLE8 with 4 bits", BuildBmp({.width = 2, .height = 1, .bits = 4, .compression = BI_RLE8, .sizeImage = 2,
                                     .colors = {0}, .pixels = {0, 1}})},
  };
  for (const Case& c : cases) {
    TBitmap bitmap(2, 3);
    try {
      LoadFrom(bitmap, c.bytes);
      ADD_FAILURE() << c.name << " was accepted";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid") << c.name;
    }
    EXPECT_EQ(bitmap.Width(), 2) << c.name;
    EXPECT_EQ(bitmap.Height(), 3) << c.name;
  }
}

TEST(Bitmap, SaveWritesExactSizesAndReadsBack) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(5, 3);
    bitmap.Canvas()->SetPixels(1, 0, clBlack);
    std::vector<uint8_t> bytes = Saved(bitmap);
    const int bits = format == pf15bit ? 16 : std::vector<int>{0, 1, 4, 8, 16, 16, 24, 32}[format];
    const uint32_t table = bits <= 8 ? (4u << bits) : 0;
    const uint32_t masks = format == pf16bit ? 12 : 0;
    const uint32_t stride = ((5 * bits + 31) / 32) * 4;
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(U32At(bytes, 2), bytes.size()) << format;
    EXPECT_EQ(bytes.size(), 54 + masks + table + 3 * stride) << format;
    EXPECT_EQ(U32At(bytes, 10), 54 + masks + table) << format;
    EXPECT_EQ(U32At(bytes, 14), 40u);
    TBitmap back;
    LoadFrom(back, bytes);
    EXPECT_EQ(back.PixelFormat(), format);
    EXPECT_EQ(PixelOf(back, 1, 0), clBlack) << format;
    EXPECT_EQ(PixelOf(back, 2, 2), clWhite) << format;
  }
}

TEST(Bitmap, AssignCopiesDeeplyAndNullEmpties) {
  TBitmap source(3, 3, pf8bit);
  source.Canvas()->SetPixels(1, 1, clRed);
  source.SetTransparentColor(clRed);
  TBitmap copy;
  copy.Assign(&source);
  source.Canvas()->SetPixels(1, 1, clBlue);
  EXPECT_EQ(copy.PixelFormat(), pf8bit);
  EXPECT_EQ(PixelOf(copy, 1, 1), clRed);
  EXPECT_EQ(copy.TransparentMode(), tmFixed);
  EXPECT_EQ(copy.TransparentColor(), clRed);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Handle(), nullptr);
}

TEST(Bitmap, DrawingThroughTheCanvasFiresOnChange) {
  TBitmap bitmap(2, 2);
  int changes = 0;
  bitmap.OnChange = [&](TObject*) { ++changes; };
  bitmap.Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(changes, 1);
  bitmap.SetSize(3, 3);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(bitmap.Modified());
}

TEST(Bitmap, AdoptsADeviceBitmapAndConvertsItForPixels) {
  HDC screen = GetDC(nullptr);
  HBITMAP ddb = CreateCompatibleBitmap(screen, 4, 2);
  ReleaseDC(nullptr, screen);
  TBitmap bitmap;
  bitmap.SetHandle(ddb);
  EXPECT_EQ(bitmap.HandleType(), bmDDB);
  bitmap.Canvas()->Brush()->SetColor(clYellow);
  bitmap.Canvas()->FillRect(Rect(0, 0, 4, 2));
  auto* row = static_cast<uint8_t*>(bitmap.ScanLine(1));
  EXPECT_EQ(bitmap.HandleType(), bmDIB);
  EXPECT_EQ(row[0], 0x00);  // blue of yellow
  EXPECT_EQ(PixelOf(bitmap, 3, 1), clYellow);
}

TEST(Bitmap, PackedDibsAsInResourcesDecode) {
  // Info header, colour table of two, one row of 1-bit pixels: what RT_BITMAP holds.
  std::vector<uint8_t> file = BuildBmp({.width = 2, .height = 1, .bits = 1, .colors = {0x0000FF, 0xFF0000},
                                        .pixels = {0x40, 0, 0, 0}});
  TBmpImage image = DecodeDib(std::span<const uint8_t>(file).subspan(14));
  EXPECT_EQ(image.Width, 2);
  EXPECT_EQ(image.BitCount, 1);
  ASSERT_EQ(image.Colors.size(), 2u);
  EXPECT_EQ(image.Colors[1].rgbRed, 0xFF);
  EXPECT_EQ(image.Bits[0], 0x40);
  std::vector<uint8_t> cut(file.begin() + 14, file.end() - 4);
  EXPECT_THROW(DecodeDib(cut), EInvalidGraphic);
}

TEST(Bitmap, SetPaletteWritesTheColourTableSeenThroughTheCanvas) {
  TBitmap bitmap(2, 2, pf8bit);
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
  log->palVersion = 0x300;
  log->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) log->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i), 0, static_cast<BYTE>(255 - i), 0};
  bitmap.SetPalette(CreatePalette(log));
  RGBQUAD table[256] = {};
  ASSERT_EQ(GetDIBColorTable(bitmap.Canvas()->Handle(), 0, 256, table), 256u);
  EXPECT_EQ(table[10].rgbRed, 10);
  EXPECT_EQ(table[10].rgbBlue, 245);
  PALETTEENTRY entry{};
  GetPaletteEntries(bitmap.Palette(), 10, 1, &entry);
  EXPECT_EQ(entry.peRed, 10);
  static_cast<uint8_t*>(bitmap.ScanLine(0))[0] = 10;
  EXPECT_EQ(PixelOf(bitmap, 0, 0), static_cast<TColor>(RGB(10, 0, 245)));
}

TEST(Bitmap, DeviceFormatFollowsTheScreenDepth) {
  ScopedSeam<TScreenSeam> screen({.BitsPerPixel = [] { return 16; }});
  TBitmap bitmap;
  bitmap.SetSize(3, 1);
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
  EXPECT_EQ(bitmap.ScanLineStride(), -8);  // 3 pixels of 2 bytes, padded
  bitmap.Canvas()->SetPixels(0, 0, 0x181008);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), 0x181008);
  std::vector<uint8_t> bytes = Saved(bitmap);
  EXPECT_EQ(bytes[28], 16);  // biBitCount
}
