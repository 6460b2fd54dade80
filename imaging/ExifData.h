// The EXIF reader: finds the metadata of a JPEG or TIFF-based file and keeps every
// decoded tag. A reader belongs to one thread at a time; readers on several threads share
// nothing but the constant tag tables.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/lists.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "imaging/ExifTags.h"

class TIPTCdata;
class TImageInfo;

// A read outside the data buffer: the data are damaged or hostile.
class EExifError : public Exception {
 public:
  using Exception::Exception;
};

// Reads 16- and 32-bit numbers from a byte buffer in either byte order. Every read of
// the buffer goes through Check, so no offset taken from the data can reach past it.
class tEndInd : public TObject {
 public:
  bool MotorolaOrder = false;  // "MM", big-endian
  String DataBuffer;

  uint16_t Get16u(int64_t position) const;
  uint32_t Get32u(int64_t position) const;
  int32_t Get32s(int64_t position) const { return static_cast<int32_t>(Get32u(position)); }
  // `count` bytes from `position`, fewer at the end of the buffer; raises when `position`
  // is not inside the buffer.
  String GetBytes(int64_t position, int64_t count) const;

 protected:
  void Check(int64_t position, int64_t count) const;
};

struct TSection {
  String Data;  // begins with the two length bytes
  uint8_t Marker = 0;
  int32_t Size = 0;  // the declared length
};

class TimgData : public tEndInd {
 public:
  explicit TimgData(int options = 255);
  ~TimgData() override;
  TimgData(const TimgData&) = delete;
  TimgData& operator=(const TimgData&) = delete;

  // Never raises; the outcome is the result and ErrStr.
  bool ReadMetadata(const String& fileName);
  // The same over data already at hand: `extension` (".jpg", ".tif", ...) says how to read
  // it; the file's name, date and size stay empty.
  bool ReadMetadata(TStream& data, const String& extension);

  bool HasExifSegment() const { return ExifSegment != nullptr; }
  bool HasMetaData() const { return ExifSegment || IptcSegment || CommentSegment; }
  bool HasThumbnail() const;
  String GetCommentText() const;

  TImageInfo* ExifObj() const { return exifObj_.get(); }
  TIPTCdata* IptcObj() const { return iptcObj_.get(); }

  String ErrStr;
  String FileName;
  TDateTime FileDateTime = 0;
  int32_t FileSize = 0;
  int Options;
  bool TiffFormat = false;

  // Slots 1..20; slot 0 is never filled.
  std::array<TSection, 21> Sections;
  int SectionCount = 0;
  const TSection* ExifSegment = nullptr;
  const TSection* IptcSegment = nullptr;
  const TSection* CommentSegment = nullptr;
  const TSection* HeaderSegment = nullptr;

 private:
  void Reset();
  bool ReadSections(TStream& data, bool jpeg);
  bool ReadJpegSections(TStream& file);
  bool ReadTiffFile(TStream& file);
  void ProcessExifSegment(const TSection& section);

  std::unique_ptr<TImageInfo> exifObj_;
  std::unique_ptr<TIPTCdata> iptcObj_;
};

// The tag store of one EXIF data block; also walks its directories.
class TImageInfo : public tEndInd {
 public:
  TImageInfo(TimgData* parent, int options);

  virtual int LookupTag(const String& name) const;
  virtual String LookupTagValue(const String& name) const;
  TTagEntry GetTag(const String& name) const;
  double GetTagFloat(const String& name) const;
  int GetTagInt(const String& name) const;

  int AddTag(const TTagEntry& entry);
  int AddThumbnailTag(const TTagEntry& entry);
  void AddMakerTag(const String& name, const String& text, uint16_t format);

  void ResetTagIterator() { tagCursor_ = 0; }
  bool GetNextTag(int group, TTagEntry& entry);
  void ResetThumbnailTagIterator() { thumbnailCursor_ = 0; }
  bool GetNextThumbnailTag(int group, TTagEntry& entry);

  const std::vector<TTagEntry>& Tags() const { return tags_; }
  const std::vector<TTagEntry>& ThumbnailTags() const { return thumbnailTags_; }

  // Walks the first directory (at TIFF offset `tiffOffset`) of the data block.
  void ProcessExif(uint32_t tiffOffset, int64_t limit);
  void ProcessThumbnail();
  void Compute35mmFocalLength();

  String ToShortString() const;
  String ToLongString() const;

  // Value rules that read numbers in this store's byte order.
  String FormatNumber(const String& raw, int format, const String& formatText, const String& valueList) const;
  double GetNumber(const String& raw, int format) const;
  uint32_t GetInteger(const String& bytes) const;
  // Buffer position of a TIFF offset: the TIFF header is at byte 8 of an APP1 section,
  // while a TIFF file's buffer starts at its byte 8. Raises for offsets inside the header.
  int64_t BufferPosition(uint32_t tiffOffset) const;

  TimgData* Parent;
  int Options;
  bool TiffFormat = false;

  String ExifVersion, CameraMake, CameraModel, DateTime;
  int Width = 0, Height = 0, WidthPosition = 0, HeightPosition = 0;
  int FlashUsed = 0;
  String MakerNote;
  int MakerNotePosition = 0;
  bool MakerNoteDecoded = false;
  String Comments;
  int CommentPosition = 0, CommentSize = 0;
  int DateTimePosition = 0, DateTimeOriginalPosition = 0, DateTimeDigitizedPosition = 0;
  int ThumbnailStart = 0, ThumbnailLength = 0, ThumbnailCompression = 0;

 private:
  void ProcessDirectory(int64_t position, int kind, int64_t limit, int depth);
  void ProcessEntry(int64_t entryPosition, int kind, int64_t limit, int depth);
  void ProcessSubDirectory(int64_t valuePosition, int kind, int64_t limit, int depth);
  String ValueText(const String& raw, int format, const TTagEntry& row) const;
  void SetErrStr(const String& text);

  std::vector<TTagEntry> tags_;
  std::vector<TTagEntry> thumbnailTags_;
  size_t tagCursor_ = 0;
  size_t thumbnailCursor_ = 0;
  std::set<int64_t> visited_;  // directories of the current walk, against loops
};

// Rounded to the nearest integer, halves to even, clamped to the 32-bit range.
int RoundToInt(double value);
