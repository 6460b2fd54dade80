#include "app/SecureErase.h"

#include <exception>

#include "app/DialogFrame.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/dialogs/ksMessages.h"
#include "skin/frame/ksSkinForm.h"

TfrmSecureErase::TfrmSecureErase(TComponent* AOwner) : TForm(AOwner) {
  Name = "frmSecureErase";
  SetBorderStyle(bsSingle);
  SetBorderIcons(0);
  Position = poMainFormCenter;
  TksSkinData* skin = frmMain ? frmMain->ksCompSkin : nullptr;

  pbProgress = new TksSkinGauge(this);
  pbProgress->SetParent(this);
  pbProgress->Name = "pbProgress";
  pbProgress->SetAlign(alTop);
  pbProgress->SetHeight(33);
  pbProgress->SetShowPercent(true);
  pbProgress->SetShowProgressText(true);
  pbProgress->SetSkinDataName("gauge");

  btnCancel = Place<TksSkinButton>(this, 123, 42, 107, 23);
  btnCancel->Name = "btnCancel";
  btnCancel->SetSkinDataName("button");
  btnCancel->OnClick = Bind<&TfrmSecureErase::btnCancelClick>(this);
  btnCancel->OnMouseMove = Bind<&TfrmSecureErase::btnCancelMouseMove>(this);
  btnCancel->SetSkinData(skin);

  lblSecureErase = Place<TksSkinStdLabel>(this, 8, 8);
  lblSecureErase->Name = "lblSecureErase";
  lblSecureErase->SetCaption("");
  lblSecureErase->SetSkinData(skin);

  OnActivate = Bind<&TfrmSecureErase::FormActivate>(this);
  OnClose = Bind<&TfrmSecureErase::FormClose>(this);
  OnMouseMove = Bind<&TfrmSecureErase::FormMouseMove>(this);
  ksSkinForm = AddDialogFrame(this, 398, 107, skin);
}

void TfrmSecureErase::FormActivate(TObject*) {
  TScanEngine& engine = *frmMain->Engine;
  engine.OnProgress = Bind<&TfrmSecureErase::EngineProgress>(this);
  engine.OnFinished = Bind<&TfrmSecureErase::EngineFinished>(this);
  engine.OnWriteError = Bind<&TfrmSecureErase::EngineWriteError>(this);
  pbProgress->SetMinValue(0);
  if (frmMain->LastDriveInfo) pbProgress->SetMaxValue(static_cast<int>(frmMain->LastDriveInfo->SectorCount()));
  SetCaption(LangText(TextId::SecureErase));
  btnCancel->SetCaption(LangText(TextId::Cancel));
  frmMain->SetEnabled(false);
  SetEnabled(true);
  Screen->SetCursor(crHourGlass);
  Application->ProcessMessages();
}

void TfrmSecureErase::ExecuteErase() {
  FailedWrites = 0;
  cancelled_ = false;
  ended_ = false;
  bool erased = false;
  pbProgress->SetValue(0);
  pbProgress->SetProgressText("");
  try {
    CanClose = false;
    // Whatever the erase did, the engine is left aborted and the box closes.
    struct TEnd {
      TfrmSecureErase& box;
      ~TEnd() {
        frmMain->Engine->Abort();
        box.CanClose = true;
        Screen->SetCursor(crDefault);
        box.Close();
      }
    } end{*this};
    const TSEDriveInformation* drive = frmMain->LastDriveInfo;
    if (drive && !drive->RootPath.empty()) erased = frmMain->Engine->SecureErase(drive->RootPath[0]);
  } catch (const std::exception& e) {
    WriteErrorLog(String("ExecuteErase : ") + e.what());
  }
  // An erase that the engine refused or broke off (a card whose size is unknown, a
  // failure) has no end to report, and a box that only closes would pass for done.
  if (!erased && !ended_ && !cancelled_) frmMain->Message(TextId::RanIntoAProblem, ksmtError);
}

void TfrmSecureErase::btnCancelClick(TObject*) {
  cancelled_ = true;
  frmMain->Engine->Abort();
  CanClose = true;
  Close();
}

void TfrmSecureErase::FormClose(TObject*, TCloseAction& Action) {
  if (!CanClose) {
    Action = caNone;
    return;
  }
  Action = caHide;
  frmMain->SetEnabled(true);
}

void TfrmSecureErase::FormMouseMove(TObject*, TShiftState, int, int) { Screen->SetCursor(crDefault); }

void TfrmSecureErase::btnCancelMouseMove(TObject*, TShiftState, int, int) { Screen->SetCursor(crHandPoint); }

void TfrmSecureErase::EngineProgress(TObject*, int32_t Position) {
  pbProgress->SetValue(Position);
  Application->ProcessMessages();
}

void TfrmSecureErase::EngineFinished(uint8_t Code) {
  if (Code != 3) return;
  ended_ = true;
  // Only an erase that ran to its end with every sector written is reported as done.
  if (FailedWrites > 0)
    frmMain->GenericMessage->MessageDlg(LangText(TextId::RanIntoAProblem) + "\r\n" + std::to_string(FailedWrites) +
                                            " " + LangText(TextId::SectorWritesFailed),
                                        ksmtError, {ksmbOK}, 0);
  else if (!cancelled_)
    frmMain->Message(TextId::DriveSecurelyErased, ksmtInformation);
  CanClose = true;
  Screen->SetCursor(crDefault);
  SetEnabled(true);
  frmMain->SetEnabled(true);
}

void TfrmSecureErase::EngineWriteError(int32_t, int32_t) {
  ++FailedWrites;
  pbProgress->SetProgressText(std::to_string(FailedWrites) + " " + LangText(TextId::SectorWritesFailed));
  Application->ProcessMessages();
}
