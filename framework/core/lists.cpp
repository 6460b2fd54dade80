#include "framework/core/lists.h"

#include <algorithm>

void TList::Check(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TList::Add(void* item) {
  items_.push_back(item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
  Check(index);
  void* item = items_[index];
  items_.erase(items_.begin() + index);
  Removed(item);
}

int TList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  int index = IndexOf(item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  return item;
}

int TList::IndexOf(const void* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear() {
  std::vector<void*> old;
  old.swap(items_);
  for (void* item : old) Removed(item);
}

void TList::Pack() { std::erase(items_, nullptr); }

void TList::Move(int from, int to) {
  if (from == to) return;
  Check(from);
  Check(to);
  void* item = items_[from];
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, item);
}

void TList::Exchange(int a, int b) {
  Check(a);
  Check(b);
  std::swap(items_[a], items_[b]);
}

void TList::Sort(const std::function<int(void*, void*)>& compare) {
  std::stable_sort(items_.begin(), items_.end(),
                   [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::SetCapacity(int capacity) {
  if (capacity > Count()) items_.reserve(capacity);
}

void* TList::Items(int index) const {
  Check(index);
  return items_[index];
}

void TList::SetItems(int index, void* item) {
  Check(index);
  items_[index] = item;
}

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Removed(void* item) {
  if (OwnsObjects) delete static_cast<TObject*>(item);
}

TList* TThreadList::LockList() {
  lock_.lock();
  return &list_;
}

void TThreadList::UnlockList() { lock_.unlock(); }

void TThreadList::Add(void* item) {
  std::lock_guard guard(lock_);
  if (list_.IndexOf(item) < 0) list_.Add(item);
}

void TThreadList::Remove(void* item) {
  std::lock_guard guard(lock_);
  list_.Remove(item);
}

void TThreadList::Clear() {
  std::lock_guard guard(lock_);
  list_.Clear();
}
