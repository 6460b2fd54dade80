#include "imaging/MakerNotes.h"

#include <gtest/gtest.h>

#include <functional>

#include "imaging/ExifData.h"
#include "imaging/tests/TiffBuilder.h"

namespace {

using test::FindTag;
using test::Jpeg;
using test::ReadBytes;
using test::TiffBuilder;

// A JPEG whose EXIF directory holds ExifVersion, the maker note and, after it,
// ExifImageWidth (to show that the walk goes on in the file's own byte order).
String CameraJpeg(bool motorola, const String& make, const String& model, const String& version,
                  const std::function<void(TiffBuilder&, int exif)>& addNote) {
  TiffBuilder b(motorola);
  const int exif = b.NewDirectory();
  b.Ascii(0, 271, make).Ascii(0, 272, model).SubDirectory(0, 34665, exif);
  if (!version.empty()) b.Undefined(exif, 36864, version);
  addNote(b, exif);
  b.Long(exif, 40962, 640);
  return Jpeg({test::ExifSection(b.Build())});
}

std::vector<std::pair<String, String>> MakerTags(const TImageInfo& info) {
  std::vector<std::pair<String, String>> tags;
  for (const TTagEntry& e : info.Tags())
    if (e.Group == 1) tags.emplace_back(e.Desc, e.Data);
  return tags;
}

using Tags = std::vector<std::pair<String, String>>;

TEST(MakerNotes, TableRowCounts) {
  const std::pair<TMakerTable, size_t> counts[] = {
      {mtNikonOld, 11}, {mtNikon, 28}, {mtOlympus, 33}, {mtCasio, 26}, {mtFuji, 18},
      {mtCanon, 16},    {mtSeiko, 12}, {mtSanyo, 6},    {mtMinolta, 2},
  };
  for (auto [table, count] : counts) EXPECT_EQ(MakerTable(table).size(), count) << table;
  EXPECT_STREQ(MakerTable(mtCanon)[7].Desc, "ImageNumber");
  EXPECT_EQ(MakerTable(mtCanon)[7].Tag, 8);
  EXPECT_STREQ(MakerTable(mtOlympus)[2].ValueList, "0=Normal,1:Macro;");
  EXPECT_STREQ(MakerTable(mtNikon)[17].Desc, "Lens information");
  EXPECT_STREQ(MakerTable(mtFuji)[13].Name, "ContTake/Bracket");
}

TEST(MakerNotes, CanonTagsAndSettings) {
  const String jpeg = CameraJpeg(false, "Canon", "Canon PowerShot A80", "0220", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, "");
    b.Short(note, 0, 7)
        .Numbers(note, 1, 3, {22, 1, 0, 3, 2, 0, 0, 1, 0, 0, 2})
        .Numbers(note, 4, 3, {0, 0, 0, 0, 0, 0, 0, 5})
        .Ascii(note, 6, "IMG:PowerShot A80 JPEG")
        .Long(note, 8, 1234567)
        .Numbers(note, 15, 3, {8, 257, 1537, 3})
        .Short(note, 2, 1)
        .Short(note, 99, 1);
  });
  const auto r = ReadBytes(jpeg);
  ASSERT_TRUE(r.ok);
  const TImageInfo& info = r.exif();
  EXPECT_TRUE(info.MakerNoteDecoded);
  const Tags expected = {
      {"Macro mode", "Macro"},
      {"Self Timer", " 1"},
      {"Compression Rate", "Basic"},
      {"Flash Mode", "On"},
      {"Drive Mode", "Single"},
      {"Focus Mode", "AI Servo"},  // Image Size and later lie beyond the eighth value
      {"ExposureInfo1", "22, 1, 0, 3, 2, 0, 0, 1"},
      {"White balance", "Flash"},
      {"ExposureInfo2", "0, 0, 0, 0, 0, 0, 0, 5"},
      {"ImageType", "\"IMG:PowerShot A80 JPEG\""},
      {"ImageNumber", "1234567"},
      {"Noise Reduction", " On"},
      {"AV Shutter Speed", " 1/200 (fixed)"},
      {"CustomFunctions", "8, 257, 1537, 3"},
  };
  EXPECT_EQ(MakerTags(info), expected);
  EXPECT_EQ(info.Width, 640);
  const TTagEntry* number = FindTag(info.Tags(), 8, 1);
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->Name, "ImageNumber");
  EXPECT_EQ(number->Format, 4);

  // In a TIFF file the same offsets count from the file's start, not from byte 8.
  TiffBuilder raw(true);
  const int exif = raw.NewDirectory(), note = raw.NewDirectory();
  raw.Ascii(0, 271, "Canon").SubDirectory(0, 34665, exif);
  raw.MakerNote(exif, note, "");
  raw.Ascii(note, 6, "CRW:EOS D60 RAW").Ascii(note, 9, "Owner Name");
  const auto t = ReadBytes(raw.Build(), "raw.tif");
  EXPECT_EQ(MakerTags(t.exif()), (Tags{{"ImageType", "\"CRW:EOS D60 RAW\""}, {"OwnerName", "\"Owner Name\""}}));
}

TEST(MakerNotes, NikonLayouts) {
  // Newer layout: an embedded TIFF header at byte 10, offsets counted from it.
  const String newer = CameraJpeg(true, "NIKON CORPORATION", "NIKON D70", "0221", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, String("Nikon\0\x02\x10\0\0MM\0\x2A\0\0\0\x08", 18), 10);
    b.Numbers(note, 2, 3, {0, 200}).Ascii(note, 4, "FINE   ").Short(note, 16, 1).Short(note, 3840, 1);
  });
  auto r = ReadBytes(newer);
  EXPECT_TRUE(r.exif().MakerNoteDecoded);
  EXPECT_EQ(MakerTags(r.exif()), (Tags{{"ISO Speed", "0, 200"}, {"Quality", "\"FINE   \""}}));

  const String old = CameraJpeg(false, "NIKON", "E990", "0210", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, String("Nikon\0\x01\0", 8));
    b.Short(note, 3, 6).Short(note, 9, 1).Short(note, 11, 1).Ascii(note, 8, "AF-S   ");
  });
  r = ReadBytes(old);
  EXPECT_EQ(MakerTags(r.exif()),
            (Tags{{"Quality", "SXGA Fine10:2 Mpixel Basic"}, {"Converter", "Used"}, {"Focus", "\"AF-S   \""}}));

  const String bare = CameraJpeg(false, "Nikon", "E700", "0200", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, "");
    b.Short(note, 2, 100).Short(note, 10, 1);
  });
  r = ReadBytes(bare);
  EXPECT_EQ(MakerTags(r.exif()), (Tags{{"ISO Speed", "100"}}));

  // A TIFF raw file without ExifVersion: the model's "D" after the blank picks the newer layout.
  TiffBuilder nef(false);
  const int exif = nef.NewDirectory(), note = nef.NewDirectory();
  nef.Ascii(0, 271, "NIKON CORPORATION").Ascii(0, 272, "NIKON D100").SubDirectory(0, 34665, exif);
  nef.MakerNote(exif, note, String("Nikon\0\x02\x10\0\0II\x2A\0\x08\0\0\0", 18), 10);
  nef.Ascii(note, 4, "NORMAL ");
  r = ReadBytes(nef.Build(), "raw.nef");
  EXPECT_EQ(MakerTags(r.exif()), (Tags{{"Quality", "\"NORMAL \""}}));
}

TEST(MakerNotes, FujiIsLittleEndianInABigEndianFile) {
  const String jpeg = CameraJpeg(true, "FUJIFILM", "FinePix", "0210", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, String("FUJIFILM\x0C\0\0\0", 12), 0, false);
    b.Undefined(note, 0, "0130").Ascii(note, 4096, "NORMAL ").Short(note, 4097, 3).Short(note, 4146, 1);
  });
  const auto r = ReadBytes(jpeg);
  EXPECT_EQ(MakerTags(r.exif()), (Tags{{"Quality", "\"NORMAL \""}, {"Sharpness", "Normal"}}));
  EXPECT_TRUE(r.exif().MotorolaOrder);
  EXPECT_EQ(r.exif().Width, 640);
}

TEST(MakerNotes, OtherMakers) {
  auto olympus = CameraJpeg(false, "OLYMPUS OPTICAL CO.,LTD", "C960Z", "0200", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, String("OLYMP\0\x01\0", 8));
    b.Short(note, 513, 2).Short(note, 514, 0).Undefined(note, 521, "OLYMPUS DIGITAL").Short(note, 515, 1);
  });
  auto r = ReadBytes(olympus);
  EXPECT_EQ(MakerTags(r.exif()),
            (Tags{{"JpegQual", "HQ"}, {"Macro", ""}, {"Camera ID", "\"OLYMPUS DIGITAL\""}}));

  auto casio = CameraJpeg(false, "CASIO", "QV", "", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, "");
    b.Short(note, 1, 5).Long(note, 10, 65537).Short(note, 8, 1);
  });
  r = ReadBytes(casio);
  EXPECT_EQ(MakerTags(r.exif()), (Tags{{"RecordingMode", "Landscape"}, {"DigitalZoom", "2X Digital Zoom"}}));

  auto pentax = CameraJpeg(false, "PENTAX", "Optio", "0220", [](TiffBuilder& b, int exif) {
    const int note = b.NewDirectory();
    b.MakerNote(exif, note, "");
    b.Short(note, 1, 1);
  });
  r = ReadBytes(pentax);
  EXPECT_FALSE(r.exif().MakerNoteDecoded);
  EXPECT_TRUE(MakerTags(r.exif()).empty());
}

// A maker note on its own, decoded straight from a store.
struct Store {
  TimgData parent;
  TImageInfo info{&parent, 255};
  Store(const String& make, const String& note, bool motorola) {
    info.CameraMake = make;
    info.MakerNote = note;
    info.DataBuffer = String(8, '\0') + note;  // an APP1 section's first bytes, then the note
    info.MakerNotePosition = 8;
    info.MotorolaOrder = motorola;
  }
};

TEST(MakerNotes, HostileNotesCostTheirEntriesAndRestoreTheStore) {
  String fuji = String("FUJIFILM\x0C\0\0\0", 12) + test::Bytes16(0xFFFF, false);
  fuji += test::Bytes16(4097, false) + test::Bytes16(3, false) + test::Bytes32(1, false) + test::Bytes32(3, false);
  Store s1("FUJIFILM", fuji, true);
  EXPECT_TRUE(TmsInfo(false, &s1.info).ProcessMakerNote());
  EXPECT_EQ(s1.parent.ErrStr.rfind("Error Detected = ", 0), 0u) << s1.parent.ErrStr;
  EXPECT_TRUE(s1.info.MotorolaOrder);
  EXPECT_EQ(MakerTags(s1.info), (Tags{{"Sharpness", "Normal"}}));

  // Canon: a value far outside the data, or inside the TIFF header of a TIFF file, costs
  // that entry only; the entries after it are still read.
  auto canon = [](uint32_t ownerOffset) {
    String note = test::Bytes16(4, true);
    note += test::Bytes16(8, true) + test::Bytes16(4, true) + test::Bytes32(1, true) + test::Bytes32(77, true);
    note += test::Bytes16(6, true) + test::Bytes16(2, true) + test::Bytes32(100, true) + test::Bytes32(0xFFFFFF00, true);
    note += test::Bytes16(9, true) + test::Bytes16(2, true) + test::Bytes32(6, true) + test::Bytes32(ownerOffset, true);
    note += test::Bytes16(12, true) + test::Bytes16(4, true) + test::Bytes32(1, true) + test::Bytes32(4242, true);
    return note + String("Owner\0", 6);
  };
  // Each skipped entry is named in the error text, so the picture does not read as clean.
  const struct {
    const char* name;
    bool tiff;
    uint32_t ownerOffset;
    Tags tags;
    const char* err;  // the last entry skipped
  } cases[] = {
      {"JPEG", false, 50, {{"ImageNumber", "77"}, {"OwnerName", "\"Owner\""}, {"CameraSerialNumber", "4242"}},
       "Maker note tag 6 skipped: Offset "},
      {"TIFF, owner in the header", true, 0, {{"ImageNumber", "77"}, {"CameraSerialNumber", "4242"}},
       "Maker note tag 9 skipped: Offset "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Store s("Canon", canon(c.ownerOffset), true);
    s.info.TiffFormat = c.tiff;
    EXPECT_TRUE(TmsInfo(c.tiff, &s.info).ProcessMakerNote());
    EXPECT_EQ(MakerTags(s.info), c.tags);
    EXPECT_EQ(s.parent.ErrStr.find("Error Detected = "), String::npos) << s.parent.ErrStr;
    EXPECT_EQ(s.parent.ErrStr.rfind(c.err, 0), 0u) << s.parent.ErrStr;
  }

  for (size_t n = 0; n < fuji.size(); ++n) {
    Store s("FUJIFILM", fuji.substr(0, n), true);
    TmsInfo(false, &s.info).ProcessMakerNote();
    EXPECT_TRUE(s.info.MotorolaOrder);
  }
}

// Entries the walk does not list (a "Skip" row, a tag outside the table) are not read: a
// value of theirs out of reach loses nothing and leaves the read clean.
TEST(MakerNotes, UnlistedEntriesOutOfReachLeaveTheReadClean) {
  auto entry = [](uint16_t tag, uint16_t format, uint32_t count, uint32_t value) {
    return test::Bytes16(tag, true) + test::Bytes16(format, true) + test::Bytes32(count, true) +
           test::Bytes32(value, true);
  };
  const String note = test::Bytes16(3, true) + entry(2, 2, 100, 0xFFFFFF00) + entry(99, 2, 100, 0xFFFFFF00) +
                      entry(8, 4, 1, 77);
  Store s("Canon", note, true);
  EXPECT_TRUE(TmsInfo(false, &s.info).ProcessMakerNote());
  EXPECT_EQ(MakerTags(s.info), (Tags{{"ImageNumber", "77"}}));
  EXPECT_EQ(s.parent.ErrStr, "");
}

}  // namespace
