// The skinned tree view: colours and font from the skin, and two linked skinned
// scroll bars in place of its own.
#pragma once

#include "framework/gui/comctrls.h"
#include "skin/views/ksSkinLinkedView.h"

class TksSkinCustomTreeView : public TksSkinLinkedView<TCustomTreeView> {
 public:
  explicit TksSkinCustomTreeView(TComponent* AOwner);

  String SkinDataName = "treeview";
  void ChangeSkinData() override;
  void UpdateScrollBars() override;
  void Change(TTreeNode* Node) override;

 private:
  void VScroll(TObject* Sender);
  void HScroll(TObject* Sender);
};

class TksSkinTreeView : public TksSkinCustomTreeView {
 public:
  using TksSkinCustomTreeView::TksSkinCustomTreeView;
};
