// Helpers of the GIF codec tests: fixtures, byte building and loading from memory.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/streams.h"
#include "imaging/GIFImage.h"
#include "framework/testsupport/SourcePath.h"

namespace giftest {

using Bytes = std::vector<uint8_t>;

inline String FixturePath(const String& name) {
  return SourcePath("imaging/tests/fixtures/gif/" + name);
}

inline Bytes LoadFile(const String& path) {
  Bytes data;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return data;
  uint8_t buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) data.insert(data.end(), buffer, buffer + got);
  CloseHandle(h);
  return data;
}

inline Bytes Fixture(const String& name) { return LoadFile(FixturePath(name)); }

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Text(const char* s) { return Bytes(s, s + std::char_traits<char>::length(s)); }

inline std::unique_ptr<TMemoryStream> StreamOf(const Bytes& bytes) {
  auto stream = std::make_unique<TMemoryStream>();
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
  stream->SetPosition(0);
  return stream;
}

inline Bytes BytesOf(TMemoryStream& stream) {
  const auto* p = static_cast<const uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

// Loads and collects the warnings.
struct Loaded {
  std::unique_ptr<TGIFImage> Image = std::make_unique<TGIFImage>();
  std::vector<String> Warnings;
  String Error;
};

inline Loaded Load(const Bytes& bytes) {
  Loaded result;
  auto* warnings = &result.Warnings;
  result.Image->OnWarning = [warnings](TObject*, TGIFSeverity, const String& m) { warnings->push_back(m); };
  auto stream = StreamOf(bytes);
  try {
    result.Image->LoadFromStream(*stream);
  } catch (const Exception& e) {
    result.Error = e.Message;
  }
  return result;
}

inline Bytes Save(TGIFImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return BytesOf(stream);
}

// The RGB of every pixel of a frame through its active colour table.
inline Bytes FrameRGB(TGIFSubImage& frame) {
  Bytes out;
  TGIFColorMap& map = frame.ActiveColorMap();
  for (uint8_t p : frame.Data) {
    const uint8_t* c = map.Data() + (p < map.Count() ? p : 0) * 3;
    out.insert(out.end(), c, c + 3);
  }
  return out;
}

// A header of a w x h screen with a global table of the given colours (0xRRGGBB).
inline Bytes Header(int w, int h, std::initializer_list<uint32_t> colors, const char* version = "GIF89a") {
  Bytes out = Text(version);
  int bits = 1;
  while ((1 << bits) < static_cast<int>(colors.size())) ++bits;
  auto put = [&out](std::initializer_list<uint32_t> values) {
    for (uint32_t v : values) out.push_back(static_cast<uint8_t>(v));
  };
  put({uint32_t(w), uint32_t(w) >> 8, uint32_t(h), uint32_t(h) >> 8, colors.size() ? 0x80u | (bits - 1) : 0u, 0, 0});
  for (uint32_t c : colors) put({c >> 16, c >> 8, c});
  for (int i = static_cast<int>(colors.size()); colors.size() && i < (1 << bits); ++i) put({0, 0, 0});
  return out;
}

inline Bytes Descriptor(int left, int top, int w, int h, uint8_t packed = 0) {
  return {',', uint8_t(left), uint8_t(left >> 8), uint8_t(top), uint8_t(top >> 8), uint8_t(w), uint8_t(w >> 8),
          uint8_t(h), uint8_t(h >> 8), packed};
}

inline Bytes GraphicControl(uint8_t packed, uint16_t delay, uint8_t transparent) {
  return {'!', 0xF9, 4, packed, uint8_t(delay), uint8_t(delay >> 8), transparent, 0};
}

// Packs codes of the given widths LSB first into sub-blocks with the code size byte first.
inline Bytes ImageData(int codeSize, const std::vector<std::pair<int, int>>& codes, bool terminator = true) {
  Bytes packed;
  uint32_t acc = 0;
  int bits = 0;
  for (auto [code, width] : codes) {
    acc |= static_cast<uint32_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      packed.push_back(static_cast<uint8_t>(acc));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) packed.push_back(static_cast<uint8_t>(acc));
  Bytes out{static_cast<uint8_t>(codeSize)};
  for (size_t i = 0; i < packed.size(); i += 255) {
    const size_t n = std::min<size_t>(255, packed.size() - i);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), packed.begin() + static_cast<ptrdiff_t>(i), packed.begin() + static_cast<ptrdiff_t>(i + n));
  }
  if (terminator) out.push_back(0);
  return out;
}

// Image data of one pixel of index 1: clear, 1, end.
inline Bytes OnePixel(bool terminator = true) { return ImageData(2, {{4, 3}, {1, 3}, {5, 3}}, terminator); }

// A looping extension with the given count (0: without end).
inline Bytes LoopExtension(uint16_t loops) {
  Bytes out = Text("!\xFF\x0BNETSCAPE2.0\x03\x01");
  for (uint8_t b : {uint8_t(loops), uint8_t(loops >> 8), uint8_t(0)}) out.push_back(b);
  return out;
}

// The smallest transparent GIF, as it has been published many times: 43 bytes.
inline Bytes TransparentPixel() {
  return {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF,
          0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
          0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
}

}  // namespace giftest
