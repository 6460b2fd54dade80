// What the skinned tree and list views share: reading a control's own scroll
// range, and taking font and colour from a font-and-background description.
#pragma once

#include <windows.h>

#include "framework/gui/wincontrol.h"
#include "skin/data/ksSkinData.h"
#include "skin/data/ksSkinDataResStr.h"

struct TksBarRange {
  int min = 0, max = 0, pos = 0;
};

inline TksBarRange ReadBarRange(HWND wnd, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS;
  if (!GetScrollInfo(wnd, bar, &si)) return {};
  return TksBarRange{si.nMin, si.nMax, si.nPos};
}

// Looks the view's description (of kind D) up into `index` and takes its font and
// background; without one the default font and colour. A description of another
// kind leaves both as they were.
template <class D>
void ApplyViewSkin(TWinControl& view, TksSkinData* skin, const String& name, int& index, TFont& defaultFont,
                   bool useSkinFont, TColor defaultColor) {
  index = SkinControlIndex(skin, name);
  if (index == -1) {
    view.SetColor(defaultColor);
    view.Font()->Assign(&defaultFont);
  } else if (const D* d = skin->template ControlData<D>(index)) {
    if (useSkinFont) {
      view.Font()->SetName(d->FontName);
      view.Font()->SetStyle(d->FontStyle);
      view.Font()->SetHeight(d->FontHeight);
    } else {
      view.Font()->Assign(&defaultFont);
    }
    view.Font()->SetColor(d->FontColor);
    view.SetColor(d->BGColor);
  }
  const TksResourceStrData* strings = skin != nullptr ? skin->ResourceStrData() : nullptr;
  view.Font()->SetCharset(strings != nullptr ? strings->CharSet : defaultFont.Charset());
}
