// What the skinned push and speed buttons share about their down state: the fade
// that follows it and the group whose other buttons come up.
#pragma once

#include "framework/gui/wincontrol.h"
#include "skin/draw/ksSkinMorph.h"

// A press shows the active face at once; a release fades back from it.
inline void MorphToDown(TksMorphAnimator& morph, bool down) {
  morph.SetSteps(5);
  if (down)
    morph.Stop();
  else
    morph.Start();
}

// Brings up the other buttons of `button`'s kind and group on its parent.
template <class TButton>
void ReleaseGroupOf(TButton& button) {
  TWinControl* parent = button.Parent();
  if (parent == nullptr) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TButton*>(parent->Controls(i));
    if (other != nullptr && other != &button && other->GroupIndex() == button.GroupIndex() && other->Down())
      other->SetDown(false);
  }
}
