// The EXIF reader: JPEG sections, TIFF buffers and the walk of their directories.
#include "imaging/ExifData.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "framework/core/fileutils.h"
#include "framework/core/formatsettings.h"
#include "framework/core/streams.h"
#include "imaging/IptcData.h"
#include "imaging/MakerNotes.h"

namespace {

constexpr int kMaxSections = 20;
constexpr int kTiffBufferSize = 256000;
// Real files nest three deep (IFD0, EXIF, interoperability); more is a loop or an attack.
constexpr int kMaxDirectoryDepth = 8;

constexpr uint16_t kTagImageWidth = 256, kTagImageLength = 257, kTagCompression = 259, kTagMake = 271,
                   kTagModel = 272, kTagDateTime = 306, kTagSubIFDs = 330, kTagExifOffset = 34665,
                   kTagGpsInfo = 34853, kTagExifVersion = 36864, kTagDateTimeOriginal = 36867,
                   kTagDateTimeDigitized = 36868, kTagFlash = 37385, kTagMakerNote = 37500,
                   kTagUserComment = 37510, kTagExifImageWidth = 40962, kTagExifImageLength = 40963,
                   kTagInteroperabilityOffset = 40965;

// Reads up to `count` bytes; fewer at the end of the file.
String ReadUpTo(TStream& stream, int count) {
  String data(static_cast<size_t>(count), '\0');
  const int got = count > 0 ? stream.Read(data.data(), count) : 0;
  data.resize(static_cast<size_t>(got > 0 ? got : 0));
  return data;
}

}  // namespace

int RoundToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (value >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int>(Round(value));
}

// ---- tEndInd ---------------------------------------------------------------------------

void tEndInd::Check(int64_t position, int64_t count) const {
  const int64_t size = static_cast<int64_t>(DataBuffer.size());
  if (position < 0 || count < 0 || position > size || count > size - position)
    throw EExifError("Offset " + IntToStr(position) + " is outside the data (" + IntToStr(size) + " bytes)");
}

uint16_t tEndInd::Get16u(int64_t position) const {
  Check(position, 2);
  const auto* p = reinterpret_cast<const unsigned char*>(DataBuffer.data() + position);
  return static_cast<uint16_t>(MotorolaOrder ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
}

uint32_t tEndInd::Get32u(int64_t position) const {
  Check(position, 4);
  const auto* p = reinterpret_cast<const unsigned char*>(DataBuffer.data() + position);
  if (MotorolaOrder)
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
  return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[0]};
}

String tEndInd::GetBytes(int64_t position, int64_t count) const {
  const int64_t size = static_cast<int64_t>(DataBuffer.size());
  if (position < 0 || position >= size) Check(position, 1);  // raises
  return DataBuffer.substr(static_cast<size_t>(position), static_cast<size_t>(std::min(count, size - position)));
}

// ---- TimgData --------------------------------------------------------------------------

TimgData::TimgData(int options) : Options(options) {}

TimgData::~TimgData() = default;

void TimgData::Reset() {
  SectionCount = 0;
  ExifSegment = IptcSegment = CommentSegment = HeaderSegment = nullptr;
  FileName.clear();
  FileDateTime = 0;
  FileSize = 0;
  ErrStr.clear();
  exifObj_.reset();
  iptcObj_.reset();
  MotorolaOrder = false;
  TiffFormat = false;
}

namespace {

enum TFileKind { fkNone, fkJpeg, fkTiff };

TFileKind KindOfExtension(const String& extension) {
  const String ext = LowerCase(extension);
  if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") return fkJpeg;
  if (ext == ".tif" || ext == ".tiff" || ext == ".nef") return fkTiff;
  return fkNone;
}

}  // namespace

bool TimgData::ReadMetadata(const String& fileName) {
  Reset();
  if (!FileExists(fileName)) return false;
  try {
    FileName = fileName;
    FileDateTime = ::FileDateTime(fileName);
    TSearchRec entry;
    if (FindFirst(fileName, faAnyFile & ~faDirectory, entry) == 0) FileSize = static_cast<int32_t>(entry.Size);
    ErrStr = "Not an EXIF file";
    const TFileKind kind = KindOfExtension(ExtractFileExt(fileName));
    if (kind == fkNone) return false;
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    return ReadSections(file, kind == fkJpeg);
  } catch (...) {
    ErrStr = "Illegal Exif construction";
    return false;
  }
}

bool TimgData::ReadMetadata(TStream& data, const String& extension) {
  Reset();
  try {
    ErrStr = "Not an EXIF file";
    const TFileKind kind = KindOfExtension(extension);
    return kind != fkNone && ReadSections(data, kind == fkJpeg);
  } catch (...) {
    ErrStr = "Illegal Exif construction";
    return false;
  }
}

// The reading steps record in ErrStr only what really failed (damaged EXIF data, tags
// lost); a clean read is the one where none did.
bool TimgData::ReadSections(TStream& data, bool jpeg) {
  ErrStr.clear();
  const bool found = jpeg ? ReadJpegSections(data) : ReadTiffFile(data);
  if (ErrStr.empty()) ErrStr = found ? "<none>" : "Not an EXIF file";
  return found;
}

bool TimgData::ReadJpegSections(TStream& file) {
  TiffFormat = false;
  try {
    const String start = ReadUpTo(file, 2);
    if (start != "\xFF\xD8") return false;
    SectionCount = 0;
    while (SectionCount < kMaxSections) {
      unsigned char marker = 0xFF;
      while (marker == 0xFF)
        if (file.Read(&marker, 1) != 1) return false;  // the stream ended before SOS or EOI
      TSection& slot = Sections[static_cast<size_t>(++SectionCount)];
      slot = TSection();
      slot.Marker = marker;
      if (marker == 0xD9) break;  // EOI has no length
      slot.Data = ReadUpTo(file, 2);
      if (slot.Data.size() < 2) return false;
      slot.Size = (static_cast<unsigned char>(slot.Data[0]) << 8) | static_cast<unsigned char>(slot.Data[1]);
      if (slot.Size < 2) return false;  // its length bytes would not fit in it
      slot.Data += ReadUpTo(file, slot.Size - 2);

      if (SectionCount == 5 && !HasMetaData()) break;
      switch (marker) {
        case 0xDA:
          return HasMetaData();
        case 0xE0:
          HeaderSegment = &slot;
          break;
        case 0xED:
          if (!IptcSegment) {
            IptcSegment = &slot;
            iptcObj_ = std::make_unique<TIPTCdata>(this);
          }
          break;
        case 0xFE:
          CommentSegment = &slot;
          break;
        case 0xE1:
          if (SectionCount < 6 && !ExifSegment) {
            ExifSegment = &slot;
            exifObj_ = std::make_unique<TImageInfo>(this, Options);
            DataBuffer = slot.Data;
            ProcessExifSegment(slot);
          } else {
            --SectionCount;  // the next section reuses the slot
          }
          break;
        default:
          break;
      }
    }
    return HasMetaData();
  } catch (const Exception&) {
    return false;
  }
}

void TimgData::ProcessExifSegment(const TSection& section) {
  const String& data = section.Data;
  // Another application's data (an XMP packet, say) in the first APP1: no tags, and
  // nothing failed.
  if (data.size() < 7 || data.compare(2, 5, String("Exif\0", 5)) != 0) return;
  const String mark = data.size() >= 10 ? data.substr(8, 2) : String();
  if (mark == "II") MotorolaOrder = false;
  else if (mark == "MM") MotorolaOrder = true;
  else {
    ErrStr = "Invalid Exif alignment marker";
    return;
  }
  TImageInfo& info = *exifObj_;
  info.DataBuffer = data;
  info.MotorolaOrder = MotorolaOrder;
  uint32_t first = data.size() >= 16 ? info.Get32u(12) : 8;
  if (first == 0) first = 8;
  info.ProcessExif(first, static_cast<int64_t>(section.Size) + 3);
  info.Compute35mmFocalLength();
}

bool TimgData::ReadTiffFile(TStream& file) {
  struct TiffFlag {
    bool& flag;
    explicit TiffFlag(bool& f) : flag(f) { flag = true; }
    ~TiffFlag() { flag = false; }
  } tiff(TiffFormat);
  try {
    const String mark = ReadUpTo(file, 2);
    if (mark != "II" && mark != "MM") return false;
    ReadUpTo(file, 6);  // the 42 and the first-directory offset are not used
    TSection& slot = Sections[1];
    slot = TSection();
    slot.Data = ReadUpTo(file, kTiffBufferSize);  // a short file gives a short buffer
    slot.Size = static_cast<int32_t>(slot.Data.size());
    SectionCount = 1;
    ExifSegment = &slot;
    exifObj_ = std::make_unique<TImageInfo>(this, Options);
    exifObj_->TiffFormat = true;
    DataBuffer = slot.Data;
    exifObj_->DataBuffer = slot.Data;
    MotorolaOrder = exifObj_->MotorolaOrder = (mark == "MM");
    exifObj_->ProcessExif(8, kTiffBufferSize - 7);
    exifObj_->Compute35mmFocalLength();
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool TimgData::HasThumbnail() const {
  return HasExifSegment() && exifObj_ && exifObj_->ThumbnailStart > 21 && exifObj_->ThumbnailLength > 256;
}

String TimgData::GetCommentText() const {
  if (!CommentSegment || CommentSegment->Data.size() < 2) return String();
  const String& data = CommentSegment->Data;
  const int length = (static_cast<unsigned char>(data[0]) << 8) | static_cast<unsigned char>(data[1]);
  return data.substr(2, static_cast<size_t>(std::max(length - 2, 0)));
}

// ---- TImageInfo: the store -------------------------------------------------------------

TImageInfo::TImageInfo(TimgData* parent, int options) : Parent(parent), Options(options) {
  LoadTagDescriptions();
}

int TImageInfo::LookupTag(const String& name) const {
  for (size_t i = 0; i < tags_.size(); ++i)
    if (SameText(tags_[i].Name, name)) return static_cast<int>(i);
  return -1;
}

String TImageInfo::LookupTagValue(const String& name) const {
  const int i = LookupTag(name);
  return i < 0 ? String() : tags_[static_cast<size_t>(i)].Data;
}

TTagEntry TImageInfo::GetTag(const String& name) const {
  const int i = LookupTag(name);
  return i < 0 ? TTagEntry() : tags_[static_cast<size_t>(i)];
}

double TImageInfo::GetTagFloat(const String& name) const {
  const TTagEntry entry = GetTag(name);
  return entry.Tag != 0 ? GetNumber(entry.Raw, entry.Format) : 0;
}

int TImageInfo::GetTagInt(const String& name) const { return RoundToInt(GetTagFloat(name)); }

int TImageInfo::AddTag(const TTagEntry& entry) {
  if (entry.Tag != 0) tags_.push_back(entry);
  return static_cast<int>(tags_.size()) - 1;
}

int TImageInfo::AddThumbnailTag(const TTagEntry& entry) {
  if (entry.Tag != 0) thumbnailTags_.push_back(entry);
  return static_cast<int>(thumbnailTags_.size()) - 1;
}

// Maker settings have no tag number of their own; they are stored all the same, since the
// maker-specific list is where they are meant to appear.
void TImageInfo::AddMakerTag(const String& name, const String& text, uint16_t format) {
  if (Options != 4 && Options != 255) return;
  TTagEntry entry;
  entry.Group = 1;
  entry.Name = entry.Desc = name;
  entry.Data = entry.Raw = text;
  entry.Size = static_cast<int32_t>(text.size());
  entry.Format = format;
  tags_.push_back(std::move(entry));
}

namespace {

bool NextInGroup(const std::vector<TTagEntry>& tags, size_t& cursor, int group, TTagEntry& entry) {
  entry = TTagEntry();
  while (cursor < tags.size() && tags[cursor].Group != group) ++cursor;
  if (cursor >= tags.size()) return false;
  entry = tags[cursor++];
  return true;
}

}  // namespace

bool TImageInfo::GetNextTag(int group, TTagEntry& entry) { return NextInGroup(tags_, tagCursor_, group, entry); }

bool TImageInfo::GetNextThumbnailTag(int group, TTagEntry& entry) {
  return NextInGroup(thumbnailTags_, thumbnailCursor_, group, entry);
}

// ---- TImageInfo: value rules -----------------------------------------------------------

uint32_t TImageInfo::GetInteger(const String& bytes) const {
  uint32_t value = 0;
  const size_t n = bytes.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(MotorolaOrder ? bytes[i] : bytes[n - 1 - i]);
    value = (value << 8) | b;
  }
  return value;
}

double TImageInfo::GetNumber(const String& raw, int format) const {
  if (IsIntegerFormat(format)) return static_cast<int32_t>(GetInteger(raw));
  if (IsRationalFormat(format)) {
    if (raw.size() < 8) return 0;
    const auto numerator = static_cast<int32_t>(GetInteger(raw.substr(0, 4)));
    const auto denominator = static_cast<int32_t>(GetInteger(raw.substr(4, 4)));
    return denominator == 0 ? 0 : static_cast<double>(numerator) / denominator;
  }
  return 0;
}

String TImageInfo::FormatNumber(const String& raw, int format, const String& formatText,
                                const String& valueList) const {
  const int bytes = BytesPerFormat(format);
  if (bytes == 0) return "0";
  const size_t count = std::min<size_t>(raw.size() / static_cast<size_t>(bytes), 8);
  String text;
  for (size_t i = 0; i < count; ++i) {
    const String value = raw.substr(i * static_cast<size_t>(bytes), static_cast<size_t>(bytes));
    if (i > 0) text += ValueSeparator;
    if (IsIntegerFormat(format)) {
      const String number = IntToStr(static_cast<int32_t>(GetInteger(value)));
      text += valueList.empty() ? number : LookupValueList(valueList, number);
    } else if (IsRationalFormat(format)) {
      text += IntToStr(static_cast<int32_t>(GetInteger(value.substr(0, 4)))) + "/" +
              IntToStr(static_cast<int32_t>(GetInteger(value.substr(4, 4))));
      if (!valueList.empty()) text += LookupValueList(valueList, text);
    } else if (format == 11 || format == 12) {
      text += "-9999.99";
    } else {
      text += "?";
    }
  }
  if (formatText.empty()) return text;
  if (formatText.find("%s") != String::npos) return ReplaceFirstS(formatText, text);
  return FormatFloatText(formatText, GetNumber(raw, format));
}

String TImageInfo::ValueText(const String& raw, int format, const TTagEntry& row) const {
  String text;
  if (format == 2) {
    // Some writers count no terminator; the last byte goes only when it is one.
    text = raw;
    if (!text.empty() && text.back() == '\0') text.pop_back();
  } else if (format == 7) {
    text = Quoted(raw.substr(0, raw.find('\0')));
  } else {
    text = FormatNumber(raw, format, row.FormatText, row.ValueList);
  }
  if (row.Tag != 0 && row.Callback) return row.Callback(text);
  return MakePrintable(text);
}

int64_t TImageInfo::BufferPosition(uint32_t tiffOffset) const {
  if (!TiffFormat) return 8 + static_cast<int64_t>(tiffOffset);
  if (tiffOffset < 8) throw EExifError("Offset " + IntToStr(tiffOffset) + " points into the TIFF header");
  return static_cast<int64_t>(tiffOffset) - 8;
}

// ---- TImageInfo: directory walks -------------------------------------------------------

void TImageInfo::SetErrStr(const String& text) {
  if (Parent) Parent->ErrStr = text;
}

void TImageInfo::ProcessExif(uint32_t tiffOffset, int64_t limit) {
  visited_.clear();
  try {
    ProcessDirectory(BufferPosition(tiffOffset), dkMain, limit, 0);
  } catch (const EExifError&) {
    SetErrStr("Illegally sized directory");
  }
}

void TImageInfo::ProcessThumbnail() {
  if (ThumbnailStart <= 0) return;
  visited_.clear();
  try {
    ProcessDirectory(BufferPosition(static_cast<uint32_t>(ThumbnailStart)), dkThumbnail, ThumbnailLength - 3, 0);
  } catch (const EExifError&) {
    SetErrStr("Illegally sized directory");
  }
}

void TImageInfo::ProcessDirectory(int64_t position, int kind, int64_t limit, int depth) {
  if (depth > kMaxDirectoryDepth || !visited_.insert(position).second) return;
  const int64_t count = Get16u(position);
  const int64_t entries = position + 2 + 12 * count;
  if (2 + 12 * count > limit || entries > static_cast<int64_t>(DataBuffer.size())) {
    SetErrStr("Illegally sized directory");
    return;
  }
  // The next-directory link of the first main directory is taken as the thumbnail
  // directory; TIFF files keep their images elsewhere.
  if (kind == dkMain && ThumbnailStart == 0 && !TiffFormat && entries + 4 <= static_cast<int64_t>(DataBuffer.size())) {
    ThumbnailStart = static_cast<int>(std::min<uint32_t>(Get32u(entries), std::numeric_limits<int32_t>::max()));
    ThumbnailLength = static_cast<int>(std::clamp<int64_t>(limit - ThumbnailStart, std::numeric_limits<int32_t>::min(),
                                                           std::numeric_limits<int32_t>::max()));
  }
  for (int64_t i = 0; i < count; ++i) {
    try {
      ProcessEntry(position + 2 + 12 * i, kind, limit, depth);
    } catch (const Exception&) {
      // A damaged or undecodable entry costs that entry only.
    }
  }
}

void TImageInfo::ProcessSubDirectory(int64_t valuePosition, int kind, int64_t limit, int depth) {
  try {
    ProcessDirectory(BufferPosition(Get32u(valuePosition)), kind, limit, depth + 1);
  } catch (const Exception&) {
    // A failing sub-directory is skipped; the walk goes on with the next entry.
  }
}

void TImageInfo::ProcessEntry(int64_t entryPosition, int kind, int64_t limit, int depth) {
  const uint16_t tag = Get16u(entryPosition);
  const uint16_t format = Get16u(entryPosition + 2);
  const int64_t count = Get32u(entryPosition + 4);
  const int64_t size = BytesPerFormat(format) * count;  // 64-bit: counts may be hostile
  if (size == 0) return;
  const int64_t valuePosition = size <= 4 ? entryPosition + 8 : BufferPosition(Get32u(entryPosition + 8));
  const String raw = GetBytes(valuePosition, size);
  const auto position = static_cast<int32_t>(valuePosition);

  TTagEntry row = FetchTag(tag, kind);
  String text;
  if (Options == 2 || Options == 255) {
    text = ValueText(raw, format, row);
    if (tag == kTagUserComment) {
      // An 8-byte character code, then the comment; its terminator, when there is one,
      // goes with the trimming, so a comment written without one keeps its last letter.
      const String comment = raw.size() > 8 ? raw.substr(8) : String();
      Comments = Trim(comment);
      text = Comments;
      CommentPosition = position;
      CommentSize = static_cast<int>(comment.size());
    }
  }

  switch (tag) {
    case kTagImageWidth:
    case kTagExifImageWidth:
      WidthPosition = position;
      Width = RoundToInt(GetNumber(raw, format));
      break;
    case kTagImageLength:
    case kTagExifImageLength:
      HeightPosition = position;
      Height = RoundToInt(GetNumber(raw, format));
      break;
    case kTagCompression:
      if (kind == dkThumbnail) ThumbnailCompression = RoundToInt(GetNumber(raw, format));
      break;
    case kTagMake:
      CameraMake = text.substr(0, 32);
      break;
    case kTagModel:
      CameraModel = text.substr(0, 40);
      break;
    case kTagDateTime:
      DateTimePosition = position;
      DateTime = text.substr(0, 20);
      break;
    case kTagDateTimeOriginal:
      DateTimeOriginalPosition = position;
      DateTime = text.substr(0, 20);
      break;
    case kTagDateTimeDigitized:
      DateTimeDigitizedPosition = position;
      break;
    case kTagExifVersion:
      ExifVersion = raw.substr(0, 6);
      break;
    case kTagFlash:
      FlashUsed = RoundToInt(GetNumber(raw, format));
      break;
    case kTagMakerNote: {
      MakerNote = raw;
      MakerNotePosition = position;
      TmsInfo decoder(TiffFormat, this);
      MakerNoteDecoded = decoder.ProcessMakerNote();
      break;
    }
    case kTagSubIFDs:
    case kTagExifOffset:
    case kTagInteroperabilityOffset:
      ProcessSubDirectory(valuePosition, dkMain, limit, depth);
      break;
    case kTagGpsInfo:
      ProcessSubDirectory(valuePosition, dkGps, limit, depth);
      break;
    default:
      break;
  }

  if (Options == 4 || Options == 255) {
    try {
      row.Data = text;
      row.Raw = raw;
      row.Size = static_cast<int32_t>(raw.size());
      row.Position = position;
      row.Format = format;
      if (kind == dkThumbnail) AddThumbnailTag(row);
      else AddTag(row);
    } catch (const Exception&) {
    }
  }
}

// ---- TImageInfo: derived values and summaries ------------------------------------------

void TImageInfo::Compute35mmFocalLength() {
  if (LookupTag("FocalLengthin35mmFilm") >= 0) return;
  int unit = GetTagInt("FocalPlaneResolutionUnit");
  if (unit < 1) unit = GetTagInt("ResolutionUnit");
  const double mmPerUnit = unit == 2 ? 25.4 : unit == 3 ? 10 : 0;
  const double focal = GetTagFloat("FocalLength");
  if (mmPerUnit == 0 || focal == 0) return;
  double width = 0, height = 0;
  if (const int x = GetTagInt("FocalPlaneXResolution"); x > 0) width = Width * mmPerUnit / x;
  if (const int y = GetTagInt("FocalPlaneYResolution"); y > 0) height = Height * mmPerUnit / y;
  if (!(width * height > 0)) return;
  // 43.27 mm is the diagonal of a 36 x 24 mm frame.
  const double focal35 = focal * 43.26661531 / std::sqrt(width * width + height * height);
  for (const TTagEntry& row : TagTable()) {
    if (!SameText(row.Name, "FocalLengthIn35mmFilm")) continue;
    TTagEntry entry = row;
    entry.Data = FormatFloatText("%5.2f", focal35);
    entry.Raw.clear();
    entry.FormatText = "%s mm";
    entry.Format = 10;
    AddTag(entry);
    return;
  }
}

String TImageInfo::ToShortString() const {
  if (!Parent || !Parent->HasExifSegment()) return String();
  const String name = ExtractFileName(Parent->FileName);
  if (Parent->ErrStr != "<none>") return name + " Exif Error: " + Parent->ErrStr;
  String s = name + " " + IntToStr(Parent->FileSize / 1024) + "k " + DateTime.substr(0, 10) + " " +
             IntToStr(Width) + "w " + IntToStr(Height) + "h ";
  if (FlashUsed & 1) s += " Flash";
  return s;
}

String TImageInfo::ToLongString() const {
  if (!Parent || !Parent->HasExifSegment()) return String();
  const String name = ExtractFileName(Parent->FileName);
  if (Parent->ErrStr != "<none>") return "File Name: " + name + "\r\nExif Error: " + Parent->ErrStr;
  std::vector<String> lines = {
      "File Name: " + name,
      "File Size: " + IntToStr(Parent->FileSize / 1024) + "k",
      "File Date: " + FormatDateTime(FormatSettings().ShortDateFormat, Parent->FileDateTime),
      "Photo Date: " + DateTime,
      "Make (Model): " + CameraMake + " (" + CameraModel + ")",
      "Dimensions: " + IntToStr(Width) + " x " + IntToStr(Height),
  };
  if (Options == 2 || Options == 255) {
    String exposure = LookupTagValue("ExposureTime");
    if (exposure.empty()) exposure = LookupTagValue("ShutterSpeedValue");
    const std::pair<const char*, String> values[] = {
        {"Exposure Time: ", exposure},
        {"Focal Length: ", LookupTagValue("FocalLength")},
        {"Focal Length (35mm): ", LookupTagValue("FocalLengthin35mmFilm")},
        {"FNumber: ", LookupTagValue("FNumber")},
        {"ISO: ", LookupTagValue("ISOSpeedRatings")},
    };
    for (const auto& [label, value] : values)
      if (!value.empty()) lines.push_back(label + value);
  }
  lines.push_back(String("Flash: ") + ((FlashUsed & 1) ? "Yes" : "No"));
  String text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}
