#include "skin/dialogs/ksDialogs.h"

#include "skin/draw/ksUtils.h"

void TksSkinDialogComponent::SetReference(TksSkinData*& field, TksSkinData* value) {
  // The two may name the same skin: keep its notification while either does.
  TksSkinData* old = field;
  field = value;
  if (old != nullptr && old != skinData_ && old != ctrlSkinData_) RemoveFreeNotification(old);
  if (value != nullptr) FreeNotification(value);
}

void TksSkinDialogComponent::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == skinData_) skinData_ = nullptr;
  if (AComponent == ctrlSkinData_) ctrlSkinData_ = nullptr;
}

void TksSkinDialogComponent::InitFont(TFont& font) {
  font.SetName("Arial");
  font.SetHeight(14);
  font.SetStyle(0);
}

TksSkinSelectDirectoryDialog::TksSkinSelectDirectoryDialog(TComponent* AOwner) : TksSkinDialogComponent(AOwner) {
  InitFont(defaultFont_);
}

TksSkinOpenPictureDialog::TksSkinOpenPictureDialog(TComponent* AOwner) : TksSkinDialogComponent(AOwner) {
  InitFont(defaultFont_);
}

TksSkinPasswordDialog::TksSkinPasswordDialog(TComponent* AOwner) : TksSkinDialogComponent(AOwner) {
  InitFont(labelFont_);
  InitFont(buttonFont_);
  InitFont(editFont_);
}
