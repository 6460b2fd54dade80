#include "skin/ksSkinBevel.h"

#include "skin/ksSkinDataControls.h"

TksSkinBevel::TksSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TksSkinBevel::SetSkinData(TksSkinData* value) {
  if (skinData_ != nullptr) skinData_->RemoveFreeNotification(this);
  skinData_ = value;
  if (skinData_ != nullptr) skinData_->FreeNotification(this);
  controlIndex_ = (skinData_ == nullptr || skinData_->Empty) ? -1 : skinData_->GetControlIndex(skinDataName_);
  Color1 = clBtnHighlight;
  Color2 = clBtnShadow;
  if (controlIndex_ != -1) {
    if (auto* d = dynamic_cast<TksDataSkinBevel*>(skinData_->CtrlList[static_cast<size_t>(controlIndex_)].get())) {
      Color1 = d->LightColor;
      Color2 = d->DarkColor;
    }
  }
  Repaint();
}

void TksSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
  }
}
