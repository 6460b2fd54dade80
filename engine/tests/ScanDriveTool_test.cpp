// The driver tool end to end: a card image mapped as drive Y:, both passes run through
// scan_drive.exe with the correction library, the recovered files compared byte for byte.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/tests/EngineFixtures.h"
#include "engine/tests/FatImageBuilder.h"
#include "engine/tests/PassFixtures.h"
#include "framework/core/handles.h"

namespace {

constexpr char kDrive[] = "Y:";

// A JPEG as the correction library sees one: SOI, JFIF marker, a body without FFh bytes
// and EOI, so that the carved copy cut after its last EOI is the file again.
std::string Picture(size_t size, int seed) {
  std::string content(size, '\0');
  for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>(((i * 31 + seed * 17) ^ (i >> 8)) % 0xFF);
  const std::string head("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10);
  content.replace(0, head.size(), head);
  content[size - 2] = '\xFF';
  content[size - 1] = '\xD9';
  return content;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Runs the tool; its exit code, and its output in `output`.
DWORD RunTool(const std::string& outdir, const std::string& scratch, std::string& output) {
  const std::string log = scratch + "scan_drive.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  DWORD code = 99;
  {
    KernelHandle file(CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file.get();
    startup.hStdError = file.get();
    PROCESS_INFORMATION process{};
    std::string command = "\"" + ProgramFolder() + "scan_drive.exe\" " + kDrive + " \"" + outdir + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
      return GetLastError() + 1000;
    KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 240000);
    GetExitCodeProcess(process.hProcess, &code);
  }
  output = ReadWholeFile(log);
  return code;
}

class ScanDriveTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LetterMapped('Y'));
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    image_ = std::string(cwd) + "\\testdata\\scandrive.img";
  }
  std::string image_;
  TScratchFolder scratch_{"kv_scan_tool."};
};

TEST_F(ScanDriveTool, LiveDeletedFragmentedAndReformattedFilesComeBack) {
  TFatImageBuilder card(2, 6000, 4);
  const uint32_t root = TFatImageBuilder::kRoot;
  const std::string live = Picture(9000, 1), gone = Picture(5000, 2), frag = Picture(8192, 3);
  card.AddFile(root, {.ShortName = "LIVE.JPG", .Content = live});
  card.AddFile(root, {.ShortName = "GONE.JPG", .Content = gone, .Deleted = true});
  // Clusters 4000, 4001, then 4005, 4006, filled: a file saved again by its chain keeps
  // its last cluster whole. The gap holds data of no known type.
  card.AddFile(root, {.ShortName = "FRAG.JPG", .Content = frag, .Clusters = {4000, 4001, 4005, 4006}});
  std::fill_n(card.Cluster(4002), 3 * card.ClusterBytes(), 'x');
  card.AddFile(root, {.ShortName = "NOTE.TXT", .Content = "no picture"});
  card.Image.Save(image_);

  const std::string out = scratch_.Path() + "first";
  std::string output;
  ASSERT_EQ(RunTool(out, scratch_.Path(), output), 0u) << output;
  EXPECT_NE(output.find("finished 1"), std::string::npos) << output;
  EXPECT_NE(output.find("read_errors=0"), std::string::npos) << output;
  // The DuvidAziz pass: every picture by its chain, the deleted one under its "GC_" name.
  EXPECT_TRUE(ReadWholeFile(out + "\\DuvidAziz\\LIVE.JPG") == live);
  EXPECT_TRUE(ReadWholeFile(out + "\\DuvidAziz\\GC__ONE.JPG") == gone);
  EXPECT_TRUE(ReadWholeFile(out + "\\DuvidAziz\\FRAG.JPG") == frag);
  // The DezoDozi pass: contiguous files carved and cut, the fragmented one saved again.
  std::map<std::string, std::string> carved;
  for (const auto& name : FolderNames(out + "\\DezoDozi")) carved[name] = ReadWholeFile(out + "\\DezoDozi\\" + name);
  const std::string fragName = "KVF" + std::to_string(card.ClusterToSector(4000)) + ".JPG";
  ASSERT_TRUE(carved.count(fragName)) << output;
  EXPECT_TRUE(carved[fragName] == frag);
  EXPECT_FALSE(carved.count("KV" + std::to_string(card.ClusterToSector(4000)) + ".JPG"));
  int found = 0;
  for (const auto& [name, content] : carved) found += content == live || content == gone;
  EXPECT_EQ(found, 2) << output;

  // The same card re-formatted: FATs and root emptied, the data left where it was.
  std::fill(card.Image.Bytes.begin() + size_t(card.ReservedSectors) * 512,
            card.Image.Bytes.begin() + size_t(card.FirstDataSector) * 512, 0);
  card.SetEntry(0, 0xFFF8);
  card.SetEntry(1, 0xFFFF);
  card.Image.Save(image_);
  const std::string again = scratch_.Path() + "second";
  ASSERT_EQ(RunTool(again, scratch_.Path(), output), 0u) << output;
  EXPECT_TRUE(FolderNames(again + "\\DuvidAziz").empty());
  found = 0;
  for (const auto& name : FolderNames(again + "\\DezoDozi")) {
    const std::string content = ReadWholeFile(again + "\\DezoDozi\\" + name);
    found += content == live || content == gone;
  }
  EXPECT_EQ(found, 2) << output;
}

}  // namespace
