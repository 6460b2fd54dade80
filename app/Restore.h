// TfrmRestore: lists the ".KV3" backups of the program's folder and writes the chosen
// one back onto the selected card.
#pragma once

#include <cstdint>

#include "framework/gui/forms.h"

class TksSkinForm;
class TksSkinGauge;
class TksSkinXFormButton;
class TksSkinSpeedButton;
class TksSkinStdLabel;
class TksSkinListBox;

class TfrmRestore : public TForm {
 public:
  explicit TfrmRestore(TComponent* AOwner);

  String Drive;
  int Status = 0;  // 0 normal, 1 after Cancel, 82 after a card too small for the backup

  TksSkinStdLabel* lblSelectBackupFile;
  TksSkinListBox* lbFiles;
  TksSkinStdLabel* lblDriveText;
  TksSkinStdLabel* lblDrive;
  TksSkinSpeedButton* btnRestore;
  TksSkinXFormButton* btnCancel;
  TksSkinGauge* pbRestore;
  TksSkinForm* ksSkinForm;

  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void btnRestoreClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

  void EngineProgress(TObject* Sender, int32_t Position);
  void EngineFinished(uint8_t Code);
  void EngineReadError(int32_t Sector, int32_t Kind);
  void EngineError(int32_t Code, const String& Text);
  void EngineRestoreSectorCount(int32_t Count);

 private:
  // Why the last restore was refused or stopped, in the user's language.
  String failure_;
  bool running_ = false;  // the card is being written: only Cancel closes the dialog
};
