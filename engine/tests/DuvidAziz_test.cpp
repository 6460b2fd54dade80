#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/FoundFiles.h"
#include "engine/intDorvane.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/FatImageBuilder.h"
#include "engine/tests/PassFixtures.h"

namespace {

// Content that starts like a JFIF file and differs in every sector.
std::string Picture(size_t size, char seed) {
  std::string content(size, '\0');
  for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 7 + seed) ^ (i >> 9));
  const char header[] = {'\xFF', '\xD8', '\xFF', '\xE0'};
  std::copy(std::begin(header), std::end(header), content.begin());
  return content;
}

// A FAT16 card with live, deleted, fragmented and backward-fragmented pictures, two of the
// same name in different folders, a file larger than one transfer and a file of a type
// not in the table.
class RecoveryPasses : public ::testing::Test {
 protected:
  // Another test may have bound the correction library: its threads would hold the
  // carved copies open while the pass deletes or the test reads them.
  void TearDown() override { intDorvane::CorrectFile = boundCorrectFile_; }
  intDorvane::TCorrectFile boundCorrectFile_ = std::exchange(intDorvane::CorrectFile, nullptr);

  void SetUp() override {
    const uint32_t root = TFatImageBuilder::kRoot;
    card_.AddFile(root, {.ShortName = "LIVE.JPG", .Content = files_["LIVE.JPG"] = Picture(3000, 1)});
    card_.AddFile(root, {.ShortName = "GONE.JPG", .Content = files_["GC__ONE.JPG"] = Picture(1500, 2), .Deleted = true});
    const uint32_t one = card_.AddDirectory(root, "ONE");
    const uint32_t two = card_.AddDirectory(root, "TWO");
    card_.AddFile(one, {.ShortName = "SAME.JPG", .Content = files_["SAME.JPG"] = Picture(700, 3)});
    card_.AddFile(two, {.ShortName = "SAME.JPG", .Content = files_["SAME_2.JPG"] = Picture(900, 4)});
    card_.AddFile(root, {.ShortName = "BIG.JPG", .Content = files_["BIG.JPG"] = Picture(1536 * 1024 + 100, 5)});
    card_.AddFile(root, {.ShortName = "NOTE.TXT", .Content = "plain text"});
    card_.AddFile(root, {.ShortName = "FRAG.JPG", .Content = files_["FRAG.JPG"] = Picture(2048, 6),
                         .Clusters = {9000, 9001, 9020, 9021}});
    card_.AddFile(root, {.ShortName = "BACK.JPG", .Content = files_["BACK.JPG"] = Picture(2048, 7),
                         .Clusters = {9041, 9042, 9030, 9031}});
    AttachDrive(*engine_, card_.TotalSectors, 2);
    LoadTable(*engine_, program_, "[JPG]\nExtension=JPG\nC1=FFD8FFE0\n");
    engine_->DestinationFolder = out_.Path();
    engine_->OnFATFileSaved = [this](const String& name) { saved_.push_back(name); };
    engine_->OnFATFileCount = [this](int32_t count) { count_ = count; };
    engine_->OnFinished = [this](uint8_t code) { finished_.push_back(code); };
  }
  uint32_t SectorOf(uint32_t cluster) const { return card_.ClusterToSector(cluster); }

  TFatImageBuilder card_{2, 12000};
  std::map<std::string, std::string> files_;
  TImageVolumeCalls volumes_{card_.Image, kTestLetter};
  std::unique_ptr<TScanEngine> engine_ = MakeNtEngine(volumes_);
  TScratchFolder program_{"kv_passes_prog"};
  TScratchFolder out_{"kv_passes_out"};
  std::vector<std::string> saved_;
  std::vector<uint8_t> finished_;
  int32_t count_ = -1;
};

TEST_F(RecoveryPasses, PreScanSavesEverySelectedFileByItsChain) {
  engine_->PreScan(kTestLetter);
  EXPECT_EQ(count_, 7);
  EXPECT_EQ(finished_, std::vector<uint8_t>{1});
  std::vector<std::string> expected;
  for (const auto& [name, content] : files_) {
    expected.push_back(name);
    EXPECT_EQ(ReadWholeFile(out_.Path() + "DuvidAziz\\" + name), content) << name;
  }
  EXPECT_EQ(FolderNames(out_.Path() + "DuvidAziz"), expected);
  EXPECT_EQ(saved_.size(), files_.size());
  EXPECT_TRUE(engine_->FATReady);
  EXPECT_EQ(FoundFiles.Count(), 0);
}

TEST_F(RecoveryPasses, ScanDriveResavesFragmentedHitsByTheirChain) {
  engine_->PreScan(kTestLetter);
  saved_.clear();
  engine_->ScanDrive(kTestLetter);
  const std::string dezo = out_.Path() + "DezoDozi\\";
  const std::string frag = "KVF" + std::to_string(SectorOf(9000)) + ".JPG";
  const std::string back = "KVF" + std::to_string(SectorOf(9041)) + ".JPG";
  EXPECT_EQ(ReadWholeFile(dezo + frag), files_["FRAG.JPG"]);
  EXPECT_EQ(ReadWholeFile(dezo + back), files_["BACK.JPG"]);  // the last hit too
  EXPECT_FALSE(FileExists(dezo + "KV" + std::to_string(SectorOf(9000)) + ".JPG"));
  EXPECT_FALSE(FileExists(dezo + "KV" + std::to_string(SectorOf(9041)) + ".JPG"));
  EXPECT_EQ(saved_, (std::vector<std::string>{frag, back}));
  // Contiguous and deleted files keep their carved copies, each starting with its content.
  size_t kept = 0;
  for (const auto& name : FolderNames(dezo)) {
    if (name.rfind("KVF", 0) == 0) continue;
    ++kept;
    const std::string carved = ReadWholeFile(dezo + name);
    const bool known = std::any_of(files_.begin(), files_.end(),
                                   [&](const auto& file) { return carved.rfind(file.second, 0) == 0; });
    EXPECT_TRUE(known) << name;
  }
  EXPECT_EQ(kept, 5u);
}

TEST_F(RecoveryPasses, WithoutPreScanNothingIsResaved) {
  engine_->ScanDrive(kTestLetter);
  for (const auto& name : FolderNames(out_.Path() + "DezoDozi")) EXPECT_NE(name.rfind("KVF", 0), 0u) << name;
  EXPECT_EQ(engine_->RAWFiles.Count(), 0);
}

}  // namespace
