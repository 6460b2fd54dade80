#include "skin/shell/ksSkinShellDriveComboBox.h"

TksSkinShellDriveComboBox::TksSkinShellDriveComboBox(TComponent* AOwner) : TksSkinCustomComboBox(AOwner) {
  SetOnListBoxDrawItem(Bind<&TksSkinShellDriveComboBox::DrawDriveItem>(this));
  OnComboBoxDrawItem = Bind<&TksSkinShellDriveComboBox::DrawDriveItem>(this);
  SetStyle(kscbFixedStyle);
}

void TksSkinShellDriveComboBox::CreateWnd() {
  TksSkinCustomComboBox::CreateWnd();
  BuildDriveList();
}

void TksSkinShellDriveComboBox::Change() {
  drives_.Changed();
  OnChange(this);
}

void TksSkinShellDriveComboBox::CMTextChanged(TMessage& Message) {
  // The item's text changes before the drive follows it: a change event now would
  // show the old drive, so the face's change is announced by Change alone.
  if (Style() == kscbFixedStyle) {
    TksSkinCustomControl::CMTextChanged(Message);
    return;
  }
  TksSkinCustomComboBox::CMTextChanged(Message);
}

void TksSkinShellDriveComboBox::DrawDriveItem(TCanvas* Cnvs, int Index, int /*ItemWidth*/, int /*ItemHeight*/,
                                              TRect TxtRect, TOwnerDrawState /*State*/) {
  drives_.DrawItem(Cnvs, Index, TxtRect);
}
