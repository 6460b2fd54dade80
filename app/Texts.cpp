#include "app/Texts.h"

#include "engine/Lang.h"

std::string LangText(uint8_t number) { return SupportedLanguages->GetLanguageText(number); }
