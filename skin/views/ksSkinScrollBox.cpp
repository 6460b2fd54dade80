#include "skin/views/ksSkinScrollBox.h"

#include <algorithm>

#include "framework/core/handles.h"

TksSkinScrollBox::TksSkinScrollBox(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetSkinDataName("scrollbox");
  SetBounds(Left(), Top(), 150, 150);
}

TksSkinScrollBox::~TksSkinScrollBox() {
  SetVScrollBar(nullptr);
  SetHScrollBar(nullptr);
}

void TksSkinScrollBox::LinkBar(TksSkinScrollBar*& slot, TksSkinScrollBar* value, bool vertical) {
  if (slot != nullptr) {
    slot->OnChange = nullptr;
    slot->OnLastChange = nullptr;
  }
  SetComponentReference(this, slot, value);
  if (slot == nullptr) return;
  slot->SetCanFocused(false);
  slot->OnChange = [this, vertical](TObject*) { ScrollChange(vertical); };
  slot->OnLastChange = [this](TObject*) { Invalidate(); };
  slot->SetEnabled(true);
  slot->SetVisible(false);
  UpdateBar(vertical);
}

void TksSkinScrollBox::SetVScrollBar(TksSkinScrollBar* value) { LinkBar(vScrollBar_, value, true); }
void TksSkinScrollBox::SetHScrollBar(TksSkinScrollBar* value) { LinkBar(hScrollBar_, value, false); }

void TksSkinScrollBox::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == vScrollBar_) vScrollBar_ = nullptr;
  if (AComponent == hScrollBar_) hScrollBar_ = nullptr;
}

void TksSkinScrollBox::SetBorderStyle(TksSkinBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TksSkinScrollBox::UpdateScrollBars() {
  UpdateHScrollBar();
  UpdateVScrollBar();
}

void TksSkinScrollBox::UpdateBar(bool vertical) {
  TksSkinScrollBar* bar = vertical ? vScrollBar_ : hScrollBar_;
  if (bar == nullptr || updatingScrollBars_ || Parent() == nullptr) return;
  const int client = vertical ? ClientHeight() : ClientWidth();
  int extent = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* c = Controls(i);
    if (c->Visible()) extent = std::max(extent, vertical ? c->Top() + c->Height() : c->Left() + c->Width());
  }
  const int pos = bar->Position();
  const int content = pos + extent;
  int& sizeOffset = vertical ? vSizeOffset_ : hSizeOffset_;
  int& oldPos = vertical ? oldVPos_ : oldHPos_;
  const bool show = content > client;
  if (!show) {
    bar->SetRange(0, 0, 0, 0);
  } else if (pos >= 1 && extent < client && sizeOffset >= 1) {
    // Grown with free space at the end: show more of what lay before.
    bar->SetRange(0, content - 1, client, pos - std::min(sizeOffset, pos));
  } else if (sizeOffset == 0 && content - 1 < bar->Max() && pos >= 1 && extent < client) {
    // The content shrank: back to the start.
    bar->SetRange(0, content - 1, client, 0);
  } else {
    bar->SetRange(0, content - 1, client, pos);
  }
  // The children follow wherever the range put the position.
  if (const int delta = pos - bar->Position(); delta != 0) vertical ? ScrollBy(0, delta) : ScrollBy(delta, 0);
  sizeOffset = 0;
  oldPos = bar->Position();

  if (bar->Visible() != show) {
    updatingScrollBars_ = true;
    bar->SetVisible(show);
    // The room a horizontal bar takes or gives back may change what fits upright:
    // its re-alignment updates the bars through the box's new size.
    if (!vertical) updatingScrollBars_ = false;
    if (Align() != alNone && Parent() != nullptr) Parent()->Realign();
    updatingScrollBars_ = false;
  }
  // The horizontal bar leaves the corner square to a shown vertical one.
  if (vScrollBar_ != nullptr && hScrollBar_ != nullptr && hScrollBar_->Both() != vScrollBar_->Visible())
    hScrollBar_->SetBoth(vScrollBar_->Visible());
}

void TksSkinScrollBox::ScrollChange(bool vertical) {
  TksSkinScrollBar* bar = vertical ? vScrollBar_ : hScrollBar_;
  if (bar == nullptr) return;
  int& oldPos = vertical ? oldVPos_ : oldHPos_;
  const int delta = oldPos - bar->Position();
  oldPos = bar->Position();
  if (delta != 0) vertical ? ScrollBy(0, delta) : ScrollBy(delta, 0);
}

void TksSkinScrollBox::AdjustClientRect(TRect& Rect) {
  TksSkinCustomControl::AdjustClientRect(Rect);
  const bool h = hScrollBar_ != nullptr && hScrollBar_->Visible();
  const bool v = vScrollBar_ != nullptr && vScrollBar_->Visible();
  const int left = h ? -hScrollBar_->Position() : 0;
  const int top = v ? -vScrollBar_->Position() : 0;
  const int width = h ? std::max(hScrollBar_->Max(), ClientWidth()) : ClientWidth();
  const int height = v ? std::max(vScrollBar_->Max(), ClientHeight()) : ClientHeight();
  Rect = TRect{left, top, left + width, top + height};
}

void TksSkinScrollBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Measured before the window takes the size: its size message updates the bars.
  hSizeOffset_ = Width() != 0 && AWidth > Width() ? AWidth - Width() : 0;
  vSizeOffset_ = Height() != 0 && AHeight > Height() ? AHeight - Height() : 0;
  TksSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Align() != alNone) {
    UpdateVScrollBar();
    UpdateHScrollBar();
  }
}

void TksSkinScrollBox::CMVisibleChanged(TMessage& Message) {
  TksSkinCustomControl::CMVisibleChanged(Message);
  if (!Visible()) {
    if (vScrollBar_ != nullptr) vScrollBar_->SetVisible(false);
    if (hScrollBar_ != nullptr) hScrollBar_->SetVisible(false);
  } else {
    UpdateScrollBars();
  }
}

void TksSkinScrollBox::CreateParams(TCreateParams& Params) {
  TksSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TksSkinScrollBox::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  BGPictureIndex = -1;
  if (const auto* d = SkinDescription<TksDataSkinScrollBoxControl>(); d != nullptr) BGPictureIndex = d->BGPictureIndex;
}

void TksSkinScrollBox::ChangeSkinData() {
  TksSkinCustomControl::ChangeSkinData();
  if (HandleAllocated()) RecreateWnd();
}

TRect TksSkinScrollBox::FrameMargins() {
  GetSkinData();
  if (borderStyle_ == TksSkinBorderStyle::bvNone || BGPictureIndex != -1) return TRect{};
  if (controlIndex_ == -1) return TRect{1, 1, 1, 1};
  const TRect m{SkinClientRect.Left, SkinClientRect.Top, RectWidth(SkinRect) - SkinClientRect.Right,
                RectHeight(SkinRect) - SkinClientRect.Bottom};
  return TRect{std::max(0, m.Left), std::max(0, m.Top), std::max(0, m.Right), std::max(0, m.Bottom)};
}

void TksSkinScrollBox::PaintFrame(TBitmap& b) {
  GetSkinData();
  const int w = b.Width(), h = b.Height();
  if (w < 1 || h < 1 || borderStyle_ == TksSkinBorderStyle::bvNone || BGPictureIndex != -1) return;
  if (controlIndex_ == -1) {
    b.Canvas()->Brush()->SetStyle(bsClear);
    DrawBorderStyleFrame(b.Canvas(), TRect{0, 0, w, h}, borderStyle_);
    return;
  }
  if (Picture == nullptr || IsNullRect(SkinRect)) return;
  const TksSkinGeometry moved = MoveSkinGeometry({LTPoint, RTPoint, LBPoint, RBPoint, SkinClientRect}, SkinRect, w, h);
  TBitmap left, top, right, bottom;
  CreateSkinBorderImages(LTPoint, RTPoint, LBPoint, RBPoint, SkinClientRect, moved.LTPoint, moved.RTPoint,
                         moved.LBPoint, moved.RBPoint, moved.ClientRect, &left, &top, &right, &bottom, Picture,
                         SkinRect, w, h, false, false, false, false);
  TCanvas* c = b.Canvas();
  c->Draw(0, 0, &top);
  c->Draw(0, top.Height(), &left);
  c->Draw(w - right.Width(), top.Height(), &right);
  c->Draw(0, h - bottom.Height(), &bottom);
}

void TksSkinScrollBox::WMNCCalcSize(TMessage& Message) {
  // Both forms of the message start with the proposed client rectangle.
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  const TRect m = FrameMargins();
  r->left += m.Left;
  r->top += m.Top;
  r->right = std::max(r->left, r->right - m.Right);
  r->bottom = std::max(r->top, r->bottom - m.Bottom);
  Message.Result = 0;
}

void TksSkinScrollBox::WMNCPaint() {
  if (!HandleAllocated() || Width() < 1 || Height() < 1) return;
  const TRect m = FrameMargins();
  if (m.Left == 0 && m.Top == 0 && m.Right == 0 && m.Bottom == 0) return;
  WindowDC dc(WindowDCRef{Handle(), GetWindowDC(Handle())});
  if (!dc) return;
  TBitmap frame(Width(), Height());
  PaintFrame(frame);
  const HDC target = dc.get().DC;
  ExcludeClipRect(target, m.Left, m.Top, Width() - m.Right, Height() - m.Bottom);
  BitBlt(target, 0, 0, Width(), Height(), frame.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TksSkinScrollBox::TileClient(TBitmap& b) {
  TBitmap* picture = Picture;
  TRect source = MovedRect(SkinClientRect, SkinRect.Left, SkinRect.Top);
  if (BGPictureIndex != -1 && SkinData() != nullptr) {
    // A background picture is tiled over the whole control; a missing or empty one falls back.
    if (TBitmap* bg = SkinData()->ActivePicture(BGPictureIndex); bg != nullptr && !bg->Empty()) {
      picture = bg;
      source = TRect{0, 0, bg->Width(), bg->Height()};
    }
  }
  const int tw = RectWidth(source), th = RectHeight(source);
  if (picture == nullptr || tw < 1 || th < 1) {
    CreateControlDefaultImage(&b);
    return;
  }
  for (int y = 0; y < b.Height(); y += th)
    for (int x = 0; x < b.Width(); x += tw) {
      const int cw = std::min(tw, b.Width() - x), ch = std::min(th, b.Height() - y);
      b.Canvas()->CopyRect(TRect{x, y, x + cw, y + ch}, picture->Canvas(),
                           TRect{source.Left, source.Top, source.Left + cw, source.Top + ch});
    }
}

void TksSkinScrollBox::Paint() {
  GetSkinData();
  if (controlIndex_ == -1) {
    TksSkinCustomControl::Paint();
    return;
  }
  if (ClientWidth() < 1 || ClientHeight() < 1) return;
  TBitmap b(ClientWidth(), ClientHeight());
  TileClient(b);
  Canvas()->Draw(0, 0, &b);
}

void TksSkinScrollBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(Message); return;
    case WM_NCPAINT:
      TksSkinCustomControl::WndProc(Message);
      WMNCPaint();
      return;
    case WM_SIZE:
      TksSkinCustomControl::WndProc(Message);
      if (Align() == alNone) {
        UpdateVScrollBar();
        UpdateHScrollBar();
      }
      if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      return;
    default: break;
  }
  TksSkinCustomControl::WndProc(Message);
}
