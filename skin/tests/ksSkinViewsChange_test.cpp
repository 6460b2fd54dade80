// Every view class answers the form-wide skin change through the one interface.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "skin/ksSkinBevel.h"
#include "skin/ksSkinChange.h"
#include "skin/ksSkinExPanel.h"
#include "skin/ksSkinLinkLabel.h"
#include "skin/ksSkinListView.h"
#include "skin/ksSkinSpeedButton.h"
#include "skin/ksSkinSplitter.h"
#include "skin/ksSkinTreeView.h"
#include "skin/ksSkinXFormButton.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinViewsChange : public SkinCtrls {};

TEST_F(SkinViewsChange, EachClassTakesTheSkinThroughTheSkinChangeInterface) {
  struct Case {
    const char* name;
    std::function<TControl*(TComponent*)> make;
    std::function<void(TControl*, TksSkinData*)> setSkin;
  };
  auto with = [](auto* c, TksSkinData* s) { c->SetSkinData(s); };
  const Case cases[] = {
      {"speed button", [](TComponent* o) { return new TksSkinSpeedButton(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinSpeedButton*>(c), s); }},
      {"menu speed button", [](TComponent* o) { return new TksSkinMenuSpeedButton(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinMenuSpeedButton*>(c), s); }},
      {"bevel", [](TComponent* o) { return new TksSkinBevel(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinBevel*>(c), s); }},
      {"link label", [](TComponent* o) { return new TksSkinLinkLabel(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinLinkLabel*>(c), s); }},
      {"splitter", [](TComponent* o) { return new TksSkinSplitter(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinSplitter*>(c), s); }},
      {"expandable panel", [](TComponent* o) { return new TksSkinExPanel(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinExPanel*>(c), s); }},
      {"shaped button", [](TComponent* o) { return new TksSkinXFormButton(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinXFormButton*>(c), s); }},
      {"tree view", [](TComponent* o) { return new TksSkinTreeView(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinTreeView*>(c), s); }},
      {"list view", [](TComponent* o) { return new TksSkinListView(o); },
       [&](TControl* c, TksSkinData* s) { with(static_cast<TksSkinListView*>(c), s); }},
  };
  for (const Case& c : cases) {
    TControl* control = c.make(form);
    control->SetParent(form);
    c.setSkin(control, &data);
    auto* change = dynamic_cast<IksSkinChange*>(control);
    ASSERT_NE(change, nullptr) << c.name;
    EXPECT_EQ(change->SkinData(), &data) << c.name;
    change->BeforeChangeSkinData();
    change->ChangeSkinData();  // a walk over the form does only this
    control->Free();
  }
}

}  // namespace
