// While one lives, memory freed through delete is filled with a pattern and kept
// from reuse until it ends: code that still uses an object after it was freed
// follows pointers of that pattern and faults at once, instead of finding the
// old values or a new object in their place.
#pragma once

namespace skintest {

class ScopedPoisonedFrees {
 public:
  ScopedPoisonedFrees();
  ~ScopedPoisonedFrees();  // frees what was kept
  ScopedPoisonedFrees(const ScopedPoisonedFrees&) = delete;
  ScopedPoisonedFrees& operator=(const ScopedPoisonedFrees&) = delete;
};

}  // namespace skintest
