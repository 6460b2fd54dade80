#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "engine/tests/EngineFixtures.h"
#include "engine/tests/FatImageBuilder.h"
#include "framework/core/littleendian.h"

namespace {

// Every byte non-zero, so that whatever the erase leaves alone is easy to tell apart.
void Scribble(TDiskImage& image, uint32_t from) {
  for (size_t i = size_t(from) * 512; i < image.Bytes.size(); ++i) image.Bytes[i] = static_cast<uint8_t>(i * 7 % 255 + 1);
}

// The first bytes of an empty FAT: the two reserved entries and, on FAT32, the root
// directory's cluster 2 as a chain of one; nothing else is taken.
std::vector<uint8_t> EmptyFatHeader(int fatType) {
  switch (fatType) {
    case 1: return {0xF0, 0xFF, 0xFF};
    case 2: return {0xF8, 0xFF, 0xFF, 0xFF};
    default: return {0xF8, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F};
  }
}

// The FAT32 information sector an erase writes: every cluster but the root's is free,
// and there is no hint where to look for one.
void WriteErasedFsInfo(const TFatImageBuilder& fat, uint8_t* info) {
  std::fill_n(info, 512, 0);
  StoreLE32(info, 0x41615252);
  StoreLE32(info + 484, 0x61417272);
  StoreLE32(info + 488, (fat.TotalSectors - fat.FirstDataSector) / fat.SectorsPerCluster - 1);
  StoreLE32(info + 492, 0xFFFFFFFF);
  StoreLE32(info + 508, 0xAA550000);
}

// What an erase of a consistent FAT volume must leave: the first FAT entry carries the
// boot sector's media byte.
std::vector<uint8_t> ErasedFat(const TFatImageBuilder& fat, const std::vector<uint8_t>& before) {
  std::vector<uint8_t> after = before;
  const size_t from = size_t(fat.ReservedSectors) * 512;
  const size_t to = size_t(fat.TotalSectors) * 512;
  std::fill(after.begin() + from, after.begin() + to, 0);
  std::vector<uint8_t> header = EmptyFatHeader(fat.FatType);
  header[0] = before[21];
  for (size_t copy : {size_t(fat.ReservedSectors), size_t(fat.ReservedSectors) + fat.FATSize})
    std::copy(header.begin(), header.end(), after.begin() + copy * 512);
  if (fat.FatType == 3) WriteErasedFsInfo(fat, after.data() + 512);  // the builder puts it in sector 1
  return after;
}

// Volume calls whose writes of a chosen sector fail a given number of times.
class FailingWrites : public TImageVolumeCalls {
 public:
  FailingWrites(TDiskImage& image, uint32_t sector, int failures)
      : TImageVolumeCalls(image, kTestLetter), bad_(sector), failures_(failures) {}
  int Attempts = 0;
  DWORD SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) override {
    sector_ = static_cast<uint32_t>(uint32_t(low) / 512);
    return TImageVolumeCalls::SetFilePointer(handle, low, high, method);
  }
  BOOL WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* done) override {
    if (sector_ <= bad_ && bad_ < sector_ + size / 512) {
      ++Attempts;
      if (failures_-- > 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
      }
    }
    return TImageVolumeCalls::WriteFile(handle, buffer, size, done);
  }

 private:
  uint32_t bad_;
  int failures_;
  uint32_t sector_ = 0;
};

}  // namespace

// Whatever the system names the file system (its own FAT type; or, for a card image under
// Wine, nothing, the host folder's "NTFS", or "FAT" taken for FAT12), the boot sector
// decides, and the card stays a FAT card of its own type.
TEST(SecureErase, FatVolumesGetEmptyTablesAndZerosBehindAnUntouchedBootSector) {
  struct Case {
    int fatType;
    uint32_t clusters;
  };
  const Case cases[] = {{1, 2000}, {2, 5000}, {3, 66000}};
  for (const Case& c : cases) {
    for (const int named : {c.fatType, 0, 4, c.fatType == 1 ? 2 : 1}) {
      SCOPED_TRACE(std::to_string(c.fatType) + " named " + std::to_string(named));
      TFatImageBuilder fat(c.fatType, c.clusters);
      Scribble(fat.Image, 1);
      const std::vector<uint8_t> before = fat.Image.Bytes;
      TImageVolumeCalls calls(fat.Image, kTestLetter);
      auto engine = MakeNtEngine(calls);
      AttachDrive(*engine, fat.Image.Sectors(), static_cast<uint8_t>(named));
      int finished = 0;
      engine->OnFinished = [&](uint8_t code) { finished = code; };
      ASSERT_TRUE(engine->SecureErase('q'));
      EXPECT_EQ(finished, 3);
      EXPECT_EQ(engine->LastError, 0u);
      EXPECT_EQ(engine->CurrentSector, fat.TotalSectors);
      EXPECT_TRUE(fat.Image.Bytes == ErasedFat(fat, before));
    }
  }
}

// Systems refuse a volume whose first FAT entry does not repeat the boot sector's media
// byte; one that no FAT may carry gets the table's usual F0 (FAT12) or F8.
TEST(SecureErase, TheFirstFatEntryRepeatsTheBootSectorsMediaByte) {
  struct Case {
    int fatType;
    uint32_t clusters;
    uint8_t media;
    uint8_t expected;
  };
  const Case cases[] = {
      {1, 2000, 0xF8, 0xF8},  {1, 2000, 0xF0, 0xF0},  {1, 2000, 0xF9, 0xF9}, {2, 5000, 0xF0, 0xF0},
      {3, 66000, 0xF0, 0xF0}, {1, 2000, 0x12, 0xF0},  {2, 5000, 0x00, 0xF8}, {3, 66000, 0xEF, 0xF8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.fatType) + " media " + std::to_string(c.media));
    TFatImageBuilder fat(c.fatType, c.clusters);
    fat.Sector(0)[21] = c.media;
    Scribble(fat.Image, 1);
    TImageVolumeCalls calls(fat.Image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    AttachDrive(*engine, fat.Image.Sectors(), static_cast<uint8_t>(c.fatType));
    ASSERT_TRUE(engine->SecureErase('Q'));
    for (const uint32_t copy : {uint32_t(fat.ReservedSectors), fat.ReservedSectors + fat.FATSize}) {
      std::vector<uint8_t> header = EmptyFatHeader(c.fatType);
      header[0] = c.expected;
      EXPECT_TRUE(std::equal(header.begin(), header.end(), fat.Sector(copy))) << "FAT copy at " << copy;
    }
    EXPECT_EQ(fat.Sector(0)[21], c.media) << "the boot sector stays";
  }
}

// A label in the boot sector is repeated by an entry in the root, or the volume is
// faulty: the emptied root keeps that one entry.
TEST(SecureErase, TheEmptiedRootKeepsTheVolumesLabel) {
  for (const int fatType : {2, 3}) {
    SCOPED_TRACE(fatType);
    TFatImageBuilder fat(fatType, fatType == 3 ? 66000 : 5000);
    std::memcpy(fat.Sector(0) + (fatType == 3 ? 71 : 43), "HOLIDAY    ", 11);
    Scribble(fat.Image, 1);
    std::vector<uint8_t> expected = ErasedFat(fat, fat.Image.Bytes);
    std::copy_n("HOLIDAY    \x08", 12, expected.begin() + size_t(fat.RootDirSector) * 512);
    TImageVolumeCalls calls(fat.Image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    AttachDrive(*engine, fat.Image.Sectors(), static_cast<uint8_t>(fatType));
    int32_t last = -1;
    engine->OnProgress = [&](TObject*, int32_t position) { last = position; };
    ASSERT_TRUE(engine->SecureErase('Q'));
    EXPECT_TRUE(fat.Image.Bytes == expected);
    EXPECT_EQ(engine->CurrentSector, fat.TotalSectors);
    EXPECT_EQ(last, int32_t(fat.TotalSectors)) << "the end is reported last";
  }
}

// A FAT32 information sector counts the free clusters: after the erase, all but the
// root's, or the volume reports less space than it has.
TEST(SecureErase, AFat32InformationSectorCountsEveryClusterButTheRootsAsFree) {
  TFatImageBuilder fat(3, 66000);
  ASSERT_EQ(LoadLE16(fat.Sector(0) + 48), 1u);
  StoreLE32(fat.Sector(1) + 488, 12);  // the count of a card that held files
  const std::vector<uint8_t> before = fat.Image.Bytes;
  TImageVolumeCalls calls(fat.Image, kTestLetter);
  auto engine = MakeNtEngine(calls);
  AttachDrive(*engine, fat.Image.Sectors(), 3);
  ASSERT_TRUE(engine->SecureErase('Q'));
  EXPECT_EQ(LoadLE32(fat.Sector(1) + 488), 65999u);
  EXPECT_TRUE(fat.Image.Bytes == ErasedFat(fat, before));
  EXPECT_EQ(engine->CurrentSector, fat.TotalSectors) << "the sector reached stays the erase's";
}

TEST(SecureErase, ThroughThe98FamilyDevice) {
  TFatImageBuilder fat(2, 5000);
  Scribble(fat.Image, 1);
  const std::vector<uint8_t> before = fat.Image.Bytes;
  TImageVolumeCalls calls(fat.Image, kTestLetter);
  TVxdEmulator vxd(fat.Image, kTestDrive);
  auto engine = Make98Engine(calls, vxd);
  AttachDrive(*engine, fat.Image.Sectors(), 2);
  ASSERT_TRUE(engine->SecureErase('Q'));
  EXPECT_TRUE(fat.Image.Bytes == ErasedFat(fat, before));
}

TEST(SecureErase, OtherOrDamagedVolumesAreZeroedButForSectorZero) {
  struct Case {
    const char* what;
    uint8_t fileSystem;
    void (*damage)(TFatImageBuilder&);
  };
  const Case cases[] = {
      {"unknown file system", 0, [](TFatImageBuilder& f) { f.Sector(0)[11] = f.Sector(0)[12] = 0; }},
      {"NTFS", 4, [](TFatImageBuilder& f) { f.Sector(0)[14] = f.Sector(0)[15] = f.Sector(0)[16] = 0; }},
      {"no reserved sector", 2, [](TFatImageBuilder& f) { f.Sector(0)[14] = 0, f.Sector(0)[15] = 0; }},
      {"no FAT copy", 2, [](TFatImageBuilder& f) { f.Sector(0)[16] = 0; }},
      {"volume larger than the drive", 2, [](TFatImageBuilder& f) { f.Sector(0)[19] = 0xFF, f.Sector(0)[20] = 0xFF; }},
      {"unreadable boot sector", 1, [](TFatImageBuilder& f) { f.Image.BadSectors.insert(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFatImageBuilder fat(2, 5000);
    Scribble(fat.Image, 1);
    c.damage(fat);
    const std::vector<uint8_t> sector0(fat.Image.Bytes.begin(), fat.Image.Bytes.begin() + 512);
    TImageVolumeCalls calls(fat.Image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    AttachDrive(*engine, fat.Image.Sectors(), c.fileSystem);
    ASSERT_TRUE(engine->SecureErase('Q'));
    EXPECT_TRUE(std::equal(sector0.begin(), sector0.end(), fat.Image.Bytes.begin()));
    EXPECT_EQ(size_t(std::count(fat.Image.Bytes.begin() + 512, fat.Image.Bytes.end(), 0)),
              fat.Image.Bytes.size() - 512);
  }
}

// A chunk that no attempt could write leaves the card holding what it held: the erase goes
// on with the rest but fails; a retry that went through is no failure.
TEST(SecureErase, FailedWritesAreReportedPerChunkAndDoNotStopTheErase) {
  TFatImageBuilder fat(2, 5000);
  Scribble(fat.Image, 1);
  const uint32_t bad = fat.FirstDataSector + 10;
  struct Case {
    int failures;
    int attempts;
  };
  for (const Case c : {Case{1, 2}, Case{99, 4}}) {
    SCOPED_TRACE(c.failures);
    TDiskImage image = fat.Image;
    FailingWrites calls(image, bad, c.failures);
    auto engine = MakeNtEngine(calls);
    TSEDriveInformation* drive = AttachDrive(*engine, image.Sectors(), 2);
    std::vector<int32_t> errors;
    engine->OnWriteError = [&](int32_t sector, int32_t kind) {
      EXPECT_EQ(kind, 2);
      errors.push_back(sector);
    };
    int finished = 0;
    engine->OnFinished = [&](uint8_t code) { finished = code; };
    const bool written = c.failures < 4;
    EXPECT_EQ(engine->SecureErase('Q'), written);
    EXPECT_EQ(engine->LastError, written ? 0u : 2u);
    EXPECT_EQ(finished, 3) << "the erase still ran to its end";
    EXPECT_EQ(calls.Attempts, c.attempts);
    // The chunk holding the bad sector is the one reported.
    const uint32_t chunk = fat.FirstDataSector + (bad - fat.FirstDataSector) / drive->SectorsPerRequest *
                                                     drive->SectorsPerRequest;
    EXPECT_EQ(errors, (std::vector<int32_t>{int32_t(chunk)}));
    const bool zeroed = image.Bytes[size_t(bad) * 512 + 3] == 0;
    EXPECT_EQ(zeroed, written);
  }
}

// A card that takes no write at all (a write-protected card, an image on a read-only
// mount) is not erased, whatever the loop went through.
TEST(SecureErase, ACardThatTakesNoWriteIsNoErase) {
  class ReadOnlyCard : public TImageVolumeCalls {
   public:
    using TImageVolumeCalls::TImageVolumeCalls;
    BOOL WriteFile(HANDLE, const void*, DWORD, DWORD* done) override {
      *done = 0;
      SetLastError(ERROR_WRITE_PROTECT);
      return FALSE;
    }
  };
  for (const uint8_t fileSystem : {uint8_t(2), uint8_t(0)}) {
    SCOPED_TRACE(int(fileSystem));
    TFatImageBuilder fat(2, 5000);
    Scribble(fat.Image, 1);
    const std::vector<uint8_t> before = fat.Image.Bytes;
    ReadOnlyCard calls(fat.Image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    AttachDrive(*engine, fat.Image.Sectors(), fileSystem);
    int errors = 0;
    engine->OnWriteError = [&](int32_t, int32_t) { ++errors; };
    EXPECT_FALSE(engine->SecureErase('Q'));
    EXPECT_NE(engine->LastError, 0u);
    EXPECT_GT(errors, 0);
    EXPECT_TRUE(fat.Image.Bytes == before);
  }
}

// Without a size the erase has no end: it writes nothing and says why.
TEST(SecureErase, ADriveOfUnknownSizeIsRefused) {
  TDiskImage image;
  image.Bytes.assign(300 * 512, 0x5A);
  const std::vector<uint8_t> before = image.Bytes;
  TImageVolumeCalls calls(image, kTestLetter);
  auto engine = MakeNtEngine(calls);
  AttachDrive(*engine, 0);
  std::vector<int32_t> codes;
  engine->OnError = [&](int32_t code, const String&) { codes.push_back(code); };
  bool finished = false;
  engine->OnFinished = [&](uint8_t) { finished = true; };
  EXPECT_FALSE(engine->SecureErase('Q'));
  EXPECT_EQ(engine->LastError, uint32_t(kDriveSizeUnknown.Code));
  EXPECT_EQ(codes, std::vector<int32_t>{kDriveSizeUnknown.Code});
  EXPECT_FALSE(finished);
  EXPECT_EQ(calls.Writes, 0);
  EXPECT_TRUE(image.Bytes == before);
}

TEST(SecureErase, RefusedDrivesAreLeftAlone) {
  struct Case {
    const char* what;
    uint8_t driveNumber;
    bool cd;
  };
  for (const Case c : {Case{"CD drive", kTestDrive, true}, Case{"Windows drive", 3, false}}) {
    SCOPED_TRACE(c.what);
    TFatImageBuilder fat(1, 2000);
    const std::vector<uint8_t> before = fat.Image.Bytes;
    TImageVolumeCalls calls(fat.Image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    TSEDriveInformation* drive = AttachDrive(*engine, fat.Image.Sectors(), 1, c.driveNumber);
    drive->IsCD = c.cd;
    bool events = false;
    engine->OnFinished = [&](uint8_t) { events = true; };
    engine->OnProgress = [&](TObject*, int32_t) { events = true; };
    EXPECT_FALSE(engine->SecureErase(static_cast<char>('A' + c.driveNumber - 1)));
    EXPECT_EQ(engine->LastError, 1u);
    EXPECT_FALSE(events);
    EXPECT_TRUE(fat.Image.Bytes == before);
  }
}

TEST(SecureErase, AbortInTheTablesFailsAndInTheDataPassEndsWell) {
  for (const bool inData : {false, true}) {
    SCOPED_TRACE(inData);
    TFatImageBuilder fat(2, 5000);
    Scribble(fat.Image, 1);
    TImageVolumeCalls calls(fat.Image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    AttachDrive(*engine, fat.Image.Sectors(), 2);
    const uint32_t firstData = fat.FirstDataSector;
    int finished = 0;
    engine->OnFinished = [&](uint8_t code) { finished = code; };
    engine->OnProgress = [&](TObject*, int32_t sector) {
      if (!inData || uint32_t(sector) >= firstData) engine->Abort();
    };
    EXPECT_EQ(engine->SecureErase('Q'), inData);
    EXPECT_EQ(finished, inData ? 3 : 0);
    // The last sector of the volume was never reached either way.
    EXPECT_NE(fat.Image.Bytes[fat.Image.Bytes.size() - 1], 0);
  }
}

// Runs in its own invocation, with X: mapped to the image it writes.
TEST(MappedCardErase, Fat32CardIsErasedInPlace) {
  std::ifstream in("testdata/mkfs32.img", std::ios::binary);
  const std::vector<uint8_t> card{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(card.empty()) << "testdata/mkfs32.img was not made before the tests";
  ASSERT_TRUE(LetterMapped('X'));
  std::ofstream("testdata/erase-x.img", std::ios::binary)
      .write(reinterpret_cast<const char*>(card.data()), std::streamsize(card.size()));
  {
    TSEPlatform platform;
    platform.VersionCode = 7;
    platform.IsNT = true;
    auto engine = TScanEngine::Make(platform);
    TSEDriveInformation* drive = engine->FindDriveInformation('X');
    ASSERT_NE(drive, nullptr);
    // Wine names the file system from what the image held when its server first looked,
    // which may be before this test wrote the card.
    drive->FileSystem = 3;
    ASSERT_TRUE(engine->SecureErase('X'));
  }
  std::ifstream erasedFile("testdata/erase-x.img", std::ios::binary);
  const std::vector<uint8_t> erased{std::istreambuf_iterator<char>(erasedFile), std::istreambuf_iterator<char>()};
  ASSERT_EQ(erased.size(), card.size());
  TBootParameterBlock bpb;
  std::memcpy(&bpb, card.data(), sizeof bpb);
  const size_t fat1 = size_t(bpb.ReservedSectors) * 512;
  const size_t fat2 = fat1 + size_t(bpb.FATSize32) * 512;
  // The reserved sectors (boot sector, backup boot sector) stay, but for the information
  // sector's count of free clusters: all but the root's.
  const size_t info = size_t(bpb.FSInfo) * 512;
  ASSERT_GT(info, 0u);
  EXPECT_TRUE(std::equal(card.begin(), card.begin() + info, erased.begin()));
  EXPECT_TRUE(std::equal(card.begin() + info + 512, card.begin() + fat1, erased.begin() + info + 512));
  const std::vector<uint8_t> header = EmptyFatHeader(3);
  std::vector<uint8_t> expected(card.begin(), card.begin() + fat1);
  const uint32_t total = bpb.TotalSectors16 != 0 ? bpb.TotalSectors16 : bpb.TotalSectors32;
  const uint32_t firstData = bpb.ReservedSectors + bpb.NumberOfFATs * bpb.FATSize32;
  StoreLE32(expected.data() + info + 488, (total - firstData) / bpb.SectorsPerCluster - 1);
  StoreLE32(expected.data() + info + 492, 0xFFFFFFFF);
  expected.resize(card.size(), 0);
  std::copy(header.begin(), header.end(), expected.begin() + fat1);
  std::copy(header.begin(), header.end(), expected.begin() + fat2);
  // The root, cluster 2 at the data area's start, keeps the card's label.
  const size_t root = fat2 + size_t(bpb.FATSize32) * 512;
  std::copy_n("CARD32     \x08", 12, expected.begin() + root);
  EXPECT_TRUE(erased == expected);
}
