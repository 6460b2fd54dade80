#include "skin/data/ksSkinDataZip.h"

#include <array>

#include "framework/core/zstreams.h"

void DeflateSkinStream(TStream& source, TStream& target) {
  source.SetPosition(0);
  TCompressionStream deflater(TCompressionLevel::clMax, target);
  deflater.CopyFrom(source, source.Size());
}

void InflateSkinStream(TStream& source, TStream& target) {
  constexpr int kBlock = 4096;
  source.SetPosition(0);
  TDecompressionStream inflater(source);
  std::array<uint8_t, kBlock> block{};
  for (;;) {
    int n = inflater.Read(block.data(), kBlock);
    if (n <= 0) break;
    target.WriteBuffer(block.data(), n);
  }
}
