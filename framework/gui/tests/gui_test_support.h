// Shared helpers of the GUI tests: small controls that count what reaches them, and
// the test support every folder's tests have.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/screen.h"
#include "framework/testsupport/testapp.h"

// A windowed control that records each message it dispatches.
class TProbeControl : public TCustomControl {
 public:
  explicit TProbeControl(TComponent* owner, TWinControl* parent = nullptr, TRect bounds = Bounds(0, 0, 40, 20));
  int Count(UINT msg) const;
  std::vector<TMessage> Seen;
  using TCustomControl::Dispatch;

 protected:
  void Dispatch(TMessage& Message) override;
};

// A windowless control that fills itself with one colour.
class TSwatch : public TGraphicControl {
 public:
  TSwatch(TComponent* owner, TWinControl* parent, TRect bounds, COLORREF color);
  COLORREF Fill;
  bool Overdraw = false;  // paints beyond its bounds, to show the clip

 protected:
  void Paint() override;
};

// A white 24-bit bitmap to paint controls into, never the screen.
class TMemorySurface {
 public:
  TMemorySurface(int width, int height) : bitmap_(width, height, pf24bit) {}
  HDC DC() { return bitmap_.Canvas()->Handle(); }
  COLORREF Pixel(int x, int y) { return static_cast<COLORREF>(bitmap_.Canvas()->Pixels(x, y)); }

 private:
  TBitmap bitmap_;
};
