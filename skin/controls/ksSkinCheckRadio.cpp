#include "skin/controls/ksSkinCheckRadio.h"

#include "framework/core/colors.h"
#include "framework/gui/actions.h"
#include "skin/controls/ksSkinFont.h"

namespace {

void FrameBox(TCanvas* canvas, const TRect& r, TColor color) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  canvas->FrameRect(r);
  canvas->Brush()->SetStyle(bsClear);
}

// The caption's one-line extent as (0, 0, width, height).
TRect MeasureCaption(TCanvas* canvas, const String& caption) {
  RECT r{0, 0, 0, 0};
  DrawTextA(canvas->Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT);
  return TRect{r.left, r.top, r.right, r.bottom};
}

// The plain box the looks without a skin draw the mark in.
TRect PlainBox(int height) { return TRect{3, height / 2 - 7, 17, height / 2 + 7}; }

}  // namespace

TksSkinCheckRadioBox::TksSkinCheckRadioBox(TComponent* AOwner)
    : TksSkinCustomControl(AOwner),
      morph_([this] { return Morphing && controlIndex_ != -1; }, [this] { return Active(); },
             [this] { Invalidate(); }) {
  SetSkinDataName("checkbox");
  SetTabStop(false);
  SetBounds(Left(), Top(), 150, 25);
}

TksSkinCheckRadioBox::~TksSkinCheckRadioBox() { morph_.Stop(); }

// ---- properties -------------------------------------------------------------------

void TksSkinCheckRadioBox::SetChecked(bool value) {
  checked_ = value;
  Invalidate();
  if (value && GroupIndex != 0) UncheckGroup();
  // A radio box turned off is not clicked: the one turned on is.
  if (value || !radio_) OnClick(this);
}

void TksSkinCheckRadioBox::UncheckGroup() {
  TWinControl* parent = Parent();
  if (parent == nullptr || GroupIndex == 0) return;
  // By index: an OnClick handler may change the parent's list while we walk it.
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TksSkinCheckRadioBox*>(parent->Controls(i));
    if (other != nullptr && other != this && other->GroupIndex == GroupIndex && other->checked_)
      other->SetChecked(false);
  }
}

void TksSkinCheckRadioBox::Toggle() {
  if (!radio_)
    SetChecked(!checked_);
  else if (!checked_)
    SetChecked(true);
}

void TksSkinCheckRadioBox::SetRadio(bool value) {
  radio_ = value;
  Invalidate();
}

void TksSkinCheckRadioBox::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  // The face geometry, size rules and window region differ between the looks.
  ChangeSkinData();
}

void TksSkinCheckRadioBox::SetCanFocused(bool value) {
  canFocused_ = value;
  SetTabStop(value);
}

void TksSkinCheckRadioBox::SetImages(TCustomImageList* value) {
  SetComponentReference(this, images_, value);
  Invalidate();
}

void TksSkinCheckRadioBox::SetImageIndex(int value) {
  imageIndex_ = value;
  Invalidate();
}

void TksSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) {
    images_ = nullptr;
    Invalidate();
  }
}

bool TksSkinCheckRadioBox::IsFocusedBox() { return canFocused_ && Focused(); }

// ---- skin -----------------------------------------------------------------------------

bool TksSkinCheckRadioBox::Skinned() const { return SkinDescription<TksDataSkinCheckRadioControl>() != nullptr; }

void TksSkinCheckRadioBox::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  if (auto* d = SkinDescription<TksDataSkinCheckRadioControl>()) {
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    UnEnabledFontColor = d->UnEnabledFontColor;
    FrameFontColor = d->FrameFontColor;
    ActiveSkinRect = OrFallback(d->ActiveSkinRect, d->SkinRect);
    CheckImageArea = d->CheckImageArea;
    TextArea = d->TextArea;
    CheckImageRect = d->CheckImageRect;
    UnCheckImageRect = d->UncheckImageRect;
    ActiveCheckImageRect = OrFallback(d->ActiveCheckImageRect, d->CheckImageRect);
    ActiveUnCheckImageRect = OrFallback(d->ActiveUncheckImageRect, d->UncheckImageRect);
    UnEnabledCheckImageRect = OrFallback(d->UnEnabledCheckImageRect, d->CheckImageRect);
    UnEnabledUnCheckImageRect = OrFallback(d->UnEnabledUncheckImageRect, d->UncheckImageRect);
    Morphing = d->Morphing;
    MorphKind = d->MorphKind;
  } else {
    Morphing = false;
  }
  if (flat_) {
    // A flat box has no face: no fade and no window region.
    Morphing = false;
    MaskPicture = nullptr;
  }
}

void TksSkinCheckRadioBox::ChangeSkinData() {
  if (!flat_) {
    TksSkinCustomControl::ChangeSkinData();
    return;
  }
  GetSkinData();
  SetControlRegion();  // drops a region left from the skinned look
  Invalidate();
}

void TksSkinCheckRadioBox::CalcSize(int& w, int& h) {
  if (flat_) return;
  TksSkinCustomControl::CalcSize(w, h);
  const int d = w - RectWidth(SkinRect);
  NewTextArea = TextArea;
  NewTextArea.Right += d;
  // A mark placed after the caption follows the right border.
  const TRect a = CheckImageArea.Right > TextArea.Right ? MovedRect(CheckImageArea, d, 0) : CheckImageArea;
  const int cw = RectWidth(CheckImageRect), ch = RectHeight(CheckImageRect);
  const int left = a.Left + RectWidth(a) / 2 - cw / 2;
  const int top = a.Top + RectHeight(a) / 2 - ch / 2;
  NewCheckImageArea = Bounds(left, top, cw, ch);
}

// ---- painting ---------------------------------------------------------------------

void TksSkinCheckRadioBox::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  TBitmap b(Width(), Height());
  if (flat_)
    PaintFlat(&b);
  else if (Skinned())
    PaintSkinned(&b);
  else
    CreateControlDefaultImage(&b);
  Canvas()->Draw(0, 0, &b);
}

const TRect& TksSkinCheckRadioBox::MarkRect() const {
  if (!Enabled()) return checked_ ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
  if (mouseIn_) return checked_ ? ActiveCheckImageRect : ActiveUnCheckImageRect;
  return checked_ ? CheckImageRect : UnCheckImageRect;
}

void TksSkinCheckRadioBox::DrawPart(TCanvas* canvas, int x, int y, const TRect& source) {
  if (Picture == nullptr || IsNullRect(source)) return;
  TBitmap part(RectWidth(source), RectHeight(source));
  part.Canvas()->CopyRect(TRect{0, 0, part.Width(), part.Height()}, Picture->Canvas(), source);
  part.SetTransparent(true);
  canvas->Draw(x, y, &part);
}

void TksSkinCheckRadioBox::DrawPlainMark(TCanvas* canvas) {
  if (!checked_) return;
  const TColor color = Enabled() ? clBlack : clBtnShadow;
  if (radio_)
    DrawRadioDot(canvas, 7, Height() / 2 - 3, color);
  else
    DrawCheckMark(canvas, 7, Height() / 2 - 4, color);
}

int TksSkinCheckRadioBox::DrawableImage() {
  return images_ != nullptr && imageIndex_ >= 0 && imageIndex_ < images_->Count() ? imageIndex_ : -1;
}

void TksSkinCheckRadioBox::PaintFlat(TBitmap* b) {
  TCanvas* c = b->Canvas();
  PaintParentBackground(this, c);
  const bool skinned = Skinned();
  const int h = Height();
  if (skinned) DrawPart(c, 3, h / 2 - RectHeight(CheckImageRect) / 2, MarkRect());
  AssignSkinFont(c->Font(), skinned && UseSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);

  const String caption = Caption();
  TRect r = MeasureCaption(c, caption);
  r = MovedRect(r, skinned ? RectWidth(CheckImageRect) + 7 : 22, h / 2 - RectHeight(r) / 2);
  if (r.Right > Width() - 2) r.Right = Width() - 2;

  const int image = DrawableImage();
  TRect imageRect{};
  if (image >= 0) {
    imageRect = Bounds(r.Left, h / 2 - images_->Height() / 2, images_->Width(), images_->Height());
    images_->Draw(c, imageRect.Left, imageRect.Top, image, Enabled());
    r = MovedRect(r, images_->Width() + 5, 0);
  }

  c->Brush()->SetStyle(bsClear);
  if (skinned)
    c->Font()->SetColor(Enabled() ? FrameFontColor : UnEnabledFontColor);
  else if (!Enabled())
    c->Font()->SetColor(clBtnShadow);
  DrawTextVCentered(c, caption, r);

  if (!skinned) {
    FrameBox(c, PlainBox(h), mouseIn_ ? clNavy : clBtnShadow);
    DrawPlainMark(c);
  }

  r.Left -= 2;
  r.Right += 3;
  r.Top -= 1;
  r.Bottom += 1;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  if (IsFocusedBox()) {
    if (!caption.empty())
      c->DrawFocusRect(r);
    else if (image >= 0)
      c->DrawFocusRect(TRect{imageRect.Left - 1, imageRect.Top - 1, imageRect.Right + 1, imageRect.Bottom + 1});
  }
}

void TksSkinCheckRadioBox::PaintSkinned(TBitmap* b) {
  // The face places follow the current size and skin, whichever changed last.
  int w = Width(), h = Height();
  CalcSize(w, h);
  if (Morphing && morph_.Between()) {
    TBitmap active(Width(), Height());
    DrawSkinFace(b, SkinRect, false);
    DrawSkinFace(&active, ActiveSkinRect, true);
    MorphFace(b, &active, MorphKind, morph_.Factor());
    return;
  }
  const bool active = Active();
  DrawSkinFace(b, active ? ActiveSkinRect : SkinRect, active);
}

void TksSkinCheckRadioBox::DrawSkinFace(TBitmap* b, const TRect& face, bool active) {
  CreateSkinControlImage(b, Picture, face);
  TCanvas* c = b->Canvas();
  DrawPart(c, NewCheckImageArea.Left, NewCheckImageArea.Top, MarkRect());
  AssignSkinFont(c->Font(), UseSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
  c->Font()->SetColor(!Enabled() ? UnEnabledFontColor : (active ? ActiveFontColor : FontColor));
  c->Brush()->SetStyle(bsClear);
  DrawTextVCentered(c, Caption(), NewTextArea);
}

void TksSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* b) {
  TCanvas* c = b->Canvas();
  const TRect client{0, 0, Width(), Height()};
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(client);
  if (Active()) FrameBox(c, client, clBtnShadow);
  AssignSkinFont(c->Font(), false, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  DrawTextVCentered(c, Caption(), TRect{19, 0, Width(), Height()});
  FrameBox(c, PlainBox(Height()), mouseIn_ ? clNavy : clBtnShadow);
  DrawPlainMark(c);
}

// ---- input ------------------------------------------------------------------------

void TksSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!mouseIn_) {
    mouseIn_ = true;
    morph_.Start();
  }
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TksSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
  // Released off the box (the pointer left it while held) is no click.
  const bool inside = TRect{0, 0, Width(), Height()}.Contains(TPoint{X, Y});
  if (Button == mbLeft && mouseIn_ && inside && Enabled()) Toggle();
}

void TksSkinCheckRadioBox::CMMouseEnter(TMessage& Message) {
  TksSkinCustomControl::CMMouseEnter(Message);
  mouseIn_ = true;
  morph_.Start();
}

void TksSkinCheckRadioBox::CMMouseLeave(TMessage& Message) {
  TksSkinCustomControl::CMMouseLeave(Message);
  mouseIn_ = false;
  morph_.Start();
}

void TksSkinCheckRadioBox::CMEnabledChanged(TMessage& Message) {
  TksSkinCustomControl::CMEnabledChanged(Message);
  if (Morphing) morph_.Reset();
  mouseIn_ = false;
  Invalidate();
}

void TksSkinCheckRadioBox::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TksSkinCheckRadioBox::CMDialogChar(TMessage& Message) {
  if (canFocused_ && FocusForAccel(Message)) {
    Toggle();
    return;
  }
  TksSkinCustomControl::CMDialogChar(Message);
}

void TksSkinCheckRadioBox::FocusChanged() {
  if (!canFocused_) return;
  if (flat_)
    Invalidate();
  else
    morph_.Start();
}

void TksSkinCheckRadioBox::WMSetFocus(TMessage& Message) {
  TksSkinCustomControl::WMSetFocus(Message);
  FocusChanged();
}

void TksSkinCheckRadioBox::WMKillFocus(TMessage& Message) {
  TksSkinCustomControl::WMKillFocus(Message);
  FocusChanged();
}

void TksSkinCheckRadioBox::WMMove(TMessage& Message) {
  TksSkinCustomControl::WMMove(Message);
  if (flat_) Invalidate();  // the background behind a flat box is the parent's
}

void TksSkinCheckRadioBox::ActionChange(TObject* Sender, bool CheckDefaults) {
  TksSkinCustomControl::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (action == nullptr || (CheckDefaults && checked_)) return;
  SetChecked(action->Checked);
}

void TksSkinCheckRadioBox::WndProc(TMessage& Message) {
  if (canFocused_) {
    if (!FocusForClick(Message)) return;
    if (Message.Msg == WM_KEYUP && Message.WParam == VK_SPACE && IsFocusedBox() && Enabled()) Toggle();
  }
  TksSkinCustomControl::WndProc(Message);
}
