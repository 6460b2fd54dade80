#include "framework/core/icon.h"

#include <cstring>

#include "framework/core/bitmap.h"
#include "framework/core/littleendian.h"

const TGraphicClass TIcon::Class{"TIcon", []() -> TGraphic* { return new TIcon; }};

namespace {

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic("Icon image is not valid"); }

constexpr size_t kDirHeader = 6;
constexpr size_t kDirEntry = 16;
constexpr uint64_t kMaxIconBytes = 64ull << 20;

}  // namespace

void TIcon::Adopt(HICON icon, std::vector<uint8_t> data) {
  if (handle_.get() != icon) handle_.reset(icon);
  data_ = std::move(data);
  width_ = height_ = 0;
  ICONINFO info{};
  if (icon && GetIconInfo(icon, &info)) {
    BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectA(colour ? colour.get() : mask.get(), sizeof(bm), &bm);
    width_ = bm.bmWidth;
    height_ = colour ? bm.bmHeight : bm.bmHeight / 2;
  }
  Changed(this);
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    Adopt(nullptr, {});
  } else if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon == this) return;
    HICON copy = icon->handle_ ? CopyIcon(icon->handle_.get()) : nullptr;
    Adopt(copy, icon->data_);
  } else {
    TGraphic::Assign(Source);
  }
}

void TIcon::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    bitmap->Assign(nullptr);
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width_, height_);
    if (handle_) bitmap->Canvas()->Draw(0, 0, this);
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) {
  if (handle_) DrawIconEx(canvas.Handle(), rect.Left, rect.Top, handle_.get(), rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::SetHandle(HICON icon) { Adopt(icon, {}); }

HICON TIcon::ReleaseHandle() {
  HICON icon = handle_.release();
  Adopt(nullptr, {});
  return icon;
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const String& name) {
  HICON icon = static_cast<HICON>(LoadImageA(instance, name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
  if (!icon) throw EInvalidGraphic(Format("Resource %s not found", name));
  Adopt(icon, {});
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) {
  HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
  if (!icon) throw EInvalidGraphic(Format("Resource %d not found", id));
  Adopt(icon, {});
}

void TIcon::LoadFromStream(TStream& stream) {
  int64_t available = stream.Size() - stream.Position();
  uint8_t head[kDirHeader];
  if (available < static_cast<int64_t>(kDirHeader) || stream.Read(head, sizeof(head)) != sizeof(head)) InvalidIcon();
  const uint16_t count = LoadLE16(head + 4);
  if (LoadLE16(head) != 0 || LoadLE16(head + 2) != 1 || count == 0) InvalidIcon();
  // The file ends where its last image ends: read the directory, then up to there.
  std::vector<uint8_t> data(head, head + kDirHeader);
  const size_t dirBytes = count * kDirEntry;
  if (static_cast<uint64_t>(available) < kDirHeader + dirBytes) InvalidIcon();
  data.resize(kDirHeader + dirBytes);
  stream.ReadBuffer(data.data() + kDirHeader, static_cast<int>(dirBytes));
  uint64_t end = data.size();
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data.data() + kDirHeader + i * kDirEntry;
    uint64_t imageEnd = static_cast<uint64_t>(LoadLE32(e + 12)) + LoadLE32(e + 8);
    if (LoadLE32(e + 8) == 0 || LoadLE32(e + 12) < data.size() || imageEnd > static_cast<uint64_t>(available)) InvalidIcon();
    end = std::max(end, imageEnd);
  }
  if (end > kMaxIconBytes) InvalidIcon();
  size_t have = data.size();
  data.resize(static_cast<size_t>(end));
  stream.ReadBuffer(data.data() + have, static_cast<int>(end - have));
  const uint8_t* first = data.data() + kDirHeader;
  HICON icon = CreateIconFromResourceEx(data.data() + LoadLE32(first + 12), LoadLE32(first + 8), TRUE, 0x00030000, 0, 0,
                                        LR_DEFAULTCOLOR);
  if (!icon) InvalidIcon();
  Adopt(icon, std::move(data));
}

void TIcon::SaveToStream(TStream& stream) {
  if (!data_.empty()) {
    stream.WriteBuffer(data_.data(), static_cast<int>(data_.size()));
    return;
  }
  if (!handle_) return;
  // One 32-bit image: the colour bits and the AND mask, both bottom-up.
  ICONINFO info{};
  if (!GetIconInfo(handle_.get(), &info)) throw EInvalidGraphic("Icon image is not valid");
  BitmapHandle colourBits(info.hbmColor), maskBits(info.hbmMask);
  const int w = width_, h = height_;
  std::vector<uint8_t> color(static_cast<size_t>(w) * h * 4);
  const size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
  std::vector<uint8_t> mask(maskStride * h);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } bi{};
  bi.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  MemoryDC dc(CreateCompatibleDC(nullptr));
  if (colourBits)
    GetDIBits(dc.get(), colourBits.get(), 0, h, color.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  bi.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(dc.get(), maskBits.get(), 0, h, mask.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);

  const uint32_t imageBytes = static_cast<uint32_t>(40 + color.size() + mask.size());
  std::vector<uint8_t> out;
  AppendLE16(out, 0);
  AppendLE16(out, 1);
  AppendLE16(out, 1);
  out.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
  out.push_back(0);
  out.push_back(0);
  AppendLE16(out, 1);
  AppendLE16(out, 32);
  AppendLE32(out, imageBytes);
  AppendLE32(out, kDirHeader + kDirEntry);
  AppendLE32(out, 40);
  AppendLE32(out, static_cast<uint32_t>(w));
  AppendLE32(out, static_cast<uint32_t>(h * 2));
  AppendLE16(out, 1);
  AppendLE16(out, 32);
  for (int i = 0; i < 6; ++i) AppendLE32(out, 0);
  out.insert(out.end(), color.begin(), color.end());
  out.insert(out.end(), mask.begin(), mask.end());
  stream.WriteBuffer(out.data(), static_cast<int>(out.size()));
}
