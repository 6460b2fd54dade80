// The skinned one-line edit: the system edit draws only its text, transparently,
// over a frame and background that the control paints from the skin. It keeps a
// read-only flag of its own, so the window itself never refuses input.
#pragma once

#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/stdctrls.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"

class TksResourceStrData;
class TksEditContextMenu;
class TksSkinPopupMenu;

// One line of an edit's context menu; a separator has the name "-".
struct TksEditMenuItem {
  String Name;
  String Caption;
  bool Enabled = false;
};

// What the context menu of an edit or memo needs to know about its text.
struct TksEditMenuState {
  bool CanUndo = false;
  bool HasSelection = false;
  bool WholeTextSelected = false;
  bool ClipboardHasText = false;
  bool ReadOnly = false;
};

// The eight lines in order, captioned from `strings` when given, else with the built-in texts.
std::vector<TksEditMenuItem> EditMenuItems(const TksEditMenuState& state, const TksResourceStrData* strings);
// Runs the command of the named line on `edit`; false for an unknown name or a separator.
bool RunEditMenuCommand(TWinControl& edit, const String& name);

class TksCustomEdit;
// Shows the context menu at a screen point. The skinned popup menu binds here; the
// menu object belongs to whoever shows it.
using TksEditPopupEvent = TEvent<void(TWinControl* Sender, const std::vector<TksEditMenuItem>& Items, TPoint At)>;

class TksCustomEdit : public TCustomMaskEdit {
 public:
  explicit TksCustomEdit(TComponent* AOwner);
  ~TksCustomEdit() override;

  bool ReadOnly = false;
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // While set the edit claims Enter and Esc (an open drop-down list closes on them).
  bool WantDialogKeys = false;

  // The control whose press cancelled modes.
  TEvent<void(TControl* Pressed)> OnEditCancelMode;
  TksEditPopupEvent OnContextMenuPopup;

  // The menu as it would be shown now, for the skin's texts.
  std::vector<TksEditMenuItem> ContextMenuItems();
  // The skinned menu of the last right click while it lives (shown when OnContextMenuPopup is unset).
  TksSkinPopupMenu* MenuObject() const;
  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  virtual TksResourceStrData* MenuStrings();
  bool LButtonDown() const { return lButtonDown_; }

 private:
  void CharFilter(TMessage& Message);
  void KeyDownFilter(TMessage& Message);
  void PasteFirstLine(TMessage& Message);
  void ShowContextMenu(TMessage& Message);
  void AfterEdit();

  bool transparent_ = false;
  bool lButtonDown_ = false;
  std::unique_ptr<TksEditContextMenu> contextMenu_;
};

class TksSkinCustomEdit : public TksCustomEdit, public IksSkinChange {
 public:
  explicit TksSkinCustomEdit(TComponent* AOwner);

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
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int value);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int value);
  bool ButtonMode() const { return buttonMode_; }
  void SetButtonMode(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  const TRect& ButtonRect() const { return buttonRect_; }
  const TRect& EditRect() const { return editRect_; }
  bool ButtonDown() const { return buttonDown_; }
  bool ButtonActive() const { return buttonActive_; }
  // Frame widths on the left, top, right and bottom around the text.
  TRect FrameMargins();
  // The whole window as the frame paint draws it, at the edit's size.
  void PaintFrame(TBitmap& b);
  void CalcRects();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

 private:
  void GetSkinData();
  bool Skinned() const { return controlIndex_ != -1; }
  void ApplyFontColor();
  void DefaultFontChange(TObject* Sender);
  void ButtonHitTest(TMessage& Message);
  void PaintNonClient();
  void SetButtonActive(bool value);

  TksSkinData* skinData_ = nullptr;
  String skinDataName_ = "edit";
  int controlIndex_ = -1;
  std::unique_ptr<TFont> defaultFont_;
  int defaultWidth_ = 0, defaultHeight_ = 20;
  bool buttonMode_ = false;
  TAlignment alignment_ = taLeftJustify;
  TRect buttonRect_{}, editRect_{};
  bool buttonDown_ = false, buttonActive_ = false, mouseIn_ = false;

  // Skin values.
  TBitmap* picture_ = nullptr;
  TRect skinRect_{}, activeSkinRect_{}, clientRect_{};
  TPoint rtPoint_{};
  int leftOffset_ = 0, rightOffset_ = 0;
  TRect skinButtonRect_{}, activeButtonRect_{}, downButtonRect_{}, unEnabledButtonRect_{};
  TColor fontColor_ = clWindowText, activeFontColor_ = clWindowText, disabledFontColor_ = clGrayText;
};

class TksSkinEdit : public TksSkinCustomEdit {
 public:
  using TksSkinCustomEdit::TksSkinCustomEdit;
};
