// The skinned labels: the windowless std label that takes its font from the skin,
// the windowed label with a skinned face, and the status panel, a label with a
// glyph at its left.
#pragma once

#include "framework/gui/extctrls.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/data/ksSkinChange.h"
#include "skin/views/ksSkinPanel.h"

// Draws a label's text with DrawTextA in the canvas font; disabled text is embossed.
// `rect` takes what DrawTextA gives back (the measured size with DT_CALCRECT).
void DrawLabelText(TCanvas* canvas, const String& text, TRect& rect, UINT flags, bool enabled);

class TksSkinStdLabel : public TCustomLabel, public IksSkinChange {
 public:
  explicit TksSkinStdLabel(TComponent* AOwner);

  // Disabled text in the skin's font (DefaultFont without a skin) instead of
  // Font; enabled text is always in Font.
  bool UseSkinFont = true;
  TFont* DefaultFont() { return &defaultFont_; }
  // Copies the font; no repaint.
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  String SkinDataName = "stdlabel";
  int ControlIndex() const { return controlIndex_; }

  virtual void GetSkinData();
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  // Looks the section up again and repaints.
  void ChangeSkinData() override;
  // Gives `font` the face, size, colour and character set the caption is measured
  // and drawn in.
  virtual void AssignTextFont(TFont* font);

  // Values of the std label description, copied at every GetSkinData.
  String FontName;
  TFontStyles FontStyle = 0;
  int FontHeight = 0;
  TColor FontColor = 0;

 protected:
  void DoDrawText(TRect& Rect, UINT Flags) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TFont defaultFont_;
  TksSkinData* skinData_ = nullptr;
  int controlIndex_ = -1;
};

class TksSkinLabel : public TksSkinCustomControl {
 public:
  explicit TksSkinLabel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // The width follows the caption.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // The frame of the look without a skin.
  TksSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TksSkinBorderStyle value);

  void GetSkinData() override;
  void CalcSize(int& w, int& h) override;
  // Pixels by which the caption is wider than its room; negative when it fits.
  virtual int GetTextExcess();
  // Grows or shrinks the width to fit the caption, unless aligned to fill across.
  void AdjustWidth();

  // Values of the label description, copied at every GetSkinData.
  String FontName;
  TFontStyles FontStyle = 0;
  int FontHeight = 0;
  TColor FontColor = 0;

 protected:
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void CMTextChanged(TMessage& Message) override;
  // The face without a skin: clBtnFace framed by BorderStyle.
  void DrawDefaultFace(TBitmap* b);
  // The caption in R by Alignment, centred upright, clipped to R.
  void DrawLabelText(TCanvas* c, const TRect& r);
  // The font the caption is measured and drawn in.
  void AssignCaptionFont(TFont* font);
  int CaptionWidth();
  // What a caption of that width lacks in room.
  int TextExcess(int textWidth);

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = false;
  TksSkinBorderStyle borderStyle_ = TksSkinBorderStyle::bvFrame;
};

class TksSkinStatusPanel : public TksSkinLabel {
 public:
  explicit TksSkinStatusPanel(TComponent* AOwner);

  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* value);
  // Cells of the glyph strip: 1 normal, 2 normal and disabled.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);

  int GetTextExcess() override;

 protected:
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void CMEnabledChanged(TMessage& Message) override;

 private:
  // Width of one cell of the strip, 0 without a glyph.
  int GlyphWidth();
  // Draws the cell for the state at x, y; R gives up the room the glyph takes.
  void DrawPanelGlyph(TCanvas* c, int x, int y, TRect& r);

  TBitmap glyph_;
  int numGlyphs_ = 1;
};
