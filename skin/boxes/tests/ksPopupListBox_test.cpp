// The drop-down list window: its blending by the owner's settings and systems,
// the fade steps, and that a click never activates it.
#include <gtest/gtest.h>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "skin/boxes/ksPopupListBox.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class PopupListBox : public SkinCtrls {
 protected:
  TksPopupListBox* NewDropDown() {
    form->HandleNeeded();
    auto* p = new TksPopupListBox(form);
    p->SetParent(form);
    p->SetBounds(0, 0, 100, 80);
    p->AlphaSource = [this] { return alpha; };
    return p;
  }
  static auto Version(DWORD major, DWORD minor) {
    return TVersionSeam{.Query = [major, minor](OSVERSIONINFOA* info) {
      info->dwPlatformId = VER_PLATFORM_WIN32_NT;
      info->dwMajorVersion = major;
      info->dwMinorVersion = minor;
      return TRUE;
    }};
  }
  static bool Layered(TksPopupListBox* p) { return (GetWindowLongA(p->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

  TksDropDownAlpha alpha;
  std::vector<int> set;
  ScopedSeam<TksSystemSeam> system{TksSystemSeam{.SetLayeredAlpha = [this](HWND, BYTE a) {
    set.push_back(a);
    return true;
  }}};
};

TEST_F(PopupListBox, BlendFollowsTheOwnerAtEachShow) {
  ScopedSeam<TVersionSeam> xp{Version(5, 1)};
  auto* p = NewDropDown();
  alpha = {true, false, 200};
  p->Show(TPoint{10, 10});
  EXPECT_TRUE(Layered(p));
  EXPECT_EQ(set, std::vector<int>{200});
  EXPECT_EQ(p->CurrentAlpha(), 200);
  p->Hide();
  p->Show(TPoint{10, 10});
  EXPECT_EQ(set, std::vector<int>{200}) << "a second show sets nothing again";
  p->Hide();
  alpha.AlphaBlend = false;
  p->Show(TPoint{10, 10});
  EXPECT_FALSE(Layered(p));
  EXPECT_FALSE(p->AlphaApplied());
  p->Hide();
}

TEST_F(PopupListBox, FadeStepsEndExactlyAtTheValue) {
  struct Case {
    uint8_t value;
    size_t steps;
    int last;
  };
  const Case cases[] = {{255, 129, 255}, {200, 101, 200}, {1, 2, 1}, {0, 1, 0}};
  ScopedSeam<TVersionSeam> w2k{Version(5, 0)};
  for (const Case& c : cases) {
    auto* p = NewDropDown();
    alpha = {true, true, c.value};
    set.clear();
    p->Show(TPoint{0, 0});
    ASSERT_EQ(set.size(), c.steps) << int{c.value};
    EXPECT_EQ(set.front(), 0);
    if (c.steps > 2) {
      EXPECT_EQ(set[1], 2);
    }
    EXPECT_EQ(set.back(), c.last);
    EXPECT_EQ(p->CurrentAlpha(), 0) << "every animated drop-down starts transparent again";
    p->Hide();
    delete p;
  }
}

TEST_F(PopupListBox, OnlyNt5SystemsBlend) {
  for (auto [major, minor] : {std::pair<DWORD, DWORD>{4, 0}, {6, 0}}) {
    ScopedSeam<TVersionSeam> version{Version(major, minor)};
    auto* p = NewDropDown();
    alpha = {true, true, 200};
    set.clear();
    p->Show(TPoint{0, 0});
    EXPECT_FALSE(Layered(p)) << major;
    EXPECT_TRUE(set.empty()) << major;
    p->Hide();
    delete p;
  }
}

TEST_F(PopupListBox, ToolWindowThatAClickDoesNotActivate) {
  auto* p = NewDropDown();
  const LONG style = GetWindowLongA(p->Handle(), GWL_STYLE) & ~static_cast<LONG>(WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS);
  EXPECT_EQ(style, static_cast<LONG>(WS_POPUP | WS_CLIPCHILDREN));
  EXPECT_EQ(GetWindowLongA(p->Handle(), GWL_EXSTYLE) & ~WS_EX_LAYERED, WS_EX_TOOLWINDOW);
  ShowAndActivate();
  p->Show(TPoint{20, 20});
  EXPECT_TRUE(IsWindowVisible(p->Handle()));
  EXPECT_EQ(SendMessageA(p->Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form->Handle()),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  EXPECT_EQ(GetActiveWindow(), form->Handle());
  p->Hide();
  EXPECT_FALSE(IsWindowVisible(p->Handle()));
  EXPECT_FALSE(p->Visible());
}

}  // namespace
