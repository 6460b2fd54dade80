// The engine's pause: every operation that can be paused waits in the same routine, each
// at its own interval, and Abort ends every such wait.
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

TEST_F(PauseWait, EveryPausedOperationWaitsAtItsIntervalAndAbortEndsTheWait) {
  // The FAT save needs the card's tables and files.
  ASSERT_TRUE(engine_->FATReader->ReadBootSector());
  engine_->ReadClusterChains();
  ASSERT_TRUE(engine_->FATReader->ReadDirectoryTree());
  ASSERT_EQ(FoundFiles.Count(), 1);
  ForceDirectories(out_.Path() + "DuvidAziz\\");

  const struct {
    const char* what;
    DWORD interval;
    std::function<void(TScanEngine&)> run;
  } cases[] = {
      {"between the steps of the FAT pass", 750, [](TScanEngine& e) { EXPECT_TRUE(e.CheckStop()); }},
      {"the DezoDozi pass", 100, [](TScanEngine& e) { e.ScanDrive(kTestLetter); }},
      // Aborted, it is no backup: nothing replaces the file of its name.
      {"a backup", 100, [](TScanEngine& e) { EXPECT_FALSE(e.BackupCard("kv_pause", GetTempFolder())); }},
      {"saving a file by its chain", 50,
       [](TScanEngine& e) { EXPECT_TRUE(e.SaveFATFileEXT(*FoundFile(0), "DuvidAziz\\")); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<DWORD> sleeps;
    // The dialog's Abort button, pressed while the engine sleeps. Should the wait go on
    // regardless, Resume lets the test end and the count of sleeps tells.
    ScopedSeam<TClockSeam> clock({.Sleep = [&](DWORD ms) {
      sleeps.push_back(ms);
      if (sleeps.size() == 1) engine_->Abort();
      if (sleeps.size() == 3) engine_->Resume();
    }});
    engine_->Aborted = engine_->StopRequested = false;
    engine_->Paused = true;
    c.run(*engine_);
    EXPECT_EQ(sleeps, std::vector<DWORD>{c.interval});
    engine_->Paused = false;
  }
}

}  // namespace
