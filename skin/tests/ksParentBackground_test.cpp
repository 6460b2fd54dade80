// The parent's look painted under a control, moved to the control's position.
#include <gtest/gtest.h>

#include "framework/gui/application.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "skin/ksUtils.h"
#include "skin/tests/ksTestPictures.h"

namespace {

using namespace kstest;

TApplication& App() {
  if (!Application) {
    auto* app = new TApplication(nullptr);
    app->Initialize();
  }
  return *Application;
}

TEST(KsParentBackground, PanelParentPaintsUnderTheControl) {
  App();
  TForm* form = new TForm(Application);
  TPanel panel(nullptr);
  panel.SetBounds(0, 0, 100, 60);
  panel.SetBevelOuter(bvRaised);
  panel.SetBevelInner(bvNone);
  panel.SetColor(RGB(0, 0, 128));
  panel.SetParent(form);
  TPanel child(nullptr);
  child.SetBounds(0, 10, 30, 20);
  child.SetParent(&panel);

  TBitmap shot(30, 20);
  PaintParentBackground(&child, shot.Canvas());
  TSnapshot s = Snapshot(shot);
  EXPECT_EQ(s.At(0, 5), (TPixel{GetRValue(ColorToRGB(clBtnHighlight)), GetGValue(ColorToRGB(clBtnHighlight)),
                                GetBValue(ColorToRGB(clBtnHighlight))}));  // the panel's left bevel
  EXPECT_EQ(s.At(15, 10), (TPixel{0, 0, 128}));

  TPanel orphan(nullptr);
  TBitmap untouched(4, 4);
  PaintParentBackground(&orphan, untouched.Canvas());
  EXPECT_EQ(Snapshot(untouched).At(1, 1), kWhite);
  form->Free();
}

}  // namespace
