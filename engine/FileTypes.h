// The file types the engine recovers, loaded from the table file next to the program:
// one section per type with its extension, description, category and signatures.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/STD_LIST.h"
#include "framework/core/sysutils.h"

// One signature: the bytes a file of the type starts with; masked-out bytes match anything.
class TSECombination : public TObject {
 public:
  static constexpr size_t MaxBytes = 20;
  std::array<uint8_t, MaxBytes> Bytes{};
  std::array<bool, MaxBytes> Wildcard{};  // "xx" in the table
  uint32_t Length = 0;

  bool Matches(const uint8_t* data) const;
};

class TSESupportedFileType : public TObject {
 public:
  TSESupportedFileType() = default;
  String Extension = "XXX";
  String Description = "Description Unavailable";
  int32_t Type = 1;  // 1 image, 2 video, 3 sound, 4 data
  TSEClassList Combinations;  // TSECombination
  bool Selected = true;

  TSECombination* Combination(int i) const { return static_cast<TSECombination*>(Combinations.Items(i)); }
};

// What the passes report when the table holds no type: with nothing to look for, an empty
// result would pass for a card without files.
inline constexpr int32_t kNoFileTypesCode = 51;
inline constexpr const char* kNoFileTypesText = "No File Types Loaded";

// The byte of two hex digits (either case); nothing when a character is not a hex digit.
std::optional<uint8_t> HexPairToByte(const String& pair);

// A signature of the table; nothing for an unreadable value or one without a fixed byte. A value longer than
// 20 bytes keeps its first 20 (the caller logs it), "xx" is a wildcard.
std::optional<TSECombination> ParseSignature(const String& value, bool& truncated);

// An extension the output folder's file names can carry: letters and digits only, so that
// no name made with it reaches outside the folder.
bool IsPlainExtension(const String& extension);

// True when one of the type's signatures matches the bytes at buffer + offset.
bool MatchSignature(const TSESupportedFileType& type, const uint8_t* buffer, size_t offset);
