#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/Carving.h"
#include "engine/Debug.h"
#include "engine/FileTypes.h"
#include "engine/FoundFiles.h"
#include "engine/OutputFile.h"
#include "engine/SEerrors.h"
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
    engine_->OnError = [this](int32_t code, const String& text) { errors_.push_back({code, text}); };
    engine_->OnProgress = [this](TObject*, int32_t position) { progress_.push_back(position); };
  }
  uint32_t SectorOf(uint32_t cluster) const { return card_.ClusterToSector(cluster); }
  // The cluster where a file's content starts on the card.
  uint32_t ClusterOf(const std::string& name) {
    const std::string& content = files_.at(name);
    for (uint32_t c = 2; c <= card_.Clusters + 1; ++c)
      if (std::memcmp(card_.Cluster(c), content.data(), std::min<size_t>(content.size(), 512)) == 0) return c;
    ADD_FAILURE() << name << " is not on the card";
    return 0;
  }
  std::string Saved(const std::string& name) const { return ReadWholeFile(out_.Path() + "DuvidAziz\\" + name); }

  TFatImageBuilder card_{2, 12000};
  std::map<std::string, std::string> files_;
  TWatchedVolumeCalls volumes_{card_.Image, kTestLetter};
  std::unique_ptr<TScanEngine> engine_ = MakeNtEngine(volumes_);
  TScratchFolder program_{"kv_passes_prog."};
  TScratchFolder out_{"kv_passes_out."};
  std::vector<std::string> saved_;
  std::vector<uint8_t> finished_;
  std::vector<std::pair<int32_t, std::string>> errors_;
  std::vector<int32_t> progress_;
  int32_t count_ = -1;
};

// How often a text stands in today's error log.
size_t ErrorLogCount(const std::string& text) {
  const std::string log = ReadWholeFile(LogFileName("Errors"));
  size_t count = 0;
  for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) ++count;
  return count;
}

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

TEST_F(RecoveryPasses, PreScanRefusesACdDrive) {
  struct Case {
    bool handler;
    uint32_t lastError;
  };
  for (const Case c : {Case{true, 50}, Case{false, 1}}) {
    SCOPED_TRACE(c.handler);
    errors_.clear();
    engine_->CurrentDrive->IsCD = true;
    if (!c.handler) engine_->OnError = nullptr;
    engine_->PreScan(kTestLetter);
    EXPECT_EQ(engine_->TakeLastError(), c.lastError);
    EXPECT_EQ(errors_, (c.handler ? decltype(errors_){{50, "NOT ON CDROM"}} : decltype(errors_){}));
    EXPECT_TRUE(finished_.empty());
    EXPECT_EQ(volumes_.Reads, 0);
    EXPECT_FALSE(DirectoryExists(out_.Path() + "DuvidAziz"));
  }
}

TEST_F(RecoveryPasses, ADamagedBootSectorIsReportedAndTheCarvedCopiesStay) {
  card_.Sector(0)[13] = 3;  // three sectors per cluster
  engine_->PreScan(kTestLetter);
  EXPECT_EQ(errors_, (decltype(errors_){{10, "BootSector damage"}}));
  EXPECT_EQ(finished_, std::vector<uint8_t>{1});
  EXPECT_FALSE(engine_->FATReady);
  EXPECT_TRUE(FolderNames(out_.Path() + "DuvidAziz").empty());
  // No chain is followed with the wrong cluster size: every carved copy is kept.
  engine_->ScanDrive(kTestLetter);
  const std::vector<std::string> carved = FolderNames(out_.Path() + "DezoDozi");
  EXPECT_EQ(carved.size(), 7u);
  for (const auto& name : carved) EXPECT_NE(name.rfind("KVF", 0), 0u) << name;
}

TEST_F(RecoveryPasses, AWalkThatCannotReadTheRootFails) {
  for (uint32_t s = 0; s < 32; ++s) card_.Image.BadSectors.insert(card_.RootDirSector + s);
  engine_->PreScan(kTestLetter);
  EXPECT_EQ(errors_, (decltype(errors_){{70, "Problem Reading FAT"}}));
  EXPECT_EQ(finished_, std::vector<uint8_t>{1});  // reported, so no error is left pending
  EXPECT_TRUE(saved_.empty());
  EXPECT_EQ(count_, -1);
  EXPECT_GE(engine_->FATReader->DirectoryReadFailures, 1u);
}

TEST_F(RecoveryPasses, AStoppedWalkSavesNothingAndIsNoError) {
  const uint32_t folder = SectorOf(ClusterOf("SAME.JPG") - 1);  // ONE's records lie just before
  volumes_.BeforeRead = [&](uint32_t sector, uint32_t) -> DWORD {
    if (sector == folder) engine_->Cancel();
    return 0;
  };
  engine_->PreScan(kTestLetter);
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(saved_.empty());
  EXPECT_EQ(count_, -1);
  EXPECT_EQ(finished_, std::vector<uint8_t>{1});
  EXPECT_EQ(FoundFiles.Count(), 0);
}

TEST_F(RecoveryPasses, AStopDuringASaveLeavesThatFileShorterAndSavesNoMore) {
  const uint32_t big = SectorOf(ClusterOf("BIG.JPG"));
  volumes_.BeforeRead = [&](uint32_t sector, uint32_t) -> DWORD {
    if (sector >= big + 600 && sector < big + 3072) engine_->Cancel();
    return 0;
  };
  engine_->PreScan(kTestLetter);
  EXPECT_EQ(saved_, (std::vector<std::string>{"GC__ONE.JPG", "LIVE.JPG"}));
  const std::string partial = Saved("BIG.JPG");
  EXPECT_GE(partial.size(), 600u * 512);
  EXPECT_LT(partial.size(), files_["BIG.JPG"].size());
  EXPECT_EQ(partial, files_["BIG.JPG"].substr(0, partial.size()));
  EXPECT_FALSE(FileExists(out_.Path() + "DuvidAziz\\FRAG.JPG"));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(RecoveryPasses, UnreadableSectorsAreSavedAsZerosAndTheRestIntact) {
  // The last file saved has a bad sector too: the pass still finishes as it should.
  const uint32_t live = SectorOf(ClusterOf("LIVE.JPG")), last = SectorOf(ClusterOf("SAME_2.JPG"));
  card_.Image.BadSectors = {live + 2, last + 1};
  engine_->PreScan(kTestLetter);
  std::string expected = files_["LIVE.JPG"];
  std::fill_n(expected.begin() + 2 * 512, 512, '\0');
  EXPECT_EQ(Saved("LIVE.JPG"), expected);
  EXPECT_EQ(std::count(saved_.begin(), saved_.end(), "LIVE.JPG"), 1);
  EXPECT_EQ(Saved("SAME_2.JPG"), files_["SAME_2.JPG"].substr(0, 512) + std::string(900 - 512, '\0'));
  EXPECT_EQ(saved_.back(), "SAME_2.JPG");
  EXPECT_EQ(Saved("BIG.JPG"), files_["BIG.JPG"]);
  EXPECT_EQ(finished_, std::vector<uint8_t>{1});
}

// An unreadable FAT sector reads as free entries: the files whose chains cross it are
// still saved whole.
TEST_F(RecoveryPasses, AFileWhoseChainCrossesAnUnreadableFatSectorIsSavedWhole) {
  const uint32_t middle = ClusterOf("BIG.JPG") + 1000;
  card_.Image.BadSectors = {card_.ReservedSectors + middle * 2 / 512};
  engine_->PreScan(kTestLetter);
  EXPECT_EQ(Saved("BIG.JPG"), files_["BIG.JPG"]);
  EXPECT_EQ(std::count(saved_.begin(), saved_.end(), "BIG.JPG"), 1);
  EXPECT_EQ(finished_, std::vector<uint8_t>{1});
}

// A cut image, or a card that reports fewer sectors than its volume claims: the files
// inside the device are saved whole, one that runs past its end as far as it goes.
TEST_F(RecoveryPasses, AVolumeLargerThanTheDeviceIsWalkedAndSaved) {
  engine_->Drives.ClearAndFree();
  engine_->CurrentDrive = nullptr;
  const uint32_t end = SectorOf(9010);
  card_.Image.Bytes.resize(size_t(end) * 512);
  engine_->PreScan(kTestLetter);
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(finished_, std::vector<uint8_t>{1});
  ASSERT_NE(engine_->CurrentDrive, nullptr);
  EXPECT_EQ(engine_->CurrentDrive->TotalSectors, end);
  for (const char* name : {"LIVE.JPG", "GC__ONE.JPG", "SAME.JPG", "SAME_2.JPG", "BIG.JPG"})
    EXPECT_EQ(Saved(name), files_[name]) << name;
  EXPECT_EQ(Saved("FRAG.JPG"), files_["FRAG.JPG"].substr(0, 1024) + std::string(1024, '\0'));
}

// The output drive refuses the file's bytes, as a full or failing drive does: the file is
// logged by its name with the cause of the failed write, not of the log's own file calls.
TEST_F(RecoveryPasses, AFileThatCannotBeWrittenIsLoggedAndNotReported) {
  const std::string live = files_["LIVE.JPG"];
  struct Case {
    const char* what;
    bool refuse;
    const char* cause;
  };
  for (const Case& c : {Case{"write refused", true, "ERROR_WRITE_FAULT (29)"},
                        Case{"drive full", false, "ERROR_HANDLE_DISK_FULL (39)"}}) {
    SCOPED_TRACE(c.what);
    ScopedSeam<TOutputFileSeam> failing{{.Write = [&](HANDLE file, const void* data, DWORD size, DWORD* written) {
      if (std::memcmp(data, live.data(), std::min<size_t>(size, live.size())) == 0) {
        *written = c.refuse ? 0 : size / 2;
        if (c.refuse) SetLastError(ERROR_WRITE_FAULT);
        return c.refuse ? FALSE : TRUE;
      }
      return ::WriteFile(file, data, size, written, nullptr);
    }}};
    StartLogs();
    const std::string line = "Unable to save recovered file " + out_.Path() + "DuvidAziz\\LIVE.JPG : " + c.cause;
    const size_t logged = ErrorLogCount(line);
    std::vector<int32_t> unsaved;
    engine_->OnWriteError = [&](int32_t sector, int32_t kind) {
      EXPECT_EQ(kind, 2);
      unsaved.push_back(sector);
    };
    saved_.clear();
    engine_->PreScan(kTestLetter);
    EXPECT_EQ(std::count(saved_.begin(), saved_.end(), "LIVE.JPG"), 0);
    EXPECT_EQ(ErrorLogCount(line), logged + 1);
    EXPECT_EQ(unsaved, std::vector<int32_t>{int32_t(SectorOf(ClusterOf("LIVE.JPG")))});
    EXPECT_FALSE(FileExists(out_.Path() + "DuvidAziz\\LIVE.JPG"));
    EXPECT_EQ(Saved("BIG.JPG"), files_["BIG.JPG"]);  // the pass goes on
    for (const auto& name : FolderNames(out_.Path() + "DuvidAziz"))
      DeleteFileA((out_.Path() + "DuvidAziz\\" + name).c_str());
  }
}

// Output folders that cannot be made, as a user's files of their names stand in the way:
// neither pass can save a file, and each file is named in the error log with the cause
// and reported as a write error at the sector where it begins.
TEST_F(RecoveryPasses, EveryFileThatCannotBeSavedIsNamedLoggedAndCounted) {
  WriteTextFile(out_.Path() + "DuvidAziz", "a user's file");
  WriteTextFile(out_.Path() + "DezoDozi", "a user's file");
  const std::string probe = out_.Path() + "DezoDozi\\probe.JPG";
  ASSERT_EQ(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
  const DWORD cause = GetLastError();
  const std::string because = " : " + GetWin32ErrorName(int32_t(cause)) + " (" + std::to_string(cause) + ")";
  std::vector<int32_t> unsaved;
  engine_->OnWriteError = [&](int32_t sector, int32_t kind) {
    EXPECT_EQ(kind, 2);
    unsaved.push_back(sector);
  };
  std::vector<int32_t> starts;
  for (const auto& [name, content] : files_) starts.push_back(int32_t(SectorOf(ClusterOf(name))));
  std::sort(starts.begin(), starts.end());
  StartLogs();
  DeleteFileA(LogFileName("Errors").c_str());

  engine_->PreScan(kTestLetter);
  EXPECT_TRUE(saved_.empty());
  std::sort(unsaved.begin(), unsaved.end());
  EXPECT_EQ(unsaved, starts);
  for (const char* name : {"LIVE.JPG", "GC__ONE.JPG", "BIG.JPG", "FRAG.JPG", "BACK.JPG"})
    EXPECT_EQ(ErrorLogCount(out_.Path() + "DuvidAziz\\" + name + because), 1u) << name;
  EXPECT_EQ(ErrorLogCount(out_.Path() + "DuvidAziz\\SAME.JPG" + because), 2u);

  unsaved.clear();
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(unsaved, starts);
  for (const int32_t sector : starts)
    EXPECT_EQ(ErrorLogCount(out_.Path() + "DezoDozi\\KV" + std::to_string(sector) + ".JPG" + because), 1u) << sector;
  EXPECT_EQ(ErrorLogCount("Unable to save recovered file "), 2 * starts.size());
  EXPECT_EQ(ReadWholeFile(out_.Path() + "DuvidAziz"), "a user's file");
}

// Two cards recovered into one output folder: the second run's files take the next free
// names and leave every file of the first as it was, a file or a folder in the way alike.
TEST_F(RecoveryPasses, ALaterRunNeverReplacesAFileOfAnEarlierOne) {
  engine_->PreScan(kTestLetter);
  engine_->ScanDrive(kTestLetter);
  std::map<std::string, std::string> earlier;
  for (const char* sub : {"DuvidAziz\\", "DezoDozi\\"})
    for (const auto& name : FolderNames(out_.Path() + sub)) {
      const std::string path = out_.Path() + sub + name;
      earlier[path] = "another card's " + name;
      WriteTextFile(path, earlier[path]);
    }
  const std::string frag = "KVF" + std::to_string(SectorOf(9000));
  ASSERT_TRUE(earlier.count(out_.Path() + "DezoDozi\\" + frag + ".JPG"));
  ASSERT_TRUE(ForceDirectories(out_.Path() + "DuvidAziz\\LIVE_2.JPG"));
  saved_.clear();
  engine_->PreScan(kTestLetter);
  engine_->ScanDrive(kTestLetter);
  for (const auto& [path, content] : earlier) EXPECT_EQ(ReadWholeFile(path), content) << path;
  EXPECT_TRUE(DirectoryExists(out_.Path() + "DuvidAziz\\LIVE_2.JPG"));
  EXPECT_EQ(Saved("LIVE_3.JPG"), files_["LIVE.JPG"]);
  EXPECT_EQ(Saved("SAME_3.JPG"), files_["SAME.JPG"]);
  EXPECT_EQ(Saved("SAME_4.JPG"), files_["SAME_2.JPG"]);
  EXPECT_EQ(ReadWholeFile(out_.Path() + "DezoDozi\\" + frag + "_2.JPG"), files_["FRAG.JPG"]);
  EXPECT_EQ(std::count(saved_.begin(), saved_.end(), "LIVE_3.JPG"), 1);
  EXPECT_EQ(std::count(saved_.begin(), saved_.end(), frag + "_2.JPG"), 1);
  EXPECT_EQ(FolderNames(out_.Path() + "DuvidAziz").size(), 2 * files_.size() + 1);
}

// Without a file type the passes have nothing to look for: each says so, and neither
// passes for a run that found nothing.
TEST_F(RecoveryPasses, WithoutFileTypesBothPassesReportAnError) {
  engine_->SupportedFileTypes.ClearAndFree();
  engine_->PreScan(kTestLetter);
  engine_->ScanDrive(kTestLetter);
  const std::pair<int32_t, std::string> noTypes{kNoFileTypesCode, kNoFileTypesText};
  EXPECT_EQ(errors_, (decltype(errors_){noTypes, noTypes}));
  EXPECT_TRUE(finished_.empty());
  EXPECT_EQ(volumes_.Reads, 0);
  EXPECT_TRUE(FolderNames(out_.Path()).empty());
}

TEST_F(RecoveryPasses, FilesWithoutSizeOrCutAtTheCardsEnd) {
  const uint32_t root = TFatImageBuilder::kRoot;
  card_.AddFile(root, {.ShortName = "ZERO.JPG", .Content = Picture(1200, 11), .Clusters = {10000, 10001, 10002}, .Size = 0});
  card_.AddFile(root, {.ShortName = "LOOP.JPG", .Content = Picture(1024, 12), .Clusters = {10010, 10011}, .Size = 0});
  card_.SetEntry(10011, 10010);
  card_.AddFile(root, {.ShortName = "NOSIZE.JPG", .Content = Picture(1536, 13), .Clusters = {10020, 10021, 10022},
                       .Deleted = true, .Size = 0});
  card_.AddFile(root, {.ShortName = "BROKEN.JPG", .Content = Picture(1536, 14), .Clusters = {10030, 10031, 10032}});
  card_.SetEntry(10030, 0);
  card_.AddFile(root, {.ShortName = "TAIL.JPG", .Content = Picture(1024, 15), .Clusters = {12000, 12001},
                       .Deleted = true, .Size = 4 * 512});
  engine_->PreScan(kTestLetter);
  auto clusters = [&](uint32_t first, uint32_t count) {
    return std::string(reinterpret_cast<const char*>(card_.Cluster(first)), size_t(count) * 512);
  };
  struct Case {
    const char* name;
    std::string content;
  };
  const Case cases[] = {
      {"ZERO.JPG", clusters(10000, 3)},     // no size: the whole chain
      {"LOOP.JPG", clusters(10010, 2)},     // no size: the chain up to where it comes back
      {"GC__OSIZE.JPG", clusters(10020, 1)},  // deleted without size: its first cluster
      {"BROKEN.JPG", clusters(10030, 3)},   // the chain runs into a free cluster: on to its size
      {"GC__AIL.JPG", clusters(12000, 2)},  // the size runs past the card's end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Saved(c.name), c.content) << c.name;
    EXPECT_EQ(std::count(saved_.begin(), saved_.end(), c.name), 1) << c.name;
  }
}

TEST_F(RecoveryPasses, FilesLargerThanTheFreeSpaceAreSkipped) {
  // An output drive that does not exist has no free space at all. Other test
  // programs map letters in the same prefix, so take one nobody maps.
  std::string root = "P:\\";
  while (root[0] < 'Z' && GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR) ++root[0];
  ASSERT_EQ(GetDriveTypeA(root.c_str()), UINT(DRIVE_NO_ROOT_DIR));
  engine_->DestinationFolder = root + "kv\\";
  card_.AddFile(TFatImageBuilder::kRoot, {.ShortName = "ZERO.JPG", .Content = Picture(700, 11), .Size = 0});
  StartLogs();
  const size_t full = ErrorLogCount(" : ERROR_DISK_FULL (112)");
  const size_t unsaved = ErrorLogCount("Unable to save recovered file " + root);
  int writeErrors = 0;
  engine_->OnWriteError = [&](int32_t, int32_t) { ++writeErrors; };
  engine_->PreScan(kTestLetter);
  EXPECT_EQ(count_, 8);
  EXPECT_TRUE(saved_.empty());
  EXPECT_EQ(progress_, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  // Only the file without size was tried; the others are not lost without a word either.
  EXPECT_EQ(ErrorLogCount("Unable to save recovered file " + root), unsaved + 8);
  EXPECT_EQ(ErrorLogCount(" : ERROR_DISK_FULL (112)"), full + 7);
  EXPECT_EQ(ErrorLogCount(root + "kv\\DuvidAziz\\LIVE.JPG : ERROR_DISK_FULL (112)"), 1u);
  EXPECT_EQ(writeErrors, 8);
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

TEST_F(RecoveryPasses, AHitWhoseChainIsDamagedKeepsItsCarvedCopy) {
  struct Case {
    const char* what;
    uint32_t cluster;
    uint32_t value;
  };
  const Case cases[] = {
      {"loops back to its start", 9021, 9000},
      {"runs into a free cluster", 9020, 0},
      {"runs into a bad cluster", 9020, 0xFFF7},
      {"leaves the volume", 9020, 12005},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> intact = card_.Image.Bytes;
    card_.SetEntry(c.cluster, c.value);
    RemoveScratchTree(out_.Path() + "DezoDozi");
    engine_->PreScan(kTestLetter);
    saved_.clear();
    engine_->ScanDrive(kTestLetter);
    const std::string dezo = out_.Path() + "DezoDozi\\";
    const std::string carved = ReadWholeFile(dezo + "KV" + std::to_string(SectorOf(9000)) + ".JPG");
    EXPECT_EQ(carved.substr(0, 1024), files_["FRAG.JPG"].substr(0, 1024));
    EXPECT_FALSE(FileExists(dezo + "KVF" + std::to_string(SectorOf(9000)) + ".JPG"));
    // The intact neighbour is still re-saved.
    EXPECT_EQ(saved_, std::vector<std::string>{"KVF" + std::to_string(SectorOf(9041)) + ".JPG"});
    card_.Image.Bytes = intact;
  }
}

TEST_F(RecoveryPasses, NoReSaveAfterAPassThatEndedOnAFatalError) {
  engine_->PreScan(kTestLetter);
  saved_.clear();
  finished_.clear();
  // The card goes away while its last sectors are read.
  volumes_.BeforeRead = [&](uint32_t sector, uint32_t count) -> DWORD {
    return sector + count >= card_.TotalSectors ? ERROR_NOT_READY : 0;
  };
  engine_->ScanDrive(kTestLetter);
  const std::string dezo = out_.Path() + "DezoDozi\\";
  EXPECT_TRUE(saved_.empty());
  for (const uint32_t cluster : {9000u, 9041u}) {
    EXPECT_TRUE(FileExists(dezo + "KV" + std::to_string(SectorOf(cluster)) + ".JPG")) << cluster;
    EXPECT_FALSE(FileExists(dezo + "KVF" + std::to_string(SectorOf(cluster)) + ".JPG")) << cluster;
  }
  EXPECT_EQ(finished_, std::vector<uint8_t>{2});
}

TEST_F(RecoveryPasses, ACancelDuringReExtractionKeepsEveryCarvedCopy) {
  engine_->PreScan(kTestLetter);
  saved_.clear();
  // The re-save of the first fragmented hit reads its first run: cancel then.
  const uint32_t firstRun = SectorOf(9000);
  volumes_.BeforeRead = [&](uint32_t sector, uint32_t count) -> DWORD {
    if (sector == firstRun && count == 2) engine_->Cancel();
    return 0;
  };
  engine_->ScanDrive(kTestLetter);
  const std::string dezo = out_.Path() + "DezoDozi\\";
  EXPECT_TRUE(saved_.empty());
  ASSERT_FALSE(progress_.empty());
  EXPECT_EQ(progress_.back(), int32_t(firstRun));  // the next hit is not even begun
  for (const uint32_t cluster : {9000u, 9041u}) {
    EXPECT_TRUE(FileExists(dezo + "KV" + std::to_string(SectorOf(cluster)) + ".JPG")) << cluster;
    EXPECT_FALSE(FileExists(dezo + "KVF" + std::to_string(SectorOf(cluster)) + ".JPG")) << cluster;
  }
}

// Every file handed to the correction library, by path.
std::vector<std::string> corrected;
int32_t __stdcall CountCorrection(const char* path) {
  corrected.push_back(path);
  return 1;
}

TEST_F(RecoveryPasses, EveryCarvedFileReachesTheCorrectionLibraryOnce) {
  corrected.clear();
  intDorvane::CorrectFile = CountCorrection;
  std::vector<std::string> carved;
  engine_->OnRAWFileSaved = [&](const String& path) { carved.push_back(path); };
  engine_->PreScan(kTestLetter);
  // A first pass stopped in the middle of BIG.JPG leaves it open; the next pass finishes it.
  const uint32_t big = SectorOf(ClusterOf("BIG.JPG"));
  volumes_.BeforeRead = [&](uint32_t sector, uint32_t) -> DWORD {
    if (sector >= big + 1000) engine_->Cancel();
    return 0;
  };
  engine_->ScanDrive(kTestLetter);
  volumes_.BeforeRead = nullptr;
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(carved.size(), 12u);  // 4 before the stop, the open one at the next start, 7 more
  std::vector<std::string> sortedCarved = carved, sortedCorrected = corrected;
  std::sort(sortedCarved.begin(), sortedCarved.end());
  std::sort(sortedCorrected.begin(), sortedCorrected.end());
  EXPECT_EQ(sortedCorrected, sortedCarved);
  EXPECT_EQ(std::adjacent_find(sortedCarved.begin(), sortedCarved.end()), sortedCarved.end());
}

// A large photo saved again through its chain is whole: the carver's 10 MiB cap is not
// its limit.
TEST(ReExtraction, AReSavedJpegKeepsItsWholeChain) {
  // 4 KiB clusters; a fragmented chain of about 11 MB.
  TFatImageBuilder card(1, 3000, 8);
  std::vector<uint32_t> chain = {2};
  for (uint32_t c = 4; c < 4 + 2700; ++c) chain.push_back(c);
  card.Chain(chain);
  std::string expected;
  for (const uint32_t c : chain) {
    std::fill_n(card.Cluster(c), card.ClusterBytes(), static_cast<uint8_t>(c * 7));
    expected.append(reinterpret_cast<const char*>(card.Cluster(c)), card.ClusterBytes());
  }
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  TScratchFolder program("kv_cap_prog."), out("kv_cap_out.");
  LoadTable(*engine, program, "[JPG]\nExtension=JPG\nC1=FFD8FFE0\n");
  engine->DestinationFolder = out.Path();
  ASSERT_TRUE(engine->FATReader->ReadBootSector());
  engine->ReadClusterChains();
  engine->FATReady = true;
  const uint32_t start = card.ClusterToSector(2);
  const std::string carved = out.Path() + "DezoDozi\\KV" + std::to_string(start) + ".JPG";
  ForceDirectories(out.Path() + "DezoDozi\\");
  WriteTextFile(carved, "carved");
  auto* hit = new TSERAWFile;
  hit->StartSector = start;
  hit->Path = carved;
  hit->FileType = static_cast<TSESupportedFileType*>(engine->SupportedFileTypes.Items(0));
  engine->RAWFiles.Add(hit);
  engine->ReExtractFragmentedHits();
  const std::string resaved = ReadWholeFile(out.Path() + "DezoDozi\\KVF" + std::to_string(start) + ".JPG");
  EXPECT_GT(resaved.size(), size_t(kCarvedJPEGCap));
  EXPECT_TRUE(resaved == expected) << resaved.size() << " bytes saved of " << expected.size();
  EXPECT_FALSE(FileExists(carved));
}

}  // namespace
