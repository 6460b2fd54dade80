#include "engine/Debug.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/formatsettings.h"

namespace {

std::string TodaysLog(const std::string& prefix) { return LogFileName(prefix); }

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  std::vector<std::string> lines;
  std::string all = ss.str(), line;
  for (size_t pos = 0; pos < all.size();) {
    size_t end = all.find("\r\n", pos);
    if (end == std::string::npos) end = all.size();
    lines.push_back(all.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

class Logs : public ::testing::Test {
 protected:
  void SetUp() override {
    StartLogs();
    DeleteFileA(TodaysLog("Errors").c_str());
    DeleteFileA(TodaysLog("Info").c_str());
    DebugMode = false;
  }
  void TearDown() override { DebugMode = false; }
};

TEST_F(Logs, NewFileStartsWithCreatedLineThenStampedLines) {
  WriteErrorLog("first");
  WriteErrorLog("second");
  const std::string path = TodaysLog("Errors");
  auto lines = Lines(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "File Created : " + path);
  const std::regex stamped(R"(\d\d.\d\d.\d\d, \d\d.\d\d.\d\d (first|second))");
  EXPECT_TRUE(std::regex_match(lines[1], stamped)) << lines[1];
  EXPECT_TRUE(std::regex_match(lines[2], stamped)) << lines[2];
  EXPECT_EQ(lines[2].substr(19), "second");
}

TEST_F(Logs, FileNameHasDayMonthFourDigitYear) {
  WriteErrorLog("x");
  const std::string name = TodaysLog("Errors");
  SYSTEMTIME now;
  GetLocalTime(&now);
  char expected[32];
  std::snprintf(expected, sizeof expected, "Errors%02u%02u%04u.TXT", now.wDay, now.wMonth,
                now.wYear);
  EXPECT_EQ(name.substr(name.find_last_of('\\') + 1), expected);
  EXPECT_EQ(GetFileAttributesA(name.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(name.substr(name.size() - 23, 5), "Logs\\");
}

TEST_F(Logs, StampUsesTheLocaleSeparators) {
  TFormatSettings pinned;
  pinned.DateSeparator = '.';
  pinned.TimeSeparator = '-';
  ScopedFormatSettings scope(pinned);
  WriteErrorLog("dotted");
  auto lines = Lines(TodaysLog("Errors"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\d\d\.\d\d\.\d\d, \d\d-\d\d-\d\d dotted)")))
      << lines[1];
}

TEST_F(Logs, InfoLogWrittenOnlyInDebugMode) {
  WriteInfoLog("hidden");
  EXPECT_EQ(GetFileAttributesA(TodaysLog("Info").c_str()), INVALID_FILE_ATTRIBUTES);
  DebugMode = true;
  WriteInfoLog("shown");
  auto lines = Lines(TodaysLog("Info"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].substr(19), "shown");
}

TEST_F(Logs, TextWithLineBreaksIsWrittenUnchanged) {
  WriteErrorLog("one\r\ntwo");
  auto lines = Lines(TodaysLog("Errors"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].substr(19), "one");
  EXPECT_EQ(lines[2], "two");
}

TEST_F(Logs, TwoThreadsLoseNoLine) {
  constexpr int kPerThread = 200;
  auto writer = [](char tag) {
    for (int i = 0; i < kPerThread; ++i) WriteErrorLog(std::string(1, tag) + std::to_string(i));
  };
  std::thread a(writer, 'a'), b(writer, 'b');
  a.join();
  b.join();
  auto lines = Lines(TodaysLog("Errors"));
  EXPECT_EQ(lines.size(), 1u + 2 * kPerThread);
}

TEST(BoolToYesNo, Texts) {
  EXPECT_EQ(BoolToYesNo(true), "Yes");
  EXPECT_EQ(BoolToYesNo(false), "No");
}

}  // namespace
