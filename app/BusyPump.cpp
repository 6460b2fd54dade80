#include "app/BusyPump.h"

#include "framework/core/seams.h"
#include "framework/gui/screen.h"

namespace {

constexpr UINT kLastMouseMessage = 0x020E;  // the horizontal wheel, beyond this build's headers

bool IsClickOrKey(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_LBUTTONDOWN && message <= kLastMouseMessage) ||
         (message >= WM_NCLBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

TBusyPump::TBusyPump() : savedCursor_(Screen->Cursor()) {
  Screen->SetCursor(crHourGlass);
  ownHook_ = Bind<&TBusyPump::DropInput>(this);
  savedHook_ = Application->OnMessage;
  Application->OnMessage = ownHook_;
}

TBusyPump::~TBusyPump() {
  // Someone who hooked in after us keeps their handler.
  if (Application->OnMessage == ownHook_) Application->OnMessage = savedHook_;
  Screen->SetCursor(savedCursor_);
}

void TBusyPump::operator()() {
  const DWORD now = Clock().TickCount();
  if (pumped_ && now - lastPump_ < kPumpInterval) return;
  pumped_ = true;
  lastPump_ = now;
  Application->ProcessMessages();
}

void TBusyPump::DropInput(TMsg& Msg, bool& Handled) {
  if (IsClickOrKey(Msg.message)) {
    Handled = true;
    return;
  }
  if (savedHook_) savedHook_(Msg, Handled);
}
