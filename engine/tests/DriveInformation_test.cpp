#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Utils.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/FatImageBuilder.h"
#include "framework/core/formatsettings.h"

namespace {

TDiskImage BlankImage(uint32_t sectors) {
  TDiskImage image;
  image.Bytes.assign(size_t(sectors) * 512, 0);
  return image;
}

}  // namespace

TEST(DriveInformation, FileSystemNames) {
  struct Case {
    const char* name;
    uint16_t kind;
    uint8_t fileSystem;
  };
  const Case cases[] = {{"FAT", 1, 1},   {"FAT", 2, 2},   {" FAT12 ", 2, 1}, {"FAT16", 1, 2}, {"FAT32", 2, 3},
                        {"NTFS", 3, 4},  {"CDFS", 5, 5},  {"fat", 2, 0},     {"UDF", 5, 0},   {"", 2, 0}};
  for (const Case& c : cases) {
    TSEDriveInformation record;
    record.GeometryKind = c.kind;
    record.SetFileSystem(c.name);
    EXPECT_EQ(record.FileSystem, c.fileSystem) << "'" << c.name << "' kind " << c.kind;
  }
}

TEST(DriveInformation, SizesCapacityAndRequestSize) {
  TFormatSettings pinned;
  pinned.DecimalSeparator = '.';
  ScopedFormatSettings scoped(pinned);
  struct Case {
    uint32_t sectors, bytesPerSector;
    uint32_t sizeKB;
    const wchar_t* text;
    uint16_t perRequest;
  };
  const Case cases[] = {
      {16384, 512, 8192, L"8.00 MB", 163},          // an 8 MB card
      {2097152, 512, 1048576, L"1.00 GB", 512},     // 1 GB
      {6553600, 512, 3276800, L"3.13 GB", 512},     // both limits above 512
      {720, 512, 360, L"360.00 KB", 7},
      {15360, 512, 7680, L"7.50 MB", 153},
      {50, 512, 25, L"25.00 KB", 1},                // under 100 sectors: still 1 per request
      {300000, 2048, 600000, L"585.94 MB", 512},
      {3, 2048, 6, L"6.00 KB", 1},
  };
  for (const Case& c : cases) {
    TSEDriveInformation record;
    record.TotalSectors = c.sectors;
    record.BytesPerSector = c.bytesPerSector;
    record.ComputeSizes();
    EXPECT_EQ(record.SizeKB, c.sizeKB) << c.sectors;
    EXPECT_EQ(record.CapacityText, c.text) << c.sectors;
    EXPECT_EQ(record.SectorsPerRequest, c.perRequest) << c.sectors;
    EXPECT_EQ(record.SectorsPerMiB, 1048576 / c.bytesPerSector);
  }
  pinned.DecimalSeparator = ',';
  ScopedFormatSettings comma(pinned);
  EXPECT_EQ(CapacityTextOf(7680), L"7,50 MB");
}

TEST(DriveInformation, ARemovableDriveWithoutFileSystemIsMeasuredByReading) {
  TDiskImage image = BlankImage(16384);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  TSEDriveInformation* info = nullptr;
  ASSERT_TRUE(engine->GetDriveSelectedInformation("q", info));
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->Valid);
  EXPECT_EQ(engine->CurrentDrive, info);
  EXPECT_EQ(info->RootPath, "Q:\\");
  EXPECT_EQ(info->DriveNumber, kTestDrive);
  EXPECT_EQ(info->DriveType, DRIVE_REMOVABLE);
  EXPECT_EQ(info->MediaType, DRIVE_REMOVABLE);
  EXPECT_EQ(info->GeometryKind, 2);
  EXPECT_EQ(info->MediaFlags, 1);
  EXPECT_FALSE(info->IsFloppy);
  EXPECT_EQ(info->NotFloppy, 1);
  EXPECT_EQ(info->FileSystem, 0);
  EXPECT_EQ(info->TotalSectors, 16384u);
  EXPECT_EQ(info->SectorCount(), 16384u);
  EXPECT_EQ(info->SectorsPerRequest, 163);
  EXPECT_EQ(engine->FindDriveInformation('Q'), info);
}

TEST(DriveInformation, The98FamilyBuildsTheRecordThroughTheDevice) {
  TFatImageBuilder card(2, 5000);
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  TVxdEmulator vxd(card.Image, kTestDrive);
  auto engine = Make98Engine(volumes, vxd);
  TSEDriveInformation* info = nullptr;
  ASSERT_TRUE(engine->GetDriveSelectedInformation("Q", info));
  EXPECT_EQ(info->TotalSectors, card.TotalSectors);
  EXPECT_EQ(info->BytesPerSector, 512u);
  EXPECT_EQ(info->GeometryKind, 2);
  EXPECT_EQ(volumes.Opens, 0);  // no volume device on the 98 family
}

TEST(DriveInformation, AskingAgainRetiresTheOldRecordWithoutFreeingIt) {
  TDiskImage image = BlankImage(4096);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  TSEDriveInformation *first = nullptr, *second = nullptr;
  ASSERT_TRUE(engine->GetDriveSelectedInformation("Q", first));
  image.Bytes.resize(8192 * 512);  // another card in the same reader
  ASSERT_TRUE(engine->GetDriveSelectedInformation("Q", second));
  EXPECT_NE(first, second);
  EXPECT_EQ(engine->Drives.Count(), 1);
  EXPECT_EQ(engine->Drives.Items(0), second);
  EXPECT_EQ(first->TotalSectors, 4096u);  // a dialog holding it still reads a whole record
  EXPECT_EQ(second->TotalSectors, 8192u);
  EXPECT_EQ(engine->CurrentDrive, second);
}

TEST(DriveInformation, ADriveWithoutGeometryIsRefused) {
  TDiskImage image = BlankImage(64);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  TSEDriveInformation* info = reinterpret_cast<TSEDriveInformation*>(1);
  EXPECT_FALSE(engine->GetDriveSelectedInformation("P", info));
  EXPECT_EQ(info, nullptr);
  EXPECT_EQ(engine->TakeLastError(), 4u);
  EXPECT_EQ(engine->TakeLastError(), 0u);
  EXPECT_FALSE(engine->GetDriveSelectedInformation("", info));
  EXPECT_EQ(engine->Drives.Count(), 0);
}

TEST(DriveInformation, ACdDriveWithoutFileSystemIsRefusedWithCode3) {
  TDiskImage image = BlankImage(64);
  TImageVolumeCalls volumes(image, kTestLetter, DRIVE_CDROM);
  auto engine = MakeNtEngine(volumes);
  TSEDriveInformation* info = nullptr;
  EXPECT_FALSE(engine->GetDriveSelectedInformation("Q", info));
  EXPECT_EQ(engine->LastError, 3u);
  EXPECT_EQ(engine->CurrentDrive, nullptr);
}

// The geometry gives 15 x 16 x 63 = 15,120 sectors; the device may end past it or below.
TEST(DriveInformation, TheProbeFindsTheDevicesEndAroundTheReportedGeometry) {
  for (const uint32_t sectors : {16384u, 15120u, 14700u, 14608u}) {
    SCOPED_TRACE(sectors);
    TDiskImage image = BlankImage(sectors);
    TImageVolumeCalls volumes(image, kTestLetter);
    volumes.AnswerWith(RemovableMedia, 15, 16, 63);
    auto engine = MakeNtEngine(volumes);
    TSEDriveInformation* info = nullptr;
    ASSERT_TRUE(engine->GetDriveSelectedInformation("Q", info));
    EXPECT_EQ(info->MeasuredSectors, 0u);
    EXPECT_EQ(info->Cylinders, 15u);
    EXPECT_EQ(info->TotalSectors, sectors);
  }
}

// A fixed drive is measured one sector at a time from its geometry's count up to the first
// sector that cannot be read.
TEST(DriveInformation, AFixedDriveIsProbedSectorBySectorPastItsGeometry) {
  TDiskImage image = BlankImage(1000);
  TImageVolumeCalls volumes(image, kTestLetter, DRIVE_FIXED);
  volumes.AnswerWith(FixedMedia, 10, 10, 9);
  auto engine = MakeNtEngine(volumes);
  TSEDriveInformation* info = nullptr;
  ASSERT_TRUE(engine->GetDriveSelectedInformation("Q", info));
  EXPECT_EQ(info->GeometryKind, 3);
  EXPECT_EQ(info->TotalSectors, 1000u);
  EXPECT_EQ(volumes.Reads, 1000 - 900 + 1);
}

// A card of fewer sectors than the probe's first step, without a FAT boot sector: a probe
// in which no read succeeds has found no end, and the size it gives is none. Nothing is
// then written, and backup and erase say why; the card never grows.
TEST(DriveInformation, ASizeThatNoReadEstablishesIsUnknownAndNothingIsWritten) {
  for (const bool readable : {false, true}) {
    SCOPED_TRACE(readable ? "readable" : "unreadable");
    TDiskImage image = BlankImage(300);
    std::fill(image.Bytes.begin(), image.Bytes.end(), uint8_t(0x5A));
    if (!readable)
      for (uint32_t s = 0; s < 300; ++s) image.BadSectors.insert(s);
    TImageVolumeCalls volumes(image, kTestLetter);
    auto engine = MakeNtEngine(volumes);
    TSEDriveInformation* info = nullptr;
    ASSERT_TRUE(engine->GetDriveSelectedInformation("Q", info));
    // A probe that reads the card may find its end; one that reads nothing may not guess it.
    if (readable)
      EXPECT_TRUE(info->TotalSectors == 0 || info->TotalSectors == 300) << info->TotalSectors;
    else
      EXPECT_EQ(info->TotalSectors, 0u);
    const bool known = info->TotalSectors != 0;
    std::vector<int32_t> codes;
    engine->OnError = [&](int32_t code, const String&) { codes.push_back(code); };

    const std::string backup = GetTempFolder() + "kv_probe_unknown.KV3";
    EXPECT_EQ(engine->BackupCard("kv_probe_unknown", GetTempFolder()), known);
    EXPECT_EQ(GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES, known);
    DeleteFileA(backup.c_str());
    EXPECT_EQ(engine->SecureErase('Q'), known);
    EXPECT_EQ(image.Bytes.size(), 300u * 512) << "the card grew";
    if (!known) {
      EXPECT_EQ(codes, (std::vector<int32_t>{kDriveSizeUnknown.Code, kDriveSizeUnknown.Code}));
      EXPECT_EQ(volumes.Writes, 0);
    }
  }
}
