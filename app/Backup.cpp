#include "app/Backup.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <string_view>

#include "app/CardHandlers.h"
#include "app/DialogControls.h"
#include "app/DialogFrame.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/fileutils.h"
#include "framework/gui/application.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinXFormButton.h"
#include "skin/dialogs/ksMessages.h"
#include "skin/frame/ksSkinForm.h"

bool IsValidBackupName(const String& Name) { return IsNameInFolder(Name); }

TfrmBackup::TfrmBackup(TComponent* AOwner) : TForm(AOwner) {
  Name = "frmBackup";
  SetBorderStyle(bsDialog);
  SetBorderIcons(0);
  Position = poMainFormCenter;
  TksSkinData* skin = frmMain ? frmMain->ksCompSkin : nullptr;

  auto label = [&](const char* name, int left, int top) {
    auto* l = AddDialogLabel(this, name, left, top);
    l->SetSkinData(skin);
    return l;
  };
  lblDriveText = label("lblDriveText", 8, 8);
  lblDriveLetter = label("lblDriveLetter", 112, 8);
  lblBackupName = label("lblBackupName", 8, 32);

  txtBackupName = Place<TksSkinEdit>(this, 112, 32, 201, 20);
  txtBackupName->Name = "txtBackupName";
  txtBackupName->SetSkinDataName("edit");
  txtBackupName->SetSkinData(skin);

  pbProgress = AddDialogGauge(this, "pbProgress", 8, 64, 305, 33);
  btnBackup = AddDialogButton(this, "btnBackup", 128, 104, 91, 25, Bind<&TfrmBackup::btnBackupClick>(this), skin);
  btnCancel = AddDialogButton(this, "btnCancel", 224, 104, 91, 25, Bind<&TfrmBackup::btnCancelClick>(this), skin);

  OnShow = Bind<&TfrmBackup::FormShow>(this);
  OnActivate = Bind<&TfrmBackup::FormActivate>(this);
  OnClose = Bind<&TfrmBackup::FormClose>(this);
  ksSkinForm = AddDialogFrame(this, 359, 176, skin);
}

// A Cancel of an earlier showing, with no backup to end, must not silence this one.
void TfrmBackup::FormShow(TObject*) { Cancelled = false; }

void TfrmBackup::FormActivate(TObject*) {
  txtBackupName->SetText("");
  pbProgress->SetMinValue(0);
  pbProgress->SetVisible(false);
  btnBackup->SetEnabled(true);
  txtBackupName->SetEnabled(true);
  SetCaption(LangText(TextId::Backup));
  lblDriveLetter->SetCaption(Drive + ":");
  lblDriveText->SetCaption(LangText(TextId::Drive));
  lblBackupName->SetCaption(LangText(TextId::BackupName));
  btnBackup->SetCaption(LangText(TextId::Backup));
  btnCancel->SetCaption(LangText(TextId::Cancel));
  TScanEngine& engine = *frmMain->Engine;
  ConnectCardHandlers(engine, this);
  if (txtBackupName->CanFocus()) txtBackupName->SetFocus();
}

void TfrmBackup::btnBackupClick(TObject*) {
  const String name = Trim(txtBackupName->Text());
  if (!IsValidBackupName(name)) {
    MessageBeep(0);
    if (txtBackupName->CanFocus()) txtBackupName->SetFocus();
    return;
  }
  TScanEngine& engine = *frmMain->Engine;
  pbProgress->SetMaxValue(engine.CurrentDrive ? static_cast<int>(engine.CurrentDrive->SectorCount()) : 0);
  pbProgress->SetMinValue(0);
  pbProgress->SetVisible(true);
  btnBackup->SetEnabled(false);
  txtBackupName->SetEnabled(false);

  const String folder = AddTrailingBackslash(engine.ProgramFolder);
  bool done = false;
  running_ = true;
  try {
    done = engine.BackupCard(name, folder);
  } catch (const std::exception& e) {
    WriteErrorLog(String("BackupCard : ") + e.what());
  }
  running_ = false;
  // The engine leaves no cut-short file, and a file of the name that it did not write is
  // an earlier backup: nothing here deletes one.
  if (!Cancelled) {
    if (done)
      frmMain->Message(TextId::BackupComplete, ksmtConfirmation);
    else
      frmMain->Message(TextId::RanIntoAProblem, ksmtError);
  }
  EngineFinished(1);
}

void TfrmBackup::btnCancelClick(TObject*) {
  Cancelled = true;
  frmMain->Engine->Cancel();
  Close();
}

void TfrmBackup::FormClose(TObject*, TCloseAction& Action) {
  if (running_ && !Cancelled) Action = caNone;
}

void TfrmBackup::EngineProgress(TObject*, int32_t Position) {
  pbProgress->SetValue(Position);
  Application->ProcessMessages();
}

void TfrmBackup::EngineFinished(uint8_t) {
  TScanEngine& engine = *frmMain->Engine;
  DisconnectCardHandlers(engine);
  Cancelled = false;
  Close();
}

void TfrmBackup::EngineReadError(int32_t, int32_t) {}

void TfrmBackup::EngineError(int32_t, const String&) {}
