#include "skin/controls/ksSkinFont.h"

#include "skin/data/ksSkinDataResStr.h"

void AssignSkinFont(TFont* font, bool useSkinFont, const String& name, int height, TFontStyles style,
                    TFont* defaultFont, TksSkinData* skinData) {
  if (useSkinFont) {
    font->SetName(name);
    font->SetHeight(height);
    font->SetStyle(style);
  } else {
    font->Assign(defaultFont);
  }
  TksResourceStrData* strings = skinData != nullptr ? skinData->ResourceStrData() : nullptr;
  font->SetCharset(strings != nullptr ? strings->CharSet : defaultFont->Charset());
}
