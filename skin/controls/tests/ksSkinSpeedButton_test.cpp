// Speed buttons: morph, repeat, groups and the menu speed button's two parts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/actions.h"
#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinSpeedButton.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinSpeedButton : public SkinCtrls {
 protected:
  template <class T = TksSkinSpeedButton>
  T* NewButton(int left = 10) {
    form->HandleNeeded();
    auto* b = new T(form);
    b->SetParent(form);
    b->SetBounds(left, 10, 24, 24);
    b->OnClick = [this](TObject* sender) { clicks.push_back(sender); };
    return b;
  }
  TksDataSkinButtonControl& Description(const char* name) {
    return dynamic_cast<TksDataSkinButtonControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex(name))]);
  }
  static void Press(TControl* b, int x = 5, int y = 5) { b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  static void Release(TControl* b, int x = 5, int y = 5) { b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  static void Enter(TControl* b) { b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b)); }
  static void Leave(TControl* b) { b->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b)); }
  COLORREF FormPixel(int x, int y) {
    PaintInto(*form, shot);
    return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y));
  }

  std::vector<TObject*> clicks;
  TBitmap shot;
};

TEST_F(SkinSpeedButton, HoverMorphsInFiveStepsAndBackUnlessTransparent) {
  Description("toolbutton").Morphing = true;
  struct Case {
    bool transparent;
    int stepsWhileIn;
  };
  for (const Case c : {Case{false, 5}, Case{true, 0}}) {
    auto* b = NewButton();
    b->SetTransparent(c.transparent);
    b->SetSkinData(&data);
    ASSERT_TRUE(b->Morphing);
    Enter(b);
    if (!c.transparent) {
      ASSERT_NE(b->MorphTimer(), nullptr);
      EXPECT_EQ(b->MorphTimer()->Interval(), 20u);
      FireTimer(b->MorphTimer());
      FireTimer(b->MorphTimer());
      EXPECT_EQ(b->MorphSteps(), 2);
      const COLORREF normal = SkinPixel(0 + 1, 203 + 1), hot = SkinPixel(24 + 1, 203 + 1);
      ASSERT_NE(normal, hot);
      const COLORREF mid = FormPixel(10 + 1, 10 + 1);
      EXPECT_NE(mid, normal);
      EXPECT_NE(mid, hot);
      for (int i = 0; i < 4; ++i) FireTimer(b->MorphTimer());  // three more steps, then the stop
    }
    EXPECT_EQ(b->MorphTimer(), nullptr) << c.transparent;
    EXPECT_EQ(b->MorphSteps(), c.stepsWhileIn) << c.transparent;
    b->ChangeSkinData();  // a new skin while hovered starts on the hot face
    EXPECT_EQ(b->MorphSteps(), c.stepsWhileIn);
    Leave(b);
    if (!c.transparent) {
      for (int i = 0; i < 6; ++i) FireTimer(b->MorphTimer());
    }
    EXPECT_EQ(b->MorphSteps(), 0);
    EXPECT_EQ(b->MorphTimer(), nullptr);
    b->Free();
  }
}

TEST_F(SkinSpeedButton, APlainButtonReleasedOutsideGivesNoClick) {
  const POINT outside[] = {{30, 5}, {5, 24}, {-1, 5}, {5, -4}};
  for (const POINT p : outside) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    clicks.clear();
    auto* b = NewButton();
    Enter(b);
    Press(b);
    EXPECT_TRUE(b->Down());
    Leave(b);
    Release(b, p.x, p.y);
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(b->Down());
    // Dragged back on before the release, it clicks.
    Enter(b);
    Press(b);
    Leave(b);
    Enter(b);
    Release(b);
    EXPECT_EQ(clicks.size(), 1u);
    b->Free();
  }
}

TEST_F(SkinSpeedButton, RepeatClicksOnTicksAndOnceMoreOnRelease) {
  auto* b = NewButton();
  b->RepeatMode = true;
  Enter(b);
  Press(b);
  ASSERT_NE(b->RepeatTimer(), nullptr);
  EXPECT_EQ(b->RepeatTimer()->Interval(), 100u);
  EXPECT_TRUE(clicks.empty());  // no click at the press
  for (int i = 0; i < 3; ++i) FireTimer(b->RepeatTimer());
  EXPECT_EQ(clicks.size(), 3u);
  Release(b);
  EXPECT_EQ(clicks.size(), 4u);
  EXPECT_EQ(b->RepeatTimer(), nullptr);
  EXPECT_FALSE(b->Down());
}

TEST_F(SkinSpeedButton, RepeatStopsWhenThePressLosesTheButtonOrTheMouse) {
  struct Case {
    const char* what;
    void (*stop)(TksSkinSpeedButton*);
    bool timerGoneAtOnce;
  };
  const Case cases[] = {
      {"disabled", [](TksSkinSpeedButton* b) { b->SetEnabled(false); }, true},
      {"cancel mode", [](TksSkinSpeedButton* b) { b->Perform(WM_CANCELMODE, 0, 0); }, true},
      {"left", [](TksSkinSpeedButton* b) { Leave(b); }, true},
      {"capture taken", [](TksSkinSpeedButton*) { TControl::SetCaptureControl(nullptr); }, false},
  };
  for (const Case& c : cases) {
    clicks.clear();
    auto* b = NewButton();
    b->RepeatMode = true;
    Enter(b);
    Press(b);
    FireTimer(b->RepeatTimer());
    ASSERT_EQ(clicks.size(), 1u) << c.what;
    TTimer* timer = b->RepeatTimer();
    const UINT_PTR id = timer->TimerId();
    c.stop(b);
    if (c.timerGoneAtOnce) {
      EXPECT_EQ(b->RepeatTimer(), nullptr) << c.what;
    } else {
      SendMessageA(TTimer::TimerWindow(), WM_TIMER, id, 0);  // the next tick finds the press over
      EXPECT_EQ(b->RepeatTimer(), nullptr) << c.what;
    }
    EXPECT_EQ(clicks.size(), 1u) << c.what;
    b->Free();
  }
}

TEST_F(SkinSpeedButton, GroupButtonsReleaseEachOtherAndAllowAllUpLetsTheLastGo) {
  struct Case {
    bool allowAllUp;
    bool downAfterSecondClick;
    size_t clicks;
  };
  for (const Case c : {Case{false, true, 2}, Case{true, false, 3}}) {
    clicks.clear();
    std::vector<TksSkinSpeedButton*> group;
    for (int i = 0; i < 3; ++i) {
      group.push_back(NewButton(10 + 30 * i));
      group.back()->SetGroupIndex(1);
      group.back()->AllowAllUp = c.allowAllUp;
    }
    Enter(group[0]);
    Press(group[0]);
    EXPECT_EQ(clicks.size(), 1u);  // a group button clicks at the press
    Release(group[0]);
    EXPECT_TRUE(group[0]->Down());
    Leave(group[0]);
    Enter(group[1]);
    Press(group[1]);
    Release(group[1]);
    EXPECT_TRUE(group[1]->Down());
    EXPECT_EQ(group[0]->Down(), c.allowAllUp) << "only an exclusive group releases the others";
    Press(group[1]);  // clicked again
    Release(group[1]);
    EXPECT_EQ(group[1]->Down(), c.downAfterSecondClick) << c.allowAllUp;
    EXPECT_EQ(clicks.size(), c.clicks) << c.allowAllUp;
    EXPECT_FALSE(group[2]->Down());
    for (auto* b : group) b->Free();
  }
}

TEST_F(SkinSpeedButton, DownGroupButtonDrawsPressedWithoutTheMouse) {
  auto* b = NewButton();
  const COLORREF plain = FormPixel(11, 11);
  b->SetDown(true);
  EXPECT_EQ(FormPixel(11, 11), plain) << "a down button outside a group looks pressed only under the mouse";
  b->SetGroupIndex(1);
  b->SetDown(true);
  EXPECT_EQ(FormPixel(11, 11), COLORREF{11899781}) << "the pressed fill";
  EXPECT_EQ(FormPixel(10, 10), RGB(0, 0, 128));
}

// Records what a skinned popup menu would be asked to do.
struct StandInPopup : IksSkinPopup {
  void PopupFromControl(const TRect& screenRect, TControl* control) override {
    rects.push_back(screenRect);
    controls.push_back(control);
  }
  std::vector<TRect> rects;
  std::vector<TControl*> controls;
};

TEST_F(SkinSpeedButton, MenuButtonOpensFromTheWholeButtonOrItsArrowPart) {
  struct Case {
    bool trackMode;
    bool skinned;
    int x;
    bool opens;
  };
  const Case cases[] = {
      {false, false, 2, true},  {true, false, 24 - 15, true},  {true, false, 24 - 16, false},
      {true, true, 14, true},   {true, true, 13, false},       {false, true, 2, true},
  };
  for (const Case& c : cases) {
    clicks.clear();
    StandInPopup popup;
    auto* menuOwner = new TComponent(form);
    auto* b = NewButton<TksSkinMenuSpeedButton>();
    if (c.skinned) {
      dynamic_cast<TksDataSkinMenuButtonControl&>(Description("toolmenubutton")).TrackButtonRect = TRect{14, 0, 24, 24};
      b->SetSkinData(&data);
    }
    b->SetSkinPopupMenu(&popup, menuOwner);
    b->TrackButtonMode = c.trackMode;
    int shown = 0, hidden = 0;
    b->OnShowTrackMenu = [&](TObject*) { ++shown; };
    b->OnHideTrackMenu = [&](TObject*) { ++hidden; };
    const std::string what = std::to_string(c.trackMode) + std::to_string(c.skinned) + " x=" + std::to_string(c.x);
    Enter(b);
    Press(b, c.x);
    EXPECT_EQ(popup.controls.size(), c.opens ? 1u : 0u) << what;
    EXPECT_EQ(b->MenuOpen(), c.opens) << what;
    EXPECT_TRUE(b->Down()) << what;
    Release(b, c.x);
    if (c.opens) {
      EXPECT_EQ(shown, 1) << what;
      EXPECT_TRUE(b->Down()) << "the release while the menu is open is ignored";
      EXPECT_TRUE(clicks.empty());
      const TPoint origin = b->ClientToScreen(TPoint{0, 0});
      EXPECT_EQ(popup.rects[0], (TRect{origin.X, origin.Y, origin.X + 24, origin.Y + 24}));
      b->Perform(WM_SKINMENUCLOSED, 0, 0);
      EXPECT_FALSE(b->MenuOpen());
      EXPECT_FALSE(b->Down());
      EXPECT_EQ(hidden, 1);
    } else {
      EXPECT_EQ(clicks.size(), 1u) << what << ": a speed button's click";
      EXPECT_FALSE(b->Down());
    }
    menuOwner->Free();  // the menu goes: the button forgets it
    EXPECT_EQ(b->SkinPopupMenu(), nullptr);
    EXPECT_FALSE(b->MenuTest(c.x, 5));
    b->Free();
  }
}

TEST_F(SkinSpeedButton, AnOpenTrackMenuShowsTheHotFaceAndItsClosingLeavesMouseIn) {
  StandInPopup popup;
  auto* menuOwner = new TComponent(form);
  auto* b = NewButton<TksSkinMenuSpeedButton>();
  b->SetSkinDataName("toolmenutrackbutton");
  b->SetSkinData(&data);
  const auto& d = Description("toolmenutrackbutton");
  b->SetBounds(10, 10, d.SkinRect.Width(), d.SkinRect.Height());
  b->SetSkinPopupMenu(&popup, menuOwner);
  b->TrackButtonMode = true;
  const COLORREF hot = SkinPixel(d.ActiveSkinRect.Left + 3, d.ActiveSkinRect.Top + 3);
  ASSERT_NE(hot, SkinPixel(d.DownSkinRect.Left + 3, d.DownSkinRect.Top + 3));
  Enter(b);
  Press(b, b->Width() - 4);
  ASSERT_TRUE(b->MenuOpen());
  EXPECT_EQ(FormPixel(10 + 3, 10 + 3), hot) << "the main part shows the hot face";
  b->Perform(WM_SKINMENUCLOSED, 0, 0);
  EXPECT_TRUE(b->MouseIn()) << "the pointer has not left";
  b->Free();
  menuOwner->Free();
}

TEST_F(SkinSpeedButton, ShowCaptionAppliesItsWidthEvenUnchanged) {
  auto* b = NewButton();
  b->WidthWithCaption = 80;
  b->WidthWithoutCaption = 25;
  b->SetWidth(40);
  ASSERT_TRUE(b->ShowCaption());
  b->SetShowCaption(true);
  EXPECT_EQ(b->Width(), 80);
  b->SetShowCaption(false);
  EXPECT_EQ(b->Width(), 25);
}

TEST_F(SkinSpeedButton, ActionGivesItsImageAsGlyphAndRunsOnClick) {
  TBitmap picture(16, 16);
  picture.Canvas()->Brush()->SetColor(static_cast<TColor>(0x00FF00));
  picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
  TImageList images(16, 16);
  ASSERT_EQ(images.Add(&picture, nullptr), 0);
  auto* list = new TActionList(form);
  list->SetImages(&images);
  auto* action = new TAction(form);
  action->ImageIndex = 0;
  action->SetActionList(list);
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  auto* b = NewButton();
  b->OnClick.Clear();
  b->SetAction(action);
  ASSERT_EQ(b->Glyph()->Width(), 16);
  EXPECT_EQ(b->Glyph()->Canvas()->Pixels(8, 8), static_cast<TColor>(0x00FF00));
  Enter(b);
  Press(b);
  Release(b);
  EXPECT_EQ(executed, 1);
  b->SetAction(nullptr);
  list->Free();
}

}  // namespace
