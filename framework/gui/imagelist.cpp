#include "framework/gui/imagelist.h"

#include "framework/core/sysutils.h"
#include "framework/gui/commoncontrols.h"

namespace {

constexpr UINT kListFlags = ILC_COLOR24 | ILC_MASK;

COLORREF ToListColor(TColor color) { return color == clNone ? CLR_NONE : ColorToRGB(color); }

UINT DrawFlags(TDrawingStyle style) {
  switch (style) {
    case dsFocus: return ILD_FOCUS;
    case dsSelected: return ILD_SELECTED;
    case dsTransparent: return ILD_TRANSPARENT;
    case dsNormal: break;
  }
  return ILD_NORMAL;
}

// A monochrome memory DC with a bitmap of its own, freed in reverse order.
class TMonoSurface {
 public:
  TMonoSurface(int width, int height)
      : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateBitmap(width, height, 1, 1, nullptr)) {
    if (dc_ == nullptr || bitmap_ == nullptr) throw EOutOfResources("Out of system resources");
    old_ = SelectObject(dc_, bitmap_);
  }
  ~TMonoSurface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TMonoSurface(const TMonoSurface&) = delete;
  TMonoSurface& operator=(const TMonoSurface&) = delete;
  HDC DC() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

// Paints `color` into dc wherever the mask is black (the image), leaving the rest.
void FillThroughMask(HDC dc, int x, int y, int width, int height, HDC mask, TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  // ((D ^ P) & S) ^ P: white source keeps the destination, black takes the brush.
  constexpr DWORD kPSDPxax = 0x00B8074A;
  BitBlt(dc, x, y, width, height, mask, 0, 0, kPSDPxax);
  SetBkColor(dc, oldBk);
  SetTextColor(dc, oldText);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight, TComponent* AOwner)
    : TComponent(AOwner), width_(AWidth), height_(AHeight) {}

TCustomImageList::~TCustomImageList() { FreeHandle(); }

void TCustomImageList::FreeHandle() {
  if (handle_ != nullptr && !ShareImages) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
  if (handle_ == nullptr) {
    InitCommonControlClasses(ICC_WIN95_CLASSES);
    handle_ = ImageList_Create(width_, height_, kListFlags, 4, 4);
    if (handle_ == nullptr) throw EOutOfResources("Out of system resources");
    ImageList_SetBkColor(handle_, ToListColor(bkColor_));
  }
  return handle_;
}

void TCustomImageList::SetHandle(HIMAGELIST value) {
  if (value == handle_) return;
  FreeHandle();
  handle_ = value;
  if (handle_ != nullptr) {
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(handle_, &cx, &cy)) {
      width_ = cx;
      height_ = cy;
    }
    COLORREF bk = ImageList_GetBkColor(handle_);
    bkColor_ = bk == CLR_NONE ? clNone : static_cast<TColor>(bk);
  }
  Change();
}

void TCustomImageList::SetSize(int AWidth, int AHeight) {
  if (AWidth == width_ && AHeight == height_) return;
  if (AWidth <= 0 || AHeight <= 0) throw EInvalidOperation("Invalid image size");
  width_ = AWidth;
  height_ = AHeight;
  if (handle_ != nullptr) ImageList_SetIconSize(handle_, width_, height_);  // also removes every image
  Change();
}

int TCustomImageList::Count() { return handle_ == nullptr ? 0 : ImageList_GetImageCount(handle_); }

void TCustomImageList::CheckIndex(int Index) {
  // ImageList_Remove(-1) would empty the whole list.
  if (Index < 0 || Index >= Count()) throw EInvalidOperation(Format("Invalid image index (%d)", Index));
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (Image == nullptr || Image->Empty()) return -1;
  int index = ImageList_Add(Handle(), Image->Handle(), Mask != nullptr ? Mask->Handle() : nullptr);
  if (index >= 0) Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (Image == nullptr || Image->Empty()) return -1;
  int index = ImageList_AddMasked(Handle(), Image->Handle(), ColorToRGB(MaskColor));
  if (index >= 0) Change();
  return index;
}

int TCustomImageList::AddIcon(TIcon* Image) {
  if (Image == nullptr || Image->Empty()) return -1;
  int index = ImageList_AddIcon(Handle(), Image->Handle());
  if (index >= 0) Change();
  return index;
}

void TCustomImageList::Delete(int Index) {
  CheckIndex(Index);
  ImageList_Remove(handle_, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (handle_ != nullptr) ImageList_RemoveAll(handle_);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (Canvas == nullptr || Index < 0 || Index >= Count()) return;
  HDC dc = Canvas->Handle();
  if (Enabled) {
    ImageList_DrawEx(handle_, Index, dc, X, Y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, DrawFlags(DrawingStyle));
  } else {
    TMonoSurface mask(width_, height_);
    PatBlt(mask.DC(), 0, 0, width_, height_, WHITENESS);
    ImageList_Draw(handle_, Index, mask.DC(), 0, 0, ILD_MASK);
    FillThroughMask(dc, X + 1, Y + 1, width_, height_, mask.DC(), clBtnHighlight);
    FillThroughMask(dc, X, Y, width_, height_, mask.DC(), clBtnShadow);
  }
}

void TCustomImageList::GetIcon(int Index, TIcon* Image) {
  CheckIndex(Index);
  if (Image == nullptr) return;
  HICON icon = ImageList_GetIcon(handle_, Index, ILD_NORMAL);
  if (icon == nullptr) throw EOutOfResources("Out of system resources");
  Image->SetHandle(icon);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  CheckIndex(Index);
  if (Image == nullptr) return;
  Image->SetSize(width_, height_);
  ImageList_Draw(handle_, Index, Image->Canvas()->Handle(), 0, 0, ILD_NORMAL);
  Image->Changed(Image);
}

void TCustomImageList::SetBkColor(TColor value) {
  if (value == bkColor_) return;
  bkColor_ = value;
  if (handle_ != nullptr) ImageList_SetBkColor(handle_, ToListColor(value));
  Change();
}

void TCustomImageList::Change() { OnChange(this); }
