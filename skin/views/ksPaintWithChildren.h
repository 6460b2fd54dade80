// Paints a control and every windowed child under it into one bitmap, each at
// its place: a control's own paint message draws only the control, while a
// list with its inner list and bars is only seen whole this way, and the frames
// that skinned boxes draw outside their client areas are drawn too. Used to look
// at controls off screen.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/gui/wincontrol.h"

// `shot` takes the control's size and is cleared to `background` first.
void PaintWithChildren(TWinControl& control, TBitmap& shot, TColor background);
// The control at (x, y) of the DC, its children over it.
void PaintTreeAt(TWinControl& control, HDC dc, int x, int y);
// Where the client area starts inside the window (a frame in the non-client area).
POINT ClientOffset(TWinControl& control);
