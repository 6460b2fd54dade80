// TThread and the queue that runs code on the main thread for workers.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

#include "framework/core/classes.h"
#include "framework/core/delegate.h"
#include "framework/core/handles.h"

// The thread that started this module (the program's main thread).
extern const DWORD MainThreadID;

// Runs the calls workers have queued through Synchronize; with a timeout, first
// waits that long for one to arrive. On any thread but the main one it does
// nothing and returns false; otherwise true when something ran.
bool CheckSynchronize(DWORD timeoutMs = 0);

// Called on the worker right after it queues a call, so the main thread's loop
// wakes and runs CheckSynchronize. Application installs it (a message posted to
// its window); returns the hook it replaces. Each module has its own queue and hook.
std::function<void()> SetWakeMainThread(std::function<void()> hook);

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A worker thread. The constructor never starts it: the creator calls Start() (or
// Resume()) once the object is whole. Free it with Free() or a TOwnedPtr so that a
// running thread is stopped while the derived object still exists.
class TThread : public TObject {
 public:
  explicit TThread(bool CreateSuspended);
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Terminates, wakes and waits for a running thread while the object is whole.
  void BeforeDestruction() override;

  void Start();
  // Starts a thread not yet started; otherwise lifts a Suspend.
  void Resume();
  // Cooperative and non-counting: the body parks at its next Pause until Resume.
  void Suspend();
  // True before Start too, so "if (t->Suspended()) t->Resume();" starts a new thread.
  bool Suspended() const { return !started_ || suspended_; }
  bool Started() const { return started_; }
  bool Finished() const { return finished_; }
  bool CreateSuspended() const { return createSuspended_; }
  // The body sits parked in Pause.
  bool Parked() const { return parked_; }

  void Terminate();
  bool Terminated() const { return terminated_; }

  // Waits for the body to end and gives its ReturnValue. On the main thread it keeps
  // running queued Synchronize calls and sent messages meanwhile.
  DWORD WaitFor();

  TThreadPriority Priority() const { return priority_; }
  void SetPriority(TThreadPriority value);

  HANDLE Handle() const { return handle_.get(); }
  DWORD ThreadID() const { return threadId_; }

  // The exception that escaped Execute (or DoTerminate), if any.
  std::exception_ptr FatalException() const { return fatal_; }

  // Runs method on the main thread: directly when already there, otherwise queued,
  // waking the main thread and blocking until it has run. An exception from the
  // method is re-thrown here.
  static void Synchronize(const TThreadMethod& method);

  // Settable inside Execute: the object deletes itself on the worker once done.
  std::atomic<bool> FreeOnTerminate{false};
  // Runs on the main thread through Synchronize once the body has ended.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Fires OnTerminate on the main thread when it is assigned.
  virtual void DoTerminate();

  // The body's sleep between cycles: ms milliseconds (INFINITE allowed), cut short
  // by Terminate or Suspend; parks while suspended. False once terminated.
  bool Pause(DWORD ms);

  int ReturnValue = 0;

 private:
  static unsigned __stdcall ThreadProc(void* self);
  void CallOnTerminate();
  void StopAndWait();

  KernelHandle handle_;
  DWORD threadId_ = 0;
  bool createSuspended_;
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> suspended_{false};
  std::atomic<bool> parked_{false};
  TThreadPriority priority_ = tpNormal;
  std::exception_ptr fatal_;

  std::mutex pauseLock_;
  std::condition_variable pauseWake_;
};
