// The skinned memo: its linked bar's range, page and line moves, the wheel,
// the read-only filter and its frame.
#include <gtest/gtest.h>

#include "framework/core/seams.h"
#include "skin/boxes/ksSkinMemo.h"
#include "skin/controls/ksSkinScrollBar.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinMemo : public SkinCtrls {
 protected:
  TksSkinMemo* NewMemo(int lines) {
    form->HandleNeeded();
    auto* m = new TksSkinMemo(form);
    m->SetParent(form);
    m->SetBounds(10, 10, 150, 100);
    String text;
    for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + "\r\n";
    m->SetText(text);
    return m;
  }
  TksSkinScrollBar* NewBar() {
    auto* b = new TksSkinScrollBar(form);
    b->SetParent(form);
    b->SetKind(sbVertical);
    b->SetBounds(160, 10, 16, 100);
    return b;
  }
  static int Rows(TksSkinMemo* m) {
    RECT client;
    GetClientRect(m->Handle(), &client);
    HDC dc = GetDC(m->Handle());
    HGDIOBJ old = SelectObject(dc, m->Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, "Wq", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(m->Handle(), dc);
    return client.bottom / size.cy;
  }
  static int FirstLine(TksSkinMemo* m) { return static_cast<int>(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0)); }
};

TEST_F(SkinMemo, LinkedBarRangeAndPage) {
  auto* m = NewMemo(50);
  auto* bar = NewBar();
  m->SetVScrollBar(bar);
  const int rows = Rows(m);
  ASSERT_LT(rows, 50);
  const int count = static_cast<int>(m->Perform(EM_GETLINECOUNT, 0, 0));
  EXPECT_EQ(bar->Max(), count);
  EXPECT_EQ(bar->PageSize(), rows + 1);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_TRUE(bar->Enabled());
  m->SetText("one\r\ntwo");
  EXPECT_EQ(bar->Max(), 0);
  EXPECT_FALSE(bar->Enabled());
}

TEST_F(SkinMemo, BarMovesTheMemoToTheLine) {
  auto* m = NewMemo(50);
  auto* bar = NewBar();
  m->SetVScrollBar(bar);
  // Well past a percentage reading of the thumb: line 30 of 50 is not 30 percent.
  bar->SetPosition(30);
  EXPECT_EQ(FirstLine(m), 30);
  bar->SetPosition(5);
  EXPECT_EQ(FirstLine(m), 5);
}

TEST_F(SkinMemo, NoNativeBarsAndTheWheelScrollsOneLine) {
  auto* m = NewMemo(50);
  EXPECT_EQ(GetWindowLongA(m->Handle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  m->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(FirstLine(m), 1);
  m->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  m->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(FirstLine(m), 1);
}

TEST_F(SkinMemo, DisablingDisablesTheBar) {
  auto* m = NewMemo(50);
  auto* bar = NewBar();
  m->SetVScrollBar(bar);
  ASSERT_TRUE(bar->Enabled());
  m->SetEnabled(false);
  EXPECT_FALSE(bar->Enabled());
}

TEST_F(SkinMemo, ReadOnlyBlocksEditing) {
  auto* m = NewMemo(2);
  m->ReadOnly = true;
  const String before = m->Text();
  m->Perform(EM_SETSEL, 0, -1);
  for (auto [msg, wp] : {std::pair<UINT, WPARAM>{WM_CHAR, 'x'}, {WM_CHAR, VK_RETURN}, {WM_CHAR, VK_BACK},
                         {WM_KEYDOWN, VK_DELETE}, {WM_CUT, 0}, {WM_CLEAR, 0}, {WM_PASTE, 0}, {WM_UNDO, 0}})
    m->Perform(msg, wp, 0);
  EXPECT_EQ(m->Text(), before);
  const auto items = m->ContextMenuItems();
  EXPECT_FALSE(items[2].Enabled);  // Cut
  EXPECT_TRUE(items[3].Enabled);   // Copy
  EXPECT_FALSE(items[4].Enabled);  // Paste
  EXPECT_FALSE(items[5].Enabled);  // Delete
}

TEST_F(SkinMemo, SkinnedFrameAndBackground) {
  auto* m = NewMemo(2);
  m->SetSkinData(&data);
  ASSERT_NE(m->ControlIndex(), -1);
  auto* d = data.ControlData<TksDataSkinMemoControl>(m->ControlIndex());
  const TRect margins = m->FrameMargins();
  EXPECT_EQ(margins.Left, d->ClientRect.Left);
  EXPECT_EQ(margins.Bottom, RectHeight(d->SkinRect) - d->ClientRect.Bottom);
  EXPECT_EQ(m->Color(), d->BGColor);
  TBitmap frame;
  m->PaintFrame(frame);
  EXPECT_EQ(frame.Canvas()->Pixels(0, 0), SkinPixel(d->SkinRect.Left, d->SkinRect.Top));
}

TEST_F(SkinMemo, TheDefaultFontChangedInPlaceIsTheFontOfTheDefaultLook) {
  TksSkinMemo* m = NewMemo(2);
  m->DefaultFont()->SetName("Courier New");
  m->DefaultFont()->SetHeight(17);
  EXPECT_EQ(m->Font()->Name(), "Courier New");
  EXPECT_EQ(m->Font()->Height(), 17);
  m->SetSkinData(&data);
  const String skinFont = m->Font()->Name();
  m->DefaultFont()->SetName("Times New Roman");
  EXPECT_EQ(m->Font()->Name(), skinFont) << "skinned, the skin's font stays";
}

}  // namespace
