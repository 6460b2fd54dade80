#include "engine/localeInfo.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(LocaleInfo, NamesCodePagesAndCharsets) {
  const struct {
    uint32_t lcid;
    const char* language;
    const char* country;
    const wchar_t* nativeLanguage;
    int codePage;
    uint8_t charset;
  } cases[] = {
      {2057, "English", "United Kingdom", L"English", 1252, ANSI_CHARSET},
      {1031, "German", "Germany", L"Deutsch", 1252, ANSI_CHARSET},
      {1049, "Russian", "Russia", L"\u0440\u0443\u0441\u0441\u043A\u0438\u0439", 1251, RUSSIAN_CHARSET},
      {1041, "Japanese", "Japan", L"\u65E5\u672C\u8A9E", 932, SHIFTJIS_CHARSET},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetEnglishLanguageName(c.lcid), c.language) << c.lcid;
    EXPECT_EQ(GetEnglishCountryName(c.lcid), c.country) << c.lcid;
    EXPECT_EQ(GetNativeLanguageName(c.lcid), c.nativeLanguage) << c.lcid;
    EXPECT_FALSE(GetNativeCountryName(c.lcid).empty()) << c.lcid;
    EXPECT_EQ(GetLocaleAnsiCodePage(c.lcid), c.codePage) << c.lcid;
    EXPECT_EQ(GetLocaleCharset(c.lcid), c.charset) << c.lcid;
  }
}

TEST(LocaleInfo, OnlyTheLanguageIdentifierIsPassedOn) {
  // A sort identifier in the high bits changes nothing.
  EXPECT_EQ(GetEnglishLanguageName(0x00010407), "German");
}

TEST(LocaleInfo, AnUnknownLocaleGivesEmptyNames) {
  EXPECT_EQ(GetEnglishLanguageName(0x7E7E), "");
  EXPECT_EQ(GetNativeLanguageName(0x7E7E), L"");
  EXPECT_EQ(GetLocaleAnsiCodePage(0x7E7E), static_cast<int>(GetACP()));
}

}  // namespace
