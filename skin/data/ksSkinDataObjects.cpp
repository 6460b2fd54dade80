#include "skin/data/ksSkinDataObjects.h"

#include <algorithm>
#include <array>

namespace {

// Index = command value; an unknown word reads as the last one.
constexpr std::array<const char*, 7> kCommandWords = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                                      "cmdefault", "cmrollup",   "cmminimizetotray"};

}  // namespace

void TksFieldReader::Command(const char* key, TksStdButtonCommand& field) {
  String word = ini_.ReadString(section_, key, "cmdefault");
  field = cmMinimizeToTray;
  for (size_t i = 0; i + 1 < kCommandWords.size(); ++i)
    if (word == kCommandWords[i]) field = static_cast<TksStdButtonCommand>(i);
}

void TksFieldWriter::Command(const char* key, TksStdButtonCommand& field) {
  size_t i = std::min<size_t>(field, kCommandWords.size() - 1);
  ini_.WriteString(section_, key, kCommandWords[i]);
}

void TksDataSkinObject::Fields(TksFieldVisitor& v) {
  v.Text("hint", Hint, "");
  v.Integer("activepictureindex", ActivePictureIndex, -1);
  v.Boolean("skinrectinapicture", SkinRectInAPicture);
  v.Rect("skinrect", SkinRect);
  v.Rect("activeskinrect", ActiveSkinRect);
  v.Rect("inactiveskinrect", InActiveSkinRect);
  v.Boolean("morphing", Morphing);
  v.MorphKind("morphkind", MorphKind);
}

void TksDataSkinStdButton::Fields(TksFieldVisitor& v) {
  v.Command("command", Command);
  v.Rect("restorerect", RestoreRect);
  v.Rect("restoreactiverect", RestoreActiveRect);
  v.Rect("restoredownrect", RestoreDownRect);
  v.Rect("restoreinactiverect", RestoreInActiveRect);
}

void TksDataSkinAnimate::LoadFromFile(TCustomIniFile& ini) {
  TksDataLevel::LoadFromFile(ini);
  Morphing = false;  // animations run their frames, never a morph
}

void TksDataSkinAnimate::Fields(TksFieldVisitor& v) {
  v.Integer("countframes", CountFrames, 1);
  v.Boolean("cycle", Cycle);
  v.Boolean("buttonstyle", ButtonStyle);
  v.Integer("timerinterval", TimerInterval, 50);
  v.Command("command", Command);
}

void TksDataSkinMenuItem::Fields(TksFieldVisitor& v) {
  v.Integer("itemleftoffset", ItemLeftOffset, 0);
  v.Integer("itemrightoffset", ItemRightOffset, 0);
  v.Rect("dividerrect", DividerRect);
  v.Integer("dividerleftoffset", DividerLeftOffset, 0);
  v.Integer("dividerrightoffset", DividerRightOffset, 0);
  v.Rect("textrect", TextRect);
  Font(v);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Integer("unenabledfontcolor", UnEnabledFontColor, 0);
}

void TksDataSkinMainMenuItem::Fields(TksFieldVisitor& v) {
  v.Integer("itemleftoffset", ItemLeftOffset, 0);
  v.Integer("itemrightoffset", ItemRightOffset, 0);
  v.Rect("downrect", DownRect);
  v.Rect("textrect", TextRect);
  Font(v);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Integer("downfontcolor", DownFontColor, 0);
  v.Integer("unenabledfontColor", UnEnabledFontColor, 0);  // capital C, as skins spell it
}

void TksDataSkinCaption::Fields(TksFieldVisitor& v) {
  v.Rect("textrect", TextRect);
  Font(v);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Alignment("alignment", Alignment);
  v.Boolean("shadow", Shadow);
  v.Integer("shadowcolor", ShadowColor, 0);
  v.Integer("activeshadowcolor", ActiveShadowColor, 0);
  v.Rect("framerect", FrameRect);
  v.Rect("activeframerect", ActiveFrameRect);
  v.Rect("frametextrect", FrameTextRect);
  v.Integer("frameleftoffset", FrameLeftOffset, 0);
  v.Integer("framerightoffset", FrameRightOffset, 0);
}

void TksDataSkinPopupWindow::LoadFromFile(TCustomIniFile& ini) {
  TksFieldReader reader(ini, "POPUPWINDOW");
  Fields(reader);
}

void TksDataSkinPopupWindow::Fields(TksFieldVisitor& v) {
  v.Integer("windowpictureindex", WindowPictureIndex, -1);
  v.Integer("maskpictureindex", MaskPictureIndex, -1);
  v.Point("lefttoppoint", LTPoint);
  v.Point("righttoppoint", RTPoint);
  v.Point("leftbottompoint", LBPoint);
  v.Point("rightbottompoint", RBPoint);
  v.Rect("itemsrect", ItemsRect);
  v.Integer("scrollmarkercolor", ScrollMarkerColor, 0);
  v.Integer("scrollmarkeractivecolor", ScrollMarkerActiveColor, 0);
  v.Boolean("leftstretch", LeftStretch);
  v.Boolean("rightstretch", RightStretch);
  v.Boolean("topstretch", TopStretch);
  v.Boolean("bottomstretch", BottomStretch);
}

void TksDataSkinHintWindow::LoadFromFile(TCustomIniFile& ini) {
  TksFieldReader reader(ini, "HINTWINDOW");
  Fields(reader);
}

void TksDataSkinHintWindow::Fields(TksFieldVisitor& v) {
  v.Integer("windowpictureindex", WindowPictureIndex, -1);
  v.Integer("maskpictureindex", MaskPictureIndex, -1);
  v.Point("lefttoppoint", LTPoint);
  v.Point("righttoppoint", RTPoint);
  v.Point("leftbottompoint", LBPoint);
  v.Point("rightbottompoint", RBPoint);
  v.Rect("clientrect", ClientRect);
  v.Font("", FontName, FontHeight, FontStyle, FontColor);
  v.Boolean("leftstretch", LeftStretch);
  v.Boolean("rightstretch", RightStretch);
  v.Boolean("topstretch", TopStretch);
  v.Boolean("bottomstretch", BottomStretch);
}
