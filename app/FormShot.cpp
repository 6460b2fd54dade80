#include "app/FormShot.h"

#include "skin/frame/ksSkinForm.h"
#include "skin/views/ksPaintWithChildren.h"

void ShootClient(TCustomForm& form, TBitmap& shot) {
  form.HandleNeeded();
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(form.ClientWidth(), form.ClientHeight());
  // The form's own client at the origin (PaintTreeAt would add the window's frame),
  // then its windowed children at their places.
  const HDC dc = shot.Canvas()->Handle();
  form.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  form.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  for (int i = 0; i < form.ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(form.Controls(i)); child != nullptr && child->Visible())
      PaintTreeAt(*child, dc, child->Left(), child->Top());
}

void ShootForm(TCustomForm& form, TBitmap& shot) {
  form.HandleNeeded();
  TksSkinForm* frame = TksSkinForm::GetSkinFormComponent(&form);
  if (frame == nullptr) {
    ShootClient(form, shot);
    return;
  }
  shot.SetPixelFormat(pf24bit);
  frame->ComposeNonClient(shot);
  // The client area as the frame lays it out, not as the system's frame would.
  RECT client{0, 0, shot.Width(), shot.Height()};
  form.Perform(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&client));
  TBitmap inside;
  ShootClient(form, inside);
  shot.Canvas()->Draw(client.left, client.top, &inside);
}
