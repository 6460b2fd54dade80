#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "skin/data/ksSkinData.h"

namespace {

using Keys = std::vector<std::string>;

Keys operator+(Keys a, const Keys& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Keys kControl = {"pictureindex", "maskpictureindex", "skinrect"};
const Keys kCustom = kControl + Keys{"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect"};
Keys Font(const std::string& prefix = "") {
  return {prefix + "fontname", prefix + "fontheight", prefix + "fontstyle", prefix + "fontcolor"};
}
const Keys kButton = kCustom + Font() +
                     Keys{"activefontcolor", "downfontcolor", "disabledfontcolor", "activeskinrect", "downskinrect",
                          "disabledskinrect", "morphing", "morphkind"};
const Keys kListBox = kCustom + Keys{"itemrect", "activeitemrect", "focusitemrect", "itemleftoffset",
                                     "itemrightoffset", "itemtextrect"} +
                      Font() + Keys{"activefontcolor", "focusfontcolor", "captionrect"} + Font("caption") +
                      Keys{"upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",
                           "activedownbuttonrect", "downdownbuttonrect", "checkbuttonrect", "activecheckbuttonrect",
                           "downcheckbuttonrect", "vscrollbarname", "hscrollbarname", "bothhscrollbarname"};
const Keys kEdit = kCustom + Keys{"activeskinrect"} + Font() +
                   Keys{"disabledfontcolor", "activefontcolor", "buttonrect", "activebuttonrect", "downbuttonrect",
                        "unenabledbuttonrect"};
const Keys kUpDownOwn = {"upbuttonrect",   "activeupbuttonrect",   "downupbuttonrect",
                         "downbuttonrect", "activedownbuttonrect", "downdownbuttonrect"};
const Keys kFontBG = kControl + Font() + Keys{"bgcolor"};
const Keys kObject = {"hint",           "activepictureindex", "skinrectinapicture", "skinrect",
                      "activeskinrect", "inactiveskinrect",   "morphing",           "morphkind"};
const Keys kStdButton = kObject + Keys{"downrect", "disableskinrsect", "command", "restorerect", "restoreactiverect",
                                       "restoredownrect", "restoreinactiverect"};
const Keys kMainMenuItem = kObject +
                           Keys{"itemleftoffset", "itemrightoffset", "downrect", "textrect"} + Font() +
                           Keys{"activefontcolor", "downfontcolor", "unenabledfontColor"};

struct KeyOrderCase {
  const char* type;
  bool object;
  Keys keys;
};

const std::vector<KeyOrderCase>& KeyOrderCases() {
  static const std::vector<KeyOrderCase> cases = {
      {"button", false, kButton},
      {"menubutton", false, kButton + Keys{"trackbuttonrect"}},
      {"checkradio", false,
       kCustom + Font() +
           Keys{"framefontcolor", "activefontcolor", "unenabledfontcolor", "activeskinrect", "checkimagearea",
                "textarea", "checkimagerect", "uncheckimagerect", "activecheckimagerect", "activeuncheckimagerect",
                "unenabledcheckimagerect", "unenableduncheckimagerect", "morphing", "morphkind"}},
      {"panel", false,
       kCustom + Keys{"bgpictureindex", "captionrect", "alignment"} + Font() +
           Keys{"checkimagerect", "uncheckimagerect"}},
      {"expanel", false,
       kCustom +
           Keys{"rollhskinrect", "rollvskinrect", "rollleftoffset", "rollrightoffset", "rolltopoffset",
                "rollbottomoffset", "rollvcaptionrect", "rollhcaptionrect", "closebuttonrect",
                "closebuttonactiverect", "closebuttondownrect", "hrollbuttonrect", "hrollbuttonactiverect",
                "hrollbuttondownrect", "hrestorebuttonrect", "hrestorebuttonactiverect", "hrestorebuttondownrect",
                "vrollbuttonrect", "vrollbuttonactiverect", "vrollbuttondownrect", "vrestorebuttonrect",
                "vrestorebuttonactiverect", "vrestorebuttondownrect", "captionrect"} +
           Font()},
      {"label", false, kCustom + Font()},
      {"stdlabel", false, kControl + Font() + Keys{"activefontcolor"}},
      {"gauge", false,
       kCustom + Keys{"progressarea", "progressrect", "beginoffset", "endoffset", "vertical"} + Font()},
      {"trackbar", false, kCustom + Keys{"trackarea", "buttonrect", "activebuttonrect", "vertical"}},
      {"scrollbar", false,
       kCustom + Keys{"trackarea", "upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",
                      "activedownbuttonrect", "downdownbuttonrect", "thumbrect", "activethumbrect",
                      "downthumbrect", "thumboffset1", "thumboffset2", "glyphrect", "activeglyphrect",
                      "downglyphrect"}},
      {"splitter", false, kCustom},
      {"scrollbox", false, kCustom + Keys{"bgpictureindex"}},
      {"controlbar", false, kCustom + Keys{"itemrect", "bgpictureindex"}},
      {"bevel", false, kControl + Keys{"lightcolor", "darkcolor"}},
      {"slider", false,
       kControl + Keys{"bgcolor", "hrulerrect", "hthumbrect", "vrulerrect", "vthumbrect", "edgesize",
                       "pointscolor"}},
      {"listbox", false, kListBox},
      {"checklistbox", false, kListBox + Keys{"itemcheckrect", "uncheckimagerect", "checkimagerect"}},
      {"combobox", false,
       kCustom + Keys{"itemrect", "focusitemrect", "itemleftoffset", "itemrightoffset", "itemtextrect"} + Font() +
           Keys{"focusfontcolor", "buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect",
                "listboxname"}},
      {"edit", false, kEdit},
      {"memo", false, kEdit + Keys{"bgcolor", "activebgcolor"}},
      {"spinedit", false,
       kCustom + Keys{"activeskinrect"} + Font() + Keys{"activefontcolor", "disabledfontcolor"} + kUpDownOwn},
      {"updown", false, kCustom + kUpDownOwn},
      {"tab", false,
       kControl + Keys{"tabrect", "activetabrect", "focustabrect", "mouseintabrect", "clientrect", "bgpictureindex",
                       "lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "tableftoffset",
                       "tabrightoffset", "tabsbgrect"} +
           Font() + Keys{"activefontcolor", "focusfontcolor", "mouseinfontcolor", "updown"}},
      {"grid", false,
       kControl + Keys{"fixedcellrect", "selectcellrect", "focuscellrect", "fixedcellleftoffset",
                       "fixedcellrightoffset", "fixedcelltextrect", "cellleftoffset", "cellrightoffset",
                       "celltextrect", "linescolor", "bgcolor"} +
           Font() + Keys{"selectfontcolor", "focusfontcolor"} + Font("fixed")},
      {"treeview", false, kFontBG},
      {"listview", false, kFontBG},
      {"richedit", false, kFontBG},
      {"mainmenubar", false,
       kControl + Keys{"itemsrect", "menubaritem", "closebutton", "minbutton", "maxbutton", "sysmenubutton",
                       "trackmarkcolor", "trackmarkactivecolor"}},
      {"userobject", true, {"skinrect"}},
      {"button", true, kObject + Keys{"downrect", "disableskinrsect"}},
      {"stdbutton", true, kStdButton},
      {"mainmenubarbutton", true, kStdButton},
      {"animate", true,
       kObject + Keys{"countframes", "cycle", "buttonstyle", "timerinterval", "command"}},
      {"menuitem", true,
       kObject +
           Keys{"itemleftoffset", "itemrightoffset", "dividerrect", "dividerleftoffset", "dividerrightoffset",
                "textrect"} +
           Font() + Keys{"activefontcolor", "unenabledfontcolor"}},
      {"mainmenubaritem", true, kMainMenuItem},
      {"caption", true,
       kObject + Keys{"textrect"} + Font() +
           Keys{"activefontcolor", "alignment", "shadow", "shadowcolor", "activeshadowcolor", "framerect",
                "activeframerect", "frametextrect", "frameleftoffset", "framerightoffset"}},
  };
  return cases;
}

// A description behind one interface, whichever list it belongs to.
struct AnyDescription {
  std::unique_ptr<TksDataSkinControl> control;
  std::unique_ptr<TksDataSkinObject> object;
  void Load(TCustomIniFile& ini) { control ? control->LoadFromFile(ini) : object->LoadFromFile(ini); }
  void Save(TCustomIniFile& ini) { control ? control->SaveToFile(ini) : object->SaveToFile(ini); }
};

AnyDescription Create(const KeyOrderCase& c, const String& name) {
  AnyDescription d;
  if (c.object)
    d.object = CreateObjectDescription(c.type, name);
  else
    d.control = CreateControlDescription(c.type, name);
  return d;
}

Keys SectionKeys(TMemIniFile& ini, const String& section) {
  TStringList list;
  ini.ReadSection(section, list);
  Keys keys;
  for (int i = 0; i < list.Count(); ++i) keys.push_back(list.Strings(i));
  return keys;
}

const std::vector<std::string> kBooleanKeys = {"morphing", "vertical", "cycle", "buttonstyle", "skinrectinapicture",
                                               "shadow"};

// A value of the key's form that differs from its default and from the other keys.
std::string SampleValue(const std::string& key, const std::string& written, int i) {
  auto n = [&](int k) { return std::to_string(i * 10 + k); };
  if (std::find(kBooleanKeys.begin(), kBooleanKeys.end(), key) == kBooleanKeys.end()) {
    if (std::count(written.begin(), written.end(), ',') == 3) return n(1) + "," + n(2) + "," + n(3) + "," + n(4);
    if (std::count(written.begin(), written.end(), ',') == 1) return n(1) + "," + n(2);
  } else {
    return "1";
  }
  if (key.ends_with("fontstyle")) return "fsbold";
  if (written == "tacenter" || written == "taleftjustify") return "tarightjustify";
  if (written == "mkdefault") return "mkpush";
  if (written.starts_with("cm")) return "cmrollup";
  if (!written.empty() && (std::isdigit(static_cast<unsigned char>(written.back())))) return n(7);
  return "Text" + n(0);
}

TEST(SkinDescriptions, SaveWritesExactlyTheClassKeysInOrderAndLoadReadsEveryOne) {
  for (const KeyOrderCase& c : KeyOrderCases()) {
    SCOPED_TRACE(std::string(c.type) + (c.object ? " (object)" : ""));
    AnyDescription fresh = Create(c, "sec");
    ASSERT_TRUE(fresh.control || fresh.object);
    TMemIniFile defaults;
    defaults.WriteString("sec", "extra", "gone");
    fresh.Save(defaults);
    EXPECT_EQ(SectionKeys(defaults, "sec"), c.keys);

    // Every key with a value of its own: loading then saving gives them back.
    TMemIniFile full;
    for (size_t i = 0; i < c.keys.size(); ++i)
      full.WriteString("sec", c.keys[i], SampleValue(c.keys[i], defaults.ReadString("sec", c.keys[i], ""),
                                                     static_cast<int>(i)));
    AnyDescription loaded = Create(c, "sec");
    loaded.Load(full);
    TMemIniFile again;
    loaded.Save(again);
    for (const std::string& key : c.keys) {
      std::string expected = full.ReadString("sec", key, "");
      bool zeroed = (std::string(c.type) == "updown" && (key.ends_with("point") || key == "clientrect")) ||
                    (std::string(c.type) == "animate" && key == "morphing");
      if (zeroed) expected = key == "morphing" ? "0" : key == "clientrect" ? "0,0,0,0" : "0,0";
      EXPECT_EQ(again.ReadString("sec", key, "<missing>"), expected) << key;
    }
  }
}

TEST(SkinDescriptions, EveryTypeWordOfBothTablesCreatesItsClass) {
  EXPECT_NE(dynamic_cast<TksDataSkinButtonControl*>(CreateControlDescription("button", "x").get()), nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinButton*>(CreateObjectDescription("button", "x").get()), nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinCheckListBox*>(CreateControlDescription("checklistbox", "x").get()), nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinSplitterControl*>(CreateControlDescription("splitter", "x").get()), nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinMainMenuBarButton*>(CreateObjectDescription("mainmenubarbutton", "x").get()),
            nullptr);
  EXPECT_EQ(CreateControlDescription("Button", "x"), nullptr);
  EXPECT_EQ(CreateControlDescription("caption", "x"), nullptr);
  EXPECT_EQ(CreateObjectDescription("panel", "x"), nullptr);
}

// Missing section: missing-key values, which differ from some construction values.
TEST(SkinDescriptions, MissingKeysVersusConstruction) {
  TMemIniFile empty;
  TksDataSkinButtonControl button("b");
  EXPECT_EQ(button.FontHeight, 12);
  button.LoadFromFile(empty);
  EXPECT_EQ(button.FontHeight, 14);
  EXPECT_EQ(button.FontName, "Arial");
  EXPECT_EQ(button.PictureIndex, -1);
  EXPECT_EQ(button.MorphKind, 0);

  TksDataSkinStdLabelControl label("l");
  label.LoadFromFile(empty);
  EXPECT_EQ(label.ActiveFontColor, 16711680);

  TksDataSkinTreeView tree("t");
  EXPECT_EQ(tree.BGColor, 16777215);
  tree.LoadFromFile(empty);
  EXPECT_EQ(tree.BGColor, 0);

  TksDataSkinListBox list("l");
  EXPECT_EQ(list.VScrollBarName, "");
  list.LoadFromFile(empty);
  EXPECT_EQ(list.VScrollBarName, "vscrollbar");
  EXPECT_EQ(list.HScrollBarName, "hscrollbar");
  EXPECT_EQ(list.BothHScrollBarName, "bothhscrollbar");

  TksDataSkinAnimate animate("a");
  EXPECT_EQ(animate.CountFrames, 0);
  EXPECT_EQ(animate.Command, cmClose);
  animate.LoadFromFile(empty);
  EXPECT_EQ(animate.CountFrames, 1);
  EXPECT_EQ(animate.TimerInterval, 50);
  EXPECT_EQ(animate.Command, cmDefault);

  TksDataSkinCaption caption("c");
  EXPECT_EQ(caption.Alignment, taLeftJustify);
  EXPECT_EQ(caption.FontHeight, 0);
  caption.LoadFromFile(empty);
  EXPECT_EQ(caption.Alignment, taCenter);
  EXPECT_EQ(caption.FontHeight, 14);

  TksDataSkinHintWindow hint;
  EXPECT_EQ(hint.FontHeight, 12);
  hint.LoadFromFile(empty);
  EXPECT_EQ(hint.FontHeight, 14);
}

TEST(SkinDescriptions, ValueQuirks) {
  TMemIniFile ini;
  TStringList lines;
  lines.SetText(
      "[b]\r\nmorphing=2\r\nfontname=\r\npictureindex=\r\nfontstyle=\r\n"
      "[o]\r\ncommand=CMCLOSE\r\ndisabledskinrect=1,2,3,4\r\n"
      "[u]\r\nhint=h\r\nactivepictureindex=3\r\nskinrect=1,2,3,4\r\n"
      "[a]\r\nmorphing=1\r\n"
      "[ud]\r\nlefttoppoint=4,4\r\nclientrect=1,2,3,4\r\n");
  ini.SetStrings(lines);

  TksDataSkinButtonControl b("b");
  b.LoadFromFile(ini);
  EXPECT_FALSE(b.Morphing);
  EXPECT_EQ(b.FontName, "");
  EXPECT_EQ(b.PictureIndex, -1);
  EXPECT_EQ(b.FontStyle, 0u);

  TksDataSkinStdButton o("o");
  o.LoadFromFile(ini);
  EXPECT_EQ(o.Command, cmMinimizeToTray);
  EXPECT_EQ(o.DisableSkinRect, TRect{});
  TMemIniFile out;
  o.SaveToFile(out);
  EXPECT_EQ(out.ReadString("o", "command", ""), "cmminimizetotray");

  TksDataUserObject u("u");
  u.LoadFromFile(ini);
  EXPECT_EQ(u.Hint, "");
  EXPECT_EQ(u.ActivePictureIndex, -1);
  EXPECT_EQ(u.SkinRect, (TRect{1, 2, 3, 4}));

  TksDataSkinAnimate a("a");
  a.LoadFromFile(ini);
  EXPECT_FALSE(a.Morphing);

  TksDataSkinUpDownControl ud("ud");
  ud.LoadFromFile(ini);
  EXPECT_EQ(ud.LTPoint, TPoint{});
  EXPECT_EQ(ud.ClientRect, TRect{});
}

// A malformed rectangle raises out of LoadFromFile: the fields before it keep
// their new values, the later ones their initial values.
TEST(SkinDescriptions, MalformedRectangleRaisesAtThatKey) {
  for (const char* bad : {"1,2,3", "", "1,x,3,4"}) {
    SCOPED_TRACE(bad);
    TMemIniFile ini;
    ini.WriteString("b", "pictureindex", "5");
    ini.WriteString("b", "skinrect", bad);
    ini.WriteString("b", "lefttoppoint", "7,7");
    TksDataSkinButtonControl b("b");
    EXPECT_THROW(b.LoadFromFile(ini), EConvertError);
    EXPECT_EQ(b.PictureIndex, 5);
    EXPECT_EQ(b.LTPoint, TPoint{});
  }
}

// A hostile height would have the system render glyphs of gigabytes: heights are kept
// within +-kMaxSkinFontHeight as they are read, in every font block.
TEST(SkinDescriptions, FontHeightsAreKeptWithinASaneRange) {
  const struct {
    const char* value;
    int height;
  } cases[] = {{"13", 13}, {"-1", -1}, {"0", 0}, {"30000", kMaxSkinFontHeight}, {"-200000", -kMaxSkinFontHeight}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    TMemIniFile ini;
    ini.WriteString("b", "fontheight", c.value);
    ini.WriteString("l", "captionfontheight", c.value);
    ini.WriteString("HINTWINDOW", "fontheight", c.value);
    TksDataSkinButtonControl b("b");
    b.LoadFromFile(ini);
    EXPECT_EQ(b.FontHeight, c.height);
    TksDataSkinListBox l("l");
    l.LoadFromFile(ini);
    EXPECT_EQ(l.CaptionFontHeight, c.height);
    TksDataSkinHintWindow hint;
    hint.LoadFromFile(ini);
    EXPECT_EQ(hint.FontHeight, c.height);
  }
}

}  // namespace
