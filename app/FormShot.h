// A form's whole window drawn off screen: the skinned frame's composed picture
// (when the form has a frame) with the client area and its controls inside.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/gui/forms.h"

void ShootForm(TCustomForm& form, TBitmap& shot);
// The client area alone, with its controls.
void ShootClient(TCustomForm& form, TBitmap& shot);
