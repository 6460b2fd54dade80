// Menus: items in a tree, the native menu built from them, main and popup
// menus, and keyboard shortcuts.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/core/classes.h"
#include "framework/core/delegate.h"
#include "framework/gui/control.h"
#include "framework/gui/messages.h"

// Virtual key | scShift | scCtrl | scAlt.
using TShortCut = WORD;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// Fixed English names: "Ctrl+F4", "Alt+F4", "Del", "Esc".
String ShortCutToText(TShortCut ShortCut);
TShortCut TextToShortCut(const String& Text);

class TMenu;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  void BeforeDestruction() override;

  String Caption() const { return caption_; }
  void SetCaption(const String& value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  String Hint;
  TNotifyEvent OnClick;
  bool IsLine() const { return caption_ == "-"; }

  // Fires OnClick; nothing when disabled.
  virtual void Click();

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return parent_; }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Delete(int Index);  // detaches; the caller owns the item
  void Remove(TMenuItem* Item);
  int IndexOf(const TMenuItem* Item) const;
  void Clear();  // frees the children
  int MenuIndex() const { return parent_ != nullptr ? parent_->IndexOf(this) : -1; }
  TMenu* GetParentMenu() const;

  UINT Command() const { return command_; }
  // The native submenu while this item has children and the menu is built.
  HMENU Handle() const { return handle_; }

  // Searches this item's subtree.
  TMenuItem* FindByCommand(UINT command);
  TMenuItem* FindBySubmenu(HMENU menu);
  TMenuItem* FindByShortCut(TShortCut shortCut);

 private:
  friend class TMenu;
  void Changed();
  void AppendTo(HMENU menu);
  void ForgetHandles();

  String caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool default_ = false;
  int imageIndex_ = -1;
  TShortCut shortCut_ = scNone;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item only
  std::vector<TMenuItem*> items_;
  UINT command_;
  HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_; }
  TComponent* Images = nullptr;  // the image list, when one is used
  // The native menu, rebuilt after any change.
  HMENU Handle();
  // Clicks the item with that command; false when none has it.
  bool DispatchCommand(UINT Command);
  // WM_INITMENUPOPUP: clicks the item whose submenu opens.
  bool DispatchPopup(HMENU Menu);
  // The first visible, enabled item with the key's shortcut (tree order) is clicked.
  bool IsShortCut(TWMKey& Message);

  void Changed();

 protected:
  virtual HMENU CreateMenuHandle() { return CreatePopupMenu(); }
  virtual void HandleRebuilt() {}
  void DestroyMenuHandle();

 private:
  TMenuItem* items_;
  HMENU handle_ = nullptr;
  bool dirty_ = true;
};

class TMainMenu : public TMenu {
 public:
  using TMenu::TMenu;
  // The form window showing this menu (set by the form).
  void SetWindow(HWND wnd);

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
  void HandleRebuilt() override;

 private:
  HWND window_ = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // OnPopup, then the system's popup on the framework's hidden window.
  virtual void Popup(int X, int Y);
  bool AutoPopup = true;
  TComponent* PopupComponent = nullptr;
  // Sets PopupComponent and forgets it when the component goes.
  void SetPopupComponent(TComponent* component);
  TPopupAlignment Alignment = paLeft;
  TNotifyEvent OnPopup;

  // The hidden window popup menus run on.
  static HWND PopupWindow();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};
