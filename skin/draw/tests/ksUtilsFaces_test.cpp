// Face composers checked pixel by pixel against coded skin pictures.
#include <gtest/gtest.h>

#include <functional>

#include "skin/draw/ksUtils.h"
#include "skin/draw/tests/ksTestPictures.h"

namespace {

using namespace kstest;

// Where a face pixel must come from, in picture coordinates; nullopt for untouched.
using Source = std::function<std::optional<TPoint>(int x, int y)>;

void ExpectFace(TBitmap& face, int w, int h, const Source& source, TPixel untouched = kWhite) {
  ASSERT_EQ(face.Width(), w);
  ASSERT_EQ(face.Height(), h);
  int failures = 0;
  TSnapshot shot = Snapshot(face);
  for (int y = 0; y < h && failures < 5; ++y)
    for (int x = 0; x < w && failures < 5; ++x) {
      auto s = source(x, y);
      TPixel want = s ? Coded(s->X, s->Y) : untouched;
      TPixel got = shot.At(x, y);
      if (got != want) {
        ++failures;
        ADD_FAILURE() << "pixel " << x << "," << y << ": got " << got.R << "," << got.G << "," << got.B
                      << " want " << want.R << "," << want.G << "," << want.B;
      }
    }
}

class KsFaces : public ::testing::Test {
 protected:
  void SetUp() override { FillCoded(picture, 64, 48); }
  TBitmap picture;
  TBitmap face;
};

TEST_F(KsFaces, HorizontalStripEndsAndTiledMiddle) {
  const TRect skin = Rect(5, 2, 35, 12);  // 30 wide: 4 left, 20 middle, 6 right
  CreateHSkinImage(4, 6, &face, &picture, skin, 55, 999);
  ExpectFace(face, 55, 10, [](int x, int y) -> std::optional<TPoint> {
    int sx = x < 4 ? 5 + x : x >= 49 ? 29 + (x - 49) : 9 + (x - 4) % 20;
    return Point(sx, 2 + y);
  });
}

TEST_F(KsFaces, TiledStripCutsTheLastTileFromTheSegmentStart) {
  const TRect skin = Rect(0, 0, 15, 5);  // middle columns 3..13, 10 wide
  CreateHSkinImageTiled(3, 2, &face, &picture, skin, 25, 0);
  ExpectFace(face, 25, 5, [](int x, int y) -> std::optional<TPoint> { return Point(3 + x % 10, y); });
}

TEST_F(KsFaces, OpenStripTilesToTheRightEdge) {
  const TRect skin = Rect(1, 1, 21, 4);
  CreateHSkinImageLeft(5, 7, &face, &picture, skin, 30, 0);
  ExpectFace(face, 30, 3, [](int x, int y) -> std::optional<TPoint> {
    return Point(x < 5 ? 1 + x : 6 + (x - 5) % 8, 1 + y);
  });
  TBitmap alias;
  CreateOpenHSkinImage(5, 7, &alias, &picture, skin, 30, 0);
  ExpectFace(alias, 30, 3, [](int x, int y) -> std::optional<TPoint> {
    return Point(x < 5 ? 1 + x : 6 + (x - 5) % 8, 1 + y);
  });
}

TEST_F(KsFaces, StripEdgeCases) {
  // W equal to the two ends: only the ends show.
  CreateHSkinImage(4, 6, &face, &picture, Rect(0, 0, 30, 2), 10, 0);
  ExpectFace(face, 10, 2, [](int x, int y) -> std::optional<TPoint> { return Point(x < 4 ? x : 24 + (x - 4), y); });
  // W below the ends: the right end is drawn over the left one.
  CreateHSkinImage(4, 6, &face, &picture, Rect(0, 0, 30, 2), 7, 0);
  ExpectFace(face, 7, 2, [](int x, int y) -> std::optional<TPoint> { return Point(x < 1 ? x : 24 + (x - 1), y); });
  // A middle of zero width stays unpainted.
  TBitmap fresh;
  CreateHSkinImage(4, 6, &fresh, &picture, Rect(0, 0, 10, 2), 20, 0);
  ExpectFace(fresh, 20, 2, [](int x, int y) -> std::optional<TPoint> {
    if (x < 4) return Point(x, y);
    if (x >= 14) return Point(4 + (x - 14), y);
    return std::nullopt;
  });
}

TEST_F(KsFaces, VerticalStrip) {
  const TRect skin = Rect(3, 4, 7, 24);  // 20 high: 3 top, 12 middle, 5 bottom
  CreateVSkinImage(3, 5, &face, &picture, skin, 0, 40);
  ExpectFace(face, 4, 40, [](int x, int y) -> std::optional<TPoint> {
    int sy = y < 3 ? 4 + y : y >= 35 ? 19 + (y - 35) : 7 + (y - 3) % 12;
    return Point(3 + x, sy);
  });
  TBitmap fresh;
  CreateVSkinImage(3, 5, &fresh, &picture, Rect(0, 0, 2, 8), 0, 12);  // middle of zero height
  ExpectFace(fresh, 2, 12, [](int x, int y) -> std::optional<TPoint> {
    if (y < 3) return Point(x, y);
    if (y >= 7) return Point(x, 3 + (y - 7));
    return std::nullopt;
  });
}

// A 30 x 30 element at 2,3 cut in a 10-pixel grid, moved to 47 x 36.
struct Grid {
  TRect Skin = Rect(2, 3, 32, 33);
  TksSkinGeometry G{Point(10, 10), Point(20, 10), Point(10, 20), Point(20, 20), Rect(10, 10, 20, 20)};
  int W = 47, H = 36;
  TksSkinGeometry N = MoveSkinGeometry(G, Skin, W, H);
};

int GridAxis(int v, int size) {
  int farEdge = size - 10;
  return v < 10 ? v : v >= farEdge ? 20 + (v - farEdge) : 10 + (v - 10) % 10;
}

TEST_F(KsFaces, MovedGeometry) {
  Grid g;
  EXPECT_EQ(g.N.LTPoint, Point(10, 10));
  EXPECT_EQ(g.N.RTPoint, Point(37, 10));
  EXPECT_EQ(g.N.LBPoint, Point(10, 26));
  EXPECT_EQ(g.N.RBPoint, Point(37, 26));
  EXPECT_EQ(g.N.ClientRect, Rect(10, 10, 37, 26));
}

TEST_F(KsFaces, NinePartFaceTilesEdgesAndClient) {
  Grid g;
  CreateSkinImage(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, g.G.ClientRect, g.N.LTPoint, g.N.RTPoint,
                  g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &face, &picture, g.Skin, g.W, g.H, true);
  ExpectFace(face, g.W, g.H, [&](int x, int y) -> std::optional<TPoint> {
    return Point(2 + GridAxis(x, g.W), 3 + GridAxis(y, g.H));
  });
}

TEST_F(KsFaces, NinePartFaceWithoutClientLeavesItAlone) {
  Grid g;
  face.SetSize(g.W, g.H);
  face.Canvas()->Brush()->SetColor(RGB(200, 0, 0));
  face.Canvas()->FillRect(Rect(0, 0, g.W, g.H));
  CreateSkinImage(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, g.G.ClientRect, g.N.LTPoint, g.N.RTPoint,
                  g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &face, &picture, g.Skin, g.W, g.H, false);
  ExpectFace(
      face, g.W, g.H,
      [&](int x, int y) -> std::optional<TPoint> {
        if (x >= 10 && x < 37 && y >= 10 && y < 26) return std::nullopt;
        return Point(2 + GridAxis(x, g.W), 3 + GridAxis(y, g.H));
      },
      TPixel{200, 0, 0});
}

TEST_F(KsFaces, LShapedCornersFollowTheTable) {
  // Corner points off the client edges: corners are L-shaped.
  const TRect skin = Rect(0, 0, 30, 30);
  TksSkinGeometry g{Point(12, 8), Point(18, 9), Point(13, 22), Point(19, 21), Rect(5, 4, 25, 26)};
  const int w = 40, h = 40;
  TksSkinGeometry n = MoveSkinGeometry(g, skin, w, h);
  CreateSkinImage(g.LTPoint, g.RTPoint, g.LBPoint, g.RBPoint, g.ClientRect, n.LTPoint, n.RTPoint, n.LBPoint,
                  n.RBPoint, n.ClientRect, &face, &picture, skin, w, h, false);
  struct Probe {
    TPoint At, From;
  } probes[] = {
      {{11, 3}, {11, 3}},    // top-left upper
      {{4, 7}, {4, 7}},      // top-left lower
      {{28, 3}, {18, 3}},    // top-right upper (moved by 10)
      {{36, 8}, {26, 8}},    // top-right lower
      {{0, 39}, {0, 29}},    // bottom-left outer
      {{12, 36}, {12, 26}},  // bottom-left inner
      {{39, 39}, {29, 29}},  // bottom-right outer
      {{35, 31}, {25, 21}},  // bottom-right inner
      {{12, 0}, {12, 0}},    // top edge, first tile
      {{18, 0}, {12, 0}},    // top edge, second tile
      {{0, 8}, {0, 8}},      // left edge start
  };
  for (const auto& p : probes)
    EXPECT_EQ(PixelAt(face, p.At.X, p.At.Y), Coded(p.From.X, p.From.Y)) << p.At.X << "," << p.At.Y;
}

TEST_F(KsFaces, DegenerateAndZeroLengthSegmentsDrawNothingOrSkip) {
  Grid g;
  TBitmap empty;
  CreateSkinImage(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, g.G.ClientRect, g.N.LTPoint, g.N.RTPoint,
                  g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &face, &empty, g.Skin, g.W, g.H, true);
  ExpectFace(face, g.W, g.H, [](int, int) { return std::optional<TPoint>(); });
  TBitmap flat;
  CreateSkinImage(Point(10, 10), Point(20, 10), Point(10, 20), Point(10, 20), g.G.ClientRect, g.N.LTPoint,
                  g.N.RTPoint, g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &flat, &picture, g.Skin, g.W, g.H, true);
  ExpectFace(flat, g.W, g.H, [](int, int) { return std::optional<TPoint>(); });
  // A top edge of zero length beside a real bottom edge: skipped, no division by zero.
  TBitmap zero;
  CreateSkinImage(Point(10, 10), Point(10, 10), Point(10, 20), Point(20, 20), g.G.ClientRect, g.N.LTPoint,
                  Point(10, 10), g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &zero, &picture, g.Skin, g.W, g.H, true);
  EXPECT_EQ(zero.Width(), g.W);
  EXPECT_EQ(PixelAt(zero, 0, 0), Coded(2, 3));
  TBitmap zeroClient;
  CreateSkinImage(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, Rect(10, 10, 10, 20), g.N.LTPoint,
                  g.N.RTPoint, g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &zeroClient, &picture, g.Skin, g.W, g.H,
                  true);
  EXPECT_EQ(zeroClient.Width(), g.W);
}

TEST_F(KsFaces, OpenNinePartFaceHasNoRightSide) {
  Grid g;
  CreateSkinImageLeft(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, g.G.ClientRect, g.N.LTPoint,
                      g.N.RTPoint, g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &face, &picture, g.Skin, g.W, g.H, true);
  ExpectFace(face, g.W, g.H, [&](int x, int y) -> std::optional<TPoint> {
    int sx = x < 10 ? x : 10 + (x - 10) % 10;
    return Point(2 + sx, 3 + GridAxis(y, g.H));
  });
}

TEST_F(KsFaces, StretchedEdgesKeepTheirRowsAndColumns) {
  Grid g;
  TPoint nlt, nrt, nlb, nrb;
  TRect items;
  CreateSkinImageEx(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, true, true, true, true, true, g.H, g.W,
                    g.Skin, &picture, &face, g.G.ClientRect, nlt, nrt, nlb, nrb, items);
  EXPECT_EQ(nrb, g.N.RBPoint);
  EXPECT_EQ(items, g.N.ClientRect);
  for (int x = 10; x < 37; ++x) {
    TPixel top = PixelAt(face, x, 4), bottom = PixelAt(face, x, 30);
    EXPECT_EQ(top.G, 3 + 4);
    EXPECT_EQ(bottom.G, 3 + 24);
    EXPECT_GE(top.R, 12);
    EXPECT_LT(top.R, 22);
  }
  for (int y = 10; y < 26; ++y) {
    EXPECT_EQ(PixelAt(face, 3, y).R, 2 + 3);
    EXPECT_EQ(PixelAt(face, 40, y).R, 2 + 23);
  }
  // Corners and client are as in the tiled face.
  EXPECT_EQ(PixelAt(face, 0, 0), Coded(2, 3));
  EXPECT_EQ(PixelAt(face, 46, 35), Coded(31, 32));
  EXPECT_EQ(PixelAt(face, 21, 21), Coded(2 + 11, 3 + 11));
}

TEST_F(KsFaces, BorderImagesTileFromZeroUnderTheirCorners) {
  Grid g;
  TBitmap left, top, right, bottom;
  CreateSkinBorderImages(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, g.G.ClientRect, g.N.LTPoint,
                         g.N.RTPoint, g.N.LBPoint, g.N.RBPoint, g.N.ClientRect, &left, &top, &right, &bottom,
                         &picture, g.Skin, g.W, g.H, false, false, false, false);
  auto edge = [&](int x) { return x < 10 ? x : x >= 37 ? 20 + (x - 37) : 10 + x % 10; };
  ExpectFace(top, 47, 10, [&](int x, int y) -> std::optional<TPoint> { return Point(2 + edge(x), 3 + y); });
  ExpectFace(bottom, 47, 10, [&](int x, int y) -> std::optional<TPoint> { return Point(2 + edge(x), 23 + y); });
  ExpectFace(left, 10, 16, [&](int x, int y) -> std::optional<TPoint> { return Point(2 + x, 13 + y % 10); });
  ExpectFace(right, 10, 16, [&](int x, int y) -> std::optional<TPoint> { return Point(22 + x, 13 + y % 10); });
}

TEST_F(KsFaces, BorderSidesIgnoreAStaleTopImage) {
  Grid g;
  TBitmap left, top, right, bottom;
  top.SetSize(47, 5);  // left over from an earlier frame size
  TRect client = g.N.ClientRect;
  client.Top = 0;
  CreateSkinBorderImages(g.G.LTPoint, g.G.RTPoint, g.G.LBPoint, g.G.RBPoint, g.G.ClientRect, g.N.LTPoint,
                         g.N.RTPoint, g.N.LBPoint, g.N.RBPoint, client, &left, &top, &right, &bottom, &picture,
                         g.Skin, g.W, g.H, false, false, false, false);
  EXPECT_EQ(top.Height(), 5);  // not made, untouched
  EXPECT_EQ(left.Height(), 36 - 10);
  EXPECT_EQ(right.Height(), 36 - 10);
}

}  // namespace
