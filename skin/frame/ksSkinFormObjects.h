// The frame objects of a skinned form: caption buttons, the caption text,
// animations and areas the application paints itself. Each is made from one
// [SKINOBJECTS] description (or, without a skin, as a plain caption button),
// placed in window coordinates by the frame's layout and drawn into the frame's
// non-client picture.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/gui/control.h"
#include "framework/gui/menus.h"
#include "skin/data/ksSkinDataObjects.h"

class TksSkinForm;
class TksSkinData;

// The skin's inactive look (its "inactiveeffect") applied to a picture in place.
void ApplyFrameEffect(TBitmap* b, TksEffect effect);

class TksActiveSkinObject {
 public:
  // `data` is null for the plain buttons of the look without a skin.
  TksActiveSkinObject(TksSkinForm* parent, const TksDataSkinObject* data);
  virtual ~TksActiveSkinObject() = default;
  TksActiveSkinObject(const TksActiveSkinObject&) = delete;
  TksActiveSkinObject& operator=(const TksActiveSkinObject&) = delete;

  virtual bool CanMorph();
  // `update`: drawn on its own, so a face the frame picture already shows is drawn too.
  virtual void Draw(TCanvas* canvas, bool update);
  virtual void DblClick() {}
  virtual void MouseDown(int x, int y, TMouseButton button);
  virtual void MouseUp(int x, int y, TMouseButton button);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();

  void ReDraw();
  void DoMorph();
  // The morph counts fifths: 0 the normal image, 5 the active one.
  int MorphSteps() const { return morphSteps_; }
  void SetMorphSteps(int steps);
  double MorphKf() const { return morphSteps_ / 5.0; }

  TksSkinForm* Parent;
  TksSkinData* SkinData;
  String IDName, Hint;
  TRect SkinRect{}, ActiveSkinRect{}, InActiveSkinRect{};
  bool SkinRectInAPicture = false;
  bool Morphing = false;
  TksMorphKind MorphKind = 0;
  TBitmap* ActivePicture = nullptr;  // null: no active, pressed, disabled or inactive images
  TBitmap* Picture = nullptr;
  TRect ObjectRect{};
  bool Active = false;
  bool ActiveState = false;
  bool Enabled = true;
  bool Visible = true;

 protected:
  // Stretches `src` of the picture onto ObjectRect; nothing without a picture or source.
  void CopyImage(TCanvas* canvas, TBitmap* picture, const TRect& src) const;
  // Both faces of the object morphed by MorphKf onto ObjectRect.
  void DrawMorph(TCanvas* canvas, TBitmap* normal, const TRect& normalRect, TBitmap* active,
                 const TRect& activeRect) const;
  bool FrameActive() const;

 private:
  int morphSteps_ = 0;
};

// An area the application paints through the frame's paint event.
class TksUserObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
  void Draw(TCanvas* canvas, bool update) override;
};

class TksSkinAnimateObject : public TksActiveSkinObject {
 public:
  TksSkinAnimateObject(TksSkinForm* parent, const TksDataSkinAnimate* data);
  void Draw(TCanvas* canvas, bool update) override;
  void DblClick() override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void SetFrame(int n);
  void DoAnimate();
  void DoCommand();

  int CountFrames = 1;
  bool Cycle = false, ButtonStyle = false;
  int TimerInterval = 25;
  TksStdButtonCommand Command = cmClose;
  int Frame = 1;
  int TimerCount = 25;
  bool Increment = true;
  TMenuItem* MenuItem = nullptr;
  bool PopupUp = false;
};

class TksSkinButtonObject : public TksActiveSkinObject {
 public:
  TksSkinButtonObject(TksSkinForm* parent, const TksDataSkinButton* data);
  bool CanMorph() override;
  void Draw(TCanvas* canvas, bool update) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void SetDown(bool value);
  void TrackMenu();

  TRect DownRect{}, DisableSkinRect{};
  bool Down = false;
  TMenuItem* MenuItem = nullptr;
  bool PopupUp = false;
};

// A caption button: close, maximize, minimize, system menu, roll-up, tray or the
// skin's own (cmdefault).
class TksSkinStdButtonObject : public TksSkinButtonObject {
 public:
  // `data` null: a plain button of the look without a skin.
  TksSkinStdButtonObject(TksSkinForm* parent, const TksDataSkinStdButton* data, TksStdButtonCommand command);
  bool CanMorph() override;
  void Draw(TCanvas* canvas, bool update) override;
  void DblClick() override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;

  // The button stands for undoing its state: restore instead of maximize or minimize, roll down.
  bool RestoreState() const;
  void DoCommand();

  TksStdButtonCommand Command;
  TRect RestoreRect{}, RestoreActiveRect{}, RestoreDownRect{}, RestoreInActiveRect{};
  bool SkinSupport;

 private:
  void DefaultDraw(TCanvas* canvas);
};

class TksSkinCaptionObject : public TksActiveSkinObject {
 public:
  TksSkinCaptionObject(TksSkinForm* parent, const TksDataSkinCaption* data);
  void Draw(TCanvas* canvas, bool update) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  // The text rectangle inside ObjectRect (relative to it), following the object's width.
  TRect TextArea() const;
  void DrawCaptionText(TCanvas* canvas, int dx, int dy, bool activeLook);
  void CreateCaptionImage(TBitmap* b, const TRect& source, TBitmap* picture);

  String FontName;
  int FontHeight = 14;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0, ActiveFontColor = 0, ShadowColor = 0, ActiveShadowColor = 0;
  bool Shadow = false;
  TAlignment Alignment = taLeftJustify;
  TRect TextRect{}, FrameRect{}, ActiveFrameRect{}, FrameTextRect{};
  int FrameLeftOffset = 0, FrameRightOffset = 0;

 private:
  void SetCaptionFont(TCanvas* canvas, TColor color);
  // Face plus text.
  void CaptionImage(TBitmap* b, const TRect& source, TBitmap* picture, bool activeLook);
};
