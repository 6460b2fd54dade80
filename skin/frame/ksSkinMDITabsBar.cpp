#include "skin/frame/ksSkinMDITabsBar.h"

#include <algorithm>

#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/draw/ksEffects.h"
#include "skin/draw/ksPlainColors.h"
#include "skin/frame/ksSkinForm.h"

namespace {

constexpr TColor kActiveFill = static_cast<TColor>(RGB(133, 146, 181));

void FlipVertically(TBitmap* b) {
  std::unique_ptr<TksEffectBmp> source(TksEffectBmp::CreateFromHBitmap(b->Handle()));
  if (!source) return;
  TksEffectBmp flipped(source->Width, source->Height);
  source->FlipVert(&flipped);
  flipped.Draw(b->Canvas()->Handle(), 0, 0);
}

int Centre(const TRect& r) { return (r.Left + r.Right) / 2; }

}  // namespace

void TksMDITab::Draw(TCanvas* canvas) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1) return;
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  TRect textRect{2, 0, w - 2, h};
  TColor color = TabsBar->DefaultFont()->Color();
  TksDataSkinTabControl* data = TabsBar->TabData();
  if (TabsBar->Skinned()) {
    TRect source = data->TabRect;
    color = data->FontColor;
    if (Active) {
      source = TabsBar->ActiveTabRect;
      color = data->FocusFontColor;
    } else if (MouseIn) {
      source = TabsBar->MouseInTabRect;
      color = data->MouseInFontColor;
    }
    CreateHSkinImage(data->TabLeftOffset, data->TabRightOffset, &b, TabsBar->Picture(), source, w, h);
    if (TabsBar->Align() == alBottom) FlipVertically(&b);
    AssignSkinFont(c->Font(), true, data->FontName, data->FontHeight, data->FontStyle, TabsBar->DefaultFont(),
                   TabsBar->SkinData());
    textRect = TRect{data->TabLeftOffset, 0, w - data->TabRightOffset, h};
  } else {
    c->Brush()->SetColor(Active ? kActiveFill : (MouseIn ? kPlainHotFill : clBtnFace));
    c->FillRect(TRect{0, 0, w, h});
    AssignSkinFont(c->Font(), false, "", 0, 0, TabsBar->DefaultFont(), TabsBar->SkinData());
  }
  c->Font()->SetColor(color);
  String text = Child->Caption();
  CutTextToWidth(c, text, RectWidth(textRect));
  c->Brush()->SetStyle(bsClear);
  SetBkMode(c->Handle(), TRANSPARENT);
  RECT r{textRect.Left, textRect.Top, textRect.Right, textRect.Bottom};
  DrawTextA(c->Handle(), text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

TksSkinMDITabsBar::TksSkinMDITabsBar(TComponent* AOwner) : TksSkinControl(AOwner) {
  skinDataName_ = "tab";
  defaultFont_.SetName("Arial");
  defaultFont_.SetHeight(14);
  defaultFont_.SetStyle(0);
  SetBounds(0, 0, 150, 21);
}

TksSkinMDITabsBar::~TksSkinMDITabsBar() { ClearTabs(); }

void TksSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation) {
  const bool skinGoes = Operation == opRemove && AComponent == skinData_ && skinData_ != nullptr;
  TksSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (skinGoes) ChangeSkinData();
  // A child freed without hiding first still takes its tab with it.
  for (size_t i = 0; i < tabs_.size();) {
    if (tabs_[i]->Child == AComponent) {
      tabs_.erase(tabs_.begin() + static_cast<ptrdiff_t>(i));
      TabRemoved(static_cast<int>(i));
    } else {
      ++i;
    }
  }
}

void TksSkinMDITabsBar::SetSkinData(TksSkinData* value) {
  TksSkinControl::SetSkinData(value);
  if (value == nullptr || value->Empty) ChangeSkinData();
}

void TksSkinMDITabsBar::SetDefaultHeight(int value) {
  defaultHeight_ = value;
  if (!Skinned() && value >= 1) SetHeight(value);
}

void TksSkinMDITabsBar::AddTab(TCustomForm* child) {
  if (child == nullptr) return;
  child->FreeNotification(this);
  tabs_.push_back(std::make_unique<TksMDITab>(this, child));
  Invalidate();
}

void TksSkinMDITabsBar::TabRemoved(int index) {
  auto follow = [index](int& i) {
    if (i == index)
      i = -1;
    else if (i > index)
      --i;
  };
  follow(activeTab_);
  follow(oldActiveTab_);
  if (dragIndex_ == index) {
    EndDrag();
  } else {
    follow(dragIndex_);
  }
}

void TksSkinMDITabsBar::EndDrag() {
  dragging_ = tabPressed_ = false;
  dragIndex_ = -1;
  downX_ = dragOffset_ = 0;
}

void TksSkinMDITabsBar::DeleteTab(TCustomForm* child) {
  auto at = std::find_if(tabs_.begin(), tabs_.end(), [child](const auto& t) { return t->Child == child; });
  if (at != tabs_.end()) {
    const int index = static_cast<int>(at - tabs_.begin());
    tabs_.erase(at);
    TabRemoved(index);
    const bool more = std::any_of(tabs_.begin(), tabs_.end(), [child](const auto& t) { return t->Child == child; });
    if (!more && child != nullptr) child->RemoveFreeNotification(this);
  }
  Invalidate();
}

void TksSkinMDITabsBar::ClearTabs() {
  for (const auto& t : tabs_) t->Child->RemoveFreeNotification(this);
  tabs_.clear();
  activeTab_ = oldActiveTab_ = -1;
  EndDrag();
}

void TksSkinMDITabsBar::UpdateActiveTab() {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
  if (active == nullptr) return;
  for (const auto& t : tabs_) t->Active = t->Child == active;
  Invalidate();
}

void TksSkinMDITabsBar::RedrawTabsOf(TCustomForm* child) {
  if (!HandleAllocated()) return;
  for (const auto& t : tabs_)
    if (t->Child == child) t->Draw(Canvas());
}

void TksSkinMDITabsBar::GetSkinData() {
  TksSkinControl::GetSkinData();
  tabData_ = SkinDescription<TksDataSkinTabControl>();
  picture_ = tabData_ != nullptr ? skinData_->ActivePicture(tabData_->PictureIndex) : nullptr;
  if (tabData_ == nullptr) return;
  ActiveTabRect = OrFallback(tabData_->ActiveTabRect, tabData_->TabRect);
  MouseInTabRect = OrFallback(tabData_->MouseInTabRect, tabData_->TabRect);
}

void TksSkinMDITabsBar::BeforeChangeSkinData() {
  TksSkinControl::BeforeChangeSkinData();
  tabData_ = nullptr;
  picture_ = nullptr;
}

void TksSkinMDITabsBar::ChangeSkinData() {
  GetSkinData();
  if (Skinned())
    SetHeight(RectHeight(tabData_->TabRect));
  else
    SetHeight(defaultHeight_);
  Invalidate();
}

// ---- layout and painting ---------------------------------------------------------------------

void TksSkinMDITabsBar::CalcTabRects() {
  const int n = static_cast<int>(tabs_.size());
  if (n == 0) return;
  const int w = std::min(Width() / n, DefaultTabWidth);
  for (int i = 0; i < n; ++i) tabs_[static_cast<size_t>(i)]->ObjectRect = TRect{i * w, 0, i * w + w, Height()};
  if (w < DefaultTabWidth) tabs_.back()->ObjectRect.Right = Width();
  if (!dragging_ || dragIndex_ < 0 || dragIndex_ >= n) return;
  TRect& r = tabs_[static_cast<size_t>(dragIndex_)]->ObjectRect;
  const int tw = RectWidth(r);
  r.Left = std::clamp(r.Left + dragOffset_, 0, std::max(0, Width() - tw));
  r.Right = r.Left + tw;
}

int TksSkinMDITabsBar::DropPosition() const {
  const int n = static_cast<int>(tabs_.size());
  if (!dragging_ || dragIndex_ < 0 || dragIndex_ >= n || dragOffset_ == 0) return -1;
  const TRect& dragged = tabs_[static_cast<size_t>(dragIndex_)]->ObjectRect;
  int drop = -1;
  if (dragOffset_ >= 1) {
    for (int i = dragIndex_ + 1; i < n; ++i)
      if (Centre(tabs_[static_cast<size_t>(i)]->ObjectRect) < dragged.Right) drop = i;
  } else {
    for (int i = dragIndex_ - 1; i >= 0; --i)
      if (Centre(tabs_[static_cast<size_t>(i)]->ObjectRect) > dragged.Left) drop = i;
  }
  return drop;
}

void TksSkinMDITabsBar::CreateControlImage(TBitmap* b) {
  b->SetSize(std::max(Width(), 1), std::max(Height(), 1));
  GetSkinData();
  if (Skinned())
    CreateControlSkinImage(b);
  else
    CreateControlDefaultImage(b);
}

void TksSkinMDITabsBar::CreateControlDefaultImage(TBitmap* b) {
  b->Canvas()->Brush()->SetColor(clBtnFace);
  b->Canvas()->FillRect(TRect{0, 0, b->Width(), b->Height()});
  DrawTabs(b->Canvas());
}

void TksSkinMDITabsBar::CreateControlSkinImage(TBitmap* b) {
  if (!Skinned()) {
    CreateControlDefaultImage(b);
    return;
  }
  const TRect& bg = tabData_->TabsBGRect;
  if (!IsNullRect(bg)) TileFormPicture(b->Canvas(), picture_, bg, b->Width(), b->Height());
  DrawTabs(b->Canvas());
}

void TksSkinMDITabsBar::DrawTabs(TCanvas* canvas) {
  CalcTabRects();
  for (size_t i = 0; i < tabs_.size(); ++i)
    if (!dragging_ || static_cast<int>(i) != dragIndex_) tabs_[i]->Draw(canvas);
  if (!dragging_ || dragIndex_ < 0 || dragIndex_ >= static_cast<int>(tabs_.size())) return;
  // Where the tab lands is worked out from the places the others keep.
  const TRect moved = tabs_[static_cast<size_t>(dragIndex_)]->ObjectRect;
  const int drop = DropPosition();
  tabs_[static_cast<size_t>(dragIndex_)]->Draw(canvas);
  if (drop >= 0) DrawInsertMark(canvas, drop);
  tabs_[static_cast<size_t>(dragIndex_)]->ObjectRect = moved;
}

void TksSkinMDITabsBar::DrawInsertMark(TCanvas* canvas, int drop) {
  const TRect& r = tabs_[static_cast<size_t>(drop)]->ObjectRect;
  const int x = dragOffset_ > 0 ? r.Right : r.Left, h = Height(), m = h / 2;
  const TPenMode old = canvas->Pen()->Mode();
  canvas->Pen()->SetMode(pmNot);
  for (int dx = -1; dx <= 1; ++dx) {
    canvas->MoveTo(x + dx, 0);
    canvas->LineTo(x + dx, h);
  }
  for (int side : {1, -1}) {
    canvas->MoveTo(x + 2 * side, m);
    canvas->LineTo(x + 5 * side, m - 3);
    canvas->LineTo(x + 5 * side, m + 3);
    canvas->LineTo(x + 2 * side, m);
  }
  canvas->Pen()->SetMode(old);
}

// ---- mouse -----------------------------------------------------------------------------------

void TksSkinMDITabsBar::TestActive(int x, int y) {
  int hit = -1;
  for (size_t i = 0; i < tabs_.size() && hit < 0; ++i) {
    if (tabs_[i]->ObjectRect.ContainsWithEdges(TPoint{x, y})) hit = static_cast<int>(i);
  }
  oldActiveTab_ = activeTab_;
  activeTab_ = hit;
  if (activeTab_ == oldActiveTab_) return;
  if (oldActiveTab_ >= 0 && oldActiveTab_ < static_cast<int>(tabs_.size())) {
    TksMDITab* old = tabs_[static_cast<size_t>(oldActiveTab_)].get();
    old->MouseIn = false;
    if (HandleAllocated()) old->Draw(Canvas());
    if (OnTabMouseLeave) OnTabMouseLeave(old);
  }
  if (activeTab_ >= 0) {
    TksMDITab* now = tabs_[static_cast<size_t>(activeTab_)].get();
    now->MouseIn = true;
    if (HandleAllocated()) now->Draw(Canvas());
    if (OnTabMouseEnter) OnTabMouseEnter(now);
  }
}

void TksSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  CalcTabRects();
  TestActive(X, Y);
  if (activeTab_ < 0) return;
  TksMDITab* tab = tabs_[static_cast<size_t>(activeTab_)].get();
  TCustomForm* child = tab->Child;
  TksSkinForm* frame = TksSkinForm::GetSkinFormComponent(child);
  if (frame != nullptr && frame->WindowState() == kwsMinimized) frame->SetWindowState(kwsNormal);
  child->Show();
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (main != nullptr && main->ClientHandle() != nullptr && child->HandleAllocated())
    SendMessageA(main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  child->BringToFront();
  tabPressed_ = true;
  if (MoveTabs) dragIndex_ = activeTab_;
  downX_ = X;
  dragOffset_ = 0;
  if (OnTabMouseDown) OnTabMouseDown(Button, Shift, tab);
}

void TksSkinMDITabsBar::MouseMove(TShiftState Shift, int X, int Y) {
  TksSkinControl::MouseMove(Shift, X, Y);
  if (tabPressed_ && dragIndex_ >= 0 && !dragging_ && X != downX_) dragging_ = true;
  if (dragging_) {
    dragOffset_ = X - downX_;
    Invalidate();
    return;
  }
  TestActive(X, Y);
}

void TksSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinControl::MouseUp(Button, Shift, X, Y);
  tabPressed_ = false;
  if (dragging_) {
    CalcTabRects();
    const int drop = DropPosition();
    const int from = dragIndex_;
    EndDrag();
    if (drop >= 0 && drop != from) {
      auto tab = std::move(tabs_[static_cast<size_t>(from)]);
      tabs_.erase(tabs_.begin() + from);
      tabs_.insert(tabs_.begin() + drop, std::move(tab));
      activeTab_ = oldActiveTab_ = -1;
    }
    Invalidate();
    return;
  }
  dragIndex_ = -1;
  CalcTabRects();
  for (const auto& t : tabs_) {
    if (t->ObjectRect.ContainsWithEdges(TPoint{X, Y})) {
      if (OnTabMouseUp) OnTabMouseUp(Button, Shift, t.get());
      break;
    }
  }
}

void TksSkinMDITabsBar::CMMouseLeave(TMessage& Message) {
  TksSkinControl::CMMouseLeave(Message);
  TestActive(-1, -1);
}
