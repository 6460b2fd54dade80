// Windowless skinned controls: the shared bases of ksSkinBase.h over a control
// without a window (opaque unless told otherwise), and the speed buttons that
// sit on a skinned tool bar.
#pragma once

#include <memory>

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/core/gdiobjects.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/timer.h"
#include "skin/controls/ksSkinBase.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/data/ksSkinData.h"
#include "skin/draw/ksSkinMorph.h"
#include "skin/menus/ksSkinPopup.h"

class TksGraphicSkinControl : public TksSkinBase<TGraphicControl> {
 public:
  explicit TksGraphicSkinControl(TComponent* AOwner);
};

class TksGraphicSkinCustomControl : public TksSkinFaceBase<TksGraphicSkinControl> {
 public:
  explicit TksGraphicSkinCustomControl(TComponent* AOwner);
};

class TksSkinToolBar;

class TksSkinSpeedButton : public TksGraphicSkinCustomControl, public TksGlyphCaption, public TksButtonLook {
 public:
  explicit TksSkinSpeedButton(TComponent* AOwner);
  ~TksSkinSpeedButton() override;

  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  // Widths applied when ShowCaption changes; used only when both are at least 1.
  int WidthWithCaption = 0;
  int WidthWithoutCaption = 0;
  bool Flat() const { return flat_; }
  // A flat button is transparent too: its normal state shows only image and caption.
  void SetFlat(bool value);
  bool Transparent() const { return (ControlStyle() & csOpaque) == 0; }
  void SetTransparent(bool value);
  // The image of the parent tool bar's lists drawn while Glyph is empty.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool Down() const { return down_; }
  // Pressing a button of a group releases the other down buttons of the group.
  void SetDown(bool value);
  // Buttons of one parent with the same non-zero index form a group.
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value) { groupIndex_ = value; }
  // A down group button is released by clicking it again.
  bool AllowAllUp = false;
  // Clicks on every tick while held down inside.
  bool RepeatMode = false;
  int RepeatInterval = 100;  // milliseconds
  bool MouseIn() const { return mouseIn_; }
  // The running repeat timer, null when not repeating; tests fire it.
  TTimer* RepeatTimer() const { return repeatTimer_.get(); }

  bool Morphing = false;
  TksMorphKind MorphKind = 0;
  // The morph position in fifths: 0 the normal face, 5 the hot one.
  int MorphSteps() const { return morph_.Steps(); }
  TTimer* MorphTimer() const { return morph_.Timer(); }

  void GetSkinData() override;
  void ChangeSkinData() override;

 protected:
  virtual void CreateButtonImage(TBitmap* b, const TRect& r, bool hot, bool down);
  virtual void ButtonClick();
  void GlyphChanged() override { Repaint(); }
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

  bool HasButtonDescription() const { return SkinDescription<TksDataSkinButtonControl>() != nullptr; }
  bool DownLook() const { return down_ && (mouseIn_ || groupIndex_ != 0); }
  String ShownCaption() { return showCaption_ ? Caption() : String(); }
  void SetFontFor(TCanvas* canvas, bool useSkinFont);
  // Glyph, or the tool bar's image, and the caption inside R.
  void DrawContent(TCanvas* canvas, const TRect& r, bool hot, bool down);
  // The press and release of a plain speed button, for the menu button's other parts.
  void PressDown();
  void StopRepeat() { repeatTimer_.reset(); }

  bool mouseIn_ = false;

 private:
  TksSkinToolBar* ToolBar() const;
  bool CanMorph() const { return Morphing && HasButtonDescription() && !Transparent(); }
  void StartRepeat();
  void RepeatTick(TObject* Sender);

  bool showCaption_ = true;
  bool flat_ = false;
  int imageIndex_ = 0;
  bool down_ = false;
  int groupIndex_ = 0;
  bool held_ = false;
  bool downAtPress_ = false;
  std::unique_ptr<TTimer> repeatTimer_;
  TksMorphAnimator morph_;
};

// A speed button that opens a skinned popup menu below itself, from the whole
// button or from its arrow part.
class TksSkinMenuSpeedButton : public TksSkinSpeedButton {
 public:
  explicit TksSkinMenuSpeedButton(TComponent* AOwner);

  IksSkinPopup* SkinPopupMenu() const { return popup_; }
  // `owner` is the component behind the menu, forgotten with it; null for none.
  void SetSkinPopupMenu(IksSkinPopup* value, TComponent* owner);
  // False: the whole button opens the menu; true: only its arrow part.
  bool TrackButtonMode = false;
  bool MenuOpen() const { return menuOpen_; }
  // Where a press at (x, y) opens the menu.
  bool MenuTest(int x, int y);
  TNotifyEvent OnShowTrackMenu;
  TNotifyEvent OnHideTrackMenu;

  void GetSkinData() override;

 protected:
  void CreateButtonImage(TBitmap* b, const TRect& r, bool hot, bool down) override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;

 private:
  // The arrow part in control coordinates.
  TRect TrackRect();
  bool Split() const { return TrackButtonMode; }

  IksSkinPopup* popup_ = nullptr;
  TComponent* popupComponent_ = nullptr;
  bool menuOpen_ = false;
  TRect trackButtonRect_{};
};
