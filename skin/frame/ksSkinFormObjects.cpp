#include "skin/frame/ksSkinFormObjects.h"

#include <algorithm>
#include <memory>

#include "skin/draw/ksEffects.h"
#include "skin/draw/ksPlainColors.h"
#include "skin/draw/ksSkinMorph.h"
#include "skin/draw/ksUtils.h"
#include "skin/frame/ksSkinForm.h"

void ApplyFrameEffect(TBitmap* b, TksEffect effect) {
  if (b->Empty()) return;
  std::unique_ptr<TksEffectBmp> e(TksEffectBmp::CreateFromHBitmap(b->Handle()));
  if (!e) return;
  switch (effect) {
    case 1: e->Darkness(0.3); break;
    case 2: e->GrayScale(); break;
    case 3: e->Noise(50); break;
    case 4: e->SplitBlur(1); break;
    case 5: e->Invert(); break;
    default: e->Brightness(0.5); break;
  }
  e->Draw(b->Canvas()->Handle(), 0, 0);
}

// ---- base --------------------------------------------------------------------------

TksActiveSkinObject::TksActiveSkinObject(TksSkinForm* parent, const TksDataSkinObject* data)
    : Parent(parent), SkinData(parent->SkinData()) {
  if (SkinData) Picture = &SkinData->Picture;
  if (!data) return;
  IDName = data->IDName;
  Hint = data->Hint;
  SkinRect = data->SkinRect;
  ActiveSkinRect = data->ActiveSkinRect;
  InActiveSkinRect = data->InActiveSkinRect;
  SkinRectInAPicture = data->SkinRectInAPicture;
  Morphing = data->Morphing;
  MorphKind = data->MorphKind;
  if (SkinData) ActivePicture = SkinData->ActivePicture(data->ActivePictureIndex);
  if (!ActivePicture) ActiveSkinRect = NullRect();
  if (IsNullRect(ActiveSkinRect)) Morphing = false;
  ObjectRect = SkinRect;
}

bool TksActiveSkinObject::FrameActive() const { return Parent->GetFormActive(); }

bool TksActiveSkinObject::CanMorph() {
  return (ActiveState && morphSteps_ < 5) || (!ActiveState && morphSteps_ > 0);
}

void TksActiveSkinObject::SetMorphSteps(int steps) { morphSteps_ = std::clamp(steps, 0, 5); }

void TksActiveSkinObject::DoMorph() {
  SetMorphSteps(morphSteps_ + (ActiveState ? 1 : -1));
  Parent->DrawSkinObject(this);
}

void TksActiveSkinObject::ReDraw() {
  if (Morphing)
    Parent->StartMorph();
  else
    Parent->DrawSkinObject(this);
}

void TksActiveSkinObject::MouseEnter() {
  Active = ActiveState = true;
  if (!IsNullRect(ActiveSkinRect)) ReDraw();
  if (Parent->OnMouseEnterEvent) Parent->OnMouseEnterEvent(IDName);
}

void TksActiveSkinObject::MouseLeave() {
  Active = ActiveState = false;
  if (!IsNullRect(ActiveSkinRect)) ReDraw();
  if (Parent->OnMouseLeaveEvent) Parent->OnMouseLeaveEvent(IDName);
}

void TksActiveSkinObject::MouseDown(int x, int y, TMouseButton button) {
  if (Parent->OnMouseDownEvent) Parent->OnMouseDownEvent(IDName, x, y, ObjectRect, button);
}

void TksActiveSkinObject::MouseUp(int x, int y, TMouseButton button) {
  if (Active && Parent->OnMouseUpEvent) Parent->OnMouseUpEvent(IDName, x, y, ObjectRect, button);
}

void TksActiveSkinObject::MouseMove(int x, int y) {
  if (Parent->OnMouseMoveEvent) Parent->OnMouseMoveEvent(IDName, x, y, ObjectRect);
}

void TksActiveSkinObject::CopyImage(TCanvas* canvas, TBitmap* picture, const TRect& src) const {
  if (!picture || IsNullRect(src) || IsNullRect(ObjectRect)) return;
  canvas->CopyRect(ObjectRect, picture->Canvas(), src);
}

void TksActiveSkinObject::DrawMorph(TCanvas* canvas, TBitmap* normal, const TRect& normalRect, TBitmap* active,
                                    const TRect& activeRect) const {
  if (!normal || !active || IsNullRect(ObjectRect)) return;
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  TBitmap a(w, h), b(w, h);
  a.Canvas()->CopyRect(TRect{0, 0, w, h}, normal->Canvas(), normalRect);
  b.Canvas()->CopyRect(TRect{0, 0, w, h}, active->Canvas(), activeRect);
  MorphFace(&a, &b, MorphKind, MorphKf());
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &a);
}

void TksActiveSkinObject::Draw(TCanvas* canvas, bool update) {
  if (Enabled && !FrameActive() && !IsNullRect(InActiveSkinRect)) {
    CopyImage(canvas, ActivePicture, InActiveSkinRect);
  } else if (Morphing && CanMorph() && ActivePicture) {
    DrawMorph(canvas, SkinRectInAPicture ? ActivePicture : Picture, SkinRect, ActivePicture, ActiveSkinRect);
  } else if (ActiveState && !IsNullRect(ActiveSkinRect)) {
    CopyImage(canvas, ActivePicture, ActiveSkinRect);
  } else if (update || SkinRectInAPicture) {
    CopyImage(canvas, SkinRectInAPicture ? ActivePicture : Picture, SkinRect);
  }
}

// ---- user object ---------------------------------------------------------------------

void TksUserObject::Draw(TCanvas* canvas, bool) {
  if (Parent->OnPaintEvent) Parent->OnPaintEvent(IDName, canvas, ObjectRect);
}

// ---- animation -----------------------------------------------------------------------

TksSkinAnimateObject::TksSkinAnimateObject(TksSkinForm* parent, const TksDataSkinAnimate* data)
    : TksActiveSkinObject(parent, data) {
  CountFrames = std::max(1, data->CountFrames);
  Cycle = data->Cycle;
  ButtonStyle = data->ButtonStyle;
  TimerInterval = std::max(25, data->TimerInterval);
  Command = data->Command;
  Morphing = false;
}

void TksSkinAnimateObject::Draw(TCanvas* canvas, bool) {
  const int w = RectWidth(SkinRect), h = RectHeight(SkinRect);
  const int left = SkinRect.Left + (Frame - 1) * w;
  CopyImage(canvas, ActivePicture, TRect{left, SkinRect.Top, left + w, SkinRect.Top + h});
}

void TksSkinAnimateObject::SetFrame(int n) {
  if (Increment && n > CountFrames) n = 1;
  if (!Increment && n < 1) n = CountFrames;
  Frame = std::clamp(n, 1, CountFrames);
  Parent->DrawSkinObject(this);
}

void TksSkinAnimateObject::DoAnimate() {
  if (TimerCount < TimerInterval) {
    TimerCount += 25;
    return;
  }
  if (Increment) {
    SetFrame(Frame + 1);
    if (!Cycle && Frame == CountFrames) ActiveState = false;
  } else {
    SetFrame(Frame - 1);
    if (Frame == 1) ActiveState = false;
  }
  TimerCount = 25;
}

void TksSkinAnimateObject::MouseEnter() {
  Active = true;
  if (ButtonStyle) {
    ActiveState = true;
    Increment = true;
    Parent->StartAnimate();
  }
  if (Parent->OnMouseEnterEvent) Parent->OnMouseEnterEvent(IDName);
}

void TksSkinAnimateObject::MouseLeave() {
  if (!Active) return;
  Active = false;
  if (ButtonStyle) {
    ActiveState = true;
    Increment = false;
    Parent->StartAnimate();
  }
  if (Parent->OnMouseLeaveEvent) Parent->OnMouseLeaveEvent(IDName);
}

void TksSkinAnimateObject::MouseUp(int x, int y, TMouseButton button) {
  TksSkinForm* frame = Parent;
  const unsigned objects = frame->ObjectsVersion();
  TksActiveSkinObject::MouseUp(x, y, button);
  // The mouse-up event may have rebuilt the objects, this one with them.
  if (frame->ObjectsVersion() == objects && Active && ButtonStyle && button == mbLeft) DoCommand();
}

void TksSkinAnimateObject::DblClick() {
  if (Command == cmSysMenu) Parent->Form()->Close();
}

namespace {

// The commands animations and caption buttons share.
void RunFrameCommand(TksSkinForm* frame, TksStdButtonCommand command) {
  switch (command) {
    case cmClose: frame->Form()->Close(); break;
    case cmMaximize:
      frame->SetWindowState(frame->WindowState() == kwsMaximized ? kwsNormal : kwsMaximized);
      break;
    case cmMinimize:
      if (frame->AlwaysMinimizeToTray)
        frame->MinimizeToTray();
      else
        frame->SetWindowState(frame->WindowState() == kwsMinimized ? kwsNormal : kwsMinimized);
      break;
    case cmRollUp: frame->SetRollUpState(!frame->RollUpState()); break;
    case cmMinimizeToTray: frame->MinimizeToTray(); break;
    default: break;
  }
}

// Where an object's menu opens: its rectangle on the screen.
// An MDI child's Left and Top are in its client window's coordinates.
TRect ScreenAnchor(TksSkinForm* frame, const TRect& r) {
  RECT w{};
  TCustomForm* form = frame->Form();
  if (form->HandleAllocated() && GetWindowRect(form->Handle(), &w)) return MovedRect(r, w.left, w.top);
  return MovedRect(r, form->Left(), form->Top());
}

void TrackObjectMenu(TksSkinForm* frame, TMenuItem* item, const TRect& r, bool popupUp) {
  if (!item || item->Count() == 0) return;
  frame->PopupObjectMenu(item, ScreenAnchor(frame, r), popupUp);
}

}  // namespace

void TksSkinAnimateObject::DoCommand() {
  if (Command == cmSysMenu) {
    MenuItem = Parent->GetSystemMenu();
    TrackObjectMenu(Parent, MenuItem, ObjectRect, PopupUp);
  } else if (Command == cmDefault) {
    TrackObjectMenu(Parent, MenuItem, ObjectRect, PopupUp);
  } else {
    RunFrameCommand(Parent, Command);
  }
}

// ---- button --------------------------------------------------------------------------

TksSkinButtonObject::TksSkinButtonObject(TksSkinForm* parent, const TksDataSkinButton* data)
    : TksActiveSkinObject(parent, data) {
  if (!data) return;
  DownRect = data->DownRect;
  DisableSkinRect = data->DisableSkinRect;
}

void TksSkinButtonObject::SetDown(bool value) {
  Down = value;
  if (Morphing && ActiveState) SetMorphSteps(5);
  Parent->DrawSkinObject(this);
  if (Morphing && !value) ReDraw();
}

bool TksSkinButtonObject::CanMorph() { return TksActiveSkinObject::CanMorph() && !(Down && MenuItem); }

void TksSkinButtonObject::Draw(TCanvas* canvas, bool update) {
  if (!Enabled && !IsNullRect(DisableSkinRect) && ActivePicture)
    CopyImage(canvas, ActivePicture, DisableSkinRect);
  else if (Down && Active && !IsNullRect(DownRect) && ActivePicture)
    CopyImage(canvas, ActivePicture, DownRect);
  else
    TksActiveSkinObject::Draw(canvas, update);
}

void TksSkinButtonObject::TrackMenu() { TrackObjectMenu(Parent, MenuItem, ObjectRect, PopupUp); }

void TksSkinButtonObject::MouseDown(int x, int y, TMouseButton button) {
  if (!Enabled) return;
  if (button == mbLeft && !Down) {
    SetDown(true);
    TrackMenu();
  }
  TksActiveSkinObject::MouseDown(x, y, button);
}

void TksSkinButtonObject::MouseUp(int x, int y, TMouseButton button) {
  if (!Enabled) return;
  if (button == mbLeft && Down && !MenuItem) SetDown(false);
  TksActiveSkinObject::MouseUp(x, y, button);
}

void TksSkinButtonObject::MouseEnter() {
  Active = ActiveState = true;
  if (Down && !IsNullRect(DownRect)) {
    if (Morphing) SetMorphSteps(5);
    Parent->DrawSkinObject(this);
  } else if (!IsNullRect(ActiveSkinRect)) {
    ReDraw();
  }
  if (Parent->OnMouseEnterEvent) Parent->OnMouseEnterEvent(IDName);
}

void TksSkinButtonObject::MouseLeave() {
  Active = ActiveState = false;
  if (!(Down && MenuItem)) {
    Parent->DrawSkinObject(this);
    ReDraw();
  }
  if (Parent->OnMouseLeaveEvent) Parent->OnMouseLeaveEvent(IDName);
}

// ---- caption button ------------------------------------------------------------------

TksSkinStdButtonObject::TksSkinStdButtonObject(TksSkinForm* parent, const TksDataSkinStdButton* data,
                                               TksStdButtonCommand command)
    : TksSkinButtonObject(parent, data), Command(data ? data->Command : command), SkinSupport(data != nullptr) {
  if (!data) {
    SkinRectInAPicture = true;
    SkinRect = ActiveSkinRect = DownRect = TRect{0, 0, 1, 1};
    ObjectRect = SkinRect;
    return;
  }
  RestoreRect = data->RestoreRect;
  RestoreActiveRect = data->RestoreActiveRect;
  RestoreDownRect = data->RestoreDownRect;
  RestoreInActiveRect = data->RestoreInActiveRect;
}

bool TksSkinStdButtonObject::RestoreState() const {
  return (Command == cmMaximize && Parent->WindowState() == kwsMaximized) ||
         (Command == cmMinimize && Parent->WindowState() == kwsMinimized) ||
         (Command == cmRollUp && Parent->RollUpState());
}

bool TksSkinStdButtonObject::CanMorph() {
  if (Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture) return false;
  return TksSkinButtonObject::CanMorph();
}

void TksSkinStdButtonObject::Draw(TCanvas* canvas, bool update) {
  if (!SkinSupport) {
    DefaultDraw(canvas);
    return;
  }
  if (!Enabled || (!FrameActive() && !IsNullRect(InActiveSkinRect))) {
    TksSkinButtonObject::Draw(canvas, update);
  } else if (Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture) {
    Parent->DrawFormIcon(canvas, ObjectRect.Left, ObjectRect.Top);
    SetMorphSteps(0);
  } else if (RestoreState() && !IsNullRect(RestoreRect) && ActivePicture) {
    if (!FrameActive() && !IsNullRect(RestoreInActiveRect))
      CopyImage(canvas, ActivePicture, RestoreInActiveRect);
    else if (Down && Active && !IsNullRect(RestoreDownRect))
      CopyImage(canvas, ActivePicture, RestoreDownRect);
    else if (Morphing && CanMorph() && !IsNullRect(RestoreActiveRect))
      DrawMorph(canvas, ActivePicture, RestoreRect, ActivePicture, RestoreActiveRect);
    else if (ActiveState && !IsNullRect(RestoreActiveRect))
      CopyImage(canvas, ActivePicture, RestoreActiveRect);
    else
      CopyImage(canvas, ActivePicture, RestoreRect);
  } else {
    TksSkinButtonObject::Draw(canvas, update);
  }
}

void TksSkinStdButtonObject::DefaultDraw(TCanvas* canvas) {
  if (Command == cmSysMenu && Parent->ShowIcon()) {
    Parent->DrawFormIcon(canvas, ObjectRect.Left, ObjectRect.Top);
    return;
  }
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1) return;
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  TRect r{0, 0, w, h};
  const bool pressed = Down && Active;
  if (pressed || Active) {
    Frame3D(c, r, clNavy, clNavy, 1);
    c->Brush()->SetColor(pressed ? kPlainDownFill : kPlainHotFill);
  } else {
    c->Brush()->SetColor(clBtnFace);
  }
  c->FillRect(r);
  const int x = w / 2 - 5 + (pressed ? 1 : 0), y = h / 2 - 4 + (pressed ? 1 : 0);
  const TColor color = Enabled ? clBtnText : clBtnShadow;
  const bool restore = RestoreState();
  switch (Command) {
    case cmClose: DrawCloseImage(c, x, y, color); break;
    case cmMaximize:
    case cmMinimize:
      if (restore)
        DrawRestoreImage(c, x, y, color);
      else if (Command == cmMaximize)
        DrawMaximizeImage(c, x, y, color);
      else
        DrawMinimizeImage(c, x, y, color);
      break;
    case cmSysMenu: DrawSysMenuImage(c, x, y, color); break;
    case cmRollUp:
      if (restore)
        DrawRollDownImage(c, x, y, color);
      else
        DrawRollUpImage(c, x, y, color);
      break;
    case cmMinimizeToTray: DrawMinToTrayImage(c, x, y, color); break;
    default: break;
  }
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TksSkinStdButtonObject::MouseDown(int, int, TMouseButton button) {
  if (!Enabled || button != mbLeft || Down) return;
  SetDown(true);
  if (Command == cmSysMenu) {
    MenuItem = Parent->GetSystemMenu();
    TrackMenu();
  }
}

// The command and the mouse-up event run handlers that may rebuild the frame's
// objects, this one with them: past them only copies are used.
void TksSkinStdButtonObject::MouseUp(int x, int y, TMouseButton button) {
  const bool run = ActiveState && button == mbLeft;
  TksSkinForm* frame = Parent;
  const TksStdButtonCommand command = Command;
  if (command == cmClose) {
    TksSkinButtonObject::MouseUp(x, y, button);
    if (run) RunFrameCommand(frame, command);
    return;
  }
  const unsigned objects = frame->ObjectsVersion();
  if (run) RunFrameCommand(frame, command);
  if (frame->ObjectsVersion() == objects) TksSkinButtonObject::MouseUp(x, y, button);
}

void TksSkinStdButtonObject::DoCommand() { RunFrameCommand(Parent, Command); }

void TksSkinStdButtonObject::DblClick() {
  if (Command == cmSysMenu) Parent->Form()->Close();
}

// ---- caption ---------------------------------------------------------------------------

TksSkinCaptionObject::TksSkinCaptionObject(TksSkinForm* parent, const TksDataSkinCaption* data)
    : TksActiveSkinObject(parent, data) {
  FontName = data->FontName;
  FontHeight = data->FontHeight;
  FontStyle = data->FontStyle;
  FontColor = data->FontColor;
  ActiveFontColor = data->ActiveFontColor;
  ShadowColor = data->ShadowColor;
  ActiveShadowColor = data->ActiveShadowColor;
  Shadow = data->Shadow;
  Alignment = data->Alignment;
  TextRect = data->TextRect;
  FrameRect = data->FrameRect;
  ActiveFrameRect = data->ActiveFrameRect;
  FrameTextRect = data->FrameTextRect;
  FrameLeftOffset = data->FrameLeftOffset;
  FrameRightOffset = data->FrameRightOffset;
}

void TksSkinCaptionObject::MouseEnter() {
  Active = true;
  if (Parent->OnMouseEnterEvent) Parent->OnMouseEnterEvent(IDName);
}

void TksSkinCaptionObject::MouseLeave() {
  Active = false;
  if (Parent->OnMouseLeaveEvent) Parent->OnMouseLeaveEvent(IDName);
}

void TksSkinCaptionObject::MouseDown(int x, int y, TMouseButton button) {
  if (Parent->OnMouseDownEvent) Parent->OnMouseDownEvent(IDName, x, y, ObjectRect, button);
}

void TksSkinCaptionObject::MouseUp(int x, int y, TMouseButton button) {
  if (Parent->OnMouseUpEvent) Parent->OnMouseUpEvent(IDName, x, y, ObjectRect, button);
}

void TksSkinCaptionObject::SetCaptionFont(TCanvas* canvas, TColor color) {
  TFont* f = canvas->Font();
  f->SetName(FontName);
  f->SetStyle(FontStyle);
  f->SetHeight(FontHeight);
  f->SetColor(color);
  if (SkinData && SkinData->ResourceStrData())
    f->SetCharset(SkinData->ResourceStrData()->CharSet);
  else
    f->SetCharset(Parent->DefCaptionFont()->Charset());
}

TRect TksSkinCaptionObject::TextArea() const {
  TRect tr = TextRect;
  tr.Right = RectWidth(ObjectRect) - (RectWidth(SkinRect) - TextRect.Right);
  if (!IsNullRect(FrameRect)) {
    tr.Left += FrameTextRect.Left;
    tr.Top += FrameTextRect.Top;
    tr.Right -= RectWidth(FrameRect) - FrameTextRect.Right;
  }
  return tr;
}

void TksSkinCaptionObject::DrawCaptionText(TCanvas* canvas, int dx, int dy, bool activeLook) {
  String text = Parent->CaptionText();
  if (text.empty() || IsNullRect(TextRect)) return;
  const TRect tr = TextArea();
  CutTextToWidth(canvas, text, std::max(0, RectWidth(tr)));
  const int tw = canvas->TextWidth(text), th = canvas->TextHeight(text);
  int x = tr.Left;
  if (Alignment == taRightJustify)
    x = tr.Right - tw;
  else if (Alignment == taCenter)
    x = RectWidth(tr) / 2 - tw / 2 + tr.Left;
  const int y = RectHeight(tr) / 2 - th / 2 + tr.Top + dy;
  x += dx;
  canvas->Brush()->SetStyle(bsClear);
  if (!IsNullRect(FrameRect) && ActivePicture) {
    TBitmap strip;
    const TRect src = activeLook && !IsNullRect(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
    CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &strip, ActivePicture, src,
                     RectWidth(FrameRect) + tw - RectWidth(FrameTextRect), RectHeight(FrameRect));
    canvas->Draw(x - FrameTextRect.Left, y - FrameTextRect.Top, &strip);
    canvas->Brush()->SetStyle(bsClear);
  }
  if (Shadow) {
    const TColor saved = canvas->Font()->Color();
    canvas->Font()->SetColor(activeLook ? ActiveShadowColor : ShadowColor);
    canvas->TextOut(x + 1, y + 1, text);
    canvas->Font()->SetColor(saved);
  }
  canvas->TextOut(x, y, text);
}

void TksSkinCaptionObject::CreateCaptionImage(TBitmap* b, const TRect& source, TBitmap* picture) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  b->SetSize(w, h);
  if (!picture || IsNullRect(source) || w < 1 || h < 1) return;
  const int sw = RectWidth(source);
  int l = SkinData ? SkinData->LTPoint.X - SkinRect.Left : 0;
  int r = SkinData ? SkinRect.Right - SkinData->RTPoint.X : 0;
  l = std::clamp(l, 0, sw);
  r = std::clamp(r, 0, sw - l);
  TCanvas* c = b->Canvas();
  const TRect middle{source.Left + l, source.Top, source.Right - r, source.Bottom};
  const int mw = RectWidth(middle);
  if (l == 0 && r == 0) {
    c->CopyRect(TRect{0, 0, w, h}, picture->Canvas(), middle);
    return;
  }
  if (mw >= 1)
    for (int x = 0; x < w; x += mw) {
      const int cut = std::min(mw, w - x);
      c->CopyRect(TRect{x, 0, x + cut, h}, picture->Canvas(),
                  TRect{middle.Left, middle.Top, middle.Left + cut, middle.Bottom});
    }
  if (l > 0) c->CopyRect(TRect{0, 0, std::min(l, w), h}, picture->Canvas(),
                         TRect{source.Left, source.Top, source.Left + std::min(l, w), source.Bottom});
  if (r > 0 && w - r >= 0)
    c->CopyRect(TRect{w - r, 0, w, h}, picture->Canvas(), TRect{source.Right - r, source.Top, source.Right, source.Bottom});
}

void TksSkinCaptionObject::CaptionImage(TBitmap* b, const TRect& source, TBitmap* picture, bool activeLook) {
  CreateCaptionImage(b, source, picture);
  SetCaptionFont(b->Canvas(), activeLook ? ActiveFontColor : FontColor);
  DrawCaptionText(b->Canvas(), 0, 0, activeLook);
}

void TksSkinCaptionObject::Draw(TCanvas* canvas, bool) {
  SetCaptionFont(canvas, ActiveState ? ActiveFontColor : FontColor);
  const bool hasActive = !IsNullRect(ActiveSkinRect) && ActivePicture;
  if (Morphing && CanMorph() && hasActive) {
    TBitmap a, b;
    CaptionImage(&a, SkinRect, Picture, false);
    CaptionImage(&b, ActiveSkinRect, ActivePicture, true);
    MorphFace(&a, &b, MorphKind, MorphKf());
    if (!ActiveState && Parent->GetAutoRenderingInActiveImage() && SkinData)
      ApplyFrameEffect(&a, SkinData->InActiveEffect);
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &a);
  } else if (!hasActive || (!ActiveState && !Morphing)) {
    DrawCaptionText(canvas, ObjectRect.Left, ObjectRect.Top, ActiveState);
  } else {
    TBitmap a;
    if (ActiveState)
      CaptionImage(&a, ActiveSkinRect, ActivePicture, true);
    else
      CaptionImage(&a, SkinRect, Picture, false);
    if (!ActiveState && Parent->GetAutoRenderingInActiveImage() && SkinData)
      ApplyFrameEffect(&a, SkinData->InActiveEffect);
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &a);
  }
}
