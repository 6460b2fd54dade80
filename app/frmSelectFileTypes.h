// TfrmSelectTypes: the dialog in which the user picks the file types the deep pass
// saves, one check per type and one box per category.
#pragma once

#include <array>

#include "framework/gui/forms.h"

class TksSkinButton;
class TksSkinCheckListBox;
class TksSkinCheckRadioBox;
class TksSkinForm;
class TksSkinPanel;
class TksSkinStdLabel;
class TSESupportedFileType;

// The list line of a type: its description and, in brackets, its extension.
String FileTypeLine(const TSESupportedFileType& Type);

class TfrmSelectTypes : public TForm {
 public:
  explicit TfrmSelectTypes(TComponent* AOwner);

  TksSkinForm* ksfrmSelectTypes;
  TksSkinStdLabel* lblSelectTypes;
  TksSkinCheckListBox* chkFileTypes;
  TksSkinPanel* ksSkinPanel1;
  TksSkinCheckRadioBox* radImageFiles;
  TksSkinCheckRadioBox* radVideo;
  TksSkinCheckRadioBox* radSound;
  TksSkinCheckRadioBox* radData;
  TksSkinButton* btnOk;

  void FormActivate(TObject* Sender);
  void btnOkClick(TObject* Sender);
  void radImageFilesClick(TObject* Sender);
  void radVideoClick(TObject* Sender);
  void radSoundClick(TObject* Sender);
  void radDataClick(TObject* Sender);
  // Marks every type of the category (1 image, 2 video, 3 sound, 4 data) and its lines.
  void SelectCategory(int Category, bool Selected);

 private:
  // The box of a category 1 to 4, null for any other.
  TksSkinCheckRadioBox* CategoryBox(int Category) const;
  void CategoryClick(int Category);
};
