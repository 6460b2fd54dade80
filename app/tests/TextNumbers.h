// The tests ask for a text by its number in Language.ini, the number the texts are
// described by, so that a name given the wrong number fails a test.
#pragma once

#include <cstdint>
#include <string>

#include "app/Texts.h"

inline std::string LangText(uint8_t number) { return LangText(static_cast<TextId>(number)); }
