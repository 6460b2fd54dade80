// The frame's menu mode and the skinned popup menu component: keys from any
// window reach the open menu, the wheel does nothing, closing messages end the
// chain, nested opens keep the application's handler; the component finds its
// frame, takes its skin once and fires OnPopup first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/seams.h"
#include "framework/gui/extctrls.h"
#include "skin/ksSkinForm.h"
#include "skin/ksSkinMenus.h"
#include "skin/ksSkinPopupMenu.h"
#include "skin/tests/ksFakeTimers.h"
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

  ScopedSeam<TScreenSeam> screen{TScreenSeam{.Monitors = [] {
    TMonitorInfo m;
    m.Bounds = m.WorkArea = RECT{0, 0, 800, 600};
    m.Primary = true;
    return std::vector<TMonitorInfo>{m};
  }}};
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
  frame->Free();
  frame = nullptr;
  TMsg msg{};
  bool handled = false;
  Application->OnMessage(msg, handled);
  EXPECT_TRUE(mine);
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
