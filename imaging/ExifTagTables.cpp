// The EXIF/TIFF and GPS tag tables. The names and lists are the program's own texts,
// spelling included ("GrayReponseUnit", "GPSDestBearingkRef").
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "imaging/ExifTags.h"

namespace {

struct TTagRow {
  uint16_t Tag;
  const char* Name;
  const char* Desc;  // empty: made from the name
  const char* ValueList;
  const char* FormatText;
  TTagCallback Callback;
};

constexpr TTagRow kTagRows[] = {
    {1, "InteroperabilityIndex", "", "", "", nullptr},
    {2, "InteroperabilityVersion", "", "", "", nullptr},
    {11, "ACDComment", "", "", "", nullptr},
    {254, "NewSubfileType", "", "", "", nullptr},
    {255, "SubfileType", "", "", "", nullptr},
    {256, "ImageWidth", "", "", "", nullptr},
    {257, "ImageLength", "", "", "", nullptr},
    {258, "BitsPerSample", "", "", "", nullptr},
    {259, "Compression", "", "6:Jpeg,3:Uncompressed,1:TIFF", "", nullptr},
    {262, "PhotometricInterpretation", "", "1:Monochrome, 2:RGB, 6:YCbCr", "", nullptr},
    {266, "FillOrder", "", "", "", nullptr},
    {269, "DocumentName", "", "", "", nullptr},
    {270, "ImageDescription", "", "", "", nullptr},
    {271, "Make", "", "", "", nullptr},
    {272, "Model", "", "", "", nullptr},
    {273, "StripOffsets", "", "", "", nullptr},
    {274, "Orientation", "", "1:Normal,3:Rotated 180\xB0" ",6:CounterClockwise 90\xB0" ",8:Clockwise 90\xB0" "", "", nullptr},
    {277, "SamplesPerPixel", "", "", "", nullptr},
    {278, "RowsPerStrip", "", "", "", nullptr},
    {279, "StripByteCounts", "", "", "", nullptr},
    {280, "MinSampleValue", "", "", "", nullptr},
    {281, "MaxSampleValue", "", "", "", nullptr},
    {282, "XResolution", "", "", "%5.2f", nullptr},
    {283, "YResolution", "", "", "%5.2f", nullptr},
    {284, "PlanarConfiguration", "", "", "", nullptr},
    {285, "PageName", "", "", "", nullptr},
    {286, "XPosition", "", "", "", nullptr},
    {287, "YPosition", "", "", "", nullptr},
    {288, "FreeOffsets", "", "", "", nullptr},
    {289, "FreeByteCounts", "", "", "", nullptr},
    {290, "GrayReponseUnit", "", "", "", nullptr},
    {291, "GrayReponseCurve", "", "", "", nullptr},
    {292, "T4Options", "", "", "", nullptr},
    {293, "T6Options", "", "", "", nullptr},
    {296, "ResolutionUnit", "", "1:None Specified,2:Inch,3:Centimeter", "", nullptr},
    {297, "PageNumber", "", "", "", nullptr},
    {301, "TransferFunction", "", "", "", nullptr},
    {305, "Software", "", "", "", nullptr},
    {306, "DateTime", "", "", "", nullptr},
    {315, "Artist", "", "", "", nullptr},
    {316, "HostComputer", "", "", "", nullptr},
    {317, "Predictor", "", "", "", nullptr},
    {318, "WhitePoint", "", "", "", nullptr},
    {319, "PrimaryChromaticities", "", "", "", nullptr},
    {320, "ColorMap", "", "", "", nullptr},
    {321, "HalfToneHints", "", "", "", nullptr},
    {322, "TileWidth", "", "", "", nullptr},
    {323, "TileLength", "", "", "", nullptr},
    {324, "TileOffsets", "", "", "", nullptr},
    {325, "TileByteCounts", "", "", "", nullptr},
    {330, "SubIFDs", "", "", "", nullptr},
    {332, "InkSet", "", "", "", nullptr},
    {333, "InkNames", "", "", "", nullptr},
    {334, "NumberOfInks", "", "", "", nullptr},
    {336, "DotRange", "", "", "", nullptr},
    {337, "TargetPrinter", "", "", "", nullptr},
    {338, "ExtraSample", "", "", "", nullptr},
    {339, "SampleFormat", "", "", "", nullptr},
    {340, "SMinSampleValue", "", "", "", nullptr},
    {341, "SMaxSampleValue", "", "", "", nullptr},
    {342, "TransferRange", "", "", "", nullptr},
    {343, "ClipPath", "", "", "", nullptr},
    {344, "XClipPathUnits", "", "", "", nullptr},
    {345, "YClipPathUnits", "", "", "", nullptr},
    {346, "Indexed", "", "", "", nullptr},
    {347, "JPEGTables", "", "", "", nullptr},
    {351, "OPIProxy", "", "", "", nullptr},
    {512, "JPEGProc", "", "", "", nullptr},
    {513, "JPEGInterchangeFormat", "", "", "", nullptr},
    {514, "JPEGInterchangeFormatLength", "", "", "", nullptr},
    {515, "JPEGRestartInterval", "", "", "", nullptr},
    {517, "JPEGLosslessPredictors", "", "", "", nullptr},
    {518, "JPEGPointTransforms", "", "", "", nullptr},
    {519, "JPEGQTables", "", "", "", nullptr},
    {520, "JPEGDCTables", "", "", "", nullptr},
    {521, "JPEGACTables", "", "", "", nullptr},
    {529, "YCbCrCoefficients", "", "", "", nullptr},
    {530, "YCbCrSubSampling", "", "", "", nullptr},
    {531, "YCbCrPositioning", "", "1:Centered,2:Co-sited", "", nullptr},
    {532, "ReferenceBlackWhite", "", "", "", nullptr},
    {700, "ExtensibleMetadataPlatform", "", "", "", nullptr},
    {769, "Gamma", "", "", "", nullptr},
    {770, "ICCProfileDescriptor", "", "", "", nullptr},
    {771, "SRGBRenderingIntent", "", "", "", nullptr},
    {772, "ImageTitle", "", "", "", nullptr},
    {4096, "RelatedImageFileFormat", "", "", "", nullptr},
    {4097, "RelatedImageWidth", "", "", "", nullptr},
    {4098, "RelatedImageHeight", "", "", "", nullptr},
    {20481, "ResolutionXUnit", "", "", "", nullptr},
    {20482, "ResolutionYUnit", "", "", "", nullptr},
    {20483, "ResolutionXLengthUnit", "", "", "", nullptr},
    {20484, "ResolutionYLengthUnit", "", "", "", nullptr},
    {20485, "PrintFlags", "", "", "", nullptr},
    {20486, "PrintFlagsVersion", "", "", "", nullptr},
    {20487, "PrintFlagsCrop", "", "", "", nullptr},
    {20488, "PrintFlagsBleedWidth", "", "", "", nullptr},
    {20489, "PrintFlagsBleedWidthScale", "", "", "", nullptr},
    {20490, "HalftoneLPI", "", "", "", nullptr},
    {20491, "HalftoneLPIUnit", "", "", "", nullptr},
    {20492, "HalftoneDegree", "", "", "", nullptr},
    {20493, "HalftoneShape", "", "", "", nullptr},
    {20494, "HalftoneMisc", "", "", "", nullptr},
    {20495, "HalftoneScreen", "", "", "", nullptr},
    {20496, "JPEGQuality", "", "", "", nullptr},
    {20497, "GridSize", "", "", "", nullptr},
    {20498, "ThumbnailFormat", "", "", "", nullptr},
    {20499, "ThumbnailWidth", "", "", "", nullptr},
    {20500, "ThumbnailHeight", "", "", "", nullptr},
    {20501, "ThumbnailColorDepth", "", "", "", nullptr},
    {20502, "ThumbnailPlanes", "", "", "", nullptr},
    {20503, "ThumbnailRawBytes", "", "", "", nullptr},
    {20504, "ThumbnailSize", "", "", "", nullptr},
    {20505, "ThumbnailCompressedSize", "", "", "", nullptr},
    {20506, "ColorTransferFunction", "", "", "", nullptr},
    {20507, "ThumbnailData", "", "", "", nullptr},
    {20512, "ThumbnailImageWidth", "", "", "", nullptr},
    {20513, "ThumbnailImageHeight", "", "", "", nullptr},
    {20514, "ThumbnailBitsPerSample", "", "", "", nullptr},
    {20515, "ThumbnailCompression", "", "", "", nullptr},
    {20516, "ThumbnailPhotometricInterp", "", "", "", nullptr},
    {20517, "ThumbnailImageDescription", "", "", "", nullptr},
    {20518, "ThumbnailEquipMake", "", "", "", nullptr},
    {20519, "ThumbnailEquipModel", "", "", "", nullptr},
    {20520, "ThumbnailStripOffsets", "", "", "", nullptr},
    {20521, "ThumbnailOrientation", "", "", "", nullptr},
    {20522, "ThumbnailSamplesPerPixel", "", "", "", nullptr},
    {20523, "ThumbnailRowsPerStrip", "", "", "", nullptr},
    {20524, "ThumbnailStripBytesCount", "", "", "", nullptr},
    {20525, "ThumbnailResolutionX", "", "", "", nullptr},
    {20526, "ThumbnailResolutionY", "", "", "", nullptr},
    {20527, "ThumbnailPlanarConfig", "", "", "", nullptr},
    {20528, "ThumbnailResolutionUnit", "", "", "", nullptr},
    {20529, "ThumbnailTransferFunction", "", "", "", nullptr},
    {20530, "ThumbnailSoftwareUsed", "", "", "", nullptr},
    {20531, "ThumbnailDateTime", "", "", "", nullptr},
    {20532, "ThumbnailArtist", "", "", "", nullptr},
    {20533, "ThumbnailWhitePoint", "", "", "", nullptr},
    {20534, "ThumbnailPrimaryChromaticities", "", "", "", nullptr},
    {20535, "ThumbnailYCbCrCoefficients", "", "", "", nullptr},
    {20536, "ThumbnailYCbCrSubsampling", "", "", "", nullptr},
    {20537, "ThumbnailYCbCrPositioning", "", "", "", nullptr},
    {20538, "ThumbnailRefBlackWhite", "", "", "", nullptr},
    {20539, "ThumbnailCopyRight", "", "", "", nullptr},
    {20624, "LuminanceTable", "", "", "", nullptr},
    {20625, "ChrominanceTable", "", "", "", nullptr},
    {20736, "FrameDelay", "", "", "", nullptr},
    {20737, "LoopCount", "", "", "", nullptr},
    {20752, "PixelUnit", "", "", "", nullptr},
    {20753, "PixelPerUnitX", "", "", "", nullptr},
    {20754, "PixelPerUnitY", "", "", "", nullptr},
    {20755, "PaletteHistogram", "", "", "", nullptr},
    {32781, "ImageID", "", "", "", nullptr},
    {32995, "Matteing", "", "", "", nullptr},
    {32996, "DataType", "", "", "", nullptr},
    {32997, "ImageDepth", "", "", "", nullptr},
    {32998, "TileDepth", "", "", "", nullptr},
    {33421, "CFARepeatPatternDim", "", "", "", nullptr},
    {33422, "CFAPattern", "", "", "", nullptr},
    {33423, "BatteryLevel", "", "", "", nullptr},
    {33432, "Copyright", "", "", "", nullptr},
    {33434, "ExposureTime", "", "", "%s sec", nullptr},
    {33437, "FNumber", "", "", "F%0.1f", nullptr},
    {33723, "IPTC/NAA", "IPTC/NAA", "", "", nullptr},
    {34019, "IT8RasterPadding", "", "", "", nullptr},
    {34021, "IT8ColorTable", "", "", "", nullptr},
    {34377, "ImageResourceInformation", "", "", "", nullptr},
    {34665, "ExifOffset", "", "", "", nullptr},
    {34675, "InterColorProfile", "", "", "", nullptr},
    {34850, "ExposureProgram", "", "0:Unidentified,1:Manual,2:Normal,3:Aperture priority,4:Shutter priority,5:Creative(slow),6:Action(high-speed),7:Portrait mode,8:Landscape mode", "", nullptr},
    {34852, "SpectralSensitivity", "", "", "", nullptr},
    {34853, "GPSInfo", "", "", "", nullptr},
    {34855, "ISOSpeedRatings", "", "", "", nullptr},
    {34856, "OECF", "", "", "", nullptr},
    {34857, "Interlace", "", "", "", nullptr},
    {34858, "TimeZoneOffset", "", "", "", nullptr},
    {34859, "SelfTimerMode", "", "", "", nullptr},
    {36864, "ExifVersion", "", "", "", nullptr},
    {36867, "DateTimeOriginal", "", "", "", nullptr},
    {36868, "DateTimeDigitized", "", "", "", nullptr},
    {37121, "ComponentsConfiguration", "", "", "", DecodeComponents},
    {37122, "CompressedBitsPerPixel", "", "", "", nullptr},
    {37377, "ShutterSpeedValue", "", "", "", DecodeExposureTime},
    {37378, "ApertureValue", "", "", "F%0.1f", nullptr},
    {37379, "BrightnessValue", "", "", "", nullptr},
    {37380, "ExposureBiasValue", "", "", "", nullptr},
    {37381, "MaxApertureValue", "", "", "F%0.1f", nullptr},
    {37382, "SubjectDistance", "", "", "", nullptr},
    {37383, "MeteringMode", "", "0:Unknown,1:Average,2:Center,3:Spot,4:MultiSpot,5:MultiSegment,6:Partial", "", nullptr},
    {37384, "LightSource", "", "0:Unidentified,1:Daylight,2:Fluorescent,3:Tungsten,10:Flash,17:Std A,18:Std B,19:Std C", "", nullptr},
    {37385, "Flash", "", "", "", DecodeFlash},
    {37386, "FocalLength", "", "", "%5.2f mm", nullptr},
    {37387, "FlashEnergy", "", "", "", nullptr},
    {37388, "SpatialFrequencyResponse", "", "", "", nullptr},
    {37389, "Noise", "", "", "", nullptr},
    {37390, "FocalPlaneXResolution", "", "", "", nullptr},
    {37391, "FocalPlaneYResolution", "", "", "", nullptr},
    {37392, "FocalPlaneResolutionUnit", "", "1:None Specified,2:Inch,3:Centimeter", "", nullptr},
    {37393, "ImageNumber", "", "", "", nullptr},
    {37394, "SecurityClassification", "", "", "", nullptr},
    {37395, "ImageHistory", "", "", "", nullptr},
    {37396, "SubjectLocation", "", "", "", nullptr},
    {37397, "ExposureIndex", "", "", "", nullptr},
    {37398, "TIFF/EPStandardID", "", "", "", nullptr},
    {37399, "SensingMethod", "", "", "", nullptr},
    {37439, "StoNits", "", "", "", nullptr},
    {37500, "MakerNote", "", "", "", nullptr},
    {37510, "UserComment", "", "", "", DecodeUserComment},
    {37520, "SubSecTime", "", "", "", nullptr},
    {37521, "SubSecTimeOriginal", "", "", "", nullptr},
    {37522, "SubSecTimeDigitized", "", "", "", nullptr},
    {38204, "ImageSourceData", "", "", "", nullptr},
    {40091, "Title", "", "", "", DecodeWindowsText},
    {40092, "Comments", "", "", "", DecodeWindowsText},
    {40093, "Author", "", "", "", DecodeWindowsText},
    {40094, "Keywords", "", "", "", DecodeWindowsText},
    {40095, "Subject", "", "", "", DecodeWindowsText},
    {40960, "FlashPixVersion", "", "", "", nullptr},
    {40961, "ColorSpace", "", "0:sBW,1:sRGB", "", nullptr},
    {40962, "ExifImageWidth", "", "", "", nullptr},
    {40963, "ExifImageLength", "", "", "", nullptr},
    {40964, "RelatedSoundFile", "", "", "", nullptr},
    {40965, "InteroperabilityOffset", "", "", "", nullptr},
    {41483, "FlashEnergy", "", "", "", nullptr},
    {41484, "SpatialFrequencyResponse", "", "", "", nullptr},
    {41486, "FocalPlaneXResolution", "", "", "", nullptr},
    {41487, "FocalPlaneYResolution", "", "", "", nullptr},
    {41488, "FocalPlaneResolutionUnit", "", "1:None Specified,2:Inch,3:Centimeter", "", nullptr},
    {41489, "ImageNumber", "", "", "", nullptr},
    {41490, "SecurityClassification", "", "", "", nullptr},
    {41491, "ImageHistory", "", "", "", nullptr},
    {41492, "SubjectLocation", "", "", "", nullptr},
    {41493, "ExposureIndex", "", "", "", nullptr},
    {41494, "TIFF/EPStandardID", "TIFF/EPStandardID", "", "", nullptr},
    {41495, "SensingMethod", "", "0:Unknown,1:MonochromeArea,2:OneChipColorArea,3:TwoChipColorArea,4:ThreeChipColorArea,5:ColorSequentialArea,6:MonochromeLinear,7:TriLinear,8:ColorSequentialLinear", "", nullptr},
    {41728, "FileSource", "", "1:Unknown,3:Digital Still Camera", "", nullptr},
    {41729, "SceneType", "", "0:Unknown,1:Directly Photographed", "", nullptr},
    {41730, "CFAPattern", "", "", "", nullptr},
    {41985, "CustomRendered", "", "0:Normal process,1:Custom process", "", nullptr},
    {41986, "ExposureMode", "", "0:Auto,1:Manual,2:Auto bracket", "", nullptr},
    {41987, "WhiteBalance", "", "0:Auto,1:Manual", "", nullptr},
    {41988, "DigitalZoomRatio", "", "", "", nullptr},
    {41989, "FocalLengthin35mmFilm", "Focal Length in 35mm Film", "", "%5.2f mm", nullptr},
    {41990, "SceneCaptureType", "", "0:Standard,1:Landscape,2:Portrait,3:Night scene", "", nullptr},
    {41991, "GainControl", "", "0:None,1:Low gain up,2:High gain up,3:Low gain down,4:High gain down", "", nullptr},
    {41992, "Contrast", "", "0:Normal,1:Soft,2:Hard", "", nullptr},
    {41993, "Saturation", "", "0:Normal,1:Low,2:High", "", nullptr},
    {41994, "Sharpness", "", "0:Normal,1:Soft,2:Hard", "", nullptr},
    {41995, "DeviceSettingDescription", "", "", "", nullptr},
    {41996, "SubjectDistanceRange", "", "0:Unknown,1:Macro,2:Close view,3:Distant view", "", nullptr},
    {42016, "ImageUniqueID", "", "0:Close view,1:Distant view", "", nullptr},
};
static_assert(std::size(kTagRows) == 250);

constexpr TTagRow kGpsRows[] = {
    {0, "GPSVersionID", "", "", "", nullptr},
    {1, "GPSLatitudeRef", "", "", "", nullptr},
    {2, "GPSLatitude", "", "", "", DecodeGpsAngle},
    {3, "GPSLongitudeRef", "", "", "", nullptr},
    {4, "GPSLongitude", "", "", "", DecodeGpsAngle},
    {5, "GPSAltitudeRef", "", "0:Sealevel", "", nullptr},
    {6, "GPSAltitude", "", "", "", nullptr},
    {7, "GPSTimeStamp", "", "", "", DecodeGpsTime},
    {8, "GPSSatellites", "", "", "", nullptr},
    {9, "GPSStatus", "", "", "", nullptr},
    {10, "GPSMeasureMode", "", "", "", nullptr},
    {11, "GPSDOP", "", "", "", nullptr},
    {12, "GPSSpeedRef", "", "", "", nullptr},
    {13, "GPSSpeed", "", "", "", nullptr},
    {14, "GPSTrackRef", "", "", "", nullptr},
    {15, "GPSTrack", "", "", "", nullptr},
    {16, "GPSImageDirectionRef", "", "", "", nullptr},
    {17, "GPSImageDirection", "", "", "", nullptr},
    {18, "GPSMapDatum", "", "", "", nullptr},
    {19, "GPSDestLatitudeRef", "", "", "", nullptr},
    {20, "GPSDestLatitude", "", "", "", DecodeGpsAngle},
    {21, "GPSDestLongitudeRef", "", "", "", nullptr},
    {22, "GPSDestLongitude", "", "", "", DecodeGpsAngle},
    {23, "GPSDestBearingkRef", "", "", "", nullptr},
    {24, "GPSDestBearing", "", "", "", nullptr},
    {25, "GPSDestDistanceRef", "", "", "", nullptr},
    {26, "GPSDestDistance", "", "", "", nullptr},
    {27, "GPSProcessingMode", "", "", "", nullptr},
    {28, "GPSAreaInformation", "", "", "", nullptr},
    {29, "GPSDateStamp", "", "", "", nullptr},
    {30, "GPSDifferential", "", "", "", nullptr},
};
static_assert(std::size(kGpsRows) == 31);

template <size_t N>
std::vector<TTagEntry> BuildTable(const TTagRow (&rows)[N], bool terminate) {
  std::vector<TTagEntry> table;
  table.reserve(N + 1);
  for (const TTagRow& row : rows) {
    TTagEntry e;
    e.Tag = row.Tag;
    e.Name = row.Name;
    e.Desc = *row.Desc ? String(row.Desc) : SplitCamelCase(e.Name);
    e.ValueList = row.ValueList;
    e.FormatText = row.FormatText;
    e.Callback = row.Callback;
    table.push_back(std::move(e));
  }
  if (terminate) {
    TTagEntry end;
    end.Name = "Unknown";
    end.Desc = SplitCamelCase(end.Name);
    table.push_back(std::move(end));
  }
  return table;
}

const TTagEntry* FindRow(const std::vector<TTagEntry>& table, size_t rows, uint16_t tag) {
  for (size_t i = 0; i < rows; ++i)
    if (table[i].Tag == tag) return &table[i];
  return nullptr;
}

}  // namespace

// Function-local statics are built once, under the compiler's own guard, so readers on
// several threads can share the tables.
const std::vector<TTagEntry>& TagTable() {
  static const std::vector<TTagEntry> table = BuildTable(kTagRows, true);
  return table;
}

const std::vector<TTagEntry>& GpsTagTable() {
  static const std::vector<TTagEntry> table = BuildTable(kGpsRows, false);
  return table;
}

void LoadTagDescriptions() {
  TagTable();
  GpsTagTable();
}

TTagEntry FetchTag(uint16_t tag, int kind) {
  const TTagEntry* row = nullptr;
  if (kind == dkMain || kind == dkThumbnail) row = FindRow(TagTable(), std::size(kTagRows), tag);
  else if (kind == dkGps) row = FindRow(GpsTagTable(), std::size(kGpsRows), tag);
  if (row) return *row;
  TTagEntry unknown;
  unknown.Name = "Unknown";
  return unknown;
}
