// A splitter whose bar is drawn from a skin face and whose thickness follows it.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/gui/extctrls.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"

class TksSkinSplitter : public TSplitter, public IksSkinChange {
 public:
  explicit TksSkinSplitter(TComponent* AOwner);

  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  String SkinDataName = "vsplitter";
  // The thickness without a splitter face.
  int DefaultSize = 10;
  int ControlIndex() const { return controlIndex_; }

  void GetSkinData();
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  // Takes the face's thickness (DefaultSize without one) as size and MinSize.
  void ChangeSkinData() override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
  // A splitter face with a non-empty rectangle to draw from.
  bool HasFace() const;

  TksSkinData* skinData_ = nullptr;
  int controlIndex_ = -1;
  TPoint ltPoint_{}, rtPoint_{}, lbPoint_{};
  TRect skinRect_{};
  TBitmap* picture_ = nullptr;
};
