// The skinned frame every small dialog of the program carries: no caption buttons,
// the given client size inside the frame, the main window's skin.
#pragma once

class TForm;
class TksSkinForm;
class TksSkinData;

// Call last in the dialog's constructor, once its controls are placed.
TksSkinForm* AddDialogFrame(TForm* form, int clientWidth, int clientHeight, TksSkinData* skin);
