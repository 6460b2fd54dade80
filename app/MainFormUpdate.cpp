// The main window's update command: asks the update site whether a newer version
// exists and, when one does, hands over to the updater and closes the program.
#include <exception>
#include <optional>

#include "app/BusyPump.h"
#include "app/MainForm.h"
#include "app/WebUpdate.h"
#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/inifiles.h"
#include "framework/gui/application.h"
#include "skin/dialogs/ksMessages.h"

namespace {

// No public update server exists: the default is this machine, where nothing
// answers unless someone serves one.
constexpr const char* kDefaultUpdateSite = "http://127.0.0.1/korvalo3/";
constexpr const char* kCompanyName = "Brellin";

String UpdateSiteAddress(const String& programFolder) {
  TIniFile table(programFolder + "Korvalo3.INI");
  return table.ReadString("Update", "Site", kDefaultUpdateSite);
}

}  // namespace

// The check and the download wait for the update site on this thread: the window goes on
// painting with the hourglass over it meanwhile, and a close ends the command.
void TfrmMain::imgUpdateClick(TObject*) {
  TCommandScope running(*this);
  const String folder = Engine->ProgramFolder;
  std::optional<TextId> told;
  {
    TBusyPump busy;
    told = CheckForUpdate(folder, busy);
  }
  if (WebUpdate) WebUpdate->OnWait = nullptr;
  if (!told)
    Close();
  else if (!ClosePending())
    Message(*told, ksmtInformation);
}

// What the update command tells; none once the updater has been launched.
std::optional<TextId> TfrmMain::CheckForUpdate(const String& folder, TBusyPump& busy) {
  String site;
  bool reachable = false;
  try {
    if (!IsInternetConnected() || !QueryInternetConnection()) return TextId::NoInternet;
    site = UpdateSiteAddress(folder);
    reachable = CanReachSite(site);
  } catch (const std::exception& e) {
    WriteErrorLog(String("WebUpdate : ") + e.what());
    return TextId::RanIntoAProblem;
  }
  if (!reachable) return TextId::NoInternet;
  try {
    if (!WebUpdate) WebUpdate = new TWebUpdate(this);
    WebUpdate->Load(folder + "webupdate.xml");
    WebUpdate->AppName = "Korvalo 3";
    WebUpdate->CompanyName = kCompanyName;
    WebUpdate->InternetSite = site;
    WebUpdate->Version = IntToStr(Engine->MajorVersion) + "." + IntToStr(Engine->MinorVersion);
    WebUpdate->Language = "English";
    WebUpdate->Installation = folder;
    WebUpdate->Run = Application->ExeName();
    WebUpdate->Port = 80;
    WebUpdate->Unload = true;
    WebUpdate->Restart = true;
    WebUpdate->DownloadOnly = false;
    WebUpdate->Hangup = false;
    WebUpdate->Save();
    WebUpdate->AutomaticQuestion = true;
    // A close that arrives meanwhile ends the wait; the command then tells nothing.
    WebUpdate->OnWait = [this, &busy] {
      busy();
      if (ClosePending()) throw Exception("The program is closing");
    };
    if (!WebUpdate->CheckNewVersion()) return TextId::LatestVersionAlready;
    WebUpdate->Launch(Application->ExeName());
    return std::nullopt;
  } catch (const std::exception&) {
    return TextId::UpdateFailed;
  }
}
