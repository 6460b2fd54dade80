// Event slots: one delegate type for bound methods and callables.
#pragma once

#include <concepts>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

class TObject;

template <class Signature>
class TEvent;

// A slot holding either a method bound to an object or a callable.
//
// A bound method is {object, thunk, identity}: copies own nothing and compare
// equal when object and method match. A callable is kept in shared storage that
// every copy co-owns, so a copy (the one operator() runs, a saved handler) never
// dangles when the slot it came from is cleared or reassigned. Callables compare
// equal only to their own copies.
//
// Calling an unassigned slot does nothing.
template <class... Args>
class TEvent<void(Args...)> {
 public:
  using Thunk = void (*)(void* object, Args... args);

  TEvent() = default;
  TEvent(std::nullptr_t) {}

  template <class F>
    requires(!std::same_as<std::remove_cvref_t<F>, TEvent> &&
             !std::same_as<std::remove_cvref_t<F>, std::nullptr_t> &&
             std::invocable<std::remove_cvref_t<F>&, Args...>)
  TEvent(F&& callable) {
    using Stored = std::remove_cvref_t<F>;
    auto held = std::make_shared<Stored>(std::forward<F>(callable));
    object_ = held.get();
    thunk_ = [](void* object, Args... args) {
      (*static_cast<Stored*>(object))(std::forward<Args>(args)...);
    };
    identity_ = held.get();
    holder_ = std::move(held);
  }

  // Used by Bind; the identity is unique per bound method.
  TEvent(void* object, Thunk thunk, const void* identity)
      : object_(object), thunk_(thunk), identity_(identity) {}

  bool Assigned() const { return thunk_ != nullptr; }
  void Clear() { *this = TEvent(); }
  explicit operator bool() const { return Assigned(); }

  // The handler may clear or reassign this very slot: it runs from a copy.
  void operator()(Args... args) const {
    const TEvent running = *this;
    if (running.thunk_) running.thunk_(running.object_, std::forward<Args>(args)...);
  }

  // The object a bound method runs on (the callable's storage for callables).
  void* Object() const { return object_; }

  friend bool operator==(const TEvent& a, const TEvent& b) {
    return a.thunk_ == b.thunk_ && a.object_ == b.object_ && a.identity_ == b.identity_;
  }
  friend bool operator==(const TEvent& a, std::nullptr_t) { return !a.Assigned(); }

 private:
  void* object_ = nullptr;
  Thunk thunk_ = nullptr;
  const void* identity_ = nullptr;
  std::shared_ptr<void> holder_;  // set for callables only
};

namespace delegate_detail {

template <class M>
struct MethodTraits;

template <class C, class... Args>
struct MethodTraits<void (C::*)(Args...)> {
  using Class = C;
  using Event = TEvent<void(Args...)>;
};

template <class C, class... Args>
struct MethodTraits<void (C::*)(Args...) const> {
  using Class = const C;
  using Event = TEvent<void(Args...)>;
};

// One distinct address per bound method; thunks alone could be folded together.
template <auto Method>
inline constexpr char kMethodIdentity = 0;

template <auto Method, class Event>
struct Thunk;

template <auto Method, class... Args>
struct Thunk<Method, TEvent<void(Args...)>> {
  using Class = typename MethodTraits<decltype(Method)>::Class;
  static void Call(void* object, Args... args) {
    (static_cast<Class*>(object)->*Method)(std::forward<Args>(args)...);
  }
};

}  // namespace delegate_detail

// Bind<&TMainForm::ButtonClick>(this): a comparable bound-method delegate.
template <auto Method, class C>
auto Bind(C* object) {
  using Traits = delegate_detail::MethodTraits<decltype(Method)>;
  using Event = typename Traits::Event;
  using Class = typename Traits::Class;
  Class* target = object;  // converts a derived pointer before it is erased
  return Event(const_cast<void*>(static_cast<const void*>(target)),
               &delegate_detail::Thunk<Method, Event>::Call,
               &delegate_detail::kMethodIdentity<Method>);
}

using TNotifyEvent = TEvent<void(TObject* Sender)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TThreadMethod = TEvent<void()>;
