#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "engine/FoundFiles.h"
#include "engine/tests/EngineFixtures.h"
#include "engine/tests/FatImageBuilder.h"

namespace {

const std::string kLongName = "A long file name of forty characters.jpg";
static_assert(sizeof("A long file name of forty characters.jpg") == 41);

struct Found {
  std::string Name;
  uint32_t Size;
  uint8_t Recoverability;
  bool operator==(const Found&) const = default;
  bool operator<(const Found& o) const { return std::tie(Name, Size) < std::tie(o.Name, o.Size); }
};

void PrintTo(const Found& f, std::ostream* os) { *os << f.Name << "/" << f.Size << "/" << int(f.Recoverability); }

// The found lists are the engine unit's globals: each test starts and ends with them empty.
class DirectoryWalk : public ::testing::Test {
 protected:
  void SetUp() override { Empty(); }
  void TearDown() override { Empty(); }
  static void Empty() {
    FoundDirectories.ClearAndFree();
    FoundFiles.ClearAndFree();
  }

  static std::vector<Found> Walk(TScanEngine& engine) {
    Empty();
    EXPECT_TRUE(engine.FATReader->ReadBootSector());
    EXPECT_TRUE(engine.FATReader->ReadDirectoryTree());
    std::vector<Found> found;
    for (int i = 0; i < FoundFiles.Count(); ++i)
      found.push_back({FoundFile(i)->Name, FoundFile(i)->Size, FoundFile(i)->Recoverability});
    std::sort(found.begin(), found.end());
    return found;
  }

  static std::vector<std::string> Directories() {
    std::vector<std::string> names;
    for (int i = 0; i < FoundDirectories.Count(); ++i) names.push_back(FoundDirectory(i)->Name);
    std::sort(names.begin(), names.end());
    return names;
  }
};

// A card with live, deleted, reused and hostile entries in nested folders.
TFatImageBuilder SampleCard(int fatType) {
  TFatImageBuilder card(fatType, fatType == 1 ? 2000 : fatType == 2 ? 5000 : 65600);
  const uint32_t root = TFatImageBuilder::kRoot;
  card.AddFile(root, {.ShortName = "IMG_0001.JPG", .Content = std::string(3000, 'a')});
  card.AddFile(root, {.ShortName = "ALONGF~1.JPG", .LongName = kLongName, .Content = std::string(700, 'l')});
  card.AddFile(root, {.ShortName = "GONE.JPG", .Content = std::string(1024, 'g'), .Deleted = true});
  // Deleted, then its clusters given to another file: not recoverable.
  const std::vector<uint32_t> reused = card.Allocate(2);
  card.AddFile(root, {.ShortName = "USED.JPG", .Content = std::string(1000, 'u'), .Clusters = reused, .Deleted = true});
  card.AddFile(root, {.ShortName = "NEW.JPG", .Content = std::string(1000, 'n'), .Clusters = reused});
  card.AddFile(root, {.ShortName = "CON.JPG", .Content = "c"});
  card.AddFile(root, {.ShortName = "EVIL.JPG", .LongName = "..\\..\\evil.jpg", .Content = "e"});
  const uint32_t dcim = card.AddDirectory(root, "DCIM");
  const uint32_t canon = card.AddDirectory(dcim, "100CANON", "100 Canon photos");
  card.AddFile(canon, {.ShortName = "IMG_0100.JPG", .Content = std::string(5000, 'i')});
  const uint32_t old = card.AddDirectory(root, "OLD", "", true);
  card.AddFile(old, {.ShortName = "KEEP.JPG", .Content = std::string(10, 'k')});
  card.AddFile(old, {.ShortName = "PIC.JPG", .LongName = "Deleted picture.jpg", .Content = "p", .Deleted = true});
  return card;
}

std::vector<Found> ExpectedSample() {
  std::vector<Found> expected = {
      {kLongName, 700, rcLive},
      {"_CON.JPG", 1, rcLive},
      {".._.._evil.jpg", 1, rcLive},
      {"IMG_0001.JPG", 3000, rcLive},
      {"NEW.JPG", 1000, rcLive},
      {"GC__ONE.JPG", 1024, rcFreeStart},
      {"IMG_0100.JPG", 5000, rcLive},
      {"KEEP.JPG", 10, rcLive},
      {"GC_Deleted picture.jpg", 1, rcFreeStart},
  };
  std::sort(expected.begin(), expected.end());
  return expected;
}

}  // namespace

TEST_F(DirectoryWalk, FindsLiveDeletedAndNestedFilesOnEveryFatType) {
  for (const int type : {1, 2, 3}) {
    SCOPED_TRACE(type);
    TFatImageBuilder card = SampleCard(type);
    TImageVolumeCalls volumes(card.Image, kTestLetter);
    auto engine = MakeNtEngine(volumes);
    AttachDrive(*engine, card.TotalSectors);
    EXPECT_EQ(Walk(*engine), ExpectedSample());
    EXPECT_EQ(Directories(), (std::vector<std::string>{"100 Canon photos", "DCIM", "_LD"}));
    for (int i = 0; i < FoundDirectories.Count(); ++i) {
      const TSEDirectory* d = FoundDirectory(i);
      EXPECT_TRUE(d->Visited);
      EXPECT_EQ(d->Recoverability, d->Name == "_LD" ? rcFreeStart : rcLive) << d->Name;
    }
  }
}

TEST_F(DirectoryWalk, TheNtAndThe98FamilyReadTheSameCard) {
  TFatImageBuilder card = SampleCard(2);
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  TVxdEmulator vxd(card.Image, kTestDrive);
  auto nt = MakeNtEngine(volumes);
  auto w98 = Make98Engine(volumes, vxd);
  AttachDrive(*nt, card.TotalSectors);
  AttachDrive(*w98, card.TotalSectors);
  const std::vector<Found> fromNt = Walk(*nt);
  const std::vector<Found> from98 = Walk(*w98);
  EXPECT_EQ(fromNt, ExpectedSample());
  EXPECT_EQ(from98, fromNt);
  EXPECT_GT(vxd.Transfers, 0);
}

TEST_F(DirectoryWalk, ALoopingDirectoryChainEnds) {
  TFatImageBuilder card(1, 200);
  const uint32_t folder = card.AddDirectory(TFatImageBuilder::kRoot, "LOOP");
  for (int i = 0; i < 20; ++i)
    card.AddFile(folder, {.ShortName = "F" + std::to_string(i) + ".JPG", .Content = "x"});
  // The folder's second cluster leads back to its first.
  const uint32_t second = card.Entry(folder);
  ASSERT_GE(second, 2u);
  card.SetEntry(second, folder);
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  EXPECT_EQ(Walk(*engine).size(), 20u);
}

TEST_F(DirectoryWalk, AnEmptyLookingFatReadsFoldersFromConsecutiveClusters) {
  TFatImageBuilder card(2, 5000);
  card.Allocate(18);  // clusters 2..19 stay free
  const uint32_t folder = card.AddDirectory(TFatImageBuilder::kRoot, "DCIM");
  ASSERT_EQ(folder, 20u);
  for (uint32_t i = 0; i < 20; ++i)
    card.AddRecord(folder, TFatImageBuilder::ShortRecord("P" + std::to_string(i) + ".JPG", 0x20, 100 + i, 10));
  ASSERT_EQ(card.Entry(20), 21u);
  card.SetEntry(20, 0);
  card.SetEntry(21, 0);
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  const std::vector<Found> found = Walk(*engine);
  EXPECT_FALSE(engine->FATReader->FATValid);
  EXPECT_EQ(found.size(), 20u);
}

TEST_F(DirectoryWalk, HostileRootAreaEndsWithItsSectors) {
  // No end record anywhere: from the root area on, the card holds nothing but garbage.
  TFatImageBuilder card(1, 200);
  std::fill(card.Image.Bytes.begin() + size_t(card.RootDirSector) * 512, card.Image.Bytes.end(), uint8_t(0x41));
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  EXPECT_TRUE(Walk(*engine).empty());
}

TEST_F(DirectoryWalk, ClusterChainsOfBothCopies) {
  TFatImageBuilder card(2, 5000);
  card.Chain({10, 11, 20, 21});
  card.SetEntry(11, 30, 1);  // the second copy disagrees
  card.Chain({40, 41});
  card.SetEntry(41, 40);  // a loop
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  TSEFAT& fat = *engine->FATReader;
  ASSERT_TRUE(fat.ReadBootSector());

  TClusterChains chains;
  fat.BuildClusterChains(fat.ClusterToSector(10), chains);
  EXPECT_EQ(chains.FAT1, (std::vector<uint32_t>{11, 20, 21}));
  EXPECT_EQ(chains.FAT2, (std::vector<uint32_t>{11, 30}));

  fat.BuildClusterChains(fat.ClusterToSector(40), chains);  // ends where it comes back
  EXPECT_EQ(chains.FAT1, (std::vector<uint32_t>{41}));
  EXPECT_EQ(chains.FAT2, (std::vector<uint32_t>{41}));

  fat.BuildClusterChains(fat.ClusterToSector(50), chains);  // free: no successors
  EXPECT_TRUE(chains.FAT1.empty());
  EXPECT_TRUE(chains.FAT2.empty());

  chains.FAT1 = {7};
  fat.BuildClusterChains(card.TotalSectors, chains);  // past the drive: left as it was
  EXPECT_EQ(chains.FAT1, (std::vector<uint32_t>{7}));
  fat.BuildClusterChains(1, chains);  // before the data area: no chain
  EXPECT_TRUE(chains.FAT1.empty());

  engine->ReadClusterChains();
  ASSERT_EQ(engine->FAT1Table.size(), fat.CountOfClusters + 2);
  EXPECT_EQ(engine->FAT1Table[11], 20u);
  EXPECT_EQ(engine->FAT2Table[11], 30u);
  EXPECT_EQ(engine->FAT1Table[21], card.EndMark());
  EXPECT_EQ(engine->FAT1Table[0], 0u);
  EXPECT_EQ(engine->FAT1Table[1], 0u);
}

TEST_F(DirectoryWalk, RegistrationRefusesDuplicatesAndUnrecoverableFiles) {
  TFatImageBuilder card(2, 5000);
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  ASSERT_TRUE(engine->FATReader->ReadBootSector());
  auto file = [](const char* name, uint32_t cluster, uint32_t size, uint8_t recoverability) {
    auto* f = new TSEFile;
    f->Name = name;
    f->Cluster = cluster;
    f->Size = size;
    f->Recoverability = recoverability;
    return std::unique_ptr<TSEFile>(f);
  };
  struct Case {
    std::unique_ptr<TSEFile> f;
    bool added;
  };
  Case cases[] = {{file("A.JPG", 5, 10, rcLive), true},      {file("A.JPG", 5, 10, rcLive), false},
                  {file("A.JPG", 6, 10, rcLive), true},      {file("B.JPG", 0, 10, rcLive), false},
                  {file("PC_C.JPG", 7, 10, rcUsedStart), false}, {file("GC_C.JPG", 7, 10, rcFreeStart), true}};
  for (Case& c : cases) {
    const bool added = engine->RegisterFile(c.f.get());
    EXPECT_EQ(added, c.added) << c.f->Name << " " << c.f->Cluster;
    if (added) c.f.release();
  }
  EXPECT_EQ(FoundFiles.Count(), 3);

  auto* d = new TSEDirectory;
  d->Name = "X";
  d->Cluster = 0;
  EXPECT_FALSE(engine->RegisterDirectory(d));  // no folder lives outside the data area
  delete d;
}

TEST_F(DirectoryWalk, CardsWith2048ByteSectors) {
  for (const int type : {1, 2}) {
    SCOPED_TRACE(type);
    TFatImageBuilder card(type, type == 1 ? 1000 : 5000, 1, 2048);
    const uint32_t folder = card.AddDirectory(TFatImageBuilder::kRoot, "DCIM");
    for (int i = 0; i < 100; ++i)  // two clusters of records
      card.AddFile(folder, {.ShortName = "P" + std::to_string(i) + ".JPG", .Content = std::string(3000, 'p')});
    card.AddFile(TFatImageBuilder::kRoot, {.ShortName = "GONE.JPG", .Content = "g", .Deleted = true});
    TImageVolumeCalls volumes(card.Image, kTestLetter);
    auto engine = MakeNtEngine(volumes);
    AttachDrive(*engine, card.TotalSectors, 0, kTestDrive, 2048);
    const std::vector<Found> found = Walk(*engine);
    ASSERT_EQ(found.size(), 101u);
    EXPECT_EQ(found.front(), (Found{"GC__ONE.JPG", 1, rcFreeStart}));
    EXPECT_EQ(engine->FATReader->BytesPerCluster, 2048);
    const TSEFile* last = FoundFile(FoundFiles.Count() - 1);
    ASSERT_EQ(last->Size, 3000u);
    TClusterChains chains;
    engine->FATReader->BuildClusterChains(engine->FATReader->ClusterToSector(last->Cluster), chains);
    EXPECT_EQ(chains.FAT1, (std::vector<uint32_t>{last->Cluster + 1}));  // 3000 bytes: two clusters
  }
}

TEST_F(DirectoryWalk, EntriesInTheVolumesLastClusterAreFound) {
  for (const int type : {1, 2, 3}) {
    SCOPED_TRACE(type);
    const uint32_t clusters = type == 1 ? 200 : type == 2 ? 5000 : 65600;
    TFatImageBuilder card(type, clusters);
    const std::vector<uint32_t> files = card.Allocate(3);
    card.Allocate(clusters - files.back());  // the folder takes the last cluster
    const uint32_t folder = card.AddDirectory(TFatImageBuilder::kRoot, "LAST");
    ASSERT_EQ(folder, clusters + 1);
    for (size_t i = 0; i < files.size(); ++i)
      card.AddFile(folder, {.ShortName = "P" + std::to_string(i) + ".JPG", .Content = "p", .Clusters = {files[i]}});
    TImageVolumeCalls volumes(card.Image, kTestLetter);
    auto engine = MakeNtEngine(volumes);
    AttachDrive(*engine, card.TotalSectors);
    EXPECT_EQ(Walk(*engine), (std::vector<Found>{{"P0.JPG", 1, rcLive}, {"P1.JPG", 1, rcLive}, {"P2.JPG", 1, rcLive}}));
    EXPECT_EQ(engine->FATReader->DirectoryReadFailures, 0u);
  }
}

TEST_F(DirectoryWalk, AnUnreadableDirectorySectorCostsOnlyItsOwnRecords) {
  TFatImageBuilder card(2, 5000);
  const uint32_t folder = card.AddDirectory(TFatImageBuilder::kRoot, "DCIM");
  card.AddFile(TFatImageBuilder::kRoot, {.ShortName = "ROOT.JPG", .Content = "r"});
  // 2 + 30 records: the folder's first cluster holds 16 of them, its second the rest.
  for (int i = 0; i < 30; ++i) card.AddFile(folder, {.ShortName = "P" + std::to_string(i) + ".JPG", .Content = "p"});
  card.Image.BadSectors = {card.ClusterToSector(folder)};
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  std::vector<Found> expected = {{"ROOT.JPG", 1, rcLive}};
  for (int i = 14; i < 30; ++i) expected.push_back({"P" + std::to_string(i) + ".JPG", 1, rcLive});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Walk(*engine), expected);
  // The folder is read four times over; its bad sector is read and counted once.
  EXPECT_EQ(engine->FATReader->DirectoryReadFailures, 1u);
}

TEST_F(DirectoryWalk, TheClustersAFileIsSavedFrom) {
  TFatImageBuilder card(2, 5000);
  card.Chain({10, 11, 20});
  card.Chain({30, 31});
  card.SetEntry(31, 30);  // loops back
  card.Chain({40, 41});
  card.SetEntry(41, 0);  // runs into a free cluster
  card.SetEntry(50, 0xFFF7);
  card.SetEntry(60, 6000);  // past the last cluster
  TImageVolumeCalls volumes(card.Image, kTestLetter);
  auto engine = MakeNtEngine(volumes);
  AttachDrive(*engine, card.TotalSectors);
  ASSERT_TRUE(engine->FATReader->ReadBootSector());
  engine->ReadClusterChains();
  struct Case {
    uint32_t cluster;
    uint32_t size;
    uint8_t recoverability;
    std::vector<uint32_t> clusters;
    bool complete;
  };
  const Case cases[] = {
      {10, 0, rcLive, {10, 11, 20}, true},          // to its end mark
      {10, 1000, rcLive, {10, 11}, true},           // to its size
      {30, 0, rcLive, {30, 31}, false},             // a loop
      {40, 0, rcLive, {40, 41}, false},             // a free cluster, no size to go on to
      {40, 2000, rcLive, {40, 41, 42, 43}, true},   // a free cluster inside its size: the next ones
      {50, 0, rcLive, {50}, false},                 // a bad cluster
      {60, 0, rcLive, {60}, false},                 // out of range
      {100, 1500, rcFreeStart, {100, 101, 102}, true},  // deleted: the free clusters that follow
      {100, 0, rcFreeStart, {100}, true},           // deleted without size: one cluster
      {5000, 1500, rcFreeStart, {5000, 5001}, false},  // deleted, cut at the card's end
      {1, 0, rcLive, {}, false},                    // no cluster of the volume
  };
  for (const Case& c : cases) {
    TSEFile file;
    file.Cluster = c.cluster;
    file.Size = c.size;
    file.Recoverability = c.recoverability;
    const TFileClusters found = FileClusters(file, *engine->FATReader, engine->FAT1Table);
    EXPECT_EQ(found.Clusters, c.clusters) << c.cluster << " " << c.size;
    EXPECT_EQ(found.Complete, c.complete) << c.cluster << " " << c.size;
  }
}
