#include "skin/controls/ksSkinSplitter.h"

#include "skin/data/ksSkinDataControls.h"
#include "skin/draw/ksUtils.h"

TksSkinSplitter::TksSkinSplitter(TComponent* AOwner) : TSplitter(AOwner) { controlStyle_ |= csOpaque; }

void TksSkinSplitter::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  ChangeSkinData();
}

void TksSkinSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TSplitter::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
    picture_ = nullptr;
  }
}

void TksSkinSplitter::GetSkinData() {
  controlIndex_ = SkinControlIndex(skinData_, SkinDataName);
  picture_ = nullptr;
  auto* d = skinData_ != nullptr ? skinData_->ControlData<TksDataSkinSplitterControl>(controlIndex_) : nullptr;
  if (d == nullptr) return;
  ltPoint_ = d->LTPoint;
  rtPoint_ = d->RTPoint;
  lbPoint_ = d->LBPoint;
  skinRect_ = d->SkinRect;
  picture_ = skinData_->ActivePicture(d->PictureIndex);
}

bool TksSkinSplitter::HasFace() const {
  return skinData_ != nullptr && skinData_->ControlData<TksDataSkinSplitterControl>(controlIndex_) != nullptr &&
         !IsNullRect(skinRect_);
}

void TksSkinSplitter::ChangeSkinData() {
  GetSkinData();
  // Another kind of entry, or a face without a rectangle, would leave a bar of no
  // thickness that nobody can grab: those keep the size without a skin.
  const int thickness = HasFace() ? (Horizontal() ? RectHeight(skinRect_) : RectWidth(skinRect_)) : DefaultSize;
  if (thickness >= 1) {
    MinSize = thickness;
    if (Horizontal())
      SetHeight(thickness);
    else
      SetWidth(thickness);
  }
  Repaint();
}

void TksSkinSplitter::Paint() {
  GetSkinData();
  if (!HasFace() || picture_ == nullptr || Align() == alNone || Align() == alClient) {
    TSplitter::Paint();
    return;
  }
  TBitmap b;
  if (Horizontal())
    CreateHSkinImage(ltPoint_.X, RectWidth(skinRect_) - rtPoint_.X, &b, picture_, skinRect_, Width(),
                     RectHeight(skinRect_));
  else
    CreateVSkinImage(ltPoint_.Y, RectHeight(skinRect_) - lbPoint_.Y, &b, picture_, skinRect_, RectWidth(skinRect_),
                     Height());
  Canvas()->Draw(0, 0, &b);
}
