// The message box: button sets and their keys, the computed geometry in both
// looks, the width limits, the captions, the scripted answers and one shown box.
#include "skin/dialogs/ksMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "framework/gui/extctrls.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

class SkinMessage : public skintest::SkinCtrls {
 protected:
  void TearDown() override {
    FreeAndNil(box);
    SkinCtrls::TearDown();
  }
  TksMessageForm* Make(const String& text, TksMessageType type, TksMessageButtons buttons) {
    FreeAndNil(box);
    box = CreateSkinMessageForm(text, type, buttons, 0, settings);
    return box;
  }
  std::vector<TksSkinButton*> Buttons() const {
    std::vector<TksSkinButton*> r;
    for (int i = 0; i < box->ComponentCount(); ++i)
      if (auto* b = dynamic_cast<TksSkinButton*>(box->Components(i))) r.push_back(b);
    return r;
  }
  TksSkinButton* Button(const char* name) const { return dynamic_cast<TksSkinButton*>(box->FindComponent(name)); }
  // The key as the shown form's dialog keys offer it (only a button that can
  // take the focus answers).
  int Key(WPARAM key) {
    box->Show();
    box->SetModalResult(mrNone);
    box->Perform(CM_DIALOGKEY, key, 0);
    return box->ModalResult();
  }

  TksSkinMessage settings{nullptr};
  TksMessageForm* box = nullptr;
};

struct ButtonSetRow {
  TksMessageButtons buttons;
  std::vector<String> names;  // left to right
  String defaultName, cancelName;
  int enter, esc;  // modal result after the key, 0 for none
};

TEST_F(SkinMessage, ButtonSetsTheirOrderDefaultCancelAndKeys) {
  const std::vector<ButtonSetRow> rows{
      {{ksmbYes, ksmbNo}, {"Yes", "No"}, "Yes", "No", 6, 7},
      {{ksmbOK}, {"OK"}, "OK", "OK", 1, 1},
      {{ksmbCancel, ksmbOK}, {"OK", "Cancel"}, "OK", "Cancel", 1, 2},
      {{ksmbAbort, ksmbIgnore}, {"Abort", "Ignore"}, "", "", 0, 0},
      {{ksmbRetry, ksmbCancel}, {"Cancel", "Retry"}, "Retry", "Cancel", 4, 2},
      {{ksmbHelp, ksmbYesToAll, ksmbNoToAll, ksmbAll}, {"All", "NoToAll", "YesToAll", "Help"}, "", "", 0, 0},
      {{}, {}, "", "", 0, 0},
      // Bits above the last button are not looked at.
      {TksMessageButtons::FromBits(0xF804), {"OK"}, "OK", "OK", 1, 1},
  };
  for (const ButtonSetRow& row : rows) {
    SCOPED_TRACE(row.buttons.Bits());
    Make("Text", ksmtConfirmation, row.buttons);
    std::vector<String> names;
    int lastLeft = -1;
    for (TksSkinButton* b : Buttons()) {
      names.push_back(b->Name);
      EXPECT_GT(b->Left(), lastLeft);
      lastLeft = b->Left();
      EXPECT_EQ(b->Default(), b->Name == row.defaultName) << b->Name.c_str();
      EXPECT_EQ(b->Cancel, b->Name == row.cancelName) << b->Name.c_str();
      EXPECT_TRUE(b->CanFocused());
    }
    EXPECT_EQ(names, row.names);
    EXPECT_EQ(Key(VK_RETURN), row.enter);
    EXPECT_EQ(Key(VK_ESCAPE), row.esc);
  }
}

TEST_F(SkinMessage, ButtonCaptionsAndResultsFollowTheTable) {
  Make("Text", ksmtWarning, TksMessageButtons::FromBits(0x7FF));
  const std::vector<TksSkinButton*> buttons = Buttons();
  ASSERT_EQ(buttons.size(), 11u);
  const char* captions[] = {"&Yes",   "&No",  "OK",      "Cancel",    "&Abort", "&Retry",
                            "&Ignore", "&All", "N&oToAll", "&YesToAll", "&Help"};
  const int results[] = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10, 0};
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]->Caption(), captions[i]);
    EXPECT_EQ(buttons[i]->ModalResult, results[i]);
  }
  // Help asks for help and leaves the box open.
  Click(buttons[10]);
  EXPECT_EQ(box->ModalResult(), mrNone);
}

TEST_F(SkinMessage, CaptionsComeFromTheLinkedTextsWithoutFallback) {
  EXPECT_EQ(GetSkinMessageCaption(ksmtWarning, nullptr), "Warning");
  EXPECT_EQ(GetSkinMessageCaption(ksmtConfirmation, &data), "Confirm");
  EXPECT_EQ(GetSkinMessageCaption(ksmtCustom, nullptr), "");
  TksResourceStrData texts(nullptr);
  texts.ResStrings().Clear();
  texts.ResStrings().Add("MSG_CAP_ERROR=Fehler=Oops");
  texts.ResStrings().Add("MSG_BTN_NO=&Nein");
  data.SetResourceStrData(&texts);
  EXPECT_EQ(GetSkinMessageCaption(ksmtError, &data), "Fehler=Oops");
  EXPECT_EQ(GetSkinMessageCaption(ksmtWarning, &data), "");
  EXPECT_EQ(GetSkinMessageButtonCaption(ksmbNo, &data), "&Nein");
  EXPECT_EQ(GetSkinMessageButtonCaption(ksmbYes, &data), "");
  settings.SetCtrlSkinData(&data);
  Make("Text", ksmtError, {ksmbNo});
  EXPECT_EQ(box->Caption(), "Fehler=Oops");
  EXPECT_EQ(Button("No")->Caption(), "&Nein");
  data.SetResourceStrData(nullptr);
}

TEST_F(SkinMessage, CustomTypeTakesTheTitleAndShowsNoIcon) {
  const String saved = Application->Title();
  Application->SetTitle("Korvalo Test");
  Make("Text", ksmtCustom, {ksmbOK});
  Application->SetTitle(saved);
  EXPECT_EQ(box->Caption(), "Korvalo Test");
  auto* image = dynamic_cast<TImage*>(box->FindComponent("Image"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Picture()->Graphic(), nullptr);
  Make("Text", ksmtInformation, {ksmbOK});
  image = dynamic_cast<TImage*>(box->FindComponent("Image"));
  ASSERT_NE(image->Picture()->Graphic(), nullptr);
  EXPECT_EQ(box->Caption(), "Information");
}

struct GeometryRow {
  const char* name;
  bool skinned;
  const char* buttonSection;
  String text;
  TksMessageButtons buttons;
};

TEST_F(SkinMessage, GeometryOfLabelIconAndButtonRow) {
  const int skinHeight = [&] {
    const auto* d = data.ControlData<TksDataSkinButtonControl>(data.GetControlIndex("button"));
    return d->SkinRect.Bottom - d->SkinRect.Top;
  }();
  ASSERT_NE(skinHeight, 25);
  const std::vector<GeometryRow> rows{
      {"plain, short text, wide row", false, "button", "Hi", {ksmbYes, ksmbNo, ksmbCancel}},
      {"plain, long text", false, "button", "A rather long line of text that is wider than the row", {ksmbOK}},
      {"plain, three lines", false, "button", "one\ntwo\nthree", {ksmbOK}},
      {"skinned", true, "button", "A line of text", {ksmbYes, ksmbNo}},
      {"skinned, not a button section", true, "stdlabel", "A line of text", {ksmbYes, ksmbNo}},
      {"skinned, missing section", true, "nosuchbutton", "A line of text", {ksmbOK}},
      {"no buttons", false, "button", "Only text", {}},
  };
  for (const GeometryRow& row : rows) {
    SCOPED_TRACE(row.name);
    settings.SetCtrlSkinData(row.skinned ? &data : nullptr);
    settings.ButtonSkinDataName = row.buttonSection;
    Make(row.text, ksmtWarning, row.buttons);
    const int h = row.skinned && String(row.buttonSection) == "button" ? skinHeight : 25;
    TksSkinStdLabel* label = box->MessageLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Left(), 50);
    EXPECT_EQ(label->Top(), 15);
    EXPECT_GT(label->Width(), 0);
    EXPECT_EQ(box->ClientHeight(), h + 50 + label->Height());
    const int n = row.buttons.Count();
    const int rowWidth = n == 0 ? 0 : 70 * n - 10;
    EXPECT_EQ(box->ClientWidth(), std::max(rowWidth, label->Left() + label->Width()) + 40);
    auto* image = dynamic_cast<TImage*>(box->FindComponent("Image"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->BoundsRect(),
              (TRect{5, std::max(10, 15 + label->Height() / 2 - 16), 37, std::max(10, 15 + label->Height() / 2 - 16) + 32}));
    const std::vector<TksSkinButton*> buttons = Buttons();
    ASSERT_EQ(static_cast<int>(buttons.size()), n);
    int x = (box->ClientWidth() - rowWidth) / 2;
    for (TksSkinButton* b : buttons) {
      EXPECT_EQ(b->BoundsRect(), (TRect{x, box->ClientHeight() - h - 10, x + 60, box->ClientHeight() - 10}));
      EXPECT_EQ(b->Top(), label->Top() + label->Height() + 25);
      x += 70;
    }
  }
}

TEST_F(SkinMessage, TextWiderThanTheWorkAreaIsCutToIt) {
  ScopedSeam<TScreenSeam> screen{{.Size = [] { return SIZE{300, 200}; },
                                  .Monitors = [] {
                                    return std::vector<TMonitorInfo>{
                                        {nullptr, RECT{0, 0, 300, 200}, RECT{0, 0, 300, 180}, true}};
                                  }}};
  Make("A text line that is far wider than three hundred pixels of a very small work area", ksmtError, {ksmbOK});
  EXPECT_EQ(box->Width(), 300);
  EXPECT_GT(box->MessageLabel()->Width(), 300);
}

TEST_F(SkinMessage, TheFrameTakesTheComponentsSettings) {
  settings.SetSkinData(&data);
  settings.SetCtrlSkinData(&data);
  settings.AlphaBlend = true;
  settings.AlphaBlendAnimation = true;
  settings.AlphaBlendValue = 150;
  Make("Text", ksmtWarning, {ksmbOK});
  TksSkinForm* frame = box->SkinFormComponent();
  EXPECT_EQ(TksSkinForm::GetSkinFormComponent(box), frame);
  EXPECT_EQ(frame->SkinData(), &data);
  EXPECT_EQ(frame->MenusSkinData(), &data);
  EXPECT_TRUE(frame->AlphaBlend());
  EXPECT_TRUE(frame->AlphaBlendAnimation);
  EXPECT_EQ(frame->AlphaBlendValue(), 150);
  EXPECT_EQ(frame->BorderIcons(), TksBorderIcons{});
  EXPECT_EQ(box->BorderStyle(), bsDialog);
  EXPECT_EQ(box->Position, poScreenCenter);
  EXPECT_TRUE(box->KeyPreview);
  EXPECT_EQ(Button("OK")->SkinData(), &data);
  EXPECT_NE(Button("OK")->ControlIndex(), -1);
}

TEST_F(SkinMessage, FreeingTheSkinClearsBothReferences) {
  auto* skin = new TksSkinData(nullptr);
  settings.SetSkinData(skin);
  settings.SetCtrlSkinData(skin);
  skin->Free();
  EXPECT_EQ(settings.SkinData(), nullptr);
  EXPECT_EQ(settings.CtrlSkinData(), nullptr);
}

TEST_F(SkinMessage, ScriptedAnswersAreRecordedAndGivenInOrder) {
  TksScriptedMessages script{6, 1};
  EXPECT_EQ(settings.MessageDlg("Go on?", ksmtConfirmation, {ksmbYes, ksmbNo}, 0), 6);
  EXPECT_EQ(settings.MessageDlg("Done", ksmtInformation, {ksmbOK}, 0), 1);
  EXPECT_EQ(settings.MessageDlg("Late", ksmtError, {ksmbOK}, 0), 2);
  ASSERT_EQ(script.Boxes().size(), 3u);
  EXPECT_EQ(script.Boxes()[0].Msg, "Go on?");
  EXPECT_EQ(script.Boxes()[0].DlgType, ksmtConfirmation);
  EXPECT_EQ(script.Boxes()[0].Buttons, (TksMessageButtons{ksmbYes, ksmbNo}));
  EXPECT_EQ(script.Boxes()[2].DlgType, ksmtError);
}

TEST_F(SkinMessage, AShownBoxEndsWithItsButtonOrItsCloseAndIsFreed) {
  struct Row {
    const char* name;
    std::function<void(TksMessageForm*)> act;
    int result;
  };
  const std::vector<Row> rows{
      {"enter", [](TksMessageForm* f) { f->Perform(CM_DIALOGKEY, VK_RETURN, 0); }, 6},
      {"escape", [](TksMessageForm* f) { f->Perform(CM_DIALOGKEY, VK_ESCAPE, 0); }, 7},
      {"close", [](TksMessageForm* f) { PostMessageA(f->Handle(), WM_CLOSE, 0, 0); }, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TksMessageForm* shown = nullptr;
    bool acted = false;
    // Never done: an idle that slept until the next message would sleep through the result
    // the act sets, as nothing else need come.
    Application->OnIdle = [&](TObject*, bool& done) {
      done = false;
      for (int i = 0; i < Application->ComponentCount() && !shown; ++i)
        shown = dynamic_cast<TksMessageForm*>(Application->Components(i));
      if (shown && shown->Visible() && !acted) {
        acted = true;
        row.act(shown);
      }
    };
    const int before = Application->ComponentCount();
    EXPECT_EQ(settings.MessageDlg("Go on?", ksmtConfirmation, {ksmbYes, ksmbNo}, 0), row.result);
    Application->OnIdle = nullptr;
    EXPECT_TRUE(acted);
    EXPECT_EQ(Application->ComponentCount(), before);
  }
}

}  // namespace
