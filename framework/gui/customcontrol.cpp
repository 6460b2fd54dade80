#include "framework/gui/customcontrol.h"

#include <algorithm>
#include <vector>

namespace {

// Control canvases holding a DC from GetDC. GUI thread only.
std::vector<TControlCanvas*>& CanvasesWithDC() {
  static std::vector<TControlCanvas*> list;
  return list;
}

}  // namespace

void FreeDeviceContexts() {
  for (TControlCanvas* canvas : std::vector<TControlCanvas*>(CanvasesWithDC())) canvas->FreeHandle();
}

TCanvas& ScreenCanvas() {
  struct Holder {
    Holder() : dc(CreateCompatibleDC(nullptr)) { canvas.SetHandle(dc); }
    ~Holder() {
      canvas.SetHandle(nullptr);
      DeleteDC(dc);
    }
    HDC dc;
    TCanvas canvas;
  };
  static Holder holder;
  return holder.canvas;
}

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* control) {
  if (control_ == control) return;
  FreeHandle();
  control_ = control;
}

void TControlCanvas::FreeHandle() {
  if (dcWindow_ == nullptr) return;
  HDC dc = Handle();
  SetHandle(nullptr);
  ReleaseDC(dcWindow_, dc);
  dcWindow_ = nullptr;
  auto& list = CanvasesWithDC();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::CreateHandle() {
  if (control_ == nullptr) return;
  HWND wnd = nullptr;
  auto* windowed = dynamic_cast<TWinControl*>(control_);
  if (windowed != nullptr) {
    wnd = windowed->Handle();
  } else if (control_->Parent() != nullptr && control_->Parent()->HandleAllocated()) {
    wnd = control_->Parent()->Handle();
  }
  if (wnd == nullptr) return;
  HDC dc = GetDC(wnd);
  if (dc == nullptr) return;
  if (windowed == nullptr) {
    SetWindowOrgEx(dc, -control_->Left(), -control_->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
  }
  dcWindow_ = wnd;
  CanvasesWithDC().push_back(this);
  SetHandle(dc);
}

TCanvasDCBinding::TCanvasDCBinding(TControlCanvas& canvas, HDC dc) : canvas_(canvas) {
  canvas_.Lock();
  canvas_.FreeHandle();
  canvas_.SetHandle(dc);
}

TCanvasDCBinding::~TCanvasDCBinding() {
  canvas_.SetHandle(nullptr);
  canvas_.Unlock();
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
}

namespace {

// Binds the canvas to a paint DC with the control's font for one Paint.
template <class PaintFn>
void PaintOn(TControlCanvas& canvas, HDC dc, TFont& font, PaintFn paint) {
  TCanvasDCBinding binding(canvas, dc);
  canvas.Font()->Assign(&font);
  paint();
}

}  // namespace

TCustomControl::~TCustomControl() { canvas_->FreeHandle(); }

void TCustomControl::PaintWindow(HDC DC) {
  PaintOn(*canvas_, DC, *Font(), [this] { Paint(); });
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() { canvas_->FreeHandle(); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    WMPaint(Message);
    return;
  }
  TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (dc == nullptr) return;
  PaintOn(*canvas_, dc, *Font(), [this] { Paint(); });
}
