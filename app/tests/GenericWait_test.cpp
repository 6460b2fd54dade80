#include "app/GenericWait.h"

#include <gtest/gtest.h>

#include "app/tests/TextNumbers.h"
#include "app/tests/MainForm_fixture.h"
#include "skin/controls/ksSkinGauge.h"

namespace apptest {
namespace {

class WaitBox : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    frmGenericWait = Construct<TfrmGenericWait>(Application);
  }
  static void Esc() { frmGenericWait->Perform(WM_CHAR, 27, 0); }
};

TEST_F(WaitBox, EscCancelsUntilTheNextShowingOrHiding) {
  TfrmGenericWait& box = *frmGenericWait;
  box.ShowWait();
  EXPECT_EQ(box.lblText->Caption(), LangText(114));
  EXPECT_FALSE(box.lblPressEsc->Visible());
  box.Perform(WM_CHAR, 'a', 0);
  EXPECT_FALSE(box.Cancelled);
  Esc();
  EXPECT_TRUE(box.Cancelled);
  box.ShowProgress();
  EXPECT_FALSE(box.Cancelled);
  EXPECT_EQ(box.lblText->Caption(), LangText(115));
  EXPECT_EQ(box.lblPressEsc->Caption(), LangText(147));
  EXPECT_TRUE(box.lblPressEsc->Visible());
  Esc();
  EXPECT_TRUE(box.Cancelled);
  box.HideWait();
  EXPECT_FALSE(box.Cancelled);
  EXPECT_FALSE(box.Visible());
}

TEST_F(WaitBox, StepProgressStopsAtTheMaximum) {
  TfrmGenericWait& box = *frmGenericWait;
  box.SetProgressMax(3);
  box.SetProgressPosition(2);
  box.StepProgress();
  EXPECT_EQ(box.pbLoading->Value(), 3);
  box.StepProgress();
  EXPECT_EQ(box.pbLoading->Value(), 3);
  box.HideWait();
}

}  // namespace
}  // namespace apptest
