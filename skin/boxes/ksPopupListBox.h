// The list that drops down under a skinned combo box: a skinned list box made a
// top-level tool window that never takes activation, faded in when its owner asks.
#pragma once

#include "skin/boxes/ksSkinListBox.h"

// How the drop-down is blended; the combo box that owns it answers.
struct TksDropDownAlpha {
  bool AlphaBlend = false;
  bool AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue = 255;
};

class TksPopupListBox : public TksSkinListBox {
 public:
  explicit TksPopupListBox(TComponent* AOwner);

  // The owner's blend settings, read at every show; unset means none.
  std::function<TksDropDownAlpha()> AlphaSource;

  bool AlphaApplied() const { return alphaApplied_; }
  uint8_t CurrentAlpha() const { return currentAlpha_; }

  // Shows the window at a screen point without activating it, fading in when asked.
  void Show(TPoint Origin);
  void Hide();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  bool alphaApplied_ = false;
  uint8_t currentAlpha_ = 0;
};
