#include "app/DialogControls.h"

#include <utility>

#include "app/Place.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinXFormButton.h"

TksSkinStdLabel* AddDialogLabel(TForm* form, const char* name, int left, int top) {
  auto* l = Place<TksSkinStdLabel>(form, left, top);
  l->Name = name;
  return l;
}

TksSkinGauge* AddDialogGauge(TForm* form, const char* name, int left, int top, int width, int height) {
  auto* g = Place<TksSkinGauge>(form, left, top, width, height);
  g->Name = name;
  g->SetShowPercent(true);
  g->SetSkinDataName("gauge");
  g->SetVisible(false);
  return g;
}

TksSkinXFormButton* AddDialogButton(TForm* form, const char* name, int left, int top, int width, int height,
                                    TNotifyEvent click, TksSkinData* skin) {
  auto* b = Place<TksSkinXFormButton>(form, left, top, width, height);
  b->Name = name;
  b->SetCanFocused(false);
  b->SetSkinDataName("button");
  b->OnClick = std::move(click);
  b->SetSkinData(skin);
  return b;
}
