// The skinned memo: the system's multi-line edit inside a frame cut from the
// skin, with colours that follow hover and focus, a read-only flag of its own and
// an optional external skinned bar that it drives. It has no native bars.
#pragma once

#include <memory>

#include "framework/core/bitmap.h"
#include "framework/gui/stdctrls.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"

class TksSkinScrollBar;
class TksEditContextMenu;
class TksSkinPopupMenu;

class TksSkinMemo : public TCustomMemo, public IksSkinChange {
 public:
  explicit TksSkinMemo(TComponent* AOwner);
  ~TksSkinMemo() override;

  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  const String& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const String& value) { skinDataName_ = value; }
  int ControlIndex() const { return controlIndex_; }
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  void ChangeSkinData() override;

  TFont* DefaultFont() const { return defaultFont_.get(); }
  void SetDefaultFont(TFont* value);
  bool UseSkinFont = true;
  bool BitMapBG() const { return bitMapBG_; }
  void SetBitMapBG(bool value);
  TksSkinScrollBar* VScrollBar() const { return vScrollBar_; }
  void SetVScrollBar(TksSkinScrollBar* value);
  bool ReadOnly = false;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TksEditPopupEvent OnContextMenuPopup;

  std::vector<TksEditMenuItem> ContextMenuItems();
  // The skinned menu of the last right click while it lives (shown when OnContextMenuPopup is unset).
  TksSkinPopupMenu* MenuObject() const;
  void UpdateScrollBar();
  // Frame widths on the left, top, right and bottom.
  TRect FrameMargins();
  // The whole window as the frame paint draws it (the text area left white
  // unless the face is the background).
  void PaintFrame(TBitmap& b);
  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void GetSkinData();
  bool Skinned() const { return controlIndex_ != -1; }
  void PaintNonClient();
  void ShowContextMenu(TMessage& Message);
  void SetHoverColours(bool active);
  void BarChanged();
  void AfterChange(bool redraw);

  TksSkinData* skinData_ = nullptr;
  String skinDataName_ = "memo";
  int controlIndex_ = -1;
  std::unique_ptr<TFont> defaultFont_;
  bool bitMapBG_ = false;
  TksSkinScrollBar* vScrollBar_ = nullptr;
  bool mouseIn_ = false;
  bool lButtonDown_ = false;

  TBitmap* picture_ = nullptr;
  TRect skinRect_{}, activeSkinRect_{}, clientRect_{};
  TPoint lt_{}, rt_{}, lb_{}, rb_{};
  TColor fontColor_ = clWindowText, activeFontColor_ = clWindowText;
  TColor bgColor_ = clWindow, activeBGColor_ = clWindow;
  std::unique_ptr<TksEditContextMenu> contextMenu_;
};
