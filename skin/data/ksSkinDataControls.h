// Control descriptions: the values of one [SKINCONTROLS] section each. A
// description draws nothing and holds no pointer: pictures are indexes into the
// skin's active pictures, other descriptions are named by IDName.
#pragma once

#include "skin/data/ksSkinDataFields.h"

class TksDataSkinControl : public TksDataSection {
 public:
  using TksDataSection::TksDataSection;
  void VisitFields(TksFieldVisitor& v) override { Fields(v); }

  int PictureIndex = -1;
  int MaskPictureIndex = -1;
  TRect SkinRect{};

  void Fields(TksFieldVisitor& v);
};

class TksDataSkinCustomControl : public TksDataLevel<TksDataSkinCustomControl, TksDataSkinControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect ClientRect{};
  void Fields(TksFieldVisitor& v);
};

// The font block most descriptions carry; the heights start at 12 in some
// classes but a missing key always loads 14.
struct TksFontFields {
  String FontName = "Arial";
  int FontHeight = 14;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  void Font(TksFieldVisitor& v) { v.Font("", FontName, FontHeight, FontStyle, FontColor); }
};

class TksDataSkinButtonControl : public TksDataLevel<TksDataSkinButtonControl, TksDataSkinCustomControl>,
                                 public TksFontFields {
 public:
  explicit TksDataSkinButtonControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  TColor ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{};
  bool Morphing = false;
  TksMorphKind MorphKind = 0;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinMenuButtonControl
    : public TksDataLevel<TksDataSkinMenuButtonControl, TksDataSkinButtonControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TRect TrackButtonRect{};
  void Fields(TksFieldVisitor& v) { v.Rect("trackbuttonrect", TrackButtonRect); }
};

class TksDataSkinCheckRadioControl
    : public TksDataLevel<TksDataSkinCheckRadioControl, TksDataSkinCustomControl>,
      public TksFontFields {
 public:
  explicit TksDataSkinCheckRadioControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  TColor FrameFontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0;
  TRect ActiveSkinRect{}, CheckImageArea{}, TextArea{}, CheckImageRect{}, UncheckImageRect{},
      ActiveCheckImageRect{}, ActiveUncheckImageRect{}, UnEnabledCheckImageRect{}, UnEnabledUncheckImageRect{};
  bool Morphing = false;
  TksMorphKind MorphKind = 0;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinPanelControl : public TksDataLevel<TksDataSkinPanelControl, TksDataSkinCustomControl>,
                                public TksFontFields {
 public:
  explicit TksDataSkinPanelControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  int BGPictureIndex = -1;
  TRect CaptionRect{};
  TAlignment Alignment = taCenter;
  TRect CheckImageRect{}, UncheckImageRect{};
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinExPanelControl : public TksDataLevel<TksDataSkinExPanelControl, TksDataSkinCustomControl>,
                                  public TksFontFields {
 public:
  explicit TksDataSkinExPanelControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  TRect RollHSkinRect{}, RollVSkinRect{};
  int RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
  TRect RollVCaptionRect{}, RollHCaptionRect{};
  TRect CloseButtonRect{}, CloseButtonActiveRect{}, CloseButtonDownRect{};
  TRect HRollButtonRect{}, HRollButtonActiveRect{}, HRollButtonDownRect{};
  TRect HRestoreButtonRect{}, HRestoreButtonActiveRect{}, HRestoreButtonDownRect{};
  TRect VRollButtonRect{}, VRollButtonActiveRect{}, VRollButtonDownRect{};
  TRect VRestoreButtonRect{}, VRestoreButtonActiveRect{}, VRestoreButtonDownRect{};
  TRect CaptionRect{};
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinLabelControl : public TksDataLevel<TksDataSkinLabelControl, TksDataSkinCustomControl>,
                                public TksFontFields {
 public:
  explicit TksDataSkinLabelControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  void Fields(TksFieldVisitor& v) { Font(v); }
};

class TksDataSkinStdLabelControl : public TksDataLevel<TksDataSkinStdLabelControl, TksDataSkinControl>,
                                   public TksFontFields {
 public:
  explicit TksDataSkinStdLabelControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  TColor ActiveFontColor = 16711680;
  void Fields(TksFieldVisitor& v) {
    Font(v);
    v.Integer("activefontcolor", ActiveFontColor, 16711680);
  }
};

class TksDataSkinGaugeControl : public TksDataLevel<TksDataSkinGaugeControl, TksDataSkinCustomControl>,
                                public TksFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  TRect ProgressArea{}, ProgressRect{};
  int BeginOffset = 0, EndOffset = 0;
  bool Vertical = false;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinTrackBarControl : public TksDataLevel<TksDataSkinTrackBarControl, TksDataSkinCustomControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TRect TrackArea{}, ButtonRect{}, ActiveButtonRect{};
  bool Vertical = false;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinScrollBarControl
    : public TksDataLevel<TksDataSkinScrollBarControl, TksDataSkinCustomControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TRect TrackArea{}, UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{}, DownButtonRect{},
      ActiveDownButtonRect{}, DownDownButtonRect{}, ThumbRect{}, ActiveThumbRect{}, DownThumbRect{};
  int ThumbOffset1 = 0, ThumbOffset2 = 0;
  TRect GlyphRect{}, ActiveGlyphRect{}, DownGlyphRect{};
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinSplitterControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
};

class TksDataSkinScrollBoxControl
    : public TksDataLevel<TksDataSkinScrollBoxControl, TksDataSkinCustomControl> {
 public:
  using TksDataLevel::TksDataLevel;
  int BGPictureIndex = -1;
  void Fields(TksFieldVisitor& v) { v.Integer("bgpictureindex", BGPictureIndex, -1); }
};

class TksDataSkinControlBar : public TksDataLevel<TksDataSkinControlBar, TksDataSkinCustomControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TRect ItemRect{};
  int BGPictureIndex = -1;
  void Fields(TksFieldVisitor& v) {
    v.Rect("itemrect", ItemRect);
    v.Integer("bgpictureindex", BGPictureIndex, -1);
  }
};

class TksDataSkinBevel : public TksDataLevel<TksDataSkinBevel, TksDataSkinControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TColor LightColor = 0, DarkColor = 0;
  void Fields(TksFieldVisitor& v) {
    v.Integer("lightcolor", LightColor, 0);
    v.Integer("darkcolor", DarkColor, 0);
  }
};

class TksDataSkinSlider : public TksDataLevel<TksDataSkinSlider, TksDataSkinControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TColor BGColor = 0;
  TRect HRulerRect{}, HThumbRect{}, VRulerRect{}, VThumbRect{};
  int EdgeSize = 0;
  TColor PointsColor = 0;
  void Fields(TksFieldVisitor& v);
};

// ---- box controls -------------------------------------------------------------------

class TksDataSkinListBox : public TksDataLevel<TksDataSkinListBox, TksDataSkinCustomControl>,
                           public TksFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  TRect ItemRect{}, ActiveItemRect{}, FocusItemRect{};
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect{};
  TColor ActiveFontColor = 0, FocusFontColor = 0;
  TRect CaptionRect{};
  String CaptionFontName = "Arial";
  int CaptionFontHeight = 14;
  TFontStyles CaptionFontStyle = 0;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{}, DownButtonRect{}, ActiveDownButtonRect{},
      DownDownButtonRect{}, CheckButtonRect{}, ActiveCheckButtonRect{}, DownCheckButtonRect{};
  // Empty until loaded; a missing key names the skin's usual scroll bars.
  String VScrollBarName, HScrollBarName, BothHScrollBarName;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinCheckListBox : public TksDataLevel<TksDataSkinCheckListBox, TksDataSkinListBox> {
 public:
  using TksDataLevel::TksDataLevel;
  TRect ItemCheckRect{}, UncheckImageRect{}, CheckImageRect{};
  void Fields(TksFieldVisitor& v) {
    v.Rect("itemcheckrect", ItemCheckRect);
    v.Rect("uncheckimagerect", UncheckImageRect);
    v.Rect("checkimagerect", CheckImageRect);
  }
};

class TksDataSkinComboBox : public TksDataLevel<TksDataSkinComboBox, TksDataSkinCustomControl>,
                            public TksFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  TRect ItemRect{}, FocusItemRect{};
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect{};
  TColor FocusFontColor = 0;
  TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
  String ListBoxName;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinEditControl : public TksDataLevel<TksDataSkinEditControl, TksDataSkinCustomControl>,
                               public TksFontFields {
 public:
  explicit TksDataSkinEditControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  TRect ActiveSkinRect{};
  TColor DisabledFontColor = 0, ActiveFontColor = 0;
  TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinMemoControl : public TksDataLevel<TksDataSkinMemoControl, TksDataSkinEditControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TColor BGColor = 0, ActiveBGColor = 0;
  void Fields(TksFieldVisitor& v) {
    v.Integer("bgcolor", BGColor, 0);
    v.Integer("activebgcolor", ActiveBGColor, 0);
  }
};

class TksDataSkinSpinEditControl
    : public TksDataLevel<TksDataSkinSpinEditControl, TksDataSkinCustomControl>,
      public TksFontFields {
 public:
  explicit TksDataSkinSpinEditControl(const String& idName) : TksDataLevel(idName) { FontHeight = 12; }
  TRect ActiveSkinRect{};
  TColor ActiveFontColor = 0, DisabledFontColor = 0;
  TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{}, DownButtonRect{}, ActiveDownButtonRect{},
      DownDownButtonRect{};
  void Fields(TksFieldVisitor& v);
};

// Up-downs never carry corner points or a client rectangle.
class TksDataSkinUpDownControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void LoadFromFile(TCustomIniFile& ini) override;
  void SaveToFile(TCustomIniFile& ini) override;
  void VisitFields(TksFieldVisitor& v) override {
    TksDataSkinCustomControl::VisitFields(v);
    Fields(v);
  }
  TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{}, DownButtonRect{}, ActiveDownButtonRect{},
      DownDownButtonRect{};
  void Fields(TksFieldVisitor& v);

 private:
  void ZeroGeometry();
};

class TksDataSkinTabControl : public TksDataLevel<TksDataSkinTabControl, TksDataSkinControl>,
                              public TksFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  TRect TabRect{}, ActiveTabRect{}, FocusTabRect{}, MouseInTabRect{}, ClientRect{};
  int BGPictureIndex = -1;
  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  int TabLeftOffset = 0, TabRightOffset = 0;
  TRect TabsBGRect{};
  TColor ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
  String UpDownName;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinGridControl : public TksDataLevel<TksDataSkinGridControl, TksDataSkinControl>,
                               public TksFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  TRect FixedCellRect{}, SelectCellRect{}, FocusCellRect{};
  int FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
  TRect FixedCellTextRect{};
  int CellLeftOffset = 0, CellRightOffset = 0;
  TRect CellTextRect{};
  TColor LinesColor = 0, BGColor = 0;
  TColor SelectFontColor = 0, FocusFontColor = 0;
  String FixedFontName = "Arial";
  int FixedFontHeight = 14;
  TFontStyles FixedFontStyle = 0;
  TColor FixedFontColor = 0;
  void Fields(TksFieldVisitor& v);
};

// A font and a background colour: white when new, black when the key is missing.
template <class Self>
class TksDataSkinFontBG : public TksDataLevel<Self, TksDataSkinControl>, public TksFontFields {
 public:
  using TksDataLevel<Self, TksDataSkinControl>::TksDataLevel;
  TColor BGColor = 16777215;
  void Fields(TksFieldVisitor& v) {
    Font(v);
    v.Integer("bgcolor", BGColor, 0);
  }
};

class TksDataSkinTreeView : public TksDataSkinFontBG<TksDataSkinTreeView> {
 public:
  using TksDataSkinFontBG::TksDataSkinFontBG;
};
class TksDataSkinListView : public TksDataSkinFontBG<TksDataSkinListView> {
 public:
  using TksDataSkinFontBG::TksDataSkinFontBG;
};
class TksDataSkinRichEdit : public TksDataSkinFontBG<TksDataSkinRichEdit> {
 public:
  using TksDataSkinFontBG::TksDataSkinFontBG;
};

class TksDataSkinMainMenuBar : public TksDataLevel<TksDataSkinMainMenuBar, TksDataSkinControl> {
 public:
  using TksDataLevel::TksDataLevel;
  TRect ItemsRect{};
  String MenuBarItem, CloseButton, MinButton, MaxButton, SysMenuButton;
  TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
  void Fields(TksFieldVisitor& v);
};
