#include "framework/core/delegate.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "framework/core/classes.h"

namespace {

struct Handler : TObject {
  int calls = 0;
  TNotifyEvent* slot = nullptr;
  TNotifyEvent replacement;
  TObject* lastSender = nullptr;

  void Click(TObject* sender) {
    ++calls;
    lastSender = sender;
  }
  void Other(TObject*) { ++calls; }
  void ClearSlot(TObject*) {
    slot->Clear();
    ++calls;  // the object is still whole after its slot was cleared
  }
  void ReplaceSlot(TObject*) {
    *slot = replacement;
    ++calls;
  }
  void Key(TObject*, char& key) { key = 'X'; }
};

struct DerivedHandler : Handler {};

TEST(Delegate, EmptySlotDoesNothingAndIsNotAssigned) {
  TNotifyEvent event;
  EXPECT_FALSE(event.Assigned());
  EXPECT_TRUE(event == nullptr);
  event(nullptr);  // no-op
}

TEST(Delegate, BoundMethodRunsOnItsObject) {
  Handler h;
  TObject sender;
  TNotifyEvent event = Bind<&Handler::Click>(&h);
  ASSERT_TRUE(event.Assigned());
  event(&sender);
  EXPECT_EQ(h.calls, 1);
  EXPECT_EQ(h.lastSender, &sender);
}

TEST(Delegate, InOutParametersAreReferences) {
  Handler h;
  TKeyPressEvent event = Bind<&Handler::Key>(&h);
  char key = 'a';
  event(nullptr, key);
  EXPECT_EQ(key, 'X');
}

TEST(Delegate, BindEquality) {
  Handler a, b;
  DerivedHandler d;
  struct Case {
    TNotifyEvent left, right;
    bool equal;
  } cases[] = {
      {Bind<&Handler::Click>(&a), Bind<&Handler::Click>(&a), true},
      {Bind<&Handler::Click>(&a), Bind<&Handler::Click>(&b), false},
      {Bind<&Handler::Click>(&a), Bind<&Handler::Other>(&a), false},
      {Bind<&Handler::Click>(&d), Bind<&Handler::Click>(static_cast<Handler*>(&d)), true},
      {Bind<&Handler::Click>(&a), TNotifyEvent(), false},
      {TNotifyEvent(), TNotifyEvent(), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.left == c.right, c.equal);
    EXPECT_EQ(c.right == c.left, c.equal);
  }
  // Copies made elsewhere still compare equal: a control checks its slot against a handler.
  TNotifyEvent saved = cases[0].left;
  EXPECT_TRUE(saved == Bind<&Handler::Click>(&a));
}

TEST(Delegate, CallablesEqualOnlyTheirOwnCopies) {
  int n = 0;
  auto body = [&n](TObject*) { ++n; };
  TNotifyEvent first = body;
  TNotifyEvent second = body;
  TNotifyEvent copy = first;
  EXPECT_TRUE(first == copy);
  EXPECT_FALSE(first == second);
  Handler h;
  EXPECT_FALSE(first == Bind<&Handler::Click>(&h));
}

TEST(Delegate, HandlerMayClearItsRunningSlot) {
  Handler h;
  TNotifyEvent slot = Bind<&Handler::ClearSlot>(&h);
  h.slot = &slot;
  slot(nullptr);
  EXPECT_EQ(h.calls, 1);
  EXPECT_FALSE(slot.Assigned());
}

TEST(Delegate, CallableMayClearItsRunningSlotAndStayAlive) {
  // The callable owns a string; clearing the slot drops the slot's reference while
  // the body still runs and reads its capture.
  TNotifyEvent slot;
  std::string seen;
  slot = [&slot, &seen, text = std::string(200, 'k')](TObject*) {
    slot.Clear();
    seen = text;
  };
  slot(nullptr);
  EXPECT_FALSE(slot.Assigned());
  EXPECT_EQ(seen, std::string(200, 'k'));
}

TEST(Delegate, HandlerMayReassignItsRunningSlot) {
  Handler h;
  TNotifyEvent slot = Bind<&Handler::ReplaceSlot>(&h);
  h.slot = &slot;
  h.replacement = Bind<&Handler::Other>(&h);
  slot(nullptr);
  EXPECT_TRUE(slot == h.replacement);
  slot(nullptr);
  EXPECT_EQ(h.calls, 2);
}

TEST(Delegate, CallableCopiesOutliveTheOriginal) {
  int n = 0;
  TThreadMethod copy;
  {
    TThreadMethod original = [&n, big = std::string(100, 'z')] { n += static_cast<int>(big.size()); };
    copy = original;
  }
  copy();
  EXPECT_EQ(n, 100);
}

TEST(Delegate, BoundMethodsCopyTrivially) {
  // Copying a bound delegate is plain data: nothing is allocated or shared.
  Handler h;
  TNotifyEvent a = Bind<&Handler::Click>(&h);
  TNotifyEvent b = a;
  EXPECT_EQ(a.Object(), b.Object());
  EXPECT_EQ(b.Object(), static_cast<void*>(&h));
}

}  // namespace
