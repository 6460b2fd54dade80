// The skinned hint: both looks painted into memory, the size a skin face gives,
// the flip at the screen's edges, the frame's pause and hide cycle, one active
// component per main form, and detaching from the application.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/menus/ksSkinHint.h"
#include "skin/menus/tests/ksSkinMainForm_fixture.h"
#include "skin/tests/ksFakeLayeredAlpha.h"
#include "skin/tests/ksFakeTimers.h"

namespace {

using namespace skintest;

class SkinHint : public SkinMainForm {
 protected:
  static COLORREF Sample(TksSkinHintWindow* w, TBitmap& shot, int x, int y) {
    shot.SetSize(w->Width(), w->Height());
    w->PaintTo(shot.Canvas()->Handle());
    return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y));
  }
  TSize TextSize(TFont* font, const String& text) {
    TBitmap b(1, 1);
    b.Canvas()->SetFont(font);
    RECT r{0, 0, 0, 0};
    DrawTextA(b.Canvas()->Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
    return TSize{r.right, r.bottom};
  }

  ScopedSeam<TScreenSeam> screen{TScreenSeam{.Size = [] { return SIZE{800, 600}; }}};
};

TEST_F(SkinHint, WithoutASkinFaceTheHintTakesTheSystemColours) {
  auto* hint = new TksSkinHint(mainForm);
  TksSkinHintWindow* w = hint->HintWindow();
  w->ActivateHint(TRect{10, 20, 10, 20}, "Hello");
  const TSize text = TextSize(hint->DefaultFont(), "Hello");
  EXPECT_EQ((TRect{w->Left(), w->Top(), w->Left() + w->Width(), w->Top() + w->Height()}),
            (TRect{10, 20, 10 + text.cx + 4, 20 + text.cy + 4}));
  TBitmap shot;
  EXPECT_EQ(Sample(w, shot, 0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Sample(w, shot, 1, w->Height() - 2), Rgb(clInfoBk));
  // A skin without a hint picture is the same look.
  data.HintWindow.WindowPictureIndex = -1;
  hint->SetSkinData(&data);
  w->ActivateHint(TRect{10, 20, 10, 20}, "Hello");
  EXPECT_FALSE(w->Skinned());
  EXPECT_EQ(Sample(w, shot, 1, 1), Rgb(clInfoBk));
}

TEST_F(SkinHint, AShortTextGetsTheFullSkinFace) {
  auto* hint = new TksSkinHint(mainForm);
  hint->SetSkinData(&data);
  TksSkinHintWindow* w = hint->HintWindow();
  w->ActivateHint(TRect{10, 20, 10, 20}, "i");
  ASSERT_TRUE(w->Skinned());
  TBitmap* face = data.ActivePicture(data.HintWindow.WindowPictureIndex);
  EXPECT_EQ(w->Width(), face->Width());
  EXPECT_EQ(w->Height(), face->Height());
  TBitmap shot;
  EXPECT_EQ(Sample(w, shot, 0, 0), static_cast<COLORREF>(face->Canvas()->Pixels(0, 0)));
  // A long text widens the face; its corners stay.
  w->ActivateHint(TRect{10, 20, 10, 20}, "A hint much longer than the face picture is wide");
  EXPECT_GT(w->Width(), face->Width());
  EXPECT_EQ(w->NewRTPoint.X - data.HintWindow.RTPoint.X, w->Width() - face->Width());
  EXPECT_EQ(Sample(w, shot, w->Width() - 1, 0), static_cast<COLORREF>(face->Canvas()->Pixels(face->Width() - 1, 0)));
}

TEST_F(SkinHint, AlphaIsAppliedOnceAndTheLayerGoesWithIt) {
  FakeLayeredAlpha xpAlpha;
  auto* hint = new TksSkinHint(mainForm);
  hint->AlphaBlend = true;
  hint->AlphaBlendValue = 200;
  TksSkinHintWindow* w = hint->HintWindow();
  const auto layered = [w] { return (GetWindowLongA(w->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
  w->ActivateHint(TRect{10, 10, 10, 10}, "one");
  w->ActivateHint(TRect{10, 10, 10, 10}, "two");
  EXPECT_EQ(xpAlpha.alphas, (std::vector<int>{200}));
  EXPECT_TRUE(layered());
  hint->AlphaBlend = false;
  w->ActivateHint(TRect{10, 10, 10, 10}, "three");
  EXPECT_FALSE(layered());
}

TEST_F(SkinHint, AHintThatWouldLeaveTheScreenFlipsToTheOtherSide) {
  auto* hint = new TksSkinHint(mainForm);
  TksSkinHintWindow* w = hint->HintWindow();
  w->ActivateHint(TRect{790, 590, 790, 590}, "Edge");
  EXPECT_EQ(w->Left(), 790 - w->Width() - 2);
  EXPECT_EQ(w->Top(), 590 - w->Height() - 2);
  w->ActivateHint(TRect{100, 100, 100, 100}, "Edge");
  EXPECT_EQ((TPoint{w->Left(), w->Top()}), (TPoint{100, 100}));
}

TEST_F(SkinHint, TheFramesHintShowsAfterThePauseAndHideCancelsIt) {
  FakeTimers timers;
  POINT cursor{200, 150};
  ScopedSeam<TPointerSeam> pointer{TPointerSeam{.GetCursorPos = [&](POINT* p) -> BOOL {
    *p = cursor;
    return TRUE;
  }}};
  auto* hint = new TksSkinHint(mainForm);
  hint->ActivateHint("Close");
  ASSERT_NE(hint->Timer(), nullptr);
  EXPECT_EQ(hint->Timer()->Interval(), static_cast<UINT>(Application->HintPause));
  hint->HideHint();
  EXPECT_EQ(hint->Timer(), nullptr);
  EXPECT_FALSE(hint->HintWindow()->HandleAllocated() && IsWindowVisible(hint->HintWindow()->Handle()));

  hint->ActivateHint("Close");
  FireTimer(hint->Timer());
  TksSkinHintWindow* w = hint->HintWindow();
  ASSERT_TRUE(IsWindowVisible(w->Handle()));
  EXPECT_EQ(w->Left(), 200);
  EXPECT_GE(w->Top(), 150);
  EXPECT_EQ(hint->Timer()->Interval(), static_cast<UINT>(Application->HintHidePause));
  FireTimer(hint->Timer());
  EXPECT_FALSE(IsWindowVisible(w->Handle()));
  EXPECT_EQ(hint->Timer(), nullptr);
}

TEST_F(SkinHint, OneActiveHintPerMainFormAndNoneMeansNoHint) {
  auto* first = new TksSkinHint(mainForm);
  auto* second = new TksSkinHint(mainForm);
  EXPECT_TRUE(first->Active());
  second->SetActive(true);
  EXPECT_FALSE(first->Active());
  EXPECT_EQ(TksSkinHintWindow::FindActiveHint(), second);
  second->SetActive(false);
  EXPECT_EQ(TksSkinHintWindow::FindActiveHint(), nullptr);
  first->HintWindow()->ActivateHint(TRect{1, 1, 1, 1}, "nothing");
  EXPECT_FALSE(first->HintWindow()->HandleAllocated() && IsWindowVisible(first->HintWindow()->Handle()));
}

TEST_F(SkinHint, InstallsItsWindowAndEventAndPutsThemBackWhenFreed) {
  TShowHintEvent own = [](String&, bool&, THintInfo&) {};
  Application->OnShowHint = own;
  const int savedShortPause = Application->HintShortPause;
  auto* hint = new TksSkinHint(mainForm);
  int forwarded = 0;
  hint->OnShowHint = [&](String&, bool&, THintInfo&) { ++forwarded; };
  EXPECT_EQ(Application->HintShortPause, 100);
  String text = "x";
  bool canShow = true;
  THintInfo info;
  Application->OnShowHint(text, canShow, info);
  EXPECT_EQ(forwarded, 1);
  THintWindow* made = Application->HintWindowClass(nullptr);
  EXPECT_NE(dynamic_cast<TksSkinHintWindow*>(made), nullptr);
  delete made;

  auto* later = new TksSkinHint(mainForm);
  delete hint;  // not the last: the class stays skinned, the event goes to the other
  made = Application->HintWindowClass(nullptr);
  EXPECT_NE(dynamic_cast<TksSkinHintWindow*>(made), nullptr);
  delete made;
  EXPECT_EQ(Application->OnShowHint.Object(), static_cast<void*>(later));
  delete later;
  EXPECT_TRUE(Application->OnShowHint == own);
  made = Application->HintWindowClass(nullptr);
  EXPECT_EQ(dynamic_cast<TksSkinHintWindow*>(made), nullptr);
  delete made;
  Application->OnShowHint = nullptr;
  Application->HintShortPause = savedShortPause;
}

TEST_F(SkinHint, FreeingAMainFormWithTwoHintsPutsTheClassBack) {
  new TksSkinHint(mainForm);
  new TksSkinHint(mainForm);
  FreeAndNil(mainForm);
  THintWindow* made = Application->HintWindowClass(nullptr);
  EXPECT_EQ(dynamic_cast<TksSkinHintWindow*>(made), nullptr);
  delete made;
  EXPECT_FALSE(Application->OnShowHint.Assigned());
}

struct CursorCase {
  const char* name;
  int andRows;  // rows 0..andRows-1 of the AND mask are clear (shown)
  int xorRows;  // rows 0..xorRows-1 of the XOR mask are set
  int hotY;
  int expected;
};

TEST(SkinHintCursor, TheHeightBelowTheHotSpotComesFromTheMask) {
  const CursorCase cases[] = {
      {"shown rows of the AND mask", 10, 0, 0, 10},
      {"from the hot spot", 10, 0, 3, 7},
      {"an empty AND mask uses the XOR rows", 0, 6, 0, 6},
  };
  const int w = GetSystemMetrics(SM_CXCURSOR), h = GetSystemMetrics(SM_CYCURSOR);
  for (const CursorCase& c : cases) {
    SCOPED_TRACE(c.name);
    const int stride = w / 8;
    std::vector<BYTE> andBits(static_cast<size_t>(stride * h), 0xFF), xorBits(static_cast<size_t>(stride * h), 0);
    for (int y = 0; y < c.andRows; ++y) std::fill_n(andBits.begin() + y * stride, stride, BYTE{0});
    for (int y = 0; y < c.xorRows; ++y) std::fill_n(xorBits.begin() + y * stride, stride, BYTE{0xFF});
    HCURSOR cursor = CreateCursor(GetModuleHandleA(nullptr), 0, c.hotY, w, h, andBits.data(), xorBits.data());
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(CursorHeightBelowHotSpot(cursor), c.expected);
    DestroyCursor(cursor);
  }
}

}  // namespace
