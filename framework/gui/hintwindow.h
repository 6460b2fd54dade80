// THintWindow: the small topmost window that shows a control's hint.
#pragma once

#include "framework/gui/customcontrol.h"

struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;  // screen
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // in the control's client coordinates
  TPoint CursorPos;  // in the control's client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  String HintStr;
};

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);

  // Shows the text in the screen rectangle.
  virtual void ActivateHint(TRect Rect, const String& AHint);
  // The size the text needs, at most MaxWidth wide, at (0, 0).
  virtual TRect CalcHintRect(int MaxWidth, const String& AHint);
  void ReleaseHandle() { DestroyHandle(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WMNCHitTest(TMessage& Message);
  void Dispatch(TMessage& Message) override;
};

// The text before '|' (the short hint) and after it (the long one).
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);
