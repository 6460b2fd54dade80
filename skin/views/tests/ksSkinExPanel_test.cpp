// The expandable panel: rolling both ways with and without a skin, its caption
// buttons and what rolling does to its children.
#include <gtest/gtest.h>

#include <string>

#include "skin/data/ksSkinDataControls.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksSkinExPanel.h"

namespace {

using namespace skintest;

class SkinExPanel : public SkinCtrls {
 protected:
  TksSkinExPanel* NewPanel(bool skinned) {
    auto* p = new TksSkinExPanel(form);
    p->SetParent(form);
    p->SetBounds(10, 10, 150, 100);
    p->OnChangeRollState = [this](TObject*) { ++rollEvents; };
    if (skinned) p->SetSkinData(&data);
    p->HandleNeeded();
    return p;
  }
  TksDataSkinExPanelControl& Description() {
    const int index = data.GetControlIndex("expanel");
    return dynamic_cast<TksDataSkinExPanelControl&>(*data.CtrlList[static_cast<size_t>(index)]);
  }
  static TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  static void Press(TControl* c, TPoint p) { c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y)); }
  static void Release(TControl* c, TPoint p) { c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y)); }

  int rollEvents = 0;
};

TEST_F(SkinExPanel, RollingShrinksToTheBarHidesChildrenAndComesBack) {
  struct Case {
    TksExPanelRollKind kind;
    bool skinned;
    int rolledSize;  // the rolled dimension
  };
  const Case cases[] = {{rkRollVertical, false, 21}, {rkRollHorizontal, false, 21},
                        {rkRollVertical, true, 20},  {rkRollHorizontal, true, 20}};
  for (const Case& c : cases) {
    rollEvents = 0;
    TksSkinExPanel* p = NewPanel(c.skinned);
    p->SetRollKind(c.kind);
    auto* shown = new TPanel(form);
    shown->SetParent(p);
    auto* hidden = new TPanel(form);
    hidden->SetParent(p);
    hidden->SetVisible(false);
    const std::string what = std::to_string(c.kind) + (c.skinned ? " skinned" : " plain");
    p->SetRollState(true);
    const bool across = c.kind == rkRollHorizontal;
    EXPECT_EQ(across ? p->Width() : p->Height(), c.rolledSize) << what;
    EXPECT_EQ(across ? p->Height() : p->Width(), across ? 100 : 150) << what;
    EXPECT_EQ(across ? p->RealWidth : p->RealHeight, across ? 150 : 100) << what;
    EXPECT_FALSE(shown->Visible());
    p->SetBounds(10, 10, 300, 300);  // the rolled dimension is held
    EXPECT_EQ(across ? p->Width() : p->Height(), c.rolledSize) << what;
    EXPECT_EQ(across ? p->Height() : p->Width(), 300) << what;
    p->SetRollState(false);
    EXPECT_EQ(across ? p->Width() : p->Height(), across ? 150 : 100) << what;
    EXPECT_EQ(p->RealWidth + p->RealHeight, 0);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible()) << "a child hidden before stays hidden";
    EXPECT_EQ(rollEvents, 2);
    p->Free();
  }
}

TEST_F(SkinExPanel, SavedSizeKeepsALoadedRolledPanelAndAKindChangeNeverRestoresZero) {
  TksSkinExPanel* p = NewPanel(false);
  p->RealHeight = 120;  // as stored rolled up
  p->SetBounds(10, 10, 150, 21);
  p->SetRollState(true);
  EXPECT_EQ(p->Height(), 21);
  p->SetRollState(false);
  EXPECT_EQ(p->Height(), 120);

  p->SetRollState(true);             // rolled vertically...
  p->SetRollKind(rkRollHorizontal);  // ...then switched
  p->SetRollState(false);
  EXPECT_EQ(p->Width(), 150);
  EXPECT_EQ(p->Height(), 120);
}

TEST_F(SkinExPanel, ChildFreedWhileRolledUpLeavesTheHiddenList) {
  TksSkinExPanel* p = NewPanel(false);
  auto* child = new TPanel(form);
  child->SetParent(p);
  auto* other = new TPanel(form);
  other->SetParent(p);
  p->SetRollState(true);
  ASSERT_EQ(p->HiddenControls()->size(), 2u);
  child->Free();
  EXPECT_EQ(p->HiddenControls()->size(), 1u);
  p->SetRollState(false);
  EXPECT_TRUE(other->Visible());
}

TEST_F(SkinExPanel, CaptionButtonsActOnlyOnAReleaseOverThemselves) {
  for (bool skinned : {false, true}) {
    rollEvents = 0;
    TksSkinExPanel* p = NewPanel(skinned);
    const TPoint roll = Centre(p->ButtonRect(TksSkinExPanel::kRoll));
    Press(p, roll);
    EXPECT_TRUE(p->ButtonDown(TksSkinExPanel::kRoll));
    Release(p, TPoint{5, 60});  // outside
    EXPECT_FALSE(p->RollState());
    EXPECT_FALSE(p->ButtonDown(TksSkinExPanel::kRoll));
    // Any mouse button presses a caption button.
    p->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(roll.X, roll.Y));
    p->Perform(WM_RBUTTONUP, 0, MAKELPARAM(roll.X, roll.Y));
    EXPECT_TRUE(p->RollState()) << "the right button rolls it up";
    Press(p, roll);
    Release(p, roll);
    EXPECT_FALSE(p->RollState()) << skinned;
    Press(p, roll);
    Release(p, roll);
    EXPECT_TRUE(p->RollState()) << skinned;
    EXPECT_EQ(rollEvents, 3);

    int closed = 0;
    p->OnClose = [&](TObject*) { ++closed; };
    const TPoint close = Centre(p->ButtonRect(TksSkinExPanel::kClose));
    Press(p, close);
    Release(p, close);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(closed, 1);

    p->SetVisible(true);
    p->SetShowCloseButton(false);
    p->SetShowRollButton(false);
    Press(p, roll);
    EXPECT_FALSE(p->ButtonDown(TksSkinExPanel::kRoll)) << "hidden buttons never activate";
    Release(p, roll);
    EXPECT_TRUE(p->RollState());
    p->Free();
  }
}

TEST_F(SkinExPanel, SkinnedButtonsShowTheirNormalHotAndRolledFaces) {
  TksSkinExPanel* p = NewPanel(true);
  const TksDataSkinExPanelControl& d = Description();
  const TRect close = p->ButtonRect(TksSkinExPanel::kClose);
  EXPECT_EQ(close.Right, 150 - 3) << "right-aligned in the caption rectangle, moved with the width";
  EXPECT_EQ(RectWidth(close), RectWidth(d.CloseButtonRect));
  const TRect roll = p->ButtonRect(TksSkinExPanel::kRoll);
  EXPECT_EQ(roll.Right, close.Left - 2);
  auto at = [&](const TRect& r) { return PaintAndSample(*p, r.Left + 4, r.Top + 7); };
  auto skin = [&](const TRect& r) { return SkinPixel(r.Left + 4, r.Top + 7); };
  ASSERT_NE(skin(d.VRollButtonRect), skin(d.VRollButtonActiveRect));
  EXPECT_EQ(at(roll), skin(d.VRollButtonRect));
  p->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(roll.Left + 4, roll.Top + 7));
  EXPECT_TRUE(p->ButtonMouseIn(TksSkinExPanel::kRoll));
  EXPECT_EQ(at(roll), skin(d.VRollButtonActiveRect));
  p->SetRollState(true);
  p->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(100, 5));
  EXPECT_EQ(at(p->ButtonRect(TksSkinExPanel::kRoll)), skin(d.VRestoreButtonRect)) << "rolled: the restore face";
  p->SetRollKind(rkRollHorizontal);
  p->SetRollState(false);
  p->SetRollState(true);
  EXPECT_EQ(p->Width(), RectWidth(d.RollHSkinRect));
  const TRect across = p->ButtonRect(TksSkinExPanel::kRoll);
  EXPECT_EQ(across.Top, p->ButtonRect(TksSkinExPanel::kClose).Bottom + 2) << "below the close button";
  EXPECT_EQ(at(across), skin(d.HRestoreButtonRect));
}

TEST_F(SkinExPanel, HorizontallyRolledCaptionReadsBottomToTop) {
  for (bool skinned : {false, true}) {
    TksSkinExPanel* p = NewPanel(skinned);
    p->SetCaption("Details");
    p->SetRollKind(rkRollHorizontal);
    TBitmap flat;
    PaintInto(*p, flat);
    p->SetRollState(true);
    TBitmap shot;
    PaintInto(*p, shot);
    // The text runs up the bar: ink spreads over far more rows than one line is high.
    int top = shot.Height(), bottom = -1;
    const COLORREF background = static_cast<COLORREF>(shot.Canvas()->Pixels(p->Width() / 2, shot.Height() - 3));
    const int textTop = p->ButtonRect(TksSkinExPanel::kRoll).Bottom + 2;
    for (int y = textTop; y < shot.Height() - 2; ++y)
      for (int x = 3; x < p->Width() - 3; ++x)
        if (static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)) != background) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    ASSERT_GE(bottom, 0) << skinned;
    EXPECT_GT(bottom - top, 25) << skinned;
    EXPECT_GE(bottom, shot.Height() - 6) << "the text starts at the bottom";
    p->Free();
  }
}

TEST_F(SkinExPanel, ATwoImageGlyphMovesTheTextByTheWholeStrip) {
  TksSkinExPanel* p = NewPanel(false);
  p->SetCaption("Details");
  // The caption's first ink column right of the glyph, in the caption bar.
  auto inkLeft = [&](int numGlyphs) {
    TBitmap strip(16 * numGlyphs, 16);
    strip.Canvas()->Brush()->SetColor(clLime);
    strip.Canvas()->FillRect(TRect{0, 0, strip.Width(), 16});
    p->SetGlyph(&strip);
    p->SetNumGlyphs(numGlyphs);
    TBitmap shot;
    PaintInto(*p, shot);
    const COLORREF ink = Rgb(p->DefaultFont()->Color());
    for (int x = 3; x < p->Width(); ++x)
      for (int y = 3; y < p->DefaultCaptionHeight() - 3; ++y)
        if (static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)) == ink) return x;
    return -1;
  };
  const int one = inkLeft(1);
  ASSERT_GE(one, 0);
  EXPECT_EQ(inkLeft(2), one + 16);
  p->Free();
}

}  // namespace
