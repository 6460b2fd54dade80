#include "skin/views/ksSkinExPanel.h"

#include <algorithm>

#include "framework/core/colors.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/draw/ksPlainColors.h"

namespace {

TRect SizedAt(int left, int top, const TRect& size) {
  return TRect{left, top, left + RectWidth(size), top + RectHeight(size)};
}

}  // namespace

TksSkinExPanel::TksSkinExPanel(TComponent* AOwner) : TksSkinCustomControl(AOwner), hidden_(this) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks |
                  csReplicatable);
  SetSkinDataName("expanel");
  SetBounds(Left(), Top(), 150, 100);
}

TksSkinExPanel::~TksSkinExPanel() = default;

// ---- setters ------------------------------------------------------------------

void TksSkinExPanel::SetShowRollButton(bool value) {
  showRoll_ = value;
  Repaint();
}

void TksSkinExPanel::SetShowCloseButton(bool value) {
  showClose_ = value;
  Repaint();
}

void TksSkinExPanel::SetDefaultCaptionHeight(int value) {
  defaultCaptionHeight_ = value;
  GetSkinData();
  if (Description() == nullptr) {
    Repaint();
    Realign();
  }
}

void TksSkinExPanel::SetRollKind(TksExPanelRollKind value) {
  rollKind_ = value;
  Repaint();
}

void TksSkinExPanel::CMTextChanged(TMessage& Message) {
  TksSkinCustomControl::CMTextChanged(Message);
  Repaint();
}

// ---- skin ---------------------------------------------------------------------

void TksSkinExPanel::GetSkinData() { TksSkinCustomControl::GetSkinData(); }

int TksSkinExPanel::GetRollWidth() {
  GetSkinData();
  const TksDataSkinExPanelControl* d = Description();
  return d != nullptr ? RectWidth(d->RollHSkinRect) : defaultCaptionHeight_;
}

int TksSkinExPanel::GetRollHeight() {
  GetSkinData();
  const TksDataSkinExPanelControl* d = Description();
  return d != nullptr ? RectHeight(d->RollVSkinRect) : defaultCaptionHeight_;
}

void TksSkinExPanel::ChangeSkinData() {
  TksSkinCustomControl::ChangeSkinData();
  if (!rollState_) {
    Realign();
    return;
  }
  const int size = rollKind_ == rkRollHorizontal ? GetRollWidth() : GetRollHeight();
  if (size < 1) return;
  rolling_ = true;  // the size the skin gives, not the forced one
  if (rollKind_ == rkRollHorizontal)
    SetWidth(size);
  else
    SetHeight(size);
  rolling_ = false;
}

// ---- size and roll ------------------------------------------------------------

void TksSkinExPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (rollState_ && !rolling_) {
    if (rollKind_ == rkRollHorizontal)
      AWidth = GetRollWidth();
    else
      AHeight = GetRollHeight();
  }
  TksSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TksSkinExPanel::AdjustClientRect(TRect& Rect) {
  TksSkinCustomControl::AdjustClientRect(Rect);
  GetSkinData();
  if (Description() != nullptr) {
    int w = Width(), h = Height();
    CalcSize(w, h);
    Rect = NewClientRect;
    return;
  }
  Rect.Top += defaultCaptionHeight_;
  ++Rect.Left;
  --Rect.Right;
  --Rect.Bottom;
}

void TksSkinExPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove) hidden_.Forget(AComponent);
}

void TksSkinExPanel::SetRollState(bool value) {
  if (value == rollState_) return;
  rollState_ = value;
  rolling_ = true;
  if (value) {
    hidden_.Hide();
    if (rollKind_ == rkRollVertical && RealHeight == 0) {
      RealHeight = Height();
      SetHeight(GetRollHeight());
    } else if (rollKind_ == rkRollHorizontal && RealWidth == 0) {
      RealWidth = Width();
      SetWidth(GetRollWidth());
    }
  } else {
    // Whatever was saved comes back, even when the kind changed while rolled up;
    // a size of 0 is never set.
    if (RealWidth > 0) SetWidth(RealWidth);
    if (RealHeight > 0) SetHeight(RealHeight);
    RealWidth = 0;
    RealHeight = 0;
    hidden_.Show();
  }
  rolling_ = false;
  Repaint();
  if (OnChangeRollState) OnChangeRollState(this);
}

// ---- layout -------------------------------------------------------------------

TksSkinExPanel::Layout TksSkinExPanel::Arrange() {
  GetSkinData();
  const int w = Width(), h = Height();
  Layout l;
  TRect& close = l.buttons[kClose];
  TRect& roll = l.buttons[kRoll];
  const TksDataSkinExPanelControl* d = Description();
  if (d == nullptr) {
    const int c = defaultCaptionHeight_ - 6;
    if (!RolledAcross()) {
      close = showClose_ ? TRect{w - c - 2, 3, w - 2, c + 3} : TRect{w - 2, 3, w - 2, 3};
      roll = showRoll_ ? TRect{close.Left - c, 3, close.Left, c + 3} : TRect{};
      const int sum = (showClose_ ? c : 0) + (showRoll_ ? c : 0);
      l.caption = TRect{2 + 2, 2, w - 2 - (sum + 2), defaultCaptionHeight_ - 2};
    } else {
      close = showClose_ ? TRect{3, 3, c + 3, c + 3} : TRect{0, 0, 0, 3};
      roll = showRoll_ ? TRect{3, close.Bottom, c + 3, close.Bottom + c} : TRect{};
      const int sum = (showClose_ ? c : 0) + (showRoll_ ? c : 0);
      l.caption = TRect{2, 2 + sum + 2, w - 2, h - 2};
    }
    return l;
  }
  if (!RolledAcross()) {
    const TRect& face = rollState_ ? d->RollVSkinRect : SkinRect;
    l.caption = rollState_ ? d->RollVCaptionRect : d->CaptionRect;
    l.caption.Right += w - RectWidth(face);
    close = showClose_ ? TRect{l.caption.Right - RectWidth(d->CloseButtonRect), l.caption.Top, l.caption.Right,
                               l.caption.Top + RectHeight(d->CloseButtonRect)}
                       : TRect{l.caption.Right, l.caption.Top, l.caption.Right, l.caption.Top};
    if (showRoll_) {
      const int right = close.Left - (showClose_ ? 2 : 0);
      roll = SizedAt(right - RectWidth(d->VRollButtonRect), l.caption.Top, d->VRollButtonRect);
    }
    l.caption.Right = showRoll_ ? roll.Left : close.Left;
  } else {
    l.caption = d->RollHCaptionRect;
    l.caption.Bottom += h - RectHeight(d->RollHSkinRect);
    close = showClose_ ? SizedAt(l.caption.Left, l.caption.Top, d->CloseButtonRect)
                       : TRect{l.caption.Left, l.caption.Top, l.caption.Left, l.caption.Top};
    if (showRoll_) roll = SizedAt(l.caption.Left, close.Bottom + (showClose_ ? 2 : 0), d->HRollButtonRect);
    l.caption.Top = showRoll_ ? roll.Bottom : close.Bottom;
  }
  return l;
}

TRect TksSkinExPanel::ButtonRect(int button) { return Arrange().buttons[static_cast<size_t>(button)]; }

// ---- mouse --------------------------------------------------------------------

void TksSkinExPanel::RedrawButton(int) { Invalidate(); }

void TksSkinExPanel::TestActive(int x, int y) {
  if (!showClose_ && !showRoll_) return;
  const Layout l = Arrange();
  const int previous = active_;
  active_ = -1;
  for (int i : {kClose, kRoll}) {
    if (i == kClose ? !showClose_ : !showRoll_) continue;
    if (l.buttons[static_cast<size_t>(i)].Contains(TPoint{x, y})) {
      active_ = i;
      break;
    }
  }
  if (captured_ != -1 && active_ != captured_) active_ = -1;
  if (active_ == previous) return;
  if (previous != -1) {
    buttons_[static_cast<size_t>(previous)].mouseIn = false;
    RedrawButton(previous);
  }
  if (active_ != -1) {
    buttons_[static_cast<size_t>(active_)].mouseIn = true;
    RedrawButton(active_);
  }
}

void TksSkinExPanel::CMMouseEnter(TMessage& Message) {
  TksSkinCustomControl::CMMouseEnter(Message);
  TestActive(-1, -1);
}

void TksSkinExPanel::CMMouseLeave(TMessage& Message) {
  TksSkinCustomControl::CMMouseLeave(Message);
  for (int i : {kClose, kRoll}) {
    if (!buttons_[static_cast<size_t>(i)].mouseIn) continue;
    buttons_[static_cast<size_t>(i)].mouseIn = false;
    RedrawButton(i);
  }
  active_ = -1;
}

void TksSkinExPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TestActive(X, Y);
  if (active_ != -1) {
    captured_ = active_;
    TCaptionButton& b = buttons_[static_cast<size_t>(captured_)];
    b.mouseIn = true;
    b.down = true;
    RedrawButton(captured_);
  }
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TksSkinExPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseMove(Shift, X, Y);
  TestActive(X, Y);
}

void TksSkinExPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (captured_ == -1) return;
  const int pressed = captured_;
  captured_ = -1;
  TestActive(X, Y);
  TCaptionButton& b = buttons_[static_cast<size_t>(pressed)];
  b.down = false;
  b.mouseIn = active_ == pressed;
  RedrawButton(pressed);
  if (active_ != pressed) return;
  if (pressed == kClose) {
    SetVisible(false);
    if (OnClose) OnClose(this);
  } else {
    SetRollState(!rollState_);
    TestActive(X, Y);
    Repaint();
  }
}

// ---- drawing ------------------------------------------------------------------

void TksSkinExPanel::SetCaptionFont(TCanvas* canvas, bool skinned) {
  const TksDataSkinExPanelControl* d = Description();
  if (skinned && d != nullptr) {
    AssignSkinFont(canvas->Font(), UseSkinFont, d->FontName, d->FontHeight, d->FontStyle, DefaultFont(), skinData_);
    canvas->Font()->SetColor(d->FontColor);
  } else {
    AssignSkinFont(canvas->Font(), false, String(), 0, 0, DefaultFont(), skinData_);
  }
  canvas->Brush()->SetStyle(bsClear);
}

void TksSkinExPanel::DrawCaption(TCanvas* canvas, TRect r, bool skinned) {
  SetCaptionFont(canvas, skinned);
  if (!glyph_.Empty()) {
    const int glyphNumber = PanelGlyphNumber(Enabled());
    DrawGlyph(canvas, r.Left, r.Top + (RectHeight(r) - glyph_.Height()) / 2, &glyph_, numGlyphs_, glyphNumber);
    // The text keeps clear of the whole strip, both images of a two-image glyph.
    r.Left += glyph_.Width() + spacing_;
  }
  DrawItemText(canvas, Caption(), r);
}

void TksSkinExPanel::DrawTurnedCaption(TCanvas* canvas, const TRect& r, int textBottom, bool skinned) {
  SetCaptionFont(canvas, skinned);
  // Read from bottom to top in the vertical bar.
  LOGFONTA lf = canvas->Font()->GetLogFont();
  lf.lfEscapement = 900;
  lf.lfOrientation = 900;
  if (HFONT turned = CreateFontIndirectA(&lf)) canvas->Font()->SetHandle(turned);
  const String text = Caption();
  const int x = r.Left + RectWidth(r) / 2 - canvas->TextHeight(text) / 2;
  int y = textBottom;
  if (!glyph_.Empty()) {
    const int gw = glyph_.Width() / numGlyphs_;
    const int glyphNumber = PanelGlyphNumber(Enabled());
    const int lift = skinned ? 0 : 2;
    DrawGlyph(canvas, r.Left + RectWidth(r) / 2 - gw / 2, r.Bottom - glyph_.Height() - lift, &glyph_, numGlyphs_,
              glyphNumber);
    y -= glyph_.Height() + spacing_ + lift;
  }
  canvas->TextOut(x, y, text);
}

void TksSkinExPanel::DrawButton(TCanvas* canvas, int button) {
  const TRect r = Arrange().buttons[static_cast<size_t>(button)];
  if (IsNullRect(r)) return;
  const TCaptionButton& state = buttons_[static_cast<size_t>(button)];
  const bool pressed = state.down && state.mouseIn;
  if (const TksDataSkinExPanelControl* d = Description(); d != nullptr && Picture != nullptr) {
    const TRect* normal = &d->CloseButtonRect;
    TRect active = d->CloseButtonActiveRect, down = d->CloseButtonDownRect;
    if (button == kRoll) {
      const bool across = rollKind_ == rkRollHorizontal;
      if (rollState_) {
        normal = across ? &d->HRestoreButtonRect : &d->VRestoreButtonRect;
        active = across ? d->HRestoreButtonActiveRect : d->VRestoreButtonActiveRect;
        down = across ? d->HRestoreButtonDownRect : d->VRestoreButtonDownRect;
      } else {
        normal = across ? &d->HRollButtonRect : &d->VRollButtonRect;
        active = across ? d->HRollButtonActiveRect : d->VRollButtonActiveRect;
        down = across ? d->HRollButtonDownRect : d->VRollButtonDownRect;
      }
      // An empty active face takes the normal one, an empty down face the active one.
      active = OrFallback(active, *normal);
      down = OrFallback(down, active);
    }
    const TRect& src = pressed ? down : (state.mouseIn ? active : *normal);
    canvas->CopyRect(r, Picture->Canvas(), src);
    return;
  }
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(r);
  if (pressed || state.mouseIn) {
    canvas->Brush()->SetColor(pressed ? kPlainDownFill : kPlainHotFill);
    canvas->FillRect(r);
    canvas->Brush()->SetColor(clNavy);
    canvas->FrameRect(r);
  }
  TRect symbol = r;
  if (pressed) {
    symbol.Left += 2;
    symbol.Top += 2;
  }
  if (button == kClose) {
    DrawCloseImageInRect(canvas, symbol, clBlack);
    return;
  }
  const int direction = rollKind_ == rkRollHorizontal ? (rollState_ ? 2 : 1) : (rollState_ ? 4 : 3);
  DrawArrowImage(canvas, symbol, clBlack, direction);
}

void TksSkinExPanel::CreateControlDefaultImage(TBitmap* b) {
  TCanvas* c = b->Canvas();
  const int w = Width(), h = Height();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect{0, 0, w, h});
  const Layout l = Arrange();
  if (!RolledAcross()) {
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect{0, 0, w, h});
    TRect bar{0, 0, w, defaultCaptionHeight_};
    c->FrameRect(bar);
    bar = TRect{1, 1, w - 1, defaultCaptionHeight_ - 1};
    Frame3D(c, bar, clBtnHighlight, clBtnFace, 1);
    DrawCaption(c, l.caption, false);
  } else {
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect{0, 0, w, h});
    TRect inner{1, 1, w - 1, h - 1};
    Frame3D(c, inner, clBtnHighlight, clBtnFace, 1);
    DrawTurnedCaption(c, l.caption, l.caption.Bottom - 2, false);
  }
  for (int i : {kClose, kRoll})
    if (i == kClose ? showClose_ : showRoll_) DrawButton(c, i);
}

void TksSkinExPanel::CreateControlSkinImage(TBitmap* b) {
  const TksDataSkinExPanelControl* d = Description();
  if (d == nullptr) {
    CreateControlDefaultImage(b);  // a description of another kind
    return;
  }
  const Layout l = Arrange();
  TCanvas* c = b->Canvas();
  if (!rollState_) {
    TksSkinCustomControl::CreateControlSkinImage(b);
    DrawCaption(c, l.caption, true);
  } else if (rollKind_ == rkRollVertical) {
    TBitmap face;
    CreateHSkinImage(d->RollLeftOffset, d->RollRightOffset, &face, Picture, d->RollVSkinRect, Width(),
                     GetRollHeight());
    c->Draw(0, 0, &face);
    DrawCaption(c, l.caption, true);
  } else {
    TBitmap face;
    CreateVSkinImage(d->RollTopOffset, d->RollBottomOffset, &face, Picture, d->RollHSkinRect, GetRollWidth(),
                     Height());
    c->Draw(0, 0, &face);
    DrawTurnedCaption(c, l.caption, l.caption.Bottom, true);
  }
  for (int i : {kClose, kRoll})
    if (i == kClose ? showClose_ : showRoll_) DrawButton(c, i);
}
