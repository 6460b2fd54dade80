// Watches one folder for changes in a worker thread of its own and calls a handler
// on the GUI thread when one happens.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>

#include "framework/core/classes.h"
#include "framework/core/delegate.h"
#include "framework/core/handles.h"
#include "framework/core/sysutils.h"
#include "framework/core/thread.h"

enum TNotifyFilter { nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange };
using TNotifyFilters = unsigned;  // a set of TNotifyFilter
constexpr TNotifyFilters NotifyFilterSet(TNotifyFilter f) { return 1u << f; }
// The change-notification filter bits of a set of filters.
DWORD NotifyFilterBits(TNotifyFilters filters);

// What the notifier and its worker share, under its lock. The notifier keeps it while
// it lives; the worker keeps it to its end, so neither side points at a freed object.
struct TksShellChangeWatch {
  std::mutex Lock;
  TThreadMethod Handler;
  String Path;
  bool SubTree = true;
  DWORD Filter = 0;
  bool Changed = false;   // options differ from those of the worker's watch
  bool Detached = false;  // the notifier is gone: nothing more is delivered
  bool Ended = false;     // the worker has ended
  KernelHandle StopEvent{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  KernelHandle OptionsEvent{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  KernelHandle EndedEvent{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  // Set while the worker's watch stands for the current options.
  KernelHandle WatchingEvent{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

class TksShellChangeThread : public TThread {
 public:
  explicit TksShellChangeThread(std::shared_ptr<TksShellChangeWatch> watch);
  // Stores new options and wakes the worker, which re-creates its watch.
  static void SetDirectoryOptions(TksShellChangeWatch& watch, const String& path, bool subTree, DWORD filter);

 protected:
  void Execute() override;

 private:
  // The watch for the current options; INVALID_HANDLE_VALUE when it cannot be set up.
  HANDLE NewWatch();
  void Deliver();

  std::shared_ptr<TksShellChangeWatch> watch_;
};

class TksCustomShellChangeNotifier : public TComponent {
 public:
  explicit TksCustomShellChangeNotifier(TComponent* AOwner);
  ~TksCustomShellChangeNotifier() override;

  TNotifyFilters NotifyFilters() const { return notifyFilters_; }
  void SetNotifyFilters(TNotifyFilters value);
  bool WatchSubTree() const { return watchSubTree_; }
  void SetWatchSubTree(bool value);
  const String& Root() const { return root_; }
  void SetRoot(const String& value);
  const TThreadMethod& OnChange() const { return onChange_; }
  // Starts a worker when none runs; otherwise swaps the running worker's handler.
  void SetOnChange(const TThreadMethod& value);

  // The running (or last) worker's shared state; null before the first worker.
  std::shared_ptr<const TksShellChangeWatch> Watch() const { return watch_; }

 private:
  void Start();
  void PassOptions();
  bool WorkerRuns() const;

  TNotifyFilters notifyFilters_ = NotifyFilterSet(nfFileNameChange) | NotifyFilterSet(nfDirNameChange);
  bool watchSubTree_ = true;
  String root_ = "C:\\";
  std::shared_ptr<TksShellChangeWatch> watch_;
  TThreadMethod onChange_;
};

class TksShellChangeNotifier : public TksCustomShellChangeNotifier {
 public:
  using TksCustomShellChangeNotifier::TksCustomShellChangeNotifier;
};
