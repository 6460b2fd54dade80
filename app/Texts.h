// A message text of the chosen language (data/Language.ini), by what it says.
#pragma once

#include <string>

#include "app/TextIds.h"

std::string LangText(TextId id);

// The name of a file-type category: 1 images, 2 video, 3 sound, 4 data.
TextId CategoryText(int category);
