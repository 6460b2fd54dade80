// GIF colour tables: up to 256 RGB entries, file layout, palettes and sorting by use.
#include <algorithm>
#include <cstring>

#include "imaging/GIFImage.h"

void TGIFColorMap::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TGIFColorMap*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  capacity_ = source->capacity_;
  count_ = source->count_;
  Optimized = source->Optimized;
  data_ = source->data_;
  Changed();
}

void TGIFColorMap::Clear() {
  data_.clear();
  count_ = 0;
  capacity_ = 0;
  Optimized = false;
}

void TGIFColorMap::ColorToRGB(TColor color, uint8_t* triplet) {
  triplet[0] = static_cast<uint8_t>(color & 0xFF);
  triplet[1] = static_cast<uint8_t>((color >> 8) & 0xFF);
  triplet[2] = static_cast<uint8_t>((color >> 16) & 0xFF);
}

TColor TGIFColorMap::RGBToColor(const uint8_t* triplet) { return RGB(triplet[0], triplet[1], triplet[2]); }

TColor TGIFColorMap::Colors(int index) {
  if (index < 0 || index >= count_) {
    Warning(SeverityWarning, "Invalid color index");
    if (count_ == 0) RaiseGIFError("Color table is empty");
    index = 0;
  }
  return RGBToColor(&data_[static_cast<size_t>(index) * 3]);
}

void TGIFColorMap::SetCapacity(int size) {
  if (size < capacity_) return;
  int capacity = size <= 16 ? 16 : (size + 31) / 32 * 32;
  capacity = std::min(capacity, 256);
  data_.resize(static_cast<size_t>(capacity) * 3, 0);
  capacity_ = capacity;
}

int TGIFColorMap::Add(TColor color) {
  if (count_ >= 256) RaiseGIFError("Color table overflow");
  if (count_ >= capacity_) SetCapacity(count_ + 1);
  ColorToRGB(color, &data_[static_cast<size_t>(count_) * 3]);
  ++count_;
  Optimized = false;
  Changed();
  return count_ - 1;
}

int TGIFColorMap::AddUnique(TColor color) {
  const int index = IndexOfColor(color);
  return index >= 0 ? index : Add(color);
}

int TGIFColorMap::IndexOfColor(TColor color) const {
  uint8_t rgb[3];
  ColorToRGB(color, rgb);
  auto matches = [&](int i) { return std::memcmp(&data_[static_cast<size_t>(i) * 3], rgb, 3) == 0; };
  if (Optimized) {
    for (int i = 0; i < count_; ++i)
      if (matches(i)) return i;
  } else {
    for (int i = count_ - 1; i >= 0; --i)
      if (matches(i)) return i;
  }
  return -1;
}

void TGIFColorMap::Delete(int index) {
  if (index < 0 || index >= count_) RaiseGIFError("Invalid color index");
  data_.erase(data_.begin() + index * 3, data_.begin() + index * 3 + 3);
  data_.resize(static_cast<size_t>(capacity_) * 3, 0);
  --count_;
  Optimized = false;
  Changed();
}

void TGIFColorMap::ImportPalette(HPALETTE palette) {
  Clear();
  const int n = palette ? std::min<int>(GetPaletteEntries(palette, 0, 0, nullptr), 256) : 0;
  if (n <= 0) return;
  PALETTEENTRY entries[256];
  GetPaletteEntries(palette, 0, static_cast<UINT>(n), entries);
  SetCapacity(n);
  for (int i = 0; i < n; ++i) {
    data_[i * 3] = entries[i].peRed;
    data_[i * 3 + 1] = entries[i].peGreen;
    data_[i * 3 + 2] = entries[i].peBlue;
  }
  count_ = n;
  Changed();
}

void TGIFColorMap::ImportColorTable(const void* entries, int count) {
  Clear();
  count = std::min(count, 256);
  if (count <= 0) return;
  const auto* q = static_cast<const uint8_t*>(entries);
  SetCapacity(count);
  for (int i = 0; i < count; ++i) {
    data_[i * 3] = q[i * 4 + 2];
    data_[i * 3 + 1] = q[i * 4 + 1];
    data_[i * 3 + 2] = q[i * 4];
  }
  count_ = count;
  Changed();
}

void TGIFColorMap::ImportDIBColors(HDC dc) {
  Clear();
  RGBQUAD table[256];
  const UINT n = GetDIBColorTable(dc, 0, 256, table);
  ImportColorTable(table, static_cast<int>(n));
  Changed();
}

HPALETTE TGIFColorMap::ExportPalette() const {
  if (count_ == 0) return nullptr;
  struct {
    WORD Version;
    WORD Count;
    PALETTEENTRY Entries[256];
  } pal{};
  pal.Version = 0x300;
  pal.Count = static_cast<WORD>(count_);
  for (int i = 0; i < count_; ++i)
    pal.Entries[i] = PALETTEENTRY{data_[i * 3], data_[i * 3 + 1], data_[i * 3 + 2], PC_NOCOLLAPSE};
  return CheckGDIResult(CreatePalette(reinterpret_cast<LOGPALETTE*>(&pal)));
}

void TGIFColorMap::SaveToStream(TStream& stream) const {
  if (count_ == 0) return;
  stream.WriteBuffer(data_.data(), count_ * 3);
  const uint8_t black[3] = {0, 0, 0};
  for (int i = count_; i < (1 << BitsPerPixel()); ++i) stream.WriteBuffer(black, 3);
}

void TGIFColorMap::LoadFromStream(TStream& stream, int count) {
  Clear();
  count = std::clamp(count, 0, 256);
  SetCapacity(count);
  ReadCheck(stream, data_.data(), count * 3);
  count_ = count;
}

bool TGIFColorMap::DoOptimize() {
  if (count_ < 2) return false;
  Optimized = true;
  // Counted by pixel value over all 256 values: damaged frames hold values past the table.
  std::array<int, 256> uses{};
  CountColorUse(uses);
  struct Pair {
    int UseCount;
    int Index;
  };
  std::vector<Pair> pairs(static_cast<size_t>(count_));
  for (int i = 0; i < count_; ++i) pairs[i] = Pair{uses[i], i};

  // The same quicksort every time, so equal counts land in a known order.
  auto sort = [&](auto&& self, int l, int r) -> void {
    int i;
    do {
      i = l;
      int j = r;
      const int pivot = pairs[(l + r) / 2].UseCount;
      do {
        while (pairs[i].UseCount > pivot) ++i;
        while (pairs[j].UseCount < pivot) --j;
        if (i <= j) {
          std::swap(pairs[i], pairs[j]);
          ++i;
          --j;
        }
      } while (i <= j);
      if (l < j) self(self, l, j);
      l = i;
    } while (i < r);
  };
  sort(sort, 0, count_ - 1);

  bool unchanged = true;
  for (int k = 0; k < count_; ++k)
    if (pairs[k].Index != k) unchanged = false;
  if (unchanged) return true;

  std::array<uint8_t, 256> map{};
  for (int i = 0; i < 256; ++i) map[i] = static_cast<uint8_t>(i);
  for (int k = 0; k < count_; ++k) map[pairs[k].Index] = static_cast<uint8_t>(k);
  RemapPixels(map);
  std::vector<uint8_t> old = data_;
  for (int k = 0; k < count_; ++k) std::memcpy(&data_[k * 3], &old[pairs[k].Index * 3], 3);
  for (int k = 0; k < count_; ++k)
    if (pairs[k].UseCount == 0) {
      count_ = k;
      break;
    }
  Changed();
  return true;
}

// ---- the two kinds of table ----
namespace {
template <class F>
void ForFramesUsing(TGIFImage* image, const TGIFColorMap* map, F&& f) {
  if (!image) return;
  for (int i = 0; i < image->Images().Count(); ++i) {
    TGIFSubImage* frame = image->Images().Images(i);
    if (&frame->ActiveColorMap() == map) f(*frame);
  }
}

void CountFrame(TGIFSubImage& frame, std::array<int, 256>& uses) {
  for (uint8_t p : frame.Data) ++uses[p];
}

void RemapFrame(TGIFSubImage& frame, const std::array<uint8_t, 256>& map) {
  for (uint8_t& p : frame.Data) p = map[p];
  if (frame.Transparent && frame.GraphicControlExtension) {
    auto* gce = frame.GraphicControlExtension;
    // Set directly: the table is being rearranged and its count is not final yet.
    gce->SetTransparentColorIndexUnchecked(map[gce->TransparentColorIndex()]);
  }
  frame.FreeBitmap();
  frame.FreeMask();
}
}  // namespace

void TGIFGlobalColorMap::Warning(TGIFSeverity severity, const String& message) {
  if (Header && Header->GIFImage) Header->GIFImage->Warning(this, severity, message);
}

void TGIFGlobalColorMap::CountColorUse(std::array<int, 256>& uses) {
  ForFramesUsing(Header->GIFImage, this, [&](TGIFSubImage& f) { CountFrame(f, uses); });
}

void TGIFGlobalColorMap::RemapPixels(const std::array<uint8_t, 256>& map) {
  ForFramesUsing(Header->GIFImage, this, [&](TGIFSubImage& f) { RemapFrame(f, map); });
  Header->Descriptor.BackgroundColorIndex = map[Header->Descriptor.BackgroundColorIndex];
}

bool TGIFGlobalColorMap::Optimize() {
  if (!Header->GIFImage || Header->GIFImage->Images().Count() == 0) return false;
  return DoOptimize();
}

void TGIFGlobalColorMap::Changed() {
  if (Header && Header->GIFImage) Header->GIFImage->DropPalette();
}

void TGIFLocalColorMap::Warning(TGIFSeverity severity, const String& message) {
  if (SubImage && SubImage->GIFImage) SubImage->GIFImage->Warning(this, severity, message);
}

void TGIFLocalColorMap::CountColorUse(std::array<int, 256>& uses) { CountFrame(*SubImage, uses); }

void TGIFLocalColorMap::RemapPixels(const std::array<uint8_t, 256>& map) { RemapFrame(*SubImage, map); }

bool TGIFLocalColorMap::Optimize() { return DoOptimize(); }

void TGIFLocalColorMap::Changed() {
  if (SubImage) SubImage->SetPalette(nullptr);
}
