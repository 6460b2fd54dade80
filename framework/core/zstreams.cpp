#include "framework/core/zstreams.h"

#include <algorithm>

namespace {

String ZlibText(const char* what, const z_stream& zs) {
  return zs.msg ? String(what) + ": " + zs.msg : String(what);
}

}  // namespace

// ---- TCompressionStream

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& dest) : dest_(dest) {
  if (deflateInit(&zs_, static_cast<int>(level)) != Z_OK) throw EZCompressionError(ZlibText("Compression error", zs_));
}

TCompressionStream::~TCompressionStream() {
  // A destructor cannot report a failed final write; the destination is then short.
  try {
    if (!finished_) Deflate(Z_FINISH);
  } catch (...) {
  }
  deflateEnd(&zs_);
}

void TCompressionStream::Deflate(int flush) {
  for (;;) {
    zs_.next_out = out_.data();
    zs_.avail_out = static_cast<uInt>(out_.size());
    int rc = deflate(&zs_, flush);
    if (rc == Z_STREAM_ERROR) throw EZCompressionError(ZlibText("Compression error", zs_));
    dest_.WriteBuffer(out_.data(), static_cast<int>(out_.size() - zs_.avail_out));
    if (rc == Z_STREAM_END) {
      finished_ = true;
      return;
    }
    // Without Z_FINISH all input is taken once deflate leaves output room over.
    if (flush != Z_FINISH && zs_.avail_out != 0) return;
  }
}

int TCompressionStream::Read(void* /*buffer*/, int /*count*/) {
  throw EZCompressionError("Invalid stream operation");
}

int TCompressionStream::Write(const void* buffer, int count) {
  if (count <= 0) return 0;
  if (finished_) throw EZCompressionError("Invalid stream operation");
  zs_.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
  zs_.avail_in = static_cast<uInt>(count);
  Deflate(Z_NO_FLUSH);
  zs_.next_in = nullptr;
  taken_ += count;
  return count;
}

int64_t TCompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin == soCurrent) return taken_;
  throw EZCompressionError("Invalid stream operation");
}

// ---- TDecompressionStream

TDecompressionStream::TDecompressionStream(TStream& source) : source_(source) {
  if (inflateInit(&zs_) != Z_OK) throw EZDecompressionError(ZlibText("Decompression error", zs_));
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&zs_); }

int TDecompressionStream::Read(void* buffer, int count) {
  if (count <= 0 || ended_) return 0;
  zs_.next_out = static_cast<Bytef*>(buffer);
  zs_.avail_out = static_cast<uInt>(count);
  while (zs_.avail_out > 0) {
    if (zs_.avail_in == 0) {
      zs_.next_in = in_.data();
      zs_.avail_in = static_cast<uInt>(source_.Read(in_.data(), static_cast<int>(in_.size())));
    }
    int rc = inflate(&zs_, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      ended_ = true;
      break;
    }
    // No progress with room to spare: the source ran dry before the stream's end.
    if (rc == Z_BUF_ERROR) throw EZDecompressionError("Decompression error: unexpected end of data");
    if (rc != Z_OK) throw EZDecompressionError(ZlibText("Decompression error", zs_));
  }
  int done = count - static_cast<int>(zs_.avail_out);
  zs_.next_out = nullptr;
  zs_.avail_out = 0;
  position_ += done;
  return done;
}

int TDecompressionStream::Write(const void* /*buffer*/, int /*count*/) {
  throw EZDecompressionError("Invalid stream operation");
}

int64_t TDecompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t target = origin == soBeginning ? offset : origin == soCurrent ? position_ + offset : -1;
  if (target < position_) throw EZDecompressionError("Invalid stream operation");
  char skip[4096];
  while (position_ < target) {
    int n = static_cast<int>(std::min<int64_t>(target - position_, sizeof skip));
    if (Read(skip, n) < n) break;
  }
  return position_;
}
