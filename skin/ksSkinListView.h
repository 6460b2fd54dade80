// The skinned list view: colours and font from the skin, two linked skinned
// scroll bars in place of its own, and its column header painted from a button
// description of the skin.
#pragma once

#include <memory>

#include "framework/core/gdiobjects.h"
#include "framework/gui/comctrls.h"
#include "framework/gui/wndproc.h"
#include "skin/ksSkinChange.h"
#include "skin/ksSkinCtrls.h"
#include "skin/ksSkinData.h"
#include "skin/ksSkinFace.h"
#include "skin/ksSkinLinkedBars.h"

class TksSkinCustomListView : public TCustomListView, public IksSkinChange {
 public:
  explicit TksSkinCustomListView(TComponent* AOwner);
  ~TksSkinCustomListView() override;

  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value);
  String SkinDataName = "listview";
  int ControlIndex() const { return controlIndex_; }
  void BeforeChangeSkinData() override { controlIndex_ = -1; }
  void ChangeSkinData() override;

  TFont* DefaultFont() { return &defaultFont_; }
  // Without a skin entry the list's font too.
  void SetDefaultFont(TFont* value);
  bool UseSkinFont = true;
  TColor DefaultColor = clWindow;

  TksSkinScrollBar* VScrollBar() const { return bars_.V(); }
  void SetVScrollBar(TksSkinScrollBar* value);
  TksSkinScrollBar* HScrollBar() const { return bars_.H(); }
  void SetHScrollBar(TksSkinScrollBar* value);
  void UpdateScrollBars();

  // The button description the header sections are drawn from.
  String HeaderSkinDataName = "resizebutton";
  // The header whose painting is ours, null while none.
  HWND HookedHeader() const { return header_ ? header_->Handle() : nullptr; }
  // The section under a press, -1 for none; pressed looks only off a divider.
  int PressedSection() const { return pressedSection_; }
  bool SectionPressed() const { return sectionPressed_; }

  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void VScroll(TObject* Sender);
  void HScroll(TObject* Sender);
  int ItemHeight();
  void HookHeader(HWND header);
  void HeaderMessage(TWindowSubclass& link, TMessage& Message);
  void PaintHeader(HWND header, HDC dc);
  void DrawSection(TCanvas* canvas, int column, const TRect& r, bool skinned, bool pressed);

  TksSkinData* skinData_ = nullptr;
  int controlIndex_ = -1;
  TFont defaultFont_;
  bool updating_ = false;
  bool scrolling_ = false;
  int oldV_ = 0;
  int oldH_ = 0;
  TksLinkedScrollBars bars_;
  std::unique_ptr<TWindowSubclass> header_;
  int pressedSection_ = -1;
  bool sectionPressed_ = false;
  // The header's face, looked up at each paint.
  TksSkinFace headerFace_;
  TksButtonLook headerLook_;
};

class TksSkinListView : public TksSkinCustomListView {
 public:
  using TksSkinCustomListView::TksSkinCustomListView;
};
