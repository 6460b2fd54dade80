// The program's main block. For now it shows the empty main window.
#include <windows.h>

#include "engine/Debug.h"
#include "imaging/GIFImage.h"
#include "skin/ksSkinData.h"

namespace {

LRESULT CALLBACK MainWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  StartLogs();
  RegisterGIFImage();

  // The main form reads its stored skin from the program's resource before it hands
  // the stored skin to the one skin data container.
  TksCompressedStoredSkin storedSkin(nullptr);
  TksSkinData skinData(nullptr);
  try {
    storedSkin.LoadFromResource(instance, "DEFAULTSKIN");
    skinData.SetCompressedStoredSkin(&storedSkin);
  } catch (const std::exception& e) {
    WriteErrorLog(std::string("Exception at Startup : ") + e.what());
  }

  WNDCLASSA cls{};
  cls.lpfnWndProc = MainWindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = "TfrmMain";
  if (!RegisterClassA(&cls)) return 1;

  HWND wnd = CreateWindowExA(0, cls.lpszClassName, "Korvalo 3", WS_OVERLAPPEDWINDOW,
                             CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                             instance, nullptr);
  if (!wnd) return 1;
  ShowWindow(wnd, show);
  UpdateWindow(wnd);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
