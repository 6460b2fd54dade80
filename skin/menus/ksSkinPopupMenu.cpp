#include "skin/menus/ksSkinPopupMenu.h"

#include "framework/gui/forms.h"
#include "skin/draw/ksUtils.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksSkinMenus.h"

TksSkinPopupMenu::TksSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TksSkinPopupMenu::SetSkinData(TksSkinData* value) { SetComponentReference(this, skinData_, value); }

void TksSkinPopupMenu::SetPopupComponentForm(TCustomForm* value) {
  SetComponentReference(this, popupComponentForm_, value);
}

void TksSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == skinData_) skinData_ = nullptr;
  if (AComponent == popupComponentForm_) popupComponentForm_ = nullptr;
}

TksSkinForm* TksSkinPopupMenu::FindSkinForm() const {
  if (popupComponentForm_) return TksSkinForm::GetSkinFormComponent(popupComponentForm_);
  TComponent* owner = Owner();
  if (dynamic_cast<TCustomForm*>(owner)) return TksSkinForm::GetSkinFormComponent(owner);
  if (owner && dynamic_cast<TCustomForm*>(owner->Owner())) return TksSkinForm::GetSkinFormComponent(owner->Owner());
  return nullptr;
}

void TksSkinPopupMenu::Show(TControl* control, const TRect& r, bool popupUp, bool needsSkin) {
  if (OnPopup) OnPopup(this);
  TksSkinForm* frame = FindSkinForm();
  if (!frame) return;
  if (!skinData_) SetSkinData(frame->MenusSkinData() ? frame->MenusSkinData() : frame->SkinData());
  if (needsSkin && !skinData_) return;
  frame->SkinMenuOpen();
  frame->SkinMenu()->Popup(control, skinData_, popupUp, Items(), r, 0);
}

void TksSkinPopupMenu::Popup(int X, int Y) { Show(nullptr, TRect{X, Y, X, Y}, false, false); }

void TksSkinPopupMenu::PopupFromRect(const TRect& r, bool popupUp) { Show(nullptr, r, popupUp, false); }

void TksSkinPopupMenu::PopupFromControl(TControl* control, const TRect& r, bool popupUp) {
  Show(control, r, popupUp, false);
}

void TksSkinPopupMenu::PopupAtPoint(TControl* control, int X, int Y) {
  Show(control, TRect{X, Y, X, Y}, false, true);
}
