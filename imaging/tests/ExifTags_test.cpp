#include "imaging/ExifTags.h"

#include <gtest/gtest.h>

#include "framework/core/formatsettings.h"
#include "imaging/TextFields.h"

namespace {

TEST(ExifTagTables, RowCountsAndTerminator) {
  ASSERT_EQ(TagTable().size(), 251u);
  EXPECT_EQ(TagTable().back().Name, "Unknown");
  EXPECT_EQ(TagTable().back().Tag, 0);
  EXPECT_EQ(TagTable().back().Desc, "Unknown");
  EXPECT_EQ(GpsTagTable().size(), 31u);
  EXPECT_EQ(TagTable().front().Name, "InteroperabilityIndex");
  EXPECT_EQ(TagTable()[249].Name, "ImageUniqueID");
}

TEST(ExifTagTables, SpotRows) {
  struct Case {
    uint16_t tag;
    int kind;
    const char* name;
    const char* desc;
  } cases[] = {
      {290, dkMain, "GrayReponseUnit", "Gray Reponse Unit"},
      {40962, dkMain, "ExifImageWidth", "Exif Image Width"},
      {34855, dkMain, "ISOSpeedRatings", "ISOSpeed Ratings"},
      {531, dkThumbnail, "YCbCrPositioning", "YCb Cr Positioning"},
      {33437, dkMain, "FNumber", "FNumber"},
      {33723, dkMain, "IPTC/NAA", "IPTC/NAA"},
      {41494, dkMain, "TIFF/EPStandardID", "TIFF/EPStandardID"},
      {37398, dkMain, "TIFF/EPStandardID", "TIFF/ EPStandard ID"},
      {41989, dkMain, "FocalLengthin35mmFilm", "Focal Length in 35mm Film"},
      {2, dkMain, "InteroperabilityVersion", "Interoperability Version"},
      {2, dkGps, "GPSLatitude", "GPSLatitude"},
      {1, dkGps, "GPSLatitudeRef", "GPSLatitude Ref"},
      {23, dkGps, "GPSDestBearingkRef", "GPSDest Bearingk Ref"},
      {0, dkGps, "GPSVersionID", "GPSVersion ID"},
  };
  for (const Case& c : cases) {
    const TTagEntry e = FetchTag(c.tag, c.kind);
    EXPECT_EQ(e.Tag, c.tag) << c.name;
    EXPECT_EQ(e.Name, c.name);
    EXPECT_EQ(e.Desc, c.desc);
  }
  EXPECT_EQ(FetchTag(274, dkMain).ValueList, "1:Normal,3:Rotated 180\xB0,6:CounterClockwise 90\xB0,8:Clockwise 90\xB0");
  EXPECT_EQ(FetchTag(5, dkGps).ValueList, "0:Sealevel");
  EXPECT_EQ(FetchTag(33434, dkMain).FormatText, "%s sec");
  EXPECT_EQ(FetchTag(37386, dkMain).FormatText, "%5.2f mm");
  EXPECT_EQ(FetchTag(37385, dkMain).Callback, &DecodeFlash);
  EXPECT_EQ(FetchTag(7, dkGps).Callback, &DecodeGpsTime);
  EXPECT_EQ(FetchTag(37390, dkMain).Name, FetchTag(41486, dkMain).Name);
}

TEST(ExifTagTables, UnknownTagsGiveTheDefaultEntry) {
  const std::pair<int, int> cases[] = {{0, dkMain}, {1234, dkMain}, {31, dkGps}, {271, 3}, {271, dkGps}};
  for (auto [tag, kind] : cases) {
    const TTagEntry e = FetchTag(static_cast<uint16_t>(tag), kind);
    EXPECT_EQ(e.Tag, 0);
    EXPECT_EQ(e.Name, "Unknown");
    EXPECT_EQ(e.Desc, "");
  }
}

TEST(ExifTagTables, BytesPerFormat) {
  const int expected[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 0};
  for (int f = 0; f <= 13; ++f) EXPECT_EQ(BytesPerFormat(f), expected[f]) << f;
  EXPECT_EQ(BytesPerFormat(-1), 0);
  EXPECT_EQ(BytesPerFormat(65535), 0);
}

TEST(ExifText, SplitCamelCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"ExifImageWidth", "Exif Image Width"}, {"ISOSpeedRatings", "ISOSpeed Ratings"},
      {"FNumber", "FNumber"},                 {"GPSLatitudeRef", "GPSLatitude Ref"},
      {"YCbCrPositioning", "YCb Cr Positioning"}, {"", ""}, {"a", "a"}, {"aB", "aB"}, {"abC", "ab C"},
  };
  for (auto [in, out] : cases) EXPECT_EQ(SplitCamelCase(in), out) << in;
}

TEST(ExifText, LookupValueList) {
  struct Case {
    const char* list;
    const char* key;
    const char* result;
  } cases[] = {
      {"1:Monochrome, 2:RGB, 6:YCbCr", "1", "Monochrome"},
      {"1:Monochrome, 2:RGB, 6:YCbCr", "2", ""},  // ", 2:" never follows a bare comma
      {"1:Normal,3:Rotated", "2", ""},
      {"1:Normal,3:Rotated", " 3 ", "Rotated"},
      {"1:SQ,2:HQ", "", ""},
      {"6:SXGA Fine10:2 Mpixel Basic,11:x", "10", ""},
      {"6:SXGA Fine10:2 Mpixel Basic,11:x", "6", "SXGA Fine10:2 Mpixel Basic"},
      {"65535:Low,0:Normal", "65535", "Low"},
  };
  for (const Case& c : cases) EXPECT_EQ(LookupValueList(c.list, c.key), c.result) << c.key;
}

TEST(ExifText, ParseRationalAndPrintable) {
  const std::pair<const char*, double> cases[] = {
      {"3/4", 0.75}, {"1 3/4", 1.75}, {" 8/1 ", 8}, {"5", 0}, {"1/0", 0}, {"a/b", 0}, {"-1/1", -1}, {"", 0},
      {"1/2, 3/4", 0},
  };
  for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(ParseRational(text), value) << text;
  EXPECT_EQ(MakePrintable(String("a\x01\tb\x7F\xB0", 6)), String("a..b\x7F\xB0"));
  EXPECT_EQ(MakePrintable(String(60, 'x')).size(), 50u);
}

TEST(ExifText, FloatTextsUseADotInEveryLocale) {
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  ScopedFormatSettings pinned(comma);
  EXPECT_EQ(FormatFloatText("%5.2f mm", 7.4), " 7.40 mm");
  EXPECT_EQ(FormatFloatText("F%0.1f", 2.8), "F2.8");
  EXPECT_EQ(FormatFloatText("%4.4f sec", 0.00390625), "0.0039 sec");
  EXPECT_EQ(FormatFloatText("%0.0f", 45.000000001), "45");
  EXPECT_EQ(FormatFloatText("%f", 1.0), "1.00");
  EXPECT_THROW(FormatFloatText("%d", 1.0), EConvertError);
}

TEST(ExifText, ValueDecoders) {
  struct Case {
    TTagCallback decode;
    const char* text;
    const char* result;
  } cases[] = {
      {DecodeFlash, "25", "On, auto mode"},
      {DecodeFlash, "16", "Off, surpressed"},
      {DecodeFlash, "0", "Off"},
      {DecodeFlash, "7", "On, strobe return"},
      {DecodeFlash, "127", "On, strobe return, auto mode, no flash function, red-eye reduction"},
      {DecodeFlash, "10", "Off, UNKNOWN, forced"},
      {DecodeExposureTime, "0/1", "1.0000 sec"},
      {DecodeExposureTime, "8/1", "0.0039 sec (1/256)"},
      {DecodeExposureTime, "1/1", "0.5000 sec (1/2)"},
      {DecodeExposureTime, "-2/1", "4.0000 sec"},
      {DecodeExposureTime, "40/1", "0.0000 sec (1/1099511627776)"},
      {DecodeGpsAngle, "50/1, 3075/100, 0/1", "50 Degrees 30 Minutes 45 Seconds"},
      {DecodeGpsAngle, "4/1, 15/1, 0/1", "4 Degrees 15 Minutes 0 Seconds"},
      {DecodeGpsAngle, "50/1, 30/1, 4500/100", "50 Degrees 30 Minutes 45 Seconds"},
      {DecodeGpsAngle, "", "0 Degrees 0 Minutes 0 Seconds"},
      {DecodeGpsTime, "14/1, 5/1, 30/1", "14:5:30"},
      {DecodeComponents, "\"\x01\x02\x03\"", "YCbCr"},
      {DecodeComponents, "\"\x04\x05\x06\x07\"", "RGB"},
      {DecodeComponents, "\"", ""},
      {DecodeWindowsText, "84, 0, 101, 0, 115, 0, 116, 0", "Test"},
      {DecodeWindowsText, "84, 0, 101", "T"},
      {DecodeUserComment, "ASCII...Hello", "Hello"},
      {DecodeUserComment, "ASCII", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.decode(c.text), c.result) << c.text;
}

TEST(ExifText, DecodersRefuseWhatIsNoNumber) {
  EXPECT_THROW(DecodeFlash("1/1"), EConvertError);
  EXPECT_THROW(DecodeFlash("25, 0"), EConvertError);
  EXPECT_THROW(DecodeWindowsText("a, b"), EConvertError);
  EXPECT_THROW(DecodeExposureTime("-100000/1"), EConvertError);  // 2^100000 seconds
  EXPECT_THROW(DecodeExposureTime("100000/1"), EConvertError);   // no time at all
}

TEST(ExifText, Fields) {
  EXPECT_EQ(GetNthField("16, 1, 0", ",", 1), "16");
  EXPECT_EQ(GetNthField("16, 1, 0", ",", 3), " 0");
  EXPECT_EQ(GetNthField("16, 1, 0", ",", 4), "");
  EXPECT_EQ(CountSeparators("a, b, c", ","), 2);
  EXPECT_EQ(AfterFirst("abc", ""), "abc");
  EXPECT_EQ(AfterFirst("abc", "x"), "");
  EXPECT_EQ(BeforeFirst("abc", "x"), "abc");
}

}  // namespace
