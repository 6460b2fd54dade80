// Skin ini values, rectangle helpers, the Windows-version tests, alpha and monitor areas.
#include "skin/draw/ksUtils.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "framework/core/osversion.h"
#include "framework/core/seams.h"
#include "skin/draw/ksSystemSeam.h"

namespace {

// Splits at commas and keeps only decimal digits of each part. Parts past the last
// one wanted are ignored, so an overlong value never writes past the table.
template <size_t N>
std::array<int, N> ParseParts(const String& text) {
  std::array<String, N> parts;
  size_t n = 0;
  for (char c : text) {
    if (c == ',') {
      ++n;
    } else if (c >= '0' && c <= '9' && n < N) {
      parts[n] += c;
    }
  }
  std::array<int, N> values{};
  for (size_t i = 0; i < N; ++i) values[i] = StrToInt(parts[i]);  // an empty part raises
  return values;
}

constexpr std::array<std::string_view, 6> kEffectWords = {"iebrightness", "iedarkness", "iegrayscale",
                                                          "ienoise",      "iesplitblur", "ieinvert"};
constexpr std::array<std::string_view, 7> kMorphWords = {"mkdefault",   "mkgradient",   "mkleftgradient",
                                                         "mkrightgradient", "mkleftslide", "mkrightslide",
                                                         "mkpush"};

struct TStyleWord {
  TFontStyle Style;
  std::string_view Word;
};
constexpr std::array<TStyleWord, 4> kStyleWords = {{{fsBold, "fsbold"},
                                                    {fsItalic, "fsitalic"},
                                                    {fsUnderline, "fsunderline"},
                                                    {fsStrikeOut, "fsstrikeout"}}};

template <size_t N>
int WordIndex(const std::array<std::string_view, N>& words, const String& text, int otherwise) {
  for (size_t i = 0; i < N; ++i)
    if (words[i] == text) return static_cast<int>(i);
  return otherwise;
}

}  // namespace

TRect StrToRect(const String& text) {
  auto v = ParseParts<4>(text);
  return TRect{v[0], v[1], v[2], v[3]};
}

TPoint StrToPoint(const String& text) {
  auto v = ParseParts<2>(text);
  return TPoint{v[0], v[1]};
}

TRect ReadRect(TCustomIniFile& ini, const String& section, const String& key) {
  return StrToRect(ini.ReadString(section, key, "0,0,0,0"));
}

TPoint ReadPoint(TCustomIniFile& ini, const String& section, const String& key) {
  return StrToPoint(ini.ReadString(section, key, "0,0"));
}

bool ReadBoolean(TCustomIniFile& ini, const String& section, const String& key) {
  return ini.ReadInteger(section, key, 0) == 1;
}

TFontStyles ReadFontStyles(TCustomIniFile& ini, const String& section, const String& key) {
  String text = ini.ReadString(section, key, "");
  TFontStyles styles = 0;
  for (const auto& w : kStyleWords)
    if (text.find(w.Word) != String::npos) styles |= w.Style;
  return styles;
}

TAlignment ReadAlignment(TCustomIniFile& ini, const String& section, const String& key) {
  String text = ini.ReadString(section, key, "tacenter");
  if (text == "tacenter") return taCenter;
  if (text == "taleftjustify") return taLeftJustify;
  return taRightJustify;
}

int ReadFontHeight(TCustomIniFile& ini, const String& section, const String& key, int missing) {
  return std::clamp(ini.ReadInteger(section, key, missing), -kMaxSkinFontHeight, kMaxSkinFontHeight);
}

int ReadCount(TCustomIniFile& ini, const String& section, const String& key) {
  TStringList keys;
  ini.ReadSection(section, keys);
  // A list may skip numbers: what lies past its highest numbered key reads as empty.
  int bound = 0;
  for (int i = 0; i < keys.Count(); ++i) {
    const String& k = keys.Strings(i);
    const bool number = !k.empty() && k.size() <= 9 && (k == "0" || k[0] != '0') &&
                        std::all_of(k.begin(), k.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (number) bound = std::max(bound, std::stoi(k) + 1);
  }
  return std::min({ini.ReadInteger(section, key, 0), bound, kMaxSkinListCount});
}

void ReadStrings(TCustomIniFile& ini, const String& section, const String& key, TStrings& lines) {
  const int count = ReadCount(ini, section, key + "count");
  for (int i = 0; i < count; ++i) lines.Add(ini.ReadString(section, IntToStr(i), ""));
}

TksEffect ReadEffect(TCustomIniFile& ini, const String& section, const String& key) {
  return static_cast<TksEffect>(WordIndex(kEffectWords, ini.ReadString(section, key, "iebrightness"), 2));
}

TksMorphKind ReadMorphKind(TCustomIniFile& ini, const String& section, const String& key) {
  return static_cast<TksMorphKind>(WordIndex(kMorphWords, ini.ReadString(section, key, "mkdefault"), 0));
}

void WriteRect(TCustomIniFile& ini, const String& section, const String& key, const TRect& r) {
  ini.WriteString(section, key,
                  IntToStr(r.Left) + "," + IntToStr(r.Top) + "," + IntToStr(r.Right) + "," + IntToStr(r.Bottom));
}

void WritePoint(TCustomIniFile& ini, const String& section, const String& key, const TPoint& p) {
  ini.WriteString(section, key, IntToStr(p.X) + "," + IntToStr(p.Y));
}

void WriteBoolean(TCustomIniFile& ini, const String& section, const String& key, bool value) {
  ini.WriteInteger(section, key, value ? 1 : 0);
}

void WriteFontStyles(TCustomIniFile& ini, const String& section, const String& key, TFontStyles styles) {
  String text;
  for (const auto& w : kStyleWords) {
    if (!(styles & w.Style)) continue;
    if (!text.empty()) text += ",";
    text += w.Word;
  }
  ini.WriteString(section, key, text);
}

void WriteAlignment(TCustomIniFile& ini, const String& section, const String& key, TAlignment value) {
  ini.WriteString(section, key,
                  value == taCenter ? "tacenter" : value == taLeftJustify ? "taleftjustify" : "tarightjustify");
}

void WriteMorphKind(TCustomIniFile& ini, const String& section, const String& key, TksMorphKind kind) {
  if (kind < kMorphWords.size()) ini.WriteString(section, key, String(kMorphWords[kind]));
}

bool RectInRect(const TRect& a, const TRect& b) { return b.Contains(a.TopLeft()) && b.Contains(a.BottomRight()); }

void GetWindowsVersion(int& major, int& minor) {
  major = Win32MajorVersion();
  minor = Win32MinorVersion();
}

bool IsWindowsXP() {
  int major, minor;
  GetWindowsVersion(major, minor);
  return major == 5 && minor == 1;
}

bool IsWindowsNT5() {
  int major, minor;
  GetWindowsVersion(major, minor);
  return major == 5 && minor <= 2;
}

void SetAlphaBlendTransparent(HWND wnd, uint8_t alpha) { KsSystemSeam().SetLayeredAlpha(wnd, alpha); }

bool IsMultiMonitor() {
  return ScreenSeam().Monitors().size() >= 2 && KsSystemSeam().MonitorEntryPoints();
}

void GetDesktopWorkArea(bool workArea, TRect& r) {
  if (workArea) {
    auto monitors = ScreenSeam().Monitors();
    if (!monitors.empty()) r = TRect::FromRECT(monitors.front().WorkArea);
  } else {
    SIZE size = ScreenSeam().Size();
    r = TRect{0, 0, size.cx, size.cy};
  }
}

void GetMonitorWorkArea(HWND wnd, bool workArea, TRect& r) {
  if (!IsMultiMonitor()) {
    GetDesktopWorkArea(workArea, r);
    return;
  }
  MONITORINFO info{};
  info.cbSize = sizeof info;
  static_assert(sizeof(MONITORINFO) == 40);
  HMONITOR monitor = KsSystemSeam().MonitorFromWindow(wnd);
  if (!KsSystemSeam().GetMonitorInfo(monitor, &info)) return;
  r = TRect::FromRECT(workArea ? info.rcWork : info.rcMonitor);
}
