#include "app/tests/MainForm_fixture.h"

#include <dbt.h>

#include <cstring>
#include <map>

#include "app/tests/TextNumbers.h"
#include "engine/Lang.h"
#include "engine/OutputFolder.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksTrayIcon.h"
#include "skin/shell/ksSkinShellDriveComboBox.h"

namespace apptest {
namespace {

using MainForm = MainFormTest;

TEST_F(MainForm, ComponentsSitAtTheirPlaces) {
  struct Place {
    TControl* control;
    int left, top, width, height;
  };
  const TfrmMain& f = *frmMain;
  const Place places[] = {
      {f.imgBackground, 0, 0, 615, 331},   {f.lblTitle, 240, 8, 361, 38},     {f.lblInfo1, 240, 40, 361, 57},
      {f.lblInfo2, 240, 96, 361, 57},      {f.lblInfo3, 240, 152, 361, 25},   {f.Label1, 440, 184, 33, -1},
      {f.Label2, 480, 184, 33, -1},        {f.Label3, 520, 184, 33, -1},      {f.imgRecover, 440, 198, 32, 32},
      {f.imgView, 480, 198, 32, 32},       {f.imgHelp, 520, 198, 32, 32},     {f.imgExit, 560, 198, 32, 32},
      {f.imgSelectOUT, 240, 288, 32, 32},  {f.imgSelectFiles, 286, 288, 32, 32}, {f.imgUpdate, 332, 288, 32, 32},
      {f.imgDeleteFiles, 378, 288, 32, 32}, {f.imgSecureErase, 422, 288, 32, 32}, {f.imgCDBurn, 468, 288, 32, 32},
      {f.imgBackupCard, 514, 288, 32, 32}, {f.imgRestoreCard, 560, 288, 32, 32}, {f.lblURLlink, 16, 304, 193, 14},
      {f.imgNoPicture, 0, 336, 57, 49},    {f.lblSelectDrive, 256, 188, -1, -1}, {f.lblAdvancedOptions, 240, 264, -1, -1},
      {f.lblVersion, 8, 8, -1, -1},        {f.cboDriveList, 253, 204, 176, 20}};
  for (const Place& p : places) {
    SCOPED_TRACE(p.control->Name + " at " + std::to_string(p.left) + "," + std::to_string(p.top));
    EXPECT_EQ(p.control->Left(), p.left);
    EXPECT_EQ(p.control->Top(), p.top);
    if (p.width >= 0) {
      EXPECT_EQ(p.control->Width(), p.width);
    }
    if (p.height >= 0) {
      EXPECT_EQ(p.control->Height(), p.height);
    }
  }
  EXPECT_EQ(frmMain->ClientWidth(), 614);
  EXPECT_EQ(frmMain->ClientHeight(), 330);
  // The version the program's file carries, as the label must show it.
  uint32_t major = 0, minor = 0, release = 0, build = 0;
  ReadFileVersion(frmMain->Engine->ProgramFolder + "Korvalo3.exe", major, minor, release, build);
  EXPECT_EQ(f.lblVersion->Caption(), "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
                                         std::to_string(release) + "." + std::to_string(build));
  EXPECT_TRUE(messages.Boxes().empty());
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

using MainForm = MainFormTest;

TEST_F(MainForm, CaptionsAndHintsByNumber) {
  TfrmMain& f = *frmMain;
  const std::pair<String, uint8_t> texts[] = {
      {f.Caption(), 0},
      {f.lblSelectDrive->Caption(), 122},
      {f.imgRecover->Hint, 40},
      {f.imgView->Hint, 41},
      {f.imgHelp->Hint, 42},
      {f.imgSelectOUT->Hint, 43},
      {f.imgSelectFiles->Hint, 44},
      {f.imgUpdate->Hint, 45},
      {f.imgDeleteFiles->Hint, 46},
      {f.imgSecureErase->Hint, 47},
      {f.imgCDBurn->Hint, 48},
      {f.lblAdvancedOptions->Caption(), 49},
      {f.imgExit->Hint, 123},
      {f.imgBackupCard->Hint, 125},
      {f.imgRestoreCard->Hint, 126},
      {f.lblTitle->Caption(), 129},
      {f.lblInfo1->Caption(), 130},
      {f.lblInfo2->Caption(), 131},
      {f.lblInfo3->Caption(), 132},
  };
  for (const auto& [shown, number] : texts) {
    EXPECT_FALSE(shown.empty()) << number;
    EXPECT_EQ(shown, LangText(number)) << number;
  }
}

class MainFormFirstStart : public MainFormTest {
 protected:
  MainFormFirstStart() { storeOutputFolder = false; }
};

TEST_F(MainFormFirstStart, StoresMyRecoveredFilesInTheDocumentsFolder) {
  const std::string expected = documents + "\\My Recovered Files\\";
  EXPECT_EQ(frmMain->Engine->DestinationFolder, expected);
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(registry.OpenKeyReadOnly(kProgramKey));
  EXPECT_EQ(registry.ReadString("RecoveryFolder"), expected);
}

// What the window's description sets beyond the defaults: the drive list fades its
// list in (only where blending is on), the three dialog components name the skin.
TEST_F(MainForm, TheDriveListAndTheDialogComponentsCarryTheirStoredSettings) {
  EXPECT_TRUE(frmMain->cboDriveList->AlphaBlendAnimation);
  EXPECT_FALSE(frmMain->cboDriveList->AlphaBlend);
  struct Row {
    TksSkinDialogComponent* dialog;
    bool animation;
    TksSkinData* ctrlSkin;
  } rows[] = {{frmMain->ksSelectDIR, true, frmMain->ksCompSkin},
              {frmMain->opd, false, nullptr},
              {frmMain->GenericPassword, false, frmMain->ksCompSkin}};
  for (const Row& r : rows) {
    ASSERT_NE(r.dialog, nullptr);
    SCOPED_TRACE(r.dialog->ClassName());
    EXPECT_EQ(r.dialog->Owner(), frmMain) << "made, and freed, with the window";
    EXPECT_EQ(r.dialog->SkinData(), frmMain->ksCompSkin);
    EXPECT_EQ(r.dialog->CtrlSkinData(), r.ctrlSkin);
    EXPECT_EQ(r.dialog->AlphaBlendAnimation, r.animation);
    EXPECT_FALSE(r.dialog->AlphaBlend);
  }
}

// The frame gives the tray icon its own restore; the window's handler takes the double
// click back and restores through the frame.
TEST_F(MainForm, TheTrayIconsDoubleClickRunsTheWindowsHandler) {
  TksTrayIcon& tray = *frmMain->ksTrayIcon1;
  EXPECT_EQ(tray.OnDblClick, Bind<&TfrmMain::ksTrayIcon1DblClick>(frmMain));
  int restored = 0;
  frmMain->ksMainForm->OnRestoreFromTray = [&](TObject*) { ++restored; };
  tray.MinimizeToTray = true;
  tray.OnDblClick(&tray);
  // Restoring shows the application's window, which the tests keep hidden.
  ShowWindow(Application->Handle(), SW_HIDE);
  EXPECT_EQ(restored, 1);
  EXPECT_FALSE(tray.MinimizeToTray);
}

TEST_F(MainForm, AStoredOutputFolderIsKept) { EXPECT_EQ(frmMain->Engine->DestinationFolder, output); }

TEST_F(MainForm, SplashOnlyAtTheFirstActivationForItsTime) {
  frmSplash = Construct<TfrmSplash>(Application);
  bool splashShownWhileSleeping = false;
  sleeps.clear();  // making the window may sleep for its own reasons
  ScopedSeam<TClockSeam> watch({.Sleep = [&](DWORD ms) {
    sleeps.push_back(ms);
    splashShownWhileSleeping = frmSplash->Visible();
  }});
  frmMain->FormActivate(frmMain);
  EXPECT_EQ(sleeps, std::vector<DWORD>{1800});
  EXPECT_TRUE(splashShownWhileSleeping);
  EXPECT_FALSE(frmSplash->Visible());
  frmMain->FormActivate(frmMain);
  frmMain->FormActivate(frmMain);
  EXPECT_EQ(sleeps.size(), 1u);
}

TEST_F(MainForm, ActivationTakesTheDriveEventsBack) {
  frmMain->Engine->OnDiscArrive.Clear();
  frmMain->Engine->OnDiscRemoval.Clear();
  frmMain->FormActivate(frmMain);
  EXPECT_EQ(frmMain->Engine->OnDiscArrive, Bind<&TfrmMain::OnDiscArrive>(frmMain));
  EXPECT_EQ(frmMain->Engine->OnDiscRemoval, Bind<&TfrmMain::OnDiscRemoval>(frmMain));
}

TEST_F(MainForm, CleanUpFreesTheEngineAndTheFiveFormsAndCanRunTwice) {
  CreateOtherForms();
  TCloseAction action = caHide;
  frmMain->FormClose(frmMain, action);
  EXPECT_EQ(frmMain->Engine, nullptr);
  for (void* form : {static_cast<void*>(frmSplash), static_cast<void*>(frmRecovery),
                     static_cast<void*>(frmSelectTypes), static_cast<void*>(frmBrowse), static_cast<void*>(frmBurn)})
    EXPECT_EQ(form, nullptr);
  EXPECT_NE(frmGenericWait, nullptr);  // the application's to free
  frmMain->FormDestroy(frmMain);
}

// A session end closes the main window even while it is disabled for a recovery:
// the pass on the stack must not lose its engine.
TEST_F(MainForm, ACloseDuringACommandStopsTheEngineAndWaitsForTheCommand) {
  TScanEngine* engine = frmMain->Engine;
  {
    TfrmMain::TCommandScope running(*frmMain);
    TCloseAction action = caHide;
    frmMain->FormClose(frmMain, action);
    EXPECT_EQ(action, caNone);
    EXPECT_EQ(frmMain->Engine, engine);
    EXPECT_TRUE(engine->StopRequested);
    EXPECT_TRUE(engine->Aborted);
  }
  EXPECT_EQ(frmMain->Engine, nullptr);
}

TEST_F(MainForm, RecoverWithoutADriveAndViewWithNothing) {
  CreateOtherForms();
  frmMain->RecoverDrive(0);
  frmMain->optViewRecoverClick(frmMain);
  ASSERT_EQ(messages.Boxes().size(), 2u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(2));
  EXPECT_EQ(messages.Boxes()[0].DlgType, ksmtInformation);
  EXPECT_EQ(messages.Boxes()[1].Msg, LangText(98));
  EXPECT_EQ(messages.Boxes()[1].DlgType, ksmtConfirmation);
  EXPECT_EQ(messages.Boxes()[1].Buttons, (TksMessageButtons{ksmbOK}));
}

TEST(RecoverRefusal, ByDriveAndSystem) {
  struct Case {
    const char* what;
    bool info;
    uint32_t lastError;
    uint8_t driveType;
    bool cd, audio;
    uint8_t windows;
    const char* folder;
    uint8_t refusal;
  };
  const Case cases[] = {
      {"no information", false, 0, 0, false, false, 7, "C:\\out\\", 23},
      {"CD file system not recognised", false, 3, 0, false, false, 7, "C:\\out\\", 60},
      {"CD on XP", true, 0, 5, true, false, 7, "C:\\out\\", 0},
      {"CD on 2000", true, 0, 5, true, false, 6, "C:\\out\\", 0},
      {"CD on 98", true, 0, 5, true, false, 2, "C:\\out\\", 6},
      {"audio CD on 98", true, 0, 5, true, true, 2, "C:\\out\\", 0},
      {"network drive", true, 0, 4, false, false, 7, "C:\\out\\", 59},
      {"output on the card", true, 0, 2, false, false, 7, "K:\\out\\", 108},
      {"output on the card, lower case", true, 0, 2, false, false, 7, "k:\\out\\", 108},
      {"output on a share", true, 0, 2, false, false, 7, "\\\\K\\out\\", 0},
      {"output elsewhere", true, 0, 2, false, false, 7, "C:\\out\\", 0},
  };
  for (const Case& c : cases) {
    TSEDriveInformation info;
    info.DriveType = c.driveType;
    info.IsCD = c.cd;
    info.IsAudioCD = c.audio;
    info.RootPath = "K:\\";
    const std::optional<TextId> refusal = RecoverRefusal(c.info ? &info : nullptr, c.lastError, c.windows, c.folder);
    EXPECT_EQ(refusal ? static_cast<uint8_t>(*refusal) : 0, c.refusal) << c.what;
  }
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

// The main window over a machine whose drives the test chooses; cards come and go
// by synthetic device-change messages, as the system sends them.
class MainFormDrives : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    frmMain->FormActivate(frmMain);  // takes the engine's drive events
  }
  void Send(WPARAM event, char letter) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (letter - 'A');
    SendMessageA(frmMain->Handle(), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
  }
  void Arrive(char letter, UINT type = DRIVE_REMOVABLE) {
    volumes[letter] = type;
    Send(DBT_DEVICEARRIVAL, letter);
  }
  void Leave(char letter) {
    volumes.erase(letter);
    Send(DBT_DEVICEREMOVECOMPLETE, letter);
  }
  TksSkinShellDriveComboBox& List() { return *frmMain->cboDriveList; }
  std::vector<char> Listed() {
    std::vector<char> letters;
    for (const TksShellDrive& d : List().DriveList().Drives()) letters.push_back(d.Letter);
    return letters;
  }

  std::map<char, UINT> volumes{{'A', DRIVE_REMOVABLE}, {'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}, {'N', DRIVE_REMOTE}};
  std::map<char, std::string> names;  // a name other than the usual one
  ScopedSeam<TksSystemSeam> drives{{
      .DriveType =
          [this](const std::string& root) -> UINT {
            auto found = volumes.find(root[0]);
            return found == volumes.end() ? DRIVE_NO_ROOT_DIR : found->second;
          },
      .ShellFileInfo =
          [this](const std::string& path, UINT flags, SHFILEINFOA* info) -> DWORD_PTR {
            if (path.empty()) return TksSystemSeam::Win32().ShellFileInfo(path, flags, info);
            auto named = names.find(path[0]);
            const std::string name = named != names.end() ? named->second : "Disk (" + path.substr(0, 2) + ")";
            std::strcpy(info->szDisplayName, name.c_str());
            info->iIcon = 0;
            return 1;
          },
  }};
};

TEST_F(MainFormDrives, ListsFloppyFixedAndCDDrivesButNoNetworkDrive) {
  EXPECT_EQ(Listed(), (std::vector<char>{'A', 'C', 'D'}));
  EXPECT_EQ(SelectedDriveLetter(*frmMain), 'A');
}

TEST_F(MainFormDrives, AnArrivingCardKeepsTheSelection) {
  List().SetDrive('D');
  Arrive('K');
  EXPECT_EQ(Listed(), (std::vector<char>{'A', 'C', 'D', 'K'}));
  EXPECT_EQ(SelectedDriveLetter(*frmMain), 'D');
  EXPECT_TRUE(sleeps.empty() || sleeps.back() != 100) << "a named drive needs no second pass";
}

TEST_F(MainFormDrives, RemovingTheSelectedDriveSelectsTheFirstAnotherKeepsIt) {
  Arrive('K');
  List().SetDrive('K');
  Leave('K');
  EXPECT_EQ(Listed(), (std::vector<char>{'A', 'C', 'D'}));
  EXPECT_EQ(List().ItemIndex(), 0);
  EXPECT_EQ(SelectedDriveLetter(*frmMain), 'A');

  Arrive('K');
  List().SetDrive('K');
  Leave('A');
  EXPECT_EQ(Listed(), (std::vector<char>{'C', 'D', 'K'}));
  EXPECT_EQ(List().Items()->Strings(List().ItemIndex()), "Disk (K:)");
}

TEST_F(MainFormDrives, ANamelessDriveStopsTheArrivalRebuildAtItsBound) {
  names['K'] = "";
  sleeps.clear();
  Arrive('K');
  EXPECT_EQ(Listed(), (std::vector<char>{'A', 'C', 'D', 'K'}));
  EXPECT_EQ(sleeps, std::vector<DWORD>(9, 100));
}

}  // namespace
}  // namespace apptest
