#include "framework/gui/dialogs.h"

#include "framework/core/seams.h"
#include "framework/gui/application.h"

void ShowMessage(const String& Text) {
  if (Application != nullptr) {
    Application->MessageBox(Text, Application->Title(), MB_OK);
    return;
  }
  MessageBoxSeam().Show(nullptr, Text, "", MB_OK);
}
