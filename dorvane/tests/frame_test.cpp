// The library's entry points as the program sees them through LoadLibrary.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/Debug.h"

namespace {

class TBitmap;

class Library : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(lib_, nullptr); }
  void TearDown() override { FreeLibrary(lib_); }

  template <typename Function>
  Function Entry(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(lib_, name)));
  }

  HMODULE lib_ = LoadLibraryA("Dorvane.dll");
};

TEST_F(Library, EntryPointsReportFailureOnMissingFilesAndNullBitmaps) {
  auto correct = Entry<int32_t(__stdcall*)(const char*)>("CorrectFile");
  auto dissect = Entry<BOOL(__stdcall*)(const char*)>("DissectJPEG");
  auto resource = Entry<BOOL(__stdcall*)(int32_t, TBitmap*)>("GetResourceImage");
  auto thumbnail =
      Entry<BOOL(__stdcall*)(const char*, int16_t, int32_t, int32_t, TBitmap*)>("CreateThumbnail");
  ASSERT_TRUE(correct && dissect && resource && thumbnail);
  EXPECT_EQ(dissect("C:\\nowhere\\KVF1.JPG"), FALSE);
  EXPECT_EQ(resource(1, nullptr), FALSE);
  EXPECT_EQ(thumbnail("C:\\nowhere\\KV1.JPG", 1, 80, 60, nullptr), FALSE);
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Any folder text, even none, is taken; the switch decides whether the library's failures
// reach its logs.
TEST_F(Library, SwitchAndFolderTakeAnyInput) {
  auto on = Entry<void(__stdcall*)()>("TurnDebugOn");
  auto off = Entry<void(__stdcall*)()>("TurnDebugOff");
  auto folder = Entry<void(__stdcall*)(const char*)>("SetDestinationDIR");
  auto dissect = Entry<BOOL(__stdcall*)(const char*)>("DissectJPEG");
  ASSERT_TRUE(on && off && folder && dissect);
  StartLogs();
  const std::string tag = std::to_string(GetCurrentProcessId());
  const std::string whileOn = "C:\\nowhere\\on" + tag + ".JPG", whileOff = "C:\\nowhere\\off" + tag + ".JPG";
  on();
  folder("C:\\Recovered\\");
  folder("");
  folder(nullptr);
  EXPECT_FALSE(dissect(whileOn.c_str()));
  off();
  folder("C:\\Recovered\\");
  EXPECT_FALSE(dissect(whileOff.c_str()));
  const std::string lines = Contents(LogFileName("iDLL"));
  EXPECT_NE(lines.find("Exception on Dissect JPG (" + whileOn + ") : "), std::string::npos) << lines;
  EXPECT_EQ(lines.find(whileOff), std::string::npos);
}

}  // namespace
