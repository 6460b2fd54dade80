// Both looks of the scroll bar: the plain one drawn with system colours and arrow
// glyphs, and the skinned one copied from the skin picture over the bar's face.
#include "framework/core/colors.h"
#include "skin/controls/ksSkinScrollBar.h"

namespace {

// Arrow glyph kinds: left, right, up, down.
constexpr int kArrowLeft = 1, kArrowRight = 2, kArrowUp = 3, kArrowDown = 4;

TRect Inflated(const TRect& r, int d) { return TRect{r.Left - d, r.Top - d, r.Right + d, r.Bottom + d}; }

}  // namespace

void TksSkinScrollBar::CreateControlDefaultImage(TBitmap* b) {
  CalcParts();
  TCanvas* c = b->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect{0, 0, ClientWidth(), ClientHeight()});
  if (Enabled()) DrawDefaultPart(c, kThumb);
  DrawDefaultPart(c, kUpButton);
  DrawDefaultPart(c, kDownButton);
}

void TksSkinScrollBar::DrawDefaultPart(TCanvas* c, int part) {
  const TksScrollPart& p = parts_[part];
  const bool downLook = (p.Hot && p.Down) || (part == kThumb && (p.Down || IsFocusedBar()));
  DrawPlainButtonFace(c, p.R, downLook, p.Hot);
  if (part == kThumb) return;
  const bool horz = Kind() == sbHorizontal;
  const int kind = part == kUpButton ? (horz ? kArrowRight : kArrowDown) : (horz ? kArrowLeft : kArrowUp);
  DrawArrowGlyph(c, Inflated(p.R, -1), clBlack, kind);
}

void TksSkinScrollBar::CreateControlSkinImage(TBitmap* b) {
  // A description of another kind under the bar's name has no parts to draw.
  if (!skinned_) {
    CreateControlDefaultImage(b);
    return;
  }
  TksSkinCustomControl::CreateControlSkinImage(b);
  CalcParts();
  TCanvas* c = b->Canvas();
  DrawSkinButton(c, kUpButton);
  DrawSkinButton(c, kDownButton);
  if (Enabled()) DrawSkinThumb(c);
}

// The normal buttons are part of the face; hot and pressed ones come from the picture.
void TksSkinScrollBar::DrawSkinButton(TCanvas* c, int part) {
  const TksScrollPart& p = parts_[part];
  if (!p.Hot || Picture == nullptr) return;
  const bool up = part == kUpButton;
  const TRect& source = p.Down ? (up ? DownUpButtonRect : DownDownButtonRect)
                               : (up ? ActiveUpButtonRect : ActiveDownButtonRect);
  if (IsNullRect(source) || IsNullRect(p.R)) return;
  c->CopyRect(p.R, Picture->Canvas(), source);
}

void TksSkinScrollBar::DrawSkinThumb(TCanvas* c) {
  const TksScrollPart& p = parts_[kThumb];
  const bool downLook = p.Down || IsFocusedBar();
  const TRect& source = downLook ? DownThumbRect : (p.Hot ? ActiveThumbRect : ThumbRect);
  const TRect& glyph = downLook ? DownGlyphRect : (p.Hot ? ActiveGlyphRect : GlyphRect);
  const int w = RectWidth(p.R), h = RectHeight(p.R);
  // Nothing to draw from, or nowhere to draw it.
  if (Picture == nullptr || IsNullRect(source) || w < 1 || h < 1) return;
  TBitmap thumb(w, h);
  if (PageSize() > 0) {
    if (Kind() == sbHorizontal)
      CreateHSkinImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, source, w, h);
    else
      CreateVSkinImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, source, w, h);
  } else {
    thumb.Canvas()->CopyRect(TRect{0, 0, RectWidth(source), RectHeight(source)}, Picture->Canvas(), source);
  }
  if (!IsNullRect(glyph)) {
    const int left = thumb.Width() / 2 - RectWidth(glyph) / 2;
    const int top = thumb.Height() / 2 - RectHeight(glyph) / 2;
    thumb.Canvas()->CopyRect(TRect{left, top, left + RectWidth(glyph), top + RectHeight(glyph)}, Picture->Canvas(),
                             glyph);
  }
  c->Draw(p.R.Left, p.R.Top, &thumb);
}
