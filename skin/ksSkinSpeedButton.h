// Windowless skinned controls: the shared bases of ksSkinBase.h over a control
// without a window (opaque unless told otherwise), and the speed buttons that
// sit on a skinned tool bar.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/core/gdiobjects.h"
#include "framework/gui/customcontrol.h"
#include "skin/ksSkinBase.h"
#include "skin/ksSkinCtrls.h"
#include "skin/ksSkinData.h"

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
  bool MouseIn() const { return mouseIn_; }

  void GetSkinData() override;

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

 private:
  TksSkinToolBar* ToolBar() const;
  bool HasButtonDescription() const { return SkinDescription<TksDataSkinButtonControl>() != nullptr; }
  bool DownLook() const { return down_ && mouseIn_; }
  String ShownCaption() { return showCaption_ ? Caption() : String(); }
  void SetFontFor(TCanvas* canvas, bool useSkinFont);
  // Glyph, or the tool bar's image, and the caption inside R.
  void DrawContent(TCanvas* canvas, const TRect& r, bool hot, bool down);

  bool showCaption_ = true;
  bool flat_ = false;
  int imageIndex_ = 0;
  bool down_ = false;
  bool mouseIn_ = false;
};

class TksSkinMenuSpeedButton : public TksSkinSpeedButton {
 public:
  explicit TksSkinMenuSpeedButton(TComponent* AOwner);

  // False: the whole button opens the menu; true: only its arrow part.
  bool TrackButtonMode = false;
};
