// Writing GIF files: both encoders, sub-blocks, extensions and colour tables as written,
// and our output as a peer decodes it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/GIFEncoder.h"
#include "imaging/GIFImage.h"
#include "imaging/tests/GIFTestSupport.h"

using namespace giftest;

namespace {
// A frame of the given size whose pixels follow a fixed pattern of `colors` values.
TGIFSubImage* AddFrame(TGIFImage& image, int w, int h, int colors, bool interlaced, int seed = 1) {
  auto* frame = new TGIFSubImage(&image);
  frame->SetBounds(0, 0, w, h);
  frame->SetInterlaced(interlaced);
  uint32_t x = static_cast<uint32_t>(seed);
  for (int i = 0; i < colors; ++i) frame->LocalColorMap.Add(RGB(i * 37 % 256, i * 91 % 256, i * 13 % 256));
  for (size_t i = 0; i < frame->Data.size(); ++i) {
    // Runs and noise both, so the string table fills and clears.
    x = x * 1103515245u + 12345u;
    frame->Data[i] = static_cast<uint8_t>((i / 7 % 3 == 0) ? (x >> 16) % colors : (i / 13) % colors);
  }
  image.Add(frame);
  return frame;
}

Bytes EncodeFrame(TGIFSubImage& frame) {
  TMemoryStream stream;
  frame.Encode(stream);
  return BytesOf(stream);
}

// The pixels back through our own decoder.
Bytes Decode(const Bytes& data, TGIFSubImage& like) {
  TGIFImage image;
  auto* frame = new TGIFSubImage(&image);
  frame->Descriptor = like.Descriptor;
  frame->LocalColorMap.Assign(&like.LocalColorMap);
  image.Images().Add(frame);
  auto stream = StreamOf(data);
  frame->Decode(*stream);
  EXPECT_EQ(stream->Position(), stream->Size());
  return frame->Data;
}
}  // namespace

TEST(GIFEncoder, BothEncodersRoundTrip) {
  struct Case {
    int w, h, colors;
    bool interlaced;
  };
  for (GIFCompression compression : {CompressionLZW, CompressionRLE})
    for (const Case& c : {Case{1, 1, 2, false}, Case{3, 3, 2, true}, Case{61, 47, 256, false}, Case{200, 150, 256, true},
                          Case{300, 200, 5, false}, Case{17, 2, 16, true}}) {
      SCOPED_TRACE(testing::Message() << compression << " " << c.w << "x" << c.h << " " << c.colors);
      TGIFImage image;
      image.Compression = compression;
      TGIFSubImage* frame = AddFrame(image, c.w, c.h, c.colors, c.interlaced);
      EXPECT_EQ(Decode(EncodeFrame(*frame), *frame), frame->Data);
    }
}

TEST(GIFEncoder, TwoColoursStartWithThreeBitCodes) {
  TGIFImage image;
  TGIFSubImage* frame = AddFrame(image, 1, 1, 2, false);
  frame->Data[0] = 1;
  EXPECT_EQ(EncodeFrame(*frame), (Bytes{2, 2, 0x4C, 0x01, 0}));
}

TEST(GIFEncoder, PixelsOutsideTheTableAreRefused) {
  TGIFImage image;
  TGIFSubImage* frame = AddFrame(image, 2, 1, 5, false);
  frame->Data = {4, 5};
  EXPECT_THROW(EncodeFrame(*frame), GIFException);
  // With only a global table of 5 colours the code size is 3: up to 7 goes.
  TGIFImage global;
  for (int i = 0; i < 5; ++i) global.Header().ColorMap.Add(RGB(i, i, i));
  auto* g = new TGIFSubImage(&global);
  g->SetBounds(0, 0, 2, 1);
  g->Data = {7, 6};
  global.Add(g);
  EXPECT_NO_THROW(EncodeFrame(*g));
  g->Data = {8, 6};
  EXPECT_THROW(EncodeFrame(*g), GIFException);
}

TEST(GIFEncoder, EmptyFrameWritesOnlyTheEndCode) {
  TGIFImage image;
  auto* frame = new TGIFSubImage(&image);
  image.Images().Add(frame);
  frame->LocalColorMap.Add(0);
  frame->LocalColorMap.Add(clWhite);
  EXPECT_EQ(EncodeFrame(*frame), (Bytes{2, 1, 5, 0}));
}

TEST(GIFEncoder, SubBlocksAreFullButTheLast) {
  for (int count : {255, 256, 600}) {
    TMemoryStream stream;
    {
      TGIFWriter writer(stream);
      for (int i = 0; i < count; ++i) {
        const uint8_t b = static_cast<uint8_t>(i);
        writer.Write(&b, 1);
      }
    }
    const Bytes out = BytesOf(stream);
    size_t at = 0;
    int total = 0;
    while (at < out.size()) {
      const int n = out[at];
      EXPECT_TRUE(n == 255 || at + 1 + n == out.size());
      EXPECT_GT(n, 0);
      total += n;
      at += 1 + static_cast<size_t>(n);
    }
    EXPECT_EQ(total, count);
  }
}

TEST(GIFEncoder, RunLengthMathMatchesItsDefinition) {
  EXPECT_EQ(TRLEEncoder::ISqrt(0), 0);
  EXPECT_EQ(TRLEEncoder::ISqrt(15), 3);
  EXPECT_EQ(TRLEEncoder::ISqrt(16), 4);
  EXPECT_EQ(TRLEEncoder::ISqrt(1000000), 1000);
  // 10 values as runs of 1, 2, 3, 4 after a clear: four codes.
  EXPECT_EQ(TRLEEncoder::TriangleCount(10, 4000), 4);
  EXPECT_EQ(TRLEEncoder::TriangleCount(11, 4000), 5);
}

TEST(GIFEncoder, RunOfTenAfterClearIsLiteralThenRunsOfTwoThreeFour) {
  TGIFImage image;
  image.Compression = CompressionRLE;
  TGIFSubImage* frame = AddFrame(image, 10, 1, 16, false);
  std::fill(frame->Data.begin(), frame->Data.end(), 3);
  // Code size 4: clear 16, end 17, base 18; run codes 18 (2), 19 (3), 20 (4), 5-bit codes.
  EXPECT_EQ(EncodeFrame(*frame), ImageData(4, {{16, 5}, {3, 5}, {18, 5}, {19, 5}, {20, 5}, {17, 5}}));
}

// What we write, as a peer reads it: the committed files were written by this encoder
// and decoded by ImageMagick (see make_fixtures.sh); the encoder must still write them
// byte for byte. GIF_WRITE_FIXTURES=1 writes them afresh into the fixture folder.
TEST(GIFEncoder, OutputIsWhatThePeerDecoded) {
  for (GIFCompression compression : {CompressionLZW, CompressionRLE}) {
    const String name = compression == CompressionLZW ? "ours_lzw" : "ours_rle";
    SCOPED_TRACE(name);
    TGIFImage image;
    image.Compression = compression;
    AddFrame(image, 61, 47, 256, false, 3);
    TGIFSubImage* second = AddFrame(image, 40, 30, 7, true, 5);
    second->SetLeft(10);
    second->SetTop(9);
    const Bytes saved = Save(image);
    if (std::getenv("GIF_WRITE_FIXTURES")) {
      TMemoryStream out;
      out.WriteBuffer(saved.data(), static_cast<int>(saved.size()));
      out.SaveToFile(FixturePath(name + ".gif"));
    }
    EXPECT_EQ(saved, Fixture(name + ".gif"));
    Bytes ours;
    for (int i = 0; i < image.Images().Count(); ++i) {
      Bytes rgb = FrameRGB(*image.Images().Images(i));
      ours.insert(ours.end(), rgb.begin(), rgb.end());
    }
    EXPECT_EQ(ours, Fixture(name + ".rgb"));
  }
}

TEST(GIFEncoder, ColourTablesAreWrittenInPowersOfTwo) {
  struct Case {
    int colors;
    int written;
  };
  for (const Case c : {Case{1, 2}, Case{2, 2}, Case{3, 4}, Case{129, 256}, Case{256, 256}}) {
    TGIFImage image;
    for (int i = 0; i < c.colors; ++i) image.Header().ColorMap.Add(RGB(i, 1, 2));
    TMemoryStream stream;
    image.Header().ColorMap.SaveToStream(stream);
    const Bytes out = BytesOf(stream);
    ASSERT_EQ(out.size(), static_cast<size_t>(c.written * 3));
    for (size_t i = c.colors * 3; i < out.size(); ++i) EXPECT_EQ(out[i], 0);
  }
}

TEST(GIFEncoder, HeaderSizeFieldFollowsTheGlobalTable) {
  TGIFImage image;
  for (int i = 0; i < 16; ++i) image.Header().ColorMap.Add(RGB(i, i, i));
  AddFrame(image, 4, 4, 256, true);
  const Bytes out = Save(image);
  EXPECT_EQ(out[10] & 0x87, 0x83);
  // The frame keeps its interlace flag and says 256 local entries.
  const size_t descriptor = 13 + 16 * 3;
  ASSERT_EQ(out[descriptor], ',');
  EXPECT_EQ(out[descriptor + 9], 0x80 | 0x40 | 7);
}

TEST(GIFEncoder, ImageWithoutFramesCannotBeSaved) {
  TGIFImage image;
  TMemoryStream stream;
  try {
    image.SaveToStream(stream);
    FAIL();
  } catch (const GIFException& e) {
    EXPECT_EQ(e.Message, "Unsupported GIF version");
  }
}
