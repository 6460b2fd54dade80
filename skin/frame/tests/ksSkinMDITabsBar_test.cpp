// The MDI tabs bar: the tab layout, dragging a tab to a new place, tabs going
// away under the mouse or the drag, the bottom-aligned skinned faces, and a
// press on a minimized child's tab.
#include <gtest/gtest.h>

#include <vector>

#include "skin/frame/ksSkinMDITabsBar.h"
#include "skin/menus/ksSkinMainMenuBar.h"
#include "skin/tests/ksSkinMDI_fixture.h"

namespace {

using namespace skintest;

class MDITabs : public SkinMDI {
 protected:
  void SetUp() override {
    SkinMDI::SetUp();
    bar = new TksSkinMDITabsBar(mainForm);
    bar->SetParent(mainForm);
    bar->SetBounds(0, 0, 400, 21);
    mainFrame->SetMDITabsBar(bar);
    ShowMain();
  }
  void AddChildren(int n) {
    static const char* const kNames[] = {"A", "B", "C", "D"};
    for (int i = 0; i < n; ++i) AddChild(kNames[i], kNames[i]);
  }
  std::vector<TRect> Rects() {
    bar->CalcTabRects();
    std::vector<TRect> rects;
    for (const auto& t : bar->Tabs()) rects.push_back(t->ObjectRect);
    return rects;
  }
  std::string Order() {
    std::string order;
    for (const auto& t : bar->Tabs()) order += t->Child->Caption();
    return order;
  }
  void Drag(int fromX, int toX) {
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 10));
    bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 10));
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(toX, 10));
  }

  TksSkinMDITabsBar* bar = nullptr;
};

TEST_F(MDITabs, TabsShareTheWidthUpToTheirDefaultWidth) {
  // No tabs: nothing to lay out, nothing divided by.
  EXPECT_TRUE(Rects().empty());
  TBitmap face;
  bar->PaintBar(&face);
  AddChildren(3);
  struct Row {
    int width;
    std::vector<TRect> rects;
  };
  for (const Row& r : {Row{250, {{0, 0, 83, 21}, {83, 0, 166, 21}, {166, 0, 250, 21}}},
                       Row{400, {{0, 0, 100, 21}, {100, 0, 200, 21}, {200, 0, 300, 21}}}}) {
    bar->SetWidth(r.width);
    EXPECT_EQ(Rects(), r.rects) << r.width;
  }
}

TEST_F(MDITabs, DraggingATabPastACentreMovesIt) {
  AddChildren(4);
  ASSERT_EQ(Order(), "ABCD");
  struct Row {
    int from, to;
    const char* order;
  };
  for (const Row& r : {Row{50, 210, "BCAD"}, Row{50, 90, "BCAD"}, Row{350, 140, "BDCA"}, Row{120, 121, "BDCA"}}) {
    Drag(r.from, r.to);
    EXPECT_EQ(Order(), r.order) << r.from << " -> " << r.to;
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(bar->DragIndex(), -1);
  }
  // Without MoveTabs a press does not start a drag.
  bar->MoveTabs = false;
  Drag(50, 350);
  EXPECT_EQ(Order(), "BDCA");
}

TEST_F(MDITabs, TabsGoingAwayTakeTheirIndexesAlong) {
  AddChildren(4);
  Rects();
  bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(250, 10));
  ASSERT_EQ(bar->ActiveTab(), 2);
  bar->DeleteTab(children[0]);
  EXPECT_EQ(bar->ActiveTab(), 1);
  EXPECT_EQ(Order(), "BCD");
  bar->DeleteTab(children[2]);  // the one under the mouse
  EXPECT_EQ(bar->ActiveTab(), -1);
  // The dragged tab going ends the drag.
  Rects();
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));
  bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(160, 10));
  ASSERT_TRUE(bar->Dragging());
  bar->DeleteTab(children[3]);
  EXPECT_FALSE(bar->Dragging());
  EXPECT_EQ(bar->DragIndex(), -1);
  bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(Order(), "B");
  // A child freed takes its tab with it.
  delete children[1];
  children.erase(children.begin() + 1);
  EXPECT_EQ(Order(), "");
}

TEST_F(MDITabs, APressBringsItsChildBackAndTheActiveChildIsMarked) {
  AddChildren(3);
  TForm* b = children[1];
  FrameOf(b)->SetWindowState(kwsMinimized);
  Activate(children[0]);
  EXPECT_TRUE(bar->Tabs()[0]->Active);
  EXPECT_FALSE(bar->Tabs()[1]->Active);
  Rects();
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));
  bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(150, 10));
  Application->ProcessMessages();
  EXPECT_EQ(FrameOf(b)->WindowState(), kwsNormal);
  EXPECT_EQ(mainForm->ActiveMDIChild(), b);
  EXPECT_TRUE(bar->Tabs()[1]->Active);
  EXPECT_FALSE(bar->Tabs()[0]->Active);
}

TEST_F(MDITabs, ASkinChangeAcrossTheMainFormReachesTheBars) {
  AddChildren(2);
  auto* menuBar = new TksSkinMainMenuBar(mainForm);
  menuBar->SetParent(mainForm);
  auto* menu = new TMainMenu(mainForm);
  auto* item = new TMenuItem(mainForm);
  item->SetCaption("&File");
  menu->Items()->Add(item);
  menuBar->SetMainMenu(menu);
  mainFrame->SetSkinData(&data);
  menuBar->SetSkinData(&data);
  bar->SetSkinData(&data);
  data.FormWindows = [this] { return std::vector<HWND>{mainForm->Handle()}; };
  data.SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
  EXPECT_TRUE(menuBar->Objects().empty());
  EXPECT_EQ(bar->TabData(), nullptr);
  data.SendSkinDataMessage(WM_CHANGESKINDATA);
  data.SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
  ASSERT_EQ(menuBar->Objects().size(), 1u);
  EXPECT_TRUE(menuBar->Skinned());
  EXPECT_TRUE(menuBar->Item(0)->Skinned);
  EXPECT_TRUE(bar->Skinned());
  EXPECT_EQ(bar->Tabs().size(), 2u);
}

TEST_F(MDITabs, ABottomBarShowsItsSkinnedFacesUpsideDown) {
  AddChild("A", "");
  bar->SetSkinData(&data);
  ASSERT_TRUE(bar->Skinned());
  const int h = bar->Height();
  ASSERT_GT(h, 4);
  auto face = [&](TAlign align) {
    bar->SetAlign(align);
    bar->SetBounds(0, 0, 400, h);
    auto shot = std::make_unique<TBitmap>();
    bar->PaintBar(shot.get());
    return shot;
  };
  auto top = face(alTop);
  auto bottom = face(alBottom);
  int differing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 100; x += 7) {
      EXPECT_EQ(bottom->Canvas()->Pixels(x, y), top->Canvas()->Pixels(x, h - 1 - y)) << x << "," << y;
      differing += bottom->Canvas()->Pixels(x, y) != top->Canvas()->Pixels(x, y);
    }
  EXPECT_GT(differing, 0);
  // Without the skin the bar takes its own height again.
  bar->SetSkinData(nullptr);
  EXPECT_FALSE(bar->Skinned());
  EXPECT_EQ(bar->Height(), bar->DefaultHeight());
}

}  // namespace
