// The frame's menu mode and the skinned popup menu component: keys from any
// window reach the open menu, the wheel does nothing, closing messages end the
// chain, nested opens keep the application's handler; the component finds its
// frame, takes its skin once and fires OnPopup first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/seams.h"
#include "framework/gui/extctrls.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/frame/tests/ksCaptionButton.h"
#include "skin/menus/ksSkinHint.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/menus/ksSkinPopupMenu.h"
#include "skin/menus/ksTrayIcon.h"
#include "skin/tests/ksFakeLayeredAlpha.h"
#include "skin/tests/ksFakeTimers.h"
#include "skin/tests/ksOneScreen.h"
#include "skin/tests/ksPoisonedFrees.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class FrameMenus : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    form->HandleNeeded();
    frame = new TksSkinForm(form);
    menu = new TksSkinPopupMenu(form);
    for (const char* c : {"One", "Two", "Three"}) {
      auto* item = new TMenuItem(form);
      item->SetCaption(c);
      item->OnClick = [this, c](TObject*) { log.push_back(std::string("click ") + c); };
      menu->Items()->Add(item);
    }
  }
  void TearDown() override {
    Application->OnMessage = nullptr;
    Application->ProcessMessages();
    SkinCtrls::TearDown();
  }
  // Posts a key to a window and pumps: the hook sees queued messages only.
  void PostKey(HWND wnd, WORD key) {
    PostMessageA(wnd, WM_KEYDOWN, key, 1);
    Application->ProcessMessages();
  }

  ScopedSeam<TScreenSeam> screen{OneScreen()};
  FakeTimers timers;
  TksSkinForm* frame = nullptr;
  TksSkinPopupMenu* menu = nullptr;
  std::vector<std::string> log;
};

TEST_F(FrameMenus, KeysPostedToAnyWindowGoToTheMenuAndNothingElse) {
  auto* edit = new TPanel(form);
  edit->SetParent(form);
  int keysSeen = 0;
  edit->SetWindowProc([edit, &keysSeen, old = edit->WindowProc()](TMessage& m) {
    if (m.Msg == WM_KEYDOWN) ++keysSeen;
    old(m);
  });
  std::vector<UINT> appHandlerSaw;
  Application->OnMessage = [&](TMsg& m, bool&) {
    if (m.message == WM_MOUSEWHEEL || m.message == WM_USER + 77) appHandlerSaw.push_back(m.message);
  };
  menu->Popup(100, 100);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  EXPECT_TRUE(frame->InSkinMenu());
  EXPECT_TRUE(frame->AppHooked());
  const int first = frame->SkinMenu()->TopLevel()->ActiveItem;
  ASSERT_EQ(first, 0);
  PostKey(edit->Handle(), VK_DOWN);
  EXPECT_EQ(frame->SkinMenu()->TopLevel()->ActiveItem, 1);
  EXPECT_EQ(keysSeen, 0);
  // The wheel is swallowed, other messages reach the application's handler.
  PostMessageA(edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  Application->ProcessMessages();
  PostMessageA(edit->Handle(), WM_USER + 77, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(appHandlerSaw, (std::vector<UINT>{WM_USER + 77}));
  PostKey(edit->Handle(), VK_RETURN);
  EXPECT_EQ(log, (std::vector<std::string>{"click Two"}));
  EXPECT_FALSE(frame->SkinMenu()->Visible());
  EXPECT_FALSE(frame->InSkinMenu());
  EXPECT_FALSE(frame->AppHooked());
  PostKey(edit->Handle(), VK_DOWN);
  EXPECT_EQ(keysSeen, 1);
}

TEST_F(FrameMenus, EscapeAndClosingMessagesEndMenuMode) {
  int opens = 0, closes = 0;
  frame->OnSkinMenuOpen = [&](TObject*) { ++opens; };
  frame->OnSkinMenuClose = [&](TObject*) { ++closes; };
  const UINT closing[] = {WM_ACTIVATE, WM_LBUTTONDOWN, WM_NCRBUTTONDOWN, WM_SIZE};
  for (UINT msg : closing) {
    SCOPED_TRACE(msg);
    menu->Popup(100, 100);
    ASSERT_TRUE(frame->SkinMenu()->Visible());
    form->Perform(msg, 0, 0);
    EXPECT_FALSE(frame->SkinMenu()->Visible());
    EXPECT_FALSE(frame->InSkinMenu());
    EXPECT_FALSE(frame->AppHooked());
  }
  menu->Popup(100, 100);
  PostKey(form->Handle(), VK_ESCAPE);
  EXPECT_FALSE(frame->SkinMenu()->Visible());
  EXPECT_FALSE(frame->InSkinMenu());
  EXPECT_EQ(opens, 5);
  EXPECT_EQ(closes, 5);
  // The menu key with a chain open closes it.
  menu->Popup(100, 100);
  form->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_FALSE(frame->SkinMenu()->Visible());
  EXPECT_FALSE(frame->InSkinMenu());
}

TEST_F(FrameMenus, NestedOpensRestoreTheApplicationsHandlerOnce) {
  bool mine = false;
  TMessageEvent appHandler = [&](TMsg&, bool&) { mine = true; };
  Application->OnMessage = appHandler;
  frame->SkinMenuOpen();
  frame->SkinMenuOpen();
  EXPECT_FALSE(Application->OnMessage == appHandler);
  frame->SkinMenuClose();
  TMsg msg{};
  bool handled = false;
  Application->OnMessage(msg, handled);
  EXPECT_TRUE(mine);
  EXPECT_FALSE(frame->AppHooked());
  // A handler set after the hook stays when menu mode ends.
  frame->SkinMenuOpen();
  bool later = false;
  Application->OnMessage = [&](TMsg&, bool&) { later = true; };
  frame->SkinMenuClose();
  Application->OnMessage(msg, handled);
  EXPECT_TRUE(later);
}

TEST_F(FrameMenus, FreeingTheFrameClosesItsMenuAndUnhooks) {
  bool mine = false;
  Application->OnMessage = [&](TMsg&, bool&) { mine = true; };
  menu->Popup(100, 100);
  ASSERT_TRUE(frame->AppHooked());
  {
    ScopedPoisonedFrees poisoned;  // Free() frees the engine before the frame's destructor runs
    frame->Free();
    frame = nullptr;
  }
  TMsg msg{};
  bool handled = false;
  Application->OnMessage(msg, handled);
  EXPECT_TRUE(mine);
}

// Freeing the frame frees its menu engine among its components: the open chain must be
// closed while the engine is still whole, not by the destructor after it is gone.
TEST_F(FrameMenus, FreeingTheFrameClosesTheMenuBeforeItsEngineGoes) {
  struct TWatch : TComponent {
    using TComponent::TComponent;
    TksSkinMenu* engine = nullptr;
    int openWhenFreed = -1;
    void Notification(TComponent* AComponent, TOperation Operation) override {
      if (Operation == opRemove && AComponent == engine) openWhenFreed = engine->Visible() ? 1 : 0;
      TComponent::Notification(AComponent, Operation);
    }
  } watch(nullptr);
  watch.engine = frame->SkinMenu();
  watch.engine->FreeNotification(&watch);
  menu->Popup(100, 100);
  ASSERT_TRUE(watch.engine->Visible());
  frame->Free();
  frame = nullptr;
  EXPECT_EQ(0, watch.openWhenFreed);
}

TEST_F(FrameMenus, PopupTakesTheFramesSkinOnceAndKeepsIt) {
  TksSkinData other(nullptr);
  frame->SetSkinData(&other);
  frame->SetMenusSkinData(&data);
  menu->Popup(100, 100);
  EXPECT_EQ(menu->SkinData(), &data);
  EXPECT_EQ(frame->SkinMenu()->SkinData(), &data);
  frame->SkinMenu()->CloseMenu();
  frame->SetMenusSkinData(nullptr);
  menu->Popup(100, 100);
  EXPECT_EQ(menu->SkinData(), &data);
  frame->SkinMenu()->CloseMenu();
  // Freeing the skin clears it; the next popup takes the frame's again.
  auto* gone = new TksSkinData(nullptr);
  menu->SetSkinData(gone);
  gone->Free();
  EXPECT_EQ(menu->SkinData(), nullptr);
  menu->Popup(100, 100);
  EXPECT_EQ(menu->SkinData(), &other);
  frame->SkinMenu()->CloseMenu();
  frame->SetSkinData(nullptr);
}

TEST_F(FrameMenus, TheFramesMenuPropertiesAreTheEngines) {
  TksSkinMenu* engine = frame->SkinMenu();
  EXPECT_FALSE(frame->MenusAlphaBlend());
  EXPECT_FALSE(frame->MenusAlphaBlendAnimation());
  EXPECT_EQ(frame->MenusAlphaBlendValue(), 200);
  EXPECT_EQ(engine->AlphaBlendValue, 200);
  EXPECT_TRUE(frame->UseSkinFontInMenu());
  EXPECT_EQ(frame->DefMenuItemHeight(), 20);
  frame->SetMenusAlphaBlendAnimation(true);
  frame->SetMenusAlphaBlendAnimation(false);
  EXPECT_FALSE(engine->AlphaBlendAnimation);
  frame->SetUseSkinFontInMenu(false);
  EXPECT_FALSE(engine->UseSkinFont);
  for (const int height : {24, 0, -3}) frame->SetDefMenuItemHeight(height);
  EXPECT_EQ(engine->DefMenuItemHeight, 24);
  TFont font;
  font.SetName("Courier New");
  font.SetHeight(17);
  frame->SetDefMenuItemFont(&font);
  EXPECT_EQ(frame->DefMenuItemFont(), engine->DefMenuItemFont());
  // A menu of the frame shows them: translucent, its rows as high and its text in that font.
  FakeLayeredAlpha xpAlpha;
  frame->SetMenusAlphaBlend(true);
  frame->SetMenusAlphaBlendValue(120);
  menu->Popup(100, 100);
  TksSkinPopupWindow* level = engine->TopLevel();
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(xpAlpha.alphas, (std::vector<int>{120}));
  EXPECT_NE(GetWindowLongA(level->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(RectHeight(level->Items[0]->ObjectRect), 24);
  EXPECT_EQ(level->ItemFont.Name(), "Courier New");
  EXPECT_EQ(level->ItemFont.Height(), 17);
  engine->CloseMenu();
}

TEST_F(FrameMenus, TheTrayMenuTakesEverySkinTheFrameIsGiven) {
  TksSkinData other(nullptr);
  for (TksSkinData* skin : {&data, &other, static_cast<TksSkinData*>(nullptr)}) {
    frame->SetSkinData(skin);
    EXPECT_EQ(frame->TrayPopupMenu()->SkinData(), skin);
  }
}

// The engine's levels draw from the container's descriptions and pictures, which
// a reload frees: the chain closes first, also for a container of the menus only.
TEST_F(FrameMenus, ReloadingTheContainerAnOpenMenuDrawsFromClosesIt) {
  for (const bool menusOnly : {true, false}) {
    SCOPED_TRACE(menusOnly);
    TksSkinData loaded(nullptr);
    loaded.FormWindows = [this] { return std::vector<HWND>{form->Handle()}; };
    loaded.SetCompressedStoredSkin(&stored);
    frame->SetSkinData(menusOnly ? &data : &loaded);
    frame->SetMenusSkinData(menusOnly ? &loaded : nullptr);
    frame->PopupSystemMenuAt(120, 90);
    ASSERT_TRUE(frame->SkinMenu()->Visible());
    ASSERT_EQ(frame->SkinMenu()->SkinData(), &loaded);
    HWND level = frame->SkinMenu()->TopLevel()->Handle();
    {
      ScopedPoisonedFrees poisoned;
      loaded.LoadCompressedStoredSkin(stored);
      // A level still up repaints from what the reload freed.
      if (IsWindowVisible(level)) {
        ADD_FAILURE() << "a level is still up";
        TBitmap b(10, 10);
        SendMessageA(level, WM_ERASEBKGND, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 0);
      }
      EXPECT_FALSE(frame->SkinMenu()->Visible());
      EXPECT_FALSE(frame->InSkinMenu());
      Application->ProcessMessages();
    }
    frame->SetMenusSkinData(nullptr);
    frame->SetSkinData(nullptr);
  }
}

TEST_F(FrameMenus, OnPopupRunsBeforeTheItemsAreRead) {
  menu->OnPopup = [this](TObject* sender) {
    EXPECT_EQ(sender, menu);
    menu->Items()->Items(0)->SetVisible(false);
  };
  menu->Popup(100, 100);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  // The level holds the visible items only and starts on the first of them.
  EXPECT_EQ(frame->SkinMenu()->TopLevel()->ActiveItem, 0);
  PostKey(form->Handle(), VK_RETURN);
  EXPECT_EQ(log, (std::vector<std::string>{"click Two"}));
}

TEST_F(FrameMenus, WhereTheMenuFindsItsFrame) {
  auto* holder = new TComponent(form);
  auto* owned = new TksSkinPopupMenu(holder);
  EXPECT_EQ(owned->FindSkinForm(), frame);
  auto* loose = new TksSkinPopupMenu(nullptr);
  auto* item = new TMenuItem(loose);
  item->SetCaption("Only");
  loose->Items()->Add(item);
  bool popped = false;
  loose->OnPopup = [&](TObject*) { popped = true; };
  loose->Popup(10, 10);
  EXPECT_TRUE(popped);
  EXPECT_FALSE(frame->InSkinMenu());
  EXPECT_EQ(loose->FindSkinForm(), nullptr);
  loose->SetPopupComponentForm(form);
  EXPECT_EQ(loose->FindSkinForm(), frame);
  // No skin anywhere: PopupAtPoint shows nothing, Popup shows the plain look.
  loose->PopupAtPoint(nullptr, 10, 10);
  EXPECT_FALSE(frame->SkinMenu()->Visible());
  loose->Popup(10, 10);
  EXPECT_TRUE(frame->SkinMenu()->Visible());
  frame->SkinMenu()->CloseMenu();
  loose->Free();
}

}  // namespace

namespace {

std::vector<std::string> Names(TMenuItem* root) {
  std::vector<std::string> r;
  for (int i = 0; i < root->Count(); ++i) r.push_back(root->Items(i)->Name.empty() ? "-" : root->Items(i)->Name);
  return r;
}

struct SysMenuRow {
  const char* name;
  TksFormWindowState state;
  bool rolledUp;
  TksBorderIcons icons;
  std::vector<std::string> items;
};

TEST_F(FrameMenus, SystemMenuFollowsStateAndBorderIcons) {
  using enum TksBorderIcon;
  const TksBorderIcons all{SystemMenu, Minimize, Maximize, RollUp, MinimizeToTray};
  const std::vector<SysMenuRow> rows{
      {"normal, all", kwsNormal, false, all,
       {"KSF_MINITEM", "KSF_MAXITEM", "KSF_ROLLUP", "KSF_MINTOTRAY", "-", "KSF_CLOSE"}},
      {"maximized", kwsMaximized, false, all,
       {"KSF_MINITEM", "KSF_RESTORE", "KSF_ROLLUP", "KSF_MINTOTRAY", "-", "KSF_CLOSE"}},
      {"minimized", kwsMinimized, false, all, {"KSF_MAXITEM", "KSF_RESTORE", "KSF_MINTOTRAY", "-", "KSF_CLOSE"}},
      {"rolled up", kwsNormal, true, all,
       {"KSF_MINITEM", "KSF_MAXITEM", "KSF_RESTORE", "KSF_MINTOTRAY", "-", "KSF_CLOSE"}},
      {"none", kwsNormal, false, {}, {"KSF_CLOSE"}},
      {"system menu only", kwsNormal, false, {SystemMenu}, {"KSF_CLOSE"}},
      {"maximized, none", kwsMaximized, false, {}, {"KSF_RESTORE", "-", "KSF_CLOSE"}},
      {"minimize only", kwsNormal, false, {Minimize}, {"KSF_MINITEM", "-", "KSF_CLOSE"}},
  };
  for (const SysMenuRow& row : rows) {
    SCOPED_TRACE(row.name);
    frame->SetBorderIcons(row.icons);
    frame->SetWindowState(row.state);
    frame->SetRollUpState(row.rolledUp);
    EXPECT_EQ(Names(frame->GetSystemMenu()), row.items);
    frame->SetRollUpState(false);
    frame->SetWindowState(kwsNormal);
  }
}

TEST_F(FrameMenus, SystemMenuCaptionsShortcutsAndActions) {
  TMenuItem* root = frame->GetSystemMenu();
  EXPECT_EQ(root->Items(0)->Caption(), "Mi&nimize");
  EXPECT_EQ(root->Items(root->Count() - 1)->Caption(), "&Close");
  EXPECT_EQ(root->Items(root->Count() - 1)->ShortCut(), ShortCut(VK_F4, ssAlt));
  // Captions come from the skin's texts; a missing name gives an empty caption.
  TksResourceStrData texts(nullptr);
  texts.ResStrings().Clear();
  texts.ResStrings().Add("MI_CLOSECAPTION=Schlie&ssen");
  data.SetResourceStrData(&texts);
  frame->SetSkinData(&data);
  root = frame->GetSystemMenu();
  EXPECT_EQ(root->Items(root->Count() - 1)->Caption(), "Schlie&ssen");
  EXPECT_EQ(root->Items(0)->Caption(), "");
  frame->SetSkinData(nullptr);
  data.SetResourceStrData(nullptr);
  // Roll up, then Restore rolls down; Maximize, then Restore.
  frame->SetBorderIcons({TksBorderIcon::RollUp, TksBorderIcon::Maximize});
  auto click = [&](const char* name) {
    TMenuItem* r = frame->GetSystemMenu();
    for (int i = 0; i < r->Count(); ++i)
      if (r->Items(i)->Name == name) return r->Items(i)->Click(), true;
    return false;
  };
  ASSERT_TRUE(click("KSF_ROLLUP"));
  EXPECT_TRUE(frame->RollUpState());
  ASSERT_TRUE(click("KSF_RESTORE"));
  EXPECT_FALSE(frame->RollUpState());
  ASSERT_TRUE(click("KSF_MAXITEM"));
  EXPECT_EQ(frame->WindowState(), kwsMaximized);
  ASSERT_TRUE(click("KSF_RESTORE"));
  EXPECT_EQ(frame->WindowState(), kwsNormal);
}

TEST_F(FrameMenus, UserSystemMenuIsSurroundedUnlessDefaultsAreOff) {
  TPopupMenu user(nullptr);
  for (const char* n : {"AppOne", "AppTwo"}) {
    auto* item = new TMenuItem(&user);
    item->Name = n;
    item->SetCaption(n);
    user.Items()->Add(item);
  }
  frame->SetSystemMenu(&user);
  frame->SetBorderIcons({TksBorderIcon::Minimize, TksBorderIcon::Maximize});
  const std::vector<std::string> surrounded{"KSF_MINITEM", "KSF_MAXITEM", "AppOne", "AppTwo", "KSF_CLOSE"};
  EXPECT_EQ(Names(frame->GetSystemMenu()), surrounded);
  // Asked again, the frame's items are replaced, not added twice.
  EXPECT_EQ(Names(frame->GetSystemMenu()), surrounded);
  frame->SetSystemMenu(nullptr);
  TPopupMenu plain(nullptr);
  auto* only = new TMenuItem(&plain);
  only->Name = "Mine";
  plain.Items()->Add(only);
  frame->SetSystemMenu(&plain);
  frame->UseDefaultSysMenu = false;
  EXPECT_EQ(Names(frame->GetSystemMenu()), (std::vector<std::string>{"Mine"}));
  frame->SetSystemMenu(nullptr);
}

TEST_F(FrameMenus, RightClickOnTheCaptionOpensTheSystemMenuAtTheCursor) {
  form->SetBounds(100, 80, 300, 200);
  form->Show();
  ScopedSeam<TPointerSeam> pointer{TPointerSeam{.GetCursorPos = [](POINT* p) -> BOOL {
    *p = POINT{150, 90};
    return TRUE;
  }}};
  // The system tracks a caption press until the button comes up.
  PostMessageA(form->Handle(), WM_RBUTTONUP, 0, 0);
  form->Perform(WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(150, 90));
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  EXPECT_TRUE(frame->InSkinMenu());
  TksSkinPopupWindow* level = frame->SkinMenu()->TopLevel();
  EXPECT_EQ(level->Left(), 150);
  EXPECT_EQ(level->Top(), 90);
  form->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_FALSE(frame->SkinMenu()->Visible());
}

TEST_F(FrameMenus, TrayMenuIsBuiltOnceWithRestoreAndClose) {
  TMenuItem* root = frame->TrayPopupMenu()->Items();
  EXPECT_EQ(Names(root), (std::vector<std::string>{"TRAY_KSF_RESTORE", "-", "TRAY_KSF_CLOSE"}));
  EXPECT_EQ(root->Items(0)->Caption(), "&Restore");
  EXPECT_EQ(root->Items(2)->Caption(), "&Close");
  EXPECT_EQ(frame->TrayPopupMenu()->FindSkinForm(), frame);
}

TEST_F(FrameMenus, MinimizeToTrayAndRestoreFromTheTrayMenuAndTheDoubleClick) {
  ScopedSeam<TksSystemSeam> shell{TksSystemSeam{.ShellNotifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; }}};
  auto* tray = new TksTrayIcon(form);
  tray->SetIconVisible(true);
  frame->SetTrayIcon(tray);
  // The frame drives it: hidden until minimized, with the frame's menu and restore.
  EXPECT_FALSE(tray->IconVisible());
  EXPECT_FALSE(tray->MinimizeToTray);
  EXPECT_EQ(tray->PopupMenu(), frame->TrayPopupMenu());
  std::vector<std::string> events;
  frame->OnMinimizeToTray = [&](TObject*) { events.push_back("to tray"); };
  frame->OnRestoreFromTray = [&](TObject*) { events.push_back("back"); };
  frame->AlwaysMinimizeToTray = true;
  frame->SetBorderIcons({TksBorderIcon::Minimize});
  TMenuItem* minimize = frame->GetSystemMenu()->Items(0);
  ASSERT_EQ(minimize->Name, "KSF_MINITEM");
  minimize->Click();
  EXPECT_TRUE(tray->MinimizeToTray);
  EXPECT_EQ(frame->WindowState(), kwsNormal);
  frame->TrayPopupMenu()->Items()->Items(0)->Click();
  EXPECT_FALSE(tray->MinimizeToTray);
  EXPECT_FALSE(tray->IconVisible());
  frame->MinimizeToTray();
  tray->SetIconVisible(true);
  frame->AlwaysShowInTray = true;
  tray->OnDblClick(tray);
  EXPECT_FALSE(tray->MinimizeToTray);
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_EQ(events, (std::vector<std::string>{"to tray", "back", "to tray", "back"}));
  // The menu and handler it was given go with the frame.
  frame->Free();
  frame = nullptr;
  EXPECT_EQ(tray->PopupMenu(), nullptr);
  EXPECT_FALSE(static_cast<bool>(tray->OnDblClick));
  tray->Free();
}

// The tray icon and the frame both take over the form's procedure; whichever is
// freed first while the other sits on top of it, its code runs no more.
TEST_F(FrameMenus, FrameAndTrayIconFreedInEitherOrderLeaveNothingFreedRunning) {
  ScopedSeam<TksSystemSeam> shell{TksSystemSeam{.ShellNotifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; }}};
  HWND app = Application->Handle();
  const bool appShown = IsWindowVisible(app) != FALSE;
  for (const bool trayFirst : {true, false}) {
    SCOPED_TRACE(trayFirst);
    if (frame) frame->Free();
    frame = nullptr;
    TksTrayIcon* tray = nullptr;
    if (trayFirst) tray = new TksTrayIcon(form);
    frame = new TksSkinForm(form);
    if (!trayFirst) tray = new TksTrayIcon(form);
    ShowWindow(app, SW_HIDE);
    ScopedPoisonedFrees poisoned;
    if (trayFirst) {
      tray->Free();
      // The tray icon shows the application when its form is shown.
      form->Perform(WM_SHOWWINDOW, 1, 0);
      EXPECT_FALSE(IsWindowVisible(app));
      // The frame still has the form's messages.
      form->Perform(WM_NCACTIVATE, 0, 0);
      EXPECT_FALSE(frame->FormActive());
      form->Perform(WM_NCACTIVATE, 1, 0);
      EXPECT_TRUE(frame->FormActive());
    } else {
      frame->Free();
      frame = nullptr;
      EXPECT_EQ(form->Perform(WM_NCHITTEST, 0, MAKELPARAM(150, 100)), HTCLIENT);
      tray->Free();
      EXPECT_EQ(form->Perform(WM_NCHITTEST, 0, MAKELPARAM(150, 100)), HTCLIENT);
    }
  }
  if (appShown) ShowWindow(app, SW_SHOWNA);
}

TEST_F(FrameMenus, ATrayIconWithItsOwnMenuKeepsIt) {
  ScopedSeam<TksSystemSeam> shell{TksSystemSeam{.ShellNotifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; }}};
  auto* tray = new TksTrayIcon(form);
  TPopupMenu own(nullptr);
  tray->SetPopupMenu(&own);
  bool mine = false;
  tray->OnDblClick = [&](TObject*) { mine = true; };
  frame->SetTrayIcon(tray);
  EXPECT_EQ(tray->PopupMenu(), &own);
  frame->Free();
  frame = nullptr;
  EXPECT_EQ(tray->PopupMenu(), &own);
  tray->OnDblClick(tray);
  EXPECT_TRUE(mine);
  tray->SetPopupMenu(nullptr);
  tray->Free();
}

TEST_F(FrameMenus, PressOnTheSystemMenuButtonOpensItBelowAndACloseReleasesIt) {
  form->SetBounds(100, 80, 300, 200);
  form->Show();
  form->Perform(WM_NCACTIVATE, 1, 0);
  TksSkinStdButtonObject* button = CaptionButton(*frame, cmSysMenu);
  ASSERT_NE(button, nullptr);
  const TRect r = button->ObjectRect;
  frame->TestActive((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, true);
  frame->MouseDownToObject(mbLeft, r.Left + 2, r.Top + 2);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  EXPECT_TRUE(button->Down);
  TksSkinPopupWindow* level = frame->SkinMenu()->TopLevel();
  EXPECT_EQ(level->Top(), form->Top() + r.Bottom);
  EXPECT_EQ(level->Left(), form->Left() + r.Left);
  // A close message ends the chain and lets the button up.
  form->Perform(WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(frame->SkinMenu()->Visible());
  EXPECT_FALSE(button->Down);
  EXPECT_FALSE(frame->InSkinMenu());
}

TEST_F(FrameMenus, AnObjectMenuOfAPopupComponentIsShownByThatComponent) {
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  EXPECT_TRUE(frame->PopupObjectMenu(menu->Items(), TRect{10, 10, 30, 30}, false));
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(frame->InSkinMenu());
  frame->SkinMenu()->CloseMenu();
  // A plain menu goes to the engine directly.
  TPopupMenu plain(nullptr);
  auto* item = new TMenuItem(&plain);
  item->SetCaption("Plain");
  plain.Items()->Add(item);
  EXPECT_TRUE(frame->PopupObjectMenu(plain.Items(), TRect{10, 10, 30, 30}, false));
  EXPECT_EQ(popups, 1);
  frame->SkinMenu()->CloseMenu();
  EXPECT_FALSE(frame->InSkinMenu());
}

TEST_F(FrameMenus, ObjectHintsShowAfterThePauseAndGoWithThePointer) {
  TksSkinHint hint(form);
  frame->SetSkinHint(&hint);
  frame->ShowObjectHint = true;
  frame->SetSkinData(&data);  // the caption buttons' hints come with a skin
  form->Perform(WM_NCACTIVATE, 1, 0);
  const TksActiveSkinObject* close = CaptionButton(*frame, cmClose);
  ASSERT_NE(close, nullptr);
  ASSERT_EQ(close->Hint, "Close");
  const TRect r = close->ObjectRect;
  frame->TestActive((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, true);
  ASSERT_NE(hint.Timer(), nullptr);
  EXPECT_EQ(timers.armed.at(hint.Timer()->TimerId()), static_cast<UINT>(Application->HintPause));
  frame->TestActive(-1, -1, false);
  EXPECT_EQ(hint.Timer(), nullptr);
  // Without ShowObjectHint nothing is asked of the hint.
  frame->ShowObjectHint = false;
  frame->TestActive((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, true);
  EXPECT_EQ(hint.Timer(), nullptr);
  frame->SetSkinHint(nullptr);
  frame->SetSkinData(nullptr);
}

TEST_F(FrameMenus, AskingForTheSystemMenuAgainClosesTheOpenOneFirst) {
  frame->PopupSystemMenuAt(120, 90);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  TMenuItem* root = frame->GetSystemMenu();
  EXPECT_FALSE(frame->SkinMenu()->Visible());
  EXPECT_FALSE(frame->InSkinMenu());
  EXPECT_GT(root->Count(), 0);
}

}  // namespace
