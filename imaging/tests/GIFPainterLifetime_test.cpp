// How painters end: a Draw that waits for the first frame always returns, and a painter
// that was stopped never touches the bitmap it painted on again. Freed memory is poisoned
// here, so code that still uses a freed bitmap faults instead of passing by luck.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "framework/core/handles.h"
#include "framework/core/seams.h"
#include "framework/core/thread.h"
#include "imaging/GIFPainter.h"
#include "imaging/GIFImage.h"
#include "imaging/tests/GIFTestSupport.h"
#include "skin/tests/ksPoisonedFrees.h"

using namespace giftest;
using skintest::ScopedPoisonedFrees;

namespace {
// Far longer than any of these calls takes: only a hang reaches it.
constexpr auto kHangLimit = std::chrono::seconds(30);

// Runs body on this thread. When it has not returned within kHangLimit, rescue runs on a
// watchdog thread to unblock it; the result says whether that was needed.
bool Hung(const std::function<void()>& body, const std::function<void()>& rescue) {
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  bool rescued = false;
  std::thread watchdog([&] {
    std::unique_lock guard(lock);
    if (finished.wait_for(guard, kHangLimit, [&] { return done; })) return;
    rescued = true;
    rescue();
  });
  body();
  {
    std::lock_guard guard(lock);
    done = true;
  }
  finished.notify_one();
  watchdog.join();
  return rescued;
}

std::unique_ptr<TBitmap> Target(int w, int h) {
  auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
  bitmap->Canvas()->Brush()->SetColor(clWhite);
  bitmap->Canvas()->FillRect(TRect{0, 0, w, h});
  return bitmap;
}

// Endless loop of two frames: disposal 4, then "previous".
Bytes FramesWithoutASurface() {
  const Bytes frame = Concat({Descriptor(0, 0, 1, 1), OnePixel()});
  return Concat({Header(1, 1, {0x000000, 0xFFFFFF}), LoopExtension(0), GraphicControl(4 << 2, 0, 0), frame,
                 GraphicControl(3 << 2, 0, 0), frame, Text(";")});
}

// Makes every frame take no time at all.
struct StillClock {
  DWORD now = 0;
  ScopedSeam<TClockSeam> seam{{.TickCount = [this] { return now; },
                               .TimeGetTime = [this] { return now; },
                               .Sleep = [this](DWORD ms) { now += ms; }}};
};
}  // namespace

// Disposal 4 has no drawing surface, and "previous" after it none either: nothing is drawn,
// yet each frame counts as painted, so the Draw that waits for the first one returns.
TEST(GIFPainter, FramesWithoutASurfaceStillEndTheFirstWait) {
  Loaded l = Load(FramesWithoutASurface());
  ASSERT_EQ(l.Error, "");
  TGIFImage& image = *l.Image;
  ASSERT_EQ(image.DrawOptions, TGIFDrawOptions{0x060F});
  auto target = Target(1, 1);
  const bool hung = Hung([&] { image.Draw(*target->Canvas(), TRect{0, 0, 1, 1}); },
                         [&] {
                           if (TGIFPainter* painter = image.CurrentPainter) painter->Stop();
                         });
  EXPECT_FALSE(hung) << "Draw waited for a first frame that never came";
  image.StopPainters();
  EXPECT_EQ(image.CurrentPainter, nullptr);
}

// The painter had queued its next step when the cached bitmap it paints on was released
// (which stops it and frees the bitmap): neither a queued paint nor a queued event runs.
TEST(GIFPainter, AStoppedPainterRunsNothingItHadQueued) {
  for (bool eventQueued : {false, true}) {
    SCOPED_TRACE(eventQueued ? "an event queued" : "a paint queued");
    Loaded l = Load(Fixture("peer_anim.gif"));
    ASSERT_EQ(l.Error, "");
    TGIFImage& image = *l.Image;
    image.DrawOptions = DrawAsync | DrawAnimate | DrawTransparent | DrawLoop | DrawLoopForever;
    image.AnimationSpeed = -1;  // no waits between frames
    // Set when the painter queues its first step after a frame's OnAfterFrame: it asks the
    // clock once it has left that handler, before it queues anything else.
    KernelHandle queued(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<bool> armed{false};
    ScopedSeam<TClockSeam> clock({.TimeGetTime = [&] {
      if (GetCurrentThreadId() != MainThreadID) armed = true;
      return GetTickCount();
    }});
    const auto previousWake = SetWakeMainThread([&] {
      if (armed) SetEvent(queued.get());
    });
    bool frameDone = false;
    bool stopped = false;
    int eventsAfterStop = 0;
    image.OnAfterFrame = [&](TObject*) {
      if (stopped) ++eventsAfterStop;
      frameDone = true;
      armed = false;
      ResetEvent(queued.get());
    };
    if (eventQueued)
      image.OnBeforeFrame = [&](TObject*) {
        if (stopped) ++eventsAfterStop;
      };
    auto target = Target(30, 20);
    image.Draw(*target->Canvas(), TRect{0, 0, 30, 20});
    for (int i = 0; i < 1500 && !frameDone; ++i) CheckSynchronize(20);
    ASSERT_TRUE(frameDone);
    // The painter queues its next step and waits for this thread to run it.
    ASSERT_EQ(WaitForSingleObject(queued.get(), 30000), WAIT_OBJECT_0);
    {
      ScopedPoisonedFrees poisoned;
      image.ReleaseCachedBitmap();
      stopped = true;
      for (int i = 0; i < 1500 && image.CurrentPainter; ++i) CheckSynchronize(20);
      EXPECT_EQ(image.CurrentPainter, nullptr);
      EXPECT_EQ(eventsAfterStop, 0);
    }
    SetWakeMainThread(previousWake);
  }
}

// A synchronous painter is the image's current painter while it runs, so a handler can
// stop it, directly or by a change that releases the cached bitmap it paints on.
TEST(GIFPainter, HandlersCanStopASynchronousPainter) {
  StillClock clock;
  struct Case {
    const char* what;
    std::function<void(TGIFImage&)> change;
  };
  const Case cases[] = {
      {"StopCurrentPainter", [](TGIFImage& image) { image.StopCurrentPainter(); }},
      {"SetWidth", [](TGIFImage& image) { image.SetWidth(image.Width() + 1); }},
      {"Add", [](TGIFImage& image) {
         TBitmap bitmap(2, 2, pf24bit);
         image.Add(&bitmap);
       }},
      {"SetPalette", [](TGIFImage& image) { image.SetPalette(CreateWebSafePalette()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Loaded l = Load(Fixture("peer_anim.gif"));
    ASSERT_EQ(l.Error, "");
    TGIFImage& image = *l.Image;
    image.DrawOptions = DrawAnimate | DrawTransparent | DrawLoop;
    std::vector<int> shown;
    image.OnAfterFrame = [&](TObject* sender) {
      shown.push_back(static_cast<TGIFPainter*>(sender)->ActiveImage);
      if (shown.size() == 1) c.change(image);
    };
    int ends = 0;
    image.OnAnimationEnd = [&](TObject*) { ++ends; };
    auto target = Target(30, 20);
    {
      ScopedPoisonedFrees poisoned;
      image.Draw(*target->Canvas(), TRect{0, 0, 30, 20});
    }
    EXPECT_EQ(shown, std::vector<int>{0});
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(image.CurrentPainter, nullptr);
  }
}
