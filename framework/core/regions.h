// Regions: TRegion owns an HRGN; CreateRegionFromRects builds one from rectangles.
#pragma once

#include <windows.h>

#include <span>

#include "framework/core/handles.h"
#include "framework/core/types.h"

// release() once SetWindowRgn has taken the region.
using TRegion = RegionHandle;

// The union of the rectangles moved by (dx, dy); no rectangles give an empty region.
TRegion CreateRegionFromRects(std::span<const TRect> rects, int dx = 0, int dy = 0);
