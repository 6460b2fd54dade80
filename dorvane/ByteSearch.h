// Plain byte-pattern searches over a file held in memory. A match counts only where the
// whole pattern ends at or before `end`, so callers state exactly how much must follow.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

using TBytes = std::vector<uint8_t>;
using TPattern = std::string_view;

// The pattern stands at offset i and ends at or before `end`.
inline bool MatchesAt(std::span<const uint8_t> data, TPattern pattern, size_t i, size_t end) {
  end = std::min(end, data.size());
  return i <= end && pattern.size() <= end - i &&
         std::equal(pattern.begin(), pattern.end(), data.begin() + i,
                    [](char p, uint8_t b) { return static_cast<uint8_t>(p) == b; });
}

// The lowest offset i >= from of the pattern with i + pattern size <= end.
inline std::optional<size_t> FindFirst(std::span<const uint8_t> data, TPattern pattern, size_t from, size_t end) {
  end = std::min(end, data.size());
  if (pattern.empty() || end < pattern.size()) return std::nullopt;
  for (size_t i = from; i + pattern.size() <= end; ++i) {
    if (std::equal(pattern.begin(), pattern.end(), data.begin() + i,
                   [](char p, uint8_t b) { return static_cast<uint8_t>(p) == b; }))
      return i;
  }
  return std::nullopt;
}

// The highest offset i <= upto of the pattern with i + pattern size <= end.
inline std::optional<size_t> FindLast(std::span<const uint8_t> data, TPattern pattern, size_t end,
                                      size_t upto = SIZE_MAX) {
  end = std::min(end, data.size());
  if (pattern.empty() || end < pattern.size()) return std::nullopt;
  for (size_t i = std::min(upto, end - pattern.size()) + 1; i-- > 0;) {
    if (std::equal(pattern.begin(), pattern.end(), data.begin() + i,
                   [](char p, uint8_t b) { return static_cast<uint8_t>(p) == b; }))
      return i;
  }
  return std::nullopt;
}

constexpr TPattern kEndOfImage{"\xFF\xD9", 2};
constexpr TPattern kStartOfImage{"\xFF\xD8", 2};
