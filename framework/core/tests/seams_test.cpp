#include "framework/core/seams.h"

#include <gtest/gtest.h>

namespace {

TEST(Seams, ScopedSeamReplacesAndRestores) {
  {
    DWORD now = 1000;
    ScopedSeam<TClockSeam> clock({.TickCount = [&] { return now; }});
    EXPECT_EQ(Clock().TickCount(), 1000u);
    now = 1500;
    EXPECT_EQ(Clock().TickCount(), 1500u);
    {
      ScopedSeam<TClockSeam> inner({.TickCount = [] { return DWORD(7); }});
      EXPECT_EQ(Clock().TickCount(), 7u);
    }
    EXPECT_EQ(Clock().TickCount(), 1500u);
  }
  // The real clock again.
  EXPECT_LT(Clock().TickCount() - GetTickCount(), 1000u);
}

TEST(Seams, MembersLeftEmptyKeepThePreviousBehaviour) {
  int slept = 0;
  ScopedSeam<TClockSeam> sleeper({.Sleep = [&](DWORD ms) { slept += static_cast<int>(ms); }});
  ScopedSeam<TClockSeam> clock({.TickCount = [] { return DWORD(42); }});
  Clock().Sleep(250);  // the fake sleeper, not a real quarter second
  EXPECT_EQ(slept, 250);
  EXPECT_EQ(Clock().TickCount(), 42u);
  EXPECT_TRUE(static_cast<bool>(Clock().TimeGetTime));
}

TEST(Seams, FakesForPointerMessageBoxTimerAndScreen) {
  std::string shown;
  ScopedSeam<TMessageBoxSeam> box({.Show = [&](HWND, const String& text, const String&, UINT) {
    shown = text;
    return IDOK;
  }});
  EXPECT_EQ(MessageBoxSeam().Show(nullptr, "Card is full", "Korvalo", MB_OK), IDOK);
  EXPECT_EQ(shown, "Card is full");

  ScopedSeam<TPointerSeam> pointer({.GetCursorPos = [](POINT* p) {
                                      *p = {5, 6};
                                      return TRUE;
                                    },
                                    .GetKeyState = [](int key) { return SHORT(key == VK_SHIFT ? -128 : 0); }});
  POINT p{};
  Pointer().GetCursorPos(&p);
  EXPECT_EQ(p.x, 5);
  EXPECT_LT(Pointer().GetKeyState(VK_SHIFT), 0);

  ScopedSeam<TScreenSeam> screen({.BitsPerPixel = [] { return 8; }, .PaletteDevice = [] { return true; }});
  EXPECT_EQ(ScreenSeam().BitsPerPixel(), 8);
  EXPECT_TRUE(ScreenSeam().PaletteDevice());
}

TEST(Seams, Win32DefaultsAnswer) {
  EXPECT_GT(ScreenSeam().BitsPerPixel(), 0);
  auto monitors = ScreenSeam().Monitors();
  ASSERT_FALSE(monitors.empty());
  EXPECT_TRUE(monitors.front().Primary);
  SIZE size = ScreenSeam().Size();
  EXPECT_GT(size.cx, 0);
}

}  // namespace
