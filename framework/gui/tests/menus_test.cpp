#include <gtest/gtest.h>

#include "framework/gui/menus.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

TEST(ShortCutTest, TextsRoundTrip) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  };
  const Case cases[] = {
      {static_cast<TShortCut>(VK_F4 | scCtrl), "Ctrl+F4"},
      {static_cast<TShortCut>(VK_F4 | scAlt), "Alt+F4"},
      {VK_DELETE, "Del"},
      {VK_ESCAPE, "Esc"},
      {static_cast<TShortCut>('S' | scCtrl | scShift), "Shift+Ctrl+S"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, ShortCutToText(c.shortCut));
    EXPECT_EQ(c.shortCut, TextToShortCut(c.text)) << c.text;
  }
  EXPECT_EQ(static_cast<TShortCut>('S' | scCtrl), ShortCut('S', ssCtrl));
  EXPECT_EQ(scNone, TextToShortCut("Ctrl+Nothing"));
}

TMenuItem* AddItem(TMenuItem* parent, const char* caption, TShortCut shortCut = scNone) {
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  parent->Add(item);
  return item;
}

TEST(MenuTest, FormDispatchesCommandsAndShortCuts) {
  auto form = MakeForm();
  TMainMenu menu(nullptr);
  TMenuItem* file = AddItem(menu.Items(), "&File");
  TMenuItem* save = AddItem(file, "&Save", ShortCut('S', ssCtrl));
  TMenuItem* off = AddItem(file, "&Off", ShortCut('O', ssCtrl));
  off->SetEnabled(false);
  std::vector<std::string> clicks;
  save->OnClick = [&](TObject*) { clicks.push_back("save"); };
  off->OnClick = [&](TObject*) { clicks.push_back("off"); };
  file->OnClick = [&](TObject*) { clicks.push_back("file opens"); };
  form->SetMenu(&menu);
  TProbeControl box(nullptr, form.get(), Bounds(0, 0, 40, 20));
  ShowAndActivate(*form);
  EXPECT_EQ(menu.Handle(), GetMenu(form->Handle()));

  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(save->Command(), 0), 0);
  SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->Handle()), 0);
  EXPECT_EQ((std::vector<std::string>{"save", "file opens"}), clicks);

  clicks.clear();
  box.SetFocus();
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageA(box.Handle(), WM_KEYDOWN, 'S', 1);
  PostMessageA(box.Handle(), WM_KEYDOWN, 'O', 1);  // disabled: not a shortcut, delivered
  Pump();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ((std::vector<std::string>{"save"}), clicks);
  EXPECT_EQ(1, box.Count(WM_KEYDOWN));
  form->SetMenu(nullptr);
  EXPECT_EQ(nullptr, GetMenu(form->Handle()));
}

TEST(MenuTest, FreeingAnItemDetachesItAndItsChildren) {
  TestApp();
  TPopupMenu menu(nullptr);
  TMenuItem* a = AddItem(menu.Items(), "A");
  TMenuItem* b = AddItem(menu.Items(), "B");
  AddItem(b, "B1");
  AddItem(b, "B2");
  HMENU before = menu.Handle();
  EXPECT_EQ(2, GetMenuItemCount(before));
  b->Free();
  EXPECT_EQ(1, menu.Items()->Count());
  EXPECT_EQ(a, menu.Items()->Items(0));
  EXPECT_EQ(1, GetMenuItemCount(menu.Handle()));
  EXPECT_EQ(0, a->MenuIndex());
}

class TRecordingPopup : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  std::vector<TPoint> At;
  void Popup(int X, int Y) override { At.push_back(Point(X, Y)); }
};

TEST(MenuTest, ContextMenuPopsUpTheControlsMenu) {
  auto form = MakeForm();
  form->SetBounds(100, 100, 200, 150);
  TProbeControl control(nullptr, form.get(), Bounds(10, 10, 50, 30));
  TRecordingPopup popup(nullptr);
  control.SetPopupMenu(&popup);
  ShowAndActivate(*form);
  TPoint origin = control.ClientToScreen(Point(0, 0));

  EXPECT_EQ(1, SendMessageA(control.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control.Handle()),
                            MAKELPARAM(0xFFFF, 0xFFFF)));
  EXPECT_EQ(1, SendMessageA(control.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control.Handle()),
                            MAKELPARAM(origin.X + 5, origin.Y + 6)));
  ASSERT_EQ(2u, popup.At.size());
  EXPECT_EQ(origin, popup.At[0]);
  EXPECT_EQ(Point(origin.X + 5, origin.Y + 6), popup.At[1]);
  EXPECT_EQ(&control, popup.PopupComponent);

  bool handledByEvent = false;
  control.OnContextPopup = [&](TObject*, TPoint, bool& handled) { handled = handledByEvent = true; };
  SendMessageA(control.Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_TRUE(handledByEvent);
  EXPECT_EQ(2u, popup.At.size());
}

}  // namespace
