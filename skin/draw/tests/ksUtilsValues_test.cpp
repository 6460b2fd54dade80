// Skin ini values, rectangle helpers, version tests, alpha and monitor areas.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/osversion.h"
#include "framework/core/strings.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/draw/ksUtils.h"

namespace {

TEST(KsValues, RectAndPointParsing) {
  struct Case {
    const char* Text;
    TRect Want;
  } cases[] = {
      {"0,0,0,0", {0, 0, 0, 0}},
      {"1,2,3,4", {1, 2, 3, 4}},
      {"-1, +2 ,3px,4", {1, 2, 3, 4}},
      {"1,2,3,4,5,6", {1, 2, 3, 4}},  // extra parts ignored, nothing overrun
  };
  for (const auto& c : cases) EXPECT_EQ(StrToRect(c.Text), c.Want) << c.Text;
  EXPECT_EQ(StrToPoint("-5,-7"), Point(5, 7));
  EXPECT_EQ(StrToPoint("12 , 34"), Point(12, 34));
  EXPECT_EQ(StrToPoint("12px,3"), Point(12, 3));
  EXPECT_EQ(StrToPoint("1,2,3"), Point(1, 2));
  for (const char* bad : {"1,2,3", "", "a,b,c,d", "1,,3,4", "99999999999,0,0,0"})
    EXPECT_THROW(StrToRect(bad), EConvertError) << bad;
  EXPECT_THROW(StrToPoint("-"), EConvertError);
}

TEST(KsValues, ReadersAndWriters) {
  TMemIniFile ini("");
  ini.WriteString("S", "r", "1,2,3,4");
  ini.WriteString("S", "empty", "");
  EXPECT_EQ(ReadRect(ini, "S", "r"), Rect(1, 2, 3, 4));
  EXPECT_EQ(ReadRect(ini, "S", "missing"), NullRect());
  EXPECT_EQ(ReadPoint(ini, "S", "missing"), Point(0, 0));
  EXPECT_THROW(ReadRect(ini, "S", "empty"), EConvertError);

  WriteRect(ini, "S", "neg", Rect(-1, 2, -3, 4));
  EXPECT_EQ(ini.ReadString("S", "neg", ""), "-1,2,-3,4");
  EXPECT_EQ(ReadRect(ini, "S", "neg"), Rect(1, 2, 3, 4));
  WritePoint(ini, "S", "p", Point(-5, 6));
  EXPECT_EQ(ini.ReadString("S", "p", ""), "-5,6");

  struct BoolCase {
    const char* Text;
    bool Want;
  } bools[] = {{"1", true}, {"2", false}, {"-1", false}, {"0", false}, {"yes", false}};
  for (const auto& c : bools) {
    ini.WriteString("S", "b", c.Text);
    EXPECT_EQ(ReadBoolean(ini, "S", "b"), c.Want) << c.Text;
  }
  WriteBoolean(ini, "S", "b", true);
  EXPECT_EQ(ini.ReadString("S", "b", ""), "1");
}

TEST(KsValues, FontStylesAlignmentsEffectsMorphs) {
  TMemIniFile ini("");
  struct StyleCase {
    const char* Text;
    TFontStyles Want;
  } styles[] = {{"fsbold,fsunderline", fsBold | fsUnderline},
                {"fsitalicxyz", fsItalic},
                {"FSBOLD", 0},
                {"fsstrikeout fsbold", fsStrikeOut | fsBold}};
  for (const auto& c : styles) {
    ini.WriteString("S", "f", c.Text);
    EXPECT_EQ(ReadFontStyles(ini, "S", "f"), c.Want) << c.Text;
  }
  EXPECT_EQ(ReadFontStyles(ini, "S", "none"), 0u);
  WriteFontStyles(ini, "S", "f", fsStrikeOut | fsBold | fsItalic);
  EXPECT_EQ(ini.ReadString("S", "f", "?"), "fsbold,fsitalic,fsstrikeout");
  WriteFontStyles(ini, "S", "f", 0);
  EXPECT_EQ(ini.ReadString("S", "f", "?"), "");

  struct AlignCase {
    const char* Text;
    TAlignment Want;
  } aligns[] = {{"tacenter", taCenter}, {"taleftjustify", taLeftJustify}, {"TACENTER", taRightJustify},
                {"other", taRightJustify}};
  for (const auto& c : aligns) {
    ini.WriteString("S", "a", c.Text);
    EXPECT_EQ(ReadAlignment(ini, "S", "a"), c.Want) << c.Text;
  }
  EXPECT_EQ(ReadAlignment(ini, "S", "nokey"), taCenter);
  for (TAlignment a : {taCenter, taLeftJustify, taRightJustify}) {
    WriteAlignment(ini, "S", "a2", a);
    EXPECT_EQ(ReadAlignment(ini, "S", "a2"), a);
  }

  const char* effects[] = {"iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
  for (int i = 0; i < 6; ++i) {
    ini.WriteString("S", "e", effects[i]);
    EXPECT_EQ(ReadEffect(ini, "S", "e"), i);
  }
  ini.WriteString("S", "e", "IEINVERT");
  EXPECT_EQ(ReadEffect(ini, "S", "e"), 2);
  EXPECT_EQ(ReadEffect(ini, "S", "nokey"), 0);

  for (int i = 0; i < 7; ++i) {
    WriteMorphKind(ini, "S", "m", static_cast<TksMorphKind>(i));
    EXPECT_EQ(ReadMorphKind(ini, "S", "m"), i);
  }
  ini.WriteString("S", "m", "mkslide");
  EXPECT_EQ(ReadMorphKind(ini, "S", "m"), 0);
}

TEST(KsValues, StringListAppends) {
  TMemIniFile ini("");
  ini.WriteString("S", "linescount", "3");
  ini.WriteString("S", "0", "a");
  ini.WriteString("S", "2", "c");
  TStringList lines;
  lines.Add("kept");
  ReadStrings(ini, "S", "lines", lines);
  ASSERT_EQ(lines.Count(), 4);
  EXPECT_EQ(lines.Strings(0), "kept");
  EXPECT_EQ(lines.Strings(1), "a");
  EXPECT_EQ(lines.Strings(2), "");
  EXPECT_EQ(lines.Strings(3), "c");
  ini.WriteString("S", "othercount", "x");
  ReadStrings(ini, "S", "other", lines);
  EXPECT_EQ(lines.Count(), 4);
}

// A count far beyond the numbered keys reads up to the highest of them; a list that
// skips numbers keeps its later entries.
TEST(KsValues, StringListCountIsBoundedByTheHighestNumberedKey) {
  const struct {
    const char* count;
    std::vector<const char*> keys;
    int lines;
  } cases[] = {
      {"1000000", {"0", "1"}, 2},
      {"5", {"0", "4"}, 5},              // sparse: the fifth entry is not lost
      {"9", {"0", "4", "07", "x3"}, 5},  // only plain numbers count
      {"3", {"0", "1", "2", "3", "4"}, 3},
      {"2", {}, 0},
      {"2000000000", {"999999999"}, kMaxSkinListCount},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    TMemIniFile ini("");
    ini.WriteString("PICTURES", "activepicturescount", c.count);
    for (const char* k : c.keys) ini.WriteString("PICTURES", k, String(k) + ".bmp");
    TStringList names;
    ReadStrings(ini, "PICTURES", "activepictures", names);
    ASSERT_EQ(names.Count(), c.lines);
    if (c.lines == 5) {
      EXPECT_EQ(names.Strings(4), "4.bmp");
      EXPECT_EQ(names.Strings(3), "");
    }
  }
}

TEST(KsGeometry, Rules) {
  TRect r = Rect(1, 2, 11, 22);
  EXPECT_EQ(RectWidth(r), 10);
  EXPECT_EQ(RectHeight(r), 20);
  EXPECT_FALSE(RectInRect(r, r));
  EXPECT_TRUE(RectInRect(Rect(2, 3, 10, 21), r));
  EXPECT_TRUE(PointInRect(r, Point(11, 22)));
  EXPECT_TRUE(PointInRect(r, Point(1, 2)));
  EXPECT_FALSE(PointInRect(r, Point(12, 5)));
  EXPECT_TRUE(IsNullRect(Rect(5, 5, 5, 9)));
  EXPECT_TRUE(IsNullRect(Rect(5, 5, 4, 9)));
  EXPECT_FALSE(IsNullRect(Rect(5, 5, 6, 6)));
  EXPECT_TRUE(IsNullPoint(Point(0, 7)));
  EXPECT_TRUE(IsNullPoint(Point(7, 0)));
  EXPECT_FALSE(IsNullPoint(Point(1, 1)));
  EXPECT_EQ(LargerOf(3, -4), 3);
}

TVersionSeam Version(DWORD major, DWORD minor) {
  return TVersionSeam{.Query = [=](OSVERSIONINFOA* info) {
    info->dwMajorVersion = major;
    info->dwMinorVersion = minor;
    info->dwPlatformId = major >= 5 ? VER_PLATFORM_WIN32_NT : VER_PLATFORM_WIN32_WINDOWS;
    return TRUE;
  }};
}

TEST(KsSystem, WindowsVersions) {
  struct Case {
    DWORD Major, Minor;
    bool XP, NT5;
  } cases[] = {{4, 10, false, false}, {5, 0, false, true}, {5, 1, true, true},
               {5, 2, false, true},   {6, 0, false, false}, {4, 0, false, false}};
  for (const auto& c : cases) {
    ScopedSeam<TVersionSeam> v(Version(c.Major, c.Minor));
    int major = 0, minor = 0;
    GetWindowsVersion(major, minor);
    EXPECT_EQ(major, static_cast<int>(c.Major));
    EXPECT_EQ(minor, static_cast<int>(c.Minor));
    EXPECT_EQ(IsWindowsXP(), c.XP) << c.Major << "." << c.Minor;
    EXPECT_EQ(IsWindowsNT5(), c.NT5) << c.Major << "." << c.Minor;
  }
}

TEST(KsSystem, AlphaGoesThroughTheLayeredCall) {
  HWND seen = nullptr;
  int alpha = -1;
  ScopedSeam<TksSystemSeam> s({.SetLayeredAlpha = [&](HWND w, BYTE a) {
    seen = w;
    alpha = a;
    return true;
  }});
  SetAlphaBlendTransparent(reinterpret_cast<HWND>(0x1234), 200);
  EXPECT_EQ(seen, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(alpha, 200);
}

TMonitorInfo Monitor(RECT bounds, RECT work) {
  TMonitorInfo m;
  m.Bounds = bounds;
  m.WorkArea = work;
  return m;
}

TEST(KsSystem, MonitorWorkAreas) {
  const RECT primary{0, 0, 800, 600}, primaryWork{0, 0, 800, 570};
  const RECT second{800, 0, 1824, 768}, secondWork{800, 30, 1824, 768};
  std::vector<TMonitorInfo> one{Monitor(primary, primaryWork)};
  std::vector<TMonitorInfo> two{Monitor(primary, primaryWork), Monitor(second, secondWork)};
  bool entries = true, infoOk = true;
  ScopedSeam<TksSystemSeam> sys({.MonitorEntryPoints = [&] { return entries; },
                                 .MonitorFromWindow = [](HWND) { return reinterpret_cast<HMONITOR>(2); },
                                 .GetMonitorInfo =
                                     [&](HMONITOR, MONITORINFO* info) {
                                       EXPECT_EQ(info->cbSize, 40u);
                                       info->rcMonitor = second;
                                       info->rcWork = secondWork;
                                       return infoOk ? TRUE : FALSE;
                                     }});
  std::vector<TMonitorInfo>* monitors = &one;
  ScopedSeam<TScreenSeam> screen({.Size = [] { return SIZE{800, 600}; }, .Monitors = [&] { return *monitors; }});

  TRect r;
  EXPECT_FALSE(IsMultiMonitor());
  GetMonitorWorkArea(nullptr, true, r);
  EXPECT_EQ(r, Rect(0, 0, 800, 570));
  GetMonitorWorkArea(nullptr, false, r);
  EXPECT_EQ(r, Rect(0, 0, 800, 600));

  monitors = &two;
  EXPECT_TRUE(IsMultiMonitor());
  GetMonitorWorkArea(nullptr, true, r);
  EXPECT_EQ(r, Rect(800, 30, 1824, 768));
  GetMonitorWorkArea(nullptr, false, r);
  EXPECT_EQ(r, Rect(800, 0, 1824, 768));

  infoOk = false;
  r = Rect(1, 2, 3, 4);
  GetMonitorWorkArea(nullptr, true, r);
  EXPECT_EQ(r, Rect(1, 2, 3, 4));  // unreadable monitor: unchanged

  entries = false;  // no monitor entry points: the single-monitor path
  EXPECT_FALSE(IsMultiMonitor());
  GetMonitorWorkArea(nullptr, false, r);
  EXPECT_EQ(r, Rect(0, 0, 800, 600));
}

}  // namespace
