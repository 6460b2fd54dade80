// The skinned panel and group box: the area left to aligned children, both looks
// painted into memory, check mode, and rolling up and down with children that
// come and go meanwhile.
#include <gtest/gtest.h>

#include "skin/data/ksSkinDataControls.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksSkinPanel.h"

namespace {

using namespace skintest;
using Border = TksSkinBorderStyle;

class SkinPanel : public SkinCtrls {
 protected:
  template <class T = TksSkinPanel>
  T* NewPanel(int w, int h) {
    auto* p = new T(form);
    p->SetParent(form);
    p->SetBounds(5, 5, w, h);
    return p;
  }
  // A plain unskinned child that fills what the panel leaves to aligned children.
  TksSkinPanel* FillingChild(TksSkinPanel* parent) {
    auto* c = new TksSkinPanel(form);
    c->SetParent(parent);
    c->SetAlign(alClient);
    return c;
  }
  TksDataSkinPanelControl& Description(const char* name) {
    return dynamic_cast<TksDataSkinPanelControl&>(
        *data.CtrlList[static_cast<size_t>(data.GetControlIndex(name))]);
  }
  static void ClickAt(TControl* c, int x, int y) {
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  // How many pixels of a colour lie inside R.
  static int CountColour(TBitmap& shot, const TRect& r, COLORREF colour) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)) == colour) ++n;
    return n;
  }
};

TEST_F(SkinPanel, DefaultsAndGroupBox) {
  auto* p = new TksSkinPanel(form);
  EXPECT_EQ(p->Width(), 150);
  EXPECT_EQ(p->Height(), 150);
  EXPECT_EQ(p->SkinDataName(), "panel");
  EXPECT_FALSE(p->CaptionMode());
  EXPECT_EQ(p->DefaultCaptionHeight(), 22);
  EXPECT_EQ(p->BorderStyle(), Border::bvFrame);
  EXPECT_EQ(p->RealHeight, -1);
  EXPECT_EQ(p->HiddenControls(), nullptr);
  EXPECT_TRUE(p->ControlStyle() & csAcceptsControls);
  auto* g = new TksSkinGroupBox(form);
  EXPECT_EQ(g->SkinDataName(), "groupbox");
  EXPECT_TRUE(g->CaptionMode());
  p->SetNumGlyphs(3);
  EXPECT_EQ(p->NumGlyphs(), 2);
  p->SetNumGlyphs(0);
  EXPECT_EQ(p->NumGlyphs(), 1);
}

struct AreaCase {
  Border border;
  bool caption;
  TRect expected;  // the filling child's bounds in a 100 x 80 panel
};

TEST_F(SkinPanel, AreaForAlignedChildrenWithoutSkin) {
  const AreaCase cases[] = {
      {Border::bvFrame, false, {1, 1, 99, 79}},
      {Border::bvRaised, false, {1, 1, 99, 79}},
      {Border::bvNone, false, {0, 0, 100, 80}},
      {Border::bvFrame, true, {1, 23, 99, 79}},
      {Border::bvNone, true, {0, 22, 100, 80}},
  };
  for (const auto& k : cases) {
    TksSkinPanel* p = NewPanel(100, 80);
    TksSkinPanel* child = FillingChild(p);
    p->SetBorderStyle(k.border);
    p->SetCaptionMode(k.caption);
    EXPECT_EQ(child->BoundsRect(), k.expected) << static_cast<int>(k.border) << "/" << k.caption;
    p->SetDefaultCaptionHeight(30);
    if (k.caption) {
      EXPECT_EQ(child->Top(), k.expected.Top + 8);
    }
  }
}

TEST_F(SkinPanel, AreaForAlignedChildrenWithSkin) {
  for (const char* name : {"panel", "groupbox"}) {
    TksSkinPanel* p = NewPanel(100, 80);
    p->SetSkinDataName(name);
    TksSkinPanel* child = FillingChild(p);
    p->SetSkinData(&data);
    const auto& d = Description(name);
    const int dW = 100 - RectWidth(d.SkinRect), dH = 80 - RectHeight(d.SkinRect);
    const TRect inner{d.ClientRect.Left, d.ClientRect.Top, d.ClientRect.Right + dW, d.ClientRect.Bottom + dH};
    EXPECT_EQ(child->BoundsRect(), inner) << name;
    // Without a frame or caption the tiled middle is all there is: the whole client area.
    p->SetCaptionMode(false);
    p->SetBorderStyle(Border::bvNone);
    p->Realign();
    EXPECT_EQ(child->BoundsRect(), (TRect{0, 0, 100, 80})) << name;
  }
}

// The drawn frame by border style, on a 100 x 80 panel without caption.
struct FrameCase {
  Border border;
  TColor topLeft, bottomRight;
};

TEST_F(SkinPanel, DefaultLookFramesTheControl) {
  const FrameCase cases[] = {
      {Border::bvFrame, clBtnShadow, clBtnShadow},
      {Border::bvRaised, clBtnHighlight, clBtnShadow},
      {Border::bvLowered, clBtnShadow, clBtnHighlight},
      {Border::bvNone, clBtnFace, clBtnFace},
  };
  TksSkinPanel* p = NewPanel(100, 80);
  for (const auto& k : cases) {
    p->SetBorderStyle(k.border);
    TBitmap shot;
    PaintInto(*p, shot);
    EXPECT_EQ(shot.Canvas()->Pixels(0, 0), Rgb(k.topLeft)) << static_cast<int>(k.border);
    EXPECT_EQ(shot.Canvas()->Pixels(99, 79), Rgb(k.bottomRight)) << static_cast<int>(k.border);
    EXPECT_EQ(shot.Canvas()->Pixels(50, 40), Rgb(clBtnFace));
  }
}

TEST_F(SkinPanel, DefaultLookCaptionBar) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 80);
  TBitmap shot;
  PaintInto(*g, shot);
  // Framed look: a shadow frame around the bar, then highlight top-left inside it.
  EXPECT_EQ(shot.Canvas()->Pixels(50, 21), Rgb(clBtnShadow));
  EXPECT_EQ(shot.Canvas()->Pixels(50, 1), Rgb(clBtnHighlight));
  EXPECT_EQ(shot.Canvas()->Pixels(1, 10), Rgb(clBtnHighlight));
  EXPECT_EQ(shot.Canvas()->Pixels(50, 22), Rgb(clBtnFace));
  const TRect bar{2, 2, 98, 20};
  const COLORREF ink = Rgb(g->DefaultFont()->Color());
  const int blank = CountColour(shot, bar, ink);
  g->SetCaption("Options");
  PaintInto(*g, shot);
  EXPECT_GT(CountColour(shot, bar, ink), blank);
  EXPECT_EQ(CountColour(shot, TRect{2, 24, 98, 78}, ink), 0);  // nothing below the bar

  // Other borders: the bar is sunk, then raised inside.
  g->SetBorderStyle(Border::bvRaised);
  PaintInto(*g, shot);
  EXPECT_EQ(shot.Canvas()->Pixels(50, 1), Rgb(clBtnShadow));
  EXPECT_EQ(shot.Canvas()->Pixels(50, 2), Rgb(clBtnHighlight));
  EXPECT_EQ(shot.Canvas()->Pixels(50, 20), Rgb(clBtnShadow));
}

TEST_F(SkinPanel, DefaultLookCheckBoxAndRollArrow) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 80);
  g->SetCheckedMode(true);
  g->SetRollUpMode(true);
  TBitmap shot;
  PaintInto(*g, shot);
  // Inside the framed bar the middle row is 11; the box spans 5..18 by 4..17.
  EXPECT_EQ(shot.Canvas()->Pixels(5, 4), Rgb(clBtnShadow));
  EXPECT_EQ(shot.Canvas()->Pixels(18, 17), Rgb(clBtnShadow));
  EXPECT_EQ(CountColour(shot, TRect{6, 5, 18, 17}, Rgb(clBtnText)), 0);
  g->SetChecked(true);
  PaintInto(*g, shot);
  EXPECT_GT(CountColour(shot, TRect{6, 5, 18, 17}, Rgb(clBtnText)), 0);
  // The arrow's middle column is 93: its tip points up while rolled down.
  EXPECT_EQ(shot.Canvas()->Pixels(93, 9), Rgb(clBtnText));
  EXPECT_NE(shot.Canvas()->Pixels(93, 13), Rgb(clBtnText));
  g->SetRollUpState(true);
  PaintInto(*g, shot);
  EXPECT_EQ(shot.Canvas()->Pixels(93, 13), Rgb(clBtnText));
  EXPECT_NE(shot.Canvas()->Pixels(93, 9), Rgb(clBtnText));
}

// Where the glyph lands in an unskinned group box 100 wide with no caption text:
// the bar's inner area runs from 2 to 98, the glyph cell is 8 wide plus 2 spacing.
struct GlyphCase {
  TAlignment alignment;
  int gx;
};

TEST_F(SkinPanel, GlyphPlacedByAlignmentAndSwitchedWhenDisabled) {
  TBitmap strip(16, 8);
  strip.Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000FF));
  strip.Canvas()->FillRect(TRect{0, 0, 8, 8});
  strip.Canvas()->Brush()->SetColor(static_cast<TColor>(0xFF0000));
  strip.Canvas()->FillRect(TRect{8, 0, 16, 8});
  // Bottom-left corners are the transparent colour of each cell.
  strip.Canvas()->SetPixels(0, 7, clWhite);
  strip.Canvas()->SetPixels(8, 7, clWhite);
  const GlyphCase cases[] = {{taLeftJustify, 4}, {taRightJustify, 88}, {taCenter, 47}};
  for (const auto& k : cases) {
    auto* g = NewPanel<TksSkinGroupBox>(100, 80);
    g->SetGlyph(&strip);
    g->SetNumGlyphs(2);
    g->SetDefaultAlignment(k.alignment);
    TBitmap shot;
    PaintInto(*g, shot);
    // The middle row of the bar is 11, so the 8-high glyph starts at row 7.
    EXPECT_EQ(shot.Canvas()->Pixels(k.gx + 2, 9), RGB(255, 0, 0)) << k.alignment;
    EXPECT_NE(shot.Canvas()->Pixels(k.gx - 1, 9), RGB(255, 0, 0)) << k.alignment;
    g->SetEnabled(false);
    PaintInto(*g, shot);
    EXPECT_EQ(shot.Canvas()->Pixels(k.gx + 2, 9), RGB(0, 0, 255)) << k.alignment;
  }
}

TEST_F(SkinPanel, SkinnedCheckImageFollowsCheckedAndClicks) {
  auto& d = Description("groupbox");
  d.CheckImageRect = TRect{0, 0, 8, 8};
  d.UncheckImageRect = TRect{8, 0, 16, 8};
  auto* g = NewPanel<TksSkinGroupBox>(120, 90);
  g->SetCaption("Options");
  g->SetCheckedMode(true);
  g->SetSkinData(&data);
  const TRect caption = g->GetNewRect(d.CaptionRect);
  const int top = caption.Top + RectHeight(caption) / 2 - 4;
  // Compares the parts' opaque pixels (those unlike each part's bottom-left corner).
  auto expectPart = [&](const TRect& part) {
    TBitmap shot;
    PaintInto(*g, shot);
    const COLORREF key = SkinPixel(part.Left, part.Bottom - 1);
    int compared = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const COLORREF want = SkinPixel(part.Left + x, part.Top + y);
        if (want == key) continue;
        ++compared;
        EXPECT_EQ(shot.Canvas()->Pixels(caption.Left + x, top + y), want) << x << "," << y;
      }
    EXPECT_GT(compared, 0);
  };
  expectPart(d.UncheckImageRect);
  ClickAt(g, caption.Left + 2, caption.Top + 2);
  EXPECT_TRUE(g->Checked());
  expectPart(d.CheckImageRect);
  ClickAt(g, caption.Left + 2, caption.Bottom + 4);  // below the caption: no change
  EXPECT_TRUE(g->Checked());
}

TEST_F(SkinPanel, SkinnedGroupBoxFaceAndCaption) {
  auto* g = NewPanel<TksSkinGroupBox>(120, 90);
  g->SetSkinData(&data);
  const auto& d = Description("groupbox");
  TBitmap shot;
  PaintInto(*g, shot);
  // Corners stay as in the skin.
  EXPECT_EQ(shot.Canvas()->Pixels(0, 0), SkinPixel(d.SkinRect.Left, d.SkinRect.Top));
  EXPECT_EQ(shot.Canvas()->Pixels(119, 89), SkinPixel(d.SkinRect.Right - 1, d.SkinRect.Bottom - 1));
  const TRect caption = g->GetNewRect(d.CaptionRect);
  EXPECT_EQ(g->NewCaptionRect, caption);
  const COLORREF ink = Rgb(d.FontColor);
  const int blank = CountColour(shot, caption, ink);
  g->SetCaption("Options");
  PaintInto(*g, shot);
  EXPECT_GT(CountColour(shot, caption, ink), blank);
  // The roll arrow is drawn in the font colour right of the shortened caption.
  g->SetRollUpMode(true);
  PaintInto(*g, shot);
  const int arrowX = caption.Right - 12 + 5, midY = caption.Top + RectHeight(caption) / 2;
  EXPECT_EQ(shot.Canvas()->Pixels(arrowX, midY - 2), ink);
}

TEST_F(SkinPanel, FramelessSkinnedPanelTilesTheMiddle) {
  TksSkinPanel* p = NewPanel(150, 100);
  p->SetBorderStyle(Border::bvNone);
  p->SetSkinData(&data);
  ASSERT_EQ(p->ResizeMode, 1);
  const auto& d = Description("panel");
  const int sx = d.SkinRect.Left + d.ClientRect.Left, sy = d.SkinRect.Top + d.ClientRect.Top;
  const int cw = RectWidth(d.ClientRect), ch = RectHeight(d.ClientRect);
  TBitmap shot;
  PaintInto(*p, shot);
  for (const TPoint at : {TPoint{0, 0}, TPoint{cw + 1, 2}, TPoint{2 * cw + 3, ch + 4}, TPoint{149, 99}})
    EXPECT_EQ(shot.Canvas()->Pixels(at.X, at.Y), SkinPixel(sx + at.X % cw, sy + at.Y % ch)) << at.X << "," << at.Y;
}

TEST_F(SkinPanel, BackgroundPictureIsTiledWithoutCaption) {
  auto& d = Description("groupbox");
  d.BGPictureIndex = 0;
  TBitmap* picture = data.ActivePicture(0);
  const int w = picture->Width(), h = picture->Height();
  auto* g = NewPanel<TksSkinGroupBox>(w + 20, 60);
  g->SetCaption("Options");
  TksSkinPanel* child = FillingChild(g);
  g->SetSkinData(&data);
  EXPECT_EQ(child->BoundsRect(), (TRect{0, 0, w + 20, 60}));
  TBitmap shot;
  PaintInto(*g, shot);
  for (const TPoint at : {TPoint{0, 0}, TPoint{3, 5}, TPoint{w + 2, 7}, TPoint{w + 19, 59}})
    EXPECT_EQ(shot.Canvas()->Pixels(at.X, at.Y), SkinPixel(at.X % w, at.Y % h)) << at.X << "," << at.Y;
  // An index past the pictures falls back to the face instead of leaving the window unpainted.
  d.BGPictureIndex = 99;
  PaintInto(*g, shot);
  EXPECT_EQ(shot.Canvas()->Pixels(0, 0), SkinPixel(d.SkinRect.Left, d.SkinRect.Top));
}

TEST_F(SkinPanel, CheckedSwitchesChildrenAndAlwaysNotifies) {
  TksSkinPanel* p = NewPanel(100, 80);
  TksSkinPanel* a = FillingChild(p);
  TksSkinPanel* b = FillingChild(p);
  int fired = 0;
  p->OnChecked = [&](TObject* sender) {
    EXPECT_EQ(sender, p);
    ++fired;
  };
  p->SetChecked(false);  // outside check mode: only the event
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(a->Enabled());
  p->SetCheckedMode(true);
  p->SetChecked(false);
  EXPECT_FALSE(a->Enabled());
  EXPECT_FALSE(b->Enabled());
  p->SetChecked(true);
  EXPECT_TRUE(a->Enabled());
  EXPECT_TRUE(b->Enabled());
  p->AutoEnabledControls = false;
  p->SetChecked(false);
  EXPECT_TRUE(a->Enabled());
  EXPECT_EQ(fired, 4);
}

TEST_F(SkinPanel, CaptionClicksToggleOnlyInTheirModes) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 100);
  int fired = 0;
  g->OnChecked = [&](TObject*) { ++fired; };
  ClickAt(g, 10, 10);  // caption mode alone: nothing
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(g->Height(), 100);
  g->SetCheckedMode(true);
  ClickAt(g, 10, 50);  // below the caption
  EXPECT_FALSE(g->Checked());
  ClickAt(g, 10, 10);
  EXPECT_TRUE(g->Checked());
  EXPECT_EQ(fired, 1);
  g->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
  g->Perform(WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(g->Checked());
  g->SetCaptionMode(false);  // check mode needs the caption bar
  ClickAt(g, 10, 10);
  EXPECT_TRUE(g->Checked());
}

TEST_F(SkinPanel, RollUpHidesVisibleChildrenAndBringsThemBack) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 100);
  g->SetRollUpMode(true);
  TksSkinPanel* shown = FillingChild(g);
  TksSkinPanel* hidden = FillingChild(g);
  hidden->SetVisible(false);
  ClickAt(g, 10, 10);
  EXPECT_TRUE(g->RollUpState());
  EXPECT_EQ(g->Height(), 23);
  EXPECT_EQ(g->RealHeight, 100);
  EXPECT_FALSE(shown->Visible());
  ASSERT_NE(g->HiddenControls(), nullptr);
  EXPECT_EQ(g->HiddenControls()->size(), 1u);
  ClickAt(g, 10, 10);
  EXPECT_FALSE(g->RollUpState());
  EXPECT_EQ(g->Height(), 100);
  EXPECT_EQ(g->RealHeight, -1);
  EXPECT_TRUE(shown->Visible());
  EXPECT_FALSE(hidden->Visible());
  EXPECT_EQ(g->HiddenControls(), nullptr);
}

TEST_F(SkinPanel, RollUpStateNeedsRollUpMode) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 100);
  g->SetRollUpState(true);
  EXPECT_FALSE(g->RollUpState());
  EXPECT_EQ(g->Height(), 100);
  // Leaving roll-up mode while rolled up rolls down rather than stranding the children.
  TksSkinPanel* child = FillingChild(g);
  g->SetRollUpMode(true);
  g->SetRollUpState(true);
  ASSERT_EQ(g->Height(), 23);
  g->SetRollUpMode(false);
  EXPECT_FALSE(g->RollUpState());
  EXPECT_EQ(g->Height(), 100);
  EXPECT_TRUE(child->Visible());
}

TEST_F(SkinPanel, ChildFreedWhileRolledUp) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 100);
  g->SetRollUpMode(true);
  TksSkinPanel* gone = FillingChild(g);
  TksSkinPanel* kept = FillingChild(g);
  g->SetRollUpState(true);
  gone->Free();
  ASSERT_NE(g->HiddenControls(), nullptr);
  EXPECT_EQ(g->HiddenControls()->size(), 1u);
  g->SetRollUpState(false);
  EXPECT_TRUE(kept->Visible());
  EXPECT_EQ(g->Height(), 100);
}

TEST_F(SkinPanel, PanelFreedWhileRolledUpLeavesChildrenSound) {
  // A hidden child moved elsewhere outlives the panel and must not notify it later.
  auto* g = NewPanel<TksSkinGroupBox>(100, 100);
  g->SetRollUpMode(true);
  auto* moved = new TksSkinPanel(form);
  moved->SetParent(g);
  g->SetRollUpState(true);
  moved->SetParent(form);
  g->Free();
  moved->Free();
  // Children still inside go with the panel, freed or deleted.
  for (bool plainDelete : {false, true}) {
    auto* p = NewPanel<TksSkinGroupBox>(100, 100);
    p->SetRollUpMode(true);
    FillingChild(p);
    FillingChild(p);
    p->SetRollUpState(true);
    if (plainDelete)
      delete p;
    else
      p->Free();
  }
  EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(SkinPanel, SkinnedRollUpKeepsFrameAndCaption) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 100);
  g->SetSkinData(&data);
  g->SetRollUpMode(true);
  const auto& d = Description("groupbox");
  const int rolled = RectHeight(d.SkinRect) - RectHeight(d.ClientRect);
  g->SetRollUpState(true);
  EXPECT_EQ(g->Height(), rolled);
  g->SetRollUpState(false);
  EXPECT_EQ(g->Height(), 100);
}

TEST_F(SkinPanel, SkinChangeWhileRolledUp) {
  auto* g = NewPanel<TksSkinGroupBox>(100, 100);
  g->SetRollUpMode(true);
  TksSkinPanel* child = FillingChild(g);
  g->SetRollUpState(true);
  ASSERT_EQ(g->Height(), 23);
  g->SetSkinData(&data);
  const auto& d = Description("groupbox");
  EXPECT_EQ(g->Height(), RectHeight(d.SkinRect) - RectHeight(d.ClientRect));
  EXPECT_EQ(g->RealHeight, 100);
  EXPECT_FALSE(child->Visible());
  g->SetRollUpState(false);
  EXPECT_EQ(g->Height(), 100);
  EXPECT_TRUE(child->Visible());
}

TEST_F(SkinPanel, ForeignAndDegenerateDescriptions) {
  // A description of another kind under the panel's name: the size stays, painting and
  // rolling up stay sound.
  auto* g = NewPanel<TksSkinGroupBox>(100, 80);
  g->SetSkinDataName("stdlabel");
  g->SetSkinData(&data);
  EXPECT_EQ(g->Width(), 100);
  EXPECT_EQ(g->Height(), 80);
  PaintAndSample(*g, 5, 5);
  g->SetRollUpMode(true);
  g->SetRollUpState(true);
  EXPECT_GE(g->Height(), 0);
  g->SetRollUpState(false);
  EXPECT_EQ(g->Height(), 80);

  // A frameless panel whose skin has no middle shows the skin's whole face instead.
  auto& d = Description("panel");
  d.ClientRect = TRect{3, 3, 3, 3};
  TksSkinPanel* p = NewPanel(100, 80);
  p->SetBorderStyle(Border::bvNone);
  p->SetSkinData(&data);
  EXPECT_EQ(PaintAndSample(*p, 0, 0), SkinPixel(d.SkinRect.Left, d.SkinRect.Top));

  // Nothing to paint at zero size.
  p->SetBounds(0, 0, 0, 0);
  PaintAndSample(*p, 0, 0);
}

TEST_F(SkinPanel, WindowClassDoesNotRedrawOnResize) {
  TksSkinPanel* p = NewPanel(100, 80);
  const auto style = GetClassLongPtrA(p->Handle(), GCL_STYLE);
  EXPECT_EQ(style & (CS_HREDRAW | CS_VREDRAW), 0u);
}

}  // namespace
