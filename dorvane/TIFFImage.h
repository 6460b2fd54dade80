// LoadTIFF: draws the uncompressed directories of a TIFF file (bilevel, 4- and 8-bit
// grey, palette, 8-8-8 RGB) into a 24-bit bitmap; the last directory that draws wins.
#pragma once

#include "framework/core/sysutils.h"

class TBitmap;

// Raises Exception with the reader's texts ("File is not a valid TIFF file", ...).
void LoadTIFF(const String& FileName, TBitmap& Bitmap);
