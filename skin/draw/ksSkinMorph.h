// The fade of a skinned control between its normal and its active face, shared
// by the controls whose skin description has "morphing".
#pragma once

#include <functional>
#include <memory>

#include "framework/core/bitmap.h"
#include "framework/gui/timer.h"
#include "skin/draw/ksUtils.h"

// A position in fifths, 0 the normal face and 5 the active one, moved one step
// per 20 ms tick towards the face the control wants. The timer exists only
// while the fade runs; the last tick settles the position and stops it.
class TksMorphAnimator {
 public:
  // canMorph: the control is skinned and its description morphs; active: it
  // heads for the active face; repaint: paints it again.
  TksMorphAnimator(std::function<bool()> canMorph, std::function<bool()> active, std::function<void()> repaint);
  TksMorphAnimator(const TksMorphAnimator&) = delete;
  TksMorphAnimator& operator=(const TksMorphAnimator&) = delete;

  // Starts the fade unless it runs already; a control that cannot morph only repaints.
  void Start();
  void Stop() { timer_.reset(); }
  // Back on the normal face with no fade running.
  void Reset() {
    Stop();
    steps_ = 0;
  }

  int Steps() const { return steps_; }
  void SetSteps(int steps) { steps_ = steps < 0 ? 0 : (steps > 5 ? 5 : steps); }
  double Factor() const { return steps_ / 5.0; }
  // Between the two faces: the control paints a morph.
  bool Between() const { return steps_ > 0 && steps_ < 5; }
  // The running timer, null when idle; tests fire it.
  TTimer* Timer() const { return timer_.get(); }

 private:
  void Step(TObject* Sender);

  std::function<bool()> canMorph_;
  std::function<bool()> active_;
  std::function<void()> repaint_;
  std::unique_ptr<TTimer> timer_;
  int steps_ = 0;
};

// Morphs `from` towards `to` (same size) by k from 0 to 1 with the skin's morph
// kind; the result is left in `from`. An unknown kind leaves `from` as it is.
void MorphFace(TBitmap* from, TBitmap* to, TksMorphKind kind, double k);
