// Simple drawn controls: label, bevel, image, shape, panel and splitter.
#pragma once

#include <memory>

#include "framework/core/graphic.h"
#include "framework/gui/customcontrol.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  bool Transparent() const { return !(controlStyle_ & csOpaque); }
  void SetTransparent(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);

 protected:
  // Measures (with DT_CALCRECT) or draws the caption in Rect.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  void Paint() override;
  void AdjustBounds();
  void Dispatch(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  UINT TextFlags() const;

 private:
  void Remeasure();

  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
 public:
  using TCustomLabel::TCustomLabel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape value);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle value);

 protected:
  void Paint() override;
  // The two line colours Paint reads; a skinned bevel replaces them.
  TColor Color1;
  TColor Color2;

 private:
  void UpdateColors();
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() { return picture_.get(); }
  void SetPicture(TPicture* value) { picture_->Assign(value); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  // Fits keeping the aspect; enlarges only with Stretch.
  bool Proportional() const { return proportional_; }
  void SetProportional(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // The picture's bitmap canvas (a bitmap of the control's size when empty).
  TCanvas* Canvas();
  // Where the picture lands in the client area.
  TRect DestRect();

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject* Sender);
  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false;
  bool proportional_ = false;
  bool center_ = false;
  bool autoSize_ = false;
  bool transparent_ = false;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stEllipse, stCircle };

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* AOwner);
  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType value);
  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }

 protected:
  void Paint() override;

 private:
  void StyleChanged(TObject*) { Invalidate(); }
  TShapeType shape_ = stRectangle;
  TPen pen_;
  TBrush brush_;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised };

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;

 private:
  void Changed();
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
 public:
  using TCustomPanel::TCustomPanel;
};

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using TSplitterCanResizeEvent = TEvent<void(TObject* Sender, int& NewSize, bool& Accept)>;

// Resizes the aligned control it sits against by a plain drag.
class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* AOwner);

  int MinSize = 30;
  bool Beveled = false;
  bool AutoSnap = true;
  TResizeStyle ResizeStyle = rsPattern;  // recorded; the drag always resizes live
  TSplitterCanResizeEvent OnCanResize;  // shadows the control's size event
  TNotifyEvent OnMoved;
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TControl* FindResizedControl();
  TControl* resized_ = nullptr;
  TPoint downAt_;
  int startSize_ = 0;
};
