#include "skin/menus/ksSkinMenus.h"

#include <algorithm>

#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "skin/draw/ksUtils.h"

void SendMenuMessage(TControl* control, UINT msg) {
  if (control == nullptr) return;
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
    SendMessageA(windowed->Handle(), msg, 0, 0);
  } else {
    control->Perform(msg, 0, 0);
  }
}

bool IsMenuCloseMessage(UINT msg) {
  static constexpr UINT kClosing[] = {WM_MOVE,          WM_SIZE,          WM_ACTIVATE,      WM_KILLFOCUS,
                                      WM_CANCELMODE,    WM_MOUSEACTIVATE, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN,
                                      WM_NCMBUTTONDOWN, WM_LBUTTONDOWN,   WM_RBUTTONDOWN,   WM_MBUTTONDOWN,
                                      WM_PARENTNOTIFY};
  return std::find(std::begin(kClosing), std::end(kClosing), msg) != std::end(kClosing);
}

TksSkinMenu::TksSkinMenu(TComponent* AOwner, TWinControl* form) : TComponent(AOwner), form_(form) {
  defMenuItemFont_.SetName("Arial");
  defMenuItemFont_.SetHeight(14);
  defMenuItemFont_.SetStyle(0);
  waitTimer_.SetEnabled(false);
  waitTimer_.SetInterval(500);
  waitTimer_.SetOnTimer(Bind<&TksSkinMenu::WaitTimerTick>(this));
  if (form_ != nullptr) form_->FreeNotification(this);
}

TksSkinMenu::~TksSkinMenu() {
  destroying_ = true;
  CloseToLevel(0);
  if (form_ != nullptr) form_->RemoveFreeNotification(this);
  SetCommandCtrl(nullptr);
  SetSkinData(nullptr);
}

void TksSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == popupCtrl_) popupCtrl_ = nullptr;
  if (AComponent == commandCtrl_) commandCtrl_ = nullptr;
  if (AComponent == form_) form_ = nullptr;
  if (AComponent == skinData_) {
    skinData_ = nullptr;
    CloseToLevel(0);  // the open levels draw from it
  }
}

void TksSkinMenu::SetPopupCtrl(TControl* value) { SetComponentReference<TControl>(this, popupCtrl_, value); }
void TksSkinMenu::SetCommandCtrl(TControl* value) { SetComponentReference<TControl>(this, commandCtrl_, value); }
void TksSkinMenu::SetSkinData(TksSkinData* value) { SetComponentReference(this, skinData_, value); }

TRect TksSkinMenu::GetWorkArea() {
  TRect r{};
  GetMonitorWorkArea(form_ != nullptr ? form_->Handle() : nullptr, true, r);
  return r;
}

namespace {
// Visible subitems of item from `from` on.
bool HasVisibleFrom(TMenuItem* item, int from) {
  if (item == nullptr) return false;
  for (int i = std::max(from, 0); i < item->Count(); ++i)
    if (item->Items(i)->Visible()) return true;
  return false;
}
}  // namespace

bool TksSkinMenu::PopupChain(TControl* popupCtrl, TksSkinData* skinData, bool popupUp, TMenuItem* item,
                             TMenuItem* item2, const TRect& anchorRect, int startIndex) {
  FirstShow = !visible_;
  if (!levels_.empty()) CloseToLevel(0);
  SetPopupCtrl(popupCtrl);
  WorkArea = GetWorkArea();
  SetSkinData(skinData);
  const int count = item != nullptr ? item->Count() : 0;
  const bool anything =
      HasVisibleFrom(item, startIndex) || (item2 != nullptr && count > 0 && HasVisibleFrom(item2, startIndex - count));
  if (!anything) {
    // Nothing to show: end as a closed chain, so the caller leaves its menu mode.
    FirstShow = false;
    CloseMenu();
    return false;
  }
  visible_ = true;
  AddLevel(anchorRect, item, popupUp, false, startIndex, item2);
  FirstShow = false;
  return true;
}

void TksSkinMenu::Popup(TControl* popupCtrl, TksSkinData* skinData, bool popupUp, TMenuItem* item,
                        const TRect& anchorRect, int startIndex) {
  PopupChain(popupCtrl, skinData, popupUp, item, nullptr, anchorRect, startIndex);
}

void TksSkinMenu::Popup2(TControl* popupCtrl, TksSkinData* skinData, bool popupUp, TMenuItem* item2,
                         TMenuItem* item, const TRect& anchorRect, int startIndex) {
  PopupChain(popupCtrl, skinData, popupUp, item, item2, anchorRect, startIndex);
}

void TksSkinMenu::AddLevel(const TRect& anchorRect, TMenuItem* item, bool popupUp, bool subMenu, int startIndex,
                           TMenuItem* item2) {
  TksDataSkinPopupWindow* data = skinData_ != nullptr && !skinData_->Empty ? &skinData_->PopupWindow : nullptr;
  auto* level = new TksSkinPopupWindow(this, data);
  levels_.push_back(level);
  if (item2 != nullptr)
    level->Show2(anchorRect, item, popupUp, subMenu, startIndex, item2);
  else
    level->Show(anchorRect, item, popupUp, subMenu, startIndex);
}

int TksSkinMenu::LevelIndex(const TksSkinPopupWindow* window) const {
  auto found = std::find(levels_.begin(), levels_.end(), window);
  return static_cast<int>(found - levels_.begin());
}

void TksSkinMenu::StopWaiting() {
  waitTimer_.SetEnabled(false);
  waitItem_ = nullptr;
}

void TksSkinMenu::CloseToLevel(int n) {
  n = std::max(n, 0);
  while (static_cast<int>(levels_.size()) > n) {
    TksSkinPopupWindow* level = levels_.back();
    levels_.pop_back();
    if (waitItem_ != nullptr && waitItem_->Parent == level) StopWaiting();
    // Out of sight and out of the chain at once; freed once its handlers have returned.
    level->MouseTimer.SetEnabled(false);
    level->MorphTimer.SetEnabled(false);
    if (level->HandleAllocated()) {
      TimerSeam().KillTimer(level->Handle(), TksSkinPopupWindow::kScrollTimerId);
      ShowWindow(level->Handle(), SW_HIDE);
    }
    if (destroying_ || Application == nullptr)
      delete level;
    else
      Application->QueueFree(level);
  }
  if (n > 0) return;
  visible_ = false;
  StopWaiting();
  SetCommandCtrl(popupCtrl_);
  TControl* told = popupCtrl_;
  SetPopupCtrl(nullptr);
  SendMenuMessage(told, WM_SKINMENUCLOSED);
}

void TksSkinMenu::CloseMenu() {
  CloseToLevel(0);
  StopWaiting();
  SendMenuMessage(form_, WM_SKINMENUCLOSED);
}

void TksSkinMenu::CheckItem(TksSkinPopupWindow* window, TksSkinMenuItem* item, bool byKeyboard, bool click) {
  const auto closeAbove = [&] {
    int index = LevelIndex(window);
    if (index + 1 < static_cast<int>(levels_.size())) CloseToLevel(index + 1);
  };
  if (!item->HasSubMenu()) {
    StopWaiting();
    if (!click) {
      closeAbove();
      return;
    }
    // The chain (and this item with it) goes before the command runs.
    TMenuItem* chosen = item->MenuItem;
    CloseMenu();
    chosen->Click();
    TControl* told = commandCtrl_;
    SetCommandCtrl(nullptr);
    SendMenuMessage(told, WM_CLOSESKINMENU);
    return;
  }
  if (!click) {
    if (byKeyboard) return;
    waitTimer_.SetEnabled(false);
    closeAbove();
    waitItem_ = item;
    waitTimer_.SetEnabled(true);
    return;
  }
  TMenuItem* chosen = item->MenuItem;
  chosen->Click();  // a submenu item's click runs before its submenu opens
  // The click handler may have closed the chain.
  if (LevelIndex(window) >= static_cast<int>(levels_.size())) return;
  StopWaiting();
  item->Down = true;
  const TRect r = item->ObjectRect;
  const int left = window->Left(), top = window->Top();
  AddLevel(TRect{left + r.Left, top + r.Top, left + r.Right, top + r.Bottom}, chosen, false, true, 0);
}

void TksSkinMenu::WaitTimerTick(TObject*) {
  TksSkinMenuItem* item = waitItem_;
  waitTimer_.SetEnabled(false);
  if (item != nullptr) CheckItem(item->Parent, item, false, true);
}
