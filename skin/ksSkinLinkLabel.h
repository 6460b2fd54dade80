// A hyperlink label: underlined text in the skin's link colours that hands its
// URL to the shell when clicked.
#pragma once

#include "framework/core/gdiobjects.h"
#include "framework/gui/extctrls.h"
#include "skin/ksSkinChange.h"
#include "skin/ksSkinData.h"

class TksSkinLinkLabel : public TCustomLabel, public IksSkinChange {
 public:
  explicit TksSkinLinkLabel(TComponent* AOwner);

  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  String SkinDataName = "stdlabel";
  int ControlIndex() const { return controlIndex_; }
  void GetSkinData();
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  void ChangeSkinData() override;

  // The font without a skin ("Arial" 14, underlined); Font starts as a copy of it.
  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  bool UseSkinFont = true;
  // The hover colour without a skin.
  TColor DefaultActiveFontColor = clBlue;
  // Opened with the shell after OnClick; an empty one opens nothing.
  String URL;
  bool Hover() const { return hover_; }
  // Gives `font` the face, style, size, colour and character set the text is drawn in.
  void AssignTextFont(TFont* font);

  // Values of the std label description, copied at every GetSkinData.
  String FontName;
  TFontStyles FontStyle = 0;
  int FontHeight = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;

 protected:
  void DoDrawText(TRect& Rect, UINT Flags) override;
  void Click() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TksSkinData* skinData_ = nullptr;
  int controlIndex_ = -1;
  TFont defaultFont_;
  bool hover_ = false;
};
