// Which text the skin library shows for one of its own names (menu items,
// caption-button hints, edit menus, message-box words).
#pragma once

#include "framework/core/strings.h"

class TksSkinData;

// The skin's resource string when its container links some (a missing name
// gives "", with no fallback), else the built-in English text.
String KsResText(const TksSkinData* skin, const String& name);
