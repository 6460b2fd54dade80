#include "skin/boxes/ksSkinListBox.h"

TksSkinCustomListBox::TksSkinCustomListBox(TComponent* AOwner) : TksSkinListFrame(AOwner, "listbox") {
  AttachList(new TksListBox(this));
}
