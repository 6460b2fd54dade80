// The skinned list box and its inner list: the bars that follow the list's own
// scroll state, the text shift of wide items, the caption strip's repeating
// buttons, and both looks painted into memory with the inner list and bars.
#include <gtest/gtest.h>

#include <vector>

#include "framework/gui/imagelist.h"
#include "skin/boxes/ksSkinListBox.h"
#include "skin/tests/ksFakeTimers.h"
#include "skin/tests/ksPaintedOutside.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksPaintWithChildren.h"

namespace {

using namespace skintest;

class SkinListBox : public SkinCtrls {
 protected:
  TksSkinListBox* NewList(int count, bool skinned, int height = 120) {
    auto* l = new TksSkinListBox(form);
    l->SetParent(form);
    l->SetBounds(10, 10, 120, height);
    l->HandleNeeded();
    if (skinned) l->SetSkinData(&data);
    for (int i = 0; i < count; ++i) l->Items()->Add("Item " + std::to_string(i));
    return l;
  }
  static void Tick(TksSkinListFrame* l) { l->Perform(WM_TIMER, TksSkinListFrame::kRepeatTimerId, 0); }
};

TEST_F(SkinListBox, BarsComeAndGoWithItems) {
  for (bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    TksSkinListBox* l = NewList(0, skinned);
    const int rows = l->ListBox()->Height() / l->ListBox()->ItemHeight();
    ASSERT_GT(rows, 1);
    for (int i = 0; i < rows; ++i) l->Items()->Add("Fits " + std::to_string(i));
    EXPECT_EQ(l->VScrollBar(), nullptr) << "all fit";
    l->Items()->Add("One too many");
    ASSERT_NE(l->VScrollBar(), nullptr);
    EXPECT_EQ(l->VScrollBar()->Kind(), sbVertical);
    EXPECT_EQ(l->VScrollBar()->PageSize(), rows);
    EXPECT_EQ(l->VScrollBar()->LargeChange(), rows);
    EXPECT_EQ(l->ListBox()->Left() + l->ListBox()->Width(), l->VScrollBar()->Left()) << "list beside the bar";
    l->Items()->Delete(0);
    EXPECT_EQ(l->VScrollBar(), nullptr) << "fits again";
    l->Items()->Insert(0, "Back");
    EXPECT_NE(l->VScrollBar(), nullptr) << "an insert counts too";
    l->Clear();
    EXPECT_EQ(l->VScrollBar(), nullptr);
    delete l;
  }
}

TEST_F(SkinListBox, RowCountEqualToItemsShowsNoBar) {
  TksSkinListBox* l = NewList(3, false);
  l->SetRowCount(3);
  EXPECT_EQ(l->Height(), 3 * 20 + 4);
  l->UpdateScrollBars();
  EXPECT_EQ(l->VScrollBar(), nullptr);
  l->Items()->Add("fourth");
  EXPECT_NE(l->VScrollBar(), nullptr);
}

TEST_F(SkinListBox, BarAndTopIndexFollowEachOther) {
  TksSkinListBox* l = NewList(30, false);
  ASSERT_NE(l->VScrollBar(), nullptr);
  l->VScrollBar()->SetPosition(7);
  EXPECT_EQ(l->TopIndex(), 7) << "the bar moves the list";

  // What the system list itself does with one notch, measured on a plain one.
  auto* plain = new TListBox(form);
  plain->SetParent(form);
  plain->SetBounds(150, 10, l->ListBox()->Width(), l->ListBox()->Height());
  plain->SetStyle(lbOwnerDrawFixed);
  plain->SetItemHeight(l->ListBox()->ItemHeight());
  for (int i = 0; i < 30; ++i) plain->Items()->Add("Item");
  plain->SetTopIndex(7);
  const WPARAM towardsUser = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
  plain->Perform(WM_MOUSEWHEEL, towardsUser, 0);
  const int ownLines = plain->TopIndex() - 7;

  // A notch towards the user is a negative delta: one line further down on top.
  l->ListBox()->Perform(WM_MOUSEWHEEL, towardsUser, 0);
  EXPECT_EQ(l->TopIndex(), 7 + ownLines + 1);
  EXPECT_EQ(l->VScrollBar()->Position(), l->TopIndex());
  const int down = l->TopIndex();
  l->ListBox()->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(l->TopIndex(), down - ownLines - 1) << "away from the user scrolls up";
  EXPECT_EQ(l->VScrollBar()->Position(), l->TopIndex());
}

TEST_F(SkinListBox, WideTextsShiftWithTheHorizontalBar) {
  TksSkinListBox* l = NewList(2, false);
  l->Items()->Add("A text far wider than the list is, so it must scroll sideways");
  l->SetHorizontalExtent(true);
  TksSkinScrollBar* h = l->HScrollBar();
  ASSERT_NE(h, nullptr);
  const int zero = l->ListBox()->Canvas()->TextWidth("0");
  EXPECT_EQ(h->SmallChange(), zero);
  EXPECT_EQ(h->LargeChange(), zero);
  EXPECT_FALSE(h->Both()) << "no vertical bar beside it";
  h->SetPosition(30);
  EXPECT_EQ(l->ListBox()->HorizontalOffset, 30);
  WORD key = VK_RIGHT;
  l->ListBox()->Perform(WM_KEYDOWN, key, 0);
  EXPECT_EQ(h->Position(), 30 + zero) << "right arrow scrolls the texts";
  EXPECT_EQ(l->ListBox()->HorizontalOffset, h->Position());

  // A wider list pulls the bar back; the shift always equals it.
  l->SetBounds(l->Left(), l->Top(), 260, l->Height());
  ASSERT_NE(l->HScrollBar(), nullptr);
  EXPECT_EQ(l->ListBox()->HorizontalOffset, l->HScrollBar()->Position());
  EXPECT_GE(l->ListBox()->HorizontalOffset, 0);

  l->SetHorizontalExtent(false);
  EXPECT_EQ(l->HScrollBar(), nullptr);
  EXPECT_EQ(l->ListBox()->HorizontalOffset, 0) << "hiding the bar resets the shift";
}

TEST_F(SkinListBox, BothBarsShareTheCornerOnlyWhileBothShow) {
  for (bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    TksSkinListBox* l = NewList(0, skinned);
    l->Items()->Add("A text far wider than the list is, so it must scroll sideways");
    l->SetHorizontalExtent(true);
    ASSERT_NE(l->HScrollBar(), nullptr);
    for (int i = 0; i < 20; ++i) l->Items()->Add("More");
    ASSERT_NE(l->VScrollBar(), nullptr);
    TksSkinScrollBar* h = l->HScrollBar();
    EXPECT_TRUE(h->Both());
    EXPECT_EQ(h->SkinDataName(), skinned ? "bothhscrollbar" : "");
    EXPECT_NEAR(l->VScrollBar()->Top() + l->VScrollBar()->Height(), h->Top(), 1) << "vertical bar ends at the other";
    while (l->Items()->Count() > 2) l->Items()->Delete(l->Items()->Count() - 1);
    EXPECT_EQ(l->VScrollBar(), nullptr);
    ASSERT_NE(l->HScrollBar(), nullptr);
    EXPECT_FALSE(l->HScrollBar()->Both()) << "no corner square beside a bar that is gone";
    EXPECT_EQ(l->HScrollBar()->SkinDataName(), skinned ? "hscrollbar" : "");
    delete l;
  }
}

TEST_F(SkinListBox, ColumnsUseOneHorizontalBar) {
  TksSkinListBox* l = NewList(40, false);
  l->SetColumns(2);
  ASSERT_NE(l->VScrollBar(), nullptr);
  EXPECT_EQ(l->HScrollBar(), nullptr);
  EXPECT_EQ(l->VScrollBar()->Kind(), sbHorizontal);
  EXPECT_EQ(l->VScrollBar()->Top() + l->VScrollBar()->Height(), l->Height() - 1) << "at the bottom";
  l->VScrollBar()->SetPosition(1);
  EXPECT_GT(l->TopIndex(), 0) << "the bar moved the columns";
}

TEST_F(SkinListBox, CaptionButtonsInThePlainLook) {
  TksSkinListBox* l = NewList(5, false);
  l->SetCaptionMode(true);
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  const TRect up = l->Button(TksSkinListFrame::kUpButton).R;
  EXPECT_EQ(RectWidth(up), 17);
  EXPECT_EQ(up.Top, 2);
  EXPECT_EQ(up.Bottom, 18);
  EXPECT_EQ(up.Right, l->Width() - 2);
  EXPECT_EQ(l->Button(TksSkinListFrame::kDownButton).R.Right, up.Left);
  EXPECT_EQ(l->ListBox()->Top(), 21) << "the list starts below the caption";
}

TEST_F(SkinListBox, CaptionDownButtonRepeats) {
  FakeTimers timers;
  TksSkinListBox* l = NewList(10, false);
  l->SetCaptionMode(true);
  l->SetItemIndex(0);
  const TRect down = l->Button(TksSkinListFrame::kDownButton).R;
  const int x = down.Left + 3, y = down.Top + 3;
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_EQ(timers.armed[TksSkinListFrame::kRepeatTimerId], 500u);
  Tick(l);
  EXPECT_EQ(l->ItemIndex(), 0) << "the first tick only speeds up";
  EXPECT_EQ(timers.armed[TksSkinListFrame::kRepeatTimerId], 100u);
  Tick(l);
  Tick(l);
  EXPECT_EQ(l->ItemIndex(), 2);
  // Off the button the repeat pauses; back on it, it resumes quicker.
  l->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 40));
  EXPECT_EQ(timers.armed.count(TksSkinListFrame::kRepeatTimerId), 0u);
  l->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_EQ(timers.armed[TksSkinListFrame::kRepeatTimerId], 50u);
  Tick(l);
  EXPECT_EQ(l->ItemIndex(), 3);
  // Released outside it still steps once, and the repeat ends.
  l->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 40));
  l->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 40));
  EXPECT_EQ(l->ItemIndex(), 4);
  EXPECT_EQ(l->TimerMode(), 0);
  EXPECT_EQ(timers.armed.count(TksSkinListFrame::kRepeatTimerId), 0u);

  // Stepping down stops at the last item.
  l->SetItemIndex(9);
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  Tick(l);
  Tick(l);
  l->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_EQ(l->ItemIndex(), 9);
}

TEST_F(SkinListBox, AssignedButtonEventReplacesTheRepeat) {
  FakeTimers timers;
  TksSkinListBox* l = NewList(10, false);
  l->SetCaptionMode(true);
  l->SetItemIndex(5);
  int clicks = 0;
  TObject* sender = nullptr;
  l->OnUpButtonClick = [&](TObject* s) {
    ++clicks;
    sender = s;
  };
  const TRect up = l->Button(TksSkinListFrame::kUpButton).R;
  const int x = up.Left + 3, y = up.Top + 3;
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_TRUE(timers.armed.empty()) << "no repeat with an event";
  l->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, l);
  EXPECT_EQ(l->ItemIndex(), 5) << "the event replaces the step";
  // Released elsewhere, the button steps instead.
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  l->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 60));
  l->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 60));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(l->ItemIndex(), 4);
}

TEST_F(SkinListBox, ACaptionButtonTakesAnyMouseButton) {
  FakeTimers timers;
  TksSkinListBox* l = NewList(10, false);
  l->SetCaptionMode(true);
  l->SetItemIndex(5);
  const TRect down = l->Button(TksSkinListFrame::kDownButton).R;
  const LPARAM at = MAKELPARAM(down.Left + 2, down.Top + 2);
  l->Perform(WM_MOUSEMOVE, 0, at);
  l->Perform(WM_RBUTTONDOWN, MK_RBUTTON, at);
  l->Perform(WM_RBUTTONUP, 0, at);
  EXPECT_EQ(l->ItemIndex(), 6);
}

TEST_F(SkinListBox, RepeatStopsWhenDisabledOrDestroyed) {
  FakeTimers timers;
  TksSkinListBox* l = NewList(10, false);
  l->SetCaptionMode(true);
  const TRect down = l->Button(TksSkinListFrame::kDownButton).R;
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(down.Left + 2, down.Top + 2));
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.Left + 2, down.Top + 2));
  ASSERT_FALSE(timers.armed.empty());
  l->SetEnabled(false);
  EXPECT_TRUE(timers.armed.empty());
  l->SetEnabled(true);
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(down.Left + 2, down.Top + 2));
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.Left + 2, down.Top + 2));
  ASSERT_FALSE(timers.armed.empty());
  l->Perform(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(form->Handle()));  // another window took the mouse
  EXPECT_TRUE(timers.armed.empty());
  EXPECT_EQ(l->CaptureButton(), -1);
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(down.Left + 2, down.Top + 2));
  l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.Left + 2, down.Top + 2));
  ASSERT_FALSE(timers.armed.empty());
  delete l;
  EXPECT_TRUE(timers.armed.empty());
}

TEST_F(SkinListBox, EventsComeWithTheListBoxAsSender) {
  TksSkinListBox* l = NewList(5, false);
  std::vector<TObject*> senders;
  int doubles = 0;
  l->OnListBoxKeyUp = [&](TObject* s, WORD&, TShiftState) { senders.push_back(s); };
  l->OnListBoxKeyDown = [&](TObject* s, WORD&, TShiftState) { senders.push_back(s); };
  l->OnListBoxDblClick = [&](TObject* s) {
    senders.push_back(s);
    ++doubles;
  };
  l->ListBox()->Perform(WM_KEYDOWN, VK_DOWN, 0);
  l->ListBox()->Perform(WM_KEYUP, VK_DOWN, 0);
  l->ListBox()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  l->ListBox()->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  l->ListBox()->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  l->ListBox()->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(doubles, 1) << "one event per double click";
  ASSERT_EQ(senders.size(), 3u);
  for (TObject* s : senders) EXPECT_EQ(s, l);
}

TEST_F(SkinListBox, NoAutoCompleteKeepsTypedLettersFromTheList) {
  TksSkinListBox* l = NewList(0, false);
  for (const char* s : {"apple", "banana", "cherry"}) l->Items()->Add(s);
  l->SetItemIndex(0);
  int presses = 0;
  l->OnListBoxKeyPress = [&](TObject*, char&) { ++presses; };
  l->ListBox()->Perform(WM_CHAR, 'c', 0);
  EXPECT_EQ(l->ItemIndex(), 2) << "the system list finds the prefix";
  l->SetAutoComplete(false);
  l->ListBox()->Perform(WM_CHAR, 'b', 0);
  EXPECT_EQ(l->ItemIndex(), 2);
  EXPECT_EQ(presses, 2) << "the key still reaches the events";
}

TEST_F(SkinListBox, PaintsBothLooksWithItsChildren) {
  for (bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    TksSkinListBox* l = NewList(3, skinned);
    l->SetItemIndex(1);
    TBitmap shot;
    PaintWithChildren(*l, shot, clWhite);
    const TRect r1 = l->ListBox()->ItemRect(1);
    const int x = l->ListBox()->Left() + r1.Right - 3, y = l->ListBox()->Top() + r1.Top + RectHeight(r1) / 2;
    const COLORREF selected = static_cast<COLORREF>(shot.Canvas()->Pixels(x, y));
    const int below = l->ListBox()->Top() + l->ListBox()->ItemRect(2).Bottom + 5;
    const COLORREF empty = static_cast<COLORREF>(shot.Canvas()->Pixels(x, below));
    if (!skinned) {
      EXPECT_EQ(selected, Rgb(clHighlight));
      EXPECT_EQ(empty, Rgb(clWindow));
    } else {
      const TksListSkinValues& v = l->Values();
      // The right end of the item face is copied from the picture as it is.
      EXPECT_EQ(selected, SkinPixel(v.ActiveItemRect.Right - 3, v.ActiveItemRect.Top + RectHeight(v.ActiveItemRect) / 2));
      const TRect client = MovedRect(l->SkinClientRect, l->SkinRect.Left, l->SkinRect.Top);
      const int tile = RectWidth(client);
      const int tx = (x - l->ListBox()->Left()) % tile;
      const int ty = (below - l->ListBox()->Top() - l->ListBox()->ItemRect(2).Bottom) % RectHeight(client);
      EXPECT_EQ(empty, SkinPixel(client.Left + tx, client.Top + ty)) << "the client face tiled below the items";
    }
    delete l;
  }
}

TEST_F(SkinListBox, DegenerateSkinsPaintWithoutFailing) {
  // A description with empty client, item and caption rectangles and no glyphs.
  TksDataSkinListBox* d = data.ControlData<TksDataSkinListBox>(data.GetControlIndex("listbox"));
  ASSERT_NE(d, nullptr);
  d->ClientRect = TRect{};
  d->ItemRect = TRect{};
  TksSkinListBox* l = NewList(30, true);
  l->SetCaptionMode(true);
  l->SetNumGlyphs(0);
  TBitmap glyph(16, 16);
  l->SetGlyph(&glyph);
  l->SetRowCount(4);
  EXPECT_GT(l->ListBox()->ItemHeight(), 0);
  l->SetItemIndex(1);
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  EXPECT_EQ(PaintedOutside(*l), 0);
  l->ChangeSkinData();
  PaintWithChildren(*l, shot, clWhite);
  EXPECT_EQ(PaintedOutside(*l), 0);
  // Without an item face the items fall back to the look without a skin (sampled
  // left of their text: the list is narrower than its texts).
  auto itemPixel = [&](int index) {
    const TRect r = l->ListBox()->ItemRect(index);
    return static_cast<COLORREF>(
        shot.Canvas()->Pixels(l->ListBox()->Left() + r.Left, l->ListBox()->Top() + r.Top + RectHeight(r) / 2));
  };
  EXPECT_EQ(itemPixel(0), Rgb(clWindow));
  EXPECT_EQ(itemPixel(1), Rgb(clHighlight));
}


TEST_F(SkinListBox, SkinnedCaptionBandKeepsItsButtonsAtTheRight) {
  auto* l = new TksSkinListBox(form);
  l->SetParent(form);
  l->SetBounds(10, 10, 150, 120);
  l->HandleNeeded();
  l->SetSkinDataName("captionlistbox");
  l->SetCaptionMode(true);
  l->SetSkinData(&data);
  for (int i = 0; i < 3; ++i) l->Items()->Add("Backup");
  const TksListSkinValues& v = l->Values();
  const TRect up = l->Button(TksSkinListFrame::kUpButton).R;
  const int dw = l->Width() - RectWidth(l->SkinRect);
  EXPECT_EQ(up, MovedRect(v.ButtonRect[TksSkinListFrame::kUpButton], dw, 0)) << "moved with the right end";
  EXPECT_EQ(l->ListBox()->Top(), l->SkinClientRect.Top) << "the list starts below the band";
  EXPECT_EQ(l->ListBox()->Left() + l->ListBox()->Width(), l->Width() - (RectWidth(l->SkinRect) - l->SkinClientRect.Right));

  const int x = up.Left + RectWidth(up) / 2, y = up.Top + 3;
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  const TRect face = MovedRect(v.ButtonRect[TksSkinListFrame::kUpButton], l->SkinRect.Left, l->SkinRect.Top);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)), SkinPixel(face.Left + RectWidth(face) / 2, face.Top + 3));
  l->Perform(CM_MOUSEENTER, 0, 0);
  l->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PaintWithChildren(*l, shot, clWhite);
  const TRect& hot = v.ActiveButtonRect[TksSkinListFrame::kUpButton];
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)), SkinPixel(hot.Left + RectWidth(hot) / 2, hot.Top + 3))
      << "the hot button from its picture cell";
}

TEST_F(SkinListBox, FocusedCurrentItemHasAFocusFrame) {
  TksSkinListBox* l = NewList(4, false);
  l->SetItemIndex(2);
  EXPECT_EQ(l->ListBox()->GetItemState(2), odSelected) << "without the focus";
  ShowAndActivate();
  l->ListBox()->SetFocus();
  ASSERT_TRUE(l->ListBox()->Focused());
  EXPECT_EQ(l->ListBox()->GetItemState(2), odSelected | odFocused);
  EXPECT_EQ(l->ListBox()->GetItemState(1), 0u);
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  const TRect r = l->ListBox()->ItemRect(2);
  const int ox = l->ListBox()->Left(), oy = l->ListBox()->Top();
  // The dotted frame lies on the item's edge; its inside keeps the highlight.
  int dotted = 0;
  for (int x = r.Left; x < r.Left + 8; ++x)
    dotted += static_cast<COLORREF>(shot.Canvas()->Pixels(ox + x, oy + r.Top)) != Rgb(clHighlight) ? 1 : 0;
  EXPECT_GT(dotted, 0);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(ox + r.Left + 3, oy + r.Top + 3)), Rgb(clHighlight));
}

TEST_F(SkinListBox, DrawItemEventAndImagesPlaceTheText) {
  TksSkinListBox* l = NewList(5, false);
  TCustomImageList images(12, 12);
  TBitmap strip(36, 12);
  images.Add(&strip, nullptr);
  ASSERT_EQ(images.Count(), 3);
  l->SetImages(&images);
  std::vector<int> indexes;
  std::vector<TRect> texts;
  l->OnDrawItem = [&](TCanvas*, int Index, int, int, TRect TxtRect, TOwnerDrawState) {
    indexes.push_back(Index);
    texts.push_back(TxtRect);
  };
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 3, 4}));
  for (const TRect& t : texts) EXPECT_EQ(t.Left, 2) << "the event gets the text rectangle, images are its own";
  l->OnDrawItem = nullptr;
  l->SetImages(nullptr);
}

TEST_F(SkinListBox, ColumnWidthFollowsTheListWidth) {
  TksSkinListBox* l = NewList(40, false);
  l->SetColumns(2);
  l->SetBounds(l->Left(), l->Top(), 200, l->Height());
  const int rows = l->ListBox()->Height() / l->ListBox()->ItemHeight();
  EXPECT_EQ(l->ListBox()->ItemRect(rows).Left, (l->ListBox()->Width() + 1) / 2) << "second column at half the width";
}

TEST_F(SkinListBox, SkinnedMultiSelectionUsesTheActiveFace) {
  TksSkinListBox* l = NewList(0, true);
  l->SetMultiSelect(true);
  for (int i = 0; i < 4; ++i) l->Items()->Add("Card " + std::to_string(i));
  l->ListBox()->SetSelected(0, true);
  l->SetItemIndex(2);  // the caret, not selected itself
  EXPECT_EQ(l->ListBox()->GetItemState(0), odSelected);
  EXPECT_EQ(l->ListBox()->GetItemState(2), odSelected) << "the caret item is always drawn selected";
  EXPECT_EQ(l->ListBox()->GetItemState(1), 0u);
  TBitmap shot;
  PaintWithChildren(*l, shot, clWhite);
  const TksListSkinValues& v = l->Values();
  const int ox = l->ListBox()->Left(), oy = l->ListBox()->Top();
  auto rightEnd = [&](int index) {
    const TRect r = l->ListBox()->ItemRect(index);
    return static_cast<COLORREF>(shot.Canvas()->Pixels(ox + r.Right - 1, oy + r.Top + RectHeight(r) / 2));
  };
  const int my = RectHeight(v.ItemRect) / 2;
  EXPECT_EQ(rightEnd(0), SkinPixel(v.ActiveItemRect.Right - 1, v.ActiveItemRect.Top + my));
  EXPECT_EQ(rightEnd(1), SkinPixel(v.ItemRect.Right - 1, v.ItemRect.Top + my));
}

}  // namespace
