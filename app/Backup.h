// TfrmBackup: asks for a name and copies every sector of the selected card into
// "<name>.KV3" in the program's folder.
#pragma once

#include <cstdint>

#include "framework/gui/forms.h"

class TksSkinForm;
class TksSkinGauge;
class TksSkinXFormButton;
class TksSkinStdLabel;
class TksSkinEdit;

// A trimmed name that names a plain file inside the folder: not empty, no separator,
// drive, wildcard or "..", and no device (CON, NUL, COM1, ...).
bool IsValidBackupName(const String& Name);

class TfrmBackup : public TForm {
 public:
  explicit TfrmBackup(TComponent* AOwner);

  String Drive;
  bool Cancelled = false;

  TksSkinStdLabel* lblDriveText;
  TksSkinStdLabel* lblDriveLetter;
  TksSkinStdLabel* lblBackupName;
  TksSkinEdit* txtBackupName;
  TksSkinGauge* pbProgress;
  TksSkinXFormButton* btnBackup;
  TksSkinXFormButton* btnCancel;
  TksSkinForm* ksSkinForm;

  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void btnBackupClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

  void EngineProgress(TObject* Sender, int32_t Position);
  void EngineFinished(uint8_t Code);
  void EngineReadError(int32_t Sector, int32_t Kind);
  void EngineError(int32_t Code, const String& Text);

 private:
  bool running_ = false;  // a backup is being written: only Cancel closes the dialog
};
