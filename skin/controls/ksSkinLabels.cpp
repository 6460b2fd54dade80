#include "skin/controls/ksSkinLabels.h"

#include "framework/core/colors.h"
#include "framework/gui/customcontrol.h"
#include "skin/controls/ksSkinFont.h"

// ---- TksSkinLabel -----------------------------------------------------------------

TksSkinLabel::TksSkinLabel(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetSkinDataName("label");
  SetBounds(Left(), Top(), 75, 21);
}

void TksSkinLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Repaint();
}

void TksSkinLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  if (value) AdjustWidth();
}

void TksSkinLabel::SetBorderStyle(TksSkinBorderStyle value) {
  borderStyle_ = value;
  GetSkinData();
  if (controlIndex_ != -1) return;
  Repaint();
  if (Parent() != nullptr) Parent()->Realign();
}

void TksSkinLabel::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  if (autoSize_) AdjustWidth();
  Repaint();
}

void TksSkinLabel::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  auto* d = SkinDescription<TksDataSkinLabelControl>();
  if (d == nullptr) return;
  FontName = d->FontName;
  FontStyle = d->FontStyle;
  FontHeight = d->FontHeight;
  FontColor = d->FontColor;
  // A face of fixed size cannot follow the caption.
  if (ResizeMode == 0) autoSize_ = false;
}

void TksSkinLabel::AssignCaptionFont(TFont* font) {
  const bool skinned = controlIndex_ != -1;
  font->Assign(DefaultFont());
  AssignSkinFont(font, skinned && UseSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
  if (skinned) font->SetColor(FontColor);
}

int TksSkinLabel::CaptionWidth() {
  TCanvas& c = ScreenCanvas();
  AssignCaptionFont(c.Font());
  return c.TextWidth(Caption());
}

int TksSkinLabel::TextExcess(int textWidth) {
  if (controlIndex_ == -1) return textWidth - (Width() - 4);
  return ResizeMode != 0 ? textWidth - RectWidth(NewClientRect) : 0;
}

int TksSkinLabel::GetTextExcess() { return TextExcess(CaptionWidth()); }

void TksSkinLabel::CalcSize(int& w, int& h) {
  TksSkinCustomControl::CalcSize(w, h);
  const int d = GetTextExcess();
  if (d >= 1 && autoSize_) {
    w += d;
    // The client rectangle the caption is drawn in follows the grown width.
    int grownW = w, grownH = h;
    TksSkinCustomControl::CalcSize(grownW, grownH);
  }
}

void TksSkinLabel::AdjustWidth() {
  if (Align() == alTop || Align() == alBottom || Align() == alClient) return;
  GetSkinData();
  const int d = GetTextExcess();
  if (d != 0) SetWidth(Width() + d);
}

void TksSkinLabel::DrawDefaultFace(TBitmap* b) {
  TksSkinCustomControl::CreateControlDefaultImage(b);
  DrawBorderStyleFrame(b->Canvas(), TRect{0, 0, Width(), Height()}, borderStyle_);
}

void TksSkinLabel::DrawLabelText(TCanvas* c, const TRect& r) {
  AssignCaptionFont(c->Font());
  const String text = Caption();
  const int tw = c->TextWidth(text);
  const int y = r.Top + RectHeight(r) / 2 - c->TextHeight(text) / 2;
  int x = r.Left;
  if (alignment_ == taRightJustify)
    x = r.Right - tw;
  else if (alignment_ == taCenter)
    x = r.Left + RectWidth(r) / 2 - tw / 2;
  c->Brush()->SetStyle(bsClear);
  c->TextRect(r, x, y, text);
}

void TksSkinLabel::CreateControlDefaultImage(TBitmap* b) {
  DrawDefaultFace(b);
  DrawLabelText(b->Canvas(), TRect{3, 3, Width() - 3, Height() - 3});
}

void TksSkinLabel::CreateControlSkinImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlSkinImage(b);
  DrawLabelText(b->Canvas(), NewClientRect);
}

// ---- TksSkinStatusPanel -------------------------------------------------------------

TksSkinStatusPanel::TksSkinStatusPanel(TComponent* AOwner) : TksSkinLabel(AOwner) {
  SetSkinDataName("statuspanel");
  SetWidth(120);
}

void TksSkinStatusPanel::SetGlyph(TBitmap* value) {
  if (value == nullptr)
    glyph_.SetSize(0, 0);
  else
    glyph_.Assign(value);
  Repaint();
}

void TksSkinStatusPanel::SetNumGlyphs(int value) {
  // The strip holds the normal image and perhaps a disabled one.
  numGlyphs_ = value < 1 ? 1 : (value > 2 ? 2 : value);
  Repaint();
}

void TksSkinStatusPanel::CMEnabledChanged(TMessage& Message) {
  TksSkinLabel::CMEnabledChanged(Message);
  Repaint();
}

int TksSkinStatusPanel::GlyphWidth() { return glyph_.Empty() ? 0 : glyph_.Width() / numGlyphs_; }

int TksSkinStatusPanel::GetTextExcess() {
  int tw = CaptionWidth();
  if (!glyph_.Empty()) tw += GlyphWidth() + 3;
  return TextExcess(tw);
}

void TksSkinStatusPanel::DrawPanelGlyph(TCanvas* c, int x, int y, TRect& r) {
  DrawGlyph(c, x, y, &glyph_, numGlyphs_, Enabled() ? 1 : 2);
  r.Left += GlyphWidth() + 2;
}

void TksSkinStatusPanel::CreateControlDefaultImage(TBitmap* b) {
  DrawDefaultFace(b);
  TRect r{3, 3, Width() - 3, Height() - 3};
  if (!glyph_.Empty()) DrawPanelGlyph(b->Canvas(), 3, b->Height() / 2 - glyph_.Height() / 2, r);
  DrawLabelText(b->Canvas(), r);
}

void TksSkinStatusPanel::CreateControlSkinImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlSkinImage(b);
  TRect r = NewClientRect;
  if (!glyph_.Empty())
    DrawPanelGlyph(b->Canvas(), r.Left, r.Top + RectHeight(r) / 2 - glyph_.Height() / 2, r);
  DrawLabelText(b->Canvas(), r);
}
