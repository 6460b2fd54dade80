// The skinned control bases and the skinned button: finding the description,
// resize modes, layout of glyph and text, both looks painted into memory, clicks.
#include <gtest/gtest.h>

#include <string>

#include "framework/core/tests/SourcePath.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "skin/ksSkinCtrls.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

TksSkinButton* NewButton(TForm* form) {
  auto* b = new TksSkinButton(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 75, 25);
  return b;
}

TEST_F(SkinCtrls, ControlIndexFollowsContainerAndName) {
  TksSkinButton* b = NewButton(form);
  b->GetSkinData();
  EXPECT_EQ(b->ControlIndex(), -1);  // no container
  b->SetSkinData(&data);
  EXPECT_EQ(b->ControlIndex(), data.GetControlIndex("button"));
  b->SetSkinDataName("no such section");
  b->GetSkinData();
  EXPECT_EQ(b->ControlIndex(), -1);
  b->SetSkinDataName("Button");  // names are case-sensitive
  b->GetSkinData();
  EXPECT_EQ(b->ControlIndex(), -1);
}

TEST_F(SkinCtrls, ContainerFreedIsForgotten) {
  TksSkinButton* b = NewButton(form);
  auto* owned = new TksSkinData(nullptr);
  owned->FormWindows = [] { return std::vector<HWND>{}; };
  owned->SetCompressedStoredSkin(&stored);
  b->SetSkinData(owned);
  ASSERT_NE(b->ControlIndex(), -1);
  owned->Free();
  EXPECT_EQ(b->SkinData(), nullptr);
  b->GetSkinData();
  EXPECT_EQ(b->ControlIndex(), -1);
}

// A description whose geometry picks each resize mode.
struct ModeCase {
  TPoint rt, lb, rb;
  TRect skinRect;
  int mode;
};

TEST_F(SkinCtrls, ResizeModeFromCornerPoints) {
  const ModeCase cases[] = {
      {{18, 9}, {0, 0}, {0, 0}, {0, 0, 24, 21}, 2},
      {{0, 0}, {3, 0}, {0, 5}, {0, 0, 24, 21}, 3},
      {{60, 4}, {4, 20}, {60, 20}, {0, 0, 64, 24}, 1},
      {{0, 0}, {0, 0}, {0, 0}, {0, 0, 64, 24}, 0},
      {{60, 4}, {4, 20}, {60, 20}, {0, 0, 0, 24}, -1},
  };
  TksSkinCustomControl c(nullptr);
  for (const auto& k : cases) {
    c.RTPoint = k.rt;
    c.LBPoint = k.lb;
    c.RBPoint = k.rb;
    c.SkinRect = k.skinRect;
    EXPECT_EQ(c.GetResizeMode(), k.mode) << k.rt.X << "," << k.lb.X << "," << k.rb.Y;
  }
}

TEST_F(SkinCtrls, FixedHeightSkinKeepsItsHeight) {
  auto& d = dynamic_cast<TksDataSkinCustomControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("button"))]);
  d.SkinRect = TRect{0, 0, 24, 21};
  d.LTPoint = TPoint{4, 8};
  d.RTPoint = TPoint{18, 9};
  d.LBPoint = TPoint{0, 0};
  d.RBPoint = TPoint{0, 0};
  d.ClientRect = TRect{2, 2, 22, 19};
  TksSkinButton* b = NewButton(form);
  b->SetSkinData(&data);
  b->SetBounds(10, 10, 107, 25);
  EXPECT_EQ(b->Width(), 107);
  EXPECT_EQ(b->Height(), 21);
  EXPECT_EQ(b->NewRTPoint.X, 101);
  EXPECT_EQ(b->NewRTPoint.Y, 9);
  EXPECT_EQ(b->NewClientRect, (TRect{2, 2, 105, 19}));
  b->SetBounds(10, 10, 100, 40);
  EXPECT_EQ(b->Height(), 21);
  EXPECT_EQ(b->GetNewRect(TRect{20, 2, 23, 10}), (TRect{96, 2, 99, 10}));
  EXPECT_EQ(b->GetNewRect(TRect{2, 2, 22, 19}), (TRect{2, 2, 98, 19}));
  EXPECT_EQ(b->GetNewRect(TRect{5, 2, 10, 10}), (TRect{5, 2, 10, 10}));
}

TEST_F(SkinCtrls, DescriptionOfAnotherKindKeepsTheSize) {
  // "stdlabel" is no frame description: the control must not collapse to 0x0.
  TksSkinButton* b = NewButton(form);
  b->SetSkinDataName("stdlabel");
  b->SetSkinData(&data);
  b->SetBounds(10, 10, 90, 30);
  EXPECT_EQ(b->Width(), 90);
  EXPECT_EQ(b->Height(), 30);
  EXPECT_EQ(b->Picture, nullptr);
  PaintAndSample(*b, 5, 5);  // paints without a face and without crashing
}

TEST_F(SkinCtrls, DefaultWidthAppliesOnlyWithoutSkin) {
  TksSkinButton* plain = NewButton(form);
  plain->SetDefaultWidth(80);
  EXPECT_EQ(plain->Width(), 80);
  TksSkinButton* skinned = NewButton(form);
  skinned->SetSkinData(&data);
  skinned->SetDefaultWidth(120);
  EXPECT_EQ(skinned->Width(), 75);
  EXPECT_EQ(skinned->DefaultWidth(), 120);
}

struct LayoutCase {
  int layout, margin, gx, gy, tx, ty;
};

TEST(KsLayout, GlyphAndTextPositions) {
  const LayoutCase cases[] = {
      {blGlyphLeft, -1, 14, 4, 30, 6},
      {blGlyphLeft, 4, 4, 4, 21, 6},
      {blGlyphRight, 4, 55, 4, 24, 6},
      {blGlyphTop, 2, 29, 2, 22, 19},
      {blGlyphBottom, 2, 29, 7, 22, -7},
  };
  for (const auto& k : cases) {
    TksLayoutCoords c = CalcLayoutCoords(k.layout, TRect{0, 0, 75, 25}, 16, 16, 30, 13, 1, k.margin);
    EXPECT_EQ(c.gx, k.gx) << k.layout << "/" << k.margin;
    EXPECT_EQ(c.gy, k.gy) << k.layout << "/" << k.margin;
    EXPECT_EQ(c.tx, k.tx) << k.layout << "/" << k.margin;
    EXPECT_EQ(c.ty, k.ty) << k.layout << "/" << k.margin;
  }
  // An unknown layout leaves nothing unset.
  TksLayoutCoords u = CalcLayoutCoords(7, TRect{3, 4, 75, 25}, 16, 16, 30, 13, 1, 2);
  EXPECT_EQ(u.gx, 3);
  EXPECT_EQ(u.ty, 4);
}

TEST_F(SkinCtrls, PropertiesClampAndIgnore) {
  TksSkinButton* b = NewButton(form);
  EXPECT_EQ(b->Margin(), -1);
  b->SetMargin(-2);
  EXPECT_EQ(b->Margin(), -1);
  b->SetNumGlyphs(9);
  EXPECT_EQ(b->NumGlyphs(), 4);
  b->SetNumGlyphs(0);
  EXPECT_EQ(b->NumGlyphs(), 1);
  b->SetNumGlyphs(4);
  EXPECT_EQ(b->GetGlyphNum(false, false), 1);
  EXPECT_EQ(b->GetGlyphNum(true, true), 3);
  EXPECT_EQ(b->GetGlyphNum(false, true), 4);
  b->SetEnabled(false);
  EXPECT_EQ(b->GetGlyphNum(false, false), 2);
  b->SetNumGlyphs(1);
  EXPECT_EQ(b->GetGlyphNum(true, true), 1);
  b->SetGroupIndex(1);
  EXPECT_FALSE(b->CanFocused());
}

TEST_F(SkinCtrls, DefaultLookColours) {
  TksSkinButton* b = NewButton(form);
  EXPECT_EQ(PaintAndSample(*b, 0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(PaintAndSample(*b, 3, 3), Rgb(clBtnFace));
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(PaintAndSample(*b, 0, 0), Rgb(static_cast<TColor>(0x800000)));
  EXPECT_EQ(PaintAndSample(*b, 3, 3), Rgb(static_cast<TColor>(0xD2BDB6)));
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(PaintAndSample(*b, 3, 3), Rgb(static_cast<TColor>(0xB59385)));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(SkinCtrls, SkinnedLookTakesTheFaceOfEachState) {
  TksSkinButton* b = NewButton(form);
  b->SetSkinData(&data);
  ASSERT_EQ(b->ResizeMode, 1);
  EXPECT_EQ(PaintAndSample(*b, 1, 1), SkinPixel(1, 1));
  EXPECT_EQ(PaintAndSample(*b, 74, 24), SkinPixel(63, 23));
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(PaintAndSample(*b, 1, 1), SkinPixel(64 + 1, 1));
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(PaintAndSample(*b, 1, 1), SkinPixel(128 + 1, 1));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  b->SetEnabled(false);
  EXPECT_EQ(PaintAndSample(*b, 1, 1), SkinPixel(192 + 1, 1));
}

TEST_F(SkinCtrls, ClickOnReleaseOnlyOverTheButton) {
  TksSkinButton* b = NewButton(form);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(b->Down());
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());

  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());
}

TEST_F(SkinCtrls, GroupedButtonsReleaseEachOther) {
  TksSkinButton* a = NewButton(form);
  TksSkinButton* b = NewButton(form);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  a->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);  // at once, on the press
  a->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(a->Down());
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  // Pressing a down button again does nothing without AllowAllUp.
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->Down());
  b->AllowAllUp = true;
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(b->Down());
}

void FireRepeat(TksSkinButton* b) {
  ASSERT_NE(b->RepeatTimer(), nullptr);
  SendMessageA(TTimer::TimerWindow(), WM_TIMER, b->RepeatTimer()->TimerId(), 0);
}

TEST_F(SkinCtrls, RepeatClicksWhileHeldAndStopsWhenLeftOrDisabled) {
  TksSkinButton* b = NewButton(form);
  b->RepeatMode = true;
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_NE(b->RepeatTimer(), nullptr);
  EXPECT_EQ(b->RepeatTimer()->Interval(), 100u);
  for (int i = 0; i < 3; ++i) FireRepeat(b);
  EXPECT_EQ(clicks, 3);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b->RepeatTimer(), nullptr);
  b->Perform(CM_MOUSEENTER, 0, 0);
  FireRepeat(b);
  EXPECT_EQ(clicks, 4);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 5);  // one more on release
  EXPECT_EQ(b->RepeatTimer(), nullptr);

  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->SetEnabled(false);
  EXPECT_EQ(b->RepeatTimer(), nullptr);
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->SetEnabled(true);
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(WM_CANCELMODE, 0, 0);
  EXPECT_EQ(b->RepeatTimer(), nullptr);
}

TEST_F(SkinCtrls, DialogKeysAndModalResult) {
  form->Show();
  TksSkinButton* ok = NewButton(form);
  TksSkinButton* cancel = NewButton(form);
  ok->SetDefault(true);
  ok->ModalResult = mrOk;
  cancel->Cancel = true;
  cancel->ModalResult = mrCancel;
  int okClicks = 0, cancelClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };

  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_EQ(cancel->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(cancel->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  // Alt held (bit 29 of the key data): Escape is not a click.
  EXPECT_EQ(cancel->Perform(CM_DIALOGKEY, VK_ESCAPE, 0x20000000), 0);
  EXPECT_EQ(cancelClicks, 1);

  // A default button that cannot take the focus does not answer Enter.
  ok->SetEnabled(false);
  ok->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(okClicks, 1);

  // A grouped button never sets the form's result.
  form->SetModalResult(mrNone);
  TksSkinButton* grouped = NewButton(form);
  grouped->SetGroupIndex(2);
  grouped->ModalResult = mrOk;
  grouped->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(form->ModalResult(), mrNone);
  form->Hide();
}

TEST_F(SkinCtrls, MorphStepsInFifthsBothWays) {
  auto& d = dynamic_cast<TksDataSkinButtonControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("button"))]);
  d.Morphing = true;
  TksSkinButton* b = NewButton(form);
  b->SetSkinData(&data);
  auto fire = [&] { SendMessageA(TTimer::TimerWindow(), WM_TIMER, b->MorphTimer()->TimerId(), 0); };
  b->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_NE(b->MorphTimer(), nullptr);
  EXPECT_EQ(b->MorphTimer()->Interval(), 20u);
  fire();
  fire();
  EXPECT_EQ(b->MorphSteps(), 2);
  const COLORREF normal = SkinPixel(1, 1), active = SkinPixel(65, 1), mid = PaintAndSample(*b, 1, 1);
  ASSERT_NE(normal, active);
  EXPECT_NE(mid, normal);
  EXPECT_NE(mid, active);
  for (int i = 0; i < 4; ++i) fire();  // three more steps, then the stop
  EXPECT_EQ(b->MorphSteps(), 5);
  EXPECT_EQ(b->MorphTimer(), nullptr);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  for (int i = 0; i < 5; ++i) fire();
  EXPECT_EQ(b->MorphSteps(), 0);
  fire();
  EXPECT_EQ(b->MorphTimer(), nullptr);
  EXPECT_EQ(PaintAndSample(*b, 1, 1), normal);
}

}  // namespace
