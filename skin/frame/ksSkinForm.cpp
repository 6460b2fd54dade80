#include "skin/frame/ksSkinForm.h"

#include <algorithm>

#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "skin/data/ksConst.h"
#include "skin/data/ksSkinMessages.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/draw/ksUtils.h"
#include "skin/frame/ksSkinMDITabsBar.h"
#include "skin/menus/ksSkinHint.h"
#include "skin/menus/ksSkinMainMenuBar.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/menus/ksSkinPopupMenu.h"
#include "skin/menus/ksTrayIcon.h"

namespace {

void InitTimer(TTimer& t, UINT interval, TNotifyEvent tick) {
  t.SetEnabled(false);
  t.SetInterval(interval);
  t.SetOnTimer(tick);
}

void InitCaptionFont(TFont& f, TColor color) {
  f.SetName("Arial");
  f.SetStyle(TFontStyles{fsBold});
  f.SetHeight(14);
  f.SetColor(color);
}

// The window's real size: the form's own fields may lag behind a size the system made.
SIZE WindowSizeOf(TCustomForm* form) {
  RECT r{};
  if (form->HandleAllocated() && GetWindowRect(form->Handle(), &r)) return SIZE{r.right - r.left, r.bottom - r.top};
  return SIZE{form->Width(), form->Height()};
}

TPoint SignedPoint(LPARAM lParam) {
  return TPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

TksSkinForm::TksSkinForm(TComponent* AOwner)
    : TComponent(AOwner),
      form_(dynamic_cast<TCustomForm*>(AOwner)),
      hoverTimer_(nullptr),
      morphTimer_(nullptr),
      animateTimer_(nullptr) {
  if (!form_) throw EInvalidOperation("A skinned frame must be owned by the form it skins");
  InitCaptionFont(defCaptionFont_, clBtnText);
  InitCaptionFont(defInActiveCaptionFont_, clBtnShadow);
  InitTimer(hoverTimer_, 50, Bind<&TksSkinForm::HoverTimerTick>(this));
  InitTimer(morphTimer_, 20, Bind<&TksSkinForm::MorphTimerTick>(this));
  InitTimer(animateTimer_, 25, Bind<&TksSkinForm::AnimateTimerTick>(this));
  form_->SetBorderIcons(TBorderIcons{0});
  form_->AutoSize = false;
  form_->AutoScroll = false;
  form_->OnShortCut = Bind<&TksSkinForm::FormShortCut>(this);
  windowProcHook_ = std::make_unique<TksWindowProcHook>(form_, Bind<&TksSkinForm::NewWndProc>(this));
  ownAppMessage_ = Bind<&TksSkinForm::AppMessageHook>(this);
  sysPopupMenu_ = new TPopupMenu(this);
  trayPopupMenu_ = new TksSkinPopupMenu(this);
  trayPopupMenu_->SetPopupComponentForm(form_);
  CreateTrayMenu();
  skinMenu_ = new TksSkinMenu(this, form_);
  SetMenusAlphaBlendValue(200);
  StripCaption();
}

TksSkinForm::~TksSkinForm() { LeaveForm(); }

// Free() frees the owned components (the menu engine among them) before the
// destructor runs: the frame lets go of the form while they still exist.
void TksSkinForm::BeforeDestruction() {
  LeaveForm();
  TComponent::BeforeDestruction();
}

void TksSkinForm::LeaveForm() {
  if (!windowProcHook_) return;  // done already
  EndMenuMode();
  ReleaseTrayIcon();
  StopTimers();
  windowProcHook_.reset();
  ClearObjects();
  // A deleted form frees its components after its own members: nothing of it is left to undo.
  if (form_->ComponentState() & csDestroying) return;
  if (form_->HandleAllocated()) TimerSeam().KillTimer(form_->Handle(), 1);
  if (form_->OnShortCut == TShortCutEvent(Bind<&TksSkinForm::FormShortCut>(this))) form_->OnShortCut = nullptr;
}

TksSkinForm* TksSkinForm::GetSkinFormComponent(TComponent* form) {
  if (!form) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* frame = dynamic_cast<TksSkinForm*>(form->Components(i))) return frame;
  return nullptr;
}

void TksSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == menusSkinData_) menusSkinData_ = nullptr;
  if (AComponent == systemMenu_) systemMenu_ = nullptr;
  if (AComponent == trayIcon_) trayIcon_ = nullptr;
  if (AComponent == skinHint_) skinHint_ = nullptr;
  if (AComponent == mainMenuBar_) mainMenuBar_ = nullptr;
  if (AComponent == mdiTabsBar_) mdiTabsBar_ = nullptr;
  if (AComponent == skinData_) {
    // The objects point into the skin's pictures: they go with it.
    skinData_ = nullptr;
    skinnable_ = false;
    ClearObjects();
  }
}

// ---- window style ------------------------------------------------------------------

void TksSkinForm::StripCaption() {
  if (!form_->HandleAllocated()) return;
  HWND h = form_->Handle();
  const LONG style = GetWindowLongA(h, GWL_STYLE);
  if ((style & WS_CAPTION) == 0) return;
  SetWindowLongA(h, GWL_STYLE, style & ~static_cast<LONG>(WS_CAPTION));
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The form's own style code writes the caption back and drops the layered bit;
// the frame owns both.
void TksSkinForm::FilterStyleChange(TMessage& m) {
  auto* ss = reinterpret_cast<STYLESTRUCT*>(m.LParam);
  const int which = static_cast<int>(m.WParam);
  if (which == GWL_STYLE)
    ss->styleNew &= ~static_cast<DWORD>(WS_CAPTION);
  else if (which == GWL_EXSTYLE && !changingExStyle_)
    ss->styleNew = (ss->styleNew & ~static_cast<DWORD>(WS_EX_LAYERED)) | (ss->styleOld & WS_EX_LAYERED);
}

void TksSkinForm::SetExStyle(DWORD set, DWORD clear) {
  if (!form_->HandleAllocated()) return;
  HWND h = form_->Handle();
  const DWORD old = static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE));
  const DWORD now = (old | set) & ~clear;
  if (now == old) return;
  changingExStyle_ = true;
  SetWindowLongA(h, GWL_EXSTYLE, static_cast<LONG>(now));
  changingExStyle_ = false;
}

// ---- properties ----------------------------------------------------------------------

void TksSkinForm::LinkSkin(TksSkinData*& link, TksSkinData* value) {
  SetComponentReference(this, link, value);
  if (skinData_) skinData_->FreeNotification(this);
  if (menusSkinData_) menusSkinData_->FreeNotification(this);
}

void TksSkinForm::SetSkinData(TksSkinData* value) {
  LinkSkin(skinData_, value);
  trayPopupMenu_->SetSkinData(value);
  ChangeSkinData();
}

void TksSkinForm::SetMenusSkinData(TksSkinData* value) { LinkSkin(menusSkinData_, value); }

void TksSkinForm::SetBorderIcons(TksBorderIcons value) {
  borderIcons_ = value;
  // The skin's own objects stay the skin's; icons added back come back enabled.
  if (skinnable_)
    CreateSkinObjects();
  else
    CreateDefaultButtons();
  CheckObjectsVisibility();
  if (skinnable_) {
    CalcNewRects();
    CalcObjectRects();
  }
  RepaintFrame();
}

void TksSkinForm::SetShowIcon(bool value) {
  showIcon_ = value;
  RepaintFrame();
}

void TksSkinForm::SetDefCaptionFont(TFont* value) {
  defCaptionFont_.Assign(value);
  if (!skinnable_) RepaintFrame();
}

void TksSkinForm::SetDefInActiveCaptionFont(TFont* value) {
  defInActiveCaptionFont_.Assign(value);
  if (!skinnable_) RepaintFrame();
}

void TksSkinForm::SetAlphaBlend(bool value) {
  if (alphaBlend_ == value) return;
  alphaBlend_ = value;
  if (!form_->HandleAllocated() || !IsWindowsNT5()) return;
  if (value) {
    SetExStyle(WS_EX_LAYERED, 0);
    SetAlphaBlendTransparent(form_->Handle(), alphaBlendValue_);
  } else {
    SetExStyle(0, WS_EX_LAYERED);
  }
}

void TksSkinForm::SetAlphaBlendValue(BYTE value) {
  if (alphaBlendValue_ == value) return;
  alphaBlendValue_ = value;
  if (alphaBlend_ && form_->HandleAllocated() && IsWindowsNT5())
    SetAlphaBlendTransparent(form_->Handle(), value);
}

// ---- fade-in -----------------------------------------------------------------------

void TksSkinForm::ShowFade(bool show) {
  if (!form_->HandleAllocated() || !IsWindowsNT5()) return;
  HWND h = form_->Handle();
  if (!show) {
    if (alphaBlend_) SetExStyle(0, WS_EX_LAYERED);
    return;
  }
  if (!alphaBlend_ && !AlphaBlendAnimation) return;
  SetExStyle(WS_EX_LAYERED, 0);
  SetAlphaBlendTransparent(h, 0);
  TimerSeam().SetTimer(h, 1, 1, nullptr);
}

void TksSkinForm::FadeTick() {
  if (!form_->HandleAllocated() || !IsWindowsNT5() || (!alphaBlend_ && !AlphaBlendAnimation)) return;
  HWND h = form_->Handle();
  TimerSeam().KillTimer(h, 1);
  const int target = alphaBlend_ ? alphaBlendValue_ : 255;
  if (AlphaBlendAnimation) {
    Application->ProcessMessages();
    // The steps follow each other without a pause. Where each is a slow trip to the
    // window system (Wine on X, a busy machine) the fade still ends within a few frames.
    constexpr DWORD kLongestFade = 50;
    const DWORD start = Clock().TickCount();
    for (int a = 5;; a += 5) {
      const int v = Clock().TickCount() - start >= kLongestFade ? target : std::min(a, target);
      SetAlphaBlendTransparent(h, static_cast<uint8_t>(v));
      if (v >= target) break;
    }
  } else if (target != 255) {
    SetAlphaBlendTransparent(h, static_cast<uint8_t>(target));
  }
  if (target == 255) SetExStyle(0, WS_EX_LAYERED);
}

// ---- window procedure ------------------------------------------------------------

void TksSkinForm::NewWndProc(TMessage& m) {
  CheckMenuClose(m);
  if (!HandleMessage(m)) CallOld(m);
  RouteMouse(m);
}

// Runs the frame's part of a message, calling the previous procedure itself where
// it must run first; true when nothing is left for it.
bool TksSkinForm::HandleMessage(TMessage& m) {
  auto* sender = reinterpret_cast<TksSkinData*>(m.WParam);  // compared, never followed
  if (IsMDIChild() || IsMDIForm())
    if (const std::optional<bool> done = HandleMDIMessage(m)) return *done;
  switch (m.Msg) {
    case WM_CREATE:
      CallOld(m);
      StripCaption();
      return true;
    case WM_STYLECHANGING:
      FilterStyleChange(m);
      return false;
    case WM_DESTROY:
      StopTimers();
      return false;
    case WM_SIZE:
      WMSize(m);
      return true;
    case WM_ACTIVATE:
      CallOld(m);
      RepaintFrame();
      ResetObjects();
      UpdateActiveState(true);
      return true;
    case WM_SETTEXT:
      CallOld(m);
      if (form_->BorderStyle() != bsNone) RepaintFrame();
      return true;
    case WM_ERASEBKGND: {
      TCanvas canvas;
      canvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
      PaintClientBackground(&canvas);
      canvas.SetHandle(nullptr);
      m.Result = 1;
      return true;
    }
    case WM_SHOWWINDOW:
      ShowFade(m.WParam != 0);
      if (m.WParam != 0) {
        UpdateFrameSize();
        // The system's menu bar has no place in a skinned frame.
        if (form_->Menu()) form_->SetMenu(nullptr);
      }
      return false;
    case WM_GETMINMAXINFO: {
      CallOld(m);
      auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
      info->ptMinTrackSize = POINT{GetMinWidth(), GetMinHeight()};
      info->ptMaxTrackSize = POINT{GetMaxWidth(), GetMaxHeight()};
      return true;
    }
    case WM_NCCALCSIZE:
      WMNCCalcSize(m);
      return true;
    case WM_NCHITTEST:
      WMNCHitTest(m);
      return true;
    case WM_NCPAINT:
      WMNCPaint();
      m.Result = 0;
      return true;
    case WM_NCACTIVATE:
      formActive_ = m.WParam != 0;
      m.Result = 1;
      if (form_->BorderStyle() == bsNone) {
        UpdateActiveState(false);
      } else {
        RepaintFrame();
        UpdateActiveState(true);
      }
      return true;
    case WM_SYNCPAINT:
      if (!rollUpState_) return false;
      RepaintFrame();
      m.Result = 0;
      return true;
    case WM_SYSCOMMAND:
      // No system menu bar: the caption is the frame's. An open chain closes;
      // its WM_SKINMENUCLOSED ends menu mode.
      if ((m.WParam & 0xFFF0) != SC_KEYMENU) return false;
      if (inMainMenu_) {
        MainMenuExit();
        return true;
      }
      if (skinMenu_->Visible()) skinMenu_->CloseMenu();
      if (mainMenuBar_) mainMenuBar_->StartMenuMode();
      return true;
    case WM_SKINMENUCLOSED:
      SkinMenuClose();
      return false;
    case WM_TIMER:
      if (m.WParam == 1) FadeTick();
      return false;
    case WM_SIZING:
      if (inSizeMove_ && fullDrag_) {
        CallOld(m);
        const auto* r = reinterpret_cast<const RECT*>(m.LParam);
        FormWidth = r->right - r->left;
        FormHeight = r->bottom - r->top;
        if (skinData_ && GetMinWidth() <= FormWidth && GetMinHeight() <= FormHeight) UpdateSkinFrame(true);
        return true;
      }
      return false;
    case WM_MOVING:
      WMMoving(m);
      return false;
    case WM_ENTERSIZEMOVE:
      ResetObjects();
      hoverTimer_.SetEnabled(false);
      activeObject_ = captureObject_ = -1;
      inSizeMove_ = true;
      fullDrag_ = KsSystemSeam().DragFullWindows();
      return false;
    case WM_EXITSIZEMOVE:
      hoverTimer_.SetEnabled(false);
      activeObject_ = oldActiveObject_ = captureObject_ = -1;
      if (skinnable_) RepaintFrame();
      return false;
    case WM_BEFORECHANGESKINDATA:
      // Menu levels have no parent, so no walk reaches them: an open chain drawing
      // from the container goes before the container drops what it points into.
      if (sender && skinMenu_->SkinData() == sender) skinMenu_->BeforeChangeSkinData();
      if (sender == skinData_ && skinData_) {
        BeforeChangeSkinData();
        BeforeChangeControlsSkinData(sender, form_);
      }
      return false;
    case WM_CHANGESKINDATA:
      if (sender == skinData_ && skinData_) ChangeSkinData();
      ChangeControlsSkinData(sender, form_);
      return false;
    case WM_CHANGERESOURCESTRDATA:
      ChangeResStrings();
      return false;
    default:
      return false;
  }
}

void TksSkinForm::RouteMouse(TMessage& m) {
  const bool caption = m.WParam == HTCAPTION;
  auto point = [&] { return PointToNCPoint(SignedPoint(m.LParam)); };
  switch (m.Msg) {
    case WM_NCMOUSEMOVE: {
      TPoint p = point();
      MouseMoveToObject(p.X, p.Y);
      break;
    }
    case WM_NCLBUTTONDOWN:
      // After a system move or size loop (run by the previous procedure) the press is spent.
      if (inSizeMove_) {
        inSizeMove_ = false;
        break;
      }
      [[fallthrough]];
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: {
      TPoint p = point();
      TestActive(p.X, p.Y, true);
      MouseDownToObject(m.Msg == WM_NCLBUTTONDOWN ? mbLeft : mbRight, p.X, p.Y);
      if (caption) captureObject_ = -1;
      if (caption && m.Msg == WM_NCRBUTTONDOWN) {
        POINT at{};
        Pointer().GetCursorPos(&at);
        PopupSystemMenuAt(at.x, at.y);
      }
      break;
    }
    case WM_NCLBUTTONDBLCLK: {
      TPoint p = point();
      TestActive(p.X, p.Y, true);
      MouseDownToObject(mbLeft, p.X, p.Y);
      MouseDblClickToObject();
      if (caption) {
        CaptionDblClick();
        captureObject_ = -1;
      }
      break;
    }
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP: {
      TPoint p = point();
      MouseUpToObject(m.Msg == WM_NCLBUTTONUP ? mbLeft : mbRight, p.X, p.Y);
      break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      MouseUpToObject(m.Msg == WM_LBUTTONUP ? mbLeft : mbRight, -1, -1);
      break;
    default:
      break;
  }
}

void TksSkinForm::WMSize(TMessage& m) {
  // An MDI main form's logo is on its client window, which repaints itself.
  const bool logo = !logoBitMap_.Empty() && !IsMDIForm();
  if (inSizeMove_ && fullDrag_) {
    if (logo) form_->Invalidate();
    CallOld(m);
    return;
  }
  CallOld(m);
  const SIZE size = WindowSizeOf(form_);
  FormWidth = size.cx;
  FormHeight = size.cy;
  if (!skinnable_)
    RepaintFrame();
  else if (GetMinWidth() <= FormWidth && GetMinHeight() <= FormHeight)
    UpdateSkinFrame(true);
  if (alphaBlend_ && alphaBlendValue_ < 255 && IsWindowsNT5()) {
    RepaintFrame();
    form_->Invalidate();
  }
  if (logo) form_->Invalidate();
}

void TksSkinForm::WMNCCalcSize(TMessage& m) {
  m.Result = 0;
  if (form_->BorderStyle() == bsNone) return;
  auto* r = reinterpret_cast<RECT*>(m.LParam);
  if (!skinnable_) {
    const int ch = GetDefCaptionHeight();
    r->left += 3;
    r->top += ch + 3;
    r->right -= 3;
    r->bottom -= 3;
  } else {
    CalcNewRects();
    const TRect& cl = skinData_->ClientRect;
    r->left += cl.Left;
    r->top += cl.Top;
    r->right -= skinData_->Picture.Width() - cl.Right;
    r->bottom -= skinData_->Picture.Height() - cl.Bottom;
  }
  r->right = std::max(r->right, r->left);
  r->bottom = std::max(r->bottom, r->top);
}

void TksSkinForm::WMNCHitTest(TMessage& m) {
  const TPoint p = PointToNCPoint(SignedPoint(m.LParam));
  m.Result = skinnable_ ? HitTestSkin(p) : HitTestDefault(p);
  if (!hoverTimer_.Enabled() && m.Result == HTOBJECT) {
    TestActive(p.X, p.Y, true);
    hoverTimer_.SetEnabled(true);
  }
}

void TksSkinForm::WMNCPaint() {
  if (form_->BorderStyle() == bsNone || !form_->HandleAllocated()) return;
  // A window off the screen shows no frame, and one being hidden hears twice that it lost
  // the activation: composing the frame each time cost the hiding tens of milliseconds.
  // Showing the window paints its frame again.
  if (!IsWindowVisible(form_->Handle())) return;
  TBitmap picture;
  ComposeNonClient(picture);
  if (picture.Empty()) return;
  HWND h = form_->Handle();
  HDC dc = GetWindowDC(h);
  if (!dc) return;
  const TRect client = skinnable_ ? NewClRect
                                  : TRect{3, GetDefCaptionHeight() + 3, FormWidth - 3, FormHeight - 3};
  if (client.Bottom > client.Top && client.Right > client.Left)
    ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
  BitBlt(dc, 0, 0, picture.Width(), picture.Height(), picture.Canvas()->Handle(), 0, 0, SRCCOPY);
  ReleaseDC(h, dc);
}

void TksSkinForm::WMMoving(TMessage& m) {
  auto* r = reinterpret_cast<RECT*>(m.LParam);
  // A maximized MDI child moves with its main form's client area.
  if (windowState_ == kwsMaximized && !IsMDIChild()) {
    *r = form_->BoundsRect();
  } else if (Magnetic) {
    int x = r->left, y = r->top;
    const int w = r->right - r->left, h = r->bottom - r->top;
    MagneticPosition(x, y, w, h);
    *r = RECT{x, y, x + w, y + h};
  }
}

void TksSkinForm::RepaintFrame() {
  if (form_->HandleAllocated()) SendMessageA(form_->Handle(), WM_NCPAINT, 1, 0);
}

void TksSkinForm::StopTimers() {
  hoverTimer_.SetEnabled(false);
  morphTimer_.SetEnabled(false);
  animateTimer_.SetEnabled(false);
}

// ---- skin change -----------------------------------------------------------------------

void TksSkinForm::BeforeChangeSkinData() {
  skinnable_ = false;
  StopTimers();
  ClearObjects();
}

void TksSkinForm::ChangeSkinData() {
  activeObject_ = oldActiveObject_ = captureObject_ = -1;
  skinnable_ = skinData_ && !skinData_->Empty;
  if (skinnable_) {
    CreateSkinObjects();
    CheckObjectsVisibility();
  } else {
    ClearObjects();
    SetFormRegion(true);
  }
  const int minW = GetMinWidth(), minH = GetMinHeight();
  const int w = form_->Width(), h = form_->Height();
  if (minW > w && minH > h)
    form_->SetBounds(form_->Left(), form_->Top(), minW, minH);
  else if (minH > h)
    form_->SetHeight(minH);
  else if (minW > w)
    form_->SetWidth(minW);
  else
    UpdateFrameSize();
  if ((rollUpState_ || windowState_ == kwsMinimized) && form_->Height() != minH) form_->SetHeight(minH);
  if (windowState_ == kwsMinimized && form_->Width() != minW) form_->SetWidth(minW);
  FormWidth = form_->Width();
  FormHeight = form_->Height();
  if (skinnable_) UpdateSkinFrame(true);
  RepaintFrame();
  if (IsMDIForm() && form_->ClientHandle()) {
    RedrawWindow(form_->ClientHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    UpdateMDIChildren();
  } else if (form_->HandleAllocated()) {
    InvalidateRect(form_->Handle(), nullptr, TRUE);
  }
  UpdateActiveState(!IsMaximizedMDIChild());
  hoverTimer_.SetEnabled(true);
  if (OnChangeSkinData) OnChangeSkinData(this);
  // A minimized or rolled-up form keeps the frame's size; its client size returns with it.
  if (windowState_ != kwsNormal || rollUpState_) return;
  if (ClientWidth > 0) form_->SetClientWidth(ClientWidth);
  if (ClientHeight > 0) form_->SetClientHeight(ClientHeight);
}

namespace {

// The children of `parent` as they stand now; a child that leaves the list while
// an earlier one is handled is skipped when its turn comes.
template <class F>
void EachChild(TWinControl* parent, F f) {
  std::vector<TControl*> children;
  for (int i = 0; i < parent->ControlCount(); ++i) children.push_back(parent->Controls(i));
  for (TControl* c : children) {
    bool present = false;
    for (int i = 0; i < parent->ControlCount() && !present; ++i) present = parent->Controls(i) == c;
    if (present) f(c);
  }
}

IksSkinChange* Follower(TksSkinData* sender, TControl* control) {
  auto* s = dynamic_cast<IksSkinChange*>(control);
  return s && (sender == nullptr || s->SkinData() == sender) ? s : nullptr;
}

}  // namespace

void TksSkinForm::BeforeChangeControlsSkinData(TksSkinData* sender, TControl* control) {
  if (auto* s = Follower(sender, control)) s->BeforeChangeSkinData();
  if (auto* parent = dynamic_cast<TWinControl*>(control))
    EachChild(parent, [&](TControl* c) { BeforeChangeControlsSkinData(sender, c); });
}

void TksSkinForm::ChangeControlsSkinData(TksSkinData* sender, TControl* control) {
  if (auto* s = Follower(sender, control)) s->ChangeSkinData();
  if (auto* parent = dynamic_cast<TWinControl*>(control))
    EachChild(parent, [&](TControl* c) { ChangeControlsSkinData(sender, c); });
}

void TksSkinForm::ChangeResStrings() {
  if (!UseDefaultObjectHint || !skinData_ || objects_.empty()) return;
  static constexpr const char* kHintNames[] = {"CLOSEBUTTON_HINT", "MAXBUTTON_HINT", "MINBUTTON_HINT",
                                               "MENUBUTTON_HINT", nullptr, "ROLLUPBUTTON_HINT",
                                               "TRAYBUTTON_HINT"};
  for (auto& o : objects_) {
    TksStdButtonCommand command;
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o.get()))
      command = b->Command;
    else if (auto* a = dynamic_cast<TksSkinAnimateObject*>(o.get()))
      command = a->Command;
    else
      continue;
    if (const char* name = kHintNames[command]) o->Hint = KsResText(skinData_, name);
  }
}

// ---- objects -------------------------------------------------------------------------

void TksSkinForm::ClearObjects() {
  objects_.clear();
  ++objectsVersion_;
  activeObject_ = oldActiveObject_ = captureObject_ = -1;
}

void TksSkinForm::CreateSkinObjects() {
  ClearObjects();
  if (!skinData_) return;
  for (const auto& d : skinData_->ObjectList) {
    TksDataSkinObject* p = d.get();
    std::unique_ptr<TksActiveSkinObject> o;
    if (dynamic_cast<TksDataSkinMenuItem*>(p) || dynamic_cast<TksDataSkinMainMenuItem*>(p) ||
        dynamic_cast<TksDataSkinMainMenuBarButton*>(p))
      continue;
    if (auto* s = dynamic_cast<TksDataSkinStdButton*>(p))
      o = std::make_unique<TksSkinStdButtonObject>(this, s, s->Command);
    else if (auto* b = dynamic_cast<TksDataSkinButton*>(p))
      o = std::make_unique<TksSkinButtonObject>(this, b);
    else if (auto* c = dynamic_cast<TksDataSkinCaption*>(p))
      o = std::make_unique<TksSkinCaptionObject>(this, c);
    else if (auto* a = dynamic_cast<TksDataSkinAnimate*>(p))
      o = std::make_unique<TksSkinAnimateObject>(this, a);
    else if (dynamic_cast<TksDataUserObject*>(p))
      o = std::make_unique<TksUserObject>(this, p);
    if (o) objects_.push_back(std::move(o));
  }
}

void TksSkinForm::CreateDefaultButtons() {
  ClearObjects();
  static constexpr struct {
    const char* Name;
    TksStdButtonCommand Command;
  } kButtons[] = {{"closebutton", cmClose},   {"maxbutton", cmMaximize},       {"minbutton", cmMinimize},
                  {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray}};
  for (const auto& b : kButtons) {
    auto o = std::make_unique<TksSkinStdButtonObject>(this, nullptr, b.Command);
    o->IDName = b.Name;
    objects_.push_back(std::move(o));
  }
  CheckObjectsVisibility();
}

void TksSkinForm::CheckObjectsVisibility() {
  auto iconOf = [](TksStdButtonCommand c, TksBorderIcon& icon) {
    switch (c) {
      case cmMinimize: icon = TksBorderIcon::Minimize; return true;
      case cmMaximize: icon = TksBorderIcon::Maximize; return true;
      case cmRollUp: icon = TksBorderIcon::RollUp; return true;
      case cmMinimizeToTray: icon = TksBorderIcon::MinimizeToTray; return true;
      case cmSysMenu: icon = TksBorderIcon::SystemMenu; return true;
      default: return false;
    }
  };
  for (auto& o : objects_) {
    TksStdButtonCommand command;
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o.get()))
      command = b->Command;
    else if (auto* a = dynamic_cast<TksSkinAnimateObject*>(o.get()); a && (a->ButtonStyle || HideCaptionButtons))
      command = a->Command;
    else
      continue;
    auto disable = [&] {
      o->Enabled = false;
      o->Visible = !o->SkinRectInAPicture;
    };
    TksBorderIcon icon;
    if (HideCaptionButtons) {
      disable();
    } else if (command == cmDefault) {
      bool visible = false;
      if (OnActivateCustomObject) OnActivateCustomObject(o->IDName, visible);
      o->Visible = visible;
    } else if (iconOf(command, icon) && !borderIcons_.Contains(icon)) {
      disable();
    }
  }
  ChangeResStrings();
}

void TksSkinForm::ResetObjects() {
  for (auto& o : objects_) {
    if (auto* a = dynamic_cast<TksSkinAnimateObject*>(o.get())) {
      a->Active = a->ActiveState = false;
      a->Frame = 1;
    } else if (!dynamic_cast<TksSkinCaptionObject*>(o.get())) {
      o->ActiveState = o->Active = false;
      o->SetMorphSteps(0);
    }
  }
}

void TksSkinForm::UpdateActiveState(bool redraw) {
  const bool a = GetFormActive();
  for (auto& o : objects_) {
    if (!dynamic_cast<TksSkinCaptionObject*>(o.get()) || o->ActiveState == a) continue;
    o->ActiveState = a;
    if (redraw) {
      RepaintFrame();
      if (o->Morphing) StartMorph();
    } else if (o->Morphing) {
      o->SetMorphSteps(a ? 5 : 0);
    }
    break;
  }
  if (!a && OnDeActivate) OnDeActivate(this);
  if (a && OnActivate) OnActivate(this);
}

void TksSkinForm::DrawSkinObject(TksActiveSkinObject* object) {
  if (form_->BorderStyle() == bsNone || !form_->HandleAllocated() || IsNullRect(object->ObjectRect) ||
      IsMaximizedMDIChild())
    return;
  TBitmap picture;
  ComposeNonClient(picture);
  if (picture.Empty()) return;
  HWND h = form_->Handle();
  HDC dc = GetWindowDC(h);
  if (!dc) return;
  const TRect& r = object->ObjectRect;
  BitBlt(dc, r.Left, r.Top, RectWidth(r), RectHeight(r), picture.Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
  ReleaseDC(h, dc);
}

// ---- mouse routing -------------------------------------------------------------------

void TksSkinForm::TestActive(int x, int y, bool inFrame) {
  if (objects_.empty() || !GetFormActive()) return;
  oldActiveObject_ = activeObject_;
  int found = -1;
  if (inFrame) {
    for (size_t i = 0; i < objects_.size(); ++i) {
      const auto& o = objects_[i];
      if (o->Enabled && o->Visible && o->ObjectRect.Contains(TPoint{x, y})) {
        found = static_cast<int>(i);
        break;
      }
    }
  }
  if (captureObject_ != -1 && found != captureObject_) found = -1;
  activeObject_ = found;
  if (activeObject_ == oldActiveObject_) return;
  auto usable = [&](int i) {
    return i >= 0 && i < static_cast<int>(objects_.size()) && objects_[static_cast<size_t>(i)]->Enabled &&
           objects_[static_cast<size_t>(i)]->Visible;
  };
  if (usable(oldActiveObject_)) {
    objects_[static_cast<size_t>(oldActiveObject_)]->MouseLeave();
    ObjectHint(oldActiveObject_, false);
  }
  if (usable(activeObject_)) {
    objects_[static_cast<size_t>(activeObject_)]->MouseEnter();
    ObjectHint(activeObject_, true);
  }
}

// Follows the pointer while it may be on one of the frame's objects. With none lit and none
// held it stops: a hit test on an object starts it again, and a form that is not in use
// wakes nobody twenty times a second.
void TksSkinForm::HoverTimerTick(TObject*) {
  if (!GetFormActive()) {
    StopHoverWhenIdle();
    return;
  }
  if (inSizeMove_) {
    hoverTimer_.SetEnabled(false);
    return;
  }
  POINT cursor{};
  Pointer().GetCursorPos(&cursor);
  const TPoint p = PointToNCPoint(TPoint{cursor.x, cursor.y});
  const TRect client = skinnable_ ? NewClRect : TRect{3, GetDefCaptionHeight() + 3, FormWidth - 3, FormHeight - 3};
  if (client.Contains(p)) {
    if (activeObject_ != -1) TestActive(-1, -1, true);
  } else {
    TestActive(p.X, p.Y, true);
  }
  StopHoverWhenIdle();
}

void TksSkinForm::StopHoverWhenIdle() {
  if (activeObject_ == -1 && captureObject_ == -1) hoverTimer_.SetEnabled(false);
}

void TksSkinForm::MorphTimerTick(TObject*) {
  bool any = false;
  // A morph step may repaint, never add or drop objects.
  for (auto& o : objects_)
    if (o->Morphing && o->CanMorph()) {
      o->DoMorph();
      any = true;
    }
  if (!any) morphTimer_.SetEnabled(false);
}

void TksSkinForm::AnimateTimerTick(TObject*) {
  bool any = false;
  for (auto& o : objects_)
    if (auto* a = dynamic_cast<TksSkinAnimateObject*>(o.get()); a && a->ActiveState) {
      a->DoAnimate();
      any = true;
    }
  if (!any) animateTimer_.SetEnabled(false);
}

void TksSkinForm::MouseMoveToObject(int x, int y) {
  const int i = captureObject_ != -1 ? captureObject_ : activeObject_;
  if (i >= 0 && i < static_cast<int>(objects_.size())) objects_[static_cast<size_t>(i)]->MouseMove(x, y);
}

void TksSkinForm::MouseDownToObject(TMouseButton button, int x, int y) {
  if (activeObject_ < 0 || activeObject_ >= static_cast<int>(objects_.size())) return;
  TksActiveSkinObject* o = objects_[static_cast<size_t>(activeObject_)].get();
  if (!dynamic_cast<TksSkinCaptionObject*>(o) && form_->HandleAllocated()) SetCapture(form_->Handle());
  captureObject_ = activeObject_;
  o->MouseDown(x, y, button);
}

void TksSkinForm::MouseUpToObject(TMouseButton button, int x, int y) {
  if (captureObject_ < 0 || captureObject_ >= static_cast<int>(objects_.size())) return;
  TksActiveSkinObject* o = objects_[static_cast<size_t>(captureObject_)].get();
  if (!dynamic_cast<TksSkinCaptionObject*>(o)) ReleaseCapture();
  captureObject_ = -1;
  // The command may close or free the form; nothing of this frame is touched after it.
  o->MouseUp(x, y, button);
}

void TksSkinForm::MouseDblClickToObject() {
  if (activeObject_ >= 0 && activeObject_ < static_cast<int>(objects_.size()))
    objects_[static_cast<size_t>(activeObject_)]->DblClick();
}


// ---- icon ----------------------------------------------------------------------------

SIZE TksSkinForm::GetSmallIconSize() {
  SIZE s{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
  if (s.cx == 0) s.cx = GetSystemMetrics(SM_CXSIZE);
  if (s.cy == 0) s.cy = GetSystemMetrics(SM_CYSIZE);
  return s;
}

HICON TksSkinForm::FormIcon() {
  if (formIcon_) return formIcon_->Handle();
  formIcon_ = std::make_unique<TIcon>();
  HICON source = form_->Icon() ? form_->Icon()->Handle() : nullptr;
  if (!source && Application) source = Application->Icon();
  // A shared system icon: copied, never destroyed.
  if (!source) source = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  const SIZE s = GetSmallIconSize();
  if (source)
    formIcon_->SetHandle(static_cast<HICON>(CopyImage(source, IMAGE_ICON, s.cx, s.cy, LR_COPYFROMRESOURCE)));
  return formIcon_->Handle();
}

void TksSkinForm::DrawFormIcon(TCanvas* canvas, int x, int y) {
  if (HICON icon = FormIcon()) DrawIconEx(canvas->Handle(), x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
