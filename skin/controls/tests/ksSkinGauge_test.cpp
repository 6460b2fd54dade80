// The skinned gauge: bar rectangle and percentage, the value kept in range, the
// bar composed from the skin's strip (flat and upright), its text, the look
// without a skin and a stretched face without a region.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "skin/controls/ksSkinGauge.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinGauge : public SkinCtrls {
 protected:
  TksSkinGauge* NewGauge(int w = 100, int h = 20) {
    auto* g = new TksSkinGauge(form);
    g->SetParent(form);
    g->SetBounds(5, 5, w, h);
    return g;
  }
  TksDataSkinGaugeControl& Description(const char* name) {
    return dynamic_cast<TksDataSkinGaugeControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex(name))]);
  }
  // Gives every column (flat) or row (upright) of the strip a colour of its own, so
  // each copied pixel tells where it came from.
  void PaintStripDistinct(const TRect& strip, bool byRow) {
    TCanvas* c = data.ActivePicture(0)->Canvas();
    for (int y = strip.Top; y < strip.Bottom; ++y)
      for (int x = strip.Left; x < strip.Right; ++x) {
        const int i = byRow ? y - strip.Top : x - strip.Left;
        c->SetPixels(x, y, static_cast<TColor>(RGB((i * 37) % 256, 255 - (i * 3) % 256, 40 + i)));
      }
  }
  static int Differences(TBitmap& a, TBitmap& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y)) ++n;
    return n;
  }
};

class CountingGauge : public TksSkinGauge {
 public:
  using TksSkinGauge::TksSkinGauge;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TksSkinGauge::Paint();
  }
};

TEST_F(SkinGauge, SettersRepaintAtOnceAndOnlyOnChangedValues) {
  form->Show();
  auto* g = new CountingGauge(form);
  g->SetParent(form);
  g->SetBounds(5, 5, 100, 20);
  g->Repaint();
  ASSERT_GT(g->paints, 0);  // painted synchronously, no message loop needed
  g->paints = 0;
  g->SetValue(50);
  EXPECT_EQ(g->paints, 0);
  g->SetValue(60);
  EXPECT_EQ(g->paints, 1);
  g->SetValue(1000);  // stored as 100
  EXPECT_EQ(g->paints, 2);
  g->SetValue(100);
  EXPECT_EQ(g->paints, 2);
  g->SetProgressText("Erasing");
  g->SetProgressText("Erasing");
  EXPECT_EQ(g->paints, 4);
  g->SetMaxValue(80);
  EXPECT_EQ(g->Value(), 80);
  EXPECT_EQ(g->paints, 5);
  form->Hide();
}

// A scan moves its gauge thousands of times: a move that changes no pixel of the bar and
// no digit paints nothing, and a gauge told so leaves its paint to the message loop.
TEST_F(SkinGauge, OnlyMovesThatShowArePaintedAndPaintOnPumpWaitsForTheLoop) {
  form->Show();
  auto* g = new CountingGauge(form);
  g->SetParent(form);
  g->SetBounds(5, 5, 100, 20);
  g->SetMaxValue(100000);
  g->SetValue(0);
  g->Repaint();
  g->paints = 0;
  g->SetValue(10);
  EXPECT_EQ(g->paints, 0) << "no pixel of the bar moved";
  EXPECT_EQ(g->Value(), 10);
  g->SetShowPercent(true);
  g->paints = 0;
  g->SetValue(20);
  EXPECT_EQ(g->paints, 0) << "still 0 %";
  g->SetValue(50000);
  EXPECT_EQ(g->paints, 1);
  g->PaintOnPump = true;
  g->SetValue(60000);
  EXPECT_EQ(g->paints, 1) << "not painted at once";
  EXPECT_TRUE(GetUpdateRect(g->Handle(), nullptr, FALSE));
  UpdateWindow(g->Handle());
  EXPECT_EQ(g->paints, 2) << "the loop's paint shows the new value";
  EXPECT_EQ(g->Percent(), 60);
  form->Hide();
}

struct BarCase {
  int min, max, value;
  bool vertical;
  TRect area, bar;
  int percent;
};

TEST_F(SkinGauge, BarRectangleAndPercentFollowTheValue) {
  const BarCase cases[] = {
      {0, 100, 0, false, {0, 0, 100, 10}, {0, 0, 0, 10}, 0},
      {0, 100, 100, false, {0, 0, 100, 10}, {0, 0, 100, 10}, 100},
      {0, 3, 1, false, {0, 0, 100, 10}, {0, 0, 33, 10}, 33},
      {0, 8, 1, false, {0, 0, 100, 10}, {0, 0, 12, 10}, 12},   // 12.5 goes to the even 12
      {0, 8, 3, false, {10, 0, 30, 10}, {10, 0, 18, 10}, 38},  // 7.5 to 8, 37.5 to 38
      {5, 5, 5, false, {0, 0, 100, 10}, {0, 0, 0, 10}, 0},     // no range: empty, no division
      {-50, 50, 0, false, {0, 0, 100, 10}, {0, 0, 50, 10}, 50},
      {0, 100, 25, true, {0, 0, 10, 100}, {0, 75, 10, 100}, 25},
  };
  TksSkinGauge* g = NewGauge();
  for (const auto& k : cases) {
    g->SetMaxValue(1000);
    g->SetMinValue(k.min);
    g->SetMaxValue(k.max);
    g->SetValue(k.value);
    g->SetVertical(k.vertical);
    EXPECT_EQ(g->CalcProgressRect(k.area), k.bar) << k.min << ".." << k.max << " at " << k.value;
    EXPECT_EQ(g->Percent(), k.percent) << k.min << ".." << k.max << " at " << k.value;
  }
}

struct RangeStep {
  enum { Min, Max, Value } what;
  int v;
};

TEST_F(SkinGauge, ValueStaysInRangeWhateverTheOrderOfSetters) {
  const std::vector<std::vector<RangeStep>> orders = {
      {{RangeStep::Min, 200}, {RangeStep::Max, 300}},
      {{RangeStep::Max, 300}, {RangeStep::Min, 200}},
      {{RangeStep::Max, -10}, {RangeStep::Min, -50}},
      {{RangeStep::Min, -50}, {RangeStep::Max, -10}},
      {{RangeStep::Value, 1000}},
      {{RangeStep::Value, -5}},
      {{RangeStep::Min, 60}, {RangeStep::Value, 10}},
  };
  for (const auto& steps : orders) {
    TksSkinGauge* g = NewGauge();
    for (const auto& s : steps) {
      if (s.what == RangeStep::Min) g->SetMinValue(s.v);
      if (s.what == RangeStep::Max) g->SetMaxValue(s.v);
      if (s.what == RangeStep::Value) g->SetValue(s.v);
      // Even while the two ends are crossed the bar never leaves its area.
      const TRect bar = g->CalcProgressRect(TRect{0, 0, 100, 10});
      EXPECT_GE(bar.Right, 0);
      EXPECT_LE(bar.Right, 100);
    }
    EXPECT_GE(g->Value(), g->MinValue()) << steps.size() << " steps from " << steps[0].v;
    EXPECT_LE(g->Value(), g->MaxValue()) << steps.size() << " steps from " << steps[0].v;
  }
}

TEST_F(SkinGauge, TextIsProgressTextThenPercent) {
  TksSkinGauge* g = NewGauge();
  g->SetProgressText("Erasing");
  g->SetValue(40);
  EXPECT_EQ(g->GaugeText(), "");
  g->SetShowPercent(true);
  EXPECT_EQ(g->GaugeText(), "40%");
  g->SetShowProgressText(true);
  EXPECT_EQ(g->GaugeText(), "Erasing40%");
  g->SetShowPercent(false);
  EXPECT_EQ(g->GaugeText(), "Erasing");
}

TEST_F(SkinGauge, LookWithoutSkin) {
  TksSkinGauge* g = NewGauge(100, 20);
  TBitmap shot;
  PaintInto(*g, shot);
  auto px = [&](int x, int y) { return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)); };
  const COLORREF bar = Rgb(static_cast<TColor>(13811126));
  EXPECT_EQ(px(0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(px(99, 19), Rgb(clBtnShadow));
  // Value 50 of 0..100 fills 49 of the 98 inner columns.
  EXPECT_EQ(px(1, 10), bar);
  EXPECT_EQ(px(49, 10), bar);
  EXPECT_EQ(px(50, 10), Rgb(clWindow));
  EXPECT_EQ(px(98, 18), Rgb(clWindow));
  g->SetValue(0);
  PaintInto(*g, shot);
  EXPECT_EQ(px(1, 10), Rgb(clWindow));

  // The percentage is drawn over it in the default font.
  TBitmap plain, withText;
  PaintInto(*g, plain);
  g->SetShowPercent(true);
  PaintInto(*g, withText);
  EXPECT_GT(Differences(plain, withText), 0);
}

// Which strip column (flat) or row (upright) each pixel of the bar must come from.
std::vector<int> ExpectedSources(int barLength, int stripLength, int bo, int eo) {
  std::vector<int> src(static_cast<size_t>(barLength), -1);
  if (barLength - bo - eo > 0 && stripLength - bo - eo > 0) {
    const int tile = stripLength - bo - eo;
    for (int i = 0; i < barLength - bo - eo; ++i) src[static_cast<size_t>(bo + i)] = bo + i % tile;
  }
  if (barLength >= bo + eo) {
    for (int i = 0; i < bo; ++i) src[static_cast<size_t>(i)] = i;
    for (int i = 0; i < eo; ++i) src[static_cast<size_t>(barLength - eo + i)] = stripLength - eo + i;
  }
  return src;
}

TEST_F(SkinGauge, FlatBarIsStartPartTiledMiddleAndEndPart) {
  TksDataSkinGaugeControl& d = Description("gauge");
  PaintStripDistinct(d.ProgressRect, false);
  TksSkinGauge* g = NewGauge(100, 20);
  g->SetSkinData(&data);
  g->SetValue(100);
  ASSERT_EQ(g->ResizeMode, 1);
  const TRect r = g->NewProgressArea;
  ASSERT_EQ(RectWidth(r), RectWidth(d.ProgressArea) + 100 - RectWidth(d.SkinRect));
  const int stripWidth = RectWidth(d.ProgressRect);
  ASSERT_NE(SkinPixel(d.ProgressRect.Left + 2, d.ProgressRect.Top + 3),
            SkinPixel(d.ProgressRect.Left + 3, d.ProgressRect.Top + 3));
  // The middle is shorter than the bar's, so it is repeated and its last copy cut.
  ASSERT_GT(RectWidth(r) - d.BeginOffset - d.EndOffset, stripWidth - d.BeginOffset - d.EndOffset);
  TBitmap shot;
  PaintInto(*g, shot);
  const int y = r.Top + RectHeight(r) / 2;
  const std::vector<int> src = ExpectedSources(RectWidth(r), stripWidth, d.BeginOffset, d.EndOffset);
  for (int i = 0; i < RectWidth(r); ++i)
    ASSERT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(r.Left + i, y)),
              SkinPixel(d.ProgressRect.Left + src[static_cast<size_t>(i)], d.ProgressRect.Top + 3))
        << "bar column " << i;
  // Beyond the bar the face shows.
  g->SetValue(50);
  PaintInto(*g, shot);
  const TRect half = g->CalcProgressRect(r);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(half.Right - 1, y)),
            SkinPixel(d.ProgressRect.Right - 1, d.ProgressRect.Top + 3));
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(half.Right + 2, y)),
            SkinPixel(d.SkinRect.Left + d.LTPoint.X + 1, d.SkinRect.Top + d.LTPoint.Y + 1));
}

TEST_F(SkinGauge, ShortBarsShowOnlyWholeEndParts) {
  TksDataSkinGaugeControl& d = Description("gauge");
  PaintStripDistinct(d.ProgressRect, false);
  d.ProgressArea = TRect{1, 1, 41, 15};  // a 40-pixel bar at 100 %
  d.BeginOffset = 2;
  d.EndOffset = 2;
  TksSkinGauge* g = NewGauge(RectWidth(d.SkinRect), 20);
  g->SetSkinData(&data);
  const int y = 8;
  auto pixel = [&](TBitmap& b, int x) { return static_cast<COLORREF>(b.Canvas()->Pixels(x, y)); };
  TBitmap empty, shot;
  g->SetValue(0);
  PaintInto(*g, empty);
  // 3 of 40 pixels: shorter than both end parts together, nothing is drawn.
  g->SetMaxValue(40);
  g->SetValue(3);
  PaintInto(*g, shot);
  EXPECT_EQ(Differences(empty, shot), 0);
  // Exactly both end parts wide: the two ends, no middle.
  g->SetValue(4);
  PaintInto(*g, shot);
  EXPECT_EQ(pixel(shot, 1), SkinPixel(d.ProgressRect.Left, d.ProgressRect.Top + 3));
  EXPECT_EQ(pixel(shot, 2), SkinPixel(d.ProgressRect.Left + 1, d.ProgressRect.Top + 3));
  EXPECT_EQ(pixel(shot, 3), SkinPixel(d.ProgressRect.Right - 2, d.ProgressRect.Top + 3));
  EXPECT_EQ(pixel(shot, 4), SkinPixel(d.ProgressRect.Right - 1, d.ProgressRect.Top + 3));
  EXPECT_EQ(pixel(shot, 5), pixel(empty, 5));
}

TEST_F(SkinGauge, CutTileKeepsItsFirstColumns) {
  TksDataSkinGaugeControl& d = Description("gauge");
  PaintStripDistinct(d.ProgressRect, false);
  // A 7-pixel middle filling 20 pixels: copies of 7, 7 and 6 columns.
  d.ProgressRect.Right = d.ProgressRect.Left + 11;
  d.BeginOffset = 2;
  d.EndOffset = 2;
  d.ProgressArea = TRect{1, 1, 25, 15};
  TksSkinGauge* g = NewGauge(RectWidth(d.SkinRect), 20);
  g->SetSkinData(&data);
  g->SetValue(100);
  TBitmap shot;
  PaintInto(*g, shot);
  const std::vector<int> src = ExpectedSources(24, 11, 2, 2);
  for (int i = 0; i < 24; ++i)
    ASSERT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(1 + i, 8)),
              SkinPixel(d.ProgressRect.Left + src[static_cast<size_t>(i)], d.ProgressRect.Top + 3))
        << "bar column " << i;
  EXPECT_EQ(src[2 + 19], 2 + 5);  // the last copy stops after its sixth column
}

TEST_F(SkinGauge, StripWithoutMiddleKeepsEndPartsAndText) {
  TksDataSkinGaugeControl& d = Description("gauge");
  PaintStripDistinct(d.ProgressRect, false);
  for (int stripWidth : {4, 3, 0}) {  // empty middle, a middle of -1, no strip at all
    d.ProgressRect.Right = d.ProgressRect.Left + stripWidth;
    TksSkinGauge* g = NewGauge(100, 20);
    g->SetSkinData(&data);
    g->SetValue(100);
    const TRect r = g->NewProgressArea;
    const int y = r.Top + RectHeight(r) / 2;
    TBitmap plain, withText;
    PaintInto(*g, plain);  // must end: nothing to repeat is no endless loop
    if (stripWidth == 4) {
      EXPECT_EQ(static_cast<COLORREF>(plain.Canvas()->Pixels(r.Left, y)),
                SkinPixel(d.ProgressRect.Left, d.ProgressRect.Top + 3));
      EXPECT_EQ(static_cast<COLORREF>(plain.Canvas()->Pixels(r.Right - 1, y)),
                SkinPixel(d.ProgressRect.Left + 3, d.ProgressRect.Top + 3));
      // The middle of the bar shows the face.
      EXPECT_EQ(static_cast<COLORREF>(plain.Canvas()->Pixels(r.Left + 10, y)),
                SkinPixel(d.SkinRect.Left + d.LTPoint.X + 1, d.SkinRect.Top + d.LTPoint.Y + 1));
    }
    g->SetShowPercent(true);
    PaintInto(*g, withText);
    EXPECT_GT(Differences(plain, withText), 0) << "strip " << stripWidth;
  }
}

TEST_F(SkinGauge, UprightBarFillsFromTheBottom) {
  TksDataSkinGaugeControl& d = Description("vgauge");
  ASSERT_TRUE(d.Vertical);
  PaintStripDistinct(d.ProgressRect, true);
  TksSkinGauge* g = NewGauge(RectWidth(d.SkinRect), 100);
  g->SetSkinDataName("vgauge");
  g->SetSkinData(&data);
  EXPECT_TRUE(g->Vertical());  // taken from the skin
  g->SetValue(100);
  const TRect r = g->NewProgressArea;
  ASSERT_EQ(RectHeight(r), RectHeight(d.ProgressArea) + 100 - RectHeight(d.SkinRect));
  TBitmap shot;
  PaintInto(*g, shot);
  const int x = r.Left + RectWidth(r) / 2;
  const int stripHeight = RectHeight(d.ProgressRect);
  const int middle = stripHeight - d.BeginOffset - d.EndOffset;
  const int barMiddle = RectHeight(r) - d.BeginOffset - d.EndOffset;
  auto expected = [&](int row) {  // strip row for a bar row counted from the top
    if (row < d.BeginOffset) return row;
    if (row >= RectHeight(r) - d.EndOffset) return stripHeight - (RectHeight(r) - row);
    const int fromBottom = barMiddle - 1 - (row - d.BeginOffset);  // tiles are laid bottom up
    return d.BeginOffset + middle - 1 - fromBottom % middle;
  };
  for (int row = 0; row < RectHeight(r); ++row)
    ASSERT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(x, r.Top + row)),
              SkinPixel(d.ProgressRect.Left + 3, d.ProgressRect.Top + expected(row)))
        << "bar row " << row;

  g->SetValue(50);
  const TRect half = g->CalcProgressRect(r);
  EXPECT_EQ(half.Bottom, r.Bottom);
  EXPECT_EQ(half.Top, r.Bottom - RectHeight(r) / 2);
  PaintInto(*g, shot);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(x, r.Bottom - 1)),
            SkinPixel(d.ProgressRect.Left + 3, d.ProgressRect.Bottom - 1));
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(x, half.Top - 2)),
            SkinPixel(d.SkinRect.Left + d.LTPoint.X + 1, d.SkinRect.Top + d.LTPoint.Y + 1));

  // Upright text: taller than wide.
  TBitmap plain, withText;
  g->SetValue(0);
  PaintInto(*g, plain);
  g->SetShowPercent(true);
  PaintInto(*g, withText);
  int top = shot.Height(), bottom = -1, left = shot.Width(), right = -1;
  for (int y = 0; y < plain.Height(); ++y)
    for (int xx = 0; xx < plain.Width(); ++xx)
      if (plain.Canvas()->Pixels(xx, y) != withText.Canvas()->Pixels(xx, y)) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        left = std::min(left, xx);
        right = std::max(right, xx);
      }
  ASSERT_GE(bottom, 0);
  EXPECT_GT(bottom - top, right - left);
}

TEST_F(SkinGauge, StretchedFaceWithoutRegion) {
  TksDataSkinGaugeControl& d = Description("gauge");
  PaintStripDistinct(d.ProgressRect, false);
  // A fixed-size face with a mask of its own.
  d.LTPoint = d.RTPoint = d.LBPoint = d.RBPoint = TPoint{0, 0};
  auto mask = std::make_unique<TBitmap>(RectWidth(d.SkinRect), RectHeight(d.SkinRect));
  mask->Canvas()->Brush()->SetColor(clBlack);
  mask->Canvas()->FillRect(TRect{0, 0, mask->Width(), mask->Height()});
  data.ActivePictures.push_back(std::move(mask));
  d.MaskPictureIndex = static_cast<int>(data.ActivePictures.size()) - 1;

  TksSkinGauge* fitted = NewGauge(128, 32);
  fitted->HandleNeeded();
  fitted->SetSkinData(&data);
  EXPECT_EQ(fitted->Width(), RectWidth(d.SkinRect));
  EXPECT_EQ(fitted->Height(), RectHeight(d.SkinRect));
  EXPECT_NE(fitted->Rgn(), nullptr);

  TksSkinGauge* g = NewGauge(2 * RectWidth(d.SkinRect), 2 * RectHeight(d.SkinRect));
  g->UseSkinSize = false;
  g->HandleNeeded();
  g->SetSkinData(&data);
  EXPECT_EQ(g->Width(), 2 * RectWidth(d.SkinRect));
  EXPECT_EQ(g->Height(), 2 * RectHeight(d.SkinRect));
  EXPECT_EQ(g->MaskPicture, nullptr);
  EXPECT_EQ(g->Rgn(), nullptr);
  g->SetValue(100);
  TBitmap shot;
  PaintInto(*g, shot);
  // Every face pixel is doubled: strip columns of the bar and the frame corner.
  const TRect r = d.ProgressArea;
  const int y = 2 * (r.Top + RectHeight(r) / 2) + 1;
  for (int i : {0, 1, 5, 20}) {
    const COLORREF want = SkinPixel(d.ProgressRect.Left + i, d.ProgressRect.Top + 3);
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(2 * (r.Left + i), y)), want) << i;
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(2 * (r.Left + i) + 1, y)), want) << i;
  }
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(1, 1)), SkinPixel(d.SkinRect.Left, d.SkinRect.Top));

  // The text is drawn after stretching: no taller than the font makes it.
  g->SetValue(0);
  TBitmap plain, withText;
  PaintInto(*g, plain);
  g->SetShowPercent(true);
  PaintInto(*g, withText);
  int top = withText.Height(), bottom = -1;
  for (int yy = 0; yy < plain.Height(); ++yy)
    for (int x = 0; x < plain.Width(); ++x)
      if (plain.Canvas()->Pixels(x, yy) != withText.Canvas()->Pixels(x, yy)) {
        top = std::min(top, yy);
        bottom = std::max(bottom, yy);
      }
  ASSERT_GE(bottom, 0);
  TBitmap probe(10, 10);
  probe.Canvas()->Font()->SetName(d.FontName);
  probe.Canvas()->Font()->SetHeight(d.FontHeight);
  EXPECT_LE(bottom - top + 1, probe.Canvas()->TextHeight("0%"));
}

}  // namespace
