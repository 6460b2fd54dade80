#include "framework/core/sysutils.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <random>
#include <vector>

#include "framework/core/decimaltext.h"
#include "framework/core/formatsettings.h"

namespace {

char FoldUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char FoldLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = FoldLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The one integer parser behind StrToInt and StrToInt64: `bits` is 32 or 64.
bool ParseInteger(std::string_view s, int bits, int64_t& out) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return false;

  const uint64_t mask = bits == 64 ? ~uint64_t{0} : 0xFFFFFFFFull;
  bool hex = false;
  if (s[i] == '$') {
    hex = true;
    i += 1;
  } else if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return false;

  uint64_t magnitude = 0;
  if (hex) {
    for (; i < s.size(); ++i) {
      const int d = HexDigit(s[i]);
      if (d < 0) return false;
      if (magnitude > (mask >> 4)) return false;  // more digits than the width holds
      magnitude = magnitude << 4 | static_cast<uint64_t>(d);
    }
    // Two's complement of the width: $FFFFFFFF is -1.
    int64_t value = bits == 64 ? static_cast<int64_t>(magnitude)
                               : static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(magnitude)));
    if (negative) value = bits == 64 ? static_cast<int64_t>(0 - static_cast<uint64_t>(value))
                                     : static_cast<int32_t>(0u - static_cast<uint32_t>(value));
    out = value;
    return true;
  }

  const uint64_t limit = (bits == 64 ? uint64_t{1} << 63 : uint64_t{1} << 31) - (negative ? 0 : 1);
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    const uint64_t d = static_cast<uint64_t>(s[i] - '0');
    if (magnitude > (limit - d) / 10) return false;
    magnitude = magnitude * 10 + d;
  }
  out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

// A whole double as int64; NaN, infinities and values out of range raise instead of giving
// whatever the processor makes of them.
int64_t ToInt64(double whole) {
  if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0))
    throw EConvertError("Invalid floating point operation");
  return static_cast<int64_t>(whole);
}

[[noreturn]] void RaiseNotInteger(const String& s) {
  throw EConvertError("'" + s + "' is not a valid integer value");
}

[[noreturn]] void RaiseBadFormat(std::string_view format) {
  throw EConvertError("Format '" + String(format) + "' invalid or incompatible with argument");
}

String Unsigned(uint64_t v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return String(buf, r.ptr);
}

// At least `digits` digits, zero-padded after any sign.
String PadDigits(String digits, int minimum) {
  if (static_cast<int>(digits.size()) < minimum) digits.insert(0, minimum - digits.size(), '0');
  return digits;
}

String WithWidth(String text, int width, bool left) {
  if (static_cast<int>(text.size()) >= width) return text;
  if (left) text.append(width - text.size(), ' ');
  else text.insert(0, width - text.size(), ' ');
  return text;
}

// One "%..." directive of Format, parsed.
struct Spec {
  bool left = false;
  int width = -1;
  int precision = -1;
  char type = 0;
};

// Reads a number or "*" (taken from the arguments) at format[i].
int ReadCount(std::string_view format, size_t& i, const TFormatArg*& next, const TFormatArg* end) {
  if (i < format.size() && format[i] == '*') {
    ++i;
    if (next == end || next->kind != TFormatArg::Kind::Signed) RaiseBadFormat(format);
    return static_cast<int>(std::clamp<int64_t>((next++)->i, -1, 1 << 20));
  }
  int n = 0;
  bool any = false;
  while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
    n = std::min(n * 10 + (format[i] - '0'), 1 << 20);
    any = true;
    ++i;
  }
  return any ? n : -1;
}

String FormatInteger(const Spec& spec, const TFormatArg& a, std::string_view format) {
  if (a.kind != TFormatArg::Kind::Signed && a.kind != TFormatArg::Kind::Unsigned) RaiseBadFormat(format);
  const int minDigits = std::max(spec.precision, 0);
  // The bits of the argument at its own width, for %u and %x of negative values.
  const uint64_t mask = a.bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << a.bits) - 1;
  const uint64_t raw = a.kind == TFormatArg::Kind::Signed ? static_cast<uint64_t>(a.i) & mask : a.u;
  switch (spec.type) {
    case 'd':
      if (a.kind == TFormatArg::Kind::Signed && a.i < 0) {
        String text = PadDigits(Unsigned(0 - static_cast<uint64_t>(a.i)), minDigits);
        text.insert(text.begin(), '-');
        return text;
      }
      return PadDigits(Unsigned(a.kind == TFormatArg::Kind::Signed ? static_cast<uint64_t>(a.i) : a.u), minDigits);
    case 'u':
      return PadDigits(Unsigned(raw), minDigits);
    default:  // 'x'
      return IntToHexBits(raw, minDigits);
  }
}

String FormatOne(const Spec& spec, const TFormatArg& a, std::string_view format) {
  const char sep = FormatSettings().DecimalSeparator;
  switch (spec.type) {
    case 'd':
    case 'u':
    case 'x':
      return FormatInteger(spec, a, format);
    case 'f':
      if (a.kind != TFormatArg::Kind::Float) RaiseBadFormat(format);
      return FixedText(a.f, spec.precision < 0 ? 2 : std::min(spec.precision, 1100), sep);
    case 'g':
      if (a.kind != TFormatArg::Kind::Float) RaiseBadFormat(format);
      return GeneralText(a.f, spec.precision < 0 ? 15 : std::clamp(spec.precision, 1, 18), sep);
    case 's': {
      if (a.kind != TFormatArg::Kind::Text) RaiseBadFormat(format);
      std::string_view s = a.s;
      if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < s.size()) s = s.substr(0, spec.precision);
      return String(s);
    }
    case 'p':
      if (a.kind != TFormatArg::Kind::Pointer) RaiseBadFormat(format);
      return IntToHexBits(reinterpret_cast<uintptr_t>(a.p), static_cast<int>(sizeof(void*) * 2));
    default:
      RaiseBadFormat(format);
  }
}

std::mutex& RandomLock() {
  static std::mutex lock;
  return lock;
}

std::mt19937& Generator() {
  static std::mt19937 generator;  // fixed seed until Randomize, so runs can be repeated
  return generator;
}

// Splits the command line the way the conventional ParamStr does: blanks separate, double
// quotes group and are removed.
std::vector<String> CommandLineWords() {
  std::vector<String> words;
  const char* p = GetCommandLineA();
  while (p && *p) {
    while (*p && IsControlOrBlank(*p)) ++p;
    if (!*p) break;
    String word;
    bool quoted = false;
    while (*p && (quoted || !IsControlOrBlank(*p))) {
      if (*p == '"') quoted = !quoted;
      else word += *p;
      ++p;
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace

// ---- Integers and text ----------------------------------------------------------------

String IntToStr(int64_t value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return String(buf, r.ptr);
}

String UIntToStr(uint64_t value) { return Unsigned(value); }

String IntToHexBits(uint64_t value, int digits) {
  static const char kHex[] = "0123456789ABCDEF";
  String out;
  do {
    out.insert(out.begin(), kHex[value & 15]);
    value >>= 4;
  } while (value);
  return PadDigits(std::move(out), std::min(digits, 64));
}

int StrToInt(const String& s) {
  int64_t v = 0;
  if (!ParseInteger(s, 32, v)) RaiseNotInteger(s);
  return static_cast<int>(v);
}

int StrToIntDef(const String& s, int def) {
  int64_t v = 0;
  return ParseInteger(s, 32, v) ? static_cast<int>(v) : def;
}

bool TryStrToInt(const String& s, int& value) {
  int64_t v = 0;
  if (!ParseInteger(s, 32, v)) return false;
  value = static_cast<int>(v);
  return true;
}

int64_t StrToInt64(const String& s) {
  int64_t v = 0;
  if (!ParseInteger(s, 64, v)) RaiseNotInteger(s);
  return v;
}

int64_t StrToInt64Def(const String& s, int64_t def) {
  int64_t v = 0;
  return ParseInteger(s, 64, v) ? v : def;
}

bool TryStrToInt64(const String& s, int64_t& value) { return ParseInteger(s, 64, value); }

int64_t Round(double value) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even on both
  // the x87 and the SSE unit unless someone changed it; do the tie-break explicitly instead.
  const double floor = std::floor(value);
  const double diff = value - floor;
  double r = floor;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)) r = floor + 1.0;
  return ToInt64(r);
}

int64_t Trunc(double value) { return ToInt64(std::trunc(value)); }

// ---- Format ---------------------------------------------------------------------------

String FormatArgs(std::string_view format, std::initializer_list<TFormatArg> args) {
  String out;
  const TFormatArg* next = args.begin();
  const TFormatArg* end = args.end();
  size_t i = 0;
  while (i < format.size()) {
    const size_t pct = format.find('%', i);
    if (pct == std::string_view::npos) {
      out.append(format.substr(i));
      break;
    }
    out.append(format.substr(i, pct - i));
    i = pct + 1;
    if (i < format.size() && format[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // "%1:s" picks the argument by index; the following ones continue from there.
    size_t digitsEnd = i;
    while (digitsEnd < format.size() && format[digitsEnd] >= '0' && format[digitsEnd] <= '9') ++digitsEnd;
    if (digitsEnd > i && digitsEnd < format.size() && format[digitsEnd] == ':') {
      const size_t index = std::stoul(String(format.substr(i, std::min<size_t>(digitsEnd - i, 6))));
      if (index >= args.size()) RaiseBadFormat(format);
      next = args.begin() + index;
      i = digitsEnd + 1;
    }
    Spec spec;
    if (i < format.size() && format[i] == '-') {
      spec.left = true;
      ++i;
    }
    spec.width = ReadCount(format, i, next, end);
    if (i < format.size() && format[i] == '.') {
      ++i;
      spec.precision = std::max(ReadCount(format, i, next, end), 0);
    }
    if (i == format.size()) RaiseBadFormat(format);
    spec.type = FoldLower(format[i++]);
    if (next == end) RaiseBadFormat(format);
    out += WithWidth(FormatOne(spec, *next++, format), spec.width, spec.left);
  }
  return out;
}

String FloatToStr(double value) { return GeneralText(value, 15, FormatSettings().DecimalSeparator); }

// ---- Strings --------------------------------------------------------------------------

String TrimLeft(const String& s) {
  auto first = std::find_if_not(s.begin(), s.end(), IsControlOrBlank);
  return String(first, s.end());
}

String TrimRight(const String& s) {
  auto last = std::find_if_not(s.rbegin(), s.rend(), IsControlOrBlank);
  return String(s.begin(), last.base());
}

String Trim(const String& s) { return TrimLeft(TrimRight(s)); }

String UpperCase(const String& s) {
  String r = s;
  std::transform(r.begin(), r.end(), r.begin(), FoldUpper);
  return r;
}

String LowerCase(const String& s) {
  String r = s;
  std::transform(r.begin(), r.end(), r.begin(), FoldLower);
  return r;
}

String AnsiUpperCase(const String& s) {
  String r = s;
  if (!r.empty()) CharUpperBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

String AnsiLowerCase(const String& s) {
  String r = s;
  if (!r.empty()) CharLowerBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

int CompareText(const String& a, const String& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int d = static_cast<unsigned char>(FoldUpper(a[i])) - static_cast<unsigned char>(FoldUpper(b[i]));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int CompareStr(const String& a, const String& b) {
  const int c = a.compare(b);  // char_traits<char> compares as unsigned char
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

String Copy(const String& s, int64_t index, int64_t count) {
  if (index < 1) index = 1;
  const int64_t size = static_cast<int64_t>(s.size());
  if (count <= 0 || index > size) return String();
  count = std::min(count, size - index + 1);
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

int Pos(const String& sub, const String& s) {
  if (sub.empty()) return 0;
  const size_t at = s.find(sub);
  return at == String::npos ? 0 : static_cast<int>(at + 1);
}

String StringOfChar(char c, int count) { return count > 0 ? String(static_cast<size_t>(count), c) : String(); }

// ---- Arithmetic -----------------------------------------------------------------------

double Power(double base, double exponent) { return std::pow(base, exponent); }
double Sqrt(double value) { return std::sqrt(value); }

int Random(int range) {
  if (range <= 0) return 0;
  std::lock_guard<std::mutex> hold(RandomLock());
  return std::uniform_int_distribution<int>(0, range - 1)(Generator());
}

double Random() {
  std::lock_guard<std::mutex> hold(RandomLock());
  return std::uniform_real_distribution<double>(0.0, 1.0)(Generator());
}

void Randomize() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  std::lock_guard<std::mutex> hold(RandomLock());
  Generator().seed(static_cast<std::mt19937::result_type>(ticks ^ GetCurrentProcessId()));
}

// ---- System ---------------------------------------------------------------------------

String SysErrorMessage(DWORD errorCode) {
  char* buffer = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
          FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, errorCode, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  String text = n && buffer ? String(buffer, n) : String();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (IsControlOrBlank(text.back()) || text.back() == '.')) text.pop_back();
  return text;
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(DWORD errorCode) {
  if (errorCode == 0) throw EOSError("A call to an OS function failed", 0);
  throw EOSError("System Error.  Code: " + IntToStr(errorCode) + ".\r\n" + SysErrorMessage(errorCode), errorCode);
}

void Beep() { MessageBeep(0); }

void Halt(int exitCode) { std::exit(exitCode); }

int ParamCount() { return static_cast<int>(CommandLineWords().size()) - 1; }

String ParamStr(int index) {
  if (index == 0) {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return String(path, std::min<DWORD>(n, MAX_PATH));
  }
  const std::vector<String> words = CommandLineWords();
  return index > 0 && static_cast<size_t>(index) < words.size() ? words[index] : String();
}

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE HInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }
