// TFont, TPen and TBrush: drawing attributes, each with a lazily made GDI handle of its own.
#pragma once

#include <windows.h>

#include "framework/core/classes.h"
#include "framework/core/colors.h"
#include "framework/core/delegate.h"
#include "framework/core/handles.h"

class TBitmap;

// Shared behaviour: OnChange after each change (once per Assign), and a handle made on
// demand, owned by the object and dropped when the attributes change.
class TGraphicsObject : public TPersistent {
 public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;

  bool HandleAllocated() const { return handle_.valid(); }

  TNotifyEvent OnChange;
  // Fired before the handle is deleted; a canvas that selected it deselects it here,
  // since GDI will not delete an object that is still selected.
  TNotifyEvent OnChanging;

 protected:
  // Makes the handle if there is none.
  HGDIOBJ EnsureHandle();
  virtual HGDIOBJ CreateHandle() const = 0;
  // Adopts a handle, freeing the old one.
  void AdoptHandle(HGDIOBJ handle);
  // Call before changing an attribute: deselects (through OnChanging) and frees the handle.
  void Changing();
  void Changed();

 private:
  GdiObject<> handle_;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle

enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
 public:
  TFont();

  void Assign(TPersistent* Source) override;

  HFONT Handle() { return static_cast<HFONT>(EnsureHandle()); }
  // Takes ownership of the font and adopts its LOGFONT.
  void SetHandle(HFONT font);

  String Name() const { return logFont_.lfFaceName; }
  void SetName(const String& name);
  // Straight into lfHeight: negative = character height, positive = cell height.
  int Height() const { return logFont_.lfHeight; }
  void SetHeight(int height);
  // Points at the screen's resolution.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const;
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  BYTE Charset() const { return logFont_.lfCharSet; }
  void SetCharset(BYTE charset);
  TFontPitch Pitch() const;
  void SetPitch(TFontPitch pitch);

  // The full description; rotated text makes a copy with lfEscapement 900.
  LOGFONTA GetLogFont() const { return logFont_; }

 protected:
  HGDIOBJ CreateHandle() const override;

 private:
  template <class F>
  void Change(F&& apply);

  LOGFONTA logFont_{};
  TColor color_ = clWindowText;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// The raster operation of a pen mode for SetROP2.
int PenModeToROP2(TPenMode mode);

class TPen : public TGraphicsObject {
 public:
  void Assign(TPersistent* Source) override;

  HPEN Handle() { return static_cast<HPEN>(EnsureHandle()); }
  void SetHandle(HPEN pen);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);

 protected:
  HGDIOBJ CreateHandle() const override;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
 public:
  void Assign(TPersistent* Source) override;

  HBRUSH Handle() { return static_cast<HBRUSH>(EnsureHandle()); }
  void SetHandle(HBRUSH brush);

  TColor Color() const { return color_; }
  // A colour makes a clear brush solid.
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  // A pattern brush; the bitmap is not owned and must outlive the brush's use of it.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* bitmap);

 protected:
  HGDIOBJ CreateHandle() const override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
};
