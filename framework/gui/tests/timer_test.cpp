#include <gtest/gtest.h>

#include <map>

#include "framework/core/seams.h"
#include "framework/gui/tests/gui_test_support.h"
#include "framework/gui/timer.h"

namespace {

// Timers that only fire when the test says so.
struct FakeTimers {
  std::map<UINT_PTR, UINT> armed;  // id -> interval
  int sets = 0;
  ScopedSeam<TTimerSeam> seam{TTimerSeam{
      .SetTimer = [this](HWND, UINT_PTR id, UINT ms, TIMERPROC) -> UINT_PTR {
        ++sets;
        armed[id] = ms;
        return id;
      },
      .KillTimer = [this](HWND, UINT_PTR id) -> BOOL { return armed.erase(id) != 0; },
  }};
  void Fire(UINT_PTR id) { SendMessageA(TTimer::TimerWindow(), WM_TIMER, id, 0); }
};

TEST(TimerTest, FreedInsideItsOwnHandler) {
  TestApp();
  FakeTimers timers;
  auto* timer = new TTimer(nullptr);
  int ticks = 0;
  timer->SetOnTimer([&](TObject* sender) {
    ++ticks;
    static_cast<TTimer*>(sender)->Free();
  });
  UINT_PTR id = timer->TimerId();
  ASSERT_NE(0u, id);
  ASSERT_EQ(1u, timers.armed.count(id));
  timers.Fire(id);
  EXPECT_EQ(1, ticks);
  EXPECT_EQ(0u, timers.armed.count(id));
  timers.Fire(id);  // a late message for the dead timer does nothing
  EXPECT_EQ(1, ticks);
}

TEST(TimerTest, DisabledOrRearmedInsideItsHandler) {
  TestApp();
  FakeTimers timers;
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) {
    ++ticks;
    if (ticks == 1) timer.SetInterval(250);
    else timer.SetEnabled(false);
  });
  UINT_PTR id = timer.TimerId();
  EXPECT_EQ(1000u, timers.armed[id]);
  timers.Fire(id);
  EXPECT_EQ(250u, timers.armed[id]);
  timers.Fire(id);
  EXPECT_EQ(0u, timers.armed.count(id));
  EXPECT_EQ(0u, timer.TimerId());
  EXPECT_EQ(2, ticks);
}

TEST(TimerTest, NothingRunsWithoutHandlerOrInterval) {
  TestApp();
  FakeTimers timers;
  TTimer timer(nullptr);
  EXPECT_EQ(0, timers.sets);
  timer.SetInterval(0);
  timer.SetOnTimer([](TObject*) {});
  EXPECT_EQ(0, timers.sets);
  EXPECT_EQ(0u, timer.TimerId());
  timer.SetInterval(10);
  EXPECT_EQ(1, timers.sets);
  EXPECT_NE(0u, timer.TimerId());
}

TEST(TimerTest, TimersGetDistinctIdsOnTheHiddenWindow) {
  TestApp();
  FakeTimers timers;
  TTimer a(nullptr), b(nullptr);
  int hitsA = 0, hitsB = 0;
  a.SetOnTimer([&](TObject*) { ++hitsA; });
  b.SetOnTimer([&](TObject*) { ++hitsB; });
  EXPECT_NE(a.TimerId(), b.TimerId());
  timers.Fire(b.TimerId());
  EXPECT_EQ(0, hitsA);
  EXPECT_EQ(1, hitsB);
}

}  // namespace
