#include "app/Recovery.h"

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/FilmStrip.h"
#include "app/FormShot.h"
#include "app/Texts.h"
#include "app/tests/MainForm_fixture.h"
#include "app/tests/TextNumbers.h"
#include "engine/FileTypes.h"
#include "framework/core/bitmap.h"
#include "framework/core/seams.h"
#include "framework/core/thread.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinLinkLabel.h"

namespace apptest {
namespace {

constexpr int kYes = 6, kNo = 7;

// The questions and notices of a run, answered by a function of the text that may look
// at the dialog while the run waits for the answer.
struct TQuestions {
  std::vector<String> asked;
  std::function<int(const String&)> answer = [](const String&) { return kYes; };
  ScopedSeam<TksMessageSeam> seam{{.Show = [this](const String& text, TksMessageType, TksMessageButtons) {
    asked.push_back(text);
    return answer(text);
  }}};
};

class RecoveryTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    engine = frmMain->Engine;
    frmRecovery = Construct<TfrmRecovery>(Application);
  }
  void TearDown() override {
    FreeAndNil(frmRecovery);
    MainFormTest::TearDown();
  }
  void SelectOnly(std::initializer_list<int> kinds) {
    for (int i = 0; i < engine->SupportedFileTypes.Count(); ++i) {
      auto* type = static_cast<TSESupportedFileType*>(engine->SupportedFileTypes.Objects(i));
      type->Selected = std::find(kinds.begin(), kinds.end(), type->Type) != kinds.end();
    }
  }

  TScanEngine* engine = nullptr;
  TQuestions questions;
};

using Recovery = RecoveryTest;

TEST_F(Recovery, CategoryLineListsImagesDataSoundVideoWithoutATrailingComma) {
  const String image = LangText(52), video = LangText(53), sound = LangText(54), data = LangText(55);
  struct Row {
    std::initializer_list<int> kinds;
    String line;
  } rows[] = {
      {{1, 2, 3, 4}, image + "," + data + "," + sound + "," + video},
      {{2, 1}, image + "," + video},
      {{3, 4}, data + "," + sound},
      {{4}, data},
      {{}, ""},
  };
  for (const Row& row : rows) {
    SelectOnly(row.kinds);
    EXPECT_EQ(CategoryLine(*engine), row.line);
  }
}

TEST_F(Recovery, TheContinueQuestionMovesOffThePreviewOnlyWhenItCoversIt) {
  const TRect preview{200, 300, 391, 466};
  struct Row {
    TRect window;
    TPoint place;
  } rows[] = {
      {{150, 350, 450, 470}, {150, 300 - 120 + 50}},  // over the preview: bottom 50 below its top
      {{150, 20, 450, 140}, {150, 20}},               // above it, beside nothing it spans
      {{500, 20, 800, 140}, {500, 20}},               // clear of it both ways
      {{100, 100, 400, 600}, {100, 100}},             // a window enclosing it stays
      {{250, 60, 550, 460}, {250, 466 + 400 - 50}},   // too tall to go above: below instead
  };
  for (const Row& row : rows) {
    const TPoint place = QuestionPlace(row.window, preview);
    EXPECT_EQ(place.X, row.place.X);
    EXPECT_EQ(place.Y, row.place.Y) << "window at " << row.window.Left << "," << row.window.Top;
  }
}

TEST_F(Recovery, TheDialogTimerMovesTheActiveQuestionOffThePreviewOnce) {
  frmRecovery->SetBounds(100, 400, frmRecovery->Width(), frmRecovery->Height());
  frmRecovery->Show();
  const int previewTop = frmRecovery->Top() + frmRecovery->bvlPreview->Top();
  TOwnedPtr<TForm> question(new TForm(Application));
  question->SetBounds(150, previewTop + 20, 300, 120);
  question->Show();
  SetActiveWindow(question->Handle());
  ASSERT_EQ(GetActiveWindow(), question->Handle());
  frmRecovery->tmrDialog->SetEnabled(true);
  frmRecovery->tmrDialogTimer(frmRecovery->tmrDialog);
  RECT moved{};
  GetWindowRect(question->Handle(), &moved);
  EXPECT_EQ(moved.left, 150);
  EXPECT_EQ(moved.top, previewTop - 120 + 50) << "its bottom 50 pixels below the preview's top";
  EXPECT_EQ(moved.bottom - moved.top, 120);
  EXPECT_FALSE(frmRecovery->tmrDialog->Enabled());
}

TEST_F(Recovery, SavedFilesFeedTheFilmStripWhilePreviewIsOn) {
  engine->PreviewEnabled = true;
  frmRecovery->PreviewOn = true;
  frmRecovery->EngineFATFileSaved("IMG_0001.JPG");
  frmRecovery->EngineRAWFileSaved("C:\\out\\DezoDozi\\f0001.avi");
  EXPECT_EQ(frmRecovery->FilmStrip->Count(), 2);
  EXPECT_EQ(frmRecovery->FilesFound, 1);
  EXPECT_EQ(frmRecovery->lblFileRecoveredText->Caption(), "f0001.avi");
  EXPECT_EQ(frmRecovery->lblFilesFoundText->Caption(), "1");
  frmRecovery->PreviewOn = false;
  frmRecovery->EngineFATFileSaved("IMG_0002.JPG");
  EXPECT_EQ(frmRecovery->FilmStrip->Count(), 2) << "nothing queued with the preview off";
}

// The engine's events repaint and pump posted messages only every tenth of a second, on the
// injected clock, but serve another thread's calls at every look at the queue.
TEST_F(Recovery, EventsPaintAndPumpAtTheIntervalAndServeThreadCallsAtOnce) {
  DWORD now = 1000;
  ScopedSeam<TClockSeam> clock{{.TickCount = [&] { return now; }}};
  frmRecovery->Show();
  Application->ProcessMessages();
  TScanEngine::RestartMessagePacing();
  const HWND form = frmRecovery->Handle();
  auto posted = [] { return (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) != 0; };
  auto changeName = [&](const char* name) {
    frmRecovery->lblFileRecoveredText->SetCaption(name);
    ASSERT_TRUE(GetUpdateRect(form, nullptr, FALSE));
  };
  frmRecovery->EngineProgress(nullptr, 1);
  changeName("KV1.JPG");
  now += 20;
  TScanEngine::ProcessMessages();
  EXPECT_TRUE(GetUpdateRect(form, nullptr, FALSE)) << "the engine's own looks wait for the interval too";
  now += 30;
  frmRecovery->EngineProgress(nullptr, 2);
  EXPECT_TRUE(GetUpdateRect(form, nullptr, FALSE)) << "painted within the interval";
  now += 50;
  frmRecovery->EngineProgress(nullptr, 3);
  EXPECT_FALSE(GetUpdateRect(form, nullptr, FALSE)) << "not painted after the interval";

  now += 20;
  PostMessageA(form, WM_NULL, 0, 0);
  frmRecovery->EngineProgress(nullptr, 4);
  EXPECT_TRUE(posted()) << "a posted message waits for the interval";
  // A thread's call, such as the film strip's picture, waits for no paint.
  HANDLE asked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const auto appWake = SetWakeMainThread([asked] { SetEvent(asked); });
  bool served = false;
  std::thread caller([&] { TThread::Synchronize([&] { served = true; }); });
  ASSERT_EQ(WaitForSingleObject(asked, 10000), WAIT_OBJECT_0);
  now += 5;
  frmRecovery->EngineProgress(nullptr, 5);
  EXPECT_FALSE(served) << "the queue is looked at a few times a tick only";
  now += 5;
  frmRecovery->EngineProgress(nullptr, 6);
  caller.join();
  SetWakeMainThread(appWake);
  CloseHandle(asked);
  EXPECT_TRUE(served);
  EXPECT_TRUE(posted()) << "served without pumping the posted message";
  now += 100;
  frmRecovery->EngineFATFileSaved("KV2.JPG");
  EXPECT_FALSE(posted());
  EXPECT_EQ(frmRecovery->lblFileRecoveredText->Caption(), "KV2.JPG");
}

TEST_F(Recovery, CancelResumesAPausedEngineAndAllowsClosing) {
  frmRecovery->Show();
  frmRecovery->CanClose = false;
  frmRecovery->Close();
  EXPECT_TRUE(frmRecovery->Visible()) << "no closing while a run goes on";
  frmRecovery->btnPauseResumeClick(nullptr);
  EXPECT_TRUE(engine->Paused);
  EXPECT_EQ(frmRecovery->btnPauseResume->Caption(), LangText(28));
  frmRecovery->btnCancelClick(nullptr);
  EXPECT_TRUE(engine->StopRequested);
  EXPECT_FALSE(engine->Paused);
  EXPECT_EQ(frmRecovery->btnPauseResume->Caption(), LangText(27));
  EXPECT_TRUE(frmRecovery->Cancelled);
  frmRecovery->Close();
  EXPECT_FALSE(frmRecovery->Visible());
}

TEST_F(Recovery, RemovingTheRecoveredDriveCancelsTheEngine) {
  frmRecovery->DriveLetter = 'M';
  struct Row {
    const char* drives;
    bool cancels;
  } rows[] = {{"N", false}, {" m ", true}, {"M", true}};
  for (const Row& row : rows) {
    engine->StopRequested = false;
    frmRecovery->EngineDiscRemoval(nullptr, row.drives);
    EXPECT_EQ(engine->StopRequested, row.cancels) << row.drives;
  }
}

TEST_F(Recovery, TheFolderLinkOpensTheQuickScanFolderMaximised) {
  std::vector<std::string> opened;
  ScopedSeam<TSystemSeam> shell{{.RunShellVerb = [&](HWND owner, const std::string& verb, const std::string& file,
                                                     int show) {
    EXPECT_EQ(owner, frmRecovery->Handle());
    EXPECT_EQ(show, SW_SHOWMAXIMIZED);
    opened.push_back(verb + " " + file);
  }}};
  frmRecovery->hlDirectory->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  frmRecovery->hlDirectory->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(opened, std::vector<std::string>{"open " + engine->GetDestinationFolder() + "DuvidAziz\\"});
}

// The deep scan's gauge counts the drive's sectors, which the engine's progress event
// carries as a signed number: every size the engine reads fills the gauge from 0 to 100.
TEST_F(Recovery, TheSectorGaugeSpansEveryDriveSize) {
  const uint32_t counts[] = {32768, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};
  for (uint32_t count : counts) {
    SCOPED_TRACE(count);
    frmRecovery->SetSectorGauge(count);
    EXPECT_GT(frmRecovery->pbProgress->MaxValue(), 0);
    frmRecovery->EngineProgress(nullptr, 0);
    EXPECT_EQ(frmRecovery->pbProgress->Percent(), 0);
    frmRecovery->EngineProgress(nullptr, static_cast<int32_t>(count / 2));
    EXPECT_EQ(frmRecovery->pbProgress->Percent(), 50);
    frmRecovery->EngineProgress(nullptr, static_cast<int32_t>(count));
    EXPECT_EQ(frmRecovery->pbProgress->Percent(), 100);
  }
}

// Runs over the demo card mapped as M: (five photos in DCIM\100DEMO, one deleted).
class RecoveryRun : public RecoveryTest {
 protected:
  // The dialog shown for drive M as the recover command shows it. A test asserts it: a
  // run without its drive would write through no drive and end every later test.
  ::testing::AssertionResult Open(bool preview = true) {
    TSEDriveInformation* info = nullptr;
    if (!engine->GetDriveSelectedInformation("M", info))
      return ::testing::AssertionFailure() << "M: cannot be read; the test runner maps it";
    engine->PreviewEnabled = preview;
    frmRecovery->Show();
    frmRecovery->FormActivate(frmRecovery);
    return ::testing::AssertionSuccess();
  }
  // Calls `hook` from the first engine event of the given slot, after the dialog's handler.
  void OnFirstProgress(std::function<void(int32_t)> hook) {
    engine->OnProgress = TSEProgressEvent([this, hook, done = false](TObject* sender, int32_t position) mutable {
      frmRecovery->EngineProgress(sender, position);
      if (!done) {
        done = true;
        hook(position);
      }
    });
  }
  std::vector<String> Asked(std::initializer_list<uint8_t> numbers) {
    std::vector<String> texts;
    for (uint8_t n : numbers) texts.push_back(LangText(n));
    return texts;
  }
  size_t SavedFiles(const char* pass) {
    WaitForCorrections();
    size_t n = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((engine->GetDestinationFolder() + pass + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
      if (found.cFileName[0] != '.' && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return n;
  }
};

// A recovered file that could not be saved is lost like an unreadable sector: both count
// as the run's errors.
TEST_F(RecoveryRun, UnreadableSectorsAndUnsavedFilesCountAsTheRunsErrors) {
  ASSERT_TRUE(Open());
  engine->OnReadError(10, 1);
  engine->OnWriteError(20, 2);
  engine->OnWriteError(30, 2);
  engine->OnReadError(40, 2);  // no kind the passes report
  EXPECT_EQ(frmRecovery->ReadErrors, 3);
  EXPECT_EQ(frmRecovery->lblReadErrorsText->Caption(), "3");
}

TEST_F(RecoveryRun, YesToBothRunsBothPassesAndAsksToView) {
  ASSERT_TRUE(Open());
  bool closedMidRun = true;
  questions.answer = [&](const String& text) {
    if (text == LangText(37)) {
      EXPECT_EQ(frmRecovery->DuvidAzizFiles, 5);
      EXPECT_EQ(frmRecovery->lblFilesFoundText->Caption(), "5");
      EXPECT_EQ(frmRecovery->pbProgress->MaxValue(), 5);
      EXPECT_TRUE(frmRecovery->tmrDialog->Enabled()) << "the question is moved off the preview";
      frmRecovery->Close();
      closedMidRun = !frmRecovery->Visible();
    }
    return kYes;
  };
  frmRecovery->RunRecovery();
  EXPECT_FALSE(closedMidRun) << "the frame cannot close the dialog during a run";
  EXPECT_EQ(questions.asked, Asked({37, 107}));
  EXPECT_EQ(SavedFiles("DuvidAziz"), 5u) << "the deleted photo comes back too";
  EXPECT_GT(frmRecovery->DezoDoziFiles, 0);
  EXPECT_EQ(SavedFiles("DezoDozi"), static_cast<size_t>(frmRecovery->DezoDoziFiles));
  EXPECT_TRUE(frmRecovery->ViewNow);
  EXPECT_TRUE(frmRecovery->CanClose);
  EXPECT_EQ(frmRecovery->FilmStrip->Count(), 0) << "the strip is cleared when the deep scan ends";
  frmRecovery->Close();
  EXPECT_FALSE(frmRecovery->Visible());
}

TEST_F(RecoveryRun, NoToTheDeepScanStillAsksToViewTheQuickScansFiles) {
  ASSERT_TRUE(Open(false));
  questions.answer = [](const String& text) { return text == LangText(37) ? kNo : kYes; };
  frmRecovery->RunRecovery();
  EXPECT_EQ(questions.asked, Asked({37, 107}));
  EXPECT_EQ(frmRecovery->DezoDoziFiles, 0);
  EXPECT_EQ(SavedFiles("DezoDozi"), 0u);
  EXPECT_TRUE(frmRecovery->ViewNow);
}

TEST_F(RecoveryRun, ADeepScanThatFindsNothingSaysSoThoughTheQuickScanFoundFiles) {
  ASSERT_TRUE(Open(false));
  // Nothing left for the carver to look for.
  questions.answer = [&](const String& text) {
    if (text == LangText(37)) SelectOnly({});
    return kYes;
  };
  frmRecovery->RunRecovery();
  EXPECT_EQ(questions.asked, Asked({37, 18, 107}));
  EXPECT_EQ(frmRecovery->DuvidAzizFiles, 5);
  EXPECT_EQ(frmRecovery->DezoDoziFiles, 0);
}

TEST_F(RecoveryRun, AFailingDeepScanIsReportedAndTheRunEndsClosable) {
  ASSERT_TRUE(Open(false));
  questions.answer = [&](const String& text) {
    if (text == LangText(37))
      engine->OnRAWFileSaved = TSEFileSavedEvent([](const String&) { throw Exception("disk full"); });
    return kYes;
  };
  frmRecovery->RunRecovery();
  EXPECT_EQ(questions.asked, Asked({37, 23, 107})) << "the quick scan's files are still offered";
  EXPECT_TRUE(frmRecovery->CanClose);
  EXPECT_FALSE(frmRecovery->Running());
}

TEST_F(RecoveryRun, ACDGoesOnToTheDeepScanWithoutAsking) {
  ASSERT_TRUE(Open(false));
  engine->CurrentDrive->DriveType = 5;
  frmRecovery->RunRecovery();
  EXPECT_EQ(questions.asked, Asked({107}));
  EXPECT_GT(frmRecovery->DezoDoziFiles, 0);
}

TEST_F(RecoveryRun, CancelInTheDeepScanSkipsTheViewQuestion) {
  ASSERT_TRUE(Open(false));
  questions.answer = [&](const String& text) {
    if (text == LangText(37)) OnFirstProgress([&](int32_t) { frmRecovery->btnCancelClick(nullptr); });
    return kYes;
  };
  frmRecovery->RunRecovery();
  EXPECT_EQ(std::count(questions.asked.begin(), questions.asked.end(), LangText(107)), 0);
  EXPECT_FALSE(frmRecovery->ViewNow);
  EXPECT_TRUE(frmRecovery->Cancelled);
  EXPECT_LT(engine->CurrentSector, engine->CurrentDrive->SectorCount()) << "the deep scan stopped early";
}

// A session end closes the program while the quick scan runs: the close waits for the
// run, which asks nothing more and starts no deep scan.
TEST_F(RecoveryRun, AProgramCloseDuringTheQuickScanEndsTheRunWithoutAQuestion) {
  ASSERT_TRUE(Open(false));
  {
    TfrmMain::TCommandScope running(*frmMain);
    OnFirstProgress([&](int32_t) {
      TCloseAction action = caHide;
      frmMain->FormClose(frmMain, action);
      EXPECT_EQ(action, caNone);
    });
    frmRecovery->RunRecovery();
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_LT(SavedFiles("DuvidAziz"), 5u) << "the quick scan stopped early";
    EXPECT_EQ(SavedFiles("DezoDozi"), 0u);
    EXPECT_FALSE(frmRecovery->ViewNow);
    EXPECT_TRUE(frmRecovery->CanClose);
    EXPECT_NE(frmMain->Engine, nullptr);
  }
  EXPECT_EQ(frmMain->Engine, nullptr) << "the program closed once the run was over";
}

// Without a file type the passes have nothing to look for: the dialog says so and ends
// the run, instead of going on as if the card held nothing.
TEST_F(RecoveryRun, WithoutFileTypesTheRunSaysSoAndEnds) {
  ASSERT_TRUE(Open(false));
  engine->SupportedFileTypes.ClearAndFree();
  frmRecovery->RunRecovery();
  EXPECT_EQ(questions.asked, Asked({22}));
  EXPECT_EQ(SavedFiles("DuvidAziz"), 0u);
  EXPECT_EQ(SavedFiles("DezoDozi"), 0u);
  EXPECT_FALSE(frmRecovery->ViewNow);
  EXPECT_TRUE(frmRecovery->CanClose);
}

TEST_F(RecoveryRun, GoingOnAfterACancelledQuickScanRunsTheDeepScanAsANewRun) {
  ASSERT_TRUE(Open(false));
  OnFirstProgress([&](int32_t) { frmRecovery->btnCancelClick(nullptr); });
  bool closableInDeepScan = true;
  questions.answer = [&](const String& text) {
    if (text == LangText(37))
      OnFirstProgress([&](int32_t) {
        frmRecovery->Close();
        closableInDeepScan = !frmRecovery->Visible();
      });
    return kYes;
  };
  frmRecovery->RunRecovery();
  EXPECT_FALSE(closableInDeepScan);
  EXPECT_FALSE(frmRecovery->Cancelled);
  EXPECT_GT(frmRecovery->DezoDoziFiles, 0);
  EXPECT_EQ(questions.asked, Asked({37, 107})) << "the deep scan's files are offered";
}

TEST_F(RecoveryRun, ARunStartsUnpausedAndCancelLeavesNoPauseBehind) {
  ASSERT_TRUE(Open(false));
  // A wait on the pause would never end in a test: count it and stop the engine instead.
  int pausedWaits = 0;
  ScopedSeam<TClockSeam> sleeper{{.Sleep = [&](DWORD) {
    if (engine->Paused) {
      ++pausedWaits;
      engine->Cancel();
    }
  }}};
  engine->Pause();
  OnFirstProgress([&](int32_t) {
    frmRecovery->btnPauseResumeClick(nullptr);
    frmRecovery->btnCancelClick(nullptr);
  });
  frmRecovery->RunRecovery();
  EXPECT_EQ(pausedWaits, 0);
  EXPECT_GT(frmRecovery->DezoDoziFiles, 0) << "the deep scan ran to its end";
}

TEST_F(RecoveryRun, TheQuestionsReactivationKeepsTheRunPausableWithItsPreviewAndTypes) {
  SelectOnly({4});
  ASSERT_TRUE(Open());
  questions.answer = [&](const String& text) {
    if (text == LangText(37)) {
      // What a box shown over the dialog does to it.
      frmRecovery->FormDeactivate(frmRecovery);
      EXPECT_FALSE(engine->OnProgress.Assigned());
      frmRecovery->FormActivate(frmRecovery);
      EXPECT_TRUE(frmRecovery->btnPauseResume->Enabled());
      EXPECT_FALSE(frmRecovery->FilmStrip->Suspended()) << "the deep scan is not shown dark";
      EXPECT_TRUE(engine->OnProgress.Assigned());
      EXPECT_EQ(frmRecovery->lblFileTypeText->Caption(), LangText(55));
      TCanvas* preview = frmRecovery->imgPreview->Picture()->Bitmap()->Canvas();
      EXPECT_EQ(preview->Pixels(0, 0), clBlack) << "the preview is cleared inside a black frame";
      EXPECT_EQ(preview->Pixels(84, 72), preview->Brush()->Color()) << "with the canvas's own brush";
    }
    return kNo;
  };
  frmRecovery->RunRecovery();
  EXPECT_EQ(frmRecovery->lblFileTypeText->Caption(), LangText(55));
  EXPECT_FALSE(frmRecovery->btnPauseResume->Enabled()) << "nothing to pause once the run is over";
}

// With time standing still the events paint nothing after the first, yet each pass ends
// with its final counts, name and full gauge on the screen before its question.
TEST_F(RecoveryRun, EachPassShowsItsFinalValuesBeforeItsQuestion) {
  ScopedSeam<TClockSeam> clock{{.TickCount = [] { return DWORD{5000}; }}};
  ASSERT_TRUE(Open(false));
  struct Shown {
    String found, name;
    int percent;
    bool formPending, gaugePending;
  };
  std::vector<Shown> shown;
  questions.answer = [&](const String&) {
    shown.push_back({frmRecovery->lblFilesFoundText->Caption(), frmRecovery->lblFileRecoveredText->Caption(),
                     frmRecovery->pbProgress->Percent(), GetUpdateRect(frmRecovery->Handle(), nullptr, FALSE) != 0,
                     GetUpdateRect(frmRecovery->pbProgress->Handle(), nullptr, FALSE) != 0});
    return shown.size() == 1 ? kYes : kNo;
  };
  frmRecovery->RunRecovery();
  ASSERT_EQ(questions.asked, Asked({37, 107}));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].found, "5");
  EXPECT_EQ(shown[0].percent, 100);
  EXPECT_FALSE(shown[0].name.empty());
  EXPECT_EQ(shown[1].found, IntToStr(frmRecovery->DezoDoziFiles));
  EXPECT_EQ(shown[1].percent, 100);
  for (const Shown& s : shown) {
    EXPECT_FALSE(s.formPending) << "counts and names painted";
    EXPECT_FALSE(s.gaugePending) << "the gauge painted";
  }
}

// The dialog half-way through the deep scan drawn into a bitmap: the gauge half full, the
// counts, and a thumbnail on black in the preview. KV_RENDER_DIR keeps the picture.
TEST_F(RecoveryRun, MidRunRenderShowsGaugeCountsAndAThumbnail) {
  ASSERT_TRUE(Open());
  TBitmap shot;
  bool shotTaken = false;
  questions.answer = [&](const String& text) {
    if (text != LangText(37)) return kNo;
    engine->OnProgress = TSEProgressEvent([&](TObject* sender, int32_t position) {
      frmRecovery->EngineProgress(sender, position);
      if (shotTaken || position < frmRecovery->pbProgress->MaxValue() / 2) return;
      shotTaken = true;
      TFilmStrip& strip = *frmRecovery->FilmStrip;
      strip.Suspend();
      for (int i = 0; i < 500 && !strip.Parked(); ++i) CheckSynchronize(20);
      ASSERT_TRUE(strip.Parked());
      strip.Clear();
      strip.AddFile(engine->GetDestinationFolder() + "DuvidAziz\\IMG_0001.JPG", 1);
      strip.Cycle();
      ShootClient(*frmRecovery, shot);
      strip.Resume();
    });
    return kYes;
  };
  frmRecovery->RunRecovery();
  ASSERT_TRUE(shotTaken);
  if (const char* dir = getenv("KV_RENDER_DIR")) shot.SaveToFile(std::string(dir) + "\\recovery_midrun.bmp");
  TCanvas& c = *shot.Canvas();
  const int gaugeY = 232 + 10;
  EXPECT_NE(c.Pixels(16 + 481 / 10, gaugeY), c.Pixels(16 + 481 * 9 / 10, gaugeY)) << "filled and empty parts";
  EXPECT_EQ(c.Pixels(16 + 481 * 3 / 10, gaugeY), c.Pixels(16 + 481 / 10, gaugeY));
  EXPECT_EQ(c.Pixels(16 + 481 * 7 / 10, gaugeY), c.Pixels(16 + 481 * 9 / 10, gaugeY));
  EXPECT_EQ(c.Pixels(170, 66), clBlack) << "the black frame between shape and picture";
  int lit = 0;
  for (int y = 72; y < 72 + 145; y += 8)
    for (int x = 176; x < 176 + 169; x += 8) lit += c.Pixels(x, y) != clBlack;
  EXPECT_GT(lit, 100) << "a thumbnail fills the preview";
}

// Activation shows the preview's image and background as the engine's switch says; the
// bevel around them is the preview button's alone.
TEST_F(RecoveryRun, OnlyThePreviewButtonShowsOrHidesThePreviewsBevel) {
  ASSERT_TRUE(Open(false));
  TfrmRecovery& d = *frmRecovery;
  EXPECT_FALSE(d.imgPreview->Visible());
  EXPECT_FALSE(d.PreviewShape->Visible());
  EXPECT_TRUE(d.bvlPreview->Visible()) << "activation leaves the bevel as it is";
  for (bool on : {true, false}) {
    d.btnPreviewImageClick(d.btnPreviewImage);
    EXPECT_EQ(engine->PreviewEnabled, on);
    for (TControl* c : {static_cast<TControl*>(d.bvlPreview), static_cast<TControl*>(d.imgPreview),
                        static_cast<TControl*>(d.PreviewShape)})
      EXPECT_EQ(c->Visible(), on) << c->Name;
  }
  d.FormActivate(&d);
  EXPECT_FALSE(d.bvlPreview->Visible()) << "the button hid it; activation does not bring it back";
  d.bvlPreview->SetVisible(true);
  d.FormActivate(&d);
  EXPECT_TRUE(d.bvlPreview->Visible());
}

}  // namespace
}  // namespace apptest
