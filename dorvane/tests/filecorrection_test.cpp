#include "dorvane/filecorrection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "dorvane/CorrectionsIdle.h"
#include "dorvane/DebugDLL.h"
#include "dorvane/DestinationFolder.h"
#include "dorvane/tests/dorvane_fixtures.h"
#include "engine/Debug.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const std::vector<uint8_t> kEnd{0xFF, 0xD9};

TEST(CorrectJPEG, CutsAfterTheLastEndMarker) {
  TestFolder folder;
  const auto jpeg = ReadBytes(FixturePath("card.jpg"));
  const struct {
    const char* name;
    std::vector<uint8_t> bytes, after;
    bool ok;
  } cases[] = {
      {"trailing.jpg", Join({jpeg, Bytes("carved junk"), kEnd, Bytes("more")}), Join({jpeg, Bytes("carved junk"), kEnd}), true},
      {"exact.jpg", jpeg, jpeg, true},
      {"noend.jpg", Bytes("\xFF\xD8 no end at all"), Bytes("\xFF\xD8 no end at all"), false},
      {"empty.jpg", {}, {}, false},
  };
  for (const auto& c : cases) {
    WriteBytes(folder / c.name, c.bytes);
    EXPECT_EQ(CorrectJPEG(folder / c.name), c.ok) << c.name;
    EXPECT_EQ(ReadBytes(folder / c.name), c.after) << c.name;
    EXPECT_EQ(CorrectJPEG(folder / c.name), c.ok) << c.name;  // a second repair changes nothing
    EXPECT_EQ(ReadBytes(folder / c.name), c.after) << c.name;
  }
  EXPECT_FALSE(CorrectJPEG(folder / "missing.jpg"));
}

std::vector<uint8_t> X3F(int32_t entries, size_t tail) {
  std::vector<uint8_t> out = Bytes("FOVb header and image data ");
  const auto add32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  out.insert(out.end(), {'S', 'E', 'C', 'd'});
  add32(0x00020000);
  add32(static_cast<uint32_t>(entries));
  out.insert(out.end(), tail, 0xAB);
  return out;
}

TEST(CorrectX3F, CutsBehindTheSectionDirectory) {
  TestFolder folder;
  const size_t p = 27;
  const struct {
    int32_t entries;
    size_t tail;
    bool ok;
    size_t size;  // after the repair
  } cases[] = {
      {3, 200, true, p + 52},
      {0, 10, true, p + 16},
      {-5, 10, true, p + 16},
      {1000, 20, false, p + 12 + 20},              // the directory would end beyond the file
      {0x7FFFFFFF, 20, false, p + 12 + 20},        // no wrap-around of the cut point
  };
  for (const auto& c : cases) {
    WriteBytes(folder / "KV1.X3F", X3F(c.entries, c.tail));
    EXPECT_EQ(CorrectX3F(folder / "KV1.X3F"), c.ok) << c.entries;
    EXPECT_EQ(ReadBytes(folder / "KV1.X3F").size(), c.size) << c.entries;
  }
  WriteBytes(folder / "KV2.X3F", Bytes("no directory here"));
  EXPECT_FALSE(CorrectX3F(folder / "KV2.X3F"));
  EXPECT_EQ(ReadBytes(folder / "KV2.X3F"), Bytes("no directory here"));
}

TEST(CorrectTIF_NEF_PEF, AppendsTheMakersExtension) {
  TestFolder folder;
  const auto at = [](std::initializer_list<std::pair<size_t, const char*>> marks) {
    std::vector<uint8_t> bytes(1200, 0);
    bytes[0] = 'I', bytes[1] = 'I';
    // Text running past the end of the file is cut off there.
    for (auto [offset, text] : marks) {
      for (size_t i = 0; text[i] && offset + i < bytes.size(); ++i) bytes[offset + i] = static_cast<uint8_t>(text[i]);
    }
    return bytes;
  };
  const struct {
    std::vector<uint8_t> bytes;
    const char* type;
  } cases[] = {
      {at({{300, "PENTAX Corp"}, {900, "NIKON CORP"}}), "PEF"},
      {at({{100, "NIKON CORP"}, {900, "PENTAX Corp"}}), "NEF"},
      {at({{1190, "NIKON CORP"}}), "NEF"},
      {at({{1192, "NIKON CORP"}}), "TIF"},  // cut off by the end of the file
      {at({}), "TIF"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string name = folder / ("KV" + std::to_string(++n) + ".TIF");
    WriteBytes(name, c.bytes);
    EXPECT_TRUE(CorrectTIF_NEF_PEF(name));
    EXPECT_TRUE(FileThere(name + "." + c.type)) << name << " " << c.type;
    EXPECT_FALSE(FileThere(name));
  }
  EXPECT_FALSE(CorrectTIF_NEF_PEF(folder / "missing.TIF"));
}

// A CRW file: header, the embedded JPEG, the inner and thumbnail names, the raw data
// with its end mark, and carved junk behind.
std::vector<uint8_t> CRW(const std::string& innerName, size_t* cut = nullptr) {
  const auto jpeg = ReadBytes(FixturePath("card.jpg"));
  auto out = Join({Bytes(std::string("II\x1a\0\0\0HEAPCCDR", 14)), jpeg, Bytes(std::string("\0", 1)),
                   Bytes(innerName), Bytes(std::string("\0CRW_0001.THM\0", 14)), Bytes("Canon EOS CMOS RAW"),
                   std::vector<uint8_t>(40, 0x11), Bytes("H012345678h")});
  if (cut) *cut = out.size() - 11 + 94;
  out.insert(out.end(), 300, 0x22);
  return out;
}

class CorrectCRWFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA((folder_ / "DezoDozi").c_str(), nullptr);
    SetDLLDestinationFolder(folder_.Path());
    WriteBytes(Carved("KV800.jpg"), ReadBytes(FixturePath("card.jpg")));
    WriteBytes(Carved("KV900.jpg"), ReadBytes(FixturePath("thm.jpg")));
  }
  void TearDown() override { SetDLLDestinationFolder(""); }
  std::string Carved(const std::string& name) const { return folder_ / ("DezoDozi\\" + name); }
  bool Correct(const std::string& name) {
    return CorrectCRW(Carved(name), [this](DWORD ms) { waited_ += ms; });
  }

  TestFolder folder_;
  DWORD waited_ = 0;
};

TEST_F(CorrectCRWFiles, CutsUnderItsInnerNameAndNamesItsThumbnail) {
  size_t cut = 0;
  const auto bytes = CRW("CRW_0001.CRW", &cut);
  WriteBytes(Carved("KV700.CRW"), bytes);
  EXPECT_TRUE(Correct("KV700.CRW"));
  EXPECT_EQ(ReadBytes(Carved("CRW_0001.CRW")), std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
  EXPECT_EQ(folder_.Files("DezoDozi\\"), (std::vector<std::string>{"CRW_0001.CRW", "CRW_0001.THM", "KV800.jpg"}));
  EXPECT_EQ(waited_, 2000u);
}

TEST_F(CorrectCRWFiles, WithoutItsThumbnailTheSearchEndsAfterFourteenSeconds) {
  DeleteFileA(Carved("KV900.jpg").c_str());
  WriteBytes(Carved("KV700.CRW"), CRW("CRW_0001.CRW"));
  EXPECT_FALSE(Correct("KV700.CRW"));
  EXPECT_EQ(waited_, 14000u);
  EXPECT_TRUE(FileThere(Carved("CRW_0001.CRW")));  // the raw file is cut all the same
}

TEST_F(CorrectCRWFiles, NamesFromTheFileStayInItsFolder) {
  const struct {
    std::string inner;
    std::vector<std::string> files;  // of DezoDozi afterwards
  } cases[] = {
      {"..\\..\\evil.CRW", {"KV700.CRW", "KV800.jpg", "KV900.jpg"}},
      {"C:evil.CRW", {"KV700.CRW", "KV800.jpg", "KV900.jpg"}},
      {"KV700.CRW", {"CRW_0001.THM", "KV700.CRW", "KV800.jpg"}},      // its own name: cut in place
      {"KV800.CRW", {"CRW_0001.THM", "KV800.CRW", "KV800.jpg"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.inner);
    for (const auto& f : folder_.Files("DezoDozi\\")) DeleteFileA(Carved(f).c_str());
    WriteBytes(Carved("KV800.jpg"), ReadBytes(FixturePath("card.jpg")));
    WriteBytes(Carved("KV900.jpg"), ReadBytes(FixturePath("thm.jpg")));
    size_t cut = 0;
    WriteBytes(Carved("KV700.CRW"), CRW(c.inner, &cut));
    Correct("KV700.CRW");
    EXPECT_EQ(folder_.Files("DezoDozi\\"), c.files);
    if (c.inner == "KV700.CRW") {
      EXPECT_EQ(ReadBytes(Carved("KV700.CRW")).size(), cut);
    }
  }
  EXPECT_FALSE(FileThere(folder_ / "evil.CRW"));
}

TEST_F(CorrectCRWFiles, AClashGetsANumber) {
  WriteBytes(Carved("CRW_0001.CRW"), Bytes("an older one"));
  WriteBytes(Carved("KV700.CRW"), CRW("CRW_0001.CRW"));
  EXPECT_TRUE(Correct("KV700.CRW"));
  EXPECT_EQ(ReadBytes(Carved("CRW_0001.CRW")), Bytes("an older one"));
  EXPECT_TRUE(FileThere(Carved("CRW_0001_2.CRW")));
}

TEST_F(CorrectCRWFiles, RawDataEndingBeyondTheFileChangesNothing) {
  auto bytes = CRW("CRW_0001.CRW");
  bytes.resize(bytes.size() - 300);  // the end mark is there, the 94 bytes behind it are not
  WriteBytes(Carved("KV700.CRW"), bytes);
  EXPECT_FALSE(Correct("KV700.CRW"));
  EXPECT_EQ(ReadBytes(Carved("KV700.CRW")), bytes);
  EXPECT_FALSE(FileThere(Carved("CRW_0001.CRW")));
}

// Another thread may hold the carved input: it stays beside its cut copy, and the
// thumbnail is named all the same.
TEST_F(CorrectCRWFiles, AnInputThatCannotBeDeletedStillNamesItsThumbnail) {
  size_t cut = 0;
  const auto bytes = CRW("CRW_0001.CRW", &cut);
  WriteBytes(Carved("KV700.CRW"), bytes);
  const HANDLE held = CreateFileA(Carved("KV700.CRW").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(Correct("KV700.CRW"));
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(Carved("CRW_0001.CRW")), std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
  EXPECT_EQ(folder_.Files("DezoDozi\\"),
            (std::vector<std::string>{"CRW_0001.CRW", "CRW_0001.THM", "KV700.CRW", "KV800.jpg"}));
}

// A mark that is not there ends the repair with its outcome line alone; a real failure
// adds the line that names it.
TEST_F(CorrectCRWFiles, AMissingMarkIsLoggedByTheOutcomeLineAlone) {
  StartLogs();
  DeleteFileA(LogFileName("iDLL").c_str());
  DLLDebugMode = true;
  auto noRawEnd = CRW("CRW_0001.CRW");
  noRawEnd.resize(noRawEnd.size() - 300 - 11);
  auto noThumbnailName = CRW("CRW_0001.CRW");
  const std::string thm = "CRW_0001.THM";
  std::search(noThumbnailName.begin(), noThumbnailName.end(), thm.begin(), thm.end())[9] = 'X';
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    bool failure;
  } cases[] = {
      {"KV1.CRW", {}, false},
      {"KV2.CRW", Bytes("no marks at all"), false},
      {"KV3.CRW", noThumbnailName, false},
      {"KV4.CRW", noRawEnd, false},
      {"KV5.CRW", CRW("..\\evil.CRW"), true},  // a refused inner name
  };
  for (const auto& c : cases) {
    WriteBytes(Carved(c.name), c.bytes);
    EXPECT_FALSE(Correct(c.name)) << c.name;
  }
  DLLDebugMode = false;
  std::ifstream in(LogFileName("iDLL"), std::ios::binary);
  const std::string log{std::istreambuf_iterator<char>(in), {}};
  for (const auto& c : cases) {
    EXPECT_NE(log.find("Incomplete data in " + Carved(c.name)), std::string::npos) << c.name;
    EXPECT_EQ(log.find("Unable to correct CRW file " + Carved(c.name)) != std::string::npos, c.failure) << c.name;
  }
}

TEST(CorrectFile, StartsAThreadByExtension) {
  TestFolder folder;
  const auto jpeg = ReadBytes(FixturePath("card.jpg"));
  WriteBytes(folder / "photo.jpg", Join({jpeg, Bytes("junk")}));
  WriteBytes(folder / "PHOTO2.JPG", Join({jpeg, Bytes("junk")}));
  const struct {
    std::string name;
    int32_t result;
  } cases[] = {{folder / "photo.jpg", 1}, {folder / "PHOTO2.JPG", 1}, {folder / "photo.png", 0},
               {folder / "noextension", 0}, {"", 0}, {folder / "gone.X3F", 1}};
  for (const auto& c : cases) EXPECT_EQ(CorrectFile(c.name), c.result) << c.name;
  ASSERT_TRUE(WaitForCorrections(120000));
  EXPECT_EQ(RunningCorrections(), 0);
  EXPECT_TRUE(WaitForIdleCorrections(0)) << "whoever shares the process sees that none runs";
  EXPECT_EQ(ReadBytes(folder / "photo.jpg"), jpeg);
  EXPECT_EQ(ReadBytes(folder / "PHOTO2.JPG"), jpeg);
}

}  // namespace
