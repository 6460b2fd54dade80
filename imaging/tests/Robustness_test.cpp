// Damaged and hostile input: every read returns, nothing reads outside its buffer, and one
// bad entry costs that entry only. Several readers work at once on several threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <random>
#include <thread>

#include "imaging/ExifData.h"
#include "imaging/IptcData.h"
#include "imaging/MetadataDump.h"
#include "imaging/tests/TiffBuilder.h"

namespace {

using test::FindTag;
using test::Jpeg;
using test::ReadBytes;
using test::TiffBuilder;

struct Hostile {
  const char* name;
  std::function<void(TiffBuilder&)> build;
  std::function<void(const test::ReadResult&)> check;
  const char* jpegErr = "<none>";  // what the read of the JPEG form reports
};

// Every hostile directory gets a Make before and a Model after the damage.
String Wrap(const Hostile& h, bool motorola) {
  TiffBuilder b(motorola);
  b.Ascii(0, 271, "Before");
  h.build(b);
  b.Ascii(0, 272, "After");
  return b.Build();
}

void BothSurvive(const test::ReadResult& r) {
  EXPECT_EQ(r.exif().CameraMake, "Before");
  EXPECT_EQ(r.exif().CameraModel, "After");
}

TEST(ExifRobustness, HostileDirectories) {
  const Hostile cases[] = {
      {"ExifOffset to its own directory", [](TiffBuilder& b) { b.Literal(0, 34665, 4, 1, 8); }, BothSurvive},
      {"two directories pointing at each other",
       [](TiffBuilder& b) {
         const int exif = b.NewDirectory();
         b.SubDirectory(0, 34665, exif);
         b.Literal(exif, 34665, 4, 1, 8).Literal(exif, 40965, 4, 1, 8).Ascii(exif, 36867, "2000:01:01 00:00:00");
       },
       [](const test::ReadResult& r) {
         BothSurvive(r);
         EXPECT_EQ(r.exif().DateTime, "2000:01:01 00:00:00");
       }},
      {"GPSInfo far outside", [](TiffBuilder& b) { b.Literal(0, 34853, 4, 1, 0xFFFFFFF0); }, BothSurvive},
      // In a JPEG the header's bytes read as a directory far too large for the block.
      {"sub-directory inside the header", [](TiffBuilder& b) { b.Literal(0, 330, 4, 1, 2); }, BothSurvive,
       "Illegally sized directory"},
      {"huge SHORT count", [](TiffBuilder& b) { b.Literal(0, 258, 3, 0xFFFFFFFF, 8); }, BothSurvive},
      {"count that overflows 32 bits", [](TiffBuilder& b) { b.Literal(0, 282, 5, 0x20000000, 8); }, BothSurvive},
      {"value offset past the end", [](TiffBuilder& b) { b.Literal(0, 270, 2, 50, 0x7FFFFFF0); },
       [](const test::ReadResult& r) {
         BothSurvive(r);
         EXPECT_EQ(FindTag(r.exif().Tags(), 270), nullptr);
       }},
      {"Flash that is no number", [](TiffBuilder& b) { b.Rational(0, 37385, 1, 1); },
       [](const test::ReadResult& r) {
         BothSurvive(r);
         EXPECT_EQ(FindTag(r.exif().Tags(), 37385), nullptr);
       }},
      {"Windows text that is no number", [](TiffBuilder& b) { b.Numbers(0, 40091, 5, {1, 2, 3, 4}); }, BothSurvive},
      {"exposure time that is not finite", [](TiffBuilder& b) { b.SRational(0, 37377, -100000, 1); },
       [](const test::ReadResult& r) {
         BothSurvive(r);
         EXPECT_EQ(FindTag(r.exif().Tags(), 37377), nullptr);
       }},
      {"short UserComment", [](TiffBuilder& b) { b.Undefined(0, 37510, "ASCII"); },
       [](const test::ReadResult& r) {
         BothSurvive(r);
         EXPECT_EQ(r.exif().Comments, "");
         EXPECT_EQ(r.exif().LookupTagValue("UserComment"), "");
       }},
      {"format outside 1-12 and count 0",
       [](TiffBuilder& b) { b.Literal(0, 274, 13, 1, 1).Literal(0, 274, 0, 1, 1).Literal(0, 296, 3, 0, 2); },
       [](const test::ReadResult& r) {
         BothSurvive(r);
         EXPECT_EQ(FindTag(r.exif().Tags(), 274), nullptr);
         EXPECT_EQ(FindTag(r.exif().Tags(), 296), nullptr);
       }},
      {"a chain of sub-directories deeper than any camera writes",
       [](TiffBuilder& b) {
         int parent = 0;
         for (int i = 0; i < 40; ++i) {
           const int child = b.NewDirectory();
           b.SubDirectory(parent, 34665, child);
           parent = child;
         }
       },
       BothSurvive},
      {"a FLOAT and a DOUBLE", [](TiffBuilder& b) { b.Raw(0, 33434, 11, "abcd").Raw(0, 33437, 12, "abcdefgh"); },
       [](const test::ReadResult& r) {
         EXPECT_EQ(r.exif().LookupTagValue("ExposureTime"), "-9999.99 sec");
         EXPECT_EQ(r.exif().LookupTagValue("FNumber"), "F0.0");
       }},
  };
  for (const Hostile& h : cases) {
    for (bool motorola : {false, true}) {
      SCOPED_TRACE(String(h.name) + (motorola ? " (MM)" : " (II)"));
      const auto jpeg = ReadBytes(Jpeg({test::ExifSection(Wrap(h, motorola))}));
      ASSERT_TRUE(jpeg.ok);
      EXPECT_EQ(jpeg.reader->ErrStr, h.jpegErr);
      h.check(jpeg);
      const auto tiff = ReadBytes(Wrap(h, motorola), "hostile.tif");
      ASSERT_TRUE(tiff.ok);
      h.check(tiff);
    }
  }
}

TEST(ExifRobustness, DirectoryTooLargeStopsThatDirectoryOnly) {
  TiffBuilder b(false);
  const int exif = b.NewDirectory();
  b.Ascii(0, 271, "Make").SubDirectory(0, 34665, exif);
  b.Ascii(exif, 36867, "2000:01:01 00:00:00");
  String tiff = b.Build();
  const size_t exifAt = tiff.find(String("\x01\x00\x03\x90", 4));  // its entry count
  tiff[exifAt] = tiff[exifAt + 1] = '\xFF';
  const auto r = ReadBytes(Jpeg({test::ExifSection(tiff)}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.exif().CameraMake, "Make");
  EXPECT_EQ(r.exif().DateTime, "");
  EXPECT_EQ(r.reader->ErrStr, "Illegally sized directory");  // the lost tags are not passed off as clean

  // The same in a TIFF file, whose offsets inside the 8-byte header are refused.
  TiffBuilder t(false);
  t.Ascii(0, 271, "Make").Literal(0, 270, 2, 20, 4);
  const auto tr = ReadBytes(t.Build(), "x.tif");
  EXPECT_EQ(tr.exif().CameraMake, "Make");
  EXPECT_EQ(FindTag(tr.exif().Tags(), 270), nullptr);
}

TEST(ExifRobustness, JpegSectionsWithBadLengths) {
  const String exif = test::ExifSection(TiffBuilder(false).Ascii(0, 271, "M").Build());
  const String cases[] = {
      String("\xFF\xD8\xFF\xE1\x00\x00", 6),
      String("\xFF\xD8\xFF\xE1\x00\x01", 6),
      String("\xFF\xD8\xFF\xE1\x00\x02", 6),
      String("\xFF\xD8\xFF\xE1\xFF\xFF" "Exif", 10),
      String("\xFF\xD8\xFF\xFF\xFF\xFF", 6),
      String("\xFF\xD8", 2),
      String("\xFF\xD8\xFF\xD9", 4),
      String("\xFF\xD8") + test::Section(0xE1, "Exif") + "\xFF\xD9",
      String("\xFF\xD8") + test::Section(0xE1, String("Exif\0\0XX", 8)) + "\xFF\xD9",
      String("\xFF\xD8") + test::Section(0xE1, String("Exif\0\0II", 8)) + "\xFF\xD9",
      String("\xFF\xD8") + test::Section(0xFE, "") + "\xFF\xD9",
  };
  // Each gives its outcome: found or not, and the text that says why.
  const struct {
    bool ok;
    const char* err;
  } outcomes[] = {
      {false, "Not an EXIF file"},  // a length below 2
      {false, "Not an EXIF file"},
      {false, "Not an EXIF file"},  // an APP1 with nothing but its length, then the end
      {false, "Not an EXIF file"},  // cut inside the section
      {false, "Not an EXIF file"},
      {false, "Not an EXIF file"},
      {false, "Not an EXIF file"},  // EOI at once: no metadata
      {true, "<none>"},  // an APP1 of another kind is no error
      {true, "Invalid Exif alignment marker"},
      {true, "Illegally sized directory"},
      {true, "<none>"},  // an empty comment is metadata
  };
  static_assert(std::size(outcomes) == std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const auto r = ReadBytes(cases[i]);
    EXPECT_EQ(r.ok, outcomes[i].ok);
    EXPECT_EQ(r.reader->ErrStr, outcomes[i].err);
    EXPECT_EQ(r.reader->GetCommentText(), "");
    EXPECT_EQ(DumpMetadata(*r.reader).back(), "ErrStr\t" + String(outcomes[i].err));
  }
  EXPECT_TRUE(ReadBytes(String("\xFF\xD8") + exif + "\xFF\xD9").ok);
}

bool KnownOutcome(const String& err) {
  for (const char* text : {"<none>", "Not an EXIF file", "Illegal Exif construction",
                           "Invalid Exif alignment marker", "Illegally sized directory"})
    if (err == text) return true;
  return err.rfind("Error Detected = ", 0) == 0 || err.rfind("Maker note tag ", 0) == 0;
}

// Every prefix of a file, and the file with a few bytes overwritten: reading and listing
// must return, and each read reports a known outcome: "<none>" only for a read that found
// metadata and whose summary shows no error. The untouched file reads clean. Read from
// memory, so that thousands of reads take a moment.
void Batter(const String& bytes, const String& extension) {
  ASSERT_FALSE(bytes.empty());
  TimgData reader;
  int wrong = 0;
  String firstWrong;
  auto read = [&](const String& data) {
    TStringStream stream(data);
    const bool ok = reader.ReadMetadata(stream, extension);
    const bool clean = reader.ErrStr == "<none>";
    const String summary = reader.ExifObj() ? reader.ExifObj()->ToLongString() : String();
    const bool sound = KnownOutcome(reader.ErrStr) && (!ok || reader.HasMetaData()) && (ok || !clean) &&
                       (!clean || summary.find("Exif Error") == String::npos);
    (void)DumpMetadata(reader);  // the listing walks the thumbnail directory too: it must return
    if (!sound && wrong++ == 0) firstWrong = reader.ErrStr + " after " + IntToStr(data.size()) + " bytes";
    return ok && clean;
  };
  EXPECT_TRUE(read(bytes)) << reader.ErrStr;
  for (size_t n = 0; n <= bytes.size(); ++n) read(bytes.substr(0, n));
  std::mt19937 random(1234);
  for (int round = 0; round < 500; ++round) {
    String damaged = bytes;
    const int changes = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < changes; ++i) damaged[random() % damaged.size()] = static_cast<char>(random());
    read(damaged);
  }
  EXPECT_EQ(wrong, 0) << firstWrong;
}

String CanonJpeg() {
  TiffBuilder b(true);
  const int exif = b.NewDirectory(), gps = b.NewDirectory(), ifd1 = b.NewDirectory(), note = b.NewDirectory();
  b.Ascii(0, 271, "Canon").SubDirectory(0, 34665, exif).SubDirectory(0, 34853, gps).Link(0, ifd1);
  b.Undefined(exif, 36864, "0220").MakerNote(exif, note, "").Undefined(exif, 37510, String("ASCII\0\0\0hi", 10));
  b.Numbers(note, 1, 3, {22, 1, 0, 3, 2, 0, 0, 1}).Long(note, 8, 1234).Ascii(note, 6, "IMG").Numbers(note, 15, 3, {3, 257, 1, 2});
  b.Numbers(gps, 2, 5, {50, 1, 30, 1, 0, 1});
  b.Short(ifd1, 259, 6).Undefined(ifd1, 0xC000, String(300, 'j'));
  return Jpeg({test::Section(0xE0, "JFIF"), test::ExifSection(b.Build()),
               test::IptcSection(test::IptcDataset(2, 25, "k") + test::IptcDataset(2, 5, "n")),
               test::Section(0xFE, "comment")});
}

TEST(ExifRobustness, TruncatedAndDamagedFiles) {
  Batter(CanonJpeg(), ".jpg");
  Batter(test::LoadFile(test::FixturePath("intel.jpg")), ".jpg");
  Batter(test::LoadFile(test::FixturePath("motorola.jpg")), ".jpg");
  Batter(test::LoadFile(test::FixturePath("plain.tif")), ".tif");
}

TEST(ExifRobustness, ReadersOnSeveralThreads) {
  const String canon = CanonJpeg();
  test::TempFile canonFile("threads.jpg", canon);
  const std::vector<String> files = {canonFile.Path(), test::FixturePath("intel.jpg"),
                                     test::FixturePath("motorola.jpg"), test::FixturePath("plain.tif")};
  std::vector<std::vector<String>> expected;
  for (const String& f : files) {
    TimgData reader;
    ASSERT_TRUE(reader.ReadMetadata(f)) << f;
    expected.push_back(DumpMetadata(reader));
  }
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      TimgData reader;
      for (int round = 0; round < 30; ++round) {
        const size_t i = static_cast<size_t>(t + round) % files.size();
        reader.ReadMetadata(files[i]);
        if (DumpMetadata(reader) != expected[i]) ++mismatches;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(mismatches.load(), 0);
  // The maker settings went to each reader's own store.
  const auto& canonLines = expected[0];
  EXPECT_NE(std::find(canonLines.begin(), canonLines.end(), "maker\t0\tMacro mode\tMacro"), canonLines.end());
}

}  // namespace
