// The skinned list view: colours and font from the skin, two linked skinned
// scroll bars in place of its own, and its column header painted from a button
// description of the skin.
#pragma once

#include <memory>

#include "framework/gui/comctrls.h"
#include "framework/gui/wndproc.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinFace.h"
#include "skin/views/ksSkinLinkedView.h"

class TksSkinCustomListView : public TksSkinLinkedView<TCustomListView> {
 public:
  explicit TksSkinCustomListView(TComponent* AOwner);
  ~TksSkinCustomListView() override;

  String SkinDataName = "listview";
  void ChangeSkinData() override;

  // Without a skin entry the list's font too.
  void SetDefaultFont(TFont* value) override;
  void UpdateScrollBars() override;

  // The button description the header sections are drawn from.
  String HeaderSkinDataName = "resizebutton";
  // The header whose painting is ours, null while none.
  HWND HookedHeader() const { return header_ ? header_->Handle() : nullptr; }
  // The section under a press, -1 for none; pressed looks only off a divider.
  int PressedSection() const { return pressedSection_; }
  bool SectionPressed() const { return sectionPressed_; }

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

 private:
  void VScroll(TObject* Sender);
  void HScroll(TObject* Sender);
  int ItemHeight();
  void HookHeader(HWND header);
  void HeaderMessage(TWindowSubclass& link, TMessage& Message);
  void PaintHeader(HWND header, HDC dc);
  void DrawSection(TCanvas* canvas, int column, const TRect& r, bool skinned, bool pressed);

  bool scrolling_ = false;
  int oldV_ = 0;
  int oldH_ = 0;
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
