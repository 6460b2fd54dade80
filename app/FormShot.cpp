#include "app/FormShot.h"

#include "skin/ksPaintWithChildren.h"
#include "skin/ksSkinForm.h"

void ShootClient(TCustomForm& form, TBitmap& shot) {
  form.HandleNeeded();
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(form.ClientWidth(), form.ClientHeight());
  PaintTreeAt(form, shot.Canvas()->Handle(), 0, 0);
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
  RECT window{};
  GetWindowRect(form.Handle(), &window);
  POINT origin{0, 0};
  ClientToScreen(form.Handle(), &origin);
  TBitmap inside;
  ShootClient(form, inside);
  shot.Canvas()->Draw(origin.x - window.left, origin.y - window.top, &inside);
}
