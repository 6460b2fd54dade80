#include "framework/core/zstreams.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Text-like data with repeats, so level 9 has something to find.
String SampleData(size_t size) {
  String data;
  uint32_t seed = 12345;
  while (data.size() < size) {
    seed = seed * 1103515245u + 12345u;
    data += "line " + std::to_string(seed % 97) + " of the stored skin\r\n";
  }
  data.resize(size);
  return data;
}

String Compress(const String& data) {
  TStringStream packed;
  {
    TCompressionStream zip(TCompressionLevel::clMax, packed);
    // Uneven pieces, so data arrives in several writes.
    for (size_t at = 0; at < data.size(); at += 3001)
      zip.WriteBuffer(data.data() + at, static_cast<int>(std::min<size_t>(3001, data.size() - at)));
    EXPECT_EQ(zip.Position(), static_cast<int64_t>(data.size()));
  }
  return packed.DataString();
}

// Reads in 4096-byte blocks until a read returns 0, as the skin loader does.
String Inflate(const String& packed) {
  TStringStream source(packed);
  TDecompressionStream unzip(source);
  String out;
  char block[4096];
  for (int n; (n = unzip.Read(block, sizeof block)) > 0;) out.append(block, static_cast<size_t>(n));
  return out;
}

TEST(ZStreams, RoundTripAtLevelNine) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{4096}, size_t{100000}}) {
    SCOPED_TRACE(size);
    const String data = SampleData(size);
    const String packed = Compress(data);
    ASSERT_GE(packed.size(), 6u);
    EXPECT_EQ(static_cast<uint8_t>(packed[0]), 0x78);
    EXPECT_EQ(static_cast<uint8_t>(packed[1]), 0xDA);  // maximum compression
    EXPECT_EQ(Inflate(packed), data);
  }
}

TEST(ZStreams, CleanEndGivesFewerBytesThenNone) {
  const String packed = Compress("twelve bytes");
  TStringStream source(packed + "trailing junk is not read as data");
  TDecompressionStream unzip(source);
  char buffer[100];
  EXPECT_EQ(unzip.Read(buffer, 100), 12);
  EXPECT_EQ(unzip.Read(buffer, 100), 0);
}

TEST(ZStreams, TruncatedOrCorruptInputRaises) {
  const String packed = Compress(SampleData(20000));
  String flippedHeader = packed;
  flippedHeader[1] = static_cast<char>(flippedHeader[1] ^ 0x01);
  String flippedCheck = packed;
  flippedCheck.back() = static_cast<char>(flippedCheck.back() ^ 0xFF);
  const struct {
    const char* what;
    String input;
  } cases[] = {
      {"empty", String()},
      {"header only", packed.substr(0, 2)},
      {"half", packed.substr(0, packed.size() / 2)},
      {"check value cut", packed.substr(0, packed.size() - 1)},
      {"bad header", flippedHeader},
      {"bad check value", flippedCheck},
      {"not zlib", String(5000, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(Inflate(c.input), EZDecompressionError);
  }
}

TEST(ZStreams, SeekOnlyReportsOrSkipsForward) {
  const String data = SampleData(10000);
  TStringStream source(Compress(data));
  TDecompressionStream unzip(source);
  EXPECT_EQ(unzip.Seek(5000, soBeginning), 5000);
  char c = 0;
  unzip.ReadBuffer(&c, 1);
  EXPECT_EQ(c, data[5000]);
  EXPECT_EQ(unzip.Seek(10, soCurrent), 5011);
  EXPECT_EQ(unzip.Position(), 5011);
  EXPECT_THROW(unzip.Seek(0, soBeginning), EZDecompressionError);
  EXPECT_THROW(unzip.Seek(0, soEnd), EZDecompressionError);
  EXPECT_EQ(unzip.Seek(20000, soBeginning), 10000);  // stops at the end

  TStringStream sink;
  TCompressionStream zip(TCompressionLevel::clMax, sink);
  EXPECT_THROW(zip.Seek(1, soBeginning), EZCompressionError);
  char buffer[1];
  EXPECT_THROW(zip.Read(buffer, 1), EZCompressionError);
}

}  // namespace
