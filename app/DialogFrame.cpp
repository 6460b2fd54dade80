#include "app/DialogFrame.h"


TksSkinForm* AddDialogFrame(TForm* form, int clientWidth, int clientHeight, TksSkinData* skin,
                            TksBorderIcons icons) {
  auto* frame = new TksSkinForm(form);
  frame->SetBorderIcons(icons);
  // The frame keeps this client size through every skin change.
  frame->ClientWidth = clientWidth;
  frame->ClientHeight = clientHeight;
  // With its window the form measures its client area inside the frame.
  form->HandleNeeded();
  frame->SetSkinData(skin);
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(clientHeight);
  return frame;
}
