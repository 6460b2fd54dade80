// The internet library's connection queries, which tests steer: Wine always reports
// a connection, so no test could see the program's answer to none otherwise.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/core/seams.h"

struct TInternetSeam {
  // InternetGetConnectedState.
  std::function<BOOL(DWORD* flags)> GetConnectedState;
  // The same state through the library loaded by name; raises when the library is
  // missing, false when it lacks the function.
  std::function<bool()> QueryConnectedState;
  // InternetCheckConnectionA with FLAG_ICC_FORCE_CONNECTION: really connects.
  std::function<bool(const std::string& url)> CheckConnection;

  static TInternetSeam Win32();
  void FillFrom(const TInternetSeam& p) {
    seam_detail::Fill(GetConnectedState, p.GetConnectedState);
    seam_detail::Fill(QueryConnectedState, p.QueryConnectedState);
    seam_detail::Fill(CheckConnection, p.CheckConnection);
  }
};
