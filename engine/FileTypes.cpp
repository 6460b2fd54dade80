#include "engine/FileTypes.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "engine/Debug.h"
#include "engine/ScanEngine.h"
#include "framework/core/inifiles.h"
#include "framework/core/strings.h"
#include "framework/gui/dialogs.h"

namespace {

std::optional<uint8_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return uint8_t(c - '0');
  if (c >= 'A' && c <= 'F') return uint8_t(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return uint8_t(c - 'a' + 10);
  return std::nullopt;
}

constexpr const char* kSettingsSection = "Update";

bool IsAsciiLetterOrDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

String TableFileName(const String& programFolder) { return programFolder + "Korvalo3" + ".INI"; }

}  // namespace

bool TSECombination::Matches(const uint8_t* data) const {
  if (Length == 0) return false;
  for (uint32_t i = 0; i < Length; ++i)
    if (!Wildcard[i] && Bytes[i] != data[i]) return false;
  return true;
}

std::optional<uint8_t> HexPairToByte(const String& pair) {
  if (pair.size() != 2) return std::nullopt;
  const auto high = HexDigit(pair[0]);
  const auto low = HexDigit(pair[1]);
  if (!high || !low) return std::nullopt;
  return uint8_t(*high * 16 + *low);
}

std::optional<TSECombination> ParseSignature(const String& value, bool& truncated) {
  truncated = false;
  TSECombination combination;
  for (size_t i = 0; i + 1 < value.size(); i += 2) {
    if (combination.Length == TSECombination::MaxBytes) {
      truncated = true;
      break;
    }
    const String pair = value.substr(i, 2);
    if (pair == "xx") {
      combination.Wildcard[combination.Length++] = true;
      continue;
    }
    const auto byte = HexPairToByte(pair);
    if (!byte) return std::nullopt;
    combination.Bytes[combination.Length++] = *byte;
  }
  // A signature without a fixed byte, empty or all wildcards, would match every sector.
  const auto wildcards = combination.Wildcard.begin() + combination.Length;
  if (std::all_of(combination.Wildcard.begin(), wildcards, [](bool wild) { return wild; })) return std::nullopt;
  return combination;
}

bool IsPlainExtension(const String& extension) {
  return !extension.empty() && std::all_of(extension.begin(), extension.end(), IsAsciiLetterOrDigit);
}

bool MatchSignature(const TSESupportedFileType& type, const uint8_t* buffer, size_t offset) {
  for (int i = 0; i < type.Combinations.Count(); ++i)
    if (type.Combination(i)->Matches(buffer + offset)) return true;
  return false;
}

void TScanEngine::LoadSupportedFileTypes() {
  try {
    TIniFile table(TableFileName(ProgramFolder));
    CurrentType = nullptr;
    SupportedFileTypes.ClearAndFree();
    TStringList sections;
    table.ReadSections(sections);
    for (int s = 0; s < sections.Count(); ++s) {
      const String section = sections.Strings(s);
      // The program's own settings share the file; they describe no type.
      if (SameText(section, kSettingsSection)) continue;
      auto type = std::make_unique<TSESupportedFileType>();
      type->Description = table.ReadString(section, "Description", "Description Unavailable");
      type->Extension = table.ReadString(section, "Extension", "XXX");
      if (!IsPlainExtension(type->Extension)) {
        WriteErrorLog("Extension \"" + type->Extension + "\" of " + section + " is not letters and digits; type dropped");
        continue;
      }
      type->Type = table.ReadInteger(section, "Type", 1);
      type->Selected = true;
      TStringList lines;
      table.ReadSectionValues(section, lines);
      for (int l = 0; l < lines.Count(); ++l) {
        const String name = lines.Names(l);
        if (name.empty() || name[0] != 'C') continue;
        bool truncated = false;
        const auto combination = ParseSignature(lines.ValueFromIndex(l), truncated);
        if (truncated) WriteErrorLog("Signature " + section + "." + name + " is longer than 20 bytes; cut to 20");
        if (!combination) {
          WriteErrorLog("Signature " + section + "." + name + " is empty, all wildcards or not hexadecimal; dropped");
          continue;
        }
        type->Combinations.Add(new TSECombination(*combination));
      }
      SupportedFileTypes.Add(type.release());
    }
  } catch (const std::exception& e) {
    ShowMessage(e.what());
  }
}

void TScanEngine::LoadTypeSelection() {
  TIniFile table(TableFileName(ProgramFolder));
  for (int i = 0; i < SupportedFileTypes.Count(); ++i) {
    auto* type = static_cast<TSESupportedFileType*>(SupportedFileTypes.Items(i));
    type->Selected = table.ReadBool(type->Extension, "Selected", true);
  }
}

void TScanEngine::SaveTypeSelection() {
  TIniFile table(TableFileName(ProgramFolder));
  for (int i = 0; i < SupportedFileTypes.Count(); ++i) {
    auto* type = static_cast<TSESupportedFileType*>(SupportedFileTypes.Items(i));
    table.WriteBool(type->Extension, "Selected", type->Selected);
  }
}

bool TScanEngine::RefuseWithoutFileTypes() {
  if (SupportedFileTypes.Count() != 0) return false;
  WriteErrorLog("No file type in " + TableFileName(ProgramFolder) + "; nothing to recover");
  LastError = kNoFileTypesCode;
  OnError(kNoFileTypesCode, kNoFileTypesText);
  return true;
}

uint16_t TScanEngine::FileTypeOfExtension(const String& Ext) const {
  const String wanted = UpperCase(Ext);
  for (int i = 0; i < SupportedFileTypes.Count(); ++i) {
    auto* type = static_cast<TSESupportedFileType*>(SupportedFileTypes.Items(i));
    // The table keeps extensions without their dot.
    if (wanted.size() > 1 && wanted[0] == '.' && wanted.compare(1, String::npos, UpperCase(type->Extension)) == 0)
      return static_cast<uint16_t>(type->Type & 0xFFFF);
  }
  return Ext == ".THM" ? 1 : 0;
}

bool TScanEngine::IsTypeSelected(const String& Ext) const {
  if (Ext.empty()) return false;
  const String ext = Ext[0] == '.' ? Ext.substr(1) : Ext;
  if (ext == "THM") return true;
  for (int i = 0; i < SupportedFileTypes.Count(); ++i) {
    auto* type = static_cast<TSESupportedFileType*>(SupportedFileTypes.Items(i));
    if (SameText(type->Extension, ext)) return type->Selected;
  }
  return false;
}
