#include <gtest/gtest.h>

#include "framework/gui/tests/gui_test_support.h"

namespace {

TEST(PaintTest, PaintMessageWithADcPaintsWindowlessChildrenClipped) {
  auto form = MakeForm();
  form->SetBounds(0, 0, 200, 120);
  TProbeControl panel(nullptr, form.get(), Bounds(0, 0, 100, 60));
  TSwatch red(nullptr, &panel, Bounds(10, 10, 20, 20), RGB(255, 0, 0));
  TSwatch blue(nullptr, &panel, Bounds(40, 10, 20, 20), RGB(0, 0, 255));
  blue.Overdraw = true;
  TSwatch hidden(nullptr, &panel, Bounds(70, 10, 20, 20), RGB(0, 255, 0));
  hidden.Hide();

  TMemorySurface surface(100, 60);
  panel.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);

  struct Probe {
    int x, y;
    COLORREF expected;
  };
  const Probe probes[] = {
      {10, 10, RGB(255, 0, 0)},   {29, 29, RGB(255, 0, 0)},   {30, 30, RGB(255, 255, 255)},
      {40, 10, RGB(0, 0, 255)},   {59, 29, RGB(0, 0, 255)},   {60, 10, RGB(255, 255, 255)},
      {39, 10, RGB(255, 255, 255)}, {45, 30, RGB(255, 255, 255)}, {75, 15, RGB(255, 255, 255)},
  };
  for (const Probe& p : probes) EXPECT_EQ(p.expected, surface.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

TEST(PaintTest, ChildrenPaintInControlsOrder) {
  auto form = MakeForm();
  TProbeControl panel(nullptr, form.get(), Bounds(0, 0, 100, 60));
  TSwatch under(nullptr, &panel, Bounds(10, 10, 30, 30), RGB(255, 0, 0));
  TSwatch over(nullptr, &panel, Bounds(20, 20, 30, 30), RGB(0, 0, 255));
  TMemorySurface surface(100, 60);
  panel.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(RGB(0, 0, 255), surface.Pixel(25, 25));
  under.BringToFront();
  panel.Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(25, 25));
}

TEST(PaintTest, EraseFillsWithColourUnlessOpaque) {
  auto form = MakeForm();
  TProbeControl panel(nullptr, form.get(), Bounds(0, 0, 20, 20));
  panel.SetColor(RGB(0, 128, 0));
  TMemorySurface surface(20, 20);
  EXPECT_EQ(1, panel.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.DC()), 0));
  EXPECT_EQ(RGB(0, 128, 0), surface.Pixel(5, 5));
  TMemorySurface untouched(20, 20);
  panel.SetControlStyle(panel.ControlStyle() | csOpaque);
  EXPECT_EQ(1, panel.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(untouched.DC()), 0));
  EXPECT_EQ(RGB(255, 255, 255), untouched.Pixel(5, 5));
}

}  // namespace
