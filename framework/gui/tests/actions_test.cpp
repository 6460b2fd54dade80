// Actions without links: running the handler, and references that are
// forgotten when what they point at is freed.
#include <gtest/gtest.h>

#include "framework/gui/actions.h"
#include "framework/gui/imagelist.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

// Records which action the control was told about.
class TActionProbe : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TObject* Changed = nullptr;
  int Changes = 0;

 protected:
  void ActionChange(TObject* Sender, bool CheckDefaults) override {
    TCustomControl::ActionChange(Sender, CheckDefaults);
    Changed = Sender;
    ++Changes;
  }
};

TEST(ActionTest, ExecuteRunsTheHandlerWithTheActionAsSender) {
  TAction action(nullptr);
  EXPECT_FALSE(action.Execute());
  TObject* sender = nullptr;
  action.OnExecute = [&](TObject* s) { sender = s; };
  EXPECT_TRUE(action.Execute());
  EXPECT_EQ(sender, &action);
}

TEST(ActionTest, ReferencesAreForgottenWhenFreed) {
  auto form = MakeForm();
  auto* control = new TActionProbe(form.get());
  auto* list = new TActionList(form.get());
  auto* images = new TImageList(form.get());
  auto* action = new TAction(form.get());
  list->SetImages(images);
  action->SetActionList(list);

  control->SetAction(action);
  EXPECT_EQ(control->Action(), action);
  EXPECT_EQ(control->Changed, action);
  control->SetAction(action);  // the same action again: nothing new
  EXPECT_EQ(control->Changes, 1);

  images->Free();
  EXPECT_EQ(list->Images(), nullptr);
  list->Free();
  EXPECT_EQ(action->ActionList(), nullptr);
  action->Free();
  EXPECT_EQ(control->Action(), nullptr);
}

}  // namespace
