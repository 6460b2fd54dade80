#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "framework/core/seams.h"
#include "framework/core/thread.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

// A form that builds its parts in its constructor, as every form of the program does.
class TBuiltForm : public TForm {
 public:
  explicit TBuiltForm(TComponent* owner) : TForm(owner) {
    Part = new TProbeControl(this, this);
    loadingInConstructor = (ComponentState() & csLoading) != 0;
    OnCreate = [this](TObject*) { partLoadedAtCreate = !(Part->ComponentState() & csLoading); };
  }
  TProbeControl* Part;
  bool loadingInConstructor = false;
  bool partLoadedAtCreate = false;
};

TEST(ApplicationTest, CreateFormLoadsThenFiresOnCreate) {
  TestApp();
  TBuiltForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(nullptr, form);
  EXPECT_TRUE(form->loadingInConstructor);
  EXPECT_TRUE(form->partLoadedAtCreate);
  EXPECT_FALSE(form->ComponentState() & csLoading);
  EXPECT_EQ(form, Application->MainForm());
  EXPECT_EQ(Application, form->Owner());
  form->Free();
  EXPECT_EQ(nullptr, Application->MainForm());
}

TEST(ApplicationTest, SynchronizeIsServicedInProcessMessagesAndShowModal) {
  auto form = MakeForm();
  std::atomic<int> ran{0};
  std::thread first([&] { TThread::Synchronize([&] { ++ran; }); });
  EXPECT_TRUE(PumpUntil([&] { return ran == 1; }));
  first.join();

  std::thread second([&] {
    TThread::Synchronize([&] {
      ++ran;
      form->SetModalResult(mrOk);
    });
  });
  EXPECT_EQ(mrOk, form->ShowModal());
  second.join();
  EXPECT_EQ(2, ran);
}

TEST(ApplicationTest, HandlerExceptionsReachOnException) {
  TestApp();
  std::vector<String> caught;
  Application->OnException = [&](TObject*, const Exception& e) { caught.push_back(e.Message); };
  auto form = MakeForm();
  TProbeControl control(nullptr, form.get());
  control.OnClick = [](TObject*) { throw EConvertError("bad click"); };
  SendMessageA(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(control.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  Application->OnException.Clear();
  EXPECT_EQ((std::vector<String>{"bad click"}), caught);
}

// Timers of the application window fire only when the test says so.
struct FakeAppTimers {
  std::map<UINT_PTR, UINT> armed;
  ScopedSeam<TTimerSeam> seam{TTimerSeam{
      .SetTimer = [this](HWND, UINT_PTR id, UINT ms, TIMERPROC) -> UINT_PTR { armed[id] = ms; return id; },
      .KillTimer = [this](HWND, UINT_PTR id) -> BOOL { return armed.erase(id) != 0; },
  }};
};

TEST(HintTest, HintShowsAfterThePauseAndHidesOnLeave) {
  TestApp();
  FakeAppTimers timers;
  POINT pos{-1000, -1000};
  HWND under = nullptr;
  ScopedSeam<TPointerSeam> pointer({.GetCursorPos = [&](POINT* p) { *p = pos; return TRUE; },
                                    .WindowFromPoint = [&](POINT) { return under; }});
  auto form = MakeForm();
  form->SetBounds(50, 50, 200, 120);
  TProbeControl plain(nullptr, form.get(), Bounds(0, 0, 40, 20));
  TProbeControl hinted(nullptr, form.get(), Bounds(60, 0, 40, 20));
  hinted.Hint = "Short|Long text";
  hinted.SetShowHint(true);
  std::vector<String> shown;
  Application->OnShowHint = [&](String& text, bool&, THintInfo& info) {
    shown.push_back(text);
    EXPECT_EQ(&hinted, info.HintControl);
  };
  ShowAndActivate(*form);
  auto moveOver = [&](TWinControl& c) {
    TPoint s = c.ClientToScreen(Point(3, 3));
    pos = POINT{s.X, s.Y};
    under = c.Handle();
    PostMessageA(c.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    Pump();
  };

  moveOver(plain);
  EXPECT_TRUE(timers.armed.empty());
  moveOver(hinted);
  ASSERT_EQ(1u, timers.armed.size());
  UINT_PTR showId = timers.armed.begin()->first;
  EXPECT_EQ(500u, timers.armed.begin()->second);
  SendMessageA(Application->Handle(), WM_TIMER, showId, 0);
  EXPECT_EQ((std::vector<String>{"Short"}), shown);
  ASSERT_NE(nullptr, Application->HintWindow());
  EXPECT_TRUE(IsWindowVisible(Application->HintWindow()->Handle()));
  EXPECT_EQ(1u, timers.armed.count(2));  // the hide timer
  EXPECT_EQ(2500u, timers.armed[2]);

  moveOver(plain);
  EXPECT_FALSE(IsWindowVisible(Application->HintWindow()->Handle()));
  EXPECT_TRUE(timers.armed.empty());
  Application->OnShowHint.Clear();
}

TEST(HintTest, ParentShowHintFollowsTheParent) {
  TestApp();
  auto form = MakeForm();
  TProbeControl panel(nullptr, form.get());
  TProbeControl child(nullptr, &panel);
  EXPECT_FALSE(child.ShowHint());
  form->SetShowHint(true);
  EXPECT_TRUE(child.ShowHint());
  child.SetShowHint(false);
  EXPECT_FALSE(child.ShowHint());
  EXPECT_TRUE(panel.ShowHint());
}

}  // namespace
