// The skinned panel (a container with an optional caption bar, a check box that
// switches its children on and off, and a roll-up arrow) and the group box, a
// panel that starts in caption mode with its own section.
#pragma once

#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/extctrls.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/views/ksHiddenChildren.h"
#include "skin/views/ksPanelGlyph.h"

// The frame of the look without a skin. Scoped: the framework's panel bevel
// already uses the plain names bvNone, bvRaised and bvLowered.
enum class TksSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

// That frame, one pixel wide, around R.
void DrawBorderStyleFrame(TCanvas* canvas, const TRect& r, TksSkinBorderStyle style);

class TksSkinPanel : public TksSkinCustomControl, public TksPanelGlyph {
 public:
  explicit TksSkinPanel(TComponent* AOwner);
  ~TksSkinPanel() override;

  bool CaptionMode() const { return captionMode_; }
  virtual void SetCaptionMode(bool value);
  int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
  virtual void SetDefaultCaptionHeight(int value);
  TAlignment DefaultAlignment() const { return defaultAlignment_; }
  void SetDefaultAlignment(TAlignment value);
  // Hides the window's own border-style field of the framework on purpose: a
  // skinned panel never has a system border, only this drawn frame.
  TksSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TksSkinBorderStyle value);
  bool CheckedMode() const { return checkedMode_; }
  void SetCheckedMode(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  // In check mode, Checked sets Enabled of every child.
  bool AutoEnabledControls = true;
  bool RollUpMode() const { return rollUpMode_; }
  void SetRollUpMode(bool value);
  bool RollUpState() const { return rollUpState_; }
  void SetRollUpState(bool value);
  // The height to return to while rolled up, -1 while rolled down.
  int RealHeight = -1;
  TNotifyEvent OnChecked;

  // The children the roll-up hid, null while none are held.
  const std::vector<TControl*>* HiddenControls() const { return hiddenControls_.List(); }

  // Values of the panel description, copied at every GetSkinData.
  TRect CaptionRect{};
  TAlignment Alignment = taLeftJustify;
  String FontName;
  TFontStyles FontStyle = 0;
  int FontHeight = 0;
  TColor FontColor = 0;
  int BGPictureIndex = -1;
  TRect CheckImageRect{}, UnCheckImageRect{};
  // CaptionRect moved to the current size.
  TRect NewCaptionRect{};

  // Also inherited as virtuals and open to descendants: SetSkinData,
  // SetSkinDataName, BeforeChangeSkinData, CalcSize, SetControlRegion, WndProc.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void GetSkinData() override;
  void ChangeSkinData() override;

 protected:
  void GlyphChanged() override { Repaint(); }
  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMTextChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  // Rolls up to the caption (true) or back to RealHeight (false).
  void ApplyRollUp(bool up);
  void DrawSkinCaption(TCanvas* canvas);
  // A rectangle of the skin picture drawn with its own transparent colour.
  void DrawPart(TCanvas* canvas, int x, int y, const TRect& partRect);
  // The caption bar the mouse toggles in: skinned or drawn.
  TRect CaptionHitRect();

 private:
  // The caption text with the glyph and the glyph's place; shared by both looks.
  void DrawCaptionContent(TCanvas* canvas, const TRect& r, TAlignment alignment, int leftPad);
  void SetCaptionFont(TCanvas* canvas, bool useSkinFont);
  int CaptionWidth(TCanvas* canvas);
  // Looks the description up again first.
  bool Skinned();
  void TileBackground(TCanvas* canvas, TBitmap* picture);
  void TileClientFace(TBitmap* b);

  bool captionMode_ = false;
  int defaultCaptionHeight_ = 22;
  TAlignment defaultAlignment_ = taLeftJustify;
  TksSkinBorderStyle borderStyle_ = TksSkinBorderStyle::bvFrame;
  bool checkedMode_ = false;
  bool checked_ = false;
  bool rollUpMode_ = false;
  bool rollUpState_ = false;
  TksHiddenChildren hiddenControls_;
};

class TksSkinGroupBox : public TksSkinPanel {
 public:
  explicit TksSkinGroupBox(TComponent* AOwner);
};
