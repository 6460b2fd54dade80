// The skinned up-down: its layout, the position rules and the repeat of a held
// button driven by fired timer ticks.
#include <gtest/gtest.h>

#include "framework/core/seams.h"
#include "skin/controls/ksSkinUpDown.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinUpDown : public SkinCtrls {
 protected:
  TksSkinUpDown* NewUpDown() {
    form->HandleNeeded();
    auto* u = new TksSkinUpDown(form);
    u->SetParent(form);
    u->HandleNeeded();
    return u;
  }
  static void Tick(TksSkinUpDown* u) { u->Perform(WM_TIMER, TksSkinUpDown::kRepeatTimerId, 0); }

  std::vector<UINT> started;
  int killed = 0;
  ScopedSeam<TTimerSeam> timers{TTimerSeam{
      .SetTimer = [this](HWND, UINT_PTR id, UINT ms, TIMERPROC) -> UINT_PTR {
        started.push_back(ms);
        return id;
      },
      .KillTimer = [this](HWND, UINT_PTR) -> BOOL {
        ++killed;
        return TRUE;
      }}};
};

TEST_F(SkinUpDown, DefaultLayoutSplitsTheControl) {
  auto* u = NewUpDown();
  EXPECT_EQ(u->Width(), 50);
  EXPECT_EQ(u->Height(), 25);
  u->CalcRects();
  EXPECT_EQ(u->Buttons(TksSkinUpDown::kDownButton).R.Right, 25);
  EXPECT_EQ(u->Buttons(TksSkinUpDown::kUpButton).R.Left, 25);
  EXPECT_EQ(u->Buttons(TksSkinUpDown::kUpButton).R.Right, 50);
  u->SetOrientation(udVertical);
  EXPECT_EQ(u->SkinDataName(), "vupdown");
  EXPECT_EQ(u->Buttons(TksSkinUpDown::kUpButton).R.Bottom, 12);
  EXPECT_EQ(u->Buttons(TksSkinUpDown::kDownButton).R.Top, 12);
}

// The edge two buttons share belongs to the button drawn on it; the outer edges count too.
TEST_F(SkinUpDown, PointerOnAnEdgeGoesToTheButtonDrawnThere) {
  struct Case {
    const char* what;
    TksUDOrientation orientation;
    bool skinned;
    TPoint at;
    int button;
  };
  // Default look: horizontal 50 x 25 (down 0..25, up 25..50), vertical 20 x 40 (up rows
  // 0..20, down 20..40). The default skin's vertical buttons: up rows 0..17, down 17..34.
  const Case cases[] = {
      {"horizontal shared column", udHorizontal, false, {25, 10}, TksSkinUpDown::kUpButton},
      {"horizontal column left of it", udHorizontal, false, {24, 10}, TksSkinUpDown::kDownButton},
      {"horizontal right edge", udHorizontal, false, {50, 10}, TksSkinUpDown::kUpButton},
      {"vertical shared row", udVertical, false, {10, 20}, TksSkinUpDown::kDownButton},
      {"vertical row above it", udVertical, false, {10, 19}, TksSkinUpDown::kUpButton},
      {"vertical bottom edge", udVertical, false, {10, 40}, TksSkinUpDown::kDownButton},
      {"skinned vertical shared row", udVertical, true, {8, 17}, TksSkinUpDown::kDownButton},
      {"skinned vertical row above it", udVertical, true, {8, 16}, TksSkinUpDown::kUpButton},
  };
  for (const Case& c : cases) {
    auto* u = NewUpDown();
    u->SetOrientation(c.orientation);
    if (c.orientation == udVertical) u->SetBounds(0, 0, 20, 40);
    if (c.skinned) u->SetSkinData(&data);
    u->CalcRects();
    if (c.skinned) {
      ASSERT_EQ(u->Buttons(TksSkinUpDown::kDownButton).R.Top, 17) << "the skin's layout";
    }
    u->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(c.at.X, c.at.Y));
    EXPECT_TRUE(u->Buttons(c.button).MouseIn) << c.what;
    EXPECT_FALSE(u->Buttons(1 - c.button).MouseIn) << c.what;
    delete u;
  }
}

TEST_F(SkinUpDown, PositionRules) {
  auto* u = NewUpDown();
  int changes = 0;
  u->OnChange = [&](TObject*) { ++changes; };
  struct Step {
    const char* what;
    std::function<void()> act;
    int position, changes;
  };
  const Step steps[] = {
      {"inside", [&] { u->SetPosition(40); }, 40, 1},
      {"same value still raises", [&] { u->SetPosition(40); }, 40, 2},
      {"above max ignored", [&] { u->SetPosition(101); }, 40, 2},
      {"below min ignored", [&] { u->SetPosition(-1); }, 40, 2},
      {"min raises position silently", [&] { u->SetMin(45); }, 45, 2},
      {"max lowers position silently", [&] { u->SetMax(30); }, 30, 2},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(u->Position(), s.position) << s.what;
    EXPECT_EQ(changes, s.changes) << s.what;
  }
}

TEST_F(SkinUpDown, UpAtMaxRaisesTheClickButNoChange) {
  auto* u = NewUpDown();
  u->SetPosition(100);
  int changes = 0, ups = 0;
  u->OnChange = [&](TObject*) { ++changes; };
  u->OnUpButtonClick = [&](TObject*) { ++ups; };
  Click(u, 40, 10);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(u->Position(), 100);
}

TEST_F(SkinUpDown, HeldDownButtonRepeats) {
  auto* u = NewUpDown();
  u->Increment = 5;
  u->SetPosition(50);
  u->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(started, std::vector<UINT>{500});
  Tick(u);  // the first tick only switches to the faster pace
  EXPECT_EQ(u->Position(), 50);
  EXPECT_EQ(started.back(), 100u);
  Tick(u);
  EXPECT_EQ(u->Position(), 45);
  for (int i = 0; i < 20; ++i) Tick(u);
  EXPECT_EQ(u->Position(), 0) << "stops at Min";
  // Off the button the repeat stops; back on it restarts quickly.
  u->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 10));
  EXPECT_FALSE(u->Buttons(TksSkinUpDown::kDownButton).MouseIn);
  u->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(started.back(), 50u);
  u->SetPosition(20);
  u->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(u->Position(), 15) << "one more step at release over the button";
  EXPECT_EQ(u->TimerMode(), 0);
}

TEST_F(SkinUpDown, ZeroIncrementClicksWithoutMoving) {
  auto* u = NewUpDown();
  u->Increment = 0;
  u->SetPosition(7);
  int downs = 0;
  u->OnDownButtonClick = [&](TObject*) { ++downs; };
  u->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(u->Buttons(TksSkinUpDown::kDownButton).Down);
  EXPECT_TRUE(started.empty());
  u->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(u->Position(), 7);
}

}  // namespace
