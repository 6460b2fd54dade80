// The inner list of the skinned list controls: the system list box holding the
// strings, the selection and the scroll state, with no frame and no visible
// bars of its own. It paints every item and its background from its owner's
// look, passes its input on to the owner and tells the owner when its scroll
// state may have changed, so the owner's skinned bars follow.
#pragma once

#include "framework/gui/stdctrls.h"

class TksSkinListFrame;

class TksListBox : public TCustomListBox {
 public:
  explicit TksListBox(TComponent* AOwner);

  // The owner; null paints as a plain list and passes nothing on.
  TksSkinListFrame* SkinListBox = nullptr;
  // Pixels by which images and texts are drawn further left.
  int HorizontalOffset = 0;
  // Off keeps typed characters from the system list's own search.
  bool AutoComplete = true;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Selected for the current item (and focused when the list has the focus),
  // else selected when it is one of a selection.
  TOwnerDrawState GetItemState(int Index);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void PaintWindow(HDC DC) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Click() override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;

  // One item at R; the check list adds its check.
  virtual void DrawListItem(TCanvas* canvas, int Index, const TRect& R, TOwnerDrawState State);

 private:
  void PaintItems(TCanvas* canvas);
  void DrawItemRequest(TMessage& Message);
  void WheelFollowUp(const TMessage& Message);
  void UpdateColumnWidth();
};
