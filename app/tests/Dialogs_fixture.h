// The main window's test setting with the wait box, for the dialogs that the main
// window opens: each test makes the dialog it drives.
#pragma once

#include <functional>
#include <vector>

#include "app/GenericWait.h"
#include "app/tests/MainForm_fixture.h"

namespace apptest {

class DialogTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    if (frmGenericWait == nullptr) {
      frmGenericWait = new TfrmGenericWait(Application);
      ownWait_ = true;
    }
  }
  void TearDown() override {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) (*it)();
    made_.clear();
    if (ownWait_) FreeAndNil(frmGenericWait);
    MainFormTest::TearDown();
  }

  // Makes the form and files it under its global reference until the test ends.
  template <class T>
  T* Make(T*& reference) {
    reference = new T(Application);
    made_.push_back([&reference] { FreeAndNil(reference); });
    return reference;
  }

 private:
  bool ownWait_ = false;
  std::vector<std::function<void()>> made_;
};

}  // namespace apptest
