// A skinned tree of the shell namespace: one node per shell item, children read when
// a node is first expanded, names and icons as the shell shows them.
#pragma once

#include <memory>

#include "skin/shell/ksShellChangeNotifier.h"
#include "skin/shell/ksShellFolder.h"
#include "skin/views/ksSkinTreeView.h"

using TAddFolderEvent = TEvent<void(TObject* Sender, TksShellFolder* AFolder, bool& CanAdd)>;

class TksCustomShellTreeView : public TksSkinCustomTreeView {
 public:
  explicit TksCustomShellTreeView(TComponent* AOwner);
  ~TksCustomShellTreeView() override;

  const String& Root() const { return root_; }
  // Raises "Error setting path: ..." for a text that names nothing; the old root stays.
  void SetRoot(const String& value);
  TShellObjectTypes ObjectTypes() const { return objectTypes_; }
  virtual void SetObjectTypes(TShellObjectTypes value);
  bool UseShellImages() const { return useShellImages_; }
  void SetUseShellImages(bool value);
  bool AutoContextMenus = true;
  bool AutoRefresh() const { return autoRefresh_; }
  void SetAutoRefresh(bool value);
  TAddFolderEvent OnAddFolder;
  // A shell combo box and file list kept in step with the tree; none of our forms
  // links one, so the tree only holds them and forgets them when they go.
  TComponent* ShellComboBox() const { return shellComboBox_; }
  void SetShellComboBox(TComponent* value) { SetComponentReference(this, shellComboBox_, value); }
  TComponent* ShellListView() const { return shellListView_; }
  void SetShellListView(TComponent* value) { SetComponentReference(this, shellListView_, value); }

  TksShellFolder* SelectedFolder();
  static TksShellFolder* FolderOf(TTreeNode* node) { return node ? static_cast<TksShellFolder*>(node->Data) : nullptr; }
  // Re-reads one node from the shell, keeping expansion, selection and top node.
  void RefreshNode(TTreeNode* Node);
  // From start on in tree order, within start's subtree: the node of an absolute list.
  TTreeNode* FindNodeByID(LPCITEMIDLIST ID, TTreeNode* StartNode);
  // Renames a node's item and re-reads its children, whose paths changed with it.
  void RenameNode(TTreeNode* Node, const String& NewName);

  // The hooks around a shell context-menu command: true when the tree ran it itself.
  bool BeforeShellCommand(const String& Verb);
  void AfterShellCommand(const String& Verb, bool Succeeded);

  TksShellChangeNotifier* Notifier() const { return notifier_; }

  void Loaded() override;
  bool CanExpand(TTreeNode* Node) override;
  bool CanChange(TTreeNode* Node) override;
  void Delete(TTreeNode* Node) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void CNNotify(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;

 private:
  void CreateRoot(const String& oldText);
  void InitNode(TTreeNode* parentNode, LPCITEMIDLIST pidl);
  void PopulateNode(TTreeNode* node);
  void SetIcons(TTreeNode* node, const TksShellFolder& folder);
  void ApplyImages();
  void StartNotifier();
  // The shell's own menu of the selected item at a screen point; modal.
  void ShowShellContextMenu(POINT screen);

  String root_ = "rfDesktop";
  TShellObjectTypes objectTypes_ = ShellObjectSet(otFolders);
  bool useShellImages_ = true;
  bool autoRefresh_ = false;
  HIMAGELIST systemImages_ = nullptr;
  std::unique_ptr<TksShellFolder> rootObject_;
  TksShellChangeNotifier* notifier_ = nullptr;
  bool busy_ = false;
  bool buildingRoot_ = false;
  TTreeNode* selecting_ = nullptr;
  String savedDirectory_;
  TComRef<IContextMenu2> openMenu_;  // while the shell's menu is shown
  bool settingImages_ = false;
  TComponent* shellComboBox_ = nullptr;
  TComponent* shellListView_ = nullptr;
};

class TksSkinDirTreeView : public TksCustomShellTreeView {
 public:
  using TksCustomShellTreeView::TksCustomShellTreeView;
};
