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

// A new text must still be painted where it goes, and cleared where a longer one was.
TEST(ExtCtrlsTest, LabelTextChangesInvalidateItsOldAndNewPlace) {
  auto form = MakeForm();
  TProbeControl host(nullptr, form.get(), Bounds(0, 0, 200, 40));
  ShowAndActivate(*form);  // a hidden window keeps no invalid region
  TLabel label(nullptr);
  label.SetParent(&host);
  label.SetLeft(10);
  label.SetCaption("wide wide wide");
  const TRect wide = label.BoundsRect();
  auto invalid = [&] {
    RECT r{};
    GetUpdateRect(host.Handle(), &r, FALSE);
    ValidateRect(host.Handle(), nullptr);
    return TRect::FromRECT(r);
  };
  invalid();
  label.SetCaption("wide wide wida");
  EXPECT_EQ(label.BoundsRect(), wide) << "the same size";
  EXPECT_EQ(invalid(), wide);
  label.SetCaption("w");
  EXPECT_LT(label.Width(), wide.Width());
  EXPECT_EQ(invalid(), wide) << "the longer text's place";
  label.SetCaption("wide wide wide");
  EXPECT_EQ(invalid(), wide);
  label.Font()->SetHeight(label.Font()->Height() * 2);
  EXPECT_EQ(invalid(), label.BoundsRect()) << "a larger font's place";
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

namespace {

TEST(ImageTest, ProportionalCentredPictureLandsInTheMiddle) {
  auto form = MakeForm();
  TProbeControl host(nullptr, form.get(), Bounds(0, 0, 60, 30));
  TImage image(nullptr);
  image.SetBounds(0, 0, 60, 30);
  image.SetParent(&host);
  TCanvas* pixels = image.Picture()->Bitmap()->Canvas();
  image.Picture()->Bitmap()->SetSize(10, 10);
  pixels->Brush()->SetColor(RGB(255, 0, 0));
  pixels->FillRect(Rect(0, 0, 10, 10));
  image.SetStretch(true);
  image.SetProportional(true);
  image.SetCenter(true);
  EXPECT_EQ(Bounds(15, 0, 30, 30), image.DestRect());
  TMemorySurface surface(60, 30);
  host.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(10, 15));
  EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(20, 15));
  EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(44, 29));
  EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(50, 15));

  image.SetStretch(false);  // proportional alone only shrinks
  EXPECT_EQ(Bounds(25, 10, 10, 10), image.DestRect());
  image.SetAutoSize(true);
  EXPECT_EQ(10, image.Width());
}

}  // namespace

namespace {

TEST(SplitterTest, DragResizesTheControlItSitsAgainst) {
  auto form = MakeForm();
  TProbeControl host(nullptr, form.get(), Bounds(0, 0, 300, 100));
  TProbeControl left(nullptr, &host, Bounds(0, 0, 100, 100));
  left.SetAlign(alLeft);
  TSplitter splitter(nullptr);
  splitter.SetParent(&host);
  splitter.SetLeft(150);  // after the left panel once aligned
  splitter.SetAlign(alLeft);
  host.Realign();
  ASSERT_EQ(100, splitter.Left());
  int moved = 0;
  splitter.OnMoved = [&](TObject*) { ++moved; };
  splitter.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  splitter.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(41, 10));
  EXPECT_EQ(140, left.Width());
  splitter.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-200), 10));
  EXPECT_EQ(splitter.MinSize, left.Width());
  splitter.Perform(WM_LBUTTONUP, 0, MAKELPARAM(1, 10));
  EXPECT_EQ(1, moved);
}

}  // namespace
