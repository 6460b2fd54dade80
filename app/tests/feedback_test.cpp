#include "app/feedback.h"

#include "app/tests/Dialogs_fixture.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinLinkLabel.h"

namespace apptest {
namespace {

using HelpBox = DialogTest;

TEST_F(HelpBox, ShowsTheEnginesVersionAndClosesOnItsPicture) {
  Make(frmFeedback);
  frmMain->Engine->MajorVersion = 3;
  frmMain->Engine->MinorVersion = 0;
  frmMain->Engine->Release = 1;
  frmMain->Engine->Build = 25;
  ShowAndActivate(*frmFeedback);
  EXPECT_EQ(frmFeedback->lblVersionNo->Caption(), "KV Ver 3.0 Release 1 Build 25");
  EXPECT_EQ(frmFeedback->ClientWidth(), 435);
  EXPECT_EQ(frmFeedback->ClientHeight(), 206);
  EXPECT_EQ(frmFeedback->Image2->Picture()->Width(), 32);
  frmFeedback->Image2->OnClick(frmFeedback->Image2);
  EXPECT_FALSE(frmFeedback->Visible());
}

TEST_F(HelpBox, ContactsAreReservedExamples) {
  Make(frmFeedback);
  EXPECT_NE(frmFeedback->ksSkinStdLabel4->Caption().find("555-01"), std::string::npos);
  EXPECT_EQ(frmFeedback->ksSkinLinkLabel1->URL, "mailto:support@example.com");
}

TEST_F(HelpBox, NamesTheWebSiteTheMainWindowLinksTo) {
  Make(frmFeedback);
  EXPECT_EQ(frmFeedback->ksSkinLinkLabel2->Caption(), frmMain->lblURLlink->Caption());
  EXPECT_EQ(frmFeedback->ksSkinLinkLabel2->URL, frmMain->lblURLlink->URL);
  EXPECT_EQ(frmMain->lblURLlink->URL, "http://" + frmMain->lblURLlink->Caption() + "/");
}

}  // namespace
}  // namespace apptest
