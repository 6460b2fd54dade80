#include "framework/core/regions.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "framework/core/sysutils.h"

TRegion CreateRegionFromRects(std::span<const TRect> rects, int dx, int dy) {
  if (rects.empty()) return TRegion(CreateRectRgn(0, 0, 0, 0));
  std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rects.size());
  data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  auto* out = reinterpret_cast<RECT*>(data->Buffer);
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r{rects[i].Left + dx, rects[i].Top + dy, rects[i].Right + dx, rects[i].Bottom + dy};
    std::memcpy(out + i, &r, sizeof(r));
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  data->rdh.rcBound = bounds;
  HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
  if (!region) throw EOutOfResources("Out of system resources");
  return TRegion(region);
}
