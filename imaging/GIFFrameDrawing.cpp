// Frame conversion and drawing: rendering a frame into an 8-bit bitmap with a
// transparency mask, drawing it, importing bitmaps and other graphics, crop and merge.
#include <algorithm>
#include <cstring>

#include "framework/core/colors.h"
#include "framework/core/icon.h"
#include "framework/core/metafile.h"
#include "framework/core/osversion.h"
#include "imaging/GIFColorReduction.h"
#include "imaging/GIFImage.h"

namespace {
constexpr DWORD kDstCopy = 0x00AA0029;

// Mask rows are whole 16-bit words, bits from the most significant, 1 = transparent.
class TMaskRows {
 public:
  TMaskRows(int width, int height)
      : width_(width), height_(height), stride_((width + 15) / 16 * 2),
        bits_(static_cast<size_t>(stride_) * static_cast<size_t>(height), 0) {}
  void Set(int x, int y) {
    bits_[static_cast<size_t>(y) * stride_ + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    any_ = true;
  }
  bool Any() const { return any_; }
  HBITMAP Create() const { return CheckGDIResult(CreateBitmap(width_, height_, 1, 1, bits_.data())); }

 private:
  int width_, height_, stride_;
  std::vector<uint8_t> bits_;
  bool any_ = false;
};

void Progress(TGIFSubImage& frame, TProgressStage stage, int percent, bool redraw, const String& message) {
  if (frame.GIFImage) frame.GIFImage->Progress(&frame, stage, static_cast<BYTE>(percent), redraw, TRect{}, message);
}

// A memory DC released with its selection put back.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC like = nullptr) : dc_(CheckGDIResult(CreateCompatibleDC(like))) {}
  ~TMemoryDC() {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  void Select(HGDIOBJ object) {
    HGDIOBJ previous = SelectObject(dc_, object);
    if (!old_) old_ = previous;
  }
  HDC Handle() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

struct TGdiObject {
  HGDIOBJ h;
  ~TGdiObject() {
    if (h) DeleteObject(h);
  }
};
}  // namespace

// Copies the source where the mask is 0 and leaves the destination where it is 1.
void TransparentStretchBlt(HDC dstDC, int dstX, int dstY, int dstW, int dstH, HDC srcDC, int srcX, int srcY,
                           int srcW, int srcH, HDC maskDC, int maskX, int maskY) {
  if (Win32Platform() == VER_PLATFORM_WIN32_NT && dstW == srcW && dstH == srcH) {
    TGdiObject temp{CreateCompatibleBitmap(srcDC, 1, 1)};
    HGDIOBJ mask = SelectObject(maskDC, temp.h);
    MaskBlt(dstDC, dstX, dstY, dstW, dstH, srcDC, srcX, srcY, static_cast<HBITMAP>(mask), maskX, maskY,
            MAKEROP4(kDstCopy, SRCCOPY));
    SelectObject(maskDC, mask);
    return;
  }
  TMemoryDC memory(dstDC);
  TGdiObject memoryBitmap{CheckGDIResult(CreateCompatibleBitmap(dstDC, srcW, srcH))};
  memory.Select(memoryBitmap.h);
  TMemoryDC inverted(nullptr);
  TGdiObject invertedBitmap{CheckGDIResult(CreateBitmap(srcW, srcH, 1, 1, nullptr))};
  inverted.Select(invertedBitmap.h);
  BitBlt(inverted.Handle(), 0, 0, srcW, srcH, maskDC, maskX, maskY, NOTSRCCOPY);
  HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  HPALETTE sourcePalette = SelectPalette(srcDC, stock, TRUE);
  SelectPalette(srcDC, sourcePalette, TRUE);
  HPALETTE oldPalette = SelectPalette(memory.Handle(), sourcePalette ? sourcePalette : stock, TRUE);
  RealizePalette(memory.Handle());
  BitBlt(memory.Handle(), 0, 0, srcW, srcH, inverted.Handle(), 0, 0, SRCCOPY);
  BitBlt(memory.Handle(), 0, 0, srcW, srcH, srcDC, srcX, srcY, SRCAND);
  const COLORREF text = SetTextColor(dstDC, RGB(0, 0, 0));
  const COLORREF back = SetBkColor(dstDC, RGB(255, 255, 255));
  StretchBlt(dstDC, dstX, dstY, dstW, dstH, maskDC, maskX, maskY, srcW, srcH, SRCAND);
  StretchBlt(dstDC, dstX, dstY, dstW, dstH, memory.Handle(), 0, 0, srcW, srcH, SRCPAINT);
  SetTextColor(dstDC, text);
  SetBkColor(dstDC, back);
  SelectPalette(memory.Handle(), oldPalette, TRUE);
}

TBitmap* TGIFSubImage::Bitmap() {
  if (bitmap_ || Empty()) return bitmap_;
  Progress(*this, psStarting, 0, false, "Rendering...");
  try {
    bitmap_ = (GIFImage && GIFImage->DoDither()) ? CreateDitheredBitmap() : CreateBitmapFromData();
  } catch (...) {
    RenderingDone(false);
    throw;
  }
  RenderingDone(true);
  return bitmap_;
}

void TGIFSubImage::RenderingDone(bool ok) {
  const bool modified = GIFImage && GIFImage->PaletteModified();
  Progress(*this, psEnding, ok ? 100 : 0, modified, "Rendering...");
  if (modified) GIFImage->Changed(this);
}

namespace {

// A frame without data renders as a bitmap of its size with its palette.
void SizeEmpty(TBitmap& bitmap, int width, int height, HPALETTE palette) {
  bitmap.SetSize(width, height);
  if (palette) bitmap.SetPalette(CopyPalette(palette));
}

}  // namespace

TBitmap* TGIFSubImage::CreateBitmapFromData() {
  std::unique_ptr<TBitmap> result = NewDIBTarget(Width(), Height());
  if (Empty()) {
    SizeEmpty(*result, Width(), Height(), GetPalette());
    return result.release();
  }
  const int width = Width(), height = Height();
  TDIBWriter writer(*result, pf8bit, width, height, GetPalette());
  const bool wantMask = needMask_ && Transparent;
  needMask_ = false;
  const uint8_t transparentIndex = TransparentColorIndex();
  std::unique_ptr<TMaskRows> mask;
  if (wantMask) mask = std::make_unique<TMaskRows>(width, height);
  for (int y = 0; y < height; ++y) {
    if (y % 32 == 0) Progress(*this, psRunning, y * 100 / height, false, "Rendering...");
    const uint8_t* row = Data.data() + static_cast<size_t>(y) * width;
    std::memcpy(writer.GetScanline(y), row, static_cast<size_t>(width));
    if (mask)
      for (int x = 0; x < width; ++x)
        if (row[x] == transparentIndex) mask->Set(x, y);
  }
  if (mask && mask->Any()) mask_ = mask->Create();
  writer.Finish();
  return result.release();
}

TBitmap* TGIFSubImage::CreateDitheredBitmap() {
  std::unique_ptr<TBitmap> result = NewDIBTarget(Width(), Height());
  if (Empty()) {
    SizeEmpty(*result, Width(), Height(), GetPalette());
    return result.release();
  }
  const int width = Width(), height = Height();
  TNetscapeColorLookup lookup;
  TFloydSteinbergDitherer engine(width, &lookup);
  TDIBWriter writer(*result, pf8bit, width, height, GetPalette());
  TGIFColorMap& colors = ActiveColorMap();
  const bool wantMask = needMask_ && Transparent;
  needMask_ = false;
  const uint8_t transparentIndex = TransparentColorIndex();
  uint8_t fill = 0;
  std::unique_ptr<TMaskRows> mask;
  if (wantMask) {
    // An index past the table warns and reads its first entry; a frame without any table
    // renders black, its transparent pixels too.
    const TColor c = colors.Count() > 0 ? colors.Colors(transparentIndex) : 0;
    fill = static_cast<uint8_t>((MulDiv(36, GetRValue(c), 51) + MulDiv(6, GetGValue(c), 51) + GetBValue(c) / 51 + 1) & 0xFF);
    mask = std::make_unique<TMaskRows>(width, height);
  }
  const int count = colors.Count();
  const uint8_t* table = colors.Data();
  for (int y = 0; y < height; ++y) {
    if (y % 32 == 0) Progress(*this, psRunning, y * 100 / height, false, "Rendering...");
    const uint8_t* row = Data.data() + static_cast<size_t>(y) * width;
    uint8_t* target = writer.GetScanline(y);
    if (mask) std::memset(target, fill, static_cast<size_t>(width));
    int r, g, b;
    while (engine.Column >= 0 && engine.Column < width) {
      const int x = engine.Column;
      const uint8_t index = row[x];
      if (mask && index == transparentIndex) {
        mask->Set(x, y);
        engine.NextColumn();
        continue;
      }
      // Pixel values past the table show its first entry, as reading the colour would.
      const uint8_t* rgb = count == 0 ? nullptr : table + (index < count ? index : 0) * 3;
      target[x] = static_cast<uint8_t>(rgb ? engine.Dither(rgb[0], rgb[1], rgb[2], r, g, b) : engine.Dither(0, 0, 0, r, g, b));
    }
    engine.NextLine();
  }
  if (mask && mask->Any()) mask_ = mask->Create();
  writer.Finish();
  return result.release();
}

TRect TGIFSubImage::ScaleRect(const TRect& rect) const {
  const int w = GIFImage && GIFImage->Width() > 0 ? GIFImage->Width() : std::max(1, Width());
  const int h = GIFImage && GIFImage->Height() > 0 ? GIFImage->Height() : std::max(1, Height());
  const int rw = rect.Width(), rh = rect.Height();
  return TRect{rect.Left + MulDiv(Left(), rw, w), rect.Top + MulDiv(Top(), rh, h),
               rect.Left + MulDiv(Left() + Width(), rw, w), rect.Top + MulDiv(Top() + Height(), rh, h)};
}

void TGIFSubImage::Draw(TCanvas& canvas, const TRect& rect, bool doTransparent, bool doTile) {
  StretchDraw(canvas, doTile ? rect : ScaleRect(rect), doTransparent, doTile);
}

void TGIFSubImage::StretchDraw(TCanvas& canvas, const TRect& rect, bool doTransparent, bool doTile) {
  TBitmap* bitmap = Bitmap();
  if (!bitmap) return;
  const int stepX = std::max(1, GIFImage ? GIFImage->Width() : Width());
  const int stepY = std::max(1, GIFImage ? GIFImage->Height() : Height());
  if (doTransparent && Transparent && HasMask()) {
    bitmap = Bitmap();
    TMemoryDC maskDC;
    maskDC.Select(mask_);
    HDC source = bitmap->Canvas()->Handle();
    HDC target = canvas.Handle();
    if (doTile) {
      for (int x = rect.Left + Left(); x < rect.Right; x += stepX)
        for (int y = rect.Top + Top(); y < rect.Bottom; y += stepY)
          TransparentStretchBlt(target, x, y, Width(), Height(), source, 0, 0, Width(), Height(), maskDC.Handle(), 0, 0);
    } else {
      TransparentStretchBlt(target, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, Width(), Height(),
                            maskDC.Handle(), 0, 0);
    }
    canvas.OnChange(&canvas);
    return;
  }
  if (doTile) {
    for (int x = rect.Left + Left(); x < rect.Right; x += stepX)
      for (int y = rect.Top + Top(); y < rect.Bottom; y += stepY)
        canvas.StretchDraw(TRect{x, y, x + Width(), y + Height()}, bitmap);
  } else {
    canvas.StretchDraw(rect, bitmap);
  }
}

// ---- assignment ----
void TGIFSubImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    bitmap->Assign(Bitmap());
    return;
  }
  TGIFItem::AssignTo(Dest);
}

void TGIFSubImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    return;
  }
  if (auto* frame = dynamic_cast<TGIFSubImage*>(Source)) {
    Clear();
    if (frame->Empty()) return;
    Descriptor = frame->Descriptor;
    Data = frame->Data;
    LocalColorMap.Assign(&frame->LocalColorMap);
    if (frame->Extensions.Count() > 0) {
      TMemoryStream stream;
      frame->Extensions.SaveToStream(stream);
      WriteByte(stream, ',');
      stream.SetPosition(0);
      Extensions.LoadFromStream(stream, this);
    }
    // Set after the extensions: a copied control extension may have set it already.
    Transparent = frame->Transparent;
    if (frame->HasBitmap()) {
      NewBitmap();
      bitmap_->Assign(frame->bitmap_);
    }
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    AssignFromBitmap(bitmap);
    return;
  }
  if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    Assign(picture->Graphic());
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    AssignFromGraphic(graphic);
    return;
  }
  TGIFItem::Assign(Source);
}

void TGIFSubImage::AssignFromBitmap(TBitmap* source) {
  Clear();
  if (source->Empty()) return;
  SetBounds(0, 0, source->Width(), source->Height());
  const TPixelFormat format = source->PixelFormat();
  FreeBitmap();
  if (format == pfDevice || format > pf8bit) {
    bitmap_ = ReduceColors(source, GIFImage ? GIFImage->ColorReduction : ReduceWebSafe,
                           GIFImage ? GIFImage->DitherMode : DitherNearest, GIFImage ? GIFImage->ReductionBits() : 8,
                           nullptr);
  } else {
    NewBitmap();
    bitmap_->Assign(source);
  }
  NewImage();
  Progress(*this, psStarting, 0, false, "Converting...");
  bool ok = false;
  try {
    if (bitmap_->Empty() || bitmap_->Width() != Width() || bitmap_->Height() != Height())
      RaiseGIFError("Unsupported PixelFormat");
    const int width = Width(), height = Height();
    TPixelFormat depth = bitmap_->PixelFormat();
    if (depth != pf1bit && depth != pf4bit && depth != pf8bit) {
      bitmap_->SetPixelFormat(pf24bit);
      depth = pf24bit;
    }
    if (depth == pf8bit)
      LocalColorMap.ImportDIBColors(bitmap_->Canvas()->Handle());
    else if (depth != pf24bit)
      LocalColorMap.ImportPalette(bitmap_->Palette());
    std::array<int32_t, 8> cacheValue;
    std::array<int, 8> cacheIndex{};
    cacheValue.fill(-1);
    int cacheNext = 0, lastFound = 0;
    for (int y = 0; y < height; ++y) {
      if (y % 32 == 0) Progress(*this, psRunning, y * 100 / height, false, "Converting...");
      const auto* p = static_cast<const uint8_t*>(bitmap_->ScanLine(y));
      uint8_t* out = Data.data() + static_cast<size_t>(y) * width;
      for (int x = 0; x < width; ++x) {
        switch (depth) {
          case pf1bit: out[x] = (p[x / 8] >> (7 - x % 8)) & 1; break;
          case pf4bit: out[x] = (x % 2 == 0) ? p[x / 2] >> 4 : p[x / 2] & 0x0F; break;
          case pf8bit: out[x] = p[x]; break;
          default: {
            const int32_t value = p[x * 3] | (p[x * 3 + 1] << 8) | (p[x * 3 + 2] << 16);
            int found = -1;
            for (int k = 0, i = lastFound; k < 8; ++k, i = (i + 7) % 8) {
              if (cacheValue[i] < 0) break;
              if (cacheValue[i] == value) {
                found = i;
                break;
              }
            }
            if (found < 0) {
              const int index = LocalColorMap.AddUnique(RGB(p[x * 3 + 2], p[x * 3 + 1], p[x * 3]));
              found = cacheNext;
              cacheValue[found] = value;
              cacheIndex[found] = index;
              cacheNext = (cacheNext + 1) % 8;
            }
            lastFound = found;
            out[x] = static_cast<uint8_t>(cacheIndex[found]);
          }
        }
      }
    }
    if (source->Transparent()) ImportMask(source->MaskHandle());
    ok = true;
  } catch (...) {
    Progress(*this, psEnding, 0, GIFImage && GIFImage->PaletteModified(), "Converting...");
    throw;
  }
  Progress(*this, psEnding, ok ? 100 : 0, GIFImage && GIFImage->PaletteModified(), "Converting...");
}

void TGIFSubImage::AssignFromGraphic(TGraphic* source) {
  Clear();
  if (source->Empty()) return;
  auto* icon = dynamic_cast<TIcon*>(source);
  auto* metafile = dynamic_cast<TMetafile*>(source);
  TBitmap temp;
  auto drawGraphic = [&] {
    temp.SetSize(source->Width(), source->Height());
    temp.SetPixelFormat(pf24bit);
    temp.Canvas()->Draw(0, 0, source);
  };
  if (icon || metafile) {
    try {
      drawGraphic();
    } catch (const Exception&) {
      temp.Assign(source);
    }
  } else {
    try {
      temp.Assign(source);
    } catch (const Exception&) {
      drawGraphic();
    }
  }
  AssignFromBitmap(&temp);
  if (icon && icon->HandleAllocated()) {
    ICONINFO info{};
    if (GetIconInfo(icon->Handle(), &info)) {
      try {
        ImportMask(info.hbmMask);
      } catch (...) {
        DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        throw;
      }
      DeleteObject(info.hbmMask);
      if (info.hbmColor) DeleteObject(info.hbmColor);
    }
  } else if (metafile) {
    ImportDrawnTransparency(metafile);
  }
}

// Drawn on white and on black: where the two differ, the graphic left the background.
void TGIFSubImage::ImportDrawnTransparency(TGraphic* graphic) {
  const int w = graphic->Width(), h = graphic->Height();
  TBitmap white(w, h, pf24bit), black(w, h, pf24bit);
  white.Canvas()->Brush()->SetColor(clWhite);
  white.Canvas()->FillRect(TRect{0, 0, w, h});
  black.Canvas()->Brush()->SetColor(clBlack);
  black.Canvas()->FillRect(TRect{0, 0, w, h});
  white.Canvas()->Draw(0, 0, graphic);
  black.Canvas()->Draw(0, 0, graphic);
  white.Canvas()->SetCopyMode(cmSrcInvert);
  white.Canvas()->CopyRect(TRect{0, 0, w, h}, black.Canvas(), TRect{0, 0, w, h});
  MakeTransparent(white);
}

void TGIFSubImage::ImportMask(HBITMAP maskHandle) {
  if (!maskHandle) return;
  TBitmap mask;
  mask.SetHandle(static_cast<HBITMAP>(CopyImage(maskHandle, IMAGE_BITMAP, 0, 0, 0)));
  MakeTransparent(mask);
}

void TGIFSubImage::MakeTransparent(TBitmap& maskBitmap) {
  LocalColorMap.Optimize();
  if (LocalColorMap.Count() == 0 || LocalColorMap.Count() == 256) return;
  const int index = LocalColorMap.Add(clBlack);
  maskBitmap.SetPixelFormat(pf24bit);
  bool changed = false;
  // Only the part both cover: a mask of another size leaves the rest opaque.
  const int width = std::min(Width(), maskBitmap.Width());
  const int height = std::min(Height(), maskBitmap.Height());
  for (int y = 0; y < height; ++y) {
    const auto* m = static_cast<const uint8_t*>(maskBitmap.ScanLine(y));
    uint8_t* row = Data.data() + static_cast<size_t>(y) * Width();
    for (int x = 0; x < width; ++x)
      if (m[x * 3] | m[x * 3 + 1] | m[x * 3 + 2]) {
        row[x] = static_cast<uint8_t>(index);
        changed = true;
      }
  }
  if (!changed) {
    LocalColorMap.Delete(index);
    return;
  }
  auto* gce = new TGIFGraphicControlExtension(this);
  Extensions.Add(gce);
  gce->SetTransparent(true);
  gce->SetTransparentColorIndex(static_cast<uint8_t>(index));
  FreeBitmap();
  FreeMask();
}

// ---- editing ----
void TGIFSubImage::Crop() {
  if (!Transparent || Empty()) return;
  const uint8_t t = TransparentColorIndex();
  const int width = Width(), height = Height();
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (Data[static_cast<size_t>(y) * width + x] != t) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) {
    Clear();
    return;
  }
  const int w = right - left + 1, h = bottom - top + 1;
  std::vector<uint8_t> cropped(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    std::memcpy(&cropped[static_cast<size_t>(y) * w], &Data[static_cast<size_t>(y + top) * width + left], static_cast<size_t>(w));
  Data = std::move(cropped);
  Descriptor.Left = static_cast<uint16_t>(Descriptor.Left + left);
  Descriptor.Top = static_cast<uint16_t>(Descriptor.Top + top);
  Descriptor.Width = static_cast<uint16_t>(w);
  Descriptor.Height = static_cast<uint16_t>(h);
  FreeBitmap();
  FreeMask();
}

void TGIFSubImage::Merge(TGIFSubImage* previous) {
  if (Empty() || !previous || previous->Empty()) return;
  if (previous->GraphicControlExtension && previous->GraphicControlExtension->Disposal() >= DisposalBackground &&
      previous->GraphicControlExtension->Disposal() <= DisposalPrevious)
    return;
  const TRect a = BoundsRect(), b = previous->BoundsRect();
  const TRect cut{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (cut.Left >= cut.Right || cut.Top >= cut.Bottom) return;
  int transparentIndex = -1;
  bool needIndex = false;
  if (Transparent) {
    transparentIndex = TransparentColorIndex();
  } else {
    const int count = ActiveColorMap().Count();
    if (count == 0 || count == 256) return;
    needIndex = true;
  }
  const int previousTransparent = previous->Transparent ? previous->TransparentColorIndex() : -1;
  TGIFColorMap& mine = ActiveColorMap();
  TGIFColorMap& theirs = previous->ActiveColorMap();
  auto colorOf = [](TGIFColorMap& map, int index) -> int32_t {
    if (index >= map.Count()) return -1;
    const uint8_t* p = map.Data() + index * 3;
    return p[0] | (p[1] << 8) | (p[2] << 16);
  };
  auto hasPixel = [&](int value) { return std::find(Data.begin(), Data.end(), static_cast<uint8_t>(value)) != Data.end(); };
  auto makeIndex = [&]() -> int {
    if (LocalColorMap.Count() > 0) return LocalColorMap.Add(clBlack);
    for (int i = 0; GIFImage && i < GIFImage->Images().Count(); ++i) {
      TGIFSubImage* other = GIFImage->Images().Images(i);
      // Borrowed only when no pixel of this frame already has that value.
      if (other != this && other->Transparent && other->LocalColorMap.Count() == 0 &&
          !hasPixel(other->TransparentColorIndex()))
        return other->TransparentColorIndex();
    }
    if (GIFImage) return GIFImage->Header().ColorMap.Add(clBlack);
    return LocalColorMap.Add(clBlack);
  };
  bool made = false;
  for (int y = cut.Top; y < cut.Bottom; ++y)
    for (int x = cut.Left; x < cut.Right; ++x) {
      uint8_t& p = Data[static_cast<size_t>(y - Top()) * Width() + (x - Left())];
      const uint8_t q = previous->Data[static_cast<size_t>(y - previous->Top()) * previous->Width() + (x - previous->Left())];
      if (transparentIndex >= 0 && p == transparentIndex) continue;
      if (q == previousTransparent) continue;
      const bool same = (&mine == &theirs && p == q) || (colorOf(mine, p) >= 0 && colorOf(mine, p) == colorOf(theirs, q));
      if (!same) continue;
      if (transparentIndex < 0) {
        transparentIndex = makeIndex();
        made = true;
      }
      p = static_cast<uint8_t>(transparentIndex);
    }
  if (made && needIndex) {
    TGIFGraphicControlExtension* gce = GraphicControlExtension;
    if (!gce) {
      gce = new TGIFGraphicControlExtension(this);
      Extensions.Add(gce);
    }
    gce->SetTransparent(true);
    gce->SetTransparentColorIndexUnchecked(static_cast<uint8_t>(transparentIndex));
  }
  FreeBitmap();
  FreeMask();
}
