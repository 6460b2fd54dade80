#include <gtest/gtest.h>

#include <cstdint>

#include "framework/core/seams.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

// Counts clicks and the enter/leave messages that concern the control itself.
class TButtonProbe : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;
  int Clicks = 0;
  int Enters() const { return CountAbout(CM_MOUSEENTER); }
  int Leaves() const { return CountAbout(CM_MOUSELEAVE); }
  void Click() override {
    ++Clicks;
    TProbeControl::Click();
  }

 private:
  int CountAbout(UINT msg) const {
    int n = 0;
    for (const auto& m : Seen) n += m.Msg == msg && m.LParam == reinterpret_cast<LPARAM>(this) ? 1 : 0;
    return n;
  }
};

// The pointer as the tracking code sees it: a position and the window there.
struct FakePointer {
  POINT pos{-1000, -1000};
  HWND window = nullptr;
  ScopedSeam<TPointerSeam> seam{TPointerSeam{
      .GetCursorPos = [this](POINT* p) { *p = pos; return TRUE; },
      .WindowFromPoint = [this](POINT) { return window; },
  }};
  void MoveTo(TControl& over, HWND wnd, int x, int y) {
    TPoint s = over.ClientToScreen(Point(x, y));
    pos = POINT{s.X, s.Y};
    window = wnd;
  }
};

void PostMouse(HWND wnd, UINT msg, int x, int y, WPARAM keys = 0) {
  PostMessageA(wnd, msg, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  Pump();
}

TEST(MouseTest, PressDragOffReleaseGivesOneLeaveAndClicksOnlyInside) {
  struct Case {
    const char* name;
    bool releaseInside;
    int clicks;
    int leaves;
  };
  const Case cases[] = {
      {"released outside", false, 0, 1},
      {"back inside before release", true, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePointer pointer;
    auto form = MakeForm();
    form->SetBounds(100, 100, 200, 150);
    TButtonProbe button(nullptr, form.get(), Bounds(10, 10, 60, 25));
    ShowAndActivate(*form);
    HWND wnd = button.Handle();

    pointer.MoveTo(button, wnd, 5, 5);
    PostMouse(wnd, WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(1, button.Enters());
    PostMouse(wnd, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(wnd, GetCapture());

    // Dragged off while captured: the window still gets the moves.
    pointer.MoveTo(button, form->Handle(), 100, 100);
    PostMouse(wnd, WM_MOUSEMOVE, 100, 100, MK_LBUTTON);
    EXPECT_EQ(1, button.Leaves());
    PostMouse(wnd, WM_MOUSEMOVE, 110, 100, MK_LBUTTON);
    EXPECT_EQ(1, button.Leaves());

    int x = 100;
    if (c.releaseInside) {
      pointer.MoveTo(button, wnd, 6, 6);
      PostMouse(wnd, WM_MOUSEMOVE, 6, 6, MK_LBUTTON);
      EXPECT_EQ(2, button.Enters());
      x = 6;
    }
    PostMouse(wnd, WM_LBUTTONUP, x, x);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(c.clicks, button.Clicks);
    EXPECT_EQ(c.leaves, button.Leaves());
  }
}

TEST(MouseTest, WindowlessChildrenGetTheMouseInTheirOwnCoordinates) {
  FakePointer pointer;
  auto form = MakeForm();
  TProbeControl panel(nullptr, form.get(), Bounds(0, 0, 150, 100));
  TSwatch back(nullptr, &panel, Bounds(10, 10, 40, 40), RGB(255, 0, 0));
  TSwatch front(nullptr, &panel, Bounds(30, 30, 40, 40), RGB(0, 0, 255));
  std::vector<std::pair<TObject*, TPoint>> downs;
  auto record = [&](TObject* sender, TMouseButton, TShiftState, int x, int y) { downs.push_back({sender, Point(x, y)}); };
  back.OnMouseDown = record;
  front.OnMouseDown = record;
  int frontClicks = 0;
  front.OnClick = [&](TObject*) { ++frontClicks; };
  ShowAndActivate(*form);

  PostMouse(panel.Handle(), WM_LBUTTONDOWN, 35, 35, MK_LBUTTON);  // both overlap: the topmost wins
  PostMouse(panel.Handle(), WM_LBUTTONUP, 36, 36);
  PostMouse(panel.Handle(), WM_LBUTTONDOWN, 12, 12, MK_LBUTTON);
  PostMouse(panel.Handle(), WM_LBUTTONUP, 12, 12);
  ASSERT_EQ(2u, downs.size());
  EXPECT_EQ(&front, downs[0].first);
  EXPECT_EQ(Point(5, 5), downs[0].second);
  EXPECT_EQ(&back, downs[1].first);
  EXPECT_EQ(Point(2, 2), downs[1].second);
  EXPECT_EQ(1, frontClicks);
}

TEST(MouseTest, EnterAndLeaveFollowTheDeepestControl) {
  FakePointer pointer;
  auto form = MakeForm();
  TButtonProbe panel(nullptr, form.get(), Bounds(0, 0, 150, 100));
  TSwatch swatch(nullptr, &panel, Bounds(10, 10, 40, 40), RGB(255, 0, 0));
  std::vector<std::pair<UINT, TControl*>> events;
  TWndMethodEvent saved = swatch.WindowProc();
  swatch.SetWindowProc([&](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) events.push_back({m.Msg, &swatch});
    saved(m);
  });
  ShowAndActivate(*form);

  pointer.MoveTo(panel, panel.Handle(), 80, 80);
  PostMouse(panel.Handle(), WM_MOUSEMOVE, 80, 80);
  EXPECT_EQ(&panel, Application->MouseControl());
  pointer.MoveTo(panel, panel.Handle(), 20, 20);
  PostMouse(panel.Handle(), WM_MOUSEMOVE, 20, 20);
  EXPECT_EQ(&swatch, Application->MouseControl());
  EXPECT_EQ(1, panel.Leaves());
  pointer.MoveTo(panel, panel.Handle(), 80, 80);
  PostMouse(panel.Handle(), WM_MOUSEMOVE, 80, 80);
  ASSERT_EQ(2u, events.size());
  EXPECT_EQ(CM_MOUSEENTER, events[0].first);
  EXPECT_EQ(CM_MOUSELEAVE, events[1].first);
}

TEST(MouseTest, FreedMouseControlIsForgotten) {
  FakePointer pointer;
  auto form = MakeForm();
  auto* swatch = new TSwatch(nullptr, form.get(), Bounds(10, 10, 40, 40), RGB(255, 0, 0));
  ShowAndActivate(*form);
  pointer.MoveTo(*form, form->Handle(), 20, 20);
  PostMouse(form->Handle(), WM_MOUSEMOVE, 20, 20);
  ASSERT_EQ(swatch, Application->MouseControl());
  swatch->Free();
  EXPECT_EQ(nullptr, Application->MouseControl());
  PostMouse(form->Handle(), WM_MOUSEMOVE, 21, 21);
  EXPECT_EQ(form.get(), Application->MouseControl());
}

// Another program built on this framework marks its windows as this one does, with
// an address of its own: the pointer resting on such a window (as it does when the
// program's own window goes away) must not take that address for a control here.
TEST(MouseTest, AnotherProgramsFrameworkWindowUnderThePointerIsNoControlHere) {
  HWND foreign = GetDesktopWindow();  // the one window sure to be another process's
  DWORD pid = 0;
  GetWindowThreadProcessId(foreign, &pid);
  ASSERT_NE(pid, GetCurrentProcessId());
  struct ForeignMark {
    HWND wnd;
    ~ForeignMark() { RemovePropA(wnd, "FwWindowTarget"); }
  } mark{foreign};
  ASSERT_TRUE(SetPropA(foreign, "FwWindowTarget", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x10))));

  FakePointer pointer;
  auto form = MakeForm();
  ShowAndActivate(*form);
  pointer.MoveTo(*form, form->Handle(), 20, 20);
  PostMouse(form->Handle(), WM_MOUSEMOVE, 20, 20);
  ASSERT_EQ(form.get(), Application->MouseControl());

  pointer.window = foreign;
  EXPECT_EQ(nullptr, FindWindowTarget(foreign));
  EXPECT_EQ(nullptr, TWinControl::FindControl(foreign));
  Application->UpdateMouseControl();
  EXPECT_EQ(nullptr, Application->MouseControl());
}

}  // namespace
