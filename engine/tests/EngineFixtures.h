// Engines over disk images for the tests: the NT family through the image volume calls,
// the 98 family through the emulated VWIN32 device.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/ScanEngine.h"
#include "engine/tests/DiskEmulation.h"

inline constexpr char kTestLetter = 'Q';
inline constexpr uint8_t kTestDrive = kTestLetter - 'A' + 1;

inline std::unique_ptr<TScanEngine> MakeNtEngine(TVolumeCalls& volumes) {
  TSEPlatform platform;
  platform.VersionCode = 7;
  platform.IsNT = true;
  platform.Volumes = &volumes;
  return TScanEngine::Make(platform);
}

inline std::unique_ptr<TScanEngine> Make98Engine(TVolumeCalls& volumes, TVxdCalls& vxd) {
  TSEPlatform platform;
  platform.VersionCode = 3;
  platform.IsNT = false;
  platform.Fat32Capable9x = true;
  platform.Volumes = &volumes;
  platform.Vxd = &vxd;
  return TScanEngine::Make(platform);
}

// A drive record for the engine's transfers, without asking the system about the drive.
inline TSEDriveInformation* AttachDrive(TScanEngine& engine, uint32_t totalSectors, uint8_t fileSystem = 0,
                                        uint8_t driveNumber = kTestDrive, uint32_t bytesPerSector = 512) {
  auto* record = new TSEDriveInformation;
  record->DriveNumber = driveNumber;
  record->RootPath = String(1, static_cast<char>('A' + driveNumber - 1)) + ":\\";
  record->BytesPerSector = bytesPerSector;
  record->TotalSectors = totalSectors;
  record->FileSystem = fileSystem;
  record->ComputeSizes();
  engine.Drives.Add(record);
  engine.CurrentDrive = record;
  return record;
}

// Tests of mapped drive letters run only in the invocations that map them (their filters
// in engine/CMakeLists.txt decide what runs where); there, a letter or an image the
// runner did not provide is a failure, never a skip.
inline ::testing::AssertionResult LetterMapped(char letter) {
  if (GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) > DRIVE_NO_ROOT_DIR)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << letter << ": is not mapped by the test runner";
}

inline ::testing::AssertionResult ImagePresent(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << path << " was not made before the tests";
}
