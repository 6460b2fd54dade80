#include "framework/testsupport/testapp.h"

TApplication& TestApp() {
  if (Application == nullptr) {
    auto* app = new TApplication(nullptr);
    app->Initialize();
  }
  return *Application;
}

bool PumpUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!predicate()) {
    TestApp().ProcessMessages();
    if (predicate()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void Pump() { TestApp().ProcessMessages(); }

void ShowAndActivate(TCustomForm& form) {
  form.Show();
  SetForegroundWindow(form.Handle());
  SetActiveWindow(form.Handle());
  Pump();
}
