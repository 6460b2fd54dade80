// Our value texts of the standard tags against a peer's reading of the same fixtures.
// The fixtures and the peer's readings (`exiftool -a -n -G1 -H -s`) are committed; see
// scripts/make-exif-fixtures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "imaging/ExifData.h"
#include "imaging/IptcData.h"
#include "imaging/MetadataDump.h"
#include "imaging/tests/TiffBuilder.h"

namespace {

struct Reference {
  String group;
  uint16_t tag;
  String name;
  String value;
};

std::vector<Reference> LoadReference(const String& fixture) {
  std::istringstream in(test::LoadFile(test::FixturePath(fixture + ".exiftool.txt")));
  const std::regex line(R"(^\[([\w-]+)\]\s+0x([0-9a-f]{4}) (\S+)\s+: (.*?)\r?$)");
  std::vector<Reference> rows;
  std::smatch m;
  for (String text; std::getline(in, text);)
    if (std::regex_match(text, m, line))
      rows.push_back({m[1], static_cast<uint16_t>(std::stoul(m[2], nullptr, 16)), m[3], m[4]});
  return rows;
}

enum Kind { Text, Integer, Number, Fraction, ListKey, FlashBits, GpsAngle, GpsTime, Quoted };

struct Check {
  const char* group;
  uint16_t tag;
  Kind kind;
};

// The standard tags and how our text and the peer's number relate.
constexpr Check kChecks[] = {
    {"IFD0", 0x010f, Text},      {"IFD0", 0x0110, Text},      {"IFD0", 0x0131, Text},
    {"IFD0", 0x0132, Text},      {"IFD0", 0x013b, Text},      {"IFD0", 0x0112, ListKey},
    {"IFD0", 0x011a, Number},    {"IFD0", 0x011b, Number},    {"IFD0", 0x0128, ListKey},
    {"IFD0", 0x0213, ListKey},   {"IFD0", 0x0100, Integer},   {"IFD0", 0x0101, Integer},
    {"IFD0", 0x0102, Integer},   {"IFD0", 0x0103, ListKey},   {"IFD0", 0x0106, ListKey},
    {"IFD0", 0x010a, Integer},   {"IFD0", 0x0111, Integer},   {"IFD0", 0x0115, Integer},
    {"IFD0", 0x0116, Integer},   {"IFD0", 0x0117, Integer},   {"IFD0", 0x011c, Integer},
    {"ExifIFD", 0x829a, Fraction}, {"ExifIFD", 0x829d, Number}, {"ExifIFD", 0x8822, ListKey},
    {"ExifIFD", 0x8827, Integer}, {"ExifIFD", 0x9000, Quoted}, {"ExifIFD", 0x9003, Text},
    {"ExifIFD", 0x9004, Text},    {"ExifIFD", 0x9201, Number}, {"ExifIFD", 0x9204, Fraction},
    {"ExifIFD", 0x9207, ListKey}, {"ExifIFD", 0x9208, ListKey}, {"ExifIFD", 0x9209, FlashBits},
    {"ExifIFD", 0x920a, Number},  {"ExifIFD", 0x9286, Text},   {"ExifIFD", 0xa000, Quoted},
    {"ExifIFD", 0xa001, ListKey}, {"ExifIFD", 0xa002, Integer}, {"ExifIFD", 0xa003, Integer},
    {"ExifIFD", 0xa402, ListKey}, {"ExifIFD", 0xa403, ListKey}, {"ExifIFD", 0xa406, ListKey},
    {"ExifIFD", 0xa408, ListKey}, {"ExifIFD", 0xa409, ListKey}, {"ExifIFD", 0xa40a, ListKey},
    {"GPS", 0x0001, Text},        {"GPS", 0x0002, GpsAngle},   {"GPS", 0x0003, Text},
    {"GPS", 0x0004, GpsAngle},    {"GPS", 0x0005, ListKey},    {"GPS", 0x0006, Fraction},
    {"GPS", 0x0007, GpsTime},     {"IFD1", 0x0103, ListKey},   {"IFD1", 0x011a, Number},
    {"IFD1", 0x011b, Number},     {"IFD1", 0x0128, ListKey},   {"IFD1", 0x0202, Integer},
};

int KindOf(const String& group) { return group == "GPS" ? dkGps : group == "IFD1" ? dkThumbnail : dkMain; }

const TTagEntry* Ours(const TImageInfo& info, const String& group, uint16_t tag) {
  const auto& tags = group == "IFD1" ? info.ThumbnailTags() : info.Tags();
  for (const TTagEntry& e : tags)
    if (e.Tag == tag && e.Group == 0 && (group == "GPS") == (e.Name.rfind("GPS", 0) == 0)) return &e;
  return nullptr;
}

double FirstNumber(const String& text) {
  const size_t at = text.find_first_of("-0123456789");
  return at == String::npos ? NAN : std::strtod(text.c_str() + at, nullptr);
}

double FractionValue(const String& text) {
  const size_t slash = text.find('/');
  return slash == String::npos ? NAN : FirstNumber(text) / FirstNumber(text.substr(slash + 1));
}

std::vector<double> Numbers(const String& text) {
  std::vector<double> numbers;
  static const std::regex number(R"(-?\d+(\.\d+)?)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
    numbers.push_back(std::stod(it->str()));
  return numbers;
}

void ExpectAgrees(const Check& check, const String& ours, const String& peer) {
  SCOPED_TRACE(String(check.group) + " tag " + IntToStr(check.tag) + ": ours '" + ours + "', peer '" + peer + "'");
  const double number = std::atof(peer.c_str());
  switch (check.kind) {
    case Text: EXPECT_EQ(ours, peer); break;
    case Integer: EXPECT_EQ(ours, peer); break;
    case Quoted: EXPECT_EQ(ours, "\"" + peer + "\""); break;
    case Number: EXPECT_NEAR(FirstNumber(ours), number, 5e-5 + std::fabs(number) * 1e-6); break;
    case Fraction: EXPECT_NEAR(FractionValue(ours), number, 1e-9 + std::fabs(number) * 1e-9); break;
    case ListKey: EXPECT_EQ(ours, LookupValueList(FetchTag(check.tag, KindOf(check.group)).ValueList, peer)); break;
    case FlashBits: EXPECT_EQ(ours, DecodeFlash(peer)); break;
    case GpsAngle: {
      const auto dms = Numbers(ours);
      ASSERT_EQ(dms.size(), 3u);
      EXPECT_NEAR(dms[0] + dms[1] / 60 + dms[2] / 3600, number, 0.5 / 3600 + 1e-9);
      break;
    }
    case GpsTime: EXPECT_EQ(Numbers(ours), Numbers(peer)); break;
  }
}

class CrossCheck : public ::testing::TestWithParam<const char*> {};

TEST_P(CrossCheck, StandardTagsAgreeWithThePeer) {
  const String fixture = GetParam();
  const std::vector<Reference> reference = LoadReference(fixture);
  ASSERT_GT(reference.size(), 30u);
  TimgData reader;
  ASSERT_TRUE(reader.ReadMetadata(test::FixturePath(fixture)));
  EXPECT_EQ(reader.ErrStr, "<none>");
  TImageInfo& info = *reader.ExifObj();
  if (reader.HasThumbnail()) info.ProcessThumbnail();

  int compared = 0;
  for (const Reference& ref : reference) {
    const bool exifGroup = ref.group == "IFD0" || ref.group == "ExifIFD" || ref.group == "GPS" || ref.group == "IFD1";
    if (!exifGroup || ref.tag == 0 || FetchTag(ref.tag, KindOf(ref.group)).Tag == 0) continue;
    const TTagEntry* ours = Ours(info, ref.group, ref.tag);
    ASSERT_NE(ours, nullptr) << ref.group << " " << ref.name << " is missing";
    for (const Check& check : kChecks) {
      if (check.group == ref.group && check.tag == ref.tag) {
        ExpectAgrees(check, ours->Data, ref.value);
        ++compared;
      }
    }
  }
  EXPECT_GE(compared, 30);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CrossCheck, ::testing::Values("intel.jpg", "motorola.jpg", "plain.tif"),
                         [](const auto& info) {
                           String name = info.param;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

TEST(CrossCheckIptc, KeywordsAndNames) {
  TimgData reader;
  ASSERT_TRUE(reader.ReadMetadata(test::FixturePath("intel.jpg")));
  ASSERT_NE(reader.IptcObj(), nullptr);
  TIPTCdata& iptc = *reader.IptcObj();
  iptc.ParseIPTCStrings(reader.IptcSegment->Data);
  int compared = 0;
  for (const Reference& ref : LoadReference("intel.jpg")) {
    if (ref.group != "IPTC" || ref.tag == 0) continue;
    const int at = [&] {
      for (int i = 0; i < iptc.Count(); ++i)
        if (iptc.GetTagByIndex(i).Tag == ref.tag) return i;
      return -1;
    }();
    ASSERT_GE(at, 0) << ref.name;
    String peer = ref.value;
    for (size_t p; (p = peer.find(", ")) != String::npos;) peer.erase(p + 1, 1);  // its list separator
    EXPECT_EQ(iptc.GetTagByIndex(at).Data, peer) << ref.name;
    ++compared;
  }
  EXPECT_EQ(compared, 4);
}

TEST(CrossCheckDump, ToolLines) {
  TimgData reader;
  ASSERT_TRUE(reader.ReadMetadata(test::FixturePath("intel.jpg")));
  const std::vector<String> lines = DumpMetadata(reader);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "exif\t271\tMake\tCanon");
  EXPECT_EQ(lines.back(), "ErrStr\t<none>");
  for (const char* expected : {"exif\t37385\tFlash\tOn, auto mode", "exif\t33434\tExposureTime\t1/250 sec",
                               "exif\t2\tGPSLatitude\t50 Degrees 30 Minutes 45 Seconds",
                               "thumbnail\t259\tCompression\tJpeg", "iptc\tKeywords = alpha", "iptc\tKeywords = beta",
                               "exif\t37377\tShutterSpeedValue\t0.0040 sec (1/250)"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
}

}  // namespace
