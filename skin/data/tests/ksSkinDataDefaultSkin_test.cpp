// Lint of the program's default skin: it packs, loads and is complete.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "framework/testsupport/SourcePath.h"
#include "skin/data/ksSkinData.h"

namespace {

std::string DefaultSkinFolder() { return SourcePath("skin/defaultskin/"); }

class DefaultSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    stored.LoadFromIniFile(DefaultSkinFolder() + "skin.ini");
    data.FormWindows = [] { return std::vector<HWND>{}; };
    data.SetCompressedStoredSkin(&stored);
  }
  TksCompressedStoredSkin stored{nullptr};
  TksSkinData data{nullptr};
};

TEST_F(DefaultSkin, PacksAtLevelNineAndLoads) {
  ASSERT_FALSE(stored.IsEmpty());
  auto* z = static_cast<const uint8_t*>(stored.CompressedStream().Memory());
  EXPECT_EQ(z[0], 0x78);
  EXPECT_EQ(z[1], 0xDA);
  EXPECT_FALSE(data.Empty);
  EXPECT_FALSE(data.Picture.Empty());
  EXPECT_FALSE(data.MaskPicture.Empty());
  EXPECT_EQ(data.Picture.Width(), data.MaskPicture.Width());
  EXPECT_EQ(data.ActivePictures.size(), 4u);
}

TEST_F(DefaultSkin, EverySectionTheProgramUsesResolves) {
  for (const char* name :
       {"button", "resizebutton", "toolbutton", "stdlabel", "label", "panel", "groupbox", "statuspanel", "statusbar",
        "checkbox", "radiobox", "gauge", "vgauge", "hscrollbar", "vscrollbar", "bothhscrollbar", "scrollbox",
        "listbox", "checklistbox", "combobox", "edit", "memo", "treeview", "listview", "toolpanel", "bevel",
        "vsplitter", "hsplitter", "vupdown", "hupdown", "mainmenubar", "tab"})
    EXPECT_NE(data.GetControlIndex(name), -1) << name;
  for (const auto& d : data.CtrlList) {
    if (auto* bar = dynamic_cast<TksDataSkinMainMenuBar*>(d.get())) {
      for (const String& name : {bar->MenuBarItem, bar->CloseButton, bar->MinButton, bar->MaxButton, bar->SysMenuButton})
        EXPECT_NE(data.GetObjectIndex(name), -1) << name;
    }
  }
}

// The skin the program stores: its objects and its control descriptions by section and
// type word, in the order of its lists.
TEST_F(DefaultSkin, HoldsTheStoredSetOfObjectsAndDescriptions) {
  TMemIniFile ini(DefaultSkinFolder() + "skin.ini");
  auto list = [&](const char* section) {
    std::vector<std::string> entries;
    for (int i = 0; i < ini.ReadInteger(section, "count", 0); ++i)
      entries.push_back(ini.ReadString(section, IntToStr(i), ""));
    return entries;
  };
  const std::vector<std::string> objects = {
      "menuitem:menuitem",       "caption:caption",           "closebutton:stdbutton",
      "minimizebutton:stdbutton", "maximizebutton:stdbutton",  "rollupbutton:stdbutton",
      "sysmenubutton:stdbutton", "mainmenubaritem:mainmenubaritem", "menubarsysmenubutton:mainmenubarbutton",
      "menubarclosebutton:mainmenubarbutton", "menubarmaxbutton:mainmenubarbutton",
      "menubarminbutton:mainmenubarbutton"};
  EXPECT_EQ(list("SKINOBJECTS"), objects);
  EXPECT_EQ(data.ObjectList.size(), 12u);

  const std::pair<const char*, std::vector<const char*>> byType[] = {
      {"button", {"button", "toolbutton", "resizebutton", "bigtoolbutton"}},
      {"menubutton", {"toolmenubutton", "toolmenutrackbutton", "bigtoolmenubutton", "bigtoolmenutrackbutton"}},
      {"checkradio", {"checkbox", "radiobox"}},
      {"panel", {"toolpanel", "panel", "groupbox", "statusbar", "rolluppanel", "bigtoolpanel"}},
      {"expanel", {"expanel"}},
      {"label", {"label", "statuspanel"}},
      {"stdlabel", {"stdlabel"}},
      {"gauge", {"gauge", "vgauge", "statusgauge"}},
      {"trackbar", {"trackbar", "htrackbar"}},
      {"scrollbar", {"hscrollbar", "vscrollbar", "bothhscrollbar"}},
      {"splitter", {"vsplitter", "hsplitter"}},
      {"scrollbox", {"scrollbox"}},
      {"controlbar", {"controlbar"}},
      {"bevel", {"bevel"}},
      {"slider", {"slider"}},
      {"listbox", {"listbox", "captionlistbox"}},
      {"checklistbox", {"checklistbox", "captionchecklistbox"}},
      {"combobox", {"combobox", "captioncombobox"}},
      {"edit", {"edit", "buttonedit"}},
      {"memo", {"memo"}},
      {"spinedit", {"spinedit"}},
      {"updown", {"vupdown", "hupdown"}},
      {"tab", {"tab"}},
      {"grid", {"grid"}},
      {"treeview", {"treeview"}},
      {"listview", {"listview"}},
      {"richedit", {"richedit"}},
      {"mainmenubar", {"mainmenubar"}},
  };
  std::vector<std::string> want;
  for (const auto& [type, names] : byType)
    for (const char* name : names) want.push_back(std::string(name) + ":" + type);
  std::vector<std::string> have = list("SKINCONTROLS");
  std::sort(want.begin(), want.end());
  std::sort(have.begin(), have.end());
  EXPECT_EQ(have, want);
  EXPECT_EQ(data.CtrlList.size(), 52u);
}

// Each section carries exactly the keys its description writes, in the order it writes
// them; the objects leave out "inactiveskinrect".
TEST_F(DefaultSkin, SectionsCarryTheirClassKeysInOrder) {
  TMemIniFile stored_ini(DefaultSkinFolder() + "skin.ini");
  auto keysOf = [](TCustomIniFile& ini, const String& section) {
    TStringList keys;
    ini.ReadSection(section, keys);
    std::vector<std::string> names;
    for (int i = 0; i < keys.Count(); ++i) names.push_back(keys.Strings(i));
    return names;
  };
  auto check = [&](TksDataSection& d, const char* leftOut) {
    TMemIniFile written("");
    d.SaveToFile(written);
    std::vector<std::string> want = keysOf(written, d.IDName);
    std::erase(want, leftOut);
    EXPECT_EQ(keysOf(stored_ini, d.IDName), want) << d.IDName;
  };
  for (const auto& d : data.CtrlList) check(*d, "");
  for (const auto& o : data.ObjectList) check(*o, "inactiveskinrect");
}

bool InPicture(const TksSkinData& data, int index, const TRect& r) {
  TBitmap* b = data.ActivePicture(index);
  return b && r.Left >= 0 && r.Top >= 0 && r.Right <= b->Width() && r.Bottom <= b->Height();
}

TEST_F(DefaultSkin, PictureIndexesRectanglesAndNamesAreValid) {
  const int count = static_cast<int>(data.ActivePictures.size());
  for (const auto& d : data.CtrlList) {
    SCOPED_TRACE(d->IDName);
    TMemIniFile ini;
    d->SaveToFile(ini);
    TStringList keys;
    ini.ReadSection(d->IDName, keys);
    for (int i = 0; i < keys.Count(); ++i) {
      if (!keys.Strings(i).ends_with("pictureindex")) continue;
      int index = ini.ReadInteger(d->IDName, keys.Strings(i), -2);
      EXPECT_TRUE(index == -1 || (index >= 0 && index < count)) << keys.Strings(i);
    }
    if (d->PictureIndex >= 0) {
      EXPECT_TRUE(InPicture(data, d->PictureIndex, d->SkinRect));
    }
    if (const auto* list = dynamic_cast<TksDataSkinListBox*>(d.get())) {
      for (const String& name : {list->VScrollBarName, list->HScrollBarName, list->BothHScrollBarName})
        EXPECT_NE(data.GetControlIndex(name), -1) << name;
    }
    if (auto* combo = dynamic_cast<TksDataSkinComboBox*>(d.get())) {
      EXPECT_NE(data.GetControlIndex(combo->ListBoxName), -1);
    }
  }
  for (const auto& o : data.ObjectList) {
    SCOPED_TRACE(o->IDName);
    EXPECT_TRUE(o->ActivePictureIndex >= -1 && o->ActivePictureIndex < count);
    if (o->SkinRectInAPicture) {
      EXPECT_TRUE(InPicture(data, o->ActivePictureIndex, o->SkinRect));
    } else {
      EXPECT_TRUE(o->SkinRect.Left >= 0 && o->SkinRect.Top >= 0 && o->SkinRect.Right <= data.Picture.Width() &&
                  o->SkinRect.Bottom <= data.Picture.Height());
    }
    if (!IsNullRect(o->ActiveSkinRect)) {
      EXPECT_TRUE(InPicture(data, o->ActivePictureIndex, o->ActiveSkinRect));
    }
  }
  EXPECT_TRUE(InPicture(data, data.PopupWindow.WindowPictureIndex, data.PopupWindow.ItemsRect));
  EXPECT_TRUE(InPicture(data, data.HintWindow.WindowPictureIndex, data.HintWindow.ClientRect));
  // The menu and hint windows take their whole picture as the face: no other element shares it.
  for (auto [index, corner] : {std::pair{data.PopupWindow.WindowPictureIndex, data.PopupWindow.RBPoint},
                               std::pair{data.HintWindow.WindowPictureIndex, data.HintWindow.RBPoint}}) {
    EXPECT_TRUE(InPicture(data, index, TRect{0, 0, corner.X + 1, corner.Y + 1}));
    for (const auto& o : data.ObjectList) EXPECT_NE(o->ActivePictureIndex, index) << o->IDName;
    for (const auto& d : data.CtrlList) EXPECT_NE(d->PictureIndex, index) << d->IDName;
  }
}

// Corners and edges of every nine-part face are at least one pixel.
TEST_F(DefaultSkin, NinePartFacesHaveRealEdges) {
  for (const auto& d : data.CtrlList) {
    auto* c = dynamic_cast<TksDataSkinCustomControl*>(d.get());
    if (!c || dynamic_cast<TksDataSkinUpDownControl*>(c) || IsNullRect(c->SkinRect)) continue;
    SCOPED_TRACE(c->IDName);
    const int w = RectWidth(c->SkinRect), h = RectHeight(c->SkinRect);
    EXPECT_GE(c->LTPoint.X, 1);
    EXPECT_GE(c->LTPoint.Y, 1);
    EXPECT_GE(c->RTPoint.X - c->LTPoint.X, 1);
    EXPECT_GE(c->LBPoint.Y - c->LTPoint.Y, 1);
    EXPECT_GE(w - c->RTPoint.X, 1);
    EXPECT_GE(h - c->LBPoint.Y, 1);
    EXPECT_EQ(c->RBPoint, (TPoint{c->RTPoint.X, c->LBPoint.Y}));
  }
}

// The frame's sections: one caption that stretches across the title, one caption
// button per command placed from the button strip, corner areas inside the picture
// and a border wide enough to size a form by.
TEST_F(DefaultSkin, FrameSectionsFitTheFrame) {
  const int pw = data.Picture.Width(), ph = data.Picture.Height();
  const RECT lt{0, 0, data.LTPoint.X, data.LTPoint.Y};
  const RECT rt{data.RTPoint.X, 0, pw, data.RTPoint.Y};
  EXPECT_LE(data.LTPoint.X, data.RTPoint.X);
  EXPECT_LE(data.LBPoint.X, data.RBPoint.X);
  EXPECT_LE(data.RTPoint.X, pw);
  EXPECT_LE(data.RBPoint.Y, ph);
  EXPECT_GE(data.BorderWidth, 3);
  EXPECT_FALSE(IsNullRect(data.CaptionRect));
  int captions = 0;
  std::vector<TksStdButtonCommand> commands;
  for (const auto& o : data.ObjectList) {
    SCOPED_TRACE(o->IDName);
    // The menu bar's buttons for a maximized MDI child are no caption buttons.
    if (dynamic_cast<TksDataSkinMainMenuBarButton*>(o.get())) continue;
    if (auto* c = dynamic_cast<TksDataSkinCaption*>(o.get())) {
      ++captions;
      EXPECT_TRUE(PtInRect(&lt, POINT{c->SkinRect.Left, c->SkinRect.Top}));
      EXPECT_TRUE(PtInRect(&rt, POINT{c->SkinRect.Right, c->SkinRect.Bottom}));
      // Relative to the caption's own rectangle.
      EXPECT_GE(c->TextRect.Left, 0);
      EXPECT_LE(c->TextRect.Right, RectWidth(c->SkinRect));
      EXPECT_LE(c->TextRect.Bottom, RectHeight(c->SkinRect));
    } else if (auto* b = dynamic_cast<TksDataSkinStdButton*>(o.get())) {
      commands.push_back(b->Command);
      EXPECT_TRUE(b->SkinRectInAPicture);
      EXPECT_LE(RectHeight(b->SkinRect), RectHeight(data.CaptionRect));
    }
  }
  EXPECT_EQ(captions, 1);
  // No button of its own for the tray: the window menu has the command.
  for (TksStdButtonCommand c : {cmClose, cmMaximize, cmMinimize, cmSysMenu, cmRollUp})
    EXPECT_EQ(std::count(commands.begin(), commands.end(), c), 1) << int(c);
  EXPECT_EQ(commands.size(), 5u);
}

}  // namespace
