// Registration of the common-controls window classes, once per class group.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Calls InitCommonControlsEx for the ICC_ groups not yet registered.
void InitCommonControlClasses(DWORD classes);
