// The skinned popup menu: an engine that shows a menu item's subitems as a chain
// of borderless popup windows (levels), follows the mouse by polling and the keys
// the frame hands it, and tells the opening control and the form when the chain
// closes. A level measures, places and paints itself, skinned or in a look of its
// own; an item knows its state and draws its face.
#pragma once

#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/menus.h"
#include "framework/gui/timer.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"
#include "skin/data/ksSkinMessages.h"

class TksSkinMenu;
class TksSkinPopupWindow;
class TCustomImageList;

// One listed menu item of a level.
class TksSkinMenuItem {
 public:
  TksSkinMenuItem(TksSkinPopupWindow* parent, TksDataSkinMenuItem* data, TMenuItem* menuItem);
  virtual ~TksSkinMenuItem() = default;
  TksSkinMenuItem(const TksSkinMenuItem&) = delete;
  TksSkinMenuItem& operator=(const TksSkinMenuItem&) = delete;

  virtual bool CanMorph();
  void Draw(TCanvas* canvas);
  void ReDraw();
  void DoMorph();
  // In fifths: 0 the normal face, 5 the active one.
  void SetMorphKf(int fifths) { MorphKf = fifths < 0 ? 0 : (fifths > 5 ? 5 : fifths); }

  void MouseEnter(bool byKeyboard);
  void MouseLeave();
  void Execute();

  bool IsSeparator() const { return MenuItem->Caption() == "-"; }
  bool HasSubMenu() const { return MenuItem->Count() > 0; }
  bool Selectable() const { return MenuItem->Enabled() && !IsSeparator(); }
  // Both looks' row height of this item.
  int Height() const;

  TksSkinPopupWindow* Parent;
  TksDataSkinMenuItem* Data;  // null in the look without skin
  TBitmap* ActivePicture = nullptr;
  int MorphKf = 0;
  TMenuItem* MenuItem;
  TRect ObjectRect{};
  bool Active = false, Down = false, Visible = true, SelectedAtOpen = false;

 private:
  bool DrawnActive() const { return Active || Down; }
  void CreateSkinItemImage(TBitmap* b, bool active);
  void DefaultDraw(TCanvas* canvas);
};

// One level of a menu chain: a parentless popup that never takes the focus.
class TksSkinPopupWindow : public TCustomControl, public IksSkinChange {
 public:
  TksSkinPopupWindow(TksSkinMenu* menu, TksDataSkinPopupWindow* popupData);
  ~TksSkinPopupWindow() override;

  void Show(const TRect& anchorRect, TMenuItem* item, bool popupUp, bool subMenu, int startIndex);
  void Show2(const TRect& anchorRect, TMenuItem* item, bool popupUp, bool subMenu, int startIndex,
             TMenuItem* item2);
  void CalcItemRects();
  void PaintMenu(HDC dc);
  void ProcessKey(WORD key);
  void CloseSubLevels();
  // The cursor poll of one MouseTimer tick.
  void MouseTimerTick(TObject* Sender);
  void TestActive(int x, int y);
  void NextItem();
  void PrevItem();
  void ScrollUp(bool cycle);
  void ScrollDown(bool cycle);
  bool CanScroll(int direction) const;
  int GetEndTopIndex() const;
  // One tick of window timer 1 (scrolling).
  void ScrollTimerTick();

  TksSkinData* SkinData() const override { return skinData_; }
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;

  bool Skinned() const { return PopupData != nullptr; }
  int ItemHeight(const TksSkinMenuItem& item) const;
  TRect UpperMarker() const;
  TRect LowerMarker() const;

  TksSkinMenu* Menu;
  TksDataSkinPopupWindow* PopupData = nullptr;
  TksDataSkinMenuItem* ItemData = nullptr;
  TBitmap* WindowPicture = nullptr;
  TBitmap* MaskPicture = nullptr;
  int VisibleCount = 0, TopIndex = 0;
  bool Scroll = false;
  int ScrollState = 0;
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewItemsRect{};
  int X = 0, Y = 0;
  TPoint LastCursorPos{-1, -1};
  TCustomImageList* Images = nullptr;
  int ImagesWidth = 19;
  int OldActiveItem = -1, ActiveItem = -1;
  TTimer MouseTimer{nullptr};
  TTimer MorphTimer{nullptr};
  std::vector<std::unique_ptr<TksSkinMenuItem>> Items;
  // The font items are measured and drawn with.
  TFont ItemFont;
  static constexpr UINT_PTR kScrollTimerId = 1;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int x, int y) override;
  void Paint() override {}

 private:
  void ReadSkin(TksDataSkinPopupWindow* popupData);
  void CreateMenu(TMenuItem* item, TMenuItem* item2, int startIndex);
  void SetMenuWindowSize();
  void CalcPosition(const TRect& r, bool popupUp, bool subMenu);
  void SetMenuWindowRegion();
  void CreateWindowImage(TBitmap* b);
  void DrawScrollMarkers(TCanvas* canvas);
  int ItemTextWidth(TksSkinMenuItem& item);
  void ShowLevel(const TRect& anchorRect, bool popupUp, bool subMenu);
  void MorphTimerTick(TObject* Sender);
  void StartScroll();
  void StopScroll();
  void Relayout();
  void EnterItem(int index, bool byKeyboard);
  void ScrollIntoView(int index);
  int FindAccelItem(WORD key) const;
  TRect ItemsArea() const;  // where the items sit, inside the markers when scrolling
  TksDataSkinPopupWindow* givenPopupData_;
  TksSkinData* skinData_ = nullptr;
};

// Where WM_SKINMENUCLOSED and WM_CLOSESKINMENU go; a windowless control gets them
// through its own dispatch.
void SendMenuMessage(TControl* control, UINT msg);

class TksSkinMenu : public TComponent, public IksSkinChange {
 public:
  TksSkinMenu(TComponent* AOwner, TWinControl* form);
  ~TksSkinMenu() override;

  void Popup(TControl* popupCtrl, TksSkinData* skinData, bool popupUp, TMenuItem* item, const TRect& anchorRect,
             int startIndex);
  void Popup2(TControl* popupCtrl, TksSkinData* skinData, bool popupUp, TMenuItem* item2, TMenuItem* item,
              const TRect& anchorRect, int startIndex);
  void CloseMenu();
  void CloseToLevel(int n);
  void CheckItem(TksSkinPopupWindow* window, TksSkinMenuItem* item, bool byKeyboard, bool click);
  void AddLevel(const TRect& anchorRect, TMenuItem* item, bool popupUp, bool subMenu, int startIndex,
                TMenuItem* item2 = nullptr);
  int LevelIndex(const TksSkinPopupWindow* window) const;
  TRect GetWorkArea();

  bool Visible() const { return visible_; }
  const std::vector<TksSkinPopupWindow*>& Levels() const { return levels_; }
  TksSkinPopupWindow* TopLevel() const { return levels_.empty() ? nullptr : levels_.back(); }
  TControl* PopupCtrl() const { return popupCtrl_; }
  TControl* CommandCtrl() const { return commandCtrl_; }
  TWinControl* Form() const { return form_; }
  TksSkinMenuItem* WaitItem() const { return waitItem_; }
  TTimer* WaitTimer() { return &waitTimer_; }
  TFont* DefMenuItemFont() { return &defMenuItemFont_; }
  // Stops a pending hover delay.
  void CancelWait() { StopWaiting(); }
  void SetDefMenuItemFont(TFont* value) { defMenuItemFont_.Assign(value); }

  TksSkinData* SkinData() const override { return skinData_; }
  // A skin change closes any open chain: its levels point into the old skin.
  void BeforeChangeSkinData() override { CloseMenu(); }
  void ChangeSkinData() override {}

  bool UseSkinFont = true;
  bool FirstShow = false;
  int DefMenuItemHeight = 20;
  TRect WorkArea{};
  bool AlphaBlend = false;
  BYTE AlphaBlendValue = 150;
  bool AlphaBlendAnimation = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void WaitTimerTick(TObject* Sender);
  void StopWaiting();
  void SetPopupCtrl(TControl* value);
  void SetCommandCtrl(TControl* value);
  void SetSkinData(TksSkinData* value);
  bool PopupChain(TControl* popupCtrl, TksSkinData* skinData, bool popupUp, TMenuItem* item, TMenuItem* item2,
                  const TRect& anchorRect, int startIndex);

  TWinControl* form_;
  TControl* popupCtrl_ = nullptr;
  TControl* commandCtrl_ = nullptr;
  TksSkinData* skinData_ = nullptr;
  TTimer waitTimer_{nullptr};
  TksSkinMenuItem* waitItem_ = nullptr;
  bool visible_ = false;
  bool destroying_ = false;
  std::vector<TksSkinPopupWindow*> levels_;
  TFont defMenuItemFont_;
};

// The form messages on which the frame closes an open chain.
bool IsMenuCloseMessage(UINT msg);

// The three glyphs the menu draws itself.
void DrawCheckImage(TCanvas* canvas, int x, int y, TColor color);
void DrawSubMenuMark(TCanvas* canvas, int x, int y, TColor color);
void DrawRadioImage(TCanvas* canvas, int x, int y, TColor color);
