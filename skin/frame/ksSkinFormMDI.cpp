// The frames of an MDI main form and of its children work together: a child keeps
// its window state inside the main form's client area and tells the main form
// when it is maximized or restored; it keeps an item in the main form's window
// menu and a tab on its tabs bar; the main form paints its MDI client from the
// skin and keeps maximized and minimized children in place.
#include <algorithm>

#include "framework/gui/application.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/draw/ksUtils.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/frame/ksSkinMDITabsBar.h"
#include "skin/menus/ksSkinMainMenuBar.h"

namespace {

const String kChildItemSuffix = "_KSFCHILDITEM";

TCustomForm* MainForm() { return Application ? Application->MainForm() : nullptr; }

std::vector<TCustomForm*> MDIChildrenOfMain() {
  std::vector<TCustomForm*> children;
  TCustomForm* main = MainForm();
  if (!main || main->FormStyle() != fsMDIForm) return children;
  for (int i = 0; i < main->MDIChildCount(); ++i) children.push_back(main->MDIChildren(i));
  return children;
}

bool FrameMaximized(TCustomForm* form) {
  TksSkinForm* frame = TksSkinForm::GetSkinFormComponent(form);
  return frame && frame->WindowState() == kwsMaximized;
}

// The child's name when the item is one of the window menu's child items, else empty.
String ChildNameOf(const TMenuItem* item) {
  const String& name = item->Name;
  const size_t at = name.find(kChildItemSuffix);
  if (at == String::npos) return String();
  String rest = name;
  rest.erase(at, kChildItemSuffix.size());
  return rest;
}

}  // namespace

bool TksSkinForm::IsMDIChild() const { return form_->FormStyle() == fsMDIChild; }
bool TksSkinForm::IsMDIForm() const { return form_->FormStyle() == fsMDIForm; }

TksSkinForm* TksSkinForm::MainSkinForm() { return GetSkinFormComponent(MainForm()); }

TksSkinForm* TksSkinForm::GetMaximizedMDIChildSkinForm() {
  for (TCustomForm* child : MDIChildrenOfMain())
    if (FrameMaximized(child)) return GetSkinFormComponent(child);
  return nullptr;
}

TksSkinForm* TksSkinForm::GetActiveMDIChildSkinForm() {
  TCustomForm* main = MainForm();
  return main && main->FormStyle() == fsMDIForm ? GetSkinFormComponent(main->ActiveMDIChild()) : nullptr;
}

TCustomForm* TksSkinForm::GetMaximizedMDIChild() {
  TCustomForm* main = MainForm();
  if (!main || main->FormStyle() != fsMDIForm) return nullptr;
  if (TCustomForm* active = main->ActiveMDIChild(); active && FrameMaximized(active)) return active;
  for (TCustomForm* child : MDIChildrenOfMain())
    if (FrameMaximized(child)) return child;
  return nullptr;
}

namespace {

TRect WorkAreaOf(TCustomForm* form) {
  if (!form) return TRect{};
  TRect r{0, 0, form->ClientWidth(), form->ClientHeight()};
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* c = form->Controls(i);
    if (!c->Visible()) continue;
    switch (c->Align()) {
      case alTop: r.Top = std::max(r.Top, c->Top() + c->Height()); break;
      case alBottom: r.Bottom = std::min(r.Bottom, c->Top()); break;
      case alLeft: r.Left = std::max(r.Left, c->Left() + c->Width()); break;
      case alRight: r.Right = std::min(r.Right, c->Left()); break;
      default: break;
    }
  }
  return r;
}

}  // namespace

TRect TksSkinForm::GetMDIWorkArea() { return WorkAreaOf(MainForm()); }

// The system sizes the client window over the whole client area; the form's
// aligned bars keep their places and it gets what they leave.
void TksSkinForm::PlaceMDIClient() {
  HWND client = form_->ClientHandle();
  if (!IsMDIForm() || !client) return;
  const TRect r = WorkAreaOf(form_);
  RECT now{};
  GetWindowRect(client, &now);
  MapWindowPoints(nullptr, form_->Handle(), reinterpret_cast<POINT*>(&now), 2);
  if (TRect{now.left, now.top, now.right, now.bottom} == r) return;
  SetWindowPos(client, HWND_BOTTOM, r.Left, r.Top, std::max(0, RectWidth(r)), std::max(0, RectHeight(r)),
               SWP_NOACTIVATE);
}

// ---- window menu -------------------------------------------------------------------------

void TksSkinForm::AddChildToMenu() {
  TCustomForm* main = MainForm();
  if (!MainSkinForm() || !main->WindowMenu) return;
  auto* item = new TMenuItem(this);
  item->Name = form_->Name + kChildItemSuffix;
  item->SetCaption(form_->Caption());
  item->OnClick = Bind<&TksSkinForm::ChildMenuItemClick>(this);
  main->WindowMenu->Add(item);
}

void TksSkinForm::DeleteChildFromMenu() {
  TCustomForm* main = MainForm();
  if (!MainSkinForm() || !main->WindowMenu) return;
  TMenuItem* menu = main->WindowMenu;
  auto freeFirst = [menu](auto matches) {
    for (int i = 0; i < menu->Count(); ++i) {
      TMenuItem* item = menu->Items(i);
      if (item->Name.find(kChildItemSuffix) == String::npos || !matches(item)) continue;
      menu->Delete(i);
      delete item;
      return;
    }
  };
  freeFirst([this](TMenuItem* item) { return ChildNameOf(item) == form_->Name; });
  if (main->MDIChildCount() == 0) freeFirst([](TMenuItem*) { return true; });
}

void TksSkinForm::UpdateChildMenuItem() {
  TCustomForm* main = MainForm();
  if (!MainSkinForm() || !main->WindowMenu) return;
  for (int i = 0; i < main->WindowMenu->Count(); ++i) {
    TMenuItem* item = main->WindowMenu->Items(i);
    if (item->Name.find(kChildItemSuffix) != String::npos && ChildNameOf(item) == form_->Name)
      item->SetCaption(form_->Caption());
  }
}

void TksSkinForm::CheckChildMenuItems() {
  TCustomForm* main = MainForm();
  if (!MainSkinForm() || !main->WindowMenu) return;
  TCustomForm* active = main->ActiveMDIChild();
  for (int i = 0; i < main->WindowMenu->Count(); ++i) {
    TMenuItem* item = main->WindowMenu->Items(i);
    if (item->Name.find(kChildItemSuffix) == String::npos) continue;
    item->SetChecked(active && ChildNameOf(item) == active->Name);
  }
}

void TksSkinForm::ChildMenuItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TCustomForm* main = MainForm();
  if (!item || !main) return;
  for (TCustomForm* child : MDIChildrenOfMain()) {
    if (child->Name != ChildNameOf(item)) continue;
    TksSkinForm* frame = GetSkinFormComponent(child);
    if (frame && frame->WindowState() == kwsMinimized) frame->SetWindowState(kwsNormal);
    child->Show();
    if (main->ClientHandle() && child->HandleAllocated())
      SendMessageA(main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    child->BringToFront();
  }
}

// ---- tabs and the main menu bar ---------------------------------------------------------------

void TksSkinForm::SetMDITabsBar(TksSkinMDITabsBar* value) { SetComponentReference(this, mdiTabsBar_, value); }

void TksSkinForm::AddChildToTabs() {
  if (TksSkinForm* main = MainSkinForm(); main && main->mdiTabsBar_) main->mdiTabsBar_->AddTab(form_);
}

void TksSkinForm::DeleteChildFromTabs() {
  if (TksSkinForm* main = MainSkinForm(); main && main->mdiTabsBar_) main->mdiTabsBar_->DeleteTab(form_);
}

void TksSkinForm::UpdateChildTab() {
  if (TksSkinForm* main = MainSkinForm(); main && main->mdiTabsBar_) main->mdiTabsBar_->RedrawTabsOf(form_);
}

void TksSkinForm::UpdateMDITabsBar() {
  if (TksSkinForm* main = MainSkinForm(); main && main->mdiTabsBar_) main->mdiTabsBar_->UpdateActiveTab();
}

void TksSkinForm::UpdateMainMenuBarMDIButtons() {
  TksSkinForm* main = MainSkinForm();
  if (!main || !main->mainMenuBar_) return;
  bool childMenu = false;
  if (TCustomForm* active = main->form_->ActiveMDIChild())
    for (int i = 0; i < active->ComponentCount() && !childMenu; ++i)
      childMenu = dynamic_cast<TMainMenu*>(active->Components(i)) != nullptr;
  if (childMenu || main->mainMenuBar_->MergedMenu()) main->mainMenuBar_->UpdateItems();
}

// ---- main form ---------------------------------------------------------------------------------

void TksSkinForm::SendToMainForm(UINT msg) {
  TCustomForm* main = MainForm();
  if (main && main != form_ && main->HandleAllocated()) SendMessageA(main->Handle(), msg, 0, 0);
}

void TksSkinForm::UpdateMDIChildren() {
  if (TksSkinForm* main = MainSkinForm()) main->PlaceMDIClient();
  for (TCustomForm* child : MDIChildrenOfMain())
    if (child->HandleAllocated()) SendMessageA(child->Handle(), WM_UPDATEMDICHILD, 0, 0);
  ArrangeMinimizedChilds();
}

void TksSkinForm::ArrangeMinimizedChilds() {
  for (TCustomForm* child : MDIChildrenOfMain()) {
    TksSkinForm* frame = GetSkinFormComponent(child);
    if (!frame || frame->WindowState() != kwsMinimized) continue;
    const TPoint p = frame->GetMinimizedPosition();
    child->SetBounds(p.X, p.Y, child->Width(), child->Height());
  }
}

// The client window is ours while the frame lives; the frame going puts it back.
void TksSkinForm::SubclassMDIClient() {
  if (mdiClient_ || !form_->ClientHandle()) return;
  mdiClient_ = std::make_unique<TWindowSubclass>(
      form_->ClientHandle(), [this](TWindowSubclass& sub, TMessage& m) { MDIClientWndProc(sub, m); });
  UpdateFrameSize();
}

void TksSkinForm::MDIClientWndProc(TWindowSubclass& sub, TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      m.Result = 0;
      return;
    case WM_NCACTIVATE:
      m.Result = 1;
      return;
    case WM_SIZE:
      sub.CallPrevious(m);
      UpdateMDIChildren();
      if (!logoBitMap_.Empty()) {
        const RECT r{0, 0, form_->ClientWidth(), form_->ClientHeight()};
        RedrawWindow(sub.Handle(), &r, nullptr, RDW_INVALIDATE | RDW_ERASE);
      }
      return;
    case WM_ERASEBKGND:
      PaintMDIClientBackground(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return;
    default:
      sub.CallPrevious(m);
  }
}

void TksSkinForm::PaintMDIClientBackground(HDC dc) {
  if (!mdiClient_ || !dc) return;
  RECT cr{};
  GetClientRect(mdiClient_->Handle(), &cr);
  TBitmap b(std::max<int>(cr.right, 1), std::max<int>(cr.bottom, 1));
  TCanvas* c = b.Canvas();
  // An MDI picture index naming no picture falls back like an unset one.
  TBitmap* mdiPicture = skinnable_ ? skinData_->ActivePicture(skinData_->MDIBGPictureIndex) : nullptr;
  if (mdiPicture && !mdiPicture->Empty()) {
    TileFormPicture(c, mdiPicture, TRect{0, 0, mdiPicture->Width(), mdiPicture->Height()}, b.Width(), b.Height());
  } else if (skinnable_) {
    PaintClientBackground(c);
  } else {
    c->Brush()->SetColor(clAppWorkSpace);
    c->FillRect(TRect{0, 0, b.Width(), b.Height()});
    DrawLogo(c);
  }
  BitBlt(dc, 0, 0, b.Width(), b.Height(), c->Handle(), 0, 0, SRCCOPY);
}

// ---- the frame's window procedure on MDI forms ---------------------------------------------------

std::optional<bool> TksSkinForm::HandleMDIMessage(TMessage& m) {
  const bool child = IsMDIChild(), main = IsMDIForm();
  const bool maxChild = IsMaximizedMDIChild();
  switch (m.Msg) {
    case WM_SIZE:
      if (!main) return std::nullopt;
      WMSize(m);
      PlaceMDIClient();
      return true;
    case WM_DESTROY:
      StopTimers();
      if (main) mdiClient_.reset();
      if (!child) return false;
      DeleteChildFromTabs();
      windowState_ = kwsNormal;
      SendToMainForm(WM_MDICHILDRESTORE);
      UpdateMainMenuBarMDIButtons();
      UpdateMDITabsBar();
      return false;
    case WM_ACTIVATE:
      CallOld(m);
      RepaintFrame();
      if (maxChild) {
        UpdateActiveState(false);
      } else {
        ResetObjects();
        UpdateActiveState(true);
      }
      if (main) UpdateMainMenuBarMDIButtons();
      return true;
    case WM_SETTEXT:
      CallOld(m);
      if (form_->BorderStyle() != bsNone && !maxChild) RepaintFrame();
      if (child) {
        UpdateChildMenuItem();
        UpdateChildTab();
        if (TksSkinForm* mainFrame = MainSkinForm(); maxChild && mainFrame) mainFrame->RepaintFrame();
      }
      return true;
    case WM_ERASEBKGND:
      // The client window paints a main form's background.
      if (main) return false;
      return std::nullopt;
    case WM_SHOWWINDOW:
      ShowFade(m.WParam != 0);
      if (m.WParam != 0) {
        if (main)
          SubclassMDIClient();
        else
          UpdateFrameSize();
        if (child) {
          AddChildToMenu();
          AddChildToTabs();
        }
        if (form_->Menu()) form_->SetMenu(nullptr);
      } else if (child) {
        DeleteChildFromMenu();
        DeleteChildFromTabs();
      }
      return false;
    case WM_MOUSEACTIVATE:
      if (child && MainForm() && MainForm()->ActiveMDIChild() == form_ && !formActive_) {
        formActive_ = true;
        UpdateActiveState(!maxChild);
      }
      return false;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      // A maximized child has no frame: its client area is its whole window.
      if (!maxChild) return std::nullopt;
      m.Result = 0;
      return true;
    case WM_NCHITTEST:
      if (!maxChild) return std::nullopt;
      m.Result = HTCLIENT;
      return true;
    case WM_NCACTIVATE:
      formActive_ = m.WParam != 0;
      CallOld(m);
      if (maxChild || form_->BorderStyle() == bsNone) {
        UpdateActiveState(false);
      } else {
        RepaintFrame();
        UpdateActiveState(true);
      }
      if (child) {
        CheckChildMenuItems();
        if (TksSkinForm* mainFrame = MainSkinForm(); maxChild && mainFrame) mainFrame->RepaintFrame();
        UpdateMainMenuBarMDIButtons();
        UpdateMDITabsBar();
      }
      return true;
    case WM_MDIACTIVATE:
      // The client sends WM_NCACTIVATE only while the main form is the active window;
      // this message reaches the newly active child every time.
      CallOld(m);
      if (child && reinterpret_cast<HWND>(m.LParam) == form_->Handle()) {
        CheckChildMenuItems();
        UpdateMainMenuBarMDIButtons();
        UpdateMDITabsBar();
      }
      return true;
    case WM_AFTERCHANGESKINDATA:
      if (main && reinterpret_cast<TksSkinData*>(m.WParam) == skinData_) UpdateMDIChildren();
      return false;
    case WM_UPDATEMDICHILD:
      if (maxChild) {
        const TRect a = GetMDIWorkArea();
        form_->SetBounds(0, 0, RectWidth(a), RectHeight(a));
      }
      return false;
    case WM_MDICHILDMAX:
      if (!main) return false;
      mdiChildMaximize_ = true;
      RepaintFrame();
      if (mainMenuBar_) mainMenuBar_->ShowMDIButtons();
      return false;
    case WM_MDICHILDRESTORE:
      if (!main) return false;
      mdiChildMaximize_ = GetMaximizedMDIChild() != nullptr;
      RepaintFrame();
      if (mainMenuBar_) mainMenuBar_->UpdateMDIButtons();
      return false;
    default:
      return std::nullopt;
  }
}
