#include <gtest/gtest.h>

#include "framework/gui/tests/gui_test_support.h"
#include "framework/gui/wndproc.h"

namespace {

constexpr UINT kProbeMsg = WM_APP + 5;

TEST(WindowProcTest, TakeoverChainsAndRestores) {
  auto form = MakeForm();
  TProbeControl control(nullptr, form.get());
  std::vector<UINT> hooked;
  TWndMethodEvent saved = control.WindowProc();
  TWndMethodEvent ours = [&](TMessage& m) {
    hooked.push_back(m.Msg);
    if (m.Msg != kProbeMsg + 1) saved(m);  // swallows one message
  };
  control.SetWindowProc(ours);

  control.Perform(kProbeMsg);
  SendMessageA(control.Handle(), kProbeMsg, 0, 0);  // through the window too
  control.Perform(kProbeMsg + 1);
  EXPECT_EQ(2, control.Count(kProbeMsg));
  EXPECT_EQ(0, control.Count(kProbeMsg + 1));
  EXPECT_GE(std::count(hooked.begin(), hooked.end(), kProbeMsg), 2);

  // Restored only while still ours.
  ASSERT_TRUE(control.WindowProc() == ours);
  control.SetWindowProc(saved);
  hooked.clear();
  control.Perform(kProbeMsg + 1);
  EXPECT_TRUE(hooked.empty());
  EXPECT_EQ(1, control.Count(kProbeMsg + 1));
}

TEST(WindowProcTest, HookResultIsReturnedUnchanged) {
  auto form = MakeForm();
  TProbeControl control(nullptr, form.get());
  TWndMethodEvent saved = control.WindowProc();
  control.SetWindowProc([&](TMessage& m) {
    saved(m);
    if (m.Msg == WM_ERASEBKGND) m.Result = 7;
  });
  EXPECT_EQ(7, SendMessageA(control.Handle(), WM_ERASEBKGND, 0, 0));
}

TEST(WindowProcTest, PerformWorksWithoutAWindow) {
  TestApp();
  TProbeControl control(nullptr);
  control.SetText("abc");
  EXPECT_FALSE(control.HandleAllocated());
  EXPECT_EQ("abc", control.Text());
  EXPECT_EQ(1, control.Count(WM_SETTEXT));
  EXPECT_EQ(1, control.Count(CM_TEXTCHANGED));
  control.SetText("abc");  // equal text: nothing
  EXPECT_EQ(1, control.Count(CM_TEXTCHANGED));
  EXPECT_EQ(0, control.Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(&control)));
  EXPECT_FALSE(control.HandleAllocated());
}

TEST(WindowProcTest, ChildWithoutParentWindowIsRefused) {
  TestApp();
  TProbeControl orphan(nullptr);
  EXPECT_THROW(orphan.Handle(), EInvalidOperation);
  EXPECT_FALSE(orphan.HandleAllocated());
}

TEST(WindowProcTest, TextSurvivesWindowRecreation) {
  auto form = MakeForm();
  TProbeControl control(nullptr, form.get());
  control.SetText("kept");
  HWND first = control.Handle();
  control.RecreateWnd();
  EXPECT_NE(nullptr, control.Handle());
  EXPECT_EQ("kept", control.Text());
  char buffer[16] = {};
  GetWindowTextA(control.Handle(), buffer, sizeof buffer);
  EXPECT_STREQ("kept", buffer);
  (void)first;
}

TEST(ReflectionTest, ChildNotificationsComeBackAsControlNotifications) {
  auto form = MakeForm();
  TProbeControl panel(nullptr, form.get(), Bounds(0, 0, 100, 60));
  TProbeControl child(nullptr, &panel, Bounds(5, 5, 30, 20));
  TWndMethodEvent saved = child.WindowProc();
  child.SetWindowProc([&](TMessage& m) {
    saved(m);
    if (m.Msg == CN_COMMAND) m.Result = 42;
  });
  HWND system = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, panel.Handle(), nullptr, nullptr, nullptr);

  struct Case {
    UINT msg;
    WPARAM wParam;
    HWND from;
    int reflected;
  };
  const Case cases[] = {
      {WM_COMMAND, MAKEWPARAM(1, EN_CHANGE), child.Handle(), 1},
      {WM_HSCROLL, SB_LINEDOWN, child.Handle(), 1},
      {WM_COMMAND, MAKEWPARAM(2, EN_CHANGE), system, 0},  // not ours: default handling
      {WM_COMMAND, MAKEWPARAM(3, 0), nullptr, 0},         // a menu command
  };
  for (const Case& c : cases) {
    child.Seen.clear();
    LRESULT result = SendMessageA(panel.Handle(), c.msg, c.wParam, reinterpret_cast<LPARAM>(c.from));
    EXPECT_EQ(c.reflected, child.Count(CN_BASE + c.msg)) << c.msg;
    if (c.reflected != 0) {
      EXPECT_EQ(c.wParam, child.Seen.front().WParam);
      if (c.msg == WM_COMMAND) {
        EXPECT_EQ(42, result);
      }
    }
  }
  DestroyWindow(system);
}

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbeMsg) return 100;
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND MakePlainWindow() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FwTestPlain";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, "FwTestPlain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(WindowSubclassTest, ChainsNewestFirstAndRestoresOnlyWhenCurrent) {
  HWND wnd = MakePlainWindow();
  auto original = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
  std::vector<char> order;
  auto a = std::make_unique<TWindowSubclass>(wnd, [&](TWindowSubclass& self, TMessage& m) {
    if (m.Msg == kProbeMsg) order.push_back('a');
    self.CallPrevious(m);
    if (m.Msg == kProbeMsg) m.Result += 1;
  });
  auto b = std::make_unique<TWindowSubclass>(wnd, [&](TWindowSubclass& self, TMessage& m) {
    if (m.Msg == kProbeMsg) order.push_back('b');
    self.CallPrevious(m);
    if (m.Msg == kProbeMsg) m.Result += 10;
  });
  EXPECT_EQ(111, SendMessageA(wnd, kProbeMsg, 0, 0));
  EXPECT_EQ((std::vector<char>{'b', 'a'}), order);

  a.reset();  // not the current one: it becomes a pass-through link
  order.clear();
  EXPECT_EQ(110, SendMessageA(wnd, kProbeMsg, 0, 0));
  EXPECT_EQ((std::vector<char>{'b'}), order);

  b.reset();
  EXPECT_EQ(100, SendMessageA(wnd, kProbeMsg, 0, 0));
  DestroyWindow(wnd);
  (void)original;
}

TEST(WindowSubclassTest, RestoresTheOriginalProcedure) {
  HWND wnd = MakePlainWindow();
  auto original = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
  {
    TWindowSubclass hook(wnd, [](TWindowSubclass&, TMessage& m) { m.Result = 5; });
    EXPECT_EQ(5, SendMessageA(wnd, kProbeMsg, 0, 0));
  }
  EXPECT_EQ(original, GetWindowLongPtrA(wnd, GWLP_WNDPROC));
  EXPECT_EQ(100, SendMessageA(wnd, kProbeMsg, 0, 0));
  DestroyWindow(wnd);
}

TEST(WindowSubclassTest, OutlivedWindowIsHarmless) {
  HWND wnd = MakePlainWindow();
  TWindowSubclass hook(wnd, [](TWindowSubclass& self, TMessage& m) { self.CallPrevious(m); });
  DestroyWindow(wnd);
  EXPECT_EQ(nullptr, hook.Handle());
}

TEST(AllocateHWndTest, MessagesReachTheMethod) {
  int seen = 0;
  HWND wnd = nullptr;
  wnd = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == kProbeMsg) {
      ++seen;
      m.Result = 9;
    } else {
      m.Result = DefWindowProcA(wnd, m.Msg, m.WParam, m.LParam);
    }
  });
  ASSERT_NE(nullptr, wnd);
  EXPECT_EQ(9, SendMessageA(wnd, kProbeMsg, 0, 0));
  EXPECT_EQ(1, seen);
  DeallocateHWnd(wnd);
  EXPECT_FALSE(IsWindow(wnd));
}

}  // namespace
