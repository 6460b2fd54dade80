// The skinned tree view: colours and font from the skin, and two linked skinned
// scroll bars in place of its own.
#pragma once

#include "framework/core/gdiobjects.h"
#include "framework/gui/comctrls.h"
#include "skin/ksSkinChange.h"
#include "skin/ksSkinData.h"
#include "skin/ksSkinLinkedBars.h"

class TksSkinCustomTreeView : public TCustomTreeView, public IksSkinChange {
 public:
  explicit TksSkinCustomTreeView(TComponent* AOwner);

  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  String SkinDataName = "treeview";
  int ControlIndex() const { return controlIndex_; }
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  void ChangeSkinData() override;

  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  bool UseSkinFont = true;
  TColor DefaultColor = clWindow;

  TksSkinScrollBar* VScrollBar() const { return bars_.V(); }
  void SetVScrollBar(TksSkinScrollBar* value);
  TksSkinScrollBar* HScrollBar() const { return bars_.H(); }
  void SetHScrollBar(TksSkinScrollBar* value);
  // Shows, hides and ranges the linked bars as the tree's own bars stand.
  void UpdateScrollBars();

  void Loaded() override;
  void Change(TTreeNode* Node) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void VScroll(TObject* Sender);
  void HScroll(TObject* Sender);

  TksSkinData* skinData_ = nullptr;
  int controlIndex_ = -1;
  TFont defaultFont_;
  bool updating_ = false;
  TksLinkedScrollBars bars_;
};

class TksSkinTreeView : public TksSkinCustomTreeView {
 public:
  using TksSkinCustomTreeView::TksSkinCustomTreeView;
};
