// The vocabulary of the EXIF reader: tag tables, display names, value lists, value
// decoders and the text rules that the directory walks share.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/sysutils.h"

// Turns the value text of a tag into the text users see; raises EConvertError when the
// text is not what it expects.
using TTagCallback = String (*)(const String& text);

// One decoded tag (and one row of a tag table).
struct TTagEntry {
  int32_t Group = 0;    // 0 EXIF, TIFF, GPS and thumbnail tags; 1 maker-note tags
  uint16_t Format = 0;  // TIFF field type 1..12
  uint16_t Record = 0;  // IPTC record number; 0 for EXIF
  uint16_t Tag = 0;
  String Name;
  String Desc;
  String ValueList;
  String Data;
  String Raw;
  int32_t Position = 0;  // where the value starts in the reader's buffer
  String FormatText;
  int32_t Size = 0;  // byte length of Raw
  TTagCallback Callback = nullptr;
};

// Directory kinds of a walk.
enum TDirectoryKind : int { dkMain = 1, dkGps = 2, dkThumbnail = 4 };

constexpr const char* ValueSeparator = ", ";
constexpr const char* NameValueSeparator = " = ";

// The EXIF/TIFF table (250 rows and the terminating "Unknown" row) and the GPS table
// (31 rows), display names filled. Built once per process, safe from any thread.
const std::vector<TTagEntry>& TagTable();
const std::vector<TTagEntry>& GpsTagTable();
// Forces the one-time filling of the display names.
void LoadTagDescriptions();

// The row of `tag` for a walk of `kind`; the default "Unknown" entry (tag 0) when none.
TTagEntry FetchTag(uint16_t tag, int kind);
// Bytes per value of TIFF field types 0..12; 0 for any other.
int BytesPerFormat(int format);
bool IsIntegerFormat(int format);
bool IsRationalFormat(int format);

String SplitCamelCase(const String& name);
String LookupValueList(const String& list, const String& key);
String MakePrintable(const String& text);
double ParseRational(const String& text);

// A number with a one-conversion printf-style format ("%5.2f", "F%0.1f", "%4.4f sec"),
// always with "." as the decimal separator.
String FormatFloatText(const String& format, double value);
// The text between double quotes.
String Quoted(const String& text);
// `text` put in place of the first "%s" of `format`.
String ReplaceFirstS(const String& format, const String& text);

// Value decoders of the tables.
String DecodeComponents(const String& text);
String DecodeExposureTime(const String& text);
String DecodeFlash(const String& text);
String DecodeUserComment(const String& text);
String DecodeWindowsText(const String& text);
String DecodeGpsAngle(const String& text);
String DecodeGpsTime(const String& text);
