#include "framework/core/jpeg.h"

#include <cstdio>

#include "framework/core/bitmap.h"
#include "framework/core/bmpio.h"

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

const TGraphicClass TJPEGImage::Class{"TJPEGImage", []() -> TGraphic* { return new TJPEGImage; }};

namespace {

thread_local int lastMessageCode = 0;

constexpr long kMaxWorkingMemory = 512L << 20;

// The library reports errors through error_exit, which must not return: it jumps back
// into the step that called the library, which hands the code to C++ as a number. Only
// C frames and ErrorExit lie between, so no destructor is skipped.
struct ErrorManager {
  jpeg_error_mgr pub;
  void* jump[5];
};

void ErrorExit(j_common_ptr cinfo) {
  lastMessageCode = cinfo->err->msg_code;
  __builtin_longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (premature end, corrupt entropy data) are no errors: the decoder fills in.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) {
    ++cinfo->err->num_warnings;
    lastMessageCode = cinfo->err->msg_code;
  }
}

void OutputMessage(j_common_ptr) {}

// One decode's whole state; it never moves once made (the library keeps pointers into it).
struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  bool created = false;

  Decoder() {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
  }
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
};

struct Settings {
  int scaleDenom;
  bool fast;
  bool grayscale;
};

enum class RowMode { Rgb, Gray, Cmyk, CmykToGray };

int Failed(Decoder* d) { return d->err.pub.msg_code ? d->err.pub.msg_code : JERR_UNKNOWN_MARKER; }

// Each step returns 0 or the library's message code. No C++ object lives in these frames.
int ReadHeaderStep(Decoder* d, const uint8_t* data, size_t size) {
  if (__builtin_setjmp(d->err.jump)) return Failed(d);
  jpeg_create_decompress(&d->cinfo);
  d->created = true;
  // A hostile header can ask for huge working buffers (a progressive image decoded
  // at a small scale still keeps all its coefficients): refuse rather than exhaust memory.
  d->cinfo.mem->max_memory_to_use = kMaxWorkingMemory;
  jpeg_mem_src(&d->cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d->cinfo, TRUE);
  return 0;
}

int StartStep(Decoder* d, const Settings* s, uint64_t maxBytes) {
  if (__builtin_setjmp(d->err.jump)) return Failed(d);
  jpeg_decompress_struct& c = d->cinfo;
  c.scale_num = 1;
  c.scale_denom = static_cast<unsigned>(s->scaleDenom);
  c.dct_method = s->fast ? JDCT_IFAST : JDCT_ISLOW;
  c.do_fancy_upsampling = s->fast ? FALSE : TRUE;
  c.do_block_smoothing = s->fast ? FALSE : TRUE;
  if (c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK) c.out_color_space = JCS_CMYK;
  else if (s->grayscale || c.jpeg_color_space == JCS_GRAYSCALE) c.out_color_space = JCS_GRAYSCALE;
  else c.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&c);
  uint64_t bytes = static_cast<uint64_t>(c.output_width) * c.output_height * 3;
  if (bytes > maxBytes) return JERR_IMAGE_TOO_BIG;
  jpeg_start_decompress(&c);
  return 0;
}

uint8_t Gray(unsigned r, unsigned g, unsigned b) { return static_cast<uint8_t>((r * 77 + g * 151 + b * 28) >> 8); }

// Rows arrive top first; the bitmap's rows are stride apart from the top one.
int RowsStep(Decoder* d, uint8_t* top, ptrdiff_t stride, uint8_t* scratch, RowMode mode) {
  if (__builtin_setjmp(d->err.jump)) return Failed(d);
  jpeg_decompress_struct& c = d->cinfo;
  const bool inverted = c.saw_Adobe_marker;
  while (c.output_scanline < c.output_height) {
    JSAMPROW row = scratch;
    uint8_t* out = top + static_cast<ptrdiff_t>(c.output_scanline) * stride;
    if (jpeg_read_scanlines(&c, &row, 1) != 1) break;
    for (JDIMENSION x = 0; x < c.output_width; ++x) {
      switch (mode) {
        case RowMode::Rgb:
          out[3 * x] = scratch[3 * x + 2];
          out[3 * x + 1] = scratch[3 * x + 1];
          out[3 * x + 2] = scratch[3 * x];
          break;
        case RowMode::Gray:
          out[x] = scratch[x];
          break;
        case RowMode::Cmyk:
        case RowMode::CmykToGray: {
          unsigned cc = scratch[4 * x], m = scratch[4 * x + 1], y = scratch[4 * x + 2], k = scratch[4 * x + 3];
          if (!inverted) {
            cc = 255 - cc;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
          }
          unsigned r = cc * k / 255, g = m * k / 255, b = y * k / 255;
          if (mode == RowMode::CmykToGray) {
            out[x] = Gray(r, g, b);
          } else {
            out[3 * x] = static_cast<uint8_t>(b);
            out[3 * x + 1] = static_cast<uint8_t>(g);
            out[3 * x + 2] = static_cast<uint8_t>(r);
          }
          break;
        }
      }
    }
  }
  jpeg_finish_decompress(&c);
  return 0;
}

[[noreturn]] void RaiseJpeg(int code) {
  lastMessageCode = code;
  throw EJPEG(Format("JPEG error #%d", code));
}

HPALETTE GreyPalette() {
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
  log->palVersion = 0x300;
  log->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) {
    BYTE v = static_cast<BYTE>(i);
    log->palPalEntry[i] = PALETTEENTRY{v, v, v, 0};
  }
  return CreatePalette(log);
}

}  // namespace

std::span<const char* const> JPEGMessageTable() {
  jpeg_error_mgr err{};
  jpeg_std_error(&err);
  return {err.jpeg_message_table, static_cast<size_t>(err.last_jpeg_message) + 1};
}

int JPEGLastMessageCode() { return lastMessageCode; }

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
    if (jpeg == this) return;
    data_ = jpeg->data_;
    fullWidth_ = jpeg->fullWidth_;
    fullHeight_ = jpeg->fullHeight_;
    arithmeticCoded_ = jpeg->arithmeticCoded_;
    scale_ = jpeg->scale_;
    performance_ = jpeg->performance_;
    grayscale_ = jpeg->grayscale_;
    pixelFormat_ = jpeg->pixelFormat_;
    compressionQuality_ = jpeg->compressionQuality_;
    progressiveDisplay_ = jpeg->progressiveDisplay_;
    bitmap_.reset();
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    DIBNeeded();
    bitmap->Assign(bitmap_.get());
    bitmap->SetPixelFormat(pf24bit);
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::ReadHeader() const {
  if (fullWidth_ >= 0) return;
  if (data_.empty()) {
    fullWidth_ = fullHeight_ = 0;
    return;
  }
  Decoder decoder;
  if (int code = ReadHeaderStep(&decoder, data_.data(), data_.size())) RaiseJpeg(code);
  fullWidth_ = static_cast<int>(decoder.cinfo.image_width);
  fullHeight_ = static_cast<int>(decoder.cinfo.image_height);
  arithmeticCoded_ = decoder.cinfo.arith_code != 0;
}

static int Scaled(int size, TJPEGScale scale) {
  int denom = 1 << scale;
  return (size + denom - 1) / denom;
}

int TJPEGImage::Width() const {
  ReadHeader();
  return Scaled(fullWidth_, scale_);
}

int TJPEGImage::Height() const {
  ReadHeader();
  return Scaled(fullHeight_, scale_);
}

bool TJPEGImage::ArithmeticCoded() const {
  ReadHeader();
  return arithmeticCoded_;
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  if (size < 0 || static_cast<uint64_t>(size) > kMaxBmpPixelBytes) RaiseJpeg(JERR_IMAGE_TOO_BIG);
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (size) stream.ReadBuffer(data.data(), static_cast<int>(size));
  data_ = std::move(data);
  fullWidth_ = fullHeight_ = -1;
  bitmap_.reset();
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream& stream) {
  if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<int>(data_.size()));
}

void TJPEGImage::SettingsChanged() {
  bitmap_.reset();
  Changed(this);
}

void TJPEGImage::SetScale(TJPEGScale scale) {
  if (scale == scale_) return;
  scale_ = scale;
  SettingsChanged();
}

void TJPEGImage::SetPerformance(TJPEGPerformance performance) {
  if (performance == performance_) return;
  performance_ = performance;
  SettingsChanged();
}

void TJPEGImage::SetGrayscale(bool grayscale) {
  if (grayscale == grayscale_) return;
  grayscale_ = grayscale;
  SettingsChanged();
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat format) {
  if (format == pixelFormat_) return;
  pixelFormat_ = format;
  SettingsChanged();
}

void TJPEGImage::DIBNeeded() {
  if (bitmap_) return;
  auto bitmap = std::make_unique<TBitmap>();
  if (data_.empty()) {
    bitmap_ = std::move(bitmap);
    return;
  }
  lastMessageCode = 0;
  Decoder decoder;
  if (int code = ReadHeaderStep(&decoder, data_.data(), data_.size())) RaiseJpeg(code);
  fullWidth_ = static_cast<int>(decoder.cinfo.image_width);
  fullHeight_ = static_cast<int>(decoder.cinfo.image_height);
  arithmeticCoded_ = decoder.cinfo.arith_code != 0;
  const Settings settings{1 << scale_, performance_ == jpBestSpeed, grayscale_};
  if (int code = StartStep(&decoder, &settings, kMaxBmpPixelBytes)) RaiseJpeg(code);

  const jpeg_decompress_struct& c = decoder.cinfo;
  const bool cmyk = c.out_color_space == JCS_CMYK;
  const bool grey = c.out_color_space == JCS_GRAYSCALE || (cmyk && grayscale_);
  RowMode mode = cmyk ? (grey ? RowMode::CmykToGray : RowMode::Cmyk) : (grey ? RowMode::Gray : RowMode::Rgb);
  if (grey) {
    bitmap->SetPixelFormat(pf8bit);
    bitmap->SetPalette(GreyPalette());
  } else {
    bitmap->SetPixelFormat(pf24bit);
  }
  bitmap->SetSize(static_cast<int>(c.output_width), static_cast<int>(c.output_height));
  std::vector<uint8_t> scratch(static_cast<size_t>(c.output_width) * static_cast<size_t>(c.output_components));
  auto* top = static_cast<uint8_t*>(bitmap->ScanLine(0));
  if (int code = RowsStep(&decoder, top, bitmap->ScanLineStride(), scratch.data(), mode)) RaiseJpeg(code);
  bitmap_ = std::move(bitmap);
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  return bitmap_.get();
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) {
  DIBNeeded();
  bitmap_->Draw(canvas, rect);
}
