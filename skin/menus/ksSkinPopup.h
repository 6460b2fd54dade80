// What a control that opens a skinned popup menu needs of it. The skinned popup
// menu implements it; the control learns of the menu's end through
// WM_SKINMENUCLOSED.
#pragma once

#include "framework/core/types.h"

class TControl;

class IksSkinPopup {
 public:
  // Opens the menu below `screenRect` (the control's rectangle on the screen).
  virtual void PopupFromControl(const TRect& screenRect, TControl* control) = 0;

 protected:
  ~IksSkinPopup() = default;
};
