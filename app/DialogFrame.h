// The skinned frame a dialog of the program carries: its caption buttons (none for the
// small dialogs), the given client size inside the frame, the main window's skin.
#pragma once

#include "skin/frame/ksSkinForm.h"

class TForm;
class TksSkinData;

// Call last in the dialog's constructor, once its controls are placed.
TksSkinForm* AddDialogFrame(TForm* form, int clientWidth, int clientHeight, TksSkinData* skin,
                            TksBorderIcons icons = {});
