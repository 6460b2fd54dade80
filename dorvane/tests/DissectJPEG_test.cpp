#include "dorvane/DissectJPEG.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "dorvane/DebugDLL.h"
#include "dorvane/tests/dorvane_fixtures.h"
#include "engine/Debug.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(DissectJPEG, WritesEachStreamFromTheEnd) {
  TestFolder folder;
  const std::string soi = "\xFF\xD8", eoi = "\xFF\xD9";
  const std::string first = soi + "first stream" + eoi, second = soi + "second" + eoi;
  const std::string thumb = soi + "thumb" + eoi;
  const struct {
    std::string content;
    std::vector<std::pair<std::string, std::string>> written;  // name suffix, content
  } cases[] = {
      {first + second + "x", {{"0.jpg", first}, {std::to_string(first.size()) + ".jpg", second}}},
      // One stream ending the file: only its embedded thumbnail is below the final marker.
      {soi + "head " + thumb + " body" + eoi, {{"7.jpg", thumb}}},
      {"no start" + eoi + "x", {{"0.jpg", "no start" + eoi}}},
      {soi + "no end at all", {}},
      // A stray end marker below the last start has no stream of its own.
      {"junk" + eoi + "junk" + second + "x", {{"10.jpg", second}}},
      {"", {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string name = "KVF" + std::to_string(++n) + ".JPG";
    WriteBytes(folder / name, Bytes(c.content));
    EXPECT_FALSE(DissectJPEG(folder / name));
    std::vector<std::string> expected{name};
    for (const auto& [suffix, content] : c.written) {
      expected.push_back(name + suffix);
      EXPECT_EQ(ReadBytes(folder / (name + suffix)), Bytes(content)) << name + suffix;
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.Files(), expected) << c.content;
    EXPECT_EQ(ReadBytes(folder / name), Bytes(c.content));
    for (const auto& [suffix, content] : c.written) DeleteFileA((folder / (name + suffix)).c_str());
    DeleteFileA((folder / name).c_str());
  }
  EXPECT_FALSE(DissectJPEG(""));
  EXPECT_FALSE(DissectJPEG(folder / "missing.JPG"));
}

// A file without a whole stream fails in its first pass, an empty one too, and says so.
TEST(DissectJPEG, AFileWithoutAStreamLogsItsFailure) {
  TestFolder folder;
  StartLogs();
  DeleteFileA(LogFileName("iDLL").c_str());
  DLLDebugMode = true;
  for (const char* name : {"KVF1.JPG", "KVF2.JPG"}) {
    WriteBytes(folder / name, Bytes(name == std::string("KVF1.JPG") ? "" : "\xFF\xD8 no end at all"));
    EXPECT_FALSE(DissectJPEG(folder / name));
  }
  DLLDebugMode = false;
  std::ifstream in(LogFileName("iDLL"), std::ios::binary);
  const std::string log{std::istreambuf_iterator<char>(in), {}};
  for (const char* name : {"KVF1.JPG", "KVF2.JPG"})
    EXPECT_NE(log.find("Exception on Dissect JPG (" + folder / name + ") : "), std::string::npos) << name;
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"KVF1.JPG", "KVF2.JPG"}));
}

}  // namespace
