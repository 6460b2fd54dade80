#include "skin/boxes/ksSkinCheckListBox.h"

#include <string>

#include "framework/core/sysutils.h"

TksCheckListBox::TksCheckListBox(TComponent* AOwner) : TksListBox(AOwner) {}

TksCheckListBox::~TksCheckListBox() = default;

TksSkinCheckListBox* TksCheckListBox::Owner() const { return dynamic_cast<TksSkinCheckListBox*>(SkinListBox); }

void TksCheckListBox::CheckIndex(int Index) {
  if (Index < 0 || Index >= Items()->Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TksCheckListBoxDataWrapper* TksCheckListBox::Wrapper(int Index) {
  CheckIndex(Index);
  if (!HandleAllocated()) return nullptr;
  const auto found = wrappers_.find(TCustomListBox::GetItemData(Index));
  return found == wrappers_.end() ? nullptr : found->second.get();
}

TksCheckListBoxDataWrapper* TksCheckListBox::NeedWrapper(int Index) {
  HandleNeeded();
  if (TksCheckListBoxDataWrapper* w = Wrapper(Index); w != nullptr) return w;
  auto made = std::make_unique<TksCheckListBoxDataWrapper>();
  TksCheckListBoxDataWrapper* w = made.get();
  const auto key = reinterpret_cast<LRESULT>(w);
  wrappers_.emplace(key, std::move(made));
  TCustomListBox::SetItemData(Index, key);
  return w;
}

bool TksCheckListBox::Checked(int Index) {
  const TksCheckListBoxDataWrapper* w = Wrapper(Index);
  return w != nullptr && w->GetChecked();
}

void TksCheckListBox::SetChecked(int Index, bool value) {
  if (value == Checked(Index)) return;
  NeedWrapper(Index)->SetChecked(value);
  InvalidateCheck(Index);
}

int TksCheckListBox::State(int Index) {
  const TksCheckListBoxDataWrapper* w = Wrapper(Index);
  return w != nullptr ? w->State : TksCheckListBoxDataWrapper::GetDefaultState();
}

void TksCheckListBox::SetState(int Index, int value) {
  if (value == State(Index)) return;
  NeedWrapper(Index)->State = static_cast<uint8_t>(value);
  InvalidateCheck(Index);
}

void TksCheckListBox::ToggleClickCheck(int Index) {
  if (Index < 0 || Index >= Items()->Count()) return;
  const int state = State(Index);
  if (state == 0 || state == 1) SetState(Index, 1 - state);
  TksSkinCheckListBox* owner = Owner();
  const TNotifyEvent handler = owner != nullptr ? owner->OnClickCheck : OnClickCheck;
  handler(this);
}

void TksCheckListBox::InvalidateCheck(int Index) {
  if (!HandleAllocated()) return;
  const RECT r = ItemRect(Index);
  InvalidateRect(Handle(), &r, (controlStyle_ & csOpaque) ? FALSE : TRUE);
  UpdateWindow(Handle());
}

bool TksCheckListBox::IsInCheckRect(const TRect& R, TPoint P) {
  if (SkinListBox == nullptr) return false;
  const TRect c = SkinListBox->SkinCheckRect(R, ItemHeight());
  return !IsNullRect(c) && PointInRect(c, P);
}

LRESULT TksCheckListBox::GetItemData(int Index) {
  if (!HandleAllocated()) return TksListBox::GetItemData(Index);
  const TksCheckListBoxDataWrapper* w = Wrapper(Index);
  return w != nullptr ? w->Data : 0;
}

void TksCheckListBox::SetItemData(int Index, LRESULT AData) {
  if (!HandleAllocated()) {
    TksListBox::SetItemData(Index, AData);
    return;
  }
  TksCheckListBoxDataWrapper* w = NeedWrapper(Index);
  w->Data = AData;
  if (!savedStates_.empty()) {
    w->State = savedStates_.front();
    savedStates_.pop_front();
  }
}

void TksCheckListBox::DeleteString(int Index) {
  if (HandleAllocated()) {
    if (const TksCheckListBoxDataWrapper* w = Wrapper(Index); w != nullptr)
      wrappers_.erase(reinterpret_cast<LRESULT>(w));
  }
  TksListBox::DeleteString(Index);
}

void TksCheckListBox::ResetContent() {
  TksListBox::ResetContent();
  wrappers_.clear();
}

void TksCheckListBox::CreateWnd() {
  TksListBox::CreateWnd();
  savedStates_.clear();
}

void TksCheckListBox::DestroyWnd() {
  if (HandleAllocated() && !Destroying()) {
    savedStates_.clear();
    const int count = Items()->Count();
    for (int i = 0; i < count; ++i) savedStates_.push_back(static_cast<uint8_t>(State(i)));
  }
  TksListBox::DestroyWnd();
}

void TksCheckListBox::WndProc(TMessage& Message) {
  TksListBox::WndProc(Message);
  if (Message.Msg == WM_DESTROY) wrappers_.clear();
}

void TksCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomListBox::MouseDown(Button, Shift, X, Y);
  // Any button toggles the check it lands on.
  if (const int index = ItemAtPos(TPoint{X, Y}, true); index != -1) {
    const TRect r = ItemRect(index);
    const bool skinnedCheck = SkinListBox != nullptr && SkinListBox->SkinnedItems();
    if (skinnedCheck ? IsInCheckRect(r, TPoint{X, Y}) : X - r.Left < 20) ToggleClickCheck(index);
  }
  if (SkinListBox != nullptr) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
}

void TksCheckListBox::KeyPress(char& Key) {
  TCustomListBox::KeyPress(Key);
  if (Key == ' ') ToggleClickCheck(ItemIndex());
  if (SkinListBox != nullptr) SkinListBox->ListBoxKeyPress(Key);
}

void TksCheckListBox::DrawListItem(TCanvas* canvas, int Index, const TRect& R, TOwnerDrawState State) {
  SkinListBox->DrawItem(canvas, Index, R, State, this->State(Index), 0);
}

TksSkinCheckListBox::TksSkinCheckListBox(TComponent* AOwner) : TksSkinListFrame(AOwner, "checklistbox") {
  AttachList(new TksCheckListBox(this));
}

void TksSkinCheckListBox::CheckButtonAction() {
  const int index = ItemIndex();
  if (index < 0 || index >= Items()->Count()) return;
  SetChecked(index, !Checked(index));
  ClickCheck();
}
