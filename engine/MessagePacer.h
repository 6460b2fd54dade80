// The window's thread while a pass runs on it: the pass calls this thousands of times, and
// both the framework's pump and a look at the queue cost more than a sector read. It looks
// a few times a tick, pumps at once only for input and messages sent by other threads, and
// leaves paints, timers and posted messages to the paint interval, so that a burst of
// count, name and gauge changes shows as one paint; other threads' calls (a preview
// thread's pictures) are served at every look.
#pragma once

#include <windows.h>

class TMessagePacer {
 public:
  static constexpr DWORD LookInterval = 10;
  static constexpr DWORD PaintInterval = 100;

  // The next call looks at the queue and pumps whatever waits.
  void Restart() { restarted_ = true; }
  void Pump();

 private:
  DWORD lastLook_ = 0;
  DWORD lastPump_ = 0;
  bool restarted_ = true;
};
