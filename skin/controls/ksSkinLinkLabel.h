// A hyperlink label: underlined text in the skin's link colours that hands its
// URL to the shell when clicked.
#pragma once

#include "skin/controls/ksSkinLabels.h"

// A std label that reads the same skin section, underlined and with a hover colour.
class TksSkinLinkLabel : public TksSkinStdLabel {
 public:
  // The default font is "Arial" 14, underlined; Font starts as a copy of it.
  explicit TksSkinLinkLabel(TComponent* AOwner);

  void GetSkinData() override;

  // The hover colour without a skin.
  TColor DefaultActiveFontColor = clBlue;
  // Opened with the shell after OnClick; an empty one opens nothing.
  String URL;
  bool Hover() const { return hover_; }
  // Gives `font` the face, style, size, colour and character set the text is drawn in.
  void AssignTextFont(TFont* font) override;

  // The hover colour of the std label description, copied at every GetSkinData.
  TColor ActiveFontColor = 0;

 protected:
  void Click() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  bool hover_ = false;
};
