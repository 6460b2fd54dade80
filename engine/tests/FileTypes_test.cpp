#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Debug.h"
#include "engine/FileTypes.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/PassFixtures.h"
#include "framework/testsupport/SourcePath.h"

namespace {

struct SignatureCase {
  std::string Value;
  bool Parsed;
  uint32_t Length;
  bool Truncated;
};

TEST(FileTypes, SignaturesParseSafely) {
  const std::vector<SignatureCase> cases = {
      {"FFD8FFxx", true, 4, false},
      {"ffd8ffe0", true, 4, false},  // lower-case digits are hex too
      {"FFD", true, 1, false},       // an odd last digit is ignored
      {"", false, 0, false},         // would match every sector
      {"xxxxxxxx", false, 0, false}, // so would wildcards alone
      {"xx", false, 0, false},
      {"xxFFxx", true, 3, false},    // one fixed byte is enough
      {"F", false, 0, false},
      {"ZZ01", false, 0, false},
      {std::string(44, 'A'), true, 20, true},  // longer than the 20 bytes: the first 20 stay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    bool truncated = false;
    const auto parsed = ParseSignature(c.Value, truncated);
    ASSERT_EQ(parsed.has_value(), c.Parsed);
    EXPECT_EQ(truncated, c.Truncated);
    if (parsed) {
      EXPECT_EQ(parsed->Length, c.Length);
    }
  }
}

TEST(FileTypes, WildcardIsSeparateFromLiteral3F) {
  bool truncated = false;
  const auto wild = ParseSignature("FFxx", truncated);
  const auto literal = ParseSignature("FF3F", truncated);
  const uint8_t data[] = {0xFF, 0x00};
  const uint8_t question[] = {0xFF, 0x3F};
  EXPECT_TRUE(wild->Matches(data));
  EXPECT_TRUE(wild->Matches(question));
  EXPECT_FALSE(literal->Matches(data));
  EXPECT_TRUE(literal->Matches(question));
  EXPECT_EQ(HexPairToByte("a0"), uint8_t(0xA0));
  EXPECT_FALSE(HexPairToByte("G0"));
}

class FileTypeTable : public ::testing::Test {
 protected:
  TDiskImage image_;
  TImageVolumeCalls volumes_{image_, kTestLetter};
  std::unique_ptr<TScanEngine> engine_ = MakeNtEngine(volumes_);
  TScratchFolder program_{"kv_filetypes."};
};

TEST_F(FileTypeTable, LoadsSectionsInOrderWithDefaults) {
  LoadTable(*engine_, program_,
            "[First]\nDescription=JPEG picture\nExtension=JPG\nType=1\nC1=FFD8FFxx\nC2=\nComment=4142\n"
            "[NoExtension]\nC1=0102\n"
            "[Movie]\nExtension=AVI\nType=2\nC1=52494646\n"
            "[update]\nSite=http://127.0.0.1:8080/\n");  // settings, no type
  ASSERT_EQ(engine_->SupportedFileTypes.Count(), 3);
  auto* jpg = static_cast<TSESupportedFileType*>(engine_->SupportedFileTypes.Items(0));
  EXPECT_EQ(jpg->Extension, "JPG");
  EXPECT_EQ(jpg->Description, "JPEG picture");
  EXPECT_EQ(jpg->Combinations.Count(), 2);  // the empty C2 dropped, "Comment" taken
  auto* none = static_cast<TSESupportedFileType*>(engine_->SupportedFileTypes.Items(1));
  EXPECT_EQ(none->Extension, "XXX");
  EXPECT_EQ(none->Description, "Description Unavailable");
  EXPECT_EQ(none->Type, 1);

  EXPECT_EQ(engine_->FileTypeOfExtension(".avi"), 2);
  EXPECT_EQ(engine_->FileTypeOfExtension(".THM"), 1);
  EXPECT_EQ(engine_->FileTypeOfExtension(".thm"), 0);
  EXPECT_EQ(engine_->FileTypeOfExtension(".PNG"), 0);
  EXPECT_TRUE(engine_->IsTypeSelected(".jpg"));
  EXPECT_TRUE(engine_->IsTypeSelected("THM"));
  EXPECT_FALSE(engine_->IsTypeSelected(""));
  EXPECT_FALSE(engine_->IsTypeSelected(".PNG"));

  const uint8_t sector[512] = {0xFF, 0xD8, 0xFF, 0x12};
  EXPECT_TRUE(MatchSignature(*jpg, sector, 0));
  EXPECT_FALSE(MatchSignature(*none, sector, 0));
}

TEST_F(FileTypeTable, SelectionIsKeptPerExtension) {
  LoadTable(*engine_, program_, "[A]\nExtension=JPG\nC1=FFD8\n[B]\nExtension=JPG\nC1=FFD9\n[C]\nExtension=PNG\nC1=89\n");
  auto type = [&](int i) { return static_cast<TSESupportedFileType*>(engine_->SupportedFileTypes.Items(i)); };
  type(1)->Selected = false;
  type(2)->Selected = false;
  engine_->SaveTypeSelection();
  engine_->LoadSupportedFileTypes();
  EXPECT_TRUE(type(0)->Selected);
  engine_->LoadTypeSelection();
  // Both JPG types share the value of the section "JPG": the last one written wins.
  EXPECT_FALSE(type(0)->Selected);
  EXPECT_FALSE(type(1)->Selected);
  EXPECT_FALSE(type(2)->Selected);
  EXPECT_FALSE(engine_->IsTypeSelected(".png"));
}

// A carved file is named "KV<sector>." + the extension: anything but letters and digits
// could aim it outside the output folder, so such a type is not loaded.
TEST_F(FileTypeTable, ExtensionsOtherThanLettersAndDigitsDropTheirType) {
  StartLogs();
  const std::string log = ReadWholeFile(LogFileName("Errors"));
  LoadTable(*engine_, program_,
            "[Escape]\nExtension=JPG\\..\\..\\..\\escaped\nC1=FFD8FFE0\n"
            "[Slash]\nExtension=J/PG\nC1=FFD8FFE1\n"
            "[Drive]\nExtension=C:JPG\nC1=FFD8FFE2\n"
            "[Blank]\nExtension=J PG\nC1=FFD8FFE3\n"
            "[Empty]\nExtension=\nC1=FFD8FFE4\n"
            "[Good]\nExtension=Mp4\nC1=00000018\n");
  ASSERT_EQ(engine_->SupportedFileTypes.Count(), 1);
  EXPECT_EQ(static_cast<TSESupportedFileType*>(engine_->SupportedFileTypes.Items(0))->Extension, "Mp4");
  const std::string added = ReadWholeFile(LogFileName("Errors")).substr(log.size());
  for (const char* section : {"Escape", "Slash", "Drive", "Blank", "Empty"})
    EXPECT_NE(added.find(std::string(" of ") + section + " is not letters and digits; type dropped"), std::string::npos)
        << section;
}

TEST_F(FileTypeTable, MissingTableGivesEmptyList) {
  engine_->ProgramFolder = program_.Path();
  engine_->LoadSupportedFileTypes();
  EXPECT_EQ(engine_->SupportedFileTypes.Count(), 0);
}

// The table the program ships: every type named, signatures long enough not to hit
// ordinary data, the right category and the first-match order of the JPEG variants.
TEST_F(FileTypeTable, ShippedTable) {
  const std::string source = SourcePath("data/Korvalo3.INI");
  ASSERT_TRUE(FileExists(source)) << source;
  LoadTable(*engine_, program_, ReadWholeFile(source));
  const std::vector<std::pair<std::string, int>> expected = {
      {"JPG", 1}, {"CRW", 1}, {"CR2", 1}, {"X3F", 1}, {"RAF", 1}, {"MRW", 1}, {"ORF", 1}, {"TIF", 1},
      {"NEF", 1}, {"PEF", 1}, {"DNG", 1}, {"PNG", 1}, {"GIF", 1}, {"BMP", 1}, {"AVI", 2}, {"MOV", 2},
      {"MP4", 2}, {"3GP", 2}, {"MPG", 2}, {"WMV", 2}, {"WAV", 3}, {"MP3", 3}, {"WMA", 3}, {"AMR", 3},
      {"PDF", 4}, {"ZIP", 4}, {"DOC", 4}, {"XLS", 4}, {"RTF", 4}};
  for (const auto& [ext, category] : expected) EXPECT_EQ(engine_->FileTypeOfExtension("." + ext), category) << ext;
  for (int i = 0; i < engine_->SupportedFileTypes.Count(); ++i) {
    auto* type = static_cast<TSESupportedFileType*>(engine_->SupportedFileTypes.Items(i));
    for (int c = 0; c < type->Combinations.Count(); ++c) {
      uint32_t fixed = 0;
      for (uint32_t b = 0; b < type->Combination(c)->Length; ++b) fixed += type->Combination(c)->Wildcard[b] ? 0 : 1;
      EXPECT_GE(fixed, 4u) << type->Extension;
    }
  }
  const uint8_t jfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0};
  const uint8_t exif[] = {0xFF, 0xD8, 0xFF, 0xE1, 0x12, 0x34, 'E', 'x', 'i', 'f', 0};
  auto* jpg = static_cast<TSESupportedFileType*>(engine_->SupportedFileTypes.Items(0));
  EXPECT_TRUE(MatchSignature(*jpg, jfif, 0));
  EXPECT_TRUE(MatchSignature(*jpg, exif, 0));
}

}  // namespace
