// The engine's pause: every operation that can be paused waits in the same routine, each
// at its own interval; Cancel ends every such wait, Abort only that between the steps of
// the FAT pass.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/FoundFiles.h"
#include "engine/Utils.h"
#include "engine/intDorvane.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/FatImageBuilder.h"
#include "engine/tests/PassFixtures.h"
#include "framework/core/seams.h"

namespace {

class PauseWait : public ::testing::Test {
 protected:
  void SetUp() override {
    card_.AddFile(TFatImageBuilder::kRoot, {.ShortName = "ONE.JPG", .Content = std::string(5000, '\x11')});
    AttachDrive(*engine_, card_.TotalSectors, 2)->MediaType = 2;
    LoadTable(*engine_, program_, "[JPG]\nExtension=JPG\nC1=FFD8FFE0\n");
    engine_->DestinationFolder = out_.Path();
  }
  void TearDown() override {
    intDorvane::CorrectFile = boundCorrectFile_;
    FoundDirectories.ClearAndFree();
    FoundFiles.ClearAndFree();
    DeleteFileA((GetTempFolder() + "kv_pause.KV3").c_str());
  }
  intDorvane::TCorrectFile boundCorrectFile_ = std::exchange(intDorvane::CorrectFile, nullptr);

  TFatImageBuilder card_{2, 4200};
  TImageVolumeCalls volumes_{card_.Image, kTestLetter};
  std::unique_ptr<TScanEngine> engine_ = MakeNtEngine(volumes_);
  TScratchFolder program_{"kv_pause_prog."};
  TScratchFolder out_{"kv_pause_out."};
};

TEST_F(PauseWait, EveryPausedOperationWaitsAtItsIntervalUntilResumedOrStopped) {
  // The FAT save needs the card's tables and files.
  ASSERT_TRUE(engine_->FATReader->ReadBootSector());
  engine_->ReadClusterChains();
  ASSERT_TRUE(engine_->FATReader->ReadDirectoryTree());
  ASSERT_EQ(FoundFiles.Count(), 1);
  ForceDirectories(out_.Path() + "DuvidAziz\\");

  const struct {
    const char* what;
    DWORD interval;
    bool abortEnds;
    std::function<void(TScanEngine&, bool stopped)> run;
  } cases[] = {
      {"between the steps of the FAT pass", 750, true,
       [](TScanEngine& e, bool stopped) { EXPECT_EQ(e.CheckStop(), stopped); }},
      {"the DezoDozi pass", 100, false, [](TScanEngine& e, bool) { e.ScanDrive(kTestLetter); }},
      // Stopped, it is no backup: nothing replaces the file of its name.
      {"a backup", 100, false,
       [](TScanEngine& e, bool stopped) { EXPECT_EQ(e.BackupCard("kv_pause", GetTempFolder()), !stopped); }},
      // The run after the wait is still saved, and it is the whole file.
      {"saving a file by its chain", 50, false,
       [](TScanEngine& e, bool) { EXPECT_TRUE(e.SaveFATFileEXT(*FoundFile(0), "DuvidAziz\\")); }},
  };
  for (const auto& c : cases) {
    for (const bool cancel : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (cancel ? ", Cancel" : ", Abort"));
      std::vector<DWORD> sleeps;
      // The dialog's button, pressed while the engine sleeps; Resume, pressed later, ends
      // a wait that goes on, and the count of sleeps tells.
      ScopedSeam<TClockSeam> clock({.Sleep = [&](DWORD ms) {
        sleeps.push_back(ms);
        if (sleeps.size() == 1) cancel ? engine_->Cancel() : engine_->Abort();
        if (sleeps.size() == 3) engine_->Resume();
      }});
      engine_->Aborted = engine_->StopRequested = false;
      engine_->Paused = true;
      const bool stopped = cancel || c.abortEnds;
      c.run(*engine_, stopped);
      EXPECT_EQ(sleeps, stopped ? std::vector<DWORD>{c.interval} : std::vector<DWORD>(3, c.interval));
      engine_->Paused = false;
    }
  }
}

}  // namespace
