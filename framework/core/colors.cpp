#include "framework/core/colors.h"

#include <vector>

TColor ColorToRGB(TColor color) {
  if (color < 0) return static_cast<TColor>(GetSysColor(color & 0xFF));
  return color;
}

HPALETTE CopyPalette(HPALETTE palette) {
  if (!palette) return nullptr;
  WORD count = 0;
  if (!GetObjectA(palette, sizeof(count), &count) || count == 0) return nullptr;
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
  log->palVersion = 0x300;
  log->palNumEntries = count;
  GetPaletteEntries(palette, 0, count, log->palPalEntry);
  return CreatePalette(log);
}
