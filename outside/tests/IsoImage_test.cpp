#include "outside/IsoImage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "outside/tests/WriterScratch.h"

namespace {

uint32_t LE32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint32_t BE32(const uint8_t* p) { return p[3] | p[2] << 8 | p[1] << 16 | static_cast<uint32_t>(p[0]) << 24; }

// An identifier as text: the primary tree's bytes, or Joliet's UCS-2 (ASCII here).
std::string IdText(const uint8_t* p, size_t length, bool joliet) {
  std::string text;
  for (size_t i = joliet ? 1 : 0; i < length; i += joliet ? 2 : 1) text += static_cast<char>(p[i]);
  return text;
}

// Reads back what a header holds for one tree (block 16 primary, 17 Joliet).
struct TTreeReader {
  const std::vector<uint8_t>& image;
  bool joliet;

  const uint8_t* Block(uint32_t b) const { return image.data() + static_cast<size_t>(b) * kIsoBlockSize; }
  const uint8_t* Descriptor() const { return Block(joliet ? 17 : 16); }

  // The root folder's records after "." and "..", in the order they are stored.
  std::vector<std::string> RootRecords() const {
    const uint8_t* root = Descriptor() + 156;
    uint32_t first = LE32(root + 2), bytes = LE32(root + 10);
    std::vector<std::string> ids;
    for (uint32_t at = 0; at < bytes;) {
      const uint8_t* r = Block(first) + at;
      if (r[0] == 0) {  // the rest of this block is empty
        at = (at / kIsoBlockSize + 1) * kIsoBlockSize;
        continue;
      }
      ids.push_back(IdText(r + 33, r[32], joliet));
      at += r[0];
    }
    return {ids.begin() + 2, ids.end()};
  }

  // The folders of the path table after the root; the little- and big-endian
  // tables must agree.
  std::vector<std::string> PathTable() const {
    uint32_t bytes = LE32(Descriptor() + 132);
    const uint8_t* l = Block(LE32(Descriptor() + 140));
    const uint8_t* m = Block(BE32(Descriptor() + 148));
    EXPECT_EQ(std::vector<uint8_t>(l, l + 2), std::vector<uint8_t>(m, m + 2));
    std::vector<std::string> ids;
    for (uint32_t at = 0; at < bytes;) {
      EXPECT_EQ(LE32(l + at + 2), BE32(m + at + 2));
      ids.push_back(IdText(l + at + 8, l[at], joliet));
      at += 8 + l[at] + l[at] % 2;
    }
    return {ids.begin() + 1, ids.end()};
  }
};

}  // namespace

// Names are compared by name, then by extension, each padded with blanks: "X" comes
// before "X.1", and "X.1" before "X.10", in whichever order they were added.
TEST(IsoImage, RecordsAndPathTablesAreInNameThenExtensionOrder) {
  TWriterScratch scratch("iso");
  ForceDirectories(scratch.Root());
  const String source = scratch.Root() + "one.bin";
  TWriterScratch::Write(source, "x");
  TIsoImage image;
  for (const char* path : {"XA", "X.10", "X B.txt", "X.1", "X", "DA\\f", "D.1\\f", "D B\\f", "D\\f"})
    ASSERT_TRUE(image.AddFile(path, source)) << path;
  const std::vector<uint8_t> header = image.Header();

  TTreeReader primary{header, false}, joliet{header, true};
  EXPECT_EQ(primary.RootRecords(), (std::vector<std::string>{"D", "DA", "D_1", "D_B", "X.;1", "X.1;1", "X.10;1",
                                                             "XA.;1", "X_B.TXT;1"}));
  EXPECT_EQ(joliet.RootRecords(),
            (std::vector<std::string>{"D", "D B", "D.1", "DA", "X", "X.1", "X.10", "X B.txt", "XA"}));
  EXPECT_EQ(primary.PathTable(), (std::vector<std::string>{"D", "DA", "D_1", "D_B"}));
  EXPECT_EQ(joliet.PathTable(), (std::vector<std::string>{"D", "D B", "D.1", "DA"}));
}

// A record holds a file's size in 32 bits: from 4 GiB on a file is refused, not cut.
TEST(IsoImage, RefusesAFileOfFourGiBOrMore) {
  TWriterScratch scratch("iso");
  ForceDirectories(scratch.Root());
  struct Row {
    int64_t bytes;
    bool taken;
  } rows[] = {{kIsoMaxFileBytes, true}, {kIsoMaxFileBytes + 1, false}, {kIsoMaxFileBytes + 2050, false}};
  TIsoImage image;
  for (const Row& r : rows) {
    const String source = scratch.Root() + IntToStr(r.bytes) + ".avi";
    HANDLE h = CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = r.bytes;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);  // sparse: nothing is written
    CloseHandle(h);
    String why;
    EXPECT_EQ(image.AddFile("Korvalo\\" + ExtractFileName(source), source, &why), r.taken) << r.bytes;
    EXPECT_EQ(why.empty(), r.taken) << why;
    DeleteFile(source);
  }
  EXPECT_EQ(image.FileCount(), 1);
  ASSERT_EQ(image.Extents().size(), 1u);
  EXPECT_EQ(image.Extents()[0].Size, kIsoMaxFileBytes);
}
