#include "framework/core/classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

namespace {

// The loading pass open on this thread, innermost first.
thread_local TComponent::TLoadingScope* currentLoading = nullptr;

bool SameTextAscii(const String& a, const String& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

}  // namespace

// --- TPersistent ---

void TPersistent::Assign(TPersistent* Source) {
  if (!Source) throw EConvertError("Cannot assign a nil to a " + ClassName());
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " +
                      (Dest ? Dest->ClassName() : String("nil")));
}

String TPersistent::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                               std::free);
  return status == 0 && plain ? String(plain.get()) : String(mangled);
}

// --- TComponent ---

TComponent::TComponent(TComponent* AOwner) {
  if (currentLoading && !currentLoading->finishing_) {
    state_ |= csLoading;
    currentLoading->created_.push_back(this);
  }
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // A plain delete: the steps Free would have taken, as far as they still can run.
  if (!destroyed_) Destroying();
  for (TLoadingScope* scope = currentLoading; scope; scope = scope->previous_)
    std::erase(scope->created_, this);
}

void TComponent::BeforeDestruction() {
  if (!destroyed_) Destroying();
}

void TComponent::Destroying() {
  destroyed_ = true;
  state_ |= csDestroying;
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    std::erase(other->freeNotifies_, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    ::Free(last);
  }
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameTextAscii(c->Name, AName)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->owner_ == this) return;
  if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
  components_.push_back(AComponent);
  AComponent->owner_ = this;
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->owner_ != this) return;
  Notification(AComponent, opRemove);
  std::erase(components_, AComponent);
  AComponent->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
    freeNotifies_.push_back(AComponent);
  if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
      AComponent->freeNotifies_.end())
    AComponent->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  UnlinkFreeNotify(AComponent);
  AComponent->UnlinkFreeNotify(this);
}

void TComponent::UnlinkFreeNotify(TComponent* AComponent) { std::erase(freeNotifies_, AComponent); }

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // A handler may free components; walk down from the end and re-check the bound.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (i >= ComponentCount()) continue;
    TComponent* c = components_[static_cast<size_t>(i)];
    if (c != AComponent) c->Notification(AComponent, Operation);
  }
}

// --- loading ---

TComponent::TLoadingScope::TLoadingScope() : previous_(currentLoading) { currentLoading = this; }

TComponent::TLoadingScope::~TLoadingScope() {
  if (currentLoading == this) currentLoading = previous_;
}

void TComponent::TLoadingScope::Finish(TComponent* root) {
  // From here on new components start loaded, but the scope still hears of parts
  // that are destroyed, so a Loaded that frees a later part is safe.
  finishing_ = true;
  auto ownedByRoot = [root](TComponent* c) {
    for (TComponent* o = c->owner_; o; o = o->owner_)
      if (o == root) return true;
    return false;
  };
  for (TComponent* c : created_) c->state_ &= ~csLoading;
  std::erase_if(created_, [&](TComponent* c) { return c == root || !ownedByRoot(c); });
  while (!created_.empty()) {
    TComponent* part = created_.front();
    created_.erase(created_.begin());
    part->Loaded();
  }
  root->Loaded();
}
