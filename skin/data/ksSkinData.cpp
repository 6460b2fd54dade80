#include "skin/data/ksSkinData.h"

#include <algorithm>
#include <array>

#include "framework/gui/forms.h"
#include "framework/gui/screen.h"
#include "skin/data/ksSkinDataBounds.h"

namespace {

template <class Base>
struct TypeEntry {
  const char* word;
  std::unique_ptr<Base> (*make)(const String& idName);
};

template <class Base, class T>
std::unique_ptr<Base> Make(const String& idName) {
  return std::make_unique<T>(idName);
}

template <class T>
constexpr TypeEntry<TksDataSkinControl> Ctl(const char* word) {
  return {word, &Make<TksDataSkinControl, T>};
}
template <class T>
constexpr TypeEntry<TksDataSkinObject> Obj(const char* word) {
  return {word, &Make<TksDataSkinObject, T>};
}

const std::array<TypeEntry<TksDataSkinControl>, 28> kControlTypes = {{
    Ctl<TksDataSkinPanelControl>("panel"),
    Ctl<TksDataSkinExPanelControl>("expanel"),
    Ctl<TksDataSkinMenuButtonControl>("menubutton"),
    Ctl<TksDataSkinButtonControl>("button"),
    Ctl<TksDataSkinCheckRadioControl>("checkradio"),
    Ctl<TksDataSkinGaugeControl>("gauge"),
    Ctl<TksDataSkinSplitterControl>("splitter"),
    Ctl<TksDataSkinTrackBarControl>("trackbar"),
    Ctl<TksDataSkinLabelControl>("label"),
    Ctl<TksDataSkinStdLabelControl>("stdlabel"),
    Ctl<TksDataSkinUpDownControl>("updown"),
    Ctl<TksDataSkinGridControl>("grid"),
    Ctl<TksDataSkinTabControl>("tab"),
    Ctl<TksDataSkinMainMenuBar>("mainmenubar"),
    Ctl<TksDataSkinControlBar>("controlbar"),
    Ctl<TksDataSkinMemoControl>("memo"),
    Ctl<TksDataSkinEditControl>("edit"),
    Ctl<TksDataSkinCheckListBox>("checklistbox"),
    Ctl<TksDataSkinListBox>("listbox"),
    Ctl<TksDataSkinComboBox>("combobox"),
    Ctl<TksDataSkinScrollBarControl>("scrollbar"),
    Ctl<TksDataSkinSpinEditControl>("spinedit"),
    Ctl<TksDataSkinScrollBoxControl>("scrollbox"),
    Ctl<TksDataSkinTreeView>("treeview"),
    Ctl<TksDataSkinBevel>("bevel"),
    Ctl<TksDataSkinSlider>("slider"),
    Ctl<TksDataSkinListView>("listview"),
    Ctl<TksDataSkinRichEdit>("richedit"),
}};

const std::array<TypeEntry<TksDataSkinObject>, 8> kObjectTypes = {{
    Obj<TksDataSkinMenuItem>("menuitem"),
    Obj<TksDataSkinMainMenuBarItem>("mainmenubaritem"),
    Obj<TksDataSkinStdButton>("stdbutton"),
    Obj<TksDataSkinMainMenuBarButton>("mainmenubarbutton"),
    Obj<TksDataSkinButton>("button"),
    Obj<TksDataSkinCaption>("caption"),
    Obj<TksDataSkinAnimate>("animate"),
    Obj<TksDataUserObject>("userobject"),
}};

template <class Base, size_t N>
std::unique_ptr<Base> Create(const std::array<TypeEntry<Base>, N>& types, const String& type, const String& idName);

// Reads "count" and entries "0".."count-1".
template <class Base, size_t N>
void LoadList(TCustomIniFile& ini, const char* section, const std::array<TypeEntry<Base>, N>& types,
              std::vector<std::unique_ptr<Base>>& list) {
  const int n = ReadCount(ini, section, "count");
  for (int i = 0; i < n; ++i) {
    String name, type;
    ParseNameType(ini.ReadString(section, IntToStr(i), ""), name, type);
    auto description = Create(types, type, name);
    if (!description) continue;
    list.push_back(std::move(description));
    list.back()->LoadFromFile(ini);
  }
}

template <class Base, size_t N>
std::unique_ptr<Base> Create(const std::array<TypeEntry<Base>, N>& types, const String& type, const String& idName) {
  auto entry = std::find_if(types.begin(), types.end(), [&](const TypeEntry<Base>& e) { return type == e.word; });
  return entry == types.end() ? nullptr : entry->make(idName);
}

template <class List>
int IndexOfName(const List& list, const String& name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->IDName == name) return static_cast<int>(i);
  return -1;
}

int32_t ReadInt32(TStream& stream) {
  int32_t value = 0;
  stream.ReadBuffer(&value, sizeof value);
  return value;
}

// A flag byte, then a BMP when the flag is 0; any other flag empties the bitmap.
void ReadFlaggedPicture(TStream& stream, TBitmap& bitmap) {
  uint8_t flag = 1;
  stream.ReadBuffer(&flag, 1);
  if (flag == 0)
    ReadStoredBitmap(stream, bitmap);
  else
    bitmap.SetSize(0, 0);
}

}  // namespace

std::unique_ptr<TksDataSkinControl> CreateControlDescription(const String& type, const String& idName) {
  return Create(kControlTypes, type, idName);
}

std::unique_ptr<TksDataSkinObject> CreateObjectDescription(const String& type, const String& idName) {
  return Create(kObjectTypes, type, idName);
}

void ParseNameType(const String& entry, String& name, String& type) {
  name.clear();
  type.clear();
  size_t colon = entry.find(':');
  if (colon == String::npos) return;
  name = entry.substr(0, colon);
  type = entry.substr(colon + 1);
}

TksSkinData::TksSkinData(TComponent* AOwner) : TComponent(AOwner) {
  FormWindows = [this] { return ScreenFormWindows(); };
}

TksSkinData::~TksSkinData() {
  Empty = true;
  ClearObjects();
}

void TksSkinData::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == compressedStoredSkin_) compressedStoredSkin_ = nullptr;
  if (AComponent == resourceStrData_) resourceStrData_ = nullptr;
}

void TksSkinData::SetCompressedStoredSkin(TksCompressedStoredSkin* value) {
  if (compressedStoredSkin_) compressedStoredSkin_->RemoveFreeNotification(this);
  compressedStoredSkin_ = value;
  if (!value) return;
  value->FreeNotification(this);
  LoadCompressedStoredSkin(*value);
}

void TksSkinData::SetResourceStrData(TksResourceStrData* value) {
  if (resourceStrData_) resourceStrData_->RemoveFreeNotification(this);
  resourceStrData_ = value;
  if (value) value->FreeNotification(this);
  SendSkinDataMessage(WM_CHANGERESOURCESTRDATA);
}

int TksSkinData::GetControlIndex(const String& name) const { return IndexOfName(CtrlList, name); }

int TksSkinData::GetObjectIndex(const String& name) const { return IndexOfName(ObjectList, name); }

int SkinControlIndex(const TksSkinData* skin, const String& name) {
  return (skin == nullptr || skin->Empty) ? -1 : skin->GetControlIndex(name);
}

TBitmap* TksSkinData::ActivePicture(int index) const {
  if (index < 0 || index >= static_cast<int>(ActivePictures.size())) return nullptr;
  return ActivePictures[static_cast<size_t>(index)].get();
}

std::vector<HWND> TksSkinData::ScreenFormWindows() const {
  std::vector<HWND> windows;
  auto* ownerForm = dynamic_cast<TCustomForm*>(Owner());
  if (ownerForm) windows.push_back(ownerForm->Handle());
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i) != ownerForm) windows.push_back(Screen->Forms(i)->Handle());
  return windows;
}

void TksSkinData::SendSkinDataMessage(UINT message) {
  for (HWND wnd : FormWindows())
    SendMessageA(wnd, message, reinterpret_cast<WPARAM>(this), kSkinMessageLParam);
}

void TksSkinData::ClearObjects() {
  ObjectList.clear();
  CtrlList.clear();
  ActivePictures.clear();
  PopupWindow.WindowPictureIndex = -1;
  HintWindow.WindowPictureIndex = -1;
  ActivePictureNames.Clear();
}

void TksSkinData::ClearAll() {
  ClearObjects();
  Picture.SetSize(0, 0);
  InActivePicture.SetSize(0, 0);
  MaskPicture.SetSize(0, 0);
  Empty = true;
}

void TksSkinData::LoadCompressedStoredSkin(TksCompressedStoredSkin& storedSkin) {
  if (storedSkin.IsEmpty()) return;
  Empty = true;
  SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
  ClearAll();
  // Forms and controls hear of a failed load too, and settle in the look without a skin.
  auto tellChanged = [this] {
    SendSkinDataMessage(WM_CHANGESKINDATA);
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
  };
  try {
    TMemoryStream stream;
    storedSkin.DeCompressToStream(stream);
    stream.SetPosition(0);
    if (ReadInt32(stream) <= kStoredSkinVersion) {
      stream.SetPosition(0);
      ReadStoredSkin(stream);
      Empty = false;
    }
  } catch (...) {
    tellChanged();
    throw;
  }
  tellChanged();
}

void TksSkinData::ReadStoredSkin(TStream& stream) {
  const int32_t version = ReadInt32(stream);
  ReadFlaggedPicture(stream, Picture);
  ReadFlaggedPicture(stream, InActivePicture);
  ReadFlaggedPicture(stream, MaskPicture);
  if (version == 2) {
    TBitmap scratch;
    ReadFlaggedPicture(stream, scratch);
    ReadFlaggedPicture(stream, scratch);
  }
  // Each picture must fit in what is left, so a huge count ends at the stream's end.
  const int32_t count = ReadInt32(stream);
  for (int32_t i = 0; i < count; ++i) {
    auto bitmap = std::make_unique<TBitmap>();
    ReadStoredBitmap(stream, *bitmap);
    ActivePictures.push_back(std::move(bitmap));
  }

  TStringList lines;
  lines.LoadFromStream(stream);
  TMemIniFile ini;
  ini.SetStrings(lines);

  SkinName = ini.ReadString("VERSION", "skinname", "");
  SkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
  AuthorEmail = ini.ReadString("VERSION", "authoremail", "");
  AuthorURL = ini.ReadString("VERSION", "authorurl", "");
  SkinComments = ini.ReadString("VERSION", "skincomments", "");
  PictureName = ini.ReadString("PICTURES", "picture", "");
  InActivePictureName = ini.ReadString("PICTURES", "inactivepicture", "");
  MaskPictureName = ini.ReadString("PICTURES", "mask", "");
  ReadStrings(ini, "PICTURES", "activepictures", ActivePictureNames);
  LoadFormInfo(ini);
  PopupWindow.LoadFromFile(ini);
  HintWindow.LoadFromFile(ini);
  LoadSkinObjects(ini);
  LoadSkinControls(ini);
  CheckPictureBounds();
}

void TksSkinData::CheckPictureBounds() {
  // A description without its picture draws nothing from it.
  auto check = [](const String& section, const TBitmap* picture, auto&& visit) {
    if (picture == nullptr) return;
    TksFieldBoundsCheck bounds(section, picture->Width(), picture->Height());
    visit(bounds);
  };
  check("FORMINFO", &Picture, [this](TksFieldVisitor& v) {
    v.Point("lefttoppoint", LTPoint);
    v.Point("righttoppoint", RTPoint);
    v.Point("leftbottompoint", LBPoint);
    v.Point("rightbottompoint", RBPoint);
    v.Rect("clientrect", ClientRect);
    v.Rect("maskrectarea", MaskRectArea);
    v.Rect("buttonsrect", ButtonsRect);
    v.Rect("captionrect", CaptionRect);
  });
  check("POPUPWINDOW", ActivePicture(PopupWindow.WindowPictureIndex), [this](TksFieldVisitor& v) { PopupWindow.Fields(v); });
  check("HINTWINDOW", ActivePicture(HintWindow.WindowPictureIndex), [this](TksFieldVisitor& v) { HintWindow.Fields(v); });
  for (const auto& d : CtrlList)
    check(d->IDName, ActivePicture(d->PictureIndex), [&](TksFieldVisitor& v) { d->VisitFields(v); });
  // An object takes its faces from its own picture or from the frame's: both bound it.
  for (const auto& o : ObjectList) {
    const TBitmap* own = ActivePicture(o->ActivePictureIndex);
    TksFieldBoundsCheck bounds(o->IDName, std::max(Picture.Width(), own ? own->Width() : 0),
                               std::max(Picture.Height(), own ? own->Height() : 0));
    o->VisitFields(bounds);
  }
}

void TksSkinData::LoadFormInfo(TCustomIniFile& ini) {
  const char* s = "FORMINFO";
  LTPoint = ReadPoint(ini, s, "lefttoppoint");
  RTPoint = ReadPoint(ini, s, "righttoppoint");
  LBPoint = ReadPoint(ini, s, "leftbottompoint");
  RBPoint = ReadPoint(ini, s, "rightbottompoint");
  ClientRect = ReadRect(ini, s, "clientrect");
  BGPictureIndex = ini.ReadInteger(s, "bgpictureindex", -1);
  MDIBGPictureIndex = ini.ReadInteger(s, "mdibgpictureindex", -1);
  LeftStretch = ReadBoolean(ini, s, "leftstretch");
  RightStretch = ReadBoolean(ini, s, "rightstretch");
  TopStretch = ReadBoolean(ini, s, "topstretch");
  BottomStretch = ReadBoolean(ini, s, "bottomstretch");
  MaskRectArea = ReadRect(ini, s, "maskrectarea");
  HitTestLTPoint = ReadPoint(ini, s, "hittestlefttoppoint");
  HitTestRTPoint = ReadPoint(ini, s, "hittestrighttoppoint");
  HitTestLBPoint = ReadPoint(ini, s, "hittestleftbottompoint");
  HitTestRBPoint = ReadPoint(ini, s, "hittestrightbottompoint");
  if (!MaskPictureName.empty()) {
    // The mask area must hold the client area; unset hit-test corners fall back
    // to the frame's corners.
    if (IsNullRect(MaskRectArea)) {
      MaskRectArea = ClientRect;
    } else {
      MaskRectArea.Left = std::min(MaskRectArea.Left, ClientRect.Left);
      MaskRectArea.Top = std::min(MaskRectArea.Top, ClientRect.Top);
      MaskRectArea.Right = std::max(MaskRectArea.Right, ClientRect.Right);
      MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClientRect.Bottom);
    }
    if (IsNullPoint(HitTestLTPoint)) HitTestLTPoint = LTPoint;
    if (IsNullPoint(HitTestRTPoint)) HitTestRTPoint = RTPoint;
    if (IsNullPoint(HitTestLBPoint)) HitTestLBPoint = LBPoint;
    if (IsNullPoint(HitTestRBPoint)) HitTestRBPoint = RBPoint;
  }
  ButtonsRect = ReadRect(ini, s, "buttonsrect");
  CaptionRect = ReadRect(ini, s, "captionrect");
  ButtonsOffset = ini.ReadInteger(s, "buttonsoffset", 0);
  ButtonsInLeft = ReadBoolean(ini, s, "buttonsinleft");
  MainMenuPopupUp = ReadBoolean(ini, s, "mainmenupopupup");
  BorderWidth = ini.ReadInteger(s, "borderwidth", 0);
  AutoRenderingInActiveImage = ReadBoolean(ini, s, "autorenderinginactiveimage");
  InActiveEffect = ReadEffect(ini, s, "inactiveeffect");

  if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
    const TRect& c = ClientRect;
    LTPoint = {std::max(LTPoint.X, c.Left), std::max(LTPoint.Y, c.Top)};
    RTPoint = {std::min(RTPoint.X, c.Right), std::max(RTPoint.Y, c.Top)};
    LBPoint = {std::max(LBPoint.X, c.Left), std::min(LBPoint.Y, c.Bottom)};
    RBPoint = {std::min(RBPoint.X, c.Right), std::min(RBPoint.Y, c.Bottom)};
  }
}

void TksSkinData::LoadSkinObjects(TCustomIniFile& ini) { LoadList(ini, "SKINOBJECTS", kObjectTypes, ObjectList); }

void TksSkinData::LoadSkinControls(TCustomIniFile& ini) {
  LoadList(ini, "SKINCONTROLS", kControlTypes, CtrlList);
}
