// The skinned combo box: a face from the skin with a drop-down button, its items
// in a drop-down window of its own, and either the selected item drawn on the
// face (fixed style) or the text in an inner edit (edit style).
#pragma once

#include "skin/boxes/ksPopupListBox.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/controls/ksSkinCtrls.h"

enum TksSkinCustomComboBoxStyle { kscbEditStyle, kscbFixedStyle };

class TksSkinCustomComboBox : public TksSkinCustomControl {
 public:
  // Type-ahead characters typed within this time gather into one search.
  static constexpr DWORD kFindStringPause = 500;
  // Completion in the edit runs at most once in this time.
  static constexpr DWORD kAutoCompletePause = 200;

  explicit TksSkinCustomComboBox(TComponent* AOwner);
  ~TksSkinCustomComboBox() override;

  TksSkinCustomComboBoxStyle Style() const { return style_; }
  void SetStyle(TksSkinCustomComboBoxStyle value);
  TStrings* Items();
  void SetItems(TStrings* value);
  int ItemIndex();
  // Selects, sets the text and fires OnClick and Change, also for the same index.
  void SetItemIndex(int value);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value);
  int ListBoxWidth = 0;
  bool Sorted() const;
  void SetSorted(bool value);
  bool AutoComplete = true;
  bool HideSelection = true;
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 0;
  bool AlphaBlendAnimation = false;
  bool HorizontalExtent() const;
  void SetHorizontalExtent(bool value);
  TCustomImageList* Images() const;
  void SetImages(TCustomImageList* value);
  int ImageIndex() const;
  void SetImageIndex(int value);
  String ListBoxCaption();
  void SetListBoxCaption(const String& value);
  bool ListBoxCaptionMode() const;
  void SetListBoxCaptionMode(bool value);
  TAlignment ListBoxCaptionAlignment() const;
  void SetListBoxCaptionAlignment(TAlignment value);
  TFont* ListBoxDefaultFont();
  void SetListBoxDefaultFont(TFont* value);
  TFont* ListBoxDefaultCaptionFont();
  void SetListBoxDefaultCaptionFont(TFont* value);
  int ListBoxDefaultItemHeight() const;
  void SetListBoxDefaultItemHeight(int value);
  bool ListBoxUseSkinFont() const;
  void SetListBoxUseSkinFont(bool value);
  bool ListBoxUseSkinItemHeight() const;
  void SetListBoxUseSkinItemHeight(bool value);

  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  const TksDrawSkinItemEvent& OnListBoxDrawItem() const { return onListBoxDrawItem_; }
  void SetOnListBoxDrawItem(TksDrawSkinItemEvent value);
  // Replaces the drawing of the selected item's image and text on the face.
  TksDrawSkinItemEvent OnComboBoxDrawItem;

  // Opens the list under the combo (above it near the work area's bottom); an empty list stays closed.
  virtual void DropDown();
  // Closes an open list, taking its highlighted item when AcceptValue.
  void CloseUp(bool AcceptValue);
  // After every selection; a derived combo follows the selected item here.
  virtual void Change() {}

  TksPopupListBox* ListBox() const { return listBox_; }
  TksCustomEdit* Edit() const { return edit_; }
  bool DroppedDown() const { return listBox_ != nullptr && listBox_->Visible(); }
  const TRect& TextRect() const { return textRect_; }
  const TRect& ButtonRect() const { return buttonRect_; }
  bool ButtonActive() const { return buttonActive_; }
  bool ButtonDown() const { return buttonDown_; }
  int OldItemIndex() const { return oldItemIndex_; }
  TOwnerDrawState DrawState() const { return drawState_; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void Invalidate() override;
  void CalcRects();
  void BeforeDestruction() override;

 protected:
  virtual void EditWndProc(TMessage& Message);
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void DefaultFontChange() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  bool Skinned() const { return ControlIndex() != -1; }
  bool Loading() const { return (ComponentState() & csLoading) != 0; }
  void Clicked();
  void FreeOwnControls();
  // The item drawn on the face: the one the list opened with while it is open.
  int FaceItem();
  void DrawButton(TCanvas* c);
  void DrawDefaultItem(TCanvas* c);
  void DrawSkinItem(TCanvas* c);
  void DrawItemContent(TCanvas* c, int index, int w, int h, TRect tr);

  // Input (the drop-down's list, keys, type-ahead and the wheel).
  void ListBoxWndProc(TMessage& Message);
  void ListBoxMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ListBoxMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void ListBoxMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CheckButtonClick(TObject* Sender);
  // Moves the selection (AChange) or only the open list's highlight.
  void MoveTo(int index, bool AChange);
  void ComboUp(bool AChange);
  void ComboDown(bool AChange);
  void ComboPageUp(bool AChange);
  void ComboPageDown(bool AChange);
  void FindItem(const String& S);
  int FindString(const String& S, bool afterCurrent);
  void MouseWheel(int delta);
  void SetButtonActive(bool value);
  void CancelModeFrom(TControl* pressed);
  void UpdateDialogKeys();

  // Edit style.
  void CreateEditControl();
  void FreeEditControl();
  // The edit's font: the skin's when skinned, else `plain`'s.
  void ApplyEditFont(TFont* plain);
  void EditChange(TObject* Sender);
  void EditCancelMode(TControl* pressed);
  void EditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void EditKeyPress(TObject* Sender, char& Key);
  void EditKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void EditUp(bool AChange);
  void EditDown(bool AChange);
  void EditStep(int delta, bool AChange);
  void EditAutoComplete();
  bool DoubleByteCharSet();

  TksSkinCustomComboBoxStyle style_ = kscbFixedStyle;
  int dropDownCount_ = 8;
  TksPopupListBox* listBox_ = nullptr;  // owned through the component tree
  TksCustomEdit* edit_ = nullptr;       // likewise, only in edit style
  TksDrawSkinItemEvent onListBoxDrawItem_;
  TRect textRect_{}, buttonRect_{};
  bool buttonActive_ = false, buttonDown_ = false;
  int oldItemIndex_ = -1;
  bool listMouseDown_ = false;
  bool editChanging_ = false;
  String findString_;
  DWORD lastKeyTime_ = 0;
  TWndMethodEvent savedListProc_, savedEditProc_;
  TOwnerDrawState drawState_ = 0;

  // Skin values.
  TRect itemRect_{}, focusItemRect_{}, itemTextRect_{};
  int itemLeftOffset_ = 0, itemRightOffset_ = 0;
  String fontName_ = "Arial";
  int fontHeight_ = 14;
  TFontStyles fontStyle_ = 0;
  TColor fontColor_ = 0, focusFontColor_ = 0;
  TRect skinButtonRect_{}, activeButtonRect_{}, downButtonRect_{}, unEnabledButtonRect_{};
  String listBoxName_;
};

class TksSkinComboBox : public TksSkinCustomComboBox {
 public:
  using TksSkinCustomComboBox::TksSkinCustomComboBox;
};
