#include "engine/intDorvane.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/Debug.h"
#include "framework/core/datetime.h"

namespace {

std::string TodaysErrorLog() {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  char date[16];
  std::snprintf(date, sizeof date, "%02d%02d%04d", d, m, y);
  std::ifstream in(LogFolder() + "Errors" + date + ".TXT", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ExpectUnbound() {
  using namespace intDorvane;
  EXPECT_EQ(LibraryHandle, -1);
  EXPECT_EQ(CorrectFile, nullptr);
  EXPECT_EQ(CreateThumbnail, nullptr);
  EXPECT_EQ(TurnDebugOn, nullptr);
  EXPECT_EQ(TurnDebugOff, nullptr);
  EXPECT_EQ(SetDestinationDIR, nullptr);
  EXPECT_EQ(DissectJPEG, nullptr);
  EXPECT_EQ(GetResourceImage, nullptr);
}

TEST(DorvaneBinding, AMissingLibraryIsRefused) {
  EXPECT_FALSE(LoadDorvaneLibrary("NoSuchDorvane.dll"));
  ExpectUnbound();
}

TEST(DorvaneBinding, ALibraryWithoutCorrectFileIsRefused) {
  StartLogs();
  EXPECT_FALSE(LoadDorvaneLibrary("DorvaneWithoutCorrectFile.dll"));
  ExpectUnbound();
  EXPECT_NE(TodaysErrorLog().find(
                "Could not Initialise Library DORVANE.DLL : missing entry point CorrectFile"),
            std::string::npos);
}

TEST(DorvaneBinding, TheLibraryBindsByName) {
  using namespace intDorvane;
  ASSERT_TRUE(LoadDorvaneLibrary());
  EXPECT_EQ(LibraryHandle, reinterpret_cast<intptr_t>(GetModuleHandleA("Dorvane.dll")));
  EXPECT_NE(CorrectFile, nullptr);
  EXPECT_NE(CreateThumbnail, nullptr);
  EXPECT_NE(TurnDebugOn, nullptr);
  EXPECT_NE(TurnDebugOff, nullptr);
  EXPECT_NE(SetDestinationDIR, nullptr);
  EXPECT_NE(DissectJPEG, nullptr);
  EXPECT_NE(GetResourceImage, nullptr);
  // Asked for, but the library has no such names.
  EXPECT_EQ(LoadFile, nullptr);
  EXPECT_EQ(GetLanguageString, nullptr);

  // What the engine's creation does with it.
  SetDestinationDIR("");
  SetDestinationDIR("C:\\Recovered\\");
  TurnDebugOn();
  TurnDebugOff();
  EXPECT_FALSE(DissectJPEG("C:\\nowhere\\KVF1.JPG"));
}

}  // namespace
