// The frame's geometry for the window's size, the placing of its objects, the
// composing of its non-client picture in both looks, its window region and the
// client background.
#include <algorithm>

#include "skin/draw/ksUtils.h"
#include "skin/frame/ksSkinForm.h"

namespace {

// A caption button in the arrangement: a visible std button or animation whose
// face is its own picture.
bool Arranged(const TksActiveSkinObject& o, TksStdButtonCommand& command) {
  if (!o.Visible || !o.SkinRectInAPicture) return false;
  if (auto* b = dynamic_cast<const TksSkinStdButtonObject*>(&o)) {
    command = b->Command;
    return true;
  }
  if (auto* a = dynamic_cast<const TksSkinAnimateObject*>(&o)) {
    command = a->Command;
    return true;
  }
  return false;
}

constexpr TksStdButtonCommand kRightOrder[] = {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray};

}  // namespace

// ---- geometry --------------------------------------------------------------------------

void TksSkinForm::CalcNewRects() {
  if (!skinData_ || skinData_->Empty) return;
  if (FormWidth == 0 || FormHeight == 0) {
    FormWidth = form_->Width();
    FormHeight = form_->Height();
  }
  const TksSkinData& s = *skinData_;
  const int pw = s.Picture.Width();
  const int dx = FormWidth - pw, dy = FormHeight - s.Picture.Height();
  NewLTPoint = s.LTPoint;
  NewRTPoint = TPoint{s.RTPoint.X + dx, s.RTPoint.Y};
  NewLBPoint = TPoint{s.LBPoint.X, s.LBPoint.Y + dy};
  NewRBPoint = TPoint{s.RBPoint.X + dx, s.RBPoint.Y + dy};
  NewClRect = TRect{s.ClientRect.Left, s.ClientRect.Top, s.ClientRect.Right + dx, s.ClientRect.Bottom + dy};
  NewCaptionRect = s.CaptionRect;
  if (!IsNullRect(NewCaptionRect)) NewCaptionRect.Right += dx;
  NewButtonsRect = s.ButtonsRect;
  if (NewButtonsRect.Left > pw / 2) NewButtonsRect = MovedRect(NewButtonsRect, dx, 0);
  NewHitTestLTPoint = s.HitTestLTPoint;
  NewHitTestRTPoint = TPoint{s.HitTestRTPoint.X + dx, s.HitTestRTPoint.Y};
  NewHitTestLBPoint = TPoint{s.HitTestLBPoint.X, s.HitTestLBPoint.Y + dy};
  NewHitTestRBPoint = TPoint{s.HitTestRBPoint.X + dx, s.HitTestRBPoint.Y + dy};
  NewMaskRectArea = s.MaskRectArea;
  NewMaskRectArea.Right += dx;
  NewMaskRectArea.Bottom += dy;
}

TRect TksSkinForm::CalcObjectRect(const TRect& r) const {
  if (!skinData_) return r;
  const TksSkinData& s = *skinData_;
  const int pw = s.Picture.Width(), ph = s.Picture.Height();
  const int dx = FormWidth - pw, dy = FormHeight - ph;
  const TRect lt{0, 0, s.LTPoint.X, s.LTPoint.Y};
  const TRect rt{s.RTPoint.X, 0, pw, s.RTPoint.Y};
  const TRect lb{0, s.LBPoint.Y, s.LBPoint.X, ph};
  const TRect rb{s.RBPoint.X, s.RBPoint.Y, pw, ph};
  if (RectInRect(r, lt)) return r;
  if (RectInRect(r, rt)) return MovedRect(r, dx, 0);
  if (RectInRect(r, lb)) return MovedRect(r, 0, dy);
  if (RectInRect(r, rb)) return MovedRect(r, dx, dy);
  const TPoint tl = r.TopLeft(), br = r.BottomRight();
  TRect n = r;
  if (lt.Contains(tl) && rb.Contains(br)) {
    n.Right += dx;
    n.Bottom += dy;
  } else if (lt.Contains(tl) && rt.Contains(br)) {
    n.Right += dx;
  } else if (lb.Contains(tl) && rb.Contains(br)) {
    n.Right += dx;
    n = MovedRect(n, 0, dy);
  } else if (lt.Contains(tl) && lb.Contains(br)) {
    n.Bottom += dy;
  } else if (rt.Contains(tl) && rb.Contains(br)) {
    n = MovedRect(n, dx, 0);
    n.Bottom += dy;
  }
  return n;
}

void TksSkinForm::CalcObjectRects() {
  for (auto& o : objects_)
    if (!o->SkinRectInAPicture) o->ObjectRect = CalcObjectRect(o->SkinRect);
  if (!IsNullRect(NewButtonsRect))
    ArrangeButtons(skinData_->ButtonsInLeft ? NewButtonsRect.Left : NewButtonsRect.Right, NewButtonsRect.Top,
                   skinData_->ButtonsInLeft);
  else if (!IsNullRect(NewCaptionRect))
    ArrangeButtons(skinData_->ButtonsInLeft ? NewCaptionRect.Left : NewCaptionRect.Right, NewCaptionRect.Top,
                   skinData_->ButtonsInLeft);
}

void TksSkinForm::ArrangeButtons(int x, int y, bool leftToRight) {
  const int offset = skinData_->ButtonsOffset;
  const bool inCaption = IsNullRect(NewButtonsRect);
  TksActiveSkinObject* caption = nullptr;
  TksActiveSkinObject* sysMenu = nullptr;
  std::vector<TksActiveSkinObject*> order;
  for (TksStdButtonCommand want : kRightOrder)
    for (auto& o : objects_) {
      TksStdButtonCommand c;
      if (Arranged(*o, c) && c == want) {
        order.push_back(o.get());
        break;
      }
    }
  for (auto& o : objects_) {
    TksStdButtonCommand c;
    if (Arranged(*o, c) && c == cmDefault) order.push_back(o.get());
    if (Arranged(*o, c) && c == cmSysMenu && !sysMenu) sysMenu = o.get();
    if (!caption && dynamic_cast<TksSkinCaptionObject*>(o.get())) caption = o.get();
  }
  auto size = [&](const TksActiveSkinObject* o) {
    if (o == sysMenu && showIcon_) return GetSmallIconSize();
    return SIZE{RectWidth(o->SkinRect), RectHeight(o->SkinRect)};
  };
  for (TksActiveSkinObject* o : order) {
    const SIZE s = size(o);
    if (leftToRight) {
      o->ObjectRect = TRect{x, y, x + s.cx, y + s.cy};
      x += offset + s.cx;
    } else {
      o->ObjectRect = TRect{x - s.cx, y, x, y + s.cy};
      x -= offset + s.cx;
    }
  }
  if (leftToRight) {
    if (!inCaption) return;
    if (sysMenu) {
      const SIZE s = size(sysMenu);
      sysMenu->ObjectRect = TRect{x, y, x + s.cx, y + s.cy};
      x += offset + s.cx;
    }
    if (caption) caption->ObjectRect.Left = x + offset;
    return;
  }
  if (inCaption && caption) caption->ObjectRect.Right = x + offset;
  if (!sysMenu) return;
  const SIZE s = size(sysMenu);
  x = NewCaptionRect.Left;
  const int top = RectHeight(NewCaptionRect) / 2 + NewCaptionRect.Top - s.cy / 2;
  sysMenu->ObjectRect = TRect{x, top, x + s.cx, top + s.cy};
  x += offset + s.cx;
  if (caption) caption->ObjectRect.Left = x - offset;
}

void TksSkinForm::UpdateSkinFrame(bool update) {
  if (!skinData_ || skinData_->Empty) return;
  CalcNewRects();
  if (update) CalcObjectRects();
  SetFormRegion(update);
  if (!regionSet_) RepaintFrame();
}

int TksSkinForm::GetDefCaptionHeight() const {
  const TBorderStyle b = form_->BorderStyle();
  return b == bsToolWindow || b == bsSizeToolWin ? 15 : 19;
}

int TksSkinForm::GetDefButtonSize() const { return GetDefCaptionHeight() - 2; }

bool TksSkinForm::GetAutoRenderingInActiveImage() const {
  return skinData_ && !skinData_->Empty && skinData_->AutoRenderingInActiveImage;
}

String TksSkinForm::CaptionText() const {
  if (IsMDIForm() && mdiChildMaximize_)
    if (TCustomForm* child = GetMaximizedMDIChild()) return form_->Caption() + " - [" + child->Caption() + "]";
  return form_->Caption();
}

void TksSkinForm::ArrangeDefaultButtons() {
  if (objects_.empty()) return;
  const int w = FormWidth, s = GetDefButtonSize();
  DefCaptionRect = TRect{3, 3, w - 3, GetDefCaptionHeight()};
  int x = w - 3;
  for (TksStdButtonCommand want : kRightOrder)
    for (auto& o : objects_) {
      TksStdButtonCommand c;
      if (Arranged(*o, c) && c == want) {
        o->ObjectRect = TRect{x - s, 4, x, 4 + s};
        x -= s;
        break;
      }
    }
  DefCaptionRect.Right = x;
  x = DefCaptionRect.Left;
  for (auto& o : objects_) {
    TksStdButtonCommand c;
    if (!Arranged(*o, c) || c != cmSysMenu) continue;
    const SIZE is = showIcon_ ? GetSmallIconSize() : SIZE{s, s};
    o->ObjectRect = TRect{x, 4, x + is.cx, 4 + is.cy};
    x += is.cx;
    break;
  }
  DefCaptionRect.Left = x;
}

// ---- painting ------------------------------------------------------------------------

void TksSkinForm::ComposeNonClient(TBitmap& out) {
  out.SetSize(0, 0);
  if (form_->BorderStyle() == bsNone) return;
  if (FormWidth == 0 || FormHeight == 0) {
    FormWidth = form_->Width();
    FormHeight = form_->Height();
  }
  if (skinnable_)
    ComposeSkinned(out);
  else
    ComposeDefault(out);
}

void TksSkinForm::ComposeSkinned(TBitmap& out) {
  if (GetMinWidth() > FormWidth || GetMinHeight() > FormHeight) return;
  CalcNewRects();
  CalcObjectRects();
  const TksSkinData& s = *skinData_;
  const bool active = GetFormActive();
  TBitmap* source = const_cast<TBitmap*>(&s.Picture);
  if (!active && !s.InActivePicture.Empty()) source = const_cast<TBitmap*>(&s.InActivePicture);
  TBitmap left, top, right, bottom;
  CreateSkinBorderImages(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.ClientRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewClRect, &left, &top, &right, &bottom, source,
                         TRect{0, 0, s.Picture.Width(), s.Picture.Height()}, FormWidth, FormHeight,
                         s.LeftStretch, s.TopStretch, s.RightStretch, s.BottomStretch);
  // Objects live in the caption or the bottom border; they are drawn only there.
  for (auto& o : objects_) {
    if (!o->Visible) continue;
    if (o->ObjectRect.Bottom > NewClRect.Top) {
      const TRect at = o->ObjectRect;
      o->ObjectRect = MovedRect(at, 0, -NewClRect.Bottom);
      o->Draw(bottom.Canvas(), false);
      o->ObjectRect = at;
    } else {
      o->Draw(top.Canvas(), false);
    }
  }
  // Each border image takes the effect on its own, so blurs and noise stop at its edges.
  if (!active && GetAutoRenderingInActiveImage())
    for (TBitmap* b : {&top, &left, &right, &bottom}) ApplyFrameEffect(b, s.InActiveEffect);
  out.SetPixelFormat(pf24bit);
  out.SetSize(FormWidth, FormHeight);
  TCanvas* c = out.Canvas();
  c->Draw(0, 0, &top);
  c->Draw(0, top.Height(), &left);
  c->Draw(FormWidth - right.Width(), top.Height(), &right);
  c->Draw(0, FormHeight - bottom.Height(), &bottom);
}

void TksSkinForm::ComposeDefault(TBitmap& out) {
  const int w = FormWidth, h = FormHeight, ch = GetDefCaptionHeight();
  // Smaller than its own frame, the plain look has nothing sensible to show.
  if (w <= 6 || h < ch + 6) return;
  if (objects_.empty() && !skinnable_) CreateDefaultButtons();
  ArrangeDefaultButtons();
  out.SetPixelFormat(pf24bit);
  out.SetSize(w, h);
  TCanvas* c = out.Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect{0, 0, w, h});

  TBitmap cap(w - 6, ch);
  TCanvas* cc = cap.Canvas();
  cc->Brush()->SetColor(clBtnFace);
  cc->FillRect(TRect{0, 0, cap.Width(), ch});
  const int l = DefCaptionRect.Left - 3, r = cap.Width() - DefCaptionRect.Right;
  for (int y = 2; y <= ch - 4; ++y) {
    cc->Pen()->SetColor((y % 2 == 0) ? clBtnHighlight : clBtnShadow);
    cc->MoveTo(l + 2, y);
    cc->LineTo(cap.Width() - r - 6, y);
  }
  cc->Font()->Assign(GetFormActive() ? &defCaptionFont_ : &defInActiveCaptionFont_);
  if (skinData_ && skinData_->ResourceStrData()) cc->Font()->SetCharset(skinData_->ResourceStrData()->CharSet);
  String text = CaptionText();
  const int room = cap.Width() - l - r;
  if (!text.empty() && room > 0) {
    CutTextToWidth(cc, text, room);
    const int tw = cc->TextWidth(text), th = cc->TextHeight(text);
    const int x = l + room / 2 - (tw + 5) / 2, y = ch / 2 - th / 2;
    cc->Brush()->SetColor(clBtnFace);
    cc->FillRect(TRect{x, 0, x + tw + 5, ch});
    cc->Brush()->SetStyle(bsClear);
    cc->TextOut(x + 3, y, text);
    cc->Brush()->SetStyle(bsSolid);
  }
  c->Draw(3, 3, &cap);
  for (auto& o : objects_)
    if (o->Visible) o->Draw(c, true);
  TRect ring{0, 0, w, h};
  Frame3D(c, ring, cl3DLight, cl3DDkShadow, 1);
  Frame3D(c, ring, clBtnHighlight, clBtnShadow, 1);
  Frame3D(c, ring, clBtnFace, clBtnFace, 1);
}

// ---- region ----------------------------------------------------------------------------

namespace {

TRegion MaskRegion(TBitmap* mask, int x, int y) {
  std::unique_ptr<BYTE[]> data;
  const size_t size = CreateRegionData(mask, x, y, data);
  if (size == 0) return TRegion();
  return TRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(size), reinterpret_cast<const RGNDATA*>(data.get())));
}

}  // namespace

void TksSkinForm::SetRegion(HRGN rgn) {
  TRegion owned(rgn);
  if (!form_->HandleAllocated()) return;
  if (SetWindowRgn(form_->Handle(), owned.get(), TRUE)) {
    owned.release();  // the window owns it now; it is never deleted here
    regionSet_ = true;
  }
}

void TksSkinForm::SetFormRegion(bool changeSize) {
  const bool noSkin = !skinData_ || skinData_->Empty || skinData_->MaskPicture.Empty();
  if (noSkin || form_->BorderStyle() == bsNone || IsMaximizedMDIChild()) {
    if (regionSet_ && form_->HandleAllocated() && SetWindowRgn(form_->Handle(), nullptr, TRUE)) regionSet_ = false;
    if (noSkin)
      for (TBitmap* strip : {&rmTop_, &rmLeft_, &rmRight_, &rmBottom_}) strip->SetSize(0, 0);
    return;
  }
  TksSkinData& s = *skinData_;
  TRegion rgn;
  if (changeSize) {
    for (TBitmap* strip : {&rmTop_, &rmLeft_, &rmRight_, &rmBottom_}) strip->SetSize(0, 0);
    CreateSkinBorderMasks(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.MaskRectArea, NewLTPoint, NewRTPoint,
                          NewLBPoint, NewRBPoint, NewMaskRectArea, &s.MaskPicture, &rmTop_, &rmLeft_, &rmRight_,
                          &rmBottom_, FormWidth, FormHeight);
    rgn = TRegion(CreateRectRgn(NewMaskRectArea.Left, NewMaskRectArea.Top, NewMaskRectArea.Right,
                                NewMaskRectArea.Bottom));
    const struct {
      TBitmap* Strip;
      int X, Y;
    } placed[] = {{&rmTop_, 0, 0},
                  {&rmBottom_, 0, NewMaskRectArea.Bottom},
                  {&rmLeft_, 0, NewMaskRectArea.Top},
                  {&rmRight_, NewMaskRectArea.Right, NewMaskRectArea.Top}};
    for (const auto& p : placed) {
      if (p.Strip->Width() < 1 || p.Strip->Height() < 1) continue;
      TRegion part = MaskRegion(p.Strip, p.X, p.Y);
      if (part) CombineRgn(rgn.get(), rgn.get(), part.get(), RGN_OR);
    }
  } else {
    rgn = MaskRegion(&s.MaskPicture, 0, 0);
  }
  if (rgn) SetRegion(rgn.release());
}

// ---- client background ---------------------------------------------------------------

void TileFormPicture(TCanvas* canvas, TBitmap* picture, const TRect& src, int cw, int ch) {
  const int pw = RectWidth(src), ph = RectHeight(src);
  if (pw < 1 || ph < 1 || cw < 1 || ch < 1) return;
  for (int x = 0; x <= cw / pw; ++x)
    for (int y = 0; y <= ch / ph; ++y)
      canvas->CopyRect(TRect{x * pw, y * ph, (x + 1) * pw, (y + 1) * ph}, picture->Canvas(), src);
}

// Centred on the form's client area, never above or left of it.
void TksSkinForm::DrawLogo(TCanvas* canvas) {
  if (logoBitMap_.Empty()) return;
  logoBitMap_.SetTransparent(LogoBitMapTransparent);
  canvas->Draw(std::max(0, form_->ClientWidth() / 2 - logoBitMap_.Width() / 2),
               std::max(0, form_->ClientHeight() / 2 - logoBitMap_.Height() / 2), &logoBitMap_);
}

void TksSkinForm::PaintClientBackground(TCanvas* canvas) {
  const int cw = form_->ClientWidth(), ch = form_->ClientHeight();
  if (skinnable_) {
    TBitmap* bg = skinData_->ActivePicture(skinData_->BGPictureIndex);
    // A picture index that names no usable picture paints as none.
    if (bg && !bg->Empty()) {
      TileFormPicture(canvas, bg, TRect{0, 0, bg->Width(), bg->Height()}, cw, ch);
      DrawLogo(canvas);
      return;
    }
    const TRect& cl = skinData_->ClientRect;
    if (!IsNullRect(cl)) {
      TileFormPicture(canvas, &skinData_->Picture, cl, cw, ch);
      DrawLogo(canvas);
      return;
    }
  }
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(TRect{0, 0, cw, ch});
  if (!skinnable_) DrawLogo(canvas);
}
