#include <gtest/gtest.h>

#include <functional>

#include "framework/gui/tests/gui_test_support.h"

namespace {

// A windowless control that remembers the focus news it got.
class TFocusWatcher : public TGraphicControl {
 public:
  TFocusWatcher(TComponent* owner, TWinControl* parent) : TGraphicControl(owner) { SetParent(parent); }
  std::vector<TControl*> News;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_FOCUSCHANGED) News.push_back(TCMFocusChanged(Message).Sender());
    TGraphicControl::Dispatch(Message);
  }
};

// Answers Enter as a focused default button does.
class TDefaultButton : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;
  int Clicks = 0;
  int KeyDowns = 0;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_RETURN) {
      ++Clicks;
      Message.Result = 1;
      return;
    }
    if (Message.Msg == WM_KEYDOWN) ++KeyDowns;
    TProbeControl::Dispatch(Message);
  }
};

TEST(FocusTest, FocusNewsReachesNestedControlsAndEnterExitRunInOrder) {
  // Declared first so that it outlives the controls: destroying the focused one still
  // runs exit handlers that write to it.
  std::vector<std::string> log;
  auto form = MakeForm();
  TProbeControl outer(nullptr, form.get(), Bounds(0, 0, 200, 100));
  TProbeControl inner(nullptr, &outer, Bounds(0, 0, 150, 80));
  TProbeControl target(nullptr, &inner, Bounds(5, 5, 40, 20));
  TProbeControl other(nullptr, form.get(), Bounds(0, 120, 40, 20));
  TFocusWatcher deep(nullptr, &inner);
  for (auto [control, name] : {std::pair<TWinControl*, const char*>{&outer, "outer"}, {&inner, "inner"},
                               {&target, "target"}, {&other, "other"}}) {
    control->OnEnter = [&log, name](TObject*) { log.push_back(std::string("enter ") + name); };
    control->OnExit = [&log, name](TObject*) { log.push_back(std::string("exit ") + name); };
  }
  ShowAndActivate(*form);

  other.SetFocus();
  EXPECT_EQ(other.Handle(), GetFocus());
  log.clear();
  target.SetFocus();
  EXPECT_EQ(target.Handle(), GetFocus());
  EXPECT_EQ(&target, form->ActiveControl());
  EXPECT_EQ((std::vector<std::string>{"exit other", "enter outer", "enter inner", "enter target"}), log);
  ASSERT_FALSE(deep.News.empty());
  EXPECT_EQ(&target, deep.News.back());
  EXPECT_GE(other.Count(CM_FOCUSCHANGED), 1);

  log.clear();
  other.SetFocus();
  EXPECT_EQ((std::vector<std::string>{"exit target", "exit inner", "exit outer", "enter other"}), log);
  EXPECT_EQ(&other, deep.News.back());
}

TEST(KeyTest, EnterOnAFocusedDefaultButtonClicksOnceAndIsNotDelivered) {
  auto form = MakeForm();
  TDefaultButton button(nullptr, form.get(), Bounds(10, 10, 60, 25));
  ShowAndActivate(*form);
  button.SetFocus();
  ASSERT_EQ(button.Handle(), GetFocus());

  PostMessageA(button.Handle(), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(button.Handle(), WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001));
  Pump();
  EXPECT_EQ(1, button.Clicks);
  EXPECT_EQ(0, button.KeyDowns);
  EXPECT_EQ(0, button.Count(WM_CHAR));
}

TEST(KeyTest, ShortCutEventRunsOncePerKeyAndSwallowsIt) {
  auto form = MakeForm();
  TProbeControl box(nullptr, form.get(), Bounds(10, 10, 60, 25));
  int shortcuts = 0;
  form->OnShortCut = [&](TWMKey& key, bool& handled) {
    ++shortcuts;
    handled = key.CharCode() == VK_F5;
  };
  ShowAndActivate(*form);
  box.SetFocus();
  PostMessageA(box.Handle(), WM_KEYDOWN, VK_F5, 1);
  PostMessageA(box.Handle(), WM_KEYDOWN, VK_F6, 1);
  Pump();
  EXPECT_EQ(2, shortcuts);
  ASSERT_EQ(1, box.Count(WM_KEYDOWN));
}

TEST(KeyTest, KeyPreviewLetsTheFormSeeAndStopKeysFirst) {
  auto form = MakeForm();
  TProbeControl box(nullptr, form.get(), Bounds(10, 10, 60, 25));
  std::vector<std::string> order;
  form->KeyPreview = true;
  form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    order.push_back("form");
    if (key == 'Q') key = 0;
  };
  box.OnKeyDown = [&](TObject*, WORD&, TShiftState) { order.push_back("box"); };
  ShowAndActivate(*form);
  box.SetFocus();
  PostMessageA(box.Handle(), WM_KEYDOWN, 'A', 1);
  PostMessageA(box.Handle(), WM_KEYDOWN, 'Q', 1);
  Pump();
  EXPECT_EQ((std::vector<std::string>{"form", "box", "form"}), order);
}

TEST(KeyTest, TabMovesToTheNextTabStop) {
  auto form = MakeForm();
  TProbeControl a(nullptr, form.get(), Bounds(0, 0, 30, 20));
  TProbeControl skipped(nullptr, form.get(), Bounds(0, 30, 30, 20));
  TProbeControl b(nullptr, form.get(), Bounds(0, 60, 30, 20));
  a.SetTabStop(true);
  b.SetTabStop(true);
  ShowAndActivate(*form);
  a.SetFocus();
  PostMessageA(a.Handle(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_EQ(b.Handle(), GetFocus());
  PostMessageA(b.Handle(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_EQ(a.Handle(), GetFocus());
}

}  // namespace

namespace {

// A windowed control deleted plainly (not freed) while it holds the focus: its form and
// the screen must forget it, or they keep a pointer to freed memory.
TEST(FocusTest, APlainlyDeletedFocusedControlIsForgottenByItsForm) {
  auto form = MakeForm();
  auto* outer = new TProbeControl(nullptr, form.get(), Bounds(0, 0, 100, 60));
  auto* inner = new TProbeControl(nullptr, outer, Bounds(5, 5, 40, 20));
  TProbeControl other(nullptr, form.get(), Bounds(0, 80, 40, 20));
  ShowAndActivate(*form);
  for (TProbeControl* doomed : {inner, outer}) {
    doomed->SetFocus();
    ASSERT_EQ(doomed, form->ActiveControl());
    delete doomed;
    EXPECT_NE(doomed, form->ActiveControl());
    EXPECT_NE(doomed, Screen->ActiveControl());
  }
}

}  // namespace

namespace {

constexpr UINT kRecreate = WM_APP + 31;

// Re-creates its window when told to, from inside its own message dispatch.
class TRecreatingControl : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == kRecreate) {
      RecreateWnd();
      return;
    }
    TProbeControl::Dispatch(Message);
  }
};

// A skin change re-creates a focused edit from outside its dispatch; a setter from inside.
TEST(FocusTest, AFocusedControlKeepsTheFocusWhenItsWindowIsRecreated) {
  auto form = MakeForm();
  TRecreatingControl box(nullptr, form.get(), Bounds(10, 10, 60, 25));
  TProbeControl other(nullptr, form.get(), Bounds(10, 50, 60, 25));
  ShowAndActivate(*form);
  struct Case {
    const char* how;
    std::function<void()> recreate;
  } cases[] = {
      {"outside its dispatch", [&] { box.RecreateWnd(); }},
      {"inside its dispatch", [&] {
         SendMessageA(box.Handle(), kRecreate, 0, 0);
         Pump();
       }},
  };
  for (const Case& c : cases) {
    box.SetFocus();
    ASSERT_EQ(box.Handle(), GetFocus());
    c.recreate();
    EXPECT_EQ(box.Handle(), GetFocus()) << c.how;
    EXPECT_TRUE(box.Focused()) << c.how;
  }
  other.SetFocus();
  box.RecreateWnd();
  EXPECT_EQ(other.Handle(), GetFocus()) << "an unfocused control takes nothing";
}

}  // namespace
