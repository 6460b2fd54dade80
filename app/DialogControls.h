// The controls the small card dialogs place the same way: a named label at a place,
// a hidden progress gauge showing its percentage, and an unfocusable push button.
#pragma once

#include "framework/gui/forms.h"

class TksSkinData;
class TksSkinGauge;
class TksSkinStdLabel;
class TksSkinXFormButton;

// Left without a skin: some dialogs keep their texts plain.
TksSkinStdLabel* AddDialogLabel(TForm* form, const char* name, int left, int top);

// Takes its look from the "gauge" of the skin the dialog's frame carries.
TksSkinGauge* AddDialogGauge(TForm* form, const char* name, int left, int top, int width, int height);

TksSkinXFormButton* AddDialogButton(TForm* form, const char* name, int left, int top, int width, int height,
                                    TNotifyEvent click, TksSkinData* skin);
