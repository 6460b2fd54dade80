#include "framework/gui/actions.h"

#include "framework/gui/imagelist.h"

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}

void TCustomActionList::SetImages(TCustomImageList* value) { SetComponentReference(this, images_, value); }

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

void TCustomAction::SetActionList(TCustomActionList* value) { SetComponentReference(this, actionList_, value); }

void TCustomAction::Notification(TComponent* AComponent, TOperation Operation) {
  TBasicAction::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == actionList_) actionList_ = nullptr;
}
