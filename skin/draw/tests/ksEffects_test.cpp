// Effects and morphs: the arithmetic examples as a table, and the wipes column by column.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "framework/core/bitmap.h"
#include "skin/draw/ksEffects.h"

namespace {

std::unique_ptr<TksEffectBmp> Solid(int w, int h, BYTE b, BYTE g, BYTE r) {
  auto bmp = std::make_unique<TksEffectBmp>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bmp->SetPixel(x, y, TksPixel{b, g, r});
  return bmp;
}

// Column x holds blue = x + base, so a wipe shows where each column came from.
std::unique_ptr<TksEffectBmp> Columns(int w, int h, int base) {
  auto bmp = std::make_unique<TksEffectBmp>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bmp->SetPixel(x, y, TksPixel{static_cast<BYTE>(x + base), 0, 0});
  return bmp;
}

TEST(KsEffects, ChannelArithmetic) {
  struct Case {
    const char* Name;
    BYTE In;
    std::function<void(TksEffectBmp&)> Apply;
    BYTE Want;
  } cases[] = {
      {"brightness 0.5 of 0", 0, [](TksEffectBmp& b) { b.Brightness(0.5); }, 128},
      {"brightness 0.5 of 255", 255, [](TksEffectBmp& b) { b.Brightness(0.5); }, 255},
      {"brightness above 1", 10, [](TksEffectBmp& b) { b.Brightness(3); }, 255},
      {"brightness below 0", 10, [](TksEffectBmp& b) { b.Brightness(-1); }, 10},
      {"darkness 0.5 of 255", 255, [](TksEffectBmp& b) { b.Darkness(0.5); }, 128},
      {"darkness 0.5 of 1", 1, [](TksEffectBmp& b) { b.Darkness(0.5); }, 0},
      {"darkness 0.3 of 100", 100, [](TksEffectBmp& b) { b.Darkness(0.3); }, 70},
      {"invert", 55, [](TksEffectBmp& b) { b.Invert(); }, 200},
      {"noise 0", 77, [](TksEffectBmp& b) { b.Noise(0); }, 77},
  };
  for (const auto& c : cases) {
    auto bmp = Solid(3, 2, c.In, c.In, c.In);
    c.Apply(*bmp);
    TksPixel p = bmp->GetPixel(2, 1);
    EXPECT_EQ(p.B, c.Want) << c.Name;
    EXPECT_EQ(p.R, c.Want) << c.Name;
  }
}

TEST(KsEffects, GrayScaleWeights) {
  struct Case {
    BYTE R, G, B, Want;
  } cases[] = {{255, 0, 0, 76}, {0, 255, 0, 150}, {0, 0, 255, 28}, {255, 255, 255, 255}};
  for (const auto& c : cases) {
    auto bmp = Solid(1, 1, c.B, c.G, c.R);
    bmp->GrayScale();
    TksPixel p = bmp->GetPixel(0, 0);
    EXPECT_EQ(p.R, c.Want);
    EXPECT_EQ(p.G, c.Want);
    EXPECT_EQ(p.B, c.Want);
  }
}

TEST(KsEffects, BlendRoundsHalvesToEven) {
  struct Case {
    double K;
    BYTE From, To, Want;
  } cases[] = {{0.5, 100, 201, 150}, {0.5, 100, 203, 152}, {-0.5, 100, 200, 100}, {2, 100, 200, 200}, {0, 9, 99, 9},
               {1, 9, 99, 99}};
  for (const auto& c : cases) {
    auto own = Solid(2, 2, c.From, c.From, c.From);
    auto target = Solid(2, 2, c.To, c.To, c.To);
    own->Morph(target.get(), c.K);
    EXPECT_EQ(own->GetPixel(1, 1).G, c.Want) << c.K << " " << int(c.From) << "->" << int(c.To);
  }
}

// Values whose double result falls on the other side of a half: the factor is a
// double, but 1 - K and the sums are not rounded to doubles.
TEST(KsEffects, ChannelsAreComputedInExtendedPrecision) {
  struct Case {
    const char* Name;
    std::function<BYTE()> Result;
    BYTE Want;
  } cases[] = {
      {"darkness 0.3 of 15", [] { auto b = Solid(1, 1, 15, 15, 15); b->Darkness(0.3); return b->GetPixel(0, 0).G; },
       11},
      {"darkness 0.3 of 255", [] { auto b = Solid(1, 1, 255, 255, 255); b->Darkness(0.3); return b->GetPixel(0, 0).G; },
       179},
      {"gray of 2, 196, 66", [] { auto b = Solid(1, 1, 66, 196, 2); b->GrayScale(); return b->GetPixel(0, 0).G; },
       123},
      {"gray of 53, 86, 26", [] { auto b = Solid(1, 1, 26, 86, 53); b->GrayScale(); return b->GetPixel(0, 0).G; },
       70},
      {"morph 0.3 from 15 to 0",
       [] {
         auto own = Solid(1, 1, 15, 15, 15), target = Solid(1, 1, 0, 0, 0);
         own->Morph(target.get(), 0.3);
         return own->GetPixel(0, 0).G;
       },
       11},
      {"left gradient, weight 1/6 from 0 to 255",
       [] {
         auto own = Solid(11, 1, 0, 0, 0), target = Solid(11, 1, 255, 255, 255);
         own->MorphLeftGrad(target.get(), 0.5);
         return own->GetPixel(1, 0).G;
       },
       213},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Result(), c.Want) << c.Name;
}

TEST(KsEffects, MorphsIgnoreATargetOfAnotherSize) {
  auto own = Solid(4, 4, 1, 2, 3);
  auto other = Solid(4, 5, 9, 9, 9);
  using Op = void (TksEffectBmp::*)(TksEffectBmp*, double);
  for (Op op : {&TksEffectBmp::Morph, &TksEffectBmp::MorphGrad, &TksEffectBmp::MorphLeftGrad,
                &TksEffectBmp::MorphRightGrad, &TksEffectBmp::MorphLeftSlide, &TksEffectBmp::MorphRightSlide,
                &TksEffectBmp::MorphPush}) {
    (own.get()->*op)(other.get(), 0.5);
    EXPECT_EQ(own->GetPixel(3, 3).B, 1);
  }
}

TEST(KsEffects, GradientBands) {
  auto own = Solid(100, 2, 10, 10, 10);
  auto target = Solid(100, 2, 200, 200, 200);
  own->MorphHGrad(target.get(), 0.99);
  EXPECT_EQ(own->GetPixel(0, 0).B, 10);
  for (int x = 1; x < 100; ++x) ASSERT_EQ(own->GetPixel(x, 1).B, 200) << x;

  auto tall = Solid(2, 100, 10, 10, 10);
  auto tallTarget = Solid(2, 100, 200, 200, 200);
  tall->MorphVGrad(tallTarget.get(), 0.99);
  for (int y = 0; y < 100; ++y) ASSERT_EQ(tall->GetPixel(1, y).B, 200) << y;
  // MorphGrad picks the vertical form for a tall bitmap.
  auto tall2 = Solid(2, 100, 10, 10, 10);
  tall2->MorphGrad(tallTarget.get(), 0.99);
  EXPECT_EQ(tall2->GetPixel(0, 0).B, 200);
}

TEST(KsEffects, SideGradients) {
  auto own = Solid(10, 1, 0, 0, 0);
  auto target = Solid(10, 1, 100, 100, 100);
  own->MorphLeftGrad(target.get(), 0.5);  // N = 5, S = 0.2
  BYTE want[10] = {100, 80, 60, 40, 20, 0, 0, 0, 0, 0};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(own->GetPixel(x, 0).B, want[x]) << x;

  auto own2 = Solid(10, 1, 0, 0, 0);
  own2->MorphRightGrad(target.get(), 0.5);  // N = 5, S = 0.2 from the right
  BYTE want2[10] = {0, 0, 0, 0, 0, 20, 40, 60, 80, 100};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(own2->GetPixel(x, 0).B, want2[x]) << x;
}

std::vector<int> Row(const TksEffectBmp& b) {
  std::vector<int> row;
  for (int x = 0; x < b.Width; ++x) row.push_back(b.GetPixel(x, 0).B);
  return row;
}

TEST(KsEffects, SlidesAndPush) {
  struct Case {
    const char* Name;
    void (TksEffectBmp::*Op)(TksEffectBmp*, double);
    double K;
    std::vector<int> Want;
  } cases[] = {
      {"left slide 0", &TksEffectBmp::MorphLeftSlide, 0, {104, 1, 2, 3, 4}},
      {"left slide 0.4", &TksEffectBmp::MorphLeftSlide, 0.4, {103, 104, 2, 3, 4}},
      {"left slide 1", &TksEffectBmp::MorphLeftSlide, 1, {101, 102, 103, 104, 4}},
      {"right slide 0.4", &TksEffectBmp::MorphRightSlide, 0.4, {0, 1, 2, 100, 101}},
      {"push 0", &TksEffectBmp::MorphPush, 0, {104, 0, 1, 2, 3}},
      {"push 0.4", &TksEffectBmp::MorphPush, 0.4, {102, 103, 104, 0, 1}},
      {"push 1", &TksEffectBmp::MorphPush, 1, {100, 101, 102, 103, 104}},
  };
  for (const auto& c : cases) {
    auto own = Columns(5, 2, 0);
    auto target = Columns(5, 2, 100);
    (own.get()->*c.Op)(target.get(), c.K);
    EXPECT_EQ(Row(*own), c.Want) << c.Name;
  }
  auto thin = Columns(1, 1, 0);
  auto thinTarget = Columns(1, 1, 100);
  thin->MorphLeftSlide(thinTarget.get(), 0);
  EXPECT_EQ(thin->GetPixel(0, 0).B, 0);
}

TEST(KsEffects, NoiseOffsetsAreSharedAndBounded) {
  auto bmp = Solid(40, 40, 100, 100, 100);
  bmp->Noise(50);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      TksPixel p = bmp->GetPixel(x, y);
      ASSERT_EQ(p.B, p.G);
      ASSERT_EQ(p.B, p.R);
      ASSERT_GE(p.B, 75);
      ASSERT_LE(p.B, 124);
    }
}

TEST(KsEffects, SplitBlurAveragesFourNeighboursAndStaysInside) {
  // 3 x 3, blue = 10 * (y * 3 + x).
  auto bmp = std::make_unique<TksEffectBmp>(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) bmp->SetPixel(x, y, TksPixel{static_cast<BYTE>(10 * (y * 3 + x)), 0, 0});
  bmp->SplitBlur(1);
  // Pixel 0,0: U = row 0, D = row 1, L = column 0, R = column 1: (0 + 30 + 10 + 40) / 4.
  EXPECT_EQ(bmp->GetPixel(0, 0).B, 20);
  bmp->SplitBlur(0);
  for (int amount : {3, 10, 1000}) {
    auto big = Solid(3, 3, 7, 7, 7);
    big->SplitBlur(amount);  // indices clamped: a uniform picture stays uniform
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(big->GetPixel(x, y).B, 7);
  }
}

TEST(KsEffects, FlipAndBitmapRoundTrip) {
  TBitmap source(3, 2);
  source.Canvas()->SetPixels(0, 0, RGB(10, 20, 30));
  source.Canvas()->SetPixels(2, 1, RGB(40, 50, 60));
  std::unique_ptr<TksEffectBmp> bmp(TksEffectBmp::CreateFromHBitmap(source.Handle()));
  ASSERT_EQ(bmp->Width, 3);
  ASSERT_EQ(bmp->Height, 2);
  EXPECT_EQ(bmp->Size, (3 * 3 + 3) * 2);
  EXPECT_EQ(bmp->GetPixel(0, 0).R, 10);
  EXPECT_EQ(bmp->GetPixel(2, 1).B, 60);

  TksEffectBmp flipped(3, 2);
  bmp->FlipVert(&flipped);
  EXPECT_EQ(flipped.GetPixel(0, 1).R, 10);
  EXPECT_EQ(flipped.GetPixel(2, 0).B, 60);
  TksEffectBmp small(3, 1);
  bmp->FlipVert(&small);  // too small: untouched
  EXPECT_EQ(small.GetPixel(0, 0).R, 0);

  TBitmap canvas(5, 5);
  flipped.Draw(canvas.Canvas()->Handle(), 1, 1);
  EXPECT_EQ(canvas.Canvas()->Pixels(1, 2), static_cast<TColor>(RGB(10, 20, 30)));
  EXPECT_EQ(canvas.Canvas()->Pixels(0, 0), static_cast<TColor>(RGB(255, 255, 255)));

  int r = 300, g = -4, b = 9;
  TksEffectBmp::CheckRGB(r, g, b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 9);
}

}  // namespace
