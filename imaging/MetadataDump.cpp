#include "imaging/MetadataDump.h"

#include "imaging/ExifData.h"
#include "imaging/IptcData.h"

namespace {

// Tabs and line breaks inside a value would break the line format.
String OneLine(String text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32) c = '.';
  return text;
}

String Line(const char* group, const TTagEntry& entry) {
  return String(group) + "\t" + IntToStr(entry.Tag) + "\t" + OneLine(entry.Name) + "\t" + OneLine(entry.Data);
}

}  // namespace

std::vector<String> DumpMetadata(TimgData& reader) {
  std::vector<String> lines;
  if (TImageInfo* exif = reader.ExifObj()) {
    TTagEntry entry;
    static constexpr const char* kGroups[] = {"exif", "maker"};
    for (int group = 0; group < 2; ++group) {
      exif->ResetTagIterator();
      while (exif->GetNextTag(group, entry)) lines.push_back(Line(kGroups[group], entry));
    }
    if (reader.HasThumbnail()) {
      exif->ProcessThumbnail();
      exif->ResetThumbnailTagIterator();
      while (exif->GetNextThumbnailTag(0, entry)) lines.push_back(Line("thumbnail", entry));
    }
  }
  if (reader.IptcObj() && reader.IptcSegment) {
    const auto iptc = reader.IptcObj()->IPTCToStrings(reader.IptcSegment->Data);
    for (int i = 0; i < iptc->Count(); ++i) lines.push_back("iptc\t" + OneLine(iptc->Strings(i)));
  }
  lines.push_back("ErrStr\t" + reader.ErrStr);
  return lines;
}
