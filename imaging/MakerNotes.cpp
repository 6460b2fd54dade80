// Maker-note tables and the Canon setting decoders.
#include "imaging/MakerNotes.h"

#include <iterator>

#include "imaging/ExifData.h"
#include "imaging/TextFields.h"

namespace {

constexpr TMakerRow kNikonOldRows[] = {
    {2, "FamilyID", "FamilyID", "", mdNone},
    {3, "Quality", "Quality", "1:Vga Basic,2:Vga Normal,3:Vga Fine,4:SXGA Basic,5:SXGA Normal,6:SXGA Fine10:2 Mpixel Basic,11:2 Mpixel Normal,12:2 Mpixel Fine", mdNone},
    {4, "ColorMode", "ColorMode", "1:Color,2:Monochrome", mdNone},
    {5, "ImageAdjustment", "ImageAdjustment", "0:Normal,1:Bright+,2:Bright-,3:Contrast+,4:Contrast-", mdNone},
    {6, "ISOSpeed", "ISOSpeed", "0:ISO80,2:ISO160,4:ISO320,5:ISO100", mdNone},
    {7, "WhiteBalance", "WhiteBalance", "0:Auto,1:Preset,2:Daylight,3:Incandescense,4:Fluorescence,5:Cloudy,6:SpeedLight", mdNone},
    {8, "Focus", "Focus", "", mdNone},
    {9, "Skip", "Skip", "", mdNone},
    {10, "DigitalZoom", "DigitalZoom", "", mdNone},
    {11, "Converter", "Converter", "0:Not used,1:Used", mdNone},
    {3840, "Skip", "Skip", "", mdNone},
};
static_assert(std::size(kNikonOldRows) == 11);

constexpr TMakerRow kNikonRows[] = {
    {1, "FamilyID", "Family ID", "", mdNone},
    {2, "ISOSpeed", "ISO Speed", "", mdNone},
    {3, "ColorMode", "Color Mode", "", mdNone},
    {4, "Quality", "Quality", "", mdNone},
    {5, "WhiteBalance", "White Balance", "", mdNone},
    {6, "ImageSharpening", "Image Sharpening", "", mdNone},
    {7, "FocusMode", "Focus Mode", "", mdNone},
    {8, "FlashSetting", "Flash Setting", "", mdNone},
    {9, "AutoFlashMode", "Auto Flash Mode", "", mdNone},
    {10, "Skip", "Skip", "", mdNone},
    {11, "WhiteBiasValue", "White Bias Value", "", mdNone},
    {15, "DigitalZoom", "Digital Zoom", "", mdNone},
    {16, "Skip", "Skip", "", mdNone},
    {17, "Skip", "Skip", "", mdNone},
    {128, "ImageAdjustment", "Image Adjustment", "", mdNone},
    {129, "ImageAdjustment", "Image Adjustment", "", mdNone},
    {130, "Adapter", "Adapter", "", mdNone},
    {132, "LensInformation", "Lens information", "", mdNone},
    {133, "ManualFocusDistance", "Manual Focus Distance", "", mdNone},
    {134, "DigitalZoom", "Digital Zoom", "", mdNone},
    {136, "FocusArea", "Focus Area", "", mdNone},
    {137, "Mode", "Mode", "", mdNone},
    {141, "ColorMode", "Color Mode", "", mdNone},
    {143, "SceneMode", "Scene Mode", "", mdNone},
    {146, "HueAdjustment", "Hue Adjustment", "", mdNone},
    {148, "Saturation", "Saturation", "", mdNone},
    {149, "NoiseReduction", "Noise Reduction", "", mdNone},
    {3840, "Skip", "Skip", "", mdNone},
};
static_assert(std::size(kNikonRows) == 28);

constexpr TMakerRow kOlympusRows[] = {
    {512, "SpecialMode", "SpecialMode", "", mdNone},
    {513, "JpegQual", "JpegQual", "1:SQ,2:HQ,3:SHQ,4:Raw", mdNone},
    {514, "Macro", "Macro", "0=Normal,1:Macro;", mdNone},
    {515, "Skip", "Skip", "", mdNone},
    {516, "DigiZoom", "Digital Zoom Ratio", "", mdNone},
    {517, "Skip", "Skip", "", mdNone},
    {518, "Skip", "Skip", "", mdNone},
    {519, "Firmware", "Firmware", "", mdNone},
    {520, "PictInfo", "Picture Info", "", mdNone},
    {521, "CameraID", "Camera ID", "", mdNone},
    {3840, "Skip", "Skip", "", mdNone},
    {4100, "FlashMode", "Flash Mode", "", mdNone},
    {4102, "Bracket", "Bracket", "", mdNone},
    {4107, "FocusMode", "Focus Mode", "", mdNone},
    {4108, "FocusDistance", "Focus Distance", "", mdNone},
    {4109, "Zoom", "Zoom", "", mdNone},
    {4110, "MacroFocus", "Macro Focus", "", mdNone},
    {4111, "Sharpness", "Sharpness", "", mdNone},
    {4113, "ColorMatrix", "Color Matrix", "", mdNone},
    {4114, "BlackLevel", "Black Level", "", mdNone},
    {4117, "WhiteBalance", "White Balance", "", mdNone},
    {4119, "RedBias", "Red Bias", "", mdNone},
    {4120, "BlueBias", "Blue Bias", "", mdNone},
    {4122, "SerialNumber", "SerialNumber", "", mdNone},
    {4131, "FlashBias", "Flash Bias", "", mdNone},
    {4137, "Contrast", "Contrast", "", mdNone},
    {4138, "SharpnessFactor", "Sharpness Factor", "", mdNone},
    {4139, "ColorControl", "Color Control", "", mdNone},
    {4140, "ValidBits", "Valid Bits", "", mdNone},
    {4141, "Coring", "Coring Filter", "", mdNone},
    {4142, "FinalWidth", "Final Width", "", mdNone},
    {4143, "FinalHeight", "Final Height", "", mdNone},
    {4148, "CompressionRatio", "Compression Ratio", "", mdNone},
};
static_assert(std::size(kOlympusRows) == 33);

constexpr TMakerRow kCasioRows[] = {
    {1, "RecordingMode", "RecordingMode", "1:Single Shutter,2:Panorama,3:Night Scene,4:Portrait,5:Landscape", mdNone},
    {2, "Quality", "Quality", "1:Economy,2:Normal,3:Fine", mdNone},
    {3, "FocusingMode", "FocusingMode", "2:Macro,3:Auto Focus,4:Manual Focus,5:Infinity", mdNone},
    {4, "FlashMode", "FlashMode", "1:Auto,2:On,3:Off,4:Red Eye Reduction", mdNone},
    {5, "FlashIntensity", "FlashIntensity", "11:Weak,13:Normal,15:Strong", mdNone},
    {6, "ObjectDistance", "ObjectDistance", "", mdNone},
    {7, "WhiteBalance", "WhiteBalance", "1:Auto,2:Tungsten,3:Daylight,4:Fluorescent,5:Shade,129:Manual", mdNone},
    {8, "Skip", "Skip", "", mdNone},
    {9, "Skip", "Skip", "", mdNone},
    {10, "DigitalZoom", "DigitalZoom", "65536:Off,65537:2X Digital Zoom", mdNone},
    {11, "Sharpness", "Sharpness", "0:Normal,1:Soft,2:Hard", mdNone},
    {12, "Contrast", "Contrast", "0:Normal,1:Low,2:High", mdNone},
    {13, "Saturation", "Saturation", "0:Normal,1:Low,2:High", mdNone},
    {14, "Skip", "Skip", "", mdNone},
    {15, "Skip", "Skip", "", mdNone},
    {16, "Skip", "Skip", "", mdNone},
    {17, "Skip", "Skip", "", mdNone},
    {18, "Skip", "Skip", "", mdNone},
    {19, "Skip", "Skip", "", mdNone},
    {20, "CCDSensitivity", "CCDSensitivity", "64:Normal,125:+1.0,250:+2.0,244:+3.0,80:Normal,100:High", mdNone},
    {21, "Skip", "Skip", "", mdNone},
    {22, "Skip", "Skip", "", mdNone},
    {23, "Skip", "Skip", "", mdNone},
    {24, "Skip", "Skip", "", mdNone},
    {25, "Skip", "Skip", "", mdNone},
    {26, "Skip", "Skip", "", mdNone},
};
static_assert(std::size(kCasioRows) == 26);

constexpr TMakerRow kFujiRows[] = {
    {0, "Version", "Version", "", mdNone},
    {4096, "Quality", "Quality", "", mdNone},
    {4097, "Sharpness", "Sharpness", "1:Soft,2:Soft,3:Normal,4:Hard,5:Hard", mdNone},
    {4098, "WhiteBalance", "WhiteBalance", "0:Auto,256:Daylight,512:Cloudy,768:DaylightColor-fluorescence,769:DaywhiteColor-fluorescence,770:White-fluorescence,1024:Incandenscense,3840:Custom white balance.", mdNone},
    {4099, "Color", "Color", "0:Normal,256:High,512:Low", mdNone},
    {4100, "Tone", "Tone", "0:Normal,256:High,512:Low", mdNone},
    {4112, "FlashMode", "FlashMode", "0:Auto,1:On,2:Off,3:Red-eye reduction", mdNone},
    {4113, "FlashStrength", "FlashStrength", "", mdNone},
    {4128, "Macro", "Macro", "0:Off,1:On", mdNone},
    {4129, "Focusmode", "Focusmode", "0:Auto Focus,1:Manual Focus", mdNone},
    {4144, "SlowSync", "SlowSync", "0:Off,1:On", mdNone},
    {4145, "PictureMode", "PictureMode", "0:Auto,1:Portrait scene,2:Landscape scene,4:Sports scene,5:Night scene,6:Program AE,256:Aperture prior AE,512:Shutter prior AE,768:Manual exposure", mdNone},
    {4146, "Skip", "Skip", "", mdNone},
    {4352, "ContTake/Bracket", "ContTake/Bracket", "0:Off,1:On", mdNone},
    {4608, "Skip", "Skip", "", mdNone},
    {4864, "BlurWarning", "BlurWarning", "0:No blur warning,1:Blur warning", mdNone},
    {4865, "FocusWarning", "FocusWarning", "0:Auto Focus good,1:Out of focus", mdNone},
    {4866, "AEWarning", "AEWarning", "0:AE good,1:Over exposure", mdNone},
};
static_assert(std::size(kFujiRows) == 18);

constexpr TMakerRow kCanonRows[] = {
    {0, "Skip", "Skip", "", mdNone},
    {1, "ExposureInfo1", "ExposureInfo1", "", mdCanonSettings1},
    {2, "Skip", "Skip", "", mdNone},
    {3, "Skip", "Skip", "", mdNone},
    {4, "ExposureInfo2", "ExposureInfo2", "", mdCanonSettings2},
    {6, "ImageType", "ImageType", "", mdNone},
    {7, "FirmwareVersion", "FirmwareVersion", "", mdNone},
    {8, "ImageNumber", "ImageNumber", "", mdNone},
    {9, "OwnerName", "OwnerName", "", mdNone},
    {10, "Skip", "Skip", "", mdNone},
    {11, "Skip", "Skip", "", mdNone},
    {12, "CameraSerialNumber", "CameraSerialNumber", "", mdNone},
    {13, "Skip", "Skip", "", mdNone},
    {14, "Skip", "Skip", "", mdNone},
    {15, "CustomFunctions", "CustomFunctions", "", mdCanonCustomFunctions},
    {16, "Skip", "Skip", "", mdNone},
};
static_assert(std::size(kCanonRows) == 16);

constexpr TMakerRow kSeikoRows[] = {
    {512, "Special Mode", "Special Mode", "", mdNone},
    {513, "JpegQuality", "JpegQuality", "", mdNone},
    {514, "Macro", "Macro", "", mdNone},
    {515, "Skip", "Skip", "", mdNone},
    {516, "DigiZoom", "DigiZoom", "", mdNone},
    {521, "CameraID", "CameraID", "", mdNone},
    {522, "Comments", "Comments", "", mdNone},
    {523, "Width", "Width", "", mdNone},
    {524, "Height", "Height", "", mdNone},
    {525, "SoftRelease", "SoftRelease", "", mdNone},
    {768, "??", "??", "", mdNone},
    {3840, "skip", "skip", "", mdNone},
};
static_assert(std::size(kSeikoRows) == 12);

constexpr TMakerRow kSanyoRows[] = {
    {512, "Special Mode", "Special Mode", "", mdNone},
    {513, "JpegQuality", "JpegQuality", "", mdNone},
    {514, "Macro", "Macro", "", mdNone},
    {515, "Skip", "Skip", "", mdNone},
    {516, "DigiZoom", "DigiZoom", "", mdNone},
    {3840, "DataDump", "DataDump", "", mdNone},
};
static_assert(std::size(kSanyoRows) == 6);

constexpr TMakerRow kMinoltaRows[] = {
    {0, "ModelID", "ModelID", "", mdNone},
    {3584, "PIMdata", "PIMdata", "", mdNone},
};
static_assert(std::size(kMinoltaRows) == 2);

// Canon camera settings: one value each, by position in the tag's values.
enum TSettingKind { skList, skRaw };
struct TCanonSetting {
  const char* Name;
  TSettingKind Kind;
  int N;
  const char* List;
};

constexpr const char* kLowNormalHigh = "65535:Low,0:Normal,1:High";

constexpr TCanonSetting kCanonSettings1[] = {
    {"Macro mode", skList, 1, "1:Macro,2:Normal"},
    {"Self Timer", skRaw, 2, ""},
    {"Compression Rate", skList, 3, "0:SuperFine,1:Fine,2:Normal,3:Basic,5:SuperFine"},
    {"Flash Mode", skList, 4,
     "0:Not fired,1:Auto,2:On,3:Red-eye,4:Slow sync,5:Auto+red-eye,6:On+red eye,16:External flash"},
    {"Drive Mode", skList, 5, "0:Single,1:Continuous"},
    {"Focus Mode", skList, 7, "0:One-Shot,1:AI Servo,2:AI Focus,3:MF,4:Single,5:Continuous,6:MF"},
    {"Image Size", skList, 10, "0:Large,1:Medium,2:Small,4:5MPixel,5:2 MPixel,6:1.5 MPixel"},
    {"Easy Shoot", skList, 11,
     "0:Full Auto,1:Manual,2:Landscape,3:Fast Shutter,4:Slow Shutter,5:Night,6:B&W,7:Sepia,8:Portrait,9:Sports,"
     "10:Macro/Close-Up,11:Pan Focus"},
    {"Contrast", skList, 13, kLowNormalHigh},
    {"Saturation", skList, 14, kLowNormalHigh},
    {"Sharpness", skList, 15, kLowNormalHigh},
    {"CCD ISO", skList, 16, "0:Not used,15:auto,16:50,17:100,18:200,19:400"},
    {"Metering Mode", skList, 17, kLowNormalHigh},
    {"AF Point", skList, 19, kLowNormalHigh},
    {"Exposure Mode", skList, 20, kLowNormalHigh},
    {"Long focal", skRaw, 24, ""},
    {"Short focal", skRaw, 25, ""},
    {"Focal Units", skRaw, 26, ""},
    {"Flash Details", skRaw, 29, ""},
    {"Focus Mode", skList, 32, kLowNormalHigh},
};

constexpr TCanonSetting kCanonSettings2[] = {
    {"White balance", skList, 7, "0:Auto,1:Sunny,2:Cloudy,3:Tungsten,4:Flourescent,5:Flash,6:Custom"},
    {"Sequence Number", skRaw, 9, ""},
    {"OpticalZoom Step", skRaw, 11, ""},
    {"AF point", skRaw, 14, ""},
    {"Flash bias", skList, 15,
     "65472:-2 EV,65484:-1.67 EV,65488:-1.50 EV,65492:-1.33 EV,65504:-1 EV,65516:-0.67 EV,65520:-0.50 EV,"
     "65524:-0.33 EV,0:0 EV,12:0.33 EV,16:0.50 EV,20:0.67 EV,32:1 EV,44:1.33 EV,48:1.50 EV,52:1.67 EV,64:2 EV"},
    {"Distance", skRaw, 19, ""},
};

struct TCustomFunction {
  const char* Name;
  const char* List;
};

// Canon custom functions 1..15.
constexpr TCustomFunction kCanonCustomFunctions[] = {
    {"Noise Reduction", "0: Off,1: On"},
    {"Shutter AE Lock Button", "0:AF/AE lock,1:AE lock/AF,2:AF/AF lock,3:AE+release/AE+AF"},
    {"Mirror Lockup", "0:Disable,1:Enable"},
    {"Exposure Level", "0:1/2 stop,1:1/3 stop"},
    {"AF Assist", "0:On (auto),1:Off"},
    {"AV Shutter Speed", "0:Automatic,1: 1/200 (fixed)"},
    {"AEB Sequence", "0:0, -, + / Enabled1: 0, -, + / Disabled,2: -, 0, + / Enabled,3: -, 0, + / Disabled"},
    {"Shutter Sync", "0:1st-curtain sync,1: 2nd-curtain sync"},
    {"Lens AF Button", "0:AF stop,1:Operate AF,2:Lock AE and start timer"},
    {"Fill Flash Reduction", "0:Enable,1:Disable"},
    {"Menu Return", "0:Top,1:Previous (volatile),2:Previous"},
    {"Set Button", "0:Not assigned,1:Change quality,2:Change ISO speed,3:Select parameters"},
    {"Sensor Cleaning", "0:Disable,1:Enable"},
    {"Superimposed Display", "0: On,1: Off"},
    {"Shutter Release w/o CF Card", "0:Enable,1:Disable"},
};
static_assert(std::size(kCanonCustomFunctions) == 15);

// The error text of an entry whose value the data does not hold.
String MakerEntrySkipped(uint16_t tag, const String& why) { return "Maker note tag " + IntToStr(tag) + " skipped: " + why; }

// Puts the store into another byte order for one walk and restores it on every path.
class ByteOrderScope {
 public:
  ByteOrderScope(TImageInfo& store, bool motorola) : store_(store), saved_(store.MotorolaOrder) {
    store_.MotorolaOrder = motorola;
  }
  ~ByteOrderScope() { store_.MotorolaOrder = saved_; }
  ByteOrderScope(const ByteOrderScope&) = delete;
  ByteOrderScope& operator=(const ByteOrderScope&) = delete;

 private:
  TImageInfo& store_;
  bool saved_;
};

}  // namespace

std::span<const TMakerRow> MakerTable(TMakerTable table) {
  switch (table) {
    case mtNikonOld: return kNikonOldRows;
    case mtNikon: return kNikonRows;
    case mtOlympus: return kOlympusRows;
    case mtCasio: return kCasioRows;
    case mtFuji: return kFujiRows;
    case mtCanon: return kCanonRows;
    case mtSeiko: return kSeikoRows;
    case mtSanyo: return kSanyoRows;
    case mtMinolta: return kMinoltaRows;
  }
  return {};
}

bool TmsInfo::ProcessMakerNote() {
  TImageInfo& store = *Store;
  const String make = UpperCase(store.CameraMake.substr(0, 5));
  const String& note = store.MakerNote;
  const int64_t notePosition = store.MakerNotePosition;
  // Offsets that count from the TIFF header are translated by the reader's own rule.
  const int64_t tiffBase = TiffFormat ? -8 : 8;

  if (make == "NIKON") {
    const String& model = store.CameraModel;
    const size_t blank = model.find(' ');
    const size_t at = blank == String::npos ? 0 : blank + 1;
    const bool newer = store.ExifVersion > "0210" ||
                       (store.ExifVersion.empty() && TiffFormat && at < model.size() && model[at] == 'D');
    if (newer) ProcessMakerNoteDirectory(MakerTable(mtNikon), 18, notePosition + 10);
    else if (note.compare(0, 5, "Nikon") == 0) ProcessMakerNoteDirectory(MakerTable(mtNikonOld), 8, tiffBase);
    else ProcessMakerNoteDirectory(MakerTable(mtNikon), 0, tiffBase);
  } else if (make == "OLYMP") {
    ProcessMakerNoteDirectory(MakerTable(mtOlympus), 8, tiffBase);
  } else if (make == "CASIO") {
    ProcessMakerNoteDirectory(MakerTable(mtCasio), 0, tiffBase);
  } else if (make == "FUJIF") {
    // Fuji writes its maker note little-endian whatever the file's byte order.
    ByteOrderScope order(store, false);
    ProcessMakerNoteDirectory(MakerTable(mtFuji), 12, notePosition);
  } else if (make == "CANON") {
    ProcessMakerNoteDirectory(MakerTable(mtCanon), 0, tiffBase);
  } else if (make == "SEIKO") {
    ProcessMakerNoteDirectory(MakerTable(mtSeiko), 8, tiffBase);
  } else if (make == "SANYO") {
    ProcessMakerNoteDirectory(MakerTable(mtSanyo), 8, tiffBase);
  } else if (make == "MINOL") {
    ProcessMakerNoteDirectory(MakerTable(mtMinolta), 0, tiffBase);
  } else {
    return false;
  }
  return true;
}

void TmsInfo::ProcessMakerNoteDirectory(std::span<const TMakerRow> table, int64_t start, int64_t offsetBase) {
  TImageInfo& store = *Store;
  // The directory is read from the maker note alone; values that lie elsewhere are read
  // from the reader's buffer, both through the bounds-checked readers.
  tEndInd note;
  note.DataBuffer = store.MakerNote;
  note.MotorolaOrder = store.MotorolaOrder;
  try {
    const int64_t count = note.Get16u(start);
    for (int64_t i = 0; i < count; ++i) {
      const int64_t entry = start + 2 + 12 * i;
      const uint16_t tag = note.Get16u(entry);
      const uint16_t format = note.Get16u(entry + 2);
      const int64_t size = BytesPerFormat(format) * static_cast<int64_t>(note.Get32u(entry + 4));
      // Entries lie in order, so one the note cannot hold ends the walk; a value that lies
      // outside the data costs its own entry only.
      const bool inlineValue = size <= 4;
      const int64_t position = inlineValue ? store.MakerNotePosition + entry + 8 : offsetBase + note.Get32u(entry + 8);
      // Only entries of the table that are listed are read: a value of any other entry
      // may lie anywhere without anything being lost.
      const TMakerRow* row = nullptr;
      for (const TMakerRow& r : table)
        if (r.Tag == tag) {
          row = &r;
          break;
        }
      if (!row || SameText(row->Desc, "Skip")) continue;
      if (store.Options != 4 && store.Options != 255) continue;
      String raw;
      try {
        raw = inlineValue ? note.GetBytes(entry + 8, size) : store.GetBytes(position, size);
      } catch (const EExifError& e) {
        // The picture does not read as clean for it.
        if (store.Parent) store.Parent->ErrStr = MakerEntrySkipped(tag, e.Message);
        continue;
      }

      String text;
      try {
        if (format == 2) text = Quoted(raw.substr(0, raw.find('\0')));
        else if (format == 7) text = Quoted(raw);
        else text = store.FormatNumber(raw, format, String(), row->ValueList);
      } catch (const Exception&) {
        text = Quoted(raw);
      }
      Decode(row->Decoder, text);

      TTagEntry added;
      added.Group = 1;
      added.Tag = row->Tag;
      added.Name = row->Name;
      added.Desc = row->Desc;
      added.ValueList = row->ValueList;
      added.Data = text;
      added.Raw = raw;
      added.Size = static_cast<int32_t>(raw.size());
      added.Position = static_cast<int32_t>(position);
      added.Format = format;
      try {
        store.AddTag(added);
      } catch (const Exception&) {
      }
    }
  } catch (const Exception& e) {
    if (store.Parent) store.Parent->ErrStr = "Error Detected = " + e.Message;
  }
}

void TmsInfo::Decode(TMakerDecoder decoder, const String& text) {
  switch (decoder) {
    case mdCanonSettings1: DecodeCanonSettings1(text); break;
    case mdCanonSettings2: DecodeCanonSettings2(text); break;
    case mdCanonCustomFunctions: DecodeCanonCustomFunctions(text); break;
    case mdNone: break;
  }
}

void TmsInfo::AddSetting(const String& name, const String& text) {
  if (!Trim(text).empty()) Store->AddMakerTag(name, text, 2);
}

void TmsInfo::ListSetting(const String& name, const String& text, int n, const char* list) {
  AddSetting(name, LookupValueList(list, GetNthField(text, ",", n + 1)));
}

void TmsInfo::RawSetting(const String& name, const String& text, int n) {
  AddSetting(name, GetNthField(text, ",", n));
}

void TmsInfo::DecodeCanonSettings1(const String& text) {
  for (const TCanonSetting& s : kCanonSettings1)
    s.Kind == skList ? ListSetting(s.Name, text, s.N, s.List) : RawSetting(s.Name, text, s.N);
}

void TmsInfo::DecodeCanonSettings2(const String& text) {
  for (const TCanonSetting& s : kCanonSettings2)
    s.Kind == skList ? ListSetting(s.Name, text, s.N, s.List) : RawSetting(s.Name, text, s.N);
}

// Each value holds a function number in its high byte and the function's setting in its low.
void TmsInfo::DecodeCanonCustomFunctions(const String& text) {
  const int fields = CountSeparators(text, ",");
  for (int i = 1; i <= fields; ++i) {
    int v;
    if (!TryStrToInt(GetNthField(text, ",", i), v)) continue;
    const int function = v / 256;
    if (function < 1 || function > 15) continue;
    const TCustomFunction& f = kCanonCustomFunctions[function - 1];
    AddSetting(f.Name, LookupValueList(f.List, IntToStr(v % 256)));
  }
}
