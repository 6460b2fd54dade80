// TCustomForm and TForm: top-level windows with activation, focus tracking,
// modal showing and closing.
#pragma once

#include <vector>

#include "framework/core/icon.h"
#include "framework/gui/customcontrol.h"
#include "framework/gui/menus.h"

enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                              mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = TEvent<void(TWMKey& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // --- appearance; style changes after creation keep the window
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);  // fixed once the window exists
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  TPosition Position = poDesigned;
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool value);
  BYTE AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(BYTE value);
  // Owned; changing it sends WM_SETICON.
  TIcon* Icon() const { return icon_.get(); }
  void SetIcon(TIcon* value);
  TCanvas* Canvas() { return canvas_.get(); }
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* value);  // null takes the menu bar away
  bool KeyPreview = false;
  bool AutoScroll = false;
  bool AutoSize = false;  // recorded; forms are laid out by their code

  // --- focus
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Gives the control the focus (or remembers it until the form shows).
  void FocusControl(TWinControl* control);
  // Called from WM_SETFOCUS of a control on this form.
  void SetFocusedControl(TWinControl* control);
  // A control leaves the form (or hides): forget it as the focused one.
  void ControlRemoved(TWinControl* control);
  // Focus to the next (or previous) focusable control after CurControl.
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  bool Active() const;

  // --- MDI (the style is fixed before the window exists)
  HWND ClientHandle() const { return clientHandle_; }
  TCustomForm* ActiveMDIChild();
  int MDIChildCount();
  TCustomForm* MDIChildren(int index);
  // The menu whose submenu lists the children; read when the window is made.
  TMenuItem* WindowMenu = nullptr;
  void Cascade();
  void Tile();
  void Next();
  void Previous();
  void DefaultHandler(TMessage& Message) override;
  // The shortcut chain for one key: OnShortCut, then menus.
  virtual bool IsShortCut(TMessage& Message);

  // --- showing and closing
  virtual int ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Modal() const { return modal_; }
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the messages now running have returned.
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnPaint;
  TShortCutEvent OnShortCut;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(HDC DC) override;
  void UpdateShowing() override;
  virtual void Paint();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  DWORD FrameStyle() const;
  DWORD FrameExStyle() const;
  void ApplyFrameStyle();
  void PlaceOnScreen();
  void CloseModal();

  virtual void WMActivate(TMessage& Message);
  virtual void WMClose(TMessage& Message);
  virtual void WMMDIActivate(TMessage& Message);
  virtual void WMSize(TMessage& Message) override;
  virtual void WMSysCommand(TMessage& Message);
  virtual void WMQueryEndSession(TMessage& Message);
  virtual void CMActivate(TMessage& Message);
  virtual void CMDeactivate(TMessage& Message);
  void CMDialogKey(TMessage& Message) override;
  virtual void CMRelease(TMessage& Message);
  virtual void WMCommand(TMessage& Message);
  virtual void WMInitMenuPopup(TMessage& Message);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void IconChanged(TObject* Sender);
  std::vector<TCustomForm*> MDIChildList();

  TBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  bool alphaBlend_ = false;
  BYTE alphaBlendValue_ = 255;
  std::unique_ptr<TIcon> icon_;
  HWND clientHandle_ = nullptr;  // MDICLIENT of an fsMDIForm
  TMainMenu* menu_ = nullptr;
  std::unique_ptr<TControlCanvas> canvas_;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool placed_ = false;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};
