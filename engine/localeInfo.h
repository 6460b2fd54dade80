// Names and character sets of the system's locales. Only the language identifier (the low
// 16 bits) of an LCID is passed to the system; a failed query gives an empty text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/seams.h"

std::string GetEnglishLanguageName(uint32_t Locale);
std::string GetEnglishCountryName(uint32_t Locale);
std::wstring GetNativeCountryName(uint32_t Locale);
std::wstring GetNativeLanguageName(uint32_t Locale);
// The locale's ANSI code page, or the system's when the locale gives no number.
int GetLocaleAnsiCodePage(uint32_t Locale);
// The font charset of that code page; DEFAULT_CHARSET when the system knows none.
uint8_t GetLocaleCharset(uint32_t Locale);

// The locale answers that differ between machines. Tests replace them with
// ScopedSeam<TLocaleSeam>; the defaults ask Windows.
struct TLocaleSeam {
  // Every locale the system supports, in the system's enumeration order.
  std::function<std::vector<uint32_t>()> SystemLocales;
  std::function<uint16_t()> SystemDefaultLangID;

  static TLocaleSeam Win32();
  void FillFrom(const TLocaleSeam& p) {
    seam_detail::Fill(SystemLocales, p.SystemLocales);
    seam_detail::Fill(SystemDefaultLangID, p.SystemDefaultLangID);
  }
};

inline TLocaleSeam& LocaleSeam() { return CurrentSeam<TLocaleSeam>(); }
