#include "framework/core/datetime.h"

#include <gtest/gtest.h>

#include "framework/core/formatsettings.h"

namespace {

TFormatSettings Pinned() {
  TFormatSettings s;
  s.DateSeparator = '-';
  s.TimeSeparator = '.';
  s.ShortDateFormat = "yyyy/mm/dd";
  return s;
}

TEST(FormatDateTime, PatternsWithPinnedSeparators) {
  ScopedFormatSettings pin(Pinned());
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 45);
  const struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"dd/mm/yy, hh:mm:ss", "05-03-24, 07.08.09"},  // mm after hh is minutes
      {"d/m/yyyy", "5-3-2024"},
      {"h:n:s.zzz", "7.8.9.045"},
      {"yyyy-mm-dd", "2024-03-05"},
      {"'at' hh\"h\"nn", "at 07h08"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTime(c.format, t), c.expected) << c.format;
  }
  EXPECT_EQ(DateToStr(t), "2024-03-05");
}

TEST(FileDateToDateTime, DecodesDosDateAndTime) {
  const int date = (2004 - 1980) << 9 | 6 << 5 | 15;
  const int time = 13 << 11 | 45 << 5 | 15;  // seconds are stored halved
  const TDateTime t = FileDateToDateTime(date << 16 | time);
  int y, m, d, h, n, s, z;
  DecodeDate(t, y, m, d);
  DecodeTime(t, h, n, s, z);
  EXPECT_EQ(y, 2004);
  EXPECT_EQ(m, 6);
  EXPECT_EQ(d, 15);
  EXPECT_EQ(h, 13);
  EXPECT_EQ(n, 45);
  EXPECT_EQ(s, 30);

  const int invalid[] = {0,                                      // month 0, day 0
                         ((2004 - 1980) << 9 | 13 << 5 | 1) << 16,  // month 13
                         ((2003 - 1980) << 9 | 2 << 5 | 29) << 16,  // 29 February of a common year
                         ((2004 - 1980) << 9 | 1 << 5 | 1) << 16 | 24 << 11};
  for (int v : invalid) EXPECT_EQ(FileDateToDateTime(v), 0) << std::hex << v;
}

}  // namespace
