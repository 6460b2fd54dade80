#include "app/tests/MainForm_fixture.h"

#include "engine/Lang.h"
#include "app/Texts.h"
#include "skin/ksSkinLinkLabel.h"

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
      {f.lblVersion, 8, 8, -1, -1}};
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
  EXPECT_EQ(f.lblVersion->Caption(), "Version 3.0.0.1");
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
    EXPECT_EQ(RecoverRefusal(c.info ? &info : nullptr, c.lastError, c.windows, c.folder), c.refusal) << c.what;
  }
}

}  // namespace
}  // namespace apptest
