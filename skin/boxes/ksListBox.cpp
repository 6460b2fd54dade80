#include "skin/boxes/ksListBox.h"

#include <algorithm>

#include "framework/gui/customcontrol.h"
#include "skin/boxes/ksSkinListFrame.h"

TksListBox::TksListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  Ctl3D = false;
  BorderStyle = bsNone;
  controlStyle_ = csCaptureMouse | csOpaque | csDoubleClicks;
}

void TksListBox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  Params.Style = (Params.Style & ~static_cast<DWORD>(WS_BORDER)) | WS_TABSTOP;
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  Params.WindowClass.style = CS_DBLCLKS;
}

void TksListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  if (SkinListBox != nullptr) SkinListBox->ListBoxCreateWnd();
}

void TksListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool widthChanged = AWidth != Width();
  TCustomListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (widthChanged) UpdateColumnWidth();
}

// The system list keeps the column width it was created with.
void TksListBox::UpdateColumnWidth() {
  if (!HandleAllocated() || Columns() < 1) return;
  SendMessageA(Handle(), LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, (Width() + Columns() - 1) / Columns())), 0);
}

TOwnerDrawState TksListBox::GetItemState(int Index) {
  if (Index == ItemIndex()) return odSelected | (Focused() ? odFocused : 0u);
  if (SelCount() > 0 && Selected(Index)) return odSelected;
  return 0;
}

void TksListBox::WndProc(TMessage& Message) {
  if (SkinListBox != nullptr) {
    bool handled = true;
    SkinListBox->ListBoxWProc(Message, handled);
    if (!handled) return;
  }
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      // No frame and no visible bars: the whole window is the list.
      Message.Result = 0;
      return;
    case WM_CHAR:
      if (!AutoComplete) {
        DoKeyPress(Message);
        Message.Result = 0;
        return;
      }
      break;
    default: break;
  }
  TCustomListBox::WndProc(Message);
  if (SkinListBox == nullptr) return;
  switch (Message.Msg) {
    case WM_ERASEBKGND:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT: SkinListBox->UpdateScrollBars(); break;
    case WM_LBUTTONDBLCLK: SkinListBox->ListBoxDblClick(); break;
    case WM_MOUSEWHEEL: WheelFollowUp(Message); break;
    default: break;
  }
}

void TksListBox::WheelFollowUp(const TMessage& Message) {
  const bool away = GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0;
  TksSkinScrollBar* v = SkinListBox->VScrollBar();
  if (v != nullptr && v->Kind() == sbVertical) {
    Perform(WM_VSCROLL, away ? SB_LINEUP : SB_LINEDOWN, 0);
    SkinListBox->UpdateScrollBars();
  } else if (TksSkinScrollBar* h = SkinListBox->HScrollBar(); h != nullptr) {
    h->SetPosition(h->Position() + (away ? -h->SmallChange() : h->SmallChange()));
  }
}

void TksListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_DRAWITEM && SkinListBox != nullptr) {
    DrawItemRequest(Message);
    return;
  }
  TCustomListBox::Dispatch(Message);
}

void TksListBox::DrawItemRequest(TMessage& Message) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  Message.Result = TRUE;
  if (static_cast<int>(item->itemID) < 0) return;
  TCanvasDCBinding binding(*static_cast<TControlCanvas*>(Canvas()), item->hDC);
  Canvas()->Font()->Assign(Font());
  DrawListItem(Canvas(), static_cast<int>(item->itemID), TRect::FromRECT(item->rcItem), item->itemState & 0x3F);
}

void TksListBox::DrawListItem(TCanvas* canvas, int Index, const TRect& R, TOwnerDrawState State) {
  SkinListBox->DrawItem(canvas, Index, R, State, -1, HorizontalOffset);
}

void TksListBox::PaintWindow(HDC DC) {
  if (SkinListBox == nullptr) {
    TCustomListBox::PaintWindow(DC);
    return;
  }
  if (Width() < 1 || Height() < 1) return;
  const int saved = SaveDC(DC);
  {
    TCanvasDCBinding binding(*static_cast<TControlCanvas*>(Canvas()), DC);
    PaintItems(Canvas());
  }
  RestoreDC(DC, saved);
}

// Only the rows from the top index to the window's bottom; in a single column
// the rest below the last item gets the background.
void TksListBox::PaintItems(TCanvas* canvas) {
  const int itemHeight = std::max(1, ItemHeight());
  const int count = Items()->Count();
  const int top = TopIndex();
  const int rows = Height() / itemHeight;
  const int last = std::min(count - 1, top + (Columns() < 1 ? rows : rows * Columns()));
  int bottom = 0;
  for (int i = top; i <= last; ++i) {
    TRect r = ItemRect(i);
    DrawListItem(canvas, i, r, GetItemState(i));
    bottom = r.Bottom;
  }
  if (Columns() >= 1 || bottom >= Height()) return;
  SkinListBox->GetSkinData();
  if (SkinListBox->Skinned()) {
    SkinListBox->PaintBackground(canvas, Width(), Height() - bottom, 0, bottom);
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWindow);
    canvas->FillRect(TRect{0, bottom, Width(), Height()});
  }
}

void TksListBox::WMEraseBkgnd(TMessage& Message) {
  if (SkinListBox == nullptr) {
    TCustomListBox::WMEraseBkgnd(Message);
    return;
  }
  Message.Result = 1;
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (Width() < 1 || Height() < 1 || dc == nullptr) return;
  TCanvasDCBinding binding(*static_cast<TControlCanvas*>(Canvas()), dc);
  SkinListBox->GetSkinData();
  if (SkinListBox->Skinned()) {
    SkinListBox->PaintBackground(Canvas(), Width(), Height(), 0, 0);
  } else {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(TRect{0, 0, Width(), Height()});
  }
}

void TksListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
  TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TksListBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxMouseMove(Shift, X, Y);
  TCustomListBox::MouseMove(Shift, X, Y);
}

void TksListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
  TCustomListBox::MouseUp(Button, Shift, X, Y);
}

void TksListBox::KeyDown(WORD& Key, TShiftState Shift) {
  if (SkinListBox != nullptr) {
    SkinListBox->ListBoxKeyDown(Key, Shift);
    TksSkinScrollBar* h = SkinListBox->HScrollBar();
    if (h != nullptr && (Key == VK_LEFT || Key == VK_RIGHT)) {
      h->SetPosition(h->Position() + (Key == VK_LEFT ? -h->SmallChange() : h->SmallChange()));
      Key = 0;
    }
  }
  TCustomListBox::KeyDown(Key, Shift);
}

void TksListBox::KeyUp(WORD& Key, TShiftState Shift) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxKeyUp(Key, Shift);
  TCustomListBox::KeyUp(Key, Shift);
}

void TksListBox::KeyPress(char& Key) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxKeyPress(Key);
  TCustomListBox::KeyPress(Key);
}

void TksListBox::Click() {
  if (SkinListBox != nullptr) SkinListBox->ListBoxClick();
  TCustomListBox::Click();
}

void TksListBox::CMEnter(TMessage& Message) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxEnter();
  TCustomListBox::CMEnter(Message);
}

void TksListBox::CMExit(TMessage& Message) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxExit();
  TCustomListBox::CMExit(Message);
}
