#include "skin/boxes/ksEditContextMenu.h"

#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "skin/menus/ksSkinPopupMenu.h"

void TksEditContextMenu::Release() {
  TksSkinPopupMenu* menu = menu_;
  menu_ = nullptr;
  if (menu == nullptr) return;
  // A menu closed a moment ago may still be in the middle of its own messages.
  if (Application != nullptr)
    Application->QueueFree(menu);
  else
    ::Free(menu);
}

void TksEditContextMenu::CommandDone() { Release(); }

void TksEditContextMenu::Show(TWinControl& control, const std::vector<TksEditMenuItem>& items, TPoint at) {
  Release();
  auto* menu = new TksSkinPopupMenu(&control);
  menu_ = menu;
  menu->SetPopupComponentForm(GetParentForm(&control));
  for (const TksEditMenuItem& line : items) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(line.Name == "-" ? String("-") : line.Caption);
    item->SetEnabled(line.Enabled);
    const String name = line.Name;
    TWinControl* target = &control;
    item->OnClick = [target, name](TObject*) { RunEditMenuCommand(*target, name); };
    menu->Items()->Add(item);
  }
  menu->PopupAtPoint(&control, at.X, at.Y);
}
