// The tray icon through a recording shell seam: clicks and double clicks from
// the shell's callbacks, the record it hands over, a restarted task bar, the
// icon index kept inside the list, cycling, and minimizing to the tray.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/seams.h"
#include "framework/gui/screen.h"
#include "framework/gui/stdctrls.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/menus/ksTrayIcon.h"
#include "skin/menus/tests/ksSkinMainForm_fixture.h"
#include "skin/tests/ksFakeTimers.h"

namespace {

using namespace skintest;

// A popup menu that only records where it was asked to show.
class RecordingPopup : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  void Popup(int X, int Y) override { shownAt.push_back(TPoint{X, Y}); }
  std::vector<TPoint> shownAt;
};

class TrayIcon : public SkinMainForm {
 protected:
  TksTrayIcon* NewTray() {
    auto* tray = new TksTrayIcon(mainForm);
    tray->OnClick = [this](TObject*) { log.push_back("click"); };
    tray->OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
    tray->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
      log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    tray->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) { log.push_back("up " + std::to_string(b)); };
    return tray;
  }
  static void Shell(TksTrayIcon* tray, UINT mouseMessage) {
    SendMessageA(tray->Handle(), TksTrayIcon::kCallbackMessage, TksTrayIcon::kIconId, mouseMessage);
  }
  std::vector<DWORD> Messages() const {
    std::vector<DWORD> m;
    for (auto& c : calls) m.push_back(c.first);
    return m;
  }
  // An image list of `count` distinct icons.
  TCustomImageList* Icons(int count) {
    auto* list = new TCustomImageList(16, 16, form);
    for (int i = 0; i < count; ++i) {
      TIcon icon;
      icon.SetHandle(CopyIcon(LoadIconA(nullptr, i % 2 == 0 ? IDI_APPLICATION : IDI_WARNING)));
      list->AddIcon(&icon);
    }
    return list;
  }

  std::vector<std::pair<DWORD, NOTIFYICONDATAA>> calls;
  ScopedSeam<TksSystemSeam> shell{TksSystemSeam{.ShellNotifyIcon = [this](DWORD message, NOTIFYICONDATAA* data) {
    calls.emplace_back(message, *data);
    return TRUE;
  }}};
  ScopedSeam<TPointerSeam> pointer{TPointerSeam{
      .GetCursorPos = [](POINT* p) -> BOOL {
        *p = POINT{300, 200};
        return TRUE;
      },
      .GetAsyncKeyState = [](int) -> SHORT { return 0; },
  }};
  FakeTimers timers;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

struct ClickCase {
  const char* name;
  std::string sequence;  // d down, u up, D double click, t the click timer fires
  Log expected;
};

TEST_F(TrayIcon, ShellCallbacksBecomeClicksAndDoubleClicks) {
  const ClickCase cases[] = {
      {"a click waits for the double-click time", "dut", {"down 0 300,200", "up 0", "click"}},
      {"a double click is no click", "duDut", {"down 0 300,200", "up 0", "dblclick", "up 0"}},
      {"held past the double-click time: click at once", "dtu", {"down 0 300,200", "click", "up 0"}},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    TksTrayIcon* tray = NewTray();
    EXPECT_EQ(tray->ClickTimer()->Interval(), GetDoubleClickTime());
    log.clear();
    for (char step : c.sequence) {
      switch (step) {
        case 'd': Shell(tray, WM_LBUTTONDOWN); break;
        case 'u': Shell(tray, WM_LBUTTONUP); break;
        case 'D': Shell(tray, WM_LBUTTONDBLCLK); break;
        case 't': FireTimer(tray->ClickTimer()); break;
      }
    }
    EXPECT_EQ(log, c.expected);
    delete tray;
  }
}

TEST_F(TrayIcon, ADoubleClickAlsoRunsTheMenusDefaultItem) {
  TksTrayIcon* tray = NewTray();
  auto* menu = new RecordingPopup(mainForm);
  for (const char* caption : {"Open", "Restore", "Exit"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    item->OnClick = [this, caption](TObject*) { log.push_back(caption); };
    menu->Items()->Add(item);
  }
  menu->Items()->Items(1)->SetDefault(true);
  tray->SetPopupMenu(menu);
  log.clear();
  Shell(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(log, (Log{"dblclick", "Restore"}));
  // The right button pops the menu up at the cursor.
  Shell(tray, WM_RBUTTONDOWN);
  ASSERT_EQ(menu->shownAt.size(), 1u);
  EXPECT_EQ(menu->shownAt[0], (TPoint{300, 200}));
  EXPECT_EQ(menu->PopupComponent, tray);
  delete menu;
  EXPECT_EQ(tray->PopupMenu(), nullptr);
}

TEST_F(TrayIcon, TheShellGetsAVersionTwoRecordWithACutTip) {
  TksTrayIcon* tray = NewTray();
  tray->SetHint(std::string(200, 'x'));
  ASSERT_FALSE(calls.empty());
  const NOTIFYICONDATAA& d = calls.back().second;
  EXPECT_EQ(d.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
  EXPECT_EQ(d.hWnd, tray->Handle());
  EXPECT_EQ(d.uID, 1u);
  EXPECT_EQ(d.uFlags, 7u);
  EXPECT_EQ(d.uCallbackMessage, 0x800u);
  EXPECT_EQ(std::string(d.szTip), std::string(127, 'x'));
  EXPECT_EQ(calls.back().first, static_cast<DWORD>(NIM_MODIFY));
  tray->SetShowHint(false);
  EXPECT_EQ(std::string(calls.back().second.szTip), "");
}

TEST_F(TrayIcon, ARestartedTaskBarGetsAVisibleIconBack) {
  TksTrayIcon* tray = NewTray();
  tray->SetIconVisible(true);
  calls.clear();
  SendMessageA(Application->Handle(), tray->TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD}));
  tray->SetIconVisible(false);
  calls.clear();
  SendMessageA(Application->Handle(), tray->TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(TrayIcon, TheIconIndexStaysInsideTheList) {
  TksTrayIcon* tray = NewTray();
  struct {
    int count;  // -1: no list
    int set;
    int expected;
  } const cases[] = {{-1, 5, 0}, {-1, -5, 0}, {0, 3, 0}, {3, 5, 2}, {3, -5, 0}, {3, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " " + std::to_string(c.set));
    tray->SetIconList(c.count < 0 ? nullptr : Icons(c.count));
    tray->SetIconIndex(c.set);
    EXPECT_EQ(tray->IconIndex(), c.expected);
  }
}

TEST_F(TrayIcon, CyclingReportsTheIndexItMovesTo) {
  TksTrayIcon* tray = NewTray();
  std::vector<int> reported;
  tray->OnCycle = [&](TObject*, int next) { reported.push_back(next); };
  tray->SetAnimateTimerInterval(250);
  tray->SetIconList(Icons(3));
  tray->SetCycleIcons(true);
  for (int i = 0; i < 4; ++i) FireTimer(tray->CycleTimer());
  EXPECT_EQ(reported, (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(tray->IconIndex(), 1);
  // An emptied list cycles nothing and raises nothing.
  tray->SetIconList(Icons(0));
  FireTimer(tray->CycleTimer());
  EXPECT_EQ(reported.size(), 4u);
}

TEST_F(TrayIcon, MinimizingTheApplicationHidesItToTheTray) {
  TksTrayIcon* tray = NewTray();
  tray->SetIconVisible(false);
  mainForm->Show();
  calls.clear();
  SendMessageA(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_FALSE(mainForm->Visible());
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD}));
  tray->ShowMainForm();
  EXPECT_TRUE(mainForm->Visible());
  // Without MinimizeToTray nothing happens.
  tray->MinimizeToTray = false;
  calls.clear();
  SendMessageA(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_TRUE(mainForm->Visible());
  EXPECT_TRUE(calls.empty());
  // Freed, it takes its icon away and no longer listens.
  delete tray;
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_DELETE}));
  calls.clear();
  SendMessageA(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(mainForm->Visible());
}

TEST_F(TrayIcon, ActivatingTheOwnerFocusesItsActiveControl) {
  NewTray();
  auto* active = new TEdit(mainForm);
  active->SetParent(mainForm);
  auto* elsewhere = new TEdit(mainForm);
  elsewhere->SetParent(mainForm);
  mainForm->Show();
  SetForegroundWindow(mainForm->Handle());
  SetActiveWindow(mainForm->Handle());
  Application->ProcessMessages();
  ::SetFocus(elsewhere->Handle());
  Screen->SetActiveControl(active);
  SendMessageA(mainForm->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), active->Handle());
  // Not when the window losing activation is the control's own parent.
  ::SetFocus(elsewhere->Handle());
  SendMessageA(mainForm->Handle(), WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(mainForm->Handle()));
  EXPECT_EQ(GetFocus(), elsewhere->Handle());
  Screen->SetActiveControl(nullptr);
}

TEST_F(TrayIcon, LoadingWithMinimizedOnStartShowsOnlyTheIcon) {
  const bool showMainForm = Application->ShowMainForm;
  auto* tray = Construct<TksTrayIcon>(mainForm);
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_ADD}));
  delete tray;
  calls.clear();
  TComponent::TLoadingScope scope;
  tray = new TksTrayIcon(mainForm);
  tray->SetIconVisible(false);
  tray->MinimizedOnStart = true;
  scope.Finish(tray);
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_FALSE(Application->ShowMainForm);
  EXPECT_EQ(calls.back().first, static_cast<DWORD>(NIM_ADD));
  Application->ShowMainForm = showMainForm;
  ShowWindow(Application->Handle(), SW_RESTORE);
}

}  // namespace
