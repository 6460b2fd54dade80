// TksSkinPopupMenu: a popup menu whose showing is handed to the skinned menu
// engine of a form's frame instead of the system's menu. Without a frame to
// show it nothing is shown.
#pragma once

#include "framework/gui/menus.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"
#include "skin/menus/ksSkinPopup.h"

class TCustomForm;
class TControl;
class TksSkinForm;

class TksSkinPopupMenu : public TPopupMenu, public IksSkinChange, public IksSkinPopup {
 public:
  explicit TksSkinPopupMenu(TComponent* AOwner);

  // Taken from the frame at the first popup when none is set, then kept.
  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  void BeforeChangeSkinData() override {}
  void ChangeSkinData() override {}
  // The form whose frame shows the menu; null: the owner, or its owner.
  TCustomForm* PopupComponentForm() const { return popupComponentForm_; }
  void SetPopupComponentForm(TCustomForm* value);

  void Popup(int X, int Y) override;
  void PopupFromRect(const TRect& r, bool popupUp);
  void PopupFromControl(TControl* control, const TRect& r, bool popupUp);
  void PopupFromControl(const TRect& screenRect, TControl* control) override {
    PopupFromControl(control, screenRect, false);
  }
  // Shows nothing when no skin is found.
  void PopupAtPoint(TControl* control, int X, int Y);

  // The frame that would show the menu now, or null.
  TksSkinForm* FindSkinForm() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void Show(TControl* control, const TRect& r, bool popupUp, bool needsSkin);

  TksSkinData* skinData_ = nullptr;
  TCustomForm* popupComponentForm_ = nullptr;
};
