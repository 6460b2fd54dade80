// The main of every test program. Test programs run side by side under one
// Wine server. On a shared desktop a window another program shows takes the
// foreground, activation and focus from this one's forms, and the clipboard
// belongs to the whole window station. Each program therefore takes a window
// station and a desktop of its own before it makes any window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

bool TakeOwnDesktop() {
  const std::string name = "korvalo-test-" + std::to_string(GetCurrentProcessId());
  // Both stay the program's until it ends.
  HWINSTA station = CreateWindowStationA(name.c_str(), 0, WINSTA_ALL_ACCESS, nullptr);
  if (station == nullptr || !SetProcessWindowStation(station)) return false;
  HDESK desktop = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return desktop != nullptr && SetThreadDesktop(desktop) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  if (!TakeOwnDesktop()) {
    std::fprintf(stderr, "test main: no desktop of its own (error %lu)\n", GetLastError());
    return 2;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
