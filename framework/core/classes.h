// TObject, TPersistent and TComponent: the base classes, assignment and ownership.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "framework/core/sysutils.h"

// Base of every class whose objects lists may own and free.
class TObject {
 public:
  virtual ~TObject() = default;

  // Runs while the most-derived object is still whole, just before Free deletes it.
  virtual void BeforeDestruction() {}

  // BeforeDestruction, then delete. The object must not be null; the free function
  // Free(p) accepts null.
  void Free();
};

// Null-safe: BeforeDestruction, then delete.
inline void Free(TObject* object) {
  if (!object) return;
  object->BeforeDestruction();
  delete object;
}

inline void TObject::Free() { ::Free(this); }

template <class T>
void FreeAndNil(T*& object) {
  T* doomed = object;
  object = nullptr;
  ::Free(doomed);
}

// For smart pointers to framework objects: frees through Free(), never a plain delete.
struct TFreeDeleter {
  void operator()(TObject* object) const { ::Free(object); }
};

template <class T>
using TOwnedPtr = std::unique_ptr<T, TFreeDeleter>;

// Objects that can copy themselves from one another.
class TPersistent : public TObject {
 public:
  // Copies Source into this object; the base hands over to Source->AssignTo(this).
  virtual void Assign(TPersistent* Source);

  // The class name used in messages; defaults to the C++ class name.
  virtual String ClassName() const;

 protected:
  // The fall-through: raises EConvertError("Cannot assign a %s to a %s").
  virtual void AssignTo(TPersistent* Dest);
};

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csDestroying = 1u << 1,
};
using TComponentState = unsigned;  // a set of TComponentStateFlag

enum TOperation { opInsert, opRemove };

// An owned, named object. The owner frees what it owns, last created first; an owned
// component that is freed leaves its owner. Free notifications link two components
// both ways, so either learns when the other goes.
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // Sets csDestroying, sends free notifications, frees owned components and leaves
  // the owner while the most-derived object is still whole. Overrides call it.
  void BeforeDestruction() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;  // in creation order
  int ComponentIndex() const;               // position in the owner's list, or -1
  TComponentState ComponentState() const { return state_; }

  // An owned component by name (case-insensitive), or null.
  TComponent* FindComponent(const String& AName) const;

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  // Links this component and AComponent both ways: when either is destroyed the
  // other gets Notification(dying, opRemove).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  void SetSubComponent(bool IsSubComponent) { subComponent_ = IsSubComponent; }
  bool IsSubComponent() const { return subComponent_; }

  // Called once loading has finished (see Construct).
  virtual void Loaded();

  // Told when a component is inserted into or removed from the owner, or when a
  // linked component dies. Overrides clear their references and call the base,
  // which passes the news on to every owned component.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

  String Name;
  intptr_t Tag = 0;

  // Scope of one loading pass: components created while it is open start in
  // csLoading; Finish clears it and calls Loaded on the root's components in
  // creation order, then on the root. Used by Construct and CreateForm.
  class TLoadingScope {
   public:
    TLoadingScope();
    ~TLoadingScope();
    TLoadingScope(const TLoadingScope&) = delete;
    TLoadingScope& operator=(const TLoadingScope&) = delete;
    void Finish(TComponent* root);

   private:
    friend class TComponent;
    std::vector<TComponent*> created_;
    TLoadingScope* previous_;
    bool finishing_ = false;
  };

 protected:
  void SetState(TComponentState flags) { state_ |= flags; }
  void ClearState(TComponentState flags) { state_ &= ~flags; }

 private:
  void Destroying();
  void DestroyComponents();
  void UnlinkFreeNotify(TComponent* AComponent);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_ = 0;
  bool subComponent_ = false;
  bool destroyed_ = false;  // the destruction steps have run
};

// Builds a component the way a stored form would be loaded: csLoading while the
// constructor creates and wires its parts, then Loaded on each part in creation
// order and on the object last.
template <class T, class... Args>
T* Construct(TComponent* AOwner, Args&&... args) {
  TComponent::TLoadingScope scope;
  T* object = new T(AOwner, std::forward<Args>(args)...);
  try {
    scope.Finish(object);
  } catch (...) {
    ::Free(object);
    throw;
  }
  return object;
}

// Points a component reference at value, linked both ways so that whichever
// component goes first is told (Notification) and the other forgets it.
template <class T>
void SetComponentReference(TComponent* self, T*& reference, T* value) {
  if (reference == value) return;
  if (reference != nullptr) reference->RemoveFreeNotification(self);
  reference = value;
  if (reference != nullptr) reference->FreeNotification(self);
}
