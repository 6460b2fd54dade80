// The skinned tree view: its linked bars follow the tree's own scroll state, and
// its colours and font follow the skin.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "skin/data/ksSkinDataControls.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksSkinTreeView.h"

namespace {

using namespace skintest;

class SkinTreeView : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    tree = new TksSkinTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 120, 100);
    vbar = NewBar(sbVertical);
    hbar = NewBar(sbHorizontal);
    tree->SetVScrollBar(vbar);
    tree->SetHScrollBar(hbar);
    for (int i = 0; i < 3; ++i) {
      TTreeNode* root = tree->Items()->AddChild(nullptr, "Folder " + std::to_string(i));
      for (int k = 0; k < 12; ++k) root->Owner().AddChild(root, "Item " + std::to_string(k));
    }
  }
  TksSkinScrollBar* NewBar(TScrollBarKind kind) {
    auto* bar = new TksSkinScrollBar(form);
    bar->SetParent(form);
    bar->SetKind(kind);
    return bar;
  }
  // What a paint of the tree does to the bars.
  void Repainted() { tree->Perform(WM_PAINT, 0, 0); }
  int TreeScrollPos() { return GetScrollPos(tree->Handle(), SB_VERT); }

  TksSkinTreeView* tree = nullptr;
  TksSkinScrollBar* vbar = nullptr;
  TksSkinScrollBar* hbar = nullptr;
};

TEST_F(SkinTreeView, VerticalBarAppearsPagesAndGoesWithTheTreesOwnNeed) {
  Repainted();
  EXPECT_FALSE(vbar->Visible()) << "three folders fit";
  tree->Items()->GetFirstNode()->Expand(false);
  Repainted();
  ASSERT_TRUE(vbar->Visible());
  const int visible = static_cast<int>(SendMessageA(tree->Handle(), TVM_GETVISIBLECOUNT, 0, 0));
  EXPECT_EQ(vbar->PageSize(), visible);
  EXPECT_EQ(vbar->Max(), 3 + 12 - 1);
  vbar->SetPosition(4);  // the bar moves the tree
  EXPECT_EQ(TreeScrollPos(), 4);
  tree->Items()->GetFirstNode()->Collapse(false);
  Repainted();
  EXPECT_FALSE(vbar->Visible()) << "a stale range left by the tree must not keep the bar";
}

TEST_F(SkinTreeView, HorizontalBarLeavesTheCornerToAShownVerticalBar) {
  TTreeNode* root = tree->Items()->GetFirstNode();
  root->Owner().AddChild(root, std::string(60, 'W'));
  root->Expand(false);
  Repainted();
  ASSERT_TRUE(hbar->Visible());
  EXPECT_TRUE(vbar->Visible());
  EXPECT_TRUE(hbar->Both());
  EXPECT_EQ(hbar->PageSize(), tree->Width());
  tree->SetVScrollBar(nullptr);
  EXPECT_EQ(vbar->OnChange, nullptr) << "an unlinked bar no longer calls the tree";
}

TEST_F(SkinTreeView, AFreedTreeTakesBackItsBarsHandlers) {
  tree->Items()->GetFirstNode()->Expand(false);
  Repainted();
  ASSERT_NE(vbar->OnChange, nullptr);
  tree->Free();
  EXPECT_EQ(vbar->OnChange, nullptr);
  EXPECT_EQ(hbar->OnChange, nullptr);
  vbar->SetPosition(3);  // nothing left to call
}

TEST_F(SkinTreeView, FreedBarsAndSkinAreForgotten) {
  vbar->Free();
  hbar->Free();
  EXPECT_EQ(tree->VScrollBar(), nullptr);
  EXPECT_EQ(tree->HScrollBar(), nullptr);
  tree->Items()->GetFirstNode()->Expand(false);
  Repainted();  // no bar left to show
  auto* skin = new TksSkinData(nullptr);
  skin->FormWindows = [] { return std::vector<HWND>{}; };
  skin->SetCompressedStoredSkin(&stored);
  tree->SetSkinData(skin);
  ASSERT_NE(tree->ControlIndex(), -1);
  skin->Free();
  EXPECT_EQ(tree->SkinData(), nullptr);
  EXPECT_EQ(tree->ControlIndex(), -1);
}

TEST_F(SkinTreeView, ColoursAndFontComeFromTheSkinOrTheDefaults) {
  auto& d = dynamic_cast<TksDataSkinTreeView&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex("treeview"))]);
  d.BGColor = static_cast<TColor>(0x00EEFF);
  tree->SetSkinData(&data);
  EXPECT_EQ(tree->Color(), d.BGColor);
  EXPECT_EQ(tree->Font()->Name(), d.FontName);
  EXPECT_EQ(tree->Font()->Color(), d.FontColor);
  tree->UseSkinFont = false;
  tree->ChangeSkinData();
  EXPECT_EQ(tree->Font()->Name(), "Arial");
  tree->SetSkinData(nullptr);
  tree->ChangeSkinData();
  EXPECT_EQ(tree->Color(), clWindow);
}

TEST_F(SkinTreeView, WhileLoadingTheSkinWaitsForLoaded) {
  TksSkinTreeView* loaded = nullptr;
  {
    TComponent::TLoadingScope scope;
    loaded = new TksSkinTreeView(form);
    loaded->SetParent(form);
    loaded->SetSkinData(&data);
    EXPECT_EQ(loaded->ControlIndex(), -1);
    scope.Finish(loaded);
  }
  EXPECT_NE(loaded->ControlIndex(), -1);
  EXPECT_EQ(loaded->Font()->Name(), "Tahoma");
  delete loaded;
}

}  // namespace
