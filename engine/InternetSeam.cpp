#include "engine/InternetSeam.h"

#include <wininet.h>

#include "framework/core/handles.h"
#include "framework/core/sysutils.h"

TInternetSeam TInternetSeam::Win32() {
  return {
      .GetConnectedState = [](DWORD* flags) { return InternetGetConnectedState(flags, 0); },
      .QueryConnectedState =
          [] {
            ModuleHandle wininet(LoadLibraryA("wininet.DLL"));
            if (!wininet)
              throw Exception("Unable to locate function InternetGetConnectedState in library wininet.DLL");
            using Query = BOOL(WINAPI*)(LPDWORD, DWORD);
            const auto query = reinterpret_cast<Query>(
                reinterpret_cast<void*>(GetProcAddress(wininet.get(), "InternetGetConnectedState")));
            if (!query) return false;
            DWORD flags = 0;
            return query(&flags, 0) != FALSE;
          },
      .CheckConnection =
          [](const std::string& url) {
            return InternetCheckConnectionA(url.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE;
          },
  };
}
