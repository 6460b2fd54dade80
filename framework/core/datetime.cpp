#include "framework/core/datetime.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

#include "framework/core/formatsettings.h"

namespace {

// Days from 0001-01-01 to 1899-12-30, the day of TDateTime 0.
constexpr int64_t kDelta = 693594;

int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// 1899-12-30 counted from 1970-01-01.
const int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

std::string Pad(int value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", digits, value);
  return buf;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  return static_cast<double>(DaysFromCivil(year, month, day) - kEpochOffset);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  return (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / 86400000.0;
}

TDateTime Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return EncodeDate(t.wYear, t.wMonth, t.wDay) +
         EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  CivilFromDays(static_cast<int64_t>(std::floor(value)) + kEpochOffset, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  double frac = std::fabs(value - std::trunc(value));
  int64_t ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  hour = static_cast<int>(ms / 3600000);
  min = static_cast<int>(ms / 60000 % 60);
  sec = static_cast<int>(ms / 1000 % 60);
  msec = static_cast<int>(ms % 1000);
}

std::string FormatDateTime(const std::string& format, TDateTime value) {
  int year, month, day, hour, min, sec, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
  const TFormatSettings& fs = FormatSettings();

  std::string out;
  bool afterHour = false;
  size_t i = 0;
  auto run = [&](char c) {
    size_t n = 0;
    while (i + n < format.size() && (format[i + n] | 0x20) == c) ++n;
    return n;
  };
  while (i < format.size()) {
    const char c = format[i];
    const char lc = static_cast<char>(c | 0x20);
    if (c == '"' || c == '\'') {
      size_t end = format.find(c, i + 1);
      if (end == std::string::npos) end = format.size();
      out += format.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (c == '/') { out += fs.DateSeparator; ++i; continue; }
    if (c == ':') { out += fs.TimeSeparator; ++i; continue; }
    size_t n = (lc >= 'a' && lc <= 'z') ? run(lc) : 0;
    switch (n ? lc : '\0') {
      case 'd': out += n >= 2 ? Pad(day, 2) : std::to_string(day); break;
      case 'y': out += n >= 4 ? Pad(year, 4) : Pad(year % 100, 2); break;
      case 'm':
        if (afterHour) out += n >= 2 ? Pad(min, 2) : std::to_string(min);
        else out += n >= 2 ? Pad(month, 2) : std::to_string(month);
        break;
      case 'h': out += n >= 2 ? Pad(hour, 2) : std::to_string(hour); break;
      case 'n': out += n >= 2 ? Pad(min, 2) : std::to_string(min); break;
      case 's': out += n >= 2 ? Pad(sec, 2) : std::to_string(sec); break;
      case 'z': out += n >= 3 ? Pad(msec, 3) : std::to_string(msec); break;
      default: out += c; i += 1; continue;
    }
    afterHour = (lc == 'h');
    i += n;
  }
  return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime(FormatSettings().ShortDateFormat, value); }

TDateTime FileDateToDateTime(int fileDate) {
  const unsigned bits = static_cast<unsigned>(fileDate);
  const int year = static_cast<int>(bits >> 25) + 1980;
  const int month = static_cast<int>(bits >> 21 & 15);
  const int day = static_cast<int>(bits >> 16 & 31);
  const int hour = static_cast<int>(bits >> 11 & 31);
  const int min = static_cast<int>(bits >> 5 & 63);
  const int sec = static_cast<int>(bits & 31) * 2;
  static const int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1] || hour > 23 || min > 59 || sec > 59)
    return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && day == 29 && !leap) return 0;
  return EncodeDate(year, month, day) + EncodeTime(hour, min, sec, 0);
}
