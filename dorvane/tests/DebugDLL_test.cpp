#include "dorvane/DebugDLL.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dorvane/DestinationFolder.h"
#include "engine/Debug.h"
#include "framework/core/datetime.h"

namespace {

std::string TodaysLog(const std::string& prefix) { return LogFileName(prefix); }

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class LibraryLogs : public ::testing::Test {
 protected:
  void SetUp() override {
    StartLogs();
    for (const char* prefix : {"eDLL", "iDLL"}) DeleteFileA(TodaysLog(prefix).c_str());
  }
  void TearDown() override { DLLDebugMode = false; }
};

TEST_F(LibraryLogs, SwitchedOffNothingIsWritten) {
  DLLDebugMode = false;
  WriteDLLErrorLog("lost");
  WriteDLLInfoLog("lost");
  EXPECT_FALSE(Exists(TodaysLog("eDLL")));
  EXPECT_FALSE(Exists(TodaysLog("iDLL")));
}

TEST_F(LibraryLogs, SwitchedOnEachLogGetsItsLines) {
  DLLDebugMode = true;
  WriteDLLErrorLog("JPEG thread failed");
  WriteDLLInfoLog("CRW corrected");
  const std::string errors = Contents(TodaysLog("eDLL"));
  const std::string info = Contents(TodaysLog("iDLL"));
  EXPECT_EQ(errors.rfind("File Created : " + TodaysLog("eDLL") + "\r\n", 0), 0u);
  EXPECT_NE(errors.find(" JPEG thread failed\r\n"), std::string::npos);
  EXPECT_EQ(errors.find("CRW corrected"), std::string::npos);
  EXPECT_NE(info.find(" CRW corrected\r\n"), std::string::npos);
  // The host program's folder, not the library's.
  EXPECT_EQ(TodaysLog("iDLL").rfind(LogFolder(), 0), 0u);
}

TEST(DestinationFolder, KeepsTheFolderAsGiven) {
  SetDLLDestinationFolder("C:\\Recovered\\");
  EXPECT_EQ(DLLDestinationFolder(), "C:\\Recovered\\");
  SetDLLDestinationFolder("");
  EXPECT_EQ(DLLDestinationFolder(), "");
}

}  // namespace
