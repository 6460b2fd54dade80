#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <vector>

#include "engine/tests/EngineFixtures.h"

namespace {

// What the owner's own procedure saw: every message must still reach it.
std::vector<UINT> ownerMessages;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE) {
    ownerMessages.push_back(message);
    return 0x1234;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden window of a class of our own, destroyed with the test.
class HiddenWindow {
 public:
  HiddenWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KvDeviceChangeTest";
    RegisterClassA(&windowClass);
    handle_ = CreateWindowExA(0, "KvDeviceChangeTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
  }
  ~HiddenWindow() { DestroyWindow(handle_); }
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

LRESULT SendVolume(HWND window, WPARAM event, DWORD deviceType, DWORD unitMask) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = deviceType;
  volume.dbcv_unitmask = unitMask;
  return SendMessageA(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
}

}  // namespace

TEST(DeviceChange, VolumesArrivingAndLeavingAreReportedOnlyWhileIdle) {
  HiddenWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  TDiskImage image;
  TImageVolumeCalls calls(image, kTestLetter);
  auto engine = MakeNtEngine(calls);
  std::vector<std::string> arrived, removed;
  engine->OnDiscArrive = [&](TObject* sender, const String& drive) {
    EXPECT_EQ(sender, engine.get());
    arrived.push_back(drive);
  };
  engine->OnDiscRemoval = [&](TObject*, const String& drive) { removed.push_back(drive); };
  const LONG_PTR original = GetWindowLongPtrA(window.Handle(), GWLP_WNDPROC);
  engine->HookOwnerWindow(window.Handle());
  EXPECT_NE(GetWindowLongPtrA(window.Handle(), GWLP_WNDPROC), original);
  ownerMessages.clear();

  struct Case {
    const char* what;
    WPARAM event;
    DWORD deviceType;
    DWORD mask;
    bool busy;
  };
  const Case cases[] = {
      {"arrival of D and E", DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, (1u << 3) | (1u << 4), false},
      {"removal of K", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 1u << 10, false},
      {"a port", DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, 1u << 5, false},
      {"a device interface", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, 1u << 5, false},
      {"no unit", DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, 0, false},
      {"removal query", DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_VOLUME, 1u << 6, false},
      {"removal while busy", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 1u << 7, true},
      {"arrival of Z", DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, 1u << 25, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    engine->Busy = c.busy;
    EXPECT_EQ(SendVolume(window.Handle(), c.event, c.deviceType, c.mask), 0x1234);
  }
  engine->Busy = false;
  // A null lParam is passed on untouched.
  SendMessageA(window.Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  EXPECT_EQ(arrived, (std::vector<std::string>{"D", "Z"}));
  EXPECT_EQ(removed, (std::vector<std::string>{"K"}));
  EXPECT_EQ(ownerMessages.size(), std::size(cases) + 1);

  engine->UnhookOwnerWindow();
  EXPECT_EQ(GetWindowLongPtrA(window.Handle(), GWLP_WNDPROC), original);
  SendVolume(window.Handle(), DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, 1u << 8);
  EXPECT_EQ(arrived.size(), 2u);
}

TEST(DeviceChange, UnitMaskGivesTheLowestLetter) {
  EXPECT_EQ(TScanEngine::UnitMaskToDriveLetter(1), "A");
  EXPECT_EQ(TScanEngine::UnitMaskToDriveLetter(0x18), "D");
  EXPECT_EQ(TScanEngine::UnitMaskToDriveLetter(0x80000000u | (1u << 25)), "Z");
  EXPECT_EQ(TScanEngine::UnitMaskToDriveLetter(0), "");
}
