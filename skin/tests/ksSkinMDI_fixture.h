// An MDI main form made by the application, with its frame, and children with
// frames of their own: the setting of the MDI, menu bar and tabs bar tests.
#pragma once

#include <vector>

#include "framework/core/seams.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/tests/ksFakeTimers.h"
#include "skin/tests/ksOneScreen.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace skintest {

class SkinMDI : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    ASSERT_EQ(Application->MainForm(), nullptr);
    Application->CreateForm(mainForm);
    mainForm->Name = "MainForm";
    mainForm->SetFormStyle(fsMDIForm);
    mainForm->SetBounds(0, 0, 640, 480);
    mainForm->SetCaption("Main");
    mainFrame = new TksSkinForm(mainForm);
  }
  void TearDown() override {
    Application->OnMessage = nullptr;
    for (TForm* child : children) delete child;
    children.clear();
    FreeAndNil(mainForm);
    Application->ProcessMessages();
    SkinCtrls::TearDown();
  }
  void ShowMain() {
    mainForm->Show();
    Application->ProcessMessages();
  }
  TForm* AddChild(const char* name, const char* caption) {
    auto* child = new TForm(Application);
    child->Name = name;
    child->SetCaption(caption);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(10 + 20 * static_cast<int>(children.size()), 10, 200, 150);
    new TksSkinForm(child);
    children.push_back(child);
    child->Show();
    Application->ProcessMessages();
    return child;
  }
  static TksSkinForm* FrameOf(TForm* form) { return TksSkinForm::GetSkinFormComponent(form); }
  void Activate(TForm* child) {
    SendMessageA(mainForm->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    Application->ProcessMessages();
  }

  ScopedSeam<TScreenSeam> screen{OneScreen()};
  FakeTimers timers;
  TForm* mainForm = nullptr;
  TksSkinForm* mainFrame = nullptr;
  std::vector<TForm*> children;
};

}  // namespace skintest
