// The expandable panel: a container with a caption bar carrying a close and a
// roll button. Rolled up it shrinks to its caption bar, across the top or as a
// vertical bar at the left, and hides its children until rolled down.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "skin/controls/ksSkinCtrls.h"
#include "skin/views/ksHiddenChildren.h"
#include "skin/views/ksPanelGlyph.h"

enum TksExPanelRollKind { rkRollHorizontal, rkRollVertical };

class TksSkinExPanel : public TksSkinCustomControl, public TksPanelGlyph {
 public:
  explicit TksSkinExPanel(TComponent* AOwner);
  ~TksSkinExPanel() override;

  // The size to return to while rolled up, 0 when not rolled that way.
  int RealWidth = 0;
  int RealHeight = 0;
  bool ShowRollButton() const { return showRoll_; }
  void SetShowRollButton(bool value);
  bool ShowCloseButton() const { return showClose_; }
  void SetShowCloseButton(bool value);
  // Caption bar height without a skin, and the rolled size then.
  int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
  void SetDefaultCaptionHeight(int value);
  bool RollState() const { return rollState_; }
  void SetRollState(bool value);
  TksExPanelRollKind RollKind() const { return rollKind_; }
  void SetRollKind(TksExPanelRollKind value);
  TNotifyEvent OnChangeRollState;
  TNotifyEvent OnClose;

  int GetRollWidth();
  int GetRollHeight();

  enum { kClose = 0, kRoll = 1 };
  // Where the close (0) and roll (1) buttons are for the current look and state.
  TRect ButtonRect(int button);
  bool ButtonMouseIn(int button) const { return buttons_[static_cast<size_t>(button)].mouseIn; }
  bool ButtonDown(int button) const { return buttons_[static_cast<size_t>(button)].down; }
  // The children the roll-up hid, null while none are held.
  const std::vector<TControl*>* HiddenControls() const { return hidden_.List(); }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void GetSkinData() override;
  void ChangeSkinData() override;

 protected:
  void GlyphChanged() override { Repaint(); }
  void AdjustClientRect(TRect& Rect) override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMTextChanged(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  struct TCaptionButton {
    TRect rect{};
    bool mouseIn = false;
    bool down = false;
  };
  struct Layout {
    std::array<TRect, 2> buttons{};
    TRect caption{};
  };
  // The panel description, null for the look without a skin.
  TksDataSkinExPanelControl* Description() const { return SkinDescription<TksDataSkinExPanelControl>(); }
  bool RolledAcross() const { return rollState_ && rollKind_ == rkRollHorizontal; }
  // Button and caption rectangles of the current look.
  Layout Arrange();
  void TestActive(int x, int y);
  void RedrawButton(int button);
  void DrawButton(TCanvas* canvas, int button);
  void DrawCaption(TCanvas* canvas, TRect r, bool skinned);
  void DrawTurnedCaption(TCanvas* canvas, const TRect& r, int textBottom, bool skinned);
  void SetCaptionFont(TCanvas* canvas, bool skinned);

  bool showRoll_ = true;
  bool showClose_ = true;
  int defaultCaptionHeight_ = 21;
  bool rollState_ = false;
  TksExPanelRollKind rollKind_ = rkRollVertical;
  bool rolling_ = false;
  std::array<TCaptionButton, 2> buttons_{};
  int active_ = -1;
  int captured_ = -1;
  TksHiddenChildren hidden_;
};
