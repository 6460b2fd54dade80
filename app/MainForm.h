// TfrmMain: the program's main window. It owns the one engine, the one skin and
// the program-wide message box that every dialog reaches through frmMain.
#pragma once

#include <optional>

#include "app/Forms.h"
#include "app/TextIds.h"
#include "engine/DriveInformation.h"
#include "engine/ScanEngine.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "skin/data/ksSkinData.h"
#include "skin/dialogs/ksDialogs.h"
#include "skin/dialogs/ksMessages.h"

class TksSkinForm;
class TksSkinLinkLabel;
class TksSkinShellDriveComboBox;
class TksTrayIcon;
class TBusyPump;
class TWebUpdate;

class TfrmMain : public TForm {
 public:
  explicit TfrmMain(TComponent* AOwner);
  ~TfrmMain() override;

  // --- what the dialogs use
  TScanEngine* Engine = nullptr;
  TSEDriveInformation* LastDriveInfo = nullptr;  // owned by the engine
  TksSkinMessage* GenericMessage;
  // Settings only: no command shows these three.
  TksSkinSelectDirectoryDialog* ksSelectDIR;
  TksSkinOpenPictureDialog* opd;
  TksSkinPasswordDialog* GenericPassword;
  TksSkinData* ksCompSkin;
  TksSkinShellDriveComboBox* cboDriveList = nullptr;
  TImage* imgNoPicture;

  // --- the rest of the window
  TksCompressedStoredSkin* ksCompressedStoredSkin1;
  TksSkinForm* ksMainForm;
  TksTrayIcon* ksTrayIcon1;
  TImage* imgBackground;
  TLabel* lblTitle;
  TLabel* lblInfo1;
  TLabel* lblInfo2;
  TLabel* lblInfo3;
  TLabel* lblSelectDrive;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label3;
  TImage* imgRecover;
  TImage* imgView;
  TImage* imgHelp;
  TImage* imgExit;
  TLabel* lblAdvancedOptions;
  TImage* imgSelectOUT;
  TImage* imgSelectFiles;
  TImage* imgUpdate;
  TImage* imgDeleteFiles;
  TImage* imgSecureErase;
  TImage* imgCDBurn;
  TImage* imgBackupCard;
  TImage* imgRestoreCard;
  TLabel* lblVersion;
  TksSkinLinkLabel* lblURLlink;

  // Set when the creation handler failed: the program ends without the other forms.
  bool CreateFailed = false;

  // Held by a command while it drives the engine: a close that arrives meanwhile
  // stops the engine and is carried out once the command has returned.
  class TCommandScope {
   public:
    explicit TCommandScope(TfrmMain& form);
    ~TCommandScope();
    TCommandScope(const TCommandScope&) = delete;
    TCommandScope& operator=(const TCommandScope&) = delete;

   private:
    TfrmMain& form_;
  };
  bool CommandRunning() const { return commandDepth_ > 0; }
  // A close waits for the running command: the command asks and starts nothing more.
  bool ClosePending() const { return closePending_; }

  // --- handlers
  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void ksTrayIcon1DblClick(TObject* Sender);
  void OnDiscArrive(TObject* Sender, const String& Drives);
  void OnDiscRemoval(TObject* Sender, const String& Drives);

  // --- button images
  void RegisterButtonImages();
  void ResetButtonImages();
  void HighlightButton(TImage* image);
  void imgBackgroundMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  // Bound to all twelve images: highlights the image it came from.
  void imgButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

  // --- commands
  void OptRecoverClick(TObject* Sender);
  void optViewRecoverClick(TObject* Sender);
  void imgExitClick(TObject* Sender);
  // The update command (MainFormUpdate.cpp); its component is made on first use.
  void imgUpdateClick(TObject* Sender);
  TWebUpdate* WebUpdate = nullptr;
  // The recover command for a drive letter (0: none selected).
  void RecoverDrive(char letter);
  // A message text in GenericMessage; the button pressed.
  int Message(TextId text, TksMessageType type, TksMessageButtons buttons = {ksmbOK});
  void optProblemClick(TObject* Sender);
  void imgSelectOUTClick(TObject* Sender);
  void imgSelectFilesClick(TObject* Sender);
  void imgDeleteFilesClick(TObject* Sender);
  void imgSecureEraseClick(TObject* Sender);
  void imgCDBurnClick(TObject* Sender);
  void imgBackupCardClick(TObject* Sender);
  void imgRestoreCardClick(TObject* Sender);
  // The card commands for a given drive letter (0: none), as the clicks run them.
  void SecureEraseDrive(char Letter);
  void BackupDrive(char Letter);
  void RestoreDrive(char Letter);

 private:
  void BuildControls();
  // The drive's record for a backup or restore, or the refusal shown; null when refused.
  TSEDriveInformation* CardForCopy(char Letter, TextId NotACardText);
  int AskYesNo(const String& Text);
  void CleanUp();
  void EndRecovery();
  void AfterRecoverCommand();
  // The update command's check and launch; the message to show, none once launched.
  std::optional<TextId> CheckForUpdate(const String& folder, TBusyPump& busy);

  int commandDepth_ = 0;
  bool closePending_ = false;
};

// The message that refuses a recovery of the drive `info` describes (null: none could
// be had), or none when the recovery may run.
std::optional<TextId> RecoverRefusal(const TSEDriveInformation* info, uint32_t lastError, uint8_t windowsVersion,
                                     const String& outputFolder);

// The splash is shown at the first activation only.
extern bool SplashShown;

// The letter of the drive list's selected drive; 0 when none is selected.
char SelectedDriveLetter(const TfrmMain& form);
