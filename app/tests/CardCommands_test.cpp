// The main window's commands around the card dialogs. The Mapped ones run with card
// images behind G (removable), J (fixed) and L (network).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/tests/TextNumbers.h"
#include "app/tests/CardFixture.h"
#include "app/tests/FolderScratch.h"
#include "engine/Debug.h"
#include "framework/core/widetext.h"
#include "skin/controls/ksSkinLabels.h"

namespace apptest {
namespace {

using CardDriveCommands = CardTest;
using CardCommands = CardTest;

constexpr uint32_t kCard = 600;

enum class TCommand { Erase, Backup, Restore };

void RunCommand(TCommand command, char letter) {
  switch (command) {
    case TCommand::Erase: return frmMain->SecureEraseDrive(letter);
    case TCommand::Backup: return frmMain->BackupDrive(letter);
    case TCommand::Restore: return frmMain->RestoreDrive(letter);
  }
}

TEST_F(CardCommands, EraseWithoutADriveAsksToChooseOne) {
  frmMain->SecureEraseDrive(0);
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(2));
  EXPECT_EQ(messages.Boxes()[0].DlgType, ksmtInformation);
}

TEST_F(CardDriveCommands, DrivesThatAreNoCardsAreRefusedBeforeAnyQuestion) {
  for (char letter : {'J', 'L'}) WriteCardImage(letter, PatternedSectors(kCard, 1));
  struct Case {
    TCommand command;
    char letter;
    const char* programFolder;
    uint8_t text;
  } cases[] = {
      {TCommand::Erase, 'J', nullptr, 1},       {TCommand::Erase, 'L', nullptr, 1},
      {TCommand::Backup, 'J', nullptr, 124},    {TCommand::Backup, 'L', nullptr, 124},
      {TCommand::Restore, 'J', nullptr, 133},   {TCommand::Restore, 'L', nullptr, 133},
      {TCommand::Backup, 'G', "G:\\Korvalo\\", 108}, {TCommand::Backup, 'G', "g:\\korvalo\\", 108},
      {TCommand::Restore, 'G', "G:\\Korvalo\\", 108}, {TCommand::Restore, 'G', "g:\\korvalo\\", 108},
      {TCommand::Backup, '\0', nullptr, 23},    {TCommand::Restore, '\0', nullptr, 23},
  };
  WriteCardImage('G', PatternedSectors(kCard, 2));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.letter ? c.letter : '-') + " -> " + std::to_string(c.text));
    TksScriptedMessages answered;
    frmMain->Engine->ProgramFolder = c.programFolder ? c.programFolder : programFolder;
    CloseDialogsWhenShown();
    RunCommand(c.command, c.letter);
    Application->ProcessMessages();
    ASSERT_EQ(answered.Boxes().size(), 1u);
    EXPECT_EQ(answered.Boxes()[0].Msg, LangText(c.text));
    EXPECT_EQ(answered.Boxes()[0].DlgType, ksmtError);
    EXPECT_FALSE(frmBackup->Visible());
    EXPECT_FALSE(frmRestore->Visible());
    EXPECT_FALSE(frmSecureErase->Visible());
  }
}

// A CD is no card; nor, to copy, is any drive the engine copies not, such as a RAM disk:
// it is refused with the fixed drive's message before the dialog.
TEST_F(CardDriveCommands, ACDIsNoCardAndARamDiskNoCardToCopy) {
  std::ifstream in("testdata/recovery-card.img", std::ios::binary);
  const std::vector<uint8_t> fat{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(fat.empty()) << "testdata/recovery-card.img was not made before the tests";
  WriteCardImage('G', fat);
  const struct {
    UINT kind;
    TCommand command;
    uint8_t text;
  } cases[] = {{DRIVE_CDROM, TCommand::Erase, 1},      {DRIVE_CDROM, TCommand::Backup, 124},
               {DRIVE_CDROM, TCommand::Restore, 133},  {DRIVE_RAMDISK, TCommand::Backup, 124},
               {DRIVE_RAMDISK, TCommand::Restore, 133}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " -> " + std::to_string(c.text));
    volumes.DriveTypes = {{"G:\\", c.kind}};
    TksScriptedMessages answered;
    CloseDialogsWhenShown();
    RunCommand(c.command, 'G');
    Application->ProcessMessages();
    ASSERT_EQ(answered.Boxes().size(), 1u);
    EXPECT_EQ(answered.Boxes()[0].Msg, LangText(c.text));
    EXPECT_EQ(answered.Boxes()[0].DlgType, ksmtError);
  }
  EXPECT_TRUE(ReadCardImage('G') == fat);
}

TEST_F(CardDriveCommands, EraseAsksTwiceNamingTheDriveAndNoLeavesTheCard) {
  const std::vector<uint8_t> card = PatternedSectors(kCard, 3);
  WriteCardImage('G', card);
  for (int yesBeforeNo : {0, 1}) {
    TksScriptedMessages answered;
    if (yesBeforeNo) answered.Answer(mrYes);
    answered.Answer(mrNo);
    frmMain->SecureEraseDrive('G');
    ASSERT_EQ(answered.Boxes().size(), size_t(1 + yesBeforeNo));
    const TSEDriveInformation& drive = *frmMain->LastDriveInfo;
    EXPECT_EQ(answered.Boxes()[0].Msg, LangText(61) + " G:\\ " + WideToAnsi(drive.VolumeLabel()) + " " +
                                           WideToAnsi(drive.CapacityText));
    EXPECT_FALSE(drive.CapacityText.empty());
    EXPECT_EQ(answered.Boxes()[0].Buttons, TksMessageButtons({ksmbYes, ksmbNo}));
    if (yesBeforeNo) {
      EXPECT_EQ(answered.Boxes()[1].Msg, LangText(58));
    }
    EXPECT_TRUE(ReadCardImage('G') == card);
    EXPECT_TRUE(frmMain->Enabled());
  }
}

TEST_F(CardDriveCommands, EraseYesTwiceErasesTheCard) {
  WriteCardImage('G', PatternedSectors(kCard, 4));
  TksScriptedMessages answered{mrYes, mrYes, mrOk};
  frmMain->SecureEraseDrive('G');
  ASSERT_EQ(answered.Boxes().size(), 3u);
  EXPECT_EQ(answered.Boxes()[2].Msg, LangText(148));
  const std::vector<uint8_t> erased = ReadCardImage('G');
  EXPECT_TRUE(std::all_of(erased.begin() + 512, erased.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_FALSE(frmSecureErase->Visible());
  EXPECT_TRUE(frmMain->Enabled());
}

TEST_F(CardDriveCommands, AFailingLookupTakesTheWaitBoxAway) {
  WriteCardImage('G', PatternedSectors(kCard, 5));
  volumes.QueriesThrow = true;
  frmMain->SecureEraseDrive('G');
  EXPECT_TRUE(messages.Boxes().empty());
  EXPECT_FALSE(frmGenericWait->Visible());
  EXPECT_EQ(frmMain->LastDriveInfo, nullptr);
  // Backup and restore count it as no information.
  frmMain->BackupDrive('G');
  frmMain->RestoreDrive('G');
  ASSERT_EQ(messages.Boxes().size(), 2u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(23));
  EXPECT_EQ(messages.Boxes()[1].Msg, LangText(23));
}

TEST_F(CardDriveCommands, BackupAndRestoreOpenTheirDialogOnTheCard) {
  WriteCardImage('G', PatternedSectors(kCard, 6));
  for (TForm* dialog : {static_cast<TForm*>(frmBackup), static_cast<TForm*>(frmRestore)}) {
    // The dialog closes as soon as its modal showing runs.
    PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    RunCommand(dialog == frmBackup ? TCommand::Backup : TCommand::Restore, 'G');
    EXPECT_FALSE(dialog->Visible());
  }
  EXPECT_TRUE(messages.Boxes().empty());
  EXPECT_EQ(frmBackup->Drive, "G");
  EXPECT_EQ(frmBackup->lblDriveLetter->Caption(), "G:");
  EXPECT_EQ(frmRestore->Drive, "G");
  EXPECT_EQ(frmRestore->lblDrive->Caption(), "G:");
}

TEST_F(CardCommands, BurningRefusesWithoutItsWriter) {
  struct Case {
    bool createFailed, noWriter;
    uint8_t text;
  } cases[] = {{true, false, 116}, {true, true, 116}, {false, true, 117}};
  for (const Case& c : cases) {
    TksScriptedMessages answered;
    frmBurn->CreateFailed = c.createFailed;
    frmBurn->NoWriter = c.noWriter;
    frmMain->imgCDBurnClick(nullptr);
    ASSERT_EQ(answered.Boxes().size(), 1u);
    EXPECT_EQ(answered.Boxes()[0].Msg, LangText(c.text));
  }
}

TEST_F(CardCommands, DeletingRecoveredFilesEmptiesBothFoldersButNotTheirSubFolders) {
  const std::string out = AddTrailingBackslash(frmMain->Engine->GetDestinationFolder());
  const std::string quick = out + "DuvidAziz\\", deep = out + "DezoDozi\\";
  for (const std::string& f : {out, quick, deep, deep + "kept\\"}) CreateDirectoryA(f.c_str(), nullptr);
  for (const std::string& f : {quick + "a.jpg", deep + "b.jpg", deep + "c.jpg", deep + "kept\\d.jpg", out + "e.txt"})
    std::ofstream(f) << "x";
  SetFileAttributesA((deep + "c.jpg").c_str(), FILE_ATTRIBUTE_READONLY);

  messages.Answer(mrNo);
  frmMain->imgDeleteFilesClick(nullptr);
  ASSERT_EQ(messages.Boxes().size(), 1u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(21));
  EXPECT_TRUE(std::filesystem::exists(quick + "a.jpg"));

  DebugMode = true;
  messages.Answer(mrYes);
  frmMain->imgDeleteFilesClick(nullptr);
  DebugMode = false;
  for (const std::string& f : {quick + "a.jpg", deep + "b.jpg", deep + "c.jpg"})
    EXPECT_FALSE(std::filesystem::exists(f)) << f;
  EXPECT_TRUE(std::filesystem::exists(deep + "kept\\d.jpg"));
  EXPECT_TRUE(std::filesystem::exists(out + "e.txt"));
  EXPECT_NE(ReadTestFile(LogFileName("Info")).find("Cannot delete file : " + deep + "kept"), std::string::npos);
  EXPECT_EQ(messages.Boxes().size(), 2u);
}

TEST_F(CardCommands, DialogsHaveTheirClientSizeInsideTheirFrame) {
  struct Case {
    TForm* form;
    int width, height;
  } cases[] = {{frmSecureErase, 398, 107}, {frmBackup, 359, 176}, {frmRestore, 206, 271}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form->Name);
    EXPECT_EQ(c.form->ClientWidth(), c.width);
    EXPECT_EQ(c.form->ClientHeight(), c.height);
    EXPECT_GT(c.form->Width(), c.width);
    EXPECT_GT(c.form->Height(), c.height);
  }
}

}  // namespace
}  // namespace apptest
