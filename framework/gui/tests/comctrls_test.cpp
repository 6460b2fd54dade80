#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/comctrls.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

// A tree on a form that records its events.
class TRecordingTree : public TTreeView {
 public:
  explicit TRecordingTree(TWinControl* parent) : TTreeView(nullptr) {
    SetParent(parent);
    OnDeletion = [this](TObject*, TTreeNode* node) { Deleted.push_back(node->Text()); };
    OnChange = [this](TObject*, TTreeNode* node) { Changed.push_back(node != nullptr ? node->Text() : "-"); };
  }
  std::vector<String> Deleted;
  std::vector<String> Changed;
  int ImageAsks = 0;

 protected:
  void GetImageIndex(TTreeNode* Node) override {
    ++ImageAsks;
    Node->SetImageIndex(Node->Level() + 3);
  }
};

std::vector<String> TextsInTreeOrder(TTreeNodes& nodes) {
  std::vector<String> texts;
  for (TTreeNode* n = nodes.GetFirstNode(); n != nullptr; n = n->GetNext()) texts.push_back(n->Text());
  return texts;
}

// The control's own order of the top level, for comparison with the nodes.
std::vector<String> ControlRoots(TTreeView& tree) {
  std::vector<String> texts;
  HWND wnd = tree.Handle();
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (; item != nullptr;
       item = reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    char buffer[64] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof(buffer);
    SendMessageA(wnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    texts.push_back(buffer);
  }
  return texts;
}

TEST(TreeViewTest, NodesInTreeOrder) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  TTreeNodes& nodes = *tree.Items();
  TTreeNode* a = nodes.AddChild(nullptr, "A");
  TTreeNode* b = nodes.AddChild(nullptr, "B");
  TTreeNode* a1 = nodes.AddChildObject(a, "A1", &tree);
  nodes.AddChild(a1, "A1a");
  nodes.AddChild(a, "A2");
  nodes.InsertObject(b, "A+", nullptr);
  nodes.InsertObject(a, "0", nullptr);
  const std::vector<String> expected = {"0", "A", "A1", "A1a", "A2", "A+", "B"};
  EXPECT_EQ(expected, TextsInTreeOrder(nodes));
  EXPECT_EQ((std::vector<String>{"0", "A", "A+", "B"}), ControlRoots(tree));
  ASSERT_EQ(7, nodes.Count());
  for (int i = 0; i < 7; ++i) EXPECT_EQ(expected[static_cast<size_t>(i)], nodes.Item(i)->Text());
  EXPECT_THROW(nodes.Item(7), EListError);
  EXPECT_EQ(2, nodes.Item(3)->Level());
  EXPECT_EQ(a, a1->Parent());
  EXPECT_EQ(&tree, a1->Data);
  EXPECT_EQ(2, a->Count());
  EXPECT_EQ("A2", a->Item(1)->Text());
  EXPECT_EQ(a1, nodes.GetNode(a1->ItemId()));

  a->Delete();  // children (last first) before the node itself
  EXPECT_EQ((std::vector<String>{"A2", "A1a", "A1", "A"}), tree.Deleted);
  EXPECT_EQ((std::vector<String>{"0", "A+", "B"}), TextsInTreeOrder(nodes));
  EXPECT_EQ((std::vector<String>{"0", "A+", "B"}), ControlRoots(tree));
}

TEST(TreeViewTest, AlphaSortReordersNodesWithTheControl) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  TTreeNodes& nodes = *tree.Items();
  for (const char* s : {"pear", "Apple", "fig"}) nodes.AddChild(nullptr, s);
  TTreeNode* fig = nodes.Item(2);
  nodes.AddChild(fig, "z");
  nodes.AddChild(fig, "b");
  EXPECT_TRUE(tree.AlphaSort());
  EXPECT_EQ((std::vector<String>{"Apple", "fig", "b", "z", "pear"}), TextsInTreeOrder(nodes));
  EXPECT_EQ((std::vector<String>{"Apple", "fig", "pear"}), ControlRoots(tree));
}

TEST(TreeViewTest, ExpandAsksCanExpandOnce) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  TTreeNode* lazy = tree.Items()->AddChild(nullptr, "lazy");
  lazy->SetHasChildren(true);
  int asked = 0;
  bool allow = false;
  tree.OnExpanding = [&](TObject*, TTreeNode* node, bool& allowExpansion) {
    ++asked;
    allowExpansion = allow;
    if (allow && node->Count() == 0) tree.Items()->AddChild(node, "child");  // filled on demand
  };
  lazy->Expand(false);
  EXPECT_EQ(1, asked);
  EXPECT_FALSE(lazy->Expanded());
  allow = true;
  lazy->Expand(false);
  EXPECT_EQ(2, asked);
  EXPECT_TRUE(lazy->Expanded());
  EXPECT_EQ(1, lazy->Count());
  lazy->Collapse(false);
  EXPECT_FALSE(lazy->Expanded());
}

TEST(TreeViewTest, KeyboardExpansionGoesThroughTheNotification) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  TTreeNode* node = tree.Items()->AddChild(nullptr, "node");
  tree.Items()->AddChild(node, "child");
  tree.SetSelected(node);
  int asked = 0;
  tree.OnExpanding = [&](TObject*, TTreeNode* n, bool& allowExpansion) {
    ++asked;
    EXPECT_EQ(node, n);
    allowExpansion = false;
  };
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(1, asked);
  EXPECT_FALSE(node->Expanded());
  tree.OnExpanding.Clear();
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(node->Expanded());
}

TEST(TreeViewTest, SelectionThroughNotifications) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  TTreeNode* one = tree.Items()->AddChild(nullptr, "one");
  TTreeNode* two = tree.Items()->AddChild(nullptr, "two");
  EXPECT_EQ(nullptr, tree.Selected());
  tree.SetSelected(one);
  EXPECT_EQ(one, tree.Selected());
  EXPECT_TRUE(one->Selected());
  EXPECT_EQ((std::vector<String>{"one"}), tree.Changed);

  tree.OnChanging = [&](TObject*, TTreeNode* node, bool& allow) { allow = node != two; };
  tree.SetSelected(two);
  EXPECT_EQ(one, tree.Selected());
  EXPECT_EQ(1u, tree.Changed.size());
  // The user moves down: the same question, the same answer.
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(one, tree.Selected());
  tree.OnChanging.Clear();
  SendMessageA(tree.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(two, tree.Selected());
  EXPECT_EQ((std::vector<String>{"one", "two"}), tree.Changed);
}

TEST(TreeViewTest, ImagesComeFromTheCallback) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  TTreeNode* root = tree.Items()->AddChild(nullptr, "root");
  TTreeNode* child = tree.Items()->AddChild(root, "child");
  TVITEMA item{};
  item.mask = TVIF_IMAGE | TVIF_HANDLE;
  item.hItem = child->ItemId();
  ASSERT_TRUE(SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_GT(tree.ImageAsks, 0);
  EXPECT_EQ(4, item.iImage);
  EXPECT_EQ(4, child->ImageIndex());
}

TEST(TreeViewTest, NodesGoWithTheWindow) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  TTreeNode* root = tree.Items()->AddChild(nullptr, "root");
  tree.Items()->AddChild(root, "leaf");
  tree.Items()->AddChild(nullptr, "other");
  tree.SetSelected(root);
  tree.RecreateWnd();
  EXPECT_EQ(0, tree.Items()->Count());
  EXPECT_EQ(nullptr, tree.Items()->GetFirstNode());
  EXPECT_EQ((std::vector<String>{"other", "leaf", "root"}), tree.Deleted);
  EXPECT_EQ(nullptr, tree.Selected());
  ASSERT_TRUE(tree.HandleAllocated());
  TTreeNode* again = tree.Items()->AddChild(nullptr, "again");
  EXPECT_EQ(again, tree.Items()->GetFirstNode());
  EXPECT_EQ(1, static_cast<int>(SendMessageA(tree.Handle(), TVM_GETCOUNT, 0, 0)));
}

TEST(TreeViewTest, StylesFollowProperties) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  tree.SetShowLines(false);
  tree.SetReadOnly(true);
  LONG_PTR style = GetWindowLongPtrA(tree.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & TVS_HASLINES);
  EXPECT_FALSE(style & TVS_EDITLABELS);
  EXPECT_TRUE(style & TVS_HASBUTTONS);
  tree.Items()->AddChild(nullptr, "kept");
  tree.SetShowRoot(false);  // no re-creation: the node stays
  EXPECT_FALSE(GetWindowLongPtrA(tree.Handle(), GWL_STYLE) & TVS_LINESATROOT);
  EXPECT_EQ(1, tree.Items()->Count());
  TImageList images(nullptr);
  tree.SetImages(&images);
  EXPECT_EQ(reinterpret_cast<LRESULT>(images.Handle()), SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
}

TEST(TreeViewTest, FreedImageListIsForgotten) {
  auto form = MakeForm();
  TRecordingTree tree(form.get());
  tree.HandleNeeded();
  auto* images = new TImageList(nullptr);
  tree.SetImages(images);
  images->Free();
  EXPECT_EQ(nullptr, tree.Images());
  EXPECT_EQ(0, SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
}

}  // namespace

namespace {

String ItemText(HWND list, int item, int subItem) {
  char buffer[64] = {};
  LVITEMA lv{};
  lv.iSubItem = subItem;
  lv.pszText = buffer;
  lv.cchTextMax = sizeof(buffer);
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
  return buffer;
}

TEST(ListViewTest, ReportColumnsAndItemsSurviveRecreation) {
  auto form = MakeForm();
  TListView list(nullptr);
  list.SetParent(form.get());
  list.SetViewStyle(vsReport);
  list.AddColumn("Name", 120);
  list.AddItem("a.jpg")->SetSubItem(0, "12 KB");  // before the window
  list.HandleNeeded();
  TListColumn* size = list.AddColumn("Size", 60);
  size->SetAlignment(taRightJustify);
  list.AddItem("b.jpg")->SetSubItem(0, "3 KB");

  for (int pass = 0; pass < 2; ++pass) {
    HWND wnd = list.Handle();
    EXPECT_EQ(LVS_REPORT, GetWindowLongPtrA(wnd, GWL_STYLE) & LVS_TYPEMASK);
    ASSERT_EQ(2, static_cast<int>(SendMessageA(wnd, LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_EQ("a.jpg", ItemText(wnd, 0, 0));
    EXPECT_EQ("12 KB", ItemText(wnd, 0, 1));
    EXPECT_EQ("3 KB", ItemText(wnd, 1, 1));
    EXPECT_EQ(60, size->Width());
    HWND header = list.HeaderHandle();
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(2, static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)));
    LVCOLUMNA column{};
    column.mask = LVCF_FMT;
    SendMessageA(wnd, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(LVCFMT_RIGHT, column.fmt & LVCFMT_JUSTIFYMASK);
    list.RecreateWnd();
  }
  list.DeleteItem(0);
  EXPECT_EQ("b.jpg", ItemText(list.Handle(), 0, 0));
  EXPECT_THROW(list.DeleteItem(5), EListError);
}

TEST(ListViewTest, HeaderStyleAndImagesFollowProperties) {
  auto form = MakeForm();
  TListView list(nullptr);
  list.SetParent(form.get());
  list.SetViewStyle(vsReport);
  list.SetShowColumnHeaders(false);
  TImageList images(nullptr);
  list.SetSmallImages(&images);
  list.SetDragReorder(true);
  HWND wnd = list.Handle();
  EXPECT_TRUE(GetWindowLongPtrA(wnd, GWL_STYLE) & LVS_NOCOLUMNHEADER);
  EXPECT_EQ(reinterpret_cast<LRESULT>(images.Handle()), SendMessageA(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  EXPECT_TRUE(SendMessageA(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_HEADERDRAGDROP);
  list.SetShowColumnHeaders(true);
  EXPECT_FALSE(GetWindowLongPtrA(wnd, GWL_STYLE) & LVS_NOCOLUMNHEADER);
  list.SetViewStyle(vsList);
  EXPECT_EQ(LVS_LIST, GetWindowLongPtrA(wnd, GWL_STYLE) & LVS_TYPEMASK);
}

}  // namespace
