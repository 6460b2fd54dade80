// Thumbnails and placeholder images: decode a recovered file into a bitmap the caller
// owns, or draw one of the library's four placeholders (resources 1..4). Both entry
// points may be called from several threads at once: they share one decoder, one work
// bitmap and one placeholder cache under a single lock. The caller's bitmap is never kept.
#pragma once

#include "framework/core/bitmap.h"
#include "framework/core/sysutils.h"

// Kind 1: the file's content; 2, 3, 4: that placeholder. False leaves placeholder 1 drawn,
// except for an empty or missing file name, which leaves the bitmap untouched.
bool CreateThumbnail(const String& FileName, int Kind, int Width, int Height, TBitmap& Bitmap);
// Placeholder Index through the cache; the first size asked for is the one kept.
bool GetResourceImage(int Index, TBitmap& Bitmap);
// Bilinear in 16.16 fixed point; both bitmaps end up 24-bit. Reads only inside Source.
bool ResampleBitmap(TBitmap& Source, TBitmap& Destination);
