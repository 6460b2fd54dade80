// The skinned tool bar: arrow buttons in the frame when its buttons do not fit,
// scrolling by clicks and by the repeat timer, the hit test, and what it hands on
// to its speed buttons and bevels; both looks painted into memory.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <vector>

#include "framework/core/seams.h"
#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinBevel.h"
#include "skin/controls/ksSkinSpeedButton.h"
#include "skin/tests/ksFakeTimers.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksSkinToolBar.h"

namespace {

using namespace skintest;

constexpr WPARAM kLeft = TksSkinToolBar::kHitLeftButton;
constexpr WPARAM kRight = TksSkinToolBar::kHitRightButton;

class SkinToolBar : public SkinCtrls {
 protected:
  // A scrolling bar of the given width holding `count` buttons 25 wide, side by side.
  TksSkinToolBar* NewBar(int width, int count, bool aligned = false) {
    auto* bar = new TksSkinToolBar(form);
    bar->SetParent(form);
    bar->SetCanScroll(true);
    bar->SetBounds(0, 0, 400, 25);
    bar->HandleNeeded();
    for (int i = 0; i < count; ++i) {
      auto* b = new TksSkinSpeedButton(form);
      b->SetBounds(i * 25, 0, 25, 25);
      if (aligned) b->SetAlign(alLeft);
      b->SetParent(bar);
      buttons.push_back(b);
    }
    bar->SetBounds(0, 0, width, 25);  // the position change measures the children
    return bar;
  }
  static void Click(TksSkinToolBar* bar, WPARAM hit) {
    bar->Perform(WM_NCLBUTTONDOWN, hit, 0);
    bar->Perform(WM_NCLBUTTONUP, hit, 0);
  }
  int LastRight() const { return buttons.back()->Left() + buttons.back()->Width(); }

  std::vector<TksSkinSpeedButton*> buttons;
};

TEST_F(SkinToolBar, CreatedAsAToolPanel) {
  TksSkinToolBar bar(nullptr);
  EXPECT_EQ(bar.SkinDataName(), "toolpanel");
  EXPECT_EQ(bar.Height(), 25);
  EXPECT_EQ(bar.BorderStyle(), TksSkinBorderStyle::bvNone);
  EXPECT_EQ(bar.ScrollTimerInterval(), 50);
  bar.SetScrollOffset(-5);
  bar.SetScrollTimerInterval(0);
  EXPECT_EQ(bar.ScrollOffset(), 0);
  EXPECT_EQ(bar.ScrollTimerInterval(), 50);
}

TEST_F(SkinToolBar, ButtonsThatFitShowNoArrows) {
  TksSkinToolBar* bar = NewBar(200, 4);
  EXPECT_FALSE(bar->ScrollButtonsVisible());
  EXPECT_EQ(bar->ClientWidth(), 200);
  RECT r{0, 0, 200, 25};
  bar->Perform(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 200);
}

TEST_F(SkinToolBar, ButtonsThatDoNotFitGetArrowsInTheFrameWithoutANewWindow) {
  TksSkinToolBar* bar = NewBar(300, 6);
  const HWND before = bar->Handle();
  bar->SetWidth(100);
  EXPECT_TRUE(bar->ScrollButtonsVisible());
  EXPECT_EQ(bar->Handle(), before);  // the frame is measured again, the window stays
  EXPECT_EQ(bar->ClientWidth(), 100 - 2 * TksSkinToolBar::kScrollButtonWidth);
  RECT r{0, 0, 100, 25};
  bar->Perform(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 12);
  EXPECT_EQ(r.right, 88);
  bar->SetWidth(300);  // room again: the arrows go
  EXPECT_FALSE(bar->ScrollButtonsVisible());
  EXPECT_EQ(bar->ClientWidth(), 300);
  EXPECT_EQ(bar->Handle(), before);
}

TEST_F(SkinToolBar, EachClickScrollsAWholeClientWidthButNeverPastTheLastChild) {
  TksSkinToolBar* bar = NewBar(100, 12);  // 300 pixels of buttons in 76 of client
  const int cw = bar->ClientWidth();
  ASSERT_EQ(cw, 76);
  const int expected[] = {76, 152, 300 - cw, 300 - cw};
  for (int pos : expected) {
    Click(bar, kRight);
    EXPECT_EQ(bar->ScrollPos(), pos);
    EXPECT_EQ(buttons.front()->Left(), -pos);
  }
  EXPECT_EQ(LastRight(), cw);  // the last child ends at the right arrow
  const int back[] = {300 - 2 * cw, 300 - 3 * cw, 0, 0};
  for (int pos : back) {
    Click(bar, kLeft);
    EXPECT_EQ(bar->ScrollPos(), pos);
    EXPECT_EQ(buttons.front()->Left(), -pos);
  }
}

TEST_F(SkinToolBar, GrowingAScrolledBarBringsBackChildrenFromTheLeft) {
  TksSkinToolBar* bar = NewBar(100, 12);
  bar->SetScrollOffset(1000);
  Click(bar, kRight);
  ASSERT_EQ(bar->ScrollPos(), 300 - 76);
  bar->SetWidth(150);  // 50 more pixels: the children move right by them
  EXPECT_TRUE(bar->ScrollButtonsVisible());
  EXPECT_EQ(bar->ScrollPos(), 300 - 126);
  EXPECT_EQ(LastRight(), bar->ClientWidth());
  bar->SetWidth(400);  // everything fits: back to the start
  EXPECT_FALSE(bar->ScrollButtonsVisible());
  EXPECT_EQ(bar->ScrollPos(), 0);
  EXPECT_EQ(buttons.front()->Left(), 0);
}

// With every child hidden the arrows go, but the scroll stays for when they come back.
TEST_F(SkinToolBar, HiddenChildrenTakeTheArrowsButKeepTheScroll) {
  TksSkinToolBar* bar = NewBar(100, 12);
  Click(bar, kRight);
  ASSERT_EQ(bar->ScrollPos(), 76);
  for (auto* b : buttons) b->SetVisible(false);
  bar->SetWidth(101);
  EXPECT_FALSE(bar->ScrollButtonsVisible());
  EXPECT_EQ(bar->ScrollPos(), 76);
  EXPECT_EQ(buttons.front()->Left(), -76);
  for (auto* b : buttons) b->SetVisible(true);
  bar->SetWidth(100);
  EXPECT_TRUE(bar->ScrollButtonsVisible());
  EXPECT_EQ(bar->ScrollPos(), 76);
  EXPECT_EQ(buttons.front()->Left(), -76);
  // Scrolling switched off brings the children back and takes the arrows.
  bar->SetCanScroll(false);
  EXPECT_EQ(bar->ScrollPos(), 0);
  EXPECT_EQ(buttons.front()->Left(), 0);
  EXPECT_EQ(bar->ClientWidth(), 100);
}

// A bar that does not scroll still measures its children, but its frame keeps no
// room for arrows.
TEST_F(SkinToolBar, ABarThatDoesNotScrollMeasuresButShowsNoArrows) {
  TksSkinToolBar* bar = NewBar(100, 12);
  bar->SetCanScroll(false);
  bar->SetWidth(90);
  EXPECT_EQ(bar->ScrollExtent(), 299);
  EXPECT_EQ(bar->ScrollPos(), 0);
  EXPECT_EQ(bar->ClientWidth(), 90);
  EXPECT_EQ(buttons.front()->Left(), 0);
}

TEST_F(SkinToolBar, AlignedChildrenScrollWithTheBar) {
  TksSkinToolBar* bar = NewBar(100, 6, true);
  ASSERT_TRUE(bar->ScrollButtonsVisible());
  Click(bar, kRight);
  EXPECT_EQ(bar->ScrollPos(), 150 - 76);
  EXPECT_EQ(buttons.front()->Left(), -74);
  EXPECT_EQ(LastRight(), 76);
  EXPECT_EQ(buttons.front()->Top(), 1);  // between the drawn edges of the unskinned bar
}

TEST_F(SkinToolBar, HitTestAnswersTheArrowsAlsoLeftOfThePrimaryMonitor) {
  TksSkinToolBar* bar = NewBar(100, 6);
  ASSERT_TRUE(bar->ScrollButtonsVisible());
  for (int formLeft : {-600, 50}) {
    form->SetBounds(formLeft, 40, 300, 200);
    RECT w;
    GetWindowRect(bar->Handle(), &w);
    if (formLeft < 0) {
      ASSERT_LT(w.right, 0) << "the bar must lie at negative screen coordinates";
    }
    struct Case {
      int x;
      LRESULT hit;
    };
    const Case cases[] = {
        {w.left + 3, TksSkinToolBar::kHitLeftButton},
        {w.left + 11, TksSkinToolBar::kHitLeftButton},
        {w.right - 12, TksSkinToolBar::kHitRightButton},
        {w.right - 1, TksSkinToolBar::kHitRightButton},
        {w.left + 50, HTCLIENT},
    };
    for (const Case& c : cases) {
      const LPARAM at = MAKELPARAM(static_cast<WORD>(c.x), static_cast<WORD>(w.top + 5));
      EXPECT_EQ(bar->Perform(WM_NCHITTEST, 0, at), c.hit) << "form at " << formLeft << ", x " << c.x;
    }
  }
}

TEST_F(SkinToolBar, HoldingAnArrowRepeatsOnEachTimerTickUntilTheEnd) {
  FakeTimers timers;
  TksSkinToolBar* bar = NewBar(100, 12);
  bar->SetScrollOffset(100);
  bar->SetScrollTimerInterval(30);
  bar->Perform(WM_NCLBUTTONDOWN, kRight, 0);
  EXPECT_EQ(bar->ScrollPos(), 0);  // a press alone does not scroll
  ASSERT_EQ(timers.armed.count(TksSkinToolBar::kScrollTimerId), 1u);
  EXPECT_EQ(timers.armed[TksSkinToolBar::kScrollTimerId], 30u);
  const int expected[] = {100, 200, 224};
  for (int pos : expected) {
    bar->Perform(WM_TIMER, TksSkinToolBar::kScrollTimerId, 0);
    EXPECT_EQ(bar->ScrollPos(), pos);
  }
  EXPECT_TRUE(bar->ScrollTimerRunning());
  bar->Perform(WM_TIMER, TksSkinToolBar::kScrollTimerId, 0);  // nothing left to scroll: stops
  EXPECT_FALSE(bar->ScrollTimerRunning());
  EXPECT_EQ(timers.armed.count(TksSkinToolBar::kScrollTimerId), 0u);
  EXPECT_EQ(LastRight(), bar->ClientWidth());
  bar->Perform(WM_NCLBUTTONUP, kRight, 0);
  EXPECT_EQ(bar->ScrollPos(), 224);
}

TEST_F(SkinToolBar, DisablingOrDestroyingStopsTheRepeat) {
  FakeTimers timers;
  TksSkinToolBar* bar = NewBar(100, 12);
  bar->Perform(WM_NCLBUTTONDOWN, kRight, 0);
  ASSERT_TRUE(bar->ScrollTimerRunning());
  bar->SetEnabled(false);
  EXPECT_FALSE(bar->ScrollTimerRunning());
  EXPECT_EQ(timers.armed.count(TksSkinToolBar::kScrollTimerId), 0u);
  bar->Perform(WM_TIMER, TksSkinToolBar::kScrollTimerId, 0);  // a late tick does nothing
  EXPECT_EQ(bar->ScrollPos(), 0);
  bar->Perform(WM_NCLBUTTONDOWN, kRight, 0);  // a disabled bar takes no press
  EXPECT_FALSE(bar->ScrollTimerRunning());

  bar->SetEnabled(true);
  bar->Perform(WM_NCLBUTTONDOWN, kRight, 0);
  ASSERT_TRUE(bar->ScrollTimerRunning());
  const HWND wnd = bar->Handle();
  timers.killedOn.clear();
  bar->Free();
  EXPECT_EQ(timers.armed.count(TksSkinToolBar::kScrollTimerId), 0u);
  ASSERT_EQ(timers.killedOn.size(), 1u);
  EXPECT_EQ(timers.killedOn[0], wnd);
}

TEST_F(SkinToolBar, HotScrollStartsOnHoverAndStopsWhenThePointerGoes) {
  FakeTimers timers;
  TksSkinToolBar* bar = NewBar(100, 12);
  bar->Perform(WM_NCMOUSEMOVE, kRight, 0);
  EXPECT_FALSE(bar->ScrollTimerRunning());  // hover alone only lights the arrow
  bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  bar->HotScroll = true;
  bar->Perform(WM_NCMOUSEMOVE, kLeft, 0);
  EXPECT_TRUE(bar->ScrollTimerRunning());
  EXPECT_EQ(bar->ScrollDirection(), 1);
  bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_FALSE(bar->ScrollTimerRunning());

  // Leaving the bar stops it too, unless the pointer is still over the bar's window.
  HWND under = bar->Handle();
  ScopedSeam<TPointerSeam> pointer{TPointerSeam{.WindowFromPoint = [&under](POINT) { return under; }}};
  bar->Perform(WM_NCMOUSEMOVE, kRight, 0);
  ASSERT_TRUE(bar->ScrollTimerRunning());
  bar->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(bar));
  EXPECT_TRUE(bar->ScrollTimerRunning());
  under = form->Handle();
  bar->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(bar));
  EXPECT_FALSE(bar->ScrollTimerRunning());
}

TEST_F(SkinToolBar, ShowCaptionsResizesOnlyWithBothWidths) {
  struct Case {
    int with, without;
    int widthShown, widthHidden;
  };
  const Case cases[] = {{300, 120, 300, 120}, {300, 0, 200, 200}, {0, 120, 200, 200}};
  for (const Case& c : cases) {
    TksSkinToolBar bar(nullptr);
    bar.SetWidth(200);
    bar.WidthWithCaptions = c.with;
    bar.WidthWithoutCaptions = c.without;
    bar.SetShowCaptions(true);
    EXPECT_EQ(bar.Width(), c.widthShown) << c.with << "/" << c.without;
    bar.SetShowCaptions(false);
    EXPECT_EQ(bar.Width(), c.widthHidden) << c.with << "/" << c.without;
  }
}

TEST_F(SkinToolBar, CaptionsReachTheButtonsOnlyWithAutoShowHide) {
  auto* bar = new TksSkinToolBar(form);
  bar->SetParent(form);
  auto* b = new TksSkinSpeedButton(form);
  b->SetParent(bar);
  b->WidthWithCaption = 60;
  b->WidthWithoutCaption = 25;
  b->SetShowCaption(false);
  EXPECT_EQ(b->Width(), 25);
  bar->SetShowCaptions(true);
  EXPECT_FALSE(b->ShowCaption());
  bar->SetShowCaptions(false);
  bar->AutoShowHideCaptions = true;
  bar->SetShowCaptions(true);
  EXPECT_TRUE(b->ShowCaption());
  EXPECT_EQ(b->Width(), 60);
  b->WidthWithoutCaption = 0;  // one width missing: the button keeps its width
  bar->SetShowCaptions(false);
  EXPECT_FALSE(b->ShowCaption());
  EXPECT_EQ(b->Width(), 60);
}

TEST_F(SkinToolBar, SkinAndFlatReachTheButtonsAndBevels) {
  auto* bar = new TksSkinToolBar(form);
  bar->SetParent(form);
  auto* b = new TksSkinSpeedButton(form);
  b->SetParent(bar);
  auto* bevel = new TksSkinBevel(form);
  bevel->SetParent(bar);
  EXPECT_EQ(bevel->FirstLineColor(), clBtnShadow);  // the plain lowered bevel until a skin comes

  bar->SetSkinData(&data);
  EXPECT_EQ(b->SkinData(), &data);
  EXPECT_EQ(b->ControlIndex(), data.GetControlIndex("toolbutton"));
  EXPECT_EQ(bevel->SkinData(), &data);
  auto* d = dynamic_cast<TksDataSkinBevel*>(data.CtrlList[static_cast<size_t>(data.GetControlIndex("bevel"))].get());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(bevel->FirstLineColor(), d->DarkColor);  // lowered: dark at the top-left
  EXPECT_EQ(bevel->SecondLineColor(), d->LightColor);

  bar->SetSkinData(nullptr);
  EXPECT_EQ(bevel->ControlIndex(), -1);
  EXPECT_EQ(bevel->FirstLineColor(), clBtnShadow);
  EXPECT_EQ(bevel->SecondLineColor(), clBtnHighlight);

  bar->SetFlat(true);
  EXPECT_TRUE(b->Flat());
  EXPECT_TRUE(b->Transparent());
  bar->SetFlat(false);
  EXPECT_FALSE(b->Flat());
  EXPECT_FALSE(b->Transparent());
}

// The buttons keep the sections they were given when the bar takes another one.
TEST_F(SkinToolBar, ANewSectionForTheBarLeavesTheButtonSections) {
  for (const char* name : {"toolpanel", "bigtoolpanel"}) {
    TksSkinToolBar bar(nullptr);
    auto* b = new TksSkinSpeedButton(&bar);
    auto* m = new TksSkinMenuSpeedButton(&bar);
    m->TrackButtonMode = true;
    for (TksSkinSpeedButton* button : {b, static_cast<TksSkinSpeedButton*>(m)}) {
      button->SetParent(&bar);
      button->SetSkinDataName("something else");
    }
    bar.SetSkinDataName(name);
    EXPECT_EQ(bar.SkinDataName(), name);
    EXPECT_EQ(b->SkinDataName(), "something else") << name;
    EXPECT_EQ(m->SkinDataName(), "something else") << name;
  }
}

// ---- painted looks ----------------------------------------------------------------------

class SkinToolBarLooks : public SkinToolBar {
 protected:
  // A bar with one button showing image 0 of a 16 x 16 list in pure red.
  TksSkinToolBar* BarWithImageButton() {
    images = new TImageList(16, 16, form);
    TBitmap red(16, 16);
    red.Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000FF));
    red.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images->Add(&red, nullptr);
    auto* bar = new TksSkinToolBar(form);
    bar->SetParent(form);
    bar->SetBounds(0, 0, 200, 30);
    bar->HandleNeeded();  // windowless children get the mouse through the bar's window
    bar->SetImages(images);
    button = new TksSkinSpeedButton(form);
    button->SetParent(bar);
    button->SetBounds(10, 2, 25, 25);
    button->SetImageIndex(0);
    return bar;
  }
  COLORREF At(TksSkinToolBar* bar, int x, int y) {
    PaintInto(*bar, shot);
    return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y));
  }

  TImageList* images = nullptr;
  TksSkinSpeedButton* button = nullptr;
  TBitmap shot;
};

TEST_F(SkinToolBarLooks, UnskinnedButtonDrawsFrameFaceAndTheBarsImage) {
  TksSkinToolBar* bar = BarWithImageButton();
  EXPECT_EQ(At(bar, 10, 2), Rgb(clBtnShadow));             // button frame
  EXPECT_EQ(At(bar, 12, 4), Rgb(clBtnFace));               // button face
  EXPECT_EQ(At(bar, 10 + 12, 2 + 12), RGB(255, 0, 0));     // image centred
  EXPECT_EQ(At(bar, 100, 15), Rgb(clBtnFace));             // the bar's own face
  button->SetImageIndex(5);                                // not in the list: nothing drawn
  EXPECT_EQ(At(bar, 10 + 12, 2 + 12), Rgb(clBtnFace));
}

TEST_F(SkinToolBarLooks, HotAndDisabledButtonsDrawFromTheirOwnLists) {
  TksSkinToolBar* bar = BarWithImageButton();
  auto solidList = [this](COLORREF color) {
    auto* list = new TImageList(16, 16, form);
    TBitmap image(16, 16);
    image.Canvas()->Brush()->SetColor(static_cast<TColor>(color));
    image.Canvas()->FillRect(TRect{0, 0, 16, 16});
    list->Add(&image, nullptr);
    return list;
  };
  const TPoint centre{10 + 12, 2 + 12};
  button->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(At(bar, centre.X, centre.Y), RGB(255, 0, 0));  // no hot list: the plain one
  bar->SetHotImages(solidList(RGB(0, 255, 0)));
  EXPECT_EQ(At(bar, centre.X, centre.Y), RGB(0, 255, 0));
  button->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(At(bar, centre.X, centre.Y), RGB(255, 0, 0));
  bar->SetDisabledImages(solidList(RGB(0, 0, 255)));
  button->SetEnabled(false);
  EXPECT_EQ(At(bar, centre.X, centre.Y), RGB(0, 0, 255));
  images->Free();  // a freed list is forgotten
  EXPECT_EQ(bar->Images(), nullptr);
  button->SetEnabled(true);
  EXPECT_EQ(At(bar, centre.X, centre.Y), Rgb(clBtnFace));
}

TEST_F(SkinToolBarLooks, ReleaseOverTheButtonClicksIt) {
  TksSkinToolBar* bar = BarWithImageButton();
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  struct Case {
    int upX, upY;
    int clicks;
  };
  const Case cases[] = {{20, 10, 1}, {150, 10, 0}};
  for (const Case& c : cases) {
    clicks = 0;
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_TRUE(button->Down());
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(c.upX, c.upY));
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(clicks, c.clicks) << c.upX;
  }
}

TEST_F(SkinToolBarLooks, ButtonUnderAForeignDescriptionLooksUnskinned) {
  TksSkinToolBar* bar = BarWithImageButton();
  button->SetSkinDataName("bevel");  // a description, but not of a button
  button->SetSkinData(&data);
  ASSERT_NE(button->ControlIndex(), -1);
  EXPECT_EQ(button->Width(), 25);  // no face of its own to take the size of
  EXPECT_EQ(At(bar, 10, 2), Rgb(clBtnShadow));
  EXPECT_EQ(At(bar, 10 + 12, 2 + 12), RGB(255, 0, 0));
}

TEST_F(SkinToolBarLooks, FlatButtonShowsOnlyItsImageUntilHot) {
  TksSkinToolBar* bar = BarWithImageButton();
  bar->SetFlat(true);
  EXPECT_EQ(At(bar, 10, 2), Rgb(clBtnFace));  // no frame: the bar shows through
  EXPECT_EQ(At(bar, 10 + 12, 2 + 12), RGB(255, 0, 0));
  button->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(At(bar, 10, 2), RGB(0, 0, 128));  // hot frame
}

TEST_F(SkinToolBarLooks, SkinnedBarAndButtonTakeTheirFaces) {
  TksSkinToolBar* bar = BarWithImageButton();
  bar->SetSkinData(&data);
  ASSERT_NE(bar->ControlIndex(), -1);
  ASSERT_NE(button->ControlIndex(), -1);
  const TRect barFace = bar->SkinRect;
  const TRect buttonFace = button->SkinRect;
  // A frameless panel face: the skin's client part tiled from the top-left corner.
  const TRect client = bar->SkinClientRect;
  EXPECT_EQ(At(bar, 1, 1), SkinPixel(barFace.Left + client.Left + 1, barFace.Top + client.Top + 1));
  EXPECT_EQ(At(bar, 10 + 1, 2 + 1), SkinPixel(buttonFace.Left + 1, buttonFace.Top + 1));
  EXPECT_EQ(At(bar, 10 + 12, 2 + 12), RGB(255, 0, 0));
}

TEST_F(SkinToolBarLooks, WidthOnlyFaceShowsItsTiledMiddleBetweenTheArrows) {
  auto& d = dynamic_cast<TksDataSkinCustomControl&>(
      *data.CtrlList[static_cast<size_t>(data.GetControlIndex("toolpanel"))]);
  d.LBPoint = TPoint{0, 0};
  d.RBPoint = TPoint{0, 0};  // width only
  TksSkinToolBar* bar = NewBar(100, 12);
  bar->SetSkinData(&data);
  ASSERT_EQ(bar->ResizeMode, 2);
  ASSERT_TRUE(bar->ScrollButtonsVisible());
  const int y = bar->Height() - 3;  // below the buttons
  EXPECT_EQ(At(bar, 0, y), SkinPixel(d.SkinRect.Left + d.LTPoint.X, d.SkinRect.Top + y));
  bar->SetWidth(400);  // no arrows: the whole face with its ends
  ASSERT_FALSE(bar->ScrollButtonsVisible());
  EXPECT_EQ(At(bar, 0, y), SkinPixel(d.SkinRect.Left, d.SkinRect.Top + y));
}

TEST_F(SkinToolBarLooks, ScrollButtonsDrawnWithoutSkinFollowTheHotState) {
  TksSkinToolBar* bar = NewBar(100, 12);
  TBitmap face(12, 25);
  const int cy = 25 / 2;
  struct Case {
    WPARAM hover;
    bool press;
    COLORREF fill;
  };
  const Case cases[] = {
      {0, false, Rgb(clBtnFace)},
      {kLeft, false, RGB(182, 189, 210)},
      {kLeft, true, RGB(133, 147, 181)},
  };
  for (const Case& c : cases) {
    if (c.hover != 0) bar->Perform(WM_NCMOUSEMOVE, c.hover, 0);
    if (c.press) bar->Perform(WM_NCLBUTTONDOWN, c.hover, 0);
    bar->DrawScrollButton(face.Canvas(), true);
    EXPECT_EQ(static_cast<COLORREF>(face.Canvas()->Pixels(2, 2)), c.fill);
    EXPECT_EQ(static_cast<COLORREF>(face.Canvas()->Pixels(4, cy)), Rgb(clBtnText));  // the arrow's tip
  }
  bar->Perform(WM_NCLBUTTONUP, kLeft, 0);
}

TEST_F(SkinToolBarLooks, ScrollButtonsTakeTheResizeButtonFace) {
  TksSkinToolBar* bar = NewBar(100, 12);
  bar->SetSkinData(&data);
  ASSERT_NE(bar->ResizeButtonData(), nullptr);
  const TksDataSkinButtonControl& d = *bar->ResizeButtonData();
  TBitmap face(12, bar->Height());
  bar->DrawScrollButton(face.Canvas(), false);
  EXPECT_EQ(static_cast<COLORREF>(face.Canvas()->Pixels(1, 1)), SkinPixel(d.SkinRect.Left + 1, d.SkinRect.Top + 1));
  EXPECT_EQ(static_cast<COLORREF>(face.Canvas()->Pixels(12 / 2 + 2, bar->Height() / 2)), Rgb(d.FontColor));
}

}  // namespace
