#include "framework/gui/extctrls.h"

#include <algorithm>

// --- TCustomLabel ----------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  controlStyle_ |= csOpaque | csReplicatable;
  width_ = 65;
  height_ = 17;
}

void TCustomLabel::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (showAccelChar_ == value) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (Transparent() == value) return;
  if (value) controlStyle_ &= ~csOpaque;
  else controlStyle_ |= csOpaque;
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
  focusControl_ = value;
  if (value != nullptr) FreeNotification(value);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

UINT TCustomLabel::TextFlags() const {
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | kAlign[alignment_];
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags;
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  String text = GetText();
  bool measuring = (Flags & DT_CALCRECT) != 0;
  if (measuring && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) Flags |= DT_NOPREFIX;
  Canvas()->Font()->Assign(Font());
  HDC dc = Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT r = Rect;
  if (!enabled_ && !measuring) {
    // Disabled text: a highlight one pixel down-right, then the shadow.
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    DrawTextA(dc, text.c_str(), -1, &r, Flags);
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
  } else {
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
  }
  DrawTextA(dc, text.c_str(), -1, &r, Flags);
  Rect = TRect::FromRECT(r);
}

void TCustomLabel::Paint() {
  TRect r = ClientRect();
  if (!Transparent()) {
    Canvas()->Brush()->SetColor(color_);
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(r);
  }
  Canvas()->Brush()->SetStyle(bsClear);
  UINT flags = TextFlags();
  if (layout_ != tlTop) {
    TRect measured = r;
    DoDrawText(measured, flags | DT_CALCRECT);
    int offset = layout_ == tlBottom ? r.Height() - measured.Height() : (r.Height() - measured.Height()) / 2;
    r.Top += offset;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || (ComponentState() & csLoading)) return;
  HDC dc = ScreenCanvas().Handle();
  if (dc == nullptr) return;
  canvas_->FreeHandle();
  canvas_->SetHandle(dc);
  TRect r = ClientRect();
  if (!wordWrap_) r.Right = r.Left + 0x7FFF;
  DoDrawText(r, TextFlags() | DT_CALCRECT);
  canvas_->SetHandle(nullptr);
  int left = left_;
  if (alignment_ == taRightJustify) left += width_ - r.Width();
  else if (alignment_ == taCenter) left += (width_ - r.Width()) / 2;
  SetBounds(left, top_, r.Width(), r.Height());
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(Message);
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ != nullptr && enabled_ && showAccelChar_ &&
          IsAccel(static_cast<WORD>(Message.WParam), GetText()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        Message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TGraphicControl::Dispatch(Message);
}

// --- TBevel ----------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  controlStyle_ |= csReplicatable;
  width_ = 50;
  height_ = 50;
  UpdateColors();
}

void TBevel::UpdateColors() {
  Color1 = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  Color2 = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
}

void TBevel::SetShape(TBevelShape value) {
  if (shape_ == value) return;
  shape_ = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  if (style_ == value) return;
  style_ = value;
  UpdateColors();
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  // Top-left edges in the first colour, bottom-right ones in the second.
  auto bevelRect = [&](TColor first, TColor second, int l, int t, int r, int b) {
    c->Pen()->SetColor(first);
    c->Polyline({Point(l, b), Point(l, t), Point(r, t)});
    c->Pen()->SetColor(second);
    c->Polyline({Point(r, t), Point(r, b), Point(l - 1, b)});
  };
  int w = width_, h = height_;
  switch (shape_) {
    case bsBox: bevelRect(Color1, Color2, 0, 0, w - 1, h - 1); break;
    case bsFrame:
      bevelRect(Color2, Color2, 1, 1, w - 1, h - 1);
      bevelRect(Color1, Color1, 0, 0, w - 2, h - 2);
      break;
    case bsTopLine:
      line(Color1, 0, 0, w, 0);
      line(Color2, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(Color1, 0, h - 2, w, h - 2);
      line(Color2, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(Color1, 0, 0, 0, h);
      line(Color2, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(Color1, w - 2, 0, w - 2, h);
      line(Color2, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// --- TShape ----------------------------------------------------------------

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  controlStyle_ |= csReplicatable;
  width_ = 65;
  height_ = 65;
  pen_.OnChange = Bind<&TShape::StyleChanged>(this);
  brush_.OnChange = Bind<&TShape::StyleChanged>(this);
}

void TShape::SetShape(TShapeType value) {
  if (shape_ == value) return;
  shape_ = value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* c = Canvas();
  c->SetPen(&pen_);
  c->SetBrush(&brush_);
  int pw = pen_.Width();
  int x = pw / 2, y = pw / 2;
  int w = width_ - pw + 1, h = height_ - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  int side = std::min(w, h);
  if (shape_ == stSquare || shape_ == stCircle) {
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  switch (shape_) {
    case stRectangle:
    case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect: c->RoundRect(x, y, x + w, y + h, side / 4, side / 4); break;
    case stEllipse:
    case stCircle: c->Ellipse(x, y, x + w, y + h); break;
  }
}

// --- TCustomPanel ----------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ |= csAcceptsControls | csOpaque;
  width_ = 185;
  height_ = 41;
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
  if (bevelInner_ == value) return;
  bevelInner_ = value;
  Changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
  if (bevelOuter_ == value) return;
  bevelOuter_ = value;
  Changed();
}

void TCustomPanel::SetBevelWidth(int value) {
  if (bevelWidth_ == value) return;
  bevelWidth_ = value;
  Changed();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  // Repainting all on every resize would flicker the children.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int bevel = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
  Rect.Left += bevel;
  Rect.Top += bevel;
  Rect.Right -= bevel;
  Rect.Bottom -= bevel;
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  auto ring = [&](TPanelBevel bevel) {
    if (bevel == bvNone) return;
    TColor top = bevel == bvRaised ? clBtnHighlight : clBtnShadow;
    TColor bottom = bevel == bvRaised ? clBtnShadow : clBtnHighlight;
    Frame3D(c, r, top, bottom, bevelWidth_);
  };
  ring(bevelOuter_);
  if (BorderWidth > 0) Frame3D(c, r, color_, color_, BorderWidth);
  ring(bevelInner_);
  c->Brush()->SetColor(color_);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  String text = GetText();
  if (text.empty()) return;
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  RECT rr = r;
  DrawTextA(dc, text.c_str(), -1, &rr, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | kAlign[alignment_]);
}
