#include "skin/boxes/ksPopupListBox.h"

#include <algorithm>

#include "framework/gui/application.h"
#include "skin/draw/ksUtils.h"

TksPopupListBox::TksPopupListBox(TComponent* AOwner) : TksSkinListBox(AOwner) {
  SetControlStyle(ControlStyle() | csNoDesignVisible);
  Ctl3D = false;
  ParentCtl3D = false;
  SetVisible(false);
}

void TksPopupListBox::CreateParams(TCreateParams& Params) {
  TksSkinListBox::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsWindowsXP()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TksPopupListBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TksSkinListBox::WndProc(Message);
}

void TksPopupListBox::Show(TPoint Origin) {
  const TksDropDownAlpha alpha = AlphaSource ? AlphaSource() : TksDropDownAlpha{};
  const bool layeredSystem = IsWindowsNT5() && AlphaSource;
  HWND wnd = Handle();
  if (layeredSystem) {
    if (alpha.AlphaBlend != alphaApplied_) {
      const LONG ex = GetWindowLongA(wnd, GWL_EXSTYLE);
      SetWindowLongA(wnd, GWL_EXSTYLE, alpha.AlphaBlend ? (ex | WS_EX_LAYERED) : (ex & ~WS_EX_LAYERED));
      alphaApplied_ = alpha.AlphaBlend;
    }
    if (alpha.AlphaBlend && currentAlpha_ != alpha.AlphaBlendValue) {
      currentAlpha_ = alpha.AlphaBlendAnimation ? 0 : alpha.AlphaBlendValue;
      SetAlphaBlendTransparent(wnd, currentAlpha_);
    }
  }
  SetWindowPos(wnd, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetVisible(true);
  if (layeredSystem && alpha.AlphaBlend && alpha.AlphaBlendAnimation) {
    Application->ProcessMessages();
    // Every animated drop-down starts transparent again: the current opacity stays 0.
    for (int a = 2;; a += 2) {
      const int step = std::min<int>(a, alpha.AlphaBlendValue);
      SetAlphaBlendTransparent(wnd, static_cast<uint8_t>(step));
      if (step >= alpha.AlphaBlendValue) break;
    }
  }
}

void TksPopupListBox::Hide() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SetVisible(false);
}
