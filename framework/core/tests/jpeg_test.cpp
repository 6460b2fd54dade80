#include "framework/core/jpeg.h"

#include <gtest/gtest.h>

#include <thread>

#include "framework/core/bitmap.h"
#include "framework/core/tests/graphics_fixtures.h"

namespace {

void LoadJpeg(TJPEGImage& jpeg, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  LoadBytes(stream, bytes);
  jpeg.LoadFromStream(stream);
}

bool Near(TColor a, TColor b, int tolerance = 24) {
  for (int shift : {0, 8, 16})
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

std::vector<uint8_t> Pixels(TBitmap& bitmap) {
  std::vector<uint8_t> out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
    out.insert(out.end(), row, row + bitmap.Width() * 3);
  }
  return out;
}

}  // namespace

TEST(JPEGImage, DecodesColoursIntoA24BitBitmap) {
  TJPEGImage jpeg;
  LoadJpeg(jpeg, FixtureBytes("colour.jpg"));
  EXPECT_EQ(jpeg.Width(), 37);
  EXPECT_EQ(jpeg.Height(), 23);
  TBitmap* bitmap = jpeg.Bitmap();
  EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
  EXPECT_TRUE(Near(PixelOf(*bitmap, 3, 3), clRed));
  EXPECT_TRUE(Near(PixelOf(*bitmap, 33, 3), clBlue));
  EXPECT_TRUE(Near(PixelOf(*bitmap, 3, 19), clLime));
  EXPECT_TRUE(Near(PixelOf(*bitmap, 33, 19), clWhite));
}

TEST(JPEGImage, ScalesRoundUp) {
  struct Case {
    TJPEGScale scale;
    int width, height;
  };
  for (Case c : {Case{jsFullSize, 37, 23}, Case{jsHalf, 19, 12}, Case{jsQuarter, 10, 6}, Case{jsEighth, 5, 3}}) {
    for (TJPEGPerformance performance : {jpBestQuality, jpBestSpeed}) {
      TJPEGImage jpeg;
      LoadJpeg(jpeg, FixtureBytes("colour.jpg"));
      jpeg.SetScale(c.scale);
      jpeg.SetPerformance(performance);
      EXPECT_EQ(jpeg.Width(), c.width);
      EXPECT_EQ(jpeg.Height(), c.height);
      EXPECT_EQ(jpeg.Bitmap()->Width(), c.width);
      EXPECT_EQ(jpeg.Bitmap()->Height(), c.height);
      EXPECT_TRUE(Near(PixelOf(*jpeg.Bitmap(), 0, 0), clRed, 40));
    }
  }
}

TEST(JPEGImage, GreyDecodesToEightBitsWithAGreyPalette) {
  TJPEGImage grey;
  LoadJpeg(grey, FixtureBytes("grey.jpg"));
  EXPECT_EQ(grey.Bitmap()->PixelFormat(), pf8bit);
  TColor top = PixelOf(*grey.Bitmap(), 8, 0);
  TColor bottom = PixelOf(*grey.Bitmap(), 8, 15);
  EXPECT_LT(top & 0xFF, 0x20);
  EXPECT_GT(bottom & 0xFF, 0xE0);
  EXPECT_EQ(bottom & 0xFF, (bottom >> 8) & 0xFF);

  TJPEGImage colour;
  LoadJpeg(colour, FixtureBytes("colour.jpg"));
  colour.SetGrayscale(true);
  EXPECT_EQ(colour.Bitmap()->PixelFormat(), pf8bit);
  TColor red = PixelOf(*colour.Bitmap(), 3, 3);
  EXPECT_EQ(red & 0xFF, (red >> 16) & 0xFF);
}

TEST(JPEGImage, AdobeCmykBecomesRgb) {
  TJPEGImage jpeg;
  LoadJpeg(jpeg, FixtureBytes("cmyk.jpg"));
  EXPECT_TRUE(Near(PixelOf(*jpeg.Bitmap(), 4, 4), clRed, 40));
}

TEST(JPEGImage, DataWithoutStartMarkerRaisesTheLibraryCode) {
  std::vector<uint8_t> bytes = FixtureBytes("colour.jpg");
  bytes[0] = 0x00;
  TJPEGImage jpeg;
  LoadJpeg(jpeg, bytes);
  try {
    jpeg.DIBNeeded();
    FAIL() << "decoded";
  } catch (const EJPEG& e) {
    EXPECT_STREQ(e.what(), "JPEG error #53");
  }
  EXPECT_EQ(JPEGLastMessageCode(), 53);
  ASSERT_GT(JPEGMessageTable().size(), 53u);
  EXPECT_NE(String(JPEGMessageTable()[53]).find("Not a JPEG file"), String::npos);
  EXPECT_THROW(jpeg.Width(), EJPEG);
}

TEST(JPEGImage, TruncatedFileStillDecodes) {
  std::vector<uint8_t> bytes = FixtureBytes("noise.jpg");
  bytes.resize(bytes.size() * 6 / 10);
  TJPEGImage jpeg;
  LoadJpeg(jpeg, bytes);
  ASSERT_NO_THROW(jpeg.DIBNeeded());
  EXPECT_EQ(jpeg.Bitmap()->Width(), 64);
  EXPECT_EQ(jpeg.Bitmap()->Height(), 48);
  EXPECT_NE(JPEGLastMessageCode(), 0);  // the premature end was a warning
}

TEST(JPEGImage, TwoThreadsDecodeAtOnce) {
  const std::vector<uint8_t> bytes = FixtureBytes("noise.jpg");
  TJPEGImage reference;
  LoadJpeg(reference, bytes);
  const std::vector<uint8_t> expected = Pixels(*reference.Bitmap());
  std::vector<uint8_t> bad = bytes;
  bad[0] = 0;

  bool same[2] = {true, true};
  bool errors[2] = {true, true};
  auto work = [&](int slot) {
    for (int i = 0; i < 12; ++i) {
      TJPEGImage jpeg;
      LoadJpeg(jpeg, bytes);
      same[slot] = same[slot] && Pixels(*jpeg.Bitmap()) == expected;
      TJPEGImage broken;
      LoadJpeg(broken, bad);
      try {
        broken.DIBNeeded();
        errors[slot] = false;
      } catch (const EJPEG&) {
      }
    }
  };
  std::thread a(work, 0);
  std::thread b(work, 1);
  a.join();
  b.join();
  EXPECT_TRUE(same[0] && same[1]);
  EXPECT_TRUE(errors[0] && errors[1]);
}

TEST(JPEGImage, AssignsToA24BitBitmapAndSavesItsBytes) {
  const std::vector<uint8_t> bytes = FixtureBytes("grey.jpg");
  TJPEGImage jpeg;
  LoadJpeg(jpeg, bytes);
  TBitmap bitmap;
  bitmap.Assign(&jpeg);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.Width(), 16);

  TMemoryStream saved;
  jpeg.SaveToStream(saved);
  EXPECT_EQ(saved.Size(), static_cast<int64_t>(bytes.size()));

  TJPEGImage copy;
  copy.Assign(&jpeg);
  EXPECT_EQ(copy.Width(), 16);
  EXPECT_THROW(copy.Assign(&bitmap), EConvertError);  // no encoder
}

TEST(JPEGImage, OutputsOverTheLimitRaiseImageTooBig) {
  std::vector<uint8_t> bytes = FixtureBytes("colour.jpg");
  // Claim 65000 x 65000 in the frame header.
  size_t sof = 2;
  while (sof + 9 < bytes.size() && !(bytes[sof] == 0xFF && bytes[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, bytes.size());
  for (size_t at : {sof + 5, sof + 7}) {
    bytes[at] = 0xFD;
    bytes[at + 1] = 0xE8;
  }
  TJPEGImage jpeg;
  LoadJpeg(jpeg, bytes);
  EXPECT_EQ(jpeg.Width(), 65000);
  int tooBig = -1;
  auto table = JPEGMessageTable();
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i] && String(table[i]).find("Maximum supported image dimension") != String::npos) tooBig = static_cast<int>(i);
  ASSERT_GT(tooBig, 0);
  try {
    jpeg.DIBNeeded();
    FAIL() << "decoded";
  } catch (const EJPEG& e) {
    EXPECT_EQ(String(e.what()), Format("JPEG error #%d", tooBig));
  }
  jpeg.SetScale(jsEighth);  // 8125 x 8125 x 3 fits
  EXPECT_EQ(jpeg.Width(), 8125);
}

TEST(JPEGImage, ProgressiveFilesDecodeWholeOrCut) {
  std::vector<uint8_t> bytes = FixtureBytes("progressive.jpg");
  for (size_t size : {bytes.size(), bytes.size() / 2}) {
    TJPEGImage jpeg;
    LoadJpeg(jpeg, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size)));
    jpeg.SetScale(jsHalf);
    ASSERT_NO_THROW(jpeg.DIBNeeded()) << size;
    EXPECT_EQ(jpeg.Bitmap()->Width(), 20);
    EXPECT_EQ(jpeg.Bitmap()->Height(), 12);
  }
}
