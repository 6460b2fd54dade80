// Object descriptions of [SKINOBJECTS] (caption, caption buttons, menu items,
// animations, areas of the skin's own) and the two fixed window descriptions.
#pragma once

#include "skin/data/ksSkinDataFields.h"

// Font block of the object kinds, which start empty (no construction step).
struct TksObjectFontFields {
  String FontName;
  int FontHeight = 0;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  void Font(TksFieldVisitor& v) { v.Font("", FontName, FontHeight, FontStyle, FontColor); }
};

class TksDataSkinObject : public TksDataSection {
 public:
  using TksDataSection::TksDataSection;
  void VisitFields(TksFieldVisitor& v) override { Fields(v); }

  String Hint;
  int ActivePictureIndex = -1;
  bool SkinRectInAPicture = false;
  TRect SkinRect{}, ActiveSkinRect{}, InActiveSkinRect{};
  bool Morphing = false;
  TksMorphKind MorphKind = 0;

  void Fields(TksFieldVisitor& v);
};

// Reads and writes only "skinrect"; the rest keeps its initial values.
class TksDataUserObject : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(TksFieldVisitor& v) override { v.Rect("skinrect", SkinRect); }
};

class TksDataSkinButton : public TksDataLevel<TksDataSkinButton, TksDataSkinObject> {
 public:
  using TksDataLevel::TksDataLevel;
  TRect DownRect{}, DisableSkinRect{};
  void Fields(TksFieldVisitor& v) {
    v.Rect("downrect", DownRect);
    v.Rect("disableskinrsect", DisableSkinRect);  // the skin format's own spelling
  }
};

class TksDataSkinStdButton : public TksDataLevel<TksDataSkinStdButton, TksDataSkinButton> {
 public:
  using TksDataLevel::TksDataLevel;
  TksStdButtonCommand Command = cmClose;
  TRect RestoreRect{}, RestoreActiveRect{}, RestoreDownRect{}, RestoreInActiveRect{};
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinMainMenuBarButton : public TksDataSkinStdButton {
 public:
  using TksDataSkinStdButton::TksDataSkinStdButton;
};

class TksDataSkinAnimate : public TksDataLevel<TksDataSkinAnimate, TksDataSkinObject> {
 public:
  using TksDataLevel::TksDataLevel;
  void LoadFromFile(TCustomIniFile& ini) override;
  int CountFrames = 0;
  bool Cycle = false, ButtonStyle = false;
  int TimerInterval = 0;
  TksStdButtonCommand Command = cmClose;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinMenuItem : public TksDataLevel<TksDataSkinMenuItem, TksDataSkinObject>,
                            public TksObjectFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect DividerRect{};
  int DividerLeftOffset = 0, DividerRightOffset = 0;
  TRect TextRect{};
  TColor ActiveFontColor = 0, UnEnabledFontColor = 0;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinMainMenuItem : public TksDataLevel<TksDataSkinMainMenuItem, TksDataSkinObject>,
                                public TksObjectFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect DownRect{}, TextRect{};
  TColor ActiveFontColor = 0, DownFontColor = 0, UnEnabledFontColor = 0;
  void Fields(TksFieldVisitor& v);
};

class TksDataSkinMainMenuBarItem : public TksDataSkinMainMenuItem {
 public:
  using TksDataSkinMainMenuItem::TksDataSkinMainMenuItem;
};

class TksDataSkinCaption : public TksDataLevel<TksDataSkinCaption, TksDataSkinObject>, public TksObjectFontFields {
 public:
  using TksDataLevel::TksDataLevel;
  TRect TextRect{};
  TColor ActiveFontColor = 0;
  TAlignment Alignment = taLeftJustify;
  bool Shadow = false;
  TColor ShadowColor = 0, ActiveShadowColor = 0;
  TRect FrameRect{}, ActiveFrameRect{}, FrameTextRect{};
  int FrameLeftOffset = 0, FrameRightOffset = 0;
  void Fields(TksFieldVisitor& v);
};

// The popup menu window's frame, read from [POPUPWINDOW].
class TksDataSkinPopupWindow : public TObject {
 public:
  void LoadFromFile(TCustomIniFile& ini);
  void Fields(TksFieldVisitor& v);
  int WindowPictureIndex = -1, MaskPictureIndex = -1;
  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect ItemsRect{};
  TColor ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;
  bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
};

// The hint window's frame and font, read from [HINTWINDOW].
class TksDataSkinHintWindow : public TObject {
 public:
  void LoadFromFile(TCustomIniFile& ini);
  void Fields(TksFieldVisitor& v);
  int WindowPictureIndex = -1, MaskPictureIndex = -1;
  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect ClientRect{};
  String FontName = "Arial";
  int FontHeight = 12;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0;
  bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
};
