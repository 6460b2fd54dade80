// Drawn glyphs pixel by pixel on a white 24-bit canvas, and text fitting.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "skin/draw/ksUtils.h"
#include "skin/draw/tests/ksTestPictures.h"

namespace {

using namespace kstest;
using PixelSet = std::set<std::pair<int, int>>;

constexpr TColor kInk = RGB(200, 10, 20);

class KsGlyphs : public ::testing::Test {
 protected:
  void SetUp() override {
    canvasBmp.SetSize(0, 0);  // a fresh, white picture
    canvasBmp.SetPixelFormat(pf24bit);
    canvasBmp.SetSize(32, 32);
  }
  TCanvas* Canvas() { return canvasBmp.Canvas(); }
  // Every pixel that is no longer white.
  PixelSet Inked() {
    PixelSet set;
    TSnapshot shot = Snapshot(canvasBmp);
    for (int y = 0; y < shot.Height; ++y)
      for (int x = 0; x < shot.Width; ++x)
        if (shot.At(x, y) != kWhite) set.insert({x, y});
    return set;
  }
  TBitmap canvasBmp;
};

PixelSet Row(int y, int x1, int x2) {  // x1..x2 inclusive
  PixelSet s;
  for (int x = x1; x <= x2; ++x) s.insert({x, y});
  return s;
}
PixelSet Column(int x, int y1, int y2) {
  PixelSet s;
  for (int y = y1; y <= y2; ++y) s.insert({x, y});
  return s;
}
PixelSet Outline(int x1, int y1, int x2, int y2) {  // rectangle outline, exclusive right/bottom
  PixelSet s = Row(y1, x1, x2 - 1);
  s.merge(Row(y2 - 1, x1, x2 - 1));
  s.merge(Column(x1, y1, y2 - 1));
  s.merge(Column(x2 - 1, y1, y2 - 1));
  return s;
}
PixelSet Box(int x1, int y1, int x2, int y2) {
  PixelSet s;
  for (int y = y1; y < y2; ++y) s.merge(Row(y, x1, x2 - 1));
  return s;
}
PixelSet Union(std::initializer_list<PixelSet> parts) {
  PixelSet s;
  for (auto p : parts) s.merge(p);
  return s;
}

TEST_F(KsGlyphs, Arrows) {
  struct Case {
    int Kind;
    PixelSet Want;
  };
  // Rectangle 0,0,20,20: centre 10,10.
  std::vector<Case> cases = {
      {1, Union({Column(8, 10, 10), Column(9, 9, 11), Column(10, 8, 12), Column(11, 7, 13)})},
      {2, Union({Column(12, 10, 10), Column(11, 9, 11), Column(10, 8, 12), Column(9, 7, 13)})},
      {3, Union({Row(8, 10, 10), Row(9, 9, 11), Row(10, 8, 12), Row(11, 7, 13)})},
      {4, Union({Row(12, 10, 10), Row(11, 9, 11), Row(10, 8, 12), Row(9, 7, 13)})},
      {0, {}},
      {5, {}},
  };
  for (const auto& c : cases) {
    SetUp();
    Canvas()->Pen()->SetColor(clWhite);
    DrawArrowGlyph(Canvas(), Rect(0, 0, 20, 20), kInk, c.Kind);
    EXPECT_EQ(Inked(), c.Want) << "kind " << c.Kind;
    EXPECT_EQ(Canvas()->Pen()->Color(), kInk);
  }
  SetUp();
  DrawArrowImage(Canvas(), Rect(0, 0, 20, 20), kInk, 4);
  EXPECT_EQ(Inked(), cases[3].Want);
}

TEST_F(KsGlyphs, SmallShapes) {
  struct Case {
    const char* Name;
    std::function<void(TCanvas*)> Draw;
    PixelSet Want;
  };
  PixelSet check;
  for (int i = 0; i <= 2; ++i) {
    check.insert({0, 5 - i});
    check.insert({1, 6 - i});
    for (int k = 0; k < 5; ++k) check.insert({2 + k, 7 - i - k});
  }
  PixelSet cross;
  for (int k = 0; k < 8; ++k) {
    cross.insert({1 + k, 1 + k});
    cross.insert({9 - k, 1 + k});
    cross.insert({2 + k, 1 + k});
    cross.insert({8 - k, 1 + k});
  }
  auto shifted = [](const PixelSet& s, int dx, int dy) {
    PixelSet out;
    for (auto [x, y] : s) out.insert({x + dx, y + dy});
    return out;
  };
  std::vector<Case> cases = {
      {"track arrow", [](TCanvas* c) { DrawTrackArrowImage(c, Rect(0, 0, 10, 10), kInk); },
       Union({Row(5, 3, 7), Row(6, 4, 6), Row(7, 5, 5)})},
      {"check mark", [](TCanvas* c) { DrawCheckMark(c, 0, 0, kInk); }, check},
      {"check mark alias", [](TCanvas* c) { DrawCheckMarkImage(c, 3, 4, kInk); }, shifted(check, 3, 4)},
      {"radio dot", [](TCanvas* c) { DrawRadioDot(c, 2, 3, kInk); }, Box(2, 3, 8, 9)},
      {"close", [](TCanvas* c) { DrawCloseImage(c, 0, 0, kInk); }, cross},
      {"close in rect", [](TCanvas* c) { DrawCloseImageInRect(c, Rect(0, 0, 21, 21), kInk); }, shifted(cross, 5, 5)},
      {"sys menu", [](TCanvas* c) { DrawSysMenuImage(c, 0, 0, kInk); }, Outline(1, 3, 9, 6)},
      {"minimize", [](TCanvas* c) { DrawMinimizeImage(c, 0, 0, kInk); }, Union({Row(8, 1, 8), Row(9, 1, 8)})},
      {"maximize", [](TCanvas* c) { DrawMaximizeImage(c, 0, 0, kInk); }, Union({Outline(0, 0, 11, 10), Row(1, 0, 10)})},
      {"restore", [](TCanvas* c) { DrawRestoreImage(c, 0, 0, kInk); },
       Union({Outline(2, 0, 10, 6), Outline(2, 0, 10, 2), Outline(0, 4, 7, 10), Outline(0, 4, 7, 6)})},
      {"roll down", [](TCanvas* c) { DrawRollDownImage(c, 0, 0, kInk); },
       Union({Row(2, 1, 8), Row(3, 2, 7), Row(4, 3, 6), Row(5, 4, 5)})},
      {"roll up", [](TCanvas* c) { DrawRollUpImage(c, 0, 0, kInk); },
       Union({Row(6, 1, 8), Row(5, 2, 7), Row(4, 3, 6), Row(3, 4, 5)})},
      {"min to tray", [](TCanvas* c) { DrawMinToTrayImage(c, 0, 0, kInk); }, Box(2, 2, 7, 7)},
  };
  for (const auto& c : cases) {
    SetUp();
    c.Draw(Canvas());
    EXPECT_EQ(Inked(), c.Want) << c.Name;
  }
}

TEST_F(KsGlyphs, BevelFrameCorners) {
  const TColor top = RGB(255, 0, 0), bottom = RGB(0, 0, 255);
  DrawBevelFrame(Canvas(), Rect(0, 0, 10, 10), top, bottom);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      TColor want = clWhite;
      if (x == 9 || (y == 9 && x <= 9)) want = bottom;
      else if (x == 0 && y <= 9) want = top;
      else if (y == 0 && x <= 8) want = top;
      if (x > 9 || y > 9) want = clWhite;
      EXPECT_EQ(ColorToRGB(Canvas()->Pixels(x, y)), ColorToRGB(want)) << x << "," << y;
    }
}

TEST_F(KsGlyphs, GlyphCellDrawnTransparently) {
  TBitmap strip;
  FillCoded(strip, 48, 16);
  DrawGlyph(Canvas(), 2, 3, &strip, 3, 2);
  TSnapshot shot = Snapshot(canvasBmp);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      TPixel want = (x == 0 && y == 15) ? kWhite : Coded(16 + x, y);  // the bottom-left colour is see-through
      ASSERT_EQ(shot.At(2 + x, 3 + y), want) << x << "," << y;
    }
  EXPECT_EQ(PixelAt(canvasBmp, 18, 3), kWhite);
  EXPECT_EQ(PixelAt(canvasBmp, 1, 3), kWhite);
}

TEST_F(KsGlyphs, GlyphOutOfRangeDrawsNothing) {
  TBitmap strip;
  FillCoded(strip, 48, 16);
  TBitmap empty;
  struct Case {
    TBitmap* Strip;
    int Count, Number;
  } cases[] = {{&strip, 3, 0}, {&strip, 3, 4}, {&strip, 0, 1}, {&strip, -2, 1}, {&strip, 100, 1}, {&empty, 3, 1},
               {nullptr, 3, 1}};
  for (const auto& c : cases) {
    DrawGlyph(Canvas(), 0, 0, c.Strip, c.Count, c.Number);
    EXPECT_TRUE(Inked().empty()) << c.Count << " " << c.Number;
  }
}

TEST_F(KsGlyphs, CutTextToWidth) {
  TCanvas* c = Canvas();
  String text = "Recovered pictures";
  CutTextToWidth(c, text, c->TextWidth(text));
  EXPECT_EQ(text, "Recovered pictures");

  String cut = "Recovered pictures";
  int limit = c->TextWidth("Recovered...");
  CutTextToWidth(c, cut, limit);
  // The longest prefix whose width with "..." fits.
  String want = "Recovered pictures";
  while (!want.empty() && c->TextWidth(want + "...") > limit) want.pop_back();
  EXPECT_EQ(cut, want + "...");
  EXPECT_LE(c->TextWidth(cut), limit);

  String tight = "Wide";
  CutTextToWidth(c, tight, 0);
  EXPECT_EQ(tight, "...");
  String empty;
  CutTextToWidth(c, empty, 0);
  EXPECT_EQ(empty, "");
}

TEST_F(KsGlyphs, ItemTextStaysInItsRectangle) {
  TRect r = Rect(4, 6, 30, 26);
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Font()->SetColor(clBlack);
  DrawItemTextOffset(Canvas(), "MMMMMMMMMMMM", r, 3);
  PixelSet ink = Inked();
  ASSERT_FALSE(ink.empty());
  int minX = 99;
  for (auto [x, y] : ink) {
    EXPECT_TRUE(x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) << x << "," << y;
    minX = std::min(minX, x);
  }
  EXPECT_GE(minX, r.Left + 2 + 3);
}

TEST_F(KsGlyphs, VCenteredTextIsClippedAndCentred) {
  TRect r = Rect(0, 0, 20, 30);
  Canvas()->Brush()->SetStyle(bsClear);
  DrawTextVCentered(Canvas(), "MMMMMMMM", r);
  PixelSet ink = Inked();
  ASSERT_FALSE(ink.empty());
  int h = Canvas()->TextHeight("M");
  for (auto [x, y] : ink) {
    EXPECT_LT(x, 20);
    EXPECT_GE(y, (30 - h) / 2);
    EXPECT_LT(y, (30 - h) / 2 + h + 1);
  }
}

}  // namespace
