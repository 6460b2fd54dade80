#include "app/frmSelectFileTypes.h"

#include "app/DialogFrame.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "engine/FileTypes.h"
#include "engine/ScanEngine.h"
#include "skin/boxes/ksSkinCheckListBox.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/views/ksSkinPanel.h"

namespace {

TScanEngine& Engine() { return *frmMain->Engine; }
TSESupportedFileType& TypeAt(int i) { return *static_cast<TSESupportedFileType*>(Engine().SupportedFileTypes.Items(i)); }

}  // namespace

String FileTypeLine(const TSESupportedFileType& Type) { return Type.Description + " (" + Type.Extension + ")"; }

TfrmSelectTypes::TfrmSelectTypes(TComponent* AOwner) : TForm(AOwner) {
  Name = "frmSelectTypes";
  SetBorderStyle(bsToolWindow);
  Position = poMainFormCenter;
  SetClientSize(313, 411);
  TksSkinData* skin = frmMain->ksCompSkin;

  lblSelectTypes = Place<TksSkinStdLabel>(this, 8, 8, 265, 13);
  lblSelectTypes->SetSkinData(skin);

  chkFileTypes = Place<TksSkinCheckListBox>(this, 8, 24, 265, 233);
  chkFileTypes->SetSkinDataName("checklistbox");
  chkFileTypes->SetDefaultItemHeight(20);
  chkFileTypes->SetSkinData(skin);

  ksSkinPanel1 = Place<TksSkinPanel>(this, 8, 264, 265, 65);
  ksSkinPanel1->SetSkinData(skin);

  struct Box {
    TksSkinCheckRadioBox*& box;
    int left, top;
    void (TfrmSelectTypes::*click)(TObject*);
  };
  const Box boxes[] = {{radImageFiles, 8, 8, &TfrmSelectTypes::radImageFilesClick},
                       {radVideo, 8, 32, &TfrmSelectTypes::radVideoClick},
                       {radSound, 136, 8, &TfrmSelectTypes::radSoundClick},
                       {radData, 136, 32, &TfrmSelectTypes::radDataClick}};
  for (const Box& b : boxes) {
    b.box = PlaceIn<TksSkinCheckRadioBox>(this, ksSkinPanel1, b.left, b.top, 121, 20);
    b.box->SetSkinDataName("checkbox");
    b.box->OnClick = TNotifyEvent([this, click = b.click](TObject* Sender) { (this->*click)(Sender); });
    b.box->SetSkinData(skin);
  }

  btnOk = Place<TksSkinButton>(this, 192, 336, 81, 25);
  btnOk->OnClick = Bind<&TfrmSelectTypes::btnOkClick>(this);
  btnOk->SetSkinData(skin);

  OnActivate = Bind<&TfrmSelectTypes::FormActivate>(this);
  ksfrmSelectTypes = AddDialogFrame(this, 313, 411, skin);
}

TksSkinCheckRadioBox* TfrmSelectTypes::CategoryBox(int Category) const {
  switch (Category) {
    case 1: return radImageFiles;
    case 2: return radVideo;
    case 3: return radSound;
    case 4: return radData;
    default: return nullptr;
  }
}

void TfrmSelectTypes::FormActivate(TObject*) {
  Engine().LoadTypeSelection();
  lblSelectTypes->SetCaption(LangText(TextId::SelectTypesToRecover));
  btnOk->SetCaption(LangText(TextId::Ok));
  for (int c = 1; c <= 4; ++c) CategoryBox(c)->SetCaption(LangText(CategoryText(c)));
  for (int c = 1; c <= 4; ++c) CategoryBox(c)->SetChecked(false);

  chkFileTypes->Items()->Clear();
  for (int i = 0; i < Engine().SupportedFileTypes.Count(); ++i) {
    const TSESupportedFileType& type = TypeAt(i);
    const int line = chkFileTypes->Items()->Add(FileTypeLine(type));
    if (!type.Selected) continue;
    chkFileTypes->SetChecked(line, true);
    TksSkinCheckRadioBox* box = CategoryBox(type.Type);
    if (box && !box->Checked()) box->SetChecked(true);
  }
}

// The list holds one line per type in table order, so a line belongs to the type at
// its own position: two types of the same text keep their own marks.
void TfrmSelectTypes::SelectCategory(int Category, bool Selected) {
  for (int i = 0; i < Engine().SupportedFileTypes.Count(); ++i) {
    TSESupportedFileType& type = TypeAt(i);
    if (type.Type != Category) continue;
    if (i < chkFileTypes->Items()->Count()) chkFileTypes->SetChecked(i, Selected);
    type.Selected = Selected;
  }
}

void TfrmSelectTypes::btnOkClick(TObject*) {
  const int lines = std::min(chkFileTypes->Items()->Count(), Engine().SupportedFileTypes.Count());
  for (int i = 0; i < lines; ++i) TypeAt(i).Selected = chkFileTypes->Checked(i);
  Engine().SaveTypeSelection();
  Close();
}

// Setting a box from code fires its click too; only a user's click, which gives the box
// the focus, changes the types.
void TfrmSelectTypes::CategoryClick(int Category) {
  TksSkinCheckRadioBox* box = CategoryBox(Category);
  if (box->Focused()) SelectCategory(Category, box->Checked());
}

void TfrmSelectTypes::radImageFilesClick(TObject*) { CategoryClick(1); }
void TfrmSelectTypes::radVideoClick(TObject*) { CategoryClick(2); }
void TfrmSelectTypes::radSoundClick(TObject*) { CategoryClick(3); }
void TfrmSelectTypes::radDataClick(TObject*) { CategoryClick(4); }
