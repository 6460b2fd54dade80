#include "app/Startup.h"

#include <algorithm>
#include <cctype>

#include "app/AllForms.h"
#include "app/SEresource.h"
#include "engine/Debug.h"
#include "engine/Utils.h"
#include "framework/gui/application.h"
#include "imaging/GIFImage.h"

TSwitches ParseSwitches(const std::vector<std::string>& params) {
  TSwitches switches;
  for (std::string p : params) {
    std::transform(p.begin(), p.end(), p.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (p.find("DEBUG") != std::string::npos) switches.Debug = true;
    if (p.find("INSTALL") != std::string::npos) {
      switches.Install = true;
      break;
    }
  }
  return switches;
}

bool CreateForms() {
  Application->CreateForm(frmMain);
  if (frmMain->CreateFailed) return false;
  Application->CreateForm(frmSplash);
  Application->CreateForm(frmSelectTypes);
  Application->CreateForm(frmSecureErase);
  Application->CreateForm(frmBurn);
  Application->CreateForm(frmRecovery);
  Application->CreateForm(frmFeedback);
  Application->CreateForm(frmOutputDIR);
  Application->CreateForm(frmBrowse);
  Application->CreateForm(frmGenericWait);
  Application->CreateForm(frmBackup);
  Application->CreateForm(frmRestore);
  return true;
}

int RunProgram(const std::vector<std::string>& params) {
  StartLogs();
  RegisterGIFImage();
  const TSwitches switches = ParseSwitches(params);
  if (switches.Debug) DebugMode = true;
  if (switches.Install) return 0;
  // Its handle is never closed: the name is held until the process ends.
  if (CreateSingleInstanceMutex("Redoveze3") == INVALID_HANDLE_VALUE) return 0;
  int exitCode = 0;
  try {
    if (!Application) new TApplication(nullptr);
    Application->Initialize();
    Application->SetTitle("Korvalo 3");
    if (CreateForms())
      Application->Run();
    else
      exitCode = 1;
  } catch (const std::exception& e) {
    WriteErrorLog(std::string("Exception at Startup : ") + e.what());
    exitCode = 1;
  }
  // The main window first: its clean-up frees five of the forms and clears their
  // references, which the application (freeing its forms last first) would not.
  FreeAndNil(frmMain);
  FreeAndNil(Application);
  FreeStateChangeList();
  return exitCode;
}
