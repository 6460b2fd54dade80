#include "framework/core/graphic.h"

#include <gtest/gtest.h>

#include "framework/core/bitmap.h"
#include "framework/core/icon.h"
#include "framework/core/jpeg.h"
#include "framework/core/metafile.h"
#include "framework/core/regions.h"
#include "framework/core/tests/graphics_fixtures.h"
#include "framework/testsupport/scratch_dir.h"

namespace {

// A format a module would register at start-up.
class TTestGraphic : public TBitmap {
 public:
  static const TGraphicClass Class;
  const TGraphicClass& GraphicClass() const override { return Class; }
};
const TGraphicClass TTestGraphic::Class{"TTestGraphic", []() -> TGraphic* { return new TTestGraphic; }};

void SaveFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  LoadBytes(stream, bytes);
  stream.SaveToFile(path);
}

}  // namespace

TEST(Picture, LoadsByExtensionIgnoringCase) {
  ScratchDir dir;
  SaveFile((dir / "a.JPG"), FixtureBytes("colour.jpg"));
  TBitmap bitmap(3, 2);
  bitmap.SaveToFile((dir / "b.Bmp"));
  SaveFile((dir / "c.xyz"), {1, 2, 3});

  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile((dir / "a.JPG"));
  EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 37);
  picture.LoadFromFile((dir / "b.Bmp"));
  EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Height(), 2);
  EXPECT_GE(changes, 2);
  EXPECT_THROW(picture.LoadFromFile((dir / "c.xyz")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile((dir / "noextension")), EInvalidGraphic);
}

TEST(Picture, BitmapReplacesAnotherGraphicWithAnEmptyBitmap) {
  TPicture picture;
  TJPEGImage jpeg;
  TMemoryStream stream;
  LoadBytes(stream, FixtureBytes("colour.jpg"));
  jpeg.LoadFromStream(stream);
  picture.SetGraphic(&jpeg);
  ASSERT_NE(picture.Graphic(), &jpeg);  // a copy is kept
  EXPECT_EQ(picture.Width(), 37);
  TBitmap* bitmap = picture.Bitmap();
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(picture.Graphic(), bitmap);
  EXPECT_EQ(picture.Bitmap(), bitmap);  // a bitmap stays
  // Changes of the held graphic reach the picture.
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  bitmap->SetSize(2, 2);
  EXPECT_EQ(changes, 1);
}

TEST(Picture, RegistryTakesModuleFormatsAndForgetsThem) {
  EXPECT_EQ(TPicture::FileFormatClass(".JPEG"), &TJPEGImage::Class);
  EXPECT_EQ(TPicture::FileFormatClass("wmf"), &TMetafile::Class);
  EXPECT_EQ(TPicture::FileFormatClass("tst"), nullptr);
  TPicture::RegisterFileFormat("tst", "Test pictures", TTestGraphic::Class);
  EXPECT_EQ(TPicture::FileFormatClass("TST"), &TTestGraphic::Class);
  EXPECT_NE(GraphicFilter().find("Test pictures (*.tst)|*.tst"), String::npos);
  EXPECT_EQ(GraphicFilter(&TIcon::Class), "All (*.ico)|*.ico|Icons (*.ico)|*.ico");
  TPicture::UnregisterGraphicClass(TTestGraphic::Class);
  EXPECT_EQ(TPicture::FileFormatClass("tst"), nullptr);
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
}

TEST(Graphic, AssignOfAnUnrelatedClassNamesBoth) {
  TBitmap bitmap;
  TIcon icon;
  try {
    icon.Assign(&bitmap);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_NE(String(e.what()).find("Cannot assign a "), String::npos);
    EXPECT_NE(String(e.what()).find("TBitmap"), String::npos);
  }
}

TEST(Icon, RoundTripsThroughIcoDataAndDraws) {
  // A 16 x 16 icon: red square on a transparent ground.
  TBitmap colour(16, 16, pf32bit);
  colour.Canvas()->Brush()->SetColor(clBlack);
  colour.Canvas()->FillRect(Rect(0, 0, 16, 16));
  colour.Canvas()->Brush()->SetColor(clRed);
  colour.Canvas()->FillRect(Rect(4, 4, 12, 12));
  TBitmap mask(16, 16, pf1bit);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(4, 4, 12, 12));
  ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
  TIcon icon;
  icon.SetHandle(CreateIconIndirect(&info));
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 16);

  TMemoryStream stream;
  icon.SaveToStream(stream);
  stream.SetPosition(0);
  TIcon back;
  back.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_EQ(back.Height(), 16);

  TBitmap canvas(20, 20);
  canvas.Canvas()->Brush()->SetColor(clBlue);
  canvas.Canvas()->FillRect(Rect(0, 0, 20, 20));
  canvas.Canvas()->Draw(2, 2, &back);
  EXPECT_EQ(PixelOf(canvas, 9, 9), clRed);
  EXPECT_EQ(PixelOf(canvas, 3, 3), clBlue);

  TBitmap flat;
  flat.Assign(&back);
  EXPECT_EQ(flat.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelOf(flat, 8, 8), clRed);

  TMemoryStream junk;
  LoadBytes(junk, {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0});
  EXPECT_THROW(back.LoadFromStream(junk), EInvalidGraphic);
}

TEST(Metafile, EnhancedMetafilesRoundTripAndPlainWmfIsRefused) {
  HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 40, 40};
  FillRect(recorder, &all, red);
  DeleteObject(red);
  TMetafile metafile;
  metafile.SetHandle(CloseEnhMetaFile(recorder));
  ASSERT_FALSE(metafile.Empty());

  TMemoryStream stream;
  metafile.SaveToStream(stream);
  LoadBytes(stream, std::vector<uint8_t>(static_cast<const uint8_t*>(stream.Memory()),
                                         static_cast<const uint8_t*>(stream.Memory()) + stream.Size()));
  TMetafile back;
  back.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size());
  TBitmap target(10, 10);
  target.Canvas()->StretchDraw(Rect(0, 0, 10, 10), &back);
  EXPECT_EQ(PixelOf(target, 5, 5), clRed);

  // A Windows metafile without the placeable header.
  TMemoryStream wmf;
  LoadBytes(wmf, {1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0});
  EXPECT_THROW(back.LoadFromStream(wmf), EInvalidGraphic);
}

TEST(Regions, FromRectanglesOrEmpty) {
  TRegion none = CreateRegionFromRects({});
  RECT box{};
  EXPECT_EQ(GetRgnBox(none.get(), &box), NULLREGION);
  const TRect rects[] = {Rect(0, 0, 2, 2), Rect(5, 0, 6, 1)};
  TRegion two = CreateRegionFromRects(rects, 10, 20);
  EXPECT_EQ(GetRgnBox(two.get(), &box), COMPLEXREGION);
  EXPECT_EQ(TRect::FromRECT(box), Rect(10, 20, 16, 22));
  EXPECT_TRUE(PtInRegion(two.get(), 15, 20));
  EXPECT_FALSE(PtInRegion(two.get(), 13, 20));
  HRGN raw = two.release();
  EXPECT_EQ(two.get(), nullptr);
  DeleteObject(raw);
}

TEST(Metafile, PlaceableWindowsMetafilesLoadAtTheirBoxSize) {
  HDC recorder = CreateMetaFileA(nullptr);
  SetWindowExtEx(recorder, 100, 50, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 100, 50};
  FillRect(recorder, &all, red);
  DeleteObject(red);
  HMETAFILE wmf = CloseMetaFile(recorder);
  std::vector<uint8_t> bits(GetMetaFileBitsEx(wmf, 0, nullptr));
  GetMetaFileBitsEx(wmf, static_cast<UINT>(bits.size()), bits.data());
  DeleteMetaFile(wmf);

  // Key, handle, box 0,0 - 1440,720 at 1440 units per inch (1 x 0.5 inch), reserved, checksum.
  const uint16_t words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 1440, 720, 1440, 0, 0};
  uint16_t checksum = 0;
  for (uint16_t w : words) checksum ^= w;
  std::vector<uint8_t> file;
  for (uint16_t w : words) file.insert(file.end(), {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8)});
  file.insert(file.end(), {static_cast<uint8_t>(checksum), static_cast<uint8_t>(checksum >> 8)});
  file.insert(file.end(), bits.begin(), bits.end());
  file.push_back(0x77);  // whatever follows stays unread

  TMemoryStream stream;
  LoadBytes(stream, file);
  TMetafile metafile;
  metafile.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(file.size() - 1));
  HDC screen = GetDC(nullptr);
  int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(metafile.Width(), dpiX);
  EXPECT_EQ(metafile.Height(), dpiY / 2);
  TBitmap target(20, 20);
  target.Canvas()->StretchDraw(Rect(0, 0, 20, 20), &metafile);
  EXPECT_EQ(PixelOf(target, 10, 10), clRed);

  TMemoryStream truncated;
  LoadBytes(truncated, std::vector<uint8_t>(file.begin(), file.begin() + 30));
  EXPECT_THROW(metafile.LoadFromStream(truncated), EInvalidGraphic);
}
