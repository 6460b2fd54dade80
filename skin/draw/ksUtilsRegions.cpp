// Mask scanning: a 24-bit copy of the mask is walked row by row and every run of pure
// black pixels becomes one rectangle of a window region.
#include <cstring>

#include "skin/draw/ksUtils.h"

TksFBitmap::TksFBitmap(HBITMAP source) {
  BITMAP bm{};
  if (source && GetObjectA(source, sizeof bm, &bm)) {
    Width = bm.bmWidth;
    Height = bm.bmHeight;
  }
  Header.biSize = sizeof(BITMAPINFOHEADER);
  Header.biWidth = Width;
  Header.biHeight = -Height;  // top-down
  Header.biPlanes = 1;
  Header.biBitCount = 24;
  Header.biCompression = BI_RGB;
  BitmapInfo.bmiHeader = Header;
  void* bits = nullptr;
  if (Width > 0 && Height > 0)
    Handle = CreateDIBSection(nullptr, &BitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!Handle) throw EOutOfResources("Out of system resources");
  Bits = static_cast<BYTE*>(bits);
  InitRows();
  // GetDIBits wants the source selected nowhere; our DC holds only our own section.
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, source, 0, static_cast<UINT>(Height), Bits, &BitmapInfo, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  GdiFlush();
}

TksFBitmap::~TksFBitmap() {
  if (MemoryDC) {
    SelectObject(MemoryDC, oldBitmap_);
    DeleteDC(MemoryDC);
  }
  if (Handle) DeleteObject(Handle);
}

void TksFBitmap::InitRows() {
  Gap = Width % 4;
  RowInc = Width * 3 + Gap;
  Size = RowInc * Height;
  Rows.resize(static_cast<size_t>(Height));
  for (int y = 0; y < Height; ++y) Rows[static_cast<size_t>(y)] = Bits + static_cast<ptrdiff_t>(y) * RowInc;
  MemoryDC = CreateCompatibleDC(nullptr);
  if (MemoryDC) oldBitmap_ = SelectObject(MemoryDC, Handle);
}

size_t CreateRegionData(TBitmap* mask, int x, int y, std::unique_ptr<BYTE[]>& data) {
  data.reset();
  if (!mask || mask->Empty()) return 0;
  std::vector<RECT> runs;  // grows as needed: a busy mask is never cut short
  int width = mask->Width(), height = mask->Height();
  {
    TksFBitmap scan(mask->Handle());
    auto black = [&](const BYTE* row, int col) { return row[3 * col] + row[3 * col + 1] + row[3 * col + 2] == 0; };
    for (int row = 0; row < scan.Height; ++row) {
      const BYTE* p = scan.Rows[static_cast<size_t>(row)];
      int col = 0;
      while (col < scan.Width) {
        if (!black(p, col)) {
          ++col;
          continue;
        }
        int start = col;
        while (col < scan.Width && black(p, col)) ++col;
        runs.push_back(RECT{x + start, y + row, x + col, y + row + 1});
      }
    }
  }
  size_t size = sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT);
  static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(RECT) == 16);
  data.reset(new BYTE[size]());
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(runs.size());
  header.nRgnSize = 0;
  header.rcBound = RECT{x, y, x + width, y + height};
  std::memcpy(data.get(), &header, sizeof header);
  if (!runs.empty()) std::memcpy(data.get() + sizeof header, runs.data(), runs.size() * sizeof(RECT));
  return size;
}

namespace {

TRegion RegionOf(TBitmap* mask, int x, int y) {
  std::unique_ptr<BYTE[]> data;
  size_t size = CreateRegionData(mask, x, y, data);
  if (size == 0) return TRegion();
  return TRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(size), reinterpret_cast<const RGNDATA*>(data.get())));
}

}  // namespace

void CreateSimpleRegion(TRegion& region, TBitmap* mask) { region = RegionOf(mask, 0, 0); }

void CreateSkinRegion(TRegion& region, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                      TRect ClientRect, TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                      TPoint NewRBPoint, TRect NewClientRect, TBitmap* mask, int w, int h) {
  region.reset();
  if (NewLTPoint.X > NewRTPoint.X || NewLTPoint.Y > NewLBPoint.Y) return;
  TBitmap top, left, right, bottom;
  CreateSkinBorderMasks(LTPoint, RTPoint, LBPoint, RBPoint, ClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                        NewRBPoint, NewClientRect, mask, &top, &left, &right, &bottom, w, h);
  struct TPlaced {
    TBitmap* Strip;
    int X, Y;
  };
  const TPlaced placed[] = {{&top, 0, 0},
                            {&bottom, 0, NewClientRect.Bottom},
                            {&left, 0, NewClientRect.Top},
                            {&right, NewClientRect.Right, NewClientRect.Top}};
  TRegion result;
  auto merge = [&](TRegion part) {
    if (!part) return;
    if (!result)
      result = std::move(part);
    else
      CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
  };
  if (!IsNullRect(NewClientRect))
    merge(TRegion(CreateRectRgn(NewClientRect.Left, NewClientRect.Top, NewClientRect.Right, NewClientRect.Bottom)));
  for (const auto& p : placed)
    if (p.Strip->Width() > 0 && p.Strip->Height() > 0) merge(RegionOf(p.Strip, p.X, p.Y));
  region = std::move(result);
}
