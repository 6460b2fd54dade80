// TApplication: the hidden application window, the message loop with its
// OnMessage hook, idle processing, mouse enter/leave tracking, hints, deferred
// freeing and the exception and message-box paths.
#pragma once

#include <functional>
#include <vector>

#include "framework/gui/forms.h"
#include "framework/gui/hintwindow.h"
#include "framework/gui/wndproc.h"

using TMessageEvent = TEvent<void(TMsg& Msg, bool& Handled)>;
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;
using TShowHintEvent = TEvent<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// Makes the hint window; replaceable so a skin can draw its own.
using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;

class TApplication : public TComponent, public TWindowTarget {
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;
  void BeforeDestruction() override;

  void Initialize();
  HWND Handle();

  // Builds a form owned by the application; the first one becomes MainForm.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = Construct<T>(this);
    if (mainForm_ == nullptr) mainForm_ = Reference;
  }

  void Run();
  // One message, or idle processing and a wait when there is none.
  void HandleMessage();
  // Every pending message, then the synchronise queue; never waits.
  void ProcessMessages();
  // Takes one message from the queue and handles it; false when there was none.
  bool ProcessMessage(TMsg& Msg);
  void Terminate();
  bool Terminated() const { return terminated_; }

  void Minimize();
  void Restore();

  TCustomForm* MainForm() const { return mainForm_; }
  bool ShowMainForm = true;
  String Title() const { return title_; }
  void SetTitle(const String& value);
  HICON Icon() const { return icon_; }
  String ExeName() const;
  bool Active() const { return active_; }

  // --- hints
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  int HintPause = 500;
  int HintShortPause = 50;
  int HintHidePause = 2500;
  TColor HintColor = clInfoBk;
  THintWindowClass HintWindowClass;
  void CancelHint();
  THintWindow* HintWindow() const { return hintWindow_; }

  // --- exceptions and boxes
  // Call inside a catch block.
  void HandleException(TObject* Sender);
  void ShowException(const Exception& E);
  int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

  // Frees the object once no message of it is being handled.
  void QueueFree(TComponent* AObject);
  void HelpContext(int) {}

  // The control under the pointer, as enter/leave tracking last saw it.
  TControl* MouseControl() const { return mouseControl_; }
  // Re-evaluates the control under the pointer; leave and enter go out on a change.
  void UpdateMouseControl();

  TMessageEvent OnMessage;
  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnHint;

  // --- TWindowTarget
  void WindowAttached(HWND wnd) override { handle_ = wnd; }
  void WindowMessage(TMessage& Message) override { WndProc(Message); }
  void WindowDetached() override { handle_ = nullptr; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void WndProc(TMessage& Message);
  void Idle();
  bool IsKeyMsg(TMsg& Msg);
  void IsHintMsg(const TMsg& Msg);
  void StartHintTimer(int pause);
  void ActivateHint();
  void FreeQueued(TComponent* object);
  void FreeDeferred();

 private:
  HWND handle_ = nullptr;
  TCustomForm* mainForm_ = nullptr;
  String title_;
  HICON icon_ = nullptr;
  bool terminated_ = false;
  bool active_ = false;
  bool showHint_ = true;
  TControl* mouseControl_ = nullptr;
  TControl* hintControl_ = nullptr;
  THintWindow* hintWindow_ = nullptr;
  bool hintActive_ = false;
  std::vector<TComponent*> pendingFree_;
  std::vector<TComponent*> deferredFree_;  // queued, but busy when their turn came
  std::function<void()> previousWake_;
  bool oleStarted_ = false;
};

// Made once by the program (or a test process); null before it and after it.
extern TApplication* Application;
