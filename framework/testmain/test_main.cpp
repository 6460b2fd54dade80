// The main of every test program. Test programs run side by side under one
// Wine server, and on a shared desktop a window another program shows takes
// the foreground, activation and focus from this one's forms. Each program
// therefore takes a desktop of its own before it makes any window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

bool TakeOwnDesktop() {
  const std::string name = "korvalo-test-" + std::to_string(GetCurrentProcessId());
  HDESK desktop = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (desktop == nullptr) return false;
  // The desktop stays the thread's until the program ends.
  return SetThreadDesktop(desktop) != FALSE;
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
