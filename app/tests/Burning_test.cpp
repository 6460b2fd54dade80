#include "app/Burning.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>

#include "app/MainForm.h"
#include "app/tests/MainForm_fixture.h"
#include "engine/Lang.h"
#include "framework/core/fileutils.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "framework/core/widetext.h"
#include "framework/gui/application.h"
#include "framework/gui/menus.h"
#include "framework/gui/timer.h"
#include "framework/testsupport/testapp.h"
#include "outside/DiscWriterX.h"
#include "outside/tests/WindowVeto.h"
#include "outside/tests/WriterScratch.h"
#include "skin/boxes/ksSkinComboBox.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/tests/ksFakeTimers.h"

namespace {

// The folders of one test: the output folder with its two sub-folders, and a writer
// whose drive is a folder; all removed at the end.
class TBurnScratch : public TWriterScratch {
 public:
  TBurnScratch() : TWriterScratch("kvburn") {
    ForceDirectories(Output() + "DuvidAziz");
    ForceDirectories(Output() + "DezoDozi");
    ForceDirectories(Drive());
  }
  String Output() const { return Root() + "out\\"; }
  String Drive() const { return Root() + "drive\\"; }

  // One writer; `keys` adds to or overrides its settings.
  void Writer(const String& keys = "") const {
    // The first of two equal keys counts: the test's own go first.
    Write(Root() + "DiscWriterX.ini",
          "[Writer0]\r\n" + keys + "Folder=" + Drive() + "\r\nText1=F\r\nText2=1.0\r\nText3=Stand-in Writer\r\n"
          "MaxSpeed=48\r\nBurnProof=1\r\nInsertBlankAfterEject=1\r\n");
    TDiscWriterX::SetConfigurationFile(Root() + "DiscWriterX.ini");
  }
  void NoWriter() const {
    Write(Root() + "DiscWriterX.ini", "");
    TDiscWriterX::SetConfigurationFile(Root() + "DiscWriterX.ini");
  }
  void BlankDisc(int blocks) const { Write(Drive() + "disc.ini", "[Disc]\r\nBlocks=" + IntToStr(blocks) + "\r\n"); }
  // A recovered file of `bytes` bytes in one of the two sub-folders.
  String Recovered(const String& sub, const String& name, size_t bytes, char fill = 'k') const {
    const String path = Output() + sub + "\\" + name;
    Write(path, String(bytes, fill));
    return path;
  }
};

bool Exists(const String& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

String Lang(uint8_t n) { return SupportedLanguages->GetLanguageText(n); }

// The Unix path of a file, for the Unix tools.
String UnixPath(const String& path) {
  using Convert = char*(__cdecl*)(const WCHAR*);
  auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (!convert) return "";
  const std::wstring wide(path.begin(), path.end());
  char* unix = convert(wide.c_str());
  if (!unix) return "";
  String result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  // Wine rewrites arguments that look like drive paths: go round the drive link.
  const String link = "/dosdevices/c:/";
  if (const size_t at = result.find(link); at != String::npos) result.replace(at, link.size(), "/drive_c/");
  return result;
}

// Runs a command line of this machine's shell (Wine starts Unix programs too) and
// gives its output. It comes through a file that appears once complete: Wine hands
// a Unix program neither the pipes of its standard handles nor a handle to wait on.
String RunUnix(const String& commandLine, const String& outputFile) {
  const String part = outputFile + ".part";
  TBurnScratch::Write(part, "");  // Wine names only files that exist
  const String partUnix = UnixPath(part);
  String line = "/bin/sh -c \"" + commandLine + " > " + partUnix + " 2>&1; mv " + partUnix + " " +
                partUnix.substr(0, partUnix.size() - 5) + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return "cannot start: " + IntToStr(static_cast<int>(GetLastError()));
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  if (!PumpUntil([&outputFile] { return GetFileAttributesA(outputFile.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000))
    return "no output";
  TStringList lines;
  lines.LoadFromFile(outputFile);
  String out;
  for (int i = 0; i < lines.Count(); ++i) out += lines.Strings(i) + "\n";
  return out;
}

// The Joliet descriptor's volume id (block 17, UCS-2 big-endian at offset 40).
std::wstring JolietVolumeId(const String& isoFile) {
  TFileStream stream(isoFile, fmOpenRead);
  uint8_t id[32] = {};
  stream.SetPosition(17 * 2048 + 40);
  stream.ReadBuffer(id, sizeof id);
  std::wstring text;
  for (size_t i = 0; i < sizeof id; i += 2) text += static_cast<wchar_t>(id[i] << 8 | id[i + 1]);
  return text.substr(0, text.find_last_not_of(L' ') + 1);
}

const String kIsoInfo = "/usr/bin/isoinfo";

class BurnDialog : public apptest::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    frmMain->Engine->DestinationFolder = scratch.Output();
    scratch.Writer();
    scratch.BlankDisc(1000);
  }
  void TearDown() override {
    dialog.reset();
    MainFormTest::TearDown();
  }

  // The dialog as the main window opens it; every box re-activates it, as a real
  // box does when it closes.
  TfrmBurn& Open() {
    dialog.reset(new TfrmBurn(Application));
    EXPECT_FALSE(dialog->CreateFailed);
    dialog->Show();
    SetActiveWindow(dialog->Handle());
    Application->ProcessMessages();
    return *dialog;
  }
  bool Closed() const { return !dialog->Visible(); }
  // One tick of the disc poll, which only runs while its timer is on.
  void Poll() {
    ASSERT_TRUE(dialog->tmrDiscInfo->Enabled()) << "the disc poll is off";
    dialog->tmrDiscInfo->OnTimer()(dialog->tmrDiscInfo);
  }
  // Lets the writer's events run until the write has ended.
  void FinishWrite() {
    ASSERT_TRUE(PumpUntil([this] { return !dialog->CDWriter->Busy() && dialog->Operation == TBurnOperation::None; }, 20000));
    Application->ProcessMessages();
  }
  std::vector<String> BoxTexts() const {
    std::vector<String> texts;
    for (const auto& b : boxes) texts.push_back(b.Msg);
    return texts;
  }

  TBurnScratch scratch;
  skintest::FakeTimers timers;
  std::vector<TksScriptedMessages::Box> boxes;
  std::vector<int> answers;
  ScopedSeam<TksMessageSeam> boxSeam{TksMessageSeam{
      .Show = [this](const String& msg, TksMessageType type, TksMessageButtons buttons) {
        boxes.push_back({msg, type, buttons});
        const int answer = answers.empty() ? mrOk : answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        // A box that brings its own re-activation back each time would loop: cap it.
        if (dialog && dialog->Visible() && boxes.size() < 20) dialog->OnActivate(dialog.get());
        return answer;
      }}};
  TOwnedPtr<TfrmBurn> dialog;
};

}  // namespace

// A set of two discs: the first holds two of the three files, is ejected, and the
// poll starts the second once a blank disc is in.
// Each disc that more discs follow is numbered; the one that takes the last files clears
// Spanning and gets the label as typed.
TEST_F(BurnDialog, WritesAMultiDiscSetNumberingEveryDiscButTheLast) {
  scratch.BlankDisc(1200);  // two files of 1 MiB fit, three do not
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 1048576, 'a');
  scratch.Recovered("DuvidAziz", "IMG_0002.JPG", 1048576, 'b');
  scratch.Recovered("DezoDozi", "KV1234.JPG", 1048576, 'c');
  TfrmBurn& d = Open();
  EXPECT_EQ(d.lblFiles->Caption(), "3");
  Poll();
  EXPECT_TRUE(d.Spanning);
  EXPECT_EQ(d.pnlStatus->Caption(), Lang(164));
  ASSERT_TRUE(d.btnStart->Visible());

  d.txtVolumeID->SetText("Photos");
  d.btnStartClick(d.btnStart);
  EXPECT_EQ(d.lblCDNumber->Caption(), "1/2");
  EXPECT_EQ(d.FilesOnDisc, 2);
  EXPECT_FALSE(d.Idle);
  FinishWrite();
  EXPECT_TRUE(Exists(scratch.Drive() + "ejected\\1\\session1.iso")) << "disc 1 is ejected";
  EXPECT_EQ(d.pnlStatus->Caption(), Lang(162));
  EXPECT_FALSE(d.Idle);
  EXPECT_TRUE(d.btnStop->Visible()) << "Stop stays the way out while the set waits";
  EXPECT_FALSE(Closed());

  Poll();  // the blank disc that came back starts disc 2
  EXPECT_EQ(d.lblCDNumber->Caption(), "2/2");
  FinishWrite();
  EXPECT_EQ(BoxTexts(), std::vector<String>{Lang(72)});
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(Exists(scratch.Drive() + "ejected\\2\\session1.iso"));

  if (!Exists("Z:" + kIsoInfo)) GTEST_SKIP() << "isoinfo is not installed";
  std::map<String, int> seen;
  const std::pair<int, std::wstring> discs[] = {{1, L"Photos_1"}, {2, L"Photos"}};
  for (const auto& [n, label] : discs) {
    const String disc = IntToStr(n);
    const String file = scratch.Drive() + "ejected\\" + disc + "\\session1.iso";
    const String iso = UnixPath(file);
    const String info = RunUnix(kIsoInfo + " -d -i " + iso, scratch.Output() + "info" + disc + ".txt");
    EXPECT_NE(info.find("Volume id: " + UpperCase(WideToAnsi(label)) + "\n"), String::npos) << info;
    EXPECT_NE(info.find("Joliet with UCS level 3 found"), String::npos) << info;
    EXPECT_EQ(JolietVolumeId(file), label);
    const String files = RunUnix(kIsoInfo + " -J -f -i " + iso, scratch.Output() + "files" + disc + ".txt");
    size_t start = 0;
    for (size_t end; (end = files.find('\n', start)) != String::npos; start = end + 1) {
      const String path = files.substr(start, end - start);
      if (path.rfind("/Korvalo/", 0) == 0) ++seen[path];
    }
  }
  EXPECT_EQ(seen, (std::map<String, int>{{"/Korvalo/IMG_0001.JPG", 1}, {"/Korvalo/IMG_0002.JPG", 1},
                                         {"/Korvalo/KV1234.JPG", 1}}));
}

TEST_F(BurnDialog, WithoutFilesTellsOnceAndCloses) {
  scratch.Recovered("DuvidAziz", "Thumbs.db", 100);
  scratch.Recovered("DezoDozi", "THUMBS.DB", 100);
  ForceDirectories(scratch.Output() + "DezoDozi\\folder");
  Open();
  EXPECT_EQ(BoxTexts(), std::vector<String>{Lang(98)});
  EXPECT_TRUE(Closed());
}

TEST_F(BurnDialog, PollShowsTheDiscInTheTray) {
  struct Row {
    int blocks;
    const char* free;
  } rows[] = {{1000, "1.95 MB"}, {0, "0.00 KB"}};
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 1000);
  for (const Row& r : rows) {
    scratch.BlankDisc(r.blocks);
    TfrmBurn& d = Open();
    Poll();
    EXPECT_EQ(d.lblFreeBlocks->Caption(), r.free);
    EXPECT_EQ(d.lblDiscStatus->Caption(), Lang(166));
    EXPECT_EQ(d.lblDiscType->Caption(), "CD-DA / CD-ROM");
    EXPECT_EQ(d.lblSessionStatus->Caption(), "Empty Session");
    EXPECT_EQ(d.lblSessions->Caption(), "0");
    EXPECT_TRUE(d.btnStart->Visible());
    EXPECT_FALSE(d.btnCompleteSession->Visible());
  }
  DeleteFile(scratch.Drive() + "disc.ini");
  TfrmBurn& d = Open();
  Poll();
  EXPECT_EQ(d.pnlStatus->Caption(), Lang(99) + "...");
  EXPECT_FALSE(d.btnStart->Visible());
}

TEST_F(BurnDialog, ListsTheWritersAndTheirSpeeds) {
  TfrmBurn& d = Open();
  EXPECT_FALSE(d.NoWriter);
  EXPECT_EQ(d.cboDrives->Items()->Strings(0), "F: Stand-in Writer(1.0)");
  EXPECT_EQ(d.cboSpeeds->Items()->Count(), 12);  // 48x down to 4x
  EXPECT_EQ(d.cboSpeeds->Items()->Strings(11), "4x");
  EXPECT_TRUE(d.chkBurnProof->Checked());

  scratch.Writer("MaxSpeed=0\r\nBurnProof=0\r\n");
  TfrmBurn& slow = Open();
  EXPECT_EQ(slow.cboSpeeds->Items()->Count(), 1);
  EXPECT_EQ(slow.cboSpeeds->Items()->Strings(0), Lang(101));
  EXPECT_FALSE(slow.CreateFailed) << "the default entry is no number";
  EXPECT_FALSE(slow.chkBurnProof->Checked());

  scratch.NoWriter();
  dialog.reset(new TfrmBurn(Application));
  EXPECT_TRUE(dialog->NoWriter);
  EXPECT_EQ(dialog->cboSpeeds->Items()->Count(), 0);
}

TEST_F(BurnDialog, ClosingDuringABurnIsRefused) {
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 100000);
  TfrmBurn& d = Open();
  Poll();
  d.btnStartClick(d.btnStart);
  ASSERT_TRUE(d.CDWriter->Busy());
  d.Close();
  EXPECT_FALSE(Closed());
  EXPECT_TRUE(d.tmrDiscInfo->Enabled());
  FinishWrite();
  EXPECT_TRUE(Closed()) << "a finished burn closes the dialog";
}

TEST_F(BurnDialog, AfterAWriteErrorTheDialogClosesAgain) {
  scratch.Writer("FailAfterBlocks=10\r\nFailWith=1005\r\n");
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 100000);
  TfrmBurn& d = Open();
  Poll();
  d.btnStartClick(d.btnStart);
  FinishWrite();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Msg, Lang(23) + "\r\nWriting error of unknown origin(1005)");
  EXPECT_EQ(boxes[0].DlgType, ksmtError);
  EXPECT_TRUE(d.Idle);
  d.Close();
  EXPECT_TRUE(Closed());
}

TEST_F(BurnDialog, ClosingASessionLeavesTheDialogClosable) {
  scratch.Writer("FailAfterBlocks=10\r\n");
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 100000);
  TfrmBurn& d = Open();
  Poll();
  d.btnStartClick(d.btnStart);
  FinishWrite();
  Poll();
  ASSERT_EQ(d.lblSessionStatus->Caption(), "Incomplete Session");
  ASSERT_TRUE(d.btnCompleteSession->Visible());
  answers = {mrYes};
  d.btnCompleteSessionClick(d.btnCompleteSession);
  EXPECT_EQ(d.CDWriter->GetLastSessionStatus(), TSessionStatus::Closed);
  EXPECT_TRUE(d.Idle);
  EXPECT_EQ(d.Operation, TBurnOperation::None);
  d.Close();
  EXPECT_TRUE(Closed());
}

TEST_F(BurnDialog, StopEndsASetThatWaitsForItsNextDisc) {
  scratch.BlankDisc(1200);
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 1048576);
  scratch.Recovered("DuvidAziz", "IMG_0002.JPG", 1048576);
  scratch.Recovered("DezoDozi", "KV1234.JPG", 1048576);
  scratch.Writer("InsertBlankAfterEject=0\r\n");
  TfrmBurn& d = Open();
  Poll();
  d.btnStartClick(d.btnStart);
  FinishWrite();
  ASSERT_TRUE(d.btnStop->Visible());
  d.btnStopClick(d.btnStop);
  EXPECT_TRUE(d.Idle);

  scratch.BlankDisc(1200);  // a blank disc after Stop starts nothing
  Poll();
  EXPECT_FALSE(d.CDWriter->Busy());
  EXPECT_EQ(d.DiscNumber, 0);
  EXPECT_FALSE(Exists(scratch.Drive() + "session1.iso"));
  d.Close();
  EXPECT_TRUE(Closed());
}

TEST_F(BurnDialog, AFileLargerThanTheDiscIsNotWrittenAsAnEmptyDisc) {
  scratch.BlankDisc(100);
  scratch.Recovered("DuvidAziz", "MOVIE.AVI", 400000);
  TfrmBurn& d = Open();
  Poll();
  d.btnStartClick(d.btnStart);
  EXPECT_FALSE(d.CDWriter->Busy());
  EXPECT_EQ(BoxTexts(),
            std::vector<String>{Lang(100) + "\r\n" + Lang(159) + "\r\nMOVIE.AVI"});
  EXPECT_FALSE(Exists(scratch.Drive() + "session1.iso"));
  EXPECT_FALSE(Exists(scratch.Drive() + "session1.iso.part"));
  EXPECT_TRUE(d.Idle);
  EXPECT_FALSE(d.Spanning);
  d.Close();
  EXPECT_TRUE(Closed());
}

TEST_F(BurnDialog, SameNamedFilesOfBothFoldersBothReachTheDisc) {
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 3000, 'a');
  scratch.Recovered("DezoDozi", "img_0001.jpg", 3000, 'b');
  TfrmBurn& d = Open();
  EXPECT_EQ(d.lblFiles->Caption(), "2");
  ASSERT_EQ(d.PendingFiles.size(), 2u);
  EXPECT_EQ(d.PendingFiles[0].DiscPath, L"Korvalo\\IMG_0001.JPG");
  EXPECT_EQ(d.PendingFiles[1].DiscPath, L"Korvalo\\img_0001_2.jpg");
}

TEST_F(BurnDialog, ErasesOnlyARewritableDiscInAWriterThatCan) {
  struct Row {
    const char* writer;
    bool erasable;
    std::vector<int> answers;
    std::vector<uint8_t> texts;
    bool erased;
  } rows[] = {
      {"CanErase=0\r\n", true, {}, {66}, false},
      {"CanErase=1\r\n", false, {}, {67}, false},
      {"CanErase=1\r\n", true, {mrNo}, {74}, false},
      {"CanErase=1\r\n", true, {mrYes}, {74, 69}, true},
      {"CanErase=1\r\nFailErase=1\r\n", true, {mrYes}, {74, 23}, false},
  };
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 1000);
  for (const Row& r : rows) {
    scratch.Writer(r.writer);
    TBurnScratch::Write(scratch.Drive() + "disc.ini",
                        String("[Disc]\r\nBlocks=1000\r\nErasable=") + (r.erasable ? "1" : "0") + "\r\n");
    TBurnScratch::Write(scratch.Drive() + "session1.iso", String(20 * 2048, 'k'));
    boxes.clear();
    answers = r.answers;
    TfrmBurn& d = Open();
    d.btnEraseCDClick(d.btnEraseCD);
    // The writer is free before its last event reaches the dialog: wait for the dialog's end.
    ASSERT_TRUE(PumpUntil([&d] { return !d.CDWriter->Busy() && d.Operation == TBurnOperation::None; }, 20000));
    Application->ProcessMessages();
    std::vector<String> texts;
    for (uint8_t n : r.texts) texts.push_back(Lang(n));
    ASSERT_EQ(BoxTexts().size(), texts.size()) << r.writer << r.erasable;
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(BoxTexts()[i].rfind(texts[i], 0), 0u) << BoxTexts()[i];
    EXPECT_EQ(!Exists(scratch.Drive() + "session1.iso"), r.erased);
    EXPECT_TRUE(d.Idle);
    d.Close();
    EXPECT_TRUE(Closed());
  }
}

TEST_F(BurnDialog, ProgressEventsShowPercentagesWithoutDividingByZero) {
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 1000);
  TfrmBurn& d = Open();
  d.pnlStatus->SetCaption("before");
  d.CDWriterCachingTrackStatus(nullptr, 50);  // no track to cache announced
  EXPECT_EQ(d.pnlStatus->Caption(), "before");
  d.CDWriterCachingTrack(nullptr, 1, 200);
  d.CDWriterCachingTrackStatus(nullptr, 50);
  EXPECT_EQ(d.pbDeviceBuffer->Value(), 25);
  EXPECT_EQ(d.pnlStatus->Caption(), Lang(149) + "25 %");

  d.ImageBlocks = 0;
  d.CDWriterTrackWriteStart(nullptr, 1, 0);
  d.CDWriterTrackWriteStatus(nullptr, 1, 10, 50);
  EXPECT_EQ(d.pbTrack->Value(), 0);
  EXPECT_EQ(d.pbTotal->Value(), 0);
  EXPECT_EQ(d.pbDeviceBuffer->Value(), 50);

  d.ImageBlocks = 800;
  d.TotalBlocksWritten = 0;
  d.CDWriterTrackWriteStart(nullptr, 1, 400);
  d.CDWriterTrackWriteStatus(nullptr, 1, 100, 60);
  EXPECT_EQ(d.pbTrack->Value(), 25);
  EXPECT_EQ(d.pbTotal->Value(), 12) << "12.5 rounds to even";
  d.CDWriterTrackWriteStatus(nullptr, 1, 300, 60);
  EXPECT_EQ(d.pbTotal->Value(), 38) << "blocks counted once: 300 of 800";
  EXPECT_EQ(d.pnlStatus->Caption(), Lang(155) + " 300");
}

// A disc file's size is 32 bits: a larger file is left out and the dialog says so,
// once while it is open, however often it collects the files again.
TEST_F(BurnDialog, AFileOfFourGiBOrMoreIsLeftOutAndTold) {
  const String huge = scratch.Output() + "DezoDozi\\HUGE.AVI";
  HANDLE h = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  LARGE_INTEGER size;
  size.QuadPart = 4294967296 + 2049;
  SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
  SetEndOfFile(h);  // sparse: nothing is written
  CloseHandle(h);
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 3000);
  const String told = Lang(158) + "\r\nHUGE.AVI: a file of 4 GB or more cannot be written to a disc";

  TfrmBurn& d = Open();
  ASSERT_EQ(BoxTexts(), std::vector<String>{told});
  EXPECT_EQ(boxes[0].DlgType, ksmtError);
  EXPECT_EQ(d.lblFiles->Caption(), "1");
  ASSERT_EQ(d.PendingFiles.size(), 1u);
  d.OnActivate(&d);
  EXPECT_EQ(boxes.size(), 1u) << "told once";
  Poll();
  d.btnStartClick(d.btnStart);
  FinishWrite();
  EXPECT_EQ(BoxTexts().back(), Lang(72));
  ASSERT_TRUE(Exists(scratch.Drive() + "ejected\\1\\session1.iso"));
  TSearchRec r;
  ASSERT_EQ(FindFirst(scratch.Drive() + "ejected\\1\\session1.iso", faAnyFile, r), 0);
  FindClose(r);
  EXPECT_LT(r.Size, 100000) << "the disc holds the small file alone";

  // Alone it leaves nothing to write: told, and the dialog closes.
  DeleteFile(scratch.Output() + "DuvidAziz\\IMG_0001.JPG");
  boxes.clear();
  Open();
  EXPECT_EQ(BoxTexts(), std::vector<String>{told});
  EXPECT_TRUE(Closed());
}

// Without its event window the writer cannot start; the dialog gives its reason.
TEST_F(BurnDialog, AWriterWithoutItsEventWindowDoesNotStartAndSaysWhy) {
  scratch.Recovered("DuvidAziz", "IMG_0001.JPG", 3000);
  // The program's own utility windows are made long before a burn.
  TTimer::TimerWindow();
  TPopupMenu::PopupWindow();
  TUtilityWindowVeto veto;
  TfrmBurn& d = Open();
  Poll();
  d.btnStartClick(d.btnStart);
  EXPECT_FALSE(d.CDWriter->Busy());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Msg.rfind(Lang(100) + "\r\nThe writer's event window could not be made", 0), 0u) << boxes[0].Msg;
  EXPECT_EQ(d.Operation, TBurnOperation::None);
  EXPECT_FALSE(Exists(scratch.Drive() + "session1.iso.part"));
}

// Sizes past what 32 bits hold: three sparse files of 1.5 GiB.
TEST_F(BurnDialog, ImageSizesPastFourGiBAreShownAndSpanned) {
  for (const char* name : {"A.AVI", "B.AVI", "C.AVI"}) {
    const String path = scratch.Output() + "DezoDozi\\" + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 1610612736;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
  }
  scratch.BlankDisc(333000);
  TfrmBurn& d = Open();
  EXPECT_TRUE(boxes.empty()) << "not taken for an empty image";
  EXPECT_GT(d.ImageBytes, int64_t{4831838208});
  EXPECT_EQ(d.lblSize->Caption(), "4.50 GB");
  Poll();
  EXPECT_TRUE(d.Spanning);
  EXPECT_EQ(d.pnlStatus->Caption(), Lang(164));
}
