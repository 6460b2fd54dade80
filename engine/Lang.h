// The languages of "Language.ini": which system locales the file supports, which one
// is shown, and the lookup of every text by number (0 is the application's name).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/STD_LIST.h"

class TIniFile;

class TSupportedLanguage : public TObject {
 public:
  std::string LCIDText;  // also the locale's section in "Language.ini"
  std::string EnglishLanguageName;
  std::string EnglishCountryName;
  std::wstring NativeCountryName;
  std::wstring NativeLanguageName;
  uint8_t Charset = 0;
  std::string Abbreviation;
  std::string IDText;  // "$" + eight hex digits
  uint32_t LCID = 0;
  bool Installed = false;
  bool Supported = false;
  bool HasSection = false;
};

class TSupportedLanguages : public TSEClassList {
 public:
  // The file read; "Language.ini" in the program's folder unless given.
  explicit TSupportedLanguages(std::string FileName = ProgramLanguageFile());
  ~TSupportedLanguages() override;

  void LoadLanguages();
  void SetDefaultLanguage();
  void SetLocaleLanguage();
  std::string GetLanguageText(uint8_t Index);
  TSupportedLanguage* GetLanguage(uint32_t Locale);
  uint16_t GetLocaleLangID();

  TSupportedLanguage* Items(int Index) const {
    return static_cast<TSupportedLanguage*>(Objects(Index));
  }

  // Both point into this list's own items; none until chosen.
  TSupportedLanguage* CurrentLanguage = nullptr;
  TSupportedLanguage* DefaultLanguage = nullptr;

  static std::string ProgramLanguageFile();

 private:
  TIniFile& Reader();
  std::string ReadText(const std::string& Section, uint8_t Index);

  std::string fileName_;
  // Kept open between lookups; made by the first lookup that needs it.
  std::unique_ptr<TIniFile> reader_;
};

// The program's one language list.
extern TSupportedLanguages* const SupportedLanguages;
