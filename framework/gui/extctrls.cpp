#include "framework/gui/extctrls.h"

#include <algorithm>

#include "framework/core/bitmap.h"
#include "framework/core/thread.h"

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

// A new text or font is measured, then its place invalidated once: a label measured to
// another size has invalidated its old and new place in moving. Each invalidation is a
// call into the window system, and a recovery changes its labels hundreds of times.
void TCustomLabel::Remeasure() {
  const TRect before = BoundsRect();
  AdjustBounds();
  if (BoundsRect() == before) Invalidate();
}

void TCustomLabel::CMTextChanged(TMessage&) { Remeasure(); }

void TCustomLabel::CMFontChanged(TMessage&) { Remeasure(); }

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
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
  // Top-left edges in the first colour, bottom-right ones in the second; the
  // bottom-left corner pixel, where the second line stops, keeps the first.
  auto bevelRect = [&](TColor first, TColor second, int l, int t, int r, int b) {
    c->Pen()->SetColor(first);
    c->Polyline({Point(l, b), Point(l, t), Point(r, t)});
    c->Pen()->SetColor(second);
    c->Polyline({Point(r, t), Point(r, b), Point(l, b)});
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

// --- TImage ----------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
  controlStyle_ |= csReplicatable;
  width_ = 105;
  height_ = 105;
  picture_->OnChange = Bind<&TImage::PictureChanged>(this);
}

TImage::~TImage() { picture_->OnChange.Clear(); }

void TImage::SetStretch(bool value) {
  if (stretch_ == value) return;
  stretch_ = value;
  Invalidate();
}

void TImage::SetProportional(bool value) {
  if (proportional_ == value) return;
  proportional_ = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  if (center_ == value) return;
  center_ = value;
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  autoSize_ = value;
  if (value) PictureChanged(this);
}

void TImage::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  PictureChanged(this);
}

void TImage::PictureChanged(TObject*) {
  // Workers change pictures too; they ask for a repaint through Synchronize.
  if (GetCurrentThreadId() != MainThreadID) return;
  TGraphic* graphic = picture_->Graphic();
  if (autoSize_ && graphic != nullptr && !graphic->Empty())
    SetBounds(left_, top_, graphic->Width(), graphic->Height());
  if (graphic != nullptr && graphic->Transparent() != transparent_) graphic->SetTransparent(transparent_);
  bool opaque = graphic != nullptr && !transparent_ && !graphic->Empty() && DestRect() == ClientRect();
  if (opaque) controlStyle_ |= csOpaque;
  else controlStyle_ &= ~csOpaque;
  Invalidate();
}

TCanvas* TImage::Canvas() {
  TGraphic* graphic = picture_->Graphic();
  if (graphic == nullptr) {
    TBitmap* bitmap = picture_->Bitmap();
    bitmap->SetSize(width_, height_);
    return bitmap->Canvas();
  }
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  if (bitmap == nullptr) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return bitmap->Canvas();
}

TRect TImage::DestRect() {
  TGraphic* graphic = picture_->Graphic();
  int w = graphic != nullptr ? graphic->Width() : 0;
  int h = graphic != nullptr ? graphic->Height() : 0;
  int cw = ClientWidth(), ch = ClientHeight();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_ && w > 0 && h > 0) {
      double aspect = static_cast<double>(w) / h;
      if (cw / aspect <= ch) {
        w = cw;
        h = static_cast<int>(cw / aspect + 0.5);
      } else {
        h = ch;
        w = static_cast<int>(ch * aspect + 0.5);
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  int x = center_ ? (cw - w) / 2 : 0;
  int y = center_ ? (ch - h) / 2 : 0;
  return Bounds(x, y, w, h);
}

void TImage::Paint() {
  TGraphic* graphic = picture_->Graphic();
  if (graphic == nullptr || graphic->Empty()) return;
  // A worker drawing into the bitmap under its canvas lock never overlaps a paint.
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  TCanvas* locked = bitmap != nullptr ? bitmap->Canvas() : nullptr;
  if (locked != nullptr) locked->Lock();
  try {
    canvas_->StretchDraw(DestRect(), graphic);
  } catch (...) {
    if (locked != nullptr) locked->Unlock();
    throw;
  }
  if (locked != nullptr) locked->Unlock();
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

// --- TSplitter -------------------------------------------------------------

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  align_ = alLeft;
  width_ = 3;
  height_ = 100;
  cursor_ = crHSplit;
}

TControl* TSplitter::FindResizedControl() {
  if (parent_ == nullptr) return nullptr;
  for (int i = 0; i < parent_->ControlCount(); ++i) {
    TControl* c = parent_->Controls(i);
    if (c == this || !c->Visible() || c->Align() != align_) continue;
    bool touches = false;
    switch (align_) {
      case alLeft: touches = c->Left() + c->Width() == left_; break;
      case alRight: touches = c->Left() == left_ + width_; break;
      case alTop: touches = c->Top() + c->Height() == top_; break;
      case alBottom: touches = c->Top() == top_ + height_; break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == resized_) resized_ = nullptr;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  resized_ = FindResizedControl();
  if (resized_ == nullptr) return;
  FreeNotification(resized_);
  downAt_ = ClientToScreen(Point(X, Y));
  startSize_ = (align_ == alLeft || align_ == alRight) ? resized_->Width() : resized_->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (resized_ == nullptr || !(Shift & ssLeft)) return;
  TPoint now = ClientToScreen(Point(X, Y));
  int delta = 0;
  switch (align_) {
    case alLeft: delta = now.X - downAt_.X; break;
    case alRight: delta = downAt_.X - now.X; break;
    case alTop: delta = now.Y - downAt_.Y; break;
    case alBottom: delta = downAt_.Y - now.Y; break;
    default: return;
  }
  int size = std::max(startSize_ + delta, MinSize);
  bool accept = true;
  OnCanResize(this, size, accept);
  if (!accept) return;
  if (align_ == alLeft || align_ == alRight) {
    resized_->SetWidth(size);
  } else {
    resized_->SetHeight(size);
  }
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (resized_ == nullptr || Button != mbLeft) return;
  resized_ = nullptr;
  OnMoved(this);
}

void TSplitter::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(color_);
  c->FillRect(ClientRect());
  if (Beveled) {
    TRect r = ClientRect();
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
  }
  OnPaint(this);
}
