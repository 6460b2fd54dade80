// The two painting control bases: TCustomControl (windowed) and TGraphicControl
// (windowless), and TControlCanvas, the canvas over a control's DC.
#pragma once

#include <memory>

#include "framework/core/canvas.h"
#include "framework/gui/wincontrol.h"

// A canvas bound to a control. During painting it holds the paint DC; used
// outside painting it takes the window's DC, released when the current message
// has been handled (or by FreeDeviceContexts).
class TControlCanvas : public TCanvas {
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;

  TControl* Control() const { return control_; }
  void SetControl(TControl* control);
  // Gives back a DC taken outside painting.
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_ = nullptr;
  HWND dcWindow_ = nullptr;  // set while the DC came from GetDC
};

// Binds a control canvas to a DC it was handed (a paint or owner-draw DC) for
// one scope, locked, and unbinds it however the scope ends.
class TCanvasDCBinding {
 public:
  TCanvasDCBinding(TControlCanvas& canvas, HDC dc);
  ~TCanvasDCBinding();
  TCanvasDCBinding(const TCanvasDCBinding&) = delete;
  TCanvasDCBinding& operator=(const TCanvasDCBinding&) = delete;

 private:
  TControlCanvas& canvas_;
};

// Releases every DC that control canvases took outside painting.
void FreeDeviceContexts();

// A canvas over a screen-compatible memory DC, for measuring text before a
// control has a window. GUI thread only.
TCanvas& ScreenCanvas();

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;

  TCanvas* Canvas() { return canvas_.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

  std::unique_ptr<TControlCanvas> canvas_;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  // Valid while the parent paints its windowless children.
  TCanvas* Canvas() { return canvas_.get(); }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;
  virtual void WMPaint(TMessage& Message);

  std::unique_ptr<TControlCanvas> canvas_;
};
