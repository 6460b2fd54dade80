#include "skin/boxes/ksSkinListFrame.h"

#include <algorithm>

#include "framework/core/seams.h"
#include "skin/boxes/ksListBox.h"
#include "skin/controls/ksSkinFont.h"

namespace {

constexpr int kDefaultBarSize = 19;
constexpr int kDefaultCheckWidth = 20;

// How thick a bar is across: its skin's face fixes it, else the plain look's.
int BarThickness(TksSkinScrollBar* bar) {
  const bool vertical = bar->Kind() == sbVertical;
  if (bar->ControlIndex() != -1 && !IsNullRect(bar->SkinRect))
    return vertical ? RectWidth(bar->SkinRect) : RectHeight(bar->SkinRect);
  return kDefaultBarSize;
}

void FillRect(TCanvas* c, const TRect& r, TColor color) {
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(color);
  c->FillRect(r);
}

}  // namespace

void TksListSkinValues::Take(const TksDataSkinListBox& d) {
  FontName = d.FontName;
  FontHeight = d.FontHeight;
  FontStyle = d.FontStyle;
  FontColor = d.FontColor;
  ActiveFontColor = d.ActiveFontColor;
  FocusFontColor = d.FocusFontColor;
  ItemRect = d.ItemRect;
  ActiveItemRect = OrFallback(d.ActiveItemRect, d.ItemRect);
  FocusItemRect = OrFallback(d.FocusItemRect, d.ItemRect);
  ItemTextRect = d.ItemTextRect;
  ItemLeftOffset = d.ItemLeftOffset;
  ItemRightOffset = d.ItemRightOffset;
  CaptionRect = d.CaptionRect;
  CaptionFontName = d.CaptionFontName;
  CaptionFontHeight = d.CaptionFontHeight;
  CaptionFontStyle = d.CaptionFontStyle;
  CaptionFontColor = d.CaptionFontColor;
  const TRect normal[3] = {d.UpButtonRect, d.DownButtonRect, d.CheckButtonRect};
  const TRect active[3] = {d.ActiveUpButtonRect, d.ActiveDownButtonRect, d.ActiveCheckButtonRect};
  const TRect down[3] = {d.DownUpButtonRect, d.DownDownButtonRect, d.DownCheckButtonRect};
  for (int i = 0; i < 3; ++i) {
    ButtonRect[i] = normal[i];
    ActiveButtonRect[i] = active[i];
    DownButtonRect[i] = OrFallback(down[i], active[i]);
  }
  VScrollBarName = d.VScrollBarName.empty() ? "vscrollbar" : d.VScrollBarName;
  HScrollBarName = d.HScrollBarName.empty() ? "hscrollbar" : d.HScrollBarName;
  BothHScrollBarName = d.BothHScrollBarName.empty() ? "bothhscrollbar" : d.BothHScrollBarName;
  if (const auto* c = dynamic_cast<const TksDataSkinCheckListBox*>(&d); c != nullptr) {
    ItemCheckRect = c->ItemCheckRect;
    CheckImageRect = c->CheckImageRect;
    UncheckImageRect = c->UncheckImageRect;
  } else {
    ItemCheckRect = CheckImageRect = UncheckImageRect = TRect{};
  }
}

// --- construction ------------------------------------------------------------

TksSkinListFrame::TksSkinListFrame(TComponent* AOwner, const String& skinDataName) : TksSkinCustomControl(AOwner) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks | csReplicatable);
  Font()->SetName("Arial");
  Font()->SetHeight(14);
  Font()->SetColor(clWindowText);
  Font()->SetStyle(0);
  defaultCaptionFont_.SetName("Arial");
  defaultCaptionFont_.SetHeight(14);
  defaultCaptionFont_.OnChange = [this](TObject*) {
    if (!Skinned() && captionMode_) Invalidate();
  };
  SetSkinDataName(skinDataName);
  SetBounds(Left(), Top(), 120, 120);
}

TksSkinListFrame::~TksSkinListFrame() {
  StopTimer();
  // The list and the bars must not call back into a control half gone.
  if (listBox_ != nullptr) {
    listBox_->SkinListBox = nullptr;
    delete listBox_;
  }
  delete vScrollBar_;
  delete hScrollBar_;
}

void TksSkinListFrame::AttachList(TksListBox* list) {
  listBox_ = list;
  list->SkinListBox = this;
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(defaultItemHeight_);
  list->SetParent(this);
  list->SetVisible(true);
  CalcRects();
}

void TksSkinListFrame::CreateParams(TCreateParams& Params) {
  TksSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// --- properties ----------------------------------------------------------------

TStrings* TksSkinListFrame::Items() { return listBox_->Items(); }

void TksSkinListFrame::SetItems(TStrings* value) {
  listBox_->Items()->Assign(value);
  UpdateScrollBars();
}

int TksSkinListFrame::ItemIndex() { return listBox_->ItemIndex(); }
void TksSkinListFrame::SetItemIndex(int value) { listBox_->SetItemIndex(value); }

void TksSkinListFrame::Clear() {
  listBox_->Clear();
  UpdateScrollBars();
}

int TksSkinListFrame::ItemAtPos(TPoint Pos, bool Existing) { return listBox_->ItemAtPos(Pos, Existing); }
bool TksSkinListFrame::Selected(int Index) { return listBox_->Selected(Index); }
int TksSkinListFrame::TopIndex() { return listBox_->TopIndex(); }

void TksSkinListFrame::SetTopIndex(int value) {
  listBox_->SetTopIndex(value);
  UpdateScrollBars();
}

bool TksSkinListFrame::Sorted() const { return listBox_->Sorted(); }

bool TksSkinListFrame::MultiSelect() const { return listBox_->MultiSelect(); }
void TksSkinListFrame::SetMultiSelect(bool value) { listBox_->SetMultiSelect(value); }
bool TksSkinListFrame::ExtandedSelect() const { return listBox_->ExtendedSelect(); }
void TksSkinListFrame::SetExtandedSelect(bool value) { listBox_->SetExtendedSelect(value); }

void TksSkinListFrame::SetSorted(bool value) {
  if (value == listBox_->Sorted()) return;
  if (vScrollBar_ != nullptr) HideVScrollBar();
  listBox_->SetSorted(value);
  UpdateScrollBars();
}

bool TksSkinListFrame::AutoComplete() const { return listBox_->AutoComplete; }
void TksSkinListFrame::SetAutoComplete(bool value) { listBox_->AutoComplete = value; }

void TksSkinListFrame::SetColumns(int value) {
  if (value < 0 || value == columns_) return;
  columns_ = value;
  // The main bar turns from vertical to horizontal or back.
  if (vScrollBar_ != nullptr) HideVScrollBar();
  if (columns_ > 0 && hScrollBar_ != nullptr) HideHScrollBar();
  listBox_->SetColumns(value);
  CalcRects();
  UpdateScrollBars();
}

TFont* TksSkinListFrame::ListBoxFont() { return listBox_->Font(); }
void TksSkinListFrame::SetListBoxFont(TFont* value) { listBox_->Font()->Assign(value); }
int TksSkinListFrame::ListBoxTabOrder() const { return listBox_->TabOrder(); }
void TksSkinListFrame::SetListBoxTabOrder(int value) { listBox_->SetTabOrder(value); }
bool TksSkinListFrame::ListBoxTabStop() const { return listBox_->TabStop(); }
void TksSkinListFrame::SetListBoxTabStop(bool value) { listBox_->SetTabStop(value); }
TPopupMenu* TksSkinListFrame::ListBoxPopupMenu() const { return listBox_->PopupMenu(); }
void TksSkinListFrame::SetListBoxPopupMenu(TPopupMenu* value) { listBox_->SetPopupMenu(value); }

void TksSkinListFrame::SetDefaultItemHeight(int value) {
  if (value < 1) return;
  defaultItemHeight_ = value;
  if (!Skinned()) listBox_->SetItemHeight(value);
}

int TksSkinListFrame::ItemHeightForLook() {
  if (!Skinned()) return defaultItemHeight_;
  if (UseSkinItemHeight && !IsNullRect(values_.ItemRect)) return RectHeight(values_.ItemRect);
  return std::max(1, listBox_->ItemHeight());
}

void TksSkinListFrame::SetRowCount(int value) {
  rowCount_ = std::max(0, value);
  if (rowCount_ != 0) SetHeight(CalcHeight(rowCount_));
}

void TksSkinListFrame::SetImages(TCustomImageList* value) {
  if (images_ != nullptr) RemoveFreeNotification(images_);
  images_ = value;
  if (images_ != nullptr) FreeNotification(images_);
  listBox_->Invalidate();
}

void TksSkinListFrame::SetImageIndex(int value) {
  imageIndex_ = value;
  listBox_->Invalidate();
}

void TksSkinListFrame::SetCaptionMode(bool value) {
  captionMode_ = value;
  if (Skinned()) return;
  CalcRects();
  Invalidate();
}

void TksSkinListFrame::SetDefaultCaptionHeight(int value) {
  defaultCaptionHeight_ = value;
  if (Skinned() || !captionMode_) return;
  CalcRects();
  Invalidate();
}

void TksSkinListFrame::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  if (captionMode_) Invalidate();
}

void TksSkinListFrame::SetGlyph(TBitmap* value) {
  glyph_.Assign(value);
  Invalidate();
}

void TksSkinListFrame::SetNumGlyphs(int value) {
  numGlyphs_ = value;
  Invalidate();
}

void TksSkinListFrame::SetSpacing(int value) {
  spacing_ = value;
  Invalidate();
}

void TksSkinListFrame::SetHorizontalExtentValue(bool value) {
  horizontalExtent_ = value;
  UpdateScrollBars();
}

void TksSkinListFrame::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == images_) SetImages(nullptr);
  if (AComponent == vScrollBar_) vScrollBar_ = nullptr;
  if (AComponent == hScrollBar_) hScrollBar_ = nullptr;
  if (AComponent == listBox_) listBox_ = nullptr;
}

void TksSkinListFrame::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  if (captionMode_) Invalidate();
}

void TksSkinListFrame::DefaultFontChange() {
  if (!Skinned()) Font()->Assign(DefaultFont());
}

// --- skin ------------------------------------------------------------------------

void TksSkinListFrame::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  if (controlIndex_ == -1) return;
  if (const auto* d = SkinDescription<TksDataSkinListBox>(); d != nullptr) values_.Take(*d);
}

void TksSkinListFrame::ChangeSkinData() {
  TksSkinCustomControl::ChangeSkinData();
  if (listBox_ == nullptr) return;
  inChangeSkinData_ = true;
  if (Skinned()) {
    if (UseSkinItemHeight) listBox_->SetItemHeight(ItemHeightForLook());
  } else {
    listBox_->SetItemHeight(defaultItemHeight_);
    Font()->Assign(DefaultFont());
  }
  if (vScrollBar_ != nullptr) {
    vScrollBar_->SetSkinDataName(!Skinned() ? "" : columns_ > 0 ? values_.HScrollBarName : values_.VScrollBarName);
    vScrollBar_->SetSkinData(SkinData());
  }
  if (hScrollBar_ != nullptr) SkinHScrollBar(vScrollBar_ != nullptr);
  if (rowCount_ != 0) SetHeight(CalcHeight(rowCount_));
  CalcRects();
  inChangeSkinData_ = false;
  UpdateScrollBars();
  listBox_->Invalidate();
}

void TksSkinListFrame::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TksSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!Skinned()) Invalidate();
}

void TksSkinListFrame::WMSize(TMessage& Message) {
  TksSkinCustomControl::WMSize(Message);
  CalcRects();
  UpdateScrollBars();
  if (vScrollBar_ != nullptr) vScrollBar_->Invalidate();
}

int TksSkinListFrame::CalcHeight(int rows) {
  GetSkinData();
  int h = Skinned() ? RectHeight(SkinRect) - RectHeight(SkinClientRect) + ItemHeightForLook() * rows
                    : ItemHeightForLook() * rows + 4 + (captionMode_ ? defaultCaptionHeight_ : 0);
  if (hScrollBar_ != nullptr) h += hScrollBar_->Height();
  return h;
}

// --- layout and bars -------------------------------------------------------------

void TksSkinListFrame::CalcRects() {
  if (listBox_ == nullptr) return;
  const bool skinned = Skinned();
  const int w = Width(), h = Height();
  int capH = 1;
  if (skinned) {
    clientArea_ = TRect{SkinClientRect.Left, SkinClientRect.Top,
                        SkinClientRect.Right + w - RectWidth(SkinRect), SkinClientRect.Bottom + h - RectHeight(SkinRect)};
  } else {
    capH = captionMode_ ? defaultCaptionHeight_ : 1;
  }
  const TRect& ca = clientArea_;
  int sbh = 0;
  if (columns_ == 0 && hScrollBar_ != nullptr && hScrollBar_->Visible()) {
    if (skinned) {
      const int bh = BarThickness(hScrollBar_);
      hScrollBar_->SetBounds(ca.Left, ca.Bottom - bh, RectWidth(ca), bh);
      sbh = hScrollBar_->Height();
    } else {
      hScrollBar_->SetBounds(1, h - 20, w - 2, kDefaultBarSize);
      sbh = hScrollBar_->Height() - 1;
    }
  }
  if (vScrollBar_ != nullptr && vScrollBar_->Visible()) {
    TksSkinScrollBar* v = vScrollBar_;
    if (!skinned && columns_ > 0) {
      v->SetBounds(1, h - 20, w - 2, kDefaultBarSize);
      listRect_ = TRect{2, capH + 1, w - 2, v->Top()};
    } else if (!skinned) {
      v->SetBounds(w - 20, capH, kDefaultBarSize, h - 1 - capH - sbh);
      listRect_ = TRect{2, capH + 1, v->Left(), h - 2 - sbh};
    } else if (columns_ > 0) {
      const int bh = BarThickness(v);
      v->SetBounds(ca.Left, ca.Bottom - bh, RectWidth(ca), bh);
      listRect_ = TRect{ca.Left, ca.Top, ca.Right, ca.Bottom - v->Height()};
    } else {
      const int bw = BarThickness(v);
      v->SetBounds(ca.Right - bw, ca.Top, bw, RectHeight(ca) - sbh);
      listRect_ = TRect{ca.Left, ca.Top, ca.Right - v->Width(), ca.Bottom - sbh};
    }
  } else if (skinned) {
    listRect_ = TRect{ca.Left, ca.Top, ca.Right, ca.Bottom - sbh};
  } else {
    listRect_ = TRect{2, capH + 1, w - 2, h - 2 - sbh};
  }
  listBox_->SetBounds(listRect_.Left, listRect_.Top, std::max(0, RectWidth(listRect_)),
                      std::max(0, RectHeight(listRect_)));
  CalcCaptionButtons();
}

TksSkinScrollBar* TksSkinListFrame::NewBar(TScrollBarKind kind, void (TksSkinListFrame::*onChange)(TObject*)) {
  auto* bar = new TksSkinScrollBar(this);
  bar->SetKind(kind);
  bar->SetBounds(0, 0, 20, 100);
  bar->SetRange(0, bar->Max(), 0, 0);
  bar->OnChange = [this, onChange](TObject* sender) { (this->*onChange)(sender); };
  return bar;
}

void TksSkinListFrame::SkinHScrollBar(bool both) {
  hScrollBar_->SetBoth(both);  // swaps the section names itself; set them after
  const String name = !Skinned() ? "" : both ? values_.BothHScrollBarName : values_.HScrollBarName;
  hScrollBar_->BothSkinDataName = name;
  hScrollBar_->SetSkinDataName(name);
  if (!Skinned() && both) hScrollBar_->SetBothMarkerWidth(kDefaultBarSize);
  hScrollBar_->SetSkinData(SkinData());
}

void TksSkinListFrame::ShowVScrollBar() {
  vScrollBar_ = NewBar(columns_ < 1 ? sbVertical : sbHorizontal, &TksSkinListFrame::SBVChange);
  vScrollBar_->SetSkinDataName(!Skinned() ? "" : columns_ < 1 ? values_.VScrollBarName : values_.HScrollBarName);
  vScrollBar_->SetSkinData(SkinData());
  // The horizontal bar leaves the corner square to the new one.
  if (hScrollBar_ != nullptr) SkinHScrollBar(true);
  vScrollBar_->SetParent(this);
  CalcRects();
  vScrollBar_->SetVisible(true);
  Invalidate();
}

void TksSkinListFrame::ShowHScrollBar() {
  hScrollBar_ = NewBar(sbHorizontal, &TksSkinListFrame::SBHChange);
  SkinHScrollBar(vScrollBar_ != nullptr);
  hScrollBar_->SetParent(this);
  hScrollBar_->SetVisible(true);
  CalcRects();
  Invalidate();
}

void TksSkinListFrame::HideVScrollBar() {
  TksSkinScrollBar* bar = vScrollBar_;
  vScrollBar_ = nullptr;
  delete bar;
  // Alone again: no corner square beside a bar that is gone.
  if (hScrollBar_ != nullptr) SkinHScrollBar(false);
  CalcRects();
  Invalidate();
}

void TksSkinListFrame::HideHScrollBar() {
  if (listBox_ != nullptr) listBox_->HorizontalOffset = 0;
  TksSkinScrollBar* bar = hScrollBar_;
  hScrollBar_ = nullptr;
  delete bar;
  CalcRects();
  if (listBox_ != nullptr) listBox_->Invalidate();
}

void TksSkinListFrame::SBVChange(TObject*) {
  if (listBox_ == nullptr || vScrollBar_ == nullptr) return;
  SendMessageA(listBox_->Handle(), columns_ < 1 ? WM_VSCROLL : WM_HSCROLL,
               MAKEWPARAM(SB_THUMBPOSITION, vScrollBar_->Position()), 0);
}

void TksSkinListFrame::SBHChange(TObject*) {
  if (listBox_ == nullptr || hScrollBar_ == nullptr) return;
  listBox_->HorizontalOffset = hScrollBar_->Position();
  listBox_->Invalidate();
}

int TksSkinListFrame::GetItemWidth(int Index, TCanvas* Canvas) {
  return Canvas->TextWidth(listBox_->Items()->Strings(Index));
}

void TksSkinListFrame::UpdateScrollBars() {
  if (listBox_ == nullptr || !listBox_->HandleAllocated() || Destroying()) return;
  const HWND list = listBox_->Handle();
  const int count = listBox_->Items()->Count();
  const int itemHeight = std::max(1, listBox_->ItemHeight());
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_POS;
  if (columns_ > 0) {
    if (!GetScrollInfo(list, SB_HORZ, &si)) si = SCROLLINFO{};
    const bool scrolls = si.nMax > si.nMin && si.nPos <= si.nMax && listBox_->Columns() <= si.nMax &&
                         (listBox_->Height() / itemHeight) * columns_ < count;
    if (scrolls) {
      if (vScrollBar_ == nullptr) ShowVScrollBar();
      vScrollBar_->SetRange(si.nMin, si.nMax, columns_, si.nPos);
    } else if (vScrollBar_ != nullptr) {
      HideVScrollBar();
    }
    return;
  }

  if (horizontalExtent_ && !inChangeSkinData_) {
    TCanvas* c = listBox_->Canvas();
    GetSkinData();
    if (Skinned())
      AssignSkinFont(c->Font(), true, values_.FontName, values_.FontHeight, values_.FontStyle, DefaultFont(), SkinData());
    else
      c->Font()->Assign(listBox_->Font());
    int maxW = 0;
    for (int i = 0; i < count; ++i) maxW = std::max(maxW, GetItemWidth(i, c));
    int w = Skinned() ? listBox_->Width() - (RectWidth(values_.ItemRect) - RectWidth(values_.ItemTextRect))
                      : listBox_->Width() - 4;
    if (images_ != nullptr) w -= images_->Width() + 4;
    if (w < maxW) {
      if (hScrollBar_ == nullptr) ShowHScrollBar();
      hScrollBar_->SetRange(0, maxW, std::max(0, w), hScrollBar_->Position());
      const int step = std::max(1, c->TextWidth("0"));
      hScrollBar_->SetSmallChange(step);
      hScrollBar_->SetLargeChange(step);
      // The shift always follows the bar, which the range may have pulled back.
      if (listBox_->HorizontalOffset != hScrollBar_->Position()) {
        listBox_->HorizontalOffset = std::max(0, hScrollBar_->Position());
        listBox_->Invalidate();
      }
    } else if (hScrollBar_ != nullptr) {
      HideHScrollBar();
    }
  } else if (hScrollBar_ != nullptr) {
    HideHScrollBar();
  }

  if (rowCount_ > 0 && rowCount_ == count) {
    if (vScrollBar_ != nullptr) HideVScrollBar();
    return;
  }
  if (!GetScrollInfo(list, SB_VERT, &si)) si = SCROLLINFO{};
  const int rows = listBox_->Height() / itemHeight;
  if (si.nMax > si.nMin && si.nPos <= si.nMax && rows < count) {
    if (vScrollBar_ == nullptr) ShowVScrollBar();
    vScrollBar_->SetRange(si.nMin, si.nMax, rows, si.nPos);
    vScrollBar_->SetLargeChange(std::max(1, rows));
  } else if (vScrollBar_ != nullptr) {
    HideVScrollBar();
  }
}

// --- item painting ---------------------------------------------------------------

void TksSkinListFrame::PaintBackground(TCanvas* canvas, int W, int H, int X, int Y) {
  const int tw = RectWidth(SkinClientRect), th = RectHeight(SkinClientRect);
  if (Picture == nullptr || tw < 1 || th < 1 || W < 1 || H < 1) return;
  const TRect source = MovedRect(SkinClientRect, SkinRect.Left, SkinRect.Top);
  TBitmap b(W, H);
  for (int y = 0; y < H; y += th) {
    for (int x = 0; x < W; x += tw) {
      const int cw = std::min(tw, W - x), ch = std::min(th, H - y);
      b.Canvas()->CopyRect(TRect{x, y, x + cw, y + ch}, Picture->Canvas(),
                           TRect{source.Left, source.Top, source.Left + cw, source.Top + ch});
    }
  }
  canvas->Draw(X, Y, &b);
}

TRect TksSkinListFrame::SkinCheckRect(const TRect& R, int itemHeight) {
  if (!Skinned() || IsNullRect(values_.ItemCheckRect) || IsNullRect(values_.ItemRect)) return TRect{};
  TRect c = values_.ItemCheckRect;
  const int d = RectWidth(R) - RectWidth(values_.ItemRect);
  if (values_.ItemTextRect.Right <= c.Left) c = MovedRect(c, d, 0);
  if (!UseSkinItemHeight) c.Bottom += itemHeight - RectHeight(values_.ItemRect);
  return MovedRect(c, R.Left, R.Top);
}

void TksSkinListFrame::DrawItemFace(TBitmap& face, const TRect& source, bool focusFrame, int w) {
  CreateHSkinImage(values_.ItemLeftOffset, values_.ItemRightOffset, &face, Picture, source, w,
                   RectHeight(values_.ItemRect));
  if (focusFrame) face.Canvas()->DrawFocusRect(TRect{0, 0, face.Width(), face.Height()});
}

void TksSkinListFrame::DrawItem(TCanvas* target, int Index, const TRect& R, TOwnerDrawState State, int checkState,
                                int textShift) {
  if (listBox_ == nullptr || Index < 0 || Index >= listBox_->Items()->Count()) return;
  const int W = RectWidth(R), H = RectHeight(R);
  if (W < 1 || H < 1) return;
  const bool selected = (State & odSelected) != 0, focused = (State & odFocused) != 0;
  TBitmap b(W, H);
  TCanvas* c = b.Canvas();

  // A skin without item faces falls back to the plain look for its items.
  if (!SkinnedItems()) {
    AssignSkinFont(c->Font(), true, Font()->Name(), Font()->Height(), Font()->Style(), DefaultFont(), SkinData());
    const int left = checkState >= 0 ? kDefaultCheckWidth : 0;
    const TRect area{left, 0, W, H};
    FillRect(c, TRect{0, 0, W, H}, clWindow);
    FillRect(c, area, selected ? clHighlight : clWindow);
    c->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    if (checkState >= 0) {
      c->Brush()->SetColor(clBtnShadow);
      c->FrameRect(TRect{3, H / 2 - 6, 16, H / 2 + 7});
      if (checkState == 1) DrawCheckMarkImage(c, 6, H / 2 - 4, clWindowText);
    }
    DrawItemContent(c, Index, W, H, TRect{area.Left + 2, 0, W - 2, H}, State, textShift);
    if (focused) c->DrawFocusRect(area);
    target->Draw(R.Left, R.Top, &b);
    return;
  }

  const int skinH = RectHeight(values_.ItemRect);
  const int d = W - RectWidth(values_.ItemRect);
  TRect tr = values_.ItemTextRect;
  tr.Right += d;
  TColor color = values_.FontColor;
  if (UseSkinItemHeight) {
    b.SetSize(W, skinH);
    const TRect source = focused && selected ? values_.FocusItemRect
                         : selected          ? values_.ActiveItemRect
                                             : values_.ItemRect;
    DrawItemFace(b, source, focused && !selected, W);
    if (focused && selected) color = values_.FocusFontColor;
    else if (selected) color = values_.ActiveFontColor;
  } else {
    TBitmap face;
    const TRect source = focused ? values_.FocusItemRect : selected ? values_.ActiveItemRect : values_.ItemRect;
    DrawItemFace(face, source, false, W);
    c->StretchDraw(TRect{0, 0, W, H}, &face);
    tr.Bottom += H - skinH;
    color = focused ? values_.FocusFontColor : selected ? values_.ActiveFontColor : values_.FontColor;
  }
  if (checkState >= 0) {
    const TRect cr = SkinCheckRect(TRect{0, 0, W, H}, H);
    const TRect& image = checkState == 1 ? values_.CheckImageRect : values_.UncheckImageRect;
    const int iw = RectWidth(values_.CheckImageRect), ih = RectHeight(values_.CheckImageRect);
    if (!IsNullRect(cr) && !IsNullRect(image) && iw > 0 && ih > 0) {
      TBitmap part(iw, ih);
      part.Canvas()->CopyRect(TRect{0, 0, iw, ih}, Picture->Canvas(), image);
      part.SetTransparent(true);
      c->Draw(cr.Left + RectWidth(cr) / 2 - iw / 2, cr.Top + RectHeight(cr) / 2 - ih / 2, &part);
    }
  }
  AssignSkinFont(c->Font(), UseSkinFont, values_.FontName, values_.FontHeight, values_.FontStyle, DefaultFont(),
                 SkinData());
  c->Font()->SetColor(color);
  DrawItemContent(c, Index, W, b.Height(), tr, State, textShift);
  target->Draw(R.Left, R.Top, &b);
}

void TksSkinListFrame::DrawItemContent(TCanvas* c, int Index, int W, int H, TRect TR, TOwnerDrawState State,
                                       int textShift) {
  if (OnDrawItem.Assigned()) {
    OnDrawItem(c, Index, W, H, TR, State);
    return;
  }
  int offset = 0;
  if (images_ != nullptr) {
    const int image = imageIndex_ > -1 ? imageIndex_ : Index;
    const bool drawn = image < images_->Count();
    if (drawn)
      images_->Draw(c, TR.Left - textShift, TR.Top + RectHeight(TR) / 2 - images_->Height() / 2, image, true);
    if (drawn || TextAfterMissingImage()) offset = images_->Width() + 2;
  }
  c->Brush()->SetStyle(bsClear);
  DrawItemTextOffset(c, listBox_->Items()->Strings(Index), TR, offset - textShift);
}

// --- frame and caption strip ---------------------------------------------------------

TRect TksSkinListFrame::FaceButtonRect(const TRect& r) const {
  if (IsNullRect(r)) return TRect{};
  const int dw = Width() - RectWidth(SkinRect), dh = Height() - RectHeight(SkinRect);
  if (r.Top > LTPoint.Y) return MovedRect(r, RBPoint.X < r.Left ? dw : 0, dh);
  return MovedRect(r, RTPoint.X < r.Left ? dw : 0, 0);
}

void TksSkinListFrame::CalcCaptionButtons() {
  if (Skinned()) {
    captionArea_ = values_.CaptionRect;
    if (captionArea_.Right >= RTPoint.X) captionArea_.Right += Width() - RectWidth(SkinRect);
    for (int i = 0; i < 3; ++i) buttons_[i].R = FaceButtonRect(values_.ButtonRect[i]);
    return;
  }
  const int bs = std::min(17, defaultCaptionHeight_ - 3);
  int right = Width() - 2;
  for (auto& b : buttons_) {
    b.R = TRect{right - bs, 2, right, bs + 1};
    right -= bs;
  }
  captionArea_ = TRect{3, 2, Width() - 3 * bs - 3, defaultCaptionHeight_ - 2};
}

void TksSkinListFrame::DrawCaption(TCanvas* c, const TRect& area, bool skinned) {
  if (skinned) {
    AssignSkinFont(c->Font(), true, values_.CaptionFontName, values_.CaptionFontHeight, values_.CaptionFontStyle,
                   &defaultCaptionFont_, SkinData());
    c->Font()->SetColor(values_.CaptionFontColor);
  } else {
    AssignSkinFont(c->Font(), true, defaultCaptionFont_.Name(), defaultCaptionFont_.Height(),
                   defaultCaptionFont_.Style(), &defaultCaptionFont_, SkinData());
    c->Font()->SetColor(defaultCaptionFont_.Color());
  }
  const String caption = Caption();
  const int glyphs = std::max(1, numGlyphs_);
  const int glyphW = glyph_.Empty() ? 0 : glyph_.Width() / glyphs;
  const int gw = c->TextWidth(caption) + (glyph_.Empty() ? 0 : glyphW + spacing_);
  const int th = c->TextHeight(caption);
  const int margin = skinned ? 2 : 0;
  int tx = area.Left + margin;
  if (alignment_ == taRightJustify) tx = area.Right - gw - margin;
  if (alignment_ == taCenter) tx = area.Left + margin + RectWidth(area) / 2 - gw / 2;
  const int ty = skinned ? area.Top + RectHeight(area) / 2 - th / 2 : (defaultCaptionHeight_ - 2) / 2 - th / 2;
  c->Brush()->SetStyle(bsClear);
  if (!glyph_.Empty()) {
    const int gy = area.Top + RectHeight(area) / 2 - glyph_.Height() / 2 - (skinned ? 0 : 1);
    DrawGlyph(c, tx, gy, !Enabled() && glyphs == 2 ? 2 : 1, glyphs, &glyph_);
    tx += glyphW + spacing_;
  }
  c->TextRect(area, tx, ty, caption);
}

void TksSkinListFrame::DrawButton(TCanvas* c, int i) {
  const TCaptionButton& b = buttons_[i];
  if (IsNullRect(b.R)) return;
  if (Skinned()) {
    if (Picture == nullptr) return;
    TRect source{};
    if (b.Down && b.MouseIn) source = values_.DownButtonRect[i];
    else if (b.MouseIn) source = values_.ActiveButtonRect[i];
    if (IsNullRect(source)) source = MovedRect(values_.ButtonRect[i], SkinRect.Left, SkinRect.Top);
    c->CopyRect(b.R, Picture->Canvas(), source);
    return;
  }
  if (b.MouseIn) {
    DrawPlainButtonFace(c, b.R, b.Down, true);
  } else {
    FillRect(c, b.R, clBtnFace);
  }
  if (i == kCheckButton)
    DrawCheckMarkImage(c, b.R.Left + 4, b.R.Top + 4, clBlack);
  else
    DrawArrowImage(c, b.R, clBlack, i == kUpButton ? 3 : 4);
}

void TksSkinListFrame::CreateControlSkinImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlSkinImage(b);
  if (!captionMode_) return;
  CalcCaptionButtons();
  if (!IsNullRect(values_.CaptionRect)) DrawCaption(b->Canvas(), captionArea_, true);
  for (int i = 0; i < 3; ++i) DrawButton(b->Canvas(), i);
}

void TksSkinListFrame::CreateControlDefaultImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlDefaultImage(b);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(TRect{0, 0, Width(), Height()});
  if (!captionMode_) return;
  CalcCaptionButtons();
  DrawCaption(c, captionArea_, false);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(1, defaultCaptionHeight_ - 1);
  c->LineTo(Width() - 1, defaultCaptionHeight_ - 1);
  for (int i = 0; i < 3; ++i) DrawButton(c, i);
}

// --- caption buttons ---------------------------------------------------------------

TNotifyEvent& TksSkinListFrame::ButtonEvent(int i) {
  return i == kUpButton ? OnUpButtonClick : i == kDownButton ? OnDownButtonClick : OnCheckButtonClick;
}

void TksSkinListFrame::RedrawButton(int) { Invalidate(); }

void TksSkinListFrame::TestActive(int X, int Y) {
  if (!captionMode_) return;
  GetSkinData();
  if (Skinned() && IsNullRect(values_.ButtonRect[kUpButton]) && IsNullRect(values_.ButtonRect[kDownButton])) return;
  CalcCaptionButtons();
  oldActiveButton_ = activeButton_;
  activeButton_ = -1;
  for (int i = 0; i < 3; ++i) {
    const TRect& r = buttons_[i].R;
    if (r.Contains(TPoint{X, Y})) {
      activeButton_ = i;
      break;
    }
  }
  if (captureButton_ != -1 && activeButton_ != captureButton_) activeButton_ = -1;
  if (activeButton_ == oldActiveButton_) return;
  if (oldActiveButton_ != -1) ButtonLeave(oldActiveButton_);
  if (activeButton_ != -1) ButtonEnter(activeButton_);
}

void TksSkinListFrame::ButtonDown(int i) {
  buttons_[i].MouseIn = buttons_[i].Down = true;
  RedrawButton(i);
  if (ButtonEvent(i).Assigned()) return;
  timerMode_ = i == kUpButton ? 1 : i == kDownButton ? 2 : 0;
  if (timerMode_ == 0) return;
  waitMode_ = true;
  StartTimer(500);
}

void TksSkinListFrame::ButtonEnter(int i) {
  buttons_[i].MouseIn = true;
  RedrawButton(i);
  if (timerMode_ != 0 && buttons_[i].Down) StartTimer(50);
}

void TksSkinListFrame::ButtonLeave(int i) {
  buttons_[i].MouseIn = false;
  RedrawButton(i);
  if (timerMode_ != 0 && buttons_[i].Down) PauseTimer();
}

void TksSkinListFrame::ButtonUp(int i) {
  TCaptionButton& b = buttons_[i];
  b.Down = false;
  if (i != activeButton_) b.MouseIn = false;
  RedrawButton(i);
  if (b.MouseIn && ButtonEvent(i).Assigned()) {
    ButtonEvent(i)(this);
    return;
  }
  if (i == kUpButton) StepUp();
  if (i == kDownButton) StepDown();
  if (i == kCheckButton) CheckButtonAction();
  StopTimer();
}

void TksSkinListFrame::StepUp() {
  const int index = ItemIndex();
  if (index > 0) SetItemIndex(index - 1);
}

void TksSkinListFrame::StepDown() {
  const int index = ItemIndex();
  if (index + 1 < Items()->Count()) SetItemIndex(index + 1);
}

void TksSkinListFrame::CheckButtonAction() { ListBoxClick(); }

void TksSkinListFrame::StartTimer(UINT ms) {
  if (!HandleAllocated()) return;
  TimerSeam().KillTimer(Handle(), kRepeatTimerId);
  timerRunning_ = TimerSeam().SetTimer(Handle(), kRepeatTimerId, ms, nullptr) != 0;
}

void TksSkinListFrame::PauseTimer() {
  if (!timerRunning_) return;
  timerRunning_ = false;
  if (HandleAllocated()) TimerSeam().KillTimer(Handle(), kRepeatTimerId);
}

void TksSkinListFrame::StopTimer() {
  PauseTimer();
  timerMode_ = 0;
  waitMode_ = false;
}

void TksSkinListFrame::WMTimer(TMessage& Message) {
  if (Message.WParam != kRepeatTimerId || !timerRunning_) return;
  if (!Enabled()) {
    StopTimer();
    return;
  }
  if (waitMode_) {
    waitMode_ = false;
    StartTimer(100);
    return;
  }
  if (timerMode_ == 1) StepUp();
  if (timerMode_ == 2) StepDown();
}

void TksSkinListFrame::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (captionMode_) {
    TestActive(X, Y);
    if (activeButton_ != -1) {
      captureButton_ = activeButton_;
      ButtonDown(captureButton_);
    }
  }
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TksSkinListFrame::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (captureButton_ != -1) {
    const int i = captureButton_;
    captureButton_ = -1;
    ButtonUp(i);
  }
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinListFrame::MouseMove(TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseMove(Shift, X, Y);
  TestActive(X, Y);
}

void TksSkinListFrame::CMMouseEnter(TMessage& Message) {
  TksSkinCustomControl::CMMouseEnter(Message);
  TestActive(-1, -1);
}

void TksSkinListFrame::CMMouseLeave(TMessage& Message) {
  TksSkinCustomControl::CMMouseLeave(Message);
  if (activeButton_ != -1) ButtonLeave(activeButton_);
  activeButton_ = -1;
  bool changed = false;
  for (auto& b : buttons_) {
    changed = changed || b.MouseIn;
    b.MouseIn = false;
  }
  if (changed) Invalidate();
}

void TksSkinListFrame::CMEnabledChanged(TMessage& Message) {
  TksSkinCustomControl::CMEnabledChanged(Message);
  if (Enabled()) return;
  StopTimer();
  captureButton_ = -1;
  for (auto& b : buttons_) b.Down = b.MouseIn = false;
  Invalidate();
}

void TksSkinListFrame::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kRepeatTimerId) {
        WMTimer(Message);
        return;
      }
      break;
    case WM_DESTROY: StopTimer(); break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      // Our own release clears the capture holder first; anything else took the mouse away.
      if (Message.Msg == WM_CANCELMODE ||
          (TControl::CaptureControl() == this && reinterpret_cast<HWND>(Message.LParam) != Handle())) {
        StopTimer();
        if (captureButton_ != -1) buttons_[captureButton_].Down = false;
        captureButton_ = -1;
      }
      break;
    default: break;
  }
  TksSkinCustomControl::WndProc(Message);
}

// --- events of the inner list ----------------------------------------------------------

void TksSkinListFrame::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  OnListBoxMouseDown(this, Button, Shift, X, Y);
}
void TksSkinListFrame::ListBoxMouseMove(TShiftState Shift, int X, int Y) { OnListBoxMouseMove(this, Shift, X, Y); }
void TksSkinListFrame::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  OnListBoxMouseUp(this, Button, Shift, X, Y);
}
void TksSkinListFrame::ListBoxClick() { OnListBoxClick(this); }
void TksSkinListFrame::ListBoxDblClick() { OnListBoxDblClick(this); }
void TksSkinListFrame::ListBoxKeyDown(WORD& Key, TShiftState Shift) { OnListBoxKeyDown(this, Key, Shift); }
void TksSkinListFrame::ListBoxKeyUp(WORD& Key, TShiftState Shift) { OnListBoxKeyUp(this, Key, Shift); }
void TksSkinListFrame::ListBoxKeyPress(char& Key) { OnListBoxKeyPress(this, Key); }
