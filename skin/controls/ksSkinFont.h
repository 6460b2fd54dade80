// The caption font of a skinned control, shared by the controls that draw text.
#pragma once

#include "framework/core/gdiobjects.h"
#include "skin/data/ksSkinData.h"

// The skin's font when useSkinFont, else the control's default font; the
// character set of the skin's resource strings when the skin has them, else
// the default font's.
void AssignSkinFont(TFont* font, bool useSkinFont, const String& name, int height, TFontStyles style,
                    TFont* defaultFont, TksSkinData* skinData);
