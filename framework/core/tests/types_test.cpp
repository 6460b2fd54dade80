#include "framework/core/types.h"

#include <gtest/gtest.h>

namespace {

TEST(Rect, ContainsByTheSystemsRuleOrWithAllEdges) {
  const TRect r{10, 20, 30, 40};
  struct Case {
    const char* what;
    TRect r;
    TPoint p;
    bool contains, withEdges;
  };
  const Case cases[] = {
      {"inside", r, {15, 25}, true, true},
      {"top-left corner", r, {10, 20}, true, true},
      {"right column", r, {30, 25}, false, true},
      {"bottom row", r, {15, 40}, false, true},
      {"bottom-right corner", r, {30, 40}, false, true},
      {"left of it", r, {9, 25}, false, false},
      {"above it", r, {15, 19}, false, false},
      {"beyond the right column", r, {31, 25}, false, false},
      {"below the bottom row", r, {15, 41}, false, false},
      {"empty rectangle", {5, 5, 5, 5}, {5, 5}, false, true},
      {"mirrored rectangle", {30, 20, 10, 40}, {15, 25}, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.r.Contains(c.p), c.contains) << c.what;
    EXPECT_EQ(c.r.ContainsWithEdges(c.p), c.withEdges) << c.what;
    const RECT system = c.r;
    EXPECT_EQ(PtInRect(&system, c.p) != FALSE, c.contains) << c.what << ": as the system counts it";
  }
}

TEST(Rect, TwoRectanglesSharingAnEdgeNeverBothContainAPoint) {
  const TRect upper{0, 0, 20, 12}, lower{0, 12, 20, 25};
  for (int y = -1; y <= 26; ++y) {
    const TPoint p{5, y};
    EXPECT_FALSE(upper.Contains(p) && lower.Contains(p)) << y;
    EXPECT_EQ(upper.Contains(p) || lower.Contains(p), y >= 0 && y < 25) << y;
  }
  EXPECT_TRUE(upper.ContainsWithEdges({5, 12}) && lower.ContainsWithEdges({5, 12}));
}

}  // namespace
