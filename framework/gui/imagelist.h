// TCustomImageList / TImageList: a component over the common-controls image list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/core/classes.h"
#include "framework/core/colors.h"
#include "framework/core/delegate.h"
#include "framework/core/icon.h"

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(int AWidth, int AHeight, TComponent* AOwner = nullptr);
  ~TCustomImageList() override;

  // A size change empties the list.
  int Width() const { return width_; }
  void SetWidth(int value) { SetSize(value, height_); }
  int Height() const { return height_; }
  void SetHeight(int value) { SetSize(width_, value); }
  void SetSize(int AWidth, int AHeight);
  int Count();

  // Adds Image (several images when it is a multiple of Width wide) with an
  // optional mask; returns the index of the first, -1 on failure.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor become transparent.
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Image);
  void Delete(int Index);
  void Clear();

  // Disabled: the image's mask embossed, clBtnHighlight one pixel down-right,
  // then clBtnShadow over it.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void GetIcon(int Index, TIcon* Image);
  // Image becomes Width x Height with the image drawn on its current pixels.
  void GetBitmap(int Index, TBitmap* Image);

  // clNone is CLR_NONE: masked parts stay transparent.
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  TDrawingStyle DrawingStyle = dsNormal;

  // Created on demand.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Adopts a list; with ShareImages it is never destroyed here (the system list).
  void SetHandle(HIMAGELIST value);
  bool ShareImages = false;

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  void FreeHandle();
  void CheckIndex(int Index);

  HIMAGELIST handle_ = nullptr;
  int width_ = 16;
  int height_ = 16;
  TColor bkColor_ = clNone;
};

class TImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
};
