// The shaped button: its own size, mask and images without a skin entry.
#include <gtest/gtest.h>

#include "framework/core/regions.h"
#include "skin/controls/ksSkinXFormButton.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinXFormButton : public SkinCtrls {
 protected:
  static void Solid(TBitmap& b, int w, int h, TColor color) {
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(color);
    b.Canvas()->FillRect(TRect{0, 0, w, h});
  }
  TksSkinXFormButton* NewButton() {
    auto* b = new TksSkinXFormButton(form);
    b->SetParent(form);
    TBitmap image;
    Solid(image, 90, 30, static_cast<TColor>(0x00FF00));
    b->SetDefImage(&image);
    b->HandleNeeded();
    return b;
  }
  // Whether the window's region holds (x, y); true when it has none.
  static bool InRegion(TWinControl* c, int x, int y) {
    TRegion r(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(c->Handle(), r.get()) == ERROR) return true;
    return PtInRegion(r.get(), x, y) != 0;
  }
};

TEST_F(SkinXFormButton, SizeStaysTheDefaultImagesAndTheMaskCutsTheWindow) {
  TksSkinXFormButton* b = NewButton();
  EXPECT_FALSE(b->CanFocused());
  EXPECT_EQ(b->Width(), 90);
  EXPECT_EQ(b->Height(), 30);
  b->SetBounds(0, 0, 200, 10);
  EXPECT_EQ(b->Width(), 90);
  EXPECT_EQ(b->Height(), 30);
  EXPECT_EQ(PaintAndSample(*b, 45, 15), RGB(0, 255, 0));

  TBitmap mask;
  Solid(mask, 90, 30, clWhite);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(TRect{10, 5, 80, 25});  // black: the button
  b->SetDefMask(&mask);
  EXPECT_TRUE(InRegion(b, 45, 15));
  EXPECT_FALSE(InRegion(b, 2, 2));
  EXPECT_FALSE(InRegion(b, 85, 28));
  TBitmap other;
  Solid(other, 90, 30, clBlack);
  b->SetDefMask(&other);  // a new region replaces the first; the old one is the system's to free
  EXPECT_TRUE(InRegion(b, 2, 2));
  b->SetDefMask(&mask);
  TBitmap empty;
  b->SetDefMask(&empty);
  EXPECT_EQ(b->Rgn(), nullptr);
  EXPECT_TRUE(InRegion(b, 2, 2)) << "an empty mask removes the region";
}

TEST_F(SkinXFormButton, HoverAndDownShowTheirOwnImages) {
  TksSkinXFormButton* b = NewButton();
  TBitmap active, down;
  Solid(active, 90, 30, static_cast<TColor>(0xFF0000));
  Solid(down, 90, 30, static_cast<TColor>(0x0000FF));
  b->SetDefActiveImage(&active);
  b->SetDefDownImage(&down);
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(PaintAndSample(*b, 45, 15), RGB(0, 0, 255));
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(PaintAndSample(*b, 45, 15), RGB(255, 0, 0));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(PaintAndSample(*b, 45, 15), RGB(0, 255, 0));
}

TEST_F(SkinXFormButton, WithAButtonEntryItIsAPlainSkinnedButton) {
  TksSkinXFormButton* shaped = NewButton();
  TBitmap mask;
  Solid(mask, 90, 30, clBlack);
  shaped->SetDefMask(&mask);
  shaped->SetSkinData(&data);
  shaped->SetBounds(0, 0, 120, 40);
  auto* plain = new TksSkinButton(form);
  plain->SetParent(form);
  plain->SetBounds(0, 50, 120, 40);
  plain->SetSkinData(&data);
  EXPECT_EQ(shaped->Width(), 120) << "its own size lock is off";
  EXPECT_EQ(shaped->Rgn(), nullptr) << "its own mask is off";
  TBitmap a, b;
  PaintInto(*shaped, a);
  PaintInto(*plain, b);
  for (const TPoint p : {TPoint{1, 1}, TPoint{60, 20}, TPoint{118, 38}})
    EXPECT_EQ(a.Canvas()->Pixels(p.X, p.Y), b.Canvas()->Pixels(p.X, p.Y)) << p.X;
}

}  // namespace
