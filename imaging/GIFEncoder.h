// The GIF image-data encoders and the sub-block writer they share.
#pragma once

#include <cstdint>

#include "imaging/GIFImage.h"

// A stream that only its owner writes to; reads and seeks are refused.
class TGIFStream : public TStream {
 public:
  explicit TGIFStream(TStream& target) : target_(target) {}
  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 protected:
  TStream& target_;
};

// Cuts what is written into data sub-blocks of at most 255 bytes.
class TGIFWriter : public TGIFStream {
 public:
  using TGIFStream::TGIFStream;
  ~TGIFWriter() override;
  int Write(const void* buffer, int count) override;
  void Flush();

 private:
  uint8_t buffer_[256] = {};
  int bufferIndex_ = 1;
  bool hasData_ = false;
};

class THashTable {
 public:
  static constexpr int kSize = 8009;
  THashTable();
  void Clear();
  void Insert(uint32_t key, int code);
  int Lookup(uint32_t key) const;

 private:
  uint32_t slots_[kSize];
};

class TGIFEncoder : public TObject {
 public:
  void Compress(TStream& stream, int bitsPerPixel, int maxColor, const uint8_t* data, bool interlace, int height,
                int width);

  int MaxColor = 0;
  int BitsPerPixel = 0;
  int CurrentBits = 0;
  int InitBits = 0;
  int MaxCode = 0;
  int ClearCode = 0, EndCode = 0, BaseCode = 0;
  bool JustCleared = false;

 protected:
  virtual void Output(int code);
  virtual void Clear();
  virtual void DoCompress() = 0;
  // The current pixel, refused when it is not below MaxColor.
  int TakePixel();
  // Moves to the next pixel in file order; false after the last.
  bool NextPixel();

 private:
  void WriteOut(uint8_t b);

  TGIFWriter* writer_ = nullptr;
  uint32_t accumulator_ = 0;
  int bitCount_ = 0;
  int width_ = 0, height_ = 0;
  bool interlace_ = false;
  const uint8_t* data_ = nullptr;
  const uint8_t* pixel_ = nullptr;
  int pixelsLeft_ = 0;
  int row_ = 0, pass_ = 0;
};

class TLZWEncoder : public TGIFEncoder {
 protected:
  void Output(int code) override;
  void Clear() override;
  void DoCompress() override;

 private:
  int freeEntry_ = 0;
  THashTable table_;
};

class TRLEEncoder : public TGIFEncoder {
 public:
  static int ISqrt(int x);
  static int TriangleCount(int count, int n);
  int RunTableMax() const { return runTableMax_; }

 protected:
  void Clear() override;
  void DoCompress() override;

 private:
  void OutputPlain(int c);
  void ResetOutClear();
  void FlushFromClear(int count);
  void FlushClearOrRepeat(int count);
  void FlushWithTable(int count);
  void FlushRun(int count);

  int maxOutCodes_ = 0, outBumpInit_ = 0, outClearInit_ = 0;
  int runPixel_ = -1, runTableMax_ = 0, runTablePixel_ = -1;
  int outCount_ = 0, outClear_ = 0, outBump_ = 0;
};
