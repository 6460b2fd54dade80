#include "skin/controls/ksSkinBevel.h"

#include "framework/core/colors.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/draw/ksUtils.h"

TksSkinBevel::TksSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TksSkinBevel::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  ChangeSkinData();
}

void TksSkinBevel::ChangeSkinData() {
  controlIndex_ = SkinControlIndex(skinData_, skinDataName_);
  if (controlIndex_ == -1) {
    light_ = clBtnHighlight;
    dark_ = clBtnShadow;
  } else if (auto* d = skinData_->ControlData<TksDataSkinBevel>(controlIndex_)) {
    light_ = d->LightColor;
    dark_ = d->DarkColor;
  }
  Repaint();
}

void TksSkinBevel::SetDividerMode(bool value) {
  dividerMode_ = value;
  Repaint();
}

void TksSkinBevel::Paint() {
  // Taken at each paint, so a style change never loses the skin's colours.
  Color1 = FirstLineColor();
  Color2 = SecondLineColor();
  if (!dividerMode_) {
    TBevel::Paint();
    return;
  }
  const int w = Width(), h = Height();
  TRect r;
  switch (Shape()) {
    case bsTopLine:
    case bsBottomLine: r = TRect{2, h / 2 - 1, w - 2, h / 2}; break;
    case bsSpacer: return;
    default: r = TRect{w / 2 - 1, 2, w / 2, h - 2}; break;
  }
  TCanvas* c = Canvas();
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(Color1);
  c->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
  c->Pen()->SetColor(Color2);
  c->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left, r.Bottom)});
}

void TksSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
  }
}
