// The GIF data model: stream routines, items and lists, header, frames and trailer.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "imaging/GIFImage.h"

namespace {
// A frame larger than this is refused as corrupt before anything is allocated: 16 bits
// each way would allow 4 GiB, and carved files often carry garbage sizes.
constexpr int64_t kMaxFramePixels = int64_t{1} << 26;

// An LZW code of w bits (w at most 12) stands for at most 2^w pixels, so n bytes of image
// data fill at most n * 8 * 4096 / 12 of them, however well the picture compresses.
int64_t MostPixelsOfData(int64_t bytes) { return std::max<int64_t>(bytes, 0) * 8 * 4096 / 12; }

// A frame size that the rest of the file could not fill is a damaged descriptor's: refused
// before anything of that size is allocated.
void CheckSizeAgainstData(int64_t pixels, TStream& stream) {
  if (pixels > MostPixelsOfData(stream.Size() - stream.Position())) RaiseGIFError("Invalid image dimensions");
}
}  // namespace

void ReadCheck(TStream& stream, void* buffer, int size) {
  if (size <= 0) return;
  if (stream.Read(buffer, size) != size) RaiseGIFError("Premature end of data");
}

uint8_t ReadByte(TStream& stream) {
  uint8_t b = 0;
  if (stream.Read(&b, 1) != 1) return 0;
  return b;
}

bool TryReadByte(TStream& stream, uint8_t& value) { return stream.Read(&value, 1) == 1; }

void WriteByte(TStream& stream, uint8_t value) { stream.WriteBuffer(&value, 1); }

void WriteSubBlockStrings(TStream& stream, const std::vector<String>& strings) {
  for (const String& s : strings) {
    size_t pos = 0;
    while (pos < s.size()) {
      const size_t n = std::min<size_t>(255, s.size() - pos);
      WriteByte(stream, static_cast<uint8_t>(n));
      stream.WriteBuffer(s.data() + pos, static_cast<int>(n));
      pos += n;
    }
  }
  WriteByte(stream, 0);
}

void ReadSubBlockStrings(TStream& stream, std::vector<String>& strings) {
  strings.clear();
  uint8_t size = 0;
  while (TryReadByte(stream, size) && size != 0) {
    char buffer[256];
    ReadCheck(stream, buffer, size);
    const char* end = static_cast<const char*>(std::memchr(buffer, 0, size));
    strings.emplace_back(buffer, static_cast<size_t>(end ? end - buffer : size));
  }
}

int ColorsToBits(int colors) {
  if (colors <= 0) return 0;
  if (colors <= 2) return 1;
  int n = 1;
  while ((1 << n) < colors) ++n;
  return n;
}

int BytesPerScanline(int pixels, int bitsPerPixel, int alignment) {
  const int64_t bits = int64_t{pixels} * bitsPerPixel;
  return static_cast<int>(((bits + alignment - 1) & ~int64_t(alignment - 1)) / 8);
}

void RaiseGIFError(const String& message) { throw GIFException(message); }

void RaiseGDIError() {
  const DWORD error = GetLastError();
  String text;
  if (error != 0) {
    char buffer[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
    text.assign(buffer, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  }
  if (text.empty()) text = "Out of system resources";
  throw EOutOfResources(text);
}

// ---- items and lists ----
void TGIFItem::Warning(TGIFSeverity severity, const String& message) {
  if (GIFImage) GIFImage->Warning(this, severity, message);
}

void TGIFItem::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TGIFItem::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

TGIFList::~TGIFList() { Clear(); }

TGIFItem* TGIFList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
  return items_[static_cast<size_t>(index)];
}

int TGIFList::Add(TGIFItem* item) {
  items_.push_back(item);
  return Count() - 1;
}

void TGIFList::Insert(int index, TGIFItem* item) {
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
}

void TGIFList::Delete(int index) {
  TGIFItem* item = Items(index);
  items_.erase(items_.begin() + index);
  delete item;
}

int TGIFList::Remove(TGIFItem* item) {
  const int index = IndexOf(item);
  if (index >= 0) items_.erase(items_.begin() + index);
  return index;
}

int TGIFList::IndexOf(const TGIFItem* item) const {
  const auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TGIFList::Clear() {
  while (!items_.empty()) Delete(0);
}

void TGIFList::Warning(TGIFSeverity severity, const String& message) {
  if (Image) Image->Warning(this, severity, message);
}

void TGIFList::SaveToStream(TStream& stream) {
  for (TGIFItem* item : items_) item->SaveToStream(stream);
}

TGIFSubImage* TGIFImageList::Images(int index) const { return static_cast<TGIFSubImage*>(Items(index)); }

void TGIFImageList::SaveToStream(TStream& stream) {
  for (int i = 0; i < Count(); ++i) {
    Images(i)->SaveToStream(stream);
    if (Image) Image->Progress(this, psRunning, static_cast<BYTE>((i + 1) * 100 / Count()), false, TRect{}, "Saving...");
  }
}

namespace {
// The next byte that is not 0; false at the end of the stream.
bool ReadBlockStart(TStream& stream, uint8_t& b) {
  do {
    if (!TryReadByte(stream, b)) return false;
  } while (b == 0);
  return true;
}
}  // namespace

void TGIFImageList::LoadFromStream(TStream& stream, TObject* parent) {
  LoadFromStream(stream, parent, std::numeric_limits<int>::max());
}

void TGIFImageList::LoadFromStream(TStream& stream, TObject* parent, int FrameLimit) {
  auto* image = dynamic_cast<TGIFImage*>(parent);
  if (!image) RaiseGIFError("Invalid GIF data");
  uint8_t b = 0;
  if (!ReadBlockStart(stream, b)) return;
  while (b != ';') {
    stream.Seek(-1, soCurrent);
    if (b != '!' && b != ',') {
      Warning(SeverityWarning, "Unknown GIF block type");
      return;
    }
    auto frame = std::make_unique<TGIFSubImage>(image);
    frame->LoadFromStream(stream);
    Add(frame.release());
    if (Count() >= FrameLimit) return;
    const int64_t size = stream.Size();
    if (Image && size > 0)
      Image->Progress(this, psRunning, static_cast<BYTE>(std::min<int64_t>(100, stream.Position() * 100 / size)), false,
                      TRect{}, "Loading...");
    if (!ReadBlockStart(stream, b)) return;
  }
  stream.Seek(-1, soCurrent);
}

TGIFExtension* TGIFExtensionList::Extensions(int index) const { return static_cast<TGIFExtension*>(Items(index)); }

// ---- header ----
TGIFHeader::TGIFHeader(TGIFImage* image) : TGIFItem(image) { Clear(); }

void TGIFHeader::Clear() {
  ColorMap.Clear();
  Descriptor = TLogicalScreenDescriptor{};
}

void TGIFHeader::Assign(TPersistent* Source) {
  if (auto* header = dynamic_cast<TGIFHeader*>(Source)) {
    ColorMap.Assign(&header->ColorMap);
    Descriptor = header->Descriptor;
  } else if (auto* map = dynamic_cast<TGIFColorMap*>(Source)) {
    Clear();
    ColorMap.Assign(map);
  } else {
    TGIFItem::Assign(Source);
  }
}

TGIFVersion TGIFHeader::GetVersion() const {
  return (ColorMap.Optimized || Descriptor.AspectRatio != 0) ? Version89a : Version87a;
}

TColor TGIFHeader::BackgroundColor() { return ColorMap.Colors(Descriptor.BackgroundColorIndex); }

void TGIFHeader::Prepare() {
  uint8_t packed = 0;
  if (ColorMap.Count() > 0) {
    packed |= 0x80;
    if (ColorMap.Optimized) packed |= 0x08;
  }
  const int resolution = GIFImage ? GIFImage->ColorResolution() : ColorResolution();
  packed |= static_cast<uint8_t>((resolution << 4) & 0x70);
  if (ColorMap.Count() > 0)
    packed |= static_cast<uint8_t>((ColorMap.BitsPerPixel() - 1) & 7);
  else
    packed |= static_cast<uint8_t>(((GIFImage ? GIFImage->BitsPerPixel() : 1) - 1) & 7);
  Descriptor.PackedFields = packed;
}

void TGIFHeader::SaveToStream(TStream& stream) {
  const TGIFVersion version = GIFImage ? GIFImage->GetVersion() : GetVersion();
  if (version == VersionUnknown) RaiseGIFError("Unsupported GIF version");
  Prepare();
  stream.WriteBuffer(version == Version89a ? "GIF89a" : "GIF87a", 6);
  stream.WriteBuffer(&Descriptor, sizeof Descriptor);
  if (Descriptor.PackedFields & 0x80) ColorMap.SaveToStream(stream);
}

void TGIFHeader::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  auto isGIF = [](const char* s) {
    return std::toupper(static_cast<unsigned char>(s[0])) == 'G' &&
           std::toupper(static_cast<unsigned char>(s[1])) == 'I' &&
           std::toupper(static_cast<unsigned char>(s[2])) == 'F';
  };
  char signature[6];
  ReadCheck(stream, signature, 6);
  if (!isGIF(signature)) {
    // Some writers put a 4-byte length in front of the file.
    stream.SetPosition(start + 4);
    ReadCheck(stream, signature, 6);
    if (!isGIF(signature)) RaiseGIFError("Invalid GIF signature");
  }
  ReadCheck(stream, &Descriptor, sizeof Descriptor);
  if (Descriptor.PackedFields & 0x80)
    ColorMap.LoadFromStream(stream, 2 << (Descriptor.PackedFields & 7));
  else
    ColorMap.Clear();
}

// ---- trailer ----
void TGIFTrailer::SaveToStream(TStream& stream) { WriteByte(stream, ';'); }

void TGIFTrailer::LoadFromStream(TStream& stream) {
  uint8_t b = 0;
  if (TryReadByte(stream, b) && b != ';') Warning(SeverityWarning, "Invalid Image trailer");
}

// ---- frame ----
TGIFSubImage::TGIFSubImage(TGIFImage* image) : TGIFItem(image), Extensions(image) { Descriptor.Separator = ','; }

TGIFSubImage::~TGIFSubImage() {
  if (GIFImage) GIFImage->Images().Remove(this);
  Clear();
  if (palette_) DeleteObject(palette_);
}

bool TGIFSubImage::Empty() const { return Data.empty() || Width() == 0 || Height() == 0; }

void TGIFSubImage::NewImage() {
  FreeImage();
  const int64_t size = int64_t{Width()} * Height();
  if (size > kMaxFramePixels) RaiseGIFError("Invalid image dimensions");
  if (size <= 0) return;
  try {
    Data.assign(static_cast<size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  }
}

void TGIFSubImage::FreeImage() {
  Data.clear();
  Data.shrink_to_fit();
}

void TGIFSubImage::NeedImage() {
  if (Data.empty()) NewImage();
  if (Data.empty()) RaiseGIFError("Image is empty");
}

void TGIFSubImage::NewBitmap() {
  FreeBitmap();
  bitmap_ = new TBitmap();
}

void TGIFSubImage::FreeBitmap() {
  delete bitmap_;
  bitmap_ = nullptr;
}

void TGIFSubImage::FreeMask() {
  if (mask_) DeleteObject(mask_);
  mask_ = nullptr;
  needMask_ = true;
}

bool TGIFSubImage::HasMask() {
  if (needMask_ && Transparent) {
    FreeBitmap();
    Bitmap();
  }
  return mask_ != nullptr;
}

TGIFColorMap& TGIFSubImage::ActiveColorMap() {
  if (LocalColorMap.Count() > 0) return LocalColorMap;
  if (GIFImage && GIFImage->Header().ColorMap.Count() > 0) return GIFImage->Header().ColorMap;
  return LocalColorMap;
}

uint8_t TGIFSubImage::TransparentColorIndex() const {
  return GraphicControlExtension ? GraphicControlExtension->TransparentColorIndex() : 0;
}

void TGIFSubImage::SetInterlaced(bool value) {
  Descriptor.PackedFields = static_cast<uint8_t>(value ? Descriptor.PackedFields | 0x40 : Descriptor.PackedFields & ~0x40);
}

void TGIFSubImage::SetBounds(int left, int top, int width, int height) {
  if (width != Width() || height != Height()) {
    FreeBitmap();
    FreeMask();
    FreeImage();
    Descriptor.Width = static_cast<uint16_t>(width);
    Descriptor.Height = static_cast<uint16_t>(height);
    NewImage();
  }
  Descriptor.Left = static_cast<uint16_t>(left);
  Descriptor.Top = static_cast<uint16_t>(top);
  if (!GIFImage) return;
  bool tooLarge = false;
  if (GIFImage->Width() < left + width) {
    if (GIFImage->Width() > 0) {
      Warning(SeverityWarning, "Image width too small for contained frames");
      tooLarge = true;
    }
    GIFImage->SetScreenWidth(left + width);
  }
  if (GIFImage->Height() < top + height) {
    if (GIFImage->Height() > 0) {
      Warning(SeverityWarning, "Image height too small for contained frames");
      tooLarge = true;
    }
    GIFImage->SetScreenHeight(top + height);
  }
  if (tooLarge) Warning(SeverityWarning, "Image exceeds Logical Screen size");
}

uint8_t* TGIFSubImage::Scanlines(int y) {
  if (y < 0 || y >= Height()) RaiseGIFError("Invalid pixel coordinates");
  NeedImage();
  return Data.data() + static_cast<size_t>(y) * Width();
}

uint8_t& TGIFSubImage::Pixels(int x, int y) {
  if (x < 0 || x >= Width()) RaiseGIFError("Invalid pixel coordinates");
  return Scanlines(y)[x];
}

TGIFVersion TGIFSubImage::GetVersion() const {
  if (LocalColorMap.Optimized) return Version89a;
  for (int i = 0; i < Extensions.Count(); ++i)
    if (Extensions.Extensions(i)->GetVersion() == Version89a) return Version89a;
  return Version87a;
}

HPALETTE TGIFSubImage::GetPalette() {
  if (bitmap_ && bitmap_->Palette()) return bitmap_->Palette();
  if (palette_) return palette_;
  if (GIFImage && GIFImage->DoDither()) {
    palette_ = CreateWebSafePalette();
    return palette_;
  }
  if (LocalColorMap.Count() == 0) return GIFImage ? GIFImage->Palette() : nullptr;
  palette_ = LocalColorMap.ExportPalette();
  return palette_;
}

void TGIFSubImage::SetPalette(HPALETTE palette) {
  if (palette == palette_) return;
  if (palette_) DeleteObject(palette_);
  palette_ = nullptr;
  if (bitmap_ && bitmap_->Palette() != palette) {
    FreeBitmap();
    if (GIFImage) {
      GIFImage->SetPaletteModified(true);
      GIFImage->Changed(this);
    }
  }
  palette_ = palette;
}

void TGIFSubImage::Clear() {
  Extensions.Clear();
  LocalColorMap.Clear();
  FreeImage();
  Descriptor.Width = 0;
  Descriptor.Height = 0;
  Transparent = false;
  GraphicControlExtension = nullptr;
  FreeBitmap();
  FreeMask();
}

void TGIFSubImage::Prepare() {
  if (LocalColorMap.Count() > 0) {
    uint8_t packed = static_cast<uint8_t>((Descriptor.PackedFields & 0x58) | 0x80);
    if (LocalColorMap.Optimized) packed |= 0x20;
    packed |= static_cast<uint8_t>((LocalColorMap.BitsPerPixel() - 1) & 7);
    Descriptor.PackedFields = packed;
  } else {
    Descriptor.PackedFields &= 0x58;
  }
}

void TGIFSubImage::SaveToStream(TStream& stream) {
  Extensions.SaveToStream(stream);
  if (Empty()) return;
  Prepare();
  stream.WriteBuffer(&Descriptor, sizeof Descriptor);
  LocalColorMap.SaveToStream(stream);
  Encode(stream);
}

void TGIFSubImage::LoadFromStream(TStream& stream) {
  Clear();
  Extensions.LoadFromStream(stream, this);
  uint8_t b = 0;
  if (!TryReadByte(stream, b)) return;
  stream.Seek(-1, soCurrent);
  if (b == ';' || b == 0) return;
  ReadCheck(stream, &Descriptor, sizeof Descriptor);
  // A frame without a size takes the screen's.
  if ((Descriptor.Width == 0 || Descriptor.Height == 0) && GIFImage) {
    Descriptor.Width = static_cast<uint16_t>(GIFImage->Width());
    Descriptor.Height = static_cast<uint16_t>(GIFImage->Height());
    Warning(SeverityWarning, "Image exceeds Logical Screen size");
  }
  if (Descriptor.PackedFields & 0x80) LocalColorMap.LoadFromStream(stream, 2 << (Descriptor.PackedFields & 7));
  const int64_t pixels = int64_t{Width()} * Height();
  CheckSizeAgainstData(pixels, stream);
  if (GIFImage) GIFImage->ReserveFramePixels(pixels);
  Decode(stream);
}
