#include <gtest/gtest.h>

#include "framework/gui/stdctrls.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

TObject* Tag(intptr_t n) { return reinterpret_cast<TObject*>(n); }

TEST(ListBoxTest, ItemsAndDataSurviveRecreationUnderSort) {
  auto form = MakeForm();
  TListBox list(nullptr);
  list.SetParent(form.get());
  list.Items()->AddObject("pear", Tag(1));  // before the window: kept in memory
  list.Items()->AddObject("apple", Tag(2));
  list.HandleNeeded();
  list.Items()->AddObject("fig", Tag(3));
  list.SetItemIndex(list.Items()->IndexOf("fig"));
  list.SetSorted(true);  // re-creates the window with LBS_SORT
  ASSERT_TRUE(list.HandleAllocated());
  EXPECT_TRUE(GetWindowLongA(list.Handle(), GWL_STYLE) & LBS_SORT);
  struct Expect {
    const char* text;
    intptr_t data;
  };
  const Expect expected[] = {{"apple", 2}, {"fig", 3}, {"pear", 1}};
  ASSERT_EQ(3, list.Items()->Count());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(expected[i].text, list.Items()->Strings(i));
    EXPECT_EQ(Tag(expected[i].data), list.Items()->Objects(i));
  }
  EXPECT_EQ("pear", list.Items()->Strings(list.ItemIndex()));  // the old position, as the old window had it
  list.Items()->AddObject("banana", Tag(4));
  EXPECT_EQ(1, list.Items()->IndexOf("banana"));
  EXPECT_EQ(Tag(4), list.Items()->Objects(1));
  EXPECT_THROW(list.Items()->Strings(9), EListError);
}

// Owns an object per item, as the program's lists of found files do.
class TOwningList : public TListBox {
 public:
  using TListBox::TListBox;
  int* resets = nullptr;

 protected:
  void ResetContent() override {
    ++*resets;
    TListBox::ResetContent();
  }
};

TEST(ListBoxTest, OwnersHearOfTheFinalResetOnlyWhenTheControlGoes) {
  auto form = MakeForm();
  int resets = 0;
  auto* list = new TOwningList(nullptr);
  list->resets = &resets;
  list->SetParent(form.get());
  list->Items()->Add("x");
  list->HandleNeeded();
  list->SetSorted(true);
  EXPECT_EQ(0, resets);
  EXPECT_EQ(1, list->Items()->Count());
  list->Free();
  EXPECT_EQ(1, resets);
}

TEST(ListBoxTest, CreationStylesReadBack) {
  auto form = MakeForm();
  TListBox list(nullptr);
  list.SetParent(form.get());
  list.SetStyle(lbOwnerDrawFixed);
  list.SetMultiSelect(true);
  // What creation asked for: the system drops unneeded scroll bar bits later.
  LONG style = 0;
  TWndMethodEvent saved = list.WindowProc();
  list.SetWindowProc([&](TMessage& m) {
    if (m.Msg == WM_NCCREATE) style = reinterpret_cast<CREATESTRUCTA*>(m.LParam)->style;
    saved(m);
  });
  list.HandleNeeded();
  for (LONG bit : {static_cast<LONG>(WS_VSCROLL), static_cast<LONG>(WS_HSCROLL), static_cast<LONG>(LBS_HASSTRINGS),
                   static_cast<LONG>(LBS_NOTIFY), static_cast<LONG>(LBS_NOINTEGRALHEIGHT),
                   static_cast<LONG>(LBS_OWNERDRAWFIXED), static_cast<LONG>(LBS_EXTENDEDSEL)})
    EXPECT_EQ(bit, style & bit) << std::hex << bit;
  EXPECT_EQ(0, style & LBS_SORT);
  EXPECT_EQ(static_cast<DWORD>(CS_DBLCLKS), GetClassLongA(list.Handle(), GCL_STYLE));
}

TEST(ListBoxTest, MeasureItemInsideCreationIsRoutedById) {
  auto form = MakeForm();
  TListBox list(nullptr);
  list.SetParent(form.get());
  list.SetStyle(lbOwnerDrawFixed);
  list.SetItemHeight(23);
  int measured = 0;
  TWndMethodEvent saved = list.WindowProc();
  list.SetWindowProc([&](TMessage& m) {
    if (m.Msg == CN_MEASUREITEM) {
      ++measured;
    }
    saved(m);
  });
  list.HandleNeeded();
  EXPECT_GE(measured, 1);
  EXPECT_EQ(23, SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));
}

TEST(ListBoxTest, SelectionChangeClicksOnce) {
  auto form = MakeForm();
  TListBox list(nullptr);
  list.SetParent(form.get());
  list.Items()->Add("one");
  list.Items()->Add("two");
  int clicks = 0;
  list.OnClick = [&](TObject*) { ++clicks; };
  ShowAndActivate(*form);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list.Handle()), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list.Handle()));
  EXPECT_EQ(1, clicks);
}

}  // namespace

namespace {

TEST(EditTest, ChangeFiresForEditsNotForCreation) {
  auto form = MakeForm();
  TEdit edit(nullptr);
  edit.SetParent(form.get());
  int changes = 0;
  edit.OnChange = [&](TObject*) { ++changes; };
  edit.SetText("start");  // no window yet: stored
  edit.HandleNeeded();
  EXPECT_EQ(0, changes);
  EXPECT_EQ("start", edit.Text());
  edit.SetText("next");
  EXPECT_EQ(1, changes);
  edit.SelectAll();
  EXPECT_EQ(4, edit.SelLength());
  edit.SetSelText("x");
  EXPECT_EQ("x", edit.Text());
  EXPECT_EQ(2, changes);
  EXPECT_FALSE(GetWindowLongA(edit.Handle(), GWL_STYLE) & ES_READONLY);
}

TEST(MemoTest, LinesOverTheEditAndKeptAcrossRecreation) {
  auto form = MakeForm();
  TMemo memo(nullptr);
  memo.SetParent(form.get());
  memo.Lines()->Add("one");  // before the window
  memo.HandleNeeded();
  memo.Lines()->Add("two");
  memo.Lines()->Insert(0, "zero");
  ASSERT_EQ(3, memo.Lines()->Count());
  EXPECT_EQ("zero", memo.Lines()->Strings(0));
  EXPECT_EQ("two", memo.Lines()->Strings(2));
  memo.Lines()->Delete(1);
  memo.SetWordWrap(false);  // re-creates
  ASSERT_EQ(2, memo.Lines()->Count());
  EXPECT_EQ("zero", memo.Lines()->Strings(0));
  EXPECT_EQ("two", memo.Lines()->Strings(1));
  EXPECT_TRUE(GetWindowLongA(memo.Handle(), GWL_STYLE) & ES_MULTILINE);
}

TEST(MemoTest, WantReturnsDecidesWhoGetsEnter) {
  auto form = MakeForm();
  TMemo memo(nullptr);
  memo.SetParent(form.get());
  int dialogKeys = 0;
  TProbeControl other(nullptr, form.get(), Bounds(0, 100, 20, 20));
  TWndMethodEvent saved = other.WindowProc();
  other.SetWindowProc([&](TMessage& m) {
    saved(m);
    if (m.Msg == CM_DIALOGKEY && m.WParam == VK_RETURN) {
      ++dialogKeys;
      m.Result = 1;
    }
  });
  ShowAndActivate(*form);
  memo.SetFocus();
  PostMessageA(memo.Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  EXPECT_EQ(0, dialogKeys);
  memo.WantReturns = false;
  PostMessageA(memo.Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  EXPECT_EQ(1, dialogKeys);
}

}  // namespace
