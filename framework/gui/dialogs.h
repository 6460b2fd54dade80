// Plain message boxes, all through the application's message-box path (and so
// through the message-box seam).
#pragma once

#include "framework/core/sysutils.h"

// An OK box captioned with the application's title.
void ShowMessage(const String& Text);
