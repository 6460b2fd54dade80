#include "skin/views/ksSkinTreeView.h"

#include <windows.h>

#include <commctrl.h>

#include "framework/gui/imagelist.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinDataResStr.h"
#include "skin/draw/ksUtils.h"
#include "skin/views/ksSkinViewBars.h"

TksSkinCustomTreeView::TksSkinCustomTreeView(TComponent* AOwner)
    : TksSkinLinkedView(AOwner, Bind<&TksSkinCustomTreeView::VScroll>(this),
                        Bind<&TksSkinCustomTreeView::HScroll>(this)) {}

void TksSkinCustomTreeView::ChangeSkinData() {
  // Loading ends with Loaded, which applies the skin once everything is set.
  if ((ComponentState() & csLoading) != 0) return;
  ApplyViewSkin<TksDataSkinTreeView>(*this, skinData_, SkinDataName, controlIndex_, defaultFont_, UseSkinFont,
                                     DefaultColor);
  for (TCustomImageList* list : {Images(), StateImages()})
    if (list != nullptr) ImageList_SetBkColor(list->Handle(), static_cast<COLORREF>(ColorToRGB(Color())));
  UpdateScrollBars();
  bars_.Realign();
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
