// The resizable face of a skinned control: the corner points and rectangles of
// its description, where they move when the control takes another size, and the
// face composed at that size. It knows nothing of windows, so the windowed and
// the windowless control bases share it.
#pragma once

#include "framework/core/bitmap.h"
#include "skin/data/ksSkinData.h"

class TksSkinFace {
 public:
  // Takes the face of the description; none (another kind under the name)
  // leaves no picture and a fixed face.
  void TakeFace(const TksDataSkinCustomControl* d, const TksSkinData& data);
  // -1 no face, 0 fixed, 1 both ways, 2 width only, 3 height only.
  int GetResizeMode() const;
  // Adjusts a proposed size to the resize mode and moves the New* geometry to
  // it. A fixed face sets the size only for a described control with a face.
  void MoveFace(int& w, int& h, bool described);
  // A rectangle in skin coordinates moved with the face resized to W x H.
  TRect GetNewRect(const TRect& r, int w, int h) const;
  // The face cut from R of the picture, resized to W x H; no picture draws nothing.
  void ComposeFace(TBitmap* b, TBitmap* picture, const TRect& r, int w, int h) const;

  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect SkinRect{};
  TRect SkinClientRect{};  // the description's client rectangle, relative to SkinRect
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewClientRect{};
  TBitmap* Picture = nullptr;
  TBitmap* MaskPicture = nullptr;
  int ResizeMode = 0;
};
