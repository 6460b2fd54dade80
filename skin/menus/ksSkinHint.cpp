#include "skin/menus/ksSkinHint.h"

#include <algorithm>
#include <vector>

#include "framework/core/seams.h"
#include "framework/gui/forms.h"
#include "skin/controls/ksSkinFont.h"
#include "skin/draw/ksUtils.h"

namespace {
constexpr DWORD kDropShadow = 0x20000;  // CS_DROPSHADOW
constexpr UINT kTextFlags = DT_NOPREFIX;

// The application's hint-window class while a skinned hint is installed. It
// remembers who installed it and what the application had before any skinned
// hint, so the last one to go can put that back.
struct TksHintWindowClass {
  const TksSkinHint* installer;
  THintWindowClass originalClass;
  TShowHintEvent originalEvent;
  THintWindow* operator()(TComponent* owner) const { return new TksSkinHintWindow(owner); }
};

TksHintWindowClass* InstalledClass() { return Application->HintWindowClass.target<TksHintWindowClass>(); }

// Re-creates the application's hint window with the class now set.
void RenewHintWindow() {
  Application->SetShowHint(!Application->ShowHint());
  Application->SetShowHint(!Application->ShowHint());
}

std::vector<TksSkinHint*> MainFormHints() {
  std::vector<TksSkinHint*> hints;
  TCustomForm* form = Application != nullptr ? Application->MainForm() : nullptr;
  if (form == nullptr) return hints;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* hint = dynamic_cast<TksSkinHint*>(form->Components(i))) hints.push_back(hint);
  return hints;
}
}  // namespace

// ---- the window -----------------------------------------------------------------------

TksSkinHintWindow::TksSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TksSkinHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
  Params.WinClassName = "TksSkinHintWindow";
  if (IsWindowsXP()) Params.WindowClass.style |= kDropShadow;
}

void TksSkinHintWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: return;
  }
  THintWindow::WndProc(Message);
}

void TksSkinHintWindow::BeforeChangeSkinData() {
  skin_ = nullptr;
  HideHint();
}

TksSkinHint* TksSkinHintWindow::FindActiveHint() {
  for (TksSkinHint* hint : MainFormHints())
    if (hint->Active()) return hint;
  return nullptr;
}

void TksSkinHintWindow::PrepareFont(TksSkinHint* hint) {
  if (skin_ != nullptr && hint->UseSkinFont) {
    const TksDataSkinHintWindow& d = skin_->HintWindow;
    AssignSkinFont(&font_, true, d.FontName, d.FontHeight, d.FontStyle, hint->DefaultFont(), skin_);
    font_.SetColor(d.FontColor);
  } else {
    AssignSkinFont(&font_, false, "", 0, 0, hint->DefaultFont(), hint->SkinData());
    if (skin_ != nullptr) font_.SetColor(skin_->HintWindow.FontColor);
  }
}

void TksSkinHintWindow::ActivateHint(TRect Rect, const String& AHint) {
  hint_ = FindActiveHint();
  if (hint_ == nullptr) return;
  skin_ = hint_->UsableSkin();
  PrepareFont(hint_);
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(&font_);
  RECT r{0, 0, 0, 0};
  DrawTextA(measure.Canvas()->Handle(), AHint.c_str(), -1, &r, DT_CALCRECT | kTextFlags);
  textSize_ = TSize{r.right, r.bottom};
  int w = textSize_.cx + 4, h = textSize_.cy + 4;
  if (skin_ != nullptr) {
    const TksDataSkinHintWindow& d = skin_->HintWindow;
    TBitmap* face = skin_->ActivePicture(d.WindowPictureIndex);
    const int pw = face->Width(), ph = face->Height();
    w = std::max(textSize_.cx + d.ClientRect.Left + (pw - d.ClientRect.Right), pw);
    h = std::max(textSize_.cy + d.ClientRect.Top + (ph - d.ClientRect.Bottom), ph);
    const int dw = w - pw, dh = h - ph;
    NewLTPoint = d.LTPoint;
    NewRTPoint = TPoint{d.RTPoint.X + dw, d.RTPoint.Y};
    NewLBPoint = TPoint{d.LBPoint.X, d.LBPoint.Y + dh};
    NewRBPoint = TPoint{d.RBPoint.X + dw, d.RBPoint.Y + dh};
    NewClientRect = TRect{d.ClientRect.Left, d.ClientRect.Top, d.ClientRect.Right + dw, d.ClientRect.Bottom + dh};
  }
  Rect.Right = Rect.Left + w;
  Rect.Bottom = Rect.Top + h;
  const SIZE screen = ScreenSeam().Size();
  if (Rect.Right > screen.cx) Rect = MovedRect(Rect, -(w + 2), 0);
  if (Rect.Bottom > screen.cy) Rect = MovedRect(Rect, 0, -(h + 2));
  SetBounds(Rect.Left, Rect.Top, w, h);
  HWND wnd = Handle();
  if (IsWindowsNT5()) {
    if (hint_->AlphaBlend && !layered_) {
      SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
      layered_ = true;
      alpha_ = -1;
    } else if (!hint_->AlphaBlend && layered_) {
      SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
      layered_ = false;
    }
    if (hint_->AlphaBlend && alpha_ != hint_->AlphaBlendValue) {
      alpha_ = hint_->AlphaBlendValue;
      SetAlphaBlendTransparent(wnd, hint_->AlphaBlendValue);
    }
  }
  // The window owns a region once it has it; we never delete it.
  TBitmap* mask = skin_ != nullptr ? skin_->ActivePicture(skin_->HintWindow.MaskPictureIndex) : nullptr;
  TRegion region;
  if (mask != nullptr) {
    const TksDataSkinHintWindow& d = skin_->HintWindow;
    CreateSkinRegion(region, d.LTPoint, d.RTPoint, d.LBPoint, d.RBPoint, d.ClientRect, NewLTPoint, NewRTPoint,
                     NewLBPoint, NewRBPoint, NewClientRect, mask, w, h);
  }
  SetWindowRgn(wnd, region ? region.release() : nullptr, FALSE);
  SetText(AHint);
  SetWindowPos(wnd, HWND_TOPMOST, Rect.Left, Rect.Top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  visible_ = true;
  Invalidate();
}

void TksSkinHintWindow::HideHint() {
  if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  visible_ = false;
}

void TksSkinHintWindow::Paint() { PaintTo(Canvas()->Handle()); }

void TksSkinHintWindow::PaintTo(HDC dc) {
  const int w = Width(), h = Height();
  if (w < 1 || h < 1) return;
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  const String text = GetText();
  RECT r{2, 2, w - 2, h - 2};
  if (skin_ != nullptr) {
    const TksDataSkinHintWindow& d = skin_->HintWindow;
    TBitmap* face = skin_->ActivePicture(d.WindowPictureIndex);
    CreateSkinImageEx(d.LTPoint, d.RTPoint, d.LBPoint, d.RBPoint, d.ClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                      NewRBPoint, NewClientRect, &b, face, TRect{0, 0, face->Width(), face->Height()}, w, h, true,
                      d.LeftStretch, d.TopStretch, d.RightStretch, d.BottomStretch);
    const int x = NewClientRect.Left + RectWidth(NewClientRect) / 2 - textSize_.cx / 2;
    const int y = NewClientRect.Top + RectHeight(NewClientRect) / 2 - textSize_.cy / 2;
    r = RECT{x, y, x + textSize_.cx, y + textSize_.cy};
  } else {
    c->Brush()->SetColor(clInfoBk);
    c->FillRect(TRect{0, 0, w, h});
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect{0, 0, w, h});
    font_.SetColor(clInfoText);
  }
  c->SetFont(&font_);
  c->Brush()->SetStyle(bsClear);
  SetBkMode(c->Handle(), TRANSPARENT);
  SetTextColor(c->Handle(), static_cast<COLORREF>(ColorToRGB(font_.Color())));
  DrawTextA(c->Handle(), text.c_str(), -1, &r, kTextFlags);
  BitBlt(dc, 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
}

int CursorHeightBelowHotSpot(HCURSOR cursor) {
  ICONINFO info{};
  if (cursor == nullptr || !GetIconInfo(cursor, &info)) return GetSystemMetrics(SM_CYCURSOR);
  BITMAP bm{};
  GetObjectA(info.hbmMask, sizeof bm, &bm);
  const int w = bm.bmWidth, h = bm.bmHeight;
  std::vector<DWORD> px(static_cast<size_t>(w) * static_cast<size_t>(std::max(h, 0)));
  BITMAPINFO bi{};
  bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = GetDC(nullptr);
  const bool read = w > 0 && h > 0 && GetDIBits(dc, info.hbmMask, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS) != 0;
  ReleaseDC(nullptr, dc);
  DeleteObject(info.hbmMask);
  const bool monochrome = info.hbmColor == nullptr;
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (!read) return GetSystemMetrics(SM_CYCURSOR);
  const auto pixel = [&](int x, int y) { return (px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] & 0xFFFFFF) != 0; };
  // The AND mask is clear (black) where the cursor shows; a monochrome cursor's XOR half sits below it.
  const int andRows = monochrome ? h / 2 : h;
  const auto lastRow = [&](int from, int to, bool wanted) {
    for (int y = to - 1; y >= from; --y)
      for (int x = 0; x < w; ++x)
        if (pixel(x, y) == wanted) return y - from;
    return -1;
  };
  int last = lastRow(0, andRows, false);
  if (last < 0 && monochrome) last = lastRow(andRows, h, true);
  if (last < 0) return 0;
  return last + 1 - static_cast<int>(info.yHotspot);
}

// ---- the component ------------------------------------------------------------------

TksSkinHint::TksSkinHint(TComponent* AOwner)
    : TComponent(AOwner), hintWindow_(std::make_unique<TksSkinHintWindow>(nullptr)) {
  if (Application == nullptr) return;
  TksHintWindowClass installed{this, Application->HintWindowClass, Application->OnShowHint};
  if (const TksHintWindowClass* previous = InstalledClass()) {
    installed.originalClass = previous->originalClass;
    installed.originalEvent = previous->originalEvent;
  }
  original_ = installed.originalEvent;
  Application->HintWindowClass = installed;
  RenewHintWindow();
  Application->OnShowHint = Bind<&TksSkinHint::AppShowHint>(this);
  Application->HintShortPause = 100;
}

TksSkinHint::~TksSkinHint() {
  timer_.reset();
  if (Application == nullptr) return;
  // Another skinned hint of the main form takes over what this one installed.
  std::vector<TksSkinHint*> others = MainFormHints();
  std::erase(others, this);
  auto active = std::find_if(others.begin(), others.end(), [](TksSkinHint* h) { return h->Active(); });
  TksSkinHint* heir = active != others.end() ? *active : (others.empty() ? nullptr : others.front());
  if (Application->OnShowHint == Bind<&TksSkinHint::AppShowHint>(this))
    Application->OnShowHint = heir != nullptr ? Bind<&TksSkinHint::AppShowHint>(heir) : original_;
  const TksHintWindowClass* installed = InstalledClass();
  if (installed == nullptr || installed->installer != this) return;
  if (heir != nullptr) {
    TksHintWindowClass kept = *installed;
    kept.installer = heir;
    Application->HintWindowClass = kept;
  } else {
    Application->HintWindowClass = installed->originalClass;
    RenewHintWindow();
  }
}

void TksSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) {
    skinData_ = nullptr;
    hintWindow_->BeforeChangeSkinData();
  }
}

TksSkinData* TksSkinHint::UsableSkin() const {
  if (skinData_ == nullptr || skinData_->Empty || skinData_->HintWindow.WindowPictureIndex == -1) return nullptr;
  TBitmap* face = skinData_->ActivePicture(skinData_->HintWindow.WindowPictureIndex);
  return face != nullptr && face->Width() > 0 && face->Height() > 0 ? skinData_ : nullptr;
}

void TksSkinHint::SetActive(bool value) {
  active_ = value;
  if (!value) return;
  for (TksSkinHint* hint : MainFormHints())
    if (hint != this && hint->Active()) hint->SetActive(false);
  if (Application != nullptr) Application->OnShowHint = Bind<&TksSkinHint::AppShowHint>(this);
}

void TksSkinHint::AppShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo) {
  OnShowHint(HintStr, CanShow, HintInfo);
}

void TksSkinHint::ActivateHint(const String& text) {
  timer_.reset();
  pending_ = text;
  showing_ = false;
  timer_ = std::make_unique<TTimer>(nullptr);
  timer_->SetInterval(static_cast<UINT>(std::max(Application->HintPause, 1)));
  timer_->SetOnTimer(Bind<&TksSkinHint::TimerTick>(this));
}

void TksSkinHint::TimerTick(TObject*) {
  if (showing_) {
    HideHint();
    return;
  }
  ShowAtCursor();
  showing_ = true;
  timer_->SetEnabled(false);
  timer_->SetInterval(static_cast<UINT>(std::max(Application->HintHidePause, 1)));
  timer_->SetEnabled(true);
}

void TksSkinHint::ShowAtCursor() {
  POINT p{};
  if (!Pointer().GetCursorPos(&p)) return;
  p.y += CursorHeightBelowHotSpot(GetCursor());
  hintWindow_->ActivateHint(TRect{p.x, p.y, p.x, p.y}, pending_);
}

void TksSkinHint::HideHint() {
  timer_.reset();
  hintWindow_->HideHint();
}
