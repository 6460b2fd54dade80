#include "framework/core/classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every lifetime event of the components of one test, in order.
struct Journal {
  std::vector<std::string> lines;
  void Add(const std::string& s) { lines.push_back(s); }
};

class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, Journal& journal, std::string name) : TComponent(owner), journal_(journal) {
    Name = std::move(name);
    wasLoading = (ComponentState() & csLoading) != 0;
  }
  ~TProbe() override { journal_.Add("destroy " + Name); }

  void Loaded() override {
    TComponent::Loaded();
    journal_.Add("loaded " + Name);
  }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == peer) {
      journal_.Add(Name + " lost " + c->Name);
      peer = nullptr;
    }
  }
  String ClassName() const override { return "TProbe"; }

  bool wasLoading = false;
  TComponent* peer = nullptr;

 private:
  Journal& journal_;
};

// A form-like component that builds its parts in its constructor.
class TPanelProbe : public TProbe {
 public:
  TPanelProbe(TComponent* owner, Journal& journal) : TProbe(owner, journal, "panel") {
    first = new TProbe(this, journal, "first");
    second = new TProbe(this, journal, "second");
    inner = new TProbe(second, journal, "inner");
  }
  TProbe* first;
  TProbe* second;
  TProbe* inner;
};

TEST(Component, OwnerKeepsCreationOrderAndFreesLastCreatedFirst) {
  Journal j;
  auto* owner = new TProbe(nullptr, j, "owner");
  auto* a = new TProbe(owner, j, "a");
  auto* b = new TProbe(owner, j, "b");
  new TProbe(owner, j, "c");
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(owner->FindComponent("B"), b);
  EXPECT_EQ(owner->FindComponent("missing"), nullptr);
  EXPECT_THROW(owner->Components(3), EListError);
  owner->Free();
  EXPECT_EQ(j.lines, (std::vector<std::string>{"destroy c", "destroy b", "destroy a", "destroy owner"}));
}

TEST(Component, FreeingOwnedComponentLeavesTheOwner) {
  Journal j;
  auto* owner = new TProbe(nullptr, j, "owner");
  auto* a = new TProbe(owner, j, "a");
  auto* b = new TProbe(owner, j, "b");
  a->Free();
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), b);
  delete b;  // a plain delete leaves the owner too
  EXPECT_EQ(owner->ComponentCount(), 0);
  owner->Free();
  EXPECT_EQ(j.lines, (std::vector<std::string>{"destroy a", "destroy b", "destroy owner"}));
}

TEST(Component, FreeIsNullSafeAndSetsDestroyingFirst) {
  Free(nullptr);
  TComponent* none = nullptr;
  FreeAndNil(none);

  struct TWatcher : TComponent {
    using TComponent::TComponent;
    bool sawDestroying = false;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove) sawDestroying = (c->ComponentState() & csDestroying) != 0;
    }
  };
  TWatcher watcher(nullptr);
  auto* doomed = new TComponent(nullptr);
  doomed->FreeNotification(&watcher);
  FreeAndNil(doomed);
  EXPECT_EQ(doomed, nullptr);
  EXPECT_TRUE(watcher.sawDestroying);
}

TEST(Component, FreeNotificationWorksBothWays) {
  for (bool freeFirst : {true, false}) {
    Journal j;
    auto* left = new TProbe(nullptr, j, "left");
    auto* right = new TProbe(nullptr, j, "right");
    left->peer = right;
    right->peer = left;
    left->FreeNotification(right);  // registered from one side only
    TProbe* dying = freeFirst ? left : right;
    TProbe* survivor = freeFirst ? right : left;
    dying->Free();
    EXPECT_EQ(survivor->peer, nullptr);
    EXPECT_EQ(j.lines[0], survivor->Name + " lost " + (freeFirst ? "left" : "right"));
    survivor->Free();  // no notification toward the freed one: it would be a use after free
    EXPECT_EQ(j.lines.size(), 3u);
  }
}

TEST(Component, RemoveFreeNotificationUnlinksBothSides) {
  Journal j;
  auto* left = new TProbe(nullptr, j, "left");
  auto* right = new TProbe(nullptr, j, "right");
  left->peer = right;
  right->peer = left;
  left->FreeNotification(right);
  right->RemoveFreeNotification(left);
  left->Free();
  EXPECT_EQ(right->peer, left);  // nobody told it
  right->Free();
  EXPECT_EQ(j.lines, (std::vector<std::string>{"destroy left", "destroy right"}));
}

TEST(Component, OwnerHearsOfInsertAndRemove) {
  struct TOwner : TComponent {
    using TComponent::TComponent;
    std::vector<std::pair<TComponent*, TOperation>> heard;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      heard.emplace_back(c, op);
    }
  };
  TOwner owner(nullptr);
  auto* part = new TComponent(&owner);
  part->Free();
  ASSERT_EQ(owner.heard.size(), 2u);
  EXPECT_EQ(owner.heard[0], std::make_pair(part, opInsert));
  EXPECT_EQ(owner.heard[1], std::make_pair(part, opRemove));
}

TEST(Component, ConstructLoadsPartsInCreationOrderThenTheObject) {
  Journal j;
  TComponent host(nullptr);
  auto* panel = Construct<TPanelProbe>(&host, j);
  EXPECT_EQ(panel->Owner(), &host);
  EXPECT_TRUE(panel->wasLoading);
  EXPECT_TRUE(panel->first->wasLoading);
  EXPECT_TRUE(panel->inner->wasLoading);
  for (TComponent* c : {static_cast<TComponent*>(panel), static_cast<TComponent*>(panel->inner)})
    EXPECT_EQ(c->ComponentState() & csLoading, 0u);
  EXPECT_EQ(j.lines, (std::vector<std::string>{"loaded first", "loaded second", "loaded inner", "loaded panel"}));

  // Outside a loading pass nothing starts loading.
  auto* plain = new TProbe(&host, j, "plain");
  EXPECT_FALSE(plain->wasLoading);
}

TEST(Component, ConstructSurvivesAPartFreedWhileLoading) {
  struct TFreesSibling : TProbe {
    using TProbe::TProbe;
    TComponent* victim = nullptr;
    void Loaded() override {
      TProbe::Loaded();
      if (victim) FreeAndNil(victim);
    }
  };
  struct TForm : TProbe {
    TForm(TComponent* owner, Journal& j) : TProbe(owner, j, "form") {
      auto* killer = new TFreesSibling(this, j, "killer");
      killer->victim = new TProbe(this, j, "victim");
    }
  };
  Journal j;
  TOwnedPtr<TForm> form(Construct<TForm>(nullptr, j));
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(j.lines, (std::vector<std::string>{"loaded killer", "destroy victim", "loaded form"}));
}

TEST(Persistent, AssignFallsThroughToConvertError) {
  Journal j;
  TProbe source(nullptr, j, "s");
  TComponent dest(nullptr);
  struct TTarget : TPersistent {
    String ClassName() const override { return "TTarget"; }
  } target;
  try {
    target.Assign(&source);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TProbe to a TTarget");
  }
  EXPECT_THROW(target.Assign(nullptr), EConvertError);
  EXPECT_EQ(dest.ClassName(), "TComponent");  // the C++ name by default
}

}  // namespace
