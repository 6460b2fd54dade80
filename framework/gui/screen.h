// TScreen: the forms in creation order, the active form and control, and the
// screen's size, monitors and cursor as the screen seam reports them.
#pragma once

#include <vector>

#include "framework/core/seams.h"
#include "framework/gui/control.h"

class TCustomForm;
class TWinControl;

struct TMonitor {
  HMONITOR Handle = nullptr;
  TRect BoundsRect;
  TRect WorkareaRect;
  bool Primary = false;
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  TCustomForm* ActiveForm() const { return activeForm_; }
  TWinControl* ActiveControl() const { return activeControl_; }

  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int MonitorCount() const;
  TMonitor Monitors(int index) const;
  // The monitor nearest to the window; the primary one when there is no window.
  TMonitor MonitorFromWindow(HWND wnd) const;

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  HCURSOR Cursors(TCursor index) const { return CursorHandle(index); }

  // Bookkeeping for forms.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  // The activation tracker: the old form gets CM_DEACTIVATE, the new CM_ACTIVATE.
  void SetActiveForm(TCustomForm* form);
  void SetActiveControl(TWinControl* control) { activeControl_ = control; }

 private:
  std::vector<TMonitorInfo> MonitorList() const;

  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TCursor cursor_ = crDefault;
};

// Made by the application; null before it and after it.
extern TScreen* Screen;
