#include "app/WriterTexts.h"

#include <gtest/gtest.h>

TEST(WriterTexts, SpeedListCountsDownByFourThenHalves) {
  struct Row {
    int max;
    std::vector<String> speeds;
  } rows[] = {
      {0, {"Default"}},
      {-3, {"Default"}},
      {1, {"1x"}},
      {3, {"3x", "1x"}},
      {4, {"4x"}},
      {6, {"6x", "2x", "1x"}},
      {16, {"16x", "12x", "8x", "4x"}},
      {10, {"10x", "6x", "2x", "1x"}},
  };
  for (const Row& r : rows) EXPECT_EQ(WriteSpeedList(r.max, "Default"), r.speeds) << r.max;
}

TEST(WriterTexts, SpeedOfAnEntry) {
  struct Row {
    const char* entry;
    int speed;
  } rows[] = {{"16x", 16}, {"1x", 1}, {"Default", 0}, {"x", 0}, {"12", 0}, {"a4x", 0}, {"", 0}};
  for (const Row& r : rows) EXPECT_EQ(WriteSpeedOfEntry(r.entry, "Default"), r.speed) << r.entry;
}

TEST(WriterTexts, WriterEntryPutsTheThirdTextBeforeTheSecond) {
  EXPECT_EQ(WriterListEntry("E", "1.0", "Stand-in Writer"), "E: Stand-in Writer(1.0)");
}

TEST(WriterTexts, ErrorTexts) {
  struct Row {
    int write, device;
    const char* text;
  } rows[] = {
      {3, 1002, "The drive is not ready(1002)"},
      {3, 999, "(999)"},
      {3, 1054, "(1054)"},
      {3, 1000, "No additional error data was reported(1000)"},
      {3, 1053, "A seek command was interrupted by another command(1053)"},
      {3, 1051, "An unknown device error has occurred (1051).\r\nExtended Error Data - disk full"},
      {0, 0, "The read buffer could not be initialized ... check your memory/disc resources"},
      {2, 0, "A file error was encountered while writing the disc"},
      {5, 7, "Tracks have been added to the disc image with an invalid format ... please try again"},
      {6, 0, "Unknown writing error"},
      {-1, 0, "Unknown writing error"},
  };
  for (const Row& r : rows) EXPECT_EQ(WriteErrorText(r.write, r.device, "disk full"), r.text) << r.write << "/" << r.device;
}

TEST(WriterTexts, FreeSpaceInTheUnitOfItsSize) {
  struct Row {
    int64_t bytes;
    const char* text;
  } rows[] = {{0, "0.00 KB"},
              {512, "0.50 KB"},
              {1023, "1.00 KB"},
              {1024, "0.00 MB"},
              {209715200, "200.00 MB"},
              {1073741823, "1024.00 MB"},
              {1073741824, "1.00 GB"},
              {6442450944, "6.00 GB"}};  // past 4 GiB: no 32-bit wrap
  for (const Row& r : rows) EXPECT_EQ(FreeSpaceText(r.bytes), r.text) << r.bytes;
}
