// The skinned main menu bar: the top-level items of a main menu as skinned bar
// items whose submenus open through the form's skinned menu engine, walked by
// the keyboard while the frame is in its main-menu mode. On an MDI main form
// whose active child is maximized it carries that child's system-menu,
// minimize, restore and close buttons and merges the child's main menu.
#pragma once

#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/menus.h"
#include "framework/gui/timer.h"
#include "skin/controls/ksSkinCtrls.h"

class TksSkinMainMenuBar;
class TksSkinForm;

// One item or button of the bar.
class TksMenuBarObject {
 public:
  TksMenuBarObject(TksSkinMainMenuBar* parent, TksDataSkinObject* data);
  virtual ~TksMenuBarObject() = default;
  TksMenuBarObject(const TksMenuBarObject&) = delete;
  TksMenuBarObject& operator=(const TksMenuBarObject&) = delete;

  virtual void Draw(TCanvas* /*canvas*/) {}
  virtual void MouseDown(TMouseButton /*button*/, int /*x*/, int /*y*/) {}
  virtual void MouseUp(TMouseButton /*button*/, int /*x*/, int /*y*/) {}
  virtual void DblClick() {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool CanMorph() const;
  // Starts the bar's fade when morphing, else draws at once.
  void ReDraw();
  void DoMorph();
  // In fifths: 0 the normal face, 5 the active one.
  void SetMorphKf(int fifths) { MorphKf = fifths < 0 ? 0 : (fifths > 5 ? 5 : fifths); }
  bool Between() const { return Morphing && MorphKf > 0 && MorphKf < 5; }

  TksSkinMainMenuBar* Parent;
  bool Active = false;
  TBitmap* Picture = nullptr;
  bool Down = false;
  int MorphKf = 0;
  String IDName;
  TRect SkinRect{}, ActiveSkinRect{}, DownSkinRect{}, ObjectRect{};
  bool Highlight = false;
  bool Enabled = true, Visible = true;
  bool Morphing = false;
  TksMorphKind MorphKind = 0;
};

// One of the maximized MDI child's buttons: 0 close, 1 restore, 2 minimize, 3 system menu.
class TksSkinMainMenuBarButton : public TksMenuBarObject {
 public:
  TksSkinMainMenuBarButton(TksSkinMainMenuBar* parent, TksDataSkinMainMenuBarButton* data, int command);

  void Draw(TCanvas* canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;
  void DblClick() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void ButtonClick();

  bool Skinned;
  int Command;
};

class TksSkinMainMenuBarItem : public TksMenuBarObject {
 public:
  TksSkinMainMenuBarItem(TksSkinMainMenuBar* parent, TksDataSkinMainMenuBarItem* data, TMenuItem* item);

  void Draw(TCanvas* canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetDown(bool value);
  bool HasSubMenu() const { return MenuItem->Count() > 0; }
  // Left edge given, the width the caption needs in either look.
  void Layout(int left, TCanvas* measure);

  bool Skinned;
  bool SavedEnabled;
  bool Fits = true;
  TMenuItem* MenuItem;
  String FontName;
  int FontHeight = 14;
  TFontStyles FontStyle = 0;
  TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
  TRect TextRect{}, DownRect{};
  int ItemLeftOffset = 0, ItemRightOffset = 0;

 private:
  void DrawSkinned(TCanvas* canvas);
  void DrawDefault(TCanvas* canvas);
  void SkinFace(TBitmap* b, const TRect& source);
};

using TksItemEnterEvent = TEvent<void(TMenuItem* MenuItem)>;
using TksItemLeaveEvent = TEvent<void(TMenuItem* MenuItem)>;

class TksSkinMainMenuBar : public TksSkinControl {
 public:
  explicit TksSkinMainMenuBar(TComponent* AOwner);
  ~TksSkinMainMenuBar() override;

  TMainMenu* MainMenu() const { return mainMenu_; }
  void SetMainMenu(TMainMenu* value);
  TksSkinForm* ksSkinForm() const { return skinForm_; }
  void SetksSkinForm(TksSkinForm* value);
  bool ScrollMenu = true;
  bool UseSkinFont = true;
  TFont* DefItemFont() { return &defItemFont_; }
  void SetDefItemFont(TFont* value);
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int value);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int value);
  bool PopupToUp = false;
  TksItemEnterEvent OnItemMouseEnter;
  TksItemLeaveEvent OnItemMouseLeave;

  void CreateMenuItems();
  void UpdateItems();

  // ---- skin change
  void SetSkinData(TksSkinData* value) override;
  void GetSkinData() override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // ---- the frame's calls
  void StartMenuMode();
  void EndMenuMode();
  void NextItem();
  void PrevItem();
  bool FindAccelItem(WORD key);
  bool ExecuteActiveItem();
  void ReleaseDownItem();
  void ShowMDIButtons();
  void UpdateMDIButtons();

  // ---- layout and painting
  void CalcObjectRects();
  // The whole bar as WM_ERASEBKGND paints it; lays the items out on the way.
  void PaintBar(TBitmap& b);
  void DrawObject(TksMenuBarObject* object);
  TRect ScreenRect(const TRect& r);
  TRect MarkerRect() const;

  // ---- mouse
  void TestActive(int x, int y);
  void MouseTimerTick(TObject* Sender);
  void MorphTimerTick(TObject* Sender);
  void StartMorph() { morphTimer_.SetEnabled(true); }

  // ---- state
  const std::vector<std::unique_ptr<TksMenuBarObject>>& Objects() const { return objects_; }
  TksSkinMainMenuBarItem* Item(int index) const;
  int ActiveObject() const { return activeObject_; }
  int OldActiveObject() const { return oldActiveObject_; }
  int MouseDownObject() const { return mouseDownObject_; }
  int ButtonsCount() const { return buttonsCount_; }
  bool MDIButtonsShown() const { return mdiButtonsShown_; }
  bool InMenu() const { return inMenu_; }
  void SetInMenu(bool value) { inMenu_ = value; }
  bool HasHiddenItems() const { return hasHiddenItems_; }
  bool MarkerActive() const { return markerActive_; }
  bool MergedMenu() const { return mergedMenu_; }
  bool Skinned() const { return skinned_; }
  TTimer* MouseTimer() { return &mouseTimer_; }
  TTimer* MorphTimer() { return &morphTimer_; }
  TRect NewItemsRect{};
  TksDataSkinMainMenuBar* BarData() const { return barData_; }
  // The skin of the maximized child's system menu: the frame's menu skin, else its own.
  TksSkinData* MenuSkin() const;
  // The maximized MDI child's frame whose buttons the bar shows.
  TksSkinForm* ChildSkinForm() const;
  // The items that do not fit, as a menu below the marker.
  void PopupHiddenItems();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Paint() override {}
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  void FreeObjects();
  void CreateMDIButtons();
  void AddMDIButton(const String& name, int command);
  void EnableMDIButtons();
  void HideMDIButtons();
  TMainMenu* ChildMenu() const;
  void DrawMarker(TCanvas* canvas);
  int FirstHidden() const;
  // Enabled items that fit, the highlighted or pressed one among them.
  std::vector<int> WalkableItems() const;
  int HighlightedItem() const;
  // The highlight one walkable item on (1) or back (-1), round the ends; from none,
  // to the first or the last.
  void StepItem(int step);

  TMainMenu* mainMenu_ = nullptr;
  TksSkinForm* skinForm_ = nullptr;
  TFont defItemFont_;
  int defaultWidth_ = 0, defaultHeight_ = 22;
  std::vector<std::unique_ptr<TksMenuBarObject>> objects_;
  int activeObject_ = -1, oldActiveObject_ = -1, mouseDownObject_ = -1;
  int buttonsCount_ = 0;
  bool mdiButtonsShown_ = false, inMenu_ = false, hasHiddenItems_ = false, markerActive_ = false;
  bool mergedMenu_ = false, skinned_ = false;
  TTimer mouseTimer_{nullptr};
  TTimer morphTimer_{nullptr};
  TksDataSkinMainMenuBar* barData_ = nullptr;
  TBitmap* picture_ = nullptr;
};
