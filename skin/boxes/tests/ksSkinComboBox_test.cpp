// The skinned combo box: its events on selection and text, where and how the
// drop-down opens and closes, the mouse in the list, keys on empty and full
// lists, type-ahead with a steered clock, and the edit style.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "framework/gui/stdctrls.h"
#include "skin/boxes/ksListBox.h"
#include "skin/boxes/ksSkinComboBox.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/tests/ksOneScreen.h"
#include "skin/tests/ksPaintedOutside.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinComboBox : public SkinCtrls {
 protected:
  TksSkinComboBox* NewCombo(std::vector<String> items = {"alpha", "beta", "gamma"}) {
    form->HandleNeeded();
    auto* c = new TksSkinComboBox(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 176, 20);
    for (const String& s : items) c->Items()->Add(s);
    c->OnClick = [this](TObject*) { log.push_back("click"); };
    c->OnChange = [this](TObject*) { log.push_back("change:" + std::string(combo_->Text())); };
    c->OnCloseUp = [this](TObject*) { log.push_back("closeup"); };
    combo_ = c;
    return c;
  }
  // The item the list highlights under a point of the inner list.
  static TPoint ItemPoint(TksSkinComboBox* c, int index) {
    RECT r{};
    SendMessageA(c->ListBox()->ListBox()->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
    return TPoint{r.left + 3, (r.top + r.bottom) / 2};
  }
  static void Key(TWinControl* c, WORD key) { c->Perform(WM_KEYDOWN, key, 0); }
  static void Char(TWinControl* c, char ch) { c->Perform(WM_CHAR, static_cast<unsigned char>(ch), 0); }
  static void Wheel(TWinControl* c, int delta) {
    c->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), 0);
  }

  std::vector<std::string> log;
  TksSkinComboBox* combo_ = nullptr;
  DWORD now = 10000;
  ScopedSeam<TClockSeam> clock{TClockSeam{.TickCount = [this] { return now; }}};
  ScopedSeam<TScreenSeam> screen{OneScreen()};
};

// OnClick and Change fire on every selection; OnChange only when the text changes.
TEST_F(SkinComboBox, SelectionFiresClickEachTimeAndChangeOnlyOnNewText) {
  auto* c = NewCombo();
  c->SetItemIndex(1);
  EXPECT_EQ(log, (std::vector<std::string>{"change:beta", "click"}));
  log.clear();
  c->SetItemIndex(1);
  EXPECT_EQ(log, std::vector<std::string>{"click"}) << "the same index clicks again, the text stays";
  log.clear();
  c->SetItemIndex(7);
  EXPECT_EQ(log, std::vector<std::string>{"click"});
  EXPECT_EQ(c->Text(), "beta") << "an index outside the items leaves the text";
}

TEST_F(SkinComboBox, DropDownOpensBelowOrAboveNearTheWorkAreasBottom) {
  auto* c = NewCombo();
  c->SetItemIndex(0);
  c->DropDown();
  ASSERT_TRUE(c->DroppedDown());
  RECT r{};
  GetWindowRect(c->ListBox()->Handle(), &r);
  const TPoint below = form->ClientToScreen(TPoint{10, 30});
  EXPECT_EQ(r.left, below.X);
  EXPECT_EQ(r.top, below.Y);
  EXPECT_EQ(r.right - r.left, 176);
  c->CloseUp(false);
  EXPECT_FALSE(c->DroppedDown());

  c->SetTop(560);
  c->DropDown();
  GetWindowRect(c->ListBox()->Handle(), &r);
  const TPoint top = form->ClientToScreen(TPoint{10, 560});
  EXPECT_EQ(r.bottom, top.Y) << "the list ends where the combo begins";
  c->CloseUp(false);
}

TEST_F(SkinComboBox, HoverThenReleaseInTheListAccepts) {
  auto* c = NewCombo();
  c->SetItemIndex(0);
  c->DropDown();
  log.clear();
  TksListBox* inner = c->ListBox()->ListBox();
  const TPoint p = ItemPoint(c, 2);
  inner->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y));
  EXPECT_EQ(c->ListBox()->ItemIndex(), 2) << "the highlight follows the pointer";
  EXPECT_EQ(c->Text(), "alpha") << "hovering selects nothing yet";
  inner->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
  EXPECT_TRUE(c->DroppedDown()) << "a press in the list is swallowed";
  inner->Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"change:gamma", "click", "closeup"}));
}

// Esc, Alt+Up and a press elsewhere close without taking the highlighted item.
TEST_F(SkinComboBox, ClosingWithoutAcceptingPutsTheHighlightBack) {
  auto* c = NewCombo();
  TEdit* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 100, 50, 20);
  struct Case {
    const char* what;
    std::function<void()> close;
  };
  const Case cases[] = {
      {"esc", [&] { Key(c, VK_ESCAPE); }},
      {"cancel mode from another control", [&] { c->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(other)); }},
      {"press on the face outside the text", [&] { c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1)); }},
      {"close up", [&] { c->CloseUp(false); }},
      {"focus loss", [&] { c->Perform(WM_KILLFOCUS, 0, 0); }},
  };
  for (const Case& k : cases) {
    c->SetItemIndex(0);
    c->DropDown();
    c->ListBox()->SetItemIndex(2);
    log.clear();
    k.close();
    c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_FALSE(c->DroppedDown()) << k.what;
    EXPECT_EQ(c->ItemIndex(), 0) << k.what;
    EXPECT_EQ(c->ListBox()->ItemIndex(), 0) << k.what;
    EXPECT_TRUE(log.empty()) << k.what;
  }
}

TEST_F(SkinComboBox, CancelModeFromTheListItselfKeepsItOpen) {
  auto* c = NewCombo();
  c->DropDown();
  for (TControl* own : std::initializer_list<TControl*>{c, c->ListBox(), c->ListBox()->ListBox()}) {
    c->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(own));
    EXPECT_TRUE(c->DroppedDown());
  }
  Key(c, VK_RETURN);
  EXPECT_FALSE(c->DroppedDown());
}

TEST_F(SkinComboBox, TheButtonTogglesTheList) {
  auto* c = NewCombo();
  const TRect b = c->ButtonRect();
  const int x = (b.Left + b.Right) / 2, y = (b.Top + b.Bottom) / 2;
  c->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  EXPECT_TRUE(c->ButtonActive());
  c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_TRUE(c->DroppedDown());
  EXPECT_TRUE(c->ButtonDown());
  c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_FALSE(c->ButtonDown());
  c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_FALSE(c->DroppedDown());
  c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  c->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(c->ButtonActive());
}

TEST_F(SkinComboBox, RowsAndFirstItemWhenDroppingDown) {
  std::vector<String> many;
  for (int i = 0; i < 20; ++i) many.push_back("item " + std::to_string(i));
  auto* c = NewCombo(many);
  c->SetDropDownCount(0);
  EXPECT_EQ(c->DropDownCount(), 8) << "below 1 is ignored";
  c->DropDown();
  EXPECT_EQ(c->ListBox()->RowCount(), 8);
  c->CloseUp(false);

  auto* one = NewCombo({"only"});
  one->SetItemIndex(0);
  one->DropDown();
  EXPECT_EQ(one->ListBox()->ItemIndex(), 0);
  EXPECT_EQ(one->ListBox()->RowCount(), 1);
  one->CloseUp(true);
  EXPECT_EQ(one->ItemIndex(), 0);
}

TEST_F(SkinComboBox, AnEmptyListNeitherOpensNorMoves) {
  TksSkinComboBox loose(nullptr);
  loose.Items()->Add("x");
  loose.DropDown();
  EXPECT_FALSE(loose.DroppedDown()) << "no parent, no list";
  auto* c = NewCombo({});
  c->DropDown();
  EXPECT_FALSE(c->DroppedDown());
  for (WORD key : {VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) Key(c, key);
  Wheel(c, 120);
  Wheel(c, -120);
  Char(c, 'a');
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(c->ItemIndex(), -1);
}

TEST_F(SkinComboBox, KeysMoveTheSelection) {
  std::vector<String> many;
  for (int i = 0; i < 20; ++i) many.push_back("item " + std::to_string(i));
  auto* c = NewCombo(many);
  c->SetItemIndex(10);
  struct Case {
    WORD key;
    int expected;
  };
  // Page Up moves DropDownCount + 1 items and Page Down DropDownCount - 1.
  const Case cases[] = {{VK_DOWN, 11}, {VK_RIGHT, 12}, {VK_UP, 11}, {VK_LEFT, 10},
                        {VK_PRIOR, 1},  {VK_PRIOR, 0},  {VK_UP, 0},   {VK_NEXT, 7},
                        {VK_NEXT, 14},  {VK_NEXT, 19},  {VK_DOWN, 19}};
  for (const Case& k : cases) {
    Key(c, k.key);
    EXPECT_EQ(c->ItemIndex(), k.expected) << k.key;
  }
  EXPECT_EQ(c->Text(), "item 19");
}

TEST_F(SkinComboBox, AltWithTheArrowsOpensAndCloses) {
  auto* c = NewCombo();
  c->SetItemIndex(1);
  log.clear();
  const LPARAM alt = 0x20000000;
  for (WORD key : {VK_DOWN, VK_RIGHT}) {
    c->Perform(WM_SYSKEYDOWN, key, alt);
    EXPECT_TRUE(c->DroppedDown()) << key;
    c->ListBox()->SetItemIndex(2);
    c->Perform(WM_SYSKEYDOWN, key == VK_DOWN ? VK_UP : VK_LEFT, alt);
    EXPECT_FALSE(c->DroppedDown()) << key;
  }
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_TRUE(log.empty());
}

// The wheel moves the selection while closed and only the highlight while open.
TEST_F(SkinComboBox, WheelInFixedStyle) {
  auto* c = NewCombo();
  c->SetItemIndex(1);
  log.clear();
  Wheel(c, -120);
  EXPECT_EQ(c->ItemIndex(), 2);
  Wheel(c, 120);
  Wheel(c, 120);
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(log.size(), 6u) << "three moves, each with its text and click";
  c->DropDown();
  log.clear();
  Wheel(c, -120);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 1);
  EXPECT_EQ(c->Text(), "alpha");
  EXPECT_TRUE(log.empty());
  c->CloseUp(false);
}

TEST_F(SkinComboBox, TypeAheadGathersWithinHalfASecond) {
  auto* c = NewCombo({"apple", "avocado", "banana", "aardvark"});
  Char(c, 'a');
  EXPECT_EQ(c->Text(), "apple");
  now += 100;
  Char(c, 'a');
  EXPECT_EQ(c->Text(), "aardvark") << "two quick presses search for \"aa\"";
  now += 500;
  Char(c, 'b');
  EXPECT_EQ(c->Text(), "banana") << "after a pause the search starts again";

  // Every typed character counts, a Backspace too: "a", Backspace, "v" matches nothing.
  now += 500;
  c->SetItemIndex(3);  // from aardvark one "a" wraps round to apple
  Char(c, 'a');
  Char(c, '\b');
  Char(c, 'v');
  EXPECT_EQ(c->Text(), "apple");

  c->AutoComplete = false;
  c->SetItemIndex(0);
  for (const char* expected : {"avocado", "aardvark", "apple"}) {
    Char(c, 'a');
    EXPECT_EQ(c->Text(), expected) << "one letter cycles through the items starting with it";
  }
}

class CountingCombo : public TksSkinComboBox {
 public:
  using TksSkinComboBox::TksSkinComboBox;
  void Change() override { ++changes; }
  int changes = 0;
};

TEST_F(SkinComboBox, ChangeFollowsEverySelectionButNotLoading) {
  form->HandleNeeded();
  auto* c = new CountingCombo(form);
  c->SetParent(form);
  c->Items()->Add("x");
  c->Items()->Add("y");
  c->SetItemIndex(0);
  c->SetItemIndex(0);
  EXPECT_EQ(c->changes, 2);
  c->DropDown();
  c->ListBox()->SetItemIndex(1);
  Key(c, VK_RETURN);
  EXPECT_EQ(c->changes, 3);
  EXPECT_EQ(c->Text(), "y");
}

// The face's button keeps to the right end at any width, its text area follows,
// and the hot button is copied from its own picture cell.
TEST_F(SkinComboBox, SkinnedButtonSitsAtTheRightEndAtAnyWidth) {
  auto* d = data.ControlData<TksDataSkinComboBox>(data.GetControlIndex("combobox"));
  ASSERT_NE(d, nullptr);
  const TRect face = d->SkinRect;
  const TRect button = d->ButtonRect;
  for (int width : {176, 120, 300}) {
    auto* c = NewCombo();
    c->SetBounds(10, 10, width, 20);
    c->SetSkinData(&data);
    c->SetItemIndex(0);
    ASSERT_NE(c->ControlIndex(), -1);
    const int dx = width - face.Width();
    EXPECT_EQ(c->ButtonRect(), MovedRect(button, dx, 0)) << width;
    EXPECT_EQ(c->TextRect().Right, d->ClientRect.Right + dx) << width;
    // The arrow's middle, on the face and in the picture.
    const int bx = button.Left + 8, by = button.Top + button.Height() / 2;
    EXPECT_EQ(PaintAndSample(*c, bx + dx, by), SkinPixel(face.Left + bx, face.Top + by)) << width;
    c->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(bx + dx, by));
    ASSERT_TRUE(c->ButtonActive());
    const TRect hot = d->ActiveButtonRect;
    EXPECT_EQ(PaintAndSample(*c, c->ButtonRect().Left, by), SkinPixel(hot.Left, hot.Top + by - button.Top)) << width;
  }
}

// The button moves with the right edge when it lies no nearer the left edge than
// the face's right part is wide.
TEST_F(SkinComboBox, ASkinnedButtonRightOfTheRightPartsWidthMoves) {
  auto* d = data.ControlData<TksDataSkinComboBox>(data.GetControlIndex("combobox"));
  ASSERT_NE(d, nullptr);
  const TRect saved = d->ButtonRect;
  const int rightPart = d->SkinRect.Width() - d->RTPoint.X;
  ASSERT_LT(rightPart, d->RTPoint.X);
  for (const int left : {rightPart, rightPart - 1}) {
    d->ButtonRect = TRect{left, 2, left + 10, 18};
    auto* c = NewCombo();
    c->SetBounds(10, 10, 300, 20);
    c->SetSkinData(&data);
    const int dx = left >= rightPart ? 300 - d->SkinRect.Width() : 0;
    EXPECT_EQ(c->ButtonRect(), MovedRect(d->ButtonRect, dx, 0)) << left;
  }
  d->ButtonRect = saved;
}

// A derived combo's own drawing of the face's item gets the item, the text area's
// size and the focus, in both looks; nothing is drawn for no selection.
TEST_F(SkinComboBox, TheFaceDrawingHookGetsTheItemAndItsPlace) {
  ShowAndActivate();
  for (bool skinned : {false, true}) {
    auto* c = NewCombo();
    if (skinned) c->SetSkinData(&data);
    struct Call {
      int index, w, h;
      TOwnerDrawState state;
    };
    std::vector<Call> calls;
    c->OnComboBoxDrawItem = [&calls](TCanvas*, int Index, int W, int H, TRect, TOwnerDrawState State) {
      calls.push_back({Index, W, H, State});
    };
    TBitmap shot;
    PaintInto(*c, shot);
    EXPECT_TRUE(calls.empty()) << skinned;
    c->SetItemIndex(2);
    PaintInto(*c, shot);
    ASSERT_EQ(calls.size(), 1u) << skinned;
    EXPECT_EQ(calls[0].index, 2);
    EXPECT_EQ(calls[0].w, c->TextRect().Right - c->TextRect().Left);
    EXPECT_GT(calls[0].h, 0);
    EXPECT_EQ(calls[0].state, 0u);
    c->SetFocus();
    PaintInto(*c, shot);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].state, static_cast<TOwnerDrawState>(odFocused)) << skinned;
    c->DropDown();
    c->ListBox()->SetItemIndex(0);
    PaintInto(*c, shot);
    EXPECT_EQ(calls.back().index, 2) << "while open the face keeps the item it opened with";
    c->CloseUp(false);
  }
}

// Sizes smaller than the face or its button, in both looks: painting and
// opening neither crash nor loop, nothing is drawn outside the control, and a
// control of any size shows the frame of its look in its corner.
TEST_F(SkinComboBox, TinySizesPaintInBothLooks) {
  for (bool skinned : {false, true}) {
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {10, 20}, {24, 20}, {25, 20}, {26, 20}, {30, 5}, {176, 20}}) {
      SCOPED_TRACE(testing::Message() << (skinned ? "skinned " : "plain ") << w << "x" << h);
      auto* c = NewCombo();
      c->SetBounds(0, 0, w, h);
      if (skinned) c->SetSkinData(&data);
      c->SetItemIndex(0);
      TBitmap shot;
      PaintInto(*c, shot);
      if (c->Width() > 0 && c->Height() > 0) {
        EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(0, 0)),
                  skinned ? SkinPixel(c->SkinRect.Left, c->SkinRect.Top) : Rgb(clBtnShadow));
      }
      EXPECT_EQ(PaintedOutside(*c), 0);
      c->DropDown();
      c->CloseUp(true);
      EXPECT_FALSE(c->DroppedDown());
      c->SetStyle(kscbEditStyle);
      PaintInto(*c, shot);
      EXPECT_EQ(PaintedOutside(*c), 0);
      delete c;
    }
  }
}

// The drop-down takes its blend from the combo: layered at the combo's opacity,
// and not at all for the main window's drive list (fade asked without blending).
TEST_F(SkinComboBox, TheDropDownBlendsAsTheComboSays) {
  std::vector<int> set;
  ScopedSeam<TksSystemSeam> system{TksSystemSeam{.SetLayeredAlpha = [&set](HWND, BYTE a) {
    set.push_back(a);
    return true;
  }}};
  ScopedSeam<TVersionSeam> xp{TVersionSeam{.Query = [](OSVERSIONINFOA* info) {
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    return TRUE;
  }}};
  auto layered = [](TksSkinComboBox* c) {
    return (GetWindowLongA(c->ListBox()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  };
  auto* drives = NewCombo();
  drives->AlphaBlendAnimation = true;
  drives->DropDown();
  EXPECT_FALSE(layered(drives));
  EXPECT_TRUE(set.empty());
  drives->CloseUp(false);

  auto* blended = NewCombo();
  blended->AlphaBlend = true;
  blended->AlphaBlendValue = 200;
  blended->DropDown();
  EXPECT_TRUE(layered(blended));
  EXPECT_EQ(set, std::vector<int>{200});
  blended->CloseUp(false);
}

// --- edit style ---

class EditStyleCombo : public SkinComboBox {
 protected:
  TksSkinComboBox* NewEditCombo(std::vector<String> items) {
    auto* c = NewCombo(std::move(items));
    c->SetStyle(kscbEditStyle);
    return c;
  }
  static void KeyUp(TWinControl* c, WORD key) { c->Perform(WM_KEYUP, key, 0); }
  // A typed character as the system edit gets it: down, char, up.
  static void Type(TWinControl* e, char ch) {
    const WORD vk = static_cast<WORD>(toupper(static_cast<unsigned char>(ch)));
    SendMessageA(e->Handle(), WM_KEYDOWN, vk, 0);
    SendMessageA(e->Handle(), WM_CHAR, static_cast<unsigned char>(ch), 0);
    SendMessageA(e->Handle(), WM_KEYUP, vk, 0);
  }
  static int SelStart(TWinControl* e) {
    DWORD a = 0, b = 0;
    SendMessageA(e->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return static_cast<int>(a);
  }
  static int SelEnd(TWinControl* e) {
    DWORD a = 0, b = 0;
    SendMessageA(e->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return static_cast<int>(b);
  }
};

TEST_F(EditStyleCombo, TheEditExistsOnlyInEditStyle) {
  auto* c = NewEditCombo({"one", "two"});
  ASSERT_NE(c->Edit(), nullptr);
  EXPECT_FALSE(c->TabStop());
  const TRect t = c->TextRect();
  EXPECT_EQ(c->Edit()->Left(), t.Left);
  EXPECT_EQ(c->Edit()->Width(), t.Right - t.Left);
  c->SetItemIndex(1);
  EXPECT_EQ(c->Edit()->Text(), "two");
  const HWND before = c->Handle();
  c->SetStyle(kscbFixedStyle);
  EXPECT_EQ(c->Edit(), nullptr);
  EXPECT_TRUE(c->TabStop());
  EXPECT_NE(c->Handle(), before) << "the window is made anew";
  c->SetStyle(kscbEditStyle);
  EXPECT_EQ(c->Edit()->Text(), "two");
}

TEST_F(EditStyleCombo, UpAndDownSelectAndClickTheWheelOnlyWhenClosed) {
  auto* c = NewEditCombo({"one", "two", "three"});
  c->SetItemIndex(0);
  log.clear();
  TksCustomEdit* e = c->Edit();
  e->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(c->Text(), "two");
  EXPECT_EQ(e->Text(), "two");
  EXPECT_EQ(log, (std::vector<std::string>{"change:two", "click"}));
  log.clear();
  Wheel(e, -120);
  EXPECT_EQ(c->Text(), "three");
  EXPECT_EQ(log, (std::vector<std::string>{"change:three", "click"}));
  c->DropDown();
  log.clear();
  Wheel(e, 120);
  EXPECT_EQ(c->ListBox()->ItemIndex(), 1) << "open: only the highlight moves";
  EXPECT_EQ(c->Text(), "three");
  EXPECT_TRUE(log.empty());
  e->Perform(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(c->Text(), "one") << "the keys always set the text";
  e->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(c->DroppedDown());
}

TEST_F(EditStyleCombo, TypingCompletesFromTheList) {
  auto* c = NewEditCombo({"abcd", "xyz"});
  ShowAndActivate();
  TksCustomEdit* e = c->Edit();
  e->SetFocus();
  Type(e, 'a');
  EXPECT_EQ(e->Text(), "abcd");
  EXPECT_EQ(SelStart(e), 1);
  EXPECT_EQ(SelEnd(e), 4);
  now += 250;
  Type(e, 'b');
  EXPECT_EQ(e->Text(), "abcd");
  EXPECT_EQ(SelStart(e), 2);
  EXPECT_EQ(SelEnd(e), 4);
  EXPECT_EQ(c->ItemIndex(), 0);
}

TEST_F(EditStyleCombo, WhileOpenTheEditClaimsEnterAndEsc) {
  auto* c = NewEditCombo({"one", "two"});
  TksCustomEdit* e = c->Edit();
  EXPECT_EQ(e->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS, 0);
  c->DropDown();
  EXPECT_NE(e->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS, 0);
  c->ListBox()->SetItemIndex(1);
  log.clear();
  e->Perform(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(e->Text(), "two");
  EXPECT_EQ(c->Text(), "two") << "the combo's text follows the accepted item";
  EXPECT_EQ(log, (std::vector<std::string>{"change:two", "click", "closeup"}));
  EXPECT_EQ(e->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS, 0);
}

TEST_F(EditStyleCombo, APressElsewhereClosesTheList) {
  auto* c = NewEditCombo({"one", "two"});
  TEdit* other = new TEdit(form);
  other->SetParent(form);
  c->DropDown();
  c->Edit()->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(c->ListBox()->ListBox()));
  EXPECT_TRUE(c->DroppedDown()) << "a press in the list is no press elsewhere";
  c->Edit()->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(other));
  EXPECT_FALSE(c->DroppedDown());
}

// With a double-byte character set Backspace and Delete only pass, and every
// other released key completes; otherwise keys below "0" never complete.
TEST_F(EditStyleCombo, DoubleByteCharSetCompletesOnEveryKeyButBackspace) {
  ShowAndActivate();
  for (BYTE charset : {BYTE{SHIFTJIS_CHARSET}, BYTE{ANSI_CHARSET}}) {
    auto* c = NewEditCombo({"abcd"});
    TFont f;
    f.SetCharset(charset);
    c->SetDefaultFont(&f);
    TksCustomEdit* e = c->Edit();
    e->SetFocus();
    now += 300;
    Type(e, 'a');
    ASSERT_EQ(e->Text(), "abcd");
    SendMessageA(e->Handle(), WM_KEYDOWN, VK_BACK, 0);
    SendMessageA(e->Handle(), WM_CHAR, VK_BACK, 0);
    ASSERT_EQ(c->Text(), "a");
    now += 300;
    KeyUp(e, VK_BACK);
    EXPECT_EQ(e->Text(), "a") << int{charset};
    now += 300;
    KeyUp(e, VK_SHIFT);
    EXPECT_EQ(e->Text(), charset == SHIFTJIS_CHARSET ? "abcd" : "a") << int{charset};
    delete c;
  }
}

}  // namespace
