#include "framework/core/colors.h"
#include "skin/controls/ksSkinLabels.h"

TksSkinStdLabel::TksSkinStdLabel(TComponent* AOwner) : TCustomLabel(AOwner) { SetTransparent(true); }

void TksSkinStdLabel::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  if (skinData_ != nullptr) ChangeSkinData();
}

void TksSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
  }
}

void TksSkinStdLabel::GetSkinData() {
  controlIndex_ = SkinControlIndex(skinData_, SkinDataName);
  auto* d = skinData_ != nullptr ? skinData_->ControlData<TksDataSkinStdLabelControl>(controlIndex_) : nullptr;
  if (d == nullptr) return;
  FontName = d->FontName;
  FontColor = d->FontColor;
  FontStyle = d->FontStyle;
  FontHeight = d->FontHeight;
}

void TksSkinStdLabel::ChangeSkinData() {
  GetSkinData();
  // The skin's font may be another size: an auto-sized label measures itself again.
  AdjustBounds();
  Repaint();
}

void TksSkinStdLabel::AssignTextFont(TFont* font) {
  const TksResourceStrData* strings = skinData_ != nullptr ? skinData_->ResourceStrData() : nullptr;
  if (Enabled()) {
    // An enabled label shows its own font whatever UseSkinFont says, in the
    // character set of the skin's texts when it has some; UseSkinFont only
    // chooses the font of the embossed disabled text.
    font->Assign(Font());
    if (strings != nullptr) font->SetCharset(strings->CharSet);
    return;
  }
  if (controlIndex_ == -1) {
    font->Assign(UseSkinFont ? &defaultFont_ : Font());
  } else {
    if (UseSkinFont) {
      font->SetName(FontName);
      font->SetStyle(FontStyle);
      font->SetHeight(FontHeight);
    } else {
      font->Assign(Font());
    }
    font->SetColor(FontColor);
  }
  font->SetCharset(strings != nullptr ? strings->CharSet : defaultFont_.Charset());
}

// Measures (DT_CALCRECT) and draws in the same font, so an auto-sized label fits
// what it shows.
void TksSkinStdLabel::DoDrawText(TRect& Rect, UINT Flags) {
  GetSkinData();
  String text = GetText();
  const bool measuring = (Flags & DT_CALCRECT) != 0;
  // An empty label keeps the height of a line.
  if (measuring && (text.empty() || (ShowAccelChar() && text == "&"))) text += ' ';
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  TCanvas* c = Canvas();
  AssignTextFont(c->Font());
  DrawLabelText(c, text, Rect, Flags, Enabled() || measuring);
}

void DrawLabelText(TCanvas* canvas, const String& text, TRect& rect, UINT flags, bool enabled) {
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT r = rect;
  if (!enabled) {
    // Embossed: a highlight one pixel down-right, then the shadow in place.
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
  } else {
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(canvas->Font()->Color())));
  }
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  rect = TRect::FromRECT(r);
}
