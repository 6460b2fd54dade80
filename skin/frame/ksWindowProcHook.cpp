#include "skin/frame/ksWindowProcHook.h"

TksWindowProcHook::TksWindowProcHook(TControl* control, TWndMethodEvent handler)
    : control_(control), link_(std::make_shared<Link>(Link{std::move(handler), control->WindowProc()})) {
  // The installed procedure co-owns the link: a hook above that saved it keeps it alive.
  installed_ = [link = link_](TMessage& message) {
    if (link->handler)
      link->handler(message);
    else
      link->previous(message);
  };
  control_->SetWindowProc(installed_);
}

// A control being destroyed is not written to: deleted, it frees its components
// after its own members are gone.
TksWindowProcHook::~TksWindowProcHook() {
  if (!(control_->ComponentState() & csDestroying) && control_->WindowProc() == installed_)
    control_->SetWindowProc(link_->previous);
  else
    link_->handler = nullptr;
}
