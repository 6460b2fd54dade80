// The skinned labels: the std label's choice of font and its measuring, the
// windowed label's width following its caption and its frames without a skin,
// and the status panel's glyph cells.
#include <gtest/gtest.h>

#include "skin/controls/ksSkinLabels.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinLabels : public SkinCtrls {
 protected:
  template <class T>
  T* NewControl() {
    auto* c = new T(form);
    c->SetParent(form);
    return c;
  }
  // What DrawText's measuring gives for the text in that font.
  static TRect Measure(TFont* font, const String& text) {
    TBitmap b(10, 10);
    b.Canvas()->Font()->Assign(font);
    RECT r{0, 0, 0, 0};
    DrawTextA(b.Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
    return TRect::FromRECT(r);
  }
  static int TextWidth(TFont* font, const String& text) {
    TBitmap b(10, 10);
    b.Canvas()->Font()->Assign(font);
    return b.Canvas()->TextWidth(text);
  }
  // The skin's font for a description with a font block.
  template <class D>
  void SkinFont(const char* section, TFont& f) {
    auto& d = dynamic_cast<D&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex(section))]);
    f.SetName(d.FontName);
    f.SetHeight(d.FontHeight);
    f.SetStyle(d.FontStyle);
    f.SetColor(d.FontColor);
  }
};

// ---- std label ------------------------------------------------------------------

enum Source { kDefault, kOwn, kSkin };

struct FontCase {
  bool skinned, useSkinFont, enabled;
  Source face, color;
};

TEST_F(SkinLabels, StdLabelChoosesItsFont) {
  // Enabled, the label shows its own font whatever UseSkinFont says.
  const FontCase cases[] = {
      {false, true, true, kOwn, kOwn},          {false, false, true, kOwn, kOwn},
      {true, true, true, kOwn, kOwn},           {true, false, true, kOwn, kOwn},
      {false, true, false, kDefault, kDefault}, {false, false, false, kOwn, kOwn},
      {true, true, false, kSkin, kSkin},       {true, false, false, kOwn, kSkin},
  };
  TFont skin;
  SkinFont<TksDataSkinStdLabelControl>("stdlabel", skin);
  auto* l = NewControl<TksSkinStdLabel>();
  l->Font()->SetName("Courier New");
  l->Font()->SetHeight(30);
  l->Font()->SetColor(clRed);
  l->DefaultFont()->SetName("Times New Roman");
  l->DefaultFont()->SetHeight(20);
  l->DefaultFont()->SetColor(clBlue);
  ASSERT_NE(skin.Height(), 30);
  ASSERT_NE(skin.Height(), 20);
  for (const auto& k : cases) {
    l->SetSkinData(k.skinned ? &data : nullptr);
    l->UseSkinFont = k.useSkinFont;
    l->SetEnabled(k.enabled);
    l->GetSkinData();
    TFont f;
    l->AssignTextFont(&f);
    const TFont* fonts[] = {l->DefaultFont(), l->Font(), &skin};
    EXPECT_EQ(f.Name(), fonts[k.face]->Name()) << k.skinned << k.useSkinFont << k.enabled;
    EXPECT_EQ(f.Height(), fonts[k.face]->Height()) << k.skinned << k.useSkinFont << k.enabled;
    EXPECT_EQ(f.Color(), fonts[k.color]->Color()) << k.skinned << k.useSkinFont << k.enabled;
  }
}

TEST_F(SkinLabels, StdLabelMeasuresAnEmptyCaptionAsABlank) {
  auto* l = NewControl<TksSkinStdLabel>();
  l->DefaultFont()->SetName("Times New Roman");
  l->DefaultFont()->SetHeight(20);
  ASSERT_TRUE(l->AutoSize());
  l->SetCaption("x");
  l->SetCaption("");
  TFont f;
  l->AssignTextFont(&f);
  const TRect blank = Measure(&f, " ");
  EXPECT_EQ(l->Height(), RectHeight(blank));
  EXPECT_EQ(l->Width(), RectWidth(blank));
  EXPECT_GT(l->Width(), 0);

  // A lone accelerator sign would measure as nothing.
  l->SetCaption("&");
  EXPECT_EQ(l->Height(), RectHeight(blank));
  EXPECT_GT(l->Width(), 0);

  // Disabled, the label is in the skin's font once there is a skin: it measures
  // itself again.
  l->SetCaption("");
  l->SetEnabled(false);
  l->SetSkinData(&data);
  TFont skinned;
  l->AssignTextFont(&skinned);
  ASSERT_NE(skinned.Height(), f.Height());
  EXPECT_EQ(l->Height(), RectHeight(Measure(&skinned, " ")));
}

// How many pixels of the label's area on the painted form have exactly that colour.
int CountInLabel(TForm* form, TControl* l, TColor color) {
  TBitmap shot(form->Width(), form->Height());
  form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0);
  int n = 0;
  for (int y = l->Top(); y < l->Top() + l->Height(); ++y)
    for (int x = l->Left(); x < l->Left() + l->Width(); ++x)
      if (static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)) == Rgb(color)) ++n;
  return n;
}

TEST_F(SkinLabels, StdLabelDrawsInTheChosenFontOrEmbossed) {
  auto* l = NewControl<TksSkinStdLabel>();
  l->SetBounds(10, 10, 10, 10);
  l->DefaultFont()->SetHeight(30);
  l->DefaultFont()->SetStyle(fsBold);
  l->DefaultFont()->SetColor(clBlue);
  l->Font()->SetColor(clRed);
  l->SetCaption("WWW");
  // Enabled: its own font, with or without UseSkinFont, skinned or not.
  for (TksSkinData* skin : {static_cast<TksSkinData*>(nullptr), &data})
    for (bool useSkinFont : {true, false}) {
      l->SetSkinData(skin);
      l->UseSkinFont = useSkinFont;
      EXPECT_GT(CountInLabel(form, l, clRed), 0) << (skin != nullptr) << useSkinFont;
      EXPECT_EQ(CountInLabel(form, l, clBlue), 0) << (skin != nullptr) << useSkinFont;
    }
  l->SetSkinData(nullptr);
  l->UseSkinFont = true;
  l->SetEnabled(false);
  EXPECT_EQ(CountInLabel(form, l, clBlue), 0);
  EXPECT_GT(CountInLabel(form, l, clBtnShadow), 0);
  EXPECT_GT(CountInLabel(form, l, clBtnHighlight), 0);
}

// ---- label ----------------------------------------------------------------------

TEST_F(SkinLabels, AutoSizeWidthFollowsTheCaption) {
  auto* l = NewControl<TksSkinLabel>();
  EXPECT_EQ(l->Width(), 75);
  EXPECT_EQ(l->Height(), 21);
  l->SetCaption("Hello world, this is long");
  EXPECT_EQ(l->Width(), 75);  // not without AutoSize
  l->SetAutoSize(true);
  EXPECT_EQ(l->Width(), TextWidth(l->DefaultFont(), "Hello world, this is long") + 4);
  l->SetCaption("Hi");
  EXPECT_EQ(l->Width(), TextWidth(l->DefaultFont(), "Hi") + 4);

  // Skinned, the caption fills the client rectangle of the resized face.
  TFont skin;
  SkinFont<TksDataSkinLabelControl>("label", skin);
  l->SetSkinData(&data);
  ASSERT_EQ(l->ResizeMode, 1);
  l->SetCaption("A caption wider than the face");
  const int tw = TextWidth(&skin, "A caption wider than the face");
  EXPECT_EQ(RectWidth(l->NewClientRect), tw);
  EXPECT_EQ(l->Width(), tw + RectWidth(l->SkinRect) - RectWidth(l->SkinClientRect));
  // Made narrower, it grows back, and its client rectangle grows with it.
  l->SetBounds(l->Left(), l->Top(), 20, l->Height());
  EXPECT_EQ(l->Width(), tw + RectWidth(l->SkinRect) - RectWidth(l->SkinClientRect));
  EXPECT_EQ(RectWidth(l->NewClientRect), tw);

  // Filling its parent across, it keeps its width.
  l->SetAlign(alClient);
  const int filled = l->Width();
  l->SetCaption("x");
  EXPECT_EQ(l->Width(), filled);
}

TEST_F(SkinLabels, FixedSizeSkinTurnsAutoSizeOff) {
  auto& d = dynamic_cast<TksDataSkinLabelControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("label"))]);
  d.LTPoint = d.RTPoint = d.LBPoint = d.RBPoint = TPoint{0, 0};
  auto* l = NewControl<TksSkinLabel>();
  l->SetAutoSize(true);
  l->SetSkinData(&data);
  EXPECT_EQ(l->ResizeMode, 0);
  EXPECT_FALSE(l->AutoSize());
  EXPECT_EQ(l->Width(), RectWidth(d.SkinRect));
}

struct BorderCase {
  TksSkinBorderStyle style;
  TColor topLeft, bottomRight;
};

TEST_F(SkinLabels, BorderStylesWithoutSkin) {
  const BorderCase cases[] = {
      {TksSkinBorderStyle::bvFrame, clBtnShadow, clBtnShadow},
      {TksSkinBorderStyle::bvRaised, clBtnHighlight, clBtnShadow},
      {TksSkinBorderStyle::bvLowered, clBtnShadow, clBtnHighlight},
      {TksSkinBorderStyle::bvNone, clBtnFace, clBtnFace},
  };
  auto* l = NewControl<TksSkinLabel>();
  EXPECT_EQ(l->BorderStyle(), TksSkinBorderStyle::bvFrame);
  TBitmap shot;
  for (const auto& k : cases) {
    l->SetBorderStyle(k.style);
    PaintInto(*l, shot);
    const int w = l->Width(), h = l->Height();
    auto px = [&](int x, int y) { return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)); };
    EXPECT_EQ(px(0, h / 2), Rgb(k.topLeft)) << static_cast<int>(k.style);
    EXPECT_EQ(px(w / 2, 0), Rgb(k.topLeft)) << static_cast<int>(k.style);
    EXPECT_EQ(px(w - 1, h / 2), Rgb(k.bottomRight)) << static_cast<int>(k.style);
    EXPECT_EQ(px(w / 2, h - 1), Rgb(k.bottomRight)) << static_cast<int>(k.style);
    EXPECT_EQ(px(2, 2), Rgb(clBtnFace)) << static_cast<int>(k.style);
  }
}

TEST_F(SkinLabels, SkinnedLabelShowsItsFace) {
  auto* l = NewControl<TksSkinLabel>();
  l->SetSkinData(&data);
  auto& d = dynamic_cast<TksDataSkinLabelControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("label"))]);
  EXPECT_EQ(PaintAndSample(*l, 0, 0), SkinPixel(d.SkinRect.Left, d.SkinRect.Top));
  EXPECT_EQ(PaintAndSample(*l, l->Width() - 1, l->Height() - 1),
            SkinPixel(d.SkinRect.Right - 1, d.SkinRect.Bottom - 1));
}

// ---- status panel ---------------------------------------------------------------

TEST_F(SkinLabels, StatusPanelGlyphCountIsOneOrTwo) {
  const int cases[][2] = {{-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 2}, {100, 2}};
  auto* p = NewControl<TksSkinStatusPanel>();
  EXPECT_EQ(p->Width(), 120);
  EXPECT_EQ(p->NumGlyphs(), 1);
  for (const auto& k : cases) {
    p->SetNumGlyphs(k[0]);
    EXPECT_EQ(p->NumGlyphs(), k[1]) << k[0];
  }
}

class StatusPanelGlyph : public SkinLabels {
 protected:
  // Two 8x8 cells, red then green; each cell's bottom-left pixel is its see-through colour.
  void SetUp() override {
    SkinLabels::SetUp();
    strip.SetSize(16, 8);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(TRect{0, 0, 8, 8});
    strip.Canvas()->Brush()->SetColor(clLime);
    strip.Canvas()->FillRect(TRect{8, 0, 16, 8});
    strip.Canvas()->SetPixels(0, 7, clWhite);
    strip.Canvas()->SetPixels(8, 7, clWhite);
    panel = NewControl<TksSkinStatusPanel>();
    panel->SetGlyph(&strip);
    panel->SetNumGlyphs(2);
  }
  // The middle of the glyph's cell when drawn at x, y.
  COLORREF GlyphMiddle(int x, int y) { return PaintAndSample(*panel, x + 4, y + 3); }

  TBitmap strip;
  TksSkinStatusPanel* panel = nullptr;
};

TEST_F(StatusPanelGlyph, CellFollowsEnabledWithoutSkin) {
  const int y = panel->Height() / 2 - 4;
  EXPECT_EQ(GlyphMiddle(3, y), Rgb(clRed));
  panel->SetEnabled(false);
  EXPECT_EQ(GlyphMiddle(3, y), Rgb(clLime));
  // A strip of one image has no disabled cell: nothing is drawn.
  panel->SetNumGlyphs(1);
  EXPECT_EQ(GlyphMiddle(3, y), Rgb(clBtnFace));
  panel->SetEnabled(true);
  EXPECT_EQ(GlyphMiddle(3, y), Rgb(clRed));
}

TEST_F(StatusPanelGlyph, CellFollowsEnabledWithSkin) {
  panel->SetSkinData(&data);
  ASSERT_NE(panel->ControlIndex(), -1);
  const TRect r = panel->NewClientRect;
  const int y = r.Top + RectHeight(r) / 2 - 4;
  EXPECT_EQ(GlyphMiddle(r.Left, y), Rgb(clRed));
  panel->SetEnabled(false);
  EXPECT_EQ(GlyphMiddle(r.Left, y), Rgb(clLime));
}

TEST_F(StatusPanelGlyph, AutoSizeMakesRoomForTheGlyph) {
  panel->SetCaption("Ready");
  panel->SetAutoSize(true);
  EXPECT_EQ(panel->Width(), TextWidth(panel->DefaultFont(), "Ready") + 8 + 3 + 4);
}

}  // namespace
