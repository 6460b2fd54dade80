// Wrappers of the common controls: the tree view (nodes mirror the control's
// items while its window exists) and a minimal list view with its header.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/gui/extctrls.h"
#include "framework/gui/imagelist.h"
#include "framework/gui/wincontrol.h"

class TCustomTreeView;
class TTreeNodes;

class TTreeNode {
 public:
  TTreeNode(TTreeNodes& owner, TTreeNode* parent);
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  void* Data = nullptr;
  const String& Text() const { return text_; }
  void SetText(const String& value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int value);
  // Shows an expand button before any child exists (children added on expanding).
  bool HasChildren() const;
  void SetHasChildren(bool value);
  bool Expanded() const;
  void SetExpanded(bool value) { value ? Expand(false) : Collapse(false); }
  // Asks CanExpand first; a refusal leaves the node as it was.
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool Selected() const;

  int Count() const { return static_cast<int>(children_.size()); }
  TTreeNode* Item(int index) const;
  TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node in tree order: first child, next sibling, else an ancestor's next sibling.
  TTreeNode* GetNext() const;
  int Index() const;
  int Level() const;
  TTreeNode* Parent() const { return parent_; }
  // Removes this node and its subtree.
  void Delete();
  void DeleteChildren();
  HTREEITEM ItemId() const { return itemId_; }
  TTreeNodes& Owner() const { return owner_; }
  TCustomTreeView& TreeView() const;

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  void SetItem(UINT mask, const TVITEMA& values);

  TTreeNodes& owner_;
  TTreeNode* parent_;
  std::vector<std::unique_ptr<TTreeNode>> children_;
  HTREEITEM itemId_ = nullptr;
  String text_;
  int imageIndex_ = -1;
  int selectedIndex_ = -1;
  bool hasChildren_ = false;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TCustomTreeView& owner) : owner_(owner) {}
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // Nodes live in the control: adding one creates the tree's window.
  TTreeNode* AddChild(TTreeNode* Parent, const String& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Ptr);
  TTreeNode* Add(TTreeNode* Sibling, const String& S);
  // Before Sibling, at its level; a null sibling appends at the top level.
  TTreeNode* InsertObject(TTreeNode* Sibling, const String& S, void* Ptr);
  void Clear();
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front().get(); }
  // Every node; Item(i) counts in tree order.
  int Count() const;
  TTreeNode* Item(int index) const;
  void BeginUpdate();
  void EndUpdate();
  TCustomTreeView& Owner() const { return owner_; }
  // The node behind a control item, or null.
  TTreeNode* GetNode(HTREEITEM item) const;

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InsertNode(TTreeNode* parent, HTREEITEM after, size_t position, const String& S, void* Ptr);
  std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* parent);
  // Drops the node objects of a subtree, children first, telling the tree of each.
  void Release(std::vector<std::unique_ptr<TTreeNode>>& list, size_t index);
  void ReleaseAll();
  // Re-reads the order of every sibling list from the control (after a sort).
  void ReadOrder(TTreeNode* parent);

  TCustomTreeView& owner_;
  std::vector<std::unique_ptr<TTreeNode>> roots_;
  int updateCount_ = 0;
};

using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVCompare = int(CALLBACK*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

class TCustomTreeView : public TWinControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  void BeforeDestruction() override;

  TTreeNodes* Items() { return &items_; }
  TTreeNode* Selected();
  void SetSelected(TTreeNode* node);
  TTreeNode* TopItem();
  void SetTopItem(TTreeNode* node);
  // The node under a client point, or null.
  TTreeNode* GetNodeAt(int X, int Y);

  bool RightClickSelect = false;
  bool ShowRoot() const { return (styleFlags_ & TVS_LINESATROOT) != 0; }
  void SetShowRoot(bool value) { SetStyleFlag(TVS_LINESATROOT, value); }
  bool ShowLines() const { return (styleFlags_ & TVS_HASLINES) != 0; }
  void SetShowLines(bool value) { SetStyleFlag(TVS_HASLINES, value); }
  bool ShowButtons() const { return (styleFlags_ & TVS_HASBUTTONS) != 0; }
  void SetShowButtons(bool value) { SetStyleFlag(TVS_HASBUTTONS, value); }
  bool ReadOnly() const { return (styleFlags_ & TVS_EDITLABELS) == 0; }
  void SetReadOnly(bool value) { SetStyleFlag(TVS_EDITLABELS, !value); }
  int Indent();
  void SetIndent(int value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value) { SetImageList(images_, value, TVSIL_NORMAL); }
  TCustomImageList* StateImages() const { return stateImages_; }
  void SetStateImages(TCustomImageList* value) { SetImageList(stateImages_, value, TVSIL_STATE); }

  // Sorts every level; the nodes' order follows the control's.
  bool CustomSort(TTVCompare SortProc, LPARAM Data);
  bool AlphaSort();

  TTVExpandingEvent OnExpanding;
  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVChangedEvent OnDeletion;

  virtual bool CanExpand(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  // A node is going (by Delete, Clear or the window's end): OnDeletion.
  virtual void Delete(TTreeNode* Node);
  // Asked whenever the control draws a node; set Node->ImageIndex here.
  virtual void GetImageIndex(TTreeNode* /*Node*/) {}
  virtual void GetSelectedIndex(TTreeNode* /*Node*/) {}

 protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void CNNotify(TMessage& Message);
  bool Expanding(TTreeNode* node);

 private:
  void SetStyleFlag(DWORD flag, bool value);
  void SetImageList(TCustomImageList*& slot, TCustomImageList* value, WPARAM which);
  void ImageListChanged(TObject* Sender);
  TTreeNode* NodeOfItem(const TVITEMA& item) const;

  TTreeNodes items_;
  DWORD styleFlags_ = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS;
  int indent_ = 19;
  TCustomImageList* images_ = nullptr;
  TCustomImageList* stateImages_ = nullptr;
  TTreeNode* allowedExpansion_ = nullptr;  // Expand already asked for this node
  int deleting_ = 0;                       // items being deleted by us
};

class TTreeView : public TCustomTreeView {
 public:
  using TCustomTreeView::TCustomTreeView;
};

// --- list view: report-style lists with a header the skin can hook.

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TCustomListView;

class TListColumn {
 public:
  TListColumn(TCustomListView& owner, const String& caption, int width) : owner_(owner), caption_(caption), width_(width) {}
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  int Width();
  void SetWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  int Index() const;

 private:
  friend class TCustomListView;
  void Apply();
  TCustomListView& owner_;
  String caption_;
  int width_;
  TAlignment alignment_ = taLeftJustify;
  int imageIndex_ = -1;
};

class TListItem {
 public:
  TListItem(TCustomListView& owner, const String& caption) : owner_(owner), caption_(caption) {}
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  // The texts of the columns after the first.
  const std::vector<String>& SubItems() const { return subItems_; }
  void SetSubItem(int index, const String& value);
  int Index() const;
  void* Data = nullptr;

 private:
  friend class TCustomListView;
  void Apply();
  TCustomListView& owner_;
  String caption_;
  int imageIndex_ = -1;
  std::vector<String> subItems_;
};

class TCustomListView : public TWinControl {
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool value);
  // Columns may be dragged into another order.
  bool DragReorder() const { return dragReorder_; }
  void SetDragReorder(bool value);
  TCustomImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TCustomImageList* value);

  // Items and columns are kept here and shown by the control; they survive re-creation.
  TListItem* AddItem(const String& caption);
  int ItemCount() const { return static_cast<int>(items_.size()); }
  TListItem* Items(int index) const;
  void DeleteItem(int index);
  void ClearItems();
  TListColumn* AddColumn(const String& caption, int width = 50);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TListColumn* Columns(int index) const;
  void DeleteColumn(int index);

  // The control's header, for a subclass to hook; null without a window.
  HWND HeaderHandle();

 protected:
  friend class TListColumn;
  friend class TListItem;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  DWORD ViewFlags() const;
  void UpdateStyle();

  std::vector<std::unique_ptr<TListItem>> items_;
  std::vector<std::unique_ptr<TListColumn>> columns_;
  TViewStyle viewStyle_ = vsIcon;
  bool showColumnHeaders_ = true;
  bool dragReorder_ = false;
  TCustomImageList* smallImages_ = nullptr;
};

class TListView : public TCustomListView {
 public:
  using TCustomListView::TCustomListView;
};
