#include "app/Startup.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/tests/MainForm_fixture.h"
#include "app/tests/TextNumbers.h"
#include "engine/Debug.h"
#include "framework/core/osversion.h"

namespace apptest {
namespace {

TEST(Startup, Switches) {
  struct Case {
    std::vector<std::string> params;
    bool debug, install;
  };
  const Case cases[] = {
      {{}, false, false},
      {{"/install"}, false, true},
      {{"-Reinstaller"}, false, true},
      {{"debugging"}, true, false},
      {{"x", "DeBuG"}, true, false},
      {{"/debug_install"}, true, true},
      // Parameters after INSTALL are never looked at.
      {{"install", "debug"}, false, true},
      {{"debug", "install"}, true, true},
      {{"other", "words"}, false, false},
  };
  for (const Case& c : cases) {
    const TSwitches s = ParseSwitches(c.params);
    std::string shown;
    for (const auto& p : c.params) shown += p + " ";
    EXPECT_EQ(s.Debug, c.debug) << shown;
    EXPECT_EQ(s.Install, c.install) << shown;
  }
}

// Korvalo3.exe beside this test program, started with `args`; its exit code, or
// -1 when it did not end on its own (it was then stopped). `running` is called once
// the program waits for input, with its process id.
DWORD RunProgram(const std::string& args, const std::function<void(DWORD)>& running = nullptr) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string exe = self;
  exe = exe.substr(0, exe.find_last_of('\\') + 1) + "Korvalo3.exe";
  std::string command = "\"" + exe + "\" " + args;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return static_cast<DWORD>(-2);
  if (running && WaitForInputIdle(process.hProcess, 60000) == 0) running(process.dwProcessId);
  DWORD code = static_cast<DWORD>(-1);
  // A program that shows its window never ends on its own: the wait gives up.
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  else
    TerminateProcess(process.hProcess, 9);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST(Startup, InstallSwitchAndSecondInstanceEndAtOnceWithZero) {
  EXPECT_EQ(RunProgram("/INSTALL"), 0u);
  EXPECT_EQ(RunProgram("--debug-Install"), 0u);
  HANDLE held = CreateMutexA(nullptr, FALSE, "Redoveze3");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(RunProgram(""), 0u);
  CloseHandle(held);
}

// The visible top-level windows of a process that have a size (the application's
// own window is visible for the task bar, but has none).
std::vector<HWND> VisibleWindows(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  struct Enum {
    static BOOL CALLBACK Window(HWND wnd, LPARAM data) {
      auto* s = reinterpret_cast<Search*>(data);
      DWORD owner = 0;
      GetWindowThreadProcessId(wnd, &owner);
      RECT r{};
      GetWindowRect(wnd, &r);
      if (owner == s->pid && IsWindowVisible(wnd) && r.right > r.left && r.bottom > r.top)
        s->found.push_back(wnd);
      return TRUE;
    }
  };
  EnumWindows(&Enum::Window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Startup, ANormalRunShowsOnlyTheMainWindowAndEndsCleanlyWhenItCloses) {
  TSavedRegistryValue saved("RecoveryFolder");
  TTestFolder out("kv_startup.");
  TSavedRegistryValue::Set("RecoveryFolder", &out.Path());
  std::vector<std::string> captions;
  const DWORD code = RunProgram("", [&](DWORD pid) {
    for (HWND wnd : VisibleWindows(pid)) {
      char text[64] = "";
      GetWindowTextA(wnd, text, sizeof text);
      captions.push_back(text);
      PostMessageA(wnd, WM_CLOSE, 0, 0);
    }
  });
  EXPECT_EQ(captions, std::vector<std::string>{LangText(0)});
  EXPECT_EQ(code, 0u);
}

class StartupForms : public MainFormTest {
 protected:
  void SetUp() override { TestApp(); }  // CreateForms makes frmMain
};

TEST_F(StartupForms, TwelveFormsInOrderOnlyTheMainWindowToBeShown) {
  ASSERT_TRUE(CreateForms());
  const std::vector<TComponent*> expected = {frmMain,      frmSplash,  frmSelectTypes, frmSecureErase,
                                             frmBurn,      frmRecovery, frmFeedback,   frmOutputDIR,
                                             frmBrowse,    frmGenericWait, frmBackup,  frmRestore};
  std::vector<TComponent*> made;
  for (int i = 0; i < Application->ComponentCount(); ++i)
    if (dynamic_cast<TCustomForm*>(Application->Components(i))) made.push_back(Application->Components(i));
  EXPECT_EQ(made, expected);
  EXPECT_EQ(Application->MainForm(), frmMain);
  for (size_t i = 1; i < expected.size(); ++i) EXPECT_FALSE(static_cast<TControl*>(expected[i])->Visible()) << i;
  EXPECT_TRUE(messages.Boxes().empty());
}

TEST_F(StartupForms, WindowsNinetyFiveIsRefusedWithTheEnginesTextAndNoOtherForm) {
  ScopedSeam<TVersionSeam> win95({.Query = [](OSVERSIONINFOA* info) {
    info->dwMajorVersion = 4;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 950;
    info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    info->szCSDVersion[0] = 0;
    return TRUE;
  }});
  EXPECT_FALSE(CreateForms());
  ASSERT_NE(frmMain, nullptr);
  EXPECT_TRUE(frmMain->CreateFailed);
  EXPECT_EQ(frmSplash, nullptr);
  EXPECT_EQ(frmRestore, nullptr);
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(23) + "\r\nThis program does not support Windows 95 or Windows NT");
  EXPECT_EQ(messages.Boxes()[0].DlgType, ksmtError);
}

}  // namespace
}  // namespace apptest
