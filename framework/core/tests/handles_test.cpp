#include "framework/core/handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpen(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != 0;
}

TEST(Handles, KernelHandleClosesOnceAndTreatsBothFailureValuesAsNone) {
  HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(IsOpen(raw));
  {
    KernelHandle event(raw);
    KernelHandle moved(std::move(event));
    EXPECT_FALSE(event.valid());
    EXPECT_EQ(moved.get(), raw);
  }
  EXPECT_FALSE(IsOpen(raw));

  for (HANDLE none : {HANDLE(nullptr), INVALID_HANDLE_VALUE}) {
    KernelHandle h(none);
    EXPECT_FALSE(h.valid());
  }  // nothing to close, and the pseudo handle value is never passed to CloseHandle
}

TEST(Handles, ReleaseGivesUpOwnership) {
  HRGN raw = CreateRectRgn(0, 0, 10, 10);
  {
    RegionHandle region(raw);
    EXPECT_EQ(region.release(), raw);  // as after SetWindowRgn
    EXPECT_FALSE(region.valid());
  }
  RECT box{};
  EXPECT_EQ(GetRgnBox(raw, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 10);
  DeleteObject(raw);
}

TEST(Handles, ResetClosesThePreviousHandle) {
  HANDLE first = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE second = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  KernelHandle h(first);
  h.reset(second);
  EXPECT_FALSE(IsOpen(first));
  EXPECT_TRUE(IsOpen(second));
}

TEST(Handles, FindHandleStartsAsNone) {
  FindHandle none;
  EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
  WIN32_FIND_DATAA data;
  FindHandle found(FindFirstFileA("C:\\*", &data));
  EXPECT_TRUE(found.valid());
}

TEST(Handles, PredefinedRegistryRootsAreNeverClosed) {
  { RegKey root(HKEY_CURRENT_USER); }
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegKey opened(key);
  EXPECT_TRUE(opened.valid());
}

TEST(Handles, MemoryAndWindowDCs) {
  MemoryDC memory(CreateCompatibleDC(nullptr));
  EXPECT_TRUE(memory.valid());
  WindowDC screen = GetWindowDCHandle(nullptr);
  ASSERT_TRUE(screen.valid());
  EXPECT_GT(GetDeviceCaps(screen.get().DC, BITSPIXEL), 0);
}

}  // namespace
