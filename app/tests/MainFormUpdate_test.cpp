// The loopback server brings winsock2.h, which must come before windows.h.
#include "outside/tests/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "app/MainForm.h"
#include "app/tests/MainForm_fixture.h"
#include "engine/Debug.h"
#include "engine/InternetSeam.h"
#include "engine/Lang.h"
#include "framework/core/fileutils.h"
#include "framework/core/seams.h"
#include "framework/gui/screen.h"
#include "framework/gui/wndproc.h"
#include "outside/NetUpdateEngine.h"

namespace {

// What the update engine was asked, with the settings it held when it saved them.
struct TUpdateCalls {
  int made = 0;
  std::vector<String> calls;
  String savedName, savedVersion, savedSite, savedInstallation;
  int savedPort = 0;
  bool savedUnload = false, savedRestart = false, savedDownloadOnly = true, savedHangup = true;
};

class TRecordingEngine : public TNetUpdateEngine {
 public:
  TRecordingEngine(TUpdateCalls& calls, bool newer) : calls_(calls), newer_(newer) {}
  void LoadConfiguration(const String& fileName) override { calls_.calls.push_back("load " + fileName); }
  void Save() override {
    calls_.calls.push_back("save");
    calls_.savedName = Name;
    calls_.savedVersion = Version;
    calls_.savedSite = InternetSite;
    calls_.savedInstallation = Installation;
    calls_.savedPort = Port;
    calls_.savedUnload = Unload;
    calls_.savedRestart = Restart;
    calls_.savedDownloadOnly = DownloadOnly;
    calls_.savedHangup = Hangup;
  }
  bool CheckNewVersion() override {
    calls_.calls.push_back("check");
    return newer_;
  }
  void LaunchEngine(const String& argument) override {
    calls_.calls.push_back(String("launch ") + (AutomaticQuestion ? "asking " : "silent ") + argument);
  }

 private:
  TUpdateCalls& calls_;
  bool newer_;
};

class UpdateCommand : public apptest::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    frmMain->Engine->ProgramFolder = folder.Path();
    frmMain->Engine->MajorVersion = 3;
    frmMain->Engine->MinorVersion = 0;
    frmMain->Engine->Release = 1;
  }
  void TearDown() override {
    SetNetUpdateEngineMaker(nullptr);
    MainFormTest::TearDown();
  }
  void EngineOffers(bool newer) {
    SetNetUpdateEngineMaker([this, newer] {
      ++update.made;
      return std::make_unique<TRecordingEngine>(update, newer);
    });
  }
  std::vector<String> Boxes() const {
    std::vector<String> texts;
    for (const auto& b : messages.Boxes()) texts.push_back(b.Msg);
    return texts;
  }
  static String Lang(uint8_t n) { return SupportedLanguages->GetLanguageText(n); }

  TUpdateCalls update;
  std::vector<String> checkedSites;
  bool connected = true, queried = true, reachable = true;
  ScopedSeam<TInternetSeam> internet{{
      .GetConnectedState = [this](DWORD* flags) -> BOOL {
        *flags = 0;
        return connected;
      },
      .QueryConnectedState = [this] { return queried; },
      .CheckConnection =
          [this](const std::string& url) {
            checkedSites.push_back(url);
            return reachable;
          },
  }};
};

}  // namespace

TEST_F(UpdateCommand, WithoutAConnectionOrSiteNothingIsLoaded) {
  struct Row {
    bool connected, queried, reachable;
  } rows[] = {{false, true, true}, {true, false, true}, {true, true, false}};
  EngineOffers(true);
  for (const Row& r : rows) {
    connected = r.connected;
    queried = r.queried;
    reachable = r.reachable;
    frmMain->imgUpdateClick(nullptr);
  }
  EXPECT_EQ(Boxes(), (std::vector<String>{Lang(141), Lang(141), Lang(141)}));
  EXPECT_EQ(update.made, 0) << "the update engine is never made";
  EXPECT_EQ(checkedSites, std::vector<String>{"http://127.0.0.1/korvalo3/"}) << "the shipped site by default";
}

TEST_F(UpdateCommand, ANewerVersionLaunchesTheUpdaterAndClosesTheProgram) {
  WritePrivateProfileStringA("Update", "Site", "http://127.0.0.1:8123/kv/", (folder.Path() + "Korvalo3.INI").c_str());
  EngineOffers(true);
  frmMain->imgUpdateClick(nullptr);
  EXPECT_EQ(checkedSites, std::vector<String>{"http://127.0.0.1:8123/kv/"});
  EXPECT_TRUE(Boxes().empty());
  ASSERT_EQ(update.calls.size(), 4u);
  EXPECT_EQ(update.calls[0], "load " + folder.Path() + "webupdate.xml");
  EXPECT_EQ(update.calls[1], "save");
  EXPECT_EQ(update.calls[2], "check");
  EXPECT_EQ(update.calls[3], "launch asking " + Application->ExeName());
  EXPECT_EQ(update.savedName, "Korvalo 3");
  EXPECT_EQ(update.savedVersion, "3.0");
  EXPECT_EQ(update.savedSite, "http://127.0.0.1:8123/kv/");
  EXPECT_EQ(update.savedInstallation, folder.Path());
  EXPECT_EQ(update.savedPort, 80);
  EXPECT_TRUE(update.savedUnload && update.savedRestart);
  EXPECT_FALSE(update.savedDownloadOnly || update.savedHangup);
  EXPECT_EQ(frmMain->Engine, nullptr) << "the main window closed and let its engine go";
}

TEST_F(UpdateCommand, TheSameVersionKeepsTheProgramRunning) {
  EngineOffers(false);
  frmMain->imgUpdateClick(nullptr);
  EXPECT_EQ(Boxes(), std::vector<String>{Lang(65)});
  EXPECT_NE(frmMain->Engine, nullptr);
  EXPECT_EQ(update.calls.back(), "check");
}

TEST_F(UpdateCommand, AnEngineThatFailsIsReported) {
  SetNetUpdateEngineMaker([]() -> std::unique_ptr<TNetUpdateEngine> { throw EUpdateEngineError("no engine"); });
  frmMain->imgUpdateClick(nullptr);
  EXPECT_EQ(Boxes(), std::vector<String>{Lang(140)});
}

TEST_F(UpdateCommand, ALookupThatRaisesIsLoggedAndReported) {
  ScopedSeam<TInternetSeam> missing{
      {.QueryConnectedState = []() -> bool { throw std::runtime_error("no internet library"); }}};
  EngineOffers(true);
  frmMain->imgUpdateClick(nullptr);
  EXPECT_EQ(Boxes(), std::vector<String>{Lang(23)});
  EXPECT_EQ(update.made, 0);
  TStringList log;
  log.LoadFromFile(LogFileName("Errors"));
  ASSERT_GT(log.Count(), 0);
  EXPECT_NE(log.Strings(log.Count() - 1).find("WebUpdate : no internet library"), String::npos);
}

// The update engine itself against a server on this machine: a download cut short,
// or one that drips past its deadline, is message 140; the program keeps running,
// nothing is saved and the last update stays unrecorded.
TEST_F(UpdateCommand, AnUpdateThatDoesNotArriveWholeIsReportedAndChangesNothing) {
  std::atomic<DWORD> now{0};
  ScopedSeam<TClockSeam> moved({.TickCount = [&now] { return now.load(); }});
  TLoopbackHttpServer server;
  WritePrivateProfileStringA("Update", "Site", server.Site().c_str(), (folder.Path() + "Korvalo3.INI").c_str());
  server.Set("/updates/update.ini", {200, "[Update]\r\nVersion=4.0\r\nFile=setup.exe\r\n", ""});
  TLoopbackHttpServer::Reply cut{200, "", "", "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(500, 'k')};
  TLoopbackHttpServer::Reply dripping{200, std::string(1000, 'k'), ""};
  dripping.PieceBytes = 100;
  dripping.BeforePiece = [&now] { now += 10000; };
  for (const TLoopbackHttpServer::Reply& download : {cut, dripping}) {
    server.Set("/updates/setup.exe", download);
    frmMain->imgUpdateClick(nullptr);
    ASSERT_NE(frmMain->Engine, nullptr) << "the program keeps running";
    EXPECT_EQ(Boxes().back(), Lang(140));
    EXPECT_FALSE(FileExists(folder.Path() + "Update\\setup.exe"));
    TNetUpdateEngine stored;
    stored.LoadConfiguration(folder.Path() + "webupdate.xml");
    EXPECT_TRUE(stored.LastUpdate.empty()) << stored.LastUpdate;
  }
  EXPECT_EQ(Boxes().size(), 2u);
}

// The check and the download arrive in pieces. Before each piece the server moves the
// clock and posts a probe to a window of this thread, which runs only when the waiting
// command pumps: it sees the hourglass, leaves a change to paint, and clicks the update
// command again, a click the wait drops. Once the command is over, the cursor is back.
TEST_F(UpdateCommand, TheWindowPaintsUnderTheHourglassWhileTheUpdateWaits) {
  constexpr UINT kProbe = WM_APP + 7;
  std::atomic<DWORD> now{0};
  ScopedSeam<TClockSeam> moved({.TickCount = [&now] { return now.load(); }});
  TLoopbackHttpServer server;
  WritePrivateProfileStringA("Update", "Site", server.Site().c_str(), (folder.Path() + "Korvalo3.INI").c_str());
  const HWND form = frmMain->Handle();
  const TPoint onUpdate = frmMain->imgUpdate->ClientToScreen(Point(4, 4));
  POINT click{onUpdate.X, onUpdate.Y};
  ScreenToClient(form, &click);
  auto clickUpdate = [&] {
    PostMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
    PostMessageA(form, WM_LBUTTONUP, 0, MAKELPARAM(click.x, click.y));
  };

  struct {
    int probes = 0, underHourglass = 0, paintedMeanwhile = 0;
  } seen;
  HWND probe = nullptr;
  probe = AllocateHWnd([&](TMessage& m) {
    if (m.Msg != kProbe) {
      m.Result = DefWindowProcA(probe, m.Msg, m.WParam, m.LParam);
      return;
    }
    ++seen.probes;
    if (Screen->Cursor() == crHourGlass) ++seen.underHourglass;
    if (seen.probes > 1 && !GetUpdateRect(form, nullptr, FALSE)) ++seen.paintedMeanwhile;
    InvalidateRect(form, nullptr, FALSE);
    clickUpdate();
  });
  auto inPieces = [&](TLoopbackHttpServer::Reply reply) {
    reply.PieceBytes = 16;
    reply.BeforePiece = [&now, probe] {
      now += 20;
      PostMessageA(probe, kProbe, 0, 0);
    };
    return reply;
  };
  server.Set("/updates/update.ini", inPieces({200, "[Update]\r\nVersion=4.0\r\nFile=setup.exe\r\n", ""}));
  server.Set("/updates/setup.exe", inPieces({200, std::string(200, 'k'), ""}));

  // A click posted so reaches the command when nothing waits.
  reachable = false;
  clickUpdate();
  Application->ProcessMessages();
  ASSERT_EQ(Boxes(), std::vector<String>{Lang(141)});

  reachable = true;
  frmMain->imgUpdateClick(nullptr);
  DeallocateHWnd(probe);
  EXPECT_GT(seen.probes, 2) << "the check and the download pumped while they waited";
  EXPECT_EQ(seen.underHourglass, seen.probes);
  EXPECT_GT(seen.paintedMeanwhile, 0);
  EXPECT_EQ(server.Requests(),
            (std::vector<std::string>{"/updates/update.ini", "/updates/update.ini", "/updates/setup.exe"}))
      << "no click started a second update";
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(FileExists(folder.Path() + "Update\\setup.exe"));
  EXPECT_EQ(frmMain->Engine, nullptr) << "the program closed for the updater";
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

// A close that arrives while the download waits ends it: nothing is saved, nothing is
// told, and the program closes.
TEST_F(UpdateCommand, ACloseWhileTheUpdateWaitsEndsItAndTheProgram) {
  std::atomic<DWORD> now{0};
  ScopedSeam<TClockSeam> moved({.TickCount = [&now] { return now.load(); }});
  TLoopbackHttpServer server;
  WritePrivateProfileStringA("Update", "Site", server.Site().c_str(), (folder.Path() + "Korvalo3.INI").c_str());
  server.Set("/updates/update.ini", {200, "[Update]\r\nVersion=4.0\r\nFile=setup.exe\r\n", ""});
  TLoopbackHttpServer::Reply download{200, std::string(1000, 'k'), ""};
  download.PieceBytes = 100;
  const HWND form = frmMain->Handle();
  download.BeforePiece = [&now, form] {
    now += 20;
    PostMessageA(form, WM_CLOSE, 0, 0);
  };
  server.Set("/updates/setup.exe", download);
  frmMain->imgUpdateClick(nullptr);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(FileExists(folder.Path() + "Update\\setup.exe"));
  EXPECT_FALSE(FileExists(folder.Path() + "Update\\setup.exe.part"));
  EXPECT_EQ(frmMain->Engine, nullptr) << "the program closed";
}
