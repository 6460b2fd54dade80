// The skinned main menu bar: items that do not fit and the marker menu of
// exactly those, the open menu following the mouse along the bar, the keyboard
// walk of the frame's main-menu mode and its shortcuts, the merge of an MDI
// child's menu, and the maximized child's buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/menus/ksSkinMainMenuBar.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/tests/ksSkinMDI_fixture.h"

namespace {

using namespace skintest;

class MenuBar : public SkinMDI {
 protected:
  void SetUp() override {
    SkinMDI::SetUp();
    menu = new TMainMenu(mainForm);
    for (const char* c : {"&File", "&Edit", "&View", "&Help", "&Tools"}) {
      TMenuItem* item = Add(menu->Items(), c);
      if (std::string(c) != "&Help")
        for (const char* sub : {"One", "Two"}) Add(item, (std::string(c + 1) + " " + sub).c_str());
    }
    bar = new TksSkinMainMenuBar(mainForm);
    bar->SetParent(mainForm);
    bar->SetksSkinForm(mainFrame);
    mainFrame->SetMainMenuBar(bar);
    bar->SetMainMenu(menu);
  }
  void TearDown() override {
    Application->OnMessage = nullptr;
    SkinMDI::TearDown();
  }
  TMenuItem* Add(TMenuItem* parent, const char* caption) {
    auto* item = new TMenuItem(mainForm);
    item->SetCaption(caption);
    item->OnClick = [this, name = std::string(caption)](TObject*) { log.push_back(name); };
    parent->Add(item);
    return item;
  }
  // Lays the bar out as painting does.
  void Layout() {
    TBitmap b;
    bar->PaintBar(b);
  }
  TksSkinMainMenuBarItem* ItemOf(const char* caption) {
    for (size_t i = 0; i < bar->Objects().size(); ++i)
      if (auto* item = bar->Item(static_cast<int>(i)); item && item->MenuItem->Caption() == caption) return item;
    return nullptr;
  }
  std::vector<std::string> Highlighted() {
    std::vector<std::string> on;
    for (size_t i = 0; i < bar->Objects().size(); ++i)
      if (auto* item = bar->Item(static_cast<int>(i)); item && (item->Highlight || item->Down))
        on.push_back(item->MenuItem->Caption());
    return on;
  }
  // Captions of the open menu's top level.
  std::vector<std::string> OpenMenu() {
    std::vector<std::string> shown;
    TksSkinPopupWindow* top = mainFrame->SkinMenu()->TopLevel();
    if (top)
      for (const auto& item : top->Items) shown.push_back(item->MenuItem->Caption());
    return shown;
  }
  TPoint Centre(const TksMenuBarObject* o) {
    return TPoint{(o->ObjectRect.Left + o->ObjectRect.Right) / 2, (o->ObjectRect.Top + o->ObjectRect.Bottom) / 2};
  }
  void Press(TPoint p) {
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
  }
  void PostKey(WORD key) {
    PostMessageA(mainForm->Handle(), WM_KEYDOWN, key, 1);
    Application->ProcessMessages();
  }
  // Shows the main form with the bar and one maximized child.
  TForm* MaximizedChild() {
    ShowMain();
    TForm* child = AddChild("ChildA", "Alpha");
    FrameOf(child)->SetWindowState(kwsMaximized);
    return child;
  }
  std::vector<int> ButtonCommands() {
    std::vector<int> commands;
    for (int i = 0; i < bar->ButtonsCount(); ++i)
      commands.push_back(
          dynamic_cast<TksSkinMainMenuBarButton*>(bar->Objects()[static_cast<size_t>(i)].get())->Command);
    return commands;
  }

  TMainMenu* menu = nullptr;
  TksSkinMainMenuBar* bar = nullptr;
  std::vector<std::string> log;
};

TEST_F(MenuBar, ItemsThatDoNotFitAreDisabledAndTheMarkerMenuShowsExactlyThem) {
  // An invisible item before the hidden ones must not shift the marker menu.
  TMenuItem* invisible = Add(menu->Items(), "&Gone");
  menu->Items()->Remove(invisible);
  menu->Items()->Insert(1, invisible);
  invisible->SetVisible(false);
  bar->SetMainMenu(menu);
  menu->Items()->Items(4)->SetEnabled(false);  // Help, disabled before it is hidden
  bar->SetMainMenu(menu);
  bar->SetAlign(alNone);
  for (bool skinned : {false, true}) {
    SCOPED_TRACE(skinned);
    bar->SetSkinData(skinned ? &data : nullptr);
    ASSERT_EQ(bar->Skinned(), skinned);
    bar->SetWidth(600);
    Layout();
    EXPECT_FALSE(bar->HasHiddenItems());
    const int cut = ItemOf("&Edit")->ObjectRect.Right + 5;
    bar->SetWidth(cut + 2 + (skinned ? 2 : 0));
    Layout();
    EXPECT_TRUE(bar->HasHiddenItems());
    EXPECT_EQ(Highlighted(), std::vector<std::string>{});
    for (const char* c : {"&File", "&Edit"}) EXPECT_TRUE(ItemOf(c)->Fits && ItemOf(c)->Enabled) << c;
    for (const char* c : {"&View", "&Help", "&Tools"}) EXPECT_FALSE(ItemOf(c)->Fits || ItemOf(c)->Enabled) << c;

    const TRect marker = bar->MarkerRect();
    EXPECT_EQ(RectWidth(marker), 5);
    bar->TestActive(marker.Left + 2, marker.Top + 2);
    EXPECT_TRUE(bar->MarkerActive());
    bar->TestActive(-1, -1);
    EXPECT_FALSE(bar->MarkerActive());
    Press(TPoint{marker.Left + 2, marker.Top + 2});
    ASSERT_TRUE(mainFrame->SkinMenu()->Visible());
    EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"&View", "&Help", "&Tools"}));
    mainFrame->SkinMenu()->CloseMenu();
    Application->ProcessMessages();

    bar->SetWidth(600);
    Layout();
    EXPECT_TRUE(ItemOf("&View")->Enabled && ItemOf("&Tools")->Enabled);
    EXPECT_FALSE(ItemOf("&Help")->Enabled);
  }
  // Without the marker the items run to the end and a press there opens nothing.
  bar->ScrollMenu = false;
  bar->SetWidth(ItemOf("&Edit")->ObjectRect.Right + 4);
  Layout();
  EXPECT_TRUE(bar->HasHiddenItems());
  Press(TPoint{bar->Width() - 3, 5});
  EXPECT_FALSE(mainFrame->SkinMenu()->Visible());
}

TEST_F(MenuBar, AnyButtonOnTheMarkerOpensTheHiddenItems) {
  bar->SetAlign(alNone);
  bar->SetWidth(600);
  Layout();
  bar->SetWidth(ItemOf("&Edit")->ObjectRect.Right + 7);
  Layout();
  ASSERT_TRUE(bar->HasHiddenItems());
  const TRect marker = bar->MarkerRect();
  bar->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(marker.Left + 2, marker.Top + 2));
  bar->Perform(WM_RBUTTONUP, 0, MAKELPARAM(marker.Left + 2, marker.Top + 2));
  ASSERT_TRUE(mainFrame->SkinMenu()->Visible());
  EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"&View", "&Help", "&Tools"}));
  mainFrame->SkinMenu()->CloseMenu();
  Application->ProcessMessages();
}

TEST_F(MenuBar, ItemMenusTakeTheBarsSkinAndTheChildsSystemMenuTheFrames) {
  ShowMain();
  mainFrame->SetSkinData(&data);
  for (TksSkinData* barSkin : {static_cast<TksSkinData*>(nullptr), &data}) {
    SCOPED_TRACE(barSkin != nullptr);
    bar->SetSkinData(barSkin);
    Layout();
    Press(Centre(ItemOf("&File")));
    ASSERT_NE(mainFrame->SkinMenu()->TopLevel(), nullptr);
    EXPECT_EQ(mainFrame->SkinMenu()->SkinData(), barSkin);
    EXPECT_EQ(mainFrame->SkinMenu()->TopLevel()->Skinned(), barSkin != nullptr);
    mainFrame->SkinMenu()->CloseMenu();
    Application->ProcessMessages();
  }
  // The maximized child's system-menu button opens with the frame's skin, whatever the bar has.
  bar->SetSkinData(nullptr);
  MaximizedChild();
  Layout();
  ASSERT_EQ(ButtonCommands().front(), 3);
  Press(Centre(bar->Objects().front().get()));
  ASSERT_TRUE(mainFrame->SkinMenu()->Visible());
  EXPECT_EQ(mainFrame->SkinMenu()->SkinData(), &data);
  mainFrame->SkinMenu()->CloseMenu();
  Application->ProcessMessages();
}

TEST_F(MenuBar, APlainBarDrawsADisabledCaptionInItsItemFont) {
  bar->SetAlign(alNone);
  bar->SetWidth(600);
  menu->Items()->Items(1)->SetEnabled(false);  // Edit
  bar->SetMainMenu(menu);
  TBitmap b;
  bar->PaintBar(b);
  const TRect r = ItemOf("&Edit")->ObjectRect;
  int ink = 0, shadow = 0;
  for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
    for (int x = r.Left + 2; x < r.Right - 2; ++x) {
      const auto p = static_cast<COLORREF>(b.Canvas()->Pixels(x, y));
      ink += p == Rgb(bar->DefItemFont()->Color()) ? 1 : 0;
      shadow += p == Rgb(clBtnShadow) ? 1 : 0;
    }
  EXPECT_GT(ink, 0);
  EXPECT_EQ(shadow, 0);
}

TEST_F(MenuBar, TheOpenMenuFollowsTheMouseAlongTheBar) {
  ShowMain();
  Layout();
  Press(Centre(ItemOf("&File")));
  ASSERT_TRUE(mainFrame->SkinMenu()->Visible());
  EXPECT_TRUE(mainFrame->InMainMenu());
  EXPECT_TRUE(mainFrame->InSkinMenu());
  EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"File One", "File Two"}));
  const TPoint edit = Centre(ItemOf("&Edit"));
  bar->TestActive(edit.X, edit.Y);
  EXPECT_FALSE(ItemOf("&File")->Down);
  EXPECT_TRUE(ItemOf("&Edit")->Down);
  EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"Edit One", "Edit Two"}));
  // Off the bar the open item stays the active one.
  bar->TestActive(-1, -1);
  EXPECT_TRUE(ItemOf("&Edit")->Down);
  // Choosing a command ends both modes.
  PostKey(VK_RETURN);
  EXPECT_EQ(log, std::vector<std::string>{"Edit One"});
  EXPECT_FALSE(mainFrame->InMainMenu());
  EXPECT_FALSE(mainFrame->InSkinMenu());
  EXPECT_FALSE(mainFrame->AppHooked());
  EXPECT_EQ(Highlighted(), std::vector<std::string>{});
}

TEST_F(MenuBar, TheMenuKeyWalksTheBarAndEscapeStepsBack) {
  ShowMain();
  Layout();
  menu->Items()->Items(3)->SetEnabled(false);  // Help
  bar->UpdateItems();
  Layout();
  int enters = 0, exits = 0;
  mainFrame->OnMainMenuEnter = [&](TObject*) { ++enters; };
  mainFrame->OnMainMenuExit = [&](TObject*) { ++exits; };
  mainForm->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(mainFrame->InMainMenu());
  EXPECT_TRUE(mainFrame->AppHooked());
  EXPECT_EQ(Highlighted(), std::vector<std::string>{"&File"});
  struct Step {
    WORD key;
    const char* highlighted;
  };
  for (Step s : {Step{VK_RIGHT, "&Edit"}, Step{VK_RIGHT, "&View"}, Step{VK_RIGHT, "&Tools"}, Step{VK_RIGHT, "&File"},
                 Step{VK_LEFT, "&Tools"}, Step{VK_LEFT, "&View"}}) {
    PostKey(s.key);
    EXPECT_EQ(Highlighted(), std::vector<std::string>{s.highlighted}) << s.key;
  }
  PostKey(VK_RETURN);
  EXPECT_TRUE(ItemOf("&View")->Down);
  EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"View One", "View Two"}));
  // Right on an item without a submenu moves the open menu along.
  PostKey(VK_RIGHT);
  EXPECT_TRUE(ItemOf("&Tools")->Down);
  EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"Tools One", "Tools Two"}));
  PostKey(VK_ESCAPE);
  EXPECT_FALSE(mainFrame->SkinMenu()->Visible());
  EXPECT_TRUE(mainFrame->InMainMenu());
  EXPECT_FALSE(ItemOf("&Tools")->Down);
  EXPECT_EQ(Highlighted(), std::vector<std::string>{"&Tools"});
  // An accelerator opens its item.
  PostKey('E');
  EXPECT_TRUE(ItemOf("&Edit")->Down);
  PostKey(VK_ESCAPE);
  PostKey(VK_ESCAPE);
  EXPECT_FALSE(mainFrame->InMainMenu());
  EXPECT_FALSE(mainFrame->AppHooked());
  EXPECT_EQ(Highlighted(), std::vector<std::string>{});
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(exits, 1);
  // Keys reach the form again.
  PostKey(VK_RIGHT);
  EXPECT_EQ(Highlighted(), std::vector<std::string>{});
}

TEST_F(MenuBar, AChildsKeysGoToTheMainFormsOpenMenu) {
  ShowMain();
  Layout();
  TForm* child = AddChild("ChildA", "Alpha");
  mainForm->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
  ASSERT_EQ(Highlighted(), std::vector<std::string>{"&File"});
  FrameOf(child)->ProcessMenuKey(VK_RIGHT);
  EXPECT_EQ(Highlighted(), std::vector<std::string>{"&Edit"});
  FrameOf(child)->ProcessMenuKey(VK_ESCAPE);
  EXPECT_FALSE(mainFrame->InMainMenu());
  // Outside menu mode the child's keys stay its own.
  FrameOf(child)->ProcessMenuKey(VK_RIGHT);
  EXPECT_EQ(Highlighted(), std::vector<std::string>{});
}

TEST_F(MenuBar, ShortcutsRunOncePerKeyAndAltOpensTheBar) {
  ShowMain();
  Layout();
  menu->Items()->Items(0)->Items(0)->SetShortCut(ShortCut('O', ssCtrl));
  SHORT ctrl = 0, alt = 0;
  ScopedSeam<TPointerSeam> keys{TPointerSeam{.GetKeyState = [&](int key) -> SHORT {
    return key == VK_CONTROL ? ctrl : (key == VK_MENU ? alt : 0);
  }}};
  auto ask = [&](TMessage& m) {
    TWMKey key(m);
    bool handled = false;
    mainForm->OnShortCut(key, handled);
    return handled;
  };
  ctrl = static_cast<SHORT>(0x8000);
  TMessage first{CN_KEYDOWN, 'O', 0, 1};
  EXPECT_TRUE(ask(first));
  EXPECT_EQ(log, std::vector<std::string>{"File One"});
  // A second press of the same keys runs again ...
  TMessage second{CN_KEYDOWN, 'O', 0, 1};
  EXPECT_TRUE(ask(second));
  EXPECT_EQ(log.size(), 2u);
  // ... the same message asked again is passed over.
  EXPECT_FALSE(ask(second));
  EXPECT_EQ(log.size(), 2u);
  TMessage other{CN_KEYDOWN, 'Q', 0, 1};
  EXPECT_FALSE(ask(other));

  ctrl = 0;
  alt = static_cast<SHORT>(0x8000);
  TMessage accel{CN_KEYDOWN, 'V', 0x20000000, 1};
  EXPECT_TRUE(ask(accel));
  EXPECT_TRUE(ItemOf("&View")->Down);
  EXPECT_TRUE(mainFrame->InMainMenu());
  mainFrame->MainMenuExit();
  EXPECT_FALSE(mainFrame->AppHooked());
}

TEST_F(MenuBar, WithoutAFrameAnItemWithoutSubmenuStillRunsAndARebuildForgetsTheObjects) {
  bar->SetksSkinForm(nullptr);
  mainFrame->SetMainMenuBar(nullptr);
  ShowMain();
  Layout();
  const TPoint help = Centre(ItemOf("&Help"));
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(help.X, help.Y));
  EXPECT_EQ(log, std::vector<std::string>{"&Help"});
  EXPECT_GE(bar->ActiveObject(), 0);
  EXPECT_GE(bar->MouseDownObject(), 0);
  // A press on an item with a submenu opens nothing without a frame.
  Press(Centre(ItemOf("&File")));
  EXPECT_FALSE(mainFrame->SkinMenu()->Visible());

  auto* other = new TMainMenu(mainForm);
  Add(other->Items(), "&Only");
  bar->SetMainMenu(other);
  EXPECT_EQ(bar->ActiveObject(), -1);
  EXPECT_EQ(bar->OldActiveObject(), -1);
  EXPECT_EQ(bar->MouseDownObject(), -1);
  bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(help.X, help.Y));  // a release after the rebuild touches nothing
  EXPECT_EQ(bar->Objects().size(), 1u);
}

TEST_F(MenuBar, AMaximizedChildsButtonsComeAndGoAndFollowItsIcons) {
  TForm* child = MaximizedChild();
  TksSkinForm* childFrame = FrameOf(child);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_TRUE(bar->MDIButtonsShown());
    // System menu, close, restore, minimize.
    EXPECT_EQ(ButtonCommands(), (std::vector<int>{3, 0, 1, 2}));
    EXPECT_EQ(bar->Objects().size(), 9u);
    childFrame->SetWindowState(kwsNormal);
    EXPECT_FALSE(bar->MDIButtonsShown());
    EXPECT_EQ(bar->ButtonsCount(), 0);
    EXPECT_EQ(bar->Objects().size(), 5u);
    EXPECT_NE(ItemOf("&File"), nullptr);
    childFrame->SetWindowState(kwsMaximized);
  }
  struct Row {
    TksBorderIcons icons;
    std::vector<bool> enabled;  // in ButtonCommands order
  };
  for (const Row& r : {Row{{}, {false, true, true, false}},
                       Row{{TksBorderIcon::Minimize}, {false, true, true, true}},
                       Row{{TksBorderIcon::SystemMenu}, {true, true, true, false}}}) {
    SCOPED_TRACE(static_cast<int>(r.icons.Bits()));
    childFrame->SetBorderIcons(r.icons);
    bar->UpdateMDIButtons();
    std::vector<bool> enabled;
    for (int i = 0; i < bar->ButtonsCount(); ++i) enabled.push_back(bar->Objects()[static_cast<size_t>(i)]->Enabled);
    EXPECT_EQ(enabled, r.enabled);
  }
  // The system-menu button shows the child's system menu below it until the chain closes.
  Layout();
  auto* sysButton = bar->Objects()[0].get();
  Press(Centre(sysButton));
  ASSERT_TRUE(mainFrame->SkinMenu()->Visible());
  EXPECT_TRUE(sysButton->Down);
  EXPECT_EQ(mainFrame->SkinMenu()->TopLevel()->Top(), bar->ScreenRect(sysButton->ObjectRect).Bottom);
  EXPECT_FALSE(OpenMenu().empty());
  mainFrame->SkinMenu()->CloseMenu();
  EXPECT_FALSE(sysButton->Down);
  EXPECT_FALSE(mainFrame->InSkinMenu());
  // The minimize button minimizes; a restore then takes the buttons away.
  childFrame->SetBorderIcons({TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::Maximize});
  bar->UpdateMDIButtons();
  Layout();
  const TksMenuBarObject* minimize = bar->Objects()[3].get();
  Press(Centre(minimize));
  EXPECT_EQ(childFrame->WindowState(), kwsMinimized);
  EXPECT_FALSE(bar->MDIButtonsShown());
}

TEST_F(MenuBar, ButtonsTheSkinDoesNotDescribeKeepTheirRole) {
  bar->SetSkinData(&data);
  auto* barData = data.ControlData<TksDataSkinMainMenuBar>(data.GetControlIndex("mainmenubar"));
  ASSERT_NE(barData, nullptr);
  TForm* child = MaximizedChild();
  ASSERT_TRUE(bar->Skinned());
  EXPECT_EQ(ButtonCommands(), (std::vector<int>{3, 0, 1, 2}));
  barData->MinButton = "nosuchbutton";
  barData->SysMenuButton = "nosuchbutton";
  bar->UpdateItems();
  EXPECT_EQ(ButtonCommands(), (std::vector<int>{3, 0, 1, 2}));
  Layout();
  Press(Centre(bar->Objects()[3].get()));
  EXPECT_EQ(FrameOf(child)->WindowState(), kwsMinimized);
}

TEST_F(MenuBar, AMorphingItemFadesInFifthsAndTheTimerStopsWhenSettled) {
  bar->SetSkinData(&data);
  auto* itemData = dynamic_cast<TksDataSkinMainMenuBarItem*>(
      data.ObjectList[static_cast<size_t>(data.GetObjectIndex("mainmenubaritem"))].get());
  ASSERT_NE(itemData, nullptr);
  itemData->Morphing = true;
  bar->UpdateItems();
  ShowMain();
  Layout();
  TksSkinMainMenuBarItem* file = ItemOf("&File");
  ASSERT_TRUE(file->Morphing);
  file->MouseEnter();
  for (int step = 1; step <= 5; ++step) {
    ASSERT_TRUE(bar->MorphTimer()->Enabled()) << step;
    FireTimer(bar->MorphTimer());
    EXPECT_EQ(file->MorphKf, step);
  }
  FireTimer(bar->MorphTimer());
  EXPECT_FALSE(bar->MorphTimer()->Enabled());
  file->MouseLeave();
  for (int step = 4; step >= 0; --step) {
    FireTimer(bar->MorphTimer());
    EXPECT_EQ(file->MorphKf, step);
  }
  // A pressed item with its own face does not fade.
  file->Down = true;
  file->Highlight = true;
  EXPECT_FALSE(file->CanMorph());
}

TEST_F(MenuBar, ASkinTakenAwayOrFreedLeavesThePlainLook) {
  for (bool freed : {false, true}) {
    SCOPED_TRACE(freed);
    auto* skin = new TksSkinData(nullptr);
    skin->FormWindows = [] { return std::vector<HWND>{}; };
    skin->SetCompressedStoredSkin(&stored);
    bar->SetSkinData(skin);
    ASSERT_TRUE(bar->Skinned());
    ASSERT_TRUE(ItemOf("&File")->Skinned);
    if (freed)
      delete skin;
    else
      bar->SetSkinData(nullptr);
    EXPECT_FALSE(bar->Skinned());
    ASSERT_EQ(bar->Objects().size(), 5u);
    EXPECT_FALSE(ItemOf("&File")->Skinned);
    EXPECT_EQ(ItemOf("&File")->Picture, nullptr);
    EXPECT_EQ(bar->Height(), 22);
    Layout();
    if (!freed) delete skin;
  }
}

TEST_F(MenuBar, AChildsMenuMergesByGroupIndex) {
  struct Item {
    const char* caption;
    int group;
  };
  menu->Items()->Clear();
  for (Item i : {Item{"&File", 0}, Item{"&Save", 0}, Item{"&Edit", 1}, Item{"&Window", 9}, Item{"&Help", 10}})
    Add(menu->Items(), i.caption)->SetGroupIndex(i.group);
  bar->SetMainMenu(menu);
  ShowMain();
  auto* plain = AddChild("Plain", "Plain");
  auto* child = new TForm(Application);
  child->Name = "WithMenu";
  child->SetFormStyle(fsMDIChild);
  auto* childMenu = new TMainMenu(child);
  for (Item i : {Item{"&Tools", 5}, Item{"E&dit", 1}}) Add(childMenu->Items(), i.caption)->SetGroupIndex(i.group);
  new TksSkinForm(child);
  children.push_back(child);
  child->Show();
  Activate(child);
  EXPECT_TRUE(bar->MergedMenu());
  EXPECT_FALSE(bar->ScrollMenu);
  std::vector<std::string> captions;
  for (size_t i = 0; i < bar->Objects().size(); ++i)
    captions.push_back(bar->Item(static_cast<int>(i))->MenuItem->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"&File", "&Save", "E&dit", "&Tools", "&Window", "&Help"}));
  // A child without a menu gives the main form's back; the marker stays off.
  Activate(plain);
  EXPECT_FALSE(bar->MergedMenu());
  EXPECT_EQ(bar->Objects().size(), 5u);
  EXPECT_FALSE(bar->ScrollMenu);
}

// Activation of a child may come while the main form is not the active window
// (a child opened from a background job): the bar still follows the child.
TEST_F(MenuBar, AChildActivatedWhileTheMainFormIsInactiveMergesItsMenu) {
  ShowMain();
  auto* plain = AddChild("Plain", "Plain");
  auto* child = new TForm(Application);
  child->Name = "WithMenu";
  child->SetFormStyle(fsMDIChild);
  Add((new TMainMenu(child))->Items(), "&Scan")->SetGroupIndex(5);
  new TksSkinForm(child);
  children.push_back(child);
  child->Show();
  Activate(plain);
  ASSERT_FALSE(bar->MergedMenu());
  TForm other(Application);
  other.SetBounds(0, 0, 100, 100);
  other.Show();
  SetActiveWindow(other.Handle());
  Application->ProcessMessages();
  ASSERT_NE(GetActiveWindow(), mainForm->Handle());
  Activate(child);
  EXPECT_TRUE(bar->MergedMenu());
  EXPECT_NE(ItemOf("&Scan"), nullptr);
  Activate(plain);
  EXPECT_FALSE(bar->MergedMenu());
  EXPECT_EQ(ItemOf("&Scan"), nullptr);
}

}  // namespace
