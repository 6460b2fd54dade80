// The children a rolled-up panel hid, to show again when it rolls down. Each
// held child carries a free notification to the panel, so one freed meanwhile
// leaves the list at once (the panel passes its removals to Forget).
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/gui/wincontrol.h"

class TksHiddenChildren {
 public:
  explicit TksHiddenChildren(TWinControl* owner) : owner_(owner) {}
  // Children still held keep no notification link to a dead panel.
  ~TksHiddenChildren() { Drop(); }
  TksHiddenChildren(const TksHiddenChildren&) = delete;
  TksHiddenChildren& operator=(const TksHiddenChildren&) = delete;

  // Null while none are held.
  const std::vector<TControl*>* List() const { return list_.get(); }
  bool Held() const { return list_ != nullptr; }
  // Hides every visible child and holds it; a list left over is dropped first.
  void Hide() {
    Drop();
    list_ = std::make_unique<std::vector<TControl*>>();
    for (int i = 0; i < owner_->ControlCount(); ++i) {
      TControl* c = owner_->Controls(i);
      if (!c->Visible()) continue;
      list_->push_back(c);
      owner_->FreeNotification(c);
    }
    for (TControl* c : std::vector<TControl*>(*list_)) c->SetVisible(false);
  }
  // Shows the held children again and holds none.
  void Show() {
    if (!list_) return;
    auto held = std::move(list_);
    for (TControl* c : *held) {
      owner_->RemoveFreeNotification(c);
      c->SetVisible(true);
    }
  }
  void Forget(TComponent* c) {
    if (list_) std::erase(*list_, c);
  }

 private:
  void Drop() {
    if (!list_) return;
    for (TControl* c : *list_) owner_->RemoveFreeNotification(c);
    list_.reset();
  }

  TWinControl* owner_;
  std::unique_ptr<std::vector<TControl*>> list_;
};
