#include <gtest/gtest.h>

#include "framework/gui/extctrls.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

COLORREF Rgb(TColor color) { return static_cast<COLORREF>(ColorToRGB(color)); }

TEST(ExtCtrlsTest, BevelBoxUsesItsTwoColours) {
  auto form = MakeForm();
  TProbeControl host(nullptr, form.get(), Bounds(0, 0, 40, 40));
  TBevel lowered(nullptr);
  lowered.SetBounds(0, 0, 20, 20);
  lowered.SetParent(&host);
  TBevel raised(nullptr);
  raised.SetBounds(20, 0, 20, 20);
  raised.SetStyle(bsRaised);
  raised.SetParent(&host);
  TMemorySurface surface(40, 40);
  host.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(Rgb(clBtnShadow), surface.Pixel(0, 10));
  EXPECT_EQ(Rgb(clBtnShadow), surface.Pixel(10, 0));
  EXPECT_EQ(Rgb(clBtnHighlight), surface.Pixel(19, 10));
  EXPECT_EQ(Rgb(clBtnHighlight), surface.Pixel(10, 19));
  EXPECT_EQ(Rgb(clBtnHighlight), surface.Pixel(20, 10));
  EXPECT_EQ(Rgb(clBtnShadow), surface.Pixel(39, 10));
  EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(10, 10));
}

TEST(ExtCtrlsTest, ShapeFillsWithItsBrushInsideItsPen) {
  auto form = MakeForm();
  TProbeControl host(nullptr, form.get(), Bounds(0, 0, 40, 40));
  TShape shape(nullptr);
  shape.SetBounds(5, 5, 20, 20);
  shape.Brush()->SetColor(RGB(255, 0, 0));
  shape.Pen()->SetColor(RGB(0, 0, 255));
  shape.SetParent(&host);
  TMemorySurface surface(40, 40);
  host.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(RGB(0, 0, 255), surface.Pixel(5, 5));
  EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(15, 15));
  EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(26, 26));
}

TEST(ExtCtrlsTest, LabelSizesToItsTextAndPaintsOpaque) {
  auto form = MakeForm();
  TProbeControl host(nullptr, form.get(), Bounds(0, 0, 200, 40));
  TLabel label(nullptr);
  label.SetParent(&host);
  label.SetCaption("Hello there");
  label.SetColor(RGB(0, 128, 0));
  TCanvas& measure = ScreenCanvas();
  measure.Font()->Assign(label.Font());
  EXPECT_EQ(measure.TextWidth("Hello there"), label.Width());
  EXPECT_EQ(measure.TextHeight("Hello there"), label.Height());
  TMemorySurface surface(200, 40);
  host.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(RGB(0, 128, 0), surface.Pixel(label.Width() - 1, 0));
  EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(label.Width() + 1, 0));
  label.SetTransparent(true);
  TMemorySurface clear(200, 40);
  host.Perform(WM_PAINT, reinterpret_cast<WPARAM>(clear.DC()), 0);
  EXPECT_EQ(RGB(255, 255, 255), clear.Pixel(label.Width() - 1, 0));
}

TEST(ExtCtrlsTest, LabelAcceleratorFocusesItsControl) {
  auto form = MakeForm();
  TProbeControl first(nullptr, form.get(), Bounds(0, 0, 40, 20));
  TProbeControl second(nullptr, form.get(), Bounds(0, 30, 40, 20));
  TLabel label(nullptr);
  label.SetParent(form.get());
  label.SetCaption("&Name");
  label.SetFocusControl(&second);
  ShowAndActivate(*form);
  first.SetFocus();
  PostMessageA(first.Handle(), WM_SYSCHAR, 'n', 1 << 29);
  Pump();
  EXPECT_EQ(second.Handle(), GetFocus());
}

TEST(ExtCtrlsTest, PanelBevelsNarrowTheClientArea) {
  auto form = MakeForm();
  TPanel panel(nullptr);
  panel.SetBounds(0, 0, 100, 50);
  panel.SetBevelOuter(bvRaised);
  panel.SetBevelInner(bvLowered);
  panel.SetBevelWidth(2);
  panel.BorderWidth = 1;
  panel.SetParent(form.get());
  TProbeControl child(nullptr, &panel);
  child.SetAlign(alClient);
  EXPECT_EQ(Rect(5, 5, 95, 45), child.BoundsRect());
  TMemorySurface surface(100, 50);
  panel.SetColor(RGB(0, 0, 128));
  panel.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(Rgb(clBtnHighlight), surface.Pixel(0, 20));
  EXPECT_EQ(Rgb(clBtnShadow), surface.Pixel(99, 20));
  EXPECT_EQ(RGB(0, 0, 128), surface.Pixel(2, 20));  // the border ring
  EXPECT_EQ(Rgb(clBtnShadow), surface.Pixel(3, 20));
  EXPECT_EQ(RGB(0, 0, 128), surface.Pixel(50, 25));
}

}  // namespace
