#include "skin/ksSkinBevel.h"

#include "skin/ksSkinDataControls.h"
#include "skin/ksUtils.h"

TksSkinBevel::TksSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TksSkinBevel::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  controlIndex_ = (skinData_ == nullptr || skinData_->Empty) ? -1 : skinData_->GetControlIndex(skinDataName_);
  Color1 = clBtnHighlight;
  Color2 = clBtnShadow;
  if (auto* d = skinData_ != nullptr ? skinData_->ControlData<TksDataSkinBevel>(controlIndex_) : nullptr) {
    Color1 = d->LightColor;
    Color2 = d->DarkColor;
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
