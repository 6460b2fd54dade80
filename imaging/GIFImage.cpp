// TGIFImage: the picture class for GIF files, its registration and its process-wide state.
#include "imaging/GIFImage.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <mutex>

#include "framework/core/colors.h"
#include "framework/core/seams.h"
#include "imaging/GIFColorReduction.h"
#include "imaging/GIFPainter.h"

void MeasureScreenDepth();

namespace {
// The memory one picture may take, in bytes: all its frames together (each is decoded in
// full as the file is read, a byte per pixel), and a bitmap of its logical screen when one
// is made (up to four bytes per pixel).
constexpr int64_t kPictureBudget = int64_t{1} << 27;
constexpr int64_t kScreenBytesPerPixel = 4;

struct TUnitState {
  std::once_flag ScreenMeasured;
  std::atomic<bool> PaletteDevice{false};
  std::atomic<bool> DoAutoDither{false};
  std::once_flag ClipboardRegistered;
  UINT ClipboardFormat = 0;
  std::mutex RegistrationLock;
  int Registrations = 0;
};

TUnitState& Unit() {
  static TUnitState state;
  return state;
}

void MeasureScreen() { std::call_once(Unit().ScreenMeasured, [] { MeasureScreenDepth(); }); }

}  // namespace

void MeasureScreenDepth() {
  const bool palette = ScreenSeam().BitsPerPixel() < 9;
  Unit().PaletteDevice = palette;
  Unit().DoAutoDither = palette;
}

bool PaletteDevice() {
  MeasureScreen();
  return Unit().PaletteDevice;
}

bool DoAutoDither() {
  MeasureScreen();
  return Unit().DoAutoDither;
}

void SetDoAutoDither(bool value) {
  MeasureScreen();
  Unit().DoAutoDither = value;
}

UINT CF_GIF() {
  std::call_once(Unit().ClipboardRegistered, [] { Unit().ClipboardFormat = RegisterClipboardFormatA("GIF Image"); });
  return Unit().ClipboardFormat;
}

const TGraphicClass TGIFImage::Class{"TGIFImage", []() -> TGraphic* { return new TGIFImage(); }};

namespace {
// Takes the class out of the picture registry when the module ends, whatever is left of
// the registrations. Made after the registry's first use, so it goes first.
struct TRegistrationEnd {
  ~TRegistrationEnd() {
    std::lock_guard guard(Unit().RegistrationLock);
    if (Unit().Registrations == 0) return;
    Unit().Registrations = 0;
    TPicture::UnregisterGraphicClass(TGIFImage::Class);
  }
};
}  // namespace

void RegisterGIFImage() {
  {
    std::lock_guard guard(Unit().RegistrationLock);
    if (Unit().Registrations++ > 0) return;
    TPicture::RegisterFileFormat("GIF", "GIF Image", TGIFImage::Class);
    TPicture::RegisterClipboardFormat(CF_GIF(), TGIFImage::Class);
  }
  static TRegistrationEnd end;
  MeasureScreen();
}

void UnregisterGIFImage() {
  std::lock_guard guard(Unit().RegistrationLock);
  if (Unit().Registrations == 0 || --Unit().Registrations > 0) return;
  TPicture::UnregisterGraphicClass(TGIFImage::Class);
}

// ---- life ----
TGIFImage::TGIFImage() { Clear(); }

TGIFImage::~TGIFImage() {
  StopPainters();
  {
    TLockedList locked(painters_);
    for (int i = 0; i < locked.Items->Count(); ++i) static_cast<TGIFPainter*>(locked.Items->Items(i))->Detach();
  }
  Clear();
  if (palette_) DeleteObject(palette_);
}

void TGIFImage::Clear() {
  StopPainters();
  ReleaseCachedBitmap();
  images_.Clear();
  header_.ColorMap.Clear();
  header_.Descriptor.Width = 0;
  header_.Descriptor.Height = 0;
  header_.Prepare();
  SetPalette(nullptr);
  framePixels_ = 0;
}

void TGIFImage::ReserveFramePixels(int64_t pixels) {
  framePixels_ += pixels;
  if (framePixels_ > kPictureBudget) RaiseGIFError("Image too large");
}

void TGIFImage::CheckScreenFits() const {
  if (framePixels_ + kScreenBytesPerPixel * Width() * Height() > kPictureBudget) RaiseGIFError("Image too large");
}

void TGIFImage::Warning(TObject* sender, TGIFSeverity severity, const String& message) {
  if (OnWarning) OnWarning(sender, severity, message);
}

void TGIFImage::SetReductionBits(int bits) { reductionBits_ = std::clamp(bits, 1, 8); }

// ---- load and save ----
void TGIFImage::LoadFromStream(TStream& stream) { LoadFromStream(stream, std::numeric_limits<int>::max()); }

void TGIFImage::LoadFromStream(TStream& stream, int FrameLimit) {
  Progress(this, psStarting, 0, false, TRect{}, "Loading...");
  bool ok = false;
  try {
    Clear();
    const int64_t start = stream.Position();
    try {
      header_.LoadFromStream(stream);
      images_.LoadFromStream(stream, this, FrameLimit);
      if (images_.Count() < FrameLimit) {
        TGIFTrailer trailer(this);
        trailer.LoadFromStream(stream);
      }
    } catch (...) {
      stream.SetPosition(start);
      throw;
    }
    ok = true;
  } catch (...) {
    Progress(this, psEnding, 0, true, TRect{}, "Loading...");
    throw;
  }
  Progress(this, psEnding, ok ? 100 : 0, true, TRect{}, "Loading...");
}

void TGIFImage::SaveToStream(TStream& stream) {
  Progress(this, psStarting, 0, false, TRect{}, "Saving...");
  try {
    header_.SaveToStream(stream);
    images_.SaveToStream(stream);
    TGIFTrailer trailer(this);
    trailer.SaveToStream(stream);
  } catch (...) {
    Progress(this, psEnding, 0, true, TRect{}, "Saving...");
    throw;
  }
  Progress(this, psEnding, 100, true, TRect{}, "Saving...");
}

// ---- derived values ----
TGIFVersion TGIFImage::GetVersion() const {
  if (images_.Count() == 0) return VersionUnknown;
  TGIFVersion version = Version87a;
  for (int i = 0; i < images_.Count(); ++i) {
    version = std::max(version, images_.Images(i)->GetVersion());
    if (version == Version89a) break;
  }
  return version;
}

int TGIFImage::ColorResolution() const {
  int result = header_.ColorResolution();
  for (int i = 0; i < images_.Count(); ++i) result = std::max(result, images_.Images(i)->ColorResolution());
  return result;
}

int TGIFImage::BitsPerPixel() const {
  int result = header_.BitsPerPixel();
  for (int i = 0; i < images_.Count(); ++i) result = std::max(result, images_.Images(i)->BitsPerPixel());
  return result;
}

TColor TGIFImage::BackgroundColor() { return header_.BackgroundColor(); }

bool TGIFImage::DoDither() const {
  return (DrawOptions & DrawDither) && (!(DrawOptions & DrawAutoDither) || ::DoAutoDither());
}

void TGIFImage::DropPalette() { SetPalette(nullptr); }

// ---- assignment ----
void TGIFImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    return;
  }
  if (auto* source = dynamic_cast<TGIFImage*>(Source)) {
    Clear();
    OnProgress = source->OnProgress;
    OnWarning = source->OnWarning;
    struct Reset {
      TGIFImage* self;
      ~Reset() {
        self->OnWarning = nullptr;
        self->OnProgress = nullptr;
      }
    } reset{this};
    Progress(this, psStarting, 0, false, TRect{}, "Copying...");
    bool ok = false;
    try {
      header_.Assign(&source->header_);
      ThreadPriority = source->ThreadPriority;
      DrawBackgroundColor = source->DrawBackgroundColor;
      DrawOptions = source->DrawOptions;
      ColorReduction = source->ColorReduction;
      DitherMode = source->DitherMode;
      OnAnimationStart = source->OnAnimationStart;
      OnBeforeFrame = source->OnBeforeFrame;
      OnAfterFrame = source->OnAfterFrame;
      OnAnimationLoop = source->OnAnimationLoop;
      OnAnimationEnd = source->OnAnimationEnd;
      const int count = source->images_.Count();
      for (int i = 0; i < count; ++i) {
        auto frame = std::make_unique<TGIFSubImage>(this);
        frame->Assign(source->images_.Images(i));
        Add(frame.release());
        Progress(this, psRunning, static_cast<BYTE>(MulDiv(i + 1, 100, count)), false, TRect{}, "Copying...");
      }
      ok = true;
    } catch (...) {
      Progress(this, psEnding, 0, false, TRect{}, "Copying...");
      throw;
    }
    Progress(this, psEnding, ok ? 100 : 0, false, TRect{}, "Copying...");
    return;
  }
  Clear();
  auto frame = std::make_unique<TGIFSubImage>(this);
  try {
    frame->Assign(Source);
  } catch (const EConvertError&) {
    frame.reset();
    TGraphic::Assign(Source);
    return;
  }
  Add(frame.release());
}

void TGIFImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    bitmap->Assign(GetCachedBitmap());
    return;
  }
  TGraphic::AssignTo(Dest);
}

int TGIFImage::Add(TPersistent* source) {
  TGIFSubImage* frame = dynamic_cast<TGIFSubImage*>(source);
  if (!frame) {
    if (!dynamic_cast<TGraphic*>(source)) RaiseGIFError("Object type not supported for operation");
    auto made = std::make_unique<TGIFSubImage>(this);
    made->Assign(source);
    frame = made.release();
  }
  const int index = images_.Add(frame);
  ReleaseCachedBitmap();
  Changed(this);
  return index;
}

// ---- palette and size ----
HPALETTE TGIFImage::Palette() {
  if (inGetPalette_) RaiseGIFError("No global or local color table defined");
  inGetPalette_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{inGetPalette_};
  if (cachedBitmap_ && cachedBitmap_->Palette()) return cachedBitmap_->Palette();
  if (palette_) return palette_;
  if (DoDither()) {
    palette_ = CreateWebSafePalette();
    return palette_;
  }
  if (header_.ColorMap.Count() > 0) {
    palette_ = header_.ColorMap.ExportPalette();
    return palette_;
  }
  if (images_.Count() > 0) return images_.Images(0)->GetPalette();
  return nullptr;
}

void TGIFImage::SetPalette(HPALETTE palette) {
  if (palette == palette_) return;
  if (palette_) DeleteObject(palette_);
  palette_ = palette;
  if (cachedBitmap_ && cachedBitmap_->Palette() != palette) {
    ReleaseCachedBitmap();
    SetPaletteModified(true);
    Changed(this);
  }
}

void TGIFImage::SetHeight(int value) {
  for (int i = 0; i < images_.Count(); ++i)
    if (images_.Images(i)->Top() + images_.Images(i)->Height() > value)
      RaiseGIFError("Image height too small for contained frames");
  if (value == Height()) return;
  SetScreenHeight(value);
  ReleaseCachedBitmap();
  Changed(this);
}

void TGIFImage::SetWidth(int value) {
  for (int i = 0; i < images_.Count(); ++i)
    if (images_.Images(i)->Left() + images_.Images(i)->Width() > value)
      RaiseGIFError("Image width too small for contained frames");
  if (value == Width()) return;
  SetScreenWidth(value);
  ReleaseCachedBitmap();
  Changed(this);
}

// ---- cached bitmap ----
TBitmap* TGIFImage::GetCachedBitmap() {
  if (Empty()) return nullptr;
  if (cachedBitmap_) return cachedBitmap_;
  TBitmap* bitmap = KeepEmptyCachedBitmap();
  try {
    TGIFSubImage* first = images_.Images(0);
    if (first->Width() == Width() && first->Height() == Height()) {
      if (TBitmap* rendered = first->Bitmap()) bitmap->Assign(rendered);
    } else if (Width() > 0 && Height() > 0) {
      if (HPALETTE p = Palette()) bitmap->SetPalette(CopyPalette(p));
      bitmap->SetSize(Width(), Height());
      first->Draw(*bitmap->Canvas(), TRect{0, 0, Width(), Height()}, false, false);
    }
  } catch (...) {
    DropCachedBitmap();
    throw;
  }
  return bitmap;
}

TBitmap* TGIFImage::NewCachedBitmap() {
  if (cachedBitmap_) return cachedBitmap_;
  TBitmap* bitmap = KeepEmptyCachedBitmap();
  try {
    if (HPALETTE p = Palette()) bitmap->SetPalette(CopyPalette(p));
    bitmap->SetSize(Width(), Height());
  } catch (...) {
    DropCachedBitmap();
    throw;
  }
  return bitmap;
}

// Kept before it is filled, with its OnChange set: filling it already tells the image's
// users that the picture changed.
TBitmap* TGIFImage::KeepEmptyCachedBitmap() {
  CheckScreenFits();
  cachedBitmap_ = new TBitmap();
  cachedBitmap_->OnChange = [this](TObject* sender) { Changed(sender); };
  return cachedBitmap_;
}

void TGIFImage::DropCachedBitmap() {
  delete cachedBitmap_;
  cachedBitmap_ = nullptr;
}

void TGIFImage::ReleaseCachedBitmap() {
  {
    TLockedList locked(painters_);
    if (CurrentPainter) CurrentPainter->Stop();
  }
  DropCachedBitmap();
}

// ---- drawing ----
void TGIFImage::DrawTiled(TCanvas& canvas, const TRect& rect, TBitmap* bitmap) {
  if (!bitmap) return;
  if (!(DrawOptions & DrawTile)) {
    canvas.StretchDraw(rect, bitmap);
    return;
  }
  const int w = std::max(1, Width()), h = std::max(1, Height());
  for (int x = rect.Left; x < rect.Right; x += w)
    for (int y = rect.Top; y < rect.Bottom; y += h) canvas.StretchDraw(TRect{x, y, x + w, y + h}, bitmap);
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& rect) {
  if (drawing_ || Empty()) return;
  drawing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{drawing_};
  if (images_.Count() == 1 || !(DrawOptions & DrawAnimate)) {
    images_.Images(0)->Draw(canvas, rect, (DrawOptions & DrawTransparent) != 0, (DrawOptions & DrawTile) != 0);
    return;
  }
  if (cachedBitmap_ && !(DrawOptions & DrawDirect)) {
    DrawTiled(canvas, rect, GetCachedBitmap());
    return;
  }
  TLockedList locked(painters_);
  if (CurrentPainter && CurrentPainter->Canvas == &canvas && CurrentPainter->Rect == rect) return;
  StopCurrentPainter();
  TCanvas* target = &canvas;
  TRect targetRect = rect;
  if (!(DrawOptions & DrawDirect)) {
    TBitmap* bitmap = NewCachedBitmap();
    target = bitmap->Canvas();
    targetRect = TRect{0, 0, bitmap->Width(), bitmap->Height()};
    target->CopyRect(targetRect, &canvas, rect);
  }
  CreatePainter(CurrentPainter, *target, DrawOptions, targetRect);
  if (!CurrentPainter) return;
  TGIFPainter* painter = CurrentPainter;
  painter->Start();
  if (DrawOptions & DrawDirect) return;
  while (CurrentPainter == painter && !painter->Terminated() && !painter->Painted)
    if (!CheckSynchronize()) Clock().Sleep(0);
  DrawTiled(canvas, rect, GetCachedBitmap());
}

void TGIFImage::CreatePainter(TGIFPainter*& reference, TCanvas& canvas, TGIFDrawOptions options, const TRect& rect) {
  if (Empty() || rect.Width() == 0 || rect.Height() == 0) {
    reference = nullptr;
    return;
  }
  if (images_.Count() == 1) options &= static_cast<TGIFDrawOptions>(~(DrawAsync | DrawAnimate));
  auto* painter = new TGIFPainter(this, &canvas, rect, options, &reference);
  painters_.Add(painter);
  painter->OnAnimationStart = OnAnimationStart;
  painter->OnBeforeFrame = OnBeforeFrame;
  painter->OnAfterFrame = OnAfterFrame;
  painter->OnAnimationLoop = OnAnimationLoop;
  painter->OnAnimationEnd = OnAnimationEnd;
  if (painter->Async()) {
    painter->SetPriority(ThreadPriority);
    return;
  }
  // The reference stays while it runs, so that a handler can stop it.
  TGIFPainter::RunSynchronously(painter);
  reference = nullptr;
}

void TGIFImage::StopCurrentPainter() {
  for (;;) {
    {
      TLockedList locked(painters_);
      if (!CurrentPainter) break;
      CurrentPainter->Stop();
      if (!CurrentPainter->Async()) break;
    }
    while (CheckSynchronize()) {
    }
    Clock().Sleep(0);
  }
  ReleaseCachedBitmap();
}

void TGIFImage::StopPainters() {
  for (;;) {
    int async = 0;
    {
      TLockedList locked(painters_);
      if (locked.Items->Count() == 0) break;
      for (int i = locked.Items->Count() - 1; i >= 0; --i) {
        auto* painter = static_cast<TGIFPainter*>(locked.Items->Items(i));
        painter->Stop();
        if (painter->Async()) ++async;
      }
    }
    if (async == 0) break;
    while (CheckSynchronize()) {
    }
    Clock().Sleep(0);
  }
  DropCachedBitmap();
}

// ---- clipboard ----
void TGIFImage::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
  if (!data) data = GetClipboardData(format);
  if (format == CF_GIF() && data) {
    const SIZE_T size = GlobalSize(data);
    const void* bytes = GlobalLock(data);
    if (!bytes) RaiseGIFError("Unsupported clipboard format");
    TMemoryStream stream;
    try {
      stream.WriteBuffer(bytes, static_cast<int>(std::min<SIZE_T>(size, 0x7FFFFFFF)));
    } catch (...) {
      GlobalUnlock(data);
      throw;
    }
    GlobalUnlock(data);
    stream.SetPosition(0);
    LoadFromStream(stream);
    return;
  }
  if (format == CF_BITMAP && data) {
    TBitmap bitmap;
    bitmap.LoadFromClipboardFormat(format, data, palette);
    Assign(&bitmap);
    return;
  }
  RaiseGIFError("Unsupported clipboard format");
}

void TGIFImage::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
  if (Empty()) return;
  GetCachedBitmap()->SaveToClipboardFormat(format, data, palette);
  TMemoryStream stream;
  SaveToStream(stream);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(stream.Size()));
  if (!block) return;
  if (void* p = GlobalLock(block)) {
    std::memcpy(p, stream.Memory(), static_cast<size_t>(stream.Size()));
    GlobalUnlock(block);
  }
  if (!SetClipboardData(CF_GIF(), block)) {
    GlobalFree(block);
    RaiseGIFError("Failed to store GIF on clipboard");
  }
}

// ---- optimization ----
void TGIFImage::Optimize(TGIFOptimizeOptions options, ColorReductionMethod reductionMethod, DitherMethod,
                         int) {
  if (Empty()) return;
  StopPainters();
  TLockedList locked(painters_);
  Progress(this, psStarting, 0, false, TRect{}, "Optimizing...");
  const int total = 6 * images_.Count();
  int done = 0;
  auto step = [&] {
    ++done;
    Progress(this, psRunning, static_cast<BYTE>(std::min(100, MulDiv(done, 100, total))), false, TRect{}, "Optimizing...");
  };
  bool ok = false;
  try {
    auto disposalOf = [](TGIFSubImage* f) {
      return f->GraphicControlExtension ? f->GraphicControlExtension->Disposal() : DisposalNone;
    };
    if (options & OptimizeColorMaps) {
      if (header_.ColorMap.Count() > 0) header_.ColorMap.Optimize();
      for (int i = 0; i < images_.Count(); ++i) {
        if (images_.Images(i)->LocalColorMap.Count() > 0) images_.Images(i)->LocalColorMap.Optimize();
        step();
      }
    }
    if (options & OptimizeCleanup) {
      for (int i = 0; i < images_.Count(); ++i) {
        TGIFSubImage* f = images_.Images(i);
        if (f->Transparent && f->GraphicControlExtension &&
            std::find(f->Data.begin(), f->Data.end(), f->TransparentColorIndex()) == f->Data.end())
          f->GraphicControlExtension->SetTransparent(false);
        step();
      }
      for (int i = 0; i + 1 < images_.Count(); ++i) {
        TGIFSubImage* f = images_.Images(i);
        TGIFSubImage* next = images_.Images(i + 1);
        const TDisposalMethod d = disposalOf(f);
        if (f->GraphicControlExtension && (d == DisposalBackground || d == DisposalPrevious) && !next->Transparent) {
          const TRect a = f->BoundsRect(), b = next->BoundsRect();
          const TRect cut{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                          std::min(a.Bottom, b.Bottom)};
          if (cut.Left < cut.Right && cut.Top < cut.Bottom && cut == b) f->GraphicControlExtension->SetDisposal(DisposalNone);
        }
        step();
      }
    }
    if (options & OptimizeMerge) {
      for (int i = images_.Count() - 1; i >= 1; --i) {
        int j = i - 1;
        while (j > 0 && disposalOf(images_.Images(j)) == DisposalPrevious) --j;
        images_.Images(i)->Merge(images_.Images(j));
        step();
      }
    }
    if (options & OptimizeCrop) {
      for (int i = images_.Count() - 1; i >= 0; --i) {
        TGIFSubImage* f = images_.Images(i);
        if (!f->Empty() && f->Transparent) {
          const int delay = f->GraphicControlExtension ? f->GraphicControlExtension->Delay() : 0;
          f->Crop();
          if (f->Empty()) {
            if (i > 0 && images_.Images(i - 1)->Transparent && images_.Images(i - 1)->GraphicControlExtension) {
              auto* gce = images_.Images(i - 1)->GraphicControlExtension;
              gce->SetDelay(static_cast<uint16_t>(gce->Delay() + delay));
            }
            images_.Delete(i);
          }
        }
        step();
      }
    }
    if (options & OptimizeCleanup) {
      for (int i = images_.Count() - 1; i >= 0; --i) {
        TGIFSubImage* f = images_.Images(i);
        for (int k = f->Extensions.Count() - 1; k >= 0; --k) {
          TGIFExtension* e = f->Extensions.Extensions(k);
          const bool loop = dynamic_cast<TGIFAppExtNSLoop*>(e) != nullptr;
          if (dynamic_cast<TGIFCommentExtension*>(e) || dynamic_cast<TGIFTextExtension*>(e) ||
              dynamic_cast<TGIFUnknownAppExtension*>(e) || (loop && !(i == 0 && images_.Count() > 1)))
            f->Extensions.Delete(k);
        }
        if (auto* gce = f->GraphicControlExtension) {
          const bool single = images_.Count() == 1;
          if ((gce->Delay() == 0 || single) && !f->Transparent && !gce->UserInput() &&
              (gce->Disposal() < DisposalBackground || single))
            f->Extensions.Delete(f->Extensions.IndexOf(gce));
        }
        if (f->Empty() && f->Extensions.Count() == 0) images_.Delete(i);
        step();
      }
    } else if ((options & OptimizeReduceColors) && reductionMethod == ReduceCustomPalette) {
      RaiseGIFError("Invalid reduction method");
    }
    ok = true;
  } catch (...) {
    Progress(this, psEnding, 0, false, TRect{}, "Optimizing...");
    throw;
  }
  Progress(this, psEnding, ok ? 100 : 0, false, TRect{}, "Optimizing...");
}
