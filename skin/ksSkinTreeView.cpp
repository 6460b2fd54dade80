#include "skin/ksSkinTreeView.h"

#include <windows.h>

#include <commctrl.h>

#include "framework/gui/imagelist.h"
#include "skin/ksSkinDataControls.h"
#include "skin/ksSkinDataResStr.h"
#include "skin/ksSkinViewBars.h"
#include "skin/ksUtils.h"

TksSkinCustomTreeView::TksSkinCustomTreeView(TComponent* AOwner)
    : TCustomTreeView(AOwner),
      bars_(this, Bind<&TksSkinCustomTreeView::VScroll>(this), Bind<&TksSkinCustomTreeView::HScroll>(this)) {
  defaultFont_.SetName("Arial");
  defaultFont_.SetHeight(14);
  defaultFont_.SetStyle(0);
}

void TksSkinCustomTreeView::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  if (skinData_ != nullptr && !skinData_->Empty) ChangeSkinData();
}

void TksSkinCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTreeView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
  }
  bars_.Forget(AComponent);
}

void TksSkinCustomTreeView::Loaded() {
  TCustomTreeView::Loaded();
  ChangeSkinData();
}

void TksSkinCustomTreeView::ChangeSkinData() {
  ApplyViewSkin<TksDataSkinTreeView>(*this, skinData_, SkinDataName, controlIndex_, defaultFont_, UseSkinFont,
                                     DefaultColor);
  for (TCustomImageList* list : {Images(), StateImages()})
    if (list != nullptr) ImageList_SetBkColor(list->Handle(), static_cast<COLORREF>(ColorToRGB(Color())));
  UpdateScrollBars();
  bars_.Realign();
}

void TksSkinCustomTreeView::SetVScrollBar(TksSkinScrollBar* value) {
  bars_.SetV(value);
  UpdateScrollBars();
}

void TksSkinCustomTreeView::SetHScrollBar(TksSkinScrollBar* value) {
  bars_.SetH(value);
  UpdateScrollBars();
}

void TksSkinCustomTreeView::VScroll(TObject*) {
  if (HandleAllocated())
    SendMessageA(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, VScrollBar()->Position()), 0);
}

void TksSkinCustomTreeView::HScroll(TObject*) {
  if (HandleAllocated())
    SendMessageA(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, HScrollBar()->Position()), 0);
}

void TksSkinCustomTreeView::UpdateScrollBars() {
  if (updating_ || !HandleAllocated() || (VScrollBar() == nullptr && HScrollBar() == nullptr)) return;
  updating_ = true;
  bool changed = false;
  // The tree keeps a stale range once it no longer needs a bar, but it does take
  // its scroll style away: that style says whether a bar belongs.
  const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
  if (VScrollBar() != nullptr) {
    const TksBarRange r = ReadBarRange(Handle(), SB_VERT);
    const int page = static_cast<int>(SendMessageA(Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    const bool show = (style & WS_VSCROLL) != 0 && Visible() && r.max >= 1 && page <= r.max;
    changed |= TksLinkedScrollBars::Show(VScrollBar(), show, r.min, r.max, page, r.pos);
  }
  if (HScrollBar() != nullptr) {
    const TksBarRange r = ReadBarRange(Handle(), SB_HORZ);
    const bool show = (style & WS_HSCROLL) != 0 && Visible() && r.max > Width();
    changed |= TksLinkedScrollBars::Show(HScrollBar(), show, r.min, r.max, Width(), r.pos);
  }
  bars_.UpdateBoth();
  if (changed && Align() != alNone && Parent() != nullptr) Parent()->Realign();
  updating_ = false;
}

void TksSkinCustomTreeView::Change(TTreeNode* Node) {
  TCustomTreeView::Change(Node);
  UpdateScrollBars();
}

void TksSkinCustomTreeView::CMVisibleChanged(TMessage& Message) {
  TCustomTreeView::CMVisibleChanged(Message);
  bars_.SetVisible(Visible());
  UpdateScrollBars();
}

void TksSkinCustomTreeView::CreateParams(TCreateParams& Params) {
  TCustomTreeView::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
}

void TksSkinCustomTreeView::WndProc(TMessage& Message) {
  // No frame of bars: the linked bars stand outside.
  if (Message.Msg == WM_NCCALCSIZE || Message.Msg == WM_NCPAINT) {
    Message.Result = 0;
    return;
  }
  TCustomTreeView::WndProc(Message);
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_PAINT:
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEWHEEL: UpdateScrollBars(); break;
    default: break;
  }
}
