// What the skinned list box and check list box share: the frame around an inner
// list, the skinned bars that mirror the list's own scroll state, the caption
// strip with its three repeating buttons, and the painting of one item from the
// list description's values or the look without a skin.
#pragma once

#include <memory>

#include "framework/core/bitmap.h"
#include "framework/gui/imagelist.h"
#include "framework/gui/stdctrls.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinScrollBar.h"

class TksListBox;

using TksDrawSkinItemEvent =
    TEvent<void(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect, TOwnerDrawState State)>;
using TksListMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

// The values of a list description the controls paint with; picture rectangles
// except the normal caption buttons, which lie on the face.
struct TksListSkinValues {
  void Take(const TksDataSkinListBox& d);

  String FontName = "Arial";
  int FontHeight = 14;
  TFontStyles FontStyle = 0;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
  TRect ItemRect{}, ActiveItemRect{}, FocusItemRect{}, ItemTextRect{};
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect CaptionRect{};
  String CaptionFontName = "Arial";
  int CaptionFontHeight = 14;
  TFontStyles CaptionFontStyle = 0;
  TColor CaptionFontColor = 0;
  TRect ButtonRect[3]{}, ActiveButtonRect[3]{}, DownButtonRect[3]{};
  String VScrollBarName = "vscrollbar", HScrollBarName = "hscrollbar", BothHScrollBarName = "bothhscrollbar";
  // Only a check list description has these.
  TRect ItemCheckRect{}, CheckImageRect{}, UncheckImageRect{};
};

class TksSkinListFrame : public TksSkinCustomControl {
 public:
  // The caption buttons.
  static constexpr int kUpButton = 0;
  static constexpr int kDownButton = 1;
  static constexpr int kCheckButton = 2;
  // The window timer of the caption buttons' repeat.
  static constexpr UINT_PTR kRepeatTimerId = 1;

  struct TCaptionButton {
    TRect R{};
    bool MouseIn = false;
    bool Down = false;
  };

  ~TksSkinListFrame() override;

  TksListBox* ListBox() const { return listBox_; }
  TStrings* Items();
  void SetItems(TStrings* value);
  int ItemIndex();
  void SetItemIndex(int value);
  void Clear();
  int ItemAtPos(TPoint Pos, bool Existing);
  bool Selected(int Index);
  int TopIndex();
  void SetTopIndex(int value);
  bool Sorted() const;
  void SetSorted(bool value);
  bool MultiSelect() const;
  void SetMultiSelect(bool value);
  // The name keeps the spelling the forms use.
  bool ExtandedSelect() const;
  void SetExtandedSelect(bool value);
  bool AutoComplete() const;
  void SetAutoComplete(bool value);
  int Columns() const { return columns_; }
  void SetColumns(int value);
  TFont* ListBoxFont();
  void SetListBoxFont(TFont* value);
  int ListBoxTabOrder() const;
  void SetListBoxTabOrder(int value);
  bool ListBoxTabStop() const;
  void SetListBoxTabStop(bool value);
  TPopupMenu* ListBoxPopupMenu() const;
  void SetListBoxPopupMenu(TPopupMenu* value);

  bool UseSkinItemHeight = true;
  int DefaultItemHeight() const { return defaultItemHeight_; }
  void SetDefaultItemHeight(int value);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  bool CaptionMode() const { return captionMode_; }
  void SetCaptionMode(bool value);
  int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
  void SetDefaultCaptionHeight(int value);
  TFont* DefaultCaptionFont() { return &defaultCaptionFont_; }
  void SetDefaultCaptionFont(TFont* value) { defaultCaptionFont_.Assign(value); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);

  TksDrawSkinItemEvent OnDrawItem;
  TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
  TNotifyEvent OnListBoxClick, OnListBoxDblClick;
  TksListMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
  TMouseMoveEvent OnListBoxMouseMove;
  TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
  TKeyPressEvent OnListBoxKeyPress;

  // The bar along the list's scrolling direction (horizontal with columns) and
  // the one for wide texts; null while not needed.
  TksSkinScrollBar* VScrollBar() const { return vScrollBar_; }
  TksSkinScrollBar* HScrollBar() const { return hScrollBar_; }
  const TRect& ListRect() const { return listRect_; }
  const TRect& ClientArea() const { return clientArea_; }
  const TCaptionButton& Button(int i) const { return buttons_[i]; }
  int ActiveButton() const { return activeButton_; }
  int CaptureButton() const { return captureButton_; }
  int TimerMode() const { return timerMode_; }
  bool WaitMode() const { return waitMode_; }
  // True while the caption buttons' window timer runs.
  bool RepeatRunning() const { return timerRunning_; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Called by the inner list: its scroll state may have changed.
  void UpdateScrollBars();
  // The height that shows exactly N rows.
  int CalcHeight(int rows);
  // The item height the look asks for.
  int ItemHeightForLook();

  // The skin values taken at the last GetSkinData.
  const TksListSkinValues& Values() const { return values_; }
  bool Skinned() const { return controlIndex_ != -1; }
  // Skinned, with item faces to draw items from.
  bool SkinnedItems() const { return Skinned() && Picture != nullptr && !IsNullRect(values_.ItemRect); }
  TBitmap* SkinPicture() const { return Picture; }

  // The hooks the inner list calls, with this control as sender of the events.
  virtual int GetItemWidth(int Index, TCanvas* Canvas);
  virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void ListBoxMouseMove(TShiftState Shift, int X, int Y);
  virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void ListBoxClick();
  virtual void ListBoxDblClick();
  virtual void ListBoxKeyDown(WORD& Key, TShiftState Shift);
  virtual void ListBoxKeyUp(WORD& Key, TShiftState Shift);
  virtual void ListBoxKeyPress(char& Key);
  virtual void ListBoxEnter() {}
  virtual void ListBoxExit() {}
  // False drops the message before the inner list sees it.
  virtual void ListBoxWProc(TMessage& /*Message*/, bool& Handled) { Handled = true; }
  virtual void ListBoxCreateWnd() {}

  // One item into `target` at R's top-left: face, check (checkState >= 0), image
  // and text. A request of the system gives the state it was asked with.
  void DrawItem(TCanvas* target, int Index, const TRect& R, TOwnerDrawState State, int checkState, int textShift);
  // Where the skin's check mark of an item in R goes; empty in the look without one.
  TRect SkinCheckRect(const TRect& R, int itemHeight);
  // The client part of the face tiled over W x H at (X, Y); a face without one
  // leaves the area unpainted.
  void PaintBackground(TCanvas* canvas, int W, int H, int X, int Y);

 protected:
  TksSkinListFrame(TComponent* AOwner, const String& skinDataName);
  // Takes the inner list made by the descendant; called once from its constructor.
  void AttachList(TksListBox* list);
  // The horizontal bar for wide texts only comes with this on.
  bool horizontalExtent_ = false;
  void SetHorizontalExtentValue(bool value);

  // What the check caption button does when released.
  virtual void CheckButtonAction();
  // Whether an item whose image index names no image still starts its text after the image width.
  virtual bool TextAfterMissingImage() const { return true; }

  void CalcRects();
  void ShowVScrollBar();
  void ShowHScrollBar();
  void HideVScrollBar();
  // The horizontal bar alone or beside the vertical one, named and skinned for it.
  void SkinHScrollBar(bool both);
  void HideHScrollBar();
  void SBVChange(TObject* Sender);
  void SBHChange(TObject* Sender);

  void CreateParams(TCreateParams& Params) override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void DefaultFontChange() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  void CalcCaptionButtons();
  TRect FaceButtonRect(const TRect& r) const;
  void DrawCaption(TCanvas* c, const TRect& area, bool skinned);
  void DrawButton(TCanvas* c, int i);
  void RedrawButton(int i);
  void TestActive(int X, int Y);
  void ButtonDown(int i);
  void ButtonUp(int i);
  void ButtonEnter(int i);
  void ButtonLeave(int i);
  TNotifyEvent& ButtonEvent(int i);
  void StepUp();
  void StepDown();
  void StartTimer(UINT ms);
  void PauseTimer();
  void StopTimer();
  void WMTimer(TMessage& Message);
  void DrawItemFace(TBitmap& face, const TRect& source, bool focusFrame, int w);
  void DrawItemContent(TCanvas* c, int Index, int W, int H, TRect TR, TOwnerDrawState State, int textShift);
  TksSkinScrollBar* NewBar(TScrollBarKind kind, void (TksSkinListFrame::*onChange)(TObject*));

  TksListBox* listBox_ = nullptr;
  TksSkinScrollBar* vScrollBar_ = nullptr;
  TksSkinScrollBar* hScrollBar_ = nullptr;
  TRect clientArea_{}, listRect_{}, captionArea_{};
  TCaptionButton buttons_[3];
  int activeButton_ = -1, oldActiveButton_ = -1, captureButton_ = -1;
  int timerMode_ = 0;
  bool waitMode_ = false;
  bool timerRunning_ = false;
  bool inChangeSkinData_ = false;
  TksListSkinValues values_;

  int columns_ = 0;
  int defaultItemHeight_ = 20;
  int rowCount_ = 0;
  TCustomImageList* images_ = nullptr;
  int imageIndex_ = -1;
  bool captionMode_ = false;
  int defaultCaptionHeight_ = 20;
  TFont defaultCaptionFont_;
  TAlignment alignment_ = taLeftJustify;
  TBitmap glyph_;
  int numGlyphs_ = 1;
  int spacing_ = 2;
};
