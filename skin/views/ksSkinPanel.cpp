#include "skin/views/ksSkinPanel.h"

#include <algorithm>

#include "framework/core/colors.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/data/ksSkinDataControls.h"

namespace {

constexpr int kRollArrowWidth = 10;
constexpr int kCheckBoxSpace = 20;

}  // namespace

TksSkinPanel::TksSkinPanel(TComponent* AOwner) : TksSkinCustomControl(AOwner), hiddenControls_(this) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks |
                  csReplicatable);
  SetSkinDataName("panel");
  SetBounds(Left(), Top(), 150, 150);
}

TksSkinPanel::~TksSkinPanel() = default;

// ---- setters ------------------------------------------------------------------

void TksSkinPanel::SetCaptionMode(bool value) {
  captionMode_ = value;
  Repaint();
  Realign();
}

void TksSkinPanel::SetDefaultCaptionHeight(int value) {
  defaultCaptionHeight_ = value;
  if (!Skinned() && captionMode_) {
    Repaint();
    Realign();
  }
}

void TksSkinPanel::SetDefaultAlignment(TAlignment value) {
  defaultAlignment_ = value;
  if (!Skinned() && captionMode_) Repaint();
}

void TksSkinPanel::SetBorderStyle(TksSkinBorderStyle value) {
  borderStyle_ = value;
  if (!Skinned()) {
    Repaint();
    Realign();
  }
}

void TksSkinPanel::SetCheckedMode(bool value) {
  checkedMode_ = value;
  Repaint();
}

void TksSkinPanel::SetChecked(bool value) {
  checked_ = value;
  if (checkedMode_) Repaint();
  if (AutoEnabledControls && checkedMode_)
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(value);
  if (OnChecked) OnChecked(this);
}

void TksSkinPanel::SetRollUpMode(bool value) {
  // Leaving roll-up mode while rolled up would strand the panel at its caption
  // height with its children hidden and no way back.
  if (!value && rollUpState_) {
    rollUpState_ = false;
    ApplyRollUp(false);
  }
  rollUpMode_ = value;
  // Both looks draw the arrow in the caption bar.
  if (captionMode_) Repaint();
}

void TksSkinPanel::SetRollUpState(bool value) {
  if (value == rollUpState_) return;
  if (!rollUpMode_) {
    rollUpState_ = false;
    return;
  }
  rollUpState_ = value;
  ApplyRollUp(value);
}

void TksSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TksSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (controlIndex_ == -1) Repaint();
}

void TksSkinPanel::CreateParams(TCreateParams& Params) {
  TksSkinCustomControl::CreateParams(Params);
  // The whole face is repainted off-screen; no redraw of the window on every size change.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// ---- skin -----------------------------------------------------------------------

bool TksSkinPanel::Skinned() {
  GetSkinData();
  return controlIndex_ != -1;
}

void TksSkinPanel::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  BGPictureIndex = -1;
  auto* d = SkinDescription<TksDataSkinPanelControl>();
  if (d == nullptr) return;
  CaptionRect = d->CaptionRect;
  Alignment = d->Alignment;
  FontName = d->FontName;
  FontStyle = d->FontStyle;
  FontHeight = d->FontHeight;
  FontColor = d->FontColor;
  BGPictureIndex = d->BGPictureIndex;
  CheckImageRect = d->CheckImageRect;
  UnCheckImageRect = d->UncheckImageRect;
}

void TksSkinPanel::ChangeSkinData() {
  TksSkinCustomControl::ChangeSkinData();
  if (RealHeight == -1) {
    Realign();
    return;
  }
  // Rolled up: roll up again to the new skin's caption, still returning to the old height.
  const int saved = RealHeight;
  RealHeight = -1;
  ApplyRollUp(true);
  RealHeight = saved;
}

void TksSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove) hiddenControls_.Forget(AComponent);
}

void TksSkinPanel::AdjustClientRect(TRect& Rect) {
  TksSkinCustomControl::AdjustClientRect(Rect);
  if (Skinned()) {
    const bool plainFace = borderStyle_ == TksSkinBorderStyle::bvNone && !captionMode_ && ResizeMode == 1;
    if (BGPictureIndex == -1 && !plainFace) Rect = NewClientRect;
    return;
  }
  if (borderStyle_ != TksSkinBorderStyle::bvNone) {
    ++Rect.Left;
    ++Rect.Top;
    --Rect.Right;
    --Rect.Bottom;
  }
  if (captionMode_) Rect.Top += defaultCaptionHeight_;
}

// ---- roll-up --------------------------------------------------------------------

void TksSkinPanel::ApplyRollUp(bool up) {
  if (up && RealHeight == -1) {
    RealHeight = Height();
    if (!hiddenControls_.Held()) hiddenControls_.Hide();
    const int h = Skinned() ? Height() - RectHeight(NewClientRect) : defaultCaptionHeight_ + 1;
    SetHeight(std::max(h, 0));
  } else if (!up && RealHeight != -1) {
    SetHeight(RealHeight);
    RealHeight = -1;
    hiddenControls_.Show();
  }
}

// ---- mouse ----------------------------------------------------------------------

TRect TksSkinPanel::CaptionHitRect() {
  if (!Skinned()) return TRect{1, 1, Width() - 1, defaultCaptionHeight_};
  return ResizeMode > 0 ? GetNewRect(CaptionRect) : CaptionRect;
}

void TksSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if ((rollUpMode_ || checkedMode_) && captionMode_ && Button == mbLeft &&
      PointInRect(CaptionHitRect(), TPoint{X, Y})) {
    if (checkedMode_) SetChecked(!checked_);
    if (rollUpMode_) SetRollUpState(!rollUpState_);
  }
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinPanel::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  if (captionMode_) Repaint();
}

void TksSkinPanel::CMEnabledChanged(TMessage& Message) {
  TksSkinCustomControl::CMEnabledChanged(Message);
  Repaint();
}

// ---- painting -------------------------------------------------------------------

void TksSkinPanel::Paint() {
  GetSkinData();
  TBitmap* background =
      controlIndex_ != -1 && BGPictureIndex != -1 ? skinData_->ActivePicture(BGPictureIndex) : nullptr;
  // A background index without a usable picture falls back to the face.
  if (background == nullptr || background->Empty()) {
    TksSkinCustomControl::Paint();
    return;
  }
  if (Width() < 1 || Height() < 1) return;
  TileBackground(Canvas(), background);
}

void TksSkinPanel::TileBackground(TCanvas* canvas, TBitmap* picture) {
  const int w = picture->Width(), h = picture->Height();
  for (int i = 0; i <= Width() / w; ++i)
    for (int j = 0; j <= Height() / h; ++j) canvas->Draw(i * w, j * h, picture);
}

void TksSkinPanel::TileClientFace(TBitmap* b) {
  if (Picture == nullptr) return;
  const int cw = RectWidth(SkinClientRect), ch = RectHeight(SkinClientRect);
  // A skin without a middle has nothing to tile: show its whole face instead.
  if (cw < 1 || ch < 1) {
    CreateSkinControlImage(b, Picture, SkinRect);
    return;
  }
  const int sx = SkinRect.Left + SkinClientRect.Left, sy = SkinRect.Top + SkinClientRect.Top;
  const int bw = b->Width(), bh = b->Height();
  for (int y = 0; y < bh; y += ch) {
    const int h = std::min(ch, bh - y);
    for (int x = 0; x < bw; x += cw) {
      const int w = std::min(cw, bw - x);
      b->Canvas()->CopyRect(TRect{x, y, x + w, y + h}, Picture->Canvas(), TRect{sx, sy, sx + w, sy + h});
    }
  }
}

void TksSkinPanel::CreateControlSkinImage(TBitmap* b) {
  if (borderStyle_ == TksSkinBorderStyle::bvNone && ResizeMode == 1 && !captionMode_) {
    TileClientFace(b);
    return;
  }
  CreateSkinControlImage(b, Picture, SkinRect);
  NewCaptionRect = ResizeMode > 0 ? GetNewRect(CaptionRect) : CaptionRect;
  if (!Caption().empty() && !IsNullRect(CaptionRect)) DrawSkinCaption(b->Canvas());
}

void TksSkinPanel::DrawPart(TCanvas* canvas, int x, int y, const TRect& partRect) {
  if (Picture == nullptr || IsNullRect(partRect)) return;
  TBitmap part(RectWidth(partRect), RectHeight(partRect));
  part.Canvas()->CopyRect(TRect{0, 0, part.Width(), part.Height()}, Picture->Canvas(), partRect);
  part.SetTransparent(true);
  canvas->Draw(x, y, &part);
}

void TksSkinPanel::SetCaptionFont(TCanvas* canvas, bool useSkinFont) {
  AssignSkinFont(canvas->Font(), useSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
}

int TksSkinPanel::CaptionWidth(TCanvas* canvas) {
  int w = canvas->TextWidth(Caption());
  if (!glyph_.Empty()) w += glyph_.Width() / numGlyphs_ + spacing_;
  return w;
}

void TksSkinPanel::DrawCaptionContent(TCanvas* canvas, const TRect& r, TAlignment alignment, int leftPad) {
  const String caption = Caption();
  const int cw = CaptionWidth(canvas);
  const int midY = r.Top + RectHeight(r) / 2;
  const int y = midY - canvas->TextHeight(caption) / 2;
  int x = r.Left + leftPad;
  if (alignment == taRightJustify)
    x = r.Right - cw;
  else if (alignment == taCenter)
    x = r.Left + leftPad + RectWidth(r) / 2 - cw / 2;
  const int gx = x, gy = midY - glyph_.Height() / 2;
  if (!glyph_.Empty()) x += glyph_.Width() / numGlyphs_ + spacing_;
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextRect(r, x, y, caption);
  const int glyphNum = PanelGlyphNumber(Enabled());
  DrawGlyph(canvas, gx, gy, &glyph_, numGlyphs_, glyphNum);
}

void TksSkinPanel::DrawSkinCaption(TCanvas* canvas) {
  TRect r = NewCaptionRect;
  if (rollUpMode_) r.Right -= kRollArrowWidth + 2;
  if (checkedMode_) {
    const TRect& image = checked_ ? CheckImageRect : UnCheckImageRect;
    DrawPart(canvas, r.Left, r.Top + RectHeight(r) / 2 - RectHeight(CheckImageRect) / 2, image);
    r.Left += RectWidth(CheckImageRect) + 2;
  }
  SetCaptionFont(canvas, UseSkinFont);
  canvas->Font()->SetColor(FontColor);
  if (rollUpMode_)
    DrawArrowGlyph(canvas, TRect{r.Right, r.Top, r.Right + kRollArrowWidth, r.Bottom}, FontColor,
                   rollUpState_ ? 4 : 3);
  DrawCaptionContent(canvas, r, Alignment, 0);
}

void DrawBorderStyleFrame(TCanvas* canvas, const TRect& r, TksSkinBorderStyle style) {
  switch (style) {
    case TksSkinBorderStyle::bvFrame: DrawBevelFrame(canvas, r, clBtnShadow, clBtnShadow); break;
    case TksSkinBorderStyle::bvRaised: DrawBevelFrame(canvas, r, clBtnHighlight, clBtnShadow); break;
    case TksSkinBorderStyle::bvLowered: DrawBevelFrame(canvas, r, clBtnShadow, clBtnHighlight); break;
    case TksSkinBorderStyle::bvNone: break;
  }
}

void TksSkinPanel::CreateControlDefaultImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlDefaultImage(b);
  TCanvas* c = b->Canvas();
  const int w = Width();
  DrawBorderStyleFrame(c, TRect{0, 0, w, Height()}, borderStyle_);
  if (!captionMode_) return;

  TRect r;
  if (borderStyle_ != TksSkinBorderStyle::bvFrame) {
    r = TRect{1, 1, w - 1, defaultCaptionHeight_};
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
  } else {
    r = TRect{0, 0, w, defaultCaptionHeight_};
    Frame3D(c, r, clBtnShadow, clBtnShadow, 1);
    Frame3D(c, r, clBtnHighlight, clBtnFace, 1);
  }
  if (checkedMode_) r.Left += kCheckBoxSpace;
  if (rollUpMode_) r.Right -= kRollArrowWidth;
  SetCaptionFont(c, false);

  if (checkedMode_) {
    const int cy = r.Top + RectHeight(r) / 2;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect{5, cy - 7, 19, cy + 7});
    if (checked_) DrawCheckMark(c, 9, cy - 4, clBtnText);
  }
  DrawCaptionContent(c, r, defaultAlignment_, 2);
  if (rollUpMode_)
    DrawArrowGlyph(c, TRect{r.Right, r.Top, r.Right + kRollArrowWidth, r.Bottom}, clBtnText, rollUpState_ ? 4 : 3);
}

// ---- group box ------------------------------------------------------------------

TksSkinGroupBox::TksSkinGroupBox(TComponent* AOwner) : TksSkinPanel(AOwner) {
  SetSkinDataName("groupbox");
  SetCaptionMode(true);
}
