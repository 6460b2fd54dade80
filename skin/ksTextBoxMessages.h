// What the skinned edit and memo answer alike: a frame of their own in the
// non-client area, text drawn over a background they paint themselves, and the
// place a context menu opens.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include "framework/gui/wincontrol.h"

// WM_NCCALCSIZE: the client area inside the frame's margins.
inline void ShrinkToFrame(TMessage& Message, const TRect& margins) {
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  r->left += margins.Left;
  r->top += margins.Top;
  r->right -= margins.Right;
  r->bottom -= margins.Bottom;
  Message.Result = 0;
}

// WM_ERASEBKGND and the reflected colour requests of a box whose background is
// painted by the control: the system draws the text transparently in the font's
// colour. False for any other message.
inline bool AnswerTransparentText(TWinControl& control, TFont& font, TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      control.Invalidate();
      Message.Result = 1;
      return true;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      auto dc = reinterpret_cast<HDC>(Message.WParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(font.Color())));
      Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    }
    default: return false;
  }
}

// WM_CONTEXTMENU: the point given, or the box's middle when the menu key asked.
inline TPoint ContextMenuPoint(TControl& control, const TMessage& Message) {
  TPoint at{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  if (at.X < 0 || at.Y < 0) at = control.ClientToScreen(TPoint{control.Width() / 2, control.Height() / 2});
  return at;
}
