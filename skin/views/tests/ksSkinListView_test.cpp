// The skinned list view: report-style bars, scrolling from the bar, and the
// header painted by us.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "skin/draw/ksUtils.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksSkinListView.h"

namespace {

using namespace skintest;

class SkinListView : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    list = new TksSkinListView(form);
    list->SetParent(form);
    list->SetViewStyle(vsReport);
    list->AddColumn("Name", 80);
    list->AddColumn("A caption much too long for its column", 70);
    for (int i = 0; i < 10; ++i) list->AddItem("File " + std::to_string(i));
    vbar = new TksSkinScrollBar(form);
    vbar->SetParent(form);
    vbar->SetKind(sbVertical);
    list->SetVScrollBar(vbar);
    list->HandleNeeded();
    SizeForRows(3);
  }
  // Height for a header and `rows` whole rows.
  void SizeForRows(int rows) {
    RECT item{};
    item.left = LVIR_BOUNDS;
    SendMessageA(list->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    RECT header{};
    GetWindowRect(list->HeaderHandle(), &header);
    list->SetBounds(0, 0, 200, (header.bottom - header.top) + rows * (item.bottom - item.top) + 2);
    list->Perform(WM_PAINT, 0, 0);
  }
  // The header painted into a bitmap of its size.
  void PaintHeader(TBitmap& shot) {
    HWND header = list->HeaderHandle();
    RECT r{};
    GetClientRect(header, &r);
    shot.SetSize(r.right, r.bottom);
    SendMessageA(header, WM_PAINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0);
  }
  RECT SectionRect(int i) {
    RECT r{};
    SendMessageA(list->HeaderHandle(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // A plain header section drawn by hand: face and frame, the font set for its caption.
  void PlainSection(TBitmap& section, int w, int h) {
    section.SetSize(w, h);
    TCanvas* c = section.Canvas();
    c->Font()->Assign(list->Font());
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect{0, 0, w, h});
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect{0, 0, w, h});
    c->Font()->SetColor(clBtnText);
    c->Brush()->SetStyle(bsClear);
  }
  // The pixels of the shot's section at `left` that differ from the expected section.
  static int Differing(TBitmap& shot, int left, TBitmap& expected) {
    int differing = 0;
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x)
        differing += shot.Canvas()->Pixels(left + x, y) != expected.Canvas()->Pixels(x, y) ? 1 : 0;
    return differing;
  }

  TksSkinListView* list = nullptr;
  TksSkinScrollBar* vbar = nullptr;
};

TEST_F(SkinListView, ReportWithThreeRowsAndTenItemsPagesByThree) {
  ASSERT_EQ(SendMessageA(list->Handle(), LVM_GETCOUNTPERPAGE, 0, 0), 3);
  ASSERT_TRUE(vbar->Visible());
  EXPECT_EQ(vbar->PageSize(), 3);
  EXPECT_EQ(vbar->LargeChange(), 3);
  EXPECT_EQ(vbar->SmallChange(), 1);
  EXPECT_EQ(vbar->Max(), 9);
  vbar->SetPosition(4);
  EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETTOPINDEX, 0, 0), 4);
  vbar->SetPosition(1);
  EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETTOPINDEX, 0, 0), 1);
  while (list->ItemCount() > 2) list->DeleteItem(list->ItemCount() - 1);
  list->Perform(WM_PAINT, 0, 0);
  EXPECT_FALSE(vbar->Visible()) << "two items fit";
}

TEST_F(SkinListView, HeaderIsHookedAndDrawsSectionsWithCutCaptions) {
  ASSERT_EQ(list->HookedHeader(), list->HeaderHandle());
  TBitmap shot;
  PaintHeader(shot);
  const RECT second = SectionRect(1);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(second.left, 3)), Rgb(clBtnShadow));
  // The same section drawn by hand: face, frame and the caption cut with "...".
  const int w = second.right - second.left, h = second.bottom - second.top;
  TBitmap expected;
  PlainSection(expected, w, h);
  TCanvas* c = expected.Canvas();
  String text = "A caption much too long for its column";
  CutTextToWidth(c, text, w - 10);
  ASSERT_EQ(text.substr(text.size() - 3), "...");
  c->TextOut(5, (h - c->TextHeight(text)) / 2, text);
  EXPECT_EQ(Differing(shot, second.left, expected), 0);
}

TEST_F(SkinListView, ACentredCaptionStartsAtHalfTheTextAreaLessHalfItsWidth) {
  list->Columns(0)->SetAlignment(taCenter);
  TBitmap shot;
  PaintHeader(shot);
  const RECT first = SectionRect(0);
  const int w = first.right - first.left, h = first.bottom - first.top;
  TBitmap expected;
  PlainSection(expected, w, h);
  TCanvas* c = expected.Canvas();
  c->TextOut((w - 10) / 2 - c->TextWidth("Name") / 2, (h - c->TextHeight("Name")) / 2, "Name");
  EXPECT_EQ(Differing(shot, first.left, expected), 0);
}

TEST_F(SkinListView, AHeaderMadeLaterIsHookedWhenItIsCreated) {
  auto* icons = new TksSkinListView(form);
  icons->SetParent(form);
  icons->SetBounds(0, 0, 150, 80);
  icons->AddColumn("Name", 60);
  icons->HandleNeeded();
  EXPECT_EQ(icons->HookedHeader(), icons->HeaderHandle());
  const HWND before = icons->Handle();
  icons->SetViewStyle(vsReport);
  EXPECT_EQ(icons->Handle(), before) << "the same window: the header came by its creation notice";
  ASSERT_NE(icons->HeaderHandle(), nullptr);
  EXPECT_EQ(icons->HookedHeader(), icons->HeaderHandle());
  icons->Free();
}

TEST_F(SkinListView, PressOnASectionLooksPressedButNotOnADivider) {
  HWND header = list->HeaderHandle();
  const RECT first = SectionRect(0);
  struct Case {
    int x;
    bool pressedLook;
  };
  for (const Case c : {Case{first.left + 20, true}, Case{first.right - 1, false}}) {
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, 5));
    EXPECT_EQ(list->PressedSection(), 0) << c.x;
    EXPECT_EQ(list->SectionPressed(), c.pressedLook) << c.x;
    TBitmap shot;
    PaintHeader(shot);
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(2, 2)), c.pressedLook ? 11899781u : Rgb(clBtnFace));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(c.x, 5));
    EXPECT_EQ(list->PressedSection(), -1);
    ReleaseCapture();
  }
}

TEST_F(SkinListView, SkinnedHeaderTakesTheButtonFace) {
  list->SetSkinData(&data);
  TBitmap shot;
  PaintHeader(shot);
  // The resize button face's left-top corner, copied as it is.
  const int idx = data.GetControlIndex("resizebutton");
  ASSERT_NE(idx, -1);
  const TRect skin = data.CtrlList[static_cast<size_t>(idx)]->SkinRect;
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(1, 1)), SkinPixel(skin.Left + 1, skin.Top + 1));
}

}  // namespace
