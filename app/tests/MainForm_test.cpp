#include "app/tests/MainForm_fixture.h"

#include "engine/Lang.h"
#include "skin/ksSkinLinkLabel.h"

namespace apptest {
namespace {

using MainForm = MainFormTest;

TEST_F(MainForm, ComponentsSitAtTheirPlaces) {
  struct Place {
    TControl* control;
    int left, top, width, height;
  };
  const TfrmMain& f = *frmMain;
  const Place places[] = {
      {f.imgBackground, 0, 0, 615, 331},   {f.lblTitle, 240, 8, 361, 38},     {f.lblInfo1, 240, 40, 361, 57},
      {f.lblInfo2, 240, 96, 361, 57},      {f.lblInfo3, 240, 152, 361, 25},   {f.Label1, 440, 184, 33, -1},
      {f.Label2, 480, 184, 33, -1},        {f.Label3, 520, 184, 33, -1},      {f.imgRecover, 440, 198, 32, 32},
      {f.imgView, 480, 198, 32, 32},       {f.imgHelp, 520, 198, 32, 32},     {f.imgExit, 560, 198, 32, 32},
      {f.imgSelectOUT, 240, 288, 32, 32},  {f.imgSelectFiles, 286, 288, 32, 32}, {f.imgUpdate, 332, 288, 32, 32},
      {f.imgDeleteFiles, 378, 288, 32, 32}, {f.imgSecureErase, 422, 288, 32, 32}, {f.imgCDBurn, 468, 288, 32, 32},
      {f.imgBackupCard, 514, 288, 32, 32}, {f.imgRestoreCard, 560, 288, 32, 32}, {f.lblURLlink, 16, 304, 193, 14},
      {f.imgNoPicture, 0, 336, 57, 49},    {f.lblSelectDrive, 256, 188, -1, -1}, {f.lblAdvancedOptions, 240, 264, -1, -1},
      {f.lblVersion, 8, 8, -1, -1}};
  for (const Place& p : places) {
    SCOPED_TRACE(p.control->Name + " at " + std::to_string(p.left) + "," + std::to_string(p.top));
    EXPECT_EQ(p.control->Left(), p.left);
    EXPECT_EQ(p.control->Top(), p.top);
    if (p.width >= 0) {
      EXPECT_EQ(p.control->Width(), p.width);
    }
    if (p.height >= 0) {
      EXPECT_EQ(p.control->Height(), p.height);
    }
  }
  EXPECT_EQ(frmMain->ClientWidth(), 614);
  EXPECT_EQ(frmMain->ClientHeight(), 330);
  EXPECT_EQ(f.lblVersion->Caption(), "Version 3.0.0.1");
  EXPECT_TRUE(messages.Boxes().empty());
}

}  // namespace
}  // namespace apptest
