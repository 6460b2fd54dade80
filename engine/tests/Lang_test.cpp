#include "engine/Lang.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/localeInfo.h"

namespace {

constexpr uint32_t kGerman = 1031, kFrench = 1036, kEnglishUK = 2057, kEnglishUS = 1033,
                   kDutch = 1043;

struct FakeLocales {
  static inline std::vector<uint32_t> locales;
  static inline uint16_t systemLanguage = 0;
};

std::string TempFolder() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

// Writes one section with every text, "<prefix> <n>", leaving out the numbers in `missing`.
void WriteSection(std::ofstream& out, uint32_t lcid, const std::string& prefix,
                  std::vector<int> missing = {}) {
  out << "[" << lcid << "]\r\n";
  for (int n = 0; n <= 170; ++n) {
    if (std::find(missing.begin(), missing.end(), n) != missing.end()) continue;
    out << (n == 0 ? std::string("APPLICATIONNAME") : "MESSAGE" + std::to_string(n)) << "="
        << prefix << " " << n << "\r\n";
  }
}

class Languages : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = TempFolder() + "kv_lang_" + std::to_string(GetCurrentProcessId()) + ".ini";
    std::ofstream out(file_, std::ios::binary);
    WriteSection(out, kEnglishUK, "en");
    WriteSection(out, kGerman, "de");
    WriteSection(out, kFrench, "fr", {170});
    out << "[1043]\r\nMESSAGE07=zero-padded\r\n";
    FakeLocales::locales = {kGerman, kFrench, kEnglishUK, kEnglishUS, kDutch};
    FakeLocales::systemLanguage = kGerman;
  }
  void TearDown() override { DeleteFileA(file_.c_str()); }

  // Runs the language choice as the main window does.
  void Choose(TSupportedLanguages& languages) {
    languages.LoadLanguages();
    languages.SetDefaultLanguage();
    languages.SetLocaleLanguage();
  }

  std::string file_;
  ScopedSeam<TLocaleSeam> seam_{{.SystemLocales = [] { return FakeLocales::locales; },
                                 .SystemDefaultLangID = [] { return FakeLocales::systemLanguage; }}};
};

TEST_F(Languages, ListsEverySystemLocaleAndMarksItsSection) {
  TSupportedLanguages languages(file_);
  languages.LoadLanguages();
  ASSERT_EQ(languages.Count(), 5);
  const TSupportedLanguage* german = languages.Items(0);
  EXPECT_EQ(german->LCID, kGerman);
  EXPECT_EQ(german->LCIDText, "1031");
  EXPECT_EQ(german->IDText, "$00000407");
  EXPECT_EQ(german->EnglishLanguageName, "German");
  EXPECT_EQ(german->Abbreviation, "DEU");
  EXPECT_TRUE(german->HasSection);
  EXPECT_FALSE(languages.Items(3)->HasSection);  // 1033 has no section
  EXPECT_TRUE(languages.Items(2)->HasSection);
  EXPECT_EQ(languages.CurrentLanguage, nullptr);
  EXPECT_EQ(languages.DefaultLanguage, nullptr);

  languages.SetDefaultLanguage();
  ASSERT_NE(languages.DefaultLanguage, nullptr);
  EXPECT_EQ(languages.DefaultLanguage->LCID, kEnglishUK);
  EXPECT_EQ(languages.GetLanguage(kFrench), languages.Items(1));
  EXPECT_EQ(languages.GetLanguage(1234), nullptr);
}

TEST_F(Languages, ACompleteSystemLanguageIsShown) {
  TSupportedLanguages languages(file_);
  Choose(languages);
  ASSERT_NE(languages.CurrentLanguage, nullptr);
  EXPECT_EQ(languages.CurrentLanguage->LCID, kGerman);
  EXPECT_EQ(languages.GetLanguageText(0), "de 0");
  EXPECT_EQ(languages.GetLanguageText(7), "de 7");
  EXPECT_EQ(languages.GetLanguageText(170), "de 170");
}

TEST_F(Languages, AnIncompleteLanguageIsReplacedAsAWhole) {
  FakeLocales::systemLanguage = kFrench;
  TSupportedLanguages languages(file_);
  Choose(languages);
  ASSERT_NE(languages.CurrentLanguage, nullptr);
  EXPECT_EQ(languages.CurrentLanguage->LCID, kEnglishUK);
  EXPECT_EQ(languages.GetLanguageText(5), "en 5");
}

TEST_F(Languages, ATextMissingLaterFallsBackPerKey) {
  TSupportedLanguages languages(file_);
  Choose(languages);
  WritePrivateProfileStringA("1031", "MESSAGE7", "<not set>", file_.c_str());
  WritePrivateProfileStringA("1031", "MESSAGE8", nullptr, file_.c_str());
  EXPECT_EQ(languages.GetLanguageText(7), "en 7");
  EXPECT_EQ(languages.GetLanguageText(8), "en 8");
  EXPECT_EQ(languages.GetLanguageText(9), "de 9");
  // Missing in both sections.
  EXPECT_EQ(languages.GetLanguageText(171), "<not set>");
}

TEST_F(Languages, KeysHaveNoLeadingZeros) {
  FakeLocales::systemLanguage = kDutch;
  TSupportedLanguages languages(file_);
  languages.LoadLanguages();
  languages.SetDefaultLanguage();
  languages.CurrentLanguage = languages.GetLanguage(kDutch);
  // MESSAGE07 is not MESSAGE7, so the text comes from English.
  EXPECT_EQ(languages.GetLanguageText(7), "en 7");
}

TEST_F(Languages, ABackslashNInTheFileIsALineBreak) {
  TSupportedLanguages languages(file_);
  Choose(languages);
  WritePrivateProfileStringA("1031", "MESSAGE7", "one\\ntwo\\n\\nthree \\N", file_.c_str());
  EXPECT_EQ(languages.GetLanguageText(7), "one\r\ntwo\r\n\r\nthree \\N");
}

TEST_F(Languages, WithoutAnEntryForTheSystemLanguageEnglishIsShown) {
  FakeLocales::systemLanguage = 1049;  // not among the system's locales
  TSupportedLanguages languages(file_);
  Choose(languages);
  ASSERT_NE(languages.CurrentLanguage, nullptr);
  EXPECT_EQ(languages.CurrentLanguage->LCID, kEnglishUK);
  EXPECT_EQ(languages.GetLanguageText(3), "en 3");
}

TEST_F(Languages, WithoutAnyEntryTheEnglishSectionIsStillRead) {
  FakeLocales::locales = {kEnglishUS};
  FakeLocales::systemLanguage = kDutch;
  TSupportedLanguages languages(file_);
  Choose(languages);
  EXPECT_EQ(languages.CurrentLanguage, nullptr);
  EXPECT_EQ(languages.DefaultLanguage, nullptr);
  EXPECT_EQ(languages.GetLanguageText(3), "en 3");
  EXPECT_EQ(languages.GetLanguageText(171), "<not set>");
}

TEST_F(Languages, AMissingFileGivesEmptyTexts) {
  TSupportedLanguages languages(file_ + ".missing");
  Choose(languages);
  ASSERT_NE(languages.CurrentLanguage, nullptr);
  EXPECT_EQ(languages.CurrentLanguage->LCID, kGerman);  // stays the system language's
  EXPECT_EQ(languages.GetLanguageText(0), "");
  EXPECT_EQ(languages.GetLanguageText(12), "");
}

// The file that ships beside the program.
TEST(ShippedLanguageFile, EnglishHasEveryText) {
  const std::string file = TSupportedLanguages::ProgramLanguageFile();
  ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
  char buffer[2048];
  for (int n = 0; n <= 170; ++n) {
    const std::string key = n == 0 ? "APPLICATIONNAME" : "MESSAGE" + std::to_string(n);
    GetPrivateProfileStringA("2057", key.c_str(), "<not set>", buffer, sizeof buffer, file.c_str());
    EXPECT_STRNE(buffer, "<not set>") << key;
    EXPECT_STRNE(buffer, "") << key;
  }
  // The speed list shows this text and reads every other entry as a number.
  GetPrivateProfileStringA("2057", "MESSAGE101", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "Default");
  GetPrivateProfileStringA("2057", "APPLICATIONNAME", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "Korvalo 3");
  // Texts the program joins more text to keep their closing blank.
  GetPrivateProfileStringA("2057", "MESSAGE150", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "Writing track ");
}

}  // namespace
