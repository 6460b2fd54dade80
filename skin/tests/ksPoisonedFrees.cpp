#include "skin/tests/ksPoisonedFrees.h"

#include <malloc.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Plain storage, ready before any code runs: the keeping must not allocate or free.
struct Kept {
  std::atomic<bool> on = false;
  std::atomic_flag busy = ATOMIC_FLAG_INIT;  // frees may come from other threads
  std::array<void*, 16384> blocks{};
  size_t count = 0;

  void Lock() {
    while (busy.test_and_set(std::memory_order_acquire)) {
    }
  }
  void Unlock() { busy.clear(std::memory_order_release); }
};

constinit Kept kept;

}  // namespace

// Every delete of the test program comes here; outside a scope it is the plain one.
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  if (kept.on) {
    kept.Lock();
    const bool keep = kept.on && kept.count < kept.blocks.size();
    if (keep) {
      std::memset(p, 0xDD, _msize(p));
      kept.blocks[kept.count++] = p;
    }
    kept.Unlock();
    if (keep) return;
  }
  std::free(p);
}

void operator delete(void* p, size_t) noexcept { ::operator delete(p); }

namespace skintest {

ScopedPoisonedFrees::ScopedPoisonedFrees() { kept.on = true; }

ScopedPoisonedFrees::~ScopedPoisonedFrees() {
  kept.Lock();
  kept.on = false;
  for (size_t i = 0; i < kept.count; ++i) std::free(kept.blocks[i]);
  kept.count = 0;
  kept.Unlock();
}

}  // namespace skintest
