#include "engine/MessagePacer.h"

#include "framework/core/seams.h"
#include "framework/core/thread.h"
#include "framework/gui/application.h"

void TMessagePacer::Pump() {
  const DWORD now = Clock().TickCount();
  if (!restarted_ && now - lastLook_ < LookInterval) return;
  lastLook_ = now;
  constexpr DWORD kDeferred = QS_PAINT | QS_TIMER | QS_POSTMESSAGE;
  const DWORD waiting = HIWORD(GetQueueStatus(QS_ALLINPUT));
  const bool due = restarted_ || now - lastPump_ >= PaintInterval;
  restarted_ = false;
  if ((waiting & ~kDeferred) != 0 || (waiting != 0 && due)) {
    lastPump_ = now;
    Application->ProcessMessages();
  } else {
    CheckSynchronize();
  }
}
