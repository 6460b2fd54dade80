// A frame's caption button for a command, placed as the frame lays it out when it
// paints its non-client area; nullptr when the frame has none.
#pragma once

#include "framework/core/bitmap.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/frame/ksSkinFormObjects.h"

namespace skintest {

inline TksSkinStdButtonObject* CaptionButton(TksSkinForm& frame, TksStdButtonCommand command) {
  TBitmap nc;
  frame.ComposeNonClient(nc);
  TksSkinStdButtonObject* button = nullptr;
  for (const auto& o : frame.Objects())
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o.get()); b && b->Command == command) button = b;
  return button;
}

}  // namespace skintest
