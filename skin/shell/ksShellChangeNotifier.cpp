#include "skin/shell/ksShellChangeNotifier.h"

#include <array>

DWORD NotifyFilterBits(TNotifyFilters filters) {
  static constexpr std::array<DWORD, 6> kBits{FILE_NOTIFY_CHANGE_FILE_NAME, FILE_NOTIFY_CHANGE_DIR_NAME,
                                              FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_SIZE,
                                              FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SECURITY};
  DWORD bits = 0;
  for (size_t i = 0; i < kBits.size(); ++i)
    if (filters & (1u << i)) bits |= kBits[i];
  return bits;
}

// ---- TksShellChangeThread -----------------------------------------------------------------

TksShellChangeThread::TksShellChangeThread(std::shared_ptr<TksShellChangeWatch> watch)
    : TThread(true), watch_(std::move(watch)) {}

void TksShellChangeThread::SetDirectoryOptions(TksShellChangeWatch& watch, const String& path, bool subTree,
                                               DWORD filter) {
  {
    std::lock_guard guard(watch.Lock);
    watch.Path = path;
    watch.SubTree = subTree;
    watch.Filter = filter;
    watch.Changed = true;
    ResetEvent(watch.WatchingEvent.get());
  }
  // Closing the handle the worker waits on need not wake it, so an event does.
  SetEvent(watch.OptionsEvent.get());
}

HANDLE TksShellChangeThread::NewWatch() {
  std::lock_guard guard(watch_->Lock);
  watch_->Changed = false;
  HANDLE change = FindFirstChangeNotificationA(watch_->Path.c_str(), watch_->SubTree, watch_->Filter);
  if (change != INVALID_HANDLE_VALUE) SetEvent(watch_->WatchingEvent.get());
  return change;
}

void TksShellChangeThread::Deliver() {
  auto watch = watch_;
  Synchronize([watch] {
    // On the GUI thread, where the notifier is destroyed: a detached watch has no owner.
    TThreadMethod handler;
    {
      std::lock_guard guard(watch->Lock);
      if (watch->Detached) return;
      handler = watch->Handler;
    }
    if (handler) handler();
  });
}

void TksShellChangeThread::Execute() {
  FreeOnTerminate = true;
  HANDLE change = NewWatch();
  while (change != INVALID_HANDLE_VALUE && !Terminated()) {
    const std::array<HANDLE, 3> handles{change, watch_->StopEvent.get(), watch_->OptionsEvent.get()};
    const DWORD result = WaitForMultipleObjects(3, handles.data(), FALSE, INFINITE);
    if (result == WAIT_FAILED || result == WAIT_OBJECT_0 + 1) break;
    if (result == WAIT_OBJECT_0) {
      // Re-armed first, so a change made while the handler runs is not missed.
      FindNextChangeNotification(change);
      Deliver();
    }
    bool changed = false;
    {
      std::lock_guard guard(watch_->Lock);
      changed = watch_->Changed;
    }
    if (changed) {
      FindCloseChangeNotification(change);
      change = NewWatch();
    }
  }
  if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
  std::lock_guard guard(watch_->Lock);
  watch_->Ended = true;
  SetEvent(watch_->EndedEvent.get());
}

// ---- TksCustomShellChangeNotifier -----------------------------------------------------------

TksCustomShellChangeNotifier::TksCustomShellChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}

TksCustomShellChangeNotifier::~TksCustomShellChangeNotifier() {
  if (!watch_) return;
  std::lock_guard guard(watch_->Lock);
  watch_->Detached = true;
  watch_->Handler.Clear();
  SetEvent(watch_->StopEvent.get());
}

bool TksCustomShellChangeNotifier::WorkerRuns() const {
  if (!watch_) return false;
  std::lock_guard guard(watch_->Lock);
  return !watch_->Ended;
}

void TksCustomShellChangeNotifier::Start() {
  if (!onChange_) return;
  watch_ = std::make_shared<TksShellChangeWatch>();
  watch_->Handler = onChange_;
  watch_->Path = root_;
  watch_->SubTree = watchSubTree_;
  watch_->Filter = NotifyFilterBits(notifyFilters_);
  auto* thread = new TksShellChangeThread(watch_);
  thread->Start();
}

void TksCustomShellChangeNotifier::SetOnChange(const TThreadMethod& value) {
  onChange_ = value;
  if (WorkerRuns()) {
    std::lock_guard guard(watch_->Lock);
    watch_->Handler = value;
  } else {
    Start();
  }
}

void TksCustomShellChangeNotifier::PassOptions() {
  if (WorkerRuns()) TksShellChangeThread::SetDirectoryOptions(*watch_, root_, watchSubTree_, NotifyFilterBits(notifyFilters_));
}

void TksCustomShellChangeNotifier::SetRoot(const String& value) {
  if (SameText(value, root_)) return;
  root_ = value;
  PassOptions();
}

void TksCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters value) {
  notifyFilters_ = value;
  PassOptions();
}

void TksCustomShellChangeNotifier::SetWatchSubTree(bool value) {
  watchSubTree_ = value;
  PassOptions();
}
