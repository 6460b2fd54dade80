// The GIF codec: a GIF 87a/89a file held as a tree of block objects (header, frames with
// their extensions and colour tables), its LZW decoder and encoders, colour reduction,
// frame rendering and the picture class TGIFImage with its animation painters.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/core/canvas.h"
#include "framework/core/graphic.h"
#include "framework/core/lists.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "framework/core/thread.h"

class TGIFImage;
class TGIFHeader;
class TGIFSubImage;
class TGIFExtension;
class TGIFGraphicControlExtension;
class TGIFPainter;

class GIFException : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
};

enum TGIFVersion : uint8_t { VersionUnknown, Version87a, Version89a };
enum TGIFSeverity { SeverityInfo, SeverityWarning, SeverityError };
enum TDisposalMethod : uint8_t { DisposalNone, DisposalKeep, DisposalBackground, DisposalPrevious };

enum ColorReductionMethod : uint8_t {
  ReduceNone, ReduceSystem20, ReduceHalftone, ReduceGray4, ReduceMonochrome, ReduceGray256,
  ReduceWebSafe, ReduceOptimized, ReduceOptimizedSystem, ReduceCustomPalette
};
enum DitherMethod : uint8_t {
  DitherNearest, DitherFloydSteinberg, DitherStucki, DitherSierra, DitherJaJuNi, DitherSteveArche, DitherBurkes
};
enum GIFCompression : uint8_t { CompressionLZW, CompressionRLE };

using TGIFDrawOptions = uint16_t;
constexpr TGIFDrawOptions DrawAsync = 1 << 0;
constexpr TGIFDrawOptions DrawTransparent = 1 << 1;
constexpr TGIFDrawOptions DrawAnimate = 1 << 2;
constexpr TGIFDrawOptions DrawLoop = 1 << 3;
constexpr TGIFDrawOptions DrawLoopForever = 1 << 4;
constexpr TGIFDrawOptions DrawValidateCanvas = 1 << 5;
constexpr TGIFDrawOptions DrawDirect = 1 << 6;
constexpr TGIFDrawOptions DrawClearOnLoop = 1 << 7;
constexpr TGIFDrawOptions DrawTile = 1 << 8;
constexpr TGIFDrawOptions DrawDither = 1 << 9;
constexpr TGIFDrawOptions DrawAutoDither = 1 << 10;
constexpr TGIFDrawOptions GIFDefaultDrawOptions = 0x060F;

using TGIFOptimizeOptions = uint8_t;
constexpr TGIFOptimizeOptions OptimizeCrop = 1 << 0;
constexpr TGIFOptimizeOptions OptimizeMerge = 1 << 1;
constexpr TGIFOptimizeOptions OptimizeCleanup = 1 << 2;
constexpr TGIFOptimizeOptions OptimizeColorMaps = 1 << 3;
constexpr TGIFOptimizeOptions OptimizeReduceColors = 1 << 4;

using TGIFWarningEvent = TEvent<void(TObject* Sender, TGIFSeverity Severity, const String& Message)>;

// ---- stream routines ----
void ReadCheck(TStream& stream, void* buffer, int size);
// 0 past the end, without error.
uint8_t ReadByte(TStream& stream);
// False at the end of the stream.
bool TryReadByte(TStream& stream, uint8_t& value);
void WriteByte(TStream& stream, uint8_t value);
void WriteSubBlockStrings(TStream& stream, const std::vector<String>& strings);
void ReadSubBlockStrings(TStream& stream, std::vector<String>& strings);
int ColorsToBits(int colors);
int BytesPerScanline(int pixels, int bitsPerPixel, int alignment);
[[noreturn]] void RaiseGIFError(const String& message);
// EOutOfResources with the system's text for the last error.
[[noreturn]] void RaiseGDIError();
// The handle or result when not 0; else RaiseGDIError.
template <class T>
T CheckGDIResult(T value) {
  if (!value) RaiseGDIError();
  return value;
}

// Process-wide flags measured once, on first use, from the screen depth seam (8 bits or
// fewer: a palette device, rendered dithered). MeasureScreenDepth measures again.
void MeasureScreenDepth();
bool PaletteDevice();
bool DoAutoDither();
void SetDoAutoDither(bool value);
UINT CF_GIF();

// Registers TGIFImage with the picture registry and the clipboard; idempotent and
// thread-safe. Called from each module's start-up, never from static initialisation.
void RegisterGIFImage();
void UnregisterGIFImage();

// ---- items and lists ----
class TGIFItem : public TPersistent {
 public:
  explicit TGIFItem(TGIFImage* image) : GIFImage(image) {}
  TGIFItem(const TGIFItem&) = delete;
  TGIFItem& operator=(const TGIFItem&) = delete;

  virtual TGIFVersion GetVersion() const { return Version87a; }
  virtual void Warning(TGIFSeverity severity, const String& message);
  virtual void SaveToStream(TStream& stream) = 0;
  virtual void LoadFromStream(TStream& stream) = 0;
  void SaveToFile(const String& fileName);
  void LoadFromFile(const String& fileName);

  TGIFImage* GIFImage;
};

class TGIFList : public TPersistent {
 public:
  explicit TGIFList(TGIFImage* image) : Image(image) {}
  ~TGIFList() override;
  TGIFList(const TGIFList&) = delete;
  TGIFList& operator=(const TGIFList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TGIFItem* Items(int index) const;
  int Add(TGIFItem* item);
  void Insert(int index, TGIFItem* item);
  // Removes and frees.
  void Delete(int index);
  // Removes without freeing; its former index or -1.
  int Remove(TGIFItem* item);
  int IndexOf(const TGIFItem* item) const;
  void Clear();
  virtual void Warning(TGIFSeverity severity, const String& message);
  virtual void SaveToStream(TStream& stream);
  virtual void LoadFromStream(TStream& stream, TObject* parent) = 0;

  TGIFImage* Image;

 private:
  std::vector<TGIFItem*> items_;
};

class TGIFImageList : public TGIFList {
 public:
  using TGIFList::TGIFList;
  TGIFSubImage* Images(int index) const;
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream, TObject* parent) override;
  // Stops after FrameLimit frames, leaving the rest of the stream unread.
  void LoadFromStream(TStream& stream, TObject* parent, int FrameLimit);
};

class TGIFExtensionList : public TGIFList {
 public:
  using TGIFList::TGIFList;
  TGIFExtension* Extensions(int index) const;
  void LoadFromStream(TStream& stream, TObject* parent) override;
};

// ---- colour tables ----
class TGIFColorMap : public TPersistent {
 public:
  TGIFColorMap() = default;
  TGIFColorMap(const TGIFColorMap&) = delete;
  TGIFColorMap& operator=(const TGIFColorMap&) = delete;

  void Assign(TPersistent* Source) override;
  virtual void Warning(TGIFSeverity severity, const String& message) = 0;
  // Adds one per pixel of every frame using this table, by pixel value.
  virtual void CountColorUse(std::array<int, 256>& uses) = 0;
  virtual void RemapPixels(const std::array<uint8_t, 256>& map) = 0;
  virtual bool Optimize() = 0;
  virtual void Changed() = 0;

  void Clear();
  static void ColorToRGB(TColor color, uint8_t* triplet);
  static TColor RGBToColor(const uint8_t* triplet);
  TColor Colors(int index);
  int Add(TColor color);
  int AddUnique(TColor color);
  int IndexOfColor(TColor color) const;
  void Delete(int index);
  void SetCapacity(int size);
  void ImportPalette(HPALETTE palette);
  // Entries in DIB colour-table order: blue, green, red, reserved.
  void ImportColorTable(const void* entries, int count);
  void ImportDIBColors(HDC dc);
  HPALETTE ExportPalette() const;
  int BitsPerPixel() const { return ColorsToBits(count_); }
  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream, int count);
  bool DoOptimize();

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  const uint8_t* Data() const { return data_.data(); }
  uint8_t* Data() { return data_.data(); }
  bool Optimized = false;

 private:
  std::vector<uint8_t> data_;
  int count_ = 0;
  int capacity_ = 0;
};

class TGIFGlobalColorMap : public TGIFColorMap {
 public:
  explicit TGIFGlobalColorMap(TGIFHeader* header) : Header(header) {}
  void Warning(TGIFSeverity severity, const String& message) override;
  void CountColorUse(std::array<int, 256>& uses) override;
  void RemapPixels(const std::array<uint8_t, 256>& map) override;
  bool Optimize() override;
  void Changed() override;
  TGIFHeader* Header;
};

class TGIFLocalColorMap : public TGIFColorMap {
 public:
  explicit TGIFLocalColorMap(TGIFSubImage* subImage) : SubImage(subImage) {}
  void Warning(TGIFSeverity severity, const String& message) override;
  void CountColorUse(std::array<int, 256>& uses) override;
  void RemapPixels(const std::array<uint8_t, 256>& map) override;
  bool Optimize() override;
  void Changed() override;
  TGIFSubImage* SubImage;
};

// ---- header, frame, trailer ----
#pragma pack(push, 1)
struct TLogicalScreenDescriptor {
  uint16_t Width;
  uint16_t Height;
  uint8_t PackedFields;
  uint8_t BackgroundColorIndex;
  uint8_t AspectRatio;
};
struct TImageDescriptor {
  uint8_t Separator;
  uint16_t Left;
  uint16_t Top;
  uint16_t Width;
  uint16_t Height;
  uint8_t PackedFields;
};
#pragma pack(pop)
static_assert(sizeof(TLogicalScreenDescriptor) == 7);
static_assert(sizeof(TImageDescriptor) == 10);

class TGIFHeader : public TGIFItem {
 public:
  explicit TGIFHeader(TGIFImage* image);
  void Assign(TPersistent* Source) override;
  TGIFVersion GetVersion() const override;
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;
  void Clear();
  void Prepare();
  TColor BackgroundColor();
  int BitsPerPixel() const { return ColorMap.BitsPerPixel(); }
  int ColorResolution() const { return ColorMap.BitsPerPixel() - 1; }

  TLogicalScreenDescriptor Descriptor{};
  TGIFGlobalColorMap ColorMap{this};
};

class TGIFSubImage : public TGIFItem {
 public:
  explicit TGIFSubImage(TGIFImage* image);
  ~TGIFSubImage() override;

  void Assign(TPersistent* Source) override;
  TGIFVersion GetVersion() const override;
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

  void Clear();
  bool Empty() const;
  void NewImage();
  void FreeImage();
  void NeedImage();
  bool HasBitmap() const { return bitmap_ != nullptr; }
  void NewBitmap();
  void FreeBitmap();
  void FreeMask();
  bool HasMask();
  TGIFColorMap& ActiveColorMap();
  int BitsPerPixel() const { return LocalColorMap.BitsPerPixel(); }
  int ColorResolution() const { return LocalColorMap.BitsPerPixel() - 1; }
  void SetBounds(int left, int top, int width, int height);
  uint8_t& Pixels(int x, int y);
  uint8_t* Scanlines(int y);
  HPALETTE GetPalette();
  void SetPalette(HPALETTE palette);
  TBitmap* Bitmap();
  HBITMAP Mask() const { return mask_; }
  bool NeedMask() const { return needMask_; }
  void Prepare();

  void Decode(TStream& stream);
  void Encode(TStream& stream);

  // Rendering, drawing and editing.
  TBitmap* CreateBitmapFromData();
  TBitmap* CreateDitheredBitmap();
  void Draw(TCanvas& canvas, const TRect& rect, bool doTransparent, bool doTile);
  void StretchDraw(TCanvas& canvas, const TRect& rect, bool doTransparent, bool doTile);
  TRect ScaleRect(const TRect& rect) const;
  void Crop();
  void Merge(TGIFSubImage* previous);
  // Pixels where the mask is not black become transparent.
  void MakeTransparent(TBitmap& maskBitmap);

  int Left() const { return Descriptor.Left; }
  int Top() const { return Descriptor.Top; }
  int Width() const { return Descriptor.Width; }
  int Height() const { return Descriptor.Height; }
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  TRect BoundsRect() const { return TRect{Left(), Top(), Left() + Width(), Top() + Height()}; }
  bool Interlaced() const { return (Descriptor.PackedFields & 0x40) != 0; }
  void SetInterlaced(bool value);
  int DataSize() const { return static_cast<int>(Data.size()); }
  // The transparent colour index of the graphic control extension, 0 without one.
  uint8_t TransparentColorIndex() const;

  std::vector<uint8_t> Data;
  TImageDescriptor Descriptor{};
  TGIFLocalColorMap LocalColorMap{this};
  TGIFExtensionList Extensions;
  bool Transparent = false;
  TGIFGraphicControlExtension* GraphicControlExtension = nullptr;

 protected:
  // A bitmap receives a copy of the rendering.
  void AssignTo(TPersistent* Dest) override;

 private:
  void AssignFromBitmap(TBitmap* source);
  void AssignFromGraphic(TGraphic* source);
  void ImportMask(HBITMAP maskHandle);
  void ImportDrawnTransparency(TGraphic* graphic);
  void RenderingDone(bool ok);

  TBitmap* bitmap_ = nullptr;
  HBITMAP mask_ = nullptr;
  bool needMask_ = true;
  HPALETTE palette_ = nullptr;
};

class TGIFTrailer : public TGIFItem {
 public:
  using TGIFItem::TGIFItem;
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;
};

// ---- extensions ----
// Stands for a class reference of the extension kinds.
struct TGIFExtensionClass {
  const char* Name;
  TGIFExtension* (*Create)(TGIFSubImage* subImage);
  // The class that should read the block after the label; itself when it knows no better.
  const TGIFExtensionClass* (*FindSubExtension)(const TGIFExtensionClass& self, TStream& stream);
};

// The class for the extension whose label comes next; the stream position is kept.
const TGIFExtensionClass* FindExtension(TStream& stream);
void RegisterExtension(uint8_t label, const TGIFExtensionClass& extensionClass);
void RegisterAppExtension(const char identifier[11], const TGIFExtensionClass& extensionClass);

class TGIFExtension : public TGIFItem {
 public:
  explicit TGIFExtension(TGIFSubImage* subImage);
  ~TGIFExtension() override;
  TGIFVersion GetVersion() const override { return Version89a; }
  virtual uint8_t ExtensionType() const = 0;
  virtual const TGIFExtensionClass& ExtensionClass() const = 0;
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

  TGIFSubImage* SubImage;
};

class TGIFGraphicControlExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass Class;
  explicit TGIFGraphicControlExtension(TGIFSubImage* subImage);
  ~TGIFGraphicControlExtension() override;
  uint8_t ExtensionType() const override { return 0xF9; }
  const TGIFExtensionClass& ExtensionClass() const override { return Class; }
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

  bool Transparent() const { return (PackedFields & 1) != 0; }
  void SetTransparent(bool value);
  uint8_t TransparentColorIndex() const { return transparentColorIndex_; }
  // Warns "Invalid color index" and stores 0 for an index past the frame's table.
  void SetTransparentColorIndex(uint8_t value);
  void SetTransparentColorIndexUnchecked(uint8_t value) { transparentColorIndex_ = value; }
  uint16_t Delay() const { return delay_; }
  void SetDelay(uint16_t value) { delay_ = value; }
  bool UserInput() const { return (PackedFields & 2) != 0; }
  TDisposalMethod Disposal() const { return static_cast<TDisposalMethod>((PackedFields >> 2) & 7); }
  void SetDisposal(int value) { PackedFields = static_cast<uint8_t>((PackedFields & ~0x1C) | ((value & 7) << 2)); }

  uint8_t BlockSize = 4;
  uint8_t PackedFields = 0;

 private:
  uint16_t delay_ = 0;
  uint8_t transparentColorIndex_ = 0;
  uint8_t terminator_ = 0;
};

class TGIFTextExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass Class;
  using TGIFExtension::TGIFExtension;
  uint8_t ExtensionType() const override { return 0x01; }
  const TGIFExtensionClass& ExtensionClass() const override { return Class; }
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

#pragma pack(push, 1)
  struct TPlainText {
    uint8_t BlockSize;
    uint16_t Left, Top, GridWidth, GridHeight;
    uint8_t CellWidth, CellHeight, TextColorIndex, BackgroundColorIndex;
  };
#pragma pack(pop)
  TPlainText PlainText{12, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<String> Text;
};
static_assert(sizeof(TGIFTextExtension::TPlainText) == 13);

class TGIFCommentExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass Class;
  using TGIFExtension::TGIFExtension;
  uint8_t ExtensionType() const override { return 0xFE; }
  const TGIFExtensionClass& ExtensionClass() const override { return Class; }
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

  std::vector<String> Text;
};

class TGIFApplicationExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass Class;
  using TGIFExtension::TGIFExtension;
  uint8_t ExtensionType() const override { return 0xFF; }
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;
  virtual void SaveData(TStream& stream) = 0;
  virtual void LoadData(TStream& stream) = 0;

  std::array<char, 8> Identifier{};
  std::array<char, 3> AuthenticationCode{};
};

class TGIFAppExtNSLoop : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClass Class;
  explicit TGIFAppExtNSLoop(TGIFSubImage* subImage);
  const TGIFExtensionClass& ExtensionClass() const override { return Class; }
  void SaveData(TStream& stream) override;
  void LoadData(TStream& stream) override;

  uint16_t Loops = 0;
  uint32_t BufferSize = 0;
};

struct TGIFBlock {
  std::vector<uint8_t> Data;  // 1..255 bytes
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClass Class;
  using TGIFApplicationExtension::TGIFApplicationExtension;
  const TGIFExtensionClass& ExtensionClass() const override { return Class; }
  void SaveData(TStream& stream) override;
  void LoadData(TStream& stream) override;

  std::vector<TGIFBlock> Blocks;
};

// ---- the picture class ----
class TGIFImage : public TGraphic {
 public:
  static const TGraphicClass Class;

  TGIFImage();
  ~TGIFImage() override;

  const TGraphicClass& GraphicClass() const override { return Class; }
  void Assign(TPersistent* Source) override;
  void Draw(TCanvas& canvas, const TRect& rect) override;
  bool Equals(TGraphic* other) override { return other == this; }
  bool Empty() const override { return images_.Count() == 0; }
  int Width() const override { return header_.Descriptor.Width; }
  int Height() const override { return header_.Descriptor.Height; }
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  HPALETTE Palette() override;
  void SetPalette(HPALETTE palette) override;
  void LoadFromStream(TStream& stream) override;
  // The header and the first FrameLimit frames, the rest unread: a still picture of the
  // file needs its first frame alone.
  void LoadFromStream(TStream& stream, int FrameLimit);
  void SaveToStream(TStream& stream) override;
  void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;
  virtual void Warning(TObject* sender, TGIFSeverity severity, const String& message);

  void Clear();
  // Counts a frame about to be decoded against what all frames of one picture may hold;
  // a file that claims more is refused as damaged.
  void ReserveFramePixels(int64_t pixels);
  int Add(TPersistent* source);
  TGIFImageList& Images() { return images_; }
  TGIFHeader& Header() { return header_; }
  TGIFVersion GetVersion() const;
  int ColorResolution() const;
  int BitsPerPixel() const;
  TColor BackgroundColor();
  bool DoDither() const;
  // The logical screen size, set directly (frames that grow it).
  void SetScreenWidth(int value) { header_.Descriptor.Width = static_cast<uint16_t>(value); }
  void SetScreenHeight(int value) { header_.Descriptor.Height = static_cast<uint16_t>(value); }
  // The stored palette as it is, without building one.
  HPALETTE StoredPalette() const { return palette_; }
  void DropPalette();

  TBitmap* GetCachedBitmap();
  TBitmap* NewCachedBitmap();
  void ReleaseCachedBitmap();
  TBitmap* CachedBitmap() const { return cachedBitmap_; }

  void Optimize(TGIFOptimizeOptions options, ColorReductionMethod reductionMethod, DitherMethod ditherMode,
                int reductionBits);
  void StopPainters();
  void StopCurrentPainter();
  void CreatePainter(TGIFPainter*& reference, TCanvas& canvas, TGIFDrawOptions options, const TRect& rect);
  TThreadList& Painters() { return painters_; }
  TGIFPainter* CurrentPainter = nullptr;

  TGIFDrawOptions DrawOptions = GIFDefaultDrawOptions;
  ColorReductionMethod ColorReduction = ReduceWebSafe;
  // Clamped to 1..8 when set.
  int ReductionBits() const { return reductionBits_; }
  void SetReductionBits(int bits);
  DitherMethod DitherMode = DitherNearest;
  GIFCompression Compression = CompressionLZW;
  TThreadPriority ThreadPriority = tpNormal;
  int AnimationSpeed = 100;
  TColor DrawBackgroundColor = clNone;

  TGIFWarningEvent OnWarning;
  TNotifyEvent OnAnimationStart;
  TNotifyEvent OnBeforeFrame;
  TNotifyEvent OnAfterFrame;
  TNotifyEvent OnAnimationLoop;
  TNotifyEvent OnAnimationEnd;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  void DrawTiled(TCanvas& canvas, const TRect& rect, TBitmap* bitmap);
  TBitmap* KeepEmptyCachedBitmap();
  void DropCachedBitmap();
  // The logical screen is a canvas the file's data need not fill: its size is bounded only
  // where a bitmap of it is made, within the picture's pixel budget ("Image too large").
  void CheckScreenFits() const;

  bool drawing_ = false;
  bool inGetPalette_ = false;
  TGIFImageList images_{this};
  TGIFHeader header_{this};
  HPALETTE palette_ = nullptr;
  TThreadList painters_;
  int reductionBits_ = 8;
  TBitmap* cachedBitmap_ = nullptr;
  int64_t framePixels_ = 0;
};

// Copies the source where the mask bit is 0 and leaves the destination where it is 1.
void TransparentStretchBlt(HDC dstDC, int dstX, int dstY, int dstW, int dstH, HDC srcDC, int srcX, int srcY,
                           int srcW, int srcH, HDC maskDC, int maskX, int maskY);

// ---- colour reduction ----
HPALETTE CreateWebSafePalette();
HPALETTE CreateGrayPalette256();
HPALETTE CreateMonochromePalette();
HPALETTE CreateGrayPalette4();
HPALETTE CreateScreenHalftonePalette();
// A new bitmap owned by the caller; converts the source to 24 bits on the way.
TBitmap* ReduceColors(TBitmap* bitmap, ColorReductionMethod method, DitherMethod dither, int reductionBits,
                      HPALETTE customPalette);
