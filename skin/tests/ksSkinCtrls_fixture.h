// A form with the default skin loaded, and painting a control into memory: the
// shared setting of the skinned control tests.
#pragma once

#include <gtest/gtest.h>

#include "framework/core/bitmap.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "framework/gui/timer.h"
#include "framework/testsupport/SourcePath.h"
#include "framework/testsupport/testapp.h"
#include "skin/data/ksSkinData.h"

namespace skintest {

inline COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

class SkinCtrls : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    stored.LoadFromIniFile(SourcePath("skin/defaultskin/") + "skin.ini");
    data.FormWindows = [] { return std::vector<HWND>{}; };
    data.SetCompressedStoredSkin(&stored);
    form = new TForm(Application);
    form->SetBounds(0, 0, 300, 200);
  }
  // SetUp may have thrown before the form was made.
  void TearDown() override { FreeAndNil(form); }

  // The control painted into a bitmap of its size over a white background.
  static COLORREF PaintAndSample(TWinControl& control, int x, int y) {
    TBitmap shot(control.Width(), control.Height());
    PaintInto(control, shot);
    return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y));
  }
  // Paints the control into `shot`, which it resizes to the control and clears to white.
  static void PaintInto(TWinControl& control, TBitmap& shot) {
    shot.SetSize(control.Width(), control.Height());
    shot.Canvas()->Brush()->SetColor(clWhite);
    shot.Canvas()->FillRect(TRect{0, 0, control.Width(), control.Height()});
    control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0);
  }
  // Shows the form and makes it the active window, so its controls can take the focus.
  void ShowAndActivate() { ::ShowAndActivate(*form); }
  // A left press and release at (x, y), as the mouse gives them.
  static void Click(TWinControl* control, int x = 5, int y = 5) {
    control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    control->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  // One tick of a running timer, sent the way the system sends it.
  static void FireTimer(TTimer* timer) {
    ASSERT_NE(timer, nullptr);
    SendMessageA(TTimer::TimerWindow(), WM_TIMER, timer->TimerId(), 0);
  }
  COLORREF SkinPixel(int x, int y) { return static_cast<COLORREF>(data.ActivePicture(0)->Canvas()->Pixels(x, y)); }

  TksCompressedStoredSkin stored{nullptr};
  TksSkinData data{nullptr};
  TForm* form = nullptr;
};

}  // namespace skintest
