#include "app/Texts.h"

#include "engine/Lang.h"

std::string LangText(TextId id) { return SupportedLanguages->GetLanguageText(static_cast<uint8_t>(id)); }

TextId CategoryText(int category) {
  switch (category) {
    case 1: return TextId::Images;
    case 2: return TextId::Video;
    case 3: return TextId::Sound;
    default: return TextId::Data;
  }
}
