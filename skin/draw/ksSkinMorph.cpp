#include "skin/draw/ksSkinMorph.h"

#include "skin/draw/ksEffects.h"

TksMorphAnimator::TksMorphAnimator(std::function<bool()> canMorph, std::function<bool()> active,
                                   std::function<void()> repaint)
    : canMorph_(std::move(canMorph)), active_(std::move(active)), repaint_(std::move(repaint)) {}

void TksMorphAnimator::Start() {
  if (!canMorph_()) {
    repaint_();
    return;
  }
  if (timer_) return;
  timer_ = std::make_unique<TTimer>(nullptr);
  timer_->SetEnabled(false);
  timer_->SetInterval(20);
  timer_->SetOnTimer(Bind<&TksMorphAnimator::Step>(this));
  timer_->SetEnabled(true);
}

void TksMorphAnimator::Step(TObject*) {
  const bool active = active_();
  if (!canMorph_()) {
    // The skin changed under the fade: settle without painting.
    steps_ = active ? 5 : 0;
    Stop();
    return;
  }
  if (active && steps_ < 5)
    ++steps_;
  else if (!active && steps_ > 0)
    --steps_;
  else
    Stop();  // the timer may be freed inside its own tick
  repaint_();
}

void MorphFace(TBitmap* from, TBitmap* to, TksMorphKind kind, double k) {
  std::unique_ptr<TksEffectBmp> a(TksEffectBmp::CreateFromHBitmap(from->Handle()));
  std::unique_ptr<TksEffectBmp> b(TksEffectBmp::CreateFromHBitmap(to->Handle()));
  if (!a || !b) return;
  switch (kind) {
    case 0: a->Morph(b.get(), k); break;
    case 1: a->MorphGrad(b.get(), k); break;
    case 2: a->MorphLeftGrad(b.get(), k); break;
    case 3: a->MorphRightGrad(b.get(), k); break;
    case 4: a->MorphLeftSlide(b.get(), k); break;
    case 5: a->MorphRightSlide(b.get(), k); break;
    case 6: a->MorphPush(b.get(), k); break;
    default: return;
  }
  a->Draw(from->Canvas()->Handle(), 0, 0);
}
