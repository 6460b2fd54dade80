// The skinned check list box: check states kept in the list's own wrappers,
// toggled by mouse and space, kept across re-creation, and the one bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/imagelist.h"
#include "skin/boxes/ksSkinCheckListBox.h"
#include "skin/boxes/ksSkinListBox.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksPaintWithChildren.h"

namespace {

using namespace skintest;

class SkinCheckListBox : public SkinCtrls {
 protected:
  TksSkinCheckListBox* NewList(int count, bool skinned, int height = 120) {
    auto* l = new TksSkinCheckListBox(form);
    l->SetParent(form);
    l->SetBounds(10, 10, 150, height);
    l->HandleNeeded();
    if (skinned) l->SetSkinData(&data);
    for (int i = 0; i < count; ++i) l->Items()->Add("Type " + std::to_string(i));
    return l;
  }
  // A press of the left (or right) button on the inner list at (x, y) of item `index`.
  static void PressItem(TksSkinCheckListBox* l, int index, int x, int y, bool right = false) {
    const TRect r = l->ListBox()->ItemRect(index);
    l->ListBox()->Perform(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                          MAKELPARAM(r.Left + x, r.Top + y));
    l->ListBox()->Perform(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(r.Left + x, r.Top + y));
  }
};

TEST_F(SkinCheckListBox, MouseTogglesOnTheCheckOnly) {
  struct Case {
    bool skinned;
    int x, y;
    bool toggles;
    bool right = false;
  };
  // Plain: the first 20 pixels; skinned: the skin's check rectangle (2,2)-(15,15), edges included.
  // Either mouse button.
  const Case cases[] = {
      {false, 0, 5, true},  {false, 19, 5, true},  {false, 20, 5, false}, {true, 2, 2, true},
      {true, 15, 15, true}, {true, 16, 8, false},  {true, 8, 1, false},   {true, 40, 8, false},
      {false, 5, 5, true, true}, {true, 8, 8, true, true}, {false, 40, 5, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.skinned ? "skinned" : "plain") << " at " << c.x << "," << c.y
                                    << (c.right ? " right" : ""));
    TksSkinCheckListBox* l = NewList(3, c.skinned);
    int checks = 0;
    TObject* sender = nullptr;
    l->OnClickCheck = [&](TObject* s) {
      ++checks;
      sender = s;
    };
    PressItem(l, 1, c.x, c.y, c.right);
    EXPECT_EQ(l->Checked(1), c.toggles);
    EXPECT_EQ(checks, c.toggles ? 1 : 0);
    if (c.toggles) {
      EXPECT_EQ(sender, l->ListBox()) << "the inner list raises it";
    }
    PressItem(l, 1, c.x, c.y, c.right);
    EXPECT_FALSE(l->Checked(1)) << "a second press toggles back";
    delete l;
  }
}

TEST_F(SkinCheckListBox, SpaceTogglesTheCurrentItem) {
  TksSkinCheckListBox* l = NewList(3, false);
  l->ListBox()->Perform(WM_CHAR, ' ', 0);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(l->Checked(i)) << "no current item";
  l->SetItemIndex(2);
  l->ListBox()->Perform(WM_CHAR, ' ', 0);
  EXPECT_TRUE(l->Checked(2));
}

TEST_F(SkinCheckListBox, ThirdStateIsKeptAndDrawnUnchecked) {
  TksSkinCheckListBox* l = NewList(2, false);
  l->ListBox()->SetState(0, 2);
  PressItem(l, 0, 5, 5);
  EXPECT_EQ(l->ListBox()->State(0), 2) << "not toggled";
  EXPECT_FALSE(l->Checked(0));
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  const TRect r0 = l->ListBox()->ItemRect(0), r1 = l->ListBox()->ItemRect(1);
  const int ox = l->ListBox()->Left(), oy = l->ListBox()->Top();
  for (int y = 0; y < RectHeight(r0); ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(shot.Canvas()->Pixels(ox + x, oy + r0.Top + y), shot.Canvas()->Pixels(ox + x, oy + r1.Top + y))
          << "drawn as the unchecked item at " << x << "," << y;
}

TEST_F(SkinCheckListBox, CheckedAtItsValueDoesNotRedraw) {
  TksSkinCheckListBox* l = NewList(3, false);
  const HWND list = l->ListBox()->Handle();
  ValidateRect(list, nullptr);
  l->SetChecked(1, false);
  EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE));
  l->SetChecked(1, true);
  RECT dirty{};
  const bool pending = GetUpdateRect(list, &dirty, FALSE) != 0;
  // Hidden windows keep the update region; a shown one painted it at once.
  if (pending) {
    EXPECT_EQ(TRect::FromRECT(dirty), l->ListBox()->ItemRect(1));
  }
  EXPECT_TRUE(l->Checked(1));
}

TEST_F(SkinCheckListBox, StatesSurviveSortingAndWrappersAreFreed) {
  TksSkinCheckListBox* l = NewList(0, false);
  for (const char* s : {"pear", "apple", "fig", "cherry"}) l->Items()->Add(s);
  l->SetChecked(0, true);  // pear
  l->SetChecked(2, true);  // fig
  l->Items()->SetObjects(1, reinterpret_cast<TObject*>(static_cast<intptr_t>(7)));  // apple's own data
  EXPECT_EQ(l->ListBox()->WrapperCount(), 3);
  l->SetSorted(true);
  ASSERT_EQ(l->Items()->Strings(0), "apple");
  EXPECT_FALSE(l->Checked(0));
  EXPECT_EQ(reinterpret_cast<intptr_t>(l->Items()->Objects(0)), 7) << "the caller's data comes back";
  EXPECT_FALSE(l->Checked(1)) << "cherry";
  EXPECT_TRUE(l->Checked(2)) << "fig";
  EXPECT_TRUE(l->Checked(3)) << "pear";
  EXPECT_EQ(l->ListBox()->WrapperCount(), 4) << "one per re-added item, the old ones gone";
  l->Items()->Delete(3);
  EXPECT_EQ(l->ListBox()->WrapperCount(), 3);
  l->Clear();
  EXPECT_EQ(l->ListBox()->WrapperCount(), 0);
}

TEST_F(SkinCheckListBox, ForeignItemDataIsNeverTakenForAWrapper) {
  TksSkinCheckListBox* l = NewList(2, false);
  // Integers such as icon indexes put straight into the slot.
  SendMessageA(l->ListBox()->Handle(), LB_SETITEMDATA, 0, 3);
  SendMessageA(l->ListBox()->Handle(), LB_SETITEMDATA, 1, 1);
  EXPECT_FALSE(l->Checked(0));
  EXPECT_EQ(l->ListBox()->State(1), 0);
  EXPECT_EQ(l->Items()->Objects(0), nullptr);
  l->SetChecked(0, true);
  EXPECT_TRUE(l->Checked(0));
  EXPECT_THROW(l->Checked(5), EListError);
  EXPECT_THROW(l->ListBox()->SetState(-1, 1), EListError);
}

TEST_F(SkinCheckListBox, CaptionCheckButtonInvertsTheCurrentItem) {
  TksSkinCheckListBox* l = NewList(3, false);
  l->SetCaptionMode(true);
  int checks = 0;
  l->OnClickCheck = [&](TObject*) { ++checks; };
  const TRect check = l->Button(TksSkinListFrame::kCheckButton).R;
  const LPARAM at = MAKELPARAM(check.Left + 3, check.Top + 3);
  l->Perform(WM_MOUSEMOVE, 0, at);
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
  l->Perform(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(checks, 0) << "no current item";
  l->SetItemIndex(1);
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
  l->Perform(WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(l->Checked(1));
  EXPECT_EQ(checks, 1);
}

TEST_F(SkinCheckListBox, OneBarSpanningTheClientArea) {
  for (bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    TksSkinCheckListBox* l = NewList(30, skinned, 233);
    ASSERT_NE(l->ScrollBar(), nullptr);
    EXPECT_EQ(l->ScrollBar()->Kind(), sbVertical);
    if (skinned) {
      EXPECT_EQ(l->ScrollBar()->Top(), l->ClientArea().Top);
      EXPECT_EQ(l->ScrollBar()->Height(), RectHeight(l->ClientArea()));
    } else {
      EXPECT_EQ(l->ScrollBar()->Height(), 233 - 2);
    }
    l->SetRowCount(30);
    l->UpdateScrollBar();
    EXPECT_EQ(l->ScrollBar(), nullptr) << "RowCount equal to the items";
    delete l;
  }
}

TEST_F(SkinCheckListBox, SkinnedCheckImageComesFromThePicture) {
  TksSkinCheckListBox* l = NewList(2, true);
  l->SetChecked(0, true);
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  const TksListSkinValues& v = l->Values();
  const TRect c = l->SkinCheckRect(l->ListBox()->ItemRect(0), l->ListBox()->ItemHeight());
  const int iw = RectWidth(v.CheckImageRect), ih = RectHeight(v.CheckImageRect);
  const int x0 = c.Left + RectWidth(c) / 2 - iw / 2, y0 = c.Top + RectHeight(c) / 2 - ih / 2;
  const int ox = l->ListBox()->Left(), oy = l->ListBox()->Top();
  // The middle of the mark, in both items: checked and unchecked images.
  const int mx = iw / 2, my = ih / 2;
  EXPECT_EQ(shot.Canvas()->Pixels(ox + x0 + mx, oy + y0 + my),
            static_cast<TColor>(SkinPixel(v.CheckImageRect.Left + mx, v.CheckImageRect.Top + my)));
  const int y1 = y0 + l->ListBox()->ItemHeight();
  EXPECT_EQ(shot.Canvas()->Pixels(ox + x0 + mx, oy + y1 + my),
            static_cast<TColor>(SkinPixel(v.UncheckImageRect.Left + mx, v.UncheckImageRect.Top + my)));
}

TEST_F(SkinCheckListBox, SelectionModesReachTheInnerList) {
  TksSkinCheckListBox* l = NewList(3, false);
  l->SetMultiSelect(true);
  l->SetExtandedSelect(false);
  EXPECT_TRUE(l->ListBox()->MultiSelect());
  EXPECT_FALSE(l->ExtandedSelect());
  EXPECT_NE(GetWindowLongA(l->ListBox()->Handle(), GWL_STYLE) & LBS_MULTIPLESEL, 0);
  l->SetMultiSelect(false);
  EXPECT_FALSE(l->MultiSelect());
}

// The leftmost text pixel of item `index`, right of the check column.
int TextInkLeft(TksSkinListFrame& l, int index, int from) {
  TBitmap shot;
  PaintWithChildren(l, shot, clWhite);
  const TRect r = l.ListBox()->ItemRect(index);
  const int ox = l.ListBox()->Left(), oy = l.ListBox()->Top();
  for (int x = r.Left + from; x < r.Right; ++x)
    for (int y = r.Top; y < r.Bottom; ++y)
      if (static_cast<COLORREF>(shot.Canvas()->Pixels(ox + x, oy + y)) == Rgb(clWindowText)) return x;
  return -1;
}

TEST_F(SkinCheckListBox, ATextWithoutItsImageMovesOnlyInTheListBox) {
  // Three images for five items: items 3 and 4 have none.
  TCustomImageList images(12, 12);
  TBitmap strip(36, 12);
  images.Add(&strip, nullptr);
  struct Case {
    bool check;
    int shift;
  };
  for (const Case c : {Case{true, 0}, Case{false, 12 + 2}}) {
    SCOPED_TRACE(c.check ? "check list box" : "list box");
    TksSkinListFrame* l = c.check ? static_cast<TksSkinListFrame*>(NewList(5, false)) : new TksSkinListBox(form);
    if (!c.check) {
      l->SetParent(form);
      l->SetBounds(10, 10, 150, 120);
      for (int i = 0; i < 5; ++i) l->Items()->Add("Type " + std::to_string(i));
    }
    const int from = c.check ? 20 : 0;
    const int plain = TextInkLeft(*l, 4, from);
    ASSERT_GE(plain, 0);
    l->SetImages(&images);
    EXPECT_EQ(TextInkLeft(*l, 4, from), plain + c.shift);
    l->SetImages(nullptr);
    delete l;
  }
}

}  // namespace
