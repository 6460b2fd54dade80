#include "skin/views/ksSkinListView.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/core/colors.h"
#include "framework/gui/imagelist.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/draw/ksUtils.h"
#include "skin/views/ksSkinViewBars.h"

namespace {

constexpr int kTextInset = 5;

bool IsHeaderWindow(HWND wnd) {
  char name[80] = {};
  GetClassNameA(wnd, name, sizeof name);
  return std::strcmp(name, "SysHeader32") == 0;
}

}  // namespace

TksSkinCustomListView::TksSkinCustomListView(TComponent* AOwner)
    : TksSkinLinkedView(AOwner, Bind<&TksSkinCustomListView::VScroll>(this),
                        Bind<&TksSkinCustomListView::HScroll>(this)) {
  Font()->Assign(&defaultFont_);
}

TksSkinCustomListView::~TksSkinCustomListView() = default;

void TksSkinCustomListView::SetDefaultFont(TFont* value) {
  defaultFont_.Assign(value);
  if (controlIndex_ == -1) Font()->Assign(&defaultFont_);
}

void TksSkinCustomListView::ChangeSkinData() {
  ApplyViewSkin<TksDataSkinListView>(*this, skinData_, SkinDataName, controlIndex_, defaultFont_, UseSkinFont,
                                     DefaultColor);
  if (HWND header = HookedHeader()) InvalidateRect(header, nullptr, TRUE);
  UpdateScrollBars();
  bars_.Realign();
}

// ---- scrolling --------------------------------------------------------------------

int TksSkinCustomListView::ItemHeight() {
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (ItemCount() == 0 || !SendMessageA(Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) return 1;
  return std::max<int>(1, r.bottom - r.top);
}

void TksSkinCustomListView::VScroll(TObject*) {
  if (!HandleAllocated() || VScrollBar() == nullptr) return;
  const int pos = VScrollBar()->Position();
  const int step = (ViewStyle() == vsReport || ViewStyle() == vsList) ? ItemHeight() : 1;
  scrolling_ = true;
  SendMessageA(Handle(), LVM_SCROLL, 0, (pos - oldV_) * step);
  scrolling_ = false;
  oldV_ = pos;
}

void TksSkinCustomListView::HScroll(TObject*) {
  if (!HandleAllocated() || HScrollBar() == nullptr) return;
  const int pos = HScrollBar()->Position();
  scrolling_ = true;
  if (ViewStyle() == vsList) {
    for (int i = oldH_; i < pos; ++i) SendMessageA(Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
    for (int i = pos; i < oldH_; ++i) SendMessageA(Handle(), WM_HSCROLL, SB_LINELEFT, 0);
  } else {
    SendMessageA(Handle(), LVM_SCROLL, pos - oldH_, 0);
  }
  scrolling_ = false;
  oldH_ = pos;
}

void TksSkinCustomListView::UpdateScrollBars() {
  if (updating_ || scrolling_ || !HandleAllocated() || Width() <= 5 || Height() <= 5) return;
  if (VScrollBar() == nullptr && HScrollBar() == nullptr) return;
  updating_ = true;
  // As with the tree: the list's own scroll style says whether it needs a bar.
  const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
  const bool needV = (style & WS_VSCROLL) != 0 && Visible();
  const bool needH = (style & WS_HSCROLL) != 0 && Visible();
  const TksBarRange v = ReadBarRange(Handle(), SB_VERT);
  const TksBarRange h = ReadBarRange(Handle(), SB_HORZ);
  const int perPage = static_cast<int>(SendMessageA(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
  bool changed = false;
  auto show = [&](TksSkinScrollBar* bar, bool visible, const TksBarRange& r, int page, int small, int large,
                  int& remembered) {
    if (bar == nullptr) return;
    if (visible) {
      bar->SetSmallChange(std::max(1, small));
      bar->SetLargeChange(std::max(1, large));
      remembered = r.pos;
    }
    changed |= TksLinkedScrollBars::Show(bar, visible, r.min, r.max, page, r.pos);
  };
  switch (ViewStyle()) {
    case vsIcon:
    case vsSmallIcon: {
      const int change = std::max(1, ItemHeight() / 2);
      show(VScrollBar(), needV && v.max > Height(), v, Height(), change, change, oldV_);
      show(HScrollBar(), needH && h.max > Width(), h, Width(), change, change, oldH_);
      break;
    }
    case vsList: {
      RECT r{};
      r.left = LVIR_BOUNDS;
      int column = 1;
      if (ItemCount() > 0 && SendMessageA(Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)))
        column = std::max<int>(1, r.right - r.left);
      show(VScrollBar(), false, v, 0, 1, 1, oldV_);
      show(HScrollBar(), needH && perPage < ItemCount(), h, Width() / column, 1, 1, oldH_);
      break;
    }
    case vsReport:
      show(VScrollBar(), needV && perPage < v.max + 1, v, perPage, 1, perPage, oldV_);
      show(HScrollBar(), needH && h.max > Width(), h, Width(), 1, 1, oldH_);
      break;
  }
  bars_.UpdateBoth();
  if (changed && Align() != alNone && Parent() != nullptr) Parent()->Realign();
  updating_ = false;
}

// ---- header -------------------------------------------------------------------------

void TksSkinCustomListView::CreateWnd() {
  TCustomListView::CreateWnd();
  // A report list makes its header during its own creation, before we could hear of it.
  if (!header_ && ShowColumnHeaders())
    if (HWND header = HeaderHandle()) HookHeader(header);
}

void TksSkinCustomListView::HookHeader(HWND header) {
  if (header_ && header_->Handle() == header) return;
  header_.reset();  // the previous header gets its procedure back
  pressedSection_ = -1;
  sectionPressed_ = false;
  header_ = std::make_unique<TWindowSubclass>(
      header, [this](TWindowSubclass& link, TMessage& m) { HeaderMessage(link, m); });
}

void TksSkinCustomListView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE && ShowColumnHeaders()) {
        HWND child = reinterpret_cast<HWND>(Message.LParam);
        if (IsHeaderWindow(child)) HookHeader(child);
      }
      break;
    case WM_DESTROY: header_.reset(); break;
    default: break;
  }
  TksSkinLinkedView::WndProc(Message);
}

void TksSkinCustomListView::HeaderMessage(TWindowSubclass& link, TMessage& Message) {
  HWND header = link.Handle();
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_PAINT: {
      if (Message.WParam != 0) {
        PaintHeader(header, reinterpret_cast<HDC>(Message.WParam));
      } else {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(header, &ps);
        PaintHeader(header, dc);
        EndPaint(header, &ps);
      }
      Message.Result = 0;
      return;
    }
    case WM_LBUTTONDOWN: {
      const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
      pressedSection_ = -1;
      const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        RECT r{};
        SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        if (TRect::FromRECT(r).Contains(TPoint{p.x, p.y})) pressedSection_ = i;
      }
      HDHITTESTINFO hit{};
      hit.pt = p;
      SendMessageA(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      // A press on a divider sizes a column: no section looks pressed.
      sectionPressed_ = (hit.flags & HHT_ONDIVIDER) == 0;
      InvalidateRect(header, nullptr, FALSE);
      break;
    }
    case WM_LBUTTONUP:
      sectionPressed_ = false;
      pressedSection_ = -1;
      InvalidateRect(header, nullptr, FALSE);
      break;
    default: break;
  }
  link.CallPrevious(Message);  // columns still size and click
}

void TksSkinCustomListView::PaintHeader(HWND header, HDC dc) {
  RECT client{};
  GetClientRect(header, &client);
  const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
  if (DragReorder() && count > 0)
    SendMessageA(header, HDM_GETORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order.data()));
  // The header description, read afresh for this paint.
  const int index = SkinControlIndex(skinData_, HeaderSkinDataName);
  const TksDataSkinButtonControl* d =
      skinData_ != nullptr ? skinData_->ControlData<TksDataSkinButtonControl>(index) : nullptr;
  if (d != nullptr) {
    headerFace_.TakeFace(d, *skinData_);
    headerLook_.TakeButtonLook(*d);
  } else {
    headerFace_.Picture = nullptr;
  }
  TCanvas canvas;
  canvas.SetHandle(dc);
  int right = 0;
  for (int i = 0; i < count; ++i) {
    const int column = order[static_cast<size_t>(i)];
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    const TRect section = TRect::FromRECT(r);
    if (IsNullRect(section)) continue;
    DrawSection(&canvas, column, section, d != nullptr, column == pressedSection_ && sectionPressed_);
    right = std::max<int>(right, section.Right);
  }
  // The rest of the header: the face open to its right.
  const TRect rest{right, 0, client.right + 1, client.bottom};
  if (!IsNullRect(rest)) {
    TBitmap b(RectWidth(rest), RectHeight(rest));
    if (d != nullptr && headerFace_.Picture != nullptr) {
      const TksSkinFace& f = headerFace_;
      if (f.LBPoint.X != 0 || f.LBPoint.Y != 0) {
        const TksSkinGeometry g = MoveSkinGeometry({f.LTPoint, f.RTPoint, f.LBPoint, f.RBPoint, f.SkinClientRect},
                                                   f.SkinRect, b.Width(), b.Height());
        CreateOpenSkinImage(f.LTPoint, f.RTPoint, f.LBPoint, f.RBPoint, f.SkinClientRect, f.LTPoint, g.RTPoint,
                            g.LBPoint, g.RBPoint, g.ClientRect, &b, f.Picture, f.SkinRect, b.Width(), b.Height(),
                            true);
      } else {
        TBitmap strip;
        CreateOpenHSkinImage(f.LTPoint.X, RectWidth(f.SkinRect) - f.RTPoint.X, &strip, f.Picture, f.SkinRect,
                             b.Width(), RectHeight(f.SkinRect));
        b.Canvas()->StretchDraw(TRect{0, 0, b.Width(), b.Height()}, &strip);
      }
    } else {
      b.Canvas()->Brush()->SetColor(clBtnFace);
      b.Canvas()->FillRect(TRect{0, 0, b.Width(), b.Height()});
      b.Canvas()->Brush()->SetColor(clBtnShadow);
      b.Canvas()->FrameRect(TRect{0, 0, b.Width(), b.Height()});
    }
    canvas.Draw(rest.Left, rest.Top, &b);
  }
  canvas.SetHandle(nullptr);
}

void TksSkinCustomListView::DrawSection(TCanvas* canvas, int column, const TRect& r, bool skinned, bool pressed) {
  const int w = RectWidth(r), h = RectHeight(r);
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  c->Font()->Assign(Font());
  if (skinned && headerFace_.Picture != nullptr) {
    const TRect src = pressed ? OrFallback(headerLook_.DownSkinRect, OrFallback(headerLook_.ActiveSkinRect,
                                                                                  headerFace_.SkinRect))
                               : headerFace_.SkinRect;
    TksSkinFace f = headerFace_;
    int fw = w, fh = h;
    f.MoveFace(fw, fh, true);
    if (f.LBPoint.X != 0 || f.LBPoint.Y != 0) {
      f.ComposeFace(&b, f.Picture, src, w, h);
    } else {
      TBitmap strip;
      CreateHSkinImage(f.LTPoint.X, RectWidth(f.SkinRect) - f.RTPoint.X, &strip, f.Picture, src, w,
                       RectHeight(f.SkinRect));
      c->StretchDraw(TRect{0, 0, w, h}, &strip);
    }
    c->Font()->SetColor(pressed ? headerLook_.DownFontColor : headerLook_.FontColor);
  } else {
    DrawPlainButtonFace(c, TRect{0, 0, w, h}, pressed, false);
    c->Font()->SetColor(clBtnText);
  }
  TListColumn* col = column < ColumnCount() ? Columns(column) : nullptr;
  String text = col != nullptr ? col->Caption() : String();
  const TRect area{kTextInset, 0, w - kTextInset, h};
  TCustomImageList* images = SmallImages();
  const int image = col != nullptr ? col->ImageIndex() : -1;
  const bool withImage = images != nullptr && image >= 0 && image < images->Count();
  const int imageWidth = withImage ? images->Width() + 10 : 0;
  CutTextToWidth(c, text, RectWidth(area) - imageWidth);
  const int tw = c->TextWidth(text) + imageWidth;
  int x = area.Left;
  switch (col != nullptr ? col->Alignment() : taLeftJustify) {
    case taRightJustify: x = area.Right - tw - 10; break;
    case taCenter: x = RectWidth(area) / 2 - tw / 2; break;
    default: break;
  }
  if (withImage) {
    images->Draw(c, x, (h - images->Height()) / 2, image, true);
    x += imageWidth;
  }
  c->Brush()->SetStyle(bsClear);
  c->TextOut(x, (h - c->TextHeight(text)) / 2, text);
  canvas->Draw(r.Left, r.Top, &b);
}
