#include "framework/core/thread.h"

#include <process.h>

#include <string>
#include <utility>
#include <vector>

extern const DWORD MainThreadID = GetCurrentThreadId();

namespace {

struct SyncRequest {
  TThreadMethod method;
  std::exception_ptr error;
  bool done = false;
};

// The module's queue of calls waiting for the main thread. The event is set while
// the queue is not empty, so WaitFor can wait on it beside the thread handle.
struct SyncQueue {
  std::mutex lock;
  std::condition_variable finished;
  std::vector<SyncRequest*> pending;
  KernelHandle event{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::function<void()> wake;
};

SyncQueue& Queue() {
  static SyncQueue queue;
  return queue;
}

bool OnMainThread() { return GetCurrentThreadId() == MainThreadID; }

int OsPriority(TThreadPriority p) {
  static constexpr int kPriorities[] = {
      THREAD_PRIORITY_IDLE,    THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
      THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL,
  };
  return kPriorities[p];
}

}  // namespace

std::function<void()> SetWakeMainThread(std::function<void()> hook) {
  SyncQueue& q = Queue();
  std::lock_guard guard(q.lock);
  return std::exchange(q.wake, std::move(hook));
}

bool CheckSynchronize(DWORD timeoutMs) {
  if (!OnMainThread()) return false;
  SyncQueue& q = Queue();
  if (timeoutMs) WaitForSingleObject(q.event.get(), timeoutMs);
  std::vector<SyncRequest*> batch;
  {
    std::lock_guard guard(q.lock);
    // The event is only ever set together with a request: an empty queue has it reset
    // already, and a busy loop that looks thousands of times a pass skips the kernel call.
    if (q.pending.empty()) return false;
    batch.swap(q.pending);
    ResetEvent(q.event.get());
  }
  for (SyncRequest* request : batch) {
    try {
      request->method();
    } catch (...) {
      request->error = std::current_exception();
    }
    {
      std::lock_guard guard(q.lock);
      request->done = true;
    }
    q.finished.notify_all();
  }
  return !batch.empty();
}

void TThread::Synchronize(const TThreadMethod& method) {
  if (OnMainThread()) {
    method();
    return;
  }
  SyncQueue& q = Queue();
  SyncRequest request;
  request.method = method;
  std::function<void()> wake;
  {
    std::lock_guard guard(q.lock);
    q.pending.push_back(&request);
    SetEvent(q.event.get());
    wake = q.wake;
  }
  if (wake) wake();
  {
    std::unique_lock guard(q.lock);
    q.finished.wait(guard, [&] { return request.done; });
  }
  if (request.error) std::rethrow_exception(request.error);
}

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended) {}

TThread::~TThread() {
  StopAndWait();  // a plain delete: too late for the derived parts, but never leaves it running
}

void TThread::BeforeDestruction() { StopAndWait(); }

void TThread::StopAndWait() {
  if (!started_ || finished_ || GetCurrentThreadId() == threadId_) return;
  Terminate();
  WaitFor();
}

void TThread::Start() {
  if (started_) throw EThread("Cannot call Start on a running or suspended thread");
  unsigned id = 0;
  auto raw = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
  if (!raw) throw EThread("Thread creation error: " + std::to_string(GetLastError()));
  handle_.reset(reinterpret_cast<HANDLE>(raw));
  threadId_ = id;
  started_ = true;
  SetThreadPriority(handle_.get(), OsPriority(priority_));
  // From here a FreeOnTerminate thread may already be gone: touch nothing after.
  ResumeThread(reinterpret_cast<HANDLE>(raw));
}

void TThread::Resume() {
  if (!started_) {
    Start();
    return;
  }
  {
    std::lock_guard guard(pauseLock_);
    suspended_ = false;
  }
  pauseWake_.notify_all();
}

void TThread::Suspend() {
  {
    std::lock_guard guard(pauseLock_);
    suspended_ = true;
  }
  pauseWake_.notify_all();  // a body asleep in Pause parks now
}

void TThread::Terminate() {
  {
    std::lock_guard guard(pauseLock_);
    terminated_ = true;
  }
  pauseWake_.notify_all();
}

bool TThread::Pause(DWORD ms) {
  std::unique_lock guard(pauseLock_);
  auto cut = [this] { return terminated_ || suspended_; };
  if (ms == INFINITE)
    pauseWake_.wait(guard, cut);
  else
    pauseWake_.wait_for(guard, std::chrono::milliseconds(ms), cut);
  if (suspended_ && !terminated_) {
    parked_ = true;
    pauseWake_.wait(guard, [this] { return terminated_ || !suspended_; });
    parked_ = false;
  }
  return !terminated_;
}

DWORD TThread::WaitFor() {
  if (!started_) return static_cast<DWORD>(ReturnValue);
  if (GetCurrentThreadId() == threadId_) throw EThread("A thread cannot wait for itself");
  HANDLE thread = handle_.get();
  if (OnMainThread()) {
    HANDLE handles[] = {thread, Queue().event.get()};
    for (;;) {
      DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
      if (r == WAIT_OBJECT_0) break;
      if (r == WAIT_OBJECT_0 + 1) {
        CheckSynchronize();
      } else if (r == WAIT_OBJECT_0 + 2) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers the sent messages
      } else {
        throw EThread("WaitFor failed: " + std::to_string(GetLastError()));
      }
    }
  } else {
    WaitForSingleObject(thread, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  return code;
}

void TThread::SetPriority(TThreadPriority value) {
  priority_ = value;
  if (started_ && !finished_) SetThreadPriority(handle_.get(), OsPriority(value));
}

void TThread::DoTerminate() {
  if (OnTerminate.Assigned()) Synchronize(Bind<&TThread::CallOnTerminate>(this));
}

void TThread::CallOnTerminate() { OnTerminate(this); }

unsigned __stdcall TThread::ThreadProc(void* self) {
  auto* thread = static_cast<TThread*>(self);
  if (!thread->terminated_) {
    try {
      thread->Execute();
    } catch (...) {
      thread->fatal_ = std::current_exception();
    }
  }
  auto result = static_cast<unsigned>(thread->ReturnValue);
  try {
    thread->DoTerminate();
  } catch (...) {
    if (!thread->fatal_) thread->fatal_ = std::current_exception();
  }
  bool freeIt = thread->FreeOnTerminate;
  thread->finished_ = true;
  if (freeIt) {
    try {
      ::Free(thread);
    } catch (...) {
    }
  }
  return result;
}
