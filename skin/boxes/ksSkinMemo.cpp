#include "skin/boxes/ksSkinMemo.h"

#include <windowsx.h>

#include "framework/core/colors.h"
#include "framework/core/seams.h"
#include "skin/boxes/ksEditContextMenu.h"
#include "skin/boxes/ksTextBoxMessages.h"
#include "skin/controls/ksSkinScrollBar.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/data/ksSkinDataResStr.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/draw/ksUtils.h"

TksSkinMemo::TksSkinMemo(TComponent* AOwner)
    : TCustomMemo(AOwner), defaultFont_(std::make_unique<TFont>()), contextMenu_(std::make_unique<TksEditContextMenu>()) {
  AutoSize = false;
  Font()->SetName("Arial");
  Font()->SetHeight(14);
  defaultFont_->Assign(Font());
  // In the default look the font follows every change of the default font.
  defaultFont_->OnChange = [this](TObject*) {
    if (!Skinned()) Font()->Assign(defaultFont_.get());
  };
  SetScrollBars(ssNone);
}

TksSkinMemo::~TksSkinMemo() { SetVScrollBar(nullptr); }

void TksSkinMemo::SetSkinData(TksSkinData* value) {
  SetComponentReference(this, skinData_, value);
  if (skinData_ != nullptr && !skinData_->Empty) ChangeSkinData();
}

void TksSkinMemo::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMemo::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == skinData_) {
    skinData_ = nullptr;
    controlIndex_ = -1;
    picture_ = nullptr;
  }
  if (AComponent == vScrollBar_) vScrollBar_ = nullptr;
}

void TksSkinMemo::GetSkinData() {
  controlIndex_ = SkinControlIndex(skinData_, skinDataName_);
  picture_ = nullptr;
  if (controlIndex_ == -1) return;
  auto* d = skinData_->ControlData<TksDataSkinMemoControl>(controlIndex_);
  if (d == nullptr) {
    controlIndex_ = -1;
    return;
  }
  picture_ = skinData_->ActivePicture(d->PictureIndex);
  skinRect_ = d->SkinRect;
  activeSkinRect_ = OrFallback(d->ActiveSkinRect, d->SkinRect);
  lt_ = d->LTPoint;
  rt_ = d->RTPoint;
  lb_ = d->LBPoint;
  rb_ = d->RBPoint;
  clientRect_ = d->ClientRect;
  fontColor_ = d->FontColor;
  activeFontColor_ = d->ActiveFontColor;
  bgColor_ = d->BGColor;
  activeBGColor_ = d->ActiveBGColor;
}

void TksSkinMemo::CreateParams(TCreateParams& Params) {
  TCustomMemo::CreateParams(Params);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_TRANSPARENT);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER | WS_HSCROLL | WS_VSCROLL);
  Params.Style |= ES_MULTILINE;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TksSkinMemo::Invalidate() {
  if (bitMapBG_ && Parent() != nullptr && HandleAllocated())
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  else
    TCustomMemo::Invalidate();
}

TRect TksSkinMemo::FrameMargins() {
  GetSkinData();
  if (!Skinned()) return TRect{2, 2, 2, 2};
  return SkinFrameMargins(skinRect_, clientRect_);
}

void TksSkinMemo::PaintFrame(TBitmap& b) {
  GetSkinData();
  const int w = Width(), h = Height();
  b.SetSize(w, h);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect{0, 0, w, h});
  if (!Skinned() || picture_ == nullptr || IsNullRect(skinRect_)) {
    DrawPlainBoxFrame(c, TRect{0, 0, w, h});
    return;
  }
  const int dW = w - RectWidth(skinRect_), dH = h - RectHeight(skinRect_);
  const TRect newClient{clientRect_.Left, clientRect_.Top, clientRect_.Right + dW, clientRect_.Bottom + dH};
  const bool active = mouseIn_ || Focused();
  CreateSkinImage(lt_, rt_, lb_, rb_, clientRect_, lt_, TPoint{rt_.X + dW, rt_.Y}, TPoint{lb_.X, lb_.Y + dH},
                  TPoint{rb_.X + dW, rb_.Y + dH}, newClient, &b, picture_, active ? activeSkinRect_ : skinRect_, w, h,
                  bitMapBG_);
}

void TksSkinMemo::PaintNonClient() {
  TBitmap b;
  PaintFrame(b);
  if (bitMapBG_) {
    BlitToWindow(Handle(), b);
    return;
  }
  // The text area is the window's own: only the frame is drawn.
  const TRect m = FrameMargins();
  const TRect text{m.Left, m.Top, Width() - m.Right, Height() - m.Bottom};
  BlitToWindow(Handle(), b, &text);
}

void TksSkinMemo::SetVScrollBar(TksSkinScrollBar* value) {
  if (vScrollBar_ != nullptr) vScrollBar_->OnChange = nullptr;
  SetComponentReference(this, vScrollBar_, value);
  if (vScrollBar_ != nullptr) {
    vScrollBar_->SetRange(0, 0, 0, 0);
    vScrollBar_->OnChange = [this](TObject*) { BarChanged(); };
  }
  UpdateScrollBar();
}

void TksSkinMemo::UpdateScrollBar() {
  if (vScrollBar_ == nullptr || !HandleAllocated()) return;
  if (!Enabled()) {
    vScrollBar_->SetEnabled(false);
    return;
  }
  RECT client;
  GetClientRect(Handle(), &client);
  int lineHeight = 0;
  if (HDC dc = GetDC(Handle())) {
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, "Wq", 2, &size);
    lineHeight = size.cy;
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
  }
  const int rows = (client.bottom - client.top) / (lineHeight > 0 ? lineHeight : 1);
  const int count = static_cast<int>(SendMessageA(Handle(), EM_GETLINECOUNT, 0, 0));
  const int first = static_cast<int>(SendMessageA(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  if (rows < count) {
    vScrollBar_->SetRange(0, count, rows + 1, first);
    vScrollBar_->SetEnabled(true);
  } else {
    vScrollBar_->SetRange(0, 0, 0, 0);
    vScrollBar_->SetEnabled(false);
  }
}

void TksSkinMemo::BarChanged() {
  // Without WS_VSCROLL the system edit reads a thumb position as a percentage: scroll by lines.
  const int first = static_cast<int>(SendMessageA(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  SendMessageA(Handle(), EM_LINESCROLL, 0, vScrollBar_->Position() - first);
  Invalidate();
}

void TksSkinMemo::SetDefaultFont(TFont* value) { defaultFont_->Assign(value); }

void TksSkinMemo::SetBitMapBG(bool value) {
  if (bitMapBG_ == value) return;
  bitMapBG_ = value;
  if (HandleAllocated()) RecreateWnd();
}

std::vector<TksEditMenuItem> TksSkinMemo::ContextMenuItems() {
  TksEditMenuState s;
  s.CanUndo = CanUndo();
  s.HasSelection = HandleAllocated() && SelLength() >= 1;
  s.WholeTextSelected = HandleAllocated() && SelText() == Text();
  s.ClipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != 0;
  s.ReadOnly = ReadOnly;
  return EditMenuItems(s, skinData_ ? skinData_->ResourceStrData() : nullptr);
}

void TksSkinMemo::ShowContextMenu(TMessage& Message) {
  if (PopupMenu() != nullptr) {
    TCustomMemo::Dispatch(Message);
    return;
  }
  Message.Result = 1;
  if (OnContextMenuPopup.Assigned())
    OnContextMenuPopup(this, ContextMenuItems(), ContextMenuPoint(*this, Message));
  else
    contextMenu_->Show(*this, ContextMenuItems(), ContextMenuPoint(*this, Message));
}

TksSkinPopupMenu* TksSkinMemo::MenuObject() const { return contextMenu_->MenuObject(); }

void TksSkinMemo::SetHoverColours(bool active) {
  if (!Skinned()) return;
  Font()->SetColor(active ? activeFontColor_ : fontColor_);
  if (!bitMapBG_) SetColor(active ? activeBGColor_ : bgColor_);
  Invalidate();
}

void TksSkinMemo::AfterChange(bool redraw) {
  if (redraw && bitMapBG_) Invalidate();
  UpdateScrollBar();
}

void TksSkinMemo::Dispatch(TMessage& Message) {
  if (ReadOnly && ReadOnlyRefuses(Message)) return;
  switch (Message.Msg) {
    case WM_NCCALCSIZE: ShrinkToFrame(Message, FrameMargins()); return;
    case WM_NCPAINT:
      PaintNonClient();
      Message.Result = 0;
      return;
    case WM_CONTEXTMENU: ShowContextMenu(Message); return;
    case WM_CLOSESKINMENU: contextMenu_->CommandDone(); return;
    case WM_CHAR:
      if (ReadOnly && Message.WParam != 3) return;
      TCustomMemo::Dispatch(Message);
      AfterChange(false);
      return;
    case WM_KEYDOWN:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      TCustomMemo::Dispatch(Message);
      AfterChange(true);
      return;
    case WM_SETTEXT:
      TCustomMemo::Dispatch(Message);
      AfterChange(true);
      return;
    case WM_VSCROLL:
      TCustomMemo::Dispatch(Message);
      UpdateScrollBar();
      return;
    case WM_MOUSEWHEEL:
      // One line per wheel message, by the signed delta.
      SendMessageA(Handle(), WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      if (bitMapBG_) Invalidate();
      Message.Result = 0;
      return;
    case WM_SIZE:
      TCustomMemo::Dispatch(Message);
      UpdateScrollBar();
      if (!bitMapBG_) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      return;
    case WM_LBUTTONDOWN:
      lButtonDown_ = true;
      break;
    case WM_LBUTTONUP:
      TCustomMemo::Dispatch(Message);
      if (lButtonDown_) UpdateScrollBar();
      lButtonDown_ = false;
      return;
    case WM_MOUSEMOVE:
      TCustomMemo::Dispatch(Message);
      if (lButtonDown_) UpdateScrollBar();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomMemo::Dispatch(Message);
      if (!mouseIn_) SetHoverColours(Message.Msg == WM_SETFOCUS);
      if (!bitMapBG_ && HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomMemo::Dispatch(Message);
      mouseIn_ = Message.Msg == CM_MOUSEENTER;
      if (!Focused()) SetHoverColours(mouseIn_);
      if (!bitMapBG_ && HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      return;
    case CM_ENABLEDCHANGED:
      TCustomMemo::Dispatch(Message);
      UpdateScrollBar();
      Font()->SetColor(!Enabled() ? clGrayText : Skinned() ? fontColor_ : defaultFont_->Color());
      return;
    case CN_COMMAND:
      TCustomMemo::Dispatch(Message);
      if (HIWORD(Message.WParam) == EN_CHANGE) UpdateScrollBar();
      return;
    case WM_ERASEBKGND:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (bitMapBG_ && AnswerTransparentText(*this, *Font(), Message)) return;
      break;
    default: break;
  }
  TCustomMemo::Dispatch(Message);
}

void TksSkinMemo::ChangeSkinData() {
  GetSkinData();
  if (!Skinned()) {
    Font()->Assign(defaultFont_.get());
  } else {
    auto* d = skinData_->ControlData<TksDataSkinMemoControl>(controlIndex_);
    if (UseSkinFont) {
      Font()->SetName(d->FontName);
      Font()->SetStyle(d->FontStyle);
      Font()->SetHeight(d->FontHeight);
    } else {
      Font()->Assign(defaultFont_.get());
    }
    SetColor(bgColor_);
  }
  Font()->SetCharset(TextCharSet(skinData_, *defaultFont_));
  UpdateScrollBar();
  if (HandleAllocated()) RecreateWnd();
  if (vScrollBar_ != nullptr) vScrollBar_->SetAlign(vScrollBar_->Align());
  Font()->SetColor(!Enabled() ? clGrayText : Skinned() ? fontColor_ : defaultFont_->Color());
}
