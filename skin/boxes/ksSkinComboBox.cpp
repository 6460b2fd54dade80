#include "skin/boxes/ksSkinComboBox.h"

#include <algorithm>

#include "framework/gui/imagelist.h"
#include "skin/boxes/ksListBox.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinDataResStr.h"

TksSkinCustomComboBox::TksSkinCustomComboBox(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csOpaque | csDoubleClicks | csReplicatable);
  SetTabStop(true);
  Font()->SetName("Arial");
  Font()->SetHeight(14);
  Font()->SetColor(clWindowText);
  Font()->SetStyle(0);
  SetBounds(Left(), Top(), 120, 20);
  SetSkinDataName("combobox");

  listBox_ = new TksPopupListBox(this);
  listBox_->SetParent(this);
  listBox_->AlphaSource = [this] { return TksDropDownAlpha{AlphaBlend, AlphaBlendAnimation, AlphaBlendValue}; };
  listBox_->ListBox()->SetTabStop(false);
  listBox_->OnListBoxMouseDown = Bind<&TksSkinCustomComboBox::ListBoxMouseDown>(this);
  listBox_->OnListBoxMouseMove = Bind<&TksSkinCustomComboBox::ListBoxMouseMove>(this);
  listBox_->OnListBoxMouseUp = Bind<&TksSkinCustomComboBox::ListBoxMouseUp>(this);
  savedListProc_ = listBox_->ListBox()->WindowProc();
  listBox_->ListBox()->SetWindowProc(Bind<&TksSkinCustomComboBox::ListBoxWndProc>(this));
  listBox_->OnCheckButtonClick = Bind<&TksSkinCustomComboBox::CheckButtonClick>(this);
  CalcRects();
}

TksSkinCustomComboBox::~TksSkinCustomComboBox() { FreeOwnControls(); }

void TksSkinCustomComboBox::BeforeDestruction() {
  FreeOwnControls();
  TksSkinCustomControl::BeforeDestruction();
}

// The edit's and the inner list's window procedures point here: both go first,
// whichever way the combo is freed.
void TksSkinCustomComboBox::FreeOwnControls() {
  FreeEditControl();
  if (listBox_ == nullptr) return;
  listBox_->ListBox()->SetWindowProc(savedListProc_);
  TksPopupListBox* list = listBox_;
  listBox_ = nullptr;
  ::Free(list);
}

// --- properties read from and written to the drop-down ---------------------------------

TStrings* TksSkinCustomComboBox::Items() { return listBox_->Items(); }
void TksSkinCustomComboBox::SetItems(TStrings* value) { listBox_->SetItems(value); }
int TksSkinCustomComboBox::ItemIndex() { return listBox_->ItemIndex(); }
bool TksSkinCustomComboBox::Sorted() const { return listBox_->Sorted(); }
void TksSkinCustomComboBox::SetSorted(bool value) { listBox_->SetSorted(value); }
bool TksSkinCustomComboBox::HorizontalExtent() const { return listBox_->HorizontalExtent(); }
void TksSkinCustomComboBox::SetHorizontalExtent(bool value) { listBox_->SetHorizontalExtent(value); }
TCustomImageList* TksSkinCustomComboBox::Images() const { return listBox_ ? listBox_->Images() : nullptr; }
int TksSkinCustomComboBox::ImageIndex() const { return listBox_->ImageIndex(); }
String TksSkinCustomComboBox::ListBoxCaption() { return listBox_->Caption(); }
void TksSkinCustomComboBox::SetListBoxCaption(const String& value) { listBox_->SetCaption(value); }
bool TksSkinCustomComboBox::ListBoxCaptionMode() const { return listBox_->CaptionMode(); }
void TksSkinCustomComboBox::SetListBoxCaptionMode(bool value) { listBox_->SetCaptionMode(value); }
TAlignment TksSkinCustomComboBox::ListBoxCaptionAlignment() const { return listBox_->Alignment(); }
void TksSkinCustomComboBox::SetListBoxCaptionAlignment(TAlignment value) { listBox_->SetAlignment(value); }
TFont* TksSkinCustomComboBox::ListBoxDefaultFont() { return listBox_->DefaultFont(); }
void TksSkinCustomComboBox::SetListBoxDefaultFont(TFont* value) { listBox_->SetDefaultFont(value); }
TFont* TksSkinCustomComboBox::ListBoxDefaultCaptionFont() { return listBox_->DefaultCaptionFont(); }
void TksSkinCustomComboBox::SetListBoxDefaultCaptionFont(TFont* value) { listBox_->SetDefaultCaptionFont(value); }
int TksSkinCustomComboBox::ListBoxDefaultItemHeight() const { return listBox_->DefaultItemHeight(); }
void TksSkinCustomComboBox::SetListBoxDefaultItemHeight(int value) { listBox_->SetDefaultItemHeight(value); }
bool TksSkinCustomComboBox::ListBoxUseSkinFont() const { return listBox_->UseSkinFont; }
void TksSkinCustomComboBox::SetListBoxUseSkinFont(bool value) { listBox_->UseSkinFont = value; }
bool TksSkinCustomComboBox::ListBoxUseSkinItemHeight() const { return listBox_->UseSkinItemHeight; }
void TksSkinCustomComboBox::SetListBoxUseSkinItemHeight(bool value) { listBox_->UseSkinItemHeight = value; }

void TksSkinCustomComboBox::SetImages(TCustomImageList* value) {
  listBox_->SetImages(value);
  if (value != nullptr) value->FreeNotification(this);
  Invalidate();
}

void TksSkinCustomComboBox::SetImageIndex(int value) {
  listBox_->SetImageIndex(value);
  Invalidate();
}

void TksSkinCustomComboBox::SetOnListBoxDrawItem(TksDrawSkinItemEvent value) {
  onListBoxDrawItem_ = value;
  listBox_->OnDrawItem = std::move(value);
}

void TksSkinCustomComboBox::SetDropDownCount(int value) {
  if (value >= 1) dropDownCount_ = value;
}

void TksSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && listBox_ != nullptr && AComponent == listBox_->Images()) listBox_->SetImages(nullptr);
}

// --- selection, text and the drop-down cycle -------------------------------------------

void TksSkinCustomComboBox::SetItemIndex(int value) {
  listBox_->SetItemIndex(value);
  const int index = listBox_->ItemIndex();
  if (Items()->Count() > 0 && index != -1) SetText(Items()->Strings(index));
  oldItemIndex_ = index;
  if (style_ == kscbFixedStyle) Invalidate();
  if (!Loading()) Clicked();
}

void TksSkinCustomComboBox::Clicked() {
  OnClick(this);
  Change();
}

void TksSkinCustomComboBox::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  if (edit_ != nullptr && !editChanging_) edit_->SetText(Text());
  OnChange(this);
  if (editChanging_) Change();
}

void TksSkinCustomComboBox::DropDown() {
  const int count = Items()->Count();
  // A combo on no form has nowhere to open its list.
  if (count == 0 || Parent() == nullptr) return;
  OnDropDown(this);
  listBox_->SetWidth(ListBoxWidth > 0 ? ListBoxWidth : Width());
  listBox_->SetRowCount(std::min(count, dropDownCount_));
  TPoint origin{Left(), Top() + Height()};
  if (Parent() != nullptr) origin = Parent()->ClientToScreen(origin);
  TRect work{};
  GetDesktopWorkArea(true, work);
  GetMonitorWorkArea(Handle(), true, work);
  if (origin.Y + listBox_->Height() > work.Bottom) origin.Y -= Height() + listBox_->Height();
  if (edit_ != nullptr && edit_->CanFocus()) edit_->SetFocus();
  oldItemIndex_ = listBox_->ItemIndex();
  // Stepping away and back makes the system list scroll its selection into view.
  if (oldItemIndex_ == 0 && count > 1) {
    listBox_->SetItemIndex(1);
    listBox_->SetItemIndex(0);
  }
  if (listBox_->ItemIndex() >= 0) listBox_->SetTopIndex(listBox_->ItemIndex());
  listBox_->SetSkinData(SkinData());
  listBox_->Show(origin);
  UpdateDialogKeys();
}

void TksSkinCustomComboBox::CloseUp(bool AcceptValue) {
  if (!DroppedDown()) return;
  listBox_->Hide();
  listMouseDown_ = false;
  UpdateDialogKeys();
  const int index = listBox_->ItemIndex();
  if (AcceptValue && index >= 0 && index < Items()->Count()) {
    if (edit_ != nullptr) {
      // A multi-line system edit reports no change for text set from outside.
      edit_->SetText(Items()->Strings(index));
      EditChange(edit_);
    } else {
      SetText(Items()->Strings(index));
      Invalidate();
    }
    Clicked();
  } else {
    listBox_->SetItemIndex(oldItemIndex_);
    Invalidate();
  }
  if (AcceptValue) OnCloseUp(this);
}

void TksSkinCustomComboBox::UpdateDialogKeys() {
  if (edit_ != nullptr) edit_->WantDialogKeys = DroppedDown();
}

// --- style and skin ----------------------------------------------------------------

void TksSkinCustomComboBox::SetStyle(TksSkinCustomComboBoxStyle value) {
  style_ = value;
  if (value == kscbEditStyle) {
    SetTabStop(false);
    const bool focused = HandleAllocated() && Focused();
    if (edit_ == nullptr) CreateEditControl();
    edit_->SetText(Text());
    if (focused && edit_->CanFocus()) edit_->SetFocus();
  } else {
    SetTabStop(true);
    FreeEditControl();
  }
  CalcRects();
  if (HandleAllocated()) RecreateWnd();
  Invalidate();
}

void TksSkinCustomComboBox::GetSkinData() {
  TksSkinCustomControl::GetSkinData();
  if (auto* d = SkinDescription<TksDataSkinComboBox>()) {
    itemRect_ = d->ItemRect;
    focusItemRect_ = OrFallback(d->FocusItemRect, d->ItemRect);
    itemLeftOffset_ = d->ItemLeftOffset;
    itemRightOffset_ = d->ItemRightOffset;
    itemTextRect_ = d->ItemTextRect;
    fontName_ = d->FontName;
    fontHeight_ = d->FontHeight;
    fontStyle_ = d->FontStyle;
    fontColor_ = d->FontColor;
    focusFontColor_ = d->FocusFontColor;
    skinButtonRect_ = d->ButtonRect;
    activeButtonRect_ = d->ActiveButtonRect;
    downButtonRect_ = d->DownButtonRect;
    unEnabledButtonRect_ = d->UnEnabledButtonRect;
    listBoxName_ = d->ListBoxName;
  }
  CalcRects();
}

void TksSkinCustomComboBox::ChangeSkinData() {
  TksSkinCustomControl::ChangeSkinData();
  CalcRects();
  if (edit_ != nullptr) ApplyEditFont(DefaultFont());
  Invalidate();
  listBox_->SetSkinDataName(Skinned() ? listBoxName_ : String());
  listBox_->SetSkinData(SkinData());
  listBox_->UpdateScrollBars();
}

void TksSkinCustomComboBox::DefaultFontChange() { Font()->Assign(DefaultFont()); }

void TksSkinCustomComboBox::CalcRects() {
  const int w = Width(), h = Height();
  if (Skinned()) {
    const int d = w - RectWidth(SkinRect);
    buttonRect_ = skinButtonRect_;
    // A button no nearer the left edge than the face's right part is wide stays at the right end.
    if (RectWidth(SkinRect) - RTPoint.X <= buttonRect_.Left) buttonRect_ = MovedRect(buttonRect_, d, 0);
    textRect_ = SkinClientRect;
    textRect_.Right += d;
  } else {
    buttonRect_ = TRect{w - 19, 2, w - 2, h - 2};
    textRect_ = TRect{2, 2, buttonRect_.Left - 1, h - 2};
  }
  if (edit_ != nullptr)
    edit_->SetBounds(textRect_.Left, textRect_.Top, std::max(0, RectWidth(textRect_)),
                     std::max(0, RectHeight(textRect_)));
}

void TksSkinCustomComboBox::Invalidate() {
  TksSkinCustomControl::Invalidate();
  if (Skinned() && edit_ != nullptr) edit_->Invalidate();
}

// --- painting ------------------------------------------------------------------------

void TksSkinCustomComboBox::CreateControlDefaultImage(TBitmap* b) {
  CalcRects();
  TCanvas* c = b->Canvas();
  const TRect all{0, 0, Width(), Height()};
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(all);
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(all);
  DrawButton(c);
  if (style_ == kscbFixedStyle) DrawDefaultItem(c);
}

void TksSkinCustomComboBox::CreateControlSkinImage(TBitmap* b) {
  TksSkinCustomControl::CreateControlSkinImage(b);
  CalcRects();
  TCanvas* c = b->Canvas();
  DrawButton(c);
  if (style_ == kscbFixedStyle) DrawSkinItem(c);
}

void TksSkinCustomComboBox::DrawButton(TCanvas* c) {
  if (IsNullRect(buttonRect_)) return;
  if (Skinned()) {
    const TRect* source = !Enabled() && !IsNullRect(unEnabledButtonRect_) ? &unEnabledButtonRect_
                          : buttonDown_ && buttonActive_                  ? &downButtonRect_
                          : buttonActive_                                 ? &activeButtonRect_
                                                                          : nullptr;
    if (source != nullptr && Picture != nullptr && !IsNullRect(*source))
      c->CopyRect(buttonRect_, Picture->Canvas(), *source);
    return;
  }
  DrawPlainButtonFace(c, buttonRect_, buttonDown_ && buttonActive_, buttonActive_);
  DrawArrowImage(c, buttonRect_, Enabled() ? clBlack : clBtnShadow, 4);
}

int TksSkinCustomComboBox::FaceItem() {
  const int index = DroppedDown() ? oldItemIndex_ : listBox_->ItemIndex();
  return index >= 0 && index < Items()->Count() ? index : -1;
}

void TksSkinCustomComboBox::DrawDefaultItem(TCanvas* c) {
  const int w = RectWidth(textRect_), h = RectHeight(textRect_);
  const int index = FaceItem();
  if (w < 1 || h < 1 || index < 0) return;
  TBitmap b(w, h);
  TCanvas* bc = b.Canvas();
  AssignSkinFont(bc->Font(), true, Font()->Name(), Font()->Height(), Font()->Style(), DefaultFont(), SkinData());
  const bool focused = HandleAllocated() && Focused();
  bc->Brush()->SetStyle(bsSolid);
  bc->Brush()->SetColor(focused ? clHighlight : clWindow);
  bc->FillRect(TRect{0, 0, w, h});
  bc->Font()->SetColor(focused ? clHighlightText : clWindowText);
  drawState_ = focused ? odFocused : 0u;
  DrawItemContent(bc, index, w, h, TRect{2, 0, w - 2, h});
  if (focused) bc->DrawFocusRect(TRect{0, 0, w, h});
  c->Draw(textRect_.Left, textRect_.Top, &b);
}

void TksSkinCustomComboBox::DrawSkinItem(TCanvas* c) {
  const int w = RectWidth(textRect_);
  const int index = FaceItem();
  const int h = !IsNullRect(itemRect_)        ? RectHeight(itemRect_)
                : !IsNullRect(focusItemRect_) ? RectHeight(focusItemRect_)
                                              : RectHeight(textRect_);
  if (w < 1 || h < 1 || index < 0) return;
  const bool focused = HandleAllocated() && Focused();
  const TRect& strip = focused ? focusItemRect_ : itemRect_;
  TBitmap b(w, h);
  if (!IsNullRect(strip) && Picture != nullptr)
    CreateHSkinImage(itemLeftOffset_, itemRightOffset_, &b, Picture, strip, w, h);
  else
    b.Canvas()->CopyRect(TRect{0, 0, w, h}, c, TRect{textRect_.Left, textRect_.Top, textRect_.Left + w, textRect_.Top + h});
  TRect tr = itemTextRect_;
  tr.Right += w - (!IsNullRect(itemRect_) ? RectWidth(itemRect_) : RectWidth(SkinClientRect));
  TCanvas* bc = b.Canvas();
  AssignSkinFont(bc->Font(), UseSkinFont, fontName_, fontHeight_, fontStyle_, DefaultFont(), SkinData());
  bc->Font()->SetColor(focused ? focusFontColor_ : fontColor_);
  bc->Brush()->SetStyle(bsClear);
  drawState_ = focused ? odFocused : 0u;
  DrawItemContent(bc, index, w, h, tr);
  c->Draw(textRect_.Left, textRect_.Top, &b);
}

void TksSkinCustomComboBox::DrawItemContent(TCanvas* c, int index, int w, int h, TRect tr) {
  if (OnComboBoxDrawItem.Assigned()) {
    OnComboBoxDrawItem(c, index, w, h, tr, drawState_);
    return;
  }
  if (TCustomImageList* images = Images()) {
    const int image = ImageIndex() >= 0 ? ImageIndex() : index;
    if (image < images->Count()) images->Draw(c, tr.Left, tr.Top + RectHeight(tr) / 2 - images->Height() / 2, image);
    tr.Left += images->Width() + 2;
  }
  c->Brush()->SetStyle(bsClear);
  DrawItemText(c, Items()->Strings(index), tr);
}
