// Thumbnails and placeholders through Dorvane.dll, as the program calls them, with the
// caller's own bitmaps; and the resampler in-process.
#include "dorvane/Thumbnail.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "dorvane/ResourceLanguage.h"
#include "dorvane/tests/dorvane_fixtures.h"
#include "engine/Debug.h"
#include "framework/core/datetime.h"

namespace {

using ThumbnailCall = BOOL(__stdcall*)(const char*, int16_t, int32_t, int32_t, TBitmap*);
using ResourceCall = BOOL(__stdcall*)(int32_t, TBitmap*);

class Thumbnails : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(lib_, nullptr);
    thumbnail_ = reinterpret_cast<ThumbnailCall>(reinterpret_cast<void*>(GetProcAddress(lib_, "CreateThumbnail")));
    resource_ = reinterpret_cast<ResourceCall>(reinterpret_cast<void*>(GetProcAddress(lib_, "GetResourceImage")));
    ASSERT_TRUE(thumbnail_ && resource_);
  }
  void TearDown() override {
    Switch("TurnDebugOff");
    FreeLibrary(lib_);
  }
  void Switch(const char* name) {
    reinterpret_cast<void(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(lib_, name)))();
  }

  // Placeholder n as the library should draw it at w x h: the art resampled.
  static std::unique_ptr<TBitmap> Expected(int n, int w, int h) {
    TBitmap art;
    art.LoadFromFile(PlaceholderArt(n));
    auto out = std::make_unique<TBitmap>(w, h, pf24bit);
    ResampleBitmap(art, *out);
    return out;
  }
  static std::string PlaceholderArt(int n) {
    std::string path = FixturePath("");
    path = path.substr(0, path.size() - std::string("tests\\fixtures\\").size());
    return path + "res\\placeholder" + std::to_string(n) + ".bmp";
  }
  static bool SamePixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
      if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<size_t>(a.Width()) * 3) != 0) return false;
    }
    return true;
  }

  HMODULE lib_ = LoadLibraryA("Dorvane.dll");
  ThumbnailCall thumbnail_ = nullptr;
  ResourceCall resource_ = nullptr;
};

TEST_F(Thumbnails, PlaceholdersByKindAndExtension) {
  TestFolder folder;
  for (const char* name : {"clip.avi", "picture.png", "fake.jpg", "data.bin"})
    WriteBytes(folder / name, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  const struct {
    std::string file;
    int kind;
    BOOL result;
    int placeholder;
  } cases[] = {
      {folder / "clip.avi", 1, TRUE, 1},     {folder / "picture.png", 1, FALSE, 1},
      {folder / "fake.jpg", 1, FALSE, 1},    {folder / "clip.avi", 2, TRUE, 2},
      {folder / "data.bin", 3, TRUE, 3},     {folder / "data.bin", 4, TRUE, 4},
      {folder / "data.bin", 0, FALSE, 1},    {folder / "data.bin", 5, FALSE, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " kind " + std::to_string(c.kind));
    TBitmap bitmap;
    EXPECT_EQ(thumbnail_(c.file.c_str(), static_cast<int16_t>(c.kind), 120, 90, &bitmap), c.result);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_TRUE(SamePixels(bitmap, *Expected(c.placeholder, 120, 90)));
  }
}

TEST_F(Thumbnails, EmptyOrMissingNamesLeaveTheBitmapAlone) {
  TBitmap bitmap(30, 20, pf24bit);
  EXPECT_FALSE(thumbnail_("", 1, 120, 90, &bitmap));
  EXPECT_FALSE(thumbnail_(nullptr, 1, 120, 90, &bitmap));
  EXPECT_FALSE(thumbnail_("C:\\nowhere\\KV1.JPG", 2, 120, 90, &bitmap));
  EXPECT_EQ(bitmap.Width(), 30);
  EXPECT_EQ(PixelAt(bitmap, 5, 5).R, 255);
  EXPECT_FALSE(thumbnail_(FixturePath("card.jpg").c_str(), 1, 120, 90, nullptr));
}

// Today's error log of the library, emptied.
std::string FreshErrorLog() {
  StartLogs();
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  char date[16];
  std::snprintf(date, sizeof date, "%02d%02d%04d", d, m, y);
  const std::string log = LogFolder() + "eDLL" + date + ".TXT";
  DeleteFileA(log.c_str());
  return log;
}

TEST_F(Thumbnails, ANonJPEGLogsTheDecodersText) {
  const std::string log = FreshErrorLog();
  TestFolder folder;
  WriteBytes(folder / "fake.jpg", {'G', 'I', 'F', '8', '9', 'a', 0, 0});
  Switch("TurnDebugOn");
  TBitmap bitmap;
  EXPECT_FALSE(thumbnail_((folder / "fake.jpg").c_str(), 1, 40, 30, &bitmap));
  const auto text = ReadBytes(log);
  const std::string lines(text.begin(), text.end());
  EXPECT_NE(lines.find("Unable to do JPEG_Thumbnail : JPEG error #53 (" + (folder / "fake.jpg") +
                       ") Not a JPEG file: starts with 0x%02x 0x%02x"),
            std::string::npos)
      << lines;
}

// A JPEG stream without its APP0 segment: FF D8 FF DB ..., as raw files embed it.
std::vector<uint8_t> BareJPEG() {
  auto jpeg = ReadBytes(FixturePath("card.jpg"));
  if (jpeg.size() > 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0) {
    const size_t length = jpeg[4] << 8 | jpeg[5];
    jpeg.erase(jpeg.begin() + 2, jpeg.begin() + 2 + 2 + length);
  }
  return jpeg;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// Raw files with the card as their embedded preview.
std::vector<std::pair<std::string, std::vector<uint8_t>>> RawFiles() {
  const auto card = ReadBytes(FixturePath("card.jpg"));
  auto mrwPreview = BareJPEG();
  mrwPreview[0] = 0x00;  // the camera stores it without the first FF
  return {
      {"KV1.CRW", Join({Text("II\x1a\0\0\0HEAPCCDR"), card, Text(std::string("\0IMG_0001.CRW\0", 14)), Text("tail")})},
      {"KV2.NEF", Join({Text("MM\0*\0\0\0\x08NIKON CORP"), BareJPEG(), Text("tail")})},
      {"KV3.PEF", Join({Text("II*\0PENTAX Corp"), BareJPEG(), Text("tail")})},
      {"KV4.MRW", Join({Text(std::string("\0MRM\0\0", 6)), mrwPreview, Text("tail")})},
  };
}

TEST_F(Thumbnails, DecodesImagesAndRawPreviews) {
  TestFolder folder;
  std::vector<std::string> files;
  for (const char* name : {"card.jpg", "card.gif", "card.bmp", "rgb-be.tif", "rgb-le.tif", "palette.tif"})
    files.push_back(FixturePath(name));
  for (const auto& [name, bytes] : RawFiles()) {
    WriteBytes(folder / name, bytes);
    files.push_back(folder / name);
  }
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    TBitmap bitmap;
    EXPECT_TRUE(thumbnail_(file.c_str(), 1, 40, 20, &bitmap));
    ASSERT_EQ(bitmap.Width(), 40);
    ASSERT_EQ(bitmap.Height(), 20);
    EXPECT_TRUE(Reddish(PixelAt(bitmap, 2, 10)));
    EXPECT_TRUE(Bluish(PixelAt(bitmap, 37, 10)));
  }
  // The camera thumbnail's raw cousin: a preview with an APP1 segment.
  const auto thm = ReadBytes(FixturePath("thm.jpg"));
  WriteBytes(folder / "KV5.RAF", Join({Text("FUJIFILMCCD-RAW "), thm, Text("tail")}));
  TBitmap bitmap;
  EXPECT_TRUE(thumbnail_((folder / "KV5.RAF").c_str(), 1, 40, 30, &bitmap));
  EXPECT_NEAR(PixelAt(bitmap, 20, 15).G, 128, 6);
}

// The JPEG stream with its frame header claiming w x h.
std::vector<uint8_t> ClaimingSize(std::vector<uint8_t> jpeg, int w, int h) {
  for (size_t i = 2; i + 9 < jpeg.size(); i += 2 + (jpeg[i + 2] << 8 | jpeg[i + 3])) {
    if (jpeg[i + 1] != 0xC0 && jpeg[i + 1] != 0xC2 && jpeg[i + 1] != 0xC9 && jpeg[i + 1] != 0xCA) continue;
    jpeg[i + 5] = static_cast<uint8_t>(h >> 8);
    jpeg[i + 6] = static_cast<uint8_t>(h);
    jpeg[i + 7] = static_cast<uint8_t>(w >> 8);
    jpeg[i + 8] = static_cast<uint8_t>(w);
    return jpeg;
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

TEST_F(Thumbnails, JPEGsAreDecodedAtTheSmallestScaleThatCoversTheThumbnail) {
  // Stripes four pixels wide: decoded at an eighth, each 8 x 8 block is its average grey;
  // decoded larger and sampled down, the stripes come back as noise.
  TBitmap bitmap;
  EXPECT_TRUE(thumbnail_(FixturePath("stripes.jpg").c_str(), 1, 32, 24, &bitmap));
  int lowest = 255, highest = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x) {
      lowest = std::min<int>(lowest, PixelAt(bitmap, x, y).G);
      highest = std::max<int>(highest, PixelAt(bitmap, x, y).G);
    }
  EXPECT_LE(highest - lowest, 4);
  EXPECT_NEAR(lowest, 128, 4);
}

// A GIF on a w x h screen with a blue and a red colour, then the given blocks and the trailer.
std::vector<uint8_t> GIF(int w, int h, std::initializer_list<std::vector<uint8_t>> blocks) {
  std::vector<uint8_t> out = Text("GIF89a");
  out.insert(out.end(), {uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), 0x80, 0, 0});
  out.insert(out.end(), {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00});
  for (const auto& b : blocks) out.insert(out.end(), b.begin(), b.end());
  out.push_back(';');
  return out;
}

// A frame descriptor of no size and the codes clear, 1, 0, end: red then blue.
const std::vector<uint8_t> kSizelessFrame = {',', 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 0x0C, 0x0A, 0};

TEST_F(Thumbnails, GIFsWithoutAFrameToDrawGetThePlaceholder) {
  TestFolder folder;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    BOOL result;
  } cases[] = {
      {"no frame", GIF(2, 1, {}), FALSE},
      {"a comment only", GIF(2, 1, {{'!', 0xFE, 2, 'h', 'i', 0}}), FALSE},
      {"a sizeless frame on a sizeless screen", GIF(0, 0, {kSizelessFrame}), FALSE},
      {"a frame on a screen of no width", GIF(0, 1, {{',', 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 2, 0x0C, 0x0A, 0}}), FALSE},
      {"a sizeless frame takes the screen", GIF(2, 1, {kSizelessFrame}), TRUE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(folder / "KV1.gif", c.bytes);
    TBitmap bitmap;
    EXPECT_EQ(thumbnail_((folder / "KV1.gif").c_str(), 1, 40, 20, &bitmap), c.result);
    if (c.result) {
      EXPECT_TRUE(Reddish(PixelAt(bitmap, 2, 10)));
      EXPECT_TRUE(Bluish(PixelAt(bitmap, 37, 10)));
    } else {
      EXPECT_TRUE(SamePixels(bitmap, *Expected(1, 40, 20)));
    }
  }
}

TEST_F(Thumbnails, GIFsShowTheirFirstFrameWithoutReadingTheRest) {
  TestFolder folder;
  // The second frame's data starts with a code size no decoder can use.
  const std::vector<uint8_t> damaged = {',', 0, 0, 0, 0, 2, 0, 1, 0, 0, 12, 1, 0, 0};
  WriteBytes(folder / "KV1.gif", GIF(2, 1, {kSizelessFrame, damaged}));
  TBitmap bitmap;
  EXPECT_TRUE(thumbnail_((folder / "KV1.gif").c_str(), 1, 40, 20, &bitmap));
  EXPECT_TRUE(Reddish(PixelAt(bitmap, 2, 10)));
  EXPECT_TRUE(Bluish(PixelAt(bitmap, 37, 10)));
}

// Files of a few hundred bytes whose headers claim pictures of camera size and beyond.
// Their data cannot fill such a picture: it is refused before its size is allocated.
TEST_F(Thumbnails, PicturesClaimingMoreThanTheirDataCouldFillAreRefused) {
  TestFolder folder;
  const auto card = ReadBytes(FixturePath("card.jpg"));
  const std::vector<uint8_t> clearOneEnd = {2, 2, 0x0C, 0x0A, 0};
  auto frame = [&](int w, int h) {
    std::vector<uint8_t> f = {',', 0, 0, 0, 0, uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), 0};
    f.insert(f.end(), clearOneEnd.begin(), clearOneEnd.end());
    return f;
  };
  std::vector<uint8_t> thirtyFrames;
  for (int i = 0; i < 30; ++i) {
    const std::vector<uint8_t> control = {'!', 0xF9, 4, 0, 10, 0, 0, 0};
    thirtyFrames.insert(thirtyFrames.end(), control.begin(), control.end());
    const auto f = frame(8000, 8000);
    thirtyFrames.insert(thirtyFrames.end(), f.begin(), f.end());
  }
  // Cut in the middle of its scan.
  const std::vector<uint8_t> startOfScan = {0xFF, 0xDA};
  auto truncated = card;
  const size_t scan = std::search(card.begin(), card.end(), startOfScan.begin(), startOfScan.end()) - card.begin();
  truncated.resize(scan + (card.size() - scan) / 2);
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    BOOL result;
  } cases[] = {
      {"KV1.gif", GIF(8000, 8000, {frame(8000, 8000)}), FALSE},
      {"KV2.gif", GIF(8000, 8000, {thirtyFrames}), FALSE},
      {"KV3.gif", GIF(8000, 8000, {frame(1, 1)}), FALSE},
      {"KV4.jpg", ClaimingSize(ReadBytes(FixturePath("progressive.jpg")), 13000, 13000), FALSE},
      {"KV5.jpg", ClaimingSize(card, 18000, 14000), FALSE},
      {"KV6.NEF", Join({Text("MM\0*\0\0\0\x08NIKON CORP"), ClaimingSize(BareJPEG(), 9000, 7000), Text("tail")}), FALSE},
      // Cut short, but what is there fills the picture's blocks: it still shows.
      {"KV7.jpg", truncated, TRUE},
      // Arithmetic coding spends less than a bit on a flat block: an honest flat picture
      // shows, and so does any picture up to a 12-megapixel camera's size.
      {"KV8.jpg", ReadBytes(FixturePath("flat-arith.jpg")), TRUE},
      {"KV9.jpg", ReadBytes(FixturePath("progressive-arith.jpg")), TRUE},
      {"KV10.jpg", ClaimingSize(ReadBytes(FixturePath("flat-arith.jpg")), 4000, 3000), TRUE},
      // Beyond that size, arithmetic-coded data must fill the picture as Huffman-coded must.
      {"KV11.jpg", ClaimingSize(ReadBytes(FixturePath("flat-arith.jpg")), 4008, 3000), FALSE},
      {"KV12.jpg", ClaimingSize(ReadBytes(FixturePath("flat-arith.jpg")), 65500, 65500), FALSE},
      {"KV13.jpg", ClaimingSize(ReadBytes(FixturePath("progressive-arith.jpg")), 13000, 13000), FALSE},
  };
  const std::string log = FreshErrorLog();
  Switch("TurnDebugOn");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_LT(c.bytes.size(), 1024u);
    WriteBytes(folder / c.name, c.bytes);
    TBitmap bitmap;
    EXPECT_EQ(thumbnail_((folder / c.name).c_str(), 1, 120, 90, &bitmap), c.result);
    if (!c.result) {
      EXPECT_TRUE(SamePixels(bitmap, *Expected(1, 120, 90)));
    }
  }
  const auto text = ReadBytes(log);
  const std::string lines(text.begin(), text.end());
  EXPECT_NE(lines.find("Unable to do JPEG_Thumbnail : the picture is larger than its data could fill (" +
                       (folder / "KV5.jpg") + ")"),
            std::string::npos)
      << lines;
  EXPECT_NE(lines.find("Unable to do JPEG_Thumbnail : the picture is larger than its data could fill (" +
                       (folder / "KV12.jpg") + ")"),
            std::string::npos)
      << lines;
  EXPECT_NE(lines.find("Unable to do GIF_Thumbnail : Invalid image dimensions (" + (folder / "KV1.gif") + ")"),
            std::string::npos)
      << lines;
}

// An 8-bit RLE BMP of w x h with a blue and a red colour and the given run data.
std::vector<uint8_t> Rle8Bmp(int w, int h, const std::vector<uint8_t>& runs) {
  auto le = [](std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const uint32_t offset = 14 + 40 + 8;
  std::vector<uint8_t> out = Text("BM");
  le(out, offset + static_cast<uint32_t>(runs.size()), 4);
  le(out, 0, 4);
  le(out, offset, 4);
  for (uint32_t v : {40u, uint32_t(w), uint32_t(h)}) le(out, v, 4);
  le(out, 1, 2);
  le(out, 8, 2);
  for (uint32_t v : {1u, uint32_t(runs.size()), 0u, 0u, 2u, 0u}) le(out, v, 4);  // BI_RLE8, two colours
  out.insert(out.end(), {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00});
  out.insert(out.end(), runs.begin(), runs.end());
  return out;
}

TEST_F(Thumbnails, TIFFsWithoutADrawableDirectoryGetThePlaceholder) {
  TestFolder folder;
  auto tiff = ReadBytes(FixturePath("palette.tif"));
  // An LZW-compressed palette directory is skipped without an error: nothing is drawn.
  const std::vector<uint8_t> compression = {0x03, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00};
  auto at = std::search(tiff.begin(), tiff.end(), compression.begin(), compression.end());
  ASSERT_NE(at, tiff.end());
  at[8] = 5;
  WriteBytes(folder / "KV1.tif", tiff);
  TBitmap bitmap;
  EXPECT_FALSE(thumbnail_((folder / "KV1.tif").c_str(), 1, 40, 20, &bitmap));
  EXPECT_TRUE(SamePixels(bitmap, *Expected(1, 40, 20)));
}

TEST_F(Thumbnails, RunLengthBMPsWithRunsIntoThePadding) {
  TestFolder folder;
  // Six pixels a row, stored in eight: three red, then a blue run of five reaching into
  // the padding, as a common encoder writes them.
  const std::vector<uint8_t> row = {3, 1, 5, 0, 0, 0};
  std::vector<uint8_t> runs;
  for (int y = 0; y < 2; ++y) runs.insert(runs.end(), row.begin(), row.end());
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    BOOL result;
  } cases[] = {
      {"runs into the padding", Rle8Bmp(6, 2, [&] { auto r = runs; r.insert(r.end(), {0, 1}); return r; }()), TRUE},
      {"a run on a row above the picture", Rle8Bmp(6, 2, [&] { auto r = runs; r.insert(r.end(), {2, 1, 0, 1}); return r; }()),
       FALSE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(folder / "KV1.bmp", c.bytes);
    TBitmap bitmap;
    EXPECT_EQ(thumbnail_((folder / "KV1.bmp").c_str(), 1, 40, 20, &bitmap), c.result);
    if (c.result) {
      EXPECT_TRUE(Reddish(PixelAt(bitmap, 2, 10)));
      EXPECT_TRUE(Bluish(PixelAt(bitmap, 37, 10)));
    } else {
      EXPECT_TRUE(SamePixels(bitmap, *Expected(1, 40, 20)));
    }
  }
}

TEST_F(Thumbnails, DamagedRawFilesGetThePlaceholder) {
  TestFolder folder;
  std::mt19937 random(5);
  for (const auto& [name, original] : RawFiles()) {
    for (int i = 0; i < 12; ++i) {
      auto bytes = original;
      if (i % 2) {
        bytes.resize(random() % bytes.size());
      } else {
        for (int k = 0; k < 8; ++k) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
      }
      WriteBytes(folder / name, bytes);
      TBitmap bitmap;
      const BOOL drawn = thumbnail_((folder / name).c_str(), 1, 40, 20, &bitmap);
      EXPECT_EQ(bitmap.Width(), 40) << name;
      EXPECT_EQ(bitmap.Height(), 20) << name;
      if (!drawn) {
        EXPECT_TRUE(SamePixels(bitmap, *Expected(1, 40, 20))) << name;  // a failure shows the placeholder
      }
    }
  }
}

TEST_F(Thumbnails, TwoThreadsAtOnce) {
  const std::string jpeg = FixturePath("card.jpg"), tiff = FixturePath("rgb-be.tif");
  std::atomic<int> wrong{0};
  auto worker = [&](int seed) {
    for (int i = 0; i < 25; ++i) {
      TBitmap bitmap;
      const bool placeholder = (i + seed) % 3 == 0;
      const std::string& file = (i + seed) % 2 ? jpeg : tiff;
      const BOOL ok = thumbnail_(file.c_str(), placeholder ? 2 : 1, 40, 20, &bitmap);
      if (!ok || bitmap.Width() != 40) ++wrong;
      else if (!placeholder && !(Reddish(PixelAt(bitmap, 2, 10)) && Bluish(PixelAt(bitmap, 37, 10)))) ++wrong;
    }
  };
  std::thread film(worker, 1);
  worker(0);
  film.join();
  EXPECT_EQ(wrong, 0);
}

TEST_F(Thumbnails, GetResourceImageKeepsTheFirstSize) {
  TBitmap first(50, 40, pf24bit), second(10, 10, pf24bit);
  EXPECT_TRUE(resource_(3, &first));
  EXPECT_TRUE(SamePixels(first, *Expected(3, 50, 40)));
  EXPECT_TRUE(resource_(3, &second));
  EXPECT_EQ(second.Width(), 50);
  EXPECT_TRUE(SamePixels(second, first));
  EXPECT_FALSE(resource_(3, nullptr));
}

TEST_F(Thumbnails, PlaceholdersAreStoredInTheLibrarysLanguage) {
  for (int n = 1; n <= 4; ++n) {
    EXPECT_NE(FindResourceExA(lib_, RT_BITMAP, MAKEINTRESOURCEA(n), ResourceLanguage), nullptr) << n;
  }
}

// ---- the resampler ----

std::unique_ptr<TBitmap> Filled(int w, int h, uint8_t value) {
  auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
  for (int y = 0; y < h; ++y) std::memset(bitmap->ScanLine(y), value, static_cast<size_t>(w) * 3);
  return bitmap;
}

TEST(ResampleBitmap, KeepsUniformColoursAndCopiesEqualSizes) {
  const struct {
    int ws, hs, wd, hd;
  } cases[] = {{200, 200, 120, 90}, {1, 1, 30, 30}, {1, 40, 20, 5}, {40, 1, 7, 1}, {3, 3, 1, 1}, {200, 200, 200, 200}};
  for (const auto& c : cases) {
    for (uint8_t value : {uint8_t{255}, uint8_t{77}}) {
      auto source = Filled(c.ws, c.hs, value);
      TBitmap dest(c.wd, c.hd, pf24bit);
      EXPECT_TRUE(ResampleBitmap(*source, dest));
      ASSERT_EQ(dest.Width(), c.wd);
      for (int y = 0; y < c.hd; ++y) {
        const auto* row = static_cast<const uint8_t*>(dest.ScanLine(y));
        for (int x = 0; x < c.wd * 3; ++x) ASSERT_NEAR(row[x], value, value == 255 ? 0 : 1) << c.ws << "x" << c.hs;
      }
    }
  }
}

TEST(ResampleBitmap, EmptySourcesAndDestinationsAreHarmless) {
  TBitmap empty, dest(10, 10, pf24bit);
  EXPECT_TRUE(ResampleBitmap(empty, dest));
  EXPECT_EQ(PixelAt(dest, 3, 3).R, 255);
  auto source = Filled(5, 5, 0);
  TBitmap none;
  EXPECT_TRUE(ResampleBitmap(*source, none));
}

TEST(ResampleBitmap, InterpolatesBetweenNeighbours) {
  // Black left column, white right column: the middle of a 3-wide result is grey.
  TBitmap source(2, 2, pf24bit);
  for (int y = 0; y < 2; ++y) {
    auto* row = static_cast<uint8_t*>(source.ScanLine(y));
    std::memset(row, 0, 3);
    std::memset(row + 3, 255, 3);
  }
  TBitmap dest(3, 2, pf24bit);
  ResampleBitmap(source, dest);
  EXPECT_EQ(PixelAt(dest, 0, 0).R, 0);
  EXPECT_NEAR(PixelAt(dest, 1, 0).R, 85, 1);  // x step 65536 / 3
  EXPECT_NEAR(PixelAt(dest, 2, 0).R, 170, 1);
}

}  // namespace
