// The windowed skinned control bases (over the shared ones of ksSkinBase.h: a
// control that finds its description in a skin container by name and paints
// through an off-screen bitmap, and its descendant drawn from a resizable skin
// face, here with a window region), the glyph-and-caption layout and button look
// that push and speed buttons share, and the skinned push button.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/core/gdiobjects.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/forms.h"
#include "framework/gui/timer.h"
#include "skin/controls/ksSkinBase.h"
#include "skin/data/ksSkinData.h"
#include "skin/draw/ksSkinMorph.h"
#include "skin/draw/ksUtils.h"

class TCustomImageList;

enum TksButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };

class TksSkinControl : public TksSkinBase<TCustomControl> {
 public:
  explicit TksSkinControl(TComponent* AOwner);

  HRGN Rgn() const { return rgn_; }

 protected:
  void WMEraseBkgnd(TMessage& Message) override;
  // For a control that takes the focus when pressed, called first in its
  // WndProc: a left press moves the focus here before it is handled, and the
  // command notifications sent while the focus moves are no clicks. False when
  // the message is to be dropped: that notification, or a press that could
  // not take the focus.
  bool FocusForClick(const TMessage& Message);
  // An accelerator of the caption when the control can take the focus: takes
  // it and answers the message. True when it was one; the caller then acts.
  bool FocusForAccel(TMessage& Message);

  HRGN rgn_ = nullptr;  // owned by the window once set

 private:
  bool clicksDisabled_ = false;
};

class TksSkinCustomControl : public TksSkinFaceBase<TksSkinControl> {
 public:
  explicit TksSkinCustomControl(TComponent* AOwner);

  void SetControlRegion() override;

 protected:
  // The outline follows the face at once.
  void FaceResized() override;
  void CreateControlRegion();
};

struct TksLayoutCoords {
  int tx = 0, ty = 0, gx = 0, gy = 0;
};

// Text and glyph positions inside R; margin -1 centres glyph and text together.
// A layout outside the four known ones places both at R's top-left corner.
TksLayoutCoords CalcLayoutCoords(int layout, const TRect& r, int gw, int gh, int tw, int th, int spacing,
                                 int margin);
// The caption and one cell (1 for the first) of a strip of glyphs.
void DrawGlyphAndText(TCanvas* canvas, const TRect& r, int margin, int spacing, int layout, const String& caption,
                      TBitmap* glyph, int numGlyphs, int glyphNum, bool pressed);
// The caption and one image of an image list; an index outside the list draws
// the caption alone.
void DrawImageAndText(TCanvas* canvas, const TRect& r, int margin, int spacing, int layout, const String& caption,
                      TCustomImageList* images, int imageIndex, bool pressed, bool enabled);

// A strip of glyphs beside the caption, and where the two go: what push and
// speed buttons share. A change that shows calls GlyphChanged.
class TksGlyphCaption {
 public:
  virtual ~TksGlyphCaption() = default;

  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  int Layout() const { return layout_; }
  void SetLayout(int value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);

 protected:
  virtual void GlyphChanged() = 0;
  // The cell of the strip for the state: 1 normal, 2 disabled, 3 pressed,
  // 4 hot; a state without its cell shows the first.
  int GlyphNumber(bool enabled, bool down, bool active) const;
  // The caption and the glyph's cell glyphNum inside R.
  void DrawGlyphCaption(TCanvas* canvas, const TRect& r, const String& caption, int glyphNum, bool pressed) {
    DrawGlyphAndText(canvas, r, margin_, spacing_, layout_, caption, &glyph_, numGlyphs_, glyphNum, pressed);
  }

  TBitmap glyph_;
  int numGlyphs_ = 1;
  int layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 1;
};

// What a button description adds to the face: the caption font, its colour in
// each state and the faces of the other states. Push and speed buttons share it.
struct TksButtonLook {
  void TakeButtonLook(const TksDataSkinButtonControl& d);
  // The caption colour: disabled, then pressed, then hot, then normal.
  TColor StateFontColor(bool enabled, bool down, bool active) const;

  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  String FontName;
  int FontHeight = 0;
  TFontStyles FontStyle = 0;
  TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{};
};

// A button's click: its own OnClick, else its action's.
void ClickOrExecute(TControl* control);

// Draws the image of an action (Sender) into an empty glyph on fuchsia, the
// glyph's transparent colour. False when nothing was drawn.
bool TakeActionImage(TObject* Sender, TBitmap* glyph);

// The face of a button without a skin, filled and framed: pressed, hot or plain.
void DrawPlainButtonFace(TCanvas* canvas, const TRect& r, bool pressed, bool hot);

class TksSkinButton : public TksSkinCustomControl, public TksGlyphCaption, public TksButtonLook {
 public:
  explicit TksSkinButton(TComponent* AOwner);
  ~TksSkinButton() override;

  bool Down() const { return down_; }
  void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool value);
  bool AllowAllUp = false;
  bool RepeatMode = false;
  int RepeatInterval = 100;  // milliseconds
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel = false;
  TModalResult ModalResult = mrNone;
  // The running repeat timer, null when not repeating; tests fire it.
  TTimer* RepeatTimer() const { return repeatTimer_.get(); }

  bool MouseIn() const { return mouseIn_; }
  // This is the button the Enter key clicks: the default one, unless another
  // button has the focus.
  bool ActiveDefault() const { return activeDefault_; }
  bool IsFocusedButton();
  // The cell of the glyph strip for the state: 1..4.
  int GetGlyphNum(bool down, bool active) const;

  void GetSkinData() override;
  void ChangeSkinData() override;

  bool Morphing = false;
  TksMorphKind MorphKind = 0;
  // The morph position in fifths: 0 the normal face, 5 the active one.
  int MorphSteps() const { return morph_.Steps(); }
  double MorphFactor() const { return morph_.Factor(); }
  TTimer* MorphTimer() const { return morph_.Timer(); }

 protected:
  virtual void CreateButtonImage(TBitmap* b, const TRect& r, bool down, bool active);
  virtual void ButtonClick();
  void GlyphChanged() override { Invalidate(); }
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* /*b*/) override {}
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Click() override {}
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void CreateWnd() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  void StartRepeat();
  void StopRepeat();
  void RepeatTimerProc(TObject* Sender);
  bool ShouldAnimateHover();
  // The pointer came or went: the hot face fades in or out.
  void HoverChanged();
  void PaintMorph(TBitmap* b);
  bool DownLook();

  bool down_ = false;
  int groupIndex_ = 0;
  bool canFocused_ = true;
  bool mouseIn_ = false;
  bool mouseDownFlag_ = false;
  bool allowAllUpCheck_ = false;
  bool default_ = false;
  bool activeDefault_ = false;
  std::unique_ptr<TTimer> repeatTimer_;
  TksMorphAnimator morph_;
};
