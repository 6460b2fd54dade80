// The change notifier against a scratch folder: start, swap, one call per change,
// options moving the watch, and stopping without further calls.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/core/thread.h"
#include "skin/shell/ksShellChangeNotifier.h"
#include "skin/tests/ksShellScratch.h"

namespace {

using shelltest::ShellScratch;

constexpr DWORD kGuardMs = 10000;  // a guard against a hang, never a pacing delay
constexpr int kGuardRounds = 100;  // rounds of waiting up to 100 ms for a delivery

class ShellChangeNotifier : public ::testing::Test {
 protected:
  // Runs delivered calls until `count` reaches `want` (false if the guard ran out).
  static bool RunUntil(const int& count, int want) {
    for (int round = 0; count < want && round < kGuardRounds; ++round) CheckSynchronize(100);
    return count >= want;
  }
  // The worker has set up its watch for the current options.
  bool Watching() const {
    return notifier->Watch() && WaitForSingleObject(notifier->Watch()->WatchingEvent.get(), kGuardMs) == WAIT_OBJECT_0;
  }
  // Destroys the notifier and waits for its worker to end.
  static bool FreeAndWaitEnded(TksShellChangeNotifier*& notifier) {
    auto watch = notifier->Watch();
    delete notifier;
    notifier = nullptr;
    return !watch || WaitForSingleObject(watch->EndedEvent.get(), kGuardMs) == WAIT_OBJECT_0;
  }

  ShellScratch scratch;
  TksShellChangeNotifier* notifier = new TksShellChangeNotifier(nullptr);
  void TearDown() override {
    if (notifier) {
      EXPECT_TRUE(FreeAndWaitEnded(notifier));
    }
    CheckSynchronize(0);
  }
};

TEST_F(ShellChangeNotifier, StartsOnTheFirstHandlerAndSwapsOnTheNext) {
  notifier->SetRoot(scratch.Path());
  notifier->SetWatchSubTree(false);
  EXPECT_EQ(notifier->Watch(), nullptr) << "no worker before a handler";
  notifier->SetOnChange(nullptr);
  EXPECT_EQ(notifier->Watch(), nullptr) << "an empty handler starts nothing";
  int first = 0, second = 0;
  notifier->SetOnChange([&] { ++first; });
  auto watch = notifier->Watch();
  ASSERT_NE(watch, nullptr);
  ASSERT_TRUE(Watching());
  scratch.File("a.txt");
  ASSERT_TRUE(RunUntil(first, 1));
  notifier->SetOnChange([&] { ++second; });
  EXPECT_EQ(notifier->Watch(), watch) << "the same worker runs on";
  scratch.File("b.txt");
  ASSERT_TRUE(RunUntil(second, 1));
  scratch.Folder("c");
  ASSERT_TRUE(RunUntil(second, 2));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2) << "one call per change";
}

TEST_F(ShellChangeNotifier, OptionsMoveTheWatchAndTheSameRootInAnyCaseDoesNothing) {
  const String one = scratch.Folder("one");
  const String two = scratch.Folder("two");
  notifier->SetRoot(one);
  notifier->SetRoot(CharUpperA(String(one).data()));
  EXPECT_EQ(notifier->Root(), one);
  int calls = 0;
  notifier->SetOnChange([&] { ++calls; });
  notifier->SetRoot(two);
  ASSERT_TRUE(Watching());
  scratch.File("two\\x.txt");
  ASSERT_TRUE(RunUntil(calls, 1)) << "the worker watches the new root";
}

TEST_F(ShellChangeNotifier, DestroyingAQuietNotifierEndsTheWorkerWithoutACall) {
  notifier->SetRoot(scratch.Path());
  int calls = 0;
  notifier->SetOnChange([&] { ++calls; });
  ASSERT_TRUE(FreeAndWaitEnded(notifier));
  scratch.File("late.txt");
  CheckSynchronize(0);
  EXPECT_EQ(calls, 0);
}

TEST_F(ShellChangeNotifier, AChangeQueuedWhileTheNotifierGoesReachesNoHandler) {
  notifier->SetRoot(scratch.Path());
  notifier->SetWatchSubTree(false);
  int calls = 0;
  notifier->SetOnChange([&] { ++calls; });
  auto watch = notifier->Watch();
  ASSERT_TRUE(Watching());
  scratch.File("queued.txt");
  // The worker blocks in its delivery until this thread runs it; destroy first.
  delete notifier;
  notifier = nullptr;
  bool ended = false;
  for (int round = 0; !ended && round < kGuardRounds; ++round) {
    CheckSynchronize(100);
    ended = WaitForSingleObject(watch->EndedEvent.get(), 0) == WAIT_OBJECT_0;
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(calls, 0);
}

TEST_F(ShellChangeNotifier, AMissingRootEndsTheWorkerAndALaterHandlerStartsAnew) {
  notifier->SetRoot(scratch / "missing");
  int calls = 0;
  notifier->SetOnChange([&] { ++calls; });
  auto ended = notifier->Watch();
  ASSERT_EQ(WaitForSingleObject(ended->EndedEvent.get(), kGuardMs), WAIT_OBJECT_0);
  notifier->SetRoot(scratch.Path());
  notifier->SetOnChange([&] { ++calls; });
  EXPECT_NE(notifier->Watch(), ended) << "a worker that ended by itself is replaced";
  ASSERT_TRUE(Watching());
  scratch.File("seen.txt");
  ASSERT_TRUE(RunUntil(calls, 1));
}

TEST(ShellNotifyFilters, BitsOfEachFilter) {
  EXPECT_EQ(NotifyFilterBits(NotifyFilterSet(nfFileNameChange) | NotifyFilterSet(nfDirNameChange)), 3u);
  EXPECT_EQ(NotifyFilterBits(NotifyFilterSet(nfWriteChange) | NotifyFilterSet(nfSecurityChange)), 0x110u);
  EXPECT_EQ(NotifyFilterBits(NotifyFilterSet(nfAttributeChange) | NotifyFilterSet(nfSizeChange)), 0xCu);
}

}  // namespace
