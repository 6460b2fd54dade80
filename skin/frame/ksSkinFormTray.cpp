// The frame and its tray icon: minimizing to the notification area and back.
#include "framework/gui/application.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksSkinPopupMenu.h"
#include "skin/menus/ksTrayIcon.h"

void TksSkinForm::SetTrayIcon(TksTrayIcon* value) {
  if (value == trayIcon_) return;
  ReleaseTrayIcon();
  SetComponentReference(this, trayIcon_, value);
  if (!trayIcon_) return;
  if (!AlwaysShowInTray) trayIcon_->SetIconVisible(false);
  trayIcon_->MinimizeToTray = false;
  if (!trayIcon_->PopupMenu()) {
    trayIcon_->SetPopupMenu(trayPopupMenu_);
    trayIcon_->OnDblClick = Bind<&TksSkinForm::TrayDblClick>(this);
  }
}

// The menu and handler the tray icon got die with the frame: take them back
// while they are still the ones given.
void TksSkinForm::ReleaseTrayIcon() {
  if (!trayIcon_) return;
  if (trayIcon_->PopupMenu() == trayPopupMenu_) trayIcon_->SetPopupMenu(nullptr);
  if (trayIcon_->OnDblClick == Bind<&TksSkinForm::TrayDblClick>(this)) trayIcon_->OnDblClick = nullptr;
}

void TksSkinForm::MinimizeToTray() {
  if (!trayIcon_) return;
  trayIcon_->MinimizeToTray = true;
  if (Application) Application->Minimize();
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TksSkinForm::RestoreFromTray() {
  if (!trayIcon_) return;
  trayIcon_->MinimizeToTray = false;
  trayIcon_->ShowMainForm();
  if (Application) Application->Restore();
  if (!AlwaysShowInTray) trayIcon_->SetIconVisible(false);
  if (OnRestoreFromTray) OnRestoreFromTray(this);
}
