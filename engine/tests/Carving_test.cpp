#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "engine/Carving.h"
#include "engine/Debug.h"
#include "engine/FileTypes.h"
#include "engine/OutputFile.h"
#include "engine/Utils.h"
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
  // Reads covering a sector of `bad` fail with that sector's error.
  void FailReads(const std::map<uint32_t, DWORD>& bad) {
    volumes_.BeforeRead = [bad](uint32_t sector, uint32_t count) -> DWORD {
      const auto it = bad.lower_bound(sector);
      return it != bad.end() && it->first < sector + count ? it->second : 0;
    };
  }
  // A fresh start for the next case of a table: no error log, carved file, event or drive.
  void StartAgain() {
    StartLogs();
    DeleteFileA(LogFileName("Errors").c_str());
    RemoveScratchTree(out_.Path() + "DezoDozi");
    readErrors_.clear();
    finished_.clear();
    engine_->Drives.ClearAndFree();
  }
  static std::string Zeros(uint32_t sectors) { return std::string(size_t(sectors) * 512, '\0'); }
  static bool ErrorLogHas(const std::string& text) {
    return ReadWholeFile(LogFileName("Errors")).find(text) != std::string::npos;
  }

  TDiskImage image_;
  TWatchedVolumeCalls volumes_{image_, kTestLetter};
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

// One sector per request: every failure is one error of the policy. Errors 87 (a read
// past the end) are ordinary up to the 21st, the 22nd ends the pass; 1117 ends it after
// more than ten of them; a drive that went away ends it at once. The sector the pass
// ends on is carved as zeros and not reported.
TEST_F(DezoDozi, ReadErrorsEndThePassByTheirRules) {
  std::map<uint32_t, DWORD> past, io10, io11;
  for (uint32_t s = 100; s < 150; ++s) past[s] = ERROR_INVALID_PARAMETER;
  for (uint32_t s = 100; s < 110; ++s) io10[s] = io11[s] = ERROR_INVALID_PARAMETER;
  io10[110] = ERROR_IO_DEVICE;
  io11[110] = ERROR_INVALID_PARAMETER;
  io11[111] = ERROR_IO_DEVICE;
  const struct {
    const char* what;
    std::map<uint32_t, DWORD> bad;
    uint32_t reported;  // read errors from sector 100 on
    uint32_t endsAt;    // the sector the pass ends on; 0: it reads to the end
    const char* logged;
  } cases[] = {
      {"50 errors 87", past, 21, 121, nullptr},
      {"1117 after 10 errors 87", io10, 11, 0, "Error in Reading : ERROR_IO_DEVICE"},
      {"1117 after 11 errors 87", io11, 11, 111, "Error in Reading : ERROR_IO_DEVICE"},
      {"error 15", {{100, ERROR_INVALID_DRIVE}}, 0, 100, "Fatal Error : ERROR_INVALID_DRIVE"},
      {"error 20", {{100, ERROR_BAD_UNIT}}, 0, 100, "Fatal Error : ERROR_BAD_UNIT"},
      {"error 21", {{100, ERROR_NOT_READY}}, 0, 100, "Fatal Error : ERROR_NOT_READY"},
      {"error 30", {{100, ERROR_READ_FAULT}}, 0, 100, "Fatal Error : ERROR_READ_FAULT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartAgain();
    MakeImage(150, {{10, jpg_}});
    ASSERT_EQ(engine_->CurrentDrive->SectorsPerRequest, 1);
    FailReads(c.bad);
    engine_->ScanDrive(kTestLetter);
    std::vector<int32_t> reported(c.reported);
    std::iota(reported.begin(), reported.end(), 100);
    EXPECT_EQ(readErrors_, reported);
    EXPECT_EQ(finished_, std::vector<uint8_t>{2});
    std::string expected = Sectors(10, 90);
    if (c.endsAt) {
      expected += Zeros(c.endsAt + 1 - 100);
    } else {
      expected += Zeros(c.reported) + Sectors(100 + c.reported, 50 - c.reported);
    }
    EXPECT_EQ(Carved("KV10.JPG"), expected);
    if (c.logged) {
      EXPECT_TRUE(ErrorLogHas(c.logged));
    }
    EXPECT_EQ(ErrorLogHas("Fatal Error : "), c.endsAt == 100);
  }
}

// A pulled card fails the first chunk of a request: the pass carves that one sector as
// zeros, not the whole request; the sector-by-sector reads of a failed request end the
// pass by the same rules.
TEST_F(DezoDozi, APulledCardEndsThePassAtTheSectorItFailedOn) {
  std::map<uint32_t, DWORD> pulled, pulledLater;
  for (uint32_t s = 128; s < 400; ++s) pulled[s] = pulledLater[s] = ERROR_NOT_READY;
  for (uint32_t s = 128; s < 140; ++s) pulledLater.erase(s);
  pulledLater[130] = ERROR_CRC;
  const struct {
    const char* what;
    std::map<uint32_t, DWORD> bad;
    std::vector<int32_t> reported;
    uint32_t carvedTo;  // the first sector not carved
  } cases[] = {
      {"at a request's start", pulled, {}, 129},
      {"inside a request that failed on another sector", pulledLater, {130}, 141},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartAgain();
    MakeImage(400, {{10, jpg_}});
    engine_->CurrentDrive->SectorsPerRequest = 64;
    FailReads(c.bad);
    engine_->ScanDrive(kTestLetter);
    EXPECT_EQ(readErrors_, c.reported);
    std::string expected = Sectors(10, c.carvedTo - 10);
    for (const auto& [sector, error] : c.bad)
      if (sector < c.carvedTo) std::fill_n(expected.begin() + (sector - 10) * 512, 512, '\0');
    EXPECT_EQ(Carved("KV10.JPG"), expected);
    EXPECT_TRUE(ErrorLogHas("Fatal Error : ERROR_NOT_READY"));
  }
}

// The output drive fills up: the request that found no room is still carved, then the
// pass ends and says why.
TEST_F(DezoDozi, AFullOutputDriveEndsThePass) {
  StartLogs();
  DeleteFileA(LogFileName("Errors").c_str());
  MakeImage(2000, {{10, jpg_}, {500, png_}});
  uint64_t room = 100 * 512;
  ScopedSeam<TSystemSeam> space({.FreeSpace = [&](const std::string&, uint64_t& free) {
    free = room;
    room = room > 20 * 512 ? room - 20 * 512 : 0;
    return true;
  }});
  engine_->ScanDrive(kTestLetter);
  EXPECT_EQ(engine_->TakeLastError(), 5u);
  EXPECT_EQ(finished_, std::vector<uint8_t>{2});
  EXPECT_EQ(saved_, std::vector<std::string>{"KV10.JPG"});
  EXPECT_EQ(Carved("KV10.JPG"), Sectors(10, 5 * 20 - 10));  // five requests of 20 sectors
  EXPECT_TRUE(ErrorLogHas("No space left on drive " + out_.Path().substr(0, 1) + " to save RAW Files"));
}

// The files saved again through their chains may hold several streams: each goes to the
// library's splitter by its full path, the carved files and other types do not.
std::vector<std::string> gDissected;
BOOL __stdcall RecordDissection(const char* fileName) {
  gDissected.push_back(fileName);
  return FALSE;
}

TEST_F(DezoDozi, EveryResavedJpegGoesToTheSplitter) {
  const std::string folder = out_.Path() + "DezoDozi\\";
  ForceDirectories(folder);
  for (const char* name : {"KVF100.JPG", "KVF7.jpg", "KV100.JPG", "KVF8.PNG"}) WriteTextFile(folder + name, name);
  const auto bound = std::exchange(intDorvane::DissectJPEG, nullptr);
  engine_->DissectCarvedJPEGs();  // unbound: nothing happens
  gDissected.clear();
  intDorvane::DissectJPEG = RecordDissection;
  engine_->DissectCarvedJPEGs();
  intDorvane::DissectJPEG = bound;
  std::sort(gDissected.begin(), gDissected.end());
  EXPECT_EQ(gDissected, (std::vector<std::string>{folder + "KVF100.JPG", folder + "KVF7.jpg"}));
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
