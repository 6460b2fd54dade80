#include "LoopbackHttpServer.h"
#include "outside/NetUpdateEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "framework/core/fileutils.h"
#include "framework/core/seams.h"
#include "framework/core/streams.h"
#include "framework/core/strings.h"

namespace {

String ScratchFolder(const String& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  String folder = IncludeTrailingBackslash(temp) + name + IntToStr(GetCurrentProcessId()) + "\\";
  ForceDirectories(folder);
  return folder;
}

TLoopbackHttpServer::Reply Offer(const std::string& version, const std::string& file = "setup.exe") {
  return {200, "[Update]\r\nVersion=" + version + "\r\nFile=" + file + "\r\n", ""};
}

}  // namespace

TEST(NetUpdateEngine, ComparesTheOfferedVersionWithOurs) {
  TLoopbackHttpServer server;
  struct Row {
    const char* offered;
    bool newer;
  } rows[] = {{"3.1", true}, {"3.0", false}, {"2.9", false}, {"3.0.0", false}, {"3.0.1", true}, {"10.0", true}};
  for (const Row& r : rows) {
    server.Set("/updates/update.ini", Offer(r.offered));
    TNetUpdateEngine engine;
    engine.InternetSite = server.Site();
    engine.Version = "3.0";
    EXPECT_EQ(engine.CheckNewVersion(), r.newer) << r.offered;
  }
}

TEST(NetUpdateEngine, RefusesWhatTheSiteShouldNotAnswer) {
  TLoopbackHttpServer server;
  struct Row {
    const char* name;
    TLoopbackHttpServer::Reply reply;
  } rows[] = {
      {"missing", {404, "nothing", ""}},
      {"garbage", {200, "<html>not an offer</html>", ""}},
      {"no number", {200, "[Update]\r\nVersion=three\r\n", ""}},
      {"oversize", {200, "[Update]\r\nVersion=9.0\r\n" + std::string(70 * 1024, ';'), ""}},
      {"redirect", {302, "", "Location: http://127.0.0.1:1/elsewhere/update.ini\r\n"}},
      {"empty", {200, "", ""}},
      {"status 2000", {200, "", "", "HTTP/1.1 2000 OK\r\n\r\n[Update]\r\nVersion=9.0\r\n"}},
  };
  for (const Row& r : rows) {
    server.Set("/updates/update.ini", r.reply);
    TNetUpdateEngine engine;
    engine.InternetSite = server.Site();
    engine.Version = "3.0";
    EXPECT_THROW(engine.CheckNewVersion(), EUpdateEngineError) << r.name;
  }
  EXPECT_EQ(server.Requests().size(), std::size(rows)) << "a redirect is never followed";
}

TEST(NetUpdateEngine, ContactsNoSiteBeyondThisMachine) {
  TLoopbackHttpServer server;
  struct Row {
    const char* site;
    const char* refusal;  // refused before any connection is tried
  } rows[] = {{"http://example.com/updates/", "not on this machine"},
              {"http://10.0.0.1/", "not on this machine"},
              {"http://127.0.0.1.example.com/", "not on this machine"},
              {"ftp://127.0.0.1/", "not an http address"},
              {"127.0.0.1/", "not an http address"},
              {"http://127.0.0.1:99999/", "port is not valid"}};
  for (const Row& r : rows) {
    TNetUpdateEngine engine;
    engine.InternetSite = r.site;
    engine.Version = "3.0";
    try {
      engine.CheckNewVersion();
      ADD_FAILURE() << r.site << " was accepted";
    } catch (const EUpdateEngineError& e) {
      EXPECT_NE(e.Message.find(r.refusal), String::npos) << r.site << ": " << e.Message;
    }
  }
  EXPECT_TRUE(server.Requests().empty());
}

TEST(NetUpdateEngine, ASiteWhereNothingListensCannotBeReached) {
  int port;
  {
    TLoopbackHttpServer gone;
    port = gone.Port();
  }
  TNetUpdateEngine engine;
  engine.InternetSite = "http://127.0.0.1:" + IntToStr(port) + "/updates/";
  engine.Version = "3.0";
  try {
    engine.CheckNewVersion();
    ADD_FAILURE() << "nothing listens";
  } catch (const EUpdateEngineError& e) {
    EXPECT_NE(e.Message.find("cannot be reached"), String::npos) << e.Message;
  }
}

TEST(NetUpdateEngine, UsesPortOnlyWhenTheSiteHasNone) {
  TLoopbackHttpServer server;
  server.Set("/updates/update.ini", Offer("4.0"));
  TNetUpdateEngine engine;
  engine.InternetSite = "http://localhost/updates/";
  engine.Port = server.Port();
  engine.Version = "3.0";
  EXPECT_TRUE(engine.CheckNewVersion());
}

TEST(NetUpdateEngine, SettingsSurviveASaveAndLoad) {
  String file = ScratchFolder("nue") + "webupdate.xml";
  DeleteFile(file);
  TNetUpdateEngine first;
  first.LoadConfiguration(file);  // missing: defaults
  EXPECT_EQ(first.Port, 0);
  EXPECT_EQ(first.Name, "");
  first.Name = "Korvalo 3";
  first.CompanyName = "Tom & Jerry <Software> \"quoted\" 'single'";
  first.InternetSite = "http://127.0.0.1/updates/";
  first.Version = "3.0";
  first.Port = 80;
  first.ProxyPort = 8080;
  first.Unload = first.Restart = true;
  first.Installation = "C:\\Program Files\\Korvalo 3\\";
  first.Save();
  TNetUpdateEngine second;
  second.LoadConfiguration(file);
  EXPECT_EQ(second.Name, first.Name);
  EXPECT_EQ(second.CompanyName, first.CompanyName);
  EXPECT_EQ(second.InternetSite, first.InternetSite);
  EXPECT_EQ(second.Installation, first.Installation);
  EXPECT_EQ(second.Port, 80);
  EXPECT_EQ(second.ProxyPort, 8080);
  EXPECT_TRUE(second.Unload);
  EXPECT_TRUE(second.Restart);
  EXPECT_FALSE(second.Hangup);
  DeleteFile(file);
}

TEST(NetUpdateEngine, LaunchDownloadsThePlainNamedFileAndRunsNothing) {
  TLoopbackHttpServer server;
  String install = ScratchFolder("nul");
  server.Set("/updates/setup.exe", {200, "MZ new version", ""});
  struct Row {
    const char* file;
    bool saved;
  } rows[] = {{"setup.exe", true},      {"..\\evil.exe", false}, {"../evil.exe", false}, {"sub/evil.exe", false},
              {"C:evil.exe", false},    {"", false},             {".hidden", false},     {"a..b", false}};
  for (const Row& r : rows) {
    server.Set("/updates/update.ini", Offer("4.0", r.file));
    TNetUpdateEngine engine;
    engine.LoadConfiguration(install + "webupdate.xml");
    engine.InternetSite = server.Site();
    engine.Installation = install;
    engine.Version = "3.0";
    if (r.saved) {
      engine.LaunchEngine("/silent");
      EXPECT_FALSE(engine.LastUpdate.empty());
      TStringList saved;
      saved.LoadFromFile(install + "Update\\setup.exe");
      EXPECT_EQ(saved.Text(), "MZ new version\r\n");
      TNetUpdateEngine reread;
      reread.LoadConfiguration(install + "webupdate.xml");
      EXPECT_EQ(reread.LastUpdate, engine.LastUpdate) << "the launch saves the settings";
    } else {
      EXPECT_THROW(engine.LaunchEngine("/silent"), EUpdateEngineError) << r.file;
    }
  }
  EXPECT_FALSE(FileExists(install + "evil.exe"));
  EXPECT_FALSE(FileExists(install + "Update\\evil.exe"));
}

TEST(NetUpdateEngine, MakerCanBeReplacedToFail) {
  EXPECT_NE(CreateNetUpdateEngine(), nullptr);
  SetNetUpdateEngineMaker([]() -> std::unique_ptr<TNetUpdateEngine> { throw EUpdateEngineError("no server"); });
  EXPECT_THROW(CreateNetUpdateEngine(), EUpdateEngineError);
  SetNetUpdateEngineMaker(nullptr);
  EXPECT_NE(CreateNetUpdateEngine(), nullptr);
}

TEST(NetUpdateEngine, VersionsCompareByNumber) {
  EXPECT_GT(CompareVersions("3.10", "3.9"), 0);
  EXPECT_EQ(CompareVersions("3.0", "3"), 0);
  EXPECT_LT(CompareVersions("2.99", "3.0"), 0);
  for (const char* bad : {"", "3.", ".3", "3..0", "v3", "3.0b", "1234567890.1"})
    EXPECT_THROW(CompareVersions(bad, "3.0"), EUpdateEngineError) << bad;
}

// Whatever arrives other than the answer announced (short, long, empty, or under a
// status that is not three digits) is a failure: nothing is saved, and the last update
// stays as it was.
TEST(NetUpdateEngine, ADownloadOtherThanAnnouncedIsAFailureAndLeavesNothing) {
  TLoopbackHttpServer server;
  String install = ScratchFolder("nus");
  server.Set("/updates/update.ini", Offer("4.0"));
  const std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
  const std::string chunked = head + "Transfer-Encoding: chunked\r\n\r\n";
  struct Row {
    const char* name;
    std::string raw;
    bool saved;
  } rows[] = {
      {"cut at 500 of 1000", head + "Content-Length: 1000\r\n\r\n" + std::string(500, 'k'), false},
      {"headers only", head + "Content-Length: 1000\r\n\r\n", false},
      {"chunk cut half-way", chunked + "3e8\r\n" + std::string(500, 'k'), false},
      {"no last chunk", chunked + "3e8\r\n" + std::string(1000, 'k') + "\r\n", false},
      {"1500 where 1000 were announced", head + "Content-Length: 1000\r\n\r\n" + std::string(1500, 'k'), false},
      {"more after the last chunk", chunked + "3e8\r\n" + std::string(1000, 'k') + "\r\n0\r\n\r\nkkkk", false},
      {"empty, announced", head + "Content-Length: 0\r\n\r\n", false},
      {"empty, to the close", head + "\r\n", false},
      {"empty, chunked", chunked + "0\r\n\r\n", false},
      {"status 2000", "HTTP/1.1 2000 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(1000, 'k'), false},
      {"status 2001 without a reason", "HTTP/1.1 2001\r\nContent-Length: 1000\r\n\r\n" + std::string(1000, 'k'), false},
      {"whole", head + "Content-Length: 1000\r\n\r\n" + std::string(1000, 'k'), true},
      {"whole, to the close", head + "\r\n" + std::string(1000, 'k'), true},
      {"whole, status without a reason", "HTTP/1.1 200\r\nContent-Length: 1000\r\n\r\n" + std::string(1000, 'k'), true},
      {"whole chunked", chunked + "1f4\r\n" + std::string(500, 'k') + "\r\n1f4\r\n" + std::string(500, 'k') +
                            "\r\n0\r\n\r\n", true},
  };
  for (const Row& r : rows) {
    DeleteFile(install + "Update\\setup.exe");
    DeleteFile(install + "webupdate.xml");
    server.Set("/updates/setup.exe", {200, "", "", r.raw});
    TNetUpdateEngine engine;
    engine.LoadConfiguration(install + "webupdate.xml");
    engine.InternetSite = server.Site();
    engine.Installation = install;
    engine.Version = "3.0";
    engine.LastUpdate = "before";
    engine.Save();
    if (r.saved) {
      engine.LaunchEngine("/silent");
      TFileStream saved(install + "Update\\setup.exe", fmOpenRead);
      EXPECT_EQ(saved.Size(), 1000) << r.name;
    } else {
      EXPECT_THROW(engine.LaunchEngine("/silent"), EUpdateEngineError) << r.name;
      EXPECT_FALSE(FileExists(install + "Update\\setup.exe")) << r.name;
      EXPECT_FALSE(FileExists(install + "Update\\setup.exe.part")) << r.name;
      EXPECT_EQ(engine.LastUpdate, "before") << r.name;
      TNetUpdateEngine reread;
      reread.LoadConfiguration(install + "webupdate.xml");
      EXPECT_EQ(reread.LastUpdate, "before") << r.name;
    }
  }
}

// update.ini too: a short one is no offer.
TEST(NetUpdateEngine, AShortOfferIsAFailure) {
  TLoopbackHttpServer server;
  server.Set("/updates/update.ini",
             {200, "", "", "HTTP/1.1 200 OK\r\nContent-Length: 200\r\n\r\n[Update]\r\nVersion=4.0\r\n"});
  TNetUpdateEngine engine;
  engine.InternetSite = server.Site();
  engine.Version = "3.0";
  EXPECT_THROW(engine.CheckNewVersion(), EUpdateEngineError);
}

// A server that drips its answer is given up at the deadline: 30 s for update.ini,
// and for the download 30 s and one more for every 16 KiB that arrived. The
// server moves the test's clock before each piece it sends.
TEST(NetUpdateEngine, AnAnswerThatDripsFailsAtItsDeadline) {
  std::atomic<DWORD> now{5000};
  ScopedSeam<TClockSeam> clock({.TickCount = [&now] { return now.load(); }});
  TLoopbackHttpServer server;
  String install = ScratchFolder("nud");
  auto drip = [&now](TLoopbackHttpServer::Reply reply, size_t bytes, DWORD ms) {
    reply.PieceBytes = bytes;
    reply.BeforePiece = [&now, ms] { now += ms; };
    return reply;
  };
  struct Row {
    const char* name;
    TLoopbackHttpServer::Reply offer, download;
  } rows[] = {
      {"update.ini, a byte every 3 s", drip(Offer("4.0"), 1, 3000), {200, "MZ", ""}},
      {"the download, 100 bytes every 10 s", Offer("4.0"), drip({200, std::string(1000, 'k'), ""}, 100, 10000)},
  };
  for (const Row& r : rows) {
    server.Set("/updates/update.ini", r.offer);
    server.Set("/updates/setup.exe", r.download);
    TNetUpdateEngine engine;
    engine.LoadConfiguration(install + "webupdate.xml");
    engine.InternetSite = server.Site();
    engine.Installation = install;
    engine.Version = "3.0";
    try {
      engine.LaunchEngine("/silent");
      ADD_FAILURE() << r.name << " was taken";
    } catch (const EUpdateEngineError& e) {
      EXPECT_NE(e.Message.find("did not arrive in time"), String::npos) << r.name << ": " << e.Message;
    }
    EXPECT_FALSE(FileExists(install + "Update\\setup.exe")) << r.name;
    EXPECT_TRUE(engine.LastUpdate.empty()) << r.name;
  }
}

TEST(NetUpdateEngine, TheDeadlineGrowsWithWhatArrives) {
  const THttpLimits fixed{64 * 1024, 30000, 0}, sized{16 * 1024 * 1024, 30000, 16 * 1024};
  EXPECT_EQ(HttpAllowedMs(fixed, 0), 30000u);
  EXPECT_EQ(HttpAllowedMs(fixed, 60000), 30000u);
  EXPECT_EQ(HttpAllowedMs(sized, 0), 30000u);
  EXPECT_EQ(HttpAllowedMs(sized, 16383), 30000u);
  EXPECT_EQ(HttpAllowedMs(sized, 1024 * 1024), 94000u);
  EXPECT_EQ(HttpAllowedMs(sized, 16 * 1024 * 1024), 1054000u);
}

// A device name would send the download to a port or printer of this machine: it
// is refused before anything is downloaded.
TEST(NetUpdateEngine, RefusesADeviceNameBeforeDownloading) {
  TLoopbackHttpServer server;
  String install = ScratchFolder("nuc");
  for (const char* device : {"COM1", "con.exe", "Nul", "lpt9.txt", "AUX.tar.gz", "prn"}) {
    EXPECT_FALSE(IsPlainFileName(device)) << device;
    server.Set("/updates/update.ini", Offer("4.0", device));
    TNetUpdateEngine engine;
    engine.InternetSite = server.Site();
    engine.Installation = install;
    engine.Version = "3.0";
    EXPECT_THROW(engine.LaunchEngine("/silent"), EUpdateEngineError) << device;
  }
  for (const String& asked : server.Requests()) EXPECT_EQ(asked, "/updates/update.ini");
  for (const char* plain : {"console.exe", "com10.exe", "nul_fix.exe", "setup.exe"})
    EXPECT_TRUE(IsPlainFileName(plain)) << plain;
}

namespace {

// An engine whose disk fills half-way through the download, as a full disk does.
class TFullDiskEngine : public TNetUpdateEngine {
 protected:
  void WriteDownload(TStream& file, const String& body) override {
    file.WriteBuffer(body.data(), static_cast<int>(body.size() / 2));
    throw EWriteError("There is not enough space on the disk");
  }
};

}  // namespace

// Whatever stops the download from taking its name, nothing of it stays: no part, no
// update folder it made, an older file as it was, and the engine's own error.
TEST(NetUpdateEngine, ADownloadThatCannotBeSavedLeavesNothing) {
  TLoopbackHttpServer server;
  server.Set("/updates/update.ini", Offer("4.0"));
  server.Set("/updates/setup.exe", {200, "MZ new version", ""});
  String install = ScratchFolder("nuf");
  const String update = install + "Update\\";
  auto writeOld = [&](DWORD attributes) {
    ForceDirectories(update);
    TStringList old;
    old.SetText("MZ old version");
    old.SaveToFile(update + "setup.exe");
    SetFileAttributesA((update + "setup.exe").c_str(), attributes);
  };
  struct Row {
    const char* name;
    std::function<void()> prepare;
    bool fullDisk;
    bool oldStays;
  } rows[] = {
      {"the older file is read-only", [&] { writeOld(FILE_ATTRIBUTE_READONLY); }, false, true},
      {"a folder has the name", [&] { ForceDirectories(update + "setup.exe"); }, false, false},
      {"a folder has the part's name", [&] { ForceDirectories(update + "setup.exe.part"); }, false, false},
      {"the disk fills", [] {}, true, false},
      {"the disk fills over an older file", [&] { writeOld(FILE_ATTRIBUTE_NORMAL); }, true, true},
  };
  for (const Row& r : rows) {
    SetFileAttributesA((update + "setup.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFile(update + "setup.exe");
    RemoveDir(update + "setup.exe");
    RemoveDir(update + "setup.exe.part");
    RemoveDir(update);
    r.prepare();
    std::unique_ptr<TNetUpdateEngine> engine =
        r.fullDisk ? std::make_unique<TFullDiskEngine>() : std::make_unique<TNetUpdateEngine>();
    engine->InternetSite = server.Site();
    engine->Installation = install;
    engine->Version = "3.0";
    EXPECT_THROW(engine->LaunchEngine("/silent"), EUpdateEngineError) << r.name;
    EXPECT_FALSE(FileExists(update + "setup.exe.part")) << r.name;
    EXPECT_TRUE(engine->LastUpdate.empty()) << r.name;
    if (r.oldStays) {
      TStringList old;
      old.LoadFromFile(update + "setup.exe");
      EXPECT_EQ(old.Text(), "MZ old version\r\n") << r.name;
    } else if (r.fullDisk) {
      EXPECT_FALSE(DirectoryExists(update)) << r.name << ": the folder the download made goes too";
    }
  }
  SetFileAttributesA((update + "setup.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
}
