// The dialog components keep their settings and forget a freed skin.
#include <gtest/gtest.h>

#include "skin/dialogs/ksDialogs.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

TEST(SkinDialogs, ComponentsStartWithTheirDefaults) {
  TksSkinSelectDirectoryDialog dir(nullptr);
  EXPECT_EQ(dir.Title, "Select folder");
  EXPECT_EQ(dir.AlphaBlendValue, 200);
  EXPECT_EQ(dir.DefaultFont()->Name(), "Arial");
  EXPECT_EQ(dir.DefaultFont()->Height(), 14);
  TksSkinOpenPictureDialog pictures(nullptr);
  EXPECT_EQ(pictures.Title, "Open picture");
  EXPECT_EQ(pictures.CtrlAlphaBlendValue, 225);
  EXPECT_EQ(pictures.LVHeaderSkinDataName, "resizebutton");
  EXPECT_EQ(pictures.FilterIndex, 1);
  EXPECT_EQ(pictures.Filter.substr(0, 30), "All (*.bmp;*.ico;*.emf;*.wmf)|");
  TksSkinPasswordDialog password(nullptr);
  EXPECT_EQ(password.Caption, "Password");
  EXPECT_EQ(password.LoginCaption, "Login name:");
  EXPECT_EQ(password.PasswordCaption, "Password:");
  EXPECT_EQ(password.PasswordKind, pkRoundRect);
  EXPECT_EQ(password.EditSkinDataName, "edit");
  EXPECT_TRUE(password.UseSkinFont);
  for (TFont* f : {password.DefaultLabelFont(), password.DefaultButtonFont(), password.DefaultEditFont()}) {
    EXPECT_EQ(f->Name(), "Arial");
    EXPECT_EQ(f->Style(), 0u);
  }
}

TEST(SkinDialogs, FontSettersCopyAndAFreedSkinIsForgottenByBothReferences) {
  TestApp();
  TComponent owner(nullptr);
  auto* dialog = new TksSkinPasswordDialog(&owner);
  TFont bold;
  bold.SetStyle(fsBold);
  dialog->SetDefaultEditFont(&bold);
  bold.SetStyle(0);
  EXPECT_EQ(dialog->DefaultEditFont()->Style(), fsBold) << "a copy, not the caller's font";

  auto* first = new TksSkinData(&owner);
  auto* second = new TksSkinData(&owner);
  dialog->SetSkinData(first);
  dialog->SetCtrlSkinData(first);
  dialog->SetSkinData(second);  // the controls' skin still names the first
  first->Free();
  EXPECT_EQ(dialog->CtrlSkinData(), nullptr);
  EXPECT_EQ(dialog->SkinData(), second);
  second->Free();
  EXPECT_EQ(dialog->SkinData(), nullptr);
}

}  // namespace
