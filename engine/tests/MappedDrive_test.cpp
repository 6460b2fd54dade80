// Cards made by the system's FAT tools, mapped to drive letters by the test runner: the NT
// family reads them through Wine's volume devices, the 98 family through the emulated
// VWIN32 device over the same image file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "engine/FoundFiles.h"
#include "engine/tests/EngineFixtures.h"

namespace {

struct Card {
  char letter;
  const char* image;
  uint8_t fatType;
};
const Card kCards[] = {{'R', "testdata/mkfs16.img", 2}, {'S', "testdata/mkfs32.img", 3}, {'T', "testdata/mkfs12.img", 1}};

std::unique_ptr<TScanEngine> SystemNtEngine() {
  TSEPlatform platform;
  platform.VersionCode = 7;
  platform.IsNT = true;
  return TScanEngine::Make(platform);
}

::testing::AssertionResult Mapped(const Card& card) {
  const auto image = ImagePresent(card.image);
  return image ? LetterMapped(card.letter) : image;
}

using Listing = std::vector<std::pair<std::string, uint32_t>>;

Listing WalkCard(TScanEngine& engine) {
  FoundDirectories.ClearAndFree();
  FoundFiles.ClearAndFree();
  EXPECT_TRUE(engine.FATReader->ReadBootSector());
  EXPECT_TRUE(engine.FATReader->ReadDirectoryTree());
  Listing listing;
  for (int i = 0; i < FoundFiles.Count(); ++i) listing.emplace_back(FoundFile(i)->Name, FoundFile(i)->Size);
  for (int i = 0; i < FoundDirectories.Count(); ++i) listing.emplace_back(FoundDirectory(i)->Name + "\\", 0);
  FoundDirectories.ClearAndFree();
  FoundFiles.ClearAndFree();
  std::sort(listing.begin(), listing.end());
  return listing;
}

// What the image script put on every card.
const Listing kExpected = {
    {"100CANON\\", 0},   {"A long file name of forty characters.jpg", 3000},
    {"B.TXT", 1024},     {"DCIM\\", 0},
    {"FRAG.JPG", 5000},  {"GC__ONE.JPG", 1024},
    {"IMG_0001.JPG", 3000}, {"IMG_0100.JPG", 700},
};

}  // namespace

TEST(MappedDrive, NtRecordOfEachCard) {
  for (const Card& card : kCards) {
    SCOPED_TRACE(card.image);
    ASSERT_TRUE(Mapped(card));
    const TDiskImage image = TDiskImage::Load(card.image);
    auto engine = SystemNtEngine();
    TSEDriveInformation* info = nullptr;
    ASSERT_TRUE(engine->GetDriveSelectedInformation(String(1, card.letter), info));
    EXPECT_TRUE(info->Valid);
    // The runner gives the letter a removable type, which the system shows once it restarts.
    EXPECT_EQ(info->DriveType, GetDriveTypeA(info->RootPath.c_str()));
    EXPECT_EQ(info->BytesPerSector, 512u);
    EXPECT_EQ(info->TotalSectors, image.Sectors());
    EXPECT_GE(info->SectorsPerRequest, 1);
    // Wine names the file system of the folder behind the letter, not the card's; the
    // boot sector tells the truth.
    ASSERT_TRUE(engine->FATReader->ReadBootSector());
    EXPECT_EQ(engine->FATReader->FATType, card.fatType);
    EXPECT_EQ(info->FileSystem, card.fatType);
  }
}

TEST(MappedDrive, NtAnd98FamilyFindTheSameFiles) {
  for (const Card& card : kCards) {
    SCOPED_TRACE(card.image);
    ASSERT_TRUE(Mapped(card));
    auto nt = SystemNtEngine();
    TSEDriveInformation* info = nullptr;
    ASSERT_TRUE(nt->GetDriveSelectedInformation(String(1, card.letter), info));
    const Listing fromNt = WalkCard(*nt);
    EXPECT_EQ(fromNt, kExpected);

    TDiskImage image = TDiskImage::Load(card.image);
    const auto drive = static_cast<uint8_t>(card.letter - 'A' + 1);
    TVxdEmulator vxd(image, drive);
    auto w98 = Make98Engine(TVolumeCalls::System(), vxd);
    AttachDrive(*w98, image.Sectors(), card.fatType, drive);
    EXPECT_EQ(WalkCard(*w98), fromNt);
    EXPECT_GT(vxd.Transfers, 0);
  }
}

TEST(MappedDrive, FragmentedFileChainFromTheCard) {
  ASSERT_TRUE(Mapped(kCards[0]));
  auto engine = SystemNtEngine();
  TSEDriveInformation* info = nullptr;
  ASSERT_TRUE(engine->GetDriveSelectedInformation("R", info));
  FoundDirectories.ClearAndFree();
  FoundFiles.ClearAndFree();
  ASSERT_TRUE(engine->FATReader->ReadBootSector());
  ASSERT_TRUE(engine->FATReader->ReadDirectoryTree());
  const TSEFile* fragmented = nullptr;
  for (int i = 0; i < FoundFiles.Count(); ++i)
    if (FoundFile(i)->Name == "FRAG.JPG") fragmented = FoundFile(i);
  ASSERT_NE(fragmented, nullptr);
  TClusterChains chains;
  engine->FATReader->BuildClusterChains(engine->FATReader->ClusterToSector(fragmented->Cluster), chains);
  // 5000 bytes in 512-byte clusters: the start and nine successors, with one jump.
  ASSERT_EQ(chains.FAT1.size(), 9u);
  EXPECT_EQ(chains.FAT1, chains.FAT2);
  int jumps = (chains.FAT1[0] != fragmented->Cluster + 1) ? 1 : 0;
  for (size_t i = 1; i < chains.FAT1.size(); ++i) jumps += chains.FAT1[i] != chains.FAT1[i - 1] + 1;
  EXPECT_EQ(jumps, 1);
  FoundDirectories.ClearAndFree();
  FoundFiles.ClearAndFree();
}

TEST(MappedDrive, WritesStayInsideTheDrive) {
  const std::string path = "testdata/scratch.img";
  // The image behind U: is this test's own.
  ASSERT_TRUE(LetterMapped('U'));
  TDiskImage blank;
  blank.Bytes.assign(64 * 512, 0);
  blank.Save(path);
  auto engine = SystemNtEngine();
  AttachDrive(*engine, 64, 0, 'U' - 'A' + 1);
  std::fill_n(engine->EnsureTransferBuffer(), 512, uint8_t(0x6B));
  engine->TransferStart = 5;
  engine->TransferCount = 1;
  ASSERT_TRUE(engine->WriteSectors());
  engine->TransferStart = 63;
  engine->TransferCount = 2;
  EXPECT_FALSE(engine->WriteSectors());

  engine->TransferStart = 63;
  engine->TransferCount = 1;
  EXPECT_TRUE(engine->ReadSectors());
  engine->TransferStart = 64;
  EXPECT_FALSE(engine->ReadSectors());
  EXPECT_NE(engine->LastError, 0u);
  engine->TransferStart = 5;
  ASSERT_TRUE(engine->ReadSectors());
  EXPECT_EQ(engine->TransferBuffer[511], 0x6B);
  engine.reset();

  const TDiskImage written = TDiskImage::Load(path);
  EXPECT_EQ(written.Bytes.size(), 64u * 512);
  EXPECT_EQ(written.Bytes[5 * 512], 0x6B);
  EXPECT_EQ(written.Bytes[6 * 512], 0);
}
