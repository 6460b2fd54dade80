#include "skin/controls/ksSkinLinkLabel.h"

#include "framework/core/colors.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinDataResStr.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/draw/ksUtils.h"

TksSkinLinkLabel::TksSkinLinkLabel(TComponent* AOwner) : TksSkinStdLabel(AOwner) {
  DefaultFont()->SetName("Arial");
  DefaultFont()->SetHeight(14);
  DefaultFont()->SetStyle(fsUnderline);
  Font()->Assign(DefaultFont());
  SetCursor(crHandPoint);
}

void TksSkinLinkLabel::GetSkinData() {
  TksSkinStdLabel::GetSkinData();
  auto* d = SkinData() != nullptr ? SkinData()->ControlData<TksDataSkinStdLabelControl>(ControlIndex()) : nullptr;
  if (d != nullptr) ActiveFontColor = d->ActiveFontColor;
}

void TksSkinLinkLabel::AssignTextFont(TFont* font) {
  if (ControlIndex() == -1) {
    font->Assign(UseSkinFont ? DefaultFont() : Font());
    if (hover_) font->SetColor(DefaultActiveFontColor);
    font->SetStyle(font->Style() | fsUnderline);
  } else {
    if (UseSkinFont) {
      font->SetName(FontName);
      font->SetStyle(FontStyle | fsUnderline);
      font->SetHeight(FontHeight);
    } else {
      font->Assign(Font());
    }
    font->SetColor(hover_ ? ActiveFontColor : FontColor);
  }
  const TksResourceStrData* strings = SkinData() != nullptr ? SkinData()->ResourceStrData() : nullptr;
  font->SetCharset(strings != nullptr ? strings->CharSet : DefaultFont()->Charset());
}

void TksSkinLinkLabel::Click() {
  TksSkinStdLabel::Click();
  // Nothing to open: an empty name would make the shell open a folder of its choice.
  if (!URL.empty()) KsSystemSeam().ShellOpen(URL);
}

void TksSkinLinkLabel::CMMouseEnter(TMessage& Message) {
  TksSkinStdLabel::CMMouseEnter(Message);
  hover_ = true;
  Repaint();
}

void TksSkinLinkLabel::CMMouseLeave(TMessage& Message) {
  TksSkinStdLabel::CMMouseLeave(Message);
  hover_ = false;
  Repaint();
}
