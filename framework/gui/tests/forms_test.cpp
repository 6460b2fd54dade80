#include <gtest/gtest.h>

#include "framework/core/seams.h"
#include "framework/gui/dialogs.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

constexpr UINT kPoke = WM_APP + 20;

// A form whose handler for kPoke is a test's lambda.
class TPokeForm : public TForm {
 public:
  using TForm::TForm;
  std::function<void()> OnPoke;

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == kPoke && OnPoke) {
      OnPoke();
      return;
    }
    TForm::Dispatch(Message);
  }
};

TEST(ModalTest, OnMessageSeesMessagesOfProcessMessagesAndShowModal) {
  auto form = MakeForm<TPokeForm>();
  std::vector<UINT> seen;
  TestApp().OnMessage = [&](TMsg& msg, bool& handled) {
    if (msg.message == kPoke + 1) {
      seen.push_back(msg.message);
      handled = true;
      form->SetModalResult(mrOk);
    }
    if (msg.message == kPoke + 2) seen.push_back(msg.message);
  };
  PostThreadMessageA(GetCurrentThreadId(), kPoke + 2, 0, 0);
  Pump();
  EXPECT_EQ((std::vector<UINT>{kPoke + 2}), seen);

  PostThreadMessageA(GetCurrentThreadId(), kPoke + 1, 0, 0);
  EXPECT_EQ(mrOk, form->ShowModal());
  EXPECT_EQ((std::vector<UINT>{kPoke + 2, kPoke + 1}), seen);
  EXPECT_FALSE(form->Visible());
  TestApp().OnMessage.Clear();
}

TEST(ModalTest, ModalResultEndsShowModalOnlyAfterTheHandler) {
  struct Case {
    const char* name;
    bool useClose;
    int expected;
  };
  const Case cases[] = {{"ModalResult", false, mrOk}, {"Close", true, mrCancel}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm<TPokeForm>();
    bool visibleAfterSet = false;
    bool handlerDone = false;
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction& action) {
      EXPECT_TRUE(handlerDone);
      ++closes;
      action = caHide;
    };
    form->OnPoke = [&] {
      if (c.useClose) form->Close();
      else form->SetModalResult(mrOk);
      Pump();  // a nested loop inside the handler must not end the modal one
      visibleAfterSet = form->Visible() && IsWindowVisible(form->Handle());
      handlerDone = true;
    };
    form->HandleNeeded();
    PostMessageA(form->Handle(), kPoke, 0, 0);
    EXPECT_EQ(c.expected, form->ShowModal());
    EXPECT_TRUE(visibleAfterSet);
    EXPECT_EQ(1, closes);
  }
}

TEST(ModalTest, CloseActionNoneKeepsTheLoopGoing) {
  auto form = MakeForm<TPokeForm>();
  int pokes = 0;
  form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = pokes >= 2; };
  form->OnPoke = [&] {
    ++pokes;
    form->SetModalResult(mrYes);
    if (pokes < 2) PostMessageA(form->Handle(), kPoke, 0, 0);
  };
  form->HandleNeeded();
  PostMessageA(form->Handle(), kPoke, 0, 0);
  EXPECT_EQ(mrYes, form->ShowModal());
  EXPECT_EQ(2, pokes);
}

TEST(ModalTest, RefusesAVisibleFormAndDisablesOthers) {
  auto owner = MakeForm<TPokeForm>();
  auto dialog = MakeForm<TPokeForm>();
  ShowAndActivate(*owner);
  EXPECT_THROW(owner->ShowModal(), EInvalidOperation);
  bool ownerDisabled = false;
  dialog->OnPoke = [&] {
    ownerDisabled = !IsWindowEnabled(owner->Handle());
    dialog->SetModalResult(mrOk);
  };
  dialog->HandleNeeded();
  PostMessageA(dialog->Handle(), kPoke, 0, 0);
  dialog->ShowModal();
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
}

TEST(ModalTest, ModelessModalResultIsOnlyStored) {
  auto form = MakeForm();
  ShowAndActivate(*form);
  form->SetModalResult(mrOk);
  Pump();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(mrOk, form->ModalResult());
}

TEST(ActivationTest, MessageBoxCostsOneDeactivateAndOneActivate) {
  struct Case {
    const char* name;
    bool realWindow;  // the box activates a window of its own, as the system's does
  };
  for (const Case& c : {Case{"returns at once", false}, Case{"activates a window", true}}) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm();
    ShowAndActivate(*form);
    ASSERT_EQ(form.get(), Screen->ActiveForm());
    std::vector<std::string> log;
    form->OnActivate = [&](TObject*) { log.push_back("activate"); };
    form->OnDeactivate = [&](TObject*) { log.push_back("deactivate"); };
    ScopedSeam<TMessageBoxSeam> box({.Show = [&](HWND owner, const String& text, const String&, UINT) {
      log.push_back("box " + text);
      if (c.realWindow) {
        HWND wnd = CreateWindowExA(0, "STATIC", "box", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, owner, nullptr,
                                   nullptr, nullptr);
        SetActiveWindow(wnd);
        Pump();
        DestroyWindow(wnd);
        SetActiveWindow(owner);
        Pump();
      }
      return IDOK;
    }});
    ShowMessage("hello");
    EXPECT_EQ((std::vector<std::string>{"deactivate", "box hello", "activate"}), log);
    EXPECT_EQ(form.get(), Screen->ActiveForm());
  }
}

TEST(ActivationTest, SwitchingFormsDeactivatesTheOldOne) {
  auto a = MakeForm();
  auto b = MakeForm();
  std::vector<std::string> log;
  a->OnActivate = [&](TObject*) { log.push_back("a+"); };
  a->OnDeactivate = [&](TObject*) { log.push_back("a-"); };
  b->OnActivate = [&](TObject*) { log.push_back("b+"); };
  b->OnDeactivate = [&](TObject*) { log.push_back("b-"); };
  ShowAndActivate(*a);
  ShowAndActivate(*b);
  SetActiveWindow(a->Handle());
  Pump();
  EXPECT_EQ((std::vector<std::string>{"a+", "a-", "b+", "b-", "a+"}), log);
}

TEST(ScreenTest, FormsStayInCreationOrder) {
  TestApp();
  int before = Screen->FormCount();
  auto a = MakeForm();
  auto* b = new TForm(Application);
  auto c = MakeForm();
  ASSERT_EQ(before + 3, Screen->FormCount());
  ShowAndActivate(*c);
  ShowAndActivate(*a);
  EXPECT_EQ(a.get(), Screen->Forms(before));
  EXPECT_EQ(b, Screen->Forms(before + 1));
  EXPECT_EQ(c.get(), Screen->Forms(before + 2));
  EXPECT_EQ(a.get(), Screen->ActiveForm());
  b->Free();
  ASSERT_EQ(before + 2, Screen->FormCount());
  EXPECT_EQ(c.get(), Screen->Forms(before + 1));
}

TEST(ReleaseTest, ReleaseInsideAHandlerFreesAfterwards) {
  TestApp();
  auto* form = new TPokeForm(Application);
  bool gone = false;
  form->OnDestroy = [&](TObject*) { gone = true; };
  form->OnPoke = [&] {
    form->Release();
    Pump();  // a nested loop while the handler still runs must not free the form
    EXPECT_FALSE(gone);
  };
  form->HandleNeeded();
  PostMessageA(form->Handle(), kPoke, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return gone; }));
}

TEST(ExceptionTest, HandlerExceptionsGoToOnException) {
  auto form = MakeForm<TPokeForm>();
  std::vector<std::string> caught;
  TestApp().OnException = [&](TObject*, const Exception& e) { caught.push_back(e.Message); };
  form->OnPoke = [] { throw EInvalidOperation("broken handler"); };
  form->HandleNeeded();
  SendMessageA(form->Handle(), kPoke, 0, 0);
  TestApp().OnException.Clear();
  EXPECT_EQ((std::vector<std::string>{"broken handler"}), caught);
}

}  // namespace

namespace {

TEST(PlacementTest, ADialogIsCentredOnTheMainFormAtEveryShowingTheMainFormKeepsItsPlace) {
  TestApp();
  ASSERT_EQ(Application->MainForm(), nullptr) << "this test makes the main form";
  TForm* main = nullptr;
  Application->CreateForm(main);
  TOwnedPtr<TForm> mainOwned(main);
  main->Position = poScreenCenter;
  main->SetBounds(0, 0, 400, 300);
  auto dialog = MakeForm();
  dialog->Position = poMainFormCenter;
  dialog->SetBounds(0, 0, 200, 100);

  main->Show();
  struct Case {
    int mainLeft, mainTop;
  } cases[] = {{10, 20}, {50, 70}};  // well inside any work area: nothing is clamped
  for (const Case& c : cases) {
    main->SetBounds(c.mainLeft, c.mainTop, 400, 300);
    dialog->Show();
    EXPECT_EQ(dialog->Left(), c.mainLeft + (400 - dialog->Width()) / 2) << "main form at " << c.mainLeft;
    EXPECT_EQ(dialog->Top(), c.mainTop + (300 - dialog->Height()) / 2);
    dialog->Hide();
  }
  main->Hide();
  main->Show();
  EXPECT_EQ(main->Left(), 50) << "shown again, as from the tray, where the user put it";
  EXPECT_EQ(main->Top(), 70);
}

}  // namespace
