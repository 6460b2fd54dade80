// The skinned scroll bar: clamping of the values, the layout of buttons, track and
// thumb in both looks and both directions, presses with their repeats (fired by the
// test), paging, dragging, keys and the wheel, and pixels of both looks.
#include "skin/controls/ksSkinScrollBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "framework/core/colors.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

// Counts of the bar's events.
struct Events {
  int change = 0, up = 0, down = 0, pageUp = 0, pageDown = 0, last = 0, mouseDown = 0;
};

class ScrollBar : public SkinCtrls {
 protected:
  TksSkinScrollBar* NewBar(TScrollBarKind kind, int w, int h) {
    auto* bar = new TksSkinScrollBar(form);
    bar->SetParent(form);
    if (kind == sbVertical) {
      bar->SetKind(sbVertical);
      bar->SetSkinDataName("vscrollbar");
    }
    bar->SetBounds(10, 10, w, h);
    return bar;
  }
  void Count(TksSkinScrollBar* bar) {
    bar->OnChange = [this](TObject*) { ++events.change; };
    bar->OnPageUp = [this](TObject*) { ++events.pageUp; };
    bar->OnPageDown = [this](TObject*) { ++events.pageDown; };
    bar->OnLastChange = [this](TObject*) { ++events.last; };
    bar->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++events.mouseDown; };
  }
  TksDataSkinScrollBarControl& Description(const String& name) {
    return dynamic_cast<TksDataSkinScrollBarControl&>(*data.CtrlList[static_cast<size_t>(data.GetControlIndex(name))]);
  }
  // Places the track and the buttons on the face: the decreasing button at the
  // start, the increasing one in the face's far fixed piece, the track between.
  void PlaceOnFace(const String& name) {
    TksDataSkinScrollBarControl& d = Description(name);
    const int w = RectWidth(d.SkinRect), h = RectHeight(d.SkinRect);
    if (name == "vscrollbar") {
      const int end = d.LBPoint.Y;
      d.DownButtonRect = TRect{0, 0, w, d.LTPoint.Y};
      d.UpButtonRect = TRect{0, end, w, h};
      d.TrackArea = TRect{0, d.LTPoint.Y, w, end};
    } else {
      const int end = d.RTPoint.X;
      d.DownButtonRect = TRect{0, 0, d.LTPoint.X, h};
      d.UpButtonRect = TRect{end, 0, w, h};
      d.TrackArea = TRect{d.LTPoint.X, 0, end, h};
    }
  }
  static void Move(TksSkinScrollBar* bar, int x, int y) { bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  static void Press(TksSkinScrollBar* bar, int x, int y) {
    Move(bar, x, y);
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  }
  static void Release(TksSkinScrollBar* bar, int x, int y) { bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  static void Fire(TksSkinScrollBar* bar) {
    ASSERT_NE(bar->RepeatTimer(), nullptr);
    SendMessageA(TTimer::TimerWindow(), WM_TIMER, bar->RepeatTimer()->TimerId(), 0);
  }
  static TRect OrFallback(const TRect& r, const TRect& fallback) { return IsNullRect(r) ? fallback : r; }
  static TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

  Events events;
};

// ---- values ---------------------------------------------------------------------

TEST_F(ScrollBar, CreatedWithItsDefaults) {
  TksSkinScrollBar bar(nullptr);
  EXPECT_EQ(bar.Width(), 200);
  EXPECT_EQ(bar.Height(), 19);
  EXPECT_EQ(bar.DefaultHeight(), 19);
  EXPECT_EQ(bar.SkinDataName(), "hscrollbar");
  EXPECT_FALSE(bar.TabStop());
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.SmallChange(), 1);
  EXPECT_EQ(bar.LargeChange(), 1);
  EXPECT_EQ(bar.BothMarkerWidth(), 19);
  EXPECT_EQ(bar.BothSkinDataName, "bothhscrollbar");
  bar.SetCanFocused(true);
  EXPECT_TRUE(bar.TabStop());
}

TEST_F(ScrollBar, PositionIsClampedAndNotifiedOnlyOnChange) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  Count(bar);
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(events.change, 1);
  bar->SetPosition(100);
  EXPECT_EQ(events.change, 1);
  bar->SetPosition(-5);
  EXPECT_EQ(bar->Position(), 0);
  bar->SetRange(0, 100, 10, 0);
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 91);
  EXPECT_EQ(events.change, 3);
  // A page larger than the whole range keeps the position at Min, not below it.
  bar->SetRange(0, 9, 20, 5);
  EXPECT_EQ(bar->Position(), 0);
  // Min above Max: Min wins.
  bar->SetRange(50, 10, 0, 30);
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(events.change, 3);  // SetRange is quiet
}

TEST_F(ScrollBar, ExtremeValuesDoNotWrap) {
  constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  bar->SetRange(lo, hi, 0, hi);
  bar->SetSmallChange(hi);
  Press(bar, 190, 9);  // one step beyond Max
  Release(bar, 190, 9);
  EXPECT_EQ(bar->Position(), hi);
  bar->SetPosition(lo);
  Press(bar, 8, 9);
  Release(bar, 8, 9);
  EXPECT_EQ(bar->Position(), lo);
  bar->SetRange(lo, hi, hi, 0);
  EXPECT_EQ(bar->Position(), 0);
  bar->SetRange(lo, lo, hi, 5);  // a page from the very bottom
  EXPECT_EQ(bar->Position(), lo);
  bar->SetRange(hi, lo, 0, 0);
  EXPECT_EQ(bar->Position(), hi);
  bar->SetRange(lo, hi, 0, 0);
  bar->CalcParts();
  const TPoint at = Centre(bar->Part(TksSkinScrollBar::kThumb).R);
  Press(bar, at.X, at.Y);
  Move(bar, at.X + 500, at.Y);
  EXPECT_EQ(bar->Position(), hi);
  Release(bar, at.X + 500, at.Y);
  PaintAndSample(*bar, 5, 5);
}

struct RangeCase {
  const char* what;
  int min, max, page, pos;
  void (*change)(TksSkinScrollBar*);
  int position, pageSize;
};

TEST_F(ScrollBar, SettersKeepThePositionInsideTheRange) {
  const RangeCase cases[] = {
      {"range with a page", 0, 100, 10, 95, [](TksSkinScrollBar*) {}, 91, 10},
      {"larger page", 0, 100, 0, 90, [](TksSkinScrollBar* b) { b->SetPageSize(20); }, 81, 20},
      {"smaller page", 0, 100, 20, 81, [](TksSkinScrollBar* b) { b->SetPageSize(10); }, 81, 10},
      {"lower Max with a page", 10, 100, 10, 91, [](TksSkinScrollBar* b) { b->SetMax(50); }, 41, 10},
      {"lower Max with a page below Min", 10, 100, 10, 91, [](TksSkinScrollBar* b) { b->SetMax(12); }, 10, 10},
      {"lower Max without a page", 0, 100, 0, 90, [](TksSkinScrollBar* b) { b->SetMax(40); }, 40, 0},
      {"higher Max", 0, 100, 0, 90, [](TksSkinScrollBar* b) { b->SetMax(400); }, 90, 0},
      {"higher Min", 0, 100, 0, 30, [](TksSkinScrollBar* b) { b->SetMin(60); }, 60, 0},
      {"lower Min", 20, 100, 0, 30, [](TksSkinScrollBar* b) { b->SetMin(0); }, 30, 0},
  };
  for (const auto& c : cases) {
    events = Events{};
    TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
    Count(bar);
    bar->SetRange(c.min, c.max, c.page, c.pos);
    c.change(bar);
    EXPECT_EQ(bar->Position(), c.position) << c.what;
    EXPECT_EQ(bar->PageSize(), c.pageSize) << c.what;
    EXPECT_EQ(events.change, 0) << c.what;
  }
}

// ---- layout ---------------------------------------------------------------------

struct LayoutCase {
  TScrollBarKind kind;
  int min, max, page, pos;
  int from, to;  // the thumb along the track
};

TEST_F(ScrollBar, PlainLayoutOfButtonsTrackAndThumb) {
  const LayoutCase cases[] = {
      {sbHorizontal, 0, 100, 0, 50, 92, 108},   // centred at 17 + 8 + N(150 x 0.5)
      {sbHorizontal, 0, 100, 0, 0, 17, 33},     // at the track's start
      {sbHorizontal, 0, 100, 0, 100, 167, 183}, // at its end
      {sbHorizontal, 0, 4, 0, 1, 55, 71},       // 37.5 rounds to 38
      {sbHorizontal, 0, 4, 0, 3, 129, 145},     // 112.5 rounds to 112
      {sbHorizontal, 5, 5, 0, 5, 17, 33},       // an empty range
      {sbHorizontal, 0, 99, 50, 25, 59, 141},   // half the range: half the track
      {sbHorizontal, 0, 99, 1, 50, 93, 109},    // a tiny page keeps the plain thumb's size
      {sbHorizontal, 0, 9, 20, 0, 17, 183},     // a page over the whole range ends at the far end
      {sbVertical, 0, 100, 0, 25, 55, 71},
      {sbVertical, 0, 9, 20, 0, 17, 183},       // ... and starts at the start when vertical
      {sbVertical, 0, 99, 50, 50, 101, 183},
  };
  for (const auto& c : cases) {
    const bool horz = c.kind == sbHorizontal;
    TksSkinScrollBar* bar = horz ? NewBar(c.kind, 200, 19) : NewBar(c.kind, 19, 200);
    bar->SetRange(c.min, c.max, c.page, c.pos);
    bar->CalcParts();
    const TRect thumb = bar->Part(TksSkinScrollBar::kThumb).R;
    const TRect expected = horz ? TRect{c.from, 1, c.to, 18} : TRect{1, c.from, 18, c.to};
    EXPECT_EQ(thumb, expected) << c.kind << " " << c.min << ".." << c.max << " page " << c.page << " pos " << c.pos;
    if (horz) {
      EXPECT_EQ(bar->Part(TksSkinScrollBar::kDownButton).R, (TRect{1, 1, 17, 18}));
      EXPECT_EQ(bar->Part(TksSkinScrollBar::kUpButton).R, (TRect{183, 1, 199, 18}));
      EXPECT_EQ(bar->TrackRect(), (TRect{17, 1, 183, 18}));
    } else {
      EXPECT_EQ(bar->Part(TksSkinScrollBar::kDownButton).R, (TRect{1, 1, 18, 17}));
      EXPECT_EQ(bar->Part(TksSkinScrollBar::kUpButton).R, (TRect{1, 183, 18, 199}));
      EXPECT_EQ(bar->TrackRect(), (TRect{1, 17, 18, 183}));
    }
  }
}

TEST_F(ScrollBar, CornerMarkerShortensThePlainHorizontalBar) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  bar->SetBoth(true);
  bar->CalcParts();
  EXPECT_EQ(bar->Part(TksSkinScrollBar::kUpButton).R, (TRect{164, 1, 180, 18}));
  EXPECT_EQ(bar->TrackRect(), (TRect{17, 1, 164, 18}));
  bar->SetBothMarkerWidth(-1);  // ignored
  EXPECT_EQ(bar->BothMarkerWidth(), 19);
  bar->SetBothMarkerWidth(0);
  bar->CalcParts();
  EXPECT_EQ(bar->TrackRect(), (TRect{17, 1, 183, 18}));
}

TEST_F(ScrollBar, SkinnedLayoutFollowsTheFace) {
  PlaceOnFace("hscrollbar");
  PlaceOnFace("vscrollbar");
  for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    const bool horz = kind == sbHorizontal;
    TksSkinScrollBar* bar = horz ? NewBar(kind, 200, 17) : NewBar(kind, 17, 200);
    bar->SetSkinData(&data);
    ASSERT_TRUE(bar->SkinnedLayout());
    const TksDataSkinScrollBarControl& d = Description(horz ? "hscrollbar" : "vscrollbar");
    const int along = horz ? bar->Width() : bar->Height();
    const int across = horz ? bar->Height() : bar->Width();
    ASSERT_EQ(across, horz ? RectHeight(d.SkinRect) : RectWidth(d.SkinRect));
    const int first = horz ? d.LTPoint.X : d.LTPoint.Y;
    const int last = along - ((horz ? RectWidth(d.SkinRect) - d.RTPoint.X : RectHeight(d.SkinRect) - d.LBPoint.Y));
    auto span = [&](int a, int b) { return horz ? TRect{a, 0, b, across} : TRect{0, a, across, b}; };
    EXPECT_EQ(bar->Part(TksSkinScrollBar::kDownButton).R, span(0, first)) << kind;
    EXPECT_EQ(bar->Part(TksSkinScrollBar::kUpButton).R, span(last, along)) << kind;
    EXPECT_EQ(bar->TrackRect(), span(first, last)) << kind;

    // Without a page the thumb has the skin thumb's size.
    const int thumbLength = horz ? RectWidth(d.ThumbRect) : RectHeight(d.ThumbRect);
    const int thick = horz ? RectHeight(d.ThumbRect) : RectWidth(d.ThumbRect);
    const int half = thumbLength / 2;
    const int middle = (first + last) / 2;
    const int acrossStart = across / 2 - thick / 2;
    auto thumbAt = [&](int a, int b) {
      return horz ? TRect{a, acrossStart, b, acrossStart + thick} : TRect{acrossStart, a, acrossStart + thick, b};
    };
    bar->SetRange(0, 100, 0, 50);
    bar->CalcParts();
    EXPECT_EQ(bar->Part(TksSkinScrollBar::kThumb).R, thumbAt(middle - half, middle + half)) << kind;
    bar->SetPosition(0);
    bar->CalcParts();
    EXPECT_EQ(bar->Part(TksSkinScrollBar::kThumb).R, thumbAt(first, first + 2 * half)) << kind;
    bar->SetPosition(100);
    bar->CalcParts();
    EXPECT_EQ(bar->Part(TksSkinScrollBar::kThumb).R, thumbAt(last - 2 * half, last)) << kind;
    // A page of a quarter of the range: a quarter of the track, at least the skin thumb.
    bar->SetRange(0, 399, 100, 0);
    bar->CalcParts();
    const TRect t = bar->Part(TksSkinScrollBar::kThumb).R;
    const int length = horz ? RectWidth(t) : RectHeight(t);
    const int expected = std::max((last - first + 2) / 4, thumbLength);
    EXPECT_LE(std::abs(length - expected), 1) << kind;
    EXPECT_EQ(horz ? t.Left : t.Top, first) << kind;
  }
}

TEST_F(ScrollBar, DescriptionOfAnotherKindGivesThePlainLook) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  bar->SetSkinDataName("button");
  bar->SetSkinData(&data);
  ASSERT_NE(bar->ControlIndex(), -1);
  EXPECT_FALSE(bar->SkinnedLayout());
  bar->CalcParts();
  EXPECT_EQ(bar->TrackRect(), (TRect{17, 1, bar->Width() - 17, bar->Height() - 1}));
  EXPECT_EQ(PaintAndSample(*bar, 0, 0), Rgb(clBtnFace));
  EXPECT_EQ(PaintAndSample(*bar, 1, 1), Rgb(clBtnShadow));
}

// ---- buttons and their repeat -----------------------------------------------------

struct ButtonCase {
  TScrollBarKind kind;
  int part;
  int step;  // the change of one step
};

TEST_F(ScrollBar, ButtonsStepAtOnceThenRepeatWhileHeld) {
  const ButtonCase cases[] = {
      {sbHorizontal, TksSkinScrollBar::kUpButton, 3},
      {sbHorizontal, TksSkinScrollBar::kDownButton, -3},
      {sbVertical, TksSkinScrollBar::kUpButton, 3},
      {sbVertical, TksSkinScrollBar::kDownButton, -3},
  };
  for (const auto& c : cases) {
    events = Events{};
    TksSkinScrollBar* bar = c.kind == sbHorizontal ? NewBar(c.kind, 200, 19) : NewBar(c.kind, 19, 200);
    Count(bar);
    bar->SetRange(0, 100, 0, 50);
    bar->SetSmallChange(3);
    bar->CalcParts();
    const TPoint at = Centre(bar->Part(c.part).R);
    Press(bar, at.X, at.Y);
    EXPECT_EQ(bar->Position(), 50 + c.step);
    EXPECT_EQ(events.change, 1);
    ASSERT_NE(bar->RepeatTimer(), nullptr);
    EXPECT_EQ(bar->RepeatTimer()->Interval(), 500u);
    Fire(bar);  // the first tick only re-arms
    EXPECT_EQ(bar->Position(), 50 + c.step);
    EXPECT_EQ(bar->RepeatTimer()->Interval(), 50u);
    Fire(bar);
    Fire(bar);
    EXPECT_EQ(bar->Position(), 50 + 3 * c.step);
    EXPECT_EQ(events.change, 3);
    Release(bar, at.X, at.Y);
    EXPECT_EQ(bar->RepeatTimer(), nullptr);
    EXPECT_EQ(bar->TimerMode(), TksSkinScrollBar::tmNone);
    EXPECT_EQ(bar->PressedPart(), -1);
    EXPECT_EQ(bar->Position(), 50 + 3 * c.step);
  }
}

TEST_F(ScrollBar, AssignedButtonEventsReplaceTheStep) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  Count(bar);
  bar->SetPosition(50);
  events.change = 0;
  bar->OnUpButtonClick = [this](TObject*) { ++events.up; };
  bar->OnDownButtonClick = [this](TObject*) { ++events.down; };
  Press(bar, 190, 9);
  Fire(bar);
  Fire(bar);
  Release(bar, 190, 9);
  Press(bar, 8, 9);
  Release(bar, 8, 9);
  EXPECT_EQ(events.up, 2);
  EXPECT_EQ(events.down, 1);
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(events.change, 0);
}

TEST_F(ScrollBar, LeavingAHeldButtonPausesAndReturningResumes) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  Press(bar, 190, 9);
  Fire(bar);
  Fire(bar);
  EXPECT_EQ(bar->Position(), 2);
  Move(bar, 100, 9);  // over the track
  EXPECT_EQ(bar->RepeatTimer(), nullptr);
  EXPECT_EQ(bar->HotPart(), -1);
  Move(bar, 8, 9);  // another button cannot become hot while one is held
  EXPECT_EQ(bar->HotPart(), -1);
  EXPECT_EQ(bar->RepeatTimer(), nullptr);
  Move(bar, 190, 9);
  ASSERT_NE(bar->RepeatTimer(), nullptr);
  EXPECT_EQ(bar->RepeatTimer()->Interval(), 50u);
  Fire(bar);
  EXPECT_EQ(bar->Position(), 3);
  Release(bar, 190, 9);
  EXPECT_EQ(bar->RepeatTimer(), nullptr);
}

TEST_F(ScrollBar, DisablingOrLosingTheMouseEndsTheRepeat) {
  const struct {
    const char* what;
    void (*end)(TksSkinScrollBar*, TForm*);
  } cases[] = {
      {"disabled", [](TksSkinScrollBar* b, TForm*) { b->SetEnabled(false); }},
      {"cancel mode", [](TksSkinScrollBar* b, TForm*) { b->Perform(WM_CANCELMODE, 0, 0); }},
      {"capture taken", [](TksSkinScrollBar*, TForm* f) { SetCapture(f->Handle()); }},
  };
  for (const auto& c : cases) {
    TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
    Press(bar, 190, 9);
    ASSERT_EQ(GetCapture(), bar->Handle()) << c.what;
    ASSERT_NE(bar->RepeatTimer(), nullptr) << c.what;
    c.end(bar, form);
    EXPECT_EQ(bar->RepeatTimer(), nullptr) << c.what;
    EXPECT_EQ(bar->TimerMode(), TksSkinScrollBar::tmNone) << c.what;
    EXPECT_EQ(bar->PressedPart(), -1) << c.what;
    EXPECT_FALSE(bar->Part(TksSkinScrollBar::kUpButton).Down) << c.what;
    ReleaseCapture();
  }
}

TEST_F(ScrollBar, OwnReleaseIsNoCaptureLoss) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  Count(bar);
  bar->CalcParts();
  const TPoint thumb = Centre(bar->Part(TksSkinScrollBar::kThumb).R);
  Press(bar, thumb.X, thumb.Y);
  Move(bar, thumb.X + 30, thumb.Y);
  Release(bar, thumb.X + 30, thumb.Y);
  EXPECT_EQ(events.last, 1);
  EXPECT_FALSE(bar->ThumbDragging());
}

// ---- paging -------------------------------------------------------------------------

TEST_F(ScrollBar, PagingRepeatsUntilTheThumbReachesThePointer) {
  const struct {
    int x;
    int pages;      // with the press
    int position;   // where it stops
  } cases[] = {{30, 5, 0}, {170, 5, 100}};
  for (const auto& c : cases) {
    events = Events{};
    TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
    bar->SetRange(0, 100, 0, 50);
    bar->SetLargeChange(10);
    Count(bar);
    Press(bar, c.x, 9);
    const bool up = c.x < 100;
    EXPECT_EQ(bar->Position(), up ? 40 : 60);
    EXPECT_EQ(bar->TimerMode(), up ? TksSkinScrollBar::tmPageUp : TksSkinScrollBar::tmPageDown);
    ASSERT_NE(bar->RepeatTimer(), nullptr);
    EXPECT_EQ(bar->RepeatTimer()->Interval(), 500u);
    for (int i = 0; i < 20 && bar->RepeatTimer() != nullptr; ++i) Fire(bar);
    EXPECT_EQ(bar->RepeatTimer(), nullptr) << c.x;
    EXPECT_EQ(bar->Position(), c.position) << c.x;
    EXPECT_EQ(up ? events.pageUp : events.pageDown, c.pages) << c.x;
    EXPECT_EQ(up ? events.pageDown : events.pageUp, 0) << c.x;
    Release(bar, c.x, 9);
  }
}

// Leaving the bar stops paging towards Max; paging towards Min runs on to the pointer.
TEST_F(ScrollBar, PagingStopsOnReleaseAndTowardsMaxWhenThePointerLeaves) {
  for (int x : {30, 170}) {
    TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
    bar->SetRange(0, 100, 0, 50);
    bar->SetLargeChange(10);
    Press(bar, x, 9);
    Fire(bar);
    Fire(bar);
    bar->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(bar));
    const bool towardsMin = x < 100;
    EXPECT_EQ(bar->RepeatTimer() != nullptr, towardsMin) << x;
    if (towardsMin) {
      const int before = bar->Position();
      Fire(bar);
      EXPECT_EQ(bar->Position(), before - 10);
    }
    Release(bar, x, 9);
    Press(bar, x, 9);
    ASSERT_NE(bar->RepeatTimer(), nullptr);
    Release(bar, x, 9);
    EXPECT_EQ(bar->RepeatTimer(), nullptr) << x;
    EXPECT_EQ(bar->TimerMode(), TksSkinScrollBar::tmNone) << x;
  }
}

// ---- dragging -------------------------------------------------------------------

struct DragCase {
  TScrollBarKind kind;
  int page;
  int delta;  // pointer movement along the bar
  int position;
};

TEST_F(ScrollBar, DraggingTheThumbMapsThePointerToThePosition) {
  const DragCase cases[] = {
      {sbHorizontal, 0, 0, 50},     {sbHorizontal, 0, 15, 60},      {sbHorizontal, 0, 75, 100},
      {sbHorizontal, 0, 500, 100},  {sbHorizontal, 0, -500, 0},     {sbHorizontal, 10, 500, 91},
      {sbVertical, 0, -75, 0},      {sbVertical, 0, 30, 70},        {sbVertical, 10, 500, 91},
  };
  for (const auto& c : cases) {
    events = Events{};
    const bool horz = c.kind == sbHorizontal;
    TksSkinScrollBar* bar = horz ? NewBar(c.kind, 200, 19) : NewBar(c.kind, 19, 200);
    bar->SetRange(0, 100, c.page, 50);
    bar->CalcParts();
    Count(bar);
    const TPoint at = Centre(bar->Part(TksSkinScrollBar::kThumb).R);
    Press(bar, at.X, at.Y);
    EXPECT_TRUE(bar->ThumbDragging());
    EXPECT_EQ(bar->RepeatTimer(), nullptr);
    const TPoint to = horz ? TPoint{at.X + c.delta, at.Y} : TPoint{at.X, at.Y + c.delta};
    Move(bar, to.X, to.Y);
    EXPECT_EQ(bar->Position(), c.position) << c.kind << " page " << c.page << " by " << c.delta;
    EXPECT_EQ(events.change, c.position == 50 ? 0 : 1);
    EXPECT_EQ(events.last, 0);
    Release(bar, to.X, to.Y);
    EXPECT_EQ(events.last, 1);
    EXPECT_FALSE(bar->ThumbDragging());
  }
}

TEST_F(ScrollBar, EachNewValueOfADragIsNotified) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  bar->SetRange(0, 100, 0, 0);
  Count(bar);
  Press(bar, 25, 9);
  for (int x = 26; x <= 40; ++x) Move(bar, x, 9);  // 15 pixels: 10 positions
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(events.change, 10);
  Move(bar, 40, 9);
  EXPECT_EQ(events.change, 10);
  Release(bar, 40, 9);
}

TEST_F(ScrollBar, LostCaptureEndsTheDrag) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  Count(bar);
  Press(bar, 25, 9);
  Move(bar, 40, 9);
  SetCapture(form->Handle());
  EXPECT_FALSE(bar->ThumbDragging());
  EXPECT_EQ(events.last, 0);  // only a release ends a drag with OnLastChange
  EXPECT_EQ(events.change, 1);
  Move(bar, 100, 9);  // no button: the thumb stays
  EXPECT_EQ(bar->Position(), 10);
  ReleaseCapture();
}

TEST_F(ScrollBar, RightButtonChangesNothing) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  Count(bar);
  bar->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(190, 9));
  bar->Perform(WM_RBUTTONUP, 0, MAKELPARAM(190, 9));
  bar->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 9));
  bar->Perform(WM_RBUTTONUP, 0, MAKELPARAM(100, 9));
  EXPECT_EQ(events.mouseDown, 2);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(bar->RepeatTimer(), nullptr);
  EXPECT_EQ(events.change, 0);
}

// Another button's release ends a press with the left one as well; only the left
// button's release reports the end of a drag.
TEST_F(ScrollBar, AnyButtonsReleaseEndsThePress) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  Count(bar);
  Press(bar, 190, 9);  // the increasing arrow, repeating
  ASSERT_NE(bar->RepeatTimer(), nullptr);
  bar->Perform(WM_RBUTTONUP, 0, MAKELPARAM(190, 9));
  EXPECT_EQ(bar->RepeatTimer(), nullptr);
  EXPECT_EQ(bar->PressedPart(), -1);
  Press(bar, 25, 9);  // the thumb
  Move(bar, 40, 9);
  ASSERT_TRUE(bar->ThumbDragging());
  bar->Perform(WM_MBUTTONUP, 0, MAKELPARAM(40, 9));
  EXPECT_FALSE(bar->ThumbDragging());
  EXPECT_EQ(bar->PressedPart(), -1);
  EXPECT_EQ(events.last, 0);
}

// ---- keys, wheel, focus ---------------------------------------------------------

TEST_F(ScrollBar, KeysAndWheelOnlyWhenTheBarMayTakeTheFocus) {
  ShowAndActivate();
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  bar->SetPosition(50);
  const WPARAM away = MAKEWPARAM(0, WHEEL_DELTA), towards = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));

  EXPECT_EQ(bar->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 0);
  bar->Perform(WM_KEYDOWN, VK_RIGHT, 0);
  bar->Perform(WM_MOUSEWHEEL, towards, 0);
  Press(bar, 190, 9);
  Release(bar, 190, 9);
  EXPECT_NE(GetFocus(), bar->Handle());  // a click does not take the focus
  EXPECT_EQ(bar->Position(), 51);

  bar->SetCanFocused(true);
  Press(bar, 190, 9);  // now it does
  Release(bar, 190, 9);
  EXPECT_EQ(GetFocus(), bar->Handle());
  EXPECT_EQ(bar->Position(), 52);
  EXPECT_EQ(bar->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 1);
  EXPECT_EQ(bar->Perform(CM_WANTSPECIALKEY, VK_DOWN, 0), 1);
  EXPECT_EQ(bar->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 0);
  const struct {
    UINT msg;
    WPARAM wParam;
    int step;
  } inputs[] = {{WM_KEYDOWN, VK_RIGHT, 1}, {WM_KEYDOWN, VK_DOWN, 1}, {WM_KEYDOWN, VK_LEFT, -1},
                {WM_KEYDOWN, VK_UP, -1},   {WM_KEYDOWN, VK_HOME, 0}, {WM_MOUSEWHEEL, away, -1},
                {WM_MOUSEWHEEL, towards, 1}};
  for (const auto& in : inputs) {
    const int before = bar->Position();
    bar->Perform(in.msg, in.wParam, 0);
    EXPECT_EQ(bar->Position(), before + in.step) << in.msg << " " << in.wParam;
  }
  form->Hide();
}

// ---- pixels ---------------------------------------------------------------------

TEST_F(ScrollBar, PlainLookOfPartsAndStates) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  bar->SetPosition(50);  // thumb at 92..108
  TBitmap shot;
  PaintInto(*bar, shot);
  auto px = [&](int x, int y) { return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)); };
  EXPECT_EQ(px(0, 0), Rgb(clBtnFace));
  EXPECT_EQ(px(50, 9), Rgb(clBtnFace));    // track
  EXPECT_EQ(px(92, 9), Rgb(clBtnShadow));  // thumb frame
  EXPECT_EQ(px(100, 3), Rgb(clBtnFace));   // thumb fill
  EXPECT_EQ(px(1, 1), Rgb(clBtnShadow));   // decreasing button frame
  // Arrows in black: the increasing one points right, the decreasing one left.
  const int upX = 191, downX = 9, cy = 9;  // centres inside the buttons' frames
  EXPECT_EQ(px(upX, cy), Rgb(clBlack));
  EXPECT_EQ(px(upX - 1, cy - 3), Rgb(clBlack));
  EXPECT_NE(px(upX + 1, cy - 3), Rgb(clBlack));
  EXPECT_EQ(px(downX, cy), Rgb(clBlack));
  EXPECT_EQ(px(downX + 1, cy - 3), Rgb(clBlack));
  EXPECT_NE(px(downX - 1, cy - 3), Rgb(clBlack));

  const COLORREF hotFill = Rgb(static_cast<TColor>(13811126)), downFill = Rgb(static_cast<TColor>(11899781));
  Move(bar, 190, 9);
  EXPECT_EQ(PaintAndSample(*bar, 185, 3), hotFill);
  EXPECT_EQ(PaintAndSample(*bar, 183, 1), Rgb(clNavy));
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 9));
  EXPECT_EQ(PaintAndSample(*bar, 185, 3), downFill);
  Release(bar, 190, 9);
  EXPECT_EQ(PaintAndSample(*bar, 185, 3), hotFill);
  bar->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(PaintAndSample(*bar, 185, 3), Rgb(clBtnFace));

  // The pressed thumb looks pressed even when the pointer leaves it.
  bar->CalcParts();
  const TPoint thumb = Centre(bar->Part(TksSkinScrollBar::kThumb).R);
  Press(bar, thumb.X, thumb.Y);
  EXPECT_EQ(PaintAndSample(*bar, thumb.X, 3), downFill);
  Release(bar, thumb.X, thumb.Y);

  bar->SetEnabled(false);  // no thumb
  EXPECT_EQ(PaintAndSample(*bar, thumb.X, 3), Rgb(clBtnFace));
  EXPECT_EQ(PaintAndSample(*bar, 1, 1), Rgb(clBtnShadow));
}

TEST_F(ScrollBar, PlainVerticalArrowsPointDownAndUp) {
  TksSkinScrollBar* bar = NewBar(sbVertical, 19, 200);
  TBitmap shot;
  PaintInto(*bar, shot);
  auto px = [&](int x, int y) { return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)); };
  const int cx = 9, upY = 191, downY = 9;
  EXPECT_EQ(px(cx - 3, upY - 1), Rgb(clBlack));  // wide row above the tip: points down
  EXPECT_NE(px(cx - 3, upY + 1), Rgb(clBlack));
  EXPECT_EQ(px(cx - 3, downY + 1), Rgb(clBlack));  // points up
  EXPECT_NE(px(cx - 3, downY - 1), Rgb(clBlack));
}

TEST_F(ScrollBar, FocusedBarShowsItsThumbPressed) {
  ShowAndActivate();
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 19);
  bar->SetCanFocused(true);
  bar->SetFocus();
  ASSERT_EQ(GetFocus(), bar->Handle());
  EXPECT_EQ(PaintAndSample(*bar, 20, 3), Rgb(static_cast<TColor>(11899781)));
  bar->SetCanFocused(false);
  EXPECT_EQ(PaintAndSample(*bar, 20, 3), Rgb(clBtnFace));
  form->Hide();
}

TEST_F(ScrollBar, SkinnedLookCopiesThePictureForEachState) {
  PlaceOnFace("hscrollbar");
  const TksDataSkinScrollBarControl& d = Description("hscrollbar");
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 17);
  bar->SetSkinData(&data);
  ASSERT_TRUE(bar->SkinnedLayout());
  bar->SetPosition(50);
  bar->CalcParts();
  const TRect thumb = bar->Part(TksSkinScrollBar::kThumb).R;
  const TRect up = bar->Part(TksSkinScrollBar::kUpButton).R;
  const int y = 8;
  // The track and the resting buttons are the face (columns left of the face's
  // right-hand piece are where the skin has them).
  auto face = [&](int x) { return SkinPixel(d.SkinRect.Left + x, d.SkinRect.Top + y); };
  ASSERT_LT(Centre(thumb).X, d.RTPoint.X);
  EXPECT_EQ(PaintAndSample(*bar, 30, y), face(30));
  EXPECT_EQ(PaintAndSample(*bar, up.Left + 3, y), SkinPixel(d.SkinRect.Right - 17 + 3, d.SkinRect.Top + y));
  // The thumb, unscaled without a page, with its glyph centred: resting, hot, pressed.
  auto expectThumb = [&](const TRect& src, const TRect& glyph, const char* state) {
    TBitmap shot;
    PaintInto(*bar, shot);
    auto px = [&](int x, int y) { return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)); };
    const int gx = thumb.Left + RectWidth(thumb) / 2 - RectWidth(glyph) / 2;
    const int gy = thumb.Top + RectHeight(thumb) / 2 - RectHeight(glyph) / 2;
    for (int dx : {1, 5, RectWidth(thumb) - 3}) {
      if (dx >= gx - thumb.Left && dx < gx - thumb.Left + RectWidth(glyph)) continue;  // under the glyph
      EXPECT_EQ(px(thumb.Left + dx, y), SkinPixel(src.Left + dx, src.Top + y - thumb.Top)) << state << " " << dx;
    }
    if (IsNullRect(glyph)) return;
    for (TPoint at : {TPoint{0, 0}, TPoint{RectWidth(glyph) / 2, RectHeight(glyph) / 2}})
      EXPECT_EQ(px(gx + at.X, gy + at.Y), SkinPixel(glyph.Left + at.X, glyph.Top + at.Y)) << state;
  };
  expectThumb(d.ThumbRect, d.GlyphRect, "resting");
  Move(bar, thumb.Left + 20, y);
  expectThumb(OrFallback(d.ActiveThumbRect, d.ThumbRect), OrFallback(d.ActiveGlyphRect, d.GlyphRect), "hot");
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb.Left + 20, y));
  expectThumb(bar->DownThumbRect, bar->DownGlyphRect, "pressed");
  Release(bar, thumb.Left + 20, y);
  // A hot and a pressed button come from their rectangles of the picture.
  Move(bar, up.Left + 5, y);
  for (TPoint at : {TPoint{3, 3}, TPoint{8, 8}})
    EXPECT_EQ(PaintAndSample(*bar, up.Left + at.X, up.Top + at.Y),
              SkinPixel(d.ActiveUpButtonRect.Left + at.X, d.ActiveUpButtonRect.Top + at.Y));
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.Left + 5, y));
  for (TPoint at : {TPoint{3, 3}, TPoint{8, 8}})
    EXPECT_EQ(PaintAndSample(*bar, up.Left + at.X, up.Top + at.Y),
              SkinPixel(d.DownUpButtonRect.Left + at.X, d.DownUpButtonRect.Top + at.Y));
  Release(bar, up.Left + 5, y);
  bar->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(bar));
  // Disabled: no thumb, the face shows through.
  bar->SetEnabled(false);
  EXPECT_EQ(PaintAndSample(*bar, Centre(thumb).X, y), face(Centre(thumb).X));
}

TEST_F(ScrollBar, SkinnedThumbWithAPageKeepsItsEnds) {
  PlaceOnFace("vscrollbar");
  const TksDataSkinScrollBarControl& d = Description("vscrollbar");
  TksSkinScrollBar* bar = NewBar(sbVertical, 17, 200);
  bar->SetSkinData(&data);
  bar->SetRange(0, 99, 80, 0);
  bar->CalcParts();
  const TRect thumb = bar->Part(TksSkinScrollBar::kThumb).R;
  ASSERT_GT(RectHeight(thumb), RectHeight(d.ThumbRect));  // stretched
  TBitmap shot;
  PaintInto(*bar, shot);
  const int x = 8;
  for (int dy = 0; dy < d.ThumbOffset1; ++dy)
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(thumb.Left + x, thumb.Top + dy)),
              SkinPixel(d.ThumbRect.Left + x, d.ThumbRect.Top + dy));
  for (int dy = 1; dy <= d.ThumbOffset2; ++dy)
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(thumb.Left + x, thumb.Bottom - dy)),
              SkinPixel(d.ThumbRect.Left + x, d.ThumbRect.Bottom - dy));
}

TEST_F(ScrollBar, DegenerateSkinValuesPaintWithoutHarm) {
  // End pieces that leave no middle, an empty thumb, a glyph larger than the thumb.
  TksDataSkinScrollBarControl& d = Description("hscrollbar");
  PlaceOnFace("hscrollbar");
  d.ThumbOffset1 = RectWidth(d.ThumbRect) / 2;
  d.ThumbOffset2 = RectWidth(d.ThumbRect) - d.ThumbOffset1;
  d.GlyphRect = TRect{0, 0, 300, 300};
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 17);
  bar->SetSkinData(&data);
  bar->SetRange(0, 9, 5, 2);
  PaintAndSample(*bar, 100, 8);
  d.ThumbRect = TRect{};
  d.ActiveThumbRect = TRect{};
  d.DownThumbRect = TRect{};
  bar->SetRange(0, 100, 0, 50);
  EXPECT_EQ(PaintAndSample(*bar, 100, 8), SkinPixel(d.SkinRect.Left + 100, d.SkinRect.Top + 8));  // no thumb
  bar->SetBounds(10, 10, 1, 17);
  PaintAndSample(*bar, 0, 0);
}

TEST_F(ScrollBar, ShippedSectionsPaintInBothDirections) {
  for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    TksSkinScrollBar* bar = kind == sbHorizontal ? NewBar(kind, 200, 17) : NewBar(kind, 17, 200);
    bar->SetSkinData(&data);
    EXPECT_TRUE(bar->SkinnedLayout());
    bar->SetRange(0, 100, 10, 40);
    bar->CalcParts();
    // The skin places the buttons and the track on the face, so they stay on the bar.
    const TRect client{0, 0, bar->Width(), bar->Height()};
    for (const TRect& r : {bar->Part(TksSkinScrollBar::kUpButton).R, bar->Part(TksSkinScrollBar::kDownButton).R,
                           bar->TrackRect(), bar->Part(TksSkinScrollBar::kThumb).R}) {
      EXPECT_FALSE(IsNullRect(r)) << kind;
      EXPECT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Right <= client.Right && r.Bottom <= client.Bottom) << kind;
    }
    PaintAndSample(*bar, 5, 5);
    Press(bar, 5, 5);
    Release(bar, 5, 5);
  }
}

TEST_F(ScrollBar, BothSwitchesToTheCornerSectionAndBack) {
  TksSkinScrollBar* bar = NewBar(sbHorizontal, 200, 17);
  bar->SetSkinData(&data);
  bar->SetBoth(true);
  EXPECT_EQ(bar->SkinDataName(), "bothhscrollbar");
  EXPECT_EQ(bar->ControlIndex(), data.GetControlIndex("bothhscrollbar"));
  bar->SetBoth(false);
  EXPECT_EQ(bar->SkinDataName(), "hscrollbar");
  EXPECT_EQ(bar->ControlIndex(), data.GetControlIndex("hscrollbar"));
}

// A bar destroyed in the middle of a press or a drag lets go quietly.
TEST_F(ScrollBar, FreedWhileHeld) {
  TksSkinScrollBar* held = NewBar(sbHorizontal, 200, 19);
  Press(held, 190, 9);
  TksSkinScrollBar* dragged = NewBar(sbHorizontal, 200, 19);
  Count(dragged);
  Press(dragged, 25, 9);
  Move(dragged, 40, 9);
  held->Free();
  dragged->Free();
  EXPECT_EQ(events.last, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
