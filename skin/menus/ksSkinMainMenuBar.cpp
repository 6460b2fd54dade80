#include "skin/menus/ksSkinMainMenuBar.h"

#include <algorithm>

#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/draw/ksPlainColors.h"
#include "skin/draw/ksSkinMorph.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksSkinMenus.h"

namespace {

constexpr TColor kDownFill = static_cast<TColor>(RGB(133, 146, 181));
constexpr int kMarkerWidth = 5;

// The plain look's face: button face, or a navy frame round the hot or pressed fill.
void DefaultFace(TCanvas* c, int w, int h, bool hot, bool down) {
  if (!hot && !down) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect{0, 0, w, h});
    return;
  }
  c->Brush()->SetColor(clNavy);
  c->FillRect(TRect{0, 0, w, h});
  c->Brush()->SetColor(down ? kDownFill : kPlainHotFill);
  c->FillRect(TRect{1, 1, w - 1, h - 1});
}

void CopyPart(TBitmap* b, TBitmap* picture, const TRect& source) {
  b->SetSize(RectWidth(source), RectHeight(source));
  if (picture == nullptr || IsNullRect(source)) return;
  b->Canvas()->CopyRect(TRect{0, 0, b->Width(), b->Height()}, picture->Canvas(), source);
}

template <class D>
D* SkinObjectData(TksSkinData* skin, const String& name) {
  const int i = skin != nullptr ? skin->GetObjectIndex(name) : -1;
  return i < 0 ? nullptr : dynamic_cast<D*>(skin->ObjectList[static_cast<size_t>(i)].get());
}

int CaptionWidth(TCanvas* c, const String& caption) {
  RECT r{0, 0, 0, 0};
  DrawTextA(c->Handle(), caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

}  // namespace

// ---- objects -----------------------------------------------------------------------------

TksMenuBarObject::TksMenuBarObject(TksSkinMainMenuBar* parent, TksDataSkinObject* data) : Parent(parent) {
  if (data == nullptr) return;
  TksSkinData* skin = parent->SkinData();
  Picture = skin != nullptr ? skin->ActivePicture(data->ActivePictureIndex) : nullptr;
  IDName = data->IDName;
  SkinRect = data->SkinRect;
  ActiveSkinRect = data->ActiveSkinRect;
  DownSkinRect = data->ActiveSkinRect;
  ObjectRect = SkinRect;
  Morphing = data->Morphing && !IsNullRect(ActiveSkinRect);
  MorphKind = data->MorphKind;
}

void TksMenuBarObject::MouseEnter() {
  Active = Highlight = true;
  ReDraw();
}

void TksMenuBarObject::MouseLeave() {
  Active = Highlight = false;
  ReDraw();
}

bool TksMenuBarObject::CanMorph() const {
  if (Down && !IsNullRect(DownSkinRect)) return false;
  return Highlight ? MorphKf < 5 : MorphKf > 0;
}

void TksMenuBarObject::ReDraw() {
  if (Morphing)
    Parent->StartMorph();
  else
    Parent->DrawObject(this);
}

void TksMenuBarObject::DoMorph() {
  SetMorphKf(MorphKf + (Highlight ? 1 : -1));
  Parent->DrawObject(this);
}

TksSkinMainMenuBarButton::TksSkinMainMenuBarButton(TksSkinMainMenuBar* parent, TksDataSkinMainMenuBarButton* data,
                                                   int command)
    : TksMenuBarObject(parent, data), Skinned(data != nullptr), Command(command) {
  if (data == nullptr) return;
  DownSkinRect = data->DownRect;
  Command = static_cast<int>(data->Command);
}

void TksSkinMainMenuBarButton::Draw(TCanvas* canvas) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1) return;
  TBitmap b(w, h);
  if (Skinned && Picture != nullptr) {
    if (Down && Active && !IsNullRect(DownSkinRect)) {
      CopyPart(&b, Picture, DownSkinRect);
    } else if (Between()) {
      TBitmap to;
      CopyPart(&b, Picture, SkinRect);
      CopyPart(&to, Picture, ActiveSkinRect);
      if (to.Width() == b.Width() && to.Height() == b.Height()) MorphFace(&b, &to, MorphKind, MorphKf / 5.0);
    } else {
      CopyPart(&b, Picture, Highlight && !IsNullRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect);
    }
  } else {
    TCanvas* c = b.Canvas();
    DefaultFace(c, w, h, Active, Down && Active);
    const int shift = Down && Active ? 1 : 0;
    const int x = w / 2 - 5 + shift, y = h / 2 - 4 + shift;
    const TColor color = Enabled ? clBtnText : clBtnShadow;
    static void (*const kGlyphs[])(TCanvas*, int, int, TColor) = {DrawCloseImage, DrawRestoreImage,
                                                                   DrawMinimizeImage, DrawSysMenuImage};
    if (Command >= 0 && Command < 4) kGlyphs[Command](c, x, y, color);
  }
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TksSkinMainMenuBarButton::MouseEnter() {
  if (Down && Command == 3) {
    Active = Highlight = true;
    return;
  }
  TksMenuBarObject::MouseEnter();
}

void TksSkinMainMenuBarButton::MouseLeave() {
  if (Down && Command == 3) {
    Active = Highlight = false;
    if (Morphing) MorphKf = 5;
    return;
  }
  TksMenuBarObject::MouseLeave();
}

void TksSkinMainMenuBarButton::MouseDown(TMouseButton button, int, int) {
  if (button != mbLeft || !Enabled) return;
  Down = true;
  if (Morphing && !IsNullRect(DownSkinRect)) MorphKf = 5;
  Parent->DrawObject(this);
  if (Command == 3) ButtonClick();
}

void TksSkinMainMenuBarButton::MouseUp(TMouseButton button, int x, int y) {
  if (button != mbLeft || !Enabled || Command == 3) return;
  Down = false;
  Parent->DrawObject(this);
  if (ObjectRect.Contains(TPoint{x, y})) ButtonClick();
}

void TksSkinMainMenuBarButton::ButtonClick() {
  TksSkinForm* child = Parent->ChildSkinForm();
  if (child == nullptr) return;
  switch (Command) {
    case 0: child->Form()->Close(); break;
    case 1: child->SetWindowState(kwsNormal); break;
    case 2: child->SetWindowState(kwsMinimized); break;
    case 3: {
      TksSkinForm* frame = Parent->ksSkinForm();
      if (frame == nullptr) return;
      Parent->Invalidate();
      frame->SkinMenuOpen();
      frame->SkinMenu()->Popup(Parent, Parent->MenuSkin(), Parent->PopupToUp, child->GetSystemMenu(),
                               Parent->ScreenRect(ObjectRect), 0);
      break;
    }
    default: break;
  }
}

void TksSkinMainMenuBarButton::DblClick() {
  if (Command != 3) return;
  TksSkinForm* child = Parent->ChildSkinForm();
  if (TksSkinForm* frame = Parent->ksSkinForm()) {
    if (frame->SkinMenu()->Visible()) frame->SkinMenu()->CloseMenu();
    if (frame->InSkinMenu()) frame->SkinMenuClose();
  }
  if (child != nullptr) child->Form()->Close();
}

TksSkinMainMenuBarItem::TksSkinMainMenuBarItem(TksSkinMainMenuBar* parent, TksDataSkinMainMenuBarItem* data,
                                               TMenuItem* item)
    : TksMenuBarObject(parent, data), Skinned(data != nullptr), MenuItem(item) {
  IDName = item->Name;
  Enabled = item->Enabled();
  SavedEnabled = Enabled;
  if (data == nullptr) return;
  FontName = data->FontName;
  FontHeight = data->FontHeight;
  FontStyle = data->FontStyle;
  FontColor = data->FontColor;
  ActiveFontColor = data->ActiveFontColor;
  DownFontColor = data->DownFontColor;
  UnEnabledFontColor = data->UnEnabledFontColor;
  TextRect = data->TextRect;
  DownRect = OrFallback(data->DownRect, OrFallback(ActiveSkinRect, SkinRect));
  DownSkinRect = data->ActiveSkinRect;
  ItemLeftOffset = data->ItemLeftOffset;
  ItemRightOffset = data->ItemRightOffset;
}

void TksSkinMainMenuBarItem::Layout(int left, TCanvas* measure) {
  const TRect& items = Parent->NewItemsRect;
  const int cw = CaptionWidth(measure, MenuItem->Caption());
  if (Skinned)
    ObjectRect = TRect{left, items.Top, left + RectWidth(SkinRect) - RectWidth(TextRect) + cw + 2,
                       items.Top + RectHeight(SkinRect)};
  else
    ObjectRect = TRect{left, items.Top, left + cw + 12, items.Bottom};
}

void TksSkinMainMenuBarItem::Draw(TCanvas* canvas) {
  if (RectWidth(ObjectRect) < 1 || RectHeight(ObjectRect) < 1 || !Fits) return;
  if (Skinned)
    DrawSkinned(canvas);
  else
    DrawDefault(canvas);
}

void TksSkinMainMenuBarItem::DrawDefault(TCanvas* canvas) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  DefaultFace(c, w, h, Active, Down);
  c->SetFont(Parent->DefItemFont());
  AssignSkinFont(c->Font(), false, "", 0, 0, Parent->DefItemFont(), Parent->SkinData());
  c->Font()->SetColor(Parent->DefItemFont()->Color());
  c->Brush()->SetStyle(bsClear);
  SetBkMode(c->Handle(), TRANSPARENT);
  RECT r{0, 0, w, h};
  if (Down) OffsetRect(&r, 1, 1);
  const String caption = MenuItem->Caption();
  DrawTextA(c->Handle(), caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TksSkinMainMenuBarItem::SkinFace(TBitmap* b, const TRect& source) {
  CreateHSkinImage(ItemLeftOffset, ItemRightOffset, b, Picture, source, RectWidth(ObjectRect),
                   RectHeight(ObjectRect));
}

void TksSkinMainMenuBarItem::DrawSkinned(TCanvas* canvas) {
  if (IsNullRect(SkinRect) || IsNullRect(TextRect) || Picture == nullptr) return;
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  TBitmap b(w, h);
  bool drawnActive = false;
  if (Down) {
    SkinFace(&b, DownRect);
  } else if (Between()) {
    TBitmap to(w, h);
    SkinFace(&b, SkinRect);
    SkinFace(&to, ActiveSkinRect);
    MorphFace(&b, &to, MorphKind, MorphKf / 5.0);
    drawnActive = MorphKf >= 3;
  } else if (Highlight) {
    SkinFace(&b, OrFallback(ActiveSkinRect, SkinRect));
    drawnActive = true;
  } else {
    SkinFace(&b, SkinRect);
  }
  TCanvas* c = b.Canvas();
  AssignSkinFont(c->Font(), Parent->UseSkinFont, FontName, FontHeight, FontStyle, Parent->DefItemFont(),
                 Parent->SkinData());
  TColor color = MenuItem->Enabled() ? FontColor : UnEnabledFontColor;
  if (Down)
    color = DownFontColor;
  else if (drawnActive)
    color = ActiveFontColor;
  c->Font()->SetColor(color);
  c->Brush()->SetStyle(bsClear);
  SetBkMode(c->Handle(), TRANSPARENT);
  TRect tr = TextRect;
  tr.Right = w - (RectWidth(SkinRect) - TextRect.Right);
  RECT r{tr.Left, tr.Top, tr.Right, tr.Bottom};
  DrawTextA(c->Handle(), MenuItem->Caption().c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TksSkinMainMenuBarItem::MouseEnter() {
  for (const auto& o : Parent->Objects()) {
    auto* other = dynamic_cast<TksSkinMainMenuBarItem*>(o.get());
    if (other == nullptr || other == this || other->MenuItem == MenuItem) continue;
    if (other->Down) {
      // An open menu moves along the bar with the mouse.
      other->SetDown(false);
      Highlight = true;
      SetDown(true);
      return;
    }
  }
  for (const auto& o : Parent->Objects()) {
    auto* other = dynamic_cast<TksSkinMainMenuBarItem*>(o.get());
    if (other != nullptr && other != this && other->MenuItem != MenuItem && other->Highlight) other->MouseLeave();
  }
  Active = Highlight = true;
  ReDraw();
  if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
}

void TksSkinMainMenuBarItem::MouseLeave() {
  Highlight = Active = false;
  if (Down && Morphing) MorphKf = 0;
  ReDraw();
  if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TksSkinMainMenuBarItem::MouseDown(TMouseButton button, int, int) {
  if (button != mbLeft || !Enabled) return;
  if (HasSubMenu()) {
    Parent->SetInMenu(true);
    SetDown(true);
    return;
  }
  if (TksSkinForm* frame = Parent->ksSkinForm()) {
    if (frame->InMainMenu()) frame->MainMenuExit();
    if (frame->InSkinMenu()) frame->SkinMenuClose();
  }
  Parent->DrawObject(this);
  if (TMenu* menu = MenuItem->GetParentMenu(); menu != nullptr && menu->DispatchCommand(MenuItem->Command())) return;
  MenuItem->Click();
}

void TksSkinMainMenuBarItem::SetDown(bool value) {
  if (!value) {
    Down = Highlight = false;
    if (Morphing) {
      MorphKf = 5;
      ReDraw();
    } else {
      Parent->DrawObject(this);
    }
    return;
  }
  Down = true;
  MorphKf = 5;
  Parent->DrawObject(this);
  TksSkinForm* frame = Parent->ksSkinForm();
  if (frame == nullptr) return;
  if (!frame->InMainMenu() && frame->OnMainMenuEnter) frame->OnMainMenuEnter(frame);
  frame->SkinMenuOpen();
  frame->SetInMainMenu(true);
  frame->SkinMenu()->Popup(nullptr, Parent->SkinData(), Parent->PopupToUp, MenuItem, Parent->ScreenRect(ObjectRect),
                           0);
}

// ---- the bar -------------------------------------------------------------------------------

TksSkinMainMenuBar::TksSkinMainMenuBar(TComponent* AOwner) : TksSkinControl(AOwner) {
  skinDataName_ = "mainmenubar";
  defItemFont_.SetName("Arial");
  defItemFont_.SetHeight(14);
  defItemFont_.SetStyle(0);
  defItemFont_.SetColor(clBtnText);
  SetAlign(alTop);
  SetHeight(22);
  mouseTimer_.SetEnabled(false);
  mouseTimer_.SetInterval(50);
  mouseTimer_.SetOnTimer(Bind<&TksSkinMainMenuBar::MouseTimerTick>(this));
  morphTimer_.SetEnabled(false);
  morphTimer_.SetInterval(20);
  morphTimer_.SetOnTimer(Bind<&TksSkinMainMenuBar::MorphTimerTick>(this));
}

TksSkinMainMenuBar::~TksSkinMainMenuBar() {
  mouseTimer_.SetEnabled(false);
  morphTimer_.SetEnabled(false);
  if (skinForm_ != nullptr && skinForm_->MainMenuBar() == this) skinForm_->SetMainMenuBar(nullptr);
  FreeObjects();
}

void TksSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  const bool skinGoes = Operation == opRemove && AComponent == skinData_ && skinData_ != nullptr;
  TksSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == mainMenu_) {
    mainMenu_ = nullptr;
    FreeObjects();
  }
  if (AComponent == skinForm_) skinForm_ = nullptr;
  if (skinGoes) {
    // The objects point into the skin going away; they come back in the plain look.
    barData_ = nullptr;
    picture_ = nullptr;
    skinned_ = false;
    CreateMenuItems();
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
    Invalidate();
  }
}

void TksSkinMainMenuBar::SetSkinData(TksSkinData* value) {
  TksSkinControl::SetSkinData(value);
  if (value == nullptr || value->Empty) ChangeSkinData();
}

void TksSkinMainMenuBar::SetMainMenu(TMainMenu* value) {
  SetComponentReference(this, mainMenu_, value);
  CreateMenuItems();
  Invalidate();
}

void TksSkinMainMenuBar::SetksSkinForm(TksSkinForm* value) { SetComponentReference(this, skinForm_, value); }

void TksSkinMainMenuBar::SetDefItemFont(TFont* value) {
  defItemFont_.Assign(value);
  if (!skinned_) Invalidate();
}

void TksSkinMainMenuBar::SetDefaultWidth(int value) {
  defaultWidth_ = value;
  if (!skinned_ && value >= 1) SetWidth(value);
}

void TksSkinMainMenuBar::SetDefaultHeight(int value) {
  defaultHeight_ = value;
  if (!skinned_ && value >= 1) SetHeight(value);
}

TksSkinData* TksSkinMainMenuBar::MenuSkin() const {
  if (skinForm_ != nullptr && skinForm_->MenusSkinData() != nullptr) return skinForm_->MenusSkinData();
  return skinForm_ != nullptr && skinForm_->SkinData() != nullptr ? skinForm_->SkinData() : skinData_;
}

TksSkinForm* TksSkinMainMenuBar::ChildSkinForm() const { return TksSkinForm::GetMaximizedMDIChildSkinForm(); }

TksSkinMainMenuBarItem* TksSkinMainMenuBar::Item(int index) const {
  if (index < 0 || index >= static_cast<int>(objects_.size())) return nullptr;
  return dynamic_cast<TksSkinMainMenuBarItem*>(objects_[static_cast<size_t>(index)].get());
}

// Indexes into the objects go stale with them.
void TksSkinMainMenuBar::FreeObjects() {
  morphTimer_.SetEnabled(false);
  objects_.clear();
  buttonsCount_ = 0;
  activeObject_ = oldActiveObject_ = mouseDownObject_ = -1;
  hasHiddenItems_ = markerActive_ = false;
}

TMainMenu* TksSkinMainMenuBar::ChildMenu() const {
  if (skinForm_ == nullptr || !skinForm_->IsMDIForm() || Application == nullptr || !Application->MainForm())
    return nullptr;
  TCustomForm* child = Application->MainForm()->ActiveMDIChild();
  if (child == nullptr) return nullptr;
  for (int i = 0; i < child->ComponentCount(); ++i)
    if (auto* menu = dynamic_cast<TMainMenu*>(child->Components(i))) return menu;
  return nullptr;
}

void TksSkinMainMenuBar::CreateMenuItems() {
  FreeObjects();
  if (mainMenu_ == nullptr) return;
  TMainMenu* child = ChildMenu();
  mergedMenu_ = child != nullptr;
  if (mergedMenu_) ScrollMenu = false;
  auto* itemData = skinned_ && barData_ != nullptr
                       ? SkinObjectData<TksDataSkinMainMenuBarItem>(skinData_, barData_->MenuBarItem)
                       : nullptr;
  std::vector<TMenuItem*> items;
  TMenuItem* root = mainMenu_->Items();
  for (int i = 0; i < root->Count(); ++i) items.push_back(root->Items(i));
  if (child != nullptr) {
    TMenuItem* childRoot = child->Items();
    std::vector<int> childGroups;
    for (int i = 0; i < childRoot->Count(); ++i) childGroups.push_back(childRoot->Items(i)->GroupIndex());
    std::erase_if(items, [&](TMenuItem* m) {
      return std::find(childGroups.begin(), childGroups.end(), m->GroupIndex()) != childGroups.end();
    });
    for (int i = 0; i < childRoot->Count(); ++i) items.push_back(childRoot->Items(i));
    std::stable_sort(items.begin(), items.end(),
                     [](TMenuItem* a, TMenuItem* b) { return a->GroupIndex() < b->GroupIndex(); });
  }
  for (TMenuItem* m : items)
    if (m->Visible()) objects_.push_back(std::make_unique<TksSkinMainMenuBarItem>(this, itemData, m));
  if (mdiButtonsShown_) {
    CreateMDIButtons();
    EnableMDIButtons();
  }
}

void TksSkinMainMenuBar::UpdateItems() {
  CreateMenuItems();
  Invalidate();
  activeObject_ = oldActiveObject_ = -1;
  mouseTimer_.SetEnabled(true);
}

void TksSkinMainMenuBar::AddMDIButton(const String& name, int command) {
  auto* data = skinned_ ? SkinObjectData<TksDataSkinMainMenuBarButton>(skinData_, name) : nullptr;
  auto button = std::make_unique<TksSkinMainMenuBarButton>(this, data, command);
  button->IDName = name;
  objects_.insert(objects_.begin(), std::move(button));
  ++buttonsCount_;
}

// Made in this order, each at the front: system menu, close, restore, minimize.
// A button the skin does not describe still does its own job.
void TksSkinMainMenuBar::CreateMDIButtons() {
  buttonsCount_ = 0;
  const bool named = skinned_ && barData_ != nullptr;
  AddMDIButton(named ? barData_->MinButton : String("MinButton"), 2);
  AddMDIButton(named ? barData_->MaxButton : String("MaxButton"), 1);
  AddMDIButton(named ? barData_->CloseButton : String("CloseButton"), 0);
  AddMDIButton(named ? barData_->SysMenuButton : String("SysMenuButton"), 3);
}

void TksSkinMainMenuBar::EnableMDIButtons() {
  TksSkinForm* child = ChildSkinForm();
  const TksBorderIcons icons = child != nullptr ? child->BorderIcons() : TksBorderIcons{};
  for (int i = 0; i < buttonsCount_; ++i) {
    auto* b = dynamic_cast<TksSkinMainMenuBarButton*>(objects_[static_cast<size_t>(i)].get());
    if (b == nullptr) continue;
    b->Enabled = true;
    if (b->Command == 2) b->Enabled = icons.Contains(TksBorderIcon::Minimize);
    if (b->Command == 3) b->Enabled = icons.Contains(TksBorderIcon::SystemMenu);
  }
}

void TksSkinMainMenuBar::ShowMDIButtons() {
  if (mdiButtonsShown_) return;
  mdiButtonsShown_ = true;
  activeObject_ = oldActiveObject_ = mouseDownObject_ = -1;
  CreateMenuItems();
  Invalidate();
}

void TksSkinMainMenuBar::HideMDIButtons() {
  const size_t count = std::min<size_t>(static_cast<size_t>(buttonsCount_), objects_.size());
  objects_.erase(objects_.begin(), objects_.begin() + static_cast<ptrdiff_t>(count));
  buttonsCount_ = 0;
  mdiButtonsShown_ = false;
  activeObject_ = oldActiveObject_ = mouseDownObject_ = -1;
}

void TksSkinMainMenuBar::UpdateMDIButtons() {
  if (ChildSkinForm() == nullptr) {
    if (!mdiButtonsShown_) return;
    HideMDIButtons();
    Invalidate();
    return;
  }
  EnableMDIButtons();
  Invalidate();
}

// ---- skin change ------------------------------------------------------------------------------

void TksSkinMainMenuBar::GetSkinData() {
  TksSkinControl::GetSkinData();
  barData_ = SkinDescription<TksDataSkinMainMenuBar>();
  picture_ = barData_ != nullptr ? skinData_->ActivePicture(barData_->PictureIndex) : nullptr;
  if (barData_ != nullptr) NewItemsRect = barData_->ItemsRect;
}

void TksSkinMainMenuBar::BeforeChangeSkinData() {
  TksSkinControl::BeforeChangeSkinData();
  skinned_ = false;
  barData_ = nullptr;
  picture_ = nullptr;
  FreeObjects();
}

void TksSkinMainMenuBar::ChangeSkinData() {
  GetSkinData();
  skinned_ = barData_ != nullptr;
  CreateMenuItems();
  if (skinned_)
    SetHeight(RectHeight(barData_->SkinRect));
  else if (defaultHeight_ > 0)
    SetHeight(defaultHeight_);
  Invalidate();
}

void TksSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (skinned_ && barData_ != nullptr) AHeight = RectHeight(barData_->SkinRect);
  TksSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// ---- layout and painting ----------------------------------------------------------------------

void TksSkinMainMenuBar::CalcObjectRects() {
  const int w = Width(), h = Height();
  if (skinned_ && barData_ != nullptr) {
    const TRect& ir = barData_->ItemsRect;
    NewItemsRect = TRect{ir.Left, ir.Top, w - (RectWidth(barData_->SkinRect) - ir.Right), ir.Bottom};
  } else {
    NewItemsRect = TRect{2, 2, w - 2, h - 2};
  }
  if (!mdiButtonsShown_ || buttonsCount_ < 4) return;
  const int itemsHeight = RectHeight(NewItemsRect);
  auto place = [&](TksMenuBarObject* b, bool left) {
    const int bw = skinned_ && !IsNullRect(b->SkinRect) ? RectWidth(b->SkinRect) : itemsHeight;
    const int bh = skinned_ && !IsNullRect(b->SkinRect) ? RectHeight(b->SkinRect) : itemsHeight;
    const int top = NewItemsRect.Top + (itemsHeight - bh) / 2;
    if (left) {
      b->ObjectRect = TRect{NewItemsRect.Left, top, NewItemsRect.Left + bw, top + bh};
      NewItemsRect.Left += bw + 2;
    } else {
      b->ObjectRect = TRect{NewItemsRect.Right - bw, top, NewItemsRect.Right, top + bh};
      NewItemsRect.Right -= bw + 2;
    }
  };
  // objects_: system menu, close, restore, minimize.
  place(objects_[0].get(), true);
  for (size_t i = 1; i < 4; ++i) place(objects_[i].get(), false);
}

TRect TksSkinMainMenuBar::MarkerRect() const {
  return TRect{NewItemsRect.Right - kMarkerWidth, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom};
}

void TksSkinMainMenuBar::PaintBar(TBitmap& b) {
  GetSkinData();
  skinned_ = barData_ != nullptr;
  b.SetSize(std::max(Width(), 1), std::max(Height(), 1));
  if (skinned_ && picture_ != nullptr) {
    CreateHSkinImage(barData_->ItemsRect.Left, RectWidth(barData_->SkinRect) - barData_->ItemsRect.Right, &b,
                     picture_, barData_->SkinRect, Width(), Height());
  } else {
    b.Canvas()->Brush()->SetColor(clBtnFace);
    b.Canvas()->FillRect(TRect{0, 0, b.Width(), b.Height()});
  }
  CalcObjectRects();
  hasHiddenItems_ = false;
  const int margin = ScrollMenu ? kMarkerWidth : 0;
  int left = NewItemsRect.Left;
  TCanvas* c = b.Canvas();
  for (const auto& o : objects_) {
    if (auto* item = dynamic_cast<TksSkinMainMenuBarItem*>(o.get())) {
      AssignSkinFont(c->Font(), skinned_ && UseSkinFont && item->Skinned, item->FontName, item->FontHeight,
                     item->FontStyle, &defItemFont_, skinData_);
      item->Layout(left, c);
      left = item->ObjectRect.Right;
      const bool fits = item->ObjectRect.Right <= NewItemsRect.Right - margin;
      if (!fits) {
        hasHiddenItems_ = true;
        if (item->Fits) item->SavedEnabled = item->Enabled;
        item->Fits = false;
        item->Enabled = false;
      } else if (!item->Fits) {
        item->Fits = true;
        item->Enabled = item->SavedEnabled;
      }
    }
    if (o->Visible) o->Draw(c);
  }
  if (ScrollMenu && hasHiddenItems_) DrawMarker(c);
}

void TksSkinMainMenuBar::DrawMarker(TCanvas* canvas) {
  TColor color = markerActive_ ? clBtnText : clBtnShadow;
  if (skinned_ && barData_ != nullptr)
    color = markerActive_ ? barData_->TrackMarkActiveColor : barData_->TrackMarkColor;
  DrawArrowImage(canvas, MarkerRect(), color, 2);
}

void TksSkinMainMenuBar::DrawObject(TksMenuBarObject* object) {
  if (!HandleAllocated() || !object->Visible) return;
  TCanvas* c = Canvas();
  object->Draw(c);
}

TRect TksSkinMainMenuBar::ScreenRect(const TRect& r) {
  POINT tl{r.Left, r.Top}, br{r.Right, r.Bottom};
  if (HandleAllocated()) {
    ::ClientToScreen(Handle(), &tl);
    ::ClientToScreen(Handle(), &br);
  }
  return TRect{tl.x, tl.y, br.x, br.y};
}

void TksSkinMainMenuBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: {
      TBitmap b;
      PaintBar(b);
      BitBlt(reinterpret_cast<HDC>(Message.WParam), 0, 0, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
      Message.Result = 1;
      return;
    }
    case WM_SIZE:
      TksSkinControl::WndProc(Message);
      CalcObjectRects();
      return;
    case WM_SKINMENUCLOSED:
      for (const auto& o : objects_) {
        auto* b = dynamic_cast<TksSkinMainMenuBarButton*>(o.get());
        if (b == nullptr || b->Command != 3 || !b->Down) continue;
        b->Down = false;
        const bool underMouse = activeObject_ >= 0 && objects_[static_cast<size_t>(activeObject_)].get() == b;
        if (!underMouse) b->Highlight = b->Active = false;
        DrawObject(b);
      }
      break;
    default: break;
  }
  TksSkinControl::WndProc(Message);
}

// ---- mouse ------------------------------------------------------------------------------------

int TksSkinMainMenuBar::FirstHidden() const {
  for (const auto& o : objects_)
    if (auto* item = dynamic_cast<TksSkinMainMenuBarItem*>(o.get()); item != nullptr && !item->Fits)
      return item->MenuItem->MenuIndex();
  return -1;
}

void TksSkinMainMenuBar::PopupHiddenItems() {
  const int start = FirstHidden();
  if (skinForm_ == nullptr || mainMenu_ == nullptr || start < 0) return;
  skinForm_->SkinMenuOpen();
  TMainMenu* child = mergedMenu_ ? ChildMenu() : nullptr;
  if (child != nullptr)
    skinForm_->SkinMenu()->Popup2(nullptr, SkinData(), false, child->Items(), mainMenu_->Items(),
                                  ScreenRect(MarkerRect()), start);
  else
    skinForm_->SkinMenu()->Popup(nullptr, SkinData(), false, mainMenu_->Items(), ScreenRect(MarkerRect()), start);
}

void TksSkinMainMenuBar::TestActive(int x, int y) {
  oldActiveObject_ = activeObject_;
  int hit = -1;
  for (size_t i = 0; i < objects_.size(); ++i) {
    const auto& o = objects_[i];
    if (o->Enabled && o->Visible && o->ObjectRect.Contains(TPoint{x, y})) {
      hit = static_cast<int>(i);
      break;
    }
  }
  if (hit < 0 && inMenu_ && Item(oldActiveObject_) != nullptr) hit = oldActiveObject_;
  if (mouseDownObject_ >= 0 && hit != mouseDownObject_) hit = -1;
  activeObject_ = hit;
  if (activeObject_ != oldActiveObject_) {
    if (oldActiveObject_ >= 0 && oldActiveObject_ < static_cast<int>(objects_.size()) &&
        objects_[static_cast<size_t>(oldActiveObject_)]->Enabled)
      objects_[static_cast<size_t>(oldActiveObject_)]->MouseLeave();
    if (activeObject_ >= 0 && objects_[static_cast<size_t>(activeObject_)]->Enabled)
      objects_[static_cast<size_t>(activeObject_)]->MouseEnter();
  }
  if (ScrollMenu && hasHiddenItems_) {
    const bool over = MarkerRect().Contains(TPoint{x, y});
    if (over != markerActive_) {
      markerActive_ = over;
      if (HandleAllocated()) DrawMarker(Canvas());
    }
  }
}

void TksSkinMainMenuBar::MouseTimerTick(TObject*) {
  POINT p{};
  Pointer().GetCursorPos(&p);
  if (HandleAllocated()) ::ScreenToClient(Handle(), &p);
  if (TRect{0, 0, Width(), Height()}.ContainsWithEdges(TPoint{p.x, p.y})) {
    TestActive(p.x, p.y);
    return;
  }
  mouseTimer_.SetEnabled(false);
  TestActive(-1, -1);
}

void TksSkinMainMenuBar::MorphTimerTick(TObject*) {
  bool moved = false;
  for (const auto& o : objects_) {
    if (!o->Morphing || !o->CanMorph()) continue;
    o->DoMorph();
    moved = true;
  }
  if (!moved) morphTimer_.SetEnabled(false);
}

void TksSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinControl::MouseDown(Button, Shift, X, Y);
  TestActive(X, Y);
  if (activeObject_ >= 0) {
    mouseDownObject_ = activeObject_;
    TksMenuBarObject* o = objects_[static_cast<size_t>(activeObject_)].get();
    o->MouseDown(Button, X, Y);
    // The press may have rebuilt the objects.
    if ((Shift & ssDouble) != 0 && mouseDownObject_ >= 0) o->DblClick();
  } else if (ScrollMenu && hasHiddenItems_ && MarkerRect().Contains(TPoint{X, Y})) {
    PopupHiddenItems();
  }
}

void TksSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinControl::MouseUp(Button, Shift, X, Y);
  const int pressed = mouseDownObject_;
  mouseDownObject_ = -1;
  if (pressed >= 0 && pressed < static_cast<int>(objects_.size()))
    objects_[static_cast<size_t>(pressed)]->MouseUp(Button, X, Y);
}

void TksSkinMainMenuBar::MouseMove(TShiftState Shift, int X, int Y) {
  TksSkinControl::MouseMove(Shift, X, Y);
  mouseTimer_.SetEnabled(true);
}

void TksSkinMainMenuBar::CMMouseEnter(TMessage& Message) {
  TksSkinControl::CMMouseEnter(Message);
  mouseTimer_.SetEnabled(true);
}

void TksSkinMainMenuBar::CMMouseLeave(TMessage& Message) {
  TksSkinControl::CMMouseLeave(Message);
  mouseTimer_.SetEnabled(false);
  TestActive(-1, -1);
}

// ---- keyboard ---------------------------------------------------------------------------------

std::vector<int> TksSkinMainMenuBar::WalkableItems() const {
  std::vector<int> walkable;
  for (size_t i = 0; i < objects_.size(); ++i)
    if (auto* item = Item(static_cast<int>(i)); item != nullptr && item->Enabled && item->Fits)
      walkable.push_back(static_cast<int>(i));
  return walkable;
}

int TksSkinMainMenuBar::HighlightedItem() const {
  for (int i : WalkableItems())
    if (Item(i)->Highlight || Item(i)->Down) return i;
  return -1;
}

void TksSkinMainMenuBar::StartMenuMode() {
  inMenu_ = true;
  TksSkinMainMenuBarItem* item = nullptr;
  for (size_t i = 0; i < objects_.size() && item == nullptr; ++i)
    if (auto* it = Item(static_cast<int>(i)); it != nullptr && it->Highlight) item = it;
  if (item == nullptr)
    for (size_t i = 0; i < objects_.size() && item == nullptr; ++i) item = Item(static_cast<int>(i));
  if (item != nullptr) item->MouseEnter();
  if (skinForm_ == nullptr) return;
  skinForm_->HookApp();
  const bool entering = !skinForm_->InMainMenu();
  skinForm_->SetInMainMenu(true);
  if (entering && skinForm_->OnMainMenuEnter) skinForm_->OnMainMenuEnter(skinForm_);
}

void TksSkinMainMenuBar::EndMenuMode() {
  inMenu_ = false;
  for (size_t i = 0; i < objects_.size(); ++i) {
    auto* item = Item(static_cast<int>(i));
    if (item == nullptr || (!item->Down && !item->Highlight)) continue;
    item->Highlight = item->Active = item->Down = false;
    item->MorphKf = 0;
    DrawObject(item);
    break;
  }
  activeObject_ = oldActiveObject_ = -1;
}

void TksSkinMainMenuBar::NextItem() { StepItem(1); }

void TksSkinMainMenuBar::PrevItem() { StepItem(-1); }

void TksSkinMainMenuBar::StepItem(int step) {
  const std::vector<int> walkable = WalkableItems();
  if (walkable.empty()) return;
  const int count = static_cast<int>(walkable.size());
  const int current = HighlightedItem();
  int at = step > 0 ? 0 : count - 1;
  if (current >= 0) {
    Item(current)->MouseLeave();
    const int from = static_cast<int>(std::find(walkable.begin(), walkable.end(), current) - walkable.begin());
    at = (from + step + count) % count;
  }
  Item(walkable[static_cast<size_t>(at)])->MouseEnter();
}

bool TksSkinMainMenuBar::FindAccelItem(WORD key) {
  for (int i : WalkableItems()) {
    TksSkinMainMenuBarItem* item = Item(i);
    if (!IsAccel(key, item->MenuItem->Caption())) continue;
    item->MouseEnter();
    const bool menuOpen = skinForm_ != nullptr && skinForm_->SkinMenu()->Visible();
    if (!(menuOpen && item->HasSubMenu())) item->MouseDown(mbLeft, 0, 0);
    return true;
  }
  return false;
}

bool TksSkinMainMenuBar::ExecuteActiveItem() {
  const bool menuOpen = skinForm_ != nullptr && skinForm_->SkinMenu()->Visible();
  for (size_t i = 0; i < objects_.size(); ++i) {
    TksSkinMainMenuBarItem* item = Item(static_cast<int>(i));
    if (item == nullptr) continue;
    if ((item->Down && !item->HasSubMenu()) || (item->Highlight && !menuOpen)) {
      item->Highlight = false;
      item->MouseDown(mbLeft, 0, 0);
      return true;
    }
  }
  return false;
}

void TksSkinMainMenuBar::ReleaseDownItem() {
  for (size_t i = 0; i < objects_.size(); ++i) {
    TksSkinMainMenuBarItem* item = Item(static_cast<int>(i));
    if (item == nullptr || !item->Down) continue;
    item->Down = false;
    item->Highlight = item->Active = true;
    DrawObject(item);
  }
}
