#include "framework/gui/hintwindow.h"

String GetShortHint(const String& Hint) {
  size_t bar = Hint.find('|');
  return bar == String::npos ? Hint : Hint.substr(0, bar);
}

String GetLongHint(const String& Hint) {
  size_t bar = Hint.find('|');
  return bar == String::npos ? Hint : Hint.substr(bar + 1);
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  color_ = clInfoBk;
  parentColor_ = false;
  Font()->SetColor(clInfoText);
  parentFont_ = false;
  visible_ = false;
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = nullptr;
  Params.WindowClass.style = CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint) {
  RECT r{0, 0, MaxWidth, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawTextA(dc, AHint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteDC(dc);
  return Rect(0, 0, r.right + 6, r.bottom + 2);
}

void THintWindow::ActivateHint(TRect Rect, const String& AHint) {
  text_ = AHint;
  visible_ = true;
  HWND wnd = Handle();
  SetWindowTextA(wnd, AHint.c_str());
  SetWindowPos(wnd, HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  RECT rr = r;
  HDC dc = Canvas()->Handle();
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color())));
  FillRect(dc, &rr, brush);
  DeleteObject(brush);
  rr.left += 2;
  rr.top += 1;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawTextA(dc, text_.c_str(), -1, &rr, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
}

void THintWindow::WMNCHitTest(TMessage& Message) { Message.Result = HTTRANSPARENT; }

void THintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    WMNCHitTest(Message);
    return;
  }
  TCustomControl::Dispatch(Message);
}
