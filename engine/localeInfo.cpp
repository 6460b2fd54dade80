#include "engine/localeInfo.h"

#include <windows.h>

#include <cstdlib>

#include "framework/core/languages.h"

namespace {

LCID LanguageOnly(uint32_t locale) { return MAKELCID(LOWORD(locale), SORT_DEFAULT); }

std::string LocaleText(uint32_t locale, LCTYPE type) {
  char buffer[256] = {};
  const int n = GetLocaleInfoA(LanguageOnly(locale), type, buffer, 255);
  return n > 0 ? std::string(buffer) : "";
}

std::wstring LocaleWideText(uint32_t locale, LCTYPE type) {
  wchar_t buffer[256] = {};
  const int n = GetLocaleInfoW(LanguageOnly(locale), type, buffer, 255);
  return n > 0 ? std::wstring(buffer) : L"";
}

}  // namespace

std::string GetEnglishLanguageName(uint32_t Locale) {
  return LocaleText(Locale, LOCALE_SENGLANGUAGE);
}

std::string GetEnglishCountryName(uint32_t Locale) {
  return LocaleText(Locale, LOCALE_SENGCOUNTRY);
}

std::wstring GetNativeCountryName(uint32_t Locale) {
  return LocaleWideText(Locale, LOCALE_SNATIVECTRYNAME);
}

std::wstring GetNativeLanguageName(uint32_t Locale) {
  return LocaleWideText(Locale, LOCALE_SNATIVELANGNAME);
}

int GetLocaleAnsiCodePage(uint32_t Locale) {
  char buffer[6] = {};
  if (GetLocaleInfoA(LanguageOnly(Locale), LOCALE_IDEFAULTANSICODEPAGE, buffer, sizeof buffer) >
      0) {
    char* end = nullptr;
    const long page = std::strtol(buffer, &end, 10);
    if (end != buffer && *end == '\0') return static_cast<int>(page);
  }
  return static_cast<int>(GetACP());
}

uint8_t GetLocaleCharset(uint32_t Locale) {
  CHARSETINFO info = {};
  const auto page = static_cast<uintptr_t>(GetLocaleAnsiCodePage(Locale));
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(page), &info, TCI_SRCCODEPAGE))
    return DEFAULT_CHARSET;
  return static_cast<uint8_t>(info.ciCharset);
}

TLocaleSeam TLocaleSeam::Win32() {
  return {[] {
            std::vector<uint32_t> locales;
            const TLanguages& languages = Languages();
            for (int i = 0; i < languages.Count(); ++i) locales.push_back(languages.LocaleID(i));
            return locales;
          },
          [] { return static_cast<uint16_t>(GetSystemDefaultLangID()); }};
}
