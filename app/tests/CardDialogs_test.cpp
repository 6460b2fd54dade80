// The secure-erase, backup and restore dialogs driven over card images mapped to
// letters: G (1200 sectors) and H (1000 sectors), both removable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "app/Backup.h"
#include "app/Restore.h"
#include "app/SecureErase.h"
#include "app/Texts.h"
#include "app/tests/CardFixture.h"
#include "app/tests/TextNumbers.h"
#include "engine/ScanEngine.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/boxes/ksSkinListBox.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinSpeedButton.h"
#include "skin/controls/ksSkinXFormButton.h"

namespace apptest {
namespace {

using CardDriveDialogs = CardTest;

constexpr uint32_t kCardG = 1200;
constexpr uint32_t kCardH = 1000;

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a user does in the backup dialog opened on card G: types the name, presses Backup.
void BackUpCardG(const char* name) {
  frmBackup->Drive = "G";
  frmBackup->FormActivate(nullptr);
  frmBackup->txtBackupName->SetText(name);
  frmBackup->btnBackupClick(nullptr);
}

TEST_F(CardDriveDialogs, SecureEraseRunsToTheEndAndSaysSoOnce) {
  WriteCardImage('G', PatternedSectors(kCardG, 1));
  UseCard('G');
  frmSecureErase->Show();
  frmSecureErase->ExecuteErase();
  EXPECT_EQ(frmSecureErase->pbProgress->MaxValue(), int(kCardG));
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(148));
  EXPECT_FALSE(frmSecureErase->Visible());
  EXPECT_TRUE(frmMain->Enabled());
  const std::vector<uint8_t> card = ReadCardImage('G');
  ASSERT_EQ(card.size(), size_t(kCardG) * 512);
  EXPECT_TRUE(std::all_of(card.begin() + 512, card.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(CardDriveDialogs, SecureEraseWithFailedWritesReportsTheCountNotSuccess) {
  WriteCardImage('G', PatternedSectors(kCardG, 2));
  volumes.FailingSectors = {100, 600, 1190};
  UseCard('G');
  frmSecureErase->Show();
  frmSecureErase->ExecuteErase();
  EXPECT_EQ(frmSecureErase->FailedWrites, 3);
  EXPECT_EQ(frmSecureErase->pbProgress->ProgressText(), "3 " + LangText(24));
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(23) + "\r\n3 " + LangText(24));
  EXPECT_EQ(messages.Boxes()[0].DlgType, ksmtError);
  EXPECT_FALSE(frmSecureErase->Visible());
}

TEST_F(CardDriveDialogs, SecureEraseRefusesToCloseWhileRunningAndCancelIsNoSuccess) {
  const std::vector<uint8_t> before = PatternedSectors(kCardG, 3);
  WriteCardImage('G', before);
  bool visibleAfterClose = false;
  volumes.StepAt = 5;
  volumes.Step = [&] {
    frmSecureErase->Close();
    visibleAfterClose = frmSecureErase->Visible();
    frmSecureErase->btnCancelClick(nullptr);
  };
  UseCard('G');
  frmSecureErase->Show();
  frmSecureErase->ExecuteErase();
  EXPECT_TRUE(visibleAfterClose);
  EXPECT_TRUE(messages.Boxes().empty());
  EXPECT_FALSE(frmSecureErase->Visible());
  EXPECT_TRUE(frmMain->Enabled());
  // Stopped early: the card's end is untouched.
  const std::vector<uint8_t> card = ReadCardImage('G');
  EXPECT_TRUE(std::equal(card.end() - 512, card.end(), before.end() - 512));
}

TEST_F(CardDriveDialogs, BackupTrimsTheNameAndWritesEverySector) {
  const std::vector<uint8_t> sectors = PatternedSectors(kCardG, 4);
  WriteCardImage('G', sectors);
  UseCard('G');
  BackUpCardG("  two  words  ");
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(127));
  const std::vector<uint8_t> file = ReadFileBytes(ScratchFolder() / "two  words.KV3");
  ASSERT_EQ(file.size(), 4 + sectors.size());
  EXPECT_EQ(file[0] | file[1] << 8, int(kCardG));
  EXPECT_TRUE(std::equal(sectors.begin(), sectors.end(), file.begin() + 4));
}

TEST_F(CardDriveDialogs, AnInvalidBackupNameStartsNothing) {
  WriteCardImage('G', PatternedSectors(kCardG, 5));
  UseCard('G');
  frmBackup->Drive = "G";
  frmBackup->FormActivate(nullptr);
  for (const char* name : {"   ", "..\\up", "NUL", "a:b"}) {
    frmBackup->txtBackupName->SetText(name);
    frmBackup->btnBackupClick(nullptr);
    EXPECT_FALSE(frmBackup->pbProgress->Visible()) << name;
    EXPECT_TRUE(frmBackup->btnBackup->Enabled()) << name;
  }
  EXPECT_EQ(volumes.Transfers, 0);
  EXPECT_TRUE(messages.Boxes().empty());
  EXPECT_TRUE(std::filesystem::is_empty(ScratchFolder()));
}

TEST_F(CardDriveDialogs, ACancelledOrFailedBackupLeavesNoFile) {
  struct Case {
    const char* what;
    std::function<void()> step;
    size_t boxes;
  } cases[] = {
      {"cancel", [] { frmBackup->btnCancelClick(nullptr); }, 0},
      {"failure", [] { throw std::runtime_error("the card went away"); }, 1},
  };
  WriteCardImage('G', PatternedSectors(kCardG, 6));
  for (const Case& c : cases) {
    TksScriptedMessages answered;
    UseCard('G');
    volumes.Transfers = 0;
    volumes.StepAt = 20;
    volumes.Step = c.step;
    BackUpCardG("partial");
    ASSERT_EQ(answered.Boxes().size(), c.boxes) << c.what;
    if (c.boxes) {
      EXPECT_EQ(answered.Boxes()[0].Msg, LangText(23)) << c.what;
    }
    EXPECT_FALSE(std::filesystem::exists(ScratchFolder() / "partial.KV3")) << c.what;
    EXPECT_FALSE(frmBackup->Cancelled) << c.what;
  }
}

// An earlier backup of the name a user types again: only a whole new copy replaces it.
TEST_F(CardDriveDialogs, ARefusedCancelledOrFailedBackupKeepsTheEarlierOneOfItsName) {
  const std::filesystem::path earlier = ScratchFolder() / "card.KV3";
  const std::string content = "an earlier backup of the card";
  struct Case {
    const char* what;
    std::function<void()> before;  // after the card is looked up
    std::function<void()> step;     // at the 20th transfer
    size_t boxes;
  } cases[] = {
      {"refused by the engine", [] { frmMain->Engine->CurrentDrive->MediaType = DRIVE_RAMDISK; }, nullptr, 1},
      {"cancel", nullptr, [] { frmBackup->btnCancelClick(nullptr); }, 0},
      {"failure", nullptr, [] { throw std::runtime_error("the card went away"); }, 1},
  };
  WriteCardImage('G', PatternedSectors(kCardG, 7));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(earlier, std::ios::binary | std::ios::trunc) << content;
    TksScriptedMessages answered;
    UseCard('G');
    if (c.before) c.before();
    volumes.Transfers = 0;
    volumes.StepAt = 20;
    volumes.Step = c.step;
    BackUpCardG("card");
    ASSERT_EQ(answered.Boxes().size(), c.boxes);
    if (c.boxes) {
      EXPECT_EQ(answered.Boxes()[0].Msg, LangText(23));
    }
    std::ifstream in(earlier, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), content);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder())) files += entry.is_regular_file();
    EXPECT_EQ(files, 1u) << "nothing but the earlier backup";
  }
}

// A Cancel that closed an earlier showing, with no backup running, belongs to that
// showing: the next backup still ends with its message.
TEST_F(CardDriveDialogs, ABackupAfterACancelledShowingSaysHowItEnded) {
  WriteCardImage('G', PatternedSectors(kCardG, 11));
  UseCard('G');
  frmBackup->Drive = "G";
  frmBackup->Show();
  frmBackup->FormActivate(nullptr);
  frmBackup->btnCancelClick(nullptr);
  ASSERT_FALSE(frmBackup->Visible());
  EXPECT_TRUE(messages.Boxes().empty());

  frmBackup->Show();
  BackUpCardG("after");
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(127));
  EXPECT_TRUE(std::filesystem::exists(ScratchFolder() / "after.KV3"));
  EXPECT_FALSE(frmBackup->Visible());
}

// A card whose size could not be established (no boot sector, no read found its end) is
// neither erased nor backed up, and neither passes for done.
TEST_F(CardDriveDialogs, ACardOfUnknownSizeIsNeitherErasedNorBackedUpAndTheDialogsSaySo) {
  const std::vector<uint8_t> card = PatternedSectors(kCardG, 12);
  const struct {
    const char* what;
    std::function<void()> run;
  } cases[] = {
      {"erase",
       [] {
         frmSecureErase->Show();
         frmSecureErase->ExecuteErase();
       }},
      {"backup", [] { BackUpCardG("unknown"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteCardImage('G', card);
    TksScriptedMessages answered;
    UseCard('G');
    frmMain->Engine->CurrentDrive->TotalSectors = 0;
    c.run();
    ASSERT_EQ(answered.Boxes().size(), 1u);
    EXPECT_EQ(answered.Boxes()[0].Msg, LangText(23));
    EXPECT_EQ(answered.Boxes()[0].DlgType, ksmtError);
    EXPECT_TRUE(ReadCardImage('G') == card);
    EXPECT_FALSE(std::filesystem::exists(ScratchFolder() / "unknown.KV3"));
    EXPECT_FALSE(frmSecureErase->Visible());
    EXPECT_TRUE(frmMain->Enabled());
  }
}

TEST_F(CardDriveDialogs, BackupAndRestoreCloseOnlyByCancelWhileTheyRun) {
  WriteCardImage('G', PatternedSectors(kCardG, 10));
  UseCard('G');
  bool openAfterClose = false;
  volumes.StepAt = 5;
  volumes.Step = [&] {
    frmBackup->Close();
    openAfterClose = frmBackup->Visible();
  };
  frmBackup->Drive = "G";
  frmBackup->Show();
  frmBackup->FormActivate(nullptr);
  frmBackup->txtBackupName->SetText("closing");
  frmBackup->btnBackupClick(nullptr);
  EXPECT_TRUE(openAfterClose);
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(127));
  EXPECT_FALSE(frmBackup->Visible());

  UseCard('G');
  volumes.Step = [&] {
    frmRestore->Close();
    openAfterClose = frmRestore->Visible();
    frmRestore->btnCancelClick(nullptr);
  };
  openAfterClose = false;
  frmRestore->Drive = "G";
  frmRestore->Show();
  frmRestore->FormActivate(nullptr);
  frmRestore->lbFiles->SetItemIndex(0);
  frmRestore->btnRestoreClick(nullptr);
  EXPECT_TRUE(openAfterClose);
  EXPECT_FALSE(frmRestore->Visible());
  EXPECT_EQ(messages.Boxes().size(), 1u);
}

TEST_F(CardDriveDialogs, RestoreListsBackupsAndNeedsOne) {
  frmRestore->Drive = "G";
  frmRestore->FormActivate(nullptr);
  EXPECT_EQ(frmRestore->lbFiles->Items()->Count(), 0);
  EXPECT_FALSE(frmRestore->btnRestore->Enabled());
  std::ofstream(ScratchFolder() / "one.KV3") << "x";
  std::ofstream(ScratchFolder() / "other.txt") << "x";
  frmRestore->FormActivate(nullptr);
  ASSERT_EQ(frmRestore->lbFiles->Items()->Count(), 1);
  EXPECT_EQ(frmRestore->lbFiles->Items()->Strings(0), "one.KV3");
  EXPECT_TRUE(frmRestore->btnRestore->Enabled());
  EXPECT_EQ(frmRestore->lblDrive->Caption(), "G:");
}

TEST_F(CardDriveDialogs, RestoreWritesTheBackupBackOrSaysWhyNot) {
  const std::vector<uint8_t> original = PatternedSectors(kCardG, 7);
  WriteCardImage('G', original);
  WriteCardImage('H', PatternedSectors(kCardH, 8));
  UseCard('G');
  BackUpCardG("full");
  ASSERT_EQ(messages.Boxes().size(), 1u);
  std::vector<uint8_t> cut = ReadFileBytes(ScratchFolder() / "full.KV3");
  cut.resize(cut.size() - 512);
  std::ofstream(ScratchFolder() / "cut.KV3", std::ios::binary).write(reinterpret_cast<const char*>(cut.data()),
                                                                      std::streamsize(cut.size()));

  auto restore = [&](char letter, const char* file) {
    TksScriptedMessages answered;
    UseCard(letter);
    frmRestore->Drive = String(1, letter);
    frmRestore->Show();
    frmRestore->FormActivate(nullptr);
    const int index = frmRestore->lbFiles->Items()->IndexOf(file);
    frmRestore->lbFiles->SetItemIndex(index);
    frmRestore->btnRestoreClick(nullptr);
    return answered.Boxes();
  };

  // A smaller card: the refusal only, the dialog stays open for another try.
  auto boxes = restore('H', "full.KV3");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Msg, LangText(136));
  EXPECT_TRUE(frmRestore->Visible());
  EXPECT_FALSE(frmRestore->pbRestore->Visible());
  EXPECT_TRUE(frmRestore->btnRestore->Enabled());

  // A file cut short is no restore, and the reason is told in the user's language.
  WriteCardImage('G', PatternedSectors(kCardG, 9));
  boxes = restore('G', "cut.KV3");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Msg, LangText(23) + "\r\n" + LangText(143));
  EXPECT_EQ(boxes[0].DlgType, ksmtError);

  boxes = restore('G', "full.KV3");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Msg, LangText(137));
  EXPECT_FALSE(frmRestore->Visible());
  EXPECT_TRUE(ReadCardImage('G') == original);
}

// Each reason the engine gives for a restore it refused or could not finish is told in
// the user's language after message 23.
TEST_F(CardDriveDialogs, ARestoreThatFailsSaysWhyInTheUsersLanguage) {
  WriteCardImage('G', PatternedSectors(kCardG, 10));
  UseCard('G');
  BackUpCardG("full");
  std::ofstream(ScratchFolder() / "empty.KV3", std::ios::binary);
  std::ofstream(ScratchFolder() / "tiny.KV3", std::ios::binary) << "KV3";
  std::ofstream(ScratchFolder() / "gone.KV3", std::ios::binary) << "KV3";
  const struct {
    const char* file;
    std::function<void()> beforeRestore;
    uint8_t reason;
  } rows[] = {
      {"empty.KV3", nullptr, 142},
      {"tiny.KV3", nullptr, 142},
      {"gone.KV3", [&] { std::filesystem::remove(ScratchFolder() / "gone.KV3"); }, 138},
      {"full.KV3", [&] { volumes.FailingSectors = {5}; }, 144},
  };
  for (const auto& r : rows) {
    TksScriptedMessages answered;
    frmRestore->Drive = "G";
    frmRestore->Show();
    frmRestore->FormActivate(nullptr);
    frmRestore->lbFiles->SetItemIndex(frmRestore->lbFiles->Items()->IndexOf(r.file));
    if (r.beforeRestore) r.beforeRestore();
    frmRestore->btnRestoreClick(nullptr);
    ASSERT_EQ(answered.Boxes().size(), 1u) << r.file;
    EXPECT_EQ(answered.Boxes()[0].Msg, LangText(23) + "\r\n" + LangText(r.reason)) << r.file;
  }
}

}  // namespace
}  // namespace apptest
