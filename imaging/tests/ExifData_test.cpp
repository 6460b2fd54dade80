#include "imaging/ExifData.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/IptcData.h"
#include "imaging/tests/TiffBuilder.h"

namespace {

using test::FindTag;
using test::Jpeg;
using test::ReadBytes;
using test::TiffBuilder;

// IFD0, an EXIF directory and a GPS directory with the usual camera tags.
String CameraTiff(bool motorola) {
  TiffBuilder b(motorola);
  const int exif = b.NewDirectory(), gps = b.NewDirectory();
  b.Ascii(0, 271, "Canon")
      .Ascii(0, 272, "Canon PowerShot A80")
      .Short(0, 274, 6)
      .Short(0, 262, 2)
      .Rational(0, 282, 72, 1)
      .Short(0, 296, 2)
      .Ascii(0, 306, "2004:05:06 07:08:09")
      .Numbers(0, 258, 3, std::vector<int64_t>(20, 8))
      .SubDirectory(0, 34665, exif)
      .SubDirectory(0, 34853, gps);
  b.Rational(exif, 33434, 1, 250)
      .Rational(exif, 33437, 28, 10)
      .Short(exif, 34855, 100)
      .Undefined(exif, 36864, "0230")
      .Ascii(exif, 36867, "2004:05:06 07:08:10")
      .Undefined(exif, 37121, String("\x01\x02\x03\x00", 4))
      .SRational(exif, 37377, 8, 1)
      .SRational(exif, 37380, -1, 3)
      .Short(exif, 37383, 5)
      .Short(exif, 37385, 25)
      .Rational(exif, 37386, 74, 10)
      .Undefined(exif, 37510, String("ASCII\0\0\0 Hello there \0", 23))
      .Raw(exif, 40091, 1, String("T\0e\0s\0t\0", 8))
      .Short(exif, 40961, 1)
      .Long(exif, 40962, 640)
      .Long(exif, 40963, 480)
      .Raw(exif, 41728, 1, String("\x03", 1))
      .Raw(exif, 41729, 7, String("\x01", 1))
      .Raw(exif, 50000, 2, "not in the table");
  b.Numbers(gps, 0, 1, {2, 2, 0, 0})
      .Ascii(gps, 1, "N")
      .Numbers(gps, 2, 5, {50, 1, 3075, 100, 0, 1})
      .Raw(gps, 5, 1, String("\0", 1))
      .Rational(gps, 6, 241, 2)
      .Numbers(gps, 7, 5, {14, 1, 5, 1, 30, 1});
  return b.Build();
}

class BothByteOrders : public ::testing::TestWithParam<bool> {};

TEST_P(BothByteOrders, ValueTextsOfACameraFile) {
  const auto r = ReadBytes(Jpeg({test::ExifSection(CameraTiff(GetParam()))}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.reader->ErrStr, "<none>");
  EXPECT_EQ(r.reader->MotorolaOrder, GetParam());
  const TImageInfo& info = r.exif();
  struct Case {
    uint16_t tag;
    const char* name;
    String text;
  } cases[] = {
      {271, "Make", "Canon"},
      {274, "Orientation", "CounterClockwise 90\xB0"},
      {262, "PhotometricInterpretation", ""},
      {282, "XResolution", "72.00"},
      {296, "ResolutionUnit", "Inch"},
      {258, "BitsPerSample", "8, 8, 8, 8, 8, 8, 8, 8"},
      {33434, "ExposureTime", "1/250 sec"},
      {33437, "FNumber", "F2.8"},
      {34855, "ISOSpeedRatings", "100"},
      {36864, "ExifVersion", "\"0230\""},
      {37121, "ComponentsConfiguration", "YCbCr"},
      {37377, "ShutterSpeedValue", "0.0039 sec (1/256)"},
      {37380, "ExposureBiasValue", "-1/3"},
      {37383, "MeteringMode", "MultiSegment"},
      {37385, "Flash", "On, auto mode"},
      {37386, "FocalLength", " 7.40 mm"},
      {37510, "UserComment", "Hello there"},
      {40091, "Title", "Test"},
      {40961, "ColorSpace", "sRGB"},
      {40962, "ExifImageWidth", "640"},
      {41728, "FileSource", "Digital Still Camera"},
      {41729, "SceneType", "\".\""},  // UNDEFINED values are quoted, never looked up
      {1, "GPSLatitudeRef", "N"},
      {2, "GPSLatitude", "50 Degrees 30 Minutes 45 Seconds"},
      {5, "GPSAltitudeRef", "Sealevel"},
      {6, "GPSAltitude", "241/2"},
      {7, "GPSTimeStamp", "14:5:30"},
  };
  for (const Case& c : cases) {
    const TTagEntry* e = FindTag(info.Tags(), c.tag, 0, c.name);
    ASSERT_NE(e, nullptr) << c.name;
    EXPECT_EQ(e->Data, c.text) << c.name;
  }
  EXPECT_EQ(FindTag(info.Tags(), 0), nullptr);      // GPSVersionID: tag 0 is never listed
  EXPECT_EQ(FindTag(info.Tags(), 50000), nullptr);  // not in the table
  EXPECT_EQ(info.CameraMake, "Canon");
  EXPECT_EQ(info.CameraModel, "Canon PowerShot A80");
  EXPECT_EQ(info.DateTime, "2004:05:06 07:08:10");  // DateTimeOriginal comes later
  EXPECT_EQ(info.ExifVersion, "0230");
  EXPECT_EQ(info.Width, 640);
  EXPECT_EQ(info.Height, 480);
  EXPECT_EQ(info.FlashUsed, 25);
  EXPECT_EQ(info.Comments, "Hello there");
  EXPECT_EQ(info.LookupTagValue("exposuretime"), "1/250 sec");
  EXPECT_EQ(info.GetTagInt("ISOSpeedRatings"), 100);
  EXPECT_DOUBLE_EQ(info.GetTagFloat("FNumber"), 2.8);
  EXPECT_EQ(info.GetTagFloat("NoSuchTag"), 0);
  const TTagEntry fn = info.GetTag("FNumber");
  EXPECT_EQ(fn.Format, 5);
  EXPECT_EQ(fn.Size, 8);
  EXPECT_EQ(r.reader->DataBuffer.substr(static_cast<size_t>(fn.Position), 8), fn.Raw);
}

INSTANTIATE_TEST_SUITE_P(ExifReader, BothByteOrders, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Motorola" : "Intel"; });

TEST(ExifReader, SummariesAndIterators) {
  const auto r = ReadBytes(Jpeg({test::ExifSection(CameraTiff(false))}), "summary.jpg");
  TImageInfo& info = r.exif();
  EXPECT_EQ(info.ToShortString().substr(info.ToShortString().find(' ')), " 0k 2004:05:06 640w 480h  Flash");
  const String longText = info.ToLongString();
  EXPECT_NE(longText.find("Make (Model): Canon (Canon PowerShot A80)\r\nDimensions: 640 x 480"), String::npos);
  EXPECT_NE(longText.find("Exposure Time: 1/250 sec\r\nFocal Length:  7.40 mm\r\n"), String::npos);
  EXPECT_NE(longText.find("FNumber: F2.8\r\nISO: 100\r\nFlash: Yes"), String::npos);

  TTagEntry e;
  int count = 0;
  while (info.GetNextTag(0, e)) ++count;
  EXPECT_EQ(count, static_cast<int>(info.Tags().size()));
  EXPECT_FALSE(info.GetNextTag(0, e));
  EXPECT_FALSE(info.GetNextTag(0, e));
  EXPECT_EQ(e.Tag, 0);
  info.ResetTagIterator();
  EXPECT_TRUE(info.GetNextTag(0, e));
  EXPECT_EQ(e.Name, "Make");
  info.ResetTagIterator();
  EXPECT_FALSE(info.GetNextTag(1, e));  // no maker tags
}

TEST(ExifReader, GetTagIntRoundsHalvesToEven) {
  TiffBuilder b(false);
  b.Rational(0, 37390, 5, 2).Rational(0, 41486, 7, 2).Rational(0, 37391, 7, 2);
  const auto r = ReadBytes(Jpeg({test::ExifSection(b.Build())}));
  EXPECT_EQ(r.exif().GetTagInt("FocalPlaneXResolution"), 2);  // the first stored of the two
  EXPECT_EQ(r.exif().GetTagInt("FocalPlaneYResolution"), 4);
}

TEST(ExifReader, FocalLengthIn35mmFilm) {
  TiffBuilder b(false);
  b.Long(0, 40962, 3000).Long(0, 40963, 2000).Rational(0, 37386, 10, 1).Short(0, 41488, 2)
      .Rational(0, 41486, 3000 * 254, 236).Rational(0, 41487, 2000 * 254, 157);
  auto r = ReadBytes(Jpeg({test::ExifSection(b.Build())}));
  const TTagEntry f35 = r.exif().GetTag("FocalLengthIn35mmFilm");
  EXPECT_EQ(f35.Tag, 41989);
  EXPECT_EQ(f35.Desc, "Focal Length in 35mm Film");
  EXPECT_EQ(f35.Data, "15.27");  // a 23.6 x 15.7 mm sensor
  EXPECT_EQ(f35.FormatText, "%s mm");
  EXPECT_EQ(f35.Format, 10);

  TiffBuilder plain(false);
  plain.Long(0, 40962, 3000).Rational(0, 37386, 10, 1).Short(0, 296, 2);
  r = ReadBytes(Jpeg({test::ExifSection(plain.Build())}));
  EXPECT_EQ(r.exif().LookupTag("FocalLengthin35mmFilm"), -1);

  TiffBuilder given(false);
  given.Long(0, 40962, 3000).Long(0, 40963, 2000).Rational(0, 37386, 10, 1).Short(0, 41488, 2)
      .Rational(0, 41486, 3000, 1).Rational(0, 41487, 2000, 1).Short(0, 41989, 50);
  r = ReadBytes(Jpeg({test::ExifSection(given.Build())}));
  EXPECT_EQ(r.exif().LookupTagValue("FocalLengthin35mmFilm"), "50.00 mm");
  EXPECT_EQ(r.exif().LookupTag("FocalLengthin35mmFilm"), static_cast<int>(r.exif().Tags().size()) - 1);
}

TEST(ExifReader, ThumbnailDirectory) {
  TiffBuilder b(true);
  const int ifd1 = b.NewDirectory();
  b.Ascii(0, 271, "Maker").Link(0, ifd1);
  b.Short(ifd1, 259, 6).Long(ifd1, 513, 1234).Undefined(ifd1, 0xC000, String(400, 'j'));
  auto r = ReadBytes(Jpeg({test::ExifSection(b.Build())}));
  ASSERT_TRUE(r.reader->HasThumbnail());
  TImageInfo& info = r.exif();
  EXPECT_GT(info.ThumbnailStart, 21);
  info.ProcessThumbnail();
  EXPECT_EQ(info.ThumbnailCompression, 6);
  TTagEntry e;
  ASSERT_TRUE(info.GetNextThumbnailTag(0, e));
  EXPECT_EQ(e.Name, "Compression");
  EXPECT_EQ(e.Data, "Jpeg");
  ASSERT_TRUE(info.GetNextThumbnailTag(0, e));
  EXPECT_EQ(e.Data, "1234");
  EXPECT_FALSE(info.GetNextThumbnailTag(0, e));
  EXPECT_EQ(FindTag(info.Tags(), 259), nullptr);  // thumbnail tags stay apart

  TiffBuilder small(true);
  const int tiny = small.NewDirectory();
  small.Ascii(0, 271, "Maker").Link(0, tiny);
  small.Short(tiny, 259, 6);
  r = ReadBytes(Jpeg({test::ExifSection(small.Build())}));
  EXPECT_FALSE(r.reader->HasThumbnail());  // 256 bytes or less remain
}

TEST(ExifReader, JpegSectionRules) {
  const String exif = test::ExifSection(CameraTiff(false));
  const String app2 = test::Section(0xE2, "ICC_PROFILE");
  const String com = test::Section(0xFE, "a comment");

  auto r = ReadBytes(Jpeg({test::Section(0xE1, "http://ns.adobe.com/xap/1.0/ <x/>"), exif}));
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.reader->HasExifSegment());
  EXPECT_TRUE(r.exif().Tags().empty());  // the first APP1 is taken, whatever it holds
  EXPECT_EQ(r.reader->ErrStr, "<none>");  // and another application's data is no error
  EXPECT_EQ(r.exif().ToShortString().find("Exif Error"), String::npos) << r.exif().ToShortString();

  r = ReadBytes(Jpeg({com, app2, app2, app2, app2, exif}));
  EXPECT_TRUE(r.ok);
  EXPECT_FALSE(r.reader->HasExifSegment());  // an APP1 as sixth section
  EXPECT_EQ(r.reader->GetCommentText(), "a comment");

  r = ReadBytes(Jpeg({app2, app2, app2, app2, exif}));
  EXPECT_FALSE(r.ok);  // five sections without metadata end the scan
  EXPECT_EQ(r.reader->ErrStr, "Not an EXIF file");

  r = ReadBytes(Jpeg({test::Section(0xE0, "JFIF"), exif, test::IptcSection(test::IptcDataset(2, 25, "k"))}));
  EXPECT_TRUE(r.ok);
  ASSERT_NE(r.reader->IptcObj(), nullptr);
  EXPECT_NE(r.reader->HeaderSegment, nullptr);

  TiffBuilder zero(false);
  zero.Ascii(0, 271, "Zero");
  String tiff = zero.Build();
  tiff.replace(4, 4, String(4, '\0'));  // first-directory offset 0 means 8
  r = ReadBytes(Jpeg({test::ExifSection(tiff)}));
  EXPECT_EQ(r.exif().CameraMake, "Zero");
}

// A read that finds metadata says what really failed in its steps; "<none>" only when
// nothing did.
TEST(ExifReader, ErrorTextsOfTheReadingSteps) {
  String tooLarge = CameraTiff(false);
  tooLarge[8] = tooLarge[9] = '\xFF';  // IFD0's entry count
  TiffBuilder maker(true);
  const int exif = maker.NewDirectory(), note = maker.NewDirectory();
  maker.Ascii(0, 271, "Canon").SubDirectory(0, 34665, exif);
  maker.MakerNote(exif, note, "");
  maker.Long(note, 8, 77);
  String makerTiff = maker.Build();
  const size_t noteCount = makerTiff.find(test::Bytes16(1, true) + test::Bytes16(8, true));
  ASSERT_NE(noteCount, String::npos);
  makerTiff.replace(noteCount, 2, test::Bytes16(0xFFFF, true));  // entries past the note's end
  const struct {
    const char* name;
    String section;
    const char* err;
  } cases[] = {
      {"a clean block", test::ExifSection(CameraTiff(true)), "<none>"},
      {"directory count 0xFFFF", test::ExifSection(tooLarge), "Illegally sized directory"},
      {"no Exif header: another application's data", test::Section(0xE1, "Exif"), "<none>"},
      {"no byte-order mark", test::Section(0xE1, String("Exif\0\0XX", 8)), "Invalid Exif alignment marker"},
      {"no directory", test::Section(0xE1, String("Exif\0\0II", 8)), "Illegally sized directory"},
      {"maker note cut short", test::ExifSection(makerTiff), "Error Detected = "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto r = ReadBytes(Jpeg({c.section}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.reader->ErrStr.substr(0, std::strlen(c.err)), c.err) << r.reader->ErrStr;
    const String summary = r.exif().ToShortString();
    EXPECT_EQ(summary.find(" Exif Error: ") != String::npos, String(c.err) != "<none>") << summary;
  }
}

// An ASCII value loses its last byte only when that byte is its terminator.
TEST(ExifReader, AsciiValuesWithAndWithoutTerminator) {
  const struct {
    String stored;
    String text;
  } cases[] = {
      {"HTC", "HTC"},                            // inline, no terminator counted
      {String("HT\0", 3), "HT"},                 // inline, terminated
      {"RAPH800", "RAPH800"},                    // at an offset, no terminator
      {String("RAPH800\0", 8), "RAPH800"},       // at an offset, terminated
      {String("\0", 1), ""},                     // only the terminator
      {"X", "X"},
  };
  for (bool motorola : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.text + (motorola ? " (MM)" : " (II)"));
      TiffBuilder b(motorola);
      b.Raw(0, 271, 2, c.stored).Raw(0, 305, 2, c.stored);
      const auto r = ReadBytes(Jpeg({test::ExifSection(b.Build())}));
      ASSERT_TRUE(r.ok);
      EXPECT_EQ(r.exif().CameraMake, c.text);
      EXPECT_EQ(r.exif().LookupTagValue("Software"), c.text);
    }
  }
}

TEST(ExifReader, FileNamesAndOutcomes) {
  const String jpeg = Jpeg({test::ExifSection(CameraTiff(false))});
  struct Case {
    const char* name;
    bool ok;
    const char* err;
  } cases[] = {
      {"UPPER.JPG", true, "<none>"}, {"x.jpeg", true, "<none>"}, {"x.jpe", true, "<none>"},
      {"x.png", false, "Not an EXIF file"}, {"noext", false, "Not an EXIF file"},
  };
  for (const Case& c : cases) {
    const auto r = ReadBytes(jpeg, c.name);
    EXPECT_EQ(r.ok, c.ok) << c.name;
    EXPECT_EQ(r.reader->ErrStr, c.err) << c.name;
  }
  TimgData reader;
  EXPECT_FALSE(reader.ReadMetadata("Z:\\no\\such\\file.jpg"));
  EXPECT_EQ(reader.ErrStr, "");
  EXPECT_EQ(reader.ExifObj(), nullptr);
  EXPECT_EQ(ReadBytes("GIF89a", "x.jpg").reader->ErrStr, "Not an EXIF file");

  // A reader is reusable: a second read starts afresh.
  test::TempFile good("good.jpg", jpeg), bad("bad.jpg", "nothing");
  ASSERT_TRUE(reader.ReadMetadata(good.Path()));
  EXPECT_FALSE(reader.ReadMetadata(bad.Path()));
  EXPECT_EQ(reader.ExifObj(), nullptr);
  EXPECT_FALSE(reader.HasMetaData());
}

TEST(ExifReader, TruncatedJpegKeepsWhatWasRead) {
  String jpeg = String("\xFF\xD8") + test::ExifSection(CameraTiff(true)) + test::Section(0xE2, "more");
  jpeg.resize(jpeg.size() - 2);
  const auto r = ReadBytes(jpeg);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.reader->ErrStr, "Not an EXIF file");
  ASSERT_NE(r.reader->ExifObj(), nullptr);
  EXPECT_EQ(r.exif().CameraMake, "Canon");
  const String shortText = r.exif().ToShortString();
  EXPECT_EQ(shortText.substr(shortText.find(' ')), " Exif Error: Not an EXIF file");
  EXPECT_EQ(r.exif().ToLongString().substr(0, 11), "File Name: ");
}

TEST(ExifReader, OptionsChooseTextsOrLists) {
  test::TempFile file("options.jpg", Jpeg({test::ExifSection(CameraTiff(false))}));
  TimgData textsOnly(2), listsOnly(4);
  ASSERT_TRUE(textsOnly.ReadMetadata(file.Path()));
  EXPECT_TRUE(textsOnly.ExifObj()->Tags().empty());
  EXPECT_EQ(textsOnly.ExifObj()->CameraMake, "Canon");
  EXPECT_EQ(textsOnly.ExifObj()->Comments, "Hello there");
  ASSERT_TRUE(listsOnly.ReadMetadata(file.Path()));
  const TTagEntry make = listsOnly.ExifObj()->GetTag("Make");
  EXPECT_EQ(make.Tag, 271);
  EXPECT_EQ(make.Data, "");
  EXPECT_EQ(make.Raw, String("Canon\0", 6));
}

TEST(ExifReader, TiffFiles) {
  for (bool motorola : {false, true}) {
    TiffBuilder b(motorola);
    const int exif = b.NewDirectory();
    b.Long(0, 256, 40).Long(0, 257, 30).Ascii(0, 271, "NIKON CORPORATION").Rational(0, 282, 300, 1)
        .SubDirectory(0, 34665, exif);
    b.Rational(exif, 33434, 1, 60).Ascii(exif, 36867, "2001:02:03 04:05:06");
    for (const char* name : {"x.tif", "x.TIFF", "x.nef"}) {
      const auto r = ReadBytes(b.Build(), name);
      ASSERT_TRUE(r.ok) << name;
      EXPECT_TRUE(r.reader->TiffFormat == false);
      const TImageInfo& info = r.exif();
      EXPECT_TRUE(info.TiffFormat);
      EXPECT_EQ(info.CameraMake, "NIKON CORPORATION");
      EXPECT_EQ(info.Width, 40);
      EXPECT_EQ(info.LookupTagValue("XResolution"), "300.00");
      EXPECT_EQ(info.LookupTagValue("ExposureTime"), "1/60 sec");
      EXPECT_EQ(info.DateTime, "2001:02:03 04:05:06");
      EXPECT_EQ(info.ThumbnailStart, 0);
      EXPECT_EQ(r.reader->DataBuffer.size(), b.Build().size() - 8);  // the real length
    }
  }
  // The header's directory offset is not used: the first directory is taken at 8.
  TiffBuilder b(false);
  b.Ascii(0, 271, "Maker");
  String tiff = b.Build();
  tiff.replace(4, 4, test::Bytes32(100, false));
  EXPECT_EQ(ReadBytes(tiff, "x.tif").exif().CameraMake, "Maker");
  EXPECT_FALSE(ReadBytes("PK", "x.tif").ok);
  EXPECT_TRUE(ReadBytes("II*\0", "x.tif").ok);
}

}  // namespace
