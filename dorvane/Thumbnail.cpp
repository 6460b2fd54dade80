#include "dorvane/Thumbnail.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "dorvane/ByteSearch.h"
#include "dorvane/DebugDLL.h"
#include "dorvane/TIFFImage.h"
#include "framework/core/fileutils.h"
#include "framework/core/jpeg.h"
#include "framework/core/streams.h"
#include "imaging/GIFImage.h"

namespace {

// A cached placeholder: a bitmap that remembers which one it is.
class TInternalResourceImage : public TBitmap {
 public:
  int32_t Index = 0;
};

// The objects every thumbnail call shares; one lock serialises their use.
struct TThumbnailState {
  TThumbnailState() {
    Decoder.SetPerformance(jpBestSpeed);
    Decoder.SetCompressionQuality(80);
  }
  std::mutex Lock;
  TJPEGImage Decoder;
  TBitmap Work;
  std::vector<std::unique_ptr<TInternalResourceImage>> Cache;
};

TThumbnailState& State() {
  static TThumbnailState state;
  return state;
}

// Between calls the work bitmap holds no image.
struct TReleaseWork {
  ~TReleaseWork() {
    try {
      State().Work.Assign(nullptr);
    } catch (...) {
    }
  }
};

// Sizes the caller's bitmap and scales the picture into it. A decoder that drew nothing
// (a TIFF file without a drawable directory, an empty file) has no picture to show.
bool DrawScaled(TBitmap& Picture, int Width, int Height, TBitmap& Bitmap) {
  if (Picture.Empty()) return false;
  Bitmap.SetSize(std::max(Width, 0), std::max(Height, 0));
  return ResampleBitmap(Picture, Bitmap);
}

bool DrawWork(int Width, int Height, TBitmap& Bitmap) { return DrawScaled(State().Work, Width, Height, Bitmap); }

TBytes LoadWholeFile(const String& FileName) {
  TMemoryStream stream;
  stream.LoadFromFile(FileName);
  const auto* begin = static_cast<const uint8_t*>(stream.Memory());
  return TBytes(begin, begin + stream.Size());
}

// The decoder's failure text carries its error number behind "#".
std::optional<int> JPEGErrorNumber(const String& message) {
  const auto hash = message.find('#');
  if (hash == String::npos) return std::nullopt;
  int number = 0;
  size_t i = hash + 1;
  for (; i < message.size() && isdigit(static_cast<unsigned char>(message[i])); ++i)
    number = number * 10 + (message[i] - '0');
  if (i == hash + 1) return std::nullopt;
  return number;
}

// Huffman-coded data spends at least one bit on each 8 x 8 block of the picture: a header
// claiming more blocks than its data has bits is a damaged file's, and decoding it would
// cost what the claim asks for a picture of grey.
// Arithmetic coding can spend a tiny fraction of a bit on a flat block, so its data sets no
// useful floor; a photograph still spends more than a bit on each. An arithmetic-coded
// picture with fewer bits than blocks is drawn only up to a 12-megapixel camera's size,
// which bounds what a lying header can cost (a progressive one keeps every coefficient).
constexpr int64_t kBlocksWithoutAFloor = (4000 / 8) * (3000 / 8);

bool DataCouldFill(const TJPEGImage& jpeg, int64_t dataBytes) {
  const int64_t blocks = (int64_t{jpeg.Width()} + 7) / 8 * ((int64_t{jpeg.Height()} + 7) / 8);
  return blocks <= dataBytes * 8 || (jpeg.ArithmeticCoded() && blocks <= kBlocksWithoutAFloor);
}

const char* const kLargerThanItsData = "the picture is larger than its data could fill";

// The smallest of the decoder's scales that still covers Width x Height: a camera picture
// shown at 120 x 90 is decoded at an eighth, with a sixty-fourth of the pixels.
TJPEGScale CoveringScale(int pictureWidth, int pictureHeight, int Width, int Height) {
  for (TJPEGScale scale : {jsEighth, jsQuarter, jsHalf}) {
    const int denominator = 1 << scale;
    if ((pictureWidth + denominator - 1) / denominator >= Width &&
        (pictureHeight + denominator - 1) / denominator >= Height)
      return scale;
  }
  return jsFullSize;
}

// Decodes the loaded picture for a Width x Height thumbnail; null for a picture its
// dataBytes could not fill.
TBitmap* DecodeForThumbnail(TJPEGImage& jpeg, int64_t dataBytes, int Width, int Height) {
  jpeg.SetScale(jsFullSize);
  if (!DataCouldFill(jpeg, dataBytes)) return nullptr;
  jpeg.SetScale(CoveringScale(jpeg.Width(), jpeg.Height(), Width, Height));
  return jpeg.Bitmap();
}

// Decodes a JPEG stream with the fastest method and draws it.
bool JPEGStreamThumbnail(TStream& stream, const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  TReleaseWork release;
  try {
    TJPEGImage& decoder = State().Decoder;
    const int64_t dataBytes = stream.Size() - stream.Position();
    decoder.LoadFromStream(stream);
    // Scaled straight from the decoder's own bitmap: a copy of a camera picture into the
    // work bitmap would cost a good part of the decoding time.
    TBitmap* picture = DecodeForThumbnail(decoder, dataBytes, Width, Height);
    if (!picture) {
      WriteDLLErrorLog(String("Unable to do JPEG_Thumbnail : ") + kLargerThanItsData + " (" + FileName + ")");
      return false;
    }
    return DrawScaled(*picture, Width, Height, Bitmap);
  } catch (const Exception& e) {
    const auto number = JPEGErrorNumber(e.Message);
    if (!number) throw;
    const auto table = JPEGMessageTable();
    const String text = *number >= 0 && static_cast<size_t>(*number) < table.size() && table[*number]
                            ? String(table[*number])
                            : String();
    WriteDLLErrorLog("Unable to do JPEG_Thumbnail : " + e.Message + " (" + FileName + ") " + text);
    return false;
  }
}

bool JPEG_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  return JPEGStreamThumbnail(file, FileName, Width, Height, Bitmap);
}

// Runs one decoding routine: a failure is logged under its name and answered False.
bool Logged(const char* routine, const String& FileName, const std::function<bool()>& body) {
  TReleaseWork release;
  try {
    return body();
  } catch (const Exception& e) {
    WriteDLLErrorLog(String("Unable to do ") + routine + " : " + e.Message + " (" + FileName + ")");
    return false;
  }
}

bool BMP_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  return Logged("BMP_Thumbnail", FileName, [&] {
    State().Work.LoadFromFile(FileName);
    return DrawWork(Width, Height, Bitmap);
  });
}

// A GIF whose frames hold no pixels, or whose screen has no size, would draw as a blank
// picture.
bool HasDrawableFrame(TGIFImage& gif) {
  if (gif.Width() <= 0 || gif.Height() <= 0) return false;
  for (int i = 0; i < gif.Images().Count(); ++i)
    if (!gif.Images().Images(i)->Empty()) return true;
  return false;
}

bool GIF_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  return Logged("GIF_Thumbnail", FileName, [&] {
    TGIFImage gif;
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    gif.LoadFromStream(file, 1);  // the thumbnail shows the first frame alone
    if (!HasDrawableFrame(gif)) return false;
    State().Work.Assign(&gif);
    return DrawWork(Width, Height, Bitmap);
  });
}

bool TIFF_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  return Logged("TIFF_Thumbnail", FileName, [&] {
    LoadTIFF(FileName, State().Work);
    return DrawWork(Width, Height, Bitmap);
  });
}

bool MetaFile_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  return Logged("MetaFile_Thumbnail", FileName, [&] {
    TPicture picture;
    picture.LoadFromFile(FileName);
    TBitmap& work = State().Work;
    work.SetSize(picture.Width(), picture.Height());
    work.Canvas()->StretchDraw(TRect{0, 0, picture.Width(), picture.Height()}, picture.Graphic());
    return DrawWork(Width, Height, Bitmap);
  });
}

bool PNG_Thumbnail(const String&, int, int, TBitmap&) { return false; }

// The embedded preview [start, end) of a raw file, decoded from memory like a JPEG file.
bool PreviewThumbnail(const TBytes& data, size_t start, size_t end, const String& FileName, int Width, int Height,
                      TBitmap& Bitmap) {
  TMemoryStream preview;
  preview.WriteBuffer(data.data() + start, static_cast<int>(end - start));
  preview.SetPosition(0);
  return JPEGStreamThumbnail(preview, FileName, Width, Height, Bitmap);
}

bool CRW_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  return Logged("CRW_Thumbnail", FileName, [&] {
    const TBytes data = LoadWholeFile(FileName);
    if (data.empty()) return false;
    const size_t last = data.size() - 1;
    const auto p = FindLast(data, ".CRW", last);
    if (!p) return false;
    const auto endMarker = FindLast(data, kEndOfImage, last, *p);
    if (!endMarker) return false;
    const size_t e = *endMarker + 2;
    const auto s = FindLast(data, kStartOfImage, e - 1);
    if (!s || *s >= e) return false;
    return PreviewThumbnail(data, *s, e, FileName, Width, Height, Bitmap);
  });
}

bool RAF_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  return Logged("RAF_Thumbnail", FileName, [&] {
    const TBytes data = LoadWholeFile(FileName);
    if (data.empty()) return false;
    const size_t last = data.size() - 1;
    const auto a = FindFirst(data, TPattern("\xFF\xD8\xFF\xE1", 4), 0, last);
    if (!a) return false;
    const auto firstEnd = FindFirst(data, kEndOfImage, *a, last);
    if (!firstEnd) return false;
    const size_t b = *firstEnd + 2;
    const auto secondEnd = FindFirst(data, kEndOfImage, b, last);
    const size_t c = secondEnd ? *secondEnd + 2 : b;
    if (*a >= c) return false;
    return PreviewThumbnail(data, *a, c, FileName, Width, Height, Bitmap);
  });
}

// NEF and MRW previews are decoded with the best method, then scaled like the rest.
bool RawPreview(TBytes& data, size_t start, size_t end, int Width, int Height, TBitmap& Bitmap) {
  TMemoryStream preview;
  preview.WriteBuffer(data.data() + start, static_cast<int>(end - start));
  preview.SetPosition(0);
  TJPEGImage jpeg;
  jpeg.LoadFromStream(preview);
  TBitmap* picture = DecodeForThumbnail(jpeg, static_cast<int64_t>(end - start), Width, Height);
  if (!picture) throw EJPEG(kLargerThanItsData);
  return DrawScaled(*picture, Width, Height, Bitmap);
}

bool NEF_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  TReleaseWork release;
  try {
    TBytes data = LoadWholeFile(FileName);
    if (data.empty()) return false;
    const size_t last = data.size() - 1;
    const auto s = FindFirst(data, TPattern("\xFF\xD8\xFF\xDB", 4), 0, last);
    if (!s) return false;
    const auto end = FindFirst(data, kEndOfImage, *s, last);
    if (!end) return false;
    return RawPreview(data, *s, *end + 2, Width, Height, Bitmap);
  } catch (const Exception& e) {
    WriteDLLErrorLog("Unable to get JPEG Thumbnail from : " + e.Message + " (" + FileName + ")");
    return false;
  }
}

bool MRW_Thumbnail(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  TReleaseWork release;
  try {
    TBytes data = LoadWholeFile(FileName);
    if (data.size() < 2) return false;
    const size_t last = data.size() - 1;
    const auto i = FindFirst(data, TPattern("\xD8\xFF\xDB", 3), 1, last - 1);
    if (!i) return false;
    const auto end = FindFirst(data, kEndOfImage, *i, last);
    if (!end) return false;
    data[*i - 1] = 0xFF;
    return RawPreview(data, *i - 1, *end + 2, Width, Height, Bitmap);
  } catch (const Exception& e) {
    WriteDLLErrorLog("Unable to get JPEG Thumbnail from : " + e.Message + " (" + FileName + ")");
    return false;
  }
}

using TThumbnailRoutine = bool (*)(const String&, int, int, TBitmap&);

struct TThumbnailFormat {
  const char* Extension;
  TThumbnailRoutine Routine;
};

const TThumbnailFormat kThumbnailFormats[] = {
    {".JPEG", JPEG_Thumbnail},     {".JPG", JPEG_Thumbnail},      {".J2E", JPEG_Thumbnail},
    {".BMP", BMP_Thumbnail},       {".GIF", GIF_Thumbnail},       {".CRW", CRW_Thumbnail},
    {".RAF", RAF_Thumbnail},       {".TIFF", TIFF_Thumbnail},     {".TIF", TIFF_Thumbnail},
    {".EMF", MetaFile_Thumbnail},  {".WMF", MetaFile_Thumbnail},  {".PNG", PNG_Thumbnail},
    {".NEF", NEF_Thumbnail},       {".ORF", NEF_Thumbnail},       {".PEF", NEF_Thumbnail},
    {".MRW", MRW_Thumbnail},       {".THM", JPEG_Thumbnail},
};

bool LoadResourceImage(int Number, int Width, int Height, TBitmap& Bitmap) {
  TReleaseWork release;
  try {
    TBitmap& work = State().Work;
    work.LoadFromResourceID(HInstance(), Number);
    if (Width != 0 || Height != 0) Bitmap.SetSize(std::max(Width, 0), std::max(Height, 0));
    return ResampleBitmap(work, Bitmap);
  } catch (const Exception& e) {
    WriteDLLErrorLog("Unable to do LoadResourceImage " + IntToStr(Number) + " : " + e.Message);
    return false;
  }
}

bool DrawContent(const String& FileName, int Width, int Height, TBitmap& Bitmap) {
  const String extension = UpperCase(ExtractFileExt(FileName));
  for (const TThumbnailFormat& format : kThumbnailFormats) {
    if (extension == format.Extension) return format.Routine(FileName, Width, Height, Bitmap);
  }
  LoadResourceImage(1, Width, Height, Bitmap);
  return true;
}

}  // namespace

bool ResampleBitmap(TBitmap& Source, TBitmap& Destination) {
  try {
    Source.SetPixelFormat(pf24bit);
    Destination.SetPixelFormat(pf24bit);
    const int ws = Source.Width(), hs = Source.Height();
    const int wd = Destination.Width(), hd = Destination.Height();
    if (ws == wd && hs == hd) {
      Destination.Assign(&Source);
      return true;
    }
    if (ws <= 0 || hs <= 0 || wd <= 0 || hd <= 0) return true;
    // Rows are found from the first one: a scan-line call per row costs more than the
    // arithmetic of the row itself.
    const auto* sourceTop = static_cast<const uint8_t*>(Source.ScanLine(0));
    auto* destinationTop = static_cast<uint8_t*>(Destination.ScanLine(0));
    const ptrdiff_t sourceStride = Source.ScanLineStride(), destinationStride = Destination.ScanLineStride();
    const int64_t xStep = MulDiv(ws - 1, 65536, wd);
    const int64_t yStep = MulDiv(hs - 1, 65536, hd);
    for (int r = 0; r < hd; ++r) {
      const int64_t y = r * yStep;
      const int row0 = static_cast<int>(std::min<int64_t>(y >> 16, hs - 1));
      const int row1 = row0 + 1 < hs ? row0 + 1 : row0;
      const uint32_t fy = static_cast<uint32_t>(y & 0xFFFF);
      const uint32_t wTop = 65536 - fy;
      const uint32_t wBottom = fy + 1;
      const uint8_t* top = sourceTop + row0 * sourceStride;
      const uint8_t* bottom = sourceTop + row1 * sourceStride;
      uint8_t* out = destinationTop + r * destinationStride;
      for (int c = 0; c < wd; ++c) {
        const int64_t x = c * xStep;
        // Clamped, so a one-pixel-wide source reads its one pixel twice, never past it.
        const int sx = static_cast<int>(std::min<int64_t>(x >> 16, ws - 1));
        const int sx1 = sx + 1 < ws ? sx + 1 : sx;
        const int fx = static_cast<int>(x & 0xFFFF);
        const uint32_t w01 = static_cast<uint32_t>(MulDiv(fx, static_cast<int>(wTop), 65536));
        const uint32_t w00 = wTop - w01;
        const uint32_t w11 = static_cast<uint32_t>(MulDiv(fx, static_cast<int>(wBottom), 65536));
        const uint32_t w10 = wBottom - w11;
        for (int k = 0; k < 3; ++k) {
          const uint32_t sum = top[3 * sx + k] * w00 + top[3 * sx1 + k] * w01 + bottom[3 * sx + k] * w10 +
                               bottom[3 * sx1 + k] * w11;
          out[3 * c + k] = static_cast<uint8_t>(sum >> 16);
        }
      }
    }
  } catch (...) {
  }
  return true;
}

bool CreateThumbnail(const String& FileName, int Kind, int Width, int Height, TBitmap& Bitmap) {
  if (FileName.empty()) return false;
  if (!FileExists(FileName)) {
    WriteDLLErrorLog("No such file exists : " + FileName);
    return false;
  }
  std::lock_guard guard(State().Lock);
  bool result = false;
  try {
    if (Kind == 1) {
      result = DrawContent(FileName, Width, Height, Bitmap);
    } else if (Kind >= 2 && Kind <= 4) {
      LoadResourceImage(Kind, Width, Height, Bitmap);
      result = true;
    }
    if (!result) LoadResourceImage(1, Width, Height, Bitmap);
  } catch (...) {
    try {
      WriteDLLErrorLog("Could not load file : " + FileName);
      State().Work.Assign(nullptr);
      LoadResourceImage(1, Width, Height, Bitmap);
    } catch (...) {
    }
  }
  return result;
}

bool GetResourceImage(int Index, TBitmap& Bitmap) {
  std::lock_guard guard(State().Lock);
  for (const auto& entry : State().Cache) {
    if (entry->Index == Index) {
      Bitmap.Assign(entry.get());
      return true;
    }
  }
  LoadResourceImage(Index, Bitmap.Width(), Bitmap.Height(), Bitmap);
  auto copy = std::make_unique<TInternalResourceImage>();
  copy->Index = Index;
  copy->Assign(&Bitmap);
  State().Cache.push_back(std::move(copy));
  return true;
}
