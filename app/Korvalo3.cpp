// The program's main block: its steps live in app_lib (app/Startup.h).
#include <windows.h>

#include <string>
#include <vector>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> params;
  for (int i = 1; i < __argc; ++i) params.emplace_back(__argv[i]);
  return RunProgram(params);
}
