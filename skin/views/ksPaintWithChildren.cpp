#include "skin/views/ksPaintWithChildren.h"

#include <functional>
#include <vector>

#include "skin/boxes/ksSkinEdit.h"
#include "skin/boxes/ksSkinMemo.h"
#include "skin/views/ksSkinScrollBox.h"

namespace {

// The painter of the frame a skinned box draws into its non-client area, which only
// reaches the window's own DC on a display; none for a control without one. It paints
// the whole window, at the control's size, over what lies below.
std::function<void(TBitmap&)> NonClientFrame(TWinControl& control) {
  if (auto* box = dynamic_cast<TksSkinScrollBox*>(&control)) return [box](TBitmap& b) { box->PaintFrame(b); };
  if (auto* edit = dynamic_cast<TksSkinCustomEdit*>(&control)) return [edit](TBitmap& b) { edit->PaintFrame(b); };
  if (auto* memo = dynamic_cast<TksSkinMemo*>(&control)) return [memo](TBitmap& b) { memo->PaintFrame(b); };
  return {};
}

}  // namespace

POINT ClientOffset(TWinControl& control) {
  POINT offset{0, 0};
  if (!control.HandleAllocated()) return offset;
  RECT window{};
  GetWindowRect(control.Handle(), &window);
  ClientToScreen(control.Handle(), &offset);
  return POINT{offset.x - window.left, offset.y - window.top};
}

void PaintTreeAt(TWinControl& control, HDC dc, int x, int y) {
  if (control.Width() < 1 || control.Height() < 1) return;
  if (const auto paintFrame = NonClientFrame(control)) {
    TBitmap frame(control.Width(), control.Height());
    BitBlt(frame.Canvas()->Handle(), 0, 0, control.Width(), control.Height(), dc, x, y, SRCCOPY);
    paintFrame(frame);
    BitBlt(dc, x, y, control.Width(), control.Height(), frame.Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  const POINT client = ClientOffset(control);
  const int cx = x + client.x, cy = y + client.y;
  const int saved = SaveDC(dc);
  POINT old{};
  SetViewportOrgEx(dc, cx, cy, &old);
  IntersectClipRect(dc, 0, 0, control.ClientWidth(), control.ClientHeight());
  control.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
  // Painting may add or remove children (a list's bars follow its paint).
  std::vector<TWinControl*> children;
  for (int i = 0; i < control.ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(control.Controls(i)); child != nullptr && child->Visible())
      children.push_back(child);
  for (TWinControl* child : children) PaintTreeAt(*child, dc, cx + child->Left(), cy + child->Top());
}

void PaintWithChildren(TWinControl& control, TBitmap& shot, TColor background) {
  shot.SetSize(control.Width(), control.Height());
  shot.Canvas()->Brush()->SetStyle(bsSolid);
  shot.Canvas()->Brush()->SetColor(background);
  shot.Canvas()->FillRect(TRect{0, 0, control.Width(), control.Height()});
  PaintTreeAt(control, shot.Canvas()->Handle(), 0, 0);
}
