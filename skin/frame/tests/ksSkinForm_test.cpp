// The skinned form frame: window takeover, non-client size and hit tests, the
// composed frame picture, the region, objects, window states, skin change and fade.
#include "skin/frame/ksSkinForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "framework/gui/extctrls.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/tests/ksPoisonedFrees.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/tests/ksSkinData_fixture.h"

namespace {

using skintest::Rgb;

constexpr int kLeft = 100, kTop = 80;

struct HitRow {
  int x, y;
  LRESULT code;
};

class SkinForm : public skintest::SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    form->SetBounds(kLeft, kTop, 300, 200);
    form->HandleNeeded();
  }
  void TearDown() override {
    if (frame) frame->Free();
    frame = nullptr;
    SkinCtrls::TearDown();
  }
  TksSkinForm* MakeFrame(TksSkinData* skin) {
    frame = new TksSkinForm(form);
    frame->SetSkinData(skin);
    form->Perform(WM_NCACTIVATE, 1, 0);
    return frame;
  }
  // A window point as the system sends it: screen coordinates, 16 bits each.
  LPARAM At(int x, int y) const {
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    return MAKELPARAM(static_cast<WORD>(r.left + x), static_cast<WORD>(r.top + y));
  }
  LRESULT HitTest(int x, int y) { return form->Perform(WM_NCHITTEST, 0, At(x, y)); }
  void ExpectHits(const std::vector<HitRow>& rows) {
    for (const HitRow& r : rows) EXPECT_EQ(HitTest(r.x, r.y), r.code) << r.x << "," << r.y;
  }
  TRect NCCalcSize(int w, int h) {
    RECT r{0, 0, w, h};
    form->Perform(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r));
    return TRect::FromRECT(r);
  }
  TksActiveSkinObject* Object(const String& name) {
    for (const auto& o : frame->Objects())
      if (o->IDName == name) return o.get();
    return nullptr;
  }
  // The pointer over a window point, and one hover tick.
  void HoverAt(int x, int y) {
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    cursor = POINT{r.left + x, r.top + y};
    frame->HoverTimer()->SetEnabled(true);
    FireTimer(frame->HoverTimer());
  }
  static POINT Center(const TRect& r) { return POINT{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  COLORREF FramePixel(int x, int y) { return static_cast<COLORREF>(data.Picture.Canvas()->Pixels(x, y)); }

  POINT cursor{-1000, -1000};
  // Timers run only when a test fires them.
  ScopedSeam<TTimerSeam> timers{{.SetTimer = [](HWND, UINT_PTR id, UINT, TIMERPROC) { return id; },
                                 .KillTimer = [](HWND, UINT_PTR) { return TRUE; }}};
  ScopedSeam<TPointerSeam> pointer{{.GetCursorPos = [this](POINT* p) {
    *p = cursor;
    return TRUE;
  }}};
  TksSkinForm* frame = nullptr;
};

bool HasRegionOf(HWND wnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(wnd, rgn) != ERROR;
  DeleteObject(rgn);
  return has;
}

// ---- takeover ------------------------------------------------------------------------------

TEST_F(SkinForm, TakesOverTheWindowWithoutANewOneAndGivesItBack) {
  HWND before = form->Handle();
  const TWndMethodEvent original = form->WindowProc();
  MakeFrame(&data);
  EXPECT_EQ(form->Handle(), before);
  EXPECT_EQ(GetWindowLongA(before, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(form->BorderIcons(), 0u);
  // The form's own style code writes the caption back: the frame keeps it off.
  form->SetBorderStyle(bsSingle);
  form->SetBorderStyle(bsSizeable);
  EXPECT_EQ(GetWindowLongA(before, GWL_STYLE) & WS_CAPTION, 0);
  frame->Free();
  frame = nullptr;
  EXPECT_TRUE(form->WindowProc() == original);
  EXPECT_EQ(form->Perform(WM_NCHITTEST, 0, At(150, 100)), HTCLIENT);
}

TEST_F(SkinForm, FreedItLeavesNoTimerAndNoSharedIconBehind) {
  std::vector<UINT_PTR> killed;
  ScopedSeam<TTimerSeam> recording({.KillTimer = [&](HWND wnd, UINT_PTR id) {
    if (wnd == form->Handle()) killed.push_back(id);
    return TRUE;
  }});
  MakeFrame(&data);
  frame->SetShowIcon(true);
  HICON shared = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  ASSERT_NE(frame->FormIcon(), nullptr);
  EXPECT_NE(frame->FormIcon(), shared);
  frame->Free();
  frame = nullptr;
  EXPECT_EQ(killed, std::vector<UINT_PTR>{1});
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(shared, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST_F(SkinForm, TheOwnerMustBeAForm) {
  EXPECT_THROW(TksSkinForm(nullptr), EInvalidOperation);
}

TEST_F(SkinForm, ARemovedContainerIsForgottenByEveryLink) {
  auto* shared = new TksSkinData(nullptr);
  shared->FormWindows = [] { return std::vector<HWND>{}; };
  shared->SetCompressedStoredSkin(&stored);
  MakeFrame(shared);
  frame->SetMenusSkinData(shared);
  frame->SetMenusSkinData(nullptr);
  frame->SetMenusSkinData(shared);
  shared->Free();
  EXPECT_EQ(frame->SkinData(), nullptr);
  EXPECT_EQ(frame->MenusSkinData(), nullptr);
  EXPECT_FALSE(frame->SkinnableForm());
  TBitmap nc;
  frame->ComposeNonClient(nc);  // the plain look, nothing left of the skin
  EXPECT_FALSE(nc.Empty());
}

TEST_F(SkinForm, AFormWithoutBorderIsAllClientYetAnswersHitTests) {
  form->SetBorderStyle(bsNone);
  MakeFrame(&data);
  EXPECT_EQ(NCCalcSize(300, 200), (TRect{0, 0, 300, 200}));
  TBitmap nc;
  frame->ComposeNonClient(nc);
  EXPECT_TRUE(nc.Empty());
  EXPECT_FALSE(HasRegionOf(form->Handle()));
  EXPECT_EQ(HitTest(150, 100), HTCLIENT);
  EXPECT_EQ(HitTest(150, 14), HTCAPTION);
}

// ---- non-client size -----------------------------------------------------------------------

TEST_F(SkinForm, NonClientSizeTable) {
  struct Row {
    bool skinned;
    TBorderStyle style;
    int w, h;
    TRect client;
  } rows[] = {
      {false, bsSizeable, 300, 200, {3, 22, 297, 197}},
      {false, bsToolWindow, 300, 200, {3, 18, 297, 197}},
      {false, bsNone, 300, 200, {0, 0, 300, 200}},
      {true, bsSizeable, 300, 200, {4, 28, 296, 196}},
      {true, bsNone, 300, 200, {0, 0, 300, 200}},
      // Smaller than the frame: the client is empty, never inverted.
      {true, bsSizeable, 100, 20, {4, 28, 96, 28}},
  };
  MakeFrame(&data);
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.skinned << " " << r.style << " " << r.w);
    form->SetBorderStyle(r.style);
    frame->SetSkinData(r.skinned ? &data : nullptr);
    EXPECT_EQ(NCCalcSize(r.w, r.h), r.client);
  }
}

// ---- hit tests ---------------------------------------------------------------------------------

TEST_F(SkinForm, HitTestsWithoutASkin) {
  MakeFrame(nullptr);
  TBitmap nc;
  frame->ComposeNonClient(nc);  // places the plain buttons and the caption
  ExpectHits({{0, 0, HTTOPLEFT},
              {2, 100, HTLEFT},
              {298, 100, HTRIGHT},
              {297, 100, HTOBJECT},
              {296, 100, HTCLIENT},
              {150, 1, HTTOP},
              {150, 198, HTBOTTOM},
              {299, 199, HTBOTTOMRIGHT},
              {150, 12, HTCAPTION},
              {150, 100, HTCLIENT}});
  const POINT close = Center(Object("closebutton")->ObjectRect);
  EXPECT_EQ(HitTest(close.x, close.y), HTOBJECT);
  // A form that cannot be sized has no sizing codes.
  form->SetBorderStyle(bsSingle);
  EXPECT_EQ(HitTest(0, 0), HTOBJECT);
  EXPECT_EQ(HitTest(2, 100), HTOBJECT);
}

TEST_F(SkinForm, HitTestsWithTheSkinAndItsMaskAlsoLeftOfTheScreen) {
  MakeFrame(&data);
  const std::vector<HitRow> rows = {{0, 0, HTTOPLEFT},    {2, 100, HTLEFT},        {297, 100, HTRIGHT},
                                    {150, 1, HTTOP},      {150, 198, HTBOTTOM},    {299, 199, HTBOTTOMRIGHT},
                                    {150, 14, HTCAPTION}, {150, 100, HTCLIENT},    {0, 199, HTBOTTOMLEFT}};
  for (int left : {kLeft, -500}) {
    SCOPED_TRACE(left);
    form->SetBounds(left, kTop, 300, 200);
    ExpectHits(rows);
    const POINT close = Center(Object("closebutton")->ObjectRect);
    EXPECT_EQ(HitTest(close.x, close.y), HTOBJECT);
  }
}

TEST_F(SkinForm, MaximizedRolledUpAndFixedFormsGiveNoSizingCodes) {
  MakeFrame(&data);
  frame->SetWindowState(kwsMaximized);
  EXPECT_EQ(HitTest(2, 100), HTOBJECT);
  EXPECT_EQ(HitTest(150, 14), HTCAPTION);
  frame->SetWindowState(kwsNormal);
  frame->SetRollUpState(true);
  EXPECT_EQ(HitTest(150, 14), HTCAPTION);
  EXPECT_EQ(HitTest(1, 10), HTOBJECT);
  frame->SetRollUpState(false);
  form->SetBorderStyle(bsDialog);
  EXPECT_EQ(HitTest(2, 100), HTOBJECT);
}

// ---- the composed picture ------------------------------------------------------------------

TEST_F(SkinForm, APictureSizedWindowShowsThePictureAndALargerOneMovesTheRightAndBottom) {
  MakeFrame(&data);
  const int pw = data.Picture.Width(), ph = data.Picture.Height();
  // Border and title samples clear of the buttons and the caption text.
  const POINT samples[] = {{1, 1}, {pw - 2, 1}, {1, ph - 2}, {pw - 2, ph - 2}, {2, 50}, {pw - 3, 50},
                           {100, ph - 2}, {100, 1}, {3, 27}, {pw - 4, 27}};
  for (int grow : {0, 1}) {
    const int dx = 40 * grow, dy = 30 * grow;
    SCOPED_TRACE(dx);
    form->SetBounds(kLeft, kTop, pw + dx, ph + dy);
    TBitmap nc;
    frame->ComposeNonClient(nc);
    ASSERT_EQ(nc.Width(), pw + dx);
    for (POINT p : samples) {
      const int x = p.x + (p.x > pw / 2 ? dx : 0), y = p.y + (p.y > ph / 2 ? dy : 0);
      EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(x, y)), FramePixel(p.x, p.y)) << p.x << "," << p.y;
    }
    // The title strip repeats in the middle.
    EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(pw / 2 + dx / 2, 1)), FramePixel(pw / 2, 1));
    const TRect close = Object("closebutton")->ObjectRect;
    EXPECT_EQ(close.Right, data.CaptionRect.Right + dx);
    EXPECT_EQ(close.Top, data.CaptionRect.Top);
    // The system-menu button keeps to the left.
    EXPECT_EQ(Object("sysmenubutton")->ObjectRect.Left, data.CaptionRect.Left);
  }
}

TEST_F(SkinForm, TheCaptionTextIsShortenedBeforeTheButtons) {
  MakeFrame(&data);
  form->SetCaption(String(200, 'W'));
  TBitmap nc;
  frame->ComposeNonClient(nc);
  auto* caption = dynamic_cast<TksSkinCaptionObject*>(Object("caption"));
  ASSERT_NE(caption, nullptr);
  const int textRight = caption->ObjectRect.Left + caption->TextArea().Right;
  int buttonsLeft = nc.Width();
  for (const auto& o : frame->Objects())
    if (o->Visible && o->IDName != "sysmenubutton" && o.get() != caption)
      buttonsLeft = std::min(buttonsLeft, o->ObjectRect.Left);
  ASSERT_LT(textRight, buttonsLeft);
  int white = 0, beyond = 0;
  for (int y = caption->ObjectRect.Top; y < caption->ObjectRect.Bottom; ++y)
    for (int x = caption->ObjectRect.Left; x < buttonsLeft; ++x)
      if (static_cast<COLORREF>(nc.Canvas()->Pixels(x, y)) == RGB(255, 255, 255)) (x < textRight ? white : beyond)++;
  EXPECT_GT(white, 0);
  EXPECT_EQ(beyond, 0);
}

// Left, centre and right alignment put the text where its measured width says.
TEST_F(SkinForm, CaptionAlignmentTable) {
  MakeFrame(&data);
  form->SetCaption("Korvalo");
  TBitmap nc;
  frame->ComposeNonClient(nc);
  auto* caption = dynamic_cast<TksSkinCaptionObject*>(Object("caption"));
  ASSERT_NE(caption, nullptr);
  caption->Shadow = false;
  const TRect tr = caption->TextArea();
  for (TAlignment a : {taLeftJustify, taCenter, taRightJustify}) {
    SCOPED_TRACE(a);
    caption->Alignment = a;
    TBitmap b(RectWidth(caption->ObjectRect), RectHeight(caption->ObjectRect));
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(TRect{0, 0, b.Width(), b.Height()});
    b.Canvas()->Font()->SetName(caption->FontName);
    b.Canvas()->Font()->SetHeight(caption->FontHeight);
    b.Canvas()->Font()->SetStyle(caption->FontStyle);
    b.Canvas()->Font()->SetColor(clWhite);
    caption->DrawCaptionText(b.Canvas(), 0, 0, true);
    int minX = b.Width(), maxX = -1;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if (static_cast<COLORREF>(b.Canvas()->Pixels(x, y)) != 0) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
        }
    ASSERT_GE(maxX, minX);
    const int expected = a == taLeftJustify ? tr.Left : a == taRightJustify ? tr.Right - 1 : (tr.Left + tr.Right) / 2;
    const int measured = a == taLeftJustify ? minX : a == taRightJustify ? maxX : (minX + maxX) / 2;
    EXPECT_NEAR(measured, expected, 3);
  }
}

TEST_F(SkinForm, TheInactiveLookIsGrey) {
  MakeFrame(&data);
  form->Perform(WM_NCACTIVATE, 0, 0);
  TBitmap nc;
  frame->ComposeNonClient(nc);
  const COLORREF c = static_cast<COLORREF>(nc.Canvas()->Pixels(100, 10));
  EXPECT_EQ(GetRValue(c), GetGValue(c));
  EXPECT_EQ(GetGValue(c), GetBValue(c));
  EXPECT_NE(FramePixel(100, 10), c);
}

TEST_F(SkinForm, TheInactiveEffectStaysInsideEachBorderImage) {
  // A black caption band over white borders: a blur across the composed frame
  // would grey the first row of the side borders.
  for (TBitmap* p : {&data.Picture, &data.InActivePicture}) {
    if (p->Empty()) continue;
    p->Canvas()->Brush()->SetColor(clWhite);
    p->Canvas()->FillRect(TRect{0, 0, p->Width(), p->Height()});
    p->Canvas()->Brush()->SetColor(clBlack);
    p->Canvas()->FillRect(TRect{0, 0, p->Width(), data.ClientRect.Top});
  }
  data.InActiveEffect = 4;  // split blur
  MakeFrame(&data);
  form->Perform(WM_NCACTIVATE, 0, 0);
  TBitmap nc;
  frame->ComposeNonClient(nc);
  ASSERT_FALSE(nc.Empty());
  const int firstSideRow = frame->NewClRect.Top;
  EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(1, firstSideRow)), RGB(255, 255, 255));
  EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(nc.Width() - 2, firstSideRow)), RGB(255, 255, 255));
  EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(1, firstSideRow - 1)), RGB(0, 0, 0));
}

TEST_F(SkinForm, ObjectsAreDrawnOnlyInTheCaptionAndBottomBorders) {
  // Two areas of the application's own: one in the left border, one in the right-bottom corner.
  for (const TRect r : {TRect{0, 40, 4, 60}, TRect{195, 97, 199, 99}}) {
    auto area = std::make_unique<TksDataUserObject>(r.Top == 40 ? "side" : "corner");
    area->SkinRect = r;
    data.ObjectList.push_back(std::move(area));
  }
  MakeFrame(&data);
  frame->OnPaintEvent = [](const String&, TCanvas* c, const TRect& r) {
    c->Brush()->SetColor(clRed);
    c->FillRect(r);
  };
  TBitmap nc;
  frame->ComposeNonClient(nc);
  const TRect side = Object("side")->ObjectRect, corner = Object("corner")->ObjectRect;
  EXPECT_EQ(corner, (TRect{295, 197, 299, 199})) << "moved with the corner";
  EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(corner.Left + 1, corner.Top)), RGB(255, 0, 0));
  EXPECT_NE(static_cast<COLORREF>(nc.Canvas()->Pixels(side.Left + 1, side.Top + 5)), RGB(255, 0, 0));
}

TEST_F(SkinForm, ThePlainLookPaintsNothingBelowItsSize) {
  MakeFrame(nullptr);
  for (SIZE s : {SIZE{5, 100}, SIZE{100, 20}, SIZE{6, 200}}) {
    frame->FormWidth = s.cx;
    frame->FormHeight = s.cy;
    TBitmap nc;
    frame->ComposeNonClient(nc);
    EXPECT_TRUE(nc.Empty());
  }
}

TEST_F(SkinForm, PlainButtonsShowHoverAndPress) {
  MakeFrame(nullptr);
  form->OnClose = [](TObject*, TCloseAction& a) { a = caNone; };
  TBitmap nc;
  frame->ComposeNonClient(nc);
  auto* close = Object("closebutton");
  const TRect r = close->ObjectRect;
  HoverAt(r.Left + 3, r.Top + 3);
  ASSERT_TRUE(close->Active);
  frame->ComposeNonClient(nc);
  EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(r.Left, r.Top + 5)), RGB(0, 0, 128));
  EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(r.Left + 1, r.Top + 1)), RGB(182, 189, 210));
  form->Perform(WM_NCLBUTTONDOWN, HTOBJECT, At(r.Left + 3, r.Top + 3));
  frame->ComposeNonClient(nc);
  EXPECT_EQ(static_cast<COLORREF>(nc.Canvas()->Pixels(r.Left + 1, r.Top + 1)), RGB(133, 147, 181));
  form->Perform(WM_LBUTTONUP, 0, 0);
}

TEST_F(SkinForm, FullDragLaysTheFrameOutWhileSizingAndAMoveSwallowsThePress) {
  ScopedSeam<TksSystemSeam> drag({.DragFullWindows = [] { return true; }});
  MakeFrame(&data);
  form->Perform(WM_ENTERSIZEMOVE, 0, 0);
  EXPECT_TRUE(frame->InSizeMove());
  RECT sizing{kLeft, kTop, kLeft + 400, kTop + 300};
  form->Perform(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&sizing));
  EXPECT_EQ(frame->FormWidth, 400);
  EXPECT_EQ(frame->NewClRect.Right, 400 - (data.Picture.Width() - data.ClientRect.Right));
  form->Perform(WM_EXITSIZEMOVE, 0, 0);
  // The press that started the loop comes back after it: no object takes it.
  form->SetBounds(kLeft, kTop, 300, 200);
  const POINT c = Center(Object("closebutton")->ObjectRect);
  form->Perform(WM_NCLBUTTONDOWN, HTOBJECT, At(c.x, c.y));
  EXPECT_FALSE(frame->InSizeMove());
  EXPECT_FALSE(dynamic_cast<TksSkinButtonObject*>(Object("closebutton"))->Down);
  EXPECT_EQ(frame->CaptureObject(), -1);
}

// ---- region ----------------------------------------------------------------------------------

bool InRegion(HWND wnd, int x, int y) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(wnd, rgn) != ERROR;
  const bool in = has && PtInRegion(rgn, x, y);
  DeleteObject(rgn);
  return in;
}

bool HasRegion(HWND wnd) { return HasRegionOf(wnd); }

TEST_F(SkinForm, TheRegionCutsTheCornersAndFollowsTheSize) {
  MakeFrame(&data);
  HWND h = form->Handle();
  // Sized again and again: a region handed to the window is never freed behind its back.
  for (SIZE s : {SIZE{300, 200}, SIZE{420, 260}, SIZE{250, 150}, SIZE{420, 260}}) {
    SCOPED_TRACE(s.cx);
    form->SetBounds(kLeft, kTop, s.cx, s.cy);
    EXPECT_FALSE(InRegion(h, 0, 0));
    EXPECT_FALSE(InRegion(h, s.cx - 1, 0));
    EXPECT_FALSE(InRegion(h, s.cx - 1, s.cy - 1));
    EXPECT_TRUE(InRegion(h, 3, 3));
    EXPECT_TRUE(InRegion(h, s.cx - 4, s.cy / 2));
    EXPECT_TRUE(InRegion(h, s.cx / 2, s.cy - 1));
    EXPECT_TRUE(InRegion(h, s.cx / 2, s.cy / 2));
    EXPECT_FALSE(InRegion(h, s.cx, s.cy / 2));
  }
  frame->SetSkinData(nullptr);
  EXPECT_FALSE(HasRegion(h));
  frame->SetSkinData(&data);
  EXPECT_TRUE(HasRegion(h));
  data.MaskPicture.SetSize(0, 0);
  frame->ChangeSkinData();
  EXPECT_FALSE(HasRegion(h));
}

// ---- objects ---------------------------------------------------------------------------------

TEST_F(SkinForm, HoverMorphsInFiveTicksAndBackFromMidWay) {
  MakeFrame(&data);
  auto* close = Object("closebutton");
  ASSERT_TRUE(close->Morphing);
  const POINT c = Center(close->ObjectRect);
  HoverAt(c.x, c.y);
  ASSERT_TRUE(close->ActiveState);
  for (int i = 1; i <= 5; ++i) {
    FireTimer(frame->MorphTimer());
    EXPECT_EQ(close->MorphSteps(), i);
  }
  FireTimer(frame->MorphTimer());  // nothing left to do: the timer stops
  EXPECT_FALSE(frame->MorphTimer()->Enabled());
  HoverAt(150, 100);
  FireTimer(frame->MorphTimer());
  FireTimer(frame->MorphTimer());
  EXPECT_EQ(close->MorphSteps(), 3);
  HoverAt(c.x, c.y);
  FireTimer(frame->MorphTimer());
  EXPECT_EQ(close->MorphSteps(), 4);
}

// A form nobody points at wakes nobody: the hover timer runs while a frame object is lit
// or held, and a hit test on one starts it again.
TEST_F(SkinForm, TheHoverTimerRunsOnlyWhileAnObjectIsLitOrHeld) {
  MakeFrame(&data);
  const POINT c = Center(Object("closebutton")->ObjectRect);
  HoverAt(c.x, c.y);
  EXPECT_TRUE(frame->HoverTimer()->Enabled()) << "following the pointer over the button";
  HoverAt(150, 100);
  EXPECT_FALSE(frame->HoverTimer()->Enabled()) << "nothing lit";
  ASSERT_EQ(HitTest(c.x, c.y), HTOBJECT);
  EXPECT_TRUE(frame->HoverTimer()->Enabled()) << "started by the hit test";
  form->Perform(WM_NCLBUTTONDOWN, HTOBJECT, At(c.x, c.y));
  HoverAt(150, 100);
  EXPECT_TRUE(frame->HoverTimer()->Enabled()) << "a held button follows the pointer back";
  form->Perform(WM_LBUTTONUP, 0, 0);
  FireTimer(frame->HoverTimer());
  EXPECT_FALSE(frame->HoverTimer()->Enabled());
}

TEST_F(SkinForm, ClosePressedAndReleasedOutsideDoesNotClose) {
  MakeFrame(&data);
  int closes = 0;
  form->OnClose = [&](TObject*, TCloseAction& a) {
    ++closes;
    a = caNone;
  };
  auto* close = dynamic_cast<TksSkinButtonObject*>(Object("closebutton"));
  const POINT c = Center(close->ObjectRect);
  HoverAt(c.x, c.y);
  form->Perform(WM_NCLBUTTONDOWN, HTOBJECT, At(c.x, c.y));
  EXPECT_TRUE(close->Down);
  EXPECT_NE(frame->CaptureObject(), -1);
  HoverAt(150, 100);
  form->Perform(WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(close->Down);
  EXPECT_EQ(closes, 0);
  HoverAt(c.x, c.y);
  form->Perform(WM_NCLBUTTONDOWN, HTOBJECT, At(c.x, c.y));
  form->Perform(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(closes, 1);
}

// Handlers the application binds may rebuild the frame's objects while a button's
// release runs: the released button is freed under it and must not be touched.
TEST_F(SkinForm, AHandlerThatRebuildsTheObjectsDuringAClickLeavesTheFreedButtonAlone) {
  struct Case {
    const char* button;
    void (*bind)(TksSkinForm* frame, TForm* form);
    bool (*done)(TksSkinForm* frame, int closes);
  };
  const Case cases[] = {
      {"rollupbutton",
       [](TksSkinForm* frame, TForm*) {
         frame->OnChangeRollUpState = [frame](TObject*) { frame->SetSkinData(frame->SkinData()); };
       },
       [](TksSkinForm* frame, int) { return frame->RollUpState(); }},
      {"maximizebutton",
       [](TksSkinForm* frame, TForm* form) {
         form->OnResize = [frame](TObject*) { frame->SetBorderIcons(frame->BorderIcons()); };
       },
       [](TksSkinForm* frame, int) { return frame->WindowState() == kwsMaximized; }},
      // The close button runs the mouse-up event before its command.
      {"closebutton",
       [](TksSkinForm* frame, TForm*) {
         frame->OnMouseUpEvent = [frame](const String&, int, int, const TRect&, TMouseButton) {
           frame->SetBorderIcons(frame->BorderIcons());
         };
       },
       [](TksSkinForm*, int closes) { return closes == 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    MakeFrame(&data);
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction& a) {
      ++closes;
      a = caNone;
    };
    c.bind(frame, form);
    const POINT p = Center(Object(c.button)->ObjectRect);
    HoverAt(p.x, p.y);
    {
      skintest::ScopedPoisonedFrees poisoned;
      form->Perform(WM_NCLBUTTONDOWN, HTOBJECT, At(p.x, p.y));
      form->Perform(WM_NCLBUTTONUP, HTOBJECT, At(p.x, p.y));
    }
    EXPECT_TRUE(c.done(frame, closes));
    EXPECT_EQ(frame->CaptureObject(), -1);
    EXPECT_FALSE(dynamic_cast<TksSkinButtonObject*>(Object(c.button))->Down);
    form->OnResize = nullptr;
    form->OnClose = nullptr;
    frame->Free();
    frame = nullptr;
    form->SetBounds(kLeft, kTop, 300, 200);
  }
}

TEST_F(SkinForm, ButtonsFollowTheBorderIcons) {
  MakeFrame(&data);
  frame->SetBorderIcons({});
  EXPECT_FALSE(Object("maximizebutton")->Visible);
  EXPECT_FALSE(Object("sysmenubutton")->Visible);
  EXPECT_TRUE(Object("closebutton")->Visible);
  EXPECT_TRUE(Object("closebutton")->Enabled);
  ASSERT_NE(dynamic_cast<TksSkinCaptionObject*>(Object("caption")), nullptr);
  // A dialog without icons places its close button at the right.
  TBitmap nc;
  frame->ComposeNonClient(nc);
  EXPECT_EQ(Object("closebutton")->ObjectRect.Right, data.CaptionRect.Right + 100);
  // Icons added back come back usable.
  frame->SetBorderIcons({TksBorderIcon::SystemMenu, TksBorderIcon::Maximize});
  EXPECT_TRUE(Object("maximizebutton")->Visible);
  EXPECT_TRUE(Object("maximizebutton")->Enabled);
  EXPECT_FALSE(Object("minimizebutton")->Visible);
  // Hidden caption buttons: one drawn on the frame picture stays, but inert.
  frame->HideCaptionButtons = true;
  for (auto& d : data.ObjectList)
    if (d->IDName == "rollupbutton") d->SkinRectInAPicture = false;
  frame->ChangeSkinData();
  EXPECT_FALSE(Object("closebutton")->Visible);
  EXPECT_TRUE(Object("rollupbutton")->Visible);
  EXPECT_FALSE(Object("rollupbutton")->Enabled);
}

// A caption button of the skin's own beside the default skin's: the minimize
// button's faces under another name and command.
void AddCaptionButton(TksSkinData& data, const char* name, TksStdButtonCommand command) {
  const auto& min = dynamic_cast<const TksDataSkinStdButton&>(
      *data.ObjectList[static_cast<size_t>(data.GetObjectIndex("minimizebutton"))]);
  auto button = std::make_unique<TksDataSkinStdButton>(min);
  button->IDName = name;
  button->Command = command;
  data.ObjectList.push_back(std::move(button));
}

TEST_F(SkinForm, ACustomButtonShowsOnlyWhenTheApplicationSaysSo) {
  AddCaptionButton(data, "custombutton", cmDefault);
  frame = new TksSkinForm(form);
  frame->SetSkinData(&data);
  EXPECT_FALSE(Object("custombutton")->Visible);
  frame->OnActivateCustomObject = [](const String& name, bool& visible) { visible = name == "custombutton"; };
  frame->ChangeSkinData();
  EXPECT_TRUE(Object("custombutton")->Visible);
}

TEST_F(SkinForm, AnObjectWithoutItsPictureNeitherCrashesNorMorphs) {
  for (auto& d : data.ObjectList) {
    d->ActivePictureIndex = 9;
    d->Morphing = true;
  }
  MakeFrame(&data);
  auto* close = Object("closebutton");
  EXPECT_FALSE(close->Morphing);
  EXPECT_TRUE(IsNullRect(close->ActiveSkinRect));
  const POINT c = Center(close->ObjectRect);
  HoverAt(c.x, c.y);
  form->Perform(WM_NCLBUTTONDOWN, HTOBJECT, At(c.x, c.y));
  TBitmap nc;
  frame->ComposeNonClient(nc);
  form->Perform(WM_NCACTIVATE, 0, 0);
  frame->ComposeNonClient(nc);
  EXPECT_FALSE(nc.Empty());
  form->Perform(WM_LBUTTONUP, 0, 0);
}

TEST_F(SkinForm, AButtonAnimationRunsForwardWhileHoveredAndBackAfter) {
  auto anim = std::make_unique<TksDataSkinAnimate>("anim");
  anim->ActivePictureIndex = 1;
  anim->SkinRect = TRect{0, 0, 22, 20};
  anim->CountFrames = 3;
  anim->ButtonStyle = true;
  anim->TimerInterval = 25;
  anim->Command = cmDefault;
  data.ObjectList.insert(data.ObjectList.begin(), std::move(anim));
  frame = new TksSkinForm(form);
  frame->OnActivateCustomObject = [](const String&, bool& visible) { visible = true; };
  frame->SetSkinData(&data);
  form->Perform(WM_NCACTIVATE, 1, 0);
  auto* a = dynamic_cast<TksSkinAnimateObject*>(Object("anim"));
  ASSERT_NE(a, nullptr);
  TBitmap nc;
  frame->ComposeNonClient(nc);
  const POINT c = Center(a->ObjectRect);
  HoverAt(c.x, c.y);
  std::vector<int> frames;
  for (int i = 0; i < 4; ++i) {
    FireTimer(frame->AnimateTimer());
    frames.push_back(a->Frame);
  }
  EXPECT_EQ(frames, (std::vector<int>{2, 3, 3, 3}));
  HoverAt(150, 100);
  frames.clear();
  for (int i = 0; i < 3; ++i) {
    FireTimer(frame->AnimateTimer());
    frames.push_back(a->Frame);
  }
  EXPECT_EQ(frames, (std::vector<int>{2, 1, 1}));
  // A cycling one wraps round while hovered.
  a->Cycle = true;
  HoverAt(c.x, c.y);
  frames.clear();
  for (int i = 0; i < 4; ++i) {
    FireTimer(frame->AnimateTimer());
    frames.push_back(a->Frame);
  }
  EXPECT_EQ(frames, (std::vector<int>{2, 3, 1, 2}));
}

// ---- window states -----------------------------------------------------------------------------

class SkinFormStates : public SkinForm {
 protected:
  TRect work{0, 0, 1024, 738};
  ScopedSeam<TScreenSeam> screen{{.Size = [] { return SIZE{1024, 768}; },
                                  .Monitors = [this] {
                                    return std::vector<TMonitorInfo>{
                                        {nullptr, RECT{0, 0, 1024, 768}, RECT(work), true}};
                                  }}};
};

TEST_F(SkinFormStates, MinimizedFormsLineUpAlongTheBottom) {
  std::vector<TForm*> forms;
  std::vector<TksSkinForm*> frames;
  for (int i = 0; i < 3; ++i) {
    auto* f = new TForm(Application);
    f->SetBounds(50 + i * 10, 50, 300, 200);
    f->Show();
    auto* fr = new TksSkinForm(f);
    fr->SetSkinData(&data);
    forms.push_back(f);
    frames.push_back(fr);
  }
  const int w = data.Picture.Width(), h = data.Picture.Height() - RectHeight(data.ClientRect);
  for (int i = 0; i < 3; ++i) {
    frames[static_cast<size_t>(i)]->SetWindowState(kwsMinimized);
    EXPECT_EQ(forms[static_cast<size_t>(i)]->BoundsRect(), (TRect{i * w, 738 - h, (i + 1) * w, 738}));
  }
  for (TForm* f : forms) f->Free();
}

TEST_F(SkinFormStates, AMinimizedPlaceIsFoundEvenForAFrameWithoutHeight) {
  // A skin whose client fills its picture leaves a minimized form no height;
  // one place per row, the first taken.
  data.ClientRect = TRect{0, 0, data.Picture.Width(), data.Picture.Height()};
  work = TRect{0, 0, data.Picture.Width(), 738};
  std::vector<TksSkinForm*> frames;
  for (int i = 0; i < 2; ++i) {
    auto* f = new TForm(Application);
    f->SetBorderStyle(bsDialog);
    f->SetBounds(50, 50, 300, 200);
    f->Show();
    frames.push_back(new TksSkinForm(f));
    frames.back()->SetSkinData(&data);
  }
  frames[0]->SetWindowState(kwsMinimized);
  const TRect first = frames[0]->Form()->BoundsRect();
  EXPECT_EQ(first.Left, 0);
  const TPoint next = frames[1]->GetMinimizedPosition();
  EXPECT_EQ(next.X, 0);
  EXPECT_EQ(next.Y, first.Top - 1);
  for (TksSkinForm* f : frames) f->Form()->Free();
}

TEST_F(SkinFormStates, MaximizeFillsTheWorkAreaAndRestoreReturnsTheFirstBounds) {
  MakeFrame(&data);
  const TRect first = form->BoundsRect();
  frame->SetWindowState(kwsMinimized);
  frame->SetWindowState(kwsMaximized);
  EXPECT_EQ(form->BoundsRect(), work);
  frame->SetWindowState(kwsNormal);
  EXPECT_EQ(form->BoundsRect(), first);
  // No task bar: a pixel left free on every side; full screen takes the monitor.
  work = TRect{0, 0, 1024, 768};
  frame->SetWindowState(kwsMaximized);
  EXPECT_EQ(form->BoundsRect(), (TRect{1, 1, 1023, 767}));
  frame->SetWindowState(kwsNormal);
  frame->MaximizeOnFullScreen = true;
  frame->SetWindowState(kwsMaximized);
  EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1024, 768}));
}

TEST_F(SkinFormStates, RollUpAndDownAndTheLimits) {
  MakeFrame(&data);
  const int frameHeight = data.Picture.Height() - RectHeight(data.ClientRect);
  form->SetHeight(217);
  frame->SetRollUpState(true);
  EXPECT_EQ(form->Height(), frameHeight);
  frame->SetRollUpState(true);
  frame->SetRollUpState(false);
  EXPECT_EQ(form->Height(), 217);
  MINMAXINFO info{};
  form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, data.Picture.Width());
  EXPECT_EQ(info.ptMinTrackSize.y, frameHeight);
  EXPECT_EQ(info.ptMaxTrackSize.x, 1024);
  EXPECT_EQ(info.ptMaxTrackSize.y, 738);
}

TEST_F(SkinFormStates, CaptionDoubleClickTable) {
  struct Row {
    TBorderStyle style;
    bool maximizedBefore;
    TksFormWindowState state;
    bool rolled;
  } rows[] = {
      {bsSizeable, false, kwsMaximized, false},
      {bsSizeable, true, kwsNormal, false},
      {bsSingle, false, kwsNormal, true},
  };
  MakeFrame(&data);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.style);
    form->SetBorderStyle(r.style);
    frame->SetWindowState(r.maximizedBefore ? kwsMaximized : kwsNormal);
    form->Perform(WM_NCLBUTTONDBLCLK, HTCAPTION, At(150, 14));
    EXPECT_EQ(frame->WindowState(), r.state);
    EXPECT_EQ(frame->RollUpState(), r.rolled);
    frame->SetRollUpState(false);
    frame->SetWindowState(kwsNormal);
  }
}

TEST_F(SkinFormStates, MovingSnapsWithinTheMagneticDistance) {
  MakeFrame(&data);
  frame->Magnetic = true;
  struct Row {
    int x, y, snappedX, snappedY;
  } rows[] = {{4, 300, 0, 300}, {5, 300, 5, 300}, {-4, 3, 0, 0}, {1024 - 300 + 4, 738 - 200 - 4, 724, 538},
              {1024 - 300 + 5, 100, 729, 100}};
  for (const Row& r : rows) {
    RECT rc{r.x, r.y, r.x + 300, r.y + 200};
    form->Perform(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc.left, r.snappedX) << r.x;
    EXPECT_EQ(rc.top, r.snappedY) << r.y;
    EXPECT_EQ(rc.right - rc.left, 300);
  }
  frame->SetWindowState(kwsMaximized);
  RECT rc{10, 10, 310, 210};
  form->Perform(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&rc));
  EXPECT_EQ(TRect::FromRECT(rc), form->BoundsRect());
}

// ---- skin change ---------------------------------------------------------------------------------

// A skinned control of the test's own that counts what the walk hands it; it may
// add a child of its own when the skin changes, as real controls do.
// Panels freed so far, and calls that reached one of them afterwards.
std::vector<const void*> g_freedPanels;
int g_callsAfterFree = 0;

class TCountingPanel : public TPanel, public IksSkinChange {
 public:
  TCountingPanel(TWinControl* parent, TksSkinData* skin) : TPanel(parent), skin_(skin) { SetParent(parent); }
  ~TCountingPanel() override { g_freedPanels.push_back(this); }
  TksSkinData* SkinData() const override { return skin_; }
  void BeforeChangeSkinData() override { ++before; }
  void ChangeSkinData() override {
    if (std::count(g_freedPanels.begin(), g_freedPanels.end(), this)) ++g_callsAfterFree;
    ++changes;
    if (addChild) (new TPanel(this))->SetParent(this);
    if (victim) {
      victim->Free();
      victim = nullptr;
    }
  }
  int before = 0, changes = 0;
  bool addChild = false;
  TControl* victim = nullptr;  // freed on the first change, as a control may free an inner one

 private:
  TksSkinData* skin_;
};

TEST_F(SkinForm, ASkinChangeReachesNestedControlsOfThatSkinOnly) {
  TksSkinData other(nullptr);
  other.FormWindows = [] { return std::vector<HWND>{}; };
  other.SetCompressedStoredSkin(&stored);
  MakeFrame(&other);
  auto* outer = new TPanel(form);
  outer->SetParent(form);
  auto* box = new TCountingPanel(outer, &data);
  box->addChild = true;
  auto* inner = new TCountingPanel(box, &data);
  box->victim = new TCountingPanel(outer, &data);
  auto* foreign = new TCountingPanel(outer, &other);
  const auto* objectsBefore = frame->Objects().front().get();
  // Another container's news: the controls that use it change, the frame does not.
  form->Perform(WM_BEFORECHANGESKINDATA, reinterpret_cast<WPARAM>(&data), kSkinMessageLParam);
  form->Perform(WM_CHANGESKINDATA, reinterpret_cast<WPARAM>(&data), kSkinMessageLParam);
  EXPECT_EQ(box->before, 0);
  EXPECT_EQ(box->changes, 1);
  EXPECT_EQ(inner->changes, 1);
  EXPECT_EQ(foreign->changes, 0);
  EXPECT_EQ(g_callsAfterFree, 0);
  EXPECT_EQ(frame->Objects().front().get(), objectsBefore);  // the frame's own skin did not change
  EXPECT_TRUE(frame->SkinnableForm());
  // The frame's own container: everything that uses it hears both messages.
  form->Perform(WM_BEFORECHANGESKINDATA, reinterpret_cast<WPARAM>(&other), kSkinMessageLParam);
  EXPECT_EQ(foreign->before, 1);
  EXPECT_EQ(inner->before, 0);
  EXPECT_FALSE(frame->SkinnableForm());
  form->Perform(WM_CHANGESKINDATA, reinterpret_cast<WPARAM>(&other), kSkinMessageLParam);
  EXPECT_EQ(foreign->changes, 1);
  EXPECT_TRUE(frame->SkinnableForm());
}

TEST_F(SkinForm, TheClientSizeAndTheMinimizedSizeSurviveASkinChange) {
  data.FormWindows = [this] { return std::vector<HWND>{form->Handle()}; };
  frame = new TksSkinForm(form);
  frame->ClientWidth = 300;
  frame->ClientHeight = 150;
  frame->SetSkinData(&data);
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->ClientHeight(), 150);
  data.SetCompressedStoredSkin(&stored);
  EXPECT_EQ(form->ClientWidth(), 300);
  frame->SetWindowState(kwsMinimized);
  data.Picture.SetSize(260, data.Picture.Height());
  form->Perform(WM_CHANGESKINDATA, reinterpret_cast<WPARAM>(&data), kSkinMessageLParam);
  EXPECT_EQ(form->Width(), 260);
}

TEST_F(SkinForm, AFailedLoadLeavesTheFrameInThePlainLook) {
  data.FormWindows = [this] { return std::vector<HWND>{form->Handle()}; };
  MakeFrame(&data);
  ASSERT_TRUE(frame->SkinnableForm());
  TksCompressedStoredSkin tooNew(nullptr);
  skintest::StoreSkin(tooNew, 99, "");
  data.SetCompressedStoredSkin(&tooNew);
  EXPECT_TRUE(data.Empty);
  EXPECT_FALSE(frame->SkinnableForm());
  EXPECT_FALSE(HasRegion(form->Handle()));
  EXPECT_EQ(NCCalcSize(300, 200), (TRect{3, 22, 297, 197}));
}

TEST_F(SkinForm, ButtonHintsTable) {
  AddCaptionButton(data, "minimizetotraybutton", cmMinimizeToTray);
  MakeFrame(&data);
  EXPECT_EQ(Object("closebutton")->Hint, "Close");
  EXPECT_EQ(Object("minimizetotraybutton")->Hint, "Minimize to Tray");
  TksResourceStrData strings(nullptr);
  strings.ResStrings().Clear();
  strings.ResStrings().Add("CLOSEBUTTON_HINT=Shut=now");
  data.SetResourceStrData(&strings);
  form->Perform(WM_CHANGERESOURCESTRDATA, 0, 0);
  EXPECT_EQ(Object("closebutton")->Hint, "Shut=now");
  EXPECT_EQ(Object("maximizebutton")->Hint, "");
  data.SetResourceStrData(nullptr);
}

TEST_F(SkinForm, ABackgroundIndexWithoutAPicturePaintsLikeNone) {
  MakeFrame(&data);
  data.BGPictureIndex = 7;
  TBitmap client(50, 50);
  EXPECT_EQ(form->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(client.Canvas()->Handle()), 0), 1);
  const TRect& cl = data.ClientRect;
  EXPECT_EQ(static_cast<COLORREF>(client.Canvas()->Pixels(10, 10)), FramePixel(cl.Left + 10, cl.Top + 10));
}

// ---- fade ----------------------------------------------------------------------------------------

class SkinFormFade : public SkinForm {
 protected:
  int major = 5, minor = 1;
  std::vector<int> alphas;
  ScopedSeam<TVersionSeam> version{{.Query = [this](OSVERSIONINFOA* info) {
    info->dwMajorVersion = static_cast<DWORD>(major);
    info->dwMinorVersion = static_cast<DWORD>(minor);
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    return TRUE;
  }}};
  // Each step may take the window system this long.
  DWORD now = 1000, step = 0;
  ScopedSeam<TClockSeam> clock{{.TickCount = [this] { return now; }}};
  ScopedSeam<TksSystemSeam> system{{.SetLayeredAlpha = [this](HWND, BYTE a) {
    alphas.push_back(a);
    now += step;
    return true;
  }}};
  bool Layered() { return (GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
  void ShowAndTick() {
    form->Perform(WM_SHOWWINDOW, 1, 0);
    form->Perform(WM_TIMER, 1, 0);
  }
};

TEST_F(SkinFormFade, FadeSequences) {
  struct Row {
    bool blend, animate;
    int value, major, minor;
    size_t count;  // alphas applied from the showing on, 0 first
    int last;
    bool layered;
  } rows[] = {
      {false, true, 200, 5, 1, 52, 255, false},  // 0, 5, 10, ..., 255
      {true, true, 200, 5, 1, 41, 200, true},    // 0, 5, ..., 195, 200
      {true, false, 255, 5, 0, 1, 0, false},
      {true, false, 120, 5, 2, 2, 120, true},
      {true, true, 200, 4, 10, 0, 0, false},
      {true, true, 200, 6, 0, 0, 0, false},
  };
  MakeFrame(&data);
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.blend << r.animate << r.value << " " << r.major << "." << r.minor);
    frame->SetAlphaBlend(false);
    major = r.major;
    minor = r.minor;
    frame->AlphaBlendAnimation = r.animate;
    frame->SetAlphaBlendValue(static_cast<BYTE>(r.value));
    frame->SetAlphaBlend(r.blend);
    alphas.clear();
    ShowAndTick();
    ASSERT_EQ(alphas.size(), r.count);
    if (r.count > 0) {
      EXPECT_EQ(alphas.front(), 0);
      EXPECT_EQ(alphas.back(), r.last);
    }
    if (r.count > 2) {
      EXPECT_EQ(alphas[alphas.size() - 2], r.last - 5);
    }
    EXPECT_EQ(Layered(), r.layered);
    major = 5;
    minor = 1;
  }
}

// Where each step is a slow trip to the window system the fade still ends within a few
// frames: once 50 ms have passed the next step is the target.
TEST_F(SkinFormFade, SlowStepsEndTheFadeWithinFiftyMilliseconds) {
  MakeFrame(&data);
  frame->AlphaBlendAnimation = true;
  for (const DWORD ms : {0u, 4u, 10u, 60u}) {
    SCOPED_TRACE(ms);
    step = ms;
    alphas.clear();
    ShowAndTick();
    ASSERT_FALSE(alphas.empty());
    EXPECT_EQ(alphas.back(), 255);
    EXPECT_FALSE(Layered());
    std::vector<int> steps(alphas.begin() + 1, alphas.end() - 1);  // after the 0 of the showing
    for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i], 5 * static_cast<int>(i + 1));
    // The 0 of the showing is set before the fade starts its clock.
    const size_t fading = ms == 0 ? 51 : std::min<size_t>(51, (50 + ms - 1) / ms + 1);
    EXPECT_EQ(alphas.size() - 1, fading) << "steps of the fade";
  }
}

TEST_F(SkinFormFade, HidingATranslucentFormDropsTheLayeredStyleWhichTheFormsOwnCodeCannot) {
  MakeFrame(&data);
  frame->SetAlphaBlend(true);
  EXPECT_TRUE(Layered());
  form->SetBorderStyle(bsSingle);  // rewrites the extended style
  EXPECT_TRUE(Layered());
  form->Perform(WM_SHOWWINDOW, 0, 0);
  EXPECT_FALSE(Layered());
}

}  // namespace
