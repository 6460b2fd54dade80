// The skin the program carries: current with its sources, and loadable.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/core/streams.h"
#include "framework/testsupport/SourcePath.h"
#include "skin/data/ksSkinData.h"

namespace {

// The program carries the packed file as it is, as one resource (app/Resources.rc), so
// the file is what it loads; reading the file spares the skin's tests building the program.
class ShippedSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    TFileStream file(SourcePath("skin/defaultskin/default.kvskin"), fmOpenRead | fmShareDenyWrite);
    shipped.ReadData(file);
  }
  TksCompressedStoredSkin shipped{nullptr};
};

TEST_F(ShippedSkin, ProgramCarriesTheSkinPackedFromItsSources) {
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
  TksSkinData data(nullptr);
  data.FormWindows = [] { return std::vector<HWND>{}; };
  data.SetCompressedStoredSkin(&shipped);
  EXPECT_FALSE(data.Empty);
  EXPECT_FALSE(data.Picture.Empty());
}

}  // namespace
