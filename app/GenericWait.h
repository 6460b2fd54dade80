// TfrmGenericWait: the small box shown while the GUI thread does something slow;
// in its progress mode it shows a gauge and Esc sets Cancelled.
#pragma once

#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"

class TksSkinGauge;

class TfrmGenericWait : public TForm {
 public:
  explicit TfrmGenericWait(TComponent* AOwner);

  void ShowWait();
  void ShowProgress();
  void StepProgress();
  void SetProgressMax(int n);
  void SetProgressPosition(int n);
  void HideWait();
  void FormKeyPress(TObject* Sender, char& Key);

  bool Cancelled = false;

  TImage* Image1;
  TLabel* lblText;
  TksSkinGauge* pbLoading;
  TLabel* lblPressEsc;
};
