// TfrmFeedback: the help box, telling the user how to reach support and which
// version of the program runs.
#pragma once

#include <cstdint>

#include "framework/gui/forms.h"

class TImage;
class TksSkinForm;
class TksSkinGroupBox;
class TksSkinLinkLabel;
class TksSkinStdLabel;

// "KV Ver 3.0 Release 1 Build 25" for version 3.0, release 1, build 25.
String VersionLine(uint32_t Major, uint32_t Minor, uint32_t Release, uint32_t Build);

class TfrmFeedback : public TForm {
 public:
  explicit TfrmFeedback(TComponent* AOwner);

  TksSkinForm* ksSkinForm1;
  TksSkinGroupBox* grpDetails;
  TImage* Image1;
  TksSkinStdLabel* ksSkinStdLabel1;
  TksSkinStdLabel* ksSkinStdLabel5;
  TksSkinStdLabel* lblVersionNo;
  TksSkinStdLabel* ksSkinStdLabel2;
  TksSkinStdLabel* ksSkinStdLabel4;
  TksSkinStdLabel* ksSkinStdLabel3;
  TksSkinLinkLabel* ksSkinLinkLabel1;
  TksSkinStdLabel* ksSkinStdLabel6;
  TksSkinLinkLabel* ksSkinLinkLabel2;
  TImage* Image2;

  void FormActivate(TObject* Sender);
  void Image2Click(TObject* Sender);
};
