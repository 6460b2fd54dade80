// The main window's update command: asks the update site whether a newer version
// exists and, when one does, hands over to the updater and closes the program.
#include <exception>

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

void TfrmMain::imgUpdateClick(TObject*) {
  auto say = [this](TextId text) { Message(text, ksmtInformation); };
  const String folder = Engine->ProgramFolder;
  String site;
  bool reachable = false;
  try {
    if (!IsInternetConnected() || !QueryInternetConnection()) {
      say(TextId::NoInternet);
      return;
    }
    site = UpdateSiteAddress(folder);
    reachable = CanReachSite(site);
  } catch (const std::exception& e) {
    WriteErrorLog(String("WebUpdate : ") + e.what());
    say(TextId::RanIntoAProblem);
    return;
  }
  if (!reachable) {
    say(TextId::NoInternet);
    return;
  }
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
    if (WebUpdate->CheckNewVersion()) {
      WebUpdate->Launch(Application->ExeName());
      Close();
    } else {
      say(TextId::LatestVersionAlready);
    }
  } catch (const std::exception&) {
    say(TextId::UpdateFailed);
  }
}
