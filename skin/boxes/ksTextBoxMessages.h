// What the skinned edit and memo answer alike: a frame of their own in the
// non-client area, text drawn over a background they paint themselves, the
// place a context menu opens and the editing their read-only flag refuses.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include "framework/core/bitmap.h"
#include "framework/core/seams.h"
#include "framework/gui/wincontrol.h"
#include "skin/data/ksSkinData.h"
#include "skin/data/ksSkinDataResStr.h"
#include "skin/draw/ksUtils.h"

// The frame's widths around the text: the skin's client rectangle inside its face.
inline TRect SkinFrameMargins(const TRect& skinRect, const TRect& clientRect) {
  return TRect{clientRect.Left, clientRect.Top, RectWidth(skinRect) - clientRect.Right,
               RectHeight(skinRect) - clientRect.Bottom};
}

// The frame without a skin: a shadow line outside a face-coloured one, around R.
inline void DrawPlainBoxFrame(TCanvas* c, const TRect& r) {
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(r);
  c->Brush()->SetColor(clBtnFace);
  c->FrameRect(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

// WM_NCPAINT: the painted window bitmap onto the whole window, but for `keep`
// (in window coordinates) when it is given.
inline void BlitToWindow(HWND wnd, TBitmap& b, const TRect* keep = nullptr) {
  HDC dc = GetWindowDC(wnd);
  if (dc == nullptr) return;
  if (keep != nullptr) ExcludeClipRect(dc, keep->Left, keep->Top, keep->Right, keep->Bottom);
  BitBlt(dc, 0, 0, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
  ReleaseDC(wnd, dc);
}

// The character set of a box's text: the skin's texts' when it links them, else the default font's.
inline uint8_t TextCharSet(const TksSkinData* skinData, TFont& defaultFont) {
  const TksResourceStrData* strings = skinData != nullptr ? skinData->ResourceStrData() : nullptr;
  return strings != nullptr ? strings->CharSet : static_cast<uint8_t>(defaultFont.Charset());
}

// A read-only box refuses this editing message. The system edit pastes on
// Shift+Insert and undoes on Alt+Backspace without WM_PASTE or WM_UNDO, so those
// keys are refused too. Typed characters are each box's own matter.
inline bool ReadOnlyRefuses(const TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      return Message.WParam == VK_DELETE ||
             (Message.WParam == VK_INSERT && CurrentSeam<TPointerSeam>().GetKeyState(VK_SHIFT) < 0);
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR: return Message.WParam == VK_BACK;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO: return true;
    default: return false;
  }
}

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
