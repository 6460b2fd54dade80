#include "engine/Lang.h"

#include <windows.h>

#include <cstdio>

#include "engine/Debug.h"
#include "engine/localeInfo.h"
#include "framework/core/fileutils.h"
#include "framework/core/inifiles.h"
#include "framework/core/languages.h"

namespace {

constexpr const char* kNotSet = "<not set>";
constexpr uint32_t kEnglishUK = 2057;
// Where a text is looked up when the system language or English (UK) has no entry.
constexpr const char* kFallbackSection = "2057";

std::string Key(uint8_t index) {
  return index == 0 ? "APPLICATIONNAME" : "MESSAGE" + std::to_string(index);
}

std::string IDTextOf(uint32_t locale) {
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(locale));
  return text;
}

std::string AbbreviationOf(uint32_t locale) {
  char buffer[16] = {};
  return GetLocaleInfoA(locale, LOCALE_SABBREVLANGNAME, buffer, sizeof buffer) > 0 ? buffer : "";
}

// A profile string cannot hold a line break, so the file writes one as "\n".
std::string WithLineBreaks(std::string text) {
  for (size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 2))
    text.replace(at, 2, "\r\n");
  return text;
}

std::string SectionOf(const TSupportedLanguage* language) {
  return language ? language->LCIDText : kFallbackSection;
}

TSupportedLanguages gLanguages;

}  // namespace

TSupportedLanguages* const SupportedLanguages = &gLanguages;

std::string TSupportedLanguages::ProgramLanguageFile() {
  return ExtractFilePath(ParamStr(0)) + "Language.ini";
}

TSupportedLanguages::TSupportedLanguages(std::string FileName) : fileName_(std::move(FileName)) {}

TSupportedLanguages::~TSupportedLanguages() = default;

TIniFile& TSupportedLanguages::Reader() {
  if (!reader_) reader_ = std::make_unique<TIniFile>(fileName_);
  return *reader_;
}

std::string TSupportedLanguages::ReadText(const std::string& Section, uint8_t Index) {
  return WithLineBreaks(Reader().ReadString(Section, Key(Index), kNotSet));
}

void TSupportedLanguages::LoadLanguages() {
  ClearAndFree();
  CurrentLanguage = nullptr;
  DefaultLanguage = nullptr;
  TIniFile file(fileName_);
  const TLanguages& system = Languages();
  for (const uint32_t locale : LocaleSeam().SystemLocales()) {
    auto* entry = new TSupportedLanguage;
    entry->LCID = locale;
    const int listed = system.IndexOf(locale);
    entry->IDText = listed >= 0 ? system.ID(listed) : IDTextOf(locale);
    entry->Abbreviation = listed >= 0 ? system.Ext(listed) : AbbreviationOf(locale);
    entry->EnglishLanguageName = GetEnglishLanguageName(locale);
    entry->EnglishCountryName = GetEnglishCountryName(locale);
    entry->NativeCountryName = GetNativeCountryName(locale);
    entry->NativeLanguageName = GetNativeLanguageName(locale);
    entry->Charset = GetLocaleCharset(locale);
    entry->LCIDText = std::to_string(locale);
    entry->Installed = IsValidLocale(locale, LCID_INSTALLED) != FALSE;
    entry->Supported = IsValidLocale(locale, LCID_SUPPORTED) != FALSE;
    entry->HasSection = file.SectionExists(entry->LCIDText);
    Add(entry);
  }
  if (!DebugMode) return;
  auto describe = [](const TSupportedLanguage* l) {
    return l->EnglishLanguageName + " (" + l->EnglishCountryName + ")" + " CodePage " +
           l->LCIDText;
  };
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Installed) WriteInfoLog("Supported Language Installed : " + describe(Items(i)));
  for (int i = 0; i < Count(); ++i)
    if (!Items(i)->Installed) WriteInfoLog("NOT Supported : " + describe(Items(i)));
}

void TSupportedLanguages::SetDefaultLanguage() {
  DefaultLanguage = nullptr;
  for (int i = 0; i < Count(); ++i) {
    if (Items(i)->LCID == kEnglishUK) {
      DefaultLanguage = Items(i);
      WriteInfoLog("Set Default Language : " + DefaultLanguage->LCIDText);
      return;
    }
  }
}

uint16_t TSupportedLanguages::GetLocaleLangID() {
  WriteInfoLog("GetLocaleLangID");
  return LocaleSeam().SystemDefaultLangID();
}

TSupportedLanguage* TSupportedLanguages::GetLanguage(uint32_t Locale) {
  for (int i = 0; i < Count(); ++i) {
    if (Items(i)->LCID == Locale) {
      WriteInfoLog(".GetLanguage LCID : " + Items(i)->LCIDText);
      return Items(i);
    }
  }
  return nullptr;
}

void TSupportedLanguages::SetLocaleLanguage() {
  CurrentLanguage = GetLanguage(GetLocaleLangID());
  if (!FileExists(fileName_)) {
    WriteErrorLog("Language.ini file could not be found");
    return;
  }
  // A language is shown only when its section has every text; otherwise English.
  bool complete = CurrentLanguage != nullptr;
  for (int n = 0; complete && n <= 170; ++n)
    complete = ReadText(CurrentLanguage->LCIDText, static_cast<uint8_t>(n)) != kNotSet;
  if (!complete) {
    CurrentLanguage = DefaultLanguage;
    WriteInfoLog("Locale Language INI File not fully supported");
  }
  reader_.reset();
  WriteInfoLog(".SetLocaleLanguage : " + SectionOf(CurrentLanguage));
}

std::string TSupportedLanguages::GetLanguageText(uint8_t Index) {
  if (!FileExists(fileName_)) {
    WriteErrorLog("Language.ini file could not be found");
    return "";
  }
  const std::string section = CurrentLanguage && CurrentLanguage->HasSection
                                  ? CurrentLanguage->LCIDText
                                  : SectionOf(DefaultLanguage);
  const std::string text = ReadText(section, Index);
  if (text != kNotSet) return text;
  return ReadText(SectionOf(DefaultLanguage), Index);
}
