#include "framework/gui/menus.h"

#include <algorithm>
#include <cctype>

#include "framework/gui/wndproc.h"

// --- shortcuts -------------------------------------------------------------

namespace {

struct KeyName {
  WORD key;
  const char* name;
};

const KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},    {VK_ESCAPE, "Esc"},   {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

const struct {
  TShortCut flag;
  const char* name;
} kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

String KeyText(WORD key) {
  for (const auto& entry : kKeyNames)
    if (entry.key == key) return entry.name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) {
    String name = "F";
    name += std::to_string(key - VK_F1 + 1);
    return name;
  }
  return "";
}

UINT NextCommand() {
  static UINT last = 0;
  if (++last > 0xEFFF) last = 1;  // stays below the system commands
  return last;
}

bool SameTextAscii(const String& a, const String& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// Every popup menu alive, so the hidden window can route WM_INITMENUPOPUP.
std::vector<TPopupMenu*>& PopupMenus() {
  static std::vector<TPopupMenu*> list;
  return list;
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key > 0xFF) return scNone;
  TShortCut result = Key;
  if (Shift & ssShift) result |= scShift;
  if (Shift & ssCtrl) result |= scCtrl;
  if (Shift & ssAlt) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = 0;
  if (ShortCut & scShift) Shift |= ssShift;
  if (ShortCut & scCtrl) Shift |= ssCtrl;
  if (ShortCut & scAlt) Shift |= ssAlt;
}

String ShortCutToText(TShortCut ShortCut) {
  String key = KeyText(ShortCut & 0xFF);
  if (key.empty()) return "";
  String text;
  for (const auto& m : kModifiers)
    if (ShortCut & m.flag) text += m.name;
  return text + key;
}

TShortCut TextToShortCut(const String& Text) {
  String rest = Text;
  TShortCut flags = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& m : kModifiers) {
      String name = m.name;
      if (rest.size() > name.size() && SameTextAscii(rest.substr(0, name.size()), name)) {
        flags |= m.flag;
        rest = rest.substr(name.size());
        found = true;
      }
    }
  }
  for (WORD key = 1; key <= 0xFF; ++key) {
    String name = KeyText(key);
    if (!name.empty() && SameTextAscii(name, rest)) return static_cast<TShortCut>(key | flags);
  }
  return scNone;
}

// --- TMenuItem -------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(NextCommand()) {}

TMenuItem::~TMenuItem() {
  Clear();
  if (parent_ != nullptr) parent_->Remove(this);
}

void TMenuItem::BeforeDestruction() {
  if (ComponentState() & csDestroying) return;
  Clear();
  if (parent_ != nullptr) parent_->Remove(this);
  TComponent::BeforeDestruction();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_ != nullptr) root = root->parent_;
  return root->menu_;
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu(); menu != nullptr) menu->Changed();
}

void TMenuItem::SetCaption(const String& value) {
  if (caption_ == value) return;
  caption_ = value;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  // A checked radio item unchecks the others of its group.
  if (value && radioItem_ && parent_ != nullptr)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (radioItem_ == value) return;
  radioItem_ = value;
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (default_ == value) return;
  default_ = value;
  Changed();
}

void TMenuItem::SetImageIndex(int value) {
  if (imageIndex_ == value) return;
  imageIndex_ = value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (shortCut_ == value) return;
  shortCut_ = value;
  Changed();
}

void TMenuItem::Click() {
  if (!enabled_) return;
  OnClick(this);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item == nullptr) return;
  if (Item->parent_ != nullptr) throw EInvalidOperation("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  items_.insert(items_.begin() + Index, Item);
  Item->parent_ = this;
  Changed();
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  items_.erase(items_.begin() + Index);
  item->parent_ = nullptr;
  item->ForgetHandles();
  Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
  int index = IndexOf(Item);
  if (index >= 0) Delete(index);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto found = std::find(items_.begin(), items_.end(), Item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TMenuItem::Clear() {
  while (!items_.empty()) {
    TMenuItem* item = items_.back();
    items_.pop_back();
    item->parent_ = nullptr;
    ::Free(item);
  }
  Changed();
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
  if (command_ == command && items_.empty()) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindByCommand(command); found != nullptr) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindBySubmenu(HMENU menu) {
  if (menu == nullptr) return nullptr;
  if (handle_ == menu) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindBySubmenu(menu); found != nullptr) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut shortCut) {
  for (TMenuItem* item : items_) {
    if (!item->visible_ || !item->enabled_) continue;
    if (item->shortCut_ == shortCut && item->items_.empty()) return item;
    if (TMenuItem* found = item->FindByShortCut(shortCut); found != nullptr) return found;
  }
  return nullptr;
}

void TMenuItem::ForgetHandles() {
  handle_ = nullptr;
  for (TMenuItem* item : items_) item->ForgetHandles();
}

void TMenuItem::AppendTo(HMENU menu) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  String text = caption_;
  if (IsLine()) {
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
  } else {
    if (shortCut_ != scNone) {
      text += '\t';
      text += ShortCutToText(shortCut_);
    }
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    info.fType = MFT_STRING | (radioItem_ ? MFT_RADIOCHECK : 0);
    info.fState = (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : 0) | (default_ ? MFS_DEFAULT : 0);
    info.wID = command_;
    info.dwTypeData = text.data();
    if (!items_.empty()) {
      handle_ = CreatePopupMenu();
      for (TMenuItem* item : items_)
        if (item->visible_) item->AppendTo(handle_);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = handle_;
    }
  }
  InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
}

// --- TMenu -----------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  DestroyMenuHandle();
  items_->menu_ = nullptr;
  ::Free(items_);
}

void TMenu::DestroyMenuHandle() {
  items_->ForgetHandles();
  if (handle_ != nullptr) DestroyMenu(handle_);
  handle_ = nullptr;
}

void TMenu::Changed() {
  dirty_ = true;
  if (handle_ != nullptr) {
    Handle();
  }
}

HMENU TMenu::Handle() {
  if (handle_ != nullptr && !dirty_) return handle_;
  DestroyMenuHandle();
  handle_ = CreateMenuHandle();
  for (TMenuItem* item : items_->items_)
    if (item->visible_) item->AppendTo(handle_);
  dirty_ = false;
  HandleRebuilt();
  return handle_;
}

bool TMenu::DispatchCommand(UINT Command) {
  TMenuItem* item = items_->FindByCommand(Command);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU Menu) {
  TMenuItem* item = items_->FindBySubmenu(Menu);
  if (item == nullptr || item == items_) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TWMKey& Message) {
  TShiftState shift = KeyDataToShiftState(Message.KeyData());
  TShortCut shortCut = ::ShortCut(Message.CharCode(), shift);
  if (shortCut == scNone) return false;
  TMenuItem* item = items_->FindByShortCut(shortCut);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

void TMainMenu::SetWindow(HWND wnd) {
  window_ = wnd;
  if (wnd != nullptr) ::SetMenu(wnd, Handle());
}

void TMainMenu::HandleRebuilt() {
  if (window_ != nullptr && IsWindow(window_)) {
    ::SetMenu(window_, Handle());
    DrawMenuBar(window_);
  }
}

// --- TPopupMenu ------------------------------------------------------------

namespace {

void PopupWindowProc(TMessage& message) {
  if (message.Msg == WM_INITMENUPOPUP) {
    for (TPopupMenu* menu : std::vector<TPopupMenu*>(PopupMenus()))
      if (menu->DispatchPopup(reinterpret_cast<HMENU>(message.WParam))) break;
    return;
  }
  message.Result = DefWindowProcA(TPopupMenu::PopupWindow(), message.Msg, message.WParam, message.LParam);
}

}  // namespace

HWND TPopupMenu::PopupWindow() {
  static HWND wnd = AllocateHWnd(PopupWindowProc);
  return wnd;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupMenus().push_back(this); }

TPopupMenu::~TPopupMenu() { std::erase(PopupMenus(), this); }

void TPopupMenu::SetPopupComponent(TComponent* component) {
  PopupComponent = component;
  if (component != nullptr) FreeNotification(component);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == PopupComponent) PopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  OnPopup(this);
  static const UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  HWND wnd = PopupWindow();
  UINT command = static_cast<UINT>(TrackPopupMenu(Handle(), kAlign[Alignment] | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                  X, Y, 0, wnd, nullptr));
  if (command != 0) DispatchCommand(command);
}
