#include "app/DialogControls.h"

#include <utility>

#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinXFormButton.h"

TksSkinStdLabel* AddDialogLabel(TForm* form, const char* name, int left, int top) {
  auto* l = new TksSkinStdLabel(form);
  l->SetParent(form);
  l->Name = name;
  l->SetLeft(left);
  l->SetTop(top);
  return l;
}

TksSkinGauge* AddDialogGauge(TForm* form, const char* name, int left, int top, int width, int height) {
  auto* g = new TksSkinGauge(form);
  g->SetParent(form);
  g->Name = name;
  g->SetBounds(left, top, width, height);
  g->SetShowPercent(true);
  g->SetSkinDataName("gauge");
  g->SetVisible(false);
  return g;
}

TksSkinXFormButton* AddDialogButton(TForm* form, const char* name, int left, int top, int width, int height,
                                    TNotifyEvent click, TksSkinData* skin) {
  auto* b = new TksSkinXFormButton(form);
  b->SetParent(form);
  b->Name = name;
  b->SetBounds(left, top, width, height);
  b->SetCanFocused(false);
  b->SetSkinDataName("button");
  b->OnClick = std::move(click);
  b->SetSkinData(skin);
  return b;
}
