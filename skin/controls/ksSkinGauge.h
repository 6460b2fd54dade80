// The skinned gauge: a progress bar laid out of a strip of the skin picture
// (start part, repeated middle, end part), with a percentage and a text over it.
#pragma once

#include "skin/controls/ksSkinCtrls.h"

class TksSkinGauge : public TksSkinCustomControl {
 public:
  explicit TksSkinGauge(TComponent* AOwner);

  // False: any size; the skinned face is composed, then stretched, and gets no region.
  bool UseSkinSize = true;
  // True: a value that changes the face is painted by the next message pump, not at
  // once, so a burst of moves (a scan's progress) costs one paint.
  bool PaintOnPump = false;

  int MinValue() const { return minValue_; }
  void SetMinValue(int value);
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int value);
  int Value() const { return value_; }
  void SetValue(int value);
  bool Vertical() const { return vertical_; }
  void SetVertical(bool value);
  const String& ProgressText() const { return progressText_; }
  void SetProgressText(const String& value);
  bool ShowPercent() const { return showPercent_; }
  void SetShowPercent(bool value);
  bool ShowProgressText() const { return showProgressText_; }
  void SetShowProgressText(bool value);

  void GetSkinData() override;
  void CalcSize(int& w, int& h) override;

  // The bar inside area A for the current value: flat bars grow rightwards,
  // upright ones upwards.
  TRect CalcProgressRect(const TRect& a) const;
  // The filled share in whole percent.
  int Percent() const;
  // What DrawGaugeText writes: the progress text, then the percentage.
  String GaugeText() const;

  // Values of the gauge description, copied at every GetSkinData.
  TRect ProgressArea{}, ProgressRect{};
  int BeginOffset = 0, EndOffset = 0;
  String FontName;
  TFontStyles FontStyle = 0;
  int FontHeight = 0;
  TColor FontColor = 0;
  // ProgressArea moved to the current size.
  TRect NewProgressArea{};

 protected:
  void Paint() override;
  void CreateControlDefaultImage(TBitmap* b) override;
  void CreateControlSkinImage(TBitmap* b) override;

 private:
  // The filled share 0..1; an empty or reversed range is empty.
  double Fraction() const;
  void ClampValue();
  void DrawFlatBar(TCanvas* c, const TRect& r);
  void DrawUprightBar(TCanvas* c, const TRect& r);
  void DrawGaugeText(TCanvas* c);
  // What the value shows: the bar's extent and the text.
  struct TFace {
    TRect bar;
    String text;
    friend bool operator==(const TFace&, const TFace&) = default;
  };
  TFace Face() const;

  int minValue_ = 0;
  int maxValue_ = 100;
  int value_ = 50;
  bool vertical_ = false;
  String progressText_;
  bool showPercent_ = false;
  bool showProgressText_ = false;
};
