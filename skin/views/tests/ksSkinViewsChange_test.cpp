// Every view class answers the form-wide skin change through the one interface.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "skin/controls/ksSkinBevel.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/controls/ksSkinSpeedButton.h"
#include "skin/controls/ksSkinSplitter.h"
#include "skin/controls/ksSkinXFormButton.h"
#include "skin/data/ksSkinChange.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksSkinExPanel.h"
#include "skin/views/ksSkinListView.h"
#include "skin/views/ksSkinTreeView.h"

namespace {

using namespace skintest;

class SkinViewsChange : public SkinCtrls {};

struct Case {
  const char* name;
  std::function<TControl*(TComponent*)> make;
  std::function<void(TControl*, TksSkinData*)> setSkin;
};

// A control of class T, made and given a skin through its own class.
template <class T>
Case Row(const char* name) {
  return {name, [](TComponent* o) -> TControl* { return new T(o); },
          [](TControl* c, TksSkinData* s) { static_cast<T*>(c)->SetSkinData(s); }};
}

TEST_F(SkinViewsChange, EachClassTakesTheSkinThroughTheSkinChangeInterface) {
  const Case cases[] = {
      Row<TksSkinSpeedButton>("speed button"),
      Row<TksSkinMenuSpeedButton>("menu speed button"),
      Row<TksSkinBevel>("bevel"),
      Row<TksSkinLinkLabel>("link label"),
      Row<TksSkinSplitter>("splitter"),
      Row<TksSkinExPanel>("expandable panel"),
      Row<TksSkinXFormButton>("shaped button"),
      Row<TksSkinTreeView>("tree view"),
      Row<TksSkinListView>("list view"),
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
