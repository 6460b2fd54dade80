// The parent's look painted under a control, moved to the control's position.
#include <gtest/gtest.h>

#include "framework/gui/application.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "framework/testsupport/testapp.h"
#include "skin/draw/ksUtils.h"
#include "skin/draw/tests/ksTestPictures.h"

namespace {

using namespace kstest;

TPixel Rgb(TColor c) {
  COLORREF v = ColorToRGB(c);
  return TPixel{GetRValue(v), GetGValue(v), GetBValue(v)};
}

TEST(KsParentBackground, PanelParentPaintsUnderTheControl) {
  TestApp();
  TForm* form = new TForm(Application);
  auto* panel = new TPanel(form);
  panel->SetBounds(0, 0, 100, 60);
  panel->SetBevelOuter(bvLowered);
  panel->SetBevelInner(bvNone);
  panel->SetColor(RGB(0, 0, 128));
  panel->SetParent(form);
  auto* child = new TPanel(form);
  child->SetBounds(0, 10, 30, 20);
  child->SetParent(panel);

  TBitmap shot(30, 20);
  PaintParentBackground(child, shot.Canvas());
  TSnapshot s = Snapshot(shot);
  EXPECT_EQ(s.At(0, 5), Rgb(clBtnShadow));  // the panel's left bevel, moved up by the child's Top
  EXPECT_EQ(s.At(15, 10), (TPixel{0, 0, 128}));

  auto* orphan = new TPanel(form);
  TBitmap untouched(4, 4);
  PaintParentBackground(orphan, untouched.Canvas());
  EXPECT_EQ(Snapshot(untouched).At(1, 1), kWhite);
  form->Free();
}

}  // namespace
