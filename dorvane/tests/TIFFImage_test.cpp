#include "dorvane/TIFFImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "dorvane/ReadTiffTags.h"
#include "dorvane/tests/dorvane_fixtures.h"
#include "framework/core/bitmap.h"

namespace {

String LoadError(const std::string& path) {
  TBitmap bitmap;
  try {
    LoadTIFF(path, bitmap);
  } catch (const Exception& e) {
    return e.Message;
  }
  return "";
}

TEST(LoadTIFF, DrawsEachUncompressedKind) {
  struct Case {
    const char* file;
    int width, height;
    Rgb left, right;  // expected pixels near the left and right edges, within 8
  } cases[] = {
      {"rgb-le.tif", 64, 32, {255, 0, 0}, {0, 0, 255}},
      {"rgb-be.tif", 64, 32, {255, 0, 0}, {0, 0, 255}},
      {"grey-le.tif", 101, 50, {51, 51, 51}, {204, 204, 204}},
      {"grey-be.tif", 101, 50, {51, 51, 51}, {204, 204, 204}},
      {"grey4.tif", 101, 50, {51, 51, 51}, {204, 204, 204}},
      {"bilevel.tif", 64, 32, {0, 0, 0}, {255, 255, 255}},
      {"palette.tif", 64, 32, {255, 0, 0}, {0, 0, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TBitmap bitmap;
    LoadTIFF(FixturePath(c.file), bitmap);
    ASSERT_EQ(bitmap.Width(), c.width);
    ASSERT_EQ(bitmap.Height(), c.height);
    for (int y : {0, c.height - 1}) {
      const Rgb left = PixelAt(bitmap, 1, y), right = PixelAt(bitmap, c.width - 2, y);
      EXPECT_NEAR(left.R, c.left.R, 8);
      EXPECT_NEAR(left.G, c.left.G, 8);
      EXPECT_NEAR(left.B, c.left.B, 8);
      EXPECT_NEAR(right.R, c.right.R, 8);
      EXPECT_NEAR(right.G, c.right.G, 8);
      EXPECT_NEAR(right.B, c.right.B, 8);
    }
  }
}

TEST(LoadTIFF, TheLastDrawableDirectoryWins) {
  TBitmap bitmap;
  LoadTIFF(FixturePath("two-pages.tif"), bitmap);
  ASSERT_EQ(bitmap.Width(), 16);
  ASSERT_EQ(bitmap.Height(), 8);
  const Rgb p = PixelAt(bitmap, 3, 3);
  EXPECT_EQ(p.G, 255);
  EXPECT_EQ(p.R, 0);
}

TEST(LoadTIFF, RefusesWhatItCannotDraw) {
  TestFolder folder;
  WriteBytes(folder / "short.tif", {'I', 'I', 42, 0, 8, 0, 0});
  WriteBytes(folder / "text.tif", std::vector<uint8_t>(64, 'x'));
  const struct {
    std::string path;
    const char* error;
  } cases[] = {
      {folder / "short.tif", "File is not a valid TIFF file"},
      {folder / "text.tif", "File is not a valid TIFF file"},
      {folder / "missing.tif", "File is not a valid TIFF file"},
      {FixturePath("rgb-lzw.tif"), "Cant read compressed RGB Full Color Image"},
      {FixturePath("rgb16.tif"), "Error : Bits Per Same (RGB) not 8"},
      {FixturePath("grey-lzw.tif"), ""},  // skipped silently
  };
  for (const auto& c : cases) EXPECT_EQ(LoadError(c.path), c.error) << c.path;
  // Reading a missing file never creates it.
  EXPECT_FALSE(FileThere(folder / "missing.tif"));
}

TEST(TFileTiff, ReadsDirectoriesInEitherByteOrder) {
  for (const char* file : {"grey-le.tif", "grey-be.tif"}) {
    SCOPED_TRACE(file);
    TFileTiff tiff;
    tiff.SetFileName(FixturePath(file));
    ASSERT_TRUE(tiff.Valid);
    EXPECT_EQ(tiff.LittleEndian, file[5] == 'l');
    ASSERT_EQ(tiff.Count(), 1);
    const TGraphicTiff* ifd = tiff.GetIFD(0);
    EXPECT_FALSE(ifd->ReadFailed);
    // SHORT values read right whatever the byte order.
    EXPECT_EQ(ifd->FindEntry(ttImageWidth)->Value, 101u);
    EXPECT_EQ(ifd->FindEntry(ttImageLength)->Value, 50u);
    EXPECT_EQ(ifd->FindEntry(ttPhotometric)->Value, 1u);
    ASSERT_EQ(ifd->StripCount(), 1);
    EXPECT_EQ(ifd->GetStrip(0).ByteCount, 101u * 50u);
    EXPECT_EQ(tiff.GetIFD(1), nullptr);
  }
}

// A little-endian TIFF built by hand: header, one directory of the given entries, data.
struct Entry {
  uint16_t tag, type;
  uint32_t count, value;
};

std::vector<uint8_t> HandMade(const std::vector<Entry>& entries, const std::vector<uint8_t>& pixels,
                              uint32_t next = 0) {
  std::vector<uint8_t> out{'I', 'I', 42, 0, 8, 0, 0, 0};
  auto put16 = [&](uint16_t v) { out.push_back(v & 0xFF), out.push_back(v >> 8); };
  auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  put16(static_cast<uint16_t>(entries.size()));
  for (const Entry& e : entries) put16(e.tag), put16(e.type), put32(e.count), put32(e.value);
  put32(next);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

// Entries of an 8-bit grey image of w x h with one strip at `offset`.
std::vector<Entry> Grey(uint32_t w, uint32_t h, uint32_t offset, uint32_t bytes, uint32_t rowsPerStrip) {
  return {{256, 4, 1, w}, {257, 4, 1, h}, {258, 3, 1, 8}, {259, 3, 1, 1}, {262, 3, 1, 1},
          {273, 4, 1, offset}, {278, 4, 1, rowsPerStrip}, {279, 4, 1, bytes}};
}

// Directories one after the other behind the header, each naming the next; the pixels
// follow the last.
std::vector<uint8_t> Chained(const std::vector<std::vector<Entry>>& directories, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> out{'I', 'I', 42, 0, 8, 0, 0, 0};
  auto put16 = [&](uint16_t v) { out.push_back(v & 0xFF), out.push_back(v >> 8); };
  auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  for (size_t d = 0; d < directories.size(); ++d) {
    put16(static_cast<uint16_t>(directories[d].size()));
    for (const Entry& e : directories[d]) put16(e.tag), put16(e.type), put32(e.count), put32(e.value);
    put32(d + 1 < directories.size() ? static_cast<uint32_t>(out.size() + 4) : 0);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

// An RGB directory whose size no bitmap takes leaves the bitmap empty, without an error,
// and the directories after it still draw.
TEST(LoadTIFF, AnRgbDirectoryTooLargeOrEmptyLeavesItsBitmapEmpty) {
  TestFolder folder;
  for (const uint32_t width : {70000u, 0u}) {
    SCOPED_TRACE(width);
    const std::vector<Entry> rgb = {{256, 4, 1, width}, {257, 4, 1, 10}, {258, 3, 1, 8}, {259, 3, 1, 1},
                                    {262, 3, 1, 2},     {273, 4, 1, 8},  {279, 4, 1, 30}};
    const std::vector<Entry> grey = Grey(4, 2, 8 + (6 + 12 * 7) + (6 + 12 * 8), 8, 2);
    const std::vector<uint8_t> pixels(8, 0x80);
    WriteBytes(folder / "last.tif", Chained({grey, rgb}, pixels));
    WriteBytes(folder / "first.tif", Chained({rgb, grey}, pixels));
    TBitmap bitmap;
    LoadTIFF(folder / "last.tif", bitmap);
    EXPECT_TRUE(bitmap.Empty());
    LoadTIFF(folder / "first.tif", bitmap);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 2);
  }
}

// The reader holds the whole file; a valid TIFF beyond what it may hold says so.
TEST(LoadTIFF, AFileTooLargeToHoldIsNamedForWhatItIs) {
  TestFolder folder;
  const std::string path = folder / "huge.tif";
  WriteBytes(path, {'I', 'I', 42, 0, 8, 0, 0, 0});
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = (512ll << 20) + 1;  // sparse: nothing is written
  EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
  CloseHandle(file);
  EXPECT_EQ(LoadError(path), "TIFF file too large to draw: 536870913 bytes");
}

TEST(LoadTIFF, RowsPerStripMissingOrTooLargeStillDraws) {
  TestFolder folder;
  std::vector<uint8_t> pixels(5 * 3, 0x80);
  for (uint32_t rows : {0u, 3u, 1000u}) {
    const uint32_t data = 8 + 2 + (rows == 0 ? 7 : 8) * 12 + 4;
    auto entries = Grey(5, 3, data, 15, rows);
    if (rows == 0) entries.erase(entries.begin() + 6);
    const auto bytes = HandMade(entries, pixels);
    const std::string path = folder / ("rows" + std::to_string(rows) + ".tif");
    WriteBytes(path, bytes);
    TBitmap bitmap;
    LoadTIFF(path, bitmap);
    EXPECT_EQ(bitmap.Width(), 5) << rows;
    EXPECT_EQ(PixelAt(bitmap, 4, 2).G, 0x80) << rows;
  }
}

TEST(LoadTIFF, StripsOutsideTheFileAreNotRead) {
  TestFolder folder;
  const uint32_t data = 8 + 2 + 8 * 12 + 4;
  const struct {
    uint32_t offset, bytes;
  } cases[] = {{data, 1000}, {0xFFFFFFF0u, 15}, {data + 10, 15}};
  for (const auto& c : cases) {
    WriteBytes(folder / "strip.tif", HandMade(Grey(5, 3, c.offset, c.bytes, 3), std::vector<uint8_t>(15, 1)));
    TBitmap bitmap;
    EXPECT_EQ(LoadError(folder / "strip.tif"), "");
    LoadTIFF(folder / "strip.tif", bitmap);
    EXPECT_TRUE(bitmap.Empty()) << c.offset;
  }
}

TEST(TFileTiff, ZeroEntryDirectoriesAndLoopingChains) {
  TestFolder folder;
  // The directory at 8 has no entries and names itself as the next one.
  WriteBytes(folder / "loop.tif", {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 8, 0, 0, 0});
  TFileTiff tiff;
  tiff.SetFileName(folder / "loop.tif");
  EXPECT_TRUE(tiff.Valid);
  EXPECT_EQ(tiff.Count(), 1);
  EXPECT_EQ(tiff.GetIFD(0)->EntryCount, 0);
}

// Damaged files of every sort: cut short, or with bytes overwritten at random. The untouched
// file draws; a damaged one raises a text, or draws a 24-bit picture, or draws nothing
// (no directory it can draw is left).
TEST(LoadTIFF, DamagedFilesNeverCrash) {
  TestFolder folder;
  std::mt19937 random(11);
  for (const char* file : {"rgb-be.tif", "grey-le.tif", "palette.tif", "bilevel.tif", "two-pages.tif"}) {
    SCOPED_TRACE(file);
    const auto original = ReadBytes(FixturePath(file));
    ASSERT_FALSE(original.empty());
    auto outcome = [&](const std::vector<uint8_t>& bytes) {
      WriteBytes(folder / "damaged.tif", bytes);
      TBitmap bitmap;
      try {
        LoadTIFF(folder / "damaged.tif", bitmap);
      } catch (const Exception& e) {
        return e.Message.empty() ? String("an error without a text") : String("error");
      }
      if (bitmap.Empty()) return String("nothing");
      if (bitmap.Width() > 0 && bitmap.Height() > 0 && bitmap.PixelFormat() == pf24bit) return String("picture");
      return "a " + IntToStr(bitmap.Width()) + " x " + IntToStr(bitmap.Height()) + " bitmap";
    };
    EXPECT_EQ(outcome(original), "picture");
    for (int i = 0; i < 24; ++i) {
      auto bytes = original;
      if (i % 3 == 0) {
        bytes.resize(random() % bytes.size());
      } else {
        for (int k = 0; k < 6; ++k) {
          // Mostly the header and directories, where the offsets live.
          const size_t at = (i % 3 == 1 ? random() % 64 : random() % bytes.size());
          if (at < bytes.size()) bytes[at] = static_cast<uint8_t>(random());
        }
        // Directories at the end of the file are the ones that matter in the fixtures.
        const size_t tail = bytes.size() - 1 - random() % std::min<size_t>(bytes.size(), 200);
        bytes[tail] = 0xFF;
      }
      const String got = outcome(bytes);
      EXPECT_TRUE(got == "error" || got == "picture" || got == "nothing") << got << " (round " << i << ")";
    }
  }
}

}  // namespace
