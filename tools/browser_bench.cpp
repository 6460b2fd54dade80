// browser_bench OUTPUT_FOLDER
// What the browser costs: the browser shown on the recovered files in OUTPUT_FOLDER's
// DuvidAziz sub-folder, timed from its showing until its grid is laid out (a thumbnail
// of every file made by the library, the wait box's gauge stepped, messages pumped).
// Prints the count, the seconds and thumbnails per second. A benchmark, not a test:
// bench/browser-bench.sh sets up the files and times the native decode beside it.
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "app/AllForms.h"
#include "app/SEresource.h"
#include "app/Startup.h"
#include "engine/ScanEngine.h"
#include "framework/core/registry.h"
#include "framework/gui/application.h"

namespace {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: browser_bench OUTPUT_FOLDER\n");
    return 2;
  }
  // The output folder is stored by the engine; the user's own is put back afterwards.
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  const bool stored = registry.OpenKey("Software\\Brellin\\Korvalo 3", true) && registry.ValueExists("RecoveryFolder");
  const std::string saved = stored ? registry.ReadString("RecoveryFolder") : "";
  int status = 0;
  try {
    new TApplication(nullptr);
    Application->Initialize();
    SplashShown = true;
    if (!CreateForms()) throw std::runtime_error("the main window could not be made");
    frmMain->Engine->SetDestinationFolder(argv[1]);
    const double start = Seconds();
    frmBrowse->Show();
    const double seconds = Seconds() - start;
    const size_t count = frmBrowse->Thumbnails.size();
    std::printf("browser: %zu thumbnails in %.2f s, %.1f per second\n", count, seconds,
                seconds > 0 ? static_cast<double>(count) / seconds : 0.0);
    frmBrowse->Hide();
    frmMain->Close();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "browser_bench: %s\n", e.what());
    status = 1;
  }
  if (stored)
    registry.WriteString("RecoveryFolder", saved);
  else
    registry.DeleteValue("RecoveryFolder");
  return status;
}
