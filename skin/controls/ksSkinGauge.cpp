#include "skin/controls/ksSkinGauge.h"

#include <algorithm>

#include "framework/core/colors.h"
#include "framework/core/sysutils.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/draw/ksPlainColors.h"

TksSkinGauge::TksSkinGauge(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetSkinDataName("gauge");
  SetBounds(Left(), Top(), 100, 20);
}

// ---- values -------------------------------------------------------------------------

// Max caps first and Min wins last, so whichever order the application moves the
// range in, Value ends inside it once both ends are set.
void TksSkinGauge::ClampValue() {
  if (value_ > maxValue_) value_ = maxValue_;
  if (value_ < minValue_) value_ = minValue_;
}

void TksSkinGauge::SetMinValue(int value) {
  minValue_ = value;
  ClampValue();
  Repaint();
}

void TksSkinGauge::SetMaxValue(int value) {
  maxValue_ = value;
  ClampValue();
  Repaint();
}

// A move too small to change a pixel of the bar or a digit of the text paints nothing.
void TksSkinGauge::SetValue(int value) {
  const int old = value_;
  const TFace before = Face();
  value_ = value;
  ClampValue();
  if (value_ == old || Face() == before) return;
  if (PaintOnPump)
    Invalidate();
  else
    Repaint();
}

TksSkinGauge::TFace TksSkinGauge::Face() const {
  // The skin's bar area once the size is known, else the plain look's.
  const bool skinned = controlIndex_ != -1 && RectWidth(NewProgressArea) > 0 && RectHeight(NewProgressArea) > 0;
  const TRect area = skinned ? NewProgressArea : TRect{1, 1, Width() - 1, Height() - 1};
  return {CalcProgressRect(area), GaugeText()};
}

void TksSkinGauge::SetVertical(bool value) { vertical_ = value; }

void TksSkinGauge::SetProgressText(const String& value) {
  progressText_ = value;
  Repaint();
}

void TksSkinGauge::SetShowPercent(bool value) {
  showPercent_ = value;
  Repaint();
}

void TksSkinGauge::SetShowProgressText(bool value) {
  showProgressText_ = value;
  Repaint();
}

double TksSkinGauge::Fraction() const {
  if (maxValue_ <= minValue_) return 0.0;
  const double k = (static_cast<double>(value_) - minValue_) / (static_cast<double>(maxValue_) - minValue_);
  return std::clamp(k, 0.0, 1.0);
}

TRect TksSkinGauge::CalcProgressRect(const TRect& a) const {
  const double k = Fraction();
  TRect r = a;
  if (vertical_)
    r.Top = a.Bottom - static_cast<int>(Round(RectHeight(a) * k));
  else
    r.Right = a.Left + static_cast<int>(Round(RectWidth(a) * k));
  return r;
}

int TksSkinGauge::Percent() const { return static_cast<int>(Round(Fraction() * 100)); }

String TksSkinGauge::GaugeText() const {
  String text;
  if (showProgressText_) text += progressText_;
  if (showPercent_) text += IntToStr(Percent()) + "%";
  return text;
}

// ---- skin ---------------------------------------------------------------------------

void TksSkinGauge::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  auto* d = SkinDescription<TksDataSkinGaugeControl>();
  if (d == nullptr) return;
  // A stretched face would not match a mask cut for the skin's size.
  if (!UseSkinSize) MaskPicture = nullptr;
  vertical_ = d->Vertical;
  ProgressRect = d->ProgressRect;
  ProgressArea = d->ProgressArea;
  BeginOffset = d->BeginOffset;
  EndOffset = d->EndOffset;
  FontName = d->FontName;
  FontStyle = d->FontStyle;
  FontHeight = d->FontHeight;
  FontColor = d->FontColor;
}

void TksSkinGauge::CalcSize(int& w, int& h) {
  const int askedW = w, askedH = h;
  TksSkinCustomControl::CalcSize(w, h);
  NewProgressArea = ProgressArea;
  if (ResizeMode >= 1) {
    if (vertical_)
      NewProgressArea.Bottom += h - RectHeight(SkinRect);
    else
      NewProgressArea.Right += w - RectWidth(SkinRect);
  }
  if (!UseSkinSize) {
    w = askedW;
    h = askedH;
  }
}

// ---- painting -----------------------------------------------------------------------

void TksSkinGauge::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  if (UseSkinSize || controlIndex_ == -1) {
    TksSkinCustomControl::Paint();
    return;
  }
  // The face is stretched to any size; the text is drawn afterwards so it keeps its shape.
  TBitmap b(Width(), Height());
  TBitmap face(Width(), Height());
  CreateControlSkinImage(&face);
  b.Canvas()->CopyRect(TRect{0, 0, b.Width(), b.Height()}, face.Canvas(), TRect{0, 0, face.Width(), face.Height()});
  DrawGaugeText(b.Canvas());
  Canvas()->Draw(0, 0, &b);
}

void TksSkinGauge::CreateControlDefaultImage(TBitmap* b) {
  TCanvas* c = b->Canvas();
  const TRect client{0, 0, Width(), Height()};
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWindow);
  c->FillRect(client);
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(client);
  const TRect bar = CalcProgressRect(TRect{1, 1, Width() - 1, Height() - 1});
  if (RectWidth(bar) >= 1 && RectHeight(bar) >= 1) {
    c->Brush()->SetColor(kPlainHotFill);
    c->FillRect(bar);
  }
  DrawGaugeText(c);
}

void TksSkinGauge::CreateControlSkinImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlSkinImage(b);
  if (Picture != nullptr) {
    const TRect r = CalcProgressRect(NewProgressArea);
    if (vertical_)
      DrawUprightBar(b->Canvas(), r);
    else
      DrawFlatBar(b->Canvas(), r);
  }
  if (UseSkinSize) DrawGaugeText(b->Canvas());
}

// The bar in R: the strip's start part at the left, its end part at the right and its
// middle repeated between them, each copied column for column.
void TksSkinGauge::DrawFlatBar(TCanvas* c, const TRect& r) {
  TCanvas* src = Picture->Canvas();
  const TRect& p = ProgressRect;
  const int bo = std::max(BeginOffset, 0), eo = std::max(EndOffset, 0);
  const int w = RectWidth(r);
  if (w - bo - eo > 0) {
    const TRect d{r.Left + bo, r.Top, r.Right - eo, r.Bottom};
    const TRect s{p.Left + bo, p.Top, p.Right - eo, p.Bottom};
    const int sw = RectWidth(s);
    // A strip without a middle has nothing to repeat; its ends still show.
    if (sw > 0) {
      for (int x = d.Left; x < d.Right; x += sw) {
        const int cut = std::min(sw, d.Right - x);
        c->CopyRect(TRect{x, d.Top, x + cut, d.Bottom}, src, TRect{s.Left, s.Top, s.Left + cut, s.Bottom});
      }
    }
  }
  if (w >= bo + eo) {
    c->CopyRect(TRect{r.Left, r.Top, r.Left + bo, r.Bottom}, src, TRect{p.Left, p.Top, p.Left + bo, p.Bottom});
    c->CopyRect(TRect{r.Right - eo, r.Top, r.Right, r.Bottom}, src, TRect{p.Right - eo, p.Top, p.Right, p.Bottom});
  }
}

// The same with rows: the middle is laid from the bottom up, the start part at the top.
void TksSkinGauge::DrawUprightBar(TCanvas* c, const TRect& r) {
  TCanvas* src = Picture->Canvas();
  const TRect& p = ProgressRect;
  const int bo = std::max(BeginOffset, 0), eo = std::max(EndOffset, 0);
  const int h = RectHeight(r);
  if (h - bo - eo > 0) {
    const TRect d{r.Left, r.Top + bo, r.Right, r.Bottom - eo};
    const TRect s{p.Left, p.Top + bo, p.Right, p.Bottom - eo};
    const int sh = RectHeight(s);
    if (sh > 0) {
      for (int y = d.Bottom; y > d.Top; y -= sh) {
        const int cut = std::min(sh, y - d.Top);
        c->CopyRect(TRect{d.Left, y - cut, d.Right, y}, src, TRect{s.Left, s.Bottom - cut, s.Right, s.Bottom});
      }
    }
  }
  if (h >= bo + eo) {
    c->CopyRect(TRect{r.Left, r.Top, r.Right, r.Top + bo}, src, TRect{p.Left, p.Top, p.Right, p.Top + bo});
    c->CopyRect(TRect{r.Left, r.Bottom - eo, r.Right, r.Bottom}, src, TRect{p.Left, p.Bottom - eo, p.Right, p.Bottom});
  }
}

void TksSkinGauge::DrawGaugeText(TCanvas* c) {
  const String text = GaugeText();
  if (text.empty()) return;
  TFont* f = c->Font();
  const bool skinned = controlIndex_ != -1;
  AssignSkinFont(f, skinned && UseSkinFont, FontName, FontHeight, FontStyle, DefaultFont(), skinData_);
  if (skinned) f->SetColor(FontColor);
  c->Brush()->SetStyle(bsClear);
  if (!vertical_) {
    c->TextOut(Width() / 2 - c->TextWidth(text) / 2, Height() / 2 - c->TextHeight(text) / 2, text);
    return;
  }
  // Upright gauges read from bottom to top.
  LOGFONTA lf = f->GetLogFont();
  lf.lfEscapement = 900;
  lf.lfOrientation = 900;
  if (HFONT rotated = CreateFontIndirectA(&lf)) f->SetHandle(rotated);
  c->TextOut(Width() / 2 - c->TextHeight(text) / 2, Height() / 2 + c->TextWidth(text) / 2, text);
}
