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
#include "engine/OutputFile.h"
#include "engine/intDorvane.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/PassFixtures.h"
#include "framework/core/seams.h"

namespace {

const char* const kTable =
    "[JPG]\nExtension=JPG\nC1=FFD8FFE0\n"
    "[PNG]\nExtension=PNG\nC1=89504E47\n"
    "[SKIP]\nExtension=SKP\nC1=534B4950\n"
    "[SHADOW]\nExtension=SHD\nC1=FFD8FF\n";  // listed after JPG: never wins a JPG sector

// The DezoDozi pass over a raw image without file system, with the events it fires.
class DezoDozi : public ::testing::Test {
 protected:
  // Another test may have bound the correction library: its threads would hold the
  // carved copies open while the pass deletes or the test reads them.
  void TearDown() override { intDorvane::CorrectFile = boundCorrectFile_; }
  intDorvane::TCorrectFile boundCorrectFile_ = std::exchange(intDorvane::CorrectFile, nullptr);

  void SetUp() override {
    LoadTable(*engine_, program_, kTable);
    static_cast<TSESupportedFileType*>(engine_->SupportedFileTypes.Items(2))->Selected = false;
    engine_->DestinationFolder = out_.Path();
    engine_->OnRAWFileSaved = [this](const String& path) { saved_.push_back(path.substr(path.rfind('\\') + 1)); };
    engine_->OnReadError = [this](int32_t sector, int32_t) { readErrors_.push_back(sector); };
    engine_->OnFinished = [this](uint8_t code) { finished_.push_back(code); };
  }

  void MakeImage(uint32_t sectors, const std::map<uint32_t, std::vector<uint8_t>>& hits) {
    image_.Bytes.assign(size_t(sectors) * 512, 0);
    for (uint32_t s = 0; s < sectors; ++s) image_.Bytes[size_t(s) * 512 + 100] = uint8_t(s);
    for (const auto& [sector, bytes] : hits) std::memcpy(&image_.Bytes[size_t(sector) * 512], bytes.data(), bytes.size());
    AttachDrive(*engine_, sectors);
  }
  std::string Sectors(uint32_t first, uint32_t count) const {
    return std::string(reinterpret_cast<const char*>(&image_.Bytes[size_t(first) * 512]), size_t(count) * 512);
  }
  std::string Carved(const std::string& name) const { return ReadWholeFile(out_.Path() + "DezoDozi\\" + name); }

  const std::vector<uint8_t> jpg_{0xFF, 0xD8, 0xFF, 0xE0};
  const std::vector<uint8_t> png_{0x89, 'P', 'N', 'G'};
  const std::vector<uint8_t> skip_{'S', 'K', 'I', 'P'};
  TDiskImage image_;
  TImageVolumeCalls volumes_{image_, kTestLetter};
  std::unique_ptr<TScanEngine> engine_ = MakeNtEngine(volumes_);
  TScratchFolder program_{"kv_carve_prog."};
  TScratchFolder out_{"kv_carve_out."};
  std::vector<std::string> saved_;
  std::vector<int32_t> readErrors_;
  std::vector<uint8_t> finished_;
};

TEST_F(DezoDozi, CarvesRunsFromHitToHit) {
  MakeImage(200, {{10, jpg_}, {11, jpg_}, {20, png_}, {30, skip_}, {40, jpg_}});
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(Carved("KV10.JPG"), Sectors(10, 1));  // two hits in a row: a one-sector file
  EXPECT_EQ(Carved("KV11.JPG"), Sectors(11, 9));
  EXPECT_EQ(Carved("KV20.PNG"), Sectors(20, 10));  // ended by the unselected hit
  EXPECT_EQ(Carved("KV40.JPG"), Sectors(40, 160));
  EXPECT_EQ(saved_, (std::vector<std::string>{"KV10.JPG", "KV11.JPG", "KV20.PNG", "KV40.JPG"}));
  EXPECT_EQ(FolderNames(out_.Path() + "DezoDozi"),
            (std::vector<std::string>{"KV10.JPG", "KV11.JPG", "KV20.PNG", "KV40.JPG"}));
  EXPECT_EQ(finished_, std::vector<uint8_t>{2});
  EXPECT_TRUE(readErrors_.empty());

  // The same drive again: the same hits under new names.
  saved_.clear();
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(saved_, (std::vector<std::string>{"KV10_2.JPG", "KV11_2.JPG", "KV20_2.PNG", "KV40_2.JPG"}));
  EXPECT_EQ(Carved("KV40_2.JPG"), Sectors(40, 160));
}

TEST_F(DezoDozi, UnreadableSectorCostsOnlyItself) {
  MakeImage(300, {{40, jpg_}});
  image_.BadSectors = {45};
  engine_->ScanDrive(kTestLetter);
  std::string expected = Sectors(40, 260);
  std::fill_n(expected.begin() + 5 * 512, 512, '\0');
  EXPECT_EQ(Carved("KV40.JPG"), expected);
  EXPECT_EQ(readErrors_, std::vector<int32_t>{45});
}

TEST_F(DezoDozi, StoppedPassStillHandsOverItsOpenFile) {
  MakeImage(2048, {{10, jpg_}, {1500, png_}});
  engine_->OnProgress = [this](TObject*, int32_t) { engine_->Cancel(); };
  engine_->ScanDrive(kTestLetter);
  ASSERT_EQ(saved_, std::vector<std::string>{"KV10.JPG"});
  EXPECT_EQ(finished_, std::vector<uint8_t>{2});
  EXPECT_EQ(engine_->OutputHandle, INVALID_HANDLE_VALUE);
  // The next pass starts clean: every file is reported once.
  engine_->OnProgress = nullptr;
  saved_.clear();
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(saved_, (std::vector<std::string>{"KV10_2.JPG", "KV1500.PNG"}));
}

TEST_F(DezoDozi, JPEGStopsAtTheCapAndIsReported) {
  const uint32_t capSectors = kCarvedJPEGCap / 512;
  MakeImage(capSectors + 64, {{1, jpg_}, {capSectors + 10, png_}});
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(Carved("KV1.JPG").size(), size_t(kCarvedJPEGCap) + 512);
  EXPECT_EQ(saved_, (std::vector<std::string>{"KV1.JPG", "KV" + std::to_string(capSectors + 10) + ".PNG"}));
}

TEST_F(DezoDozi, EmptyTableAndEmptyDrive) {
  MakeImage(64, {{10, jpg_}});
  std::vector<int32_t> errors;
  engine_->OnError = [&](int32_t code, const String&) { errors.push_back(code); };
  // Nothing to look for is an error, not a pass that found nothing.
  const std::vector<uint8_t> nothing;
  engine_->SupportedFileTypes.ClearAndFree();
  engine_->ScanDrive(kTestLetter);
  EXPECT_TRUE(FolderNames(out_.Path() + "DezoDozi").empty());
  EXPECT_EQ(finished_, nothing);
  EXPECT_EQ(errors, std::vector<int32_t>{kNoFileTypesCode});
  LoadTable(*engine_, program_, kTable);
  engine_->CurrentDrive->TotalSectors = 0;
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(finished_, nothing);  // a drive without sectors returns at once
  EXPECT_EQ(errors.size(), 1u);
}


TEST_F(DezoDozi, AFileWhoseWriteFailsIsDeletedLoggedAndNotReported) {
  // The PNG run's first block starts with its signature: only that file's writes fail,
  // outright or short (a full drive takes part of a block and says so).
  const struct {
    const char* what;
    bool refuse;
    const char* cause;
  } cases[] = {{"write refused", true, "ERROR_DISK_FULL (112)"},
               {"write cut short", false, "ERROR_HANDLE_DISK_FULL (39)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartLogs();
    DeleteFileA(LogFileName("Errors").c_str());
    ScopedSeam<TOutputFileSeam> failing{{.Write = [&](HANDLE file, const void* data, DWORD size, DWORD* written) {
      if (std::memcmp(data, png_.data(), png_.size()) != 0)
        return WriteFile(file, data, size, written, nullptr);
      *written = c.refuse ? 0 : size / 2;
      if (c.refuse) SetLastError(ERROR_DISK_FULL);
      return c.refuse ? FALSE : TRUE;
    }}};
    saved_.clear();
    engine_->OnRAWFileSaved = [&](const String& path) { saved_.push_back(path.substr(path.rfind('\\') + 1)); };
    // The pass empties the list of hits at its end on a drive without FAT: look before.
    std::vector<std::string> registered;
    engine_->OnProgress = [&](TObject*, int32_t) {
      registered.clear();
      for (int i = 0; i < engine_->RAWFiles.Count(); ++i)
        registered.push_back(static_cast<TSERAWFile*>(engine_->RAWFiles.Items(i))->Path);
    };
    std::vector<int32_t> unsaved;
    engine_->OnWriteError = [&](int32_t sector, int32_t kind) {
      EXPECT_EQ(kind, 2);
      unsaved.push_back(sector);
    };
    MakeImage(400, {{10, jpg_}, {20, png_}, {300, jpg_}});
    engine_->ScanDrive(kTestLetter);
    EXPECT_EQ(unsaved, std::vector<int32_t>{20});

    const std::string folder = out_.Path() + "DezoDozi";
    EXPECT_EQ(saved_, (std::vector<std::string>{"KV10.JPG", "KV300.JPG"}));
    EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"KV10.JPG", "KV300.JPG"}));
    EXPECT_EQ(Carved("KV10.JPG"), Sectors(10, 10));
    EXPECT_EQ(Carved("KV300.JPG"), Sectors(300, 100));
    EXPECT_EQ(registered, (std::vector<std::string>{folder + "\\KV10.JPG", folder + "\\KV300.JPG"}));
    EXPECT_NE(ReadWholeFile(LogFileName("Errors"))
                  .find("Unable to save recovered file " + folder + "\\KV20.PNG : " + c.cause),
              std::string::npos);
    for (const auto& name : FolderNames(folder)) DeleteFileA((folder + "\\" + name).c_str());
  }
}

TEST_F(DezoDozi, WritesGoInBlocksAndStayByteIdentical) {
  // 5000 sectors are read 50 at a time; a run is written once per request it spans.
  int writes = 0;
  ScopedSeam<TOutputFileSeam> counting{{.Write = [&](HANDLE file, const void* data, DWORD size, DWORD* written) {
    ++writes;
    return WriteFile(file, data, size, written, nullptr);
  }}};
  MakeImage(5000, {{7, jpg_}, {2345, png_}, {2346, jpg_}});
  ASSERT_EQ(engine_->CurrentDrive->SectorsPerRequest, 50);
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(Carved("KV7.JPG"), Sectors(7, 2338));
  EXPECT_EQ(Carved("KV2345.PNG"), Sectors(2345, 1));
  EXPECT_EQ(Carved("KV2346.JPG"), Sectors(2346, 5000 - 2346));
  EXPECT_LE(writes, 5000 / 50 + 3);
}


// Every carved file reaches the correction library once, whichever way its run ended: at
// the next hit, at the JPEG cap, at the end of the drive or, stopped, at the next pass.
std::vector<std::string> gCorrected;
int32_t __stdcall RecordCorrection(const char* fileName) {
  const std::string path = fileName;
  gCorrected.push_back(path.substr(path.rfind('\\') + 1));
  return 0;
}

TEST_F(DezoDozi, EveryCarvedFileIsCorrectedExactlyOnce) {
  gCorrected.clear();
  intDorvane::CorrectFile = RecordCorrection;
  const uint32_t capSectors = kCarvedJPEGCap / 512;
  MakeImage(capSectors + 200, {{3, jpg_}, {4, png_}, {9, jpg_}, {capSectors + 100, skip_}, {capSectors + 150, png_}});
  engine_->ScanDrive(kTestLetter);
  const std::vector<std::string> once = {"KV3.JPG", "KV4.PNG", "KV9.JPG", "KV" + std::to_string(capSectors + 150) + ".PNG"};
  EXPECT_EQ(gCorrected, once);
  EXPECT_EQ(saved_, once);

  // A stopped pass hands over its open file; the next pass does not hand it over again.
  gCorrected.clear();
  engine_->OnProgress = [this](TObject*, int32_t sector) {
    if (sector >= 9) engine_->Cancel();
  };
  engine_->ScanDrive(kTestLetter);
  engine_->OnProgress = nullptr;
  engine_->ScanDrive(kTestLetter);
  std::vector<std::string> sorted = gCorrected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  for (const auto& name : FolderNames(out_.Path() + "DezoDozi"))
    EXPECT_EQ(std::count(gCorrected.begin(), gCorrected.end(), name), name.find('_') == std::string::npos ? 0 : 1)
        << name;
}

}  // namespace
