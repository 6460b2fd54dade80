// The skinned combo box: its events on selection and text, where and how the
// drop-down opens and closes, the mouse in the list, keys on empty and full
// lists, type-ahead with a steered clock, and the edit style.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/seams.h"
#include "skin/ksListBox.h"
#include "skin/ksSkinComboBox.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinComboBox : public SkinCtrls {
 protected:
  TksSkinComboBox* NewCombo(std::vector<String> items = {"alpha", "beta", "gamma"}) {
    form->HandleNeeded();
    auto* c = new TksSkinComboBox(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 176, 20);
    for (const String& s : items) c->Items()->Add(s);
    c->OnClick = [this](TObject*) { log.push_back("click"); };
    c->OnChange = [this](TObject*) { log.push_back("change:" + std::string(combo_->Text())); };
    c->OnCloseUp = [this](TObject*) { log.push_back("closeup"); };
    combo_ = c;
    return c;
  }
  // The item the list highlights under a point of the inner list.
  static TPoint ItemPoint(TksSkinComboBox* c, int index) {
    RECT r{};
    SendMessageA(c->ListBox()->ListBox()->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
    return TPoint{r.left + 3, (r.top + r.bottom) / 2};
  }
  static void Key(TWinControl* c, WORD key, TShiftState shift = 0) {
    WORD k = key;
    c->Perform(WM_KEYDOWN, k, 0);
    (void)shift;
  }

  std::vector<std::string> log;
  TksSkinComboBox* combo_ = nullptr;
  DWORD now = 10000;
  ScopedSeam<TClockSeam> clock{TClockSeam{.TickCount = [this] { return now; }}};
  ScopedSeam<TScreenSeam> screen{TScreenSeam{.Monitors = [] {
    TMonitorInfo m;
    m.Bounds = m.WorkArea = RECT{0, 0, 800, 600};
    m.Primary = true;
    return std::vector<TMonitorInfo>{m};
  }}};
};

// OnClick and Change fire on every selection; OnChange only when the text changes.
TEST_F(SkinComboBox, SelectionFiresClickEachTimeAndChangeOnlyOnNewText) {
  auto* c = NewCombo();
  c->SetItemIndex(1);
  EXPECT_EQ(log, (std::vector<std::string>{"change:beta", "click"}));
  log.clear();
  c->SetItemIndex(1);
  EXPECT_EQ(log, std::vector<std::string>{"click"}) << "the same index clicks again, the text stays";
  log.clear();
  c->SetItemIndex(7);
  EXPECT_EQ(log, std::vector<std::string>{"click"});
  EXPECT_EQ(c->Text(), "beta") << "an index outside the items leaves the text";
}

TEST_F(SkinComboBox, DropDownOpensBelowOrAboveNearTheWorkAreasBottom) {
  auto* c = NewCombo();
  c->SetItemIndex(0);
  c->DropDown();
  ASSERT_TRUE(c->DroppedDown());
  RECT r{};
  GetWindowRect(c->ListBox()->Handle(), &r);
  const TPoint below = form->ClientToScreen(TPoint{10, 30});
  EXPECT_EQ(r.left, below.X);
  EXPECT_EQ(r.top, below.Y);
  EXPECT_EQ(r.right - r.left, 176);
  c->CloseUp(false);
  EXPECT_FALSE(c->DroppedDown());

  c->SetTop(560);
  c->DropDown();
  GetWindowRect(c->ListBox()->Handle(), &r);
  const TPoint top = form->ClientToScreen(TPoint{10, 560});
  EXPECT_EQ(r.bottom, top.Y) << "the list ends where the combo begins";
  c->CloseUp(false);
}

}  // namespace
