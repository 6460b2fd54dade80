#include "outside/DiscWriterX.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <functional>
#include <memory>
#include <set>

#include "framework/core/fileutils.h"
#include "framework/core/inifiles.h"
#include "framework/core/sysutils.h"
#include "framework/core/widetext.h"
#include "framework/testsupport/testapp.h"
#include "outside/tests/WindowVeto.h"
#include "outside/tests/WriterScratch.h"

namespace {

// A writer folder with its configuration, removed at the end.
class TWriterFixture : public TWriterScratch {
 public:
  explicit TWriterFixture(const String& writerKeys = "", const String& discKeys = "Blocks=1000") : TWriterScratch("dwx") {
    ForceDirectories(Root() + "drive");
    ForceDirectories(Root() + "src");
    Write(Root() + "DiscWriterX.ini", "[Writer0]\r\nFolder=drive\r\nText1=Stand\r\nText2=In\r\nText3=Writer\r\n"
                                      "MaxSpeed=16\r\n" + writerKeys);
    if (!discKeys.empty()) Write(Drive() + "disc.ini", "[Disc]\r\n" + discKeys + "\r\n");
    TDiscWriterX::SetConfigurationFile(Root() + "DiscWriterX.ini");
  }
  String Drive() const { return Root() + "drive\\"; }
  // A source file of `bytes` bytes.
  String Source(const String& name, size_t bytes) const {
    String path = Root() + "src\\" + name;
    Write(path, String(bytes, 'k'));
    return path;
  }
};

// Records every event by number ("11:3/1021" for errors); repeated progress events
// are recorded once.
class TEventLog {
 public:
  explicit TEventLog(TDiscWriterX& w) {
    auto note = [this](int id) { return [this, id](TObject*) { Add(IntToStr(id)); }; };
    w.OnClosingDisc = note(1);
    w.OnClosingSession = note(2);
    w.OnErasingDisc = note(3);
    w.OnEraseComplete = [this](TObject*) { Add("4"), done = true; };
    w.OnWritingCancelled = [this](TObject*) { Add("5"), done = true; };
    w.OnWritingComplete = [this](TObject*) { Add("6"), done = true; };
    w.OnPreparingToWrite = note(7);
    w.OnCreatingDirectories = note(8);
    w.OnTrackWriteStart = [this](TObject*, short, int) { Add("9"); };
    w.OnTrackWriteStatus = [this](TObject*, short, int, short) { AddOnce("10"); };
    w.OnWriteError = [this](TObject*, int e, int d) { Add("11:" + IntToStr(e) + "/" + IntToStr(d)), done = true; };
    w.OnClosingTrack = [this](TObject*, short) { Add("12"); };
    w.OnReadBufferStatus = [this](TObject*, short) { AddOnce("13"); };
    w.OnCachingTrack = [this](TObject*, short, int) { Add("14"); };
    w.OnCachingTrackStatus = [this](TObject*, int) { AddOnce("15"); };
    w.OnReadingFile = [this](TObject*, int) { Add("16"); };
    w.OnTrackFileError = [this](TObject*, int, const std::wstring&) { Add("23"); };
  }
  void Add(const String& e) { Text += (Text.empty() ? "" : ",") + e; }
  void AddOnce(const String& e) {
    if (seen_.insert(e).second) Add(e);
  }
  String Text;
  bool done = false;

 private:
  std::set<String> seen_;
};

std::wstring W(const String& s) { return std::wstring(s.begin(), s.end()); }

bool Exists(const String& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(DiscWriterX, ListsTheConfiguredWritersAndSelectsTheFirst) {
  {
    TWriterFixture f("", "");
    TDiscWriterX w(nullptr);
    EXPECT_EQ(w.GetDeviceCount(), 1);
    EXPECT_EQ(w.GetDeviceText1(0), L"Stand");
    EXPECT_EQ(w.GetDeviceText2(0), L"In");
    EXPECT_EQ(w.GetDeviceText3(0), L"Writer");
    EXPECT_EQ(w.GetMaxWriteSpeed(), 16);
    EXPECT_FALSE(w.IsDriveReady());  // no disc.ini: an empty tray
    EXPECT_FALSE(w.SelectDevice(1));
    EXPECT_TRUE(w.SelectDevice(0));
    EXPECT_EQ(w.GetDeviceText1(5), L"");
  }
  TDiscWriterX::SetConfigurationFile("Z:\\no\\such\\DiscWriterX.ini");
  TDiscWriterX none(nullptr);
  EXPECT_EQ(none.GetDeviceCount(), 0);
  EXPECT_FALSE(none.IsDriveReady());
  EXPECT_FALSE(none.StartWrite());
  TDiscWriterX::SetConfigurationFile("");
}

TEST(DiscWriterX, ImageTakesFilesOnceAndCountsBlocksExactly) {
  TWriterFixture f;
  TDiscWriterX w(nullptr);
  int folders = 0, added = 0, removed = 0, resets = 0;
  w.OnISOItemAdded = [&](TObject*, const std::wstring&, const std::wstring&, const std::wstring&,
                         const std::wstring&, bool dir, TDateTime, int) { dir ? ++folders : ++added; };
  w.OnISOItemRemoved = [&](TObject*, const std::wstring&, const std::wstring&, bool) { ++removed; };
  w.OnISOImageReset = [&](TObject*) { ++resets; };

  EXPECT_EQ(w.GetImageBlocks(), 0);  // an image without files reads as nothing to burn
  String a = f.Source("a.jpg", 2049), b = f.Source("b.jpg", 0);
  EXPECT_TRUE(w.AddFile(L"Korvalo\\a.jpg", W(a)));
  EXPECT_TRUE(w.AddFile(L"Korvalo\\b.jpg", W(b)));
  EXPECT_FALSE(w.AddFile(L"KORVALO\\A.JPG", W(b))) << "a disc path is taken once, in any case";
  EXPECT_FALSE(w.AddFile(L"Korvalo\\c.jpg", W(a + ".missing")));
  EXPECT_FALSE(w.AddFile(L"Korvalo\\d", W(ExtractFilePath(a))));
  EXPECT_EQ(folders, 1);
  EXPECT_EQ(added, 2);
  EXPECT_EQ(w.GetImageFileCount(), 2);
  int withBoth = w.GetImageBlocks();
  EXPECT_GT(withBoth, 19);

  EXPECT_TRUE(w.RemoveItem(L"Korvalo\\a.jpg"));
  EXPECT_FALSE(w.RemoveItem(L"Korvalo\\a.jpg"));
  EXPECT_EQ(removed, 1);
  EXPECT_EQ(w.GetImageBlocks(), withBoth - 2) << "2049 bytes take two blocks";
  w.ClearImage();
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(w.GetImageBlocks(), 0);
  EXPECT_EQ(w.GetImageFileCount(), 0);
}

TEST(DiscWriterX, BlocksToBytesStaysInTheIntegerRange) {
  TWriterFixture f;
  TDiscWriterX w(nullptr);
  struct Row {
    int blocks;
    int bytes;
  } rows[] = {{0, 0}, {1, 2048}, {333000, 681984000}, {1048575, 2147481600}, {1048576, INT_MAX}, {INT_MAX, INT_MAX}};
  for (const Row& r : rows) EXPECT_EQ(w.BlocksToBytes(r.blocks, 1), r.bytes) << r.blocks;
}

struct TBurnCase {
  const char* name;
  String writerKeys;
  String discKeys;
  bool starts;
  const char* events;   // in order; progress events once
  int sessions;         // session files on the disc afterwards
  int lastSession;      // GetLastSessionStatus afterwards
  // Runs between AddFile and StartWrite, and inside the track-start event.
  std::function<void(TWriterFixture&, TDiscWriterX&, const String& source)> before, duringWrite;
};

class DiscWriterXBurn : public ::testing::TestWithParam<TBurnCase> {};

TEST_P(DiscWriterXBurn, GivesTheEventsAndDiscState) {
  const TBurnCase& c = GetParam();
  TWriterFixture f(c.writerKeys, c.discKeys);
  TDiscWriterX w(nullptr);
  TEventLog log(w);
  String source = f.Source("photo.jpg", 5000);
  w.AddFile(L"Korvalo\\photo.jpg", W(source));
  w.AddFile(L"Korvalo\\second.jpg", W(f.Source("second.jpg", 100)));
  if (c.before) c.before(f, w, source);
  if (c.duringWrite) {
    auto recordStart = w.OnTrackWriteStart;
    w.OnTrackWriteStart = [&, recordStart](TObject* s, short t, int b) {
      recordStart(s, t, b);
      c.duringWrite(f, w, source);
    };
  }
  int imageBlocks = w.GetImageBlocks();
  ASSERT_EQ(w.StartWrite(), c.starts);
  if (c.starts) {
    ASSERT_TRUE(PumpUntil([&] { return log.done; }, 20000));
  }
  EXPECT_EQ(log.Text, c.events);
  EXPECT_EQ(w.GetSessionCount(), c.sessions);
  EXPECT_EQ(w.GetLastSessionStatus(), static_cast<TSessionStatus>(c.lastSession));
  EXPECT_FALSE(w.Busy());
  if (String(c.events).ends_with("/1051")) {
    EXPECT_FALSE(w.GetExtendedError().empty()) << "the system's reason";
  }
  if (String(c.events).find(",6") != String::npos && c.sessions == 1 && c.lastSession == 3) {
    TSearchRec r;
    ASSERT_EQ(FindFirst(f.Drive() + "session1.iso", faAnyFile, r), 0);
    EXPECT_EQ(r.Size, static_cast<int64_t>(imageBlocks) * 2048) << "the session is what GetImageBlocks promised";
    FindClose(r);
  }
}

const TBurnCase kBurnCases[] = {
    {"Written", "", "Blocks=1000", true, "7,8,16,16,9,10,13,12,2,6", 1, 3, {}, {}},
    {"Cached", "", "Blocks=1000", true, "7,8,14,15,9,10,13,12,2,6", 1, 3,
     [](TWriterFixture&, TDiscWriterX& w, const String&) { w.CacheDataTrack = true; }, {}},
    {"ClosesTheDisc", "", "Blocks=1000", true, "7,8,16,16,9,10,13,12,2,1,6", 1, 3,
     [](TWriterFixture&, TDiscWriterX& w, const String&) { w.CloseDisc = true; }, {}},
    {"TestWriteWritesNothing", "", "Blocks=1000", true, "7,8,16,16,9,10,13,12,2,6", 0, 0,
     [](TWriterFixture&, TDiscWriterX& w, const String&) { w.TestWrite = true; }, {}},
    {"LargerThanTheDisc", "", "Blocks=10", true, "7,8,11:3/1021", 0, 0, {}, {}},
    {"FailsAfterBlocks", "FailAfterBlocks=5\r\nFailWith=1005\r\n", "Blocks=1000", true, "7,8,16,16,9,11:3/1005", 1,
     1, {}, {}},
    {"SourceGoneBeforeTheStart", "", "Blocks=1000", true, "7,8,23,11:2/0", 0, 0,
     [](TWriterFixture&, TDiscWriterX&, const String& source) { DeleteFile(source); }, {}},
    {"SourceGoneDuringTheWrite", "", "Blocks=1000", true, "7,8,16,16,9,23,11:2/0", 1, 1, {},
     [](TWriterFixture&, TDiscWriterX&, const String& source) { DeleteFile(source); }},
    {"DiscTakenOutDuringTheWrite", "", "Blocks=1000", true, "7,8,16,16,9,11:3/1033", 0, 0, {},
     [](TWriterFixture& f, TDiscWriterX&, const String&) { DeleteFile(f.Drive() + "disc.ini"); }},
    {"Aborted", "", "Blocks=1000", true, "7,8,16,16,9,5", 1, 1, {},
     [](TWriterFixture&, TDiscWriterX& w, const String&) { w.AbortWrite(); }},
    {"RefusesByConfiguration", "RefuseStart=1\r\n", "Blocks=1000", false, "", 0, 0, {}, {}},
    {"RefusesWithoutADisc", "", "", false, "", 0, 0, {}, {}},
    {"RefusesAClosedDisc", "", "Blocks=1000\r\nClosed=1", false, "", 0, 0, {}, {}},
    {"RefusesAnEmptyImage", "", "Blocks=1000", false, "", 0, 0,
     [](TWriterFixture&, TDiscWriterX& w, const String&) { w.ClearImage(); }, {}},
    // A folder named as the finished session: the session stays incomplete.
    {"FinalRenameFails", "", "Blocks=1000", true, "7,8,16,16,9,10,13,12,2,11:3/1051", 1, 1,
     [](TWriterFixture& f, TDiscWriterX&, const String&) { ForceDirectories(f.Drive() + "session1.iso"); }, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DiscWriterXBurn, ::testing::ValuesIn(kBurnCases),
                         [](const auto& info) { return String(info.param.name); });

TEST(DiscWriterX, AnAbortedSessionIsClosedByCloseLastSession) {
  TWriterFixture f;
  TDiscWriterX w(nullptr);
  TEventLog log(w);
  w.AddFile(L"Korvalo\\a.jpg", W(f.Source("a.jpg", 9000)));
  w.OnTrackWriteStart = [&](TObject*, short, int) { w.AbortWrite(); };
  ASSERT_TRUE(w.StartWrite());
  ASSERT_TRUE(PumpUntil([&] { return log.done; }, 20000));
  EXPECT_EQ(w.GetDiscStatus(), TDiscStatus::Incomplete);
  EXPECT_EQ(w.GetLastSessionStatus(), TSessionStatus::Incomplete);
  log.Text.clear();
  EXPECT_TRUE(w.CloseLastSession(false));
  EXPECT_EQ(log.Text, "2") << "closing is synchronous and says so";
  EXPECT_EQ(w.GetLastSessionStatus(), TSessionStatus::Closed);
  EXPECT_FALSE(w.CloseLastSession(false)) << "nothing left open";
}

TEST(DiscWriterX, SecondSessionAppendsAndFreeSpaceShrinks) {
  TWriterFixture f;
  TDiscWriterX w(nullptr);
  TEventLog log(w);
  w.AddFile(L"Korvalo\\a.jpg", W(f.Source("a.jpg", 9000)));
  int before = w.GetFreeBlocks(1), image = w.GetImageBlocks();
  EXPECT_EQ(w.GetDiscStatus(), TDiscStatus::Empty);
  for (int session = 1; session <= 2; ++session) {
    log.done = false;
    ASSERT_TRUE(w.StartWrite());
    ASSERT_TRUE(PumpUntil([&] { return log.done; }, 20000));
  }
  EXPECT_EQ(w.GetSessionCount(), 2);
  EXPECT_EQ(w.GetDiscStatus(), TDiscStatus::Incomplete);
  EXPECT_EQ(w.GetFreeBlocks(1), before - 2 * image);
  EXPECT_TRUE(Exists(f.Drive() + "session2.iso"));
}

TEST(DiscWriterX, EraseTable) {
  struct Row {
    const char* writerKeys;
    const char* discKeys;
    bool starts;
    const char* events;
    int sessionsLeft;
  } rows[] = {
      {"CanErase=1\r\n", "Blocks=1000\r\nErasable=1", true, "3,4", 0},
      {"CanErase=1\r\nFailErase=1\r\n", "Blocks=1000\r\nErasable=1", true, "3,11:3/1036", 1},
      {"CanErase=1\r\n", "Blocks=1000", false, "", 1},  // not a rewritable disc
      {"", "Blocks=1000\r\nErasable=1", false, "", 1},   // a writer that cannot erase
  };
  for (const Row& r : rows) {
    TWriterFixture f(r.writerKeys, r.discKeys);
    TWriterFixture::Write(f.Drive() + "session1.iso", String(4096, 'x'));
    TDiscWriterX w(nullptr);
    TEventLog log(w);
    EXPECT_EQ(w.HasCapability(TWriterCapability::EraseDisc), String(r.writerKeys).find("CanErase") != String::npos);
    ASSERT_EQ(w.EraseDisc(true), r.starts) << r.writerKeys << r.discKeys;
    if (r.starts) {
      ASSERT_TRUE(PumpUntil([&] { return log.done; }, 20000));
    }
    EXPECT_EQ(log.Text, r.events);
    EXPECT_EQ(w.GetSessionCount(), r.sessionsLeft);
  }
}

TEST(DiscWriterX, EjectMovesTheDiscAsideAndCanInsertABlankOne) {
  for (bool blank : {false, true}) {
    TWriterFixture f(blank ? "InsertBlankAfterEject=1\r\n" : "", "Blocks=1234\r\nErasable=1\r\nType=16");
    TWriterFixture::Write(f.Drive() + "session1.iso", String(2048, 'x'));
    TDiscWriterX w(nullptr);
    EXPECT_TRUE(w.EjectDisc());
    EXPECT_TRUE(Exists(f.Drive() + "ejected\\1\\session1.iso"));
    EXPECT_TRUE(Exists(f.Drive() + "ejected\\1\\disc.ini"));
    EXPECT_EQ(w.IsDriveReady(), blank);
    if (blank) {
      EXPECT_EQ(w.GetDiscStatus(), TDiscStatus::Empty);
      EXPECT_EQ(w.GetFreeBlocks(1), 1234);
      EXPECT_EQ(w.GetDiscType(), TDiscType::Cdi);
      EXPECT_TRUE(w.IsDiscErasable());
      EXPECT_TRUE(w.EjectDisc());
      EXPECT_TRUE(Exists(f.Drive() + "ejected\\2\\disc.ini")) << "each disc of a set is kept apart";
    } else {
      EXPECT_FALSE(w.EjectDisc());
    }
  }
}

TEST(DiscWriterX, EventsComeInOrderAndNeverNested) {
  TWriterFixture f;
  TDiscWriterX w(nullptr);
  TEventLog log(w);
  w.AddFile(L"Korvalo\\a.jpg", W(f.Source("a.jpg", 600000)));
  int depth = 0, deepest = 0;
  String order;
  auto enter = [&](const char* id) {
    ++depth;
    deepest = std::max(deepest, depth);
    order += id;
    Pump();  // a handler that repaints its gauges pumps messages
    --depth;
  };
  w.OnPreparingToWrite = [&](TObject*) { enter("7,"); };
  w.OnTrackWriteStart = [&](TObject*, short, int) { enter("9,"); };
  w.OnTrackWriteStatus = [&](TObject*, short, int, short) { enter("10,"); };
  w.OnClosingTrack = [&](TObject*, short) { enter("12,"); };
  w.OnWritingComplete = [&](TObject*) {
    enter("6");
    log.done = true;
  };
  ASSERT_TRUE(w.StartWrite());
  ASSERT_TRUE(PumpUntil([&] { return log.done; }, 20000));
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(order.substr(0, 5), "7,9,1") << order;
  EXPECT_TRUE(order.ends_with(",12,6")) << order;
}

// Posted to no window, the worker's events would never reach the handlers and the
// write would wait for ever: without its event window the writer does not start.
TEST(DiscWriterX, WithoutItsEventWindowTheWriterRefusesToStartAndSaysWhy) {
  TWriterFixture f("CanErase=1\r\n", "Blocks=1000\r\nErasable=1");
  TWriterFixture::Write(f.Drive() + "session1.iso", String(2048, 'x'));
  std::unique_ptr<TDiscWriterX> w;
  {
    TUtilityWindowVeto veto;
    w = std::make_unique<TDiscWriterX>(nullptr);
    ASSERT_TRUE(w->AddFile(L"Korvalo\\a.jpg", W(f.Source("a.jpg", 9000))));
    ASSERT_FALSE(w->StartWrite());
    EXPECT_NE(w->GetExtendedError().find(L"event window could not be made"), std::wstring::npos)
        << WideToAnsi(w->GetExtendedError());
    EXPECT_FALSE(w->EraseDisc(true));
    EXPECT_FALSE(w->Busy());
  }
  EXPECT_EQ(w->GetSessionCount(), 1) << "nothing was written or erased";
  TEventLog log(*w);
  ASSERT_TRUE(w->StartWrite()) << "the window is made when it can be";
  EXPECT_TRUE(w->GetExtendedError().empty());
  ASSERT_TRUE(PumpUntil([&] { return log.done; }, 20000));
  EXPECT_EQ(w->GetSessionCount(), 2);
}

TEST(DiscWriterX, SaysWhyAFileIsRefused) {
  TWriterFixture f;
  TDiscWriterX w(nullptr);
  String a = f.Source("a.jpg", 10);
  EXPECT_TRUE(w.AddFile(L"Korvalo\\a.jpg", W(a)));
  struct Row {
    const wchar_t* discPath;
    String source;
    const wchar_t* why;
  } rows[] = {{L"Korvalo\\A.JPG", a, L"already holds"}, {L"Korvalo\\b.jpg", a + ".missing", L"cannot be found"}};
  for (const Row& r : rows) {
    EXPECT_FALSE(w.AddFile(r.discPath, W(r.source)));
    EXPECT_NE(w.GetExtendedError().find(r.why), std::wstring::npos) << WideToAnsi(w.GetExtendedError());
  }
}
