// Mask scans: region data byte for byte, and region membership of composed frames.
#include <gtest/gtest.h>

#include <cstring>

#include "skin/draw/ksUtils.h"

namespace {

// '#' black, '.' white, 'r' almost black (red 1).
void PaintMask(TBitmap& mask, std::initializer_list<const char*> rows, TPixelFormat format = pf24bit) {
  int h = static_cast<int>(rows.size()), w = static_cast<int>(std::strlen(*rows.begin()));
  mask.SetPixelFormat(format);
  mask.SetSize(w, h);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < w; ++x)
      mask.Canvas()->SetPixels(x, y, row[x] == '#' ? RGB(0, 0, 0) : row[x] == 'r' ? RGB(1, 0, 0) : RGB(255, 255, 255));
    ++y;
  }
}

std::vector<DWORD> Words(const std::unique_ptr<BYTE[]>& data, size_t size) {
  std::vector<DWORD> words(size / 4);
  std::memcpy(words.data(), data.get(), size);
  return words;
}

TEST(KsRegions, RegionDataByteExact) {
  TBitmap mask;
  PaintMask(mask, {"#.##", "....", "##r#"});
  std::unique_ptr<BYTE[]> data;
  size_t size = CreateRegionData(&mask, 10, 20, data);
  ASSERT_EQ(size, 32u + 4 * 16);
  std::vector<DWORD> want = {32, 1, 4, 0, 10, 20, 14, 23,  //
                             10, 20, 11, 21, 12, 20, 14, 21, 10, 22, 12, 23, 13, 22, 14, 23};
  EXPECT_EQ(Words(data, size), want);
}

TEST(KsRegions, MonochromeMaskScansAlike) {
  TBitmap mask;
  PaintMask(mask, {"##..", "..##"}, pf1bit);
  std::unique_ptr<BYTE[]> data;
  size_t size = CreateRegionData(&mask, 0, 0, data);
  std::vector<DWORD> want = {32, 1, 2, 0, 0, 0, 4, 2, 0, 0, 2, 1, 2, 1, 4, 2};
  EXPECT_EQ(Words(data, size), want);
}

TEST(KsRegions, WhiteAndEmptyMasks) {
  TBitmap white;
  PaintMask(white, {"...", "..."});
  std::unique_ptr<BYTE[]> data(new BYTE[1]);
  EXPECT_EQ(CreateRegionData(&white, 0, 0, data), 32u);
  EXPECT_EQ(Words(data, 32)[2], 0u);

  TBitmap empty;
  EXPECT_EQ(CreateRegionData(&empty, 0, 0, data), 0u);
  EXPECT_EQ(data, nullptr);  // never left pointing at an old block
  TRegion region(CreateRectRgn(0, 0, 1, 1));
  CreateSimpleRegion(region, &empty);
  EXPECT_FALSE(region);
}

TEST(KsRegions, SimpleRegionHoldsOnlyBlack) {
  TBitmap mask;
  PaintMask(mask, {".###", "r###", "####"});
  TRegion region;
  CreateSimpleRegion(region, &mask);
  ASSERT_TRUE(region);
  struct Probe {
    int X, Y;
    bool In;
  } probes[] = {{0, 0, false}, {1, 0, true}, {3, 0, true}, {4, 0, false}, {0, 1, false}, {0, 2, true}, {3, 2, true},
                {3, 3, false}};
  for (const auto& p : probes) EXPECT_EQ(PtInRegion(region.get(), p.X, p.Y) != 0, p.In) << p.X << "," << p.Y;
}

TEST(KsRegions, RowRunReachesTheMaskWidth) {
  TBitmap mask;
  PaintMask(mask, {"..###"});
  std::unique_ptr<BYTE[]> data;
  size_t size = CreateRegionData(&mask, 0, 0, data);
  EXPECT_EQ(Words(data, size)[10], 5u);  // right edge of the only run
}

TEST(KsRegions, ManyRunsAreAllKept) {
  TBitmap mask;
  mask.SetPixelFormat(pf24bit);
  mask.SetSize(201, 110);  // 100 runs a row, 11 000 in all
  for (int y = 0; y < 110; ++y) {
    auto* row = static_cast<BYTE*>(mask.ScanLine(y));
    for (int x = 0; x < 201; ++x) std::memset(row + 3 * x, x % 2 ? 0 : 255, 3);
  }
  std::unique_ptr<BYTE[]> data;
  size_t size = CreateRegionData(&mask, 0, 0, data);
  EXPECT_EQ(Words(data, 32)[2], 11000u);
  EXPECT_EQ(size, 32u + 11000u * 16u);
}

// A 30 x 30 frame mask, black except a rounded top-left corner and one white top-right pixel.
void FrameMask(TBitmap& mask) {
  mask.SetPixelFormat(pf24bit);
  mask.SetSize(30, 30);
  mask.Canvas()->Brush()->SetColor(RGB(0, 0, 0));
  mask.Canvas()->FillRect(Rect(0, 0, 30, 30));
  for (TPoint p : {Point(0, 0), Point(1, 0), Point(0, 1), Point(29, 0)}) mask.Canvas()->SetPixels(p.X, p.Y, RGB(255, 255, 255));
}

TEST(KsRegions, SkinRegionOfAResizedFrame) {
  TBitmap mask;
  FrameMask(mask);
  const TRect skin = Rect(0, 0, 30, 30);
  TksSkinGeometry g{Point(10, 10), Point(20, 10), Point(10, 20), Point(20, 20), Rect(10, 10, 20, 20)};
  TksSkinGeometry n = MoveSkinGeometry(g, skin, 47, 36);
  TRegion region;
  CreateSkinRegion(region, g.LTPoint, g.RTPoint, g.LBPoint, g.RBPoint, g.ClientRect, n.LTPoint, n.RTPoint, n.LBPoint,
                   n.RBPoint, n.ClientRect, &mask, 47, 36);
  ASSERT_TRUE(region);
  struct Probe {
    int X, Y;
    bool In;
  } probes[] = {{0, 0, false}, {1, 0, false}, {0, 1, false}, {2, 0, true},   {1, 1, true},  {46, 0, false},
                {45, 0, true}, {20, 20, true}, {46, 35, true}, {47, 35, false}, {0, 36, false}, {30, 5, true}};
  for (const auto& p : probes) EXPECT_EQ(PtInRegion(region.get(), p.X, p.Y) != 0, p.In) << p.X << "," << p.Y;
  RECT box{};
  GetRgnBox(region.get(), &box);
  EXPECT_EQ(TRect::FromRECT(box), Rect(0, 0, 47, 36));
}

TEST(KsRegions, SkinRegionWithoutLeftBorderAndInvertedPoints) {
  TBitmap mask;
  FrameMask(mask);
  const TRect skin = Rect(0, 0, 30, 30);
  TksSkinGeometry g{Point(10, 10), Point(20, 10), Point(10, 20), Point(20, 20), Rect(0, 10, 20, 20)};
  TksSkinGeometry n = MoveSkinGeometry(g, skin, 40, 30);
  TRegion region;
  CreateSkinRegion(region, g.LTPoint, g.RTPoint, g.LBPoint, g.RBPoint, g.ClientRect, n.LTPoint, n.RTPoint, n.LBPoint,
                   n.RBPoint, n.ClientRect, &mask, 40, 30);
  ASSERT_TRUE(region);
  EXPECT_TRUE(PtInRegion(region.get(), 5, 5));    // top strip
  EXPECT_TRUE(PtInRegion(region.get(), 5, 25));   // bottom strip
  EXPECT_TRUE(PtInRegion(region.get(), 35, 15));  // right strip
  EXPECT_TRUE(PtInRegion(region.get(), 0, 15));   // client reaches the left edge

  CreateSkinRegion(region, g.LTPoint, g.RTPoint, g.LBPoint, g.RBPoint, g.ClientRect, Point(30, 10), Point(20, 10),
                   n.LBPoint, n.RBPoint, n.ClientRect, &mask, 40, 30);
  EXPECT_FALSE(region);
}

}  // namespace
