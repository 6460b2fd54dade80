// The skinned bevel: a plain bevel whose two line colours come from the skin.
#pragma once

#include "framework/gui/extctrls.h"
#include "skin/ksSkinData.h"

class TksSkinBevel : public TBevel {
 public:
  explicit TksSkinBevel(TComponent* AOwner);

  TksSkinData* SkinData() const { return skinData_; }
  // Takes the line colours of the bevel description, or the system's without one.
  void SetSkinData(TksSkinData* value);
  const String& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const String& value) { skinDataName_ = value; }
  int ControlIndex() const { return controlIndex_; }
  // The top-left and the bottom-right line colour.
  TColor FirstLineColor() const { return Color1; }
  TColor SecondLineColor() const { return Color2; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TksSkinData* skinData_ = nullptr;
  String skinDataName_ = "bevel";
  int controlIndex_ = -1;
};
