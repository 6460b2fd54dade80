// The skinned edit: its own read-only filter, Enter and Esc, the context menu's
// lines, the skinned size and frame, and the frame button.
#include <gtest/gtest.h>

#include "framework/core/seams.h"
#include "framework/gui/stdctrls.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinDataResStr.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinEdit : public SkinCtrls {
 protected:
  TksSkinEdit* NewEdit(const String& text = "hello", int w = 120, int h = 20) {
    form->HandleNeeded();
    auto* e = new TksSkinEdit(form);
    e->SetParent(form);
    e->SetBounds(10, 10, w, h);
    e->SetText(text);
    return e;
  }
  static String TextOf(TksSkinEdit* e) { return e->Text(); }
  static void PutClipboard(HWND owner, const String& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
  }
};

// Every way of changing the text, with and without the edit's own read-only flag.
TEST_F(SkinEdit, ReadOnlyBlocksEveryEditingPath) {
  struct Case {
    const char* what;
    UINT msg;
    WPARAM wp;
    bool shift;
    // False where the system edit reads the real key state, or the key is no edit.
    bool changesWhenWritable;
  };
  const Case cases[] = {
      {"typing", WM_CHAR, 'x', false, true},
      {"backspace", WM_CHAR, VK_BACK, false, true},
      {"ctrl+v char", WM_CHAR, 22, false, false},
      {"ctrl+x char", WM_CHAR, 24, false, false},
      {"delete key", WM_KEYDOWN, VK_DELETE, false, true},
      {"shift+insert", WM_KEYDOWN, VK_INSERT, true, false},
      {"paste", WM_PASTE, 0, false, true},
      {"cut", WM_CUT, 0, false, true},
      {"clear", WM_CLEAR, 0, false, true},
      {"alt+backspace", WM_SYSKEYDOWN, VK_BACK, false, false},
  };
  bool shiftHeld = false;
  ScopedSeam<TPointerSeam> pointer{TPointerSeam{.GetKeyState = [&](int key) -> SHORT {
    return key == VK_SHIFT && shiftHeld ? static_cast<SHORT>(0x8000) : 0;
  }}};
  for (const Case& c : cases) {
    for (bool readOnly : {true, false}) {
      auto* e = NewEdit("hello");
      e->ReadOnly = readOnly;
      PutClipboard(e->Handle(), "abc");
      e->Perform(EM_SETSEL, 0, -1);
      shiftHeld = c.shift;
      e->Perform(c.msg, c.wp, 0);
      shiftHeld = false;
      if (readOnly) {
        EXPECT_EQ(TextOf(e), "hello") << c.what;
      } else if (c.changesWhenWritable) {
        EXPECT_NE(TextOf(e), "hello") << c.what;
      }
      delete e;
    }
  }
}

TEST_F(SkinEdit, ReadOnlyStillCopies) {
  auto* e = NewEdit("hello");
  e->ReadOnly = true;
  PutClipboard(e->Handle(), "zzz");
  e->Perform(EM_SETSEL, 1, 3);
  e->Perform(WM_COPY, 0, 0);
  auto* other = NewEdit("");
  other->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(TextOf(other), "el");
}

TEST_F(SkinEdit, PasteKeepsTheFirstLineOnly) {
  auto* e = NewEdit("");
  for (const char* clip : {"one\r\ntwo", "one\ntwo", "one\rtwo"}) {
    e->SetText("");
    PutClipboard(e->Handle(), clip);
    e->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(e), "one") << clip;
  }
}

TEST_F(SkinEdit, EnterAndEscRaiseTheirEventsOnly) {
  auto* e = NewEdit("ab");
  std::vector<int> presses, downs;
  e->OnKeyPress = [&](TObject*, char& k) { presses.push_back(k); };
  e->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { downs.push_back(k); };
  e->Perform(WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(presses, std::vector<int>{13});
  EXPECT_TRUE(downs.empty());
  EXPECT_EQ(TextOf(e), "ab");
  presses.clear();
  e->Perform(WM_CHAR, VK_ESCAPE, 0);
  EXPECT_EQ(downs, std::vector<int>{27});
  EXPECT_EQ(presses, (std::vector<int>{27, 27}));
}

TEST_F(SkinEdit, OneLineEditLeavesEnterAndEscToTheDialog) {
  auto* e = NewEdit("ab");
  EXPECT_EQ(e->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
  e->WantDialogKeys = true;
  EXPECT_NE(e->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
}

TEST_F(SkinEdit, EnterClicksTheDefaultButton) {
  auto* e = NewEdit("ab");
  auto* ok = new TksSkinButton(form);
  ok->SetParent(form);
  ok->SetBounds(10, 50, 75, 25);
  ok->SetDefault(true);
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  ShowAndActivate();
  e->SetFocus();
  ASSERT_EQ(GetFocus(), e->Handle());
  MSG m{e->Handle(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
  PostMessageA(m.hwnd, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001));
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(TextOf(e), "ab");
}

TEST_F(SkinEdit, ContextMenuEnabledLines) {
  struct Case {
    const char* text;
    int selStart, selEnd;
    bool readOnly;
    // Undo, Cut, Copy, Paste, Delete, Select All
    bool enabled[6];
  };
  const Case cases[] = {
      {"hello", 0, 5, false, {false, true, true, true, true, false}},
      {"hello", 2, 2, false, {false, false, false, true, false, true}},
      {"", 0, 0, false, {false, false, false, true, false, false}},
      {"hello", 1, 3, true, {false, false, true, false, false, true}},
  };
  const int lines[] = {0, 2, 3, 4, 5, 7};
  for (const Case& c : cases) {
    auto* e = NewEdit(c.text);
    PutClipboard(e->Handle(), "clip");
    e->ReadOnly = c.readOnly;
    e->Perform(EM_SETSEL, static_cast<WPARAM>(c.selStart), c.selEnd);
    const auto items = e->ContextMenuItems();
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[1].Name, "-");
    EXPECT_EQ(items[6].Name, "-");
    EXPECT_EQ(items[7].Caption, "Select All");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(items[static_cast<size_t>(lines[i])].Enabled, c.enabled[i]) << c.text << " " << i;
    delete e;
  }
}

TEST_F(SkinEdit, MenuKeyOpensAtTheCentreAndTheEditNeverSeesTheMessage) {
  auto* e = NewEdit("ab", 120, 20);
  TPoint at{};
  int shown = 0;
  e->OnContextMenuPopup = [&](TWinControl*, const std::vector<TksEditMenuItem>&, TPoint p) {
    ++shown;
    at = p;
  };
  EXPECT_EQ(e->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e->Handle()), MAKELPARAM(-1, -1)), 1);
  EXPECT_EQ(shown, 1);
  const TPoint centre = e->ClientToScreen(TPoint{e->Width() / 2, e->Height() / 2});
  EXPECT_EQ(at.X, centre.X);
  EXPECT_EQ(at.Y, centre.Y);
  e->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e->Handle()), MAKELPARAM(300, 400));
  EXPECT_EQ(at.X, 300);
  EXPECT_EQ(at.Y, 400);
}

TEST_F(SkinEdit, MenuCommandsActOnTheEdit) {
  auto* e = NewEdit("hello");
  e->Perform(EM_SETSEL, 0, 0);
  EXPECT_TRUE(RunEditMenuCommand(*e, "EDIT_SELECTALL"));
  EXPECT_EQ(e->SelLength(), 5);
  EXPECT_TRUE(RunEditMenuCommand(*e, "EDIT_DELETE"));
  EXPECT_EQ(TextOf(e), "");
  EXPECT_FALSE(RunEditMenuCommand(*e, "-"));
}

TEST_F(SkinEdit, SkinnedEditTakesTheSkinHeightAndFrame) {
  auto* e = NewEdit("hello", 201, 33);
  e->SetSkinData(&data);
  ASSERT_NE(e->ControlIndex(), -1);
  auto* d = data.ControlData<TksDataSkinEditControl>(e->ControlIndex());
  ASSERT_NE(d, nullptr);
  e->SetBounds(10, 10, 201, 33);
  EXPECT_EQ(e->Width(), 201);
  EXPECT_EQ(e->Height(), RectHeight(d->SkinRect));
  const TRect m = e->FrameMargins();
  EXPECT_EQ(m.Left, d->ClientRect.Left);
  EXPECT_EQ(m.Top, d->ClientRect.Top);
  EXPECT_EQ(m.Right, RectWidth(d->SkinRect) - d->ClientRect.Right);
  RECT client;
  GetClientRect(e->Handle(), &client);
  EXPECT_EQ(client.right, 201 - m.Left - m.Right);
  TBitmap frame;
  e->PaintFrame(frame);
  // The left edge comes from the picture; the stretched middle repeats its middle column.
  EXPECT_EQ(frame.Canvas()->Pixels(0, 5), SkinPixel(d->SkinRect.Left, d->SkinRect.Top + 5));
}

TEST_F(SkinEdit, TheDefaultFontChangedInPlaceIsTheFontOfTheDefaultLook) {
  auto* e = NewEdit();
  e->DefaultFont()->SetName("Courier New");
  e->DefaultFont()->SetHeight(17);
  e->DefaultFont()->SetColor(clNavy);
  EXPECT_EQ(e->Font()->Name(), "Courier New");
  EXPECT_EQ(e->Font()->Height(), 17);
  EXPECT_EQ(e->Font()->Color(), clNavy);
  // Skinned, the skin's font stays until the look goes back to the default.
  e->SetSkinData(&data);
  ASSERT_NE(e->ControlIndex(), -1);
  const String skinFont = e->Font()->Name();
  e->DefaultFont()->SetName("Times New Roman");
  EXPECT_EQ(e->Font()->Name(), skinFont);
  e->SetSkinDataName("no such control");
  e->ChangeSkinData();
  EXPECT_EQ(e->Font()->Name(), "Times New Roman");
}

TEST_F(SkinEdit, AfterLoadingTheFontWritesInTheSkinTextsCharacterSet) {
  TksResourceStrData strings(nullptr);
  strings.CharSet = RUSSIAN_CHARSET;
  data.SetResourceStrData(&strings);
  form->HandleNeeded();
  TksSkinEdit* e = nullptr;
  {
    TComponent::TLoadingScope scope;
    e = new TksSkinEdit(form);
    e->SetParent(form);
    e->SetSkinData(&data);
    e->Font()->SetCharset(ANSI_CHARSET);  // a font given after the skin
    scope.Finish(e);
  }
  EXPECT_EQ(e->Font()->Charset(), RUSSIAN_CHARSET);
  delete e;
  data.SetResourceStrData(nullptr);
}

// Counts the repaints the edit asks for.
class CountingEdit : public TksSkinEdit {
 public:
  using TksSkinEdit::TksSkinEdit;
  void Invalidate() override {
    ++invalidations;
    TksSkinEdit::Invalidate();
  }
  int invalidations = 0;
};

TEST_F(SkinEdit, TransparentRepaintsAfterEveryKey) {
  form->HandleNeeded();
  auto* e = new CountingEdit(form);
  e->SetParent(form);
  e->SetBounds(10, 10, 120, 20);
  e->SetText("hello");
  e->Perform(EM_SETSEL, 0, 0);
  for (WORD key : {VK_RIGHT, VK_END, VK_DELETE}) {
    e->invalidations = 0;
    e->Perform(WM_KEYDOWN, key, 0);
    EXPECT_GE(e->invalidations, 1) << key;
  }
}

TEST_F(SkinEdit, DefaultLookButtonMode) {
  auto* e = NewEdit("x", 100, 20);
  e->SetButtonMode(true);
  e->CalcRects();
  EXPECT_EQ(e->ButtonRect().Left, 80);
  EXPECT_EQ(e->ButtonRect().Right, 100);
  EXPECT_EQ(e->ButtonRect().Bottom, 20);
  EXPECT_EQ(e->FrameMargins().Right, 22);
  RECT client;
  GetClientRect(e->Handle(), &client);
  EXPECT_EQ(client.right, 100 - 2 - 22);
  TBitmap frame;
  e->PaintFrame(frame);
  EXPECT_EQ(frame.Canvas()->Pixels(90, 10), Rgb(clBtnFace));
  EXPECT_EQ(frame.Canvas()->Pixels(80, 10), Rgb(clBtnShadow));
}

TEST_F(SkinEdit, FrameButtonHitCodesAndClick) {
  auto* e = NewEdit("x", 100, 20);
  e->SetButtonMode(true);
  ShowAndActivate();
  const TPoint origin = e->ClientToScreen(TPoint{-2, -2});  // the window's top-left
  auto hit = [&](int x, int y) {
    return e->Perform(WM_NCHITTEST, 0, MAKELPARAM(origin.X + x, origin.Y + y));
  };
  EXPECT_EQ(hit(90, 10), HTHSCROLL);
  EXPECT_EQ(hit(40, 10), HTCLIENT);
  EXPECT_EQ(hit(40, 0), HTVSCROLL);
  int clicks = 0;
  e->OnButtonClick = [&](TObject*) { ++clicks; };
  // A release over the button clicks even when the press began elsewhere, and focuses first.
  e->Perform(WM_NCMOUSEMOVE, HTHSCROLL, 0);
  EXPECT_TRUE(e->ButtonActive());
  bool focusedAtClick = false;
  e->OnButtonClick = [&](TObject*) {
    ++clicks;
    focusedAtClick = GetFocus() == e->Handle();
  };
  e->Perform(WM_NCLBUTTONUP, HTHSCROLL, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(focusedAtClick);
  e->Perform(WM_NCLBUTTONDOWN, HTHSCROLL, 0);
  EXPECT_TRUE(e->ButtonDown());
  // Moving into the text turns the button idle.
  e->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(e->ButtonActive());
  // Presses on the frame never reach the system's scroll-bar tracking (which would wait).
  EXPECT_EQ(e->Perform(WM_NCLBUTTONDOWN, HTVSCROLL, 0), 0);
}

}  // namespace

namespace {

using namespace skintest;

// A button right of the right-top point follows the width; the text stops before it.
TEST_F(SkinCtrls, SkinnedButtonEditKeepsItsButtonAtTheRightEnd) {
  form->HandleNeeded();
  auto* e = new TksSkinEdit(form);
  e->SetParent(form);
  e->SetSkinDataName("buttonedit");
  e->SetButtonMode(true);
  e->SetBounds(0, 0, 180, 20);
  e->SetSkinData(&data);
  ASSERT_NE(e->ControlIndex(), -1);
  auto* d = data.ControlData<TksDataSkinEditControl>(e->ControlIndex());
  const int dW = 180 - RectWidth(d->SkinRect);
  e->CalcRects();
  EXPECT_EQ(e->ButtonRect().Left, d->ButtonRect.Left + dW);
  EXPECT_EQ(e->ButtonRect().Right, d->ButtonRect.Right + dW);
  EXPECT_LE(e->EditRect().Right, e->ButtonRect().Left);
  EXPECT_LE(e->ButtonRect().Right, 180);
}

}  // namespace
