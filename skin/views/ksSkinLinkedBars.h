// The two skinned scroll bars a view shows in place of its own: placed by the
// owner next to the view, linked here, shown and ranged by the view.
#pragma once

#include "framework/core/classes.h"
#include "skin/controls/ksSkinScrollBar.h"

class TksLinkedScrollBars {
 public:
  // `owner` holds the free notifications of the bars; the events run on a bar's change.
  TksLinkedScrollBars(TComponent* owner, TNotifyEvent onVChange, TNotifyEvent onHChange)
      : owner_(owner), onV_(onVChange), onH_(onHChange) {}
  // A bar that outlives the view no longer calls it.
  ~TksLinkedScrollBars() {
    Unlink(v_, onV_);
    Unlink(h_, onH_);
  }
  TksLinkedScrollBars(const TksLinkedScrollBars&) = delete;
  TksLinkedScrollBars& operator=(const TksLinkedScrollBars&) = delete;

  TksSkinScrollBar* V() const { return v_; }
  TksSkinScrollBar* H() const { return h_; }
  // The previous bar gets its change handler back; the new one starts hidden.
  void SetV(TksSkinScrollBar* bar) { Link(v_, bar, onV_); }
  void SetH(TksSkinScrollBar* bar) { Link(h_, bar, onH_); }
  // From the owner's Notification.
  void Forget(TComponent* c) {
    if (c == v_) v_ = nullptr;
    if (c == h_) h_ = nullptr;
  }

  // Shows the bar with the range or hides it; true when its visibility changed.
  static bool Show(TksSkinScrollBar* bar, bool show, int min, int max, int page, int pos) {
    if (bar == nullptr) return false;
    const bool changed = bar->Visible() != show;
    if (show) bar->SetRange(min, max, page, pos);
    bar->SetVisible(show);
    return changed;
  }
  // The horizontal bar leaves the corner square to the vertical one while both show.
  void UpdateBoth() {
    if (h_ != nullptr && v_ != nullptr) h_->SetBoth(v_->Visible());
  }
  void SetVisible(bool value) {
    for (TksSkinScrollBar* bar : {v_, h_})
      if (bar != nullptr) bar->SetVisible(value);
  }
  // Both bars re-run their parent's alignment.
  void Realign() {
    for (TksSkinScrollBar* bar : {v_, h_}) {
      if (bar == nullptr) continue;
      const TAlign a = bar->Align();
      bar->SetAlign(alNone);
      bar->SetAlign(a);
    }
  }

 private:
  void Link(TksSkinScrollBar*& slot, TksSkinScrollBar* bar, const TNotifyEvent& handler) {
    if (slot == bar) return;
    TksSkinScrollBar* old = slot;
    Unlink(old, handler);
    slot = bar;
    if (old != nullptr && old != v_ && old != h_) owner_->RemoveFreeNotification(old);
    if (bar == nullptr) return;
    owner_->FreeNotification(bar);
    bar->SetEnabled(true);
    bar->SetVisible(false);
    bar->OnChange = handler;
  }
  static void Unlink(TksSkinScrollBar* bar, const TNotifyEvent& handler) {
    if (bar != nullptr && bar->OnChange == handler) bar->OnChange = nullptr;
  }

  TComponent* owner_;
  TNotifyEvent onV_;
  TNotifyEvent onH_;
  TksSkinScrollBar* v_ = nullptr;
  TksSkinScrollBar* h_ = nullptr;
};
