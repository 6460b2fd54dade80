// A skinned push button that, without a skin entry, draws itself from its own
// bitmaps and clips its window to its own mask.
#pragma once

#include "skin/controls/ksSkinCtrls.h"

class TksSkinXFormButton : public TksSkinButton {
 public:
  explicit TksSkinXFormButton(TComponent* AOwner);

  TBitmap* DefImage() { return &defImage_; }
  // Also makes the image's size the default size.
  void SetDefImage(TBitmap* value);
  TBitmap* DefActiveImage() { return &defActiveImage_; }
  void SetDefActiveImage(TBitmap* value) { defActiveImage_.Assign(value); }
  TBitmap* DefDownImage() { return &defDownImage_; }
  void SetDefDownImage(TBitmap* value) { defDownImage_.Assign(value); }
  // Black pixels belong to the button.
  TBitmap* DefMask() { return &defMask_; }
  void SetDefMask(TBitmap* value);
  TColor DefActiveFontColor = clBlack;
  TColor DefDownFontColor = clBlack;

  void Loaded() override;
  // Without a skin entry the size stays the default image's.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void ChangeSkinData() override;
  void SetControlRegion() override;

 protected:
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateWnd() override;

 private:
  bool OwnLook() const { return controlIndex_ == -1 && !defImage_.Empty(); }

  TBitmap defImage_;
  TBitmap defActiveImage_;
  TBitmap defDownImage_;
  TBitmap defMask_;
};
