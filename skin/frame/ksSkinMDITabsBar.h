// The MDI tabs bar: one skinned tab per MDI child of the main form. A press on a
// tab brings its child to the front (restoring a minimized one); tabs can be
// dragged to a new place. The frames add, remove and mark the tabs.
#pragma once

#include <memory>
#include <vector>

#include "skin/controls/ksSkinCtrls.h"

class TksSkinMDITabsBar;

class TksMDITab {
 public:
  TksMDITab(TksSkinMDITabsBar* tabsBar, TCustomForm* child) : TabsBar(tabsBar), Child(child) {}
  void Draw(TCanvas* canvas);

  TksSkinMDITabsBar* TabsBar;
  bool Active = false;
  bool MouseIn = false;
  TRect ObjectRect{};
  TCustomForm* Child;
};

using TksMDITabMouseEnterEvent = TEvent<void(TksMDITab* MDITab)>;
using TksMDITabMouseLeaveEvent = TEvent<void(TksMDITab* MDITab)>;
using TksMDITabMouseDownEvent = TEvent<void(TMouseButton Button, TShiftState Shift, TksMDITab* MDITab)>;
using TksMDITabMouseUpEvent = TEvent<void(TMouseButton Button, TShiftState Shift, TksMDITab* MDITab)>;

class TksSkinMDITabsBar : public TksSkinControl {
 public:
  explicit TksSkinMDITabsBar(TComponent* AOwner);
  ~TksSkinMDITabsBar() override;

  bool MoveTabs = true;
  int DefaultTabWidth = 100;
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int value);
  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  TksMDITabMouseEnterEvent OnTabMouseEnter;
  TksMDITabMouseLeaveEvent OnTabMouseLeave;
  TksMDITabMouseDownEvent OnTabMouseDown;
  TksMDITabMouseUpEvent OnTabMouseUp;

  void AddTab(TCustomForm* child);
  void DeleteTab(TCustomForm* child);
  void ClearTabs();
  void UpdateActiveTab();
  // Redraws every tab of the child (its caption changed).
  void RedrawTabsOf(TCustomForm* child);

  void SetSkinData(TksSkinData* value) override;
  void GetSkinData() override;
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;

  // Lays the tabs out for the current width; the dragged one follows the drag.
  void CalcTabRects();
  // The tab a drag would be dropped at, -1 for none.
  int DropPosition() const;
  // The bar's whole face, as painting shows it.
  void PaintBar(TBitmap* b) { CreateControlImage(b); }

  const std::vector<std::unique_ptr<TksMDITab>>& Tabs() const { return tabs_; }
  int ActiveTab() const { return activeTab_; }
  int OldActiveTab() const { return oldActiveTab_; }
  int DragIndex() const { return dragIndex_; }
  bool Dragging() const { return dragging_; }
  int DragOffset() const { return dragOffset_; }
  bool Skinned() const { return tabData_ != nullptr && picture_ != nullptr; }

  // The skin's tab description, read by the tabs.
  TksDataSkinTabControl* TabData() const { return tabData_; }
  TBitmap* Picture() const { return picture_; }
  TRect ActiveTabRect{}, MouseInTabRect{};

  void TestActive(int x, int y);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void CMMouseLeave(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void CreateControlImage(TBitmap* b);
  void DrawTabs(TCanvas* canvas);
  void DrawInsertMark(TCanvas* canvas, int drop);
  // A tab went: the indexes into the list follow it.
  void TabRemoved(int index);
  void EndDrag();

  std::vector<std::unique_ptr<TksMDITab>> tabs_;
  int activeTab_ = -1, oldActiveTab_ = -1;
  bool tabPressed_ = false;
  int dragIndex_ = -1;
  bool dragging_ = false;
  int downX_ = 0, dragOffset_ = 0;
  int defaultHeight_ = 21;
  TFont defaultFont_;
  TksDataSkinTabControl* tabData_ = nullptr;
  TBitmap* picture_ = nullptr;
};
