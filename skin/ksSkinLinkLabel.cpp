#include "skin/ksSkinLinkLabel.h"

#include "framework/core/colors.h"
#include "skin/ksSkinDataControls.h"
#include "skin/ksSkinDataResStr.h"
#include "skin/ksSkinLabels.h"
#include "skin/ksSystemSeam.h"
#include "skin/ksUtils.h"

TksSkinLinkLabel::TksSkinLinkLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
  defaultFont_.SetName("Arial");
  defaultFont_.SetHeight(14);
  defaultFont_.SetStyle(fsUnderline);
  Font()->Assign(&defaultFont_);
  SetTransparent(true);
  SetCursor(crHandPoint);
}

void TksSkinLinkLabel::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  if (skinData_ != nullptr) ChangeSkinData();
}

void TksSkinLinkLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
  }
}

void TksSkinLinkLabel::GetSkinData() {
  controlIndex_ = (skinData_ == nullptr || skinData_->Empty) ? -1 : skinData_->GetControlIndex(SkinDataName);
  auto* d = skinData_ != nullptr ? skinData_->ControlData<TksDataSkinStdLabelControl>(controlIndex_) : nullptr;
  if (d == nullptr) return;
  FontName = d->FontName;
  FontColor = d->FontColor;
  FontStyle = d->FontStyle;
  FontHeight = d->FontHeight;
  ActiveFontColor = d->ActiveFontColor;
}

void TksSkinLinkLabel::ChangeSkinData() {
  GetSkinData();
  AdjustBounds();
  Repaint();
}

void TksSkinLinkLabel::AssignTextFont(TFont* font) {
  if (controlIndex_ == -1) {
    font->Assign(UseSkinFont ? &defaultFont_ : Font());
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
  const TksResourceStrData* strings = skinData_ != nullptr ? skinData_->ResourceStrData() : nullptr;
  font->SetCharset(strings != nullptr ? strings->CharSet : defaultFont_.Charset());
}

void TksSkinLinkLabel::DoDrawText(TRect& Rect, UINT Flags) {
  GetSkinData();
  String text = GetText();
  const bool measuring = (Flags & DT_CALCRECT) != 0;
  if (measuring && (text.empty() || (ShowAccelChar() && text == "&"))) text += ' ';
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  TCanvas* c = Canvas();
  AssignTextFont(c->Font());
  DrawLabelText(c, text, Rect, Flags, Enabled() || measuring);
}

void TksSkinLinkLabel::Click() {
  TCustomLabel::Click();
  // Nothing to open: an empty name would make the shell open a folder of its choice.
  if (!URL.empty()) KsSystemSeam().ShellOpen(URL);
}

void TksSkinLinkLabel::CMMouseEnter(TMessage& Message) {
  TCustomLabel::CMMouseEnter(Message);
  hover_ = true;
  Repaint();
}

void TksSkinLinkLabel::CMMouseLeave(TMessage& Message) {
  TCustomLabel::CMMouseLeave(Message);
  hover_ = false;
  Repaint();
}
