// Windowless skinned controls: the base that finds its description in a skin
// container and paints off-screen, its descendant drawn from a resizable face,
// and the speed buttons that sit on a skinned tool bar.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/core/gdiobjects.h"
#include "framework/gui/customcontrol.h"
#include "skin/ksSkinCtrls.h"
#include "skin/ksSkinData.h"

class TksGraphicSkinControl : public TGraphicControl {
 public:
  explicit TksGraphicSkinControl(TComponent* AOwner);

  TksSkinData* SkinData() const { return skinData_; }
  virtual void SetSkinData(TksSkinData* value);
  const String& SkinDataName() const { return skinDataName_; }
  virtual void SetSkinDataName(const String& value) { skinDataName_ = value; }
  int ControlIndex() const { return controlIndex_; }

  // Looks the description up again; -1 is the default look.
  virtual void GetSkinData();
  // Takes a new or changed skin.
  virtual void ChangeSkinData();
  // Drops everything that points into the old skin.
  virtual void BeforeChangeSkinData() { controlIndex_ = -1; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  virtual void CreateControlDefaultImage(TBitmap* /*b*/) {}
  virtual void CreateControlSkinImage(TBitmap* /*b*/) {}
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

  TksSkinData* skinData_ = nullptr;
  String skinDataName_;
  int controlIndex_ = -1;
};

class TksGraphicSkinCustomControl : public TksGraphicSkinControl {
 public:
  explicit TksGraphicSkinCustomControl(TComponent* AOwner);

  TFont* DefaultFont() { return &defaultFont_; }
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int value);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int value);
  bool UseSkinFont = true;

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Adjusts a proposed size to the resize mode and moves the New* geometry to it.
  virtual void CalcSize(int& w, int& h);

  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect SkinRect{};
  TRect SkinClientRect{};  // the description's client rectangle, relative to SkinRect
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewClientRect{};
  TBitmap* Picture = nullptr;
  int ResizeMode = 0;

 protected:
  virtual void DefaultFontChange() {}
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override { CreateSkinControlImage(b, Picture, SkinRect); }
  void CreateSkinControlImage(TBitmap* b, TBitmap* picture, const TRect& r);

 private:
  void DefaultFontOnChange(TObject* Sender);

  TFont defaultFont_;
  int defaultWidth_ = 0;
  int defaultHeight_ = 0;
};

class TksSkinToolBar;

class TksSkinSpeedButton : public TksGraphicSkinCustomControl {
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
  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  // The image of the parent tool bar's lists drawn while Glyph is empty.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  int Layout() const { return layout_; }
  void SetLayout(int value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  bool Down() const { return down_; }
  bool MouseIn() const { return mouseIn_; }

  void GetSkinData() override;

  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  String FontName;
  int FontHeight = 0;
  TFontStyles FontStyle = 0;
  TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{};

 protected:
  virtual void CreateButtonImage(TBitmap* b, const TRect& r, bool hot, bool down);
  virtual void ButtonClick();
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
  bool HasButtonDescription() const;
  bool DownLook() const { return down_ && mouseIn_; }
  int GlyphNumber(bool hot, bool down) const;
  String ShownCaption() { return showCaption_ ? Caption() : String(); }
  void SetFontFor(TCanvas* canvas, bool useSkinFont);
  // Glyph, or the tool bar's image, and the caption inside R.
  void DrawContent(TCanvas* canvas, const TRect& r, bool hot, bool down);

  bool showCaption_ = true;
  bool flat_ = false;
  TBitmap glyph_;
  int numGlyphs_ = 1;
  int imageIndex_ = 0;
  int layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 1;
  bool down_ = false;
  bool mouseIn_ = false;
};

class TksSkinMenuSpeedButton : public TksSkinSpeedButton {
 public:
  explicit TksSkinMenuSpeedButton(TComponent* AOwner);

  // False: the whole button opens the menu; true: only its arrow part.
  bool TrackButtonMode = false;
};
