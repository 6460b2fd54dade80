#include "framework/gui/tests/gui_test_support.h"

TProbeControl::TProbeControl(TComponent* owner, TWinControl* parent, TRect bounds) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetBoundsRect(bounds);
  if (parent != nullptr) SetParent(parent);
}

int TProbeControl::Count(UINT msg) const {
  int n = 0;
  for (const auto& m : Seen) n += m.Msg == msg ? 1 : 0;
  return n;
}

void TProbeControl::Dispatch(TMessage& Message) {
  Seen.push_back(Message);
  TCustomControl::Dispatch(Message);
}

TSwatch::TSwatch(TComponent* owner, TWinControl* parent, TRect bounds, COLORREF color)
    : TGraphicControl(owner), Fill(color) {
  SetBoundsRect(bounds);
  SetParent(parent);
}

void TSwatch::Paint() {
  HDC dc = Canvas()->Handle();
  RECT r{0, 0, Width(), Height()};
  if (Overdraw) r = RECT{-50, -50, Width() + 50, Height() + 50};
  HBRUSH brush = CreateSolidBrush(Fill);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}
