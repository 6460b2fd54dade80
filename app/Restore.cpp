#include "app/Restore.h"

#include <windows.h>

#include <exception>

#include "app/CardHandlers.h"
#include "app/DialogControls.h"
#include "app/DialogFrame.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "engine/CardBackup.h"
#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/gui/application.h"
#include "skin/boxes/ksSkinListBox.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinSpeedButton.h"
#include "skin/controls/ksSkinXFormButton.h"
#include "skin/dialogs/ksMessages.h"
#include "skin/frame/ksSkinForm.h"

namespace {

String ProgramFolder() { return AddTrailingBackslash(frmMain->Engine->ProgramFolder); }

// The engine's reasons in the user's language; a reason without a text adds nothing.
String FailureText(int32_t code) {
  static constexpr struct {
    const TRestoreFailure& failure;
    TextId text;
  } kTexts[] = {{kRestoreFileMissing, TextId::BackupFileGone},
                {kRestoreFileIsFolder, TextId::BackupFileUnreadable},
                {kRestoreFileUnreadable, TextId::BackupFileUnreadable},
                {kRestoreFileEmpty, TextId::BackupFileNotABackup},
                {kRestoreNoHeader, TextId::BackupFileNotABackup},
                {kRestoreNoSectors, TextId::BackupFileNotABackup},
                {kRestoreFileCut, TextId::BackupFileIncomplete},
                {kRestoreWriteFailed, TextId::CardNotWhollyWritten}};
  for (const auto& t : kTexts)
    if (t.failure.Code == code) return LangText(t.text);
  return "";
}

}  // namespace

TfrmRestore::TfrmRestore(TComponent* AOwner) : TForm(AOwner) {
  Name = "frmRestore";
  SetBorderStyle(bsDialog);
  SetBorderIcons(0);
  Position = poMainFormCenter;
  TksSkinData* skin = frmMain ? frmMain->ksCompSkin : nullptr;

  // These labels draw their own look: the dialog's texts stay plain.
  lblSelectBackupFile = AddDialogLabel(this, "lblSelectBackupFile", 8, 8);

  lbFiles = Place<TksSkinListBox>(this, 8, 24, 185, 105);
  lbFiles->Name = "lbFiles";
  lbFiles->SetSorted(false);
  lbFiles->SetSkinDataName("listbox");
  lbFiles->SetSkinData(skin);

  lblDriveText = AddDialogLabel(this, "lblDriveText", 8, 144);
  lblDrive = AddDialogLabel(this, "lblDrive", 104, 144);

  btnRestore = Place<TksSkinSpeedButton>(this, 8, 176, 105, 25);
  btnRestore->Name = "btnRestore";
  btnRestore->SetSkinDataName("button");
  btnRestore->OnClick = Bind<&TfrmRestore::btnRestoreClick>(this);
  btnRestore->SetSkinData(skin);

  btnCancel = AddDialogButton(this, "btnCancel", 120, 176, 75, 25, Bind<&TfrmRestore::btnCancelClick>(this), skin);
  pbRestore = AddDialogGauge(this, "pbRestore", 8, 208, 185, 20);

  OnShow = Bind<&TfrmRestore::FormShow>(this);
  OnActivate = Bind<&TfrmRestore::FormActivate>(this);
  OnClose = Bind<&TfrmRestore::FormClose>(this);
  ksSkinForm = AddDialogFrame(this, 206, 271, skin);
}

// A Cancel of an earlier showing belongs to that showing.
void TfrmRestore::FormShow(TObject*) { Status = 0; }

void TfrmRestore::FormActivate(TObject*) {
  lbFiles->Clear();
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((ProgramFolder() + "*.KV3").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const String name = entry.cFileName;
      if (name != "." && name != "..") lbFiles->Items()->Add(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  btnRestore->SetEnabled(lbFiles->Items()->Count() > 0);
  pbRestore->SetVisible(false);
  pbRestore->SetValue(0);
  SetCaption(LangText(TextId::Restore));
  lblDrive->SetCaption(Drive + ":");
  lblDriveText->SetCaption(LangText(TextId::Drive));
  btnRestore->SetCaption(LangText(TextId::Restore));
  lblSelectBackupFile->SetCaption(LangText(TextId::SelectBackupFile));
  btnCancel->SetCaption(LangText(TextId::Cancel));
  TScanEngine& engine = *frmMain->Engine;
  ConnectCardHandlers(engine, this);
  engine.OnRestoreSectorCount = Bind<&TfrmRestore::EngineRestoreSectorCount>(this);
}

void TfrmRestore::btnRestoreClick(TObject*) {
  const int index = lbFiles->ItemIndex();
  if (index < 0) {
    MessageBeep(0);
    return;
  }
  const String file = ProgramFolder() + lbFiles->Items()->Strings(index);
  bool done = false;
  try {
    Status = 0;
    failure_.clear();
    pbRestore->SetVisible(true);
    btnRestore->SetEnabled(false);
    running_ = true;
    done = frmMain->Engine->RestoreCard(file, Drive);
  } catch (const std::exception& e) {
    WriteErrorLog(String("RestoreCard : ") + e.what());
  }
  running_ = false;
  btnRestore->SetEnabled(true);
  pbRestore->SetVisible(false);
  if (Status != 0) return;
  // A restore that stopped part-way left the card neither as it was nor as the backup.
  if (!done) {
    frmMain->GenericMessage->MessageDlg(
        failure_.empty() ? LangText(TextId::RanIntoAProblem) : LangText(TextId::RanIntoAProblem) + "\r\n" + failure_,
        ksmtError, {ksmbOK}, 0);
    return;
  }
  frmMain->Message(TextId::BackupRestored, ksmtConfirmation);
  EngineFinished(1);
}

void TfrmRestore::btnCancelClick(TObject*) {
  Status = 1;
  frmMain->Engine->Cancel();
  Close();
}

void TfrmRestore::FormClose(TObject*, TCloseAction& Action) {
  if (running_ && Status != 1) Action = caNone;
}

void TfrmRestore::EngineProgress(TObject*, int32_t Position) {
  pbRestore->SetValue(Position);
  Application->ProcessMessages();
}

void TfrmRestore::EngineFinished(uint8_t) {
  TScanEngine& engine = *frmMain->Engine;
  DisconnectCardHandlers(engine);
  engine.OnRestoreSectorCount.Clear();
  Close();
}

void TfrmRestore::EngineReadError(int32_t, int32_t) {}

void TfrmRestore::EngineError(int32_t Code, const String&) {
  if (Code == kRestoreNotBigEnough.Code) {
    Status = kRestoreNotBigEnough.Code;
    frmMain->Message(TextId::CardSmallerThanBackup, ksmtInformation);
    return;
  }
  failure_ = FailureText(Code);
}

void TfrmRestore::EngineRestoreSectorCount(int32_t Count) { pbRestore->SetMaxValue(Count); }
