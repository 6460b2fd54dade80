// The frame's menu mode: while a skinned menu of the form is open the frame
// hooks the application's message event, so keys typed in any window reach the
// menu and nothing else, and the wheel does nothing.
#include "skin/ksSkinForm.h"

#include "skin/ksSkinHint.h"
#include "skin/ksSkinMenus.h"
#include "skin/ksSkinMessages.h"
#include "skin/ksSkinPopupMenu.h"

void TksSkinForm::SkinMenuOpen() {
  HookApp();
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
}

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
  if (skinMenu_->Visible() && skinMenu_->TopLevel()) skinMenu_->TopLevel()->ProcessKey(key);
  if (key == VK_ESCAPE && !skinMenu_->TopLevel() && inSkinMenu_) SkinMenuClose();
}

void TksSkinForm::CheckMenuClose(const TMessage& m) {
  if (!IsMenuCloseMessage(m.Msg)) return;
  if (ShowObjectHint && skinHint_) skinHint_->HideHint();
  if (skinMenu_->Visible())
    skinMenu_->CloseMenu();
  else if (inSkinMenu_)
    SkinMenuClose();
}

// The frame going away must not leave a chain open or the application hooked.
void TksSkinForm::EndMenuMode() {
  if (skinMenu_ && skinMenu_->Visible()) skinMenu_->CloseMenu();
  inSkinMenu_ = false;
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
