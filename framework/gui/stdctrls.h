// Wrappers of the system's list box.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "framework/core/strings.h"
#include "framework/gui/customcontrol.h"

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
