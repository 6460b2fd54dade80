#include "framework/core/formatsettings.h"

#include <windows.h>

namespace {

char LocaleChar(LCTYPE type, char fallback) {
  char buf[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf) > 1) return buf[0];
  return fallback;
}

TFormatSettings ReadUserLocale() {
  TFormatSettings s;
  s.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, '.');
  s.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, ',');
  s.DateSeparator = LocaleChar(LOCALE_SDATE, '/');
  s.TimeSeparator = LocaleChar(LOCALE_STIME, ':');
  char buf[80] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, sizeof buf) > 1)
    s.ShortDateFormat = buf;
  return s;
}

TFormatSettings& Current() {
  // Read on first use: the locale is fixed for the life of the process.
  static TFormatSettings settings = ReadUserLocale();
  return settings;
}

}  // namespace

const TFormatSettings& FormatSettings() { return Current(); }

ScopedFormatSettings::ScopedFormatSettings(const TFormatSettings& settings) : saved_(Current()) {
  Current() = settings;
}

ScopedFormatSettings::~ScopedFormatSettings() { Current() = saved_; }
