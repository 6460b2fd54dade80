// Whether a control paints beyond its own rectangle: painted unclipped into a bitmap
// larger on every side, with its windowed children, and the border counted.
#pragma once

#include <windows.h>

#include "framework/core/bitmap.h"
#include "framework/gui/wincontrol.h"
#include "skin/views/ksPaintWithChildren.h"

namespace skintest {

// The pixels outside the control's rectangle that its painting changed, in a border
// `margin` wide around it.
inline int PaintedOutside(TWinControl& control, int margin = 8) {
  const int w = control.Width(), h = control.Height();
  // A colour no control draws, so that painting over the border always shows.
  const TColor background = static_cast<TColor>(RGB(1, 254, 3));
  TBitmap shot(w + 2 * margin, h + 2 * margin);
  shot.Canvas()->Brush()->SetStyle(bsSolid);
  shot.Canvas()->Brush()->SetColor(background);
  shot.Canvas()->FillRect(TRect{0, 0, shot.Width(), shot.Height()});
  const HDC dc = shot.Canvas()->Handle();
  const POINT client = ClientOffset(control);
  const int cx = margin + client.x, cy = margin + client.y;
  // The control's own painting with no clip: what it draws outside lands on the border.
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, cx, cy, nullptr);
  control.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
  // Its child windows, clipped to its client area as the system clips them.
  const int unclipped = SaveDC(dc);
  IntersectClipRect(dc, cx, cy, cx + control.ClientWidth(), cy + control.ClientHeight());
  for (int i = 0; i < control.ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(control.Controls(i)); child != nullptr && child->Visible())
      PaintTreeAt(*child, dc, cx + child->Left(), cy + child->Top());
  RestoreDC(dc, unclipped);
  int changed = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      const bool inside = x >= margin && x < margin + w && y >= margin && y < margin + h;
      if (!inside && shot.Canvas()->Pixels(x, y) != background) ++changed;
    }
  return changed;
}

}  // namespace skintest
