#include <gtest/gtest.h>

#include "framework/gui/tests/gui_test_support.h"

namespace {

TEST(AlignTest, AlignedChildrenShareTheClientArea) {
  TestApp();
  TProbeControl panel(nullptr, nullptr, Bounds(0, 0, 200, 100));
  TProbeControl top(nullptr, &panel, Bounds(0, 0, 10, 20));
  TProbeControl left(nullptr, &panel, Bounds(0, 0, 30, 10));
  TProbeControl bottom(nullptr, &panel, Bounds(0, 0, 10, 15));
  TProbeControl client(nullptr, &panel);
  TProbeControl free(nullptr, &panel, Bounds(5, 6, 7, 8));
  top.SetAlign(alTop);
  left.SetAlign(alLeft);
  bottom.SetAlign(alBottom);
  client.SetAlign(alClient);

  struct Case {
    TControl* control;
    TRect expected;
  };
  const Case cases[] = {
      {&top, Rect(0, 0, 200, 20)},     {&bottom, Rect(0, 85, 200, 100)}, {&left, Rect(0, 20, 30, 85)},
      {&client, Rect(30, 20, 200, 85)}, {&free, Rect(5, 6, 12, 14)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, c.control->BoundsRect());

  panel.SetBounds(0, 0, 300, 120);  // a resize re-lays them out
  EXPECT_EQ(Rect(30, 20, 300, 105), client.BoundsRect());
  top.Hide();
  EXPECT_EQ(Rect(30, 0, 300, 105), client.BoundsRect());
}

TEST(AlignTest, AnchorsFollowTheRightAndBottomEdges) {
  TestApp();
  TProbeControl panel(nullptr, nullptr, Bounds(0, 0, 200, 100));
  TProbeControl fixed(nullptr, &panel, Bounds(10, 10, 20, 20));
  TProbeControl right(nullptr, &panel, Bounds(150, 10, 20, 20));
  TProbeControl stretched(nullptr, &panel, Bounds(10, 50, 100, 20));
  right.SetAnchors(akTop | akRight);
  stretched.SetAnchors(akLeft | akTop | akRight | akBottom);
  panel.SetBounds(0, 0, 250, 130);
  EXPECT_EQ(Bounds(10, 10, 20, 20), fixed.BoundsRect());
  EXPECT_EQ(Bounds(200, 10, 20, 20), right.BoundsRect());
  EXPECT_EQ(Bounds(10, 50, 150, 50), stretched.BoundsRect());
}

TEST(AlignTest, ConstraintsLimitEverySetter) {
  TestApp();
  TProbeControl control(nullptr);
  control.Constraints.MinWidth = 10;
  control.Constraints.MaxHeight = 50;
  control.SetWidth(3);
  control.SetHeight(80);
  EXPECT_EQ(10, control.Width());
  EXPECT_EQ(50, control.Height());
}

TEST(LifetimeTest, ChildrenGoBeforeOwnedComponentsLastFirst) {
  TestApp();
  std::vector<std::string> order;
  auto* form = new TForm(nullptr);
  auto* ownedOnly = new TProbeControl(form);  // owned, never parented
  auto* a = new TProbeControl(nullptr, form);
  auto* b = new TProbeControl(nullptr, form);
  a->Name = "a";
  b->Name = "b";
  struct Reporter : TComponent {
    Reporter(std::vector<std::string>& log) : TComponent(nullptr), log_(log) {}
    void Notification(TComponent* c, TOperation op) override {
      if (op == opRemove && !c->Name.empty()) log_.push_back(c->Name);
      TComponent::Notification(c, op);
    }
    std::vector<std::string>& log_;
  };
  Reporter reporter(order);
  ownedOnly->Name = String("owned");
  for (TComponent* c : std::initializer_list<TComponent*>{a, b, ownedOnly}) reporter.FreeNotification(c);
  form->HandleNeeded();
  form->Free();
  EXPECT_EQ((std::vector<std::string>{"b", "a", "owned"}), order);
}

TEST(MouseTest, DoubleClickAndCancelMode) {
  auto form = MakeForm();
  TProbeControl a(nullptr, form.get(), Bounds(0, 0, 40, 20));
  TProbeControl b(nullptr, form.get(), Bounds(50, 0, 40, 20));
  std::vector<TShiftState> downs;
  int dbl = 0;
  a.OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) { downs.push_back(shift); };
  a.OnDblClick = [&](TObject*) { ++dbl; };
  ShowAndActivate(*form);
  b.SetFocus();
  SendMessageA(a.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageA(a.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  SendMessageA(a.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageA(a.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  ASSERT_EQ(2u, downs.size());
  EXPECT_FALSE(downs[0] & ssDouble);
  EXPECT_TRUE(downs[1] & ssDouble);
  EXPECT_EQ(1, dbl);
  // The focused control heard of each press elsewhere, told who was pressed.
  ASSERT_EQ(2, b.Count(CM_CANCELMODE));
  for (const auto& m : b.Seen)
    if (m.Msg == CM_CANCELMODE) {
      EXPECT_EQ(reinterpret_cast<LPARAM>(&a), m.LParam);
    }
}

TEST(HelperTest, AccelAndHotkeys) {
  struct Case {
    const char* caption;
    char key;
    bool accel;
  };
  const Case cases[] = {
      {"&File", 'f', true}, {"&File", 'F', true}, {"Fi&le", 'l', true}, {"&&File", 'F', false},
      {"A && &B", 'b', true}, {"None", 'N', false}, {"Trailing&", 'T', false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.accel, IsAccel(static_cast<WORD>(c.key), c.caption)) << c.caption;
  EXPECT_EQ("File", StripHotkey("&File"));
  EXPECT_EQ("A & B", StripHotkey("A && &B"));
}

TEST(ScreenCanvasTest, MeasuresTextWithoutAWindow) {
  TCanvas& canvas = ScreenCanvas();
  EXPECT_GT(canvas.TextWidth("Measure me"), canvas.TextWidth("M"));
  EXPECT_GT(canvas.TextHeight("M"), 0);
}

}  // namespace

namespace {

TEST(CaptureTest, WindowlessCaptureRoutesThroughTheParentUntilLost) {
  auto form = MakeForm();
  TProbeControl panel(nullptr, form.get(), Bounds(0, 0, 150, 100));
  TSwatch swatch(nullptr, &panel, Bounds(10, 10, 40, 40), RGB(255, 0, 0));
  std::vector<TPoint> moves;
  swatch.OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.push_back(Point(x, y)); };
  ShowAndActivate(*form);

  SendMessageA(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  EXPECT_EQ(&swatch, TControl::CaptureControl());
  EXPECT_EQ(panel.Handle(), GetCapture());
  SendMessageA(panel.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 90));  // outside, still routed
  ASSERT_EQ(1u, moves.size());
  EXPECT_EQ(Point(110, 80), moves[0]);

  SetCapture(form->Handle());  // someone else takes the mouse
  EXPECT_EQ(nullptr, TControl::CaptureControl());
  ReleaseCapture();
  SendMessageA(panel.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(120, 90));
  EXPECT_EQ(1u, moves.size());
  EXPECT_EQ(1, panel.Count(WM_MOUSEMOVE));
}

}  // namespace
