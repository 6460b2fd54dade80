// recovery_bench DRIVE: WORKDIR
// What the recovery dialog costs: both passes of a recovery run by the dialog (film strip
// showing thumbnails, gauge and labels updated, messages pumped) against scan_drive.exe
// running the same passes on the same drive, five times each, alternating, in one run; the
// dialog also without its film strip, to show the strip's share. Prints the best time of
// each and the ratio. A benchmark, not a test; bench/ has the script.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <string>

#include "app/AllForms.h"
#include "app/FilmStrip.h"
#include "app/SEresource.h"
#include "app/Startup.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/dialogs/ksMessages.h"
#include "tools/BenchSupport.h"

namespace {

// Other work on the machine moves single timings a lot: the best of several counts.
constexpr int kRounds = 5;

// Kernel and user time of a thread so far; 0 for a thread not started.
double CpuSeconds(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!thread || !GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Runs scan_drive.exe with `args`, its output thrown away; the seconds it took.
double RunScanDrive(const std::string& args) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION process{};
  std::string command = ProgramFolder();
  command.insert(0, 1, '"');
  command += "scan_drive.exe\" ";
  command += args;
  const double start = Seconds();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(nul);
    throw std::runtime_error("scan_drive.exe could not be started");
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = Seconds() - start;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(nul);
  return seconds;
}

// What the dialog pays per engine event, apart from the passes: a message pump, a gauge
// repaint, a label change with its pump.
void PrintCallCosts() {
  constexpr int kCalls = 200;
  frmRecovery->Show();
  double start = Seconds();
  for (int i = 0; i < kCalls; ++i) Application->ProcessMessages();
  const double pump = (Seconds() - start) / kCalls;
  start = Seconds();
  for (int i = 0; i < kCalls; ++i) GetQueueStatus(QS_ALLINPUT);
  const double peek = (Seconds() - start) / kCalls;
  start = Seconds();
  for (int i = 0; i < kCalls; ++i) frmRecovery->pbProgress->SetValue(i % 2 ? 10 : 60);
  const double gauge = (Seconds() - start) / kCalls;
  // The same moves painted at once rather than on the next pump.
  frmRecovery->pbProgress->PaintOnPump = false;
  start = Seconds();
  for (int i = 0; i < kCalls; ++i) frmRecovery->pbProgress->SetValue(i % 2 ? 10 : 60);
  const double gaugeNow = (Seconds() - start) / kCalls;
  frmRecovery->pbProgress->PaintOnPump = true;
  start = Seconds();
  for (int i = 0; i < kCalls; ++i) {
    frmRecovery->lblFileRecoveredText->SetCaption(i % 2 ? "KV10.JPG" : "KV11.JPG");
    Application->ProcessMessages();
  }
  const double label = (Seconds() - start) / kCalls;
  frmRecovery->Hide();
  std::printf("per event: message pump %.3f ms (queue test %.3f ms), gauge move %.3f ms (painted at once "
              "%.3f ms), label change and pump %.3f ms\n",
              pump * 1000, peek * 1000, gauge * 1000, gaugeNow * 1000, label * 1000);
}

// The recovery command's part that matters here: the dialog shown, both passes, hidden.
double RunDialog(const std::string& drive, const std::string& output, bool preview, int& files) {
  TScanEngine& engine = *frmMain->Engine;
  engine.SetDestinationFolder(output);
  TSEDriveInformation* info = nullptr;
  if (!engine.GetDriveSelectedInformation(drive.substr(0, 1), info)) throw std::runtime_error("no drive " + drive);
  engine.PreviewEnabled = preview;
  const double guiBefore = CpuSeconds(GetCurrentThread());
  const double stripBefore = CpuSeconds(frmRecovery->FilmStrip->Handle());
  const double start = Seconds();
  // As the main window's recover command does: the dialog over the disabled main window,
  // which takes the activation back afterwards, so the dialog is activated on every run.
  frmRecovery->Show();
  Application->ProcessMessages();
  frmMain->SetEnabled(false);
  Application->ProcessMessages();
  frmRecovery->RunRecovery();
  const bool stripOn = frmRecovery->PreviewOn;
  frmRecovery->Hide();
  Application->ProcessMessages();
  frmMain->SetEnabled(true);
  Application->ProcessMessages();
  const double seconds = Seconds() - start;
  if (stripOn != preview) throw std::runtime_error("the dialog did not take up the film strip setting");
  files = frmRecovery->DuvidAzizFiles + frmRecovery->DezoDoziFiles;
  const double gui = CpuSeconds(GetCurrentThread()) - guiBefore;
  const double strip = CpuSeconds(frmRecovery->FilmStrip->Handle()) - stripBefore;
  std::printf("  processor time: GUI thread %.2f s, film strip %.2f s\n", gui, strip);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: recovery_bench DRIVE: WORKDIR\n");
    return 2;
  }
  const std::string drive = argv[1];
  const std::string work = std::string(argv[2]) + "\\";
  CreateDirectoryA(work.c_str(), nullptr);
  const TSavedRecoveryFolder userFolder;
  // Yes to the deep scan, no to viewing.
  ScopedSeam<TksMessageSeam> answers{{.Show = [](const String&, TksMessageType, TksMessageButtons buttons) {
    return buttons.Contains(ksmbYes) ? 6 : 1;
  }}};
  int status = 0;
  try {
    new TApplication(nullptr);
    Application->Initialize();
    SplashShown = true;
    if (!CreateForms()) throw std::runtime_error("the main window could not be made");
    frmMain->Show();
    Application->ProcessMessages();
    PrintCallCosts();
    // What a process costs to start is no part of the passes.
    double startUp = 1e9;
    for (int i = 0; i < 3; ++i) startUp = std::min(startUp, RunScanDrive(""));
    double plain = 1e9, dialog = 1e9, dark = 1e9;
    int files = 0;
    for (int round = 1; round <= kRounds; ++round) {
      const std::string tag = std::to_string(round);
      const double plainRound = RunScanDrive(drive + " \"" + work + "plain" + tag + "\" --pass both") - startUp;
      const double dialogRound = RunDialog(drive, work + "dialog" + tag + "\\", true, files);
      const double darkRound = RunDialog(drive, work + "dark" + tag + "\\", false, files);
      std::printf("round %d: scan_drive %.2f s, dialog %.2f s, dialog without film strip %.2f s\n", round, plainRound,
                  dialogRound, darkRound);
      plain = std::min(plain, plainRound);
      dialog = std::min(dialog, dialogRound);
      dark = std::min(dark, darkRound);
    }
    std::printf("files recovered by the dialog: %d\n", files);
    std::printf("best of %d: scan_drive.exe %.2f s (process start-up %.2f s left out), dialog %.2f s, "
                "dialog without film strip %.2f s\n",
                kRounds, plain, startUp, dialog, dark);
    std::printf("ratio dialog / scan_drive: %.3f (the dialog costs %+.1f %%; without the film strip %+.1f %%)\n",
                dialog / plain, 100.0 * (dialog / plain - 1.0), 100.0 * (dark / plain - 1.0));
    frmMain->Close();
    FreeAndNil(Application);
    FreeStateChangeList();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "recovery_bench: %s\n", e.what());
    status = 1;
  }
  return status;
}
