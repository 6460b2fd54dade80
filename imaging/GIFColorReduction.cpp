// Colour reduction: palettes, lookups, dither engines, the octree quantizer, the DIB
// writer and ReduceColors, which combines them into a new 8-bit bitmap.
#include "imaging/GIFColorReduction.h"

#include <algorithm>
#include <cstring>

#include "framework/core/colors.h"

namespace {
HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
  std::vector<uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * std::max<size_t>(1, entries.size()));
  auto* pal = reinterpret_cast<LOGPALETTE*>(storage.data());
  pal->palVersion = 0x300;
  pal->palNumEntries = static_cast<WORD>(entries.size());
  std::memcpy(pal->palPalEntry, entries.data(), entries.size() * sizeof(PALETTEENTRY));
  return CheckGDIResult(CreatePalette(pal));
}

std::vector<PALETTEENTRY> PaletteEntries(HPALETTE palette) {
  const int n = palette ? std::min<int>(GetPaletteEntries(palette, 0, 0, nullptr), 256) : 0;
  std::vector<PALETTEENTRY> entries(static_cast<size_t>(std::max(n, 0)));
  if (n > 0) GetPaletteEntries(palette, 0, static_cast<UINT>(n), entries.data());
  return entries;
}

int Clamp255(int v) { return std::clamp(v, 0, 255); }
}  // namespace

HPALETTE CreateWebSafePalette() {
  std::vector<PALETTEENTRY> e;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        e.push_back({static_cast<BYTE>(51 * r), static_cast<BYTE>(51 * g), static_cast<BYTE>(51 * b), 0});
  return MakePalette(e);
}

HPALETTE CreateGrayPalette256() {
  std::vector<PALETTEENTRY> e;
  for (int i = 0; i < 256; ++i) e.push_back({static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), PC_NOCOLLAPSE});
  return MakePalette(e);
}

HPALETTE CreateMonochromePalette() { return MakePalette({{0, 0, 0, PC_NOCOLLAPSE}, {255, 255, 255, PC_NOCOLLAPSE}}); }

HPALETTE CreateGrayPalette4() {
  std::vector<PALETTEENTRY> e;
  for (BYTE v : {0, 128, 192, 255}) e.push_back({v, v, v, PC_NOCOLLAPSE});
  return MakePalette(e);
}

HPALETTE CreateScreenHalftonePalette() {
  HDC dc = GetDC(nullptr);
  if (!dc) RaiseGDIError();
  HPALETTE palette = CreateHalftonePalette(dc);
  ReleaseDC(nullptr, dc);
  return CheckGDIResult(palette);
}

// ---- lookups ----
TSlowColorLookup::TSlowColorLookup(HPALETTE palette)
    : TColorLookup(0), palette_(palette), entries_(PaletteEntries(palette)) {
  Colors = static_cast<int>(entries_.size());
}

int TSlowColorLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b) {
  UINT index = GetNearestPaletteIndex(palette_, RGB(red, green, blue));
  if (index >= entries_.size()) index = 0;
  r = entries_[index].peRed;
  g = entries_[index].peGreen;
  b = entries_[index].peBlue;
  return static_cast<int>(index);
}

int TNetscapeColorLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b) {
  const int ri = (red + 3) / 51, gi = (green + 3) / 51, bi = (blue + 3) / 51;
  r = 51 * ri;
  g = 51 * gi;
  b = 51 * bi;
  return 36 * ri + 6 * gi + bi;
}

int TGrayScaleLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b) {
  const int y = (77 * red + 150 * green + 29 * blue) >> 8;
  r = g = b = y;
  return y;
}

int TMonochromeLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b) {
  if (77 * red + 150 * green + 29 * blue > 32512) {
    r = g = b = 255;
    return 1;
  }
  r = g = b = 0;
  return 0;
}

// ---- dither engines ----
int TDitherEngine::Dither(int red, int green, int blue, int& r, int& g, int& b) {
  const int index = Lookup->Lookup(red, green, blue, r, g, b);
  NextColumn();
  return index;
}

void TDitherEngine::NextLine() {
  Direction = -Direction;
  Column = Direction == 1 ? 0 : Width - 1;
}

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int width, TColorLookup* lookup) : TDitherEngine(width, lookup) {
  for (Channel& c : channels_) c.Errors.assign(static_cast<size_t>(width) + 2, 0);
}

int TFloydSteinbergDitherer::Dither(int red, int green, int blue, int& r, int& g, int& b) {
  // A position that left the row (transparent pixels move only the column) reads and
  // writes nothing.
  const bool inside = position_ >= 0 && position_ < Width + 2;
  const int input[3] = {red, green, blue};
  int v[3];
  for (int i = 0; i < 3; ++i) {
    Channel& c = channels_[i];
    const int above = inside ? c.Errors[position_] : 0;
    v[i] = Clamp255(input[i] + (above + c.Cur + 8) / 16);
    c.Cur = v[i];
  }
  const int index = Lookup->Lookup(v[0], v[1], v[2], r, g, b);
  const int got[3] = {r, g, b};
  for (int i = 0; i < 3; ++i) {
    Channel& c = channels_[i];
    const int e = c.Cur - got[i];
    if (e == 0) {
      c.Cur = 0;
      continue;
    }
    if (inside) c.Errors[position_] = c.BelowPrev + 3 * e;
    c.BelowPrev = c.Below + 5 * e;
    c.Below = e;
    c.Cur = 7 * e;
  }
  position_ += Direction;
  NextColumn();
  return index;
}

void TFloydSteinbergDitherer::NextLine() {
  for (Channel& c : channels_) {
    if (position_ >= 0 && position_ < Width + 2) c.Errors[position_] = c.BelowPrev;
    c.Cur = c.Below = c.BelowPrev = 0;
  }
  TDitherEngine::NextLine();
  position_ = Direction == 1 ? 0 : Width + 1;
}

TKernelDitherer::TKernelDitherer(int width, TColorLookup* lookup, const TDitherKernel& kernel)
    : TDitherEngine(width, lookup), kernel_(kernel), position_(kernel.Margin) {
  for (auto& channel : rows_)
    channel.assign(static_cast<size_t>(kernel.Rows), std::vector<int>(static_cast<size_t>(width + 2 * kernel.Margin), 0));
}

int TKernelDitherer::Dither(int red, int green, int blue, int& r, int& g, int& b) {
  const int size = Width + 2 * kernel_.Margin;
  auto at = [&](std::vector<int>& row, int offset) -> int* {
    const int i = position_ + offset * Direction;
    return i >= 0 && i < size ? &row[i] : nullptr;
  };
  const int input[3] = {red, green, blue};
  int v[3];
  for (int i = 0; i < 3; ++i) {
    int* e = at(rows_[i][0], 0);
    v[i] = Clamp255(input[i] + ((e ? *e : 0) + kernel_.Divisor / 2) / kernel_.Divisor);
  }
  const int index = Lookup->Lookup(v[0], v[1], v[2], r, g, b);
  const int got[3] = {r, g, b};
  for (int i = 0; i < 3; ++i) {
    const int e = v[i] - got[i];
    if (e == 0) continue;
    for (int row = 0; row < kernel_.Rows; ++row)
      for (const auto& [offset, weight] : kernel_.Weights[row])
        if (int* slot = at(rows_[i][row], offset)) *slot += e * weight;
  }
  position_ += Direction;
  NextColumn();
  return index;
}

void TKernelDitherer::NextLine() {
  for (auto& channel : rows_) {
    std::fill(channel[0].begin(), channel[0].end(), 0);
    std::rotate(channel.begin(), channel.begin() + 1, channel.end());
  }
  TDitherEngine::NextLine();
  position_ = Direction == 1 ? kernel_.Margin : Width + kernel_.Margin - 1;
}

namespace {
std::vector<std::pair<int, int>> Symmetric(std::initializer_list<std::pair<int, int>> sides, int centre) {
  std::vector<std::pair<int, int>> w;
  for (auto [offset, weight] : sides) {
    w.push_back({-offset, weight});
    w.push_back({offset, weight});
  }
  if (centre) w.push_back({0, centre});
  return w;
}

const TDitherKernel& Kernel(DitherMethod method) {
  static const TDitherKernel stucki{3, 2, 42, {{{1, 8}, {2, 4}}, Symmetric({{2, 2}, {1, 4}}, 8), Symmetric({{2, 1}, {1, 2}}, 4)}};
  static const TDitherKernel sierra{3, 2, 32, {{{1, 5}, {2, 3}}, Symmetric({{2, 2}, {1, 4}}, 5), Symmetric({{1, 2}}, 3)}};
  static const TDitherKernel jajuni{3, 2, 48, {{{1, 7}, {2, 5}}, Symmetric({{2, 3}, {1, 5}}, 7), Symmetric({{2, 1}, {1, 3}}, 5)}};
  static const TDitherKernel burkes{2, 2, 32, {{{1, 8}, {2, 4}}, Symmetric({{2, 2}, {1, 4}}, 8)}};
  static const TDitherKernel steveArche{
      4, 3, 200,
      {{{2, 32}}, {{-3, 12}, {-1, 26}, {1, 30}, {3, 16}}, Symmetric({{2, 12}}, 26), Symmetric({{3, 5}, {1, 12}}, 0)}};
  switch (method) {
    case DitherStucki: return stucki;
    case DitherSierra: return sierra;
    case DitherJaJuNi: return jajuni;
    case DitherBurkes: return burkes;
    default: return steveArche;
  }
}
}  // namespace

std::unique_ptr<TDitherEngine> CreateDitherEngine(DitherMethod method, int width, TColorLookup* lookup) {
  switch (method) {
    case DitherNearest: return std::make_unique<TDitherEngine>(width, lookup);
    case DitherFloydSteinberg: return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case DitherStucki:
    case DitherSierra:
    case DitherJaJuNi:
    case DitherSteveArche:
    case DitherBurkes: return std::make_unique<TKernelDitherer>(width, lookup, Kernel(method));
  }
  return nullptr;
}

// ---- octree ----
struct TColorQuantizer::Node {
  bool IsLeaf = false;
  int PixelCount = 0;
  int64_t RedSum = 0, GreenSum = 0, BlueSum = 0;
  Node* Next = nullptr;
  std::array<Node*, 8> Child{};
  ~Node() {
    for (Node* c : Child) delete c;
  }
};

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits)
    : maxColors_(std::max(1, maxColors)), colorBits_(std::clamp(colorBits, 1, 8)) {}

TColorQuantizer::~TColorQuantizer() { delete tree_; }

void TColorQuantizer::ProcessImage(TBitmap& bitmap24) {
  for (int y = 0; y < bitmap24.Height(); ++y) {
    const auto* p = static_cast<const uint8_t*>(bitmap24.ScanLine(y));
    for (int x = 0; x < bitmap24.Width(); ++x, p += 3) AddColor(p[2], p[1], p[0]);
  }
}

void TColorQuantizer::AddColor(int red, int green, int blue) {
  Add(tree_, red, green, blue, 0);
  while (leafCount_ > maxColors_) ReduceTree();
}

void TColorQuantizer::Add(Node*& node, int red, int green, int blue, int level) {
  if (!node) {
    node = new Node();
    if (level == colorBits_) {
      node->IsLeaf = true;
      ++leafCount_;
    } else {
      node->Next = reducible_[level];
      reducible_[level] = node;
    }
  }
  if (node->IsLeaf) {
    ++node->PixelCount;
    node->RedSum += red;
    node->GreenSum += green;
    node->BlueSum += blue;
    return;
  }
  const int shift = 7 - level;
  const int m = 0x80 >> level;
  const int index = (((red & m) >> shift) << 2) | (((green & m) >> shift) << 1) | ((blue & m) >> shift);
  Add(node->Child[index], red, green, blue, level + 1);
}

void TColorQuantizer::ReduceTree() {
  int level = colorBits_ - 1;
  while (level > 0 && !reducible_[level]) --level;
  Node* node = reducible_[level];
  if (!node) return;
  reducible_[level] = node->Next;
  int children = 0;
  for (Node*& child : node->Child) {
    if (!child) continue;
    node->PixelCount += child->PixelCount;
    node->RedSum += child->RedSum;
    node->GreenSum += child->GreenSum;
    node->BlueSum += child->BlueSum;
    delete child;
    child = nullptr;
    ++children;
  }
  node->IsLeaf = true;
  leafCount_ -= children - 1;
}

std::vector<RGBQUAD> TColorQuantizer::GetColorTable() const {
  std::vector<RGBQUAD> table;
  auto walk = [&](auto&& self, const Node* node) -> void {
    if (!node) return;
    if (node->IsLeaf) {
      RGBQUAD q{};
      if (node->PixelCount > 0) {
        q.rgbRed = static_cast<BYTE>(node->RedSum / node->PixelCount);
        q.rgbGreen = static_cast<BYTE>(node->GreenSum / node->PixelCount);
        q.rgbBlue = static_cast<BYTE>(node->BlueSum / node->PixelCount);
      }
      table.push_back(q);
      return;
    }
    for (const Node* c : node->Child) self(self, c);
  };
  walk(walk, tree_);
  return table;
}

namespace {
// Entries past the last leaf stay black.
HPALETTE PaletteFromQuantizer(TColorQuantizer& quantizer, int colors, bool addSystemColors) {
  const std::vector<RGBQUAD> table = quantizer.GetColorTable();
  std::vector<PALETTEENTRY> e;
  auto add = [&](int count) {
    for (int i = 0; i < count; ++i) {
      const RGBQUAD q = i < static_cast<int>(table.size()) ? table[i] : RGBQUAD{};
      e.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
    }
  };
  if (!addSystemColors) {
    add(colors);
    return MakePalette(e);
  }
  const std::vector<PALETTEENTRY> stock = PaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
  for (int i = 0; i < 10; ++i) e.push_back(i < static_cast<int>(stock.size()) ? stock[i] : PALETTEENTRY{});
  add(236);
  for (int i = 10; i < 20; ++i) e.push_back(i < static_cast<int>(stock.size()) ? stock[i] : PALETTEENTRY{});
  return MakePalette(e);
}
}  // namespace

HPALETTE CreateOptimizedPaletteFromBitmap(TBitmap& bitmap, int colors, int colorBits, bool addSystemColors) {
  bitmap.SetPixelFormat(pf24bit);
  TColorQuantizer quantizer(addSystemColors ? 236 : colors, colorBits);
  quantizer.ProcessImage(bitmap);
  return PaletteFromQuantizer(quantizer, colors, addSystemColors);
}

// ---- DIB writer ----
TDIBWriter::TDIBWriter(TBitmap& bitmap, TPixelFormat format, int width, int height, HPALETTE palette)
    : bitmap_(bitmap), width_(width), height_(height) {
  if (format != pf8bit && format != pf24bit) RaiseGIFError("Unsupported PixelFormat");
  if (width <= 0 || height <= 0) RaiseGIFError("Invalid image dimensions");
  bits_ = format == pf8bit ? 8 : 24;
  rowSize_ = BytesPerScanline(width, bits_, 32);
  if (bits_ == 8) {
    colors_.assign(256, RGBQUAD{});
    const std::vector<PALETTEENTRY> entries = PaletteEntries(palette);
    for (size_t i = 0; i < entries.size(); ++i)
      colors_[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    importantColors_ = static_cast<int>(entries.size());
  }
  try {
    pixels_.assign(static_cast<size_t>(rowSize_) * static_cast<size_t>(height), 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Failed to allocate memory for GIF DIB");
  }
}

TDIBWriter::~TDIBWriter() {
  try {
    Finish();
  } catch (...) {
  }
}

uint8_t* TDIBWriter::GetScanline(int row) {
  if (row < 0 || row >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
  return pixels_.data() + static_cast<size_t>(height_ - 1 - row) * rowSize_;
}

void TDIBWriter::Finish() {
  if (finished_) return;
  finished_ = true;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = height_;
  info.biPlanes = 1;
  info.biBitCount = static_cast<WORD>(bits_);
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels_.size());
  if (bits_ == 8) {
    info.biClrUsed = 256;
    info.biClrImportant = static_cast<DWORD>(importantColors_);
  }
  const DWORD headerSize = static_cast<DWORD>(sizeof info + colors_.size() * sizeof(RGBQUAD));
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = static_cast<DWORD>(sizeof file) + headerSize;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels_.size());
  TMemoryStream stream;
  stream.WriteBuffer(&file, sizeof file);
  stream.WriteBuffer(&info, sizeof info);
  if (!colors_.empty()) stream.WriteBuffer(colors_.data(), static_cast<int>(colors_.size() * sizeof(RGBQUAD)));
  stream.WriteBuffer(pixels_.data(), static_cast<int>(pixels_.size()));
  stream.SetPosition(0);
  bitmap_.LoadFromStream(stream);
}

std::unique_ptr<TBitmap> NewDIBTarget(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  if (int64_t{width} * height > 500000) bitmap->SetPixelFormat(pf1bit);
  return bitmap;
}

// ---- ReduceColors ----
TBitmap* ReduceColors(TBitmap* bitmap, ColorReductionMethod method, DitherMethod dither, int reductionBits,
                      HPALETTE customPalette) {
  if (method == ReduceNone) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(bitmap);
    copy->SetPixelFormat(pf24bit);
    return copy.release();
  }
  const int width = bitmap->Width();
  const int height = bitmap->Height();
  std::unique_ptr<TBitmap> result = NewDIBTarget(width, height);
  reductionBits = std::clamp(reductionBits, 1, 8);
  bitmap->SetPixelFormat(pf24bit);
  HPALETTE palette = nullptr;
  switch (method) {
    case ReduceSystem20: palette = CopyPalette(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE))); break;
    case ReduceHalftone: palette = CreateScreenHalftonePalette(); break;
    case ReduceGray4: palette = CreateGrayPalette4(); break;
    case ReduceMonochrome: palette = CreateMonochromePalette(); break;
    case ReduceGray256: palette = CreateGrayPalette256(); break;
    case ReduceWebSafe: palette = CreateWebSafePalette(); break;
    case ReduceOptimized: palette = CreateOptimizedPaletteFromBitmap(*bitmap, 1 << reductionBits, 8, false); break;
    case ReduceOptimizedSystem: palette = CreateOptimizedPaletteFromBitmap(*bitmap, 256, 8, true); break;
    case ReduceCustomPalette: palette = customPalette ? CopyPalette(customPalette) : nullptr; break;
    default: return result.release();
  }
  struct PaletteGuard {
    HPALETTE h;
    ~PaletteGuard() {
      if (h) DeleteObject(h);
    }
  } guard{palette};
  std::unique_ptr<TColorLookup> lookup;
  switch (method) {
    case ReduceMonochrome: lookup = std::make_unique<TMonochromeLookup>(); break;
    case ReduceGray256: lookup = std::make_unique<TGrayScaleLookup>(); break;
    case ReduceWebSafe: lookup = std::make_unique<TNetscapeColorLookup>(); break;
    default: lookup = std::make_unique<TSlowColorLookup>(palette); break;
  }
  if (lookup->Colors == 0) return result.release();
  std::unique_ptr<TDitherEngine> engine = CreateDitherEngine(dither, width, lookup.get());
  if (!engine) return result.release();
  {
    TDIBWriter writer(*result, pf8bit, width, height, palette);
    for (int y = 0; y < height; ++y) {
      const auto* source = static_cast<const uint8_t*>(bitmap->ScanLine(y));
      uint8_t* target = writer.GetScanline(y);
      int r, g, b;
      while (engine->Column >= 0 && engine->Column < width) {
        const int x = engine->Column;
        const uint8_t* p = source + x * 3;
        target[x] = static_cast<uint8_t>(engine->Dither(p[2], p[1], p[0], r, g, b));
      }
      engine->NextLine();
    }
    writer.Finish();
  }
  return result.release();
}
