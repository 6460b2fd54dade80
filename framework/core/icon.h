// TIcon: an owned HICON, loaded from .ico data or resources.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/core/graphic.h"
#include "framework/core/handles.h"

class TIcon : public TGraphic {
 public:
  static const TGraphicClass Class;

  TIcon() = default;

  const TGraphicClass& GraphicClass() const override { return Class; }
  void Assign(TPersistent* Source) override;

  void Draw(TCanvas& canvas, const TRect& rect) override;
  bool Empty() const override { return !handle_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // An icon's size is its image's; these raise EInvalidGraphicOperation.
  void SetWidth(int width) override;
  void SetHeight(int height) override;

  HICON Handle() const { return handle_.get(); }
  // Takes ownership (for example of a CopyImage result).
  void SetHandle(HICON icon);
  HICON ReleaseHandle();
  bool HandleAllocated() const { return handle_.valid(); }

  void LoadFromResourceName(HINSTANCE instance, const String& name);
  void LoadFromResourceID(HINSTANCE instance, int id);
  // .ico data: the first image of the directory. Damaged data raises EInvalidGraphic.
  void LoadFromStream(TStream& stream) override;
  // The .ico bytes loaded, or a one-image 32-bit .ico made from the handle.
  void SaveToStream(TStream& stream) override;

 protected:
  // To a bitmap: the icon drawn on white into a 24-bit bitmap of its size.
  void AssignTo(TPersistent* Dest) override;

 private:
  void Adopt(HICON icon, std::vector<uint8_t> data);

  UniqueHandle<IconTraits> handle_;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> data_;  // the .ico it was loaded from, if any
};
