#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <string>
#include <vector>

#include "engine/Utils.h"
#include "engine/tests/EngineFixtures.h"
#include "framework/core/osversion.h"
#include "framework/core/seams.h"

namespace {

TDiskImage SmallImage() {
  TDiskImage image;
  image.Bytes.assign(64 * 512, 0);
  return image;
}

}  // namespace

TEST(ScanEngine, TakeLastErrorClearsIt) {
  TDiskImage image = SmallImage();
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  engine->LastError = 12;
  EXPECT_EQ(engine->TakeLastError(), 12u);
  EXPECT_EQ(engine->TakeLastError(), 0u);
}

TEST(ScanEngine, ControlOperationsOnlySetFlags) {
  TDiskImage image = SmallImage();
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  EXPECT_FALSE(engine->IsBusy());
  EXPECT_FALSE(engine->CheckStop());
  engine->Pause();
  EXPECT_TRUE(engine->Paused);
  engine->Resume();
  EXPECT_FALSE(engine->Paused);
  engine->Abort();
  EXPECT_TRUE(engine->Aborted);
  EXPECT_TRUE(engine->CheckStop());
  engine->Aborted = false;
  engine->Cancel();
  EXPECT_TRUE(engine->StopRequested);
  EXPECT_TRUE(engine->CheckStop());
  engine->Busy = true;
  EXPECT_TRUE(engine->IsBusy());
}

TEST(ScanEngine, CheckStopWaitsWhilePaused) {
  TDiskImage image = SmallImage();
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  int sleeps = 0;
  bool stopWhileAsleep = false;
  // What a dialog's button does while the engine pumps messages.
  ScopedSeam<TClockSeam> clock({.Sleep = [&](DWORD ms) {
    EXPECT_EQ(ms, 750u);
    ++sleeps;
    if (stopWhileAsleep)
      engine->Cancel();
    else
      engine->Resume();
  }});
  for (const bool stop : {false, true}) {
    sleeps = 0;
    stopWhileAsleep = stop;
    engine->StopRequested = false;
    engine->Paused = true;
    EXPECT_EQ(engine->CheckStop(), stop);
    EXPECT_EQ(sleeps, 1);
  }
}

TEST(ScanEngine, UnitMasks) {
  const std::pair<uint32_t, const char*> cases[] = {{1, "A"}, {0x18, "D"}, {1u << 25, "Z"}, {0, ""}, {1u << 26, ""}};
  for (auto [mask, letter] : cases) EXPECT_EQ(TScanEngine::UnitMaskToDriveLetter(mask), letter) << mask;
}

TEST(ScanEngine, DeviceChangesOfTheOwnerWindowReachTheSlots) {
  HWND window = CreateWindowA("STATIC", "owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  TDiskImage image = SmallImage();
  TImageVolumeCalls volumes(image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  engine->HookOwnerWindow(window);
  std::vector<std::string> events;
  engine->OnDiscArrive = [&](TObject* sender, const String& drive) {
    EXPECT_EQ(sender, engine.get());
    events.push_back("+" + drive);
    engine->OnDiscArrive.Clear();  // a handler may clear its own slot
  };
  engine->OnDiscRemoval = [&](TObject*, const String& drive) { events.push_back("-" + drive); };

  auto send = [&](WPARAM kind, DWORD deviceType, DWORD mask) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = deviceType;
    volume.dbcv_unitmask = mask;
    SendMessageA(window, WM_DEVICECHANGE, kind, reinterpret_cast<LPARAM>(&volume));
  };
  send(DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, 0x18);     // a reader with D and E
  send(DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, 0x20);     // slot cleared by now
  send(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT, 0x8);  // not a volume
  send(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 0);  // no unit
  engine->Busy = true;
  send(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 0x8);
  engine->Busy = false;
  send(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 0x8);
  SendMessageA(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"+D", "-D"}));

  engine.reset();  // unhooks: the window works on without it
  send(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 0x8);
  EXPECT_EQ(events.size(), 2u);
  DestroyWindow(window);
}

TEST(ScanEngine, Windows95AndNT4AreRefusedBeforeAnythingIsMade) {
  const std::pair<DWORD, DWORD> refused[] = {{VER_PLATFORM_WIN32_WINDOWS, 4}, {VER_PLATFORM_WIN32_NT, 4}};
  for (auto [platform, major] : refused) {
    ScopedSeam<TVersionSeam> version({.Query = [platform, major](OSVERSIONINFOA* info) {
      info->dwPlatformId = platform;
      info->dwMajorVersion = major;
      info->dwMinorVersion = 0;
      info->szCSDVersion[0] = 0;
      return TRUE;
    }});
    try {
      std::make_unique<TScanEngine>(static_cast<TCustomForm*>(nullptr));
      FAIL() << "made";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "This program does not support Windows 95 or Windows NT");
    }
  }
}

TEST(ScanEngine, AMissingVirtualDeviceIsShownAndRefused) {
  TDiskImage image = SmallImage();
  TImageVolumeCalls volumes(image, kTestLetter);
  TVxdEmulator vxd(image, kTestDrive);
  vxd.OpenFails = true;
  std::vector<std::string> boxes;
  ScopedSeam<TMessageBoxSeam> box({.Show = [&](HWND, const String& text, const String& caption, UINT flags) {
    boxes.push_back(caption + ": " + text);
    EXPECT_EQ(flags & MB_ICONEXCLAMATION, UINT(MB_ICONEXCLAMATION));
    return IDOK;
  }});
  EXPECT_THROW(Make98Engine(volumes, vxd), Exception);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Error: Error loading \"VWIN32.VXD (INT25/26)\""}));
}
