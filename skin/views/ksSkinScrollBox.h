// The skinned scroll box: a container whose children are scrolled by up to two
// skinned bars that the form places beside it and links here. A bar shows only
// while the children do not fit. The frame lies in the non-client area.
#pragma once

#include "skin/controls/ksSkinScrollBar.h"
#include "skin/views/ksSkinPanel.h"

class TksSkinScrollBox : public TksSkinCustomControl {
 public:
  explicit TksSkinScrollBox(TComponent* AOwner);
  ~TksSkinScrollBox() override;

  // Linked, not owned: they live on the form.
  TksSkinScrollBar* VScrollBar() const { return vScrollBar_; }
  void SetVScrollBar(TksSkinScrollBar* value);
  TksSkinScrollBar* HScrollBar() const { return hScrollBar_; }
  void SetHScrollBar(TksSkinScrollBar* value);
  // Hides the window's own border-style field on purpose: only this drawn frame.
  TksSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TksSkinBorderStyle value);

  // After adding or removing children.
  void UpdateScrollBars();
  void UpdateVScrollBar() { UpdateBar(true); }
  void UpdateHScrollBar() { UpdateBar(false); }

  int BGPictureIndex = -1;
  int VSizeOffset() const { return vSizeOffset_; }
  int HSizeOffset() const { return hSizeOffset_; }
  int OldVPos() const { return oldVPos_; }
  int OldHPos() const { return oldHPos_; }

  // The widths of the frame on the left, top, right and bottom.
  TRect FrameMargins();
  // The frame of the whole window at its size, drawn into `b`; the client area
  // inside stays as it was.
  void PaintFrame(TBitmap& b);

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;

 private:
  void UpdateBar(bool vertical);
  void ScrollChange(bool vertical);
  void LinkBar(TksSkinScrollBar*& slot, TksSkinScrollBar* value, bool vertical);
  void TileClient(TBitmap& b);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint();

  TksSkinScrollBar* vScrollBar_ = nullptr;
  TksSkinScrollBar* hScrollBar_ = nullptr;
  TksSkinBorderStyle borderStyle_ = TksSkinBorderStyle::bvFrame;
  bool updatingScrollBars_ = false;
  int oldVPos_ = 0, oldHPos_ = 0;
  int vSizeOffset_ = 0, hSizeOffset_ = 0;
};
