#include "app/DialogFrame.h"

#include "skin/ksSkinForm.h"

TksSkinForm* AddDialogFrame(TForm* form, int clientWidth, int clientHeight, TksSkinData* skin) {
  auto* frame = new TksSkinForm(form);
  frame->SetBorderIcons({});
  // The frame keeps this client size through every skin change.
  frame->ClientWidth = clientWidth;
  frame->ClientHeight = clientHeight;
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(clientHeight);
  frame->SetSkinData(skin);
  return frame;
}
