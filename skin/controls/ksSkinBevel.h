// The skinned bevel: a plain bevel whose two line colours come from the skin,
// or a divider line across its middle.
#pragma once

#include "framework/gui/extctrls.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"

class TksSkinBevel : public TBevel, public IksSkinChange {
 public:
  explicit TksSkinBevel(TComponent* AOwner);

  TksSkinData* SkinData() const override { return skinData_; }
  // Takes the line colours of the bevel description, or the system's without one.
  void SetSkinData(TksSkinData* value);
  const String& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const String& value) { skinDataName_ = value; }
  int ControlIndex() const { return controlIndex_; }
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  void ChangeSkinData() override;

  // A divider line across the middle in place of the shape's lines.
  bool DividerMode() const { return dividerMode_; }
  void SetDividerMode(bool value);
  TColor LightColor() const { return light_; }
  TColor DarkColor() const { return dark_; }
  // The top-left and the bottom-right line colour: dark then light when lowered.
  TColor FirstLineColor() const { return Style() == bsLowered ? dark_ : light_; }
  TColor SecondLineColor() const { return Style() == bsLowered ? light_ : dark_; }

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TksSkinData* skinData_ = nullptr;
  String skinDataName_ = "bevel";
  int controlIndex_ = -1;
  bool dividerMode_ = false;
  TColor light_ = clBtnHighlight;
  TColor dark_ = clBtnShadow;
};
