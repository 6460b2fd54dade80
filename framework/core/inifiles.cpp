#include "framework/core/inifiles.h"

#include <windows.h>

#include <algorithm>

#include "framework/core/fileutils.h"

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// The in-memory file's own integer rule: sign and decimal digits within 32 bits,
// or 0x / 0X / $ and 1 to 8 hex digits read as two's complement (system colours).
bool ParseIniInteger(const String& s, int& value) {
  size_t hexStart = s.starts_with("0x") || s.starts_with("0X") ? 2 : s.starts_with("$") ? 1 : 0;
  if (hexStart != 0) {
    size_t digits = s.size() - hexStart;
    if (digits < 1 || digits > 8 || !std::all_of(s.begin() + hexStart, s.end(), IsHexDigit)) return false;
    uint32_t bits = 0;
    for (size_t i = hexStart; i < s.size(); ++i) bits = bits << 4 | static_cast<uint32_t>(HexValue(s[i]));
    value = static_cast<int32_t>(bits);
    return true;
  }
  size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  if (i == s.size()) return false;
  const bool negative = s[0] == '-';
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    magnitude = magnitude * 10 + (s[i] - '0');
    if (magnitude > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

// The system's list form: strings each ended by a NUL, the list by another.
void AddNulSeparated(const std::vector<char>& buffer, DWORD length, TStrings& strings) {
  for (size_t start = 0; start < length;) {
    String item(buffer.data() + start);
    if (item.empty()) break;
    strings.Add(item);
    start += item.size() + 1;
  }
}

}  // namespace

// ---- TCustomIniFile

int TCustomIniFile::ReadInteger(const String& section, const String& ident, int def) {
  return StrToIntDef(ReadString(section, ident, String()), def);
}

void TCustomIniFile::WriteInteger(const String& section, const String& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const String& section, const String& ident, bool def) {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& section, const String& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const String& section) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& section, const String& ident) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(ident) >= 0;
}

// ---- TIniFile

String TIniFile::ReadString(const String& section, const String& ident, const String& def) {
  char buffer[2048];
  DWORD n = GetPrivateProfileStringA(section.c_str(), ident.c_str(), def.c_str(), buffer, sizeof buffer,
                                     FileName().c_str());
  return String(buffer, std::min<DWORD>(n, sizeof buffer - 1));
}

void TIniFile::Write(const char* section, const char* ident, const char* value) {
  if (!WritePrivateProfileStringA(section, ident, value, FileName().c_str()))
    throw EIniFileException(Format("Unable to write to %s", FileName()));
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value) {
  Write(section.c_str(), ident.c_str(), value.c_str());
}

namespace {

// Key names of a section, or section names when section is null; the buffer
// grows until the whole list fits (the system cuts it off silently).
void ReadProfileList(const char* section, const String& fileName, TStrings& strings) {
  std::vector<char> buffer(16384);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                 fileName.c_str());
    if (n + 2 < buffer.size() || buffer.size() >= (64u << 20)) break;
    buffer.resize(buffer.size() * 4);
  }
  buffer.back() = '\0';
  TStringsUpdate update(strings);
  strings.Clear();
  AddNulSeparated(buffer, n, strings);
}

}  // namespace

void TIniFile::ReadSection(const String& section, TStrings& strings) {
  ReadProfileList(section.c_str(), FileName(), strings);
}

void TIniFile::ReadSections(TStrings& strings) { ReadProfileList(nullptr, FileName(), strings); }

void TIniFile::ReadSectionValues(const String& section, TStrings& strings) {
  TStringList keys;
  ReadSection(section, keys);
  TStringsUpdate update(strings);
  strings.Clear();
  for (int i = 0; i < keys.Count(); ++i)
    strings.Add(keys.Strings(i) + "=" + ReadString(section, keys.Strings(i), String()));
}

void TIniFile::EraseSection(const String& section) { Write(section.c_str(), nullptr, nullptr); }

void TIniFile::DeleteKey(const String& section, const String& ident) {
  // An absent key or file is already what the caller wants.
  WritePrivateProfileStringA(section.c_str(), ident.c_str(), nullptr, FileName().c_str());
}

void TIniFile::UpdateFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName().c_str()); }

// ---- TMemIniFile

TMemIniFile::TMemIniFile(String fileName) : TCustomIniFile(std::move(fileName)) {
  if (FileName().empty() || !FileExists(FileName())) return;
  TStringList lines;
  lines.LoadFromFile(FileName());
  SetStrings(lines);
}

TMemIniFile::Section* TMemIniFile::FindSection(const String& name) {
  auto it = std::find_if(sections_.begin(), sections_.end(),
                         [&](const Section& s) { return SameText(s.name, name); });
  return it == sections_.end() ? nullptr : &*it;
}

const TMemIniFile::Key* TMemIniFile::FindKey(const String& section, const String& ident) {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  auto it = std::find_if(s->keys.begin(), s->keys.end(), [&](const Key& k) { return SameText(k.name, ident); });
  return it == s->keys.end() ? nullptr : &*it;
}

void TMemIniFile::Clear() { sections_.clear(); }

void TMemIniFile::SetStrings(const TStrings& strings) {
  Clear();
  Section* current = nullptr;
  for (int i = 0; i < strings.Count(); ++i) {
    String line = Trim(strings.Strings(i));
    if (line.empty() || line[0] == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      String name = Trim(line.substr(1, line.size() - 2));
      // A repeated header continues the section it names.
      current = FindSection(name);
      if (!current) current = &sections_.emplace_back(Section{name, {}});
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == String::npos) continue;
    current->keys.push_back(Key{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
  }
}

void TMemIniFile::GetStrings(TStrings& strings) const {
  TStringsUpdate update(strings);
  strings.Clear();
  for (const Section& section : sections_) {
    strings.Add("[" + section.name + "]");
    for (const Key& key : section.keys) strings.Add(key.name + "=" + key.value);
    strings.Add(String());
  }
}

String TMemIniFile::ReadString(const String& section, const String& ident, const String& def) {
  const Key* key = FindKey(section, ident);
  return key ? key->value : def;
}

void TMemIniFile::WriteString(const String& section, const String& ident, const String& value) {
  Section* s = FindSection(section);
  if (!s) s = &sections_.emplace_back(Section{section, {}});
  auto it = std::find_if(s->keys.begin(), s->keys.end(), [&](const Key& k) { return SameText(k.name, ident); });
  if (it != s->keys.end()) {
    it->value = value;
  } else {
    s->keys.push_back(Key{ident, value});
  }
}

int TMemIniFile::ReadInteger(const String& section, const String& ident, int def) {
  const Key* key = FindKey(section, ident);
  int value = 0;
  return key && ParseIniInteger(key->value, value) ? value : def;
}

void TMemIniFile::ReadSection(const String& section, TStrings& strings) {
  TStringsUpdate update(strings);
  strings.Clear();
  if (const Section* s = FindSection(section))
    for (const Key& key : s->keys) strings.Add(key.name);
}

void TMemIniFile::ReadSections(TStrings& strings) {
  TStringsUpdate update(strings);
  strings.Clear();
  for (const Section& s : sections_) strings.Add(s.name);
}

void TMemIniFile::ReadSectionValues(const String& section, TStrings& strings) {
  TStringsUpdate update(strings);
  strings.Clear();
  if (const Section* s = FindSection(section))
    for (const Key& key : s->keys) strings.Add(key.name + "=" + key.value);
}

bool TMemIniFile::SectionExists(const String& section) { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const String& section, const String& ident) {
  return FindKey(section, ident) != nullptr;
}

void TMemIniFile::EraseSection(const String& section) {
  std::erase_if(sections_, [&](const Section& s) { return SameText(s.name, section); });
}

void TMemIniFile::DeleteKey(const String& section, const String& ident) {
  // Every line of the name goes, so a later duplicate does not surface.
  if (Section* s = FindSection(section))
    std::erase_if(s->keys, [&](const Key& k) { return SameText(k.name, ident); });
}

void TMemIniFile::UpdateFile() {
  if (FileName().empty()) return;
  TStringList lines;
  GetStrings(lines);
  lines.SaveToFile(FileName());
}
