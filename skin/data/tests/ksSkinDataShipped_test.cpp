// The skin the program carries: current with its sources, and loadable.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/core/tests/SourcePath.h"
#include "skin/data/ksSkinData.h"

namespace {


class ShippedSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    program = LoadLibraryExA("Korvalo3.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << "Korvalo3.exe beside the tests, error " << GetLastError();
  }
  void TearDown() override {
    if (program) FreeLibrary(program);
  }
  HMODULE program = nullptr;
};

TEST_F(ShippedSkin, ProgramCarriesTheSkinPackedFromItsSources) {
  TksCompressedStoredSkin shipped(nullptr);
  shipped.LoadFromResource(program, "DEFAULTSKIN");
  TksCompressedStoredSkin fresh(nullptr);
  fresh.LoadFromIniFile(SourcePath("skin/defaultskin/skin.ini"));
  ASSERT_FALSE(fresh.IsEmpty());
  ASSERT_EQ(shipped.CompressedStream().Size(), fresh.CompressedStream().Size())
      << "skin/defaultskin changed: repack it with tools/skin_pack into default.kvskin";
  EXPECT_EQ(std::memcmp(shipped.CompressedStream().Memory(), fresh.CompressedStream().Memory(),
                        static_cast<size_t>(fresh.CompressedStream().Size())),
            0);
}

TEST_F(ShippedSkin, LoadsIntoTheContainer) {
  TksCompressedStoredSkin stored(nullptr);
  stored.LoadFromResource(program, "DEFAULTSKIN");
  TksSkinData data(nullptr);
  data.FormWindows = [] { return std::vector<HWND>{}; };
  data.SetCompressedStoredSkin(&stored);
  EXPECT_FALSE(data.Empty);
  EXPECT_FALSE(data.Picture.Empty());
}

}  // namespace
