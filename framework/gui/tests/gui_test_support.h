// Shared helpers of the GUI tests: the process's one Application, pumping until
// something happened, and small controls that count what reaches them.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/application.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/forms.h"
#include "framework/gui/screen.h"

// The one Application of this test process, made on first use.
TApplication& TestApp();

// Handles messages until the predicate holds; false when it still fails after
// the timeout, which only guards against a hang.
bool PumpUntil(const std::function<bool()>& predicate, DWORD timeoutMs = 2000);

// Lets every message already posted run.
void Pump();

// A form that is freed at the end of the test scope.
template <class T = TForm>
TOwnedPtr<T> MakeForm() {
  TestApp();
  return TOwnedPtr<T>(new T(Application));
}

// Shows the form and makes it the active window, as a user would have.
void ShowAndActivate(TCustomForm& form);

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
