// The skinned list box: a frame with an inner list, bars for the list's
// scrolling and, on request, for texts wider than the list, and a caption strip.
#pragma once

#include "skin/boxes/ksListBox.h"
#include "skin/boxes/ksSkinListFrame.h"

class TksSkinCustomListBox : public TksSkinListFrame {
 public:
  explicit TksSkinCustomListBox(TComponent* AOwner);

  bool HorizontalExtent() const { return horizontalExtent_; }
  void SetHorizontalExtent(bool value) { SetHorizontalExtentValue(value); }
};

class TksSkinListBox : public TksSkinCustomListBox {
 public:
  using TksSkinCustomListBox::TksSkinCustomListBox;
};
