// LZW decoding of one frame's image data into its pixel indexes.
#include <algorithm>
#include <cstring>

#include "imaging/GIFImage.h"

namespace {
constexpr int kTableSize = 4096;
constexpr int kStackSize = 8192;

// All state of one decode; lives in one block of working storage.
class TGIFDecoder {
 public:
  TGIFDecoder(TGIFSubImage& frame, TStream& stream, int initialCodeSize)
      : frame_(frame), stream_(stream), initialCodeSize_(initialCodeSize) {
    codeSize_ = initialCodeSize + 1;
    clearCode_ = 1 << initialCodeSize;
    endCode_ = clearCode_ + 1;
    codeLimit_ = 2 * clearCode_;
    nextCode_ = clearCode_ + 2;
  }

  int NextIndex() {
    if (sp_ > 0) return stack_[--sp_];
    return ExpandCode();
  }

 private:
  // Moves the last two bytes to the front and appends the next sub-block; false at the
  // end of the stream.
  bool Refill() {
    buffer_[0] = buffer_[lastByte_ - 2];
    buffer_[1] = buffer_[lastByte_ - 1];
    uint8_t count = 0;
    if (!TryReadByte(stream_, count)) return false;
    if (count == 0) {
      zeroBlock_ = true;
      done_ = true;
    } else {
      const int64_t left = std::max<int64_t>(0, stream_.Size() - stream_.Position());
      if (count > left) {
        frame_.Warning(SeverityWarning, "Premature end of data");
        count = static_cast<uint8_t>(left);
      }
      ReadCheck(stream_, buffer_ + 2, count);
    }
    lastByte_ = count + 2;
    curBit_ = curBit_ - lastBit_ + 16;
    lastBit_ = lastByte_ * 8;
    return true;
  }

  int ReadCode(int size) {
    if (fresh_) {
      fresh_ = false;
      return clearCode_;
    }
    if (curBit_ + size >= lastBit_) {
      if (done_) {
        if (curBit_ >= lastBit_) frame_.Warning(SeverityWarning, "Decoder bit buffer under-run");
        return -1;
      }
      if (!Refill()) return -1;
      // Sub-blocks shorter than a code: keep appending, the unread bits fit in the two kept bytes.
      while (curBit_ + size > lastBit_ && !done_)
        if (!Refill()) return -1;
      // The data ended inside a code.
      if (curBit_ + size > lastBit_) return -1;
    }
    const int at = curBit_ >> 3;
    const int value = buffer_[at] | (buffer_[at + 1] << 8) | (buffer_[at + 2] << 16);
    curBit_ += size;
    return (value >> ((curBit_ - size) & 7)) & ((1 << size) - 1);
  }

  int ExpandCode() {
    int code = ReadCode(codeSize_);
    if (code < 0) return code;
    for (;;) {
      if (code == clearCode_) {
        for (int i = 0; i < clearCode_; ++i) {
          prefix_[i] = 0;
          suffix_[i] = i;
        }
        for (int i = clearCode_; i < kTableSize; ++i) prefix_[i] = suffix_[i] = 0;
        codeSize_ = initialCodeSize_ + 1;
        codeLimit_ = 2 * clearCode_;
        nextCode_ = clearCode_ + 2;
        sp_ = 0;
        do code = ReadCode(codeSize_);
        while (code == clearCode_);
        firstValue_ = oldCode_ = code;
        return code;
      }
      if (code == endCode_) {
        endSeen_ = true;
        if (!zeroBlock_) {
          // Skip what is left of the data up to and including the terminator.
          uint8_t count = 0;
          while (TryReadByte(stream_, count) && count != 0) stream_.Seek(count, soCurrent);
          zeroBlock_ = done_ = true;
        }
        return -2;
      }
      const int inCode = code;
      if (code >= nextCode_) {
        Push(firstValue_);
        code = oldCode_;
      }
      // A valid chain is at most one entry per table slot; anything longer loops.
      int chain = 0;
      while (code >= clearCode_) {
        if (code >= kTableSize || prefix_[code] == code || ++chain > kTableSize)
          RaiseGIFError("Circular decoder table entry");
        Push(suffix_[code]);
        code = prefix_[code];
      }
      firstValue_ = suffix_[code];
      Push(firstValue_);
      if (nextCode_ <= kTableSize - 1) {
        prefix_[nextCode_] = oldCode_;
        suffix_[nextCode_] = firstValue_;
        ++nextCode_;
        if (nextCode_ >= codeLimit_ && codeLimit_ <= kTableSize - 1) {
          codeLimit_ *= 2;
          ++codeSize_;
        }
      }
      oldCode_ = inCode;
      return stack_[--sp_];
    }
  }

  void Push(int value) {
    if (sp_ >= kStackSize) RaiseGIFError("Circular decoder table entry");
    stack_[sp_++] = value;
  }

 public:
  bool endSeen_ = false;
  bool zeroBlock_ = false;

 private:
  TGIFSubImage& frame_;
  TStream& stream_;
  int initialCodeSize_;
  int codeSize_, clearCode_, endCode_, nextCode_, codeLimit_;
  int firstValue_ = 0, oldCode_ = 0;
  int prefix_[kTableSize] = {};
  int suffix_[kTableSize] = {};
  int stack_[kStackSize] = {};
  int sp_ = 0;
  uint8_t buffer_[260] = {};
  int curBit_ = 0, lastBit_ = 0, lastByte_ = 2;
  bool done_ = false;
  bool fresh_ = true;
};
}  // namespace

void TGIFSubImage::Decode(TStream& stream) {
  NewImage();
  const uint8_t fill = Transparent ? TransparentColorIndex() : 0;
  std::fill(Data.begin(), Data.end(), fill);
  uint8_t initialCodeSize = 0;
  if (!TryReadByte(stream, initialCodeSize)) return;
  // The code table has 4096 entries: a larger start cannot be decoded and is damage.
  if (initialCodeSize > 11) RaiseGIFError("Invalid GIF data");
  auto decoder = std::make_unique<TGIFDecoder>(*this, stream, initialCodeSize);

  auto finish = [&] {
    // In a well-formed stream this reads the end code and the terminator. Once the end
    // code has been met nothing more is read: the terminator lies behind it. Data that
    // ended without one still asks, and finds the bits used up.
    if (!decoder->endSeen_) decoder->NextIndex();
  };
  try {
    const int width = Width();
    const int height = Height();
    if (!Data.empty()) {
      if (!Interlaced()) {
        for (uint8_t& p : Data) {
          const int v = decoder->NextIndex();
          if (v < 0) break;
          p = static_cast<uint8_t>(v);
        }
      } else {
        int row = 0, step = 8, pass = 0;
        bool stop = false;
        for (int n = 0; n < height && !stop; ++n) {
          uint8_t* line = Data.data() + static_cast<size_t>(row) * width;
          for (int x = 0; x < width; ++x) {
            const int v = decoder->NextIndex();
            if (v < 0) {
              stop = true;
              break;
            }
            line[x] = static_cast<uint8_t>(v);
          }
          row += step;
          while (row >= height && pass < 4) {
            if (pass > 0) step /= 2;
            ++pass;
            row = step / 2;
          }
          if (row >= height) break;
        }
      }
    }
  } catch (...) {
    try {
      finish();
    } catch (...) {
    }
    throw;
  }
  finish();
}
