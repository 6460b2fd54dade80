// A component's takeover of a control's WindowProc that may end in any order.
// Ended while still on top, it gives the control its previous procedure back;
// ended with a later hook above it (which saved this one as its previous), it
// stays in the chain as a plain pass-through, so nothing of its owner runs once
// the owner is gone. A control being destroyed keeps the pass-through too.
#pragma once

#include <memory>

#include "framework/gui/control.h"

class TksWindowProcHook {
 public:
  // `handler` runs for every message of the control until the hook ends.
  TksWindowProcHook(TControl* control, TWndMethodEvent handler);
  ~TksWindowProcHook();
  TksWindowProcHook(const TksWindowProcHook&) = delete;
  TksWindowProcHook& operator=(const TksWindowProcHook&) = delete;

  // The procedure the hook replaced.
  const TWndMethodEvent& Previous() const { return link_->previous; }

 private:
  struct Link {
    TWndMethodEvent handler;
    TWndMethodEvent previous;
  };

  TControl* control_;
  std::shared_ptr<Link> link_;
  TWndMethodEvent installed_;
};
