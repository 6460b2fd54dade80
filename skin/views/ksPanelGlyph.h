// The glyph a skinned panel shows by its caption: a strip of one cell, or of two
// with the disabled look second.
#pragma once

#include <algorithm>

#include "framework/core/bitmap.h"

class TksPanelGlyph {
 public:
  virtual ~TksPanelGlyph() = default;

  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* value) {
    glyph_.Assign(value);
    GlyphChanged();
  }
  // 1 normal, 2 normal and disabled.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 2);
    GlyphChanged();
  }
  int Spacing() const { return spacing_; }
  void SetSpacing(int value) {
    spacing_ = value;
    GlyphChanged();
  }

 protected:
  virtual void GlyphChanged() = 0;
  // The cell for the state: the disabled one where the strip has it.
  int PanelGlyphNumber(bool enabled) const { return !enabled && numGlyphs_ == 2 ? 2 : 1; }

  TBitmap glyph_;
  int numGlyphs_ = 1;
  int spacing_ = 2;
};
