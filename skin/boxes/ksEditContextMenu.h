// The skinned context menu of an edit or memo: made at each right click from
// the eight lines, shown by the form's menu engine, and freed once the engine's
// call that ran its command has returned (the engine still holds the menu while
// it sends WM_CLOSESKINMENU).
#pragma once

#include <vector>

#include "skin/boxes/ksSkinEdit.h"

class TksSkinPopupMenu;

class TksEditContextMenu {
 public:
  // The menu for the last right click; null when none is alive.
  TksSkinPopupMenu* MenuObject() const { return menu_; }
  // Drops any previous menu and shows a new one, owned by `control`, at a screen point.
  void Show(TWinControl& control, const std::vector<TksEditMenuItem>& items, TPoint at);
  // WM_CLOSESKINMENU: the command ran; the menu goes once no message of it is handled.
  void CommandDone();

 private:
  void Release();

  TksSkinPopupMenu* menu_ = nullptr;  // owned by the control it was made for
};
