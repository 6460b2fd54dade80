#include "engine/STD_LIST.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Tracked : TObject {
  Tracked(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
  ~Tracked() override { log_.push_back(name_); }
  std::vector<std::string>& log_;
  std::string name_;
};

TEST(TSEClassList, ClearAndFreeFreesLastFirstAndEmpties) {
  std::vector<std::string> freed;
  TSEClassList list;
  for (auto n : {"A", "B", "C"}) list.Add(new Tracked(freed, n));
  list.ClearAndFree();
  EXPECT_EQ(freed, (std::vector<std::string>{"C", "B", "A"}));
  EXPECT_EQ(list.Count(), 0);
}

TEST(TSEClassList, DestructionFreesEveryItem) {
  std::vector<std::string> freed;
  {
    TSEClassList list;
    list.Add(new Tracked(freed, "A"));
    list.Add(new Tracked(freed, "B"));
  }
  EXPECT_EQ(freed, (std::vector<std::string>{"B", "A"}));
}

TEST(TSEClassList, NilEntriesAreDroppedWithoutFreeing) {
  std::vector<std::string> freed;
  TSEClassList list;
  list.Add(nullptr);
  list.Add(new Tracked(freed, "A"));
  list.Add(nullptr);
  list.Add(new Tracked(freed, "B"));
  list.Add(nullptr);
  list.ClearAndFree();
  EXPECT_EQ(freed, (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(list.Count(), 0);
}

TEST(TSEClassList, EmptyListClearsQuietly) {
  TSEClassList list;
  list.ClearAndFree();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TSEClassList, ClearDeleteAndRemoveHandItemsBackUnfreed) {
  std::vector<std::string> freed;
  auto* a = new Tracked(freed, "A");
  auto* b = new Tracked(freed, "B");
  auto* c = new Tracked(freed, "C");
  {
    TSEClassList list;
    list.Add(a);
    list.Add(b);
    list.Add(c);
    list.Delete(0);
    EXPECT_EQ(list.Remove(b), 0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
  }
  EXPECT_TRUE(freed.empty());
  delete a;
  delete b;
  delete c;
}

TEST(TSEClassList, BadIndexRaisesListError) {
  TSEClassList list;
  try {
    list.Delete(3);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (3)");
  }
}

}  // namespace
