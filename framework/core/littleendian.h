// Little-endian integers in byte buffers, as disk structures and picture files
// store them.
#pragma once

#include <cstdint>
#include <vector>

inline uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadLE32(const uint8_t* p) { return LoadLE16(p) | static_cast<uint32_t>(LoadLE16(p + 2)) << 16; }

inline void StoreLE16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreLE32(uint8_t* p, uint32_t v) {
  StoreLE16(p, v);
  StoreLE16(p + 2, v >> 16);
}

inline void AppendLE16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendLE32(std::vector<uint8_t>& out, uint32_t v) {
  AppendLE16(out, v);
  AppendLE16(out, v >> 16);
}
