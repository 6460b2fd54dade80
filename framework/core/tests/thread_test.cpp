#include "framework/core/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

namespace {

// Long enough never to fire on a working build; a broken one fails instead of hanging.
constexpr DWORD kPatience = 10000;

class Latch {
 public:
  void Set() { SetEvent(event_.get()); }
  bool Wait() { return WaitForSingleObject(event_.get(), kPatience) == WAIT_OBJECT_0; }

 private:
  KernelHandle event_{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
};

// A thread whose body is a callable given by the test.
class TBodyThread : public TThread {
 public:
  explicit TBodyThread(std::function<void(TBodyThread&)> body) : TThread(true), body_(std::move(body)) {}
  ~TBodyThread() override {
    if (destroyedOn) *destroyedOn = GetCurrentThreadId();
    if (destroyed) destroyed->Set();
  }

  using TThread::Pause;
  using TThread::ReturnValue;
  DWORD* destroyedOn = nullptr;
  Latch* destroyed = nullptr;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TBodyThread&)> body_;
};

// Waits on the main thread until pred holds, yielding meanwhile.
bool SpinUntil(const std::function<bool()>& pred) {
  DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start > kPatience) return false;
    SwitchToThread();
  }
  return true;
}

TEST(Thread, OnTerminateRunsOnTheMainThread) {
  ASSERT_EQ(GetCurrentThreadId(), MainThreadID);
  DWORD workerId = 0, terminateOn = 0;
  TObject* sender = nullptr;
  TOwnedPtr<TBodyThread> t(new TBodyThread([&](TBodyThread& self) {
    workerId = GetCurrentThreadId();
    self.ReturnValue = 7;
  }));
  t->OnTerminate = [&](TObject* s) {
    terminateOn = GetCurrentThreadId();
    sender = s;
  };
  t->Start();
  EXPECT_EQ(t->WaitFor(), 7u);
  EXPECT_EQ(terminateOn, MainThreadID);
  EXPECT_NE(workerId, MainThreadID);
  EXPECT_EQ(sender, t.get());
  EXPECT_THROW(t->Start(), EThread);
}

TEST(Thread, NeverStartedThreadIsDestroyedSafely) {
  bool ran = false, terminated = false;
  DWORD destroyedOn = 0;
  auto* t = new TBodyThread([&](TBodyThread&) { ran = true; });
  t->OnTerminate = [&](TObject*) { terminated = true; };
  t->destroyedOn = &destroyedOn;
  EXPECT_FALSE(t->Started());
  EXPECT_TRUE(t->Suspended());
  EXPECT_EQ(t->Handle(), nullptr);
  EXPECT_EQ(t->WaitFor(), 0u);
  t->Free();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(terminated);
  EXPECT_EQ(destroyedOn, MainThreadID);
}

TEST(Thread, FreeOnTerminateSetInsideExecuteDeletesOnTheWorker) {
  Latch destroyed;
  DWORD destroyedOn = 0, workerId = 0;
  auto* t = new TBodyThread([&](TBodyThread& self) {
    workerId = GetCurrentThreadId();
    self.FreeOnTerminate = true;
  });
  t->destroyed = &destroyed;
  t->destroyedOn = &destroyedOn;
  t->Resume();  // starts a thread never started; t may be gone from here on
  ASSERT_TRUE(destroyed.Wait());
  EXPECT_EQ(destroyedOn, workerId);
  EXPECT_NE(destroyedOn, MainThreadID);
}

TEST(Thread, WaitForServicesAWorkerInsideSynchronize) {
  DWORD ranOn = 0;
  TOwnedPtr<TBodyThread> t(new TBodyThread([&](TBodyThread&) {
    TThread::Synchronize([&] { ranOn = GetCurrentThreadId(); });
  }));
  t->Start();
  t->WaitFor();  // the main thread never calls CheckSynchronize itself
  EXPECT_EQ(ranOn, MainThreadID);
  EXPECT_FALSE(t->FatalException());
}

TEST(Thread, EscapingExceptionIsKeptInFatalException) {
  struct Case {
    const char* name;
    std::function<void(TBodyThread&)> body;
  } cases[] = {
      {"from Execute", [](TBodyThread&) { throw EConvertError("boom"); }},
      {"from a synchronised method, re-thrown in the worker",
       [](TBodyThread&) { TThread::Synchronize([] { throw EConvertError("boom"); }); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TOwnedPtr<TBodyThread> t(new TBodyThread(c.body));
    t->Start();
    t->WaitFor();
    ASSERT_TRUE(t->FatalException());
    try {
      std::rethrow_exception(t->FatalException());
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), "boom");
    } catch (...) {
      ADD_FAILURE() << "wrong exception kept";
    }
  }
}

TEST(Thread, SuspendAndResumeDoNotCount) {
  Latch go, firstDone, cycled;
  bool firstPause = false;
  TOwnedPtr<TBodyThread> t(new TBodyThread([&](TBodyThread& self) {
    go.Wait();
    firstPause = self.Pause(0);
    firstDone.Set();
    while (self.Pause(INFINITE)) cycled.Set();
  }));
  t->SetPriority(tpLower);
  t->Start();
  EXPECT_EQ(GetThreadPriority(t->Handle()), THREAD_PRIORITY_BELOW_NORMAL);

  // Two suspends lifted by one resume: the next Pause does not park.
  t->Suspend();
  t->Suspend();
  t->Resume();
  EXPECT_FALSE(t->Suspended());
  go.Set();
  ASSERT_TRUE(firstDone.Wait());
  EXPECT_TRUE(firstPause);

  // A body asleep in Pause parks on Suspend; one Resume wakes it however often it
  // was suspended.
  t->Suspend();
  ASSERT_TRUE(SpinUntil([&] { return t->Parked(); }));
  t->Suspend();
  t->Resume();
  ASSERT_TRUE(cycled.Wait());

  // Terminate ends a parked body.
  t->Suspend();
  ASSERT_TRUE(SpinUntil([&] { return t->Parked(); }));
  t->Terminate();
  t->WaitFor();
  EXPECT_TRUE(t->Finished());
}

TEST(Thread, FreeingARunningThreadTerminatesAndWaits) {
  Latch inside;
  bool leftLoop = false;
  auto* t = new TBodyThread([&](TBodyThread& self) {
    inside.Set();
    while (self.Pause(INFINITE)) {
    }
    leftLoop = true;
  });
  t->Start();
  ASSERT_TRUE(inside.Wait());
  t->Free();
  EXPECT_TRUE(leftLoop);
}

TEST(Thread, SynchronizeServicedByCheckSynchronizeOnTheMainThread) {
  std::atomic<int> wakes{0};
  auto previous = SetWakeMainThread([&] { ++wakes; });
  DWORD ranOn = 0;
  bool workerCheck = true;
  TOwnedPtr<TBodyThread> t(new TBodyThread([&](TBodyThread&) {
    workerCheck = CheckSynchronize();  // not the main thread: does nothing
    TThread::Synchronize([&] { ranOn = GetCurrentThreadId(); });
  }));
  t->Start();
  bool ran = false;
  for (int i = 0; i < 3 && !ran; ++i) ran = CheckSynchronize(kPatience);
  EXPECT_TRUE(ran);
  EXPECT_EQ(ranOn, MainThreadID);
  EXPECT_FALSE(workerCheck);
  t->WaitFor();
  EXPECT_GE(wakes.load(), 1);  // the worker may wake the main thread after it was served
  SetWakeMainThread(previous);

  // On the main thread Synchronize runs at once.
  bool direct = false;
  TThread::Synchronize([&] { direct = true; });
  EXPECT_TRUE(direct);
  EXPECT_FALSE(CheckSynchronize());
}

}  // namespace
