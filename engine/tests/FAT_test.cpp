#include <gtest/gtest.h>

#include <cstring>

#include "engine/tests/EngineFixtures.h"
#include "engine/tests/FatImageBuilder.h"

namespace {

// An engine reading a built volume through the NT volume calls.
struct FatRig {
  explicit FatRig(TFatImageBuilder& builder, uint8_t fileSystem = 0)
      : volumes(builder.Image, kTestLetter), engine(MakeNtEngine(volumes)) {
    AttachDrive(*engine, builder.TotalSectors, fileSystem);
  }
  TSEFAT& fat() { return *engine->FATReader; }
  TImageVolumeCalls volumes;
  std::unique_ptr<TScanEngine> engine;
};

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t v) {
  bytes[at] = static_cast<uint8_t>(v);
  bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  Put16(bytes, at, static_cast<uint16_t>(v));
  Put16(bytes, at + 2, static_cast<uint16_t>(v >> 16));
}

}  // namespace

TEST(FATBootSector, TheClusterCountDecidesTheType) {
  struct Case {
    int builtAs;
    uint32_t clusters;
    uint8_t type;
  };
  for (const Case c : {Case{1, 4084, 1}, Case{2, 4085, 2}, Case{2, 65524, 2}, Case{3, 65525, 3}}) {
    SCOPED_TRACE(c.clusters);
    TFatImageBuilder builder(c.builtAs, c.clusters);
    FatRig rig(builder);
    ASSERT_TRUE(rig.fat().ReadBootSector());
    EXPECT_EQ(rig.fat().CountOfClusters, c.clusters);
    EXPECT_EQ(rig.fat().FATType, c.type);
    EXPECT_EQ(rig.engine->CurrentDrive->FileSystem, c.type);
    EXPECT_EQ(rig.fat().FirstDataSector, builder.FirstDataSector);
    EXPECT_EQ(rig.fat().RootDirSector, builder.RootDirSector);
    EXPECT_EQ(rig.fat().RootCluster, c.type == 3 ? 2u : 0u);
  }
}

TEST(FATBootSector, Fat32FallsBackToTheBackupBootSector) {
  for (const bool wiped : {false, true}) {
    SCOPED_TRACE(wiped);
    TFatImageBuilder builder(3, 65600);
    if (wiped)
      std::memset(builder.Sector(0), 0, 512);
    else
      Put16(builder.Image.Bytes, 11, 0);  // bytes per sector gone, the backup pointer intact
    FatRig rig(builder, 3);
    ASSERT_TRUE(rig.fat().ReadBootSector());
    EXPECT_EQ(rig.fat().BPB.BytesPerSector, 512);
    EXPECT_EQ(rig.fat().CountOfClusters, 65600u);
    EXPECT_EQ(rig.fat().FATType, 3);
  }
}

TEST(FATBootSector, DamagedBootSectorsAreRefusedWithACode) {
  struct Case {
    const char* what;
    void (*damage)(std::vector<uint8_t>&);
    int fatType;
    uint32_t error;
  };
  const Case cases[] = {
      {"no sectors per cluster", [](std::vector<uint8_t>& b) { b[13] = 0; }, 2, 10},
      {"no bytes per sector", [](std::vector<uint8_t>& b) { Put16(b, 11, 0); }, 2, 10},
      {"16-byte sectors", [](std::vector<uint8_t>& b) { Put16(b, 11, 16); }, 2, 10},
      {"data area past the end", [](std::vector<uint8_t>& b) { Put16(b, 19, 20); }, 2, 10},
      {"FATs past the end", [](std::vector<uint8_t>& b) { Put16(b, 22, 0xFFFF); }, 2, 10},
      {"3 sectors per cluster", [](std::vector<uint8_t>& b) { b[13] = 3; }, 2, 10},
      {"600-byte sectors", [](std::vector<uint8_t>& b) { Put16(b, 11, 600); }, 2, 10},
      {"no reserved sector", [](std::vector<uint8_t>& b) { Put16(b, 14, 0); }, 2, 10},
      {"no FAT", [](std::vector<uint8_t>& b) { b[16] = 0; }, 2, 10},
      {"FATs of no sectors", [](std::vector<uint8_t>& b) { Put16(b, 22, 0); }, 2, 10},
      {"FAT32 FATs of no sectors", [](std::vector<uint8_t>& b) { Put32(b, 36, 0); }, 3, 10},
      {"64 KiB clusters", [](std::vector<uint8_t>& b) { b[13] = 128; }, 2, 12},
      {"root cluster 1", [](std::vector<uint8_t>& b) { Put32(b, 44, 1); }, 3, 13},
      {"root cluster past the end", [](std::vector<uint8_t>& b) { Put32(b, 44, 0x0FFFFFF0); }, 3, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFatImageBuilder builder(c.fatType, c.fatType == 3 ? 65600 : 5000);
    c.damage(builder.Image.Bytes);
    FatRig rig(builder);
    rig.engine->LastError = 0;
    EXPECT_FALSE(rig.fat().ReadBootSector());
    EXPECT_EQ(rig.engine->LastError, c.error);
  }
}

// A cut image or a card that reports fewer sectors than its volume claims is no damage:
// its files are read as far as the device goes.
TEST(FATBootSector, AVolumeLargerThanTheMeasuredDeviceIsRead) {
  TFatImageBuilder builder(2, 5000);
  // 0: the platform gave a geometry, nothing was measured.
  for (const uint32_t measured : {0u, builder.TotalSectors, builder.TotalSectors - 1, builder.FirstDataSector}) {
    SCOPED_TRACE(measured);
    FatRig rig(builder);
    rig.engine->CurrentDrive->MeasuredSectors = measured;
    rig.engine->LastError = 0;
    EXPECT_TRUE(rig.fat().ReadBootSector());
    EXPECT_EQ(rig.engine->LastError, 0u);
    EXPECT_EQ(rig.fat().TotalSectors, builder.TotalSectors);
  }
}

TEST(FATBootSector, AnUnreadableBootSectorFails) {
  TFatImageBuilder builder(2, 5000);
  builder.Image.BadSectors = {0};
  FatRig rig(builder);
  EXPECT_FALSE(rig.fat().ReadBootSector());
  EXPECT_EQ(rig.engine->LastError, DWORD(ERROR_CRC));
  EXPECT_FALSE(rig.fat().FATValid);
}

TEST(FATEntries, Fat12EntryStraddlingTwoSectors) {
  TFatImageBuilder builder(1, 1000);
  // Cluster 341 starts at byte 511 of the first FAT sector.
  builder.Chain({2, 3});
  builder.SetEntry(340, 0x341);
  builder.SetEntry(341, 0xABC, 0);
  builder.SetEntry(341, 0x123, 1);
  builder.SetEntry(342, 0xFF7);
  FatRig rig(builder);
  ASSERT_TRUE(rig.fat().ReadBootSector());
  EXPECT_EQ(rig.fat().ReadFATEntry(340, 0), 0x341u);
  EXPECT_EQ(rig.fat().ReadFATEntry(341, 0), 0xABCu);
  EXPECT_EQ(rig.fat().ReadFATEntry(342, 0), 0xFF7u);
  EXPECT_EQ(rig.fat().ReadFATEntry(341, 1), 0x123u);
  EXPECT_EQ(rig.fat().ReadFATEntry(2, 0), 3u);
  EXPECT_EQ(rig.fat().ReadFATEntry(1, 0), 0u);     // outside the data area
  EXPECT_EQ(rig.fat().ReadFATEntry(1002, 0), 0u);  // past the last cluster
}

TEST(FATEntries, UnreadableFatSectorsReadAsFree) {
  TFatImageBuilder builder(2, 5000);
  builder.Chain({2, 3, 4});
  FatRig rig(builder);
  ASSERT_TRUE(rig.fat().ReadBootSector());
  builder.Image.BadSectors = {builder.ReservedSectors};
  rig.fat().ResetFATCache();
  EXPECT_EQ(rig.fat().ReadFATEntry(2, 0), 0u);
  EXPECT_EQ(rig.fat().ReadFATEntry(2, 1), 3u);
}

TEST(FATEntries, ANewCardInTheSameDriveIsReadAfresh) {
  TFatImageBuilder first(2, 5000), second(2, 5000);
  first.Chain({2, 3, 4, 5, 6});
  second.Chain({2, 9});
  FatRig rig(first);
  ASSERT_TRUE(rig.fat().ReadBootSector());
  EXPECT_EQ(rig.fat().ReadFATEntry(2, 0), 3u);
  first.Image.Bytes = second.Image.Bytes;
  ASSERT_TRUE(rig.fat().ReadBootSector());
  EXPECT_EQ(rig.fat().ReadFATEntry(2, 0), 9u);
}

TEST(FATEntries, Classes) {
  struct Case {
    uint8_t type;
    uint32_t value;
    uint8_t entryClass;
  };
  const Case cases[] = {{1, 0, ecFree},          {1, 0x005, ecLink},        {1, 0xFF0, ecLink},
                        {1, 0xFF1, ecReserved},  {1, 0xFF7, ecReserved},    {1, 0xFF8, ecEndOfChain},
                        {2, 0xFFF0, ecLink},     {2, 0xFFF7, ecReserved},   {2, 0xFFFF, ecEndOfChain},
                        {3, 0x0FFFFFF0, ecLink}, {3, 0x0FFFFFF1, ecReserved}, {3, 0x0FFFFFF8, ecEndOfChain}};
  for (const Case& c : cases)
    EXPECT_EQ(TSEFAT::ClassifyEntry(c.type, c.value), c.entryClass) << int(c.type) << " " << std::hex << c.value;
}

TEST(FATEntries, AFreshCardLooksEmpty) {
  for (const int type : {1, 2, 3}) {
    SCOPED_TRACE(type);
    TFatImageBuilder builder(type, type == 1 ? 3000 : type == 2 ? 5000 : 65600);
    FatRig rig(builder);
    ASSERT_TRUE(rig.fat().ReadBootSector());
    EXPECT_TRUE(rig.fat().FATEmpty);
    EXPECT_FALSE(rig.fat().FATValid);

    builder.AddFile(TFatImageBuilder::kRoot, {.ShortName = "A.JPG", .Content = std::string(1500, 'x')});
    ASSERT_TRUE(rig.fat().ReadBootSector());
    EXPECT_FALSE(rig.fat().FATEmpty);
    EXPECT_TRUE(rig.fat().FATValid);
  }
}

TEST(FATEntries, NamesAndPlausibility) {
  TFatImageBuilder builder(2, 5000);
  FatRig rig(builder);
  ASSERT_TRUE(rig.fat().ReadBootSector());
  auto record = [](const char name[12], uint8_t attributes, uint32_t cluster, uint32_t size) {
    std::array<uint8_t, 32> r = TFatImageBuilder::ShortRecord("X", attributes, cluster, size);
    std::memcpy(r.data(), name, 11);
    return r;
  };
  EXPECT_EQ(TSEFAT::EntryName(record("AB CD   TXT", 0x20, 2, 1).data()), "ABCD.TXT");
  EXPECT_EQ(TSEFAT::EntryName(record("README     ", 0x20, 2, 1).data()), "README");
  EXPECT_EQ(TSEFAT::DeletedName("\xE5" "BC.JPG"), "_BC.JPG");
  EXPECT_EQ(TSEFAT::DeletedName("ABC.JPG"), "ABC.JPG");

  struct Case {
    const char* name;
    uint8_t attributes;
    uint32_t cluster;
    uint32_t size;
    bool plausible;
  };
  const Case cases[] = {
      {"PHOTO   JPG", 0x20, 2, 100, true},
      {"\xE5HOTO   JPG", 0x20, 5001, 100, true},
      {"\x05HOTO   JPG", 0x20, 2, 100, true},
      {"PH\x01TO   JPG", 0x20, 2, 100, false},
      {"PH*TO   JPG", 0x20, 2, 100, false},
      {"PHOTO   J.G", 0x20, 2, 100, false},
      {"PHOTO   JPG", 0x20, 1, 100, false},
      {"PHOTO   JPG", 0x20, 5002, 100, false},
      {"PHOTO   JPG", 0x20, 2, 512 * 5001, false},
      {"CARD       ", 0x08, 0, 0, true},
      {"CARD       ", 0x08, 2, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rig.fat().IsPlausibleEntry(record(c.name, c.attributes, c.cluster, c.size).data()), c.plausible)
        << c.name << " " << c.cluster;
}

TEST(FATEntries, SafeFileNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"IMG_0001.JPG", "IMG_0001.JPG"}, {"..\\..\\evil.jpg", ".._.._evil.jpg"}, {"a/b:c*d?.jpg", "a_b_c_d_.jpg"},
      {"CON.JPG", "_CON.JPG"},          {"lpt1", "_lpt1"},                         {"name. . ", "name"},
      {".", ""},                        {"..", ""},                                {"", ""},
      {"tab\there", "tab_here"},
  };
  for (auto [name, safe] : cases) EXPECT_EQ(SafeFileName(name), safe) << name;
}
