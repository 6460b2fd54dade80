// zlib streams (RFC 1950) over another stream: one deflates what is written to
// it, the other inflates what it pulls from its source.
#pragma once

#include <zlib.h>

#include <array>
#include <cstdint>

#include "framework/core/streams.h"

// Scoped: the colour constants clNone and clDefault share these names.
enum class TCompressionLevel : int { clNone = 0, clFastest = 1, clDefault = -1, clMax = 9 };

// Writes compressed data to the destination as it arrives; the stream is
// finished (rest of the data and the check value written) on destruction.
class TCompressionStream : public TStream {
 public:
  TCompressionStream(TCompressionLevel level, TStream& dest);
  ~TCompressionStream() override;
  TCompressionStream(const TCompressionStream&) = delete;
  TCompressionStream& operator=(const TCompressionStream&) = delete;

  int Read(void* buffer, int count) override;  // raises: write only
  int Write(const void* buffer, int count) override;
  // Reports the count of bytes taken in; it cannot move.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 private:
  void Deflate(int flush);

  TStream& dest_;
  z_stream zs_{};
  std::array<Bytef, 4096> out_{};
  int64_t taken_ = 0;
  bool finished_ = false;
};

// Inflates from the source, pulling 4096-byte blocks. A read past the clean end
// returns fewer bytes; corrupt or truncated data raises EZDecompressionError.
class TDecompressionStream : public TStream {
 public:
  explicit TDecompressionStream(TStream& source);
  ~TDecompressionStream() override;
  TDecompressionStream(const TDecompressionStream&) = delete;
  TDecompressionStream& operator=(const TDecompressionStream&) = delete;

  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;  // raises: read only
  // Reports the position, or skips forward by reading; anything else raises.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 private:
  TStream& source_;
  z_stream zs_{};
  std::array<Bytef, 4096> in_{};
  int64_t position_ = 0;
  bool ended_ = false;
};
