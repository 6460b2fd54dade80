// The skinned control setting with a main form made by the application, for the
// parts that hang off the main form (hints, tray icons).
#pragma once

#include "skin/tests/ksSkinCtrls_fixture.h"

namespace skintest {

class SkinMainForm : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    ASSERT_EQ(Application->MainForm(), nullptr);
    Application->CreateForm(mainForm);
  }
  void TearDown() override {
    FreeAndNil(mainForm);
    SkinCtrls::TearDown();
  }

  TForm* mainForm = nullptr;
};

}  // namespace skintest
