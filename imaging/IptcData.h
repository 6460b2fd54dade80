// The IPTC reader: the IPTC-IIM datasets of a JPEG file's APP13 section.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/strings.h"
#include "framework/core/sysutils.h"
#include "imaging/ExifTags.h"

class TimgData;

struct TIptcRow {
  uint16_t Record;
  uint16_t Tag;
  const char* Name;
  const char* Desc;
  int32_t Size;  // the longest value the record allows
};

std::span<const TIptcRow> IptcTagTable();

class TIPTCdata : public TObject {
 public:
  explicit TIPTCdata(TimgData* parent) : Parent(parent) {}

  // One line per dataset of records 2 and 8: display name, " = ", value.
  std::unique_ptr<TStringList> IPTCToStrings(const String& section);
  // Empties the entries and fills them from the section.
  void ParseIPTCStrings(const String& section);

  int Count() const { return static_cast<int>(tags_.size()); }
  void SetCount(int count) { tags_.resize(static_cast<size_t>(std::max(count, 0))); }
  TTagEntry GetTagByIndex(int index) const;
  bool HasData() const { return Count() > 0; }
  void Reset() { tags_.clear(); }

  virtual int LookupIndex(const String& name) const;
  virtual void RemoveTag(const String& name);
  virtual int SetTagValue(const String& name, const String& value);
  virtual int AppendTagValue(const String& name, const String& value);
  virtual int WriteTag(const String& name, const String& value);
  virtual String GetTagValue(const String& name, const String& defaultValue) const;
  virtual bool ReadFile(const String& fileName);

  int LookupTableIndex(const String& name) const;

  TimgData* Parent;

 private:
  int AddTag(const TTagEntry& entry);
  // Position of the record byte of the first dataset of the parse buffer.
  size_t FirstDataset() const;
  // Reads the dataset whose record byte is at `position`; moves `position` to the next.
  TTagEntry ReadIPTCField(size_t& position) const;
  template <class Visit>
  void Walk(const String& section, Visit visit);

  std::vector<TTagEntry> tags_;
  String parseBuffer_;  // the section being parsed; each reader has its own
};
