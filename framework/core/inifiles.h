// Ini files: the interface the skin readers take, the system's private-profile
// file and the in-memory one.
#pragma once

#include <vector>

#include "framework/core/classes.h"
#include "framework/core/strings.h"
#include "framework/core/sysutils.h"

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(String fileName) : fileName_(std::move(fileName)) {}
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const String& FileName() const { return fileName_; }

  virtual String ReadString(const String& section, const String& ident, const String& def) = 0;
  virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
  virtual int ReadInteger(const String& section, const String& ident, int def);
  virtual void WriteInteger(const String& section, const String& ident, int value);
  // ReadInteger != 0; written as "1" / "0".
  virtual bool ReadBool(const String& section, const String& ident, bool def);
  virtual void WriteBool(const String& section, const String& ident, bool value);

  // Each fills the list afresh: key names, section names, "name=value" lines.
  virtual void ReadSection(const String& section, TStrings& strings) = 0;
  virtual void ReadSections(TStrings& strings) = 0;
  virtual void ReadSectionValues(const String& section, TStrings& strings) = 0;

  virtual bool SectionExists(const String& section);
  virtual bool ValueExists(const String& section, const String& ident);
  virtual void EraseSection(const String& section) = 0;
  virtual void DeleteKey(const String& section, const String& ident) = 0;
  virtual void UpdateFile() = 0;

 private:
  String fileName_;
};

// The system's private-profile file: give it a full path, since the system looks
// for a bare name in the Windows folder. Values are read through a 2048-byte
// buffer (surrounding quotes stripped, names case-insensitive, the first of
// duplicate keys wins); a failed write raises EIniFileException.
class TIniFile : public TCustomIniFile {
 public:
  using TCustomIniFile::TCustomIniFile;

  String ReadString(const String& section, const String& ident, const String& def) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  void ReadSection(const String& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const String& section, TStrings& strings) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  void UpdateFile() override;

 private:
  void Write(const char* section, const char* ident, const char* value);
};

// Ini text held in memory (the skin fills one with SetStrings and no file name).
// Names are compared without regard to ASCII case; values come back as written
// after trimming; a section exists once its header does, even without keys.
class TMemIniFile : public TCustomIniFile {
 public:
  // Reads the file when the name is not empty and the file exists.
  explicit TMemIniFile(String fileName = String());

  String ReadString(const String& section, const String& ident, const String& def) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  // Sign and decimal digits within 32 bits, or 0x / 0X / $ and up to 8 hex
  // digits as two's complement; anything else gives the default.
  int ReadInteger(const String& section, const String& ident, int def) override;
  void ReadSection(const String& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const String& section, TStrings& strings) override;
  bool SectionExists(const String& section) override;
  bool ValueExists(const String& section, const String& ident) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  // Writes the text back; does nothing without a file name.
  void UpdateFile() override;

  void Clear();
  void SetStrings(const TStrings& strings);
  void GetStrings(TStrings& strings) const;

 private:
  struct Key {
    String name;
    String value;
  };
  struct Section {
    String name;
    std::vector<Key> keys;
  };
  Section* FindSection(const String& name);
  const Key* FindKey(const String& section, const String& ident);

  std::vector<Section> sections_;
};
