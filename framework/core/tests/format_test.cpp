#include <gtest/gtest.h>

#include "framework/core/formatsettings.h"
#include "framework/core/sysutils.h"

namespace {

// Tests pin the separators so the locale of the machine does not matter.
TFormatSettings Pinned(char decimal) {
  TFormatSettings s;
  s.DecimalSeparator = decimal;
  return s;
}

TEST(Format, FloatsRoundFromTheExactBinaryValue) {
  ScopedFormatSettings pin(Pinned('.'));
  const struct {
    const char* format;
    double value;
    const char* expected;
  } cases[] = {
      {"%f", 1.5, "1.50"},  // no precision means two decimals
      {"%f", 0.125, "0.13"},          // exact tie goes away from zero
      {"%f", -0.125, "-0.13"},
      {"%.2f", 2.675, "2.67"},        // 2.675 is stored as 2.67499999...
      {"%.2f", 1.005, "1.00"},
      {"%.2f", 1.125, "1.13"},
      {"%.1f", 0.25, "0.3"},
      {"%.0f", 0.5, "1"},
      {"%.0f", 2.5, "3"},
      {"%.0f", -0.5, "-1"},
      {"%0.0f", 12.5, "13"},
      {"%0.1f", 3.14159, "3.1"},
      {"%5.2f", 3.14159, " 3.14"},
      {"%-6.1f|", 2.0, "2.0   |"},
      {"%.1f", -0.04, "0.0"},         // no minus sign in front of nothing but zeros
      {"%.3f", 0.0, "0.000"},
      {"%f", 99.999, "100.00"},
      {"%f", 1e20, "100000000000000000000.00"},
      {"%.2f", 1e-300, "0.00"},
      {"%.20f", 0.1, "0.10000000000000000555"},
      {"%g", 1.5, "1.5"},
      {"%g", 0.1, "0.1"},
      {"%g", 100.0, "100"},
      {"%g", 0.0001, "0.0001"},
      {"%g", 0.00001, "1E-5"},
      {"%g", 1e20, "1E20"},
      {"%g", -2.5e-7, "-2.5E-7"},
      {"%g", 123456789012345678.0, "1.23456789012346E17"},
      {"%.3g", 3.14159, "3.14"},
      {"%g", 0.0, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Format(c.format, c.value), c.expected) << c.format << " " << c.value;
  }
}

TEST(Format, IntegersWidthAndPrecision) {
  EXPECT_EQ(Format("%d", 42), "42");
  EXPECT_EQ(Format("%d", -42), "-42");
  EXPECT_EQ(Format("%2.2d", 5), "05");
  EXPECT_EQ(Format("%2.2d:%2.2d", 7, 123), "07:123");
  EXPECT_EQ(Format("%.3d", -5), "-005");
  EXPECT_EQ(Format("%3d|", 5), "  5|");
  EXPECT_EQ(Format("%-3d|", 5), "5  |");
  EXPECT_EQ(Format("%d", static_cast<int64_t>(-9000000000)), "-9000000000");
  EXPECT_EQ(Format("%d", 4000000000u), "4000000000");
  EXPECT_EQ(Format("%u", -1), "4294967295");
  EXPECT_EQ(Format("%x", 255), "FF");
  EXPECT_EQ(Format("%.4x", 255), "00FF");
  EXPECT_EQ(Format("%x", -1), "FFFFFFFF");
  EXPECT_EQ(Format("%x", static_cast<int16_t>(-1)), "FFFF");
  EXPECT_EQ(Format("%*d", 4, 7), "   7");
  EXPECT_EQ(Format("%1:d %0:d %d", 1, 2), "2 1 2");
  enum Small : char { kSeven = 7 };
  EXPECT_EQ(Format("%d", kSeven), "7");
  EXPECT_EQ(Format("%d", static_cast<uint8_t>(200)), "200");
}

TEST(Format, TextsAndPercent) {
  const String name = "card";
  EXPECT_EQ(Format("%s=%d%%", name, 50), "card=50%");
  EXPECT_EQ(Format("[%5s]", "ab"), "[   ab]");
  EXPECT_EQ(Format("[%-5s]", "ab"), "[ab   ]");
  EXPECT_EQ(Format("[%.2s]", "abcdef"), "[ab]");
  EXPECT_EQ(Format("%s", 'x'), "x");
  EXPECT_EQ(Format("no directives"), "no directives");
  EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "");
}

TEST(Format, DecimalSeparatorComesFromTheSettings) {
  ScopedFormatSettings pin(Pinned(','));
  EXPECT_EQ(Format("%f", 1.5), "1,50");
  EXPECT_EQ(Format("%.1f", 0.25), "0,3");
  EXPECT_EQ(Format("%g", 2.5), "2,5");
  EXPECT_EQ(FloatToStr(2.5), "2,5");
}

TEST(Format, MismatchedOrMissingArgumentsRaise) {
  EXPECT_THROW(Format("%d", "text"), EConvertError);
  EXPECT_THROW(Format("%d", 1.5), EConvertError);
  EXPECT_THROW(Format("%s", 5), EConvertError);
  EXPECT_THROW(Format("%f", 5), EConvertError);
  EXPECT_THROW(Format("%x", 2.0), EConvertError);
  EXPECT_THROW(Format("%d %d", 1), EConvertError);
  EXPECT_THROW(Format("%k", 1), EConvertError);
  EXPECT_THROW(Format("100%", 1), EConvertError);
  EXPECT_THROW(Format("%2:d", 1, 2), EConvertError);
  EXPECT_THROW(Format("%99999999999:d", 1), EConvertError);
  try {
    Format("%d", "x");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Format '%d' invalid or incompatible with argument");
  }
}

TEST(FloatToStr, FifteenSignificantDigits) {
  ScopedFormatSettings pin(Pinned('.'));
  const struct {
    double value;
    const char* expected;
  } cases[] = {{0.0, "0"},
               {100.0, "100"},
               {-1.25, "-1.25"},
               {1.0 / 3.0, "0.333333333333333"},
               {2.0 / 3.0, "0.666666666666667"},
               {0.1 + 0.2, "0.3"},
               {123456789012345.0, "123456789012345"},
               {1234567890123456.0, "1.23456789012346E15"},
               {1e-10, "1E-10"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FloatToStr(c.value), c.expected) << c.expected;
  }
}

}  // namespace
