// The main window's recover, view and exit commands.
#include "app/AllForms.h"
#include "app/DriveCheck.h"
#include "app/Texts.h"
#include "engine/Debug.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"

std::optional<TextId> RecoverRefusal(const TSEDriveInformation* info, uint32_t lastError, uint8_t windowsVersion,
                                     const String& outputFolder) {
  if (info == nullptr) return lastError == 3 ? TextId::CdFileSystemNotRecognised : TextId::RanIntoAProblem;
  if (info->IsCDROM() && !info->IsAudioCD && windowsVersion != 6 && windowsVersion != 7) return TextId::CdNeeds2000OrXp;
  if (info->DriveType == DRIVE_REMOTE) return TextId::NoRecoveryFromNetwork;
  if (FolderOnDrive(outputFolder, info->RootPath)) return TextId::OutputOnDriveRead;
  return std::nullopt;
}

int TfrmMain::Message(TextId text, TksMessageType type, TksMessageButtons buttons) {
  return GenericMessage->MessageDlg(LangText(text), type, buttons, 0);
}

void TfrmMain::OptRecoverClick(TObject*) { RecoverDrive(SelectedDriveLetter(*this)); }

void TfrmMain::RecoverDrive(char letter) {
  TCommandScope running(*this);
  if (letter == 0) {
    Message(TextId::SelectDriveFirst, ksmtInformation);
    return;
  }
  bool ran = false;
  try {
    Engine->PreviewEnabled = true;
    Screen->SetCursor(crHourGlass);
    TSEDriveInformation* info = nullptr;
    try {
      frmGenericWait->ShowWait();
      frmGenericWait->Repaint();
      Application->ProcessMessages();
      if (!Engine->GetDriveSelectedInformation(String(1, letter), info)) info = nullptr;
    } catch (const Exception& e) {
      WriteErrorLog(std::string("Unexpected Error in .OptRecoverClick : ") + e.what());
      info = nullptr;
    }
    Application->ProcessMessages();
    const uint32_t lastError = Engine->TakeLastError();
    frmGenericWait->HideWait();
    if (const auto refusal = RecoverRefusal(info, lastError, Engine->WindowsVersion, Engine->GetDestinationFolder())) {
      Message(*refusal, ksmtError);
    } else {
      ran = true;
      try {
        frmRecovery->Show();
        Application->ProcessMessages();
        SetEnabled(false);
        Application->ProcessMessages();
        frmRecovery->RunRecovery();
      } catch (...) {
        EndRecovery();
        throw;
      }
      EndRecovery();
    }
  } catch (...) {
    AfterRecoverCommand();
    throw;
  }
  AfterRecoverCommand();
  if (ran && frmRecovery->ViewNow) optViewRecoverClick(this);
}

void TfrmMain::EndRecovery() {
  frmRecovery->Hide();
  Application->ProcessMessages();
  SetEnabled(true);
  Application->ProcessMessages();
}

void TfrmMain::AfterRecoverCommand() {
  Screen->SetCursor(crDefault);
  Engine->OnDiscArrive = Bind<&TfrmMain::OnDiscArrive>(this);
  Engine->OnDiscRemoval = Bind<&TfrmMain::OnDiscRemoval>(this);
}

void TfrmMain::optViewRecoverClick(TObject*) {
  if (Engine->CountRecoveredFiles() > 0)
    frmBrowse->ShowModal();
  else
    Message(TextId::NoRecoveredFilesYet, ksmtConfirmation);
}

void TfrmMain::imgExitClick(TObject*) { Close(); }
