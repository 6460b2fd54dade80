// Refuses, while it lives, every hidden utility window this thread would make (the
// kind AllocateHWnd makes), as a system that cannot make one would; other windows
// are made as usual.
#pragma once

#include <windows.h>

#include <cstring>

class TUtilityWindowVeto {
 public:
  TUtilityWindowVeto() : hook_(SetWindowsHookExA(WH_CBT, &Veto, nullptr, GetCurrentThreadId())) {}
  ~TUtilityWindowVeto() { UnhookWindowsHookEx(hook_); }
  TUtilityWindowVeto(const TUtilityWindowVeto&) = delete;
  TUtilityWindowVeto& operator=(const TUtilityWindowVeto&) = delete;

 private:
  static LRESULT CALLBACK Veto(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
      if (!IS_INTRESOURCE(name) && std::strcmp(name, "FwUtilityWindow") == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  HHOOK hook_;
};
