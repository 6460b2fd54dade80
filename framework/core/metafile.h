// TMetafile: an enhanced metafile, read from EMF or placeable WMF data.
#pragma once

#include <windows.h>

#include "framework/core/graphic.h"

class TMetafile : public TGraphic {
 public:
  static const TGraphicClass Class;

  TMetafile() = default;
  ~TMetafile() override;

  const TGraphicClass& GraphicClass() const override { return Class; }
  void Assign(TPersistent* Source) override;

  void Draw(TCanvas& canvas, const TRect& rect) override;
  bool Empty() const override { return handle_ == nullptr; }
  // In screen pixels, from the header.
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int width) override;
  void SetHeight(int height) override;

  HENHMETAFILE Handle() const { return handle_; }
  // Takes ownership; the size comes from the header's frame.
  void SetHandle(HENHMETAFILE metafile);

  // EMF, or WMF with the placeable header (key 0x9AC6CDD7); anything else raises
  // EInvalidGraphic.
  void LoadFromStream(TStream& stream) override;
  // Always EMF.
  void SaveToStream(TStream& stream) override;

 private:
  void Adopt(HENHMETAFILE metafile, int width, int height);

  HENHMETAFILE handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
