// The test process's one Application and the message loop around it: made on first use,
// pumped until something happened, forms shown and activated as a user would have.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/gui/application.h"
#include "framework/gui/forms.h"

// The one Application of this test process, made on first use.
TApplication& TestApp();

// Handles messages until the predicate holds; false when it still fails after the
// timeout, which only guards against a hang: it is generous, since a busy machine may
// take seconds for what an idle one does at once.
bool PumpUntil(const std::function<bool()>& predicate, DWORD timeoutMs = 30000);

// Lets every message already posted run.
void Pump();

// A form that is freed at the end of the test scope.
template <class T = TForm>
TOwnedPtr<T> MakeForm() {
  TestApp();
  return TOwnedPtr<T>(new T(Application));
}

// Shows the form and makes it the active window, so its controls can take the focus.
void ShowAndActivate(TCustomForm& form);
