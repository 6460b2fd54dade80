// Wrappers of the system's list box and edit control.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "framework/core/strings.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/extctrls.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// Equal to the ODS_ bits.
enum TOwnerDrawStateFlag : unsigned {
  odSelected = 0x1, odGrayed = 0x2, odDisabled = 0x4, odChecked = 0x8, odFocused = 0x10, odDefault = 0x20,
};
using TOwnerDrawState = unsigned;

class TCustomListBox;

using TDrawItemEvent = TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

// The items of a list box: LB_ messages while it has a window, memory before.
class TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TCustomListBox& listBox) : listBox_(listBox) {}
  int Count() const override;
  String Strings(int index) const override;
  TObject* Objects(int index) const override;
  void SetObjects(int index, TObject* object) override;
  int Add(const String& s) override;
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(const String& s) const override;

 private:
  void Check(int index) const;
  TCustomListBox& listBox_;
};

class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() { return items_.get(); }
  void SetItems(TStrings* value) { items_->Assign(value); }
  int ItemIndex();
  void SetItemIndex(int value);
  int ItemHeight();
  void SetItemHeight(int value);
  int TopIndex();
  void SetTopIndex(int value);
  bool Selected(int index);
  void SetSelected(int index, bool value);
  int SelCount();
  // The item under a client point; -1 when none (or, unless Existing, the count).
  int ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(int index);
  void Clear() { items_->Clear(); }
  TCanvas* Canvas() { return canvas_.get(); }

  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool value);
  int Columns() const { return columns_; }
  void SetColumns(int value);

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  friend class TListBoxStrings;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // Hooks around item data, so an owner of per-item objects can free them.
  virtual LRESULT GetItemData(int Index);
  virtual void SetItemData(int Index, LRESULT AData);
  virtual void DeleteString(int Index);
  virtual void ResetContent();
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

  // Items kept while there is no window: text and item data, in order.
  std::vector<std::pair<String, LRESULT>> saved_;

 private:
  std::unique_ptr<TListBoxStrings> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  TListBoxStyle style_ = lbStandard;
  bool sorted_ = false;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  int columns_ = 0;
  int itemHeight_ = 16;
  int savedIndex_ = -1;
  int savedTop_ = 0;
};

class TListBox : public TCustomListBox {
 public:
  using TCustomListBox::TCustomListBox;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A superclass of the system edit, one line.
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  bool AutoSelect = true;
  bool AutoSize = true;
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool OEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool value);
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char value);
  int SelStart();
  void SetSelStart(int value);
  int SelLength();
  void SetSelLength(int value);
  String SelText();
  void SetSelText(const String& value);
  void SelectAll();
  void Clear() { SetText(""); }
  void ClearSelection() { SetSelText(""); }
  void Undo();
  bool CanUndo();
  bool Modified();
  void SetModified(bool value);
  void CutToClipboard() { Perform(WM_CUT); }
  void CopyToClipboard() { Perform(WM_COPY); }
  void PasteFromClipboard() { Perform(WM_PASTE); }
  int ImeMode = 0;
  String ImeName;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();

 private:
  int maxLength_ = 0;
  TEditCharCase charCase_ = ecNormal;
  bool hideSelection_ = true;
  bool oemConvert_ = false;
  char passwordChar_ = 0;
  bool creating_ = false;
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

// The mask is never set here; the class exists for code that derives from it.
class TCustomMaskEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
  String EditMask;
};

class TCustomMemo;

// The lines of a memo, over the edit's EM_ messages.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}
  int Count() const override;
  String Strings(int index) const override;
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Clear() override;
  void SetText(const String& text) override;

 private:
  TCustomMemo& memo_;
};

class TCustomMemo : public TCustomEdit {
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* Lines() { return lines_.get(); }
  void SetLines(TStrings* value) { lines_->Assign(value); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool WantReturns = true;
  bool WantTabs = false;
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

 private:
  std::unique_ptr<TMemoStrings> lines_;
  TAlignment alignment_ = taLeftJustify;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = ssNone;
};

class TMemo : public TCustomMemo {
 public:
  using TCustomMemo::TCustomMemo;
};
