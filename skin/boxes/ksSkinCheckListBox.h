// The skinned check list box: the list frame around an inner list that keeps a
// check state per item, toggled by a click on the check or by the space key.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>

#include "skin/boxes/ksListBox.h"
#include "skin/boxes/ksSkinListFrame.h"

class TksSkinCheckListBox;

// What an item's data slot holds once the item has a state: the caller's data
// and the state (0 unchecked, 1 checked; any other value is kept and drawn
// unchecked).
struct TksCheckListBoxDataWrapper {
  LRESULT Data = 0;
  uint8_t State = 0;
  bool GetChecked() const { return State == 1; }
  void SetChecked(bool value) { State = value ? 1 : 0; }
  static uint8_t GetDefaultState() { return 0; }
};

class TksCheckListBox : public TksListBox {
 public:
  explicit TksCheckListBox(TComponent* AOwner);
  ~TksCheckListBox() override;

  bool Checked(int Index);
  void SetChecked(int Index, bool value);
  int State(int Index);
  void SetState(int Index, int value);
  // 0 and 1 swap, other states stay; then OnClickCheck.
  void ToggleClickCheck(int Index);
  // Redraws one item at once.
  void InvalidateCheck(int Index);
  // True when the point lies on the skin's check of the item in R.
  bool IsInCheckRect(const TRect& R, TPoint P);
  // How many wrappers the list holds now.
  int WrapperCount() const { return static_cast<int>(wrappers_.size()); }

  // Raised with this list as sender; the owner's handler serves when it has one.
  TNotifyEvent OnClickCheck;

 protected:
  LRESULT GetItemData(int Index) override;
  void SetItemData(int Index, LRESULT AData) override;
  void DeleteString(int Index) override;
  void ResetContent() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(char& Key) override;
  void DrawListItem(TCanvas* canvas, int Index, const TRect& R, TOwnerDrawState State) override;

 private:
  void CheckIndex(int Index);
  // The item's wrapper, null when it has none.
  TksCheckListBoxDataWrapper* Wrapper(int Index);
  TksCheckListBoxDataWrapper* NeedWrapper(int Index);
  TksSkinCheckListBox* Owner() const;

  // The wrappers this list made, by the value stored in the item's data slot:
  // only these are ever read as wrappers.
  std::unordered_map<LRESULT, std::unique_ptr<TksCheckListBoxDataWrapper>> wrappers_;
  // States kept while the window is re-created, taken back in item order.
  std::deque<uint8_t> savedStates_;
};

class TksSkinCheckListBox : public TksSkinListFrame {
 public:
  explicit TksSkinCheckListBox(TComponent* AOwner);

  TksCheckListBox* ListBox() const { return static_cast<TksCheckListBox*>(TksSkinListFrame::ListBox()); }
  bool Checked(int Index) { return ListBox()->Checked(Index); }
  void SetChecked(int Index, bool value) { ListBox()->SetChecked(Index, value); }
  // The one bar: vertical, or horizontal with columns.
  TksSkinScrollBar* ScrollBar() const { return VScrollBar(); }
  void UpdateScrollBar() { UpdateScrollBars(); }
  void ClickCheck() { OnClickCheck(this); }

  TNotifyEvent OnClickCheck;

 protected:
  void CheckButtonAction() override;
  // A check list item without an image keeps its text at the check.
  bool TextAfterMissingImage() const override { return false; }
};
