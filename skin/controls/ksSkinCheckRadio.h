// The skinned check box and radio button in one control: a mark and a caption
// (and optionally an image of an image list), drawn flat over the parent's
// background or on a skinned face from the "checkbox" or "radiobox" section.
#pragma once

#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/draw/ksSkinMorph.h"

class TksSkinCheckRadioBox : public TksSkinCustomControl {
 public:
  explicit TksSkinCheckRadioBox(TComponent* AOwner);
  ~TksSkinCheckRadioBox() override;

  bool Checked() const { return checked_; }
  // Repaints, unchecks the group when set, then fires OnClick on every call,
  // also from code; a radio box set to false fires nothing.
  void SetChecked(bool value);
  bool Radio() const { return radio_; }
  // Only stores: a form sets SkinDataName "radiobox" and GroupIndex itself.
  void SetRadio(bool value);
  // Non-zero: checking this box unchecks the checked boxes of the same parent
  // with the same index.
  int GroupIndex = 0;
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool CanFocused() const { return canFocused_; }
  // Also sets TabStop to the same value.
  void SetCanFocused(bool value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  // OnClick (of TControl) fires from SetChecked only.

  // A check box flips; a radio box only turns on.
  virtual void Toggle();
  void UncheckGroup();

  bool MouseIn() const { return mouseIn_; }
  bool IsFocusedBox();
  // The hot look: the pointer is over the box or it has the focus.
  bool Active() { return mouseIn_ || IsFocusedBox(); }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void CalcSize(int& w, int& h) override;

  // Copied from the description at each GetSkinData.
  String FontName;
  int FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0, FrameFontColor = 0;
  TRect ActiveSkinRect{}, CheckImageArea{}, TextArea{};
  TRect CheckImageRect{}, UnCheckImageRect{}, ActiveCheckImageRect{}, ActiveUnCheckImageRect{},
      UnEnabledCheckImageRect{}, UnEnabledUnCheckImageRect{};
  bool Morphing = false;
  TksMorphKind MorphKind = 0;
  // The face places of the text and of the mark, moved to the control's size.
  TRect NewTextArea{}, NewCheckImageArea{};

  // The fade position in fifths: 0 the normal face, 5 the active one.
  int MorphSteps() const { return morph_.Steps(); }
  double MorphFactor() const { return morph_.Factor(); }
  TTimer* MorphTimer() const { return morph_.Timer(); }

 protected:
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  // The class library's click must not fire OnClick: SetChecked does.
  void Click() override {}
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMMove(TMessage& Message) override;
  // An assigned action's checked state becomes the box's.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  // The description when it is a check-and-radio one; another kind under the
  // name gets the look without a skin.
  bool Skinned() const;
  void FocusChanged();
  void PaintFlat(TBitmap* b);
  void PaintSkinned(TBitmap* b);
  void DrawSkinFace(TBitmap* b, const TRect& face, bool active);
  // The skin's mark for the state: disabled, then hot, then normal.
  const TRect& MarkRect() const;
  void DrawPart(TCanvas* canvas, int x, int y, const TRect& source);
  // The drawn mark of the looks without a skin, in box C at the left.
  void DrawPlainMark(TCanvas* canvas);
  // An image of Images to draw, or -1.
  int DrawableImage();

  bool checked_ = false;
  bool radio_ = false;
  bool flat_ = true;
  bool canFocused_ = true;
  TCustomImageList* images_ = nullptr;
  int imageIndex_ = 0;
  bool mouseIn_ = false;
  TksMorphAnimator morph_;
};
