// The frame's menu mode: while a skinned menu of the form is open the frame
// hooks the application's message event, so keys typed in any window reach the
// menu and nothing else, and the wheel does nothing.
#include "skin/frame/ksSkinForm.h"

#include "skin/data/ksSkinMessages.h"
#include "skin/menus/ksSkinHint.h"
#include "skin/menus/ksSkinMainMenuBar.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/menus/ksSkinPopupMenu.h"

void TksSkinForm::SkinMenuOpen() {
  if (!inMainMenu_) HookApp();
  if (inSkinMenu_) return;
  inSkinMenu_ = true;
  if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TksSkinForm::SkinMenuClose() {
  inSkinMenu_ = false;
  for (const auto& o : objects_) {
    auto* button = dynamic_cast<TksSkinButtonObject*>(o.get());
    if (button && button->MenuItem && button->Down) {
      button->SetDown(false);
      break;
    }
  }
  UnHookApp();
  if (OnSkinMenuClose) OnSkinMenuClose(this);
  if (!inMainMenu_) return;
  inMainMenu_ = false;
  if (mainMenuBar_) mainMenuBar_->EndMenuMode();
  if (OnMainMenuExit) OnMainMenuExit(this);
}

void TksSkinForm::SkinMenuCloseInMainMenu() {
  inSkinMenu_ = false;
  if (mainMenuBar_) mainMenuBar_->ReleaseDownItem();
  if (OnSkinMenuClose) OnSkinMenuClose(this);
}

void TksSkinForm::MainMenuExit() {
  inMainMenu_ = false;
  if (skinMenu_->Visible()) skinMenu_->CloseMenu();
  if (mainMenuBar_) mainMenuBar_->EndMenuMode();
  UnHookApp();
  if (OnMainMenuExit) OnMainMenuExit(this);
}

void TksSkinForm::SetMainMenuBar(TksSkinMainMenuBar* value) { SetComponentReference(this, mainMenuBar_, value); }

// ---- the menu engine's look, set through the frame

bool TksSkinForm::MenusAlphaBlend() const { return skinMenu_->AlphaBlend; }
void TksSkinForm::SetMenusAlphaBlend(bool value) { skinMenu_->AlphaBlend = value; }
bool TksSkinForm::MenusAlphaBlendAnimation() const { return skinMenu_->AlphaBlendAnimation; }
void TksSkinForm::SetMenusAlphaBlendAnimation(bool value) { skinMenu_->AlphaBlendAnimation = value; }
BYTE TksSkinForm::MenusAlphaBlendValue() const { return skinMenu_->AlphaBlendValue; }
void TksSkinForm::SetMenusAlphaBlendValue(BYTE value) { skinMenu_->AlphaBlendValue = value; }
bool TksSkinForm::UseSkinFontInMenu() const { return skinMenu_->UseSkinFont; }
void TksSkinForm::SetUseSkinFontInMenu(bool value) { skinMenu_->UseSkinFont = value; }
int TksSkinForm::DefMenuItemHeight() const { return skinMenu_->DefMenuItemHeight; }

void TksSkinForm::SetDefMenuItemHeight(int value) {
  if (value > 0) skinMenu_->DefMenuItemHeight = value;
}

TFont* TksSkinForm::DefMenuItemFont() { return skinMenu_->DefMenuItemFont(); }
void TksSkinForm::SetDefMenuItemFont(TFont* value) { skinMenu_->SetDefMenuItemFont(value); }

// Nested menus open before the first one's close arrives: the hook goes in once,
// so the application's own handler is the one saved.
void TksSkinForm::HookApp() {
  if (appHooked_ || !Application) return;
  oldAppMessage_ = Application->OnMessage;
  Application->OnMessage = ownAppMessage_;
  appHooked_ = true;
}

// Someone who hooked in after us keeps their handler.
void TksSkinForm::UnHookApp() {
  if (!appHooked_) return;
  appHooked_ = false;
  if (Application && Application->OnMessage == ownAppMessage_) Application->OnMessage = oldAppMessage_;
  oldAppMessage_ = nullptr;
}

void TksSkinForm::AppMessageHook(TMsg& msg, bool& handled) {
  if (msg.message == WM_KEYDOWN) {
    ProcessMenuKey(static_cast<WORD>(msg.wParam));
    msg.message = 0;
    handled = true;
  } else if (msg.message == WM_MOUSEWHEEL) {
    msg.message = 0;
    handled = true;
  } else if (oldAppMessage_) {
    oldAppMessage_(msg, handled);
  }
}

void TksSkinForm::ProcessMenuKey(WORD key) {
  // A child's keys belong to the main form's menu while that one is open.
  if (TksSkinForm* main = MainSkinForm(); main && main != this && IsMDIChild() &&
                                          (main->inSkinMenu_ || main->inMainMenu_ || main->skinMenu_->Visible())) {
    main->ProcessMenuKey(key);
    return;
  }
  TksSkinPopupWindow* top = skinMenu_->Visible() ? skinMenu_->TopLevel() : nullptr;
  if (inMainMenu_ && mainMenuBar_ && mainMenuBar_->FindAccelItem(key)) return;
  if (key == VK_ESCAPE && inMainMenu_ && !inSkinMenu_) {
    MainMenuExit();
    return;
  }
  if (key == VK_LEFT && inMainMenu_ && skinMenu_->Levels().size() < 2) {
    if (mainMenuBar_) mainMenuBar_->PrevItem();
    return;
  }
  if (key == VK_RIGHT && inMainMenu_ &&
      (!top || top->ActiveItem < 0 || top->ActiveItem >= static_cast<int>(top->Items.size()) ||
       !top->Items[static_cast<size_t>(top->ActiveItem)]->HasSubMenu())) {
    if (mainMenuBar_) mainMenuBar_->NextItem();
    return;
  }
  if (key == VK_RETURN && mainMenuBar_ && mainMenuBar_->ExecuteActiveItem()) return;
  if (top) top->ProcessKey(key);
  if (key != VK_ESCAPE || skinMenu_->TopLevel()) return;
  if (!inMainMenu_) {
    if (inSkinMenu_) SkinMenuClose();
  } else {
    SkinMenuCloseInMainMenu();
  }
}

void TksSkinForm::CheckMenuClose(const TMessage& m) {
  if (!IsMenuCloseMessage(m.Msg)) return;
  if (ShowObjectHint && skinHint_) skinHint_->HideHint();
  if (inMainMenu_ && !inSkinMenu_) {
    MainMenuExit();
    return;
  }
  if (skinMenu_->Visible()) {
    skinMenu_->CloseMenu();
    return;
  }
  if (inSkinMenu_) {
    SkinMenuClose();
    return;
  }
  if (IsMDIForm() && form_->HandleAllocated() && IsWindowVisible(form_->Handle()))
    if (TksSkinForm* child = GetActiveMDIChildSkinForm(); child && child != this) child->CheckMenuClose(m);
}

// Our framework asks once per key; only the same key message asked again is
// passed over, so a second press of the same shortcut still runs. The message
// answered carries a mark, which a fresh message never has.
void TksSkinForm::FormShortCut(TWMKey& msg, bool& handled) {
  static constexpr LRESULT kAskedMark = 0x4B534643;
  if (shortCutHandled_ && msg.Message.Result == kAskedMark) {
    shortCutHandled_ = false;
    handled = false;
    return;
  }
  shortCutHandled_ = false;
  TMainMenu* menu = mainMenuBar_ ? mainMenuBar_->MainMenu() : nullptr;
  if (!menu) return;
  if (KeyDataToShiftState(msg.KeyData()) == ssAlt && mainMenuBar_->FindAccelItem(msg.CharCode())) {
    handled = true;
    return;
  }
  shortCutHandled_ = menu->IsShortCut(msg);
  handled = shortCutHandled_;
  if (handled) msg.Message.Result = kAskedMark;
}

// The frame going away must not leave a chain open or the application hooked.
void TksSkinForm::EndMenuMode() {
  if (skinMenu_ && skinMenu_->Visible()) skinMenu_->CloseMenu();
  inSkinMenu_ = inMainMenu_ = false;
  UnHookApp();
}

// A skinned popup menu component shows its own items itself (it finds its form
// and keeps its skin); any other menu goes straight to this frame's engine.
bool TksSkinForm::PopupObjectMenu(TMenuItem* item, const TRect& screenAnchor, bool popupUp) {
  if (auto* popup = dynamic_cast<TksSkinPopupMenu*>(item->GetParentMenu()); popup && popup->Items() == item) {
    popup->PopupFromRect(screenAnchor, popupUp);
    return skinMenu_->Visible();
  }
  TksSkinData* skin = menusSkinData_ ? menusSkinData_ : skinData_;
  SkinMenuOpen();
  skinMenu_->Popup(nullptr, skin, popupUp, item, screenAnchor, 0);
  return skinMenu_->Visible();
}

void TksSkinForm::SetSkinHint(TksSkinHint* value) { SetComponentReference(this, skinHint_, value); }

// An object's hint shows after the application's hint pause, and goes when the
// pointer leaves the object.
void TksSkinForm::ObjectHint(int index, bool show) {
  if (!ShowObjectHint || !skinHint_) return;
  const String& hint = objects_[static_cast<size_t>(index)]->Hint;
  if (hint.empty()) return;
  if (show)
    skinHint_->ActivateHint(hint);
  else
    skinHint_->HideHint();
}
