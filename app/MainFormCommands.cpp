// The main window's commands that open the program's other dialogs: help, output
// folder, file types, CD burning, deleting the recovered files, and the card's secure
// erase, backup and restore.
#include <windows.h>

#include <exception>

#include "app/AllForms.h"
#include "app/DriveCheck.h"
#include "app/Texts.h"
#include "engine/Debug.h"
#include "engine/PassFolders.h"
#include "engine/Utils.h"
#include "framework/core/widetext.h"
#include "framework/gui/application.h"

namespace {

bool NotACard(const TSEDriveInformation& drive) {
  return drive.IsCDROM() || drive.DriveType == DRIVE_FIXED || drive.DriveType == DRIVE_REMOTE;
}

// The engine copies removable drives only; any other kind (a RAM disk, a drive the system
// cannot name) is refused here, before the dialog, like a fixed drive.
bool NotACardToCopy(const TSEDriveInformation& drive) { return drive.IsCDROM() || drive.MediaType != DRIVE_REMOVABLE; }

String LetterText(char letter) { return letter ? String(1, letter) : String(); }

// Every entry of one output sub-folder, read-only ones too; what stays is logged.
void DeleteFolderEntries(const String& folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    try {
      const String name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const String path = folder + name;
      if (DeleteFileA(path.c_str())) continue;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
      if (!DeleteFileA(path.c_str())) WriteInfoLog("Cannot delete file : " + path);
    } catch (const std::exception&) {
    }
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

}  // namespace

int TfrmMain::AskYesNo(const String& Text) {
  return GenericMessage->MessageDlg(Text, ksmtConfirmation, {ksmbYes, ksmbNo}, 0);
}

void TfrmMain::optProblemClick(TObject*) { frmFeedback->ShowModal(); }

void TfrmMain::imgSelectOUTClick(TObject*) { frmOutputDIR->ShowModal(); }

void TfrmMain::imgSelectFilesClick(TObject*) { frmSelectTypes->ShowModal(); }

void TfrmMain::imgCDBurnClick(TObject*) {
  if (frmBurn->CreateFailed)
    Message(TextId::WriterComponentFailed, ksmtError);
  else if (frmBurn->NoWriter)
    Message(TextId::NoCdWriter, ksmtError);
  else
    frmBurn->ShowModal();
}

void TfrmMain::imgDeleteFilesClick(TObject*) {
  if (AskYesNo(LangText(TextId::DeleteRecoveredFilesQuestion)) != mrYes) return;
  const String output = AddTrailingBackslash(Engine->GetDestinationFolder());
  for (const char* sub : kPassFolders) DeleteFolderEntries(output + sub);
}

void TfrmMain::imgSecureEraseClick(TObject*) { SecureEraseDrive(SelectedDriveLetter(*this)); }

void TfrmMain::SecureEraseDrive(char Letter) {
  if (!Letter) {
    Message(TextId::SelectDriveFirst, ksmtInformation);
    return;
  }
  frmGenericWait->ShowWait();
  Application->ProcessMessages();
  LastDriveInfo = nullptr;
  try {
    Engine->GetDriveSelectedInformation(LetterText(Letter), LastDriveInfo);
  } catch (const std::exception& e) {
    // The wait box stays above every window: it must go whatever the lookup did.
    WriteErrorLog(String("imgSecureEraseClick : ") + e.what());
    LastDriveInfo = nullptr;
  }
  frmGenericWait->HideWait();
  Application->ProcessMessages();
  if (!LastDriveInfo) return;
  const TSEDriveInformation& drive = *LastDriveInfo;
  if (NotACard(drive)) {
    Message(TextId::EraseOnlyRemovable, ksmtError);
    return;
  }
  const String question = LangText(TextId::EraseDriveQuestion) + " " + drive.RootPath + " " +
                          WideToAnsi(drive.VolumeLabel()) + " " + WideToAnsi(drive.CapacityText);
  if (AskYesNo(question) != mrYes) return;
  if (AskYesNo(LangText(TextId::EraseReallySureQuestion)) != mrYes) return;
  TCommandScope running(*this);
  SetEnabled(false);
  frmSecureErase->Show();
  frmSecureErase->ExecuteErase();
  SetEnabled(true);
}

void TfrmMain::imgBackupCardClick(TObject*) { BackupDrive(SelectedDriveLetter(*this)); }

void TfrmMain::imgRestoreCardClick(TObject*) { RestoreDrive(SelectedDriveLetter(*this)); }

void TfrmMain::BackupDrive(char Letter) {
  if (!CardForCopy(Letter, TextId::BackupOnlyRemovable)) return;
  TCommandScope running(*this);
  frmBackup->Drive = LetterText(Letter);
  frmBackup->ShowModal();
}

void TfrmMain::RestoreDrive(char Letter) {
  if (!CardForCopy(Letter, TextId::RestoreOnlyRemovable)) return;
  TCommandScope running(*this);
  frmRestore->Drive = LetterText(Letter);
  frmRestore->ShowModal();
}

TSEDriveInformation* TfrmMain::CardForCopy(char Letter, TextId NotACardText) {
  TSEDriveInformation* info = nullptr;
  try {
    Engine->GetDriveSelectedInformation(LetterText(Letter), info);
  } catch (const std::exception& e) {
    WriteErrorLog(String("GetDriveSelectedInformation : ") + e.what());
    info = nullptr;
  }
  if (!info) {
    Message(TextId::RanIntoAProblem, ksmtError);
    return nullptr;
  }
  if (NotACardToCopy(*info)) {
    Message(NotACardText, ksmtError);
    return nullptr;
  }
  // The backup file lives in the program's folder: the card holding it can neither be
  // copied into itself nor overwritten while the file is read.
  if (FolderOnDrive(Engine->ProgramFolder, info->RootPath)) {
    Message(TextId::OutputOnDriveRead, ksmtError);
    return nullptr;
  }
  return info;
}
