// Maker-note decoding: recognises the camera maker, walks the maker note's own directory
// with that maker's table and adds what it knows to the tag store as group-1 entries.
#pragma once

#include <cstdint>
#include <span>

#include "framework/core/lists.h"
#include "framework/core/sysutils.h"

class TImageInfo;

// What a maker row's value is further decoded into.
enum TMakerDecoder { mdNone, mdCanonSettings1, mdCanonSettings2, mdCanonCustomFunctions };

struct TMakerRow {
  uint16_t Tag;
  const char* Name;
  const char* Desc;
  const char* ValueList;
  TMakerDecoder Decoder;
};

// The maker tables, for tests and lists.
enum TMakerTable { mtNikonOld, mtNikon, mtOlympus, mtCasio, mtFuji, mtCanon, mtSeiko, mtSanyo, mtMinolta };
std::span<const TMakerRow> MakerTable(TMakerTable table);

// Made for one maker note and freed right after. The Canon settings go to `Store`, the
// store being decoded, so readers on several threads never meet.
class TmsInfo : public TObject {
 public:
  TmsInfo(bool tiffFormat, TImageInfo* store) : TiffFormat(tiffFormat), Store(store) {}

  // True when the maker was recognised.
  bool ProcessMakerNote();

  // Walks the directory at `start` of the maker note; value offsets count from buffer
  // position `offsetBase` of the reader's data.
  void ProcessMakerNoteDirectory(std::span<const TMakerRow> table, int64_t start, int64_t offsetBase);

  void DecodeCanonSettings1(const String& text);
  void DecodeCanonSettings2(const String& text);
  void DecodeCanonCustomFunctions(const String& text);

  bool TiffFormat;
  TImageInfo* Store;

 private:
  void Decode(TMakerDecoder decoder, const String& text);
  void AddSetting(const String& name, const String& text);
  void ListSetting(const String& name, const String& text, int n, const char* list);
  void RawSetting(const String& name, const String& text, int n);
};
