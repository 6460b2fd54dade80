#include "framework/gui/commoncontrols.h"

#include <atomic>

void InitCommonControlClasses(DWORD classes) {
  // Registration is per process; remember what is done to avoid repeating it.
  static std::atomic<DWORD> registered{0};
  if ((registered.load() & classes) == classes) return;
  INITCOMMONCONTROLSEX icc{sizeof(icc), classes};
  if (InitCommonControlsEx(&icc)) registered.fetch_or(classes);
}
