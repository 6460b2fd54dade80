// TksSkinForm: the skinned frame of a form. Owned by the form, it takes over the
// form's window procedure and its whole non-client area: geometry, painting in
// both looks (from the skin or a plain one of its own), hit tests, the window
// region cut from the skin's mask, its own window states and roll-up, the fade-in,
// and the skin change that it hands on to every skinned control of the form.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/core/classes.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "framework/gui/timer.h"
#include "framework/gui/wndproc.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"
#include "skin/frame/ksSkinFormObjects.h"
#include "skin/frame/ksWindowProcHook.h"

// Caption buttons and system-menu items a frame has (bits 0 to 4).
enum class TksBorderIcon : uint8_t { SystemMenu, Minimize, Maximize, RollUp, MinimizeToTray };

class TksBorderIcons {
 public:
  constexpr TksBorderIcons() = default;
  constexpr TksBorderIcons(std::initializer_list<TksBorderIcon> icons) {
    for (TksBorderIcon i : icons) bits_ |= Bit(i);
  }
  constexpr bool Contains(TksBorderIcon i) const { return (bits_ & Bit(i)) != 0; }
  constexpr TksBorderIcons With(TksBorderIcon i) const { return FromBits(bits_ | Bit(i)); }
  constexpr TksBorderIcons Without(TksBorderIcon i) const { return FromBits(bits_ & ~Bit(i)); }
  constexpr uint8_t Bits() const { return bits_; }
  constexpr bool operator==(const TksBorderIcons&) const = default;

 private:
  static constexpr uint8_t Bit(TksBorderIcon i) { return static_cast<uint8_t>(1u << static_cast<unsigned>(i)); }
  static constexpr TksBorderIcons FromBits(unsigned bits) {
    TksBorderIcons s;
    s.bits_ = static_cast<uint8_t>(bits);
    return s;
  }
  uint8_t bits_ = 0;
};

enum TksFormWindowState : uint8_t { kwsNormal, kwsMinimized, kwsMaximized };

using TksObjectNameEvent = TEvent<void(const String& IDName)>;
using TksObjectMouseEvent =
    TEvent<void(const String& IDName, int X, int Y, const TRect& ObjectRect, TMouseButton Button)>;
using TksObjectMoveEvent = TEvent<void(const String& IDName, int X, int Y, const TRect& ObjectRect)>;
using TksPaintEvent = TEvent<void(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect)>;
using TksActivateCustomObjectEvent = TEvent<void(const String& IDName, bool& ObjectVisible)>;

class TksSkinMenu;
class TksSkinPopupMenu;
class TksTrayIcon;
class TksSkinHint;
class TksSkinMainMenuBar;
class TksSkinMDITabsBar;

// Tiles `src` of the picture over (0, 0, cw, ch) from the top left.
void TileFormPicture(TCanvas* canvas, TBitmap* picture, const TRect& src, int cw, int ch);

class TksSkinForm : public TComponent, public IksSkinChange {
 public:
  // The owner must be the form to skin; its window is kept (never re-created).
  explicit TksSkinForm(TComponent* AOwner);
  ~TksSkinForm() override;
  void BeforeDestruction() override;

  // ---- skin change
  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;
  // Caption-button hints from the skin's resource strings or the built-in texts.
  void ChangeResStrings();

  // ---- properties
  TksSkinData* MenusSkinData() const { return menusSkinData_; }
  void SetMenusSkinData(TksSkinData* value);
  TksBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TksBorderIcons value);
  bool ShowIcon() const { return showIcon_; }
  void SetShowIcon(bool value);
  TFont* DefCaptionFont() { return &defCaptionFont_; }
  void SetDefCaptionFont(TFont* value);
  TFont* DefInActiveCaptionFont() { return &defInActiveCaptionFont_; }
  void SetDefInActiveCaptionFont(TFont* value);
  TBitmap* LogoBitMap() { return &logoBitMap_; }
  void SetLogoBitMap(TBitmap* value) { logoBitMap_.Assign(value); }
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool value);
  BYTE AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(BYTE value);
  // The look of the frame's menus: the engine's own settings, read and written there.
  bool MenusAlphaBlend() const;
  void SetMenusAlphaBlend(bool value);
  bool MenusAlphaBlendAnimation() const;
  void SetMenusAlphaBlendAnimation(bool value);
  BYTE MenusAlphaBlendValue() const;
  void SetMenusAlphaBlendValue(BYTE value);
  bool UseSkinFontInMenu() const;
  void SetUseSkinFontInMenu(bool value);
  int DefMenuItemHeight() const;
  // A height of 0 or less is ignored.
  void SetDefMenuItemHeight(int value);
  TFont* DefMenuItemFont();
  void SetDefMenuItemFont(TFont* value);

  int ClientWidth = 0;
  int ClientHeight = 0;
  bool HideCaptionButtons = false;
  bool AlwaysShowInTray = false;
  bool AlwaysMinimizeToTray = false;
  bool LogoBitMapTransparent = false;
  bool MaximizeOnFullScreen = false;
  bool AlphaBlendAnimation = false;
  bool ShowObjectHint = false;
  bool UseDefaultObjectHint = true;
  bool UseDefaultSysMenu = true;
  int MinWidth = 0;
  int MinHeight = 0;
  bool Magnetic = false;
  BYTE MagneticSize = 5;

  TNotifyEvent OnChangeSkinData, OnActivate, OnDeActivate, OnChangeRollUpState;
  TNotifyEvent OnMinimizeToTray, OnRestoreFromTray;
  TksObjectNameEvent OnMouseEnterEvent, OnMouseLeaveEvent;
  TksObjectMouseEvent OnMouseDownEvent, OnMouseUpEvent;
  TksObjectMoveEvent OnMouseMoveEvent;
  TksPaintEvent OnPaintEvent;
  TksActivateCustomObjectEvent OnActivateCustomObject;

  // The first frame component of the form, null when it has none.
  static TksSkinForm* GetSkinFormComponent(TComponent* form);

  // ---- state other parts of the library read
  TCustomForm* Form() const { return form_; }
  bool SkinnableForm() const { return skinnable_; }
  TksFormWindowState WindowState() const { return windowState_; }
  bool RollUpState() const { return rollUpState_; }
  bool FormActive() const { return formActive_; }
  TRect OldBoundsRect() const { return oldBoundsRect_; }
  const std::vector<std::unique_ptr<TksActiveSkinObject>>& Objects() const { return objects_; }
  // Grows whenever the objects are freed: an object whose command ran handlers
  // learns from it whether it still exists.
  unsigned ObjectsVersion() const { return objectsVersion_; }
  int ActiveObject() const { return activeObject_; }
  int CaptureObject() const { return captureObject_; }
  TTimer* HoverTimer() { return &hoverTimer_; }
  TTimer* MorphTimer() { return &morphTimer_; }
  TTimer* AnimateTimer() { return &animateTimer_; }
  bool InSizeMove() const { return inSizeMove_; }

  // ---- objects (frame objects call back here)
  void CreateSkinObjects();
  void CreateDefaultButtons();
  void ClearObjects();
  void CheckObjectsVisibility();
  void ResetObjects();
  bool GetFormActive() const { return formActive_; }
  void UpdateActiveState(bool redraw);
  void DrawSkinObject(TksActiveSkinObject* object);
  void StartMorph() { morphTimer_.SetEnabled(true); }
  void StartAnimate() { animateTimer_.SetEnabled(true); }
  void TestActive(int x, int y, bool inFrame);
  void MouseMoveToObject(int x, int y);
  void MouseDownToObject(TMouseButton button, int x, int y);
  void MouseUpToObject(TMouseButton button, int x, int y);
  void MouseDblClickToObject();
  HICON FormIcon();
  static SIZE GetSmallIconSize();
  void DrawFormIcon(TCanvas* canvas, int x, int y);
  // Shows an object's menu; the menu engine joins here. False: nothing shown.
  virtual bool PopupObjectMenu(TMenuItem* item, const TRect& screenAnchor, bool popupUp);
  // The root of the system menu, rebuilt for the current state and BorderIcons.
  virtual TMenuItem* GetSystemMenu();
  void PopupSystemMenuAt(int x, int y);
  // The application's own menu used as system menu; the frame adds its items.
  TPopupMenu* SystemMenu() const { return systemMenu_; }
  void SetSystemMenu(TPopupMenu* value);
  TPopupMenu* SysPopupMenu() const { return sysPopupMenu_; }
  TksSkinPopupMenu* TrayPopupMenu() const { return trayPopupMenu_; }

  // ---- layout and painting
  void CalcNewRects();
  TRect CalcObjectRect(const TRect& r) const;
  void CalcObjectRects();
  void UpdateSkinFrame(bool update);
  void ArrangeDefaultButtons();
  int GetDefCaptionHeight() const;
  int GetDefButtonSize() const;
  bool GetAutoRenderingInActiveImage() const;
  // The whole non-client picture (client left blank) at the window's size, in
  // the look in use: what WM_NCPAINT shows.
  void ComposeNonClient(TBitmap& out);
  void SetFormRegion(bool changeSize);
  // The client background into `canvas` (the client's origin at 0, 0).
  void PaintClientBackground(TCanvas* canvas);
  void DrawLogo(TCanvas* canvas);
  void RepaintFrame();
  String CaptionText() const;

  TRect NewClRect{}, NewCaptionRect{}, NewButtonsRect{}, NewMaskRectArea{}, DefCaptionRect{};
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TPoint NewHitTestLTPoint{}, NewHitTestRTPoint{}, NewHitTestLBPoint{}, NewHitTestRBPoint{};
  int FormWidth = 0, FormHeight = 0;

  // ---- interaction and window states
  TPoint PointToNCPoint(TPoint p) const;
  LRESULT HitTestSkin(TPoint p) const;
  LRESULT HitTestDefault(TPoint p) const;
  bool PtInMask(TPoint p) const;
  int GetMinWidth() const;
  int GetMinHeight() const;
  int GetMaxWidth() const;
  int GetMaxHeight() const;
  void MagneticPosition(int& x, int& y, int width, int height) const;
  void SetWindowState(TksFormWindowState state);
  void UpdateFrameSize();
  TPoint GetMinimizedPosition() const;
  void SetRollUpState(bool value);
  void CaptionDblClick();
  // The tray icon joins here; without one nothing happens.
  virtual void MinimizeToTray();
  virtual void RestoreFromTray();
  // The frame drives minimizing to it; it gets the tray menu and the
  // double-click restore when it has none of its own.
  TksTrayIcon* TrayIcon() const { return trayIcon_; }
  // Shows the frame objects' hints when ShowObjectHint is on.
  TksSkinHint* SkinHint() const { return skinHint_; }
  void SetSkinHint(TksSkinHint* value);
  void SetTrayIcon(TksTrayIcon* value);

  // ---- menu mode: while a skinned menu of the form is open every key typed in
  // the application goes to it
  TksSkinMenu* SkinMenu() const { return skinMenu_; }
  bool InSkinMenu() const { return inSkinMenu_; }
  bool AppHooked() const { return appHooked_; }
  // Before any skinned menu of the form opens.
  void SkinMenuOpen();
  void SkinMenuClose();
  void ProcessMenuKey(WORD key);
  TNotifyEvent OnSkinMenuOpen, OnSkinMenuClose;

  // ---- the main menu bar's keyboard mode, entered by the bar
  TksSkinMainMenuBar* MainMenuBar() const { return mainMenuBar_; }
  void SetMainMenuBar(TksSkinMainMenuBar* value);
  bool InMainMenu() const { return inMainMenu_; }
  void SetInMainMenu(bool value) { inMainMenu_ = value; }
  void HookApp();
  void MainMenuExit();
  // A menu opened from the bar closed; the bar keeps the keyboard.
  void SkinMenuCloseInMainMenu();
  // The form's OnShortCut: the bar's accelerators and its menu's shortcuts.
  void FormShortCut(TWMKey& msg, bool& handled);
  bool ShortCutHandled() const { return shortCutHandled_; }
  TNotifyEvent OnMainMenuEnter, OnMainMenuExit;

  // ---- MDI: a main form's frame and its children's frames work together
  TksSkinMDITabsBar* MDITabsBar() const { return mdiTabsBar_; }
  void SetMDITabsBar(TksSkinMDITabsBar* value);
  bool MDIChildMaximize() const { return mdiChildMaximize_; }
  bool IsMDIChild() const;
  bool IsMDIForm() const;
  bool IsMaximizedMDIChild() const { return IsMDIChild() && windowState_ == kwsMaximized; }
  // Lookups on the application's main form; null when there is none.
  static TksSkinForm* GetMaximizedMDIChildSkinForm();
  static TksSkinForm* GetActiveMDIChildSkinForm();
  static TCustomForm* GetMaximizedMDIChild();
  // The part of the main form's client area left to its MDI client.
  static TRect GetMDIWorkArea();
  void UpdateMDIChildren();
  void ArrangeMinimizedChilds();
  void ChildMenuItemClick(TObject* Sender);
  bool MDIClientSubclassed() const { return mdiClient_ != nullptr; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Ends every tie to the form; once.
  void LeaveForm();
  void UpdateDefaultSystemMenu();
  void UpdateUserSystemMenu();
  void CreateTrayMenu();
  TMenuItem* NewSysItem(const char* name);
  void SysItemClick(TObject* Sender);
  void TrayDblClick(TObject*) { RestoreFromTray(); }
  void ReleaseTrayIcon();
  void UnHookApp();
  void AppMessageHook(TMsg& msg, bool& handled);
  void CheckMenuClose(const TMessage& m);
  void EndMenuMode();
  void ObjectHint(int index, bool show);
  void NewWndProc(TMessage& m);
  bool HandleMessage(TMessage& m);  // true: the previous procedure must not run
  void RouteMouse(TMessage& m);
  void CallOld(TMessage& m) { windowProcHook_->Previous()(m); }
  void StripCaption();
  void FilterStyleChange(TMessage& m);
  void SetExStyle(DWORD set, DWORD clear);
  void WMSize(TMessage& m);
  void WMNCCalcSize(TMessage& m);
  void WMNCHitTest(TMessage& m);
  void WMNCPaint();
  void WMMoving(TMessage& m);
  void ShowFade(bool show);
  void FadeTick();
  void StopTimers();

  // MDI (ksSkinFormMDI.cpp)
  static TksSkinForm* MainSkinForm();
  void AddChildToMenu();
  void DeleteChildFromMenu();
  void UpdateChildMenuItem();
  static void CheckChildMenuItems();
  void AddChildToTabs();
  void DeleteChildFromTabs();
  void UpdateChildTab();
  static void UpdateMDITabsBar();
  static void UpdateMainMenuBarMDIButtons();
  void SendToMainForm(UINT msg);
  void SubclassMDIClient();
  void PlaceMDIClient();
  void MDIClientWndProc(TWindowSubclass& sub, TMessage& m);
  void PaintMDIClientBackground(HDC dc);
  // The frame's own steps on MDI messages; true when handled wholly.
  std::optional<bool> HandleMDIMessage(TMessage& m);

  void HoverTimerTick(TObject* Sender);
  void StopHoverWhenIdle();
  void MorphTimerTick(TObject* Sender);
  void AnimateTimerTick(TObject* Sender);

  void BeforeChangeControlsSkinData(TksSkinData* sender, TControl* control);
  void ChangeControlsSkinData(TksSkinData* sender, TControl* control);

  void Minimize();
  void Maximize();
  void Restore();
  bool Sizeable() const;
  bool IsMainForm() const;
  TRect WorkArea(bool workArea) const;
  TksSkinCaptionObject* CaptionAt(TPoint p) const;
  void ArrangeButtons(int x, int y, bool leftToRight);
  void ComposeSkinned(TBitmap& out);
  void ComposeDefault(TBitmap& out);
  void SetRegion(HRGN rgn);
  // Both skin links may name one container: dropping one keeps the other told.
  void LinkSkin(TksSkinData*& link, TksSkinData* value);

  TCustomForm* form_;
  std::unique_ptr<TksWindowProcHook> windowProcHook_;
  TksSkinData* skinData_ = nullptr;
  TksSkinData* menusSkinData_ = nullptr;
  TksBorderIcons borderIcons_{TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::Maximize,
                              TksBorderIcon::RollUp};
  bool showIcon_ = false;
  bool alphaBlend_ = false;
  BYTE alphaBlendValue_ = 200;
  TFont defCaptionFont_, defInActiveCaptionFont_;
  TBitmap logoBitMap_;
  TBitmap rmTop_, rmLeft_, rmRight_, rmBottom_;
  std::vector<std::unique_ptr<TksActiveSkinObject>> objects_;
  unsigned objectsVersion_ = 0;
  int activeObject_ = -1, oldActiveObject_ = -1, captureObject_ = -1;
  TTimer hoverTimer_, morphTimer_, animateTimer_;
  bool skinnable_ = false;
  TksFormWindowState windowState_ = kwsNormal;
  bool rollUpState_ = false, maxRollUpState_ = false;
  int oldHeight_ = 0;
  TRect oldBoundsRect_{};
  bool formActive_ = false;
  bool regionSet_ = false;  // the window owns the region once set
  std::unique_ptr<TIcon> formIcon_;
  bool inSizeMove_ = false, fullDrag_ = false;
  bool changingExStyle_ = false;
  TksSkinMenu* skinMenu_ = nullptr;  // owned as a component
  TPopupMenu* sysPopupMenu_ = nullptr;  // owned as a component
  TksSkinPopupMenu* trayPopupMenu_ = nullptr;  // owned as a component
  TPopupMenu* systemMenu_ = nullptr;
  TksTrayIcon* trayIcon_ = nullptr;
  TksSkinHint* skinHint_ = nullptr;
  bool inSkinMenu_ = false, appHooked_ = false;
  bool inMainMenu_ = false;
  bool shortCutHandled_ = false;
  TksSkinMainMenuBar* mainMenuBar_ = nullptr;
  TksSkinMDITabsBar* mdiTabsBar_ = nullptr;
  bool mdiChildMaximize_ = false;
  std::unique_ptr<TWindowSubclass> mdiClient_;
  TMessageEvent oldAppMessage_, ownAppMessage_;
};
