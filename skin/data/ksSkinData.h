// TksSkinData: the one loaded skin (pictures, frame geometry, window, object and
// control descriptions) that every skinned form and control reads by name. It
// tells every form before and after it loads a skin.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/core/classes.h"
#include "framework/core/strings.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinDataObjects.h"
#include "skin/data/ksSkinDataResStr.h"
#include "skin/data/ksSkinDataStored.h"
#include "skin/data/ksSkinMessages.h"

class TksSkinData : public TComponent {
 public:
  explicit TksSkinData(TComponent* AOwner);
  ~TksSkinData() override;

  TksCompressedStoredSkin* CompressedStoredSkin() const { return compressedStoredSkin_; }
  // Loads the stored skin at once.
  void SetCompressedStoredSkin(TksCompressedStoredSkin* value);
  TksResourceStrData* ResourceStrData() const { return resourceStrData_; }
  // Tells every form that the texts may have changed.
  void SetResourceStrData(TksResourceStrData* value);

  bool Empty = true;
  TBitmap Picture;
  TBitmap InActivePicture;
  TBitmap MaskPicture;
  std::vector<std::unique_ptr<TBitmap>> ActivePictures;
  String PictureName, InActivePictureName, MaskPictureName;
  TStringList ActivePictureNames;
  String SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;

  // [FORMINFO]
  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect ClientRect{};
  int BGPictureIndex = -1;
  int MDIBGPictureIndex = -1;
  bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
  TRect MaskRectArea{};
  TPoint HitTestLTPoint{}, HitTestRTPoint{}, HitTestLBPoint{}, HitTestRBPoint{};
  TRect ButtonsRect{}, CaptionRect{};
  int ButtonsOffset = 0;
  bool ButtonsInLeft = false;
  bool MainMenuPopupUp = false;
  int BorderWidth = 0;
  bool AutoRenderingInActiveImage = false;
  TksEffect InActiveEffect = 0;

  TksDataSkinPopupWindow PopupWindow;
  TksDataSkinHintWindow HintWindow;
  std::vector<std::unique_ptr<TksDataSkinObject>> ObjectList;
  std::vector<std::unique_ptr<TksDataSkinControl>> CtrlList;

  // First description with exactly that IDName, or -1.
  int GetControlIndex(const String& name) const;
  // The description at the index when it is of kind D, else null (-1 and any
  // index outside the list included).
  template <class D>
  D* ControlData(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= CtrlList.size()) return nullptr;
    return dynamic_cast<D*>(CtrlList[static_cast<size_t>(index)].get());
  }
  int GetObjectIndex(const String& name) const;
  // The active picture at the index, or null for any index outside the list
  // (-1 and below included).
  TBitmap* ActivePicture(int index) const;

  void LoadCompressedStoredSkin(TksCompressedStoredSkin& storedSkin);
  void SendSkinDataMessage(UINT message);

  // The windows a broadcast goes to, owner form first. By default the owner
  // form and then the screen's forms; tests put plain windows in its place.
  std::function<std::vector<HWND>()> FormWindows;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::vector<HWND> ScreenFormWindows() const;
  void ClearObjects();
  void ClearAll();
  void ReadStoredSkin(TStream& stream);
  void LoadFormInfo(TCustomIniFile& ini);
  void LoadSkinObjects(TCustomIniFile& ini);
  void LoadSkinControls(TCustomIniFile& ini);
  // Refuses the skin when a rectangle or point lies outside the picture it is taken from.
  void CheckPictureBounds();

  TksCompressedStoredSkin* compressedStoredSkin_ = nullptr;
  TksResourceStrData* resourceStrData_ = nullptr;
};

// The index of the control description under `name`, or -1, the look without a skin,
// when there is no skin or it holds nothing.
int SkinControlIndex(const TksSkinData* skin, const String& name);

// A new description of the class the type word names in [SKINCONTROLS] or
// [SKINOBJECTS] (exact words), or null for a word outside the table.
std::unique_ptr<TksDataSkinControl> CreateControlDescription(const String& type, const String& idName);
std::unique_ptr<TksDataSkinObject> CreateObjectDescription(const String& type, const String& idName);

// Splits "name:type" at the first colon; both empty without one.
void ParseNameType(const String& entry, String& name, String& type);
