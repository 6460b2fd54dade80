// What a skinned control does whether it has a window of its own or not.
// TksSkinBase finds the control's description in a skin container by name,
// forgets the container when it goes and paints through an off-screen bitmap;
// TksSkinFaceBase adds the resizable face and the default font and size of the
// look without a skin. The windowed bases (ksSkinCtrls.h) and the windowless
// ones (ksSkinSpeedButton.h) are these over their framework base.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/core/colors.h"
#include "framework/core/gdiobjects.h"
#include "framework/gui/customcontrol.h"
#include "skin/controls/ksSkinFace.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"
#include "skin/draw/ksUtils.h"

template <class TBase>
class TksSkinBase : public TBase, public IksSkinChange {
 public:
  explicit TksSkinBase(TComponent* AOwner) : TBase(AOwner) {}

  TksSkinData* SkinData() const override { return skinData_; }
  virtual void SetSkinData(TksSkinData* value) {
    SetComponentReference(this, skinData_, value);
    if (skinData_ != nullptr && !skinData_->Empty) ChangeSkinData();
  }
  const String& SkinDataName() const { return skinDataName_; }
  virtual void SetSkinDataName(const String& value) { skinDataName_ = value; }
  int ControlIndex() const { return controlIndex_; }

  // Drops everything that points into the old skin.
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  // Takes a new or changed skin.
  void ChangeSkinData() override {
    GetSkinData();
    this->Repaint();
  }
  // Looks the description up again; -1 is the default look.
  virtual void GetSkinData() {
    controlIndex_ = SkinControlIndex(skinData_, skinDataName_);
  }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  virtual void CreateControlDefaultImage(TBitmap* /*b*/) {}
  virtual void CreateControlSkinImage(TBitmap* /*b*/) {}

  void Paint() override {
    if (this->Width() < 1 || this->Height() < 1) return;
    GetSkinData();
    TBitmap b(this->Width(), this->Height());
    if (controlIndex_ == -1)
      CreateControlDefaultImage(&b);
    else
      CreateControlSkinImage(&b);
    this->Canvas()->Draw(0, 0, &b);
  }

  void Notification(TComponent* AComponent, TOperation Operation) override {
    TBase::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == skinData_) {
      skinData_ = nullptr;
      controlIndex_ = -1;
    }
  }

  void CMMouseEnter(TMessage& Message) override {
    TBase::CMMouseEnter(Message);
    if (OnMouseEnter) OnMouseEnter(this);
  }

  void CMMouseLeave(TMessage& Message) override {
    TBase::CMMouseLeave(Message);
    if (OnMouseLeave) OnMouseLeave(this);
  }

  // The description found under the name when it is of kind D, else null.
  template <class D>
  D* SkinDescription() const {
    return skinData_ == nullptr ? nullptr : skinData_->template ControlData<D>(controlIndex_);
  }

  TksSkinData* skinData_ = nullptr;
  String skinDataName_;
  int controlIndex_ = -1;
};

template <class TSkinBase>
class TksSkinFaceBase : public TSkinBase, public TksSkinFace {
 public:
  explicit TksSkinFaceBase(TComponent* AOwner) : TSkinBase(AOwner) {
    defaultFont_.SetName("Arial");
    defaultFont_.SetStyle(0);
    defaultFont_.SetHeight(14);
    defaultFont_.OnChange = Bind<&TksSkinFaceBase::DefaultFontOnChange>(this);
  }

  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) {
    defaultFont_.Assign(value);
    DefaultFontChange();
  }
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (this->controlIndex_ == -1 && value > 0) this->SetWidth(value);
  }
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (this->controlIndex_ == -1 && value > 0) this->SetHeight(value);
  }
  bool UseSkinFont = true;

  void GetSkinData() override {
    TSkinBase::GetSkinData();
    if (this->controlIndex_ == -1) return;
    TakeFace(this->template SkinDescription<TksDataSkinCustomControl>(), *this->skinData_);
  }

  // Takes the face and, for a face of fixed size or one way, its size; the look
  // without a skin takes the default size.
  void ChangeSkinData() override {
    GetSkinData();
    if (this->controlIndex_ == -1) {
      if (defaultWidth_ > 0) this->SetWidth(defaultWidth_);
      if (defaultHeight_ > 0) this->SetHeight(defaultHeight_);
    } else {
      int w = this->Width(), h = this->Height();
      CalcSize(w, h);
      if (w != this->Width() || h != this->Height()) {
        SetBounds(this->Left(), this->Top(), w, h);  // repaints
        return;
      }
    }
    SetControlRegion();
    this->Repaint();
  }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override {
    GetSkinData();
    const bool sizeChange = (AWidth != this->Width() || AHeight != this->Height()) && this->controlIndex_ != -1;
    if (sizeChange) {
      CalcSize(AWidth, AHeight);
      if (ResizeMode == 0) NewClientRect = SkinClientRect;
    }
    TSkinBase::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (sizeChange) FaceResized();
  }

  // Adjusts a proposed size to the resize mode and moves the New* geometry to it.
  virtual void CalcSize(int& w, int& h) { MoveFace(w, h, this->controlIndex_ != -1); }
  // Cuts the control's outline from the mask; a windowless control has none.
  virtual void SetControlRegion() {}
  // A rectangle in skin coordinates moved with the resized face.
  TRect GetNewRect(const TRect& r) { return TksSkinFace::GetNewRect(r, this->Width(), this->Height()); }

 protected:
  virtual void DefaultFontChange() {}
  // The face took a new size.
  virtual void FaceResized() { this->Invalidate(); }

  void CreateControlDefaultImage(TBitmap* b) override {
    TCanvas* c = b->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect{0, 0, this->ClientWidth(), this->ClientHeight()});
  }
  void CreateControlSkinImage(TBitmap* b) override { CreateSkinControlImage(b, Picture, SkinRect); }
  void CreateSkinControlImage(TBitmap* b, TBitmap* picture, const TRect& r) {
    ComposeFace(b, picture, r, this->Width(), this->Height());
  }

 private:
  void DefaultFontOnChange(TObject*) {
    DefaultFontChange();
    if (this->controlIndex_ == -1) this->Repaint();
  }

  TFont defaultFont_;
  int defaultWidth_ = 0;
  int defaultHeight_ = 0;
};
