// The skinned hint: a hint window drawn from the skin's hint-window description
// (or in the system's hint colours), and the component that makes every hint of
// the application use it and shows hints on request for the skinned frame.
#pragma once

#include <memory>

#include "framework/gui/application.h"
#include "framework/gui/hintwindow.h"
#include "framework/gui/timer.h"
#include "skin/data/ksSkinChange.h"
#include "skin/data/ksSkinData.h"

class TksSkinHint;

class TksSkinHintWindow : public THintWindow, public IksSkinChange {
 public:
  explicit TksSkinHintWindow(TComponent* AOwner);

  void ActivateHint(TRect Rect, const String& AHint) override;
  // The whole face on a device context, as WM_PAINT shows it.
  void PaintTo(HDC dc);
  // Hidden without moving, sizing or activating.
  void HideHint();

  TksSkinData* SkinData() const override { return skin_; }
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override {}

  // The settings in use: the first active skinned hint of the main form.
  static TksSkinHint* FindActiveHint();
  bool Skinned() const { return skin_ != nullptr; }
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewClientRect{};

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;

 private:
  void PrepareFont(TksSkinHint* hint);
  TksSkinHint* hint_ = nullptr;
  TksSkinData* skin_ = nullptr;
  TFont font_;
  TSize textSize_{};
  bool layered_ = false;
  int alpha_ = -1;
};

// How far the current cursor reaches below its hot spot, read from its mask.
int CursorHeightBelowHotSpot(HCURSOR cursor);

class TksSkinHint : public TComponent, public IksSkinChange {
 public:
  explicit TksSkinHint(TComponent* AOwner);
  ~TksSkinHint() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  TksSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TksSkinData* value) { SetComponentReference(this, skinData_, value); }
  void BeforeChangeSkinData() override { hintWindow_->BeforeChangeSkinData(); }
  void ChangeSkinData() override {}
  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  // The skin counts only with a face picture for the hint.
  TksSkinData* UsableSkin() const;

  // The frame's caption-button hints: shown after the hint pause, hidden after the hide pause.
  void ActivateHint(const String& text);
  void HideHint();
  TksSkinHintWindow* HintWindow() const { return hintWindow_.get(); }
  TTimer* Timer() const { return timer_.get(); }

  bool AlphaBlend = false;
  BYTE AlphaBlendValue = 0;
  bool UseSkinFont = true;
  TShowHintEvent OnShowHint;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void AppShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);
  void TimerTick(TObject* Sender);
  void ShowAtCursor();

  bool active_ = true;
  TksSkinData* skinData_ = nullptr;
  TFont defaultFont_;
  std::unique_ptr<TksSkinHintWindow> hintWindow_;
  std::unique_ptr<TTimer> timer_;
  bool showing_ = false;  // the timer runs the hide pause
  String pending_;
  TShowHintEvent original_;  // the application's own hint event
};
