// One level of a skinned menu: what it lists, its size and place, its face,
// and how it follows the polled cursor and the keys.
#include <algorithm>

#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/draw/ksUtils.h"
#include "skin/menus/ksSkinMenus.h"

namespace {
constexpr int kMarkerHeight = 10;
constexpr DWORD kDropShadow = 0x20000;  // CS_DROPSHADOW

TksDataSkinMenuItem* FirstItemDescription(TksSkinData* skin) {
  if (skin == nullptr || skin->Empty) return nullptr;
  for (auto& object : skin->ObjectList)
    if (auto* item = dynamic_cast<TksDataSkinMenuItem*>(object.get())) return item;
  return nullptr;
}
}  // namespace

TksSkinPopupWindow::TksSkinPopupWindow(TksSkinMenu* menu, TksDataSkinPopupWindow* popupData)
    : TCustomControl(nullptr), Menu(menu), givenPopupData_(popupData) {
  visible_ = false;
  MouseTimer.SetEnabled(false);
  MouseTimer.SetInterval(50);
  MouseTimer.SetOnTimer(Bind<&TksSkinPopupWindow::MouseTimerTick>(this));
  MorphTimer.SetEnabled(false);
  MorphTimer.SetInterval(20);
  MorphTimer.SetOnTimer(Bind<&TksSkinPopupWindow::MorphTimerTick>(this));
  ReadSkin(popupData);
}

TksSkinPopupWindow::~TksSkinPopupWindow() {
  MouseTimer.SetEnabled(false);
  MorphTimer.SetEnabled(false);
  if (HandleAllocated()) TimerSeam().KillTimer(Handle(), kScrollTimerId);
  Items.clear();
}

// A level is skinned only with its window picture and a first item description
// whose picture exists; anything less takes the look of its own as a whole.
void TksSkinPopupWindow::ReadSkin(TksDataSkinPopupWindow* popupData) {
  PopupData = nullptr;
  ItemData = nullptr;
  WindowPicture = MaskPicture = nullptr;
  skinData_ = nullptr;
  TksSkinData* skin = Menu->SkinData();
  if (popupData == nullptr || skin == nullptr || popupData->WindowPictureIndex == -1) return;
  TBitmap* window = skin->ActivePicture(popupData->WindowPictureIndex);
  TksDataSkinMenuItem* item = FirstItemDescription(skin);
  if (window == nullptr || window->Width() < 1 || item == nullptr || skin->ActivePicture(item->ActivePictureIndex) == nullptr)
    return;
  PopupData = popupData;
  ItemData = item;
  WindowPicture = window;
  MaskPicture = skin->ActivePicture(popupData->MaskPictureIndex);
  skinData_ = skin;
}

// A level points into the skin it was opened with; a new skin closes the chain.
void TksSkinPopupWindow::BeforeChangeSkinData() { Menu->CloseMenu(); }
void TksSkinPopupWindow::ChangeSkinData() {}

void TksSkinPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WndParent = nullptr;
  Params.WinClassName = "TksSkinPopupWindow";
  Params.WindowClass.style = CS_SAVEBITS | (IsWindowsXP() ? kDropShadow : 0);
}

void TksSkinPopupWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      PaintMenu(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_TIMER:
      if (Message.WParam == kScrollTimerId) {
        ScrollTimerTick();
        return;
      }
      break;
    case WM_DESTROY: TimerSeam().KillTimer(Handle(), kScrollTimerId); break;
  }
  TCustomControl::WndProc(Message);
}

// ---- building and placing -------------------------------------------------------

void TksSkinPopupWindow::Show(const TRect& anchorRect, TMenuItem* item, bool popupUp, bool subMenu,
                              int startIndex) {
  Show2(anchorRect, item, popupUp, subMenu, startIndex, nullptr);
}

void TksSkinPopupWindow::Show2(const TRect& anchorRect, TMenuItem* item, bool popupUp, bool subMenu,
                               int startIndex, TMenuItem* item2) {
  const bool fade = IsWindowsNT5() && Menu->AlphaBlend && Menu->AlphaBlendAnimation && Menu->FirstShow;
  if (fade && Application != nullptr) Application->ProcessMessages();
  CreateMenu(item, item2, startIndex);
  ShowLevel(anchorRect, popupUp, subMenu);
}

void TksSkinPopupWindow::ShowLevel(const TRect& anchorRect, bool popupUp, bool subMenu) {
  CalcPosition(anchorRect, popupUp, subMenu);
  SetBounds(X, Y, Width(), Height());
  HWND wnd = Handle();
  if (MaskPicture != nullptr) SetMenuWindowRegion();
  const bool layered = IsWindowsNT5() && Menu->AlphaBlend;
  const bool fade = layered && Menu->AlphaBlendAnimation && Menu->FirstShow;
  if (layered) {
    SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetAlphaBlendTransparent(wnd, fade ? 0 : Menu->AlphaBlendValue);
  }
  SetWindowPos(wnd, HWND_TOPMOST, X, Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  visible_ = true;
  if (fade) {
    int alpha = 0;
    do {
      alpha = std::min(alpha + 3, static_cast<int>(Menu->AlphaBlendValue));
      SetAlphaBlendTransparent(wnd, static_cast<uint8_t>(alpha));
    } while (alpha < Menu->AlphaBlendValue);
  }
  MouseTimer.SetEnabled(true);
  ActiveItem = -1;
  for (size_t i = 0; i < Items.size(); ++i) {
    if (!Items[i]->Selectable()) continue;
    Items[i]->SelectedAtOpen = true;
    ActiveItem = static_cast<int>(i);
    Items[i]->MouseEnter(true);
    break;
  }
}

void TksSkinPopupWindow::CreateMenu(TMenuItem* item, TMenuItem* item2, int startIndex) {
  if (Skinned() && Menu->UseSkinFont)
    AssignSkinFont(&ItemFont, true, ItemData->FontName, ItemData->FontHeight, ItemData->FontStyle,
                   Menu->DefMenuItemFont(), Menu->SkinData());
  else
    AssignSkinFont(&ItemFont, false, "", 0, 0, Menu->DefMenuItemFont(), Menu->SkinData());
  TMenu* owner = item != nullptr ? item->GetParentMenu() : nullptr;
  Images = owner != nullptr ? dynamic_cast<TCustomImageList*>(owner->Images) : nullptr;
  Items.clear();
  const auto list = [this](TMenuItem* from, int start) {
    if (from == nullptr) return;
    for (int i = std::max(start, 0); i < from->Count(); ++i)
      if (from->Items(i)->Visible()) Items.push_back(std::make_unique<TksSkinMenuItem>(this, ItemData, from->Items(i)));
  };
  list(item, startIndex);
  if (item2 != nullptr) list(item2, startIndex - (item != nullptr ? item->Count() : 0));
  SetMenuWindowSize();
  const int w = Width(), h = Height();
  if (Skinned()) {
    const int pw = WindowPicture->Width(), ph = WindowPicture->Height();
    const TksDataSkinPopupWindow& d = *PopupData;
    NewLTPoint = d.LTPoint;
    NewRTPoint = TPoint{w - (pw - d.RTPoint.X), d.RTPoint.Y};
    NewLBPoint = TPoint{d.LBPoint.X, h - (ph - d.LBPoint.Y)};
    NewRBPoint = TPoint{w - (pw - d.RBPoint.X), h - (ph - d.RBPoint.Y)};
    NewItemsRect = TRect{d.ItemsRect.Left, d.ItemsRect.Top, w - (pw - d.ItemsRect.Right), h - (ph - d.ItemsRect.Bottom)};
  } else {
    NewItemsRect = TRect{2, 2, w - 2, h - 2};
  }
  CalcItemRects();
}

int TksSkinPopupWindow::ItemHeight(const TksSkinMenuItem& item) const {
  if (Skinned()) return RectHeight(item.IsSeparator() ? ItemData->DividerRect : ItemData->SkinRect);
  return item.IsSeparator() ? 4 : Menu->DefMenuItemHeight;
}

int TksSkinMenuItem::Height() const { return Parent->ItemHeight(*this); }

int TksSkinPopupWindow::ItemTextWidth(TksSkinMenuItem& item) {
  String text = item.MenuItem->Caption();
  if (item.MenuItem->ShortCut() != scNone) text += "  " + ShortCutToText(item.MenuItem->ShortCut());
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(&ItemFont);
  RECT r{0, 0, 0, 0};
  DrawTextA(measure.Canvas()->Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left + 2;
}

void TksSkinPopupWindow::SetMenuWindowSize() {
  TopIndex = 0;
  VisibleCount = static_cast<int>(Items.size());
  ImagesWidth = Images != nullptr ? Images->Width() + 5 : 19;
  int widest = 0, h = 0;
  for (auto& item : Items) {
    widest = std::max(widest, ItemTextWidth(*item));
    h += ItemHeight(*item);
  }
  int w = widest + 19 + ImagesWidth;
  if (Skinned()) {
    const int pw = WindowPicture->Width(), ph = WindowPicture->Height();
    const TRect& text = ItemData->TextRect;
    const TRect& items = PopupData->ItemsRect;
    w += text.Left + (RectWidth(ItemData->SkinRect) - text.Right) + items.Left + (pw - items.Right);
    h += (ph - items.Bottom) + items.Top;
  } else {
    w += 10;
    h += 4;
  }
  Scroll = false;
  if (h > RectHeight(Menu->WorkArea)) {
    h = RectHeight(Menu->WorkArea);
    Scroll = true;
  }
  SetBounds(Left(), Top(), w, h);
}

TRect TksSkinPopupWindow::ItemsArea() const {
  TRect r = NewItemsRect;
  if (Scroll) {
    r.Top += kMarkerHeight;
    r.Bottom -= kMarkerHeight;
  }
  return r;
}

void TksSkinPopupWindow::CalcItemRects() {
  const TRect area = ItemsArea();
  int y = area.Top;
  VisibleCount = 0;
  const int count = static_cast<int>(Items.size());
  for (int i = TopIndex; i < count; ++i) {
    TksSkinMenuItem& item = *Items[static_cast<size_t>(i)];
    const int h = ItemHeight(item);
    item.ObjectRect = TRect{NewItemsRect.Left, y, NewItemsRect.Right, y + h};
    if (y + h > area.Bottom) break;
    item.Visible = true;
    ++VisibleCount;
    y += h;
  }
  if (!Scroll) return;
  for (int i = 0; i < count; ++i)
    if (i < TopIndex || i >= TopIndex + VisibleCount) Items[static_cast<size_t>(i)]->Visible = false;
}

void TksSkinPopupWindow::CalcPosition(const TRect& r, bool popupUp, bool subMenu) {
  const TRect wa = Menu->WorkArea;
  const int w = Width(), h = Height(), it = NewItemsRect.Top;
  const int mid = wa.Top + RectHeight(wa) / 2;
  bool side = false;
  if (Scroll) {
    Y = wa.Top;
  } else if (subMenu) {
    if (r.Top + h - it <= wa.Bottom)
      Y = r.Top - it;
    else if (r.Top < mid)
      Y = wa.Bottom - h;
    else
      Y = std::max(r.Bottom - h + it, wa.Top);
  } else if (popupUp) {
    if (r.Top - h >= wa.Top) {
      Y = r.Top - h;
    } else if (r.Top < mid) {
      Y = r.Bottom;
      if (r.Bottom + h > wa.Bottom) {
        Y = wa.Bottom - h;
        side = true;
      }
    } else {
      Y = wa.Top;
      side = true;
    }
  } else {
    if (r.Bottom + h <= wa.Bottom) {
      Y = r.Bottom;
    } else if (mid > r.Top) {
      Y = wa.Bottom - h;
      side = true;
    } else {
      Y = r.Top - h;
      if (Y < wa.Top) {
        Y = wa.Top;
        side = true;
      }
    }
  }
  if (subMenu || Scroll || side) {
    X = r.Right + w + 1 > wa.Right ? r.Left - w - 1 : r.Right + 1;
  } else {
    X = r.Left;
    if (r.Left + w > wa.Right)
      X = wa.Right - w;
    else if (r.Left < wa.Left)
      X = wa.Left;
  }
}

// The window owns the region once it has it; we never delete it.
void TksSkinPopupWindow::SetMenuWindowRegion() {
  TRegion region;
  const TksDataSkinPopupWindow& d = *PopupData;
  CreateSkinRegion(region, d.LTPoint, d.RTPoint, d.LBPoint, d.RBPoint, d.ItemsRect, NewLTPoint, NewRTPoint,
                   NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
  if (region) SetWindowRgn(Handle(), region.release(), TRUE);
}

// ---- painting -----------------------------------------------------------------------

void TksSkinPopupWindow::PaintMenu(HDC dc) {
  const int w = Width(), h = Height();
  if (w < 1 || h < 1) return;
  TBitmap b(w, h);
  CreateWindowImage(&b);
  for (int i = TopIndex; i < TopIndex + VisibleCount && i < static_cast<int>(Items.size()); ++i)
    Items[static_cast<size_t>(i)]->Draw(b.Canvas());
  if (Scroll) DrawScrollMarkers(b.Canvas());
  BitBlt(dc, 0, 0, w, h, b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TksSkinPopupWindow::CreateWindowImage(TBitmap* b) {
  const int w = Width(), h = Height();
  if (Skinned()) {
    const TksDataSkinPopupWindow& d = *PopupData;
    CreateSkinImageEx(d.LTPoint, d.RTPoint, d.LBPoint, d.RBPoint, d.BottomStretch, d.RightStretch, d.TopStretch,
                      d.LeftStretch, Scroll, h, w, TRect{0, 0, WindowPicture->Width(), WindowPicture->Height()},
                      WindowPicture, b, d.ItemsRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect);
    return;
  }
  b->SetSize(w, h);
  TCanvas* c = b->Canvas();
  const int column = Images != nullptr ? ImagesWidth + 2 : 21;
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect{0, 0, column, h});
  c->Brush()->SetColor(clWindow);
  c->FillRect(TRect{column, 0, w, h});
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(TRect{0, 0, w, h});
  c->Brush()->SetColor(clWindow);
  c->FrameRect(TRect{1, 1, w - 1, h - 1});
}

TRect TksSkinPopupWindow::UpperMarker() const {
  if (Skinned()) return TRect{NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + kMarkerHeight};
  return TRect{3, 3, Width() - 3, 13};
}

TRect TksSkinPopupWindow::LowerMarker() const {
  if (Skinned())
    return TRect{NewItemsRect.Left, NewItemsRect.Bottom - kMarkerHeight, NewItemsRect.Right, NewItemsRect.Bottom};
  return TRect{3, Height() - 10, Width() - 3, Height() - 3};
}

void TksSkinPopupWindow::DrawScrollMarkers(TCanvas* canvas) {
  const TColor active = Skinned() ? PopupData->ScrollMarkerActiveColor : clBtnText;
  const TColor normal = Skinned() ? PopupData->ScrollMarkerColor : clBtnShadow;
  DrawArrowImage(canvas, UpperMarker(), ScrollState == 1 ? active : normal, 3);
  DrawArrowImage(canvas, LowerMarker(), ScrollState == 2 ? active : normal, 4);
}

void TksSkinPopupWindow::Relayout() {
  CalcItemRects();
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TksSkinPopupWindow::MorphTimerTick(TObject*) {
  bool moved = false;
  for (auto& item : Items) {
    if (item->Data == nullptr || !item->Data->Morphing || !item->CanMorph()) continue;
    item->DoMorph();
    moved = true;
  }
  if (!moved) MorphTimer.SetEnabled(false);
}

// ---- mouse --------------------------------------------------------------------------

void TksSkinPopupWindow::MouseTimerTick(TObject*) {
  POINT screen{};
  if (!Pointer().GetCursorPos(&screen)) return;
  const TPoint p{screen.x - Left(), screen.y - Top()};
  if (p.X == LastCursorPos.X && p.Y == LastCursorPos.Y) return;
  LastCursorPos = p;
  if (Pointer().WindowFromPoint(screen) == Handle())
    TestActive(p.X, p.Y);
  else if (Scroll && ScrollState != 0)
    StopScroll();
}

void TksSkinPopupWindow::TestActive(int x, int y) {
  const TPoint p{x, y};
  if (Scroll) {
    // The markers answer in the 10-pixel strips at the ends of the items area, in both looks.
    const TRect upper{NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + kMarkerHeight};
    const TRect lower{NewItemsRect.Left, NewItemsRect.Bottom - kMarkerHeight, NewItemsRect.Right, NewItemsRect.Bottom};
    if (PointInRect(upper, p) && ScrollState == 0 && CanScroll(1)) {
      ScrollState = 1;
      StartScroll();
    } else if (PointInRect(lower, p) && ScrollState == 0 && CanScroll(2)) {
      ScrollState = 2;
      StartScroll();
    } else if (ScrollState != 0 && !PointInRect(upper, p) && !PointInRect(lower, p)) {
      StopScroll();
    }
  }
  if (Items.empty()) return;
  OldActiveItem = ActiveItem;
  for (size_t i = 0; i < Items.size(); ++i) {
    if (Items[i]->Visible && Items[i]->ObjectRect.Contains(TPoint{x, y})) {
      ActiveItem = static_cast<int>(i);
      break;
    }
  }
  const int count = static_cast<int>(Items.size());
  if (ActiveItem >= count) ActiveItem = OldActiveItem = -1;
  if (ActiveItem == OldActiveItem) {
    if (ActiveItem < 0) return;
    TksSkinMenuItem& item = *Items[static_cast<size_t>(ActiveItem)];
    if (!item.SelectedAtOpen) return;
    item.SelectedAtOpen = false;
    if (item.HasSubMenu()) item.MouseEnter(false);
    return;
  }
  if (OldActiveItem >= 0 && Items[static_cast<size_t>(OldActiveItem)]->Selectable())
    Items[static_cast<size_t>(OldActiveItem)]->MouseLeave();
  if (ActiveItem >= 0 && Items[static_cast<size_t>(ActiveItem)]->Selectable())
    Items[static_cast<size_t>(ActiveItem)]->MouseEnter(false);
}

void TksSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int x, int y) {
  TCustomControl::MouseUp(Button, Shift, x, y);
  TestActive(x, y);
  if (Button != mbLeft || ActiveItem < 0 || ActiveItem >= static_cast<int>(Items.size())) return;
  TksSkinMenuItem& item = *Items[static_cast<size_t>(ActiveItem)];
  if (item.Visible && !item.IsSeparator() && item.ObjectRect.Contains(TPoint{x, y})) item.Execute();
}

// ---- scrolling ----------------------------------------------------------------------

bool TksSkinPopupWindow::CanScroll(int direction) const {
  if (direction == 1) return TopIndex > 0;
  return TopIndex + VisibleCount - 1 < static_cast<int>(Items.size()) - 1;
}

// The largest run of trailing items that fits between the markers.
int TksSkinPopupWindow::GetEndTopIndex() const {
  int room = RectHeight(ItemsArea());
  int counted = 0;
  for (auto it = Items.rbegin(); it != Items.rend(); ++it) {
    room -= ItemHeight(**it);
    if (room < 0) break;
    ++counted;
  }
  return std::max(static_cast<int>(Items.size()) - std::max(counted, 1), 0);
}

void TksSkinPopupWindow::ScrollUp(bool cycle) {
  if (TopIndex > 0)
    --TopIndex;
  else if (cycle)
    TopIndex = GetEndTopIndex();
  else
    return;
  Relayout();
}

void TksSkinPopupWindow::ScrollDown(bool cycle) {
  if (TopIndex + VisibleCount < static_cast<int>(Items.size()))
    ++TopIndex;
  else if (cycle)
    TopIndex = 0;
  else
    return;
  Relayout();
}

void TksSkinPopupWindow::StartScroll() {
  const int index = Menu->LevelIndex(this);
  if (index + 1 < static_cast<int>(Menu->Levels().size())) Menu->CloseToLevel(index + 1);
  TimerSeam().KillTimer(Handle(), kScrollTimerId);
  TimerSeam().SetTimer(Handle(), kScrollTimerId, 100, nullptr);
  Relayout();
}

void TksSkinPopupWindow::StopScroll() {
  ScrollState = 0;
  if (HandleAllocated()) TimerSeam().KillTimer(Handle(), kScrollTimerId);
  Relayout();
}

void TksSkinPopupWindow::ScrollTimerTick() {
  if (ScrollState == 1) {
    if (CanScroll(1))
      ScrollUp(false);
    else
      StopScroll();
  } else if (ScrollState == 2) {
    if (CanScroll(2))
      ScrollDown(false);
    else
      StopScroll();
  }
}

// ---- keys ---------------------------------------------------------------------------

int TksSkinPopupWindow::FindAccelItem(WORD key) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (IsAccel(key, Items[i]->MenuItem->Caption())) return static_cast<int>(i);
  return -1;
}

void TksSkinPopupWindow::CloseSubLevels() {
  const int index = Menu->LevelIndex(this);
  if (index + 1 < static_cast<int>(Menu->Levels().size())) Menu->CloseToLevel(index + 1);
  for (auto& item : Items) {
    if (!item->Down) continue;
    item->Down = false;
    item->ReDraw();
  }
}

void TksSkinPopupWindow::ScrollIntoView(int index) {
  if (!Scroll) return;
  if (index < TopIndex) TopIndex = index;
  CalcItemRects();
  while (index >= TopIndex + VisibleCount && TopIndex < index) {
    ++TopIndex;
    CalcItemRects();
  }
  Relayout();
}

// Moves the highlight to `index` (found by the arrow keys), scrolling it into view.
void TksSkinPopupWindow::EnterItem(int index, bool byKeyboard) {
  ScrollIntoView(index);
  if (index == ActiveItem) return;
  OldActiveItem = ActiveItem;
  ActiveItem = index;
  Items[static_cast<size_t>(index)]->MouseEnter(byKeyboard);
  if (OldActiveItem >= 0 && OldActiveItem < static_cast<int>(Items.size()))
    Items[static_cast<size_t>(OldActiveItem)]->MouseLeave();
}

// In a scrolling level the search scrolls one item each time it passes the last
// laid-out item, so items that cannot be chosen at the ends come into view too.
void TksSkinPopupWindow::NextItem() {
  const int count = static_cast<int>(Items.size());
  const bool keyScroll = Scroll && ScrollState == 0;
  if (keyScroll && ActiveItem >= 0 && ActiveItem == TopIndex + VisibleCount - 1) ScrollDown(true);
  const int start = ActiveItem < 0 || ActiveItem >= count - 1 ? 0 : ActiveItem + 1;
  for (int i = start; i < count; ++i) {
    if (Scroll && i > TopIndex + VisibleCount - 1) ScrollDown(true);
    if (!Items[static_cast<size_t>(i)]->Selectable()) continue;
    EnterItem(i, true);
    return;
  }
}

void TksSkinPopupWindow::PrevItem() {
  const int count = static_cast<int>(Items.size());
  const bool keyScroll = Scroll && ScrollState == 0;
  if (keyScroll && ActiveItem >= 0 && ActiveItem == TopIndex) ScrollUp(true);
  const int start = ActiveItem <= 0 || ActiveItem >= count ? count - 1 : ActiveItem - 1;
  for (int i = start; i >= 0; --i) {
    if (Scroll && i < TopIndex) ScrollUp(true);
    if (!Items[static_cast<size_t>(i)]->Selectable()) continue;
    EnterItem(i, true);
    return;
  }
}

void TksSkinPopupWindow::ProcessKey(WORD key) {
  if (!visible_) return;
  TksSkinMenu* menu = Menu;  // this level may close below
  const int accel = FindAccelItem(key);
  if (accel >= 0) {
    TksSkinMenuItem* item = Items[static_cast<size_t>(accel)].get();
    ScrollIntoView(accel);
    item->MouseEnter(false);
    OldActiveItem = ActiveItem;
    ActiveItem = accel;
    if (OldActiveItem >= 0 && OldActiveItem != accel) Items[static_cast<size_t>(OldActiveItem)]->MouseLeave();
    item->Execute();
    return;
  }
  TksSkinMenuItem* active =
      ActiveItem >= 0 && ActiveItem < static_cast<int>(Items.size()) ? Items[static_cast<size_t>(ActiveItem)].get() : nullptr;
  const auto closeTop = [menu] {
    menu->CloseToLevel(static_cast<int>(menu->Levels().size()) - 1);
    TksSkinPopupWindow* top = menu->TopLevel();
    if (top == nullptr || top->ActiveItem < 0 || top->ActiveItem >= static_cast<int>(top->Items.size())) return;
    TksSkinMenuItem& parentItem = *top->Items[static_cast<size_t>(top->ActiveItem)];
    parentItem.Down = false;
    parentItem.ReDraw();
  };
  switch (key) {
    case VK_RETURN:
      if (active != nullptr) active->Execute();
      break;
    case VK_ESCAPE: closeTop(); break;
    case VK_LEFT:
      if (menu->Levels().size() > 1) closeTop();
      break;
    case VK_UP: PrevItem(); break;
    case VK_RIGHT:
      if (active != nullptr && active->HasSubMenu()) active->Execute();
      break;
    case VK_DOWN: NextItem(); break;
    default: break;
  }
}
