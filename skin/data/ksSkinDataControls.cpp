#include "skin/data/ksSkinDataControls.h"

void TksDataSkinControl::Fields(TksFieldVisitor& v) {
  v.Integer("pictureindex", PictureIndex, -1);
  v.Integer("maskpictureindex", MaskPictureIndex, -1);
  v.Rect("skinrect", SkinRect);
}

void TksDataSkinCustomControl::Fields(TksFieldVisitor& v) {
  v.Point("lefttoppoint", LTPoint);
  v.Point("righttoppoint", RTPoint);
  v.Point("leftbottompoint", LBPoint);
  v.Point("rightbottompoint", RBPoint);
  v.Rect("clientrect", ClientRect);
}

void TksDataSkinButtonControl::Fields(TksFieldVisitor& v) {
  Font(v);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Integer("downfontcolor", DownFontColor, 0);
  v.Integer("disabledfontcolor", DisabledFontColor, 0);
  v.Rect("activeskinrect", ActiveSkinRect);
  v.Rect("downskinrect", DownSkinRect);
  v.Rect("disabledskinrect", DisabledSkinRect);
  v.Boolean("morphing", Morphing);
  v.MorphKind("morphkind", MorphKind);
}

void TksDataSkinCheckRadioControl::Fields(TksFieldVisitor& v) {
  Font(v);
  v.Integer("framefontcolor", FrameFontColor, 0);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Integer("unenabledfontcolor", UnEnabledFontColor, 0);
  v.Rect("activeskinrect", ActiveSkinRect);
  v.Rect("checkimagearea", CheckImageArea);
  v.Rect("textarea", TextArea);
  v.Rect("checkimagerect", CheckImageRect);
  v.Rect("uncheckimagerect", UncheckImageRect);
  v.Rect("activecheckimagerect", ActiveCheckImageRect);
  v.Rect("activeuncheckimagerect", ActiveUncheckImageRect);
  v.Rect("unenabledcheckimagerect", UnEnabledCheckImageRect);
  v.Rect("unenableduncheckimagerect", UnEnabledUncheckImageRect);
  v.Boolean("morphing", Morphing);
  v.MorphKind("morphkind", MorphKind);
}

void TksDataSkinPanelControl::Fields(TksFieldVisitor& v) {
  v.Integer("bgpictureindex", BGPictureIndex, -1);
  v.Rect("captionrect", CaptionRect);
  v.Alignment("alignment", Alignment);
  Font(v);
  v.Rect("checkimagerect", CheckImageRect);
  v.Rect("uncheckimagerect", UncheckImageRect);
}

void TksDataSkinExPanelControl::Fields(TksFieldVisitor& v) {
  v.Rect("rollhskinrect", RollHSkinRect);
  v.Rect("rollvskinrect", RollVSkinRect);
  v.Integer("rollleftoffset", RollLeftOffset, 0);
  v.Integer("rollrightoffset", RollRightOffset, 0);
  v.Integer("rolltopoffset", RollTopOffset, 0);
  v.Integer("rollbottomoffset", RollBottomOffset, 0);
  v.Rect("rollvcaptionrect", RollVCaptionRect);
  v.Rect("rollhcaptionrect", RollHCaptionRect);
  v.Rect("closebuttonrect", CloseButtonRect);
  v.Rect("closebuttonactiverect", CloseButtonActiveRect);
  v.Rect("closebuttondownrect", CloseButtonDownRect);
  v.Rect("hrollbuttonrect", HRollButtonRect);
  v.Rect("hrollbuttonactiverect", HRollButtonActiveRect);
  v.Rect("hrollbuttondownrect", HRollButtonDownRect);
  v.Rect("hrestorebuttonrect", HRestoreButtonRect);
  v.Rect("hrestorebuttonactiverect", HRestoreButtonActiveRect);
  v.Rect("hrestorebuttondownrect", HRestoreButtonDownRect);
  v.Rect("vrollbuttonrect", VRollButtonRect);
  v.Rect("vrollbuttonactiverect", VRollButtonActiveRect);
  v.Rect("vrollbuttondownrect", VRollButtonDownRect);
  v.Rect("vrestorebuttonrect", VRestoreButtonRect);
  v.Rect("vrestorebuttonactiverect", VRestoreButtonActiveRect);
  v.Rect("vrestorebuttondownrect", VRestoreButtonDownRect);
  v.Rect("captionrect", CaptionRect);
  Font(v);
}

void TksDataSkinGaugeControl::Fields(TksFieldVisitor& v) {
  v.Rect("progressarea", ProgressArea);
  v.Rect("progressrect", ProgressRect);
  v.Integer("beginoffset", BeginOffset, 0);
  v.Integer("endoffset", EndOffset, 0);
  v.Boolean("vertical", Vertical);
  Font(v);
}

void TksDataSkinTrackBarControl::Fields(TksFieldVisitor& v) {
  v.Rect("trackarea", TrackArea);
  v.Rect("buttonrect", ButtonRect);
  v.Rect("activebuttonrect", ActiveButtonRect);
  v.Boolean("vertical", Vertical);
}

void TksDataSkinScrollBarControl::Fields(TksFieldVisitor& v) {
  v.Rect("trackarea", TrackArea);
  v.Rect("upbuttonrect", UpButtonRect);
  v.Rect("activeupbuttonrect", ActiveUpButtonRect);
  v.Rect("downupbuttonrect", DownUpButtonRect);
  v.Rect("downbuttonrect", DownButtonRect);
  v.Rect("activedownbuttonrect", ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", DownDownButtonRect);
  v.Rect("thumbrect", ThumbRect);
  v.Rect("activethumbrect", ActiveThumbRect);
  v.Rect("downthumbrect", DownThumbRect);
  v.Integer("thumboffset1", ThumbOffset1, 0);
  v.Integer("thumboffset2", ThumbOffset2, 0);
  v.Rect("glyphrect", GlyphRect);
  v.Rect("activeglyphrect", ActiveGlyphRect);
  v.Rect("downglyphrect", DownGlyphRect);
}

void TksDataSkinSlider::Fields(TksFieldVisitor& v) {
  v.Integer("bgcolor", BGColor, 0);
  v.Rect("hrulerrect", HRulerRect);
  v.Rect("hthumbrect", HThumbRect);
  v.Rect("vrulerrect", VRulerRect);
  v.Rect("vthumbrect", VThumbRect);
  v.Integer("edgesize", EdgeSize, 0);
  v.Integer("pointscolor", PointsColor, 0);
}

void TksDataSkinListBox::Fields(TksFieldVisitor& v) {
  v.Rect("itemrect", ItemRect);
  v.Rect("activeitemrect", ActiveItemRect);
  v.Rect("focusitemrect", FocusItemRect);
  v.Integer("itemleftoffset", ItemLeftOffset, 0);
  v.Integer("itemrightoffset", ItemRightOffset, 0);
  v.Rect("itemtextrect", ItemTextRect);
  Font(v);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Integer("focusfontcolor", FocusFontColor, 0);
  v.Rect("captionrect", CaptionRect);
  v.Font("caption", CaptionFontName, CaptionFontHeight, CaptionFontStyle, CaptionFontColor);
  v.Rect("upbuttonrect", UpButtonRect);
  v.Rect("activeupbuttonrect", ActiveUpButtonRect);
  v.Rect("downupbuttonrect", DownUpButtonRect);
  v.Rect("downbuttonrect", DownButtonRect);
  v.Rect("activedownbuttonrect", ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", DownDownButtonRect);
  v.Rect("checkbuttonrect", CheckButtonRect);
  v.Rect("activecheckbuttonrect", ActiveCheckButtonRect);
  v.Rect("downcheckbuttonrect", DownCheckButtonRect);
  v.Text("vscrollbarname", VScrollBarName, "vscrollbar");
  v.Text("hscrollbarname", HScrollBarName, "hscrollbar");
  v.Text("bothhscrollbarname", BothHScrollBarName, "bothhscrollbar");
}

void TksDataSkinComboBox::Fields(TksFieldVisitor& v) {
  v.Rect("itemrect", ItemRect);
  v.Rect("focusitemrect", FocusItemRect);
  v.Integer("itemleftoffset", ItemLeftOffset, 0);
  v.Integer("itemrightoffset", ItemRightOffset, 0);
  v.Rect("itemtextrect", ItemTextRect);
  Font(v);
  v.Integer("focusfontcolor", FocusFontColor, 0);
  v.Rect("buttonrect", ButtonRect);
  v.Rect("activebuttonrect", ActiveButtonRect);
  v.Rect("downbuttonrect", DownButtonRect);
  v.Rect("unenabledbuttonrect", UnEnabledButtonRect);
  v.Text("listboxname", ListBoxName, "");
}

void TksDataSkinEditControl::Fields(TksFieldVisitor& v) {
  v.Rect("activeskinrect", ActiveSkinRect);
  Font(v);
  v.Integer("disabledfontcolor", DisabledFontColor, 0);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Rect("buttonrect", ButtonRect);
  v.Rect("activebuttonrect", ActiveButtonRect);
  v.Rect("downbuttonrect", DownButtonRect);
  v.Rect("unenabledbuttonrect", UnEnabledButtonRect);
}

void TksDataSkinSpinEditControl::Fields(TksFieldVisitor& v) {
  v.Rect("activeskinrect", ActiveSkinRect);
  Font(v);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Integer("disabledfontcolor", DisabledFontColor, 0);
  v.Rect("upbuttonrect", UpButtonRect);
  v.Rect("activeupbuttonrect", ActiveUpButtonRect);
  v.Rect("downupbuttonrect", DownUpButtonRect);
  v.Rect("downbuttonrect", DownButtonRect);
  v.Rect("activedownbuttonrect", ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", DownDownButtonRect);
}

void TksDataSkinUpDownControl::Fields(TksFieldVisitor& v) {
  v.Rect("upbuttonrect", UpButtonRect);
  v.Rect("activeupbuttonrect", ActiveUpButtonRect);
  v.Rect("downupbuttonrect", DownUpButtonRect);
  v.Rect("downbuttonrect", DownButtonRect);
  v.Rect("activedownbuttonrect", ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", DownDownButtonRect);
}

void TksDataSkinUpDownControl::ZeroGeometry() {
  LTPoint = RTPoint = LBPoint = RBPoint = TPoint{};
  ClientRect = TRect{};
}

void TksDataSkinUpDownControl::LoadFromFile(TCustomIniFile& ini) {
  TksDataSkinCustomControl::LoadFromFile(ini);
  ZeroGeometry();
}

void TksDataSkinUpDownControl::SaveToFile(TCustomIniFile& ini) {
  ZeroGeometry();
  TksDataSkinCustomControl::SaveToFile(ini);
}

void TksDataSkinTabControl::Fields(TksFieldVisitor& v) {
  v.Rect("tabrect", TabRect);
  v.Rect("activetabrect", ActiveTabRect);
  v.Rect("focustabrect", FocusTabRect);
  v.Rect("mouseintabrect", MouseInTabRect);
  v.Rect("clientrect", ClientRect);
  v.Integer("bgpictureindex", BGPictureIndex, -1);
  v.Point("lefttoppoint", LTPoint);
  v.Point("righttoppoint", RTPoint);
  v.Point("leftbottompoint", LBPoint);
  v.Point("rightbottompoint", RBPoint);
  v.Integer("tableftoffset", TabLeftOffset, 0);
  v.Integer("tabrightoffset", TabRightOffset, 0);
  v.Rect("tabsbgrect", TabsBGRect);
  Font(v);
  v.Integer("activefontcolor", ActiveFontColor, 0);
  v.Integer("focusfontcolor", FocusFontColor, 0);
  v.Integer("mouseinfontcolor", MouseInFontColor, 0);
  v.Text("updown", UpDownName, "");
}

void TksDataSkinGridControl::Fields(TksFieldVisitor& v) {
  v.Rect("fixedcellrect", FixedCellRect);
  v.Rect("selectcellrect", SelectCellRect);
  v.Rect("focuscellrect", FocusCellRect);
  v.Integer("fixedcellleftoffset", FixedCellLeftOffset, 0);
  v.Integer("fixedcellrightoffset", FixedCellRightOffset, 0);
  v.Rect("fixedcelltextrect", FixedCellTextRect);
  v.Integer("cellleftoffset", CellLeftOffset, 0);
  v.Integer("cellrightoffset", CellRightOffset, 0);
  v.Rect("celltextrect", CellTextRect);
  v.Integer("linescolor", LinesColor, 0);
  v.Integer("bgcolor", BGColor, 0);
  Font(v);
  v.Integer("selectfontcolor", SelectFontColor, 0);
  v.Integer("focusfontcolor", FocusFontColor, 0);
  v.Font("fixed", FixedFontName, FixedFontHeight, FixedFontStyle, FixedFontColor);
}

void TksDataSkinMainMenuBar::Fields(TksFieldVisitor& v) {
  v.Rect("itemsrect", ItemsRect);
  v.Text("menubaritem", MenuBarItem, "");
  v.Text("closebutton", CloseButton, "");
  v.Text("minbutton", MinButton, "");
  v.Text("maxbutton", MaxButton, "");
  v.Text("sysmenubutton", SysMenuButton, "");
  v.Integer("trackmarkcolor", TrackMarkColor, 0);
  v.Integer("trackmarkactivecolor", TrackMarkActiveColor, 0);
}
