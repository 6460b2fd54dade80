// TCanvas: a drawing surface over any DC, selecting its font, pen and brush lazily.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <mutex>
#include <span>

#include "framework/core/classes.h"
#include "framework/core/colors.h"
#include "framework/core/delegate.h"
#include "framework/core/gdiobjects.h"
#include "framework/core/types.h"

class TGraphic;

// Raster operations for CopyRect and opaque bitmaps.
using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

enum TCanvasState : unsigned {
  csHandleValid = 1,
  csFontValid = 2,
  csPenValid = 4,
  csBrushValid = 8,
  csAllValid = 15,
};

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The DC with font, pen and brush selected. A canvas that cannot make one raises
  // EInvalidOperation.
  HDC Handle();
  // Binds any DC; unbinding selects the DC's own objects back. The base never owns it.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Selects the DC's own objects back; the next operation selects ours again.
  void Refresh();

  TFont* Font() { return &font_; }
  void SetFont(TFont* font) { font_.Assign(font); }
  TPen* Pen() { return &pen_; }
  void SetPen(TPen* pen) { pen_.Assign(pen); }
  TBrush* Brush() { return &brush_; }
  void SetBrush(TBrush* brush) { brush_.Assign(brush); }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
  TPoint PenPos();
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  TRect ClipRect();

  // Recursive, per canvas: threads sharing a bitmap draw under it.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return lockCount_; }

  void MoveTo(int x, int y);
  // Stops one short of (x, y).
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> points);
  void Polyline(std::initializer_list<TPoint> points) { Polyline(std::span<const TPoint>(points.begin(), points.size())); }
  // Closed and filled.
  void Polygon(std::span<const TPoint> points);
  void Polygon(std::initializer_list<TPoint> points) { Polygon(std::span<const TPoint>(points.begin(), points.size())); }
  // Outline on x1..x2-1, y1..y2-1; filled unless the brush is clear.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  void FloodFill(int x, int y, TColor color, bool surface);

  // Opaque in the brush colour with a solid brush, transparent with a clear one; the pen
  // position moves to the end of the text.
  void TextOut(int x, int y, const String& text);
  // Clipped to r, and r filled first with a solid brush.
  void TextRect(const TRect& r, int x, int y, const String& text);
  TSize TextExtent(const String& text);
  int TextWidth(const String& text) { return TextExtent(text).cx; }
  int TextHeight(const String& text) { return TextExtent(text).cy; }

  // The graphic draws itself; null or empty draws nothing.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // StretchBlt with CopyMode; negative extents mirror.
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);

  // CLR_INVALID (-1) outside the surface or the clip region; writes there are ignored.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Called when a drawing needs a DC and there is none (or it was taken away).
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  void RequiredState(unsigned required);
  // For canvases that keep their DC but must make it valid again (a bitmap handed out).
  void InvalidateHandle() { state_ &= ~csHandleValid; }
  void ValidateHandle() { state_ |= csHandleValid; }

 private:
  void DeselectHandles();
  void ObjectChanging(TObject* sender);
  void ObjectChanged(TObject* sender);
  bool PointOnSurface(int x, int y);

  HDC handle_ = nullptr;
  unsigned state_ = 0;
  HGDIOBJ oldFont_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  TFont font_;
  TPen pen_;
  TBrush brush_;
  TCopyMode copyMode_ = cmSrcCopy;
  std::recursive_mutex lock_;
  int lockCount_ = 0;
};

// R's right and bottom move in by one; each ring draws bottom-left -> top-left -> top-right
// in topColor and top-right -> bottom-right -> one left of bottom-left in bottomColor, then
// shrinks by one. R ends width smaller on each side.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
