// TfrmSplash: the picture the main window shows for a moment at its first activation.
#pragma once

#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"

class TfrmSplash : public TForm {
 public:
  explicit TfrmSplash(TComponent* AOwner);

  TImage* imgSplash;
};
