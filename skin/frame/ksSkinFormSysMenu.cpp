// The frame's system menu, rebuilt from the window state and BorderIcons each
// time it is asked for, and the tray icon's menu, built once.
#include <array>
#include <functional>

#include "skin/data/ksConst.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/menus/ksSkinPopupMenu.h"

namespace {

struct SysItemRow {
  const char* name;
  const char* resName;
  std::function<bool(const TksSkinForm&, bool maximizedMDIChild)> exists;
};

bool Has(const TksSkinForm& f, TksBorderIcon i) { return f.BorderIcons().Contains(i); }

const std::array<SysItemRow, 6> kSysItems{{
    {"KSF_MINITEM", "MI_MINCAPTION",
     [](const TksSkinForm& f, bool) { return Has(f, TksBorderIcon::Minimize) && f.WindowState() != kwsMinimized; }},
    {"KSF_MAXITEM", "MI_MAXCAPTION",
     [](const TksSkinForm& f, bool) { return Has(f, TksBorderIcon::Maximize) && f.WindowState() != kwsMaximized; }},
    {"KSF_RESTORE", "MI_RESTORECAPTION",
     [](const TksSkinForm& f, bool) { return f.WindowState() != kwsNormal || f.RollUpState(); }},
    {"KSF_ROLLUP", "MI_ROLLUPCAPTION",
     [](const TksSkinForm& f, bool maxMDIChild) {
       return Has(f, TksBorderIcon::RollUp) && !f.RollUpState() && f.WindowState() != kwsMinimized && !maxMDIChild;
     }},
    {"KSF_MINTOTRAY", "MI_MINTOTRAYCAPTION",
     [](const TksSkinForm& f, bool) { return Has(f, TksBorderIcon::MinimizeToTray); }},
    {"KSF_CLOSE", "MI_CLOSECAPTION", [](const TksSkinForm&, bool) { return true; }},
}};

const SysItemRow& Row(const String& name) {
  for (const SysItemRow& r : kSysItems)
    if (name == r.name) return r;
  return kSysItems.back();
}

bool IsSysItemName(const String& name) {
  for (const SysItemRow& r : kSysItems)
    if (name == r.name) return true;
  return false;
}

void FreeItemAt(TMenuItem* root, int index) {
  TMenuItem* item = root->Items(index);
  root->Delete(index);
  item->Free();
}

}  // namespace

TMenuItem* TksSkinForm::NewSysItem(const char* name) {
  auto* item = new TMenuItem(this);
  item->Name = name;
  String key = name;
  if (key.rfind("TRAY_", 0) == 0) key = key.substr(5);
  if (key == "-") {
    item->SetCaption("-");
    return item;
  }
  item->SetCaption(KsResText(skinData_, Row(key).resName));
  if (key == "KSF_CLOSE") item->SetShortCut(form_->FormStyle() == fsMDIChild ? ShortCut(VK_F4, ssCtrl) : ShortCut(VK_F4, ssAlt));
  item->OnClick = Bind<&TksSkinForm::SysItemClick>(this);
  return item;
}

void TksSkinForm::SysItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  const String name = item->Name;
  if (name == "KSF_MINITEM") {
    if (AlwaysMinimizeToTray)
      MinimizeToTray();
    else
      SetWindowState(kwsMinimized);
  } else if (name == "KSF_MAXITEM") {
    SetWindowState(kwsMaximized);
  } else if (name == "KSF_RESTORE") {
    if (maxRollUpState_ || (rollUpState_ && windowState_ == kwsNormal))
      SetRollUpState(false);
    else
      SetWindowState(kwsNormal);
  } else if (name == "KSF_ROLLUP") {
    SetRollUpState(true);
  } else if (name == "KSF_MINTOTRAY") {
    MinimizeToTray();
  } else if (name == "TRAY_KSF_RESTORE") {
    RestoreFromTray();
  } else if (name == "KSF_CLOSE" || name == "TRAY_KSF_CLOSE") {
    form_->Close();
  }
}

void TksSkinForm::UpdateDefaultSystemMenu() {
  TMenuItem* root = sysPopupMenu_->Items();
  if (skinMenu_->Visible()) skinMenu_->CloseMenu();  // it may show the items about to go
  for (int i = root->Count() - 1; i >= 0; --i) FreeItemAt(root, i);
  const bool maxChild = form_->FormStyle() == fsMDIChild && windowState_ == kwsMaximized;
  for (const SysItemRow& r : kSysItems) {
    if (String(r.name) == "KSF_CLOSE") break;
    if (r.exists(*this, maxChild)) root->Add(NewSysItem(r.name));
  }
  if (root->Count() > 0) root->Add(NewSysItem("-"));
  root->Add(NewSysItem("KSF_CLOSE"));
}

void TksSkinForm::UpdateUserSystemMenu() {
  TMenuItem* root = systemMenu_->Items();
  if (skinMenu_->Visible()) skinMenu_->CloseMenu();
  for (int i = root->Count() - 1; i >= 0; --i)
    if (IsSysItemName(root->Items(i)->Name)) FreeItemAt(root, i);
  const bool maxChild = form_->FormStyle() == fsMDIChild && windowState_ == kwsMaximized;
  for (const char* name : {"KSF_MINTOTRAY", "KSF_ROLLUP", "KSF_MAXITEM", "KSF_RESTORE", "KSF_MINITEM"})
    if (Row(name).exists(*this, maxChild)) root->Insert(0, NewSysItem(name));
  root->Add(NewSysItem("KSF_CLOSE"));
}

TMenuItem* TksSkinForm::GetSystemMenu() {
  if (systemMenu_) {
    if (UseDefaultSysMenu) UpdateUserSystemMenu();
    return systemMenu_->Items();
  }
  UpdateDefaultSystemMenu();
  return sysPopupMenu_->Items();
}

void TksSkinForm::SetSystemMenu(TPopupMenu* value) { SetComponentReference(this, systemMenu_, value); }

void TksSkinForm::PopupSystemMenuAt(int x, int y) {
  TMenuItem* root = GetSystemMenu();
  SkinMenuOpen();
  skinMenu_->Popup(nullptr, menusSkinData_ ? menusSkinData_ : skinData_, false, root, TRect{x, y, x, y}, 0);
}

void TksSkinForm::CreateTrayMenu() {
  TMenuItem* root = trayPopupMenu_->Items();
  root->Add(NewSysItem("TRAY_KSF_RESTORE"));
  root->Add(NewSysItem("-"));
  root->Add(NewSysItem("TRAY_KSF_CLOSE"));
}
