#include "app/MainForm.h"

#include "ProductVersion.h"
#include "app/AllForms.h"
#include "app/ArtResources.h"
#include "app/Place.h"
#include "app/SEresource.h"
#include "app/Texts.h"
#include "app/Website.h"
#include "engine/Debug.h"
#include "engine/Lang.h"
#include "engine/Utils.h"
#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksTrayIcon.h"
#include "skin/shell/ksSkinShellDriveComboBox.h"

bool SplashShown = false;

namespace {

constexpr uint8_t kNormal = 2;
constexpr uint8_t kHighlighted = 3;

// A label of its own size unless given one.
TLabel* MakeLabel(TfrmMain* form, int left, int top, int width = kOwnSize, int height = kOwnSize) {
  auto* label = Place<TLabel>(form, left, top, width, height);
  if (width != kOwnSize) label->SetAutoSize(false);
  label->SetTransparent(true);
  label->Font()->SetColor(clWhite);
  return label;
}

TImage* MakeImage(TfrmMain* form, int left, int top) {
  auto* image = Place<TImage>(form, left, top, 32, 32);
  image->SetStretch(true);
  image->SetShowHint(true);
  return image;
}

}  // namespace

TfrmMain::TfrmMain(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSingle);
  SetBorderIcons(0);
  Position = poScreenCenter;
  SetClientSize(614, 330);

  ksCompressedStoredSkin1 = new TksCompressedStoredSkin(this);
  ksCompSkin = new TksSkinData(this);
  try {
    ksCompressedStoredSkin1->LoadFromResource(GetModuleHandleA(nullptr), "DEFAULTSKIN");
    ksCompSkin->SetCompressedStoredSkin(ksCompressedStoredSkin1);
  } catch (const Exception& e) {
    WriteErrorLog(std::string("Cannot load the skin : ") + e.what());
  }
  GenericMessage = new TksSkinMessage(this);
  GenericMessage->SetSkinData(ksCompSkin);
  GenericMessage->SetCtrlSkinData(ksCompSkin);
  ksSelectDIR = new TksSkinSelectDirectoryDialog(this);
  ksSelectDIR->AlphaBlendAnimation = true;
  ksSelectDIR->SetSkinData(ksCompSkin);
  ksSelectDIR->SetCtrlSkinData(ksCompSkin);
  opd = new TksSkinOpenPictureDialog(this);
  opd->SetSkinData(ksCompSkin);
  GenericPassword = new TksSkinPasswordDialog(this);
  GenericPassword->SetSkinData(ksCompSkin);
  GenericPassword->SetCtrlSkinData(ksCompSkin);

  BuildControls();

  ksTrayIcon1 = new TksTrayIcon(this);
  ksMainForm = new TksSkinForm(this);
  ksMainForm->SetBorderIcons({TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::RollUp,
                              TksBorderIcon::MinimizeToTray});
  ksMainForm->SetTrayIcon(ksTrayIcon1);
  // The frame hands the icon its own restore; the window's handler, which restores
  // through the frame, takes the double click back.
  ksTrayIcon1->OnDblClick = Bind<&TfrmMain::ksTrayIcon1DblClick>(this);
  ksMainForm->ClientWidth = 614;
  ksMainForm->ClientHeight = 330;
  ksMainForm->SetSkinData(ksCompSkin);

  OnCreate = Bind<&TfrmMain::FormCreate>(this);
  OnActivate = Bind<&TfrmMain::FormActivate>(this);
  OnClose = Bind<&TfrmMain::FormClose>(this);
  OnDestroy = Bind<&TfrmMain::FormDestroy>(this);
}

void TfrmMain::BuildControls() {
  imgBackground = Place<TImage>(this, 0, 0, 615, 331);
  imgBackground->SetAutoSize(true);
  LoadJpegResource(imgBackground->Picture(), kMainBackgroundResource);
  imgBackground->OnMouseMove = Bind<&TfrmMain::imgBackgroundMouseMove>(this);

  lblTitle = MakeLabel(this, 240, 8, 361, 38);
  lblTitle->SetAlignment(taCenter);
  lblTitle->SetWordWrap(true);
  lblTitle->Font()->SetName("Tahoma");
  lblTitle->Font()->SetHeight(-16);
  lblTitle->Font()->SetStyle(fsBold);
  lblInfo1 = MakeLabel(this, 240, 40, 361, 57);
  lblInfo2 = MakeLabel(this, 240, 96, 361, 57);
  lblInfo3 = MakeLabel(this, 240, 152, 361, 25);
  for (TLabel* info : {lblInfo1, lblInfo2, lblInfo3}) info->SetWordWrap(true);
  lblSelectDrive = MakeLabel(this, 256, 188);
  cboDriveList = Place<TksSkinShellDriveComboBox>(this, 253, 204, 176, 20);
  cboDriveList->SetSkinDataName("combobox");
  cboDriveList->SetDriveTypes(DriveTypeSet({dtFloppy, dtFixed, dtCDROM, dtRAM}));
  cboDriveList->AlphaBlendAnimation = true;
  cboDriveList->SetSkinData(ksCompSkin);

  const char* steps[] = {"1", "2", "3"};
  TLabel** stepLabels[] = {&Label1, &Label2, &Label3};
  for (int i = 0; i < 3; ++i) {
    TLabel* step = MakeLabel(this, 440 + 40 * i, 184, 33, 13);
    step->SetAlignment(taCenter);
    step->Font()->SetStyle(fsBold);
    step->SetCaption(steps[i]);
    *stepLabels[i] = step;
  }
  imgRecover = MakeImage(this, 440, 198);
  imgView = MakeImage(this, 480, 198);
  imgHelp = MakeImage(this, 520, 198);
  imgExit = MakeImage(this, 560, 198);

  lblAdvancedOptions = MakeLabel(this, 240, 264);
  lblAdvancedOptions->Font()->SetStyle(fsBold);
  // The lower row's pictures show the background through their key colour.
  imgSelectOUT = MakeImage(this, 240, 288);
  imgSelectFiles = MakeImage(this, 286, 288);
  imgUpdate = MakeImage(this, 332, 288);
  imgDeleteFiles = MakeImage(this, 378, 288);
  imgSecureErase = MakeImage(this, 422, 288);
  imgCDBurn = MakeImage(this, 468, 288);
  imgBackupCard = MakeImage(this, 514, 288);
  imgRestoreCard = MakeImage(this, 560, 288);
  for (TImage* image : {imgSelectOUT, imgSelectFiles, imgUpdate, imgDeleteFiles, imgSecureErase, imgCDBurn,
                        imgBackupCard, imgRestoreCard})
    image->SetTransparent(true);
  for (TImage* image : {imgRecover, imgView, imgHelp, imgExit, imgSelectOUT, imgSelectFiles, imgUpdate,
                        imgDeleteFiles, imgSecureErase, imgCDBurn, imgBackupCard, imgRestoreCard})
    image->OnMouseMove = Bind<&TfrmMain::imgButtonMouseMove>(this);
  imgRecover->OnClick = Bind<&TfrmMain::OptRecoverClick>(this);
  imgView->OnClick = Bind<&TfrmMain::optViewRecoverClick>(this);
  imgExit->OnClick = Bind<&TfrmMain::imgExitClick>(this);
  imgHelp->OnClick = Bind<&TfrmMain::optProblemClick>(this);
  imgSelectOUT->OnClick = Bind<&TfrmMain::imgSelectOUTClick>(this);
  imgSelectFiles->OnClick = Bind<&TfrmMain::imgSelectFilesClick>(this);
  imgDeleteFiles->OnClick = Bind<&TfrmMain::imgDeleteFilesClick>(this);
  imgSecureErase->OnClick = Bind<&TfrmMain::imgSecureEraseClick>(this);
  imgCDBurn->OnClick = Bind<&TfrmMain::imgCDBurnClick>(this);
  imgBackupCard->OnClick = Bind<&TfrmMain::imgBackupCardClick>(this);
  imgRestoreCard->OnClick = Bind<&TfrmMain::imgRestoreCardClick>(this);
  imgUpdate->OnClick = Bind<&TfrmMain::imgUpdateClick>(this);

  lblVersion = MakeLabel(this, 8, 8, 120, 12);
  lblVersion->Font()->SetColor(clSilver);
  lblVersion->Font()->SetHeight(-9);
  lblVersion->SetCaption(String("Version ") + kProductVersion);

  lblURLlink = Place<TksSkinLinkLabel>(this, 16, 304, 193, 14);
  lblURLlink->SetAutoSize(false);
  lblURLlink->SkinDataName = "stdlabel";
  // Its own white font on the dark background: the skin's label colours are made
  // for light dialogs, so the link is left without the skin.
  lblURLlink->UseSkinFont = false;
  lblURLlink->Font()->SetName("Arial");
  lblURLlink->Font()->SetColor(clWhite);
  lblURLlink->Font()->SetStyle(fsUnderline);
  lblURLlink->DefaultActiveFontColor = static_cast<TColor>(0x40C0FF);  // the art's amber
  lblURLlink->SetCaption(kWebsite);
  lblURLlink->URL = kWebsiteURL;

  imgNoPicture = Place<TImage>(this, 0, 336, 57, 49);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate(TObject*) {
  Invalidate();
  SupportedLanguages->LoadLanguages();
  SupportedLanguages->SetDefaultLanguage();
  SupportedLanguages->SetLocaleLanguage();
  WriteInfoLog("Set Language");
  try {
    WriteInfoLog("Create CORE Engine");
    Engine = new TScanEngine(this);
    WriteInfoLog("Init Engine");
    Engine->Initialize();
    if (Engine->GetDestinationFolder().empty())
      Engine->SetDestinationFolder(GetMyDocumentsFolder() + "\\My Recovered Files");
    WriteInfoLog("Load Resource Buttons");
    RegisterButtonImages();

    SetCaption(LangText(TextId::ApplicationName));
    ksTrayIcon1->SetHint(LangText(TextId::ApplicationName));
    lblSelectDrive->SetCaption(LangText(TextId::SelectADrive));
    const std::pair<TControl*, TextId> hints[] = {{imgRecover, TextId::RecoverFromDrive},
                                                  {imgView, TextId::ViewRecoveredFiles},
                                                  {imgHelp, TextId::HelpAndSupport},
                                                  {imgSelectOUT, TextId::ChooseOutputFolder},
                                                  {imgSelectFiles, TextId::ChooseFileTypes},
                                                  {imgUpdate, TextId::CheckForNewerVersion},
                                                  {imgDeleteFiles, TextId::DeleteRecoveredFiles},
                                                  {imgSecureErase, TextId::SecurelyEraseCard},
                                                  {imgCDBurn, TextId::BurnRecoveredFilesToCd},
                                                  {imgExit, TextId::Exit},
                                                  {imgBackupCard, TextId::Backup},
                                                  {imgRestoreCard, TextId::Restore}};
    for (const auto& [control, text] : hints) control->Hint = LangText(text);
    const std::pair<TLabel*, TextId> captions[] = {{lblAdvancedOptions, TextId::AdvancedOptions},
                                                   {lblTitle, TextId::GetBackLostPhotos},
                                                   {lblInfo1, TextId::WhatItFinds},
                                                   {lblInfo2, TextId::OnlyReadsYourCard},
                                                   {lblInfo3, TextId::ChooseDriveThenRecover}};
    for (const auto& [label, text] : captions) label->SetCaption(LangText(text));
    Repaint();
  } catch (const Exception& e) {
    WriteErrorLog(std::string("Exception Raised in frmMain.Create - ") + e.what());
    GenericMessage->MessageDlg(LangText(TextId::RanIntoAProblem) + "\r\n" + e.what(), ksmtError, {ksmbOK}, 0);
    CreateFailed = true;
  }
}

void TfrmMain::FormActivate(TObject*) {
  if (!SplashShown) {
    SplashShown = true;
    if (frmSplash != nullptr) {
      frmSplash->Show();
      frmSplash->Repaint();
      Clock().Sleep(1800);
      frmSplash->Hide();
    }
  }
  ResetButtonImages();
  if (Engine != nullptr) {
    Engine->OnDiscArrive = Bind<&TfrmMain::OnDiscArrive>(this);
    Engine->OnDiscRemoval = Bind<&TfrmMain::OnDiscRemoval>(this);
  }
}

namespace {
// A drive that never gets a name (no medium, or the system's view of it) must not
// hold the window: the rebuild is retried this often, this far apart.
constexpr int kArrivalPasses = 10;
constexpr DWORD kArrivalRetryMs = 100;

bool EveryItemNamed(TksSkinShellDriveComboBox& list) {
  for (int i = 0; i < list.Items()->Count(); ++i)
    if (list.Items()->Strings(i).empty()) return false;
  return true;
}
}  // namespace

void TfrmMain::OnDiscArrive(TObject*, const String&) {
  for (int pass = 1; pass <= kArrivalPasses; ++pass) {
    try {
      cboDriveList->RefreshDrives();
      cboDriveList->Change();
      if (EveryItemNamed(*cboDriveList)) return;
    } catch (const Exception&) {
      // A failed pass is tried again.
    }
    if (pass == kArrivalPasses) break;
    Application->ProcessMessages();
    Clock().Sleep(kArrivalRetryMs);
  }
  WriteInfoLog("Drive list kept with a drive that has no name");
}

void TfrmMain::OnDiscRemoval(TObject*, const String&) {
  const int selected = cboDriveList->ItemIndex();
  const String remembered = selected >= 0 ? cboDriveList->Items()->Strings(selected) : String();
  cboDriveList->SetItemIndex(0);
  cboDriveList->RefreshDrives();
  for (int i = 0; i < cboDriveList->Items()->Count(); ++i)
    if (cboDriveList->Items()->Strings(i) == remembered) {
      cboDriveList->SetItemIndex(i);
      return;
    }
}

TfrmMain::TCommandScope::TCommandScope(TfrmMain& form) : form_(form) { ++form_.commandDepth_; }

TfrmMain::TCommandScope::~TCommandScope() {
  if (--form_.commandDepth_ > 0 || !form_.closePending_) return;
  form_.closePending_ = false;
  form_.Close();
}

void TfrmMain::FormClose(TObject*, TCloseAction& Action) {
  if (CommandRunning()) {
    // The engine's pass is on the stack: stop it and close once the command returns.
    closePending_ = true;
    if (Engine != nullptr) {
      Engine->Cancel();
      Engine->Abort();
    }
    Action = caNone;
    return;
  }
  CleanUp();
}

void TfrmMain::FormDestroy(TObject*) { CleanUp(); }

void TfrmMain::CleanUp() {
  try {
    delete Engine;
    Engine = nullptr;
    LastDriveInfo = nullptr;
    FreeAndNil(frmSplash);
    FreeAndNil(frmRecovery);
    FreeAndNil(frmSelectTypes);
    FreeAndNil(frmBrowse);
    FreeAndNil(frmBurn);
  } catch (...) {
    // Closing never fails.
  }
}

void TfrmMain::ksTrayIcon1DblClick(TObject*) { ksMainForm->RestoreFromTray(); }

// --- button images -----------------------------------------------------------

namespace {
struct TButtonImage {
  TImage* TfrmMain::*image;
  int normal, highlighted;
};
// In the order the images are registered and reset.
constexpr TButtonImage kButtonImages[] = {
    {&TfrmMain::imgSelectOUT, 8, 9},    {&TfrmMain::imgSelectFiles, 11, 12}, {&TfrmMain::imgUpdate, 17, 18},
    {&TfrmMain::imgDeleteFiles, 14, 15}, {&TfrmMain::imgSecureErase, 20, 21}, {&TfrmMain::imgCDBurn, 23, 24},
    {&TfrmMain::imgBackupCard, 26, 27}, {&TfrmMain::imgRestoreCard, 29, 30}, {&TfrmMain::imgRecover, 1, 2},
    {&TfrmMain::imgView, 3, 4},         {&TfrmMain::imgHelp, 5, 6},          {&TfrmMain::imgExit, 31, 32}};
}  // namespace

void TfrmMain::RegisterButtonImages() {
  for (const TButtonImage& b : kButtonImages) {
    StateChangeList()->AddControlState(this->*b.image, kNormal, b.normal);
    StateChangeList()->AddControlState(this->*b.image, kHighlighted, b.highlighted);
  }
  ResetButtonImages();
}

void TfrmMain::ResetButtonImages() {
  for (const TButtonImage& b : kButtonImages) StateChangeList()->SetControlState(this->*b.image, kNormal);
}

void TfrmMain::HighlightButton(TImage* image) {
  Screen->SetCursor(crHandPoint);
  StateChangeList()->SetControlState(image, kHighlighted);
}

void TfrmMain::imgBackgroundMouseMove(TObject*, TShiftState, int, int) {
  Screen->SetCursor(crDefault);
  ResetButtonImages();
}

void TfrmMain::imgButtonMouseMove(TObject* Sender, TShiftState, int, int) {
  if (auto* image = dynamic_cast<TImage*>(Sender)) HighlightButton(image);
}

// --- commands ----------------------------------------------------------------

char SelectedDriveLetter(const TfrmMain& form) {
  TksSkinShellDriveComboBox* list = form.cboDriveList;
  return list != nullptr && list->ItemIndex() >= 0 ? list->Drive() : 0;
}
