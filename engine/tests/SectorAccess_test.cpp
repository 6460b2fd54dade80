#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <utility>

#include "engine/tests/EngineFixtures.h"
#include "framework/core/seams.h"

namespace {

// An image whose every sector starts with its own number.
TDiskImage NumberedImage(uint32_t sectors) {
  TDiskImage image;
  image.Bytes.assign(size_t(sectors) * 512, 0);
  for (uint32_t s = 0; s < sectors; ++s) std::memcpy(image.Bytes.data() + size_t(s) * 512, &s, 4);
  return image;
}

uint32_t SectorNumberAt(const uint8_t* buffer, uint32_t index) {
  uint32_t value;
  std::memcpy(&value, buffer + size_t(index) * 512, 4);
  return value;
}

std::vector<uint8_t> LittleEndian(std::initializer_list<std::pair<uint32_t, int>> fields) {
  std::vector<uint8_t> bytes;
  for (auto [value, width] : fields)
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return bytes;
}

}  // namespace

TEST(SectorAccessNT, ReadsKeepOneHandleAndReopenAfterAWrite) {
  TDiskImage image = NumberedImage(64);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, 64);
  engine->TransferStart = 5;
  engine->TransferCount = 3;
  ASSERT_TRUE(engine->ReadSectors());
  EXPECT_EQ(SectorNumberAt(engine->TransferBuffer.get(), 0), 5u);
  EXPECT_EQ(SectorNumberAt(engine->TransferBuffer.get(), 2), 7u);
  engine->TransferStart = 9;
  ASSERT_TRUE(engine->ReadSectors());
  EXPECT_EQ(volumes.Opens, 1);
  EXPECT_EQ(volumes.LastAccess, DWORD(GENERIC_READ));

  engine->TransferCount = 1;
  std::memset(engine->TransferBuffer.get(), 0x5A, 512);
  ASSERT_TRUE(engine->WriteSectors());
  EXPECT_EQ(volumes.LastAccess, DWORD(GENERIC_WRITE));
  EXPECT_EQ(image.Bytes[9 * 512], 0x5A);
  ASSERT_TRUE(engine->ReadSectors());
  EXPECT_EQ(volumes.Opens, 3);
}

TEST(SectorAccessNT, KeepInSectorBufferLeavesTheTransferBufferAlone) {
  TDiskImage image = NumberedImage(8);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, 8);
  std::memset(engine->EnsureTransferBuffer(), 0xEE, 512);
  engine->KeepInSectorBuffer = true;
  engine->TransferStart = 4;
  engine->TransferCount = 1;
  ASSERT_TRUE(engine->ReadSectors());
  EXPECT_EQ(SectorNumberAt(engine->SectorBuffer.data(), 0), 4u);
  EXPECT_EQ(engine->TransferBuffer[0], 0xEE);
}

TEST(SectorAccessNT, EndOfDriveAndBadSectors) {
  TDiskImage image = NumberedImage(1200);
  image.BadSectors = {3, 1100};
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, 1200);
  struct Case {
    uint32_t start;
    uint16_t count;
    bool ok;
    uint16_t countAfter;
    uint32_t error;
  };
  const Case cases[] = {
      {1199, 1, true, 1, 0},                         // the last sector
      {1200, 1, false, 1, ERROR_INVALID_PARAMETER},  // one past it: the image answers 0 bytes
      {1198, 4, false, 4, ERROR_INVALID_PARAMETER},  // across the end: a short read keeps the count
      {2, 4, false, 1, ERROR_CRC},                   // the first chunk fails: count 1
      {500, 700, false, 512, ERROR_CRC},             // the second chunk fails: the sectors read before it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    engine->TransferStart = c.start;
    engine->TransferCount = c.count;
    EXPECT_EQ(engine->ReadSectors(), c.ok);
    EXPECT_EQ(engine->TransferCount, c.countAfter);
    EXPECT_EQ(engine->LastError, c.error);
  }
}

TEST(SectorAccessNT, WritesNeverGrowTheDrive) {
  TDiskImage image = NumberedImage(16);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, 16);
  engine->EnsureTransferBuffer();
  engine->TransferStart = 15;
  engine->TransferCount = 2;
  EXPECT_FALSE(engine->WriteSectors());
  EXPECT_EQ(image.Bytes.size(), 16u * 512);
  EXPECT_EQ(volumes.Writes, 0);
}

TEST(SectorAccessNT, RequestsBeyondTheBuffersFail) {
  TDiskImage image = NumberedImage(4096);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, 4096);
  engine->TransferStart = 0;
  engine->TransferCount = 2049;  // 1 MiB and one sector
  EXPECT_FALSE(engine->ReadSectors());
  EXPECT_FALSE(engine->WriteSectors());
  EXPECT_EQ(volumes.Reads + volumes.Writes, 0);
  engine->TransferCount = 2048;
  EXPECT_TRUE(engine->ReadSectors());
  EXPECT_EQ(SectorNumberAt(engine->TransferBuffer.get(), 2047), 2047u);
}

TEST(SectorAccessNT, WritingToACDFailsWithoutTouchingIt) {
  TDiskImage image = NumberedImage(16);
  TImageVolumeCalls volumes(image, kTestLetter, DRIVE_CDROM);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, 16, 0, kTestDrive, 2048);
  engine->TransferStart = 0;
  engine->TransferCount = 1;
  EXPECT_FALSE(engine->WriteSectors());
  EXPECT_EQ(volumes.Opens, 0);
}

TEST(SectorAccessNT, GeometryFromTheControlOrFromTheDeviceSize) {
  TDiskImage image = NumberedImage(20000);
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);

  TDriveGeometry fromSize;
  ASSERT_TRUE(engine->GetGeometry(kTestDrive, fromSize));
  EXPECT_EQ(fromSize.Kind, 2);
  EXPECT_EQ(fromSize.Removable, 1);
  EXPECT_EQ(fromSize.BytesPerSector, 512u);
  EXPECT_EQ(fromSize.TotalSectors, 20000u);

  volumes.AnswerWith(FixedMedia, 10, 16, 63);
  TDriveGeometry answered;
  ASSERT_TRUE(engine->GetGeometry(kTestDrive, answered));
  EXPECT_EQ(answered.Kind, 3);
  EXPECT_EQ(answered.Removable, 0);
  EXPECT_EQ(answered.TotalSectors, 10u * 16 * 63);

  volumes.Geometry.MediaType = F3_1Pt44_512;
  ASSERT_TRUE(engine->GetGeometry(kTestDrive, answered));
  EXPECT_EQ(answered.Kind, 1);
  EXPECT_EQ(answered.Removable, 1);

  TDriveGeometry none;
  EXPECT_FALSE(engine->GetGeometry(kTestDrive + 1, none));
}

TEST(SectorAccess98, TransferBlocksAreTheDevicesBytes) {
  TDiskImage image = NumberedImage(64);
  TImageVolumeCalls volumes(image, kTestLetter);
  TVxdEmulator vxd(image, kTestDrive);
  auto engine = Make98Engine(volumes, vxd);
  AttachDrive(*engine, 64);
  engine->TransferStart = 0x01020304 & 0x1F;  // sector 4
  engine->TransferCount = 2;
  ASSERT_TRUE(engine->ReadSectors());
  EXPECT_EQ(SectorNumberAt(engine->TransferBuffer.get(), 1), 5u);

  ASSERT_EQ(vxd.LastRegisters.size(), 28u);
  uint32_t packetAddress;
  std::memcpy(&packetAddress, vxd.LastRegisters.data(), 4);
  EXPECT_EQ(vxd.LastRegisters, LittleEndian({{packetAddress, 4},
                                            {kTestDrive, 4},
                                            {0xFFFFFFFFu, 4},
                                            {0x7305, 4},
                                            {0, 4},
                                            {0, 4},
                                            {1, 4}}));
  ASSERT_EQ(vxd.LastPacket.size(), 10u);
  uint32_t bufferAddress;
  std::memcpy(&bufferAddress, vxd.LastPacket.data() + 6, 4);
  EXPECT_EQ(vxd.LastPacket, LittleEndian({{4, 4}, {2, 2}, {bufferAddress, 4}}));

  std::memset(engine->TransferBuffer.get(), 0x77, 512);
  engine->TransferStart = 10;
  engine->TransferCount = 1;
  ASSERT_TRUE(engine->WriteSectors());
  EXPECT_EQ(image.Bytes[10 * 512], 0x77);
  EXPECT_EQ(vxd.LastRegisters[20], 0x01);  // ESI 6001h: write, normal file data
  EXPECT_EQ(vxd.LastRegisters[21], 0x60);
}

TEST(SectorAccess98, FailedTransfersLeaveLastErrorAlone) {
  TDiskImage image = NumberedImage(64);
  image.BadSectors = {20};
  TImageVolumeCalls volumes(image, kTestLetter);
  TVxdEmulator vxd(image, kTestDrive);
  auto engine = Make98Engine(volumes, vxd);
  AttachDrive(*engine, 64);
  engine->LastError = 1234;
  for (uint32_t start : {64u, 20u}) {
    engine->TransferStart = start;
    engine->TransferCount = 1;
    EXPECT_FALSE(engine->ReadSectors());
    EXPECT_EQ(engine->LastError, 1234u);
    EXPECT_EQ(engine->TransferCount, 1);
  }
}

TEST(SectorAccess98, ACDDriveIsNotReadThroughTheDiskDevice) {
  TDiskImage image = NumberedImage(64);
  TImageVolumeCalls volumes(image, kTestLetter, DRIVE_CDROM);
  TVxdEmulator vxd(image, kTestDrive);
  auto engine = Make98Engine(volumes, vxd);
  AttachDrive(*engine, 64, 0, kTestDrive, 2048)->IsCD = true;
  engine->TransferStart = 0;
  engine->TransferCount = 1;
  EXPECT_FALSE(engine->ReadSectors());
  EXPECT_EQ(vxd.Transfers, 0);
  TDriveGeometry geometry;
  ASSERT_TRUE(engine->GetGeometry(kTestDrive, geometry));
  EXPECT_EQ(geometry.Kind, 5);
  EXPECT_EQ(geometry.BytesPerSector, 2048u);
}

TEST(SectorAccess98, GeometryFromTheDeviceParameters) {
  TDiskImage image = NumberedImage(2880);
  // A 1.44 MB floppy's parameter block: 512-byte sectors, 2880 sectors, 18 per track, 2 heads.
  const uint8_t bpb[] = {0x00, 0x02, 1, 1, 0, 2, 0xE0, 0, 0x40, 0x0B, 0xF0, 9, 0, 18, 0, 2, 0};
  std::memcpy(image.Bytes.data() + 11, bpb, sizeof bpb);
  TImageVolumeCalls volumes(image, kTestLetter);
  TVxdEmulator vxd(image, kTestDrive);
  auto engine = Make98Engine(volumes, vxd);
  struct Case {
    uint8_t deviceType;
    uint16_t attributes;
    uint16_t kind;
    uint16_t removable;
  };
  const Case cases[] = {{7, 0, 1, 1}, {5, 1, 3, 0}, {6, 0, 2, 1}, {6, 1, 0, 0}, {9, 0, 2, 1}, {12, 0, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.deviceType));
    vxd.DeviceType = c.deviceType;
    vxd.DeviceAttributes = c.attributes;
    TDriveGeometry geometry;
    ASSERT_TRUE(engine->GetGeometry(kTestDrive, geometry));
    EXPECT_EQ(geometry.Kind, c.kind);
    EXPECT_EQ(geometry.Removable, c.removable);
    EXPECT_EQ(geometry.TotalSectors, 2880u);
    EXPECT_EQ(geometry.BytesPerSector, 512u);
    EXPECT_EQ(geometry.Cylinders, 2u);  // the heads go first
    EXPECT_EQ(geometry.TracksPerCylinder, 80u);
    EXPECT_EQ(geometry.SectorsPerTrack, 18u);
  }
  // The second call asks for the default parameters: special functions 0.
  ASSERT_EQ(vxd.LastRegisters.size(), 28u);
  uint32_t blockAddress;
  std::memcpy(&blockAddress, vxd.LastRegisters.data() + 4, 4);
  EXPECT_EQ(vxd.LastRegisters,
            LittleEndian({{kTestDrive, 4}, {blockAddress, 4}, {0x0860, 4}, {0x440D, 4}, {0, 4}, {0, 4}, {1, 4}}));
  EXPECT_EQ(vxd.LastPacket[0], 0);
}

TEST(SectorAccess98, AnEngineWithoutTheDeviceIsNotMade) {
  TDiskImage image = NumberedImage(8);
  TImageVolumeCalls volumes(image, kTestLetter);
  TVxdEmulator vxd(image, kTestDrive);
  vxd.OpenFails = true;
  ScopedSeam<TMessageBoxSeam> box({.Show = [](HWND, const String&, const String&, UINT) { return IDOK; }});
  try {
    Make98Engine(volumes, vxd);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Error loading Virtual Driver VWIN32.VXD (ErrorCode : 2");
  }
}

TEST(SectorAccessPlatform, FamiliesFromTheVersion) {
  struct Case {
    DWORD platform, major, minor;
    const char* csd;
    uint8_t code;
    bool nt, fat32;
  };
  const Case cases[] = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, "", 1, false, false},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, " B ", 1, false, true},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, "", 2, false, true},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, " A ", 3, false, true},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, "", 4, false, true},
      {VER_PLATFORM_WIN32_NT, 5, 1, "Service Pack 2", 7, true, false},
  };
  for (const Case& c : cases) {
    OSVERSIONINFOA version{};
    version.dwPlatformId = c.platform;
    version.dwMajorVersion = c.major;
    version.dwMinorVersion = c.minor;
    std::strcpy(version.szCSDVersion, c.csd);
    const TSEPlatform platform = TSEPlatform::FromVersion(version);
    EXPECT_EQ(platform.VersionCode, c.code) << c.major << "." << c.minor;
    EXPECT_EQ(platform.IsNT, c.nt);
    EXPECT_EQ(platform.Fat32Capable9x, c.fat32);
  }
}

TEST(SectorAccessPlatform, SectorShiftAndDriveNames) {
  // The nearest base-2 logarithm: 2^9.5 is 724.08.
  const std::pair<uint32_t, uint8_t> shifts[] = {{512, 9}, {2048, 11}, {4096, 12}, {724, 9}, {725, 10},
                                                 {767, 10}, {1, 0}, {3, 2}, {0xFFFFFFFF, 31}};
  for (const auto& [bytes, shift] : shifts) EXPECT_EQ(SectorShiftOf(bytes), shift) << bytes;
  EXPECT_EQ(DriveName(1), "A:");
  EXPECT_EQ(DriveName(17), "Q:");
}
