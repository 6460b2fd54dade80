// The skinned control bases and the skinned button: finding the description,
// resize modes, layout of glyph and text, both looks painted into memory, clicks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/gui/actions.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "framework/gui/imagelist.h"
#include "framework/gui/stdctrls.h"
#include "framework/testsupport/SourcePath.h"
#include "skin/controls/ksSkinCtrls.h"
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

// Pixels that differ between two bitmaps of one size.
int Differences(TBitmap& a, TBitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y)) ++n;
  return n;
}

TEST_F(SkinCtrls, DescriptionOfAnotherKindGivesThePlainLookWithItsCaption) {
  // The button had a fading skin before its name came to stand for another kind.
  dynamic_cast<TksDataSkinButtonControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("button"))])
      .Morphing = true;
  // A face with a picture, one without, and a description that moves and sizes its face.
  for (const char* name : {"panel", "stdlabel", "gauge"}) {
    SCOPED_TRACE(name);
    TksSkinButton* plain = NewButton(form);
    TksSkinButton* other = NewButton(form);
    other->SetSkinData(&data);
    ASSERT_TRUE(other->Morphing);
    other->SetSkinDataName(name);
    other->ChangeSkinData();
    ASSERT_NE(other->ControlIndex(), -1);
    for (TksSkinButton* b : {plain, other}) {
      b->SetBounds(10, 10, 90, 30);
      b->SetCaption("Recover");
    }
    ASSERT_EQ(other->Width(), plain->Width());
    ASSERT_EQ(other->Height(), plain->Height());
    // Normal, hot and pressed, each button in turn: a press moves the focus.
    auto looks = [&](TksSkinButton* b) {
      std::vector<std::unique_ptr<TBitmap>> shots;
      auto shoot = [&] {
        shots.push_back(std::make_unique<TBitmap>(1, 1));
        PaintInto(*b, *shots.back());
      };
      shoot();
      b->Perform(CM_MOUSEENTER, 0, 0);
      shoot();
      b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      shoot();
      b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      return shots;
    };
    auto want = looks(plain);
    auto got = looks(other);
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(Differences(*want[i], *got[i]), 0) << "state " << i;
    EXPECT_EQ(other->MorphTimer(), nullptr);  // the plain look does not fade
  }
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
  Click(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  // Pressing a down button again does nothing without AllowAllUp.
  Click(b);
  EXPECT_TRUE(b->Down());
  b->AllowAllUp = true;
  Click(b);
  EXPECT_FALSE(b->Down());
}

TEST_F(SkinCtrls, RepeatClicksWhileHeldAndStopsWhenLeftOrDisabled) {
  TksSkinButton* b = NewButton(form);
  b->RepeatMode = true;
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_NE(b->RepeatTimer(), nullptr);
  EXPECT_EQ(b->RepeatTimer()->Interval(), 100u);
  for (int i = 0; i < 3; ++i) FireTimer(b->RepeatTimer());
  EXPECT_EQ(clicks, 3);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b->RepeatTimer(), nullptr);
  b->Perform(CM_MOUSEENTER, 0, 0);
  FireTimer(b->RepeatTimer());
  EXPECT_EQ(clicks, 4);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 5);  // one more on release
  EXPECT_EQ(b->RepeatTimer(), nullptr);

  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->SetEnabled(false);
  EXPECT_EQ(b->RepeatTimer(), nullptr);
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->SetEnabled(true);
  // Whatever ends the press ends the clicks: cancel mode, capture or focus loss.
  for (UINT end : {WM_CANCELMODE, WM_CAPTURECHANGED, WM_KILLFOCUS}) {
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_NE(b->RepeatTimer(), nullptr) << end;
    b->Perform(end, 0, 0);
    EXPECT_EQ(b->RepeatTimer(), nullptr) << end;
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
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

  // Enter clicks the default button while it is enabled, even one that never takes
  // the focus; a disabled or hidden one does not answer.
  ok->SetCanFocused(false);
  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(okClicks, 2);
  ok->SetCanFocused(true);
  ok->SetEnabled(false);
  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  ok->SetEnabled(true);
  ok->SetVisible(false);
  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(okClicks, 2);

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
  auto fire = [&] { FireTimer(b->MorphTimer()); };
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

TEST_F(SkinCtrls, ReleasedOutsideWhileMorphingKeepsTheActiveFace) {
  auto& d = dynamic_cast<TksDataSkinButtonControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("button"))]);
  d.Morphing = true;
  TksSkinButton* b = NewButton(form);
  b->SetCanFocused(false);
  b->SetSkinData(&data);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->Perform(CM_MOUSEENTER, 0, 0);
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b->MorphSteps(), 5);  // held and dragged off: still the active face
  // Released outside: no click, the button is up, and it keeps the active face
  // without a fade until the pointer comes and goes again.
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->MorphTimer(), nullptr);
  EXPECT_EQ(b->MorphSteps(), 5);
  EXPECT_EQ(PaintAndSample(*b, 1, 1), SkinPixel(65, 1));
  b->Perform(CM_MOUSEENTER, 0, 0);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  for (int i = 0; i < 6; ++i) FireTimer(b->MorphTimer());  // five steps, then the stop
  EXPECT_EQ(b->MorphSteps(), 0);
  EXPECT_EQ(PaintAndSample(*b, 1, 1), SkinPixel(1, 1));
}

// The faces a button shows, read for the look under test: the unskinned colours,
// or pixels of the skin picture at the description's rectangles.
struct Faces {
  COLORREF normal, active;
  int x, y;  // where to sample the control
};

class SkinButtonFocus : public SkinCtrls, public ::testing::WithParamInterface<bool> {
 protected:
  TksSkinButton* Button() {
    TksSkinButton* b = NewButton(form);
    if (GetParam()) b->SetSkinData(&data);
    return b;
  }
  Faces FacesOf(TksSkinButton* b) {
    if (!GetParam()) return Faces{Rgb(clBtnFace), Rgb(static_cast<TColor>(0xD2BDB6)), 3, 3};
    b->GetSkinData();
    return Faces{SkinPixel(b->SkinRect.Left + 1, b->SkinRect.Top + 1),
                 SkinPixel(b->ActiveSkinRect.Left + 1, b->ActiveSkinRect.Top + 1), 1, 1};
  }
  void SetUp() override {
    SkinCtrls::SetUp();
    // Fades would show in-between faces; the faces themselves are under test here.
    dynamic_cast<TksDataSkinButtonControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("button"))])
        .Morphing = false;
  }
};

TEST_P(SkinButtonFocus, DefaultButtonLightsWhileTheFocusIsOnAnotherKindOfControl) {
  TksSkinButton* ok = Button();
  TksSkinButton* other = Button();
  other->SetLeft(100);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 60, 80, 20);
  ok->SetDefault(true);
  int okClicks = 0, otherClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  other->OnClick = [&](TObject*) { ++otherClicks; };
  ShowAndActivate();
  const Faces f = FacesOf(ok);
  ASSERT_NE(f.normal, f.active);

  edit->SetFocus();
  ASSERT_EQ(GetFocus(), edit->Handle());
  EXPECT_TRUE(ok->ActiveDefault());
  EXPECT_EQ(PaintAndSample(*ok, f.x, f.y), f.active);
  // The pointer passing over and off keeps the highlight.
  ok->Perform(CM_MOUSEENTER, 0, 0);
  ok->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(PaintAndSample(*ok, f.x, f.y), f.active);
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(okClicks, 1);

  other->SetFocus();
  ASSERT_EQ(GetFocus(), other->Handle());
  EXPECT_FALSE(ok->ActiveDefault());
  EXPECT_TRUE(other->ActiveDefault());
  EXPECT_EQ(PaintAndSample(*ok, f.x, f.y), f.normal);
  // Enter now belongs to the focused button.
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(otherClicks, 1);

  edit->SetFocus();
  EXPECT_TRUE(ok->ActiveDefault());
  EXPECT_EQ(PaintAndSample(*ok, f.x, f.y), f.active);
  // A plain button loses its highlight when the pointer leaves.
  other->Perform(CM_MOUSEENTER, 0, 0);
  other->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(PaintAndSample(*other, f.x, f.y), f.normal);
  // No longer the default: no longer lit, and Enter clicks nothing.
  ok->SetDefault(false);
  EXPECT_FALSE(ok->ActiveDefault());
  EXPECT_EQ(PaintAndSample(*ok, f.x, f.y), f.normal);
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(okClicks, 1);
}

TEST_P(SkinButtonFocus, SettingDefaultAfterCreationTellsTheForm) {
  TksSkinButton* a = Button();
  TksSkinButton* b = Button();
  b->SetLeft(100);
  ShowAndActivate();
  a->SetFocus();
  ASSERT_EQ(GetFocus(), a->Handle());
  b->SetDefault(true);
  EXPECT_TRUE(a->ActiveDefault());  // the focused button keeps Enter
  EXPECT_FALSE(b->ActiveDefault());
  const Faces f = FacesOf(b);
  EXPECT_EQ(PaintAndSample(*b, f.x, f.y), f.normal);
}

TEST_P(SkinButtonFocus, PressTakesTheFocusAndFocusedButtonLooksActive) {
  TksSkinButton* a = Button();
  TksSkinButton* b = Button();
  b->SetLeft(100);
  ShowAndActivate();
  a->SetFocus();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), b->Handle());
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  const Faces f = FacesOf(b);
  EXPECT_EQ(PaintAndSample(*b, f.x, f.y), f.active);  // focused
  EXPECT_EQ(PaintAndSample(*a, f.x, f.y), f.normal);
  // Space presses and releases it: one click on release.
  b->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks, 1);
  b->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clicks, 2);
}

INSTANTIATE_TEST_SUITE_P(BothLooks, SkinButtonFocus, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Skinned" : "Plain"; });

// A control that goes through the bases' focus-on-click step and counts what it
// lets through.
class FocusProbe : public TksSkinCustomControl {
 public:
  using TksSkinCustomControl::TksSkinCustomControl;
  TWinControl* refuseTo = nullptr;  // hands the focus straight on to this one
  bool commandOnFocus = false;      // a command notification arrives while the focus moves
  int presses = 0, commands = 0;

 protected:
  void WMSetFocus(TMessage& Message) override {
    TksSkinCustomControl::WMSetFocus(Message);
    if (commandOnFocus) Perform(CN_COMMAND, 0, 0);
    if (refuseTo != nullptr) ::SetFocus(refuseTo->Handle());
  }
  void WndProc(TMessage& Message) override {
    if (!FocusForClick(Message)) return;
    if (Message.Msg == WM_LBUTTONDOWN) ++presses;
    if (Message.Msg == CN_COMMAND) ++commands;
    TksSkinCustomControl::WndProc(Message);
  }
};

struct FocusClickCase {
  bool refuse;
  int presses;  // of two presses
  bool focused;
};

TEST_F(SkinCtrls, PressTakesTheFocusFirstAndHoldsBackCommandsMeanwhile) {
  for (const FocusClickCase& k : {FocusClickCase{false, 2, true}, FocusClickCase{true, 0, false}}) {
    auto* other = new FocusProbe(form);
    other->SetParent(form);
    auto* p = new FocusProbe(form);
    p->SetParent(form);
    p->SetBounds(100, 10, 50, 20);
    p->commandOnFocus = true;
    if (k.refuse) p->refuseTo = other;
    ShowAndActivate();
    other->SetFocus();
    ASSERT_EQ(GetFocus(), other->Handle());

    p->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(p->commands, 0) << k.refuse;  // sent while the focus moved: no click
    p->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(p->presses, k.presses) << k.refuse;
    EXPECT_EQ(p->Focused(), k.focused) << k.refuse;
    p->Perform(CN_COMMAND, 0, 0);
    EXPECT_EQ(p->commands, 1) << k.refuse;  // once the focus is settled it passes
    form->Hide();
    p->Free();
    other->Free();
  }
}

// A SetUp that stopped before the form was made still tears down cleanly.
class SkinCtrlsWithoutForm : public SkinCtrls {
 protected:
  void SetUp() override {}
};

TEST_F(SkinCtrlsWithoutForm, TearDownWithoutAFormFreesNothing) { EXPECT_EQ(form, nullptr); }

TEST_F(SkinCtrls, EnterTypedOnAFocusedButtonClicksItOnceAndNotTheDefault) {
  TksSkinButton* ok = NewButton(form);
  TksSkinButton* other = NewButton(form);
  ok->SetDefault(true);
  int okClicks = 0, otherClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  other->OnClick = [&](TObject*) { ++otherClicks; };
  ShowAndActivate();
  other->SetFocus();
  ASSERT_EQ(GetFocus(), other->Handle());
  PostMessageA(other->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(other->Handle(), WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001));
  Application->ProcessMessages();
  EXPECT_EQ(otherClicks, 1);
  EXPECT_EQ(okClicks, 0);
}

TEST_F(SkinCtrls, FocusStartsTheFadeWhenMorphing) {
  auto& d = dynamic_cast<TksDataSkinButtonControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("button"))]);
  d.Morphing = true;
  TksSkinButton* b = NewButton(form);
  b->SetSkinData(&data);
  ShowAndActivate();
  b->SetFocus();
  ASSERT_EQ(GetFocus(), b->Handle());
  ASSERT_NE(b->MorphTimer(), nullptr);
  for (int i = 0; i < 6; ++i) FireTimer(b->MorphTimer());
  EXPECT_EQ(b->MorphSteps(), 5);
  SetFocus(form->Handle());
  ASSERT_NE(b->MorphTimer(), nullptr);  // fading back out
}

struct AccelCase {
  const char* caption;
  char key;
  bool enabled;
  int groupIndex;  // non-zero: the button cannot take the focus
  int clicks;
};

TEST_F(SkinCtrls, AcceleratorClicksOnceWhenTheButtonCanTakeTheFocus) {
  const AccelCase cases[] = {
      {"&Save", 's', true, 0, 1},  {"&Save", 'S', true, 0, 1}, {"Sa&ve", 'v', true, 0, 1},
      {"&Save", 'a', true, 0, 0},  {"&&Save", 's', true, 0, 0}, {"&Save", 's', false, 0, 0},
      {"&Save", 's', true, 1, 0},
  };
  ShowAndActivate();
  for (const auto& k : cases) {
    TksSkinButton* b = NewButton(form);
    b->SetCaption(k.caption);
    b->SetEnabled(k.enabled);
    b->SetGroupIndex(k.groupIndex);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    SetFocus(form->Handle());
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, static_cast<WPARAM>(k.key), 0), k.clicks) << k.caption << " " << k.key;
    EXPECT_EQ(clicks, k.clicks) << k.caption << " " << k.key;
    EXPECT_EQ(GetFocus() == b->Handle(), k.clicks == 1) << k.caption << " " << k.key;
    b->Free();
  }
}

// A handler that records who called it.
struct Handler {
  int calls = 0;
  TObject* sender = nullptr;
  void Run(TObject* s) {
    ++calls;
    sender = s;
  }
};

TEST_F(SkinCtrls, ActionRunsUnlessTheButtonHasAHandlerOfItsOwn) {
  ShowAndActivate();
  TksSkinButton* b = NewButton(form);
  auto* action = new TAction(form);
  Handler executed, own;
  action->OnExecute = Bind<&Handler::Run>(&executed);
  b->SetAction(action);
  EXPECT_EQ(b->Action(), action);

  Click(b);  // no OnClick: the action
  EXPECT_EQ(executed.calls, 1);
  EXPECT_EQ(executed.sender, action);

  b->OnClick = Bind<&Handler::Run>(&executed);  // the same handler: it runs once, through the action
  Click(b);
  EXPECT_EQ(executed.calls, 2);
  EXPECT_EQ(executed.sender, action);

  b->OnClick = Bind<&Handler::Run>(&own);  // a different one wins
  Click(b);
  EXPECT_EQ(executed.calls, 2);
  EXPECT_EQ(own.calls, 1);
  EXPECT_EQ(own.sender, b);

  action->Free();  // forgotten: the button's own handler again
  EXPECT_EQ(b->Action(), nullptr);
  b->OnClick.Clear();
  b->SetDefault(true);
  b->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(executed.calls, 2);
}

struct ActionGlyphCase {
  bool withList;
  int imageIndex;
  bool glyphBefore;
  bool glyphFromImage;
};

TEST_F(SkinCtrls, ActionImageBecomesTheGlyph) {
  const TColor ink = static_cast<TColor>(0x2060C0);
  const TColor fuchsia = static_cast<TColor>(0xFF00FF);
  // Top half ink, bottom half the list's mask colour (a glyph's see-through
  // colour is the one of its bottom-left pixel).
  TBitmap picture(16, 16);
  picture.Canvas()->Brush()->SetColor(fuchsia);
  picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
  picture.Canvas()->Brush()->SetColor(ink);
  picture.Canvas()->FillRect(TRect{0, 0, 16, 8});
  TImageList images(16, 16);
  ASSERT_EQ(images.AddMasked(&picture, fuchsia), 0);
  auto* list = new TActionList(form);
  list->SetImages(&images);

  const ActionGlyphCase cases[] = {
      {true, 0, false, true}, {true, 1, false, false}, {true, -1, false, false},
      {false, 0, false, false}, {true, 0, true, false},
  };
  for (const auto& k : cases) {
    TksSkinButton* b = NewButton(form);
    auto* action = new TAction(form);
    action->ImageIndex = k.imageIndex;
    if (k.withList) action->SetActionList(list);
    TBitmap own(4, 4);
    if (k.glyphBefore) b->SetGlyph(&own);
    b->SetAction(action);
    const char* what = k.glyphBefore ? "glyph set" : (k.withList ? "list" : "no list");
    if (k.glyphFromImage) {
      ASSERT_EQ(b->Glyph()->Width(), 16) << what;
      EXPECT_EQ(b->Glyph()->Canvas()->Pixels(8, 2), ink);
      EXPECT_EQ(b->Glyph()->Canvas()->Pixels(8, 12), fuchsia);
      // Painted where the layout puts it, the fuchsia half see-through.
      const TksLayoutCoords c = CalcLayoutCoords(blGlyphLeft, TRect{0, 0, 75, 25}, 16, 16, 0, 0, 1, -1);
      TBitmap shot;
      PaintInto(*b, shot);
      EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(c.gx + 8, c.gy + 2)), Rgb(ink));
      EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(c.gx + 8, c.gy + 12)), Rgb(clBtnFace));
    } else {
      EXPECT_EQ(b->Glyph()->Width(), k.glyphBefore ? 4 : 0) << what << " " << k.imageIndex;
    }
    b->Free();
    action->Free();
  }
}

struct ImageTextCase {
  int layout, margin;
  bool pressed, enabled;
};

TEST_F(SkinCtrls, DrawImageAndTextPlacesTheImageBesideTheCaption) {
  const TColor ink = static_cast<TColor>(0x1030E0);
  TBitmap picture(16, 16);
  picture.Canvas()->Brush()->SetColor(ink);
  picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
  TImageList images(16, 16);
  ASSERT_EQ(images.AddMasked(&picture, static_cast<TColor>(0xFF00FF)), 0);
  const TRect r{0, 0, 120, 60};
  const String caption = "Ok";
  const ImageTextCase cases[] = {
      {blGlyphLeft, -1, false, true}, {blGlyphLeft, 4, true, true},   {blGlyphRight, 3, false, true},
      {blGlyphTop, 2, false, true},   {blGlyphBottom, -1, true, true}, {blGlyphLeft, 4, false, false},
  };
  for (const auto& k : cases) {
    TBitmap shot(r.Right, r.Bottom);
    TCanvas* c = shot.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(r);
    RECT tr{0, 0, 0, 0};
    DrawTextA(c->Handle(), caption.c_str(), static_cast<int>(caption.size()), &tr, DT_CALCRECT);
    DrawImageAndText(c, r, k.margin, 1, k.layout, caption, &images, 0, k.pressed, k.enabled);
    TksLayoutCoords at = CalcLayoutCoords(k.layout, r, 16, 16, tr.right, tr.bottom, 1, k.margin);
    const int shift = k.pressed ? 1 : 0;
    const COLORREF expected = k.enabled ? Rgb(ink) : Rgb(clBtnShadow);
    EXPECT_EQ(static_cast<COLORREF>(c->Pixels(at.gx + shift, at.gy + shift)), expected) << k.layout << "/" << k.margin;
    EXPECT_EQ(static_cast<COLORREF>(c->Pixels(at.gx + 8, at.gy + 8)), expected) << k.layout << "/" << k.margin;
    if (k.pressed) {
      EXPECT_EQ(static_cast<COLORREF>(c->Pixels(at.gx, at.gy)), Rgb(clWhite));
    }
    // The caption is drawn too, beside the image.
    bool text = false;
    for (int y = at.ty + shift; y < at.ty + shift + tr.bottom && !text; ++y)
      for (int x = at.tx + shift; x < at.tx + shift + tr.right && !text; ++x)
        text = static_cast<COLORREF>(c->Pixels(x, y)) != Rgb(clWhite);
    EXPECT_TRUE(text) << k.layout << "/" << k.margin;
  }
  // An index outside the list draws the caption alone.
  for (int index : {-1, 1}) {
    TBitmap shot(r.Right, r.Bottom);
    TCanvas* c = shot.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(r);
    DrawImageAndText(c, r, -1, 1, blGlyphLeft, caption, &images, index, false, true);
    int inked = 0;
    for (int y = 0; y < r.Bottom; ++y)
      for (int x = 0; x < r.Right; ++x) inked += static_cast<COLORREF>(c->Pixels(x, y)) == Rgb(ink) ? 1 : 0;
    EXPECT_EQ(inked, 0) << index;
  }
  TBitmap shot(r.Right, r.Bottom);
  DrawImageAndText(shot.Canvas(), r, -1, 1, blGlyphLeft, caption, nullptr, 0, false, true);  // no list: no crash
}

}  // namespace
