// What the skinned tree and list views share: a skin description looked up by
// name, a default font and colour for the look without one, and two linked skinned
// scroll bars in place of the view's own.
#pragma once

#include "framework/core/gdiobjects.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"
#include "skin/views/ksSkinLinkedBars.h"

template <class TView>
class TksSkinLinkedView : public TView, public IksSkinChange {
 public:
  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value) {
    SetComponentReference<TksSkinData>(this, skinData_, value);
    if (skinData_ != nullptr && !skinData_->Empty) ChangeSkinData();
  }
  int ControlIndex() const { return controlIndex_; }
  void BeforeChangeSkinData() override { controlIndex_ = -1; }

  TFont* DefaultFont() { return &defaultFont_; }
  virtual void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  bool UseSkinFont = true;
  TColor DefaultColor = clWindow;

  TksSkinScrollBar* VScrollBar() const { return bars_.V(); }
  void SetVScrollBar(TksSkinScrollBar* value) {
    bars_.SetV(value);
    UpdateScrollBars();
  }
  TksSkinScrollBar* HScrollBar() const { return bars_.H(); }
  void SetHScrollBar(TksSkinScrollBar* value) {
    bars_.SetH(value);
    UpdateScrollBars();
  }
  // Shows, hides and ranges the linked bars as the view's own bars stand.
  virtual void UpdateScrollBars() = 0;

  void Loaded() override {
    TView::Loaded();
    ChangeSkinData();
  }

 protected:
  // The events run when the linked vertical or horizontal bar moves.
  TksSkinLinkedView(TComponent* AOwner, TNotifyEvent onVScroll, TNotifyEvent onHScroll)
      : TView(AOwner), bars_(this, onVScroll, onHScroll) {
    defaultFont_.SetName("Arial");
    defaultFont_.SetHeight(14);
    defaultFont_.SetStyle(0);
  }

  void CreateParams(TCreateParams& Params) override {
    TView::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
  }
  // No frame of bars: the linked bars stand outside, and follow what may move the view.
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_NCCALCSIZE || Message.Msg == WM_NCPAINT) {
      Message.Result = 0;
      return;
    }
    TView::WndProc(Message);
    switch (Message.Msg) {
      case WM_SIZE:
      case WM_PAINT:
      case WM_KEYDOWN:
      case WM_LBUTTONUP:
      case WM_MOUSEWHEEL: UpdateScrollBars(); break;
      default: break;
    }
  }
  void CMVisibleChanged(TMessage& Message) override {
    TView::CMVisibleChanged(Message);
    bars_.SetVisible(this->Visible());
    UpdateScrollBars();
  }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == skinData_) {
      skinData_ = nullptr;
      controlIndex_ = -1;
    }
    bars_.Forget(AComponent);
  }

  TksSkinData* skinData_ = nullptr;
  int controlIndex_ = -1;
  TFont defaultFont_;
  bool updating_ = false;
  TksLinkedScrollBars bars_;
};
