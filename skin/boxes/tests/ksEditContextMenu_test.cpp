// The skinned context menu of the edit and the memo: shown by the form's menu
// engine with the eight lines, its command run, and the menu object freed only
// after the engine's call has returned.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/application.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/boxes/ksSkinMemo.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/menus/ksSkinPopupMenu.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

// Learns when a watched component goes.
class FreeWatch : public TComponent {
 public:
  FreeWatch() : TComponent(nullptr) {}
  void Watch(TComponent* c) { c->FreeNotification(this); }
  bool freed = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) freed = true;
  }
};

class EditContextMenu : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    form->HandleNeeded();
    frame = new TksSkinForm(form);
    // The menu is shown at a point, which the engine does only with a skin.
    frame->SetSkinData(&data);
  }
  void TearDown() override {
    Application->ProcessMessages();
    SkinCtrls::TearDown();
  }
  void PostKey(HWND wnd, WORD key) {
    PostMessageA(wnd, WM_KEYDOWN, key, 1);
    Application->ProcessMessages();
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> lines;
    for (const auto& item : frame->SkinMenu()->TopLevel()->Items)
      lines.push_back(std::string(item->MenuItem->Caption()) + (item->MenuItem->Enabled() ? "" : " (off)"));
    return lines;
  }
  // Runs the last line (Select All) through the engine, and tells whether the
  // menu object was still alive when the control got WM_CLOSESKINMENU back.
  void ChooseSelectAll(TWinControl* control, FreeWatch& watch, bool& aliveAtClose) {
    control->SetWindowProc([&watch, &aliveAtClose, old = control->WindowProc()](TMessage& m) {
      old(m);
      if (m.Msg == WM_CLOSESKINMENU) aliveAtClose = !watch.freed;
    });
    for (int i = 0; i < 8 && frame->SkinMenu()->TopLevel()->ActiveItem != 7; ++i) PostKey(control->Handle(), VK_DOWN);
    ASSERT_EQ(frame->SkinMenu()->TopLevel()->ActiveItem, 7);
    PostKey(control->Handle(), VK_RETURN);
  }

  TksSkinForm* frame = nullptr;
};

TEST_F(EditContextMenu, RightClickShowsTheSkinnedMenuAndItsCommandRuns) {
  auto* edit = new TksSkinEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 120, 20);
  edit->SetText("hello");
  SendMessageA(edit->Handle(), EM_SETSEL, 0, 2);
  edit->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(50, 50));
  ASSERT_NE(edit->MenuObject(), nullptr);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  EXPECT_EQ(frame->SkinMenu()->PopupCtrl(), edit);
  const std::vector<std::string> expected{"Undo (off)", "-",          "Cut",       "Copy", "Paste (off)",
                                          "Delete",     "- (off)",    "Select All"};
  std::vector<std::string> shown = Shown();
  // Separators are never chosen, whatever their flag.
  for (auto& s : shown)
    if (s.starts_with("-")) s = "-";
  std::vector<std::string> want = expected;
  for (auto& s : want)
    if (s.starts_with("-")) s = "-";
  want[4] = shown[4];  // the clipboard is the machine's
  EXPECT_EQ(shown, want);

  FreeWatch watch;
  watch.Watch(edit->MenuObject());
  bool aliveAtClose = false;
  ChooseSelectAll(edit, watch, aliveAtClose);
  DWORD a = 0, b = 0;
  SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(a, 0u);
  EXPECT_EQ(b, 5u) << "the command ran";
  EXPECT_TRUE(aliveAtClose) << "the menu outlives the engine's call";
  Application->ProcessMessages();
  EXPECT_TRUE(watch.freed);
  EXPECT_EQ(edit->MenuObject(), nullptr);
}

TEST_F(EditContextMenu, TheMemoAndTheMenuKeyAndASecondRightClick) {
  auto* memo = new TksSkinMemo(form);
  memo->SetParent(form);
  memo->SetBounds(10, 40, 150, 80);
  memo->SetText("one\r\ntwo");
  memo->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(memo->Handle()), MAKELPARAM(-1, -1));
  TksSkinPopupMenu* first = memo->MenuObject();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  const TPoint centre = memo->ClientToScreen(TPoint{75, 40});
  EXPECT_EQ(frame->SkinMenu()->TopLevel()->Left(), centre.X) << "the menu key opens it at the centre";

  FreeWatch watch;
  watch.Watch(first);
  memo->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(memo->Handle()), MAKELPARAM(60, 60));
  EXPECT_NE(memo->MenuObject(), nullptr);
  EXPECT_NE(memo->MenuObject(), first);
  Application->ProcessMessages();
  EXPECT_TRUE(watch.freed) << "a menu closed without a command goes at the next right click";

  bool aliveAtClose = false;
  FreeWatch second;
  second.Watch(memo->MenuObject());
  ChooseSelectAll(memo, second, aliveAtClose);
  EXPECT_TRUE(aliveAtClose);
  EXPECT_EQ(memo->SelLength(), static_cast<int>(memo->Text().size()));
}

TEST_F(EditContextMenu, WithoutASkinNoMenuShows) {
  frame->SetSkinData(nullptr);
  auto* edit = new TksSkinEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 120, 20);
  edit->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(50, 50));
  EXPECT_FALSE(frame->SkinMenu()->Visible());
}

}  // namespace
