// The recover command on the demo card, mapped as the removable drive M:.
#include <gtest/gtest.h>

#include "app/tests/TextNumbers.h"
#include "app/tests/MainForm_fixture.h"

namespace apptest {
namespace {

class MappedCardRecover : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CreateOtherForms();
    frmRecovery->OnShow = [this](TObject*) { recoveryShown = true; };
    frmRecovery->OnHide = [this](TObject*) { mainDisabledWhileShown = !frmMain->Enabled(); };
  }
  bool recoveryShown = false;
  bool mainDisabledWhileShown = false;
  // The command, with the recovery dialog's run observed.
  void Recover(const std::string& outputFolder) {
    frmMain->Engine->SetDestinationFolder(outputFolder);
    frmMain->Engine->OnDiscArrive.Clear();
    frmMain->RecoverDrive('M');
  }
};

TEST_F(MappedCardRecover, AnOutputFolderOnTheCardIsRefusedInAnyCase) {
  for (const char* folder : {"M:\\Recovered\\", "m:\\recovered\\"}) {
    const size_t before = messages.Boxes().size();
    Recover(folder);
    ASSERT_EQ(messages.Boxes().size(), before + 1) << folder;
    EXPECT_EQ(messages.Boxes().back().Msg, LangText(108)) << folder;
    EXPECT_EQ(messages.Boxes().back().DlgType, ksmtError);
    // Nothing was written to the card, and the main window took its events back.
    EXPECT_EQ(frmMain->Engine->OnDiscArrive, Bind<&TfrmMain::OnDiscArrive>(frmMain));
    EXPECT_FALSE(frmGenericWait->Visible());
    EXPECT_TRUE(frmMain->Enabled());
    EXPECT_FALSE(recoveryShown);
  }
}

TEST_F(MappedCardRecover, AnOutputFolderElsewhereRunsTheRecoveryDialog) {
  messages.Answer(mrNo);  // no deep scan
  messages.Answer(mrNo);  // no browsing
  Recover(output);
  ASSERT_EQ(messages.Boxes().size(), 2u);
  EXPECT_EQ(messages.Boxes()[0].Msg, LangText(37));
  EXPECT_EQ(messages.Boxes()[1].Msg, LangText(107));
  EXPECT_GT(frmMain->Engine->CountRecoveredFiles(), 0u);
  EXPECT_TRUE(recoveryShown);
  EXPECT_TRUE(mainDisabledWhileShown);
  EXPECT_TRUE(frmMain->Engine->PreviewEnabled);
  EXPECT_FALSE(frmRecovery->Visible());
  EXPECT_TRUE(frmMain->Enabled());
}

// The whole road: both passes, then the main window is back in charge.
TEST_F(MappedCardRecover, BothPassesThenTheViewQuestion) {
  messages.Answer(mrYes);  // deep scan
  messages.Answer(mrNo);   // no browsing
  Recover(output);
  ASSERT_EQ(messages.Boxes().size(), 2u);
  EXPECT_EQ(messages.Boxes()[1].Msg, LangText(107));
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((output + "DezoDozi\\*.JPG").c_str(), &found);
  EXPECT_NE(find, INVALID_HANDLE_VALUE) << "the deep scan saved pictures";
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  EXPECT_TRUE(frmMain->Enabled());
  EXPECT_FALSE(frmRecovery->Visible());
  EXPECT_EQ(frmMain->Engine->OnDiscRemoval, Bind<&TfrmMain::OnDiscRemoval>(frmMain));
}

}  // namespace
}  // namespace apptest
