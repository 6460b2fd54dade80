// The shipped texts as the program's message box shows them: the box does not wrap, so
// a long text must carry its own line breaks or the box grows across the screen.
#include "engine/Lang.h"

#include <algorithm>
#include <iterator>

#include "app/tests/MainForm_fixture.h"
#include "framework/core/inifiles.h"
#include "framework/core/strings.h"
#include "skin/controls/ksSkinLabels.h"

namespace apptest {
namespace {

constexpr int kWidestLine = 400;
// The main window's information texts fill word-wrapped labels, never a message box.
constexpr int kWrappedLabelTexts[] = {130, 131};

using ShippedTexts = MainFormTest;

TEST_F(ShippedTexts, EveryTextOfEveryLanguageFitsTheMessageBox) {
  const std::string file = TSupportedLanguages::ProgramLanguageFile();
  TIniFile ini(file);
  TStringList sections;
  ini.ReadSections(sections);
  ASSERT_GT(sections.Count(), 0) << file;
  for (int s = 0; s < sections.Count(); ++s) {
    // The program's own lookup, pointed at this section.
    TSupportedLanguages texts(file);
    auto* language = new TSupportedLanguage;
    language->LCIDText = sections.Strings(s);
    language->HasSection = true;
    texts.Add(language);
    texts.CurrentLanguage = texts.DefaultLanguage = language;
    for (int n = 0; n <= 170; ++n) {
      if (std::ranges::find(kWrappedLabelTexts, n) != std::end(kWrappedLabelTexts)) continue;
      const std::string text = texts.GetLanguageText(static_cast<uint8_t>(n));
      TOwnedPtr<TksMessageForm> box(
          CreateSkinMessageForm(text, ksmtConfirmation, {ksmbYes, ksmbNo}, 0, *frmMain->GenericMessage));
      EXPECT_LE(box->MessageLabel()->Width(), kWidestLine)
          << "[" << sections.Strings(s) << "] MESSAGE" << n << ": " << text;
    }
  }
}

}  // namespace
}  // namespace apptest
