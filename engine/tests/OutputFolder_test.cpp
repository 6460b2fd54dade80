#include <gtest/gtest.h>

#include "engine/OutputFolder.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/PassFixtures.h"
#include "framework/core/formatsettings.h"

namespace {

TEST(OutputFolder, FormatSizeTexts) {
  const std::vector<std::pair<uint64_t, std::string>> cases = {
      {0, "0k"},           {500, "500.00 bytes"}, {1536, "1.50 KB"},
      {1048576, "1.00 MB"}, {1073741824, "1.00 GB"}, {4294967295u, "4.00 GB"},
      {4294967296ull, "4.00 GB"}, {5368709120ull, "5.00 GB"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FormatSize(bytes), text) << bytes;
}

TEST(OutputFolder, FolderGetsBackslashAndOutlivesTheEngine) {
  TDiskImage image;
  TImageVolumeCalls volumes(image, kTestLetter);
  TScratchFolder out("kv_outfolder.");
  const std::string bare = out.Path().substr(0, out.Path().size() - 1);
  {
    auto engine = MakeNtEngine(volumes);
    engine->SetDestinationFolder(bare);
    EXPECT_EQ(engine->DestinationFolder, out.Path());
  }
  auto engine = MakeNtEngine(volumes);
  EXPECT_EQ(engine->GetDestinationFolder(), out.Path());
  engine->SetDestinationFolder("");
  EXPECT_EQ(engine->DestinationFolder, engine->ProgramFolder);
}

TEST(OutputFolder, CountsFilesOfBothFoldersButNotThumbsDb) {
  TDiskImage image;
  TImageVolumeCalls volumes(image, kTestLetter);
  TScratchFolder out("kv_count.");
  auto engine = MakeNtEngine(volumes);
  engine->DestinationFolder = out.Path();
  CreateDirectoryA((out.Path() + "DuvidAziz").c_str(), nullptr);
  CreateDirectoryA((out.Path() + "DezoDozi").c_str(), nullptr);
  for (const char* name : {"DuvidAziz\\A.JPG", "DuvidAziz\\B.JPG", "DuvidAziz\\C.JPG", "DuvidAziz\\Thumbs.db",
                           "DezoDozi\\KV1.JPG"})
    WriteTextFile(out.Path() + name, "x");
  EXPECT_EQ(engine->CountRecoveredFiles(), 4u);
}

}  // namespace
