// The skinned bevel's edge colours by style and skin, and its divider.
#include <gtest/gtest.h>

#include "skin/controls/ksSkinBevel.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinBevel : public SkinCtrls {
 protected:
  TksSkinBevel* NewBevel(TBevelShape shape, int w = 20, int h = 20) {
    form->HandleNeeded();
    auto* b = new TksSkinBevel(form);
    b->SetParent(form);
    b->SetBounds(10, 10, w, h);
    b->SetShape(shape);
    return b;
  }
  COLORREF At(int x, int y) {
    PaintInto(*form, shot);
    return static_cast<COLORREF>(shot.Canvas()->Pixels(10 + x, 10 + y));
  }
  TksDataSkinBevel& Description() {
    return dynamic_cast<TksDataSkinBevel&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("bevel"))]);
  }
  TBitmap shot;
};

TEST_F(SkinBevel, EdgesTakeDarkOrLightFirstByStyleFromSkinOrSystem) {
  const COLORREF skinLight = Rgb(Description().LightColor), skinDark = Rgb(Description().DarkColor);
  ASSERT_NE(skinDark, Rgb(clBtnShadow));
  struct Case {
    TBevelStyle style;
    bool skinned;
    COLORREF topLeft, bottomRight;
  };
  const Case cases[] = {
      {bsLowered, false, Rgb(clBtnShadow), Rgb(clBtnHighlight)},
      {bsRaised, false, Rgb(clBtnHighlight), Rgb(clBtnShadow)},
      {bsLowered, true, skinDark, skinLight},
      {bsRaised, true, skinLight, skinDark},
  };
  for (const Case& c : cases) {
    auto* b = NewBevel(bsBox);
    b->SetSkinData(c.skinned ? &data : nullptr);
    b->SetStyle(c.style);  // after the skin: a style change keeps the skin's colours
    EXPECT_EQ(At(0, 10), c.topLeft) << c.style << c.skinned;
    EXPECT_EQ(At(10, 0), c.topLeft) << c.style << c.skinned;
    EXPECT_EQ(At(19, 10), c.bottomRight) << c.style << c.skinned;
    EXPECT_EQ(At(10, 19), c.bottomRight) << c.style << c.skinned;
    EXPECT_EQ(At(0, 19), c.topLeft) << "the bottom-left corner keeps the first colour";
    EXPECT_EQ(At(19, 0), c.bottomRight);
    b->Free();
  }
}

TEST_F(SkinBevel, DividerModeDrawsOneTwoPixelLineAcrossTheMiddle) {
  auto* b = NewBevel(bsFrame, 20, 30);
  b->SetSkinData(&data);
  b->SetDividerMode(true);
  const COLORREF dark = Rgb(Description().DarkColor), light = Rgb(Description().LightColor);
  const COLORREF background = At(3, 15);
  ASSERT_NE(background, dark);
  // Vertical divider (9, 2)-(10, 28): dark left column, light right column.
  EXPECT_EQ(At(9, 15), dark);
  EXPECT_EQ(At(10, 15), light);
  EXPECT_EQ(At(9, 2), dark);
  EXPECT_EQ(At(9, 1), background) << "inset by 2 at the top";
  EXPECT_EQ(At(10, 28), light);
  EXPECT_EQ(At(9, 28), dark) << "the bottom-left corner keeps the first colour";
  EXPECT_EQ(At(10, 29), background) << "inset by 2 at the bottom";
  EXPECT_EQ(At(0, 15), background) << "no frame in divider mode";

  b->SetShape(bsTopLine);  // horizontal divider (2, 14)-(18, 15)
  EXPECT_EQ(At(10, 14), dark);
  EXPECT_EQ(At(10, 15), light);
  EXPECT_EQ(At(1, 14), background);
  b->SetShape(bsSpacer);
  EXPECT_EQ(At(10, 14), background);
}

TEST_F(SkinBevel, ForeignEntryKeepsColoursAndAFreedSkinIsForgotten) {
  auto* b = NewBevel(bsBox);
  b->SetSkinData(&data);
  const TColor skinDark = b->DarkColor();
  b->SetSkinDataName("button");  // a description of another kind
  b->ChangeSkinData();
  EXPECT_NE(b->ControlIndex(), -1);
  EXPECT_EQ(b->DarkColor(), skinDark);
  auto* other = new TksSkinData(form);
  b->SetSkinData(other);
  other->Free();
  EXPECT_EQ(b->SkinData(), nullptr);
  EXPECT_EQ(b->ControlIndex(), -1);
}

}  // namespace
