// The main window with the card dialogs, its engine's volume calls steered by the test
// and the program's folder (where backups go) a scratch folder of the test's own.
#pragma once

#include <filesystem>
#include <memory>

#include "app/tests/CardImages.h"
#include "app/tests/MainForm_fixture.h"

namespace apptest {

class CardTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    if (HasFatalFailure()) return;
    CreateOtherForms();
    TSEPlatform platform;
    platform.VersionCode = 7;
    platform.IsNT = true;
    platform.Volumes = &volumes;
    engine = TScanEngine::Make(platform);
    CreateDirectoryA(programFolder.c_str(), nullptr);
    engine->ProgramFolder = programFolder;
    engine->SetDestinationFolder(output);
    programEngine_ = frmMain->Engine;
    frmMain->Engine = engine.get();
  }
  void TearDown() override {
    if (frmMain) {
      frmMain->LastDriveInfo = nullptr;
      if (programEngine_) frmMain->Engine = programEngine_;
    }
    MainFormTest::TearDown();
  }

  // Looks the card up as the commands do, into the main window's LastDriveInfo.
  void UseCard(char letter) {
    ASSERT_TRUE(LetterMapped(letter)) << letter << ": is not mapped by the test runner";
    frmMain->LastDriveInfo = nullptr;
    ASSERT_TRUE(frmMain->Engine->GetDriveSelectedInformation(String(1, letter), frmMain->LastDriveInfo));
    volumes.Transfers = 0;  // the steps count the transfers of the work that follows
  }

  // A modal dialog shown by mistake closes at once instead of waiting for a user.
  static void CloseDialogsWhenShown() {
    for (TForm* dialog : {static_cast<TForm*>(frmBackup), static_cast<TForm*>(frmRestore)})
      PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  }

  std::filesystem::path ScratchFolder() const { return programFolder; }

  TSteeredVolumes volumes;
  const std::string programFolder = folder.Path() + "Program\\";

 private:
  std::unique_ptr<TScanEngine> engine;
  TScanEngine* programEngine_ = nullptr;  // the main window's own, put back at the end
};

}  // namespace apptest
