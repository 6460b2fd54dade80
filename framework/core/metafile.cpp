#include "framework/core/metafile.h"

#include <vector>

#include "framework/core/canvas.h"
#include "framework/core/littleendian.h"

const TGraphicClass TMetafile::Class{"TMetafile", []() -> TGraphic* { return new TMetafile; }};

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint64_t kMaxMetafileBytes = 64ull << 20;

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic("Metafile is not valid"); }

int16_t I16(const uint8_t* p) { return static_cast<int16_t>(LoadLE16(p)); }

struct ScreenMetrics {
  int pixelsX, pixelsY, millimetresX, millimetresY, dpiX, dpiY;
};

ScreenMetrics Screen() {
  HDC dc = GetDC(nullptr);
  ScreenMetrics m{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, HORZSIZE),
                  GetDeviceCaps(dc, VERTSIZE), GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
  ReleaseDC(nullptr, dc);
  return m;
}

// Reads count bytes, refusing more than the stream holds.
std::vector<uint8_t> ReadBytes(TStream& stream, uint64_t count) {
  if (count > kMaxMetafileBytes || static_cast<int64_t>(count) > stream.Size() - stream.Position()) InvalidMetafile();
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  stream.ReadBuffer(bytes.data(), static_cast<int>(count));
  return bytes;
}

}  // namespace

TMetafile::~TMetafile() {
  if (handle_) DeleteEnhMetaFile(handle_);
}

void TMetafile::Adopt(HENHMETAFILE metafile, int width, int height) {
  if (handle_ && handle_ != metafile) DeleteEnhMetaFile(handle_);
  handle_ = metafile;
  width_ = width;
  height_ = height;
  Changed(this);
}

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    Adopt(nullptr, 0, 0);
  } else if (auto* metafile = dynamic_cast<TMetafile*>(Source)) {
    if (metafile == this) return;
    HENHMETAFILE copy = metafile->handle_ ? CopyEnhMetaFileA(metafile->handle_, nullptr) : nullptr;
    Adopt(copy, metafile->width_, metafile->height_);
  } else {
    TGraphic::Assign(Source);
  }
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) {
  if (!handle_) return;
  RECT r = rect;
  PlayEnhMetaFile(canvas.Handle(), handle_, &r);
}

void TMetafile::SetWidth(int width) {
  width_ = width;
  Changed(this);
}

void TMetafile::SetHeight(int height) {
  height_ = height;
  Changed(this);
}

void TMetafile::SetHandle(HENHMETAFILE metafile) {
  int width = 0, height = 0;
  ENHMETAHEADER header{};
  if (metafile && GetEnhMetaFileHeader(metafile, sizeof(header), &header)) {
    // The frame is in 0.01 mm.
    ScreenMetrics s = Screen();
    width = MulDiv(header.rclFrame.right - header.rclFrame.left, s.pixelsX, s.millimetresX * 100);
    height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, s.pixelsY, s.millimetresY * 100);
  }
  Adopt(metafile, width, height);
}

void TMetafile::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> head = ReadBytes(stream, 4);
  if (LoadLE32(head.data()) == kPlaceableKey) {
    std::vector<uint8_t> placeable = ReadBytes(stream, kPlaceableSize - 4);
    const uint8_t* p = placeable.data() - 4;  // offsets from the header's start
    int left = I16(p + 6), top = I16(p + 8), right = I16(p + 10), bottom = I16(p + 12);
    int inch = LoadLE16(p + 14);
    if (inch == 0) InvalidMetafile();
    // The Windows metafile header gives the whole size in 16-bit words.
    std::vector<uint8_t> wmfHead = ReadBytes(stream, 18);
    uint64_t size = static_cast<uint64_t>(LoadLE32(wmfHead.data() + 6)) * 2;
    if (size < 18) InvalidMetafile();
    std::vector<uint8_t> rest = ReadBytes(stream, size - 18);
    wmfHead.insert(wmfHead.end(), rest.begin(), rest.end());
    METAFILEPICT pict{};
    pict.mm = MM_ANISOTROPIC;
    pict.xExt = MulDiv(right - left, 2540, inch);
    pict.yExt = MulDiv(bottom - top, 2540, inch);
    HENHMETAFILE metafile = SetWinMetaFileBits(static_cast<UINT>(wmfHead.size()), wmfHead.data(), nullptr, &pict);
    if (!metafile) InvalidMetafile();
    ScreenMetrics s = Screen();
    Adopt(metafile, MulDiv(right - left, s.dpiX, inch), MulDiv(bottom - top, s.dpiY, inch));
    return;
  }
  if (LoadLE32(head.data()) != EMR_HEADER) InvalidMetafile();
  std::vector<uint8_t> header = ReadBytes(stream, 84);  // through nBytes and beyond
  const uint8_t* h = header.data() - 4;
  if (LoadLE32(h + 40) != kEmfSignature) InvalidMetafile();
  uint64_t size = LoadLE32(h + 48);
  if (size < 88) InvalidMetafile();
  std::vector<uint8_t> rest = ReadBytes(stream, size - 88);
  std::vector<uint8_t> all = head;
  all.insert(all.end(), header.begin(), header.end());
  all.insert(all.end(), rest.begin(), rest.end());
  HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(all.size()), all.data());
  if (!metafile) InvalidMetafile();
  SetHandle(metafile);
}

void TMetafile::SaveToStream(TStream& stream) {
  if (!handle_) return;
  UINT size = GetEnhMetaFileBits(handle_, 0, nullptr);
  std::vector<uint8_t> bytes(size);
  GetEnhMetaFileBits(handle_, size, bytes.data());
  stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}
