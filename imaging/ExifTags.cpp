// Text rules of tag values: display names, value lists, rationals and the value decoders.
#include "imaging/ExifTags.h"

#include <cmath>
#include <cstdint>

#include "framework/core/decimaltext.h"
#include "imaging/TextFields.h"

namespace {

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

// Splits a value text of several values ("50/1, 3075/100, 0/1") into three rationals.
void ThreeRationals(const String& text, double& a, double& b, double& c) {
  a = ParseRational(GetNthField(text, ValueSeparator, 1));
  b = ParseRational(GetNthField(text, ValueSeparator, 2));
  c = ParseRational(GetNthField(text, ValueSeparator, 3));
}

}  // namespace

int BytesPerFormat(int format) {
  static constexpr int kBytes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  return format >= 0 && format <= 12 ? kBytes[format] : 0;
}

bool IsIntegerFormat(int format) {
  return format == 1 || format == 3 || format == 4 || format == 6 || format == 8 || format == 9;
}

bool IsRationalFormat(int format) { return format == 5 || format == 10; }

String SplitCamelCase(const String& name) {
  if (name.empty()) return String();
  String result(1, name[0]);
  bool capital = true;
  for (size_t i = 1; i < name.size(); ++i) {
    const char c = name[i];
    if (IsCapital(c)) {
      if (!capital) result += ' ';
      capital = true;
    } else {
      capital = false;
    }
    result += c;
  }
  return result;
}

// A key matches only right after a comma, so list texts cannot hold commas of their own.
String LookupValueList(const String& list, const String& key) {
  String search(1, ',');
  search += Trim(key);
  search += ':';
  const String haystack = "," + list + ",";
  const size_t at = haystack.find(search);
  if (at == String::npos) return String();
  const size_t from = at + search.size();
  return haystack.substr(from, haystack.find(',', from) - from);
}

String MakePrintable(const String& text) {
  String result = text.substr(0, 50);
  for (char& c : result)
    if (static_cast<unsigned char>(c) < 32) c = '.';
  return result;
}

// "w n/d" or "n/d"; anything unreadable is 0.
double ParseRational(const String& text) {
  try {
    String rest = Trim(text);
    int64_t whole = 0;
    const size_t blank = rest.find(' ');
    if (blank != String::npos) {
      whole = StrToInt(rest.substr(0, blank));
      rest = rest.substr(blank + 1);
    }
    const size_t slash = rest.find('/');
    if (slash == String::npos) return 0;
    const int64_t numerator = StrToInt(rest.substr(0, slash));
    const int64_t denominator = StrToInt(rest.substr(slash + 1));
    if (denominator == 0) return 0;
    return static_cast<double>(whole * denominator + numerator) / static_cast<double>(denominator);
  } catch (const Exception&) {
    return 0;
  }
}

// Our value texts always use "." whatever the user's locale says.
String FormatFloatText(const String& format, double value) {
  const size_t percent = format.find('%');
  if (percent == String::npos) return format;
  size_t i = percent + 1;
  int width = 0, decimals = 2;
  while (i < format.size() && format[i] >= '0' && format[i] <= '9') width = width * 10 + (format[i++] - '0');
  if (i < format.size() && format[i] == '.') {
    decimals = 0;
    ++i;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') decimals = decimals * 10 + (format[i++] - '0');
  }
  if (i >= format.size() || format[i] != 'f') throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
  String number = FixedText(value, decimals, '.');
  if (static_cast<int>(number.size()) < width) number.insert(0, static_cast<size_t>(width) - number.size(), ' ');
  return format.substr(0, percent) + number + format.substr(i + 1);
}

String Quoted(const String& text) {
  String result;
  result.reserve(text.size() + 2);
  result += '"';
  result += text;
  result += '"';
  return result;
}

String ReplaceFirstS(const String& format, const String& text) {
  const size_t at = format.find("%s");
  if (at == String::npos) return format;
  return format.substr(0, at) + text + format.substr(at + 2);
}

// The four value bytes follow the opening quote of the value text.
String DecodeComponents(const String& text) {
  static constexpr const char* kNames[] = {"", "Y", "Cb", "Cr", "R", "G", "B"};
  String result;
  for (size_t i = 1; i <= 4 && i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 1 && c <= 6) result += kNames[c];
  }
  return result;
}

// The text is the APEX shutter-speed value; a value that gives no finite time is unreadable.
String DecodeExposureTime(const String& text) {
  const double apex = ParseRational(text);
  const double seconds = std::pow(2.0, -apex);
  if (!std::isfinite(seconds) || seconds <= 0) throw EConvertError("'" + text + "' is not a valid exposure time");
  String result = FormatFloatText("%4.4f sec", seconds);
  if (seconds <= 0.5) {
    const double fraction = 1.0 / seconds;
    if (!(fraction < 9.0e18))
      throw EConvertError("'" + text + "' is not a valid exposure time");
    result += " (1/" + IntToStr(Round(fraction)) + ")";
  }
  return result;
}

String DecodeFlash(const String& text) {
  const int v = StrToInt(text);
  String result = (v & 1) ? "On" : "Off";
  switch (v & 6) {
    case 2: result += ", UNKNOWN"; break;
    case 4: result += ", no strobe return"; break;
    case 6: result += ", strobe return"; break;
  }
  switch (v & 24) {
    case 8: result += ", forced"; break;
    case 16: result += ", surpressed"; break;
    case 24: result += ", auto mode"; break;
  }
  if (v & 32) result += ", no flash function";
  if (v & 64) result += ", red-eye reduction";
  return result;
}

String DecodeUserComment(const String& text) { return Copy(text, 9, static_cast<int64_t>(text.size())); }

// Windows stores these texts as UCS-2 bytes; the low byte of every character is taken.
String DecodeWindowsText(const String& text) {
  String result;
  const int commas = CountSeparators(text, ",");
  for (int i = 1; i <= commas; i += 2) {
    const int code = StrToInt(GetNthField(text, ",", i));
    if (code & 0xFF) result += static_cast<char>(code & 0xFF);
  }
  return result;
}

String DecodeGpsAngle(const String& text) {
  double degrees, minutes, seconds;
  ThreeRationals(text, degrees, minutes, seconds);
  if (seconds == 0) {
    seconds = (minutes - std::trunc(minutes)) * 100 * 0.6;
    minutes = std::trunc(minutes);
  }
  return FormatFloatText("%0.0f", degrees) + " Degrees " + FormatFloatText("%0.0f", minutes) + " Minutes " +
         FormatFloatText("%0.0f", seconds) + " Seconds";
}

String DecodeGpsTime(const String& text) {
  double hours, minutes, seconds;
  ThreeRationals(text, hours, minutes, seconds);
  return FormatFloatText("%0.0f", hours) + ":" + FormatFloatText("%0.0f", minutes) + ":" +
         FormatFloatText("%0.0f", seconds);
}
