// The skin library's small routines: reading skin ini values, rectangle and point
// helpers, links between components, the Windows-version and alpha-blending tests, monitor work areas, the face
// composers that resize a skin element, mask regions, and the glyphs and texts that
// skinned controls draw themselves.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/core/classes.h"
#include "framework/core/colors.h"
#include "framework/core/gdiobjects.h"
#include "framework/core/inifiles.h"
#include "framework/core/regions.h"
#include "framework/core/strings.h"
#include "framework/core/sysutils.h"
#include "framework/core/types.h"
#include "framework/gui/extctrls.h"

class TControl;

// Image effects and morph kinds as the skin names them.
using TksEffect = uint8_t;
using TksMorphKind = uint8_t;

// ---- skin ini values ----------------------------------------------------------

TRect StrToRect(const String& text);
TPoint StrToPoint(const String& text);

TRect ReadRect(TCustomIniFile& ini, const String& section, const String& key);
TPoint ReadPoint(TCustomIniFile& ini, const String& section, const String& key);
bool ReadBoolean(TCustomIniFile& ini, const String& section, const String& key);
TFontStyles ReadFontStyles(TCustomIniFile& ini, const String& section, const String& key);
TAlignment ReadAlignment(TCustomIniFile& ini, const String& section, const String& key);
// Font heights are kept within +-kMaxSkinFontHeight: a hostile height would have the
// system render glyphs of gigabytes.
constexpr int kMaxSkinFontHeight = 1000;
int ReadFontHeight(TCustomIniFile& ini, const String& section, const String& key, int missing);
// No skin lists this many pictures, objects or controls: a hostile count or entry number
// can make us neither loop for ever nor reserve room for it.
constexpr int kMaxSkinListCount = 65536;
// A count of entries the section lists, bounded by its highest numbered key (and by
// kMaxSkinListCount): entries are the keys "0".."count-1", and a list may skip numbers.
int ReadCount(TCustomIniFile& ini, const String& section, const String& key);
// Appends the values of keys "0".."count-1", the count read with ReadCount.
void ReadStrings(TCustomIniFile& ini, const String& section, const String& key, TStrings& lines);
TksEffect ReadEffect(TCustomIniFile& ini, const String& section, const String& key);
TksMorphKind ReadMorphKind(TCustomIniFile& ini, const String& section, const String& key);

void WriteRect(TCustomIniFile& ini, const String& section, const String& key, const TRect& r);
void WritePoint(TCustomIniFile& ini, const String& section, const String& key, const TPoint& p);
void WriteBoolean(TCustomIniFile& ini, const String& section, const String& key, bool value);
void WriteFontStyles(TCustomIniFile& ini, const String& section, const String& key, TFontStyles styles);
void WriteAlignment(TCustomIniFile& ini, const String& section, const String& key, TAlignment value);
void WriteMorphKind(TCustomIniFile& ini, const String& section, const String& key, TksMorphKind kind);

// ---- geometry -------------------------------------------------------------------

inline int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
inline TRect NullRect() { return TRect{}; }
inline bool IsNullRect(const TRect& r) { return RectWidth(r) < 1 || RectHeight(r) < 1; }
inline bool IsNullPoint(const TPoint& p) { return p.X == 0 || p.Y == 0; }
// All four edges count as inside.
inline bool PointInRect(const TRect& r, const TPoint& p) { return r.ContainsWithEdges(p); }
// Both corners of A by the system's rule: B's right column and bottom row are outside.
bool RectInRect(const TRect& a, const TRect& b);
inline int LargerOf(int a, int b) { return a > b ? a : b; }
inline TRect MovedRect(const TRect& r, int dx, int dy) {
  return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
// A rectangle a description may leave empty, standing in for another.
inline TRect OrFallback(const TRect& r, const TRect& fallback) { return IsNullRect(r) ? fallback : r; }

// ---- system -----------------------------------------------------------------------

void GetWindowsVersion(int& major, int& minor);
bool IsWindowsXP();
bool IsWindowsNT5();
// The window must already carry the layered style; a missing entry point changes nothing.
void SetAlphaBlendTransparent(HWND wnd, uint8_t alpha);

bool IsMultiMonitor();
void GetDesktopWorkArea(bool workArea, TRect& r);
// R is left unchanged when the monitor of the window cannot be read.
void GetMonitorWorkArea(HWND wnd, bool workArea, TRect& r);

// ---- faces ------------------------------------------------------------------------

// The skin element's corner points and client rectangle, or the same moved to a new size.
struct TksSkinGeometry {
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ClientRect;
};

// Left and top coordinates stay; right and bottom ones move by the size difference.
TksSkinGeometry MoveSkinGeometry(const TksSkinGeometry& g, const TRect& skinRect, int w, int h);

void CreateHSkinImage(int leftOffset, int rightOffset, TBitmap* b, TBitmap* picture, const TRect& skinRect,
                      int w, int h);
void CreateHSkinImageLeft(int leftOffset, int rightOffset, TBitmap* b, TBitmap* picture,
                          const TRect& skinRect, int w, int h);
void CreateHSkinImageTiled(int leftOffset, int rightOffset, TBitmap* b, TBitmap* picture,
                           const TRect& skinRect, int w, int h);
void CreateVSkinImage(int topOffset, int bottomOffset, TBitmap* b, TBitmap* picture, const TRect& skinRect,
                      int w, int h);
inline void CreateOpenHSkinImage(int leftOffset, int rightOffset, TBitmap* b, TBitmap* picture,
                                 const TRect& skinRect, int w, int h) {
  CreateHSkinImageLeft(leftOffset, rightOffset, b, picture, skinRect, w, h);
}

void CreateSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                     TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                     TRect NewClientRect, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int h,
                     bool drawClient);
void CreateSkinImageLeft(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                         TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                         TRect NewClientRect, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int h,
                         bool drawClient);
inline void CreateOpenSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                                TRect ClientRect, TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                                TPoint NewRBPoint, TRect NewClientRect, TBitmap* b, TBitmap* picture,
                                const TRect& skinRect, int w, int h, bool drawClient) {
  CreateSkinImageLeft(LTPoint, RTPoint, LBPoint, RBPoint, ClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                      NewRBPoint, NewClientRect, b, picture, skinRect, w, h, drawClient);
}
void CreateSkinImageEx(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                       TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                       TRect NewClientRect, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int h,
                       bool drawClient, bool leftStretch, bool topStretch, bool rightStretch,
                       bool bottomStretch);
// The popup menu's and hint window's form: it moves the points to W x H itself.
void CreateSkinImageEx(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, bool bottomStretch,
                       bool rightStretch, bool topStretch, bool leftStretch, bool fillMiddle, int h, int w,
                       const TRect& skinRect, TBitmap* picture, TBitmap* b, const TRect& itemsRect,
                       TPoint& NewLTPoint, TPoint& NewRTPoint, TPoint& NewLBPoint, TPoint& NewRBPoint,
                       TRect& NewItemsRect);

void CreateSkinBorderImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                            TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                            TRect NewClientRect, TBitmap* leftImage, TBitmap* topImage, TBitmap* rightImage,
                            TBitmap* bottomImage, TBitmap* picture, const TRect& skinRect, int w, int h,
                            bool leftStretch, bool topStretch, bool rightStretch, bool bottomStretch);
void CreateSkinBorderMasks(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewClientRect, TBitmap* mask, TBitmap* topMask, TBitmap* leftMask,
                           TBitmap* rightMask, TBitmap* bottomMask, int w, int h);

// ---- masks and regions ------------------------------------------------------------

// A 24-bit top-down DIB section with a table of row addresses, for scanning masks.
class TksFBitmap {
 public:
  // Copies the handle's pixels, converted to 24 bits.
  explicit TksFBitmap(HBITMAP source);
  ~TksFBitmap();
  TksFBitmap(const TksFBitmap&) = delete;
  TksFBitmap& operator=(const TksFBitmap&) = delete;

  BYTE* Bits = nullptr;
  std::vector<BYTE*> Rows;
  int Gap = 0;
  int RowInc = 0;
  int Size = 0;
  int Width = 0;
  int Height = 0;
  HBITMAP Handle = nullptr;
  HDC MemoryDC = nullptr;
  BITMAPINFO BitmapInfo{};
  BITMAPINFOHEADER Header{};

 private:
  void InitRows();
  HGDIOBJ oldBitmap_ = nullptr;
};

// Region data (RGNDATA) of the mask's pure black pixels moved by X, Y; returns its size.
// An empty mask gives 0 and a null block.
size_t CreateRegionData(TBitmap* mask, int x, int y, std::unique_ptr<BYTE[]>& data);
// No region (an invalid handle) for an empty mask.
void CreateSimpleRegion(TRegion& region, TBitmap* mask);
void CreateSkinRegion(TRegion& region, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                      TRect ClientRect, TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                      TPoint NewRBPoint, TRect NewClientRect, TBitmap* mask, int w, int h);

// ---- drawn glyphs and texts ---------------------------------------------------------

void PaintParentBackground(TControl* control, TCanvas* canvas);
void CutTextToWidth(TCanvas* canvas, String& text, int width);
void DrawTextVCentered(TCanvas* canvas, const String& text, const TRect& r);
void DrawItemText(TCanvas* canvas, const String& text, const TRect& r);
void DrawItemTextOffset(TCanvas* canvas, const String& text, const TRect& r, int offset);
// Glyph numbers count from 1; no glyphs or a number out of range draws nothing.
void DrawGlyph(TCanvas* canvas, int x, int y, TBitmap* glyphs, int glyphCount, int glyphNumber);
void DrawArrowGlyph(TCanvas* canvas, const TRect& r, TColor color, int kind);
void DrawSmallDownTriangle(TCanvas* canvas, const TRect& r, TColor color);
void DrawCheckMark(TCanvas* canvas, int x, int y, TColor color);
void DrawRadioDot(TCanvas* canvas, int x, int y, TColor color);
void DrawBevelFrame(TCanvas* canvas, const TRect& r, TColor topColor, TColor bottomColor);
void DrawCloseImage(TCanvas* canvas, int x, int y, TColor color);
void DrawCloseImageInRect(TCanvas* canvas, const TRect& r, TColor color);
void DrawSysMenuImage(TCanvas* canvas, int x, int y, TColor color);
void DrawMinimizeImage(TCanvas* canvas, int x, int y, TColor color);
void DrawMaximizeImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRestoreImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRollDownImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRollUpImage(TCanvas* canvas, int x, int y, TColor color);
void DrawMinToTrayImage(TCanvas* canvas, int x, int y, TColor color);

inline void DrawArrowImage(TCanvas* canvas, const TRect& r, TColor color, int direction) {
  DrawArrowGlyph(canvas, r, color, direction);
}
inline void DrawTrackArrowImage(TCanvas* canvas, const TRect& r, TColor color) {
  DrawSmallDownTriangle(canvas, r, color);
}
inline void DrawCheckMarkImage(TCanvas* canvas, int x, int y, TColor color) { DrawCheckMark(canvas, x, y, color); }
// The same with the number and count first and the strip last.
inline void DrawGlyph(TCanvas* canvas, int x, int y, int glyphNumber, int glyphCount, TBitmap* glyphs) {
  DrawGlyph(canvas, x, y, glyphs, glyphCount, glyphNumber);
}
