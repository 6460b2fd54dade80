// The picture class: registration, rendering and drawing, colour reduction, threads,
// animation and a sweep of damaged files.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "imaging/GIFColorReduction.h"
#include "imaging/GIFPainter.h"
#include "imaging/GIFImage.h"
#include "imaging/tests/GIFTestSupport.h"

using namespace giftest;

namespace {
TColor Pixel(TBitmap& bitmap, int x, int y) {
  const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
  return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

// A white 24-bit target.
std::unique_ptr<TBitmap> Target(int w, int h) {
  auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
  bitmap->Canvas()->Brush()->SetColor(clWhite);
  bitmap->Canvas()->FillRect(TRect{0, 0, w, h});
  return bitmap;
}

// A 10 x 10 frame at (5, 5) on a 20 x 20 screen: red, with a transparent blue cross.
Bytes OffsetFrameFile() {
  std::vector<std::pair<int, int>> codes{{4, 3}};
  int width = 3, next = 6;
  for (int i = 0; i < 100; ++i) {
    const int x = i % 10, y = i / 10;
    codes.push_back({x == 4 || y == 4 ? 2 : 1, width});
    if (i > 0 && ++next == (1 << width) && width < 12) ++width;
  }
  codes.push_back({5, width});
  return Concat({Header(20, 20, {0x000000, 0xFF0000, 0x0000FF, 0x00FF00}), GraphicControl(1, 0, 2),
                 Descriptor(5, 5, 10, 10), ImageData(2, codes), Text(";")});
}

// A screen of the given depth for the life of the scope.
struct ScreenDepthScope {
  explicit ScreenDepthScope(int bits)
      : seam(std::make_unique<ScopedSeam<TScreenSeam>>(TScreenSeam{.BitsPerPixel = [bits] { return bits; }})) {
    MeasureScreenDepth();
  }
  ~ScreenDepthScope() {
    seam.reset();
    MeasureScreenDepth();
  }
  std::unique_ptr<ScopedSeam<TScreenSeam>> seam;
};
}  // namespace

TEST(GIFImage, RegisteredAsAPictureFormat) {
  RegisterGIFImage();
  RegisterGIFImage();
  EXPECT_EQ(TPicture::FileFormatClass("gif"), &TGIFImage::Class);
  EXPECT_NE(CF_GIF(), 0u);
  TPicture picture;
  picture.LoadFromFile(FixturePath("peer_anim.gif"));
  auto* gif = dynamic_cast<TGIFImage*>(picture.Graphic());
  ASSERT_NE(gif, nullptr);
  EXPECT_EQ(gif->Images().Count(), 3);
  EXPECT_EQ(picture.Width(), 30);
}

TEST(GIFImage, CachedBitmapShowsTheFirstFrame) {
  Loaded l = Load(Fixture("peer_still.gif"));
  TBitmap* bitmap = l.Image->GetCachedBitmap();
  ASSERT_NE(bitmap, nullptr);
  TBitmap copy;
  copy.Assign(bitmap);
  copy.SetPixelFormat(pf24bit);
  const Bytes expected = Fixture("peer_still.rgb");
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) {
      const uint8_t* e = &expected[(y * 37 + x) * 3];
      ASSERT_EQ(Pixel(copy, x, y), RGB(e[0], e[1], e[2])) << x << "," << y;
    }
  TGIFImage empty;
  EXPECT_EQ(empty.GetCachedBitmap(), nullptr);
}

TEST(GIFImage, SmallFirstFrameLandsAtItsPlace) {
  Loaded l = Load(OffsetFrameFile());
  ASSERT_EQ(l.Error, "");
  TBitmap copy;
  copy.Assign(l.Image->GetCachedBitmap());
  copy.SetPixelFormat(pf24bit);
  ASSERT_EQ(copy.Width(), 20);
  EXPECT_EQ(Pixel(copy, 5, 5), clRed);
  EXPECT_EQ(Pixel(copy, 14, 14), clRed);
}

// Both branches of the transparent copy: the masked one and the one of the 95 family.
TEST(GIFImage, TransparentDrawScalesIntoTheRectangleOnBothFamilies) {
  for (int platform : {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS}) {
    SCOPED_TRACE(platform);
    ScopedSeam<TVersionSeam> version({.Query = [platform](OSVERSIONINFOA* info) {
      info->dwPlatformId = static_cast<DWORD>(platform);
      info->dwMajorVersion = platform == VER_PLATFORM_WIN32_NT ? 5 : 4;
      return TRUE;
    }});
    Loaded l = Load(OffsetFrameFile());
    for (const TRect& rect : {TRect{0, 0, 20, 20}, TRect{0, 0, 40, 40}}) {
      auto target = Target(rect.Width(), rect.Height());
      l.Image->Draw(*target->Canvas(), rect);
      const int s = rect.Width() / 20;
      // Frame area (5..15 scaled), the transparent cross at frame column/row 4, outside white.
      EXPECT_EQ(Pixel(*target, 2 * s, 2 * s), clWhite);
      EXPECT_EQ(Pixel(*target, 6 * s, 6 * s), clRed);
      EXPECT_EQ(Pixel(*target, 9 * s, 6 * s), clWhite);
      EXPECT_EQ(Pixel(*target, 6 * s, 9 * s), clWhite);
      EXPECT_EQ(Pixel(*target, 15 * s - 1, 15 * s - 1), clRed);
      EXPECT_EQ(Pixel(*target, 15 * s, 15 * s), clWhite);
    }
  }
}

TEST(GIFImage, FrameWithoutTransparencyHasNoMask) {
  Loaded l = Load(Fixture("peer_still.gif"));
  EXPECT_FALSE(l.Image->Images().Images(0)->HasMask());
  Loaded t = Load(OffsetFrameFile());
  EXPECT_TRUE(t.Image->Images().Images(0)->HasMask());
  // Transparent, but the index is never used: no mask either.
  Loaded unused = Load(Concat({Header(1, 1, {0, 0xFFFFFF}), GraphicControl(1, 0, 0), Descriptor(0, 0, 1, 1),
                               ImageData(2, {{4, 3}, {1, 3}, {5, 3}}), Text(";")}));
  EXPECT_FALSE(unused.Image->Images().Images(0)->HasMask());
}

TEST(GIFImage, ScaleRectAndTiles) {
  Loaded l = Load(OffsetFrameFile());
  TGIFSubImage* f = l.Image->Images().Images(0);
  EXPECT_EQ(f->ScaleRect(TRect{0, 0, 40, 40}), (TRect{10, 10, 30, 30}));
  l.Image->DrawOptions = static_cast<TGIFDrawOptions>(l.Image->DrawOptions & ~DrawTransparent) | DrawTile;
  auto target = Target(50, 50);
  l.Image->Draw(*target->Canvas(), TRect{0, 0, 50, 50});
  for (int at : {5, 25, 45}) EXPECT_EQ(Pixel(*target, at, at), clRed) << at;
  EXPECT_EQ(Pixel(*target, 20, 20), clWhite);
}

TEST(GIFImage, DitheredRenderingUsesTheWebPalette) {
  {
    ScreenDepthScope screen(32);
    EXPECT_FALSE(PaletteDevice());
    EXPECT_FALSE(Load(Fixture("peer_still.gif")).Image->DoDither());
  }
  ScreenDepthScope screen(8);
  EXPECT_TRUE(PaletteDevice());
  Loaded l = Load(Fixture("peer_still.gif"));
  ASSERT_TRUE(l.Image->DoDither());
  TBitmap* bitmap = l.Image->Images().Images(0)->Bitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->PixelFormat(), pf8bit);
  PALETTEENTRY e[256];
  // The 216 web colours, then black up to 256 entries.
  ASSERT_EQ(GetPaletteEntries(bitmap->Palette(), 0, 256, e), 256u);
  EXPECT_EQ(e[11].peGreen, 51);
  EXPECT_EQ(e[215].peRed, 255);
  EXPECT_EQ(e[216].peRed + e[255].peBlue, 0);
  // Every pixel is a web colour.
  TBitmap copy;
  copy.Assign(bitmap);
  copy.SetPixelFormat(pf24bit);
  for (int y = 0; y < copy.Height(); ++y)
    for (int x = 0; x < copy.Width(); ++x) {
      const TColor c = Pixel(copy, x, y);
      EXPECT_EQ(GetRValue(c) % 51 + GetGValue(c) % 51 + GetBValue(c) % 51, 0);
    }
}

// A transparent index past the colour table: the dithered rendering warns, as reading the
// colour does, and fills the transparent pixels with the web colour after the first entry's.
TEST(GIFImage, DitheredTransparentIndexPastTheTable) {
  const Bytes file = Concat({Header(2, 1, {0xFF0000, 0x0000FF}), GraphicControl(1, 0, 5), Descriptor(0, 0, 2, 1),
                             ImageData(3, {{8, 4}, {5, 4}, {1, 4}, {9, 4}}), Text(";")});
  Loaded l = Load(file);
  ASSERT_EQ(l.Error, "");
  ASSERT_EQ(l.Image->Images().Images(0)->Data, (Bytes{5, 1}));
  l.Image->DrawOptions = DrawDither | DrawTransparent;
  TBitmap* bitmap = l.Image->Images().Images(0)->Bitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(l.Warnings, std::vector<String>{"Invalid color index"});
  EXPECT_EQ(static_cast<const uint8_t*>(bitmap->ScanLine(0))[0], 36 * 5 + 1);  // red's place, plus one
}

TEST(GIFColorReduction, Lookups) {
  int r, g, b;
  TNetscapeColorLookup web;
  EXPECT_EQ(web.Lookup(47, 48, 255, r, g, b), 11);
  EXPECT_EQ(RGB(r, g, b), RGB(0, 51, 255));
  TMonochromeLookup mono;
  EXPECT_EQ(mono.Lookup(127, 127, 127, r, g, b), 0);
  EXPECT_EQ(mono.Lookup(128, 128, 128, r, g, b), 1);
  TGrayScaleLookup grey;
  EXPECT_EQ(grey.Lookup(255, 0, 0, r, g, b), 76);
}

TEST(GIFColorReduction, EnginesScanSerpentineAndStayInside) {
  TNetscapeColorLookup web;
  for (DitherMethod m : {DitherNearest, DitherFloydSteinberg, DitherStucki, DitherSierra, DitherJaJuNi, DitherSteveArche,
                         DitherBurkes}) {
    SCOPED_TRACE(static_cast<int>(m));
    auto engine = CreateDitherEngine(m, 3, &web);
    std::vector<int> columns;
    int r, g, b;
    for (int row = 0; row < 2; ++row) {
      while (engine->Column >= 0 && engine->Column < 3) {
        columns.push_back(engine->Column);
        engine->Dither(200, 100, 7, r, g, b);
      }
      engine->NextLine();
    }
    EXPECT_EQ(columns, (std::vector<int>{0, 1, 2, 2, 1, 0}));
  }
  // Columns skipped without dithering (transparent pixels) move only the column: the scan
  // stays inside the row, every result is a palette index, and a colour of the palette
  // met afterwards still finds nothing but its own entry.
  for (DitherMethod m : {DitherFloydSteinberg, DitherStucki, DitherSierra, DitherJaJuNi, DitherSteveArche, DitherBurkes}) {
    SCOPED_TRACE(static_cast<int>(m));
    for (bool exact : {false, true}) {
      auto engine = CreateDitherEngine(m, 4, &web);
      std::vector<int> columns;
      int r, g, b;
      for (int row = 0; row < 6; ++row) {
        engine->NextColumn();
        engine->NextColumn();
        while (engine->Column >= 0 && engine->Column < 4) {
          columns.push_back(engine->Column);
          const int index = exact ? engine->Dither(51, 102, 153, r, g, b) : engine->Dither(250, 3, 130, r, g, b);
          EXPECT_GE(index, 0);
          EXPECT_LT(index, 216);
          if (exact) {
            EXPECT_EQ(index, 36 * 1 + 6 * 2 + 3);
          }
        }
        engine->NextLine();
      }
      EXPECT_EQ(columns, (std::vector<int>{2, 3, 1, 0, 2, 3, 1, 0, 2, 3, 1, 0}));
    }
  }
}

namespace {
// Gives black for the first colour that is not black and every other colour back
// unchanged: only that pixel has an error, and each later one shows what reached it.
// Records the red values.
struct SeedLookup : TColorLookup {
  SeedLookup() : TColorLookup(256) {}
  int Lookup(int red, int green, int blue, int& r, int& g, int& b) override {
    seen.push_back(red);
    if (red > 0 && !seeded) {
      seeded = true;
      r = g = b = 0;
      return 0;
    }
    r = red, g = green, b = blue;
    return 1;
  }
  std::vector<int> seen;
  bool seeded = false;
};
}  // namespace

// The error of one pixel (red = the engine's divisor, so each share is its weight) lands
// where the kernel says, row by row, in the engine's scan order.
TEST(GIFColorReduction, ErrorDiffusionWeights) {
  using Row = std::vector<int>;
  struct Case {
    DitherMethod method;
    int divisor;
    std::vector<Row> rows;  // columns 0..6, the seed at column 3 of row 0
  };
  const Case cases[] = {
      {DitherStucki, 42, {{0, 0, 0, 42, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}, {0, 1, 2, 4, 2, 1, 0}}},
      {DitherSierra, 32, {{0, 0, 0, 32, 5, 3, 0}, {0, 2, 4, 5, 4, 2, 0}, {0, 0, 2, 3, 2, 0, 0}}},
      {DitherJaJuNi, 48, {{0, 0, 0, 48, 7, 5, 0}, {0, 3, 5, 7, 5, 3, 0}, {0, 1, 3, 5, 3, 1, 0}}},
      {DitherBurkes, 32, {{0, 0, 0, 32, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}}},
      {DitherSteveArche, 200,
       {{0, 0, 0, 200, 0, 32, 0}, {12, 0, 26, 0, 30, 0, 16}, {0, 12, 0, 26, 0, 12, 0}, {5, 0, 12, 0, 12, 0, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.method));
    SeedLookup lookup;
    auto engine = CreateDitherEngine(c.method, 7, &lookup);
    std::vector<Row> shown;
    int r, g, b;
    for (size_t row = 0; row < c.rows.size(); ++row) {
      Row values(7, -1);
      while (engine->Column >= 0 && engine->Column < 7) {
        const int x = engine->Column;
        const size_t before = lookup.seen.size();
        engine->Dither(row == 0 && x == 3 ? c.divisor : 0, 0, 0, r, g, b);
        values[static_cast<size_t>(x)] = lookup.seen[before];
      }
      engine->NextLine();
      shown.push_back(values);
    }
    EXPECT_EQ(shown, c.rows);
  }
  // Floyd-Steinberg: 7/16 of the error to the next pixel of the row.
  SeedLookup lookup;
  auto fs = CreateDitherEngine(DitherFloydSteinberg, 7, &lookup);
  int r, g, b;
  fs->Dither(160, 0, 0, r, g, b);
  fs->Dither(0, 0, 0, r, g, b);
  EXPECT_EQ(lookup.seen, (std::vector<int>{160, 70}));
}

TEST(GIFColorReduction, ReduceColors) {
  TBitmap source(20, 3, pf24bit);
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 3; ++y) source.Canvas()->SetPixels(x, y, RGB(x * 12, (x % 3) * 100, 0));
  std::unique_ptr<TBitmap> none(ReduceColors(&source, ReduceNone, DitherNearest, 8, nullptr));
  EXPECT_EQ(none->PixelFormat(), pf24bit);
  std::unique_ptr<TBitmap> optimized(ReduceColors(&source, ReduceOptimized, DitherNearest, 4, nullptr));
  EXPECT_EQ(optimized->PixelFormat(), pf8bit);
  EXPECT_EQ(GetPaletteEntries(optimized->Palette(), 0, 0, nullptr), 256u);
  std::unique_ptr<TBitmap> bad(ReduceColors(&source, static_cast<ColorReductionMethod>(12), DitherNearest, 8, nullptr));
  EXPECT_TRUE(bad->Empty());
  std::unique_ptr<TBitmap> badDither(ReduceColors(&source, ReduceWebSafe, static_cast<DitherMethod>(9), 8, nullptr));
  EXPECT_TRUE(badDither->Empty());
  EXPECT_EQ(source.PixelFormat(), pf24bit);
  TBitmap empty;
  try {
    std::unique_ptr<TBitmap> nothing(ReduceColors(&empty, ReduceWebSafe, DitherNearest, 8, nullptr));
    ADD_FAILURE() << "an empty source was reduced";
  } catch (const GIFException& e) {
    EXPECT_EQ(e.Message, "Invalid image dimensions");
  }
  TColorQuantizer three(16, 8);
  for (TColor c : {clRed, clBlue, clRed, clLime}) three.AddColor(GetRValue(c), GetGValue(c), GetBValue(c));
  EXPECT_EQ(three.LeafCount(), 3);
  TColorQuantizer many(16, 8);
  for (int i = 0; i < 20; ++i) many.AddColor(i * 13, 255 - i * 11, i * 7);
  EXPECT_GE(many.LeafCount(), 1);
  EXPECT_LE(many.LeafCount(), 16);
  EXPECT_EQ(many.GetColorTable().size(), static_cast<size_t>(many.LeafCount()));
}

// A bitmap takes a frame's rendering; a copied frame takes its cached rendering along.
TEST(GIFImage, FramesHandOnTheirRendering) {
  Loaded l = Load(OffsetFrameFile());
  TGIFSubImage* frame = l.Image->Images().Images(0);
  TBitmap bitmap;
  bitmap.Assign(frame);
  EXPECT_EQ(bitmap.Width(), 10);
  EXPECT_EQ(bitmap.Height(), 10);
  bitmap.SetPixelFormat(pf24bit);
  EXPECT_EQ(Pixel(bitmap, 0, 0), clRed);
  EXPECT_EQ(Pixel(bitmap, 4, 0), clBlue);

  ASSERT_TRUE(frame->HasBitmap());
  TGIFSubImage copy(l.Image.get());
  copy.Assign(frame);
  EXPECT_TRUE(copy.HasBitmap());
  EXPECT_NE(copy.Bitmap(), frame->Bitmap());
  EXPECT_EQ(copy.Bitmap()->Width(), 10);
}

// A bitmap of more than 500,000 pixels made through the DIB writer starts at 1 bit per
// pixel, which is what it keeps when nothing is written into it.
TEST(GIFImage, LargeRenderingsStartAtOneBit) {
  TBitmap source(1000, 501, pf24bit);
  std::unique_ptr<TBitmap> badDither(ReduceColors(&source, ReduceWebSafe, static_cast<DitherMethod>(9), 8, nullptr));
  EXPECT_EQ(badDither->PixelFormat(), pf1bit);
  TBitmap small(500, 1000, pf24bit);
  std::unique_ptr<TBitmap> notLarge(ReduceColors(&small, ReduceWebSafe, static_cast<DitherMethod>(9), 8, nullptr));
  EXPECT_NE(notLarge->PixelFormat(), pf1bit);

  TGIFImage image;
  TGIFSubImage frame(&image);
  frame.SetBounds(0, 0, 1000, 501);
  frame.FreeImage();
  ASSERT_TRUE(frame.Empty());
  for (bool dithered : {false, true}) {
    std::unique_ptr<TBitmap> empty(dithered ? frame.CreateDitheredBitmap() : frame.CreateBitmapFromData());
    EXPECT_EQ(empty->PixelFormat(), pf1bit);
    EXPECT_EQ(empty->Width(), 1000);
  }
}

TEST(GIFImage, AssigningBitmaps) {
  TBitmap two(4, 2, pf24bit);
  two.Canvas()->Brush()->SetColor(clBlack);
  two.Canvas()->FillRect(TRect{0, 0, 4, 2});
  two.Canvas()->SetPixels(1, 1, clWhite);
  two.SetPixelFormat(pf1bit);
  TGIFImage image;
  image.Assign(&two);
  ASSERT_EQ(image.Images().Count(), 1);
  TGIFSubImage* f = image.Images().Images(0);
  EXPECT_EQ(f->LocalColorMap.Count(), 2);
  EXPECT_EQ(FrameRGB(*f)[(1 * 4 + 1) * 3], 255);
  EXPECT_EQ(FrameRGB(*f)[0], 0);

  TBitmap many(20, 15, pf24bit);
  for (int i = 0; i < 300; ++i) many.Canvas()->SetPixels(i % 20, i / 20, RGB(i, i / 2, 7));
  TGIFImage exact;
  exact.ColorReduction = ReduceNone;
  EXPECT_THROW(exact.Assign(&many), GIFException);
  TGIFImage web;
  web.Assign(&many);
  EXPECT_EQ(web.Images().Images(0)->LocalColorMap.Count(), 256);
  // And back: a GIF assigned to a bitmap gives its picture.
  TBitmap back;
  back.Assign(&web);
  EXPECT_EQ(back.Width(), 20);
}

TEST(GIFImage, CropAndMerge) {
  TGIFImage image;
  for (int i = 0; i < 4; ++i) image.Header().ColorMap.Add(RGB(i * 60, 0, 0));
  auto* f = new TGIFSubImage(&image);
  f->SetBounds(2, 1, 6, 5);
  image.Add(f);
  auto* gce = new TGIFGraphicControlExtension(f);
  f->Extensions.Add(gce);
  gce->SetTransparent(true);
  gce->SetTransparentColorIndex(3);
  std::fill(f->Data.begin(), f->Data.end(), 3);
  f->Pixels(3, 2) = 1;
  f->Crop();
  EXPECT_EQ(f->BoundsRect(), (TRect{5, 3, 6, 4}));
  EXPECT_EQ(f->Data, Bytes{1});

  // Merge: pixels equal to the previous frame's become transparent; a borrowed index is
  // never one the frame already uses.
  TGIFImage two;
  for (int i = 0; i < 4; ++i) two.Header().ColorMap.Add(RGB(i * 60, 0, 0));
  auto* a = new TGIFSubImage(&two);
  a->SetBounds(0, 0, 4, 1);
  a->Data = {0, 1, 2, 3};
  two.Add(a);
  auto* other = new TGIFSubImage(&two);
  other->SetBounds(0, 0, 1, 1);
  two.Add(other);
  auto* otherGce = new TGIFGraphicControlExtension(other);
  other->Extensions.Add(otherGce);
  otherGce->SetTransparent(true);
  otherGce->SetTransparentColorIndex(2);
  auto* b = new TGIFSubImage(&two);
  b->SetBounds(0, 0, 4, 1);
  b->Data = {0, 2, 2, 3};
  two.Images().Insert(1, b);
  b->Merge(a);
  ASSERT_TRUE(b->Transparent);
  const uint8_t t = b->TransparentColorIndex();
  EXPECT_NE(t, 2);
  EXPECT_EQ(b->Data, (Bytes{t, 2, t, t}));
}

TEST(GIFImage, SizeChecksAgainstFrames) {
  Loaded l = Load(OffsetFrameFile());
  EXPECT_THROW(l.Image->SetWidth(14), GIFException);
  EXPECT_THROW(l.Image->SetHeight(14), GIFException);
  l.Image->GetCachedBitmap();
  l.Image->SetWidth(20);
  EXPECT_NE(l.Image->CachedBitmap(), nullptr);
  l.Image->SetWidth(30);
  EXPECT_EQ(l.Image->CachedBitmap(), nullptr);
}

TEST(GIFImage, AssignFromAnotherGIFKeepsOwnSettings) {
  Loaded l = Load(Fixture("peer_anim.gif"));
  TGIFImage copy;
  copy.Compression = CompressionRLE;
  copy.AnimationSpeed = 50;
  int progress = 0;
  l.Image->OnProgress = [&](TObject*, TProgressStage, BYTE, bool, const TRect&, const String& m) {
    if (m == "Copying...") ++progress;
  };
  int changes = 0;
  copy.OnChange = [&](TObject*) { ++changes; };
  copy.Assign(l.Image.get());
  EXPECT_EQ(changes, 3);  // one for each frame added
  EXPECT_EQ(copy.Images().Count(), 3);
  EXPECT_EQ(copy.Compression, CompressionRLE);
  EXPECT_EQ(copy.AnimationSpeed, 50);
  EXPECT_FALSE(copy.OnProgress.Assigned());
  EXPECT_FALSE(copy.OnWarning.Assigned());
  EXPECT_EQ(progress, 5);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(FrameRGB(*copy.Images().Images(i)), FrameRGB(*l.Image->Images().Images(i)));
}

// Filling the cached bitmap, made on demand, tells the image's users that it changed.
TEST(GIFImage, MakingTheCachedBitmapIsAChange) {
  for (const char* file : {"peer_still.gif", "offset frame"}) {
    SCOPED_TRACE(file);
    Loaded l = Load(String(file) == "offset frame" ? OffsetFrameFile() : Fixture(file));
    ASSERT_EQ(l.Error, "");
    int changes = 0;
    l.Image->OnChange = [&](TObject*) { ++changes; };
    ASSERT_NE(l.Image->GetCachedBitmap(), nullptr);
    EXPECT_GE(changes, 1);
    changes = 0;
    l.Image->GetCachedBitmap();
    EXPECT_EQ(changes, 0);  // made once
    l.Image->ReleaseCachedBitmap();
    ASSERT_NE(l.Image->NewCachedBitmap(), nullptr);
    EXPECT_GE(changes, 1);
  }
}

// A synchronous painter on a fake clock: each frame waits its delay in 12 ms units.
TEST(GIFPainter, SynchronousPainterWaitsTheFrameDelays) {
  DWORD now = 1000;
  std::vector<DWORD> sleeps;
  ScopedSeam<TClockSeam> clock({.TickCount = [&] { return now; },
                                .TimeGetTime = [&] { return now; },
                                .Sleep = [&](DWORD ms) {
                                  sleeps.push_back(ms);
                                  now += ms;
                                }});
  Loaded l = Load(Fixture("peer_anim.gif"));
  TGIFImage& image = *l.Image;
  image.DrawOptions = DrawTransparent | DrawAnimate | DrawLoop;
  std::vector<DWORD> frameTimes;
  std::vector<int> order;
  int ends = 0;
  image.OnAfterFrame = [&](TObject* sender) {
    order.push_back(static_cast<TGIFPainter*>(sender)->ActiveImage);
    frameTimes.push_back(now);
  };
  image.OnAnimationEnd = [&](TObject*) { ++ends; };
  auto target = Target(30, 20);
  image.Draw(*target->Canvas(), TRect{0, 0, 30, 20});
  // The loop extension says 2: two passes, starting at frame 0.
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0, 1, 2}));
  EXPECT_EQ(ends, 1);
  ASSERT_EQ(frameTimes.size(), 6u);
  // Delays 5, 1 (counted as 3) and 0 (counted as 10) units of 12 ms, halving the lateness.
  EXPECT_EQ(frameTimes[1] - frameTimes[0], 60u);
  EXPECT_EQ(frameTimes[2] - frameTimes[1], 36u);
  EXPECT_EQ(frameTimes[3] - frameTimes[2], 120u);
  for (DWORD s : sleeps) EXPECT_LE(s, 100u);
  EXPECT_EQ(image.CurrentPainter, nullptr);
  // The last frame shown is in the cached bitmap, drawn by the next Draw.
  ASSERT_NE(image.CachedBitmap(), nullptr);
}

TEST(GIFPainter, AsynchronousPainterPaintsAndStops) {
  Loaded l = Load(Fixture("peer_anim.gif"));
  TGIFImage& image = *l.Image;
  std::atomic<int> frames{0};
  image.OnAfterFrame = [&](TObject*) { ++frames; };
  auto target = Target(30, 20);
  image.Draw(*target->Canvas(), TRect{0, 0, 30, 20});
  ASSERT_NE(image.CurrentPainter, nullptr);
  for (int i = 0; i < 200 && frames.load() == 0; ++i) CheckSynchronize(20);
  EXPECT_GE(frames.load(), 1);
  // The first frame is on the target already.
  EXPECT_NE(Pixel(*target, 0, 0), clWhite);
  image.StopPainters();
  EXPECT_EQ(image.CurrentPainter, nullptr);
  TList* painters = image.Painters().LockList();
  EXPECT_EQ(painters->Count(), 0);
  image.Painters().UnlockList();
}

// The thumbnail path on a worker thread while the main thread loads another file.
TEST(GIFImage, WorkerThreadLoadsBesideTheMainThread) {
  const Bytes anim = Fixture("peer_anim.gif");
  const Bytes still = Fixture("peer_still.gif");
  std::atomic<bool> workerOk{true};
  std::thread worker([&] {
    for (int i = 0; i < 30; ++i) {
      Loaded l = Load(anim);
      TBitmap* b = l.Image->GetCachedBitmap();
      if (!l.Error.empty() || !b || b->Width() != 30) workerOk = false;
    }
  });
  bool mainOk = true;
  for (int i = 0; i < 30; ++i) {
    Loaded l = Load(still);
    TBitmap* b = l.Image->GetCachedBitmap();
    if (!l.Error.empty() || !b || b->Width() != 37) mainOk = false;
  }
  worker.join();
  EXPECT_TRUE(mainOk);
  EXPECT_TRUE(workerOk.load());
}

// Every truncation and a sweep of byte changes over small fixtures: crashes and hangs are
// not allowed. The untouched file loads, renders at its screen's size and saves; a damaged
// one gives an error text (loading, rendering or saving) or a picture of its screen's size
// (none for a screen of no size).
TEST(GIFImage, TruncatedAndMutatedFilesNeverCrash) {
  for (const char* name : {"peer_anim.gif", "peer_giflib.gif", "peer_interlaced.gif"}) {
    SCOPED_TRACE(name);
    const Bytes good = Fixture(name);
    ASSERT_FALSE(good.empty());
    int wrong = 0;
    String firstWrong;
    auto fault = [&](const String& what, const Bytes& bytes) {
      if (wrong++ == 0) firstWrong = what + " after " + IntToStr(bytes.size()) + " bytes";
    };
    // True for a picture that loaded, rendered and saved without an error.
    auto tryLoad = [&](const Bytes& bytes) {
      Loaded l = Load(bytes);
      if (!l.Error.empty() || l.Image->Empty()) return false;
      bool clean = true;
      try {
        // A screen of no size draws nothing, whatever its frames hold; callers check it.
        TBitmap* bitmap = l.Image->GetCachedBitmap();
        const bool noScreen = l.Image->Width() <= 0 || l.Image->Height() <= 0;
        if (noScreen ? bitmap && bitmap->Width() > 0 && bitmap->Height() > 0
                     : !bitmap || bitmap->Width() != l.Image->Width() || bitmap->Height() != l.Image->Height())
          fault("a bitmap of another size than the screen", bytes);
      } catch (const Exception& e) {
        if (e.Message.empty()) fault("rendering failed without a text", bytes);
        clean = false;
      }
      try {
        Save(*l.Image);
      } catch (const Exception& e) {
        if (e.Message.empty()) fault("saving failed without a text", bytes);
        clean = false;
      }
      return clean;
    };
    EXPECT_TRUE(tryLoad(good));
    for (size_t n = 0; n < good.size(); ++n) tryLoad(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(n)));
    for (size_t at = 0; at < good.size(); ++at)
      for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(good[at] ^ 0x21)}) {
        Bytes bad = good;
        bad[at] = value;
        tryLoad(bad);
      }
    EXPECT_EQ(wrong, 0) << firstWrong;
  }
}

TEST(GIFImage, ClipboardData) {
  const Bytes file = Fixture("peer_anim.gif");
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, file.size());
  std::memcpy(GlobalLock(block), file.data(), file.size());
  GlobalUnlock(block);
  TGIFImage image;
  image.LoadFromClipboardFormat(CF_GIF(), block, nullptr);
  GlobalFree(block);
  EXPECT_EQ(image.Images().Count(), 3);

  TBitmap source(3, 2, pf24bit);
  source.Canvas()->Brush()->SetColor(clRed);
  source.Canvas()->FillRect(TRect{0, 0, 3, 2});
  TGIFImage fromBitmap;
  fromBitmap.LoadFromClipboardFormat(CF_BITMAP, source.Handle(), nullptr);
  EXPECT_EQ(fromBitmap.Images().Count(), 1);
  EXPECT_EQ(fromBitmap.Width(), 3);

  try {
    image.LoadFromClipboardFormat(CF_TEXT, block, nullptr);
    FAIL();
  } catch (const GIFException& e) {
    EXPECT_EQ(e.Message, "Unsupported clipboard format");
  }
}

TEST(GIFImage, MaskOfAnotherSizeStaysInside) {
  TGIFImage image;
  auto* f = new TGIFSubImage(&image);
  f->SetBounds(0, 0, 4, 2);
  for (int i = 0; i < 3; ++i) f->LocalColorMap.Add(RGB(i * 100, 0, 0));
  f->Data = {0, 1, 2, 1, 0, 1, 2, 1};
  image.Add(f);
  TBitmap mask(9, 1, pf24bit);
  mask.Canvas()->Brush()->SetColor(clWhite);
  mask.Canvas()->FillRect(TRect{0, 0, 9, 1});
  f->MakeTransparent(mask);
  ASSERT_TRUE(f->Transparent);
  const uint8_t t = f->TransparentColorIndex();
  EXPECT_EQ(f->LocalColorMap.Count(), 4);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(f->Pixels(x, 0), t);
  for (int x = 0; x < 4; ++x) EXPECT_NE(f->Pixels(x, 1), t);
}

TEST(GIFImage, OptimizeCropsMergesAndCleansUp) {
  Loaded l = Load(Fixture("peer_anim.gif"));
  TGIFImage& image = *l.Image;
  // The first frame again right after it: merged all transparent, it crops away and leaves.
  auto* copy = new TGIFSubImage(&image);
  copy->Assign(image.Images().Images(0));
  image.Images().Insert(1, copy);
  ASSERT_EQ(image.Images().Count(), 4);
  image.Optimize(OptimizeCrop | OptimizeMerge | OptimizeCleanup | OptimizeColorMaps, ReduceNone, DitherNearest, 8);
  EXPECT_EQ(image.Images().Count(), 3);
  // Comments and foreign application blocks are gone; the loop stays on frame 0.
  for (int i = 0; i < image.Images().Count(); ++i)
    for (int k = 0; k < image.Images().Images(i)->Extensions.Count(); ++k)
      EXPECT_EQ(dynamic_cast<TGIFUnknownAppExtension*>(image.Images().Images(i)->Extensions.Extensions(k)), nullptr);
  EXPECT_NE(dynamic_cast<TGIFAppExtNSLoop*>(image.Images().Images(0)->Extensions.Extensions(1)), nullptr);
  // Still a valid file that loads back to the same pixels.
  Loaded back = Load(Save(image));
  ASSERT_EQ(back.Error, "");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(FrameRGB(*back.Image->Images().Images(i)), FrameRGB(*image.Images().Images(i)));
  TGIFImage empty;
  EXPECT_NO_THROW(empty.Optimize(OptimizeReduceColors, ReduceCustomPalette, DitherNearest, 8));
  EXPECT_THROW(image.Optimize(OptimizeReduceColors, ReduceCustomPalette, DitherNearest, 8), GIFException);
}

TEST(GIFImage, StillImagesNeverStartAPainter) {
  Loaded l = Load(OffsetFrameFile());
  l.Image->DrawOptions |= DrawAsync | DrawAnimate;
  auto target = Target(20, 20);
  l.Image->Draw(*target->Canvas(), TRect{0, 0, 20, 20});
  EXPECT_EQ(l.Image->CurrentPainter, nullptr);
  EXPECT_EQ(l.Image->CachedBitmap(), nullptr);
  EXPECT_EQ(Pixel(*target, 6, 6), clRed);
}

TEST(GIFPainter, PaintersNeverStartedStillEnd) {
  Loaded l = Load(Fixture("peer_anim.gif"));
  auto target = Target(30, 20);
  TGIFPainter* painter = nullptr;
  l.Image->CreatePainter(painter, *target->Canvas(), DrawAsync | DrawAnimate | DrawTransparent, TRect{0, 0, 30, 20});
  ASSERT_NE(painter, nullptr);
  l.Image->StopPainters();
  EXPECT_EQ(painter, nullptr);
}

TEST(GIFPainter, DirectDrawOnTheSameRectangleKeepsThePainter) {
  Loaded l = Load(Fixture("peer_anim.gif"));
  l.Image->DrawOptions |= DrawDirect;
  l.Image->AnimationSpeed = 0;  // waits until stopped
  auto target = Target(30, 20);
  l.Image->Draw(*target->Canvas(), TRect{0, 0, 30, 20});
  TGIFPainter* first = l.Image->CurrentPainter;
  ASSERT_NE(first, nullptr);
  l.Image->Draw(*target->Canvas(), TRect{0, 0, 30, 20});
  EXPECT_EQ(l.Image->CurrentPainter, first);
  l.Image->Draw(*target->Canvas(), TRect{0, 0, 15, 10});
  EXPECT_NE(l.Image->CurrentPainter, nullptr);
  l.Image->StopPainters();
  EXPECT_EQ(l.Image->CurrentPainter, nullptr);
}

// Random image data behind a valid header and descriptor, seeded so a failure repeats.
TEST(GIFImage, RandomImageDataNeverCrashes) {
  uint32_t x = 12345;
  auto next = [&] { return (x = x * 1664525u + 1013904223u) >> 24; };
  for (int round = 0; round < 400; ++round) {
    Bytes file = Concat({Header(23, 17, {0, 0xFFFFFF, 0xFF0000, 0xFF}), Descriptor(0, 0, 23, 17, round % 2 ? 0x40 : 0)});
    file.push_back(static_cast<uint8_t>(round % 9));
    const int blocks = 1 + static_cast<int>(next() % 4);
    for (int b = 0; b < blocks; ++b) {
      const int n = static_cast<int>(next());
      file.push_back(static_cast<uint8_t>(n));
      for (int i = 0; i < n; ++i) file.push_back(static_cast<uint8_t>(next()));
    }
    if (round % 3) file.push_back(0);
    Loaded l = Load(file);
    if (l.Error.empty() && !l.Image->Empty()) {
      const TBitmap* bitmap = l.Image->GetCachedBitmap();
      ASSERT_NE(bitmap, nullptr);
      EXPECT_EQ(bitmap->Width(), 23);  // the screen's size, whatever the data held
      EXPECT_EQ(bitmap->Height(), 17);
    }
  }
}

TEST(GIFImage, LoadReportsProgress) {
  TGIFImage image;
  std::vector<std::pair<int, int>> reports;
  image.OnProgress = [&](TObject*, TProgressStage stage, BYTE percent, bool, const TRect&, const String& m) {
    if (m == "Loading...") reports.push_back({stage, percent});
  };
  auto stream = StreamOf(Fixture("peer_anim.gif"));
  image.LoadFromStream(*stream);
  ASSERT_GE(reports.size(), 5u);
  EXPECT_EQ(reports.front(), (std::pair<int, int>{psStarting, 0}));
  EXPECT_EQ(reports.back(), (std::pair<int, int>{psEnding, 100}));
  auto bad = StreamOf(Text("GIF89a"));
  EXPECT_THROW(image.LoadFromStream(*bad), GIFException);
  EXPECT_EQ(reports.back(), (std::pair<int, int>{psEnding, 0}));
}

// Two frames and no colour table at all: painting fails. A synchronous painter hands the
// error to Draw's caller; an asynchronous one ends quietly on its own thread.
TEST(GIFPainter, PaintingErrorsEndThePainter) {
  const Bytes frame = Concat({Descriptor(0, 0, 2, 1), ImageData(2, {{4, 3}, {1, 3}, {0, 3}, {5, 3}})});
  const Bytes file = Concat({Header(2, 1, {}), frame, frame, Text(";")});
  for (bool async : {false, true}) {
    SCOPED_TRACE(async);
    Loaded l = Load(file);
    ASSERT_EQ(l.Error, "");
    l.Image->DrawOptions = DrawAnimate | DrawDirect | (async ? DrawAsync : 0);
    auto target = Target(2, 1);
    if (!async) {
      // Handed on as a plain exception that keeps the message.
      try {
        l.Image->Draw(*target->Canvas(), TRect{0, 0, 2, 1});
        ADD_FAILURE() << "Draw painted without a colour table";
      } catch (const Exception& e) {
        EXPECT_EQ(typeid(e), typeid(Exception));
        EXPECT_EQ(e.Message, "No global or local color table defined");
      }
      EXPECT_EQ(l.Image->CurrentPainter, nullptr);
      continue;
    }
    l.Image->Draw(*target->Canvas(), TRect{0, 0, 2, 1});
    for (int i = 0; i < 200 && l.Image->CurrentPainter; ++i) CheckSynchronize(20);
    EXPECT_EQ(l.Image->CurrentPainter, nullptr);
  }
}

// The painter's composition of every frame (disposals keep, background and previous,
// a transparent frame) against the peer's coalesced frames, all on white.
TEST(GIFPainter, ComposesFramesLikeThePeer) {
  DWORD now = 0;
  ScopedSeam<TClockSeam> clock({.TickCount = [&] { return now; },
                                .TimeGetTime = [&] { return now; },
                                .Sleep = [&](DWORD ms) { now += ms; }});
  Loaded l = Load(Fixture("peer_anim.gif"));
  const Bytes expected = Fixture("peer_anim.coalesced.rgb");
  ASSERT_EQ(expected.size(), 3u * 30 * 20 * 3);
  auto target = Target(30, 20);
  Bytes shown;
  l.Image->DrawOptions = DrawTransparent | DrawAnimate | DrawDirect;
  l.Image->OnAfterFrame = [&](TObject*) {
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) {
        const TColor c = Pixel(*target, x, y);
        shown.insert(shown.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
      }
  };
  l.Image->Draw(*target->Canvas(), TRect{0, 0, 30, 20});
  EXPECT_EQ(shown, expected);
}
