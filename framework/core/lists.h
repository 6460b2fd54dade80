// Pointer lists: TList, the owning TObjectList and the locked TThreadList.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "framework/core/classes.h"
#include "framework/core/sysutils.h"

class TList {
 public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  virtual ~TList() = default;

  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  int Remove(void* item);  // first occurrence; its former index or -1
  void* Extract(void* item);
  int IndexOf(const void* item) const;
  virtual void Clear();  // frees nothing
  void Pack();           // drops null entries
  void Move(int from, int to);
  void Exchange(int a, int b);
  void Sort(const std::function<int(void*, void*)>& compare);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity);
  void* Items(int index) const;
  void SetItems(int index, void* item);

 protected:
  // Called after an item leaves the list through Delete, Remove or Clear.
  virtual void Removed(void* /*item*/) {}

 private:
  void Check(int index) const;
  std::vector<void*> items_;
};

// Holds TObject pointers and, while OwnsObjects, frees them on Delete, Remove,
// Clear and destruction.
class TObjectList : public TList {
 public:
  explicit TObjectList(bool ownsObjects = true) : OwnsObjects(ownsObjects) {}
  ~TObjectList() override;

  int Add(TObject* item) { return TList::Add(item); }
  TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }

  bool OwnsObjects;

 protected:
  void Removed(void* item) override;
};

// A TList behind a recursive lock.
class TThreadList {
 public:
  TList* LockList();
  void UnlockList();
  void Add(void* item);  // ignores an item already present
  void Remove(void* item);
  void Clear();

 private:
  std::recursive_mutex lock_;
  TList list_;
};

// Holds a thread list locked for one scope; Items is the list while it is held.
struct TLockedList {
  explicit TLockedList(TThreadList& list) : List(list), Items(list.LockList()) {}
  ~TLockedList() { List.UnlockList(); }
  TLockedList(const TLockedList&) = delete;
  TLockedList& operator=(const TLockedList&) = delete;
  TThreadList& List;
  TList* Items;
};
