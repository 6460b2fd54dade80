// The IPTC dataset table and the walk over an APP13 section.
#include "imaging/IptcData.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "imaging/ExifData.h"

namespace {

constexpr TIptcRow kIptcRows[] = {
    {2, 0, "SKIP", "Record Version", 64},
    {2, 3, "ObjectType", "Object Type Ref", 67},
    {2, 4, "ObjectAttr", "Object Attribute Ref", 67},
    {2, 5, "ObjectName", "Object name", 64},
    {2, 7, "EditStatus", "Edit Status", 64},
    {2, 8, "EditorialUpdate", "Editorial Update", 2},
    {2, 10, "Urgency", "Urgency", 1},
    {2, 12, "SubRef", "Subject Reference", 236},
    {2, 15, "Category", "Category", 3},
    {2, 20, "SuppCategory", "Supplemental category", 32},
    {2, 22, "FixtureID", "Fixture ID", 32},
    {2, 25, "Keywords", "Keywords", 64},
    {2, 26, "ContentLocCode", "Content Location Code", 3},
    {2, 27, "ContentLocName", "Content Location Name", 64},
    {2, 30, "ReleaseDate", "Release Date", 8},
    {2, 35, "ReleaseTime", "Release Time", 11},
    {2, 37, "ExpireDate", "Expiration Date", 8},
    {2, 38, "ExpireTime", "Expiration Time", 11},
    {2, 40, "SpecialInstru", "Special Instructions", 256},
    {2, 42, "ActionAdvised", "Action Advised", 2},
    {2, 45, "RefService", "Reference Service", 10},
    {2, 47, "RefDate", "Reference Date", 8},
    {2, 50, "RefNumber", "Reference Number", 8},
    {2, 55, "DateCreated", "Date created", 8},
    {2, 60, "TimeCreated", "Time created", 11},
    {2, 62, "DigitizeDate", "Digital Creation Date", 8},
    {2, 63, "DigitizeTime", "Digital Creation Time", 11},
    {2, 65, "OriginatingProgram", "Originating Program", 32},
    {2, 70, "ProgramVersion", "Program version", 10},
    {2, 75, "ObjectCycle", "Object Cycle", 1},
    {2, 80, "ByLine", "ByLine", 32},
    {2, 85, "ByLineTitle", "ByLine Title", 32},
    {2, 90, "City", "City", 32},
    {2, 92, "SubLocation", "Sublocation", 32},
    {2, 95, "State", "Province/State", 32},
    {2, 100, "LocationCode", "Country/Primary Location Code", 3},
    {2, 101, "LocationName", "Country/Primary Location Name", 64},
    {2, 103, "TransmissionRef", "Original Transmission Reference", 32},
    {2, 105, "ImageHeadline", "Image headline", 256},
    {2, 110, "ImageCredit", "Image credit", 32},
    {2, 115, "Source", "Source", 32},
    {2, 116, "Copyright", "Copyright Notice", 128},
    {2, 118, "Contact", "Contact", 128},
    {2, 120, "ImageCaption", "Image caption", 2000},
    {2, 122, "ImageCaptionWriter", "Image caption writer", 32},
    {2, 130, "ImageType", "Image type", 2},
    {2, 131, "Orientation", "Image Orientation", 1},
    {2, 135, "LangID", "Language ID", 3},
    {8, 10, "Subfile", "Subfile", 2},
};
static_assert(std::size(kIptcRows) == 49);

constexpr uint8_t kDatasetMark = 0x1C;
constexpr int32_t kUnknownSize = 64;

bool IsListedRecord(int record) { return record == 2 || record == 8; }
bool IsRepeatable(int tag) { return tag == 20 || tag == 25; }

TTagEntry EntryOf(const TIptcRow& row) {
  TTagEntry e;
  e.Record = row.Record;
  e.Tag = row.Tag;
  e.Name = row.Name;
  e.Desc = row.Desc;
  e.Size = row.Size;
  return e;
}

}  // namespace

std::span<const TIptcRow> IptcTagTable() { return kIptcRows; }

TTagEntry TIPTCdata::GetTagByIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return tags_[static_cast<size_t>(index)];
}

int TIPTCdata::AddTag(const TTagEntry& entry) {
  if (entry.Tag != 0) tags_.push_back(entry);
  return Count() - 1;
}

size_t TIPTCdata::FirstDataset() const {
  const String& buffer = parseBuffer_;
  const size_t header = buffer.find("Photoshop 3.0");
  size_t i = header == String::npos ? 12 : header + 13;
  for (; i + 1 < buffer.size(); ++i) {
    if (static_cast<uint8_t>(buffer[i]) == kDatasetMark && IsListedRecord(static_cast<uint8_t>(buffer[i + 1])))
      return i + 1;
  }
  return buffer.size();
}

// The length and data are clamped to the section: a truncated dataset gives what is there.
TTagEntry TIPTCdata::ReadIPTCField(size_t& position) const {
  const String& buffer = parseBuffer_;
  auto byteAt = [&](size_t i) -> size_t { return i < buffer.size() ? static_cast<uint8_t>(buffer[i]) : 0; };
  const int record = byteAt(position);
  const int tag = byteAt(position + 1);
  const size_t length = (size_t{byteAt(position + 2)} << 8) | byteAt(position + 3);
  const size_t start = std::min(position + 4, buffer.size());
  const String data = buffer.substr(start, std::min(length, buffer.size() - start));
  position += 5 + length;

  TTagEntry entry;
  if (!IsListedRecord(record)) return entry;
  for (const TIptcRow& row : kIptcRows) {
    if (row.Record == record && row.Tag == tag && String(row.Name) != "SKIP") {
      entry = EntryOf(row);
      entry.Data = data;
      return entry;
    }
  }
  entry.Name = entry.Desc = "Custom_" + IntToStr(tag);
  entry.Record = static_cast<uint16_t>(record);
  entry.Tag = static_cast<uint16_t>(tag);
  entry.Data = data;
  entry.Size = kUnknownSize;
  return entry;
}

template <class Visit>
void TIPTCdata::Walk(const String& section, Visit visit) {
  parseBuffer_ = section;
  size_t position = FirstDataset();
  while (position + 2 < parseBuffer_.size()) visit(ReadIPTCField(position));
}

std::unique_ptr<TStringList> TIPTCdata::IPTCToStrings(const String& section) {
  auto lines = std::make_unique<TStringList>();
  Walk(section, [&](const TTagEntry& entry) {
    if (!entry.Name.empty()) lines->Add(entry.Desc + NameValueSeparator + entry.Data);
  });
  return lines;
}

void TIPTCdata::ParseIPTCStrings(const String& section) {
  tags_.clear();
  Walk(section, [&](const TTagEntry& entry) {
    if (IsRepeatable(entry.Tag)) AppendTagValue(entry.Name, entry.Data);
    else AddTag(entry);
  });
}

int TIPTCdata::LookupIndex(const String& name) const {
  for (size_t i = 0; i < tags_.size(); ++i)
    if (SameText(tags_[i].Name, name)) return static_cast<int>(i);
  return -1;
}

int TIPTCdata::LookupTableIndex(const String& name) const {
  for (size_t i = 0; i < std::size(kIptcRows); ++i)
    if (SameText(kIptcRows[i].Name, name)) return static_cast<int>(i);
  return -1;
}

void TIPTCdata::RemoveTag(const String& name) {
  const int i = LookupIndex(name);
  if (i >= 0) tags_.erase(tags_.begin() + i);
}

int TIPTCdata::SetTagValue(const String& name, const String& value) {
  const int i = LookupIndex(name);
  if (i >= 0) {
    if (!value.empty()) tags_[static_cast<size_t>(i)].Data = value;
    return i;
  }
  const int row = LookupTableIndex(name);
  if (row < 0) return -1;
  TTagEntry entry = EntryOf(kIptcRows[row]);
  entry.Data = value;
  return AddTag(entry);
}

int TIPTCdata::AppendTagValue(const String& name, const String& value) {
  const int i = LookupIndex(name);
  if (i < 0) return SetTagValue(name, value);
  if (!value.empty()) tags_[static_cast<size_t>(i)].Data += "," + value;
  return i;
}

int TIPTCdata::WriteTag(const String& name, const String& value) {
  const int row = LookupTableIndex(name);
  if (row < 0) return -1;
  if (kIptcRows[row].Record == 2 && IsRepeatable(kIptcRows[row].Tag)) return AppendTagValue(name, value);
  return SetTagValue(name, value);
}

String TIPTCdata::GetTagValue(const String& name, const String& defaultValue) const {
  const int i = LookupIndex(name);
  return i < 0 ? defaultValue : tags_[static_cast<size_t>(i)].Data;
}

// The parent reads the file. Its own IPTC object it frees when it starts reading, so that
// one reads with a reader of its own.
bool TIPTCdata::ReadFile(const String& fileName) {
  tags_.clear();
  std::unique_ptr<TimgData> own;
  TimgData* reader = Parent;
  if (!Parent || Parent->IptcObj() == this) {
    own = std::make_unique<TimgData>(Parent ? Parent->Options : 255);
    reader = own.get();
  }
  reader->ReadMetadata(fileName);
  if (reader->IptcSegment) ParseIPTCStrings(reader->IptcSegment->Data);
  return HasData();
}
