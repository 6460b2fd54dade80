// Empty, hidden forms under the names of the dialogs still being built, so that
// start-up creates all twelve forms and the commands can reach them. Each goes
// when its real form lands.
#pragma once

#include "framework/gui/forms.h"

class TfrmSecureErase : public TForm {
 public:
  using TForm::TForm;
};

class TfrmBurn : public TForm {
 public:
  using TForm::TForm;
  bool CreateFailed = true;  // no writer control yet
  bool NoWriter = false;
};

class TfrmBackup : public TForm {
 public:
  using TForm::TForm;
};

class TfrmRestore : public TForm {
 public:
  using TForm::TForm;
};
