#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

#include "engine/CardBackup.h"
#include "engine/OutputFile.h"
#include "engine/Utils.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/PassFixtures.h"

namespace {

TDiskImage NumberedImage(uint32_t sectors) {
  TDiskImage image;
  image.Bytes.assign(size_t(sectors) * 512, 0);
  for (uint32_t s = 0; s < sectors; ++s) {
    std::memcpy(image.Bytes.data() + size_t(s) * 512, &s, 4);
    image.Bytes[size_t(s) * 512 + 511] = 0xA5;
  }
  return image;
}

TDiskImage FilledImage(uint32_t sectors, uint8_t value) {
  TDiskImage image;
  image.Bytes.assign(size_t(sectors) * 512, value);
  return image;
}

TSEDriveInformation* AttachCard(TScanEngine& engine, uint32_t sectors, uint8_t mediaType = 2) {
  TSEDriveInformation* record = AttachDrive(engine, sectors);
  record->MediaType = mediaType;
  return record;
}

std::vector<uint8_t> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> BackupOf(uint32_t declared, const std::vector<uint8_t>& sectors) {
  std::vector<uint8_t> bytes{uint8_t(declared), uint8_t(declared >> 8), uint8_t(declared >> 16),
                             uint8_t(declared >> 24)};
  bytes.insert(bytes.end(), sectors.begin(), sectors.end());
  return bytes;
}

// A backup file in the temporary folder, removed when the test ends.
class CardBackupTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const auto& file : files_) DeleteFileA(file.c_str());
  }
  std::string TempFile(const std::string& name) {
    files_.insert(GetTempFolder() + name);
    return GetTempFolder() + name;
  }

 private:
  std::set<std::string> files_;
};

// Volume calls whose writes to chosen sectors always fail.
class FailingWrites : public TImageVolumeCalls {
 public:
  FailingWrites(TDiskImage& image, std::set<uint32_t> bad) : TImageVolumeCalls(image, kTestLetter), bad_(bad) {}
  DWORD SetFilePointer(HANDLE handle, LONG low, LONG* high, DWORD method) override {
    sector_ = static_cast<uint32_t>(((uint64_t(high ? uint32_t(*high) : 0) << 32) | uint32_t(low)) / 512);
    return TImageVolumeCalls::SetFilePointer(handle, low, high, method);
  }
  BOOL WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* done) override {
    if (bad_.count(sector_)) {
      SetLastError(ERROR_WRITE_FAULT);
      return FALSE;
    }
    return TImageVolumeCalls::WriteFile(handle, buffer, size, done);
  }

 private:
  std::set<uint32_t> bad_;
  uint32_t sector_ = 0;
};

}  // namespace

TEST_F(CardBackupTest, RoundTripOntoASecondCardIsByteIdenticalWithUnreadableSectorsAsZeros) {
  constexpr uint32_t kSectors = 31360;  // a 16 MB card
  TDiskImage source = NumberedImage(kSectors);
  source.BadSectors = {300, 301};
  TImageVolumeCalls sourceCalls(source, kTestLetter);
  auto engine = MakeNtEngine(sourceCalls);
  AttachCard(*engine, kSectors);
  std::vector<int32_t> readErrors;
  int progress = 0;
  engine->OnReadError = [&](int32_t sector, int32_t kind) {
    EXPECT_EQ(kind, 1);
    readErrors.push_back(sector);
  };
  engine->OnProgress = [&](TObject*, int32_t) { ++progress; };

  // The folder comes without its backslash: the file must still land inside it.
  std::string folder = GetTempFolder();
  folder.pop_back();
  const std::string file = TempFile("kv_backup_card.KV3");
  ASSERT_TRUE(engine->BackupCard("kv_backup_card", folder));
  EXPECT_EQ(readErrors, (std::vector<int32_t>{300, 301}));
  EXPECT_GT(progress, 1);

  const std::vector<uint8_t> backup = ReadWhole(file);
  ASSERT_EQ(backup.size(), 4 + size_t(kSectors) * 512);
  EXPECT_EQ(std::vector<uint8_t>(backup.begin(), backup.begin() + 4), (std::vector<uint8_t>{0x80, 0x7A, 0x00, 0x00}));

  TDiskImage expected = source;
  std::memset(expected.Bytes.data() + 300 * 512, 0, 2 * 512);
  EXPECT_TRUE(std::equal(expected.Bytes.begin(), expected.Bytes.end(), backup.begin() + 4));

  TDiskImage target = FilledImage(kSectors + 8, 0xEE);
  TImageVolumeCalls targetCalls(target, kTestLetter);
  auto restorer = MakeNtEngine(targetCalls);
  AttachCard(*restorer, kSectors + 8);
  int32_t announced = -1;
  restorer->OnRestoreSectorCount = [&](int32_t count) { announced = count; };
  ASSERT_TRUE(restorer->RestoreCard(file, "q:"));
  EXPECT_EQ(announced, int32_t(kSectors));
  EXPECT_TRUE(std::equal(expected.Bytes.begin(), expected.Bytes.end(), target.Bytes.begin()));
  // Sectors beyond the backup stay as they were.
  EXPECT_EQ(target.Bytes[size_t(kSectors) * 512], 0xEE);
  EXPECT_EQ(target.Bytes.size(), size_t(kSectors + 8) * 512);
}

TEST_F(CardBackupTest, RoundTripThroughThe98FamilyDevice) {
  constexpr uint32_t kSectors = 2000;
  TDiskImage source = NumberedImage(kSectors);
  TImageVolumeCalls sourceCalls(source, kTestLetter);
  TVxdEmulator sourceVxd(source, kTestDrive);
  auto engine = Make98Engine(sourceCalls, sourceVxd);
  AttachCard(*engine, kSectors);
  const std::string file = TempFile("kv_backup_98.KV3");
  ASSERT_TRUE(engine->BackupCard("kv_backup_98", GetTempFolder()));

  TDiskImage target = FilledImage(kSectors, 0);
  TImageVolumeCalls targetCalls(target, kTestLetter);
  TVxdEmulator targetVxd(target, kTestDrive);
  auto restorer = Make98Engine(targetCalls, targetVxd);
  AttachCard(*restorer, kSectors);
  ASSERT_TRUE(restorer->RestoreCard(file, "Q"));
  EXPECT_EQ(target.Bytes, source.Bytes);
}

TEST_F(CardBackupTest, RefusalsFireTheirCodes) {
  const std::string big = TempFile("kv_backup_big.KV3");
  WriteWhole(big, BackupOf(64, std::vector<uint8_t>(64 * 512, 1)));  // a larger card's backup
  const std::string tiny = TempFile("kv_backup_tiny.KV3");
  WriteWhole(tiny, {0x10, 0x00});
  const std::string empty = TempFile("kv_backup_empty.KV3");
  WriteWhole(empty, {});
  const std::string none = TempFile("kv_backup_none.KV3");
  WriteWhole(none, BackupOf(0, std::vector<uint8_t>(4 * 512, 1)));
  // Ten sectors announced, five and a bit present: the card must not get the five.
  const std::string cut = TempFile("kv_backup_cut.KV3");
  WriteWhole(cut, BackupOf(10, std::vector<uint8_t>(5 * 512 + 100, 0x11)));
  const std::string missing = GetTempFolder() + "kv_backup_missing.KV3";
  const std::string folder = GetTempFolder() + "kv_backup_folder.KV3";
  CreateDirectoryA(folder.c_str(), nullptr);

  struct Case {
    const char* what;
    uint8_t mediaType;
    bool backup;
    std::string file;
    int32_t code;
    std::string text;
  };
  const std::string removable = "Drive Must be Removable";
  const Case cases[] = {
      {"backup of a fixed drive", 3, true, "", 80, removable},
      {"restore onto a fixed drive", 3, false, big, 81, removable},
      {"restore onto a smaller card", 2, false, big, 82, "Destination Drive Not Big Enough"},
      {"restore of a missing file", 2, false, missing, 83, "Backup File Not Found"},
      {"restore of a folder", 2, false, folder, 84, "Backup File Is A Folder"},
      {"restore of an empty file", 2, false, empty, 86, "Backup File Is Empty"},
      {"restore of a file without header", 2, false, tiny, 87, "Backup File Has No Header"},
      {"restore of a header of 0 sectors", 2, false, none, 88, "Backup File Holds No Sectors"},
      {"restore of a cut backup", 2, false, cut, 89, "Backup File Is Incomplete"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDiskImage image = FilledImage(32, 0xEE);
    TImageVolumeCalls calls(image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    AttachCard(*engine, 32, c.mediaType);
    std::vector<std::pair<int32_t, std::string>> errors;
    engine->OnError = [&](int32_t errorCode, const String& errorText) { errors.emplace_back(errorCode, errorText); };
    bool announced = false;
    engine->OnRestoreSectorCount = [&](int32_t) { announced = true; };
    const bool result = c.backup ? engine->BackupCard("kv_backup_refused", GetTempFolder())
                                 : engine->RestoreCard(c.file, "Q");
    EXPECT_FALSE(result);
    EXPECT_EQ(errors, (std::vector<std::pair<int32_t, std::string>>{{c.code, c.text}}));
    EXPECT_FALSE(announced);
    EXPECT_EQ(image.Bytes, std::vector<uint8_t>(32 * 512, 0xEE));
  }
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(GetFileAttributesA((GetTempFolder() + "kv_backup_refused.KV3").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CardBackupTest, RestoreReportsAndSkipsSectorsThatCannotBeWrittenAndFails) {
  const std::string file = TempFile("kv_backup_skip.KV3");
  WriteWhole(file, BackupOf(8, std::vector<uint8_t>(8 * 512, 0x22)));
  TDiskImage image = FilledImage(8, 0xEE);
  FailingWrites calls(image, {3});
  auto engine = MakeNtEngine(calls);
  AttachCard(*engine, 8);
  std::vector<int32_t> failed;
  engine->OnReadError = [&](int32_t sector, int32_t kind) {
    EXPECT_EQ(kind, 1);
    failed.push_back(sector);
  };
  std::vector<int32_t> codes;
  engine->OnError = [&](int32_t code, const String&) { codes.push_back(code); };
  EXPECT_FALSE(engine->RestoreCard(file, "Q"));
  EXPECT_EQ(failed, (std::vector<int32_t>{3}));
  EXPECT_EQ(codes, std::vector<int32_t>{90});
  EXPECT_EQ(image.Bytes[3 * 512], 0xEE);
  EXPECT_EQ(std::count(image.Bytes.begin(), image.Bytes.end(), 0x22), 7 * 512);
}

// A backup under a name already taken replaces the earlier file only once the new copy is
// whole: refused, failed or cancelled, it leaves the folder as it found it.
TEST_F(CardBackupTest, AnEarlierBackupIsReplacedOnlyByAWholeNewOne) {
  TScratchFolder folder("kv_backup_replace.");
  const std::string file = folder.Path() + "card.KV3";
  const std::vector<uint8_t> earlier = BackupOf(2, std::vector<uint8_t>(2 * 512, 0x5A));
  const struct {
    const char* what;
    uint8_t mediaType;
    std::function<void(TScanEngine&)> step;  // at the first progress
  } cases[] = {
      {"refused", 3, nullptr},
      {"cancelled", 2, [](TScanEngine& engine) { engine.Cancel(); }},
      {"failed", 2, [](TScanEngine&) { throw Exception("the card went away"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteWhole(file, earlier);
    TDiskImage image = NumberedImage(4096);
    TImageVolumeCalls calls(image, kTestLetter);
    auto engine = MakeNtEngine(calls);
    AttachCard(*engine, 4096, c.mediaType);
    if (c.step) engine->OnProgress = [&](TObject*, int32_t) { c.step(*engine); };
    EXPECT_FALSE(engine->BackupCard("card", folder.Path()));
    EXPECT_FALSE(engine->StopRequested);
    EXPECT_EQ(ReadWhole(file), earlier);
    EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::string>{"card.KV3"});
  }
  TDiskImage image = NumberedImage(16);
  TImageVolumeCalls calls(image, kTestLetter);
  auto engine = MakeNtEngine(calls);
  AttachCard(*engine, 16);
  ASSERT_TRUE(engine->BackupCard("card", folder.Path()));
  EXPECT_EQ(ReadWhole(file), BackupOf(16, image.Bytes));
  EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::string>{"card.KV3"});
}

// The copy is written into a file the backup makes new: a user's file of any name it
// might pick stays as it was, and a copy the drive cannot take leaves nothing behind.
TEST_F(CardBackupTest, TheCopyIsAlwaysANewFileNeverAUsersOne) {
  TScratchFolder folder("kv_backup_temporary");
  const std::vector<std::string> users = {"card.KV3.tmp", "card.KV3_2.tmp", "KV31A2B.tmp", "KV3FFFF.tmp"};
  for (const std::string& name : users) WriteTextFile(folder.Path() + name, "a user's " + name);
  std::vector<std::string> expected = users;
  expected.push_back("card.KV3");
  std::sort(expected.begin(), expected.end());
  auto usersIntact = [&] {
    for (const std::string& name : users) EXPECT_EQ(ReadWholeFile(folder.Path() + name), "a user's " + name) << name;
  };

  TDiskImage image = NumberedImage(64);
  TImageVolumeCalls calls(image, kTestLetter);
  auto engine = MakeNtEngine(calls);
  AttachCard(*engine, 64);
  ASSERT_TRUE(engine->BackupCard("card", folder.Path()));
  usersIntact();
  EXPECT_EQ(ReadWhole(folder.Path() + "card.KV3"), BackupOf(64, image.Bytes));
  EXPECT_EQ(FolderNames(folder.Path()), expected);

  // A drive that fills up half-way: the earlier backup and the user's files stay, and no
  // part of the copy does.
  int writes = 0;
  ScopedSeam<TOutputFileSeam> full{{.Write = [&](HANDLE file, const void* data, DWORD size, DWORD* written) {
    if (++writes < 10) return ::WriteFile(file, data, size, written, nullptr);
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }}};
  EXPECT_FALSE(engine->BackupCard("card", folder.Path()));
  usersIntact();
  EXPECT_EQ(ReadWhole(folder.Path() + "card.KV3"), BackupOf(64, image.Bytes));
  EXPECT_EQ(FolderNames(folder.Path()), expected);
}

TEST_F(CardBackupTest, ABackupThatCannotBeWrittenFails) {
  TDiskImage image = NumberedImage(16);
  TImageVolumeCalls calls(image, kTestLetter);
  auto engine = MakeNtEngine(calls);
  AttachCard(*engine, 16);
  EXPECT_FALSE(engine->BackupCard("card", GetTempFolder() + "kv_no_such_folder\\"));
}

namespace {

std::unique_ptr<TScanEngine> SystemEngine() {
  TSEPlatform platform;
  platform.VersionCode = 7;
  platform.IsNT = true;
  return TScanEngine::Make(platform);
}

}  // namespace

// Runs in its own invocation, with V: and W: mapped to the images it writes.
class MappedCardBackup : public CardBackupTest {};

TEST_F(MappedCardBackup, BacksUpAndRestoresOntoAnotherMappedCard) {
  const std::vector<uint8_t> card = ReadWhole("testdata/mkfs12.img");
  ASSERT_FALSE(card.empty()) << "testdata/mkfs12.img was not made before the tests";
  ASSERT_TRUE(LetterMapped('V'));
  ASSERT_TRUE(LetterMapped('W'));
  WriteWhole("testdata/backup-v.img", card);
  WriteWhole("testdata/backup-w.img", std::vector<uint8_t>(card.size() + 64 * 512, 0xEE));
  const std::string file = TempFile("kv_mapped_card.KV3");
  {
    auto engine = SystemEngine();
    TSEDriveInformation* info = nullptr;
    ASSERT_TRUE(engine->GetDriveSelectedInformation("V", info));
    engine->CurrentDrive = info;
    ASSERT_TRUE(engine->BackupCard("kv_mapped_card", GetTempFolder()));
    int32_t announced = 0;
    engine->OnRestoreSectorCount = [&](int32_t count) { announced = count; };
    ASSERT_TRUE(engine->RestoreCard(file, "W:\\"));
    EXPECT_EQ(size_t(announced) * 512, card.size());
  }
  const std::vector<uint8_t> restored = ReadWhole("testdata/backup-w.img");
  ASSERT_EQ(restored.size(), card.size() + 64 * 512);
  EXPECT_TRUE(std::equal(card.begin(), card.end(), restored.begin()));
  EXPECT_EQ(restored.back(), 0xEE);

  // The bigger card's backup does not fit back onto the smaller one.
  auto engine = SystemEngine();
  TSEDriveInformation* info = nullptr;
  ASSERT_TRUE(engine->GetDriveSelectedInformation("W", info));
  engine->CurrentDrive = info;
  ASSERT_TRUE(engine->BackupCard("kv_mapped_big", GetTempFolder()));
  TempFile("kv_mapped_big.KV3");
  int32_t code = 0;
  engine->OnError = [&](int32_t errorCode, const String&) { code = errorCode; };
  EXPECT_FALSE(engine->RestoreCard(GetTempFolder() + "kv_mapped_big.KV3", "V"));
  EXPECT_EQ(code, 82);
}
