// What the browser reads of the output folder and where its previews go, apart from
// the form so that both can be checked without windows.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/sysutils.h"
#include "framework/core/types.h"

// The size of one preview cell of the grid, and of the thumbnail drawn in it.
inline constexpr int kPreviewWidth = 125, kPreviewHeight = 95;
inline constexpr int kThumbnailWidth = 120, kThumbnailHeight = 90;

// The full paths of the recovered files in Folder (ending in "\"), in listing order.
// Sub-folders and the shell's thumbnail cache are no recovered files.
std::vector<String> ListRecoveredFolder(const String& Folder);

// The places of Count previews in a box Width pixels wide, row after row. A row
// takes another preview while a further one would still fit beside it.
std::vector<TPoint> PreviewGridPlaces(int Count, int Width);

// A file size as the browser shows it, two decimals: KB below one megabyte, MB
// below one gigabyte, else GB.
String FileSizeText(uint64_t Size);
