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

// A test program that faults must fail its run. Left to the system, the crash report
// under Wine can end the process with exit code 0, and CTest counts that as passed.
LONG WINAPI FailOnCrash(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  HMODULE module = nullptr;
  char moduleName[MAX_PATH] = "?";
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCSTR>(record->ExceptionAddress), &module))
    GetModuleFileNameA(module, moduleName, sizeof moduleName);
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr, "test main: unhandled exception %08lx at %p (%s+0x%lx) in %s.%s\n",
               static_cast<unsigned long>(record->ExceptionCode), record->ExceptionAddress, moduleName,
               static_cast<unsigned long>(static_cast<const char*>(record->ExceptionAddress) -
                                          reinterpret_cast<const char*>(module)),
               test ? test->test_suite_name() : "-", test ? test->name() : "-");
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  if (!TakeOwnDesktop()) {
    std::fprintf(stderr, "test main: no desktop of its own (error %lu)\n", GetLastError());
    return 2;
  }
  SetUnhandledExceptionFilter(FailOnCrash);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
