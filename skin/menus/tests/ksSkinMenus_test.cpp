// The skinned menu engine played by a plain form: notifications when a chain
// closes, the hover delay, keys, geometry and fade of a level, and both looks
// painted into memory.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "framework/gui/extctrls.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/tests/ksFakeLayeredAlpha.h"
#include "skin/tests/ksFakeTimers.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

constexpr TRect kWorkArea{0, 0, 800, 600};

class SkinMenu : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    ctrl = new TPanel(form);
    ctrl->SetParent(form);
    Record(form, "form");
    Record(ctrl, "ctrl");
    engine = new TksSkinMenu(form, form);
    root = new TPopupMenu(form);
  }
  void TearDown() override {
    delete engine;
    engine = nullptr;
    Application->ProcessMessages();  // queued levels
    SkinCtrls::TearDown();
  }
  void Record(TControl* control, std::string who) {
    TWndMethodEvent previous = control->WindowProc();
    control->SetWindowProc([this, who, previous](TMessage& m) {
      if (m.Msg == WM_SKINMENUCLOSED) log.push_back(who + ":closed");
      if (m.Msg == WM_CLOSESKINMENU) log.push_back(who + ":done");
      previous(m);
    });
  }
  // Adds items by caption: "-" a separator, "!x" disabled, ">x" with two subitems.
  TMenuItem* AddItems(TMenuItem* parent, const std::vector<std::string>& captions) {
    for (const std::string& s : captions) {
      auto* item = new TMenuItem(form);
      std::string caption = s;
      bool disabled = false, sub = false;
      for (; caption.starts_with("!") || caption.starts_with(">"); caption.erase(0, 1))
        (caption[0] == '!' ? disabled : sub) = true;
      item->SetCaption(caption);
      item->SetEnabled(!disabled);
      item->OnClick = [this, caption](TObject*) { log.push_back("click " + caption); };
      parent->Add(item);
      if (sub) AddItems(item, {caption + "1", caption + "2"});
    }
    return parent;
  }
  TksSkinPopupWindow* Open(const std::vector<std::string>& captions, TksSkinData* skin = nullptr,
                           TRect anchor = TRect{100, 100, 100, 100}) {
    AddItems(root->Items(), captions);
    engine->Popup(ctrl, skin, false, root->Items(), anchor, 0);
    return engine->TopLevel();
  }
  TksSkinPopupWindow* Level(size_t i) { return engine->Levels().at(i); }

  ScopedSeam<TScreenSeam> screen{TScreenSeam{.Monitors = [] {
    TMonitorInfo m;
    m.Bounds = m.WorkArea = kWorkArea;
    m.Primary = true;
    return std::vector<TMonitorInfo>{m};
  }}};
  FakeTimers timers;
  TPoint cursor{-1, -1};
  HWND underCursor = nullptr;
  ScopedSeam<TPointerSeam> pointer{TPointerSeam{
      .GetCursorPos = [this](POINT* p) -> BOOL {
        *p = POINT{cursor.X, cursor.Y};
        return TRUE;
      },
      .WindowFromPoint = [this](POINT) { return underCursor; },
  }};
  // Puts the cursor on a level's item and lets the level poll it.
  void HoverItem(TksSkinPopupWindow* level, int index) {
    const TRect r = level->Items.at(static_cast<size_t>(index))->ObjectRect;
    cursor = TPoint{level->Left() + r.Left + 3, level->Top() + r.Top + 2};
    underCursor = level->Handle();
    FireTimer(&level->MouseTimer);
  }

  TPanel* ctrl = nullptr;
  TksSkinMenu* engine = nullptr;
  TPopupMenu* root = nullptr;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(SkinMenu, ChoosingALeafClosesTellsAndRunsTheCommandInOrder) {
  Open({"A", "B"});
  ASSERT_EQ(engine->Levels().size(), 1u);
  EXPECT_TRUE(engine->Visible());
  EXPECT_EQ(Level(0)->ActiveItem, 0);
  engine->TopLevel()->ProcessKey(VK_DOWN);
  engine->TopLevel()->ProcessKey(VK_RETURN);
  EXPECT_EQ(log, (Log{"ctrl:closed", "form:closed", "click B", "ctrl:done"}));
  EXPECT_TRUE(engine->Levels().empty());
  EXPECT_FALSE(engine->Visible());
}

TEST_F(SkinMenu, AClickHandlerThatFreesItsControlLeavesNothingDangling) {
  Open({"A"});
  root->Items()->Items(0)->OnClick = [this](TObject*) { FreeAndNil(ctrl); };
  engine->TopLevel()->ProcessKey(VK_RETURN);
  EXPECT_EQ(ctrl, nullptr);
  EXPECT_EQ(engine->CommandCtrl(), nullptr);
  EXPECT_EQ(log, (Log{"ctrl:closed", "form:closed"}));
}

TEST_F(SkinMenu, AClickHandlerThatFreesTheMenuEndsCleanly) {
  TksSkinPopupWindow* level = Open({"A", "B"});
  HWND window = level->Handle();
  bool aliveInHandler = false;
  root->Items()->Items(1)->OnClick = [&](TObject*) {
    aliveInHandler = IsWindow(window) && !IsWindowVisible(window);  // hidden and unlisted, not yet freed
    FreeAndNil(root);
  };
  const TRect r = level->Items[1]->ObjectRect;
  level->Perform(WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 5, r.Top + 5));
  EXPECT_TRUE(aliveInHandler);
  Application->ProcessMessages();  // the level goes once its handler has returned
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(root, nullptr);
  EXPECT_EQ(log, (Log{"ctrl:closed", "form:closed", "ctrl:done"}));
}

TEST_F(SkinMenu, MouseUpOnALevelChoosesTheItemUnderIt) {
  TksSkinPopupWindow* level = Open({"A", "B"});
  const TRect r = level->Items[1]->ObjectRect;
  level->Perform(WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 5, r.Top + 5));
  EXPECT_EQ(log, (Log{"ctrl:closed", "form:closed", "click B", "ctrl:done"}));
}

TEST_F(SkinMenu, HoveringASubmenuItemOpensItAfterTheDelayAndLeavingCancels) {
  TksSkinPopupWindow* level = Open({"A", ">S", "B"});
  HoverItem(level, 1);
  EXPECT_EQ(engine->WaitItem(), level->Items[1].get());
  EXPECT_EQ(timers.armed.count(engine->WaitTimer()->TimerId()), 1u);
  EXPECT_EQ(engine->WaitTimer()->Interval(), 500u);
  EXPECT_EQ(engine->Levels().size(), 1u);
  FireTimer(engine->WaitTimer());
  ASSERT_EQ(engine->Levels().size(), 2u);
  EXPECT_TRUE(level->Items[1]->Down);
  EXPECT_EQ(Level(1)->Items.size(), 2u);
  EXPECT_EQ(log, (Log{"click S"}));  // a submenu item's click runs as it opens

  // Hovering a plain item of the first level closes the second at once.
  HoverItem(level, 2);
  EXPECT_EQ(engine->Levels().size(), 1u);
  EXPECT_FALSE(level->Items[1]->Down);

  HoverItem(level, 1);
  HoverItem(level, 0);
  EXPECT_EQ(engine->WaitItem(), nullptr);
  EXPECT_FALSE(engine->WaitTimer()->Enabled());
  EXPECT_EQ(engine->Levels().size(), 1u);
}

TEST_F(SkinMenu, TheBorderKeepsTheHighlightAndASeparatorTakesIt) {
  TksSkinPopupWindow* level = Open({"A", "B", "-", "C"});
  HoverItem(level, 1);
  ASSERT_TRUE(level->Items[1]->Active);
  cursor = TPoint{level->Left() + 1, level->Top() + level->Height() - 1};  // on the frame
  FireTimer(&level->MouseTimer);
  EXPECT_EQ(level->ActiveItem, 1);
  EXPECT_TRUE(level->Items[1]->Active);
  HoverItem(level, 2);
  EXPECT_EQ(level->ActiveItem, 2);
  EXPECT_FALSE(level->Items[1]->Active);
  EXPECT_FALSE(level->Items[2]->Active);
}

TEST_F(SkinMenu, AnOpeningControlFreedWhileOpenIsNotTold) {
  Open({"A"});
  FreeAndNil(ctrl);
  EXPECT_EQ(engine->PopupCtrl(), nullptr);
  engine->CloseMenu();
  EXPECT_EQ(log, (Log{"form:closed"}));
}

TEST_F(SkinMenu, ClickingASubmenuItemRunsItsClickThenOpensAtOnce) {
  TksSkinPopupWindow* level = Open({"A", ">S"});
  const TRect r = level->Items[1]->ObjectRect;
  level->Perform(WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 5, r.Top + 5));
  EXPECT_EQ(log, (Log{"click S"}));
  ASSERT_EQ(engine->Levels().size(), 2u);
  // Its first item sits beside the parent item.
  EXPECT_EQ(Level(1)->Top() + Level(1)->Items[0]->ObjectRect.Top, level->Top() + r.Top);
  EXPECT_EQ(Level(1)->Left(), level->Left() + r.Right + 1);
}

TEST_F(SkinMenu, ClosingALevelDropsTheHoverDelayThatLivesInIt) {
  TksSkinPopupWindow* level = Open({">S"});
  AddItems(root->Items()->Items(0)->Items(0), {"deep"});  // S1 gets a submenu of its own
  level->ProcessKey(VK_RIGHT);
  ASSERT_EQ(engine->Levels().size(), 2u);
  HoverItem(Level(1), 0);
  ASSERT_EQ(engine->WaitItem(), Level(1)->Items[0].get());
  engine->CloseToLevel(1);
  EXPECT_EQ(engine->WaitItem(), nullptr);
  EXPECT_FALSE(engine->WaitTimer()->Enabled());
  EXPECT_EQ(engine->Levels().size(), 1u);
}

struct KeyCase {
  const char* name;
  std::vector<std::string> items;
  std::vector<WORD> keys;
  int active;     // on the top level afterwards
  size_t levels;  // open afterwards
};

TEST_F(SkinMenu, KeysMoveOpenAndCloseAsTheTableSays) {
  const KeyCase cases[] = {
      {"down wraps to the first", {"A", "B", "C"}, {VK_DOWN, VK_DOWN, VK_DOWN}, 0, 1},
      {"up on the first goes to the last", {"A", "B", "C"}, {VK_UP}, 2, 1},
      {"skips separators and disabled", {"A", "-", "!B", "C"}, {VK_DOWN}, 3, 1},
      {"up stays with only disabled before", {"!A", "-", "B", "C"}, {VK_UP}, 2, 1},
      {"down stays with only disabled after", {"A", "B", "-", "!C"}, {VK_DOWN, VK_DOWN}, 1, 1},
      {"all disabled: no highlight", {"!A", "-", "!B"}, {VK_DOWN, VK_UP}, -1, 1},
      {"right on a leaf does nothing", {"A", ">S"}, {VK_RIGHT}, 0, 1},
      {"right opens a submenu", {">S", "A"}, {VK_RIGHT}, 0, 2},
      {"left at the second level closes it", {">S", "A"}, {VK_RIGHT, VK_LEFT}, 0, 1},
      {"escape at the second level closes it", {">S", "A"}, {VK_RIGHT, VK_ESCAPE}, 0, 1},
      {"left with one level does nothing", {"A", "B"}, {VK_DOWN, VK_LEFT}, 1, 1},
      {"escape with one level closes", {"A"}, {VK_ESCAPE}, -1, 0},
      {"enter on a disabled item does nothing", {"A", "!&B"}, {'B', VK_RETURN}, 1, 1},
      {"accelerator chooses", {"&Open", "&Save"}, {'S'}, -1, 0},
      {"accelerator of a disabled item only highlights", {"&Open", "!&Save"}, {'S'}, 1, 1},
      {"accelerator opens a submenu", {"&Open", ">&Recent"}, {'R'}, 0, 2},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    root->Items()->Clear();
    log.clear();
    Open(c.items);
    for (WORD key : c.keys) engine->TopLevel()->ProcessKey(key);
    EXPECT_EQ(engine->Levels().size(), c.levels);
    if (engine->TopLevel() != nullptr) {
      EXPECT_EQ(engine->TopLevel()->ActiveItem, c.active);
    }
    engine->CloseMenu();
    Application->ProcessMessages();
  }
}

TEST_F(SkinMenu, EscapeWithOneLevelTellsTheControlButNotTheForm) {
  Open({"A"})->ProcessKey(VK_ESCAPE);
  EXPECT_EQ(log, (Log{"ctrl:closed"}));
  EXPECT_EQ(engine->PopupCtrl(), nullptr);
}

TEST_F(SkinMenu, EscapeAtTheSecondLevelReleasesTheParentItem) {
  TksSkinPopupWindow* level = Open({">S"});
  level->ProcessKey(VK_RIGHT);
  ASSERT_TRUE(level->Items[0]->Down);
  engine->TopLevel()->ProcessKey(VK_ESCAPE);
  EXPECT_FALSE(level->Items[0]->Down);
  EXPECT_TRUE(level->Items[0]->Active);
  EXPECT_EQ(log, (Log{"click S"}));  // the chain stays open and nobody is told
}

TEST_F(SkinMenu, AccelDisabledSubmenuItemStartsTheHoverDelay) {
  TksSkinPopupWindow* level = Open({"A", "!>&Recent"});
  level->ProcessKey('R');
  EXPECT_EQ(engine->WaitItem(), level->Items[1].get());
  EXPECT_EQ(engine->Levels().size(), 1u);
}

TEST_F(SkinMenu, APopupWithNoVisibleSubitemShowsNothingAndEndsLikeAClose) {
  AddItems(root->Items(), {"A", "B"});
  for (int i = 0; i < 2; ++i) root->Items()->Items(i)->SetVisible(false);
  engine->Popup(ctrl, nullptr, false, root->Items(), TRect{10, 10, 10, 10}, 0);
  EXPECT_TRUE(engine->Levels().empty());
  EXPECT_FALSE(engine->Visible());
  EXPECT_EQ(log, (Log{"ctrl:closed", "form:closed"}));
  log.clear();
  root->Items()->Items(1)->SetVisible(true);
  engine->Popup(ctrl, nullptr, false, root->Items(), TRect{10, 10, 10, 10}, 2);  // start beyond the items
  EXPECT_TRUE(engine->Levels().empty());
  EXPECT_EQ(log, (Log{"ctrl:closed", "form:closed"}));
}

TEST_F(SkinMenu, APopupOnAnOpenChainTellsThePreviousControl) {
  Open({"A"});
  auto* other = new TPanel(form);
  other->SetParent(form);
  Record(other, "other");
  engine->Popup(other, nullptr, false, root->Items(), TRect{10, 10, 10, 10}, 0);
  EXPECT_EQ(log, (Log{"ctrl:closed"}));
  engine->CloseMenu();
  EXPECT_EQ(log, (Log{"ctrl:closed", "other:closed", "form:closed"}));
}

TEST_F(SkinMenu, FreeingTheEngineTellsAStillOpenControl) {
  Open({"A"});
  delete engine;
  engine = nullptr;
  EXPECT_EQ(log, (Log{"ctrl:closed"}));
}

TEST_F(SkinMenu, TheFirstLevelFadesInAndSubmenusTakeTheFinalAlpha) {
  FakeLayeredAlpha xpAlpha;
  engine->AlphaBlend = engine->AlphaBlendAnimation = true;
  engine->AlphaBlendValue = 10;
  TksSkinPopupWindow* level = Open({">S"});
  EXPECT_EQ(xpAlpha.alphas, (std::vector<int>{0, 3, 6, 9, 10}));
  EXPECT_NE(GetWindowLongA(level->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  xpAlpha.alphas.clear();
  level->ProcessKey(VK_RIGHT);
  EXPECT_EQ(xpAlpha.alphas, (std::vector<int>{10}));
  xpAlpha.alphas.clear();
  engine->Popup(ctrl, nullptr, false, root->Items(), TRect{10, 10, 10, 10}, 0);  // on an open chain
  EXPECT_EQ(xpAlpha.alphas, (std::vector<int>{10}));
}

// ---- geometry ---------------------------------------------------------------------

int TextWidthOf(TFont* font, const String& text) {
  TBitmap b(1, 1);
  b.Canvas()->SetFont(font);
  RECT r{0, 0, 0, 0};
  DrawTextA(b.Canvas()->Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right;
}

TEST_F(SkinMenu, AnUnskinnedLevelMeasuresItsItemsAndShortcut) {
  std::vector<std::string> captions(10, "Item");
  captions.insert(captions.begin() + 3, "-");
  captions.insert(captions.begin() + 7, "-");
  TksSkinPopupWindow* level = Open(captions);
  EXPECT_EQ(level->Height(), 10 * 20 + 2 * 4 + 4);
  EXPECT_EQ(level->Width(), TextWidthOf(&level->ItemFont, "Item") + 2 + 19 + 19 + 10);
  engine->CloseMenu();

  root->Items()->Clear();
  AddItems(root->Items(), {"Save"});
  root->Items()->Items(0)->SetShortCut(ShortCut('S', ssCtrl));
  engine->Popup(ctrl, nullptr, false, root->Items(), TRect{10, 10, 10, 10}, 0);
  level = engine->TopLevel();
  EXPECT_EQ(level->Width(), TextWidthOf(&level->ItemFont, "Save  Ctrl+S") + 2 + 19 + 19 + 10);
}

struct PlaceCase {
  const char* name;
  TRect anchor;
  bool popupUp;
  int items;
  std::function<TPoint(int w, int h)> expected;
};

TEST_F(SkinMenu, ALevelPlacesItselfInsideTheWorkArea) {
  const PlaceCase cases[] = {
      {"below the point", {100, 100, 100, 100}, false, 3, [](int, int) { return TPoint{100, 100}; }},
      {"lower right: left and above", {790, 590, 790, 590}, false, 3,
       [](int w, int h) { return TPoint{800 - w, 590 - h}; }},
      {"upper half, too tall: bottom at the work area's, right of the point", {300, 250, 300, 250}, false, 20,
       [](int, int h) { return TPoint{301, 600 - h}; }},
      {"upper half near the right edge: left of the point", {790, 250, 790, 250}, false, 20,
       [](int w, int h) { return TPoint{790 - w - 1, 600 - h}; }},
      {"popup up", {100, 400, 150, 420}, true, 3, [](int, int h) { return TPoint{100, 400 - h}; }},
      {"too tall to fit: scrolls at the top", {100, 100, 100, 100}, false, 40, [](int, int) { return TPoint{101, 0}; }},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    root->Items()->Clear();
    AddItems(root->Items(), std::vector<std::string>(static_cast<size_t>(c.items), "Item"));
    engine->Popup(ctrl, nullptr, c.popupUp, root->Items(), c.anchor, 0);
    TksSkinPopupWindow* level = engine->TopLevel();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ((TPoint{level->Left(), level->Top()}), c.expected(level->Width(), level->Height()));
    engine->CloseMenu();
  }
}

TEST_F(SkinMenu, ASubmenuThatDoesNotFitRightOpensLeft) {
  TksSkinPopupWindow* level = Open({">Submenu"}, nullptr, TRect{760, 100, 760, 100});
  level->ProcessKey(VK_RIGHT);
  ASSERT_EQ(engine->Levels().size(), 2u);
  EXPECT_EQ(Level(1)->Left() + Level(1)->Width() + 1, level->Left() + level->Items[0]->ObjectRect.Left);
}

TEST_F(SkinMenu, AScrollingLevelFillsTheWorkAreaAndScrollsByItsMarkers) {
  // 223 high: the room between the markers is one pixel short of ten items.
  ScopedSeam<TScreenSeam> low{TScreenSeam{.Monitors = [] {
    TMonitorInfo m;
    m.Bounds = m.WorkArea = RECT{0, 40, 800, 263};
    m.Primary = true;
    return std::vector<TMonitorInfo>{m};
  }}};
  TksSkinPopupWindow* level = Open(std::vector<std::string>(40, "Item"));
  ASSERT_TRUE(level->Scroll);
  EXPECT_EQ(level->Height(), 223);
  EXPECT_EQ(level->Top(), 40);
  EXPECT_EQ(level->Items[0]->ObjectRect.Top, 2 + 10);
  const int shown = level->VisibleCount;
  EXPECT_EQ(shown, 9);
  // The lower marker scrolls one item per tick and stops at the end.
  const TRect lower = level->LowerMarker();
  cursor = TPoint{level->Left() + lower.Left + 5, level->Top() + lower.Top + 3};
  underCursor = level->Handle();
  FireTimer(&level->MouseTimer);
  EXPECT_EQ(level->ScrollState, 2);
  ASSERT_EQ(timers.armed.count(TksSkinPopupWindow::kScrollTimerId), 1u);
  EXPECT_EQ(timers.armed[TksSkinPopupWindow::kScrollTimerId], 100u);
  for (int i = 0; i < 100; ++i) SendMessageA(level->Handle(), WM_TIMER, TksSkinPopupWindow::kScrollTimerId, 0);
  EXPECT_EQ(level->TopIndex, 40 - shown);
  EXPECT_EQ(level->ScrollState, 0);
  EXPECT_TRUE(level->Items[39]->Visible);

  // Down on the last item goes to the first page; Up there to the end page, its last item laid out.
  level->ProcessKey(VK_UP);  // from the first item to the last
  EXPECT_EQ(level->ActiveItem, 39);
  level->ProcessKey(VK_DOWN);
  EXPECT_EQ(level->TopIndex, 0);
  EXPECT_EQ(level->ActiveItem, 0);
  level->ScrollUp(true);
  EXPECT_EQ(level->TopIndex, level->GetEndTopIndex());
  EXPECT_TRUE(level->Items[39]->Visible);
  EXPECT_LE(level->Items[39]->ObjectRect.Bottom, level->NewItemsRect.Bottom - 10);
}

TEST_F(SkinMenu, ArrowKeysScrollPastItemsThatCannotBeChosen) {
  std::vector<std::string> captions(40, "Item");
  captions[38] = captions[39] = "!Off";
  TksSkinPopupWindow* level = Open(captions);
  ASSERT_TRUE(level->Scroll);
  // Up from the first item: the end page comes, its disabled tail in view.
  level->ProcessKey(VK_UP);
  EXPECT_EQ(level->ActiveItem, 37);
  EXPECT_EQ(level->TopIndex, level->GetEndTopIndex());
  EXPECT_TRUE(level->Items[39]->Visible);
  // Down finds nothing after it: the highlight stays.
  level->ProcessKey(VK_DOWN);
  EXPECT_EQ(level->ActiveItem, 37);
  EXPECT_TRUE(level->Items[39]->Visible);
  // Down on the last laid-out item of the first page scrolls by one.
  engine->CloseMenu();
  root->Items()->Clear();
  level = Open(captions);
  for (int i = 1; i < level->VisibleCount; ++i) level->ProcessKey(VK_DOWN);
  ASSERT_EQ(level->TopIndex, 0);
  ASSERT_EQ(level->ActiveItem, level->VisibleCount - 1);
  level->ProcessKey(VK_DOWN);
  EXPECT_EQ(level->TopIndex, 1);
  EXPECT_EQ(level->ActiveItem, level->VisibleCount);
}

TEST_F(SkinMenu, AnUnskinnedLevelScrollsFromTheStripsAtTheEndsOfItsItems) {
  TksSkinPopupWindow* level = Open(std::vector<std::string>(80, "Item"));
  ASSERT_TRUE(level->Scroll);
  // Above the drawn lower marker, inside the strip at the end of the items area.
  const int y = level->NewItemsRect.Bottom - 10;
  ASSERT_LT(y, level->LowerMarker().Top);
  cursor = TPoint{level->Left() + level->Width() / 2, level->Top() + y};
  underCursor = level->Handle();
  FireTimer(&level->MouseTimer);
  EXPECT_EQ(level->ScrollState, 2);
}

TEST_F(SkinMenu, AnAcceleratorScrollsItsItemIntoView) {
  std::vector<std::string> captions(40, "Item");
  captions[35] = "!&Zed";  // disabled: highlighted, not chosen
  TksSkinPopupWindow* level = Open(captions);
  ASSERT_TRUE(level->Scroll);
  ASSERT_FALSE(level->Items[35]->Visible);
  level->ProcessKey('Z');
  EXPECT_EQ(level->ActiveItem, 35);
  EXPECT_TRUE(level->Items[35]->Visible);
}

// ---- looks ------------------------------------------------------------------------

COLORREF Sample(TksSkinPopupWindow* level, TBitmap& shot, int x, int y) {
  shot.SetSize(level->Width(), level->Height());
  level->PaintMenu(shot.Canvas()->Handle());
  return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y));
}

TEST_F(SkinMenu, TheUnskinnedLookHasAColumnABodyAFrameAndAHighlight) {
  TksSkinPopupWindow* level = Open({"A", "B", "-", "C"});
  TBitmap shot;
  const TRect b = level->Items[1]->ObjectRect;
  EXPECT_EQ(Sample(level, shot, 0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Sample(level, shot, b.Left + 5, b.Top + 1), Rgb(clBtnFace));
  EXPECT_EQ(Sample(level, shot, b.Right - 3, b.Top + 1), Rgb(clWindow));
  const TRect a = level->Items[0]->ObjectRect;  // highlighted at opening
  EXPECT_EQ(Sample(level, shot, a.Left, a.Top), RGB(0, 0, 128));
  EXPECT_EQ(Sample(level, shot, a.Left + 5, a.Top + 2), RGB(182, 189, 210));
  const TRect sep = level->Items[2]->ObjectRect;
  EXPECT_EQ(Sample(level, shot, sep.Left + 19, sep.Top + 2), Rgb(clBtnShadow));
  EXPECT_EQ(Sample(level, shot, sep.Left + 18, sep.Top + 2), Rgb(clBtnFace));
}

TEST_F(SkinMenu, TheSkinnedLookDrawsTheWindowPictureAndTheItemFaces) {
  TksSkinPopupWindow* level = Open({"A", "B", "-", "C"}, &data);
  ASSERT_TRUE(level->Skinned());
  TBitmap* window = data.ActivePicture(data.PopupWindow.WindowPictureIndex);
  TBitmap shot;
  const auto windowPixel = [&](int x, int y) { return static_cast<COLORREF>(window->Canvas()->Pixels(x, y)); };
  // The corners stay as drawn at any size.
  EXPECT_EQ(Sample(level, shot, 0, 0), windowPixel(0, 0));
  EXPECT_EQ(Sample(level, shot, level->Width() - 2, level->Height() - 2),
            windowPixel(window->Width() - 2, window->Height() - 2));
  // An item in its normal face, a sample of the description's own rectangle.
  const TksDataSkinMenuItem& d = *level->ItemData;
  TBitmap* atlas = data.ActivePicture(d.ActivePictureIndex);
  const TRect b = level->Items[1]->ObjectRect;
  EXPECT_EQ(Sample(level, shot, b.Left + 1, b.Top + 1),
            static_cast<COLORREF>(atlas->Canvas()->Pixels(d.SkinRect.Left + 1, d.SkinRect.Top + 1)));
  const TRect a = level->Items[0]->ObjectRect;
  EXPECT_EQ(Sample(level, shot, a.Left, a.Top + 5),
            static_cast<COLORREF>(atlas->Canvas()->Pixels(d.ActiveSkinRect.Left, d.ActiveSkinRect.Top + 5)));
  EXPECT_EQ(level->Items[2]->Height(), RectHeight(d.DividerRect));
}

TEST_F(SkinMenu, AMorphingItemFadesInFiveStepsBothWays) {
  TksSkinPopupWindow* level = Open({"A", "B"}, &data);
  engine->CloseMenu();
  level->ItemData->Morphing = true;
  level = Open({}, &data);
  ASSERT_TRUE(level->Skinned());
  TksSkinMenuItem& first = *level->Items[0];
  ASSERT_TRUE(first.Active);
  ASSERT_TRUE(level->MorphTimer.Enabled());
  EXPECT_EQ(level->MorphTimer.Interval(), 20u);
  for (int step = 1; step <= 5; ++step) {
    FireTimer(&level->MorphTimer);
    EXPECT_EQ(first.MorphKf, step);
  }
  FireTimer(&level->MorphTimer);
  EXPECT_FALSE(level->MorphTimer.Enabled());
  HoverItem(level, 1);  // the first fades back while the second fades in
  for (int step = 1; step <= 5; ++step) FireTimer(&level->MorphTimer);
  EXPECT_EQ(first.MorphKf, 0);
  EXPECT_EQ(level->Items[1]->MorphKf, 5);
}

TEST_F(SkinMenu, AnItemDescriptionWithoutAPictureLeavesTheSkinAsLoaded) {
  TksDataSkinMenuItem* d = nullptr;
  for (auto& o : data.ObjectList)
    if ((d = dynamic_cast<TksDataSkinMenuItem*>(o.get())) != nullptr) break;
  ASSERT_NE(d, nullptr);
  const TRect skinRect = d->SkinRect, activeRect = d->ActiveSkinRect;
  for (int index : {-1, 99}) {
    SCOPED_TRACE(index);
    d->ActivePictureIndex = index;
    TksSkinPopupWindow* level = Open({"A"}, &data);
    EXPECT_FALSE(level->Skinned());
    EXPECT_EQ(level->Items[0]->Height(), 20);
    EXPECT_EQ(d->SkinRect, skinRect);
    EXPECT_EQ(d->ActiveSkinRect, activeRect);
    engine->CloseMenu();
    root->Items()->Clear();
  }
}

TEST(SkinMenuMessages, ExactlyTheThirteenClosingMessagesCloseAChain) {
  int count = 0;
  for (UINT m = 0; m < 0x400; ++m) count += IsMenuCloseMessage(m) ? 1 : 0;
  EXPECT_EQ(count, 13);
  for (UINT m : {WM_MOVE, WM_SIZE, WM_ACTIVATE, WM_KILLFOCUS, WM_CANCELMODE, WM_MOUSEACTIVATE, WM_NCLBUTTONDOWN,
                 WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_PARENTNOTIFY})
    EXPECT_TRUE(IsMenuCloseMessage(m)) << m;
}

}  // namespace
