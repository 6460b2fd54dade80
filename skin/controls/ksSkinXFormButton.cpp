#include "skin/controls/ksSkinXFormButton.h"

#include "framework/core/colors.h"
#include "framework/core/regions.h"
#include "skin/controls/ksSkinFont.h"

TksSkinXFormButton::TksSkinXFormButton(TComponent* AOwner) : TksSkinButton(AOwner) { SetCanFocused(false); }

void TksSkinXFormButton::SetDefImage(TBitmap* value) {
  defImage_.Assign(value);
  if (defImage_.Empty()) return;
  SetDefaultHeight(defImage_.Height());
  SetDefaultWidth(defImage_.Width());
}

void TksSkinXFormButton::SetDefMask(TBitmap* value) {
  defMask_.Assign(value);
  if (!defImage_.Empty()) SetControlRegion();
}

void TksSkinXFormButton::Loaded() {
  TksSkinButton::Loaded();
  if (controlIndex_ == -1 && !defMask_.Empty()) SetControlRegion();
}

void TksSkinXFormButton::CreateWnd() {
  TksSkinButton::CreateWnd();
  // A mask given before the window existed cuts it now.
  if (OwnLook() && !defMask_.Empty()) SetControlRegion();
}

void TksSkinXFormButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TksSkinButton::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (OwnLook() && (Width() != defImage_.Width() || Height() != defImage_.Height()))
    TksSkinButton::SetBounds(Left(), Top(), defImage_.Width(), defImage_.Height());
}

void TksSkinXFormButton::ChangeSkinData() {
  GetSkinData();
  if (!OwnLook()) {
    TksSkinButton::ChangeSkinData();
    return;
  }
  SetBounds(Left(), Top(), defImage_.Width(), defImage_.Height());
  SetControlRegion();
  Invalidate();
}

void TksSkinXFormButton::SetControlRegion() {
  if (!OwnLook()) {
    TksSkinButton::SetControlRegion();
    return;
  }
  // A region handed to the window is the system's from then on: we never delete it.
  TRegion region;
  if (!defMask_.Empty()) CreateSimpleRegion(region, &defMask_);
  if (!HandleAllocated()) return;
  if (region.get() == nullptr) {
    if (rgn_ != nullptr) SetWindowRgn(Handle(), nullptr, TRUE);
    rgn_ = nullptr;
    return;
  }
  HRGN r = region.get();
  if (SetWindowRgn(Handle(), r, TRUE) != 0) {
    region.release();
    rgn_ = r;
  }
}

void TksSkinXFormButton::CreateControlDefaultImage(TBitmap* b) {
  if (!OwnLook()) {
    TksSkinButton::CreateControlDefaultImage(b);
    return;
  }
  TCanvas* c = b->Canvas();
  AssignSkinFont(c->Font(), false, String(), 0, 0, DefaultFont(), skinData_);
  const bool focused = IsFocusedButton();
  const bool pressed =
      Down() && (GroupIndex() != 0 || MouseIn() || (focused && (ControlState() & csLButtonDown) == 0));
  if (pressed && !defDownImage_.Empty())
    c->Draw(0, 0, &defDownImage_);
  else if (!MouseIn() && !focused)
    c->Draw(0, 0, &defImage_);
  else
    c->Draw(0, 0, defActiveImage_.Empty() ? &defImage_ : &defActiveImage_);
  if (pressed)
    c->Font()->SetColor(DefDownFontColor);
  else if (MouseIn() || focused)
    c->Font()->SetColor(DefActiveFontColor);
  c->Brush()->SetStyle(bsClear);
  DrawGlyphAndText(c, TRect{0, 0, Width(), Height()}, Margin(), Spacing(), Layout(), Caption(), Glyph(), NumGlyphs(),
                   1, pressed);
}
