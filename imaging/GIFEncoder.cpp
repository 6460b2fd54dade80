// Encoding of one frame's image data: an LZW compressor with a hash table and a
// run-length coder that emits a valid LZW code stream without building a table.
#include <cstring>

#include "imaging/GIFEncoder.h"

// ---- writer ----
int TGIFStream::Read(void*, int) { throw Exception("Invalid stream operation"); }
int TGIFStream::Write(const void*, int) { throw Exception("Invalid stream operation"); }
int64_t TGIFStream::Seek(int64_t, TSeekOrigin) { throw Exception("Invalid stream operation"); }

TGIFWriter::~TGIFWriter() {
  try {
    Flush();
  } catch (...) {
  }
}

int TGIFWriter::Write(const void* buffer, int count) {
  const auto* p = static_cast<const uint8_t*>(buffer);
  for (int i = 0; i < count; ++i) {
    hasData_ = true;
    buffer_[bufferIndex_++] = p[i];
    if (bufferIndex_ == 256) Flush();
  }
  return count;
}

void TGIFWriter::Flush() {
  if (bufferIndex_ <= 1) return;
  buffer_[0] = static_cast<uint8_t>(bufferIndex_ - 1);
  target_.WriteBuffer(buffer_, bufferIndex_);
  bufferIndex_ = 1;
  hasData_ = false;
}

// ---- hash table ----
THashTable::THashTable() { Clear(); }

void THashTable::Clear() { std::memset(slots_, 0xFF, sizeof slots_); }

namespace {
int Hash(uint32_t key) { return static_cast<int>(((key >> 4) ^ key) % THashTable::kSize); }
int NextProbe(int h) {
  int next = h == 0 ? h - 1 : h - (THashTable::kSize - h);
  if (next < 0) next += THashTable::kSize;
  return next;
}
bool EmptySlot(uint32_t slot) { return (slot & 0xFFFFF000u) == 0xFFFFF000u; }
}  // namespace

void THashTable::Insert(uint32_t key, int code) {
  int h = Hash(key);
  while (!EmptySlot(slots_[h])) h = NextProbe(h);
  slots_[h] = (key << 12) | (static_cast<uint32_t>(code) & 0xFFF);
}

int THashTable::Lookup(uint32_t key) const {
  int h = Hash(key);
  for (;;) {
    const uint32_t slot = slots_[h];
    if (EmptySlot(slot)) return -1;
    if ((slot & 0xFFFFF000u) == (key << 12)) return static_cast<int>(slot & 0xFFF);
    h = NextProbe(h);
  }
}

// ---- encoder base ----
void TGIFEncoder::Compress(TStream& stream, int bitsPerPixel, int maxColor, const uint8_t* data, bool interlace,
                           int height, int width) {
  MaxColor = maxColor;
  BitsPerPixel = bitsPerPixel < 2 ? 2 : bitsPerPixel;
  InitBits = BitsPerPixel + 1;
  WriteByte(stream, static_cast<uint8_t>(BitsPerPixel));
  CurrentBits = InitBits;
  MaxCode = (1 << InitBits) - 1;
  ClearCode = 1 << (InitBits - 1);
  EndCode = ClearCode + 1;
  BaseCode = ClearCode + 2;
  accumulator_ = 0;
  bitCount_ = 0;
  width_ = width;
  height_ = height;
  interlace_ = interlace;
  data_ = data;
  pixel_ = data;
  pixelsLeft_ = interlace ? width : width * height;
  row_ = 0;
  pass_ = 0;
  {
    TGIFWriter writer(stream);
    writer_ = &writer;
    if (data && height >= 1 && width >= 1) DoCompress();
    Output(EndCode);
    writer.Flush();
    writer_ = nullptr;
  }
  WriteByte(stream, 0);
}

void TGIFEncoder::Output(int code) {
  if (bitCount_ > 0)
    accumulator_ = (static_cast<uint32_t>(code) << bitCount_) | (accumulator_ & ((1u << bitCount_) - 1));
  else
    accumulator_ = static_cast<uint32_t>(code);
  bitCount_ += CurrentBits;
  while (bitCount_ >= 8) {
    WriteOut(static_cast<uint8_t>(accumulator_ & 0xFF));
    accumulator_ >>= 8;
    bitCount_ -= 8;
  }
  if (code == EndCode) {
    while (bitCount_ > 0) {
      WriteOut(static_cast<uint8_t>(accumulator_ & 0xFF));
      accumulator_ >>= 8;
      bitCount_ -= 8;
    }
  }
}

void TGIFEncoder::WriteOut(uint8_t b) { writer_->Write(&b, 1); }

void TGIFEncoder::Clear() {
  JustCleared = true;
  Output(ClearCode);
}

int TGIFEncoder::TakePixel() {
  const int c = *pixel_;
  if (c >= MaxColor) RaiseGIFError("Color not in color table");
  return c;
}

bool TGIFEncoder::NextPixel() {
  if (--pixelsLeft_ > 0) {
    ++pixel_;
    return true;
  }
  if (!interlace_) return false;
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  row_ += kStep[pass_];
  while (row_ >= height_) {
    if (++pass_ >= 4) return false;
    row_ = kStart[pass_];
  }
  pixel_ = data_ + static_cast<size_t>(row_) * width_;
  pixelsLeft_ = width_;
  return true;
}

// ---- LZW ----
void TLZWEncoder::Clear() {
  TGIFEncoder::Clear();
  table_.Clear();
  freeEntry_ = ClearCode + 2;
}

void TLZWEncoder::Output(int code) {
  TGIFEncoder::Output(code);
  if (freeEntry_ > MaxCode || JustCleared) {
    if (JustCleared) {
      CurrentBits = InitBits;
      MaxCode = (1 << InitBits) - 1;
      JustCleared = false;
    } else {
      ++CurrentBits;
      MaxCode = CurrentBits == 12 ? 4096 : (1 << CurrentBits) - 1;
    }
  }
}

void TLZWEncoder::DoCompress() {
  Clear();
  int prefix = TakePixel();
  while (NextPixel()) {
    const int c = TakePixel();
    const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | static_cast<uint32_t>(c);
    const int code = table_.Lookup(key);
    if (code >= 0) {
      prefix = code;
      continue;
    }
    Output(prefix);
    prefix = c;
    if (freeEntry_ >= 4095) {
      Clear();
    } else {
      table_.Insert(key, freeEntry_);
      ++freeEntry_;
    }
  }
  Output(prefix);
}

// ---- run-length ----
void TRLEEncoder::Clear() {
  outBump_ = outBumpInit_;
  outClear_ = outClearInit_;
  outCount_ = 0;
  runTableMax_ = 0;
  TGIFEncoder::Clear();
  CurrentBits = InitBits;
}

void TRLEEncoder::OutputPlain(int c) {
  JustCleared = false;
  Output(c);
  ++outCount_;
  if (outCount_ >= outBump_) {
    ++CurrentBits;
    outBump_ += 1 << (CurrentBits - 1);
  }
  if (outCount_ >= outClear_) Clear();
}

int TRLEEncoder::ISqrt(int x) {
  if (x < 2) return x;
  int r = 1;
  for (int v = x; v > 0; v /= 4) r *= 2;
  for (;;) {
    const int v = (x / r + r) / 2;
    if (v == r || v == r + 1) return r;
    r = v;
  }
}

int TRLEEncoder::TriangleCount(int count, int n) {
  const int perRep = n * (n + 1) / 2;
  int cost = 0;
  while (count >= perRep) {
    cost += n;
    count -= perRep;
  }
  if (count > 0) {
    int k = ISqrt(count);
    while (k * (k + 1) >= 2 * count) --k;
    while (k * (k + 1) < 2 * count) ++k;
    cost += k;
  }
  return cost;
}

void TRLEEncoder::ResetOutClear() {
  outClear_ = outClearInit_;
  if (outCount_ >= outClear_) Clear();
}

void TRLEEncoder::FlushFromClear(int count) {
  outClear_ = maxOutCodes_;
  runTablePixel_ = runPixel_;
  int n = 1;
  while (count > 0) {
    if (n == 1) {
      runTableMax_ = 1;
      OutputPlain(runPixel_);
      --count;
    } else if (count >= n) {
      runTableMax_ = n;
      OutputPlain(BaseCode + n - 2);
      count -= n;
    } else {
      ++runTableMax_;
      OutputPlain(count == 1 ? runPixel_ : BaseCode + count - 2);
      count = 0;
    }
    n = outCount_ == 0 ? 1 : n + 1;
  }
  ResetOutClear();
}

void TRLEEncoder::FlushClearOrRepeat(int count) {
  if (1 + TriangleCount(count, maxOutCodes_) < count) {
    Clear();
    FlushFromClear(count);
  } else {
    for (int i = 0; i < count; ++i) OutputPlain(runPixel_);
  }
}

void TRLEEncoder::FlushWithTable(int count) {
  int reps = count / runTableMax_;
  int left = count % runTableMax_;
  int repLeft = left > 0 ? 1 : 0;
  if (outCount_ + reps + repLeft > maxOutCodes_) {
    reps = maxOutCodes_ - outCount_;
    left = count - reps * runTableMax_;
    repLeft = 1 + TriangleCount(left, maxOutCodes_);
  }
  if (1 + TriangleCount(count, maxOutCodes_) < reps + repLeft) {
    Clear();
    FlushFromClear(count);
    return;
  }
  outClear_ = maxOutCodes_;
  for (int i = 0; i < reps; ++i) OutputPlain(BaseCode + runTableMax_ - 2);
  if (left > 0) {
    if (JustCleared)
      FlushFromClear(left);
    else
      OutputPlain(left == 1 ? runPixel_ : BaseCode + left - 2);
  }
  ResetOutClear();
}

void TRLEEncoder::FlushRun(int count) {
  if (count == 1)
    OutputPlain(runPixel_);
  else if (JustCleared)
    FlushFromClear(count);
  else if (runTableMax_ >= 2 && runTablePixel_ == runPixel_)
    FlushWithTable(count);
  else
    FlushClearOrRepeat(count);
}

void TRLEEncoder::DoCompress() {
  outBumpInit_ = ClearCode - 1;
  outClearInit_ = BitsPerPixel <= 3 ? 9 : ClearCode - 2;
  maxOutCodes_ = 4095 - BaseCode;
  Clear();
  runPixel_ = -1;
  int count = 0;
  do {
    const int c = TakePixel();
    if (count > 0 && c != runPixel_) {
      FlushRun(count);
      count = 0;
    }
    if (c != runPixel_) {
      runPixel_ = c;
      count = 1;
    } else {
      ++count;
    }
  } while (NextPixel());
  FlushRun(count);
}

// ---- the frame's entry point ----
void TGIFSubImage::Encode(TStream& stream) {
  int bits, maxColor;
  if (LocalColorMap.Count() == 0) {
    bits = GIFImage ? GIFImage->BitsPerPixel() : 8;
    maxColor = 1 << bits;
  } else {
    maxColor = LocalColorMap.Count();
    bits = LocalColorMap.BitsPerPixel();
  }
  std::unique_ptr<TGIFEncoder> encoder;
  if (GIFImage && GIFImage->Compression == CompressionRLE)
    encoder = std::make_unique<TRLEEncoder>();
  else
    encoder = std::make_unique<TLZWEncoder>();
  encoder->Compress(stream, bits, maxColor, Data.empty() ? nullptr : Data.data(), Interlaced(), Height(), Width());
}
