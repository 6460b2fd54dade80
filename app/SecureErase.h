// TfrmSecureErase: the progress box of a secure erase. The main window's command shows
// it and calls ExecuteErase, which runs the erase on the GUI thread while the box
// counts the sectors that could not be written.
#pragma once

#include <cstdint>

#include "framework/gui/forms.h"

class TksSkinForm;
class TksSkinGauge;
class TksSkinButton;
class TksSkinStdLabel;

class TfrmSecureErase : public TForm {
 public:
  explicit TfrmSecureErase(TComponent* AOwner);

  int FailedWrites = 0;
  bool CanClose = false;

  TksSkinGauge* pbProgress;
  TksSkinButton* btnCancel;
  TksSkinStdLabel* lblSecureErase;
  TksSkinForm* ksSkinForm;

  // Erases the drive of the main window's LastDriveInfo; returns once the box is closed.
  void ExecuteErase();

  void FormActivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void btnCancelClick(TObject* Sender);
  void btnCancelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

  void EngineProgress(TObject* Sender, int32_t Position);
  void EngineFinished(uint8_t Code);
  void EngineWriteError(int32_t Sector, int32_t Kind);

 private:
  // Set by Cancel: the engine still reports the end of an aborted erase.
  bool cancelled_ = false;
  // Set by the engine's end event, which reports the erase's outcome itself.
  bool ended_ = false;
};
